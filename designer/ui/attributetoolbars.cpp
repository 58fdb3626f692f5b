#include "designer/ui/attributetoolbars.h"

#include "designer/core/designercore.h"
#include "designer/ui/colorselector.h"
#include "designer/ui/designerform.h"
#include "designer/ui/flatcombos.h"

#include "platform/forms/application.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/ui/frctrls.h"
#include "report/ui/frdock.h"

#include <QLineEdit>
#include <QPainter>

namespace designer
{

namespace attrbars_detail
{

int tagOf(const QObject *control)
{
    return control ? control->property("Tag").toInt() : 0;
}

// The pictures of the six line styles (solid, dash, dot, dash-dot,
// dash-dot-dot, double).
QImage lineStyleGlyph(int style)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(platform::toQColor(platform::clBtnFace));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    static const Qt::PenStyle kStyles[5] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                            Qt::DashDotLine, Qt::DashDotDotLine};
    if (style == 5) {
        p.setPen(Qt::black);
        p.drawLine(1, 6, 14, 6);
        p.drawLine(1, 9, 14, 9);
    } else {
        QPen pen(Qt::black, 1, kStyles[std::clamp(style, 0, 4)]);
        pen.setDashPattern(style == 1   ? QList<qreal>{3, 2}
                           : style == 2 ? QList<qreal>{1, 1}
                           : style == 3 ? QList<qreal>{3, 1, 1, 1}
                           : style == 4 ? QList<qreal>{3, 1, 1, 1, 1, 1}
                                        : QList<qreal>{16, 0});
        p.setPen(pen);
        p.drawLine(0, 7, 15, 7);
        p.drawLine(0, 8, 15, 8);
    }
    return img;
}

// A colour button's glyph in a colour: olive, the strip's transparent
// background, would vanish from the bar, so the background then takes
// another transparent colour.
void paintColorButton(TfrDesignerForm *form, platform::TColor color, report::TfrSpeedButton *button,
                      int kind)
{
    if (!button)
        return;
    const QRgb olive = qRgb(128, 128, 0);
    form->PaintColorGlyph(color, button, kind);
    if (color == platform::clNone || platform::toQColor(color).rgb() != olive) {
        if (button->GlyphHolder().TransparentColor() != olive) {
            button->GlyphHolder().SetTransparentColor(olive);
            button->SetGlyph(QImage(button->Glyph()));
        }
        return;
    }
    QImage g = button->Glyph().convertToFormat(QImage::Format_RGB32);
    const QRgb background = qRgb(1, 2, 3);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) {
            const bool bar = y >= 12 && y <= 14 && x % 16 >= 1 && x % 16 <= 14;
            if (!bar && g.pixel(x, y) == olive)
                g.setPixel(x, y, background);
        }
    button->GlyphHolder().SetTransparentColor(background);
    button->SetGlyph(g);
    button->SetNumGlyphs(2);
}

} // namespace attrbars_detail

using report::TfrSpeedButton;

TfrAttributeToolbars::TfrAttributeToolbars(DesignerCore &core, TfrDesignerForm *form)
    : QObject(form), Commands(core), m_core(core), m_form(form)
{
    setObjectName(QStringLiteral("AttributeToolbars"));
    ColorSelector = new TColorSelector(form);
    ColorSelector->OnColorSelected = [this] { colorSelected(); };

    // Every control of the tool bars runs the command of its tag.
    DesignerState &st = m_core.state;
    st.Requests.attributeCommand = [this](int tag) { runTag(tag); };
    st.Requests.fillToolbars = [this] { fillControls(); };
    st.Requests.commands[QStringLiteral("ClB1Click")] = [this] {
        ClB1Click(m_form->button(QStringLiteral("ClB1")));
    };
    st.Requests.commands[QStringLiteral("StB1Click")] = [this] { StB1Click(); };
    st.Requests.commands[QStringLiteral("HlB1Click")] = [this] { HlB1Click(); };
    for (const char *name : {"ClB1", "ClB2", "ClB3"}) {
        TfrSpeedButton *b = m_form->button(QString::fromLatin1(name));
        b->OnClick = [this, b] { platform::guard([&] { ClB1Click(b); }); };
    }
    for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "FnB1", "FnB2", "FnB3",
                             "AlB1", "AlB2", "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8"}) {
        TfrSpeedButton *b = m_form->button(QString::fromLatin1(name));
        b->OnClick = [this, b] { platform::guard([&] { DoClick(b); }); };
    }
    for (TfrCustomComboBox *box : {static_cast<TfrCustomComboBox *>(m_form->C2),
                                   static_cast<TfrCustomComboBox *>(m_form->C3),
                                   static_cast<TfrCustomComboBox *>(m_form->C4)})
        box->OnClick = [this, box] { DoClick(box); };
    m_form->C2->OnDblClick = [this] { C2DblClick(); };

    // The line style panel: six styles, each a button of its own.
    for (int i = 0; i < 6; ++i) {
        auto *b = m_form->LinePanel->findChild<TfrSpeedButton *>(
            QStringLiteral("frSpeedButton%1").arg(i + 1));
        if (!b)
            continue;
        b->SetGlyph(attrbars_detail::lineStyleGlyph(i));
        b->OnClick = [this, b] { platform::guard([&] { frSpeedButton1Click(b); }); };
    }
}

QObject *TfrAttributeToolbars::controlOfTag(int tag) const
{
    switch (tag) {
    case atTopEdge:
        return m_form->button(QStringLiteral("FrB1"));
    case atLeftEdge:
        return m_form->button(QStringLiteral("FrB2"));
    case atBottomEdge:
        return m_form->button(QStringLiteral("FrB3"));
    case atRightEdge:
        return m_form->button(QStringLiteral("FrB4"));
    case atAllEdges:
        return m_form->button(QStringLiteral("FrB5"));
    case atNoEdges:
        return m_form->button(QStringLiteral("FrB6"));
    case atFillColor:
        return m_form->button(QStringLiteral("ClB1"));
    case atFrameColor:
        return m_form->button(QStringLiteral("ClB3"));
    case atFontColor:
        return m_form->button(QStringLiteral("ClB2"));
    case atFrameWidth:
        return m_form->C4;
    case atFontName:
        return m_form->C2;
    case atFontSize:
        return m_form->C3;
    case atBold:
        return m_form->button(QStringLiteral("FnB1"));
    case atItalic:
        return m_form->button(QStringLiteral("FnB2"));
    case atUnderline:
        return m_form->button(QStringLiteral("FnB3"));
    case atAlignLeft:
        return m_form->button(QStringLiteral("AlB1"));
    case atAlignRight:
        return m_form->button(QStringLiteral("AlB2"));
    case atAlignCenter:
        return m_form->button(QStringLiteral("AlB3"));
    case atJustify:
        return m_form->button(QStringLiteral("AlB8"));
    case atVerticalText:
        return m_form->button(QStringLiteral("AlB4"));
    case atVerticalAlign:
        return m_form->button(QStringLiteral("AlB5"));
    default:
        if (tag >= atLineStyleFirst && tag <= atLineStyleLast)
            return m_form->LinePanel->findChild<TfrSpeedButton *>(
                QStringLiteral("frSpeedButton%1").arg(tag - atLineStyleFirst + 1));
        return nullptr;
    }
}

void TfrAttributeToolbars::runTag(int tag)
{
    if (QObject *control = controlOfTag(tag))
        DoClick(control);
}

void TfrAttributeToolbars::DoClick(QObject *sender)
{
    if (!sender)
        return;
    const int tag = attrbars_detail::tagOf(sender);
    AttributeValue value;
    if (auto *b = qobject_cast<TfrSpeedButton *>(sender))
        value.down = b->Down();
    if (auto *box = qobject_cast<QComboBox *>(sender))
        value.text = box->currentText();
    if (tag == atFillColor || tag == atFrameColor || tag == atFontColor)
        value.color = glyphColor(qobject_cast<TfrSpeedButton *>(sender));
    if (tag == atVerticalAlign) {
        if (m_form->button(QStringLiteral("AlB5"))->Down())
            value.verticalAlign = 8;
        else if (m_form->button(QStringLiteral("AlB7"))->Down())
            value.verticalAlign = 16;
    }
    const AttributeOutcome outcome = Commands.applyAttribute(tag, value);
    afterCommand(outcome, sender);
}

void TfrAttributeToolbars::afterCommand(const AttributeOutcome &outcome, QObject *sender)
{
    if (outcome.boxText) {
        if (auto *box = qobject_cast<QComboBox *>(sender)) {
            Commands.Synchronizing = true;
            box->setCurrentText(*outcome.boxText);
            Commands.Synchronizing = false;
        }
    }
    if (!outcome.applied)
        return;
    m_form->updateAvailability();
    if (m_core.state.Requests.inspectorRefill)
        m_core.state.Requests.inspectorRefill();
    if (outcome.refill)
        fillControls();
    // The page takes the keys again, not the box that was typed in.
    for (QWidget *box : {static_cast<QWidget *>(m_form->C2), static_cast<QWidget *>(m_form->C3),
                         static_cast<QWidget *>(m_form->C4)})
        if (box->hasFocus()) {
            m_form->setFocus();
            break;
        }
}

void TfrAttributeToolbars::fillControls()
{
    Commands.Synchronizing = true;
    const ToolbarState ui = Commands.computeUiState();
    // Buttons released first, so that pressing one in a group is not undone.
    for (const bool pass : {false, true})
        for (const auto &[name, down] : ui.down)
            if (down == pass)
                if (TfrSpeedButton *b = m_form->button(name))
                    b->SetDown(down);
    for (const auto &[name, text] : ui.texts) {
        QComboBox *box = name == QLatin1String("C2")   ? static_cast<QComboBox *>(m_form->C2)
                         : name == QLatin1String("C3") ? static_cast<QComboBox *>(m_form->C3)
                                                       : static_cast<QComboBox *>(m_form->C4);
        if (box->currentText() != text)
            box->setCurrentText(text);
    }
    for (const auto &[name, color] : ui.glyphs)
        attrbars_detail::paintColorButton(m_form, color, m_form->button(name), glyphKind(name));
    Commands.Synchronizing = false;
}

int TfrAttributeToolbars::glyphKind(const QString &buttonName)
{
    if (buttonName == QLatin1String("ClB1"))
        return 1;
    if (buttonName == QLatin1String("ClB3"))
        return 2;
    return 0;
}

platform::TColor TfrAttributeToolbars::glyphColor(const TfrSpeedButton *button)
{
    if (!button)
        return platform::clNone;
    const QImage &g = button->Glyph();
    if (g.width() < 3 || g.height() < 15)
        return platform::clNone;
    const QRgb bar = g.pixel(2, 14);
    if (bar != g.pixel(1, 13))
        return platform::clNone;
    return platform::fromQColor(QColor::fromRgb(bar));
}

void TfrAttributeToolbars::ClB1Click(TfrSpeedButton *sender)
{
    if (!sender)
        return;
    m_form->LinePanel->hide();
    // A second click on the same button closes the selector.
    if (ColorSelector->isVisible() && m_colorButton == sender) {
        ColorSelector->hide();
        return;
    }
    m_colorButton = sender;
    const QPoint at = sender->mapTo(m_form, QPoint(0, 26));
    ColorSelector->move(at);
    ColorSelector->SelectColor(glyphColor(sender));
    ColorSelector->show();
    ColorSelector->raise();
}

void TfrAttributeToolbars::colorSelected()
{
    TfrSpeedButton *b = m_colorButton;
    if (!b)
        return;
    attrbars_detail::paintColorButton(m_form, ColorSelector->SelectedColor, b,
                                      glyphKind(b->objectName()));
    // The glyph now holds the colour; DoClick reads it from there.
    AttributeValue value = AttributeValue::ofColor(ColorSelector->SelectedColor);
    afterCommand(Commands.applyAttribute(attrbars_detail::tagOf(b), value), b);
}

void TfrAttributeToolbars::StB1Click()
{
    ColorSelector->hide();
    QWidget *panel = m_form->LinePanel;
    if (panel->isVisible()) {
        panel->hide();
        return;
    }
    TfrSpeedButton *b = m_form->button(QStringLiteral("StB1"));
    panel->move(b->mapToGlobal(QPoint(0, 26)));
    panel->show();
}

void TfrAttributeToolbars::frSpeedButton1Click(TfrSpeedButton *sender)
{
    m_form->LinePanel->hide();
    DoClick(sender);
}

void TfrAttributeToolbars::HlB1Click()
{
    if (Commands.applyHighlight()) {
        m_form->RepaintPage();
        m_form->updateAvailability();
        if (m_core.state.Requests.inspectorRefill)
            m_core.state.Requests.inspectorRefill();
    }
}

void TfrAttributeToolbars::C2DblClick()
{
    if (!m_form->C2->isEnabled())
        return;
    report::frObjects().frPropEditors.Call(report::FrEditorKind::Font);
}

void installAttributeCommands(DesignerCore &core, QObject *window)
{
    auto *form = qobject_cast<TfrDesignerForm *>(window);
    if (!form)
        return;
    new TfrAttributeToolbars(core, form);
}

} // namespace designer
