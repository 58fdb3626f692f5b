// The teams-of-four journée page and its match pages from any bytes: the
// first half of the input is the group's cross table, the rest its match
// file. Only the conversion error, or a table of more teams than a group
// holds, may stop them, never a crash or a read past a line.
#include "manager/core/pagesjournee.h"
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
    QFile::remove(pages + QStringLiteral("Quatre1.htm"));
    try {
        manager::PageQuatre({QStringLiteral("Q;d;T;Q;1;100;T.chr;")}, 1, QStringLiteral("S"), pages,
                            0);
    } catch (const platform::EConvertError &) {
    } catch (const EGroupeTropGrand &) {
        // A table of more teams than a group holds makes no page.
        if (QFile::exists(pages + QStringLiteral("Quatre1.htm")))
            std::abort();
    }
    try {
        manager::PageFeuillesMatch(0, 1, 0, QStringLiteral("1,00"), QStringLiteral("S"), pages);
    } catch (const platform::EConvertError &) {
    }
    return 0;
}
