// Page formation: the order of the opening and closing bands, new pages and
// columns, page footers, objects outside every band, continuing on the
// previous page and repeated group headers.
#include "build_fixture.h"

namespace report::test
{
namespace
{

class FormationTest : public BuildTest
{
protected:
    // Margins 0 (the printer's: top 18, bottom 1053): title 40, page header
    // 30, data 20 over 100 records, summary 30, page footer 20.
    void listReport(quint16 footerFlags)
    {
        bandWithMemo(btReportTitle, 0, 40, QStringLiteral("Titre"), QStringLiteral("Liste"));
        bandWithMemo(btPageHeader, 50, 30, QStringLiteral("Entete"), QStringLiteral("Page [PAGE#]"),
                     flBandOnFirstPage);
        bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                     QStringLiteral("100"));
        bandWithMemo(btReportSummary, 140, 30, QStringLiteral("Resume"), QStringLiteral("Fin"));
        bandWithMemo(btPageFooter, 200, 20, QStringLiteral("Pied"), QStringLiteral("Pied [PAGE#]"),
                     footerFlags);
    }
};

TEST_F(FormationTest, ListOverThreePagesWithFootersOnTheFirstTwo)
{
    listReport(flBandOnFirstPage);
    const QString dump = prepareFixture(QStringLiteral("build_formation"));
    EXPECT_EQ(countsPerPage(QStringLiteral("DonneesMemo")), (std::vector<int>{47, 49, 4}));
    const QStringList objects = placed();
    expectPlaced(objects, {"3:ResumeMemo@20,128 Fin", "1:PiedMemo@20,1033 Pied 1",
                           "2:PiedMemo@20,1033 Pied 2"});
    EXPECT_FALSE(objects.join(QLatin1Char(' ')).contains(QStringLiteral("3:PiedMemo")));
    expectGolden(QStringLiteral("build_formation.txt"), dump);
}

TEST_F(FormationTest, FooterOnLastPagePrintsOnEveryPage)
{
    listReport(flBandOnFirstPage | flBandOnLastPage);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(countsPerPage(QStringLiteral("PiedMemo")), (std::vector<int>{1, 1, 1}));
    EXPECT_TRUE(placed().contains(QStringLiteral("3:PiedMemo@20,1033 Pied 3")));
}

TEST_F(FormationTest, ObjectOrderDoesNotMatter)
{
    listReport(flBandOnFirstPage);
    ASSERT_TRUE(report->PrepareReport());
    const QString forward = report->EMFPages().Dump();
    // The build restores the template from its snapshot: the page is a new one.
    TfrPage *restored = report->Pages().GetPage(0);
    std::reverse(restored->Objects.begin(), restored->Objects.end());
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Dump().toStdString(), forward.toStdString());
}

TEST_F(FormationTest, PageWithoutDataBands)
{
    bandWithMemo(btReportTitle, 0, 40, QStringLiteral("Titre"), QStringLiteral("Liste"));
    bandWithMemo(btPageHeader, 50, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    bandWithMemo(btReportSummary, 140, 30, QStringLiteral("Resume"), QStringLiteral("Fin"));
    bandWithMemo(btPageFooter, 200, 20, QStringLiteral("Pied"), QStringLiteral("Pied"),
                 flBandOnFirstPage);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(),
              "1:TitreMemo@20,18 Liste;1:EnteteMemo@20,58 Entete;1:ResumeMemo@20,88 Fin;"
              "1:PiedMemo@20,1033 Pied");
}

TEST_F(FormationTest, TitleSpillingToPageTwoShowsNoSecondHeader)
{
    TfrBandView *title =
        band(btReportTitle, 0, 40, QStringLiteral("Titre"), flStretched | flBandPageBreak);
    TfrMemoView *text = memo(QStringLiteral("TitreMemo"), 20, 0, 300, 40, QString());
    text->Flags |= flStretched;
    for (int i = 1; i <= 80; ++i)
        text->Memo.append(QStringLiteral("Ligne %1").arg(i));
    (void)title;
    bandWithMemo(btPageHeader, 50, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("2"));
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    EXPECT_EQ(countsPerPage(QStringLiteral("EnteteMemo")), (std::vector<int>{0, 1}));
    EXPECT_EQ(countsPerPage(QStringLiteral("DonneesMemo")), (std::vector<int>{0, 2}));
    QString joined;
    for (const QString &o : placed())
        if (o.contains(QStringLiteral("TitreMemo")))
            joined += o.section(QLatin1Char(' '), 1) + QLatin1Char('|');
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines.append(QStringLiteral("Ligne %1").arg(i));
    joined.remove(QChar(1));
    QStringList got = joined.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    EXPECT_EQ(got, lines);
}

TEST_F(FormationTest, TwoColumnsWithAGap)
{
    page->Columns = 2;
    page->ColumnGap = 20;
    bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("60"));
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 1);
    const QStringList objects = placed();
    expectPlaced(objects, {"1:DonneesMemo@20,18 1", "1:DonneesMemo@20,1018 51",
                           "1:DonneesMemo@391,18 52", "1:DonneesMemo@391,178 60"});
}

// A column count read from a damaged file: the page holds no more columns
// than its 722 px can show, one pixel each. Under an 833 px column header a
// split band has 200 px a column: its far object moves up one column at a
// time, each new column reported as progress so that the progress window and
// the caller can stop it, and prints in the fifth column, 4 px right of the
// first. A band whose blank space runs beyond a page (a damaged height)
// does not lay it out: its object prints in the first column, one column
// or one page making the whole report.
TEST_F(FormationTest, ColumnsBeyondThePageWidthAreProgressAndOnePixelApart)
{
    const struct {
        qint32 columns;
        int bandHeight, objectTop, newColumns;
        const char *where;
    } cases[] = {
        {1178861568, 920, 1740, 4, "1:Fin@24,951 Fin"},
        {1178861568, kFrMaxGeometry - 840, kFrMaxGeometry - 20, 0, "1:Fin@20,851 Fin"},
        {1, kFrMaxGeometry - 840, kFrMaxGeometry - 20, 0, "1:Fin@20,851 Fin"},
    };
    for (const auto &c : cases) {
        report->Pages().Clear();
        page = report->Pages().Add();
        page->Columns = c.columns;
        band(btColumnHeader, 0, 833, QStringLiteral("Colonne"));
        band(btMasterData, 840, c.bandHeight, QStringLiteral("Donnees"), flBandPageBreak,
             QStringLiteral("1"));
        memo(QStringLiteral("Fin"), 20, c.objectTop, 300, 20, QStringLiteral("Fin"));
        int reports = 0;
        // Stops a build that would lay out a column per pixel of the band.
        report->OnProgress = [this, &reports](int) {
            if (++reports > 1000)
                report->Cancelled = true;
        };
        EXPECT_TRUE(report->PrepareReport()) << c.bandHeight;
        EXPECT_EQ(report->EMFPages().Count(), 1) << c.bandHeight;
        EXPECT_EQ(reports, 3 + c.newColumns) << c.bandHeight;
        EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(), c.where) << c.bandHeight;
    }
}

TEST_F(FormationTest, ObjectOutsideEveryBandOnEveryPage)
{
    bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("60"));
    memo(QStringLiteral("Filigrane"), 400, 500, 100, 20, QStringLiteral("Brouillon"));
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    const QStringList objects = placed();
    expectPlaced(objects, {"1:Filigrane@400,500 Brouillon", "2:Filigrane@400,500 Brouillon"});
}

TEST_F(FormationTest, PrintToPrevPageContinuesUnderTheSummary)
{
    bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("3"));
    bandWithMemo(btReportSummary, 140, 30, QStringLiteral("Resume"), QStringLiteral("Fin"));
    TfrPage *second = report->Pages().Add();
    second->PrintToPrevPage = 0xFFFF;
    band(btReportTitle, 0, 40, QStringLiteral("Suite"), 0, QString(), second);
    memo(QStringLiteral("SuiteMemo"), 20, 0, 300, 40, QStringLiteral("Suite"), second);
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 1);
    EXPECT_TRUE(placed().contains(QStringLiteral("1:SuiteMemo@20,108 Suite")));
}

TEST_F(FormationTest, PrintToPrevPageRefusedAfterAPageEndingAtItsBottom)
{
    // 1035 printable pixels: 45 records of 23 end exactly at the bottom.
    bandWithMemo(btMasterData, 100, 23, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("45"));
    TfrPage *second = report->Pages().Add();
    second->PrintToPrevPage = 0xFFFF;
    band(btReportTitle, 0, 40, QStringLiteral("Suite"), 0, QString(), second);
    memo(QStringLiteral("SuiteMemo"), 20, 0, 300, 40, QStringLiteral("Suite"), second);
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    EXPECT_TRUE(placed().contains(QStringLiteral("2:SuiteMemo@20,18 Suite")));
}

TEST_F(FormationTest, RepeatHeaderGroupHeadersOnEachNewPage)
{
    bandWithMemo(btGroupHeader, 60, 20, QStringLiteral("Groupe"), QStringLiteral("Groupe"),
                 flBandRepeatHeader, QStringLiteral("1"));
    bandWithMemo(btMasterData, 100, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("80"));
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    EXPECT_EQ(countsPerPage(QStringLiteral("GroupeMemo")), (std::vector<int>{1, 1}));
    EXPECT_TRUE(placed().contains(QStringLiteral("2:GroupeMemo@20,18 Groupe")));
}

} // namespace
} // namespace report::test
