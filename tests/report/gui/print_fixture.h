#pragma once
// Shared set-up of the printing tests: a started library with the
// fixed-advance measurer, scripted dialogs, the fake platform printers
// (none until a test adds some) under the library printer TfrPrinter, and
// reports of a few pages each holding a framed title and its page number.
#include "build_fixture.h"

#include "platform/printer/fakeprinters.h"
#include "platform/printer/printers.h"
#include "report/print/frprint.h"
#include "report/print/frprinter.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace report::test
{

// Report pixels of a page to pixels of its sheet rendered at 50 dpi, the
// page drawn into target (600 dpi device pixels from the printable corner).
struct SheetMap {
    QRect target;
    int pageWidth, pageHeight; // report pixels
    int offset = 118;
    QRect box(const QRect &r) const
    {
        auto x = [&](double v) {
            return (offset + target.left() + v * target.width() / pageWidth) / 12.0;
        };
        auto y = [&](double v) {
            return (offset + target.top() + v * target.height() / pageHeight) / 12.0;
        };
        return QRect(QPoint(int(x(r.left())), int(y(r.top()))),
                     QPoint(int(x(r.left() + r.width())), int(y(r.top() + r.height()))));
    }
};

inline bool dark(const QImage &image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           qGray(image.pixel(x, y)) < 160;
}

// Every dark pixel lies within 2 px of one of the boxes, and the frame's
// four edges are inked at their middles.
inline void checkInk(const QImage &image, const QRect &frame, const QRect &number, const char *what)
{
    ASSERT_FALSE(image.isNull()) << what;
    const QRect near1 = frame.adjusted(-2, -2, 2, 2), near2 = number.adjusted(-2, -2, 2, 2);
    int inked = 0, stray = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(image, x, y)) {
                ++inked;
                if (!near1.contains(x, y) && !near2.contains(x, y))
                    ++stray;
            }
    EXPECT_GT(inked, 50) << what;
    EXPECT_EQ(stray, 0) << what;
    auto edgeInked = [&](int x, int y, bool horizontal) {
        for (int d = -2; d <= 2; ++d)
            if (dark(image, horizontal ? x : x + d, horizontal ? y + d : y))
                return true;
        return false;
    };
    const QPoint c = frame.center();
    EXPECT_TRUE(edgeInked(c.x(), frame.top(), true)) << what << " top";
    EXPECT_TRUE(edgeInked(c.x(), frame.bottom(), true)) << what << " bottom";
    EXPECT_TRUE(edgeInked(frame.left(), c.y(), false)) << what << " left";
    EXPECT_TRUE(edgeInked(frame.right(), c.y(), false)) << what << " right";
}

class PrintTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        auto fake = std::make_unique<platform::FakePrinterSystem>();
        printers = fake.get();
        kept = platform::setPrinterSystem(std::move(fake));
        platform::setCurrentPrinterName(QString());
        platform::setVirtualPrinterOutput(dir.filePath(QStringLiteral("Vorn_Lud.pdf")));
        printers->qprinterOutput = dir.filePath(QStringLiteral("qprinter.pdf"));
        resetPrinter();
    }
    void TearDown() override
    {
        BuildTest::TearDown();
        platform::setPrinterSystem(std::move(kept));
        platform::setCurrentPrinterName(QString());
        platform::setVirtualPrinterOutput(QString());
    }

    // A fresh library printer over the fake's printers.
    void resetPrinter()
    {
        auto p = std::make_unique<TfrPrinter>();
        printer = p.get();
        p->SetPrinter();
        frObjects().setPrinter(std::move(p));
    }
    // The 600 dpi printer first, then the library printer taken again.
    void add600()
    {
        printers->printers.push_back(platform::FakePrinterSystem::printer600());
        printers->defaultName = printers->printers.front().name;
        resetPrinter();
    }

    // A report page with a framed title at the top left of its printable
    // area and its number below it.
    TfrPage *addPage(int size = 9, int orientation = 0)
    {
        TfrPage *p = pages == 0 ? page : report->Pages().Add();
        ++pages;
        const FrPaperSize *paper = nullptr;
        for (const FrPaperSize &s : frPaperSizes())
            if (s.code == size)
                paper = &s;
        p->ChangePaper(size, paper ? paper->width : 2100, paper ? paper->height : 2970,
                       kFrDefaultBin, orientation);
        TfrMemoView *title =
            memo(QStringLiteral("Titre%1").arg(pages), 0, 0, 200, 40, QStringLiteral("Titre"), p);
        title->FrameTyp = 0x0F;
        memo(QStringLiteral("Numero%1").arg(pages), 0, 60, 200, 30, QStringLiteral("Page [PAGE#]"),
             p);
        return p;
    }
    void preparePages(int count)
    {
        while (pages < count)
            addPage();
        ASSERT_TRUE(report->PrepareReport());
        ASSERT_EQ(report->EMFPages().Count(), count);
    }

    // The page numbers printed, in order: the "Page n" text of each recorded page.
    QStringList printedNumbers(const platform::FakePrinterSystem::Job &job) const
    {
        QStringList numbers;
        for (const auto &p : job.pages) {
            QString found;
            for (const platform::TextRun &run : p.picture.textRuns())
                if (run.text.startsWith(QStringLiteral("Page ")))
                    found = run.text.mid(5);
            numbers << found;
        }
        return numbers;
    }
    QStringList printedNumbers() const
    {
        QStringList all;
        for (const auto &job : printers->jobs)
            all << printedNumbers(job);
        return all;
    }

    // Runs a command-line tool; its standard output.
    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess p;
        p.start(program, arguments);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    static bool haveTool(const QString &name)
    {
        return !QStandardPaths::findExecutable(name).isEmpty();
    }

    QTemporaryDir dir;
    platform::FakePrinterSystem *printers = nullptr;
    std::unique_ptr<platform::PrinterSystem> kept;
    TfrPrinter *printer = nullptr;
    int pages = 0;
};

} // namespace report::test
