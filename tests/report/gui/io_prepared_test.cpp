// Prepared pages: entries, object records, drawing through the cached
// picture, ".frp" files in their three forms and damaged files.
#include "io_support.h"
#include "io_template_builder.h"

#include "platform/canvas/recordingcanvas.h"
#include "platform/canvas/textmeasurer.h"
#include "report/core/frexceptions.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"

using namespace report;
using namespace report::test;

namespace
{

// Flips every byte: a compressor whose output differs from its input.
class XorCompressor : public TfrCompressor
{
public:
    void Compress(FrStream &source, FrStream &target) override { flip(source, target); }
    void DeCompress(FrStream &source, FrStream &target) override { flip(source, target); }

private:
    static void flip(FrStream &source, FrStream &target)
    {
        QByteArray bytes = source.readBytes(source.remaining());
        for (char &c : bytes)
            c = char(c ^ 0x5A);
        target.write(bytes);
    }
};

void addPrepared(TfrEMFPage &entry, TfrView &view)
{
    FrRestore<quint8> version(fr().frTemplateVersion, quint8(24));
    view.Prepared = true;
    view.Memo1 = view.Memo;
    view.WriteTypeCode(*entry.Stream);
    view.SaveToStream(*entry.Stream);
}

class PreparedTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        frObjects().setMeasurer(&measurer);
        report = std::make_unique<TfrReport>();
        report->makeCurrent();
    }
    void TearDown() override
    {
        report.reset();
        ReportLibraryTest::TearDown();
    }

    // Page n: a title memo, a framed memo of two lines and a line.
    void addFilledPage(int n, int orientation = 0)
    {
        TfrPage page(9, 0, 0, kFrDefaultBin, orientation);
        page.LeftMargin = 10 + n;
        page.UseMargins = n % 2 ? 0 : 0xFFFF;
        pages().AddPage(page);
        TfrEMFPage &entry = *pages().Entry(pages().Count() - 1);
        TfrMemoView title;
        title.Name = QStringLiteral("Titre");
        title.SetBounds(20, 20, 300, 20);
        title.Memo = QStringList{QStringLiteral("Page %1").arg(n) + QChar(1)};
        addPrepared(entry, title);
        TfrMemoView framed;
        framed.Name = QStringLiteral("Cadre");
        framed.SetBounds(20, 60, 200, 40);
        framed.FrameTyp = 15;
        framed.Memo =
            QStringList{QStringLiteral("Première ligne"), QStringLiteral("fin") + QChar(1)};
        addPrepared(entry, framed);
        TfrLineView line;
        line.Name = QStringLiteral("Trait");
        line.SetBounds(20, 700, 500, 0);
        addPrepared(entry, line);
    }

    TfrEMFPages &pages() { return report->EMFPages(); }

    QByteArray saved()
    {
        FrMemoryStream stream;
        pages().SaveToStream(stream);
        return stream.data();
    }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    std::unique_ptr<TfrReport> report;
};

TEST_F(PreparedTest, FilesRoundTripByteForByteForZeroOneAndThreePages)
{
    const QByteArray empty = saved();
    EXPECT_EQ(empty.toHex(),
              Bytes().byte(24).byte(0).str("Imprimante virtuelle").int32(0).data.toHex());
    for (int count : {1, 3}) {
        pages().Clear();
        for (int n = 1; n <= count; ++n)
            addFilledPage(n, n == 2 ? 1 : 0);
        const QByteArray bytes = saved();
        FrMemoryStream in(bytes);
        TfrReport other;
        other.EMFPages().LoadFromStream(in);
        ASSERT_EQ(other.EMFPages().Count(), count);
        FrMemoryStream out;
        other.EMFPages().SaveToStream(out);
        EXPECT_EQ(out.data(), bytes) << count;
        const TfrEMFPage &first = *other.EMFPages().Entry(0);
        EXPECT_EQ(first.Size, 9);
        EXPECT_EQ(first.Margins[0], 11);
        EXPECT_EQ(first.BoundByMargins, 0);
        EXPECT_EQ(first.PrinterGeometry.Pgw, 758);
        if (count == 3) {
            EXPECT_EQ(other.EMFPages().Entry(1)->Orientation, 1);
        }
    }
}

TEST_F(PreparedTest, TextDumpOfHandFilledPages)
{
    addFilledPage(1);
    addFilledPage(2, 1);
    expectGolden(QStringLiteral("prepared_dump.txt"), pages().Dump().toUtf8());
    // The dump leaves pages that were not built unbuilt.
    EXPECT_EQ(pages().Entry(0)->Page, nullptr);
}

TEST_F(PreparedTest, BuildStoreAndRebuildAfterAnEdit)
{
    addFilledPage(1);
    pages().BuildPageObjects(0);
    TfrPage *page = pages().Entry(0)->Page.get();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->ObjectCount(), 3);
    EXPECT_EQ(frObjects().frCurrentPage, page);
    auto *framed = dynamic_cast<TfrMemoView *>(page->FindObject(QStringLiteral("cadre")));
    ASSERT_NE(framed, nullptr);
    EXPECT_FALSE(framed->Prepared);
    EXPECT_EQ(framed->Memo.size(), 2);
    framed->Memo = QStringList{QStringLiteral("Texte corrigé") + QChar(1)};
    pages().StorePageObjects(0);
    pages().BuildPageObjects(0);
    framed =
        dynamic_cast<TfrMemoView *>(pages().Entry(0)->Page->FindObject(QStringLiteral("Cadre")));
    ASSERT_NE(framed, nullptr);
    EXPECT_EQ(framed->Memo, QStringList{QStringLiteral("Texte corrigé") + QChar(1)});
    EXPECT_EQ(pages().Entry(0)->Page->ObjectCount(), 3);
}

TEST_F(PreparedTest, InsertDeleteAndClear)
{
    addFilledPage(1);
    TfrPage landscape(11, 0, 0, 4, 1);
    landscape.TopMargin = 33;
    pages().InsertPage(0, landscape);
    ASSERT_EQ(pages().Count(), 2);
    const TfrEMFPage &inserted = *pages().Entry(0);
    EXPECT_EQ(std::tuple(inserted.Size, inserted.Orientation, inserted.Margins[1],
                         inserted.PrinterGeometry),
              std::tuple(11, 1, 33, landscape.PrnInfo));
    EXPECT_EQ(inserted.Stream->data(), QByteArray(1, char(24)));
    pages().InsertPage(99, landscape);
    EXPECT_EQ(pages().Count(), 3);
    pages().DeletePage(0);
    pages().DeletePage(42);
    EXPECT_EQ(pages().Count(), 2);
    EXPECT_EQ(pages().Entry(0)->Size, 9);
    pages().Clear();
    EXPECT_EQ(pages().Count(), 0);
    EXPECT_EQ(pages().Entry(0), nullptr);
}

TEST_F(PreparedTest, DrawingSkipsWhatLiesOutsideTheClip)
{
    addFilledPage(1);
    TfrEMFPage &entry = *pages().Entry(0);
    platform::RecordingCanvas hidden(measurer, QRect(0, 0, 758, 1071));
    pages().DrawPage(0, hidden, QRect(0, 0, 758, 1071));
    EXPECT_TRUE(hidden.displayList().isEmpty()); // not shown: nothing, no objects
    EXPECT_EQ(entry.Page, nullptr);

    entry.Shown = 1;
    platform::RecordingCanvas all(measurer, QRect(0, 0, 758, 1071));
    pages().DrawPage(0, all, QRect(0, 0, 758, 1071));
    const QString full = all.displayList().dump();
    EXPECT_TRUE(full.contains(QStringLiteral("Page 1")));
    EXPECT_TRUE(full.contains(QStringLiteral("fin")));
    ASSERT_NE(entry.Page, nullptr);

    platform::RecordingCanvas top(measurer, QRect(0, 0, 758, 1071));
    top.setClipRect(QRect(0, 0, 758, 50));
    pages().DrawPage(0, top, QRect(0, 0, 758, 1071));
    const QString clipped = top.displayList().dump();
    EXPECT_TRUE(clipped.contains(QStringLiteral("Page 1")));
    EXPECT_FALSE(clipped.contains(QStringLiteral("Première")));

    // Positions read from a file may be anything: far objects are skipped.
    entry.Page->Objects.front()->SetBounds(1 << 30, 1 << 30, 1 << 30, 1 << 30);
    platform::RecordingCanvas far(measurer, QRect(0, 0, 758, 1071));
    pages().DrawPage(0, far, QRect(0, 0, 758, 1071));
    EXPECT_FALSE(far.displayList().dump().contains(QStringLiteral("Page 1")));
    EXPECT_TRUE(far.displayList().dump().contains(QStringLiteral("fin")));

    entry.PrinterGeometry = TfrPrnInfo();
    platform::RecordingCanvas zero(measurer, QRect(0, 0, 758, 1071));
    pages().DrawPage(0, zero, QRect(0, 0, 758, 1071));
    EXPECT_TRUE(zero.displayList().isEmpty());
}

TEST_F(PreparedTest, PictureIsRecordedOnceAndReplayedAtAnyScale)
{
    addFilledPage(1);
    TfrEMFPage &entry = *pages().Entry(0);
    platform::RecordingCanvas direct(measurer, QRect(0, 0, 758, 1071));
    entry.Shown = 1;
    // The picture is the page as printed.
    frObjects().frDocMode = 1;
    pages().DrawPage(0, direct, QRect(0, 0, 758, 1071));
    frObjects().frDocMode = 0;
    entry.Shown = 0;
    entry.Page.reset();

    platform::RecordingCanvas first(measurer, QRect(0, 0, 758, 1071));
    pages().Draw(0, first, QRect(0, 0, 758, 1071));
    ASSERT_NE(entry.Picture, nullptr);
    EXPECT_EQ(entry.Page, nullptr); // the picture is what stays
    EXPECT_EQ(first.displayList().dump(), direct.displayList().dump());

    // Changing the stream does not change the cached picture.
    entry.Stream = std::make_unique<FrMemoryStream>(QByteArray(1, char(24)));
    platform::RecordingCanvas doubled(measurer, QRect(0, 0, 1516, 2142));
    pages().Draw(0, doubled, QRect(10, 20, 1516, 2142));
    const auto runs = doubled.displayList().textRuns();
    ASSERT_FALSE(runs.isEmpty());
    const auto firstRuns = first.displayList().textRuns();
    EXPECT_EQ(runs.first().text, firstRuns.first().text);
    EXPECT_EQ(runs.first().rect.left(), firstRuns.first().rect.left() * 2 + 10);

    platform::RecordingCanvas none(measurer, QRect(0, 0, 10, 10));
    pages().Draw(0, none, QRect());
    EXPECT_EQ(entry.Picture, nullptr);
    EXPECT_TRUE(none.displayList().isEmpty());
}

// Heights of the horizontal strokes a display list holds.
QList<int> ruleHeights(const platform::DisplayList &list)
{
    QList<int> ys;
    for (const auto &item : list.items)
        if (const auto *line = std::get_if<platform::DlPolyline>(&item))
            if (line->points.size() == 2 && line->points[0].y() == line->points[1].y())
                ys.append(line->points[0].y());
    return ys;
}

// Underlines of a memo read from a file: one a line on a plain page; a
// damaged height on a page declared a hundred metres high records no more
// rules than a page of five metres could show at one a pixel, all on the
// page; drawn into a preview's clip, only the rules within it.
TEST_F(PreparedTest, UnderlinesStayWithinWhatThePageCanShow)
{
    struct Case {
        int pageTenths, memoHeight, lineSpacing;
        QRect clip; // empty: the whole page picture through its cache
        int atLeast, atMost;
    };
    const Case cases[] = {
        {2970, 150, 2, {}, 10, 10}, // 13 px font + 2: 150 px hold 10 lines
        {1000000, 1 << 30, -12, {}, 1000, 20000},
        {1000000, 1 << 30, -12, QRect(0, 0, 758, 50), 1, 52},
    };
    for (const Case &c : cases) {
        pages().Clear();
        TfrPage page(kFrCustomPaper, 2100, c.pageTenths, kFrDefaultBin, 0);
        pages().AddPage(page);
        TfrEMFPage &entry = *pages().Entry(0);
        TfrMemoView memo;
        memo.SetBounds(20, 40, 300, c.memoHeight);
        memo.Flags = flUnderlines;
        memo.LineSpacing = c.lineSpacing;
        addPrepared(entry, memo);
        QList<int> ys;
        const int pageHeight = entry.PrinterGeometry.Pgh;
        if (c.clip.isEmpty()) {
            platform::RecordingCanvas preview(measurer, QRect(0, 0, 758, 1071));
            pages().Draw(0, preview, QRect(0, 0, 758, 1071));
            ASSERT_NE(entry.Picture, nullptr);
            ys = ruleHeights(*entry.Picture);
        } else {
            entry.Shown = 1;
            FrRestore<int> printed(frObjects().frDocMode, 1); // no design marks
            platform::RecordingCanvas preview(measurer, QRect(0, 0, 758, 1071));
            preview.setClipRect(c.clip);
            pages().DrawPage(0, preview, QRect(0, 0, 758, 1071));
            ys = ruleHeights(preview.displayList());
        }
        EXPECT_GE(ys.size(), c.atLeast) << c.pageTenths << " " << c.clip.height();
        EXPECT_LE(ys.size(), c.atMost) << c.pageTenths << " " << c.clip.height();
        const int bottom = c.clip.isEmpty() ? pageHeight : c.clip.bottom() + 2;
        for (int y : ys)
            ASSERT_TRUE(y >= 0 && y <= bottom) << y;
    }
}

TEST_F(PreparedTest, CompressedFilesNeedTheSameCompressor)
{
    addFilledPage(1);
    addFilledPage(2);
    const QByteArray plain = saved();
    fr().frCompressor = std::make_unique<XorCompressor>();
    fr().frCompressor->Enabled = true;
    const QByteArray packed = saved();
    ASSERT_EQ(packed.size(), plain.size());
    EXPECT_EQ(quint8(packed.at(1)), 1);
    EXPECT_NE(packed, plain);

    TfrReport other;
    FrMemoryStream in(packed);
    other.EMFPages().LoadFromStream(in);
    ASSERT_EQ(other.EMFPages().Count(), 2);
    EXPECT_EQ(other.EMFPages().Entry(1)->Stream->data(), pages().Entry(1)->Stream->data());

    // The built-in compressor stores data unchanged: the packed pages cannot
    // be read, and the file is refused whole, the pages read before kept.
    fr().frCompressor = std::make_unique<TfrCompressor>();
    FrMemoryStream again(packed);
    EXPECT_THROW(other.EMFPages().LoadFromStream(again), EFrStreamError);
    EXPECT_EQ(other.EMFPages().Entry(1)->Stream->data(), pages().Entry(1)->Stream->data());
}

TEST_F(PreparedTest, VersionlessFileHasNoBinNorMargins)
{
    addFilledPage(1);
    const QByteArray data = pages().Entry(0)->Stream->data();
    const QByteArray header = Bytes().byte(0).str("Imprimante virtuelle").int32(1).data;
    const qint32 end = qint32(header.size() + 4 + 2 + 4 + 4 + 1 + 1 + data.size());
    const QByteArray file =
        header + Bytes().int32(end).word(11).int32(1480).int32(2100).byte(1).byte(1).raw(data).data;
    TfrReport other;
    FrMemoryStream in(file);
    other.EMFPages().LoadFromStream(in);
    ASSERT_EQ(other.EMFPages().Count(), 1);
    const TfrEMFPage &entry = *other.EMFPages().Entry(0);
    EXPECT_EQ(
        std::tuple(entry.Size, entry.Bin, entry.Orientation, entry.BoundByMargins, entry.Margins),
        std::tuple(11, -1, 1, 1, (std::array<qint32, 4>{0, 0, 0, 0})));
    EXPECT_EQ(entry.Stream->data(), data);
    other.EMFPages().BuildPageObjects(0);
    EXPECT_EQ(other.EMFPages().Entry(0)->Page->ObjectCount(), 3);
}

TEST_F(PreparedTest, OlderFilesHoldOneMetafilePerPage)
{
    const QByteArray metafile("\x01\x00\x00\x00EMF-octets-gardes", 21);
    Bytes b;
    b.strz("Imprimante virtuelle").int32(2);
    for (int n = 0; n < 2; ++n) {
        const qint32 end = qint32(b.data.size() + 4 + 2 + 4 + 4 + 1 + 1 + metafile.size());
        b.int32(end).word(9).int32(2100).int32(2970).byte(n).byte(1).raw(metafile);
    }
    TfrReport other;
    other.PrinterName = QStringLiteral("avant");
    FrMemoryStream in(b.data);
    other.EMFPages().LoadFromStream(in);
    EXPECT_EQ(other.PrinterName, QStringLiteral("Imprimante virtuelle"));
    ASSERT_EQ(other.EMFPages().Count(), 2);
    const TfrEMFPage &entry = *other.EMFPages().Entry(1);
    EXPECT_EQ(std::tuple(entry.Bin, entry.Orientation), std::tuple(-1, 1));
    other.EMFPages().BuildPageObjects(1);
    ASSERT_EQ(entry.Page->ObjectCount(), 1);
    auto *picture = dynamic_cast<TfrPictureView *>(entry.Page->Object(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Picture.kind(), FrPicture::Metafile);
    EXPECT_EQ(picture->Picture.bytes(), metafile);
    EXPECT_EQ(QRect(picture->x, picture->y, picture->dx, picture->dy),
              QRect(0, 0, entry.PrinterGeometry.Pgw, entry.PrinterGeometry.Pgh));
}

TEST_F(PreparedTest, DamagedFilesFailAndKeepThePreviousPages)
{
    addFilledPage(1);
    addFilledPage(2);
    const QByteArray good = saved();
    const QByteArray before0 = pages().Entry(0)->Stream->data();
    const qsizetype countAt = 2 + 2 + 20 + 1;
    auto withInt = [&good](qsizetype at, qint32 value) {
        return QByteArray(good).replace(at, 4, Bytes().int32(value).data);
    };
    const qsizetype firstEnd = countAt + 4;
    const QList<QByteArray> damaged{
        withInt(countAt, 3),                         // more pages than the file holds
        withInt(countAt, -1),                        // negative count
        withInt(countAt, 0x7FFFFFFF),                // absurd count
        withInt(firstEnd, 3),                        // end before the record
        withInt(firstEnd, qint32(good.size()) + 10), // end past the file
        good.left(good.size() - 1),                  // cut in the last page
        good.left(firstEnd + 2),                     // cut in an end offset
    };
    for (const QByteArray &bytes : damaged) {
        FrMemoryStream in(bytes);
        EXPECT_THROW(pages().LoadFromStream(in), EFrStreamError) << bytes.size();
        ASSERT_EQ(pages().Count(), 2);
        EXPECT_EQ(pages().Entry(0)->Stream->data(), before0);
    }
}

// A page record holding a paper or a margin the designer would not accept
// for a page is refused, naming the file and the value; the bounds load.
TEST_F(PreparedTest, PapersAndMarginsBeyondAPageAreRefusedNamingTheFile)
{
    addFilledPage(1);
    const QByteArray good = saved();
    const qsizetype page = 2 + 2 + 20 + 1 + 4 + 4; // the first record's size code
    const QString path = tempPath(QStringLiteral("abime.frp"));
    struct Case {
        qsizetype at; // from the size code: width 2, height 6, margins 16 to 28
        qint32 value;
        const char *shown = nullptr, *bound = nullptr; // the refusal's; nothing: loads
    } cases[] = {
        {6, 2000000000, "200 000 000 mm", "la hauteur du papier : de 1"},
        {2, 9, "0,9 mm", "la largeur du papier : de 1"},
        {16, -1, "-0,3 mm", "la marge gauche : de 0"},
        {28, 36001, "10 000,3 mm", "la marge du bas : de 0"},
        {2, 10},
        {6, 100000},
        {20, 36000},
    };
    for (const Case &c : cases) {
        QByteArray bytes = good;
        bytes.replace(page, 2, Bytes().word(kFrCustomPaper).data);
        bytes.replace(page + c.at, 4, Bytes().int32(c.value).data);
        writeFileBytes(path, bytes);
        TfrReport other;
        try {
            other.LoadPreparedFile(path);
            EXPECT_EQ(c.shown, nullptr) << c.value;
            EXPECT_EQ(other.EMFPages().Count(), 1);
        } catch (const EFrStreamError &e) {
            ASSERT_NE(c.shown, nullptr) << c.value;
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Le fichier %1 n'a pas pu être lu.\n\nPage 1 : '%2' "
                                     "n'est pas une valeur correcte pour %3 à 10 000 mm")
                          .arg(path, QString::fromUtf8(c.shown), QString::fromUtf8(c.bound)));
        }
    }
}

} // namespace
