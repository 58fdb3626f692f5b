// The about box: its texts, the scroll of the history and the mail link.
#include "manager/apropos.h"
#include "manager/core/historique.h"
#include "manager/core/site.h"
#include "manager/core/site_auteur.h"
#include "platform/shell/shell.h"
#include "tests/support/gui/program_folder.h"

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace
{

class AboutWindow : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        w = std::make_unique<TApropos>();
    }
    void TearDown() override
    {
        w.reset();
        ProgramFolderTest::TearDown();
    }
    std::unique_ptr<TApropos> w;
};

} // namespace

TEST_F(AboutWindow, TextsOfTheBox)
{
    EXPECT_EQ(w->Caption(), "A propos du logiciel Vorn Lud 13.19.10");
    EXPECT_EQ(w->Version->text(), "Version : 13.19.10");
    EXPECT_EQ(w->Label2->text(), "E-mail ");
    EXPECT_EQ(w->Label3->text(), site::adresseContact());
    EXPECT_TRUE(w->Label3->font().underline());
    EXPECT_EQ(w->Memo1->toPlainText(),
              QString::fromUtf8("Toutes critiques afin d'améliorer ce programme \n"
                                "seront les bienvenues ainsi que les encouragements."));
    EXPECT_TRUE(w->Memo1->isReadOnly());
    EXPECT_EQ(w->Button1->text(), "Historique");
    EXPECT_EQ(w->Image2->size(), QSize(65, 65));
    EXPECT_EQ(w->historique(), HistoriqueVersions());
    EXPECT_TRUE(w->Panel1->isHidden());
}

TEST_F(AboutWindow, HistoryScrollsThenThePanelGoes)
{
    w->show();
    w->Button1->click();
    EXPECT_FALSE(w->Panel1->isHidden());
    EXPECT_EQ(w->Panel1->geometry(), w->rect());
    EXPECT_EQ(w->PaintBox1->size(), w->size());
    EXPECT_GT(w->hauteurLigne(), 0);
    EXPECT_EQ(w->pasTotal(), PasDefilement(w->hauteurLigne(), 43, w->PaintBox1->height()));
    EXPECT_EQ(w->pas(), 1);
    EXPECT_TRUE(w->defilementEnCours());

    // The picture rises one pixel a step: the first line enters at the
    // bottom edge and has left the top at the end.
    for (int s = 1; s < w->pasTotal(); ++s)
        w->pasSuivant();
    EXPECT_EQ(w->pas(), w->pasTotal());
    w->pasSuivant(); // the last step stays two seconds
    EXPECT_TRUE(w->defilementEnCours());
    EXPECT_FALSE(w->Panel1->isHidden());
    auto *pas = w->findChild<QTimer *>("TimerPas");
    auto *attente = w->findChild<QTimer *>("TimerAttente");
    ASSERT_TRUE(pas && attente);
    EXPECT_EQ(pas->interval(), 55);
    EXPECT_FALSE(pas->isActive());
    EXPECT_EQ(attente->interval(), 2000);
    EXPECT_TRUE(attente->isSingleShot());
    EXPECT_TRUE(attente->isActive());
    w->finDefilement(); // what the wait's end runs
    EXPECT_TRUE(w->Panel1->isHidden());
    EXPECT_FALSE(w->defilementEnCours());
}

TEST_F(AboutWindow, HidingStopsTheScroll)
{
    w->show();
    w->Button1->click();
    w->pasSuivant();
    w->hide();
    EXPECT_FALSE(w->defilementEnCours());
    EXPECT_TRUE(w->Panel1->isHidden());
    EXPECT_EQ(w->pas(), 0);
}

TEST_F(AboutWindow, MailLinkToTheContact)
{
    w->show();
    QTest::mouseClick(w->Label3, Qt::LeftButton);
    ASSERT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(shell().calls[0].verb, "Open");
    EXPECT_EQ(shell().calls[0].file, "mailto:" + site::adresseContact() +
                                         "?subject=A propos du logiciel Vorn Lud 13.19.10");
    EXPECT_EQ(shell().calls[0].showCommand, 5);
    EXPECT_TRUE(dialogs().messages.empty());

    shell().results.push_back(31);
    w->Label3Click();
    ASSERT_EQ(dialogs().texts(),
              QStringList{"Le courier électronique par défaut\r\rn'est pas installé correctement"});
    EXPECT_EQ(dialogs().messages[0].type, platform::mtWarning);
    EXPECT_EQ(dialogs().messages[0].buttons, platform::mbYes);
}

TEST_F(AboutWindow, HandCursorOverTheAddress)
{
    w->Label3MouseEnter();
    EXPECT_EQ(w->Label3->cursor().shape(), Qt::PointingHandCursor);
    w->Label3MouseLeave();
    EXPECT_EQ(w->Label3->cursor().shape(), Qt::ArrowCursor);
}

// The committee's logo beside the program is shown; a pipe of its name is
// not waited on (the box is made at start-up): the drawn logo stands in.
TEST_F(AboutWindow, TheLogoBesideTheProgram)
{
    const QString logo = fichierProgramme(site::fichierLogo());
    for (const bool tube : {false, true}) {
        QFile::remove(logo);
        QImage vert(10, 10, QImage::Format_RGB32);
        vert.fill(Qt::green);
        ASSERT_TRUE(tube ? ::mkfifo(QFile::encodeName(logo).constData(), 0600) == 0
                         : vert.save(logo));
        TApropos a;
        EXPECT_EQ(a.Image2->pixmap().toImage().pixelColor(1, 1) == Qt::green, !tube);
    }
}
