// Coming back to a window leaves what was typed, chosen, loaded or computed
// there; then what the window does with it when left, or in another season.
#include "manager/attrib.h"
#include "manager/calendar.h"
#include "manager/challenge.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/quatre_webweb.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "manager/vorn_edition.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_saison.h"
#include "platform/forms/controls.h"
#include "report/core/frvariant.h"
#include "tests/manager/window_support.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

using namespace platform;

namespace
{

// Every control of a window: shown, enabled, its value; grids' rows in order.
std::string etat(const QWidget *fenetre)
{
    QStringList e;
    for (const QWidget *w : fenetre->findChildren<QWidget *>()) {
        QString t = w->objectName() + (w->isVisibleTo(fenetre) ? u'+' : u'-') +
                    (w->isEnabled() ? u'+' : u'-');
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

using Activation = vorn_test::ProgrammeTest;

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
