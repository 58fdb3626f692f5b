// The designer window over a real report: what it opens with, the commands
// it offers in each mode, the page window of dialog pages, the edits made
// with mouse and keys, the prepared-page editor inside a designer, and the
// registration made at program start.
#include "tests/designer/test_dialog_control.h"
#include "tests/designer/window_fixture.h"

#include "designer/core/designerglobals.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/fieldmime.h"

#include "platform/canvas/textmeasurer.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/objects/frbandview.h"
#include "report/objects/frchartview.h"
#include "report/objects/frcheckboxview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"
#include "report/ui/frctrls.h"
#include "report/ui/frdock.h"
#include "report/ui/frpreview.h"
#include "tests/support/gui/fakes.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace designer::test
{
namespace
{

using namespace report;

const QString kTitle = QStringLiteral("VORNisation en LUDmarre");

class WindowTest : public DesignerWindowFixture
{
protected:
    WindowTest() : DesignerWindowFixture(kTitle) {}
    void SetUp() override
    {
        DesignerWindowFixture::SetUp();
        rep->FileName = QStringLiteral("/donnees/etats/Classement.frf");
    }

    static void drag(QWidget *w, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        mouse(w, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton, mods);
        mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
        const QPoint mid = (from + to) / 2;
        mouse(w, QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton, mods);
        mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, mods);
        mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, mods);
    }
    static void click(QWidget *w, QPoint p)
    {
        mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    static QStringList visibleButtons(TfrToolBar *bar)
    {
        QList<TfrTBButton *> list = bar->findChildren<TfrTBButton *>();
        std::sort(list.begin(), list.end(), [](QWidget *a, QWidget *b) {
            return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
        });
        QStringList names;
        for (TfrTBButton *b : list)
            if (!b->isHidden())
                names << b->objectName();
        return names;
    }
    static QRect geometry(const TfrView *v) { return QRect(v->x, v->y, v->dx, v->dy); }
    // A report file on disk.
    QString existingFile()
    {
        const QString name = dir.filePath(QStringLiteral("Classement.frf"));
        QFile f(name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return name;
    }
};

TEST_F(WindowTest, DesignReportOpensOnTheFileWithTheSelectToolAndTheAddInButtons)
{
    frRegisterCheckBoxView();
    frRegisterChartView();
    frRegisterDesigner();
    const int result = design([&](TfrDesignerForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Classement.frf"));
        EXPECT_EQ(QString::fromLatin1(f.metaObject()->className()).section(QLatin1String("::"), -1),
                  QStringLiteral("TfrDesignerForm"));
        EXPECT_FALSE(f.testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_EQ(f.parentWidget(), nullptr);
        EXPECT_TRUE(f.button(QStringLiteral("OB1"))->Down());
        EXPECT_EQ(f.activeTool(), kToolSelect);
        // The object classes follow the six tools, their hints from the table.
        const QStringList names = visibleButtons(f.Panel4);
        ASSERT_EQ(names.size(), 8) << names.join(u',').toStdString();
        EXPECT_EQ(names.mid(0, 6).join(u','), QStringLiteral("OB1,OB2,OB3,OB4,OB5,OB6"));
        EXPECT_EQ(f.Panel4->findChild<QWidget *>(names[6])->toolTip(), frLoadString(55224));
        EXPECT_EQ(f.Panel4->findChild<QWidget *>(names[7])->toolTip(), frLoadString(55225));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pixels"));
        EXPECT_EQ(f.Tab1->count(), 1);
        EXPECT_EQ(f.Tab1->tabText(0), QStringLiteral("Page1"));
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(frObjects().frCurrentDesigner, nullptr);
}

TEST_F(WindowTest, ClosingWithoutExitCancelsAndTheNameIsWrittenBack)
{
    const int result = design([&](TfrDesignerForm &f) {
        f.SetWindowCaption(QStringLiteral("/autre/Etat2.frf"));
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Etat2.frf"));
        f.reject();
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_EQ(rep->FileName, QStringLiteral("/autre/Etat2.frf"));
}

TEST_F(WindowTest, ConstructorRunsWithoutACurrentDesigner)
{
    bool seenNull = false;
    frObjects().frDesignerClass = [&](int mode) -> std::unique_ptr<TfrReportDesigner> {
        seenNull = frObjects().frCurrentDesigner == nullptr;
        return std::make_unique<TfrDesignerForm>(mode);
    };
    QTimer::singleShot(0, [] { current()->ExitBClick(); });
    rep->DesignReport();
    EXPECT_TRUE(seenNull);
}

TEST_F(WindowTest, CommandsWithoutTheirSlotStayDisabledAndSlotsAnswerCancelled)
{
    // A report whose file exists: one not yet on disk may be saved unchanged.
    rep->FileName = existingFile();
    design([&](TfrDesignerForm &f) {
        // Nothing selected and nothing changed: save, order, grid, alignment
        // and the attribute tools wait.
        for (const char *name : {"FileBtn3", "ZB1", "ZB2", "GB3", "Align1", "Align10", "HlB1",
                                 "ClB1", "FnB1", "FrB5", "StB1"})
            EXPECT_FALSE(f.button(QString::fromLatin1(name))->isEnabled()) << name;
        for (const char *name : {"N20", "N32", "N33"})
            EXPECT_FALSE(f.action(QString::fromLatin1(name))->isEnabled()) << name;
        // A command whose dialog is missing is disabled, with its tool; the
        // pickers answer nothing.
        RequestSlots &req = f.state().Requests;
        req.insertFields = nullptr;
        req.reportOptions = nullptr;
        req.fieldPicker = nullptr;
        req.expressionBuilder = nullptr;
        f.updateAvailability();
        EXPECT_FALSE(f.action(QStringLiteral("N8"))->isEnabled());
        ASSERT_EQ(f.MastMenu->actions().size(), 1);
        EXPECT_EQ(f.MastMenu->actions()[0]->text(), QStringLiteral("Insérer un champ de données"));
        EXPECT_FALSE(f.MastMenu->actions()[0]->isEnabled());
        EXPECT_EQ(f.PickDataField(), QString());
        EXPECT_EQ(f.PickExpression(), QString());

        // Filled, they open: the commands follow their slots.
        int opened = 0;
        f.state().Requests.commands[QStringLiteral("ZB1Click")] = [&] { ++opened; };
        f.state().Requests.fieldPicker = [] {
            return std::optional<QString>(QStringLiteral("Nom"));
        };
        memo(QStringLiteral("Memo1"), 8, 16, 96, 18)->Selected = true;
        f.selectionChanged();
        EXPECT_TRUE(f.button(QStringLiteral("ZB1"))->isEnabled());
        EXPECT_TRUE(f.action(QStringLiteral("N32"))->isEnabled());
        f.action(QStringLiteral("N32"))->trigger();
        QTest::mouseClick(f.button(QStringLiteral("ZB1")), Qt::LeftButton);
        EXPECT_EQ(opened, 2);
        EXPECT_EQ(f.PickDataField(), QStringLiteral("[Nom]"));
    });
}

// Commands built beside the window reach it through an extension step: the
// slots it fills are there from the start, and the commands follow them.
TEST_F(WindowTest, ExtensionsFillTheirSlotsInEveryNewWindow)
{
    int made = 0;
    QObject *seenWindow = nullptr;
    frAddDesignerExtension([&](DesignerCore &core, QObject *window) {
        ++made;
        seenWindow = window;
        core.state.Requests.bandType = [](bool) { return std::optional<int>(btMasterData); };
    });
    for (int round = 0; round < 2; ++round)
        design([&](TfrDesignerForm &f) {
            EXPECT_EQ(seenWindow, &f);
            EXPECT_TRUE(f.button(QStringLiteral("OB3"))->isEnabled());
        });
    EXPECT_EQ(made, 2);
    // A reset of the library forgets them, as every test starts afresh.
    fr().resetForTests();
    EXPECT_TRUE(designerGlobals().extensions.empty());
}

// A small laptop's screen: the window opens within it, its status bar and
// position box in sight, and the page area scrolls.
TEST_F(WindowTest, OpensWithinASmallScreen)
{
    page->PrnInfo.Pgw = 1123;
    page->PrnInfo.Pgh = 794;
    const QRect screen(0, 0, 1024, 576);
    platform::setAvailableScreenArea(screen);
    design([&](TfrDesignerForm &f) {
        QApplication::processEvents();
        EXPECT_TRUE(screen.contains(f.frameGeometry()))
            << f.frameGeometry().x() << "," << f.frameGeometry().y() << " "
            << f.frameGeometry().width() << "x" << f.frameGeometry().height();
        EXPECT_TRUE(f.rect().contains(f.StatusBar1->geometry()));
        EXPECT_GT(f.ScrollBox1->horizontalScrollBar()->maximum(), 0);
    });
    platform::setAvailableScreenArea(QRect(0, 0, 4096, 4096));
}

// Places saved on a large screen, then the designer opened on a laptop's:
// the window, its inspector, its DB fields window and the preview come back
// whole within the free area, their frames (told by the window system, else
// allowed for) included. Restored or placed afresh, the DB fields window
// never lies over the inspector.
TEST_F(WindowTest, RestoredWindowsFitASmallerScreen)
{
    const auto store = [](const char *form, QRect r) {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QLatin1Char('\\') + report::frRegistryKey() +
                                    QStringLiteral("\\Form\\") + QLatin1String(form),
                                true));
        reg.WriteInteger(QStringLiteral("XPosition"), r.x());
        reg.WriteInteger(QStringLiteral("YPosition"), r.y());
        reg.WriteInteger(QStringLiteral("Width"), r.width());
        reg.WriteInteger(QStringLiteral("Height"), r.height());
        reg.WriteBool(QStringLiteral("Maximized"), false);
    };
    const auto fits = [](QWidget *w, const QRect &screen, const QString &shot) {
        vorn_test::waitUntilPlaced(w);
        const QMargins frame = platform::windowFrameMargins(w);
        const QRect outer = w->geometry().marginsAdded(frame);
        const std::string name = w->metaObject()->className() + std::string(" on ") +
                                 std::to_string(screen.width()) + "x" +
                                 std::to_string(screen.height());
        EXPECT_TRUE(w->isVisible()) << name;
        EXPECT_GT(frame.top(), 0) << name; // a title bar, told or allowed for
        EXPECT_TRUE(screen.contains(outer)) << name << ": " << outer.x() << "," << outer.y() << " "
                                            << outer.width() << "x" << outer.height();
        vorn_test::saveShot(vorn_test::screenPicture(w, screen), shot);
    };
    const auto outer = [](QWidget *w) {
        return w->geometry().marginsAdded(platform::windowFrameMargins(w));
    };
    for (const bool saved : {true, false})
        for (const QRect screen : {QRect(0, 0, 1366, 768), QRect(0, 0, 1024, 600)}) {
            if (saved) {
                // Where they were on a 1920 x 1200 screen.
                store("TfrDesignerForm", QRect(40, 30, 1800, 1100));
                store("TfrInspForm", QRect(900, 400, 185, 420));
                store("TfrInsFieldsForm", QRect(700, 500, 184, 300));
                store("TfrPreviewForm", QRect(200, 150, 1400, 950));
            } else {
                platform::TRegistry reg;
                for (const char *form : {"TfrInspForm", "TfrInsFieldsForm"})
                    reg.DeleteKey(QLatin1Char('\\') + report::frRegistryKey() +
                                  QStringLiteral("\\Form\\") + QLatin1String(form));
            }
            platform::setAvailableScreenArea(screen);
            const QString size = QStringLiteral("%1_%2x%3.png")
                                     .arg(saved ? "" : "_fresh")
                                     .arg(screen.width())
                                     .arg(screen.height());
            design([&](TfrDesignerForm &f) {
                f.state().Requests.inspectorShow();
                f.state().Requests.dbFieldsShow();
                for (int i = 0; i < 5; ++i)
                    QApplication::processEvents();
                QWidget *inspector = f.findChild<QWidget *>(QStringLiteral("frInspForm"));
                QWidget *fields = f.findChild<QWidget *>(QStringLiteral("InsFieldsForm"));
                ASSERT_NE(inspector, nullptr);
                ASSERT_NE(fields, nullptr);
                fits(&f, screen, QStringLiteral("designer") + size);
                if (saved)
                    fits(inspector, screen, QStringLiteral("inspector") + size);
                fits(fields, screen, QStringLiteral("dbfields") + size);
                EXPECT_FALSE(outer(fields).intersects(outer(inspector)))
                    << (saved ? "saved" : "fresh") << " on " << screen.width() << "x"
                    << screen.height();
            });
            report::TfrPreviewForm preview;
            preview.show();
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
            fits(&preview, screen, QStringLiteral("preview") + size);
            preview.hide();
        }
    platform::setAvailableScreenArea(QRect(0, 0, 4096, 4096));
}

TEST_F(WindowTest, SaveFollowsTheModifiedFlagUnlessSavingIsForbidden)
{
    rep->FileName = existingFile();
    design([&](TfrDesignerForm &f) {
        f.state().Requests.commands[QStringLiteral("FileBtn3Click")] = [] {};
        EXPECT_FALSE(f.IsModified());
        f.SetModified(true);
        EXPECT_TRUE(rep->Modified);
        EXPECT_TRUE(rep->ChangedInDesign);
        EXPECT_TRUE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        EXPECT_TRUE(f.action(QStringLiteral("N20"))->isEnabled());
        f.SetModified(false);
        EXPECT_FALSE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        frObjects().frDesignerRestrictions = 1 << drNoSaveReport;
        f.SetModified(true);
        EXPECT_FALSE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        EXPECT_FALSE(f.action(QStringLiteral("N20"))->isEnabled());
        frObjects().frDesignerRestrictions = 0;
    });
}

TEST_F(WindowTest, UnitsCycleOnADoubleClickInTheFirstPanelAndThePositionBoxFollows)
{
    memo(QStringLiteral("Memo1"), 8, 16, 96, 18)->Selected = true;
    design([&](TfrDesignerForm &f) {
        page->Objects[0]->Selected = true;
        f.selectionChanged();
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("8;16;96;18"));
        QTest::mouseDClick(f.StatusBar1, Qt::LeftButton, {}, QPoint(120, 5));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pixels"))
            << "outside the first panel";
        QTest::mouseDClick(f.StatusBar1, Qt::LeftButton, {}, QPoint(30, 5));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("MM"));
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("2,22; 4,44; 26,67; 5"));
        QTest::mouseDClick(f.StatusBar1, Qt::LeftButton, {}, QPoint(30, 5));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pouces"));
        QTest::mouseDClick(f.StatusBar1, Qt::LeftButton, {}, QPoint(30, 5));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pixels"));
        EXPECT_EQ(f.StatusBar1->panelText(2), QStringLiteral("Memo1: Memo1"));
    });
}

TEST(PositionText, PixelsUnitsSeveralObjectsAndPictureScale)
{
    EXPECT_EQ(frPositionText(edges(8, 16, 104, 34), 0), QStringLiteral("8;16;96;18"));
    EXPECT_EQ(frPositionText(edges(-5, 0, 13, 1000), 0), QStringLiteral("-5;0;18;1000"));
    // 4 significant digits, 2 decimals at most.
    EXPECT_EQ(frPositionText(edges(0, 18, 3600, 36), 1), QStringLiteral("0; 5; 1000; 5"));
    EXPECT_EQ(frPositionText(edges(1, 0, 37, 9), 1), QStringLiteral("0,28; 0; 10; 2,5"));
    EXPECT_EQ(frPositionText(edges(0, 0, 18 * 254, 18), 2), QStringLiteral("0; 0; 50; 0,2"));
    const QPoint scale(50, 200);
    EXPECT_EQ(frPositionText(edges(10, 20, 60, 220), 0, &scale),
              QStringLiteral("10;20;50;200 % 50,200"));
}

TEST_F(WindowTest, PositionBoxShowsTheBoxAroundSeveralObjectsAndAPictureScale)
{
    memo(QStringLiteral("Memo1"), 8, 16, 96, 18);
    memo(QStringLiteral("Memo2"), 40, 100, 100, 20);
    auto pic = std::make_unique<TfrPictureView>();
    pic->Name = QStringLiteral("Picture1");
    pic->SetBounds(200, 200, 50, 100);
    QImage img(100, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    pic->Picture.setImage(img);
    page->Add(std::move(pic));
    design([&](TfrDesignerForm &f) {
        page->Objects[0]->Selected = page->Objects[1]->Selected = true;
        f.selectionChanged();
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("8;16;132;104"));
        f.state().UnselectAll();
        page->Objects[2]->Selected = true;
        f.selectionChanged();
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("200;200;50;100 % 50,200"));
    });
}

TEST_F(WindowTest, PageTabsNameSubreportTargetsAndAClickShowsThePage)
{
    TfrPage *second = rep->Pages().Add();
    second->Name = QStringLiteral("Page2");
    rep->Pages().Add()->Name = QStringLiteral("Page3");
    auto sub = std::make_unique<TfrSubReportView>();
    sub->Name = QStringLiteral("SousEtat1");
    sub->SubPage = 2;
    sub->SetBounds(10, 10, 100, 40);
    page->Add(std::move(sub));
    design([&](TfrDesignerForm &f) {
        ASSERT_EQ(f.Tab1->count(), 3);
        EXPECT_EQ(f.Tab1->tabText(0), QStringLiteral("Page1"));
        EXPECT_EQ(f.Tab1->tabText(1), QStringLiteral("Page2"));
        EXPECT_EQ(f.Tab1->tabText(2), QStringLiteral("SousEtat1"));
        f.Tab1->setCurrentIndex(1);
        EXPECT_EQ(f.state().CurPage, 1);
        EXPECT_EQ(f.Page, second);
        EXPECT_EQ(frObjects().frCurrentPage, second);
        f.SelectByName(QStringLiteral("Page1"));
        EXPECT_EQ(f.Tab1->currentIndex(), 0);
        EXPECT_EQ(f.Page, page);
    });
}

TEST_F(WindowTest, WheelScrollsEightPixels)
{
    rep->Pages().GetPage(0)->PrnInfo.Pgh = 3000;
    design([&](TfrDesignerForm &f) {
        f.resize(700, 500);
        QApplication::processEvents();
        QScrollBar *v = f.ScrollBox1->verticalScrollBar();
        ASSERT_GE(v->maximum(), 100);
        v->setValue(40);
        QWheelEvent down(QPointF(50, 50), f.ScrollBox1->viewport()->mapToGlobal(QPointF(50, 50)),
                         QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                         false);
        QApplication::sendEvent(f.ScrollBox1->viewport(), &down);
        EXPECT_EQ(v->value(), 48);
        QWheelEvent up(QPointF(50, 50), f.ScrollBox1->viewport()->mapToGlobal(QPointF(50, 50)),
                       QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                       false);
        QApplication::sendEvent(f.ScrollBox1->viewport(), &up);
        QApplication::sendEvent(f.ScrollBox1->viewport(), &up);
        EXPECT_EQ(v->value(), 32);
    });
}

TEST_F(WindowTest, ColourButtonsStartBlackAndNoColourLeavesTheBarBlank)
{
    design([&](TfrDesignerForm &f) {
        for (const char *name : {"ClB1", "ClB2", "ClB3"}) {
            TfrSpeedButton *b = f.button(QString::fromLatin1(name));
            EXPECT_EQ(b->NumGlyphs(), 2) << name;
            EXPECT_EQ(b->Glyph().size(), QSize(32, 16)) << name;
            EXPECT_EQ(QColor(b->Glyph().pixel(5, 13)), QColor(Qt::black)) << name;
        }
        TfrSpeedButton *fill = f.button(QStringLiteral("ClB1"));
        f.PaintColorGlyph(platform::rgb(0, 255, 0), fill, 1);
        EXPECT_EQ(QColor(fill->Glyph().pixel(5, 13)), QColor(0, 255, 0));
        // The disabled half keeps its own grey bar.
        EXPECT_NE(QColor(fill->Glyph().pixel(16 + 5, 13)), QColor(0, 255, 0));
        f.PaintColorGlyph(platform::clNone, fill, 1);
        EXPECT_EQ(QColor(fill->Glyph().pixel(5, 13)), f.palette().color(QPalette::Button));
    });
}

TEST_F(WindowTest, AddInHintsAndToolsOfTheHostProgram)
{
    TestButtonControl::registerControl(QStringLiteral("55224"));
    int clicks = 0;
    TfrToolsInfo tool;
    tool.Caption = QStringLiteral("Outil maison");
    tool.OnClick = [&] { ++clicks; };
    frObjects().frToolsList.push_back(tool);
    design([&](TfrDesignerForm &f) {
        // The dialog control's button is hidden on report pages; its
        // numeric hint is read as a string id.
        auto *b = f.Panel4->findChild<TfrTBButton *>(QStringLiteral("AddIn0"));
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->isHidden());
        EXPECT_EQ(b->toolTip(), frLoadString(55224));
        EXPECT_EQ(b->property("Tag").toInt(), 10);
        ASSERT_EQ(f.MastMenu->actions().size(), 2);
        EXPECT_EQ(f.MastMenu->actions()[1]->text(), QStringLiteral("Outil maison"));
        f.MastMenu->actions()[1]->trigger();
        const QList<TfrTBButton *> tools = f.Panel6->findChildren<TfrTBButton *>();
        ASSERT_EQ(tools.size(), 2);
        for (TfrTBButton *t : tools)
            if (t->toolTip() == QStringLiteral("Outil maison"))
                QTest::mouseClick(t, Qt::LeftButton);
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(f.Panel3->findChild<QWidget *>(QStringLiteral("FnB1"))->toolTip(),
                  QStringLiteral("Gras"));
        // Menu items show the glyph of their button.
        EXPECT_FALSE(f.action(QStringLiteral("N11"))->icon().isNull());
        EXPECT_FALSE(f.action(QStringLiteral("N46"))->icon().isNull());
        // The tool bar items hide and show their bar, ticked while it shows.
        QMenu *bars = f.findChild<QMenu *>(QStringLiteral("N37"));
        ASSERT_NE(bars, nullptr);
        emit bars->aboutToShow();
        EXPECT_FALSE(f.action(QStringLiteral("Pan1"))->icon().isNull());
        f.action(QStringLiteral("Pan1"))->trigger();
        EXPECT_FALSE(f.Panel1->IsVisible());
        emit bars->aboutToShow();
        EXPECT_TRUE(f.action(QStringLiteral("Pan1"))->icon().isNull());
        f.action(QStringLiteral("Pan1"))->trigger();
        EXPECT_TRUE(f.Panel1->IsVisible());
    });
}

TEST_F(WindowTest, DialogPageMovesTheSurfaceIntoItsWindowAndSwapsTheObjectTools)
{
    TestButtonControl::registerControl();
    TfrPage *dialog = rep->Pages().Add();
    dialog->Name = QStringLiteral("Page2");
    dialog->PageTypeValue = ptDialog;
    dialog->FormLeft = 250;
    dialog->FormTop = 140;
    dialog->FormWidth = 320;
    dialog->FormHeight = 200;
    dialog->Caption = QStringLiteral("Choix");
    auto control = std::make_unique<TestButtonControl>();
    control->Name = QStringLiteral("Bouton1");
    control->SetBounds(10, 10, 75, 25);
    dialog->Add(std::move(control));
    design([&](TfrDesignerForm &f) {
        EXPECT_EQ(visibleButtons(f.Panel4).join(u','), QStringLiteral("OB1,OB2,OB3,OB4,OB5,OB6"));
        f.SetCurPage(1);
        ASSERT_NE(f.PageForm, nullptr);
        EXPECT_EQ(f.PageView->parentWidget(), f.PageForm.data());
        EXPECT_TRUE(f.PageForm->isVisible());
        EXPECT_EQ(f.PageForm->windowTitle(), QStringLiteral("Choix"));
        EXPECT_EQ(f.PageForm->geometry(), QRect(250, 140, 320, 200));
        EXPECT_EQ(visibleButtons(f.Panel4).join(u','), QStringLiteral("OB1,AddIn0"));
        // It never closes by itself.
        EXPECT_FALSE(f.PageForm->close());
        EXPECT_TRUE(f.PageForm->isVisible());
        EXPECT_FALSE(f.IsModified());
        // Its moves and sizes are the page's.
        f.PageForm->setGeometry(300, 160, 400, 260);
        QApplication::processEvents();
        EXPECT_EQ(QRect(dialog->FormLeft, dialog->FormTop, dialog->FormWidth, dialog->FormHeight),
                  QRect(300, 160, 400, 260));
        EXPECT_TRUE(f.IsModified());
        // Ctrl+A in the page window selects every control.
        QTest::keyClick(f.PageForm, Qt::Key_A, Qt::ControlModifier);
        EXPECT_TRUE(dialog->Objects[0]->Selected);
        // Ctrl+C there is the designer's copy.
        designerGlobals().clipboard.clear();
        QTest::keyClick(f.PageForm, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(designerGlobals().clipboard.size(), 1u);

        if (vorn_test::shotsRequested()) {
            QApplication::processEvents();
            vorn_test::saveShot(&f, QStringLiteral("designer_dialogpage_main.png"));
            vorn_test::saveShot(f.PageForm, QStringLiteral("designer_dialogpage_form.png"));
            QImage both(f.width() + 20 + f.PageForm->width(),
                        std::max(f.height(), f.PageForm->height()), QImage::Format_RGB32);
            both.fill(Qt::darkGray);
            QPainter p(&both);
            p.drawImage(0, 0, f.grab().toImage());
            p.drawImage(f.width() + 20, 0, f.PageForm->grab().toImage());
            p.end();
            vorn_test::saveShot(both, QStringLiteral("designer_dialogpage.png"));
        }

        // Back on the report page: the scroll box, white, no page window.
        f.SetCurPage(0);
        EXPECT_EQ(f.PageForm, nullptr);
        EXPECT_EQ(f.PageView->parentWidget(), f.ScrollBox1->widget());
        EXPECT_EQ(visibleButtons(f.Panel4).join(u','), QStringLiteral("OB1,OB2,OB3,OB4,OB5,OB6"));
    });
}

TEST_F(WindowTest, MemoInsertedMovedResizedThenUndoneAndRedone)
{
    design([&](TfrDesignerForm &f) {
        // The memo editor would open on the new memo.
        f.state().Settings.EditAfterInsert = false;
        f.SetGridSize(8);
        f.SetGridAlign(true);
        QTest::mouseClick(f.button(QStringLiteral("OB2")), Qt::LeftButton);
        EXPECT_EQ(f.activeTool(), kToolMemo);
        click(f.PageView, QPoint(13, 21));
        ASSERT_EQ(page->ObjectCount(), 1);
        TfrView *m = page->Objects[0].get();
        EXPECT_EQ(geometry(m), QRect(8, 16, 96, 18));
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("8;16;96;18"));
        const qint32 id = m->ID;
        // A drag of the memo, then of its bottom right handle.
        drag(f.PageView, QPoint(50, 25), QPoint(66, 33));
        EXPECT_EQ(geometry(m), QRect(24, 24, 96, 18));
        drag(f.PageView, QPoint(120, 42), QPoint(136, 50));
        EXPECT_EQ(geometry(m), QRect(24, 24, 112, 26));

        f.activateWindow();
        QApplication::setActiveWindow(&f);
        auto geometryOfMemo = [&] {
            const int i = page->IndexOfObjectID(id);
            return i < 0 ? QRect() : geometry(page->Objects[size_t(i)].get());
        };
        QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(geometryOfMemo(), QRect(24, 24, 96, 18));
        QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(geometryOfMemo(), QRect(8, 16, 96, 18));
        QTest::keyClick(&f, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(geometryOfMemo(), QRect(24, 24, 96, 18));
        QTest::keyClick(&f, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(geometryOfMemo(), QRect(24, 24, 112, 26));
        EXPECT_EQ(page->ObjectCount(), 1);

        // Copy with Ctrl+Insert, paste with Shift+Insert: a second memo.
        f.PageView->setFocus();
        for (const auto &v : page->Objects)
            v->Selected = true;
        f.state().SelectedCount = 1;
        QTest::keyClick(f.PageView, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_FALSE(designerGlobals().clipboard.empty());
        QTest::keyClick(f.PageView, Qt::Key_Insert, Qt::ShiftModifier);
        ASSERT_EQ(page->ObjectCount(), 2);
        EXPECT_NE(page->Objects[1]->Name, page->Objects[0]->Name);

        // Esc gives the select tool back.
        QTest::mouseClick(f.button(QStringLiteral("OB2")), Qt::LeftButton);
        f.PageView->setFocus();
        EXPECT_EQ(f.activeTool(), kToolMemo);
        QTest::keyClick(f.PageView, Qt::Key_Escape);
        EXPECT_EQ(f.activeTool(), kToolSelect);
        EXPECT_TRUE(f.isVisible()) << "Esc does not close the designer";
    });
}

TEST_F(WindowTest, PreparedPageEditorOffersNoPageOrFileCommandsAndKeepsTheName)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("3"));
    memo(QStringLiteral("Texte"), 20, 40, 200, 20);
    ASSERT_TRUE(rep->PrepareReport());
    EXPECT_TRUE(editPrepared([&](TfrDesignerForm &form) {
        TfrDesignerForm *f = &form;
        EXPECT_EQ(f->DesignMode, 0);
        EXPECT_EQ(f->windowTitle(), QStringLiteral("Editeur - Sans_nom"));
        // Every later command is there: only the mode keeps them off.
        for (const char *handler : {"FileBtn1Click", "FileBtn2Click", "FileBtn4Click", "PgB1Click",
                                    "PgB2Click", "PgB3Click"})
            f->state().Requests.commands[QString::fromLatin1(handler)] = [] {};
        f->updateAvailability();
        for (const char *name : {"FileBtn1", "FileBtn2", "FileBtn4", "OB3", "OB5", "PgB1", "PgB2"})
            EXPECT_FALSE(f->button(QString::fromLatin1(name))->isEnabled()) << name;
        for (const char *name : {"N19", "N39", "N29", "N30", "N41", "N43"})
            EXPECT_FALSE(f->action(QString::fromLatin1(name))->isEnabled()) << name;
        EXPECT_TRUE(f->button(QStringLiteral("OB2"))->isEnabled());
    }));
    EXPECT_EQ(rep->FileName, QStringLiteral("/donnees/etats/Classement.frf"));
    EXPECT_TRUE(fakes->dialogs.messages.empty()) << "nothing was edited, nothing is asked";
}

TEST_F(WindowTest, DesignerModeOneOffersWhatThePreparedPageEditorDoesNot)
{
    design([&](TfrDesignerForm &f) {
        for (const char *handler :
             {"FileBtn1Click", "FileBtn2Click", "FileBtn4Click", "PgB1Click", "PgB2Click"})
            f.state().Requests.commands[QString::fromLatin1(handler)] = [] {};
        f.state().Requests.bandType = [](bool) { return std::optional<int>(); };
        f.updateAvailability();
        for (const char *name : {"FileBtn1", "FileBtn2", "FileBtn4", "OB3", "OB5", "PgB1", "PgB2"})
            EXPECT_TRUE(f.button(QString::fromLatin1(name))->isEnabled()) << name;
    });
}

TEST_F(WindowTest, PreparedPageEditedInsideADesignerLeavesTheOuterOneWhole)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("3"));
    TfrMemoView *outerMemo = memo(QStringLiteral("Texte"), 20, 40, 200, 20);
    Q_UNUSED(outerMemo);
    fakes->dialogs.answers.push_back(platform::mrNo);
    design([&](TfrDesignerForm &outer) {
        // An unsaved edit in the designer, with its undo entry.
        page->Objects[1]->Selected = true;
        outer.selectionChanged();
        outer.NotifyBeforeChange();
        page->Objects[1]->x = 60;
        outer.SetModified(true);
        ASSERT_TRUE(rep->PrepareReport());
        bool innerRan = false;
        QTimer::singleShot(0, [&] {
            TfrDesignerForm *inner = current();
            ASSERT_NE(inner, nullptr);
            ASSERT_NE(inner, &outer);
            innerRan = true;
            EXPECT_FALSE(inner->IsModified());
            inner->SetModified(true);
            inner->ExitBClick();
        });
        rep->EditPreparedPage(0);
        EXPECT_TRUE(innerRan);
        EXPECT_EQ(current(), &outer);
        // The engine asked once; the designer's own flag stayed set.
        EXPECT_EQ(fakes->dialogs.messages.size(), 1u);
        EXPECT_TRUE(rep->Modified);
        EXPECT_TRUE(outer.IsModified());
        // Still usable: its page is back, undo finds its objects or nothing.
        EXPECT_NE(outer.state().page(), nullptr);
        outer.UndoBClick();
        outer.RepaintPage();
        outer.SelAllBClick();
        EXPECT_EQ(outer.state().countSelected(), outer.state().page()->ObjectCount());
    });
    EXPECT_TRUE(rep->Modified);
}

// The template is made anew under an open designer (a prepared page edited
// from its preview): its history is kept by place, so Undo still removes
// what was pasted before.
TEST_F(WindowTest, UndoAfterAPreparedPageWasEditedFindsTheObjectsMadeAnew)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("3"));
    memo(QStringLiteral("Texte"), 20, 40, 200, 20);
    fakes->dialogs.answers.push_back(platform::mrNo);
    design([&](TfrDesignerForm &outer) {
        // A preview from the designer rebuilds the template the same way.
        outer.TemplateAboutToRebuild();
        ASSERT_TRUE(rep->PrepareReport());
        outer.TemplateRebuilt();
        ASSERT_NE(outer.state().page(), nullptr);
        outer.SelectByName(QStringLiteral("Texte"));
        outer.CopyBClick();
        outer.PstBClick();
        ASSERT_EQ(outer.state().page()->ObjectCount(), 3);
        QTimer::singleShot(0, [&] {
            if (TfrDesignerForm *inner = current(); inner && inner != &outer)
                inner->ExitBClick();
        });
        rep->EditPreparedPage(0);
        ASSERT_EQ(current(), &outer);
        ASSERT_NE(outer.state().page(), nullptr);
        ASSERT_EQ(outer.state().page()->ObjectCount(), 3);
        outer.UndoBClick();
        TfrPage *p = outer.state().page();
        ASSERT_EQ(p->ObjectCount(), 2);
        EXPECT_NE(p->FindObject(QStringLiteral("Texte")), nullptr);
        EXPECT_NE(p->FindObject(QStringLiteral("Donnees")), nullptr);
    });
}

TEST(DesignerKeys, CtrlWithADigitKeyOfAnyLayoutGivesTheDigit)
{
    // A French keyboard sends "&" for the key that bears 1 (X key code 10).
    QKeyEvent ampersand(QEvent::KeyPress, Qt::Key_Ampersand, Qt::ControlModifier, 10, 0, 0);
    EXPECT_EQ(designer::designerKeyOf(ampersand), int(Qt::Key_1));
    QKeyEvent nine(QEvent::KeyPress, Qt::Key_Ccedilla, Qt::ControlModifier, 18, 0, 0);
    EXPECT_EQ(designer::designerKeyOf(nine), int(Qt::Key_9));
    // Without Ctrl, and for other keys, the key is what it says.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_Ampersand, Qt::NoModifier, 10, 0, 0);
    EXPECT_EQ(designer::designerKeyOf(typed), int(Qt::Key_Ampersand));
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, 56, 0, 0);
    EXPECT_EQ(designer::designerKeyOf(letter), int(Qt::Key_B));
}

TEST_F(WindowTest, OwnerIsNotActivatedWhenTheDesignerCloses)
{
    class Owner : public platform::TForm
    {
    public:
        Owner() : TForm(QStringLiteral("Proprio")) {}
        int activations = 0;

    protected:
        void FormActivate() override { ++activations; }
    };
    Owner ownerForm;
    ownerForm.show();
    ownerForm.activated();
    const int before = ownerForm.activations;
    design([&](TfrDesignerForm &) {});
    QApplication::processEvents();
    ownerForm.activated();
    EXPECT_EQ(ownerForm.activations, before);
}

TEST_F(WindowTest, MainWindowShowsBandsMemosToolBarsTabsAndThePosition)
{
    band(btPageHeader, 0, 40, QStringLiteral("EnTeteDePage1"));
    memo(QStringLiteral("Titre"), 8, 16, 96, 18);
    memo(QStringLiteral("Date"), 500, 16, 120, 18);
    band(btMasterData, 80, 24, QStringLiteral("DonneesMaitre1"), QStringLiteral("10"));
    memo(QStringLiteral("Nom"), 8, 84, 200, 18)->Memo = QStringList{QStringLiteral("[Nom]")};
    memo(QStringLiteral("Points"), 220, 84, 80, 18)->Memo = QStringList{QStringLiteral("[Points]")};
    rep->Pages().Add()->Name = QStringLiteral("Page2");
    design([&](TfrDesignerForm &f) {
        f.resize(1000, 700);
        f.SetGridSize(8);
        QApplication::processEvents();
        f.SelectByName(QStringLiteral("Titre"));
        f.selectionChanged();
        EXPECT_EQ(f.PBox1->text(), QStringLiteral("8;16;96;18"));
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pixels"));
        ASSERT_EQ(f.Tab1->count(), 2);
        EXPECT_EQ(f.Tab1->tabText(1), QStringLiteral("Page2"));
        for (TfrToolBar *bar : {f.Panel1, f.Panel2, f.Panel3, f.Panel4, f.Panel5, f.Panel6}) {
            EXPECT_TRUE(bar->isVisible()) << bar->objectName().toStdString();
            // Every button lies inside its bar (nothing cut off).
            for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
                if (!w->isHidden()) {
                    EXPECT_TRUE(bar->rect().contains(w->geometry()))
                        << w->objectName().toStdString() << " in " << bar->width() << "x"
                        << bar->height() << " at " << w->x() << "," << w->y() << " " << w->width()
                        << "x" << w->height();
                }
            }
            EXPECT_TRUE(bar->parentWidget()->rect().contains(bar->geometry()))
                << bar->objectName().toStdString();
        }
        EXPECT_GE(f.button(QStringLiteral("ExitB"))->width(),
                  f.button(QStringLiteral("ExitB"))
                          ->fontMetrics()
                          .horizontalAdvance(QStringLiteral("Fermer")) +
                      16);
        QApplication::processEvents();
        vorn_test::saveShot(&f, QStringLiteral("designer_main.png"));
        // On a small screen the frame bar takes a row of its own.
        f.resize(640, 480);
        QApplication::processEvents();
        EXPECT_LE(f.Panel1->x() + f.Panel1->width(), f.frDock1->width());
        EXPECT_LT(f.Panel3->y(), f.Panel1->y());
        EXPECT_GT(f.PageView->width(), 0);
        vorn_test::saveShot(&f, QStringLiteral("designer_small.png"));
    });
}

TEST_F(WindowTest, FieldDroppedOnTheSurfaceBecomesAMemo)
{
    band(btMasterData, 40, 40, QStringLiteral("DonneesMaitre1"), QStringLiteral("5"));
    design([&](TfrDesignerForm &f) {
        QMimeData data;
        data.setData(frFieldMimeType(), QStringLiteral("Clients.\"Nom\"").toUtf8());
        QDragEnterEvent enter(QPoint(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.PageView, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent over(QPoint(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.PageView, &over);
        EXPECT_TRUE(over.isAccepted());
        QDropEvent drop(QPointF(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.PageView, &drop);
        ASSERT_EQ(page->ObjectCount(), 2);
        EXPECT_EQ(page->Objects[1]->Memo, QStringList{QStringLiteral("[Clients.\"Nom\"]")});
        // Anything else dragged there is refused.
        QMimeData text;
        text.setText(QStringLiteral("Nom"));
        QDragEnterEvent other(QPoint(40, 50), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(f.PageView, &other);
        EXPECT_FALSE(other.isAccepted());
    });
}

// Templates as files may hold them: each is shown, selected, moved, undone
// and closed, and comes out as it went in.
TEST_F(WindowTest, HostileTemplatesAreShownEditedUndoneAndClosedUnchanged)
{
    struct Case {
        const char *what;
        std::function<void(TfrPage &)> build;
    };
    const Case cases[] = {
        {"far objects and bad sizes",
         [&](TfrPage &p) {
             memo(QStringLiteral("Loin"), 1 << 26, -(1 << 26), 50, 20, &p);
             memo(QStringLiteral("Vide"), 10, 10, 0, 0, &p);
             memo(QStringLiteral("Envers"), 100, 100, -40, -20, &p);
         }},
        {"band type 150 and subreports out of range",
         [&](TfrPage &p) {
             band(150, 20, 20, QStringLiteral("Bande1"));
             for (int target : {-1, 99}) {
                 auto sub = std::make_unique<TfrSubReportView>();
                 sub->Name = QStringLiteral("SousEtat%1").arg(target);
                 sub->SubPage = target;
                 sub->SetBounds(20, 60, 100, 30);
                 p.Add(std::move(sub));
             }
         }},
        {"two billion columns and a negative gap",
         [&](TfrPage &p) {
             p.Columns = 2000000000;
             p.ColumnGap = -500;
             memo(QStringLiteral("Colonnes"), 20, 20, 50, 20, &p);
         }},
        {"a 100 m paper",
         [&](TfrPage &p) {
             p.ChangePaper(256, 2100, 1000000, -1, 0);
             memo(QStringLiteral("Bas"), 20, p.PageHeight() - 40, 50, 20, &p);
         }},
        {"5000 objects",
         [&](TfrPage &p) {
             for (int i = 0; i < 5000; ++i)
                 memo(QStringLiteral("Memo%1").arg(i + 1), (i % 20) * 36, (i / 20) * 4, 30, 12, &p);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        page->Clear();
        page->Columns = 1;
        page->ColumnGap = 0;
        page->ChangePaper(9, 0, 0, -1, 0);
        c.build(*page);
        // Drawn once, a band takes the page's width: that is the template's
        // state before the edits.
        design([](TfrDesignerForm &) {});
        FrMemoryStream before;
        rep->SaveToStream(before);
        design([&](TfrDesignerForm &f) {
            if (std::string(c.what) == "a 100 m paper") {
                f.state().Settings.UnlimitedHeight = true;
                f.FormResize();
            }
            f.ScrollBox1->verticalScrollBar()->setValue(
                f.ScrollBox1->verticalScrollBar()->maximum());
            f.SelAllBClick();
            f.PageView->setFocus();
            TfrView *last = page->Objects.back().get();
            const int x = last->x;
            QTest::keyClick(f.PageView, Qt::Key_Right, Qt::ControlModifier);
            EXPECT_EQ(last->x, x + 1);
            f.UndoBClick();
            f.RepaintPage();
            QApplication::processEvents();
            EXPECT_LE(f.PageView->height(), QWIDGETSIZE_MAX);
        });
        FrMemoryStream after;
        rep->SaveToStream(after);
        EXPECT_EQ(after.data(), before.data());
    }
}

TEST_F(WindowTest, RegistrationGivesTheKeyOfTheTitleAgainAfterAReset)
{
    EXPECT_EQ(frRegistryKey(), QStringLiteral("Software\\VornReport\\") + kTitle);
    EXPECT_TRUE(bool(frObjects().frDesignerClass));
    designerGlobals().clipboard.push_back(QByteArray("x"));
    fr().resetForTests();
    EXPECT_EQ(frRegistryKey(), QStringLiteral("Software\\VornReport"));
    EXPECT_FALSE(bool(frObjects().frDesignerClass));
    platform::SetApplicationTitle(QStringLiteral("Autre titre"));
    frRegisterDesigner();
    EXPECT_EQ(frRegistryKey(), QStringLiteral("Software\\VornReport\\Autre titre"));
    EXPECT_TRUE(designerGlobals().clipboard.empty());
    EXPECT_EQ(designerGlobals().lastUsed.FontName, QStringLiteral("Arial"));
    EXPECT_EQ(designerGlobals().lastUsed.FontSize, 10);
    EXPECT_EQ(designerGlobals().lastUsed.FillColor, platform::clNone);
    auto d = frObjects().frDesignerClass(1);
    EXPECT_NE(dynamic_cast<TfrDesignerForm *>(d.get()), nullptr);
    platform::SetApplicationTitle(kTitle);
}

} // namespace
} // namespace designer::test
