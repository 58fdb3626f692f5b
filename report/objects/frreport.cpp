#include "report/objects/frreport.h"

#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/data/frdataset.h"
#include "report/data/frdictionary.h"
#include "report/expr/frparser.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"

namespace report
{

// --- template pages

TfrPages::TfrPages(TfrReport *report) : m_report(report) {}

TfrPages::~TfrPages() = default;

TfrPage *TfrPages::GetPage(int index) const
{
    return index >= 0 && index < Count() ? m_pages[size_t(index)].get() : nullptr;
}

TfrPage *TfrPages::Add()
{
    const int size = frObjects().frGlobalPrinter().DefaultPaperSize();
    m_pages.push_back(std::make_unique<TfrPage>(size, 0, 0, kFrDefaultBin, 0));
    return m_pages.back().get();
}

void TfrPages::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_pages.erase(m_pages.begin() + index);
}

void TfrPages::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    std::unique_ptr<TfrPage> page = std::move(m_pages[size_t(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(page));
}

void TfrPages::Clear()
{
    m_pages.clear();
}

TfrPage *TfrPages::Append(std::unique_ptr<TfrPage> page)
{
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

std::unique_ptr<TfrPage> TfrPages::Take(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    std::unique_ptr<TfrPage> page = std::move(m_pages[size_t(index)]);
    m_pages.erase(m_pages.begin() + index);
    return page;
}

// --- report component

TfrReport::TfrReport(QObject *owner) : QObject(owner)
{
    m_pages = std::make_unique<TfrPages>(this);
    m_emfPages = std::make_unique<TfrEMFPages>(this);
    m_dictionary = std::make_unique<TfrDataDictionary>();
    FileName = frLoadString(55209);
}

std::unique_ptr<TfrEMFPages> TfrReport::TakeEMFPages()
{
    auto pages = std::make_unique<TfrEMFPages>(this);
    m_emfPages.swap(pages);
    return pages;
}

void TfrReport::SetEMFPages(std::unique_ptr<TfrEMFPages> pages)
{
    m_emfPages = pages ? std::move(pages) : std::make_unique<TfrEMFPages>(this);
}

TfrReport::~TfrReport()
{
    m_dictionary.reset();
    m_emfPages.reset();
    m_pages.reset();

    FrLibrary &lib = fr();
    if (lib.frCurrentReport == this)
        lib.setCurrentReport(nullptr, nullptr);
    if (lib.objectLayer) {
        FrObjectGlobals &g = frObjects();
        if (g.frCurrentReport == this)
            g.frCurrentReport = nullptr;
        if (g.frMasterReport == this)
            g.frMasterReport = nullptr;
    }
    if (lib.frGlobalParser) {
        TfrParser &parser = *lib.frGlobalParser;
        if (const auto *hook = parser.OnGetValue.target<FrReportValueHook>();
            hook && hook->report == this)
            parser.OnGetValue = nullptr;
        if (const auto *hook = parser.OnFunction.target<FrReportFunctionHook>();
            hook && hook->report == this)
            parser.OnFunction = nullptr;
    }
}

void TfrReport::installParserCallbacks(
    std::function<void(const QString &, FrVariant &)> value,
    std::function<void(const QString &, const FrVariant &, const FrVariant &, const FrVariant &,
                       FrVariant &)>
        function)
{
    if (!fr().frGlobalParser)
        return;
    fr().frGlobalParser->OnGetValue = FrReportValueHook{this, std::move(value)};
    fr().frGlobalParser->OnFunction = FrReportFunctionHook{this, std::move(function)};
}

TfrDataset *TfrReport::Dataset() const
{
    return qobject_cast<TfrDataset *>(m_dataset.data());
}

void TfrReport::setDataset(TfrDataset *dataset)
{
    m_dataset = dataset;
}

void TfrReport::makeCurrent()
{
    frSetCurrentReport(this, this, parent());
}

void TfrReport::Clear()
{
    m_pages->Clear();
    m_dictionary->Clear();
}

TfrView *TfrReport::FindObject(const QString &name) const
{
    return FrReportLink::FindObject(name);
}

int TfrReport::PageCount() const
{
    return m_pages ? m_pages->Count() : 0;
}

FrPageLink *TfrReport::Page(int index) const
{
    return m_pages ? m_pages->GetPage(index) : nullptr;
}

void TfrReport::BeforePrintObject(QStringList &memo, TfrView *view)
{
    FrReportLink::BeforePrintObject(memo, view);
    if (OnBeforePrint)
        OnBeforePrint(memo, view);
}

void TfrReport::SelectReportPrinter(const QString &printerName)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    if (KeepPrinter == 0) {
        const int index = int(printer.Printers().indexOf(printerName));
        if (index >= 0 && index != printer.PrinterIndex())
            printer.SetPrinterIndex(index);
    }
    PrinterName = printerName;
}

bool TfrReport::ChangePrinter(int oldIndex, int newIndex)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    try {
        const QStringList names = printer.Printers();
        if (newIndex < 0 || newIndex >= names.size())
            throw platform::Exception(frLoadString(55442));
        printer.SetPrinterIndex(newIndex);
        PrinterName = names.at(newIndex);
        for (int i = 0; i < m_pages->Count(); ++i) {
            TfrPage *page = m_pages->GetPage(i);
            page->ChangePaper(page->Size, page->PaperWidth, page->PaperHeight, page->Bin,
                              page->Orientation);
        }
    } catch (const std::exception &) {
        platform::MessageDlgWithCaption(frLoadString(55206), frLoadString(55442), platform::mtError,
                                        platform::mbOK);
        const QStringList names = printer.Printers();
        if (oldIndex >= 0 && oldIndex < names.size()) {
            printer.SetPrinterIndex(oldIndex);
            PrinterName = names.at(oldIndex);
        }
        return false;
    }
    return true;
}

} // namespace report
