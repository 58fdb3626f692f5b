// Prepared pages at volume: 2,000 pages of 50 memo records each. Writing is
// the records into the pages' streams, then the ".frp" file; reading is
// loading the file, then building every page's objects in turn. Prints the
// milliseconds of each (goal: each under one second in a Release build).
// Usage: bench_prepared_pages [pages] [memos per page]
#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

double millisSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int pageCount = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int memoCount = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
    fr().start();
    platform::FixedAdvanceMeasurer measurer(7, 4);
    frObjects().setMeasurer(&measurer);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("volume.frp"));

    TfrReport report;
    report.makeCurrent();
    TfrPage templatePage(9, 0, 0, kFrDefaultBin, 0);
    std::vector<std::unique_ptr<TfrMemoView>> memos;
    for (int m = 0; m < memoCount; ++m) {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = QStringLiteral("Memo%1").arg(m + 1);
        memo->SetBounds(20 + (m % 2) * 360, 20 + (m / 2) * 20, 340, 18);
        memo->FrameTyp = m % 3 == 0 ? 15 : 0;
        memo->Prepared = true;
        memos.push_back(std::move(memo));
    }

    auto start = std::chrono::steady_clock::now();
    TfrEMFPages &pages = report.EMFPages();
    for (int p = 0; p < pageCount; ++p) {
        fr().frPageNo = p;
        pages.AddPage(templatePage);
        FrMemoryStream &stream = *pages.Entry(p)->Stream;
        for (int m = 0; m < memoCount; ++m) {
            TfrMemoView &memo = *memos[size_t(m)];
            memo.Memo1 = QStringList{QStringLiteral("Licence %1 - joueur %2 - 12,34 PE")
                                         .arg(p * memoCount + m)
                                         .arg(m) +
                                     QChar(1)};
            memo.WriteTypeCode(stream);
            memo.SaveToStream(stream);
        }
    }
    const double recordsMs = millisSince(start);
    const bool saved = report.SavePreparedFile(path);
    const double writeMs = millisSince(start);

    start = std::chrono::steady_clock::now();
    TfrReport reader;
    reader.LoadPreparedFile(path);
    const double loadMs = millisSince(start);
    long objects = 0;
    TfrEMFPages &read = reader.EMFPages();
    for (int p = 0; p < read.Count(); ++p) {
        read.BuildPageObjects(p);
        objects += read.Entry(p)->Page->ObjectCount();
        read.Entry(p)->Page.reset();
    }
    const double readMs = millisSince(start);

    std::printf("prepared pages: %d pages x %d memos, file %lld bytes%s\n", pageCount, memoCount,
                static_cast<long long>(QFileInfo(path).size()), saved ? "" : " (NOT SAVED)");
    std::printf("write: %.1f ms (records %.1f ms, file %.1f ms)\n", writeMs, recordsMs,
                writeMs - recordsMs);
    std::printf("read:  %.1f ms (load %.1f ms, build %.1f ms), %ld objects built\n", readMs,
                loadMs, readMs - loadMs, objects);
    report.makeCurrent();
    return objects == long(pageCount) * memoCount ? 0 : 1;
}
