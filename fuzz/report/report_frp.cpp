// Prepared-report files (".frp") over arbitrary bytes, opened as the
// preview opens them, over a page already there: a file is refused whole
// (the page and the printer's name stay) or taken whole, and then every
// page builds its objects. Pages are then painted twice, as a surface
// repaints: a page may fail to draw once, never again.
#include "report_files_support.h"

#include "platform/canvas/recordingcanvas.h"
#include "platform/text/exceptions.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frpage.h"
#include "report/objects/frprinterinfo.h"
#include "report/objects/frreport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    {
        TfrReport report;
        TfrEMFPages &pages = report.EMFPages();
        pages.InsertPage(0, TfrPage(9, 0, 0, kFrDefaultBin, 0));
        const TfrEMFPage *shown = pages.Entry(0);
        const QString printer = report.PrinterName;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        bool taken = true;
        try {
            pages.LoadFromStream(stream, true); // as the preview opens a file
        } catch (const platform::Exception &) {
            taken = false;
        }
        if (!taken &&
            (pages.Count() != 1 || pages.Entry(0) != shown || report.PrinterName != printer))
            std::abort();
        // Read whole: an exception escaping here is a finding.
        for (int i = 0; i < pages.Count(); ++i) {
            pages.BuildPageObjects(i);
            pages.Entry(i)->Page.reset();
        }
        for (int i = 0; i < pages.Count() && i < 8; ++i) {
            pages.Entry(i)->Shown = 1;
            platform::RecordingCanvas canvas(frObjects().measurer(), QRect(0, 0, 800, 1100));
            try {
                pages.DrawPage(i, canvas, QRect(0, 0, 800, 1100));
            } catch (const platform::Exception &) {
            }
            for (int paint = 0; paint < 2; ++paint) {
                try {
                    pages.Draw(i, canvas, QRect(0, 0, 400, 550));
                } catch (const platform::Exception &) {
                    if (paint > 0 || pages.Entry(i)->Fault.isEmpty())
                        std::abort();
                }
                pages.Draw(i, canvas, QRect()); // off the surface, drawn afresh next time
            }
        }
        FrMemoryStream out;
        pages.SaveToStream(out);
    }
    fr().resetForTests();
    return 0;
}
