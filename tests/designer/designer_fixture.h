#pragma once
// Shared set-up of the designer's core tests: a reset library with the
// program's texts and a fixed-advance measurer, a report with one page, a
// counting designer on that page, a fake window that records what the rules
// ask of it, and the designer core over both.
#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"

#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frlineview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"
#include "tests/support/gui/fakes.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace designer::test
{

// The window as the rules see it: a scroll box of a fixed size, a tool that
// the test presses, and counters of what was asked.
class FakeView : public DesignerView
{
public:
    void surfaceChanged(const QRegion &region) override
    {
        changed += region;
        ++surfaceChanges;
    }
    void setSurfaceCursor(SurfaceCursor c) override { cursor = c; }
    SurfaceCursor surfaceCursor() const override { return cursor; }
    QRect visibleRect() const override { return visible; }
    void scrollTo(int x, int y) override
    {
        visible.moveTopLeft(QPoint(std::max(0, x), std::max(0, y)));
        ++scrolls;
    }
    int activeTool() const override { return tool; }
    void pressTool(int tag) override
    {
        tool = tag;
        pressed.push_back(tag);
    }
    void selectionChanged() override { ++selectionChanges; }
    void positionChanged() override { ++positionChanges; }
    void pageTabsChanged() override { ++tabChanges; }
    void showPage(int n) override { shownPages.push_back(n); }
    void undoStateChanged() override { ++undoStateChanges; }
    void openObjectPopup(const QPoint &p) override { popups.push_back(p); }
    bool fontSizeBoxHasFocus() const override { return fontSizeFocus; }
    bool lineWidthBoxHasFocus() const override { return lineWidthFocus; }
    bool fontNameBoxHasFocus() const override { return fontNameFocus; }
    void toggleStyleButton(int which) override { toggled.push_back(which); }
    void setLineWidthText(const QString &text) override { lineWidthText = text; }

    SurfaceCursor cursor = SurfaceCursor::Default;
    QRect visible{0, 0, 800, 600};
    int tool = kToolSelect;
    std::vector<int> pressed;
    std::vector<int> shownPages;
    std::vector<QPoint> popups;
    std::vector<int> toggled;
    QString lineWidthText;
    QRegion changed;
    bool fontSizeFocus = false, lineWidthFocus = false;
    bool fontNameFocus = false;
    int surfaceChanges = 0, scrolls = 0, selectionChanges = 0, positionChanges = 0, tabChanges = 0,
        undoStateChanges = 0;
};

class DesignerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        report::fr().resetForTests();
        report::fr().start();
        report::frObjects().setMeasurer(&measurer);
        fakes.emplace();
        rep = std::make_unique<report::TfrReport>(&owner);
        page = rep->Pages().Add();
        page->Name = QStringLiteral("Page1");
        report::frSetCurrentReport(rep.get(), rep.get(), &owner);
        designerWindow = std::make_unique<report::FrCountingDesigner>(1);
        designerWindow->Page = page;
        report::frObjects().frCurrentDesigner = designerWindow.get();
        core = std::make_unique<DesignerCore>(*designerWindow, view);
        core->state.Report = rep.get();
    }
    void TearDown() override
    {
        core.reset();
        report::frObjects().frCurrentDesigner = nullptr;
        designerWindow.reset();
        rep.reset();
        report::fr().resetForTests();
        fakes.reset();
    }

    // Objects added to a page (the current one by default).
    report::TfrMemoView *memo(const QString &name, int x, int y, int dx = 40, int dy = 18,
                              report::TfrPage *on = nullptr)
    {
        auto v = std::make_unique<report::TfrMemoView>();
        v->ID = report::frObjects().frNextObjectID++; // undo finds objects by ID
        v->Name = name;
        v->SetBounds(x, y, dx, dy);
        return static_cast<report::TfrMemoView *>((on ? on : page)->Add(std::move(v)));
    }
    report::TfrBandView *band(int type, int y, int dy, const QString &name,
                              report::TfrPage *on = nullptr)
    {
        auto v = std::make_unique<report::TfrBandView>();
        v->ID = report::frObjects().frNextObjectID++;
        v->Name = name;
        v->SetBandType(type);
        v->SetBounds(0, y, 700, dy);
        return static_cast<report::TfrBandView *>((on ? on : page)->Add(std::move(v)));
    }
    // Selects exactly these objects.
    void select(std::initializer_list<report::TfrView *> views)
    {
        core->state.UnselectAll();
        for (report::TfrView *v : views)
            v->Selected = true;
        core->state.SelectedCount = int(views.size());
        if (views.size() == 1)
            core->state.setLastSelected(*views.begin());
    }

    // The report as its file holds it.
    QByteArray saved()
    {
        report::FrMemoryStream s;
        rep->SaveToStream(s);
        return s.data();
    }
    // The report saved and loaded again, as a preview rebuilds it: every
    // object comes back with a new ID.
    void reload()
    {
        report::FrMemoryStream snapshot;
        rep->SaveToStream(snapshot);
        snapshot.seek(0);
        rep->LoadFromStream(snapshot);
        page = rep->Pages().GetPage(0);
        designerWindow->Page = page;
    }
    // The names of the objects of a page (the current one by default).
    QStringList names(const report::TfrPage *on = nullptr) const
    {
        QStringList out;
        for (const auto &v : (on ? on : page)->Objects)
            out << v->Name;
        return out;
    }
    int undoCount() const { return core->undo.count(UndoManager::UndoBuffer); }
    static QRect geometry(const report::TfrView *v) { return QRect(v->x, v->y, v->dx, v->dy); }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    std::optional<vorn_test::SeamFakes> fakes;
    QObject owner;
    std::unique_ptr<report::TfrReport> rep;
    report::TfrPage *page = nullptr;
    std::unique_ptr<report::FrCountingDesigner> designerWindow;
    FakeView view;
    std::unique_ptr<DesignerCore> core;
};

} // namespace designer::test
