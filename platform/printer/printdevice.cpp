#include "platform/printer/printdevice.h"

#include "platform/canvas/displaylist.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/recordingcanvas.h"
#include "platform/canvas/textmeasurer.h"
#include "platform/forms/form.h"
#include "platform/printer/printers.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

std::unique_ptr<PrinterSystem> &installed()
{
    static std::unique_ptr<PrinterSystem> printers;
    return printers;
}

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QPageSize pageSizeOf(const DeviceMode &mode)
{
    if (mode.paperSize != kCustomPaperCode) {
        const QPageSize::PageSizeId id = QPageSize::id(mode.paperSize);
        if (id != QPageSize::Custom)
            return QPageSize(id);
    }
    const QSizeF size(std::clamp(mode.paperWidth, kMinPaperTenths, kMaxPaperTenths) / 10.0,
                      std::clamp(mode.paperHeight, kMinPaperTenths, kMaxPaperTenths) / 10.0);
    return QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

QPageLayout::Orientation orientationOf(const DeviceMode &mode)
{
    return mode.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// A job on a system printer: Qt prints with the printable corner as origin.
class QtPrintJob : public PrintJob
{
public:
    explicit QtPrintJob(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}
    bool start()
    {
        m_canvas = std::make_unique<QPainterCanvas>(m_printer.get());
        return m_canvas->painter().isActive();
    }
    Canvas &canvas() override { return *m_canvas; }
    bool newPage() override { return m_printer->newPage(); }
    bool canChangePaper() const override { return false; }
    bool changePaper(const DeviceMode &) override { return false; }
    bool end() override
    {
        const bool ok = m_canvas->painter().end();
        return ok && m_printer->printerState() != QPrinter::Error;
    }
    void abort() override
    {
        m_printer->abort();
        m_canvas->painter().end();
    }

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainterCanvas> m_canvas;
};

// The virtual printer's job. Each page is recorded, then written as many
// times as copies were asked; the file appears only when the job ends, and
// only whole: it is written through the data files' checked path, so a PDF
// that did not fit on the disk leaves no file (nor a cut one) behind.
class PdfJob : public PrintJob
{
public:
    PdfJob(const QString &fileName, const DeviceMode &mode, const QString &title, int copies)
        : m_fileName(fileName), m_mode(mode), m_pageMode(mode), m_title(title),
          m_copies(std::max(copies, 1))
    {
    }
    ~PdfJob() override
    {
        if (!m_done)
            abort();
    }
    bool start()
    {
        // Refused before anything is drawn when the file cannot be made.
        if (!QFileInfo(QFileInfo(m_fileName).absolutePath()).isDir())
            return false;
        try {
            LineFile::checkWritable(m_fileName);
        } catch (const EFileError &) {
            return false;
        }
        if (!m_file.open(QIODevice::WriteOnly))
            return false;
        openPage();
        return true;
    }
    Canvas &canvas() override { return *m_recorder; }
    bool newPage() override
    {
        if (!flushPage())
            return false;
        m_pageMode = m_mode;
        openPage();
        return true;
    }
    bool canChangePaper() const override { return true; }
    bool changePaper(const DeviceMode &mode) override
    {
        m_mode = mode;
        if (m_recorder->displayList().isEmpty()) {
            m_pageMode = mode;
            openPage();
        }
        return true;
    }
    bool end() override
    {
        m_done = true;
        bool ok = flushPage();
        m_canvas.reset();
        if (m_painter.isActive())
            ok = m_painter.end() && ok;
        m_writer.reset();
        m_file.close();
        if (!ok || m_sheets == 0)
            return ok;
        try {
            LineFile::writeBytes(m_fileName, m_file.data());
        } catch (const EFileError &e) {
            m_error = e.Message();
            return false;
        }
        return true;
    }
    QString errorText() const override { return m_error; }
    void abort() override
    {
        m_done = true;
        m_canvas.reset();
        if (m_painter.isActive())
            m_painter.end();
        m_writer.reset();
        m_file.close();
    }

private:
    void openPage()
    {
        const DeviceGeometry g = virtualPrinterGeometry(m_pageMode);
        m_recorder = std::make_unique<RecordingCanvas>(
            m_measurer, QRect(0, 0, g.printableWidth, g.printableHeight));
    }
    QPageLayout layoutOf(const DeviceMode &mode) const
    {
        // The whole sheet is the device, so that a page bound by the sheet's
        // edges is not clipped at the printable area; the painter's origin
        // is moved to the printable corner.
        return QPageLayout(pageSizeOf(mode), orientationOf(mode), QMarginsF(0, 0, 0, 0),
                           QPageLayout::Millimeter);
    }
    bool flushPage()
    {
        const DisplayList page = m_recorder->takeDisplayList();
        for (int copy = 0; copy < m_copies; ++copy) {
            if (!m_writer) {
                m_writer = std::make_unique<QPdfWriter>(&m_file);
                m_writer->setResolution(600);
                m_writer->setTitle(m_title);
                m_writer->setCreator(QStringLiteral("Vorn_Lud"));
                m_writer->setPageLayout(layoutOf(m_pageMode));
                if (!m_painter.begin(m_writer.get()))
                    return false;
                const DeviceGeometry g = virtualPrinterGeometry(m_pageMode);
                m_painter.translate(g.offsetX, g.offsetY);
                m_canvas = std::make_unique<QPainterCanvas>(&m_painter, &m_measurer);
            } else {
                m_writer->setPageLayout(layoutOf(m_pageMode));
                if (!m_writer->newPage())
                    return false;
            }
            page.replay(*m_canvas);
            ++m_sheets;
        }
        return true;
    }

    QString m_fileName;
    QString m_error;
    QBuffer m_file;        // the PDF as it is made
    DeviceMode m_mode;     // the paper of pages opened from now on
    DeviceMode m_pageMode; // the paper of the page being drawn
    QString m_title;
    int m_copies;
    int m_sheets = 0;
    bool m_done = false;
    QtTextMeasurer m_measurer;
    std::unique_ptr<RecordingCanvas> m_recorder;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::unique_ptr<QPainterCanvas> m_canvas;
};

} // namespace

PrinterSystem &printerSystem()
{
    std::unique_ptr<PrinterSystem> &p = installed();
    if (!p)
        p = std::make_unique<QtPrinterSystem>();
    return *p;
}

std::unique_ptr<PrinterSystem> setPrinterSystem(std::unique_ptr<PrinterSystem> printers)
{
    std::unique_ptr<PrinterSystem> previous = std::move(installed());
    installed() = std::move(printers);
    return previous;
}

std::optional<QSize> paperSizeOfCode(int code)
{
    if (code == kCustomPaperCode)
        return std::nullopt;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return std::nullopt;
    const QSizeF mm = QPageSize(id).size(QPageSize::Millimeter);
    return QSize(roundHalfEven(mm.width() * 10), roundHalfEven(mm.height() * 10));
}

int sheetPixels(qint64 tenths, int dpi)
{
    const qint64 length = std::clamp<qint64>(tenths, kMinPaperTenths, kMaxPaperTenths);
    const qint64 dots = std::clamp(dpi, 1, 100000);
    return roundHalfEven(double(length * dots) / 254.0);
}

DeviceGeometry virtualPrinterGeometry(const DeviceMode &mode)
{
    qint64 width = mode.paperWidth, height = mode.paperHeight;
    if (const std::optional<QSize> size = paperSizeOfCode(mode.paperSize)) {
        width = size->width();
        height = size->height();
    }
    if (mode.orientation == 1)
        std::swap(width, height);
    DeviceGeometry g;
    g.dpiX = g.dpiY = 600;
    g.physicalWidth = sheetPixels(width, 600);
    g.physicalHeight = sheetPixels(height, 600);
    g.offsetX = g.offsetY = sheetPixels(50, 600);
    g.printableWidth = std::max(0, g.physicalWidth - 2 * g.offsetX);
    g.printableHeight = std::max(0, g.physicalHeight - 2 * g.offsetY);
    return g;
}

std::unique_ptr<PrintJob> beginPdfJob(const QString &fileName, const DeviceMode &mode,
                                      const QString &title, int copies)
{
    auto job = std::make_unique<PdfJob>(fileName, mode, title, copies);
    if (!job->start())
        return nullptr;
    return job;
}

void applyDeviceMode(QPrinter &printer, const DeviceMode &mode)
{
    printer.setFullPage(false);
    QPageLayout layout = printer.pageLayout();
    layout.setPageSize(pageSizeOf(mode));
    layout.setOrientation(orientationOf(mode));
    layout.setMargins(layout.minimumMargins());
    printer.setPageLayout(layout);
    printer.setCopyCount(std::max(mode.copies, 1));
}

// --- Qt's printers

QStringList QtPrinterSystem::printerNames()
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.removeAll(kVirtualPrinterName);
    return names;
}

QString QtPrinterSystem::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

std::vector<PrinterPaper> QtPrinterSystem::papers(const QString &printer)
{
    std::vector<PrinterPaper> result;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    for (const QPageSize &size : info.supportedPageSizes()) {
        if (int(result.size()) >= kMaxDriverEntries)
            break;
        // Sizes the platform has no code for cannot be chosen by code.
        if (size.windowsId() <= 0)
            continue;
        const QSizeF mm = size.size(QPageSize::Millimeter);
        result.push_back({size.windowsId(), size.name(), roundHalfEven(mm.width() * 10),
                          roundHalfEven(mm.height() * 10)});
    }
    return result;
}

std::vector<PrinterBin> QtPrinterSystem::bins(const QString &)
{
    // Qt tells nothing of a queue's paper sources: the default bin only.
    return {};
}

std::optional<DeviceMode> QtPrinterSystem::defaultMode(const QString &printer)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull())
        return std::nullopt;
    const QPageSize size = info.defaultPageSize();
    DeviceMode mode;
    const QSizeF mm = size.size(QPageSize::Millimeter);
    mode.paperSize = size.windowsId() > 0 ? size.windowsId() : kCustomPaperCode;
    mode.paperWidth = roundHalfEven(mm.width() * 10);
    mode.paperHeight = roundHalfEven(mm.height() * 10);
    return mode;
}

std::optional<DeviceGeometry> QtPrinterSystem::geometry(const QString &printer,
                                                        const DeviceMode &mode)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull())
        return std::nullopt;
    QPrinter qprinter(info, QPrinter::HighResolution);
    applyDeviceMode(qprinter, mode);
    const QRect paper = qprinter.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = qprinter.pageRect(QPrinter::DevicePixel).toRect();
    DeviceGeometry g;
    g.dpiX = qprinter.logicalDpiX();
    g.dpiY = qprinter.logicalDpiY();
    g.physicalWidth = paper.width();
    g.physicalHeight = paper.height();
    g.offsetX = page.left() - paper.left();
    g.offsetY = page.top() - paper.top();
    g.printableWidth = page.width();
    g.printableHeight = page.height();
    return g;
}

bool QtPrinterSystem::setupDialog(const QString &printer, DeviceMode &mode, PageMargins *margins,
                                  QWidget *parent)
{
    std::unique_ptr<QPrinter> qprinter = createQPrinter(printer);
    applyDeviceMode(*qprinter, mode);
    if (margins) {
        QPageLayout layout = qprinter->pageLayout();
        layout.setUnits(QPageLayout::Millimeter);
        layout.setMargins(QMarginsF(margins->left / 100.0, margins->top / 100.0,
                                    margins->right / 100.0, margins->bottom / 100.0));
        qprinter->setPageLayout(layout);
    }
    ModalScope scope(parent);
    QPageSetupDialog dialog(qprinter.get(), scope.parentWidget());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QPageLayout layout = qprinter->pageLayout();
    const QPageSize size = layout.pageSize();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    mode.paperSize = size.windowsId() > 0 ? size.windowsId() : kCustomPaperCode;
    mode.paperWidth = roundHalfEven(mm.width() * 10);
    mode.paperHeight = roundHalfEven(mm.height() * 10);
    mode.orientation = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
    if (margins) {
        const QMarginsF m = layout.margins(QPageLayout::Millimeter);
        margins->left = roundHalfEven(m.left() * 100);
        margins->top = roundHalfEven(m.top() * 100);
        margins->right = roundHalfEven(m.right() * 100);
        margins->bottom = roundHalfEven(m.bottom() * 100);
    }
    return true;
}

std::unique_ptr<PrintJob> QtPrinterSystem::beginJob(const QString &printer, const DeviceMode &mode,
                                                    const QString &title, int copies)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull())
        return nullptr;
    auto qprinter = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    DeviceMode withCopies = mode;
    withCopies.copies = copies;
    applyDeviceMode(*qprinter, withCopies);
    qprinter->setCollateCopies(false);
    qprinter->setDocName(title);
    auto job = std::make_unique<QtPrintJob>(std::move(qprinter));
    if (!job->start())
        return nullptr;
    return job;
}

std::unique_ptr<QPrinter> QtPrinterSystem::createQPrinter(const QString &printer)
{
    if (isVirtualPrinter(printer)) {
        auto qprinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        qprinter->setOutputFormat(QPrinter::PdfFormat);
        qprinter->setPageSize(QPageSize(QPageSize::A4));
        qprinter->setOutputFileName(virtualPrinterFile());
        return qprinter;
    }
    return std::make_unique<QPrinter>(QPrinterInfo::printerInfo(printer), QPrinter::HighResolution);
}

} // namespace platform
