#pragma once
// What the report objects and pages need of the library's printer: the
// printer list with its virtual printer, the papers and bins of the current
// printer, the current paper and the page geometry in report pixels. The
// printer layer supplies the real one; FrVirtualPrinterInfo serves machines
// and tests without printers.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class QObject;

namespace platform
{
class Canvas;
}

namespace report
{

// Report pixels per inch: 93 / 1.015.
constexpr double kFrPixelsPerInch = 93.0 / 1.015;
// Paper size code of a size given by width and height.
constexpr int kFrCustomPaper = 256;
// Bin code of the printer's default bin.
constexpr int kFrDefaultBin = 0xFFFF;

// Printer information of a page, twelve int32 values in this order.
struct TfrPrnInfo {
    qint32 PPgw = 0, PPgh = 0; // physical page, device pixels
    qint32 Pgw = 0, Pgh = 0;   // physical page, report pixels
    qint32 POfx = 0, POfy = 0; // physical offsets, device pixels
    qint32 Ofx = 0, Ofy = 0;   // physical offsets, report pixels
    qint32 PPw = 0, PPh = 0;   // printable area, device pixels
    qint32 Pw = 0, Ph = 0;     // printable area, report pixels
    bool operator==(const TfrPrnInfo &) const = default;
};

// One paper of the library's table (tenths of a millimetre).
struct FrPaperSize {
    int code;
    int width;
    int height;
};
// The 67 papers in table order, the custom size last; names are the texts
// 55008 + position.
const std::vector<FrPaperSize> &frPaperSizes();
// Report pixels of a length in tenths of a millimetre (half to even).
int frTenthsToPixels(int tenths);

class FrPrinterInfo
{
public:
    virtual ~FrPrinterInfo() = default;

    // Printer names, the virtual printer last.
    virtual QStringList Printers() const = 0;
    virtual int PrinterIndex() const = 0;
    virtual int VirtualPrinterIndex() const = 0;
    virtual void SetPrinterIndex(int index) = 0;
    // Reads the printers again.
    virtual void RefreshPrinters() = 0;

    virtual QStringList PaperNames() const = 0;
    virtual std::vector<int> PaperSizes() const = 0;
    virtual QStringList BinNames() const = 0;
    virtual std::vector<int> Bins() const = 0;
    // Position of a paper code in PaperSizes (the last position when absent).
    int GetPaperIndex(int code) const;
    // Position of a bin code in Bins (0 when absent).
    int GetBinIndex(int code) const;

    // The current paper.
    virtual int PaperSize() const = 0;
    virtual int PaperWidth() const = 0;
    virtual int PaperHeight() const = 0;
    virtual int Bin() const = 0;
    virtual int Orientation() const = 0; // 0 portrait, 1 landscape
    // The paper size the library found when it started (new pages take it).
    virtual int DefaultPaperSize() const = 0;

    virtual bool IsEqual(int size, int width, int height, int bin, int orientation) const = 0;
    // Makes the paper current; false when the printer refuses it.
    virtual bool SetPrinterInfo(int size, int width, int height, int bin, int orientation,
                                bool force) = 0;
    virtual void FillPrnInfo(TfrPrnInfo &info) const = 0;

    // The driver's properties dialog; true when the user changed the settings.
    virtual bool PropertiesDialog() { return false; }

    // --- the print job on the current printer (the engine's fakes cannot print)
    // A job of copies copies with the current paper; false when the printer
    // cannot print (it has told the user) or the user cancelled (cancelled set).
    // Its dialogs belong to owner's window (the preview that prints), else to
    // the active one.
    virtual bool BeginDoc(const QString &title, int copies, bool &cancelled,
                          QObject *owner = nullptr)
    {
        Q_UNUSED(title);
        Q_UNUSED(copies);
        Q_UNUSED(owner);
        cancelled = false;
        return false;
    }
    // True while a job runs: the paper does not change then, except through
    // NewPage of a job that can change paper.
    virtual bool Printing() const { return false; }
    // Makes a paper current within the job in progress, for its next sheet;
    // false when the job cannot change paper (a real printer's job: end it
    // and begin another).
    virtual bool ChangeJobPaper(int size, int width, int height, int bin, int orientation)
    {
        Q_UNUSED(size);
        Q_UNUSED(width);
        Q_UNUSED(height);
        Q_UNUSED(bin);
        Q_UNUSED(orientation);
        return false;
    }
    // Starts the next sheet.
    virtual bool NewPage() { return false; }
    // The job's canvas: device pixels, origin at the printable corner.
    virtual platform::Canvas *Canvas() { return nullptr; }
    virtual bool EndDoc() { return false; }
    virtual void Abort() {}
};

// The virtual printer alone (the paper table, 5 mm offsets), optionally
// preceded by a 600 dpi printer with A4 and A5 only; it can be told to refuse
// a paper size, as a driver does.
class FrVirtualPrinterInfo : public FrPrinterInfo
{
public:
    FrVirtualPrinterInfo();

    // Puts a 600 dpi printer "Imprimante 600" before the virtual one and selects it.
    void addRealPrinter();
    // SetPrinterInfo with this size code then fails (0: refuse none).
    void refuseSize(int code) { m_refused = code; }
    int setCalls() const { return m_setCalls; }

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    int VirtualPrinterIndex() const override { return m_hasReal ? 1 : 0; }
    void SetPrinterIndex(int index) override;
    void RefreshPrinters() override {}
    QStringList PaperNames() const override;
    std::vector<int> PaperSizes() const override;
    QStringList BinNames() const override;
    std::vector<int> Bins() const override;
    int PaperSize() const override { return m_size; }
    int PaperWidth() const override { return m_width; }
    int PaperHeight() const override { return m_height; }
    int Bin() const override { return m_bin; }
    int Orientation() const override { return m_orientation; }
    int DefaultPaperSize() const override { return 9; }
    bool IsEqual(int size, int width, int height, int bin, int orientation) const override;
    bool SetPrinterInfo(int size, int width, int height, int bin, int orientation,
                        bool force) override;
    void FillPrnInfo(TfrPrnInfo &info) const override;

private:
    bool onVirtual() const { return m_index == VirtualPrinterIndex(); }
    void applyTable();

    bool m_hasReal = false;
    int m_index = 0;
    int m_refused = 0;
    int m_setCalls = 0;
    int m_size = 9;
    int m_width = 2100;
    int m_height = 2970;
    int m_bin = kFrDefaultBin;
    int m_orientation = 0;
};

} // namespace report
