#include "tests/designer/designer_fixture.h"

namespace designer::test
{

using namespace report;

using StateTest = DesignerFixture;

TEST_F(StateTest, SortObjectsPutsBandsUnderTheObjectsOverlayFirstCrossBandsLast)
{
    band(btPageFooter, 500, 20, QStringLiteral("PageFooter1"));
    band(btOverlay, 0, 20, QStringLiteral("Overlay1"));
    band(btCrossData, 0, 20, QStringLiteral("CrossData1"));
    band(btMasterData, 100, 20, QStringLiteral("MasterData1"));
    memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    auto line = std::make_unique<TfrLineView>();
    line->Name = QStringLiteral("Line1");
    page->Add(std::move(line));
    core->state.SortObjects();
    QStringList names;
    for (const auto &v : page->Objects)
        names << v->Name;
    EXPECT_EQ(names.join(u','),
              QStringLiteral("Overlay1,PageFooter1,MasterData1,CrossData1,Memo1,Line1"));
}

TEST_F(StateTest, FirstFreeBandTypeGivesMasterDataWhenEveryTypeIsThere)
{
    EXPECT_EQ(core->state.FirstFreeBandType(), btReportTitle);
    for (int t = btReportTitle; t <= btChild; ++t)
        band(t, t * 10, 10, QStringLiteral("Band%1").arg(t));
    EXPECT_EQ(core->state.FirstFreeBandType(), btMasterData);
    page->Delete(3); // the page footer
    EXPECT_EQ(core->state.FirstFreeBandType(), btPageFooter);
}

} // namespace designer::test
