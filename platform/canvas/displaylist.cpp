#include "platform/canvas/displaylist.h"

#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform
{

namespace
{

struct Scaler {
    double sx;
    double sy;
    QPoint off;

    int x(double v) const { return roundToPixel(v * sx) + off.x(); }
    int y(double v) const { return roundToPixel(v * sy) + off.y(); }
    QPoint point(const QPoint &p) const { return QPoint(x(p.x()), y(p.y())); }
    QRect rect(const QRect &r) const
    {
        return rectLTRB(x(r.left()), y(r.top()), x(r.right() + 1.0), y(r.bottom() + 1.0));
    }
    QRegion region(const QRegion &r) const
    {
        QRegion out;
        for (const QRect &part : r)
            out += rect(part);
        return out;
    }
    FrPen pen(FrPen p) const
    {
        if (p.width > 1)
            p.width = std::clamp(roundToPixel(p.width * sx), 1, kMaxFontPixels);
        return p;
    }
    FrFont font(FrFont f) const
    {
        const double h = std::abs(static_cast<double>(f.height));
        const int scaled = std::clamp(roundToPixel(h * sy), 1, kMaxFontPixels);
        f.height = f.height < 0 ? -scaled : scaled;
        return f;
    }
    // Advances of the characters once their places along the line are scaled.
    QList<int> advances(const TextDraw &t) const
    {
        const bool upright = (t.font.escapement % 1800) == 0;
        const double s = upright ? sx : sy;
        QList<int> out;
        out.reserve(t.dx.size());
        qint64 sum = 0;
        int placed = 0;
        for (int a : t.dx) {
            sum += a;
            const int next = roundToPixel(static_cast<double>(sum) * s);
            out.append(next - placed);
            placed = next;
        }
        return out;
    }
};

// A pen of one pixel (or a hairline) played larger than its recording is as
// wide as one recorded pixel played at that scale, never under one device
// pixel: its pixels cover what a fill of the same pixels covers, and its
// dashes grow with it. So a frame prints as wide on paper as it shows at
// 100 %.
bool thinPenGrows(const Scaler &sc, const FrPen &pen)
{
    return pen.width <= 1 && (sc.sx > 1 || sc.sy > 1) && std::isfinite(sc.sx) &&
           std::isfinite(sc.sy);
}

// Where the target's clip lets pixels show (empty: nowhere); nothing without
// a clip. (A recording target's bounds are no limit: a job may play a page
// beyond its printable area.)
std::optional<QRect> visibleArea(const Canvas &target)
{
    if (!target.hasClip())
        return std::nullopt;
    return target.clipRegion().boundingRect();
}

// Longest stretch of a thin line walked pixel run by pixel run; longer ones
// only come from damaged files and are drawn plain.
constexpr qint64 kMaxWalkedPixels = 1 << 16;
// What one replay walks at the most, all lines together: a printed page of
// dotted table rules walks a few hundred thousand pixels, while a damaged
// file of a few kilobytes could otherwise ask for billions of dashes.
constexpr qint64 kMaxWalkedPixelsPerReplay = 1 << 21;

void playThinPolyline(Canvas &target, const Scaler &sc, const QList<QPoint> &points,
                      const FrPen &pen, std::optional<TColor> gap, qint64 &walkBudget)
{
    FrBrush on;
    on.color = pen.color;
    FrBrush off;
    off.color = gap.value_or(clNone);
    const std::optional<QRect> area = visibleArea(target);
    const auto fillRun = [&](const QRect &run, bool isOn) {
        if (!isOn && !gap)
            return;
        const int l = sc.x(run.left()), r = sc.x(run.right() + 1.0);
        const int t = sc.y(run.top()), b = sc.y(run.bottom() + 1.0);
        int left = std::min(l, r), right = std::max(l, r);
        int top = std::min(t, b), bottom = std::max(t, b);
        right = std::max(right, left + 1);
        bottom = std::max(bottom, top + 1);
        target.setBrush(isOn ? on : off);
        target.fillRect(rectLTRB(left, top, right, bottom));
    };
    // The source pixels of [lo, hi] along one axis whose scaled place can
    // show in [from, to] of the target.
    const auto sourceSpan = [](double scale, int offset, int from, int to) {
        const double a = (double(from) - offset) / scale, b = (double(to) + 1 - offset) / scale;
        return std::pair<double, double>{std::min(a, b) - 1, std::max(a, b) + 1};
    };
    int phase = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPoint a = points[i];
        const QPoint b = points[i + 1];
        const qint64 dx = qint64(b.x()) - a.x();
        const qint64 dy = qint64(b.y()) - a.y();
        const qint64 n = std::max(std::abs(dx), std::abs(dy));
        if (n == 0)
            continue;
        if (dx != 0 && dy != 0) {
            // Slanting: a stroke as wide as the pen has grown (solid when
            // wider than a pixel, as every wide pen).
            FrPen wide = pen;
            wide.width = std::clamp(roundToPixel(std::max(std::abs(sc.sx), std::abs(sc.sy))), 1,
                                    kMaxFontPixels);
            target.setPen(wide);
            target.setBrush(off);
            target.setBackgroundMode(gap ? BackgroundMode::Opaque : BackgroundMode::Transparent);
            target.polyline({sc.point(a), sc.point(b)});
            advanceDashPhase(pen.style, phase, n);
            continue;
        }
        if (area && area->isEmpty()) {
            advanceDashPhase(pen.style, phase, n);
            continue;
        }
        // Only the part that can show is walked, the pattern keeping its place.
        const bool horizontal = dy == 0;
        const qint64 start = horizontal ? a.x() : a.y();
        const qint64 step = (horizontal ? dx : dy) > 0 ? 1 : -1;
        qint64 first = 0, last = n - 1;
        if (area) {
            const double scale = horizontal ? sc.sx : sc.sy;
            if (scale != 0) {
                const auto [lo, hi] =
                    horizontal ? sourceSpan(scale, sc.off.x(), area->left(), area->right())
                               : sourceSpan(scale, sc.off.y(), area->top(), area->bottom());
                const double f = step > 0 ? lo - double(start) : double(start) - hi;
                const double l = step > 0 ? hi - double(start) : double(start) - lo;
                first = qint64(std::clamp(std::floor(f), 0.0, double(n)));
                last = qint64(std::clamp(std::ceil(l), -1.0, double(n - 1)));
            }
        }
        if (first > last) {
            advanceDashPhase(pen.style, phase, n);
            continue;
        }
        advanceDashPhase(pen.style, phase, first);
        const QPoint from = horizontal ? QPoint(int(start + step * first), a.y())
                                       : QPoint(a.x(), int(start + step * first));
        const QPoint to = horizontal ? QPoint(int(start + step * (last + 1)), a.y())
                                     : QPoint(a.x(), int(start + step * (last + 1)));
        if (last - first + 1 > std::min(kMaxWalkedPixels, walkBudget)) {
            fillRun(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                          QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))),
                    true);
            advanceDashPhase(pen.style, phase, last - first + 1);
        } else {
            walkBudget -= last - first + 1;
            walkCosmeticLine(from, to, pen.style, phase, fillRun);
        }
        advanceDashPhase(pen.style, phase, n - 1 - last);
    }
}

QString colorText(TColor c)
{
    return QStringLiteral("0x") + QString::number(static_cast<quint32>(c), 16)
                                      .rightJustified(8, QLatin1Char('0'))
                                      .toUpper();
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

QString penText(const FrPen &p)
{
    static const char *const names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "clear"};
    const int s = static_cast<int>(p.style);
    const QString style = (s >= 0 && s <= 5) ? QString::fromLatin1(names[s]) : QString::number(s);
    return QStringLiteral("pen=%1/%2/%3").arg(colorText(p.color)).arg(p.width).arg(style);
}

quint32 imageHash(const QImage &image)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    quint32 h = 2166136261u;
    for (int y = 0; y < img.height(); ++y) {
        const uchar *line = img.constScanLine(y);
        for (int i = 0; i < img.width() * 4; ++i) {
            h ^= line[i];
            h *= 16777619u;
        }
    }
    return h;
}

QString brushText(const FrBrush &b)
{
    switch (b.style) {
    case BrushStyle::Clear:
        return QStringLiteral("brush=clear");
    case BrushStyle::Pattern:
        return QStringLiteral("brush=pattern:%1")
            .arg(imageHash(b.pattern), 8, 16, QLatin1Char('0'));
    default:
        return QStringLiteral("brush=") + colorText(b.color);
    }
}

QString quoted(const QString &s)
{
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

void DisplayList::replay(Canvas &target, double scaleX, double scaleY, QPoint offset) const
{
    const Scaler sc{scaleX, scaleY, offset};
    target.save();
    // Nothing else draws on the target while the list plays.
    struct Batch {
        Canvas &c;
        explicit Batch(Canvas &canvas) : c(canvas) { c.beginBatch(); }
        ~Batch() { c.endBatch(); }
    } batch(target);
    const bool baseOn = target.hasClip();
    const QRegion base = target.clipRegion();
    qint64 walkBudget = kMaxWalkedPixelsPerReplay;
    target.setTextCharacterExtra(0);
    target.setTextJustification(0, 0);

    const auto setGap = [&](std::optional<TColor> gap, const FrBrush &keep) {
        if (gap) {
            FrBrush b = keep;
            if (b.style != BrushStyle::Solid || b.color != *gap) {
                b.style = BrushStyle::Solid;
                b.color = *gap;
                b.pattern = QImage();
            }
            target.setBrush(b);
            target.setBackgroundMode(BackgroundMode::Opaque);
        } else {
            target.setBrush(keep);
            target.setBackgroundMode(BackgroundMode::Transparent);
        }
    };

    for (const DisplayItem &item : items) {
        if (const auto *fill = std::get_if<DlFill>(&item)) {
            target.setBrush(fill->brush);
            target.fillRect(sc.rect(fill->rect));
        } else if (const auto *rect = std::get_if<DlRectangle>(&item)) {
            if (thinPenGrows(sc, rect->pen)) {
                // The inside as a fill, the outline as the pen's own pixels.
                if (rect->brush.style != BrushStyle::Clear) {
                    target.setBrush(rect->brush);
                    target.fillRect(sc.rect(rect->rect));
                }
                const QRect &r = rect->rect;
                playThinPolyline(
                    target, sc,
                    {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(), r.topLeft()},
                    rect->pen, rect->gap, walkBudget);
                continue;
            }
            target.setPen(sc.pen(rect->pen));
            setGap(rect->gap, rect->brush);
            target.setBrush(rect->brush);
            target.rectangle(sc.rect(rect->rect));
        } else if (const auto *line = std::get_if<DlPolyline>(&item)) {
            if (thinPenGrows(sc, line->pen)) {
                playThinPolyline(target, sc, line->points, line->pen, line->gap, walkBudget);
                continue;
            }
            target.setPen(sc.pen(line->pen));
            FrBrush none;
            none.style = BrushStyle::Clear;
            setGap(line->gap, none);
            QList<QPoint> pts;
            pts.reserve(line->points.size());
            for (const QPoint &p : line->points)
                pts.append(sc.point(p));
            target.polyline(pts);
        } else if (const auto *text = std::get_if<DlText>(&item)) {
            const TextDraw &t = text->draw;
            target.setFont(sc.font(t.font));
            FrBrush none;
            none.style = BrushStyle::Clear;
            setGap(t.background, none);
            const QList<int> dx = sc.advances(t);
            std::optional<QRect> clip;
            if (t.clip)
                clip = sc.rect(*t.clip);
            target.extTextOut(sc.x(t.origin.x()), sc.y(t.origin.y()), clip, t.text, &dx);
        } else if (const auto *img = std::get_if<DlImage>(&item)) {
            target.drawImage(sc.rect(img->rect), img->image);
        } else if (const auto *meta = std::get_if<DlMetafile>(&item)) {
            target.drawMetafilePlaceholder(sc.rect(meta->rect));
        } else if (const auto *pic = std::get_if<DlPicture>(&item)) {
            target.drawPicture(sc.rect(pic->rect), pic->picture);
        } else if (const auto *clip = std::get_if<DlClip>(&item)) {
            if (clip->on) {
                const QRegion r = sc.region(clip->region);
                target.setClipRegion(baseOn ? base.intersected(r) : r);
            } else if (baseOn) {
                target.setClipRegion(base);
            } else {
                target.clearClip();
            }
        }
    }
    target.restore();
}

QList<TextRun> DisplayList::textRuns() const
{
    QList<TextRun> runs;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (const auto *text = std::get_if<DlText>(&items[i]))
            runs.append(TextRun{static_cast<int>(i), text->draw.text, text->bounds});
    return runs;
}

QString DisplayList::dump() const
{
    QString out;
    for (const DisplayItem &item : items) {
        if (const auto *fill = std::get_if<DlFill>(&item)) {
            out += QStringLiteral("fill %1 %2").arg(rectText(fill->rect), brushText(fill->brush));
        } else if (const auto *rect = std::get_if<DlRectangle>(&item)) {
            out += QStringLiteral("rectangle %1 %2 %3")
                       .arg(rectText(rect->rect), penText(rect->pen), brushText(rect->brush));
            if (rect->gap)
                out += QStringLiteral(" gap=") + colorText(*rect->gap);
        } else if (const auto *line = std::get_if<DlPolyline>(&item)) {
            out += QStringLiteral("polyline");
            for (const QPoint &p : line->points)
                out += QStringLiteral(" %1,%2").arg(p.x()).arg(p.y());
            out += QLatin1Char(' ') + penText(line->pen);
            if (line->gap)
                out += QStringLiteral(" gap=") + colorText(*line->gap);
        } else if (const auto *text = std::get_if<DlText>(&item)) {
            const TextDraw &t = text->draw;
            out += QStringLiteral("text %1,%2 %3 font=%4/%5/%6/%7/cs%8/esc%9")
                       .arg(t.origin.x())
                       .arg(t.origin.y())
                       .arg(quoted(t.text), quoted(t.font.name))
                       .arg(t.font.height)
                       .arg(t.font.style)
                       .arg(colorText(t.font.color))
                       .arg(t.font.charset)
                       .arg(t.font.escapement);
            QStringList dx;
            for (int a : t.dx)
                dx.append(QString::number(a));
            out += QStringLiteral(" dx=") + dx.join(QLatin1Char(','));
            if (t.clip)
                out += QStringLiteral(" clip=") + rectText(*t.clip);
            if (t.background)
                out += QStringLiteral(" bg=") + colorText(*t.background);
            out += QStringLiteral(" cells=") + rectText(text->bounds);
        } else if (const auto *img = std::get_if<DlImage>(&item)) {
            out += QStringLiteral("image %1 source=%2x%3 hash=%4")
                       .arg(rectText(img->rect))
                       .arg(img->image.width())
                       .arg(img->image.height())
                       .arg(imageHash(img->image), 8, 16, QLatin1Char('0'));
        } else if (const auto *meta = std::get_if<DlMetafile>(&item)) {
            out += QStringLiteral("metafile %1").arg(rectText(meta->rect));
        } else if (const auto *pic = std::get_if<DlPicture>(&item)) {
            out += QStringLiteral("picture %1").arg(rectText(pic->rect));
        } else if (const auto *clip = std::get_if<DlClip>(&item)) {
            if (!clip->on) {
                out += QStringLiteral("clip none");
            } else {
                out += QStringLiteral("clip");
                if (clip->region.isEmpty())
                    out += QStringLiteral(" empty");
                for (const QRect &r : clip->region)
                    out += QLatin1Char(' ') + rectText(r);
            }
        }
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace platform
