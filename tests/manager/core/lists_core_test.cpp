// The reference lists of venues, referees and persons in charge: file,
// arrow, operations and the look-up of an entry's information.
#include "manager/core/listereference.h"
#include "platform/text/linefile.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QByteArray contenu(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void ecrit(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(ListsCore, MissingFileIsCreatedEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lieu.DBP");
    ListeReference l(path);
    l.charge();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(contenu(path), QByteArray());
    EXPECT_EQ(l.nombre(), 0);
    EXPECT_EQ(l.courant(), 0);
    EXPECT_FALSE(l.peutReculer());
    EXPECT_FALSE(l.peutAvancer());
    EXPECT_FALSE(l.nonVide());
}

TEST(ListsCore, AddSortsByNameAndPutsTheArrowOnRowOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lieu.DBP");
    ListeReference l(path);
    l.charge();
    l.ajoute("Beta", "rue B");
    l.ecrit();
    l.ajoute("Alpha", QString::fromUtf8("rue A; tél"));
    l.ecrit();
    EXPECT_EQ(contenu(path), QByteArray("Alpha;rue A, t\xe9l;\r\nBeta;rue B;\r\n"));
    EXPECT_EQ(l.courant(), 1);
    EXPECT_EQ(l.noms(), QStringList({"Alpha", "Beta"}));
    EXPECT_TRUE(l.peutAvancer());
    l.dernier();
    EXPECT_EQ(l.courant(), 2);
    EXPECT_TRUE(l.peutReculer());
    EXPECT_FALSE(l.peutAvancer());
    l.suivant();
    EXPECT_EQ(l.courant(), 2);
    l.precedent();
    l.precedent();
    EXPECT_EQ(l.courant(), 1);
    l.suivant();
    l.premier();
    EXPECT_EQ(l.courant(), 1);
}

TEST(ListsCore, EqualNamesKeepTheirOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Arbitre.DBP");
    ecrit(path, "Beta;1;\r\nAlpha;2;\r\nBeta;3;\r\n");
    ListeReference l(path);
    l.charge();
    EXPECT_EQ(l.courant(), 1);
    l.ajoute("Alpha", "4");
    l.ecrit();
    EXPECT_EQ(contenu(path), QByteArray("Alpha;2;\r\nAlpha;4;\r\nBeta;1;\r\nBeta;3;\r\n"));
}

TEST(ListsCore, ModifyDoesNotSortDeleteGoesToTheLastRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Responsable.DBP");
    ecrit(path, "Alpha;1;\nBeta;2;\nGamma;3;\n");
    ListeReference l(path);
    l.charge();
    l.modifie("Zeta", "9");
    l.ecrit();
    EXPECT_EQ(contenu(path), QByteArray("Zeta;9;\r\nBeta;2;\r\nGamma;3;\r\n"));
    l.ajoute("Delta", "4");
    EXPECT_EQ(l.noms(), QStringList({"Beta", "Delta", "Gamma", "Zeta"}));
    l.suivant(); // Delta
    l.supprime();
    EXPECT_EQ(l.noms(), QStringList({"Beta", "Gamma", "Zeta"}));
    EXPECT_EQ(l.courant(), 3);
    l.supprime();
    l.supprime();
    l.supprime();
    EXPECT_EQ(l.courant(), 0);
    EXPECT_FALSE(l.nonVide());
    l.supprime(); // nothing left: harmless
    l.modifie("x", "y");
    EXPECT_EQ(l.nombre(), 0);
}

TEST(ListsCore, ShortLinesShowAnEmptyInformation)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lieu.DBP");
    ecrit(path, "Seul\r\nNom;\r\n");
    ListeReference l(path);
    l.charge();
    EXPECT_EQ(l.nom(0), "Seul");
    EXPECT_EQ(l.information(0), "");
    EXPECT_EQ(l.information(1), "");
    EXPECT_EQ(l.information(7), "");
}

TEST(ListsCore, LookUpPrefersTheExactName)
{
    const QStringList lignes = {"Club A;x;", "Club AB;y;"};
    EXPECT_EQ(InformationDe(lignes, "Club A"), "x");
    EXPECT_EQ(InformationDe(lignes, "Club AB"), "y");
    EXPECT_EQ(InformationDe(lignes, "Club"), "y");
    EXPECT_EQ(InformationDe(lignes, ""), "");
    EXPECT_EQ(InformationDe(lignes, "club"), "");
    EXPECT_EQ(InformationDe(lignes, "Nowhere"), "");
    // Two lines of the same name: the later one.
    EXPECT_EQ(InformationDe({"Salle;1;", "Salle;2;", "Autre;Salle 3;"}, "Salle"), "2");
    // Found inside the information of another line.
    EXPECT_EQ(InformationDe({"Club;rue des Lilas;", "Foyer;rue des Roses;"}, "Lilas"),
              "rue des Lilas");
}
