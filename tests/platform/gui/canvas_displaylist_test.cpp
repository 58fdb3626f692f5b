// Recording a drawing, playing it back at a scale and an offset, finding its
// texts, and its text form (golden files in tests/data/canvas).
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/recordingcanvas.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

QString golden(const char *name)
{
    return QStringLiteral(VORN_TEST_DATA "/canvas/") + QString::fromLatin1(name);
}

// Compares text with a golden file; VORN_UPDATE_GOLDEN=1 rewrites the file.
void expectGolden(const QString &text, const char *name)
{
    QFile f(golden(name));
    if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString()) << name;
}

QImage checker2x2()
{
    QImage img(2, 2, QImage::Format_ARGB32);
    img.setPixelColor(0, 0, Qt::red);
    img.setPixelColor(1, 0, Qt::green);
    img.setPixelColor(0, 1, Qt::blue);
    img.setPixelColor(1, 1, Qt::black);
    return img;
}

// A page-like scene that uses every kind of item and state.
void drawScene(Canvas &c)
{
    c.setClipRect(rectLTRB(0, 0, 200, 120));
    c.setBrushColor(clWhite);
    c.fillRect(rectLTRB(0, 0, 200, 120));

    c.setPen(FrPen{clBlack, 1, PenStyle::Dash});
    c.setBrushClear();
    c.rectangle(2, 2, 198, 118);

    c.setPen(FrPen{clBlue, 1, PenStyle::Dot});
    c.setBrushColor(clRed);
    c.setBackgroundMode(BackgroundMode::Opaque);
    c.moveTo(5, 10);
    c.lineTo(60, 10);

    c.setBackgroundMode(BackgroundMode::Transparent);
    c.setPen(FrPen{rgb(0, 128, 0), 2, PenStyle::Solid});
    c.polyline({QPoint(5, 100), QPoint(30, 80), QPoint(55, 100)});

    FrFont f;
    f.height = -13;
    f.style = fsBold;
    c.setFont(f);
    c.setTextCharacterExtra(1);
    c.setTextJustification(6, 1);
    c.textOut(10, 20, QStringLiteral("Hello World"));
    c.setTextJustification(0, 0);
    c.setTextCharacterExtra(0);

    f.style = 0;
    f.color = clBtnShadow;
    c.setFont(f);
    c.setBrushColor(rgb(255, 255, 0));
    c.setBackgroundMode(BackgroundMode::Opaque);
    c.textRect(rectLTRB(10, 40, 50, 55), 12, 41, QStringLiteral("Clipped \"text\""));

    c.setBackgroundMode(BackgroundMode::Transparent);
    c.setFont(f.rotated());
    c.textOut(150, 90, QStringLiteral("Up"));

    c.setPen(FrPen{clBlack, 1, PenStyle::Solid});
    c.setBrushColor(clSilver);
    c.rectangle(70, 60, 90, 75);

    c.drawImage(rectLTRB(100, 60, 120, 80), checker2x2());
    c.drawMetafilePlaceholder(rectLTRB(125, 60, 145, 80));

    c.save();
    c.setClipRegion(QRegion(rectLTRB(0, 0, 10, 10)) + QRegion(rectLTRB(20, 0, 30, 10)));
    c.setBrushColor(clRed);
    c.fillRect(rectLTRB(0, 0, 30, 10));
    c.restore();
    c.clearClip();
    c.moveTo(0, 119);
    c.lineTo(200, 119);
}

// Pixels of one kind (dark or light) met from (x, y) on in the direction
// (dx, dy).
int runOf(const QImage &img, bool dark, int x, int y, int dx, int dy)
{
    int n = 0;
    for (; x >= 0 && y >= 0 && x < img.width() && y < img.height() &&
           (qGray(img.pixel(x, y)) < 128) == dark;
         x += dx, y += dy)
        ++n;
    return n;
}

// The scene painted straight onto a white w x h image, and recorded then
// played back onto another.
std::pair<QImage, QImage> paintedAndReplayed(int w, int h,
                                             const std::function<void(Canvas &)> &scene)
{
    QtTextMeasurer measurer;
    QImage direct(w, h, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::white);
    QImage replayed = direct;
    {
        QPainterCanvas c(&direct, &measurer);
        scene(c);
    }
    RecordingCanvas rec(measurer, rectLTRB(0, 0, w, h));
    scene(rec);
    {
        QPainterCanvas c(&replayed, &measurer);
        rec.displayList().replay(c);
    }
    return {direct, replayed};
}

} // namespace

TEST(CanvasDisplayList, RecordsTheSceneAsWritten)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed, rectLTRB(0, 0, 200, 120));
    drawScene(rec);
    expectGolden(rec.displayList().dump(), "scene.txt");
}

TEST(CanvasDisplayList, ReplaysAtAScaleAndAnOffset)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    drawScene(rec);
    RecordingCanvas target(fixed);
    rec.displayList().replay(target, 1.5, 2.0, QPoint(10, -5));
    expectGolden(target.displayList().dump(), "scene_scaled.txt");
    // Played at scale 1 without offset, the list records itself again.
    RecordingCanvas same(fixed);
    rec.displayList().replay(same);
    EXPECT_EQ(same.displayList().dump().toStdString(), rec.displayList().dump().toStdString());
}

TEST(CanvasDisplayList, ScalingRoundsHalfToEvenAndKeepsCharacterPlaces)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    rec.setBrushColor(clBlack);
    rec.fillRect(rectLTRB(1, 1, 3, 3));
    rec.setPen(FrPen{clBlack, 3, PenStyle::Solid});
    rec.moveTo(0, 0);
    rec.lineTo(10, 0);
    rec.setPen(FrPen{clBlack, 1, PenStyle::Dash});
    rec.lineTo(10, 10);
    FrFont f;
    f.height = -13;
    rec.setFont(f);
    rec.setBrushClear();
    rec.textOut(0, 0, QStringLiteral("abc"));

    RecordingCanvas out(fixed);
    rec.displayList().replay(out, 1.5, 1.5, QPoint(10, 0));
    const auto &items = out.displayList().items;
    ASSERT_EQ(items.size(), 4u);
    // 1 x 1.5 = 1.5 -> 2 and 3 x 1.5 = 4.5 -> 4: halves go to the even side.
    EXPECT_EQ(std::get<DlFill>(items[0]).rect, rectLTRB(12, 2, 14, 4));
    EXPECT_EQ(std::get<DlPolyline>(items[1]).pen.width, 4);
    EXPECT_EQ(std::get<DlPolyline>(items[1]).points, (QList<QPoint>{{10, 0}, {25, 0}}));
    // The one-pixel dashed line down x = 10, y 0 to 9 (within its first
    // dash): column 10 covers 15 to 16.5 -> 16, so one pixel; rows 0 to 15.
    EXPECT_EQ(std::get<DlFill>(items[2]).rect, rectLTRB(25, 0, 26, 15));
    const TextDraw &t = std::get<DlText>(items[3]).draw;
    EXPECT_EQ(t.font.height, -20); // 19.5 -> 20
    // Places 7, 14, 21 become 10.5, 21, 31.5 -> 10, 21, 32.
    EXPECT_EQ(t.dx, (QList<int>{10, 11, 11}));
    EXPECT_EQ(t.origin, QPoint(10, 0));
}

TEST(CanvasDisplayList, ReplayStaysInsideTheTargetClipAndLeavesItsState)
{
    FixedAdvanceMeasurer fixed;
    RecordingCanvas rec(fixed);
    rec.setClipRect(rectLTRB(40, 0, 100, 100));
    rec.setBrushColor(clRed);
    rec.fillRect(rectLTRB(0, 0, 100, 100));
    rec.clearClip();
    rec.fillRect(rectLTRB(0, 0, 5, 5));

    RecordingCanvas target(fixed);
    target.setClipRect(rectLTRB(0, 0, 50, 50));
    target.setBrushColor(clBlue);
    target.setFont(FrFont{QStringLiteral("Courier New"), -20});
    rec.displayList().replay(target);
    EXPECT_EQ(target.displayList().dump().toStdString(), "clip 0,0 50x50\n"
                                                         "clip 40,0 10x50\n"
                                                         "fill 0,0 100x100 brush=0x000000FF\n"
                                                         "clip 0,0 50x50\n"
                                                         "fill 0,0 5x5 brush=0x000000FF\n");
    EXPECT_EQ(target.clipRegion(), QRegion(rectLTRB(0, 0, 50, 50)));
    EXPECT_EQ(target.brush().color, clBlue);
    EXPECT_EQ(target.font().name, QStringLiteral("Courier New"));
}

TEST(CanvasDisplayList, TextRunsGiveTheCellsOfEachText)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    drawScene(rec);
    const QList<TextRun> runs = rec.displayList().textRuns();
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].text, QStringLiteral("Hello World"));
    // Ten letters of 7 + 1 extra, one blank of 4 + 1 + 6 of justification.
    EXPECT_EQ(runs[0].rect, QRect(10, 20, 80 + 11, 13));
    EXPECT_EQ(runs[1].text, QStringLiteral("Clipped \"text\""));
    EXPECT_EQ(runs[1].rect.topLeft(), QPoint(12, 41));
    // Turned text: its cells stand to the right of x and above y.
    EXPECT_EQ(runs[2].text, QStringLiteral("Up"));
    EXPECT_EQ(runs[2].rect, QRect(150, 90 - 14, 13, 14));
    EXPECT_TRUE(std::holds_alternative<DlText>(rec.displayList().items[runs[2].item]));
}

TEST(CanvasDisplayList, JustificationSharesTheExtraOverTheBlanks)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    // 8 pixels over 3 blanks: 2 each, one more for the first two.
    rec.setTextJustification(8, 3);
    rec.textOut(0, 0, QStringLiteral("a b c d"));
    // Still in force for the next output, until it is ended.
    rec.textOut(0, 20, QStringLiteral("a b"));
    rec.setTextJustification(-5, 2);
    rec.textOut(0, 40, QStringLiteral("a b c"));
    rec.setTextJustification(0, 0);
    rec.setTextCharacterExtra(2);
    rec.textOut(0, 60, QStringLiteral("a b"));
    const QList<TextRun> runs = rec.displayList().textRuns();
    const auto dx = [&](int i) { return std::get<DlText>(rec.displayList().items[i]).draw.dx; };
    EXPECT_EQ(dx(runs[0].item), (QList<int>{7, 7, 7, 7, 7, 6, 7}));
    EXPECT_EQ(dx(runs[1].item), (QList<int>{7, 7, 7}));
    EXPECT_EQ(dx(runs[2].item), (QList<int>{7, 1, 7, 2, 7}));
    EXPECT_EQ(dx(runs[3].item), (QList<int>{9, 6, 9}));
    // Measuring ignores justification but counts character extra.
    EXPECT_EQ(rec.textWidth(u"a b"), 24);
}

TEST(CanvasDisplayList, TakingTheListStartsAFreshOneWithTheClipInForce)
{
    FixedAdvanceMeasurer fixed;
    RecordingCanvas rec(fixed);
    rec.setClipRect(rectLTRB(0, 0, 10, 10));
    rec.fillRect(rectLTRB(0, 0, 5, 5));
    const DisplayList first = rec.takeDisplayList();
    EXPECT_EQ(first.items.size(), 2u);
    EXPECT_EQ(rec.displayList().dump().toStdString(), "clip 0,0 10x10\n");
    // Setting the same clip again records nothing new.
    rec.setClipRect(rectLTRB(0, 0, 10, 10));
    EXPECT_EQ(rec.displayList().items.size(), 1u);
    EXPECT_FALSE(rec.rectVisible(rectLTRB(10, 10, 20, 20)));
    EXPECT_TRUE(rec.rectVisible(rectLTRB(9, 9, 20, 20)));
}

TEST(CanvasDisplayList, ReplayOntoAnImageEqualsDirectPainting)
{
    const auto [direct, replayed] = paintedAndReplayed(200, 120, drawScene);
    EXPECT_EQ(direct, replayed);
    // The scene did paint: the red clip-region fill shows left of x = 10 only.
    EXPECT_EQ(direct.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(direct.pixelColor(15, 5), QColor(Qt::white));
    EXPECT_EQ(direct.pixelColor(25, 5), QColor(Qt::red));
}

TEST(CanvasDisplayList, ReplayKeepsTheOrderOfTextsAndFills)
{
    // Texts of one font and colour, fills over and under them, a second
    // colour and a clip in between: played back, each shows as drawn.
    const auto scene = [](Canvas &c) {
        FrFont f;
        f.height = -15;
        c.setFont(f);
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.setBrushColor(clSilver);
        c.fillRect(rectLTRB(0, 0, 60, 20));
        c.textOut(2, 2, QStringLiteral("Avant"));
        c.textOut(62, 2, QStringLiteral("Suite"));
        c.setBrushColor(clWhite);
        c.fillRect(rectLTRB(20, 0, 40, 40)); // covers the middle of "Avant"
        c.textOut(2, 22, QStringLiteral("Dessus"));
        f.color = clRed;
        c.setFont(f);
        c.textOut(30, 22, QStringLiteral("Rouge"));
        c.setClipRect(rectLTRB(0, 40, 50, 60));
        c.textOut(2, 42, QStringLiteral("Coupé au milieu"));
        c.clearClip();
        c.setPen(FrPen{clBlue, 1, PenStyle::Solid});
        c.moveTo(0, 30);
        c.lineTo(120, 30); // over "Dessus" and "Rouge"
        c.textOut(2, 62, QStringLiteral("Dernier"));
    };
    const auto [direct, replayed] = paintedAndReplayed(120, 80, scene);
    EXPECT_EQ(direct, replayed);
    // The white fill hides the middle of the first text; the blue line
    // crosses the red one.
    bool inkUnderFill = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            inkUnderFill |= direct.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_FALSE(inkUnderFill);
    EXPECT_EQ(replayed.pixelColor(60, 30), QColor(Qt::blue));
}

TEST(CanvasDisplayList, ABorrowedPainterGetsItsPenAndFontBack)
{
    QtTextMeasurer measurer;
    QImage img(60, 30, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    const QFont font(QStringLiteral("Liberation Mono"), 9);
    p.setPen(QPen(Qt::green, 3));
    p.setFont(font);
    {
        QPainterCanvas c(&p, &measurer);
        FrFont f;
        f.color = clRed;
        c.setFont(f);
        c.textOut(2, 2, QStringLiteral("Texte"));
    }
    EXPECT_EQ(p.pen(), QPen(Qt::green, 3));
    EXPECT_EQ(p.font(), font);
}

TEST(CanvasDisplayList, ReplayAtDoubleScaleOntoAnImage)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    rec.setBrushColor(clBlue);
    rec.rectangle(10, 10, 20, 20);
    QImage img(60, 60, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    {
        QPainterCanvas c(&img, &fixed);
        rec.displayList().replay(c, 2.0, 2.0, QPoint(5, 5));
    }
    // (10,10)-(20,20) becomes (25,25)-(45,45): outline on 25 and 44.
    EXPECT_EQ(img.pixelColor(25, 30), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(44, 30), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(30, 30), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(45, 30), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(24, 30), QColor(Qt::white));
}

// A damaged prepared page of a few kilobytes can hold hundreds of dotted
// lines tens of thousands of pixels long: played larger, their dots are
// walked only up to a bound, the rest drawn plain, so that the page neither
// takes gigabytes nor leaves out a line.
TEST(CanvasDisplayList, DottedLinesOfADamagedPageAreWalkedOnlyUpToABound)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    rec.setPen(FrPen{clBlack, 1, PenStyle::Dot});
    for (int i = 0; i < 200; ++i) {
        rec.moveTo(0, i);
        rec.lineTo(60000, i);
    }
    RecordingCanvas played(fixed);
    rec.displayList().replay(played, 2, 2);
    const std::vector<DisplayItem> &items = played.displayList().items;
    // Unbounded, the dots of these 12,000,000 pixels would be about four
    // million fills (one for every three pixels walked).
    EXPECT_LT(items.size(), 1000000u);
    // Every line still reaches its end: the last one's far end is covered.
    const bool farEnd = std::any_of(items.begin(), items.end(), [](const DisplayItem &item) {
        const auto *fill = std::get_if<DlFill>(&item);
        return fill && fill->rect.contains(QPoint(119990, 2 * 199));
    });
    EXPECT_TRUE(farEnd);
    // The first lines keep their dots: 3 pixels on, 3 off, twice as long.
    const auto *first = std::get_if<DlFill>(&items.front());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->rect.width(), 6);
}

TEST(CanvasDisplayList, OnePixelPensGrowWithTheScaleNeverUnderAPixel)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    rec.setBrushClear();
    rec.setPen(FrPen{clBlack, 1, PenStyle::Solid});
    rec.rectangle(10, 10, 40, 30);
    rec.setPen(FrPen{clBlack, 1, PenStyle::Dot});
    rec.moveTo(10, 40);
    rec.lineTo(40, 40);
    rec.setPen(FrPen{clBlack, 0, PenStyle::Solid});
    rec.moveTo(50, 10);
    rec.lineTo(50, 40);

    // A 600 dpi printer: 600 / (93 / 1.015) device pixels a report pixel.
    const double paper = 600 / (93 / 1.015);
    struct Case {
        double scale;
        int lo, hi; // the widths a recorded pixel may take
    };
    for (const Case k :
         {Case{0.5, 1, 1}, Case{1, 1, 1}, Case{2, 2, 2}, Case{4, 4, 4}, Case{paper, 6, 7}}) {
        QImage img(int(60 * k.scale) + 2, int(60 * k.scale) + 2, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainterCanvas c(&img, &fixed);
            rec.displayList().replay(c, k.scale, k.scale);
        }
        const auto at = [&](int v) { return int(std::nearbyint(v * k.scale)); };
        // The rectangle's left edge across, its top edge down, the hairline.
        const int left = runOf(img, true, at(10), at(20), 1, 0);
        const int top = runOf(img, true, at(25), at(10), 0, 1);
        const int hair = runOf(img, true, at(50), at(25), 1, 0);
        for (int w : {left, top, hair}) {
            EXPECT_GE(w, k.lo) << k.scale;
            EXPECT_LE(w, k.hi) << k.scale;
        }
        // Dots of 3 on and 3 off: as long as 3 recorded pixels once the pen
        // has grown, the device's own pattern below.
        const int dot = runOf(img, true, at(10), at(40), 1, 0);
        const int gap = runOf(img, false, at(10) + dot, at(40), 1, 0);
        const int expected = k.scale > 1 ? at(13) - at(10) : 3;
        EXPECT_EQ(dot, expected) << k.scale;
        EXPECT_EQ(gap, k.scale > 1 ? at(16) - at(13) : 3) << k.scale;
    }
}
