#pragma once
// Record sources: what a data band walks. A record source holds no data; it
// walks a range of records and says when the range is exhausted.
#include "report/data/frdb.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace report
{

enum TRangeBegin { rbFirst = 0, rbCurrent = 1 };
enum TRangeEnd { reLast = 0, reCurrent = 1, reCount = 2 };

class TfrDataset : public QObject
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject *sender)>;
    using TCheckEOFEvent = std::function<void(QObject *sender, bool &eof)>;

    explicit TfrDataset(QObject *owner = nullptr);

    virtual void Init();
    virtual void Exit();
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();

    TRangeBegin RangeBegin = rbFirst;
    TRangeEnd RangeEnd = reLast;
    qint32 RangeEndCount = 0;
    qint32 RecNo = 0;
    TNotifyEvent OnFirst;
    TNotifyEvent OnNext;
    TNotifyEvent OnPrior;
    TCheckEOFEvent OnCheckEOF;
};

// Driven by its owner's events, or simply by a record count (reCount).
class TfrUserDataset : public TfrDataset
{
    Q_OBJECT
public:
    using TfrDataset::TfrDataset;
};

// Walks a data set of the database classes.
class TfrDBDataSet : public TfrDataset
{
    Q_OBJECT
public:
    using TfrDataset::TfrDataset;

    FrDataSet *DataSet() const { return m_dataSet; }
    FrDataSource *DataSource() const { return m_dataSource; }
    // Setting one clears the other (a null DataSource leaves DataSet alone).
    void setDataSet(FrDataSet *dataSet);
    void setDataSource(FrDataSource *dataSource);

    // The data set walked; raises EDSError "Unable to open dataset " + name.
    FrDataSet *GetDataSet() const;

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

    bool OpenDataSource = true;
    bool CloseDataSource = false;
    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;

private:
    QPointer<FrDataSet> m_dataSet;
    QPointer<FrDataSource> m_dataSource;
    FrBookmark m_bookmark;
    bool m_hasBookmark = false;
    bool m_eof = false;
};

// A band's record source by name: a text starting with a digit 1 to 9 makes a
// counted TfrUserDataset owned by the caller (owned is set); any other name
// is a component of the current report's owner, which must be a TfrDataset
// (EInvalidCast otherwise). A source found or made is given Init.
struct FrDataSourceRef {
    TfrDataset *source = nullptr;
    std::unique_ptr<TfrDataset> owned;
};
FrDataSourceRef frGetDataSource(const QString &name);

} // namespace report
