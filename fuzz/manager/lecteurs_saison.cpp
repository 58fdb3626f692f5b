// Any bytes as a season file of every kind, read as the windows read them:
// results, tournaments, players, pool, ranking, distribution, convocation
// header and entries. A file is either refused with a message naming it, or
// taken whole: its bytes (an end mark after the text aside) end with a line
// end, no line holds a control character, and what is taken is its lines.
#include "manager/core/attribution.h"
#include "manager/core/entete_convocation.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/lignechallenge.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/poule.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace
{

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Saison.txt"));
    QByteArray octets(reinterpret_cast<const char *>(data), qsizetype(size));
    platform::LineFile::writeBytes(chemin, octets);
    while (octets.endsWith('\x1a'))
        octets.chop(1);
    const QStringList lignes = platform::LineFile::lines(octets);
    const bool entier = (octets.isEmpty() || octets.endsWith('\n') || octets.endsWith('\r')) &&
                        !manager::FichierBinaire(lignes);
    const std::function<QStringList()> lecteurs[] = {
        [&] { return manager::LireFichierSaison(chemin, QStringLiteral("une liste d'inscrits")); },
        [&] { return LireResultats(chemin); },
        [&] { return LireTournois(chemin); },
        [&] { return manager::LireLignesJoueurs(chemin); },
        [&] { return LirePoule(chemin); },
        [&] { return manager::LireClassement(chemin); },
        [&] { return manager::LireRepartition(chemin); },
        [&] {
            const auto e = manager::lireEnteteConvocation(chemin);
            return e ? lignes : QStringList();
        },
    };
    for (const auto &lire : lecteurs) {
        QStringList lu;
        try {
            lu = lire();
        } catch (const platform::Exception &e) {
            verifie(e.Message().contains(chemin));
            continue;
        }
        verifie(entier);
        verifie(lu.isEmpty() || lu == lignes);
    }
    return 0;
}
