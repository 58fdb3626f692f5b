// A template of arbitrary bytes loaded and prepared with every window seam
// left out: the build either completes, stops or reports its error, and the
// template is restored. Builds past 300 pages and columns are stopped, and so
// is any other long build (endless scripts, bands shown without end, records
// by the million), the way a user's cancel stops it: the build yields to its
// message pump every 25 ms of work, and the pump cancels the build at its
// tenth call. So only a hang or a crash counts as a finding. Check boxes,
// charts and a dialog control are registered, as in the program.
#include "report_files_support.h"

#include "report/build/frbuild.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    // Ten calls of the pump (the build calls it once more for each pass) are
    // the user pressing cancel.
    int yields = 0;
    frObjects().messagePump = [&yields] {
        if (++yields > 10)
            if (TfrReport *master = frBuildMaster())
                master->Cancelled = true;
    };
    {
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        report.LoadFromStream(stream);
        if (report.lastLoad() == TfrReport::LoadOutcome::Loaded) {
            report.ShowProgress = false;
            // Pages and columns are both reported: 300 of them end the build.
            int reports = 0;
            report.OnProgress = [&report, &reports](int) {
                if (++reports > 300)
                    report.Cancelled = true;
            };
            FrMemoryStream before;
            report.SaveToStream(before);
            report.PrepareReport();
            FrMemoryStream after;
            report.SaveToStream(after);
            if (after.data() != before.data())
                __builtin_trap(); // the template is always restored
            if (frObjects().frBuilding || frObjects().frDocMode != 0)
                __builtin_trap(); // and the build state put back
            report.EMFPages().Dump();
        }
    }
    fr().resetForTests();
    return 0;
}
