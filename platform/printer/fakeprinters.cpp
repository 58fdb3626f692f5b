#include "platform/printer/fakeprinters.h"

#include "platform/canvas/recordingcanvas.h"
#include "platform/canvas/textmeasurer.h"

#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

class RecordingJob : public PrintJob
{
public:
    RecordingJob(std::vector<FakePrinterSystem::Job> &jobs, size_t index, DeviceGeometry geometry)
        : m_jobs(jobs), m_index(index), m_geometry(geometry)
    {
        openPage();
    }
    Canvas &canvas() override { return *m_recorder; }
    bool newPage() override
    {
        flush();
        openPage();
        return true;
    }
    bool canChangePaper() const override { return false; }
    bool changePaper(const DeviceMode &) override { return false; }
    bool end() override
    {
        flush();
        job().ended = true;
        return true;
    }
    void abort() override
    {
        m_recorder.reset();
        job().aborted = true;
    }

private:
    FakePrinterSystem::Job &job() { return m_jobs[m_index]; }
    void openPage()
    {
        m_recorder = std::make_unique<RecordingCanvas>(
            m_measurer, QRect(0, 0, m_geometry.printableWidth, m_geometry.printableHeight));
    }
    void flush()
    {
        if (m_recorder)
            job().pages.push_back({job().mode, m_recorder->takeDisplayList()});
        m_recorder.reset();
    }

    std::vector<FakePrinterSystem::Job> &m_jobs;
    size_t m_index;
    DeviceGeometry m_geometry;
    QtTextMeasurer m_measurer;
    std::unique_ptr<RecordingCanvas> m_recorder;
};

} // namespace

FakePrinterSystem::Printer FakePrinterSystem::printer600()
{
    Printer p;
    p.name = QStringLiteral("Imprimante 600");
    p.papers = {{9, QStringLiteral("A4"), 2100, 2970},
                {11, QStringLiteral("A5"), 1480, 2100},
                {1, QStringLiteral("Letter"), 2159, 2794}};
    p.bins = {{1, QStringLiteral("Bac 1")}, {4, QStringLiteral("Manuel")}};
    return p;
}

FakePrinterSystem::Printer FakePrinterSystem::talkativeDriver()
{
    Printer p;
    p.name = QStringLiteral("Pilote bavard");
    for (int i = 0; i < 300; ++i)
        p.papers.push_back(
            {i < 2 ? 9 + 2 * i : 1000 + i, QStringLiteral("Papier %1").arg(i), 2100, 2970});
    for (int i = 0; i < 300; ++i)
        p.bins.push_back({i + 1, QStringLiteral("Bac %1").arg(i + 1)});
    return p;
}

FakePrinterSystem::Printer *FakePrinterSystem::find(const QString &name)
{
    for (Printer &p : printers)
        if (p.name == name && !p.gone)
            return &p;
    return nullptr;
}

QStringList FakePrinterSystem::printerNames()
{
    QStringList names;
    for (const Printer &p : printers)
        if (!p.gone)
            names << p.name;
    return names;
}

std::vector<PrinterPaper> FakePrinterSystem::papers(const QString &printer)
{
    // A driver answers as many as it has; the platform layer keeps 256.
    const Printer *p = find(printer);
    if (!p)
        return {};
    std::vector<PrinterPaper> list = p->papers;
    if (list.size() > size_t(kMaxDriverEntries))
        list.resize(kMaxDriverEntries);
    return list;
}

std::vector<PrinterBin> FakePrinterSystem::bins(const QString &printer)
{
    const Printer *p = find(printer);
    if (!p)
        return {};
    std::vector<PrinterBin> list = p->bins;
    if (list.size() > size_t(kMaxDriverEntries - 1))
        list.resize(kMaxDriverEntries - 1);
    return list;
}

std::optional<DeviceMode> FakePrinterSystem::defaultMode(const QString &printer)
{
    if (!find(printer))
        return std::nullopt;
    return DeviceMode();
}

std::optional<DeviceGeometry> FakePrinterSystem::geometry(const QString &printer,
                                                          const DeviceMode &mode)
{
    const Printer *p = find(printer);
    if (!p)
        return std::nullopt;
    int width = mode.paperWidth, height = mode.paperHeight;
    for (const PrinterPaper &paper : p->papers)
        if (paper.code == mode.paperSize && mode.paperSize != kCustomPaperCode) {
            width = paper.width;
            height = paper.height;
        }
    if (mode.orientation == 1)
        std::swap(width, height);
    DeviceGeometry g;
    g.dpiX = g.dpiY = p->dpi;
    g.physicalWidth = sheetPixels(width, p->dpi);
    g.physicalHeight = sheetPixels(height, p->dpi);
    g.offsetX = g.offsetY = p->offset;
    g.printableWidth = std::max(0, g.physicalWidth - 2 * p->offset);
    g.printableHeight = std::max(0, g.physicalHeight - 2 * p->offset);
    return g;
}

bool FakePrinterSystem::setupDialog(const QString &, DeviceMode &mode, PageMargins *margins,
                                    QWidget *)
{
    ++setupShows;
    if (!setupAnswer)
        return false;
    if (setupMode)
        mode = *setupMode;
    if (margins && setupMargins)
        *margins = *setupMargins;
    return true;
}

std::unique_ptr<PrintJob> FakePrinterSystem::beginJob(const QString &printer,
                                                      const DeviceMode &mode, const QString &title,
                                                      int copies)
{
    Printer *p = find(printer);
    if (!p || p->failJobs)
        return nullptr;
    jobs.push_back({printer, title, copies, mode, {}, false, false});
    return std::make_unique<RecordingJob>(jobs, jobs.size() - 1, *geometry(printer, mode));
}

std::unique_ptr<QPrinter> FakePrinterSystem::createQPrinter(const QString &printer)
{
    qprinters << printer;
    auto qprinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    qprinter->setOutputFormat(QPrinter::PdfFormat);
    qprinter->setOutputFileName(qprinterOutput);
    return qprinter;
}

} // namespace platform
