// Band printing: stretching, fitting, splitting over pages, child bands, and
// bands or objects taller than a page.
#include "build_fixture.h"

#include "report/objects/frlineview.h"
#include "report/objects/frpictureview.h"

namespace report::test
{
namespace
{

class BandsTest : public BuildTest
{
protected:
    QString lines(int count)
    {
        QStringList l;
        for (int i = 1; i <= count; ++i)
            l.append(QStringLiteral("Ligne %1").arg(i));
        return l.join(QLatin1Char('\n'));
    }
    // The texts of one object over the prepared pages, page by page.
    QStringList piecesOf(const QString &name)
    {
        QStringList out;
        TfrEMFPages &pages = report->EMFPages();
        for (int i = 0; i < pages.Count(); ++i) {
            pages.BuildPageObjects(i);
            for (const auto &v : pages.Entry(i)->Page->Objects)
                if (v->Name == name) {
                    QStringList text;
                    for (QString l : v->Memo)
                        if (!l.remove(QChar(1)).isEmpty())
                            text.append(l);
                    out.append(QStringLiteral("%1@%2:").arg(i + 1).arg(v->y) +
                               text.join(QLatin1Char('|')));
                }
            pages.Entry(i)->Page.reset();
        }
        return out;
    }
};

TEST_F(BandsTest, StretchedMemoMovesTheNextBand)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), flStretched, QStringLiteral("1"));
    TfrMemoView *m =
        memo(QStringLiteral("Texte"), 20, 40, 300, 20, QStringLiteral("un\ndeux\ntrois"));
    m->Flags |= flStretched;
    bandWithMemo(btReportSummary, 100, 20, QStringLiteral("Resume"), QStringLiteral("Fin"));
    ASSERT_TRUE(report->PrepareReport());
    const QStringList objects = placed();
    ASSERT_EQ(objects.size(), 2);
    // Three lines of a 10 pt font (13 px) with 2 px spacing and the gaps.
    int height = 0;
    TfrEMFPages &pages = report->EMFPages();
    pages.BuildPageObjects(0);
    for (const auto &v : pages.Entry(0)->Page->Objects)
        if (v->Name == QLatin1String("Texte"))
            height = v->dy;
    EXPECT_GT(height, 40);
    EXPECT_EQ(objects[1].toStdString(),
              QStringLiteral("1:ResumeMemo@20,%1 Fin").arg(18 + height).toStdString());
}

TEST_F(BandsTest, BandThatDoesNotFitMovesWhole)
{
    bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("50"));
    bandWithMemo(btReportSummary, 100, 60, QStringLiteral("Resume"), QStringLiteral("Fin"));
    ASSERT_TRUE(report->PrepareReport());
    // 50 records end at 1048; the 60 px summary starts the next page whole.
    ASSERT_EQ(report->EMFPages().Count(), 2);
    EXPECT_TRUE(placed().contains(QStringLiteral("2:ResumeMemo@20,48 Fin")));
}

TEST_F(BandsTest, BreakedMemoOverThreePages)
{
    bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), flStretched | flBandPageBreak,
         QStringLiteral("1"));
    TfrMemoView *m = memo(QStringLiteral("Texte"), 20, 40, 300, 20, lines(150));
    m->Flags |= flStretched;
    const QString dump = prepareFixture(QStringLiteral("build_breaked"));
    const QStringList pieces = piecesOf(QStringLiteral("Texte"));
    ASSERT_EQ(pieces.size(), 3) << pieces.join(QLatin1Char('\n')).toStdString();
    QStringList joined;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(pieces[i].startsWith(QStringLiteral("%1@48:").arg(i + 1))) << i;
        joined.append(pieces[i].section(QLatin1Char(':'), 1));
    }
    EXPECT_EQ(joined.join(QLatin1Char('|')).toStdString(),
              lines(150).replace(QLatin1Char('\n'), QLatin1Char('|')).toStdString());
    EXPECT_EQ(countsPerPage(QStringLiteral("EnteteMemo")), (std::vector<int>{1, 1, 1}));
    expectGolden(QStringLiteral("build_breaked.txt"), dump);
}

TEST_F(BandsTest, InvisibleBandPrintsItsChildWhenAsked)
{
    for (bool printChild : {false, true}) {
        report->Pages().Clear();
        page = report->Pages().Add();
        TfrBandView *data =
            bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("D"),
                         printChild ? flBandPrintChildIfInvisible : 0, QStringLiteral("2"));
        data->Visible = 0;
        data->ChildBand = QStringLiteral("Enfant");
        bandWithMemo(btChild, 100, 20, QStringLiteral("Enfant"), QStringLiteral("E"));
        ASSERT_TRUE(report->PrepareReport());
        EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(),
                  printChild ? "1:EnfantMemo@20,18 E;1:EnfantMemo@20,38 E" : "")
            << printChild;
    }
}

TEST_F(BandsTest, TallerThanAPageEndsWithoutBlankPages)
{
    // A rigid object three pages tall in a split band, then a plain band
    // taller than a page: each prints clipped on a fresh page.
    bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                 flBandOnFirstPage);
    band(btMasterData, 40, 3000, QStringLiteral("Haut"), flBandPageBreak, QStringLiteral("1"));
    auto picture = std::make_unique<TfrPictureView>();
    picture->Name = QStringLiteral("Image");
    picture->SetBounds(20, 40, 100, 3000);
    page->Add(std::move(picture));
    band(btDetailData, 3100, 1500, QStringLiteral("Grand"), 0, QStringLiteral("2"));
    memo(QStringLiteral("GrandMemo"), 20, 3100, 300, 1500, QStringLiteral("G"));
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_LE(report->EMFPages().Count(), 4);
    const QStringList objects = placed();
    for (int i = 1; i <= report->EMFPages().Count(); ++i) {
        int onPage = 0;
        for (const QString &o : objects)
            onPage += o.startsWith(QString::number(i) + QLatin1Char(':')) &&
                              !o.contains(QStringLiteral("EnteteMemo"))
                          ? 1
                          : 0;
        EXPECT_GT(onPage, 0) << "page " << i << " is blank";
    }
    EXPECT_EQ(countsPerPage(QStringLiteral("Image")), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(countsPerPage(QStringLiteral("GrandMemo")), (std::vector<int>{0, 1, 1}));
}

TEST_F(BandsTest, SplitObjectsEndWithinWhatTheyCanShow)
{
    // Stops a build that would start pages for ever.
    report->OnProgress = [this](int page) {
        if (page > 20)
            report->Cancelled = true;
    };
    // A band drawn on the page and split, not stretched: its memo holds more
    // text than its frame. The frame's rest continues on page 2 with the
    // text that follows; past its frame the memo ends, and so does the band.
    bandWithMemo(btReportTitle, 0, 500, QStringLiteral("Titre"), QStringLiteral("Titre"));
    band(btMasterData, 510, 550, QStringLiteral("Donnees"), flBandPageBreak, QStringLiteral("1"));
    memo(QStringLiteral("Texte"), 20, 510, 300, 550, lines(400));
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 2);
    const QStringList pieces = piecesOf(QStringLiteral("Texte"));
    ASSERT_EQ(pieces.size(), 2) << pieces.join(QLatin1Char('\n')).toStdString();
    const QString last = pieces[0].section(QLatin1Char('|'), -1);
    const int next = last.section(QLatin1Char(' '), 1).toInt() + 1;
    EXPECT_TRUE(pieces[1].startsWith(QStringLiteral("2@18:Ligne %1|").arg(next)))
        << pieces[1].left(40).toStdString();

    // A rule as long as a damaged band allows: a page of it and the next,
    // not a piece on each of 65,000 pages.
    report->Pages().Clear();
    page = report->Pages().Add();
    band(btMasterData, 0, kFrMaxGeometry, QStringLiteral("Long"), flBandPageBreak,
         QStringLiteral("1"));
    auto rule = std::make_unique<TfrLineView>();
    rule->Name = QStringLiteral("Trait");
    rule->SetBounds(20, 0, 0, kFrMaxGeometry);
    page->Add(std::move(rule));
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(countsPerPage(QStringLiteral("Trait")), (std::vector<int>{1, 1}));
}

TEST_F(BandsTest, PageEdgeBandsNeverStartPagesThemselves)
{
    // Each would otherwise print itself again on the page it starts.
    const struct {
        int type;
        quint16 flags;
        int height;
        const char *script;
    } cases[] = {
        {btPageHeader, flBandOnFirstPage | flBandNewPageAfter, 30, ""},
        {btPageHeader, flBandOnFirstPage, 30, "NEWPAGE"},
        {btPageHeader, flBandOnFirstPage | flBandPageBreak | flStretched, 1200, ""},
        {btPageFooter, flBandOnFirstPage, 20, "NEWPAGE"},
        {btColumnHeader, 0, 1200, ""},
    };
    for (const auto &c : cases) {
        report->Pages().Clear();
        page = report->Pages().Add();
        TfrBandView *edge = bandWithMemo(c.type, 0, c.height, QStringLiteral("Bord"),
                                         QStringLiteral("bord"), c.flags);
        if (*c.script)
            edge->Script = QStringList{QString::fromLatin1(c.script)};
        bandWithMemo(btMasterData, 1300, 20, QStringLiteral("Donnees"), QStringLiteral("d"), 0,
                     QStringLiteral("60"));
        ASSERT_TRUE(report->PrepareReport()) << c.type << c.script;
        EXPECT_LE(report->EMFPages().Count(), 60) << c.type << c.script;
        EXPECT_EQ(countsPerPage(QStringLiteral("DonneesMemo")).size(),
                  size_t(report->EMFPages().Count()));
    }
}

TEST_F(BandsTest, BandWithCrossObjectsIsMeasuredPerColumn)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), flStretched, QStringLiteral("1"));
    memo(QStringLiteral("Nom"), 20, 40, 100, 20, QStringLiteral("nom"));
    auto cross = std::make_unique<TfrBandView>();
    cross->Name = QStringLiteral("Colonnes");
    cross->SetBandType(btCrossData);
    cross->SetBounds(400, 0, 100, 1000);
    cross->FormatStr = QStringLiteral("3");
    page->Add(std::move(cross));
    TfrMemoView *cell = memo(QStringLiteral("Cellule"), 410, 40, 80, 20, QStringLiteral("c"));
    cell->Flags |= flStretched;
    QStringList events;
    report->OnBeginColumn = [&](TfrBand *b) { events.append(QStringLiteral("begin ") + b->Name); };
    report->OnPrintColumn = [&](int column, int &) {
        events.append(QStringLiteral("column %1").arg(column));
    };
    ASSERT_TRUE(report->PrepareReport());
    // Measured once, then printed: each time every column is announced.
    EXPECT_EQ(events.join(QLatin1Char(',')).toStdString(),
              "begin Donnees,column 1,column 2,column 3,begin Donnees,column 1,column 2,column 3");
    // The cross band's own object is printed by the cross columns, once each.
    EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(),
              "1:Nom@20,18 nom;1:Cellule@410,18 c;1:Cellule@510,18 c;1:Cellule@610,18 c");
}

// A cycle of bands showing each other ends with the nesting box, whether
// band scripts, object scripts or bracketed texts show the bands.
TEST_F(BandsTest, BandCyclesEndWithTheNestingBox)
{
    enum Way { bandScript, objectScript, text };
    const struct {
        int first, second; // the second shows the first; -1: the first shows itself
        Way way;
    } rows[] = {
        {btReportTitle, -1, bandScript},   {btReportTitle, btReportSummary, objectScript},
        {btReportTitle, -1, text},         {btMasterData, btChild, text},
        {btOverlay, btColumnHeader, text}, {btPageHeader, btReportTitle, text},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << ' ' << row.second << ' ' << row.way);
        TearDown();
        SetUp();
        const auto showing = [&](int type, int y, const QString &name, const QString &shown) {
            const QString call = QStringLiteral("SHOWBAND(%1)").arg(shown);
            TfrBandView *b = bandWithMemo(
                type, y, 20, name, row.way == text ? '[' + call + ']' : name, flBandOnFirstPage,
                type == btMasterData ? QStringLiteral("1") : QString());
            TfrView *holder =
                row.way == bandScript ? b : page->FindObject(name + QStringLiteral("Memo"));
            if (row.way != text)
                holder->Script = QStringList{call};
        };
        showing(row.first, 0, QStringLiteral("A"),
                row.second < 0 ? QStringLiteral("A") : QStringLiteral("B"));
        if (row.second >= 0)
            showing(row.second, 40, QStringLiteral("B"), QStringLiteral("A"));
        EXPECT_FALSE(report->PrepareReport());
        EXPECT_EQ(fakes->dialogs.messages.size(), 1u);
        EXPECT_TRUE(fakes->dialogs.texts().value(0).contains(
            QStringLiteral("Imbrication des bandes trop profonde")))
            << fakes->dialogs.texts().join(QLatin1Char('|')).toStdString();
    }
}

} // namespace
} // namespace report::test
