#pragma once
// Printing prepared pages: the page selection typed by the user, the margin
// units of the page-setup dialog, the print dialog seam and what an embedded
// preview gives back while its report prints. TfrReport::PrintWithProgress
// and TfrReport::PrintPreparedPages (report/print/frprint.cpp) print.
#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace report
{

class TfrReport;

// The pages a selection text names, counted from 1, ascending without
// repeats: blanks are ignored; an empty text selects every page; numbers and
// ranges are separated by commas ("1,3,5-12"); "5-" runs to pageCount; a
// range is clamped to 1..pageCount and pages outside it are dropped. A part
// that is not a 32-bit number raises platform::EConvertError.
std::vector<int> frParsePageNumbers(const QString &text, int pageCount);

// Page-setup margins: report pixels <-> hundredths of a millimetre (18 px is
// 5 mm), rounded half to even both ways so that an unchanged dialog gives
// the same margins back.
int frMarginToHundredths(int pixels);
int frHundredthsToMargin(int hundredths);

// What the print dialog returns.
struct FrPrintChoice {
    int copies = 1;
    bool collate = true;
    int range = 0; // 0 all pages, 1 the current page, 2 the pages typed
    QString pages; // typed page list
    int kind = 0;  // 0 all, 1 odd, 2 even pages
    // The page list to print: '' for all, the current page as text, or the text typed.
    QString pageList(int currentPage) const;
};

// The print dialog. The dialog changes the library printer when the user
// picks another one and puts it back when it is cancelled.
class FrPrintDialogSeam
{
public:
    virtual ~FrPrintDialogSeam() = default;
    // choice holds the defaults (copies, collate) and receives the answer;
    // true on OK. The dialog belongs to owner (the preview that asks), so
    // that the window manager keeps it above that window; none: the active
    // window of the program.
    virtual bool Execute(FrPrintChoice &choice, QWidget *owner) = 0;
};

// A dialog that answers as told: it chooses printer (when >= 0) as the user
// would, fills the choice and answers OK or Cancel.
class FrScriptedPrintDialog : public FrPrintDialogSeam
{
public:
    bool Execute(FrPrintChoice &choice, QWidget *owner) override;

    int printer = -1;
    int copies = 1;
    bool collate = true;
    int range = 0;
    QString pages;
    int kind = 0;
    bool ok = true;
    int shows = 0;
    // The defaults it was opened with.
    FrPrintChoice received;
};

// A preview that holds a report's prepared pages gives them back for the
// time of a print, an export or a page edit.
class FrPagesHolder
{
public:
    virtual ~FrPagesHolder() = default;
    // Takes the report's prepared pages; nothing when already connected.
    virtual void Connect(TfrReport &report) = 0;
    // Gives the pages back to the report; nothing when not connected.
    virtual void Disconnect() = 0;
    virtual bool Connected() const = 0;
};

// Disconnects a connected holder for its lifetime and connects it again at
// its end, also when an exception leaves the scope.
class FrDisconnectScope
{
public:
    FrDisconnectScope(FrPagesHolder *holder, TfrReport &report);
    ~FrDisconnectScope();
    FrDisconnectScope(const FrDisconnectScope &) = delete;
    FrDisconnectScope &operator=(const FrDisconnectScope &) = delete;

private:
    FrPagesHolder *m_holder = nullptr;
    TfrReport &m_report;
};

// The print command of a preview holding the report's pages (holder may be
// null): the print dialog with the report's default copies and collation;
// a printer chosen there is applied to the template, and pages the report
// built are prepared again for it (loaded pages stay; a refused change or a
// preparation giving no page stops); then the pages print, the current page
// being currentPage. The holder gets the pages back whatever happens. False
// when nothing was printed.
bool frPrintFromPreview(TfrReport &report, FrPagesHolder *holder, int currentPage);

} // namespace report
