#pragma once
// A check box: a cross or a check mark in its rectangle when its expression
// is true (non-zero), nothing when it is zero.
#include "report/objects/frview.h"

namespace report
{

constexpr quint8 csCross = 0;
constexpr quint8 csCheck = 1;

class TfrCheckBoxView : public TfrView
{
public:
    TfrCheckBoxView();
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrCheckBoxView>(); }
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    void DefinePropertyList() override;
    void Draw(platform::Canvas &canvas) override;
    void WriteToPreparedPage(FrStream &stream) override;
    void PassToExportFilter() override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    QString ClassName() const override { return QStringLiteral("TfrCheckBoxView"); }

    // Whether a memo shows the mark: a first line that is not empty and does
    // not begin with "0".
    static bool IsChecked(const QStringList &memo);

    quint8 CheckStyle = csCross;
    platform::TColor CheckColor = platform::clBlack;

private:
    void drawMark(platform::Canvas &canvas);
};

// Registers the check box with the add-in objects (once per library start).
void frRegisterCheckBoxView();

} // namespace report
