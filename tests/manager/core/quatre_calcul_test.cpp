// Scoring of a teams-of-four sheet: the published scale, PE, PC, handicap
// and penalty, then whole sheets through the calculation command.
#include "manager/core/calculquatre.h"
#include "manager/core/commandesfeuille.h"
#include "manager/core/feuillematch.h"
#include "platform/text/exceptions.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

struct Echelle {
    int donnes, ecart, attendu;
};

TEST(QuatreEchelle, PublishedScale)
{
    const Echelle cas[] = {{24, 10, 233},
                           {16, 20, 500},
                           {24, 73, 997},
                           {24, 74, 1000},
                           {12, 51, 992},
                           {12, 52, 1000},
                           {20, 1, 28},
                           {20, 2, 55},
                           // Published tables read one more here, after rounding:
                           // the formula wins.
                           {8, 40, 973},
                           {10, 27, 733},
                           {10, 29, 767},
                           {10, 31, 799}};
    for (const Echelle &c : cas)
        EXPECT_EQ(EchellePV(c.donnes, c.ecart), c.attendu) << c.donnes << " deals, " << c.ecart;
}

TEST(QuatreEchelle, VictoryPointsAroundTheMiddle)
{
    EXPECT_EQ(CalculPV(24, 40, 30), 1233);
    EXPECT_EQ(CalculPV(24, 30, 40), 767);
    EXPECT_EQ(CalculPV(16, 40, 20), 1500);
    EXPECT_EQ(CalculPV(16, 20, 40), 500);
    // A draw is 10 all, whatever the deals, even none.
    for (int n : {0, 1, 24, 255})
        EXPECT_EQ(CalculPV(n, 17, 17), 1000);
    EXPECT_EQ(CalculPV(24, 200, 0), 2000);
}

TEST(QuatreEchelle, RefusesWhatTheScaleCannotScore)
{
    auto message = [](auto f) {
        try {
            f();
        } catch (const ECalculPV &e) {
            return e.Message();
        }
        return QStringLiteral("pas d'erreur");
    };
    EXPECT_EQ(message([] { CalculPV(0, 10, 0); }),
              QStringLiteral("Nombre de donnes nul : calcul des PV impossible"));
    EXPECT_EQ(message([] { CalculPV(256, 10, 0); }),
              QStringLiteral("Nombre de donnes incorrect : calcul des PV impossible"));
    EXPECT_EQ(message([] { CalculPV(-1, 10, 0); }),
              QStringLiteral("Nombre de donnes incorrect : calcul des PV impossible"));
    EXPECT_EQ(message([] { CalculPV(24, 300, 0); }),
              QStringLiteral("Ecart d'IMP supérieur à 255 : calcul des PV impossible"));
    EXPECT_EQ(message([] { CalculPV(24, 0, 256); }),
              QStringLiteral("Ecart d'IMP supérieur à 255 : calcul des PV impossible"));
    EXPECT_NO_THROW(CalculPV(255, 255, 0));
}

TEST(QuatreEchelle, PropertiesOverRandomMatches)
{
    std::mt19937 gen(20261207);
    std::uniform_int_distribution<int> donnes(1, 255);
    std::uniform_int_distribution<int> imps(0, 400);
    for (int i = 0; i < 5000; ++i) {
        const int n = donnes(gen);
        const int a = imps(gen);
        int b = imps(gen);
        if (std::abs(a - b) > 255)
            b = a + (b > a ? 255 : -255);
        const int pa = CalculPV(n, a, b);
        const int pb = CalculPV(n, b, a);
        ASSERT_EQ(pa + pb, 2000) << n << ' ' << a << ' ' << b;
        ASSERT_GE(std::max(pa, pb), 1000);
        ASSERT_LE(std::max(pa, pb), 2000);
        if (a > b) {
            ASSERT_GT(pa, 1000);
        }
    }
    for (int n = 1; n <= 255; n += 7) {
        int precedent = 0;
        for (int m = 0; m <= 255; ++m) {
            const int v = EchellePV(n, m);
            ASSERT_GE(v, precedent) << n << ' ' << m;
            ASSERT_LE(v, 1000);
            precedent = v;
        }
    }
}

TEST(QuatrePoints, PeAndPc)
{
    EXPECT_EQ(CalculPE(24, 1233), 11097);
    EXPECT_EQ(CalculPE(28, 1233), 12946); // 12946.5, tie to even
    EXPECT_EQ(CalculPE(24, 767), 6903);
    EXPECT_EQ(CalculPE(0, 1500), 0);
    EXPECT_EQ(CalculPC(1233, 100, 100), 2436);
    EXPECT_EQ(CalculPC(1005, 100, 100), 2048); // 2048.5, tie to even
    EXPECT_EQ(CalculPC(1233, 50, 60), 1631);
    EXPECT_EQ(CalculPC(767, 50, 60), 1100);
    EXPECT_EQ(CalculPC(1500, 0, 60), 0);
}

TEST(QuatrePoints, HandicapAndPenalty)
{
    EXPECT_EQ(BonusIV(400, 480, 24), 12);
    EXPECT_EQ(BonusIV(300, 370, 20), 9); // 8.75
    EXPECT_EQ(BonusIV(300, 310, 8), 0);  // 0.5, tie to even
    EXPECT_EQ(BonusIV(300, 318, 8), 1);  // 0.9
    EXPECT_EQ(BonusIV(480, 400, 24), 0);
    EXPECT_EQ(PenaliteIV(120, 130, 118), 40);
    EXPECT_EQ(PenaliteIV(120, 121, 125), 24);
    EXPECT_EQ(PenaliteIV(120, 120, 0), 0);
}

TEST(QuatrePoints, FormulaMessageIsFixed)
{
    const QString attendu = QStringLiteral("           Penalité = (IVMax-IV) * 4           \n\n"
                                           "      Bonus = (IVmA-IVmB) * Nb Donne /20       \n\n"
                                           "PC =  1.7* (PV+2) * Power(((IvA*IvB)/1000),1/3)\n\n"
                                           "    PE = (PV * 18 ) * (Nb Donne /24)           \n\n"
                                           "        N'oubliez pas d'enregistrer          ");
    EXPECT_EQ(messageCalculQuatre(), attendu);
}

// The worked sheet: 24 deals, 40 IMPs to 30, A's eight player-halves at IV
// 50, B's at 60.
FeuilleMatch feuilleExemple()
{
    FeuilleMatch f;
    for (int k = 0; k < 4; ++k) {
        for (int ligne : {2, 7}) {
            f.setValeur(ligne + k, 0, QStringLiteral("Joueur A%1").arg(ligne + k));
            f.setValeur(ligne + k, 1, QStringLiteral("0000000%1").arg(k));
            f.setValeur(ligne + k, 2, QStringLiteral("50"));
        }
        for (int ligne : {14, 19}) {
            f.setValeur(ligne + k, 0, QStringLiteral("Joueur B%1").arg(ligne + k));
            f.setValeur(ligne + k, 1, QStringLiteral("0000001%1").arg(k));
            f.setValeur(ligne + k, 2, QStringLiteral("60"));
        }
    }
    f.setValeur(QStringLiteral("AImp30"), QStringLiteral("40"));
    f.setValeur(QStringLiteral("BImp30"), QStringLiteral("30"));
    f.setValeur(QStringLiteral("ANbd30"), QStringLiteral("24"));
    f.setValeur(QStringLiteral("Bnbd30"), QStringLiteral("24"));
    return f;
}

void attendre(const FeuilleMatch &f, std::initializer_list<std::pair<const char *, const char *>> v)
{
    for (const auto &[nom, valeur] : v)
        EXPECT_EQ(f.valeur(QLatin1String(nom)), QLatin1String(valeur)) << nom;
}

TEST(QuatreFeuille, WorkedSheetThenHandicap)
{
    FeuilleMatch f = feuilleExemple();
    calculerFeuille(f);
    attendre(f, {{"ANbd15", "12"},   {"ANbd25", "12"},   {"BNbd15", "12"},  {"BNbd25", "12"},
                 {"AIV15", "200"},   {"AIv25", "200"},   {"BIV15", "240"},  {"BIv25", "240"},
                 {"AIv30", "50"},    {"BIv30", "60"},    {"APv30", "1233"}, {"BPv30", "767"},
                 {"APe15", "11097"}, {"APe25", "11097"}, {"BPe15", "6903"}, {"BPe25", "6903"},
                 {"APC15", "1631"},  {"APc25", "1631"},  {"BPc15", "1100"}, {"BPc25", "1100"}});

    nettoyerFeuille(f);
    for (const char *nom : {"ANbd15", "AIV15", "AIv30", "APv30", "APe15", "BPc25"})
        EXPECT_TRUE(f.valeur(QLatin1String(nom)).isEmpty()) << nom;
    attendre(f, {{"AImp30", "40"}, {"ANbd30", "24"}, {"BIv11", "60"}});

    handicapFeuille(f);
    attendre(f, {{"Handicap_A", "12"}, {"Handicap_B", "0"}});
    calculerFeuille(f);
    attendre(f, {{"APv30", "1459"},
                 {"BPv30", "541"},
                 {"APe15", "13131"},
                 {"BPe25", "4869"},
                 {"APC15", "1888"},
                 {"BPc15", "843"}});
}

TEST(QuatreFeuille, TypedValuesWin)
{
    FeuilleMatch f = feuilleExemple();
    f.setValeur(QStringLiteral("APv30"), QStringLiteral("1500"));
    f.setValeur(QStringLiteral("ANbd30"), QStringLiteral("25"));
    calculerFeuille(f);
    attendre(f, {{"APv30", "1500"}, {"ANbd15", "12"}, {"ANbd25", "12"}});
    EXPECT_EQ(f.valeur(QStringLiteral("APe15")), QString::number(CalculPE(25, 1500)));
    EXPECT_EQ(f.valeur(QStringLiteral("APC15")), QString::number(CalculPC(1500, 50, 60)));
    // B's PV is still computed from the IMPs.
    attendre(f, {{"BPv30", "767"}});
}

TEST(QuatreFeuille, ConversionErrorKeepsFirstSteps)
{
    FeuilleMatch f = feuilleExemple();
    f.setValeur(QStringLiteral("AImp30"), QStringLiteral("1x"));
    try {
        calculerFeuille(f);
        FAIL() << "no error";
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'1x' n'est pas une valeur entière correcte"));
    }
    attendre(f, {{"ANbd15", "12"}, {"AIV15", "200"}, {"AIv30", "50"}, {"BIv30", "60"}});
    EXPECT_TRUE(f.valeur(QStringLiteral("APv30")).isEmpty());
    EXPECT_TRUE(f.valeur(QStringLiteral("APe15")).isEmpty());
}

TEST(QuatreFeuille, ScaleErrorsStopAtThePv)
{
    FeuilleMatch f = feuilleExemple();
    f.setValeur(QStringLiteral("ANbd30"), QStringLiteral("0"));
    EXPECT_THROW(calculerFeuille(f), ECalculPV);
    attendre(f, {{"ANbd15", "0"}, {"AIv30", "50"}});
    EXPECT_TRUE(f.valeur(QStringLiteral("APv30")).isEmpty());

    FeuilleMatch g = feuilleExemple();
    g.setValeur(QStringLiteral("AImp30"), QStringLiteral("330"));
    EXPECT_THROW(calculerFeuille(g), ECalculPV);
    // A typed PV is not recomputed, so the same margin scores.
    g.setValeur(QStringLiteral("APv30"), QStringLiteral("2000"));
    g.setValeur(QStringLiteral("BPv30"), QStringLiteral("0"));
    EXPECT_NO_THROW(calculerFeuille(g));
}

TEST(QuatreFeuille, PenaltyReadsDigitsOnly)
{
    FeuilleMatch f;
    for (int k = 0; k < 4; ++k) {
        f.setValeur(14 + k, 2, QString::number(k < 2 ? 33 : 32)); // 130
        f.setValeur(19 + k, 2, QString::number(k < 2 ? 30 : 29)); // 118
        f.setValeur(2 + k, 2, QStringLiteral("2x0"));             // 20 each
    }
    penaliteFeuille(f, QStringLiteral("Pénalité IVMax = 120"));
    attendre(f, {{"Handicap_A", "40"}, {"Handicap_B", "0"}});
    penaliteFeuille(f, QStringLiteral("Pénalité IVMax = "));
    attendre(f, {{"Handicap_A", "992"}, {"Handicap_B", "320"}});
}

} // namespace
