// Drawing of the objects, compared as display-list dumps (fixed advances) with
// golden files, and a recorded scene replayed onto an image against direct
// painting.
#include "objects_fixture.h"

#include "platform/canvas/qpaintercanvas.h"

#include <QBuffer>
#include <QImage>

namespace report::test
{
namespace
{

class ObjectDrawingTest : public ObjectsTest
{
protected:
    void SetUp() override
    {
        ObjectsTest::SetUp();
        fr().frBandNames = {};
        for (int i = 0; i < 23; ++i)
            fr().frBandNames << QStringLiteral("Bande %1").arg(i);
    }
    QString draw(TfrView &view, int docMode = 1, double scale = 1.0)
    {
        frObjects().frDocMode = docMode;
        view.ScaleX = view.ScaleY = scale;
        platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
        view.Draw(canvas);
        return canvas.displayList().dump();
    }
};

TfrMemoView *memoFor(std::vector<std::unique_ptr<TfrMemoView>> &keep, qint32 alignment,
                     const QStringList &lines)
{
    keep.push_back(std::make_unique<TfrMemoView>());
    TfrMemoView *m = keep.back().get();
    m->SetBounds(10, 10, 120, 80);
    m->Alignment = alignment;
    m->Memo = lines;
    return m;
}

TEST_F(ObjectDrawingTest, MemoAlignmentsAndPlacement)
{
    std::vector<std::unique_ptr<TfrMemoView>> keep;
    const QStringList text = {QStringLiteral("un deux trois quatre cinq six"),
                              QStringLiteral("fin")};
    QString out;
    const struct {
        const char *label;
        qint32 alignment;
    } cases[] = {{"left", frtaLeft},
                 {"right", frtaRight},
                 {"center", frtaCenter},
                 {"justify", frtaJustify},
                 {"middle", frtaMiddle},
                 {"bottom", frtaDown | frtaCenter},
                 {"vertical", frtaVertical},
                 {"vertical-right", frtaVertical | frtaRight},
                 {"vertical-center", frtaVertical | frtaCenter}};
    for (const auto &c : cases) {
        TfrMemoView *m = memoFor(keep, c.alignment, text);
        out += QStringLiteral("== %1\n").arg(QLatin1String(c.label)) + draw(*m);
    }
    TfrMemoView *spaced = memoFor(keep, frtaLeft, text);
    spaced->CharSpacing = 2;
    spaced->LineSpacing = 6;
    spaced->Flags |= flUnderlines;
    spaced->FrameColor = 0x0000FF;
    out += QStringLiteral("== spaced-underlined\n") + draw(*spaced);
    TfrMemoView *designed = memoFor(keep, frtaLeft, {QStringLiteral("[UnChampBeaucoupTropLong]")});
    designed->dx = 60;
    out += QStringLiteral("== design-bracket\n") + draw(*designed, 0);
    expectGolden(QStringLiteral("draw_memo.txt"), out);
}

TEST_F(ObjectDrawingTest, JustificationSpreadsTheFreeWidthOverBlanks)
{
    TfrMemoView m;
    m.SetBounds(0, 0, 104, 40);
    m.Alignment = frtaJustify;
    m.Memo = {QStringLiteral("aa bb cc dd ee ff gg")};
    frObjects().frDocMode = 1;
    platform::RecordingCanvas canvas(measurer);
    m.Draw(canvas);
    QList<int> widths;
    for (const platform::TextRun &run : canvas.displayList().textRuns())
        widths << measurer.width(platform::FrFont(), run.text);
    const QList<platform::TextRun> runs = canvas.displayList().textRuns();
    ASSERT_EQ(runs.size(), 2);
    // First line "aa bb cc dd ee" (86 px) spans the drawing rectangle (105 px,
    // its right edge included) less both gaps: 15 px over 4 blanks.
    EXPECT_EQ(runs[0].text, QStringLiteral("aa bb cc dd ee"));
    EXPECT_EQ(runs[0].rect.width(), 101);
    // The paragraph's last line is left as it is.
    EXPECT_EQ(runs[1].text, QStringLiteral("ff gg"));
    EXPECT_EQ(runs[1].rect.width(), widths[1]);
}

TEST_F(ObjectDrawingTest, FramesAtTwoScales)
{
    QString out;
    for (double scale : {1.0, 1.5})
        for (quint16 style : {psSolid, psDash, psDot, psDashDot, psDashDotDot, psDouble}) {
            TfrMemoView m;
            m.SetBounds(20, 20, 60, 30);
            m.FrameTyp = 15;
            m.FrameWidth = style == psDouble ? 2 : 1;
            m.FrameStyle = style;
            m.FillColor = style == psDouble ? 0xC0C0C0 : platform::clNone;
            out +=
                QStringLiteral("== style %1 scale %2\n").arg(style).arg(scale) + draw(m, 1, scale);
        }
    TfrMemoView wide;
    wide.SetBounds(20, 20, 60, 30);
    wide.FrameTyp = frftLeft | frftBottom;
    wide.FrameWidth = 3;
    wide.FrameStyle = psDash;
    out += QStringLiteral("== wide dash\n") + draw(wide);
    TfrMemoView design;
    design.SetBounds(20, 20, 60, 30);
    out += QStringLiteral("== design corners\n") + draw(design, 0);
    expectGolden(QStringLiteral("draw_frames.txt"), out);
}

TEST_F(ObjectDrawingTest, BandsPicturesLinesAndSubreports)
{
    ListPage page;
    FrCountingDesigner designer;
    designer.Page = &page;
    frObjects().frCurrentDesigner = &designer;
    QString out;
    TfrBandView *band = page.add<TfrBandView>(QStringLiteral("Band1"), 0, 100, 0, 40);
    band->SetBandType(btMasterData);
    band->Columns = 2;
    out += QStringLiteral("== band titles on\n") + draw(*band, 0);
    frObjects().frBandTitles = false;
    out += QStringLiteral("== band titles off\n") + draw(*band, 0);
    frObjects().frBandTitles = true;
    TfrBandView *cross = page.add<TfrBandView>(QStringLiteral("Band2"), 300, 0, 60, 0);
    cross->SetBandType(btCrossData);
    out += QStringLiteral("== cross band\n") + draw(*cross, 0);
    EXPECT_EQ(cross->dy, 1071);

    TfrPictureView pic;
    pic.SetBounds(10, 10, 100, 40);
    pic.Flags = flStretched | flPictRatio | flPictCenter;
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    pic.Picture.setImage(image);
    out += QStringLiteral("== picture keep aspect centred\n") + draw(pic);
    pic.Flags = flPictCenter;
    out += QStringLiteral("== picture natural centred at 1.5\n") + draw(pic, 1, 1.5);
    TfrPictureView empty;
    empty.SetBounds(10, 10, 100, 40);
    empty.FrameTyp = 15;
    out += QStringLiteral("== empty picture printing\n") + draw(empty);
    out += QStringLiteral("== empty picture designing\n") + draw(empty, 0);

    TfrLineView line;
    line.SetBounds(5, 50, 200, 3);
    line.FrameWidth = 2;
    out += QStringLiteral("== line\n") + draw(line);
    TfrSubReportView sub;
    sub.Name = QStringLiteral("SubReport1");
    sub.SetBounds(10, 10, 150, 30);
    out += QStringLiteral("== subreport\n") + draw(sub, 0);
    expectGolden(QStringLiteral("draw_objects.txt"), out);
    frObjects().frCurrentDesigner = nullptr;
}

TEST_F(ObjectDrawingTest, KeepAspectOnAnEmptySizedPictureDrawsNothing)
{
    TfrPictureView pic;
    pic.SetBounds(0, 0, 50, 50);
    pic.Picture.setStored(FrPicture::Bitmap, QByteArray("BMnot really"));
    const QString dump = draw(pic);
    EXPECT_FALSE(dump.contains(QLatin1String("image"))) << dump.toStdString();
}

TEST_F(ObjectDrawingTest, ReplayedSceneEqualsDirectPainting)
{
    frObjects().setMeasurer(nullptr); // Qt's measurer: what the painter draws
    std::vector<std::unique_ptr<TfrView>> scene;
    auto memo = std::make_unique<TfrMemoView>();
    memo->SetBounds(10, 10, 150, 60);
    memo->Memo = {QStringLiteral("Résultats du challenge régional, première journée")};
    memo->FrameTyp = 15;
    memo->FillColor = 0xE0E0FF;
    memo->Alignment = frtaCenter | frtaMiddle;
    scene.push_back(std::move(memo));
    auto line = std::make_unique<TfrLineView>();
    line->SetBounds(10, 80, 150, 1);
    line->FrameStyle = psDashDot;
    scene.push_back(std::move(line));
    frObjects().frDocMode = 1;

    QImage direct(200, 100, QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        platform::QPainterCanvas canvas(&direct, &frObjects().measurer());
        for (auto &v : scene)
            v->Draw(canvas);
    }
    platform::RecordingCanvas recorder(frObjects().measurer(), QRect(0, 0, 200, 100));
    for (auto &v : scene)
        v->Draw(recorder);
    QImage replayed(200, 100, QImage::Format_RGB32);
    replayed.fill(Qt::white);
    {
        platform::QPainterCanvas canvas(&replayed, &frObjects().measurer());
        recorder.displayList().replay(canvas);
    }
    EXPECT_EQ(direct, replayed);
}

} // namespace
} // namespace report::test
