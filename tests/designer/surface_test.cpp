// The page surface as the user sees it: pixels of the cached page image with
// the XOR marks over it, probed where the grid, columns, objects and handles
// must (and must not) show.
#include "designer_fixture.h"

#include "platform/canvas/bitmaps.h"
#include "tests/support/gui/shots.h"

#include <QDir>
#include <QPainter>

namespace designer::test
{
namespace
{

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;

class SurfaceTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        // A plain sheet: no margins, one column, no grid unless a test asks.
        page->PrnInfo.Pgw = 600;
        page->PrnInfo.Pgh = 800;
        page->UseMargins = 0;
        page->Columns = 1;
        settings().GridShow = false;
        view.visible = QRect(0, 0, 600, 800);
    }
    DesignerSettings &settings() { return core->state.Settings; }
    SurfaceRenderer &surface() { return core->surface; }

    // The pixel at surface coordinates as a paint event shows it.
    QRgb px(int x, int y)
    {
        const QImage img = surface().composed();
        const QPoint at = QPoint(x, y) - surface().imageOrigin();
        EXPECT_TRUE(img.rect().contains(at)) << x << "," << y;
        return img.pixel(at) | 0xFF000000;
    }
    void expectPx(QRgb colour, std::initializer_list<QPoint> points)
    {
        for (const QPoint &p : points)
            EXPECT_EQ(px(p.x(), p.y()), colour) << "at " << p.x() << "," << p.y();
    }
    report::TfrMemoView *filled(const QString &name, int x, int y, int dx, int dy,
                                platform::TColor fill)
    {
        report::TfrMemoView *m = memo(name, x, y, dx, dy);
        m->FillColor = fill;
        return m;
    }
    void drawAll() { surface().Draw(10000, std::nullopt); }
    int handleCount() const
    {
        int n = 0;
        for (const XorMark &m : core->surface.overlay())
            n += m.kind == XorMark::Handle ? 1 : 0;
        return n;
    }
    // Pixels of column x in [top, bottom] of that colour.
    int countInColumn(int x, int top, int bottom, QRgb colour)
    {
        const QImage img = surface().composed();
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            n += (img.pixel(QPoint(x, y) - surface().imageOrigin()) | 0xFF000000) == colour;
        return n;
    }
};

// --- background and grid

TEST_F(SurfaceTest, GridDotsFollowTheGridSizeFromTheSurfaceOrigin)
{
    // Scrolled by an amount that is no multiple of the grid: the dots stay
    // on the page's own multiples.
    view.visible = QRect(3, 5, 300, 200);
    settings().GridShow = true;

    settings().GridSize = 8;
    drawAll();
    EXPECT_EQ(surface().imageOrigin(), QPoint(3, 5));
    EXPECT_EQ(surface().image().size(), QSize(300, 200));
    expectPx(kBlack, {{8, 16}, {64, 200}});
    expectPx(kWhite, {{12, 16}, {8, 12}, {9, 16}});

    settings().GridSize = 4;
    drawAll();
    expectPx(kBlack, {{12, 16}, {8, 12}});
    expectPx(kWhite, {{14, 16}, {12, 17}});

    // 5 mm: single pixels every 18, no pattern.
    settings().GridSize = 18;
    drawAll();
    expectPx(kBlack, {{18, 36}, {36, 18}});
    expectPx(kWhite, {{16, 16}, {8, 16}, {19, 36}, {18, 37}});

    settings().GridShow = false;
    drawAll();
    expectPx(kWhite, {{18, 36}, {8, 16}});
}

TEST_F(SurfaceTest, GridShowsOnlyWhereNoObjectLies)
{
    settings().GridShow = true;
    settings().GridSize = 18;
    filled("Memo1", 30, 30, 60, 60, platform::clRed);
    drawAll();
    EXPECT_EQ(px(54, 54), kRed);    // a grid point under the memo
    EXPECT_EQ(px(108, 54), kBlack); // beside it
}

TEST_F(SurfaceTest, DialogPagesShowThePageColour)
{
    page->PageTypeValue = report::ptDialog;
    page->FormWidth = 300;
    page->FormHeight = 200;
    page->Color = 0x00FFFF; // yellow
    page->UseMargins = 1;   // no margins on dialog pages
    page->LeftMargin = 10;
    drawAll();
    EXPECT_EQ(surface().image().size(), QSize(300, 200));
    expectPx(0xFFFFFF00, {{10, 50}, {150, 100}});
}

// --- margins and columns

TEST_F(SurfaceTest, MarginsAndThreeColumnsWithoutGapTouch)
{
    page->UseMargins = 1;
    page->LeftMargin = 20;
    page->RightMargin = 20;
    page->TopMargin = 30;
    page->BottomMargin = 40;
    page->Columns = 3;
    page->ColumnGap = 0;
    drawAll();
    // Margins: a solid grey rectangle, right and bottom edges left out.
    expectPx(kGrey, {{20, 400}, {300, 30}, {579, 400}, {300, 759}});
    expectPx(kWhite, {{580, 400}});
    // (580 - 20) div 3, stored for the page's formation.
    EXPECT_EQ(page->ColWidth, 186);
    // Dotted edges at 20 + k * 186; a column's right edge is the next one's
    // left edge, so nothing lies between them.
    for (int x : {206, 392}) {
        const int dots = countInColumn(x, 100, 300, kGrey);
        EXPECT_GT(dots, 50) << x;
        EXPECT_LT(dots, 201) << x; // dotted, not solid
        EXPECT_EQ(countInColumn(x - 1, 100, 300, kGrey), 0) << x;
        EXPECT_EQ(countInColumn(x + 1, 100, 300, kGrey), 0) << x;
    }
    EXPECT_GT(countInColumn(578, 100, 300, kGrey), 50); // the last column's right edge

    // With a gap the edges part.
    page->ColumnGap = 10;
    drawAll();
    EXPECT_EQ(page->ColWidth, 180);
    EXPECT_GT(countInColumn(200, 100, 300, kGrey), 50);
    EXPECT_GT(countInColumn(210, 100, 300, kGrey), 50);
    EXPECT_EQ(countInColumn(205, 100, 300, kGrey), 0);

    page->Columns = 1;
    drawAll();
    EXPECT_EQ(countInColumn(200, 100, 300, kGrey), 0);

    // Scrolled into the middle of a column on a page three times as high:
    // neither of its sides shows, its bottom edge does.
    settings().UnlimitedHeight = true;
    page->Columns = 2;
    page->ColumnGap = 0;
    view.visible = QRect(100, 700, 100, 200);
    drawAll();
    EXPECT_EQ(page->ColWidth, 280);
    int bottomDots = 0;
    for (int x = 100; x < 200; ++x)
        bottomDots += px(x, 800) == kGrey;
    EXPECT_GT(bottomDots, 20);
    EXPECT_EQ(px(150, 759), kGrey); // the margin's bottom edge, solid
}

// --- objects in their stacking order

TEST_F(SurfaceTest, ALowerObjectShowsOnlyItsUncoveredPartSelectedOrNot)
{
    report::TfrMemoView *lower = filled("Memo1", 40, 40, 100, 60, platform::clRed);
    filled("Memo2", 90, 70, 100, 60, platform::clBlue);
    for (bool selected : {false, true}) {
        select(selected ? std::initializer_list<report::TfrView *>{lower}
                        : std::initializer_list<report::TfrView *>{});
        drawAll();
        EXPECT_EQ(px(60, 60), kRed) << selected;
        EXPECT_EQ(px(120, 90), kBlue) << selected; // where both lie
        EXPECT_EQ(px(170, 120), kBlue) << selected;
        EXPECT_EQ(px(300, 300), kWhite) << selected;
    }
}

// Bands and memos without a fill draw only lines and texts: when a memo is
// dragged off them, what the partial repaints leave must be what a whole
// drawing shows, with no trace of the memo where it was.
TEST_F(SurfaceTest, DraggingOffABandOrAnUnfilledMemoLeavesNoTrace)
{
    settings().GridShow = true;
    settings().GridAlign = false;
    band(report::btReportTitle, 20, 300, QStringLiteral("ReportTitle1"));
    report::TfrMemoView *under = memo(QStringLiteral("Dessous"), 40, 60, 300, 120);
    under->Memo = {QStringLiteral("Texte du dessous")};
    report::TfrMemoView *moved = memo(QStringLiteral("Adresse"), 200, 100, 200, 100);
    moved->Memo = {QStringLiteral("[Nom]"), QStringLiteral("[Adresse1]"),
                   QStringLiteral("[Code] [Ville]")};
    surface().FirstDrawing();
    drawAll();
    const int cx = 300, cy = 150;
    for (int step : {20, 90, 250}) {
        core->gestures.mouseMove(Qt::NoButton, {}, cx, cy);
        core->gestures.mouseDown(Qt::LeftButton, {}, cx, cy);
        core->gestures.mouseMove(Qt::LeftButton, {}, cx + step / 2, cy + step / 3);
        core->gestures.mouseMove(Qt::LeftButton, {}, cx + step, cy + step);
        core->gestures.mouseUp(Qt::LeftButton, {}, cx + step, cy + step);
        const QImage incremental = surface().composed();
        surface().invalidate();
        drawAll();
        EXPECT_EQ(incremental, surface().composed()) << "moved by " << step;
        // Back where it was, for the next step.
        moved->x = 200;
        moved->y = 100;
        core->state.UnselectAll();
        surface().invalidate();
        drawAll();
    }
}

TEST_F(SurfaceTest, APartialDrawLeavesHigherObjectsAlone)
{
    report::TfrMemoView *lower = filled("Memo1", 40, 40, 100, 60, platform::clRed);
    report::TfrMemoView *upper = filled("Memo2", 90, 70, 100, 60, platform::clBlue);
    drawAll();
    // Both change colour; only objects up to index 0 are drawn again.
    lower->FillColor = platform::clLime;
    upper->FillColor = platform::clBlack;
    const QRegion damage(QRect(0, 0, 300, 300));
    view.changed = QRegion();
    surface().Draw(0, damage);
    EXPECT_EQ(px(60, 60), kGreen);
    EXPECT_EQ(px(120, 90), kBlue); // the upper object's old pixels stay
    EXPECT_EQ(px(170, 120), kBlue);
    EXPECT_TRUE(view.changed.contains(QRect(0, 0, 300, 300)));

    // Outside the damage nothing is drawn.
    lower->SetBounds(400, 400, 50, 50);
    surface().Draw(10000, QRegion(QRect(0, 0, 300, 300)));
    EXPECT_EQ(px(120, 90), kBlack);
    EXPECT_EQ(px(60, 60), kWhite); // the lower one left this place
    EXPECT_EQ(px(420, 420), kWhite);
}

TEST_F(SurfaceTest, ScriptAndHighlightMarksShowInTheCorner)
{
    const QImage script = platform::LoadBitmap(QStringLiteral("FR_SCRIPT"));
    const QImage highlight = platform::LoadBitmap(QStringLiteral("FR_HIGHLIGHT"));
    ASSERT_FALSE(script.isNull());
    ASSERT_FALSE(highlight.isNull());
    ASSERT_NE(script.pixel(0, 0), highlight.pixel(0, 0));

    report::TfrMemoView *m = filled("Memo1", 50, 50, 80, 40, platform::clBlue);
    drawAll();
    expectPx(kBlue, {{51, 51}, {51, 60}});

    m->Script = QStringList{QStringLiteral("Memo1.Visible := False;")};
    m->HighlightCondition = QStringLiteral("Value > 0");
    drawAll();
    EXPECT_EQ(px(51, 51), script.pixel(0, 0) | 0xFF000000);
    EXPECT_EQ(px(54, 53), script.pixel(3, 2) | 0xFF000000);
    EXPECT_EQ(px(51, 60), highlight.pixel(0, 0) | 0xFF000000);
    EXPECT_EQ(px(53, 63), highlight.pixel(2, 3) | 0xFF000000);
}

// --- XOR marks

TEST_F(SurfaceTest, AMarkDrawnTwiceIsGone)
{
    settings().GridShow = true;
    settings().GridSize = 8;
    filled("Memo1", 20, 20, 60, 40, platform::clBlue);
    drawAll();
    const QImage before = surface().composed();

    // A silver outline, each pixel once (the corners too); right and bottom
    // edges left out.
    view.changed = QRegion();
    surface().xorRect(edges(8, 16, 50, 42));
    EXPECT_EQ(view.changed.boundingRect(), QRect(8, 16, 42, 26)); // shown at once
    EXPECT_EQ(px(9, 16), 0xFF3F3F3F);                             // white ^ silver
    EXPECT_EQ(px(8, 16), 0xFFC0C0C0);                             // a grid dot ^ silver
    EXPECT_EQ(px(49, 41), 0xFFC0C03F);                            // blue ^ silver, the corner once
    EXPECT_EQ(px(8, 41), 0xFF3F3F3F);
    EXPECT_EQ(px(30, 30), kBlue); // inside untouched
    expectPx(kBlue, {{50, 42}, {50, 30}});
    surface().xorRect(edges(8, 16, 50, 42));
    EXPECT_EQ(surface().composed(), before);
    EXPECT_TRUE(surface().overlay().empty());

    // A rectangle one pixel wide is a single line, not two.
    surface().xorRect(edges(100, 100, 101, 120));
    expectPx(0xFF3F3F3F, {{100, 110}});
    expectPx(kWhite, {{101, 110}});

    surface().xorLine(edges(200, 10, 200, 300));
    surface().rubberLine(edges(300, 50, 400, 52)); // wider than high: horizontal
    expectPx(0xFF3F3F3F, {{200, 299}});
    expectPx(kWhite, {{200, 300}});
    EXPECT_EQ(px(350, 50), kBlack); // inverted white
    expectPx(kBlack, {{399, 50}});
    expectPx(kWhite, {{400, 50}});
    EXPECT_EQ(px(300, 52), kWhite); // never towards the second point's y
    surface().xorLine(edges(200, 10, 200, 300));
    surface().rubberLine(edges(300, 50, 400, 52));
    surface().xorRect(edges(100, 100, 101, 120));
    EXPECT_EQ(surface().composed(), before);

    // A full drawing takes every mark away: they live on the screen only.
    surface().xorRect(edges(10, 12, 50, 42));
    drawAll();
    EXPECT_TRUE(surface().overlay().empty());
    EXPECT_EQ(surface().composed(), before);
}

TEST_F(SurfaceTest, PaintShowsTheImageWithItsMarks)
{
    filled("Memo1", 20, 20, 60, 40, platform::clBlue);
    drawAll();
    surface().xorRect(edges(10, 10, 30, 30));
    surface().rubberLine(edges(100, 100, 100, 150));
    // A widget-sized image painted through a paint event's painter.
    QImage widget(600, 800, QImage::Format_ARGB32_Premultiplied);
    widget.fill(Qt::black);
    QPainter painter(&widget);
    surface().paint(painter, QRegion(0, 0, 600, 800));
    painter.end();
    EXPECT_EQ(widget.convertToFormat(QImage::Format_RGB32), surface().composed());
    EXPECT_EQ(widget.pixel(10, 10), 0xFF3F3F3F);
    EXPECT_EQ(widget.pixel(100, 120), kBlack);

    // Only the region asked for is painted.
    QImage part(600, 800, QImage::Format_RGB32);
    part.fill(Qt::black);
    QPainter partPainter(&part);
    surface().paint(partPainter, QRegion(0, 0, 50, 50));
    partPainter.end();
    EXPECT_EQ(part.pixel(40, 40), kBlue);
    EXPECT_EQ(part.pixel(60, 40), kBlack);
}

// --- handles

TEST_F(SurfaceTest, HandlesEightForOneFourForEachOfSeveralTwoForAFlatLine)
{
    report::TfrMemoView *a = memo("Memo1", 40, 40, 100, 60);
    report::TfrMemoView *b = memo("Memo2", 200, 40, 80, 80);
    select({a});
    drawAll();
    EXPECT_EQ(handleCount(), 8);
    // Centres inverted (white pen in XOR), 5 pixels wide.
    // (Probed beside the corners, which the memo marks itself.)
    EXPECT_EQ(px(42, 42), kBlack);
    EXPECT_EQ(px(90, 40), kBlack);  // top middle
    EXPECT_EQ(px(140, 70), kBlack); // right middle
    expectPx(kBlack, {{142, 72}, {138, 98}});
    expectPx(kWhite, {{143, 72}});

    // Two selected: four each, the corner object's last one teal.
    select({a, b});
    core->state.computeGroupRect();
    ASSERT_EQ(core->state.CornerIndex, 1);
    drawAll();
    EXPECT_EQ(handleCount(), 8);
    EXPECT_EQ(px(90, 40), kWhite); // no middles
    EXPECT_EQ(px(138, 98), kBlack);
    EXPECT_EQ(px(278, 118), 0xFFFF7F7F); // white ^ teal
    expectPx(kBlack, {{202, 42}, {278, 42}});

    // A line of no height: its two ends.
    auto line = std::make_unique<report::TfrLineView>();
    line->Name = QStringLiteral("Line1");
    line->SetBounds(50, 300, 200, 0);
    report::TfrView *flat = page->Add(std::move(line));
    select({flat});
    drawAll();
    EXPECT_EQ(handleCount(), 2);
    expectPx(kBlack, {{50, 302}, {250, 302}});
    EXPECT_EQ(px(150, 300), kBlack); // the line itself, no handle there
    EXPECT_EQ(px(150, 302), kWhite);

    // With a button held no handle is drawn; erasing them takes them away.
    surface().Down = true;
    drawAll();
    EXPECT_EQ(handleCount(), 0);
    surface().Down = false;
    drawAll();
    surface().drawSelection(1);
    EXPECT_EQ(handleCount(), 0);
    EXPECT_EQ(px(50, 302), kWhite);
}

TEST_F(SurfaceTest, APartialDrawShowsTheHandlesAtTheNewPlace)
{
    report::TfrMemoView *m = filled("Memo1", 40, 40, 100, 60, platform::clBlue);
    select({m});
    drawAll();
    // A move as the mouse does it: handles erased, object moved, damage drawn.
    surface().drawSelection(1);
    QRegion damage = m->GetClipRegion(true);
    m->SetBounds(240, 240, 100, 60);
    damage += m->GetClipRegion(true);
    surface().Draw(0, damage);
    EXPECT_EQ(handleCount(), 8);
    expectPx(kWhite, {{60, 60}, {40, 40}});
    EXPECT_EQ(px(242, 242), 0xFFFFFF00); // blue ^ white
    // Handles painted over by the drawing are gone from the screen, so the
    // drawing shows them again rather than taking them away.
    surface().Draw(0, damage);
    EXPECT_EQ(handleCount(), 8);
    EXPECT_EQ(px(242, 242), 0xFFFFFF00);
}

TEST_F(SurfaceTest, FocusRectanglesOutlineTheSelection)
{
    report::TfrMemoView *m = filled("Memo1", 40, 40, 100, 60, platform::clBlue);
    select({m});
    surface().Down = true;
    drawAll();
    surface().drawSelection(2);
    EXPECT_EQ(px(60, 40), 0xFFC0C03F);
    EXPECT_EQ(px(120, 100), 0xFFC0C03F); // y + dy inclusive
    EXPECT_EQ(px(140, 60), 0xFFC0C03F);  // x + dx inclusive
    expectPx(kWhite, {{120, 101}, {141, 60}});
    surface().drawSelection(2);
    EXPECT_TRUE(surface().overlay().empty());

    // Nothing while a report is built.
    report::frObjects().frDocMode = 1;
    surface().drawSelection(2);
    EXPECT_TRUE(surface().overlay().empty());
    report::frObjects().frDocMode = 0;
}

TEST_F(SurfaceTest, NothingIsDrawnWithoutPageOrWhileLocked)
{
    surface().PaintLocked = true;
    drawAll();
    EXPECT_TRUE(surface().image().isNull());
    EXPECT_EQ(view.surfaceChanges, 0);
    surface().PaintLocked = false;
    designerWindow->Page = nullptr;
    drawAll();
    EXPECT_TRUE(surface().image().isNull());
    EXPECT_EQ(surface().surfaceSize(), QSize());
}

// --- layout

TEST_F(SurfaceTest, LayoutPlacesThePageByThePagePosition)
{
    settings().PagePosition = 5;
    EXPECT_EQ(surface().layout(1000, 1000), QRect(200, 10, 600, 800));
    settings().PagePosition = 3;
    EXPECT_EQ(surface().layout(1000, 1000), QRect(10, 10, 600, 800));
    settings().PagePosition = 4;
    EXPECT_EQ(surface().layout(1000, 1000), QRect(389, 10, 600, 800));
    // Wider than the scroll box: at the left whatever the option.
    EXPECT_EQ(surface().layout(1000, 590), QRect(10, 10, 600, 800));
    EXPECT_EQ(surface().scrollRange(QRect(10, 10, 600, 800), 17), QSize(603, 820));

    settings().UnlimitedHeight = true;
    EXPECT_EQ(surface().layout(1000, 590), QRect(10, 10, 600, 2400));
    EXPECT_EQ(surface().surfaceSize(), QSize(600, 2400));

    page->PageTypeValue = report::ptDialog;
    page->FormWidth = 380;
    page->FormHeight = 300;
    EXPECT_EQ(surface().layout(1000, 1000), QRect(0, 0, 380, 300));
}

TEST_F(SurfaceTest, NormalizingTurnsRectanglesAndObjectsRightWayRound)
{
    const QRect r = SurfaceRenderer::normalizeRect(edges(50, 80, 10, 20));
    EXPECT_EQ(std::tuple(r.left(), r.top(), r.right(), r.bottom()), std::tuple(10, 20, 50, 80));

    report::TfrMemoView *m = memo("Memo1", 100, 100, -30, 20);
    SurfaceRenderer::normalizeObject(*m);
    EXPECT_EQ(QRect(m->x, m->y, m->dx, m->dy), QRect(70, 100, 30, 20));
    m->SetBounds(100, 100, 30, -40);
    SurfaceRenderer::normalizeObject(*m);
    EXPECT_EQ(QRect(m->x, m->y, m->dx, m->dy), QRect(100, 60, 30, 40));
    // Far out of range: kept within the geometry's limits.
    m->SetBounds(-(1 << 26), 0, INT_MIN, 10);
    SurfaceRenderer::normalizeObject(*m);
    EXPECT_EQ(m->x, -(1 << 26));
    EXPECT_EQ(m->dx, 1 << 26);
}

// --- absurd geometry from damaged files

TEST_F(SurfaceTest, AbsurdPagesAndObjectsDrawInBoundedTime)
{
    // A 100 m sheet three times over: the surface stays within a widget's
    // size and the image holds only what shows.
    page->PrnInfo.Pgw = 400000;
    page->PrnInfo.Pgh = 400000000;
    settings().UnlimitedHeight = true;
    EXPECT_EQ(surface().surfaceSize(), QSize(400000, kMaxSurfaceSide));
    const QRect placed = surface().layout(1000, 1000);
    EXPECT_EQ(placed.right(), 10 + 400000 - 1);
    EXPECT_LE(surface().scrollRange(placed, 17).height(), kMaxSurfaceSide + 20);
    view.visible = QRect(100000, 5000000, 900, 700);
    drawAll();
    EXPECT_EQ(surface().image().size(), QSize(900, 700));

    // Objects far away, of no or negative size, selected or not.
    view.visible = QRect(0, 0, 800, 600);
    report::TfrView *far1 = memo("Memo1", 1 << 26, 1 << 26, 1 << 26, 1 << 26);
    report::TfrView *far2 = memo("Memo2", -(1 << 26), -(1 << 26), 100, 100);
    report::TfrView *neg = memo("Memo3", 100, 100, -80, -60);
    report::TfrView *none = memo("Memo4", 200, 200, 0, 0);
    select({far1, far2, neg, none});
    core->state.computeGroupRect();
    drawAll();
    // Set in code beyond what files hold: drawn all the same.
    report::TfrView *huge = memo("Memo5", 2147483000, -2147483000, 2147483000, 2147483000);
    select({far1, far2, neg, none, huge});
    core->state.CornerIndex = 4;
    drawAll();
    surface().drawSelection(2);
    surface().drawSelection(1);
    surface().Draw(10000, QRegion(0, 0, 300, 300));
    EXPECT_EQ(px(500, 500), kWhite);

    // Columns by the billion, overlapping, of no width: only the visible
    // ones are drawn.
    page->PrnInfo.Pgw = 600;
    page->PrnInfo.Pgh = 800;
    settings().UnlimitedHeight = false;
    page->UseMargins = 1;
    page->LeftMargin = 20;
    page->RightMargin = 20;
    struct Case {
        qint32 columns, gap;
        qint32 width; // expected ColWidth
    };
    for (const Case &c : {Case{2000000000, 0, 0}, Case{2000000000, -1, 1}, Case{2000000000, -7, 7},
                          Case{2000000000, 2000000000, -(1 << 26)}, Case{3, -300, 386},
                          Case{5, 1 << 30, -(1 << 26)}}) {
        page->Columns = c.columns;
        page->ColumnGap = c.gap;
        drawAll();
        EXPECT_EQ(page->ColWidth, c.width) << c.columns << " " << c.gap;
    }
    // Negative gap: the three columns overlap, all three drawn.
    page->Columns = 3;
    page->ColumnGap = -300;
    drawAll();
    for (int x : {20, 106, 192, 406, 492, 578})
        EXPECT_GT(countInColumn(x, 100, 300, kGrey), 50) << x;

    // Margins the wrong way round: a negative column width.
    page->LeftMargin = 500;
    page->RightMargin = 500;
    page->Columns = 4;
    page->ColumnGap = 0;
    drawAll();
    EXPECT_EQ(page->ColWidth, (100 - 500) / 4);
}

// --- screenshot

TEST_F(SurfaceTest, Screenshot)
{
    report::frObjects().setMeasurer(nullptr); // real fonts, as the user sees them
    page->PrnInfo.Pgw = 420;
    page->PrnInfo.Pgh = 300;
    page->UseMargins = 1;
    page->LeftMargin = page->RightMargin = 18;
    page->TopMargin = page->BottomMargin = 18;
    page->Columns = 3;
    page->ColumnGap = 0;
    settings().GridShow = true;
    settings().GridSize = 8;
    view.visible = QRect(0, 0, 420, 300);
    report::TfrMemoView *a = filled("Memo1", 40, 40, 150, 60, 0xC0FFFF);
    a->Memo = QStringList{QStringLiteral("Mémo du dessous")};
    a->FrameTyp = 15;
    report::TfrMemoView *b = filled("Memo2", 120, 80, 150, 60, 0xFFE0C0);
    b->Memo = QStringList{QStringLiteral("Mémo du dessus")};
    b->FrameTyp = 15;
    b->Script = QStringList{QStringLiteral("Memo2.Visible := True;")};
    report::TfrMemoView *c = memo("Memo3", 200, 180, 120, 40);
    c->Memo = QStringList{QStringLiteral("[Clients.\"Nom\"]")};
    c->HighlightCondition = QStringLiteral("Value > 0");
    select({b});
    drawAll();
    EXPECT_EQ(handleCount(), 8);
    if (!vorn_test::shotsRequested())
        GTEST_SKIP() << "VORN_SHOTS_DIR not set";
    ASSERT_FALSE(
        vorn_test::saveShot(surface().composed(), QStringLiteral("surface_grid.png")).isEmpty());
}

} // namespace
} // namespace designer::test
