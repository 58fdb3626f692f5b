#pragma once
// Prepared pages: each page is a compact stream of prepared object records
// with the paper it was laid out for; its objects exist only while the page
// is drawn or edited. The list reads and writes prepared-report files (".frp").
#include "report/objects/frprinterinfo.h"

#include "platform/canvas/displaylist.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace platform
{
class Canvas;
}

namespace report
{

class FrMemoryStream;
class FrStream;
class TfrPage;
class TfrReport;

struct TfrEMFPage {
    TfrEMFPage();
    ~TfrEMFPage();
    TfrEMFPage(const TfrEMFPage &) = delete;
    TfrEMFPage &operator=(const TfrEMFPage &) = delete;

    QRect ScreenRect;
    qint16 Size = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    quint8 Orientation = 0;
    qint32 Bin = 0;
    quint8 BoundByMargins = 0;
    std::array<qint32, 4> Margins{}; // left, top, right, bottom
    TfrPrnInfo PrinterGeometry;
    quint8 Shown = 0;
    std::unique_ptr<FrMemoryStream> Stream;
    std::unique_ptr<TfrPage> Page;

    // The page's picture at 1:1 (the page size of PrinterGeometry), recorded
    // on first Draw and replayed at any scale.
    std::unique_ptr<platform::DisplayList> Picture;
    // Why the page could not be drawn; such a page draws nothing more.
    QString Fault;
};

class TfrEMFPages
{
public:
    explicit TfrEMFPages(TfrReport *report);
    ~TfrEMFPages();
    TfrEMFPages(const TfrEMFPages &) = delete;
    TfrEMFPages &operator=(const TfrEMFPages &) = delete;

    int Count() const { return int(m_pages.size()); }
    // nullptr outside 0..Count-1.
    TfrEMFPage *Entry(int index) const;
    TfrEMFPage *operator[](int index) const { return Entry(index); }

    void Clear();
    void DeletePage(int index);
    // A new entry at index (appended when index >= Count) with the paper of page.
    void InsertPage(int index, const TfrPage &page);
    // Appends, then tells the current (and the master) report the page number.
    void AddPage(const TfrPage &page);
    // Builds the entry's page objects from its stream.
    void BuildPageObjects(int index);
    // Hands each object of the page to its export operation, one at a time.
    void ExportPage(int index);
    // Writes the entry's page objects back into its stream.
    void StorePageObjects(int index);
    // Draws the page scaled into drawRect.
    void DrawPage(int index, platform::Canvas &canvas, const QRect &drawRect);
    // Draws the page's picture into rect, recording it once; an empty rect
    // releases the picture. A page that fails to draw raises once, keeps
    // the reason in its Fault and draws nothing from then on.
    void Draw(int index, platform::Canvas &canvas, const QRect &rect);
    // The object under point (page coordinates of the preview, in report
    // pixels) tells the report: its OnObjectClick when click, else its
    // OnMouseOverObject, which may set cursor. True only when that event was
    // called; the topmost object decides either way.
    bool HitTest(int index, const QPoint &point, bool click, Qt::CursorShape &cursor);

    // The ".frp" file. Reading fills a new list that replaces this one only
    // when the whole file was read, every page's objects included; errors
    // raise EFrStreamError and leave the printer as it was. With needPages,
    // a file that holds no page is refused likewise.
    void LoadFromStream(FrStream &stream, bool needPages = false);
    void SaveToStream(FrStream &stream);

    // Text dump of the prepared pages (page size, then each object's class,
    // name, position, size, flags and text), for golden comparisons.
    QString Dump();

private:
    void loadCurrent(FrStream &stream, quint8 version, quint8 compressed,
                     std::vector<std::unique_ptr<TfrEMFPage>> &pages);
    void loadOlder(FrStream &stream, std::vector<std::unique_ptr<TfrEMFPage>> &pages);
    void applyPrinter(TfrEMFPage &entry);

    TfrReport *m_report;
    std::vector<std::unique_ptr<TfrEMFPage>> m_pages;
};

} // namespace report
