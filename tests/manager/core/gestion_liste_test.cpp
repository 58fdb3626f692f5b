// The challenge's tournaments list "Challenge.DBP": exact bytes of the
// writing commands, the case of its name, unreadable and missing files.
#include "manager/core/lignechallenge.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{

class GestionListe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_ancienRep = RepAppli;
        m_ancienneSaison = SaisonEnCours;
        RepAppli = m_dir.path() + QLatin1Char('/');
        SaisonEnCours = QStringLiteral("2026-2027");
        QDir(m_dir.path()).mkdir(SaisonEnCours);
    }
    void TearDown() override
    {
        RepAppli = m_ancienRep;
        SaisonEnCours = m_ancienneSaison;
    }
    QString chemin(const QString &nom) const { return fichierSaison(nom); }
    void ecrire(const QString &nom, const QByteArray &octets)
    {
        QFile f(chemin(nom));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(octets);
    }
    QByteArray lire(const QString &nom) const
    {
        QFile f(chemin(nom));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    QStringList fichiers() const
    {
        return QDir(chemin(QString())).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    static LigneChallenge tournoi(const QString &nom)
    {
        LigneChallenge l;
        l.date = QStringLiteral("12/10/2026");
        l.nom = nom;
        l.type = QStringLiteral("P");
        l.colonne = QStringLiteral("1");
        l.coefficient = QStringLiteral("100");
        return l;
    }

    QTemporaryDir m_dir;
    QString m_ancienRep;
    QString m_ancienneSaison;
};

TEST_F(GestionListe, NumbersAreNotRenumbered)
{
    ecrire(QStringLiteral("Challenge.DBP"), QByteArray());
    ListeTournois liste;
    ASSERT_EQ(liste.charger(), ListeTournois::Chargement::Lu);
    EXPECT_TRUE(liste.ajouter(tournoi(QStringLiteral("Open d'automne"))));
    EXPECT_TRUE(liste.ajouter(tournoi(QStringLiteral("Coupe"))));
    LigneChallenge q = tournoi(QStringLiteral("Quatre"));
    q.type = QStringLiteral("Q");
    q.colonne = QStringLiteral("16");
    EXPECT_TRUE(liste.ajouter(q));
    EXPECT_EQ(liste.courant(), 3);
    liste.setCourant(2);
    EXPECT_TRUE(liste.supprimer());
    EXPECT_EQ(liste.courant(), 2);
    EXPECT_TRUE(liste.ajouter(tournoi(QStringLiteral("Sète"))));
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")),
              QByteArray("1;12/10/2026;Open d'automne;P;1;100;;\r\n"
                         "3;12/10/2026;Quatre;Q;16;100;;\r\n"
                         "3;12/10/2026;S\xe8te;P;1;100;;\r\n"));
}

TEST_F(GestionListe, ModifyAndLinkRewriteTheCurrentLine)
{
    ecrire(QStringLiteral("Challenge.DBP"), "1;01/01/2027;Ancien;P;2;50;Open1.chr;\r\n"
                                            "2;02/01/2027;Autre;Q;3;100;Quatre.chr;\r\n");
    ListeTournois liste;
    liste.charger();
    liste.normaliser();
    EXPECT_EQ(liste.courant(), 1);
    liste.suivant();
    LigneChallenge l = liste.ligne(1);
    l.nom = QStringLiteral("Nouveau; nom\r\nsur deux lignes");
    EXPECT_TRUE(liste.modifier(l));
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")),
              QByteArray("1;01/01/2027;Ancien;P;2;50;Open1.chr;\r\n"
                         "2;02/01/2027;Nouveau, nom  sur deux lignes;Q;3;100;;\r\n"));
    liste.premier();
    EXPECT_TRUE(liste.lierResultat(liste.ligne(0), chemin(QStringLiteral("Open2.chr"))));
    EXPECT_EQ(liste.ligne(0).fichierResultat, QStringLiteral("Open2.chr"));
    // A cancelled dialog clears the link.
    EXPECT_TRUE(liste.lierResultat(liste.ligne(0), QString()));
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")).left(30),
              QByteArray("1;01/01/2027;Ancien;P;2;50;;\r\n"));
}

TEST_F(GestionListe, NavigationAndEnabling)
{
    ecrire(QStringLiteral("Challenge.DBP"),
           "1;;a;P;1;100;;\r\n2;;b;P;1;100;;\r\n3;;c;P;1;100;;\r\n");
    ListeTournois liste;
    liste.charger();
    EXPECT_EQ(liste.courant(), 0);
    liste.normaliser();
    EXPECT_FALSE(liste.peutReculer());
    EXPECT_TRUE(liste.peutAvancer());
    liste.dernier();
    EXPECT_EQ(liste.courant(), 3);
    EXPECT_FALSE(liste.peutAvancer());
    liste.suivant();
    EXPECT_EQ(liste.courant(), 3);
    liste.precedent();
    liste.precedent();
    liste.precedent();
    EXPECT_EQ(liste.courant(), 1);
    liste.setCourant(3);
    liste.supprimer();
    liste.supprimer();
    liste.supprimer();
    EXPECT_EQ(liste.courant(), 0);
    EXPECT_FALSE(liste.peutModifier());
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")), QByteArray());
}

TEST_F(GestionListe, EmptyListRefusesLinking)
{
    ecrire(QStringLiteral("Challenge.DBP"), QByteArray());
    ListeTournois liste;
    liste.charger();
    QFile::remove(chemin(QStringLiteral("Challenge.DBP")));
    EXPECT_FALSE(liste.lierResultat(tournoi(QStringLiteral("x")), QStringLiteral("a.chr")));
    EXPECT_FALSE(liste.modifier(tournoi(QStringLiteral("x"))));
    EXPECT_FALSE(liste.supprimer());
    EXPECT_FALSE(QFile::exists(chemin(QStringLiteral("Challenge.DBP"))));
}

TEST_F(GestionListe, OneFileWhateverTheCase)
{
    ecrire(QStringLiteral("Challenge.DBP"), "1;;a;P;1;100;;\r\n");
    {
        ListeTournois liste;
        liste.charger();
        liste.ajouter(tournoi(QStringLiteral("b")));
    }
    EXPECT_EQ(fichiers(), QStringList{QStringLiteral("Challenge.DBP")});

    QFile::rename(chemin(QStringLiteral("Challenge.DBP")), chemin(QStringLiteral("challenge.dbp")));
    ListeTournois liste;
    ASSERT_EQ(liste.charger(), ListeTournois::Chargement::Lu);
    EXPECT_EQ(liste.nombre(), 2);
    liste.ajouter(tournoi(QStringLiteral("c")));
    EXPECT_EQ(fichiers(), QStringList{QStringLiteral("challenge.dbp")});
    EXPECT_EQ(lire(QStringLiteral("challenge.dbp")).count('\n'), 3);
}

TEST_F(GestionListe, MissingFileStartsEmptyUnreadableFileIsKept)
{
    ListeTournois liste;
    QString erreur;
    EXPECT_EQ(liste.charger(&erreur), ListeTournois::Chargement::Absent);
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_TRUE(liste.ajouter(tournoi(QStringLiteral("premier"))));
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")),
              QByteArray("1;12/10/2026;premier;P;1;100;;\r\n"));

    // A folder in the file's place cannot be read: nothing may replace it.
    QFile::remove(chemin(QStringLiteral("Challenge.DBP")));
    QDir(chemin(QString())).mkdir(QStringLiteral("Challenge.DBP"));
    erreur.clear();
    EXPECT_EQ(liste.charger(&erreur), ListeTournois::Chargement::Illisible);
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(liste.ecritureAutorisee());
    EXPECT_FALSE(liste.ajouter(tournoi(QStringLiteral("x"))));
    EXPECT_FALSE(liste.supprimer());
    EXPECT_TRUE(QFileInfo(chemin(QStringLiteral("Challenge.DBP"))).isDir());
}

} // namespace

namespace
{

TEST_F(GestionListe, DatesAndCoefficientsTheRankingCannotReadAreRefused)
{
    const QString date = QStringLiteral("Date : '%1' n'est pas une date correcte (jj/mm/aaaa)");
    const QString coef = QStringLiteral("Coéf. : '%1' n'est pas une valeur entière correcte");
    const QByteArray longue(61, '7');
    const QString cite = QString::fromLatin1(longue.left(60)) + QStringLiteral("…");
    const struct {
        const char *date;
        const char *coefficient;
        QString message; // empty: accepted
    } cas[] = {
        {"29/02/2028", "100", QString()},
        {"31/12/2026", "0", QString()},
        {"01/01/2027", " 75 ", QString()},
        {"  /10/2026", "100", date.arg("  /10/2026")},
        {"12/03/    ", "100", date.arg("12/03/    ")},
        {"  /  /    ", "100", date.arg("  /  /    ")},
        {"", "100", date.arg("")},
        {"31/11/2026", "100", date.arg("31/11/2026")},
        {"29/02/2027", "100", date.arg("29/02/2027")},
        {"12/13/2026", "100", date.arg("12/13/2026")},
        {"00/10/2026", "100", date.arg("00/10/2026")},
        {"01/10/0000", "100", date.arg("01/10/0000")},
        {"1/10/2026", "100", date.arg("1/10/2026")},
        {"01-10-2026", "100", date.arg("01-10-2026")},
        {"01/10/2026 ", "100", date.arg("01/10/2026 ")},
        {"12/10/2026", "", coef.arg("")},
        {"12/10/2026", "1O0", coef.arg("1O0")},
        {"12/10/2026", "50,5", coef.arg("50,5")},
        {"12/10/2026", "2147483648", coef.arg("2147483648")},
        // Both wrong: the date is named first.
        {"  /  /    ", "abc", date.arg("  /  /    ")},
        // A huge value is quoted short.
        {longue.constData(), "100", date.arg(cite)},
        {"12/10/2026", longue.constData(), coef.arg(cite)},
    };
    const QByteArray depart("1;01/10/2026;Un;P;1;100;Un.chr;\r\n");
    for (const auto &c : cas) {
        ecrire(QStringLiteral("Challenge.DBP"), depart);
        ListeTournois liste;
        ASSERT_EQ(liste.charger(), ListeTournois::Chargement::Lu);
        liste.normaliser();
        LigneChallenge l = tournoi(QStringLiteral("Deux"));
        l.date = QString::fromUtf8(c.date);
        l.coefficient = QString::fromUtf8(c.coefficient);
        // The three commands that write the edits.
        const std::function<bool()> commandes[] = {
            [&] { return liste.ajouter(l); }, [&] { return liste.modifier(l); },
            [&] { return liste.lierResultat(l, QStringLiteral("/x/Deux.chr")); }};
        for (const auto &commande : commandes) {
            if (c.message.isEmpty()) {
                EXPECT_TRUE(commande()) << c.date << " " << c.coefficient;
                continue;
            }
            try {
                commande();
                ADD_FAILURE() << c.date << " " << c.coefficient;
            } catch (const platform::EConvertError &e) {
                EXPECT_EQ(e.Message(), c.message);
            }
            EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")), depart) << c.date;
            EXPECT_EQ(liste.nombre(), 1);
        }
    }
}

TEST_F(GestionListe, EntriesAlreadyInTheFileAreReadAsTheyAre)
{
    const QByteArray octets("1;  /10/2026;Un;P;1;1O0;;\r\n2;31/02/2026;Deux;Q;2;;;\r\n");
    ecrire(QStringLiteral("Challenge.DBP"), octets);
    ListeTournois liste;
    ASSERT_EQ(liste.charger(), ListeTournois::Chargement::Lu);
    EXPECT_EQ(liste.ligne(0).date, QStringLiteral("  /10/2026"));
    EXPECT_EQ(liste.ligne(0).coefficient, QStringLiteral("1O0"));
    EXPECT_EQ(liste.ligne(1).date, QStringLiteral("31/02/2026"));
    // Deleting one line keeps the other as it is.
    liste.setCourant(2);
    EXPECT_TRUE(liste.supprimer());
    EXPECT_EQ(lire(QStringLiteral("Challenge.DBP")), QByteArray("1;  /10/2026;Un;P;1;1O0;;\r\n"));
}

} // namespace
