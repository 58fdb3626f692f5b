#include "platform/canvas/textmeasurer.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

int roundPixels(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// Visits each line of a text, lines ending at CR LF, CR or LF.
template <typename F> void forEachLine(QStringView text, F &&f)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            f(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    f(text.mid(start));
}

// A 96-pixels-per-inch device for the font engine.
const QImage &measuringDevice()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return device;
}

} // namespace

QFont TextMeasurer::qfont(const FrFont &font) const
{
    return makeQFont(font.name, metrics(font).emHeight, font.bold(), font.italic());
}

int TextMeasurer::advance(const FrFont &font, QChar c) const
{
    QList<int> out;
    const char16_t unit = c.unicode();
    advances(font, QStringView(&unit, 1), out);
    return out.isEmpty() ? 0 : out.front();
}

int TextMeasurer::width(const FrFont &font, QStringView text, int charExtra) const
{
    if (text.isEmpty())
        return 0;
    QList<int> out;
    out.reserve(text.size());
    advances(font, text, out);
    qint64 w = 0;
    for (int a : out)
        w += a;
    w += static_cast<qint64>(charExtra) * text.size();
    return static_cast<int>(std::clamp<qint64>(w, -kMaxCoordinate, kMaxCoordinate));
}

QSize TextMeasurer::calcRect(const FrFont &font, QStringView text, int charExtra) const
{
    int widest = 0;
    int lines = 0;
    forEachLine(text, [&](QStringView line) {
        ++lines;
        widest = std::max(widest, width(font, line, charExtra));
    });
    return QSize(widest, lines * metrics(font).height);
}

// ---------------------------------------------------------------------------

struct QtTextMeasurer::Face {
    QFont font;
    QFontMetricsF fm;
    FontMetrics metrics;
    std::array<int, 256> low;
    QHash<char16_t, int> high;

    explicit Face(const QFont &f) : font(f), fm(f, &measuringDevice())
    {
        low.fill(-1);
        metrics.ascent = roundPixels(fm.ascent());
        metrics.descent = roundPixels(fm.descent());
        metrics.height = metrics.ascent + metrics.descent;
        metrics.emHeight = f.pixelSize();
        metrics.underlinePos = std::max(1, roundPixels(fm.underlinePos()));
        metrics.strikeOutPos = roundPixels(fm.strikeOutPos());
        metrics.lineWidth = std::max(1, roundPixels(fm.lineWidth()));
    }

    int advanceOf(char16_t c)
    {
        if (c < 256) {
            int &a = low[c];
            if (a < 0)
                a = roundPixels(fm.horizontalAdvance(QChar(c)));
            return a;
        }
        auto it = high.find(c);
        if (it == high.end())
            it = high.insert(c, roundPixels(fm.horizontalAdvance(QChar(c))));
        return *it;
    }
};

QtTextMeasurer::QtTextMeasurer() = default;
QtTextMeasurer::~QtTextMeasurer() = default;

int QtTextMeasurer::emPixels(const FrFont &font) const
{
    if (font.height < 0)
        return font.height < -kMaxFontPixels ? kMaxFontPixels : -font.height;
    if (font.height == 0)
        return 13;
    // A positive height is the cell height: find the character height that
    // gives that cell, from the face's cell-to-character ratio.
    const QString key = font.name + QLatin1Char('|') + QString::number(font.style & 3);
    auto it = cellRatios_.find(key);
    if (it == cellRatios_.end()) {
        const QFont ref = makeQFont(font.name, 1000, font.bold(), font.italic());
        const QFontMetricsF fm(ref, &measuringDevice());
        const double cell = fm.ascent() + fm.descent();
        it = cellRatios_.insert(key, cell > 0 ? cell / 1000.0 : 1.0);
    }
    return std::clamp(roundPixels(std::min(font.height, 2 * kMaxFontPixels) / *it), 1,
                      kMaxFontPixels);
}

QFont QtTextMeasurer::qfont(const FrFont &font) const
{
    return face(font).font;
}

QtTextMeasurer::Face &QtTextMeasurer::face(const FrFont &font) const
{
    if (lastFace_ && font.height == lastHeight_ && (font.style & 3) == lastStyle_ &&
        font.name == lastName_)
        return *lastFace_;
    const int em = emPixels(font);
    const QString key = font.name + QLatin1Char('|') + QString::number(em) + QLatin1Char('|') +
                        QString::number(font.style & 3);
    auto it = faces_.find(key);
    if (it == faces_.end())
        it = faces_.insert(
            key, std::make_shared<Face>(makeQFont(font.name, em, font.bold(), font.italic())));
    lastFace_ = it->get();
    lastName_ = font.name;
    lastHeight_ = font.height;
    lastStyle_ = font.style & 3;
    return **it;
}

FontMetrics QtTextMeasurer::metrics(const FrFont &font) const
{
    return face(font).metrics;
}

void QtTextMeasurer::advances(const FrFont &font, QStringView text, QList<int> &out) const
{
    Face &f = face(font);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out.append(roundPixels(f.fm.horizontalAdvance(text.mid(i, 2).toString())));
            out.append(0);
            ++i;
            continue;
        }
        out.append(f.advanceOf(c.unicode()));
    }
}

// ---------------------------------------------------------------------------

FixedAdvanceMeasurer::FixedAdvanceMeasurer(int charAdvance, int blankAdvance)
    : charAdvance_(charAdvance), blankAdvance_(blankAdvance)
{
}

FontMetrics FixedAdvanceMeasurer::metrics(const FrFont &font) const
{
    FontMetrics m;
    const int em =
        std::clamp(font.height < 0 ? (font.height < -kMaxFontPixels ? kMaxFontPixels : -font.height)
                                   : font.height,
                   1, kMaxFontPixels);
    m.emHeight = em;
    m.descent = em / 4;
    m.ascent = em - m.descent;
    m.height = em;
    m.underlinePos = 1;
    m.strikeOutPos = m.ascent / 3;
    m.lineWidth = 1;
    return m;
}

void FixedAdvanceMeasurer::advances(const FrFont &, QStringView text, QList<int> &out) const
{
    for (QChar c : text) {
        const auto it = special_.constFind(c.unicode());
        if (it != special_.constEnd())
            out.append(*it);
        else
            out.append(c == u' ' ? blankAdvance_ : charAdvance_);
    }
}

} // namespace platform
