// The federation's players extract: reading, checking and merging any bytes.
// A rejected extract must fail with one of the import's own errors; an
// accepted one must give well-formed players-file records, sorted, with
// every licence of the extract, and of the file it merges into, present
// once.
#include "manager/core/import_joueurs.h"

#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QHash>
#include <cstdint>
#include <cstdlib>

using namespace manager;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView octets(reinterpret_cast<const char *>(data), qsizetype(size));
    Extraction extraction;
    int n = 0;
    try {
        // The program's own limit: the options let inputs pass it.
        n = lireExtractionTexte(octets, extraction);
    } catch (const platform::Exception &) {
        if (!extraction.lignes.isEmpty())
            std::abort();
        return 0;
    }
    if (n < 0 ? !extraction.lignes.isEmpty() : extraction.lignes.size() != n)
        std::abort();
    if (n <= 0)
        return 0;

    ListeJoueurs joueurs;
    ParametresImport p;
    p.domaineFederation = QStringLiteral("ffbridge.fr");
    p.anneeSaison = QStringLiteral("2027");
    joueurs.lignes = {ficheDepuisExtraction(QStringLiteral("5;M.;A;B"), QString(), p.anneeSaison),
                      ficheDepuisExtraction(QStringLiteral("7;M.;Z;Y"), QString(), p.anneeSaison)};
    try {
        IntegrerJoueurs(extraction, joueurs, p);
    } catch (const platform::Exception &) {
        // Every licence and value index was checked on reading.
        std::abort();
    }
    // Each licence once in the merged file: those of the extract and the two
    // players already there, whether the extract named them or not.
    QHash<int, int> fois;
    for (const QString &fiche : std::as_const(joueurs.lignes)) {
        if (fiche.count(u';') != 19 || !fiche.endsWith(u';') || fiche.contains(u'\n') ||
            fiche.contains(u'\r'))
            std::abort();
        ++fois[licenceDe(fiche)];
    }
    for (const int deja : {5, 7})
        if (fois.value(deja) != 1)
            std::abort();
    for (const QString &ligne : std::as_const(extraction.lignes))
        if (fois.value(licenceDe(ligne)) != 1)
            std::abort();
    if (fois.size() != joueurs.lignes.size())
        std::abort();
    QStringList triees = joueurs.lignes;
    TrierJoueurs(triees);
    if (triees != joueurs.lignes)
        std::abort();
    return 0;
}
