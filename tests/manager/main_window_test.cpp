// The main window: its design, the update-check choice and its expiry, the
// menu commands and what they preset on the other windows.
#include "manager/calendar.h"
#include "manager/core/site.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/fenetres.h"
#include "manager/quatre_webweb.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_pr.h"
#include "platform/forms/controls.h"
#include "platform/inifile/inifile.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/shots.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace platform;

namespace
{

class MainWindowTest : public vorn_test::ProgrammeTest
{
protected:
    QByteArray ini() const { return readBytes(QStringLiteral("Vorn_Lud.ini")); }
};

TEST_F(MainWindowTest, DesignCaptionMenuAndSeasonPanels)
{
    demarrer();
    EXPECT_EQ(Vorn_FPr->Caption(),
              QStringLiteral("(2019-2020) VORNisation en LUDmarre Version 13.19.10"));
    EXPECT_EQ(Vorn_FPr->size(), QSize(631, 351));
    EXPECT_EQ(Vorn_FPr->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(RepAppli, repAppli());

    QStringList top;
    for (QAction *a : Vorn_FPr->MainMenu1->actions())
        top.append(a->text());
    EXPECT_EQ(top, (QStringList{"Quitter", "Saisons", "&Fichier Joueurs", "MCF", "Challenge",
                                "Calendriers", "Convocations", "Informations"}));
    QStringList convocations;
    for (QAction *a : Vorn_FPr->Convocations1->actions())
        convocations.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(convocations,
              (QStringList{"Par Equipes", "Horaires", "Bonus", "Répartition", "-", "Par Paires",
                           "Horaires", "Répartition", "-", "Tarifs", "Aides"}));
    EXPECT_FALSE(Vorn_FPr->FichierPaires1->isEnabled());
    EXPECT_TRUE(Vorn_FPr->Challenge1->menuAction()->isChecked());
    EXPECT_TRUE(Vorn_FPr->Calendriers1->menuAction()->isChecked());
    EXPECT_FALSE(Vorn_FPr->Convocations1->menuAction()->isChecked());
    EXPECT_NE(Vorn_FPr->MainMenu1->palette().color(QPalette::Window), QColor(0, 255, 0))
        << "the menu bar is not lime";
    EXPECT_EQ(Vorn_FPr->Poule1->text(), QStringLiteral("Poule ou Suise"));
    EXPECT_EQ(Vorn_FPr->ExtractiondelabaseFFB1->text(),
              QStringLiteral("&Extraction de la base FFB"));

    for (TPanel *panel : {Vorn_FPr->P_Saison1, Vorn_FPr->P_Saison2}) {
        EXPECT_EQ(panel->height(), 145);
        EXPECT_EQ(panel->width(), Vorn_FPr->width());
        const QFont font = panel->captionLabel()->font();
        EXPECT_EQ(font.family(), QStringLiteral("Arial"));
        EXPECT_EQ(font.pixelSize(), 67);
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 255, 0));
        EXPECT_EQ(panel->captionLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    EXPECT_LT(Vorn_FPr->P_Saison1->y(), Vorn_FPr->P_Saison2->y());
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Pas de Saison"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("sélectionnée"));
}

TEST_F(MainWindowTest, NoSettingsFileMeansNoSeasonAndTheCheckRuns)
{
    demarrer();
    EXPECT_FALSE(Vorn_FPr->Nepasvrifierlamisejour1->isChecked());
    EXPECT_TRUE(Vorn_FPr->verificationMiseAJour());
    EXPECT_FALSE(Vorn_FPr->FichierJoueurs1->menuAction()->isEnabled());
    EXPECT_FALSE(exists(QStringLiteral("Vorn_Lud.ini"))) << "reading creates nothing";
}

// The clock stands at 15/03/2021 10:00 unless a test moves it.
struct Expiry {
    const char *date; // "MiseAjour"/"Date", nullptr: no key
    double hour;      // time of day of "now"
    bool stays;
};

class ExpiryTest : public MainWindowTest, public ::testing::WithParamInterface<Expiry>
{
};

TEST_P(ExpiryTest, TheChoiceNotToCheckLapsesAfterThirtyDays)
{
    const Expiry e = GetParam();
    QStringList lines{QStringLiteral("[MiseAjour]"), QStringLiteral("NoValide=1")};
    if (e.date)
        lines.append(QStringLiteral("Date=") + QLatin1String(e.date));
    writeLines(QStringLiteral("Vorn_Lud.ini"), lines);
    const QByteArray before = ini();
    clock().current = EncodeDate(2021, 3, 15) + e.hour / 24;

    demarrer();
    EXPECT_EQ(Vorn_FPr->Nepasvrifierlamisejour1->isChecked(), e.stays);
    EXPECT_EQ(Vorn_FPr->verificationMiseAJour(), !e.stays);
    if (e.stays) {
        EXPECT_EQ(ini(), before) << "nothing is written while the choice stands";
    } else {
        EXPECT_FALSE(TIniFile(path(QStringLiteral("Vorn_Lud.ini")))
                         .ReadBool(QStringLiteral("MiseAjour"), QStringLiteral("NoValide"), true));
        EXPECT_TRUE(ini().contains("NoValide=0\r\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Days, ExpiryTest,
    ::testing::Values(Expiry{"13/02/2021", 10, true},  // 30 days and 10 hours: 30
                      Expiry{"12/02/2021", 10, false}, // 31 days
                      Expiry{"13/02/2021", 12, true},  // 30.5 rounds to the even 30
                      Expiry{"12/02/2021", 12, false}, // 31.5 rounds to 32
                      Expiry{"14/02/2021", 13, true},  // 29.54 rounds to 30
                      Expiry{"13/02/2021", 13, false}, // 30.54 rounds to 31
                      Expiry{"15/03/2021", 10, true},  // chosen today
                      Expiry{nullptr, 10, false}));    // no date: 30/12/1899

TEST_F(MainWindowTest, ChoiceOffIsNeitherChangedNorWritten)
{
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[miseajour]"), QStringLiteral("novalide = 0"),
                QStringLiteral("Date=01/01/2000")});
    const QByteArray before = ini();
    demarrer();
    EXPECT_FALSE(Vorn_FPr->Nepasvrifierlamisejour1->isChecked());
    EXPECT_EQ(ini(), before);
}

TEST_F(MainWindowTest, TogglingTheChoiceStoresTodayAndKeepsTheDateWhenUnticked)
{
    demarrer();
    Vorn_FPr->Nepasvrifierlamisejour1->trigger();
    EXPECT_TRUE(Vorn_FPr->Nepasvrifierlamisejour1->isChecked());
    TIniFile settings(path(QStringLiteral("Vorn_Lud.ini")));
    EXPECT_EQ(settings.ReadString(QStringLiteral("MiseAjour"), QStringLiteral("Date"), QString()),
              QStringLiteral("15/03/2021"));
    EXPECT_TRUE(settings.ReadBool(QStringLiteral("MiseAjour"), QStringLiteral("NoValide"), false));

    clock().current += 5;
    Vorn_FPr->Nepasvrifierlamisejour1->trigger();
    EXPECT_FALSE(Vorn_FPr->Nepasvrifierlamisejour1->isChecked());
    TIniFile after(path(QStringLiteral("Vorn_Lud.ini")));
    EXPECT_EQ(after.ReadString(QStringLiteral("MiseAjour"), QStringLiteral("Date"), QString()),
              QStringLiteral("15/03/2021"));
    EXPECT_FALSE(after.ReadBool(QStringLiteral("MiseAjour"), QStringLiteral("NoValide"), true));

    // Ticked again, it stands at the next start.
    Vorn_FPr->Nepasvrifierlamisejour1->trigger();
    m_fenetres.reset();
    demarrer();
    EXPECT_TRUE(Vorn_FPr->Nepasvrifierlamisejour1->isChecked());
    EXPECT_FALSE(Vorn_FPr->verificationMiseAJour());
}

TEST_F(MainWindowTest, PlayersListModesAreSetByTheMenu)
{
    demarrer();
    TVorn_FEdition_Joueurs *liste = Vorn_FEdition_Joueurs;
    Vorn_FPr->Courriel1->trigger();
    EXPECT_TRUE(liste->isVisible());
    EXPECT_EQ(liste->Bt_Action->text(), QStringLiteral("Courriel"));
    EXPECT_TRUE(liste->Nbr_Courriel->isVisible());
    EXPECT_TRUE(liste->CB_BCC->isVisible());
    EXPECT_TRUE(liste->L_courriel->isVisible());

    Vorn_FPr->Edition2->trigger();
    EXPECT_EQ(liste->Bt_Action->text(), QStringLiteral("Editer"));
    EXPECT_FALSE(liste->Nbr_Courriel->isVisible());
    EXPECT_FALSE(liste->CB_BCC->isVisible());
    EXPECT_FALSE(liste->L_courriel->isVisible());
    EXPECT_TRUE(liste->isVisible());
}

TEST_F(MainWindowTest, CalendarAndEntriesCaptionsCarryTheirMode)
{
    demarrer();
    const std::pair<QAction *, QChar> calendriers[] = {{Vorn_FPr->Clubs1, u'C'},
                                                       {Vorn_FPr->Epreuves1, u'E'},
                                                       {Vorn_FPr->Arbitres1, u'A'},
                                                       {Vorn_FPr->Total1, u'T'}};
    for (const auto &[item, genre] : calendriers) {
        Vorn_FCalendar->hide();
        item->trigger();
        EXPECT_TRUE(Vorn_FCalendar->isVisible());
        ASSERT_GE(Vorn_FCalendar->Caption().size(), 26);
        EXPECT_EQ(Vorn_FCalendar->Caption().at(25), genre) << item->text().toStdString();
    }
    EXPECT_EQ(Vorn_FCalendar->Caption(), QStringLiteral("Editions des calendriers Totalitée"));

    Vorn_FPr->ParPaires1->trigger();
    EXPECT_EQ(VornF_Quatre_Webweb->Caption().mid(30, 6), QStringLiteral("paires"));
    EXPECT_TRUE(VornF_Quatre_Webweb->isVisible());
    Vorn_FPr->ParEquipes1->trigger();
    EXPECT_EQ(VornF_Quatre_Webweb->Caption().mid(30, 6), QStringLiteral("quatre"));
    EXPECT_EQ(VornF_Quatre_Webweb->Caption(),
              QStringLiteral("Editions des inscriptions par quatre"));
}

TEST_F(MainWindowTest, CalculatorPresetsRunTheirChangeHandlers)
{
    demarrer();
    TVorn_FVorn *calculs = Vorn_FVorn;
    QSignalSpy typeClicks(calculs->RgType, &TRadioGroup::clicked);
    QSignalSpy qaChanges(calculs->Qa, &QSpinBox::valueChanged);
    QSignalSpy ce1Changes(calculs->Ce1, &QSpinBox::valueChanged);

    Vorn_FPr->HorairesBonus1->trigger();
    EXPECT_EQ(calculs->RgType->ItemIndex(), 1);
    EXPECT_EQ(calculs->RgType->Items().at(1), QStringLiteral("Suisse"));
    EXPECT_EQ(typeClicks.count(), 1);
    EXPECT_TRUE(calculs->isVisible());

    Vorn_FPr->Horaires1->trigger();
    EXPECT_EQ(calculs->RgType->ItemIndex(), 0);
    EXPECT_EQ(typeClicks.count(), 2);

    Vorn_FPr->Rpartition1->trigger();
    EXPECT_EQ(calculs->Ce1->value(), 20);
    EXPECT_EQ(calculs->Ce2->value(), 20);
    EXPECT_EQ(calculs->Qa->value(), 18);
    EXPECT_EQ(qaChanges.count(), 1);
    EXPECT_EQ(ce1Changes.count(), 1);

    Vorn_FPr->N7->trigger();
    EXPECT_EQ(calculs->Ce1->value(), 50);
    EXPECT_EQ(calculs->Ce2->value(), 20);
    EXPECT_EQ(calculs->Qa->value(), 36);

    // "Bonus" shows the window as it stands.
    Vorn_FPr->Bonus1->trigger();
    EXPECT_EQ(calculs->RgType->ItemIndex(), 0);
    EXPECT_EQ(calculs->Qa->value(), 36);
}

TEST_F(MainWindowTest, EveryWindowCommandShowsItsWindow)
{
    demarrer();
    const std::pair<QAction *, const char *> commandes[] = {
        {Vorn_FPr->Crer1, "Vorn_FSaison"},
        {Vorn_FPr->Edition1, "Vorn_FEdition"},
        {Vorn_FPr->ExtractiondelabaseFFB1, "Vorn_Fimp"},
        {Vorn_FPr->Poule1, "Vorn_Fmcf_Poule"},
        {Vorn_FPr->RsultatsPaires1, "VornF_Resultat_Paires"},
        {Vorn_FPr->RsultatsQuatre1, "Vorn_FResultat_Quatre"},
        {Vorn_FPr->Gestion1, "Vorn_FGestion"},
        {Vorn_FPr->Classement1, "Vorn_FChallenge"},
        {Vorn_FPr->RpartitionPPetPE1, "VornF_repart"},
        {Vorn_FPr->AttributionPPetPE1, "VornF_Attrib"},
        {Vorn_FPr->Propos1, "Apropos"},
    };
    for (const auto &[item, fenetre] : commandes) {
        QWidget *w = vorn_test::topLevel(QLatin1String(fenetre));
        ASSERT_NE(w, nullptr) << fenetre;
        EXPECT_FALSE(w->isVisible()) << fenetre;
        item->trigger();
        EXPECT_TRUE(w->isVisible()) << fenetre;
    }
    EXPECT_EQ(vorn_test::topLevel(QStringLiteral("Vorn_Fmcf_Poule"))->windowTitle(),
              QStringLiteral("Poules"));
}

// Each help command hands its guide, beside the program, to the shell; a
// guide that is missing, or that no program could open, is named in a
// warning instead of nothing happening.
TEST_F(MainWindowTest, HelpCommandsOpenTheirGuideOrSayWhyNot)
{
    demarrer();
    const std::pair<QAction *, const char *> aides[] = {
        {Vorn_FPr->Aides1, "Saison.pdf"},    {Vorn_FPr->Aides2, "Joueurs.pdf"},
        {Vorn_FPr->Aides4, "Challenge.pdf"}, {Vorn_FPr->Aides3, "Convocations.pdf"},
        {Vorn_FPr->Aides5, "Mcf.pdf"},       {Vorn_FPr->arifs1, "Tarifs.pdf"},
    };
    struct Case {
        int result;
        const char *warning; // %1: the guide's path
    } cases[] = {
        {SHELL_OK, nullptr},
        {SE_ERR_FNF, "Le document d'aide\r\r%1\r\rest introuvable"},
        {SE_ERR_NOASSOC, "Aucun logiciel n'a pu ouvrir le document d'aide\r\r%1\r\rLe lecteur "
                         "de documents PDF par défaut n'est pas installé correctement"},
    };
    for (const Case &c : cases)
        for (const auto &[item, document] : aides) {
            SCOPED_TRACE(document);
            shell().calls.clear();
            dialogs().messages.clear();
            shell().defaultResult = c.result;
            item->trigger();
            const QString guide = repAppli() + QLatin1String(document);
            ASSERT_EQ(shell().calls.size(), 1u);
            EXPECT_EQ(shell().calls[0].verb, QStringLiteral("open"));
            EXPECT_EQ(shell().calls[0].file, guide);
            EXPECT_EQ(shell().calls[0].showCommand, 5);
            if (!c.warning) {
                EXPECT_TRUE(dialogs().messages.empty());
                continue;
            }
            ASSERT_EQ(dialogs().texts(), QStringList{QString::fromUtf8(c.warning).arg(guide)});
            EXPECT_EQ(dialogs().messages[0].type, mtWarning);
            EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbYes));
        }
}

TEST_F(MainWindowTest, MailToTheAuthorAndTheSoftwareSite)
{
    demarrer();
    Vorn_FPr->Mcrire1->trigger();
    ASSERT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(shell().calls[0].verb, QStringLiteral("Open"));
    EXPECT_EQ(shell().calls[0].file, QStringLiteral("mailto:") + site::adresseContact() +
                                         QStringLiteral("?subject=Vorn_Lud 13.19.10"));
    EXPECT_TRUE(dialogs().messages.empty());

    shell().results = {0, 32};
    Vorn_FPr->Mcrire1->trigger();
    Vorn_FPr->Sitepourchargerlamisejour1->trigger();
    EXPECT_EQ(shell().calls[2].file, QStringLiteral("http://") + site::hoteMiseAJour() +
                                         QStringLiteral("/arbitrage/index.html"));
    EXPECT_EQ(dialogs().texts(),
              (QStringList{"Le courier électronique par défaut\r\rn'est pas installé correctement",
                           "Le logiciel de surff par défaut\r\rn'est pas installé correctement"}));
    for (const MessageRequest &m : dialogs().messages) {
        EXPECT_EQ(m.type, mtWarning);
        EXPECT_EQ(m.buttons, MsgDlgButtons(mbYes));
    }
    EXPECT_EQ(site::pageVersion(NumVersion),
              QStringLiteral("http://") + site::hoteMiseAJour() +
                  QStringLiteral("/arbitrage/Vorn_Lud_13.19.10.html"));
}

TEST_F(MainWindowTest, QuitEndsTheRunAndActivationRereadsTheSeason)
{
    demarrer();
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[Param]"), QStringLiteral("Saison=X")});
    writeLines(QStringLiteral("X/Joueur.DBP"), {});
    // Another of the program's windows, then back to the main one.
    Vorn_FPr->Gestion1->trigger();
    Vorn_FPr->Show();
    vorn_test::settle();
    if (TForm::activeForm() != Vorn_FPr)
        Vorn_FPr->activated();
    EXPECT_EQ(SaisonEnCours, QStringLiteral("X"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("X"));
    EXPECT_TRUE(Vorn_FPr->Convocations1->menuAction()->isEnabled());

    EXPECT_FALSE(Terminated());
    Vorn_FPr->Quiter->trigger();
    EXPECT_TRUE(Terminated());
}

// On a laptop's screen each of the sixteen windows opens whole within the
// free area, its frame (as the window system tells it, else allowed for)
// included; one that must scroll takes its scroll bar beside its controls:
// where the screen has room for the page and the bar, nothing scrolls
// sideways; no control lies under a scroll bar, half hidden until scrolled.
TEST_F(MainWindowTest, EveryWindowFitsALaptopScreen)
{
    // A control is what the user reads or works: a button, an edit, a list
    // to choose from, a label. A container or a view of its own (a tab, a
    // grid, a browser) may be larger than the screen and scrolls with the
    // page; what scrolls inside a view is the view's.
    const auto controle = [](const QWidget *c, const QWidget *page) {
        for (const QWidget *p = c; p && p != page; p = p->parentWidget())
            if (qobject_cast<const QAbstractScrollArea *>(p))
                return false;
        return qobject_cast<const QAbstractButton *>(c) || qobject_cast<const QLineEdit *>(c) ||
               qobject_cast<const QComboBox *>(c) || qobject_cast<const QAbstractSpinBox *>(c) ||
               qobject_cast<const QLabel *>(c);
    };
    // What a window shows once the user works in it, beyond its first empty
    // showing: the teams window with a group, its teams and a match sheet.
    const auto remplir = [](TForm *w) {
        auto *q = qobject_cast<TVorn_FResultat_Quatre *>(w);
        if (!q)
            return;
        const auto saisir = [](QPushButton *b, QLineEdit *e, const char *texte) {
            QTest::mouseClick(b, Qt::LeftButton);
            e->setText(QString::fromUtf8(texte));
            QTest::mouseClick(b, Qt::LeftButton);
        };
        saisir(q->BtAjouGroupe, q->EdAjoutGroupe, "Poule des Pyrénées-Orientales");
        for (const char *equipe : {"Perpignan Bridge Club Catalan", "Sète"})
            saisir(q->BtAjoutCompos, q->Ed_Compo, equipe);
        q->CB_Adversaire->setCurrentIndex(1);
        saisir(q->BtCrerFMAtch, q->Ed_FMatch, "Match 1");
        EXPECT_TRUE(q->PanneauFeuille->isVisible());
    };
    for (const QRect ecran : {QRect(0, 0, 1366, 768), QRect(0, 0, 1024, 600)}) {
        setAvailableScreenArea(ecran);
        const QString saison = QStringLiteral("S%1").arg(ecran.width());
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + saison});
        // Lists filled from the season: 200 players, tournaments.
        QDir().mkpath(path(saison));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VORN_TEST_DATA "/players/joueurs_200.dbp"),
                                path(saison + QStringLiteral("/Joueur.DBP"))));
        writeLines(
            saison + QStringLiteral("/Challenge.DBP"),
            {QStringLiteral("1;10/01/2025;Open de la Ligue des Pyrénées-Orientales;P;1;100;;"),
             QStringLiteral("2;14/02/2025;Quatre Excellence;Q;3;100;;")});
        demarrer(); // every window first shown on that screen
        for (TForm *w : m_fenetres->toutes()) {
            const std::string nom = w->objectName().toStdString() + " on " +
                                    std::to_string(ecran.width()) + "x" +
                                    std::to_string(ecran.height());
            w->Show();
            vorn_test::settle();
            vorn_test::waitUntilPlaced(w);
            remplir(w);
            vorn_test::settle();
            const QMargins cadre = windowFrameMargins(w);
            EXPECT_GT(cadre.top(), 0) << nom; // a title bar, told or allowed for
            const QRect exterieur = w->geometry().marginsAdded(cadre);
            EXPECT_TRUE(ecran.contains(exterieur))
                << nom << ": " << exterieur.x() << "," << exterieur.y() << " " << exterieur.width()
                << "x" << exterieur.height();
            vorn_test::saveShot(
                vorn_test::screenPicture(w, ecran),
                w->objectName() +
                    QStringLiteral("_%1x%2.png").arg(ecran.width()).arg(ecran.height()));
            if (QScrollArea *zone = w->scrollArea()) {
                const QScrollBar *barre = zone->verticalScrollBar();
                const bool place = zone->widget()->width() + barre->sizeHint().width() +
                                       cadre.left() + cadre.right() <=
                                   ecran.width();
                if (barre->isVisible() && place) {
                    EXPECT_EQ(zone->horizontalScrollBar()->maximum(), 0) << nom;
                }
                for (const QScrollBar *b : std::initializer_list<const QScrollBar *>{
                         barre, zone->horizontalScrollBar()}) {
                    if (!b->isVisible())
                        continue;
                    const QRect sousLaBarre(b->mapTo(w, QPoint(0, 0)), b->size());
                    for (const QWidget *c : zone->widget()->findChildren<QWidget *>()) {
                        if (!c->isVisible() || c->isWindow() || !controle(c, zone->widget()))
                            continue;
                        const QRect r(c->mapTo(w, QPoint(0, 0)), c->size());
                        EXPECT_FALSE(r.intersects(sousLaBarre))
                            << nom << ": " << c->objectName().toStdString() << " ("
                            << c->metaObject()->className() << ") under the "
                            << (b == barre ? "vertical" : "horizontal") << " bar";
                    }
                }
            }
            w->Hide();
        }
        m_fenetres.reset();
    }
    setAvailableScreenArea(QRect(0, 0, 4096, 4096));
}

} // namespace
