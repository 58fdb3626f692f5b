// The chart control the players list draws its statistics with: mark texts,
// series contents and a print that stays on one page.
#include "platform/charts/chart.h"

#include "tests/support/gui/controls.h"
#include "tests/support/gui/drawn_texts.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPieSeries>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
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

// In a tab page of the players list's size, with the marks and bar labels
// of real seasons: two-decimal percentages, and every age band from 8 to
// 98. Every text is drawn whole.
TEST(PlayersChart, LabelsAreWholeInTheListsTab)
{
    const QStringList bandes = {QStringLiteral("Nons classés"), QStringLiteral("Quatrième série"),
                                QStringLiteral("Troisième série"), QStringLiteral("Deuxième série"),
                                QStringLiteral("Première série")};
    const QList<QList<double>> parts = {
        {1, 81, 38, 41, 26}, {3, 64, 31, 52, 49}, {0, 0, 1, 0, 0}, {77, 1, 1, 1, 118}};
    QList<QList<double>> barres = {{0, 0, 1}};
    QList<double> pleines;
    for (int b = 0; b < 19; ++b)
        pleines << double((b * 37) % 97 + 1);
    barres << pleines;

    QTabWidget onglets;
    onglets.resize(434, 318);
    auto *pie = new TChart(QStringLiteral("Chart1"));
    auto *histo = new TChart(QStringLiteral("Chart2"));
    histo->setLegendVisible(false);
    onglets.addTab(pie, QStringLiteral("Indices"));
    onglets.addTab(histo, QStringLiteral("Age"));
    onglets.show();

    const auto verifier = [&](TChart *graphique, int onglet, const QStringList &attendus) {
        onglets.setCurrentIndex(onglet);
        vorn_test::settle();
        const QStringList textes = vorn_test::drawnTexts(graphique->view());
        for (const QString &t : textes) {
            EXPECT_FALSE(vorn_test::isElided(t)) << t.toStdString();
        }
        for (const QString &a : attendus) {
            EXPECT_TRUE(textes.contains(a))
                << a.toStdString() << " among " << textes.join(u'|').toStdString();
        }
    };
    for (const QList<double> &valeurs : parts) {
        QList<TChart::Point> points;
        for (int b = 0; b < 5; ++b)
            points.append({bandes[b], valeurs[b], QColor()});
        pie->setTitle(QStringLiteral("la répartition des Indices"));
        pie->setPieSeries(QStringLiteral("Series1"), points, TChart::Marks::Percent);
        QStringList attendus = bandes;
        attendus << pie->title();
        for (int b = 0; b < 5; ++b)
            if (valeurs[b] > 0)
                attendus << pie->markTexts()[b];
        verifier(pie, 0, attendus);
    }
    for (const QList<double> &valeurs : barres) {
        QList<TChart::Point> points;
        for (int b = 0; b < valeurs.size(); ++b)
            points.append({QString::number(5 * b + 8), valeurs[b], QColor()});
        histo->setTitle(QStringLiteral("L'age moyen est de 63,70 Ans"));
        histo->setBarSeries(QStringLiteral("Series2"), points, TChart::Marks::Value);
        QStringList attendus = histo->markTexts();
        attendus << histo->title();
        for (const TChart::Point &p : points)
            attendus << p.label;
        verifier(histo, 1, attendus);
    }
}
