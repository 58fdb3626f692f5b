// The convocation lists of a competition entries file (teams of four) of 150
// entries read against a players file of 30,000 players: building the name
// index, then the extraction (candidate lines matched, addresses collected).
//
//   bench_convocation_extraction [entries] [players]   (default 150 30000)
#include "manager/core/inscrits.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

using namespace manager::inscrits;

namespace
{

QString nomJoueur(int i)
{
    return QStringLiteral("NOM%1").arg(i * 7919 % 100003);
}

QString prenomJoueur(int i)
{
    return QStringLiteral("Prénom%1").arg(i % 997);
}

} // namespace

int main(int argc, char **argv)
{
    const int entrees = argc > 1 ? std::atoi(argv[1]) : 150;
    const int nombreJoueurs = argc > 2 ? std::atoi(argv[2]) : 30000;

    QStringList joueurs;
    for (int i = 0; i < nombreJoueurs; ++i) {
        QStringList champs(16);
        champs[0] = QString::number(100000 + i);
        champs[2] = nomJoueur(i);
        champs[3] = prenomJoueur(i);
        champs[14] = QStringLiteral("j%1@exemple.fr").arg(i);
        joueurs.append(champs.join(QLatin1Char(';')));
    }

    // Each entry: its number, the cell before the club, the club, four
    // players of which the last is unknown, the value index.
    QStringList fichier{QStringLiteral("<!DOCTYPE html>"),
                        QString(16, QLatin1Char(' ')) +
                            QStringLiteral("<div class=\"container-table\">")};
    for (int e = 1; e <= entrees; ++e) {
        QStringList bloc(26, QStringLiteral("            <br>"));
        bloc[0] = QStringLiteral("            %1. EQUIPE %1").arg(e);
        bloc[11] = QStringLiteral("                <td class=\"text-center\">");
        bloc[12] = QStringLiteral("                CLUB %1").arg(e % 40);
        for (int k = 0; k < 4; ++k) {
            const int j = (e * 4 + k) * 37 % nombreJoueurs;
            bloc[16 + k] = k == 3 ? QStringLiteral("<span>M.</span> Inconnu PERSONNE 10")
                                  : QStringLiteral("<span>M.</span> %1 %2 %3")
                                        .arg(prenomJoueur(j), nomJoueur(j))
                                        .arg(20 + k);
        }
        bloc[21] = QStringLiteral("</div>");
        bloc[24] = QStringLiteral("      80");
        fichier += bloc;
    }

    QElapsedTimer t;
    t.start();
    const IndexJoueurs index(joueurs);
    const qint64 msIndex = t.elapsed();
    t.restart();
    const ListesConvocation l = Extraire(fichier, Fichier::Competition, true, index, true);
    const qint64 msExtraction = t.elapsed();
    std::printf("%d entries, %d players: index %lld ms, extraction %lld ms, total %lld ms; "
                "%d entries taken, %lld addresses\n",
                entrees, nombreJoueurs, static_cast<long long>(msIndex),
                static_cast<long long>(msExtraction),
                static_cast<long long>(msIndex + msExtraction), l.nombre(),
                static_cast<long long>(l.courriels.size()));
    return l.nombre() == entrees ? 0 : 1;
}
