// Import of the federation's extract at growing sizes: a synthetic UTF-8
// extract (34 columns, accented names, about four players per name and first
// name) and a players file of the same size sharing half its licences. Each
// phase is timed: loading the players file, reading the extract (decoding,
// splitting, checking), merging (with and without reset), sorting and the
// atomic write.
//
//   bench_players_import [sizes...]      (default 25000 50000 65536 100000)
#include "manager/core/import_joueurs.h"

#include "platform/text/codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace manager;

namespace
{

const char *const Noms[] = {"Dupont",   "Martin",   "Lefèvre",   "Girard",   "Élan",     "Cœur",
                            "Bérénger", "Durand",   "Moreau",    "Fournier", "Rousseau", "Lambert",
                            "Bonnet",   "François", "Mercier",   "Blanc",    "Guérin",   "Faure",
                            "André",    "Noël",     "Chevalier", "Garçon",   "Perrin",   "Roussel"};
const char *const Prenoms[] = {"Hélène", "Jérôme", "Élodie", "Françoise", "Noël",   "Anaïs",
                               "Zoé",    "Loïc",   "Céline", "Gaëlle",    "Jean",   "Marie",
                               "Pierre", "Anne",   "Rémi",   "Agnès",     "Benoît", "Chloé"};
constexpr int NbNoms = int(sizeof(Noms) / sizeof(Noms[0]));
constexpr int NbPrenoms = int(sizeof(Prenoms) / sizeof(Prenoms[0]));

struct Donnees {
    QByteArray extrait;
    QByteArray joueurs;
};

// A name and first name for every four players, with a number so that the
// pairs stay distinct whatever the size.
QString nomDe(int paire)
{
    return QString::fromUtf8(Noms[paire % NbNoms]) + QString::number(paire / (NbNoms * NbPrenoms));
}
QString prenomDe(int paire)
{
    return QString::fromUtf8(Prenoms[(paire / NbNoms) % NbPrenoms]);
}

Donnees generer(int n)
{
    std::mt19937 alea(20261207u + unsigned(n));
    std::vector<int> paires(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        paires[size_t(i)] = i / 4;
    std::shuffle(paires.begin(), paires.end(), alea);

    QStringList colonnes;
    colonnes << QStringLiteral("Num_licence");
    for (int c = 1; c < 34; ++c)
        colonnes << QStringLiteral("Col%1").arg(c);
    QString extrait = colonnes.join(u';') + QStringLiteral("\r\n");
    extrait.reserve(qsizetype(n) * 220);
    for (int i = 0; i < n; ++i) {
        const int licence = 1000000 + i * 2;
        const int iv = 20 + int(alea() % 81);
        QStringList c(34);
        c[0] = QString::number(licence);
        c[1] = i % 2 ? QStringLiteral("M.") : QStringLiteral("Mme");
        c[2] = nomDe(paires[size_t(i)]);
        c[3] = prenomDe(paires[size_t(i)]);
        c[4] = QStringLiteral("%1-%2-%3")
                   .arg(1930 + int(alea() % 80))
                   .arg(1 + int(alea() % 12), 2, 10, QChar(u'0'))
                   .arg(1 + int(alea() % 28), 2, 10, QChar(u'0'));
        c[5] = QStringLiteral("%1 rue de l'Église").arg(1 + i % 200);
        c[7] = QStringLiteral("36%1").arg(i % 1000, 3, 10, QChar(u'0'));
        c[8] = QStringLiteral("Châteauroux");
        c[10] = QStringLiteral("02%1").arg(i % 100000000, 8, 10, QChar(u'0'));
        c[11] = QStringLiteral("06%1").arg((i * 7) % 100000000, 8, 10, QChar(u'0'));
        c[12] = i % 5 ? QStringLiteral("joueur%1@exemple.fr").arg(i)
                      : QStringLiteral("joueur%1@ffbridge.fr").arg(i);
        c[13] = QStringLiteral("Licence");
        c[14] = QStringLiteral("Senior");
        c[16] = QStringLiteral("Bridge club n°%1").arg(i % 60);
        c[17] = QString::number(iv);
        extrait += c.join(u';');
        extrait += QStringLiteral("\r\n");
    }

    // The players file: every other licence of the extract, and as many
    // players the extract does not know.
    QStringList joueurs;
    joueurs.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int licence = i % 2 ? 1000000 + i * 2 : 3000000 + i;
        joueurs << QStringLiteral("%1;M.;%2;%3;40;ANCIEN CLUB;;;;;;;;;;01/01/1960;Senior Licence;"
                                  "2MH;2020;")
                       .arg(licence)
                       .arg(platform::upperAZ(nomDe(paires[size_t(n - 1 - i)])))
                       .arg(prenomDe(paires[size_t(n - 1 - i)]));
    }
    TrierJoueurs(joueurs);
    QByteArray fichier;
    for (const QString &j : joueurs)
        fichier += platform::toAnsi(j) + "\r\n";
    return {extrait.toUtf8(), fichier};
}

bool ecrire(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(octets) == octets.size();
}

struct Mesure {
    double charger = 0, lire = 0, fusion = 0, tri = 0, ecrire = 0;
    double total() const { return charger + lire + fusion + tri + ecrire; }
};

// One import attempt through the same steps as the import window.
Mesure importer(const QString &joueurs, const QString &extrait, bool remiseAZero, int n,
                qsizetype *lignes)
{
    Mesure m;
    QElapsedTimer t;
    ImportJoueurs import;
    t.start();
    import.chargerJoueurs(joueurs);
    m.charger = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    const int lus = import.lire(extrait, n + 1);
    m.lire = double(t.nsecsElapsed()) / 1e6;
    if (lus != n)
        std::fprintf(stderr, "lignes lues %d au lieu de %d\n", lus, n);
    ParametresImport p;
    p.domaineFederation = QStringLiteral("ffbridge.fr");
    p.anneeSaison = QStringLiteral("2027");
    qint64 avantTri = 0;
    // The last progress call comes once every line is merged, just before the
    // sort: it splits the two phases.
    p.progression = [&](int i) {
        if (i == n)
            avantTri = t.nsecsElapsed();
    };
    t.restart();
    import.integrer(remiseAZero, p);
    const qint64 fin = t.nsecsElapsed();
    m.fusion = double(avantTri) / 1e6;
    m.tri = double(fin - avantTri) / 1e6;
    t.restart();
    import.enregistrer();
    m.ecrire = double(t.nsecsElapsed()) / 1e6;
    *lignes = import.joueurs.lignes.size();
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> tailles;
    for (int i = 1; i < argc; ++i)
        tailles << QByteArray(argv[i]).toInt();
    if (tailles.isEmpty())
        tailles = {25000, 50000, 65536, 100000};

    QTemporaryDir dossier;
    const QString joueurs = dossier.filePath(QStringLiteral("Joueur.DBP"));
    const QString extrait = dossier.filePath(QStringLiteral("extraction.csv"));

    std::printf("%-8s %-6s %9s %9s %9s %9s %9s %9s %8s\n", "joueurs", "remise", "charger", "lire",
                "fusion", "tri", "ecrire", "total", "lignes");
    QMap<int, double> fusionTri;
    double taille = 0;
    for (int n : tailles) {
        const Donnees d = generer(n);
        taille = double(d.extrait.size()) / 1e6;
        if (!ecrire(extrait, d.extrait)) {
            std::fprintf(stderr, "impossible d'écrire %s\n", qPrintable(extrait));
            return 1;
        }
        for (bool remise : {false, true}) {
            if (!ecrire(joueurs, d.joueurs))
                return 1;
            qsizetype lignes = 0;
            const Mesure m = importer(joueurs, extrait, remise, n, &lignes);
            std::printf("%-8d %-6s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %8lld\n", n,
                        remise ? "oui" : "non", m.charger, m.lire, m.fusion, m.tri, m.ecrire,
                        m.total(), static_cast<long long>(lignes));
            if (!remise)
                fusionTri[n] = m.fusion + m.tri;
        }
    }
    std::printf("(durées en millisecondes; extrait de %.1f Mo pour le plus grand)\n", taille);
    if (fusionTri.contains(50000) && fusionTri.contains(100000) && fusionTri[50000] > 0)
        std::printf("fusion + tri, 100000 contre 50000 (sans remise) : x%.2f (n log n : x2.13)\n",
                    fusionTri[100000] / fusionTri[50000]);
    return 0;
}
