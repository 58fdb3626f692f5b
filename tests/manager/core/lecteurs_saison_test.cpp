// Every reader of a season file, given damaged copies of a file the program
// writes: the file is taken only when it reads whole, and then it is taken as
// it stands; otherwise it is refused with a message naming the file and the
// line, and the command that would use it next writes nothing.
#include "manager/core/attribution.h"
#include "manager/core/classement.h"
#include "manager/core/entete_convocation.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/lignechallenge.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/pagesjournee.h"
#include "manager/core/paires.h"
#include "manager/core/poule.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/manager/core/challenge_support.h"
#include "tests/manager/degats_saison.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
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
    // The kind the reader names in its refusals, as the code passes it.
    QString genreLu;
    QString fichier;
    QStringList lignes;
    std::function<QList<int>(int)> numeriques;
    // What the windows take of the file (its lines); throws when refused.
    std::function<QStringList(const QString &)> lire;
    // Damages a well-formed file of the kind can still look like.
    QList<Genre> libres;
    // What was taken is what the file says: by default its lines, as read.
    std::function<bool(const QStringList &, const QString &)> fidele = [](const QStringList &lu,
                                                                          const QString &chemin) {
        return lu == platform::LineFile::read(chemin);
    };
    // What the whole file gives, when not its lines.
    QStringList entier = {};
};

// Every kind of season file the manager reads through the season reader,
// found in its sources: the literal passed, or the one a local holds.
QSet<QString> genresLusDansLeCode()
{
    QSet<QString> genres;
    const QRegularExpression appel(QStringLiteral(
        R"re(LireFichierSaison\(\s*[^,;]+,\s*(?:QStringLiteral\("([^"]*)"\)|(\w+)))re"));
    QDirIterator it(QStringLiteral(VORN_TEST_DATA "/../../manager"), {QStringLiteral("*.cpp")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString source = QString::fromUtf8(f.readAll());
        for (const QRegularExpressionMatch &m : appel.globalMatch(source)) {
            if (m.captured(0).contains(QStringLiteral("const QString &")))
                continue; // the reader's own declaration
            if (!m.captured(1).isEmpty() || m.captured(2).isEmpty()) {
                genres.insert(m.captured(1));
                continue;
            }
            // A local: the last literal given to it before the call.
            const QRegularExpression local(
                QStringLiteral(R"re(QString %1 = QStringLiteral\("([^"]*)"\))re")
                    .arg(m.captured(2)));
            QString valeur = QStringLiteral("? ") + m.captured(2);
            for (const QRegularExpressionMatch &d :
                 local.globalMatch(source.left(m.capturedStart())))
                valeur = d.captured(1);
            genres.insert(valeur);
        }
    }
    return genres;
}

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

    QList<Lecteur> lecteurs = {
        {"résultats des paires",
         QStringLiteral("un fichier de résultats"),
         QStringLiteral("Open1.chr"),
         {QStringLiteral("1;DUPONT Jean;MARTIN Paul;01000158;45;01000306;38;1250;"),
          QStringLiteral("2;ROUX Anne;LEROY Marc;01001453;33;01000380;29;1080;Sans Deuxième "
                         "série;Sans Troisième série;"),
          QStringLiteral("3;BLANC Léa;NOIR Luc;;;01000999;52;111;")},
         [](int) { return QList<int>{7}; },
         resultats,
         courts},
        {"résultats par quatre",
         QStringLiteral("un fichier de résultats"),
         QStringLiteral("Open1.chr"),
         {QStringLiteral("1200;Anne NOMA;;01000158;45;;;1530;"),
          QStringLiteral("800;Luc NOMB;;01000306;38;;;1020;"),
          QStringLiteral("400;Léa NOMC;;01001453;33;;;510;")},
         [](int) { return QList<int>{7}; },
         resultats,
         courts},
        {"tournois du challenge",
         QStringLiteral("une liste de tournois"),
         QStringLiteral("Challenge.DBP"),
         {QStringLiteral("1;12/10/2024;Open;P;1;100;Open1.chr;"),
          QStringLiteral("2;19/10/2024;Quatre;Q;2;50;;")},
         [](int) {
             return QList<int>{0, 4};
         },
         [](const QString &chemin) { return LireTournois(chemin); },
         {Genre::CoupeFinLigne, Genre::Retiree, Genre::Vide, Genre::Doublee}},
        {"licenciés",
         QStringLiteral("un fichier de licenciés"),
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
         QStringLiteral("un fichier de poule"),
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
         QStringLiteral("un fichier de classement"),
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
         QStringLiteral("un fichier de répartition"),
         QStringLiteral("Repart_PP.PPE"),
         {QStringLiteral("1;30;"), QStringLiteral("2;25;"), QStringLiteral("3;20;"),
          QStringLiteral("4;15;")},
         [](int) {
             return QList<int>{0, 1};
         },
         [](const QString &chemin) { return manager::LireRepartition(chemin); },
         courts},
        {"en-tête de convocation",
         QStringLiteral("un fichier d'en-tête de convocation"),
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
         QStringLiteral("une liste d'inscrits"),
         QStringLiteral("Open.Qug"),
         {QStringLiteral("<!DOCTYPE html>"), QStringLiteral("    <div class=\"x\">"),
          QStringLiteral("1. Equipe DUPONT"), QStringLiteral("</div>")},
         [](int) { return QList<int>{}; },
         [](const QString &chemin) {
             return manager::LireFichierSaison(chemin, QStringLiteral("une liste d'inscrits"));
         },
         courts + QList<Genre>{Genre::Doublee}},
    };
    // The ranking extracts of both page layouts, as the pairs window reads
    // them: taken, the pairs are the file's first ones, none read off its
    // lines; a pair lost to a line removed or doubled is refused.
    const QList<vorn_test::PairePage> paires = {
        {QStringLiteral("1"), QStringLiteral("Anne NOMA"), QStringLiteral("Luc NOMB")},
        {QStringLiteral("2"), QStringLiteral("Jean NOMC"), QStringLiteral("Paul NOMD")},
        {QStringLiteral("3"), QStringLiteral("Léa NOME"), QStringLiteral("Zoé NOMF")}};
    for (const bool nouvelle : {true, false}) {
        const QStringList extrait = manager::ExtrairePaires(
            nouvelle ? vorn_test::newLayoutPage(paires) : vorn_test::oldLayoutPage(paires));
        const QStringList toutes = manager::LirePaires(extrait);
        ASSERT_EQ(toutes.size(), paires.size());
        lecteurs.append(
            {nouvelle ? "extrait de classement" : "extrait de classement, ancienne page",
             QStringLiteral("un extrait de classement"),
             QStringLiteral("Open1.chi"),
             extrait,
             [](int) { return QList<int>{}; },
             [](const QString &chemin) {
                 const QStringList lu =
                     manager::LireFichierSaison(chemin, QStringLiteral("un extrait de classement"));
                 if (const qsizetype hors = manager::LigneHorsExtrait(lu); hors >= 0)
                     throw manager::EAutreGenre(QStringLiteral("un extrait de classement"), chemin,
                                                hors);
                 return manager::LirePaires(lu, chemin);
             },
             {Genre::CoupeFinLigne, Genre::Retiree, Genre::Doublee, Genre::Vide},
             [toutes](const QStringList &lu, const QString &) {
                 return toutes.mid(0, lu.size()) == lu;
             },
             toutes});
    }

    // Every kind the code reads is in this table.
    QSet<QString> genresDuTableau;
    for (const Lecteur &l : lecteurs)
        genresDuTableau.insert(l.genreLu);
    const QSet<QString> genresDuCode = genresLusDansLeCode();
    EXPECT_GE(genresDuCode.size(), 9);
    for (const QString &g : genresDuCode)
        EXPECT_TRUE(genresDuTableau.contains(g)) << g.toStdString() << " : lu sans être essayé";

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
                // Taken: what is shown is what the file says.
                EXPECT_TRUE(l.fidele(lu, chemin)) << cas << " : " << lu.join(u'|').toStdString();
                continue;
            }
            if (refus == QStringLiteral("incomplet"))
                continue; // the header window's own refusal of a short file
            EXPECT_TRUE(refus.contains(chemin)) << cas << " : " << refus.toStdString();
            // The line damaged, or for a line doubled or removed the one
            // where the file stops making sense.
            const bool exacte = dg.genre != Genre::Retiree && dg.genre != Genre::Doublee &&
                                dg.genre != Genre::CoupeFinLigne;
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
        EXPECT_EQ(l.lire(chemin), l.entier.isEmpty() ? l.lignes : l.entier) << l.genre;
    }
}
