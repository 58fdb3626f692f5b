// Printing prepared pages: the page selection, copies and collation, odd
// and even pages, jobs per paper, cancelling, where each page lands on the
// sheet, and the virtual printer's PDF read back with the poppler tools.
#include "print_fixture.h"

#include "platform/text/exceptions.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>

namespace report::test
{

TEST(PageSelection, NumbersRangesAndErrors)
{
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        const char *text;
        std::vector<int> pages;
    } cases[] = {
        {"", all},
        {"1,3,5-12", {1, 3, 5, 6, 7, 8}},
        {" 1 , 3 ", {1, 3}},
        {"5-", {5, 6, 7, 8}},
        {"1-2000000000", all},
        {"3,1,3", {1, 3}},
        {"1-3-5", {3, 4, 5}},
        {"12-5", {}},
        {"9-", {}},
        {"0", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(frParsePageNumbers(QString::fromUtf8(c.text), 8), c.pages) << c.text;

    for (const char *bad : {"a", "1,,3", "1,3,", "-3", "1;3", "99999999999", "1-a", ","})
        EXPECT_THROW(frParsePageNumbers(QString::fromUtf8(bad), 8), platform::EConvertError) << bad;
    try {
        frParsePageNumbers(QStringLiteral("a"), 8);
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'a' n'est pas une valeur entière correcte"));
    }
}

TEST(PageSetupMargins, RoundTripsHalfToEven)
{
    struct Case {
        int pixels, hundredths;
    } cases[] = {{18, 500}, {10, 278}, {0, 0}, {36, 1000}, {1, 28}};
    for (const Case &c : cases) {
        EXPECT_EQ(frMarginToHundredths(c.pixels), c.hundredths) << c.pixels;
        EXPECT_EQ(frHundredthsToMargin(c.hundredths), c.pixels) << c.pixels;
    }
}

TEST_F(PrintTest, CopiesCollationAndKinds)
{
    add600();
    preparePages(5);
    struct Case {
        const char *pages;
        int copies;
        bool collate;
        int kind;
        QStringList printed;
        int jobCopies;
    } cases[] = {
        {"1-2", 3, true, 0, {"1", "2", "1", "2", "1", "2"}, 1},
        {"1-2", 3, false, 0, {"1", "2"}, 3},
        {"", 1, false, 1, {"1", "3", "5"}, 1},
        {"", 1, false, 2, {"2", "4"}, 1},
        {"4,2", 0, true, 0, {"2", "4"}, 1},
        {"5-", -2, false, 0, {"5"}, 1},
    };
    for (const Case &c : cases) {
        printers->jobs.clear();
        report->PrintWithProgress(QString::fromUtf8(c.pages), c.copies, c.collate, c.kind);
        EXPECT_TRUE(report->LastPrintDone()) << c.pages;
        ASSERT_EQ(printers->jobs.size(), 1u) << c.pages;
        EXPECT_EQ(printedNumbers(), c.printed) << c.pages << " x" << c.copies;
        EXPECT_EQ(printers->jobs[0].copies, c.jobCopies) << c.pages;
        EXPECT_TRUE(printers->jobs[0].ended);
        EXPECT_EQ(printers->jobs[0].title, QStringLiteral("Sans_nom"));
    }
}

TEST_F(PrintTest, NoPageOrABadSelectionBeginsNoJob)
{
    add600();
    preparePages(3);
    for (const char *none : {"12-5", "9-", "0", "4"}) {
        fakes->dialogs.messages.clear();
        report->PrintWithProgress(QString::fromUtf8(none), 1, true, 0);
        EXPECT_FALSE(report->LastPrintDone());
        EXPECT_EQ(fakes->dialogs.texts(), QStringList{QStringLiteral("Aucune page à imprimer")})
            << none;
    }
    // Even pages of a one-page selection: nothing either.
    report->PrintWithProgress(QStringLiteral("3"), 1, true, 2);
    EXPECT_FALSE(report->LastPrintDone());
    EXPECT_THROW(report->PrintWithProgress(QStringLiteral("1,,3"), 1, true, 0),
                 platform::EConvertError);
    EXPECT_TRUE(printers->jobs.empty());
}

TEST_F(PrintTest, APrinterThatCannotChangePaperGetsAJobPerPaper)
{
    add600();
    addPage(9);
    addPage(9);
    addPage(11);
    addPage(9);
    preparePages(4);
    report->Title = QStringLiteral("Convocations");
    report->PrintWithProgress(QString(), 1, true, 0);
    ASSERT_EQ(printers->jobs.size(), 3u);
    EXPECT_EQ(printedNumbers(printers->jobs[0]), (QStringList{"1", "2"}));
    EXPECT_EQ(printedNumbers(printers->jobs[1]), QStringList{"3"});
    EXPECT_EQ(printers->jobs[1].mode.paperSize, 11);
    EXPECT_EQ(printedNumbers(printers->jobs[2]), QStringList{"4"});
    EXPECT_EQ(printers->jobs[2].mode.paperSize, 9);
    for (const auto &job : printers->jobs) {
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(job.title, QStringLiteral("Convocations"));
    }
}

TEST_F(PrintTest, CancelAfterTheSecondPageAbortsTheJob)
{
    add600();
    preparePages(4);
    report->OnProgress = [this](int n) {
        if (n == 2)
            report->Cancelled = true;
    };
    report->PrintWithProgress(QString(), 1, true, 0);
    EXPECT_FALSE(report->LastPrintDone());
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_TRUE(printers->jobs[0].aborted);
    EXPECT_FALSE(printers->jobs[0].ended);
    EXPECT_FALSE(printer->Printing());
}

TEST_F(PrintTest, WhereAPageLandsOnTheSheet)
{
    add600();
    page->UseMargins = 0;
    page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 18;
    addPage();
    TfrPage *whole = addPage();
    whole->UseMargins = 0xFFFF;
    preparePages(2);
    report->PrintWithProgress(QString(), 1, true, 0);
    ASSERT_EQ(printers->jobs.size(), 1u);
    ASSERT_EQ(printers->jobs[0].pages.size(), 2u);
    // The title's frame (200 x 40 px at the page's corner) shows where the
    // page went: into (118, 118)-(4643, 6698), margins of 18 px scaled by
    // 4761 / 727 and 6816 / 1041, so 200 px span 200 x 4525 / 758 device
    // pixels; with BoundByMargins into the whole sheet moved by the offsets,
    // (-100, -100)-(4861, 6916). Its edges are one report pixel wide on the
    // sheet too: 6 device pixels, 7 on the whole sheet.
    const QString margins = printers->jobs[0].pages[0].picture.dump();
    EXPECT_TRUE(margins.contains(QStringLiteral("fill 118,118 6x"))) << margins.toStdString();
    EXPECT_TRUE(margins.contains(QStringLiteral("fill 1312,118 6x")));
    // The number at y 60: 118 + 60 x 6580 / 1071.
    EXPECT_TRUE(margins.contains(QStringLiteral("clip=124,487 ")));
    const QString sheet = printers->jobs[0].pages[1].picture.dump();
    EXPECT_TRUE(sheet.contains(QStringLiteral("fill -100,-100 7x"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("fill 1209,-100 7x")));
    // The objects of every printed page are freed.
    for (int i = 0; i < report->EMFPages().Count(); ++i) {
        EXPECT_FALSE(report->EMFPages().Entry(i)->Page) << i;
        EXPECT_EQ(report->EMFPages().Entry(i)->Shown, 0) << i;
    }
}

TEST_F(PrintTest, AFailedJobIsToldAndNothingCountsAsPrinted)
{
    add600();
    printers->printers.front().failJobs = true;
    preparePages(2);
    report->PrintWithProgress(QString(), 1, true, 0);
    EXPECT_FALSE(report->LastPrintDone());
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes->dialogs.messages[0].text,
              QStringLiteral("Impossible d'imprimer sur Imprimante 600"));
    EXPECT_EQ(fakes->dialogs.messages[0].caption, QStringLiteral("Erreur"));
}

} // namespace report::test
