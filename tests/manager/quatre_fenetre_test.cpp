// The teams-of-four results window driven as a user would: groups, teams,
// sheets, entry, calculation and recording, against golden files.
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/panneau_liste.h"
#include "manager/quatre_webweb.h"
#include "manager/resultat_paires.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_pr.h"
#include "manager/vorn_saison.h"
#include "platform/inifile/inifile.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frlocale.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/shots.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest/QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace
{

// How the program's own commands name the window in their question.
const QString kNommee =
    QStringLiteral("Fenêtre « Gestion des résultats d'une épreuve par quatre du Challenge » :\n");

const QString kSaison = QStringLiteral("2023-2024");
const QString kConfirmer = QStringLiteral("Confirmer la suppression");

class QuatreFenetre : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        // The main window opens the season named in the settings.
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + kSaison});
        writeLines(kSaison + QStringLiteral("/Joueur.DBP"),
                   {QStringLiteral("01000158;M;ARNAUD;Luc;50;LYON BC;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01000306;Mme;BERTHIER;Anne;50;LYON BC;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01000380;M;CARON;Éric;50;LYON BC;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01001453;Mll;DELMAS;Julie;50;LYON BC;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01001601;M;ESTÈVE;Marc;60;SÈTE BRIDGE;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01002378;Mme;FABRE;Lise;60;SÈTE BRIDGE;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01002526;M;GARCIA;Paul;60;SÈTE BRIDGE;;;;;;;;;;;;;2027;"),
                    QStringLiteral("01003673;Mme;HUGON;Rose;60;SÈTE BRIDGE;;;;;;;;;;;;;2027;")});
        demarrer(true);
        ASSERT_EQ(SaisonEnCours, kSaison);
        w = Vorn_FResultat_Quatre;
    }
    void ouvrir()
    {
        w->Show();
        vorn_test::settle();
        if (TForm::activeForm() != w)
            w->activated();
    }
    void quitterEtRevenir()
    {
        Vorn_FPr->activated();
        w->activated();
    }
    static void cliquer(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // A button that shows its edit, then takes what is typed in it.
    static void saisir(QPushButton *b, QLineEdit *e, const QString &nom)
    {
        cliquer(b);
        e->setText(nom);
        cliquer(b);
    }
    void ajouterGroupe(const QString &nom) { saisir(w->BtAjouGroupe, w->EdAjoutGroupe, nom); }
    void ajouterEquipe(const QString &nom) { saisir(w->BtAjoutCompos, w->Ed_Compo, nom); }
    void creerFeuille(const QString &nom) { saisir(w->BtCrerFMAtch, w->Ed_FMatch, nom); }
    // Typed into the edit shown, as after the first click, and taken.
    void taper(QLineEdit *e, QPushButton *b, const QString &t)
    {
        e->show();
        e->setText(t);
        cliquer(b);
    }
    void equipeC() { taper(w->Ed_Compo, w->BtAjoutCompos, QStringLiteral("C")); }
    void groupeDeux() { taper(w->EdAjoutGroupe, w->BtAjouGroupe, QStringLiteral("Deux")); }
    QString e(const char *nom) const { return w->edit(QLatin1String(nom))->text(); }
    void poser(const char *nom, const QString &t) { w->edit(QLatin1String(nom))->setText(t); }
    QString saison(const QString &nom) const { return kSaison + QLatin1Char('/') + nom; }
    QByteArray golden(const QString &nom) const { return vorn_test::donneeDeTest("quatre/" + nom); }
    QString cellule(int r, int c) const
    {
        const QTableWidgetItem *item = w->StGrResultat->item(r, c);
        return item ? item->text() : QString();
    }
    // The session of the golden files: group "Poule A", four teams, the
    // worked sheet Lyon - Sète entered and recorded without handicap.
    void sessionDeReference()
    {
        saisieDeReference();
        cliquer(w->BtCalculMacth);
        cliquer(w->BtEnregistreMatch);
    }
    // The same session up to the entry of the result, not calculated.
    void saisieDeReference()
    {
        ouvrir();
        ajouterGroupe(QStringLiteral("Poule A"));
        for (const char *equipe : {"Lyon", "Sète", "Nice", "Pau"})
            ajouterEquipe(QString::fromUtf8(equipe));
        saisieFeuille();
    }
    // The worked sheet of Lyon - Sète created and typed, not calculated.
    void saisieFeuille()
    {
        w->CB_Adversaire->setCurrentIndex(1);
        creerFeuille(QStringLiteral("Match 1"));
        w->Donnee->setText(QStringLiteral("1000158+1000306+1000380+1001453"));
        cliquer(w->BtA1);
        w->Donnee->setText(QStringLiteral("1000158 1000306 1000380 1001453"));
        cliquer(w->BtA2);
        w->Donnee->setText(QStringLiteral("1001601+1002378+1002526+1003673"));
        cliquer(w->BtB1);
        cliquer(w->BtB2); // the same text, with a "+" more
        EXPECT_EQ(w->Donnee->text(), QStringLiteral("1001601+1002378+1002526+1003673++"));
        w->Donnee->setText(QStringLiteral("40+24+30"));
        cliquer(w->BtAi);
    }
    TVorn_FResultat_Quatre *w = nullptr;
};

TEST_F(QuatreFenetre, GoldenSessionWritesTheReferenceFiles)
{
    sessionDeReference();
    EXPECT_TRUE(dialogs().texts().contains(
        QStringLiteral("           Penalité = (IVMax-IV) * 4           \n\n"
                       "      Bonus = (IVmA-IVmB) * Nb Donne /20       \n\n"
                       "PC =  1.7* (PV+2) * Power(((IvA*IvB)/1000),1/3)\n\n"
                       "    PE = (PV * 18 ) * (Nb Donne /24)           \n\n"
                       "        N'oubliez pas d'enregistrer          ")));
    ASSERT_EQ(dialogs().messages.size(), 1u)
        << dialogs().texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(dialogs().messages[0].type, mtInformation);
    EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbOK));
    for (const char *nom : {"Poule.cpo", "Poule1.cpo", "PouleR0.cpo", "PouleM000001.cpo"})
        EXPECT_EQ(readBytes(saison(QLatin1String(nom))), golden(QLatin1String(nom))) << nom;
    EXPECT_EQ(w->Donnee->text(), QStringLiteral("40+24+30+"));
    EXPECT_EQ(e("ANom14"), QStringLiteral("Mlle DELMAS Julie"));
    EXPECT_EQ(e("AClub11"), QStringLiteral("LYON BC"));

    // The list of the match: eight players, merged over the two halves.
    ASSERT_EQ(w->ListeHomologation.lignes().size(), 8);
    EXPECT_EQ(w->ListeHomologation.lignes()[0],
              QStringLiteral("22194;M ARNAUD Luc;;01000158;50;;;3262;"));
    EXPECT_EQ(w->ListeHomologation.lignes()[4],
              QStringLiteral("13806;M ESTÈVE Marc;;01001601;60;;;2200;"));
    EXPECT_EQ(std::tuple(w->TotalPE, w->TotalPC), std::tuple(144000, 21848));
    EXPECT_EQ(cellule(1, 2), QStringLiteral("1233"));
    EXPECT_EQ(cellule(2, 1), QStringLiteral("767"));
    EXPECT_EQ(cellule(1, 5), QStringLiteral("1233"));
}

// "Enregistrer" before "Calculer": told so, and neither the match file nor
// the cross table is written; once calculated, the files of the session.
TEST_F(QuatreFenetre, RecordingBeforeCalculatingWritesNothing)
{
    saisieDeReference();
    const QMap<QString, QByteArray> avant = contenu(kSaison);
    dialogs().messages.clear();
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("La feuille Match 1 n'est pas calculée : le match doit "
                                         "être calculé (Calculer) avant d'être enregistré.")});
    EXPECT_EQ(contenu(kSaison), avant);
    EXPECT_TRUE(w->ListeHomologation.lignes().isEmpty());
    EXPECT_EQ(cellule(1, 2), QString());

    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    for (const char *nom : {"PouleR0.cpo", "PouleM000001.cpo"})
        EXPECT_EQ(readBytes(saison(QLatin1String(nom))), golden(QLatin1String(nom))) << nom;
    EXPECT_EQ(w->ListeHomologation.lignes().size(), 8);

    // IMPs changed since "Calculer": neither way of recording takes them.
    poser("AImp30", QStringLiteral("60"));
    const QMap<QString, QByteArray> calcule = contenu(kSaison);
    cliquer(w->BtEnregistreMatch);
    dialogs().answers.push_back(mrYes);
    cliquer(w->BtQuitter);
    EXPECT_EQ(dialogs().texts().count(QStringLiteral(
                  "La feuille Match 1 a changé depuis son calcul : le match doit être calculé "
                  "de nouveau (Nettoyage, puis Calculer) avant d'être enregistré.")),
              2);
    EXPECT_EQ(contenu(kSaison), calcule);
}

// A sheet calculated and not recorded is not left without a question:
// "Oui" records it as "Enregistrer" does, "Non" drops it, "Annuler" stays on
// it with the lists as they were; a match as read or recorded asks nothing.
// Quitting the program from the main window asks alike; "Annuler" keeps it
// open. So do the season commands: "Annuler" keeps the season, "Non" lets it
// change.
// With no sheet recorded, saving the result file says why it cannot.
TEST_F(QuatreFenetre, LeavingAnUnrecordedSheetAsks)
{
    ouvrir();
    cliquer(w->Bt_load_resultat);
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("Aucune feuille de match enregistrée : il n'y a pas de "
                                         "résultat à enregistrer. Enregistrez d'abord la feuille "
                                         "de match calculée.")});
    EXPECT_TRUE(dialogs().saveRequests.empty());

    saisieDeReference();
    const QString question =
        QStringLiteral("La feuille Match 1 n'est pas enregistrée.\nVoulez-vous l'enregistrer ?");
    const QString match = saison(QStringLiteral("PouleM000001.cpo"));
    const struct {
        const char *action;
        std::function<void()> quitter;
        // Leaving the program ends the run once the sheet is left.
        bool finDuProgramme;
        bool autreSaison = false;
    } actions[] = {
        {"Quitter", [this] { cliquer(w->BtQuitter); }, false},
        {"close box", [this] { w->close(); }, false},
        {"opponent", [this] { w->CB_Adversaire->setCurrentIndex(2); }, false},
        {"team", [this] { w->CB_Compos->setCurrentIndex(2); }, false},
        // The main window comes first: its activation leaves the sheet there.
        {"main window's close box", [] { principale()->close(); }, true},
        {"main window's Quitter", [] { principale()->Quiter->trigger(); }, true},
        {"Saisons Fermer", [] { principale()->Fermer1->trigger(); }, false, true},
        {"Saisons Ouvrir",
         [this] {
             dialogs().folders = {path(QStringLiteral("2024-2025"))};
             principale()->Saison2->trigger();
         },
         false, true},
        {"Saisons Créer",
         [] {
             Vorn_FSaison->Show();
             Vorn_FSaison->activated();
             Vorn_FSaison->Edit1->setText(QStringLiteral("2025-2026"));
             Vorn_FSaison->ButCreer->click();
         },
         false, true},
    };
    writeLines(QStringLiteral("2024-2025/Joueur.DBP"), {});
    for (const auto &a : actions) {
        cliquer(w->BtCalculMacth);
        dialogs().messages.clear();
        dialogs().answers = {mrCancel};
        a.quitter();
        // Asked for the whole program, the question names the window.
        const bool programme = a.finDuProgramme || a.autreSaison;
        EXPECT_EQ(dialogs().texts(), QStringList{(programme ? kNommee : QString()) + question})
            << a.action;
        EXPECT_EQ(dialogs().messages.front().buttons, mbYesNoCancel) << a.action;
        EXPECT_TRUE(w->isVisible()) << a.action;
        EXPECT_TRUE(Vorn_FPr->isVisible()) << a.action;
        EXPECT_FALSE(Terminated()) << a.action;
        EXPECT_EQ(w->CB_Compos->currentIndex(), 0) << a.action;
        EXPECT_EQ(w->CB_Adversaire->currentIndex(), 1) << a.action;
        EXPECT_EQ(e("APv30"), QStringLiteral("1233")) << a.action;
        EXPECT_FALSE(exists(match)) << a.action;
        EXPECT_EQ(SaisonEnCours, kSaison) << a.action;

        dialogs().answers = {mrNo};
        a.quitter();
        EXPECT_FALSE(exists(match)) << a.action;
        EXPECT_EQ(w->TabControl1->count(), 0) << a.action;
        EXPECT_EQ(Terminated(), a.finDuProgramme) << a.action;
        EXPECT_EQ(SaisonEnCours != kSaison, a.autreSaison) << a.action;
        ResetTerminated();
        TIniFile(fichierIni())
            .WriteString(QStringLiteral("Param"), QStringLiteral("Saison"), kSaison);
        Vorn_FPr->LireSaison();
        Vorn_FPr->Show();
        // The sheet typed again for the next way out.
        ouvrir();
        w->CB_Compos->setCurrentIndex(0);
        saisieFeuille();
    }

    cliquer(w->BtCalculMacth);
    dialogs().messages.clear();
    dialogs().answers = {mrYes};
    w->CB_Adversaire->setCurrentIndex(2);
    EXPECT_EQ(dialogs().texts(), QStringList{question});
    for (const char *nom : {"PouleR0.cpo", "PouleM000001.cpo"})
        EXPECT_EQ(readBytes(saison(QLatin1String(nom))), golden(QLatin1String(nom))) << nom;
    EXPECT_EQ(w->ListeHomologation.lignes().size(), 8);
    EXPECT_EQ(w->CB_Adversaire->currentIndex(), 2);

    dialogs().messages.clear();
    w->CB_Adversaire->setCurrentIndex(1);
    ASSERT_EQ(w->TabControl1->count(), 1);
    cliquer(w->BtQuitter);
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    EXPECT_FALSE(w->isVisible());
}

// The season changed under a sheet typed and not recorded, by another copy
// of the program (another season in the settings file) or by a settings
// file that cannot be read any more (said once, as at start-up): "Oui" of
// the question, which names both seasons, records the sheet into the season
// it was read from, never into the other one nor the program folder. Coming
// back to the window asks too, then shows the season open, the entry field
// emptied. A season folder gone meanwhile, the open one or another, refuses
// the recording, saying which, and the question on leaving offers only to
// drop the sheet or to stay.
TEST_F(QuatreFenetre, ASheetIsRecordedOnlyIntoTheSeasonItWasReadFrom)
{
    const QString s2 = QStringLiteral("2024-2025");
    const QString ini = path(QStringLiteral("Vorn_Lud.ini"));
    const auto autreSaison = [&] {
        writeLines(QStringLiteral("Vorn_Lud.ini"), {"[Param]", "Saison=" + s2});
    };
    const auto dossierIni = [&] {
        QFile::remove(ini);
        QDir().mkdir(ini);
    };
    const QString parti = kSaison + QStringLiteral(".parti");
    const auto dossierParti = [&] { QDir().rename(path(kSaison), path(parti)); };
    const struct {
        const char *cas;
        std::function<void()> changer;
        bool revenir;
        const char *ouverte;
        // The folder gone: the refusal of "Enregistrer", then the question.
        const char *refus = nullptr;
        const char *abandon = nullptr;
        // The main window reads the settings again before the question.
        bool principale = true;
    } cas[] = {
        {"settings name another season, main window's Quitter", autreSaison, false, "2024-2025"},
        {"settings name another season, back to the window", autreSaison, true, "2024-2025"},
        {"season folder gone, main window's Quitter",
         [&] {
             autreSaison();
             dossierParti();
         },
         false, "2024-2025",
         "Le dossier de la saison 2023-2024, dont cette fenêtre montre les fichiers, n'existe "
         "plus (saison ouverte : 2024-2025) : rien n'est enregistré.",
         "La feuille Match 1 n'est pas enregistrée et ne peut plus l'être : le dossier de la "
         "saison 2023-2024, dont cette fenêtre montre les fichiers, n'existe plus (saison "
         "ouverte : 2024-2025).\nVoulez-vous abandonner ses changements ?"},
        {"the open season's own folder gone, main window's Quitter", dossierParti, false,
         "2023-2024",
         "Le dossier de la saison ouverte, 2023-2024, dont cette fenêtre montre les fichiers, "
         "n'existe plus : rien n'est enregistré.",
         "La feuille Match 1 n'est pas enregistrée et ne peut plus l'être : le dossier de la "
         "saison ouverte, 2023-2024, dont cette fenêtre montre les fichiers, n'existe plus."
         "\nVoulez-vous abandonner ses changements ?",
         false},
        // Last: the settings file is refused for the rest of the run.
        {"folder in place of the settings, main window's Quitter", dossierIni, false, "aucune"},
    };
    writeLines(s2 + QStringLiteral("/Joueur.DBP"), {});
    const auto poules = [this](const QString &dossier) {
        return QDir(path(dossier)).entryList({QStringLiteral("Poule*")}, QDir::Files);
    };
    for (const auto &c : cas) {
        m_fenetres.reset();
        if (QFileInfo(path(parti)).isDir())
            QDir().rename(path(parti), path(kSaison));
        for (const QString &d : {kSaison, s2})
            for (const QString &f : poules(d))
                QFile::remove(path(d + QLatin1Char('/') + f));
        writeLines(QStringLiteral("Vorn_Lud.ini"), {"[Param]", "Saison=" + kSaison});
        m_fenetres = creerFenetres();
        TForm::resetActivation();
        Vorn_FPr->activated();
        w = Vorn_FResultat_Quatre;
        saisieDeReference();
        cliquer(w->BtCalculMacth);
        EXPECT_TRUE(poules(kSaison).contains(QStringLiteral("Poule.cpo"))) << c.cas;
        const QMap<QString, QByteArray> avant = contenu(kSaison);
        c.changer();
        dialogs().messages.clear();
        if (c.principale)
            Vorn_FPr->activated();
        const QStringList avis = dialogs().texts();
        dialogs().messages.clear();
        if (c.refus) {
            cliquer(w->BtEnregistreMatch);
            EXPECT_EQ(dialogs().texts().value(0).toStdString(), c.refus) << c.cas;
            dialogs().messages.clear();
        }
        dialogs().answers = {mrYes};
        if (c.revenir)
            w->activated();
        else
            Vorn_FPr->Quiter->trigger();
        const QString nommee = c.revenir ? QString() : kNommee;
        if (c.abandon) {
            EXPECT_EQ(dialogs().texts().value(0).toStdString(),
                      (nommee + QString::fromUtf8(c.abandon)).toStdString())
                << c.cas;
            EXPECT_EQ(dialogs().messages.at(0).buttons, MsgDlgButtons(mbYes | mbCancel));
            EXPECT_EQ(dialogs().messages.size(), 1u) << c.cas;
            EXPECT_TRUE(contenu(parti) == avant);
            EXPECT_FALSE(exists(kSaison));
            EXPECT_TRUE(Terminated()) << c.cas;
        } else {
            EXPECT_EQ(
                dialogs().texts().value(0).toStdString(),
                (nommee + QStringLiteral("La feuille Match 1 n'est pas enregistrée.\nVoulez-vous "
                                         "l'enregistrer dans la saison %1 (saison ouverte "
                                         "maintenant : %2) ?")
                              .arg(kSaison, QLatin1String(c.ouverte)))
                    .toStdString())
                << c.cas;
            for (const char *nom : {"PouleR0.cpo", "PouleM000001.cpo"})
                EXPECT_TRUE(readBytes(saison(QLatin1String(nom))) == golden(QLatin1String(nom)))
                    << c.cas << nom;
        }
        EXPECT_EQ(poules(s2), QStringList()) << c.cas;
        EXPECT_EQ(poules(QString()), QStringList()) << c.cas;
        if (c.revenir) {
            EXPECT_EQ(w->CB_Groupe->count(), 0) << c.cas;
            EXPECT_EQ(w->Donnee->text(), QString()) << c.cas;
        }
        EXPECT_EQ(avis.join('|').toStdString(),
                  QFileInfo(ini).isDir()
                      ? QStringLiteral("Le fichier de paramètres %1 ne peut pas être lu.\n\n"
                                       "Le programme utilise les réglages par défaut et "
                                       "n'enregistrera rien dans ce fichier avant d'être relancé.")
                            .arg(QDir::toNativeSeparators(ini))
                            .toStdString()
                      : std::string())
            << c.cas;
        ResetTerminated();
    }
}

TEST_F(QuatreFenetre, AFreshWindowReloadsTheSessionAndRewritesTheSameBytes)
{
    sessionDeReference();
    const QMap<QString, QByteArray> avant = contenu(kSaison);
    quitterEtRevenir();
    EXPECT_EQ(w->CB_Groupe->currentText(), QStringLiteral("Poule A"));
    EXPECT_EQ(w->CB_Compos->count(), 4);
    // Activation selects team 0 for both sides: Lyon against itself.
    EXPECT_FALSE(w->TabControl1->isVisibleTo(w));
    w->CB_Adversaire->setCurrentIndex(1);
    ASSERT_EQ(w->TabControl1->count(), 1);
    EXPECT_EQ(w->TabControl1->tabText(0), QStringLiteral("Match 1"));
    EXPECT_EQ(e("APv30"), QStringLiteral("1233"));
    EXPECT_EQ(e("BPc25"), QStringLiteral("1100"));
    EXPECT_EQ(e("Bnbd30"), QStringLiteral("24"));
    EXPECT_EQ(w->Anum->text(), QStringLiteral("0"));
    EXPECT_EQ(w->BNum->text(), QStringLiteral("1"));
    EXPECT_EQ(w->Bt_Penalite->text(), QStringLiteral("Pénalité IVMax = 400"));
    EXPECT_EQ(cellule(0, 2), QStringLiteral("Sète"));
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(contenu(kSaison), avant);
    EXPECT_EQ(w->TotalPC, 21848);
}

TEST_F(QuatreFenetre, HandicapThenCalculation)
{
    sessionDeReference();
    cliquer(w->BtNettoyage);
    EXPECT_TRUE(e("APv30").isEmpty());
    EXPECT_TRUE(e("BPc15").isEmpty());
    EXPECT_EQ(e("AImp30"), QStringLiteral("40"));
    cliquer(w->BtHandicap);
    EXPECT_EQ(e("Handicap_A"), QStringLiteral("12"));
    EXPECT_EQ(e("Handicap_B"), QStringLiteral("0"));
    cliquer(w->BtCalculMacth);
    EXPECT_EQ(e("APv30"), QStringLiteral("1459"));
    EXPECT_EQ(e("BPv30"), QStringLiteral("541"));
    EXPECT_EQ(e("APe15"), QStringLiteral("13131"));
    EXPECT_EQ(e("BPe25"), QStringLiteral("4869"));
    EXPECT_EQ(e("APC15"), QStringLiteral("1888"));
    EXPECT_EQ(e("BPc15"), QStringLiteral("843"));
    // Stored in memory, not on disk until recorded.
    EXPECT_EQ(w->LignesMatch[12], QStringLiteral("24;40;50;1459;"));
    EXPECT_EQ(w->LignesMatch[25], QStringLiteral("12;0;;;"));
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleM000001.cpo"))),
              golden(QStringLiteral("PouleM000001.cpo")));
    // The penalty uses the cap of the button's caption.
    cliquer(w->Bt_Penalite);
    EXPECT_EQ(e("Handicap_A"), QStringLiteral("0"));
}

TEST_F(QuatreFenetre, CalculationErrorsLeaveTheStoredSheet)
{
    sessionDeReference();
    const QStringList avant = w->LignesMatch;
    cliquer(w->BtNettoyage);
    poser("AImp30", QStringLiteral("1x"));
    dialogs().messages.clear();
    cliquer(w->BtCalculMacth);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith(
        QStringLiteral("'1x' n'est pas une valeur entière correcte")));
    EXPECT_EQ(e("ANbd15"), QStringLiteral("12"));
    EXPECT_EQ(e("AIv30"), QStringLiteral("50"));
    EXPECT_TRUE(e("APv30").isEmpty());
    EXPECT_EQ(w->LignesMatch, avant);

    const struct {
        const char *imp, *donnes, *message;
    } cas[] = {{"40", "0", "Nombre de donnes nul : calcul des PV impossible"},
               {"330", "24", "Ecart d'IMP supérieur à 255 : calcul des PV impossible"},
               {"40", "300", "Nombre de donnes incorrect : calcul des PV impossible"}};
    for (const auto &c : cas) {
        cliquer(w->BtNettoyage);
        poser("AImp30", QLatin1String(c.imp));
        poser("ANbd30", QLatin1String(c.donnes));
        poser("Bnbd30", QLatin1String(c.donnes));
        dialogs().messages.clear();
        cliquer(w->BtCalculMacth);
        ASSERT_EQ(dialogs().texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(dialogs().messages[0].type, mtWarning);
        EXPECT_FALSE(e("AIv30").isEmpty());
        EXPECT_TRUE(e("APe15").isEmpty());
        EXPECT_EQ(w->LignesMatch, avant);
    }
}

TEST_F(QuatreFenetre, EntryNeedsThePlayersFile)
{
    sessionDeReference();
    QFile::remove(path(saison(QStringLiteral("Joueur.DBP"))));
    poser("ANom11", QStringLiteral("inchangé"));
    w->Donnee->setText(QStringLiteral("18"));
    dialogs().messages.clear();
    cliquer(w->BtA1);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_EQ(e("ANom11"), QStringLiteral("inchangé"));
    EXPECT_EQ(e("ALic11"), QStringLiteral("01000158"));
    EXPECT_EQ(w->Donnee->text(), QStringLiteral("18"));
}

TEST_F(QuatreFenetre, WrongCheckDigitWarnsAndEnters)
{
    sessionDeReference();
    w->Donnee->setText(QStringLiteral("19+7"));
    dialogs().messages.clear();
    cliquer(w->BtB2);
    // The warning names the number, as entered, among the several typed.
    EXPECT_EQ(dialogs().texts(), QStringList{QStringLiteral("Erreur dans le numéro 00000019")});
    // A plain message with its one OK button.
    EXPECT_EQ(dialogs().messages[0].type, mtCustom);
    EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbOK));
    EXPECT_EQ(e("BLic21"), QStringLiteral("00000019"));
    EXPECT_TRUE(e("BNom21").isEmpty());
    EXPECT_EQ(e("BLic22"), QStringLiteral("7"));
}

TEST_F(QuatreFenetre, MatchFileNamesAndTheReversedPair)
{
    ouvrir();
    ajouterGroupe(QStringLiteral("G"));
    for (const char *t : {"T0", "T1", "T2", "T3", "T4", "T5"})
        ajouterEquipe(QLatin1String(t));
    w->CB_Compos->setCurrentIndex(2);
    w->CB_Adversaire->setCurrentIndex(5);
    EXPECT_TRUE(w->NomFichierMatch(0).endsWith(QStringLiteral("/PouleM000205.cpo")));
    EXPECT_TRUE(w->NomFichierMatch(1).endsWith(QStringLiteral("/PouleM000502.cpo")));
    EXPECT_TRUE(w->NomFichierMatch(2).endsWith(QStringLiteral("/PouleM00.cpo")));
    creerFeuille(QStringLiteral("Aller"));
    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    EXPECT_TRUE(exists(saison(QStringLiteral("PouleM000205.cpo"))));

    w->CB_Compos->setCurrentIndex(5);
    w->CB_Adversaire->setCurrentIndex(2);
    EXPECT_EQ(w->CB_Compos->currentIndex(), 2);
    EXPECT_EQ(w->CB_Adversaire->currentIndex(), 5);
    ASSERT_EQ(w->TabControl1->count(), 1);
    EXPECT_EQ(w->TabControl1->tabText(0), QStringLiteral("Aller"));
    EXPECT_EQ(e("ANom10"), QStringLiteral("T2"));

    w->CB_Compos->setCurrentIndex(-1);
    EXPECT_TRUE(w->NomFichierMatch(0).endsWith(QStringLiteral("/PouleM009905.cpo")));
}

TEST_F(QuatreFenetre, TeamsAddedAndRemoved)
{
    ouvrir();
    ajouterGroupe(QStringLiteral("G"));
    for (const char *t : {"Lyon", "Sète", "Nice"})
        ajouterEquipe(QString::fromUtf8(t));
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleR0.cpo"))),
              QByteArray(";Lyon;S\xe8te;Nice;;\r\nLyon;;;;;\r\nS\xe8te;;;;;\r\nNice;;;;;\r\n"));
    // A result between Lyon and Sète, then a fourth team.
    w->CB_Adversaire->setCurrentIndex(1);
    creerFeuille(QStringLiteral("M"));
    w->Donnee->setText(QStringLiteral("40+24+30"));
    cliquer(w->BtAi);
    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    ajouterEquipe(QStringLiteral("Pau"));
    EXPECT_EQ(w->StGrResultat->rowCount(), 5);
    EXPECT_EQ(w->StGrResultat->columnCount(), 6);
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleR0.cpo"))),
              QByteArray(";Lyon;S\xe8te;Nice;Pau;;\r\nLyon;;1233;;;1233;\r\nS\xe8te;767;;;;767;\r\n"
                         "Nice;;;;;;\r\nPau;;;;;;\r\n"));

    // Sète has a result: neither it nor Lyon may go; Pau may.
    const QByteArray equipes = readBytes(saison(QStringLiteral("Poule1.cpo")));
    for (int t : {1, 0}) {
        w->CB_Compos->setCurrentIndex(t);
        dialogs().answers = {mrYes};
        dialogs().messages.clear();
        cliquer(w->BtSupprCompos);
        EXPECT_EQ(
            dialogs().texts(),
            QStringList({kConfirmer,
                         QStringLiteral("Suppression impossible : des résultats sont "
                                        "enregistrés pour cette équipe ou une équipe suivante")}));
        EXPECT_EQ(dialogs().messages[0].type, mtWarning);
        EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbYes | mbNo));
        EXPECT_EQ(dialogs().messages[1].type, mtWarning);
        EXPECT_EQ(dialogs().messages[1].buttons, MsgDlgButtons(mbOK));
        EXPECT_EQ(readBytes(saison(QStringLiteral("Poule1.cpo"))), equipes);
    }
    w->CB_Compos->setCurrentIndex(3);
    dialogs().answers = {mrYes};
    cliquer(w->BtSupprCompos);
    EXPECT_EQ(readBytes(saison(QStringLiteral("Poule1.cpo"))),
              QByteArray("Lyon\r\nS\xe8te\r\nNice\r\n"));
    EXPECT_EQ(
        readBytes(saison(QStringLiteral("PouleR0.cpo"))),
        QByteArray(
            ";Lyon;S\xe8te;Nice;;\r\nLyon;;1233;;1233;\r\nS\xe8te;767;;;767;\r\nNice;;;;;\r\n"));
    // "No" keeps everything.
    dialogs().answers = {mrNo};
    cliquer(w->BtSupprCompos);
    EXPECT_EQ(w->CB_Compos->count(), 3);
}

TEST_F(QuatreFenetre, RemovingAGroupMovesTheLaterGroupsFiles)
{
    writeLines(saison(QStringLiteral("Poule.cpo")), {"Un", "Deux", "Trois"});
    writeLines(saison(QStringLiteral("Poule1.cpo")), {"A1", "B1"});
    writeLines(saison(QStringLiteral("Poule2.cpo")), {"A2", "B2"});
    writeLines(saison(QStringLiteral("Poule3.cpo")), {"A3", "B3"});
    writeLines(saison(QStringLiteral("PouleR0.cpo")),
               {";A1;B1;;", "A1;;1000;1000;", "B1;1000;;1000;"});
    writeLines(saison(QStringLiteral("PouleR1.cpo")), {";A2;B2;;", "A2;;1;1;", "B2;2;;2;"});
    writeLines(saison(QStringLiteral("PouleR2.cpo")), {";A3;B3;;", "A3;;3;3;", "B3;4;;4;"});
    writeLines(saison(QStringLiteral("PouleM000001.cpo")), {"premier groupe"});
    writeLines(saison(QStringLiteral("PouleM010001.cpo")), {"deuxième groupe"});
    writeLines(saison(QStringLiteral("pouleM020100.cpo")), {"troisième groupe"});
    ouvrir();
    w->CB_Groupe->setCurrentIndex(1);
    EXPECT_EQ(w->CB_Compos->itemText(0), QStringLiteral("A2"));
    dialogs().answers = {mrYes};
    cliquer(w->BtSuprGroupe);
    const QMap<QString, QByteArray> d = contenu(kSaison);
    EXPECT_EQ(d.keys(),
              QStringList({"Joueur.DBP", "Poule.cpo", "Poule1.cpo", "Poule2.cpo",
                           "PouleM000001.cpo", "PouleM010100.cpo", "PouleR0.cpo", "PouleR1.cpo"}));
    EXPECT_EQ(d["Poule.cpo"], QByteArray("Un\r\nTrois\r\n"));
    EXPECT_EQ(d["Poule2.cpo"], QByteArray("A3\r\nB3\r\n"));
    EXPECT_EQ(d["PouleR1.cpo"], QByteArray(";A3;B3;;\r\nA3;;3;3;\r\nB3;4;;4;\r\n"));
    EXPECT_EQ(d["PouleM010100.cpo"], QByteArray("troisi\xe8me groupe\r\n"));
    EXPECT_EQ(d["PouleR0.cpo"], QByteArray(";A1;B1;;\r\nA1;;1000;1000;\r\nB1;1000;;1000;\r\n"));
    EXPECT_EQ(w->CB_Groupe->currentIndex(), 0);
    EXPECT_EQ(w->CB_Compos->itemText(1), QStringLiteral("B1"));
}

// A table whose last line is shorter than the others was cut: refused,
// named with its line, and nothing of the group is shown in its place.
TEST_F(QuatreFenetre, ShortLastTableLineIsRefused)
{
    writeLines(saison(QStringLiteral("Poule.cpo")), {"G"});
    writeLines(saison(QStringLiteral("Poule1.cpo")), {"A", "B"});
    writeLines(saison(QStringLiteral("PouleR0.cpo")), {";A;B;;", "A;;1200;1200;", "B;800;"});
    ouvrir();
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("Fichier abîmé, il n'est pas lu : la ligne n'a pas 4 "
                                         "champs suivis chacun de « ; » (fichier %1, ligne 3)")
                              .arg(path(saison(QStringLiteral("PouleR0.cpo"))))});
    EXPECT_EQ(w->CB_Groupe->count(), 0);
    EXPECT_EQ(w->CB_Compos->count(), 0);
}

TEST_F(QuatreFenetre, MissingTeamFileGivesEmptyLists)
{
    writeLines(saison(QStringLiteral("Poule.cpo")), {"Un", "Deux"});
    writeLines(saison(QStringLiteral("Poule1.cpo")), {"A1", "B1"});
    ouvrir();
    EXPECT_EQ(w->CB_Compos->count(), 2);
    dialogs().messages.clear();
    w->CB_Groupe->setCurrentIndex(1);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_EQ(w->CB_Compos->count(), 0);
    EXPECT_EQ(w->CB_Adversaire->count(), 0);
    // Adding a team now writes only this group's team.
    ajouterEquipe(QStringLiteral("Nouvelle"));
    EXPECT_EQ(readBytes(saison(QStringLiteral("Poule2.cpo"))), QByteArray("Nouvelle\r\n"));
}

// A list file that is there but cannot be read leaves its list empty: the
// change that would write that empty list reads the file again first, and
// is refused, naming the file, while it still cannot be read. The list of
// venues of the convocations window is read once, when the window is made.
TEST_F(QuatreFenetre, AFileThatCannotBeReadIsNeverReplaced)
{
    const struct {
        const char *fichier;
        std::function<void()> changer;
        const char *apres;
    } cas[] = {
        {"Lieu.DBP",
         [] {
             VornF_Quatre_Webweb->EdL_Lieu->setText(QStringLiteral("Salle B"));
             VornF_Quatre_Webweb->EdL_Informations->setText(QStringLiteral("2 rue B"));
             VornF_Quatre_Webweb->ListeLieux->bouton(PanneauListe::Ajouter)->click();
         },
         "Salle A;1 rue A;\r\nSalle B;2 rue B;\r\nSalle C;3 rue C;\r\n"},
        {"2023-2024/Poule1.cpo", [this] { equipeC(); }, "A\r\nB\r\nC\r\n"},
        {"2023-2024/PouleR0.cpo", [this] { equipeC(); },
         ";A;B;C;;\r\nA;;1200;;1200;\r\nB;800;;;800;\r\nC;;;;;\r\n"},
        {"2023-2024/Poule.cpo", [this] { groupeDeux(); }, "Un\r\nDeux\r\n"},
    };
    // The program started again over the files, the one named unreadable.
    const auto recommencer = [this](const QString &nom) {
        m_fenetres.reset();
        writeLines(QStringLiteral("Lieu.DBP"), {"Salle A;1 rue A;", "Salle C;3 rue C;"});
        writeLines(saison(QStringLiteral("Poule.cpo")), {"Un"});
        writeLines(saison(QStringLiteral("Poule1.cpo")), {"A", "B"});
        writeLines(saison(QStringLiteral("PouleR0.cpo")),
                   {";A;B;;", "A;;1200;1200;", "B;800;;800;"});
        writeLines(saison(QStringLiteral("PouleM000001.cpo")), {"Match 0"});
        LineFile::ReadHook precedent = LineFile::setReadHook([nom](const QString &p) {
            if (QFileInfo(p).fileName() == nom)
                throw EFileError(QStringLiteral("Erreur de lecture du fichier ") + p);
        });
        m_fenetres = creerFenetres();
        TForm::resetActivation();
        Vorn_FPr->activated();
        w = Vorn_FResultat_Quatre;
        ouvrir();
        return precedent;
    };
    for (const auto &c : cas) {
        const QString fichier = QLatin1String(c.fichier);
        LineFile::ReadHook precedent = recommencer(QFileInfo(fichier).fileName());
        const QByteArray avant = readBytes(fichier);
        const QByteArray equipes = readBytes(saison(QStringLiteral("Poule1.cpo")));
        EXPECT_FALSE(dialogs().messages.empty()) << c.fichier;
        dialogs().messages.clear();
        c.changer();
        EXPECT_EQ(readBytes(fichier).toStdString(), avant.toStdString()) << c.fichier;
        // Nor is the team list of the first group emptied by a group added.
        EXPECT_EQ(readBytes(saison(QStringLiteral("Poule1.cpo"))), equipes) << c.fichier;
        EXPECT_EQ(dialogs().texts().join('|').toStdString(),
                  QStringLiteral("Le fichier %1 n'a pas pu être lu : il n'est pas modifié.")
                      .arg(QDir::toNativeSeparators(path(fichier)))
                      .toStdString())
            << c.fichier;

        // Readable again: the change is made to the lines of the file.
        LineFile::setReadHook(std::move(precedent));
        dialogs().messages.clear();
        c.changer();
        EXPECT_TRUE(dialogs().messages.empty())
            << c.fichier << dialogs().texts().join('|').toStdString();
        EXPECT_EQ(readBytes(fichier).toStdString(), c.apres) << c.fichier;
    }

    // A match file: a sheet created over it is not recorded, and leaving
    // that sheet without recording it is still possible.
    const QString match = saison(QStringLiteral("PouleM000001.cpo"));
    LineFile::ReadHook precedent = recommencer(QStringLiteral("PouleM000001.cpo"));
    saisieFeuille();
    cliquer(w->BtCalculMacth);
    dialogs().messages.clear();
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(readBytes(match), QByteArray("Match 0\r\n"));
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("Le fichier %1 n'a pas pu être lu : il n'est pas modifié.")
                              .arg(QDir::toNativeSeparators(path(match)))});
    dialogs().messages.clear();
    dialogs().answers = {mrNo};
    cliquer(w->BtQuitter);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialogs().messages.size(), 1u) << dialogs().texts().join('|').toStdString();
    LineFile::setReadHook(std::move(precedent));
    EXPECT_EQ(readBytes(match), QByteArray("Match 0\r\n"));
}

// A folder or pipe bearing the name of one of the files: before the window
// reads it, it is a file that cannot be read, refused as one; made after,
// the command that would write it refuses before any file is written or
// deleted. A removal writes the groups file first.
TEST_F(QuatreFenetre, AFolderOrPipeInPlaceOfAFileChangesNoFile)
{
    const QString illisible =
        QStringLiteral("Le fichier %1 n'a pas pu être lu : il n'est pas modifié.");
    // Said with what bears the name.
    const QString creer = QStringLiteral("Impossible de créer le fichier %1 : %2.");
    const QString supprimer = QStringLiteral("Impossible de supprimer le fichier %1 : %2.");
    const auto ajouterGroupe = [this] { groupeDeux(); };
    const auto ajouterEquipe = [this] { equipeC(); };
    const auto enleverEquipe = [this] {
        w->CB_Compos->setCurrentIndex(1);
        dialogs().answers = {mrYes};
        cliquer(w->BtSupprCompos);
    };
    const auto enregistrer = [this] { cliquer(w->BtEnregistreMatch); };
    const auto enleverGroupe = [this] {
        dialogs().answers = {mrYes};
        cliquer(w->BtSuprGroupe);
    };
    const struct {
        const char *fichier;
        bool avantOuverture;
        std::function<void()> commande;
        const QString &message;
        // The sheet of teams 0 and 1 typed and calculated first.
        bool feuille = false;
    } cas[] = {
        {"Poule.cpo", true, ajouterGroupe, illisible},
        {"Poule1.cpo", true, ajouterEquipe, illisible},
        {"PouleR0.cpo", true, ajouterEquipe, illisible},
        {"PouleM000001.cpo", true, enregistrer, illisible, true},
        {"Poule.cpo", false, ajouterGroupe, creer},
        {"PouleR0.cpo", false, ajouterEquipe, creer},
        {"PouleR0.cpo", false, enleverEquipe, creer},
        {"PouleR0.cpo", false, enregistrer, creer, true},
        {"Poule.cpo", false, enleverGroupe, creer},
        {"PouleR0.cpo", false, enleverGroupe, supprimer},
    };
    const auto erreurs = [this] {
        return std::count_if(dialogs().messages.begin(), dialogs().messages.end(),
                             [](const MessageRequest &m) { return m.type == mtError; });
    };
    for (const bool tube : {false, true}) {
        for (const auto &c : cas) {
            const QString nom = QLatin1String(c.fichier);
            const std::string quoi = (tube ? "pipe " : "folder ") + nom.toStdString() +
                                     (c.avantOuverture ? " before" : " after");
            m_fenetres.reset();
            for (const QFileInfo &f :
                 QDir(path(kSaison))
                     .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
                if (f.isDir())
                    QDir(f.filePath()).removeRecursively();
                else if (f.fileName() != QLatin1String("Joueur.DBP"))
                    QFile::remove(f.filePath());
            }
            writeLines(saison(QStringLiteral("Poule.cpo")), {"Un"});
            writeLines(saison(QStringLiteral("Poule1.cpo")), {"A", "B"});
            writeLines(saison(QStringLiteral("PouleR0.cpo")), {";A;B;;", "A;;;;", "B;;;;"});
            const auto remplacer = [&] {
                QFile::remove(path(saison(nom)));
                const QByteArray chemin = QFile::encodeName(path(saison(nom)));
                ASSERT_EQ(tube ? ::mkfifo(chemin.constData(), 0644)
                               : ::mkdir(chemin.constData(), 0755),
                          0);
            };
            if (c.avantOuverture)
                remplacer();
            m_fenetres = creerFenetres();
            TForm::resetActivation();
            Vorn_FPr->activated();
            w = Vorn_FResultat_Quatre;
            dialogs().messages.clear();
            ouvrir();
            if (c.feuille) {
                saisieFeuille();
                cliquer(w->BtCalculMacth);
            }
            // The file was said to be unreadable when it was read.
            EXPECT_EQ(erreurs(), c.avantOuverture ? 1 : 0) << quoi;
            if (!c.avantOuverture)
                remplacer();
            const QMap<QString, QByteArray> avant = contenu(kSaison);
            dialogs().messages.clear();
            c.commande();
            EXPECT_EQ(contenu(kSaison), avant) << quoi;
            // After the confirmation of a removal, the one refusal.
            EXPECT_EQ(erreurs(), 1) << quoi;
            QString message = c.message.arg(QDir::toNativeSeparators(path(saison(nom))));
            if (message.contains(QLatin1String("%2")))
                message = message.arg(tube ? QStringLiteral("c'est un tube, pas un fichier")
                                           : QStringLiteral("c'est un dossier"));
            EXPECT_EQ(dialogs().texts().value(dialogs().texts().size() - 1).toStdString(),
                      message.toStdString())
                << quoi;
            EXPECT_EQ(QFileInfo(path(saison(nom))).isDir(), !tube) << quoi;
            EXPECT_FALSE(QFileInfo(path(saison(nom))).isFile()) << quoi;
        }
    }
}

TEST_F(QuatreFenetre, TypedSeparatorsStayInsideTheirField)
{
    ouvrir();
    ajouterGroupe(QStringLiteral("Poule; A"));
    ajouterEquipe(QStringLiteral("Lyon;Est"));
    ajouterEquipe(QStringLiteral("Sète"));
    w->CB_Adversaire->setCurrentIndex(1);
    creerFeuille(QStringLiteral("Match;1"));
    poser("ANom11", QStringLiteral("Nom;avec\npoint"));
    w->Donnee->setText(QStringLiteral("40+24+30"));
    cliquer(w->BtAi);
    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(readBytes(saison(QStringLiteral("Poule.cpo"))), QByteArray("Poule, A\r\n"));
    EXPECT_EQ(readBytes(saison(QStringLiteral("Poule1.cpo"))),
              QByteArray("Lyon,Est\r\nS\xe8te\r\n"));
    const QByteArray match = readBytes(saison(QStringLiteral("PouleM000001.cpo")));
    EXPECT_TRUE(
        match.startsWith("Match,1;400;;Poule, A;\r\nLyon,Est;0;;;\r\nNom,avec point;;;;\r\n"));
    for (const QByteArray &l : match.split('\n')) {
        if (!l.isEmpty()) {
            EXPECT_EQ(l.count(';'), 4) << l.constData();
        }
    }
}

TEST_F(QuatreFenetre, TruncatedMatchFileKeepsItsTail)
{
    sessionDeReference();
    // One sheet, then the first 20 lines of a second, the file cut there.
    QByteArray octets = readBytes(saison(QStringLiteral("PouleM000001.cpo")));
    QByteArray queue;
    for (const QByteArray &l : octets.split('\n').mid(0, 20))
        queue += l + '\n';
    writeBytes(saison(QStringLiteral("PouleM000001.cpo")), octets + queue);
    dialogs().messages.clear();
    quitterEtRevenir();
    w->CB_Adversaire->setCurrentIndex(1);
    ASSERT_EQ(dialogs().texts(),
              QStringList{QStringLiteral(
                  "Fichier de match incomplet : PouleM000001.cpo\n\nLes 20 dernières "
                  "lignes sont conservées mais ne sont pas affichées")});
    EXPECT_EQ(w->TabControl1->count(), 1);
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleM000001.cpo"))), octets + queue);
    EXPECT_EQ(w->TotalPC, 21848);

    creerFeuille(QStringLiteral("Retour"));
    EXPECT_EQ(w->TabControl1->count(), 2);
    EXPECT_EQ(w->LignesMatch[50], QStringLiteral("Retour;400;;Poule A;"));
    EXPECT_EQ(w->LignesMatch[100], QStringLiteral("Match 1;400;;Poule A;"));
    EXPECT_EQ(w->LignesMatch.last(), w->LignesMatch[19]);
}

// A match opened from its file of the other order (visitor chosen as home):
// that file, changed on disk since, is not written over by the sheet.
TEST_F(QuatreFenetre, MatchFileOfTheOtherOrderChangedOnDiskIsKept)
{
    sessionDeReference();
    quitterEtRevenir();
    w->CB_Compos->setCurrentIndex(1);
    ASSERT_EQ(w->TabControl1->count(), 1);
    ASSERT_EQ(w->CB_Compos->currentIndex(), 0);
    const QString fichier = saison(QStringLiteral("PouleM000001.cpo"));
    QStringList lignes = LineFile::read(path(fichier));
    lignes << QStringLiteral("Dehors;;;;");
    writeLines(fichier, lignes);
    const QByteArray change = readBytes(fichier);
    cliquer(w->BtNettoyage);
    cliquer(w->BtCalculMacth);
    dialogs().messages.clear();
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(readBytes(fichier), change);
    EXPECT_TRUE(dialogs().texts().join(u'|').contains(
        QStringLiteral("a été modifié sur le disque depuis que cette fenêtre l'a lu")))
        << dialogs().texts().join(u'|').toStdString();
}

TEST_F(QuatreFenetre, TeamIndexesOutsideTheTable)
{
    sessionDeReference();
    const QByteArray tableau = readBytes(saison(QStringLiteral("PouleR0.cpo")));
    for (const QString &index : {QStringLiteral("7"), QStringLiteral("")}) {
        QStringList lignes = w->LignesMatch;
        lignes[13] = QStringLiteral("Sète;") + index + QStringLiteral(";;;");
        writeLines(saison(QStringLiteral("PouleM000001.cpo")), lignes);
        quitterEtRevenir();
        w->CB_Adversaire->setCurrentIndex(1);
        dialogs().messages.clear();
        cliquer(w->BtEnregistreMatch);
        EXPECT_EQ(dialogs().texts(),
                  QStringList{
                      QStringLiteral("Equipe hors du tableau du groupe : résultats non reportés")});
        EXPECT_EQ(readBytes(saison(QStringLiteral("PouleR0.cpo"))), tableau);
        EXPECT_EQ(w->ListeHomologation.lignes().size(), 8);
        EXPECT_EQ(w->TotalPE, 144000);
    }
}

TEST_F(QuatreFenetre, UncomputedSheetAndBadTableCell)
{
    sessionDeReference();
    const QByteArray tableau = readBytes(saison(QStringLiteral("PouleR0.cpo")));
    const QMap<QString, QByteArray> avant = contenu(kSaison);
    const QStringList liste = w->ListeHomologation.lignes();
    cliquer(w->BtNettoyage);
    dialogs().messages.clear();
    cliquer(w->BtEnregistreMatch);
    // Told before anything is written: the match file and the table agree.
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("La feuille Match 1 n'est pas calculée : le match doit "
                                         "être calculé (Calculer) avant d'être enregistré.")});
    EXPECT_EQ(dialogs().messages[0].type, mtWarning);
    EXPECT_EQ(contenu(kSaison), avant);
    EXPECT_EQ(w->ListeHomologation.lignes(), liste);

    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleR0.cpo"))), tableau);
    QByteArray mauvais = tableau;
    mauvais.replace("S\xe8te;767;;;;767;", "S\xe8te;767;;7x;;767;");
    ASSERT_NE(mauvais, tableau);
    writeBytes(saison(QStringLiteral("PouleR0.cpo")), mauvais);
    // The table is refused when read again, and recording over it too.
    const QString refus = QStringLiteral("Fichier abîmé, il n'est pas lu : '7x' n'est pas une "
                                         "valeur entière correcte (fichier %1, ligne 3)")
                              .arg(path(saison(QStringLiteral("PouleR0.cpo"))));
    dialogs().messages.clear();
    quitterEtRevenir();
    EXPECT_EQ(dialogs().texts(), QStringList{refus});
    w->CB_Adversaire->setCurrentIndex(1);
    dialogs().messages.clear();
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(dialogs().texts(), QStringList{refus});
    EXPECT_EQ(readBytes(saison(QStringLiteral("PouleR0.cpo"))), mauvais);
    EXPECT_NE(cellule(2, 3), QStringLiteral("7x"));
    EXPECT_EQ(w->ListeHomologation.lignes(), liste);
}

TEST_F(QuatreFenetre, BadTableCellStopsTeamChangesBeforeAnyFile)
{
    sessionDeReference();
    QByteArray mauvais = readBytes(saison(QStringLiteral("PouleR0.cpo")));
    mauvais.replace("Lyon;;1233;", "Lyon;;12x3;");
    writeBytes(saison(QStringLiteral("PouleR0.cpo")), mauvais);
    quitterEtRevenir();
    const QMap<QString, QByteArray> avant = contenu(kSaison);
    dialogs().messages.clear();
    ajouterEquipe(QStringLiteral("Brest"));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith(
        QStringLiteral("Fichier abîmé, il n'est pas lu : '12x3'")));
    EXPECT_EQ(contenu(kSaison), avant);
    EXPECT_EQ(w->CB_Compos->count(), 4);

    // Removing the last team would total Lyon's row again: refused alike.
    w->CB_Compos->setCurrentIndex(3);
    dialogs().answers = {mrYes};
    dialogs().messages.clear();
    cliquer(w->BtSupprCompos);
    ASSERT_EQ(dialogs().messages.size(), 2u);
    EXPECT_EQ(dialogs().messages[1].type, mtError);
    EXPECT_EQ(contenu(kSaison), avant);
    EXPECT_EQ(w->CB_Compos->count(), 4);
}

TEST_F(QuatreFenetre, OwnDialogsAreNotActivations)
{
    sessionDeReference();
    cliquer(w->BtNettoyage);
    cliquer(w->BtCalculMacth);
    dialogs().answers = {mrNo};
    cliquer(w->BtSuprGroupe);
    vorn_test::settle();
    w->activated();
    EXPECT_EQ(w->TabControl1->count(), 1);
    EXPECT_EQ(w->CB_Adversaire->currentIndex(), 1);
    EXPECT_EQ(e("APv30"), QStringLiteral("1233"));
    // A sheet created and not recorded stays as it was typed when the user
    // comes back from another window, or chooses this one again.
    creerFeuille(QStringLiteral("Non enregistrée"));
    poser("ANom14", QStringLiteral("tapé"));
    w->Donnee->setText(QStringLiteral("40+24+30"));
    const struct {
        const char *retour;
        std::function<void()> revenir;
    } retours[] = {
        {"main window", [this] { quitterEtRevenir(); }},
        {"pairs results",
         [this] {
             VornF_Resultat_Paires->activated();
             w->activated();
         }},
        {"menu",
         [this] {
             principale()->RsultatsQuatre1->trigger();
             w->activated();
         }},
    };
    dialogs().messages.clear();
    for (const auto &r : retours) {
        r.revenir();
        EXPECT_EQ(w->TabControl1->count(), 2) << r.retour;
        EXPECT_EQ(w->TabControl1->currentIndex(), 1) << r.retour;
        EXPECT_EQ(w->CB_Compos->currentIndex(), 0) << r.retour;
        EXPECT_EQ(w->CB_Adversaire->currentIndex(), 1) << r.retour;
        EXPECT_EQ(e("ANom14"), QStringLiteral("tapé")) << r.retour;
        EXPECT_EQ(w->Donnee->text(), QStringLiteral("40+24+30")) << r.retour;
        EXPECT_EQ(cellule(0, 2), QStringLiteral("Sète")) << r.retour;
    }
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    // Dropped when leaving it: the file's one sheet again.
    dialogs().answers = {mrNo};
    cliquer(w->BtQuitter);
    ouvrir();
    w->CB_Adversaire->setCurrentIndex(1);
    EXPECT_EQ(w->TabControl1->count(), 1);
}

TEST_F(QuatreFenetre, NoGroupHidesTheGroupControls)
{
    ouvrir();
    EXPECT_TRUE(w->CB_Groupe->isHidden());
    EXPECT_TRUE(w->CB_Compos->isHidden());
    EXPECT_TRUE(w->BtCrerFMAtch->isHidden());
    EXPECT_TRUE(w->BtEnregGroupe->isHidden());
    EXPECT_FALSE(w->BtAjouGroupe->isHidden());
    EXPECT_TRUE(w->TabControl1->isHidden());
    // An empty second click only hides the edit.
    cliquer(w->BtAjouGroupe);
    EXPECT_FALSE(w->EdAjoutGroupe->isHidden());
    cliquer(w->BtAjouGroupe);
    EXPECT_TRUE(w->EdAjoutGroupe->isHidden());
    EXPECT_FALSE(exists(saison(QStringLiteral("Poule.cpo"))));
    ajouterGroupe(QStringLiteral("G"));
    EXPECT_FALSE(w->CB_Compos->isHidden());
    EXPECT_EQ(readBytes(saison(QStringLiteral("Poule1.cpo"))), QByteArray());
    // No team: creating a sheet does nothing.
    cliquer(w->BtCrerFMAtch);
    EXPECT_TRUE(w->Ed_FMatch->isHidden());
}

TEST_F(QuatreFenetre, Screenshot)
{
    sessionDeReference();
    w->resize(w->sizeHint().expandedTo(w->size()));
    vorn_test::settle();
    const QPixmap image = w->grab();
    EXPECT_FALSE(vorn_test::saveShot(image.toImage(), QStringLiteral("resultat_quatre.png"),
                                     path(QStringLiteral("shots")))
                     .isEmpty());
    EXPECT_GE(image.width(), w->minimumSizeHint().width());
    // Every caption fits its button.
    for (QPushButton *b : w->findChildren<QPushButton *>()) {
        if (b->isHidden())
            continue;
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 8)
            << b->objectName().toStdString();
    }
}

TEST_F(QuatreFenetre, ResultFileOfTheRecordedMatch)
{
    sessionDeReference();
    const QString initiale = w->Caption();
    const QString fichier = path(saison(QStringLiteral("Match1.chr")));

    // Cancelled: nothing written, the caption stays.
    dialogs().messages.clear();
    cliquer(w->Bt_load_resultat);
    ASSERT_EQ(dialogs().saveRequests.size(), 1u);
    const FileRequest &q = dialogs().saveRequests[0];
    EXPECT_EQ(std::tuple(q.title, q.defaultExt, q.filter),
              std::tuple(QStringLiteral("Sauvegarde résultat d'une épreuve "),
                         QStringLiteral("Chr"), QStringLiteral("au groupe (*.chr)|*.chr")));
    EXPECT_TRUE(q.fileName.isEmpty());
    EXPECT_EQ(QDir(q.initialDir).canonicalPath(), QDir(path(kSaison)).canonicalPath());
    EXPECT_FALSE(QFile::exists(fichier));
    EXPECT_EQ(w->Caption(), initiale);

    // Another competition's file of that name (here a pairs result, as the
    // name is written in any letter case) is replaced only when the user
    // says so: "Non" goes back to the dialog, which is cancelled.
    writeLines(saison(QStringLiteral("Match1.Chr")), {QStringLiteral("ancien;")});
    const QString question =
        QStringLiteral("Le fichier Match1.Chr existe déjà\nVoulez-vous l'écraser ?");
    dialogs().files.push_back(fichier);
    dialogs().answers.push_back(mrNo);
    cliquer(w->Bt_load_resultat);
    EXPECT_EQ(dialogs().texts(), QStringList{question});
    EXPECT_EQ(dialogs().saveRequests.back().fileName, fichier);
    EXPECT_EQ(readBytes(saison(QStringLiteral("Match1.Chr"))), QByteArray("ancien;\r\n"));
    EXPECT_EQ(w->Caption(), initiale);

    dialogs().messages.clear();
    dialogs().files.push_back(fichier);
    dialogs().answers.push_back(mrYes);
    cliquer(w->Bt_load_resultat);
    EXPECT_EQ(dialogs().texts(), QStringList{question});
    EXPECT_EQ(readBytes(saison(QStringLiteral("Match1.Chr"))),
              golden(QStringLiteral("Match1.chr")));
    EXPECT_FALSE(QFile::exists(fichier)) << "written under the name the file has";
    EXPECT_EQ(
        w->Caption(),
        QStringLiteral("Gestion des résultats d'une épreuve par Quatre du Challenge : Match1.chr"));

    // The file the window now names is saved again without a question.
    dialogs().messages.clear();
    dialogs().files.push_back(fichier);
    cliquer(w->Bt_load_resultat);
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    report::FrVariant v;
    w->frReport1GetValue(QStringLiteral("nom_fich"), v);
    EXPECT_EQ(v.toString(), QStringLiteral("Match1.chr"));

    // Recording the match again builds the list anew: the file is no longer
    // named, and saving over it asks.
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(w->Caption(), initiale);
    dialogs().messages.clear();
    dialogs().files.push_back(fichier);
    dialogs().answers.push_back(mrNo);
    cliquer(w->Bt_load_resultat);
    EXPECT_EQ(dialogs().texts(), QStringList{question});

    // A single line is never a result file.
    const size_t demandes = dialogs().saveRequests.size();
    w->ListeHomologation.lignes() = QStringList{QStringLiteral("100;X;;1;50;;;100;")};
    cliquer(w->Bt_load_resultat);
    EXPECT_EQ(dialogs().saveRequests.size(), demandes);
}

class QuatreImpressions : public vorn_test::ReportWindowTest<QuatreFenetre>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        copierModeles({"Match_Quatre.frf", "Groupe4_Quatre.frf", "Homologation_quatre.frf"});
    }
    QString imprimer(QPushButton *b)
    {
        preview->calls.clear();
        cliquer(b);
        return preview->calls.size() == 1 ? w->frReport1->EMFPages().Dump() : QString();
    }
};

TEST_F(QuatreImpressions, TheThreePrintoutsOfTheRecordedMatch)
{
    // Nothing to print before any sheet or list; the group table always.
    ouvrir();
    EXPECT_TRUE(imprimer(w->BtEditFMatch).isEmpty());
    EXPECT_TRUE(imprimer(w->Bt_Edition_Resultat).isEmpty());
    EXPECT_FALSE(imprimer(w->BtEditionGroupe).isEmpty());

    sessionDeReference();
    dialogs().messages.clear();
    const QString feuille = imprimer(w->BtEditFMatch);
    for (const char *t :
         {"Lyon", "Sète", "Mlle DELMAS Julie", "01003673", "Match 1", "Poule A", "12,33", "7,67"})
        EXPECT_TRUE(feuille.contains(QString::fromUtf8(t))) << t;

    const QString groupe = imprimer(w->BtEditionGroupe);
    for (const char *t : {"Lyon", "Sète", "Nice", "Pau", "12,33", "7,67"})
        EXPECT_TRUE(groupe.contains(QString::fromUtf8(t))) << t;

    const QString liste = imprimer(w->Bt_Edition_Resultat);
    EXPECT_EQ(w->frUserDataset1->RangeEndCount, 8);
    int position = 0;
    for (const QString &l : w->ListeHomologation.lignes()) {
        const int p = liste.indexOf(Champ(l, 1), position);
        EXPECT_GT(p, position) << l.toStdString(); // one row per line, in list order
        position = p;
    }
    EXPECT_TRUE(liste.contains(QStringLiteral("Total P.E. : 1440")));
    EXPECT_TRUE(liste.contains(QStringLiteral("Total P.C. : 218,48")));
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    const std::pair<const QString *, const char *> dumps[] = {{&feuille, "Match_Quatre.txt"},
                                                              {&groupe, "Groupe4_Quatre.txt"},
                                                              {&liste, "Homologation_quatre.txt"}};
    for (const auto &[d, nom] : dumps) {
        EXPECT_FALSE(d->contains(QStringLiteral("Symbole non défini"))) << nom;
        EXPECT_EQ(d->toUtf8(), vorn_test::golden(QStringLiteral("quatre/") + nom, d->toUtf8()))
            << nom;
    }
}

// A cross-table template that is missing, empty or unreadable is told and
// prints nothing, never the sheet's template the report still holds.
TEST_F(QuatreImpressions, MissingTemplateAndBadEdit)
{
    sessionDeReference();
    const QString fichier = QStringLiteral("Groupe4_Quatre.frf");
    const QByteArray modele = readBytes(fichier);
    const QString absent =
        QStringLiteral("Modèle d'impression absent ou illisible : Groupe4_Quatre.frf");
    // The engine's refusal names the file.
    const QString refuse = report::frFileNotReadText(path(fichier), report::frLoadString(55345));
    const struct {
        const char *cas;
        bool present;
        QByteArray octets;
        QString message;
        bool lisible = true;
    } cas[] = {
        {"absent", false, {}, absent},
        {"vide", true, {}, absent},
        {"tronqué", true, modele.left(modele.size() / 2), refuse},
        {"illisible", true, QByteArray(4000, '\xff'), refuse},
        {"sans droit de lecture", true, modele, absent, false},
    };
    for (const auto &c : cas) {
        if (!c.lisible && geteuid() == 0)
            continue; // the administrator reads every file
        ASSERT_FALSE(imprimer(w->BtEditFMatch).isEmpty()) << c.cas;
        QFile::remove(path(fichier));
        if (c.present)
            writeBytes(fichier, c.octets);
        if (!c.lisible)
            QFile::setPermissions(path(fichier), QFileDevice::WriteOwner);
        dialogs().messages.clear();
        EXPECT_TRUE(imprimer(w->BtEditionGroupe).isEmpty()) << c.cas;
        EXPECT_EQ(dialogs().texts(), QStringList{c.message}) << c.cas;
    }

    // A bad number in the sheet is told and the sheet not printed (the engine
    // would print it as an empty cell); the other printouts never read it.
    QFile::remove(path(QStringLiteral("Groupe4_Quatre.frf")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORN_TEMPLATES_DIR "/Groupe4_Quatre.frf"),
                            path(QStringLiteral("Groupe4_Quatre.frf"))));
    for (const char *edit : {"AImp30", "Handicap_B", "BPe15", "APc25", "BPv30"}) {
        sessionDeReference();
        poser(edit, QStringLiteral("1x"));
        dialogs().messages.clear();
        EXPECT_TRUE(imprimer(w->BtEditFMatch).isEmpty()) << edit;
        EXPECT_EQ(dialogs().texts(),
                  QStringList{QStringLiteral("'1x' n'est pas une valeur entière correcte.")})
            << edit;
        dialogs().messages.clear();
        EXPECT_FALSE(imprimer(w->Bt_Edition_Resultat).isEmpty()) << edit;
        EXPECT_FALSE(imprimer(w->BtEditionGroupe).isEmpty()) << edit;
        EXPECT_TRUE(dialogs().messages.empty()) << edit;
    }
}

TEST_F(QuatreImpressions, TemplatesUseEveryAnsweredNameAndKeepTheirBytes)
{
    sessionDeReference();
    QSet<QString> tous;
    // The innermost brackets: an expression's names are inside its own.
    static const QRegularExpression crochets(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    for (const char *m : {"Match_Quatre.frf", "Groupe4_Quatre.frf", "Homologation_quatre.frf"}) {
        const QString fichier = path(QLatin1String(m));
        report::TfrReport r;
        ASSERT_TRUE(r.LoadFromFile(fichier)) << m;
        for (int p = 0; p < r.Pages().Count(); ++p)
            for (const auto &v : r.Pages().GetPage(p)->Objects)
                for (const QString &ligne : v->Memo)
                    for (const auto &c : crochets.globalMatch(ligne))
                        if (c.captured(1) != u"PAGE#")
                            tous.insert(c.captured(1));
        gardeSesOctets(fichier, m);
    }
    EXPECT_EQ(tous.size(), 109);
    for (const QString &n : tous) {
        report::FrVariant v;
        w->frReport1GetValue(n, v);
        EXPECT_FALSE(v.isUnassigned()) << n.toStdString();
    }
}

TEST_F(QuatreImpressions, PrintedOnTheVirtualPdfPrinter)
{
    for (const char *outil : {"pdftotext", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty())
            GTEST_SKIP() << "poppler-utils missing (scripts/install-deps installs it)";
    sessionDeReference();
    imprimantePdf();
    auto texte = [&](QPushButton *b, const QString &nom) {
        EXPECT_FALSE(imprimer(b).isEmpty()) << nom.toStdString();
        return textePdf(*w->frReport1, nom);
    };
    const QString feuille = texte(w->BtEditFMatch, QStringLiteral("feuille"));
    const QString groupe = texte(w->BtEditionGroupe, QStringLiteral("groupe"));
    const QString liste = texte(w->Bt_Edition_Resultat, QStringLiteral("liste"));
    for (const QString *t : {&feuille, &groupe}) {
        for (const char *attendu : {"Lyon", "Sète", "12,33", "7,67"})
            EXPECT_TRUE(t->contains(QString::fromUtf8(attendu))) << attendu;
    }
    for (const QString &l : w->ListeHomologation.lignes()) {
        QString ligne = Champ(l, 1) + Champ(l, 3);
        ligne.remove(QLatin1Char(' '));
        EXPECT_TRUE(liste.contains(ligne)) << ligne.toStdString();
    }
}

TEST_F(QuatreImpressions, FirstPagesAndWindowAsDrawn)
{
    if (!vorn_test::shotsRequested())
        GTEST_SKIP() << "VORN_SHOTS_DIR not set";
    report::frObjects().setMeasurer(nullptr);
    sessionDeReference();
    dialogs().files.push_back(path(saison(QStringLiteral("Match1.chr"))));
    cliquer(w->Bt_load_resultat);
    w->resize(w->sizeHint().expandedTo(w->size()));
    vorn_test::settle();
    EXPECT_FALSE(
        vorn_test::saveShot(w, QStringLiteral("resultat_quatre_enregistre.png")).isEmpty());
    const std::pair<QPushButton *, const char *> commandes[] = {
        {w->BtEditFMatch, "match_quatre_page1"},
        {w->BtEditionGroupe, "groupe4_quatre_page1"},
        {w->Bt_Edition_Resultat, "homologation_quatre_page1"}};
    for (const auto &[b, nom] : commandes) {
        ASSERT_FALSE(imprimer(b).isEmpty()) << nom;
        vorn_test::dessinerPage1(*w->frReport1, QLatin1String(nom) + ".png");
    }
}

} // namespace
