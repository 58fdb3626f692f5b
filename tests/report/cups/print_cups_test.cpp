// Printing through a real print queue: a private scheduler started in a
// temporary folder (its own configuration, spool and socket; the machine's
// printers are left alone) with a queue "VornPDF" whose device is a PDF
// file. Runs in a binary of its own, because the platform's print client
// reads the scheduler's address once, at the first printer query.
#include "tests/report/gui/print_fixture.h"

#include "report/ui/frpreview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/types.h>

namespace report::test
{

namespace
{

// The queue's driver: PDF in, PDF out, three papers.
const char *const kPpd = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "VORNPDF.PPD"
*Manufacturer: "Vorn"
*Product: "(VornPDF)"
*ModelName: "VornPDF"
*ShortNickName: "VornPDF"
*NickName: "VornPDF"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize A5/A5: "<</PageSize[420 595]>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageRegion A5/A5: "<</PageSize[420 595]>>setpagedevice"
*PageRegion Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "14.17 14.17 581.1 827.7"
*ImageableArea A5/A5: "14.17 14.17 405.8 580.8"
*ImageableArea Letter/Letter: "14.17 14.17 597.8 777.8"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension A5/A5: "420 595"
*PaperDimension Letter/Letter: "612 792"
)PPD";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class CupsPrintTest : public PrintTest
{
protected:
    static void SetUpTestSuite()
    {
        const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
        if (!QFile::exists(cupsd) || !haveTool(QStringLiteral("lpadmin")))
            return;
        s_dir = new QTemporaryDir(QStringLiteral("/tmp/vorn_cups.XXXXXX"));
        const QString d = s_dir->path();
        QDir().mkpath(d);
        for (const char *sub : {"spool", "tmp", "cache", "state", "out"})
            QDir(d).mkpath(QLatin1String(sub));
        // The scheduler drops to its own user for filters and devices.
        QFile::setPermissions(d, QFileDevice::Permissions(0x7755));
        for (const char *open : {"tmp", "out", "spool"})
            QProcess::execute(QStringLiteral("chmod"),
                              {QStringLiteral("1777"), d + QLatin1Char('/') + QLatin1String(open)});
        writeFile(d + QStringLiteral("/cupsd.conf"),
                  QStringLiteral("Listen %1/cups.sock\nLogLevel warn\nWebInterface No\n"
                                 "Browsing No\nDefaultAuthType None\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(d)
                      .toUtf8());
        writeFile(d + QStringLiteral("/cups-files.conf"),
                  QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                                 "CacheDir %1/cache\nStateDir %1/state\nDataDir /usr/share/cups\n"
                                 "ServerBin /usr/lib/cups\nErrorLog %1/error_log\n"
                                 "AccessLog %1/access_log\nPageLog %1/page_log\nFileDevice Yes\n")
                      .arg(d)
                      .toUtf8());
        writeFile(d + QStringLiteral("/vorn.ppd"), kPpd);
        s_cupsd = new QProcess;
        s_cupsd->start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"),
                               d + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                               d + QStringLiteral("/cups-files.conf")});
        if (!s_cupsd->waitForStarted(5000))
            return;
        // Before the first printer query of the process.
        qputenv("CUPS_SERVER", (d + QStringLiteral("/cups.sock")).toUtf8());
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(d + QStringLiteral("/cups.sock")) && clock.elapsed() < 10000)
            QThread::msleep(50);
        const int added = QProcess::execute(
            QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), QStringLiteral("VornPDF"), QStringLiteral("-E"),
             QStringLiteral("-v"), QStringLiteral("file://%1/out/vorn.pdf").arg(d),
             QStringLiteral("-P"), d + QStringLiteral("/vorn.ppd")});
        s_ready = added == 0;
    }
    static void TearDownTestSuite()
    {
        if (s_cupsd) {
            // Stopped by its own id, nothing else.
            ::kill(pid_t(s_cupsd->processId()), SIGTERM);
            s_cupsd->waitForFinished(10000);
            delete s_cupsd;
            s_cupsd = nullptr;
        }
        delete s_dir;
        s_dir = nullptr;
        qunsetenv("CUPS_SERVER");
    }
    void SetUp() override
    {
        PrintTest::SetUp();
        if (!s_ready)
            GTEST_SKIP() << "no private print scheduler (cups-daemon, cups-client)";
        // The system's printers: the private scheduler's queue.
        platform::setPrinterSystem(nullptr);
        resetPrinter();
    }
    static QString output() { return s_dir->path() + QStringLiteral("/out/vorn.pdf"); }

    static inline QTemporaryDir *s_dir = nullptr;
    static inline QProcess *s_cupsd = nullptr;
    static inline bool s_ready = false;
};

TEST_F(CupsPrintTest, TheQueueComesBeforeTheVirtualPrinterWithItsPapers)
{
    EXPECT_EQ(printer->Printers(),
              (QStringList{QStringLiteral("VornPDF"), QStringLiteral("Imprimante virtuelle")}));
    printer->SetPrinterIndex(0);
    ASSERT_EQ(printer->PrinterIndex(), 0);
    const std::vector<int> sizes = printer->PaperSizes();
    for (int code : {9, 11, 1, 256})
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), code), sizes.end()) << code;
    EXPECT_EQ(printer->PaperNames().last(), QStringLiteral("Personalisé"));
    TfrPrnInfo info;
    printer->FillPrnInfo(info);
    // A4 as the queue gives it (whole points), in report pixels.
    EXPECT_NEAR(info.Pgw, 758, 1);
    EXPECT_NEAR(info.Pgh, 1071, 1);
    EXPECT_GT(info.POfx, 0); // the queue's unprintable margin
}

// Ctrl+P in the preview of a 3-page report prepared for the virtual
// printer: the print dialog chooses the queue and page "2"; the preview
// prepares the report again for the queue and prints that page alone.
TEST_F(CupsPrintTest, PrintingPageTwoFromThePreviewThroughTheQueue)
{
    page->UseMargins = 0;
    page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 18;
    addPage();
    TfrPage *second = addPage();
    second->UseMargins = 0;
    second->LeftMargin = second->TopMargin = second->RightMargin = second->BottomMargin = 18;
    addPage();
    printer->SetPrinterIndex(1);
    ASSERT_EQ(printer->Printers().value(1), QStringLiteral("Imprimante virtuelle"));
    preparePages(3);
    QFile::remove(output());
    auto owned = std::make_unique<FrScriptedPrintDialog>();
    FrScriptedPrintDialog &dialog = *owned;
    dialog.printer = 0;
    dialog.range = 2;
    dialog.pages = QStringLiteral("2");
    frObjects().setPrintDialog(std::move(owned));
    {
        TfrPreviewForm preview;
        preview.Connect(*report);
        preview.SetButtonsUp();
        preview.RedrawAll(true);
        QKeyEvent ctrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier);
        QApplication::sendEvent(&preview, &ctrlP);
        EXPECT_EQ(dialog.shows, 1);
        EXPECT_EQ(preview.PageCount(), 3);
    }
    EXPECT_EQ(printer->PrinterIndex(), 0);
    ASSERT_TRUE(report->LastPrintDone());
    QElapsedTimer clock;
    clock.start();
    // The scheduler writes the file once the job has gone through its filter.
    qint64 size = -1;
    while (clock.elapsed() < 30000) {
        const qint64 now = QFileInfo(output()).size();
        if (now > 0 && now == size &&
            run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).isEmpty())
            break;
        size = now;
        QThread::msleep(200);
    }
    ASSERT_GT(QFileInfo(output()).size(), 0) << "no output within 30 s";
    const QString info = run(QStringLiteral("pdfinfo"), {output()});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +1\\b"))))
        << info.toStdString();
    EXPECT_EQ(run(QStringLiteral("pdftotext"), {output(), QStringLiteral("-")})
                  .remove(QRegularExpression(QStringLiteral("\\s"))),
              QStringLiteral("TitrePage2"));
    const QString prefix = dir.filePath(QStringLiteral("cups"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), output(), prefix});
    const QImage image(prefix + QStringLiteral(".png"));
    const QString shots = qEnvironmentVariable("VORN_SHOT_DIR");
    if (!shots.isEmpty())
        image.save(shots + QStringLiteral("/cups_print.png"));
    // Where the queue's printable area starts, in 600 dpi device pixels.
    TfrPrnInfo prn;
    printer->FillPrnInfo(prn);
    // Device pixels to 600 dpi ones: the queue's resolution from the A4 width.
    const double toSheet = 600.0 / (prn.PPgw * 254.0 / 2100.0);
    const int left = qRound(18.0 * prn.PPw / prn.Pw), top = qRound(18.0 * prn.PPh / prn.Ph);
    SheetMap map{QRect(qRound(left * toSheet), qRound(top * toSheet),
                       qRound((prn.PPw - 2 * left) * toSheet),
                       qRound((prn.PPh - 2 * top) * toSheet)),
                 758, 1071, qRound(prn.POfx * toSheet)};
    checkInk(image, map.box(QRect(0, 0, 200, 40)), map.box(QRect(0, 60, 200, 30)), "queue");
}

} // namespace report::test
