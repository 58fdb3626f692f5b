#pragma once
// A page of a report template: a report page (paper, margins, columns and the
// objects laid on it) or a dialog page (a form shown before the build).
#include "report/objects/frlinks.h"
#include "report/objects/frprinterinfo.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace report
{

class FrStream;
class TfrView;
class TfrBand;
class FrDialogForm;

// A band recorded instead of printed while a page plays as a subreport:
// kind 0 a band shown, 1 a first record, 2 a next record.
struct FrBandRecord {
    TfrBand *band = nullptr;
    int kind = 0;
};

class TfrPage : public FrPageLink
{
public:
    // Sets the paper through ChangePaper, then the defaults.
    TfrPage(int size, int width, int height, int bin, int orientation);
    ~TfrPage() override;

    // --- named properties
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    FrVariant GetPropertyValue(const QString &name) override;
    void DefinePropertyList() override;

    // --- what the objects see of their page
    int PageType() const override { return PageTypeValue; }
    int PageWidth() const override { return PrnInfo.Pgw; }
    int PageHeight() const override { return PrnInfo.Pgh; }
    int LeftMarginPos() const override;
    int RightMarginPos() const override;
    int TopMarginPos() const;
    // Without the page-footer reduction, which the run-time bands apply.
    int BottomMarginPos() const;
    int ObjectCount() const override { return int(Objects.size()); }
    TfrView *Object(int index) const override;
    TfrView *FindObject(const QString &name) const override;
    QObject *DialogForm() const override;

    // Applies a paper through the library printer; a refused size is asked
    // again as custom size 256. The page keeps what the printer took.
    void ChangePaper(int size, int width, int height, int bin, int orientation);
    // Frees every object.
    void Clear();
    // Frees the object at index and removes it (nothing out of range).
    void Delete(int index);
    int IndexOfObjectID(qint32 id) const;
    // "Page" + the smallest free number of the current report.
    void CreateUniqueName();
    // Edits Script with the registered text editor through a temporary memo.
    void EditScript();
    // Appends an object the page then owns.
    TfrView *Add(std::unique_ptr<TfrView> view);
    // Inserts an object at index (clamped to 0..count), the others keeping
    // their order; the page owns it.
    TfrView *Insert(int index, std::unique_ptr<TfrView> view);
    // Takes an object out of the page without freeing it (nullptr out of range).
    std::unique_ptr<TfrView> Take(int index);

    // The page record of template streams (after the lead byte 255).
    void LoadFromStream(FrStream &stream);
    void SaveToStream(FrStream &stream) const;

    // --- run-time operations (page formation)
    // Sets the page up for a build: run-time bands, objects handed to them,
    // links, columns. A dialog page shows its form instead.
    void InitReport();
    // Releases what InitReport set up; force also in a first pass (a failed build).
    void DoneReport(bool force = false);
    void FormPage();
    void ShowBand(TfrBand *band);
    void NewPage();
    void NewColumn(TfrBand *band);
    // Closes every prepared page from frPageNo on: its end-of-page event and,
    // with withFooter, its page footer.
    void DrawPageFooters(bool withFooter = true);
    // Nothing printed yet on this page or column but its opening bands.
    bool IsFresh() const;
    void ShowBandByName(const QString &name);
    void RunScript(const QStringList &script);
    // Binds fields and registers the aggregates of every band.
    void PrepareAggregates();
    // One data level (1 master, 2 detail, 3 subdetail).
    void DoLoop(int level);
    // The bottom a band may reach: the bottom margin less the page footer
    // while preparing.
    int BottomLimit() const;
    TfrBand *BandOfType(int bandType) const override;
    // Height of the column footer (0 while the summary prints).
    int ColumnFooterHeight() const;
    void AddRecord(TfrBand *band, int kind);
    void ClearRecList();
    // Plays the recorded bands from PlayPosition; true when it stopped at
    // the end of the prepared page (the position stays on that band).
    bool PlayRecList();
    // Queue of bands waiting to print together (headers with their first data).
    void QueueAdd(TfrBand *band);
    void QueueFlush();
    void QueueGroups(TfrBand *group);
    int QueueSize() const { return int(m_queue.size()); }

    // --- run-time fields
    std::array<TfrBand *, 23> Bands{};
    bool IsSubReportPage = false;
    bool Initialized = false;
    int CurColumn = 0;
    int ColumnStartY = 0;
    int XAdjust = 0;
    std::vector<FrBandRecord> RecordList;
    bool RecordMode = false;
    int PlayPosition = 0;
    TfrBand *InterruptedBand = nullptr;
    int CrossColumn = 1;
    int RecordCount = 1;
    TfrBand *LastBand = nullptr;
    bool InFooter = false;
    bool SummaryPrinting = false;
    int FreshY = -1; // CurY after the opening bands of the page or column
    int DeepestLevel = 0;
    std::unique_ptr<FrDialogForm> Form;

    // Pixels <-> tenths of a millimetre (18 pixels make 5 mm), half to even.
    static int pixelsToTenths(double pixels);
    static int tenthsToPixels(double tenths);

    // --- template fields, in their order
    qint32 Size = 0;
    qint32 PaperWidth = 0, PaperHeight = 0;
    qint32 LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    quint8 Orientation = 0;
    // 65535 (or -1, as streams hold it): the printer's default bin; kept as set.
    qint32 Bin = kFrDefaultBin;
    quint16 PrintToPrevPage = 0;
    quint16 UseMargins = 0xFFFF;
    TfrPrnInfo PrnInfo;
    qint32 Columns = 1;
    qint32 ColWidth = 0;
    qint32 ColumnGap = 0;
    quint8 PageTypeValue = ptReport;
    std::vector<std::unique_ptr<TfrView>> Objects;
    qint32 CurY = 0, CurBottomY = 0;
    QString Name;
    quint8 BorderStyle = 3;
    QString Caption = QStringLiteral("Form");
    qint32 Color = qint32(0x8000000F);
    qint32 FormLeft = 220, FormTop = 120, FormWidth = 380, FormHeight = 300;
    quint8 Position = 4;
    QStringList Script;
    bool Visible = true;

private:
    void initDialogPage();
    void linkBands();
    void freeBands();
    void walkAggregates(TfrBand *band);

    std::vector<std::unique_ptr<TfrBand>> m_runBands;
    std::vector<TfrBand *> m_queue;
};

} // namespace report
