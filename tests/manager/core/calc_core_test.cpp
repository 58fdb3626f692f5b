// Worked examples of the timetable, the Patton bonus and the distribution
// over centres.
#include "manager/core/bonus.h"
#include "manager/core/horaires.h"
#include "manager/core/repartition.h"
#include "platform/text/exceptions.h"
#include <cmath>
#include <gtest/gtest.h>

namespace
{

const platform::TDateTime kSamedi = platform::EncodeDate(2024, 3, 16);

HorairesEntree defauts()
{
    HorairesEntree in;
    in.date = kSamedi;
    in.heure = QStringLiteral("14:00:00");
    return in;
}

HorairesEntree suisse()
{
    HorairesEntree in = defauts();
    in.type = TypeSuisse;
    in.seances = 3;
    in.donnes = 16;
    in.intervalle = {10, 15, 15, 15, 15};
    return in;
}

} // namespace

TEST(CalcTimes, MinutesAndTextConvertBothWays)
{
    EXPECT_EQ(HeureTexte(570), "9h30");
    EXPECT_EQ(HeureTexte(1510), "25h10");
    EXPECT_EQ(HeureTexte(0), "0h00");
    EXPECT_EQ(HeureTexte(605), "10h05");
    EXPECT_EQ(TexteMinutes("14:00"), 840);
    EXPECT_EQ(TexteMinutes("17h35"), 1055);
    EXPECT_EQ(TexteMinutes("9h30"), 570);
    EXPECT_EQ(TexteMinutes("3h22"), 202);
    for (int m : {0, 59, 202, 570, 1055, 1510})
        EXPECT_EQ(TexteMinutes(HeureTexte(m)), m) << m;
}

TEST(CalcTimes, UnreadableTimeRaisesTheConversionError)
{
    try {
        TexteMinutes("1h5x");
        FAIL() << "no error";
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8("'5x' n'est pas une valeur entière correcte"));
    }
    EXPECT_THROW(TexteMinutes(""), platform::EConvertError);
    EXPECT_THROW(TexteMinutes("ab:cd"), platform::EConvertError);
}

TEST(CalcTimes, PauseLengthCountsTablesBeyondTwentyEight)
{
    EXPECT_EQ(DureePause(TypeSuisse, 18), 38);
    EXPECT_EQ(DureePause(TypePaires, 36), 53);
    EXPECT_EQ(DureePause(TypePoule, 12), 30);
    EXPECT_EQ(DureePause(TypePaires, 28), 45);
    EXPECT_EQ(DureePause(TypePaires, 29), 46);
    EXPECT_EQ(DureePause(TypeSuisse, 14), 30);
    EXPECT_EQ(DureePause(TypeSuisse, 15), 32);
    EXPECT_EQ(IntervalleNormal(TypePaires, 3), 20);
    EXPECT_EQ(IntervalleNormal(TypeSuisse, 1), 10);
    EXPECT_EQ(IntervalleNormal(TypeSuisse, 2), 15);
    EXPECT_EQ(IntervalleNormal(TypePoule, 4), 10);
    EXPECT_EQ(IntervalleNormal(TypeAucun, 1), -1);
}

TEST(CalcTimes, SeanceLengthRoundsExactHalvesToEven)
{
    EXPECT_EQ(DureeSeance(27, false), 202); // 202.5
    EXPECT_EQ(DureeSeance(26, false), 195);
    EXPECT_EQ(DureeSeance(29, false), 218); // 217.5
    EXPECT_EQ(DureeSeance(34, true), 280);  // 280.5: a double would give 281
    EXPECT_EQ(DureeSeance(38, true), 314);  // 313.5
    EXPECT_EQ(DureeSeance(16, true), 132);
    EXPECT_EQ(DureeSeance(72, true), 594);
}

TEST(CalcTimes, DefaultsOfTheWindowOnASaturday)
{
    const HorairesResultat r = CalculHoraires(defauts());
    EXPECT_EQ(r.phrase,
              QString::fromUtf8("Samedi 16/03/2024 (2 Indéfinis de 27 donnes sans écran) : "
                                "14h00(17h22) - 17h35(20h57) - Fin vers 21h10"));
    EXPECT_EQ(r.horraire, "Samedi :14h00 - 17h35 - Fin vers 21h10");
    EXPECT_EQ(r.modalite, QString::fromUtf8("2 Indéfinis de 27 donnes sans écran"));
    EXPECT_EQ(r.sc0, "3h22");
    ASSERT_EQ(r.debuts.size(), 2u);
    EXPECT_EQ(r.debuts[0], "14:00");
    EXPECT_EQ(r.debuts[1], "17h35");
    EXPECT_EQ(r.fins[0], "17h22");
    EXPECT_EQ(r.fins[1], "20h57");
}

TEST(CalcTimes, SwissTeamsWithPauseAndMeal)
{
    HorairesEntree in = suisse();
    HorairesResultat r = CalculHoraires(in);
    EXPECT_EQ(r.phrase,
              QString::fromUtf8("Samedi 16/03/2024 (3 Matchs de 16 donnes sans écran) : "
                                "14h00(16h00) - 16h10(18h10) - 18h25(20h25) - Fin vers 20h35"));

    in.repas[1] = true;
    in.intervalle[1] = 90;
    r = CalculHoraires(in);
    EXPECT_EQ(r.phrase, QString::fromUtf8(
                            "Samedi 16/03/2024 (3 Matchs de 16 donnes sans écran) : "
                            "14h00(16h00) - 16h10(18h10) +Repas+ 19h40(21h40) - Fin vers 21h50"));
    EXPECT_EQ(r.horraire, "Samedi :14h00 - 16h10 +Repas+ 19h40 - Fin vers 21h50");

    in.repas[1] = false;
    in.pause[0] = true;
    in.intervalle = {38, 15, 15, 15, 15};
    r = CalculHoraires(in);
    EXPECT_EQ(r.horraire, "Samedi :14h00 +Pause+ 16h40 - 18h55 - Fin vers 21h05");
    EXPECT_EQ(r.debuts[1], "16h40"); // 16h38 rounded up to 5
}

TEST(CalcTimes, PairsWithScreensAndOneSeance)
{
    HorairesEntree in = defauts();
    in.type = TypePaires;
    in.donnes = 34;
    in.ecran = 0;
    in.heure = QStringLiteral("13:30:00");
    in.intervalle = {20, 20, 20, 20, 20};
    HorairesResultat r = CalculHoraires(in);
    EXPECT_EQ(r.sc0, "4h40");
    EXPECT_EQ(r.phrase,
              QString::fromUtf8("Samedi 16/03/2024 (2 Séances de 34 donnes avec écrans) : "
                                "13h30(18h10) - 18h30(23h10) - Fin vers 23h20"));
    EXPECT_EQ(r.modalite, QString::fromUtf8("2 Séances de 34 donnes avec écrans"));

    in.seances = 1;
    in.donnes = 26;
    in.ecran = 1;
    in.heure = QStringLiteral("09:30:00");
    r = CalculHoraires(in);
    EXPECT_EQ(r.phrase, QString::fromUtf8("Samedi 16/03/2024 (1 Séance de 26 donnes sans écran) : "
                                          "9h30(12h45) - Fin vers 12h55"));
    EXPECT_EQ(r.horraire, "Samedi :9h30 - Fin vers 12h55");
    EXPECT_EQ(r.debuts.size(), 1u);
}

TEST(CalcTimes, DayNamesAndPoolWord)
{
    HorairesEntree in = defauts();
    in.type = TypePoule;
    const char *jours[] = {"Dimanche ", "Lundi ",    "Mardi ", "Mercredi ",
                           "Jeudi ",    "Vendredi ", "Samedi "};
    for (int d = 0; d < 7; ++d) {
        in.date = platform::EncodeDate(2024, 3, 17 + d); // Sunday 17 March onwards
        const HorairesResultat r = CalculHoraires(in);
        EXPECT_TRUE(r.phrase.startsWith(QString::fromUtf8(jours[d]))) << r.phrase.toStdString();
        EXPECT_EQ(r.horraire.left(r.horraire.indexOf(':')), QString::fromUtf8(jours[d]));
    }
    EXPECT_TRUE(CalculHoraires(in).modalite.startsWith("2 Matchs de 27"));
}

TEST(CalcTimes, NoScreenChoiceReadsTheShownLengthBack)
{
    HorairesEntree in = defauts();
    in.ecran = -1;
    in.sc0 = QStringLiteral("2h00");
    const HorairesResultat r = CalculHoraires(in);
    EXPECT_EQ(r.sc0, "2h00");
    EXPECT_EQ(r.fins[0], "16h00");
    EXPECT_TRUE(r.phrase.contains(QString::fromUtf8("avec écrans")));
    in.sc0 = QStringLiteral("x");
    EXPECT_THROW(CalculHoraires(in), platform::EConvertError);
}

TEST(CalcBonus, WorkedExamplesAndHalves)
{
    struct Cas {
        int tours, equipes;
        const char *texte;
        const char *info;
    } cas[] = {
        {6, 18, "0,18", "Recommandé"}, {5, 12, "0,23", "Recommandé"}, {5, 21, "0,12", " Interdit "},
        {6, 25, "0,12", " Interdit "}, {7, 16, "0,18", " Interdit "}, {7, 22, "0,12", "Recommandé"},
        {7, 26, "0,10", " Jouable  "}, {5, 11, "0,25", " Jouable  "}, {8, 11, "0,24", " Interdit "},
        {8, 30, "0,08", "Recommandé"},
    };
    for (const Cas &c : cas) {
        const ResultatBonus r = CalculBonus(c.tours, c.equipes);
        EXPECT_EQ(r.texte, c.texte) << c.tours << "x" << c.equipes;
        EXPECT_EQ(r.information, QString::fromUtf8(c.info)) << c.tours << "x" << c.equipes;
    }
    EXPECT_EQ(CalculBonus(6, 18).couleur, BonusVert);
    EXPECT_EQ(CalculBonus(6, 18).rgb, 0x00FF00u);
    EXPECT_EQ(CalculBonus(5, 11).rgb, 0xFF8000u);
    EXPECT_EQ(CalculBonus(8, 11).rgb, 0xFF0000u);
    EXPECT_EQ(CalculBonus(6, 19).rgb, 0xFFFF00u);
}

TEST(CalcBonus, EveryReachableCellOfTheColourTable)
{
    // Per number of rounds: the first team count of each run of colours.
    struct Plage {
        int depuis;
        CouleurBonus c;
    };
    const std::vector<std::vector<Plage>> lignes = {
        {{9, BonusRouge},
         {11, BonusOrange},
         {12, BonusVert},
         {14, BonusJaune},
         {15, BonusOrange},
         {16, BonusRouge}},
        {{9, BonusRouge},
         {14, BonusOrange},
         {15, BonusJaune},
         {16, BonusVert},
         {19, BonusJaune},
         {20, BonusOrange},
         {21, BonusRouge}},
        {{9, BonusRouge},
         {19, BonusOrange},
         {20, BonusJaune},
         {21, BonusVert},
         {25, BonusJaune},
         {26, BonusOrange},
         {27, BonusRouge}},
        {{9, BonusRouge}, {25, BonusOrange}, {26, BonusJaune}, {30, BonusVert}, {32, BonusJaune}},
    };
    int cellules = 0;
    for (int tours = 5; tours <= 8; ++tours) {
        const auto &plages = lignes[std::size_t(tours - 5)];
        for (int eq = 11; eq <= 30; ++eq) {
            CouleurBonus attendu = BonusRouge;
            for (const Plage &p : plages)
                if (eq >= p.depuis)
                    attendu = p.c;
            const ResultatBonus r = CalculBonus(tours, eq);
            EXPECT_EQ(r.couleur, attendu) << tours << "x" << eq;
            const char *info = attendu == BonusRouge    ? " Interdit "
                               : attendu == BonusOrange ? " Jouable  "
                                                        : "Recommandé";
            EXPECT_EQ(r.information, QString::fromUtf8(info));
            // The shown bonus is the fraction rounded half to even.
            const int k = tours == 5 ? 3 : tours - 3;
            const double x = tours * 150.0 / ((eq - 1) * k);
            EXPECT_LE(std::abs(r.centiemes - x), 0.5) << tours << "x" << eq;
            ++cellules;
        }
    }
    EXPECT_EQ(cellules, 80);
    EXPECT_EQ(CouleurPatton(8, 32), BonusJaune);
    EXPECT_EQ(CouleurPatton(5, 9), BonusRouge);
    EXPECT_EQ(CouleurPatton(4, 12), BonusRouge);
}

TEST(CalcDistribution, WorkedExamples)
{
    auto verifie = [](int qa, int qo, std::vector<int> entrees, std::vector<const char *> quotas,
                      std::vector<int> places, std::vector<bool> rouges) {
        const auto r = RepartitionCentres(qa, qo, entrees);
        ASSERT_EQ(r.size(), entrees.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(TexteQuota(r[i].quota), quotas[i]) << qa << " centre " << i;
            EXPECT_EQ(r[i].places, places[i]) << qa << " centre " << i;
            EXPECT_EQ(r[i].proche, rouges[i]) << qa << " centre " << i;
        }
    };
    verifie(18, 0, {20, 20}, {"9,000000", "9,000000"}, {9, 9}, {false, false});
    verifie(36, 0, {50, 20}, {"25,714300", "10,285700"}, {26, 10}, {false, false});
    verifie(3, 0, {1, 1}, {"1,500000", "1,500000"}, {1, 2}, {true, true});
    verifie(1, 0, {1, 31}, {"0,031200", "0,968800"}, {0, 1}, {false, false});
    verifie(1, 0, {1, 1, 1}, {"0,333300", "0,333300", "0,333300"}, {0, 0, 1},
            {false, false, false});
    verifie(5, 5, {10, 3}, {"0,000000", "0,000000"}, {0, 0}, {false, false});
    verifie(3, 7, {10, 3}, {"0,000000", "0,000000"}, {0, 0}, {false, false});
    verifie(12, 2, {10, 0, 5}, {"6,666700", "0,000000", "3,333300"}, {7, 0, 3},
            {false, false, false});
    verifie(17, 0, {50, 50}, {"8,500000", "8,500000"}, {8, 9}, {true, true});
    // 0.34 and 0.66 themselves stay green.
    verifie(17, 0, {1, 49}, {"0,340000", "16,660000"}, {0, 17}, {false, false});
    verifie(7, 0, {1, 49}, {"0,140000", "6,860000"}, {0, 7}, {false, false});
    verifie(9, 0, {1, 19}, {"0,450000", "8,550000"}, {0, 9}, {true, true});
}

TEST(CalcDistribution, PlacesAlwaysAddUpToTheShare)
{
    for (int qa = 1; qa <= 70; qa += 3)
        for (int qo = 0; qo <= 10; qo += 4)
            for (int a = 1; a <= 100; a += 17)
                for (int b = 0; b <= 100; b += 23) {
                    const auto r = RepartitionCentres(qa, qo, {a, b, 7});
                    int somme = 0;
                    for (const auto &c : r) {
                        somme += c.places;
                        EXPECT_GE(c.places, c.quota / 10000);
                        EXPECT_LE(c.places, c.quota / 10000 + 1);
                    }
                    EXPECT_EQ(somme, std::max(0, qa - qo));
                }
}
