#include "platform/canvas/canvas.h"

#include <QPainter>

#include <cstdlib>

namespace platform
{

const std::vector<int> &dashPattern(PenStyle style)
{
    static const std::vector<int> none;
    static const std::vector<int> dash = {18, 6};
    static const std::vector<int> dot = {3, 3};
    static const std::vector<int> dashDot = {9, 6, 3, 6};
    static const std::vector<int> dashDotDot = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case PenStyle::Dash:
        return dash;
    case PenStyle::Dot:
        return dot;
    case PenStyle::DashDot:
        return dashDot;
    case PenStyle::DashDotDot:
        return dashDotDot;
    default:
        return none;
    }
}

void walkCosmeticLine(QPoint a, QPoint b, PenStyle style, int &phase,
                      const std::function<void(const QRect &, bool on)> &report)
{
    const qint64 dx = qint64(b.x()) - a.x();
    const qint64 dy = qint64(b.y()) - a.y();
    const qint64 adx = dx < 0 ? -dx : dx;
    const qint64 ady = dy < 0 ? -dy : dy;
    const qint64 n = std::max(adx, ady);
    if (n == 0)
        return;
    const int sx = dx > 0 ? 1 : (dx < 0 ? -1 : 0);
    const int sy = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    const bool xMajor = adx >= ady;

    const std::vector<int> &pattern = dashPattern(style);
    int period = 0;
    for (int len : pattern)
        period += len;
    const auto isOn = [&](int pos) {
        if (period == 0)
            return true;
        int p = pos;
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            if (p < pattern[k])
                return k % 2 == 0;
            p -= pattern[k];
        }
        return true;
    };

    phase = period == 0 ? 0 : ((phase % period) + period) % period;
    if (dx == 0 || dy == 0) {
        // Straight across or down (frames, table rules): the runs follow the
        // pattern's lengths, with no need to visit each pixel.
        const auto pixel = [&](qint64 i) {
            return QPoint(static_cast<int>(a.x() + sx * i), static_cast<int>(a.y() + sy * i));
        };
        qint64 done = 0;
        while (done < n) {
            qint64 length = n - done;
            bool on = true;
            if (period != 0) {
                int p = phase;
                for (std::size_t k = 0; k < pattern.size(); ++k) {
                    if (p < pattern[k]) {
                        length = std::min<qint64>(length, pattern[k] - p);
                        on = k % 2 == 0;
                        break;
                    }
                    p -= pattern[k];
                }
                phase = static_cast<int>((phase + length) % period);
            }
            const QPoint first = pixel(done);
            const QPoint last = pixel(done + length - 1);
            report(QRect(QPoint(std::min(first.x(), last.x()), std::min(first.y(), last.y())),
                         QPoint(std::max(first.x(), last.x()), std::max(first.y(), last.y()))),
                   on);
            done += length;
        }
        return;
    }

    // Runs of pixels along the major axis with one state.
    QPoint runStart;
    QPoint runEnd;
    bool runOn = false;
    bool inRun = false;
    const auto flush = [&] {
        if (inRun)
            report(
                QRect(
                    QPoint(std::min(runStart.x(), runEnd.x()), std::min(runStart.y(), runEnd.y())),
                    QPoint(std::max(runStart.x(), runEnd.x()), std::max(runStart.y(), runEnd.y()))),
                runOn);
        inRun = false;
    };

    int x = a.x();
    int y = a.y();
    qint64 err = (xMajor ? adx : ady) / 2;
    for (qint64 i = 0; i < n; ++i) {
        const bool on = isOn(phase);
        if (period != 0 && ++phase == period)
            phase = 0;
        const QPoint px(x, y);
        const bool continues = inRun && on == runOn &&
                               (xMajor ? (y == runEnd.y() && x == runEnd.x() + sx)
                                       : (x == runEnd.x() && y == runEnd.y() + sy));
        if (continues) {
            runEnd = px;
        } else {
            flush();
            runStart = runEnd = px;
            runOn = on;
            inRun = true;
        }
        if (xMajor) {
            x += sx;
            err -= ady;
            if (err < 0) {
                y += sy;
                err += adx;
            }
        } else {
            y += sy;
            err -= adx;
            if (err < 0) {
                x += sx;
                err += ady;
            }
        }
    }
    flush();
}

void advanceDashPhase(PenStyle style, int &phase, qint64 pixels)
{
    qint64 period = 0;
    for (int len : dashPattern(style))
        period += len;
    if (period == 0) {
        phase = 0;
        return;
    }
    phase = static_cast<int>((((phase + pixels) % period) + period) % period);
}

// ---------------------------------------------------------------------------

Canvas::Canvas(const TextMeasurer *measurer) : measurer_(measurer) {}

Canvas::~Canvas() = default;

void Canvas::setBrushColor(TColor c)
{
    s_.brush.color = c;
    s_.brush.style = BrushStyle::Solid;
    s_.brush.pattern = QImage();
}

void Canvas::setBrushClear()
{
    s_.brush.style = BrushStyle::Clear;
    s_.brush.pattern = QImage();
}

void Canvas::setBrushPattern(const QImage &eightByEight)
{
    s_.brush.style = BrushStyle::Pattern;
    s_.brush.pattern = eightByEight;
}

void Canvas::setTextJustification(int extra, int count)
{
    s_.justExtra = count > 0 ? std::clamp(extra, -(1 << 24), 1 << 24) : 0;
    s_.justCount = count > 0 ? count : 0;
}

void Canvas::setClipRect(const QRect &rect)
{
    s_.hasClip = true;
    // An upside-down rectangle clips everything away.
    s_.clip = rect.isValid() ? QRegion(rect) : QRegion();
    clipChanged();
}

void Canvas::setClipRegion(const QRegion &region)
{
    s_.hasClip = true;
    s_.clip = region;
    clipChanged();
}

void Canvas::clearClip()
{
    s_.hasClip = false;
    s_.clip = QRegion();
    clipChanged();
}

bool Canvas::rectVisible(const QRect &rect) const
{
    const QRect &r = rect;
    if (r.isEmpty())
        return false;
    const QRect b = bounds();
    if (!b.isEmpty() && !b.intersects(r))
        return false;
    return !s_.hasClip || s_.clip.intersects(r);
}

void Canvas::save()
{
    saved_.push_back(s_);
}

void Canvas::restore()
{
    if (saved_.empty())
        return;
    const bool clipDiffers = saved_.back().hasClip != s_.hasClip || saved_.back().clip != s_.clip;
    s_ = std::move(saved_.back());
    saved_.pop_back();
    if (clipDiffers)
        clipChanged();
}

std::optional<TColor> Canvas::opaqueBackground() const
{
    if (s_.bkMode == BackgroundMode::Opaque && s_.brush.style == BrushStyle::Solid &&
        s_.brush.color != clNone)
        return s_.brush.color;
    return std::nullopt;
}

void Canvas::fillRect(const QRect &rect)
{
    const QRect &r = rect;
    if (r.isEmpty() || s_.brush.style == BrushStyle::Clear)
        return;
    paintFill(r, s_.brush);
}

void Canvas::rectangle(const QRect &rect)
{
    if (rect.isEmpty())
        return;
    if (s_.pen.style == PenStyle::Clear) {
        const QRect inner = rect.adjusted(0, 0, -1, -1);
        if (!inner.isEmpty() && s_.brush.style != BrushStyle::Clear)
            paintFill(inner, s_.brush);
        return;
    }
    paintRectangle(rect, s_.pen, s_.brush, opaqueBackground());
}

void Canvas::lineTo(int x, int y)
{
    const QPoint to(x, y);
    if (s_.pen.style != PenStyle::Clear && to != s_.pos)
        paintPolyline({s_.pos, to}, s_.pen, opaqueBackground());
    s_.pos = to;
}

void Canvas::polyline(const QList<QPoint> &points)
{
    if (points.size() < 2 || s_.pen.style == PenStyle::Clear)
        return;
    paintPolyline(points, s_.pen, opaqueBackground());
}

void Canvas::textOut(int x, int y, const QString &text)
{
    extTextOut(x, y, std::nullopt, text, nullptr);
}

void Canvas::textRect(const QRect &clip, int x, int y, const QString &text)
{
    extTextOut(x, y, clip, text, nullptr);
}

void Canvas::extTextOut(int x, int y, const std::optional<QRect> &clip, const QString &text,
                        const QList<int> *dx)
{
    if (text.isEmpty() || (clip && clip->isEmpty()))
        return;
    TextDraw t;
    t.origin = QPoint(x, y);
    t.text = text;
    t.font = s_.font;
    t.clip = clip;
    if (s_.bkMode == BackgroundMode::Opaque)
        t.background = opaqueBackground();
    if (dx) {
        t.dx = *dx;
        if (t.dx.size() > text.size())
            t.dx.resize(text.size());
        if (t.dx.size() < text.size()) {
            const QList<int> rest = placedAdvances(QStringView(text).mid(t.dx.size()));
            t.dx.append(rest);
        }
    } else {
        t.dx = placedAdvances(text);
    }
    paintText(t);
}

void Canvas::drawImage(const QRect &rect, const QImage &image)
{
    const QRect &r = rect;
    if (r.isEmpty() || image.isNull())
        return;
    paintImage(r, image);
}

void Canvas::drawMetafilePlaceholder(const QRect &rect)
{
    if (rect.isEmpty())
        return;
    paintMetafilePlaceholder(rect);
}

void Canvas::drawPicture(const QRect &rect, const QPicture &picture)
{
    if (rect.isEmpty() || picture.isNull() || picture.boundingRect().isEmpty())
        return;
    paintPicture(rect, picture);
}

// Plays picture stretched from its bounding rectangle into target.
void playPicture(QPainter &painter, const QRectF &target, const QPicture &picture)
{
    const QRect src = picture.boundingRect();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / src.width(), target.height() / src.height());
    painter.translate(-src.topLeft());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void Canvas::paintPicture(const QRect &rect, const QPicture &picture)
{
    // Devices of a bounded size only: a huge rectangle is drawn as a box.
    if (qint64(rect.width()) * rect.height() > 64LL * 1024 * 1024) {
        paintMetafilePlaceholder(rect);
        return;
    }
    QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        playPicture(p, QRectF(QPointF(0, 0), QSizeF(rect.size())), picture);
    }
    paintImage(rect, image);
}

void Canvas::paintMetafilePlaceholder(const QRect &rect)
{
    FrPen pen;
    pen.color = clGray;
    FrBrush none;
    none.style = BrushStyle::Clear;
    paintRectangle(rect, pen, none, std::nullopt);
    paintPolyline({rect.topLeft(), rect.bottomRight() + QPoint(1, 1)}, pen, std::nullopt);
    paintPolyline({rect.bottomLeft(), rect.topRight() + QPoint(1, -1)}, pen, std::nullopt);
}

int Canvas::textWidth(QStringView text) const
{
    return measurer_->width(s_.font, text, s_.charExtra);
}

QSize Canvas::calcRect(QStringView text) const
{
    return measurer_->calcRect(s_.font, text, s_.charExtra);
}

QList<int> Canvas::placedAdvances(QStringView text) const
{
    QList<int> out;
    out.reserve(text.size());
    measurer_->advances(s_.font, text, out);
    if (s_.charExtra != 0)
        for (int &a : out)
            a += s_.charExtra;
    if (s_.justCount > 0 && s_.justExtra != 0) {
        const int each = s_.justExtra / s_.justCount;
        const int rest = s_.justExtra % s_.justCount;
        const int step = rest < 0 ? -1 : 1;
        int blank = 0;
        for (qsizetype i = 0; i < text.size() && i < out.size(); ++i) {
            if (text[i] != u' ')
                continue;
            out[i] += each + (blank < std::abs(rest) ? step : 0);
            ++blank;
        }
    }
    return out;
}

} // namespace platform
