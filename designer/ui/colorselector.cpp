#include "designer/ui/colorselector.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/ui/frctrls.h"

#include <QPainter>

namespace designer
{

namespace colorsel_detail
{

constexpr int kPaletteCount = 16;
constexpr int kTransparentTag = 16;
constexpr int kOtherTag = 17;

QImage swatch(platform::TColor color, int width, int height, int square)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(platform::toQColor(platform::clBtnFace));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, square, square), platform::toQColor(color));
    p.setPen(platform::toQColor(platform::clBtnShadow));
    p.drawRect(QRect(0, 0, square - 1, square - 1));
    return img;
}

// A swatch is drawn whole: its transparent colour is one it does not hold
// (olive, the usual one, is a colour of the palette).
void setSwatchGlyph(report::TfrSpeedButton *button, const QImage &glyph)
{
    QRgb unused = qRgb(128, 128, 0);
    for (int probe = 0;; ++probe) {
        bool found = false;
        for (int y = 0; y < glyph.height() && !found; ++y)
            for (int x = 0; x < glyph.width() && !found; ++x)
                found = (glyph.pixel(x, y) | 0xFF000000) == (unused | 0xFF000000);
        if (!found || glyph.isNull())
            break;
        unused = qRgb(1 + probe, 2, 3 + probe);
    }
    button->GlyphHolder().SetTransparentColor(unused);
    button->SetGlyph(glyph);
}

} // namespace colorsel_detail

using report::TfrSpeedButton;

QImage frColorSwatch(platform::TColor color)
{
    return colorsel_detail::swatch(color, 16, 17, 16);
}

TColorSelector::TColorSelector(QWidget *owner) : QFrame(owner)
{
    setObjectName(QStringLiteral("ColorSelector"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    resize(96, 132);
    const QList<qint32> &values = report::frColorValues();
    auto make = [this](int tag, const QRect &geometry) {
        auto *b = new TfrSpeedButton(this);
        b->setProperty("Tag", tag);
        b->setGeometry(geometry);
        b->SetFlat(true);
        b->SetGroupIndex(1);
        b->SetGrayedInactive(false);
        b->OnClick = [this, tag] { platform::guard([&] { ButtonClick(tag); }); };
        return b;
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const int tag = r * 4 + c;
            TfrSpeedButton *b = make(tag, QRect(c * 22 + 4, r * 22 + 4, 22, 22));
            b->setObjectName(QStringLiteral("ColorButton%1").arg(tag));
            colorsel_detail::setSwatchGlyph(b,
                                            frColorSwatch(tag < values.size() ? values[tag] : 0));
        }
    TfrSpeedButton *transparent = make(colorsel_detail::kTransparentTag, QRect(4, 92, 88, 18));
    transparent->setObjectName(QStringLiteral("TransparentButton"));
    transparent->SetCaption(report::frLoadString(55229));
    m_other = make(colorsel_detail::kOtherTag, QRect(4, 110, 88, 18));
    m_other->setObjectName(QStringLiteral("OtherColorButton"));
    m_other->SetCaption(report::frLoadString(55230));
    hide();
}

TfrSpeedButton *TColorSelector::buttonOfTag(int tag) const
{
    for (TfrSpeedButton *b : findChildren<TfrSpeedButton *>())
        if (b->property("Tag").toInt() == tag)
            return b;
    return nullptr;
}

void TColorSelector::ButtonClick(int tag)
{
    const QList<qint32> &values = report::frColorValues();
    if (tag >= 0 && tag < colorsel_detail::kPaletteCount && tag < values.size()) {
        SelectedColor = values[tag];
    } else if (tag == colorsel_detail::kTransparentTag) {
        SelectedColor = platform::clNone;
    } else if (tag == colorsel_detail::kOtherTag) {
        hide();
        const std::optional<std::int32_t> chosen =
            platform::dialogs().chooseColor(SelectedColor, this);
        if (!chosen)
            return;
        SelectedColor = *chosen;
    } else {
        return;
    }
    hide();
    if (OnColorSelected)
        OnColorSelected();
}

void TColorSelector::SelectColor(platform::TColor color)
{
    const QList<qint32> &values = report::frColorValues();
    // The seventeenth entry is the no-fill value, the "Transparent" button.
    const int index = int(values.mid(0, colorsel_detail::kPaletteCount + 1).indexOf(color));
    if (index >= 0) {
        if (TfrSpeedButton *b = buttonOfTag(index))
            b->SetDown(true);
        m_other->SetGlyph(QImage());
    } else {
        colorsel_detail::setSwatchGlyph(m_other, colorsel_detail::swatch(color, 12, 13, 12));
    }
    SelectedColor = color;
}

} // namespace designer
