// Every reader of a season file, given damaged copies of a file the program
// writes: the file is taken only when it reads whole, and then it is taken as
// it stands; otherwise it is refused with a message naming the file and the
// line, and the command that would use it next writes nothing.
#include "manager/core/attribution.h"
#include "manager/core/classement.h"
#include "manager/core/entete_convocation.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/lignechallenge.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/pagesjournee.h"
#include "manager/core/poule.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/manager/degats_saison.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using degats::Genre;

// What a damage must give: a refusal, or either a refusal or the file taken
// as it stands (a shorter file of the kind is still one).
enum class Attendu { Refus, Libre };

struct Lecteur {
    const char *genre;
    QString fichier;
    QStringList lignes;
    std::function<QList<int>(int)> numeriques;
    // What the windows take of the file (its lines); throws when refused.
    std::function<QStringList(const QString &)> lire;
    // Damages a well-formed file of the kind can still look like.
    QList<Genre> libres;
};

QString ligne(std::initializer_list<QString> champs)
{
    QString l;
    for (const QString &c : champs)
        l += c + QLatin1Char(';');
    return l;
}

QString joueur(const QString &licence, const QString &nom, const QString &iv)
{
    QStringList c{licence, QStringLiteral("M."), nom, QStringLiteral("Jean"), iv};
    while (c.size() < manager::FicheJoueur::NbChamps)
        c << QString();
    c[14] = QStringLiteral("j@exemple.fr");
    return c.join(QLatin1Char(';')) + QLatin1Char(';');
}

QString equipe(const QString &licence1, const QString &iv1, const QString &valeur)
{
    QString l = licence1 + QStringLiteral(";M.;NOMA;Anne;") + iv1 + QLatin1Char(';');
    l += QString(35, QLatin1Char(';'));
    return l + valeur + QLatin1Char(';');
}

} // namespace

TEST(LecteursSaison, DamagedFilesAreTakenWholeOrRefusedNamingFileAndLine)
{
    QTemporaryDir d;
    const QString saison = d.path() + QStringLiteral("/2024-2025/");
    const QString pages = d.path() + QStringLiteral("/Page_Htm/");
    ASSERT_TRUE(QDir().mkpath(saison));
    ASSERT_TRUE(QDir().mkpath(pages));
    // The ranking and the journée pages read the result file linked in
    // column 1; the pairs window reads it through LireResultats.
    const QStringList tournois{QStringLiteral("1;12/10/2024;Open;P;1;100;Open1.chr;")};
    const auto resultats = [&](const QString &chemin) {
        const QStringList lu = LireResultats(chemin);
        manager::CalculerClassement(tournois, saison);
        manager::PagePaires(tournois, 1, QStringLiteral("2024-2025"), saison, pages);
        return lu;
    };
    const QList<Genre> courts{Genre::CoupeFinLigne, Genre::Retiree, Genre::Vide};

    const QList<Lecteur> lecteurs = {
        {"résultats des paires",
         QStringLiteral("Open1.chr"),
         {QStringLiteral("1;DUPONT Jean;MARTIN Paul;01000158;45;01000306;38;1250;"),
          QStringLiteral("2;ROUX Anne;LEROY Marc;01001453;33;01000380;29;1080;Sans Deuxième "
                         "série;Sans Troisième série;"),
          QStringLiteral("3;BLANC Léa;NOIR Luc;;;01000999;52;111;")},
         [](int) { return QList<int>{7}; },
         resultats,
         courts},
        {"résultats par quatre",
         QStringLiteral("Open1.chr"),
         {QStringLiteral("1200;Anne NOMA;;01000158;45;;;1530;"),
          QStringLiteral("800;Luc NOMB;;01000306;38;;;1020;"),
          QStringLiteral("400;Léa NOMC;;01001453;33;;;510;")},
         [](int) { return QList<int>{7}; },
         resultats,
         courts},
        {"tournois du challenge",
         QStringLiteral("Challenge.DBP"),
         {QStringLiteral("1;12/10/2024;Open;P;1;100;Open1.chr;"),
          QStringLiteral("2;19/10/2024;Quatre;Q;2;50;;")},
         [](int) {
             return QList<int>{0, 4};
         },
         [](const QString &chemin) { return LireTournois(chemin); },
         {Genre::CoupeFinLigne, Genre::Retiree, Genre::Vide, Genre::Doublee}},
        {"licenciés",
         QStringLiteral("Joueur.DBP"),
         {joueur(QStringLiteral("01000158"), QStringLiteral("DUPONT"), QStringLiteral("45")),
          joueur(QStringLiteral("01000306"), QStringLiteral("MARTIN"), QString()),
          joueur(QStringLiteral("01001453"), QStringLiteral("ROUX"), QStringLiteral("33"))},
         [](int) { return QList<int>{0}; },
         [](const QString &chemin) {
             QStringList lu;
             for (const manager::FicheJoueur &f : manager::lireFichierJoueurs(chemin))
                 lu << f.ligne();
             return lu;
         },
         courts + QList<Genre>{Genre::Doublee}},
        {"poule",
         QStringLiteral("Poule.txt"),
         {QStringLiteral("20240901;Lyon;Quadrette;0101 BC;01;septembre;2024;1;12;2;01/09/2024;"),
          equipe(QStringLiteral("01000158"), QStringLiteral("45"), QStringLiteral("45")),
          equipe(QStringLiteral("01000306"), QStringLiteral("38"), QStringLiteral("38")),
          LigneEquipeVide()},
         [](int i) {
             return i == 0 ? QList<int>{} : QList<int>{4, 40};
         },
         [](const QString &chemin) { return LirePoule(chemin); },
         {Genre::CoupeFinLigne, Genre::Retiree, Genre::Vide, Genre::Doublee}},
        {"classement",
         QStringLiteral("Classement_general.PPE"),
         {ligne({QStringLiteral("1"), QStringLiteral("DUPONT Jean"), QStringLiteral("01000158"),
                 QStringLiteral("45")}),
          ligne({QStringLiteral("2"), QStringLiteral("ROUX Anne"), QStringLiteral("01001453"),
                 QStringLiteral("33")}),
          ligne({QStringLiteral("2"), QStringLiteral("NOIR Luc"), QStringLiteral("01000999"),
                 QStringLiteral("52")}),
          ligne({QStringLiteral("4"), QStringLiteral("LEROY Marc"), QStringLiteral("01000380"),
                 QStringLiteral("29")})},
         [](int) { return QList<int>{0}; },
         [](const QString &chemin) { return manager::LireClassement(chemin); },
         {Genre::CoupeFinLigne, Genre::Retiree, Genre::Vide}},
        {"répartition",
         QStringLiteral("Repart_PP.PPE"),
         {QStringLiteral("1;30;"), QStringLiteral("2;25;"), QStringLiteral("3;20;"),
          QStringLiteral("4;15;")},
         [](int) {
             return QList<int>{0, 1};
         },
         [](const QString &chemin) { return manager::LireRepartition(chemin); },
         courts},
        {"en-tête de convocation",
         QStringLiteral("Open.qud"),
         {QStringLiteral("2024-2025"), QStringLiteral("Jean DUPONT"),
          QStringLiteral("Fait le 01/09/2024"), QStringLiteral("Open"), QStringLiteral("40 €"),
          QStringLiteral("Finale"), QStringLiteral("12/10/2024"), QStringLiteral("Patton"),
          QStringLiteral("14h00"), QStringLiteral("17h00"), QStringLiteral("Soyez à l'heure"),
          QStringLiteral("Paul MARTIN"), QStringLiteral("Pas de pause"),
          QStringLiteral("Bonne "
                         "chance"),
          QStringLiteral("Salle Émile Zola")},
         [](int) { return QList<int>{}; },
         [](const QString &chemin) {
             const auto e = manager::lireEnteteConvocation(chemin);
             if (!e)
                 throw platform::EFileError(QStringLiteral("incomplet"));
             QStringList lu(e->textes.begin(), e->textes.end());
             // A file without the venue leaves it empty.
             const QStringList fichier = platform::LineFile::read(chemin);
             while (lu.size() > fichier.size() && lu.last().isEmpty())
                 lu.removeLast();
             return lu;
         },
         {Genre::CoupeFinLigne, Genre::Retiree}},
        {"inscrits",
         QStringLiteral("Open.Qug"),
         {QStringLiteral("<!DOCTYPE html>"), QStringLiteral("    <div class=\"x\">"),
          QStringLiteral("1. Equipe DUPONT"), QStringLiteral("</div>")},
         [](int) { return QList<int>{}; },
         [](const QString &chemin) {
             return manager::LireFichierSaison(chemin, QStringLiteral("une liste d'inscrits"));
         },
         courts + QList<Genre>{Genre::Doublee}},
    };

    for (const Lecteur &l : lecteurs) {
        const QString chemin = saison + l.fichier;
        for (const degats::Degat &dg : degats::degats(l.lignes, l.numeriques)) {
            const std::string cas = std::string(l.genre) + ", " + dg.nom.toStdString();
            QDir(pages).removeRecursively();
            QDir().mkpath(pages);
            platform::LineFile::writeBytes(chemin, dg.octets);
            const Attendu attendu = l.libres.contains(dg.genre) ? Attendu::Libre : Attendu::Refus;
            QStringList lu;
            QString refus;
            try {
                lu = l.lire(chemin);
            } catch (const platform::Exception &e) {
                refus = e.Message();
            }
            if (refus.isEmpty()) {
                EXPECT_EQ(attendu, Attendu::Libre) << cas << " : pris";
                // Taken: what is shown is the file, line for line.
                EXPECT_EQ(lu, platform::LineFile::read(chemin)) << cas;
                continue;
            }
            if (refus == QStringLiteral("incomplet"))
                continue; // the header window's own refusal of a short file
            EXPECT_TRUE(refus.contains(chemin)) << cas << " : " << refus.toStdString();
            // The line damaged, or for a line doubled or removed the one
            // where the file stops making sense.
            const bool exacte = dg.genre != Genre::Retiree && dg.genre != Genre::Doublee;
            if (dg.ligne > 0) {
                EXPECT_TRUE(refus.contains(exacte ? QStringLiteral("ligne %1)").arg(dg.ligne)
                                                  : QStringLiteral("ligne ")))
                    << cas << " : " << refus.toStdString();
            }
            // Nothing is derived from a refused file.
            EXPECT_EQ(QDir(pages).entryList(QDir::Files), QStringList()) << cas;
        }
        // The file as the program writes it reads back unchanged.
        platform::LineFile::writeBytes(chemin, degats::octets(l.lignes));
        EXPECT_EQ(l.lire(chemin), l.lignes) << l.genre;
    }
}
