#pragma once
// Number and date-time texts with the French settings fixed in code (the
// machines run in the C locale: nothing is taken from the system).
#include "platform/text/convert.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace platform
{

struct TFormatSettings {
    QChar DecimalSeparator;
    // A plain blank: files, web pages and exports read it everywhere, where
    // the no-break space of some French settings would not survive as well.
    QChar ThousandSeparator;
    QChar DateSeparator;
    QChar TimeSeparator;
    QString ShortDateFormat;
    QString LongDateFormat;
    QString ShortTimeFormat;
    QString LongTimeFormat;
    // Empty, as on French settings: the 24-hour clock is the rule.
    QString TimeAMString;
    QString TimePMString;
    QString CurrencyString;
    int CurrencyDecimals;
    // Index 0 is January / Sunday. Day names are capitalised ("Dimanche",
    // "Dim."), as the program shows them; month names are not.
    QStringList ShortMonthNames;
    QStringList LongMonthNames;
    QStringList ShortDayNames;
    QStringList LongDayNames;
};

// The settings every text of the program uses.
const TFormatSettings &FormatSettings();

// Number patterns: "0" digit or zero, "#" digit or nothing, "." decimal
// separator (the first one), "," anywhere among the digits: thousands
// grouping, "E+"/"E-"/"e+"/"e-" followed by "0"s: scientific notation,
// '...' or "..." literal text, up to three sections separated by ";"
// (positive; negative; zero). An empty pattern gives FloatToStr's text.
// Halves round away from zero on the digits the value reads as (2.675 with
// "0.00" gives "2,68"); a value that rounds to zero shows no minus sign.
QString FormatFloat(const QString &format, double value);
// The same with another decimal separator (a report object's own format).
QString FormatFloat(const QString &format, double value, QChar decimalSeparator);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// The shortest text of at most 15 significant digits ("1,5", "1E20").
QString FloatToStr(double value);
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    QChar decimalSeparator);

// Date-time patterns, letters in either case: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm (minutes right after an hour), yy yyyy, h hh, n nn, s ss,
// z zzz, t tt, c, am/pm a/p ampm (12-hour clock), "/" and ":" (the
// separators), '...' or "..." literal text; any other character as is.
QString FormatDateTime(const QString &format, TDateTime value);
// The same, given up (nullopt) as soon as the text passes maxLength
// characters: a long pattern of long letters ("c" repeated) is refused
// before its text is built.
std::optional<QString> FormatDateTimeWithin(const QString &format, TDateTime value,
                                            qsizetype maxLength);
QString DateToStr(TDateTime value);
QString TimeToStr(TDateTime value);
QString DateTimeToStr(TDateTime value);

// The characters the formatters above, the edit masks and the text
// functions built on them have stepped over on this thread, every scan of a
// pattern or a text counted. A call costs in proportion to what it reads and
// writes, whatever their shape: a test compares the count across argument
// lengths.
std::uint64_t TextSteps();
namespace detail
{
extern thread_local std::uint64_t textSteps;
inline void countTextSteps(qsizetype n)
{
    textSteps += std::uint64_t(n);
}
} // namespace detail

} // namespace platform
