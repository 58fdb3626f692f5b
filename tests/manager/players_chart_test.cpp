// The chart control the players list draws its statistics with: mark texts,
// series contents and a print that stays on one page.
#include "platform/charts/chart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QPieSeries>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::TChart;

TEST(PlayersChart, PercentMarks)
{
    EXPECT_EQ(platform::percentMark(1, 3), QStringLiteral("33,33 %"));
    EXPECT_EQ(platform::percentMark(2, 3), QStringLiteral("66,67 %"));
    EXPECT_EQ(platform::percentMark(1, 4), QStringLiteral("25 %"));
    EXPECT_EQ(platform::percentMark(1, 8), QStringLiteral("12,5 %"));
    EXPECT_EQ(platform::percentMark(5, 5), QStringLiteral("100 %"));
    EXPECT_EQ(platform::percentMark(0, 0), QStringLiteral("0 %"));
}

TEST(PlayersChart, PieAndBarSeries)
{
    TChart chart(QStringLiteral("Chart1"));
    chart.setTitle(QStringLiteral("la répartition des Indices"));
    chart.setPieSeries(QStringLiteral("Series1"),
                       {{QStringLiteral("A"), 1, Qt::white},
                        {QStringLiteral("B"), 0, Qt::green},
                        {QStringLiteral("C"), 3, Qt::red}},
                       TChart::Marks::Percent);
    EXPECT_EQ(chart.markTexts(),
              (QStringList{QStringLiteral("25 %"), QStringLiteral("0 %"), QStringLiteral("75 %")}));
    ASSERT_EQ(chart.chart()->series().size(), 1);
    auto *pie = qobject_cast<QPieSeries *>(chart.chart()->series().front());
    ASSERT_NE(pie, nullptr);
    EXPECT_EQ(pie->objectName(), QStringLiteral("Series1"));
    ASSERT_EQ(pie->count(), 3);
    EXPECT_EQ(pie->slices()[2]->color(), QColor(Qt::red));
    EXPECT_EQ(pie->slices()[2]->value(), 3);
    EXPECT_EQ(chart.chart()->title(), QStringLiteral("la répartition des Indices"));

    // A new series replaces the old one, axes included.
    for (int fois = 0; fois < 2; ++fois)
        chart.setBarSeries(
            QStringLiteral("Series2"),
            {{QStringLiteral("8"), 2, QColor()}, {QStringLiteral("13"), 0, QColor()}},
            TChart::Marks::Value);
    ASSERT_EQ(chart.chart()->series().size(), 1);
    EXPECT_EQ(chart.chart()->axes().size(), 2);
    auto *bars = qobject_cast<QBarSeries *>(chart.chart()->series().front());
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->barSets().size(), 1);
    EXPECT_EQ(bars->barSets()[0]->count(), 2);
    EXPECT_EQ(bars->barSets()[0]->at(0), 2);
    EXPECT_EQ(chart.markTexts(), (QStringList{QStringLiteral("2"), QStringLiteral("0")}));
}

TEST(PlayersChart, PrintsOnePage)
{
    QTemporaryDir dir;
    TChart chart(QStringLiteral("Chart2"));
    chart.setBarSeries(QStringLiteral("Series2"), {{QStringLiteral("8"), 4, QColor()}},
                       TChart::Marks::Value);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("c.pdf")));
    // Never shown: the chart still gets a size to print at.
    ASSERT_TRUE(chart.print(printer));
    QFile f(dir.filePath(QStringLiteral("c.pdf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(pdf.startsWith(QStringLiteral("%PDF")));
    EXPECT_EQ(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);
}
