// The function libraries: registration, the descriptions of the expression
// builder, and the standard functions evaluated through the global parser.
#include "objects_fixture.h"

#include "platform/dialogs/dialogs.h"
#include "platform/format/editmask.h"
#include "platform/format/format.h"
#include "report/build/frformat.h"
#include "report/build/frfunclib.h"
#include "report/build/frinterpretator.h"
#include "report/build/frstdfunc.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/layout/frmemolayout.h"
#include "report/objects/frband.h"
#include "report/objects/frchartdata.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "tests/support/gui/fakes.h"

#include <functional>

using namespace report;
using namespace report::test;

namespace
{

// A library that answers one name with its own class name.
class NamedLibrary : public TfrFunctionLibrary
{
public:
    explicit NamedLibrary(const QString &function) { List.append(function); }
    void DoFunction(int, const FrVariant &, const FrVariant &, const FrVariant &,
                    FrVariant &val) override
    {
        val = FrVariant(ClassName());
    }
};

class FunctionsTest : public ObjectsTest
{
protected:
    void SetUp() override
    {
        ObjectsTest::SetUp();
        fakes = std::make_unique<vorn_test::SeamFakes>();
        // The callers' protocol: "0", then every library in order; names
        // from the variables and constants.
        TfrParser &parser = *fr().frGlobalParser;
        parser.OnFunction = [](const QString &name, const FrVariant &p1, const FrVariant &p2,
                               const FrVariant &p3, FrVariant &val) {
            val = FrVariant(QStringLiteral("0"));
            for (const auto &lib : frObjects().frFunctionLibraryList)
                if (lib->OnFunction(name, p1, p2, p3, val))
                    return;
        };
        parser.OnGetValue = [](const QString &name, FrVariant &value) {
            if (const FrVariant *v = fr().frVariables->find(name))
                value = *v;
            else if (const FrVariant *c = fr().frConsts->find(name))
                value = *c;
        };
    }
    void TearDown() override
    {
        fakes.reset();
        ObjectsTest::TearDown();
    }

    QString calc(const QString &expression)
    {
        return fr().frGlobalParser->Calc(expression).toString();
    }
    TfrInstalledFunctions &installed() { return *frObjects().frInstalledFunctions; }

    std::unique_ptr<vorn_test::SeamFakes> fakes;
};

TEST_F(FunctionsTest, StandardFunctionsInAnyCase)
{
    fr().frVariables->SetVariable(QStringLiteral("Jour"),
                                  FrVariant::fromDate(platform::EncodeDate(2024, 3, 16)));
    const struct {
        const char *expression;
        const char *expected;
    } cases[] = {
        {"NAMECASE('jEAN dupont')", "Jean dupont"},
        {"namecase('')", ""},
        {"FORMATFLOAT('#,##0.00', 1234.5)", "1 234,50"},
        {"formatfloat('0.0;(0.0)', -2)", "(2,0)"},
        {"FORMATDATETIME('dddd d mmmm yyyy', [Jour])", "Samedi 16 mars 2024"},
        {"FORMATTEXT('00-00-00', '123456')", "12-34-56"},
        {"formattext('!000', '12')", " 12"},
        {"DAYOF([Jour])", "16"},
        {"MonthOf([Jour])", "3"},
        {"YEAROF([Jour] + 366)", "2025"},
        {"LENGTH('été')", "3"},
        {"LENGTH('')", "0"},
        {"LOWERCASE('ÉTÉ À Œuvre')", "été à œuvre"},
        {"UPPERCASE('garçon ÿ')", "GARÇON Ÿ"},
        {"TRIM('  a b  ')", "a b"},
        {"POS('b', 'abc')", "2"},
        {"POS('z', 'abc')", "0"},
        {"MAXNUM(3, 5)", "5"},
        {"MAXNUM('b', 'a')", "b"},
        {"MINNUM(3, 5)", "3"},
        {"MINNUM(-1, 2) + 10", "9"},
        {"UPPERCASE(NAMECASE('aBC')) + LOWERCASE('X')", "ABCx"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(calc(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected))
            << c.expression;
}

TEST_F(FunctionsTest, UnknownNumberAndUnknownNameLeaveZero)
{
    TfrStdFunctionLibrary lib;
    FrVariant val(QStringLiteral("x"));
    lib.DoFunction(21, FrVariant(), FrVariant(), FrVariant(), val);
    EXPECT_TRUE(val.identical(FrVariant(QStringLiteral("0"))));

    FrVariant untouched(QStringLiteral("x"));
    EXPECT_FALSE(
        lib.OnFunction(QStringLiteral("NOSUCH"), FrVariant(), FrVariant(), FrVariant(), untouched));
    EXPECT_TRUE(untouched.identical(FrVariant(QStringLiteral("x"))));
    EXPECT_EQ(calc(QStringLiteral("NOSUCH(1)")), QStringLiteral("0"));
}

TEST_F(FunctionsTest, MessageBoxAndInputGoThroughTheDialogs)
{
    fakes->dialogs.answers.push_back(platform::mrYes);
    EXPECT_EQ(
        calc(QStringLiteral("MESSAGEBOX('Continuer ?', 'Titre', mb_YesNo + mb_IconQuestion)")),
        QStringLiteral("6"));
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    const platform::MessageRequest &box = fakes->dialogs.messages.front();
    EXPECT_EQ(std::tuple(box.text, box.caption, box.type),
              std::tuple(QStringLiteral("Continuer ?"), QStringLiteral("Titre"),
                         platform::mtConfirmation));
    EXPECT_EQ(box.buttons, platform::MsgDlgButtons(platform::mbYes | platform::mbNo));

    EXPECT_EQ(calc(QStringLiteral("messagebox('Erreur', '', mb_OkCancel + mb_IconError)")),
              QStringLiteral("1"));
    EXPECT_EQ(fakes->dialogs.messages.back().type, platform::mtError);
    EXPECT_EQ(fakes->dialogs.messages.back().buttons, platform::mbOKCancel);

    EXPECT_EQ(calc(QStringLiteral("MESSAGEBOX('Fini')")), QStringLiteral("1"));
    EXPECT_EQ(fakes->dialogs.messages.back().buttons, platform::MsgDlgButtons(platform::mbOK));
    EXPECT_EQ(fakes->dialogs.messages.back().type, platform::mtCustom);

    fakes->dialogs.inputs.push_back(QStringLiteral("Martin"));
    EXPECT_EQ(calc(QStringLiteral("INPUT('Nom ?', 'Dupont')")), QStringLiteral("Martin"));
    fakes->dialogs.inputs.push_back(std::nullopt);
    EXPECT_EQ(calc(QStringLiteral("INPUT('Nom ?', 'Dupont')")), QStringLiteral("Dupont"));
    EXPECT_EQ(calc(QStringLiteral("INPUT('Ville ?')")), QString());
    ASSERT_EQ(fakes->dialogs.inputRequests.size(), 3u);
    EXPECT_TRUE(fakes->dialogs.inputRequests[0].caption.isEmpty());
    EXPECT_EQ(fakes->dialogs.inputRequests[0].prompt, QStringLiteral("Nom ?"));
    EXPECT_EQ(fakes->dialogs.inputRequests[0].text, QStringLiteral("Dupont"));
    EXPECT_TRUE(fakes->dialogs.inputRequests[2].text.isEmpty());
}

// The descriptions of the expression builder, in the order they are given.
struct DescriptionRow {
    const char *name;
    int category;
    int text;
    const char *syntax;
};
const DescriptionRow kDescriptions[] = {
    {"AVG", 55349, 55360, "AVG(<Expression> [,BandName [,1]])"},
    {"COUNT", 55349, 55361, "COUNT(<BandName>)"},
    {"DAYOF", 55350, 55362, "DAYOF(<Date>)"},
    {"FORMATDATETIME", 55351, 55363, "FORMATDATETIME(<Fmt>, <DateTime>)"},
    {"FORMATFLOAT", 55351, 55364, "FORMATFLOAT(<Fmt>, <Numeric>)"},
    {"FORMATTEXT", 55351, 55416, "FORMATTEXT(<Mask>, <String>)"},
    {"INPUT", 55352, 55365, "INPUT(<Caption> [,Default])"},
    {"LENGTH", 55351, 55366, "LENGTH(<String>)"},
    {"LOWERCASE", 55351, 55367, "LOWERCASE(<String>)"},
    {"MAX", 55349, 55368, "MAX(<Expression> [,BandName [,1]])"},
    {"MIN", 55349, 55369, "MIN(<Expression> [,BandName [,1]])"},
    {"MONTHOF", 55350, 55370, "MONTHOF(<Date>)"},
    {"NAMECASE", 55351, 55371, "NAMECASE(<String>)"},
    {"STRTODATE", 55350, 55372, "STRTODATE(<String>)"},
    {"STRTOTIME", 55350, 55373, "STRTOTIME(<String>)"},
    {"SUM", 55349, 55374, "SUM(<Expression> [,BandName [,1]])"},
    {"TRIM", 55351, 55375, "TRIM(<String>)"},
    {"UPPERCASE", 55351, 55376, "UPPERCASE(<String>)"},
    {"YEAROF", 55350, 55377, "YEAROF(<Date>)"},
    {"MAXNUM", 55353, 55412, "MAXNUM(<Value1>, <Value2>)"},
    {"MINNUM", 55353, 55413, "MINNUM(<Value1>, <Value2>)"},
    {"POS", 55351, 55414, "POS(<SubString>, <String>)"},
    {"MESSAGEBOX", 55352, 55415, "MESSAGEBOX(<Text>, <Title>, <Buttons>)"},
    {"IF", 55352, 55378, "IF(<Expression>, <Value1>, <Value2>)"},
    {"COPY", 55351, 55379, "COPY(<String>, <From>, <Count>)"},
    {"MOD", 55353, 55380, "<Value1> MOD <Value2>"},
    {"STR", 55351, 55381, "STR(<Value>)"},
    {"NOT", 55354, 55382, "NOT <Value>"},
    {"AND", 55354, 55383, "<Value1> AND <Value2>"},
    {"OR", 55354, 55384, "<Value1> OR <Value2>"},
    {"ROUND", 55353, 55385, "ROUND(<Value>)"},
    {"FRAC", 55353, 55386, "FRAC(<Value>)"},
    {"INT", 55353, 55387, "INT(<Value>)"},
    {"TRUE", 55354, 55388, "TRUE"},
    {"FALSE", 55354, 55389, "FALSE"},
    {"PAGE#", 55352, 55390, "PAGE#"},
    {"DATE", 55350, 55391, "DATE"},
    {"TIME", 55350, 55392, "TIME"},
    {"LINE#", 55352, 55393, "LINE#"},
    {"LINETHROUGH#", 55352, 55394, "LINETHROUGH#"},
    {"COLUMN#", 55352, 55395, "COLUMN#"},
    {"TOTALPAGES", 55352, 55396, "TOTALPAGES"},
    {"MROK", 55355, 55397, "MROK"},
    {"MRCANCEL", 55355, 55398, "MRCANCEL"},
    {"CURY", 55355, 55399, "CURY"},
    {"FREESPACE", 55355, 55400, "FREESPACE"},
    {"FINALPASS", 55355, 55401, "FINALPASS"},
    {"PAGEHEIGHT", 55355, 55402, "PAGEHEIGHT"},
    {"PAGEWIDTH", 55355, 55403, "PAGEWIDTH"},
    {"PROGRESS", 55355, 55404, "PROGRESS"},
    {"MODALRESULT", 55355, 55405, "MODALRESULT"},
    {"STOPREPORT", 55355, 55406, "STOPREPORT"},
    {"NEWPAGE", 55355, 55407, "NEWPAGE"},
    {"NEWCOLUMN", 55355, 55408, "NEWCOLUMN"},
    {"SHOWBAND", 55355, 55409, "SHOWBAND(<BandName>)"},
    {"INC", 55355, 55410, "INC(<Value>)"},
    {"DEC", 55355, 55411, "DEC(<Value>)"},
};

TEST_F(FunctionsTest, TheStandardLibraryDescribesFiftySevenNames)
{
    ASSERT_EQ(frObjects().frFunctionLibraryList.size(), 1u);
    EXPECT_EQ(frObjects().frFunctionLibraryList.front()->ClassName(),
              QStringLiteral("TfrStdFunctionLibrary"));
    ASSERT_EQ(installed().Count(), 57);
    for (int i = 0; i < 57; ++i) {
        const DescriptionRow &row = kDescriptions[i];
        const TfrFunctionDescription &d = installed().Item(i);
        EXPECT_EQ(d.funName, QString::fromLatin1(row.name)) << i;
        EXPECT_EQ(d.funGroup, frLoadString(row.category)) << row.name;
        EXPECT_EQ(d.funDescription, frLoadString(row.text)) << row.name;
        EXPECT_TRUE(d.funDescription.startsWith(QString::fromUtf8(row.syntax) + QLatin1Char('/')))
            << row.name;
    }
    EXPECT_EQ(installed().GetFunctionDescription(QStringLiteral("count")),
              QString::fromUtf8("COUNT(<BandName>)/Retourne le nombre de données dans la bande "
                                "<BandName>. "));
    QStringList categories;
    installed().GetCategories(categories);
    EXPECT_EQ(categories, QString::fromUtf8("Autre|Chaînes|Date et heure|Ensemble|Interpréteur|"
                                            "Logique|Mathématique")
                              .split(QLatin1Char('|')));
    QStringList names;
    installed().GetFunctionsOfCategory(QStringLiteral("ensemble"), names);
    EXPECT_EQ(names, QStringList({"AVG", "COUNT", "MAX", "MIN", "SUM"}));
    installed().GetFunctionsOfCategory(QString::fromUtf8("Toutes les fonctions"), names);
    EXPECT_EQ(std::tuple(names.size(), names.front(), names.back()),
              std::tuple(57, QStringLiteral("AND"), QStringLiteral("YEAROF")));
}

// Every function of the table, every formatter behind them (numbers, dates
// and times, edit masks, display formats), the expression reader and the
// memo's line wrapping, called with arguments of every shape: a run of each printable character,
// each alternating with the next one, pattern letters among literals. The
// characters they step over (the text seam) grow no faster than the
// argument: four times its length costs at most about four times the steps.
TEST_F(FunctionsTest, EveryFunctionAndFormatterCostsInProportionToItsArguments)
{
    QStringList units;
    for (char16_t c = 32; c < 127; ++c) {
        units.append(QString(QChar(c)));
        units.append(QString(QChar(c)) + QChar(c == 126 ? u' ' : char16_t(c + 1)));
    }
    for (const char *mixed :
         {"dx",    "d-",       "mm/",   "hh:nn ",  "c'x'", "yyyy\"", "am/pmx", "a/p",
          "ampmx", "tz.",      "0#,",   "0.0E+0x", "#'x'", "0;",     "!0L",    "\\0",
          "<>C",   "x y,z-w.", "a-b c", "1.][1.",  "a.",   "+'x'",   "'..'",   "\".\"."})
        units.append(QString::fromLatin1(mixed));

    // The function table as the expression builder lists it, its syntax
    // made a call: the argument under test in [S], the others in [V].
    using Caller = std::function<void(const QString &)>;
    std::vector<std::pair<QString, Caller>> rows;
    for (int i = 0; i < installed().Count(); ++i) {
        QString syntax = installed().Item(i).funDescription.section(QLatin1Char('/'), 0, 0);
        // Optional arguments left out: " [,BandName [,1]]".
        if (const qsizetype optional = syntax.indexOf(QLatin1String(" [,")); optional >= 0)
            syntax = syntax.left(optional) + QLatin1Char(')');
        const int arguments = int(syntax.count(QLatin1Char('<')));
        for (int under = 0; under <= arguments; ++under) {
            QString call = syntax;
            for (int k = 0; k < arguments; ++k) {
                const qsizetype a = call.indexOf(QLatin1Char('<'));
                const qsizetype b = call.indexOf(QLatin1Char('>'), a);
                call.replace(a, b - a + 1,
                             QLatin1String(k == under || under == arguments ? "[S]" : "[V]"));
            }
            rows.emplace_back(call, [this, call](const QString &s) {
                fr().frVariables->SetVariable(QStringLiteral("S"), FrVariant(s));
                calc(call);
            });
            if (arguments == 0)
                break;
        }
    }
    ASSERT_GE(rows.size(), 80u);
    // The argument written into the expression itself, alone and after a
    // binary operator (a run of signs there is a run of prefix operators).
    for (const char *call : {"LENGTH(%1)", "LENGTH(1 * %1 1 + 1)"})
        rows.emplace_back(QLatin1String(call),
                          [this, call](const QString &s) { calc(QLatin1String(call).arg(s)); });
    const FrVariant date = FrVariant::fromDate(platform::EncodeDate(2024, 3, 16) + 0.6);
    const auto display = &TfrReport::FormatDisplayValue;
    for (const int category : {fcNumber, fcDate, fcTime, fcBoolean}) {
        const qint32 custom = frMakeFormat(category, kFrCustomKind, 0, QChar());
        const qint32 standard = frMakeFormat(category, 0, 2, QChar());
        rows.emplace_back(QStringLiteral("display pattern %1").arg(category),
                          [=](const QString &s) { display(date, custom, s); });
        rows.emplace_back(QStringLiteral("display value %1").arg(category),
                          [=](const QString &s) { display(FrVariant(s), standard, QString()); });
    }
    for (const char *lead : {"N", "D", "T", "B", "2"})
        rows.emplace_back(
            QStringLiteral("inline #%1").arg(QLatin1String(lead)), [lead, date](const QString &s) {
                QString expression, inlineFormat, pattern;
                qint32 code = 0;
                const QString text = QStringLiteral("[Jour] #") + QLatin1String(lead) + s;
                if (frSplitInlineFormat(text, expression, inlineFormat) &&
                    frApplyInlineFormat(inlineFormat, code, pattern))
                    TfrReport::FormatDisplayValue(date, code, pattern);
            });
    rows.emplace_back(QStringLiteral("FormatMaskText"), [](const QString &s) {
        platform::FormatMaskText(s, s);
        platform::FormatMaskText(s + QStringLiteral(";1;_"), s);
    });
    rows.emplace_back(QStringLiteral("FormatFloat"), [](const QString &s) {
        platform::FormatFloat(s, -1234.5678);
        platform::FormatFloat(s, 0.0);
    });
    for (const bool wordBreak : {false, true})
        rows.emplace_back(QStringLiteral("memo lines %1").arg(wordBreak), [=](const QString &s) {
            FrWrapSettings settings;
            settings.wordBreak = wordBreak;
            settings.advances = QList<int>(s.size(), 6);
            settings.hyphenAdvance = 6;
            QStringList out;
            frWrapLine(s, 100, settings, out);
        });

    // The other places the engine reads a template's text, the argument
    // written there: a memo (a bracket running over its lines, the
    // expressions aggregates are looked for in), an object's script, a
    // highlight condition, a group condition, the dictionary (a variable's
    // value, an alias read from a stream), a chart's value.
    struct Place {
        QString memo, script, highlight, group, variable;
    };
    QObject owner;
    const auto build = [&owner](const Place &p) {
        TfrParser &parser = *fr().frGlobalParser;
        const auto value = parser.OnGetValue;
        const auto function = parser.OnFunction;
        {
            TfrReport report(&owner);
            report.ShowProgress = false;
            TfrPage *page = report.Pages().Add();
            const auto band = [page](int type, int y, const QString &text) {
                auto v = std::make_unique<TfrBandView>();
                v->SetBandType(type);
                v->SetBounds(0, y, 700, 40);
                v->FormatStr = text;
                page->Add(std::move(v));
            };
            band(btMasterData, 100, QStringLiteral("2"));
            if (!p.group.isNull())
                band(btGroupHeader, 50, p.group);
            band(btReportSummary, 200, QString());
            auto m = std::make_unique<TfrMemoView>();
            m->SetBounds(20, 200, 300, 40);
            m->Memo = p.memo.split(QLatin1Char('\n'));
            if (!p.script.isNull())
                m->Script = p.script.split(QLatin1Char('\n'));
            m->HighlightCondition = p.highlight;
            page->Add(std::move(m));
            if (!p.variable.isNull())
                report.Dictionary().Variables.SetVariable(QStringLiteral("V"), p.variable);
            report.PrepareReport();
        }
        parser.OnGetValue = value;
        parser.OnFunction = function;
    };
    // A line break every 128 characters.
    const auto lines = [](QString s) {
        for (qsizetype k = s.size() - s.size() % 128; k > 0; k -= 128)
            s.insert(k, QLatin1Char('\n'));
        return s;
    };
    const std::pair<const char *, std::function<Place(const QString &)>> places[] = {
        {"memo [S]",
         [](const QString &s) {
             return Place{"[" + s + "]", {}, {}, {}, {}};
         }},
        {"memo over lines",
         [&](const QString &s) {
             return Place{"[1" + lines(s) + "]", {}, {}, {}, {}};
         }},
        {"memo aggregate",
         [](const QString &s) {
             return Place{"[SUM(" + s + ")] [" + s + "]", {}, {}, {}, {}};
         }},
        {"memo format",
         [](const QString &s) {
             return Place{"[1.5 #D" + s + "]", {}, {}, {}, {}};
         }},
        {"script value",
         [&](const QString &s) {
             return Place{"", "a := [" + lines(s) + "]", {}, {}, {}};
         }},
        {"script target",
         [](const QString &s) {
             return Place{"", "a" + s + " := 1", {}, {}, {}};
         }},
        {"script join",
         [&](const QString &s) {
             return Place{"", "a := 'x'" + lines(s), {}, {}, {}};
         }},
        {"highlight",
         [](const QString &s) {
             return Place{"", {}, s, {}, {}};
         }},
        {"highlight [S]",
         [](const QString &s) {
             return Place{"", {}, "[" + s + "]", {}, {}};
         }},
        {"group",
         [](const QString &s) {
             return Place{"", {}, {}, s, {}};
         }},
        {"variable",
         [](const QString &s) {
             return Place{"[V]", {}, {}, {}, s};
         }},
    };
    for (const auto &[name, place] : places)
        rows.emplace_back(QLatin1String(name),
                          [&build, &place](const QString &s) { build(place(s)); });
    rows.emplace_back(QStringLiteral("alias"), [](const QString &s) {
        FrMemoryStream stream;
        frWriteWord(stream, TfrDataDictionary::kPruningMarker);
        for (const int count : {0, 1, 0}) {
            frWriteInteger(stream, count);
            if (count)
                frWriteString(stream, s), frWriteString(stream, QString());
        }
        stream.seek(0);
        TfrDataDictionary().LoadFromStream(stream);
    });
    rows.emplace_back(QStringLiteral("chart value"), [](const QString &s) {
        frChartValue(QLatin1Char('1') + s + QStringLiteral(",1"));
    });

    fr().frVariables->SetVariable(QStringLiteral("V"), FrVariant(1.5));
    constexpr int kSmall = 512;
    const auto steps = [](const Caller &call, const QString &argument) {
        const std::uint64_t before = platform::TextSteps();
        try {
            call(argument);
        } catch (const std::exception &) {
            // A refusal (a text that is no number) is a result like another.
        }
        return platform::TextSteps() - before;
    };
    for (const QString &unit : units) {
        QString small, large;
        while (small.size() < kSmall)
            small += unit;
        small.truncate(kSmall);
        for (int k = 0; k < 4; ++k)
            large += small;
        for (const auto &[name, call] : rows) {
            const std::uint64_t a = steps(call, small), b = steps(call, large);
            EXPECT_LE(b, 4 * a + a / 4 + 64)
                << name.toStdString() << " over \"" << unit.toStdString() << "\": " << a
                << " steps at " << kSmall << " characters, " << b << " at " << 4 * kSmall;
        }
    }
}

TEST_F(FunctionsTest, FormatTextDescriptionIsReadPastTheLocalisationHook)
{
    fr().end();
    frLocale().OnLocalize = [](int id, QString &text) {
        if (id >= 55360)
            text = QStringLiteral("traduit");
    };
    fr().start();
    EXPECT_EQ(installed().GetFunctionDescription(QStringLiteral("FORMATTEXT")),
              QStringLiteral("FORMATTEXT(<Mask>, <String>)/Applies <Mask> to given <String> and "
                             "returns formatted string."));
    EXPECT_EQ(installed().GetFunctionDescription(QStringLiteral("TRIM")),
              QStringLiteral("traduit"));
    frLocale().OnLocalize = nullptr;
}

TEST_F(FunctionsTest, RegistryKeepsOneLibraryPerClassAndGrows)
{
    for (int i = 1; i <= 40; ++i) {
        const QString cls = QStringLiteral("TLib%1").arg(i);
        frRegisterFunctionLibrary(cls, [i] {
            auto lib = std::make_unique<NamedLibrary>(
                QStringLiteral("F%1").arg(i, 2, 10, QLatin1Char('0')));
            lib->AddFunctionDesc(lib->List.front(), QStringLiteral("Mes fonctions"),
                                 QStringLiteral("F/Une des miennes."));
            return lib;
        });
    }
    // Registering a class again changes nothing.
    int created = 0;
    frRegisterFunctionLibrary(QStringLiteral("TLib7"), [&created] {
        ++created;
        return std::make_unique<NamedLibrary>(QStringLiteral("X"));
    });
    EXPECT_EQ(created, 0);
    auto &list = frObjects().frFunctionLibraryList;
    ASSERT_EQ(list.size(), 41u);
    EXPECT_EQ(calc(QStringLiteral("F40(1)")), QStringLiteral("TLib40"));
    EXPECT_EQ(calc(QStringLiteral("f07(1)")), QStringLiteral("TLib7"));
    EXPECT_EQ(installed().Count(), 57 + 40);

    frUnRegisterFunctionLibrary(QStringLiteral("TLib7"));
    ASSERT_EQ(list.size(), 40u);
    EXPECT_EQ(list[6]->ClassName(), QStringLiteral("TLib6"));
    EXPECT_EQ(list[7]->ClassName(), QStringLiteral("TLib8"));
    EXPECT_EQ(calc(QStringLiteral("F07(1)")), QStringLiteral("0"));
    EXPECT_TRUE(installed().GetFunctionDescription(QStringLiteral("F07")).isEmpty());
    EXPECT_EQ(installed().Count(), 57 + 39);
    frUnRegisterFunctionLibrary(QStringLiteral("TNoSuchLib"));
    EXPECT_EQ(list.size(), 40u);

    // The end of the library takes the standard library out, not the others.
    frUnRegisterFunctionLibrary(QStringLiteral("TfrStdFunctionLibrary"));
    EXPECT_EQ(installed().Count(), 39);
    EXPECT_EQ(calc(QStringLiteral("NAMECASE('abc')")), QStringLiteral("0"));
}

TEST_F(FunctionsTest, DescriptionsKeepTheFirstOfANameAndFoldCategories)
{
    NamedLibrary lib(QStringLiteral("A"));
    TfrInstalledFunctions list;
    const struct {
        const char *name;
        const char *category;
        bool kept;
    } adds[] = {
        {"Alpha", "Chaînes", true}, {"Alpha", "Autre", false}, // same name
        {"ALPHA", "Autre", true},                              // names compare with their case
        {"Beta", "", false},                                   // no category
        {"Gamma", "CHAÎNES", true}, {"delta", "chaînes", true},
    };
    for (const auto &a : adds) {
        const int before = list.Count();
        list.Add(&lib, QString::fromUtf8(a.name), QStringLiteral("d"),
                 QString::fromUtf8(a.category));
        EXPECT_EQ(list.Count() - before, a.kept ? 1 : 0) << a.name << " " << a.category;
    }
    QStringList categories;
    list.GetCategories(categories);
    EXPECT_EQ(categories, QStringList({"Autre", QString::fromUtf8("Chaînes")}));
    QStringList names;
    list.GetFunctionsOfCategory(QString::fromUtf8("CHAÎNES"), names);
    EXPECT_EQ(names, QStringList({"Alpha", "delta", "Gamma"}));
    list.GetFunctionsOfCategory(QString(), names);
    EXPECT_EQ(names.size(), 4);
    EXPECT_EQ(list.GetFunctionDescription(QStringLiteral("GAMMA")), QStringLiteral("d"));
}

// The aggregate functions register their keys with the data band being
// prepared, then read what it accumulated.
class AggregateFunctionsTest : public FunctionsTest
{
protected:
    void SetUp() override
    {
        FunctionsTest::SetUp();
        page = report.Pages().Add();
        for (const auto &[name, type] :
             {std::pair{"MasterData1", btMasterData}, std::pair{"DetailData1", btDetailData},
              std::pair{"GroupFooter1", btGroupFooter}, std::pair{"DetailFooter1", btDetailFooter},
              std::pair{"ReportSummary1", btReportSummary},
              std::pair{"PageHeader1", btPageHeader}}) {
            auto view = std::make_unique<TfrBandView>();
            view->Name = QString::fromLatin1(name);
            view->SetBandType(type);
            bands.push_back(std::make_unique<TfrBand>(view.get(), page));
            views.push_back(std::move(view));
        }
    }
    void TearDown() override
    {
        FrObjectGlobals &g = frObjects();
        g.frAggregatePrepare = false;
        g.frAggregateBand = nullptr;
        g.frCurrentBand = nullptr;
        bands.clear();
        FunctionsTest::TearDown();
    }
    TfrBand *band(const char *name)
    {
        for (const auto &b : bands)
            if (b->Name == QLatin1String(name))
                return b.get();
        return nullptr;
    }
    static QString key(const QString &head, int kind, const QString &expression,
                       const QString &flag)
    {
        const QChar s(char16_t(1));
        return head + s + QChar(char16_t(kind)) + s + expression + s + flag + s;
    }

    TfrReport report;
    TfrPage *page = nullptr;
    std::vector<std::unique_ptr<TfrBandView>> views;
    std::vector<std::unique_ptr<TfrBand>> bands;
};

TEST_F(AggregateFunctionsTest, RegistrationKeysByBandAndKind)
{
    const struct {
        const char *dataBand;
        const char *shownIn;
        const char *expression;
        const char *key; // "" when nothing registers
        int kind;
        const char *keyExpression;
        const char *flag;
    } cases[] = {
        {"MasterData1", "GroupFooter1", "SUM([Montant])", "GroupFooter1", 11, "[Montant]", ""},
        {"MasterData1", "GroupFooter1", "min([Montant], MasterData1, 1)", "GroupFooter1", 12,
         "[Montant]", "1"},
        {"MasterData1", "ReportSummary1", "Max([Note], masterdata1 )", "ReportSummary1", 13,
         "[Note]", ""},
        {"MasterData1", "ReportSummary1", "AVG([Note])", "ReportSummary1", 14, "[Note]", ""},
        {"MasterData1", "ReportSummary1", "COUNT(MasterData1)", "ReportSummary1", 15, "MasterData1",
         ""},
        {"MasterData1", "ReportSummary1", "COUNT(MasterData1, 1)", "ReportSummary1", 15,
         "MasterData1", "1"},
        // another band's aggregates, or a band that shows none by default
        {"MasterData1", "GroupFooter1", "SUM([x], DetailData1)", "", 0, "", ""},
        {"DetailData1", "ReportSummary1", "SUM([x])", "", 0, "", ""},
        {"MasterData1", "PageHeader1", "SUM([x])", "", 0, "", ""},
        {"DetailData1", "DetailFooter1", "SUM([y])", "DetailFooter1", 11, "[y]", ""},
    };
    FrObjectGlobals &g = frObjects();
    g.frAggregatePrepare = true;
    for (const auto &c : cases) {
        TfrBand *data = band(c.dataBand);
        TfrBand *shown = band(c.shownIn);
        const int before = data->Values.Count();
        shown->AggregateBand = nullptr;
        g.frAggregateBand = data;
        g.frCurrentBand = shown;
        EXPECT_EQ(calc(QString::fromLatin1(c.expression)), QStringLiteral("0")) << c.expression;
        if (!*c.key) {
            EXPECT_EQ(data->Values.Count(), before) << c.expression;
            EXPECT_EQ(shown->AggregateBand, nullptr) << c.expression;
            continue;
        }
        const QString k = key(QString::fromLatin1(c.key), c.kind,
                              QString::fromLatin1(c.keyExpression), QString::fromLatin1(c.flag));
        EXPECT_EQ(data->Values.Count(), before + 1) << c.expression;
        EXPECT_GE(data->Values.IndexOf(k), 0) << c.expression;
        EXPECT_EQ(shown->AggregateBand, data) << c.expression;
    }
}

TEST_F(AggregateFunctionsTest, FooterWithoutBandNameRegistersOnEveryMasterData)
{
    auto view = std::make_unique<TfrBandView>();
    view->Name = QStringLiteral("MasterData2");
    view->SetBandType(btMasterData);
    bands.push_back(std::make_unique<TfrBand>(view.get(), page));
    views.push_back(std::move(view));
    FrObjectGlobals &g = frObjects();
    g.frAggregatePrepare = true;
    g.frCurrentBand = band("GroupFooter1");
    for (const char *data : {"MasterData1", "MasterData2"}) {
        g.frAggregateBand = band(data);
        calc(QStringLiteral("SUM([Montant])"));
    }
    const QString k =
        key(QStringLiteral("GroupFooter1"), 11, QStringLiteral("[Montant]"), QString());
    EXPECT_GE(band("MasterData1")->Values.IndexOf(k), 0);
    EXPECT_GE(band("MasterData2")->Values.IndexOf(k), 0);
    EXPECT_EQ(band("GroupFooter1")->AggregateBand, band("MasterData2"));
}

TEST_F(AggregateFunctionsTest, CrossObjectsPrefixTheTemplateKey)
{
    FrObjectGlobals &g = frObjects();
    g.frAggregatePrepare = true;
    g.frAggregateBand = band("MasterData1");
    g.frCurrentBand = band("GroupFooter1");
    band("GroupFooter1")->HasCrossObjects = true;
    calc(QStringLiteral("SUM([x])"));
    const QString head = QStringLiteral("0") + QChar(char16_t(1)) + QStringLiteral("GroupFooter1");
    EXPECT_GE(band("MasterData1")->Values.IndexOf(key(head, 11, QStringLiteral("[x]"), QString())),
              0);
}

TEST_F(AggregateFunctionsTest, PrintingReadsTheDataBandsValue)
{
    FrObjectGlobals &g = frObjects();
    TfrBand *master = band("MasterData1");
    TfrBand *footer = band("GroupFooter1");
    g.frCurrentBand = footer;
    EXPECT_EQ(calc(QStringLiteral("SUM([Montant])")), QStringLiteral("0"));

    g.frAggregatePrepare = true;
    g.frAggregateBand = master;
    calc(QStringLiteral("SUM([Montant])"));
    calc(QStringLiteral("COUNT(MasterData1)"));
    g.frAggregatePrepare = false;
    master->SetAggregateValue(
        key(QStringLiteral("GroupFooter1"), 11, QStringLiteral("[Montant]"), QString()),
        FrVariant(42.5));
    master->SetAggregateValue(
        key(QStringLiteral("GroupFooter1"), 15, QStringLiteral("MasterData1"), QString()),
        FrVariant(3));
    EXPECT_EQ(calc(QStringLiteral("sum([Montant])")), QStringLiteral("42,5"));
    EXPECT_EQ(calc(QStringLiteral("COUNT(MasterData1)")), QStringLiteral("3"));
    EXPECT_EQ(calc(QStringLiteral("MAX([Montant])")), QStringLiteral("0"));
}

} // namespace
