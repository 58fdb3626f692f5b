// The challenge's ranking pages: colours, journée links, header blocks,
// rows, escaping of names, the limited ranking and the files written.
#include "manager/core/pageschallenge.h"
#include "platform/text/exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

TEST(PagesChallenge, Colours)
{
    const struct {
        const char *iv;
        const char *attendu;
    } cas[] = {{"", "bgcolor=\"#FFC9AE\""},
               {"30", "bgcolor=\"#FFC9AE\""},
               {"31", "bgcolor=\"#CCFFFF\""},
               {"40", "bgcolor=\"#CCFFFF\""},
               {"41", "bgcolor=\"#BFFF80\""},
               {"60", "bgcolor=\"#BFFF80\""},
               {"61", "bgcolor=\"#FFFFA6\""},
               {"100", "bgcolor=\"#FFFFA6\""},
               {"101", ""},
               {"-1", ""}};
    for (const auto &c : cas)
        EXPECT_EQ(CouleurIV(QLatin1String(c.iv)), QLatin1String(c.attendu)) << c.iv;
    EXPECT_THROW(CouleurIV(QStringLiteral("4x")), platform::EConvertError);
    EXPECT_EQ(CouleurType(QStringLiteral("P")), QStringLiteral("bgcolor=\"#00FFff\""));
    EXPECT_EQ(CouleurType(QStringLiteral("Q")), QStringLiteral("bgcolor=\"#66ff99\""));
    EXPECT_EQ(CouleurType(QStringLiteral(" ")), QStringLiteral("bgcolor=\"#0000ff\""));
}

TEST(PagesChallenge, JourneeTitles)
{
    EXPECT_EQ(TitreJournee(QStringLiteral("P"), QStringLiteral("Open de Lyon"),
                           QStringLiteral("Tournoi1.htm")),
              QStringLiteral("<a Class=\"Lien\" href=\"Tournoi1.htm\" target=principal>&nbsp;"
                             "Open de Lyon&nbsp;</a>"));
    EXPECT_EQ(
        TitreJournee(QStringLiteral("Q"), QStringLiteral("A & B"), QStringLiteral("Quatre1.htm")),
        QStringLiteral("<a Class=\"LienCh\" href=\"Quatre1.htm\" target=principal>&nbsp;"
                       "A &amp; B&nbsp;</a>"));
    EXPECT_EQ(TitreJournee(QStringLiteral(" "), QStringLiteral("<i>x</i>"), QString()),
              QStringLiteral("&lt;i&gt;x&lt;/i&gt;"));
}

QList<EntreeClassement> classement(int n)
{
    QList<EntreeClassement> l;
    for (int i = 0; i < n; ++i) {
        EntreeClassement e;
        e.place = QString::number(i + 1);
        e.nom =
            i == 0 ? QStringLiteral("Dupont & Fils <b>SA</b>") : QStringLiteral("Joueur %1").arg(i);
        e.licence = QStringLiteral("0%1").arg(1000 + i);
        e.iv = QString::number(20 + i % 60);
        e.total = QStringLiteral("%1,00").arg(500 - i);
        e.points[0] = QStringLiteral("1,50");
        e.points[2] = QStringLiteral("2,25");
        l.append(e);
    }
    return l;
}

const QList<JourneeWeb> Journees{
    {QStringLiteral("P"), QStringLiteral("Open"), QStringLiteral("12/10/2023")},
    {QStringLiteral("Q"), QStringLiteral("Quatre"), QStringLiteral("19/10/2023")},
    {QStringLiteral(" "), QStringLiteral("Rien"), QString()}};

TEST(PagesChallenge, HeaderBlocksRowsAndEscaping)
{
    const QStringList p = PageClassement(QStringLiteral("2023-2024"), Journees, classement(120), 0);
    EXPECT_TRUE(p.contains(
        QStringLiteral("<title>Comp&eacute;titions R&eacute;sultats Challenge</title>")));
    EXPECT_EQ(
        p.count(QStringLiteral("<td colspan=\"6\" align=\"center\" height=\"37\" width=\"100%\">")),
        2);
    // A header block before entries 0, 50 and 100, so before their rows.
    QList<int> blocs, rangs;
    for (int i = 0; i < p.size(); ++i) {
        if (p[i] == u"<td colspan=\"6\" align=\"center\"  height=\"15\" width=\"100%\">")
            blocs << i;
        if (p[i].startsWith(u"<tr bgcolor=\"#") && p[i].endsWith(u"> "))
            rangs << i;
    }
    ASSERT_EQ(blocs.size(), 3);
    ASSERT_EQ(rangs.size(), 120);
    for (int b = 0; b < 3; ++b) {
        EXPECT_LT(blocs[b], rangs[50 * b]);
        if (b > 0) {
            EXPECT_GT(blocs[b], rangs[50 * b - 1]);
        }
    }
    // Six cells per row: place, name, three journées, total.
    const int r = rangs[0];
    const QStringList ligne = p.mid(r, 1 + 6 * 5 + 1);
    EXPECT_EQ(ligne[0], QStringLiteral("<tr bgcolor=\"#FFC9AE\"> "));
    EXPECT_EQ(ligne[3], QStringLiteral("1 "));
    EXPECT_EQ(ligne[6], QStringLiteral("<td align=\"left\">"));
    EXPECT_EQ(ligne[8], QStringLiteral(" Dupont &amp; Fils &lt;b&gt;SA&lt;/b&gt;"));
    EXPECT_EQ(ligne[13], QStringLiteral("1,50"));
    EXPECT_EQ(ligne[18], QStringLiteral("&nbsp;"));
    EXPECT_EQ(ligne[23], QStringLiteral("2,25"));
    EXPECT_EQ(ligne[28], QStringLiteral("500,00"));
    EXPECT_EQ(ligne[31], QStringLiteral("</tr>"));
    EXPECT_FALSE(p.join('\n').contains(QStringLiteral("<b>SA")));
    EXPECT_EQ(p.last(), QStringLiteral("</body></html>"));
}

TEST(PagesChallenge, BothFilesLimitedRankingAndMissingFolder)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString dossier = d.path() + QStringLiteral("/Page_Htm/");
    QList<EntreeClassement> e = classement(5);
    const QString ivs[] = {"40", "55", "31", "30", "20"};
    const QString totaux[] = {"9,00", "8,00", "8,00", "8,00", "7,00"};
    for (int i = 0; i < 5; ++i) {
        e[i].iv = ivs[i];
        e[i].total = totaux[i];
    }
    QList<EntreeClassement> copie = e;
    EXPECT_THROW(EcrirePagesClassement(dossier, QStringLiteral("2023-2024"), Journees, copie, 40),
                 platform::EFileError);
    EXPECT_FALSE(QFile::exists(dossier + QStringLiteral("Challenge.htm")));

    ASSERT_TRUE(QDir().mkpath(dossier));
    QByteArray premier;
    for (int run = 0; run < 2; ++run) {
        copie = e;
        EcrirePagesClassement(dossier, QStringLiteral("2023-2024"), Journees, copie, 40);
        QStringList places;
        for (const EntreeClassement &x : copie)
            places << x.place;
        EXPECT_EQ(places, (QStringList{"1", "2", "2", "4"}));
        QFile f(dossier + QStringLiteral("ChallengeCat.htm"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray octets = f.readAll();
        EXPECT_TRUE(octets.contains("Classement des joueurs I.V. Maximum 40\r\n"));
        EXPECT_FALSE(octets.contains(" Joueur 1\r\n")); // value index 55
        if (run == 1) {
            EXPECT_EQ(octets, premier); // a second run writes the same bytes
        }
        premier = octets;
    }
    EXPECT_TRUE(QFile::exists(dossier + QStringLiteral("Challenge.htm")));
}

// A ranked player whose value index is empty (missing from the players
// file) counts 0: he stays in the limited ranking, coloured as the lowest
// band on both pages, and both files are written.
TEST(PagesChallenge, EmptyValueIndexCountsZero)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString dossier = d.path() + QStringLiteral("/Page_Htm/");
    ASSERT_TRUE(QDir().mkpath(dossier));
    QList<EntreeClassement> e = classement(3);
    e[0].iv = QStringLiteral("55");
    e[1].iv = QString();
    e[2].iv = QStringLiteral("35");

    QList<EntreeClassement> limitee = e;
    FiltrerIV(limitee, 40);
    QStringList gardes;
    for (const EntreeClassement &x : limitee)
        gardes << x.place + QLatin1Char(':') + x.nom;
    EXPECT_EQ(gardes, (QStringList{QStringLiteral("1:Joueur 1"), QStringLiteral("2:Joueur 2")}));

    EcrirePagesClassement(dossier, QStringLiteral("2023-2024"), Journees, e, 40);
    for (const char *page : {"Challenge.htm", "ChallengeCat.htm"}) {
        QFile f(dossier + QLatin1String(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page;
        const QString texte = QString::fromLatin1(f.readAll());
        const qsizetype joueur = texte.indexOf(QStringLiteral("Joueur 1"));
        ASSERT_GE(joueur, 0) << page;
        const qsizetype ligne = texte.lastIndexOf(QStringLiteral("<tr "), joueur);
        EXPECT_TRUE(texte.mid(ligne).startsWith(QStringLiteral("<tr ") + CouleurIV(QString())))
            << page;
    }
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e[0].nom, QStringLiteral("Joueur 1"));
}

} // namespace
