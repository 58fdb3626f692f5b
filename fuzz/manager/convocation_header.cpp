// A convocations header file (".qud", ".pad") with any bytes, read as the
// convocations window restores it: a file that does not read whole, or has a
// line past the venue, is refused; one of fewer lines than the header needs
// gives nothing; any other gives each line to its text, the venue empty when
// the file stops before it, and no text holds a line break.
#include "manager/core/entete_convocation.h"
#include "manager/core/genrefichier.h"
#include "platform/text/linefile.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using manager::EnteteConvocation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Coupe.qud"));
    QByteArray octets(reinterpret_cast<const char *>(data), qsizetype(size));
    platform::LineFile::writeBytes(chemin, octets);
    std::optional<EnteteConvocation> entete;
    try {
        entete = manager::lireEnteteConvocation(chemin);
    } catch (const platform::EFileError &) {
        return 0; // a file that does not read whole: lecteurs_saison
    }
    while (octets.endsWith('\x1a'))
        octets.chop(1);
    const QStringList lignes = platform::LineFile::lines(octets);
    if (manager::FichierBinaire(lignes) || lignes.size() > EnteteConvocation::NbLignes)
        std::abort();
    if (entete.has_value() != (lignes.size() >= EnteteConvocation::LignesRequises))
        std::abort();
    if (!entete)
        return 0;
    for (int i = 0; i < EnteteConvocation::NbLignes; ++i) {
        const QString &t = entete->texte(EnteteConvocation::Ligne(i));
        if (t != lignes.value(i) || t.contains(QLatin1Char('\r')) || t.contains(QLatin1Char('\n')))
            std::abort();
    }
    return 0;
}
