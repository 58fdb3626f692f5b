// What the objects do while a report is built: export hand-off, automatic
// width, split lines, run-time band set-up, blob fields and the data set of
// the band being printed; and one memo block painted with the real fonts.
#include "objects_fixture.h"

#include "platform/canvas/qpaintercanvas.h"
#include "platform/text/codec.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/objects/frband.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <limits>

#include <sys/stat.h>

namespace report::test
{
namespace
{

class ObjectsRuntimeTest : public ObjectsTest
{
};

TEST_F(ObjectsRuntimeTest, ExportedMemoHandsEachLineWithItsEdges)
{
    FrObjectGlobals &g = frObjects();
    g.frDocMode = 1;
    struct Line {
        int x, y;
        quint16 edges;
        QString text;
    };
    QList<Line> lines;
    QList<QPoint> objects;
    g.exportText = [&lines](const QRect &, int x, TfrView *, quint16 edges, const QString &text,
                            int y) {
        lines.append({x, y, edges, text});
    };
    g.exportObject = [&objects](TfrView *, int x, int y) { objects.append({x, y}); };
    TfrMemoView m;
    m.SetBounds(10, 20, 200, 60);
    m.FrameTyp = 15;
    m.Memo = {QStringLiteral("un"), QStringLiteral("deux"), QStringLiteral("trois")};
    m.PassToExportFilter();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0], QPoint(10, 20));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].edges, frftRight | frftLeft | frftTop);
    EXPECT_EQ(lines[1].edges, frftRight | frftLeft);
    EXPECT_EQ(lines[2].edges, frftRight | frftLeft | frftBottom);
    EXPECT_EQ(lines[1].text, QStringLiteral("deux"));
    EXPECT_EQ(lines[1].y, lines[0].y + 15);
    EXPECT_FALSE(m.Exporting);
    // A single line keeps every edge.
    lines.clear();
    m.Memo = {QStringLiteral("seul")};
    m.PassToExportFilter();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].edges, 15);
}

TEST_F(ObjectsRuntimeTest, AutoWidthFollowsTheWidestLineWhenPrinting)
{
    frObjects().frDocMode = 1;
    platform::RecordingCanvas canvas(measurer);
    // Drawn with auto width from 100 px, 300 px wide.
    auto draw = [&canvas](TfrMemoView &memo, const QStringList &lines) {
        memo.SetBounds(100, 0, 300, 40);
        memo.Flags |= flAutoWidth;
        memo.Memo = lines;
        memo.Draw(canvas);
    };
    TfrMemoView m;
    draw(m, {QStringLiteral("abcdef"), QStringLiteral("ab")});
    // 42 px of text + frame 1 + gaps 4 + 1.
    EXPECT_EQ(std::tuple(m.dx, m.x), std::tuple(48, 100));
    TfrMemoView r;
    r.Alignment = frtaRight;
    draw(r, {QStringLiteral("abcdef")});
    EXPECT_EQ(r.dx, 48);
    EXPECT_EQ(r.x + r.dx, 400); // the right edge stays
    // Designing leaves the size alone.
    frObjects().frDocMode = 0;
    TfrMemoView d;
    draw(d, {QStringLiteral("abcdef")});
    EXPECT_EQ(d.dx, 300);
}

TEST_F(ObjectsRuntimeTest, SplitLinePrintsWhatRemainsOnTheNextPage)
{
    frObjects().frDocMode = 1;
    TfrLineView line;
    line.Prepared = true;
    line.SetBounds(10, 0, 0, 300);
    EXPECT_EQ(line.ContentHeight(), 300);
    EXPECT_EQ(line.HeightLeftToPrint(), 300);
    EXPECT_EQ(line.MinSplitHeight(), 1);
    line.DrawMode = 2;
    line.dy = 120;
    FrMemoryStream page;
    line.WriteToPreparedPage(page);
    EXPECT_EQ(line.HeightLeftToPrint(), 180);
    EXPECT_EQ(page.data().at(0), char(otLine));
}

TEST_F(ObjectsRuntimeTest, RunTimeBandsTakeTheirRecordSourceOrCondition)
{
    ListReport report;
    ListPage &page = report.addPage();
    FrObjectGlobals &g = frObjects();
    g.frCurrentReport = &report;
    TfrUserDataset own;
    struct SimpleReport : ListReport {
        TfrDataset *source = nullptr;
        TfrDataset *ReportDataset() const override { return source; }
    } simple;
    simple.source = &own;
    g.frCurrentReport = &simple;

    TfrBandView *group = page.add<TfrBandView>(QStringLiteral("Group"));
    group->SetBandType(btGroupHeader);
    TfrBand groupBand(group, &page);
    groupBand.SetDataSource(QStringLiteral("[Club] + 'x'"));
    EXPECT_EQ(groupBand.Condition, fr().frGlobalParser->ConvertToPostfix("[Club] + 'x'"));
    EXPECT_EQ(groupBand.DataSet(), nullptr);

    TfrBandView *data = page.add<TfrBandView>(QStringLiteral("Data"));
    data->SetBandType(btMasterData);
    TfrBand dataBand(data, &page);
    dataBand.SetDataSource(QString());
    EXPECT_EQ(dataBand.DataSet(), &own);
    EXPECT_FALSE(dataBand.OwnsDataSet());
    dataBand.ChangeDataSource(QStringLiteral("4"));
    ASSERT_TRUE(dataBand.OwnsDataSet());
    EXPECT_EQ(dataBand.DataSet()->RangeEndCount, 4);
    // A list of values (vertical bands) names no source.
    TfrBandView *detail = page.add<TfrBandView>(QStringLiteral("Detail"));
    detail->SetBandType(btDetailData);
    TfrBand detailBand(detail, &page);
    detailBand.SetDataSource(QStringLiteral("a=1;b=2"));
    EXPECT_EQ(detailBand.DataSet(), nullptr);
    EXPECT_EQ(data->Parent, &dataBand);
}

TEST_F(ObjectsRuntimeTest, DataSetOfTheBandBeingPrinted)
{
    struct BandPage : ListPage {
        TfrBand *master = nullptr;
        TfrBand *BandOfType(int t) const override { return t == btMasterData ? master : nullptr; }
    } page;
    FrMemoryDataSet table;
    table.addField(QStringLiteral("Nom"), ftString);
    TfrDBDataSet source;
    source.setDataSet(&table);
    TfrBandView *data = page.add<TfrBandView>(QStringLiteral("Data"));
    data->SetBandType(btMasterData);
    TfrBand master(data, &page);
    page.master = &master;
    FrObjectGlobals &g = frObjects();
    EXPECT_EQ(frCurrentDBDataSet(), nullptr);
    g.frCurrentPage = &page;
    TfrBandView *header = page.add<TfrBandView>(QStringLiteral("Header"));
    header->SetBandType(btPageHeader);
    TfrBand headerBand(header, &page);
    g.frCurrentBand = &headerBand;
    EXPECT_EQ(frCurrentDBDataSet(), nullptr); // the master band has no source yet
    master.SetDataSet(&source);
    EXPECT_EQ(frCurrentDBDataSet(), &table);
    // A source that is not a database one gives none.
    TfrUserDataset user;
    master.SetDataSet(&user);
    EXPECT_EQ(frCurrentDBDataSet(), nullptr);
    master.SetDataSet(&source);
    TfrBandView *detail = page.add<TfrBandView>(QStringLiteral("Detail"));
    detail->SetBandType(btDetailData);
    TfrBand detailBand(detail, &page);
    g.frCurrentBand = &detailBand;
    EXPECT_EQ(frCurrentDBDataSet(), nullptr);
    g.frCurrentBand = &headerBand;
    FrMemoryDataSet dialogTable;
    struct DialogPage : BandPage {
        int PageType() const override { return ptDialog; }
    } dialog;
    dialog.master = &master;
    g.frCurrentPage = &dialog;
    EXPECT_EQ(frCurrentDBDataSet(), nullptr);
    g.frCurrentBand = nullptr;
    g.frCurrentPage = nullptr;
}

TEST_F(ObjectsRuntimeTest, BlobFieldsFillMemosAndPictures)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    FrMemoryDataSet table;
    table.addField(QStringLiteral("Photo"), ftBlob);
    table.addField(QStringLiteral("Notes"), ftMemo);
    table.appendRow({FrVariant(platform::fromAnsi(bmp)), FrVariant(QStringLiteral("l1\r\nl2"))});
    table.appendRow({FrVariant::null(), FrVariant(QString())});
    table.open();
    table.first();
    TfrPictureView pic;
    pic.LoadFromBlobField(table.findField(QStringLiteral("Photo")));
    EXPECT_EQ(pic.Picture.kind(), FrPicture::Bitmap);
    EXPECT_EQ(pic.Picture.size(), QSize(4, 3));
    TfrMemoView memo;
    memo.LoadFromBlobField(table.findField(QStringLiteral("Notes")));
    EXPECT_EQ(memo.Memo1, (QStringList{"l1", "l2"}));
    // Through the report's before-print step, for views bound to the field.
    ListReport report;
    memo.DataSet = &table;
    memo.DataField = QStringLiteral("Notes");
    memo.Memo1.clear();
    report.BeforePrintObject(memo.Memo1, &memo);
    EXPECT_EQ(memo.Memo1, (QStringList{"l1", "l2"}));
    table.next();
    pic.LoadFromBlobField(table.findField(QStringLiteral("Photo")));
    EXPECT_TRUE(pic.Picture.isEmpty());
}

// Painted with Qt's measurer and the metric twin of Arial; compared with a
// checked-in image, allowing for small anti-aliasing differences.
TEST_F(ObjectsRuntimeTest, MemoBlockPaintsAsTheGoldenImage)
{
    platform::installFontSubstitutions();
    frObjects().setMeasurer(nullptr);
    frObjects().frDocMode = 1;
    TfrMemoView m;
    m.SetBounds(4, 4, 230, 90);
    m.FrameTyp = 15;
    m.FillColor = 0xF0F0F0;
    m.Alignment = frtaJustify;
    m.Memo = {QStringLiteral("Le comité régional organise les épreuves de la saison : "
                             "les équipes qualifiées se retrouvent au centre désigné."),
              QStringLiteral("Fin.")};
    QImage image(240, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::QPainterCanvas canvas(&image, &frObjects().measurer());
        m.Draw(canvas);
    }
    const QString path = dataPath(QStringLiteral("memo_block.png"));
    if (qEnvironmentVariableIsSet("VORN_UPDATE_GOLDEN")) {
        ASSERT_TRUE(image.save(path));
        return;
    }
    QImage golden(path);
    ASSERT_FALSE(golden.isNull());
    golden = golden.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), image.size());
    int differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = golden.pixel(x, y);
            if (std::abs(qGray(a) - qGray(b)) > 64)
                ++differing;
        }
    EXPECT_LT(differing, image.width() * image.height() / 200) << differing;
}

TEST_F(ObjectsRuntimeTest, PreparedRecordsOfPlainViewsExpandTheTagAndFollowTheBand)
{
    useFieldMap();
    fields[QStringLiteral("N")] = QStringLiteral("7");
    FrObjectGlobals &g = frObjects();
    g.frDocMode = 1;
    ListPage page;
    TfrBandView *bandView = page.add<TfrBandView>(QStringLiteral("Band1"), 0, 200, 700, 50);
    bandView->SetBandType(btCrossData);
    TfrBand band(bandView, &page);
    g.frCurrentBand = &band;
    TfrPictureView pic;
    pic.Prepared = true;
    pic.SetBounds(10, 0, 30, 20);
    pic.Tag = QStringLiteral("n°[N]");
    pic.BandAlign = baBottom;
    pic.Script.clear();
    FrMemoryStream out;
    pic.WriteToPreparedPage(out);
    EXPECT_EQ(pic.Tag, QStringLiteral("n°[N]"));
    FrMemoryStream in(out.data());
    ASSERT_EQ(frReadByte(in), otPicture);
    TfrPictureView read;
    read.Prepared = true;
    read.LoadFromStream(in);
    EXPECT_EQ(read.Tag, QStringLiteral("n°7"));
    EXPECT_EQ(read.y, 230); // band top + band height - height
    // A memo as wide as a cross band is written without its alignment.
    TfrMemoView memo;
    memo.Prepared = true;
    memo.SetBounds(0, 0, 10, 20);
    memo.BandAlign = baWidth;
    FrMemoryStream out2;
    memo.WriteToPreparedPage(out2);
    EXPECT_EQ(memo.BandAlign, baWidth);
    FrMemoryStream in2(out2.data());
    frReadByte(in2);
    TfrMemoView read2;
    read2.Prepared = true;
    read2.LoadFromStream(in2);
    EXPECT_EQ(std::tuple(read2.dx, read2.BandAlign), std::tuple(700, baNone));
    // Invisible views write nothing.
    pic.Visible = 0;
    FrMemoryStream none;
    pic.WriteToPreparedPage(none);
    EXPECT_EQ(none.size(), 0);
    g.frCurrentBand = nullptr;
}

TEST_F(ObjectsRuntimeTest, BandClipRegionHoldsTheTitleTab)
{
    fr().frBandNames.clear();
    for (int i = 0; i < 23; ++i)
        fr().frBandNames << QStringLiteral("B");
    TfrBandView band;
    band.SetBounds(0, 100, 700, 40);
    band.SetBandType(btMasterData);
    const QRegion r = band.GetClipRegion(false);
    EXPECT_TRUE(r.contains(QPoint(50, 90)));   // the tab above the band
    EXPECT_FALSE(r.contains(QPoint(150, 90))); // tabs are 100 px long at least
    EXPECT_TRUE(r.contains(QPoint(700, 140)));
    frObjects().frBandTitles = false;
    EXPECT_FALSE(band.GetClipRegion(false).contains(QPoint(50, 90)));
    band.SetBandType(btCrossHeader);
    frObjects().frBandTitles = true;
    EXPECT_TRUE(band.GetClipRegion(false).contains(QPoint(-10, 150)));
}

TEST_F(ObjectsRuntimeTest, PicturesNameTheirBlobKindsAndLoadFiles)
{
    TfrPictureView pic;
    EXPECT_EQ(fr().frConsts->GetVariable(QStringLiteral("btWMF")).toInt(), 3);
    EXPECT_EQ(fr().frConsts->GetVariable(QStringLiteral("btbmp")).toInt(), 0);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    const QString file = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(image.save(file));
    // The argument is an expression: a quoted file name here.
    pic.CallMethod(QStringLiteral("LoadFromFile"), QStringLiteral("'") + file + "'", {}, {});
    EXPECT_EQ(pic.Picture.kind(), FrPicture::Bitmap);
    EXPECT_EQ(pic.Picture.size(), QSize(6, 4));
    // Nor a pipe (never waited on) nor a device (endless) is read.
    const QString tube = dir.filePath(QStringLiteral("tube.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
    for (const QString &f : {QStringLiteral("nowhere.bmp"), tube, QStringLiteral("/dev/zero")}) {
        pic.CallMethod(QStringLiteral("LoadFromFile"), QStringLiteral("'") + file + "'", {}, {});
        pic.CallMethod(QStringLiteral("LOADFROMFILE"), QStringLiteral("'") + f + "'", {}, {});
        EXPECT_TRUE(pic.Picture.isEmpty()) << f.toStdString();
    }
    pic.SetPropertyValue(QStringLiteral("BlobType"), 2);
    pic.SetPropertyValue(QStringLiteral("Center"), true);
    EXPECT_EQ(pic.GetPropertyValue(QStringLiteral("BLOBTYPE")).toInt(), 2);
    EXPECT_TRUE(pic.GetPropertyValue(QStringLiteral("center")).toBool());
    EXPECT_TRUE(pic.GetPropertyValue(QStringLiteral("KeepAspect")).toBool());
}

// A page whose margins were read from a damaged file.
class FarMarginsPage : public ListPage
{
public:
    int LeftMarginPos() const override { return std::numeric_limits<int>::min(); }
    int RightMarginPos() const override { return std::numeric_limits<int>::max(); }
    int PageWidth() const override { return std::numeric_limits<int>::max(); }
    int PageHeight() const override { return std::numeric_limits<int>::max(); }
};

// Geometry at the ends of the integer range, set in code or aligned to far
// margins, is drawn without any sum overflowing (the sanitizer build stops
// on one), in the designer and on paper, and comes back as it was set.
TEST_F(ObjectsRuntimeTest, ViewsAtTheEndsOfTheIntegerRangeDraw)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    FrObjectGlobals &g = frObjects();
    struct Box {
        int x, y, w, h;
    };
    const QList<Box> bounds = {{kMax - 2, kMax - 2, 1, 1}, {kMax - 1, 0, 2, 2},
                               {0, 0, kMax, kMax},         {kMin, kMin, kMax, kMax},
                               {100, 100, kMax, 40},       {kMax, kMax, kMax, kMax}};
    const QList<quint8> aligns = {baNone, baLeft, baRight, baCenter, baWidth, baBottom};
    FarMarginsPage page;
    TfrBandView *band = page.add<TfrBandView>(QStringLiteral("Band1"), 0, 0, kMax, kMax);
    band->SetBandType(btMasterData);
    g.frCurrentPage = &page;
    for (int mode = 0; mode < 2; ++mode) {
        g.frDocMode = mode;
        for (const Box &r : bounds) {
            for (quint8 align : aligns) {
                std::vector<std::unique_ptr<TfrView>> views;
                auto memo = std::make_unique<TfrMemoView>();
                memo->Memo = QStringList{QStringLiteral("un deux trois"), QStringLiteral("[X")};
                memo->Flags = flWordWrap | flUnderlines;
                memo->Alignment = frtaCenter | frtaMiddle;
                views.push_back(std::move(memo));
                auto vertical = std::make_unique<TfrMemoView>();
                vertical->Memo = QStringList{QStringLiteral("vertical")};
                vertical->Alignment = frtaVertical | frtaDown | frtaRight;
                views.push_back(std::move(vertical));
                views.push_back(std::make_unique<TfrPictureView>());
                views.push_back(std::make_unique<TfrLineView>());
                views.push_back(std::make_unique<TfrSubReportView>());
                for (auto &v : views) {
                    SCOPED_TRACE(QStringLiteral("%1 mode %2 align %3 at %4,%5 %6x%7")
                                     .arg(v->ClassName())
                                     .arg(mode)
                                     .arg(align)
                                     .arg(r.x)
                                     .arg(r.y)
                                     .arg(r.w)
                                     .arg(r.h)
                                     .toStdString());
                    v->SetBounds(r.x, r.y, r.w, r.h);
                    v->FrameTyp = 0x0F;
                    v->FrameWidth = 3;
                    v->BandAlign = align;
                    platform::RecordingCanvas canvas(g.measurer(), QRect(0, 0, 800, 1100));
                    v->Draw(canvas);
                    (void)v->GetClipRegion(true);
                    if (align == baNone) {
                        // Only alignment moves a view (a line keeps its
                        // orientation by dropping one size).
                        EXPECT_EQ(std::tuple(v->x, v->y), std::tuple(r.x, r.y));
                    }
                }
            }
        }
        band->Draw(*std::make_unique<platform::RecordingCanvas>(g.measurer()));
        EXPECT_LE(band->dx, kFrMaxGeometry);
    }
    g.frCurrentPage = nullptr;
    g.frDocMode = 0;
}

} // namespace
} // namespace report::test
