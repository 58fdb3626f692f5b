#include "designer/core/attributecommands.h"

#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"
#include "platform/dialogs/dialogs.h"
#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/objects/frbandview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"

#include <cmath>

namespace designer
{

namespace attrcmd_detail
{

// Font style bits of the style buttons.
constexpr quint16 kItalic = 1;
constexpr quint16 kBold = 2;
constexpr quint16 kUnderline = 4;

// Frame edge bits of the edge buttons, FrB1..FrB4.
constexpr quint16 kEdgeOfTag[5] = {0, 8, 4, 2, 1};

constexpr double kMinFontSize = 1, kMaxFontSize = 999;
constexpr double kMinFrameWidth = 0, kMaxFrameWidth = 1000;

bool isMemoTag(int tag)
{
    return (tag >= atFontName && tag <= atUnderline) || tag == atJustify;
}

void setBit(quint16 &word, quint16 bit, bool on)
{
    word = on ? quint16(word | bit) : quint16(word & ~bit);
}

void showConversionError(const QString &text)
{
    platform::MessageDlgWithCaption(report::frLoadString(55206), text, platform::mtError,
                                    platform::mbOK);
}

} // namespace attrcmd_detail

AttributeCommands::AttributeCommands(DesignerCore &core) : m_core(core) {}

std::optional<double> AttributeCommands::readFrameWidth(const QString &text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    double v = 0;
    if (!platform::TryStrToFloat(t, v) || std::isnan(v))
        return std::nullopt;
    return v;
}

QString AttributeCommands::frameWidthText(double width)
{
    // Widths of 100 and more would read "1E2": they keep their digits.
    const QString text =
        platform::FloatToStrF(width, platform::TFloatFormat::ffGeneral, 2, 0, QLatin1Char(','));
    if (text.contains(QLatin1Char('E')))
        return platform::FloatToStrF(width, platform::TFloatFormat::ffGeneral, 15, 0,
                                     QLatin1Char(','));
    return text;
}

bool AttributeCommands::checkNumber(int tag, const QString &text, AttributeOutcome &outcome,
                                    double &number)
{
    if (tag == atFontSize) {
        int size = 0;
        try {
            size = platform::StrToInt(text);
        } catch (const platform::EConvertError &e) {
            outcome.error = e.Message();
        }
        if (outcome.error.isEmpty()) {
            number = std::clamp<double>(size, attrcmd_detail::kMinFontSize,
                                        attrcmd_detail::kMaxFontSize);
            if (number != size)
                outcome.boxText = QString::number(int(number));
            return true;
        }
        outcome.boxText = m_shownSize;
    } else {
        if (const std::optional<double> w = readFrameWidth(text)) {
            number = std::clamp(*w, attrcmd_detail::kMinFrameWidth, attrcmd_detail::kMaxFrameWidth);
            if (number != *w)
                outcome.boxText = frameWidthText(number);
            return true;
        }
        try {
            platform::StrToFloat(text);
        } catch (const platform::EConvertError &e) {
            outcome.error = e.Message();
        }
        if (outcome.error.isEmpty()) // read as a number only by the platform: not a finite one
            outcome.error =
                QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text);
        outcome.boxText = m_shownWidth;
    }
    attrcmd_detail::showConversionError(outcome.error);
    return false;
}

AttributeOutcome AttributeCommands::applyAttribute(int tag, const AttributeValue &value)
{
    AttributeOutcome outcome;
    DesignerState &st = m_core.state;
    report::TfrPage *page = st.page();
    if (Synchronizing || !page)
        return outcome;
    const bool known = (tag >= atTopEdge && tag <= atVerticalAlign) ||
                       (tag >= atFontColor && tag <= atJustify) ||
                       (tag >= atLineStyleFirst && tag <= atLineStyleLast);
    if (!known)
        return outcome;

    // The number boxes are read before anything is recorded: a text that
    // is no number leaves the page and the history as they were.
    double number = 0;
    if ((tag == atFontSize || tag == atFrameWidth) &&
        !checkNumber(tag, value.text, outcome, number))
        return outcome;
    if (tag == atFontSize)
        m_shownSize = outcome.boxText.value_or(value.text);
    if (tag == atFrameWidth)
        m_shownWidth = outcome.boxText.value_or(value.text);

    std::vector<report::TfrView *> affected;
    if (!DesignerState::restricted(drNoAttributeChange)) {
        for (const auto &v : page->Objects) {
            if (!v->Selected || (v->Restrictions & frrfDontModify) || v->Typ == report::otBand)
                continue;
            if (attrcmd_detail::isMemoTag(tag) && !dynamic_cast<report::TfrMemoView *>(v.get()))
                continue;
            affected.push_back(v.get());
        }
    }
    outcome.refill = tag == atAllEdges || tag == atNoEdges;
    if (affected.empty())
        return outcome;

    m_core.undo.RecordUndo(ukEdited);
    LastUsedAttributes &last = designerGlobals().lastUsed;
    for (report::TfrView *v : affected) {
        if (auto *memo = dynamic_cast<report::TfrMemoView *>(v)) {
            report::FrFontProps &font = memo->Font;
            switch (tag) {
            case atFontName:
                font.Name = value.text;
                last.FontName = font.Name;
                break;
            case atFontSize:
                font.Size = int(number);
                last.FontSize = font.Size;
                break;
            case atBold:
                attrcmd_detail::setBit(font.Style, attrcmd_detail::kBold, value.down);
                break;
            case atItalic:
                attrcmd_detail::setBit(font.Style, attrcmd_detail::kItalic, value.down);
                break;
            case atUnderline:
                attrcmd_detail::setBit(font.Style, attrcmd_detail::kUnderline, value.down);
                break;
            case atFontColor:
                font.Color = value.color;
                last.FontColor = font.Color;
                break;
            case atAlignLeft:
            case atAlignRight:
            case atAlignCenter:
                memo->Alignment = (memo->Alignment & ~3) | (tag - atAlignLeft);
                break;
            case atJustify:
                memo->Alignment = (memo->Alignment & ~3) | report::frtaJustify;
                break;
            case atVerticalText:
                memo->Alignment = value.down ? (memo->Alignment | report::frtaVertical)
                                             : (memo->Alignment & ~report::frtaVertical);
                break;
            case atVerticalAlign:
                memo->Alignment = (memo->Alignment & ~(report::frtaMiddle | report::frtaDown)) |
                                  (value.verticalAlign & (report::frtaMiddle | report::frtaDown));
                break;
            default:
                break;
            }
            if (tag == atBold || tag == atItalic || tag == atUnderline)
                last.FontStyle = font.Style;
            if ((tag >= atAlignLeft && tag <= atVerticalAlign) || tag == atJustify)
                last.Alignment = memo->Alignment;
        }
        switch (tag) {
        case atTopEdge:
        case atLeftEdge:
        case atBottomEdge:
        case atRightEdge:
            attrcmd_detail::setBit(v->FrameTyp, attrcmd_detail::kEdgeOfTag[tag], value.down);
            last.FrameTyp = v->FrameTyp;
            break;
        case atAllEdges:
            v->FrameTyp = 15;
            last.FrameTyp = 15;
            break;
        case atNoEdges:
            v->FrameTyp = 0;
            last.FrameTyp = 0;
            break;
        case atFillColor:
            v->FillColor = value.color;
            last.FillColor = value.color;
            break;
        case atFrameColor:
            v->FrameColor = value.color;
            last.FrameColor = value.color;
            break;
        case atFrameWidth:
            v->FrameWidth = float(number);
            if (v->Typ == report::otLine)
                last.LineWidth = float(number);
            else
                last.FrameWidth = float(number);
            break;
        default:
            if (tag >= atLineStyleFirst && tag <= atLineStyleLast)
                v->FrameStyle = quint16(tag - atLineStyleFirst);
            break;
        }
    }
    outcome.applied = true;
    m_core.surface.Draw(10000, std::nullopt);
    st.View.undoStateChanged();
    return outcome;
}

HighlightChoice AttributeCommands::highlightStart() const
{
    HighlightChoice start;
    const DesignerState &st = m_core.state;
    const report::TfrPage *page = st.page();
    if (!page || st.countSelected() == 0)
        return start;
    const int top = st.TopSelectedIndex();
    if (top < 0 || top >= page->ObjectCount())
        return start;
    if (auto *memo = dynamic_cast<const report::TfrMemoView *>(page->Objects[size_t(top)].get())) {
        start.condition = memo->HighlightCondition;
        start.fontColor = memo->Highlight.FontColor;
        start.fillColor = memo->Highlight.FillColor;
        start.fontStyle = memo->Highlight.FontStyle;
    }
    return start;
}

bool AttributeCommands::applyHighlight()
{
    DesignerState &st = m_core.state;
    report::TfrPage *page = st.page();
    if (!page || !st.Requests.highlight || st.countSelected() == 0)
        return false;
    const std::optional<HighlightChoice> choice = st.Requests.highlight(highlightStart());
    if (!choice)
        return false;
    // The page may have been shown anew while the dialog was up.
    page = st.page();
    if (!page)
        return false;
    m_core.undo.RecordUndo(ukEdited);
    for (const auto &v : page->Objects) {
        auto *memo = dynamic_cast<report::TfrMemoView *>(v.get());
        if (!memo || !memo->Selected)
            continue;
        memo->HighlightCondition = choice->condition;
        memo->Highlight.FontColor = choice->fontColor;
        memo->Highlight.FillColor = choice->fillColor;
        memo->Highlight.FontStyle =
            quint16(choice->fontStyle &
                    (attrcmd_detail::kBold | attrcmd_detail::kItalic | attrcmd_detail::kUnderline));
    }
    m_core.surface.Draw(10000, std::nullopt);
    st.View.undoStateChanged();
    return true;
}

QString AttributeCommands::statusText() const
{
    return frSelectionStatusText(m_core.state);
}

QString frSelectionStatusText(const DesignerState &st)
{
    const report::TfrPage *page = st.page();
    if (!page || st.countSelected() != 1)
        return {};
    for (const auto &v : page->Objects) {
        if (!v->Selected)
            continue;
        QString text = v->Name;
        if (auto *band = dynamic_cast<const report::TfrBandView *>(v.get())) {
            const QStringList &names = report::fr().frBandNames;
            const int t = band->GetBandType();
            if (t >= 0 && t < names.size())
                text += QStringLiteral(": ") + names[t];
        } else if (!v->Memo.isEmpty()) {
            text += QStringLiteral(": ") + v->Memo.first();
        }
        return text;
    }
    return {};
}

ToolbarState AttributeCommands::computeUiState()
{
    ToolbarState ui;
    DesignerState &st = m_core.state;
    const report::TfrPage *page = st.page();
    const int selected = page ? st.countSelected() : 0;
    st.SelectedCount = selected;
    ui.selection = page ? st.selectionState() : 0;
    const bool any = selected > 0;
    ui.frame = (ui.selection & (ssOneMemo | ssOneOther | ssSeveral)) && !st.isDialogPage();
    ui.text = ui.selection & (ssOneMemo | ssSeveral);
    ui.order = ui.cut = ui.copy = ui.remove = any;
    ui.paste = page && (ui.selection & ssClipboard);
    ui.edit = selected == 1;
    ui.status = statusText();

    static const char *const kHorizontal[4] = {"AlB1", "AlB2", "AlB3", "AlB8"};
    if (selected == 1) {
        const report::TfrView *v = nullptr;
        for (const auto &o : page->Objects)
            if (o->Selected) {
                v = o.get();
                break;
            }
        if (v && v->Typ != report::otBand) {
            ui.down[QStringLiteral("FrB1")] = v->FrameTyp & 8;
            ui.down[QStringLiteral("FrB2")] = v->FrameTyp & 4;
            ui.down[QStringLiteral("FrB3")] = v->FrameTyp & 2;
            ui.down[QStringLiteral("FrB4")] = v->FrameTyp & 1;
            ui.texts[QStringLiteral("C4")] = frameWidthText(v->FrameWidth);
            ui.glyphs[QStringLiteral("ClB1")] = v->FillColor;
            ui.glyphs[QStringLiteral("ClB3")] = v->FrameColor;
            if (auto *memo = dynamic_cast<const report::TfrMemoView *>(v)) {
                ui.glyphs[QStringLiteral("ClB2")] = memo->Font.Color;
                ui.texts[QStringLiteral("C2")] = memo->Font.Name;
                ui.texts[QStringLiteral("C3")] = QString::number(memo->Font.Size);
                ui.down[QStringLiteral("FnB1")] = memo->Font.Style & attrcmd_detail::kBold;
                ui.down[QStringLiteral("FnB2")] = memo->Font.Style & attrcmd_detail::kItalic;
                ui.down[QStringLiteral("FnB3")] = memo->Font.Style & attrcmd_detail::kUnderline;
                const int a = memo->Alignment;
                ui.down[QStringLiteral("AlB4")] = a & report::frtaVertical;
                const int vert = a & (report::frtaMiddle | report::frtaDown);
                ui.down[QStringLiteral("AlB5")] = vert == report::frtaMiddle;
                ui.down[QStringLiteral("AlB6")] = vert == 0;
                ui.down[QStringLiteral("AlB7")] = vert == report::frtaDown;
                for (int i = 0; i < 4; ++i)
                    ui.down[QString::fromLatin1(kHorizontal[i])] = (a & 3) == i;
            }
        }
    } else if (selected > 1) {
        for (const char *name :
             {"FrB1", "FrB2", "FrB3", "FrB4", "FnB1", "FnB2", "FnB3", "AlB4", "AlB5"})
            ui.down[QString::fromLatin1(name)] = false;
        for (int i = 0; i < 4; ++i)
            ui.down[QString::fromLatin1(kHorizontal[i])] = i == 0;
        ui.glyphs[QStringLiteral("ClB1")] = 0;
        ui.texts[QStringLiteral("C4")] = QStringLiteral("1");
        ui.texts[QStringLiteral("C2")] = QString();
        ui.texts[QStringLiteral("C3")] = QString();
    }
    if (const auto it = ui.texts.find(QStringLiteral("C3")); it != ui.texts.end())
        m_shownSize = it->second;
    if (const auto it = ui.texts.find(QStringLiteral("C4")); it != ui.texts.end())
        m_shownWidth = it->second;
    return ui;
}

} // namespace designer
