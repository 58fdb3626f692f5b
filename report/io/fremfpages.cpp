#include "report/io/fremfpages.h"

#include "platform/canvas/recordingcanvas.h"
#include "platform/format/format.h"
#include "platform/forms/application.h"
#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpagelimits.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QStringBuilder>
#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace report
{

namespace
{

// Fixed part of a page record: end offset, size, width, height, orientation,
// bound flag; bin and margins follow from version 24 on.
constexpr qint64 kPageRecordMin = 4 + 2 + 4 + 4 + 1 + 1;
constexpr qint64 kPageRecordMin24 = kPageRecordMin + 4 + 16;

qint32 checkedCount(FrStream &stream, qint64 minRecord)
{
    const qint32 count = frReadInteger(stream);
    if (count < 0 || count > stream.remaining() / minRecord)
        throw EFrStreamError(QStringLiteral("Nombre de pages incorrect"));
    return count;
}

qint32 checkedEnd(FrStream &stream)
{
    const qint32 end = frReadInteger(stream);
    if (end <= stream.position() || end > stream.size())
        throw EFrStreamError(QStringLiteral("Position de fin de page incorrecte"));
    return end;
}

// A page record holds a paper and margins the designer would accept for a
// page; anything else is a damaged file, refused before the printer or the
// drawing scale it (a page kilometres high, a margin that overflows).
void checkPageRecord(const TfrEMFPage &entry, int pageNo)
{
    struct Length {
        const char *what;
        qint32 value;
        bool paper; // tenths of a millimetre; else report pixels
    } lengths[] = {
        {"la largeur du papier", entry.Width, true},  {"la hauteur du papier", entry.Height, true},
        {"la marge gauche", entry.Margins[0], false}, {"la marge du haut", entry.Margins[1], false},
        {"la marge droite", entry.Margins[2], false}, {"la marge du bas", entry.Margins[3], false},
    };
    for (const Length &l : lengths) {
        if (frPageLengthWithin(l.paper, l.value))
            continue;
        const int low = l.paper ? kFrMinPaperTenths : 0;
        const int high = l.paper ? kFrMaxPaperTenths : kFrMaxPageLengthPixels;
        auto mm = [&l](double v) {
            return platform::FormatFloat(QStringLiteral("#,##0.#"),
                                         l.paper ? v / 10.0 : v * 5.0 / 18.0);
        };
        throw EFrStreamError(
            QStringLiteral(
                "Page %1 : '%2 mm' n'est pas une valeur correcte pour %3 : de %4 à %5 mm")
                .arg(QString::number(pageNo), platform::excerpt(mm(l.value)),
                     QString::fromUtf8(l.what), mm(low), mm(high)));
    }
}

QString currentPrinterName()
{
    const FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    const QStringList names = printer.Printers();
    const int index = printer.PrinterIndex();
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

TfrCompressor *compressor()
{
    return fr().frCompressor.get();
}

// The built-in compressor stores data as it is.
bool isBuiltIn(const TfrCompressor *c)
{
    return !c || typeid(*c) == typeid(TfrCompressor);
}

// A coordinate rounded and kept within what a canvas can take (positions
// and margins read from a file may be anything).
int rounded(double v)
{
    return int(std::clamp(std::nearbyint(v), -1e8, 1e8));
}

// The same, scaled and moved.
int scaled(double value, double scale, int offset)
{
    return rounded(std::nearbyint(value * scale) + offset);
}

// The next object record of a page's stream: its type code and, for an
// add-in, its class name make the object, which then reads its record.
std::unique_ptr<TfrView> nextObject(FrStream &stream)
{
    const quint8 typ = frReadByte(stream);
    const QString className = typ == otAddIn ? frReadTemplateString(stream) : QString();
    std::unique_ptr<TfrView> view = frCreateObject(typ, className);
    if (!view)
        throw EFrStreamError(QStringLiteral("Type d'objet inconnu ") + QString::number(typ));
    return view;
}

// The objects of a page, read from its stream; the page is the current one
// while its objects read themselves, and no longer once they have.
std::unique_ptr<TfrPage> readPageObjects(const TfrEMFPage &entry)
{
    auto page = std::make_unique<TfrPage>(entry.Size, entry.Width, entry.Height, entry.Bin,
                                          entry.Orientation);
    page->LeftMargin = entry.Margins[0];
    page->TopMargin = entry.Margins[1];
    page->RightMargin = entry.Margins[2];
    page->BottomMargin = entry.Margins[3];
    page->UseMargins = entry.BoundByMargins ? 0xFFFF : 0;
    FrObjectGlobals &g = frObjects();
    FrRestore<FrPageLink *> current(g.frCurrentPage, page.get());

    // Read through a stream of its own, so that a packed page stays packed.
    FrMemoryStream stream(entry.Stream->bytes());
    fr().frTemplateVersion = frReadByte(stream);
    while (stream.position() < stream.size()) {
        std::unique_ptr<TfrView> view = nextObject(stream);
        {
            FrRestore<bool> prepared(view->Prepared, true);
            view->LoadFromStream(stream);
        }
        if (auto *memo = dynamic_cast<TfrMemoView *>(view.get());
            memo && (memo->Flags & flAutoWidth))
            memo->Draw(g.measuringCanvas());
        page->Add(std::move(view));
    }
    return page;
}

// A page of a file being opened builds its objects once, and frees them,
// before the file replaces anything: a page that cannot be read refuses the
// whole file, saying which page and why, instead of failing at each paint.
void checkPageObjects(const TfrEMFPage &entry, int pageNo)
{
    FrObjectGlobals &g = frObjects();
    FrRestore<quint8> version(fr().frTemplateVersion);
    // An unknown class is named in the message, not left in the list that
    // opening a template reports.
    FrRestore<bool> missing(g.frErrorOccurred);
    FrRestore<QString> missingNames(g.frErrorText, QString());
    try {
        readPageObjects(entry);
    } catch (const EClassNotFound &) {
        throw EFrStreamError(QStringLiteral("Page %1 : Type d'objet inconnu %2")
                                 .arg(QString::number(pageNo), g.frErrorText.trimmed()));
    } catch (const platform::Exception &e) {
        throw EFrStreamError(
            QStringLiteral("Page %1 : %2").arg(QString::number(pageNo), e.Message()));
    }
}

// What opening a file changes of the printer before it is read whole: the
// report's printer and the current paper, put back when the file is refused.
class PrinterChoice
{
public:
    explicit PrinterChoice(TfrReport *report)
        : m_report(report), m_printer(frObjects().frGlobalPrinter()),
          m_index(m_printer.PrinterIndex()), m_size(m_printer.PaperSize()),
          m_width(m_printer.PaperWidth()), m_height(m_printer.PaperHeight()),
          m_bin(m_printer.Bin()), m_orientation(m_printer.Orientation()),
          m_name(report ? report->PrinterName : QString())
    {
    }
    void restore()
    {
        if (m_printer.PrinterIndex() != m_index)
            m_printer.SetPrinterIndex(m_index);
        m_printer.SetPrinterInfo(m_size, m_width, m_height, m_bin, m_orientation, false);
        if (m_report)
            m_report->PrinterName = m_name;
    }

private:
    TfrReport *m_report;
    FrPrinterInfo &m_printer;
    int m_index, m_size, m_width, m_height, m_bin, m_orientation;
    QString m_name;
};

QString dumpText(const QString &line)
{
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        if (c.unicode() < 32)
            out += QStringLiteral("\\") + QString::number(c.unicode());
        else
            out += c;
    }
    return out;
}

} // namespace

TfrEMFPage::TfrEMFPage() = default;
TfrEMFPage::~TfrEMFPage() = default;

TfrEMFPages::TfrEMFPages(TfrReport *report) : m_report(report) {}

TfrEMFPages::~TfrEMFPages() = default;

TfrEMFPage *TfrEMFPages::Entry(int index) const
{
    return index >= 0 && index < Count() ? m_pages[size_t(index)].get() : nullptr;
}

void TfrEMFPages::Clear()
{
    while (Count() > 0)
        DeletePage(0);
}

void TfrEMFPages::DeletePage(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_pages.erase(m_pages.begin() + index);
}

void TfrEMFPages::InsertPage(int index, const TfrPage &page)
{
    auto entry = std::make_unique<TfrEMFPage>();
    entry->Stream = std::make_unique<FrMemoryStream>();
    frWriteByte(*entry->Stream, 24);
    entry->Size = qint16(page.Size);
    entry->Width = page.PaperWidth;
    entry->Height = page.PaperHeight;
    entry->Orientation = page.Orientation;
    entry->Bin = page.Bin;
    entry->BoundByMargins = page.UseMargins != 0 ? 1 : 0;
    entry->Margins = {page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin};
    entry->PrinterGeometry = page.PrnInfo;
    if (index < 0)
        index = 0;
    if (index >= Count())
        m_pages.push_back(std::move(entry));
    else
        m_pages.insert(m_pages.begin() + index, std::move(entry));
}

void TfrEMFPages::AddPage(const TfrPage &page)
{
    // The page before is complete (its footer is drawn before a new page
    // begins): its stream gives back its spare room and is kept packed.
    if (!m_pages.empty() && m_pages.back()->Stream)
        m_pages.back()->Stream->pack();
    InsertPage(Count(), page);
    const int pageNo = fr().frPageNo;
    TfrReport *current = fr().frCurrentReport;
    if (current && current->OnBeginPage)
        current->OnBeginPage(pageNo);
    FrReportLink *link = frObjects().frMasterReport;
    TfrReport *master = link ? link->AsReport() : nullptr;
    if (master && master != current && master->OnBeginPage)
        master->OnBeginPage(pageNo);
}

void TfrEMFPages::BuildPageObjects(int index)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry)
        return;
    FrObjectGlobals &g = frObjects();
    if (entry->Page && g.frCurrentPage == entry->Page.get())
        g.frCurrentPage = nullptr;
    entry->Page.reset();
    entry->Page = readPageObjects(*entry);
    g.frCurrentPage = entry->Page.get();
}

void TfrEMFPages::ExportPage(int index)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry || !entry->Stream)
        return;
    FrMemoryStream stream(entry->Stream->bytes());
    FrRestore<quint8> version(fr().frTemplateVersion, frReadByte(stream));
    while (stream.position() < stream.size()) {
        std::unique_ptr<TfrView> view = nextObject(stream);
        view->Prepared = true;
        view->LoadFromStream(stream);
        view->PassToExportFilter();
    }
}

void TfrEMFPages::StorePageObjects(int index)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry || !entry->Page)
        return;
    auto stream = std::make_unique<FrMemoryStream>();
    fr().frTemplateVersion = 24;
    frWriteByte(*stream, 24);
    for (const auto &view : entry->Page->Objects) {
        // Built objects are plain ones again; they are prepared only while written.
        FrRestore<bool> prepared(view->Prepared, true);
        view->WriteTypeCode(*stream);
        // What was edited is the template text; the prepared record holds the working one.
        view->Memo1 = view->Memo;
        view->SaveToStream(*stream);
    }
    entry->Stream = std::move(stream);
    entry->Picture.reset();
    entry->Fault.clear();
}

void TfrEMFPages::DrawPage(int index, platform::Canvas &canvas, const QRect &drawRect)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry)
        return;
    if (!entry->Shown) {
        entry->Page.reset();
        return;
    }
    if (!entry->Page)
        BuildPageObjects(index);
    frObjects().frCurrentPage = entry->Page.get();
    const TfrPrnInfo &geometry = entry->PrinterGeometry;
    if (geometry.Pgw <= 0 || geometry.Pgh <= 0)
        return;
    const double kx = double(drawRect.width()) / geometry.Pgw;
    const double ky = double(drawRect.height()) / geometry.Pgh;
    const bool printing = false; // the printing layer draws through its own entry
    for (const auto &view : entry->Page->Objects) {
        if (!printing) {
            const int left = scaled(view->x, kx, drawRect.left() - 10);
            const int top = scaled(view->y, ky, drawRect.top() - 10);
            const int right = scaled(double(view->x) + view->dx, kx, drawRect.left() + 10);
            const int bottom = scaled(double(view->y) + view->dy, ky, drawRect.top() + 10);
            if (right <= left || bottom <= top ||
                !canvas.rectVisible(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))))
                continue;
        }
        view->ScaleX = kx;
        view->ScaleY = ky;
        view->OffsX = drawRect.left();
        view->OffsY = drawRect.top();
        view->IsPrinting = printing;
        view->Draw(canvas);
    }
}

void TfrEMFPages::Draw(int index, platform::Canvas &canvas, const QRect &rect)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry)
        return;
    if (rect.isEmpty()) {
        // A page no longer shown (or just printed) keeps only its stream.
        entry->Picture.reset();
        if (!entry->Shown)
            entry->Page.reset();
        return;
    }
    const TfrPrnInfo &geometry = entry->PrinterGeometry;
    if (geometry.Pgw <= 0 || geometry.Pgh <= 0 || !entry->Fault.isEmpty())
        return;
    if (!entry->Picture) {
        const QRect page(0, 0, geometry.Pgw, geometry.Pgh);
        platform::RecordingCanvas recorder(frObjects().measurer(), page);
        const bool hadObjects = entry->Page != nullptr;
        try {
            // A prepared page draws as printed: no design marks, no fill
            // where the objects have none.
            FrRestore<quint8> shown(entry->Shown, 1);
            FrRestore<int> mode(frObjects().frDocMode, 1);
            DrawPage(index, recorder, page);
        } catch (...) {
            // Drawing it again would fail again: its caller says it once.
            entry->Fault = platform::ExceptionText(std::current_exception());
            if (frObjects().frCurrentPage == entry->Page.get())
                frObjects().frCurrentPage = nullptr;
            entry->Page.reset();
            throw;
        }
        if (!hadObjects && !entry->Shown)
            entry->Page.reset(); // the picture is the page's lasting form now
        entry->Picture = std::make_unique<platform::DisplayList>(recorder.takeDisplayList());
    }
    entry->Picture->replay(canvas, double(rect.width()) / geometry.Pgw,
                           double(rect.height()) / geometry.Pgh, rect.topLeft());
}

bool TfrEMFPages::HitTest(int index, const QPoint &point, bool click, Qt::CursorShape &cursor)
{
    TfrEMFPage *entry = Entry(index);
    if (!entry || !entry->Fault.isEmpty())
        return false;
    const TfrPrnInfo &g = entry->PrinterGeometry;
    double kx = 1, ky = 1;
    double offX = 0, offY = 0;
    if (!entry->BoundByMargins) {
        // The picture is drawn into the printable area less the margins
        // (whatever margins the page holds: no sum may overflow).
        const double w = double(g.Pw) - (double(entry->Margins[0]) + entry->Margins[2]);
        const double h = double(g.Ph) - (double(entry->Margins[1]) + entry->Margins[3]);
        if (w <= 0 || h <= 0 || g.Pgw <= 0 || g.Pgh <= 0)
            return false;
        kx = g.Pgw / w;
        ky = g.Pgh / h;
        offX = double(g.Ofx) + entry->Margins[0];
        offY = double(g.Ofy) + entry->Margins[1];
    }
    if (!entry->Page)
        BuildPageObjects(index);
    if (!entry->Page)
        return false;
    const auto &objects = entry->Page->Objects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        TfrView *view = it->get();
        const int left = rounded(view->x / kx + offX);
        const int top = rounded(view->y / ky + offY);
        const int right = rounded((double(view->x) + view->dx) / kx + offX);
        const int bottom = rounded((double(view->y) + view->dy) / ky + offY);
        if (point.x() < left || point.x() >= right || point.y() < top || point.y() >= bottom)
            continue;
        if (!m_report)
            return false;
        if (click) {
            if (!m_report->OnObjectClick)
                return false;
            m_report->OnObjectClick(view);
            return true;
        }
        if (!m_report->OnMouseOverObject)
            return false;
        m_report->OnMouseOverObject(view, cursor);
        return true;
    }
    return false;
}

void TfrEMFPages::applyPrinter(TfrEMFPage &entry)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    const int bin = entry.Bin == -1 ? kFrDefaultBin : entry.Bin;
    if (!printer.SetPrinterInfo(entry.Size, entry.Width, entry.Height, bin, entry.Orientation,
                                false))
        printer.SetPrinterInfo(kFrCustomPaper, entry.Width, entry.Height, bin, entry.Orientation,
                               false);
    printer.FillPrnInfo(entry.PrinterGeometry);
}

void TfrEMFPages::SaveToStream(FrStream &stream)
{
    TfrCompressor *packer = compressor();
    const bool compressed = packer && packer->Enabled;
    frWriteByte(stream, 24);
    frWriteByte(stream, compressed ? 1 : 0);
    frWriteString(stream, currentPrinterName());
    frWriteInteger(stream, Count());
    for (const auto &entry : m_pages) {
        const qint64 start = stream.position();
        frWriteInteger(stream, 0);
        frWriteWord(stream, quint16(entry->Size));
        frWriteInteger(stream, entry->Width);
        frWriteInteger(stream, entry->Height);
        frWriteByte(stream, entry->Orientation);
        frWriteInteger(stream, entry->Bin);
        frWriteByte(stream, entry->BoundByMargins);
        for (qint32 margin : entry->Margins)
            frWriteInteger(stream, margin);
        if (compressed && !isBuiltIn(packer)) {
            FrMemoryStream data(entry->Stream->bytes());
            packer->Compress(data, stream);
        } else {
            stream.write(entry->Stream->bytes());
        }
        const qint64 end = stream.position();
        stream.seek(start);
        frWriteInteger(stream, qint32(end));
        stream.seek(end);
    }
}

void TfrEMFPages::LoadFromStream(FrStream &stream, bool needPages)
{
    // A file of zeros, say, reads as no page at all; an empty one has none.
    const auto noPage = [] {
        return EFrStreamError(QStringLiteral("Ce fichier ne contient aucune page d'état préparé."));
    };
    if (stream.size() == 0) {
        if (needPages)
            throw noPage();
        Clear();
        return;
    }
    std::vector<std::unique_ptr<TfrEMFPage>> pages;
    PrinterChoice printer(m_report);
    try {
        const qint64 start = stream.position();
        quint8 version = frReadByte(stream);
        if (version < 24 || version > 31) {
            version = 0;
            stream.seek(start);
        }
        const quint8 compressed = frReadByte(stream);
        if (compressed != 0 && compressed != 1 && compressed != 255) {
            stream.seek(start);
            loadOlder(stream, pages);
        } else {
            loadCurrent(stream, version, compressed, pages);
        }
        if (pages.empty() && needPages)
            throw noPage();
        for (size_t i = 0; i < pages.size(); ++i)
            checkPageObjects(*pages[i], int(i) + 1);
    } catch (...) {
        printer.restore();
        throw;
    }
    m_pages.swap(pages);
}

void TfrEMFPages::loadCurrent(FrStream &stream, quint8 version, quint8 compressed,
                              std::vector<std::unique_ptr<TfrEMFPage>> &pages)
{
    const QString printerName = frReadString(stream);
    if (m_report)
        m_report->SelectReportPrinter(printerName);
    const bool v24 = version > 23;
    const qint32 count = checkedCount(stream, v24 ? kPageRecordMin24 : kPageRecordMin);
    TfrCompressor *packer = compressor();
    for (qint32 i = 0; i < count; ++i) {
        const qint32 end = checkedEnd(stream);
        auto entry = std::make_unique<TfrEMFPage>();
        entry->Size = qint16(frReadWord(stream));
        entry->Width = frReadInteger(stream);
        entry->Height = frReadInteger(stream);
        entry->Orientation = frReadByte(stream);
        entry->Bin = v24 ? frReadInteger(stream) : -1;
        entry->BoundByMargins = frReadByte(stream);
        if (v24)
            for (qint32 &margin : entry->Margins)
                margin = frReadInteger(stream);
        if (stream.position() > end)
            throw EFrStreamError(QStringLiteral("Position de fin de page incorrecte"));
        checkPageRecord(*entry, i + 1);
        FrMemoryStream data(stream.readBytes(end - stream.position()));
        entry->Stream = std::make_unique<FrMemoryStream>();
        if (compressed != 0 && !isBuiltIn(packer)) {
            packer->DeCompress(data, *entry->Stream);
        } else {
            entry->Stream->write(data.data());
        }
        entry->Stream->seek(0);
        applyPrinter(*entry);
        stream.seek(end);
        pages.push_back(std::move(entry));
    }
}

void TfrEMFPages::loadOlder(FrStream &stream, std::vector<std::unique_ptr<TfrEMFPage>> &pages)
{
    QStringList header;
    frReadMemoZ(stream, header);
    if (!header.isEmpty() && m_report)
        m_report->SelectReportPrinter(header.first());
    const qint32 count = checkedCount(stream, kPageRecordMin);
    for (qint32 i = 0; i < count; ++i) {
        const qint32 end = checkedEnd(stream);
        auto entry = std::make_unique<TfrEMFPage>();
        entry->Size = qint16(frReadWord(stream));
        entry->Width = frReadInteger(stream);
        entry->Height = frReadInteger(stream);
        entry->Orientation = frReadByte(stream);
        entry->BoundByMargins = frReadByte(stream);
        entry->Bin = -1;
        if (stream.position() > end)
            throw EFrStreamError(QStringLiteral("Position de fin de page incorrecte"));
        checkPageRecord(*entry, i + 1);
        const QByteArray metafile = stream.readBytes(end - stream.position());
        applyPrinter(*entry);

        // The page becomes one picture holding the metafile, as large as the page.
        std::unique_ptr<TfrView> view = frCreateObject(otPicture, QString());
        auto *picture = static_cast<TfrPictureView *>(view.get());
        picture->SetBounds(0, 0, entry->PrinterGeometry.Pgw, entry->PrinterGeometry.Pgh);
        picture->Picture.setStored(FrPicture::Metafile, metafile);
        picture->Prepared = true;
        entry->Stream = std::make_unique<FrMemoryStream>();
        FrRestore<quint8> version(fr().frTemplateVersion, quint8(24));
        frWriteByte(*entry->Stream, 24);
        picture->WriteTypeCode(*entry->Stream);
        picture->SaveToStream(*entry->Stream);
        stream.seek(end);
        pages.push_back(std::move(entry));
    }
}

QString TfrEMFPages::Dump()
{
    QString out;
    for (int i = 0; i < Count(); ++i) {
        TfrEMFPage &entry = *m_pages[size_t(i)];
        out +=
            QStringLiteral("page %1: size %2, %3 x %4, %5, bin %6, margins %7 %8 %9 %10%11, "
                           "%12 x %13 px\n")
                .arg(i + 1)
                .arg(entry.Size)
                .arg(entry.Width)
                .arg(entry.Height)
                .arg(entry.Orientation ? QStringLiteral("landscape") : QStringLiteral("portrait"))
                .arg(entry.Bin)
                .arg(entry.Margins[0])
                .arg(entry.Margins[1])
                .arg(entry.Margins[2])
                .arg(entry.Margins[3])
                .arg(entry.BoundByMargins ? QString() : QStringLiteral(" (whole paper)"))
                .arg(entry.PrinterGeometry.Pgw)
                .arg(entry.PrinterGeometry.Pgh);
        const bool built = entry.Page != nullptr;
        if (!built)
            BuildPageObjects(i);
        for (const auto &view : entry.Page->Objects) {
            out += QStringLiteral("  %1 \"%2\" at %3,%4 size %5x%6 flags %7\n")
                       .arg(view->ClassName(), dumpText(view->Name))
                       .arg(view->x)
                       .arg(view->y)
                       .arg(view->dx)
                       .arg(view->dy)
                       .arg(QStringLiteral("0x%1").arg(view->Flags, 4, 16, QLatin1Char('0')));
            for (const QString &line : std::as_const(view->Memo))
                out += QStringLiteral("    | ") + dumpText(line) + QLatin1Char('\n');
        }
        if (!built)
            entry.Page.reset();
    }
    return out;
}

} // namespace report
