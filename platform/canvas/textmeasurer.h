#pragma once
// Text measuring for layout: whole-pixel advances per character, so that a
// line's width is the sum of its characters' advances (plus the character
// extra of each) and wrapping can work on running sums.
#include "platform/canvas/frfont.h"

#include <QHash>
#include <QList>
#include <QSize>
#include <QStringView>
#include <array>
#include <memory>

namespace platform
{

struct FontMetrics {
    int ascent = 0;       // cell top to baseline
    int descent = 0;      // baseline to cell bottom
    int height = 0;       // cell height, ascent + descent
    int emHeight = 0;     // character height (the font's pixel size)
    int underlinePos = 0; // baseline to the top of the underline
    int strikeOutPos = 0; // baseline up to the top of the strike-out line
    int lineWidth = 1;    // thickness of both lines
};

class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;

    virtual FontMetrics metrics(const FrFont &font) const = 0;
    // Appends the advance of each UTF-16 unit of text to out (character extra
    // not included; the second half of a surrogate pair has advance 0).
    virtual void advances(const FrFont &font, QStringView text, QList<int> &out) const = 0;

    // The Qt font that draws this font as measured here (character height
    // resolved, no underline or strike-out: canvases draw those themselves).
    virtual QFont qfont(const FrFont &font) const;

    int advance(const FrFont &font, QChar c) const;
    // Sum of the advances plus charExtra for every character.
    int width(const FrFont &font, QStringView text, int charExtra = 0) const;
    // The box of a text drawn without wrapping: width of its widest line
    // (lines end at CR LF, CR or LF), height = number of lines x cell height.
    QSize calcRect(const FrFont &font, QStringView text, int charExtra = 0) const;
};

// Measures with Qt's font engine as at 96 pixels per inch: kerning and shaping
// off, each character's advance rounded to whole pixels (half to even), cached
// per font. Rotation and colour do not change a measure.
class QtTextMeasurer : public TextMeasurer
{
public:
    QtTextMeasurer();
    ~QtTextMeasurer() override;
    QtTextMeasurer(const QtTextMeasurer &) = delete;
    QtTextMeasurer &operator=(const QtTextMeasurer &) = delete;

    FontMetrics metrics(const FrFont &font) const override;
    void advances(const FrFont &font, QStringView text, QList<int> &out) const override;

    QFont qfont(const FrFont &font) const override;

private:
    struct Face;
    Face &face(const FrFont &font) const;
    int emPixels(const FrFont &font) const;

    mutable QHash<QString, std::shared_ptr<Face>> faces_;
    // The face asked for last: layout asks for one font many times in a row.
    mutable Face *lastFace_ = nullptr;
    mutable QString lastName_;
    mutable int lastHeight_ = 0;
    mutable int lastStyle_ = -1;
    mutable QHash<QString, double> cellRatios_;
};

// Test double: every character has the same advance, blanks their own, and
// chosen characters an advance of their own. Metrics derive from the height:
// em = |height|, ascent = em - em/4, descent = em/4.
class FixedAdvanceMeasurer : public TextMeasurer
{
public:
    explicit FixedAdvanceMeasurer(int charAdvance = 7, int blankAdvance = 4);

    void setAdvance(QChar c, int advance) { special_.insert(c.unicode(), advance); }

    FontMetrics metrics(const FrFont &font) const override;
    void advances(const FrFont &font, QStringView text, QList<int> &out) const override;

private:
    int charAdvance_;
    int blankAdvance_;
    QHash<char16_t, int> special_;
};

} // namespace platform
