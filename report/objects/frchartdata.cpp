#include "report/objects/frchartdata.h"

#include "platform/text/codec.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace report
{

namespace
{

QByteArray readBytes(FrStream &stream, qint64 count)
{
    if (count < 0 || count > stream.remaining())
        throw EFrStreamError();
    QByteArray bytes(qsizetype(count), '\0');
    if (count > 0 && stream.read(bytes.data(), count) != count)
        throw EFrStreamError();
    return bytes;
}

} // namespace

void frReadChartRecord(FrStream &stream, FrChartRecord &record)
{
    // Read into a copy: a record that fails leaves the object as it was.
    FrChartRecord r;
    const quint8 kind = frReadByte(stream);
    if (kind == 0) {
        const QByteArray block = readBytes(stream, 48);
        FrChartOptions &o = r.Options;
        o.Kind = quint8(block[0]);
        o.Is3D = quint8(block[1]);
        o.SingleSeries = quint8(block[2]);
        o.LegendVisible = quint8(block[3]);
        o.AxesVisible = quint8(block[4]);
        o.MarksVisible = quint8(block[5]);
        o.EachPointColored = quint8(block[6]);
        o.MarksKind = quint8(block[7]);
        o.TopCount = qint32(quint32(quint8(block[8])) | quint32(quint8(block[9])) << 8 |
                            quint32(quint8(block[10])) << 16 | quint32(quint8(block[11])) << 24);
        o.Reserved = block.mid(12);
        r.LabelSource = frReadString(stream);
        r.ValueSource = frReadString(stream);
        r.OthersLabel = frReadString(stream);
    } else if (kind == 1) {
        const qint32 length = frReadInteger(stream);
        r.Picture = readBytes(stream, length);
        r.HasPicture = true;
    } else {
        throw EFrStreamError();
    }
    record = std::move(r);
}

void frWriteChartRecord(FrStream &stream, const FrChartRecord &record)
{
    if (record.HasPicture) {
        frWriteByte(stream, 1);
        frWriteInteger(stream, qint32(record.Picture.size()));
        stream.write(record.Picture);
        return;
    }
    const FrChartOptions &o = record.Options;
    frWriteByte(stream, 0);
    for (quint8 b : {o.Kind, o.Is3D, o.SingleSeries, o.LegendVisible, o.AxesVisible, o.MarksVisible,
                     o.EachPointColored, o.MarksKind})
        frWriteByte(stream, b);
    frWriteInteger(stream, o.TopCount);
    QByteArray reserved = o.Reserved.left(36);
    reserved.append(QByteArray(36 - reserved.size(), '\0'));
    stream.write(reserved);
    frWriteString(stream, record.LabelSource);
    frWriteString(stream, record.ValueSource);
    frWriteString(stream, record.OthersLabel);
}

void frCollectChartValue(QStringList &lines, qint32 &counter, const FrChartRecord &record,
                         const QString &printedName, const QStringList &printedText)
{
    if (record.LabelSource.isEmpty() || record.ValueSource.isEmpty())
        return;
    while (lines.size() < 2)
        lines.append(QString());
    int target = -1;
    if (printedName.compare(record.LabelSource, Qt::CaseInsensitive) == 0) {
        target = 0;
        if (counter < std::numeric_limits<qint32>::max())
            ++counter;
    } else if (printedName.compare(record.ValueSource, Qt::CaseInsensitive) == 0) {
        target = record.Options.SingleSeries ? 1 : std::max(counter, 1);
    }
    if (target < 0)
        return;
    while (lines.size() <= target)
        lines.append(QString());
    if (!printedText.isEmpty())
        lines[target] += printedText.first() + QLatin1Char(';');
}

double frChartValue(const QString &text, bool *ok)
{
    if (ok)
        *ok = false;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isDigit() && text[i].unicode() < 128) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return 0;
    bool negative = false;
    for (qsizetype i = first - 1; i >= 0; --i) {
        if (text[i] == QLatin1Char(' '))
            continue;
        negative = text[i] == QLatin1Char('-');
        break;
    }
    const QString core = text.mid(first, last - first + 1);
    // A "." before the last "," separates thousands.
    const qsizetype lastComma = core.lastIndexOf(QLatin1Char(','));
    frCountRead(text.size());
    QString number;
    for (qsizetype i = 0; i < core.size(); ++i) {
        const QChar c = core[i];
        if (c == QLatin1Char(' ') || c == QChar(0xA0))
            continue;
        if (c == QLatin1Char('.') && i < lastComma)
            continue;
        number += c == QLatin1Char(',') ? QLatin1Char('.') : c;
    }
    bool converted = false;
    const double v = number.toDouble(&converted);
    if (!converted || !std::isfinite(v))
        return 0;
    if (ok)
        *ok = true;
    return negative ? -v : v;
}

QList<FrChartPoint> frTopPoints(const QList<FrChartPoint> &points, qint32 topCount,
                                const QString &othersLabel)
{
    if (topCount <= 0 || topCount >= points.size())
        return points;
    QList<FrChartPoint> sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const FrChartPoint &a, const FrChartPoint &b) {
                         if (a.Value != b.Value)
                             return a.Value < b.Value;
                         return platform::ansiCompare(a.Label, b.Label) < 0;
                     });
    const qsizetype rest = sorted.size() - topCount;
    QList<FrChartPoint> out = sorted.mid(rest);
    if (!othersLabel.isEmpty()) {
        double sum = 0;
        for (qsizetype i = 0; i < rest; ++i)
            sum += sorted[i].Value;
        out.append({othersLabel, sum});
    }
    return out;
}

QStringList frChartItems(const QString &line)
{
    QStringList items = line.split(QLatin1Char(';'));
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    return items;
}

} // namespace report
