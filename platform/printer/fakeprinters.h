#pragma once
// A printer system for tests: no printer, a 600 dpi printer (A4, A5,
// Letter; 1/6 inch unprintable on each side), a queue that vanishes, a driver
// answering 300 papers. Jobs are recorded page by page.
#include "platform/canvas/displaylist.h"
#include "platform/printer/printdevice.h"

#include <memory>
#include <vector>

namespace platform
{

class FakePrinterSystem : public PrinterSystem
{
public:
    struct Printer {
        QString name;
        std::vector<PrinterPaper> papers;
        std::vector<PrinterBin> bins;
        int dpi = 600;
        int offset = 100;      // device pixels on each side
        bool gone = false;     // the queue has vanished
        bool failJobs = false; // jobs cannot begin
    };
    struct Page {
        DeviceMode mode;
        DisplayList picture;
    };
    struct Job {
        QString printer;
        QString title;
        int copies = 1;
        DeviceMode mode;
        std::vector<Page> pages;
        bool ended = false;
        bool aborted = false;
    };

    // The 600 dpi printer "Imprimante 600".
    static Printer printer600();
    // A printer whose driver offers 300 papers ("Pilote bavard").
    static Printer talkativeDriver();

    std::vector<Printer> printers;
    QString defaultName;
    std::vector<Job> jobs;
    // Names asked of createQPrinter, and where those printers write.
    QStringList qprinters;
    QString qprinterOutput;
    // The setup dialog's answer: accepted with this mode and these margins.
    bool setupAnswer = false;
    std::optional<DeviceMode> setupMode;
    std::optional<PageMargins> setupMargins;
    int setupShows = 0;

    Printer *find(const QString &name);

    QStringList printerNames() override;
    QString defaultPrinterName() override { return defaultName; }
    std::vector<PrinterPaper> papers(const QString &printer) override;
    std::vector<PrinterBin> bins(const QString &printer) override;
    std::optional<DeviceMode> defaultMode(const QString &printer) override;
    std::optional<DeviceGeometry> geometry(const QString &printer, const DeviceMode &mode) override;
    bool setupDialog(const QString &printer, DeviceMode &mode, PageMargins *margins,
                     QWidget *parent) override;
    std::unique_ptr<PrintJob> beginJob(const QString &printer, const DeviceMode &mode,
                                       const QString &title, int copies) override;
    std::unique_ptr<QPrinter> createQPrinter(const QString &printer) override;
};

} // namespace platform
