#pragma once
// A business chart drawn from the texts that two named memos print: one
// gives the point labels, the other the values.
#include "platform/charts/chartdescription.h"
#include "report/objects/frchartdata.h"
#include "report/objects/frview.h"

#include <functional>

namespace report
{

class TfrChartView : public TfrView
{
public:
    TfrChartView();
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrChartView>(); }
    void DefinePropertyList() override;
    // Told after each memo is output (the object is a memo observer).
    void ExtraHook() override;
    void Draw(platform::Canvas &canvas) override;
    void WriteToPreparedPage(FrStream &stream) override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    void AddPopupItems(FrPopupMenu &) override {}
    void ShowObjectEditor() override;
    QString ClassName() const override { return QStringLiteral("TfrChartView"); }

    // The chart the collected lines describe (no series when no point).
    platform::ChartDescription Describe(const QStringList &lines) const;

    FrChartRecord Chart;
    // The series being collected.
    qint32 PointCounter = 0;
};

// Registers the chart with the add-in objects (once per library start).
void frRegisterChartView();

} // namespace report
