// The page selection typed in the print dialog: any text against any page
// count. It either raises the conversion error or gives pages within
// 1..count, ascending without repeats; an empty text gives every page.
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "report/print/frprint.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes give the page count (at most 4095, enough to
    // reach every clamp while a long list of ranges stays quick).
    const int count = ((data[0] << 8) | data[1]) & 0x0FFF;
    const QString text = platform::fromAnsi(
        QByteArrayView(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2)));
    std::vector<int> pages;
    try {
        pages = report::frParsePageNumbers(text, count);
    } catch (const platform::EConvertError &) {
        return 0;
    }
    int last = 0;
    for (int n : pages) {
        if (n <= last || n > count)
            std::abort();
        last = n;
    }
    if (text.trimmed().isEmpty() && text.count(QLatin1Char(' ')) == text.size() &&
        int(pages.size()) != count)
        std::abort();
    return 0;
}
