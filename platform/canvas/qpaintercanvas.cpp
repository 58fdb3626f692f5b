#include "platform/canvas/qpaintercanvas.h"

#include <QPaintDevice>

namespace platform
{

QPainterCanvas::QPainterCanvas(QPaintDevice *device, const TextMeasurer *measurer)
    : Canvas(measurer), ownPainter_(std::make_unique<QPainter>(device))
{
    p_ = ownPainter_.get();
    init(measurer);
}

QPainterCanvas::QPainterCanvas(QPainter *painter, const TextMeasurer *measurer)
    : Canvas(measurer), p_(painter)
{
    init(measurer);
}

void QPainterCanvas::init(const TextMeasurer *measurer)
{
    if (!measurer) {
        ownMeasurer_ = std::make_unique<QtTextMeasurer>();
        setMeasurer(ownMeasurer_.get());
    }
    if (p_->hasClipping()) {
        baseHasClip_ = true;
        baseClip_ = p_->clipRegion();
    }
    if (const QPaintDevice *d = p_->device()) {
        const QRect dev(0, 0, d->width(), d->height());
        const QTransform t = p_->worldTransform();
        deviceRect_ = t.isIdentity() ? dev : t.inverted().mapRect(dev);
    }
    p_->setRenderHint(QPainter::Antialiasing, false);
    p_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_->setRenderHint(QPainter::TextAntialiasing, true);
}

QPainterCanvas::~QPainterCanvas()
{
    if (ownPainter_) {
        if (ownPainter_->isActive())
            ownPainter_->end();
    } else if (baseHasClip_) {
        p_->setClipRegion(baseClip_);
    } else {
        p_->setClipping(false);
    }
}

QRect QPainterCanvas::bounds() const
{
    return deviceRect_;
}

bool QPainterCanvas::rectVisible(const QRect &rect) const
{
    return Canvas::rectVisible(rect) && (!baseHasClip_ || baseClip_.intersects(rect));
}

std::optional<QRect> QPainterCanvas::visibleArea() const
{
    if (deviceRect_.isEmpty())
        return std::nullopt;
    QRect v = deviceRect_;
    if (hasClip())
        v &= clipRegion().boundingRect();
    if (baseHasClip_)
        v &= baseClip_.boundingRect();
    return v;
}

QBrush QPainterCanvas::qbrush(const FrBrush &brush) const
{
    if (brush.style == BrushStyle::Pattern && !brush.pattern.isNull())
        return QBrush(brush.pattern);
    return QBrush(toQColor(brush.color));
}

void QPainterCanvas::paintFill(const QRect &rect, const FrBrush &brush)
{
    if (brush.style == BrushStyle::Solid && brush.color == clNone)
        return;
    p_->fillRect(rect, qbrush(brush));
}

void QPainterCanvas::paintRectangle(const QRect &rect, const FrPen &pen, const FrBrush &brush,
                                    std::optional<TColor> gap)
{
    if (brush.style != BrushStyle::Clear)
        paintFill(rect, brush);
    if (pen.style == PenStyle::Clear)
        return;
    if (pen.width <= 1) {
        const QPoint tl = rect.topLeft();
        const QPoint tr = rect.topRight();
        const QPoint br = rect.bottomRight();
        const QPoint bl = rect.bottomLeft();
        cosmeticPolyline({tl, tr, br, bl, tl}, pen, gap);
        return;
    }
    p_->save();
    QPen qp(toQColor(pen.color), std::min(pen.width, kMaxFontPixels), Qt::SolidLine, Qt::SquareCap,
            Qt::MiterJoin);
    p_->setPen(qp);
    p_->setBrush(Qt::NoBrush);
    p_->drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    p_->restore();
}

void QPainterCanvas::paintPolyline(const QList<QPoint> &points, const FrPen &pen,
                                   std::optional<TColor> gap)
{
    if (pen.width <= 1)
        cosmeticPolyline(points, pen, gap);
    else
        widePolyline(points, pen);
}

void QPainterCanvas::cosmeticPolyline(const QList<QPoint> &points, const FrPen &pen,
                                      std::optional<TColor> gap)
{
    const QColor on = toQColor(pen.color);
    const QColor off = gap ? toQColor(*gap) : QColor();
    const auto paint = [&](const QRect &run, bool isOn) {
        if (isOn)
            p_->fillRect(run, on);
        else if (gap)
            p_->fillRect(run, off);
    };
    const std::optional<QRect> area = visibleArea();
    int phase = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPoint a = points[i];
        const QPoint b = points[i + 1];
        const qint64 dx = qint64(b.x()) - a.x();
        const qint64 dy = qint64(b.y()) - a.y();
        const qint64 n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
        if (!area) {
            walkCosmeticLine(a, b, pen.style, phase, paint);
            continue;
        }
        // Only the pixels that can show are walked, so that a line from a
        // damaged file with far-away ends costs no more than a visible one;
        // the pattern keeps its place.
        // (QRect's own test overflows on such spans.)
        const bool meets =
            std::max(a.x(), b.x()) >= area->left() && std::min(a.x(), b.x()) <= area->right() &&
            std::max(a.y(), b.y()) >= area->top() && std::min(a.y(), b.y()) <= area->bottom();
        if (area->isEmpty() || !meets) {
            advanceDashPhase(pen.style, phase, n);
            continue;
        }
        if (dx == 0 || dy == 0) {
            const bool horizontal = dy == 0;
            const qint64 start = horizontal ? a.x() : a.y();
            const qint64 step = (horizontal ? dx : dy) > 0 ? 1 : -1;
            const qint64 lo = horizontal ? area->left() : area->top();
            const qint64 hi = horizontal ? area->right() : area->bottom();
            const qint64 first = std::max<qint64>(0, step > 0 ? lo - start : start - hi);
            const qint64 last = std::min<qint64>(n - 1, step > 0 ? hi - start : start - lo);
            if (first > last) {
                advanceDashPhase(pen.style, phase, n);
                continue;
            }
            advanceDashPhase(pen.style, phase, first);
            const int from = static_cast<int>(start + step * first);
            const int to = static_cast<int>(start + step * (last + 1));
            walkCosmeticLine(horizontal ? QPoint(from, a.y()) : QPoint(a.x(), from),
                             horizontal ? QPoint(to, a.y()) : QPoint(a.x(), to), pen.style, phase,
                             paint);
            advanceDashPhase(pen.style, phase, n - 1 - last);
            continue;
        }
        if (n > (1 << 16)) {
            // An oblique line longer than any page: drawn plain by the painter.
            p_->save();
            p_->setPen(QPen(on, 0));
            p_->drawLine(a, b);
            p_->restore();
            advanceDashPhase(pen.style, phase, n);
            continue;
        }
        walkCosmeticLine(a, b, pen.style, phase, paint);
    }
}

void QPainterCanvas::widePolyline(const QList<QPoint> &points, const FrPen &pen)
{
    // Wide pens draw solid whatever their style, with round ends and joins.
    QPolygonF poly;
    poly.reserve(points.size());
    for (const QPoint &pt : points)
        poly.append(QPointF(pt.x() + 0.5, pt.y() + 0.5));
    p_->save();
    p_->setPen(QPen(toQColor(pen.color), std::min(pen.width, kMaxFontPixels), Qt::SolidLine,
                    Qt::RoundCap, Qt::RoundJoin));
    p_->setBrush(Qt::NoBrush);
    p_->drawPolyline(poly);
    p_->restore();
}

void QPainterCanvas::paintText(const TextDraw &t)
{
    const FontMetrics m = measurer().metrics(t.font);
    const int total = t.totalAdvance();
    const QColor colour = toQColor(t.font.color);

    p_->save();
    if (t.clip)
        p_->setClipRect(*t.clip, p_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    p_->translate(t.origin);
    if (t.font.escapement != 0)
        p_->rotate(-t.font.escapement / 10.0);

    if (t.background && total > 0)
        p_->fillRect(QRect(0, 0, total, m.height), toQColor(*t.background));

    p_->setFont(measurer().qfont(t.font));
    p_->setPen(colour);
    int x = 0;
    const qsizetype n = t.text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t.text[i];
        const int adv = i < t.dx.size() ? t.dx[i] : 0;
        if (c.isHighSurrogate() && i + 1 < n && t.text[i + 1].isLowSurrogate()) {
            p_->drawText(QPointF(x, m.ascent), t.text.mid(i, 2));
        } else if (c.unicode() > 0x20 && !c.isSurrogate()) {
            p_->drawText(QPointF(x, m.ascent), QString(c));
        }
        x += adv;
    }
    if (total > 0) {
        if (t.font.underline())
            p_->fillRect(QRect(0, m.ascent + m.underlinePos, total, m.lineWidth), colour);
        if (t.font.strikeOut())
            p_->fillRect(QRect(0, m.ascent - m.strikeOutPos, total, m.lineWidth), colour);
    }
    p_->restore();
}

void QPainterCanvas::paintImage(const QRect &rect, const QImage &image)
{
    p_->save();
    p_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_->drawImage(QRectF(rect), image);
    p_->restore();
}

void QPainterCanvas::paintPicture(const QRect &rect, const QPicture &picture)
{
    p_->save();
    p_->setClipRect(QRectF(rect), Qt::IntersectClip);
    playPicture(*p_, QRectF(rect), picture);
    p_->restore();
}

void QPainterCanvas::clipChanged()
{
    if (hasClip())
        p_->setClipRegion(baseHasClip_ ? baseClip_.intersected(clipRegion()) : clipRegion());
    else if (baseHasClip_)
        p_->setClipRegion(baseClip_);
    else
        p_->setClipping(false);
}

} // namespace platform
