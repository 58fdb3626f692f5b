// A template of arbitrary bytes loaded and prepared with every window seam
// left out: the build either completes, stops or reports its error, and the
// template is restored. Counted record sources above 10,000 are refused;
// builds past 300 pages and columns are stopped, and so are endless scripts,
// the way a user's cancel stops them: the message pump they yield to cancels
// the build. So only a hang or a crash counts as a finding. Check boxes,
// charts and a dialog control are registered, as in the program.
#include "report_files_support.h"

#include "platform/text/convert.h"
#include "report/build/frbuild.h"
#include "report/core/frstream.h"
#include "report/io/fremfpages.h"
#include "report/objects/frbandview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <cstddef>
#include <cstdint>

namespace
{

bool tooManyRecords(report::TfrReport &report)
{
    for (int p = 0; p < report.Pages().Count(); ++p)
        for (const auto &view : report.Pages().GetPage(p)->Objects) {
            const QString &text = view->FormatStr;
            if (view->Typ == report::otBand && !text.isEmpty() && text.at(0) >= QLatin1Char('1') &&
                text.at(0) <= QLatin1Char('9') &&
                platform::StrToIntDef(text.section(QLatin1Char(';'), 0, 0), 10001) > 10000)
                return true;
        }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    // A script yields every few thousand lines: 25 yields of the pump (the
    // build yields once more for each pass) are the user pressing cancel.
    int yields = 0;
    frObjects().messagePump = [&yields] {
        if (++yields > 25)
            if (TfrReport *master = frBuildMaster())
                master->Cancelled = true;
    };
    {
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        report.LoadFromStream(stream);
        if (report.lastLoad() == TfrReport::LoadOutcome::Loaded && !tooManyRecords(report)) {
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
