// The teams-of-four journée page and its match pages from any bytes: the
// first half of the input is the group's cross table, the rest its match
// file. Only a table of more teams than a group holds or a file that does
// not read whole may stop them (never a conversion error that names no
// file, a crash or a read past a line), and a generation stopped writes no
// page.
#include "manager/core/pagesjournee.h"
#include "manager/core/poulequatre.h"
#include "manager/core/tableaugroupe.h"
#include "manager/core/vorn_dec.h"
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

QStringList lignesDe(QByteArrayView octets)
{
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList lignes = platform::fromAnsi(octets).split(fin);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    return lignes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    if (!dossier.isValid())
        return 0;
    RepAppli = dossier.path() + QLatin1Char('/');
    SaisonEnCours = QStringLiteral("S");
    const QString saison = RepAppli + QStringLiteral("S/");
    const QString pages = RepAppli + QStringLiteral("Page_Htm/");
    QDir().mkpath(saison);
    QDir().mkpath(pages);
    const QByteArrayView octets(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype moitie = octets.size() / 2;
    platform::LineFile::write(saison + QStringLiteral("Poule.cpo"), {QStringLiteral("G")});
    platform::LineFile::write(saison + QStringLiteral("PouleR0.cpo"),
                              lignesDe(octets.first(moitie)));
    const QStringList match = lignesDe(octets.sliced(moitie));
    for (const char *f : {"PouleM000001.cpo", "PouleM000102.cpo", "PouleM000203.cpo"})
        platform::LineFile::write(saison + QLatin1String(f), match);
    for (const QString &f : QDir(pages).entryList(QDir::Files))
        QFile::remove(pages + f);
    try {
        manager::PageQuatre({QStringLiteral("Q;d;T;Q;1;100;T.chr;")}, 1, QStringLiteral("S"), pages,
                            0);
    } catch (const platform::EConvertError &) {
        // Every number of a file that reads whole is one: no conversion
        // error without the file and the line.
        std::abort();
    } catch (const platform::EFileError &) {
        // A table of more teams than a group holds, or a table or match
        // file that does not read whole, makes no page at all.
        if (!QDir(pages).isEmpty())
            std::abort();
    }
    try {
        manager::PageFeuillesMatch(0, 1, 0, QStringLiteral("1,00"), QStringLiteral("S"), pages);
    } catch (const platform::EConvertError &) {
        std::abort();
    } catch (const EFichierGroupeAbime &) {
    }
    return 0;
}
