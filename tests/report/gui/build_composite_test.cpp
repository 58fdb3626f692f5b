// Composite report: member reports chained into one prepared document with
// one page numbering, rebuilt per record of the composite's own source, and
// their templates untouched by the build.
#include "build_fixture.h"

#include "report/build/frcompositereport.h"

#include <stdexcept>

namespace report::test
{
namespace
{

class CompositeTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        second = std::make_unique<TfrReport>(&owner);
        second->ShowProgress = false;
        secondPage = second->Pages().Add();
        secondPage->Name = QStringLiteral("Page1");
        composite = std::make_unique<TfrCompositeReport>(&owner);
        composite->ShowProgress = false;
        composite->Members = {report.get(), second.get()};
    }
    void TearDown() override
    {
        composite.reset();
        second.reset();
        BuildTest::TearDown();
    }
    // First member: rows "A1".."An" under a title; second member: rows "B..".
    // Both show "page/total" in their page footer.
    void members(int rowsA, int rowsB, bool secondOnPrevious)
    {
        bandWithMemo(btReportTitle, 0, 40, QStringLiteral("Titre"), QStringLiteral("Premier"));
        bandWithMemo(btMasterData, 100, 20, QStringLiteral("A"), QStringLiteral("A[LINE#]"), 0,
                     QString::number(rowsA));
        bandWithMemo(btPageFooter, 200, 20, QStringLiteral("PiedA"),
                     QStringLiteral("[PAGE#]/[TOTALPAGES]"), flBandOnFirstPage | flBandOnLastPage);
        secondPage->PrintToPrevPage = secondOnPrevious ? 1 : 0;
        band(btMasterData, 100, 20, QStringLiteral("B"), 0, QString::number(rowsB), secondPage);
        memo(QStringLiteral("BMemo"), 20, 100, 300, 20, QStringLiteral("B[LINE#]"), secondPage);
        band(btPageFooter, 200, 20, QStringLiteral("PiedB"), flBandOnFirstPage | flBandOnLastPage,
             QString(), secondPage);
        memo(QStringLiteral("PiedBMemo"), 20, 200, 300, 20, QStringLiteral("[PAGE#]/[TOTALPAGES]"),
             secondPage);
    }
    QByteArray bytesOf(TfrReport &r)
    {
        FrMemoryStream s;
        r.SaveToStream(s);
        return s.data();
    }

    std::unique_ptr<TfrReport> second;
    TfrPage *secondPage = nullptr;
    std::unique_ptr<TfrCompositeReport> composite;
};

TEST_F(CompositeTest, SecondMemberOnThePreviousPageSharesTheSheet)
{
    members(3, 2, true);
    const QByteArray first = bytesOf(*report), other = bytesOf(*second);
    expectGoldenBytes(QStringLiteral("build_composite_1.frf"), first);
    expectGoldenBytes(QStringLiteral("build_composite_2.frf"), other);
    ASSERT_TRUE(composite->PrepareReport());
    EXPECT_EQ(composite->EMFPages().Count(), 1);
    EXPECT_EQ(report->EMFPages().Count(), 0);
    const QStringList objects = placedIn(*composite);
    expectPlaced(objects, {"1:AMemo@20,98 A3", "1:BMemo@20,118 B1", "1:BMemo@20,138 B2"});
    expectGolden(QStringLiteral("build_composite.txt"), composite->EMFPages().Dump());
}

TEST_F(CompositeTest, PageNumbersRunAcrossMembers)
{
    members(60, 5, false);
    composite->TwoPass = 1;
    ASSERT_TRUE(composite->PrepareReport());
    ASSERT_EQ(composite->EMFPages().Count(), 3);
    const QStringList footers = placedIn(*composite).filter(QStringLiteral("Pied"));
    EXPECT_EQ(footers.join(QLatin1Char(';')).toStdString(),
              "1:PiedAMemo@20,1033 1/3;2:PiedAMemo@20,1033 2/3;3:PiedBMemo@20,1033 3/3");
}

TEST_F(CompositeTest, EachRecordBuildsEveryMemberFromItsUnchangedTemplate)
{
    members(2, 2, false);
    // A band script that changes its memo for good: each build must start
    // from the designed text again.
    TfrView *rowA = report->FindObject(QStringLiteral("AMemo"));
    ASSERT_NE(rowA, nullptr);
    rowA->Script = QStringList{QStringLiteral("AMemo.Memo := AMemo.Memo + 'x'")};
    RowsDataset records(3);
    composite->setDataset(&records);
    composite->TwoPass = 1;
    int begins[2] = {0, 0}, ends[2] = {0, 0};
    report->OnBeginDoc = [&] { ++begins[0]; };
    report->OnEndDoc = [&] { ++ends[0]; };
    second->OnBeginDoc = [&] { ++begins[1]; };
    second->OnEndDoc = [&] { ++ends[1]; };
    const QByteArray first = bytesOf(*report), other = bytesOf(*second);
    ASSERT_TRUE(composite->PrepareReport());
    EXPECT_EQ(composite->EMFPages().Count(), 6);
    // Two passes of three records; the end of a document only in the final.
    EXPECT_EQ(begins[0], 6);
    EXPECT_EQ(begins[1], 6);
    EXPECT_EQ(ends[0], 3);
    EXPECT_EQ(ends[1], 3);
    const QStringList rows = placedIn(*composite).filter(QStringLiteral(":AMemo@"));
    ASSERT_EQ(rows.size(), 6) << rows.join(' ').toStdString();
    EXPECT_EQ(rows.at(0).section(QLatin1Char(' '), 1), rows.at(4).section(QLatin1Char(' '), 1));
    EXPECT_EQ(rows.at(1).section(QLatin1Char(' '), 1), rows.at(5).section(QLatin1Char(' '), 1));
    // The script did change the memo within one build.
    EXPECT_EQ(rows.at(1).section(QLatin1Char(' '), 1).toStdString(), "A2|x|x");
    EXPECT_EQ(bytesOf(*report), first);
    EXPECT_EQ(bytesOf(*second), other);
}

TEST_F(CompositeTest, MemberThatThrowsLeavesEveryTemplateAndNoPages)
{
    members(3, 3, false);
    const QByteArray first = bytesOf(*report), other = bytesOf(*second);
    second->OnGetValue = [](const QString &name, FrVariant &) {
        if (name == QLatin1String("LINE#"))
            throw std::runtime_error("base fermée");
    };
    EXPECT_FALSE(composite->PrepareReport());
    EXPECT_EQ(composite->EMFPages().Count(), 0);
    EXPECT_EQ(bytesOf(*report), first);
    EXPECT_EQ(bytesOf(*second), other);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_TRUE(fakes->dialogs.messages[0].text.contains(QStringLiteral("base fermée")));
    // Nothing of the failed build is left behind: it builds again.
    second->OnGetValue = nullptr;
    EXPECT_TRUE(composite->PrepareReport());
    EXPECT_EQ(composite->EMFPages().Count(), 2);
}

} // namespace
} // namespace report::test
