// Colour values of report files and windows, and their Qt equivalents.
#include "platform/canvas/colors.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CanvasColors, ValuesAreBlueGreenRed)
{
    EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x563412);
    const QColor c = toQColor(0x563412);
    EXPECT_EQ(std::tuple(c.red(), c.green(), c.blue(), c.alpha()),
              std::tuple(0x12, 0x34, 0x56, 255));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    // Pure red is 0x0000FF, pure blue 0xFF0000.
    EXPECT_EQ(toQColor(clRed), QColor(Qt::red));
    EXPECT_EQ(toQColor(clBlue), QColor(Qt::blue));
    EXPECT_EQ(fromQColor(QColor(Qt::red)), clRed);
}

TEST(CanvasColors, RoundTripOverTheWholeCube)
{
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 51) {
                const TColor c = rgb(r, g, b);
                ASSERT_EQ(fromQColor(toQColor(c)), c) << r << ' ' << g << ' ' << b;
            }
}

TEST(CanvasColors, SystemColoursComeFromTheClassicScheme)
{
    EXPECT_TRUE(isSystemColor(clBtnFace));
    EXPECT_EQ(static_cast<quint32>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(toQColor(clBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(toQColor(clBtnShadow), QColor(128, 128, 128));
    EXPECT_EQ(toQColor(clBtnHighlight), QColor(255, 255, 255));
    EXPECT_EQ(toQColor(clWindow), QColor(255, 255, 255));
    EXPECT_EQ(toQColor(clWindowText), QColor(0, 0, 0));
    EXPECT_EQ(toQColor(clInfoBk), QColor(255, 255, 225));
    EXPECT_EQ(toQColor(systemColor(COLOR_HIGHLIGHT)), QColor(10, 36, 106));
    EXPECT_EQ(colorToRGB(clBtnFace), rgb(212, 208, 200));
    // An index past the table reads as black, not as memory past its end.
    EXPECT_EQ(colorToRGB(systemColor(200)), clBlack);
    EXPECT_EQ(toQColor(static_cast<TColor>(0x800000FFu)), QColor(0, 0, 0));
    // Plain values are never taken for system colours.
    EXPECT_FALSE(isSystemColor(clWhite));
    EXPECT_FALSE(isSystemColor(clNone));
}

TEST(CanvasColors, NoFillIsTransparent)
{
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(toQColor(clNone).alpha(), 0);
    EXPECT_EQ(fromQColor(toQColor(clNone)), clNone);
    EXPECT_EQ(fromQColor(QColor()), clNone);
    EXPECT_EQ(fromQColor(QColor(10, 20, 30, 0)), clNone);
    // As a plain value no fill is the paper's white.
    EXPECT_EQ(colorToRGB(clNone), clWhite);
}

TEST(CanvasColors, HighBytesOfPlainValuesAreDropped)
{
    // Palette-relative forms keep their RGB part.
    EXPECT_EQ(colorToRGB(0x02123456), 0x123456);
    EXPECT_EQ(toQColor(0x02123456), QColor(0x56, 0x34, 0x12));
    // Other colour models convert to RGB.
    EXPECT_EQ(fromQColor(QColor::fromHsv(0, 255, 255)), clRed);
}
