// The page of a pairs journée from any bytes: the first line is a line of the
// tournaments list (its result file name as it comes), the rest the result
// file of that tournament and of a second one of the same journée. Only the
// conversion and file errors may stop it; the page lands in the pages folder
// under a sound name or nowhere, and no text of the files adds markup: the
// page holds as many "<" as the page of the same files without "<" and ">".
#include "manager/core/pagesjournee.h"
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

QStringList lignesDe(const QString &texte)
{
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList lignes = texte.split(fin);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    return lignes;
}

void viderDossier(const QString &dossier)
{
    QDir(dossier).removeRecursively();
    QDir().mkpath(dossier);
}

// The page's name and its count of "<", or -1 when the files stopped it.
qsizetype chevrons(const QString &racine, const QString &tournoi, const QStringList &resultats,
                   QString &nom)
{
    const QString saison = racine + QStringLiteral("S/");
    const QString pages = racine + QStringLiteral("Page_Htm/");
    viderDossier(saison);
    viderDossier(pages);
    platform::LineFile::write(saison + QStringLiteral("Tournoi.chr"), resultats);
    const QStringList tournois{tournoi, QStringLiteral("P;d;Deux;P;1;100;Tournoi.chr;")};
    try {
        nom = manager::PagePaires(tournois, 1, QStringLiteral("S<b>&"), saison, pages);
    } catch (const platform::EConvertError &) {
        return -1;
    } catch (const platform::EFileError &) {
        return -1;
    }
    // Nothing beside the two folders, and in the pages folder the page only.
    const QStringList racines =
        QDir(racine).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (racines != QStringList{QStringLiteral("Page_Htm"), QStringLiteral("S")})
        std::abort();
    const QStringList ecrites =
        QDir(pages).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (nom.isEmpty() != ecrites.isEmpty() || (!nom.isEmpty() && ecrites != QStringList{nom}))
        std::abort();
    if (nom.isEmpty())
        return 0;
    return platform::LineFile::read(pages + nom).join(QString()).count(u'<');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    if (!dossier.isValid())
        return 0;
    const QString racine = dossier.path() + QLatin1Char('/');
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const qsizetype fin = texte.indexOf(u'\n');
    const QString tournoi = fin < 0 ? texte : texte.left(fin);
    const QStringList resultats = lignesDe(fin < 0 ? QString() : texte.mid(fin + 1));

    QString nom;
    const qsizetype n = chevrons(racine, tournoi, resultats, nom);
    QStringList sans = resultats;
    for (QString &l : sans)
        l.remove(u'<').remove(u'>');
    QString nomSans;
    const qsizetype m = chevrons(racine, QString(tournoi).remove(u'<').remove(u'>'), sans, nomSans);
    if (n >= 0 && m >= 0 && n != m)
        std::abort();
    return 0;
}
