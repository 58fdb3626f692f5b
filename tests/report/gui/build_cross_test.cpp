// Cross bands: one column per record of the cross source right of the
// horizontal bands' own objects, continued on the next page, per-row and
// per-column aggregates.
#include "build_fixture.h"

#include <QRegularExpression>

namespace report::test
{
namespace
{

class CrossTest : public BuildTest
{
protected:
    TfrBandView *crossBand(int type, int x, int width, const QString &name, quint16 flags = 0,
                           const QString &source = QString())
    {
        TfrBandView *b = band(type, 0, 1000, name, flags, source);
        b->SetBounds(x, 0, width, 1000);
        return b;
    }
    // Rows of 3 records (y 100) and their footer (y 150); a cross header at
    // 100 (60 wide, repeated), data columns of 100 from 160, a cross footer
    // of 80. The printable width ends at 740: five columns and the footer
    // fit exactly.
    void crossTab(int columns)
    {
        bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Page [PAGE#]"),
                     flBandOnFirstPage);
        bandWithMemo(btOverlay, 40, 20, QStringLiteral("Filigrane"), QStringLiteral("Filigrane"));
        band(btMasterData, 100, 20, QStringLiteral("Ligne"), 0, QStringLiteral("3"));
        memo(QStringLiteral("Nom"), 20, 100, 70, 20, QStringLiteral("L[LINE#]"));
        band(btMasterFooter, 150, 20, QStringLiteral("Total"));
        memo(QStringLiteral("TotalNom"), 20, 150, 70, 20, QStringLiteral("Total"));
        memo(QStringLiteral("Libre"), 20, 1040, 50, 10, QStringLiteral("Libre"));
        crossBand(btCrossHeader, 100, 60, QStringLiteral("Tete"), flBandRepeatHeader);
        memo(QStringLiteral("TeteLigne"), 110, 100, 40, 20, QStringLiteral("H"));
        crossBand(btCrossData, 160, 100, QStringLiteral("Colonne"), 0, QString::number(columns));
        memo(QStringLiteral("Cellule"), 170, 100, 80, 20, QStringLiteral("[COLUMN#]:[LINE#]"));
        memo(QStringLiteral("CelluleTotal"), 170, 150, 80, 20,
             QStringLiteral("[SUM([COLUMN#]*[LINE#])]"));
        crossBand(btCrossFooter, 660, 80, QStringLiteral("Pied"));
        memo(QStringLiteral("PiedLigne"), 665, 100, 70, 20,
             QStringLiteral("[SUM([COLUMN#]*[LINE#])]"));
    }
    QStringList named(const QString &name)
    {
        QStringList out;
        for (const QString &o : placed())
            if (o.section(QLatin1Char(':'), 1).section(QLatin1Char('@'), 0, 0) == name)
                out.append(o);
        return out;
    }
};

TEST_F(CrossTest, FiveColumnsFitRightOfTheRowWithRowAndColumnTotals)
{
    crossTab(5);
    const QString dump = prepareFixture(QStringLiteral("build_cross"));
    EXPECT_EQ(report->EMFPages().Count(), 1);
    // COLUMN# counts 1 to 5 on each row, cells 100 apart from 160 (moved by
    // their 10 inside the band).
    EXPECT_EQ(named(QStringLiteral("Cellule")).join(QLatin1Char(';')).toStdString(),
              "1:Cellule@170,48 1:1;1:Cellule@270,48 2:1;1:Cellule@370,48 3:1;"
              "1:Cellule@470,48 4:1;1:Cellule@570,48 5:1;"
              "1:Cellule@170,68 1:2;1:Cellule@270,68 2:2;1:Cellule@370,68 3:2;"
              "1:Cellule@470,68 4:2;1:Cellule@570,68 5:2;"
              "1:Cellule@170,88 1:3;1:Cellule@270,88 2:3;1:Cellule@370,88 3:3;"
              "1:Cellule@470,88 4:3;1:Cellule@570,88 5:3");
    EXPECT_EQ(named(QStringLiteral("TeteLigne")).size(), 3);
    // The row total restarts for each row: 15 x LINE#.
    EXPECT_EQ(named(QStringLiteral("PiedLigne")).join(QLatin1Char(';')).toStdString(),
              "1:PiedLigne@665,48 15;1:PiedLigne@665,68 30;1:PiedLigne@665,88 45");
    // The footer row totals each column over the rows: 6 x COLUMN#.
    EXPECT_EQ(named(QStringLiteral("CelluleTotal")).join(QLatin1Char(';')).toStdString(),
              "1:CelluleTotal@170,108 6;1:CelluleTotal@270,108 12;1:CelluleTotal@370,108 18;"
              "1:CelluleTotal@470,108 24;1:CelluleTotal@570,108 30");
    EXPECT_EQ(named(QStringLiteral("TotalNom")).join(QLatin1Char(';')).toStdString(),
              "1:TotalNom@20,108 Total");
    expectGolden(QStringLiteral("build_cross.txt"), dump);
}

TEST_F(CrossTest, SixthColumnGoesOnTheNextPageAndTheNextRowStartsBack)
{
    crossTab(6);
    const QString dump = prepareFixture(QStringLiteral("build_cross_continued"));
    ASSERT_EQ(report->EMFPages().Count(), 2);
    const QStringList page2 = placed().filter(QRegularExpression(QStringLiteral("^2:")));
    // Overlay, band of type none and page header first, then per row the
    // repeated cross header at the left position, column 6 and the footer,
    // at the rows' own Y.
    EXPECT_EQ(page2.join(QLatin1Char(';')).toStdString(),
              "2:FiligraneMemo@20,40 Filigrane;2:Libre@20,1040 Libre;2:EnteteMemo@20,18 Page 2;"
              "2:TeteLigne@28,48 H;2:Cellule@88,48 6:1;2:PiedLigne@183,48 21;"
              "2:TeteLigne@28,68 H;2:Cellule@88,68 6:2;2:PiedLigne@183,68 42;"
              "2:TeteLigne@28,88 H;2:Cellule@88,88 6:3;2:PiedLigne@183,88 63;"
              "2:CelluleTotal@88,108 36");
    EXPECT_TRUE(placed().contains(QStringLiteral("1:Nom@20,88 L3")));
    expectGolden(QStringLiteral("build_cross_continued.txt"), dump);
}

TEST_F(CrossTest, WidthChangedByOnPrintColumnHoldsForTheFollowingColumns)
{
    crossTab(3);
    report->OnPrintColumn = [](int column, int &width) {
        if (column == 2)
            width *= 2;
    };
    ASSERT_TRUE(report->PrepareReport());
    const QStringList cells = named(QStringLiteral("Cellule"));
    ASSERT_EQ(cells.size(), 9);
    EXPECT_EQ(cells.mid(0, 4).join(QLatin1Char(';')).toStdString(),
              "1:Cellule@170,48 1:1;1:Cellule@270,48 2:1;1:Cellule@470,48 3:1;"
              "1:Cellule@170,68 1:2");
    // Every row starts from the designed width again.
    EXPECT_EQ(cells.mid(3, 3).join(QLatin1Char(';')).toStdString(),
              "1:Cellule@170,68 1:2;1:Cellule@270,68 2:2;1:Cellule@470,68 3:2");
    // The footer follows the third, doubled, column.
    EXPECT_EQ(named(QStringLiteral("PiedLigne")).value(0).toStdString(), "1:PiedLigne@665,48 6");
}

TEST_F(CrossTest, StretchedRowTakesTheHeightOfItsTallestColumn)
{
    // The step from one row to the next, with the cells of the columns in
    // tall holding three lines and the others one.
    auto rowStep = [this](std::vector<int> tall) {
        report->Clear();
        page = report->Pages().Add();
        crossTab(5);
        TfrView *row = report->FindObject(QStringLiteral("Cellule"));
        row->Flags |= flStretched;
        for (const auto &v : page->Objects)
            if (v->Name == QLatin1String("Ligne"))
                v->Flags |= flStretched;
        report->OnPrintColumn = [this, tall](int column, int &) {
            TfrView *cell = report->FindObject(QStringLiteral("Cellule"));
            const bool high = std::find(tall.begin(), tall.end(), column) != tall.end();
            cell->Memo =
                high ? QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
                     : QStringList{QStringLiteral("a")};
        };
        EXPECT_TRUE(report->PrepareReport());
        const QStringList names = named(QStringLiteral("Nom"));
        return names.value(1).section(QLatin1Char(','), 1).section(QLatin1Char(' '), 0, 0).toInt() -
               names.value(0).section(QLatin1Char(','), 1).section(QLatin1Char(' '), 0, 0).toInt();
    };
    const int none = rowStep({}), third = rowStep({3}), all = rowStep({1, 2, 3, 4, 5});
    EXPECT_EQ(none, 20);
    EXPECT_GT(all, 20);
    EXPECT_EQ(third, all);
}

TEST_F(CrossTest, PageHeaderWithColumnTitlesOverflowingAddsOnePage)
{
    crossTab(6);
    memo(QStringLiteral("Titre"), 170, 0, 80, 20, QStringLiteral("T[COLUMN#]"));
    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(report->EMFPages().Count(), 2);
    // Each title once, the sixth over the sixth column on the second page.
    const QStringList titles = named(QStringLiteral("Titre"));
    EXPECT_EQ(titles.size(), 6) << titles.join(' ').toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("2:Titre@88,18 T6")))
        << titles.join(' ').toStdString();
}

} // namespace
} // namespace report::test
