// The season ranking at full size: 16 journées, 60 result files of 400
// lines (pairs and teams kinds, coefficients 100 and 50), 8,000 players
// sharing their licences over the season. Times the computation from the
// files (reading, summing, sorting, removing the players without points)
// and the ranked entries with their places, and prints the median.
//
//   bench_classement_challenge [runs]      (default 7)
#include "manager/core/classement.h"

#include "platform/text/linefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace manager;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString saison = dir.path() + QLatin1Char('/');
    std::mt19937 rng(2024);
    auto tirage = [&rng](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    QStringList tournois;
    for (int f = 0; f < 60; ++f) {
        const bool equipes = f % 4 == 3;
        QStringList lignes;
        for (int l = 0; l < 400; ++l) {
            const int a = tirage(1, 8000), b = tirage(1, 8000);
            const int points = tirage(0, 3000);
            if (equipes)
                lignes.append(QStringLiteral("%1;Joueur %2;;%2;%3;;;%4;")
                                  .arg(tirage(0, 2000))
                                  .arg(a, 7, 10, QLatin1Char('0'))
                                  .arg(20 + a % 80)
                                  .arg(points));
            else
                lignes.append(QStringLiteral("%1;Joueur %2;Joueur %3;%2;%4;%3;%5;%6;")
                                  .arg(l + 1)
                                  .arg(a, 7, 10, QLatin1Char('0'))
                                  .arg(b, 7, 10, QLatin1Char('0'))
                                  .arg(20 + a % 80)
                                  .arg(20 + b % 80)
                                  .arg(points));
        }
        const QString nom = QStringLiteral("T%1.chr").arg(f);
        platform::LineFile::write(saison + nom, lignes);
        tournois.append(QStringLiteral("%1;01/01/2025;Tournoi %1;%2;%3;%4;%5;")
                            .arg(f + 1)
                            .arg(equipes ? QStringLiteral("Q") : QStringLiteral("P"))
                            .arg(f % 16 + 1)
                            .arg(f % 5 == 0 ? 50 : 100)
                            .arg(nom));
    }
    std::vector<double> temps;
    size_t joueurs = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const ClassementSaison c = CalculerClassement(tournois, saison);
        const QList<EntreeClassement> entrees = ListeClassementGeneral(c.joueurs);
        temps.push_back(double(t.nsecsElapsed()) / 1e9);
        joueurs = size_t(entrees.size());
    }
    std::sort(temps.begin(), temps.end());
    std::printf("ranking: 16 journees, 60 files x 400 lines, %zu ranked players\n", joueurs);
    std::printf("median %.4f s, best %.4f s, worst %.4f s over %d runs (goal < 0.3 s in Release)\n",
                temps[temps.size() / 2], temps.front(), temps.back(), runs);
    return 0;
}
