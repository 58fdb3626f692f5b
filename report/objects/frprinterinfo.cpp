#include "report/objects/frprinterinfo.h"

#include "report/core/frlocale.h"

#include <cmath>
#include <cstdlib>

namespace report
{

const std::vector<FrPaperSize> &frPaperSizes()
{
    static const std::vector<FrPaperSize> table = {
        {1, 2159, 2794},   {2, 2159, 2794},  {3, 2794, 4318},  {4, 4318, 2794},  {5, 2159, 3556},
        {6, 1397, 2159},   {7, 1842, 2667},  {8, 2970, 4200},  {9, 2100, 2970},  {10, 2100, 2970},
        {11, 1480, 2100},  {12, 2500, 3540}, {13, 1820, 2570}, {14, 2159, 3302}, {15, 2150, 2750},
        {16, 2540, 3556},  {17, 2794, 4318}, {18, 2159, 2794}, {19, 984, 2254},  {20, 1048, 2413},
        {21, 1143, 2635},  {22, 1207, 2794}, {23, 1270, 2921}, {24, 4318, 5588}, {25, 5588, 8636},
        {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
        {31, 1140, 1620},  {32, 1140, 2290}, {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250},
        {36, 1100, 2300},  {37, 984, 1905},  {38, 920, 1651},  {39, 3778, 2794}, {40, 2159, 3048},
        {41, 2159, 3302},  {42, 2500, 3530}, {43, 1000, 1480}, {44, 2286, 2794}, {45, 2540, 2794},
        {46, 3810, 2794},  {47, 2200, 2200}, {50, 2355, 3048}, {51, 2355, 3810}, {52, 2969, 4572},
        {53, 2354, 3223},  {54, 2101, 2794}, {55, 2100, 2970}, {56, 2355, 3048}, {57, 2270, 3560},
        {58, 3050, 4870},  {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100}, {62, 1820, 2570},
        {63, 3220, 4450},  {64, 1740, 2350}, {65, 2010, 2760}, {66, 4200, 5940}, {67, 2970, 4200},
        {68, 3220, 4450},  {256, 0, 0},
    };
    return table;
}

int frTenthsToPixels(int tenths)
{
    return static_cast<int>(std::nearbyint(tenths * kFrPixelsPerInch / 254.0));
}

int FrPrinterInfo::GetPaperIndex(int code) const
{
    const std::vector<int> sizes = PaperSizes();
    for (size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i] == code)
            return int(i);
    return sizes.empty() ? 0 : int(sizes.size()) - 1;
}

int FrPrinterInfo::GetBinIndex(int code) const
{
    const std::vector<int> bins = Bins();
    for (size_t i = 0; i < bins.size(); ++i)
        if (bins[i] == code)
            return int(i);
    return 0;
}

FrVirtualPrinterInfo::FrVirtualPrinterInfo()
{
    applyTable();
}

void FrVirtualPrinterInfo::addRealPrinter()
{
    m_hasReal = true;
    m_index = 0;
    m_size = 9;
    m_width = 2100;
    m_height = 2970;
}

QStringList FrVirtualPrinterInfo::Printers() const
{
    QStringList names;
    if (m_hasReal)
        names << QStringLiteral("Imprimante 600");
    names << frLoadString(55007);
    return names;
}

void FrVirtualPrinterInfo::SetPrinterIndex(int index)
{
    if (index < 0 || index >= Printers().size())
        return;
    m_index = index;
    if (onVirtual())
        applyTable();
}

QStringList FrVirtualPrinterInfo::PaperNames() const
{
    QStringList names;
    if (!onVirtual())
        return {QStringLiteral("A4"), QStringLiteral("A5")};
    const auto &table = frPaperSizes();
    for (size_t i = 0; i < table.size(); ++i)
        names << frLoadString(55008 + int(i));
    return names;
}

std::vector<int> FrVirtualPrinterInfo::PaperSizes() const
{
    if (!onVirtual())
        return {9, 11};
    std::vector<int> codes;
    for (const FrPaperSize &p : frPaperSizes())
        codes.push_back(p.code);
    return codes;
}

QStringList FrVirtualPrinterInfo::BinNames() const
{
    return {frLoadString(55435)};
}

std::vector<int> FrVirtualPrinterInfo::Bins() const
{
    return {kFrDefaultBin};
}

void FrVirtualPrinterInfo::applyTable()
{
    if (m_size == kFrCustomPaper)
        return;
    for (const FrPaperSize &p : frPaperSizes())
        if (p.code == m_size) {
            m_width = m_orientation == 1 ? p.height : p.width;
            m_height = m_orientation == 1 ? p.width : p.height;
            return;
        }
}

bool FrVirtualPrinterInfo::IsEqual(int size, int width, int height, int bin, int orientation) const
{
    if (size == kFrCustomPaper && m_size == kFrCustomPaper)
        return std::abs(width - m_width) <= 1 && std::abs(height - m_height) <= 1 &&
               orientation == m_orientation;
    return size == m_size && orientation == m_orientation && (bin == m_bin || bin == kFrDefaultBin);
}

bool FrVirtualPrinterInfo::SetPrinterInfo(int size, int width, int height, int bin, int orientation,
                                          bool force)
{
    ++m_setCalls;
    if (m_refused != 0 && size == m_refused)
        return false;
    if (!force && IsEqual(size, width, height, bin, orientation))
        return true;
    if (!onVirtual() && size != 9 && size != 11 && size != kFrCustomPaper)
        return false;
    m_size = size;
    m_width = width;
    m_height = height;
    m_bin = bin;
    m_orientation = orientation;
    if (onVirtual())
        applyTable();
    else if (size != kFrCustomPaper) {
        const int w = size == 9 ? 2100 : 1480, h = size == 9 ? 2970 : 2100;
        m_width = orientation == 1 ? h : w;
        m_height = orientation == 1 ? w : h;
    }
    return true;
}

void FrVirtualPrinterInfo::FillPrnInfo(TfrPrnInfo &info) const
{
    info = TfrPrnInfo();
    if (onVirtual()) {
        info.Pgw = frTenthsToPixels(m_width);
        info.Pgh = frTenthsToPixels(m_height);
        info.Ofx = info.Ofy = frTenthsToPixels(50);
        info.Pw = info.Pgw - 2 * info.Ofx;
        info.Ph = info.Pgh - 2 * info.Ofy;
        return;
    }
    // 600 dpi, 1/6 inch offsets on every side.
    const double k = kFrPixelsPerInch / 600.0;
    info.PPgw = int(std::nearbyint(m_width * 600.0 / 254.0));
    info.PPgh = int(std::nearbyint(m_height * 600.0 / 254.0));
    info.POfx = info.POfy = 100;
    info.PPw = info.PPgw - 200;
    info.PPh = info.PPgh - 200;
    info.Pgw = int(std::nearbyint(info.PPgw * k));
    info.Pgh = int(std::nearbyint(info.PPgh * k));
    info.Ofx = int(std::nearbyint(info.POfx * k));
    info.Ofy = int(std::nearbyint(info.POfy * k));
    info.Pw = int(std::nearbyint(info.PPw * k));
    info.Ph = int(std::nearbyint(info.PPh * k));
}

} // namespace report
