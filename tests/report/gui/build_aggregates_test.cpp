// Aggregates over data loops, and scripts that steer a build (new pages,
// positions, stopping, errors).
#include "build_fixture.h"

#include "report/core/frlocale.h"

namespace report::test
{
namespace
{

class AggregatesTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        source.RangeEnd = reCount;
        report->setDataset(&source);
        report->OnGetValue = [this](const QString &name, FrVariant &value) {
            const int i = std::min<int>(source.RecNo, int(values.size()) - 1);
            if (i < 0)
                return;
            if (name.compare(QLatin1String("V"), Qt::CaseInsensitive) == 0)
                value = values[size_t(i)];
            else if (name.compare(QLatin1String("Grp"), Qt::CaseInsensitive) == 0)
                value = groups.value(i);
            else if (name.compare(QLatin1String("Id"), Qt::CaseInsensitive) == 0)
                value = source.RecNo + 1;
        };
    }
    void rows(std::vector<double> v, QStringList g = {})
    {
        values = std::move(v);
        groups = std::move(g);
        source.RangeEndCount = int(values.size());
    }
    QString printed(const QString &prefix)
    {
        QStringList out;
        for (const QString &o : placed())
            if (o.section(QLatin1Char(':'), 1).startsWith(prefix))
                out.append(o.section(QLatin1Char(' '), 1));
        return out.join(QLatin1Char(' '));
    }
    void summary(const QString &text)
    {
        bandWithMemo(btReportSummary, 200, 20, QStringLiteral("Resume"), text);
    }

    TfrUserDataset source;
    std::vector<double> values;
    QStringList groups;
};

TEST_F(AggregatesTest, KindsOverRecordsAndGroups)
{
    const struct {
        std::vector<double> values;
        const char *summary;
        const char *expected;
    } cases[] = {
        {{5, 3, 8}, "[MIN([V])]", "3"},
        {{-5, -3}, "[MAX([V])]", "-3"},
        {{2, 4, 9}, "[SUM([V])]/[COUNT(Donnees)]", "15/3"},
        {{}, "[SUM([V])] [MIN([V])] [MAX([V])] [AVG([V])] [COUNT(Donnees)]", "0 0 0 0 0"},
    };
    for (const auto &c : cases) {
        report->Pages().Clear();
        page = report->Pages().Add();
        rows(c.values);
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
        summary(QString::fromUtf8(c.summary));
        ASSERT_TRUE(report->PrepareReport()) << c.summary;
        EXPECT_EQ(printed(QStringLiteral("ResumeMemo")).toStdString(), c.expected) << c.summary;
    }
}

TEST_F(AggregatesTest, AverageOfGroupsAndOfTheWholeReport)
{
    rows({2, 4, 9}, {QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("b")});
    bandWithMemo(btGroupHeader, 20, 20, QStringLiteral("Groupe"), QStringLiteral("[Grp]"), 0,
                 QStringLiteral("[Grp]"));
    bandWithMemo(btMasterData, 60, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
    bandWithMemo(btGroupFooter, 100, 20, QStringLiteral("PiedGroupe"),
                 QStringLiteral("[AVG([V])]"));
    summary(QStringLiteral("[AVG([V])]"));
    const QString dump = prepareFixture(QStringLiteral("build_aggregates"));
    EXPECT_EQ(printed(QStringLiteral("PiedGroupeMemo")).toStdString(), "3 9");
    EXPECT_EQ(printed(QStringLiteral("ResumeMemo")).toStdString(), "5");
    expectGolden(QStringLiteral("build_aggregates.txt"), dump);
}

TEST_F(AggregatesTest, CountOfAnInvisibleBandOnlyWhenAsked)
{
    rows({1, 2, 3});
    TfrBandView *data =
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
    data->Visible = 0;
    summary(QStringLiteral("[COUNT(Donnees)] [COUNT(Donnees, 1)] [SUM([V], Donnees, 1)]"));
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(printed(QStringLiteral("ResumeMemo")).toStdString(), "0 3 6");
}

TEST_F(AggregatesTest, GroupFooterSumRegistersOnEveryMasterBand)
{
    rows({1, 2});
    bandWithMemo(btGroupHeader, 0, 20, QStringLiteral("Groupe"), QStringLiteral("g"), 0,
                 QStringLiteral("1"));
    bandWithMemo(btMasterData, 40, 20, QStringLiteral("D1"), QStringLiteral("[V]"));
    bandWithMemo(btMasterData, 80, 20, QStringLiteral("D2"), QStringLiteral("[V]"), 0,
                 QStringLiteral("2"));
    bandWithMemo(btGroupFooter, 120, 20, QStringLiteral("PiedGroupe"),
                 QStringLiteral("[SUM([V])]"));
    QMap<QString, int> keys;
    report->OnBeginBand = [&](TfrBand *b) { keys[b->Name] = b->Values.Count(); };
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(keys.value(QStringLiteral("D1")), 1);
    EXPECT_EQ(keys.value(QStringLiteral("D2")), 1);
}

// --- scripts steering the build

TEST_F(AggregatesTest, NewPageTwiceStartsTwoPagesFurther)
{
    rows({1});
    bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
    TfrBandView *s =
        bandWithMemo(btReportSummary, 200, 20, QStringLiteral("Resume"), QStringLiteral("Fin"));
    s->Script = QStringList{QStringLiteral("begin"), QStringLiteral("  NEWPAGE;"),
                            QStringLiteral("  NEWPAGE;"), QStringLiteral("end")};
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 3);
    EXPECT_TRUE(placed().contains(QStringLiteral("3:ResumeMemo@20,18 Fin")));
}

TEST_F(AggregatesTest, CurYWithAndWithoutKeepY)
{
    for (bool newPage : {false, true}) {
        report->Pages().Clear();
        page = report->Pages().Add();
        rows({1});
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
        TfrBandView *s =
            bandWithMemo(btReportSummary, 200, 20, QStringLiteral("Resume"), QStringLiteral("Fin"));
        s->Script = newPage ? QStringList{QStringLiteral("begin NEWPAGE; CURY := 500 end")}
                            : QStringList{QStringLiteral("CURY := 500")};
        ASSERT_TRUE(report->PrepareReport());
        EXPECT_TRUE(placed().contains(newPage ? QStringLiteral("2:ResumeMemo@20,500 Fin")
                                              : QStringLiteral("1:ResumeMemo@20,500 Fin")))
            << placed().join(QLatin1Char(';')).toStdString();
    }
}

TEST_F(AggregatesTest, StopReportLeavesTheRecordsBefore)
{
    std::vector<double> v(100, 1.0);
    rows(v);
    bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    TfrBandView *data =
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[Id]"));
    data->Script = QStringList{QStringLiteral("if [Id] = 60 then STOPREPORT")};
    summary(QStringLiteral("Fin"));
    EXPECT_FALSE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    const QString ids = printed(QStringLiteral("DonneesMemo"));
    EXPECT_TRUE(ids.startsWith(QStringLiteral("1 2 3 ")));
    EXPECT_TRUE(ids.endsWith(QStringLiteral(" 58 59")));
    EXPECT_EQ(printed(QStringLiteral("ResumeMemo")).toStdString(), "");
    EXPECT_TRUE(fakes->dialogs.messages.empty());
}

TEST_F(AggregatesTest, ConversionErrorInAScriptEndsTheBuildOnce)
{
    rows({1, 2});
    TfrBandView *data =
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[V]"));
    data->Script = QStringList{QStringLiteral("CURY := 'x'")};
    const QByteArray before = templateBytes();
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(templateBytes(), before);
    EXPECT_EQ(report->EMFPages().Count(), 0);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_TRUE(fakes->dialogs.messages[0].text.startsWith(frLoadString(55200)));
    EXPECT_FALSE(frObjects().frBuilding);
    report->FindObject(QStringLiteral("Donnees"))->Script.clear();
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 1);
}

} // namespace
} // namespace report::test
