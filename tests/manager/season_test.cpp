// Seasons: creation window, opening and closing from the main window.
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/fenetres.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/quatre_webweb.h"
#include "manager/repart.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_pr.h"
#include "manager/vorn_saison.h"
#include "platform/forms/controls.h"
#include "platform/inifile/inifile.h"
#include "platform/text/linefile.h"
#include "tests/manager/window_support.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cerrno>

using namespace platform;

namespace
{

const QString kQuestion = QStringLiteral("Importer les licenciés d'une saison précédente?");

class SeasonTest : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        demarrer();
    }

    // Types a name into the creation window and clicks "&Créer", as the user
    // (answering the question to import players, when given).
    void creer(const QString &nom, std::optional<int> reponse = std::nullopt)
    {
        if (reponse)
            dialogs().answers.push_back(*reponse);
        Vorn_FPr->Crer1->trigger();
        vorn_test::settle();
        Vorn_FSaison->Edit1->setText(nom);
        QTest::mouseClick(Vorn_FSaison->ButCreer, Qt::LeftButton);
        vorn_test::settle();
        // The main window sees the season at its next activation.
        if (TForm::activeForm() != Vorn_FPr)
            Vorn_FPr->activated();
    }

    QString saisonIni() const
    {
        return TIniFile(path(QStringLiteral("Vorn_Lud.ini")))
            .ReadString(QStringLiteral("Param"), QStringLiteral("Saison"),
                        QStringLiteral("<absent>"));
    }

    // The same as contenu() for a folder outside the program folder.
    QMap<QString, QByteArray> contenuDehors(const QString &dossier) const
    {
        return contenu(QDir(path(QString())).relativeFilePath(dossier));
    }

    static void montrer(TForm *f)
    {
        f->Show();
        f->activated();
    }
    // A command of each window that writes files of its season; the files a
    // dialog is asked for are chosen in dossier.
    struct Ecrivain {
        const char *fenetre;
        TForm *f;
        std::function<void()> commande;
    };
    std::vector<Ecrivain> ecrivains(const QString &dossier = QString())
    {
        return {
            {"teams: Ajouter a group", Vorn_FResultat_Quatre,
             [] {
                 Vorn_FResultat_Quatre->EdAjoutGroupe->show();
                 Vorn_FResultat_Quatre->EdAjoutGroupe->setText(QStringLiteral("G"));
                 Vorn_FResultat_Quatre->BtAjouGroupe->click();
             }},
            {"tournaments: Ajouter", Vorn_FGestion,
             [] {
                 Vorn_FGestion->MaskEdit1->setText(QStringLiteral("01/02/2021"));
                 Vorn_FGestion->Edit1->setText(QStringLiteral("T"));
                 Vorn_FGestion->Bt_Ajouter->click();
             }},
            {"pools: left", Vorn_Fmcf_Poule,
             [] {
                 // Only a pool that changed is written when the window is left.
                 Vorn_Fmcf_Poule->Spin_Equipe->stepUp();
                 Vorn_FPr->activated();
             }},
            {"players list: Exportation", Vorn_FEdition_Joueurs,
             [this, dossier] {
                 dialogs().files.push_back(path(dossier + QStringLiteral("Exportation.txt")));
                 Vorn_FEdition_Joueurs->Exportation1->trigger();
             }},
            {"distribution: Mémorisation", VornF_repart,
             [this, dossier] {
                 VornF_repart->Button1->click();
                 dialogs().files.push_back(path(dossier + QStringLiteral("Repart_1.PPE")));
                 VornF_repart->Bt_Memorisation->click();
             }},
            {"entries: data saved", VornF_Quatre_Webweb,
             [this, dossier] {
                 dialogs().files.push_back(path(dossier + QStringLiteral("Donnees.qud")));
                 VornF_Quatre_Webweb->Bt_load_donnes->click();
             }},
        };
    }

    bool menusSaison(bool enabled) const
    {
        for (QMenu *m : {Vorn_FPr->FichierJoueurs1, Vorn_FPr->Challenge1, Vorn_FPr->Calendriers1,
                         Vorn_FPr->Convocations1})
            if (m->menuAction()->isEnabled() != enabled)
                return false;
        return true;
    }
};

TEST_F(SeasonTest, CreatingASeasonWritesTwoEmptyFilesThenSelectsIt)
{
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Pas de Saison"));
    creer(QStringLiteral("2020-2021"), mrNo);

    EXPECT_TRUE(exists(QStringLiteral("2020-2021/Joueur.DBP")));
    EXPECT_TRUE(exists(QStringLiteral("2020-2021/Challenge.DBP")));
    EXPECT_EQ(readBytes(QStringLiteral("2020-2021/Joueur.DBP")), QByteArray());
    EXPECT_EQ(readBytes(QStringLiteral("2020-2021/Challenge.DBP")), QByteArray());
    EXPECT_TRUE(readBytes(QStringLiteral("Vorn_Lud.ini")).contains("Saison=2020-2021\r\n"));
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2020-2021"));

    ASSERT_EQ(dialogs().texts(), QStringList{kQuestion});
    EXPECT_EQ(dialogs().messages[0].type, mtConfirmation);
    EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbYes | mbNo));
    EXPECT_TRUE(dialogs().openRequests.empty());

    EXPECT_FALSE(Vorn_FSaison->isVisible());
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Saison en cours"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("2020-2021"));
    EXPECT_TRUE(menusSaison(true));
}

TEST_F(SeasonTest, CreatingAnExistingSeasonOnlySelectsIt)
{
    creer(QStringLiteral("2020-2021"), mrNo);
    writeLines(QStringLiteral("2020-2021/Joueur.DBP"), {QStringLiteral("123;M;DUPONT;")});
    const auto before = contenu();

    creer(QStringLiteral("2020-2021"));
    EXPECT_EQ(contenu(), before);
    EXPECT_EQ(dialogs().messages.size(), 1u) << "no second question";

    // From another season, it is selected again.
    Vorn_FPr->Fermer1->trigger();
    creer(QStringLiteral("2020-2021"));
    EXPECT_EQ(saisonIni(), QStringLiteral("2020-2021"));
    EXPECT_EQ(readBytes(QStringLiteral("2020-2021/Joueur.DBP")), QByteArray("123;M;DUPONT;\r\n"));
}

TEST_F(SeasonTest, ActivationEmptiesTheNameAndAnEmptyNameOnlyHides)
{
    Vorn_FSaison->Edit1->setText(QStringLiteral("reste"));
    Vorn_FPr->Crer1->trigger();
    vorn_test::settle();
    Vorn_FSaison->activated();
    EXPECT_TRUE(Vorn_FSaison->Edit1->text().isEmpty());
    QTest::mouseClick(Vorn_FSaison->ButCreer, Qt::LeftButton);
    EXPECT_FALSE(Vorn_FSaison->isVisible());
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_FALSE(exists(QStringLiteral("Vorn_Lud.ini")));
}

TEST_F(SeasonTest, InvalidNamesAreRefusedAndNothingIsCreated)
{
    const QStringList invalides = {
        QStringLiteral("..\\..\\x"), QStringLiteral("../x"), QStringLiteral("a/b"),
        QStringLiteral(".."),        QStringLiteral("."),    QStringLiteral(" 2020"),
        QStringLiteral("2020 "),     QStringLiteral("a:b"),  QStringLiteral("a*b"),
        QStringLiteral("a?b"),       QStringLiteral("a|b"),  QStringLiteral("a\"b"),
        QStringLiteral("a<b>"),      QStringLiteral("x..y"), QStringLiteral("漢字"),
    };
    const auto before = contenu();
    for (const QString &nom : invalides) {
        dialogs().messages.clear();
        creer(nom);
        EXPECT_EQ(dialogs().texts(), QStringList{QStringLiteral("Nom de saison invalide")})
            << nom.toStdString();
        EXPECT_TRUE(Vorn_FSaison->isVisible()) << "the window stays open for a correction";
    }
    EXPECT_EQ(contenu(), before);
    EXPECT_TRUE(SaisonEnCours.isEmpty());

    for (const QString &nom :
         {QStringLiteral("a\tb"), QStringLiteral("a\nb"), QStringLiteral("a\x7f")})
        EXPECT_FALSE(TVorn_FSaison::nomSaisonValide(nom)) << nom.toStdString();
    for (const QString &nom : {QStringLiteral("2020-2021"), QStringLiteral("Saison été €"),
                               QStringLiteral("a.b"), QStringLiteral("a b")})
        EXPECT_TRUE(TVorn_FSaison::nomSaisonValide(nom)) << nom.toStdString();
}

TEST_F(SeasonTest, ImportingAFileNotNamedExactlyJoueurDbpGivesAnEmptyPlayersFile)
{
    writeLines(QStringLiteral("ancienne/joueur.DBP"), {QStringLiteral("1;M;A;")});
    dialogs().files.push_back(path(QStringLiteral("ancienne/joueur.DBP")));
    creer(QStringLiteral("2021"), mrYes);

    EXPECT_EQ(readBytes(QStringLiteral("2021/Joueur.DBP")), QByteArray());
    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    const FileRequest &r = dialogs().openRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("Recherche fichier licenciés"));
    EXPECT_EQ(r.filter, QStringLiteral("Fichier Licencieés (Joueur.DBP)|Joueur.DBP"));
    EXPECT_EQ(r.fileName, repAppli() + QStringLiteral("Joueur.DBP"));
    EXPECT_EQ(r.initialDir, repAppli() + QStringLiteral("2021"));
    EXPECT_EQ(saisonIni(), QStringLiteral("2021"));
}

TEST_F(SeasonTest, ImportingAPreviousPlayersFileCopiesItByteForByte)
{
    const QByteArray joueurs =
        "123;M;DUPONT;Andr\xe9;45;CLUB DE L'\xc9TANG;;;;75001;Paris;01 02 03 04 05;;;"
        "a@b.fr;01/02/1950;Licence B;3 C;2020;\r\n"
        "456;Mme;MARTIN;Zo\xeb;22;CLUB;;;;;;;;;;;;;2020;\r\n";
    writeBytes(QStringLiteral("2019-2020/Joueur.DBP"), joueurs);
    dialogs().files.push_back(path(QStringLiteral("2019-2020/Joueur.DBP")));
    creer(QStringLiteral("2020-2021"), mrYes);
    EXPECT_EQ(readBytes(QStringLiteral("2020-2021/Joueur.DBP")), joueurs);
    EXPECT_EQ(readBytes(QStringLiteral("2020-2021/Challenge.DBP")), QByteArray());
}

TEST_F(SeasonTest, APreviousPlayersFileThatIsNotOneCreatesNothing)
{
    writeBytes(QStringLiteral("2019-2020/Joueur.DBP"), QByteArray("\x89PNG\r\n\x1a\n\0\0;1;", 14));
    const auto before = contenu();
    dialogs().files.push_back(path(QStringLiteral("2019-2020/Joueur.DBP")));
    creer(QStringLiteral("2020-2021"), mrYes);
    EXPECT_EQ(dialogs().texts().value(1),
              QStringLiteral("Ce fichier n'est pas un fichier de licenciés : ") +
                  path(QStringLiteral("2019-2020/Joueur.DBP")) + QStringLiteral(" (ligne 3)"));
    EXPECT_EQ(contenu(), before);
    EXPECT_EQ(SaisonEnCours, QString());
}

TEST_F(SeasonTest, CancellingTheFileChoiceGivesAnEmptyPlayersFile)
{
    dialogs().files.push_back(std::nullopt);
    creer(QStringLiteral("2021"), mrYes);
    EXPECT_TRUE(exists(QStringLiteral("2021/Joueur.DBP")));
    EXPECT_EQ(readBytes(QStringLiteral("2021/Joueur.DBP")), QByteArray());
}

TEST_F(SeasonTest, AFolderThatCannotBeCreatedShowsTheErrorAndKeepsTheSeason)
{
    creer(QStringLiteral("2020"), mrNo);
    // A plain file where the folder should go.
    writeBytes(QStringLiteral("2021"), "pas un dossier");
    dialogs().messages.clear();
    creer(QStringLiteral("2021"), mrNo);

    ASSERT_FALSE(dialogs().messages.empty());
    EXPECT_EQ(dialogs().messages.back().type, mtError);
    EXPECT_FALSE(dialogs().messages.back().text.isEmpty());
    EXPECT_EQ(saisonIni(), QStringLiteral("2020"));
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2020"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("2020"));
    EXPECT_EQ(readBytes(QStringLiteral("2021")), QByteArray("pas un dossier"));
}

TEST_F(SeasonTest, ClosingWritesAnEmptySeasonAndDisablesTheSeasonMenus)
{
    creer(QStringLiteral("2020-2021"), mrNo);
    ASSERT_TRUE(menusSaison(true));

    Vorn_FPr->Fermer1->trigger();
    EXPECT_TRUE(readBytes(QStringLiteral("Vorn_Lud.ini")).contains("Saison=\r\n"));
    EXPECT_EQ(saisonIni(), QString());
    EXPECT_TRUE(SaisonEnCours.isEmpty());
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Pas de Saison"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("sélectionnée"));
    EXPECT_TRUE(menusSaison(false));
    // The season files stay.
    EXPECT_TRUE(exists(QStringLiteral("2020-2021/Joueur.DBP")));
}

// Windows left open when the season is closed: what would write season
// files is refused, saying why, and nothing is written in the program folder
// (its own players file there, or a file chosen there, notwithstanding).
TEST_F(SeasonTest, WithNoSeasonOpenNoWindowWritesSeasonFiles)
{
    creer(QStringLiteral("2020-2021"), mrNo);
    writeBytes(QStringLiteral("Joueur.DBP"), "01000158;M;ARNAUD;Luc;50;LYON BC;\r\n");
    for (const Ecrivain &c : ecrivains()) {
        Vorn_FPr->activated();
        montrer(c.f);
        principale()->Fermer1->trigger();
        ASSERT_TRUE(SaisonEnCours.isEmpty());
        const auto avant = contenu();
        dialogs().messages.clear();
        montrer(c.f);
        c.commande();
        vorn_test::settle();
        EXPECT_EQ(contenu(), avant) << c.fenetre;
        EXPECT_EQ(dialogs().texts().value(dialogs().texts().size() - 1).toStdString(),
                  "Aucune saison n'est ouverte : rien n'est enregistré.\n\nOuvrez ou créez une "
                  "saison (menu Saisons), puis revenez à cette fenêtre.")
            << c.fenetre << " " << dialogs().texts().join('|').toStdString();
        dialogs().folders.push_back(path(QStringLiteral("2020-2021")));
        if (c.f == Vorn_FGestion) // the tournament typed is asked about
            dialogs().answers.push_back(mrYes);
        principale()->Saison2->trigger();
        ASSERT_EQ(SaisonEnCours, QStringLiteral("2020-2021"));
    }
}

// The season a window shows is checked again when it writes: its folder
// swapped for a link leading outside (to a folder that looks like a season),
// or gone, and nothing is written, inside the program folder or outside.
TEST_F(SeasonTest, EveryWriterChecksItsSeasonAtTheMomentOfWriting)
{
    creer(QStringLiteral("S1"), mrNo);
    QTemporaryDir ailleurs;
    const QString dehors = ailleurs.path() + QStringLiteral("/S1"), s1 = path("S1");
    for (const bool lien : {true, false})
        for (const Ecrivain &c : ecrivains(QStringLiteral("S1/"))) {
            Vorn_FPr->activated();
            montrer(c.f);
            ASSERT_TRUE(QDir().rename(s1, dehors));
            if (lien) {
                ASSERT_TRUE(QFile::link(dehors, s1));
            }
            const auto avant = contenu();
            const auto avantDehors = contenuDehors(dehors);
            ASSERT_TRUE(avantDehors.contains(QStringLiteral("Joueur.DBP")));
            dialogs().messages.clear();
            c.commande();
            vorn_test::settle();
            EXPECT_EQ(contenuDehors(dehors), avantDehors)
                << c.fenetre << (lien ? " link" : " gone");
            EXPECT_EQ(contenu(), avant) << c.fenetre;
            const QString refus =
                lien ? QStringLiteral("Le dossier de la saison S1, dont cette fenêtre montre les "
                                      "fichiers, n'est plus un dossier de saison du dossier du "
                                      "programme (un dossier qui contient Joueur.DBP) : rien "
                                      "n'est enregistré.")
                     : QStringLiteral("Le dossier de la saison ouverte, S1, dont cette fenêtre "
                                      "montre les fichiers, n'existe plus : rien n'est "
                                      "enregistré.");
            EXPECT_EQ(dialogs().texts().value(0).toStdString(), refus.toStdString())
                << c.fenetre << (lien ? " link: " : " gone: ")
                << dialogs().texts().join('|').toStdString();
            QFile::remove(s1);
            ASSERT_TRUE(QDir().rename(dehors, s1));
            if (c.f == Vorn_FGestion) { // the tournament typed is asked about
                dialogs().answers.push_back(mrYes);
                Vorn_FGestion->Edit1->clear();
            }
        }
}

// "Créer" makes a season only of a name that nothing bears, and only whole:
// both files or neither, no folder left behind, the settings unchanged.
TEST_F(SeasonTest, CreatingRefusesATakenNameAndTakesBackWhatItMadeWhenItFails)
{
    creer(QStringLiteral("2020"), mrNo);
    QTemporaryDir ailleurs;
    const QString vide = ailleurs.path() + QStringLiteral("/vide");
    const QString saisonDehors = ailleurs.path() + QStringLiteral("/saison");
    for (const QString &d : {vide, saisonDehors, path("dossier")})
        QDir().mkpath(d);
    QFile(saisonDehors + QStringLiteral("/Joueur.DBP")).open(QIODevice::WriteOnly);
    writeBytes(QStringLiteral("fichier"), "pas un dossier");
    writeLines(QStringLiteral("tournois/Challenge.DBP"), {"1;01/10/2020;Open;P;1;100;a.chr;"});
    for (const auto &[cible, lien] : {std::pair{vide, "lien"},
                                      {saisonDehors, "lienSaison"},
                                      {ailleurs.path() + QStringLiteral("/nulle"), "lienMort"}})
        ASSERT_TRUE(QFile::link(cible, path(lien)));
    const auto avant = contenu();
    const auto avantDehors = contenuDehors(ailleurs.path());
    ASSERT_TRUE(avantDehors.contains(QStringLiteral("saison/Joueur.DBP")));
    for (const char *nom : {"fichier", "dossier", "tournois", "lien", "lienSaison", "lienMort"}) {
        dialogs().messages.clear();
        creer(QString::fromLatin1(nom), mrNo);
        EXPECT_EQ(dialogs().texts().join('|').toStdString(),
                  QStringLiteral("Impossible de créer la saison : %1 existe déjà et n'est pas "
                                 "une saison du dossier du programme (un dossier qui contient "
                                 "Joueur.DBP).")
                      .arg(path(QString::fromLatin1(nom)))
                      .toStdString());
        EXPECT_EQ(contenu(), avant) << nom;
        EXPECT_EQ(contenuDehors(ailleurs.path()), avantDehors) << nom;
        EXPECT_EQ(SaisonEnCours, QStringLiteral("2020")) << nom;
    }

    // A write that fails (a full disk): the players file, a players file
    // imported, or the settings.
    writeBytes(QStringLiteral("2019/Joueur.DBP"), "1;M;A;\r\n");
    const auto avantPlein = contenu();
    for (const char *plein : {"Joueur.DBP", "Challenge.DBP", "Vorn_Lud.ini"})
        for (const bool importe : {false, true}) {
            const auto ancien = LineFile::setWriteHook([plein](const QString &p) {
                return p.endsWith(QLatin1String(plein)) ? ENOSPC : 0;
            });
            dialogs().messages.clear();
            if (importe)
                dialogs().files.push_back(path(QStringLiteral("2019/Joueur.DBP")));
            creer(QStringLiteral("2021"), importe ? mrYes : mrNo);
            LineFile::setWriteHook(ancien);
            const QString fichier =
                path(QString::fromLatin1(qstrcmp(plein, "Vorn_Lud.ini") ? "2021/" : "") + plein);
            EXPECT_EQ(dialogs().texts().value(1).toStdString(),
                      "Erreur d'écriture dans le fichier " + fichier.toStdString() +
                          " : disque plein.")
                << plein;
            EXPECT_EQ(contenu(), avantPlein) << plein << " " << importe;
            EXPECT_EQ(SaisonEnCours, QStringLiteral("2020"));
            EXPECT_EQ(saisonIni(), QStringLiteral("2020"));
        }
}

TEST_F(SeasonTest, OpeningAcceptsOnlyASeasonFolderInsideTheProgramFolder)
{
    writeBytes(QStringLiteral("2019-2020/Joueur.DBP"), "");
    writeBytes(QStringLiteral("2020-2021/Joueur.DBP"), "");
    writeBytes(QStringLiteral("vide/autre.txt"), "");

    dialogs().folders.push_back(path(QStringLiteral("2019-2020")));
    Vorn_FPr->Saison2->trigger();
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2019-2020"));
    EXPECT_EQ(saisonIni(), QStringLiteral("2019-2020"));
    EXPECT_EQ(dialogs().folderRequests.at(0).caption, QStringLiteral("Ouvrir un projet"));
    EXPECT_EQ(dialogs().folderRequests.at(0).root, repAppli());

    // Any other folder is refused, saying so.
    const auto refuse = [this](const QString &dossier) {
        dialogs().messages.clear();
        dialogs().folders.push_back(dossier);
        Vorn_FPr->Saison2->trigger();
        EXPECT_EQ(dialogs().texts().join('|').toStdString(),
                  QStringLiteral("Le dossier %1 n'est pas une saison du dossier du programme (un "
                                 "dossier qui contient Joueur.DBP) : il n'est pas ouvert.")
                      .arg(dossier)
                      .toStdString());
        EXPECT_EQ(SaisonEnCours, QStringLiteral("2019-2020"));
    };
    // A folder without players file.
    refuse(path(QStringLiteral("vide")));

    // Outside the program folder, at a path whose tail after as many
    // characters as the program folder has reads "2020-2021": ignored.
    QTemporaryDir ailleurs;
    const QString dehors = ailleurs.path() + QStringLiteral("/2020-2021");
    QDir().mkpath(dehors);
    QFile(dehors + QStringLiteral("/Joueur.DBP")).open(QIODevice::WriteOnly);
    ASSERT_EQ(dehors.mid(repAppli().size()), QStringLiteral("2020-2021"))
        << "both temporary folders have paths of the same length";
    const auto before = contenu();
    refuse(dehors);
    EXPECT_EQ(contenu(), before);

    // The same through "..": canonical paths decide.
    refuse(repAppli() + QStringLiteral("../") + QFileInfo(ailleurs.path()).fileName() +
           QStringLiteral("/2020-2021"));

    // The program folder itself is no season; cancel changes nothing.
    refuse(path(QString()).chopped(1));
    dialogs().messages.clear();
    Vorn_FPr->Saison2->trigger();
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2019-2020"));

    // A folder inside a season's folder: no season either.
    writeBytes(QStringLiteral("2019-2020/dedans/Joueur.DBP"), "");
    refuse(path(QStringLiteral("2019-2020/dedans")));

    dialogs().folders.push_back(path(QStringLiteral("2020-2021")));
    Vorn_FPr->Saison2->trigger();
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2020-2021"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("2020-2021"));
}

// The season setting, typed by hand or left by a season since gone, opens a
// season only when it names a season folder of the program folder, as
// "Ouvrir" takes one: anything else opens none, said once, so that no
// window writes a season's files into the program folder or elsewhere.
TEST_F(SeasonTest, TheSeasonSettingOpensOnlyASeasonFolder)
{
    QTemporaryDir ailleurs;
    const QString dehors = ailleurs.path() + QStringLiteral("/2020-2021");
    QDir().mkpath(dehors);
    QFile(dehors + QStringLiteral("/Joueur.DBP")).open(QIODevice::WriteOnly);
    writeBytes(QStringLiteral("2020-2021/Joueur.DBP"), "");
    writeBytes(QStringLiteral("2020-2021/dedans/Joueur.DBP"), "");
    writeBytes(QStringLiteral("vide/Challenge.DBP"), "");
    writeBytes(QStringLiteral("Joueur.DBP"), ""); // the program folder looks like a season
    ASSERT_TRUE(QFile::link(dehors, path("lien")));
    const QString parent = QStringLiteral("../") + QFileInfo(ailleurs.path()).fileName();
    const QString refus =
        QStringLiteral("Le fichier de paramètres %1 donne la saison « %2 », qui n'est pas un "
                       "dossier de saison du dossier du programme (un dossier qui contient "
                       "Joueur.DBP).\n\nAucune saison n'est ouverte : ouvrez ou créez une "
                       "saison (menu Saisons).")
            .arg(path(QStringLiteral("Vorn_Lud.ini")));
    const QString cas[] = {QStringLiteral("."),
                           QStringLiteral(".."),
                           QStringLiteral("./2020-2021"),
                           QStringLiteral("2020-2021/dedans"),
                           QStringLiteral("2020-2021\\dedans"),
                           parent + QStringLiteral("/2020-2021"),
                           dehors,
                           QStringLiteral("lien"),
                           QStringLiteral("vide"),
                           QStringLiteral("absente"),
                           QStringLiteral("2020-2021")};
    for (const QString &saison : cas) {
        const bool ouverte = saison == QLatin1String("2020-2021");
        writeLines(QStringLiteral("Vorn_Lud.ini"), {"[Param]", "Saison=" + saison});
        dialogs().messages.clear();
        for (int fois = 0; fois < 2; ++fois) { // said once
            Vorn_FResultat_Quatre->activated();
            Vorn_FPr->activated();
        }
        EXPECT_EQ(SaisonEnCours, ouverte ? saison : QString()) << saison.toStdString();
        EXPECT_EQ(dialogs().texts().join('|').toStdString(),
                  ouverte ? std::string() : refus.arg(saison).toStdString());
    }
}

TEST_F(SeasonTest, TheSeasonSurvivesARestartThroughTheSettingsFile)
{
    creer(QStringLiteral("2020-2021"), mrNo);
    m_fenetres.reset();
    SaisonEnCours.clear();

    demarrer();
    Vorn_FPr->LireSaison();
    EXPECT_EQ(SaisonEnCours, QStringLiteral("2020-2021"));
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), QStringLiteral("2020-2021"));
    EXPECT_TRUE(menusSaison(true));
}

} // namespace
