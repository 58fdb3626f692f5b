// The program's own bitmaps and brush patterns.
#include "platform/canvas/bitmaps.h"
#include "platform/canvas/frfont.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace platform;

TEST(CanvasBitmaps, OwnBitmapsByNameAndNullForOthers)
{
    const QImage empty = LoadBitmap(QStringLiteral("FR_EMPTY"));
    ASSERT_FALSE(empty.isNull());
    EXPECT_EQ(empty.size(), QSize(16, 16));
    // Resource names ignore letter case.
    EXPECT_EQ(LoadBitmap(QStringLiteral("fr_empty")), empty);
    // It is a picture, not a blank square.
    EXPECT_NE(empty.pixelColor(0, 0), empty.pixelColor(8, 8));
    EXPECT_TRUE(LoadBitmap(QStringLiteral("FR_NOTHING")).isNull());
    EXPECT_TRUE(LoadBitmap(QString()).isNull());
}

TEST(CanvasBitmaps, DesignerGlyphsAreDrawnInCode)
{
    for (const char *name : {"FR_PENCIL", "FR_SCRIPT", "FR_HIGHLIGHT", "FR_CHECK", "FR_RADIO",
                             "FR_BOLD", "FR_ITALIC", "FR_UNDRLINE", "fr_pencil"}) {
        const QImage img = LoadBitmap(QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_LE(img.width(), 16) << name;
        QSet<QRgb> colours;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                colours.insert(img.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << name;
    }
    // Three different letters, not one glyph thrice.
    EXPECT_NE(LoadBitmap(QStringLiteral("FR_BOLD")), LoadBitmap(QStringLiteral("FR_ITALIC")));
    EXPECT_NE(LoadBitmap(QStringLiteral("FR_ITALIC")), LoadBitmap(QStringLiteral("FR_UNDRLINE")));
}

TEST(CanvasBitmaps, CheckerPatternAlternatesByPixel)
{
    const QImage band = checkerPattern(clWhite, clSilver);
    ASSERT_EQ(band.size(), QSize(8, 8));
    EXPECT_EQ(band.pixelColor(0, 0), QColor(255, 255, 255));
    EXPECT_EQ(band.pixelColor(1, 0), QColor(192, 192, 192));
    EXPECT_EQ(band.pixelColor(0, 1), QColor(192, 192, 192));
    EXPECT_EQ(band.pixelColor(7, 7), QColor(255, 255, 255));
    EXPECT_EQ(band.pixelColor(6, 7), QColor(192, 192, 192));
    // System colours resolve through the classic scheme.
    EXPECT_EQ(checkerPattern(clBtnFace, clWhite).pixelColor(2, 2), QColor(212, 208, 200));
}

TEST(CanvasBitmaps, RotatedFontKeepsEverythingButTheEscapement)
{
    FrFont f;
    f.name = QStringLiteral("Times New Roman");
    f.height = -15;
    f.style = fsBold | fsUnderline;
    f.color = clRed;
    f.charset = 0;
    const FrFont r = frRotatedFont(f);
    EXPECT_EQ(r.escapement, 900);
    FrFont back = r;
    back.escapement = 0;
    EXPECT_EQ(back, f);
}
