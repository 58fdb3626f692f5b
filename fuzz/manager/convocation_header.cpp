// A convocations header file (".qud", ".pad") with any bytes, read as the
// convocations window restores it: a file that is no text is refused, one
// of fewer lines than the header needs gives nothing, any other gives each
// line to its text, the venue empty when the file stops before it, and no
// text holds a line break.
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
    platform::LineFile::writeBytes(
        chemin, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList lignes = platform::LineFile::read(chemin);
    std::optional<EnteteConvocation> entete;
    try {
        entete = manager::lireEnteteConvocation(chemin);
    } catch (const manager::EAutreGenre &) {
        if (!manager::FichierBinaire(lignes))
            std::abort();
        return 0;
    }
    if (manager::FichierBinaire(lignes))
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
