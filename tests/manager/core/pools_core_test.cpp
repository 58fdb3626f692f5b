// Team lines, ranking, header, players search and the entries file of pools.
#include "manager/core/majuscules.h"
#include "manager/core/poule.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include <QFile>
#include <gtest/gtest.h>

using platform::Champ;

namespace
{

QString place(const QString &licence, const QString &iv)
{
    return licence + ";M.;NOM" + licence + ";Prenom;" + iv + ";";
}

QString equipe(const QStringList &ivs)
{
    QString l;
    for (int p = 0; p < 8; ++p)
        l += p < ivs.size() && !ivs[p].isEmpty() ? place(QString::number(100 + p), ivs[p])
                                                 : QStringLiteral(";;;;;");
    return l + "0;";
}

QString joueur(const QString &licence, const QString &nom, const QString &prenom,
               const QString &courriel = QString())
{
    QStringList f(19);
    f[0] = licence;
    f[1] = "M.";
    f[2] = nom;
    f[3] = prenom;
    f[4] = "50";
    f[14] = courriel;
    return f.join(';') + ';';
}

QStringList champs0(const QStringList &lignes)
{
    QStringList out;
    for (const QString &l : lignes)
        out << Champ(l, 0) + "/" + Champ(l, 3);
    return out;
}

} // namespace

TEST(PoolsCore, EmptyTeamAndDefaultHeader)
{
    EXPECT_EQ(LigneEquipeVide(), QString(40, ';') + "0;");
    EXPECT_EQ(Champ(LigneEquipeVide(), kChampValeurEquipe), "0");
    ReglagesPoule r{"1234567", "Bridge Club;Ville", "Ludmarre"};
    EXPECT_EQ(LigneEnteteDefaut(r), "20140901;Ludmarre;Quadrette;1234567 Bridge Club,Ville;01;"
                                    "septenbre;2014;1;12;2;01/09/2014;");
    EXPECT_EQ(LigneEnteteDefaut({}), "20140901;;Quadrette; ;01;septenbre;2014;1;12;2;01/09/2014;");
}

TEST(PoolsCore, TeamValueIsTheFourHighestIndexes)
{
    EXPECT_EQ(ValeurEquipe(equipe({"80", "60", "60", "40", "40", "20"})), 240);
    EXPECT_EQ(ValeurEquipe(equipe({"20", "", "90"})), 110);
    EXPECT_EQ(ValeurEquipe(LigneEquipeVide()), 0);
    EXPECT_THROW(ValeurEquipe(equipe({"80", "6x"})), platform::EConvertError);
}

// Value indexes as large as a hand-edited file may hold: the team's value is
// their exact sum, and a pool holding such teams still ranks.
TEST(PoolsCore, HugeValueIndexesAddUpExactly)
{
    const struct {
        QStringList ivs;
        qint64 valeur;
    } cas[] = {
        {{"2000000000", "2000000000"}, 4000000000LL},
        {{"2147483647", "2147483647", "2147483647", "2147483647", "1"}, 4LL * 2147483647},
        {QStringList(8, "-2147483648"), 4LL * -2147483648LL},
        {{"2147483647", "-2147483648", "5"}, 2147483647LL + 5 + 0 + 0},
    };
    for (const auto &c : cas) {
        EXPECT_EQ(ValeurEquipe(equipe(c.ivs)), c.valeur) << c.ivs.join(' ').toStdString();
        // Adding a player without index writes the same value.
        QString l = equipe(c.ivs);
        if (AjouteJoueur(l, {"9", "M.", "X", "Y", ""})) {
            EXPECT_EQ(Champ(l, 40), QString::number(c.valeur));
        }
    }
    QString l = equipe({"2000000000", "", "2000000000"});
    ASSERT_TRUE(AjouteJoueur(l, {"9", "M.", "X", "Y", "2000000000"}));
    EXPECT_EQ(Champ(l, 40), "6000000000");

    QStringList poule = {"entete;", "A;" + QString(39, ';') + "100;",
                         "B;" + QString(39, ';') + "6000000000;",
                         "C;" + QString(39, ';') + "-4294967296;"};
    RangeEquipes(poule, 3);
    EXPECT_EQ(champs0(poule), QStringList({"entete/", "B/", "A/", "C/"}));
}

TEST(PoolsCore, AddingPlayersFillsTheFirstEmptyPlaceUpToEight)
{
    QString l = LigneEquipeVide();
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(AjouteJoueur(
            l, {QString::number(i + 1), "Mme", "NOM", "Eve", QString::number(10 * (i + 1))}));
    EXPECT_EQ(Champ(l, 35), "8");
    EXPECT_EQ(Champ(l, 40), "260"); // 80 + 70 + 60 + 50
    EXPECT_EQ(l.count(';'), 41);
    const QString plein = l;
    EXPECT_FALSE(AjouteJoueur(l, {"9", "M.", "NEUF", "Jo", "99"}));
    EXPECT_EQ(l, plein);

    // A freed middle place is filled first; typed ";" does not shift fields.
    l = equipe({"80", "", "60"});
    EXPECT_TRUE(AjouteJoueur(l, {"555", "M.", "DU;PONT", "Jean\nLuc", "70"}));
    EXPECT_EQ(Champ(l, 5), "555");
    EXPECT_EQ(Champ(l, 7), "DU,PONT");
    EXPECT_EQ(Champ(l, 8), "Jean Luc");
    EXPECT_EQ(Champ(l, 40), "210");
    EXPECT_EQ(l.count(';'), 41);
    EXPECT_EQ(JoueursEquipe(l),
              QStringList({"M. NOM100 Prenom", "M. DU,PONT Jean Luc", "M. NOM102 Prenom"}));
    EXPECT_EQ(LicencesEquipe(l), QStringList({"100", "555", "102"}));
}

TEST(PoolsCore, BadValueIndexChangesNothing)
{
    QString l = equipe({"80"});
    const QString avant = l;
    EXPECT_THROW(AjouteJoueur(l, {"7", "M.", "X", "Y", "abc"}), platform::EConvertError);
    EXPECT_EQ(l, avant);
    EXPECT_TRUE(AjouteJoueur(l, {"7", "M.", "X", "Y", ""})); // empty counts 0
    EXPECT_EQ(Champ(l, 40), "80");
}

TEST(PoolsCore, RankingIsStableHighestFirst)
{
    QStringList poule = {"entete;", "A;" + QString(39, ';') + "100;",
                         "B;" + QString(39, ';') + "200;", "C;" + QString(39, ';') + "100;",
                         "D;" + QString(39, ';') + "200;"};
    RangeEquipes(poule, 4);
    EXPECT_EQ(champs0(poule), QStringList({"entete/", "B/", "D/", "A/", "C/"}));

    QStringList mauvais = poule;
    mauvais[3] = "X;" + QString(39, ';') + "1a;";
    const QStringList avant = mauvais;
    EXPECT_THROW(RangeEquipes(mauvais, 4), platform::EConvertError);
    EXPECT_EQ(mauvais, avant);

    // Lines beyond n are left alone.
    QStringList partiel = {"h;", "A;" + QString(39, ';') + "1;", "B;" + QString(39, ';') + "2;",
                           "C;" + QString(39, ';') + "3;"};
    RangeEquipes(partiel, 2);
    EXPECT_EQ(champs0(partiel), QStringList({"h/", "B/", "A/", "C/"}));
}

TEST(PoolsCore, HeaderFromDate)
{
    const EnteteDate e = EnteteDepuisDate(QDate(2015, 3, 5));
    EXPECT_EQ(e.reference, "20150305");
    EXPECT_EQ(e.district, "05");
    EXPECT_EQ(e.phase, "mars");
    EXPECT_EQ(e.groupe, "2015");
    EXPECT_EQ(EnteteDepuisDate(QDate(2021, 12, 24)).phase, QString::fromUtf8("décembre"));
    EXPECT_EQ(EnteteDepuisDate(QDate(2021, 2, 1)).phase, QString::fromUtf8("février"));
    EXPECT_EQ(LigneEntete({"a", "b;c", "", "", "", "", "", "1", "12", "2"}, "05/03/2015"),
              "a;b,c;;;;;;1;12;2;05/03/2015;");
}

TEST(PoolsCore, EntriesFileMatchesTheGoldenFile)
{
    ReglagesPoule r{"4700123", QString::fromUtf8("Bridge Club Ludmarré"), "Ludmarre"};
    QString t1 = LigneEquipeVide();
    AjouteJoueur(t1, {"1001", "M.", "MARTIN", "Paul", "62"});
    AjouteJoueur(t1, {"1002", "Mme", "DURAND", QString::fromUtf8("Hélène"), "55"});
    const QStringList poule = {
        "20150305;Ludmarre;Quadrette;4700123 Bridge;05;mars;2015;1;12;2;05/03/2015;", t1,
        LigneEquipeVide()};
    const QStringList lignes = FichierInscrits(poule, 2, r);
    const QString dossier = QStringLiteral(VORN_TEST_DATA) + "/calc/";
    const QStringList attendu = platform::LineFile::read(dossier + "inscrits_2_equipes.txt");
    EXPECT_EQ(lignes, attendu);
    // And byte for byte, once written.
    QFile golden(dossier + "inscrits_2_equipes.txt");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    QByteArray octets;
    for (const QString &l : lignes)
        octets += platform::toAnsi(l) + "\r\n";
    EXPECT_EQ(octets, golden.readAll());
}

TEST(PoolsCore, EntriesFileRoundsAndConversions)
{
    QStringList poule = {"r;e;c;en;d;p;g;3;12;2;01/02/2020;"};
    QStringList l = FichierInscrits(poule, 0, {});
    EXPECT_EQ(l, QStringList({"#INTITULE", "PAS;r;r;;e;c;en;d;p;g;O101;8", "#INSCRITS_GROUPE",
                              "#PARAMETRES", "0;3;12;2;24;0;0;1;1", "#SEANCE", "1;01/02/2020;;",
                              "2;01/02/2020;;", "3;01/02/2020;;", "#INSCRITS_COMPETITION"}));
    // Teams beyond the list read as empty places.
    l = FichierInscrits(poule, 1, {"9", "N", ""});
    EXPECT_EQ(l[3], "1;;0;0;9;N;" + QString(";;;;;0;0;OF;").repeated(8));

    poule[0] = "r;e;c;en;d;p;g;99;100000;100000;d;";
    l = FichierInscrits(poule, 0, {});
    EXPECT_EQ(l.size(), 7 + 99);
    EXPECT_EQ(l[4], "0;99;100000;100000;10000000000;0;0;1;1");
    poule[0] = "r;e;c;en;d;p;g;100;12;2;d;";
    try {
        FichierInscrits(poule, 0, {});
        FAIL() << "100 rounds accepted";
    } catch (const platform::EConvertError &) {
        FAIL() << "wrong error";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.Message(), "Nombre de tours invalide");
    }
    poule[0] = "r;e;c;en;d;p;g;2000000000;12;2;d;";
    EXPECT_THROW(FichierInscrits(poule, 0, {}), EToursInvalides);
    poule[0] = "r;e;c;en;d;p;g;un;12;2;d;";
    EXPECT_THROW(FichierInscrits(poule, 0, {}), platform::EConvertError);
    poule[0] = "r;e;c;en;d;p;g;1;12;x;d;";
    EXPECT_THROW(FichierInscrits(poule, 0, {}), platform::EConvertError);

    // The largest deals and halves still multiply exactly; anything beyond a
    // whole number of the usual size is refused, never wrapped around.
    poule[0] = "r;e;c;en;d;p;g;1;2147483647;2147483647;d;";
    EXPECT_EQ(FichierInscrits(poule, 0, {})[4],
              "0;1;2147483647;2147483647;4611686014132420609;0;0;1;1");
    poule[0] = "r;e;c;en;d;p;g;1;4294967296;4294967296;d;";
    EXPECT_THROW(FichierInscrits(poule, 0, {}), platform::EConvertError);
    poule[0] = "r;e;c;en;d;p;g;1;12;99999999999;d;";
    EXPECT_THROW(FichierInscrits(poule, 0, {}), platform::EConvertError);
}

TEST(PoolsCore, PlayersSortAndSearch)
{
    QStringList j = {joueur("1000", "DURAND", "Paul"), joueur("999", "MARTIN", "Anne"),
                     joueur("X12", "ZOE", "Z"),        joueur("12000", "ÉTIENNE", "Luc"),
                     joueur("999", "MARTIN", "Aaron"), joueur("1000", "BERNARD", "Alain")};
    int courant = 1; // MARTIN Anne
    TrieJoueursLicence(j, courant);
    EXPECT_EQ(champs0(j), QStringList({"999/Aaron", "999/Anne", "1000/Alain", "1000/Paul",
                                       "12000/Luc", "X12/Z"}));
    EXPECT_EQ(Champ(j[courant], 3), "Anne");
    // The last player whose licence is at most the typed number.
    EXPECT_EQ(Champ(j[ChercheLicence(j, "999")], 3), "Anne");
    EXPECT_EQ(Champ(j[ChercheLicence(j, "1500")], 3), "Paul");
    EXPECT_EQ(Champ(j[ChercheLicence(j, "99999")], 3), "Luc");
    EXPECT_EQ(ChercheLicence(j, "5"), 0);
    EXPECT_THROW(ChercheLicence(j, "12a"), platform::EConvertError);
    EXPECT_EQ(ChercheLicence({}, "5"), -1);

    TrieJoueursNom(j, courant);
    EXPECT_EQ(Champ(j[courant], 3), "Anne");
    QStringList noms;
    for (const QString &l : j)
        noms << Champ(l, 2) + " " + Champ(l, 3);
    EXPECT_EQ(noms, QStringList({"BERNARD Alain", "DURAND Paul", "MARTIN Aaron", "MARTIN Anne",
                                 "ZOE Z", QString::fromUtf8("ÉTIENNE Luc")}));
    EXPECT_EQ(Champ(j[ChercheNom(j, "mar")], 3), "Aaron");
    EXPECT_EQ(Champ(j[ChercheNom(j, QString::fromUtf8("éti"))], 3), "Luc");
    EXPECT_EQ(ChercheNom(j, "Q"), -1);
    EXPECT_EQ(ChercheNom(j, ""), 0);
}

TEST(PoolsCore, MailAddressesOfTheTeams)
{
    const QStringList j = {joueur("1", "A", "a", "a@x.fr"), joueur("2", "B", "b"),
                           joueur("3", "C", "c", "c@x.fr"), joueur("1", "A", "bis", "a2@x.fr")};
    EXPECT_EQ(AdressesCourriel(j, {"3", "2", "1"}), QStringList({"c@x.fr", "a2@x.fr", "a@x.fr"}));
    EXPECT_TRUE(AdressesCourriel(j, {"2", "9"}).isEmpty());
}

TEST(PoolsCore, UpperCaseOfTheCodePage)
{
    EXPECT_EQ(Majuscules1252(QString::fromUtf8("éèàçœÿß÷abz")), QString::fromUtf8("ÉÈÀÇŒŸß÷ABZ"));
}
