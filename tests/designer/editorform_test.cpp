// The memo text editor's window driven as a user would: what it opens with,
// the script check that keeps it open and points at the error, the keys that
// close it, and the designer window opening it for a memo.
#include "tests/designer/designer_fixture.h"
#include "tests/designer/window_fixture.h"

#include "designer/core/memoeditrules.h"
#include "designer/core/objecteditors.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/editorform.h"

#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace designer::test
{
namespace
{

using namespace report;

void click(TfrSpeedButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

class EditorFormTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
        host.resize(300, 200);
        form = new TfrEditorForm(*core, &host);
    }
    void TearDown() override
    {
        platform::TRegistry::setFileName(QString());
        DesignerFixture::TearDown();
    }
    // Opens the editor on view and runs body inside it; the modal result.
    int edit(TfrView &v, const std::function<void(TfrEditorForm &)> &body)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            body(*form);
            if (form->isVisible())
                form->reject();
        });
        const int result = form->ShowEditor(v);
        EXPECT_TRUE(ran);
        return result;
    }
    QTemporaryDir dir;
    QWidget host;
    TfrEditorForm *form = nullptr;
};

TEST_F(EditorFormTest, MemoWithoutScriptOpensOnTheTemplateAndStoresNone)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    m->Memo = QStringList{QStringLiteral("Nom : [Nom]")};
    const int result = edit(*m, [](TfrEditorForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur de texte"));
        EXPECT_EQ(f.ScriptMemo->toPlainText(), QStringLiteral("begin\n  \nend"));
        EXPECT_TRUE(f.ScriptPanel->isVisible());
        EXPECT_TRUE(f.ScriptB->Down());
        EXPECT_EQ(f.M1->toPlainText(), QStringLiteral("Nom : [Nom]"));
        EXPECT_EQ(f.focusWidget(), f.M1);
        EXPECT_FALSE(f.ErrorPanel->isVisible());
        // A long line wrapped on the screen is stored as one line.
        click(f.WordWrapB);
        EXPECT_EQ(f.M1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        f.M1->setPlainText(QString(300, QLatin1Char('x')) + QStringLiteral("\nfin"));
        click(f.OkB);
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(m->Memo, (QStringList{QString(300, QLatin1Char('x')), QStringLiteral("fin")}));
    EXPECT_TRUE(m->Script.isEmpty());
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

TEST_F(EditorFormTest, ScriptErrorKeepsTheWindowOpenAndPointsAtIt)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    const int result = edit(*m, [&](TfrEditorForm &f) {
        f.M1->setPlainText(QStringLiteral("Total : [Somme]"));
        f.ScriptMemo->setPlainText(QStringLiteral("begin x := 1 y := 2 end"));
        click(f.OkB);
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.ErrorPanel->isVisible());
        EXPECT_TRUE(f.ErrorPanel->text().startsWith(QStringLiteral(" Line 1/14:")))
            << f.ErrorPanel->text().toStdString();
        const QTextCursor c = f.ScriptMemo->textCursor();
        EXPECT_EQ(c.blockNumber(), 0);
        EXPECT_EQ(c.positionInBlock(), 13);
        EXPECT_EQ(f.focusWidget(), f.ScriptMemo);
        EXPECT_EQ(f.ActiveMemo, f.ScriptMemo);
        EXPECT_EQ(designerWindow->beforeChanges, 0);
        vorn_test::saveShot(&f, QStringLiteral("memo_editor.png"));
        // Any key in a pane hides the error; Esc cancels.
        QTest::keyClick(f.ScriptMemo, Qt::Key_End);
        EXPECT_FALSE(f.ErrorPanel->isVisible());
        QTest::keyClick(f.ScriptMemo, Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_TRUE(m->Memo.isEmpty());
    EXPECT_TRUE(m->Script.isEmpty());
    EXPECT_EQ(designerWindow->beforeChanges, 0);
}

TEST_F(EditorFormTest, CtrlEnterAcceptsAndInsKeyInsertsAField)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    core->state.Requests.fieldPicker = [] { return std::optional<QString>(QStringLiteral("Nom")); };
    core->state.Requests.expressionBuilder = [] {
        return std::optional<QString>(QStringLiteral("[A] + [B]"));
    };
    const int result = edit(*m, [](TfrEditorForm &f) {
        QTest::keyClick(f.M1, Qt::Key_Insert);
        QTest::keyClicks(f.M1, QStringLiteral(" "));
        click(f.ExprB);
        f.ScriptMemo->setPlainText(QStringLiteral("begin\n  x := 1;\nend"));
        QTest::keyClick(f.M1, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("[Nom] [[A] + [B]]")});
    EXPECT_EQ(m->Script,
              (QStringList{QStringLiteral("begin"), QStringLiteral("  x := 1;"), "end"}));
}

TEST_F(EditorFormTest, BandHasNoScriptPaneAndRestrictionsMakePanesReadOnly)
{
    TfrBandView *b = band(btMasterData, 0, 20, QStringLiteral("Donnees"));
    b->Script = QStringList{QStringLiteral("broken (")};
    const int result = edit(*b, [](TfrEditorForm &f) {
        EXPECT_FALSE(f.ScriptPanel->isVisible());
        EXPECT_FALSE(f.Splitter->isVisible());
        EXPECT_EQ(f.M1->parentWidget()->height(), f.panesHeight());
        click(f.ScriptB);
        EXPECT_TRUE(f.ScriptB->Down());
        EXPECT_FALSE(f.ScriptPanel->isVisible());
        f.M1->setPlainText(QStringLiteral("1"));
        click(f.OkB);
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(b->Memo, QStringList{QStringLiteral("1")});
    EXPECT_EQ(b->Script, QStringList{QStringLiteral("broken (")});

    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    m->Restrictions = frrfDontEditMemo;
    edit(*m, [](TfrEditorForm &f) {
        EXPECT_TRUE(f.M1->isReadOnly());
        EXPECT_FALSE(f.ScriptMemo->isReadOnly());
        // The script pane hidden by its button stays hidden at the next opening.
        click(f.ScriptB);
        EXPECT_FALSE(f.ScriptPanel->isVisible());
        click(f.OkB);
    });
    EXPECT_FALSE(form->ScriptShown);
    // Shown again and cancelled: the next opening keeps it hidden.
    edit(*m, [](TfrEditorForm &f) {
        click(f.ScriptB);
        EXPECT_TRUE(f.ScriptPanel->isVisible());
        click(f.CancelB);
    });
    m->Restrictions = frrfDontEditScript;
    edit(*m, [](TfrEditorForm &f) {
        EXPECT_FALSE(f.M1->isReadOnly());
        EXPECT_TRUE(f.ScriptMemo->isReadOnly());
        EXPECT_FALSE(f.ScriptPanel->isVisible());
        EXPECT_FALSE(f.ScriptB->Down());
    });
}

TEST_F(EditorFormTest, ClipboardButtonsActOnTheLastFocusedPane)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    m->Memo = QStringList{QStringLiteral("[Nom]")};
    m->Restrictions = frrfDontEditScript;
    edit(*m, [](TfrEditorForm &f) {
        QApplication::setActiveWindow(&f);
        f.M1->selectAll();
        click(f.CutB);
        EXPECT_TRUE(f.M1->toPlainText().isEmpty());
        // The script pane is read-only: pasting there changes nothing.
        f.ScriptMemo->setFocus();
        EXPECT_EQ(f.ActiveMemo, f.ScriptMemo);
        click(f.PasteB);
        EXPECT_EQ(f.ScriptMemo->toPlainText(), QStringLiteral("begin\n  \nend"));
        f.M1->setFocus();
        click(f.PasteB);
        click(f.PasteB);
        EXPECT_EQ(f.M1->toPlainText(), QStringLiteral("[Nom][Nom]"));
        f.M1->selectAll();
        click(f.CopyB);
        f.M1->moveCursor(QTextCursor::End);
        click(f.PasteB);
        EXPECT_EQ(f.M1->toPlainText(), QStringLiteral("[Nom][Nom][Nom][Nom]"));
    });
}

TEST_F(EditorFormTest, BarDragMovesTheBorderWithinTheWindow)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 80, 20);
    edit(*m, [](TfrEditorForm &f) {
        const int top = f.ScriptTop;
        const int scriptH = f.ScriptPanel->height();
        f.SplitterDrag(30);
        EXPECT_EQ(f.ScriptTop, top + 30);
        EXPECT_EQ(f.ScriptPanel->height(), scriptH - 30);
        EXPECT_EQ(f.Splitter->y(), top + 30);
        // Dragged past the bottom, the script pane keeps a visible height.
        f.SplitterDrag(5000);
        EXPECT_GT(f.ScriptPanel->height(), 0);
        EXPECT_GT(f.M1->height(), 0);
    });
}

// The real designer window: Enter on a memo opens this editor, and the
// page's script editor reaches it through the registry.
class EditorWindowTest : public DesignerWindowFixture
{
protected:
    EditorWindowTest() : DesignerWindowFixture(QStringLiteral("VORNisation en LUDmarre")) {}
    // Runs body in the memo editor as soon as it is shown.
    static void whenEditorShown(const std::function<void(TfrEditorForm &)> &body)
    {
        QTimer::singleShot(0, [body] {
            auto *f = qobject_cast<TfrEditorForm *>(QApplication::activeModalWidget());
            ASSERT_NE(f, nullptr) << "the memo editor was not shown";
            body(*f);
            if (f->isVisible())
                f->reject();
        });
    }
};

TEST_F(EditorWindowTest, EnterOnAMemoOpensTheMemoEditor)
{
    auto owned = std::make_unique<TfrMemoView>();
    owned->Name = QStringLiteral("Memo1");
    owned->SetBounds(20, 20, 100, 20);
    auto *m = static_cast<TfrMemoView *>(page->Add(std::move(owned)));
    page->Script = QStringList{QStringLiteral("a := 1;")};
    design([&](TfrDesignerForm &f) {
        f.SelectByName(QStringLiteral("Memo1"));
        whenEditorShown([](TfrEditorForm &e) {
            e.M1->setPlainText(QStringLiteral("Bonjour"));
            click(e.OkB);
        });
        QTest::keyClick(&f, Qt::Key_Return);
        EXPECT_EQ(m->Memo, QStringList{QStringLiteral("Bonjour")});
        EXPECT_TRUE(f.IsModified());

        // The page's own script editor: Cancel leaves the script, OK stores it.
        TfrPropRec *rec = page->FindProperty(QStringLiteral("OnBeforePrint"));
        ASSERT_TRUE(rec && rec->PropEditor);
        whenEditorShown([](TfrEditorForm &e) {
            EXPECT_EQ(e.M1->toPlainText(), QStringLiteral("a := 1;"));
            e.M1->setPlainText(QStringLiteral("a := 2;"));
            click(e.CancelB);
        });
        EXPECT_FALSE(frObjects().frPropEditors.Run(rec->PropEditor));
        EXPECT_EQ(page->Script, QStringList{QStringLiteral("a := 1;")});
        whenEditorShown([](TfrEditorForm &e) {
            e.M1->setPlainText(QStringLiteral("a := 2;"));
            click(e.OkB);
        });
        EXPECT_TRUE(frObjects().frPropEditors.Run(rec->PropEditor));
        EXPECT_EQ(page->Script, QStringList{QStringLiteral("a := 2;")});
    });
}

} // namespace
} // namespace designer::test
