// Template streams (".frf") of any version over arbitrary bytes: the loader
// never lets an error out; a template that loads is written again and read
// back to the same bytes.
#include "report_files_support.h"

#include "report/core/frstream.h"
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
        report.LoadFromStream(stream);
        if (report.lastLoad() == TfrReport::LoadOutcome::Loaded) {
            FrMemoryStream out;
            report.SaveToStream(out);
            out.seek(0);
            TfrReport again;
            again.LoadFromStream(out);
            if (again.lastLoad() != TfrReport::LoadOutcome::Loaded)
                __builtin_trap(); // what we write we must read
            FrMemoryStream out2;
            again.SaveToStream(out2);
            if (out2.data() != out.data())
                __builtin_trap(); // and read it as it was
        }
    }
    fr().resetForTests();
    return 0;
}
