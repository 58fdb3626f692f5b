#pragma once
// The band as stored in a template: its type (low byte of the frame-edge
// word), record source or group condition (FormatStr), options (Flags), child
// and master band names and columns. While a report is built, Parent is its
// run-time band and the print-time properties act on it.
#include "report/objects/frview.h"

namespace report
{

enum TfrBandType : int {
    btReportTitle = 0,
    btReportSummary,
    btPageHeader,
    btPageFooter,
    btMasterHeader,
    btMasterData,
    btMasterFooter,
    btDetailHeader,
    btDetailData,
    btDetailFooter,
    btSubDetailHeader,
    btSubDetailData,
    btSubDetailFooter,
    btOverlay,
    btColumnHeader,
    btColumnFooter,
    btGroupHeader,
    btGroupFooter,
    btCrossHeader,
    btCrossData,
    btCrossFooter,
    btChild,
    btNone,
};

// Band options.
constexpr quint16 flBandNewPageAfter = 0x02; // FormNewPage
constexpr quint16 flBandPrintifSubsetEmpty = 0x04;
constexpr quint16 flBandPageBreak = 0x08; // Breaked
constexpr quint16 flBandOnFirstPage = 0x10;
constexpr quint16 flBandOnLastPage = 0x20;
constexpr quint16 flBandRepeatHeader = 0x40;
constexpr quint16 flBandPrintChildIfInvisible = 0x80;

class TfrBandView : public TfrView
{
public:
    TfrBandView();

    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    FrVariant CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                         const FrVariant &par3) override;
    void DefinePropertyList() override;
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrBandView>(); }
    void Draw(platform::Canvas &canvas) override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    void AddPopupItems(FrPopupMenu &popup) override;
    QRegion GetClipRegion(bool inflate) override;
    QString ClassName() const override { return QStringLiteral("TfrBandView"); }

    // The band type; stored values above 22 read as 22.
    int GetBandType() const;
    // Keeps the low 7 bits.
    void SetBandType(int type);
    bool IsCrossBand() const
    {
        const int t = GetBandType();
        return t >= btCrossHeader && t <= btCrossFooter;
    }
    // Width of the title tab in the designer.
    int TitleWidth() const;

    QString ChildBand;
    QString Master;
    qint32 Columns = 1;
    qint32 ColumnWidth = 200;
    qint32 ColumnGap = 20;
    qint32 NewColumnAfter = 1;
};

// The band type of any band object (22 for values above 22).
int frBandTypeOf(const TfrView *band);

} // namespace report
