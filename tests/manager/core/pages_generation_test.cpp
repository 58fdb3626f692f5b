// One generation of the challenge pages makes each match page once for all
// its teams-of-four journées: every cell still leads to the page of the file
// it finds first, and each generation shows the files as they are then.
#include "manager/core/pagesjournee.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

class PagesGeneration : public ::testing::Test
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
    }
    void TearDown() override
    {
        RepAppli = ancienRep;
        SaisonEnCours = ancienneSaison;
    }
    // The sheets of PouleM000001.cpo with team A's handicap set to h.
    void ecrireMatch(const QString &nom, const QString &h)
    {
        QStringList l = platform::LineFile::read(saison + QStringLiteral("PouleM000001.cpo"));
        l[25] = h + QStringLiteral(";0;;;");
        platform::LineFile::write(saison + nom, l);
    }
    QString lire(const QString &nom) const
    {
        QStringList l;
        return platform::LineFile::readIfExists(pages + nom, l) ? l.join(u'\n') : QString();
    }
    void generer()
    {
        QList<EntreeClassement> entrees;
        PagesChallenge({QStringLiteral("Q;19/10/2023;Quatre;;1;;Quatre1.chr;"),
                        QStringLiteral("Q;26/10/2023;Quatre;;2;;Quatre2.chr;")},
                       2, {QStringLiteral("Q"), QStringLiteral("Q")},
                       {QStringLiteral("J1"), QStringLiteral("J2")},
                       {QStringLiteral("19/10/2023"), QStringLiteral("26/10/2023")}, SaisonEnCours,
                       pages, entrees, 40, platform::toDateTime(QDateTime::currentDateTime()));
    }

    QTemporaryDir d;
    QString ancienRep, ancienneSaison, saison, pages;
};

TEST_F(PagesGeneration, EveryJourneeLinksEachCellToItsOwnFileAndPagesFollowTheFiles)
{
    // Both orders of the match exist: Lyon's cell finds 000001 first, Sète's
    // cell 000100; stale pages stand where the generation writes.
    ecrireMatch(QStringLiteral("PouleM000001.cpo"), QStringLiteral("1"));
    ecrireMatch(QStringLiteral("PouleM000100.cpo"), QStringLiteral("3"));
    for (const char *p : {"Match000001.htm", "Match000100.htm"})
        platform::LineFile::write(pages + QLatin1String(p), {QStringLiteral("ancienne")});

    generer();
    for (const char *j : {"Quatre1.htm", "Quatre2.htm"}) {
        const QString page = lire(QLatin1String(j));
        EXPECT_TRUE(page.contains(QStringLiteral(
            "<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>12,33</a>")))
            << j;
        EXPECT_TRUE(page.contains(
            QStringLiteral("<a Class=\"Lien\" href=\"Match000100.htm\" target=principal>7,67</a>")))
            << j;
    }
    EXPECT_TRUE(lire(QStringLiteral("Match000001.htm")).contains(QStringLiteral("40 + 1 = 41")));
    EXPECT_TRUE(lire(QStringLiteral("Match000100.htm")).contains(QStringLiteral("40 + 3 = 43")));

    // The next generation reads the match files again.
    ecrireMatch(QStringLiteral("PouleM000001.cpo"), QStringLiteral("5"));
    QFile::remove(saison + QStringLiteral("PouleM000100.cpo"));
    generer();
    EXPECT_TRUE(lire(QStringLiteral("Match000001.htm")).contains(QStringLiteral("40 + 5 = 45")));
    const QString page = lire(QStringLiteral("Quatre2.htm"));
    EXPECT_TRUE(page.contains(
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>7,67</a>")));
    EXPECT_FALSE(page.contains(QStringLiteral("Match000100.htm")));
}

} // namespace
