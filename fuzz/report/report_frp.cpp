// Prepared-report files (".frp") over arbitrary bytes: load, build every
// page's objects and draw them onto a recording canvas.
#include "report_files_support.h"

#include "platform/canvas/recordingcanvas.h"
#include "platform/text/exceptions.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frreport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    {
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        try {
            report.EMFPages().LoadFromStream(stream);
        } catch (const platform::Exception &) {
        }
        TfrEMFPages &pages = report.EMFPages();
        for (int i = 0; i < pages.Count() && i < 8; ++i) {
            try {
                pages.Entry(i)->Shown = 1;
                platform::RecordingCanvas canvas(frObjects().measurer(), QRect(0, 0, 800, 1100));
                pages.DrawPage(i, canvas, QRect(0, 0, 800, 1100));
                pages.Draw(i, canvas, QRect(0, 0, 400, 550));
            } catch (const platform::Exception &) {
                // A page whose objects cannot be read draws nothing.
            }
        }
        FrMemoryStream out;
        pages.SaveToStream(out);
    }
    fr().resetForTests();
    return 0;
}
