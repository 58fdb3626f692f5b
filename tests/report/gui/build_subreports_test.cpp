// Subreports: other template pages printed inside a band, side by side,
// continued on further pages, nested, and never formed by themselves.
#include "build_fixture.h"

#include "report/objects/frsubreportview.h"

namespace report::test
{
namespace
{

class SubReportsTest : public BuildTest
{
protected:
    TfrPage *addPage(const QString &name)
    {
        TfrPage *p = report->Pages().Add();
        p->Name = name;
        return p;
    }
    TfrSubReportView *subReport(TfrPage *on, const QString &name, int x, int y, int target)
    {
        auto v = std::make_unique<TfrSubReportView>();
        v->Name = name;
        v->SetBounds(x, y, 300, 20);
        v->SubPage = target;
        return static_cast<TfrSubReportView *>(on->Add(std::move(v)));
    }
    // A page listing rows records of height h: "<prefix> [LINE#]".
    void rowsPage(TfrPage *on, const QString &prefix, int rows, int h = 20)
    {
        band(btMasterData, 100, h, prefix + QStringLiteral("Band"), 0, QString::number(rows), on);
        memo(prefix, 20, 100, 200, h, prefix + QStringLiteral(" [LINE#]"), on);
    }
    // The outer page: a band of one record holding the subreports, then a
    // summary that shows where the page goes on.
    void outerPage()
    {
        band(btMasterData, 100, 30, QStringLiteral("Porteur"), 0, QStringLiteral("1"));
        memo(QStringLiteral("PorteurMemo"), 0, 100, 10, 30, QStringLiteral("P"));
        bandWithMemo(btReportSummary, 200, 20, QStringLiteral("Resume"), QStringLiteral("Fin"));
    }
    QStringList on(const QStringList &objects, const QString &prefix)
    {
        QStringList out;
        for (const QString &o : objects)
            if (o.section(QLatin1Char(':'), 1).startsWith(prefix))
                out.append(o);
        return out;
    }
};

TEST_F(SubReportsTest, TwoSubreportsSideBySideAndThePageGoesOnUnderTheLonger)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 100, 1);
    subReport(page, QStringLiteral("Sous2"), 360, 100, 2);
    rowsPage(addPage(QStringLiteral("Page2")), QStringLiteral("Dix"), 10);
    rowsPage(addPage(QStringLiteral("Page3")), QStringLiteral("Quarante"), 40);
    const QString dump = prepareFixture(QStringLiteral("build_subreports"));
    EXPECT_EQ(report->EMFPages().Count(), 1);
    const QStringList objects = placed();
    // Objects land at the subreport's x plus their own, less the printer's
    // offset of 18; rows start at the subreport's y within its band.
    EXPECT_EQ(on(objects, QStringLiteral("Dix")).size(), 10);
    EXPECT_EQ(on(objects, QStringLiteral("Quarante")).size(), 40);
    expectPlaced(objects, {"1:Dix@40,18 Dix 1", "1:Quarante@380,18 Quarante 1",
                           "1:Quarante@380,798 Quarante 40", "1:ResumeMemo@20,818 Fin"});
    expectGolden(QStringLiteral("build_subreports.txt"), dump);
}

TEST_F(SubReportsTest, LongSubreportGoesOnUnderTheNextPageHeaderAtTheSameX)
{
    bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Page [PAGE#]"));
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 100, 100, 1);
    rowsPage(addPage(QStringLiteral("Page2")), QStringLiteral("Ligne"), 100);
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    // 51 rows of 20 fit from 18 to 1053; the header of page 2 takes 30.
    EXPECT_EQ(countsPerPage(QStringLiteral("Ligne")), (std::vector<int>{51, 49}));
    expectPlaced(objects, {"1:Ligne@120,1018 Ligne 51", "2:EnteteMemo@20,18 Page 2",
                           "2:Ligne@120,48 Ligne 52", "2:ResumeMemo@20,1028 Fin"});
    // Two passes give the same pages: the first plays the subreports too.
    const QString once = report->EMFPages().Dump();
    report->TwoPass = 1;
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Dump().toStdString(), once.toStdString());
}

TEST_F(SubReportsTest, InvisibleSubreportPrintsNothingAndHoldsNothingBack)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 100, 1)->Visible = false;
    subReport(page, QStringLiteral("Sous2"), 360, 100, 2);
    rowsPage(addPage(QStringLiteral("Page2")), QStringLiteral("Cache"), 40);
    rowsPage(addPage(QStringLiteral("Page3")), QStringLiteral("Dix"), 10);
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    EXPECT_TRUE(on(objects, QStringLiteral("Cache")).isEmpty());
    EXPECT_EQ(on(objects, QStringLiteral("Dix")).size(), 10);
    EXPECT_TRUE(objects.contains(QStringLiteral("1:ResumeMemo@20,218 Fin")));
}

TEST_F(SubReportsTest, TargetPageBandsOfItsOwnNeverPrintAndItIsNeverFormedAlone)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 100, 1);
    TfrPage *target = addPage(QStringLiteral("Page2"));
    band(btReportTitle, 0, 20, QStringLiteral("CibleTitre"), 0, QString(), target);
    memo(QStringLiteral("CibleTitreMemo"), 20, 0, 100, 20, QStringLiteral("Titre"), target);
    band(btPageHeader, 30, 20, QStringLiteral("CibleEntete"), flBandOnFirstPage, QString(), target);
    memo(QStringLiteral("CibleEnteteMemo"), 20, 30, 100, 20, QStringLiteral("Entete"), target);
    band(btReportSummary, 200, 20, QStringLiteral("CibleResume"), 0, QString(), target);
    memo(QStringLiteral("CibleResumeMemo"), 20, 200, 100, 20, QStringLiteral("Resume"), target);
    rowsPage(target, QStringLiteral("Ligne"), 3);
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    EXPECT_TRUE(on(objects, QStringLiteral("Cible")).isEmpty()) << objects.join(' ').toStdString();
    // Printed once, inside the band: the page is not formed after Page1.
    EXPECT_EQ(on(objects, QStringLiteral("Ligne")).size(), 3);
    EXPECT_EQ(report->EMFPages().Count(), 1);
}

TEST_F(SubReportsTest, NestedSubreportGoesOnThroughTheInterruptedBand)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 100, 1);
    TfrPage *middle = addPage(QStringLiteral("Page2"));
    band(btMasterData, 100, 30, QStringLiteral("Milieu"), 0, QStringLiteral("3"), middle);
    memo(QStringLiteral("MilieuMemo"), 20, 100, 100, 30, QStringLiteral("Bloc [LINE#]"), middle);
    subReport(middle, QStringLiteral("Sous2"), 150, 110, 2);
    rowsPage(addPage(QStringLiteral("Page3")), QStringLiteral("Ligne"), 30);
    const QString dump = prepareFixture(QStringLiteral("build_subreports_nested"));
    const QStringList objects = placed();
    EXPECT_EQ(on(objects, QStringLiteral("MilieuMemo")).size(), 3);
    EXPECT_EQ(on(objects, QStringLiteral("Ligne")).size(), 90);
    // Each block starts its rows again at 1; the second block's rows run
    // over the first page's bottom and go on at the top of page 2.
    expectPlaced(objects, {"1:MilieuMemo@40,18 Bloc 1", "1:Ligne@190,28 Ligne 1",
                           "1:MilieuMemo@40,628 Bloc 2", "2:Ligne@190,38 Ligne 22",
                           "2:MilieuMemo@40,218 Bloc 3"});
    EXPECT_EQ(on(objects, QStringLiteral("ResumeMemo")).size(), 1);
    expectGolden(QStringLiteral("build_subreports_nested.txt"), dump);
}

TEST_F(SubReportsTest, BandTallerThanAPageEndsWithinFourPages)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 110, 1);
    TfrPage *target = addPage(QStringLiteral("Page2"));
    band(btMasterData, 100, 3200, QStringLiteral("Haute"), 0, QStringLiteral("1"), target);
    memo(QStringLiteral("Haute"), 20, 100, 100, 3200, QStringLiteral("Haute"), target);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_LE(report->EMFPages().Count(), 4);
    const QStringList objects = placed();
    EXPECT_EQ(on(objects, QStringLiteral("Haute")).size(), 1);
    EXPECT_EQ(on(objects, QStringLiteral("ResumeMemo")).size(), 1);
}

TEST_F(SubReportsTest, FortySubreportsInOneBandAllPrint)
{
    outerPage();
    for (int i = 0; i < 40; ++i) {
        subReport(page, QStringLiteral("Sous%1").arg(i), 17 * i, 100, i + 1);
        TfrPage *target = addPage(QStringLiteral("Page%1").arg(i + 2));
        band(btMasterData, 100, 20, QStringLiteral("B%1").arg(i), 0, QStringLiteral("2"), target);
        memo(QStringLiteral("Case%1").arg(i), 0, 100, 15, 20, QString::number(i), target);
    }
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    EXPECT_EQ(on(objects, QStringLiteral("Case")).size(), 80);
    expectPlaced(objects, {"1:Case39@663,38 39", "1:ResumeMemo@20,58 Fin"});
}

TEST_F(SubReportsTest, SubreportsLeadingBackToAPageBeingPlayedAreLeftOut)
{
    outerPage();
    subReport(page, QStringLiteral("Sous1"), 20, 100, 1);
    TfrPage *a = addPage(QStringLiteral("Page2"));
    rowsPage(a, QStringLiteral("A"), 2);
    subReport(a, QStringLiteral("VersB"), 300, 100, 2);
    TfrPage *b = addPage(QStringLiteral("Page3"));
    rowsPage(b, QStringLiteral("B"), 2);
    subReport(b, QStringLiteral("VersA"), 500, 100, 1);
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    // A's two rows, each with B's two rows; B cannot start A again.
    EXPECT_EQ(on(objects, QStringLiteral("A")).size(), 2) << objects.join(' ').toStdString();
    EXPECT_EQ(on(objects, QStringLiteral("B")).size(), 4);
}

} // namespace
} // namespace report::test
