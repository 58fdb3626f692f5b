// The virtual printer's PDF, read back with the poppler tools: page count
// and sizes, the text of each page and where the ink is at 50 dots an inch.
#include "io_support.h"
#include "print_fixture.h"

#include "platform/text/linefile.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <cerrno>

namespace report::test
{

class PdfPrintTest : public PrintTest
{
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        if (!haveTool(QStringLiteral("pdfinfo")) || !haveTool(QStringLiteral("pdftoppm")) ||
            !haveTool(QStringLiteral("pdftotext")))
            GTEST_SKIP() << "poppler-utils missing (scripts/install-deps installs it)";
        // Pages 1 and 3 within margins of 18 px, page 2 on the whole sheet;
        // page 3 on A5 landscape.
        page->UseMargins = 0;
        page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 18;
        addPage();
        addPage();
        TfrPage *third = addPage(11, 1);
        third->UseMargins = 0;
        third->LeftMargin = third->TopMargin = third->RightMargin = third->BottomMargin = 18;
        pdf = dir.filePath(QStringLiteral("etat.pdf"));
    }
    QStringList pageSizes()
    {
        const QString info =
            run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                            QStringLiteral("-l"), QStringLiteral("99"), pdf});
        QStringList sizes;
        const QRegularExpression line(QStringLiteral("Page +\\d+ size: +([\\d.]+) x ([\\d.]+)"));
        for (auto it = line.globalMatch(info); it.hasNext();) {
            const auto m = it.next();
            sizes << QStringLiteral("%1x%2")
                         .arg(qRound(m.captured(1).toDouble()))
                         .arg(qRound(m.captured(2).toDouble()));
        }
        return sizes;
    }
    QString pageText(int n)
    {
        const QString number = QString::number(n);
        return run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), number, QStringLiteral("-l"),
                                                 number, pdf, QStringLiteral("-")})
            .remove(QRegularExpression(QStringLiteral("\\s")));
    }
    QImage render(int n)
    {
        const QString prefix = dir.filePath(QStringLiteral("rendu%1").arg(n));
        const QString number = QString::number(n);
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-f"), number,
             QStringLiteral("-l"), number, QStringLiteral("-png"), QStringLiteral("-singlefile"),
             pdf, prefix});
        const QImage image(prefix + QStringLiteral(".png"));
        const QString shots = qEnvironmentVariable("VORN_SHOT_DIR");
        if (!shots.isEmpty())
            image.save(shots + QStringLiteral("/pdf_page%1.png").arg(n));
        return image;
    }

    // A piece of page n rendered at the printer's own 600 dpi.
    QImage render600(int n, const QRect &piece)
    {
        const QString prefix = dir.filePath(QStringLiteral("detail%1").arg(n));
        const QString number = QString::number(n);
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-f"), number,
             QStringLiteral("-l"), number, QStringLiteral("-x"), QString::number(piece.x()),
             QStringLiteral("-y"), QString::number(piece.y()), QStringLiteral("-W"),
             QString::number(piece.width()), QStringLiteral("-H"), QString::number(piece.height()),
             QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
        return QImage(prefix + QStringLiteral(".png"));
    }

    QString pdf;
};

// Dark pixels met from (x, y) on in the direction (dx, dy), after the light
// ones before the first dark.
int darkRun(const QImage &image, int x, int y, int dx, int dy)
{
    while (x >= 0 && y >= 0 && x < image.width() && y < image.height() && !dark(image, x, y)) {
        x += dx;
        y += dy;
    }
    int run = 0;
    for (; dark(image, x, y); x += dx, y += dy)
        ++run;
    return run;
}

TEST_F(PdfPrintTest, SelectedPagesRepeatedWithTheirPapersAndInkInPlace)
{
    preparePages(3);
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    report->Title = QStringLiteral("Essai");
    fakes->dialogs.files.push_back(pdf);
    report->PrintWithProgress(QStringLiteral("1,3"), 2, false, 0);
    ASSERT_TRUE(report->LastPrintDone());
    ASSERT_EQ(fakes->dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(std::tuple(fakes->dialogs.saveRequests[0].title,
                         fakes->dialogs.saveRequests[0].filter,
                         fakes->dialogs.saveRequests[0].fileName),
              std::tuple(QStringLiteral("Imprimer dans un fichier PDF"),
                         QStringLiteral("Fichier PDF (*.pdf)|*.pdf"), QStringLiteral("Essai.pdf")));

    EXPECT_EQ(pageSizes(), (QStringList{"595x842", "595x842", "595x420", "595x420"}));
    const char *numbers[] = {"1", "1", "3", "3"};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(pageText(n), QStringLiteral("TitrePage%1").arg(QLatin1String(numbers[n - 1])))
            << n;

    // A4 within margins: the page goes into (118, 118)-(4607, 6662) of the
    // printable area, 722 x 1035 report pixels wide and high less margins.
    const SheetMap a4{QRect(118, 118, 4725 - 236, 6780 - 236), 758, 1071};
    const QImage first = render(1);
    checkInk(first, a4.box(QRect(0, 0, 200, 40)), a4.box(QRect(0, 60, 200, 30)), "page 1");
    const SheetMap a5{QRect(118, 118, 4725 - 236, 3260 - 236), 758, 534};
    const QImage third = render(3);
    checkInk(third, a5.box(QRect(0, 0, 200, 40)), a5.box(QRect(0, 60, 200, 30)), "page 3");
}

TEST_F(PdfPrintTest, APageBoundByMarginsFillsTheSheet)
{
    preparePages(3);
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    fakes->dialogs.files.push_back(pdf);
    report->PrintWithProgress(QStringLiteral("2"), 1, true, 0);
    ASSERT_TRUE(report->LastPrintDone());
    EXPECT_EQ(pageSizes(), QStringList{"595x842"});
    const SheetMap sheet{QRect(-118, -118, 4961, 7016), 758, 1071};
    const QImage image = render(1);
    checkInk(image, sheet.box(QRect(0, 0, 200, 40)), sheet.box(QRect(0, 60, 200, 30)), "page 2");
    // The frame starts on the sheet's edge.
    EXPECT_TRUE(dark(image, 0, 5) || dark(image, 1, 5));
}

TEST_F(PdfPrintTest, CancelledOrAbortedJobsLeaveTheOlderFile)
{
    preparePages(3);
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    writeFileBytes(pdf, "older");
    auto content = [&] { return readFileBytes(pdf); };
    // The user cancels the file dialog, which belongs to the preview that
    // prints: nothing printed.
    QWidget preview;
    preview.show();
    report->setPreview(&preview);
    report->PrintWithProgress(QString(), 1, true, 0);
    EXPECT_FALSE(report->LastPrintDone());
    EXPECT_EQ(fakes->dialogs.fileParents, std::vector<QWidget *>{&preview});
    report->setPreview(nullptr);
    EXPECT_EQ(content(), QByteArray("older"));
    // Cancelled after the first page.
    fakes->dialogs.files.push_back(pdf);
    report->OnProgress = [this](int) { report->Cancelled = true; };
    report->PrintWithProgress(QString(), 1, true, 0);
    EXPECT_FALSE(report->LastPrintDone());
    EXPECT_EQ(content(), QByteArray("older"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("etat*")}, QDir::Files),
              QStringList{QStringLiteral("etat.pdf")});
    // A folder that cannot be written: told, nothing printed.
    fakes->dialogs.files.push_back(dir.filePath(QStringLiteral("absent/etat.pdf")));
    report->OnProgress = nullptr;
    report->PrintWithProgress(QString(), 1, true, 0);
    EXPECT_FALSE(report->LastPrintDone());
    EXPECT_EQ(fakes->dialogs.texts(),
              QStringList{QStringLiteral("Impossible d'imprimer sur Imprimante virtuelle")});
    // A disk that fills up while the PDF is written: told why, no PDF left
    // but the older one.
    fakes->dialogs.messages.clear();
    fakes->dialogs.files.push_back(pdf);
    platform::LineFile::setWriteHook([](const QString &) { return ENOSPC; });
    report->PrintWithProgress(QString(), 1, true, 0);
    platform::LineFile::setWriteHook({});
    EXPECT_FALSE(report->LastPrintDone());
    EXPECT_EQ(content(), QByteArray("older"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("etat*")}, QDir::Files),
              QStringList{QStringLiteral("etat.pdf")});
    EXPECT_EQ(fakes->dialogs.texts(),
              QStringList{QStringLiteral("Impossible d'imprimer sur Imprimante virtuelle\n\n"
                                         "Erreur d'écriture dans le fichier %1 : disque plein")
                              .arg(pdf)});
}

TEST_F(PdfPrintTest, AFrameOfOnePixelPrintsAsWideAsOnTheScreen)
{
    preparePages(3);
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    fakes->dialogs.files.push_back(pdf);
    report->PrintWithProgress(QStringLiteral("1"), 1, true, 0);
    ASSERT_TRUE(report->LastPrintDone());
    // Page 1 goes into (118, 118, 4489, 6544) of the printable area, 118
    // device pixels from the sheet's corner: one report pixel is 5.9 device
    // pixels across and 6.1 down. The title's frame is (0, 0, 200, 40).
    const double kx = 4489.0 / 758, ky = 6544.0 / 1071;
    const int corner = 118 + 118;
    // Its left edge, crossed at mid-height.
    const QImage left = render600(1, QRect(corner - 30, corner + int(20 * ky) - 10, 80, 20));
    ASSERT_FALSE(left.isNull());
    const int across = darkRun(left, 0, 10, 1, 0);
    EXPECT_GE(across, int(kx) - 1);
    EXPECT_LE(across, int(kx) + 1);
    // Its bottom edge, crossed from below at a quarter of its width.
    const QImage bottom =
        render600(1, QRect(corner + int(50 * kx) - 10, corner + int(40 * ky) - 30, 20, 80));
    ASSERT_FALSE(bottom.isNull());
    const int down = darkRun(bottom, 10, bottom.height() - 1, 0, -1);
    EXPECT_GE(down, int(ky) - 1);
    EXPECT_LE(down, int(ky) + 1);
}

} // namespace report::test
