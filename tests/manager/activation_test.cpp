// Coming back to a window leaves what was typed, chosen, loaded or computed
// there; then what the window does with it when left, or in another season.
#include "manager/attrib.h"
#include "manager/calendar.h"
#include "manager/challenge.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/panneau_liste.h"
#include "manager/quatre_webweb.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_edition.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_saison.h"
#include "platform/forms/controls.h"
#include "report/core/frvariant.h"
#include "tests/manager/core/challenge_support.h"
#include "tests/manager/window_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <tuple>

using namespace platform;

namespace
{

// Every control of a window: shown, enabled (unless only what it shows is
// asked), its value; grids' rows in order.
std::string etat(const QWidget *fenetre, bool actifs = true)
{
    QStringList e;
    for (const QWidget *w : fenetre->findChildren<QWidget *>()) {
        QString t = w->objectName() + (w->isVisibleTo(fenetre) ? u'+' : u'-');
        if (actifs)
            t += w->isEnabled() ? u'+' : u'-';
        if (const QMetaProperty p = w->metaObject()->userProperty(); p.isValid())
            t += p.read(w).toString();
        if (const auto *g = qobject_cast<const QTableWidget *>(w))
            for (int r = 0; r < g->rowCount(); ++r)
                if (const auto *i = g->item(g->verticalHeader()->logicalIndex(r), 1))
                    t += i->text() + u'|';
        e << t;
    }
    return e.join(u'\n').toStdString();
}

// A season holding a file of every kind the windows read: players, tournaments,
// results, a ranking page, a convocation header, a group of teams of four
// with two sheets; venues in the program folder.
class Activation : public vorn_test::ProgrammeTest
{
protected:
    void saisonComplete()
    {
        QStringList joueurs, entete;
        for (int i = 1; i <= 3; ++i)
            joueurs << QStringLiteral(
                           "010000%1;M.;NOM%1;Prenom;40;CLUB;;;;;;;;;j%1@x.fr;01/01/1970;"
                           "Senior Licence;;2027;")
                           .arg(i);
        for (int i = 1; i <= 15; ++i)
            entete << QStringLiteral("Champ %1").arg(i);
        writeLines("S1/Joueur.DBP", joueurs);
        writeLines("S2/Joueur.DBP", joueurs);
        writeLines("Vorn_Lud.ini", {"[Param]", "Saison=S1"});
        writeLines("S1/Challenge.DBP",
                   {"1;01/10/2026;Open;P;1;100;;", "2;08/10/2026;Coupe;P;1;100;;",
                    "3;15/10/2026;Finale;P;1;100;;"});
        writeLines("Lieu.DBP", {"Salle A;Rue 1;", "Salle B;Rue 2;", "Salle C;Rue 3;"});
        writeLines("S1/Open1.chr", {"1;NOMA Anne;;0100001;30;;;70;"});
        writeLines("S1/classement.htm",
                   vorn_test::newLayoutPage(
                       {{"1", "Prenom NOM1", "Prenom NOM2"}, {"2", "Prenom NOM3", "Jean NOMD"}}));
        writeLines("S1/Entete.qud", entete);
        // Group "Poule A", Lyon against Sète: two sheets, Lyon's IMPs 40.
        for (const char *nom : {"Poule.cpo", "Poule1.cpo", "PouleR0.cpo"})
            writeBytes(QStringLiteral("S1/") + QLatin1String(nom),
                       vorn_test::donneeDeTest(QStringLiteral("quatre/") + QLatin1String(nom)));
        const QByteArray feuille =
            vorn_test::donneeDeTest(QStringLiteral("quatre/PouleM000001.cpo"));
        writeBytes("S1/PouleM000001.cpo",
                   feuille + QByteArray(feuille).replace("Match 1", "Match 2"));
    }
};

TEST_F(Activation, ComingBackKeepsWhatTheUserDidThere)
{
    const auto saison = [this](const char *s) {
        writeLines("Vorn_Lud.ini", {"[Param]", QStringLiteral("Saison=") + QLatin1String(s)});
        principale();
    };
    writeLines("S1/Joueur.DBP",
               {"0100001;;NOMA;Anne;30;", "0100002;;NOMB;Luc;40;", "0100003;;NOMC;Rose;5;"});
    // A season is a folder holding its players file.
    writeLines("S2/Joueur.DBP", {"0100001;;NOMA;Anne;30;"});
    writeLines("S1/Challenge.DBP", {"1;01/10/2026;Open;P;1;100;Open1.chr;"});
    writeLines("S1/Open1.chr", {"1;NOMA Anne;;0100001;30;;;70;", "2;NOMB Luc;;0100002;40;;;50;"});
    writeLines("S1/Classement.PPE", {"1;NOMA Anne;0100001;30;", "2;NOMB Luc;0100002;40;"});
    demarrer(true);
    saison("S1");
    const struct {
        const char *nom;
        TForm *fenetre;
        std::function<void()> faire, ensuite;
    } cas[] = {
        {"season", Vorn_FSaison, [] { Vorn_FSaison->Edit1->setText("2027-2028"); }, [] {}},
        {"player record", Vorn_FEdition, [] { Vorn_FEdition->Bt_Fin->click(); }, [] {}},
        {"envelope", Vorn_FEdition, [] { Vorn_FEdition->EdAdress1->setText("3 rue Neuve"); },
         [] {}},
        {"entries", VornF_Quatre_Webweb,
         [] { VornF_Quatre_Webweb->PageControl1->setCurrentIndex(1); }, [] {}},
        {"players list", Vorn_FEdition_Joueurs,
         [] { Vorn_FEdition_Joueurs->EditminNom->setText("N"); }, [] {}},
        {"calendars", Vorn_FCalendar, [] { Vorn_FCalendar->EPhase->setText("F=Finale"); }, [] {}},
        {"calculators", Vorn_FVorn, [] { Vorn_FVorn->Ce1->setValue(33); }, [] {}},
        {"pools", Vorn_Fmcf_Poule, [] { Vorn_Fmcf_Poule->Suivant->click(); }, [] {}},
        {"ranking", Vorn_FChallenge,
         [] { Vorn_FChallenge->StringGrid1->verticalHeader()->moveSection(3, 2); }, [] {}},
        {"attribution", VornF_Attrib,
         [this] {
             dialogs().files.push_back(path("S1/Classement.PPE"));
             VornF_Attrib->BtChargeClassClick();
         },
         [] {}},
        {"distribution", VornF_repart,
         [&] {
             VornF_repart->Rg_Type->setItemIndex(0);
             VornF_repart->Rg_TypeClick();
             VornF_repart->Button1Click();
             VornF_repart->E_Date->setText("samedi 3 octobre 2026");
         },
         [&] {
             for (int type : {1, 0}) {
                 VornF_repart->Rg_Type->setItemIndex(type);
                 VornF_repart->Rg_TypeClick();
                 EXPECT_EQ(VornF_repart->Bt_Memorisation->isEnabled(), type == 0) << type;
             }
             VornF_repart->E_Points->setText("1000");
             EXPECT_FALSE(VornF_repart->Bt_Memorisation->isEnabled());
         }},
        {"pairs results", VornF_Resultat_Paires,
         [this] {
             dialogs().files.push_back(path("S1/Open1.chr"));
             VornF_Resultat_Paires->Bt_Ouvrie_ResultatClick();
         },
         [&] {
             saison("S2");
             VornF_Resultat_Paires->activated();
             report::FrVariant v;
             VornF_Resultat_Paires->frReport1GetValue("Saison1", v);
             EXPECT_EQ(v.toString().toStdString(), "S1");
             saison("S1");
         }},
        {"tournaments", Vorn_FGestion, [] { Vorn_FGestion->Edit1->setText("Open d'automne"); },
         [&] {
             // "Quitter" and another season ask; "Non" keeps it all.
             dialogs().answers = {mrNo, mrNo, mrYes};
             Vorn_FGestion->BtQuitteClick();
             saison("S2");
             Vorn_FGestion->activated();
             EXPECT_EQ(Vorn_FGestion->Edit1->text(), "Open d'automne");
             EXPECT_TRUE(Vorn_FGestion->isVisible());
             saison("S1");
             Vorn_FGestion->BtQuitteClick();
             EXPECT_FALSE(Vorn_FGestion->isVisible());
             EXPECT_EQ(dialogs().texts().value(0),
                       "Les modifications du tournoi Open d'automne ne sont pas appliquées "
                       "(Ajouter ou Modifier).\nVoulez-vous les abandonner ?");
             EXPECT_EQ(dialogs().texts().size(), 3);
         }},
    };
    for (const auto &c : cas) {
        c.fenetre->Show();
        c.fenetre->activated();
        c.faire();
        const std::string avant = etat(c.fenetre);
        dialogs().messages.clear();
        principale();
        c.fenetre->activated();
        EXPECT_EQ(etat(c.fenetre), avant) << c.nom;
        EXPECT_EQ(dialogs().texts(), QStringList()) << c.nom;
        c.ensuite();
    }
}

} // namespace

// A control that would replace what a window shows while it holds work the
// user typed or had computed and did not record either keeps that work or
// asks first; answered so as to keep it, the work is still there. Quitting
// the program asks every window before any of them drops anything.
TEST_F(Activation, NoControlDropsTypedWorkWithoutAsking)
{
    saisonComplete();
    demarrer(true);
    principale();

    using Geste = std::function<void()>;
    const auto montrer = [](TForm *f) {
        f->Show();
        f->activated();
    };
    const auto clic = [](QAbstractButton *b) { return Geste([b] { b->click(); }); };
    const auto puis = [](Geste a, Geste b) {
        return Geste([=] {
            a();
            b();
        });
    };
    // A name typed in its field (shown first), then the button beside it.
    const auto saisir = [](QLineEdit *e, const char *texte, QAbstractButton *b) {
        return Geste([=] {
            e->show();
            e->setText(QString::fromUtf8(texte));
            b->click();
        });
    };

    TVorn_FResultat_Quatre *const q = Vorn_FResultat_Quatre;
    QLineEdit *const imp = q->edit(QStringLiteral("AImp30"));
    // The match shown again as its file holds it, then 47 typed on its
    // first sheet, calculated when asked.
    const auto feuilleTapee = [&](bool calculer) {
        montrer(q);
        dialogs().answers = {mrNo};
        q->CB_GroupeChange();
        q->CB_Adversaire->setCurrentIndex(1);
        for (QLineEdit *e : {q->EdAjoutGroupe, q->Ed_Compo, q->Ed_FMatch, q->Ed_IV})
            e->hide();
        ASSERT_EQ(q->TabControl1->count(), 2);
        imp->setText("47");
        if (calculer)
            q->BtCalculMacth->click();
    };
    const auto tapee = [&] { feuilleTapee(true); };
    const auto tapeeSeule = [&] { feuilleTapee(false); };
    const auto lImp = [&] { return imp->text(); };
    const Geste autre = [&] { q->TabControl1->setCurrentIndex(1); };
    const auto surLaPremiere = [&] {
        q->TabControl1->setCurrentIndex(0);
        return imp->text();
    };
    const QString laFeuille =
        QStringLiteral("La feuille Match 1 n'est pas enregistrée.\nVoulez-vous l'enregistrer ?");

    TVorn_FGestion *const g = Vorn_FGestion;
    const auto tournoiTape = [&] {
        montrer(g);
        dialogs().answers = {mrYes};
        g->Bt_DebutClick();
        g->Bt_SuivantClick();
        g->Edit1->setText("Open d'hiver");
    };
    const auto leNom = [&] { return g->Edit1->text(); };
    const char *const hiver = "Open d'hiver";
    const QString leTournoi =
        QStringLiteral("Les modifications du tournoi Open d'hiver ne sont pas "
                       "appliquées (Ajouter ou Modifier).\nVoulez-vous les "
                       "abandonner ?");

    TVornF_Quatre_Webweb *const c = VornF_Quatre_Webweb;
    const auto lieuTape = [&] {
        montrer(c);
        dialogs().answers = {mrYes};
        c->ListeLieux->premier();
        c->ListeLieux->suivant();
        c->EdL_Lieu->setText("Salle Neuve");
    };
    const auto lieu = [&](PanneauListe::Bouton b) { return clic(c->ListeLieux->bouton(b)); };
    const auto leLieu = [&] { return c->EdL_Lieu->text(); };
    const char *const neuve = "Salle Neuve";
    const QString lieuQ = QStringLiteral("Le nom et les informations saisis (Salle Neuve) ne sont "
                                         "pas appliqués (Ajouter ou Modifier).\nVoulez-vous les "
                                         "abandonner ?");

    TVorn_Fmcf_Poule *const p = Vorn_Fmcf_Poule;
    TVornF_Resultat_Paires *const r = VornF_Resultat_Paires;
    const auto resultatsCalcules = [&] {
        montrer(r);
        dialogs().answers = {mrYes, mrYes};
        dialogs().files = {path("S1/classement.htm"), path("S1/Open1.chi")};
        r->Bt_InternetClick();
        r->Bt_Calcul_GroupeClick();
        ASSERT_FALSE(r->resultats().isEmpty());
    };
    const auto resultatsGardes = [&] {
        return r->resultats().join(u'|') + (r->Bt_load_resultat->isEnabled() ? "+" : "-");
    };
    // Other files chosen, then the button.
    const auto ouvrir = [&](QStringList fichiers, QAbstractButton *b) {
        return Geste([&, fichiers, b] {
            dialogs().files.clear();
            for (const QString &f : fichiers)
                dialogs().files.push_back(path(f));
            b->click();
        });
    };
    const QString lesResultats = QStringLiteral("Les résultats calculés ne sont pas enregistrés "
                                                "(Enregistrer).\nVoulez-vous les abandonner ?");
    QString calcules;

    TVorn_FEdition_Joueurs *const j = Vorn_FEdition_Joueurs;
    const auto marqueOtee = [&] {
        j->Bt_Action->setText("Courriel");
        montrer(j);
        if (j->StrGrd->item(0, 8)->text() == "X")
            j->StrGrdSelectCell(0, 8);
    };
    const auto marque = [&] { return u'[' + j->StrGrd->item(0, 8)->text() + u']'; };

    const struct {
        const char *nom;
        Geste taper, presser;
        std::function<QString()> garde;
        QString attendu, question = {};
    } cas[] = {
        // Teams of four: showing a name's field reads nothing again.
        {"teams: Ajouter beside Composition", tapee, clic(q->BtAjoutCompos), lImp, "47"},
        {"teams: Ajouter beside Groupe ou Poule", tapee, clic(q->BtAjouGroupe), lImp, "47"},
        {"teams: Ajouter a team", tapee, saisir(q->Ed_Compo, "Pau", q->BtAjoutCompos), lImp, "47",
         laFeuille},
        {"teams: Ajouter a group", tapee, saisir(q->EdAjoutGroupe, "Poule B", q->BtAjouGroupe),
         lImp, "47", laFeuille},
        {"teams: Créer shows its field", tapee, clic(q->BtCrerFMAtch), lImp, "47"},
        {"teams: Créer a third sheet", tapeeSeule, saisir(q->Ed_FMatch, "Match 3", q->BtCrerFMAtch),
         surLaPremiere, "47"},
        {"teams: the other sheet's tab and back", tapeeSeule, autre, surLaPremiere, "47"},
        {"teams: Quitter on the other sheet", tapeeSeule, puis(autre, clic(q->BtQuitter)),
         surLaPremiere, "47", laFeuille},
        {"teams: opponent", tapee, [&] { q->CB_Adversaire->setCurrentIndex(2); }, lImp, "47",
         laFeuille},
        {"teams: team", tapee, [&] { q->CB_Compos->setCurrentIndex(2); }, lImp, "47", laFeuille},
        {"teams: Supprimer a team", tapee, clic(q->BtSupprCompos), lImp, "47", laFeuille},
        {"teams: Supprimer a group", tapee, clic(q->BtSuprGroupe), lImp, "47", laFeuille},
        // Gestion: another tournament shown.
        {"tournaments: Premier", tournoiTape, clic(g->Bt_Debut), leNom, hiver, leTournoi},
        {"tournaments: Précédant", tournoiTape, clic(g->Bt_Precedant), leNom, hiver, leTournoi},
        {"tournaments: Suivant", tournoiTape, clic(g->Bt_Suivant), leNom, hiver, leTournoi},
        {"tournaments: Dernier", tournoiTape, clic(g->Bt_Fin), leNom, hiver, leTournoi},
        {"tournaments: Supprimer", tournoiTape, clic(g->Bt_Supprimer),
         [&] { return g->Edit1->text() + QString::number(g->tournois().nombre()); },
         "Open d'hiver3", leTournoi},
        {"tournaments: type", tournoiTape, clic(g->Button1), leNom, hiver},
        // The reference lists: another entry shown.
        {"venues: Premier", lieuTape, lieu(PanneauListe::Debut), leLieu, neuve, lieuQ},
        {"venues: Précédant", lieuTape, lieu(PanneauListe::Precedant), leLieu, neuve, lieuQ},
        {"venues: Suivant", lieuTape, lieu(PanneauListe::Suivant), leLieu, neuve, lieuQ},
        {"venues: Dernier", lieuTape, lieu(PanneauListe::Fin), leLieu, neuve, lieuQ},
        {"venues: Supprimer", lieuTape, lieu(PanneauListe::Supprimer),
         [&] { return c->EdL_Lieu->text() + QString::number(c->ListeLieux->liste().nombre()); },
         "Salle Neuve3", lieuQ},
        // The convocation's header.
        {"convocation header: Ouvrir",
         puis([&] { montrer(c); }, [&] { c->Epreuve1->setText("Coupe d'hiver"); }),
         ouvrir({"S1/Entete.qud"}, c->Bt_Ouvrie_Donnes), [&] { return c->Epreuve1->text(); },
         "Coupe d'hiver",
         QStringLiteral("Les données de l'en-tête ne sont pas enregistrées (Enregistrer).\n"
                        "Voulez-vous les abandonner ?")},
        // Pools: a smaller count leaves out a team holding players.
        {"pools: Nombre d'équipes down and up",
         [&] {
             montrer(p);
             p->Spin_Equipe->setValue(2);
             p->RB[2]->click();
             for (QAbstractButton *b : {p->Premier, p->Button4, p->Suivant, p->Button4})
                 b->click();
             ASSERT_EQ(p->E[2]->text(), "2");
         },
         puis([&] { p->Spin_Equipe->stepDown(); }, [&] { p->Spin_Equipe->stepUp(); }),
         [&] { return p->E[2]->text(); }, "2",
         QStringLiteral("Réduire le nombre d'équipes à 1 retire de la poule des équipes qui ont "
                        "des joueurs (n° 2).\nVoulez-vous les retirer ?")},
        // Pairs results calculated and not saved.
        {"pairs: right Ouvrir", puis(resultatsCalcules, [&] { calcules = resultatsGardes(); }),
         ouvrir({"S1/Open1.chr"}, r->Bt_Ouvrie_Resultat), resultatsGardes, QString(), lesResultats},
        {"pairs: left Ouvrir", resultatsCalcules, ouvrir({"S1/Open1.chi"}, r->Bt_Ouvrir_Groupe),
         resultatsGardes, QString(), lesResultats},
        {"pairs: Internet", resultatsCalcules,
         ouvrir({"S1/classement.htm", "S1/Open2.chi"}, r->Bt_Internet), resultatsGardes, QString(),
         lesResultats},
        // Players list: a row unmarked by hand stays so under another filter.
        {"players list: name filter", marqueOtee, clic(j->CheckBoxNom), marque, "[]"},
        {"players list: level filter", marqueOtee, [&] { j->UpMinIndice->step(true); }, marque,
         "[]"},
        // Répartition: the titles typed stay whatever the kind.
        {"distribution: kind",
         puis([&] { montrer(VornF_repart); },
              [&] { VornF_repart->E_Titre->setText("Finale de ligue"); }),
         puis([&] { VornF_repart->Rg_Type->setItemIndex(1); },
              [&] { VornF_repart->Rg_TypeClick(); }),
         [&] { return VornF_repart->E_Titre->text(); }, "Finale de ligue"},
    };
    for (const auto &k : cas) {
        k.taper();
        dialogs().messages.clear();
        dialogs().answers = {mrCancel};
        k.presser();
        EXPECT_EQ(dialogs().texts().join(u'|').toStdString(), k.question.toStdString()) << k.nom;
        EXPECT_EQ(k.garde().toStdString(),
                  (k.attendu.isNull() ? calcules : k.attendu).toStdString())
            << k.nom;
        dialogs().answers.clear();
        dialogs().files.clear();
    }

    // What the rows kept is dropped; a pool changed is recorded.
    const auto toutAbandonner = [&] {
        for (TForm *f : m_fenetres->toutes())
            if (const std::optional<TravailEnAttente> t = f->travailEnAttente()) {
                dialogs().answers = {t->enregistrer ? mrNo : mrYes};
                f->demanderTravail();
            }
    };
    toutAbandonner();
    // Asked on behalf of the program, a question names its window.
    const auto nommee = [](TForm *f, const QString &question) {
        return QStringLiteral("Fenêtre « %1 » :\n")
                   .arg(f->Caption().remove(QRegularExpression(QStringLiteral(" *:? *$")))) +
               question;
    };

    // The run's end with a sheet and a tournament typed: "Non" drops the
    // sheet, "Non" keeps the tournament and the run; the sheet stays too.
    feuilleTapee(true);
    tournoiTape();
    dialogs().messages.clear();
    dialogs().answers = {mrNo, mrNo};
    principale()->close();
    EXPECT_EQ(dialogs().texts(), (QStringList{nommee(q, laFeuille), nommee(g, leTournoi)}));
    EXPECT_EQ(std::tuple(Terminated(), imp->text(), g->Edit1->text()),
              std::tuple(false, "47", hiver));
    // Both dropped once the run ends.
    dialogs().answers = {mrNo, mrYes};
    principale()->close();
    EXPECT_EQ(std::tuple(Terminated(), imp->text(), g->Edit1->text()),
              std::tuple(true, "40", "Coupe"));
    ResetTerminated();

    // The program's own commands, each answered to keep the work (the run,
    // the season and every file as they were) and to drop it. A window
    // that keeps its work across a change of season is not asked then.
    const auto saison = [this](const char *nom) {
        writeLines("Vorn_Lud.ini", {"[Param]", QStringLiteral("Saison=") + QLatin1String(nom)});
        principale()->LireSaison();
    };
    int fois = 0;
    const struct {
        const char *nom;
        TForm *fenetre;
        Geste taper;
        std::function<QString()> garde;
        QString question;
        int garder, abandonner;
        bool gardeeEnChangeantDeSaison = false;
        // What dropping leaves can be told from what was there.
        bool abandonVisible = true;
    } travaux[] = {
        {"two sheets", q,
         [&] {
             tapeeSeule();
             autre();
             imp->setText("33");
         },
         [&] {
             autre();
             const QString seconde = imp->text();
             return seconde + surLaPremiere();
         },
         "Les feuilles Match 1 et Match 2 ne sont pas enregistrées.\nVoulez-vous les "
         "enregistrer ?",
         mrCancel, mrNo},
        {"tournament", g, tournoiTape, leNom, leTournoi, mrNo, mrYes},
        {"venue", c, lieuTape, leLieu,
         "Onglet Lieux : le nom et les informations saisis (Salle Neuve) ne sont pas appliqués "
         "(Ajouter ou Modifier).\nVoulez-vous les abandonner ?",
         mrNo, mrYes, true},
        {"header", c,
         [&] {
             montrer(c);
             c->Epreuve1->setText("Coupe d'hiver");
         },
         [&] { return c->Epreuve1->text(); },
         "Les données de l'en-tête ne sont pas enregistrées (Enregistrer).\nVoulez-vous les "
         "abandonner ?",
         mrNo, mrYes, true},
        {"pairs results", r, resultatsCalcules, resultatsGardes, lesResultats, mrNo, mrYes, true},
        {"K", VornF_repart,
         [&] {
             montrer(VornF_repart);
             VornF_repart->Rg_Type->setItemIndex(0);
             VornF_repart->Rg_TypeClick();
             VornF_repart->Button1Click();
         },
         [&] { return VornF_repart->E_Coef_K->text(); }, "Le coefficient K calculé", mrNo, mrYes,
         true, false},
        {"label", Vorn_FCalendar,
         [&] {
             montrer(Vorn_FCalendar);
             Vorn_FCalendar->EPhase->setText("F=Finale");
         },
         [&] { return Vorn_FCalendar->EPhase->text(); },
         "Le libellé F=Finale (Phase) n'est pas enregistré (Valider).\nVoulez-vous "
         "l'abandonner ?",
         mrNo, mrYes, true},
        // A pool whose write was refused when it was left.
        {"pool", p,
         [&] {
             dialogs().answers = {mrYes};
             montrer(p);
             p->EdNumero->setText("77");
             writeLines("S1/Poule.txt", {QStringLiteral("changé %1;;;;;;;;;;;").arg(++fois)});
             principale();
         },
         [&] { return p->poule().value(0).section(u';', 0, 0); },
         "La poule affichée n'est pas enregistrée dans ", mrNo, mrYes},
    };
    const struct {
        const char *nom;
        Geste faire;
        bool saison = true;
    } commandes[] = {
        {"Quitter", [&] { Vorn_FPr->QuiterClick(); }, false},
        {"close box", [&] { Vorn_FPr->close(); }, false},
        {"Ouvrir",
         [&] {
             dialogs().folders = {path("S2")};
             Vorn_FPr->Saison2Click();
         }},
        {"Fermer", [&] { Vorn_FPr->Fermer1Click(); }},
        {"Créer",
         [&] {
             Vorn_FSaison->Edit1->setText("S3");
             Vorn_FSaison->ButCreerClick();
         }},
    };
    for (const auto &t : travaux) {
        for (const auto &k : commandes)
            for (const bool garder : {true, false}) {
                const std::string cas =
                    std::string(t.nom) + ", " + k.nom + (garder ? ", kept" : ", dropped");
                t.taper();
                const QString tapee = t.garde();
                const QMap<QString, QByteArray> avant = contenu();
                dialogs().messages.clear();
                dialogs().answers = {garder ? t.garder : t.abandonner};
                k.faire();
                const bool nonDemande = k.saison && t.gardeeEnChangeantDeSaison;
                const QString question = nonDemande ? QString() : nommee(t.fenetre, t.question);
                EXPECT_EQ(dialogs().texts().join(u'|').left(question.size()).toStdString(),
                          question.toStdString())
                    << cas;
                if (garder || nonDemande) {
                    EXPECT_EQ(t.garde().toStdString(), tapee.toStdString()) << cas;
                    EXPECT_FALSE(Terminated()) << cas;
                    EXPECT_TRUE(nonDemande || (contenu() == avant && SaisonEnCours == "S1")) << cas;
                } else {
                    EXPECT_TRUE(!t.abandonVisible || t.garde() != tapee) << cas;
                    EXPECT_EQ(Terminated(), !k.saison) << cas;
                }
                ResetTerminated();
                Vorn_FPr->Show();
                QDir(path("S3")).removeRecursively();
                Vorn_FSaison->Hide();
                saison("S1");
            }
        toutAbandonner();
    }
}

// Every window the program makes, typed in every field it has that is no
// setting of a command: the end of the run asks about that work naming the
// window, and answered to keep it goes on with nothing dropped, or records
// the work by itself; back as it was, nothing is asked.
TEST_F(Activation, EveryWindowsTypedWorkIsAskedAboutAtTheEnd)
{
    writeLines("S1/Joueur.DBP", {"0100001;M.;NOM1;Prenom;40;CLUB;;;;;;;;;j1@x.fr;01/01/1970;"
                                 "Senior Licence;;2027;"});
    writeLines("Vorn_Lud.ini", {"[Param]", "Saison=S1"});
    writeLines("S1/Challenge.DBP", {"1;01/10/2026;Open;P;1;100;;"});
    demarrer(true);
    principale();
    // Shown by the window, on any of its tabs.
    const auto montre = [](const QWidget *e, const QWidget *fenetre) {
        for (const QWidget *w = e; w != fenetre; w = w->parentWidget())
            if (w->isHidden() && !qobject_cast<const QStackedWidget *>(w->parentWidget()))
                return false;
        return true;
    };
    QStringList demandees;
    for (TForm *f : m_fenetres->toutes()) {
        f->Show();
        f->activated();
        QList<QLineEdit *> champs;
        QStringList avant;
        for (QLineEdit *e : f->findChildren<QLineEdit *>())
            if (montre(e, f) && e->isEnabled() && !e->isReadOnly() &&
                !TForm::estChampDeReglage(e) &&
                !qobject_cast<QAbstractSpinBox *>(e->parentWidget())) {
                champs << e;
                avant << e->text();
                e->setText(e->text() + "A=Zz");
            }
        const std::string nom = f->objectName().toStdString();
        const QMap<QString, QByteArray> fichiers = contenu();
        dialogs().messages.clear();
        dialogs().answers = {mrCancel};
        principale()->QuiterClick();
        if (!champs.isEmpty()) {
            const bool demande = dialogs().texts().join(u'|').startsWith(
                QStringLiteral("Fenêtre « %1 » :\n")
                    .arg(f->Caption().remove(QRegularExpression(QStringLiteral(" *:? *$")))));
            EXPECT_TRUE(demande ? !Terminated() : Terminated() && contenu() != fichiers) << nom;
            if (demande)
                demandees << f->objectName();
            ResetTerminated();
            for (int i = 0; i < champs.size(); ++i)
                champs[i]->setText(avant[i]);
            dialogs().messages.clear();
            principale()->QuiterClick();
        }
        EXPECT_EQ(std::tuple(dialogs().texts(), Terminated()), std::tuple(QStringList(), true))
            << nom;
        ResetTerminated();
        if (f != Vorn_FPr)
            f->Hide();
    }
    EXPECT_EQ(demandees, (QStringList{"VornF_Quatre_Webweb", "Vorn_FGestion", "Vorn_FCalendar"}));
}

// Every window the program makes, shown over a whole season, then every
// season file cut in the middle of its last line behind its back: coming
// back, the window shows what it showed (its commands may be greyed), says so
// in one box naming the file and the line, and writes nothing.
TEST_F(Activation, ADamagedFileFoundOnComingBackLeavesTheWindowAsItWas)
{
    saisonComplete();
    demarrer(true);
    principale();
    for (TForm *f : m_fenetres->toutes()) {
        const std::string nom = f->objectName().toStdString();
        f->Show();
        f->activated();
        const std::string avant = etat(f, false);
        QMap<QString, QByteArray> bons;
        for (const auto &[fichier, octets] : contenu().asKeyValueRange())
            if (fichier.startsWith(QStringLiteral("S1/")) && QFileInfo(path(fichier)).isFile() &&
                octets.size() > 3)
                bons.insert(fichier, octets);
        for (auto i = bons.begin(); i != bons.end(); ++i)
            writeBytes(i.key(), i.value().chopped(3));
        QMap<QString, QByteArray> abimes;
        for (auto i = bons.begin(); i != bons.end(); ++i)
            abimes.insert(i.key(), readBytes(i.key()));
        dialogs().messages.clear();
        principale();
        f->activated();
        EXPECT_EQ(etat(f, false), avant) << nom;
        EXPECT_LE(dialogs().messages.size(), 1u) << nom;
        for (const QString &t : dialogs().texts())
            EXPECT_TRUE(t.contains(QDir::toNativeSeparators(path("S1/"))) && t.contains("ligne"))
                << nom << " " << t.toStdString();
        for (auto i = abimes.begin(); i != abimes.end(); ++i)
            EXPECT_TRUE(readBytes(i.key()) == i.value()) << nom << " " << i.key().toStdString();
        for (auto i = bons.begin(); i != bons.end(); ++i)
            writeBytes(i.key(), i.value());
        principale();
        f->activated();
        if (f != Vorn_FPr)
            f->Hide();
    }
}
