// The object inspector's rows for a selection: the properties all selected
// memos share, each with their common value. Prints the time of one refill
// for 1 and for 1,000 selected memos (goal, Release: under 30 ms for 1,000).
// Usage: bench_inspector_fill [rounds]
#include "designer/core/designercore.h"
#include "designer/core/inspectorlink.h"

#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace report;

namespace
{

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

template <typename F> double medianMs(int rounds, F &&step)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    fr().start();
    platform::QtTextMeasurer measurer;
    frObjects().setMeasurer(&measurer);

    QObject owner;
    TfrReport rep(&owner);
    TfrPage *page = rep.Pages().Add();
    frSetCurrentReport(&rep, &rep, &owner);
    FrCountingDesigner window(1);
    window.Page = page;
    frObjects().frCurrentDesigner = &window;
    BenchView view;
    designer::DesignerCore core(window, view);
    core.state.Report = &rep;
    core.state.Settings.Units = 1; // sizes converted to millimetres

    for (int i = 0; i < 1000; ++i) {
        auto m = std::make_unique<TfrMemoView>();
        m->Name = QStringLiteral("Memo%1").arg(i + 1);
        m->SetBounds(16 + (i % 10) * 76, 24 + (i / 10) * 21, 72, 18);
        m->Memo = QStringList{QStringLiteral("Valeur %1").arg(i + 1)};
        page->Add(std::move(m));
    }
    designer::InspectorLink link(core);
    designer::TPropList rows;

    page->Object(0)->Selected = true;
    link.Fill(rows); // property lists are built once
    const double one = medianMs(rounds, [&] { link.Fill(rows); });
    const int oneRows = rows.count();

    core.state.SelectAllObjects();
    link.Fill(rows);
    const double all = medianMs(rounds, [&] { link.Fill(rows); });

    std::printf("inspector refill, median of %d rounds\n", rounds);
    std::printf("1 memo (%d rows): %.3f ms\n", oneRows, one);
    std::printf("1000 memos (%d rows): %.2f ms\n", rows.count(), all);
    frObjects().frCurrentDesigner = nullptr;
    return 0;
}
