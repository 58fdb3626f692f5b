// The preview's volume: a 500-page prepared report (46 rows of 6 memos a
// page) written as a ".frp" file, loaded, shown in the preview (first paint
// at 100% and at page width on a 1000 x 700 surface, then every page
// painted in turn, then a word found only on the last page), then printed
// whole on the virtual PDF printer. Prints the seconds of each step, the PDF
// bytes a page and the pages still holding built objects after the print
// (goals, Release: load under 0.3 s, first paint under 50 ms, Find under
// 1.5 s, PDF under 1.5 s, that is 3 ms a page; no page left built).
// Usage: bench_preview [pages [pdf]] (pdf: where the printed file is kept)
#include "platform/canvas/textmeasurer.h"
#include "platform/dialogs/dialogs.h"
#include "platform/printer/printers.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/print/frprinter.h"
#include "report/ui/frpreview.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>

using namespace report;

namespace
{

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The process's processor time: on a busy machine the wall clock also counts
// the time others had the processor.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The file dialog of the virtual printer answers with the benchmark's file.
class AnswerDialogs : public platform::Dialogs
{
public:
    explicit AnswerDialogs(QString file) : m_file(std::move(file)) {}
    int message(const platform::MessageRequest &request, QWidget *) override
    {
        std::printf("message: %s\n", qPrintable(request.text));
        return platform::mrOk;
    }
    std::optional<platform::FileAnswer> openFile(const platform::FileRequest &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<platform::FileAnswer> saveFile(const platform::FileRequest &, QWidget *) override
    {
        return platform::FileAnswer{{m_file}, 1};
    }
    std::optional<QString> selectDirectory(const QString &, const QString &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &,
                                     QWidget *) override
    {
        return std::nullopt;
    }

private:
    QString m_file;
};

// Writes the prepared report: rows of six memos, the first framed.
bool writePreparedReport(const QString &path, int pageCount)
{
    TfrReport report;
    report.makeCurrent();
    TfrPage templatePage(9, 0, 0, kFrDefaultBin, 0);
    std::vector<std::unique_ptr<TfrMemoView>> memos;
    for (int m = 0; m < 46 * 6; ++m) {
        auto memo = std::make_unique<TfrMemoView>();
        const int row = m / 6, column = m % 6;
        memo->Name = QStringLiteral("Memo%1").arg(m + 1);
        memo->SetBounds(20 + column * 115, 20 + row * 21, 112, 19);
        memo->FrameTyp = column == 0 ? 15 : 0;
        memo->Prepared = true;
        memos.push_back(std::move(memo));
    }
    TfrEMFPages &pages = report.EMFPages();
    for (int p = 0; p < pageCount; ++p) {
        fr().frPageNo = p;
        pages.AddPage(templatePage);
        FrMemoryStream &stream = *pages.Entry(p)->Stream;
        for (size_t m = 0; m < memos.size(); ++m) {
            TfrMemoView &memo = *memos[m];
            const int row = int(m) / 6, column = int(m) % 6;
            memo.Memo1 = QStringList{
                (column == 0 && p == pageCount - 1 && row == 40 ? QStringLiteral("Zébulon")
                 : column == 0 ? QStringLiteral("Joueur %1").arg(p * 46 + row)
                               : QStringLiteral("%1,%2 PE").arg(row).arg(column)) +
                QChar(1)};
            memo.WriteTypeCode(stream);
            memo.SaveToStream(stream);
        }
    }
    return report.SavePreparedFile(path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pageCount = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
    fr().start();
    platform::QtTextMeasurer measurer;
    frObjects().setMeasurer(&measurer);
    QTemporaryDir dir;
    const QString frp = dir.filePath(QStringLiteral("volume.frp"));
    const QString pdf =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("volume.pdf"));
    if (!writePreparedReport(frp, pageCount)) {
        std::printf("the prepared report could not be written\n");
        return 1;
    }

    TfrReport report;
    auto start = std::chrono::steady_clock::now();
    report.LoadPreparedFile(frp);
    const double loadSeconds = secondsSince(start);

    // The preview over the loaded pages.
    double paint100 = 0, paintWidth = 0, paintAll = 0, findSeconds = 0;
    bool found = false;
    {
        TfrPreviewForm preview;
        preview.Connect(report);
        preview.SetButtonsUp();
        preview.RedrawAll(true);
        preview.setSurfaceSize(QSize(1000, 700));
        QImage surface(1000, 700, QImage::Format_RGB32);
        auto paint = [&] {
            QPainter painter(&surface);
            preview.paintSurface(painter, surface.rect());
        };
        preview.ZoomItemClick(100);
        start = std::chrono::steady_clock::now();
        paint();
        paint100 = secondsSince(start);
        preview.ZoomItemClick(1);
        start = std::chrono::steady_clock::now();
        paint();
        paintWidth = secondsSince(start);
        start = std::chrono::steady_clock::now();
        for (int p = 0; p < preview.PageCount(); ++p) {
            preview.VScrollBar()->setValue(preview.EMFPages()->Entry(p)->ScreenRect.top() - 10);
            paint();
        }
        paintAll = secondsSince(start);
        preview.VScrollBar()->setValue(0);
        paint();
        start = std::chrono::steady_clock::now();
        found = preview.FindText(QString::fromUtf8("zébulon"), false, true) &&
                preview.CurPage == preview.PageCount();
        findSeconds = secondsSince(start);
        preview.Disconnect();
    }

    // Print all on the virtual PDF printer.
    // Into the benchmark's file, never the user's documents folder.
    platform::setVirtualPrinterOutput(pdf);
    platform::setDialogs(std::make_unique<AnswerDialogs>(pdf));
    auto printer = std::make_unique<TfrPrinter>();
    printer->SetPrinter();
    printer->SetPrinterIndex(printer->VirtualPrinterIndex());
    frObjects().setPrinter(std::move(printer));
    report.ShowProgress = false;
    start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    report.PrintWithProgress(QString(), 1, true, 0);
    const double pdfSeconds = secondsSince(start);
    const double pdfCpu = cpuSeconds() - cpuStart;
    int stillBuilt = 0;
    for (int p = 0; p < report.EMFPages().Count(); ++p)
        stillBuilt += report.EMFPages().Entry(p)->Page ? 1 : 0;
    const qint64 pdfBytes = QFileInfo(pdf).size();

    std::printf("preview volume: %d pages x 46 rows x 6 memos, .frp %lld bytes\n", pageCount,
                static_cast<long long>(QFileInfo(frp).size()));
    std::printf("load: %.3f s (goal < 0.3 s)\n", loadSeconds);
    std::printf("first paint: %.1f ms at 100%%, %.1f ms at page width (goal < 50 ms)\n",
                1000 * paint100, 1000 * paintWidth);
    std::printf("paint every page: %.3f s, %.1f ms a page\n", paintAll,
                1000 * paintAll / pageCount);
    std::printf("find on the last page: %.3f s (goal < 1.5 s)%s\n", findSeconds,
                found ? "" : " (NOT FOUND)");
    std::printf("print all on the virtual PDF printer: %.3f s (processor %.3f s), %.1f ms a page "
                "(goal < 1.5 s), %lld PDF bytes a page, %d pages still built%s\n",
                pdfSeconds, pdfCpu, 1000 * pdfSeconds / pageCount,
                static_cast<long long>(pdfBytes / std::max(pageCount, 1)), stillBuilt,
                report.LastPrintDone() ? "" : " (NOT PRINTED)");
    platform::setDialogs(nullptr);
    return report.LastPrintDone() && stillBuilt == 0 && found ? 0 : 1;
}
