// Data loops: masters with and without details, group breaks, record
// numbers, many bands of one type, many queued headers, no leaked header.
#include "build_fixture.h"

namespace report::test
{
namespace
{

class LoopsTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        source.RangeEnd = reCount;
        report->setDataset(&source);
        report->OnGetValue = [this](const QString &name, FrVariant &value) {
            if (name.compare(QLatin1String("Pays"), Qt::CaseInsensitive) == 0)
                // A cursor past the end stays on the last record.
                value = pays.value(std::min<int>(source.RecNo, int(pays.size()) - 1));
        };
    }
    // The texts printed, in order, over every page.
    QString printed()
    {
        QStringList out;
        for (const QString &o : placed())
            out.append(o.section(QLatin1Char(' '), 1));
        return out.join(QLatin1Char(' '));
    }

    TfrUserDataset source;
    QStringList pays;
};

TEST_F(LoopsTest, GroupBreaksOnAChangedValue)
{
    pays = {QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B")};
    source.RangeEndCount = 3;
    bandWithMemo(btGroupHeader, 40, 20, QStringLiteral("Groupe"), QStringLiteral("H[Pays]"), 0,
                 QStringLiteral("[Pays]"));
    bandWithMemo(btMasterData, 80, 20, QStringLiteral("Donnees"),
                 QStringLiteral("[Pays][LINE#]/[LINETHROUGH#]"));
    bandWithMemo(btGroupFooter, 120, 20, QStringLiteral("PiedGroupe"), QStringLiteral("F[Pays]"));
    const QString dump = prepareFixture(QStringLiteral("build_groups"));
    EXPECT_EQ(printed().toStdString(), "HA A1/1 A2/2 FA HB B1/3 FB");
    expectGolden(QStringLiteral("build_groups.txt"), dump);
}

TEST_F(LoopsTest, MasterWithoutDetails)
{
    // Masters 1 and 3 have details, master 2 has none.
    TfrUserDataset details;
    details.setObjectName(QStringLiteral("Details"));
    details.RangeEnd = reCount;
    source.RangeEndCount = 3;
    details.OnFirst = [&](QObject *) { details.RangeEndCount = source.RecNo == 1 ? 0 : 1; };
    for (bool printIfEmpty : {false, true}) {
        report->Pages().Clear();
        page = report->Pages().Add();
        bandWithMemo(btMasterHeader, 20, 20, QStringLiteral("EnteteMaitre"), QStringLiteral("EM"));
        bandWithMemo(btMasterData, 60, 20, QStringLiteral("Maitre"), QStringLiteral("M[LINE#]"),
                     printIfEmpty ? flBandPrintifSubsetEmpty : 0);
        bandWithMemo(btDetailData, 100, 20, QStringLiteral("Detail"), QStringLiteral("d"), 0,
                     QStringLiteral("Details"));
        details.setParent(&owner);
        ASSERT_TRUE(report->PrepareReport());
        EXPECT_EQ(printed().toStdString(), printIfEmpty ? "EM M1 d M2 M3 d" : "EM M1 d M2 d")
            << printIfEmpty;
    }
}

TEST_F(LoopsTest, ManyBandsOfOneTypeAndManyQueuedHeaders)
{
    // 40 master data bands on one page, each on its own two records.
    for (int i = 0; i < 40; ++i)
        bandWithMemo(btMasterData, 10 + i * 25, 20, QStringLiteral("D%1").arg(i),
                     QStringLiteral("%1").arg(i), 0, QStringLiteral("2"));
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(placed().size(), 80);

    // 150 group headers wait in the queue for the first record.
    report->Pages().Clear();
    page = report->Pages().Add();
    for (int i = 0; i < 150; ++i)
        bandWithMemo(btGroupHeader, i * 5, 4, QStringLiteral("G%1").arg(i), QStringLiteral("g"), 0,
                     QStringLiteral("1"));
    bandWithMemo(btMasterData, 800, 20, QStringLiteral("Donnees"), QStringLiteral("d"), 0,
                 QStringLiteral("1"));
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(placed().size(), 151);
}

TEST_F(LoopsTest, HeadersOfAnEmptySubsetDoNotLeak)
{
    // A detail level whose records all lack sub-details queues its group
    // header; it must not print later under the next master.
    TfrUserDataset details, subs;
    details.setObjectName(QStringLiteral("Details"));
    subs.setObjectName(QStringLiteral("Subs"));
    details.RangeEnd = reCount;
    subs.RangeEnd = reCount;
    source.RangeEndCount = 2;
    details.RangeEndCount = 1;
    subs.OnFirst = [&](QObject *) { subs.RangeEndCount = source.RecNo == 0 ? 0 : 1; };
    bandWithMemo(btMasterData, 20, 20, QStringLiteral("Maitre"), QStringLiteral("M[LINE#]"),
                 flBandPrintifSubsetEmpty);
    bandWithMemo(btDetailHeader, 60, 20, QStringLiteral("EnteteDetail"), QStringLiteral("ED"));
    bandWithMemo(btDetailData, 100, 20, QStringLiteral("Detail"), QStringLiteral("d"), 0,
                 QStringLiteral("Details"));
    bandWithMemo(btSubDetailData, 140, 20, QStringLiteral("Sous"), QStringLiteral("s"), 0,
                 QStringLiteral("Subs"));
    details.setParent(&owner);
    subs.setParent(&owner);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(printed().toStdString(), "M1 M2 ED d s");
}

} // namespace
} // namespace report::test
