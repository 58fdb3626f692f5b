// The attribute tool bars on the real designer window: the flat combo boxes
// in place, bold by button and by key, the colour selector under its
// buttons, the line style panel, the highlight and font commands, numbers
// typed in the boxes; the colour selector and the font list on their own.
#include "tests/designer/window_fixture.h"

#include "designer/core/attributecommands.h"
#include "designer/ui/attributetoolbars.h"
#include "designer/ui/colorselector.h"
#include "designer/ui/designerform.h"
#include "report/ui/frdock.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/flatcombos.h"

#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/fakes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace designer::test
{
namespace attrs_window_test
{

using namespace report;

class AttributeWindowTest : public DesignerWindowFixture
{
protected:
    void SetUp() override
    {
        DesignerWindowFixture::SetUp();
        rep->FileName = QStringLiteral("/donnees/etats/Classement.frf");
    }
    TfrMemoView *memo(const QString &name, int x, int y)
    {
        TfrMemoView *v = DesignerWindowFixture::memo(name, x, y);
        v->Memo = QStringList{QStringLiteral("Classement général")};
        return v;
    }
    static void selectOnly(TfrDesignerForm &f, std::initializer_list<TfrView *> views)
    {
        f.state().UnselectAll();
        for (TfrView *v : views)
            v->Selected = true;
        f.selectionChanged();
    }
    static TfrAttributeToolbars *bars(TfrDesignerForm &f)
    {
        return f.findChild<TfrAttributeToolbars *>(QStringLiteral("AttributeToolbars"));
    }
    static void leftClick(QWidget *w, QPoint at = QPoint(5, 5))
    {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
    }
};

TEST_F(AttributeWindowTest, BoxesAreFlatCombosAndBoldFollowsTheButtonAndTheKey)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 16);
    design([&](TfrDesignerForm &f) {
        EXPECT_NE(qobject_cast<TfrFontComboBox *>(f.findChild<QComboBox *>(QStringLiteral("C2"))),
                  nullptr);
        EXPECT_NE(qobject_cast<TfrComboBox *>(f.findChild<QComboBox *>(QStringLiteral("C3"))),
                  nullptr);
        EXPECT_NE(qobject_cast<TfrComboBox *>(f.findChild<QComboBox *>(QStringLiteral("C4"))),
                  nullptr);
        // Every box of the tool bars is a flat one (tool windows have their own).
        for (QWidget *bar : {static_cast<QWidget *>(f.Panel1), static_cast<QWidget *>(f.Panel3)})
            for (QComboBox *box : bar->findChildren<QComboBox *>())
                EXPECT_NE(qobject_cast<TfrCustomComboBox *>(box), nullptr)
                    << box->objectName().toStdString();

        selectOnly(f, {m});
        TfrSpeedButton *bold = f.button(QStringLiteral("FnB1"));
        ASSERT_TRUE(bold->isEnabled());
        EXPECT_TRUE(f.C3->isEnabled());
        EXPECT_FALSE(bold->Down());
        leftClick(bold);
        EXPECT_TRUE(bold->Down());
        EXPECT_EQ(m->Font.Style & 2, 2);
        leftClick(bold);
        EXPECT_EQ(m->Font.Style & 2, 0);

        f.activateWindow();
        QApplication::setActiveWindow(&f);
        f.PageView->setFocus();
        ASSERT_EQ(f.focusWidget(), f.PageView);
        QTest::keyClick(f.PageView, Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(m->Font.Style & 2, 2);
        EXPECT_TRUE(bold->Down());
        QTest::keyClick(f.PageView, Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(m->Font.Style & 2, 0);
        EXPECT_FALSE(bold->Down());

        // All edges through the frame bar: the edge buttons follow.
        leftClick(f.button(QStringLiteral("FrB5")));
        EXPECT_EQ(m->FrameTyp, 15);
        EXPECT_TRUE(f.button(QStringLiteral("FrB2"))->Down());
    });
}

TEST_F(AttributeWindowTest, ToolBarsFollowTheSelectedMemo)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 16);
    m->Font.Style = 2;
    TfrMemoView *other = memo(QStringLiteral("Memo2"), 8, 60);
    design([&](TfrDesignerForm &f) {
        selectOnly(f, {m});
        EXPECT_TRUE(f.button(QStringLiteral("FnB1"))->Down());
        EXPECT_EQ(f.C2->currentText(), QStringLiteral("Arial"));
        EXPECT_EQ(f.C3->currentText(), QStringLiteral("10"));
        EXPECT_EQ(f.C4->currentText(), QStringLiteral("1"));
        EXPECT_EQ(f.StatusBar1->panelText(2), QStringLiteral("Memo1: Classement général"));
        f.resize(1000, 600);
        saveShot(&f, "designer_toolbars.png");

        selectOnly(f, {m, other});
        EXPECT_EQ(f.C2->currentText(), QString());
        EXPECT_EQ(f.C3->currentText(), QString());
        EXPECT_FALSE(f.button(QStringLiteral("FnB1"))->Down());
        EXPECT_TRUE(f.button(QStringLiteral("AlB1"))->Down());
        EXPECT_EQ(f.StatusBar1->panelText(2), QString());

        // The font size typed in its box, then words instead of a number.
        selectOnly(f, {m});
        f.C3->setCurrentText(QStringLiteral("0"));
        f.state().Requests.attributeCommand(atFontSize);
        EXPECT_EQ(m->Font.Size, 1);
        EXPECT_EQ(f.C3->currentText(), QStringLiteral("1"));
        f.C3->setCurrentText(QStringLiteral("abc"));
        f.state().Requests.attributeCommand(atFontSize);
        EXPECT_EQ(m->Font.Size, 1);
        EXPECT_EQ(f.C3->currentText(), QStringLiteral("1"));
        EXPECT_EQ(
            fakes->dialogs.count(QStringLiteral("'abc' n'est pas une valeur entière correcte")), 1);
    });
}

TEST_F(AttributeWindowTest, ColourSelectorOpensUnderItsButtonAndPaintsThePick)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 16);
    design([&](TfrDesignerForm &f) {
        selectOnly(f, {m});
        TfrAttributeToolbars *b = bars(f);
        ASSERT_NE(b, nullptr);
        TColorSelector *sel = b->ColorSelector;
        TfrSpeedButton *fill = f.button(QStringLiteral("ClB1"));
        ASSERT_TRUE(fill->isEnabled());
        leftClick(fill);
        ASSERT_TRUE(sel->isVisible());
        EXPECT_EQ(sel->pos(), fill->mapTo(&f, QPoint(0, 26)));
        EXPECT_EQ(sel->size(), QSize(96, 132));
        // A memo without fill: "Transparent" is down.
        EXPECT_TRUE(sel->buttonOfTag(16)->Down());
        saveShot(&f, "colorsel.png");
        // A second click on the same button closes it.
        leftClick(fill);
        EXPECT_FALSE(sel->isVisible());

        leftClick(fill);
        leftClick(sel->buttonOfTag(10));
        EXPECT_FALSE(sel->isVisible());
        EXPECT_EQ(m->FillColor, 0x0000FF);
        EXPECT_EQ(fill->Glyph().pixel(2, 14), qRgb(255, 0, 0));
        EXPECT_EQ(TfrAttributeToolbars::glyphColor(fill), 0x0000FF);
        // Olive, the glyphs' usual transparent colour, still shows on the bar.
        leftClick(fill);
        leftClick(sel->buttonOfTag(4));
        EXPECT_EQ(m->FillColor, 0x008080);
        const QImage shown = fill->grab().toImage();
        int olive = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                olive += shown.pixel(x, y) == qRgb(128, 128, 0);
        EXPECT_GE(olive, 14 * 3);
        EXPECT_EQ(TfrAttributeToolbars::glyphColor(fill), 0x008080);

        // The font colour through "Autre...", from the colour dialog.
        fakes->dialogs.colors.push_back(0x123456);
        leftClick(f.button(QStringLiteral("ClB2")));
        EXPECT_EQ(sel->SelectedColor, 0);
        leftClick(sel->otherColorButton());
        EXPECT_EQ(m->Font.Color, 0x123456);
        ASSERT_EQ(fakes->dialogs.colorRequests.size(), 1u);
        EXPECT_EQ(fakes->dialogs.colorRequests[0], 0);

        // The line style panel under its button; a style closes it.
        leftClick(f.button(QStringLiteral("StB1")));
        EXPECT_TRUE(f.LinePanel->isVisible());
        EXPECT_FALSE(sel->isVisible());
        auto *dots = f.LinePanel->findChild<TfrSpeedButton *>(QStringLiteral("frSpeedButton3"));
        leftClick(dots);
        EXPECT_FALSE(f.LinePanel->isVisible());
        EXPECT_EQ(m->FrameStyle, 2);
    });
}

TEST_F(AttributeWindowTest, HighlightAndFontEditorRunFromTheirControls)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 16);
    int fontEditor = 0;
    frObjects().frPropEditors.Register(FrEditorKind::Font, [&] { ++fontEditor; });
    design([&](TfrDesignerForm &f) {
        TfrSpeedButton *hl = f.button(QStringLiteral("HlB1"));
        selectOnly(f, {m});
        // Without the dialog the command is not offered.
        f.state().Requests.highlight = nullptr;
        f.updateAvailability();
        EXPECT_FALSE(hl->isEnabled());
        f.state().Requests.highlight = [](const HighlightChoice &) {
            return std::optional<HighlightChoice>(
                HighlightChoice{QStringLiteral("Value < 0"), 0x0000FF, 0xFFFFFF, 2});
        };
        f.updateAvailability();
        ASSERT_TRUE(hl->isEnabled());
        leftClick(hl);
        EXPECT_EQ(m->HighlightCondition, QStringLiteral("Value < 0"));
        EXPECT_EQ(m->Highlight.FontColor, 0x0000FF);
        EXPECT_TRUE(f.button(QStringLiteral("UndoB"))->isEnabled());

        QTest::mouseDClick(f.C2->lineEdit(), Qt::LeftButton);
        EXPECT_EQ(fontEditor, 1);
    });
}

// --- the colour selector on its own

TEST_F(AttributeWindowTest, SelectorPressesKnownColoursAndPaintsOthersOnItsLastButton)
{
    QWidget owner;
    TColorSelector sel(&owner);
    EXPECT_EQ(sel.findChildren<TfrSpeedButton *>().size(), 18);
    EXPECT_EQ(sel.buttonOfTag(16)->Caption(), QStringLiteral("Transparent"));
    EXPECT_EQ(sel.otherColorButton()->Caption(), QStringLiteral("Autre..."));
    EXPECT_EQ(sel.buttonOfTag(5)->geometry(), QRect(26, 26, 22, 22));
    EXPECT_EQ(sel.buttonOfTag(15)->geometry(), QRect(70, 70, 22, 22));

    // Olive is a colour of the palette, drawn as such.
    sel.show();
    const QImage olive = sel.buttonOfTag(4)->grab().toImage();
    int oliveCount = 0;
    for (int y = 0; y < olive.height(); ++y)
        for (int x = 0; x < olive.width(); ++x)
            oliveCount += olive.pixel(x, y) == qRgb(128, 128, 0);
    EXPECT_GE(oliveCount, 14 * 14);
    sel.hide();

    sel.SelectColor(0x1FFFFFFF);
    EXPECT_TRUE(sel.buttonOfTag(16)->Down());
    sel.SelectColor(0x008000);
    EXPECT_TRUE(sel.buttonOfTag(3)->Down());
    EXPECT_FALSE(sel.buttonOfTag(16)->Down());
    EXPECT_TRUE(sel.otherColorButton()->Glyph().isNull());
    sel.SelectColor(0x123456);
    EXPECT_TRUE(sel.buttonOfTag(3)->Down());
    const QImage swatch = sel.otherColorButton()->Glyph();
    ASSERT_EQ(swatch.size(), QSize(12, 13));
    EXPECT_EQ(platform::fromQColor(swatch.pixelColor(5, 5)), 0x123456);

    std::vector<platform::TColor> picked;
    sel.OnColorSelected = [&] { picked.push_back(sel.SelectedColor); };
    // Cancelled colour dialog: no event, the colour kept, the panel hidden.
    sel.show();
    leftClick(sel.otherColorButton());
    EXPECT_TRUE(picked.empty());
    EXPECT_EQ(sel.SelectedColor, 0x123456);
    EXPECT_FALSE(sel.isVisible());
    for (int tag : {0, 10, 16}) {
        sel.show();
        leftClick(sel.buttonOfTag(tag));
    }
    EXPECT_EQ(picked, (std::vector<platform::TColor>{0xFFFFFF, 0x0000FF, 0x1FFFFFFF}));
}

// --- the font list

class FontComboTest : public AttributeWindowTest
{
protected:
    void SetUp() override
    {
        AttributeWindowTest::SetUp();
        saved = TfrFontComboBox::familySource();
        TfrFontComboBox::familySource() = [] {
            std::vector<FontEntry> list;
            for (const char *n : {"Verdana", "Arial", "Georgia", "Fixed", "Courier New"})
                list.push_back({QString::fromLatin1(n), n[0] == 'F' ? 1 : 4});
            return list;
        };
    }
    void TearDown() override
    {
        TfrFontComboBox::familySource() = saved;
        AttributeWindowTest::TearDown();
    }
    std::function<std::vector<FontEntry>()> saved;
};

TEST_F(FontComboTest, ListHasRecentFontsOnTopAndAChoiceIsRemembered)
{
    {
        platform::TRegistry reg;
        reg.OpenKey(RecentFonts::defaultKey(), true);
        reg.WriteString(QStringLiteral("Font0"), QStringLiteral("Georgia"));
        reg.WriteInteger(QStringLiteral("FontType0"), 4);
        reg.WriteString(QStringLiteral("Font1"), QStringLiteral("Partie"));
    }
    QWidget owner;
    TfrFontComboBox box(&owner);
    EXPECT_TRUE(box.ReadOnly());
    EXPECT_EQ(box.width(), 150);
    EXPECT_EQ(box.maxVisibleItems(), 12);
    EXPECT_EQ(box.Preview->size(), QSize(200, 50));
    // "Times New Roman" joins the list when the machine maps it onto a face
    // of the same metrics.
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i) != QLatin1String("Times New Roman"))
            items << box.itemText(i);
    EXPECT_EQ(items.join(u','), QStringLiteral("Georgia,Arial,Courier New,Fixed,Georgia,Verdana"));
    EXPECT_EQ(box.fontType(box.findText(QStringLiteral("Fixed"))), 1);
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    // A user choice in the list: Verdana goes on top and into the registry.
    const int verdana = box.findText(QStringLiteral("Verdana"));
    ASSERT_GT(verdana, 1);
    box.setCurrentIndex(verdana);
    emit box.activated(verdana);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(std::tuple(box.currentIndex(), box.currentText(), box.recentCount()),
              std::tuple(0, QStringLiteral("Verdana"), 1));
    platform::TRegistry reg;
    reg.OpenKey(RecentFonts::defaultKey(), false);
    EXPECT_EQ(reg.ReadString(QStringLiteral("Font0")), QStringLiteral("Verdana"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Font1")), QStringLiteral("Georgia"));
    // Refilling by the program is no choice.
    box.Reload();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FontComboTest, DropListAndSampleAreKeptOnTheScreen)
{
    const QRect screen(0, 0, 1024, 768);
    struct Case {
        QRect box;
        int items;
        QRect list;
        bool up;
        QPoint preview;
    };
    const Case cases[] = {
        // Below the box, 12 rows of 16 pixels + 4; the sample at its corner.
        {QRect(100, 100, 150, 22), 40, QRect(100, 122, 149, 196), false, QPoint(250, 122)},
        // Few items: as many rows as items.
        {QRect(100, 100, 150, 22), 3, QRect(100, 122, 149, 52), false, QPoint(250, 122)},
        // No item at all: one row's height.
        {QRect(100, 100, 150, 22), 0, QRect(100, 122, 149, 20), false, QPoint(250, 122)},
        // At the bottom: above the box, two pixels higher; the sample's
        // bottom at the box's top.
        {QRect(100, 700, 150, 22), 40, QRect(100, 502, 149, 196), true, QPoint(250, 650)},
        // At the right edge: the sample left of the box.
        {QRect(900, 100, 110, 22), 40, QRect(900, 122, 109, 196), false, QPoint(699, 122)},
    };
    for (const Case &c : cases) {
        bool up = false;
        EXPECT_EQ(frDropListRect(c.box, 16, 12, c.items, screen, up), c.list) << c.box.y();
        EXPECT_EQ(up, c.up);
        EXPECT_EQ(frFontPreviewPos(c.box, QSize(200, 50), screen, up), c.preview) << c.box.x();
    }
}

TEST_F(FontComboTest, FlatBoxDrawsItsFrameOnlyWhenActive)
{
    QWidget owner;
    owner.resize(200, 60);
    TfrComboBox box(&owner);
    box.addItems({QStringLiteral("5"), QStringLiteral("6")});
    box.setGeometry(10, 10, 50, 22);
    owner.show();
    EXPECT_EQ(box.buttonState(), 0);
    EXPECT_EQ(box.ButtonWidth(), 11);
    const QImage flat = box.grab().toImage();
    // The edit part lies right of the indent, left of the button.
    EXPECT_EQ(box.lineEdit()->geometry(), QRect(3, 3, 50 - 11 - 7, 22 - 6));
    box.SetReadOnly(true);
    EXPECT_TRUE(box.lineEdit()->isReadOnly());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(15, 15));
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(box.buttonState(), 1);
    const QImage active = box.grab().toImage();
    // Flat: the outer ring in the button face; active: a sunken edge.
    EXPECT_EQ(flat.pixel(0, 0), platform::toQColor(platform::clBtnFace).rgb());
    EXPECT_EQ(active.pixel(0, 0), platform::toQColor(platform::clBtnShadow).rgb());
    // The arrow's first line of five black pixels.
    const int x = 50 + 6 - 11 - 4, y = 9 + 1;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(flat.pixel(x + i, y), qRgb(0, 0, 0)) << i;
}

} // namespace attrs_window_test
} // namespace designer::test
