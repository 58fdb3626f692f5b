#pragma once
// Strict conversions with the class library's French error texts, rounding,
// and the date-time number (days since 30 December 1899, time as fraction).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace platform {

using TDateTime = double;

// "'%s' n'est pas une valeur entière correcte" on failure (EConvertError).
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

// Round half to even, as the platform's Round did.
qint64 roundHalfEven(double value);
// To the nearest hundredth, half to even (0.125 gives 0.12).
double roundHundredths(double value);

TDateTime toDateTime(const QDateTime &value);
TDateTime toDateTime(const QDate &value);
QDateTime fromDateTime(TDateTime value);
QDate dateOf(TDateTime value);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int &year, int &month, int &day);
// 1 = Sunday ... 7 = Saturday, as the platform counted.
int DayOfWeek(TDateTime value);

} // namespace platform
