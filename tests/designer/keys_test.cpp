// The designer's keyboard: the order of the key tests, deletion with its
// undo entry, the tool-bar shortcuts, the arrows that move, resize, jump to
// the nearest object or snap against it.
#include "tests/designer/designer_fixture.h"

namespace designer::test
{

using namespace report;

class KeysTest : public DesignerFixture
{
protected:
    // Presses a key; returns what is left of it for the focused control.
    int press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        core->keys.FormKeyDown(key, modifiers);
        return key;
    }
    // Every tag the attribute command was run with.
    void recordAttributeCommands()
    {
        core->state.Requests.attributeCommand = [this](int tag) { tags.push_back(tag); };
    }
    std::vector<int> tags;
};

// --- nearest object

struct NearestCase {
    const char *what;
    int dx, dy;
    int expected;    // index among others, -1 none
    QRect others[3]; // named O0, O1 ... in list order; a null one is none
};

TEST_F(KeysTest, NearestObjectScoresInTheFourDirections)
{
    // The selected object spans (100, 100) to (150, 120).
    const std::vector<NearestCase> cases{
        {"right: level beats lower and nearer", 1, 0, 0, QRect(200, 100, 30, 20),
         QRect(160, 300, 30, 20), QRect(100, 50, 30, 20)},
        {"right: overlapping ahead scores from the left edge", 1, 0, 1, QRect(200, 100, 30, 20),
         QRect(120, 90, 50, 40), QRect()},
        {"left: a tie goes to the earlier one", -1, 0, 1, QRect(130, 100, 30, 20),
         QRect(60, 40, 20, 20), QRect(20, 110, 30, 20)},
        {"left: overlapping behind scores from the right edge", -1, 0, 1, QRect(60, 40, 20, 20),
         QRect(90, 100, 40, 20), QRect()},
        {"down", 0, 1, 2, QRect(0, 100, 20, 20), QRect(300, 130, 20, 20), QRect(100, 200, 50, 20)},
        {"up: the one off to the left is nearer", 0, -1, 1, QRect(110, 0, 20, 20),
         QRect(0, 60, 50, 20), QRect()},
        {"up: nothing above", 0, -1, -1, QRect(100, 200, 50, 20), QRect(300, 100, 20, 20), QRect()},
        {"right: too far to reach", 1, 0, -1, QRect(10200, 100, 30, 20), QRect(), QRect()},
    };
    for (const NearestCase &c : cases) {
        page->Clear();
        band(btMasterData, 0, 400, QStringLiteral("MasterData1")); // bands never count
        std::vector<TfrView *> others;
        for (size_t i = 0; i < std::size(c.others) && !c.others[i].isNull(); ++i) {
            const QRect &r = c.others[i];
            others.push_back(
                memo(QStringLiteral("O%1").arg(i), r.x(), r.y(), r.width(), r.height()));
        }
        TfrView *t = memo(QStringLiteral("T"), 100, 100, 50, 20);
        select({t});
        const int found = core->keys.NearestObject(c.dx, c.dy);
        if (c.expected < 0)
            EXPECT_EQ(found, -1) << c.what;
        else
            EXPECT_EQ(found >= 0 ? page->Object(found) : nullptr, others[size_t(c.expected)])
                << c.what;
    }
}

TEST_F(KeysTest, APlainArrowSelectsTheNearestObjectOrKeepsTheSelection)
{
    TfrView *t = memo(QStringLiteral("T"), 100, 100, 50, 20);
    TfrView *right = memo(QStringLiteral("Right"), 200, 100, 30, 20);
    select({t});
    press(Qt::Key_Left);
    EXPECT_TRUE(t->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);

    press(Qt::Key_Right);
    EXPECT_FALSE(t->Selected);
    EXPECT_TRUE(right->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);
    EXPECT_EQ(core->state.LastSelected(), right);
    EXPECT_EQ(geometry(t), QRect(100, 100, 50, 20));
    EXPECT_EQ(undoCount(), 0);
}

TEST_F(KeysTest, AltArrowSnapsAgainstTheNearestObjectUnlessAlreadyTouching)
{
    TfrView *t = memo(QStringLiteral("T"), 100, 100, 50, 20);
    TfrView *w = memo(QStringLiteral("W"), 150, 100, 30, 20);
    select({t});
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(geometry(t), QRect(100, 100, 50, 20));
    EXPECT_TRUE(t->Selected);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(designerWindow->modified);

    w->x = 230;
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(geometry(t), QRect(180, 100, 50, 20));
    EXPECT_TRUE(t->Selected);
    ASSERT_EQ(undoCount(), 1);
    core->undo.ApplyUndoEntry(UndoManager::UndoBuffer);
    EXPECT_EQ(geometry(page->Object(page->IndexOfObjectID(t->ID))), QRect(100, 100, 50, 20));
}

TEST_F(KeysTest, AltArrowSnapsInEveryDirectionButNotAnObjectThatMayNotMove)
{
    TfrView *t = memo(QStringLiteral("T"), 100, 100, 50, 20);
    memo(QStringLiteral("Left"), 20, 100, 30, 20);
    memo(QStringLiteral("Above"), 100, 10, 50, 30);
    memo(QStringLiteral("Below"), 100, 300, 50, 30);
    select({t});
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(t->x, 50);
    press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(t->y, 40);
    // Below, the object on the left (top 100) is nearer than the one under T.
    press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(std::tuple(t->y, t->x), std::tuple(80, 50));

    t->Restrictions = frrfDontMove;
    press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(t->y, 80);
    t->Restrictions = 0;
    frObjects().frDesignerRestrictions = 1 << drNoMove;
    press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(t->y, 80);
}

// --- moving and resizing

TEST_F(KeysTest, CtrlArrowsMoveShiftArrowsResizeAndAnUnsizableObjectMovesInstead)
{
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    TfrView *b = memo(QStringLiteral("B"), 300, 100, 50, 20);
    select({a, b});
    EXPECT_EQ(press(Qt::Key_Left, Qt::ControlModifier), 0);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(geometry(a), QRect(99, 101, 50, 20));
    EXPECT_EQ(geometry(b), QRect(299, 101, 50, 20));
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(geometry(a), QRect(99, 101, 51, 19));
    EXPECT_EQ(undoCount(), 4);

    select({a});
    a->Restrictions = frrfDontSize;
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(geometry(a), QRect(100, 101, 51, 19));

    a->Restrictions = frrfDontSize | frrfDontMove;
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(geometry(a), QRect(100, 101, 51, 19));

    // Resizing forbidden for the whole designer: the object moves instead.
    a->Restrictions = 0;
    frObjects().frDesignerRestrictions = 1 << drNoResize;
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(geometry(a), QRect(101, 101, 51, 19));
    frObjects().frDesignerRestrictions = (1 << drNoResize) | (1 << drNoMove);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(geometry(a), QRect(101, 101, 51, 19));
}

TEST_F(KeysTest, ArrowsChangeNothingWithoutASelectionOrWhileABoxIsTypedIn)
{
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    TfrView *b = memo(QStringLiteral("B"), 200, 100, 50, 20);
    EXPECT_EQ(press(Qt::Key_Right, Qt::ControlModifier), int(Qt::Key_Right));
    EXPECT_EQ(press(Qt::Key_Right), int(Qt::Key_Right));
    EXPECT_EQ(geometry(a), QRect(100, 100, 50, 20));
    EXPECT_EQ(undoCount(), 0);

    select({a});
    view.fontSizeFocus = true;
    EXPECT_EQ(press(Qt::Key_Right, Qt::ControlModifier), int(Qt::Key_Right));
    press(Qt::Key_Right);
    EXPECT_EQ(geometry(a), QRect(100, 100, 50, 20));
    EXPECT_TRUE(a->Selected);
    EXPECT_FALSE(b->Selected);
}

TEST_F(KeysTest, MovesAndResizesStayWithinTheGeometryRange)
{
    TfrView *a = memo(QStringLiteral("A"), kFrMaxGeometry, -kFrMaxGeometry, kFrMaxGeometry, 20);
    select({a});
    press(Qt::Key_Right, Qt::ControlModifier);
    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(geometry(a), QRect(kFrMaxGeometry, -kFrMaxGeometry, kFrMaxGeometry, 20));

    // Snapping against a damaged object whose right edge lies beyond the range.
    a->SetBounds(-kFrMaxGeometry + 50, 0, 10, 10);
    memo(QStringLiteral("W"), -kFrMaxGeometry + 100, 0, -200, 10);
    select({a});
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(a->x, -kFrMaxGeometry);
}

// --- the key tests and their order

TEST_F(KeysTest, EscapeResetsTheToolAndSelectionUnlessAButtonIsHeld)
{
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    select({a});
    view.tool = kToolMemo;
    core->surface.Down = true;
    press(Qt::Key_Escape);
    EXPECT_TRUE(a->Selected);
    EXPECT_EQ(view.tool, kToolMemo);
    EXPECT_TRUE(view.pressed.empty());

    core->surface.Down = false;
    press(Qt::Key_Escape);
    EXPECT_FALSE(a->Selected);
    EXPECT_EQ(core->state.SelectedCount, 0);
    EXPECT_EQ(core->state.LastSelected(), nullptr);
    EXPECT_EQ(view.pressed, std::vector<int>{kToolSelect});
}

TEST_F(KeysTest, InsertOpensTheFieldsWindowOnAReportPageOnly)
{
    int shown = 0;
    core->state.Requests.dbFieldsShow = [&] { ++shown; };
    page->PageTypeValue = ptDialog;
    EXPECT_EQ(press(Qt::Key_Insert), int(Qt::Key_Insert));
    EXPECT_EQ(shown, 0);
    page->PageTypeValue = ptReport;
    EXPECT_EQ(press(Qt::Key_Insert, Qt::ControlModifier), int(Qt::Key_Insert));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(press(Qt::Key_Insert), 0);
    EXPECT_EQ(shown, 1);
}

TEST_F(KeysTest, EnterAppliesAToolBarBoxOrOpensTheEditorOfTheOneSelectedObject)
{
    recordAttributeCommands();
    std::vector<std::pair<TfrView *, bool>> edited;
    core->state.Requests.objectEditor = [&](TfrView *v, bool ctrl) {
        edited.emplace_back(v, ctrl);
    };
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    TfrView *b = memo(QStringLiteral("B"), 200, 100, 50, 20);
    select({a});

    view.fontSizeFocus = true;
    EXPECT_EQ(press(Qt::Key_Return), 0);
    view.fontSizeFocus = false;
    view.lineWidthFocus = true;
    EXPECT_EQ(press(Qt::Key_Enter, Qt::KeypadModifier), 0);
    view.lineWidthFocus = false;
    EXPECT_EQ(tags, (std::vector<int>{8, 6}));
    EXPECT_TRUE(edited.empty());

    press(Qt::Key_Return);
    press(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(edited.size(), 2u);
    EXPECT_EQ(edited[0], std::make_pair(a, false));
    EXPECT_EQ(edited[1], std::make_pair(a, true));

    select({a, b});
    press(Qt::Key_Return);
    EXPECT_EQ(edited.size(), 2u);
}

TEST_F(KeysTest, CtrlShortcutsRunTheirToolBarCommandsOnASelection)
{
    recordAttributeCommands();
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    TfrView *b = memo(QStringLiteral("B"), 200, 100, 50, 20);

    // Nothing selected: the frame and font shortcuts do nothing.
    EXPECT_EQ(press(Qt::Key_3, Qt::ControlModifier), int(Qt::Key_3));
    press(Qt::Key_F, Qt::ControlModifier);
    press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(tags.empty());

    select({a, b});
    EXPECT_EQ(press(Qt::Key_3, Qt::ControlModifier), 0);
    EXPECT_EQ(view.lineWidthText, QStringLiteral("3"));
    EXPECT_EQ(press(Qt::Key_F, Qt::ControlModifier), 0);
    EXPECT_EQ(press(Qt::Key_D, Qt::ControlModifier), 0);
    // Bold, italic and underline need exactly one object.
    press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(tags, (std::vector<int>{6, 20, 21}));
    EXPECT_TRUE(view.toggled.empty());

    select({a});
    press(Qt::Key_B, Qt::ControlModifier);
    press(Qt::Key_I, Qt::ControlModifier);
    press(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(view.toggled, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(tags, (std::vector<int>{6, 20, 21, 9, 10, 18}));
    // A plain digit is typed, not a line width.
    EXPECT_EQ(press(Qt::Key_3), int(Qt::Key_3));
    EXPECT_EQ(tags.size(), 6u);
}

TEST_F(KeysTest, CtrlGTogglesTheGridAndPageKeysScroll)
{
    const bool shown = core->state.Settings.GridShow;
    EXPECT_EQ(press(Qt::Key_G, Qt::ControlModifier), 0);
    EXPECT_EQ(core->state.Settings.GridShow, !shown);
    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(core->state.Settings.GridShow, shown);

    view.visible = QRect(0, 500, 800, 600);
    EXPECT_EQ(press(Qt::Key_PageDown), 0);
    EXPECT_EQ(view.visible.top(), 700);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    EXPECT_EQ(view.visible.top(), 300);
}

// --- deleting

TEST_F(KeysTest, DeleteIsTheBoxsOwnWhileATextBoxHasTheFocus)
{
    TfrView *a = memo(QStringLiteral("A"), 100, 100, 50, 20);
    for (bool *focus : {&view.fontSizeFocus, &view.lineWidthFocus, &view.fontNameFocus}) {
        select({a});
        *focus = true;
        EXPECT_EQ(press(Qt::Key_Delete), int(Qt::Key_Delete));
        *focus = false;
        EXPECT_EQ(page->ObjectCount(), 1);
    }
    EXPECT_EQ(undoCount(), 0);
    EXPECT_EQ(press(Qt::Key_Delete), 0);
    EXPECT_EQ(page->ObjectCount(), 0);
}

TEST_F(KeysTest, DeleteRecordsOnlyWhatItRemovesAndUndoMakesNoDuplicate)
{
    TfrView *a = memo(QStringLiteral("A"), 0, 0, 50, 20);
    TfrView *kept = memo(QStringLiteral("Kept"), 0, 30, 50, 20);
    TfrView *c = memo(QStringLiteral("C"), 0, 60, 50, 20);
    kept->Restrictions = frrfDontDelete;
    const qint32 keptID = kept->ID;
    select({a, kept, c});

    press(Qt::Key_Delete);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Kept")});
    EXPECT_EQ(core->state.SelectedCount, 0);
    EXPECT_FALSE(page->Object(0)->Selected);
    ASSERT_EQ(undoCount(), 1);

    core->undo.ApplyUndoEntry(UndoManager::UndoBuffer);
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("A"), QStringLiteral("Kept"), QStringLiteral("C")}));
    int withKeptID = 0;
    for (const auto &v : page->Objects)
        withKeptID += v->ID == keptID ? 1 : 0;
    EXPECT_EQ(withKeptID, 1);
}

TEST_F(KeysTest, DeletingOnlyProtectedObjectsRecordsNothing)
{
    TfrView *a = memo(QStringLiteral("A"), 0, 0, 50, 20);
    a->Restrictions = frrfDontDelete;
    select({a});
    press(Qt::Key_Delete);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(designerWindow->modified);

    a->Restrictions = 0;
    frObjects().frDesignerRestrictions = 1 << drNoDeleteObject;
    select({a});
    press(Qt::Key_Delete);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(designerWindow->modified);
}

TEST_F(KeysTest, DeletingAChildBandClearsTheReferencesToItAndUndoGivesThemBack)
{
    enum How { Delete, CutAndPaste, DeleteAndPreview };
    const struct {
        const char *what;
        // Lists with commas: the objects selected, the links of MasterData1,
        // PageHeader1 and Child1 afterwards, the page's objects afterwards.
        QString selected;
        How how;
        QString links, names;
    } cases[] = {
        {"one child band", "Child1", Delete, ",Child2,",
         "MasterData1,PageHeader1,Child2,Child3,Memo1"},
        {"the child of a child", "Child3", Delete, "child1,Child2,",
         "MasterData1,PageHeader1,Child1,Child2,Memo1"},
        {"several objects at once", "Child1,Child2,Memo1", Delete, ",,",
         "MasterData1,PageHeader1,Child3"},
        // Paste drops a child band while the page has one: only the memo
        // comes back.
        {"cut, then pasted", "Child1,Memo1", CutAndPaste, ",Child2,",
         "MasterData1,PageHeader1,Child2,Child3,Memo1"},
        // A preview rebuilds the template: every object gets a new ID.
        {"deleted, then previewed", "Child1", DeleteAndPreview, ",Child2,",
         "MasterData1,PageHeader1,Child2,Child3,Memo1"},
    };
    for (const auto &c : cases) {
        page->Clear();
        core->undo.ClearUndoBuffer();
        core->undo.ClearRedoBuffer();
        TfrBandView *master = band(btMasterData, 100, 40, QStringLiteral("MasterData1"));
        TfrBandView *header = band(btPageHeader, 0, 40, QStringLiteral("PageHeader1"));
        band(btChild, 150, 40, QStringLiteral("Child1"))->ChildBand = QStringLiteral("Child3");
        band(btChild, 200, 40, QStringLiteral("Child2"));
        band(btChild, 250, 40, QStringLiteral("Child3"));
        memo(QStringLiteral("Memo1"), 8, 104, 50, 20);
        master->ChildBand = QStringLiteral("child1");
        header->ChildBand = QStringLiteral("Child2");
        core->surface.Draw(10000, std::nullopt);
        const QByteArray before = saved();
        core->state.UnselectAll();
        const QStringList selected = c.selected.split(u',');
        for (const QString &name : selected)
            page->FindObject(name)->Selected = true;
        core->state.SelectedCount = int(selected.size());

        int steps = 1;
        if (c.how == CutAndPaste) {
            press(Qt::Key_Delete, Qt::ShiftModifier);
            press(Qt::Key_Insert, Qt::ShiftModifier);
            steps = 2;
        } else {
            press(Qt::Key_Delete);
        }
        if (c.how == DeleteAndPreview) {
            core->templateAboutToRebuild();
            reload();
            core->templateRebuilt();
        }
        EXPECT_EQ(names().join(u','), c.names) << c.what;
        auto links = [&] {
            QStringList out;
            for (const char *name : {"MasterData1", "PageHeader1", "Child1"}) {
                const auto *b = dynamic_cast<TfrBandView *>(page->FindObject(QLatin1String(name)));
                out << (b ? b->ChildBand : QString());
            }
            return out;
        };
        EXPECT_EQ(links().join(u','), c.links) << c.what;
        // Undo gives back the file the user had, Redo the one after.
        const QByteArray after = saved();
        for (int i = 0; i < steps; ++i)
            core->Undo();
        EXPECT_EQ(saved(), before) << c.what;
        for (int i = 0; i < steps; ++i)
            core->Redo();
        EXPECT_EQ(saved(), after) << c.what;
    }
}

TEST_F(KeysTest, ShiftDeleteCutsToTheClipboardDeleteDoesNot)
{
    designerGlobals().clipboard.clear();
    TfrView *a = memo(QStringLiteral("A"), 0, 0, 50, 20);
    TfrView *b = memo(QStringLiteral("B"), 0, 30, 50, 20);
    select({a});
    press(Qt::Key_Delete);
    EXPECT_TRUE(designerGlobals().clipboard.empty());
    EXPECT_EQ(names(), QStringList{QStringLiteral("B")});

    select({b});
    press(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(page->ObjectCount(), 0);
    EXPECT_EQ(designerGlobals().clipboard.size(), 1u);

    // Shift+Insert pastes it back, Ctrl+Insert copies again.
    press(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(page->ObjectCount(), 1);
    select({page->Object(0)});
    designerGlobals().clipboard.clear();
    press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(designerGlobals().clipboard.size(), 1u);
    EXPECT_EQ(page->ObjectCount(), 1);

    // Typing in the font name box, the same keys are the box's own.
    view.fontNameFocus = true;
    press(Qt::Key_Insert, Qt::ShiftModifier);
    press(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(page->ObjectCount(), 1);
    designerGlobals().clipboard.clear();
    press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_TRUE(designerGlobals().clipboard.empty());
}

} // namespace designer::test
