#include "platform/canvas/colors.h"

#include <array>

namespace platform
{

namespace
{

// The classic desktop scheme, by system colour index.
constexpr std::array<TColor, 31> classicScheme = {
    rgb(212, 208, 200), // scroll bar
    rgb(58, 110, 165),  // desktop
    rgb(10, 36, 106),   // active caption
    rgb(128, 128, 128), // inactive caption
    rgb(212, 208, 200), // menu
    rgb(255, 255, 255), // window
    rgb(0, 0, 0),       // window frame
    rgb(0, 0, 0),       // menu text
    rgb(0, 0, 0),       // window text
    rgb(255, 255, 255), // caption text
    rgb(212, 208, 200), // active border
    rgb(212, 208, 200), // inactive border
    rgb(128, 128, 128), // application workspace
    rgb(10, 36, 106),   // highlight
    rgb(255, 255, 255), // highlight text
    rgb(212, 208, 200), // button face
    rgb(128, 128, 128), // button shadow
    rgb(128, 128, 128), // grey text
    rgb(0, 0, 0),       // button text
    rgb(212, 208, 200), // inactive caption text
    rgb(255, 255, 255), // button highlight
    rgb(64, 64, 64),    // 3D dark shadow
    rgb(212, 208, 200), // 3D light
    rgb(0, 0, 0),       // tooltip text
    rgb(255, 255, 225), // tooltip background
    rgb(181, 181, 181), // (unused index)
    rgb(0, 0, 128),     // hot-tracked item
    rgb(166, 202, 240), // active caption gradient
    rgb(192, 192, 192), // inactive caption gradient
    rgb(49, 106, 197),  // menu highlight
    rgb(236, 233, 216), // menu bar
};

} // namespace

TColor colorToRGB(TColor c)
{
    if (c == clNone)
        return clWhite;
    if (isSystemColor(c)) {
        const std::uint32_t index = static_cast<std::uint32_t>(c) & 0xFFu;
        return index < classicScheme.size() ? classicScheme[index] : clBlack;
    }
    return static_cast<TColor>(static_cast<std::uint32_t>(c) & 0x00FFFFFFu);
}

QColor toQColor(TColor c)
{
    if (c == clNone)
        return QColor(0, 0, 0, 0);
    const TColor v = colorToRGB(c);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

TColor fromQColor(const QColor &c)
{
    if (!c.isValid() || c.alpha() == 0)
        return clNone;
    const QColor r = c.toRgb();
    return rgb(r.red(), r.green(), r.blue());
}

} // namespace platform
