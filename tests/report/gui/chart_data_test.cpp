// The chart object's data: its record (hostile ones refused whole), the
// values gathered from the memos it names, value texts and the top-N group.
#include "objects_fixture.h"

#include "report/core/frexceptions.h"
#include "report/objects/frchartdata.h"

namespace report::test
{
namespace
{

QByteArray recordBytes(const FrChartRecord &r)
{
    FrMemoryStream s;
    frWriteChartRecord(s, r);
    return s.data();
}

TEST(ChartRecordTest, OptionsRoundTripKeepsTheReservedBytes)
{
    FrChartRecord r;
    r.Options.Kind = 5;
    r.Options.Is3D = 0;
    r.Options.MarksKind = 4;
    r.Options.TopCount = -7;
    for (int i = 0; i < 36; ++i)
        r.Options.Reserved[i] = char(i * 7 + 1);
    r.LabelSource = QStringLiteral("Libellés");
    r.ValueSource = QStringLiteral("Valeurs");
    r.OthersLabel = QStringLiteral("Autres");
    const QByteArray bytes = recordBytes(r);
    ASSERT_EQ(bytes.size(), 1 + 48 + 3 * 3 + 8 + 7 + 6);
    FrMemoryStream in(bytes);
    FrChartRecord back;
    frReadChartRecord(in, back);
    EXPECT_EQ(in.position(), bytes.size());
    EXPECT_EQ(back.Options.Reserved, r.Options.Reserved);
    EXPECT_EQ(back.Options.TopCount, -7);
    EXPECT_EQ(back.LabelSource, r.LabelSource);
    EXPECT_EQ(recordBytes(back), bytes);
}

TEST(ChartRecordTest, PictureRecordIsKeptByteForByte)
{
    FrMemoryStream s;
    frWriteByte(s, 1);
    frWriteInteger(s, 5);
    s.write(QByteArray("\x01\x00\xFF\x7F\x80", 5));
    FrMemoryStream in(s.data());
    FrChartRecord r;
    frReadChartRecord(in, r);
    EXPECT_TRUE(r.HasPicture);
    EXPECT_EQ(recordBytes(r), s.data());
}

TEST(ChartRecordTest, HostileRecordsAreRefusedWhole)
{
    auto header = [](quint8 kind, qint32 length, int extra) {
        FrMemoryStream s;
        frWriteByte(s, kind);
        frWriteInteger(s, length);
        s.write(QByteArray(extra, 'x'));
        return s.data();
    };
    FrChartRecord ok;
    ok.LabelSource = QStringLiteral("A");
    QByteArray shortString = recordBytes(ok);
    shortString.chop(4);
    const struct {
        const char *label;
        QByteArray bytes;
    } cases[] = {{"kind 7", header(7, 0, 60)},
                 {"length -1", header(1, -1, 10)},
                 {"length past the end", header(1, 11, 10)},
                 {"short options", QByteArray("\0\1\1", 3)},
                 {"short string", shortString}};
    for (const auto &c : cases) {
        FrChartRecord r;
        r.OthersLabel = QStringLiteral("inchangé");
        FrMemoryStream in(c.bytes);
        EXPECT_THROW(frReadChartRecord(in, r), EFrStreamError) << c.label;
        EXPECT_EQ(r.OthersLabel, QStringLiteral("inchangé")) << c.label;
        EXPECT_FALSE(r.HasPicture) << c.label;
    }
}

TEST(ChartDataTest, CollectFillsLabelsAndSeries)
{
    FrChartRecord r;
    r.LabelSource = QStringLiteral("Nom");
    r.ValueSource = QStringLiteral("Score");
    const QStringList prints[] = {{QStringLiteral("Nom"), QStringLiteral("Alain")},
                                  {QStringLiteral("score"), QStringLiteral("12")},
                                  {QStringLiteral("Autre"), QStringLiteral("x")},
                                  {QStringLiteral("NOM"), QStringLiteral("Berthe")},
                                  {QStringLiteral("Score"), QStringLiteral("7")},
                                  {QStringLiteral("Score"), QString()}};
    for (bool single : {false, true}) {
        r.Options.SingleSeries = single;
        QStringList lines;
        qint32 counter = 0;
        for (const QStringList &p : prints)
            frCollectChartValue(lines, counter, r, p[0],
                                p[1].isEmpty() ? QStringList() : QStringList{p[1]});
        if (single)
            EXPECT_EQ(lines,
                      QStringList({QStringLiteral("Alain;Berthe;"), QStringLiteral("12;7;")}));
        else
            EXPECT_EQ(lines, QStringList({QStringLiteral("Alain;Berthe;"), QStringLiteral("12;"),
                                          QStringLiteral("7;")}));
    }
    r.ValueSource.clear();
    QStringList none;
    qint32 counter = 0;
    frCollectChartValue(none, counter, r, QStringLiteral("Nom"), {QStringLiteral("a")});
    EXPECT_TRUE(none.isEmpty());
}

TEST(ChartDataTest, ValueTexts)
{
    const struct {
        const char *text;
        double value;
        bool ok;
    } cases[] = {{"1 234,50 €", 1234.5, true},
                 {"-12,5", -12.5, true},
                 {"- 3", -3, true},
                 {"total -x 4", 4, true},
                 {"1.234.567,8", 1234567.8, true},
                 {"12.5", 12.5, true},
                 {"1\xC2\xA0"
                  "000",
                  1000, true},
                 {"EUR 40", 40, true},
                 {"aucun", 0, false},
                 {"", 0, false}};
    for (const auto &c : cases) {
        bool ok = !c.ok;
        EXPECT_DOUBLE_EQ(frChartValue(QString::fromUtf8(c.text), &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST(ChartDataTest, TopPointsSortNumerically)
{
    const QList<FrChartPoint> points = {{QStringLiteral("a"), 5},
                                        {QStringLiteral("b"), 150000000},
                                        {QStringLiteral("c"), -2},
                                        {QStringLiteral("d"), 7},
                                        {QStringLiteral("e"), 40}};
    EXPECT_EQ(frTopPoints(points, 3, QStringLiteral("Autres")),
              QList<FrChartPoint>({{QStringLiteral("d"), 7},
                                   {QStringLiteral("e"), 40},
                                   {QStringLiteral("b"), 150000000},
                                   {QStringLiteral("Autres"), 3}}));
    EXPECT_EQ(frTopPoints(points, 3, QString()).size(), 3);
    EXPECT_EQ(frTopPoints(points, 5, QStringLiteral("Autres")), points);
    EXPECT_EQ(frTopPoints(points, 0, QStringLiteral("Autres")), points);
    // Equal values: by label in Windows-1252 order ("é" after "z").
    const QList<FrChartPoint> ties = {{QStringLiteral("été"), 1},
                                      {QStringLiteral("zoo"), 1},
                                      {QStringLiteral("abc"), 1},
                                      {QStringLiteral("x"), 0}};
    EXPECT_EQ(frTopPoints(ties, 2, QString()),
              QList<FrChartPoint>({{QStringLiteral("zoo"), 1}, {QStringLiteral("été"), 1}}));
}

} // namespace
} // namespace report::test
