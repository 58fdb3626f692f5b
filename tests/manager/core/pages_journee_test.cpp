// The page of a pairs journée: its tournaments' blocks, rows, grey names,
// the bytes written and the names that never become a page.
#include "manager/core/genrefichier.h"
#include "manager/core/pagesjournee.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

class PagesJournee : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(d.isValid());
        saison = d.path() + QStringLiteral("/2023-2024/");
        pages = d.path() + QStringLiteral("/Page_Htm/");
        ASSERT_TRUE(QDir().mkpath(saison));
        ASSERT_TRUE(QDir().mkpath(pages));
        platform::LineFile::write(
            saison + QStringLiteral("Tournoi1.chr"),
            {QStringLiteral("1;DUPONT Jean;MARTIN Paul;01000158;;01000306;;1250;"),
             QStringLiteral("2;Dupont & Fils <b>SA</b>;Invité;01000380;;;;900;Cat. B")});
        platform::LineFile::write(saison + QStringLiteral("Tournoi2.chr"),
                                  {QStringLiteral("1;ROUX Anne;;01001453;;;;0;")});
    }
    QByteArray lire(const QString &nom) const
    {
        QFile f(pages + nom);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir d;
    QString saison, pages;
    QStringList tournois{QStringLiteral("P;12/10/2023;Open de Lyon;;1;;Tournoi1.chr;"),
                         QStringLiteral("Q;19/10/2023;Quatre;;2;;Quatre.chr;"),
                         QStringLiteral("P;12/10/2023;Open du soir;;1;;Tournoi2.chr;"),
                         QStringLiteral("P;12/10/2023;Sans fichier;;3;;;")};
};

TEST_F(PagesJournee, TwoTournamentsOnePageNamedAfterTheFirst)
{
    EXPECT_EQ(PagePaires(tournois, 1, QStringLiteral("2023-2024"), saison, pages),
              QStringLiteral("Tournoi1.htm"));
    const QByteArray page = lire(QStringLiteral("Tournoi1.htm"));
    const QStringList l = QString::fromLatin1(page).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(page.contains("<title>Comp\xe9titions R\xe9sultats Paires</title>\r\n"));
    EXPECT_TRUE(page.contains("&nbsp;2023-2024 Classement Sp\xe9\x63ial Cat\xe9goriel&nbsp;\r\n"));
    EXPECT_TRUE(page.endsWith("</body></html>\r\n"));
    // Both blocks, the first tournament's first.
    const qsizetype a = l.indexOf(QStringLiteral("Open de Lyon"));
    const qsizetype b = l.indexOf(QStringLiteral("Open du soir"));
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    // Rows: a category after the eighth ";" is ignored; names are escaped;
    // a name without licence is grey.
    EXPECT_EQ(l.count(QStringLiteral("<tr bgcolor=\"#FFFFE6\">")), 3);
    const qsizetype n = l.indexOf(QStringLiteral("Dupont &amp; Fils &lt;b&gt;SA&lt;/b&gt;"));
    ASSERT_GT(n, 0);
    EXPECT_EQ(l[n - 1], QStringLiteral("<FONT COLOR=\"#000000\" face=\"Arial\" size=\"3\">"));
    EXPECT_EQ(l[n + 4], QString::fromLatin1("Invit\xe9"));
    EXPECT_EQ(l[n + 3], QStringLiteral("<FONT COLOR=\"#AEAEAE\" face=\"Arial\" size=\"3\">"));
    EXPECT_EQ(l[n + 8], QStringLiteral("9,00"));
    EXPECT_TRUE(l.contains(QStringLiteral("12,50")));

    // A second run writes the same bytes.
    PagePaires(tournois, 1, QStringLiteral("2023-2024"), saison, pages);
    EXPECT_EQ(lire(QStringLiteral("Tournoi1.htm")), page);
}

TEST_F(PagesJournee, NamesThatNeverBecomeAPage)
{
    EXPECT_EQ(PagePaires(tournois, 3, QStringLiteral("2023-2024"), saison, pages), QString());
    EXPECT_EQ(PagePaires(tournois, 9, QStringLiteral("2023-2024"), saison, pages), QString());
    for (const char *fichier : {"../x.chr", "a\\b.chr", ".chr", "Challenge.chr", "challengecat.chr",
                                "Quatre1.chr", "quatre12.chr", "Match000102.chr"}) {
        const QStringList t{QStringLiteral("P;1/1/2024;T;;4;;") + QLatin1String(fichier) + ';'};
        EXPECT_EQ(PagePaires(t, 4, QStringLiteral("2023-2024"), saison, pages), QString())
            << fichier;
    }
    // A control character never names a page: a NUL would cut the name
    // short where the file is created.
    for (const QChar c : {QChar(0), QChar(1)}) {
        const QStringList t{QStringLiteral("P;1/1/2024;T;;4;;Tournoi1.chr") + c +
                            QStringLiteral(".chr;")};
        EXPECT_EQ(PagePaires(t, 4, QStringLiteral("2023-2024"), saison, pages), QString())
            << int(c.unicode());
    }
    EXPECT_EQ(QDir(pages).entryList(QDir::Files), QStringList());
    EXPECT_FALSE(QFile::exists(d.path() + QStringLiteral("/x.htm")));
}

TEST_F(PagesJournee, FailuresWriteNothing)
{
    // A missing result file, a non-numeric points field, a missing folder.
    QStringList t{QStringLiteral("P;1/1/2024;T;;5;;Absent.chr;")};
    EXPECT_THROW(PagePaires(t, 5, QStringLiteral("s"), saison, pages), platform::Exception);
    platform::LineFile::write(saison + QStringLiteral("Mauvais.chr"),
                              {QStringLiteral("1;A;B;1;;2;;12x;")});
    t = {QStringLiteral("P;1/1/2024;T;;5;;Mauvais.chr;")};
    EXPECT_THROW(PagePaires(t, 5, QStringLiteral("s"), saison, pages), platform::EConvertError);
    EXPECT_EQ(QDir(pages).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_THROW(
        PagePaires(tournois, 1, QStringLiteral("s"), saison, d.path() + QStringLiteral("/Absent/")),
        platform::Exception);

    // A linked file of another kind is refused with its name; tabs, page
    // ends, an end mark and any byte from 0x20 are text.
    const struct {
        QByteArray octets;
        bool refuse;
        const char *ligne; // where text gives way to other bytes
    } cas[] = {{QByteArray("1;A;B;1;;2;;5;\r\n\x89PNG\x1a\n\0\0", 24), true, " (ligne 3)"},
               {QByteArray("1;A;B;1;;2;;5;\x01\r\n"), true, ""},
               {QByteArray("1;A;B;1;;2;;5;\x1f"), true, ""},
               {QByteArray("1;A\tB;B\x0b;1;;2;;5;\x0c\r\n\x1a"), false, ""},
               {QByteArray("1;\xc3\xa9\x81\x7f\xff;B;1;;2;;5;\r\n"), false, ""}};
    t = {QStringLiteral("P;1/1/2024;T;;5;;Octets.chr;")};
    for (const auto &c : cas) {
        platform::LineFile::writeBytes(saison + QStringLiteral("Octets.chr"), c.octets);
        try {
            EXPECT_EQ(PagePaires(t, 5, QStringLiteral("s"), saison, pages),
                      QStringLiteral("Octets.htm"));
            EXPECT_FALSE(c.refuse) << c.octets.toHex().constData();
        } catch (const EAutreGenre &e) {
            EXPECT_TRUE(c.refuse) << c.octets.toHex().constData();
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Ce fichier n'est pas un fichier de résultats : ") + saison +
                          QStringLiteral("Octets.chr") + QString::fromUtf8(c.ligne));
        }
    }
}

} // namespace
