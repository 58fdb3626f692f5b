#include "designer/core/surfacerenderer.h"

#include "designer/core/designerglobals.h"
#include "designer/core/designerstate.h"

#include "platform/canvas/bitmaps.h"
#include "platform/canvas/qpaintercanvas.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace designer
{

using report::frClampGeometry;
using report::TfrPage;
using report::TfrView;

// Helpers of the surface's drawing (named: the module is built as one unit).
namespace surfacepaint
{

// The cache holds what a screen shows: a damaged view size must not make it
// ask for more memory than an image may have.
constexpr int kMaxCacheSide = 16384;
constexpr qint64 kMaxCachePixels = qint64(1) << 26;
// Marks are kept within this range so that their sizes fit an int.
constexpr qint64 kMarkLimit = qint64(1) << 28;
// An oblique line longer than this is left to the painter rather than
// walked pixel by pixel.
constexpr qint64 kLongestWalkedLine = qint64(1) << 16;

constexpr platform::TColor kHandleWhite = 0xFFFFFF;
constexpr platform::TColor kCornerTeal = 0x808000;
constexpr platform::TColor kXorSilver = 0xC0C0C0;
constexpr int kHandleSize = 5;

int markCoord(qint64 v)
{
    return int(std::clamp(v, -kMarkLimit, kMarkLimit));
}

int clampSide(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, kMaxSurfaceSide));
}

// Floor division, for column indices on either side of the margin.
qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

// The 8 x 8 pattern of the grid: dots every 8 pixels, every 4 for grid 4.
QImage gridPattern(platform::TColor background, int gridSize)
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(platform::toQColor(background));
    const QRgb black = qRgb(0, 0, 0);
    img.setPixel(0, 0, black);
    if (gridSize == 4) {
        img.setPixel(4, 0, black);
        img.setPixel(0, 4, black);
        img.setPixel(4, 4, black);
    }
    return img;
}

// Pixels of a one-pixel line from a to b, b left out.
void linePixels(QPoint a, QPoint b, std::vector<QRect> &out)
{
    int phase = 0;
    platform::walkCosmeticLine(a, b, platform::PenStyle::Solid, phase,
                               [&](const QRect &run, bool on) {
                                   if (on)
                                       out.push_back(run);
                               });
}

} // namespace surfacepaint

SurfaceRenderer::SurfaceRenderer(DesignerState &state) : m_state(state) {}

QSize SurfaceRenderer::surfaceSize() const
{
    const TfrPage *p = m_state.page();
    if (!p)
        return {};
    if (p->PageType() == report::ptDialog)
        return QSize(surfacepaint::clampSide(p->FormWidth), surfacepaint::clampSide(p->FormHeight));
    qint64 h = p->PageHeight();
    if (m_state.Settings.UnlimitedHeight)
        h *= 3;
    return QSize(surfacepaint::clampSide(p->PageWidth()), surfacepaint::clampSide(h));
}

QRect SurfaceRenderer::layout(int clientWidth, int scrollBoxWidth) const
{
    const QSize size = surfaceSize();
    const TfrPage *p = m_state.page();
    if (!p || p->PageType() == report::ptDialog)
        return QRect(QPoint(0, 0), size);
    const qint64 w = size.width();
    qint64 left;
    if (w > scrollBoxWidth || m_state.Settings.PagePosition == 3)
        left = 10;
    else if (m_state.Settings.PagePosition == 5)
        left = (qint64(clientWidth) - w) / 2;
    else
        left = qint64(clientWidth) - w - 11;
    return QRect(int(std::clamp<qint64>(left, -kMaxSurfaceSide, kMaxSurfaceSide)), 10, size.width(),
                 size.height());
}

QSize SurfaceRenderer::scrollRange(const QRect &surface, int verticalScrollBarWidth) const
{
    const qint64 horizontal =
        qint64(surface.left()) + surface.width() + 10 - verticalScrollBarWidth;
    const qint64 vertical = 10 + qint64(surface.height()) + 10;
    return QSize(int(std::clamp<qint64>(horizontal, 0, INT_MAX)),
                 int(std::clamp<qint64>(vertical, 0, INT_MAX)));
}

QRect SurfaceRenderer::cacheArea() const
{
    QRect area = m_state.View.visibleRect() & QRect(QPoint(0, 0), surfaceSize());
    if (area.isEmpty())
        return {};
    area.setWidth(std::min(area.width(), surfacepaint::kMaxCacheSide));
    area.setHeight(std::min(area.height(), surfacepaint::kMaxCacheSide));
    area.setHeight(
        int(std::min<qint64>(area.height(), surfacepaint::kMaxCachePixels / area.width())));
    return area;
}

bool SurfaceRenderer::ensureCache(const QRect &area)
{
    if (!m_image.isNull() && m_origin == area.topLeft() && m_image.size() == area.size())
        return false;
    m_image = QImage(area.size(), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    m_origin = area.topLeft();
    m_overlay.clear();
    return true;
}

void SurfaceRenderer::invalidate()
{
    m_image = QImage();
    m_overlay.clear();
}

bool SurfaceRenderer::covers(const QRect &rect) const
{
    return !m_image.isNull() && QRect(m_origin, m_image.size()).contains(rect);
}

void SurfaceRenderer::FirstDrawing()
{
    TfrPage *p = m_state.page();
    if (!p)
        return;
    report::FrObjectGlobals &g = report::frObjects();
    g.frDocMode = 0;
    // A one-pixel image: the objects run their drawing, nothing is kept.
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    platform::QPainterCanvas canvas(&painter, &g.measurer());
    canvas.setClipRect(QRect(0, 0, 1, 1));
    for (int i = 0; i < p->ObjectCount(); ++i)
        if (TfrView *v = p->Object(i)) {
            canvas.setTextCharacterExtra(0);
            v->Draw(canvas);
        }
}

void SurfaceRenderer::Draw(int topIndex, std::optional<QRegion> clip)
{
    TfrPage *p = m_state.page();
    if (!p || PaintLocked)
        return;
    report::frObjects().frDocMode = 0;
    const QRect area = cacheArea();
    if (area.isEmpty())
        return;
    // A new cache (first drawing, scrolled, resized) is drawn whole.
    const bool fresh = ensureCache(area);
    if (fresh)
        topIndex = 10000;
    const bool full = fresh || !clip;
    const QRegion clipRegion = full ? QRegion(area) : clip->intersected(area);
    if (full)
        m_overlay.clear();
    QRegion changed = clipRegion;
    {
        QPainter painter(&m_image);
        painter.translate(-m_origin);
        platform::QPainterCanvas canvas(&painter, &report::frObjects().measurer());
        canvas.beginBatch();
        // Topmost first: what an object covers is taken out of what is left,
        // so nothing below it paints over it.
        QRegion remaining(area);
        for (int i = p->ObjectCount() - 1; i >= 0; --i) {
            TfrView *v = p->Object(i);
            if (!v)
                continue;
            canvas.setTextCharacterExtra(0);
            const QRegion own = v->GetClipRegion(false);
            if (i <= topIndex && !remaining.isEmpty()) {
                if (v->Selected) {
                    canvas.setClipRegion(remaining);
                    clearUnder(canvas, own);
                    drawObject(canvas, *v);
                    if (!full)
                        changed += v->GetClipRegion(true) & remaining;
                } else if (own.intersects(clipRegion)) {
                    canvas.setClipRegion(full ? remaining : remaining & clipRegion);
                    clearUnder(canvas, own);
                    drawObject(canvas, *v);
                }
            }
            if (!own.isEmpty())
                remaining -= own;
        }
        drawBackground(canvas, area, full ? remaining : remaining & clipRegion);
        canvas.clearClip();
        if (p->PageType() != report::ptDialog)
            drawMarginsAndColumns(canvas, area);
        canvas.endBatch();
    }
    // What was painted over shows no mark any more.
    if (!full)
        std::erase_if(m_overlay, [&](const XorMark &mark) {
            QRect box;
            markPixels(mark, &box);
            return changed.intersects(box);
        });
    m_state.View.surfaceChanged(changed);
    if (!Down)
        drawSelection(1);
}

void SurfaceRenderer::clearUnder(platform::QPainterCanvas &canvas, const QRegion &own)
{
    // Bands and objects without a fill paint only their lines and texts:
    // their area takes the page's plain colour first, or what was there
    // before (an object since moved away) would show through.
    const TfrPage *p = m_state.page();
    canvas.setBrushColor(p->PageType() == report::ptDialog ? platform::TColor(p->Color)
                                                           : platform::clWhite);
    for (const QRect &r : own)
        canvas.fillRect(r);
}

void SurfaceRenderer::drawObject(platform::QPainterCanvas &canvas, TfrView &view)
{
    canvas.save();
    view.Draw(canvas);
    canvas.restore();
    const int left = frClampGeometry(qint64(view.x) + 1);
    if (!view.Script.isEmpty()) {
        static const QImage script = platform::LoadBitmap(QStringLiteral("FR_SCRIPT"));
        canvas.drawImage(QRect(QPoint(left, frClampGeometry(qint64(view.y) + 1)), script.size()),
                         script);
    }
    if (auto *memo = dynamic_cast<report::TfrMemoView *>(&view);
        memo && !memo->HighlightCondition.isEmpty()) {
        static const QImage highlight = platform::LoadBitmap(QStringLiteral("FR_HIGHLIGHT"));
        canvas.drawImage(
            QRect(QPoint(left, frClampGeometry(qint64(view.y) + 10)), highlight.size()), highlight);
    }
}

void SurfaceRenderer::drawBackground(platform::QPainterCanvas &canvas, const QRect &area,
                                     const QRegion &background)
{
    if (background.isEmpty())
        return;
    const TfrPage *p = m_state.page();
    const platform::TColor colour =
        p->PageType() == report::ptDialog ? platform::TColor(p->Color) : platform::clWhite;
    const DesignerSettings &s = m_state.Settings;
    canvas.setClipRegion(background);
    if (!s.GridShow || s.GridSize == 18)
        canvas.setBrushColor(colour);
    else
        canvas.setBrushPattern(surfacepaint::gridPattern(colour, s.GridSize));
    canvas.fillRect(area);
    if (!s.GridShow || s.GridSize != 18)
        return;
    // Grid of 5 mm: single dots, only where the background shows.
    QPolygon dots;
    for (const QRect &r : background) {
        for (int y = int(surfacepaint::ceilDiv(r.top(), 18) * 18); y <= r.bottom(); y += 18)
            for (int x = int(surfacepaint::ceilDiv(r.left(), 18) * 18); x <= r.right(); x += 18)
                dots.append(QPoint(x, y));
    }
    if (dots.isEmpty())
        return;
    QPainter &painter = canvas.painter();
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPoints(dots);
    painter.restore();
}

void SurfaceRenderer::drawMarginsAndColumns(platform::QPainterCanvas &canvas, const QRect &area)
{
    TfrPage *p = m_state.page();
    canvas.setPen(platform::FrPen{platform::clGray, 1, platform::PenStyle::Solid});
    canvas.setBrushClear();
    const int left = p->LeftMarginPos();
    const int right = p->RightMarginPos();
    if (p->UseMargins)
        canvas.rectangle(left, p->TopMarginPos(), right, p->BottomMarginPos());
    if (p->Columns < 2)
        return;
    const qint64 columns = p->Columns;
    const qint64 gap = p->ColumnGap;
    const qint64 width = (qint64(right) - left - (columns - 1) * gap) / columns;
    p->ColWidth = frClampGeometry(width);
    // Column k spans x(k) = left + k * step to x(k) + width + 1. Only the
    // columns whose left or right edge is in view are drawn, and one of
    // those that span the whole view: a page of two billion columns, or of
    // overlapping ones, costs no more than the screen.
    const qint64 w = p->ColWidth;
    const qint64 step = w + gap;
    const qint64 viewLeft = qint64(area.left()) - 1, viewRight = qint64(area.right()) + 1;
    // Indices k in [0, columns - 1] with lo <= left + k * step <= hi.
    const auto indices = [&](qint64 lo, qint64 hi) -> std::pair<qint64, qint64> {
        lo -= left;
        hi -= left;
        qint64 first = 0, last = columns - 1;
        if (step > 0) {
            first = std::max(first, surfacepaint::ceilDiv(lo, step));
            last = std::min(last, surfacepaint::floorDiv(hi, step));
        } else if (step < 0) {
            first = std::max(first, surfacepaint::ceilDiv(hi, step));
            last = std::min(last, surfacepaint::floorDiv(lo, step));
        } else if (lo > 0 || hi < 0) {
            return {1, 0};
        } else {
            last = 0; // all columns in one place: one is enough
        }
        return {first, last};
    };
    std::vector<std::pair<qint64, qint64>> ranges;
    const auto leftIn = indices(viewLeft, viewRight);
    const auto rightIn = indices(viewLeft - w - 1, viewRight - w - 1);
    ranges.push_back(leftIn);
    ranges.push_back(rightIn);
    // Any other column meeting the view spans it: the first such one.
    const auto meets = indices(viewLeft - w - 1, viewRight);
    const auto within = [](qint64 k, std::pair<qint64, qint64> r) {
        return k >= r.first && k <= r.second;
    };
    for (qint64 k : {meets.first, leftIn.second + 1, rightIn.second + 1})
        if (within(k, meets) && !within(k, leftIn) && !within(k, rightIn)) {
            ranges.push_back({k, k});
            break;
        }
    canvas.setPenStyle(platform::PenStyle::Dot);
    const int bottom = frClampGeometry(qint64(p->PageHeight()) + 1);
    std::vector<qint64> drawn;
    for (const auto &[first, last] : ranges)
        for (qint64 k = first; k <= last; ++k)
            drawn.push_back(k);
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    for (qint64 k : drawn) {
        const qint64 x = left + k * step;
        canvas.rectangle(frClampGeometry(x), -1, frClampGeometry(x + w + 1), bottom);
    }
    canvas.setPenStyle(platform::PenStyle::Solid);
}

void SurfaceRenderer::drawSelection(int mode)
{
    if (report::frObjects().frDocMode != 0)
        return;
    if (mode == 0) {
        Draw(10000, std::nullopt);
        return;
    }
    const TfrPage *p = m_state.page();
    if (!p)
        return;
    for (int i = 0; i < p->ObjectCount(); ++i) {
        const TfrView *v = p->Object(i);
        if (!v || !v->Selected)
            continue;
        if (mode == 1)
            toggleHandles(i, *v);
        else if (mode == 2)
            xorRect(edges(surfacepaint::markCoord(v->x), surfacepaint::markCoord(v->y),
                          surfacepaint::markCoord(qint64(v->x) + v->dx + 1),
                          surfacepaint::markCoord(qint64(v->y) + v->dy + 1)));
    }
}

void SurfaceRenderer::toggleHandles(int index, const TfrView &v)
{
    const qint64 x = v.x, y = v.y, dx = v.dx, dy = v.dy;
    const auto handle = [&](qint64 hx, qint64 hy, platform::TColor colour) {
        XorMark m;
        m.kind = XorMark::Handle;
        m.r = QRect(surfacepaint::markCoord(hx), surfacepaint::markCoord(hy), 1, 1);
        m.width = surfacepaint::kHandleSize;
        m.color = unsigned(colour);
        toggle(m);
    };
    const bool sized = dx != 0 && dy != 0;
    handle(x, y, surfacepaint::kHandleWhite);
    if (sized) {
        handle(x + dx, y, surfacepaint::kHandleWhite);
        handle(x, y + dy, surfacepaint::kHandleWhite);
    }
    handle(x + dx, y + dy,
           index == m_state.CornerIndex ? surfacepaint::kCornerTeal : surfacepaint::kHandleWhite);
    if (m_state.SelectedCount == 1 && sized) {
        // Division rounds toward zero, as the resize engine expects.
        handle(x + dx / 2, y, surfacepaint::kHandleWhite);
        handle(x + dx / 2, y + dy, surfacepaint::kHandleWhite);
        handle(x, y + dy / 2, surfacepaint::kHandleWhite);
        handle(x + dx, y + dy / 2, surfacepaint::kHandleWhite);
    }
}

void SurfaceRenderer::xorRect(const QRect &r)
{
    toggle(XorMark{XorMark::Rect, r, 1, unsigned(surfacepaint::kXorSilver)});
}

void SurfaceRenderer::xorLine(const QRect &r)
{
    toggle(XorMark{XorMark::Line, r, 1, unsigned(surfacepaint::kXorSilver)});
}

void SurfaceRenderer::rubberLine(const QRect &r)
{
    const int width = std::max(
        1,
        int(std::nearbyint(std::clamp(double(designerGlobals().lastUsed.LineWidth), 1.0, 100.0))));
    toggle(XorMark{XorMark::RubberLine, r, width, 0});
}

void SurfaceRenderer::toggle(const XorMark &mark)
{
    QRect box;
    if (markPixels(mark, &box).empty() && box.isEmpty())
        return; // draws no pixel: nothing to remember
    const auto it = std::find(m_overlay.begin(), m_overlay.end(), mark);
    if (it != m_overlay.end())
        m_overlay.erase(it);
    else
        m_overlay.push_back(mark);
    m_state.View.surfaceChanged(QRegion(box));
}

QRect SurfaceRenderer::normalizeRect(const QRect &r)
{
    return edges(std::min(r.left(), r.right()), std::min(r.top(), r.bottom()),
                 std::max(r.left(), r.right()), std::max(r.top(), r.bottom()));
}

void SurfaceRenderer::normalizeObject(TfrView &view)
{
    if (view.dx < 0) {
        view.x = frClampGeometry(qint64(view.x) + view.dx);
        view.dx = frClampGeometry(-qint64(view.dx));
    }
    if (view.dy < 0) {
        view.y = frClampGeometry(qint64(view.y) + view.dy);
        view.dy = frClampGeometry(-qint64(view.dy));
    }
}

std::vector<QRect> SurfaceRenderer::markPixels(const XorMark &mark, QRect *box)
{
    std::vector<QRect> out;
    const qint64 l0 = mark.r.left(), t0 = mark.r.top(), r0 = mark.r.right(), b0 = mark.r.bottom();
    const auto span = [](qint64 a, qint64 b) { // [a, b) as two ints
        return std::pair<int, int>(surfacepaint::markCoord(a), surfacepaint::markCoord(b));
    };
    switch (mark.kind) {
    case XorMark::Handle: {
        const int half = mark.width / 2;
        out.push_back(QRect(surfacepaint::markCoord(l0 - half), surfacepaint::markCoord(t0 - half),
                            mark.width, mark.width));
        break;
    }
    case XorMark::Rect: {
        const auto [l, r] = span(std::min(l0, r0), std::max(l0, r0));
        const auto [t, b] = span(std::min(t0, b0), std::max(t0, b0));
        if (l == r && t == b)
            break;
        if (r - l <= 1) {
            out.push_back(QRect(l, t, 1, std::max(1, b - t)));
        } else if (b - t <= 1) {
            out.push_back(QRect(l, t, r - l, 1));
        } else {
            // Each pixel once, or the corners would be turned back.
            out.push_back(QRect(l, t, r - l, 1));
            out.push_back(QRect(l, b - 1, r - l, 1));
            if (b - t > 2) {
                out.push_back(QRect(l, t + 1, 1, b - t - 2));
                out.push_back(QRect(r - 1, t + 1, 1, b - t - 2));
            }
        }
        break;
    }
    case XorMark::Line: {
        const QPoint a(surfacepaint::markCoord(l0), surfacepaint::markCoord(t0)),
            b(surfacepaint::markCoord(r0), surfacepaint::markCoord(b0));
        if (a == b)
            break;
        const qint64 n = std::max(std::abs(qint64(b.x()) - a.x()), std::abs(qint64(b.y()) - a.y()));
        if (a.x() != b.x() && a.y() != b.y() && n > surfacepaint::kLongestWalkedLine) {
            if (box)
                *box = QRect(a, b).normalized();
            return out;
        }
        surfacepaint::linePixels(a, b, out);
        break;
    }
    case XorMark::RubberLine: {
        const int w = std::max(1, mark.width);
        const int before = (w - 1) / 2;
        const bool horizontal = std::abs(r0 - l0) > std::abs(b0 - t0);
        const qint64 from = horizontal ? l0 : t0, to = horizontal ? r0 : b0;
        if (from == to)
            break;
        // The last pixel is left out, as for any line.
        const qint64 lo = from < to ? from : to + 1, hi = from < to ? to : from + 1;
        const auto [a, b] = span(lo, hi);
        const int across = surfacepaint::markCoord((horizontal ? t0 : l0) - before);
        out.push_back(horizontal ? QRect(a, across, b - a, w) : QRect(across, a, w, b - a));
        break;
    }
    }
    if (box) {
        QRect bounds;
        for (const QRect &r : out)
            bounds |= r;
        *box = bounds;
    }
    return out;
}

void SurfaceRenderer::paint(QPainter &painter, const QRegion &region) const
{
    painter.save();
    painter.setClipRegion(region, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (!m_image.isNull())
        painter.drawImage(m_origin, m_image);
    for (const XorMark &mark : m_overlay) {
        QRect box;
        const std::vector<QRect> pixels = markPixels(mark, &box);
        if (!region.intersects(box))
            continue;
        if (mark.kind == XorMark::RubberLine) {
            painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            for (const QRect &r : pixels)
                painter.fillRect(r, Qt::black);
            continue;
        }
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const QColor colour = platform::toQColor(platform::TColor(mark.color));
        if (pixels.empty()) { // a long oblique line
            painter.setPen(QPen(colour, 0));
            painter.drawLine(QPoint(surfacepaint::markCoord(mark.r.left()),
                                    surfacepaint::markCoord(mark.r.top())),
                             QPoint(surfacepaint::markCoord(mark.r.right()),
                                    surfacepaint::markCoord(mark.r.bottom())));
            continue;
        }
        for (const QRect &r : pixels)
            painter.fillRect(r, colour);
    }
    painter.restore();
}

QImage SurfaceRenderer::composed() const
{
    QImage out = m_image.copy();
    if (out.isNull())
        return out;
    QPainter painter(&out);
    painter.translate(-m_origin);
    paint(painter, QRegion(QRect(m_origin, m_image.size())));
    return out;
}

} // namespace designer
