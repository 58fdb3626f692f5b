// Templates with a description (".frt") over arbitrary bytes, read both for
// the description alone and for the template.
#include "report_files_support.h"

#include "report/objects/frreport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    static QTemporaryDir dir;
    fuzz::freshLibrary();
    const QString path = dir.filePath(QStringLiteral("modele.frt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(fuzz::bytesOf(data, size));
    }
    {
        TfrReport report;
        QStringList description;
        QImage picture;
        report.LoadTemplate(path, description, picture, false);
        report.LoadTemplate(path, description, picture, true);
    }
    fr().resetForTests();
    return 0;
}
