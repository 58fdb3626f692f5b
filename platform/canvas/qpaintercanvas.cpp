#include "platform/canvas/qpaintercanvas.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QVarLengthArray>

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
    basePen_ = p_->pen();
    baseFont_ = p_->font();
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
    flushBatch();
    if (ownPainter_) {
        if (ownPainter_->isActive())
            ownPainter_->end();
        return;
    }
    // A borrowed painter gets back what texts changed.
    p_->setPen(basePen_);
    p_->setFont(baseFont_);
    if (baseHasClip_)
        p_->setClipRegion(baseClip_);
    else
        p_->setClipping(false);
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

void QPainterCanvas::endBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        flushBatch();
}

void QPainterCanvas::flushBatch()
{
    if (!heldGlyphs_.isEmpty()) {
        p_->setPen(heldColour_);
        QGlyphRun run;
        run.setRawFont(heldFace_->raw);
        run.setGlyphIndexes(heldGlyphs_);
        run.setPositions(heldPositions_);
        p_->drawGlyphRun(QPointF(0, 0), run);
        heldGlyphs_.clear();
        heldPositions_.clear();
    }
    if (!heldFills_.isEmpty()) {
        // One brush for all of them: a fill each would set and take back the
        // pen and brush every time. Each stays a shape of its own, as a fill
        // alone would be (a PDF viewer smooths the edges of one shape made
        // of many rectangles otherwise).
        const QPen pen = p_->pen();
        const QBrush brush = p_->brush();
        p_->setPen(Qt::NoPen);
        p_->setBrush(heldColour_);
        for (const QRect &r : std::as_const(heldFills_))
            p_->drawRect(r);
        p_->setBrush(brush);
        p_->setPen(pen);
        heldFills_.clear();
    }
    heldFace_ = nullptr;
}

void QPainterCanvas::fillSolid(const QRect &rect, const QColor &colour)
{
    if (batchDepth_ == 0) {
        p_->fillRect(rect, colour);
        return;
    }
    if (!heldGlyphs_.isEmpty() || (!heldFills_.isEmpty() && heldColour_ != colour))
        flushBatch();
    heldColour_ = colour;
    heldFills_.append(rect.normalized());
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
    if (brush.style != BrushStyle::Pattern) {
        fillSolid(rect, toQColor(brush.color));
        return;
    }
    flushBatch();
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
    flushBatch();
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
            fillSolid(run, on);
        else if (gap)
            fillSolid(run, off);
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
            flushBatch();
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
    flushBatch();
    p_->save();
    p_->setPen(QPen(toQColor(pen.color), std::min(pen.width, kMaxFontPixels), Qt::SolidLine,
                    Qt::RoundCap, Qt::RoundJoin));
    p_->setBrush(Qt::NoBrush);
    p_->drawPolyline(poly);
    p_->restore();
}

const QPainterCanvas::DrawFace &QPainterCanvas::drawFace(const FrFont &font)
{
    const int style = font.style & (fsBold | fsItalic);
    const auto same = [&](const DrawFace &f) {
        return f.height == font.height && f.style == style && f.name == font.name;
    };
    if (lastFace_ && same(*lastFace_))
        return *lastFace_;
    for (const auto &f : faces_)
        if (same(*f)) {
            lastFace_ = f.get();
            return *f;
        }
    // A report uses a handful of fonts; a damaged one may ask for thousands.
    if (faces_.size() >= 64) {
        flushBatch();
        faces_.clear();
    }
    auto face = std::make_unique<DrawFace>();
    face->name = font.name;
    face->height = font.height;
    face->style = style;
    face->font = measurer().qfont(font);
    face->raw = QRawFont::fromFont(face->font);
    face->metrics = measurer().metrics(font);
    lastFace_ = face.get();
    faces_.push_back(std::move(face));
    return *lastFace_;
}

void QPainterCanvas::paintText(const TextDraw &t)
{
    if (t.font.escapement != 0) {
        paintTurnedText(t);
        return;
    }
    const DrawFace &face = drawFace(t.font);
    const FontMetrics &m = face.metrics;
    const int total = t.totalAdvance();
    const QColor colour = toQColor(t.font.color);
    const int ox = t.origin.x();
    const int oy = t.origin.y();
    const qreal baseline = qreal(oy) + m.ascent;
    const qsizetype n = t.text.size();

    // Each character the face has goes into one run at its measured place;
    // one the face lacks is drawn alone, so that Qt finds it in another font.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QVarLengthArray<std::pair<qsizetype, qreal>, 4> alone;
    QVarLengthArray<quint32, 128> indexes(n);
    int indexCount = int(n);
    if (!face.raw.isValid() ||
        !face.raw.glyphIndexesForChars(t.text.constData(), int(n), indexes.data(), &indexCount))
        indexCount = 0;
    glyphs.reserve(n);
    positions.reserve(n);
    qint64 x = ox;
    int glyph = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t.text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < n && t.text[i + 1].isLowSurrogate();
        const quint32 index = glyph < indexCount ? indexes[glyph] : 0;
        ++glyph;
        if (pair || (c.unicode() > 0x20 && !c.isSurrogate())) {
            if (index != 0) {
                glyphs.append(index);
                positions.append(QPointF(qreal(x), baseline));
            } else {
                alone.append({i, qreal(x)});
            }
        }
        x += i < t.dx.size() ? t.dx[i] : 0;
        if (pair) {
            ++i;
            x += i < t.dx.size() ? t.dx[i] : 0;
        }
    }

    // The text's own clip only where something could reach past it: most
    // texts lie well inside their box, and a clip costs a state change on
    // every device (and bytes in a PDF).
    bool inside = true;
    if (t.clip) {
        const QRectF box(*t.clip);
        inside = alone.isEmpty();
        if (inside && total > 0 && (t.background || t.font.underline() || t.font.strikeOut()))
            inside = box.contains(QRectF(ox, oy, total, m.height));
        for (qsizetype g = 0; inside && g < glyphs.size(); ++g) {
            const QRectF ink = face.raw.boundingRect(glyphs[g]).translated(positions[g]);
            inside = ink.isEmpty() || box.contains(ink);
        }
    }
    const bool plain =
        inside && !t.background && alone.isEmpty() && !t.font.underline() && !t.font.strikeOut();
    if (batchDepth_ > 0 && plain) {
        if (!heldFills_.isEmpty() ||
            (!heldGlyphs_.isEmpty() && (heldFace_ != &face || heldColour_ != colour)))
            flushBatch();
        heldFace_ = &face;
        heldColour_ = colour;
        heldGlyphs_.append(glyphs);
        heldPositions_.append(positions);
        return;
    }
    flushBatch();
    const bool clipped = !inside;
    if (clipped) {
        p_->save();
        p_->setClipRect(*t.clip, p_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }

    if (t.background && total > 0)
        p_->fillRect(QRect(ox, oy, total, m.height), toQColor(*t.background));
    p_->setPen(colour);
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(face.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        p_->drawGlyphRun(QPointF(0, 0), run);
    }
    if (!alone.isEmpty()) {
        p_->setFont(face.font);
        for (const auto &[i, at] : alone) {
            const bool pair = t.text[i].isHighSurrogate();
            p_->drawText(QPointF(at, baseline), t.text.mid(i, pair ? 2 : 1));
        }
    }
    if (total > 0) {
        if (t.font.underline())
            p_->fillRect(QRect(ox, oy + m.ascent + m.underlinePos, total, m.lineWidth), colour);
        if (t.font.strikeOut())
            p_->fillRect(QRect(ox, oy + m.ascent - m.strikeOutPos, total, m.lineWidth), colour);
    }
    if (clipped)
        p_->restore();
}

void QPainterCanvas::paintTurnedText(const TextDraw &t)
{
    const FontMetrics m = measurer().metrics(t.font);
    const int total = t.totalAdvance();
    const QColor colour = toQColor(t.font.color);

    flushBatch();
    p_->save();
    if (t.clip)
        p_->setClipRect(*t.clip, p_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    p_->translate(t.origin);
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
    flushBatch();
    p_->save();
    p_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_->drawImage(QRectF(rect), image);
    p_->restore();
}

void QPainterCanvas::paintPicture(const QRect &rect, const QPicture &picture)
{
    flushBatch();
    p_->save();
    p_->setClipRect(QRectF(rect), Qt::IntersectClip);
    playPicture(*p_, QRectF(rect), picture);
    p_->restore();
}

void QPainterCanvas::clipChanged()
{
    flushBatch();
    if (hasClip())
        p_->setClipRegion(baseHasClip_ ? baseClip_.intersected(clipRegion()) : clipRegion());
    else if (baseHasClip_)
        p_->setClipRegion(baseClip_);
    else
        p_->setClipping(false);
}

} // namespace platform
