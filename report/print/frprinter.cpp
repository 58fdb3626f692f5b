#include "report/print/frprinter.h"

#include "platform/canvas/canvas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/printer/printers.h"
#include "report/core/frlocale.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>

namespace report
{

namespace
{

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

platform::PrinterSystem &system()
{
    return platform::printerSystem();
}

} // namespace

QString frBinName(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("Bac supérieur");
    case 2:
        return QStringLiteral("Bac inférieur");
    case 3:
        return QStringLiteral("Bac du milieu");
    case 4:
        return QStringLiteral("Alimentation manuelle");
    case 5:
        return QStringLiteral("Enveloppe");
    case 6:
        return QStringLiteral("Enveloppe manuelle");
    case 7:
        return QStringLiteral("Sélection automatique");
    case 8:
        return QStringLiteral("Tracteur");
    case 9:
        return QStringLiteral("Petit format");
    case 10:
        return QStringLiteral("Grand format");
    case 11:
        return QStringLiteral("Grande capacité");
    case 14:
        return QStringLiteral("Cassette");
    case 15:
        return QStringLiteral("Source automatique");
    default:
        return QStringLiteral("Bac %1").arg(code);
    }
}

TfrPrinter::TfrPrinter()
{
    // The virtual printer until SetPrinter takes the platform's.
    PrintersList << frLoadString(55007);
    SetSettings();
}

TfrPrinter::~TfrPrinter()
{
    if (m_job)
        m_job->abort();
}

void TfrPrinter::SetPrinter()
{
    QStringList names = system().printerNames();
    names.removeAll(platform::kVirtualPrinterName);
    // A driver listing thousands of queues is cut where the lists of the
    // library end.
    while (names.size() > 255)
        names.removeLast();
    PrintersList = names;
    PrintersList << frLoadString(55007);
    VirtualPrinterIndexValue = int(names.size());
    const QString current = platform::currentPrinterName();
    const int index = int(names.indexOf(current));
    PrinterIndexValue = index >= 0 ? index
                        : platform::isVirtualPrinter(current) || names.isEmpty()
                            ? VirtualPrinterIndexValue
                            : 0;
    if (IsVirtual()) {
        SetSettings();
    } else {
        Device = names.at(PrinterIndexValue);
        if (const auto mode = system().defaultMode(Device))
            TakeMode(*mode);
        Update();
    }
    m_defaultPaperSize = PaperSizeValue;
}

QString TfrPrinter::PlatformName() const
{
    if (IsVirtual() || PrinterIndexValue < 0 || PrinterIndexValue >= PrintersList.size())
        return platform::kVirtualPrinterName;
    return PrintersList.at(PrinterIndexValue);
}

platform::DeviceMode TfrPrinter::Mode() const
{
    platform::DeviceMode mode;
    mode.paperSize = PaperSizeValue;
    mode.orientation = OrientationValue;
    // The device mode holds the sheet upright.
    mode.paperWidth = OrientationValue == 1 ? PaperHeightValue : PaperWidthValue;
    mode.paperHeight = OrientationValue == 1 ? PaperWidthValue : PaperHeightValue;
    mode.source = BinValue;
    mode.copies = 1;
    return mode;
}

void TfrPrinter::TakeMode(const platform::DeviceMode &mode)
{
    PaperSizeValue = mode.paperSize;
    OrientationValue = quint8(mode.orientation == 1 ? 1 : 0);
    PaperWidthValue = OrientationValue == 1 ? mode.paperHeight : mode.paperWidth;
    PaperHeightValue = OrientationValue == 1 ? mode.paperWidth : mode.paperHeight;
    BinValue = mode.source;
}

void TfrPrinter::SetPrinterIndex(int index)
{
    if (index < 0 || index >= PrintersList.size())
        return;
    PrinterIndexValue = index;
    if (IsVirtual()) {
        platform::setCurrentPrinterName(platform::kVirtualPrinterName);
        SetSettings();
        return;
    }
    Device = PrintersList.at(index);
    const std::optional<platform::DeviceMode> mode = system().defaultMode(Device);
    if (!mode) {
        SetPrinterIndex(VirtualPrinterIndexValue);
        return;
    }
    platform::setCurrentPrinterName(Device);
    TakeMode(*mode);
    Update();
}

void TfrPrinter::RefreshPrinters()
{
    const QString kept = IsVirtual() ? QString() : PlatformName();
    QStringList names = system().printerNames();
    names.removeAll(platform::kVirtualPrinterName);
    while (names.size() > 255)
        names.removeLast();
    PrintersList = names;
    PrintersList << frLoadString(55007);
    VirtualPrinterIndexValue = int(names.size());
    const int index = kept.isEmpty() ? -1 : int(names.indexOf(kept));
    if (index >= 0) {
        PrinterIndexValue = index;
        Update();
    } else {
        // The printer in use has gone: the virtual one takes its place.
        PrinterIndexValue = VirtualPrinterIndexValue;
        if (!kept.isEmpty())
            platform::setCurrentPrinterName(platform::kVirtualPrinterName);
        SetSettings();
    }
}

std::vector<int> TfrPrinter::PaperSizes() const
{
    return std::vector<int>(PaperSizesArray.begin(), PaperSizesArray.begin() + PaperSizesNum);
}

std::vector<int> TfrPrinter::Bins() const
{
    return std::vector<int>(BinsArray.begin(), BinsArray.begin() + BinsNum);
}

std::optional<platform::DeviceGeometry> TfrPrinter::deviceGeometry() const
{
    if (IsVirtual())
        return platform::virtualPrinterGeometry(Mode());
    return system().geometry(PlatformName(), Mode());
}

void TfrPrinter::Update()
{
    if (IsVirtual()) {
        SetSettings();
        return;
    }
    const QString name = PlatformName();
    const std::optional<platform::DeviceGeometry> geometry = system().geometry(name, Mode());
    if (!geometry || geometry->dpiX <= 0 || geometry->dpiY <= 0) {
        SetPrinterIndex(VirtualPrinterIndexValue);
        return;
    }
    Device = name;
    PaperWidthValue = roundHalfEven(geometry->physicalWidth * 254.0 / geometry->dpiX);
    PaperHeightValue = roundHalfEven(geometry->physicalHeight * 254.0 / geometry->dpiY);

    const std::vector<platform::PrinterPaper> papers = system().papers(name);
    if (!papers.empty()) {
        PaperNamesList.clear();
        PaperSizesNum = 0;
        // The driver's papers, then the custom size: at most 256 together.
        for (const platform::PrinterPaper &paper : papers) {
            if (PaperSizesNum >= 255)
                break;
            if (paper.code <= 0 || paper.code == kFrCustomPaper || paper.code > 0xFFFF)
                continue;
            PaperSizesArray[size_t(PaperSizesNum++)] = quint16(paper.code);
            PaperNamesList << paper.name.left(63);
        }
        PaperSizesArray[size_t(PaperSizesNum++)] = quint16(kFrCustomPaper);
        PaperNamesList << frLoadString(55008 + int(frPaperSizes().size()) - 1);
    }

    const std::vector<platform::PrinterBin> bins = system().bins(name);
    BinNamesList = QStringList{frLoadString(55435)};
    BinsArray[0] = quint16(kFrDefaultBin);
    BinsNum = 1;
    for (const platform::PrinterBin &bin : bins) {
        if (BinsNum >= 256)
            break;
        if (bin.code <= 0 || bin.code >= kFrDefaultBin)
            continue;
        BinsArray[size_t(BinsNum++)] = quint16(bin.code);
        BinNamesList << frBinName(bin.code);
    }
}

void TfrPrinter::SetSettings()
{
    if (!IsVirtual()) {
        Update();
        return;
    }
    const auto &table = frPaperSizes();
    PaperNamesList.clear();
    PaperSizesNum = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        PaperNamesList << frLoadString(55008 + int(i));
        PaperSizesArray[size_t(PaperSizesNum++)] = quint16(table[i].code);
    }
    BinNamesList = QStringList{frLoadString(55435)};
    BinsArray[0] = quint16(kFrDefaultBin);
    BinsNum = 1;
    if (PaperSizeValue == kFrCustomPaper)
        return;
    for (const FrPaperSize &p : table)
        if (p.code == PaperSizeValue) {
            PaperWidthValue = OrientationValue == 1 ? p.height : p.width;
            PaperHeightValue = OrientationValue == 1 ? p.width : p.height;
            return;
        }
}

bool TfrPrinter::IsEqual(int size, int width, int height, int bin, int orientation) const
{
    if (size == kFrCustomPaper && PaperSizeValue == kFrCustomPaper)
        return std::abs(width - PaperWidthValue) <= 1 && std::abs(height - PaperHeightValue) <= 1 &&
               orientation == OrientationValue;
    return size == PaperSizeValue && orientation == OrientationValue &&
           (bin == BinValue || bin == kFrDefaultBin);
}

void TfrPrinter::storePaper(int size, int width, int height, int bin, int orientation)
{
    PaperSizeValue = size;
    PaperWidthValue = width;
    PaperHeightValue = height;
    BinValue = bin;
    OrientationValue = quint8(orientation == 1 ? 1 : 0);
}

bool TfrPrinter::SetPrinterInfo(int size, int width, int height, int bin, int orientation,
                                bool force)
{
    // The paper of a job in progress stays as it is.
    if (Printing())
        return false;
    if (!force && IsEqual(size, width, height, bin, orientation))
        return true;
    // A driver refuses a paper it does not offer; the page then asks for a
    // custom size.
    if (!IsVirtual() && size != kFrCustomPaper) {
        const std::vector<int> sizes = PaperSizes();
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            return false;
    }
    if (size == kFrCustomPaper && (width <= 0 || height <= 0))
        return false;
    storePaper(size, width, height, bin, orientation);
    SetSettings();
    return true;
}

void TfrPrinter::FillPrnInfo(TfrPrnInfo &info) const
{
    info = TfrPrnInfo();
    std::optional<platform::DeviceGeometry> device = deviceGeometry();
    if (IsVirtual() || !device) {
        info.Pgw = frTenthsToPixels(PaperWidthValue);
        info.Pgh = frTenthsToPixels(PaperHeightValue);
        info.Ofx = info.Ofy = frTenthsToPixels(50);
        info.Pw = info.Pgw - 2 * info.Ofx;
        info.Ph = info.Pgh - 2 * info.Ofy;
        if (!device)
            device = platform::virtualPrinterGeometry(Mode());
        info.PPgw = device->physicalWidth;
        info.PPgh = device->physicalHeight;
        info.POfx = device->offsetX;
        info.POfy = device->offsetY;
        info.PPw = device->printableWidth;
        info.PPh = device->printableHeight;
        return;
    }
    const double kx = kFrPixelsPerInch / device->dpiX;
    const double ky = kFrPixelsPerInch / device->dpiY;
    info.PPgw = device->physicalWidth;
    info.PPgh = device->physicalHeight;
    info.POfx = device->offsetX;
    info.POfy = device->offsetY;
    info.PPw = device->printableWidth;
    info.PPh = device->printableHeight;
    info.Pgw = roundHalfEven(info.PPgw * kx);
    info.Pgh = roundHalfEven(info.PPgh * ky);
    info.Ofx = roundHalfEven(info.POfx * kx);
    info.Ofy = roundHalfEven(info.POfy * ky);
    info.Pw = roundHalfEven(info.PPw * kx);
    info.Ph = roundHalfEven(info.PPh * ky);
}

bool TfrPrinter::PropertiesDialog()
{
    if (Printing())
        return false;
    platform::DeviceMode mode = Mode();
    if (!system().setupDialog(PlatformName(), mode, nullptr, nullptr))
        return false;
    TakeMode(mode);
    SetSettings();
    return true;
}

// --- the print job

void TfrPrinter::failJob(const QString &reason)
{
    QString text = frLoadString(55463) + PrintersList.value(PrinterIndexValue);
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    platform::MessageDlgWithCaption(frLoadString(55206), text, platform::mtError, platform::mbOK);
}

bool TfrPrinter::BeginDoc(const QString &title, int copies, bool &cancelled, QObject *owner)
{
    cancelled = false;
    if (m_job)
        return false;
    if (IsVirtual()) {
        // The virtual printer writes the file the user names.
        platform::FileRequest request;
        request.title = frLoadString(55461);
        request.filter = frLoadString(55462) + QStringLiteral(" (*.pdf)|*.pdf");
        request.fileName = title + QStringLiteral(".pdf");
        request.initialDir = QFileInfo(platform::virtualPrinterFile()).absolutePath();
        request.defaultExt = QStringLiteral("pdf");
        request.overwritePrompt = true;
        std::optional<platform::FileAnswer> answer;
        {
            platform::ModalScope scope(qobject_cast<QWidget *>(owner));
            answer = platform::dialogs().saveFile(request, scope.parentWidget());
        }
        if (!answer || answer->files.isEmpty()) {
            cancelled = true;
            return false;
        }
        m_job = platform::beginPdfJob(answer->files.first(), Mode(), title, copies);
    } else {
        m_job = system().beginJob(PlatformName(), Mode(), title, copies);
    }
    if (!m_job) {
        failJob();
        return false;
    }
    return true;
}

bool TfrPrinter::ChangeJobPaper(int size, int width, int height, int bin, int orientation)
{
    if (!m_job || !m_job->canChangePaper())
        return false;
    storePaper(size, width, height, bin, orientation);
    SetSettings();
    return m_job->changePaper(Mode());
}

bool TfrPrinter::NewPage()
{
    if (!m_job)
        return false;
    if (m_job->newPage())
        return true;
    Abort();
    failJob();
    return false;
}

platform::Canvas *TfrPrinter::Canvas()
{
    return m_job ? &m_job->canvas() : nullptr;
}

bool TfrPrinter::EndDoc()
{
    if (!m_job)
        return false;
    std::unique_ptr<platform::PrintJob> job = std::move(m_job);
    if (job->end())
        return true;
    failJob(job->errorText());
    return false;
}

void TfrPrinter::Abort()
{
    if (std::unique_ptr<platform::PrintJob> job = std::move(m_job))
        job->abort();
}

} // namespace report
