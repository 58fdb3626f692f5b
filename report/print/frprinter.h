#pragma once
// The library's printer: the system's printers followed by the virtual one,
// the papers and bins of the current printer, the current paper as the
// driver holds it, and the conversion of device pixels to report pixels.
// One instance serves the library (frObjects().frGlobalPrinter()); the
// platform printer behind it is platform::printerSystem().
#include "report/objects/frprinterinfo.h"

#include "platform/printer/printdevice.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace report
{

class TfrPrinter : public FrPrinterInfo
{
public:
    TfrPrinter();
    ~TfrPrinter() override;

    // Takes the platform's printers: their names, then the virtual printer;
    // the platform's current printer becomes current.
    void SetPrinter();

    // --- fields
    QString Device; // the current printer's name as the platform reports it
    QStringList PaperNamesList;
    QStringList BinNamesList;
    QStringList PrintersList;
    int PrinterIndexValue = 0;
    int VirtualPrinterIndexValue = 0;
    quint8 OrientationValue = 0;
    int PaperSizeValue = 9;
    int PaperWidthValue = 2100;
    int PaperHeightValue = 2970;
    int BinValue = kFrDefaultBin;
    std::array<quint16, 256> PaperSizesArray{};
    int PaperSizesNum = 0;
    std::array<quint16, 256> BinsArray{};
    int BinsNum = 0;

    // Reads the current real printer's papers, bins and current paper.
    void Update();
    // Writes the current paper into the driver (real printer), or fills the
    // lists from the paper table (virtual printer).
    void SetSettings();
    bool IsVirtual() const { return PrinterIndexValue == VirtualPrinterIndexValue; }
    // The platform name of the current printer (the virtual PDF printer's
    // own name for the virtual one).
    QString PlatformName() const;
    // The device mode of the current paper.
    platform::DeviceMode Mode() const;
    // Takes a device mode chosen in a platform dialog as the current paper.
    void TakeMode(const platform::DeviceMode &mode);

    // --- FrPrinterInfo
    QStringList Printers() const override { return PrintersList; }
    int PrinterIndex() const override { return PrinterIndexValue; }
    int VirtualPrinterIndex() const override { return VirtualPrinterIndexValue; }
    void SetPrinterIndex(int index) override;
    // Reads the printers again; the current one is kept by name, a vanished
    // one gives way to the virtual printer.
    void RefreshPrinters() override;
    QStringList PaperNames() const override { return PaperNamesList; }
    std::vector<int> PaperSizes() const override;
    QStringList BinNames() const override { return BinNamesList; }
    std::vector<int> Bins() const override;
    int PaperSize() const override { return PaperSizeValue; }
    int PaperWidth() const override { return PaperWidthValue; }
    int PaperHeight() const override { return PaperHeightValue; }
    int Bin() const override { return BinValue; }
    int Orientation() const override { return OrientationValue; }
    int DefaultPaperSize() const override { return m_defaultPaperSize; }
    bool IsEqual(int size, int width, int height, int bin, int orientation) const override;
    bool SetPrinterInfo(int size, int width, int height, int bin, int orientation,
                        bool force) override;
    void FillPrnInfo(TfrPrnInfo &info) const override;
    bool PropertiesDialog() override;

    bool BeginDoc(const QString &title, int copies, bool &cancelled,
                  QObject *owner = nullptr) override;
    bool Printing() const override { return m_job != nullptr; }
    bool ChangeJobPaper(int size, int width, int height, int bin, int orientation) override;
    bool NewPage() override;
    platform::Canvas *Canvas() override;
    bool EndDoc() override;
    void Abort() override;

private:
    void storePaper(int size, int width, int height, int bin, int orientation);
    // The device geometry of the current paper; nothing when the printer is gone.
    std::optional<platform::DeviceGeometry> deviceGeometry() const;
    // Says the job failed, with its reason when it has one.
    void failJob(const QString &reason = {});

    int m_defaultPaperSize = 9;
    std::unique_ptr<platform::PrintJob> m_job;
};

// The text of a platform bin code in the fixed French table.
QString frBinName(int code);

} // namespace report
