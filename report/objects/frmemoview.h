#pragma once
// The text object: lines with bracketed fields, expanded, wrapped, split over
// pages and written to prepared pages; its layout and drawing are in
// report/layout/frmemolayout.
#include "report/objects/frview.h"

namespace report
{

// Flags of a memo.
constexpr quint16 flWordWrap = 0x02;
constexpr quint16 flWordBreak = 0x04;
constexpr quint16 flAutoWidth = 0x08;
constexpr quint16 flTextOnly = 0x10;
constexpr quint16 flSuppress = 0x20;
constexpr quint16 flHideZeros = 0x40;
constexpr quint16 flUnderlines = 0x80;

// Alignment codes.
enum : qint32 {
    frtaLeft = 0,
    frtaRight = 1,
    frtaCenter = 2,
    frtaJustify = 3,
    frtaVertical = 4,
    frtaMiddle = 8,
    frtaDown = 16,
};

// Ends an output line that ends a paragraph.
constexpr QChar kFrParagraphMark(1);

struct TfrHighlightAttr {
    quint16 FontStyle = 2;
    platform::TColor FontColor = platform::clBlack;
    platform::TColor FillColor = platform::clWhite;
    bool operator==(const TfrHighlightAttr &) const = default;
};

class TfrMemoView : public TfrStretcheable
{
public:
    TfrMemoView();

    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    FrVariant CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                         const FrVariant &par3) override;
    void DefinePropertyList() override;
    void LoadFromBlobField(const FrField *field) override;
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TfrMemoView>(); }
    void Draw(platform::Canvas &canvas) override;
    void WriteToPreparedPage(FrStream &stream) override;
    void PassToExportFilter() override;
    void LoadFromStream(FrStream &stream) override;
    void SaveToStream(FrStream &stream) override;
    void AddPopupItems(FrPopupMenu &popup) override;
    void ShowObjectEditor() override;
    int ContentHeight() override;
    int MinSplitHeight() override { return LineHeight; }
    int HeightLeftToPrint() override;
    QString ClassName() const override { return QStringLiteral("TfrMemoView"); }

    // Replaces the working text by the template text with its fields expanded.
    void ExpandMemoVariables();
    // The highlight applies when its condition holds (postfix form).
    bool HighlightHolds();
    // Font and fill colour with the highlight applied while it holds.
    void ApplyHighlight();
    // Width in pixels that lines need (AutoWidth, CALCWIDTH).
    int CalcWidth(const QStringList &lines);

    FrFontProps Font;
    QString LastValue;
    // The room of the last expanded text, which Memo1 shares until the next
    // record: the list is filled again rather than allocated for each one.
    QStringList ExpandedLines;
    bool TextFormatted = false;
    bool WholeLinesOnly = false;
    qint32 LineHeight = 0;
    qint32 CurrentLine = 0;
    bool Exporting = false;
    qint32 Alignment = 0;
    TfrHighlightAttr Highlight;
    QString HighlightCondition;
    qint32 LineSpacing = 2;
    qint32 CharSpacing = 0;

private:
    // Runs the before-print step and expands when it left the text unchanged.
    void expandAfterBeforePrint();
};

// The working text as one value, for Suppress and the prepared-page text.
QString frMemoText(const QStringList &lines);

} // namespace report
