#include "report/objects/frchartview.h"

#include "platform/canvas/bitmaps.h"
#include "platform/canvas/colors.h"
#include "platform/charts/chart.h"
#include "platform/format/format.h"
#include "report/core/frstream.h"
#include "report/objects/frglobals.h"

namespace report
{

TfrChartView::TfrChartView()
{
    BaseName = QStringLiteral("Chart");
    // Page preparation makes such objects memo observers.
    Flags |= 0x8000;
}

void TfrChartView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    AddProperty(QStringLiteral("Chart"), frptEditor, [this] { ShowObjectEditor(); });
}

void TfrChartView::ExtraHook()
{
    const TfrView *printed = frObjects().frCurrentView;
    if (!printed || printed == this)
        return;
    QStringList text = printed->Memo1;
    if (!text.isEmpty())
        text[0].remove(QChar(1)); // the end-of-paragraph mark of output lines
    frCollectChartValue(Memo, PointCounter, Chart, printed->Name, text);
}

void TfrChartView::WriteToPreparedPage(FrStream &stream)
{
    TfrView::WriteToPreparedPage(stream);
    // A chart in a footer starts again for the next group.
    Memo.clear();
    PointCounter = 0;
}

void TfrChartView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    frReadChartRecord(stream, Chart);
}

void TfrChartView::SaveToStream(FrStream &stream)
{
    TfrView::SaveToStream(stream);
    frWriteChartRecord(stream, Chart);
}

void TfrChartView::ShowObjectEditor()
{
    if (FrObjectGlobals &g = frObjects(); g.chartEditor)
        g.chartEditor(*this);
}

namespace
{

QString valueText(double v)
{
    return platform::FormatFloat(QStringLiteral("0.##"), v, QLatin1Char(','));
}

QString markText(quint8 kind, const FrChartPoint &p, double total)
{
    switch (kind) {
    case 1:
        return platform::percentMark(p.Value, total);
    case 2:
        return p.Label;
    case 3:
        return p.Label + QLatin1Char(' ') + platform::percentMark(p.Value, total);
    case 4:
        return p.Label + QLatin1Char(' ') + valueText(p.Value);
    default:
        return valueText(p.Value);
    }
}

} // namespace

platform::ChartDescription TfrChartView::Describe(const QStringList &lines) const
{
    using platform::ChartDescription;
    const FrChartOptions &o = Chart.Options;
    ChartDescription d;
    d.kind = o.Kind <= 5 ? ChartDescription::Kind(o.Kind) : ChartDescription::Kind::Line;
    d.background =
        platform::toQColor(FillColor == platform::clNone ? platform::clWhite : FillColor);
    d.legendVisible = o.LegendVisible != 0;
    d.axesVisible = o.AxesVisible != 0;
    d.marksVisible = o.MarksVisible != 0;
    const QList<QColor> &palette = platform::chartPalette();
    const QStringList labels = frChartItems(lines.value(0));
    // One series of label-value pairs, or one series per label.
    QList<std::pair<QString, QList<FrChartPoint>>> raw;
    if (o.SingleSeries) {
        const QStringList values = frChartItems(lines.value(1));
        QList<FrChartPoint> points;
        for (qsizetype i = 0; i < labels.size(); ++i)
            points.append({labels[i], frChartValue(values.value(i))});
        raw.append({QString(), points});
    } else {
        for (qsizetype s = 0; s < labels.size(); ++s) {
            const QStringList values = frChartItems(lines.value(s + 1));
            QList<FrChartPoint> points;
            for (qsizetype i = 0; i < values.size(); ++i)
                points.append({QString::number(i + 1), frChartValue(values[i])});
            raw.append({labels[s], points});
        }
    }
    for (qsizetype s = 0; s < raw.size(); ++s) {
        const QList<FrChartPoint> points =
            frTopPoints(raw[s].second, o.TopCount, Chart.OthersLabel);
        if (points.isEmpty())
            continue;
        ChartDescription::Series series;
        series.title = raw[s].first;
        series.color = palette[s % palette.size()];
        double total = 0;
        for (const FrChartPoint &p : points)
            total += p.Value;
        for (qsizetype i = 0; i < points.size(); ++i) {
            ChartDescription::Point point;
            point.label = points[i].Label;
            point.value = points[i].Value;
            point.color =
                o.SingleSeries && o.EachPointColored ? palette[i % palette.size()] : series.color;
            point.mark = markText(o.MarksKind, points[i], total);
            series.points.append(point);
        }
        d.series.append(series);
    }
    return d;
}

void TfrChartView::Draw(platform::Canvas &canvas)
{
    PrepareCanvas(canvas);
    Memo1 = Memo;
    FrGeometryScope geometry(*this);
    DrawBackground();
    if (!frObjects().frFirstPass) {
        if (Chart.HasPicture) {
            // A stored picture cannot be played here: its place is shown.
            canvas.drawMetafilePlaceholder(DRect);
        } else {
            const platform::ChartDescription d = Describe(Memo1);
            if (!d.series.isEmpty() && !DRect.isEmpty())
                canvas.drawPicture(DRect, platform::chartRenderer()(d, DRect.size()));
        }
    }
    DrawFrame();
}

void frRegisterChartView()
{
    frRegisterObject(
        QStringLiteral("TfrChartView"), [] { return std::make_unique<TfrChartView>(); },
        platform::LoadBitmap(QStringLiteral("FR_CHARTVIEW")), QString::number(55225));
}

} // namespace report
