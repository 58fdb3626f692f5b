// Prepared-report files (".frp") over arbitrary bytes, printed: whatever
// loads goes to the virtual printer's PDF, as the preview's print command
// sends it, so that hostile pages reach the printer layer and the PDF
// writer. A few pages at most, written to a temporary folder.
#include "report_files_support.h"

#include "platform/printer/fakeprinters.h"
#include "platform/printer/printers.h"
#include "platform/text/exceptions.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frreport.h"
#include "report/print/frprinter.h"

#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    static QTemporaryDir folder;
    static const bool once = [] {
        // No system printer is asked for: the virtual one is the only one.
        platform::setPrinterSystem(std::make_unique<platform::FakePrinterSystem>());
        fuzz::savedFileAnswer() = folder.filePath(QStringLiteral("etat.pdf"));
        // Nor the user's documents folder, which the virtual printer would make.
        platform::setVirtualPrinterOutput(folder.filePath(QStringLiteral("etat.pdf")));
        return true;
    }();
    (void)once;
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    {
        auto printer = std::make_unique<TfrPrinter>();
        printer->SetPrinter();
        frObjects().setPrinter(std::move(printer));
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        try {
            report.EMFPages().LoadFromStream(stream);
            TfrEMFPages &pages = report.EMFPages();
            while (pages.Count() > 4)
                pages.DeletePage(pages.Count() - 1);
            if (pages.Count() > 0)
                report.PrintPreparedPages(QString(), 1, true, 0);
        } catch (const platform::Exception &) {
            // A file that cannot be read or a page that cannot be drawn
            // prints nothing more.
        }
    }
    fr().resetForTests();
    return 0;
}
