// A distribution file from any bytes, as its printout reads it: every
// points field summed (or a conversion error, never a wrapped sum), one
// record per five lines, and every variable of every record answered.
#include "manager/core/ventilation.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList lignes = texte.split(fin);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    manager::ImpressionRepartition imp;
    try {
        imp.charger(lignes);
    } catch (const platform::EConvertError &) {
        if (!imp.lignes.isEmpty() || !imp.cumuls.isEmpty())
            std::abort();
        return 0;
    }
    if (imp.cumuls.size() != lignes.size() || imp.lignes != lignes)
        std::abort();
    __int128 somme = 0;
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        somme += platform::StrToInt64(platform::Champ(lignes[i], 1));
        if (somme != imp.cumuls[i])
            std::abort();
    }
    const int n = imp.nombreEnregistrements();
    if (n != (lignes.size() + 4) / 5)
        std::abort();
    for (const QString &nom : manager::ImpressionRepartition::noms())
        for (int r : {-1, 0, n / 2, n - 1, n}) {
            QString t;
            qint64 entier = 0;
            bool estEntier = false;
            if (!imp.valeur(nom, r, t, entier, estEntier))
                std::abort();
        }
    return 0;
}
