#include "report/objects/frband.h"

#include "report/data/frdataset.h"
#include "report/expr/frparser.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"

namespace report
{

TfrBand::TfrBand(TfrBandView *view, FrPageLink *page) : View(view), Page(page)
{
    if (!view)
        return;
    view->Parent = this;
    Typ = view->GetBandType();
    Name = view->Name;
    x = view->x;
    y = view->y;
    dx = view->dx;
    dy = view->dy;
    Visible = view->IsVisible();
}

TfrBand::~TfrBand()
{
    releaseDataSet();
    if (View && View->Parent == this)
        View->Parent = nullptr;
    if (FrLibraryExtension *layer = fr().objectLayer.get()) {
        auto &g = static_cast<FrObjectGlobals &>(*layer);
        if (g.frCurrentBand == this)
            g.frCurrentBand = nullptr;
    }
}

void TfrBand::releaseDataSet()
{
    if (m_owned) {
        m_owned->Exit();
        m_owned.reset();
    }
    m_dataSet = nullptr;
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
    }
    FrReportLink *report = frObjects().frCurrentReport;
    if (!m_dataSet && Typ == btMasterData && report && report->IsSimpleReport())
        m_dataSet = report->ReportDataset();
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
