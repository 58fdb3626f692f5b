// The search of K of the distribution table ("Calcul de K") for totals from
// the usual to the largest a whole number allows, with a first place of 30
// points and with players to endow: the time of one search and the number
// of places of its table. The largest table (100000 places) is the slowest
// case. Prints medians of five runs.
//
//   bench_repartition_k
#include "manager/core/ventilation.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace manager;

int main()
{
    struct Cas {
        const char *nom;
        ParametresRepartition p;
    };
    const Cas cas[] = {
        {"maximum 30, T = 1068", {1, 1, 1068, 40, 30}},
        {"maximum 30, T = 100000", {1, 1, 100000, 40, 30}},
        {"maximum 30, T = 1000000", {1, 1, 1000000, 40, 30}},
        {"maximum 30, T = 2999900", {1, 1, 2999900, 40, 30}},
        {"maximum 30, T = 999999999 (refused)", {1, 1, 999999999, 40, 30}},
        {"maximum 30, T = 2147483647 (refused)", {1, 1, 2147483647, 40, 30}},
        {"40 players, T = 999999999", {0, 0, 999999999, 40, 30}},
        {"40 players, T = 2147483647", {0, 1, 2147483647, 40, 30}},
        {"100000 players, T = 2147483647", {0, 1, 2147483647, 100000, 30}},
    };
    std::printf("%-40s %12s %10s %14s\n", "case", "ms", "places", "sum");
    for (const Cas &c : cas) {
        std::vector<double> temps;
        std::optional<ConstanteK> k;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer t;
            t.start();
            k = ChercherK(c.p);
            temps.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(temps.begin(), temps.end());
        long long places = 0, somme = 0;
        if (k) {
            for (qint64 place = 1; place <= MaxPlacesRepartition; ++place) {
                const qint64 pts = PointsPlace(c.p, *k, place);
                if (pts < 1)
                    break;
                ++places;
                somme += pts;
            }
        }
        std::printf("%-40s %12.2f %10lld %14lld\n", c.nom, temps[2], places, somme);
    }
    return 0;
}
