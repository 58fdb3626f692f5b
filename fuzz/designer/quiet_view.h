// The designer's view for the fuzz targets: no window, a fixed 800x600
// visible area that scrolls where asked, the tool pressed last.
#pragma once

#include "designer/core/designercore.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

namespace report::fuzz
{

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
