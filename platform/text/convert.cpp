#include "platform/text/convert.h"

#include "platform/clock/clock.h"
#include "platform/text/decimal.h"
#include "platform/text/exceptions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace platform
{

namespace
{

const QDate &origin()
{
    static const QDate d(1899, 12, 30);
    return d;
}

constexpr qint64 kMsecsPerDay = 86400000;
// 1 January 0001 and 31 December 9999, the range the platform accepted.
constexpr qint64 kMinDay = -693593;
constexpr qint64 kMaxDay = 2958465;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Leading and trailing blanks are accepted: a value typed with a stray blank
// is still the number the user meant. Optional sign, decimal digits or "$"
// followed by hexadecimal digits. Hexadecimal may fill the whole width of
// the type (two's complement), as the platform allowed.
bool parseInteger(const QString &text, qint64 min, qint64 max, quint64 hexMax, qint64 &out)
{
    qsizetype i = 0, n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    while (n > i && isBlank(text[n - 1]))
        --n;
    if (i >= n)
        return false;
    bool negative = false;
    if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    }
    if (i >= n)
        return false;
    quint64 value = 0;
    const quint64 limit =
        hex ? hexMax : (negative ? static_cast<quint64>(max) + 1 : static_cast<quint64>(max));
    const unsigned base = hex ? 16 : 10;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        unsigned digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        if (value > (limit - digit) / base)
            return false;
        value = value * base + digit;
    }
    qint64 result;
    if (hex) {
        // Reinterpret the bit pattern in the type's width.
        if (hexMax == 0xFFFFFFFFull)
            result = static_cast<qint32>(static_cast<quint32>(value));
        else
            result = static_cast<qint64>(value);
        if (negative)
            result = result == min ? min : -result;
    } else {
        result = negative
                     ? (value == static_cast<quint64>(max) + 1 ? min : -static_cast<qint64>(value))
                     : static_cast<qint64>(value);
    }
    out = result;
    return true;
}

[[noreturn]] void badInteger(const QString &text)
{
    throw EConvertError(
        QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(excerpt(text)));
}

// Blanks around, optional sign, digits with "," as decimal separator, at
// least one digit, optional exponent.
bool parseFloat(const QString &text, double &out)
{
    qsizetype i = 0, n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    while (n > i && isBlank(text[n - 1]))
        --n;
    std::string s;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            s.push_back('-');
        ++i;
    }
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        s.push_back(static_cast<char>(text[i].unicode()));
        ++digits;
        ++i;
    }
    if (i < n && text[i] == QLatin1Char(',')) {
        s.push_back('.');
        ++i;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            s.push_back(static_cast<char>(text[i].unicode()));
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            s.push_back(static_cast<char>(text[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            s.push_back(static_cast<char>(text[i].unicode()));
            ++expDigits;
            ++i;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    double v = 0;
    const char *b = s.data();
    const char *e = s.data() + s.size();
    const bool neg = !s.empty() && s[0] == '-';
    const auto r = std::from_chars(neg ? b + 1 : b, e, v);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
        return false;
    out = neg ? -v : v;
    return true;
}

// Reads up to `maxDigits` ASCII digits at i.
bool scanNumber(const QString &s, qsizetype &i, int maxDigits, int &value, int &count)
{
    value = 0;
    count = 0;
    while (i < s.size() && count < maxDigits && s[i].unicode() >= u'0' && s[i].unicode() <= u'9') {
        value = value * 10 + (s[i].unicode() - u'0');
        ++count;
        ++i;
    }
    return count > 0;
}

void skipBlanks(const QString &s, qsizetype &i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
}

bool isDateSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// Day, month and year in the French order, separated by "/" (or "-" or ".",
// read leniently); the year may be left out (the current one) or given with
// two digits (the century window: within 50 years before today, as the
// platform's default window placed it).
bool scanDate(const QString &s, qsizetype &i, TDateTime &out)
{
    skipBlanks(s, i);
    int d, m, y, dc, mc, yc = 0;
    if (!scanNumber(s, i, 4, d, dc))
        return false;
    if (i >= s.size() || !isDateSeparator(s[i]))
        return false;
    const QChar sep = s[i++];
    if (!scanNumber(s, i, 4, m, mc))
        return false;
    int year = 0;
    if (i < s.size() && s[i] == sep) {
        ++i;
        if (!scanNumber(s, i, 4, y, yc))
            return false;
        year = y;
    }
    const int currentYear = dateOf(Date()).year();
    if (yc == 0) {
        year = currentYear;
    } else if (yc <= 2) {
        const int threshold = currentYear - 50;
        year += threshold / 100 * 100;
        if (year < threshold)
            year += 100;
    }
    if (year < 1 || year > 9999 || !QDate::isValid(year, m, d))
        return false;
    out = static_cast<double>(origin().daysTo(QDate(year, m, d)));
    return true;
}

// Hours and minutes, optional seconds and milliseconds, optional AM/PM.
bool scanTime(const QString &s, qsizetype &i, TDateTime &out)
{
    skipBlanks(s, i);
    int h, m, sec = 0, ms = 0, c;
    if (!scanNumber(s, i, 2, h, c))
        return false;
    if (i >= s.size() || s[i] != QLatin1Char(':'))
        return false;
    ++i;
    if (!scanNumber(s, i, 2, m, c))
        return false;
    if (i < s.size() && s[i] == QLatin1Char(':')) {
        ++i;
        if (!scanNumber(s, i, 2, sec, c))
            return false;
        if (i < s.size() && (s[i] == QLatin1Char('.') || s[i] == QLatin1Char(','))) {
            ++i;
            if (!scanNumber(s, i, 3, ms, c))
                return false;
            for (; c < 3; ++c)
                ms *= 10;
        }
    }
    qsizetype j = i;
    skipBlanks(s, j);
    const QString rest = s.mid(j, 2).toUpper();
    if (rest == QLatin1String("AM") || rest == QLatin1String("PM")) {
        if (h < 1 || h > 12)
            return false;
        if (h == 12)
            h = 0;
        if (rest == QLatin1String("PM"))
            h += 12;
        i = j + 2;
    }
    if (h > 23 || m > 59 || sec > 59)
        return false;
    out = (((h * 60 + m) * 60 + sec) * 1000.0 + ms) / kMsecsPerDay;
    return true;
}

bool atEnd(const QString &s, qsizetype i)
{
    skipBlanks(s, i);
    return i >= s.size();
}

struct Split {
    qint64 day = 0;
    qint64 msec = 0;
    bool valid = false;
};

// Day and time of day of a value; a time that rounds to midnight moves to
// the next day instead of giving a 24th hour.
Split split(TDateTime value)
{
    Split r;
    if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1)
        return r;
    const double whole = std::trunc(value);
    r.day = static_cast<qint64>(whole);
    r.msec = std::llround(std::fabs(value - whole) * kMsecsPerDay);
    if (r.msec >= kMsecsPerDay) {
        r.msec -= kMsecsPerDay;
        ++r.day;
    }
    r.valid = r.day >= kMinDay && r.day <= kMaxDay;
    return r;
}

} // namespace

int StrToInt(const QString &text)
{
    qint64 v;
    if (!parseInteger(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                      0xFFFFFFFFull, v))
        badInteger(text);
    return static_cast<int>(v);
}

qint64 StrToInt64(const QString &text)
{
    qint64 v;
    if (!parseInteger(text, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(),
                      0xFFFFFFFFFFFFFFFFull, v))
        badInteger(text);
    return v;
}

int StrToIntDef(const QString &text, int def)
{
    int v = def;
    TryStrToInt(text, v);
    return v;
}

bool TryStrToInt(const QString &text, int &value)
{
    qint64 v;
    if (!parseInteger(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                      0xFFFFFFFFull, v))
        return false;
    value = static_cast<int>(v);
    return true;
}

QString excerpt(const QString &value)
{
    constexpr int kShown = 60;
    // Counted in characters: a pair of surrogates is one, never cut.
    qsizetype end = 0;
    for (int n = 0; n < kShown && end < value.size(); ++n)
        end += value.at(end).isHighSurrogate() && end + 1 < value.size() &&
                       value.at(end + 1).isLowSurrogate()
                   ? 2
                   : 1;
    return end >= value.size() ? value : value.left(end) + QChar(0x2026);
}

bool TryStrToInt64(const QString &text, qint64 &value)
{
    return parseInteger(text, std::numeric_limits<qint64>::min(),
                        std::numeric_limits<qint64>::max(), 0xFFFFFFFFFFFFFFFFull, value);
}

double StrToFloat(const QString &text)
{
    double v;
    if (!parseFloat(text, v))
        throw EConvertError(
            QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte")
                .arg(excerpt(text)));
    return v;
}

bool TryStrToFloat(const QString &text, double &value)
{
    return parseFloat(text, value);
}

double StrToFloatDef(const QString &text, double def)
{
    double v = def;
    parseFloat(text, v);
    return v;
}

bool TryStrToDate(const QString &text, TDateTime &value)
{
    qsizetype i = 0;
    TDateTime v;
    if (!scanDate(text, i, v) || !atEnd(text, i))
        return false;
    value = v;
    return true;
}

bool TryStrToTime(const QString &text, TDateTime &value)
{
    qsizetype i = 0;
    TDateTime v;
    if (!scanTime(text, i, v) || !atEnd(text, i))
        return false;
    value = v;
    return true;
}

bool TryStrToDateTime(const QString &text, TDateTime &value)
{
    qsizetype i = 0;
    TDateTime date, time = 0;
    if (scanDate(text, i, date) &&
        (atEnd(text, i) || (scanTime(text, i, time) && atEnd(text, i)))) {
        value = date >= 0 ? date + time : date - time;
        return true;
    }
    return TryStrToTime(text, value);
}

TDateTime StrToDate(const QString &text)
{
    TDateTime v;
    if (!TryStrToDate(text, v))
        throw EConvertError(QStringLiteral("'%1' n'est pas une date correcte").arg(excerpt(text)));
    return v;
}

TDateTime StrToTime(const QString &text)
{
    TDateTime v;
    if (!TryStrToTime(text, v))
        throw EConvertError(QStringLiteral("'%1' n'est pas une heure correcte").arg(excerpt(text)));
    return v;
}

TDateTime StrToDateTime(const QString &text)
{
    TDateTime v;
    if (!TryStrToDateTime(text, v))
        throw EConvertError(
            QStringLiteral("'%1' n'est pas une date et heure correcte").arg(excerpt(text)));
    return v;
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

qint64 roundHalfEven(double value)
{
    // nearbyint rounds half to even in the default rounding mode.
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < -9223372036854775808.0 || r >= 9223372036854775808.0)
        throw EInvalidOp(QStringLiteral("Opération en virgule flottante incorrecte"));
    return static_cast<qint64>(r);
}

double roundDecimalHalfEven(double value, int digits)
{
    if (!std::isfinite(value))
        return value;
    DecimalDigits d = toDecimalDigits(value);
    roundDecimalDigits(d, digits, HalfRounding::ToEven);
    return toDouble(d);
}

double roundHundredths(double value)
{
    return roundDecimalHalfEven(value, 2);
}

TDateTime toDateTime(const QDateTime &value)
{
    const qint64 day = origin().daysTo(value.date());
    const double t = value.time().msecsSinceStartOfDay() / double(kMsecsPerDay);
    return day >= 0 ? day + t : day - t;
}

TDateTime toDateTime(const QDate &value)
{
    return static_cast<double>(origin().daysTo(value));
}

QDateTime fromDateTime(TDateTime value)
{
    const Split s = split(value);
    if (!s.valid)
        return {};
    return QDateTime(origin().addDays(s.day), QTime::fromMSecsSinceStartOfDay(int(s.msec)));
}

QDate dateOf(TDateTime value)
{
    const Split s = split(value);
    return s.valid ? origin().addDays(s.day) : QDate();
}

QTime timeOf(TDateTime value)
{
    const Split s = split(value);
    return s.valid ? QTime::fromMSecsSinceStartOfDay(int(s.msec)) : QTime();
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        throw EConvertError(QStringLiteral("Argument de date incorrect"));
    return toDateTime(QDate(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        throw EConvertError(QStringLiteral("Argument d'heure incorrect"));
    return (((hour * 60 + minute) * 60 + second) * 1000.0 + msec) / kMsecsPerDay;
}

void DecodeDate(TDateTime value, int &year, int &month, int &day)
{
    const QDate d = dateOf(value);
    if (!d.isValid()) {
        year = month = day = 0;
        return;
    }
    d.getDate(&year, &month, &day);
}

void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec)
{
    const QTime t = timeOf(value);
    hour = t.isValid() ? t.hour() : 0;
    minute = t.isValid() ? t.minute() : 0;
    second = t.isValid() ? t.second() : 0;
    msec = t.isValid() ? t.msec() : 0;
}

int DayOfWeek(TDateTime value)
{
    const QDate d = dateOf(value);
    if (!d.isValid())
        return 0;
    return d.dayOfWeek() % 7 + 1;
}

} // namespace platform
