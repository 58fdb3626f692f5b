// Scripts: the coded lines byte for byte, runs through a map-backed
// interpreter, and the checker's error lines with their positions.
#include "report/core/frexceptions.h"
#include "report/expr/frvariables.h"
#include "report_core_fixture.h"

using namespace report;
using report::test::ch;
using report::test::MapInterpreter;
using report::test::ReportCoreTest;

namespace
{

QString target(int line)
{
    return ch(line & 0xFF) + ch(line >> 8);
}

} // namespace

class InterpreterTest : public ReportCoreTest
{
protected:
    MapInterpreter in;
    QStringList coded, errors;

    void prepare(const QStringList &source) { in.PrepareScript(source, coded, errors); }
    void run(const QStringList &source)
    {
        prepare(source);
        ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        in.DoScript(coded);
    }
    double var(const char *name) { return in.vars.value(QLatin1String(name)).toDouble(); }
};

TEST_F(InterpreterTest, IfElseTranslatesIntoFourLines)
{
    prepare({QStringLiteral("if [A] > 1 then B := 2 else B := 3")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(coded,
              (QStringList{ch(1) + target(3) + "[A] 1 >", "B 2 ", ch(2) + target(4), "B 3 "}));
    in.vars[QStringLiteral("A")] = FrVariant(5);
    in.DoScript(coded);
    EXPECT_EQ(var("B"), 2);
    in.vars[QStringLiteral("A")] = FrVariant(0);
    in.DoScript(coded);
    EXPECT_EQ(var("B"), 3);
}

TEST_F(InterpreterTest, LoopsRunAsWritten)
{
    run({QStringLiteral("begin s := 0; for i := 1 to 3 do s := s + 1 end")});
    EXPECT_EQ(var("I"), 4);
    EXPECT_EQ(var("S"), 3);

    in.vars[QStringLiteral("I")] = FrVariant(10);
    run({QStringLiteral("repeat i := i + 1 until i >= 5")});
    EXPECT_EQ(var("I"), 11) << "the condition is tested after the body";
    in.vars[QStringLiteral("I")] = FrVariant(0);
    in.DoScript(coded);
    EXPECT_EQ(var("I"), 5);

    run({QStringLiteral("begin"), QStringLiteral("  x := 0;"), QStringLiteral("  10: x := x + 1;"),
         QStringLiteral("  if x < 5 then goto 10"), QStringLiteral("end")});
    EXPECT_EQ(var("X"), 5);

    run({QStringLiteral("begin n := 0; while n < 7 do begin n := n + 2; k := n end end")});
    EXPECT_EQ(var("N"), 8);
    EXPECT_EQ(var("K"), 8);
}

TEST_F(InterpreterTest, ExitEndsTheRun)
{
    run({QStringLiteral("begin x := 1; exit; x := 2 end")});
    EXPECT_EQ(var("X"), 1);
    EXPECT_TRUE(coded.contains(ch(3) + "exit(0)"));
    run({QStringLiteral("begin x := 3; Exit(0); x := 4 end")});
    EXPECT_EQ(var("X"), 3);
    EXPECT_TRUE(in.calls.isEmpty()) << "exit never reaches the function callback";
}

TEST_F(InterpreterTest, CallsAndArrayElements)
{
    prepare({QStringLiteral("A[2] := 5")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(coded, QStringList{ch(3) + "SETARRAY(A, 2, 5)"});
    in.DoScript(coded);
    ASSERT_EQ(in.calls.size(), 1);
    EXPECT_EQ(in.calls[0].at(0), QStringLiteral("SETARRAY"));
    EXPECT_EQ(in.calls[0].at(1).trimmed(), QStringLiteral("A"));
    EXPECT_EQ(in.calls[0].at(2).trimmed(), QStringLiteral("2"));
    EXPECT_EQ(in.calls[0].at(3).trimmed(), QStringLiteral("5"));
    EXPECT_EQ(in.vars.value(QStringLiteral("A[2]")).toDouble(), 5);

    run({QStringLiteral("begin y := A[2] * 2; Show(y, 'a,b'); Refresh end")});
    EXPECT_EQ(var("Y"), 10);
    EXPECT_EQ(in.calls.last(), (QStringList{"REFRESH", "0", "", ""}));
    EXPECT_EQ(in.calls.at(in.calls.size() - 2), (QStringList{"SHOW", "y", " 'a,b'", ""}));
}

TEST_F(InterpreterTest, EmptyScriptsAndIgnoredTails)
{
    prepare({});
    EXPECT_TRUE(coded.isEmpty() && errors.isEmpty());
    prepare({QStringLiteral("begin end")});
    EXPECT_TRUE(coded.isEmpty() && errors.isEmpty());
    prepare(
        {QStringLiteral("  "), QStringLiteral("// nothing here"), QStringLiteral("{ nor here }")});
    EXPECT_TRUE(coded.isEmpty() && errors.isEmpty());
    prepare({QStringLiteral("x := 1; y := 2")});
    EXPECT_EQ(coded, QStringList{"x 1 "});
    EXPECT_TRUE(errors.isEmpty());
    prepare({QStringLiteral("begin x := 1; end")});
    EXPECT_EQ(coded, QStringList{"x 1 "});
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(InterpreterTest, CommentsAndLiterals)
{
    prepare({QStringLiteral("x := 'a {b} c' // note"), QStringLiteral("")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(coded, QStringList{"x 'a {b} c' "});
    prepare({QStringLiteral("begin { first } x := 'it''s // not a comment';"),
             QStringLiteral("\ty := 2 // two"), QStringLiteral("end")});
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(coded, (QStringList{"x 'it''s // not a comment' ", "y 2 "}));
    in.DoScript(coded);
    EXPECT_EQ(in.vars.value(QStringLiteral("X")).toString(),
              QStringLiteral("it's // not a comment"));
}

TEST_F(InterpreterTest, UnterminatedLiteralRunsToTheEndOfItsLine)
{
    struct Case {
        const char *source;
        const char *stored;
    } cases[] = {
        {"x := 'abc", "abc"},
        {"x := 'abc' + 'de", "abcde"},
        {"x := 'a; b  ", "a; b  "},
        {"if 1 > 0 then x := 'it''s", "it's"},
    };
    for (const Case &c : cases) {
        in.vars.clear();
        run({QString::fromUtf8(c.source)});
        EXPECT_EQ(in.vars.value(QStringLiteral("X")).toString(), QString::fromUtf8(c.stored))
            << c.source;
    }
    // The literal ends with its line: what follows on the next line is read again.
    prepare({QStringLiteral("begin"), QStringLiteral("  x := 'abc"), QStringLiteral("end")});
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    in.DoScript(coded);
    EXPECT_EQ(in.vars.value(QStringLiteral("X")).toString(), QStringLiteral("abc"));
}

TEST_F(InterpreterTest, ThousandsOfStatementsOnOneLine)
{
    const int count = 20000;
    QString oneLine = QStringLiteral("begin n:=0");
    QStringList lines{QStringLiteral("begin"), QStringLiteral("n:=0")};
    for (int i = 0; i < count; ++i) {
        oneLine += QStringLiteral(";n:=n+1");
        lines << QStringLiteral(";n:=n+1");
    }
    lines << QStringLiteral("end");
    prepare(lines);
    ASSERT_TRUE(errors.isEmpty());
    const QStringList separate = coded;
    run({oneLine + QStringLiteral(";end")});
    EXPECT_EQ(coded.size(), count + 1);
    EXPECT_EQ(coded, separate);
    EXPECT_EQ(var("N"), count);

    // A fault after them is placed exactly, on the one line as on its own line.
    prepare({oneLine + QStringLiteral(" x:=1 end")});
    EXPECT_EQ(errors,
              QStringList{
                  QStringLiteral("Line 1/%1: Need \";\" or \"end\" here").arg(oneLine.size() + 2)});
    prepare(lines.mid(0, lines.size() - 1) << QStringLiteral("x:=1 end"));
    EXPECT_EQ(errors,
              QStringList{QStringLiteral("Line %1/1: Need \";\" or \"end\" here").arg(count + 3)});
}

TEST_F(InterpreterTest, ErrorLinesPointIntoTheSource)
{
    prepare({QStringLiteral("begin x := 1 y := 2 end")});
    EXPECT_EQ(errors, QStringList{"Line 1/14: Need \";\" or \"end\" here"});

    prepare({QStringLiteral("// heading"), QStringLiteral("{ a block"),
             QStringLiteral("  comment }"), QStringLiteral("begin x := 1 y := 2 end")});
    EXPECT_EQ(errors, QStringList{"Line 4/14: Need \";\" or \"end\" here"});

    prepare({QStringLiteral("begin {c} x := 1 {longer comment} y := 2 end")});
    EXPECT_EQ(errors, QStringList{"Line 1/35: Need \";\" or \"end\" here"});

    struct Case {
        const char *source;
        const char *error;
    } cases[] = {
        {"if 1 > 2 y := 1", "Line 1/10: Need \"then\" here"},
        {"while x y := 1", "Line 1/9: Need \"do\" here"},
        {"for i := 1 3 do x := 1", "Line 1/12: Need \"to\" here"},
        {"for i := 1 to 3 x := 1", "Line 1/17: Need \"do\" here"},
        {"repeat x := 1 y := 2 until x", "Line 1/15: Need \";\" or \"until\" here"},
        {"goto x", "Line 1/6: \"goto\" label must be a number"},
        {"x + 1", "Line 1/3: Need \":=\" here"},
        {"x := (1 + 2", "Line 1/12: Need \")\" here"},
        {"x := f(1 2)", "Line 1/10: Need \",\" or \")\" here"},
        {"x := a[1", "Line 1/9: Need \"]\" here"},
        {"if x then;", "Line 1/10: Need expression here"},
        {"x := F(1, 2, 3, 4)", "Line 1/6: Trop de paramètres"},
    };
    for (const Case &c : cases) {
        prepare({QString::fromUtf8(c.source)});
        EXPECT_EQ(errors, QStringList{QString::fromUtf8(c.error)}) << c.source;
    }
    prepare({QStringLiteral("if x then")});
    ASSERT_EQ(errors.size(), 1) << "a missing statement is reported";
    EXPECT_TRUE(errors[0].endsWith(QLatin1String(": Need expression here")));
    EXPECT_FALSE(coded.isEmpty()) << "the partial translation is kept";
}

TEST_F(InterpreterTest, JumpsNeverLeaveTheScript)
{
    prepare({QStringLiteral("begin x := 1; goto 99; x := 2 end")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(coded.at(1), ch(2) + target(65535));
    in.DoScript(coded);
    EXPECT_EQ(var("X"), 1);
    // Damaged lines end the run instead of reading past their end.
    in.DoScript({ch(2)});
    in.DoScript({ch(1) + ch(0)});
    in.DoScript({ch(1), QStringLiteral("x 7 ")});
    EXPECT_EQ(var("X"), 1);
    in.DoScript({ch(2) + target(2), QStringLiteral("x 5 "), QStringLiteral("x 6 ")});
    EXPECT_EQ(var("X"), 6);
}

TEST_F(InterpreterTest, ScriptsTooLongAreRejected)
{
    QString body = QStringLiteral("begin ");
    for (int i = 0; i < 65536; ++i)
        body += QStringLiteral("x := 1; ");
    body += QStringLiteral("end");
    prepare({body});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(QLatin1String(": Script too long")));
    EXPECT_EQ(coded.size(), 65535);
}

TEST_F(InterpreterTest, DeepNestingIsReportedNotOverflowed)
{
    prepare({QString(5000, QLatin1Char('(')) + QStringLiteral("1")});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(QLatin1String(": Nesting too deep")));
    prepare({QStringLiteral("begin ").repeated(3000)});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(QLatin1String(": Nesting too deep")));
    prepare({QStringLiteral("x := ") + QString(50, QLatin1Char('(')) + QStringLiteral("1") +
             QString(50, QLatin1Char(')'))});
    EXPECT_TRUE(errors.isEmpty()) << "ordinary nesting is fine";
}

TEST_F(InterpreterTest, RunawayScriptsStopThroughTheDescendant)
{
    in.evaluationLimit = 1000;
    prepare({QStringLiteral("while 1 do x := x + 1")});
    EXPECT_THROW(in.DoScript(coded), std::runtime_error);
    in.evaluations = 0;
    prepare({QStringLiteral("while 1 do begin end")});
    EXPECT_THROW(in.DoScript(coded), std::runtime_error) << "each line is counted";
}

// A text is bounded where it is built: doubled in a loop, it stops with an
// error at the bound instead of taking the memory; the bound itself is kept.
TEST_F(InterpreterTest, TextsStopAtTheirBound)
{
    const QString loop = QStringLiteral("begin s := 'x'; i := 0; while i < %1 do begin s := s + s; "
                                        "i := i + 1 end end");
    run({loop.arg(20)});
    EXPECT_EQ(in.vars.value(QStringLiteral("S")).stringValue().size(), kFrMaxTextLength);
    prepare({loop.arg(22)});
    EXPECT_THROW(in.DoScript(coded), EFrLimitError);
    EXPECT_EQ(in.vars.value(QStringLiteral("S")).stringValue().size(), kFrMaxTextLength);
}

TEST_F(InterpreterTest, SplitExpressionsOfCodedLines)
{
    prepare({QStringLiteral("begin if SUM([A]) > 0 then T := AVG([B]); Log(MIN([C])) end")});
    ASSERT_TRUE(errors.isEmpty());
    QStringList found;
    TfrVariables vars;
    in.SplitExpressions(
        coded, {QStringLiteral("SUM"), QStringLiteral("AVG"), QStringLiteral("MIN")}, found, &vars);
    EXPECT_EQ(found, (QStringList{"SUM([A])", "AVG([B])", "MIN([C])"}));
}
