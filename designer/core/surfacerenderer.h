#pragma once
// The page surface's drawing: background and grid, the objects in their
// stacking order, margins and columns, the selection handles. Qt paints only
// in paint events, so Draw renders into a page image (the visible part,
// under the clip) and tells the view which region changed; the XOR marks of
// editing are an overlay list painted last, so a mark drawn twice is gone.
#include <QImage>
#include <QRect>
#include <QRegion>
#include <optional>
#include <vector>

class QPainter;

namespace platform
{
class QPainterCanvas;
}
namespace report
{
class TfrView;
}

namespace designer
{

class DesignerState;

// One XOR mark of the overlay.
struct XorMark {
    enum Kind { Rect, Line, RubberLine, Handle } kind = Rect;
    QRect r;            // edges (left, top, right, bottom); a handle: its centre in topLeft
    int width = 1;      // pen width (rubber line, handle size)
    unsigned color = 0; // 0x00BBGGRR (handles: white or teal)
    bool operator==(const XorMark &) const = default;
};

// Largest side of a widget (QWIDGETSIZE_MAX): the surface never asks more.
constexpr int kMaxSurfaceSide = 16777215;

class SurfaceRenderer
{
public:
    explicit SurfaceRenderer(DesignerState &state);

    // --- layout: the surface's rectangle in its scroll box for the current
    // page and client size; the scroll ranges follow. A dialog page's
    // surface fills its page window: its rectangle is the page's form size.
    QRect layout(int clientWidth, int scrollBoxWidth) const;
    QSize surfaceSize() const;
    // Horizontal and vertical scroll ranges of the scroll box for a surface
    // laid out at `surface`, the vertical scroll bar being that wide.
    QSize scrollRange(const QRect &surface, int verticalScrollBarWidth) const;

    // Draws objects 0..topIndex (10000: all) under clip (none: the visible
    // area), the background through what remains, margins and columns, and
    // the handles unless a button is held.
    void Draw(int topIndex, std::optional<QRegion> clip);
    // Draws every object of the page once off screen, so that each settles
    // its drawing state (a band's full width, a line's orientation) before
    // it is shown or edited, also the objects outside the visible part.
    void FirstDrawing();
    // 0 every object again, 1 handles (XOR), 2 focus rectangles (XOR).
    void drawSelection(int mode);
    void xorRect(const QRect &r); // edges
    void xorLine(const QRect &r); // from (left, top) to (right, bottom)
    // The line tool's inverting line at the last-used line width.
    void rubberLine(const QRect &r);
    // Whether a button is held (no handles drawn by Draw).
    bool Down = false;
    bool PaintLocked = false;

    // The cached page image (surface coordinates from imageOrigin()).
    const QImage &image() const { return m_image; }
    QPoint imageOrigin() const { return m_origin; }
    const std::vector<XorMark> &overlay() const { return m_overlay; }
    // The cached image with the overlay applied, as a paint event shows it.
    QImage composed() const;
    // Whether the cache holds the pixels of rect (surface coordinates).
    bool covers(const QRect &rect) const;
    // Paints image and overlay into a widget painter for a paint event.
    void paint(QPainter &painter, const QRegion &region) const;
    // Forgets the cache (page switched, surface resized, scrolled).
    void invalidate();

    // Edges swapped so that left <= right and top <= bottom.
    static QRect normalizeRect(const QRect &r);
    // A negative width becomes positive and x moves left by it; the same
    // for height and y.
    static void normalizeObject(report::TfrView &view);

    // The pixels a mark changes (surface coordinates), as rectangles that
    // never overlap; a line too long to be walked pixel by pixel is left to
    // the painter (none listed, its box in `box`).
    static std::vector<QRect> markPixels(const XorMark &mark, QRect *box = nullptr);

private:
    void toggle(const XorMark &mark);
    void toggleHandles(int index, const report::TfrView &view);
    // The part of the surface the cache must hold: the visible part.
    QRect cacheArea() const;
    // Reallocates the cache for area; true when it was (all of it to draw).
    bool ensureCache(const QRect &area);
    void clearUnder(platform::QPainterCanvas &canvas, const QRegion &own);
    void drawObject(platform::QPainterCanvas &canvas, report::TfrView &view);
    void drawBackground(platform::QPainterCanvas &canvas, const QRect &area,
                        const QRegion &background);
    void drawMarginsAndColumns(platform::QPainterCanvas &canvas, const QRect &area);
    DesignerState &m_state;
    QImage m_image;
    QPoint m_origin;
    std::vector<XorMark> m_overlay;
};

} // namespace designer
