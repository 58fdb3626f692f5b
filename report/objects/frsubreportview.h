#pragma once
// Marks where another template page is built as a subreport.
#include "report/objects/frview.h"

namespace report
{

class TfrSubReportView : public TfrView
{
public:
    TfrSubReportView();
    std::unique_ptr<TfrView> Create() const override
    {
        return std::make_unique<TfrSubReportView>();
    }
    void Draw(platform::Canvas &canvas) override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    void AddPopupItems(FrPopupMenu &) override {}
    QString ClassName() const override { return QStringLiteral("TfrSubReportView"); }

    qint32 SubPage = 0;
};

} // namespace report
