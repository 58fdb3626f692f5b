// The distribution table (K searched so that the places add up to the
// total, exact rounding, the remainder) and the attribution of a table to a
// ranking with the EASI file.
#include "manager/core/attribution.h"
#include "manager/core/ventilation.h"
#include "platform/text/exceptions.h"
#include "tests/manager/core/challenge_support.h"

using namespace manager;

namespace
{

QList<qint64> points(const QStringList &table)
{
    QList<qint64> p;
    for (const QString &l : table)
        p.append(l.section(QLatin1Char(';'), 1, 1).toLongLong());
    return p;
}

TEST(Repartition, SearchOfKForEachKind)
{
    const struct {
        int type, formule;
        QString k;
        int places;
        QList<qint64> fin;
        const char *golden;
    } cas[] = {
        {1, 1, QStringLiteral("70,234375"), 70, {1, 1, 1}, "repart_type1.PPE"},
        {0, 0, QStringLiteral("52,34375"), 40, {3, 2, 1}, "repart_type0_formule0.PPE"},
        {0, 1, QStringLiteral("53,359375"), 40, {}, "repart_type0_formule1.PPE"},
    };
    for (const auto &c : cas) {
        ParametresRepartition p;
        p.type = c.type;
        p.formule = c.formule;
        p.total = 1068;
        p.x = 40;
        p.m = 30;
        ASSERT_TRUE(p.valides());
        const std::optional<ConstanteK> trouve = ChercherK(p);
        ASSERT_TRUE(trouve);
        const ConstanteK k = *trouve;
        EXPECT_EQ(TexteK(k), c.k);
        EXPECT_EQ(SommePoints(p, k), 1068);
        // The K read back from its text gives the same table.
        const QStringList table = TableRepartition(p, LireK(TexteK(k)));
        EXPECT_EQ(table, TableRepartition(p, k));
        ASSERT_EQ(table.size(), c.places);
        const QList<qint64> pts = points(table);
        qint64 somme = 0;
        for (int i = 0; i < pts.size(); ++i) {
            somme += pts[i];
            if (i > 0) {
                EXPECT_LE(pts[i], pts[i - 1]);
            }
            EXPECT_TRUE(table[i].startsWith(QString::number(i + 1) + QLatin1Char(';')));
        }
        EXPECT_EQ(somme, 1068);
        if (!c.fin.isEmpty()) {
            EXPECT_EQ(pts.mid(pts.size() - c.fin.size()), c.fin);
        }
        if (c.type == 1) {
            EXPECT_EQ(pts.mid(0, 5), (QList<qint64>{30, 30, 29, 29, 28}));
        }
        vorn_test::expectChallengeGolden(QString::fromLatin1(c.golden),
                                         vorn_test::ansiLines(table));
    }
}

TEST(Repartition, RemainderOnePointPerFurtherPlace)
{
    ParametresRepartition p;
    p.type = 0;
    p.formule = 0;
    p.total = 100;
    p.x = 4;
    // K = 10: 11, 7, 4, 1 = 23 points; 77 more places of 1 point.
    const QStringList table = TableRepartition(p, LireK(QStringLiteral("10")));
    ASSERT_EQ(table.size(), 4 + 77);
    EXPECT_EQ(table.mid(0, 5),
              (QStringList{QStringLiteral("1;11;"), QStringLiteral("2;7;"), QStringLiteral("3;4;"),
                           QStringLiteral("4;1;"), QStringLiteral("5;1;")}));
    EXPECT_EQ(table.last(), QStringLiteral("81;1;"));
}

TEST(Repartition, ExactHalvesAndKTexts)
{
    ParametresRepartition p;
    p.type = 1;
    p.m = 3;
    // 3 - (3 / 4) * 2 = 1.5 exactly: the even neighbour 2.
    EXPECT_EQ(PointsPlace(p, LireK(QStringLiteral("4")), 3), 2);
    // 3 - 3 * 5 / 6 = 0.5: 0, the table ends before it.
    EXPECT_EQ(PointsPlace(p, LireK(QStringLiteral("6,0")), 6), 0);
    const struct {
        QString in, out;
    } textes[] = {{QStringLiteral("0.000000"), QStringLiteral("0")},
                  {QStringLiteral("70.234375"), QStringLiteral("70,234375")},
                  {QStringLiteral(" 1,5 "), QStringLiteral("1,5")},
                  {QStringLiteral("-2"), QStringLiteral("-2")}};
    for (const auto &t : textes)
        EXPECT_EQ(TexteK(LireK(t.in)), t.out) << t.in.toStdString();
    EXPECT_TRUE(LireK(QStringLiteral("0.000000")).nulle());
    EXPECT_THROW(LireK(QStringLiteral("x")), platform::EConvertError);
    EXPECT_THROW(LireK(QString()), platform::EConvertError);
}

// K typed by hand with as many digits as the edit takes, or huge: read
// within what the formulas can multiply, with the largest X and M a whole
// number allows, or refused with the conversion error.
TEST(Repartition, ExtremeKTexts)
{
    const qint64 grand = 2147483647;
    for (const char *texte :
         {"0,00000000000000000000000000000000000000000000000000000000001",
          "123456789012,1234567890123456789012345678901234567890",
          "999999999998,99999999999999999999999999999999", "-999999999999", "0,5"}) {
        const ConstanteK k = LireK(QString::fromLatin1(texte));
        for (int type = 0; type <= 1; ++type)
            for (int formule = 0; formule <= 1; ++formule)
                for (qint64 c : {qint64(1), qint64(2), MaxPlacesRepartition}) {
                    const ParametresRepartition p{type, formule, grand, grand, grand};
                    PointsPlace(p, k, c);
                }
        // Read back from its own text, K stays the same to 15 digits.
        EXPECT_EQ(TexteK(LireK(TexteK(k))), TexteK(k)) << texte;
    }
    EXPECT_EQ(TexteK(LireK(QStringLiteral("123456789012,123456789"))),
              QStringLiteral("123456789012,123"));
    for (const char *texte : {"1E30", "1000000000000", "-1e15", "99999999999999999999999999999"})
        EXPECT_THROW(LireK(QString::fromLatin1(texte)), platform::EConvertError) << texte;
}

TEST(Repartition, SettingsThatWouldNeverEnd)
{
    const struct {
        int type, formule;
        qint64 t, x, m;
        bool ok;
    } cas[] = {{1, 0, 1068, 40, 0, false}, {1, 0, 0, 40, 30, false},   {0, 0, 1068, 1, 30, false},
               {0, 1, 1068, 1, 30, true},  {0, 1, 1068, 0, 30, false}, {1, 0, 1, 0, 1, true}};
    for (const auto &c : cas) {
        ParametresRepartition p{c.type, c.formule, c.t, c.x, c.m};
        EXPECT_EQ(p.valides(), c.ok) << c.type << c.formule << c.t << c.x << c.m;
        if (p.valides()) {
            ASSERT_TRUE(ChercherK(p));
            EXPECT_LE(SommePoints(p, *ChercherK(p)), c.t);
        }
    }
}

TEST(Repartition, UnreachableTotalGivesTheLargestBelow)
{
    // M = 100 and T = 101: the first place alone gives 100, two give ~200.
    ParametresRepartition p{1, 0, 101, 0, 100};
    ASSERT_TRUE(ChercherK(p));
    const ConstanteK k = *ChercherK(p);
    EXPECT_LE(SommePoints(p, k), 101);
    EXPECT_GT(SommePoints(p, k), 0);
}

// The search as it was first written: K walks by steps of 10, then the
// bracket is halved, the target lowered by one each time it closes.
ConstanteK kPasAPas(const ParametresRepartition &p)
{
    const __int128 unite = __int128(1) << 40;
    const auto s = [&p](__int128 k) { return SommePoints(p, ConstanteK{k, __int128(1) << 40}); };
    const qint64 t = p.total;
    __int128 k = 10 * unite;
    for (;;) {
        if (s(k) == t)
            return ConstanteK{k, unite};
        if (s(k) > t)
            break;
        k += 10 * unite;
    }
    const __int128 haut0 = k, bas0 = k - 10 * unite;
    __int128 haut = haut0, bas = bas0;
    qint64 cible = t;
    const qint64 sBas = s(bas0);
    k -= 5 * unite;
    while (s(k) != cible) {
        if (haut - bas < 110) {
            haut = haut0;
            bas = bas0;
            if (--cible < sBas)
                return ConstanteK{bas0, unite};
        } else if (s(k) < cible) {
            bas = k;
        } else {
            haut = k;
        }
        k = bas + (haut - bas) / 2;
    }
    return ConstanteK{k, unite};
}

TEST(Repartition, SearchFindsTheSameKAsTheStepByStepWalk)
{
    // Small totals of every kind, reachable or not (T = 101 with M = 100
    // cannot be met), including first places so large that the first step
    // of 10 already passes the total.
    int compares = 0;
    for (int type = 0; type <= 1; ++type)
        for (int formule = 0; formule <= (type == 0 ? 1 : 0); ++formule)
            for (qint64 xm : {1, 2, 3, 7, 30, 100})
                for (qint64 t : {1, 2, 3, 5, 17, 50, 99, 101, 150, 199, 333, 500, 1068, 2500}) {
                    ParametresRepartition p{type, formule, t, xm, xm};
                    if (!p.valides())
                        continue;
                    const std::optional<ConstanteK> k = ChercherK(p);
                    ASSERT_TRUE(k) << type << formule << xm << ' ' << t;
                    const ConstanteK attendu = kPasAPas(p);
                    EXPECT_TRUE(k->num * attendu.den == attendu.num * k->den)
                        << type << formule << ' ' << xm << ' ' << t << ": "
                        << TexteK(*k).toStdString() << " au lieu de "
                        << TexteK(attendu).toStdString();
                    ++compares;
                }
    EXPECT_GT(compares, 200);
}

TEST(Repartition, HugeTotalsAreAnsweredOrRefused)
{
    for (qint64 t : {qint64(999999999), qint64(2147483647)}) {
        // A first place of 30 points: the table cannot hold that many
        // points, whatever K.
        ParametresRepartition parMaximum{1, 1, t, 40, 30};
        EXPECT_FALSE(ChercherK(parMaximum)) << t;
        // Forty players share them: K grows with the total, the search
        // does not walk to it.
        for (int formule : {0, 1}) {
            ParametresRepartition parJoueurs{0, formule, t, 40, 30};
            const std::optional<ConstanteK> k = ChercherK(parJoueurs);
            ASSERT_TRUE(k) << t << ' ' << formule;
            const qint64 s = SommePoints(parJoueurs, *k);
            EXPECT_LE(s, t);
            // Rounding forty places moves the sum by a few points only.
            EXPECT_GE(s, t - 40) << t << ' ' << formule;
            // The forty places, then the remainder one point per place.
            EXPECT_EQ(TableRepartition(parJoueurs, *k).size(), 40 + (t - s));
        }
    }
    // The largest total a first place of 30 can reach over the largest
    // table is still answered.
    ParametresRepartition limite{1, 1, 30 * MaxPlacesRepartition - 100, 40, 30};
    const std::optional<ConstanteK> k = ChercherK(limite);
    ASSERT_TRUE(k);
    EXPECT_LE(SommePoints(limite, *k), limite.total);
    EXPECT_GE(SommePoints(limite, *k), limite.total - 30);
}

TEST(RepartitionImpression, FiveLinesPerRecordAndRunningTotal)
{
    QStringList fichier;
    qint64 total = 0;
    for (int i = 1; i <= 12; ++i) {
        fichier.append(QStringLiteral("%1;%2;").arg(i).arg(40 - 2 * i));
        total += 40 - 2 * i;
    }
    ImpressionRepartition imp;
    imp.charger(fichier);
    EXPECT_EQ(imp.nombreEnregistrements(), 3);
    QString t;
    qint64 n = 0;
    bool entier = false;
    ASSERT_TRUE(imp.valeur(QStringLiteral("Class2"), 2, t, n, entier));
    EXPECT_EQ(t, QStringLiteral("12"));
    for (const char *nom : {"Class3", "aff_PP3", "Class5", "aff_PP5"}) {
        ASSERT_TRUE(imp.valeur(QString::fromLatin1(nom), 2, t, n, entier));
        EXPECT_EQ(t, QString()) << nom;
    }
    ASSERT_TRUE(imp.valeur(QStringLiteral("aff_PP1"), 1, t, n, entier));
    EXPECT_EQ(t, QStringLiteral("28"));
    ASSERT_TRUE(imp.valeur(QStringLiteral("Nbre_PP"), 2, t, n, entier));
    EXPECT_TRUE(entier);
    EXPECT_EQ(n, total);
    ASSERT_TRUE(imp.valeur(QStringLiteral("Nbre_PP"), 0, t, n, entier));
    EXPECT_EQ(n, 38 + 36 + 34 + 32 + 30);
    EXPECT_FALSE(imp.valeur(QStringLiteral("class1"), 0, t, n, entier));
    EXPECT_THROW(imp.charger({QStringLiteral("1;x;")}), platform::EConvertError);
    // A running total beyond 64 bits either way: refused, nothing kept.
    ImpressionRepartition limites;
    EXPECT_THROW(
        limites.charger({QStringLiteral("1;9223372036854775807;"), QStringLiteral("2;1;")}),
        platform::EConvertError);
    EXPECT_THROW(
        limites.charger({QStringLiteral("1;-9223372036854775808;"), QStringLiteral("2;-1;")}),
        platform::EConvertError);
    EXPECT_TRUE(limites.lignes.isEmpty());
    EXPECT_TRUE(limites.cumuls.isEmpty());
    EXPECT_EQ(imp.lignes, fichier);
}

TEST(Attribution, SharedPlacesAndTheTotalRunningOut)
{
    const QStringList classement = {
        QStringLiteral("1;Anne;0123456;40;"), QStringLiteral("2;Bob;0200000;38;"),
        QStringLiteral("2;Cleo;0300000;35;"), QStringLiteral("4;Dan;0400000;30;"),
        QStringLiteral("5;Eve;0500000;30;")};
    const QStringList repartition = {QStringLiteral("1;30;"), QStringLiteral("2;25;"),
                                     QStringLiteral("3;20;"), QStringLiteral("4;15;")};
    ASSERT_TRUE(ClassementAccepte(classement));
    ASSERT_TRUE(RepartitionAcceptee(repartition));
    const Attribution a = Attribuer(classement, repartition);
    EXPECT_EQ(a.lignes, (QStringList{QStringLiteral("1;Anne;0123456;40;30;"),
                                     QStringLiteral("2;Bob;0200000;38;25;"),
                                     QStringLiteral("2;Cleo;0300000;35;25;"),
                                     QStringLiteral("4;Dan;0400000;30;10;")}));
    EXPECT_EQ(a.reste, 0);
    EXPECT_EQ(TotalAttribue(a.lignes), 90);
    const QStringList pp = LignesEasi(a.lignes, ColonneEasi::PP);
    const QStringList pe = LignesEasi(a.lignes, ColonneEasi::PE);
    EXPECT_EQ(pp[1], QStringLiteral("0200000;;25;"));
    EXPECT_EQ(pe[1], QStringLiteral("0200000;25;;"));
    vorn_test::expectChallengeGolden(QStringLiteral("Fichier_P_PP.csv"), vorn_test::ansiLines(pp));
    vorn_test::expectChallengeGolden(QStringLiteral("Fichier_P_PE.csv"), vorn_test::ansiLines(pe));

    // A place given twice gives the player two lines.
    const Attribution double_ =
        Attribuer(classement, {QStringLiteral("1;5;"), QStringLiteral("1;6;")});
    EXPECT_EQ(double_.lignes.size(), 2);
}

TEST(Attribution, SumsBeyondSixtyFourBitsAreRefused)
{
    const QStringList classement = {QStringLiteral("1;A;1;40;"), QStringLiteral("2;B;2;40;"),
                                    QStringLiteral("3;C;3;40;")};
    const QString max = QStringLiteral("9223372036854775807");
    const QList<QStringList> repartitions = {
        // The distribution's total.
        {QStringLiteral("1;") + max + QLatin1Char(';'), QStringLiteral("2;1;")},
        {QStringLiteral("1;-9223372036854775808;"), QStringLiteral("2;-1;")},
        // A negative line given back to a remainder already near the limit.
        {QStringLiteral("1;-10;"), QStringLiteral("2;") + max + QLatin1Char(';'),
         QStringLiteral("3;5;")}};
    for (const QStringList &r : repartitions) {
        SCOPED_TRACE(r.join(QLatin1Char(' ')).toStdString());
        try {
            Attribuer(classement, r);
            ADD_FAILURE() << "attributed on a wrapped sum";
        } catch (const platform::EConvertError &e) {
            EXPECT_TRUE(
                e.Message().contains(QStringLiteral("n'est pas une valeur entière correcte")));
        }
    }
    // The printout's total of attributed lines.
    EXPECT_THROW(TotalAttribue({QStringLiteral("1;A;1;40;") + max + QLatin1Char(';'),
                                QStringLiteral("2;B;2;40;1;")}),
                 platform::EConvertError);
}

TEST(Attribution, Acceptance)
{
    EXPECT_FALSE(ClassementAccepte({QStringLiteral("1;30;"), QStringLiteral("2;25;")}));
    EXPECT_FALSE(ClassementAccepte({QStringLiteral("1;Anne;01;40;")}));
    EXPECT_FALSE(RepartitionAcceptee({QStringLiteral("1;30;")}));
    EXPECT_THROW(Attribuer({QStringLiteral("1;A;1;40;")}, {QStringLiteral("1;x;")}),
                 platform::EConvertError);
}

TEST(AttributionImpression, Values)
{
    ImpressionAttribution imp;
    imp.titre = QStringLiteral("T");
    imp.lignes = {QStringLiteral("1;Anne;0123456;40;30;")};
    imp.total = 30;
    QString t;
    qint64 n = 0;
    bool entier = false;
    const struct {
        const char *nom;
        const char *valeur;
    } cas[] = {{"Titre", "T"},     {"Classem", "1"}, {"Nom", "Anne"},
               {"Num", "0123456"}, {"Indice", "40"}, {"Points", "30"}};
    for (const auto &c : cas) {
        ASSERT_TRUE(imp.valeur(QString::fromLatin1(c.nom), 0, t, n, entier)) << c.nom;
        EXPECT_EQ(t, QString::fromLatin1(c.valeur));
    }
    ASSERT_TRUE(imp.valeur(QStringLiteral("NbPts"), 0, t, n, entier));
    EXPECT_TRUE(entier);
    EXPECT_EQ(n, 30);
    EXPECT_FALSE(imp.valeur(QStringLiteral("points"), 0, t, n, entier));
}

} // namespace
