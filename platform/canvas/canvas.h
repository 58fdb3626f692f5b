#pragma once
// The drawing surface of the report library and the designer: a device
// context with a pen, a brush, a background mode, a font, character extra,
// text justification, a clip and a current position. Coordinates are whole
// device pixels. As on the original platform, lines leave out their last
// pixel, rectangles cover their left and top edges but not their right and
// bottom ones, and text is placed by the top-left corner of its first cell.
#include "platform/canvas/colors.h"
#include "platform/canvas/frfont.h"
#include "platform/canvas/textmeasurer.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPicture>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace platform
{

// Pen styles of the platform (0-5). Dashes are the cosmetic patterns of a
// one-pixel pen; a wider pen with a dash style draws solid, as there.
enum class PenStyle : int { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Clear = 5 };

struct FrPen {
    TColor color = clBlack;
    int width = 1; // 0 draws as 1
    PenStyle style = PenStyle::Solid;
    bool operator==(const FrPen &) const = default;
};

enum class BrushStyle : int { Solid = 0, Clear = 1, Pattern = 2 };

struct FrBrush {
    TColor color = clWhite;
    BrushStyle style = BrushStyle::Solid;
    QImage pattern; // 8 x 8 pixels, tiled from the device origin
    bool operator==(const FrBrush &o) const
    {
        return color == o.color && style == o.style &&
               (style != BrushStyle::Pattern || pattern == o.pattern);
    }
};

enum class BackgroundMode : int { Transparent = 1, Opaque = 2 };

// Rectangle of the platform's (left, top, right, bottom) form: right and
// bottom are the first pixels outside.
inline QRect rectLTRB(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// On and off lengths in pixels of a style's cosmetic pattern; empty for solid.
const std::vector<int> &dashPattern(PenStyle style);

// Walks the pixels of a one-pixel line from a to b with b left out, reporting
// runs of pixels (as rectangles) that the pattern draws (on) or skips (off).
// phase is the position in the pattern, carried from segment to segment.
void walkCosmeticLine(QPoint a, QPoint b, PenStyle style, int &phase,
                      const std::function<void(const QRect &, bool on)> &report);
// Moves a pattern position on by `pixels` pixels.
void advanceDashPhase(PenStyle style, int &phase, qint64 pixels);

// One text output with everything resolved: the advance of each character
// already holds the character extra and the justification.
struct TextDraw {
    QPoint origin; // top-left of the first character cell
    QString text;
    QList<int> dx;
    FrFont font;
    std::optional<QRect> clip;        // the output's own clip rectangle
    std::optional<TColor> background; // cells painted first (opaque background)
    int totalAdvance() const
    {
        qint64 w = 0;
        for (int a : dx)
            w += a;
        return static_cast<int>(std::clamp<qint64>(w, -kMaxCoordinate, kMaxCoordinate));
    }
};

class Canvas
{
public:
    explicit Canvas(const TextMeasurer *measurer);
    virtual ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    const TextMeasurer &measurer() const { return *measurer_; }

    // --- state
    const FrPen &pen() const { return s_.pen; }
    void setPen(const FrPen &pen) { s_.pen = pen; }
    void setPenColor(TColor c) { s_.pen.color = c; }
    void setPenWidth(int w) { s_.pen.width = w; }
    void setPenStyle(PenStyle style) { s_.pen.style = style; }

    const FrBrush &brush() const { return s_.brush; }
    void setBrush(const FrBrush &brush) { s_.brush = brush; }
    void setBrushColor(TColor c); // solid brush of that colour
    void setBrushClear();
    void setBrushPattern(const QImage &eightByEight);

    BackgroundMode backgroundMode() const { return s_.bkMode; }
    void setBackgroundMode(BackgroundMode mode) { s_.bkMode = mode; }

    const FrFont &font() const { return s_.font; }
    void setFont(const FrFont &font) { s_.font = font; }

    int textCharacterExtra() const { return s_.charExtra; }
    void setTextCharacterExtra(int extra) { s_.charExtra = std::clamp(extra, -32767, 32767); }
    // The next text outputs share `extra` pixels over `count` blanks: each
    // blank gets extra div count, the first (extra mod count) one more.
    // Stays in force until set again; (0, 0) ends it.
    void setTextJustification(int extra, int count);

    QPoint penPos() const { return s_.pos; }

    // --- clipping (device coordinates)
    void setClipRect(const QRect &rect);
    void setClipRegion(const QRegion &region);
    void clearClip();
    bool hasClip() const { return s_.hasClip; }
    QRegion clipRegion() const { return s_.clip; }
    // The device area, empty when unbounded.
    virtual QRect bounds() const { return {}; }
    // Whether any pixel of rect can be drawn (device area and clip).
    virtual bool rectVisible(const QRect &rect) const;

    // Saves pen, brush, background mode, font, character extra,
    // justification, clip and position; restore takes back the last save.
    void save();
    void restore();

    // --- drawing
    void fillRect(const QRect &rect);
    // Outline with the pen, inside with the brush, over rect's pixels; with a
    // clear pen the fill is one pixel narrower and shorter.
    void rectangle(const QRect &rect);
    void rectangle(int left, int top, int right, int bottom)
    {
        rectangle(rectLTRB(std::min(left, right), std::min(top, bottom), std::max(left, right),
                           std::max(top, bottom)));
    }
    void moveTo(int x, int y) { s_.pos = QPoint(x, y); }
    void lineTo(int x, int y);
    // Joined segments; only the very last point is left out.
    void polyline(const QList<QPoint> &points);

    void textOut(int x, int y, const QString &text);
    // Text clipped to clip (and to the canvas clip).
    void textRect(const QRect &clip, int x, int y, const QString &text);
    // Text at explicit advances (character extra and justification are then
    // not added); clip optional.
    void extTextOut(int x, int y, const std::optional<QRect> &clip, const QString &text,
                    const QList<int> *dx);

    // Stretched into rect, without smoothing.
    void drawImage(const QRect &rect, const QImage &image);
    // Stands for a metafile picture that cannot be played: a framed, crossed box.
    void drawMetafilePlaceholder(const QRect &rect);
    // A vector picture (charts) stretched into rect, kept as vectors where
    // the device allows, so that it stays sharp in print and PDF.
    void drawPicture(const QRect &rect, const QPicture &picture);

    // Between these two calls the caller draws nothing on the device by other
    // means, so the canvas may hold outputs back and merge them (many texts
    // of one font into one output), keeping the order of what shows. Nests.
    virtual void beginBatch() {}
    virtual void endBatch() {}

    // --- measuring with the current font and character extra
    FontMetrics fontMetrics() const { return measurer_->metrics(s_.font); }
    int textWidth(QStringView text) const;
    int textHeight() const { return fontMetrics().height; }
    QSize textExtent(QStringView text) const { return QSize(textWidth(text), textHeight()); }
    // Box of a text drawn without wrapping (widest line, lines x cell height).
    QSize calcRect(QStringView text) const;
    // Advances as textOut places the characters (extra and justification in).
    QList<int> placedAdvances(QStringView text) const;

protected:
    void setMeasurer(const TextMeasurer *measurer) { measurer_ = measurer; }
    // Background colour of opaque mode: the brush colour while the brush is solid.
    std::optional<TColor> opaqueBackground() const;

    virtual void paintFill(const QRect &rect, const FrBrush &brush) = 0;
    virtual void paintRectangle(const QRect &rect, const FrPen &pen, const FrBrush &brush,
                                std::optional<TColor> gap) = 0;
    // Draws the segments of points with the last point left out; never called
    // with a clear pen. gap: colour of pattern gaps (opaque background).
    virtual void paintPolyline(const QList<QPoint> &points, const FrPen &pen,
                               std::optional<TColor> gap) = 0;
    virtual void paintText(const TextDraw &text) = 0;
    virtual void paintImage(const QRect &rect, const QImage &image) = 0;
    virtual void paintMetafilePlaceholder(const QRect &rect);
    // Default: the picture rendered into an image of rect's size.
    virtual void paintPicture(const QRect &rect, const QPicture &picture);
    // The clip in the state changed.
    virtual void clipChanged() = 0;

private:
    struct State {
        FrPen pen;
        FrBrush brush;
        BackgroundMode bkMode = BackgroundMode::Opaque;
        FrFont font;
        int charExtra = 0;
        int justExtra = 0;
        int justCount = 0;
        bool hasClip = false;
        QRegion clip;
        QPoint pos;
    };
    const TextMeasurer *measurer_;
    State s_;
    std::vector<State> saved_;
};

// Plays picture stretched from its bounding rectangle into target.
void playPicture(QPainter &painter, const QRectF &target, const QPicture &picture);
} // namespace platform
