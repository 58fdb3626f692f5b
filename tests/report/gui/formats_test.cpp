// Display formats: every category and kind of the format code, custom
// patterns, inline formats after " #", hidden zeros and failing patterns.
#include "objects_fixture.h"

#include "platform/format/format.h"
#include "report/build/frformat.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <stdexcept>

using namespace report;
using namespace report::test;

namespace
{

class FormatsTest : public ObjectsTest
{
protected:
    static FrVariant date(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0)
    {
        return FrVariant::fromDate(platform::EncodeDate(y, m, d) +
                                   platform::EncodeTime(hh, nn, ss, 0));
    }
};

TEST_F(FormatsTest, EveryCategoryAndKind)
{
    const FrVariant pi(3.14159);
    const FrVariant big(1234.5);
    const FrVariant day = date(2024, 3, 16, 14, 30, 5);
    const FrVariant morning = date(2024, 3, 16, 9, 5, 0);
    const struct {
        FrVariant value;
        int category, kind, decimals;
        char separator;
        const char *pattern;
        const char *expected;
    } cases[] = {
        {FrVariant(12), fcText, 0, 0, 0, "", "12"},
        {FrVariant(QStringLiteral("texte")), fcText, 0, 0, 0, "", "texte"},
        {pi, fcNumber, 0, 2, ',', "", "3,14"},
        {pi, fcNumber, 0, 2, '.', "", "3.14"},
        {FrVariant(3), fcNumber, 0, 2, ',', "", "3"},
        {pi, fcNumber, 1, 2, ',', "", "3,14"},
        {FrVariant(3), fcNumber, 1, 2, ',', "", "3,00"},
        {FrVariant(-0.004), fcNumber, 1, 2, ',', "", "0,00"},
        {big, fcNumber, 2, 1, ',', "", "1 234,5"},
        {big, fcNumber, 3, 2, ',', "", "1 234,50"},
        {FrVariant(1234567.891), fcNumber, 3, 2, '.', "", "1 234 567.89"},
        {big, fcNumber, 4, 0, ',', "0.000E+00", "1,235E+03"},
        {big, fcNumber, 4, 0, '.', "#,##0.00", "1 234.50"},
        {FrVariant(-2), fcNumber, 4, 0, ',', "0.0;(0.0);'zéro'", "(2,0)"},
        {FrVariant(0), fcNumber, 4, 0, ',', "0.0;(0.0);'zéro'", "zéro"},
        {FrVariant(QStringLiteral("2,5")), fcNumber, 1, 1, ',', "", "2,5"},
        {day, fcDate, 0, 0, 0, "", "03.16.24"},
        {day, fcDate, 1, 0, 0, "", "03.16.2024"},
        {day, fcDate, 2, 0, 0, "", "16 mars 2024"},
        {day, fcDate, 3, 0, 0, "", "Samedi 16 mars 2024"},
        {day, fcDate, 4, 0, 0, "yyyy-mm-dd", "2024-03-16"},
        {day, fcTime, 0, 0, 0, "", "14:30:05"},
        {morning, fcTime, 0, 0, 0, "", "09:05:00"},
        {morning, fcTime, 1, 0, 0, "", "9:05:00"},
        {morning, fcTime, 2, 0, 0, "", "09:05"},
        {morning, fcTime, 3, 0, 0, "", "9:05"},
        {day, fcTime, 4, 0, 0, "hh'h'nn", "14h30"},
        {FrVariant(0), fcBoolean, 0, 0, 0, "", "0"},
        {FrVariant(1), fcBoolean, 0, 0, 0, "", "1"},
        {FrVariant(0), fcBoolean, 1, 0, 0, "", "Non"},
        {FrVariant(-1), fcBoolean, 1, 0, 0, "", "Oui"},
        {FrVariant(false), fcBoolean, 1, 0, 0, "", "Non"},
        {FrVariant(2), fcBoolean, 2, 0, 0, "", "x"},
        {FrVariant(0), fcBoolean, 3, 0, 0, "", "False"},
        {FrVariant(0), fcBoolean, 4, 0, 0, "Faux;Vrai", "Faux"},
        {FrVariant(7), fcBoolean, 4, 0, 0, "Faux;Vrai", "Vrai"},
        // Blank values print nothing under any format.
        {FrVariant(QStringLiteral("   ")), fcNumber, 1, 2, ',', "", ""},
        {FrVariant::null(), fcDate, 0, 0, 0, "", ""},
        {FrVariant(), fcText, 0, 0, 0, "", ""},
        // A value the format cannot take is shown as it is.
        {FrVariant(QStringLiteral("abc")), fcNumber, 1, 2, ',', "", "abc"},
        {FrVariant(QStringLiteral("abc")), fcDate, 0, 0, 0, "", "abc"},
        {FrVariant(QStringLiteral("oui")), fcBoolean, 1, 0, 0, "", "oui"},
        {FrVariant(1e300), fcDate, 2, 0, 0, "", "1E300"},
        {FrVariant(-1e9), fcTime, 4, 0, 0, "hh:nn", "-1000000000"},
        {big, fcNumber, 9, 2, ',', "", "1234,5"},
    };
    for (const auto &c : cases) {
        const qint32 code =
            frMakeFormat(c.category, c.kind, c.decimals, QChar(char16_t(c.separator)));
        EXPECT_EQ(TfrReport::FormatDisplayValue(c.value, code, QString::fromUtf8(c.pattern)),
                  QString::fromUtf8(c.expected))
            << c.category << "/" << c.kind << " " << c.pattern << " " << c.expected;
    }
}

TEST_F(FormatsTest, CodeFieldsAndInlineForms)
{
    const qint32 code = frMakeFormat(fcNumber, 3, 2, QLatin1Char(','));
    EXPECT_EQ(code, (1 << 24) | (3 << 16) | (2 << 8) | ',');
    EXPECT_EQ(frFormatCategory(code), fcNumber);
    EXPECT_EQ(frFormatKind(code), 3);
    EXPECT_EQ(frFormatDecimals(code), 2);
    EXPECT_EQ(frFormatSeparator(code), QLatin1Char(','));

    const struct {
        const char *text;
        bool split;
        const char *expression;
        bool applied;
        int category, kind, decimals;
        char separator;
        const char *pattern;
    } cases[] = {
        {"[Montant] #N2", true, "[Montant]", true, fcNumber, 1, 2, ',', ""},
        {"[Montant] #n0", true, "[Montant]", true, fcNumber, 1, 0, ',', ""},
        {"[Montant] #3.", true, "[Montant]", true, fcNumber, 1, 3, '.', ""},
        {"[Montant] #N", true, "[Montant]", true, fcNumber, 1, 2, ',', ""},
        {"[Jour] #Ddd/mm/yy", true, "[Jour]", true, fcDate, 4, 0, 0, "dd/mm/yy"},
        {"[Heure] #Thh:nn", true, "[Heure]", true, fcTime, 4, 0, 0, "hh:nn"},
        {"[Pret] #BNon;Oui", true, "[Pret]", true, fcBoolean, 4, 0, 0, "Non;Oui"},
        {"'a #N2' + [b] #N1", true, "'a #N2' + [b]", true, fcNumber, 1, 1, ',', ""},
        {"'a #N2'", false, "", false, 0, 0, 0, 0, ""},
        {"[x] #N2,,", true, "[x]", false, 0, 0, 0, 0, ""},
        {"[x] #Q2", true, "[x]", false, 0, 0, 0, 0, ""},
        {"[x] #D", true, "[x]", false, 0, 0, 0, 0, ""},
        {"[x] #", true, "[x]", false, 0, 0, 0, 0, ""},
    };
    for (const auto &c : cases) {
        QString expression, inlineFormat;
        ASSERT_EQ(frSplitInlineFormat(QString::fromUtf8(c.text), expression, inlineFormat), c.split)
            << c.text;
        if (!c.split)
            continue;
        EXPECT_EQ(expression, QString::fromUtf8(c.expression)) << c.text;
        const qint32 own = frMakeFormat(fcText, 0, 2, QLatin1Char(','));
        qint32 format = own;
        QString pattern = QStringLiteral("own");
        ASSERT_EQ(frApplyInlineFormat(inlineFormat, format, pattern), c.applied) << c.text;
        if (!c.applied) {
            EXPECT_EQ(format, own) << c.text;
            EXPECT_EQ(pattern, QStringLiteral("own")) << c.text;
            continue;
        }
        EXPECT_EQ(format,
                  frMakeFormat(c.category, c.kind, c.decimals, QChar(char16_t(c.separator))))
            << c.text;
        if (c.category != fcNumber) {
            EXPECT_EQ(pattern, QString::fromUtf8(c.pattern)) << c.text;
        }
    }
}

// An expression of the current object through the report's value callback.
class FormatValueTest : public FormatsTest
{
protected:
    void SetUp() override
    {
        FormatsTest::SetUp();
        report.makeCurrent();
        report.installParserCallbacks(
            [this](const QString &name, FrVariant &value) {
                report.ResolveParserName(name, value);
            },
            [this](const QString &name, const FrVariant &p1, const FrVariant &p2,
                   const FrVariant &p3,
                   FrVariant &value) { report.CallParserFunction(name, p1, p2, p3, value); });
        report.OnGetValue = [this](const QString &name, FrVariant &value) {
            if (name == QLatin1String("Montant"))
                value = 1234.5;
            else if (name == QLatin1String("Zero"))
                value = 0;
            else if (name == QLatin1String("Panne"))
                throw std::runtime_error("panne");
            else if (name == QLatin1String("VU"))
                seen = fr().frGlobalParser->Calc(QStringLiteral("VALUE"));
        };
        view.Format = frMakeFormat(fcNumber, 1, 1, QLatin1Char('.'));
        frObjects().frCurrentView = &view;
    }
    void TearDown() override
    {
        frObjects().frCurrentView = nullptr;
        FormatsTest::TearDown();
    }
    QString format(const QString &expression)
    {
        QString result = QStringLiteral("avant");
        report.FormatValue(expression, result);
        return result;
    }

    TfrReport report;
    TfrMemoView view;
    FrVariant seen;
};

TEST_F(FormatValueTest, ObjectFormatInlineFormatsAndHiddenZeros)
{
    const struct {
        const char *expression;
        quint16 flags;
        const char *expected;
    } cases[] = {
        {"Montant", 0, "1234.5"},
        {"[Montant] * 2", 0, "2469.0"},
        {"Montant #N2", 0, "1234,50"},
        {"Montant #2.", 0, "1234.50"},
        {"Montant #Q", 0, "1234.5"}, // an unknown inline form keeps the object's
        {"Zero", 0x40, ""},
        {"Zero", 0, "0.0"},
        {"'0'", 0x40, "0.0"}, // only numbers are hidden
        {"Inconnu", 0, ""},   // the parser's error: nothing shown
        {"1 / 'x'", 0, ""},
        {"'a' + ", 0, ""},
    };
    for (const auto &c : cases) {
        view.Flags = c.flags;
        EXPECT_EQ(format(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected))
            << c.expression;
    }
    // The value stays for VALUE, which reads empty while it is being computed.
    view.Flags = 0;
    format(QStringLiteral("Montant"));
    EXPECT_EQ(fr().frGlobalParser->Calc(QStringLiteral("VALUE")).toString(),
              QStringLiteral("1234,5"));
    format(QStringLiteral("VU"));
    EXPECT_TRUE(seen.isUnassigned());
}

TEST_F(FormatValueTest, OwnersErrorsGoThroughAndRegistrationFormatsNothing)
{
    EXPECT_THROW(format(QStringLiteral("Panne")), std::runtime_error);
    frObjects().frAggregatePrepare = true;
    EXPECT_EQ(format(QStringLiteral("Montant")), QStringLiteral("avant"));
    frObjects().frAggregatePrepare = false;
}

TEST_F(FormatValueTest, ColumnEventsReachTheOwner)
{
    FrReportLink &link = report;
    int width = 50;
    link.BeginColumn(nullptr);
    link.PrintColumn(1, width);
    EXPECT_EQ(width, 50);
    QStringList events;
    report.OnBeginColumn = [&events](TfrBand *band) {
        events.append(band ? QStringLiteral("bande") : QStringLiteral("aucune"));
    };
    report.OnPrintColumn = [&events](int colNo, int &w) {
        events.append(QString::number(colNo));
        w = 80;
    };
    link.BeginColumn(nullptr);
    link.PrintColumn(3, width);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(events, QStringList({"aucune", "3"}));
}

} // namespace
