// Memo text: field expansion, wrapping (fixed advances: 7 px a character,
// 4 a blank), syllable breaks, heights, splitting over pages, Suppress and
// the highlight.
#include "objects_fixture.h"

#include "platform/text/codec.h"
#include "report/expr/frparser.h"
#include "report/layout/frmemolayout.h"

#include <QRandomGenerator>

namespace report::test
{
namespace
{

class MemoLayoutTest : public ObjectsTest
{
protected:
    QStringList wrap(const QString &line, int width, bool wordBreak = false)
    {
        FrWrapSettings s;
        s.wordBreak = wordBreak;
        measurer.advances(platform::FrFont(), line, s.advances);
        s.hyphenAdvance = 7;
        QStringList out;
        frWrapLine(line, width, s, out);
        return out;
    }
    static QString m(const QString &s) { return s + ch(1); }
};

TEST_F(MemoLayoutTest, WrapCases)
{
    // "abcd" is 28 px: an exact fit at 28 stays whole.
    EXPECT_EQ(wrap("abcd", 28), QStringList{m("abcd")});
    EXPECT_EQ(wrap("abcdefghij", 30), (QStringList{"abcd", "efgh", m("ij")}));
    // A blank break drops that blank: "abc de" is 21 + 4 + 14.
    EXPECT_EQ(wrap("abc defg", 30), (QStringList{"abc", m("defg")}));
    // Breaks inside a line end paragraphs; trailing breaks add no line.
    EXPECT_EQ(wrap("ab\r\ncd\r\n", 100), (QStringList{m("ab"), m("cd")}));
    EXPECT_EQ(wrap("ab\r\n", 100), QStringList{m("ab")});
    // A single character wider than the width stands alone.
    EXPECT_EQ(wrap("abc", 5), (QStringList{"a", "b", m("c")}));
    EXPECT_EQ(wrap("ab", 5), (QStringList{"a", m("b")}));
    // One character alone is never broken.
    EXPECT_EQ(wrap("W", 1), QStringList{m("W")});
}

TEST_F(MemoLayoutTest, SyllableBreaksOfCyrillicCapitals)
{
    // C V C C V C V C with Windows-1251 capitals read as their 1252 codes:
    // consonant 0xC1, vowels 0xC0.
    QString word;
    for (int b : {0xC1, 0xC0, 0xC1, 0xC1, 0xC0, 0xC1, 0xC0, 0xC1})
        word += platform::ansiChar(static_cast<unsigned char>(b));
    EXPECT_EQ(frSyllableBreaks(word), (QList<int>{3, 5}));
    // Two vowels in a row allow a break between them.
    QString vv;
    for (int b : {0xC1, 0xC0, 0xC5, 0xC1, 0xC1})
        vv += platform::ansiChar(static_cast<unsigned char>(b));
    EXPECT_EQ(frSyllableBreaks(vv), QList<int>{2});
    // Lower case is upper-cased first; short words have none.
    EXPECT_EQ(frSyllableBreaks(word.toLower()), (QList<int>{3, 5}));
    EXPECT_TRUE(frSyllableBreaks(word.left(4)).isEmpty());

    // With WordBreak the word is hyphenated at the last fitting syllable:
    // "BABBABAB" at 45 px: "BABBA-" = 42 fits, so the break is after letter 5.
    QStringList lines = wrap(word, 45, true);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], word.left(5) + "-");
    EXPECT_EQ(lines[1], m(word.mid(5)));
    // No syllable fits: the line ends before the overflowing character.
    EXPECT_EQ(wrap("abcdefgh", 30, true), (QStringList{"abcd", m("efgh")}));
}

TEST_F(MemoLayoutTest, RandomTextsWrapWithinTheWidthAndKeepEveryCharacter)
{
    QRandomGenerator rng(1234);
    const QString alphabet = QStringLiteral("abcdefghij      ");
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int len = int(rng.bounded(1, 120));
        for (int i = 0; i < len; ++i)
            text += alphabet.at(int(rng.bounded(int(alphabet.size()))));
        const int width = int(rng.bounded(3, 90));
        const QStringList lines = wrap(text, width);
        QString rebuilt;
        for (const QString &l : lines) {
            QString line = l;
            line.remove(ch(1));
            QString trimmed = line;
            while (trimmed.endsWith(QLatin1Char(' ')))
                trimmed.chop(1);
            const int w = measurer.width(platform::FrFont(), trimmed);
            EXPECT_TRUE(w <= width || trimmed.size() == 1)
                << text.toStdString() << " | " << line.toStdString() << " at " << width;
            rebuilt += line;
        }
        QString expected = text;
        expected.remove(QLatin1Char(' '));
        rebuilt.remove(QLatin1Char(' '));
        EXPECT_EQ(rebuilt, expected) << text.toStdString() << " at " << width;
    }
}

TEST_F(MemoLayoutTest, FieldExpansion)
{
    useFieldMap();
    fields[QStringLiteral("V")] = QStringLiteral("x\r\ny");
    fields[QStringLiteral("N")] = QStringLiteral("12");
    fields[QStringLiteral("E")] = QString();
    fields[QStringLiteral("B")] = QStringLiteral("[N]"); // never expanded again
    TfrMemoView memo;
    memo.Memo = {QStringLiteral("[V]"), QString(), QStringLiteral("n=[N];[B]"),
                 QStringLiteral("[E]"), QStringLiteral("open [N")};
    memo.ExpandMemoVariables();
    EXPECT_EQ(memo.Memo1, (QStringList{"x", "y", "", "n=12;[N]", "", "open [N"}));
    memo.Flags |= flTextOnly;
    memo.ExpandMemoVariables();
    EXPECT_EQ(memo.Memo1.at(0), QStringLiteral("[V]"));
    // Quoted brackets belong to the expression.
    fields[QStringLiteral("F('[x]')")] = QStringLiteral("ok");
    memo.Flags &= ~flTextOnly;
    memo.Memo = {QStringLiteral("<[F('[x]')]>")};
    memo.ExpandMemoVariables();
    EXPECT_EQ(memo.Memo1, QStringList{QStringLiteral("<ok>")});
    // A text met again takes the values of the moment.
    memo.Memo = {QStringLiteral("a [N] b [N")};
    memo.ExpandMemoVariables();
    fields[QStringLiteral("N")] = QStringLiteral("13");
    memo.ExpandMemoVariables();
    EXPECT_EQ(memo.Memo1, QStringList{QStringLiteral("a 13 b [N")});
}

TEST_F(MemoLayoutTest, HeightsComeFromSizeAndSpacingOnly)
{
    frObjects().frDocMode = 1;
    useFieldMap();
    TfrMemoView memo;
    memo.SetBounds(0, 0, 60, 20); // 56 px for text
    memo.Memo = {QStringLiteral("aaaa bbbb cccc"), QString()};
    // 10 pt = 13 px, plus 2 of spacing: 15 a line; 3 + 1 lines + 2 gaps.
    EXPECT_EQ(memo.ContentHeight(), 4 * 15 + 2);
    EXPECT_EQ(memo.MinSplitHeight(), 15);
    EXPECT_EQ(memo.HeightLeftToPrint(), 60);
    EXPECT_EQ(memo.Memo1, (QStringList{"aaaa", "bbbb", m("cccc"), m("")}));
    memo.Visible = 0;
    EXPECT_EQ(memo.ContentHeight(), 0);
    memo.Visible = 1;
    memo.Memo.clear();
    EXPECT_EQ(memo.ContentHeight(), 0);
    // Tiny fonts still step at least one pixel.
    memo.Memo = {QStringLiteral("a")};
    memo.Font.Size = 0;
    memo.LineSpacing = -5;
    EXPECT_EQ(memo.ContentHeight(), 1 + 2);
}

TEST_F(MemoLayoutTest, DesignerKeepsAWideBracketedFieldOnOneLine)
{
    TfrMemoView memo;
    memo.SetBounds(0, 0, 30, 20);
    memo.Memo1 = {QStringLiteral("[LongFieldName]")};
    frFormatMemoLines(memo);
    EXPECT_EQ(frObjects().frOutputLines, QStringList{QStringLiteral("[LongFieldName]")});
    frObjects().frDocMode = 1;
    frFormatMemoLines(memo);
    EXPECT_GT(frObjects().frOutputLines.size(), 1);
}

QStringList numbered(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("L%1").arg(i);
    return lines;
}

QList<QStringList> preparedTexts(const QByteArray &bytes)
{
    QList<QStringList> texts;
    FrMemoryStream in(bytes);
    while (in.remaining() > 0) {
        EXPECT_EQ(frReadByte(in), otMemo);
        TfrMemoView m;
        m.Prepared = true;
        m.LoadFromStream(in);
        texts << m.Memo;
    }
    return texts;
}

// Lines drawn for a split part: the first line that would cross the clip is
// neither drawn nor counted; without the rule it is drawn, cut by the clip.
TEST_F(MemoLayoutTest, WholeLinesOnlyStopsAtTheFirstLineCrossingTheClip)
{
    frObjects().frDocMode = 1;
    TfrMemoView memo;
    memo.SetBounds(0, 0, 200, 100);
    memo.Memo = numbered(10);
    ASSERT_EQ(memo.ContentHeight(), 10 * 15 + 2);
    memo.dy = 63; // room for 1 + 4 x 15 = 61: a fifth line would end at 76
    auto drawn = [&memo](bool wholeLinesOnly) {
        platform::RecordingCanvas canvas(frObjects().measurer(), QRect(0, 0, 800, 1100));
        memo.PrepareCanvas(canvas);
        memo.WholeLinesOnly = wholeLinesOnly;
        {
            FrGeometryScope geometry(memo);
            frShowMemoLines(memo);
        }
        QStringList texts;
        for (const platform::TextRun &run : canvas.displayList().textRuns())
            texts << run.text;
        return texts;
    };
    const QStringList whole = drawn(true);
    EXPECT_EQ(whole, (QStringList{"L1", "L2", "L3", "L4"}));
    EXPECT_EQ(memo.CurrentLine, 4);
    const QStringList all = drawn(false);
    EXPECT_EQ(all.size(), 10);
    EXPECT_EQ(memo.CurrentLine, 10);
}

TEST_F(MemoLayoutTest, SplitPrintsWhatFitsAndKeepsTheRest)
{
    frObjects().frDocMode = 1;
    useFieldMap();
    TfrMemoView memo;
    memo.Prepared = true; // as page preparation marks every object
    memo.SetBounds(0, 0, 200, 100);
    memo.Memo = numbered(10);
    ASSERT_EQ(memo.ContentHeight(), 10 * 15 + 2);
    // The band leaves room for 4 whole lines: 1 + 4 x 15 = 61, clip ends at dy.
    memo.DrawMode = 2;
    memo.dy = 63;
    FrMemoryStream page1;
    memo.WriteToPreparedPage(page1);
    EXPECT_EQ(std::tuple(memo.DrawMode, memo.CurrentLine), std::tuple(0, 4));
    EXPECT_EQ(memo.Memo1, (QStringList{m("L5"), m("L6"), m("L7"), m("L8"), m("L9"), m("L10")}));
    EXPECT_EQ(preparedTexts(page1.data()),
              (QList<QStringList>{{m("L1"), m("L2"), m("L3"), m("L4")}}));

    // Kept lines without a mark get a line holding the mark alone.
    TfrMemoView wrapped;
    wrapped.Prepared = true;
    wrapped.SetBounds(0, 0, 60, 100);
    wrapped.Memo = {QStringLiteral("aaaa bbbb cccc dddd")};
    wrapped.ContentHeight();
    wrapped.DrawMode = 2;
    wrapped.dy = 33;
    FrMemoryStream part;
    wrapped.WriteToPreparedPage(part);
    EXPECT_EQ(preparedTexts(part.data()), (QList<QStringList>{{"aaaa", "bbbb", m("")}}));
    EXPECT_EQ(wrapped.Memo1, (QStringList{"cccc", m("dddd")}));

    // No line fits: at the top of a fresh page one line is forced.
    TfrMemoView tall;
    tall.Prepared = true;
    tall.SetBounds(0, 0, 200, 5);
    tall.Memo1 = {m("A"), m("B")};
    tall.LineHeight = 15;
    tall.DrawMode = 2;
    FrMemoryStream none;
    tall.WriteToPreparedPage(none);
    EXPECT_EQ(tall.CurrentLine, 0);
    EXPECT_EQ(tall.Memo1.size(), 2);
    tall.DrawMode = 2;
    tall.SplitAtPageTop = true;
    FrMemoryStream forced;
    tall.WriteToPreparedPage(forced);
    EXPECT_EQ(preparedTexts(forced.data()), (QList<QStringList>{{m("A")}}));
    EXPECT_EQ(tall.Memo1, QStringList{m("B")});
}

TEST_F(MemoLayoutTest, SuppressPrintsARepeatedValueOnce)
{
    frObjects().frDocMode = 1;
    useFieldMap();
    TfrMemoView memo;
    memo.Prepared = true;
    memo.Flags |= flSuppress;
    memo.Memo = {QStringLiteral("[V]")};
    FrMemoryStream out;
    for (const char *v : {"A", "A", "B", "B", "A"}) {
        fields[QStringLiteral("V")] = QString::fromLatin1(v);
        memo.WriteToPreparedPage(out);
    }
    EXPECT_EQ(preparedTexts(out.data()), (QList<QStringList>{{"A"}, {"B"}, {"A"}}));
}

TEST_F(MemoLayoutTest, HighlightAppliesWhileItsConditionHoldsAndIsUndone)
{
    frObjects().frDocMode = 1;
    useFieldMap();
    fields[QStringLiteral("V")] = QStringLiteral("5");
    TfrParser &parser = *fr().frGlobalParser;
    FrVariant condition = true;
    parser.OnGetValue = [&condition](const QString &, FrVariant &v) { v = condition; };
    TfrMemoView memo;
    memo.Prepared = true;
    memo.Memo = {QStringLiteral("[V]")};
    memo.HighlightCondition = parser.ConvertToPostfix(QStringLiteral("[C]"));
    memo.Highlight = {2, 0x0000FF, 0x00FFFF};
    FrMemoryStream out;
    memo.WriteToPreparedPage(out);
    FrMemoryStream in(out.data());
    frReadByte(in);
    TfrMemoView read;
    read.Prepared = true;
    read.LoadFromStream(in);
    EXPECT_EQ(std::tuple(read.Font.Style, read.Font.Color), std::tuple(2, 0x0000FF));
    EXPECT_EQ(read.FillColor, 0x00FFFF);
    EXPECT_EQ(memo.Font.Style, 0);
    EXPECT_EQ(memo.FillColor, platform::clNone);
    // A number that is not zero holds too; zero does not.
    condition = 3;
    EXPECT_TRUE(memo.HighlightHolds());
    condition = 0;
    EXPECT_FALSE(memo.HighlightHolds());
    // A failing field leaves the memo as it was.
    condition = true;
    frObjects().memoFieldValue = [](const QString &, TfrView *) -> QString {
        throw std::runtime_error("field");
    };
    memo.Tag = QStringLiteral("t");
    EXPECT_THROW(memo.WriteToPreparedPage(out), std::runtime_error);
    EXPECT_EQ(memo.Font.Style, 0);
    EXPECT_EQ(std::tuple(memo.FillColor, memo.DrawMode), std::tuple(platform::clNone, 0));
    // The highlight is also undone when the tag expansion fails late.
    frObjects().memoFieldValue = [](const QString &e, TfrView *) -> QString {
        if (e == QLatin1String("T"))
            throw std::runtime_error("tag");
        return QStringLiteral("1");
    };
    memo.Tag = QStringLiteral("[T]");
    EXPECT_THROW(memo.WriteToPreparedPage(out), std::runtime_error);
    EXPECT_EQ(memo.Font.Style, 0);
    EXPECT_EQ(memo.FillColor, platform::clNone);
    EXPECT_EQ(memo.Tag, QStringLiteral("[T]"));
}

TEST_F(MemoLayoutTest, BeforePrintHandlerThatChangesTheTextStopsExpansion)
{
    frObjects().frDocMode = 1;
    useFieldMap();
    fields[QStringLiteral("V")] = QStringLiteral("valeur");
    ListReport report;
    frObjects().frCurrentReport = &report;
    report.onBeforePrint = [](QStringList &memo, TfrView *) {
        if (memo.first() == QLatin1String("change [V]"))
            memo = {QStringLiteral("[V] remplacé")};
    };
    TfrMemoView memo;
    memo.Prepared = true;
    memo.Memo = {QStringLiteral("change [V]")};
    FrMemoryStream out;
    memo.WriteToPreparedPage(out);
    memo.Memo = {QStringLiteral("garde [V]")};
    memo.WriteToPreparedPage(out);
    EXPECT_EQ(preparedTexts(out.data()), (QList<QStringList>{{"[V] remplacé"}, {"garde valeur"}}));
}

TEST_F(MemoLayoutTest, WidthOfTextForAutoWidth)
{
    TfrMemoView memo;
    // Widest line 5 x 7 = 35, + frame 1 + 2 x 2 + 1.
    EXPECT_EQ(memo.CalcWidth({QStringLiteral("ab"), m("abcde")}), 41);
    memo.CharSpacing = 1;
    EXPECT_EQ(memo.CalcWidth({QStringLiteral("abcde")}), 46);
}

} // namespace
} // namespace report::test
