// Generates the web pages of a season: 16 journées (8 teams of four, 8
// pairs), 8 groups of 6 teams with all their match files, 2,000 ranked
// players. Prints the time of one generation.
#include "manager/core/feuillematch.h"
#include "manager/core/pagesjournee.h"
#include "manager/core/poulequatre.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main()
{
    QTemporaryDir dossier;
    RepAppli = dossier.path() + QLatin1Char('/');
    SaisonEnCours = QStringLiteral("2023-2024");
    const QString saison = RepAppli + SaisonEnCours + QLatin1Char('/');
    const QString pages = RepAppli + QStringLiteral("Page_Htm/");
    QDir().mkpath(saison);
    QDir().mkpath(pages);

    QStringList groupes;
    for (int g = 0; g < 8; ++g) {
        groupes << QStringLiteral("Poule %1").arg(g);
        QStringList tableau{QStringLiteral(";E0;E1;E2;E3;E4;E5;;")};
        for (int t = 0; t < 6; ++t) {
            QString l = QStringLiteral("E%1;").arg(t);
            for (int o = 0; o < 6; ++o)
                l += (o == t ? QString() : QString::number(1000 + t * 10 + o)) + u';';
            tableau << l + QStringLiteral("6000;");
            for (int o = t + 1; o < 6; ++o) {
                QStringList m = FeuilleMatch::nouvelleFeuille(
                    QStringLiteral("Match"), QStringLiteral("400"), groupes[g], QStringLiteral("A"),
                    t, QStringLiteral("B"), o);
                for (int k : {2, 3, 4, 5, 7, 8, 9, 10, 14, 15, 16, 17, 19, 20, 21, 22})
                    m[k] = QStringLiteral("Joueur %1;0100%1;50;Club;").arg(k);
                for (int k : {6, 11, 18, 23})
                    m[k] = QStringLiteral("12;200;1100;1631;");
                m[12] = m[24] = QStringLiteral("24;40;50;1233;");
                m[25] = QStringLiteral("3;0;;;");
                platform::LineFile::write(fichierMatch(g, t, o), m + m);
            }
        }
        platform::LineFile::write(fichierTableau(g), tableau);
    }
    platform::LineFile::write(fichierPoules(), groupes);

    QStringList tournois, types, noms, dates;
    QStringList resultat;
    for (int i = 0; i < 60; ++i)
        resultat << QStringLiteral("%1;Joueur A%1;Joueur B%1;01%1;50;02%1;;1250;").arg(i);
    platform::LineFile::write(saison + QStringLiteral("Paires.chr"), resultat);
    for (int j = 1; j <= 16; ++j) {
        const bool paires = j % 2 == 0;
        types << (paires ? QStringLiteral("P") : QStringLiteral("Q"));
        noms << QStringLiteral("Journée %1").arg(j);
        dates << QStringLiteral("01/01/2024");
        tournois << QStringLiteral("%1;01/01/2024;T%1;%2;%1;100;%3;")
                        .arg(j)
                        .arg(types.last())
                        .arg(paires ? QStringLiteral("Paires.chr") : QStringLiteral("Q.chr"));
    }
    QList<manager::EntreeClassement> entrees;
    for (int i = 0; i < 2000; ++i) {
        manager::EntreeClassement e;
        e.place = QString::number(i + 1);
        e.nom = QStringLiteral("Joueur %1").arg(i);
        e.iv = QString::number(20 + i % 80);
        e.total = QStringLiteral("%1,00").arg(5000 - i);
        for (auto &p : e.points)
            p = QStringLiteral("12,50");
        entrees << e;
    }

    QElapsedTimer t;
    t.start();
    manager::PagesChallenge(tournois, 16, types, noms, dates, SaisonEnCours, pages, entrees, 40, 0);
    const qint64 ms = t.elapsed();
    std::printf("pages of 16 journees, 8 groups of 6, 2000 players: %lld ms (%lld files)\n",
                static_cast<long long>(ms),
                static_cast<long long>(QDir(pages).entryList(QDir::Files).size()));
    return 0;
}
