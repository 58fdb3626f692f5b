// Painting on images: the pixels that lines, rectangles, dashes, clips,
// images and texts cover, and text drawn exactly as wide as it measures.
#include "platform/canvas/qpaintercanvas.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

QColor at(const QImage &img, int x, int y)
{
    return img.pixelColor(x, y);
}

bool dark(const QImage &img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

// Runs of dark and light pixels along row y from x0 to x1 (excluded), as
// "on N" / "off N" words.
QString runs(const QImage &img, int y, int x0, int x1)
{
    QStringList out;
    int start = x0;
    for (int x = x0 + 1; x <= x1; ++x)
        if (x == x1 || dark(img, x, y) != dark(img, start, y)) {
            out << QStringLiteral("%1 %2")
                       .arg(dark(img, start, y) ? QStringLiteral("on") : QStringLiteral("off"))
                       .arg(x - start);
            start = x;
        }
    return out.join(QStringLiteral(", "));
}

// First and last columns (or rows, across) that hold dark ink between rows
// (or columns) a0 and a1, excluded.
std::pair<int, int> inkSpan(const QImage &img, int a0, int a1, bool across)
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < (across ? img.height() : img.width()); ++i)
        for (int a = a0; a < a1; ++a)
            if (across ? dark(img, a, i) : dark(img, i, a)) {
                if (first < 0)
                    first = i;
                last = i;
                break;
            }
    return {first, last};
}

FrFont arial13()
{
    FrFont f;
    f.height = -13;
    return f;
}

// Draws on img in Arial 13 with no background brush.
void withText(QImage &img, const std::function<void(QPainterCanvas &)> &draw)
{
    QPainterCanvas c(&img);
    c.setFont(arial13());
    c.setBrushClear();
    draw(c);
}

} // namespace

TEST(CanvasPainter, LinesLeaveOutTheirLastPixel)
{
    QImage img = blank(40, 40);
    {
        QPainterCanvas c(&img);
        c.moveTo(10, 10);
        c.lineTo(20, 10); // horizontal
        EXPECT_EQ(c.penPos(), QPoint(20, 10));
        c.moveTo(30, 5);
        c.lineTo(30, 15); // vertical, downwards
        c.moveTo(5, 30);
        c.lineTo(0, 25); // diagonal, up and left
    }
    for (int x = 10; x < 20; ++x)
        EXPECT_TRUE(dark(img, x, 10)) << x;
    EXPECT_FALSE(dark(img, 9, 10));
    EXPECT_FALSE(dark(img, 20, 10));
    for (int y = 5; y < 15; ++y)
        EXPECT_TRUE(dark(img, 30, y)) << y;
    EXPECT_FALSE(dark(img, 30, 15));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(dark(img, 5 - i, 30 - i)) << i;
    EXPECT_FALSE(dark(img, 0, 25));
}

TEST(CanvasPainter, PolylineLeavesOutOnlyItsLastPoint)
{
    QImage img = blank(20, 20);
    {
        QPainterCanvas c(&img);
        c.polyline({QPoint(0, 0), QPoint(10, 0), QPoint(10, 10)});
    }
    EXPECT_TRUE(dark(img, 9, 0));
    EXPECT_TRUE(dark(img, 10, 0)); // the inner corner is drawn
    EXPECT_TRUE(dark(img, 10, 9));
    EXPECT_FALSE(dark(img, 10, 10));
    EXPECT_FALSE(dark(img, 11, 0));
}

TEST(CanvasPainter, RectanglesCoverLeftAndTopButNotRightAndBottom)
{
    QImage img = blank(60, 40);
    {
        QPainterCanvas c(&img);
        c.setBrushColor(clRed);
        c.rectangle(10, 10, 20, 15);
        c.setPenStyle(PenStyle::Clear);
        c.rectangle(30, 10, 40, 15);
        c.setBrushColor(clBlue);
        c.fillRect(rectLTRB(10, 20, 15, 22));
    }
    // Outline on columns 10 and 19, rows 10 and 14; red inside.
    EXPECT_TRUE(dark(img, 10, 12));
    EXPECT_TRUE(dark(img, 19, 12));
    EXPECT_TRUE(dark(img, 15, 10));
    EXPECT_TRUE(dark(img, 15, 14));
    EXPECT_EQ(at(img, 20, 12), QColor(Qt::white));
    EXPECT_EQ(at(img, 15, 15), QColor(Qt::white));
    EXPECT_EQ(at(img, 15, 12), QColor(Qt::red));
    // Without a pen the fill is one pixel narrower and shorter.
    EXPECT_EQ(at(img, 30, 10), QColor(Qt::red));
    EXPECT_EQ(at(img, 38, 13), QColor(Qt::red));
    EXPECT_EQ(at(img, 39, 12), QColor(Qt::white));
    EXPECT_EQ(at(img, 35, 14), QColor(Qt::white));
    // fillRect covers exactly left..right-1, top..bottom-1.
    EXPECT_EQ(at(img, 10, 20), QColor(Qt::blue));
    EXPECT_EQ(at(img, 14, 21), QColor(Qt::blue));
    EXPECT_EQ(at(img, 15, 21), QColor(Qt::white));
    EXPECT_EQ(at(img, 14, 22), QColor(Qt::white));
}

TEST(CanvasPainter, CosmeticDashPatterns)
{
    QImage img = blank(120, 80);
    {
        QPainterCanvas c(&img);
        const PenStyle styles[] = {PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot,
                                   PenStyle::DashDotDot, PenStyle::Clear};
        int y = 5;
        for (PenStyle s : styles) {
            c.setPenStyle(s);
            c.moveTo(0, y);
            c.lineTo(60, y);
            y += 5;
        }
        // A wide pen draws solid whatever its style.
        c.setPen(FrPen{clBlack, 3, PenStyle::Dot});
        c.moveTo(10, 40);
        c.lineTo(50, 40);
        // The pattern runs on across the corners of a polyline.
        c.setPen(FrPen{clBlack, 1, PenStyle::Dash});
        c.polyline({QPoint(0, 50), QPoint(10, 50), QPoint(40, 50)});
    }
    EXPECT_EQ(runs(img, 5, 0, 60), "on 18, off 6, on 18, off 6, on 12");
    EXPECT_EQ(runs(img, 10, 0, 24), "on 3, off 3, on 3, off 3, on 3, off 3, on 3, off 3");
    EXPECT_EQ(runs(img, 15, 0, 48), "on 9, off 6, on 3, off 6, on 9, off 6, on 3, off 6");
    EXPECT_EQ(runs(img, 20, 0, 48),
              "on 9, off 3, on 3, off 3, on 3, off 3, on 9, off 3, on 3, off 3, on 3, off 3");
    EXPECT_EQ(runs(img, 25, 0, 60), "off 60");
    for (int y = 39; y <= 41; ++y)
        EXPECT_EQ(runs(img, y, 12, 48), "on 36") << y;
    EXPECT_EQ(runs(img, 50, 0, 40), "on 18, off 6, on 16");
}

TEST(CanvasPainter, OpaqueBackgroundFillsPatternGaps)
{
    QImage img = blank(40, 10);
    {
        QPainterCanvas c(&img);
        c.setPen(FrPen{clBlack, 1, PenStyle::Dot});
        c.setBrushColor(clRed);
        c.setBackgroundMode(BackgroundMode::Opaque);
        c.moveTo(0, 2);
        c.lineTo(12, 2);
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.moveTo(0, 6);
        c.lineTo(12, 6);
    }
    EXPECT_EQ(at(img, 0, 2), QColor(Qt::black));
    EXPECT_EQ(at(img, 3, 2), QColor(Qt::red));
    EXPECT_EQ(at(img, 3, 6), QColor(Qt::white));
    EXPECT_EQ(at(img, 12, 2), QColor(Qt::white));
}

TEST(CanvasPainter, PatternBrushTilesFromTheDeviceOrigin)
{
    QImage pattern(8, 8, QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.setPixelColor(x, y, (x == 0 && y == 0) ? Qt::black : Qt::white);
    QImage img = blank(32, 32);
    img.fill(Qt::green);
    {
        QPainterCanvas c(&img);
        c.setBrushPattern(pattern);
        c.fillRect(rectLTRB(3, 3, 20, 20));
    }
    EXPECT_EQ(at(img, 8, 8), QColor(Qt::black));
    EXPECT_EQ(at(img, 16, 16), QColor(Qt::black));
    EXPECT_EQ(at(img, 9, 8), QColor(Qt::white));
    EXPECT_EQ(at(img, 3, 3), QColor(Qt::white));
    EXPECT_EQ(at(img, 0, 0), QColor(Qt::green));
}

TEST(CanvasPainter, ClipRectRegionSaveAndRestore)
{
    QImage img = blank(60, 60);
    {
        QPainterCanvas c(&img);
        c.setBrushColor(clBlack);
        c.setClipRect(rectLTRB(5, 5, 15, 15));
        EXPECT_TRUE(c.rectVisible(rectLTRB(14, 14, 20, 20)));
        EXPECT_FALSE(c.rectVisible(rectLTRB(15, 15, 20, 20)));
        c.fillRect(rectLTRB(0, 0, 30, 30));
        c.save();
        QRegion two = QRegion(rectLTRB(20, 0, 22, 2)) + QRegion(rectLTRB(25, 0, 27, 2));
        c.setClipRegion(two);
        c.setBrushColor(clRed);
        c.fillRect(rectLTRB(20, 0, 30, 2));
        c.restore();
        // The clip and the brush are back.
        c.fillRect(rectLTRB(0, 20, 30, 30));
        c.clearClip();
        EXPECT_FALSE(c.hasClip());
        c.fillRect(rectLTRB(40, 0, 42, 2));
        // A text's own rectangle clips it too.
        c.setBrushClear();
        c.setFont(arial13());
        c.textRect(rectLTRB(40, 30, 45, 50), 40, 30, QStringLiteral("WWWW"));
        EXPECT_FALSE(c.rectVisible(QRect()));
        EXPECT_FALSE(c.rectVisible(rectLTRB(100, 0, 110, 10))); // outside the image
    }
    EXPECT_EQ(at(img, 4, 4), QColor(Qt::white));
    EXPECT_EQ(at(img, 5, 5), QColor(Qt::black));
    EXPECT_EQ(at(img, 14, 14), QColor(Qt::black));
    EXPECT_EQ(at(img, 15, 15), QColor(Qt::white));
    EXPECT_EQ(at(img, 21, 1), QColor(Qt::red));
    EXPECT_EQ(at(img, 23, 1), QColor(Qt::white));
    EXPECT_EQ(at(img, 26, 1), QColor(Qt::red));
    EXPECT_EQ(at(img, 5, 25), QColor(Qt::white)); // restored clip held the fill out
    EXPECT_EQ(at(img, 41, 1), QColor(Qt::black));
    const auto cols = inkSpan(img, 30, 50, false);
    EXPECT_GE(cols.first, 40);
    EXPECT_LE(cols.second, 44);
}

TEST(CanvasPainter, BorrowedPainterClipBoundsTheCanvas)
{
    QImage img = blank(30, 30);
    {
        QPainter p(&img);
        p.setClipRect(QRect(0, 0, 10, 30));
        {
            QPainterCanvas c(&p);
            c.setBrushColor(clBlack);
            c.setClipRect(rectLTRB(5, 0, 20, 30));
            EXPECT_FALSE(c.rectVisible(rectLTRB(12, 0, 20, 5)));
            c.fillRect(rectLTRB(0, 0, 30, 30));
        }
        EXPECT_EQ(p.clipRegion(), QRegion(QRect(0, 0, 10, 30)));
    }
    EXPECT_EQ(at(img, 4, 5), QColor(Qt::white));
    EXPECT_EQ(at(img, 5, 5), QColor(Qt::black));
    EXPECT_EQ(at(img, 9, 5), QColor(Qt::black));
    EXPECT_EQ(at(img, 10, 5), QColor(Qt::white));
}

TEST(CanvasPainter, ImagesAreStretchedWithoutSmoothing)
{
    QImage src(2, 2, QImage::Format_ARGB32);
    src.setPixelColor(0, 0, Qt::red);
    src.setPixelColor(1, 0, Qt::green);
    src.setPixelColor(0, 1, Qt::blue);
    src.setPixelColor(1, 1, Qt::black);
    QImage img = blank(30, 30);
    {
        QPainterCanvas c(&img);
        c.drawImage(rectLTRB(0, 0, 20, 20), src);
    }
    EXPECT_EQ(at(img, 9, 9), QColor(Qt::red));
    EXPECT_EQ(at(img, 10, 9), QColor(Qt::green));
    EXPECT_EQ(at(img, 9, 10), QColor(Qt::blue));
    EXPECT_EQ(at(img, 19, 19), QColor(Qt::black));
    EXPECT_EQ(at(img, 20, 20), QColor(Qt::white));
}

TEST(CanvasPainter, DrawnTextIsAsWideAsMeasured)
{
    // Forty narrow letters: fractional advances would end 4 pixels short.
    QImage img = blank(200, 30);
    int width = 0;
    withText(img, [&](QPainterCanvas &c) {
        width = c.textWidth(QString(40, u'i'));
        c.textOut(5, 5, QString(40, u'i'));
    });
    EXPECT_EQ(width, 120);
    const auto cols = inkSpan(img, 0, 30, false);
    EXPECT_GE(cols.first, 5);
    EXPECT_GE(cols.second, 5 + 39 * 3);
    EXPECT_LT(cols.second, 5 + 40 * 3);
}

TEST(CanvasPainter, TextPlacesEachCharacterAtItsMeasuredAdvance)
{
    const QString text = QStringLiteral("Résultats Poule 4");
    QImage whole = blank(260, 30);
    QImage pieces = blank(260, 30);
    QList<int> placed;
    withText(whole, [&](QPainterCanvas &c) {
        c.setTextCharacterExtra(2);
        placed = c.placedAdvances(text);
        c.textOut(3, 4, text);
        int total = 0;
        for (int a : placed)
            total += a;
        EXPECT_EQ(total, c.textWidth(text));
    });
    withText(pieces, [&](QPainterCanvas &c) {
        int x = 3;
        for (qsizetype i = 0; i < text.size(); ++i) {
            c.textOut(x, 4, text.mid(i, 1));
            x += placed[i];
        }
    });
    EXPECT_EQ(whole, pieces);
}

TEST(CanvasPainter, TextReachingPastItsClipIsCutThereOnly)
{
    const QString text = QStringLiteral("WWWWWW");
    QImage cut = blank(120, 30);
    QImage free = blank(120, 30);
    QImage roomy = blank(120, 30);
    withText(cut, [&](QPainterCanvas &c) { c.textRect(rectLTRB(5, 5, 31, 25), 5, 5, text); });
    withText(free, [&](QPainterCanvas &c) { c.textOut(5, 5, text); });
    withText(roomy, [&](QPainterCanvas &c) { c.textRect(rectLTRB(0, 0, 120, 30), 5, 5, text); });
    // Cut at x = 31, whole before it; a clip that holds the text changes nothing.
    EXPECT_EQ(inkSpan(cut, 0, 30, false).second, 30);
    EXPECT_GT(inkSpan(free, 0, 30, false).second, 60);
    EXPECT_EQ(cut.copy(0, 0, 31, 30), free.copy(0, 0, 31, 30));
    EXPECT_EQ(roomy, free);
}

TEST(CanvasPainter, ACharacterTheFontLacksIsDrawnFromAnotherFont)
{
    // U+263A is not in the metric twin of Arial; Qt draws it from a font
    // that has it, as a single character would be.
    const QString text = QStringLiteral("a\u263Ab");
    QImage canvas = blank(80, 30);
    QImage direct = blank(80, 30);
    QList<int> placed;
    QtTextMeasurer measurer;
    {
        QPainterCanvas c(&canvas, &measurer);
        c.setFont(arial13());
        c.setBrushClear();
        placed = c.placedAdvances(text);
        c.textOut(4, 4, text);
    }
    {
        QPainter p(&direct);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(measurer.qfont(arial13()));
        p.setPen(Qt::black);
        const int baseline = 4 + measurer.metrics(arial13()).ascent;
        int x = 4;
        for (int i = 0; i < 3; ++i) {
            p.drawText(QPointF(x, baseline), text.mid(i, 1));
            x += placed[i];
        }
    }
    EXPECT_EQ(canvas, direct);
}

TEST(CanvasPainter, JustificationMovesTheWordsAfterEachBlank)
{
    const QString text = QStringLiteral("ab cd");
    QImage plain = blank(120, 30);
    QImage spread = blank(120, 30);
    withText(plain, [&](QPainterCanvas &c) { c.textOut(2, 2, text); });
    int split = 0;
    withText(spread, [&](QPainterCanvas &c) {
        split = 2 + c.textWidth(u"ab ");
        c.setTextJustification(10, 1);
        c.textOut(2, 2, text);
        EXPECT_EQ(c.placedAdvances(text)[2], c.measurer().advance(c.font(), u' ') + 10);
    });
    EXPECT_EQ(plain.copy(0, 0, split, 30), spread.copy(0, 0, split, 30));
    EXPECT_EQ(plain.copy(split, 0, 60, 30), spread.copy(split + 10, 0, 60, 30));
}

TEST(CanvasPainter, TextSitsAtTheTopOfItsCell)
{
    QImage img = blank(120, 120);
    int width = 0;
    withText(img, [&](QPainterCanvas &c) {
        c.textOut(10, 10, QStringLiteral("H"));
        // Opaque background: the whole cell takes the brush colour.
        c.setBrushColor(rgb(255, 255, 0));
        c.setBackgroundMode(BackgroundMode::Opaque);
        width = c.textWidth(u"ab");
        c.textOut(40, 10, QStringLiteral("ab"));
        // Turned text reads upwards from its point: the cell lies to the right
        // of x and above y.
        c.setFont(arial13().rotated());
        c.textOut(80, 100, QStringLiteral("ab"));
    });
    // H stands on the baseline: top + ascent (12).
    const auto rows = inkSpan(img, 10, 30, true);
    EXPECT_EQ(rows.second, 10 + 12 - 1);
    EXPECT_GE(rows.first, 10 + 2);
    const QColor yellow(255, 255, 0);
    EXPECT_EQ(at(img, 40, 10), yellow);
    EXPECT_EQ(at(img, 40 + width - 1, 10 + 14), yellow);
    EXPECT_EQ(at(img, 40 + width, 10), QColor(Qt::white));
    EXPECT_EQ(at(img, 40, 10 + 15), QColor(Qt::white));
    EXPECT_EQ(at(img, 80, 99), yellow);
    EXPECT_EQ(at(img, 94, 100 - width), yellow);
    EXPECT_EQ(at(img, 80, 100), QColor(Qt::white));
    EXPECT_EQ(at(img, 95, 99), QColor(Qt::white));
    EXPECT_EQ(at(img, 80, 99 - width), QColor(Qt::white));
}

TEST(CanvasPainter, UnderlineRunsUnderTheBlanksToo)
{
    FixedAdvanceMeasurer fixed(7, 4);
    QImage img = blank(80, 40);
    FrFont f = arial13();
    f.style = fsUnderline;
    const FontMetrics m = fixed.metrics(f);
    {
        QPainterCanvas c(&img, &fixed);
        c.setFont(f);
        c.setBrushClear();
        c.textOut(5, 5, QStringLiteral("a  b"));
    }
    const int y = 5 + m.ascent + m.underlinePos;
    EXPECT_EQ(runs(img, y, 0, 40), QStringLiteral("off 5, on 22, off 13"));
}

TEST(CanvasPainter, WidePenLinesAreCentred)
{
    QImage img = blank(40, 40);
    {
        QPainterCanvas c(&img);
        c.setPen(FrPen{clBlack, 3, PenStyle::Solid});
        c.moveTo(10, 20);
        c.lineTo(30, 20);
    }
    EXPECT_TRUE(dark(img, 20, 19));
    EXPECT_TRUE(dark(img, 20, 20));
    EXPECT_TRUE(dark(img, 20, 21));
    EXPECT_FALSE(dark(img, 20, 18));
    EXPECT_FALSE(dark(img, 20, 22));
}
