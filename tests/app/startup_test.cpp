// Start-up: the sixteen windows in their order, only the main one shown, the
// application title; the program goes on after an error in a handler.
#include "manager/fenetres.h"
#include "manager/vorn_pr.h"
#include "manager/vorn_saison.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/registry/registry.h"
#include "platform/text/exceptions.h"
#include "platform/text/folderlock.h"
#include "platform/text/linefile.h"
#include "tests/support/gui/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

using namespace platform;

namespace
{

// The main block sets the title before the windows.
class StartupTest : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        vorn_test::ProgramFolderTest::SetUp();
        SetApplicationTitle(titreApplication());
    }
};

TEST_F(StartupTest, SixteenWindowsInOrderAndOnlyTheMainOneVisible)
{
    auto fenetres = demarrerApplication();
    vorn_test::settle();
    const char *attendu =
        "Vorn_FPr Apropos Vorn_Fimp Vorn_FSaison Vorn_FEdition VornF_Quatre_Webweb "
        "VornF_Resultat_Paires Vorn_FResultat_Quatre Vorn_FGestion Vorn_FChallenge "
        "Vorn_FEdition_Joueurs Vorn_FCalendar Vorn_FVorn Vorn_Fmcf_Poule VornF_repart VornF_Attrib";
    const std::vector<TForm *> toutes = fenetres->toutes();
    ASSERT_EQ(toutes.size(), 16u);
    QStringList noms;
    for (size_t i = 0; i < toutes.size(); ++i) {
        noms.append(toutes[i]->objectName());
        if (i > 0) {
            EXPECT_GT(toutes[i]->creationIndex(), toutes[i - 1]->creationIndex());
        }
        EXPECT_EQ(toutes[i]->isVisible(), i == 0) << noms.last().toStdString();
        EXPECT_TRUE(toutes[i]->isWindow());
    }
    EXPECT_EQ(noms.join(' ').toStdString(), attendu);
    EXPECT_EQ(MainForm(), toutes[0]);
    EXPECT_EQ(toutes[0], static_cast<TForm *>(Vorn_FPr));
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("VORNisation en LUDmarre"));
    EXPECT_EQ(TForm::activeForm(), static_cast<TForm *>(Vorn_FPr));
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Pas de Saison"));

    fenetres.reset();
    EXPECT_EQ(Vorn_FPr, nullptr);
    EXPECT_EQ(Vorn_FSaison, nullptr);
}

TEST_F(StartupTest, AnErrorInAHandlerIsShownAndTheLoopGoesOn)
{
    auto fenetres = demarrerApplication();
    // A season name already borne by a file: the refusal reaches the
    // application's barrier from the button's handler.
    writeBytes(QStringLiteral("bloque"), "fichier");
    Vorn_FPr->Crer1->trigger();
    Vorn_FSaison->Edit1->setText(QStringLiteral("bloque"));

    // Run the real message loop: the click is posted, then the loop ends.
    QTimer::singleShot(0, [] { QTest::mouseClick(Vorn_FSaison->ButCreer, Qt::LeftButton); });
    bool resteOuverte = false;
    QTimer::singleShot(20, [&] {
        resteOuverte = Vorn_FSaison->isVisible();
        Vorn_FPr->Quiter->trigger();
    });
    QTimer::singleShot(2000, [] { QCoreApplication::exit(1); }); // safety net
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(Terminated());

    // Refused before any question: one error box, the name in it.
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_EQ(dialogs().messages[0].caption, QStringLiteral("VORNisation en LUDmarre"));
    EXPECT_TRUE(dialogs().messages[0].text.contains(QStringLiteral("bloque existe déjà")));
    EXPECT_TRUE(dialogs().messages[0].text.endsWith(u'.'));
    EXPECT_TRUE(SaisonEnCours.isEmpty());
    EXPECT_TRUE(resteOuverte) << "the window stays for another name";
}

// A settings file that cannot be read (no permission, made through the read
// seam since the tests run as root; a folder in its place) does not stop the
// start: the program says so, runs on the defaults and never writes it.
class UnreadableSettingsTest : public StartupTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(UnreadableSettingsTest, AreSaidAndNeverWritten)
{
    const bool folder = GetParam();
    const QByteArray reglages = "[Param]\r\nSaison=2019-2020\r\n";
    const QString ini = path(QStringLiteral("Vorn_Lud.ini"));
    if (folder)
        QDir().mkdir(ini);
    else
        writeBytes(QStringLiteral("Vorn_Lud.ini"), reglages);
    LineFile::setReadHook([ini](const QString &lu) {
        if (lu == ini)
            throw EFileError(QStringLiteral("Impossible d'ouvrir le fichier ") + lu);
    });
    std::unique_ptr<Fenetres> fenetres;
    EXPECT_NO_THROW(fenetres = demarrerApplication());
    vorn_test::settle();
    LineFile::setReadHook({});
    ASSERT_TRUE(fenetres);
    EXPECT_TRUE(Vorn_FPr->isVisible());
    EXPECT_EQ(Vorn_FPr->P_Saison1->Caption(), QStringLiteral("Pas de Saison"));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtWarning);
    EXPECT_TRUE(dialogs().messages[0].text.contains(ini))
        << dialogs().messages[0].text.toStdString();
    Vorn_FPr->Fermer1->trigger();
    Vorn_FPr->Nepasvrifierlamisejour1->trigger();
    if (folder)
        EXPECT_TRUE(QFileInfo(ini).isDir());
    else
        EXPECT_EQ(readBytes(QStringLiteral("Vorn_Lud.ini")), reglages);
    EXPECT_EQ(dialogs().messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(PermissionOrFolder, UnreadableSettingsTest, ::testing::Bool());

// One copy of the program per program folder: a start while another copy
// holds it (in this process or another) says so and gets nothing; the folder
// is free again once that copy has ended, killed included, even when a
// program it started runs on.
TEST_F(StartupTest, OneCopyOfTheProgramPerProgramFolder)
{
    std::unique_ptr<FolderLock> premiere;
    QProcess autre;
    QProcess lance;
    const struct {
        const char *cas;
        std::function<void()> avant;
        bool refusee;
    } cas[] = {
        {"first start", [] {}, false},
        {"second start in the same process", [] {}, true},
        {"after the first one ended, a program it started running on",
         [&] {
             lance.start(QStringLiteral("sleep"), {QStringLiteral("60")});
             ASSERT_TRUE(lance.waitForStarted());
             premiere.reset();
         },
         false},
        {"while another process holds it",
         [&] {
             premiere.reset();
             autre.start(
                 QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("exec 9<\"$0\" && flock -n 9 && echo tenu && exec sleep 60"),
                  repAppli()});
             ASSERT_TRUE(autre.waitForReadyRead(10000));
             ASSERT_EQ(autre.readAll(), QByteArray("tenu\n"));
         },
         true},
        {"after that process was killed",
         [&] {
             autre.kill();
             autre.waitForFinished();
         },
         false},
    };
    const QString refus =
        QStringLiteral("Vorn_Lud est déjà ouvert sur le dossier %1 : cette deuxième copie "
                       "s'arrête.\n\nDeux copies sur le même dossier effaceraient chacune ce "
                       "que l'autre enregistre. Travaillez dans la copie déjà ouverte.")
            .arg(repAppli().chopped(1));
    for (const auto &c : cas) {
        c.avant();
        dialogs().messages.clear();
        std::unique_ptr<FolderLock> verrou = prendreDossierProgramme();
        EXPECT_EQ(!verrou, c.refusee) << c.cas;
        EXPECT_EQ(dialogs().texts().join('|').toStdString(),
                  c.refusee ? refus.toStdString() : std::string())
            << c.cas;
        if (!premiere)
            premiere = std::move(verrou);
    }
    lance.kill();
    lance.waitForFinished();
}

class FixtureTest : public vorn_test::ProgramFolderTest
{
};

// Each test starts clean: its own program folder and registry file, no
// season, fakes that remember nothing.
TEST_F(FixtureTest, EveryTestGetsItsOwnProgramFolderRegistryAndFakes)
{
    EXPECT_EQ(RepAppli, repAppli());
    EXPECT_EQ(dossierProgramme(), repAppli());
    EXPECT_TRUE(QDir(repAppli()).isEmpty());
    EXPECT_TRUE(SaisonEnCours.isEmpty());
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_TRUE(shell().calls.empty());
    EXPECT_EQ(platform::Now(), clock().current);
    EXPECT_FALSE(QFileInfo::exists(registryFile()));
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\VornReport\\Essai"), true));
        reg.WriteString(QStringLiteral("Nom"), QStringLiteral("x"));
    }
    EXPECT_TRUE(QFileInfo::exists(registryFile()));
    EXPECT_TRUE(QDir(repAppli()).isEmpty()) << "the registry is not in the program folder";
    SaisonEnCours = QStringLiteral("laissée");
    platform::MessageDlg(QStringLiteral("m"), platform::mtInformation, platform::mbOK);
}

TEST_F(FixtureTest, NothingLeaksFromThePreviousTest)
{
    EXPECT_TRUE(SaisonEnCours.isEmpty());
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_FALSE(QFileInfo::exists(registryFile()));
}

} // namespace
