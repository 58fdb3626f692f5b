// Docks and toolbars: row packing, moves within a dock, docking at a point,
// a dragged toolbar going from the top dock to a float window and on to the
// left dock, and toolbar placement kept in the registry.
#include "io_support.h"

#include "platform/registry/registry.h"
#include "report/objects/frglobals.h"
#include "report/ui/frdock.h"

#include <QTemporaryDir>
#include <QTest>

namespace report::test
{
namespace
{

TEST(DockRules, RowsArePackedAndTheDockSized)
{
    struct Case {
        const char *what;
        TfrDockAlign align;
        int thickness;
        bool hasChildren;
        std::vector<QRect> bars;
        int size;
        std::vector<QPoint> corners;
    } cases[] = {
        {"empty", daTop, 40, false, {}, 1, {}},
        {"row closed", daTop, 79, true, {{0, 0, 100, 26}, {0, 52, 100, 26}}, 53, {{0, 0}, {0, 26}}},
        {"one row", daTop, 27, true, {{0, 0, 100, 26}}, 27, {{0, 0}}},
        {"taller bar grows the dock", daTop, 27, true, {{0, 0, 26, 60}}, 61, {{0, 0}}},
        {"left dock", daLeft, 53, true, {{26, 0, 26, 100}}, 27, {{0, 0}}},
        // A bottom dock opens its new row above.
        {"above", daBottom, 27, true, {{0, 1, 100, 26}, {0, -25, 100, 26}}, 53, {{0, 27}, {0, 1}}},
        {"right dock", daRight, 27, true, {{1, 0, 26, 100}}, 27, {{1, 0}}},
    };
    for (Case &c : cases) {
        const int size = frArrangeDockRows(c.align, c.thickness, 26, c.hasChildren, c.bars);
        EXPECT_EQ(size, c.size) << c.what;
        for (size_t i = 0; i < c.corners.size(); ++i)
            EXPECT_EQ(c.bars[i].topLeft(), c.corners[i]) << c.what << " bar " << i;
    }
}

TEST(DockRules, MovesFindAPlaceOrAreRefused)
{
    const QSize dock(400, 27), bar(100, 26);
    struct Case {
        const char *what;
        std::vector<QRect> others;
        int x;
        bool canFloat;
        bool settled;
        bool marked;
        int expectedX;
    } cases[] = {
        {"free", {}, 50, true, true, false, 50},
        {"clamped at the start", {}, -5, true, true, false, 0},
        {"past the start floats", {}, -21, true, true, true, 0},
        {"past the start without floating", {}, -21, false, true, false, 0},
        {"clamped at the end", {}, 350, true, true, false, 300},
        {"pushed past a neighbour", {{40, 0, 100, 26}}, 60, true, true, false, 140},
        {"stops before a neighbour", {{150, 0, 100, 26}}, 100, true, true, false, 50},
        // No room anywhere: the passes never settle.
        {"no room",
         {{0, 0, 150, 26}, {150, 0, 150, 26}, {300, 0, 100, 26}},
         10,
         true,
         false,
         false,
         0},
    };
    for (const Case &c : cases) {
        const FrDockMove m = frMoveInDock(true, dock, bar, c.others, c.x, 0, c.canFloat);
        EXPECT_EQ(m.settled, c.settled) << c.what;
        EXPECT_EQ(m.markedFloat, c.marked) << c.what;
        if (c.settled) {
            EXPECT_EQ(m.x, c.expectedX) << c.what;
        }
    }
}

TEST(DockRules, DockingAtAPoint)
{
    const std::vector<FrDockCandidate> docks{
        {QRect(0, 0, 600, 27), daTop},
        {QRect(0, 27, 27, 400), daLeft},
        {QRect(0, 427, 600, 27), daBottom},
    };
    struct Case {
        QPoint at;
        TfrOrientation orientation;
        int dock;
        QPoint pos;
    } cases[] = {
        {{50, 10}, toAny, 0, {50, 26}},
        {{580, 10}, toAny, 0, {500, 26}}, // clamped so that it fits
        {{10, 100}, toAny, 1, {26, 73}},  // turned upright: 26 wide
        {{10, 100}, toHorzOnly, -1, {}},
        {{50, 10}, toVertOnly, -1, {}},
        {{50, 430}, toAny, 2, {50, -25}},
        {{300, 200}, toAny, -1, {}},
    };
    for (const Case &c : cases) {
        const auto at = frDockAtPoint(docks, c.at, QSize(100, 26), c.orientation);
        EXPECT_EQ(at ? at->dock : -1, c.dock) << c.at.x() << "," << c.at.y();
        if (at && c.dock >= 0) {
            EXPECT_EQ(at->pos, c.pos) << c.at.x() << "," << c.at.y();
        }
    }
}

class DockTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        platform::TRegistry::setFileName(tempPath(QStringLiteral("registry.ini")));
    }
    void TearDown() override
    {
        platform::TRegistry::setFileName(QString());
        ReportLibraryTest::TearDown();
    }

    // A form with four docks and one toolbar of three buttons in the top dock.
    struct Form {
        QWidget window;
        TfrDock *top, *bottom, *left, *right;
        TfrToolBar *bar;
        Form()
        {
            window.resize(600, 400);
            top = new TfrDock(daTop, &window);
            top->setObjectName(QStringLiteral("frDock1"));
            top->setGeometry(0, 0, 600, 27);
            bottom = new TfrDock(daBottom, &window);
            bottom->setObjectName(QStringLiteral("frDock2"));
            bottom->setGeometry(0, 373, 600, 27);
            left = new TfrDock(daLeft, &window);
            left->setObjectName(QStringLiteral("frDock3"));
            left->setGeometry(0, 27, 27, 346);
            right = new TfrDock(daRight, &window);
            right->setObjectName(QStringLiteral("frDock4"));
            right->setGeometry(573, 27, 27, 346);
            bar = new TfrToolBar(top);
            bar->setObjectName(QStringLiteral("Panel1"));
            bar->Caption = QStringLiteral("Standard");
            for (int i = 0; i < 3; ++i) {
                auto *b = new TfrTBButton(bar);
                b->setObjectName(QStringLiteral("Bouton%1").arg(i));
                b->setGeometry(20 + 22 * i, 2, 22, 22);
            }
            bar->AppendToDock(top);
            window.show();
        }
    };
};

TEST_F(DockTest, DraggedToolbarMovesFloatsAndDocksUpright)
{
    Form f;
    TfrToolBar *bar = f.bar;
    EXPECT_EQ(bar->width(), 11 + 3 * 22 + 4);
    EXPECT_EQ(f.top->height(), 27);
    TfrDragBox *grip = bar->Grip();
    // Along the top dock.
    QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(grip, QPoint(45, 5));
    EXPECT_EQ(bar->x(), 40);
    // Past its start: the toolbar floats.
    QTest::mouseMove(grip, QPoint(-60, 5));
    ASSERT_TRUE(bar->IsFloat());
    TfrFloatWindow *floating = bar->FloatWindow();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(f.top->height(), 1);
    EXPECT_EQ(frObjects().frFloatWindows.size(), 1u);
    // The float window dragged over the left dock docks there, upright.
    QTest::mouseMove(floating, floating->mapFromGlobal(f.left->mapToGlobal(QPoint(10, 50))));
    ASSERT_FALSE(bar->IsFloat());
    EXPECT_EQ(bar->Dock(), f.left);
    EXPECT_GT(bar->height(), bar->width());
    const auto *b0 = bar->findChild<TfrTBButton *>(QStringLiteral("Bouton0"));
    const auto *b2 = bar->findChild<TfrTBButton *>(QStringLiteral("Bouton2"));
    EXPECT_EQ(b0->x(), b2->x());
    EXPECT_LT(b0->y(), b2->y());
    EXPECT_EQ(f.left->width(), 27);
    QTest::mouseRelease(bar, Qt::LeftButton);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frObjects().frFloatWindows.empty());

    // Saved, it comes back in a new form.
    frSaveToolbarPosition(bar);
    Form again;
    frRestoreToolbarPosition(again.bar);
    EXPECT_EQ(again.bar->Dock(), again.left);
    EXPECT_TRUE(again.bar->IsVisible());
    EXPECT_GT(again.bar->height(), again.bar->width());
}

TEST_F(DockTest, ToolbarWithoutStoredValuesKeepsItsPlace)
{
    Form f;
    const QRect before = f.bar->geometry();
    frRestoreToolbarPosition(f.bar);
    EXPECT_EQ(f.bar->geometry(), before);
    EXPECT_EQ(f.bar->Dock(), f.top);
    EXPECT_TRUE(f.bar->IsVisible());
    f.bar->FloatTo(100, 100);
    frSaveToolbarPosition(f.bar);
    Form again;
    frRestoreToolbarPosition(again.bar);
    EXPECT_TRUE(again.bar->IsFloat());
    EXPECT_EQ(again.bar->FloatWindow()->pos(), QPoint(100, 100));
}

TEST_F(DockTest, RestoredFormLeavesMaximizedBeforeTakingItsBounds)
{
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\VornReport\\Form\\QWidget"), true));
    reg.WriteBool(QStringLiteral("Maximized"), false);
    reg.WriteInteger(QStringLiteral("XPosition"), 30);
    reg.WriteInteger(QStringLiteral("YPosition"), 40);
    reg.WriteInteger(QStringLiteral("Width"), 300);
    reg.WriteInteger(QStringLiteral("Height"), 200);
    QWidget w;
    w.setWindowState(Qt::WindowMaximized);
    frRestoreFormPosition(&w);
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w.geometry(), QRect(30, 40, 300, 200));
}

} // namespace
} // namespace report::test
