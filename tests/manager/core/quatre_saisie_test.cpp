// Entering players and results on a teams-of-four sheet from typed numbers.
#include "manager/core/commandesfeuille.h"
#include "manager/core/feuillematch.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

struct Numero {
    const char *saisi;
    const char *ecrit;
    bool chiffreOk;
};

TEST(QuatreSaisie, MembershipNumberCheck)
{
    // 01234567: 7 + 12 + 5 + 8 + 3 + 4 + 1 + 0 = 40; 00000018: 8 + 2 = 10;
    // 12345678: 52; 00000019: 11.
    const Numero cas[] = {
        {"1234567", "01234567", true}, {"18", "00000018", true}, {"12345678", "12345678", false},
        {"19", "00000019", false},     {"7", "7", true},         {"000000000", "000000000", true}};
    for (const Numero &c : cas) {
        QString n = QLatin1String(c.saisi);
        bool ok = false;
        EXPECT_TRUE(ControleNumero(n, &ok)) << c.saisi;
        EXPECT_EQ(n, QLatin1String(c.ecrit));
        EXPECT_EQ(ok, c.chiffreOk) << c.saisi;
    }
    QString vide;
    EXPECT_FALSE(ControleNumero(vide));
}

const QStringList joueurs = {
    QStringLiteral("00000018;M;DUPONT;Jean;45;LYON BC;;;;;;;;;;;;;2027;"),
    QStringLiteral("01234567;Mll;MARTIN;Zoé;62;SÈTE BRIDGE;;;;;;;;;;;;;2027;"),
    QStringLiteral("00000025;Mme;DURAND;Anne;38;PAU;;;;;;;;;;;;;2027;"),
    QStringLiteral("00000018;M;DOUBLON;Paul;99;AUTRE;;;;;;;;;;;;;2027;")};

TEST(QuatreSaisie, PlayersOfAHalf)
{
    FeuilleMatch f;
    QString donnee = QStringLiteral("1234567+18");
    int avertissements = 0;
    saisirJoueurs(f, Equipe::A, 1, donnee, joueurs, [&](const QString &) { ++avertissements; });
    EXPECT_EQ(donnee, QStringLiteral("1234567+18+"));
    EXPECT_EQ(avertissements, 0);
    EXPECT_EQ(f.valeur(QStringLiteral("ALic11")), QStringLiteral("01234567"));
    EXPECT_EQ(f.valeur(QStringLiteral("ANom11")), QStringLiteral("Mlle MARTIN Zoé"));
    EXPECT_EQ(f.valeur(QStringLiteral("AIv11")), QStringLiteral("62"));
    EXPECT_EQ(f.valeur(QStringLiteral("AClub11")), QStringLiteral("SÈTE BRIDGE"));
    // The first line of a licence wins.
    EXPECT_EQ(f.valeur(QStringLiteral("ALic12")), QStringLiteral("00000018"));
    EXPECT_EQ(f.valeur(QStringLiteral("ANom12")), QStringLiteral("M DUPONT Jean"));
    EXPECT_EQ(f.valeur(QStringLiteral("AIv12")), QStringLiteral("45"));
    EXPECT_TRUE(f.valeur(QStringLiteral("ALic13")).isEmpty());
    EXPECT_TRUE(f.valeur(QStringLiteral("Alic21")).isEmpty());
}

TEST(QuatreSaisie, SeparatorsSkipSlotsAndBadDigitsWarn)
{
    FeuilleMatch f;
    f.setValeur(QStringLiteral("BNom12"), QStringLiteral("Gardé"));
    f.setValeur(QStringLiteral("BNom14"), QStringLiteral("Inconnu d'avant"));
    f.setValeur(QStringLiteral("BIV24"), QStringLiteral("77"));
    QString donnee = QStringLiteral("18  25 19 99 33");
    QStringList avertis;
    saisirJoueurs(f, Equipe::B, 2, donnee, joueurs,
                  [&](const QString &numero) { avertis.append(numero); });
    EXPECT_EQ(f.valeur(QStringLiteral("BLic21")), QStringLiteral("00000018"));
    EXPECT_TRUE(f.valeur(QStringLiteral("BLic22")).isEmpty());
    EXPECT_EQ(f.valeur(QStringLiteral("BLic23")), QStringLiteral("00000025"));
    EXPECT_EQ(f.valeur(QStringLiteral("BNom23")), QStringLiteral("Mme DURAND Anne"));
    // 19 is still entered after its warning; not found, its name, IV and
    // club are emptied.
    EXPECT_EQ(f.valeur(QStringLiteral("BLic24")), QStringLiteral("00000019"));
    EXPECT_TRUE(f.valeur(QStringLiteral("BNom24")).isEmpty());
    EXPECT_TRUE(f.valeur(QStringLiteral("BIV24")).isEmpty());
    // 25 (5 + 4) and 19 warn, each naming its number as entered; 99 comes
    // fifth: neither checked nor entered.
    EXPECT_EQ(avertis, (QStringList{QStringLiteral("00000025"), QStringLiteral("00000019")}));
    // Other halves untouched.
    EXPECT_EQ(f.valeur(QStringLiteral("BNom12")), QStringLiteral("Gardé"));
    EXPECT_EQ(f.valeur(QStringLiteral("BNom14")), QStringLiteral("Inconnu d'avant"));
}

TEST(QuatreSaisie, EmptyEntryDoesNothing)
{
    FeuilleMatch f;
    QString donnee;
    saisirJoueurs(f, Equipe::A, 2, donnee, joueurs, {});
    saisirResultat(f, donnee);
    EXPECT_TRUE(donnee.isEmpty());
    for (const QString &nom : FeuilleMatch::NomsEdits())
        EXPECT_TRUE(f.valeur(nom).isEmpty()) << qPrintable(nom);
}

TEST(QuatreSaisie, ImpsAndDeals)
{
    FeuilleMatch f;
    QString donnee = QStringLiteral("40+24+30");
    saisirResultat(f, donnee);
    EXPECT_EQ(f.valeur(QStringLiteral("AImp30")), QStringLiteral("40"));
    EXPECT_EQ(f.valeur(QStringLiteral("ANbd30")), QStringLiteral("24"));
    EXPECT_EQ(f.valeur(QStringLiteral("Bnbd30")), QStringLiteral("24"));
    EXPECT_EQ(f.valeur(QStringLiteral("BImp30")), QStringLiteral("30"));
    EXPECT_EQ(donnee, QStringLiteral("40+24+30+"));

    donnee = QStringLiteral("12 28");
    saisirResultat(f, donnee);
    EXPECT_EQ(f.valeur(QStringLiteral("AImp30")), QStringLiteral("12"));
    EXPECT_EQ(f.valeur(QStringLiteral("ANbd30")), QStringLiteral("28"));
    EXPECT_EQ(f.valeur(QStringLiteral("BImp30")), QStringLiteral("30"));

    donnee = QStringLiteral("5++7");
    saisirResultat(f, donnee);
    EXPECT_TRUE(f.valeur(QStringLiteral("ANbd30")).isEmpty());
    EXPECT_TRUE(f.valeur(QStringLiteral("Bnbd30")).isEmpty());
    EXPECT_EQ(f.valeur(QStringLiteral("BImp30")), QStringLiteral("7"));
}

TEST(QuatreSaisie, SheetLayoutNamesAndNewSheet)
{
    const QStringList &noms = FeuilleMatch::NomsEdits();
    EXPECT_EQ(noms.size(), 92);
    EXPECT_EQ(QSet<QString>(noms.begin(), noms.end()).size(), 92);
    struct Place {
        const char *nom;
        int ligne, champ;
    };
    const Place places[] = {
        {"ANom10", 1, 0},  {"ALic11", 2, 1},      {"Alic21", 7, 1},     {"AClub24", 10, 3},
        {"APC15", 6, 3},   {"APc25", 11, 3},      {"AIV15", 6, 1},      {"AIv25", 11, 1},
        {"AImp30", 12, 1}, {"BNom10", 13, 0},     {"Blic12", 15, 1},    {"BLic13", 16, 1},
        {"BIV15", 18, 1},  {"BIV21", 19, 2},      {"BIv25", 23, 1},     {"Bnbd30", 24, 0},
        {"BPv30", 24, 3},  {"Handicap_A", 25, 0}, {"Handicap_B", 25, 1}};
    for (const Place &p : places) {
        const PositionChamp pos = FeuilleMatch::position(QLatin1String(p.nom));
        EXPECT_EQ(pos.ligne, p.ligne) << p.nom;
        EXPECT_EQ(pos.champ, p.champ) << p.nom;
    }
    EXPECT_FALSE(FeuilleMatch::estEdit(QStringLiteral("ALic21")));

    const QStringList l = FeuilleMatch::nouvelleFeuille(
        QStringLiteral("Match 1"), QStringLiteral("400"), QStringLiteral("Poule A"),
        QStringLiteral("Lyon"), 0, QStringLiteral("Sète"), 1);
    ASSERT_EQ(l.size(), 50);
    EXPECT_EQ(l[0], QStringLiteral("Match 1;400;;Poule A;"));
    EXPECT_EQ(l[1], QStringLiteral("Lyon;0;;;"));
    EXPECT_EQ(l[13], QStringLiteral("Sète;1;;;"));
    EXPECT_EQ(l.count(QStringLiteral(";;;;")), 47);

    // Typed ";" and line breaks cannot move fields.
    const QStringList m = FeuilleMatch::nouvelleFeuille(
        QStringLiteral("a;b"), QStringLiteral("4;0"), QStringLiteral("x\ny"), QStringLiteral("L;"),
        2, QStringLiteral("S\r\n"), 3);
    EXPECT_EQ(m[0], QStringLiteral("a,b;4,0;;x y;"));
    EXPECT_EQ(m[1], QStringLiteral("L,;2;;;"));
    EXPECT_EQ(m[13], QStringLiteral("S  ;3;;;"));

    FeuilleMatch f = FeuilleMatch::depuisLignes(l, 0);
    f.setValeur(QStringLiteral("ANom11"), QStringLiteral("Nom; avec\npoint-virgule"));
    f.setValeur(QStringLiteral("Handicap_B"), QStringLiteral("3"));
    QStringList ecrit = l;
    ecrit[26] = QStringLiteral("reste;tel;quel;;");
    f.enregistrer(ecrit, 0);
    EXPECT_EQ(ecrit[0], l[0]);
    EXPECT_EQ(ecrit[2], QStringLiteral("Nom, avec point-virgule;;;;"));
    EXPECT_EQ(ecrit[25], QStringLiteral(";3;;;"));
    EXPECT_EQ(ecrit[26], QStringLiteral("reste;tel;quel;;"));
}

} // namespace
