#pragma once
// Globals of the report object layer, kept in the library context (fr()) and
// reached through frObjects(). fr().resetForTests() frees them.
#include "report/core/frlibrary.h"
#include "report/core/frvariant.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frseams.h"

#include "platform/canvas/canvas.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace report
{

class TfrView;
class TfrBand;
class FrPageLink;
class FrReportLink;
class FrPrinterInfo;
class FrPrintDialogSeam;
class TfrFunctionLibrary;
class TfrInstalledFunctions;
class TfrObject;

// An element of an object's list property that a script set (Texte.Memo[2]):
// the object, the property in upper case and the index as the script gave it.
struct FrScriptElementKey {
    const TfrObject *object = nullptr;
    QString property;
    QString index;
    bool operator==(const FrScriptElementKey &) const = default;
};
inline size_t qHash(const FrScriptElementKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.object, key.property, key.index);
}

// One registered add-in object class.
struct TfrAddInObjectInfo {
    QString ClassName;
    std::function<std::unique_ptr<TfrView>()> Create; // the virtual constructor
    QImage ButtonBmp;
    QString ButtonHint;
    quint8 Flag = 0; // 1: dialog control (button shown on dialog pages only)
};

// One registered designer tool (a button of the "Outils" tool bar and an
// item of its menu).
struct TfrToolsInfo {
    QString Caption; // a text, or a string id written as a whole number
    QImage ButtonBmp;
    std::function<void()> OnClick;
};

// A canvas that draws nothing: measuring, and counting the lines that fit.
class FrNullCanvas : public platform::Canvas
{
public:
    explicit FrNullCanvas(const platform::TextMeasurer *measurer) : Canvas(measurer) {}
    void useMeasurer(const platform::TextMeasurer *measurer) { setMeasurer(measurer); }

protected:
    void paintFill(const QRect &, const platform::FrBrush &) override {}
    void paintRectangle(const QRect &, const platform::FrPen &, const platform::FrBrush &,
                        std::optional<platform::TColor>) override
    {
    }
    void paintPolyline(const QList<QPoint> &, const platform::FrPen &,
                       std::optional<platform::TColor>) override
    {
    }
    void paintText(const platform::TextDraw &) override {}
    void paintImage(const QRect &, const QImage &) override {}
    void clipChanged() override {}
};

// Generated names ("Memo12", "Page3") take the first free number from 1 up
// to this one; past it an object stays without a name and a page is "Page".
constexpr int kFrNameNumberLimit = 10000;

// The names in use in a report while a template loads into it. Old templates
// store no names, so every object loaded gets a generated one; searching all
// the objects of the report for every candidate would make the load cubic in
// the object count. This keeps the names (in upper case, as names compare) and,
// per base name, the number below which every name is taken, so that each
// name is found in constant time and is the one the search would give.
class FrLoadNames
{
public:
    using Taken = std::function<bool(const QString &name)>;

    // Starts from the objects and pages the report already has.
    explicit FrLoadNames(FrReportLink *report);
    const FrReportLink *report() const { return m_report; }

    // A page or object with that name has been added to the report.
    void objectAdded(const QString &name) { m_objects.add(name); }
    void pageAdded(const QString &name) { m_pages.add(name); }
    // The first n in 1..kFrNameNumberLimit such that no object (or page) is
    // named base + n and alsoTaken, when set, does not refuse it; 0 if none.
    int freeObjectNumber(const QString &base, const Taken &alsoTaken = {})
    {
        return m_objects.freeNumber(base, alsoTaken);
    }
    int freePageNumber(const QString &base) { return m_pages.freeNumber(base, {}); }

private:
    struct NameSet {
        QSet<QString> used;
        QHash<QString, int> firstUnknown; // base -> every lower number is used
        void add(const QString &name);
        int freeNumber(const QString &base, const Taken &alsoTaken);
    };
    FrReportLink *m_report;
    NameSet m_objects;
    NameSet m_pages;
};

class FrObjectGlobals : public FrLibraryExtension
{
public:
    FrObjectGlobals();
    ~FrObjectGlobals() override;

    // The report being built or designed as the objects see it; set with
    // fr().frCurrentReport (frSetCurrentReport does both).
    FrReportLink *frCurrentReport = nullptr;
    // The report whose prepared pages receive the output.
    FrReportLink *frMasterReport = nullptr;
    FrPageLink *frCurrentPage = nullptr;
    TfrView *frCurrentView = nullptr;
    TfrBand *frCurrentBand = nullptr;
    int frDocMode = 0; // 0 designing, 1 printing
    bool frFirstPass = false;
    qint32 frNextObjectID = 0;
    std::vector<TfrAddInObjectInfo> frAddInList;
    bool frErrorOccurred = false;
    QString frErrorText;
    // The names of the report whose template is being loaded, for the time
    // of the load (the loader owns them).
    FrLoadNames *frLoadNames = nullptr;

    TfrReportDesigner *frCurrentDesigner = nullptr;
    TfrDesignerClass frDesignerClass;
    // What a host program forbids in the designer (bits 0-14, 0 = nothing);
    // the designer only reads it.
    quint16 frDesignerRestrictions = 0;
    // Tools a host program adds to the designer.
    std::vector<TfrToolsInfo> frToolsList;
    FrPropEditors frPropEditors;

    // --- function libraries (report/build/frfunclib.h): the registered
    // libraries in registration order and the descriptions they publish.
    std::vector<std::unique_ptr<TfrFunctionLibrary>> frFunctionLibraryList;
    std::unique_ptr<TfrInstalledFunctions> frInstalledFunctions;

    // Output lines and pixel height of the last memo formatting.
    QStringList frOutputLines;
    int frTextHeight = 0;
    // Designer option: band titles drawn in tabs outside the bands.
    bool frBandTitles = true;

    // Text measuring of layout and the measuring canvas (96 pixels per inch).
    const platform::TextMeasurer &measurer() const;
    // Replaces the measurer (tests: a fixed-advance one); nullptr restores Qt's.
    void setMeasurer(const platform::TextMeasurer *measurer);
    platform::Canvas &measuringCanvas() { return *m_canvas; }
    // The 8 x 8 checker of band backgrounds in the designer.
    const QImage &bandChecker() const { return m_checker; }

    // The library's printer; a virtual one until the printer layer installs its own.
    FrPrinterInfo &frGlobalPrinter();
    void setPrinter(std::unique_ptr<FrPrinterInfo> printer);

    // Slots filled by the report component and the export and format layers.
    // The text of a memo field: expression between the brackets -> value text
    // formatted for the view. Unset: the global parser's value as text.
    std::function<QString(const QString &expression, TfrView *view)> memoFieldValue;
    // Memo texts cut at their bracketed expressions: literal, expression,
    // literal, ..., literal. The same texts come back for every record, so
    // each is cut once; emptied after a build and when it grows past a few
    // thousand texts (a script may give a memo a new text for every record).
    QHash<QString, QStringList> frBracketCuts;
    // A view handed to the current export filter.
    std::function<void(TfrView *view, int x, int y)> exportObject;
    // One memo line handed to the export filter: drawing rectangle, x (or
    // position along the line for vertical text), view, frame edges, text, y.
    std::function<void(const QRect &rect, int x, TfrView *view, quint16 frameTyp,
                       const QString &text, int y)>
        exportText;
    // The display-format dialog on a format and its text; true on OK.
    std::function<bool(qint32 &format, QString &formatStr)> displayFormatDialog;

    // --- build state (one build at a time)
    // A build runs: a second one started from the message pump is refused.
    bool frBuilding = false;
    // The next formation continues the last prepared page; its footer is there.
    bool frAppendPage = false;
    bool frAppendFooterPrinted = false;
    // Where the last formation ended.
    int frPrevPageY = 0;
    int frPrevPageBottom = 0;
    // The registration pass of aggregates runs, for this data band.
    bool frAggregatePrepare = false;
    TfrBand *frAggregateBand = nullptr;
    bool frDialogCancelled = false;
    // Objects told after each memo is output (charts collect their values).
    std::vector<TfrView *> frMemoObservers;
    // Page count of a first pass; 0 otherwise.
    int frTotalPages = 0;
    // Date and time the preparation started.
    double frReportDateTime = 0;
    // The value of the object being formatted ("VALUE").
    FrVariant frCurrentValue;
    // The export filter in use.
    TfrExportFilter *frCurrentFilter = nullptr;
    // Export filters offered by the preview's save dialog, in registration order.
    std::vector<std::unique_ptr<TfrExportFilter>> frFilters;
    // The zoom the last preview ended with (mode: a TfrPreviewZoom), reused by the next.
    int frLastZoomMode = 0;
    double frLastZoomPer = 1.0;
    // The library's registry key under the current user; the designer appends
    // the application title.
    QString frRegistryKey = QStringLiteral("Software\\VornReport");
    // Where new reports' templates (".frt") are listed; empty: the program's
    // own folder.
    QString frTemplateDir;
    // The hidden window "DialogForm" (at -100, -100, 10 x 10): the parent of
    // dialog controls outside a dialog page's form, so that they can paint.
    // Created on first use.
    QWidget *frDialogForm();
    // The chart object's editor (the windows layer installs it), true on OK,
    // and its window, made on first use.
    std::function<bool(TfrView &view)> chartEditor;
    std::unique_ptr<QWidget> chartForm;
    // The floating toolbar windows alive.
    std::vector<QPointer<QWidget>> frFloatWindows;
    // Band draws the SHOWBAND function started in this build, and how many it
    // may start. A band whose script shows bands that show bands again
    // multiplies its draws at every level (two a level make 2^100 under the
    // nesting bound); a script shows a band once or a few times a record,
    // and a million draws are far beyond any real list. Tests lower it.
    static constexpr qint64 kFrMaxShownBands = 1000000;
    qint64 frShownBands = 0;
    qint64 frShownBandsLimit = kFrMaxShownBands;
    // The characters of the texts a build's scripts gave objects' properties,
    // counted with the scripts' variables. Each property keeps its own count
    // (TfrPropRec::ScriptText), valid for the build it names; elements of a
    // list property (Memo[2]) are kept here by object, property and index.
    qint64 frScriptObjectHeld = 0;
    quint64 frScriptTextsBuild = 1;
    QHash<FrScriptElementKey, qint64> frScriptElementTexts;
    // Puts the build state back to rest (after a build, also a failed one).
    void resetBuildState();

    // --- seams of the windows a build uses (none installed: done without)
    FrProgressWindow *frProgressWindow() const { return m_progress.get(); }
    void setProgressWindow(std::unique_ptr<FrProgressWindow> window)
    {
        m_progress = std::move(window);
    }
    FrPreviewSeam *frPreview() const { return m_preview.get(); }
    void setPreview(std::unique_ptr<FrPreviewSeam> preview) { m_preview = std::move(preview); }
    FrDialogFormClass frDialogFormClass;
    // The message pump a build yields to (pages, the PROGRESS line, long
    // scripts); unset: the platform's. Tests and fuzz targets count the
    // yields or cancel the build from it, as the progress window's cancel does.
    std::function<void()> messagePump;
    void ProcessMessages();
    // The print dialog the preview opens (report/print/frprint.h); none: no
    // print from the preview.
    FrPrintDialogSeam *frPrintDialog() const { return m_printDialog.get(); }
    void setPrintDialog(std::unique_ptr<FrPrintDialogSeam> dialog);

private:
    std::unique_ptr<platform::TextMeasurer> m_ownMeasurer;
    const platform::TextMeasurer *m_measurer = nullptr;
    std::unique_ptr<FrNullCanvas> m_canvas;
    QImage m_checker;
    std::unique_ptr<FrPrinterInfo> m_printer;
    std::unique_ptr<FrProgressWindow> m_progress;
    std::unique_ptr<FrPreviewSeam> m_preview;
    std::unique_ptr<FrPrintDialogSeam> m_printDialog;
    std::unique_ptr<QWidget> m_dialogForm;
};

// The object layer's globals, created on first use (frMakeObjects()).
FrObjectGlobals &frMakeObjects();
inline FrObjectGlobals &frObjects()
{
    FrLibraryExtension *layer = fr().objectLayer.get();
    return layer ? static_cast<FrObjectGlobals &>(*layer) : frMakeObjects();
}
// Sets the current report of the context and of the object layer together.
void frSetCurrentReport(TfrReport *report, FrReportLink *link, QObject *owner);

} // namespace report
