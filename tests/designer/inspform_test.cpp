// The object inspector's window: the edit line over the current row, commits
// by keys, double clicks and the choice list, the locked state, roll-up; and
// inside the designer, an edit typed in it and undone with Ctrl+Z.
#include "tests/designer/window_fixture.h"

#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/inspform.h"

#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "tests/support/gui/fakes.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <optional>

namespace designer::test
{
namespace
{

using report::FrVariant;

class InspFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        report::fr().resetForTests();
        report::fr().start();
        fakes.emplace();
        form = std::make_unique<TfrInspForm>(nullptr);
        form->OnPropertyModified = [this](int index) {
            commits.push_back({index, form->Props.Prop(index).ValueText});
            if (refill)
                refill();
        };
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        fakes.reset();
        report::fr().resetForTests();
    }

    // Rows: a text, a boolean, an enumeration with values, a colour, an
    // editor, a plain enumeration.
    void fill()
    {
        TPropList &p = form->Props;
        p.ClearProperties();
        p.AddProperty(QStringLiteral("Name"), FrVariant(QStringLiteral("Memo1")), propString, {},
                      {}, {});
        p.AddProperty(QStringLiteral("Visible"), FrVariant(false), propBoolean, {}, {}, {});
        p.AddProperty(
            QStringLiteral("FrameStyle"), FrVariant(2), propEnum,
            {QStringLiteral("psSolid"), QStringLiteral("psDash"), QStringLiteral("psDot")},
            {0, 1, 2}, {});
        p.AddProperty(QStringLiteral("FillColor"), FrVariant(0xFF), propColor, {}, {}, {});
        p.AddProperty(QStringLiteral("Memo"), FrVariant(QStringLiteral("(Memo)")),
                      propEditor | propOneObject, {}, {}, [this] { ++editorCalls; });
        p.AddProperty(QStringLiteral("Align"), FrVariant(QStringLiteral("Droite")), propEnum,
                      {QStringLiteral("Gauche"), QStringLiteral("Droite")}, {}, {});
        form->RefreshItems();
    }
    void select(const QString &name) { form->SelectRow(form->Props.indexOf(name)); }

    std::optional<vorn_test::SeamFakes> fakes;
    std::unique_ptr<TfrInspForm> form;
    std::vector<std::pair<int, QString>> commits;
    std::function<void()> refill;
    int editorCalls = 0;
};

TEST_F(InspFormTest, AnEmptyListShowsNoEditLineAndRowsShowItOnTheCurrentRow)
{
    form->RefreshItems();
    EXPECT_FALSE(form->Edit1->isVisible());
    EXPECT_EQ(form->ItemIndex, -1);
    fill();
    EXPECT_TRUE(form->Edit1->isVisible());
    EXPECT_EQ(form->ItemIndex, 0);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Memo1"));
    EXPECT_EQ(form->Edit1->x(), form->SplitX + 2);
    EXPECT_EQ(form->Edit1->height(), form->RowHeight - 2);
    // A choice row carries the arrow button, an editor row the ellipsis and
    // a read-only line.
    select(QStringLiteral("FillColor"));
    EXPECT_TRUE(form->ComboPanel->isVisible());
    EXPECT_FALSE(form->EditPanel->isVisible());
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("clRed"));
    select(QStringLiteral("Memo"));
    EXPECT_TRUE(form->EditPanel->isVisible());
    EXPECT_EQ(form->EditPanel->geometry(), QRect(form->GridWidth - 14, 4 * 16 + 1, 14, 14));
    EXPECT_TRUE(form->Edit1->isReadOnly());
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QTest::mouseClick(form->EditBtn, Qt::LeftButton);
    EXPECT_EQ(editorCalls, 2);
    // The row found again after a refill is the one of that name.
    fill();
    EXPECT_EQ(form->ItemIndex, 4);
}

TEST_F(InspFormTest, TypingThenMovingCommitsFirstAndEscRevertsTheTyping)
{
    fill();
    form->Edit1->selectAll();
    QTest::keyClicks(form->Edit1, QStringLiteral("Titre"));
    QTest::keyClick(form->Edit1, Qt::Key_Down);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0], std::make_pair(0, QStringLiteral("Titre")));
    EXPECT_EQ(form->ItemIndex, 1);
    QTest::keyClick(form->Edit1, Qt::Key_Up);
    EXPECT_EQ(form->ItemIndex, 0);
    QTest::keyClick(form->Edit1, Qt::Key_Up); // stays on the first row
    EXPECT_EQ(form->ItemIndex, 0);
    EXPECT_EQ(commits.size(), 1u);

    form->Edit1->selectAll();
    QTest::keyClicks(form->Edit1, QStringLiteral("Autre"));
    QTest::keyClick(form->Edit1, Qt::Key_Escape);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Titre"));
    EXPECT_FALSE(form->Edit1->isModified());
    QTest::keyClick(form->Edit1, Qt::Key_Down);
    EXPECT_EQ(commits.size(), 1u);
    // Enter commits in place.
    select(QStringLiteral("Name"));
    QTest::keyClicks(form->Edit1, QStringLiteral("X"));
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_EQ(form->ItemIndex, 0);
}

TEST_F(InspFormTest, ARefillDuringACommitSelectsTheSameIndexOrTheFirstRow)
{
    fill();
    refill = [this] { fill(); };
    select(QStringLiteral("Align"));
    QTest::keyClicks(form->Edit1, QStringLiteral("Gauche"));
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(form->ItemIndex, 5);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Droite")); // the designer's value

    refill = [this] {
        form->Props.ClearProperties();
        form->Props.AddProperty(QStringLiteral("Top"), FrVariant(4), propInteger, {}, {}, {});
        form->RefreshItems();
    };
    QTest::keyClicks(form->Edit1, QStringLiteral("Gauche"));
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    EXPECT_EQ(form->ItemIndex, 0);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("4"));
}

TEST_F(InspFormTest, DoubleClicksToggleBooleansAndCycleEnumerations)
{
    fill();
    select(QStringLiteral("Visible"));
    QTest::mouseDClick(form->Edit1, Qt::LeftButton);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits.back().second, QStringLiteral("True"));
    select(QStringLiteral("FrameStyle"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("psDot"));
    QTest::mouseDClick(form->Edit1, Qt::LeftButton); // wraps to the first value
    EXPECT_EQ(commits.back().second, QStringLiteral("psSolid"));
    QTest::mouseDClick(form->Edit1, Qt::LeftButton);
    EXPECT_EQ(commits.back().second, QStringLiteral("psDash"));
    select(QStringLiteral("Align"));
    QTest::mouseDClick(form->Edit1, Qt::LeftButton);
    EXPECT_EQ(commits.back().second, QStringLiteral("Gauche"));
    // A colour opens the colour dialog on the current colour.
    select(QStringLiteral("FillColor"));
    fakes->dialogs.colors.push_back(0x123456);
    QTest::mouseDClick(form->Edit1, Qt::LeftButton);
    ASSERT_EQ(fakes->dialogs.colorRequests.size(), 1u);
    EXPECT_EQ(fakes->dialogs.colorRequests[0], 0xFF);
    EXPECT_EQ(commits.back().second, QStringLiteral("$123456"));
    EXPECT_EQ(commits.size(), 5u);
    // A click on the grid then one on the line within the double-click time.
    fakes->clock.ticks = 1000;
    const QPoint visibleRow(10, form->Props.indexOf(QStringLiteral("Visible")) * 16 + 5);
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, visibleRow);
    EXPECT_EQ(form->ItemIndex, 1);
    fakes->clock.ticks = 1100;
    QTest::mouseClick(form->Edit1, Qt::LeftButton);
    EXPECT_EQ(commits.size(), 6u);
}

TEST_F(InspFormTest, TheChoiceListHoldsTheColoursInOrderEightRowsAtATime)
{
    fill();
    select(QStringLiteral("FillColor"));
    QTest::mouseClick(form->ComboBtn, Qt::LeftButton);
    TfrPopupListbox *list = form->PopupList;
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 42);
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    EXPECT_EQ(names, report::frColorNames());
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("clRed"));
    EXPECT_EQ(list->height(), 8 * (TfrPopupListbox::kItemHeight + 1) + 2);
    EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
    // Just below the edit line.
    EXPECT_EQ(list->y(), form->Panel->mapToGlobal(form->Edit1->geometry().bottomLeft()).y() + 1);
    // A click on an item commits its text.
    list->setCurrentRow(11);
    list->OnClick();
    EXPECT_FALSE(list->isVisible());
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].second, QStringLiteral("clLime"));

    select(QStringLiteral("Visible"));
    QTest::mouseClick(form->ComboBtn, Qt::LeftButton);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("False"));
    EXPECT_EQ(list->height(), 2 * (TfrPopupListbox::kItemHeight + 1) + 2);
    // A second click closes it.
    form->ComboBtnClick();
    EXPECT_FALSE(list->isVisible());
}

TEST_F(InspFormTest, ALockedInspectorShowsNoRowsAndIgnoresInput)
{
    fill();
    select(QStringLiteral("Memo"));
    form->SetLocked(true);
    EXPECT_FALSE(form->Edit1->isVisible());
    EXPECT_FALSE(form->EditPanel->isVisible());
    EXPECT_EQ(form->CB1->currentIndex(), -1);
    const int row = form->ItemIndex;
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(form->ItemIndex, row);
    EXPECT_TRUE(form->Edit1KeyDown(Qt::Key_Down));
    EXPECT_EQ(form->ItemIndex, row);
    form->EditBtnClick();
    form->ComboBtnClick();
    form->Edit1DblClick();
    form->CommitText(QStringLiteral("x"));
    EXPECT_EQ(editorCalls, 0);
    EXPECT_TRUE(commits.empty());
    form->SetLocked(false);
    EXPECT_TRUE(form->Edit1->isVisible());
}

TEST_F(InspFormTest, DeactivationCommitsAPlainRowButNotAColourRow)
{
    fill();
    select(QStringLiteral("FillColor"));
    QTest::keyClicks(form->Edit1, QStringLiteral("cl"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    EXPECT_TRUE(commits.empty());
    select(QStringLiteral("Name")); // leaving the row commits what was typed
    commits.clear();
    QTest::keyClicks(form->Edit1, QStringLiteral("Nouveau"));
    QApplication::sendEvent(form.get(), &deactivate);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].second, QStringLiteral("Nouveau"));
}

TEST_F(InspFormTest, DraggingTheColumnBorderAndRollingUp)
{
    fill();
    QTest::mousePress(form->PaintBox1, Qt::LeftButton, {}, QPoint(form->SplitX, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 5),
                     form->PaintBox1->mapToGlobal(QPointF(100, 5)), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(form->PaintBox1, &move);
    QTest::mouseRelease(form->PaintBox1, Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_EQ(form->SplitX, 100);
    EXPECT_EQ(form->Edit1->x(), 102);
    // Never at or left of 5.
    QTest::mousePress(form->PaintBox1, Qt::LeftButton, {}, QPoint(100, 5));
    QMouseEvent left(QEvent::MouseMove, QPointF(3, 5), form->PaintBox1->mapToGlobal(QPointF(3, 5)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form->PaintBox1, &left);
    QTest::mouseRelease(form->PaintBox1, Qt::LeftButton);
    EXPECT_EQ(form->SplitX, 100);

    int changes = 0;
    form->OnRollUpChanged = [&] { ++changes; };
    const int height = form->height();
    QTest::mouseDClick(form->Title, Qt::LeftButton);
    EXPECT_TRUE(form->rolledUp());
    EXPECT_FALSE(form->CB1->isVisible());
    form->ShowAndRestore();
    EXPECT_FALSE(form->rolledUp());
    EXPECT_EQ(form->height(), height);
    EXPECT_TRUE(form->CB1->isVisible());
    EXPECT_EQ(changes, 2);
}

// --- inside the designer

class InspWindowTest : public DesignerWindowFixture
{
protected:
    // Runs body with the window and its inspector.
    void design(const std::function<void(TfrDesignerForm &, TfrInspForm &)> &body)
    {
        bool found = false;
        DesignerWindowFixture::design([&](TfrDesignerForm &f) {
            TfrInspForm *insp = f.findChild<TfrInspForm *>();
            found = insp != nullptr;
            if (insp)
                body(f, *insp);
        });
        EXPECT_TRUE(found) << "the inspector was not shown";
    }
};

TEST_F(InspWindowTest, ALeftTypedInTheInspectorMovesTheMemoAndCtrlZPutsItBack)
{
    report::TfrMemoView *m = memo(QStringLiteral("Memo1"), 40, 30);
    design([&](TfrDesignerForm &f, TfrInspForm &insp) {
        EXPECT_TRUE(insp.isVisible());
        EXPECT_EQ(insp.windowTitle(), QStringLiteral("Inspecteur d'objet"));
        // Nothing selected: the page.
        EXPECT_EQ(insp.Props.InspectedObjectName, QStringLiteral("Page1"));
        f.SelectByName(QStringLiteral("Memo1"));
        EXPECT_EQ(insp.Props.InspectedObjectName, QStringLiteral("Memo1"));
        EXPECT_EQ(insp.CB1->closedText(), QStringLiteral("Memo1: TfrMemoView"));
        EXPECT_EQ(insp.CB1->count(), 2); // Memo1, Page1

        insp.SelectRow(insp.Props.indexOf(QStringLiteral("Left")));
        insp.Edit1->selectAll();
        QTest::keyClicks(insp.Edit1, QStringLiteral("100"));
        QTest::keyClick(insp.Edit1, Qt::Key_Return);
        EXPECT_EQ(m->x, 100);
        EXPECT_EQ(insp.Edit1->text(), QStringLiteral("100"));
        EXPECT_TRUE(f.IsModified());

        // An unreadable value is refused with its message; the row shows the
        // object's value again.
        QTest::keyClicks(insp.Edit1, QStringLiteral("12a"));
        QTest::keyClick(insp.Edit1, Qt::Key_Return);
        ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
        EXPECT_EQ(fakes->dialogs.messages[0].text,
                  QStringLiteral("'12a' n'est pas une valeur entière correcte"));
        EXPECT_EQ(m->x, 100);
        EXPECT_EQ(insp.Edit1->text(), QStringLiteral("100"));
        EXPECT_EQ(f.core().undo.count(UndoManager::UndoBuffer), 1);

        f.activateWindow();
        QApplication::setActiveWindow(&f);
        QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(page->Object(0)->x, 40);
        // The inspector follows the undone object.
        const int left = insp.Props.indexOf(QStringLiteral("Left"));
        if (page->Object(0)->Selected) {
            ASSERT_GE(left, 0);
            EXPECT_EQ(insp.Props.Prop(left).ValueText, QStringLiteral("40"));
        } else {
            EXPECT_EQ(insp.Props.InspectedObjectName, QStringLiteral("Page1"));
        }

        // Choosing the page in the list shows it.
        insp.CB1Activated(QStringLiteral("Page1"));
        EXPECT_EQ(insp.Props.InspectedObjectName, QStringLiteral("Page1"));

        if (vorn_test::shotsRequested()) {
            f.SelectByName(QStringLiteral("Memo1"));
            insp.SelectRow(insp.Props.indexOf(QStringLiteral("FillColor")));
            vorn_test::saveShot(&insp, QStringLiteral("inspector.png"));
        }
    });
}

// Never placed before, the tool windows open at the right of the page area,
// the inspector at its top, and not where the window system puts a new
// window (over the designer's menu and tool bars); a stored place is kept.
TEST_F(InspWindowTest, ToolWindowsNeverPlacedOpenBesideThePageArea)
{
    QRect placed;
    design([&](TfrDesignerForm &f, TfrInspForm &insp) {
        f.state().Requests.inspectorShow();
        f.state().Requests.dbFieldsShow();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        const QRect area(f.ScrollBox1->mapToGlobal(QPoint(0, 0)), f.ScrollBox1->size());
        const QRect frame = insp.frameGeometry();
        EXPECT_TRUE(area.contains(frame.topLeft())) << frame.x() << "," << frame.y();
        EXPECT_GE(frame.left(), area.center().x());
        QWidget *fields = f.findChild<QWidget *>(QStringLiteral("InsFieldsForm"));
        ASSERT_NE(fields, nullptr);
        EXPECT_TRUE(area.contains(fields->frameGeometry().topLeft()));
        insp.move(frame.topLeft() - QPoint(100, 0));
        placed = insp.frameGeometry();
    });
    design([&](TfrDesignerForm &, TfrInspForm &insp) {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        EXPECT_EQ(insp.frameGeometry().topLeft(), placed.topLeft());
    });
}

TEST_F(InspWindowTest, F11ShowsARolledUpOrClosedInspectorAgain)
{
    memo(QStringLiteral("Memo1"), 40, 30);
    design([&](TfrDesignerForm &f, TfrInspForm &insp) {
        insp.RollUp();
        ASSERT_TRUE(insp.rolledUp());
        f.FormKeyDown(Qt::Key_F11, {});
        EXPECT_FALSE(insp.rolledUp());
        insp.close();
        EXPECT_FALSE(insp.isVisible());
        EXPECT_FALSE(f.state().Requests.inspectorSettings().second);
        f.FormKeyDown(Qt::Key_F11, {});
        EXPECT_TRUE(insp.isVisible());
        EXPECT_TRUE(f.state().Requests.inspectorSettings().second);
        // Locked while a preview runs.
        f.state().Requests.inspectorLock(true);
        EXPECT_TRUE(insp.Locked());
        EXPECT_FALSE(insp.Edit1->isVisible());
        f.state().Requests.inspectorLock(false);
        // Split position from the settings, never under 20.
        f.state().Requests.inspectorRestore(5, true);
        EXPECT_EQ(insp.SplitX, 20);
        EXPECT_EQ(f.state().Requests.inspectorSettings().first, 20);
        EXPECT_EQ(f.state().Requests.inspectorClientHeight(), insp.height() - 16);
        EXPECT_FALSE(f.state().Requests.inspectorFrame().isEmpty());
    });
}

} // namespace
} // namespace designer::test
