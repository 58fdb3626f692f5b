// A picture file as the picture editor reads it, over arbitrary bytes: it is
// taken whole or refused, never half. A taken picture is not empty; a
// bitmap file, an icon or a metafile keeps the file's bytes unchanged (other
// raster formats are stored as a bitmap of their own).
#include "designer/core/dialogrules.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_picture_file";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<report::FrPicture> picture = designer::readPictureData(bytes);
    if (!picture)
        return 0;
    if (picture->isEmpty())
        std::abort();
    switch (picture->kind()) {
    case report::FrPicture::Bitmap:
    case report::FrPicture::Icon:
    case report::FrPicture::Metafile:
        if (picture->bytes() != bytes &&
            (picture->kind() != report::FrPicture::Bitmap || bytes.startsWith("BM")))
            std::abort();
        break;
    default:
        std::abort();
    }
    return 0;
}
