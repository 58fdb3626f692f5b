#pragma once
// The printers the program can print on: the system's, over QPrinterInfo,
// and a virtual printer that writes a PDF file, always present so that a
// machine without printers can still print.
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;

namespace platform
{

// The virtual PDF printer's name, as it appears among the printers.
extern const QString kVirtualPrinterName;

// The system's printers, then the virtual one.
QStringList printerNames();
bool isVirtualPrinter(const QString &name);
// The system's default printer, or the virtual one when there is none.
QString defaultPrinterName();

// The printer print commands go to; the default printer until one is set.
QString currentPrinterName();
void setCurrentPrinterName(const QString &name);

// The PDF file the virtual printer is asked to write; by default
// "Vorn_Lud.pdf" in the user's documents folder.
QString virtualPrinterOutput();
void setVirtualPrinterOutput(const QString &path);
// The file it really writes: virtualPrinterOutput(), its folder created when
// missing; the same name in the home folder when that folder cannot be made.
QString virtualPrinterFile();

// A printer ready to print on the named printer; the virtual printer's
// writes a PDF file to virtualPrinterOutput().
std::unique_ptr<QPrinter> createPrinter(const QString &name);
std::unique_ptr<QPrinter> createPrinter();

} // namespace platform
