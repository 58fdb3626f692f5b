// Template streams (".frf") of any version over arbitrary bytes: the loader
// never lets an error out; a template that loads is written again and read
// back, and its pages' objects are drawn.
#include "report_files_support.h"

#include "platform/canvas/recordingcanvas.h"
#include "report/core/frstream.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

// Drawing is tried on objects a page can hold; absurd positions are the
// loader's business, which keeps them as read.
bool saneGeometry(const report::TfrView &view)
{
    constexpr qint32 limit = 1000000;
    return std::abs(view.x) < limit && std::abs(view.y) < limit && std::abs(view.dx) < limit &&
           std::abs(view.dy) < limit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    {
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        report.LoadFromStream(stream);
        if (report.lastLoad() == TfrReport::LoadOutcome::Loaded) {
            FrMemoryStream out;
            report.SaveToStream(out);
            out.seek(0);
            TfrReport again;
            again.LoadFromStream(out);
            if (again.lastLoad() != TfrReport::LoadOutcome::Loaded)
                __builtin_trap(); // what we write we must read
        }
        platform::RecordingCanvas canvas(frObjects().measurer(), QRect(0, 0, 800, 1100));
        for (int p = 0; p < report.Pages().Count() && p < 4; ++p)
            for (const auto &view : report.Pages().GetPage(p)->Objects)
                if (saneGeometry(*view))
                    view->Draw(canvas);
    }
    fr().resetForTests();
    return 0;
}
