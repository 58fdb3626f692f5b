#pragma once
// The font a canvas draws with, described as the report library keeps it:
// a height in pixels (negative = character height, positive = cell height),
// a style word, a colour, a character set and an escapement in tenths of a
// degree (900 = text reading upwards).
#include "platform/canvas/colors.h"

#include <QFont>
#include <QString>
#include <cstdint>

namespace platform
{

// Bits of the style word stored in report files.
enum FontStyleBit : std::uint16_t {
    fsItalic = 1,
    fsBold = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

constexpr int DEFAULT_CHARSET = 1;

// Largest character height drawn or measured; larger heights (damaged files)
// are cut to it rather than overflowing.
constexpr int kMaxFontPixels = 16384;

// Coordinates and lengths are kept within this bound wherever a value from a
// file is scaled or summed.
constexpr int kMaxCoordinate = 1 << 30;

// Round half to even, clamped to +/- kMaxCoordinate (NaN gives 0).
int roundToPixel(double v);

struct FrFont {
    QString name = QStringLiteral("Arial");
    int height = -13;
    std::uint16_t style = 0;
    TColor color = clBlack;
    int charset = DEFAULT_CHARSET;
    int escapement = 0;

    bool bold() const { return (style & fsBold) != 0; }
    bool italic() const { return (style & fsItalic) != 0; }
    bool underline() const { return (style & fsUnderline) != 0; }
    bool strikeOut() const { return (style & fsStrikeOut) != 0; }

    // The same font turned to read upwards (escapement 900).
    FrFont rotated() const
    {
        FrFont f = *this;
        f.escapement = 900;
        return f;
    }

    bool operator==(const FrFont &) const = default;
};

// The same font turned to read upwards (escapement 900), as the report
// library asks for it.
inline FrFont frRotatedFont(const FrFont &font)
{
    return font.rotated();
}

// Height in pixels of a font of the given point size at 96 pixels per inch,
// as a character height (negative): -Round(size x 96 / 72), half to even.
int fontHeightForSize(double pointSize);

// Qt font with the given character (em) height in pixels, bold and italic set;
// underline and strike-out are left to the caller, and kerning and shaping are
// off so that each character keeps its own advance.
QFont makeQFont(const QString &family, int emPixels, bool bold, bool italic);

// Makes the three faces every report is designed with resolve to their metric
// twins even where the system's font configuration does not say so.
void installFontSubstitutions();

} // namespace platform
