// What the designer's benchmarks share: a window stand-in around the surface,
// a report open in a designer core, and the median time of repeated steps.
#pragma once

#include "designer/core/designercore.h"

#include "platform/canvas/textmeasurer.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace designer_bench
{

// The benchmarks draw off screen unless told otherwise; call before the
// application is made.
inline void offscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The number of rounds given as the first argument (at least 1), or 30.
inline int roundsFrom(int argc, char **argv)
{
    return argc > 1 ? std::max(1, atoi(argv[1])) : 30;
}

// The window around the surface: a screen as large as an A4 page.
class BenchView : public designer::DesignerView
{
public:
    void surfaceChanged(const QRegion &) override {}
    void setSurfaceCursor(designer::SurfaceCursor c) override { cursor = c; }
    designer::SurfaceCursor surfaceCursor() const override { return cursor; }
    QRect visibleRect() const override { return QRect(0, 0, 794, 1123); }
    void scrollTo(int, int) override {}
    int activeTool() const override { return designer::kToolSelect; }
    void pressTool(int) override {}
    void selectionChanged() override {}
    void positionChanged() override {}
    void pageTabsChanged() override {}
    void showPage(int) override {}
    void openObjectPopup(const QPoint &) override {}
    designer::SurfaceCursor cursor = designer::SurfaceCursor::Default;
};

// A report of one page open in a designer core of mode 1, measured with the
// real fonts. The engine must have been started.
struct BenchDesigner
{
    BenchDesigner()
    {
        report::frObjects().setMeasurer(&measurer);
        page = rep.Pages().Add();
        report::frSetCurrentReport(&rep, &rep, &owner);
        window.Page = page;
        report::frObjects().frCurrentDesigner = &window;
        core.emplace(window, view);
        core->state.Report = &rep;
    }
    ~BenchDesigner()
    {
        // The window goes before the report, whose pages would tell it so.
        report::frObjects().frCurrentDesigner = nullptr;
    }

    // count memos of one line, 10 to a row, named Memo1... and reading
    // "Valeur 1"...
    void addMemos(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto m = std::make_unique<report::TfrMemoView>();
            m->Name = QStringLiteral("Memo%1").arg(i + 1);
            m->SetBounds(16 + (i % 10) * 76, 24 + (i / 10) * 21, 72, 18);
            m->Memo = QStringList{QStringLiteral("Valeur %1").arg(i + 1)};
            page->Add(std::move(m));
        }
    }

    platform::QtTextMeasurer measurer;
    QObject owner;
    report::TfrReport rep{&owner};
    report::TfrPage *page = nullptr;
    report::FrCountingDesigner window{1};
    BenchView view;
    std::optional<designer::DesignerCore> core;
};

// The median in milliseconds of rounds runs of step, which is given the
// round's number.
template <typename F> double medianMs(int rounds, F &&step)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step(i);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace designer_bench
