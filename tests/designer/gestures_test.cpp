#include "tests/designer/designer_fixture.h"

#include "report/objects/frcheckboxview.h"

#include <random>
#include <set>

namespace designer::test
{

using namespace report;

namespace
{
// A dialog control of the tests' own: a fixed size, no editor after insertion.
class TestControl : public TfrView
{
public:
    TestControl()
    {
        BaseName = QStringLiteral("TestControl");
        Typ = otAddIn;
        dx = 75;
        dy = 25;
    }
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TestControl>(); }
    void Draw(platform::Canvas &) override {}
    QString ClassName() const override { return QStringLiteral("TTestControl"); }
    bool IsDialogControl() const override { return true; }
};
} // namespace

class GesturesTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        page->PrnInfo.Pgw = 700;
        page->PrnInfo.Pgh = 1000;
    }

    GestureEngine &g() { return core->gestures; }
    DesignerSettings &settings() { return core->state.Settings; }

    void hover(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        g().mouseMove(Qt::NoButton, m, x, y);
    }
    void press(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        g().mouseDown(Qt::LeftButton, m, x, y);
    }
    void dragTo(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        g().mouseMove(Qt::LeftButton, m, x, y);
    }
    void release(int x, int y) { g().mouseUp(Qt::LeftButton, Qt::NoModifier, x, y); }
    // A whole gesture as the window delivers it: the pointer comes over the
    // start point, the button goes down, moves to the end, goes up.
    void drag(int x0, int y0, int x1, int y1, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        hover(x0, y0, m);
        press(x0, y0, m);
        dragTo(x1, y1, m);
        release(x1, y1);
    }
    void click(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) { drag(x, y, x, y, m); }
    void useTool(int tag, bool keep = false)
    {
        view.tool = tag;
        g().toolPressed(tag, keep);
    }
    TfrView *last() const { return page->Objects.back().get(); }
    void onlyHandles(const char *what)
    {
        core->surface.drawSelection(1);
        EXPECT_TRUE(core->surface.overlay().empty())
            << what << ": " << core->surface.overlay().size() << " marks";
        core->surface.drawSelection(1);
    }
};

// ------------------------------------------------------------------ insertion

TEST_F(GesturesTest, ClickWithTheMemoToolPlacesADefaultSizedMemoOnTheGrid)
{
    settings().GridSize = 8;
    int edits = 0;
    core->state.Requests.objectEditor = [&](TfrView *, bool) { ++edits; };
    useTool(kToolMemo);
    click(13, 21);
    ASSERT_EQ(page->ObjectCount(), 1);
    auto *m = dynamic_cast<TfrMemoView *>(last());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(geometry(m), QRect(8, 16, 96, 18));
    EXPECT_EQ(m->Name, QStringLiteral("Memo1"));
    // The last-used font starts as the window's default font, never "" and 0.
    EXPECT_EQ(std::tuple(m->Font.Name, m->Font.Size), std::tuple(QStringLiteral("Arial"), 10));
    EXPECT_TRUE(m->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);
    EXPECT_EQ(core->state.LastSelected(), m);
    EXPECT_EQ(edits, 1);
    // The select tool comes back and the cursor with it.
    EXPECT_EQ(std::tuple(view.tool, view.cursor), std::tuple(kToolSelect, SurfaceCursor::Default));
}

TEST_F(GesturesTest, DefaultSizeFollowsTheGridAndTheLastUsedFontSize)
{
    settings().EditAfterInsert = false;
    LastUsedAttributes &lastUsed = designerGlobals().lastUsed;
    const struct {
        int grid, fontSize;
        QSize size;
    } cases[] = {{4, 10, {96, 18}}, {18, 10, {108, 18}}, {4, 11, {96, 18}}, {4, 12, {96, 20}},
                 {4, 13, {96, 20}}, {4, 14, {96, 24}},   {4, 16, {96, 24}}, {4, 17, {96, 18}}};
    int y = 0;
    for (const auto &c : cases) {
        settings().GridSize = c.grid;
        lastUsed.FontSize = c.fontSize;
        lastUsed.FontName = QStringLiteral("Courier New");
        useTool(kToolMemo);
        click(36, y += 36);
        auto *m = dynamic_cast<TfrMemoView *>(last());
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(QSize(m->dx, m->dy), c.size) << c.grid << " " << c.fontSize;
        EXPECT_EQ(m->Font.Size, c.fontSize);
        EXPECT_EQ(m->Font.Name, QStringLiteral("Courier New"));
    }
}

TEST_F(GesturesTest, DraggedAreaGivesTheSizeAndADegenerateOneFallsBack)
{
    settings().GridSize = 8;
    settings().EditAfterInsert = false;
    useTool(kToolMemo);
    drag(16, 16, 120, 56);
    EXPECT_EQ(geometry(last()), QRect(16, 16, 104, 40));
    // Dragged backwards: the rectangle is normalized.
    useTool(kToolMemo);
    drag(200, 200, 160, 120);
    EXPECT_EQ(geometry(last()), QRect(160, 120, 40, 80));
    // No height: a picture is 36 x 36, a memo takes the default size.
    useTool(kToolPicture);
    drag(16, 304, 120, 304);
    ASSERT_NE(dynamic_cast<TfrPictureView *>(last()), nullptr);
    EXPECT_EQ(geometry(last()), QRect(16, 304, 36, 36));
    useTool(kToolMemo);
    drag(16, 400, 16, 480);
    EXPECT_EQ(geometry(last()), QRect(16, 400, 96, 18));
    EXPECT_EQ(page->ObjectCount(), 4);
}

TEST_F(GesturesTest, NewObjectsTakeTheLastUsedAttributes)
{
    settings().EditAfterInsert = false;
    LastUsedAttributes &a = designerGlobals().lastUsed;
    a.FrameTyp = frftLeft | frftTop;
    a.FrameWidth = 3;
    a.LineWidth = 5;
    a.FrameColor = 0x0000FF;
    a.FillColor = 0x00FF00;
    a.FontColor = 0xFF0000;
    a.FontStyle = 2;
    a.Alignment = frtaCenter;
    useTool(kToolMemo);
    click(40, 40);
    auto *m = dynamic_cast<TfrMemoView *>(last());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(std::tuple(m->FrameTyp, m->FrameWidth, m->FrameColor, m->FillColor, m->Font.Color,
                         m->Font.Style, m->Alignment),
              std::tuple(frftLeft | frftTop, 3.0f, 0x0000FF, 0x00FF00, 0xFF0000, 2, frtaCenter));
    // A line takes the line width, not the frame width.
    useTool(kToolLine);
    drag(300, 300, 400, 300);
    auto *line = dynamic_cast<TfrLineView *>(last());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::tuple(line->FrameWidth, line->FrameColor), std::tuple(5.0f, 0x0000FF));
}

TEST_F(GesturesTest, ShiftOnTheToolKeepsItArmedAndTheSelectToolDisarmsIt)
{
    settings().EditAfterInsert = false;
    useTool(kToolMemo, true);
    click(40, 40);
    click(40, 100);
    EXPECT_EQ(page->ObjectCount(), 2);
    EXPECT_EQ(std::tuple(view.tool, view.cursor), std::tuple(kToolMemo, SurfaceCursor::Cross));
    EXPECT_EQ(page->Object(1)->Name, QStringLiteral("Memo2"));
    g().selectToolPressed();
    EXPECT_FALSE(core->state.KeepTool);
    view.tool = kToolSelect;
    press(40, 300);
    release(40, 300);
    EXPECT_EQ(page->ObjectCount(), 2) << "the select tool places nothing";
    useTool(kToolMemo);
    click(40, 200);
    EXPECT_EQ(view.tool, kToolSelect);
}

TEST_F(GesturesTest, AddInToolsCreateTheirRegisteredClass)
{
    designerGlobals().lastUsed.FrameWidth = 3;
    std::vector<TfrView *> edited;
    core->state.Requests.objectEditor = [&](TfrView *v, bool) { edited.push_back(v); };
    frRegisterCheckBoxView();
    frRegisterObject(
        QStringLiteral("TTestControl"), [] { return std::make_unique<TestControl>(); }, QImage(),
        QStringLiteral("Test"), 1);
    const int checkBox = kToolAddInBase + int(frObjects().frAddInList.size()) - 2;
    const int control = checkBox + 1;
    useTool(checkBox);
    click(50, 50);
    ASSERT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(last()->ClassName(), QStringLiteral("TfrCheckBoxView"));
    EXPECT_EQ(geometry(last()), QRect(48, 48, 96, 18));
    EXPECT_EQ(last()->FrameWidth, TfrCheckBoxView().FrameWidth)
        << "add-ins keep their own frame width";
    EXPECT_EQ(edited, std::vector<TfrView *>{last()});
    // On a dialog page a control keeps its own size and opens no editor.
    page->PageTypeValue = ptDialog;
    useTool(control);
    click(50, 70);
    ASSERT_EQ(page->ObjectCount(), 2);
    EXPECT_EQ(last()->ClassName(), QStringLiteral("TTestControl"));
    EXPECT_EQ(geometry(last()), QRect(48, 68, 75, 25));
    EXPECT_EQ(last()->Name, QStringLiteral("TestControl1"));
    EXPECT_EQ(edited.size(), 1u);
    // A tool past the registered classes places nothing.
    useTool(control + 1);
    click(50, 200);
    EXPECT_EQ(page->ObjectCount(), 2);
}

TEST_F(GesturesTest, InsertRestrictionInsertsNothingAndGivesTheSelectToolBack)
{
    frObjects().frDesignerRestrictions = 1 << drNoInsertObject;
    useTool(kToolMemo);
    click(40, 40);
    useTool(kToolLine);
    drag(100, 100, 200, 100);
    EXPECT_EQ(page->ObjectCount(), 0);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(g().dragOver(true, 50, 50));
    frObjects().frDesignerRestrictions = 0;
    EXPECT_TRUE(g().dragOver(true, 50, 50));
    EXPECT_FALSE(g().dragOver(false, 50, 50));
}

TEST_F(GesturesTest, BandToolAsksTheTypeAndNamesTheBandWithoutBlanks)
{
    settings().EditAfterInsert = false;
    std::vector<bool> targets;
    std::optional<int> answer = btMasterData;
    core->state.Requests.bandType = [&](bool target) {
        targets.push_back(target);
        return answer;
    };
    memo(QStringLiteral("Memo1"), 10, 300, 50, 20);
    useTool(kToolBand);
    click(20, 100);
    auto *b = dynamic_cast<TfrBandView *>(page->Object(0));
    ASSERT_NE(b, nullptr) << "bands go before the other objects";
    EXPECT_EQ(b->Name, QStringLiteral("DonnéesMaitre1"));
    EXPECT_EQ(b->GetBandType(), btMasterData);
    answer = btReportTitle;
    useTool(kToolBand);
    click(20, 10);
    EXPECT_TRUE(page->FindObject(QStringLiteral("TitreDeLétat1")));
    // A band takes the surface's width, a cross band a narrow column.
    EXPECT_EQ(b->dx, core->surface.surfaceSize().width());
    answer = btCrossData;
    useTool(kToolBand);
    click(20, 600);
    ASSERT_NE(page->FindObject(QStringLiteral("DonnéeTableauCroisé1")), nullptr);
    EXPECT_EQ(page->FindObject(QStringLiteral("DonnéeTableauCroisé1"))->dx, 40);
    page->Delete(
        page->IndexOfObjectID(page->FindObject(QStringLiteral("DonnéeTableauCroisé1"))->ID));
    // Cancel inserts nothing.
    answer.reset();
    useTool(kToolBand);
    click(20, 200);
    EXPECT_EQ(page->ObjectCount(), 3);
    EXPECT_EQ(view.tool, kToolSelect);
    // The dialog is told when the page is a subreport's target.
    TfrPage *second = rep->Pages().Add();
    auto sub = std::make_unique<TfrSubReportView>();
    sub->SubPage = 0;
    second->Add(std::move(sub));
    useTool(kToolBand);
    click(20, 250);
    EXPECT_EQ(targets, (std::vector<bool>{false, false, false, false, true}));
    // With no dialog there is no band.
    core->state.Requests.bandType = nullptr;
    useTool(kToolBand);
    click(20, 400);
    EXPECT_EQ(page->ObjectCount(), 3);
    // Every new object has an ID of its own (undo and the selection go by it).
    std::set<qint32> ids;
    for (const auto &v : page->Objects)
        ids.insert(v->ID);
    EXPECT_EQ(ids.size(), 3u);
}

TEST_F(GesturesTest, BandNameBaseDropsBlanksAndApostrophes)
{
    EXPECT_EQ(GestureEngine::bandNameBase(QStringLiteral("Titre de l'état")),
              QStringLiteral("TitreDeLétat"));
    EXPECT_EQ(GestureEngine::bandNameBase(QStringLiteral("Données maitre")),
              QStringLiteral("DonnéesMaitre"));
    // Only a-z after a blank is upper-cased.
    EXPECT_EQ(GestureEngine::bandNameBase(QStringLiteral("a  b 1 é x’y")),
              QStringLiteral("aB1éXy"));
    EXPECT_EQ(GestureEngine::bandNameBase(QString()), QString());
}

TEST_F(GesturesTest, SubreportToolAppendsItsTargetPage)
{
    settings().EditAfterInsert = false;
    useTool(kToolSubReport);
    click(50, 50);
    auto *sub = dynamic_cast<TfrSubReportView *>(last());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->SubPage, 1);
    EXPECT_EQ(rep->Pages().Count(), 2);
    EXPECT_EQ(view.tabChanges, 1);
    EXPECT_EQ(geometry(sub), QRect(48, 48, 96, 18));
}

TEST_F(GesturesTest, DroppedFieldBecomesABracketedMemoWithoutEditor)
{
    int edits = 0;
    core->state.Requests.objectEditor = [&](TfrView *, bool) { ++edits; };
    const QString field = QStringLiteral("Clients.\"Nom\"");
    ASSERT_TRUE(g().dragOver(true, 30, 30));
    ASSERT_TRUE(g().dragOver(true, 50, 61));
    g().dragDrop(field);
    ASSERT_EQ(page->ObjectCount(), 1);
    auto *m = dynamic_cast<TfrMemoView *>(last());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("[Clients.\"Nom\"]")});
    EXPECT_EQ(geometry(m), QRect(44, 56, 96, 18));
    EXPECT_EQ(edits, 0);
    EXPECT_FALSE(g().DragActive);
    // A drop that was never accepted inserts nothing and writes into no one.
    m->Memo.clear();
    g().dragDrop(field);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_TRUE(m->Memo.isEmpty());
}

TEST_F(GesturesTest, NewMemosRecordOneUndoEntryEach)
{
    settings().EditAfterInsert = false;
    useTool(kToolMemo);
    click(40, 40);
    EXPECT_EQ(undoCount(), 1);
    useTool(kToolLine);
    drag(100, 100, 200, 100);
    EXPECT_EQ(undoCount(), 2);
}

// ------------------------------------------------------------------ lines

TEST_F(GesturesTest, PencilSnapsToANearCornerElseToTheNearestGridPoint)
{
    settings().GridSize = 8;
    memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    useTool(kToolLine);
    hover(300, 300);
    EXPECT_EQ(view.cursor, SurfaceCursor::Pencil);
    press(103, 104); // 5 px from (100, 100)
    EXPECT_EQ(core->state.RubberRect, edges(100, 100, 100, 100));
    release(103, 104);
    press(153, 126); // 5 px from (150, 130)
    EXPECT_EQ(core->state.RubberRect, edges(150, 130, 150, 130));
    release(153, 126);
    // Nothing nearer than a grid step: halves go to the even grid line.
    press(12, 20);
    EXPECT_EQ(core->state.RubberRect, edges(16, 16, 16, 16));
    release(12, 20);
    press(20, 36);
    EXPECT_EQ(core->state.RubberRect, edges(16, 32, 16, 32));
    release(20, 36);
    EXPECT_EQ(page->ObjectCount(), 1) << "a click draws no line";
}

TEST_F(GesturesTest, LineTakesItsDominantDirectionsEnd)
{
    // A drawn line keeps only its dominant direction (the line's own
    // drawing): here the rectangle that the gesture gives it is checked.
    core->surface.PaintLocked = true;
    settings().GridAlign = false;
    useTool(kToolLine);
    drag(100, 50, 40, 60);
    auto *line = dynamic_cast<TfrLineView *>(last());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(geometry(line), QRect(40, 50, 60, 10));
    EXPECT_TRUE(line->Selected);
    EXPECT_EQ(view.tool, kToolLine) << "the line tool stays";
    drag(200, 300, 210, 200);
    EXPECT_EQ(geometry(last()), QRect(200, 200, 10, 100));
    EXPECT_EQ(page->Object(0)->Selected, false);
    // Under snapping the line waits for whole grid steps.
    settings().GridAlign = true;
    settings().GridSize = 8;
    drag(400, 400, 427, 403);
    EXPECT_EQ(geometry(last()), QRect(400, 400, 24, 0));
}

// ------------------------------------------------------------------ moving

TEST_F(GesturesTest, MovesSnapToWholeGridStepsAndAltInvertsTheGrid)
{
    settings().GridSize = 8;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    click(120, 110);
    ASSERT_TRUE(m->Selected);
    drag(120, 110, 125, 110);
    EXPECT_EQ(geometry(m), QRect(100, 100, 50, 30));
    EXPECT_EQ(undoCount(), 0) << "a move under one grid step records nothing";
    drag(120, 110, 132, 110);
    EXPECT_EQ(geometry(m), QRect(108, 100, 50, 30));
    EXPECT_EQ(undoCount(), 1);
    drag(130, 110, 135, 110, Qt::AltModifier);
    EXPECT_EQ(geometry(m), QRect(113, 100, 50, 30));
    EXPECT_EQ(undoCount(), 2);
    // Several steps in one gesture record once.
    press(130, 110);
    dragTo(140, 120);
    dragTo(150, 130);
    release(150, 130);
    EXPECT_EQ(geometry(m), QRect(129, 116, 50, 30));
    EXPECT_EQ(undoCount(), 3);
}

TEST_F(GesturesTest, MoveRestrictionsKeepObjectsInPlace)
{
    settings().GridAlign = false;
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 200, 100, 50, 30);
    b->Restrictions = frrfDontMove;
    select({a, b});
    drag(110, 110, 130, 140);
    EXPECT_EQ(geometry(a), QRect(120, 130, 50, 30));
    EXPECT_EQ(geometry(b), QRect(200, 100, 50, 30));
    frObjects().frDesignerRestrictions = 1 << drNoMove;
    drag(130, 140, 150, 150);
    EXPECT_EQ(geometry(a), QRect(120, 130, 50, 30));
}

TEST_F(GesturesTest, DraggingABandCarriesWhatLiesWhollyInsideUnlessAltIsHeld)
{
    settings().GridAlign = false;
    TfrBandView *b = band(btMasterData, 100, 60, QStringLiteral("MasterData1"));
    TfrMemoView *inside = memo(QStringLiteral("Memo1"), 10, 110, 50, 20);
    TfrMemoView *across = memo(QStringLiteral("Memo2"), 100, 150, 50, 20);
    click(300, 130);
    ASSERT_TRUE(b->Selected);
    ASSERT_EQ(core->state.SelectedCount, 1);
    drag(300, 130, 300, 150);
    EXPECT_EQ(b->y, 120);
    EXPECT_EQ(inside->y, 130);
    EXPECT_EQ(across->y, 150);
    EXPECT_TRUE(inside->Selected);
    EXPECT_EQ(undoCount(), 1);
    // Undo puts the carried memo back as well as the band.
    core->Undo();
    EXPECT_EQ(page->FindObject(QStringLiteral("MasterData1"))->y, 100);
    EXPECT_EQ(page->FindObject(QStringLiteral("Memo1"))->y, 110);
    // Alt: the band alone.
    click(650, 500);
    b = static_cast<TfrBandView *>(page->FindObject(QStringLiteral("MasterData1")));
    inside = static_cast<TfrMemoView *>(page->FindObject(QStringLiteral("Memo1")));
    click(300, 130);
    ASSERT_EQ(core->state.SelectedCount, 1);
    drag(300, 130, 300, 150, Qt::AltModifier);
    EXPECT_EQ(b->y, 120);
    EXPECT_EQ(inside->y, 110);
    EXPECT_FALSE(inside->Selected);
}

TEST_F(GesturesTest, MovesStayWithinTheGeometryRange)
{
    settings().GridAlign = false;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), kFrMaxGeometry - 40, 10, 30, 30);
    select({m});
    view.visible = QRect(kFrMaxGeometry - 100, 0, 50, 50);
    drag(kFrMaxGeometry - 25, 25, kFrMaxGeometry + 100, 25);
    EXPECT_EQ(m->x, kFrMaxGeometry);
}

TEST_F(GesturesTest, DraggingPastTheVisiblePartScrolls)
{
    settings().GridAlign = false;
    memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    click(110, 110);
    hover(110, 110);
    press(110, 110);
    dragTo(850, 650);
    EXPECT_EQ(view.visible.topLeft(), QPoint(50, 50));
    // A held key stops the scrolling.
    g().mouseMove(Qt::LeftButton, Qt::ShiftModifier, 950, 650);
    EXPECT_EQ(view.visible.topLeft(), QPoint(50, 50));
    dragTo(20, 30);
    EXPECT_EQ(view.visible.topLeft(), QPoint(20, 30));
    release(20, 30);
}

// ------------------------------------------------------------------ resizing

TEST_F(GesturesTest, ResizingThroughZeroTurnsTheObjectOverAndGoesOn)
{
    settings().GridAlign = false;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    click(120, 110);
    hover(100, 100);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    press(100, 100);
    dragTo(170, 150);
    EXPECT_EQ(geometry(m), QRect(150, 130, 20, 20));
    EXPECT_EQ(g().ResizeEdge, 2);
    // Onwards the bottom-right corner is held.
    dragTo(180, 160);
    EXPECT_EQ(geometry(m), QRect(150, 130, 30, 30));
    release(180, 160);
    EXPECT_EQ(g().ResizeEdge, 0);
    EXPECT_EQ(undoCount(), 1);
}

TEST_F(GesturesTest, ACornerTurnedOverOnOneAxisBecomesTheCornerBesideIt)
{
    settings().GridAlign = false;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    select({m});
    hover(100, 100);
    press(100, 100);
    dragTo(170, 110);
    EXPECT_EQ(geometry(m), QRect(150, 110, 20, 20));
    EXPECT_EQ(g().ResizeEdge, 3);
    EXPECT_EQ(view.cursor, SurfaceCursor::SizeNESW);
    // The pointer keeps the top-right corner.
    dragTo(180, 115);
    EXPECT_EQ(geometry(m), QRect(150, 115, 30, 15));
    release(180, 115);
}

// Whatever way a handle is dragged, through zero size and beyond, the edges
// it holds stay under the pointer and the object never has a negative size.
TEST_F(GesturesTest, ResizedObjectsKeepTheHeldEdgesUnderThePointer)
{
    settings().GridAlign = false;
    std::mt19937 random(103);
    std::uniform_int_distribution<int> pos(100, 300), size(0, 60), step(-45, 45), pick(0, 7);
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 1, 1);
    for (int round = 0; round < 300; ++round) {
        m->SetBounds(pos(random), pos(random), size(random) + 8, size(random) + 8);
        select({m});
        const int handle = pick(random);
        const int hx[8] = {m->x, m->x + m->dx,     m->x + m->dx,
                           m->x, m->x + m->dx / 2, m->x + m->dx / 2,
                           m->x, m->x + m->dx};
        const int hy[8] = {m->y,
                           m->y + m->dy,
                           m->y,
                           m->y + m->dy,
                           m->y,
                           m->y + m->dy,
                           m->y + m->dy / 2,
                           m->y + m->dy / 2};
        hover(hx[handle], hy[handle]);
        ASSERT_NE(view.cursor, SurfaceCursor::Default) << "round " << round;
        press(hx[handle], hy[handle]);
        int px = hx[handle], py = hy[handle];
        for (int k = 0; k < 5; ++k) {
            px += step(random);
            py += step(random);
            dragTo(px, py);
            ASSERT_GE(m->dx, 0);
            ASSERT_GE(m->dy, 0);
            const bool holdsX = handle < 4 || handle >= 6;
            const bool holdsY = handle < 6;
            if (holdsX) {
                ASSERT_TRUE(px == m->x || px == m->x + m->dx)
                    << "round " << round << " handle " << handle;
            }
            if (holdsY) {
                ASSERT_TRUE(py == m->y || py == m->y + m->dy)
                    << "round " << round << " handle " << handle;
            }
        }
        release(px, py);
        hover(-100, -100);
    }
}

TEST_F(GesturesTest, HandlesGiveTheirCursorAndEdge)
{
    settings().GridAlign = false;
    struct Case {
        QPoint handle;
        SurfaceCursor cursor;
        QRect after; // dragged by (10, 6) from (100, 100, 50, 30)
    };
    const Case cases[] = {
        {{100, 100}, SurfaceCursor::SizeNWSE, {110, 106, 40, 24}},
        {{150, 130}, SurfaceCursor::SizeNWSE, {100, 100, 60, 36}},
        {{150, 100}, SurfaceCursor::SizeNESW, {100, 106, 60, 24}},
        {{100, 130}, SurfaceCursor::SizeNESW, {110, 100, 40, 36}},
        {{125, 100}, SurfaceCursor::SizeNS, {100, 106, 50, 24}},
        {{125, 130}, SurfaceCursor::SizeNS, {100, 100, 50, 36}},
        {{100, 115}, SurfaceCursor::SizeWE, {110, 100, 40, 30}},
        {{150, 115}, SurfaceCursor::SizeWE, {100, 100, 60, 30}},
    };
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    for (const Case &c : cases) {
        m->SetBounds(100, 100, 50, 30);
        select({m});
        // The handle takes the pointer 2 pixels before it to 3 after.
        hover(c.handle.x() + 3, c.handle.y() - 2);
        EXPECT_EQ(view.cursor, c.cursor) << c.handle.x() << "," << c.handle.y();
        press(c.handle.x(), c.handle.y());
        dragTo(c.handle.x() + 10, c.handle.y() + 6);
        release(c.handle.x() + 10, c.handle.y() + 6);
        EXPECT_EQ(geometry(m), c.after) << c.handle.x() << "," << c.handle.y();
        hover(300, 300);
        EXPECT_EQ(view.cursor, SurfaceCursor::Default);
    }
    // "Don't size" and the designer's no-resize bit hold the size.
    m->SetBounds(100, 100, 50, 30);
    m->Restrictions = frrfDontSize;
    hover(150, 130);
    drag(150, 130, 170, 140);
    EXPECT_EQ(geometry(m), QRect(100, 100, 50, 30));
    m->Restrictions = 0;
    frObjects().frDesignerRestrictions = 1 << drNoResize;
    hover(150, 130);
    drag(150, 130, 170, 140);
    EXPECT_EQ(geometry(m), QRect(100, 100, 50, 30));
}

// ------------------------------------------------------------------ groups

TEST_F(GesturesTest, ScalingAGroupByItsCornerKeepsSharedEdgesShared)
{
    settings().GridAlign = false;
    std::mt19937 random(25);
    for (int round = 0; round < 150; ++round) {
        while (page->ObjectCount() > 0)
            page->Delete(0);
        // A grid of memos side by side and one above the other.
        std::uniform_int_distribution<int> size(3, 37), step(-23, 29), count(2, 4);
        const int cols = count(random), rows = count(random);
        std::vector<int> xs{10 + size(random)}, ys{10 + size(random)};
        for (int i = 0; i < cols; ++i)
            xs.push_back(xs.back() + size(random));
        for (int j = 0; j < rows; ++j)
            ys.push_back(ys.back() + size(random));
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < cols; ++i)
                memo(QStringLiteral("M%1_%2").arg(i).arg(j), xs[i], ys[j], xs[i + 1] - xs[i],
                     ys[j + 1] - ys[j]);
        core->state.SelectAllObjects();
        core->state.computeGroupRect();
        const int cornerX = xs.back(), cornerY = ys.back();
        hover(cornerX, cornerY);
        ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
        press(cornerX, cornerY);
        int px = cornerX, py = cornerY;
        for (int k = 0; k < 4; ++k) {
            px += step(random);
            py += step(random);
            dragTo(px, py);
        }
        release(px, py);
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < cols; ++i) {
                const TfrView *v = page->Object(j * cols + i);
                ASSERT_GE(v->dx, 0);
                ASSERT_GE(v->dy, 0);
                if (i + 1 < cols) {
                    ASSERT_EQ(v->x + v->dx, page->Object(j * cols + i + 1)->x) << "round " << round;
                }
                if (j + 1 < rows) {
                    ASSERT_EQ(v->y + v->dy, page->Object((j + 1) * cols + i)->y)
                        << "round " << round;
                }
            }
        // The group keeps its top-left corner.
        EXPECT_EQ(page->Object(0)->x, xs[0]);
        EXPECT_EQ(page->Object(0)->y, ys[0]);
        hover(1000, 1000);
    }
}

TEST_F(GesturesTest, ScalingAGroupDoublesItAndLeavesAFlatAxisAlone)
{
    settings().GridAlign = false;
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 100, 100, 40, 20);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 140, 120, 60, 30);
    select({a, b});
    core->state.computeGroupRect();
    drag(200, 150, 300, 200);
    EXPECT_EQ(geometry(a), QRect(100, 100, 80, 40));
    EXPECT_EQ(geometry(b), QRect(180, 140, 120, 60));
    // Two objects on one vertical line: no width to scale by.
    auto vertical = [&](int y) {
        auto line = std::make_unique<TfrLineView>();
        line->SetBounds(400, y, 0, 20);
        line->ID = frObjects().frNextObjectID++;
        return page->Add(std::move(line));
    };
    TfrView *c = vertical(100);
    TfrView *d = vertical(130);
    select({c, d});
    core->state.computeGroupRect();
    hover(400, 150);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    drag(400, 150, 410, 200);
    EXPECT_EQ(geometry(c), QRect(400, 100, 0, 40));
    EXPECT_EQ(geometry(d), QRect(400, 160, 0, 40));
}

TEST_F(GesturesTest, SharedBorderMovesUnlessAnObjectWouldVanish)
{
    settings().GridAlign = false;
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 100, 100, 50, 20);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 150, 100, 40, 20);
    select({a, b});
    core->state.computeGroupRect();
    hover(151, 110);
    ASSERT_EQ(view.cursor, SurfaceCursor::HorizontalSplit);
    EXPECT_EQ(g().SplitLeft, a);
    EXPECT_EQ(g().SplitRight, b);
    drag(151, 110, 171, 115);
    EXPECT_EQ(geometry(a), QRect(100, 100, 70, 20));
    EXPECT_EQ(geometry(b), QRect(170, 100, 20, 20));
    // From the left object's side of the border, past the right one's end.
    hover(169, 110);
    ASSERT_EQ(view.cursor, SurfaceCursor::HorizontalSplit);
    drag(169, 110, 189, 110);
    EXPECT_EQ(geometry(a), QRect(100, 100, 70, 20));
    EXPECT_EQ(geometry(b), QRect(170, 100, 20, 20));
    // Past the left one's start.
    drag(171, 110, 101, 110);
    EXPECT_EQ(geometry(a), QRect(100, 100, 70, 20));
    EXPECT_EQ(geometry(b), QRect(170, 100, 20, 20));
    // "Don't move" on the right one holds the border.
    b->Restrictions = frrfDontMove;
    drag(171, 110, 161, 110);
    EXPECT_EQ(geometry(a), QRect(100, 100, 70, 20));
}

// ------------------------------------------------------------------ selection

TEST_F(GesturesTest, SelectionFramePrefersObjectsToBands)
{
    TfrBandView *b = band(btMasterData, 100, 60, QStringLiteral("MasterData1"));
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 110, 50, 20);
    TfrMemoView *far = memo(QStringLiteral("Memo2"), 500, 400, 50, 20);
    drag(5, 50, 30, 120);
    EXPECT_TRUE(m->Selected);
    EXPECT_FALSE(b->Selected);
    EXPECT_FALSE(far->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);
    EXPECT_EQ(core->state.LastSelected(), m);
    drag(400, 50, 300, 120);
    EXPECT_TRUE(b->Selected);
    EXPECT_FALSE(m->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);
    // Ctrl starts a frame even on an object.
    drag(20, 115, 600, 600, Qt::ControlModifier);
    EXPECT_TRUE(m->Selected);
    EXPECT_TRUE(far->Selected);
    EXPECT_FALSE(b->Selected);
    EXPECT_EQ(core->state.SelectedCount, 2);
    EXPECT_TRUE(core->state.GroupValid);
    // Nothing touched: nothing selected.
    drag(600, 700, 650, 750);
    EXPECT_EQ(core->state.SelectedCount, 0);
    EXPECT_EQ(core->state.LastSelected(), nullptr);
}

TEST_F(GesturesTest, ClicksSelectTheTopmostObjectAndShiftToggles)
{
    TfrMemoView *under = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    TfrMemoView *over = memo(QStringLiteral("Memo2"), 120, 110, 50, 30);
    click(130, 120);
    EXPECT_TRUE(over->Selected);
    EXPECT_FALSE(under->Selected);
    click(105, 105, Qt::ShiftModifier);
    EXPECT_EQ(core->state.SelectedCount, 2);
    EXPECT_EQ(core->state.LastSelected(), over);
    // A click on a selected object keeps the selection (to drag it).
    click(105, 105);
    EXPECT_EQ(core->state.SelectedCount, 2);
    click(130, 120, Qt::ShiftModifier);
    EXPECT_EQ(core->state.SelectedCount, 1);
    EXPECT_EQ(core->state.LastSelected(), under);
    click(400, 400);
    EXPECT_EQ(core->state.SelectedCount, 0);
    EXPECT_FALSE(under->Selected);
}

TEST_F(GesturesTest, RightButtonSelectsAndOpensThePopup)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    g().mouseDown(Qt::RightButton, Qt::NoModifier, 110, 110);
    EXPECT_TRUE(m->Selected);
    EXPECT_EQ(view.popups, std::vector<QPoint>{QPoint(110, 110)});
    EXPECT_FALSE(g().down());
    g().mouseUp(Qt::RightButton, Qt::NoModifier, 110, 110);
}

TEST_F(GesturesTest, OtherButtonsStartNoGesture)
{
    settings().GridAlign = false;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    click(110, 110);
    g().mouseDown(Qt::MiddleButton, Qt::NoModifier, 110, 110);
    EXPECT_FALSE(g().down());
    hover(150, 150);
    g().mouseUp(Qt::MiddleButton, Qt::NoModifier, 150, 150);
    EXPECT_EQ(geometry(m), QRect(100, 100, 50, 30));
    EXPECT_TRUE(m->Selected);
}

TEST_F(GesturesTest, ThousandsOfSelectedObjectsMoveAndScale)
{
    settings().GridAlign = false;
    for (int i = 0; i < 5000; ++i)
        memo(QStringLiteral("Memo%1").arg(i + 1), 10 + (i % 70) * 10, 10 + (i / 70) * 10, 10, 10);
    core->state.SelectAllObjects();
    core->state.computeGroupRect();
    drag(15, 15, 25, 35);
    EXPECT_EQ(geometry(page->Object(0)), QRect(20, 30, 10, 10));
    EXPECT_EQ(geometry(page->Object(4999)), QRect(310, 740, 10, 10));
    // The group (20, 30)-(720, 740) doubled by its corner.
    hover(720, 740);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    drag(720, 740, 1420, 1450);
    EXPECT_EQ(geometry(page->Object(0)), QRect(20, 30, 20, 20));
    EXPECT_EQ(geometry(page->Object(4999)), QRect(600, 1450, 20, 20));
}

// ------------------------------------------------------------------ marks

// After each gesture the surface shows the selection's handles and nothing
// else: no rectangle, line or handle left over by an unpaired XOR.
TEST_F(GesturesTest, EveryGestureLeavesOnlyTheHandlesOfTheSelection)
{
    settings().GridAlign = false;
    settings().EditAfterInsert = false;
    core->state.Requests.bandType = [](bool) { return std::optional<int>(btMasterData); };
    core->surface.Draw(10000, std::nullopt);
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 100, 300, 50, 30);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 150, 300, 40, 30);
    core->surface.Draw(10000, std::nullopt);
    onlyHandles("start");
    click(120, 310);
    onlyHandles("click");
    click(170, 310, Qt::ShiftModifier);
    onlyHandles("shift click");
    ASSERT_EQ(core->state.SelectedCount, 2);
    hover(151, 305);
    ASSERT_EQ(view.cursor, SurfaceCursor::HorizontalSplit);
    drag(151, 305, 161, 305);
    ASSERT_EQ(b->x, 160);
    onlyHandles("split");
    hover(190, 330);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    drag(190, 330, 220, 350);
    onlyHandles("scale");
    drag(600, 600, 90, 290);
    ASSERT_EQ(core->state.SelectedCount, 2);
    onlyHandles("frame");
    click(400, 400);
    click(a->x + 5, a->y + 5);
    drag(a->x + 5, a->y + 5, a->x + 25, a->y + 25);
    onlyHandles("move");
    hover(a->x, a->y);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    drag(a->x, a->y, a->x + 5, a->y - 10);
    onlyHandles("resize");
    g().mouseDown(Qt::RightButton, Qt::NoModifier, a->x + 2, a->y + 2);
    g().mouseUp(Qt::RightButton, Qt::NoModifier, a->x + 2, a->y + 2);
    onlyHandles("popup");
    // A double click as it comes: press, release, double click, release.
    for (int i = 0; i < 2; ++i) {
        press(a->x + 2, a->y + 2);
        release(a->x + 2, a->y + 2);
        if (i == 0)
            g().doubleClick();
    }
    onlyHandles("double click");
    for (int tool : {kToolMemo, kToolPicture, kToolBand, kToolSubReport}) {
        useTool(tool);
        click(20, 500);
        onlyHandles("insert by click");
        useTool(tool);
        drag(20, 600, 120, 650);
        onlyHandles("insert by drag");
    }
    useTool(kToolLine);
    drag(300, 700, 400, 700);
    onlyHandles("line");
    drag(300, 710, 300, 710);
    onlyHandles("line of no length");
    // Hovering with an insert tool shows one rectangle, gone on leaving,
    // on switching tools and on the select tool's return.
    useTool(kToolMemo);
    hover(500, 500);
    hover(510, 520);
    EXPECT_EQ(core->surface.overlay().size() % 2, 1u) << "the rectangle is shown";
    g().mouseLeave();
    onlyHandles("leave");
    hover(500, 500);
    useTool(kToolPicture);
    onlyHandles("other tool");
    hover(500, 500);
    view.tool = kToolSelect;
    hover(510, 510);
    onlyHandles("select tool back");
    useTool(kToolMemo, true);
    click(600, 100);
    click(600, 200);
    g().selectToolPressed();
    onlyHandles("kept tool");
    ASSERT_TRUE(g().dragOver(true, 500, 800));
    ASSERT_TRUE(g().dragOver(true, 520, 810));
    g().mouseLeave();
    onlyHandles("drag left the surface");
    ASSERT_TRUE(g().dragOver(true, 500, 800));
    g().dragDrop(QStringLiteral("Clients.\"Nom\""));
    onlyHandles("drop");
}

// With focus rectangles shown while a button is held, a gesture ends with
// none of them left, also when a band picks up its objects or the page
// scrolls under a drag.
TEST_F(GesturesTest, FocusRectanglesComeAndGoInPairs)
{
    settings().GridAlign = false;
    settings().Selection = 0;
    band(btMasterData, 100, 60, QStringLiteral("MasterData1"));
    memo(QStringLiteral("Memo1"), 10, 110, 50, 20);
    TfrMemoView *m = memo(QStringLiteral("Memo2"), 300, 300, 50, 20);
    core->surface.Draw(10000, std::nullopt);
    click(400, 130);
    press(400, 130);
    EXPECT_FALSE(core->surface.overlay().empty()) << "the band's focus rectangle";
    dragTo(400, 150);
    EXPECT_EQ(core->state.SelectedCount, 2);
    dragTo(400, 170);
    release(400, 170);
    onlyHandles("band carried");
    click(310, 310);
    hover(310, 310);
    press(310, 310);
    dragTo(900, 700);
    EXPECT_NE(view.visible.topLeft(), QPoint(0, 0));
    dragTo(850, 650);
    release(850, 650);
    onlyHandles("scrolled");
    hover(m->x + m->dx, m->y + m->dy);
    ASSERT_EQ(view.cursor, SurfaceCursor::SizeNWSE);
    drag(m->x + m->dx, m->y + m->dy, m->x + m->dx + 10, m->y + m->dy + 10);
    onlyHandles("resized");
}

// ------------------------------------------------------------------ double click

TEST_F(GesturesTest, DoubleClickOpensPageOptionsScriptOrEditorOnce)
{
    int options = 0, scripts = 0;
    std::vector<std::pair<TfrView *, bool>> edits;
    core->state.Requests.pageOptions = [&] {
        ++options;
        return true;
    };
    core->state.Requests.pageScript = [&] { ++scripts; };
    core->state.Requests.objectEditor = [&](TfrView *v, bool ctrl) { edits.emplace_back(v, ctrl); };
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 100, 100, 50, 30);
    click(400, 400);
    g().doubleClick();
    // The double click's second press is swallowed.
    click(120, 110);
    EXPECT_EQ(options, 1);
    EXPECT_FALSE(m->Selected);
    click(120, 110);
    EXPECT_TRUE(m->Selected);
    g().doubleClick();
    click(120, 110);
    // Ctrl at the first press asks for the text editor.
    click(120, 110, Qt::ControlModifier);
    EXPECT_TRUE(m->Selected);
    g().doubleClick();
    click(120, 110, Qt::ControlModifier);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0], std::make_pair(static_cast<TfrView *>(m), false));
    EXPECT_EQ(edits[1], std::make_pair(static_cast<TfrView *>(m), true));
    // Page options refused by the restriction word.
    frObjects().frDesignerRestrictions = 1 << drNoPageOptions;
    click(400, 400);
    g().doubleClick();
    EXPECT_EQ(options, 1);
    frObjects().frDesignerRestrictions = 0;
    // A dialog page opens its script instead.
    page->PageTypeValue = ptDialog;
    g().resetMouseState();
    g().doubleClick();
    EXPECT_EQ(scripts, 1);
    EXPECT_EQ(options, 1);
}

TEST_F(GesturesTest, LeavingTheSurfaceTakesTheNewObjectRectangleAway)
{
    useTool(kToolMemo);
    hover(40, 40);
    EXPECT_EQ(core->state.RubberRect, edges(40, 40, 136, 58));
    g().mouseLeave();
    EXPECT_EQ(core->state.RubberRect, edges(-9960, -9960, -9864, -9942));
    hover(80, 80);
    EXPECT_EQ(core->state.RubberRect, edges(80, 80, 176, 98));
}

} // namespace designer::test
