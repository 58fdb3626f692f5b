#include "report/data/frdataset.h"

#include "platform/text/convert.h"
#include "report/core/frcomponents.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"

namespace report
{

TfrDataset::TfrDataset(QObject *owner) : QObject(owner) {}

void TfrDataset::Init() {}

void TfrDataset::Exit() {}

void TfrDataset::First()
{
    RecNo = 0;
    if (OnFirst)
        OnFirst(this);
}

void TfrDataset::Next()
{
    ++RecNo;
    if (!(RangeEnd == reCount && RecNo >= RangeEndCount) && OnNext)
        OnNext(this);
}

void TfrDataset::Prior()
{
    --RecNo;
    if (OnPrior)
        OnPrior(this);
}

bool TfrDataset::Eof()
{
    bool result = RangeEnd == reCount && RecNo >= RangeEndCount;
    if (OnCheckEOF)
        OnCheckEOF(this, result);
    return result;
}

void TfrDBDataSet::setDataSet(FrDataSet *dataSet)
{
    m_dataSet = dataSet;
    m_dataSource = nullptr;
}

void TfrDBDataSet::setDataSource(FrDataSource *dataSource)
{
    m_dataSource = dataSource;
    if (dataSource)
        m_dataSet = nullptr;
}

FrDataSet *TfrDBDataSet::GetDataSet() const
{
    if (m_dataSource && m_dataSource->dataSet())
        return m_dataSource->dataSet();
    if (m_dataSet)
        return m_dataSet;
    throw EDSError(QStringLiteral("Unable to open dataset ") + objectName());
}

void TfrDBDataSet::Init()
{
    FrDataSet *ds = GetDataSet();
    if (OpenDataSource)
        ds->open();
    if (OnOpen)
        OnOpen(this);
    m_bookmark = frGetBookmark(ds);
    m_hasBookmark = true;
    m_eof = false;
}

void TfrDBDataSet::Exit()
{
    if (m_hasBookmark) {
        FrDataSet *ds = GetDataSet();
        if (RangeBegin == rbCurrent || RangeEnd == reCurrent)
            frGotoBookmark(ds, m_bookmark);
        frFreeBookmark(ds, m_bookmark);
        m_hasBookmark = false;
    }
    if (OnClose)
        OnClose(this);
    if (CloseDataSource)
        GetDataSet()->close();
}

void TfrDBDataSet::First()
{
    FrDataSet *ds = GetDataSet();
    if (RangeBegin == rbFirst)
        ds->first();
    else
        frGotoBookmark(ds, m_bookmark);
    m_eof = false;
    TfrDataset::First();
}

void TfrDBDataSet::Next()
{
    m_eof = false;
    FrDataSet *ds = GetDataSet();
    if (RangeEnd == reCurrent) {
        // The range ends on the record current at Init: once there, the walk
        // is over; before it (a range from the first record), move on
        // towards it instead of repeating the same record for ever.
        FrBookmark here = frGetBookmark(ds);
        bool there = frBookmarksEqual(ds, here, m_bookmark);
        frFreeBookmark(ds, here);
        if (there)
            m_eof = true;
        else
            ds->next();
        return;
    }
    ds->next();
    TfrDataset::Next();
}

void TfrDBDataSet::Prior()
{
    GetDataSet()->prior();
    TfrDataset::Prior();
}

bool TfrDBDataSet::Eof()
{
    return TfrDataset::Eof() || GetDataSet()->eof() || m_eof;
}

FrDataSourceRef frGetDataSource(const QString &name)
{
    FrDataSourceRef ref;
    if (!name.isEmpty() && name.at(0) >= QLatin1Char('1') && name.at(0) <= QLatin1Char('9')) {
        auto counted = std::make_unique<TfrUserDataset>();
        counted->RangeEnd = reCount;
        counted->RangeEndCount = platform::StrToInt(name);
        ref.source = counted.get();
        ref.owned = std::move(counted);
    } else {
        QObject *found = frFindComponent(fr().frCurrentReportOwner(), name);
        if (!found)
            return ref;
        auto *source = qobject_cast<TfrDataset *>(found);
        if (!source)
            throw EInvalidCast();
        ref.source = source;
    }
    ref.source->Init();
    return ref;
}

} // namespace report
