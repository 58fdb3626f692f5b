// The season ranking from any bytes: the input's parts, cut at each form
// feed, are the tournaments list then the result files R1.chr to R4.chr
// of the season folder. Only the conversion and file errors may stop the
// ranking; a ranking made holds players in decreasing order of totals, each
// total the sum of its journées, and the ranked entries, limited or not,
// keep their order and shared places.
#include "fuzz/manager/fuzz_lignes.h"
#include "manager/core/classement.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace
{

void verifierEntrees(const QList<manager::EntreeClassement> &entrees)
{
    for (qsizetype i = 0; i < entrees.size(); ++i) {
        const int place = entrees[i].place.toInt();
        if (place < 1 || place > i + 1)
            std::abort();
        if (i > 0 && entrees[i].total == entrees[i - 1].total &&
            entrees[i].place != entrees[i - 1].place)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    if (!dossier.isValid())
        return 0;
    const QString saison = dossier.path() + QStringLiteral("/S/");
    QDir(saison).removeRecursively();
    QDir().mkpath(saison);
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList parties = texte.split(u'\f');
    const QStringList tournois = fuzz::lignesDe(parties.value(0));
    for (qsizetype k = 1; k < parties.size() && k <= 4; ++k)
        platform::LineFile::write(saison + QStringLiteral("R%1.chr").arg(k),
                                  fuzz::lignesDe(parties[k]));

    manager::ClassementSaison c;
    try {
        c = manager::CalculerClassement(tournois, saison);
    } catch (const platform::EConvertError &) {
        return 0;
    } catch (const platform::EFileError &) {
        return 0;
    }
    if (c.nombreJournees < 0 || c.nombreJournees > manager::MaxJournees ||
        c.nombreJournees != manager::NombreJournees(tournois) ||
        c.typesJournee.size() != c.nombreJournees)
        std::abort();
    for (size_t i = 0; i < c.joueurs.size(); ++i) {
        const manager::LigneJoueurClassement &l = c.joueurs[i];
        bool ok = false;
        const qint64 total = l.total.toLongLong(&ok);
        if (!ok || total == 0)
            std::abort();
        if (i > 0 && c.joueurs[i - 1].total.toLongLong() < total)
            std::abort();
        // The journées' cells add up to the total (within 64 bits, as the
        // ranking checked every sum).
        qint64 somme = 0;
        for (int j = 0; j < manager::MaxJournees; ++j) {
            if (l.journees[j].isEmpty())
                continue;
            if (j >= c.nombreJournees)
                std::abort();
            __int128 s = __int128(somme) + l.journees[j].toLongLong();
            somme = qint64(s);
        }
        if (somme != total)
            std::abort();
    }
    const QList<manager::EntreeClassement> entrees = manager::ListeClassementGeneral(c.joueurs);
    if (entrees.size() != qsizetype(c.joueurs.size()))
        std::abort();
    verifierEntrees(entrees);
    if (manager::LignesClassement(entrees).size() != entrees.size())
        std::abort();
    QList<manager::EntreeClassement> limitees = entrees;
    try {
        manager::FiltrerIV(limitees, 40);
    } catch (const platform::EConvertError &) {
        if (limitees.size() != entrees.size())
            std::abort();
        return 0;
    }
    if (limitees.size() > entrees.size())
        std::abort();
    verifierEntrees(limitees);
    return 0;
}
