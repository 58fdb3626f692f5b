// The library context: start-up texts and constants, the locale's text
// sources, counted start and end, and the reset between tests.
#include "platform/text/exceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/expr/frvariables.h"
#include "report_core_fixture.h"

#include <QSet>

using namespace report;
using report::test::ReportCoreTest;

class ContextTest : public ReportCoreTest
{
};

TEST_F(ContextTest, ProgramStringTableIsWellFormed)
{
    const FrStringTable &table = FrStringTable::program();
    EXPECT_TRUE(table.errors().isEmpty()) << table.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(frLoadString(55439), QStringLiteral("Symbole non défini"));
    EXPECT_EQ(frLoadString(55077), QStringLiteral("Titre de l'état"));
    EXPECT_EQ(frLoadString(55099), QStringLiteral("Aucun"));
    EXPECT_EQ(frLoadString(12345), QString()) << "a missing id gives an empty text";
}

TEST_F(ContextTest, TableFileSyntax)
{
    FrStringTable t = FrStringTable::parse(
        "# comment\r\n\n55001=Ligne 1\\rLigne 2\\\\fin\r\n55002=a=b\nbad line\nx=1\n55001=again\n");
    EXPECT_EQ(t.text(55001), QStringLiteral("again"));
    EXPECT_EQ(t.text(55002), QStringLiteral("a=b"));
    EXPECT_EQ(t.count(), 2);
    ASSERT_EQ(t.errors().size(), 3) << "two malformed lines and one duplicate";
    FrStringTable esc = FrStringTable::parse("1=Ligne 1\\rLigne 2\\\\fin\\tx\\n");
    EXPECT_EQ(esc.text(1), QStringLiteral("Ligne 1\rLigne 2\\fin\tx\n"));
}

TEST_F(ContextTest, LocaleHookWinsUnlessEmpty)
{
    TfrLocale &locale = frLocale();
    locale.OnLocalize = [](int id, QString &text) {
        if (id == 55099)
            text = QStringLiteral("None");
    };
    EXPECT_EQ(frLoadString(55099), QStringLiteral("None"));
    EXPECT_EQ(frLoadString(55098), QStringLiteral("Enfant")) << "empty answer falls back";
    EXPECT_FALSE(locale.LocalizedPropNames);
    EXPECT_FALSE(locale.DesignEnvironment);
}

TEST_F(ContextTest, LongTextsAreCutAt1023Characters)
{
    FrStringTable table;
    table.insert(60000, QString(2000, QLatin1Char('z')));
    table.insert(60001, QString(1023, QLatin1Char('y')));
    frLocale().setStringTable(&table);
    EXPECT_EQ(frLoadString(60000), QString(1023, QLatin1Char('z')));
    EXPECT_EQ(frLoadString(60001).size(), 1023);
    frLocale().setStringTable(nullptr);
    EXPECT_EQ(frLoadString(60000), QString());
}

TEST_F(ContextTest, StartUpLoadsTheTexts)
{
    fr().start();
    FrLibrary &l = fr();
    EXPECT_EQ(l.frCharset, 1);
    ASSERT_EQ(l.frBandNames.size(), 23);
    EXPECT_EQ(l.frBandNames.at(5), QStringLiteral("Données maitre"));
    EXPECT_EQ(l.frBandNames.at(19), QStringLiteral("Donnée tableau croisé"));
    EXPECT_EQ(l.frBooleanFormats, (QStringList{"0;1", "Non;Oui", "_;x", "False;True"}));
    EXPECT_EQ(l.frDateFormats,
              (QStringList{"mm.dd.yy", "mm.dd.yyyy", "d mmm yyyy", "d mmmm yyyy"}));
    EXPECT_EQ(l.frTimeFormats, (QStringList{"hh:nn:ss", "h:nn:ss", "hh:nn", "h:nn"}));
    ASSERT_TRUE(l.frGlobalParser && l.frInterpreter && l.frVariables && l.frConsts &&
                l.frCompressor);
    EXPECT_TRUE(l.frVariables->Sorted());
    EXPECT_FALSE(l.frCompressor->Enabled);
    l.end();
}

TEST_F(ContextTest, ConstantsByGroup)
{
    fr().start();
    const TfrVariables &c = *fr().frConsts;
    EXPECT_EQ(c.Count(), 42 + 5 + 2 + 4 + 5 + 6 + 7 + 6 + 8);
    auto countPrefix = [&c](const char *prefix, const QStringList &except = {}) {
        int n = 0;
        for (int i = 0; i < c.Count(); ++i)
            if (c.GetName(i).startsWith(QLatin1String(prefix)) && !except.contains(c.GetName(i)))
                ++n;
        return n;
    };
    const std::pair<const char *, int> counts[] = {{"cl", 42},  {"mr", 5}, {"fs", 4}, {"frft", 5},
                                                   {"frta", 6}, {"ba", 7}, {"ps", 6}, {"mb_", 8}};
    for (const auto &[prefix, n] : counts)
        EXPECT_EQ(countPrefix(prefix), n) << prefix;
    EXPECT_EQ(c.GetVariable(QStringLiteral("clTransparent")).toInt(), 0x1FFFFFFF);
    EXPECT_EQ(c.GetVariable(QStringLiteral("CLTRANSPARENT")).toInt(), 0x1FFFFFFF);
    EXPECT_EQ(quint32(c.GetVariable(QStringLiteral("clInfoBk")).toInt()), 0x80000018u);
    EXPECT_EQ(c.GetVariable(QStringLiteral("clRed")).toInt(), 0x0000FF);
    EXPECT_EQ(c.GetVariable(QStringLiteral("fsBold")).toInt(), 2);
    EXPECT_EQ(c.GetVariable(QStringLiteral("fsItalic")).toInt(), 1);
    EXPECT_EQ(c.GetVariable(QStringLiteral("mb_IconWarning")).toInt(), 48);
    EXPECT_EQ(c.GetVariable(QStringLiteral("CRLF")).toString(), QStringLiteral("\r\n"));
    EXPECT_GE(c.IndexOf(QStringLiteral("Null")), 0);
    EXPECT_TRUE(c.GetVariable(QStringLiteral("Null")).isNull());
    for (int i = 1; i < c.Count(); ++i)
        EXPECT_LT(frCompareText(c.GetName(i - 1), c.GetName(i)), 0) << "sorted, no duplicate";
    fr().end();
}

// The colour choosers list the script's colour constants: one table, so a
// name and its value can never differ between the two.
TEST_F(ContextTest, ColourTableIsTheOneOfTheConstants)
{
    fr().start();
    const QStringList &names = frColorNames();
    const QList<qint32> &values = frColorValues();
    ASSERT_EQ(names.size(), 42);
    ASSERT_EQ(values.size(), 42);
    EXPECT_EQ(names.front(), QStringLiteral("clWhite"));
    EXPECT_EQ(names.back(), QStringLiteral("clInfoBk"));
    EXPECT_EQ(values[names.indexOf(QStringLiteral("clLime"))], 0x00FF00);
    EXPECT_EQ(quint32(values.back()), 0x80000018u);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 42);
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(fr().frConsts->GetVariable(names[i]).toInt(), values[i]) << names[i].toStdString();
    fr().end();
}

TEST_F(ContextTest, NestedStartsCreateAndFreeOnce)
{
    FrLibrary &l = fr();
    l.start();
    TfrParser *parser = l.frGlobalParser.get();
    l.frVariables->SetVariable(QStringLiteral("x"), FrVariant(1));
    l.start();
    EXPECT_EQ(l.frGlobalParser.get(), parser) << "a nested start creates nothing";
    EXPECT_EQ(l.frVariables->Count(), 1);
    l.end();
    EXPECT_TRUE(l.started());
    EXPECT_EQ(l.frGlobalParser.get(), parser);
    l.end();
    EXPECT_FALSE(l.started());
    EXPECT_EQ(l.frGlobalParser, nullptr);
    EXPECT_EQ(l.frConsts, nullptr);
    l.end(); // one end too many does nothing
    EXPECT_FALSE(l.started());
}

TEST_F(ContextTest, ResetLeavesNoState)
{
    FrLibrary &l = fr();
    l.start();
    l.start();
    l.frTemplateVersion = 21;
    frLocale().OnLocalize = [](int, QString &t) { t = QStringLiteral("x"); };
    QObject form;
    form.setObjectName(QStringLiteral("Form1"));
    l.registerForm(&form);
    l.setCurrentReport(nullptr, &form);
    l.evalState.depth = 5;
    l.resetForTests();
    EXPECT_FALSE(l.started());
    EXPECT_EQ(l.frTemplateVersion, 24);
    EXPECT_TRUE(l.applicationComponents().isEmpty());
    EXPECT_EQ(l.frCurrentReportOwner(), nullptr);
    EXPECT_EQ(l.evalState.depth, 0);
    EXPECT_EQ(frLoadString(55098), QStringLiteral("Enfant")) << "the hook is gone";
    l.start();
    EXPECT_EQ(l.frVariables->Count(), 0);
    l.end();
    EXPECT_FALSE(l.started());
}

TEST_F(ContextTest, TextRoutines)
{
    EXPECT_DOUBLE_EQ(frStrToFloat(QStringLiteral("1,5")), 1.5);
    EXPECT_DOUBLE_EQ(frStrToFloat(QStringLiteral("1.5")), 1.5);
    EXPECT_DOUBLE_EQ(frStrToFloat(QStringLiteral(" \t-2,25\r\n")), -2.25);
    EXPECT_THROW(frStrToFloat(QStringLiteral("1,5x")), platform::EConvertError);

    EXPECT_EQ(frRemoveQuotes(QStringLiteral("\"x\"")), QStringLiteral("x"));
    EXPECT_EQ(frRemoveQuotes(QStringLiteral("\"")), QStringLiteral("\""));
    EXPECT_EQ(frRemoveQuotes(QStringLiteral("\"\"")), QStringLiteral("\"\""));
    EXPECT_EQ(frRemoveQuotes(QStringLiteral("\"a")), QStringLiteral("\"a"));

    QStringList list{QStringLiteral("old")};
    frSplitList(QStringLiteral("a;b;"), list);
    EXPECT_EQ(list, (QStringList{"a", "b"}));
    frSplitList(QStringLiteral("a;;b"), list);
    EXPECT_EQ(list, (QStringList{"a", "", "b"}));
    frSplitList(QString(), list);
    EXPECT_TRUE(list.isEmpty());
    int pos = 1;
    EXPECT_EQ(frGetNextItem(QStringLiteral("ab;c"), pos), QStringLiteral("ab"));
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(frGetNextItem(QStringLiteral("ab;c"), pos), QStringLiteral("c"));
    EXPECT_EQ(pos, 5);

    EXPECT_EQ(frGetWindowsVersion(), QStringLiteral("NT"));
    EXPECT_EQ(frUpperCase(QStringLiteral("straße àéÿœšž µ")), QStringLiteral("STRAßE ÀÉŸŒŠŽ µ"));
    EXPECT_TRUE(frSameText(QStringLiteral("Données"), QStringLiteral("DONNÉES")));
    EXPECT_LT(frCompareText(QStringLiteral("a"), QStringLiteral("B")), 0);
    EXPECT_LT(frCompareText(QStringLiteral("Z"), QStringLiteral("é")), 0)
        << "accented letters sort after Z by their codes";
}
