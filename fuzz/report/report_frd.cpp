// Dictionary records (".frd" after its version byte) over arbitrary bytes; a
// record that reads is written and read again to the same lists.
#include "report_files_support.h"

#include "platform/text/exceptions.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    if (size == 0)
        return 0;
    fuzz::freshLibrary();
    {
        TfrDataDictionary dictionary;
        FrMemoryStream stream(fuzz::bytesOf(data + 1, size - 1));
        try {
            dictionary.LoadFromStream(stream);
        } catch (const platform::Exception &) {
            fr().resetForTests();
            return 0;
        }
        FrMemoryStream out;
        dictionary.SaveToStream(out);
        out.seek(0);
        TfrDataDictionary again;
        again.LoadFromStream(out);
        FrMemoryStream out2;
        again.SaveToStream(out2);
        if (out2.data() != out.data())
            __builtin_trap();
    }
    fr().resetForTests();
    return 0;
}
