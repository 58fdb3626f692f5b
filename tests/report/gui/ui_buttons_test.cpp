// Toolbar buttons: glyph strips, the layout of glyph and caption, the grey
// look, the shared image lists, groups; the combo edit; the control helpers.
#include "platform/text/exceptions.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/controls.h"
#include "tests/support/gui/fakes.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace report::test
{
namespace
{

QImage strip(int w, int h, QRgb fill = qRgb(255, 0, 0))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

TEST(SpeedButton, GlyphCountFollowsTheStrip)
{
    struct Case {
        int w, h, expected;
    } cases[] = {
        {64, 16, 4}, {80, 16, 1}, {32, 16, 2},
        {16, 16, 1}, {20, 16, 1}, {16, 0, 1}, // no height: one glyph, not a division by zero
    };
    for (const Case &c : cases) {
        TfrSpeedButton b;
        b.SetGlyph(c.w && c.h ? strip(c.w, c.h) : QImage(c.w, c.h, QImage::Format_RGB32));
        EXPECT_EQ(b.NumGlyphs(), c.expected) << c.w << "x" << c.h;
    }
    TfrSpeedButton b;
    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetMargin(-5);
    EXPECT_EQ(b.Margin(), -1);
}

// A failing command stops at the button and is shown as a command's error is.
TEST(SpeedButton, ErrorOfItsCommandStopsThere)
{
    vorn_test::SeamFakes fakes;
    TfrSpeedButton b;
    b.OnClick = [] { throw platform::EFileError(QStringLiteral("Disque plein")); };
    b.show();
    EXPECT_EQ(vorn_test::escapedFrom(&b, [&] { QTest::mouseClick(&b, Qt::LeftButton); }), 0);
    EXPECT_EQ(fakes.dialogs.texts(), QStringList{QStringLiteral("Disque plein.")});
}

TEST(SpeedButton, LayoutPlacesGlyphAndCaption)
{
    const QRect client(0, 0, 100, 30);
    const QSize glyph(16, 16), text(40, 12);
    struct Case {
        TfrButtonLayout layout;
        int margin, spacing;
        bool shifted;
        QPoint glyphAt;
        QPoint textAt;
    } cases[] = {
        // centred: margin (100 - (16 + 4 + 40) + 1) / 2 = 20
        {blGlyphLeft, -1, 4, false, {20, 7}, {40, 9}},
        {blGlyphRight, -1, 4, false, {64, 7}, {20, 9}},
        // margin and spacing both (100 - 56) / 3 = 14
        {blGlyphLeft, -1, -1, false, {14, 7}, {44, 9}},
        // margin 5, spacing (100 - 5 - 16 - 40) / 2 = 19
        {blGlyphLeft, 5, -1, false, {5, 7}, {40, 9}},
        {blGlyphLeft, 2, 3, true, {3, 8}, {22, 10}},
    };
    for (const Case &c : cases) {
        const FrButtonPlaces p =
            frButtonLayout(client, glyph, text, c.layout, c.margin, c.spacing, c.shifted);
        EXPECT_EQ(p.glyph, c.glyphAt) << int(c.layout) << " " << c.margin << " " << c.spacing;
        EXPECT_EQ(p.caption.topLeft(), c.textAt) << int(c.layout) << " " << c.margin;
    }
    // Above: heights along, widths across; a glyph alone ignores spacing.
    const FrButtonPlaces top =
        frButtonLayout(QRect(0, 0, 30, 60), glyph, QSize(), blGlyphTop, -1, 4, false);
    EXPECT_EQ(top.glyph, QPoint(7, 22));
    const FrButtonPlaces below =
        frButtonLayout(QRect(2, 2, 30, 60), glyph, QSize(20, 10), blGlyphBottom, 3, 2, false);
    EXPECT_EQ(below.glyph, QPoint(2 + 7, 2 + 60 - 3 - 16));
    EXPECT_EQ(below.caption.top(), 2 + 60 - 3 - 16 - 2 - 10);
}

TEST(SpeedButton, GreyLookKeepsTransparentAndFace)
{
    QImage img(4, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(200, 100, 50));
    img.setPixel(1, 0, qRgb(128, 128, 0)); // olive: transparent
    img.setPixel(2, 0, qRgb(192, 192, 192));
    img.setPixel(3, 0, qRgb(0, 0, 255));
    const QImage g = frGrayedGlyph(img, qRgb(128, 128, 0));
    const int expected0 = (77 * 200 + 150 * 100 + 29 * 50) / 256;
    EXPECT_EQ(g.pixel(0, 0), qRgb(expected0, expected0, expected0));
    EXPECT_EQ(g.pixel(1, 0), qRgb(128, 128, 0));
    EXPECT_EQ(g.pixel(2, 0), qRgb(192, 192, 192));
    EXPECT_EQ(g.pixel(3, 0), qRgb(28, 28, 28)); // 29 x 255 / 256 truncated
}

TEST(SpeedButton, FlatGrayedButtonIsGreyUntilTheMouseEnters)
{
    QWidget host;
    auto *b = new TfrSpeedButton(&host);
    b->SetFlat(true);
    b->SetGlyph(strip(16, 16, qRgb(255, 0, 0)));
    host.resize(60, 40);
    host.show();
    EXPECT_EQ(b->DrawnState(), bsGrayed);
    const QImage before = b->grab().toImage();
    EXPECT_EQ(QColor(before.pixel(11, 11)).red(), QColor(before.pixel(11, 11)).green());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(b, &enter);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(b->DrawnState(), bsUp);
    const QImage after = b->grab().toImage();
    EXPECT_EQ(after.pixel(11, 11), qRgb(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    EXPECT_EQ(b->DrawnState(), bsGrayed);
    b->SetGrayedInactive(false);
    EXPECT_EQ(b->DrawnState(), bsUp);
}

TEST(SpeedButton, GlyphListsAreSharedReusedAndFreed)
{
    auto a = std::make_unique<TfrSpeedButton>();
    auto b = std::make_unique<TfrSpeedButton>();
    ASSERT_NE(frGlyphCache(), nullptr);
    a->SetGlyph(strip(16, 16));
    b->SetGlyph(strip(16, 16, qRgb(0, 255, 0)));
    a->GlyphHolder().StateImage(bsUp);
    b->GlyphHolder().StateImage(bsUp);
    b->GlyphHolder().StateImage(bsGrayed);
    TGlyphList *list = a->GlyphHolder().List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, b->GlyphHolder().List());
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(frGlyphCache()->ListCount(), 1);
    const int freed = a->GlyphHolder().Index(bsUp);
    a->SetGlyph(strip(32, 32)); // a's slot goes back to the list
    EXPECT_EQ(list->Count(), 2);
    auto c = std::make_unique<TfrSpeedButton>();
    c->SetGlyph(strip(16, 16, qRgb(0, 0, 255)));
    c->GlyphHolder().StateImage(bsUp);
    EXPECT_EQ(c->GlyphHolder().Index(bsUp), freed);
    a->GlyphHolder().StateImage(bsUp); // a list of its own size
    EXPECT_EQ(frGlyphCache()->ListCount(), 2);
    a.reset();
    EXPECT_EQ(frGlyphCache()->ListCount(), 1); // count 0: freed
    b.reset();
    c.reset();
    EXPECT_EQ(frGlyphCache(), nullptr); // the last button takes the cache with it
}

TEST(SpeedButton, GroupsReleaseEachOther)
{
    QWidget host;
    auto *one = new TfrSpeedButton(&host);
    auto *two = new TfrSpeedButton(&host);
    auto *alone = new TfrSpeedButton(&host);
    alone->SetDown(true);
    EXPECT_FALSE(alone->Down());
    one->SetGroupIndex(1);
    two->SetGroupIndex(1);
    one->SetDown(true);
    two->SetDown(true);
    EXPECT_FALSE(one->Down());
    EXPECT_TRUE(two->Down());
    two->SetDown(false); // AllowAllUp off: stays down
    EXPECT_TRUE(two->Down());
    one->SetAllowAllUp(true); // copied by the whole group
    EXPECT_TRUE(two->AllowAllUp());
    two->SetDown(false);
    EXPECT_FALSE(two->Down());

    // Clicks: a press and release inside toggles and clicks.
    int clicks = 0;
    one->OnClick = [&] { ++clicks; };
    one->resize(22, 22);
    host.show();
    QTest::mouseClick(one, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(one->Down());
}

TEST(ComboEdit, EnterReachesTheDefaultButtonAndTheButtonFocusesTheEdit)
{
    QDialog dlg;
    auto *combo = new TfrComboEdit(&dlg);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dlg);
    ok->setDefault(true);
    int accepted = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++accepted; });
    combo->setGeometry(0, 0, 120, 21);
    ok->setGeometry(0, 30, 60, 24);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    combo->lineEdit()->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(accepted, 1);

    ok->setFocus();
    bool focusedFirst = false;
    combo->OnButtonClick = [&] { focusedFirst = combo->lineEdit()->hasFocus(); };
    QTest::mouseClick(combo->Button(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(focusedFirst);
    // The button square sits at the right end.
    EXPECT_EQ(combo->Button()->parentWidget()->geometry(), QRect(120 - 21 + 2, 2, 17, 17));
    combo->setEnabled(false);
    EXPECT_FALSE(combo->Button()->isEnabled());
    combo->setEnabled(true);
    combo->SetButtonEnabled(false);
    EXPECT_FALSE(combo->Button()->isEnabled());
}

TEST(ControlHelpers, ControlAtPosFindsTheDeepestTopmostChild)
{
    QWidget form;
    form.resize(300, 200);
    auto *panel = new QWidget(&form);
    panel->setGeometry(10, 10, 100, 100);
    auto *inner = new QLabel(QStringLiteral("x"), panel);
    inner->setGeometry(10, 10, 20, 20);
    auto *empty = new QWidget(&form);
    empty->setGeometry(150, 10, 50, 50);
    auto *over = new QLabel(&form); // created last: on top of the panel's corner
    over->setGeometry(100, 100, 30, 30);
    auto *hidden = new QLabel(&form);
    hidden->setGeometry(0, 150, 30, 30);
    hidden->hide();
    struct Case {
        QPoint at;
        QWidget *expected;
    } cases[] = {
        {{25, 25}, inner},  {{15, 15}, nullptr}, // in the panel beside its label: a miss there
        {{105, 105}, over}, {{160, 20}, empty},  {{5, 160}, nullptr}, {{250, 150}, nullptr},
    };
    for (const Case &c : cases)
        EXPECT_EQ(frControlAtPos(&form, c.at), c.expected) << c.at.x() << "," << c.at.y();
}

TEST(ControlHelpers, EnableControlsGreysLabelsAndEdits)
{
    QWidget form;
    auto *label = new QLabel(QStringLiteral("Nom"), &form);
    auto *edit = new QLineEdit(&form);
    frEnableControls({label, edit}, false);
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Button));
    frEnableControls({label, edit}, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_EQ(edit->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::WindowText));
}

} // namespace
} // namespace report::test
