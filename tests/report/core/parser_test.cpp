// The expression language: postfix goldens, worked values, the operator
// priorities and their corrected prefix operators, callbacks, errors.
#include "platform/text/exceptions.h"
#include "report/core/frexceptions.h"
#include "report/core/frutils.h"
#include "report/expr/frvariables.h"
#include "report_core_fixture.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace report;
using report::test::ch;
using report::test::MapParser;
using report::test::ReportCoreTest;

class ParserTest : public ReportCoreTest
{
protected:
    MapParser m;
};

TEST_F(ParserTest, PostfixGoldens)
{
    struct Case {
        const char *text;
        QString postfix;
    } cases[] = {
        {"2+3*4", "2 3 4 *+"},
        {"-[A]", "[A] " + ch(9)},
        {"INT([X]/2)", "[X] 2 /" + ch(6)},
        {"A=1 AND B=2", "A 1 B " + ch(5) + "=2 ="},
        {"2*-3", "2 3 " + ch(9) + "*"},
        {"1 AND NOT 0", "1 0 " + ch(12) + ch(5)},
        {"3 / -5 / 4", "3 5 " + ch(9) + "/4 /"},
        {"7 / -1 * 5", "7 1 " + ch(9) + "/5 *"},
        {"1 - -2*3", "1 2 3 *" + ch(9) + "-"},
        {"a >= 1", "a 1 " + ch(1)},
        {"a<=1", "a 1 " + ch(2)},
        {"a <> 'x'", "a 'x' " + ch(3)},
        {"10-4-3", "10 4 -3 -"},
        {"COPY([N], 1, 3) + 'x'", "COPY([N], 1, 3)'x' +"},
        {"A[2] * 2", "A[2] 2 *"},
        {"7 mod 2", "7 2 " + ch(13)},
        {"1+1; garbage", "1 1 +"},
        {"f(1) ; g(2)", "f(1)"},
        {"a;b", "a "},
        {"(1+2", "1 2 +"},
        {"%dX + 1", "%dX 1 +"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m.parser.ConvertToPostfix(QString::fromUtf8(c.text)), c.postfix) << c.text;
}

TEST_F(ParserTest, WorkedValues)
{
    m.values[QStringLiteral("N")] = FrVariant::null();
    m.values[QStringLiteral("PRICE")] = FrVariant(12.5);
    struct Case {
        const char *text;
        FrVariant expected;
    } cases[] = {
        {"", FrVariant(0)},
        {"5/0", FrVariant(0)},
        {"7 MOD 2", FrVariant(1)},
        {"1 OR 1", FrVariant(2.0)},
        {"2 AND 3", FrVariant(6.0)},
        {"NOT 0", FrVariant(1)},
        {"NOT 5", FrVariant(0)},
        {"2+3*4", FrVariant(14.0)},
        {"(2+3)*4", FrVariant(20.0)},
        {"10-4-3", FrVariant(3.0)},
        {"-2*3", FrVariant(-6.0)},
        {"1,5+1", FrVariant(2.5)},
        {"1.5+1", FrVariant(2.5)},
        {"'It''s'", FrVariant("It's")},
        {"'a'+'b'", FrVariant("ab")},
        {"INT(2.9999999999999)", FrVariant(3.0)},
        {"INT(-2.5)", FrVariant(-2.0)},
        {"FRAC(-2.25)", FrVariant(-0.25)},
        {"FRAC(2.99999999999)", FrVariant(0.0)},
        {"ROUND(2.5)", FrVariant(2)},
        {"ROUND(3.5)", FrVariant(4)},
        {"ROUND(-2.5)", FrVariant(-2)},
        {"IF(1>2, 'a', 'b')", FrVariant("b")},
        {"IF(0.5, 'a', 'b')", FrVariant("b")},
        {"IF(TRUE,'a','b')", FrVariant("a")},
        {"IF(FALSE,'a','b')", FrVariant("b")},
        {"IF([N],'a','b')", FrVariant("b")},
        {"IF([UNKNOWN],'a','b')", FrVariant("b")},
        {"IF('2,5','a','b')", FrVariant("a")},
        {"COPY('abcdef', 2, 3)", FrVariant("bcd")},
        {"COPY('abc', 0, 2)", FrVariant("ab")},
        {"COPY('abc', 2, -1)", FrVariant("")},
        {"COPY('abc', 2, 10)", FrVariant("bc")},
        {"COPY('abc', 9, 1)", FrVariant("")},
        {"STR([N])", FrVariant("")},
        {"STR(1/3)", FrVariant("0,333333333333333")},
        {"STR(2.5)", FrVariant("2,5")},
        {"STR(TRUE)", FrVariant("True")},
        {"1+1; garbage", FrVariant(2.0)},
        {"1+2)", FrVariant(3.0)},
        {"2*-3", FrVariant(-6.0)},
        {"1 AND NOT 0", FrVariant(1.0)},
        {"5 - -2", FrVariant(7.0)},
        {"3 / -5 / 4", FrVariant(-0.15)},
        {"7 / -1 * 5", FrVariant(-35.0)},
        {"2 * -3 * 4", FrVariant(-24.0)},
        {"8 - -2 * 3", FrVariant(14.0)},
        {"10 / -2 MOD 3", FrVariant(-2)},
        {"6 * NOT 0 / 2", FrVariant(3.0)},
        {"2 * NOT 0", FrVariant(2.0)},
        {"-(2+3)", FrVariant(-5.0)},
        {"+4", FrVariant(4.0)},
        {"1+(1+(1+(1+(1+(1+(1+(1+(1+(1+1))))))))))", FrVariant(11.0)},
        {"A=1 AND B=2", FrVariant(0)},
        {"price * 2", FrVariant(25.0)},
        {"TRUE + 1", FrVariant(2.0)},
        {"'2' + 3", FrVariant(5.0)},
        {"'2' + '3'", FrVariant("23")},
        {"[N] + 1", FrVariant::null()},
        {"[N] = [N]", FrVariant(1)},
        {"[N] = 0", FrVariant(0)},
        {"[N] < 0", FrVariant(1)},
        {"'B' < 'a'", FrVariant(1)},
        {"'é' > 'z'", FrVariant(1)},
        {"'10' > 9", FrVariant(1)},
        {"-7 MOD 2", FrVariant(-1)},
        {"7.5 MOD 2", FrVariant(0)},
        {"6.5 MOD 4", FrVariant(2)},
        {"ROUND(2000000000) + ROUND(2000000000)", FrVariant(4e9)},
        // Whatever fits a 32-bit integer is one; beyond, the value stays a real.
        {"ROUND(-2147483648.4)", FrVariant(std::numeric_limits<int>::min())},
        {"ROUND(2147483647.4)", FrVariant(std::numeric_limits<int>::max())},
        {"ROUND(-2147483648.6)", FrVariant(-2147483649.0)},
        {"ROUND(2147483647.5)", FrVariant(2147483648.0)},
        {"ROUND(-1e300)", FrVariant(-1e300)},
        {"[UNKNOWN] + 1", FrVariant(1.0)},
        {"[UNKNOWN] + 'x'", FrVariant("x")},
    };
    for (const Case &c : cases) {
        FrVariant v;
        try {
            v = m.parser.Calc(QString::fromUtf8(c.text));
        } catch (const platform::Exception &e) {
            ADD_FAILURE() << c.text << " raised " << e.what();
            continue;
        }
        EXPECT_TRUE(v.identical(c.expected))
            << c.text << " gave " << v.toString().toStdString() << " (type " << int(v.type())
            << "), expected " << c.expected.toString().toStdString() << " (type "
            << int(c.expected.type()) << ")";
    }
}

namespace
{

// Ordinary arithmetic (unary minus on a primary, "*" and "/" before "+" and
// "-", left association, x / 0 = 0), as a reference for the conversion.
struct ReferenceArithmetic {
    const std::string &s;
    size_t i = 0;

    void blanks()
    {
        while (i < s.size() && s[i] == ' ')
            ++i;
    }
    double primary()
    {
        blanks();
        if (s[i] == '(') {
            ++i;
            double v = sum();
            blanks();
            ++i; // ")"
            return v;
        }
        if (s[i] == '-') {
            ++i;
            return -primary();
        }
        return s[i++] - '0';
    }
    double product()
    {
        double v = primary();
        for (blanks(); i < s.size() && (s[i] == '*' || s[i] == '/'); blanks()) {
            char op = s[i++];
            double w = primary();
            v = op == '*' ? v * w : (w == 0 ? 0 : v / w);
        }
        return v;
    }
    double sum()
    {
        double v = product();
        for (blanks(); i < s.size() && (s[i] == '+' || s[i] == '-'); blanks()) {
            char op = s[i++];
            double w = product();
            v = op == '+' ? v + w : v - w;
        }
        return v;
    }
};

std::string randomArithmetic(std::mt19937 &rng, int depth)
{
    const int kind = depth > 3 ? 0 : int(rng() % 6);
    switch (kind) {
    case 0:
        return std::to_string(rng() % 10);
    case 1:
        return "(" + randomArithmetic(rng, depth + 1) + ")";
    case 2:
        return "-" + randomArithmetic(rng, depth + 1);
    default: {
        static const char *const ops[] = {" + ", " - ", " * ", " / "};
        std::string left = randomArithmetic(rng, depth + 1);
        return left + ops[rng() % 4] + randomArithmetic(rng, depth + 1);
    }
    }
}

} // namespace

TEST_F(ParserTest, ArithmeticWithSignsAgreesWithOrdinaryRules)
{
    std::mt19937 rng(2024);
    int wrong = 0;
    for (int n = 0; n < 5000 && wrong < 10; ++n) {
        const std::string text = randomArithmetic(rng, 0);
        ReferenceArithmetic reference{text};
        const double expected = reference.sum();
        const double got = m.parser.Calc(QString::fromStdString(text)).toDouble();
        if (std::fabs(got - expected) > 1e-9 * std::max(1.0, std::fabs(expected))) {
            ADD_FAILURE() << text << " gave " << got << ", expected " << expected;
            ++wrong;
        }
    }
}

TEST_F(ParserTest, UnterminatedLiteralIsTheRestOfTheText)
{
    struct Case {
        const char *text;
        QString postfix;
        const char *value;
    } cases[] = {
        {"'abc", "'abc' ", "abc"},
        {"'abc' + 'de", "'abc' 'de' +", "abcde"},
        {"'a b  ", "'a b  ' ", "a b  "},
        {"'it''s", "'it''s' ", "it's"},
        {"'1+2; x", "'1+2; x' ", "1+2; x"},
        {"'", "'' ", ""},
        {"IF(1, 'a', 'b') + 'c", "IF(1, 'a', 'b')'c' +", "ac"},
        {"'x' + ('y' + 'z", "'x' 'y' 'z' ++", "xyz"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(m.parser.ConvertToPostfix(text), c.postfix) << c.text;
        EXPECT_TRUE(m.parser.Calc(text).identical(FrVariant(QString::fromUtf8(c.value))))
            << c.text << " gave " << m.parser.Calc(text).toString().toStdString();
    }
}

TEST_F(ParserTest, ErrorsCarryTheirTexts)
{
    struct Case {
        const char *text;
        const char *message;
    } cases[] = {
        {"1+", "Opération de variant incorrecte"},
        {"*3", "Opération de variant incorrecte"},
        {"-", "Opération de variant incorrecte"},
        {"7 MOD 0", "Division par zéro"},
        {"F(1, 2, 3, 4)", "Trop de paramètres"},
        {"COPY('a', 1", ""},
        {"1,5x", "'1,5x' n'est pas une valeur en virgule flottante correcte"},
        {"COPY('abc', 'x', 1)", "'x' n'est pas une valeur entière correcte"},
        {"COPY('abc', 1.5, 1)", "'1,5' n'est pas une valeur entière correcte"},
        {"STRTODATE('zz')", "'zz' n'est pas une date correcte"},
        {"STRTOTIME('99:99')", "'99:99' n'est pas une heure correcte"},
        {"'abc' * 2", "Conversion de type variant incorrecte"},
    };
    for (const Case &c : cases) {
        try {
            m.parser.Calc(QString::fromUtf8(c.text));
            ADD_FAILURE() << c.text << " did not raise";
        } catch (const platform::Exception &e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message)) << c.text;
        }
    }
    EXPECT_THROW(m.parser.Calc(QStringLiteral("7 MOD 0")), EDivByZero);
    EXPECT_THROW(m.parser.Calc(QStringLiteral("G(1,2,3,4)")), EParserError);
    EXPECT_THROW(m.parser.Calc(QStringLiteral("1+")), EVariantError);
    EXPECT_THROW(m.parser.Calc(QStringLiteral("1,5x")), platform::EConvertError);
}

TEST_F(ParserTest, DatesFromTextUseTheFixedFrenchFormats)
{
    FrVariant d = m.parser.Calc(QStringLiteral("STRTODATE('25/12/2020') + 1"));
    EXPECT_EQ(d.type(), FrVariant::Date);
    EXPECT_EQ(d.toString(), QStringLiteral("26/12/2020"));
    FrVariant t = m.parser.Calc(QStringLiteral("STRTOTIME('13:30:15')"));
    EXPECT_EQ(t.toString(), QStringLiteral("30/12/1899 13:30:15"));
    FrVariant diff =
        m.parser.Calc(QStringLiteral("STRTODATE('01/03/2021') - STRTODATE('01/02/2021')"));
    EXPECT_EQ(diff.type(), FrVariant::Double);
    EXPECT_DOUBLE_EQ(diff.toDouble(), 28.0);
}

TEST_F(ParserTest, NamesReachTheValueCallbackAsTheyShould)
{
    m.values[QStringLiteral("Name with blanks")] = FrVariant("ok");
    EXPECT_EQ(m.parser.Calc(QStringLiteral("[Name with blanks]")).toString(), QStringLiteral("ok"));
    m.parser.Calc(QStringLiteral("price + Prix + [price]"));
    EXPECT_EQ(m.askedNames, (QStringList{"Name with blanks", "PRICE", "PRIX", "price"}));

    // Unanswered names stay Unassigned, so that a caller can tell them from "".
    EXPECT_TRUE(m.parser.Calc(QStringLiteral("[nobody]")).isUnassigned());
    // A bracketed name may hold brackets and quotes.
    m.askedNames.clear();
    m.parser.Calc(QStringLiteral("[A[1]] + ['x]'] + 1"));
    EXPECT_EQ(m.askedNames, (QStringList{"A[1]", "'x]'"}));
}

TEST_F(ParserTest, IfEvaluatesOneBranchOnly)
{
    m.parser.Calc(QStringLiteral("IF(1>2, [Then], [Else])"));
    EXPECT_EQ(m.askedNames, QStringList{"Else"});
    m.askedNames.clear();
    m.parser.Calc(QStringLiteral("IF(2>1, [Then], [Else])"));
    EXPECT_EQ(m.askedNames, QStringList{"Then"});
}

TEST_F(ParserTest, CallsAndArraysGoToTheFunctionCallback)
{
    m.functionResult = FrVariant(42);
    EXPECT_EQ(m.parser.Calc(QStringLiteral("A[2]")).toInt(), 42);
    ASSERT_EQ(m.calls.size(), 1);
    EXPECT_EQ(std::tuple(m.calls[0].name, m.calls[0].p1, m.calls[0].p2),
              std::tuple(QStringLiteral("GETARRAY"), QStringLiteral("A"), QStringLiteral(" 2")));

    m.calls.clear();
    m.parser.Calc(QStringLiteral("sum([X], 'a,b', f(1, 2))"));
    ASSERT_EQ(m.calls.size(), 1);
    EXPECT_EQ(std::tuple(m.calls[0].name, m.calls[0].p1, m.calls[0].p2, m.calls[0].p3),
              std::tuple(QStringLiteral("SUM"), QStringLiteral("[X]"), QStringLiteral(" 'a,b'"),
                         QStringLiteral(" f(1, 2)")));
    EXPECT_TRUE(m.askedNames.isEmpty()) << "arguments reach the callback unevaluated";
}

TEST_F(ParserTest, TokenisersFromPositionOne)
{
    int pos = 1;
    EXPECT_EQ(TfrParser::GetIdentify(QStringLiteral("  abc+1"), pos), QStringLiteral("abc"));
    EXPECT_EQ(pos, 6);
    pos = 1;
    EXPECT_EQ(TfrParser::GetIdentify(QStringLiteral("T.\"a b\"+1"), pos),
              QStringLiteral("T.\"a b\""));
    pos = 1;
    EXPECT_EQ(TfrParser::GetString(QStringLiteral("'a''b' x"), pos), QStringLiteral("'a''b'"));
    EXPECT_EQ(pos, 7);
    pos = 2;
    EXPECT_EQ(TfrParser::GetString(QStringLiteral("x'abc"), pos), QStringLiteral("'abc"));
    int open = 1, close = 0;
    EXPECT_EQ(frGetBracketedName(QStringLiteral("[a[b]c] + 1"), open, close),
              QStringLiteral("a[b]c"));
    EXPECT_EQ(close, 7);
    open = 1;
    EXPECT_EQ(frGetBracketedName(QStringLiteral("x[a]"), open, close), QString());
    EXPECT_EQ(close, 1);
    QString p1, p2, p3;
    pos = 2;
    TfrParser::GetThreeParameters(QStringLiteral("F(a, (b,c), ')'))+1"), pos, p1, p2, p3);
    EXPECT_EQ(p1, QStringLiteral("a"));
    EXPECT_EQ(p2, QStringLiteral(" (b,c)"));
    EXPECT_EQ(p3, QStringLiteral(" ')'"));
    EXPECT_EQ(pos, 17);
    EXPECT_EQ(frOperatorPriority(QLatin1Char('(')), 5);
    EXPECT_EQ(frOperatorPriority(QChar(char16_t(12))), 1);
    EXPECT_EQ(frOperatorPriority(QChar(char16_t(14))), 0);
    EXPECT_EQ(frOperatorPriority(QLatin1Char('+')), 2);
}

TEST_F(ParserTest, PostfixIsCachedAndStaysCorrect)
{
    m.values[QStringLiteral("A")] = FrVariant(1);
    EXPECT_DOUBLE_EQ(m.parser.Calc(QStringLiteral("[A] + 1")).toDouble(), 2.0);
    m.values[QStringLiteral("A")] = FrVariant(5);
    EXPECT_DOUBLE_EQ(m.parser.Calc(QStringLiteral("[A] + 1")).toDouble(), 6.0);
    EXPECT_EQ(m.parser.cachedCount(), 1);
    for (int i = 0; i < TfrParser::kCacheLimit + 10; ++i)
        m.parser.Calc(QString::number(i));
    EXPECT_LE(m.parser.cachedCount(), TfrParser::kCacheLimit);
}

TEST_F(ParserTest, SplitterFindsCallsInArgumentsVariablesAndAfterOperators)
{
    TfrVariables vars;
    vars.SetVariable(QStringLiteral("Total"), FrVariant("SUM([Montant])"));
    QStringList match{QStringLiteral("SUM"), QStringLiteral("AVG")};
    QStringList found;
    TfrFunctionSplitter splitter(match, found, &vars);
    splitter.Split(QStringLiteral("IF([A] > 0, SUM([X]), avg([Y]))"));
    EXPECT_EQ(found, (QStringList{"SUM([X])", "avg([Y])"}));
    found.clear();
    splitter.Split(QStringLiteral("[Total]"));
    splitter.Split(QStringLiteral("Total * 2"));
    EXPECT_EQ(found, (QStringList{"SUM([Montant])", "SUM([Montant])"}));
    found.clear();
    splitter.Split(QStringLiteral("1 + SUM([Q]) + 'SUM(x)' + [B] + MAX(SUM([R]))"));
    EXPECT_EQ(found, (QStringList{"SUM([Q])", "SUM([R])"}));
}

TEST_F(ParserTest, SelfReferringVariablesRaiseInsteadOfRecursing)
{
    TfrVariables vars;
    vars.SetVariable(QStringLiteral("Self"), FrVariant("[Self] + 1"));
    vars.SetVariable(QStringLiteral("A"), FrVariant("[B]"));
    vars.SetVariable(QStringLiteral("B"), FrVariant("C + A"));
    QStringList match{QStringLiteral("SUM")}, found;
    TfrFunctionSplitter splitter(match, found, &vars);
    try {
        splitter.Split(QStringLiteral("[Self]"));
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Symbole non défini \"Self\""));
    }
    try {
        splitter.Split(QStringLiteral("[A]"));
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Symbole non défini \"A\""));
    }
    EXPECT_EQ(fr().evalState.depth, 0) << "the guard unwinds";
    EXPECT_TRUE(fr().evalState.names.isEmpty());

    // The same guard serves a value callback that evaluates variables.
    m.parser.OnGetValue = [&](const QString &name, FrVariant &value) {
        FrEvalGuard guard(name, true);
        value = m.parser.Calc(vars.GetVariable(name).toString());
    };
    try {
        m.parser.Calc(QStringLiteral("[A]"));
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Symbole non défini \"A\""));
    }
}

TEST_F(ParserTest, DeepNestingIsBounded)
{
    QString deep;
    for (int i = 0; i < 100; ++i)
        deep += QStringLiteral("IF(1, ");
    deep += QStringLiteral("7");
    for (int i = 0; i < 100; ++i)
        deep += QStringLiteral(", 0)");
    // The user is told why, not that a symbol is unknown; the splitter that
    // looks for aggregates in the same text says the same.
    const QString tooDeep = QStringLiteral("Imbrication trop profonde (plus de 64 niveaux)");
    try {
        m.parser.Calc(deep);
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_EQ(e.Message().toStdString(), tooDeep.toStdString());
    }
    EXPECT_EQ(fr().evalState.depth, 0);
    QStringList match{QStringLiteral("SUM")}, found;
    TfrFunctionSplitter splitter(match, found, nullptr);
    try {
        splitter.Split(deep);
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_EQ(e.Message().toStdString(), tooDeep.toStdString());
    }
    EXPECT_EQ(fr().evalState.depth, 0);
    EXPECT_TRUE(fr().evalState.names.isEmpty());

    QString fine;
    for (int i = 0; i < 30; ++i)
        fine += QStringLiteral("IF(1, ");
    fine += QStringLiteral("7");
    for (int i = 0; i < 30; ++i)
        fine += QStringLiteral(", 0)");
    EXPECT_DOUBLE_EQ(m.parser.Calc(fine).toDouble(), 7.0);
}

TEST_F(ParserTest, VariablesListOperations)
{
    TfrVariables v;
    v.SetVariable(QStringLiteral("b"), FrVariant(1));
    v.SetVariable(QStringLiteral("A"), FrVariant(2));
    v.SetVariable(QStringLiteral("B"), FrVariant(3));
    EXPECT_EQ(v.Count(), 2);
    EXPECT_EQ(v.GetName(0), QStringLiteral("b"));
    EXPECT_EQ(v.GetVariable(QStringLiteral("b")).toInt(), 3);
    EXPECT_TRUE(v.GetVariable(QStringLiteral("zz")).isNull());
    EXPECT_TRUE(v.GetValue(7).identical(FrVariant(0)));
    EXPECT_EQ(v.GetName(-1), QString());
    v.SetValue(9, FrVariant(1)); // ignored
    v.Insert(0, QStringLiteral("c"));
    EXPECT_EQ(v.GetName(0), QStringLiteral("c"));
    EXPECT_TRUE(v.GetValue(0).identical(FrVariant(0)));
    v.Insert(99, QStringLiteral("c"));
    EXPECT_EQ(v.GetName(2), QStringLiteral("c")) << "moved to the last place";

    TfrVariables copy;
    copy.Assign(v);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.GetName(0), QStringLiteral("b"));

    v.SetSorted(true);
    EXPECT_EQ(v.GetName(0), QStringLiteral("A"));
    v.Insert(0, QStringLiteral("zeta"));
    EXPECT_EQ(v.GetName(v.Count() - 1), QStringLiteral("zeta")) << "a sorted list keeps order";
    v.SetName(0, QStringLiteral("y"));
    EXPECT_EQ(v.IndexOf(QStringLiteral("Y")), v.Count() - 2) << "renaming re-sorts";
    EXPECT_EQ(v.IndexOf(QStringLiteral("A")), -1);
    v.SetVariable(QStringLiteral("Été"), FrVariant(1));
    v.SetVariable(QStringLiteral("ab"), FrVariant(1));
    for (int i = 1; i < v.Count(); ++i)
        EXPECT_LT(frCompareText(v.GetName(i - 1), v.GetName(i)), 0);
    for (int i = 0; i < v.Count(); ++i)
        EXPECT_EQ(v.IndexOf(v.GetName(i).toLower()), i) << "bisection finds every entry";
    v.Delete(0);
    v.Delete(50);
    EXPECT_EQ(v.Count(), 5);
    v.Clear();
    EXPECT_EQ(v.Count(), 0);

    // A script's array: a list of many names, sorted (the scripts' own) or
    // not. The last names cost what the first did, and moves, renames and
    // removals keep every look-up right. A run past its time fails instead
    // of hanging.
    using Clock = std::chrono::steady_clock;
    for (const bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "triee" : "non triee");
        TfrVariables a;
        a.SetSorted(sorted);
        const int n = 100000, slice = 10000;
        Clock::duration first{}, last{};
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < n && Clock::now() - start < std::chrono::seconds(20); ++i) {
            const Clock::time_point t = Clock::now();
            // Backwards: in a sorted list each new name comes first.
            const QString name = QStringLiteral("Arr_a_%1").arg(n - 1 - i);
            if (!a.find(name))
                a.SetVariable(name, FrVariant(i));
            const Clock::duration took = Clock::now() - t;
            if (i < slice)
                first += took;
            else if (i >= n - slice)
                last += took;
        }
        ASSERT_EQ(a.Count(), n) << "filling stopped after 20 s";
        EXPECT_LT(last.count(), 5 * first.count() + 1);
        // Small entries weigh what they take (some hundred bytes each), not
        // only their names: an endless fill meets the bound of the variables.
        EXPECT_GE(a.HeldTextIfSet(-1, QString(), FrVariant(0)), qint64(n) * 32);
        a.SetVariable(QStringLiteral("ARR_A_7"), FrVariant(-7));
        EXPECT_EQ(a.Count(), n);
        EXPECT_EQ(a.GetVariable(QStringLiteral("arr_a_7")).toInt(), -7);
        a.Delete(a.IndexOf(QStringLiteral("Arr_a_3")));
        a.SetName(a.IndexOf(QStringLiteral("arr_a_0")), QStringLiteral("Renomme"));
        a.Insert(0, QStringLiteral("arr_a_99999"));
        EXPECT_EQ(a.IndexOf(QStringLiteral("arr_a_0")), -1);
        EXPECT_EQ(a.IndexOf(QStringLiteral("arr_a_3")), -1);
        EXPECT_EQ(a.GetName(a.IndexOf(QStringLiteral("RENOMME"))), QStringLiteral("Renomme"));
        EXPECT_EQ(a.GetName(sorted ? n - 3 : 0), QStringLiteral("Arr_a_99999"));
        for (int i = 1; sorted && i < a.Count(); ++i)
            ASSERT_LT(frCompareText(a.GetName(i - 1), a.GetName(i)), 0) << i;
        for (int i : {0, 2, 5000, n - 2})
            EXPECT_EQ(a.IndexOf(a.GetName(i).toUpper()), i);
    }
}

TEST_F(ParserTest, NumbersAsText)
{
    EXPECT_EQ(frFloatToStr(1.0 / 3), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(frFloatToStr(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(frFloatToStr(-0.25), QStringLiteral("-0,25"));
    EXPECT_EQ(frFloatToStr(100), QStringLiteral("100"));
    EXPECT_EQ(frFloatToStr(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(frFloatToStr(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(frFloatToStr(1.5e-7), QStringLiteral("1,5E-7"));
    EXPECT_EQ(frFloatToStr(123456789012345678.0), QStringLiteral("1,23456789012346E17"));
    EXPECT_EQ(frFloatToStr(0.00001), QStringLiteral("0,00001"));
    EXPECT_EQ(frDateTimeToStr(44190.0), QStringLiteral("25/12/2020"));
    EXPECT_EQ(frDateTimeToStr(44190.5), QStringLiteral("25/12/2020 12:00:00"));
    FrVariant n;
    EXPECT_TRUE(frTextToNumber(QStringLiteral(" 12 "), n));
    EXPECT_TRUE(n.identical(FrVariant(12)));
    EXPECT_TRUE(frTextToNumber(QStringLiteral("-1,25"), n));
    EXPECT_TRUE(n.identical(FrVariant(-1.25)));
    EXPECT_FALSE(frTextToNumber(QStringLiteral("1.25"), n)) << "the separator is \",\"";
    EXPECT_FALSE(frTextToNumber(QStringLiteral("inf"), n));
    EXPECT_FALSE(frTextToNumber(QString(), n));
}
