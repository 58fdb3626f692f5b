// The designer window with its kept settings, the restriction word over its
// commands, the tool bars menu, the units panel, help, the options dialog,
// the insert-fields tool and the stacking of its tool windows.
#include "tests/designer/test_dialog_control.h"
#include "tests/designer/window_fixture.h"
#include "tests/report/gui/io_support.h"

#include "designer/core/attributecommands.h"
#include "designer/core/designerglobals.h"
#include "designer/core/designersettings.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/objects/frbandview.h"
#include "report/objects/frcheckboxview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/ui/frdock.h"
#include "report/ui/frpreview.h"
#include "tests/support/gui/fakes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <vector>

#include <sys/resource.h>

namespace designer::test
{
namespace
{

using namespace report;

// Calls of the dialogs the restriction test scripts.
int dialogCalls = 0;

class SettingsWindowTest : public DesignerWindowFixture
{
protected:
    SettingsWindowTest() : DesignerWindowFixture(QStringLiteral("Vorn_Lud")) {}
    void SetUp() override
    {
        DesignerWindowFixture::SetUp();
        clients.addField(QStringLiteral("Nom"), ftString);
    }
    void store(const QString &key, const QString &name, int value)
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteInteger(name, value);
    }
    int stored(const QString &key, const QString &name)
    {
        platform::TRegistry reg;
        if (!reg.OpenKey(key, false) || !reg.ValueExists(name))
            return -99999;
        return reg.ReadInteger(name);
    }
    QString toolBarKey(const char *bar) const
    {
        return QLatin1Char('\\') + frRegistryKey() + QStringLiteral("\\ToolBar\\") +
               QString::fromLatin1(bar);
    }
    static void mousePress(QWidget *w, QPoint p, QEvent::Type type = QEvent::MouseButtonPress)
    {
        QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(w, &e);
    }
    // Every command and dialog filled with something that does nothing, so
    // that only the mode, the selection and the restriction word decide.
    // The window's own commands run as they are; the dialogs they open
    // answer at once and count their calls.
    static void scriptDialogs(DesignerCore &core)
    {
        RequestSlots &req = core.state.Requests;
        req.pageOptions = [] {
            ++dialogCalls;
            return false;
        };
        req.templates = [] {
            ++dialogCalls;
            return std::optional<QString>();
        };
        req.dictionary = [] { ++dialogCalls; };
        req.reportOptions = [](const ReportOptionsChoice &) {
            ++dialogCalls;
            return std::optional<ReportOptionsChoice>();
        };
        req.highlight = [](const HighlightChoice &) {
            ++dialogCalls;
            return std::optional<HighlightChoice>();
        };
        req.bandType = [](bool) { return std::optional<int>(); };
        req.insertFields = [] { return std::optional<InsertFieldsChoice>(); };
        req.newTemplate = [] { return std::optional<NewTemplateChoice>(); };
    }

    FrMemoryDataSet clients;
};

TEST_F(SettingsWindowTest, SettingsAreLoadedAtShowAndSavedWhenTheWindowGoes)
{
    std::map<QString, QRect> places;
    const QString key = designerSettingsKey();
    store(key, QStringLiteral("GridSize"), 8);
    store(key, QStringLiteral("GridShow"), 0);
    store(key, QStringLiteral("Units"), 1);
    store(key, QStringLiteral("GrayButtons"), 1);
    store(key, QStringLiteral("BandTitles"), 0);
    store(key, QStringLiteral("LocalizedPropNames"), 1);
    store(key, QStringLiteral("PagePosition"), 3);
    design([&](TfrDesignerForm &f) {
        const DesignerSettings &s = f.state().Settings;
        EXPECT_EQ(s.GridSize, 8);
        EXPECT_FALSE(s.GridShow);
        EXPECT_FALSE(f.button(QStringLiteral("GB1"))->Down());
        EXPECT_TRUE(f.button(QStringLiteral("GB2"))->Down());
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("MM"));
        EXPECT_TRUE(f.button(QStringLiteral("FileBtn1"))->GrayedInactive());
        EXPECT_EQ(s.PagePosition, 3);
        EXPECT_FALSE(frObjects().frBandTitles);
        EXPECT_TRUE(frLocale().LocalizedPropNames);
        f.SetUnits(2);
        f.SetGridAlign(false);
        f.move(40, 30);
        // The frame bar goes to a row of its own.
        f.Panel1->DockTo(f.frDock1, 0, f.frDock1->height() - 1);
        f.frDock1->AdjustBounds();
        for (TfrToolBar *bar : {f.Panel1, f.Panel2, f.Panel3, f.Panel4, f.Panel5, f.Panel6})
            places[bar->objectName()] = bar->geometry();
    });
    EXPECT_EQ(stored(key, QStringLiteral("Units")), 2);
    EXPECT_EQ(stored(key, QStringLiteral("GridAlign")), 0);
    EXPECT_EQ(stored(key, QStringLiteral("GridSize")), 8);
    EXPECT_EQ(stored(key, QStringLiteral("GrayButtons")), 1);
    for (const char *bar : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "Panel6"})
        EXPECT_EQ(stored(toolBarKey(bar), QStringLiteral("isVisible")), 1) << bar;
    EXPECT_NE(stored(key, QStringLiteral("XPosition")), -99999) << "the window's placement";

    // The next window finds every bar where this one left it, none over
    // another.
    design([&](TfrDesignerForm &f) {
        const std::vector<TfrToolBar *> bars = {f.Panel1, f.Panel2, f.Panel3,
                                                f.Panel4, f.Panel5, f.Panel6};
        for (TfrToolBar *bar : bars) {
            EXPECT_EQ(bar->geometry(), places[bar->objectName()])
                << bar->objectName().toStdString();
            for (TfrToolBar *other : bars) {
                if (other != bar && other->parentWidget() == bar->parentWidget()) {
                    EXPECT_FALSE(bar->geometry().intersects(other->geometry()))
                        << bar->objectName().toStdString() << other->objectName().toStdString();
                }
            }
        }
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pouces"));
    });

    // The preview greys its buttons as the designer saved.
    memo(QStringLiteral("Titre"), 8, 16, 96, 18);
    ASSERT_TRUE(rep->PrepareReport());
    TfrPreviewForm preview;
    preview.Connect(*rep);
    preview.SetButtonsUp();
    EXPECT_TRUE(preview.Button(QStringLiteral("SaveBtn"))->GrayedInactive());
}

// A registry file the disk no longer takes (larger than the process may
// write, as a full disk refuses it): closing the designer says so once,
// naming the file and the reason; the file stays and the window still goes.
TEST_F(SettingsWindowTest, SettingsTheDiskDoesNotTakeAreToldOnce)
{
    const QString key = designerSettingsKey();
    store(key, QStringLiteral("Units"), 1);
    const QString file = platform::TRegistry::fileName();
    const auto bytes = [&file] { return report::test::readFileBytes(file); };
    const QByteArray before = bytes();
    ASSERT_GT(before.size(), 64);
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    struct rlimit unlimited;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    fakes->dialogs.messages.clear();
    design([&](TfrDesignerForm &f) {
        f.SetUnits(2);
        const struct rlimit limit = {64, unlimited.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    ::sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ(fakes->dialogs.texts().join(u'|').toStdString(),
              QStringLiteral("Impossible d'écrire la valeur 'GridShow' dans le registre\n\n"
                             "Erreur d'écriture dans le fichier %1 : taille de fichier maximale "
                             "dépassée.")
                  .arg(file)
                  .toStdString());
    EXPECT_EQ(bytes(), before);
    // The next window, on a disk that takes them, writes its settings.
    design([](TfrDesignerForm &f) { f.SetUnits(2); });
    EXPECT_EQ(stored(key, QStringLiteral("Units")), 2);
}

TEST_F(SettingsWindowTest, ThePreparedPageEditorKeepsTheExtraToolsPlacement)
{
    memo(QStringLiteral("Texte"), 20, 40, 200, 20);
    ASSERT_TRUE(rep->PrepareReport());
    ASSERT_TRUE(editPrepared([&](TfrDesignerForm &f) {
        EXPECT_EQ(f.DesignMode, 0);
        EXPECT_FALSE(f.Panel6->IsVisible()) << "no tool: the bar is hidden";
    }));
    EXPECT_EQ(stored(toolBarKey("Panel1"), QStringLiteral("isVisible")), 1);
    EXPECT_EQ(stored(toolBarKey("Panel6"), QStringLiteral("isVisible")), -99999);
    EXPECT_FALSE(platform::TRegistry().KeyExists(dbFieldsSettingsKey()));
}

TEST_F(SettingsWindowTest, PlacementsStoredOffTheScreenComeBackOntoIt)
{
    const QString bar = toolBarKey("Panel5");
    store(bar, QStringLiteral("isFloat"), 1);
    store(bar, QStringLiteral("isVisible"), 1);
    store(bar, QStringLiteral("XPosition"), -30000);
    store(bar, QStringLiteral("YPosition"), 40000);
    store(designerSettingsKey(), QStringLiteral("XPosition"), 50000);
    store(designerSettingsKey(), QStringLiteral("YPosition"), -9000);
    design([&](TfrDesignerForm &f) {
        const QList<QRect> screens = platform::availableScreenAreas();
        auto onScreen = [&](const QRect &r) {
            return std::any_of(screens.begin(), screens.end(),
                               [&](const QRect &s) { return s.intersects(r); });
        };
        ASSERT_TRUE(f.Panel5->IsFloat());
        EXPECT_TRUE(onScreen(f.Panel5->FloatWindow()->geometry()));
        EXPECT_TRUE(onScreen(f.geometry()));
    });
}

TEST_F(SettingsWindowTest, ToolWindowsGetTheirSettingsAndTheirMenuItems)
{
    store(inspectorSettingsKey(), QStringLiteral("SplitPos"), 5);
    store(inspectorSettingsKey(), QStringLiteral("isVisible"), 0);
    std::optional<std::pair<int, bool>> restored;
    bool inspectorVisible = false, fieldsVisible = false;
    int inspectorShown = 0;
    frAddDesignerExtension([&](DesignerCore &core, QObject *) {
        RequestSlots &req = core.state.Requests;
        req.inspectorRestore = [&](int split, bool visible) {
            restored = std::make_pair(split, visible);
            inspectorVisible = visible;
        };
        req.inspectorSettings = [&] { return std::make_pair(130, inspectorVisible); };
        req.inspectorShow = [&] {
            ++inspectorShown;
            inspectorVisible = true;
        };
        req.dbFieldsShow = [&] { fieldsVisible = true; };
        req.dbFieldsHide = [&] { fieldsVisible = false; };
        req.dbFieldsVisible = [&] { return fieldsVisible; };
    });
    design([&](TfrDesignerForm &f) {
        ASSERT_TRUE(restored);
        EXPECT_EQ(restored->first, 20) << "a split of 5 shows as 20";
        EXPECT_FALSE(restored->second);
        EXPECT_TRUE(fieldsVisible) << "shown by default when designing a report";

        // The tool bars menu ticks each item as its window or bar shows.
        QMenu *bars = f.findChild<QMenu *>(QStringLiteral("N37"));
        ASSERT_NE(bars, nullptr);
        auto ticked = [&](const char *item) {
            emit bars->aboutToShow();
            return !f.action(QString::fromLatin1(item))->icon().isNull();
        };
        const bool checkGlyph = ticked("Pan1");
        EXPECT_FALSE(ticked("Pan6"));
        EXPECT_EQ(ticked("Pan8"), checkGlyph);

        // Each item shows or hides its window.
        f.action(QStringLiteral("Pan6"))->trigger();
        EXPECT_EQ(inspectorShown, 1);
        EXPECT_EQ(ticked("Pan6"), checkGlyph);
        f.action(QStringLiteral("Pan6"))->trigger();
        EXPECT_FALSE(inspectorVisible);
        f.action(QStringLiteral("Pan8"))->trigger();
        EXPECT_FALSE(fieldsVisible);
        EXPECT_FALSE(ticked("Pan8"));
        f.action(QStringLiteral("Pan8"))->trigger();
        EXPECT_TRUE(fieldsVisible);
        const bool frameBar = f.Panel1->IsVisible();
        f.action(QStringLiteral("Pan1"))->trigger();
        EXPECT_NE(f.Panel1->IsVisible(), frameBar);
        f.action(QStringLiteral("Pan1"))->trigger();
        fieldsVisible = false;
        inspectorVisible = true;
    });
    EXPECT_EQ(stored(inspectorSettingsKey(), QStringLiteral("SplitPos")), 130);
    EXPECT_EQ(stored(inspectorSettingsKey(), QStringLiteral("isVisible")), 1);
    EXPECT_EQ(stored(dbFieldsSettingsKey(), QStringLiteral("isVisible")), 0);
}

TEST_F(SettingsWindowTest, ADoubleClickOnTheFirstStatusPanelCyclesTheUnits)
{
    design([&](TfrDesignerForm &f) {
        const QStringList expected = {QStringLiteral("MM"), QStringLiteral("Pouces"),
                                      QStringLiteral("Pixels"), QStringLiteral("MM")};
        for (const QString &text : expected) {
            mousePress(f.StatusBar1, QPoint(30, 10), QEvent::MouseButtonDblClick);
            EXPECT_EQ(f.StatusBar1->panelText(0), text);
        }
        // Beyond the first panel nothing changes.
        mousePress(f.StatusBar1, QPoint(120, 10), QEvent::MouseButtonDblClick);
        EXPECT_EQ(f.state().Settings.Units, 1);
    });
}

// F1 and "Sommaire de l'aide…" open the user's guide beside the program; a
// guide that is missing, or that no program could open, is named in a
// warning.
TEST_F(SettingsWindowTest, F1OpensTheUsersGuideBesideTheProgramOrSaysWhyNot)
{
    design([&](TfrDesignerForm &f) {
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        const QString guide =
            QCoreApplication::applicationDirPath() + QStringLiteral("/VRuser.pdf");
        QAction *contents = f.findChild<QAction *>(QStringLiteral("N22"));
        ASSERT_NE(contents, nullptr);
        struct Case {
            const char *command;
            int result;
            QString warning;
        } cases[] = {
            {"F1", platform::SHELL_OK, QString()},
            {"F1", platform::SE_ERR_FNF,
             QStringLiteral("Le document d'aide\r\r%1\r\rest introuvable").arg(guide)},
            {"Sommaire de l'aide", platform::SE_ERR_NOASSOC,
             QStringLiteral("Aucun logiciel n'a pu ouvrir le document d'aide\r\r%1\r\rLe lecteur "
                            "de documents PDF par défaut n'est pas installé correctement")
                 .arg(guide)},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE(c.command);
            fakes->shell.calls.clear();
            fakes->dialogs.messages.clear();
            fakes->shell.defaultResult = c.result;
            if (QLatin1String(c.command) == QLatin1String("F1"))
                QTest::keyClick(&f, Qt::Key_F1);
            else
                contents->trigger();
            ASSERT_EQ(fakes->shell.calls.size(), 1u);
            EXPECT_EQ(fakes->shell.calls[0].verb, QStringLiteral("open"));
            EXPECT_EQ(fakes->shell.calls[0].file, guide);
            EXPECT_EQ(fakes->dialogs.texts(),
                      c.warning.isEmpty() ? QStringList() : QStringList{c.warning});
        }
    });
}

TEST_F(SettingsWindowTest, TheHelpToolShowsTheHintAndAsksForTheControlsTopic)
{
    std::vector<int> topics;
    frAddDesignerExtension([&](DesignerCore &core, QObject *) {
        core.state.Requests.helpTopic = [&](int topic) { topics.push_back(topic); };
    });
    design([&](TfrDesignerForm &f) {
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        struct Case {
            const char *control;
            int topic;
        };
        const Case cases[] = {{"FrB1", 401}, {"OB3", 432}, {"Align1", 460}};
        for (const Case &c : cases) {
            SCOPED_TRACE(c.control);
            QTest::keyClick(&f, Qt::Key_F1, Qt::ShiftModifier);
            EXPECT_TRUE(f.button(QStringLiteral("HelpBtn"))->Down());
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
            // The mouse is the window's: the click comes to it.
            QWidget *target = f.button(QString::fromLatin1(c.control));
            ASSERT_TRUE(target->isVisible());
            mousePress(&f, target->mapTo(&f, target->rect().center()));
            EXPECT_FALSE(f.button(QStringLiteral("HelpBtn"))->Down());
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
            ASSERT_FALSE(topics.empty());
            EXPECT_EQ(topics.back(), c.topic);
            EXPECT_EQ(QToolTip::text(), target->toolTip());
        }
        EXPECT_EQ(topics.size(), 3u);
        // The button itself asks for nothing.
        f.button(QStringLiteral("HelpBtn"))->OnClick();
        QWidget *help = f.button(QStringLiteral("HelpBtn"));
        mousePress(&f, help->mapTo(&f, help->rect().center()));
        EXPECT_EQ(topics.size(), 3u);
        QToolTip::hideText();
        // Closed while waiting for its click: the cursor comes back.
        f.button(QStringLiteral("HelpBtn"))->OnClick();
    });
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SettingsWindowTest, DesignerOptionsAreAppliedOnOk)
{
    std::optional<DesignerOptionsChoice> seen;
    std::optional<DesignerOptionsChoice> answer;
    frAddDesignerExtension([&](DesignerCore &core, QObject *) {
        core.state.Requests.designerOptions = [&](const DesignerOptionsChoice &initial) {
            seen = initial;
            return answer;
        };
    });
    design([&](TfrDesignerForm &f) {
        EXPECT_TRUE(f.action(QStringLiteral("N14"))->isEnabled());
        f.action(QStringLiteral("N14"))->trigger();
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen->gridSize, 4);
        EXPECT_TRUE(seen->coloredButtons);
        EXPECT_EQ(seen->pagePosition, 5);
        EXPECT_EQ(f.state().Settings.GridSize, 4) << "cancelled: nothing changes";

        DesignerOptionsChoice c;
        c.showGrid = false;
        c.gridSize = 18;
        c.units = 2;
        c.coloredButtons = false;
        c.pagePosition = 3;
        c.bandTitles = false;
        c.showContents = false;
        c.editAfterInsert = false;
        answer = c;
        f.action(QStringLiteral("N14"))->trigger();
        const DesignerSettings &s = f.state().Settings;
        EXPECT_EQ(s.GridSize, 18);
        EXPECT_EQ(f.StatusBar1->panelText(0), QStringLiteral("Pouces"));
        EXPECT_FALSE(f.button(QStringLiteral("GB1"))->Down());
        EXPECT_TRUE(f.button(QStringLiteral("ZB1"))->GrayedInactive());
        EXPECT_EQ(std::tuple(s.PagePosition, s.Selection), std::tuple(3, 0));
        EXPECT_FALSE(s.EditAfterInsert);
        EXPECT_FALSE(frObjects().frBandTitles);
    });
}

TEST_F(SettingsWindowTest, TheInsertFieldsToolInsertsOrShowsTheRecordSourcesError)
{
    InsertFieldsChoice choice;
    choice.dataSet = &clients;
    choice.dataSetName = QStringLiteral("Clients");
    choice.fields = {QStringLiteral("Nom")};
    choice.headers = false;
    choice.bands = true;
    frAddDesignerExtension([&](DesignerCore &core, QObject *) {
        core.state.Requests.insertFields = [&] {
            return std::optional<InsertFieldsChoice>(choice);
        };
    });
    QObject form;
    form.setObjectName(QStringLiteral("Fiche"));
    auto *broken = new TfrDBDataSet(&form);
    broken->setObjectName(QStringLiteral("Vide"));
    fr().registerForm(&form);
    design([&](TfrDesignerForm &f) {
        QAction *tool = f.action(QStringLiteral("Tool1"));
        ASSERT_NE(tool, nullptr);
        EXPECT_TRUE(tool->isEnabled());
        EXPECT_TRUE(f.button(QStringLiteral("ToolBtn1"))->isEnabled());
        tool->trigger();
        EXPECT_EQ(page->ObjectCount(), 0);
        EXPECT_EQ(fakes->dialogs.count(QStringLiteral("Unable to open dataset Vide.")), 1)
            << fakes->dialogs.texts().join(u'|').toStdString();
        broken->setDataSet(&clients);
        f.button(QStringLiteral("ToolBtn1"))->OnClick();
        ASSERT_EQ(page->ObjectCount(), 2);
        EXPECT_EQ(page->Object(1)->Memo, QStringList{QStringLiteral("[Clients.\"Nom\"]")});
        EXPECT_EQ(page->Object(0)->FormatStr, QStringLiteral("Fiche.Vide"));
        f.UndoBClick();
        EXPECT_EQ(page->ObjectCount(), 0);
    });
    fr().unregisterComponent(&form);
}

TEST_F(SettingsWindowTest, ToolWindowsAreStackedBesideThePageArea)
{
    QRect inspector(2000, 100, 200, 300), fields(2050, 600, 200, 150);
    frAddDesignerExtension([&](DesignerCore &core, QObject *) {
        RequestSlots &req = core.state.Requests;
        req.inspectorFrame = [&] { return inspector; };
        req.setInspectorFrame = [&](const QRect &r) { inspector = r; };
        req.inspectorClientHeight = [&] { return inspector.height() - 20; };
        req.dbFieldsFrame = [&] { return fields; };
        req.setDbFieldsFrame = [&](const QRect &r) { fields = r; };
    });
    design([&](TfrDesignerForm &f) {
        ASSERT_TRUE(f.state().Requests.toolWindowChanged);
        f.state().Requests.toolWindowChanged();
        const int top = f.ScrollBox1->mapToGlobal(QPoint(0, 0)).y();
        const int height = f.ScrollBox1->height() - 2;
        EXPECT_EQ(fields, QRect(2050, top + height - 150, 200, 150));
        EXPECT_EQ(inspector, QRect(2000, top, 200, height - 150));
    });
}

// The tool windows shown with the designer reach the screen after it, at
// every opening: a window manager that meets a tool window before the window
// it belongs to stacks it as a stranger, below the designer, out of reach.
TEST_F(SettingsWindowTest, ToolWindowsReachTheScreenAfterTheDesigner)
{
    // The windows handed to the window system, in order.
    struct ShownWindows : QObject {
        std::vector<QWindow *> order;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && watched->isWindowType())
                order.push_back(static_cast<QWindow *>(watched));
            return false;
        }
    } shown;
    const auto firstShown = [&](QWidget *w) {
        const auto it = std::find(shown.order.begin(), shown.order.end(), w->windowHandle());
        return it == shown.order.end() ? -1 : int(it - shown.order.begin());
    };
    const auto lastShown = [&](QWidget *w) {
        const auto it = std::find(shown.order.rbegin(), shown.order.rend(), w->windowHandle());
        return it == shown.order.rend() ? -1 : int(shown.order.rend() - it) - 1;
    };
    qApp->installEventFilter(&shown);
    for (int opening = 1; opening <= 2; ++opening) {
        shown.order.clear();
        design([&](TfrDesignerForm &f) {
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
            ASSERT_GE(firstShown(&f), 0);
            for (const char *name : {"frInspForm", "InsFieldsForm"}) {
                auto *tool = f.findChild<QWidget *>(QLatin1String(name));
                ASSERT_NE(tool, nullptr) << name;
                EXPECT_TRUE(tool->isVisible()) << name;
                EXPECT_GT(lastShown(tool), firstShown(&f)) << name << ", opening " << opening;
            }
        });
    }
    qApp->removeEventFilter(&shown);
}

// Each bit of the restriction word: the controls of its commands are
// disabled when the window shows, its commands refuse when run, and both
// work again with the bit cleared. One row per bit; `run` (when given) runs
// the command on two selected memos and tells whether it changed anything.
struct RestrictionRow {
    int bit;
    std::vector<const char *> controls;
    std::function<bool(TfrDesignerForm &, TfrMemoView *, TfrMemoView *)> run;
};

vorn_test::ScriptedDialogs &scripted()
{
    return dynamic_cast<vorn_test::ScriptedDialogs &>(platform::dialogs());
}

std::vector<RestrictionRow> restrictionRows()
{
    auto command = [](const char *name) {
        return [name](TfrDesignerForm &f) {
            f.state().Requests.commands[QString::fromLatin1(name)]();
        };
    };
    // The command opened its dialog (or did its work up to it).
    auto dialogAsked = [command](const char *name) {
        return [command, name](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
            const int before = dialogCalls;
            command(name)(f);
            return dialogCalls != before;
        };
    };
    return {
        {drNoObjectEditors,
         {"N6", "N7"},
         [](TfrDesignerForm &f, TfrMemoView *a, TfrMemoView *) {
             int opened = 0;
             frObjects().frPropEditors.Register(FrEditorKind::Memo, [&] { ++opened; });
             f.state().Requests.objectEditor(a, false);
             return opened > 0;
         }},
        {drNoAttributeChange,
         {"FrB1", "FrB5", "ClB1", "StB1", "C2", "C3", "C4", "FnB1", "AlB1", "HlB1"},
         [](TfrDesignerForm &f, TfrMemoView *a, TfrMemoView *) {
             const int style = a->Font.Style;
             f.button(QStringLiteral("FnB1"))->SetDown(!f.button(QStringLiteral("FnB1"))->Down());
             f.state().Requests.attributeCommand(atBold);
             return a->Font.Style != style;
         }},
        {drNoResize,
         {},
         [](TfrDesignerForm &f, TfrMemoView *a, TfrMemoView *) {
             const int dx = a->dx;
             f.FormKeyDown(Qt::Key_Right, Qt::ShiftModifier);
             return a->dx != dx;
         }},
        {drNoMove,
         {"Align1", "Align4", "Align10", "ZB1", "ZB2", "N32", "N33"},
         [command](TfrDesignerForm &f, TfrMemoView *a, TfrMemoView *b) {
             command("Align1Click")(f);
             return a->x == b->x;
         }},
        {drNoDeleteObject,
         {"CutB", "N11", "N2", "N5", "N27"},
         [](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
             const int before = f.state().page()->ObjectCount();
             f.N5Click();
             return f.state().page()->ObjectCount() != before;
         }},
        {drNoInsertObject,
         {"PstB", "N13", "N3", "OB2", "OB3", "OB4", "OB5", "OB6", "AddIn0", "Tool1", "ToolBtn1"},
         [](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
             const int before = f.state().page()->ObjectCount();
             f.PstBClick();
             return f.state().page()->ObjectCount() != before;
         }},
        {drNoDeletePage,
         {"PgB2", "N30", "N43"},
         [command](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
             // A second page, shown and deleted: the first one stays.
             f.state().Report->Pages().Add();
             f.SetCurPage(1);
             const int before = f.state().Report->Pages().Count();
             scripted().answers.push_back(platform::mrYes);
             command("PgB2Click")(f);
             scripted().answers.clear();
             return f.state().Report->Pages().Count() != before;
         }},
        {drNoAddPage, {"PgB1", "N29", "N41", "PgB4", "N15", "N45"}, dialogAsked("PgB1Click")},
        {drNoPageOptions, {"PgB3", "N25", "N44"}, dialogAsked("PgB3Click")},
        {drNoNewReport, {"FileBtn1", "N23"}, dialogAsked("N23Click")},
        {drNoOpenReport,
         {"FileBtn2", "N19"},
         [command](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
             const size_t before = scripted().openRequests.size();
             scripted().answers.push_back(platform::mrNo); // the save question
             command("FileBtn2Click")(f);
             scripted().answers.clear();
             return scripted().openRequests.size() != before;
         }},
        {drNoSaveReport,
         {"FileBtn3", "N20", "N17"},
         [command](TfrDesignerForm &f, TfrMemoView *, TfrMemoView *) {
             const size_t before = scripted().saveRequests.size();
             command("FileBtn3Click")(f);
             return scripted().saveRequests.size() != before;
         }},
        {drNoPreview, {"FileBtn4", "N39"}, nullptr},
        {drNoDictionary, {"N42"}, dialogAsked("N42Click")},
        {drNoReportOptions, {"N8"}, dialogAsked("N8Click")},
    };
}

TEST_F(SettingsWindowTest, EachRestrictionBitDisablesAndRefusesItsCommands)
{
    frRegisterCheckBoxView();
    frAddDesignerExtension([](DesignerCore &core, QObject *) { scriptDialogs(core); });
    const std::vector<RestrictionRow> rows = restrictionRows();
    ASSERT_EQ(rows.size(), 15u);
    for (const RestrictionRow &row : rows) {
        for (const bool restricted : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << "bit " << row.bit << (restricted ? " set" : " clear"));
            page->Clear();
            TfrMemoView *a = memo(QStringLiteral("Memo1"), 10, 20, 40, 18);
            TfrMemoView *b = memo(QStringLiteral("Memo2"), 100, 60, 40, 18);
            designerGlobals().clipboard.clear();
            frObjects().frDesignerRestrictions = restricted ? quint16(1u << row.bit) : 0;
            design([&](TfrDesignerForm &f) {
                // One memo selected, the clipboard filled, a change to save.
                f.state().setLastSelected(a);
                a->Selected = true;
                f.CopyBClick();
                f.SetModified(true);
                f.selectionChanged();
                for (const char *name : row.controls) {
                    const QString n = QString::fromLatin1(name);
                    QObject *control = f.button(n);
                    if (!control)
                        control = f.action(n);
                    if (!control)
                        control = f.findChild<QWidget *>(n);
                    ASSERT_NE(control, nullptr) << name;
                    EXPECT_EQ(control->property("enabled").toBool(), !restricted) << name;
                }
                if (row.run) {
                    b->Selected = true;
                    f.selectionChanged();
                    EXPECT_EQ(row.run(f, a, b), !restricted);
                }
            });
            frObjects().frDesignerRestrictions = 0;
        }
    }
}

} // namespace
} // namespace designer::test
