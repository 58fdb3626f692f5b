// Strict conversions, their French errors, rounding and the date number.
#include "platform/clock/clock.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "tests/platform/core/qt_printers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace platform;

namespace
{

class FixedClock : public Clock
{
public:
    explicit FixedClock(TDateTime t) : m_now(t) {}
    TDateTime now() const override { return m_now; }
    std::uint32_t tickCount() const override { return m_ticks; }
    void sleep(int ms) override { m_ticks += static_cast<std::uint32_t>(ms); }

    TDateTime m_now;
    std::uint32_t m_ticks = 4294967000u;
};

class ClockScope
{
public:
    explicit ClockScope(TDateTime t) { setClock(std::make_unique<FixedClock>(t)); }
    ~ClockScope() { setClock(nullptr); }
};

template <typename F> QString errorOf(F f)
{
    try {
        f();
    } catch (const EConvertError &e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(StrToInt, AcceptsSignBlanksAndDollarHex)
{
    const std::pair<const char *, int> good[] = {{"12", 12},
                                                 {"  12", 12},
                                                 {"12  ", 12},
                                                 {"\t-7 ", -7},
                                                 {"+7", 7},
                                                 {"007", 7},
                                                 {"$1F", 31},
                                                 {"-$10", -16},
                                                 {"$ffffffff", -1},
                                                 {"$7FFFFFFF", 2147483647},
                                                 {"2147483647", 2147483647},
                                                 {"-2147483648", std::numeric_limits<int>::min()}};
    for (const auto &[text, value] : good)
        EXPECT_EQ(StrToInt(QString::fromLatin1(text)), value) << text;

    const char *bad[] = {"",           " ",   "+",   "-",    "12a",        "1 2",
                         "1,5",        "$",   "$G",  "0x10", "2147483648", "-2147483649",
                         "$100000000", "+-1", "- 1", "１"};
    for (const char *text : bad) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(errorOf([&] { StrToInt(t); }),
                  QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(t))
            << text;
        EXPECT_EQ(StrToIntDef(t, -99), -99) << text;
    }

    EXPECT_EQ(StrToInt64(QStringLiteral(" 9223372036854775807")),
              std::numeric_limits<qint64>::max());
    EXPECT_EQ(StrToInt64(QStringLiteral("-9223372036854775808")),
              std::numeric_limits<qint64>::min());
    EXPECT_EQ(errorOf([] { StrToInt64(QStringLiteral("9223372036854775808")); }),
              QStringLiteral("'9223372036854775808' n'est pas une valeur entière correcte"));
    EXPECT_EQ(IntToStr(-1234567890123LL), QStringLiteral("-1234567890123"));
}

TEST(StrToFloat, ReadsTheFrenchDecimalComma)
{
    const std::pair<const char *, double> good[] = {{"1,5", 1.5},    {"-0,25", -0.25}, {" 3 ", 3.0},
                                                    {"1E3", 1000.0}, {"2,5e-1", 0.25}, {",5", 0.5},
                                                    {"5,", 5.0},     {"+12", 12.0},    {"0", 0.0}};
    for (const auto &[text, value] : good)
        EXPECT_DOUBLE_EQ(StrToFloat(QString::fromLatin1(text)), value) << text;

    const char *bad[] = {"",   "1.5",   "1,5,0", "abc", ",",  "e5",
                         "1e", "1 000", "1e999", "nan", "inf"};
    for (const char *text : bad) {
        const QString t = QString::fromLatin1(text);
        EXPECT_EQ(errorOf([&] { StrToFloat(t); }),
                  QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(t))
            << text;
    }
    EXPECT_DOUBLE_EQ(StrToFloatDef(QStringLiteral("x"), 2.5), 2.5);
}

TEST(StrToDate, ReadsShortDatesLeniently)
{
    const ClockScope clock(EncodeDate(2026, 6, 15) + 0.5);
    struct Case {
        const char *text;
        int y, m, d;
    };
    const Case good[] = {
        {"25/12/2020", 2020, 12, 25}, {"1/2/2021", 2021, 2, 1},     {" 05/01/2020 ", 2020, 1, 5},
        {"29/02/2024", 2024, 2, 29},  {"25/12", 2026, 12, 25},      {"01/01/77", 1977, 1, 1},
        {"01/01/76", 1976, 1, 1},     {"01/01/75", 2075, 1, 1},     {"3-4-2020", 2020, 4, 3},
        {"3.4.2020", 2020, 4, 3},     {"30/12/1899", 1899, 12, 30}, {"01/01/0020", 20, 1, 1}};
    for (const Case &c : good)
        EXPECT_EQ(StrToDate(QString::fromLatin1(c.text)), EncodeDate(c.y, c.m, c.d)) << c.text;

    const char *bad[] = {"",          "31/02/2020", "2020",    "12/13/2020", "0/1/2020",
                         "1/1/2020x", "1/1-2020",   "1//2020", "1/1/10000",  "00/00/0000"};
    for (const char *text : bad) {
        const QString t = QString::fromLatin1(text);
        EXPECT_EQ(errorOf([&] { StrToDate(t); }),
                  QStringLiteral("'%1' n'est pas une date correcte").arg(t))
            << text;
    }
}

TEST(StrToTime, ReadsHoursMinutesAndMore)
{
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("12:00")), 0.5);
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("18:30:15")), EncodeTime(18, 30, 15, 0));
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("6:05:01.5")), EncodeTime(6, 5, 1, 500));
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("1:05 PM")), EncodeTime(13, 5, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("12:10 am")), EncodeTime(0, 10, 0, 0));
    for (const char *text : {"", "12", "24:00", "12:60", "10:00:61", "13:00 PM", "12:00x"}) {
        const QString t = QString::fromLatin1(text);
        EXPECT_EQ(errorOf([&] { StrToTime(t); }),
                  QStringLiteral("'%1' n'est pas une heure correcte").arg(t))
            << text;
    }

    EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("25/12/2020 18:00:00")),
                     EncodeDate(2020, 12, 25) + 0.75);
    EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("25/12/2020")), EncodeDate(2020, 12, 25));
    EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("06:00")), 0.25);
    // Before the origin the time counts forward from the day's midnight.
    EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("29/12/1899 12:00")), -1.5);
    EXPECT_EQ(errorOf([] { StrToDateTime(QStringLiteral("25/12/2020 25:00")); }),
              QStringLiteral("'25/12/2020 25:00' n'est pas une date et heure correcte"));
}

TEST(ConvertErrors, QuoteAtMostSixtyCharactersOfTheValue)
{
    // A value read from a file may be huge: the message stays readable.
    const QString soixante(60, QLatin1Char('x'));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two units
    const std::pair<QString, QString> cases[] = {
        {soixante, soixante},
        {soixante + QLatin1Char('y'), soixante + QChar(0x2026)},
        {QString(1000000, QLatin1Char('x')), soixante + QChar(0x2026)},
        {QString(59, QLatin1Char('x')) + emoji, QString(59, QLatin1Char('x')) + emoji},
        {QString(59, QLatin1Char('x')) + emoji + QLatin1Char('y'),
         QString(59, QLatin1Char('x')) + emoji + QChar(0x2026)},
    };
    for (const auto &[value, quoted] : cases) {
        EXPECT_EQ(errorOf([&] { StrToInt64(value); }),
                  QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(quoted));
        EXPECT_EQ(
            errorOf([&] { StrToFloat(value); }),
            QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(quoted));
        EXPECT_EQ(errorOf([&] { StrToDate(value); }),
                  QStringLiteral("'%1' n'est pas une date correcte").arg(quoted));
        EXPECT_EQ(errorOf([&] { StrToTime(value); }),
                  QStringLiteral("'%1' n'est pas une heure correcte").arg(quoted));
        EXPECT_EQ(errorOf([&] { StrToDateTime(value); }),
                  QStringLiteral("'%1' n'est pas une date et heure correcte").arg(quoted));
    }
}

TEST(Rounding, HalfToEvenOnWholeNumbersAndHundredths)
{
    const std::pair<double, qint64> whole[] = {
        {12946.5, 12946}, {202.5, 202}, {203.5, 204}, {0.5, 0},         {1.5, 2},
        {-2.5, -2},       {-3.5, -4},   {2.4999, 2},  {30.0000001, 30}, {-0.4, 0}};
    for (const auto &[v, r] : whole)
        EXPECT_EQ(roundHalfEven(v), r) << v;
    EXPECT_THROW(roundHalfEven(std::nan("")), EInvalidOp);
    EXPECT_THROW(roundHalfEven(1e300), EInvalidOp);

    const std::pair<double, double> cents[] = {
        {0.125, 0.12},     {0.135, 0.14},   {-0.125, -0.12},    {2.675, 2.68},
        {1.015, 1.02},     {1.005, 1.0},    {12.344999, 12.34}, {0.1 + 0.2, 0.3},
        {129.465, 129.46}, {99.995, 100.0}, {-0.004, 0.0},      {1234567.885, 1234567.88}};
    for (const auto &[v, r] : cents)
        EXPECT_EQ(roundHundredths(v), r) << v;
    EXPECT_EQ(roundDecimalHalfEven(25.0, -1), 20.0);
    EXPECT_EQ(roundDecimalHalfEven(0.0625, 3), 0.062);
}

TEST(DateTimeNumber, CountsDaysFromThe30December1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(toDateTime(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toDateTime(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(EncodeDate(2020, 1, 1), 43831.0);
    EXPECT_EQ(toDateTime(QDateTime(QDate(2020, 1, 1), QTime(12, 0))), 43831.5);
    EXPECT_EQ(fromDateTime(43831.75), QDateTime(QDate(2020, 1, 1), QTime(18, 0)));
    // Negative values: whole part the day, fraction the time after midnight.
    EXPECT_EQ(fromDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(toDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(dateOf(-700000.0), QDate());
    // A time that rounds to midnight is the next day, never a 24th hour.
    EXPECT_EQ(fromDateTime(43831.9999999999), QDateTime(QDate(2020, 1, 2), QTime(0, 0)));

    int y, m, d, h, n, s, z;
    DecodeDate(EncodeDate(2024, 2, 29) + 0.5, y, m, d);
    EXPECT_EQ(QDate(y, m, d), QDate(2024, 2, 29));
    DecodeTime(EncodeTime(23, 59, 58, 999), h, n, s, z);
    EXPECT_EQ(QTime(h, n, s, z), QTime(23, 59, 58, 999));

    EXPECT_EQ(DayOfWeek(0), 7);                            // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2020, 1, 5) + 0.9), 1); // a Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2020, 1, 6)), 2);

    EXPECT_EQ(errorOf([] { EncodeDate(2021, 2, 29); }),
              QStringLiteral("Argument de date incorrect"));
    EXPECT_EQ(errorOf([] { EncodeTime(24, 0, 0, 0); }),
              QStringLiteral("Argument d'heure incorrect"));
}

TEST(ClockSeam, AnInstalledClockAnswersUntilRemoved)
{
    {
        const ClockScope clock(EncodeDate(2020, 3, 1) + 0.75);
        EXPECT_EQ(Now(), EncodeDate(2020, 3, 1) + 0.75);
        EXPECT_EQ(Date(), EncodeDate(2020, 3, 1));
        const std::uint32_t before = GetTickCount();
        Sleep(500);
        // The tick count wraps at 32 bits as the platform's did.
        EXPECT_EQ(GetTickCount() - before, 500u);
        EXPECT_LT(GetTickCount(), before);
    }
    const double today = toDateTime(QDate::currentDate());
    EXPECT_GE(Date(), today - 1);
    EXPECT_LE(Date(), today + 1);
    EXPECT_EQ(setClock(nullptr), nullptr);
}
