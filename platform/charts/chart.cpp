#include "platform/charts/chart.h"

#include "platform/printer/printers.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
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
// Marks and axis labels: small enough that a season's values fit beside
// a pie or under twenty bars in the players list's tab.
QFont markFont(QFont font)
{
    font.setPointSizeF(std::min(font.pointSizeF(), 7.5));
    return font;
}

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
    connect(m_chart, &QChart::plotAreaChanged, this, &TChart::placeBarLabels);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

TChart::~TChart()
{
    // The chart outlives this object (its view deletes it): no more
    // relayouts of the bar labels.
    disconnect(m_chart, nullptr, this, nullptr);
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
    qDeleteAll(m_barLabels);
    m_barLabels.clear();
    m_barSeries = nullptr;
    m_chart->setMargins(QMargins(4, 4, 4, 4));
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
    // Room around the pie for the marks: a mark that would cross the edge
    // of the plot is cut short.
    series->setPieSize(0.5);
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
        slice->setLabelFont(markFont(slice->labelFont()));
        slice->setLabelArmLengthFactor(0.1);
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
    // Many narrow bars: small labels, kept level (a turned label gets only
    // the axis's height and is cut to "...").
    // The bars' labels are drawn by the chart itself: the axis would cut
    // any label wider than about half a bar's slot ("13" under twenty bars
    // becomes "..."), and a turned label only gets the axis's height.
    axisX->setLabelsVisible(false);
    const QFont labelFont = markFont(axisX->labelsFont());
    for (const QString &category : std::as_const(categories)) {
        auto *label = new QGraphicsSimpleTextItem(category, m_chart);
        label->setFont(labelFont);
        label->setZValue(10);
        m_barLabels.append(label);
    }
    const int labelHeight = QFontMetrics(labelFont).height();
    m_chart->setMargins(QMargins(4, 4, 4, 4 + labelHeight + 2));
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
    // The colour of the theme's axis labels, known once the axes are in.
    for (QGraphicsSimpleTextItem *label : std::as_const(m_barLabels))
        label->setBrush(axisY->labelsBrush());
    m_barSeries = series;
    placeBarLabels();
}

void TChart::placeBarLabels()
{
    if (!m_barSeries)
        return;
    const QRectF plot = m_chart->plotArea();
    for (int i = 0; i < m_barLabels.size(); ++i) {
        QGraphicsSimpleTextItem *label = m_barLabels[i];
        // The middle of bar i's slot, just under the plot.
        const QPointF middle = m_chart->mapToPosition(QPointF(i, 0), m_barSeries);
        const QRectF box = label->boundingRect();
        label->setPos(middle.x() - box.width() / 2, plot.bottom() + 3);
    }
}

bool TChart::print(QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The page gets the chart laid out at one size of its own, whatever the
    // screen shows (a hidden tab's chart may not have been laid out since
    // its last change); the screen's size comes back afterwards.
    const QSizeF onScreen = m_chart->size();
    const auto layOut = [this](QSizeF size) {
        m_chart->resize(size);
        if (m_chart->layout())
            m_chart->layout()->activate();
        if (m_chart->legend()->layout())
            m_chart->legend()->layout()->activate();
        placeBarLabels();
    };
    layOut(QSizeF(800, 560));
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target(0, 0, page.width(), page.height());
    m_chart->scene()->render(&painter, target, m_chart->geometry(), Qt::KeepAspectRatio);
    const bool done = painter.end();
    layOut(onScreen);
    return done;
}

bool TChart::Print()
{
    std::unique_ptr<QPrinter> printer = createPrinter();
    return print(*printer);
}

} // namespace platform
