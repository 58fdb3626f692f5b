// What the designer's fuzz targets share: a view with no window, and the
// stop for a broken rule.
#pragma once

#include "designer/core/designercore.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <cstdio>
#include <cstdlib>

namespace report::fuzz
{

// A broken rule: where it is written, then the stop libFuzzer reports.
[[noreturn]] inline void ruleBroken(const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: rule broken\n", file, line);
    std::abort();
}

// The designer's view: a fixed 800x600 visible area that scrolls where
// asked, the tool pressed last.
class QuietView : public designer::DesignerView
{
public:
    void surfaceChanged(const QRegion &) override {}
    void setSurfaceCursor(designer::SurfaceCursor c) override { cursor = c; }
    designer::SurfaceCursor surfaceCursor() const override { return cursor; }
    QRect visibleRect() const override { return visible; }
    void scrollTo(int x, int y) override { visible.moveTopLeft(QPoint(x, y)); }
    int activeTool() const override { return tool; }
    void pressTool(int t) override { tool = t; }
    void selectionChanged() override {}
    void positionChanged() override {}
    void pageTabsChanged() override {}
    void showPage(int) override {}
    void openObjectPopup(const QPoint &) override {}

    designer::SurfaceCursor cursor = designer::SurfaceCursor::Default;
    QRect visible{0, 0, 800, 600};
    int tool = designer::kToolSelect;
};

} // namespace report::fuzz
