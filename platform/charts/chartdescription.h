#pragma once
// A chart described as data: its kind, colours, legend, axes, marks and
// series of labelled, coloured points with their mark texts. Report objects
// build one and have it rendered by Qt Charts into a vector picture; tests
// compare its dump.
#include <QColor>
#include <QList>
#include <QPicture>
#include <QSize>
#include <QString>
#include <functional>

namespace platform
{

struct ChartDescription {
    enum class Kind { Line = 0, Area = 1, Point = 2, Bar = 3, HorizontalBar = 4, Pie = 5 };
    struct Point {
        QString label;
        double value = 0;
        QColor color;
        QString mark; // the text of its mark
    };
    struct Series {
        QString title;
        QColor color; // of the series when its points share one
        QList<Point> points;
    };

    Kind kind = Kind::Line;
    QColor background = Qt::white;
    bool legendVisible = true;
    bool axesVisible = false;
    bool marksVisible = true;
    QList<Series> series;

    // One line per setting, series and point.
    QString dump() const;
};

// The fixed colours given to points (or series) in order, so that a chart
// looks the same at every render.
const QList<QColor> &chartPalette();

// Renders description into a picture of size (Qt Charts draws flat).
QPicture renderChart(const ChartDescription &description, const QSize &size);

// The renderer charts use; tests install one that records the description.
using ChartRenderer = std::function<QPicture(const ChartDescription &, const QSize &)>;
const ChartRenderer &chartRenderer();
void setChartRenderer(ChartRenderer renderer); // empty: renderChart

} // namespace platform
