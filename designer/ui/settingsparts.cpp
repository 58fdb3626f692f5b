#include "designer/ui/settingsparts.h"

#include "designer/core/aligncommands.h"
#include "designer/core/designercore.h"
#include "designer/core/designersettings.h"
#include "designer/core/insertfields.h"
#include "designer/ui/designerform.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/registry/registry.h"
#include "platform/shell/shell.h"
#include "report/core/frlocale.h"
#include "report/objects/frglobals.h"
#include "report/ui/frctrls.h"
#include "report/ui/frdock.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QToolTip>
#include <exception>
#include <functional>

namespace designer
{

namespace settingsparts_detail
{

// The controls of the commands each restriction bit forbids.
struct RestrictionRow {
    int bit;
    std::vector<const char *> controls;
};

const std::vector<RestrictionRow> &restrictionTable()
{
    static const std::vector<RestrictionRow> rows = {
        {drNoObjectEditors, {"N6", "N7"}},
        {drNoAttributeChange,
         {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "ClB1", "ClB2", "ClB3",
          "StB1", "C2",   "C3",   "C4",   "FnB1", "FnB2", "FnB3", "AlB1", "AlB2",
          "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8", "HlB1"}},
        {drNoMove,
         {"Align1", "Align2", "Align3", "Align4", "Align5", "Align6", "Align7", "Align8", "Align9",
          "Align10", "ZB1", "ZB2", "N32", "N33"}},
        {drNoDeleteObject, {"CutB", "N11", "N2", "N5", "N27"}},
        {drNoInsertObject,
         {"PstB", "N13", "N3", "OB2", "OB3", "OB4", "OB5", "OB6", "Tool1", "ToolBtn1"}},
        {drNoDeletePage, {"PgB2", "N30", "N43"}},
        {drNoAddPage, {"PgB1", "N29", "N41", "PgB4", "N15", "N45"}},
        {drNoPageOptions, {"PgB3", "N25", "N44"}},
        {drNoNewReport, {"FileBtn1", "N23"}},
        {drNoOpenReport, {"FileBtn2", "N19"}},
        {drNoSaveReport, {"FileBtn3", "N20", "N17"}},
        {drNoPreview, {"FileBtn4", "N39"}},
        {drNoDictionary, {"N42"}},
        {drNoReportOptions, {"N8"}},
    };
    return rows;
}

StoredDesignerSettings currentSettings(TfrDesignerForm &form)
{
    StoredDesignerSettings s;
    s.options = form.state().Settings;
    s.BandTitles = report::frObjects().frBandTitles;
    s.LocalizedPropNames = report::frLocale().LocalizedPropNames;
    const RequestSlots &req = form.state().Requests;
    if (req.inspectorSettings) {
        const auto [split, visible] = req.inspectorSettings();
        s.SplitPos = split;
        s.InspectorVisible = visible;
    }
    if (req.dbFieldsVisible)
        s.DBFieldsVisible = req.dbFieldsVisible();
    return s;
}

// Through the window's setters, so that the grid buttons, the units text and
// the buttons' look follow.
void applySettings(TfrDesignerForm &form, const StoredDesignerSettings &s)
{
    DesignerSettings &o = form.state().Settings;
    form.SetGridSize(s.options.GridSize);
    form.SetGridAlign(s.options.GridAlign);
    form.SetGridShow(s.options.GridShow);
    form.SetUnits(s.options.Units);
    form.SetGrayButtons(s.options.GrayButtons);
    o.EditAfterInsert = s.options.EditAfterInsert;
    o.Selection = s.options.Selection;
    o.PagePosition = s.options.PagePosition;
    o.UnlimitedHeight = s.options.UnlimitedHeight;
    report::frObjects().frBandTitles = s.BandTitles;
    report::frLocale().LocalizedPropNames = s.LocalizedPropNames;
}

// Where a docked tool bar was saved, nothing when it never was.
std::optional<QPoint> storedToolBarPlace(const report::TfrToolBar *bar)
{
    platform::TRegistry reg;
    if (!reg.OpenKey(QLatin1Char('\\') + report::frRegistryKey() + QStringLiteral("\\ToolBar\\") +
                         bar->objectName(),
                     false))
        return std::nullopt;
    const auto read = [&](const char *name, int fallback) {
        try {
            return reg.ValueExists(QString::fromLatin1(name))
                       ? reg.ReadInteger(QString::fromLatin1(name))
                       : fallback;
        } catch (const std::exception &) {
            return fallback;
        }
    };
    return QPoint(read("XPosition", bar->x()), read("YPosition", bar->y()));
}

std::vector<report::TfrToolBar *> toolBars(TfrDesignerForm &form)
{
    return {form.Panel1, form.Panel2, form.Panel3, form.Panel4, form.Panel5, form.Panel6};
}

// The help tool: the next click on the window names a control, whose hint
// shows and whose topic goes to the help slot.
class HelpTool : public QObject
{
public:
    HelpTool(TfrDesignerForm *form, DesignerCore &core) : QObject(form), m_form(form), m_core(core)
    {
    }
    // Goes with the window, whose buttons are gone by then: only the mouse
    // and the cursor are given back.
    ~HelpTool() override
    {
        if (!m_active)
            return;
        qApp->removeEventFilter(this);
        if (QWidget::mouseGrabber() == m_form)
            m_form->releaseMouse();
        QApplication::restoreOverrideCursor();
    }

    void start()
    {
        if (m_active)
            return;
        m_active = true;
        if (report::TfrSpeedButton *b = m_form->button(QStringLiteral("HelpBtn")))
            b->SetDown(true);
        QApplication::setOverrideCursor(Qt::WhatsThisCursor);
        m_form->grabMouse();
        qApp->installEventFilter(this);
    }
    bool active() const { return m_active; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_active || event->type() != QEvent::MouseButtonPress)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != m_form)
            return false;
        const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        platform::guard([&] { finish(global); });
        return true;
    }

private:
    void end()
    {
        m_active = false;
        qApp->removeEventFilter(this);
        m_form->releaseMouse();
        QApplication::restoreOverrideCursor();
        if (report::TfrSpeedButton *b = m_form->button(QStringLiteral("HelpBtn")))
            b->SetDown(false);
    }

    void finish(const QPoint &global)
    {
        end();
        QWidget *w = report::frControlAtPos(m_form, m_form->mapFromGlobal(global));
        if (!w || w == m_form->button(QStringLiteral("HelpBtn")))
            return;
        if (!w->toolTip().isEmpty())
            QToolTip::showText(global, w->toolTip(), w);
        const int topic =
            frHelpTopic(w->property("Tag").toInt(), w->parentWidget() == m_form->Panel4);
        if (m_core.state.Requests.helpTopic)
            m_core.state.Requests.helpTopic(topic);
    }

    TfrDesignerForm *m_form;
    DesignerCore &m_core;
    bool m_active = false;
};

} // namespace settingsparts_detail

void frDisableRestrictedCommands(TfrDesignerForm &form)
{
    for (const auto &row : settingsparts_detail::restrictionTable()) {
        if (!DesignerState::restricted(row.bit))
            continue;
        for (const char *name : row.controls) {
            const QString n = QString::fromLatin1(name);
            if (report::TfrSpeedButton *b = form.button(n))
                b->setEnabled(false);
            else if (QAction *a = form.action(n))
                a->setEnabled(false);
            else if (auto *w = form.findChild<QWidget *>(n))
                w->setEnabled(false);
        }
    }
    // The tools of the registered object classes insert objects too.
    if (DesignerState::restricted(drNoInsertObject))
        for (report::TfrTBButton *b : form.Panel4->findChildren<report::TfrTBButton *>())
            if (b->property("Tag").toInt() >= kToolAddInBase)
                b->setEnabled(false);
}

void frLoadDesignerWindowSettings(TfrDesignerForm &form)
{
    using namespace settingsparts_detail;
    const StoredDesignerSettings s = frReadDesignerSettings();
    applySettings(form, s);
    const RequestSlots &req = form.state().Requests;
    if (req.inspectorRestore)
        req.inspectorRestore(s.SplitPos, s.InspectorVisible);
    if (form.DesignMode == 1 && s.DBFieldsVisible)
        form.core().ShowDBFieldsWindow();

    const QList<QRect> screens = platform::availableScreenAreas();
    std::vector<std::pair<report::TfrToolBar *, QPoint>> docked;
    for (report::TfrToolBar *bar : toolBars(form)) {
        // A bar never saved keeps the place the window gave it.
        const std::optional<QPoint> place = storedToolBarPlace(bar);
        if (!place)
            continue;
        report::frRestoreToolbarPosition(bar);
        if (bar->IsFloat()) {
            // A floating bar stored off every screen comes back onto one.
            const QRect frame = bar->FloatWindow()->geometry();
            bar->FloatWindow()->move(report::frOnScreen(frame, screens).topLeft());
        } else {
            docked.emplace_back(bar, *place);
        }
    }
    // Each bar hides while it is restored, and its dock closes the row it
    // leaves: the others are put back at their places once all are there.
    for (const auto &[bar, place] : docked)
        if (bar->IsVisible())
            bar->move(place);
    // The extra tools bar holds at least one tool's room, and is hidden
    // when it holds no tool.
    report::TfrToolBar *extra = form.Panel6;
    extra->resize(std::max(extra->width(), 26), std::max(extra->height(), 26));
    if (extra->findChildren<report::TfrTBButton *>().isEmpty())
        extra->SetIsVisible(false);
    for (report::TfrDock *d : {form.frDock1, form.frDock2, form.frDock3, form.frDock4})
        d->AdjustBounds();
    report::frRestoreFormPosition(&form);
}

void frSaveDesignerWindowSettings(TfrDesignerForm &form)
{
    using namespace settingsparts_detail;
    const RequestSlots &req = form.state().Requests;
    const bool design = form.DesignMode == 1;
    // A registry the disk does not take says so once; the bars are hidden
    // and every placement tried all the same, and the first error told at
    // the end.
    std::exception_ptr failed;
    const auto attempt = [&failed](const std::function<void()> &write) {
        try {
            write();
        } catch (...) {
            if (!failed)
                failed = std::current_exception();
        }
    };
    attempt([&] {
        frWriteDesignerSettings(currentSettings(form), bool(req.inspectorSettings),
                                design && bool(req.dbFieldsVisible));
    });
    // All are saved before any hides: a hidden bar's row closes up.
    const std::vector<report::TfrToolBar *> bars = toolBars(form);
    for (report::TfrToolBar *bar : bars) {
        // The extra tools exist only while designing a report.
        if (bar == form.Panel6 && !design)
            continue;
        attempt([bar] { report::frSaveToolbarPosition(bar); });
    }
    for (report::TfrToolBar *bar : bars)
        bar->SetIsVisible(false);
    attempt([&form] { report::frSaveFormPosition(&form); });
    if (failed)
        std::rethrow_exception(failed);
}

void installSettingsParts(DesignerCore &core, QObject *window)
{
    using namespace settingsparts_detail;
    auto *form = qobject_cast<TfrDesignerForm *>(window);
    if (!form)
        return;
    RequestSlots &req = core.state.Requests;
    auto &commands = req.commands;

    for (int n = 1; n <= 10; ++n)
        commands[QStringLiteral("Align%1Click").arg(n)] = [&core, n] {
            AlignCommands(core).run(n);
        };

    commands[QStringLiteral("InsertFieldsClick")] = [&core] {
        DesignerState &st = core.state;
        if (st.DesignMode() != 1 || !st.page() || st.isDialogPage() ||
            DesignerState::restricted(drNoInsertObject) || !st.Requests.insertFields)
            return;
        const std::optional<InsertFieldsChoice> choice = st.Requests.insertFields();
        if (!choice)
            return;
        platform::guard([&] { InsertFieldsLayout(core).insert(*choice); });
    };

    commands[QStringLiteral("N14Click")] = [&core, form] {
        if (!core.state.Requests.designerOptions)
            return;
        const StoredDesignerSettings current = currentSettings(*form);
        const std::optional<DesignerOptionsChoice> answer =
            core.state.Requests.designerOptions(frDesignerOptionsOf(current));
        if (!answer)
            return;
        applySettings(*form, frApplyDesignerOptions(current, *answer));
        form->SetCurPage(core.state.CurPage);
    };

    // Help: the user's guide beside the program; the help tool's topics
    // select nothing in it, so by default a topic only shows the hint.
    req.help = [] {
        const QString guide = frHelpDocument(platform::ApplicationHelpFile());
        const int result = platform::OpenDocument(guide);
        if (result <= 32)
            platform::MessageDlg(platform::DocumentNotOpened(guide, result), platform::mtWarning,
                                 platform::mbYes);
    };
    commands[QStringLiteral("N22Click")] = [&req] {
        if (req.help)
            req.help();
    };
    if (!req.helpTopic)
        req.helpTopic = [](int) {};
    auto *helpTool = new HelpTool(form, core);
    // The help button stays down while the tool waits for its click.
    if (report::TfrSpeedButton *b = form->button(QStringLiteral("HelpBtn"))) {
        b->SetGroupIndex(40);
        b->SetAllowAllUp(true);
    }
    commands[QStringLiteral("HelpBtnClick")] = [helpTool] { helpTool->start(); };

    // The inspector and the DB fields window share the column beside the
    // page area when they lie one above the other.
    auto stacking = std::make_shared<bool>(false);
    req.toolWindowChanged = [&req, form, stacking] {
        if (*stacking || !form->isVisible() || !req.inspectorFrame || !req.dbFieldsFrame ||
            !req.setInspectorFrame || !req.setDbFieldsFrame)
            return;
        const int client = req.inspectorClientHeight ? req.inspectorClientHeight() : 20;
        const int top = form->ScrollBox1->mapToGlobal(QPoint(0, 0)).y();
        const std::optional<ToolWindowFrames> frames = frStackToolWindows(
            req.inspectorFrame(), client, req.dbFieldsFrame(), top, form->ScrollBox1->height() - 2);
        if (!frames)
            return;
        *stacking = true;
        req.setDbFieldsFrame(frames->dbFields);
        req.setInspectorFrame(frames->inspector);
        *stacking = false;
    };
}

} // namespace designer
