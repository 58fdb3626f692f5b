// UTF-8 to code-page text against a plain reference (decode, compose,
// replace what the code page lacks): texts made only of code-page letters
// and texts that need composing must both come out as the reference says.
#include "platform/text/codec.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

QString reference(const QByteArray &utf8)
{
    return ansiSafe(QString::fromUtf8(utf8).normalized(QString::NormalizationForm_C));
}

} // namespace

TEST(Utf8ToAnsiCompose, CharactersOutsideTheCodePageStillCompose)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        {"Ch\xC3\xA2teauroux l\xE2\x80\x99\xC3\x89glise \xE2\x82\xAC", "Châteauroux l’Église €"},
        {"\xE2\x84\xAB"
         "ngstr\xC3\xB6m",
         "Ångström"},                        // the Angstrom sign is Å once composed
        {"\xE2\x84\xA6", "?"},               // the Ohm sign is Greek Omega: not kept
        {"No\xC3\xABl e\xCC\x81", "Noël é"}, // combining accent after plain text
        {"\xE2\x82\xAC\xCC\x81", "€?"},      // nothing to compose with
        {"a\xC2\x85z\xC2\x80", "a?z?"},      // C1 controls outside the code page
        {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\xC5\x81ukasz \xC5\x92uvre", "?ukasz Œuvre"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf8ToAnsiText(c.in), QString::fromUtf8(c.out)) << c.in;
}

TEST(Utf8ToAnsiCompose, RandomTextsMatchTheReference)
{
    // Plain letters, code-page letters and signs, combining accents, letters
    // other code pages have, singletons that change under composition.
    const char16_t alphabet[] = {u'a',   u'E',   u';',   u' ',   0x00E9, 0x00C9, 0x0153,
                                 0x2019, 0x20AC, 0x0081, 0x0085, 0x0301, 0x0300, 0x0308,
                                 0x0327, 0x0141, 0x03A9, 0x212B, 0x2126, 0x1100, 0x1161,
                                 0x11A8, 0x0340, 0x0E01, 0xFB01, 0x00A0, 0x017D, 0x0178};
    QRandomGenerator alea(424242);
    for (int essai = 0; essai < 3000; ++essai) {
        QString texte;
        const int longueur = int(alea.bounded(1, 24));
        for (int k = 0; k < longueur; ++k)
            texte += QChar(alphabet[alea.bounded(int(std::size(alphabet)))]);
        const QByteArray utf8 = texte.toUtf8();
        ASSERT_EQ(utf8ToAnsiText(utf8), reference(utf8)) << utf8.toHex().constData();
    }
}
