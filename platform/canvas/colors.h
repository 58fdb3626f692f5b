#pragma once
// Colours as the report files and windows store them: 0x00BBGGRR, with two
// special forms: 0x80000000 + n names system colour n, and clNone (0x1FFFFFFF)
// means "nothing is painted". Paper never follows the desktop theme, so system
// colours come from a fixed table of the classic scheme.
#include <QColor>
#include <cstdint>

namespace platform
{

using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;

constexpr TColor systemColor(int index)
{
    return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// System colour indexes of the classic scheme.
enum SystemColorIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

constexpr TColor clBtnFace = systemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = systemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = systemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clWindow = systemColor(COLOR_WINDOW);
constexpr TColor clWindowText = systemColor(COLOR_WINDOWTEXT);
constexpr TColor clGrayText = systemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = systemColor(COLOR_BTNTEXT);
constexpr TColor clHighlight = systemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = systemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clInfoBk = systemColor(COLOR_INFOBK);

inline bool isSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u;
}

// The plain 0x00BBGGRR value of a colour: system colours are looked up in the
// classic table (unknown indexes give black); other high bytes are dropped.
// clNone has no value of its own and gives white, the colour of paper.
TColor colorToRGB(TColor c);

// Opaque colour for c; clNone gives a fully transparent colour.
QColor toQColor(TColor c);
// 0x00BBGGRR of an opaque colour; an invalid or fully transparent one gives clNone.
TColor fromQColor(const QColor &c);

constexpr TColor rgb(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

} // namespace platform
