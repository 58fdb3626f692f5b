// The codec against glibc's iconv as an independent table of the code page.
#include "platform/text/codec.h"
#include "tests/platform/core/qt_printers.h"

#include <QSet>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace platform;

namespace
{

// UTF-8 of one Windows-1252 byte according to iconv; false when iconv has
// no character for it.
bool iconvByte(unsigned char byte, QByteArray &utf8)
{
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char *inp = in;
    char *outp = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        return false;
    utf8 = QByteArray(out, static_cast<qsizetype>(sizeof out - outLeft));
    return true;
}

} // namespace

TEST(Codec, MatchesIconvForEveryDefinedByteAndKeepsTheFiveOthers)
{
    const QSet<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        const QString text = fromAnsi(one);
        ASSERT_EQ(text.size(), 1) << b;
        QByteArray utf8;
        if (iconvByte(static_cast<unsigned char>(b), utf8)) {
            ++defined;
            EXPECT_FALSE(undefined.contains(b)) << b;
            EXPECT_EQ(text.toUtf8(), utf8) << "byte " << b;
            // The importers' UTF-8 path lands on the same byte.
            EXPECT_EQ(toAnsi(utf8ToAnsiText(utf8)), one) << "byte " << b;
        } else {
            EXPECT_TRUE(undefined.contains(b)) << b;
            EXPECT_EQ(text[0].unicode(), b) << b;
        }
        EXPECT_EQ(toAnsi(text), one) << b;
        EXPECT_EQ(ansiByte(ansiChar(static_cast<unsigned char>(b))), b);
    }
    EXPECT_EQ(defined, 251);

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toAnsi(fromAnsi(all)), all);
}

TEST(Codec, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(toAnsi(QString::fromUtf8("a\u0101b\u4E2D")), QByteArray("a?b?"));
    EXPECT_EQ(ansiByte(QChar(0x0101)), -1);
    EXPECT_EQ(ansiByte(QChar(0x20AC)), 0x80);
    // C1 controls other than the five kept ones are not in the code page.
    EXPECT_EQ(ansiByte(QChar(0x0080)), -1);
    EXPECT_EQ(ansiSafe(QString::fromUtf8("Œuvre \u0142\u00F3d\u017A")),
              QString::fromUtf8("Œuvre ?ód?"));
    // One character beyond the basic plane (two UTF-16 units) is one '?', as
    // the UTF-8 importers give it; so is a surrogate standing alone.
    const QString lone = QString(QChar(0xDC00)) + QChar(0xD800);
    EXPECT_EQ(toAnsi(QString::fromUtf8("Ω€😀é")), QByteArray("?\x80?\xE9"));
    EXPECT_EQ(ansiSafe(QString::fromUtf8("Ω€😀é")), QString::fromUtf8("?€?é"));
    EXPECT_EQ(toAnsi(lone + QStringLiteral("a")), QByteArray("??a"));
    EXPECT_EQ(ansiSafe(lone), QStringLiteral("??"));
    EXPECT_EQ(toAnsi(QString::fromUtf8("😀")), toAnsi(utf8ToAnsiText("\xF0\x9F\x98\x80")));
    // Appending keeps the bytes already there and ends right after the text,
    // also when a pair of units gave one byte.
    QByteArray out("ab\r\n");
    appendAnsi(out, QString::fromUtf8("😀é"));
    appendAnsi(out, u"x\u20AC");
    EXPECT_EQ(out, QByteArray("ab\r\n?\xE9x\x80"));
}

TEST(Utf8ToAnsi, KeepsEveryAccentedLetterOfTheCodePage)
{
    const QString letters =
        QString::fromUtf8("ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿŒœŠšŽžŸ€");
    EXPECT_EQ(utf8ToAnsiText(letters.toUtf8()), letters);
    // Letters written as base letter plus combining accent are composed.
    EXPECT_EQ(utf8ToAnsiText("Ele\xCC\x80ve E\xCC\x81te\xCC\x81"), QString::fromUtf8("Elève Été"));
    // A byte-order mark at the start is dropped, one elsewhere is not a letter.
    EXPECT_EQ(utf8ToAnsiText("\xEF\xBB\xBFNum_licence;\xEF\xBB\xBF"),
              QStringLiteral("Num_licence;?"));
}

TEST(Utf8ToAnsi, BadSequencesGiveOneQuestionMarkPerByte)
{
    struct Case {
        QByteArray in;
        QString out;
    };
    const Case cases[] = {
        {QByteArray("a\x80z"), "a?z"},                                // lone continuation byte
        {QByteArray("\xC0\x80"), "??"},                               // overlong NUL
        {QByteArray("\xE0\x80\xAF"), "???"},                          // overlong slash
        {QByteArray("\xED\xA0\x80"), "???"},                          // encoded surrogate
        {QByteArray("\xF4\x90\x80\x80"), "????"},                     // beyond U+10FFFF
        {QByteArray("\xF5\xFF\xFE"), "???"},                          // bytes never used
        {QByteArray("caf\xC3"), "caf?"},                              // truncated at the end
        {QByteArray("\xE2\x82z"), "??z"},                             // truncated before ASCII
        {QByteArray("\xF0\x9F\x83\x8F!"), "?!"},                      // outside the basic plane
        {QByteArray("x\0y", 3), QStringView(u"x\0y", 3).toString()}}; // NUL is a byte like another
    for (const Case &c : cases)
        EXPECT_EQ(utf8ToAnsiText(c.in), c.out) << c.in.toHex().constData();
}

TEST(AnsiText, ComparesByCodePageOrderAndRaisesOnlyAtoZ)
{
    // In UTF-16 the euro sign sorts after every Latin-1 letter; in the code
    // page it sits at 0x80, between "z" and "É".
    EXPECT_LT(ansiCompare(QStringLiteral("z"), QString::fromUtf8("€")), 0);
    EXPECT_LT(ansiCompare(QString::fromUtf8("€"), QString::fromUtf8("É")), 0);
    EXPECT_GT(ansiCompare(QString::fromUtf8("É"), QStringLiteral("Z")), 0);
    EXPECT_GT(ansiCompare(QString::fromUtf8("Œ"), QString::fromUtf8("Š")), 0);
    EXPECT_EQ(ansiCompare(QStringLiteral("abc"), QStringLiteral("abc")), 0);
    EXPECT_LT(ansiCompare(QStringLiteral("ab"), QStringLiteral("abc")), 0);
    EXPECT_GT(ansiCompare(QStringLiteral("b"), QStringLiteral("abc")), 0);
    EXPECT_LT(ansiCompare(QStringLiteral("B"), QStringLiteral("a")), 0);

    EXPECT_EQ(upperAZ(QString::fromUtf8("élève du Pré-1 ÿ")),
              QString::fromUtf8("éLèVE DU PRé-1 ÿ"));
}
