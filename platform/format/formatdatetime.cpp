#include "platform/format/format.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace platform
{

namespace
{

struct Parts {
    int year, month, day, hour, minute, second, msec, dayOfWeek;
    TDateTime value;
};

// Appends v (a part of a date, never negative) with zeros up to width: in
// place, as a long pattern of short letters writes one number per letter.
void appendNumber(QString &out, int v, int width)
{
    char digits[12];
    int n = 0;
    unsigned u = unsigned(std::max(v, 0));
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u && n < 12);
    for (int k = n; k < width; ++k)
        out += QLatin1Char('0');
    while (n > 0)
        out += QLatin1Char(digits[--n]);
}

class Formatter
{
public:
    Formatter(const Parts &p, qsizetype maxLength) : m_p(p), m_max(maxLength) {}
    bool over() const { return m_over; }

    void run(const QString &f, int depth)
    {
        // A pattern inside a pattern (ddddd, c, t...) never recurses further
        // than the settings can nest.
        if (depth > 3)
            return;
        // A pattern of the settings gives the same text each time for one
        // value: a long pattern repeating "c" formats it once.
        if (depth > 0) {
            for (const Nested &n : m_nested)
                if (n.lastBefore == m_last && n.pattern == f) {
                    m_out += n.text;
                    m_last = n.lastAfter;
                    return;
                }
            const qsizetype from = m_out.size();
            const QChar lastBefore = m_last;
            runPattern(f, depth);
            if (!m_over && m_nested.size() < 8)
                m_nested.push_back({f, lastBefore, m_last, m_out.mid(from)});
            return;
        }
        runPattern(f, depth);
    }

    void runPattern(const QString &f, int depth)
    {
        const bool twelve = usesTwelveHourClock(f);
        qsizetype i = 0;
        while (i < f.size()) {
            // A long pattern stops as soon as its text passes the length asked.
            if (m_out.size() > m_max) {
                m_over = true;
                return;
            }
            detail::countTextSteps(1);
            const QChar c = f[i];
            const QChar u = c.toUpper();
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const qsizetype end = f.indexOf(c, i + 1);
                detail::countTextSteps((end < 0 ? f.size() : end) - i);
                m_out += f.mid(i + 1, end < 0 ? -1 : end - i - 1);
                i = end < 0 ? f.size() : end + 1;
                continue;
            }
            if (u == QLatin1Char('A')) {
                if (ampm(f, i))
                    continue;
                m_out += c;
                ++i;
                continue;
            }
            const Rule *rule = find(u);
            if (!rule) {
                // Plain text is copied as one piece, up to the next character
                // that may mean something.
                qsizetype j = i + 1;
                while (j < f.size() && isPlainText(f[j]))
                    ++j;
                if (j > i + 1 && isPlainText(c)) {
                    detail::countTextSteps(j - i - 1);
                    m_out.append(f.constData() + i, j - i);
                    i = j;
                    continue;
                }
                if (c == QLatin1Char('/'))
                    m_out += FormatSettings().DateSeparator;
                else if (c == QLatin1Char(':'))
                    m_out += FormatSettings().TimeSeparator;
                else
                    m_out += c;
                ++i;
                continue;
            }
            // Measured only for a pattern letter, whose run is then passed
            // over whole: every other character advances by one, and a run of
            // them measured at each of its places would cost its square.
            const qsizetype count = runLength(f, i);
            rule->apply(*this, static_cast<int>(std::min<qsizetype>(count, INT_MAX)), twelve,
                        depth);
            m_last = u;
            i += count;
        }
    }

    QString result() const { return m_out; }

private:
    struct Rule {
        char letter;
        std::function<void(Formatter &, int count, bool twelve, int depth)> apply;
    };

    // One entry per pattern letter: new letters are new rows.
    static const std::array<Rule, 9> &rules()
    {
        static const std::array<Rule, 9> table = {{
            {'Y',
             [](Formatter &f, int n, bool, int) {
                 appendNumber(f.m_out, n <= 2 ? f.m_p.year % 100 : f.m_p.year, n <= 2 ? 2 : 4);
             }},
            {'M',
             [](Formatter &f, int n, bool, int) {
                 const TFormatSettings &s = FormatSettings();
                 if (n <= 2 && f.m_last == QLatin1Char('H'))
                     appendNumber(f.m_out, f.m_p.minute, n);
                 else if (n <= 2)
                     appendNumber(f.m_out, f.m_p.month, n);
                 else if (n == 3)
                     f.m_out += s.ShortMonthNames.value(f.m_p.month - 1);
                 else
                     f.m_out += s.LongMonthNames.value(f.m_p.month - 1);
             }},
            {'D',
             [](Formatter &f, int n, bool, int depth) {
                 const TFormatSettings &s = FormatSettings();
                 switch (n) {
                 case 1:
                 case 2:
                     appendNumber(f.m_out, f.m_p.day, n);
                     break;
                 case 3:
                     f.m_out += s.ShortDayNames.value(f.m_p.dayOfWeek - 1);
                     break;
                 case 4:
                     f.m_out += s.LongDayNames.value(f.m_p.dayOfWeek - 1);
                     break;
                 case 5:
                     f.run(s.ShortDateFormat, depth + 1);
                     break;
                 default:
                     f.run(s.LongDateFormat, depth + 1);
                 }
             }},
            {'H',
             [](Formatter &f, int n, bool twelve, int) {
                 int h = f.m_p.hour;
                 if (twelve) {
                     h %= 12;
                     if (h == 0)
                         h = 12;
                 }
                 appendNumber(f.m_out, h, std::min(n, 2));
             }},
            {'N', [](Formatter &f, int n, bool,
                     int) { appendNumber(f.m_out, f.m_p.minute, std::min(n, 2)); }},
            {'S', [](Formatter &f, int n, bool,
                     int) { appendNumber(f.m_out, f.m_p.second, std::min(n, 2)); }},
            {'Z', [](Formatter &f, int n, bool,
                     int) { appendNumber(f.m_out, f.m_p.msec, n >= 3 ? 3 : 1); }},
            {'T',
             [](Formatter &f, int n, bool, int depth) {
                 const TFormatSettings &s = FormatSettings();
                 f.run(n == 1 ? s.ShortTimeFormat : s.LongTimeFormat, depth + 1);
             }},
            {'C',
             [](Formatter &f, int, bool, int depth) {
                 // The time is left out at midnight.
                 const TFormatSettings &s = FormatSettings();
                 f.run(s.ShortDateFormat, depth + 1);
                 if (f.m_p.hour || f.m_p.minute || f.m_p.second || f.m_p.msec) {
                     f.m_out += QLatin1Char(' ');
                     f.run(s.LongTimeFormat, depth + 1);
                 }
             }},
        }};
        return table;
    }

    // A character that stands for itself whatever surrounds it: not a
    // pattern letter (in either case), a quote or a separator. Characters
    // beyond ASCII take the long way (some have an ASCII letter as capital).
    static bool isPlainText(QChar c)
    {
        static const std::array<bool, 128> plain = [] {
            std::array<bool, 128> t{};
            for (int k = 32; k < 127; ++k) {
                const char up = char(k >= 'a' && k <= 'z' ? k - 32 : k);
                t[size_t(k)] = !std::strchr("YMDHNSZTCA\"'/:", up);
            }
            return t;
        }();
        return c.unicode() < 128 && plain[c.unicode()];
    }

    static const Rule *find(QChar upper)
    {
        for (const Rule &r : rules())
            if (upper == QLatin1Char(r.letter))
                return &r;
        return nullptr;
    }

    static qsizetype runLength(const QString &f, qsizetype i)
    {
        const QChar u = f[i].toUpper();
        qsizetype j = i + 1;
        // "c" and the quoted and separator characters never repeat as one.
        if (u == QLatin1Char('C'))
            return 1;
        while (j < f.size() && f[j].toUpper() == u)
            ++j;
        detail::countTextSteps(j - i);
        return j - i;
    }

    static bool startsWithCi(const QString &f, qsizetype i, const char *what)
    {
        return QStringView(f).mid(i).startsWith(QLatin1String(what), Qt::CaseInsensitive);
    }

    static bool usesTwelveHourClock(const QString &f)
    {
        // Quoted text does not count.
        detail::countTextSteps(f.size());
        QChar quote;
        for (qsizetype i = 0; i < f.size(); ++i) {
            if (!quote.isNull()) {
                if (f[i] == quote)
                    quote = QChar();
            } else if (f[i] == QLatin1Char('"') || f[i] == QLatin1Char('\'')) {
                quote = f[i];
            } else if ((f[i] == QLatin1Char('a') || f[i] == QLatin1Char('A')) &&
                       (startsWithCi(f, i, "am/pm") || startsWithCi(f, i, "a/p") ||
                        startsWithCi(f, i, "ampm"))) {
                return true;
            }
        }
        return false;
    }

    // "am/pm" and "a/p" keep the case written; "ampm" gives the settings' texts.
    bool ampm(const QString &f, qsizetype &i)
    {
        const bool pm = m_p.hour >= 12;
        if (startsWithCi(f, i, "am/pm")) {
            m_out += pm ? f.mid(i + 3, 2) : f.mid(i, 2);
            i += 5;
            return true;
        }
        if (startsWithCi(f, i, "a/p")) {
            m_out += pm ? f[i + 2] : f[i];
            i += 3;
            return true;
        }
        if (startsWithCi(f, i, "ampm")) {
            m_out += pm ? FormatSettings().TimePMString : FormatSettings().TimeAMString;
            i += 4;
            return true;
        }
        return false;
    }

    struct Nested {
        QString pattern;
        QChar lastBefore, lastAfter;
        QString text;
    };
    std::vector<Nested> m_nested;
    Parts m_p;
    qsizetype m_max;
    bool m_over = false;
    QString m_out;
    QChar m_last;
};

} // namespace

std::optional<QString> FormatDateTimeWithin(const QString &format, TDateTime value,
                                            qsizetype maxLength)
{
    const QDate d = dateOf(value);
    const QTime t = timeOf(value);
    if (!d.isValid() || !t.isValid())
        return QString();
    Parts p{d.year(),   d.month(),  d.day(),  t.hour(),
            t.minute(), t.second(), t.msec(), d.dayOfWeek() % 7 + 1,
            value};
    Formatter f(p, maxLength);
    // An empty pattern means the date and time as "c" gives them.
    f.run(format.isEmpty() ? QStringLiteral("c") : format, 0);
    if (f.over() || f.result().size() > maxLength)
        return std::nullopt;
    return f.result();
}

QString FormatDateTime(const QString &format, TDateTime value)
{
    return *FormatDateTimeWithin(format, value, std::numeric_limits<qsizetype>::max());
}

QString DateToStr(TDateTime value)
{
    return FormatDateTime(QStringLiteral("ddddd"), value);
}

QString TimeToStr(TDateTime value)
{
    return FormatDateTime(QStringLiteral("tt"), value);
}

QString DateTimeToStr(TDateTime value)
{
    return FormatDateTime(QStringLiteral("c"), value);
}

} // namespace platform
