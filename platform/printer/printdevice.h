#pragma once
// The platform printer object: what a printer offers (papers, bins,
// resolution, sheet and printable area), the device mode applied to a job,
// the properties and page-setup dialogs, and print jobs. Qt's printers and
// the virtual PDF printer stand behind one seam; tests install a fake.
#include <QMarginsF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

namespace platform
{

class Canvas;

// Paper size code of a size given by width and height.
constexpr int kCustomPaperCode = 256;
// Source code of the printer's default bin.
constexpr int kDefaultBinCode = 0xFFFF;
// At most this many papers or bins are taken from a driver.
constexpr int kMaxDriverEntries = 256;
// The sheets the printer layer handles, tenths of a millimetre: 1 mm to
// 10 m. A paper outside is taken at the nearest bound, so that no length in
// device pixels overflows, whatever paper a caller asks for.
constexpr int kMinPaperTenths = 10;
constexpr int kMaxPaperTenths = 100000;

// A paper length in pixels at dpi dots per inch (half to even), the length
// first kept within the sheets above and dpi within 1 to 100,000.
int sheetPixels(qint64 tenths, int dpi);

struct PrinterPaper {
    int code = 0;  // the platform's paper code (1 Letter, 9 A4 ...)
    QString name;  // as the driver names it
    int width = 0; // portrait, tenths of a millimetre
    int height = 0;
};

struct PrinterBin {
    int code = 0;
    QString name;
};

// The settings a job prints with.
struct DeviceMode {
    int paperSize = 9;     // paper code, or kCustomPaperCode
    int paperWidth = 2100; // tenths of a millimetre, portrait; custom size
    int paperHeight = 2970;
    int orientation = 0; // 0 portrait, 1 landscape
    int copies = 1;
    int source = kDefaultBinCode;
    bool operator==(const DeviceMode &) const = default;
};

// A printer's sheet in its device pixels, for one device mode.
struct DeviceGeometry {
    int dpiX = 600;
    int dpiY = 600;
    int physicalWidth = 0; // the whole sheet
    int physicalHeight = 0;
    int offsetX = 0; // the unprintable margin at the left and top
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
    bool operator==(const DeviceGeometry &) const = default;
};

// Margins of a page-setup dialog, hundredths of a millimetre.
struct PageMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PageMargins &) const = default;
};

// One print job: pages are drawn on canvas(); the origin is the printable
// corner of the sheet and one unit is one device pixel.
class PrintJob
{
public:
    virtual ~PrintJob() = default;
    virtual Canvas &canvas() = 0;
    // The page just drawn is done; the next one starts.
    virtual bool newPage() = 0;
    // Whether the job can change paper between two pages (a PDF can; a
    // real printer's job keeps its paper).
    virtual bool canChangePaper() const = 0;
    // The next page (started with newPage) takes this paper.
    virtual bool changePaper(const DeviceMode &mode) = 0;
    // Finishes the job; false when the output could not be written.
    virtual bool end() = 0;
    // Drops the job: nothing is printed, no file is left.
    virtual void abort() = 0;
    // Why the job could not start or end, when the job can tell ("Erreur
    // d'écriture dans le fichier ... : disque plein"); empty otherwise.
    virtual QString errorText() const { return {}; }
};

class PrinterSystem
{
public:
    virtual ~PrinterSystem() = default;
    // The system's printers (not the virtual one) and the default among them.
    virtual QStringList printerNames() = 0;
    virtual QString defaultPrinterName() = 0;
    // Papers and bins the named printer offers (at most kMaxDriverEntries).
    virtual std::vector<PrinterPaper> papers(const QString &printer) = 0;
    virtual std::vector<PrinterBin> bins(const QString &printer) = 0;
    // The printer's default settings; nothing when the printer is gone.
    virtual std::optional<DeviceMode> defaultMode(const QString &printer) = 0;
    // The sheet for a device mode; nothing when the printer is gone.
    virtual std::optional<DeviceGeometry> geometry(const QString &printer,
                                                   const DeviceMode &mode) = 0;
    // The driver's properties (or page setup) dialog on mode; margins, when
    // given, are shown and read back. False when the user cancelled: mode
    // and margins are then unchanged.
    virtual bool setupDialog(const QString &printer, DeviceMode &mode, PageMargins *margins,
                             QWidget *parent) = 0;
    // Begins a job of copies copies on the named printer; nothing when the
    // printer cannot print (gone, output not writable).
    virtual std::unique_ptr<PrintJob> beginJob(const QString &printer, const DeviceMode &mode,
                                               const QString &title, int copies) = 0;
    // A Qt printer for the named system printer (widgets that print
    // themselves, such as charts).
    virtual std::unique_ptr<QPrinter> createQPrinter(const QString &printer) = 0;
};

// Qt's printers.
class QtPrinterSystem : public PrinterSystem
{
public:
    QStringList printerNames() override;
    QString defaultPrinterName() override;
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

// Applies a device mode to a Qt printer, margins at the printer's minimum.
void applyDeviceMode(QPrinter &printer, const DeviceMode &mode);

// The printers in use (Qt's unless a test installed others).
PrinterSystem &printerSystem();
// Installs printers; nullptr restores Qt's. Returns the previous ones.
std::unique_ptr<PrinterSystem> setPrinterSystem(std::unique_ptr<PrinterSystem> printers);

// The virtual printer's sheet for a device mode: 600 dots per inch, 5 mm
// unprintable on each side (A4: 4961 x 7016, offsets 118, printable 4725 x 6780);
// a paper beyond the sheets above at its bound, a printable area never negative.
DeviceGeometry virtualPrinterGeometry(const DeviceMode &mode);
// Paper size of a platform paper code in tenths of a millimetre, portrait;
// nothing for a code Qt does not know.
std::optional<QSize> paperSizeOfCode(int code);

// A job writing a PDF at 600 dots per inch to a temporary file renamed to
// fileName when the job ends; an aborted job leaves no file and an older one
// intact. A PDF makes no copies: each page is repeated copies times.
std::unique_ptr<PrintJob> beginPdfJob(const QString &fileName, const DeviceMode &mode,
                                      const QString &title, int copies);

} // namespace platform
