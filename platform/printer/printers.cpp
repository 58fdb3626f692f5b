#include "platform/printer/printers.h"
#include "platform/shell/shell.h"

#include "platform/printer/printdevice.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace platform
{

const QString kVirtualPrinterName = QStringLiteral("Imprimante PDF virtuelle");

namespace
{
QString s_current;
QString s_output;
} // namespace

QStringList printerNames()
{
    QStringList names = printerSystem().printerNames();
    names.removeAll(kVirtualPrinterName);
    names.append(kVirtualPrinterName);
    return names;
}

bool isVirtualPrinter(const QString &name)
{
    return name == kVirtualPrinterName;
}

QString defaultPrinterName()
{
    const QString name = printerSystem().defaultPrinterName();
    return name.isEmpty() ? kVirtualPrinterName : name;
}

QString currentPrinterName()
{
    if (s_current.isEmpty() || !printerNames().contains(s_current))
        return defaultPrinterName();
    return s_current;
}

void setCurrentPrinterName(const QString &name)
{
    s_current = name;
}

QString virtualPrinterOutput()
{
    if (!s_output.isEmpty())
        return s_output;
    return DocumentsFolder() + QStringLiteral("/Vorn_Lud.pdf");
}

void setVirtualPrinterOutput(const QString &path)
{
    s_output = path;
}

QString virtualPrinterFile()
{
    // A user without a documents folder (a fresh account, a minimal
    // desktop) still gets the file: the folder is made, or when it cannot
    // be, the file goes to the home folder.
    const QFileInfo output(virtualPrinterOutput());
    if (QDir().mkpath(output.absolutePath()) && QFileInfo(output.absolutePath()).isWritable())
        return output.absoluteFilePath();
    return QDir(QDir::homePath()).filePath(output.fileName());
}

std::unique_ptr<QPrinter> createPrinter(const QString &name)
{
    if (isVirtualPrinter(name)) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setOutputFileName(virtualPrinterFile());
        return printer;
    }
    return printerSystem().createQPrinter(name);
}

std::unique_ptr<QPrinter> createPrinter()
{
    return createPrinter(currentPrinterName());
}

} // namespace platform
