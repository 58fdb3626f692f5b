#pragma once
// The run-time band: one per band object while a report is built. It holds
// what the objects read and set of it while printing (type, geometry,
// visibility, child link, group condition), its record source (owned when it
// had to create one), its links to headers, footers and groups, and the
// accumulators of the aggregates it feeds. Page formation drives it.
#include "report/core/frvariant.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

namespace report
{

class TfrBandView;
class TfrDataset;
class TfrPage;
class TfrView;
class FrDataSet;
class FrPageLink;

// Aggregate kinds (the function code of an accumulator key).
enum : int { frAggSum = 11, frAggMin = 12, frAggMax = 13, frAggAvg = 14, frAggCount = 15 };
// Separates the fields of an accumulator key.
constexpr QChar kFrKeySeparator(1);

// One accumulator. A key is the band that shows and resets it, the function
// code, the expression and "1" when records of an invisible band count too;
// a band with cross objects puts a column number ("0": the template) first.
struct FrAccumulator {
    QString key;
    QString bandName;
    int code = frAggSum;
    QString expression;
    bool countInvisible = false;
    int column = -1; // -1: an ordinary key
    FrVariant value = 0;
    bool hasValue = false; // no value accumulated since the last reset
    int count = 0;         // values accumulated since the last reset
};

// The accumulators of a data band, in registration order.
class FrAccumulators
{
public:
    int Count() const { return int(m_items.size()); }
    FrAccumulator &at(int index) { return m_items[size_t(index)]; }
    int IndexOf(const QString &key) const;
    // Adds a key in its reset state (nothing when it is there).
    FrAccumulator &add(const QString &key);
    void Clear();

private:
    std::vector<FrAccumulator> m_items;
    QHash<QString, int> m_index; // upper-case key -> position
};

class TfrBand
{
public:
    // view: the band object (its Parent becomes this band); page: the page built.
    TfrBand(TfrBandView *view, FrPageLink *page);
    ~TfrBand();
    TfrBand(const TfrBand &) = delete;
    TfrBand &operator=(const TfrBand &) = delete;

    // Takes the record source or grouping condition that text names: a group
    // header turns it into postfix form; another band, when the text holds no
    // ";", takes the record source of that name; a master data band left
    // without one in a simple report takes the report's own.
    void SetDataSource(const QString &text);
    // The "DATASOURCE" property: drops the current source (freed when owned)
    // and takes the named one.
    void ChangeDataSource(const QString &text);
    // Takes a source owned by someone else (page formation, subreports).
    void SetDataSet(TfrDataset *source);
    TfrDataset *DataSet() const { return m_dataSet; }
    bool OwnsDataSet() const { return m_owned != nullptr; }
    // SetDataSource, and for a cross data band a ";" list of
    // "band=source;" entries that give those bands their CrossDataSet.
    void InitDataSet(const QString &text);
    void SetCrossDataSet(TfrDataset *source, std::unique_ptr<TfrDataset> owned);

    // --- printing
    // Full print; true when the band did not fit on a subreport page.
    bool Draw();
    void DoDraw();
    int CalcHeight();
    int TotalHeight();
    // True when the band does not fit; unless onlyTest, moves on.
    bool CheckPageBreak(int atY, int height, bool onlyTest);
    bool DrawObjects();
    // Forms every visible subreport page of the band in record mode and
    // places it at its object.
    void PrepareSubReports();
    // Plays the subreport pages side by side until all are finished (or, on
    // a page that is itself played as a subreport, until the page ends).
    void DoSubReports();
    // Prints the cross columns of a band with cross objects after its own
    // objects: header, one cell per record of the cross source, footer.
    void DrawCross();
    // Prints the objects that the cross band shares with this band at x.
    void DrawCrossCell(TfrBand *cross, int x);
    void DrawObject(TfrView *view);
    void DrawBreaked();
    void StretchObjects(int maxHeight);
    void UnStretchObjects();
    // Takes the band object's template settings (page setup).
    void TakeView(TfrBandView *view, bool subReportPage);
    // The band takes part in formation.
    bool Exists() const;

    // --- aggregates
    void DoAggregate();
    void InitValues();
    void ResetBand(int lineNo);
    // The accumulated value of a key (an AVG key: its sum over its count);
    // 0 when nothing was accumulated or the key is unknown.
    FrVariant GetAggregateValue(const QString &key);
    // In the registration pass, registers the key; afterwards, stores value.
    void SetAggregateValue(const QString &key, const FrVariant &value);

    TfrBandView *View;
    FrPageLink *Page;
    TfrPage *Parent = nullptr;
    quint16 Flags = 0;
    TfrBand *Next = nullptr, *Prev = nullptr;
    TfrBand *NextGroup = nullptr, *PrevGroup = nullptr;
    TfrBand *FirstGroup = nullptr, *LastGroup = nullptr;
    TfrBand *Child = nullptr;
    TfrBand *AggregateBand = nullptr;
    int LineNo = 1, LineThroughNo = 1;
    FrVariant LastGroupValue;
    TfrBand *HeaderBand = nullptr, *FooterBand = nullptr, *DataBand = nullptr;
    TfrBand *LastInChain = nullptr;
    FrAccumulators Values;
    int AggregateCount = 0;
    bool InFooterBand = false;
    int CalculatedHeight = -1;
    int ColumnNo = 1, ColumnX = 0;
    bool KeepY = false;
    int NewPageCount = 0, NewColumnCount = 0;
    int PrintedHeight = 0;
    int Typ = 0;
    QString Name;
    int x = 0, y = 0, dx = 0, dy = 0;
    bool PrintIfSubsetEmpty = false, FormNewPage = false, Stretched = false, Breaked = false,
         PrintChildIfInvisible = false;
    bool Visible = true;
    bool HasCrossObjects = false;
    // Subreports: the first subreport object in Objects (they come last),
    // the lowest Y they reached, whether all are finished, and one finished
    // flag per subreport object from SubIndex.
    int SubIndex = 0;
    int MaxY = 0;
    bool SubReportsDone = true;
    std::vector<bool> SubReportEOF;
    std::vector<TfrView *> Objects;
    QStringList Memo, Script;
    TfrDataset *CrossDataSet = nullptr;
    QString Condition; // postfix form of a group header's expression

private:
    void releaseDataSet();
    // Streams a view onto the current prepared page, moved by dx, dy.
    void outputView(TfrView *view, int dx, int dy);
    // Moves the cross columns on to the next prepared page when a column of
    // width would pass the right position; x is then the left position.
    void fitCrossColumn(int width, int &x, int startPage);
    bool isDataBand() const;
    void accumulate(FrAccumulator &entry, const FrVariant &x);

    TfrDataset *m_dataSet = nullptr;
    bool m_opened = false; // opened by the band: closed with it
    std::unique_ptr<TfrDataset> m_owned;
    std::unique_ptr<TfrDataset> m_ownedCross;
    std::vector<std::pair<TfrView *, int>> m_stretched; // objects and their heights
    // Drawn as a child of a band whose chain of child bands is taller than a
    // page: it is not kept together with the rest of that chain.
    bool m_inLongChain = false;
    std::vector<TfrPage *> m_subPages; // per subreport object: the page it plays, or none
};

// The data set behind the data band that serves the band being printed.
FrDataSet *frCurrentDBDataSet();

} // namespace report
