// The players list's computations: filters, pie bands, age buckets and the
// average age, e-mail batches and the export file.
#include "manager/core/liste_joueurs.h"

#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

QStringList liste()
{
    return platform::LineFile::read(QStringLiteral(VORN_TEST_DATA "/players/liste.dbp"));
}

QStringList noms(const QStringList &joueurs, const QList<int> &listes)
{
    QStringList r;
    for (int i : listes)
        r << platform::Champ(joueurs[i], 0) + u' ' + platform::Champ(joueurs[i], 2);
    return r;
}

// A players line with only what the statistics read.
QString joueur(const QString &iv, const QString &naissance)
{
    return QStringLiteral("1;M.;NOM;Prenom;%1;CLUB;;;;;;;;;;%2;Type;;2027;").arg(iv, naissance);
}

const platform::TDateTime Aujourdhui = platform::EncodeDate(2026, 12, 7) + 0.5;

QString ilYa(int ans)
{
    return QStringLiteral("07/12/%1").arg(2026 - ans);
}

} // namespace

TEST(PlayersList, Filters)
{
    const QStringList j = liste();
    FiltresJoueurs f;
    EXPECT_EQ(joueursFiltres(j, f).size(), j.size());

    f.nom = true;
    f.nomMin = f.nomMax = u'B';
    // Lower-case "bernard", É and an empty name are not B.
    EXPECT_EQ(noms(j, joueursFiltres(j, f)),
              (QStringList{QStringLiteral("101 BARON"), QStringLiteral("103 BLANC")}));
    f.nomMin = u'A';
    f.nomMax = u'Z';
    // The accented initial counts as its base letter; the empty name fails.
    EXPECT_EQ(joueursFiltres(j, f), (QList<int>{0, 1, 2, 3, 4, 5}));
    f.nomMin = f.nomMax = u'E';
    EXPECT_EQ(noms(j, joueursFiltres(j, f)), QStringList{QStringLiteral("105 ÉBERT")});

    f = FiltresJoueurs();
    f.indice = true;
    f.indiceMin = 20;
    f.indiceMax = 40;
    // Empty and "x" value indexes fail an active index filter.
    EXPECT_EQ(noms(j, joueursFiltres(j, f)),
              (QStringList{QStringLiteral("101 BARON"), QStringLiteral("102 ALLARD"),
                           QStringLiteral("107 ")}));

    f = FiltresJoueurs();
    f.clubs = true;
    f.clubsCoches = {QStringLiteral("CLUB A")};
    // Exact club text: "club a" is another club.
    EXPECT_EQ(joueursFiltres(j, f), (QList<int>{0, 2, 5}));
    f.cotisation = true;
    f.cotisationsCochees = {QStringLiteral("Junior Licence")};
    EXPECT_EQ(joueursFiltres(j, f), (QList<int>{2}));
    f.clubsCoches.clear();
    EXPECT_TRUE(joueursFiltres(j, f).isEmpty());
}

TEST(PlayersList, CheckListValuesAreDistinctAndSortedTheFrenchWay)
{
    const QStringList j = liste();
    // Equal but for letter case: a fixed order, upper case first.
    EXPECT_EQ(valeursDistinctes(j, 5),
              (QStringList{QStringLiteral("CLUB A"), QStringLiteral("club a"),
                           QStringLiteral("CLUB B"), QStringLiteral("CLUB C")}));
    EXPECT_EQ(valeursDistinctes(j, 16),
              (QStringList{QStringLiteral("Cadet Découverte"), QStringLiteral("Junior Licence"),
                           QStringLiteral("Senior Licence")}));
    QStringList v{QStringLiteral("zèbre"),  QStringLiteral("Élan"), QStringLiteral("Echo"),
                  QStringLiteral("bridge"), QStringLiteral("Arc"),  QStringLiteral("éclair")};
    trierListeFrancaise(v);
    EXPECT_EQ(v.join(u','), QStringLiteral("Arc,bridge,Echo,éclair,Élan,zèbre"));
}

TEST(PlayersList, ValueIndexBands)
{
    const struct {
        const char *iv;
        int bande;
    } cas[] = {{"-5", 0},  {"0", 0},    {"20", 0}, {"21", 1}, {"30", 1},
               {"31", 2},  {"40", 2},   {"41", 3}, {"60", 3}, {"61", 4},
               {"100", 4}, {"101", -1}, {"", -1},  {"x", -1}, {"3 5", -1}};
    for (const auto &c : cas)
        EXPECT_EQ(bandeIndice(QString::fromLatin1(c.iv)), c.bande) << c.iv;
    EXPECT_EQ(NomsBandes[0], QStringLiteral("Nons classés"));
    EXPECT_EQ(NomsBandes[1], QStringLiteral("Quatrième série"));
    EXPECT_EQ(NomsBandes[4], QStringLiteral("Première série"));
}

TEST(PlayersList, AgesBucketsAndAverage)
{
    EXPECT_EQ(ageJoueur(Aujourdhui, ilYa(40)), 40);
    EXPECT_EQ(ageJoueur(Aujourdhui, QStringLiteral("//")), std::nullopt);
    EXPECT_EQ(ageJoueur(Aujourdhui, QString()), std::nullopt);

    const struct {
        int age, tranche;
    } tranches[] = {{4, -1},  {5, 0},   {10, 0},   {11, 1},   {15, 1}, {16, 2},
                    {95, 17}, {96, 18}, {100, 18}, {101, -1}, {-3, -1}};
    for (const auto &t : tranches)
        EXPECT_EQ(trancheAge(t.age), t.tranche) << t.age;

    // Ages 4 and 101 are in the average but in no bar.
    QStringList j{joueur("20", ilYa(4)), joueur("21", ilYa(10)), joueur("101", ilYa(11)),
                  joueur("", ilYa(101)), joueur("x", QStringLiteral("//"))};
    StatistiquesJoueurs s = statistiques(j, {0, 1, 2, 3, 4}, Aujourdhui);
    EXPECT_EQ(std::tuple(s.trouves, s.nombreAges), std::tuple(5, 4));
    EXPECT_EQ(s.bandes, (std::array<int, 5>{1, 1, 0, 0, 0}));
    EXPECT_EQ(s.titreAge(), QStringLiteral("L'age moyen est de 31,50 Ans"));
    EXPECT_EQ(s.barres(),
              (QList<QPair<QString, int>>{{QStringLiteral("8"), 1}, {QStringLiteral("13"), 1}}));

    // Only the listed players count.
    s = statistiques(j, {4}, Aujourdhui);
    EXPECT_EQ(s.titreAge(), QString());
    EXPECT_EQ(s.barres(), (QList<QPair<QString, int>>{{QStringLiteral("8"), 0}}));

    // Empty buckets between the first and the last one are shown.
    s = statistiques({joueur("50", ilYa(14)), joueur("50", ilYa(25)), joueur("50", ilYa(24))},
                     {0, 1, 2}, Aujourdhui);
    EXPECT_EQ(s.barres(), (QList<QPair<QString, int>>{{QStringLiteral("13"), 1},
                                                      {QStringLiteral("18"), 0},
                                                      {QStringLiteral("23"), 2}}));
}

TEST(PlayersList, AverageRoundsHalfToEvenTwice)
{
    const struct {
        QList<int> ages;
        const char *titre;
    } cas[] = {
        {{40, 45}, "L'age moyen est de 42,50 Ans"},
        {{1, 1, 2}, "L'age moyen est de 1,33 Ans"},
        {{1, 0, 0, 0, 0, 0, 0, 0}, "L'age moyen est de 0,12 Ans"}, // 0.125
        {{3, 0, 0, 0, 0, 0, 0, 0}, "L'age moyen est de 0,38 Ans"}, // 0.375
        {{1, 0, 0, 0, 0, 0}, "L'age moyen est de 0,17 Ans"},       // 0.1667
        {{70}, "L'age moyen est de 70,00 Ans"},
        {{-1, -2}, "L'age moyen est de -1,50 Ans"},
    };
    for (const auto &c : cas) {
        StatistiquesJoueurs s;
        for (int a : c.ages) {
            s.sommeAges += a;
            ++s.nombreAges;
        }
        EXPECT_EQ(s.titreAge(), QString::fromUtf8(c.titre));
    }
}

TEST(PlayersList, MailBatches)
{
    QStringList adresses;
    for (int i = 1; i <= 120; ++i)
        adresses << QStringLiteral("j%1@x.fr").arg(i);
    const QStringList liens = liensCourriel(adresses, 50, false);
    ASSERT_EQ(liens.size(), 3);
    EXPECT_EQ(liens[0].count(u'@'), 50);
    EXPECT_EQ(liens[1].count(u'@'), 50);
    EXPECT_EQ(liens[2].count(u'@'), 20);
    EXPECT_TRUE(liens[0].startsWith(QStringLiteral("mailto:j1@x.fr;j2@x.fr;")));
    EXPECT_TRUE(liens[1].startsWith(QStringLiteral("mailto:j51@x.fr;")));
    QString attendu = QStringLiteral("mailto:");
    for (int i = 101; i <= 120; ++i)
        attendu += QStringLiteral("j%1@x.fr;").arg(i);
    EXPECT_EQ(liens[2], attendu + QStringLiteral(" ?"));

    EXPECT_EQ(liensCourriel(adresses.mid(0, 3), 1, false),
              (QStringList{QStringLiteral("mailto:j1@x.fr; ?"), QStringLiteral("mailto:j2@x.fr; ?"),
                           QStringLiteral("mailto:j3@x.fr; ?")}));
    EXPECT_EQ(liensCourriel(adresses.mid(0, 2), 50, true),
              QStringList{QStringLiteral("mailto: ? &bcc=j1@x.fr;j2@x.fr;")});
    for (const QString &l : liensCourriel(adresses, 50, true))
        EXPECT_TRUE(l.startsWith(QStringLiteral("mailto: ? &bcc="))) << l.toStdString();
    // Exactly two full batches: no third, empty link.
    EXPECT_EQ(liensCourriel(adresses.mid(0, 100), 50, false).size(), 2);
    EXPECT_TRUE(liensCourriel({}, 50, false).isEmpty());
    EXPECT_EQ(lienCourriel({}, true), QString());
}

TEST(PlayersList, ExportOfTheListedPlayers)
{
    const QStringList j = liste();
    FiltresJoueurs f;
    f.nom = true;
    f.nomMin = f.nomMax = u'B';
    // Licence 103 is also DUVAL's, who is not listed: BLANC is written once.
    QStringList listes;
    for (int i : joueursFiltres(j, f))
        listes << j[i];
    const QStringList lignes = lignesExportation(listes);
    QFile golden(QStringLiteral(VORN_TEST_DATA "/players/export_b.golden"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        lignes,
        platform::fromAnsi(golden.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts));
    EXPECT_EQ(lignesExportation({}), QStringList{EnteteExportation});
}

TEST(PlayersList, EditsKeepTheirPreviousValueWhenRefused)
{
    EXPECT_EQ(indiceAccepte(QStringLiteral("35"), 20, 100, 20), 35);
    EXPECT_EQ(indiceAccepte(QStringLiteral("150"), 20, 100, 20), 20);
    EXPECT_EQ(indiceAccepte(QStringLiteral("abc"), 20, 100, 25), 25);
    EXPECT_EQ(indiceAccepte(QString(), 20, 100, 25), 25);
    EXPECT_EQ(indiceAccepte(QStringLiteral("19"), 20, 60, 30), 30);
    EXPECT_EQ(indiceAccepte(QStringLiteral("60"), 20, 60, 30), 60);

    EXPECT_EQ(lettreAcceptee(QStringLiteral("m"), u'A', u'Z', u'A'), QChar(u'M'));
    EXPECT_EQ(lettreAcceptee(QStringLiteral("Dupont"), u'A', u'C', u'A'), QChar(u'A'));
    EXPECT_EQ(lettreAcceptee(QString(), u'A', u'Z', u'Q'), QChar(u'Q'));
    EXPECT_EQ(lettreAcceptee(QStringLiteral("1"), u'A', u'Z', u'Q'), QChar(u'Q'));
    EXPECT_EQ(lettreAcceptee(QStringLiteral("é"), u'A', u'Z', u'Q'), QChar(u'Q'));
}
