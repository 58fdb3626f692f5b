// The window side of the file and page commands: the page options dialog,
// the page tabs dragged onto one another, the question before the window
// closes, and the caption that follows the file.
#include "tests/designer/designer_fixture.h"
#include "tests/designer/window_fixture.h"

#include "designer/core/pagecommands.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/pgoptform.h"

#include "platform/dialogs/dialogs.h"
#include "platform/registry/registry.h"
#include "report/core/frlocale.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/shots.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace designer::test
{

using namespace report;

class PgoptFormTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        pages = installPageCommands(*core);
        installPageOptionsDialog(*core, pages);
    }
    void TearDown() override
    {
        pages.reset();
        DesignerFixture::TearDown();
    }
    static int indexOf(const PageOptionsChoice &c, int code)
    {
        const auto it = std::find(c.paperCodes.begin(), c.paperCodes.end(), code);
        return it == c.paperCodes.end() ? -1 : int(it - c.paperCodes.begin());
    }
    std::shared_ptr<PageCommands> pages;
};

TEST_F(PgoptFormTest, TheSizeFieldsAreOfferedForTheCustomSizeOnly)
{
    page->ChangePaper(kFrCustomPaper, 2100, 1485, kFrDefaultBin, 0);
    page->LeftMargin = 36;
    TfrPgoptForm form;
    const PageOptionsChoice choice = pages->currentPageOptions();
    form.setChoice(choice);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Options de la page"));
    EXPECT_TRUE(form.Button1->isDefault());
    EXPECT_EQ(form.E1->text(), QStringLiteral("210"));
    EXPECT_EQ(form.E3->text(), QStringLiteral("10"));
    EXPECT_GE(form.ComB1->view()->minimumWidth(), 200);
    auto sizeFields = [&] {
        return std::vector<bool>{form.Label1->isEnabled(), form.E1->isEnabled(),
                                 form.Label2->isEnabled(), form.E2->isEnabled()};
    };
    EXPECT_EQ(sizeFields(), std::vector<bool>(4, true));
    form.ComB1->setCurrentIndex(indexOf(choice, 9));
    EXPECT_EQ(sizeFields(), std::vector<bool>(4, false));
    form.ComB1->setCurrentIndex(indexOf(choice, kFrCustomPaper));
    EXPECT_EQ(sizeFields(), std::vector<bool>(4, true));

    // The orientation picture follows the buttons.
    EXPECT_TRUE(form.ImgPortrait->isVisible());
    EXPECT_FALSE(form.ImgLandscape->isVisible());
    form.RB2->click();
    EXPECT_FALSE(form.ImgPortrait->isVisible());
    EXPECT_TRUE(form.ImgLandscape->isVisible());

    if (vorn_test::shotsRequested()) {
        form.RB1->click();
        form.resize(form.sizeHint().expandedTo(QSize(360, 300)));
        for (int i = 0; i < 4; ++i) {
            form.PageControl1->setCurrentIndex(i);
            QApplication::processEvents();
            vorn_test::saveShot(&form, QStringLiteral("pgopt_%1.png").arg(i + 1));
        }
    }
    const QStringList tabs = {form.PageControl1->tabText(0), form.PageControl1->tabText(1),
                              form.PageControl1->tabText(2), form.PageControl1->tabText(3)};
    EXPECT_EQ(tabs, QStringList({QStringLiteral("Papier"), QStringLiteral("Source"),
                                 QStringLiteral("Marges"), QStringLiteral("Options")}));
}

TEST_F(PgoptFormTest, OkRefusesAFieldNoPageCanHaveNamesItAndShowsIt)
{
    page->ChangePaper(kFrCustomPaper, 2100, 2970, kFrDefaultBin, 0);
    TfrPgoptForm form;
    form.setChoice(pages->currentPageOptions());
    form.show();
    struct Case {
        QLineEdit *field;
        const char *text;
        QWidget *sheet;
        const char *what;
    };
    const Case cases[] = {
        {form.E3, "abc", form.TabSheet2, "la marge gauche : de 0 à 10 000 mm"},
        {form.E7, "1e999", form.TabSheet3, "l'écart entre colonnes : de 0 à 10 000 mm"},
        {form.E1, "0", form.TabSheet1, "la largeur du papier : de 1 à 10 000 mm"},
        {form.E2, "9.2e18", form.TabSheet1, "la hauteur du papier : de 1 à 10 000 mm"},
        {form.E1, "214748365", form.TabSheet1, "la largeur du papier : de 1 à 10 000 mm"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        fakes->dialogs.messages.clear();
        const QString before = c.field->text();
        c.field->setText(QString::fromLatin1(c.text));
        form.PageControl1->setCurrentIndex(1);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        EXPECT_NE(form.result(), int(QDialog::Accepted));
        ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
        EXPECT_EQ(fakes->dialogs.messages[0].caption, QStringLiteral("Erreur"));
        EXPECT_EQ(fakes->dialogs.messages[0].text,
                  QStringLiteral("'%1' n'est pas une valeur correcte pour ")
                          .arg(QString::fromLatin1(c.text)) +
                      QString::fromUtf8(c.what));
        EXPECT_EQ(form.PageControl1->currentWidget(), c.sheet);
        EXPECT_EQ(form.focusWidget(), c.field);
        c.field->setText(before);
    }
    EXPECT_EQ(page->LeftMargin, 0);
    EXPECT_FALSE(rep->Modified);
}

TEST_F(PgoptFormTest, TheSlotAppliesWhatTheDialogConfirmed)
{
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        QTimer::singleShot(0, [confirm] {
            auto *form = qobject_cast<TfrPgoptForm *>(QApplication::activeModalWidget());
            ASSERT_TRUE(form);
            form->E3->setText(QStringLiteral("20"));
            form->CB1->setChecked(true);
            (confirm ? form->Button1 : form->Button2)->click();
        });
        EXPECT_EQ(core->state.Requests.pageOptions(), confirm);
        EXPECT_EQ(page->LeftMargin, confirm ? 72 : 0);
        EXPECT_EQ(page->PrintToPrevPage, confirm ? 0xFFFF : 0);
    }
}

// --- the designer window

class FilesWindowTest : public DesignerWindowFixture
{
protected:
    void SetUp() override
    {
        DesignerWindowFixture::SetUp();
        for (int i = 2; i <= 3; ++i) {
            TfrPage *p = rep->Pages().Add();
            p->Name = QStringLiteral("Page%1").arg(i);
        }
        rep->FileName = dir.filePath(QStringLiteral("Classement.frf"));
    }
    // Runs body in the designer, then leaves it without the save question.
    int design(const std::function<void(TfrDesignerForm &)> &body)
    {
        return DesignerWindowFixture::design([&](TfrDesignerForm &f) {
            body(f);
            if (f.isVisible())
                f.SetModified(false);
        });
    }
};

TEST_F(FilesWindowTest, DraggingTheFirstTabOntoTheThirdMovesItsPage)
{
    TfrPage *first = rep->Pages()[0];
    design([&](TfrDesignerForm &f) {
        ASSERT_EQ(f.Tab1->count(), 3);
        const QPoint from = f.Tab1->tabRect(0).center();
        const QPoint to = f.Tab1->tabRect(2).center();
        // A click alone moves nothing.
        mouse(f.Tab1, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(f.Tab1, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(rep->Pages()[0], first);

        mouse(f.Tab1, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(f.Tab1, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(f.Tab1, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(f.Tab1, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(rep->Pages()[2], first);
        EXPECT_EQ(rep->Pages()[0]->Name, QStringLiteral("Page2"));
        EXPECT_EQ(f.state().CurPage, 2);
        EXPECT_EQ(f.Tab1->currentIndex(), 2);
        EXPECT_EQ(f.state().page(), first);
        EXPECT_TRUE(f.IsModified());
    });
}

TEST_F(FilesWindowTest, ClosingAModifiedDesignerAsksAndNoCancelsIt)
{
    const int result = design([&](TfrDesignerForm &f) {
        f.SetModified(true);
        fakes->dialogs.answers.push_back(platform::mrCancel);
        f.ExitBClick();
        EXPECT_TRUE(f.isVisible());
        fakes->dialogs.answers.push_back(platform::mrNo);
        f.ExitBClick();
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_EQ(fakes->dialogs.count(QStringLiteral("Enregistrer les changements sur Classement.frf?")),
              2);
}

TEST_F(FilesWindowTest, SaveAsNamesTheWindowAndClosingAfterASaveAsksNothing)
{
    const QString chosen = dir.filePath(QStringLiteral("Nouveau.txt"));
    const int result = design([&](TfrDesignerForm &f) {
        f.SetModified(true);
        EXPECT_TRUE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        fakes->dialogs.files.push_back(chosen);
        f.action(QStringLiteral("N17"))->trigger();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Nouveau.frf"));
        EXPECT_FALSE(f.IsModified());
        EXPECT_FALSE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        f.ExitBClick();
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_TRUE(fakes->dialogs.messages.empty());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Nouveau.frf"))));
    EXPECT_EQ(rep->FileName, dir.filePath(QStringLiteral("Nouveau.frf")));
}

TEST_F(FilesWindowTest, ThePopupKeepsItsSevenItemsAndAddsTheSelectedObjects)
{
    design([&](TfrDesignerForm &f) {
        auto m = std::make_unique<TfrMemoView>();
        m->SetBounds(10, 10, 50, 20);
        m->Selected = true;
        f.state().page()->Add(std::move(m));
        f.selectionChanged();
        std::vector<qsizetype> counts;
        for (bool selected : {true, true, false}) {
            if (!selected)
                f.state().UnselectAll();
            emit f.Popup1->aboutToShow();
            counts.push_back(f.Popup1->actions().size());
        }
        EXPECT_GT(counts[0], 7);
        EXPECT_EQ(counts[1], counts[0]);
        EXPECT_EQ(counts[2], 7);
    });
}

} // namespace designer::test
