#pragma once
// The run-time band: one per band object while a report is built. It holds
// what the objects read and set of it while printing (type, geometry,
// visibility, child link, group condition) and its record source, owned when
// it had to create one. Page formation extends it.
#include <QString>
#include <memory>

namespace report
{

class TfrBandView;
class TfrDataset;
class FrDataSet;
class FrPageLink;

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

    TfrBandView *View;
    FrPageLink *Page;
    int Typ = 0;
    QString Name;
    int x = 0, y = 0, dx = 0, dy = 0;
    bool Visible = true;
    TfrBand *Child = nullptr;
    QString Condition; // postfix form of a group header's expression

private:
    void releaseDataSet();

    TfrDataset *m_dataSet = nullptr;
    std::unique_ptr<TfrDataset> m_owned;
};

// The data set behind the data band that serves the band being printed.
FrDataSet *frCurrentDBDataSet();

} // namespace report
