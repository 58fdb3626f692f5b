#include "report/objects/frband.h"

#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/expr/frparser.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"

namespace report
{

// --- accumulators

int FrAccumulators::IndexOf(const QString &key) const
{
    return m_index.value(frUpperCase(key), -1);
}

FrAccumulator &FrAccumulators::add(const QString &key)
{
    const QString upper = frUpperCase(key);
    if (const auto it = m_index.constFind(upper); it != m_index.constEnd())
        return m_items[size_t(it.value())];
    FrAccumulator a;
    a.key = key;
    QStringList fields = key.split(kFrKeySeparator);
    // Keys end with a separator; a column number, when there is one, comes first.
    if (fields.size() > 1 && fields.last().isEmpty())
        fields.removeLast();
    if (fields.size() >= 5) {
        bool ok = false;
        a.column = fields.takeFirst().toInt(&ok);
        if (!ok)
            a.column = 0;
    }
    a.bandName = fields.value(0);
    const QString code = fields.value(1);
    a.code = code.isEmpty() ? int(frAggSum) : int(code.at(0).unicode());
    a.expression = fields.value(2);
    a.countInvisible = fields.value(3).trimmed() == QLatin1String("1");
    m_index.insert(upper, int(m_items.size()));
    m_items.push_back(std::move(a));
    return m_items.back();
}

void FrAccumulators::Clear()
{
    m_items.clear();
    m_index.clear();
}

// --- band

TfrBand::TfrBand(TfrBandView *view, FrPageLink *page) : View(nullptr), Page(page)
{
    if (view)
        TakeView(view, false);
}

TfrBand::~TfrBand()
{
    releaseDataSet();
    if (m_ownedCross)
        m_ownedCross->Exit();
    if (View && View->Parent == this)
        View->Parent = nullptr;
    if (FrLibraryExtension *layer = fr().objectLayer.get()) {
        auto &g = static_cast<FrObjectGlobals &>(*layer);
        if (g.frCurrentBand == this)
            g.frCurrentBand = nullptr;
        if (g.frAggregateBand == this)
            g.frAggregateBand = nullptr;
    }
}

void TfrBand::TakeView(TfrBandView *view, bool subReportPage)
{
    View = view;
    view->Parent = this;
    Typ = view->GetBandType();
    Name = view->Name;
    x = view->x;
    y = view->y;
    dx = view->dx;
    dy = view->dy;
    Visible = view->IsVisible();
    Memo = view->Memo;
    Script = view->Script;
    Flags = view->Flags;
    Stretched = (Flags & flStretched) != 0;
    PrintIfSubsetEmpty = (Flags & flBandPrintifSubsetEmpty) != 0;
    PrintChildIfInvisible = (Flags & flBandPrintChildIfInvisible) != 0;
    FormNewPage = !subReportPage && (Flags & flBandNewPageAfter) != 0;
    Breaked = !subReportPage && (Flags & flBandPageBreak) != 0;
}

bool TfrBand::Exists() const
{
    if (View)
        return true;
    return Typ == btNone && !Objects.empty();
}

bool TfrBand::isDataBand() const
{
    return Typ == btMasterData || Typ == btDetailData || Typ == btSubDetailData;
}

void TfrBand::releaseDataSet()
{
    if (m_owned) {
        m_owned->Exit();
        m_owned.reset();
    } else if (m_dataSet && m_opened) {
        m_dataSet->Exit();
    }
    m_dataSet = nullptr;
    m_opened = false;
}

void TfrBand::SetDataSource(const QString &text)
{
    if (Typ == btGroupHeader) {
        Condition = fr().frGlobalParser ? fr().frGlobalParser->ConvertToPostfix(text) : text;
        return;
    }
    if (!text.isEmpty() && !text.contains(QLatin1Char(';'))) {
        FrDataSourceRef ref = frGetDataSource(text);
        m_dataSet = ref.source;
        m_owned = std::move(ref.owned);
        m_opened = m_dataSet != nullptr;
    }
    FrReportLink *report = frObjects().frCurrentReport;
    if (!m_dataSet && Typ == btMasterData && report && report->IsSimpleReport()) {
        m_dataSet = report->ReportDataset();
        if (m_dataSet) {
            m_dataSet->Init();
            m_opened = true;
        }
    }
}

void TfrBand::InitDataSet(const QString &text)
{
    SetDataSource(text);
    if (Typ != btCrossData || !text.contains(QLatin1Char(';')) || !Parent)
        return;
    // "band=source;" entries: each named band walks its cross columns over
    // that source.
    for (const QString &entry : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = int(entry.indexOf(QLatin1Char('=')));
        if (eq <= 0)
            continue;
        const QString bandName = entry.left(eq).trimmed();
        const QString source = entry.mid(eq + 1).trimmed();
        for (int t = btMasterHeader; t <= btChild; ++t)
            for (TfrBand *b = Parent->Bands[size_t(t)]; b; b = b->Next)
                if (b->View && frSameText(b->Name, bandName)) {
                    FrDataSourceRef ref = frGetDataSource(source);
                    b->SetCrossDataSet(ref.source, std::move(ref.owned));
                }
    }
}

void TfrBand::SetCrossDataSet(TfrDataset *source, std::unique_ptr<TfrDataset> owned)
{
    if (m_ownedCross)
        m_ownedCross->Exit();
    m_ownedCross = std::move(owned);
    CrossDataSet = source;
}

void TfrBand::SetDataSet(TfrDataset *source)
{
    releaseDataSet();
    m_dataSet = source;
}

void TfrBand::ChangeDataSource(const QString &text)
{
    releaseDataSet();
    SetDataSource(text);
}

FrDataSet *frCurrentDBDataSet()
{
    FrObjectGlobals &g = frObjects();
    if (!g.frCurrentBand || !g.frCurrentPage || g.frCurrentPage->PageType() != ptReport)
        return nullptr;
    int dataType = -1;
    switch (g.frCurrentBand->Typ) {
    case btReportTitle:
    case btReportSummary:
    case btPageHeader:
    case btPageFooter:
    case btMasterHeader:
    case btMasterData:
    case btMasterFooter:
    case btGroupHeader:
    case btGroupFooter:
        dataType = btMasterData;
        break;
    case btDetailData:
    case btDetailFooter:
        dataType = btDetailData;
        break;
    case btSubDetailData:
    case btSubDetailFooter:
        dataType = btSubDetailData;
        break;
    case btCrossData:
    case btCrossFooter:
        dataType = btCrossData;
        break;
    default:
        return nullptr;
    }
    TfrBand *band = g.frCurrentPage->BandOfType(dataType);
    if (!band)
        return nullptr;
    auto *db = qobject_cast<TfrDBDataSet *>(band->DataSet());
    return db ? db->DataSet() : nullptr;
}

} // namespace report
