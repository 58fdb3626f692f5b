// Values from damaged files: far-away coordinates, absurd font heights,
// extras and scales. Drawing stays quick and the visible part stays right.
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/recordingcanvas.h"

#include <QBuffer>
#include <QPdfWriter>
#include <climits>
#include <cmath>
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

QString runs(const QImage &img, int y, int x0, int x1)
{
    const auto dark = [&](int x) { return qGray(img.pixel(x, y)) < 128; };
    QStringList out;
    int start = x0;
    for (int x = x0 + 1; x <= x1; ++x)
        if (x == x1 || dark(x) != dark(start)) {
            out << QStringLiteral("%1 %2")
                       .arg(dark(start) ? QStringLiteral("on") : QStringLiteral("off"))
                       .arg(x - start);
            start = x;
        }
    return out.join(QStringLiteral(", "));
}

} // namespace

TEST(CanvasHostile, FarAwayLineEndsKeepThePatternInPlace)
{
    QImage img = blank(60, 40);
    {
        QPainterCanvas c(&img);
        c.setPenStyle(PenStyle::Dash);
        // Pixel 0 is the 2,000,000,000th of the line: 8 into the 24-pixel period.
        c.moveTo(-2000000000, 5);
        c.lineTo(2000000000, 5);
        // Pixel 0 is the 40th: 16 into the period.
        c.moveTo(-40, 10);
        c.lineTo(40, 10);
        // Right to left, ending off the device.
        c.moveTo(59, 15);
        c.lineTo(INT_MIN, 15);
        // Vertical and oblique, both far out.
        c.moveTo(30, INT_MIN);
        c.lineTo(30, INT_MAX);
        c.setPenStyle(PenStyle::Solid);
        c.moveTo(INT_MIN, INT_MIN);
        c.lineTo(INT_MAX, INT_MAX);
        c.polyline({QPoint(INT_MIN, 0), QPoint(INT_MAX, 39), QPoint(-5, INT_MAX)});
    }
    EXPECT_EQ(runs(img, 5, 0, 34), QStringLiteral("on 10, off 6, on 18"));
    EXPECT_EQ(runs(img, 10, 0, 40), QStringLiteral("on 2, off 6, on 18, off 6, on 8"));
    EXPECT_EQ(runs(img, 15, 35, 60), QStringLiteral("on 1, off 6, on 18"));
    EXPECT_LT(qGray(img.pixel(30, 0)), 128);
}

TEST(CanvasHostile, FontHeightsAreBounded)
{
    QtTextMeasurer m;
    FrFont f;
    f.height = INT_MIN;
    EXPECT_EQ(m.metrics(f).emHeight, kMaxFontPixels);
    f.height = INT_MAX;
    EXPECT_LE(m.metrics(f).emHeight, kMaxFontPixels);
    f.height = 0;
    EXPECT_GE(m.metrics(f).emHeight, 1);
    FixedAdvanceMeasurer fixed;
    f.height = INT_MIN;
    EXPECT_EQ(fixed.metrics(f).emHeight, kMaxFontPixels);
    EXPECT_EQ(fontHeightForSize(1e300), -kMaxFontPixels);
    EXPECT_EQ(fontHeightForSize(-1e300), kMaxFontPixels);
    EXPECT_EQ(fontHeightForSize(std::nan("")), 0);
    EXPECT_EQ(fontHeightForSize(10), -13);
    EXPECT_EQ(fontHeightForSize(8), -11);  // 10.67
    EXPECT_EQ(fontHeightForSize(1.5), -2); // exactly 2
}

TEST(CanvasHostile, HugeExtrasAndScalesDoNotOverflow)
{
    FixedAdvanceMeasurer fixed(7, 4);
    RecordingCanvas rec(fixed);
    rec.setTextCharacterExtra(INT_MAX);
    EXPECT_EQ(rec.textCharacterExtra(), 32767);
    const QString longText(100000, u'x');
    EXPECT_EQ(rec.textWidth(longText), kMaxCoordinate);
    rec.setTextJustification(INT_MIN, 1);
    rec.textOut(INT_MAX, INT_MIN, QStringLiteral("a b"));
    rec.setBrushColor(clBlack);
    rec.fillRect(QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX - 1, INT_MAX - 1)));
    rec.setPen(FrPen{clBlack, INT_MAX, PenStyle::Solid});
    rec.moveTo(0, 0);
    rec.lineTo(INT_MAX, 0);
    FrFont f;
    f.height = INT_MIN;
    rec.setFont(f);
    rec.textOut(0, 0, QStringLiteral("x"));

    RecordingCanvas out(fixed);
    rec.displayList().replay(out, 1e12, -1e12, QPoint(0, 0));
    rec.displayList().replay(out, std::nan(""), 0.0, QPoint(0, 0));
    EXPECT_EQ(out.displayList().textRuns().size(), 4);
    QImage img = blank(40, 40);
    {
        QPainterCanvas c(&img, &fixed);
        rec.displayList().replay(c, 1e6, 1e6);
    }
    SUCCEED();
}

TEST(CanvasHostile, PaintsOntoPdf)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        QPainterCanvas c(&pdf);
        FrFont f;
        f.height = -13;
        c.setFont(f);
        c.setBrushClear();
        c.textOut(40, 40, QStringLiteral("Homologation des paires"));
        c.rectangle(30, 30, 300, 70);
        EXPECT_FALSE(c.bounds().isEmpty());
    }
    const QByteArray bytes = buffer.data();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // The design face was embedded as its metric twin.
    EXPECT_TRUE(bytes.contains("LiberationSans"));
}
