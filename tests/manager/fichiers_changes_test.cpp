// A window that holds a copy of a file and writes it whole never writes it
// over a change made on disk since it read it (another program, a restored
// copy): it says so, writes nothing and shows the file again, keeping what
// was typed. Coming back to a window reads a changed file again.
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/panneau_liste.h"
#include "manager/quatre_webweb.h"
#include "manager/resultat_paires.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_imp.h"
#include "manager/vorn_pr.h"
#include "platform/text/linefile.h"
#include "tests/manager/window_support.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest/QTest>

using namespace platform;

namespace
{

class FichiersChanges : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        writeLines("Vorn_Lud.ini", {"[Param]", "Saison=S1"});
        writeLines("S1/Joueur.DBP", {"01000158;M;ARNAUD;Luc;50;LYON BC;;;;;;;;;;;;;2027;",
                                     "01000306;Mme;BERTHIER;Anne;50;LYON BC;;;;;;;;;;;;;2027;",
                                     "01000380;M;CARON;Eric;50;LYON BC;;;;;;;;;;;;;2027;",
                                     "01001453;Mll;DELMAS;Julie;50;LYON BC;;;;;;;;;;;;;2027;",
                                     "01001601;M;ESTEVE;Marc;60;SETE;;;;;;;;;;;;;2027;",
                                     "01002378;Mme;FABRE;Lise;60;SETE;;;;;;;;;;;;;2027;",
                                     "01002526;M;GARCIA;Paul;60;SETE;;;;;;;;;;;;;2027;",
                                     "01003673;Mme;HUGON;Rose;60;SETE;;;;;;;;;;;;;2027;"});
        writeLines("S1/Challenge.DBP",
                   {"1;01/10/2026;Un;P;1;100;;", "2;08/10/2026;Deux;P;1;100;;"});
        for (const char *f : {"Lieu.DBP", "Arbitre.DBP", "Responsable.DBP"})
            writeLines(f, {"Alpha;1;", "Beta;2;"});
        writeLines("S1/Poule.txt", {"r;e;c;en;d;p;g;1;12;2;01/02/2020;"});
        writeLines("S1/G.Qug", {"Poule A", "1. EQUIPE UN"});
        writeLines("S1/Open1.chr", {"1;NOMA Anne;;0100001;30;;;70;"});
        writeLines("S1/Poule.cpo", {"Un"});
        writeLines("S1/Poule1.cpo", {"A", "B"});
        writeLines("S1/PouleR0.cpo", {";A;B;;", "A;;;;", "B;;;;"});
        demarrer(true);
    }
    // Shown from the menu, coming from the main window.
    static void montrer(TForm *f)
    {
        principale();
        f->Show();
        vorn_test::settle();
        f->activated();
    }
    static void cliquer(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // The file's lines, one more added by another program (a new file).
    void changerDehors(const QString &fichier, const QString &ligne)
    {
        QStringList lignes;
        LineFile::readIfExists(path(fichier), lignes);
        QFile::remove(path(fichier));
        // A cross table has a row per team: the line takes the last one's
        // place, so that the file still reads whole.
        if (QFileInfo(fichier).fileName().startsWith(QStringLiteral("PouleR")) && !lignes.isEmpty())
            lignes.removeLast();
        writeLines(fichier, lignes << ligne);
    }
    static QString modifie(const QString &fichier)
    {
        return QStringLiteral("Le fichier %1 a été modifié sur le disque depuis que cette fenêtre "
                              "l'a lu")
            .arg(QDir::toNativeSeparators(fichier));
    }
};

TEST_F(FichiersChanges, NoWindowWritesItsCopyOverTheFileChangedOnDisk)
{
    TVorn_FGestion *g = Vorn_FGestion;
    TVornF_Quatre_Webweb *c = VornF_Quatre_Webweb;
    TVorn_FResultat_Quatre *q = Vorn_FResultat_Quatre;
    const auto sheet = [q] {
        q->CB_Adversaire->setCurrentIndex(1);
        cliquer(q->BtCrerFMAtch);
        q->Ed_FMatch->setText("Match 1");
        cliquer(q->BtCrerFMAtch);
        for (const auto &[texte, bouton] : {std::pair{"1000158+1000306+1000380+1001453", q->BtA1},
                                            {"1000158 1000306 1000380 1001453", q->BtA2},
                                            {"1001601+1002378+1002526+1003673", q->BtB1},
                                            {"1001601+1002378+1002526+1003673", q->BtB2},
                                            {"40+24+30", q->BtAi}}) {
            q->Donnee->setText(QLatin1String(texte));
            cliquer(bouton);
        }
        cliquer(q->BtCalculMacth);
    };
    const auto panneau = [](PanneauListe *p, PanneauListe::Bouton b, const char *nom) {
        return std::function<void()>([p, b, nom] {
            p->edNom()->setText(QLatin1String(nom));
            cliquer(p->bouton(b));
            EXPECT_EQ(p->edNom()->text(), QLatin1String(nom));
            EXPECT_EQ(p->grille()->rowCount(), 4); // header, two lines, the one added outside
        });
    };
    const auto tournoi = [this, g](QPushButton *b) {
        return std::function<void()>([this, g, b] {
            g->Edit1->setText("Tapé");
            // Supprimer first asks whether the name typed may go.
            if (b == g->Bt_Supprimer)
                dialogs().answers = {mrYes};
            cliquer(b);
            EXPECT_EQ(g->Edit1->text(), "Tapé");
            // The list shown is the file's, the line added outside included.
            EXPECT_EQ(g->tournois().lignes(), LineFile::read(ListeTournois::cheminFichier()));
            EXPECT_EQ(g->StrGrd->rowCount(), g->tournois().nombre() + 1);
        });
    };
    // A name typed beside its list and added: it stays typed, the list as is.
    const auto ajout = [](QPushButton *b, QLineEdit *e, const char *nom, QComboBox *liste, int n) {
        return std::function<void()>([=] {
            cliquer(b);
            e->setText(QLatin1String(nom));
            cliquer(b);
            EXPECT_EQ(e->text(), QLatin1String(nom));
            EXPECT_EQ(liste->count(), n);
        });
    };
    // A file chosen, then the command that reads it.
    const auto choisi = [this](const char *fichier, std::function<void()> lire) {
        return std::function<void()>([this, fichier, lire] {
            dialogs().files.push_back(path(QLatin1String(fichier)));
            lire();
        });
    };
    const struct {
        const char *nom;
        TForm *fenetre;
        QString fichier, dehors;
        std::function<void()> enregistrer, avant = [] {};
    } cas[] = {
        {"Gestion Ajouter", g, "S1/Challenge.DBP", "3;15/10/2026;Trois;P;1;100;;",
         tournoi(g->Bt_Ajouter)},
        {"Gestion Modifier", g, "S1/Challenge.DBP", "4;22/10/2026;Quatre;P;1;100;;",
         tournoi(g->Bt_Modifier)},
        {"Gestion Supprimer", g, "S1/Challenge.DBP", "5;29/10/2026;Cinq;P;1;100;;",
         tournoi(g->Bt_Supprimer)},
        {"Gestion Lier", g, "S1/Challenge.DBP", "6;05/11/2026;Six;P;1;100;;",
         tournoi(g->BtResultat), [this] { dialogs().files.push_back(path("S1/Open1.chr")); }},
        {"Lieux Ajouter", c, "Lieu.DBP", "Dehors;3;",
         panneau(c->ListeLieux, PanneauListe::Ajouter, "Neuf")},
        {"Arbitres Modifier", c, "Arbitre.DBP", "Dehors;3;",
         panneau(c->ListeArbitres, PanneauListe::Modifier, "Neuf")},
        {"Responsables Supprimer", c, "Responsable.DBP", "Dehors;3;",
         panneau(c->ListeResponsables, PanneauListe::Supprimer, "Alpha")},
        {"pool left", Vorn_Fmcf_Poule, "S1/Poule.txt", "dehors;",
         [] {
             principale();
             EXPECT_EQ(Vorn_Fmcf_Poule->Spin_Equipe->value(), 1);
         },
         [] { Vorn_Fmcf_Poule->Spin_Equipe->setValue(1); }},
        {"entries", c, "S1/G.Qug", "2. EQUIPE DEHORS",
         choisi("S1/G.Qug",
                [c] {
                    c->Bt_Load_InscritsClick();
                    EXPECT_EQ(c->ListeInscrits.size(), 3);
                }),
         [c, choisi] {
             c->setCaption("Editions des inscriptions par quatre");
             c->activated();
             choisi("S1/G.Qug", [c] { c->Bt_Ouvrir_GroupeClick(); })();
         }},
        {"pairs results", VornF_Resultat_Paires, "S1/Open1.chr", "2;NOMB Luc;;0100002;40;;;50;",
         choisi("S1/Open1.chr",
                [] {
                    VornF_Resultat_Paires->Bt_load_resultatClick();
                    EXPECT_EQ(VornF_Resultat_Paires->resultats().size(), 2);
                }),
         choisi("S1/Open1.chr", [] { VornF_Resultat_Paires->Bt_Ouvrie_ResultatClick(); })},
        {"teams groups", q, "S1/Poule.cpo", "Dehors",
         ajout(q->BtAjouGroupe, q->EdAjoutGroupe, "Deux", q->CB_Groupe, 2)},
        {"teams of a group", q, "S1/Poule1.cpo", "Dehors",
         ajout(q->BtAjoutCompos, q->Ed_Compo, "C", q->CB_Compos, 3)},
        {"group table", q, "S1/PouleR0.cpo", "Dehors;;;;",
         [this, q] {
             q->CB_Compos->setCurrentIndex(1);
             dialogs().answers = {mrYes};
             cliquer(q->BtSupprCompos);
         }},
        {"match sheet", q, "S1/PouleM000001.cpo", "Dehors;;;;",
         [q] {
             cliquer(q->BtEnregistreMatch);
             EXPECT_EQ(q->TabControl1->count(), 1);
         },
         sheet},
        {"teams results", q, "S1/R.chr", "9;DEHORS;",
         choisi("S1/R.chr", [q] { q->Bt_load_resultatClick(); }),
         [&, q] {
             cliquer(q->BtEnregistreMatch); // the sheet kept is recorded over the file
             choisi("S1/R.chr", [q] { q->Bt_load_resultatClick(); })();
         }},
        {"players import", Vorn_Fimp, "S1/Joueur.DBP",
         "09999999;M;DEHORS;Jean;10;;;;;;;;;;;;;;2027;", [] {}},
    };
    for (const auto &r : cas) {
        const QString chemin = path(r.fichier);
        QByteArray dehors;
        if (r.fenetre == Vorn_Fimp) {
            // The import reads the players file, asks, then writes: changed
            // while it asks.
            writeBytes("extrait.csv", vorn_test::donneeDeTest("players/extraction.csv"));
            dialogs().files.push_back(path("extrait.csv"));
            dialogs().onMessage = [&](const MessageRequest &m) {
                if (m.text.startsWith("Remettre")) {
                    changerDehors(r.fichier, r.dehors);
                    dehors = readBytes(r.fichier);
                }
            };
            dialogs().messages.clear();
            montrer(r.fenetre);
            dialogs().onMessage = nullptr;
        } else {
            montrer(r.fenetre);
            r.avant();
            changerDehors(r.fichier, r.dehors);
            dehors = readBytes(r.fichier);
            dialogs().messages.clear();
            r.enregistrer();
        }
        EXPECT_EQ(readBytes(r.fichier).toStdString(), dehors.toStdString()) << r.nom;
        EXPECT_TRUE(dialogs().texts().join(u'|').contains(
            modifie(chemin) + " : rien n'y est enregistré, pour ne pas effacer ce changement."))
            << r.nom << ": " << dialogs().texts().join(u'|').toStdString();
    }
}

// Nothing changed, nothing written; back to a window, a file changed on disk
// is read again, and asked about when typed work is not recorded.
TEST_F(FichiersChanges, ComingBackReadsAChangedFileAgain)
{
    const QString empreinte = empreinteFichier(path("S1/Poule.txt"));
    montrer(Vorn_Fmcf_Poule);
    principale();
    EXPECT_EQ(empreinteFichier(path("S1/Poule.txt")).toStdString(), empreinte.toStdString());

    TVorn_FGestion *g = Vorn_FGestion;
    PanneauListe *lieux = VornF_Quatre_Webweb->ListeLieux;
    const struct {
        const char *nom;
        TForm *fenetre;
        QString fichier, dehors;
        std::function<void()> taper;
        std::function<int()> lignes;
    } cas[] = {
        {"tournaments", g, "S1/Challenge.DBP", "3;15/10/2026;Trois;P;1;100;;",
         [g] { g->Edit1->setText("Tapé"); }, [g] { return g->StrGrd->rowCount(); }},
        {"venues", VornF_Quatre_Webweb, "Lieu.DBP", "Dehors;3;",
         [lieux] { lieux->edNom()->setText("Tapé"); },
         [lieux] { return lieux->grille()->rowCount(); }},
        {"pool", Vorn_Fmcf_Poule, "S1/Poule.txt", QString(40, QLatin1Char(';')) + "0;",
         [] { Vorn_Fmcf_Poule->Spin_Equipe->setValue(3); },
         [] { return int(Vorn_Fmcf_Poule->poule().size()); }},
    };
    for (const auto &r : cas) {
        for (const bool saisie : {false, true}) {
            montrer(r.fenetre);
            if (saisie)
                r.taper();
            const int avant = r.lignes();
            changerDehors(r.fichier, r.dehors);
            dialogs().messages.clear();
            dialogs().answers = {mrNo};
            principale();
            r.fenetre->Show();
            r.fenetre->activated();
            // Read again without a word; typed work is asked about, and
            // "Non" keeps it.
            EXPECT_EQ(dialogs().texts().value(dialogs().texts().size() - 1).section(u',', 0, 0),
                      saisie ? modifie(path(r.fichier)) : QString())
                << r.nom << saisie;
            EXPECT_EQ(r.lignes(), saisie ? avant : avant + 1) << r.nom << saisie;
        }
    }
}

} // namespace
