// Dictionary records (".frd" after its version byte) over arbitrary bytes; a
// record that reads is written and read again to the same lists. The same
// bytes as a dictionary file: taken only when the version byte is one a
// library writes and the record reads to the file's end, and then to the
// same lists as the record.
#include "report_files_support.h"

#include "platform/text/exceptions.h"
#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace
{

QByteArray saved(const report::TfrDataDictionary &dictionary)
{
    report::FrMemoryStream out;
    dictionary.SaveToStream(out);
    return out.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    static QTemporaryDir dir;
    if (size == 0)
        return 0;
    fuzz::freshLibrary();
    {
        QByteArray record;
        {
            TfrDataDictionary dictionary;
            FrMemoryStream stream(fuzz::bytesOf(data + 1, size - 1));
            try {
                dictionary.LoadFromStream(stream);
                record = saved(dictionary);
                FrMemoryStream out(record);
                TfrDataDictionary again;
                again.LoadFromStream(out);
                if (saved(again) != record)
                    __builtin_trap();
                if (stream.position() != stream.size())
                    record.clear(); // bytes left over: no dictionary file
            } catch (const platform::Exception &) {
                record.clear();
            }
        }
        const QString path = dir.filePath(QStringLiteral("dico.frd"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(fuzz::bytesOf(data, size));
            file.close();
            TfrDataDictionary fromFile;
            try {
                fromFile.LoadFromFile(path);
                if (data[0] == 0 || data[0] > 24 || record.isEmpty() || saved(fromFile) != record)
                    __builtin_trap();
            } catch (const EFrStreamError &e) {
                if (!e.Message().contains(path))
                    __builtin_trap(); // every refusal names the file
            }
        }
    }
    fr().resetForTests();
    return 0;
}
