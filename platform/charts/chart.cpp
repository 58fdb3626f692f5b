#include "platform/charts/chart.h"

#include "platform/printer/printers.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace platform
{

QString percentMark(double part, double total)
{
    const double pct = total > 0 ? part * 100.0 / total : 0.0;
    QString text = QString::number(std::nearbyint(pct * 100.0) / 100.0, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    text.replace(u'.', u',');
    return text + QStringLiteral(" %");
}

namespace
{
QString valueMark(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'f', 2).replace(u'.', u',');
}
} // namespace

TChart::TChart(const QString &name, QWidget *parent)
    : QWidget(parent), m_chart(new QChart), m_view(nullptr)
{
    setObjectName(name);
    m_chart->setObjectName(name + QStringLiteral("_Chart"));
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    QFont titleFont = m_chart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    m_chart->setTitleFont(titleFont);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(name + QStringLiteral("_View"));
    m_view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

void TChart::setTitle(const QString &title)
{
    m_title = title;
    m_chart->setTitle(title);
}

void TChart::setLegendVisible(bool visible)
{
    m_legend = visible;
    m_chart->legend()->setVisible(visible);
}

void TChart::clearSeries()
{
    m_chart->removeAllSeries();
    for (QAbstractAxis *axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_points.clear();
    m_marks.clear();
}

void TChart::setPieSeries(const QString &seriesName, const QList<Point> &points, Marks marks)
{
    clearSeries();
    m_seriesName = seriesName;
    m_points = points;
    double total = 0;
    for (const Point &p : points)
        total += p.value;
    auto *series = new QPieSeries;
    series->setObjectName(seriesName);
    series->setName(seriesName);
    series->setPieSize(0.62);
    for (const Point &p : points) {
        const QString mark =
            marks == Marks::Percent ? percentMark(p.value, total) : valueMark(p.value);
        m_marks.append(mark);
        auto *slice = new QPieSlice(mark, p.value);
        if (p.color.isValid())
            slice->setColor(p.color);
        // A white or black slice must still show its edge and mark.
        slice->setBorderColor(Qt::darkGray);
        slice->setLabelVisible(p.value > 0);
        slice->setLabelPosition(QPieSlice::LabelOutside);
        series->append(slice);
    }
    m_chart->addSeries(series);
    // The legend names the slices; the slices carry the marks.
    const QList<QLegendMarker *> markers = m_chart->legend()->markers(series);
    for (int i = 0; i < markers.size() && i < points.size(); ++i)
        markers[i]->setLabel(points[i].label);
    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_chart->legend()->setVisible(m_legend);
}

void TChart::setBarSeries(const QString &seriesName, const QList<Point> &points, Marks marks)
{
    clearSeries();
    m_seriesName = seriesName;
    m_points = points;
    double total = 0, highest = 0;
    for (const Point &p : points) {
        total += p.value;
        highest = std::max(highest, p.value);
    }
    auto *set = new QBarSet(seriesName);
    QStringList categories;
    for (const Point &p : points) {
        *set << p.value;
        categories << p.label;
        m_marks.append(marks == Marks::Percent ? percentMark(p.value, total) : valueMark(p.value));
    }
    if (!points.isEmpty() && points.front().color.isValid())
        set->setColor(points.front().color);
    set->setLabelColor(Qt::black);
    auto *series = new QBarSeries;
    series->setObjectName(seriesName);
    series->setName(seriesName);
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setBarWidth(0.7);
    m_chart->addSeries(series);

    auto *axisX = new QBarCategoryAxis;
    axisX->append(categories);
    // Many narrow bars: smaller labels, turned when they would not fit.
    QFont labels = axisX->labelsFont();
    labels.setPointSizeF(std::min(labels.pointSizeF(), 7.5));
    axisX->setLabelsFont(labels);
    if (categories.size() > 12)
        axisX->setLabelsAngle(-90);
    m_chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    auto *axisY = new QValueAxis;
    // Room above the highest bar for its mark.
    const double top = std::max(1.0, std::ceil(highest * 1.15));
    axisY->setRange(0, top);
    axisY->setLabelFormat(QStringLiteral("%d"));
    axisY->setTickCount(int(std::min(top, 10.0)) + 1);
    m_chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);
    m_chart->legend()->setVisible(m_legend);
}

bool TChart::print(QPrinter &printer)
{
    // A chart never laid out (its page not shown yet) gets a sensible size.
    if (m_chart->size().width() < 300 || m_chart->size().height() < 200)
        m_chart->resize(800, 560);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target(0, 0, page.width(), page.height());
    m_chart->scene()->render(&painter, target, m_chart->geometry(), Qt::KeepAspectRatio);
    return painter.end();
}

bool TChart::Print()
{
    std::unique_ptr<QPrinter> printer = createPrinter();
    return print(*printer);
}

} // namespace platform
