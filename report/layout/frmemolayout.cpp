#include "report/layout/frmemolayout.h"

#include "platform/canvas/canvas.h"
#include "platform/format/format.h"
#include "platform/text/codec.h"
#include "report/build/frbuild.h"
#include "report/core/frutils.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frview.h"

#include <cmath>
#include <memory>
#include <optional>

namespace report
{

namespace
{

bool isBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString stripMarks(const QString &line, bool &hadMark)
{
    hadMark = line.contains(kFrParagraphMark);
    if (!hadMark)
        return line;
    QString s = line;
    s.remove(kFrParagraphMark);
    return s;
}

int clampInt(qint64 v)
{
    return int(std::clamp<qint64>(v, -platform::kMaxCoordinate, platform::kMaxCoordinate));
}

// Taller than any paper at any printer resolution (A0 at 1200 dpi is 56,000
// pixels): underlines further down a page are not drawn.
constexpr qint64 kSanePageHeight = 1 << 16;
// A page holds far fewer lines of text than this, even at 1200 dpi in the
// smallest font: more underlines come from a damaged file.
constexpr qint64 kMaxUnderlines = 10000;

} // namespace

namespace
{

// Breaks of a word of wordLength characters of which only the first
// w.size() are given (the later ones cannot matter to the caller).
QList<int> syllableBreaks(const QString &word, int wordLength)
{
    QList<int> breaks;
    const QString w = frUpperCase(word);
    const int n = int(w.size());
    if (wordLength <= 4)
        return breaks;
    auto code = [&w](int pos) { return platform::ansiByte(w.at(pos - 1)); };
    auto vowel = [](int b) {
        switch (b) {
        case 0xA8:
        case 0xC0:
        case 0xC5:
        case 0xC8:
        case 0xCE:
        case 0xD3:
        case 0xDB:
        case 0xDD:
        case 0xDE:
        case 0xDF:
            return true;
        default:
            return false;
        }
    };
    auto sign = [](int b) { return b == 0xDA || b == 0xDC; };
    for (int p = 2; p <= n - 2; ++p) {
        const int a = code(p), b = code(p + 1), c = code(p + 2);
        if ((vowel(a) && vowel(b)) || (vowel(a) && !vowel(b) && vowel(c)) ||
            (!vowel(a) && !vowel(b) && !sign(b) && vowel(c)))
            breaks.append(p);
    }
    return breaks;
}

} // namespace

void FrLayoutPace::flush()
{
    fr().pace.addText(m_pending);
    m_pending %= FrPace::kTextChars;
    if (fr().pace.due()) {
        frBuildYield();
        m_yielded = true;
    }
}

namespace
{

// Steps of one wrapped line, held in a register between two output lines
// and told once a line is out (telling may yield to the message pump, which
// a destructor must not do).
class LineSteps
{
public:
    explicit LineSteps(FrLayoutPace *pace) : m_pace(pace) {}
    void add(qint64 steps) { m_steps += steps; }
    void tell()
    {
        platform::detail::countTextSteps(m_steps);
        if (m_pace)
            m_pace->count(m_steps);
        m_steps = 0;
    }

private:
    FrLayoutPace *m_pace;
    qint64 m_steps = 0;
};

} // namespace

QList<int> frSyllableBreaks(const QString &word)
{
    return syllableBreaks(word, int(word.size()));
}

void frWrapLine(const QString &s, int maxWidth, const FrWrapSettings &settings, QStringList &out)
{
    const int n = int(s.size());
    // prefix[k]: width of the first k characters. Every entry is written
    // below: clearing the room first would cost as much as the sums.
    const auto prefix = std::make_unique_for_overwrite<qint64[]>(size_t(n) + 1);
    prefix[0] = 0;
    const int measured = int(std::min<qsizetype>(n, settings.advances.size()));
    const int *advance = settings.advances.constData();
    for (int k = 0; k < measured; ++k)
        prefix[size_t(k) + 1] = prefix[size_t(k)] + advance[k];
    for (int k = measured; k < n; ++k)
        prefix[size_t(k) + 1] = prefix[size_t(k)];
    auto width = [&prefix](int a, int b) -> qint64 { // s[a..b], 1-based
        return b < a ? 0 : prefix[size_t(b)] - prefix[size_t(a) - 1];
    };
    auto at = [&s](int i) { return s.at(i - 1); };
    auto mid = [&s](int a, int b) { return b < a ? QString() : s.mid(a - 1, b - a + 1); };
    const QString mark(kFrParagraphMark);

    bool hasBreak = false;
    for (QChar c : s)
        if (isBreak(c)) {
            hasBreak = true;
            break;
        }
    if (!hasBreak && (n <= 1 || width(1, n) <= maxWidth)) {
        out.append(s + mark);
        return;
    }
    // The characters stepped over are counted here, in a local, and told to
    // the step counter and to the build's pace once a line is out: a count
    // kept in memory for every character would cost as much as the step.
    LineSteps steps(settings.pace);
    steps.add(n);
    // The end of the word at i: i only moves on, so a word is read to its
    // end once, not once for each line it is broken over.
    int wordEnd = 0;
    int start = 1, cut = 1, stuck = 0, i = 1;
    while (i <= n) {
        steps.add(1);
        const QChar ch = at(i);
        if (isBreak(ch)) {
            out.append(mid(start, i - 1) + mark);
            steps.tell();
            while (i < n && isBreak(at(i)))
                ++i;
            start = cut = i;
            if (isBreak(at(i)))
                return;
            continue;
        }
        if (ch == QLatin1Char(' ')) {
            cut = i;
            ++i;
            continue;
        }
        if (width(start, i) <= maxWidth) {
            ++i;
            continue;
        }
        bool hyphenated = false;
        if (settings.wordBreak) {
            if (wordEnd < i) {
                int e = i;
                while (e <= n) {
                    const QChar c = at(e);
                    if (c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('-') ||
                        c == QLatin1Char('.'))
                        break;
                    ++e;
                }
                steps.add(e - i);
                wordEnd = e;
            }
            const int e = wordEnd;
            // A break at or after i cannot fit: the word is looked at only up
            // to two letters past i, which keeps long words linear.
            const QList<int> breaks =
                syllableBreaks(mid(cut + 1, std::min(e - 1, i + 2)), e - 1 - cut);
            int best = 0;
            for (int b : breaks) {
                if (width(start, cut + b) + settings.hyphenAdvance > maxWidth)
                    break;
                best = cut + b;
            }
            if (best > 0 && best >= start) {
                cut = best;
                hyphenated = true;
            }
        }
        bool single = false;
        if (!hyphenated && !(cut >= start && at(cut) == QLatin1Char(' '))) {
            // No blank since the line start: the line ends before the
            // character that overflows, unless that character stands alone.
            if (i > start)
                cut = i - 1;
            else {
                cut = i;
                single = true;
            }
        }
        if (hyphenated)
            out.append(mid(start, cut) + QLatin1Char('-'));
        else if (at(cut) == QLatin1Char(' '))
            out.append(mid(start, cut - 1));
        else
            out.append(mid(start, cut));
        steps.tell();
        if (settings.wordBreak && !hyphenated && cut == i) {
            if (i == stuck) {
                if (i + 1 <= n)
                    out.append(mid(i + 1, n) + mark);
                return;
            }
            stuck = i;
        }
        start = cut + 1;
        cut = start;
        if (single || start > i)
            ++i;
    }
    if (start <= n)
        out.append(mid(start, n) + mark);
    else if (!out.isEmpty())
        out.last() += mark; // the paragraph ended on a character standing alone
    steps.tell();
}

namespace
{

// The advances of a line, a piece at a time when it is long so that the
// build's pace sees the work between two pieces (a character and its
// surrogate stay together).
void measureAdvances(const platform::TextMeasurer &meas, const platform::FrFont &font,
                     const QString &line, QList<int> &out, FrLayoutPace *pace)
{
    constexpr qsizetype kPiece = 16384;
    if (!pace || line.size() <= kPiece) {
        meas.advances(font, line, out);
        return;
    }
    out.reserve(line.size());
    for (qsizetype from = 0; from < line.size();) {
        qsizetype to = std::min(line.size(), from + kPiece);
        if (to < line.size() && line.at(to - 1).isHighSurrogate())
            ++to;
        meas.advances(font, QStringView(line).mid(from, to - from), out);
        pace->count(to - from);
        from = to;
    }
}

} // namespace

void frFormatMemoLines(TfrMemoView &m)
{
    FrObjectGlobals &g = frObjects();
    platform::Canvas &c = g.measuringCanvas();
    const platform::FrFont font = m.Font.canvasFont(1.0);
    c.setFont(font);
    c.setTextCharacterExtra(m.CharSpacing);
    g.frOutputLines.clear();
    const bool vertical = (m.Alignment & frtaVertical) != 0;
    const int fontPx = std::abs(font.height);
    const int lineHeight = std::max(1, clampInt(qint64(fontPx) + m.LineSpacing));
    m.LineHeight = lineHeight;
    const qint64 maxWidth =
        vertical ? qint64(m.dy) - 2 * qint64(m.GapY) : qint64(m.dx) - 2 * qint64(m.GapX);
    const int w = clampInt(maxWidth);
    if (vertical)
        c.setFont(platform::frRotatedFont(font));
    // Built apart from the globals, which a yield of the build may use to lay
    // out another memo meanwhile, but in the list taken from them: its room,
    // kept from the last memo, serves again.
    QStringList out = std::move(g.frOutputLines);
    std::optional<FrLayoutPace> pace;
    if (g.frBuilding)
        pace.emplace();
    const platform::TextMeasurer &meas = c.measurer();
    const int extra = c.textCharacterExtra();
    auto lineWidth = [&](const QString &s) { return meas.width(font, s, extra); };

    if (!vertical && g.frDocMode == 0 && m.Memo1.size() == 1 && !m.Memo1.first().isEmpty() &&
        m.Memo1.first().startsWith(QLatin1Char('[')) && lineWidth(m.Memo1.first()) > w) {
        out.append(m.Memo1.first());
    } else {
        FrWrapSettings settings;
        settings.wordBreak = (m.Flags & flWordBreak) != 0;
        // Measured only where a word may be broken: a memo drawn from its
        // prepared lines has no use for it.
        if (settings.wordBreak && (m.Flags & flWordWrap) && !m.TextFormatted)
            settings.hyphenAdvance = meas.advance(font, QLatin1Char('-')) + extra;
        settings.pace = pace ? &*pace : nullptr;
        for (const QString &line : std::as_const(m.Memo1)) {
            if (pace)
                pace->count(line.size());
            if (m.TextFormatted)
                out.append(line);
            else if (m.Flags & flWordWrap) {
                settings.advances.clear();
                measureAdvances(meas, font, line, settings.advances, settings.pace);
                if (extra != 0)
                    for (int &a : settings.advances)
                        a += extra;
                frWrapLine(line, w, settings, out);
            } else
                out.append(vertical ? line : line + kFrParagraphMark);
        }
    }
    if (pace && pace->yielded()) {
        c.setFont(vertical ? platform::frRotatedFont(font) : font);
        c.setTextCharacterExtra(m.CharSpacing);
    }
    const int gap = vertical ? m.GapX : m.GapY;
    g.frTextHeight = clampInt(qint64(out.size()) * lineHeight + 2 * qint64(gap));
    g.frOutputLines.swap(out);
}

void frDrawMemoUnderlines(TfrMemoView &m)
{
    platform::Canvas &c = *m.Canvas;
    const int fontPx = std::abs(m.Font.canvasFont(m.ScaleY).height);
    const int h = std::max(1, fontPx + platform::roundToPixel(m.LineSpacing * m.ScaleY));
    const int offset = fontPx + platform::roundToPixel(2 * m.ScaleY);
    c.setPen(platform::FrPen{m.FrameColor, platform::roundToPixel(m.DrawnFrameWidth()),
                             platform::PenStyle::Solid});
    const int count = m.dy / h;
    if (count < 1)
        return;
    // Only the rules that can show are drawn: within the device, its clip and
    // a page of sane height, and never more than a page can hold. A damaged
    // height on a page declared kilometres high would otherwise record
    // millions of them.
    const qint64 base = qint64(m.y) + m.GapY + offset;
    qint64 top = base, bottom = base + qint64(count - 1) * h;
    if (const QRect area = c.bounds(); !area.isEmpty()) {
        top = std::max<qint64>(top, area.top());
        bottom = std::min<qint64>(bottom, area.bottom());
    }
    if (c.hasClip()) {
        const QRect clip = c.clipRegion().boundingRect();
        top = std::max<qint64>(top, clip.top());
        bottom = std::min<qint64>(bottom, clip.bottom());
    }
    bottom = std::min(bottom, top + kSanePageHeight);
    if (bottom < top)
        return;
    const qint64 first = std::max<qint64>(1, (top - base) / h);
    const qint64 last =
        std::min<qint64>({count, (bottom - base) / h + 2, first + kMaxUnderlines - 1});
    for (qint64 k = first; k <= last; ++k) {
        const int ly = clampInt(base + (k - 1) * h);
        c.moveTo(m.x, ly);
        c.lineTo(m.x + m.dx - 1, ly);
    }
}

void frShowMemoLines(TfrMemoView &m)
{
    FrObjectGlobals &g = frObjects();
    platform::Canvas &c = *m.Canvas;
    const QRect r = m.DRect;
    const int L = r.left(), T = r.top(), R = r.left() + r.width(), B = r.top() + r.height();
    const int rectW = r.width(), rectH = r.height();
    const platform::FrFont font = m.Font.canvasFont(m.ScaleY);
    c.setFont(font);
    c.setBackgroundMode(platform::BackgroundMode::Transparent);
    c.setTextCharacterExtra(platform::roundToPixel(m.CharSpacing * m.ScaleX));
    const QRect clip = platform::rectLTRB(L + 1, T, std::max(L + 1, R - 2), std::max(T, B - 1));
    const int clipBottom = B - 1;
    g.frTextHeight = platform::roundToPixel(g.frTextHeight * m.ScaleY);
    const int th = g.frTextHeight;

    FrRestore<qint32> keepX(m.x), keepY(m.y), keepAlign(m.Alignment);
    const bool vertical = (m.Alignment & frtaVertical) != 0;
    if (!vertical) {
        if (!m.WholeLinesOnly) {
            if (m.Alignment & frtaMiddle)
                m.y = m.y + (rectH - th) / 2;
            else if (m.Alignment & frtaDown)
                m.y = B - th - 1;
        }
    } else {
        if (m.Alignment & frtaMiddle)
            m.x = m.x + (rectW - th) / 2;
        else if (m.Alignment & frtaDown)
            m.x = R - th;
    }
    m.Alignment &= 7;
    const int low = m.Alignment & 3;
    const int fontPx = std::abs(font.height);
    const QStringList lines = m.Memo1;
    const int count = int(lines.size());
    m.CurrentLine = 0;

    if (!vertical) {
        int cy = m.y + m.GapY;
        const int step = std::max(1, fontPx + platform::roundToPixel(m.LineSpacing * m.ScaleY));
        const bool designBracket = g.frDocMode == 0 && count == 1 &&
                                   lines.first().startsWith(QLatin1Char('[')) &&
                                   c.textWidth(lines.first()) > qint64(rectW) - 2 * qint64(m.GapX);
        for (int k = 0; k < count; ++k) {
            if (m.WholeLinesOnly && qint64(cy) + step > clipBottom)
                break;
            bool hadMark = false;
            const QString line = stripMarks(lines.at(k), hadMark);
            const bool paraEnd = hadMark || line.isEmpty();
            // Widths of damaged texts can be huge either way: sums in 64 bits.
            const qint64 tw = c.textWidth(line);
            const qint64 free = qint64(rectW) - 2 * qint64(m.GapX) - tw;
            int px = clampInt(qint64(m.x) + m.GapX);
            int align = designBracket ? frtaRight : low;
            bool justified = false;
            if (align == frtaRight)
                px = clampInt(qint64(m.x) + rectW - 1 - m.GapX - tw);
            else if (align == frtaCenter)
                px = clampInt(qint64(m.x) + m.GapX + free / 2);
            else if (align == frtaJustify && !paraEnd) {
                const int blanks = int(line.count(QLatin1Char(' ')));
                if (blanks > 0) {
                    c.setTextJustification(clampInt(free), blanks);
                    justified = true;
                }
            }
            if (!m.Exporting)
                c.textRect(clip, px, cy, line);
            else if (g.exportText) {
                quint16 edges = m.FrameTyp;
                if (count > 1) {
                    if (k == 0)
                        edges &= ~quint16(frftBottom);
                    else if (k == count - 1)
                        edges &= ~quint16(frftTop);
                    else
                        edges &= ~quint16(frftBottom | frftTop);
                }
                g.exportText(r, px, &m, edges, line, cy);
            }
            if (justified)
                c.setTextJustification(0, 0);
            ++m.CurrentLine;
            cy = clampInt(qint64(cy) + step);
        }
        return;
    }

    c.save();
    c.setFont(platform::frRotatedFont(font));
    int cx = m.x + m.GapX;
    const int step = std::max(1, fontPx + platform::roundToPixel(m.LineSpacing * m.ScaleX));
    for (int k = 0; k < count; ++k) {
        bool hadMark = false;
        const QString line = stripMarks(lines.at(k), hadMark);
        const bool paraEnd = hadMark || line.isEmpty();
        const qint64 tw = c.textWidth(line);
        const qint64 free = qint64(rectH) - 2 * qint64(m.GapY) - tw;
        int py = B - m.GapY;
        bool justified = false;
        if (low == frtaRight)
            py = clampInt(qint64(m.y) + m.GapY + tw);
        else if (low == frtaCenter)
            py = clampInt(qint64(B) - 1 - m.GapY - free / 2);
        else if (low == frtaJustify) {
            py = clampInt(qint64(rectH) + m.y - m.GapY);
            const int blanks = int(line.count(QLatin1Char(' ')));
            if (!paraEnd && blanks > 0) {
                c.setTextJustification(clampInt(free), blanks);
                justified = true;
            }
        }
        if (!m.Exporting)
            c.textRect(clip, cx, py, line);
        else if (g.exportText)
            g.exportText(r, py, &m, 0, line, cx);
        if (justified)
            c.setTextJustification(0, 0);
        ++m.CurrentLine;
        cx = clampInt(qint64(cx) + step);
    }
    c.restore();
}

void frDrawMemo(TfrMemoView &m, platform::Canvas &canvas)
{
    FrObjectGlobals &g = frObjects();
    m.Canvas = &canvas;
    const bool printing = g.frDocMode == 1;
    if ((m.Flags & flAutoWidth) && !m.Memo.isEmpty() && printing) {
        const int w = frClampGeometry(frMemoTextWidth(m, m.Memo));
        if (m.Alignment & frtaVertical)
            m.dy = w;
        else if (m.Alignment & 1) {
            m.x = frClampGeometry(qint64(m.x) + m.dx - w);
            m.dx = w;
        } else
            m.dx = w;
    }
    m.PrepareCanvas(canvas);
    m.WholeLinesOnly = false;
    m.Memo1 = m.Memo;
    if (!m.Memo1.isEmpty()) {
        m.TextFormatted = false;
        for (const QString &l : std::as_const(m.Memo1))
            if (l.contains(kFrParagraphMark)) {
                m.TextFormatted = true;
                break;
            }
        if (m.Memo1.last() == QString(kFrParagraphMark))
            m.Memo1.removeLast();
        FrRestore<double> sx(m.ScaleX, 1.0), sy(m.ScaleY, 1.0);
        FrRestore<qint32> keepDx(m.dx);
        if ((m.Flags & flAutoWidth) && printing)
            m.dx = frClampGeometry(qint64(m.dx) + 100);
        frFormatMemoLines(m);
        m.Memo1 = g.frOutputLines;
    }
    FrGeometryScope geometry(m);
    if (!m.Exporting) {
        m.DrawBackground();
        m.DrawFrame();
        if (m.Flags & flUnderlines)
            frDrawMemoUnderlines(m);
    }
    if (!m.Memo1.isEmpty())
        frShowMemoLines(m);
    canvas.setTextCharacterExtra(0);
}

int frMemoTextWidth(TfrMemoView &m, const QStringList &lines)
{
    QString text;
    for (const QString &l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    text.remove(kFrParagraphMark);
    if (text.size() > 2 && text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    platform::Canvas &c = frObjects().measuringCanvas();
    c.setFont(m.Font.canvasFont(m.ScaleY));
    c.setTextCharacterExtra(platform::roundToPixel(m.CharSpacing * m.ScaleX));
    const QSize box = c.calcRect(text);
    const double sx = m.ScaleX == 0 ? 1.0 : m.ScaleX;
    return platform::roundToPixel(box.width() / sx + m.FrameWidth + 2.0 * m.GapX + 1);
}

} // namespace report
