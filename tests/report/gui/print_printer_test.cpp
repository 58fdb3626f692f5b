// The library printer over the platform's printers: the printer list with
// its virtual printer, papers and bins, the geometry in device and report
// pixels, equal papers, a queue that vanishes, an over-long driver list and
// the one current printer that the charts print on too.
#include "print_fixture.h"

#include "platform/charts/chart.h"

namespace report::test
{

TEST_F(PrintTest, WithoutPrintersOnlyTheVirtualPrinterAndThePaperTable)
{
    EXPECT_EQ(printer->Printers(), QStringList{QStringLiteral("Imprimante virtuelle")});
    EXPECT_EQ(printer->PrinterIndex(), 0);
    EXPECT_EQ(printer->VirtualPrinterIndex(), 0);
    const QStringList papers = printer->PaperNames();
    ASSERT_EQ(papers.size(), 67);
    EXPECT_EQ(papers.first(), QStringLiteral("Letter, 8 1/2 x 11\""));
    EXPECT_EQ(papers.at(19), QStringLiteral("#10 Envelope, 4 1/8  x 9 1/2\""));
    EXPECT_EQ(papers.last(), QStringLiteral("Personalisé"));
    EXPECT_EQ(printer->PaperSizes().back(), 256);
    EXPECT_EQ(printer->BinNames(), QStringList{QStringLiteral("Defaut")});
    EXPECT_EQ(printer->Bins(), std::vector<int>{0xFFFF});
    // A code the printer does not offer: the last position.
    EXPECT_EQ(printer->GetPaperIndex(48), 66);

    TfrPrnInfo a4;
    printer->FillPrnInfo(a4);
    EXPECT_EQ(a4, (TfrPrnInfo{4961, 7016, 758, 1071, 118, 118, 18, 18, 4725, 6780, 722, 1035}));
    ASSERT_TRUE(printer->SetPrinterInfo(11, 0, 0, kFrDefaultBin, 1, false));
    TfrPrnInfo a5;
    printer->FillPrnInfo(a5);
    EXPECT_EQ(printer->PaperWidth(), 2100);
    EXPECT_EQ(printer->PaperHeight(), 1480);
    EXPECT_EQ(std::tuple(a5.Pgw, a5.Pgh, a5.PPgw), std::tuple(758, 534, 4961));
}

TEST_F(PrintTest, A600DpiPrinterComesFirstWithItsPapersBinsAndGeometry)
{
    add600();
    EXPECT_EQ(printer->Printers(), (QStringList{QStringLiteral("Imprimante 600"),
                                                QStringLiteral("Imprimante virtuelle")}));
    EXPECT_EQ(printer->PrinterIndex(), 0);
    EXPECT_EQ(printer->VirtualPrinterIndex(), 1);
    EXPECT_EQ(printer->PaperSizes(), (std::vector<int>{9, 11, 1, 256}));
    EXPECT_EQ(printer->PaperNames(),
              (QStringList{QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("Letter"),
                           QStringLiteral("Personalisé")}));
    EXPECT_EQ(printer->Bins(), (std::vector<int>{0xFFFF, 1, 4}));
    EXPECT_EQ(printer->BinNames(),
              (QStringList{QStringLiteral("Defaut"), QStringLiteral("Bac supérieur"),
                           QStringLiteral("Alimentation manuelle")}));
    TfrPrnInfo info;
    printer->FillPrnInfo(info);
    EXPECT_EQ(info, (TfrPrnInfo{4961, 7016, 758, 1071, 100, 100, 15, 15, 4761, 6816, 727, 1041}));
    EXPECT_EQ(printer->PaperWidth(), 2100);
    EXPECT_EQ(printer->PaperHeight(), 2970);
    // A paper the driver does not offer is refused; the page then asks a custom size.
    EXPECT_FALSE(printer->SetPrinterInfo(8, 2970, 4200, kFrDefaultBin, 0, false));
    EXPECT_TRUE(printer->SetPrinterInfo(256, 2970, 4200, kFrDefaultBin, 0, false));
    EXPECT_EQ(printer->PaperSize(), 256);
    printer->FillPrnInfo(info);
    EXPECT_EQ(info.PPgw, 7016);
}

TEST_F(PrintTest, EqualPapers)
{
    ASSERT_TRUE(printer->SetPrinterInfo(256, 1000, 2000, kFrDefaultBin, 0, true));
    struct Case {
        int size, width, height, bin, orientation;
        bool equal;
    } cases[] = {
        {256, 1000, 2000, kFrDefaultBin, 0, true},
        {256, 1001, 1999, kFrDefaultBin, 0, true},
        {256, 999, 2001, 7, 0, true},
        {256, 1002, 2000, kFrDefaultBin, 0, false},
        {256, 1000, 1998, kFrDefaultBin, 0, false},
        {256, 1000, 2000, kFrDefaultBin, 1, false},
        {9, 1000, 2000, kFrDefaultBin, 0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(printer->IsEqual(c.size, c.width, c.height, c.bin, c.orientation), c.equal)
            << c.size << " " << c.width << "x" << c.height << " bin " << c.bin;
    ASSERT_TRUE(printer->SetPrinterInfo(9, 0, 0, 4, 0, true));
    EXPECT_TRUE(printer->IsEqual(9, 1, 1, 4, 0));
    EXPECT_TRUE(printer->IsEqual(9, 1, 1, kFrDefaultBin, 0)); // any bin will do
    EXPECT_FALSE(printer->IsEqual(9, 1, 1, 2, 0));
    EXPECT_FALSE(printer->IsEqual(9, 1, 1, 4, 1));
}

TEST_F(PrintTest, NothingChangesWhileAJobRuns)
{
    add600();
    bool cancelled = false;
    ASSERT_TRUE(printer->BeginDoc(QStringLiteral("Essai"), 1, cancelled));
    EXPECT_TRUE(printer->Printing());
    EXPECT_FALSE(printer->SetPrinterInfo(11, 1480, 2100, kFrDefaultBin, 0, true));
    EXPECT_EQ(printer->PaperSize(), 9);
    // A printer's job keeps its paper.
    EXPECT_FALSE(printer->ChangeJobPaper(11, 1480, 2100, kFrDefaultBin, 0));
    EXPECT_EQ(printer->PaperSize(), 9);
    EXPECT_TRUE(printer->EndDoc());
    EXPECT_FALSE(printer->Printing());
    EXPECT_TRUE(printer->SetPrinterInfo(11, 1480, 2100, kFrDefaultBin, 0, false));
}

TEST_F(PrintTest, AVanishedQueueGivesWayToTheVirtualPrinter)
{
    add600();
    printers->printers.push_back(platform::FakePrinterSystem::printer600());
    printers->printers.back().name = QStringLiteral("Seconde");
    resetPrinter();
    printer->SetPrinterIndex(1);
    ASSERT_EQ(platform::currentPrinterName(), QStringLiteral("Seconde"));
    // The first queue goes: the current one is kept by name at its new place.
    printers->printers.front().gone = true;
    printer->RefreshPrinters();
    EXPECT_EQ(printer->Printers(),
              (QStringList{QStringLiteral("Seconde"), QStringLiteral("Imprimante virtuelle")}));
    EXPECT_EQ(printer->PrinterIndex(), 0);
    // Then the current one goes too.
    printers->printers.back().gone = true;
    printer->RefreshPrinters();
    EXPECT_EQ(printer->Printers(), QStringList{QStringLiteral("Imprimante virtuelle")});
    EXPECT_EQ(printer->PrinterIndex(), printer->VirtualPrinterIndex());
    EXPECT_EQ(printer->PaperNames().size(), 67);
    EXPECT_EQ(platform::currentPrinterName(), platform::kVirtualPrinterName);

    // A queue gone between the list and its use: the virtual printer too.
    printers->printers.back().gone = false;
    printer->RefreshPrinters();
    printers->printers.back().gone = true;
    printer->SetPrinterIndex(0);
    EXPECT_EQ(printer->PrinterIndex(), printer->VirtualPrinterIndex());
}

TEST_F(PrintTest, ADriverListIsCutAt256)
{
    printers->printers.push_back(platform::FakePrinterSystem::talkativeDriver());
    printers->defaultName = printers->printers.front().name;
    resetPrinter();
    ASSERT_EQ(printer->PrinterIndex(), 0);
    EXPECT_EQ(printer->PaperSizes().size(), 256u);
    EXPECT_EQ(printer->PaperNames().size(), 256);
    EXPECT_EQ(printer->PaperSizes().back(), 256);
    EXPECT_EQ(printer->Bins().size(), 256u);
    EXPECT_EQ(printer->BinNames().size(), 256);
}

TEST_F(PrintTest, TheChosenPrinterIsThePlatformsCurrentOneWhichChartsPrintOn)
{
    add600();
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    EXPECT_EQ(platform::currentPrinterName(), platform::kVirtualPrinterName);
    printer->SetPrinterIndex(0);
    EXPECT_EQ(platform::currentPrinterName(), QStringLiteral("Imprimante 600"));
    platform::TChart chart(QStringLiteral("Chart1"));
    chart.setBarSeries(QStringLiteral("Joueurs"), {{QStringLiteral("A"), 3, QColor()}},
                       platform::TChart::Marks::Value);
    EXPECT_TRUE(chart.Print());
    EXPECT_EQ(printers->qprinters, QStringList{QStringLiteral("Imprimante 600")});
    // No dialog was shown on the way.
    EXPECT_TRUE(fakes->dialogs.messages.empty());
    EXPECT_TRUE(fakes->dialogs.saveRequests.empty());
}

TEST_F(PrintTest, PropertiesDialogTakesTheChosenPaperOrNothing)
{
    add600();
    printers->setupAnswer = false;
    printers->setupMode = platform::DeviceMode{11, 1480, 2100, 1}; // A5, landscape
    EXPECT_FALSE(printer->PropertiesDialog());
    EXPECT_EQ(printer->PaperSize(), 9);
    printers->setupAnswer = true;
    EXPECT_TRUE(printer->PropertiesDialog());
    EXPECT_EQ(printers->setupShows, 2);
    EXPECT_EQ(std::tuple(printer->PaperSize(), printer->Orientation(), printer->PaperWidth(),
                         printer->PaperHeight()),
              std::tuple(11, 1, 2100, 1480));
    TfrPrnInfo info;
    printer->FillPrnInfo(info);
    EXPECT_EQ(std::tuple(info.PPgw, info.PPgh), std::tuple(4961, 3496));
}

// Whatever paper a caller gives, the virtual printer's sheet is one a PDF
// can hold (1 mm to 10 m, nothing negative); margins wider than any sheet
// put the page nowhere instead of overflowing.
TEST_F(PrintTest, AnyPaperOrMarginsGiveASheetWithinBounds)
{
    struct Case {
        platform::DeviceMode mode;
        QSize sheet, printable;
    } cases[] = {
        {{9, 0, 0}, {4961, 7016}, {4725, 6780}},
        {{256, 2100, 2000000000}, {4961, 236220}, {4725, 235984}},
        {{256, INT_MIN, INT_MAX, 1}, {236220, 24}, {235984, 0}},
        {{-32768, 100001, -5}, {236220, 24}, {235984, 0}},
    };
    for (const Case &c : cases) {
        const platform::DeviceGeometry g = platform::virtualPrinterGeometry(c.mode);
        EXPECT_EQ(QSize(g.physicalWidth, g.physicalHeight), c.sheet) << c.mode.paperHeight;
        EXPECT_EQ(QSize(g.printableWidth, g.printableHeight), c.printable) << c.mode.paperHeight;
        EXPECT_EQ(QPoint(g.offsetX, g.offsetY), QPoint(118, 118));
    }
    add600();
    preparePages(1);
    TfrEMFPage &entry = *report->EMFPages().Entry(0);
    entry.BoundByMargins = 0;
    entry.Margins = {2000000000, 0, 0, -2000000000};
    report->PrintWithProgress(QString(), 1, true, 0);
    ASSERT_EQ(printers->jobs.size(), 1u);
    ASSERT_EQ(printers->jobs[0].pages.size(), 1u);
    EXPECT_TRUE(printers->jobs[0].pages[0].picture.isEmpty());
}

} // namespace report::test
