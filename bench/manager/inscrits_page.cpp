// Reading a saved entries page of about 1 MB as the convocations window does
// it: recognition, the group block kept as the entries file, then the
// convocation lists read from it; once for a real-looking page of teams,
// once for a damaged page of the same size made only of short numbered
// lines (each an entry), whose reading must stay as fast.
//
//   bench_inscrits_page [bytes]   (default 1000000)
#include "manager/core/inscrits.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

using namespace manager::inscrits;

namespace
{

qsizetype taille(const QStringList &lignes)
{
    qsizetype t = 0;
    for (const QString &l : lignes)
        t += l.size() + 2;
    return t;
}

// A group page: the marker, the block's first line, then teams of four
// players laid out as the federation's page does, up to the size asked.
QStringList pageEquipes(qsizetype octets)
{
    QStringList p{QStringLiteral("<!DOCTYPE html>"),
                  QStringLiteral("<h2>Liste des Ã©quipes du groupe (Poule A)</h2>"),
                  PremiereLigne(Bloc::Groupe)};
    for (int e = 1; taille(p) < octets; ++e) {
        p << QStringLiteral("      %1. EQUIPE NUMERO %1").arg(e) << QStringLiteral("      <br>")
          << QStringLiteral("      <br>") << QStringLiteral("      Bridge Club %1").arg(e % 50);
        for (int k = 0; k < 4; ++k)
            p << QStringLiteral("      <br>");
        for (int k = 0; k < 4; ++k)
            p << QStringLiteral("        M. Prenom%1 NOM%2 %3").arg(k).arg(e).arg(20 + k)
              << QStringLiteral("      <br>");
        p << QStringLiteral("      </div>") << QStringLiteral("      <br>")
          << QStringLiteral("      <br>") << QStringLiteral("      %1").arg(80 + e % 20)
          << QStringLiteral("      <br>") << QStringLiteral("      <br>");
    }
    p << LigneFin << QStringLiteral("</html>");
    return p;
}

// The same size of lines "1.", "2.", ...: every line starts an entry.
QStringList pageCourte(qsizetype octets)
{
    QStringList p{QStringLiteral("<!DOCTYPE html>"),
                  QStringLiteral("<h2>Liste des Ã©quipes du groupe</h2>"),
                  PremiereLigne(Bloc::Groupe)};
    for (int e = 1; taille(p) < octets; ++e)
        p << QStringLiteral("%1.").arg(e);
    return p;
}

qint64 lire(const QStringList &page, int &entrees)
{
    const IndexJoueurs joueurs({QStringLiteral("1;;NOM7;Prenom1;;;;;;;;;;;p@exemple.fr;")});
    QElapsedTimer t;
    t.start();
    entrees = 0;
    for (Bloc b : BlocsDeLaPage(page)) {
        const QStringList fichier = GarderBloc(page, b);
        const Fichier genre = b == Bloc::Groupe ? Fichier::Groupe : Fichier::Competition;
        try {
            entrees +=
                Extraire(fichier, genre, true, joueurs, false, QStringLiteral("page")).nombre();
        } catch (const EInscritsIncomplets &) {
            entrees = -1;
        }
    }
    return t.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    const qsizetype octets = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const QStringList equipes = pageEquipes(octets);
    const QStringList courte = pageCourte(octets);
    int n1 = 0, n2 = 0;
    const qint64 ms1 = lire(equipes, n1);
    const qint64 ms2 = lire(courte, n2);
    std::printf("teams page: %lld bytes, %lld lines, %d entries, %lld ms\n",
                static_cast<long long>(taille(equipes)), static_cast<long long>(equipes.size()), n1,
                static_cast<long long>(ms1));
    // Its last entries have no room for their players: refused as cut, after
    // the whole file was read.
    std::printf("short lines page: %lld bytes, %lld lines, %s, %lld ms\n",
                static_cast<long long>(taille(courte)), static_cast<long long>(courte.size()),
                n2 < 0 ? "refused as cut" : "read", static_cast<long long>(ms2));
    return n1 > 0 ? 0 : 1;
}
