// Text measuring: the faces reports are designed with, whole-pixel advances,
// widths with character extra, the calculated box of a multi-line text, and
// the fixed-advance double the layout tests use.
#include "platform/canvas/textmeasurer.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

FrFont font(const char *name, int height, std::uint16_t style = 0)
{
    FrFont f;
    f.name = QString::fromLatin1(name);
    f.height = height;
    f.style = style;
    return f;
}

} // namespace

TEST(CanvasMeasure, DesignFacesResolveToMetricTwins)
{
    QtTextMeasurer m;
    EXPECT_EQ(QFontInfo(m.qfont(font("Arial", -13))).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(m.qfont(font("Times New Roman", -13))).family(),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(QFontInfo(m.qfont(font("Courier New", -13))).family(),
              QStringLiteral("Liberation Mono"));
}

TEST(CanvasMeasure, AdvancesAreTheDesignFacesOwn)
{
    // At a character height of 2048 pixels an advance is the face's design
    // width in font units, which metric twins share with the faces they stand
    // for.
    QtTextMeasurer m;
    const FrFont arial = font("Arial", -2048);
    EXPECT_EQ(m.advance(arial, u' '), 569);
    EXPECT_EQ(m.advance(arial, u'a'), 1139);
    EXPECT_EQ(m.advance(arial, u'H'), 1479);
    EXPECT_EQ(m.advance(arial, u'i'), 455);
    EXPECT_EQ(m.advance(arial, u'm'), 1706);
    EXPECT_EQ(m.advance(arial, u'W'), 1933);
    const FrFont courier = font("Courier New", -2048);
    EXPECT_EQ(m.advance(courier, u'i'), 1229);
    EXPECT_EQ(m.advance(courier, u'W'), 1229);
    const FrFont times = font("Times New Roman", -2048);
    EXPECT_EQ(m.advance(times, u' '), 512);
    EXPECT_EQ(m.advance(times, u'H'), 1479);
}

TEST(CanvasMeasure, TenPointArialAt96Ppi)
{
    QtTextMeasurer m;
    const FrFont arial = font("Arial", fontHeightForSize(10));
    EXPECT_EQ(arial.height, -13);
    const FontMetrics fm = m.metrics(arial);
    EXPECT_EQ(std::tuple(fm.emHeight, fm.ascent, fm.descent, fm.height), std::tuple(13, 12, 3, 15));
    // 455 / 2048 x 13 = 2.89: every 'i' takes 3 whole pixels, so forty of
    // them take 120, not the 115.5 of fractional advances.
    EXPECT_EQ(m.advance(arial, u'i'), 3);
    EXPECT_EQ(m.width(arial, QString(40, u'i')), 120);
    // A positive height is the cell height: 15 is the cell of the 13 above.
    const FontMetrics cell = m.metrics(font("Arial", 15));
    EXPECT_EQ(std::tuple(cell.emHeight, cell.height), std::tuple(13, 15));
    // Bold is wider; rotation and colour change nothing.
    EXPECT_GT(m.width(font("Arial", -13, fsBold), u"Wagram"), m.width(arial, u"Wagram"));
    FrFont turned = arial.rotated();
    turned.color = clRed;
    EXPECT_EQ(m.width(turned, u"Wagram"), m.width(arial, u"Wagram"));
}

TEST(CanvasMeasure, WidthIsTheSumOfAdvancesPlusExtraPerCharacter)
{
    QtTextMeasurer m;
    const FrFont arial = font("Arial", -13);
    const QString text = QStringLiteral("Équipe n° 12, Poule B");
    QList<int> adv;
    m.advances(arial, text, adv);
    ASSERT_EQ(adv.size(), text.size());
    int sum = 0;
    for (int a : adv) {
        EXPECT_GE(a, 0);
        sum += a;
    }
    EXPECT_EQ(m.width(arial, text), sum);
    EXPECT_EQ(m.width(arial, text, 2), sum + 2 * text.size());
    EXPECT_EQ(m.width(arial, text, -1), sum - text.size());
    // Measuring piecewise gives the same sum: nothing depends on neighbours.
    EXPECT_EQ(m.width(arial, text.left(7)) + m.width(arial, text.mid(7)), sum);
    // Cached and fresh measures agree.
    QtTextMeasurer fresh;
    EXPECT_EQ(fresh.width(arial, text), sum);
    EXPECT_EQ(m.width(arial, u""), 0);
}

TEST(CanvasMeasure, CalcRectTakesTheWidestLine)
{
    QtTextMeasurer m;
    const FrFont arial = font("Arial", -13);
    const int h = m.metrics(arial).height;
    const QSize box = m.calcRect(arial, u"ab\r\nabcdef\rabc\nx");
    EXPECT_EQ(box.width(), m.width(arial, u"abcdef"));
    EXPECT_EQ(box.height(), 4 * h);
    EXPECT_EQ(m.calcRect(arial, u"abc", 3).width(), m.width(arial, u"abc") + 9);
    EXPECT_EQ(m.calcRect(arial, u"abc\r\n").height(), 2 * h);
    EXPECT_EQ(m.calcRect(arial, u"").width(), 0);
}

TEST(CanvasMeasure, FixedAdvanceDouble)
{
    FixedAdvanceMeasurer m(7, 4);
    const FrFont f = font("Arial", -13);
    EXPECT_EQ(m.width(f, u"abc de"), 7 * 5 + 4);
    EXPECT_EQ(m.width(f, u"abc de", 1), 7 * 5 + 4 + 6);
    m.setAdvance(u'W', 11);
    EXPECT_EQ(m.width(f, u"WW a"), 11 + 11 + 4 + 7);
    EXPECT_EQ(m.calcRect(f, u"ab\ncde").width(), 21);
    const FontMetrics fm = m.metrics(f);
    EXPECT_EQ(std::tuple(fm.emHeight, fm.height), std::tuple(13, 13));
    EXPECT_EQ(fm.ascent + fm.descent, 13);
    EXPECT_EQ(m.calcRect(f, u"ab\ncde").height(), 26);
}

TEST(CanvasMeasure, AlternatingFontsEachKeepTheirOwnMeasures)
{
    // One measurer asked in turn for fonts that differ in one attribute each
    // answers as a fresh measurer would for each.
    const FrFont fonts[] = {font("Arial", -13),           font("Arial", -13, fsBold),
                            font("Arial", -20),           font("Times New Roman", -13),
                            font("Arial", -13, fsItalic), font("Arial", 15)};
    const QString text = QStringLiteral("Wagram mmm iii");
    QtTextMeasurer shared;
    for (int round = 0; round < 2; ++round)
        for (const FrFont &f : fonts) {
            QtTextMeasurer fresh;
            EXPECT_EQ(shared.width(f, text), fresh.width(f, text)) << f.name.toStdString();
            EXPECT_EQ(shared.metrics(f).height, fresh.metrics(f).height);
        }
    EXPECT_NE(shared.width(fonts[0], text), shared.width(fonts[1], text));
    EXPECT_NE(shared.width(fonts[0], text), shared.width(fonts[3], text));
}
