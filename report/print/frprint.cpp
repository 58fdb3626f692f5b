// Printing a report's prepared pages on the library printer: the page
// selection, copies and collation, odd or even pages, a job per run of pages
// with one paper on printers that cannot change paper within a job.
#include "report/print/frprint.h"

#include "platform/canvas/canvas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "report/core/frlocale.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frprinterinfo.h"
#include "report/objects/frreport.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace report
{

std::vector<int> frParsePageNumbers(const QString &text, int pageCount)
{
    pageCount = std::max(pageCount, 0);
    QString s;
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            s += c;
    std::vector<char> marked(size_t(pageCount) + 1, 0);
    auto addRange = [&](qint64 from, qint64 to) {
        from = std::max<qint64>(from, 1);
        to = std::min<qint64>(to, pageCount);
        for (qint64 n = from; n <= to; ++n)
            marked[size_t(n)] = 1;
    };
    if (s.isEmpty()) {
        addRange(1, pageCount);
    } else {
        if (s.endsWith(QLatin1Char('-')))
            s += QString::number(pageCount);
        s += QLatin1Char(',');
        int partStart = 0;
        std::optional<qint64> rangeStart;
        for (int i = 0; i < s.size(); ++i) {
            const QChar c = s.at(i);
            if (c != QLatin1Char('-') && c != QLatin1Char(','))
                continue;
            // Raises the platform's conversion error for anything but a 32-bit number.
            const qint64 number = platform::StrToInt(s.mid(partStart, i - partStart));
            partStart = i + 1;
            if (c == QLatin1Char('-')) {
                rangeStart = number;
            } else if (rangeStart) {
                addRange(*rangeStart, number);
                rangeStart.reset();
            } else {
                addRange(number, number);
            }
        }
    }
    std::vector<int> pages;
    for (int n = 1; n <= pageCount; ++n)
        if (marked[size_t(n)])
            pages.push_back(n);
    return pages;
}

int frMarginToHundredths(int pixels)
{
    return static_cast<int>(std::nearbyint(pixels * 500.0 / 18.0));
}

int frHundredthsToMargin(int hundredths)
{
    return static_cast<int>(std::nearbyint(hundredths * 18.0 / 500.0));
}

QString FrPrintChoice::pageList(int currentPage) const
{
    switch (range) {
    case 0:
        return QString();
    case 1:
        return QString::number(currentPage);
    default:
        return pages;
    }
}

bool FrScriptedPrintDialog::Execute(FrPrintChoice &choice, QWidget *)
{
    ++shows;
    received = choice;
    FrPrinterInfo &library = frObjects().frGlobalPrinter();
    const int kept = library.PrinterIndex();
    if (printer >= 0)
        library.SetPrinterIndex(printer);
    if (!ok) {
        if (library.PrinterIndex() != kept)
            library.SetPrinterIndex(kept);
        return false;
    }
    choice.copies = copies;
    choice.collate = collate;
    choice.range = range;
    choice.pages = pages;
    choice.kind = kind;
    return true;
}

FrDisconnectScope::FrDisconnectScope(FrPagesHolder *holder, TfrReport &report) : m_report(report)
{
    if (holder && holder->Connected()) {
        holder->Disconnect();
        m_holder = holder;
    }
}

FrDisconnectScope::~FrDisconnectScope()
{
    if (m_holder)
        m_holder->Connect(m_report);
}

bool frPrintFromPreview(TfrReport &report, FrPagesHolder *holder, int currentPage)
{
    FrObjectGlobals &g = frObjects();
    FrPrintDialogSeam *dialog = g.frPrintDialog();
    if (!dialog)
        return false;
    FrPrinterInfo &printer = g.frGlobalPrinter();
    const int kept = printer.PrinterIndex();
    FrPrintChoice choice;
    choice.copies = report.DefaultCopies;
    choice.collate = report.DefaultCollate;
    if (!dialog->Execute(choice, nullptr))
        return false;
    FrDisconnectScope disconnected(holder, report);
    const int chosen = printer.PrinterIndex();
    if (chosen != kept && report.CanRebuild) {
        if (!report.ChangePrinter(kept, chosen))
            return false;
        report.PrepareReport();
        // Pages laid out for the other printer, or none at all: no print.
        if (report.EMFPages().Count() == 0)
            return false;
    }
    report.PrintWithProgress(choice.pageList(currentPage), choice.copies, choice.collate,
                             choice.kind);
    return report.LastPrintDone();
}

namespace
{

// Makes the page's paper the printer's; a size the printer refuses is asked
// as a custom size.
void usePaperOf(FrPrinterInfo &printer, const TfrEMFPage &entry)
{
    const int bin = entry.Bin == -1 ? kFrDefaultBin : entry.Bin;
    if (!printer.SetPrinterInfo(entry.Size, entry.Width, entry.Height, bin, entry.Orientation,
                                false))
        printer.SetPrinterInfo(kFrCustomPaper, entry.Width, entry.Height, bin, entry.Orientation,
                               false);
}

bool samePaper(const FrPrinterInfo &printer, const TfrEMFPage &entry)
{
    const int bin = entry.Bin == -1 ? kFrDefaultBin : entry.Bin;
    return printer.IsEqual(entry.Size, entry.Width, entry.Height, bin, entry.Orientation);
}

// A margin in device pixels, kept within what a sheet's rectangle can take
// whatever margin the page holds.
int scaledMargin(int margin, int devicePixels, int reportPixels)
{
    const double v = std::nearbyint(double(margin) * devicePixels / reportPixels);
    return int(std::clamp(v, -1e8, 1e8));
}

// Where a page goes on the sheet, in device pixels from the printable corner.
QRect targetRect(const TfrEMFPage &entry, const TfrPrnInfo &prn)
{
    if (entry.BoundByMargins)
        return QRect(-prn.POfx, -prn.POfy, prn.PPgw, prn.PPgh);
    if (prn.Pw <= 0 || prn.Ph <= 0)
        return QRect();
    const int left = scaledMargin(entry.Margins[0], prn.PPw, prn.Pw);
    const int top = scaledMargin(entry.Margins[1], prn.PPh, prn.Ph);
    const int right = prn.PPw - scaledMargin(entry.Margins[2], prn.PPw, prn.Pw);
    const int bottom = prn.PPh - scaledMargin(entry.Margins[3], prn.PPh, prn.Ph);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

void TfrReport::PrintWithProgress(const QString &pageNumbers, int copies, bool collate,
                                  int printPages)
{
    FrObjectGlobals &g = frObjects();
    makeCurrent();
    g.frMasterReport = this;
    Cancelled = false;
    m_printDone = false;
    FrDisconnectScope disconnected(dynamic_cast<FrPagesHolder *>(Preview()), *this);
    auto step = [this, pageNumbers, copies, collate, printPages] {
        m_printDone = PrintPreparedPages(pageNumbers, copies, collate, printPages);
    };
    m_progressLine = frLoadString(55208);
    FrProgressWindow *progress = g.frProgressWindow();
    if (!OnProgress && ShowProgress && progress) {
        QString caption = frLoadString(55203);
        if (!Title.isEmpty())
            caption += QStringLiteral(" - ") + Title;
        progress->SetCaption(caption);
        progress->SetLine(m_progressLine);
        progress->ShowModal(*this, [&] {
            step();
            progress->SetModalResult(platform::mrOk);
        });
        return;
    }
    // Without the window no mouse-over handler may run between the pages.
    struct KeepMouseOver {
        TfrReport &r;
        std::function<void(TfrView *, Qt::CursorShape &)> kept;
        ~KeepMouseOver() { r.OnMouseOverObject = std::move(kept); }
    } keep{*this, std::move(OnMouseOverObject)};
    OnMouseOverObject = nullptr;
    step();
}

bool TfrReport::PrintPreparedPages(const QString &pageNumbers, int copies, bool collate,
                                   int printPages)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    printer.RefreshPrinters();
    const int count = m_emfPages->Count();
    const std::vector<int> selection = frParsePageNumbers(pageNumbers, count);
    std::vector<bool> selected(size_t(count), false);
    bool any = false;
    for (int n : selection) {
        selected[size_t(n - 1)] = true;
        if (printPages == 0 || (printPages == 1 && n % 2 == 1) || (printPages == 2 && n % 2 == 0))
            any = true;
    }
    if (!any) {
        platform::MessageDlg(frLoadString(55460), platform::mtInformation, platform::mbOK);
        return false;
    }
    copies = std::max(copies, 1);

    usePaperOf(printer, *m_emfPages->Entry(0));
    const QString title = Title.isEmpty() ? frLoadString(55209) : Title;
    if (OnPrintReport)
        OnPrintReport();
    const int jobCopies = collate ? 1 : copies;
    bool cancelled = false;
    if (!printer.BeginDoc(title, jobCopies, cancelled, Preview()))
        return false;
    // Whatever stops the print leaves no job behind.
    struct AbortOnExit {
        FrPrinterInfo &p;
        ~AbortOnExit() { p.Abort(); }
    } abortOnExit{printer};

    bool first = true;
    auto printPage = [&](int index) {
        const int number = index + 1;
        if ((printPages == 1 && number % 2 == 0) || (printPages == 2 && number % 2 == 1))
            return true;
        TfrEMFPage &entry = *m_emfPages->Entry(index);
        if (!samePaper(printer, entry)) {
            const int bin = entry.Bin == -1 ? kFrDefaultBin : entry.Bin;
            if (printer.ChangeJobPaper(entry.Size, entry.Width, entry.Height, bin,
                                       entry.Orientation)) {
                if (!first && !printer.NewPage())
                    return false;
            } else {
                // A printer's job keeps its paper: one job per paper.
                if (!printer.EndDoc())
                    return false;
                usePaperOf(printer, entry);
                if (!printer.BeginDoc(title, jobCopies, cancelled, Preview()))
                    return false;
            }
        } else if (!first && !printer.NewPage()) {
            return false;
        }
        first = false;
        const TfrPrnInfo kept = entry.PrinterGeometry;
        printer.FillPrnInfo(entry.PrinterGeometry);
        if (!(entry.PrinterGeometry == kept))
            m_emfPages->Draw(index, *printer.Canvas(), QRect()); // recorded for another sheet
        entry.Shown = 1;
        const QRect target = targetRect(entry, entry.PrinterGeometry);
        if (!target.isEmpty())
            m_emfPages->Draw(index, *printer.Canvas(), target);
        entry.Shown = 0;
        m_emfPages->Draw(index, *printer.Canvas(), QRect());
        Progress(number);
        return true;
    };

    const int rounds = collate ? copies : 1;
    for (int round = 0; round < rounds; ++round)
        for (int index = 0; index < count; ++index) {
            if (!selected[size_t(index)])
                continue;
            if (!printPage(index))
                return false;
            if (Cancelled)
                return false;
        }
    return printer.EndDoc();
}

} // namespace report
