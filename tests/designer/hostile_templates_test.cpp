// Templates from damaged or hostile files open in the designer: every page is
// drawn, everything selected, dragged with the mouse and moved with a key,
// then undone, with no crash, hang or sanitizer report, and the template
// comes back byte for byte.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_template_builder.h"

namespace designer::test
{

using namespace report;

class HostileTemplateTest : public DesignerFixture
{
protected:
    // Opens each page as the designer would, edits it and undoes the edits.
    void exercise(const char *what)
    {
        SCOPED_TRACE(what);
        // Every page is drawn once when shown: lines and bands settle their
        // drawing state then, before anything is edited.
        for (int p = 0; p < rep->Pages().Count(); ++p) {
            designerWindow->Page = rep->Pages()[p];
            core->surface.FirstDrawing();
        }
        const QByteArray before = report::test::save(*rep);
        for (int p = 0; p < rep->Pages().Count(); ++p) {
            designerWindow->Page = rep->Pages()[p];
            core->state.CurPage = p;
            core->surface.invalidate();
            core->surface.Draw(10000, std::nullopt);
            TfrPage *pg = rep->Pages()[p];
            if (pg->ObjectCount() == 0)
                continue;
            core->state.SelectAllObjects();
            core->state.computeGroupRect();
            core->surface.Draw(10000, std::nullopt);
            // Press inside the last object (on top), drag by two grid steps.
            TfrView *top = pg->Objects.back().get();
            const int px = int(
                std::clamp<qint64>(qint64(top->x) + top->dx / 2, -kFrMaxGeometry, kFrMaxGeometry));
            const int py = int(
                std::clamp<qint64>(qint64(top->y) + top->dy / 2, -kFrMaxGeometry, kFrMaxGeometry));
            view.tool = kToolSelect;
            view.cursor = SurfaceCursor::Default;
            core->gestures.mouseMove(Qt::NoButton, Qt::NoModifier, px, py);
            core->gestures.mouseDown(Qt::LeftButton, Qt::NoModifier, px, py);
            core->gestures.mouseMove(Qt::LeftButton, Qt::NoModifier, px + 8, py + 8);
            core->gestures.mouseMove(Qt::LeftButton, Qt::NoModifier, px + 16, py + 16);
            core->gestures.mouseUp(Qt::LeftButton, Qt::NoModifier, px + 16, py + 16);
            core->state.SelectAllObjects();
            int key = Qt::Key_Right;
            core->keys.FormKeyDown(key, Qt::ControlModifier);
            key = Qt::Key_Down;
            core->keys.FormKeyDown(key, Qt::ShiftModifier);
            for (int guard = 0; core->undo.count(UndoManager::UndoBuffer) > 0 && guard < 10;
                 ++guard)
                core->Undo();
            core->surface.Draw(10000, std::nullopt);
        }
        EXPECT_EQ(report::test::save(*rep), before);
    }
};

TEST_F(HostileTemplateTest, TheGoldenTemplateCutAtEveryRecordBoundary)
{
    const report::test::TemplateRecords records = report::test::builtTemplateRecords();
    const QByteArray &bytes = records.bytes;
    const QList<qint64> &boundaries = records.boundaries;
    ASSERT_GT(boundaries.size(), 20);
    // Each cut is a whole template with fewer objects; cuts inside records
    // load nothing and must not harm the designer either.
    for (qint64 cut : boundaries) {
        report::test::load(*rep, bytes.left(cut));
        exercise(qPrintable(QStringLiteral("cut at %1").arg(cut)));
        report::test::load(*rep, bytes.left(cut + 3));
        exercise(qPrintable(QStringLiteral("cut at %1 + 3").arg(cut)));
    }
}

TEST_F(HostileTemplateTest, ExtremeGeometryBandTypesAndTargets)
{
    memo(QStringLiteral("Far"), kFrMaxGeometry, kFrMaxGeometry, 40, 20);
    memo(QStringLiteral("Back"), -kFrMaxGeometry, -kFrMaxGeometry, 40, 20);
    memo(QStringLiteral("Flat"), 100, 100, 0, 0);
    memo(QStringLiteral("Negative"), 200, 200, -50, -30);
    memo(QStringLiteral("Huge"), 0, 0, kFrMaxGeometry, kFrMaxGeometry);
    TfrBandView *odd = band(btMasterData, 300, 40, QStringLiteral("Odd"));
    odd->FrameTyp = 150; // the band type lives in the low byte of the frame edges
    for (int target : {-1, 99}) {
        auto sub = std::make_unique<TfrSubReportView>();
        sub->Name = QStringLiteral("Sub%1").arg(target + 2);
        sub->SubPage = target;
        sub->SetBounds(50, 400, 60, 20);
        page->Add(std::move(sub));
    }
    EXPECT_NO_FATAL_FAILURE(exercise("extreme objects"));
    const QStringList tabs = core->pageTabTexts();
    EXPECT_EQ(tabs.size(), rep->Pages().Count());
}

TEST_F(HostileTemplateTest, AbsurdColumnsAndPaper)
{
    memo(QStringLiteral("Memo1"), 40, 40, 96, 18);
    page->Columns = 2000000000;
    page->ColumnGap = 0;
    exercise("two billion columns");
    page->Columns = 3;
    page->ColumnGap = -1000000;
    exercise("negative gap");
    page->Columns = 1;
    page->ChangePaper(256, 1000000, 1000000, kFrDefaultBin, 0); // 100 m square
    core->state.Settings.UnlimitedHeight = true;
    exercise("100 m paper with unlimited height");
    const QSize size = core->surface.surfaceSize();
    EXPECT_LE(size.width(), 16777215);
    EXPECT_LE(size.height(), 16777215);
}

TEST_F(HostileTemplateTest, FiveThousandObjects)
{
    band(btMasterData, 0, 4000, QStringLiteral("MasterData1"));
    for (int i = 0; i < 5000; ++i)
        memo(QStringLiteral("Memo%1").arg(i + 1), (i % 50) * 14, (i / 50) * 20, 12, 18);
    exercise("5,000 objects");
}

} // namespace designer::test
