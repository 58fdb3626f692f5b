// The check over prepared pages that the printout tests run: it passes a
// row that grows with its text and names each way a text can be lost on
// paper (hidden under another, cut at the bottom or the edge of its memo, a
// word broken in two, off the printable area).
#include "build_fixture.h"
#include "tests/support/gui/printout_check.h"

namespace report::test
{
namespace
{

const QString Long = QStringLiteral("Open d'automne de Villeurbanne par paires mixtes");

class PrintoutCheck : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        // Prepared as printed: the real measurer, the virtual printer's A4.
        frObjects().setMeasurer(nullptr);
    }
    // A data band of three records with two framed cells side by side.
    void row(quint16 bandFlags, quint16 cellFlags, int width, const QString &text)
    {
        band(btMasterData, 40, 18, QStringLiteral("Lignes"), bandFlags, QStringLiteral("3"));
        TfrMemoView *a = memo(QStringLiteral("Nom"), 20, 40, width, 18, text);
        TfrMemoView *b =
            memo(QStringLiteral("Club"), 20 + width, 40, 100, 18, QStringLiteral("Lyon"));
        for (TfrMemoView *m : {a, b}) {
            m->Flags = cellFlags;
            m->FrameTyp = 15;
            m->Font.Name = QStringLiteral("Arial");
            m->Font.Size = 9;
        }
    }
    QStringList faults()
    {
        EXPECT_TRUE(report->PrepareReport());
        return vorn_test::defautsImpression(
            report->EMFPages(),
            vorn_test::motsDe({Long, QStringLiteral("Villeurbanne Lyon Saison 2023-2024")}));
    }
    static bool mentions(const QStringList &faults, const char *what)
    {
        for (const QString &f : faults)
            if (f.contains(QLatin1String(what)))
                return true;
        return false;
    }
};

TEST_F(PrintoutCheck, RowThatGrowsWithItsTextPasses)
{
    row(flStretched, flWordWrap | flStretched, 120, Long);
    EXPECT_EQ(faults(), QStringList());
    // The neighbour cell grew with the row: frames aligned.
    TfrEMFPages &pages = report->EMFPages();
    pages.BuildPageObjects(0);
    QList<int> heights;
    for (const auto &v : pages.Entry(0)->Page->Objects)
        heights.append(v->dy);
    ASSERT_EQ(heights.size(), 6);
    EXPECT_GT(heights[0], 18);
    EXPECT_EQ(heights[1], heights[0]);
}

TEST_F(PrintoutCheck, EachWayOfLosingTextIsNamed)
{
    {
        SCOPED_TRACE("a row that does not grow");
        row(0, flWordWrap | flStretched, 120, Long);
        const QStringList f = faults();
        EXPECT_TRUE(mentions(f, "lines need")) << f.join('\n').toStdString();
        report->Clear();
        page = report->Pages().Add();
    }
    {
        SCOPED_TRACE("a word wider than its column");
        row(flStretched, flWordWrap | flStretched, 40, QStringLiteral("Villeurbanne"));
        const QStringList f = faults();
        EXPECT_TRUE(mentions(f, "is cut across two lines")) << f.join('\n').toStdString();
        report->Clear();
        page = report->Pages().Add();
    }
    {
        SCOPED_TRACE("a line that does not wrap");
        row(flStretched, flStretched, 120, Long);
        const QStringList f = faults();
        EXPECT_TRUE(mentions(f, "the memo has 116")) << f.join('\n').toStdString();
        report->Clear();
        page = report->Pages().Add();
    }
    {
        SCOPED_TRACE("two texts on one place");
        band(btReportTitle, 0, 40, QStringLiteral("Titre"));
        memo(QStringLiteral("Un"), 20, 0, 200, 20, QStringLiteral("Saison"));
        memo(QStringLiteral("Deux"), 200, 10, 200, 20, QStringLiteral("2023-2024"));
        memo(QStringLiteral("Vide"), 20, 0, 400, 40, QString()); // no text, hides nothing
        const QStringList f = faults();
        ASSERT_EQ(f.size(), 1) << f.join('\n').toStdString();
        EXPECT_TRUE(mentions(f, "page 1, Deux") && mentions(f, "overlaps page 1, Un"))
            << f.join('\n').toStdString();
        report->Clear();
        page = report->Pages().Add();
    }
    {
        SCOPED_TRACE("past the paper's edge");
        band(btReportTitle, 0, 40, QStringLiteral("Titre"));
        memo(QStringLiteral("Bord"), 600, 0, 200, 20, QStringLiteral("Lyon"));
        const QStringList f = faults();
        EXPECT_TRUE(mentions(f, "outside the printable area 18,18 722x1035"))
            << f.join('\n').toStdString();
    }
}

} // namespace
} // namespace report::test
