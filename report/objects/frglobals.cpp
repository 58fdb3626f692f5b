#include "report/objects/frglobals.h"

#include "platform/canvas/bitmaps.h"
#include "report/build/frfunclib.h"
#include "report/build/frstdfunc.h"
#include "report/objects/frprinterinfo.h"
#include "report/print/frprint.h"

namespace report
{

FrObjectGlobals::FrObjectGlobals()
{
    m_ownMeasurer = std::make_unique<platform::QtTextMeasurer>();
    m_measurer = m_ownMeasurer.get();
    m_canvas = std::make_unique<FrNullCanvas>(m_measurer);
    m_checker = platform::checkerPattern(platform::clWhite, platform::clSilver);
    frInstalledFunctions = std::make_unique<TfrInstalledFunctions>();
}

FrObjectGlobals::~FrObjectGlobals() = default;

const platform::TextMeasurer &FrObjectGlobals::measurer() const
{
    return *m_measurer;
}

void FrObjectGlobals::setMeasurer(const platform::TextMeasurer *measurer)
{
    m_measurer = measurer ? measurer : m_ownMeasurer.get();
    m_canvas->useMeasurer(m_measurer);
}

FrPrinterInfo &FrObjectGlobals::frGlobalPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<FrVirtualPrinterInfo>();
    return *m_printer;
}

void FrObjectGlobals::setPrinter(std::unique_ptr<FrPrinterInfo> printer)
{
    m_printer = std::move(printer);
}

void FrObjectGlobals::setPrintDialog(std::unique_ptr<FrPrintDialogSeam> dialog)
{
    m_printDialog = std::move(dialog);
}

void FrObjectGlobals::resetBuildState()
{
    frBuilding = false;
    frAppendPage = false;
    frAppendFooterPrinted = false;
    frPrevPageY = 0;
    frPrevPageBottom = 0;
    frAggregatePrepare = false;
    frAggregateBand = nullptr;
    frMemoObservers.clear();
    frCurrentValue = FrVariant();
    frCurrentFilter = nullptr;
    frCurrentPage = nullptr;
    frCurrentBand = nullptr;
    frCurrentView = nullptr;
    frFirstPass = false;
    frDocMode = 0;
}

namespace
{
// Wherever the object layer is linked, the library's start puts in the
// report's interpreter and the standard functions, and its end takes them out.
[[maybe_unused]] const bool objectLayerHooked =
    (FrLibrary::addLayerHooks(&frStartObjectLayer, &frEndObjectLayer), true);
} // namespace

FrObjectGlobals &frObjects()
{
    FrLibrary &lib = fr();
    if (!lib.objectLayer)
        lib.objectLayer = std::make_unique<FrObjectGlobals>();
    return static_cast<FrObjectGlobals &>(*lib.objectLayer);
}

void frSetCurrentReport(TfrReport *report, FrReportLink *link, QObject *owner)
{
    fr().setCurrentReport(report, owner);
    frObjects().frCurrentReport = link;
}

} // namespace report
