// The object inspector's rows for a selection: the properties all selected
// memos share, each with their common value. Prints the time of one refill
// for 1 and for 1,000 selected memos (goal, Release: under 30 ms for 1,000).
// Usage: bench_inspector_fill [rounds]
#include "bench/designer/bench_support.h"
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

using designer_bench::medianMs;

int main(int argc, char **argv)
{
    designer_bench::offscreenUnlessSet();
    QGuiApplication app(argc, argv);
    const int rounds = designer_bench::roundsFrom(argc, argv);
    fr().start();
    designer_bench::BenchDesigner bench;
    TfrPage *page = bench.page;
    designer::DesignerCore &core = *bench.core;
    core.state.Settings.Units = 1; // sizes converted to millimetres
    bench.addMemos(1000);
    designer::InspectorLink link(core);
    designer::TPropList rows;

    page->Object(0)->Selected = true;
    link.Fill(rows); // property lists are built once
    const double one = medianMs(rounds, [&](int) { link.Fill(rows); });
    const int oneRows = rows.count();

    core.state.SelectAllObjects();
    link.Fill(rows);
    const double all = medianMs(rounds, [&](int) { link.Fill(rows); });

    std::printf("inspector refill, median of %d rounds\n", rounds);
    std::printf("1 memo (%d rows): %.3f ms\n", oneRows, one);
    std::printf("1000 memos (%d rows): %.2f ms\n", rows.count(), all);
    return 0;
}
