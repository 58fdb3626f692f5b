// Lines of a ".chr" result file, as the ranking reads them: any bytes give
// at most two players, each with a name and a licence, sharing field 7, and
// only lines with eight ";" give any; a file is taken as results only when
// all its lines but blank ones are such lines.
#include "manager/core/ligneresultat.h"
#include "platform/text/codec.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    const QStringList lignes = texte.split(fin);
    // A file taken as results holds no line that gives nothing but blanks.
    const bool resultats = contientLigneResultat(lignes);
    for (const QString &ligne : lignes) {
        const LigneResultat r = lireLigneResultat(ligne);
        if (resultats && !r.complete && !ligne.trimmed().isEmpty())
            std::abort();
        if (r.complete != (ligne.count(QLatin1Char(';')) >= 8))
            std::abort();
        if (!r.complete) {
            if (!r.joueurs.isEmpty())
                std::abort();
            continue;
        }
        QString debut;
        for (const QString &c : r.champs)
            debut += c + QLatin1Char(';');
        if (!ligne.startsWith(debut) || r.joueurs.size() > 2)
            std::abort();
        for (const JoueurResultat &j : r.joueurs)
            if (j.nom.isEmpty() || j.licence.isEmpty() || j.points != r.champs[7])
                std::abort();
    }
    return 0;
}
