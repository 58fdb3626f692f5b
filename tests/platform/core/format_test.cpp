// Number and date-time patterns with the French settings, and edit masks.
#include "platform/format/editmask.h"
#include "platform/format/format.h"
#include "tests/platform/core/qt_printers.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

TEST(FormatSettings, AreTheFrenchOnes)
{
    const TFormatSettings &s = FormatSettings();
    EXPECT_EQ(s.ShortDateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(s.LongTimeFormat, QStringLiteral("hh:nn:ss"));
    EXPECT_EQ(s.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(std::tuple(s.LongDayNames.size(), s.LongDayNames.first(), s.LongDayNames.last()),
              std::tuple(7, QStringLiteral("Dimanche"), QStringLiteral("Samedi")));
    EXPECT_EQ(s.LongMonthNames.size(), 12);
    EXPECT_EQ(s.LongMonthNames[1], QString::fromUtf8("février"));
    EXPECT_EQ(s.LongMonthNames[11], QString::fromUtf8("décembre"));
    EXPECT_EQ(s.ShortMonthNames.size(), 12);
    EXPECT_EQ(s.ShortDayNames.size(), 7);
}

TEST(FormatFloat, PatternTable)
{
    struct Case {
        const char *format;
        double value;
        const char *expected;
    };
    const Case cases[] = {
        {"0.00", 1234.5, "1234,50"},
        {"#,##0.00", 1234567.891, "1 234 567,89"},
        {"#,##0.00", 0.5, "0,50"},
        {"#,##0", -1234.5, "-1 235"},
        {"#,##0", 999, "999"},
        {"#,##0", 1000, "1 000"},
        {"0.00", 2.675, "2,68"}, // rounds as it reads, not as its binary value lies
        {"0.00", 0.125, "0,13"},
        {"0.00", -0.125, "-0,13"},
        {"0.000", 1.0005, "1,001"},
        {"0", 0.5, "1"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"#.##", 0.5, ",5"},
        {"0.##", 1, "1"},
        {"0.##", 1.1, "1,1"},
        {"0.0#", 1, "1,0"},
        {"0.0#", 1.257, "1,26"},
        {"#", 0, ""},
        {"0", 0, "0"},
        {"000", 7, "007"},
        {"00-00", 1234, "12-34"},
        {"00-00", 123456, "1234-56"},
        {"# ##0", 12345, "12 345"},
        {".00", 12.5, "12,50"},
        {"0.00", -0.001, "0,00"}, // zero shows no minus sign
        {"0.00;(0.00)", -5, "(5,00)"},
        {"0.00;(0.00)", 5, "5,00"},
        {"0.00;(0.00);'zéro'", 0, "zéro"},
        {"0.00;(0.00);'zéro'", -0.001, "zéro"},
        {"0.00;;'rien'", -2, "-2,00"},
        {"0.00E+00", 1234.5, "1,23E+03"},
        {"0.00E+00", 0.000123, "1,23E-04"},
        {"0.00E+00", -0.000123, "-1,23E-04"},
        {"0.0E-0", 1234, "1,2E3"},
        {"0.00E+00", 0, "0,00E+00"},
        {"0.0E+00", 1250, "1,3E+03"},
        {"0.0E+00", -0.00235, "-2,4E-03"},
        {"00.0E+0", 12345, "12,3E+3"},
        {"0.00 €", 3.5, "3,50 €"},
        {"\"N°\"0", 5, "N°5"},
        {"'#'0", 5, "#5"},
        {"\"a;b\"0", 5, "a;b5"},
        {"", 1.5, "1,5"},
        {"#,##0.00", 1e20, "1E20"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected))
            << c.format << " " << c.value;
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), std::nan("")), QStringLiteral("NAN"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), -INFINITY), QStringLiteral("-INF"));
}

TEST(FloatToStr, GeneralAndFixedForms)
{
    const std::pair<double, const char *> general[] = {{1.5, "1,5"},
                                                       {0.1 + 0.2, "0,3"},
                                                       {1e20, "1E20"},
                                                       {1e15, "1E15"},
                                                       {123456789012345.0, "123456789012345"},
                                                       {0.0001, "0,0001"},
                                                       {0.00001, "1E-5"},
                                                       {-2.5e-7, "-2,5E-7"},
                                                       {100, "100"},
                                                       {0, "0"},
                                                       {1.0 / 3, "0,333333333333333"},
                                                       {-12.75, "-12,75"}};
    for (const auto &[v, text] : general)
        EXPECT_EQ(FloatToStr(v), QString::fromLatin1(text)) << v;

    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffFixed, 15, 2), QStringLiteral("1234,57"));
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffNumber, 15, 2), QStringLiteral("1 234,57"));
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffExponent, 4, 2), QStringLiteral("1,235E+03"));
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffCurrency, 15, 2),
              QString::fromUtf8("1 234,50 €"));
    EXPECT_EQ(FloatToStrF(-0.004, TFloatFormat::ffFixed, 15, 2), QStringLiteral("0,00"));
    EXPECT_EQ(FloatToStrF(-7, TFloatFormat::ffFixed, 15, 0), QStringLiteral("-7"));
    EXPECT_EQ(FloatToStrF(123456, TFloatFormat::ffGeneral, 3, 0), QStringLiteral("1,23E5"));
    EXPECT_EQ(FloatToStrF(0.5, TFloatFormat::ffFixed, 15, 3), QStringLiteral("0,500"));
}

TEST(FormatDateTime, PatternTable)
{
    // Sunday 5 January 2020, 14:07:09.045.
    const TDateTime when = EncodeDate(2020, 1, 5) + EncodeTime(14, 7, 9, 45);
    const std::pair<const char *, const char *> cases[] = {
        {"dd/mm/yyyy", "05/01/2020"},
        {"d/m/yy", "5/1/20"},
        {"DD/MM/YYYY", "05/01/2020"},
        {"yyyy-mm-dd", "2020-01-05"},
        {"ddd", "Dim."},
        {"dddd", "Dimanche"},
        {"ddddd", "05/01/2020"},
        {"dddddd", "Dimanche 5 janvier 2020"},
        {"mmm", "janv."},
        {"mmmm", "janvier"},
        {"hh:nn:ss", "14:07:09"},
        {"h:n:s", "14:7:9"},
        {"hh:mm", "14:07"}, // minutes right after an hour
        {"hh mm", "14 07"},
        {"hh dd mm", "14 05 01"},
        {"z", "45"},
        {"zzz", "045"},
        {"hh:nn am/pm", "02:07 pm"},
        {"h AM/PM", "2 PM"},
        {"h a/p", "2 p"},
        {"c", "05/01/2020 14:07:09"},
        {"t", "14:07"},
        {"tt", "14:07:09"},
        {"'le' dddd d", "le Dimanche 5"},
        {"\"h\"hh", "h14"},
        {"x_dd!", "x_05!"},
    };
    for (const auto &[format, expected] : cases)
        EXPECT_EQ(FormatDateTime(QString::fromLatin1(format), when), QString::fromUtf8(expected))
            << format;

    EXPECT_EQ(FormatDateTime(QStringLiteral("mmmm yyyy"), EncodeDate(2005, 8, 1)),
              QString::fromUtf8("août 2005"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("yy dddd"), EncodeDate(2005, 8, 6)),
              QStringLiteral("05 Samedi"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:nn am/pm"), EncodeDate(2020, 1, 5)),
              QStringLiteral("12:00 am"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), -1.25),
              QStringLiteral("29/12/1899 06:00"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yyyy"), 1e12), QString());

    EXPECT_EQ(DateToStr(0), QStringLiteral("30/12/1899"));
    EXPECT_EQ(TimeToStr(0.75), QStringLiteral("18:00:00"));
    EXPECT_EQ(DateTimeToStr(when), QStringLiteral("05/01/2020 14:07:09"));
    // The date alone at midnight.
    EXPECT_EQ(DateTimeToStr(EncodeDate(2020, 1, 5)), QStringLiteral("05/01/2020"));
    // What is written reads back.
    EXPECT_EQ(StrToDateTime(DateTimeToStr(when)), EncodeDate(2020, 1, 5) + EncodeTime(14, 7, 9, 0));
}

TEST(EditMask, DateMaskOfTheTournamentsList)
{
    const EditMask mask(QStringLiteral("!99/99/9999;1;_"));
    EXPECT_EQ(mask.size(), 10);
    EXPECT_TRUE(mask.saveLiterals());
    EXPECT_EQ(mask.blank(), QLatin1Char('_'));
    EXPECT_TRUE(mask.fromRight());
    EXPECT_EQ(mask.editTextFor(QStringLiteral("25/12/2020")), QStringLiteral("25/12/2020"));
    EXPECT_EQ(mask.editTextFor(QString()), QStringLiteral("__/__/____"));
    EXPECT_EQ(mask.editTextFor(QStringLiteral("2x/12")), QStringLiteral("2_/12/____"));
    // Unfilled positions are blanks in the text, the slashes stay.
    EXPECT_EQ(mask.textOf(QStringLiteral("2_/12/____")), QStringLiteral("2 /12/    "));
    EXPECT_EQ(mask.textOf(QStringLiteral("25/12/2020")), QStringLiteral("25/12/2020"));
    EXPECT_TRUE(mask.isComplete(QStringLiteral("__/__/____")));
    EXPECT_EQ(mask.toQtInputMask(), QStringLiteral("00/00/0000;_"));
}

TEST(EditMask, RequiredPositionsCaseAndLiterals)
{
    const EditMask date(QStringLiteral("00/00/0000;1;_"));
    int bad = -2;
    EXPECT_FALSE(date.isComplete(QStringLiteral("2_/12/2020"), &bad));
    EXPECT_EQ(bad, 1);
    EXPECT_TRUE(date.isComplete(QStringLiteral("25/12/2020"), &bad));
    EXPECT_EQ(bad, -1);
    EXPECT_FALSE(date.isComplete(QStringLiteral("2a/12/2020"), &bad));
    EXPECT_EQ(bad, 1);

    const EditMask code(QStringLiteral(">LL-000;0;*"));
    EXPECT_FALSE(code.saveLiterals());
    EXPECT_EQ(code.blank(), QLatin1Char('*'));
    EXPECT_EQ(code.editTextFor(QStringLiteral("ab123")), QStringLiteral("AB-123"));
    EXPECT_EQ(code.editTextFor(QStringLiteral("a1")), QStringLiteral("A*-***"));
    EXPECT_EQ(code.textOf(QStringLiteral("AB-123")), QStringLiteral("AB123"));
    EXPECT_EQ(code.textOf(QStringLiteral("A*-1**")), QStringLiteral("A 1  "));
    EXPECT_FALSE(code.accepts(0, QLatin1Char('1')));
    EXPECT_TRUE(code.accepts(3, QLatin1Char('7')));
    EXPECT_EQ(code.shown(0, QChar(0xE9)), QChar(0xC9));
    EXPECT_EQ(code.toQtInputMask(), QStringLiteral(">AA-999;*"));

    EXPECT_EQ(EditMask(QStringLiteral("\\A0<>c#")).toQtInputMask(), QStringLiteral("\\A9x#;_"));
    EXPECT_EQ(EditMask(QStringLiteral("hh:nn")).toQtInputMask(), QStringLiteral("\\h\\h:\\n\\n;_"));
    EXPECT_TRUE(EditMask(QString()).isEmpty());
    EXPECT_EQ(EditMask(QString()).toQtInputMask(), QString());
}

TEST(EditMask, FormatMaskTextInsertsLiterals)
{
    const std::pair<std::pair<const char *, const char *>, const char *> cases[] = {
        {{"99/99/9999;0; ", "25122020"}, "25/12/2020"},
        {{"!99/99;0; ", "123"}, " 1/23"},
        {{"(999) 000;0; ", "12"}, "(12 )    "},
        {{"000;0; ", "12345"}, "12345"},
        {{"!000;0; ", "12345"}, "12345"},
        {{"99/99/9999;1;_", "25/12"}, "25/12/    "},
        // The flag and blank appended by the report engine override the mask's.
        {{"99/99;1;_;0; ", "2512"}, "25/12"},
        {{"", "abc"}, "abc"},
    };
    for (const auto &[in, expected] : cases)
        EXPECT_EQ(FormatMaskText(QString::fromLatin1(in.first), QString::fromLatin1(in.second)),
                  QString::fromLatin1(expected))
            << in.first << " " << in.second;
}
