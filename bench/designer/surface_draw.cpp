// The page surface's drawing: an A4 page of 500 framed memos (50 rows of
// 10) on a grid of 8, shown whole. Prints the time of a full drawing of the
// page and of what one memo moved by a grid step repaints: the handles
// erased, the region it left and the region it took drawn, the handles
// shown again (goals, Release, offscreen: full drawing under 100 ms, one
// moved memo under 5 ms).
// Usage: bench_surface_draw [rounds]
#include "bench/designer/bench_support.h"
#include "designer/core/designercore.h"

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
    page->PrnInfo.Pgw = 794;
    page->PrnInfo.Pgh = 1123;
    page->UseMargins = 1;
    page->LeftMargin = page->TopMargin = 10;
    page->RightMargin = page->BottomMargin = 10;
    designer::DesignerCore &core = *bench.core;
    core.state.Settings.GridShow = true;
    core.state.Settings.GridSize = 8;

    bench.addMemos(500);
    for (int i = 0; i < 500; ++i) {
        auto *m = static_cast<TfrMemoView *>(page->Object(i));
        m->FrameTyp = 15;
        m->FillColor = i % 3 == 0 ? platform::TColor(0xC0FFFF) : platform::clNone;
    }
    designer::SurfaceRenderer &surface = core.surface;
    surface.Draw(10000, std::nullopt); // the cache is made once

    const double full = medianMs(rounds, [&](int) { surface.Draw(10000, std::nullopt); });

    TfrView *moved = page->Object(255);
    core.state.UnselectAll();
    moved->Selected = true;
    core.state.SelectedCount = 1;
    surface.Draw(10000, std::nullopt);
    const double one = medianMs(rounds, [&](int i) {
        surface.drawSelection(1);
        QRegion damage = moved->GetClipRegion(true);
        moved->x += i % 2 == 0 ? 8 : -8;
        damage += moved->GetClipRegion(true);
        surface.Draw(core.state.TopSelectedIndex(), damage);
    });

    std::printf("500 memos, page 794 x 1123, median of %d rounds\n", rounds);
    std::printf("full Draw: %.2f ms\n", full);
    std::printf("one moved memo's region: %.3f ms\n", one);
    return 0;
}
