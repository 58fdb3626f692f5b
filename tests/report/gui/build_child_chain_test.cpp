// Child bands kept with the band they follow: together on the next page when
// they do not fit where they start, but a chain taller than a page (a sheet
// whose every row is a band) fills its pages row after row.
#include "build_fixture.h"

namespace report::test
{
namespace
{

class ChildChain : public BuildTest
{
protected:
    // A band of that type, 40 px high, followed by n child rows of two
    // lines (32 px). As designed the rows lie 1 px apart: an object on a
    // band's bottom edge belongs to that band.
    void chain(int n, int type = btReportTitle, int titleY = 0)
    {
        TfrBandView *previous =
            bandWithMemo(type, titleY, 40, QStringLiteral("Titre"), QStringLiteral("Titre"));
        int y = titleY + 41;
        for (int i = 1; i <= n; ++i) {
            const QString name = QStringLiteral("Rang%1").arg(i);
            previous->ChildBand = name;
            previous = band(btChild, y, 20, name, flStretched);
            memo(name + QStringLiteral("Memo"), 20, y, 300, 20, QStringLiteral("%1\nsuite").arg(i))
                ->Flags |= flStretched;
            y += 21;
        }
    }
};

TEST_F(ChildChain, ChainTallerThanAPageFillsItsPages)
{
    // 40 + 45 x 32 = 1480 px: more than the 1035 px of a page.
    chain(45);
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    // 31 rows under the title fill the first page (40 + 31 x 32 = 1032).
    EXPECT_EQ(countsPerPage(QStringLiteral("Rang")), (std::vector<int>{31, 14}));
    EXPECT_EQ(countsPerPage(QStringLiteral("Titre")), (std::vector<int>{1, 0}));
}

TEST_F(ChildChain, ChainThatFitsAPageStaysTogether)
{
    // A record of 700 px, then a summary with 10 rows (360 px): they do not
    // fit under the record and move on together.
    bandWithMemo(btMasterData, 0, 700, QStringLiteral("Fiche"), QStringLiteral("Fiche"), 0,
                 QStringLiteral("1"));
    chain(10, btReportSummary, 710);
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    EXPECT_EQ(countsPerPage(QStringLiteral("Rang")), (std::vector<int>{0, 10}));
}

} // namespace
} // namespace report::test
