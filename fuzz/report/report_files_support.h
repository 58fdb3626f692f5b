#pragma once
// Shared set-up of the report file fuzz targets: a fresh library, a
// fixed-advance measurer and message boxes that answer without showing.
#include "platform/canvas/textmeasurer.h"
#include "platform/dialogs/dialogs.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"

#include <memory>

namespace report::fuzz
{

class SilentDialogs : public platform::Dialogs
{
public:
    int message(const platform::MessageRequest &, QWidget *) override { return platform::mrOk; }
    std::optional<platform::FileAnswer> openFile(const platform::FileRequest &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<platform::FileAnswer> saveFile(const platform::FileRequest &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<QString> selectDirectory(const QString &, const QString &, QWidget *) override
    {
        return std::nullopt;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &,
                                     QWidget *) override
    {
        return std::nullopt;
    }
};

inline void freshLibrary()
{
    static platform::FixedAdvanceMeasurer measurer(7, 4);
    static bool installed = false;
    if (!installed) {
        platform::setDialogs(std::make_unique<SilentDialogs>());
        installed = true;
    }
    fr().resetForTests();
    fr().start();
    frObjects().setMeasurer(&measurer);
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace report::fuzz
