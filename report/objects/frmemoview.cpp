#include "report/objects/frmemoview.h"

#include "platform/text/codec.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdb.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/layout/frmemolayout.h"
#include "report/objects/frpopupmenu.h"

namespace report
{

namespace
{

// Puts DrawMode back to 0 however the step ends.
struct DrawModeReset {
    quint8 &mode;
    ~DrawModeReset() { mode = 0; }
};

const struct {
    const char *name;
    quint16 bit;
} kMemoFlags[] = {
    {"WORDWRAP", flWordWrap},     {"WORDBREAK", flWordBreak}, {"AUTOWIDTH", flAutoWidth},
    {"TEXTONLY", flTextOnly},     {"SUPPRESS", flSuppress},   {"HIDEZEROS", flHideZeros},
    {"UNDERLINES", flUnderlines},
};

} // namespace

QString frMemoText(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines) {
        s += l;
        s += QLatin1String("\r\n");
    }
    return s;
}

TfrMemoView::TfrMemoView()
{
    Typ = otMemo;
    BaseName = QStringLiteral("Memo");
    Flags = flStretched | flWordWrap | flHideZeros;
    Font.Charset = fr().frCharset;
}

void TfrMemoView::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrView::SetPropertyValue(name, value);
    const QString n = frUpperCase(name);
    if (frSetFontProperty(Font, n, value))
        return;
    if (n == QLatin1String("ALIGNMENT"))
        Alignment = value.toInt();
    else if (n == QLatin1String("LINESPACING"))
        LineSpacing = value.toInt();
    else if (n == QLatin1String("CHARSPACING"))
        CharSpacing = value.toInt();
    else
        for (const auto &f : kMemoFlags)
            if (n == QLatin1String(f.name)) {
                Flags = value.toBool() ? (Flags | f.bit) : (Flags & ~f.bit);
                return;
            }
}

FrVariant TfrMemoView::GetPropertyValue(const QString &name)
{
    FrVariant v = TfrView::GetPropertyValue(name);
    if (!frNoValue(v))
        return v;
    const QString n = frUpperCase(name);
    v = frGetFontProperty(Font, n);
    if (!frNoValue(v))
        return v;
    if (n == QLatin1String("ALIGNMENT"))
        return int(Alignment);
    if (n == QLatin1String("LINESPACING"))
        return int(LineSpacing);
    if (n == QLatin1String("CHARSPACING"))
        return int(CharSpacing);
    if (n == QLatin1String("LINES.COUNT"))
        return int(Memo.size());
    for (const auto &f : kMemoFlags)
        if (n == QLatin1String(f.name))
            return (Flags & f.bit) != 0;
    return FrVariant::null();
}

FrVariant TfrMemoView::CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                                  const FrVariant &par3)
{
    FrVariant result = TfrView::CallMethod(name, par1, par2, par3);
    if (!frNoValue(result))
        return result;
    if (stringListMethod(Memo, QStringLiteral("LINES"), frUpperCase(name), par1, par2, par3,
                         result))
        return result;
    return FrVariant::null();
}

void TfrMemoView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    const FrPropEditors &ed = frObjects().frPropEditors;
    AddProperty(QStringLiteral("Font.Name"), 0);
    AddProperty(QStringLiteral("Font.Size"), 0);
    AddProperty(QStringLiteral("Font.Style"), 0);
    AddProperty(QStringLiteral("Font.Color"), 0);
    AddProperty(QStringLiteral("Font"), 64, ed.Get(FrEditorKind::Font));
    AddProperty(QStringLiteral("Alignment"), 0);
    AddProperty(QStringLiteral("DisplayFormat"), 64, [this] {
        FrObjectGlobals &g = frObjects();
        if (g.frCurrentDesigner)
            g.frCurrentDesigner->NotifyBeforeChange();
        qint32 format = Format;
        QString formatStr = FormatStr;
        if (g.displayFormatDialog && g.displayFormatDialog(format, formatStr)) {
            Format = format;
            FormatStr = formatStr;
            if (g.frCurrentDesigner)
                g.frCurrentDesigner->NotifyAfterChange();
        }
    });
    AddProperty(QStringLiteral("Highlight"), 64, ed.Get(FrEditorKind::Highlight));
    for (const char *n : {"LineSpacing", "CharSpacing", "GapX", "GapY"})
        AddProperty(QString::fromLatin1(n), 2);
    for (const char *n :
         {"Stretched", "WordWrap", "WordBreak", "AutoWidth", "TextOnly", "Suppress", "HideZeros"})
        AddProperty(QString::fromLatin1(n), 8);
    AddProperty(QStringLiteral("Lines.Count"), 0);
    AddProperty(QStringLiteral("Underlines"), 8);
}

void TfrMemoView::LoadFromBlobField(const FrField *field)
{
    if (!field)
        return;
    Memo1 = frSplitLines(platform::fromAnsi(field->blob()));
}

void TfrMemoView::ExpandMemoVariables()
{
    // Built aside, in the list of the record before once Memo1 lets go of
    // it (clear() would allocate a fresh list while Memo1 shares Memo's).
    Memo1 = QStringList();
    QStringList lines = std::move(ExpandedLines);
    lines.clear();
    lines.reserve(Memo.size());
    for (const QString &line : std::as_const(Memo)) {
        QString s = line;
        if (!s.isEmpty() && !(Flags & flTextOnly))
            frExpandVariables(this, s);
        if (s.isEmpty())
            lines.append(QString());
        else if (std::none_of(s.cbegin(), s.cend(), [](QChar c) {
                     return c == QLatin1Char('\r') || c == QLatin1Char('\n');
                 }))
            lines.append(std::move(s)); // one line, as nearly all are: no list to build
        else
            lines.append(frSplitLines(s));
    }
    ExpandedLines = lines;
    Memo1 = std::move(lines);
}

bool TfrMemoView::HighlightHolds()
{
    if (HighlightCondition.isEmpty() || !fr().frGlobalParser)
        return false;
    const FrVariant v = fr().frGlobalParser->EvaluatePostfix(HighlightCondition);
    if (v.type() == FrVariant::Boolean)
        return v.boolValue();
    if (v.type() == FrVariant::Integer || v.type() == FrVariant::Double)
        return v.toDouble() != 0;
    return false;
}

void TfrMemoView::ApplyHighlight()
{
    if (!HighlightHolds())
        return;
    Font.Style = Highlight.FontStyle;
    Font.Color = Highlight.FontColor;
    FillColor = Highlight.FillColor;
}

void TfrMemoView::expandAfterBeforePrint()
{
    FrObjectGlobals &g = frObjects();
    Memo1 = Memo;
    if (g.frCurrentReport)
        g.frCurrentReport->BeforePrintObject(Memo1, this);
    if (Memo1 == Memo)
        ExpandMemoVariables();
}

int TfrMemoView::ContentHeight()
{
    FrObjectGlobals &g = frObjects();
    DrawMode = 1;
    PrepareCanvas(g.measuringCanvas());
    if (!Script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->DoScript(Script);
    if (!IsVisible())
        return 0;
    expandAfterBeforePrint();
    FrRestore<FrFontProps> font(Font);
    FrRestore<platform::TColor> fill(FillColor);
    ApplyHighlight();
    FrGeometryScope geometry(*this);
    if (Memo1.isEmpty()) {
        g.frTextHeight = 0;
        return 0;
    }
    frFormatMemoLines(*this);
    Memo1 = g.frOutputLines;
    return g.frTextHeight;
}

int TfrMemoView::HeightLeftToPrint()
{
    return int(std::clamp<qint64>(qint64(Memo1.size()) * LineHeight, 0, platform::kMaxCoordinate));
}

void TfrMemoView::WriteToPreparedPage(FrStream &stream)
{
    FrObjectGlobals &g = frObjects();
    DrawModeReset reset{DrawMode};
    PrepareCanvas(g.measuringCanvas());
    WholeLinesOnly = true;
    if (DrawMode == 0 && !Script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->DoScript(Script);
    if (DrawMode == 0)
        expandAfterBeforePrint();
    if (!IsVisible())
        return;
    FrRestore<FrFontProps> font(Font);
    FrRestore<platform::TColor> fill(FillColor);
    ApplyHighlight();
    QStringList full;
    if (DrawMode == 2) {
        {
            FrGeometryScope geometry(*this);
            frShowMemoLines(*this);
        }
        if (CurrentLine == 0 && SplitAtPageTop && !Memo1.isEmpty())
            CurrentLine = 1;
        full = Memo1;
        g.frOutputLines = Memo1;
        while (Memo1.size() > CurrentLine)
            Memo1.removeLast();
        bool hasMark = false;
        for (const QString &l : std::as_const(Memo1))
            if (l.contains(kFrParagraphMark)) {
                hasMark = true;
                break;
            }
        if (!hasMark)
            Memo1.append(QString(kFrParagraphMark));
    }
    FrRestore<QString> tag(Tag);
    if (Tag.contains(QLatin1Char('['))) {
        FrRestore<qint32> format(Format, 0);
        ExpandTag();
    }
    FrRestore<quint8> bandAlign(BandAlign);
    if (AlignToRunTimeBand())
        BandAlign = baNone;
    // The joined text only serves to suppress a repeated value.
    const bool suppress = Flags & flSuppress;
    const QString text = suppress ? frMemoText(Memo1) : QString();
    if (!(suppress && text == LastValue)) {
        WriteTypeCode(stream);
        SaveToStream(stream);
        if (suppress)
            LastValue = text;
    }
    if (DrawMode == 2) {
        g.frOutputLines = full;
        Memo1 = full.mid(std::min<qsizetype>(CurrentLine, full.size()));
    }
}

void TfrMemoView::PassToExportFilter()
{
    TfrView::PassToExportFilter();
    FrRestore<bool> exporting(Exporting, true);
    Draw(frObjects().measuringCanvas());
}

void TfrMemoView::Draw(platform::Canvas &canvas)
{
    frDrawMemo(*this, canvas);
}

int TfrMemoView::CalcWidth(const QStringList &lines)
{
    return frMemoTextWidth(*this, lines);
}

void TfrMemoView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    const int version = fr().frTemplateVersion;
    Font.Name = frReadTemplateString(stream);
    Font.Size = frReadInteger(stream);
    Font.Style = frReadWord(stream);
    Font.Color = frReadInteger(stream);
    Alignment = frReadInteger(stream);
    const quint16 charset = frReadWord(stream);
    Font.Charset = version < 23 ? fr().frCharset : (charset & 0xFF);
    if (!Prepared) {
        Highlight.FontStyle = frReadWord(stream);
        Highlight.FontColor = frReadInteger(stream);
        Highlight.FillColor = frReadInteger(stream);
        HighlightCondition = frReadTemplateString(stream);
    }
    if (version >= 24) {
        LineSpacing = frReadInteger(stream);
        CharSpacing = frReadInteger(stream);
    }
    if (version == 21)
        Flags |= flWordWrap;
}

void TfrMemoView::SaveToStream(FrStream &stream)
{
    TfrView::SaveToStream(stream);
    FrFieldBytes fields;
    frWriteString(stream, Font.Name);
    fields.integer(Font.Size).word(Font.Style).integer(Font.Color).integer(Alignment);
    fields.word(quint16(Font.Charset & 0xFF));
    if (!Prepared) {
        fields.word(Highlight.FontStyle).integer(Highlight.FontColor);
        fields.integer(Highlight.FillColor).writeTo(stream);
        frWriteString(stream, HighlightCondition);
    }
    fields.integer(LineSpacing).integer(CharSpacing).writeTo(stream);
}

void TfrMemoView::AddPopupItems(FrPopupMenu &popup)
{
    popup.addCommand(frLoadString(55191), [this] {
        FrObjectGlobals &gl = frObjects();
        TfrReportDesigner *designer = gl.frCurrentDesigner;
        if (designer)
            designer->NotifyBeforeChange();
        qint32 format = Format;
        QString formatStr = FormatStr;
        if (!gl.displayFormatDialog || !gl.displayFormatDialog(format, formatStr))
            return;
        FrPageLink *page = designer ? designer->Page : gl.frCurrentPage;
        if (page) {
            for (int i = 0; i < page->ObjectCount(); ++i) {
                auto *memo = dynamic_cast<TfrMemoView *>(page->Object(i));
                if (memo && memo->Selected && !(memo->Restrictions & 8)) {
                    memo->Format = format;
                    memo->FormatStr = formatStr;
                }
            }
        } else {
            Format = format;
            FormatStr = formatStr;
        }
        if (designer)
            designer->NotifyAfterChange();
    });
    popup.addCommand(frLoadString(55334),
                     [] { frObjects().frPropEditors.Call(FrEditorKind::Font); });
    popup.addCommand(frLoadString(55347), [this] {
        FrObjectGlobals &gl = frObjects();
        TfrReportDesigner *designer = gl.frCurrentDesigner;
        if (designer)
            designer->NotifyBeforeChange();
        FrPageLink *page = designer ? designer->Page : gl.frCurrentPage;
        if (page) {
            for (int i = 0; i < page->ObjectCount(); ++i) {
                TfrView *v = page->Object(i);
                if (v && v->Selected && !(v->Restrictions & 4)) {
                    v->Memo.clear();
                    v->Script.clear();
                }
            }
        } else if (!(Restrictions & 4)) {
            Memo.clear();
            Script.clear();
        }
        if (designer)
            designer->NotifyAfterChange();
    });
    TfrView::AddPopupItems(popup);
    auto isMemo = [](TfrView *v) { return dynamic_cast<TfrMemoView *>(v) != nullptr; };
    auto flagItem = [&](int id, quint16 bit, bool enabled) {
        const bool set = (Flags & bit) != 0;
        popup.addCheck(
            frLoadString(id), set, [this, bit, set, isMemo] { flagCommand(bit, !set, isMemo); },
            enabled);
    };
    flagItem(55192, flWordWrap, true);
    if (!frLoadString(55193).isEmpty())
        flagItem(55193, flWordBreak, (Flags & flWordWrap) != 0);
    flagItem(55335, flAutoWidth, true);
    flagItem(55433, flTextOnly, true);
    flagItem(55434, flSuppress, true);
    flagItem(55438, flHideZeros, true);
    flagItem(55441, flUnderlines, true);
}

void TfrMemoView::ShowObjectEditor()
{
    frObjects().frPropEditors.Call(FrEditorKind::Memo);
}

} // namespace report
