// The report component: defaults, guarded references, what its destructor
// takes back from the library, printer choice and change, events.
#include "io_support.h"
#include "io_template_builder.h"

#include "report/core/frexceptions.h"
#include "report/data/frdataset.h"
#include "report/expr/frparser.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frprinterinfo.h"
#include "report/objects/frview.h"
#include "tests/support/gui/fakes.h"

using namespace report;
using namespace report::test;

namespace
{

class ComponentTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        fakes = std::make_unique<vorn_test::SeamFakes>();
        auto own = std::make_unique<FrVirtualPrinterInfo>();
        printer = own.get();
        frObjects().setPrinter(std::move(own));
    }
    void TearDown() override
    {
        fakes.reset();
        ReportLibraryTest::TearDown();
    }
    std::unique_ptr<vorn_test::SeamFakes> fakes;
    FrVirtualPrinterInfo *printer = nullptr;
};

TEST_F(ComponentTest, DefaultsOfANewReport)
{
    TfrReport report;
    EXPECT_EQ(report.DefaultCopies, 1);
    EXPECT_TRUE(report.DefaultCollate);
    EXPECT_FALSE(report.GrayedButtons);
    EXPECT_EQ(report.InitialZoom, pzDefault);
    EXPECT_FALSE(report.MDIPreview);
    EXPECT_TRUE(report.ModalPreview);
    EXPECT_TRUE(report.ModifyPrepared);
    EXPECT_EQ(report.PreviewButtons, 127u);
    EXPECT_EQ(report.PreviewButtons & pbPageSetup, 0u);
    EXPECT_EQ(report.ReportType, rtSimple);
    EXPECT_TRUE(report.ShowProgress);
    EXPECT_FALSE(report.StoreInDFM);
    EXPECT_TRUE(report.Title.isEmpty());
    EXPECT_EQ(report.FileName, QStringLiteral("Sans_nom"));
    EXPECT_EQ(report.Pages().Count(), 0);
    EXPECT_EQ(report.EMFPages().Count(), 0);
    EXPECT_EQ(report.Dataset(), nullptr);
    EXPECT_EQ(report.Preview(), nullptr);
}

TEST_F(ComponentTest, RemovedComponentsLeaveNoDanglingReference)
{
    TfrReport report;
    auto *dataset = new TfrUserDataset();
    auto *preview = new QObject();
    report.setDataset(dataset);
    report.setPreview(preview);
    EXPECT_EQ(report.Dataset(), dataset);
    EXPECT_EQ(report.ReportDataset(), dataset);
    delete dataset;
    delete preview;
    EXPECT_EQ(report.Dataset(), nullptr);
    EXPECT_EQ(report.Preview(), nullptr);
}

TEST_F(ComponentTest, DestructorTakesItselfOutOfTheLibrary)
{
    auto other = std::make_unique<TfrReport>();
    auto report = std::make_unique<TfrReport>();
    report->makeCurrent();
    frObjects().frMasterReport = report.get();
    report->installParserCallbacks([](const QString &, FrVariant &v) { v = FrVariant(1); }, {});
    EXPECT_EQ(fr().frCurrentReport, report.get());
    report.reset();
    EXPECT_EQ(fr().frCurrentReport, nullptr);
    EXPECT_EQ(frObjects().frCurrentReport, nullptr);
    EXPECT_EQ(frObjects().frMasterReport, nullptr);
    EXPECT_FALSE(bool(fr().frGlobalParser->OnGetValue));
    EXPECT_FALSE(bool(fr().frGlobalParser->OnFunction));

    // Callbacks of another report stay.
    other->installParserCallbacks([](const QString &, FrVariant &v) { v = FrVariant(2); }, {});
    auto third = std::make_unique<TfrReport>();
    third->makeCurrent();
    third.reset();
    ASSERT_TRUE(bool(fr().frGlobalParser->OnGetValue));
    EXPECT_EQ(fr().frGlobalParser->Calc(QStringLiteral("[X]")).toInt(), 2);
}

TEST_F(ComponentTest, ReportPrinterChoice)
{
    printer->addRealPrinter();
    TfrReport report;
    ASSERT_EQ(printer->PrinterIndex(), 0);
    report.SelectReportPrinter(QStringLiteral("Imprimante virtuelle"));
    EXPECT_EQ(printer->PrinterIndex(), 1);
    report.SelectReportPrinter(QStringLiteral("Imprimante inconnue"));
    EXPECT_EQ(printer->PrinterIndex(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Imprimante inconnue"));
    report.KeepPrinter = 1;
    report.SelectReportPrinter(QStringLiteral("Imprimante 600"));
    EXPECT_EQ(printer->PrinterIndex(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Imprimante 600"));
}

TEST_F(ComponentTest, ChangePrinterReappliesEveryPagePaper)
{
    printer->addRealPrinter();
    printer->SetPrinterIndex(1);
    TfrReport report;
    TfrPage *page = report.Pages().Add();
    page->ChangePaper(11, 0, 0, kFrDefaultBin, 1);
    const TfrPrnInfo onVirtual = page->PrnInfo;
    EXPECT_TRUE(report.ChangePrinter(1, 0));
    EXPECT_EQ(report.PrinterName, QStringLiteral("Imprimante 600"));
    EXPECT_EQ(std::tuple(page->Size, page->Orientation), std::tuple(11, 1));
    EXPECT_NE(page->PrnInfo, onVirtual); // 600 dpi geometry now
    EXPECT_TRUE(fakes->dialogs.messages.empty());

    EXPECT_FALSE(report.ChangePrinter(0, 7));
    EXPECT_EQ(fakes->dialogs.texts(),
              QStringList{QStringLiteral("L'imprimante sélectionnée est non valide")});
    EXPECT_EQ(fakes->dialogs.messages.front().caption, QStringLiteral("Erreur"));
    EXPECT_EQ(printer->PrinterIndex(), 0);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Imprimante 600"));
}

TEST_F(ComponentTest, TemplateLoadSelectsTheStoredPrinter)
{
    printer->addRealPrinter();
    TfrReport report;
    buildTemplate(report, false);
    printer->SetPrinterIndex(1);
    FrMemoryStream stream;
    report.SaveToStream(stream); // virtual printer stored as character 1
    printer->SetPrinterIndex(0);
    stream.seek(0);
    TfrReport back;
    back.LoadFromStream(stream);
    EXPECT_EQ(printer->PrinterIndex(), 1);
    EXPECT_EQ(back.PrinterName, QStringLiteral("Imprimante virtuelle"));
}

TEST_F(ComponentTest, ClearEmptiesPagesAndDictionaryButNotExclusions)
{
    TfrReport report;
    buildTemplate(report);
    report.Dictionary().DisabledDataSets << QStringLiteral("Secret");
    ASSERT_NE(report.FindObject(QStringLiteral("memo9")), nullptr);
    report.Clear();
    EXPECT_EQ(report.Pages().Count(), 0);
    EXPECT_EQ(report.Dictionary().Variables.Count(), 0);
    EXPECT_EQ(report.Dictionary().DisabledDataSets.size(), 1);
    EXPECT_EQ(report.FindObject(QStringLiteral("memo9")), nullptr);
}

TEST_F(ComponentTest, BeforePrintEventAndPageEvents)
{
    TfrReport report;
    QStringList seen;
    report.OnBeforePrint = [&seen](QStringList &memo, TfrView *view) {
        seen << view->Name + QLatin1Char(':') + memo.join(QLatin1Char(','));
        memo << QStringLiteral("ajout");
    };
    EXPECT_TRUE(report.HasOnBeforePrint());
    TfrMemoView memo;
    memo.Name = QStringLiteral("M");
    QStringList lines{QStringLiteral("a")};
    report.BeforePrintObject(lines, &memo);
    EXPECT_EQ(seen, QStringList{QStringLiteral("M:a")});
    EXPECT_EQ(lines.size(), 2);

    QList<int> begun;
    report.OnBeginPage = [&begun](int pgNo) { begun << pgNo; };
    TfrReport master;
    QList<int> masterBegun;
    master.OnBeginPage = [&masterBegun](int pgNo) { masterBegun << pgNo; };
    report.makeCurrent();
    frObjects().frMasterReport = &master;
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    fr().frPageNo = 4;
    report.EMFPages().AddPage(page);
    EXPECT_EQ(begun, QList<int>{4});
    EXPECT_EQ(masterBegun, QList<int>{4});
    frObjects().frMasterReport = &report;
    report.EMFPages().AddPage(page);
    EXPECT_EQ(begun, (QList<int>{4, 4}));
    EXPECT_EQ(masterBegun, QList<int>{4});
    frObjects().frMasterReport = nullptr;

    report.Terminate();
    EXPECT_TRUE(report.Cancelled);
}

TEST_F(ComponentTest, DottedNamesReachPagesAndObjectsOfTheReport)
{
    TfrReport report;
    buildTemplate(report);
    report.makeCurrent();
    TfrObject *object = nullptr;
    QString property;
    frFindObjectProperty(QStringLiteral("Page2.Visible"), object, property);
    EXPECT_EQ(object, report.Pages().GetPage(1));
    EXPECT_EQ(property, QStringLiteral("Visible"));
    EXPECT_TRUE(object->GetPropertyValue(property).toBool());
    frFindObjectProperty(QStringLiteral("Memo9.Memo"), object, property);
    EXPECT_EQ(object, report.FindObject(QStringLiteral("Memo9")));
    frFindObjectProperty(QStringLiteral("Riche.Font.Name"), object, property);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetPropertyValue(property).toString(), QStringLiteral("Times New Roman"));
    frFindObjectProperty(QStringLiteral("PAGE9.Visible"), object, property);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComponentTest, PreparedFilesMarkTheReportNotRebuildable)
{
    TfrReport report;
    report.CanRebuild = true;
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    report.EMFPages().AddPage(page);
    const QString path = tempPath(QStringLiteral("etat.frp"));
    ASSERT_TRUE(report.SavePreparedFile(path));
    TfrReport back;
    back.CanRebuild = true;
    back.LoadPreparedFile(path);
    EXPECT_FALSE(back.CanRebuild);
    EXPECT_EQ(back.EMFPages().Count(), 1);
    EXPECT_THROW(back.LoadPreparedFile(tempPath(QStringLiteral("absent.frp"))), EFrStreamError);
    EXPECT_EQ(back.EMFPages().Count(), 1);
}

} // namespace
