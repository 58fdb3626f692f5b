// Every reader of the teams-of-four group files, as the windows use them,
// over damaged copies of a recorded group: each file cut at every line end
// and in the middle of every line, a digit of each number made a letter,
// each line doubled and removed, emptied, replaced by random bytes or
// holding NUL bytes. A file is taken only when it reads whole, and then the
// window shows what it says; otherwise one box names it with the line, the
// window stays as it was and the next command that uses it writes nothing.
#include "manager/challenge.h"
#include "manager/core/feuillematch.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_pr.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"
#include "tests/manager/degats_saison.h"
#include "tests/manager/window_support.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest/QTest>

#include <functional>
#include <map>

using namespace platform;

namespace
{

const QString kSaison = QStringLiteral("2023-2024");

enum class Genre { Noms, Tableau, Match };
enum class Attendu { Prise, Refus, L_un_ou_l_autre };

// What a file of each kind must become under each damage: the kind's
// shape tells a whole file from a damaged one. A names file cut at a line
// end, or with a line more or less, is still a list of names; a match file
// cut at a line end keeps its last lines apart, told so.
Attendu attendu(Genre g, degats::Genre d)
{
    switch (d) {
    case degats::Genre::Vide:
        return Attendu::Prise;
    case degats::Genre::CoupeMilieu:
    case degats::Genre::Lettre:
    case degats::Genre::Bruit:
    case degats::Genre::Nul:
        return Attendu::Refus;
    case degats::Genre::CoupeFinLigne:
        return g == Genre::Tableau ? Attendu::Refus : Attendu::Prise;
    case degats::Genre::Doublee:
        return g == Genre::Noms ? Attendu::Prise : Attendu::Refus;
    case degats::Genre::Retiree:
        return g == Genre::Noms      ? Attendu::Prise
               : g == Genre::Tableau ? Attendu::Refus
                                     : Attendu::L_un_ou_l_autre;
    }
    return Attendu::Refus;
}

// The fields read as numbers, by kind: the cross table's cells, a sheet's
// team indexes, value indexes, half and match figures and handicaps.
bool nombre(Genre g, int ligne, int champ)
{
    if (g == Genre::Tableau)
        return ligne > 0 && champ > 0;
    if (g != Genre::Match)
        return false;
    const int k = ligne % FeuilleMatch::Lignes;
    const bool joueur =
        (k >= 2 && k <= 5) || (k >= 7 && k <= 10) || (k >= 14 && k <= 17) || (k >= 19 && k <= 22);
    return ((k == 1 || k == 13) && champ == 1) || (joueur && champ == 2) || k == 6 || k == 11 ||
           k == 12 || k == 18 || k == 23 || k == 24 || (k == 25 && champ < 2);
}

// Every damage of a good file: numbers where the kind reads them. The file
// cut after its last line is the good file itself, left out.
QList<degats::Degat> dommages(Genre g, const QByteArray &bon)
{
    QStringList lignes = fromAnsi(bon).split(QStringLiteral("\r\n"));
    lignes.removeLast();
    QList<degats::Degat> cas = degats::degats(lignes, [&](int i) {
        QList<int> champs;
        for (int c = 0; c <= lignes[i].count(QLatin1Char(';')); ++c)
            if (nombre(g, i, c))
                champs.append(c);
        return champs;
    });
    cas.removeIf([&](const degats::Degat &d) { return d.octets == bon; });
    return cas;
}

enum class Commande { Activation, Adversaire, PageWeb };

struct Lecteur {
    const char *nom;
    const char *fichier;
    Genre genre;
    Commande commande;
};

// The readers of the code, by the command that reaches each: the teams
// window's groups, teams and table at its activation (and each group
// chosen), its match file when a team is chosen, and the challenge's pages
// with their groups, tables and match files.
const Lecteur kLecteurs[] = {
    {"groupes à l'activation", "Poule.cpo", Genre::Noms, Commande::Activation},
    {"équipes à l'activation", "Poule1.cpo", Genre::Noms, Commande::Activation},
    {"tableau à l'activation", "PouleR0.cpo", Genre::Tableau, Commande::Activation},
    {"match, adversaire Sète", "PouleM000001.cpo", Genre::Match, Commande::Adversaire},
    {"Page Web, groupes", "Poule.cpo", Genre::Noms, Commande::PageWeb},
    {"Page Web, tableau", "PouleR0.cpo", Genre::Tableau, Commande::PageWeb},
    {"Page Web, match", "PouleM000001.cpo", Genre::Match, Commande::PageWeb},
};

class LecteursQuatre : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + kSaison});
        writeLines(saison(QStringLiteral("Joueur.DBP")),
                   {QStringLiteral("01000158;M;ARNAUD;Luc;50;LYON BC;;;;;;;;;;;;;2027;")});
        for (const char *f : {"Poule.cpo", "Poule1.cpo", "PouleR0.cpo", "PouleM000001.cpo"})
            bons[QLatin1String(f)] = vorn_test::donneeDeTest(QStringLiteral("quatre/") + f);
        writeBytes(saison(QStringLiteral("Match1.chr")),
                   vorn_test::donneeDeTest(QStringLiteral("quatre/Match1.chr")));
        writeLines(saison(QStringLiteral("Open1.chr")),
                   {QStringLiteral("1;M A;Mme B;01000158;50;01000306;50;4000;")});
        writeLines(saison(QStringLiteral("Challenge.DBP")),
                   {QStringLiteral("1;14/10/2023;Par quatre;Q;1;100;Match1.chr;"),
                    QStringLiteral("2;21/10/2023;Open;P;2;100;Open1.chr;")});
        QDir().mkpath(path(QStringLiteral("Page_Htm")));
        remettre();
        demarrer(true);
        w = Vorn_FResultat_Quatre;
        w->Show();
        vorn_test::settle();
    }
    QString saison(const QString &nom) const { return kSaison + QLatin1Char('/') + nom; }
    void remettre()
    {
        for (const auto &[nom, octets] : bons)
            writeBytes(saison(nom), octets);
        QFile::remove(path(saison(QStringLiteral("PouleM000000.cpo"))));
    }
    // Back from the main window: the window reads its files again.
    void revenir()
    {
        Vorn_FPr->activated();
        w->activated();
    }
    std::map<QString, QByteArray> dossier(const QString &nom) const
    {
        std::map<QString, QByteArray> o;
        const QDir d(path(nom));
        for (const QString &f : d.entryList(QDir::Files | QDir::Hidden))
            o[f] = readBytes(nom + QLatin1Char('/') + f);
        return o;
    }
    // Everything the teams window shows.
    QStringList vue() const
    {
        QStringList v;
        for (const QComboBox *cb : {w->CB_Groupe, w->CB_Compos, w->CB_Adversaire}) {
            for (int i = 0; i < cb->count(); ++i)
                v << cb->itemText(i);
            v << QString::number(cb->currentIndex());
        }
        v << QString::number(w->StGrResultat->isVisible());
        for (int r = 0; r < w->StGrResultat->rowCount(); ++r)
            for (int c = 0; c < w->StGrResultat->columnCount(); ++c)
                v << (w->StGrResultat->item(r, c) ? w->StGrResultat->item(r, c)->text() : "");
        for (int t = 0; t < w->TabControl1->count(); ++t)
            v << w->TabControl1->tabText(t);
        v << w->LignesMatch;
        for (const QString &e : FeuilleMatch::NomsEdits())
            v << w->edit(e)->text();
        return v;
    }
    static void cliquer(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // The command that writes the kind of file refused.
    void commandeSuivante(const QString &fichier)
    {
        if (fichier == u"Poule.cpo") {
            cliquer(w->BtAjouGroupe);
            w->EdAjoutGroupe->setText(QStringLiteral("Nouveau"));
            cliquer(w->BtAjouGroupe);
        } else if (fichier == u"Poule1.cpo") {
            cliquer(w->BtAjoutCompos);
            w->Ed_Compo->setText(QStringLiteral("Nouvelle"));
            cliquer(w->BtAjoutCompos);
        } else {
            // A match of the group recorded: its file and the table.
            if (fichier == u"PouleR0.cpo")
                w->CB_Adversaire->setCurrentIndex(1);
            cliquer(w->BtCrerFMAtch);
            w->Ed_FMatch->setText(QStringLiteral("Essai"));
            cliquer(w->BtCrerFMAtch);
            w->Donnee->setText(QStringLiteral("40+24+30"));
            cliquer(w->BtAi);
            cliquer(w->BtCalculMacth);
            cliquer(w->BtEnregistreMatch);
        }
    }
    std::map<QString, QByteArray> bons;
    TVorn_FResultat_Quatre *w = nullptr;
};

TEST_F(LecteursQuatre, EveryReaderTakesAWholeFileOrRefusesItNamingTheLine)
{
    Vorn_FChallenge->activated();
    QStringList lus;
    const LineFile::ReadHook avant =
        LineFile::setReadHook([&lus](const QString &p) { lus << QFileInfo(p).fileName(); });
    for (const Lecteur &lecteur : kLecteurs) {
        const QString fichier = QLatin1String(lecteur.fichier);
        for (const degats::Degat &c : dommages(lecteur.genre, bons[fichier])) {
            const std::string ou =
                std::string(lecteur.nom) + ", " + lecteur.fichier + ", " + c.nom.toStdString();
            // The window as the user leaves and finds it again, over the
            // good files: a sheet left unrecorded by the last case dropped.
            remettre();
            if (w->TabControl1->count() > 0) {
                cliquer(w->BtQuitter);
                w->Show();
            }
            revenir();
            dialogs().messages.clear();
            for (const QString &f : QDir(path(QStringLiteral("Page_Htm"))).entryList(QDir::Files))
                QFile::remove(path(QStringLiteral("Page_Htm/") + f));
            const QStringList montre = vue();
            writeBytes(saison(fichier), c.octets);
            const auto ecrits = dossier(kSaison);
            lus.clear();
            switch (lecteur.commande) {
            case Commande::Activation:
                revenir();
                break;
            case Commande::Adversaire:
                w->CB_Adversaire->setCurrentIndex(1);
                break;
            case Commande::PageWeb:
                Vorn_FChallenge->BtPageWeb->click();
                break;
            }
            EXPECT_TRUE(lus.contains(fichier)) << ou << " : fichier non lu";
            // A match file that keeps its last lines apart says so: the
            // one box that goes with a file taken.
            const QStringList boites = dialogs().texts();
            const bool incomplet =
                boites.size() == 1 && boites[0].startsWith(QStringLiteral("Fichier de match "
                                                                          "incomplet"));
            const bool refuse = !boites.isEmpty() && !incomplet;
            const Attendu a = attendu(lecteur.genre, c.genre);
            if (a != Attendu::L_un_ou_l_autre) {
                EXPECT_EQ(refuse, a == Attendu::Refus)
                    << ou << " : " << (refuse ? "refusé" : "pris") << " | "
                    << boites.join(u'|').toStdString();
            }
            if (refuse) {
                EXPECT_EQ(boites.size(), 1u) << ou << " | " << boites.join(u'|').toStdString();
                EXPECT_TRUE(boites.value(0).contains(fichier + QStringLiteral(", ligne ")))
                    << ou << " | " << boites.join(u'|').toStdString();
                if (lecteur.commande == Commande::PageWeb) {
                    EXPECT_EQ(dossier(QStringLiteral("Page_Htm")).size(), 0u) << ou;
                    continue;
                }
                EXPECT_EQ(vue(), montre) << ou;
                // The file is never written over; a group or team list, or
                // a table, refused stops the commands that write the group.
                // (A match refused leaves the match shown, which may be
                // recorded.)
                commandeSuivante(fichier);
                EXPECT_EQ(readBytes(saison(fichier)), c.octets) << ou << " : fichier écrit";
                if (lecteur.genre != Genre::Match) {
                    EXPECT_TRUE(dossier(kSaison) == ecrits) << ou << " : fichier écrit";
                }
                continue;
            }
            if (lecteur.commande == Commande::PageWeb) {
                EXPECT_TRUE(QFile::exists(path(QStringLiteral("Page_Htm/Quatre1.htm")))) << ou;
                continue;
            }
            // Taken: shown as the file says.
            QStringList lignes;
            LineFile::readIfExists(path(saison(fichier)), lignes);
            QStringList montres;
            const QComboBox *liste = fichier == u"Poule.cpo"    ? w->CB_Groupe
                                     : fichier == u"Poule1.cpo" ? w->CB_Compos
                                                                : nullptr;
            for (int i = 0; liste && i < liste->count(); ++i)
                montres << liste->itemText(i);
            if (lecteur.genre == Genre::Match)
                montres = w->LignesMatch;
            else if (lecteur.genre == Genre::Tableau && w->StGrResultat->isVisible())
                montres = lignes;
            EXPECT_EQ(montres, lignes) << ou;
            EXPECT_EQ(incomplet,
                      lecteur.genre == Genre::Match && lignes.size() % FeuilleMatch::Lignes != 0)
                << ou;
            if (lecteur.genre == Genre::Match) {
                EXPECT_EQ(w->TabControl1->count(), lignes.size() / FeuilleMatch::Lignes) << ou;
            }
        }
    }
    LineFile::setReadHook(avant);
}

} // namespace
