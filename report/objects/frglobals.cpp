#include "report/objects/frglobals.h"

#include "platform/canvas/bitmaps.h"
#include "platform/forms/application.h"
#include "report/build/frfunclib.h"
#include "report/build/frstdfunc.h"
#include "report/core/frutils.h"
#include "report/objects/frlinks.h"
#include "report/objects/frprinterinfo.h"
#include "report/objects/frview.h"
#include "report/print/frprint.h"

namespace report
{

FrLoadNames::FrLoadNames(FrReportLink *report) : m_report(report)
{
    if (!report)
        return;
    for (int p = 0; p < report->PageCount(); ++p) {
        FrPageLink *page = report->Page(p);
        if (!page)
            continue;
        m_pages.add(page->GetPropertyValue(QStringLiteral("Name")).toString());
        for (int i = 0; i < page->ObjectCount(); ++i)
            if (TfrView *view = page->Object(i))
                m_objects.add(view->Name);
    }
}

void FrLoadNames::NameSet::add(const QString &name)
{
    if (!name.isEmpty())
        used.insert(frUpperCase(name));
}

int FrLoadNames::NameSet::freeNumber(const QString &base, const Taken &alsoTaken)
{
    const QString key = frUpperCase(base);
    int &first = firstUnknown[key];
    first = qMax(first, 1);
    // Names are only added while a template loads, so a number once taken
    // stays taken and the scan never goes back.
    while (first <= kFrNameNumberLimit && used.contains(key + QString::number(first)))
        ++first;
    for (int n = first; n <= kFrNameNumberLimit; ++n) {
        if (used.contains(key + QString::number(n)))
            continue;
        if (alsoTaken && alsoTaken(base + QString::number(n)))
            continue;
        return n;
    }
    return 0;
}

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

void FrObjectGlobals::ProcessMessages()
{
    if (messagePump)
        messagePump();
    else
        platform::ProcessMessages();
    // The next yield of the build is due a full interval later.
    fr().pace.yielded();
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
    frShownBands = 0;
    frScriptObjectHeld = 0;
    ++frScriptTextsBuild;
    frScriptElementTexts = {};
    frMemoObservers.clear();
    frBracketCuts.clear();
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

FrObjectGlobals &frMakeObjects()
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

QWidget *FrObjectGlobals::frDialogForm()
{
    if (!m_dialogForm) {
        m_dialogForm = std::make_unique<QWidget>();
        m_dialogForm->setObjectName(QStringLiteral("DialogForm"));
        m_dialogForm->setGeometry(-100, -100, 10, 10);
    }
    return m_dialogForm.get();
}

} // namespace report
