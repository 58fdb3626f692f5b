// What the designer's benchmarks share: a window stand-in around the surface
// and the median time of repeated steps.
#pragma once

#include "designer/core/designercore.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace designer_bench
{

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
