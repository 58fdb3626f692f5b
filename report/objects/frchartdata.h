#pragma once
// The data side of the chart object: its options block and record, the
// values it gathers from the memos it names, how value texts read, and the
// top-N grouping. Headless, so that readers and fuzzing need no window.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace report
{

class FrStream;

struct FrChartOptions {
    quint8 Kind = 0; // 0 line, 1 area, 2 point, 3 bar, 4 horizontal bar, 5 pie
    quint8 Is3D = 1;
    quint8 SingleSeries = 1;
    quint8 LegendVisible = 1;
    quint8 AxesVisible = 0;
    quint8 MarksVisible = 1;
    quint8 EachPointColored = 1;
    quint8 MarksKind = 0; // 0 value, 1 percent, 2 label, 3 label and percent, 4 label and value
    qint32 TopCount = 0;
    QByteArray Reserved = QByteArray(36, '\0'); // kept as read
};

// What follows the view record of a chart.
struct FrChartRecord {
    FrChartOptions Options;
    QString LabelSource;
    QString ValueSource;
    QString OthersLabel;
    // Kind 1: a rendered picture kept as read (it cannot be played here).
    bool HasPicture = false;
    QByteArray Picture;
};

// Throws EFrStreamError on a kind other than 0 and 1, a picture length that is
// negative or beyond the record, or anything short: never a half-read record.
void frReadChartRecord(FrStream &stream, FrChartRecord &record);
// A picture read is written back unchanged; anything else as options.
void frWriteChartRecord(FrStream &stream, const FrChartRecord &record);

// Appends a printed memo's first line to the chart's lists (line 0 labels,
// line k the values of series k, each item followed by ";").
void frCollectChartValue(QStringList &lines, qint32 &counter, const FrChartRecord &record,
                         const QString &printedName, const QStringList &printedText);

// The number in a value text: from its first digit to its last, with a "-"
// just before the first digit (blanks between allowed) kept, blanks, non-
// breaking spaces and "." before a "," removed as thousand separators, ","
// as the decimal separator. ok false when no number is there.
double frChartValue(const QString &text, bool *ok = nullptr);

struct FrChartPoint {
    QString Label;
    double Value = 0;
    bool operator==(const FrChartPoint &) const = default;
};

// The TopCount largest points, smallest first (ties by label in Windows-1252
// order), then OthersLabel with the sum of the rest when it is not empty.
// Unchanged when TopCount is not between 1 and the point count - 1.
QList<FrChartPoint> frTopPoints(const QList<FrChartPoint> &points, qint32 topCount,
                                const QString &othersLabel);

// The items of a list line ("a;b;" -> a, b).
QStringList frChartItems(const QString &line);

} // namespace report
