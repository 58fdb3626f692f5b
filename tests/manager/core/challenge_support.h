#pragma once
// Shared by the challenge tests: golden files under tests/data/challenge
// (VORN_UPDATE_GOLDEN=1 writes them instead), synthetic ranking pages of both
// layouts of the licensee area, and players.
#include "manager/core/fichejoueur.h"
#include "platform/text/codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace vorn_test
{

inline QString challengeData(const QString &name)
{
    return QStringLiteral(VORN_TEST_DATA "/challenge/") + name;
}

inline void expectChallengeGolden(const QString &name, const QByteArray &actual)
{
    const QString path = challengeData(name);
    if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(actual);
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray expected = f.readAll();
    EXPECT_EQ(actual.toStdString(), expected.toStdString()) << name.toStdString();
}

// Lines as the code page writes them, CR LF after each.
inline QByteArray ansiLines(const QStringList &lines)
{
    QByteArray b;
    for (const QString &l : lines)
        b += platform::toAnsi(l) + "\r\n";
    return b;
}

// UTF-8 text as a page saved to disk holds it, read through the code page.
inline QString pageText(const QString &utf8Text)
{
    return platform::fromAnsi(utf8Text.toUtf8());
}

struct PairePage {
    QString place, nom1, nom2; // as written on the page (UTF-8)
};

inline QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

// A ranking page of the current layout: a club list, one table, each pair
// opened by its centred cell.
inline QStringList newLayoutPage(const QList<PairePage> &paires)
{
    QStringList p;
    p << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html>")
      << blanks(12) + QStringLiteral("Open /2 ") << QStringLiteral("<p>avant le tableau</p>")
      << blanks(8) + QStringLiteral("<div class=\"container-table columns\" id=\"contenu\">")
      << blanks(36) + QStringLiteral("<optgroup label=\"Clubs participants\">")
      << blanks(8) + QStringLiteral("<div class=\"container-table\">")
      << blanks(16) + QStringLiteral("<tbody>") << blanks(20) + QStringLiteral("<tr>");
    for (const PairePage &pp : paires) {
        p << blanks(24) + QStringLiteral("<td class=\"text-center\">");
        p << blanks(28) + pageText(pp.place);
        for (int k = 1; k < 18; ++k)
            p << blanks(28) + QStringLiteral("<span>%1</span>").arg(k);
        p << QStringLiteral("<td><a href=\"#\"><span class=\"nom\"><b>") + pageText(pp.nom1) +
                 QStringLiteral("</b></span></a></td>");
        for (int k = 19; k < 22; ++k)
            p << blanks(28) + QStringLiteral("<span>%1</span>").arg(k);
        p << QStringLiteral("<td><a href=\"#\"><span class=\"nom\"><b>") + pageText(pp.nom2) +
                 QStringLiteral("</b></span></a></td>");
        p << blanks(20) + QStringLiteral("</tr>") << blanks(20) + QStringLiteral("<tr>");
    }
    for (int k = 0; k < 10; ++k)
        p << blanks(16) + QStringLiteral("</tbody><!-- %1 -->").arg(k);
    p << blanks(4) + QStringLiteral("</section>") << QStringLiteral("<footer>fin</footer>");
    return p;
}

// A ranking page of the older layout: fixed 17-line pairs.
inline QStringList oldLayoutPage(const QList<PairePage> &paires)
{
    QStringList p;
    p << QStringLiteral("<html>") << blanks(16) + pageText(QStringLiteral("Télécharger le livret"))
      << blanks(12) + QStringLiteral("<div class=\"container-table columns\">")
      << blanks(16) + QStringLiteral("<tbody>");
    for (int k = 1; k < 6; ++k)
        p << QStringLiteral("<th>titre %1</th>").arg(k);
    for (const PairePage &pp : paires) {
        p << QStringLiteral("<td class=\"place\">") + pageText(pp.place) + QStringLiteral("</td>");
        for (int k = 1; k < 7; ++k)
            p << QStringLiteral("<td>%1</td>").arg(k);
        p << blanks(20) + QStringLiteral("M. ") + pageText(pp.nom1);
        p << QStringLiteral("<td>8</td>") << QStringLiteral("<td>9</td>");
        p << blanks(20) + QStringLiteral("Mme ") + pageText(pp.nom2);
        for (int k = 11; k < 17; ++k)
            p << QStringLiteral("<td>%1</td>").arg(k);
    }
    for (int k = 0; k < 8; ++k)
        p << QStringLiteral("<tr>fin %1</tr>").arg(k);
    p << blanks(8) + QStringLiteral("<!-- Simultanee only -->") << QStringLiteral("</html>");
    return p;
}

inline manager::FicheJoueur joueur(const QString &licence, const QString &prenom,
                                   const QString &nom, const QString &iv)
{
    manager::FicheJoueur f;
    f.Licence = licence;
    f.Prenom = prenom;
    f.Nom = nom;
    f.Indice = iv;
    return f;
}

} // namespace vorn_test
