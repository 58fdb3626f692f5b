#pragma once
// A chart control: one pie or bar series with its labels, colours and
// marks, a title and an optional legend, printed on one page. Stands in for
// the platform's chart component over Qt Charts.
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAbstractSeries;
class QChart;
class QGraphicsSimpleTextItem;
class QChartView;
class QPrinter;

namespace platform
{

class TChart : public QWidget
{
    Q_OBJECT

public:
    // What the marks beside the slices or above the bars show.
    enum class Marks { Value, Percent };

    struct Point {
        QString label;
        double value = 0;
        QColor color; // invalid: the chart's own colour
    };

    explicit TChart(const QString &name, QWidget *parent = nullptr);
    ~TChart() override;

    void setTitle(const QString &title);
    QString title() const { return m_title; }
    void setLegendVisible(bool visible);
    bool legendVisible() const { return m_legend; }

    // Replaces the series; the series gets seriesName as its name.
    void setPieSeries(const QString &seriesName, const QList<Point> &points, Marks marks);
    void setBarSeries(const QString &seriesName, const QList<Point> &points, Marks marks);

    QString seriesName() const { return m_seriesName; }
    const QList<Point> &points() const { return m_points; }
    // The texts of the marks, one per point.
    QStringList markTexts() const { return m_marks; }

    QChart *chart() const { return m_chart; }
    QChartView *view() const { return m_view; }

    // Prints the chart on one page of the printer, as large as the page
    // allows with its proportions kept. False when the printer cannot start.
    bool print(QPrinter &printer);
    // On the current printer (see platform/printer).
    bool Print();

private:
    void clearSeries();
    void placeBarLabels();

    QChart *m_chart;
    QChartView *m_view;
    QString m_title;
    QString m_seriesName;
    QList<Point> m_points;
    QStringList m_marks;
    bool m_legend = true;
    // Labels under the bars, drawn by the chart (see setBarSeries).
    QList<QGraphicsSimpleTextItem *> m_barLabels;
    QAbstractSeries *m_barSeries = nullptr;
};

// A percentage as the chart's marks show it: at most two decimals, ","
// as separator, then " %" ("33,33 %", "25 %").
QString percentMark(double part, double total);

} // namespace platform
