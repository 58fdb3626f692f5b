#include "platform/charts/chartdescription.h"

#include <QAbstractAxis>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <QXYSeries>
#include <memory>

namespace platform
{

QString ChartDescription::dump() const
{
    static const char *const kinds[] = {"line", "area", "point", "bar", "hbar", "pie"};
    QString out = QStringLiteral("chart %1 background=%2 legend=%3 axes=%4 marks=%5\n")
                      .arg(QLatin1String(kinds[int(kind)]))
                      .arg(background.name())
                      .arg(legendVisible)
                      .arg(axesVisible)
                      .arg(marksVisible);
    for (const Series &s : series) {
        out += QStringLiteral("series \"%1\" %2\n").arg(s.title, s.color.name());
        for (const Point &p : s.points)
            out += QStringLiteral("  point \"%1\" %2 %3 mark \"%4\"\n")
                       .arg(p.label)
                       .arg(p.value, 0, 'g', 15)
                       .arg(p.color.name(), p.mark);
    }
    return out;
}

const QList<QColor> &chartPalette()
{
    static const QList<QColor> colors = {
        QColor(255, 0, 0),     QColor(0, 128, 0),     QColor(255, 255, 0),   QColor(0, 0, 255),
        QColor(255, 255, 255), QColor(128, 128, 128), QColor(255, 0, 255),   QColor(0, 128, 128),
        QColor(0, 0, 128),     QColor(128, 0, 0),     QColor(0, 255, 0),     QColor(128, 0, 128),
        QColor(0, 0, 0),       QColor(128, 128, 0),   QColor(192, 192, 192), QColor(0, 255, 255)};
    return colors;
}

namespace
{

QStringList categories(const ChartDescription &d)
{
    QStringList out;
    for (const auto &s : d.series)
        for (qsizetype i = out.size(); i < s.points.size(); ++i)
            out.append(s.points[i].label);
    return out;
}

void addBars(QChart &chart, const ChartDescription &d)
{
    const bool horizontal = d.kind == ChartDescription::Kind::HorizontalBar;
    QAbstractBarSeries *series =
        horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalStackedBarSeries)
                   : static_cast<QAbstractBarSeries *>(new QStackedBarSeries);
    const QStringList cats = categories(d);
    // One bar set per coloured point (stacked over zeros elsewhere), so that
    // each point can have its own colour and its own mark.
    for (const auto &s : d.series) {
        for (qsizetype i = 0; i < s.points.size(); ++i) {
            const auto &p = s.points[i];
            auto *set = new QBarSet(s.title.isEmpty() ? p.label : s.title);
            for (qsizetype c = 0; c < cats.size(); ++c)
                *set << (c == i ? p.value : 0.0);
            set->setColor(p.color.isValid() ? p.color : s.color);
            set->setLabelColor(Qt::black);
            series->append(set);
        }
    }
    series->setLabelsVisible(d.marksVisible);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart.addSeries(series);
    auto *catAxis = new QBarCategoryAxis;
    catAxis->append(cats);
    auto *valAxis = new QValueAxis;
    chart.addAxis(catAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart.addAxis(valAxis, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(catAxis);
    series->attachAxis(valAxis);
}

void addXY(QChart &chart, const ChartDescription &d)
{
    auto *xAxis = new QValueAxis;
    auto *yAxis = new QValueAxis;
    chart.addAxis(xAxis, Qt::AlignBottom);
    chart.addAxis(yAxis, Qt::AlignLeft);
    double lo = 0, hi = 1;
    qsizetype count = 1;
    for (const auto &s : d.series) {
        count = std::max<qsizetype>(count, s.points.size());
        for (const auto &p : s.points) {
            lo = std::min(lo, p.value);
            hi = std::max(hi, p.value);
        }
    }
    xAxis->setRange(-0.5, double(count) - 0.5);
    yAxis->setRange(lo, hi + (hi - lo) * 0.1);
    for (const auto &s : d.series) {
        QXYSeries *line = d.kind == ChartDescription::Kind::Point
                              ? static_cast<QXYSeries *>(new QScatterSeries)
                              : static_cast<QXYSeries *>(new QLineSeries);
        for (qsizetype i = 0; i < s.points.size(); ++i)
            line->append(double(i), s.points[i].value);
        line->setName(s.title);
        line->setColor(s.color);
        line->setPointLabelsVisible(d.marksVisible);
        line->setPointLabelsFormat(QStringLiteral("@yPoint"));
        QAbstractSeries *added = line;
        if (d.kind == ChartDescription::Kind::Area) {
            auto *area = new QAreaSeries(static_cast<QLineSeries *>(line));
            line->setParent(area); // the area does not own its line
            area->setName(s.title);
            area->setColor(s.color);
            area->setPointLabelsVisible(d.marksVisible);
            added = area;
        }
        chart.addSeries(added);
        added->attachAxis(xAxis);
        added->attachAxis(yAxis);
    }
}

void addPie(QChart &chart, const ChartDescription &d)
{
    if (d.series.isEmpty())
        return;
    auto *pie = new QPieSeries;
    for (const auto &p : d.series.first().points) {
        QPieSlice *slice = pie->append(p.mark.isEmpty() ? p.label : p.mark, std::max(0.0, p.value));
        slice->setColor(p.color);
        slice->setLabelVisible(d.marksVisible);
    }
    pie->setPieSize(0.6);
    chart.addSeries(pie);
    // The slices show their marks; the legend names the points.
    const QList<QLegendMarker *> markers = chart.legend()->markers(pie);
    const auto &points = d.series.first().points;
    for (qsizetype i = 0; i < markers.size() && i < points.size(); ++i)
        markers[i]->setLabel(points[i].label);
}

} // namespace

QPicture renderChart(const ChartDescription &d, const QSize &size)
{
    QPicture picture;
    if (size.width() <= 0 || size.height() <= 0)
        return picture;
    QGraphicsScene scene;
    auto *chart = new QChart; // owned by the scene
    scene.addItem(chart);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(d.background);
    chart->setBackgroundPen(Qt::NoPen);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setVisible(d.legendVisible);
    switch (d.kind) {
    case ChartDescription::Kind::Bar:
    case ChartDescription::Kind::HorizontalBar:
        addBars(*chart, d);
        break;
    case ChartDescription::Kind::Pie:
        addPie(*chart, d);
        break;
    default:
        addXY(*chart, d);
        break;
    }
    for (QAbstractAxis *axis : chart->axes())
        axis->setVisible(d.axesVisible);
    const QRectF rect(QPointF(0, 0), QSizeF(size));
    chart->setGeometry(rect);
    scene.setSceneRect(rect);
    QPainter painter(&picture);
    painter.setClipRect(rect);
    scene.render(&painter, rect, rect);
    painter.end();
    // The picture's frame is the whole chart, also where nothing is drawn.
    picture.setBoundingRect(QRect(QPoint(0, 0), size));
    return picture;
}

namespace
{
ChartRenderer &rendererSlot()
{
    static ChartRenderer renderer;
    return renderer;
}
} // namespace

const ChartRenderer &chartRenderer()
{
    static const ChartRenderer standard = renderChart;
    return rendererSlot() ? rendererSlot() : standard;
}

void setChartRenderer(ChartRenderer renderer)
{
    rendererSlot() = std::move(renderer);
}

} // namespace platform
