// The page of a pairs journée from any bytes: the first line is a line of the
// tournaments list (its result file name as it comes), the rest the result
// file of that tournament and of a second one of the same journée. Only the
// conversion and file errors may stop it; the page lands in the pages folder
// under a sound name or nowhere, and no text of the files adds markup: the
// page holds as many "<" as the page of the same files with a letter in place
// of every "<" and ">".
// The same holds for the ranking pages of the players of those lines.
// Then the whole challenge is published from those files as the challenge
// window does it: the season ranking, every journée page and both ranking
// pages, or a conversion or file error; once published, both ranking pages
// exist and the entries left are those within the value index limit.
#include "fuzz/manager/fuzz_lignes.h"
#include "manager/core/classement.h"
#include "manager/core/pageschallenge.h"
#include "manager/core/pagesjournee.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace
{

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

// The "<" of both ranking pages of the result lines' first players, the
// journée titled by the tournament's name and linked to the page, or -1
// when a value index or points field is not a whole number.
qsizetype chevronsClassement(const QString &tournoi, const QStringList &resultats,
                             const QString &nom)
{
    try {
        // Places and points as the ranking makes them; names, value indexes
        // and the journée's texts as the files hold them.
        QList<manager::EntreeClassement> entrees;
        for (const QString &l : resultats) {
            manager::EntreeClassement e;
            e.place = QString::number(entrees.size() + 1);
            e.nom = platform::Champ(l, 1);
            e.licence = platform::Champ(l, 3);
            e.iv = platform::Champ(l, 4);
            e.total = manager::FormatPoints(platform::Champ(l, 7));
            e.points[0] = e.total;
            entrees.append(e);
        }
        const QString type = platform::Champ(tournoi, 3);
        const QList<manager::JourneeWeb> journees{
            {type, manager::TitreJournee(type, platform::Champ(tournoi, 2), nom),
             platform::Champ(tournoi, 1)}};
        return manager::PageClassement(QStringLiteral("S<i>"), journees, entrees, 0)
                   .join(QString())
                   .count(u'<') +
               manager::PageClassement(QStringLiteral("S<i>"), journees, entrees, 40)
                   .join(QString())
                   .count(u'<');
    } catch (const platform::EConvertError &) {
        return -1;
    }
}

void publier(const QString &racine, const QString &tournoi, const QStringList &resultats)
{
    RepAppli = racine;
    SaisonEnCours = QStringLiteral("S");
    const QString saison = racine + QStringLiteral("S/");
    const QString pages = racine + QStringLiteral("Page_Htm/");
    viderDossier(saison);
    viderDossier(pages);
    platform::LineFile::write(saison + QStringLiteral("Tournoi.chr"), resultats);
    const QStringList tournois{tournoi, QStringLiteral("P;d;Deux;P;1;100;Tournoi.chr;")};
    try {
        const manager::ClassementSaison c = manager::CalculerClassement(tournois, saison);
        QList<manager::EntreeClassement> entrees = manager::ListeClassementGeneral(c.joueurs);
        manager::PagesChallenge(tournois, c.nombreJournees, c.typesJournee, c.nomsJournee,
                                c.datesJournee, QStringLiteral("S<b>&"), pages, entrees, 40,
                                45000.0);
        for (const char *page : {"Challenge.htm", "ChallengeCat.htm"})
            if (!QFile::exists(pages + QLatin1String(page)))
                std::abort();
        for (const manager::EntreeClassement &e : entrees)
            if (!e.iv.isEmpty() && platform::StrToInt(e.iv) > 40)
                std::abort();
    } catch (const platform::EConvertError &) {
    } catch (const platform::EFileError &) {
    }
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
    const QStringList resultats = fuzz::lignesDe(fin < 0 ? QString() : texte.mid(fin + 1));

    QString nom;
    const qsizetype n = chevrons(racine, tournoi, resultats, nom);
    // The same files with a letter for every "<" and ">": every field keeps
    // its kind (a number stays one or not), only the markup could change.
    auto sansChevrons = [](QString t) { return t.replace(u'<', u'x').replace(u'>', u'x'); };
    QStringList sans;
    for (const QString &l : resultats)
        sans << sansChevrons(l);
    const QString tournoiSans = sansChevrons(tournoi);
    QString nomSans;
    const qsizetype m = chevrons(racine, tournoiSans, sans, nomSans);
    if (nom.isEmpty() != nomSans.isEmpty())
        std::abort();
    if (n >= 0 && m >= 0 && n != m)
        std::abort();
    const qsizetype c = chevronsClassement(tournoi, resultats, nom);
    const qsizetype d = chevronsClassement(tournoiSans, sans, nomSans);
    if (c >= 0 && d >= 0 && c != d)
        std::abort();
    publier(racine, tournoi, resultats);
    return 0;
}
