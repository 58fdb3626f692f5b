// The players-file record: field positions, short and long lines, and the
// file round trip in Windows-1252.
#include "manager/core/fichejoueur.h"
#include "platform/text/exceptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using manager::FicheJoueur;

namespace
{

const QString kLigne = QStringLiteral(
    "01234567;M.;DUPONT;André;45;BRIDGE CLUB DE L'ÉTANG;1 rue A;Bât B;;75001;Paris;"
    "01 02 03 04 05;;06 07 08 09 10;andre@exemple.fr;01/02/1950;Licence B;3 C;2021;");

TEST(FicheJoueur, FieldsComeInTheirPlaces)
{
    const FicheJoueur f = FicheJoueur::depuisLigne(kLigne);
    EXPECT_EQ(f.Licence, QStringLiteral("01234567")) << "kept as text, leading zero included";
    EXPECT_EQ(std::tuple(f.Titre, f.Nom, f.Prenom, f.Indice, f.Club, f.Adresse1, f.Adresse2),
              std::tuple(QStringLiteral("M."), QStringLiteral("DUPONT"), QStringLiteral("André"),
                         QStringLiteral("45"), QStringLiteral("BRIDGE CLUB DE L'ÉTANG"),
                         QStringLiteral("1 rue A"), QStringLiteral("Bât B")));
    EXPECT_TRUE(f.Adresse3.isEmpty());
    EXPECT_EQ(std::tuple(f.CodePostal, f.Ville, f.TelDomicile),
              std::tuple(QStringLiteral("75001"), QStringLiteral("Paris"),
                         QStringLiteral("01 02 03 04 05")));
    EXPECT_TRUE(f.TelBureau.isEmpty());
    EXPECT_EQ(std::tuple(f.TelPortable, f.Courriel, f.DateNaissance, f.TypeLicence, f.Classement,
                         f.Annee),
              std::tuple(QStringLiteral("06 07 08 09 10"), QStringLiteral("andre@exemple.fr"),
                         QStringLiteral("01/02/1950"), QStringLiteral("Licence B"),
                         QStringLiteral("3 C"), QStringLiteral("2021")));
    for (int n = 0; n < FicheJoueur::NbChamps; ++n)
        EXPECT_EQ(f.champ(n), kLigne.split(u';').at(n)) << n;
    EXPECT_EQ(f.ligne(), kLigne);
}

TEST(FicheJoueur, ShortLongAndUnterminatedLines)
{
    const FicheJoueur court = FicheJoueur::depuisLigne(QStringLiteral("1;M;NOM"));
    EXPECT_EQ(court.Nom, QStringLiteral("NOM"));
    EXPECT_TRUE(court.Prenom.isEmpty());
    EXPECT_TRUE(court.Annee.isEmpty());
    EXPECT_EQ(court.ligne(), QStringLiteral("1;M;NOM;;;;;;;;;;;;;;;;;"));
    EXPECT_EQ(court.ligne().count(u';'), 19);

    EXPECT_EQ(FicheJoueur::depuisLigne(QString()).ligne(), QString(19, u';'));

    const FicheJoueur long_ = FicheJoueur::depuisLigne(kLigne + QStringLiteral("en trop;"));
    EXPECT_EQ(long_.ligne(), kLigne) << "fields beyond the 19th are not kept";
}

TEST(FicheJoueur, SeparatorsInsideAFieldCannotSplitTheRecord)
{
    FicheJoueur f;
    f.Licence = QStringLiteral("9");
    f.Nom = QStringLiteral("A;B");
    f.Ville = QStringLiteral("X\r\nY");
    const QString l = f.ligne();
    EXPECT_EQ(l.count(u';'), 19);
    EXPECT_FALSE(l.contains(u'\n'));
    const FicheJoueur relu = FicheJoueur::depuisLigne(l);
    EXPECT_EQ(std::tuple(relu.Nom, relu.Ville, relu.Licence),
              std::tuple(QStringLiteral("A B"), QStringLiteral("X  Y"), QStringLiteral("9")));
}

QByteArray platform_bytes()
{
    return QByteArray("1;M;DUPONT;Andr\xe9;45;CLUB;;;;;;;;;;;;;2021;\r\n"
                      "2;Mme;MARTIN;Zo\xeb;30;CLUB;;;;;;;;;;;;;2021;\r\n");
}

TEST(FicheJoueur, FileRoundTripIsByteExactInWindows1252)
{
    QTemporaryDir dir;
    const QString fichier = dir.path() + QStringLiteral("/Joueur.DBP");
    const QByteArray bytes = platform_bytes();
    {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QList<FicheJoueur> joueurs = manager::lireFichierJoueurs(fichier);
    ASSERT_EQ(joueurs.size(), 2);
    EXPECT_EQ(joueurs[0].Prenom, QStringLiteral("André"));
    EXPECT_EQ(joueurs[1].Nom, QStringLiteral("MARTIN"));
    EXPECT_EQ(joueurs[1].Prenom, QStringLiteral("Zoë"));

    manager::ecrireFichierJoueurs(fichier, joueurs);
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);

    EXPECT_TRUE(manager::lireFichierJoueurs(dir.path() + QStringLiteral("/absent.DBP")).isEmpty());
    EXPECT_THROW(
        manager::ecrireFichierJoueurs(dir.path() + QStringLiteral("/no/dir/J.DBP"), joueurs),
        platform::EFileError);
}

} // namespace
