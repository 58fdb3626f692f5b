#pragma once
// The report component: template pages, prepared pages and data dictionary,
// options and events of its owner, template files (".frf", ".frt", the form
// property "ReportForm") and prepared-report files (".frp").
#include "report/core/frvariant.h"
#include "report/objects/frlinks.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QImage;

namespace report
{

class FrStream;
class TfrBand;
class TfrDataset;
class TfrDataDictionary;
class TfrEMFPages;
class TfrExportFilter;
class TfrPage;
class TfrReport;
class TfrView;

// The template pages of a report.
class TfrPages
{
public:
    explicit TfrPages(TfrReport *report);
    ~TfrPages();
    TfrPages(const TfrPages &) = delete;
    TfrPages &operator=(const TfrPages &) = delete;

    int Count() const { return int(m_pages.size()); }
    // nullptr outside 0..Count-1.
    TfrPage *GetPage(int index) const;
    TfrPage *operator[](int index) const { return GetPage(index); }
    // A report page with the library's default paper, default bin, portrait.
    TfrPage *Add();
    void Delete(int index);
    void Move(int from, int to);
    void Clear();
    // Appends a page the list then owns; takes one out without freeing it.
    TfrPage *Append(std::unique_ptr<TfrPage> page);
    std::unique_ptr<TfrPage> Take(int index);
    // Exchanges the pages of the two lists.
    void Swap(TfrPages &other) { m_pages.swap(other.m_pages); }
    TfrReport *Report() const { return m_report; }

    // The body of a template stream: option words, printer name, page and
    // object records, dictionary. Raises on any failure (see TfrReport).
    void LoadFromStream(FrStream &stream);
    void SaveToStream(FrStream &stream);

private:
    // One object record after its lead byte; an object whose record fails is dropped.
    void readObject(FrStream &stream, quint8 typ);

    TfrReport *m_report;
    std::vector<std::unique_ptr<TfrPage>> m_pages;
};

enum TfrReportType { rtSimple = 0, rtMultiple = 1 };
enum TfrPreviewZoom { pzDefault = 0, pzPageWidth, pzOnePage, pzTwoPages };
// Preview toolbar buttons (a set, as bits).
enum TfrPreviewButton : unsigned {
    pbZoom = 0x01,
    pbLoad = 0x02,
    pbSave = 0x04,
    pbPrint = 0x08,
    pbFind = 0x10,
    pbHelp = 0x20,
    pbExit = 0x40,
    pbPageSetup = 0x80,
};

// Parser callbacks installed by a report: tagged with it, so that the
// report's destructor can take them out of the global parser.
struct FrReportValueHook {
    TfrReport *report = nullptr;
    std::function<void(const QString &, FrVariant &)> call;
    void operator()(const QString &name, FrVariant &value) const
    {
        if (call)
            call(name, value);
    }
};
struct FrReportFunctionHook {
    TfrReport *report = nullptr;
    std::function<void(const QString &, const FrVariant &, const FrVariant &, const FrVariant &,
                       FrVariant &)>
        call;
    void operator()(const QString &name, const FrVariant &p1, const FrVariant &p2,
                    const FrVariant &p3, FrVariant &value) const
    {
        if (call)
            call(name, p1, p2, p3, value);
    }
};

class TfrReport : public QObject, public FrReportLink
{
    Q_OBJECT
public:
    explicit TfrReport(QObject *owner = nullptr);
    ~TfrReport() override;

    // --- events of the owner
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int pgNo)> OnBeginPage;
    std::function<void(int pgNo)> OnEndPage;
    std::function<void(TfrBand *band)> OnBeginBand;
    std::function<void(TfrBand *band)> OnEndBand;
    std::function<void(const QString &parName, FrVariant &parValue)> OnGetValue;
    std::function<void(QStringList &memo, TfrView *view)> OnBeforePrint;
    std::function<void(int n)> OnProgress;
    std::function<void(const QString &name, const FrVariant &p1, const FrVariant &p2,
                       const FrVariant &p3, FrVariant &val)>
        OnUserFunction;
    std::function<void(TfrBand *band)> OnBeginColumn;
    std::function<void(int colNo, int &width)> OnPrintColumn;
    std::function<void(TfrPage *page)> OnManualBuild;
    std::function<void(TfrView *view)> OnObjectClick;
    std::function<void(TfrView *view, Qt::CursorShape &cursor)> OnMouseOverObject;
    std::function<void()> OnPrintReport;

    // --- published options
    TfrDataset *Dataset() const;
    void setDataset(TfrDataset *dataset);
    QObject *Preview() const { return m_preview; }
    void setPreview(QObject *preview) { m_preview = preview; }
    // The window whose command runs the report's work (a preview printing or
    // building again): the progress window, and the dialogs above it, belong
    // to it. None: the window on top.
    QWidget *CommandWindow() const { return m_commandWindow; }
    void setCommandWindow(QWidget *window) { m_commandWindow = window; }
    int DefaultCopies = 1;
    bool DefaultCollate = true;
    bool GrayedButtons = false;
    TfrPreviewZoom InitialZoom = pzDefault;
    bool MDIPreview = false;
    bool ModalPreview = true;
    bool ModifyPrepared = true;
    unsigned PreviewButtons = 127;
    TfrReportType ReportType = rtSimple;
    bool ShowProgress = true;
    bool StoreInDFM = false;
    QString Title;

    // --- owned parts
    TfrPages &Pages() { return *m_pages; }
    TfrEMFPages &EMFPages() { return *m_emfPages; }
    // Hands the prepared pages over (to a preview), leaving an empty set.
    std::unique_ptr<TfrEMFPages> TakeEMFPages();
    // Frees the current set and takes pages (a new empty set when null).
    void SetEMFPages(std::unique_ptr<TfrEMFPages> pages);
    TfrDataDictionary &Dictionary() { return *m_dictionary; }

    // --- fields that are not published
    QString PrinterName;
    quint16 KeepPrinter = 0; // non-zero: the report never changes the library printer
    quint16 TwoPass = 0;
    bool FinalPass = false;
    bool Cancelled = false; // the stop flag
    bool CanRebuild = false;
    QString FileName;
    bool Modified = false;
    // Set when the designer changed the report (SetModified(true) in mode 1).
    bool ChangedInDesign = false;
    TfrPage *BuildPage = nullptr;

    // --- operations
    // Frees the template pages and empties the dictionary.
    void Clear();
    // The first object of that name over the template pages, ignoring case.
    TfrView *FindObject(const QString &name) const override;

    // Template stream with its version byte. Never raises: failures are
    // shown to the user. LoadFromStream's outcome is kept in lastLoad().
    void LoadFromStream(FrStream &stream);
    void SaveToStream(FrStream &stream);
    // False when the file is missing, cannot be read, after a format error
    // or with an unsupported version; true when only add-in classes were
    // missing, and for an empty file (lastLoad() Empty). The file is read
    // into a report of its own, and its template takes the place of this
    // one's only once it was read whole: a refused file changes nothing, and
    // its message names it.
    bool LoadFromFile(const QString &fileName);
    // Written to a temporary file, then renamed; false when that failed.
    bool SaveToFile(const QString &fileName);
    // ".frt": description, optional picture, template body. Loading (load
    // set) takes the body as LoadFromFile takes a template, whole or not at
    // all.
    void LoadTemplate(const QString &fileName, QStringList &description, QImage &picture,
                      bool load);
    bool SaveTemplate(const QString &fileName, const QStringList &description,
                      const QImage &picture);
    // The form property "ReportForm".
    void ReadBinaryData(FrStream &stream);
    void WriteBinaryData(FrStream &stream);

    // Prepared reports (".frp"). A file that cannot be read raises
    // EFrStreamError naming it; the pages shown stay.
    void LoadPreparedFile(const QString &fileName);
    bool SavePreparedFile(const QString &fileName);

    void SelectReportPrinter(const QString &printerName);
    bool ChangePrinter(int oldIndex, int newIndex);

    // Unreadable: the file could not be read (its reason shown), nothing
    // changed.
    enum class LoadOutcome { Loaded, MissingClasses, FormatError, Unsupported, Empty, Unreadable };
    LoadOutcome lastLoad() const { return m_lastLoad; }
    // Why the last save that returned false failed ("Erreur d'écriture dans
    // le fichier ... : disque plein"); the old file is then left as it was.
    const QString &lastSaveError() const { return m_lastSaveError; }

    // --- what the objects see of the report
    QString ReportName() const override { return objectName(); }
    int PageCount() const override;
    FrPageLink *Page(int index) const override;
    bool HasOnBeforePrint() const override { return bool(OnBeforePrint); }
    TfrReport *AsReport() override { return this; }
    void BeforePrintObject(QStringList &memo, TfrView *view) override;
    void Terminate() override { Cancelled = true; }
    // Relays to OnBeginColumn and OnPrintColumn (report/build/frformat.cpp).
    void BeginColumn(TfrBand *band) override;
    void PrintColumn(int colNo, int &width) override;
    bool IsSimpleReport() const override { return ReportType == rtSimple; }
    TfrDataset *ReportDataset() const override { return Dataset(); }

    // --- building and showing
    // Builds the prepared pages from the template (restored afterwards);
    // true when pages were built and nothing stopped the build.
    bool PrepareReport();
    // PrepareReport, then ShowPreparedReport; false (nothing done) while a
    // build runs.
    bool ShowReport();
    void ShowPreparedReport();
    // The registered designer on this report; its modal result (2 without one).
    int DesignReport();
    // The designer on one prepared page; kept changes go back into it.
    void EditPreparedPage(int pageIndex);
    // The prepared pages handed to an export filter; false while a build runs.
    bool ExportTo(TfrExportFilter &filter);
    void ExportPages();
    // Forms every page into the prepared pages (a composite report replaces it).
    virtual void BuildPreparedPages();
    // Reports built inside this one's build (a composite report's members):
    // their templates are kept and restored around the build as this one's.
    virtual std::vector<TfrReport *> BuildMembers() const { return {}; }
    void RunPreparation();
    // Progress N: OnProgress, or the progress window's line.
    void Progress(int n);
    // The value and function callbacks of the global parser, and their
    // installation for this report.
    void InstallCallbacks();
    void ResolveParserName(const QString &name, FrVariant &value);
    void CallParserFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                            const FrVariant &p3, FrVariant &value);
    // The last page stays open for the next report of a composite one.
    bool ContinueLastPage = false;

    // --- printing (report/print/frprint.cpp)
    // Prints the prepared pages under the progress window (an embedded
    // preview gives its pages back meanwhile). PageNumbers: the selection
    // text ("" all pages, "1,3,5-12"); PrintPages 0 all, 1 odd, 2 even pages.
    // A malformed selection raises before anything is printed.
    void PrintWithProgress(const QString &pageNumbers, int copies, bool collate, int printPages);
    // Prints on the library printer; false when nothing was printed (no
    // page selected, the printer failed, the user cancelled).
    virtual bool PrintPreparedPages(const QString &pageNumbers, int copies, bool collate,
                                    int printPages);
    // The outcome of the last PrintWithProgress.
    bool LastPrintDone() const { return m_printDone; }

    // Makes this report the current one of the library.
    void makeCurrent();
    // Installs the value and function callbacks of the global parser for
    // this report (preparation does it before every build).
    void
    installParserCallbacks(std::function<void(const QString &, FrVariant &)> value,
                           std::function<void(const QString &, const FrVariant &, const FrVariant &,
                                              const FrVariant &, FrVariant &)>
                               function);

    // --- display formats (report/build/frformat.cpp)
    // Evaluates one bracketed expression of frCurrentView (an inline format
    // follows " #") and gives its value as text in the view's display format.
    // The engine's evaluation errors leave the value as far as it got.
    void FormatValue(const QString &expression, QString &result);
    // A value as text under a display format code (category, kind, decimals,
    // separator) and, for custom kinds, formatStr; the value as text when the
    // pattern fails.
    static QString FormatDisplayValue(const FrVariant &value, qint32 format,
                                      const QString &formatStr);

private:
    void readBody(FrStream &stream);
    // The error of a template that cannot be read: the file's name and the
    // reason while a file is being read, the reason alone for a stream.
    void refuse(const QString &reason);
    // Runs read on a report of its own (same owner, so that it finds the same
    // data sets) and takes what it read when it read it whole; otherwise
    // puts back what the read changed in the library. lastLoad() is the
    // read's outcome; true when the template was taken.
    bool readAside(const QString &fileName, const std::function<void(TfrReport &)> &read);
    void takeTemplate(TfrReport &read);
    void buildStep();
    int runStep(const QString &line);
    void closeProgress(int result);

    bool printOnePage(int index, bool &first, int printPages);

    bool m_printDone = false;
    QString m_progressCaption;
    QString m_progressLine;
    int m_stepResult = 0;
    bool m_askedTwoPass = false;
    quint16 m_twoPassValue = 0;

    // Destroyed in the order dictionary, prepared pages, template pages.
    std::unique_ptr<TfrPages> m_pages;
    std::unique_ptr<TfrEMFPages> m_emfPages;
    std::unique_ptr<TfrDataDictionary> m_dictionary;
    QPointer<QObject> m_dataset;
    QPointer<QObject> m_preview;
    QPointer<QWidget> m_commandWindow;
    LoadOutcome m_lastLoad = LoadOutcome::Empty;
    QString m_lastSaveError;
    QString m_readingFile; // named by the refusals of the read under way
};

// False when the first bytes of a template file (its head) already show that
// TfrReport::LoadFromStream would refuse it: a newer version, or a first
// record no template starts with. True when they cannot tell, so that a
// reader may stop before the rest of a file of another kind.
bool frTemplateMayLoad(QByteArrayView head);

// "The file X could not be read." with the reason below it: every refusal of
// a template or prepared-report file says which file it was.
QString frFileNotReadText(const QString &fileName, const QString &reason);

} // namespace report
