// Report stream readers over arbitrary bytes: the first byte picks the format
// version (21 to 24), then records are read in turn, each reader chosen by the
// next byte, until the data runs out or a reader refuses it.
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    if (size == 0)
        return 0;
    fr().frTemplateVersion = quint8(21 + data[0] % 4);
    FrMemoryStream stream(
        QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    QStringList lines;
    try {
        while (stream.remaining() > 0) {
            qint64 before = stream.position();
            switch (frReadByte(stream) % 9) {
            case 0:
                frReadString(stream);
                break;
            case 1:
                frReadMemo(stream, lines);
                break;
            case 2:
                frReadStringZ(stream);
                break;
            case 3:
                frReadMemoZ(stream, lines);
                break;
            case 4:
                frReadTemplateString(stream);
                break;
            case 5:
                frReadTemplateMemo(stream, lines);
                break;
            case 6:
                frReadWord(stream);
                break;
            case 7:
                frReadInteger(stream);
                break;
            default: {
                // What was read must write back to the same bytes.
                QString text = frReadString(stream);
                FrMemoryStream copy;
                frWriteString(copy, text);
                if (copy.size() != stream.position() - before - 1)
                    __builtin_trap();
                break;
            }
            }
            if (stream.position() <= before)
                __builtin_trap(); // every record consumes bytes
        }
    } catch (const std::exception &) {
    }
    return 0;
}
