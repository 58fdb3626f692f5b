#pragma once
// Strict conversions with the class library's French error texts, rounding,
// and the date-time number (days since 30 December 1899, time as fraction).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace platform
{

using TDateTime = double;

// A value read from a file or typed, as a message quotes it: whole up to 60
// characters, else its first 60 followed by "…", so that a huge value
// neither slows the message box down nor pushes what follows it (the file,
// the line) out of sight.
QString excerpt(const QString &value);

// "'%s' n'est pas une valeur entière correcte" on failure (EConvertError).
// Optional sign, decimal digits or "$" and hexadecimal digits; blanks are
// accepted before and after (a value typed with a stray blank is still the
// number meant), none inside.
int StrToInt(const QString &text);
qint64 StrToInt64(const QString &text);
int StrToIntDef(const QString &text, int def);
// Decimal separator "," (French settings); "'%s' n'est pas une valeur en
// virgule flottante correcte" on failure.
double StrToFloat(const QString &text);
// Short date "dd/mm/yyyy" read leniently (d/m/yy too); "'%s' n'est pas une
// date correcte" on failure.
TDateTime StrToDate(const QString &text);
TDateTime StrToTime(const QString &text);
TDateTime StrToDateTime(const QString &text);
QString IntToStr(qint64 value);
// The same readings without the exception: false leaves value untouched.
bool TryStrToInt(const QString &text, int &value);
bool TryStrToInt64(const QString &text, qint64 &value);
bool TryStrToFloat(const QString &text, double &value);
bool TryStrToDate(const QString &text, TDateTime &value);
bool TryStrToTime(const QString &text, TDateTime &value);
bool TryStrToDateTime(const QString &text, TDateTime &value);
double StrToFloatDef(const QString &text, double def);

// Round half to even, as the platform's Round did.
qint64 roundHalfEven(double value);
// To the nearest hundredth, half to even (0.125 gives 0.12).
double roundHundredths(double value);
// To `digits` decimals (0..15), half to even, on the shortest decimal text
// that reads back as the same double: 1.015 gives 1.02 as it reads, although
// its binary value lies just below the half.
double roundDecimalHalfEven(double value, int digits);

TDateTime toDateTime(const QDateTime &value);
TDateTime toDateTime(const QDate &value);
QDateTime fromDateTime(TDateTime value);
QDate dateOf(TDateTime value);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int &year, int &month, int &day);
void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec);
// The time of day of a value (its fraction, as the platform read negative
// values: the fraction's magnitude, counted forward from midnight).
QTime timeOf(TDateTime value);
// 1 = Sunday ... 7 = Saturday, as the platform counted.
int DayOfWeek(TDateTime value);

} // namespace platform
