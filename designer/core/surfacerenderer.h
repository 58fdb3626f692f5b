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

class SurfaceRenderer
{
public:
    explicit SurfaceRenderer(DesignerState &state);

    // --- layout: the surface's rectangle in its scroll box for the current
    // page and client size; the scroll ranges follow.
    QRect layout(int clientWidth, int scrollBoxWidth) const;
    QSize surfaceSize() const;

    // Draws objects 0..topIndex (10000: all) under clip (none: the visible
    // area), the background through what remains, margins and columns, and
    // the handles unless a button is held.
    void Draw(int topIndex, std::optional<QRegion> clip);
    // 0 every object again, 1 handles (XOR), 2 focus rectangles (XOR).
    void drawSelection(int mode);
    void xorRect(const QRect &r);   // edges
    void xorLine(const QRect &r);   // from (left, top) to (right, bottom)
    void rubberLine(const QRect &r);
    // Whether a button is held (no handles drawn by Draw).
    bool Down = false;
    bool PaintLocked = false;

    // The cached page image (surface coordinates from imageOrigin()).
    const QImage &image() const { return m_image; }
    QPoint imageOrigin() const { return m_origin; }
    const std::vector<XorMark> &overlay() const { return m_overlay; }
    // Paints image and overlay into a widget painter for a paint event.
    void paint(QPainter &painter, const QRegion &region) const;
    // Forgets the cache (page switched, surface resized, scrolled).
    void invalidate();

private:
    void toggle(const XorMark &mark);
    DesignerState &m_state;
    QImage m_image;
    QPoint m_origin;
    std::vector<XorMark> m_overlay;
};

} // namespace designer
