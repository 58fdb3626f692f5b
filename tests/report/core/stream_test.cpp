// Byte encodings of report streams: the exact vectors, old terminated forms,
// hostile and truncated input, and the 16-bit length limits.
#include "platform/text/codec.h"
#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report_core_fixture.h"

#include <QTemporaryDir>
#include <functional>

using namespace report;
using report::test::ReportCoreTest;

namespace
{

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray memoBytes(const QStringList &lines)
{
    FrMemoryStream s;
    frWriteMemo(s, lines);
    return s.data();
}

QStringList readMemo(const QByteArray &bytes, bool terminated = false)
{
    FrMemoryStream s(bytes);
    QStringList lines{QStringLiteral("stale")};
    if (terminated)
        frReadMemoZ(s, lines);
    else
        frReadMemo(s, lines);
    EXPECT_EQ(s.remaining(), 0) << "the whole record is consumed";
    return lines;
}

using Reader = std::function<void(FrStream &)>;

// Every proper prefix of a valid record must be refused, never read past.
void expectEveryPrefixFails(const QByteArray &record, const Reader &read, const char *what)
{
    for (int n = 0; n < record.size(); ++n) {
        FrMemoryStream s(record.left(n));
        EXPECT_THROW(read(s), EFrStreamError) << what << ": prefix of " << n << " bytes";
    }
    FrMemoryStream whole(record);
    EXPECT_NO_THROW(read(whole)) << what;
}

} // namespace

class StreamTest : public ReportCoreTest
{
};

TEST_F(StreamTest, CountedMemoVectorsBothWays)
{
    struct Case {
        QStringList lines;
        const char *bytes;
    } cases[] = {
        {{}, "00 00 00"},
        {{"A"}, "01 00 01 00 41 00"},
        {{"A", ""}, "02 00 01 00 41 0D 00 00 00"},
        {{"", "bc", "d"}, "03 00 00 00 0D 02 00 62 63 0D 01 00 64 00"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(memoBytes(c.lines), hex(c.bytes)) << c.bytes;
        EXPECT_EQ(readMemo(hex(c.bytes)), c.lines) << c.bytes;
    }
}

TEST_F(StreamTest, TerminatedMemoVectors)
{
    EXPECT_EQ(readMemo(hex("41 0D 00"), true), QStringList{"A"});
    EXPECT_EQ(readMemo(hex("00"), true), QStringList{});
    EXPECT_EQ(readMemo(hex("0D 00"), true), QStringList{""});
    // A line feed stays in the line; the last line counts only when not empty.
    EXPECT_EQ(readMemo(hex("41 0A 42 0D 43 00"), true), (QStringList{"A\nB", "C"}));
}

TEST_F(StreamTest, StringsKeepWindows1252Bytes)
{
    FrMemoryStream s;
    frWriteString(s, QStringLiteral("Été€"));
    EXPECT_EQ(s.data(), hex("04 00 C9 74 E9 80 00"));
    s.seek(0);
    EXPECT_EQ(frReadString(s), QStringLiteral("Été€"));

    FrMemoryStream z(hex("C9 74 E9 00 41 00"));
    EXPECT_EQ(frReadStringZ(z), QStringLiteral("Été"));
    EXPECT_EQ(frReadStringZ(z), QStringLiteral("A"));
    EXPECT_EQ(z.remaining(), 0);

    // The trailing byte of a counted string is skipped whatever it holds.
    FrMemoryStream odd(hex("01 00 41 7F 02"));
    EXPECT_EQ(frReadString(odd), QStringLiteral("A"));
    EXPECT_EQ(frReadByte(odd), 2);
}

TEST_F(StreamTest, EachCharacterTheCodePageLacksIsOneQuestionMark)
{
    // A character beyond the basic plane is two UTF-16 units but one character.
    struct Case {
        QString text;
        const char *bytes;
    } cases[] = {
        {QString::fromUtf8("Ω€😀é"), "3F 80 3F E9"},
        {QString::fromUtf8("😀😀"), "3F 3F"},
        {QString::fromUtf8("a😀"), "61 3F"},
        {QString(QChar(0xD83D)) + QLatin1Char('x'), "3F 78"}, // a lone high surrogate
        {QLatin1Char('x') + QString(QChar(0xDE00)), "78 3F"}, // a lone low surrogate
    };
    for (const Case &c : cases) {
        const QByteArray bytes = hex(c.bytes);
        FrMemoryStream s;
        frWriteString(s, c.text);
        EXPECT_EQ(s.data(), QByteArray(1, char(bytes.size())) + '\0' + bytes + '\0') << c.bytes;
        s.seek(0);
        EXPECT_EQ(frReadString(s), platform::fromAnsi(bytes)) << c.bytes;
        EXPECT_EQ(readMemo(memoBytes({c.text, c.text})),
                  QStringList({platform::fromAnsi(bytes), platform::fromAnsi(bytes)}))
            << c.bytes;
    }
}

TEST_F(StreamTest, FixedWidthValuesAreLittleEndian)
{
    FrMemoryStream s;
    frWriteByte(s, 0xAB);
    frWriteWord(s, 0x1234);
    frWriteInteger(s, -2);
    frWriteInteger(s, 0x01020304);
    EXPECT_EQ(s.data(), hex("AB 34 12 FE FF FF FF 04 03 02 01"));
    s.seek(0);
    EXPECT_EQ(frReadByte(s), 0xAB);
    EXPECT_EQ(frReadWord(s), 0x1234);
    EXPECT_EQ(frReadInteger(s), -2);
    EXPECT_EQ(frReadInteger(s), 0x01020304);
    EXPECT_THROW(frReadByte(s), EFrStreamError);
    // Overwritten in place, then grown past its room and squeezed: the
    // bytes, size and end stay those written, never the spare room.
    s.seek(1);
    frWriteWord(s, 0xBEEF);
    s.seek(s.size());
    const QByteArray tail(1000, 'z');
    s.write(tail);
    s.pack();
    frWriteByte(s, 0x11);
    EXPECT_EQ(s.size(), 1012);
    EXPECT_EQ(s.data(), hex("AB EF BE FE FF FF FF 04 03 02 01") + tail + hex("11"));
    EXPECT_THROW(frReadByte(s), EFrStreamError);
}

TEST_F(StreamTest, PackedStreamsGiveBackTheirBytesExactly)
{
    // Records alike but for a few bytes, as down a prepared page; a run of
    // one byte (a match overlapping itself) ending the stream; bytes with
    // nothing to share; a stream too small to bother.
    QByteArray records;
    for (int i = 0; i < 60; ++i)
        records += QByteArray("\x02\x06\x00Champ3\x00") + char(i) + char(i * 7) +
                   QByteArray(30, char(i % 3)) + QByteArray::number(i * 37) + "Arial";
    QByteArray noise;
    quint32 seed = 12345;
    for (int i = 0; i < 5000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += char(seed >> 16);
    }
    const struct {
        const char *what;
        QByteArray bytes;
        bool packs;
    } cases[] = {
        {"records", records, true},
        {"run", QByteArray("abc") + QByteArray(999, 'z'), true},
        {"records then noise", records + noise.left(7), true},
        {"noise", noise, false},
        {"small", records.left(200), false},
    };
    for (const auto &c : cases) {
        FrMemoryStream s;
        s.write(c.bytes);
        s.pack();
        EXPECT_EQ(s.isPacked(), c.packs) << c.what;
        EXPECT_EQ(s.size(), c.bytes.size()) << c.what;
        EXPECT_EQ(s.bytes(), c.bytes) << c.what;
        EXPECT_EQ(s.isPacked(), c.packs) << c.what << ": reading a copy leaves it packed";
        s.seek(c.bytes.size() - 5);
        EXPECT_EQ(s.readBytes(5), c.bytes.right(5)) << c.what;
        EXPECT_FALSE(s.isPacked()) << c.what;
        s.pack();
        frWriteByte(s, 0x11);
        const QByteArray kept = s.bytes();
        EXPECT_EQ(kept, c.bytes + hex("11")) << c.what;
        s.seek(0);
        frWriteWord(s, 0x2222);
        EXPECT_EQ(kept, c.bytes + hex("11")) << c.what << ": a copy keeps its bytes";
        EXPECT_EQ(s.data().left(2), hex("22 22")) << c.what;
    }
}

TEST_F(StreamTest, EveryTruncatedRecordIsRefused)
{
    expectEveryPrefixFails(
        hex("03 00 41 42 43 00"), [](FrStream &s) { frReadString(s); }, "counted string");
    expectEveryPrefixFails(
        hex("02 00 01 00 41 0D 02 00 42 43 00"),
        [](FrStream &s) {
            QStringList l;
            frReadMemo(s, l);
        },
        "counted memo");
    expectEveryPrefixFails(
        hex("00 00 00"),
        [](FrStream &s) {
            QStringList l;
            frReadMemo(s, l);
        },
        "empty memo");
    expectEveryPrefixFails(
        hex("41 42 00"), [](FrStream &s) { frReadStringZ(s); }, "terminated string");
    expectEveryPrefixFails(
        hex("41 0D 42 0D 00"),
        [](FrStream &s) {
            QStringList l;
            frReadMemoZ(s, l);
        },
        "terminated memo");
    expectEveryPrefixFails(
        hex("01 02 03 04"), [](FrStream &s) { frReadInteger(s); }, "integer");
    expectEveryPrefixFails(
        hex("01 02"), [](FrStream &s) { frReadWord(s); }, "word");
}

TEST_F(StreamTest, TemplateReadersFollowTheVersion)
{
    const QByteArray old = hex("41 42 00 43 0D 44 00");
    const QByteArray current = hex("02 00 41 42 00 02 00 01 00 43 0D 01 00 44 00");
    for (int version = 21; version <= 24; ++version) {
        fr().frTemplateVersion = quint8(version);
        FrMemoryStream s(version < 23 ? old : current);
        QStringList lines;
        EXPECT_EQ(frReadTemplateString(s), QStringLiteral("AB")) << version;
        frReadTemplateMemo(s, lines);
        EXPECT_EQ(lines, (QStringList{"C", "D"})) << version;
        EXPECT_EQ(s.remaining(), 0) << version;
        expectEveryPrefixFails(
            version < 23 ? old : current,
            [](FrStream &st) {
                QStringList l;
                frReadTemplateString(st);
                frReadTemplateMemo(st, l);
            },
            "template string and memo");
        // The other encoding is refused rather than misread past the end.
        FrMemoryStream wrong(version < 23 ? hex("41 42") : hex("05 00 41"));
        EXPECT_THROW(frReadTemplateString(wrong), EFrStreamError) << version;
    }
}

TEST_F(StreamTest, HostileLengthsAndCountsFailCleanly)
{
    // A length far beyond the data.
    FrMemoryStream longString(hex("FF FF 41"));
    EXPECT_THROW(frReadString(longString), EFrStreamError);
    // A memo announcing many lines but ending mid-way: the separators decide,
    // and the missing bytes are reported.
    FrMemoryStream shortMemo(hex("FF FF 01 00 41 0D 01 00"));
    QStringList lines;
    EXPECT_THROW(frReadMemo(shortMemo, lines), EFrStreamError);
    // A count of 1 with a separator that keeps going reads the lines present.
    EXPECT_EQ(readMemo(hex("01 00 01 00 41 0D 01 00 42 00")), (QStringList{"A", "B"}));
    // No terminator at all.
    FrMemoryStream endless(QByteArray(10000, 'x'));
    EXPECT_THROW(frReadStringZ(endless), EFrStreamError);
    EXPECT_EQ(endless.position(), 0) << "a refused terminated string consumes nothing";
}

TEST_F(StreamTest, OverlongStringIsCutAndTheNextFieldSurvives)
{
    FrMemoryStream s;
    frWriteString(s, QString(70000, QLatin1Char('x')));
    frWriteInteger(s, 1234);
    frWriteString(s, QStringLiteral("next"));
    // Written again in place, where the stream has room for the whole text.
    for (const char *pass : {"written", "rewritten"}) {
        s.seek(0);
        QString first = frReadString(s);
        EXPECT_EQ(first.size(), kFrMaxCountedLength) << pass;
        EXPECT_EQ(frReadInteger(s), 1234) << pass;
        EXPECT_EQ(frReadString(s), QStringLiteral("next")) << pass;
        s.seek(0);
        frWriteString(s, QString(70000, QLatin1Char('y')));
    }
}

TEST_F(StreamTest, MemoWithMoreLinesThanTheCountReadsBackWhole)
{
    QStringList lines;
    for (int i = 0; i < 65536; ++i)
        lines.append(i % 1000 == 0 ? QString::number(i) : QString());
    FrMemoryStream s;
    frWriteMemo(s, lines);
    frWriteByte(s, 0x5A);
    EXPECT_EQ(quint8(s.data().at(0)), 0xFF);
    EXPECT_EQ(quint8(s.data().at(1)), 0xFF);
    s.seek(0);
    QStringList back;
    frReadMemo(s, back);
    EXPECT_EQ(back, lines);
    EXPECT_EQ(frReadByte(s), 0x5A);
}

TEST_F(StreamTest, FileStreamRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("t.frf"));
    {
        FrFileStream out(path, FrFileStream::Create);
        frWriteByte(out, 24);
        frWriteString(out, QStringLiteral("Titre"));
        frWriteMemo(out, {QStringLiteral("a"), QStringLiteral("b")});
    }
    FrFileStream in(path, FrFileStream::Read);
    EXPECT_EQ(in.size(), 1 + 8 + 10);
    EXPECT_EQ(frReadByte(in), 24);
    EXPECT_EQ(frReadString(in), QStringLiteral("Titre"));
    QStringList lines;
    frReadMemo(in, lines);
    EXPECT_EQ(lines, (QStringList{"a", "b"}));
    EXPECT_THROW(frReadByte(in), EFrStreamError);
    EXPECT_THROW(FrFileStream(dir.filePath(QStringLiteral("missing")), FrFileStream::Read),
                 EFrStreamError);
}

TEST_F(StreamTest, FontStyleWordKeepsBoldTwoAndItalicOne)
{
    TFontStyles bold;
    bold.bold = true;
    TFontStyles italic;
    italic.italic = true;
    EXPECT_EQ(frFontStyleToWord(bold), 2);
    EXPECT_EQ(frFontStyleToWord(italic), 1);
    for (quint16 w = 0; w < 16; ++w)
        EXPECT_EQ(frFontStyleToWord(frFontStyleFromWord(w)), w);
    TFontStyles all = frFontStyleFromWord(15);
    EXPECT_TRUE(all.bold && all.italic && all.underline && all.strikeOut);
    EXPECT_TRUE(frFontStyleFromWord(4).underline);
    EXPECT_FALSE(frFontStyleFromWord(4).bold);
}
