// The teams-of-four journée page and its match pages, from the files of the
// recorded session: links, merged players, the seven-day rule, odd groups
// and the failures that leave no page behind.
#include "manager/core/pagesjournee.h"
#include "manager/core/poulequatre.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

class PagesQuatre : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(d.isValid());
        ancienRep = RepAppli;
        ancienneSaison = SaisonEnCours;
        RepAppli = d.path() + QLatin1Char('/');
        SaisonEnCours = QStringLiteral("2023-2024");
        saison = RepAppli + SaisonEnCours + QLatin1Char('/');
        pages = RepAppli + QStringLiteral("Page_Htm/");
        ASSERT_TRUE(QDir().mkpath(saison));
        ASSERT_TRUE(QDir().mkpath(pages));
        for (const char *f : {"Poule.cpo", "PouleR0.cpo", "PouleM000001.cpo"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(VORN_TEST_DATA "/quatre/") + QLatin1String(f),
                                    saison + QLatin1String(f)));
        maintenant = platform::toDateTime(QDateTime::currentDateTime());
    }
    void TearDown() override
    {
        RepAppli = ancienRep;
        SaisonEnCours = ancienneSaison;
    }
    QStringList lire(const QString &nom) const
    {
        QStringList l;
        return platform::LineFile::readIfExists(pages + nom, l) ? l : QStringList();
    }
    QString page() { return PageQuatre(tournois, 1, SaisonEnCours, pages, maintenant); }
    QString texte(const QString &nom) const { return lire(nom).join(u'\n'); }
    // The sheets of PouleM000001.cpo with team A's handicap set to h.
    void ecrireMatch(const QString &nom, const QString &h)
    {
        QStringList l = platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
        l[25] = h + QStringLiteral(";0;;;");
        platform::LineFile::write(saison + nom, l);
    }
    // A whole generation of two teams-of-four journées.
    void generer()
    {
        QList<EntreeClassement> entrees;
        PagesChallenge({QStringLiteral("Q;19/10/2023;Quatre;;1;;Quatre1.chr;"),
                        QStringLiteral("Q;26/10/2023;Quatre;;2;;Quatre2.chr;")},
                       2, {QStringLiteral("Q"), QStringLiteral("Q")},
                       {QStringLiteral("J1"), QStringLiteral("J2")},
                       {QStringLiteral("19/10/2023"), QStringLiteral("26/10/2023")}, SaisonEnCours,
                       pages, entrees, 40, maintenant);
    }

    QTemporaryDir d;
    QString ancienRep, ancienneSaison, saison, pages;
    platform::TDateTime maintenant = 0;
    QStringList tournois{QStringLiteral("Q;19/10/2023;Quatre;;1;;Quatre.chr;"),
                         QStringLiteral("P;19/10/2023;Paires;;2;;Paires.chr;")};
};

TEST_F(PagesQuatre, CrossTableLinksBothCellsToTheMatchPage)
{
    EXPECT_EQ(page(), QStringLiteral("Quatre1.htm"));
    const QStringList l = lire(QStringLiteral("Quatre1.htm"));
    EXPECT_TRUE(l.contains(QStringLiteral("<title>Compétitions Résultats Quatre</title>")));
    EXPECT_TRUE(l.contains(
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>12,33</a>")));
    EXPECT_TRUE(l.contains(
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>7,67</a>")));
    EXPECT_EQ(
        l.count(QStringLiteral("<td colspan=\"8\" align=\"center\" height=\"37\" width=\"100%\">")),
        1);
    EXPECT_TRUE(l.contains(QStringLiteral("Résultats")));
    // Five rows of eight cells: two side cells and six table cells.
    EXPECT_EQ(l.count(QStringLiteral("</font></b></td>")), 1 + 5 * 6);
    EXPECT_EQ(l.count(QStringLiteral("<td bgcolor=\"#66ff99\" width=\"15%\" align=\"center\">")),
              3);
    EXPECT_EQ(l.count(QStringLiteral("<td bgcolor=\"#66ff99\" align=\"center\">")), 1);

    const QStringList m = lire(QStringLiteral("Match000001.htm"));
    EXPECT_TRUE(m.contains(QStringLiteral("Poule A : Match 1")));
    // Players of both halves are shown once, with both halves' sums.
    EXPECT_EQ(m.count(QStringLiteral("M ARNAUD Luc")), 1);
    const qsizetype i = m.indexOf(QStringLiteral("M ARNAUD Luc"));
    ASSERT_GT(i, 0);
    EXPECT_EQ(m[i + 4], QStringLiteral("24"));
    EXPECT_EQ(m[i + 8], QStringLiteral("222"));
    EXPECT_EQ(m[i + 12], QStringLiteral("32,62"));
    EXPECT_TRUE(m.contains(QStringLiteral("12,33")));
    EXPECT_TRUE(m.contains(QStringLiteral("40")));
    EXPECT_TRUE(m.contains(QString::fromUtf8("Sète")));
}

TEST_F(PagesQuatre, HandicapTextAndTheOtherOrderOfTheTeams)
{
    QStringList lignes = platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
    lignes[12] = QStringLiteral("24;25;50;1233;");
    lignes[24] = QStringLiteral("24;25;60;767;");
    lignes[25] = QStringLiteral("3;0;;;");
    platform::LineFile::write(saison + QStringLiteral("PouleM000100.cpo"), lignes);
    QFile::remove(saison + QStringLiteral("PouleM000001.cpo"));
    EXPECT_EQ(
        PageFeuillesMatch(0, 0, 1, QStringLiteral("12,33"), SaisonEnCours, pages),
        QStringLiteral("<a Class=\"Lien\" href=\"Match000100.htm\" target=principal>12,33</a>"));
    const QStringList m = lire(QStringLiteral("Match000100.htm"));
    EXPECT_TRUE(m.contains(QStringLiteral("25 + 3 = 28")));
    EXPECT_EQ(m.count(QStringLiteral("25")), 1); // handicap "0": the IMPs alone
    EXPECT_EQ(PageFeuillesMatch(0, 2, 3, QStringLiteral("5,00"), SaisonEnCours, pages),
              QStringLiteral("5,00"));
    EXPECT_EQ(PageFeuillesMatch(0, 0, 1, QString(), SaisonEnCours, pages), QString());
}

// The sums of a sheet: a player of both halves, the IMPs and the handicap.
// An empty number counts 0; one too wide to be a whole number refuses the
// file, named with the line, never a sum gone wrong.
TEST_F(PagesQuatre, SheetSums)
{
    const QStringList feuille =
        platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
    const char *const grand = "9223372036854775807";
    const struct {
        const char *pe1, *pe2, *imp, *handicap;
        const char *pe, *texteImp; // nullptr: the file refused
    } cas[] = {{"11097", "11097", "40", "3", "222", "40 + 3 = 43"},
               {"", "11097", "40", "", "111", "40"},
               {"2147483647", "2147483647", "2147483647", "2147483647", "42949673",
                "2147483647 + 2147483647 = 4294967294"},
               {grand, grand, "40", "", nullptr, nullptr},
               {"11097", "11097", grand, "3", nullptr, nullptr}};
    for (const auto &c : cas) {
        QStringList l = feuille;
        l[6] = QStringLiteral("12;200;%1;1631;").arg(QLatin1String(c.pe1));
        l[11] = QStringLiteral("12;200;%1;1631;").arg(QLatin1String(c.pe2));
        l[12] = QStringLiteral("24;%1;50;1233;").arg(QLatin1String(c.imp));
        l[25] = QStringLiteral("%1;0;;;").arg(QLatin1String(c.handicap));
        platform::LineFile::write(saison + QStringLiteral("PouleM000001.cpo"), l);
        QFile::remove(pages + QStringLiteral("Match000001.htm"));
        if (!c.pe) {
            EXPECT_THROW(PageFeuillesMatch(0, 0, 1, QStringLiteral("1"), SaisonEnCours, pages),
                         EFichierGroupeAbime)
                << c.pe1 << " " << c.imp;
            EXPECT_FALSE(QFile::exists(pages + QStringLiteral("Match000001.htm")));
            continue;
        }
        PageFeuillesMatch(0, 0, 1, QStringLiteral("1"), SaisonEnCours, pages);
        const QStringList m = lire(QStringLiteral("Match000001.htm"));
        const qsizetype i = m.indexOf(QStringLiteral("M ARNAUD Luc"));
        ASSERT_GT(i, 0) << c.pe1;
        EXPECT_EQ(m[i + 8], QLatin1String(c.pe)) << c.pe1;
        EXPECT_TRUE(m.contains(QLatin1String(c.texteImp))) << c.texteImp;
    }
}

TEST_F(PagesQuatre, SevenDayRule)
{
    const struct {
        double jours;
        bool garde;
    } cas[] = {{8, true}, {6, false}};
    for (const auto &c : cas) {
        platform::LineFile::write(pages + QStringLiteral("Quatre1.htm"),
                                  {QStringLiteral("ancienne")});
        QFile f(pages + QStringLiteral("Quatre1.htm"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(qint64(-c.jours * 86400)),
                                  QFileDevice::FileModificationTime));
        f.close();
        EXPECT_EQ(page(), QStringLiteral("Quatre1.htm"));
        EXPECT_EQ(lire(QStringLiteral("Quatre1.htm")) == QStringList{QStringLiteral("ancienne")},
                  c.garde)
            << c.jours;
        // A page kept keeps its match pages as they are too.
        EXPECT_EQ(QFile::exists(pages + QStringLiteral("Match000001.htm")), !c.garde) << c.jours;
    }
}

TEST_F(PagesQuatre, LinkToTheMatchFileOfEitherOrder)
{
    const QStringList feuille =
        platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
    const struct {
        std::initializer_list<const char *> fichiers;
        const char *attendu;
    } cas[] = {{{"PouleM000102.cpo", "PouleM000201.cpo"},
                "<a Class=\"Lien\" href=\"Match000102.htm\" target=principal>21,50</a>"},
               {{"PouleM000201.cpo"},
                "<a Class=\"Lien\" href=\"Match000201.htm\" target=principal>21,50</a>"},
               {{}, "21,50"}};
    for (const auto &c : cas) {
        for (const char *f : {"PouleM000102.cpo", "PouleM000201.cpo"})
            QFile::remove(saison + QLatin1String(f));
        for (const char *f : c.fichiers)
            platform::LineFile::write(saison + QLatin1String(f), feuille);
        // Row 2, column 4: team 1 against team 2.
        platform::LineFile::write(saison + QStringLiteral("PouleR0.cpo"),
                                  {QStringLiteral(";A;B;C;D;;"), QStringLiteral("A;;;;;;"),
                                   QStringLiteral("B;;;2150;;2150;"), QStringLiteral("C;;;;;;"),
                                   QStringLiteral("D;;;;;;")});
        EXPECT_EQ(page(), QStringLiteral("Quatre1.htm"));
        EXPECT_TRUE(lire(QStringLiteral("Quatre1.htm")).contains(QLatin1String(c.attendu)))
            << c.attendu;
    }
}

TEST_F(PagesQuatre, MatchFileCutMidSheetShowsItsCompleteSheets)
{
    QStringList deux = platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
    deux += deux;
    // The second sheet's line 0 with no group: read as "&nbsp;".
    deux[50] = QStringLiteral("Match 2;400;;;");
    deux += deux.mid(0, 20);
    const struct {
        int lignes;
        QStringList titres;
    } cas[] = {{49, {}},
               {50, {QStringLiteral("Poule A : Match 1")}},
               {75, {QStringLiteral("Poule A : Match 1")}},
               {120, {QStringLiteral("Poule A : Match 1"), QStringLiteral("&nbsp; : Match 2")}}};
    for (const auto &c : cas) {
        platform::LineFile::write(saison + QStringLiteral("PouleM000001.cpo"),
                                  deux.mid(0, c.lignes));
        EXPECT_EQ(PageFeuillesMatch(0, 0, 1, QStringLiteral("12,33"), SaisonEnCours, pages),
                  QStringLiteral(
                      "<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>12,33</a>"));
        const QStringList m = lire(QStringLiteral("Match000001.htm"));
        QStringList titres;
        for (qsizetype i = 1; i < m.size(); ++i)
            if (m[i - 1] == u"<b><font color=\"#1AAC30\" face=\"Arial\" size=\"6\">")
                titres << m[i];
        EXPECT_EQ(titres, c.titres) << c.lignes;
        EXPECT_EQ(m.count(QStringLiteral("M ARNAUD Luc")), c.titres.size()) << c.lignes;
        EXPECT_EQ(m.last(), QStringLiteral("</body></html>"));
    }
}

TEST_F(PagesQuatre, NoPageOddGroupsAndFailures)
{
    tournois.prepend(QStringLiteral("Q;19/10/2023;Sans;;1;;;"));
    EXPECT_EQ(page(), QString());
    tournois.removeFirst();

    // A second group without cross table, a third of three teams.
    platform::LineFile::write(
        saison + QStringLiteral("Poule.cpo"),
        {QStringLiteral("Poule A"), QStringLiteral("Poule <B>"), QStringLiteral("Poule C")});
    platform::LineFile::write(saison + QStringLiteral("PouleR2.cpo"),
                              {QStringLiteral(";X;Y;Z;;"), QStringLiteral("X;;100;;100;"),
                               QStringLiteral("Y;;;;;"), QStringLiteral("Z;;;;;")});
    EXPECT_EQ(page(), QStringLiteral("Quatre1.htm"));
    const QStringList l = lire(QStringLiteral("Quatre1.htm"));
    EXPECT_TRUE(l.contains(QStringLiteral("Poule &lt;B&gt;")));
    EXPECT_TRUE(l.contains(
        QStringLiteral("<td colspan=\"7\" align=\"center\" height=\"37\" width=\"100%\">")));
    EXPECT_TRUE(l.contains(QStringLiteral("1,00")));

    // A table that does not read whole (a cell that is not a number, rows
    // missing) ends the page before anything is written: no match page
    // either, no temporary file left.
    QFile::remove(pages + QStringLiteral("Quatre1.htm"));
    QFile::remove(pages + QStringLiteral("Match000001.htm"));
    platform::LineFile::write(saison + QStringLiteral("PouleR2.cpo"),
                              {QStringLiteral(";X;Y;Z;;"), QStringLiteral("X;;1x;;;")});
    EXPECT_THROW(page(), EFichierGroupeAbime);
    EXPECT_EQ(QDir(pages).entryList(QDir::Files | QDir::Hidden), QStringList());

    QFile::remove(saison + QStringLiteral("Poule.cpo"));
    EXPECT_THROW(page(), platform::Exception);
}

// One generation makes each match page once for all its teams-of-four
// journées: every cell still leads to the page of the file it finds first,
// and each generation shows the files as they are then.
TEST_F(PagesQuatre, EveryJourneeLinksEachCellToItsOwnFileAndPagesFollowTheFiles)
{
    // Both orders of the match exist: Lyon's cell finds 000001 first, Sète's
    // cell 000100; stale pages stand where the generation writes.
    ecrireMatch(QStringLiteral("PouleM000001.cpo"), QStringLiteral("1"));
    ecrireMatch(QStringLiteral("PouleM000100.cpo"), QStringLiteral("3"));
    for (const char *p : {"Match000001.htm", "Match000100.htm"})
        platform::LineFile::write(pages + QLatin1String(p), {QStringLiteral("ancienne")});

    generer();
    for (const char *j : {"Quatre1.htm", "Quatre2.htm"}) {
        const QString page = texte(QLatin1String(j));
        EXPECT_TRUE(page.contains(QStringLiteral(
            "<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>12,33</a>")))
            << j;
        EXPECT_TRUE(page.contains(
            QStringLiteral("<a Class=\"Lien\" href=\"Match000100.htm\" target=principal>7,67</a>")))
            << j;
    }
    EXPECT_TRUE(texte(QStringLiteral("Match000001.htm")).contains(QStringLiteral("40 + 1 = 41")));
    EXPECT_TRUE(texte(QStringLiteral("Match000100.htm")).contains(QStringLiteral("40 + 3 = 43")));

    // The next generation reads the match files again.
    ecrireMatch(QStringLiteral("PouleM000001.cpo"), QStringLiteral("5"));
    QFile::remove(saison + QStringLiteral("PouleM000100.cpo"));
    generer();
    EXPECT_TRUE(texte(QStringLiteral("Match000001.htm")).contains(QStringLiteral("40 + 5 = 45")));
    const QString page = texte(QStringLiteral("Quatre2.htm"));
    EXPECT_TRUE(page.contains(
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>7,67</a>")));
    EXPECT_FALSE(page.contains(QStringLiteral("Match000100.htm")));
}

} // namespace
