// Cross bands: vertical bands whose objects print once per record of the
// cross source, as columns to the right of a horizontal band's own objects.
// Columns that pass the right edge go on on the next prepared page, at the
// Y of the horizontal band; the next row starts again where this one did.
#include "report/build/frbuild.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/expr/frinterpreter.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <algorithm>

namespace report
{

namespace
{

TfrBand *existing(TfrBand *band)
{
    return band && band->View ? band : nullptr;
}

// Set while a column fit shows the opening bands of the page it added. A
// page header with cross cells would otherwise print its own columns there,
// overflow again and add pages without end; its columns reach that page
// through the header's own fit instead.
bool s_openingAddedPage = false;

void runBandScript(TfrBand *band)
{
    FrObjectGlobals &g = frObjects();
    g.frCurrentView = band->View;
    g.frCurrentBand = band;
    if (!band->Script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->DoScript(band->Script);
}

} // namespace

void TfrBand::DrawCrossCell(TfrBand *cross, int x)
{
    if (!cross || !Parent)
        return;
    FrObjectGlobals &g = frObjects();
    g.frCurrentPage = Parent;
    g.frCurrentBand = cross;
    cross->LineNo = LineNo;
    cross->LineThroughNo = LineThroughNo;
    if (cross->Typ == btCrossData)
        cross->AggregateBand = this;
    for (TfrView *v : cross->Objects) {
        if (frBuildTerminated())
            break;
        if (std::find(Objects.begin(), Objects.end(), v) == Objects.end())
            continue;
        if (g.frFirstPass) {
            g.frCurrentView = v;
            if (!v->Script.isEmpty() && fr().frInterpreter)
                fr().frInterpreter->DoScript(v->Script);
            continue;
        }
        outputView(v, x, y);
        // The output may have run scripts that touched the owner.
        v->Parent = cross;
        g.frCurrentBand = cross;
    }
}

void TfrBand::fitCrossColumn(int width, int &x, int startPage)
{
    TfrPage &p = *Parent;
    if (qint64(x) + width <= p.RightMarginPos())
        return;
    TfrReport *master = frBuildMaster();
    if (!master)
        return;
    int &pageNo = fr().frPageNo;
    ++pageNo;
    if (pageNo >= master->EMFPages().Count()) {
        FrObjectGlobals &g = frObjects();
        master->EMFPages().AddPage(p);
        pageNo = master->EMFPages().Count() - 1;
        TfrBand *const keptBand = g.frCurrentBand;
        TfrBand *const keptLast = p.LastBand;
        const int keptY = p.CurY;
        FrRestore<bool> opening(s_openingAddedPage, true);
        p.ShowBand(p.Bands[btOverlay]);
        p.ShowBand(p.Bands[btNone]);
        TfrBand *header = p.Bands[btPageHeader];
        if (header && !(startPage == 0 && !(header->Flags & flBandOnFirstPage))) {
            p.CurY = p.TopMarginPos();
            p.ShowBand(header);
        }
        p.CurY = keptY;
        p.LastBand = keptLast;
        g.frCurrentBand = keptBand;
        frBuildProgress(pageNo + 1);
    }
    x = p.LeftMarginPos();
    if (TfrBand *header = existing(p.Bands[btCrossHeader]);
        header && (header->Flags & flBandRepeatHeader)) {
        DrawCrossCell(header, x);
        x = frClampGeometry(qint64(x) + header->dx);
    }
}

void TfrBand::DrawCross()
{
    if (!Parent || Typ == btPageFooter || s_openingAddedPage)
        return;
    TfrPage &p = *Parent;
    FrObjectGlobals &g = frObjects();
    FrReportLink *report = g.frCurrentReport;
    int &pageNo = fr().frPageNo;
    const int startPage = pageNo;
    p.CrossColumn = 1;
    int x = 0;
    if (report)
        report->BeginColumn(this);

    if (TfrBand *header = existing(p.Bands[btCrossHeader])) {
        runBandScript(header);
        DrawCrossCell(header, header->x);
        x = frClampGeometry(qint64(header->x) + header->dx);
    }
    if (TfrBand *d = existing(p.Bands[btCrossData])) {
        if (x == 0)
            x = d->x;
        // A width changed by OnPrintColumn holds for the rest of the row;
        // every row starts from the designed width.
        FrRestore<int> width(d->dx, d->dx);
        TfrDataset *columns = d->DataSet() ? d->DataSet() : CrossDataSet;
        if (columns) {
            columns->First();
            while (!columns->Eof() && !frBuildTerminated()) {
                frBuildWork(kFrRecordUnits);
                int w = d->dx;
                if (report)
                    report->PrintColumn(p.CrossColumn, w);
                d->dx = std::max(0, w);
                runBandScript(d);
                fitCrossColumn(d->dx, x, startPage);
                DrawCrossCell(d, x);
                d->DoAggregate();
                if (isDataBand())
                    DoAggregate();
                x = frClampGeometry(qint64(x) + d->dx);
                ++p.CrossColumn;
                columns->Next();
            }
        }
    }
    if (TfrBand *footer = existing(p.Bands[btCrossFooter])) {
        runBandScript(footer);
        fitCrossColumn(footer->dx, x, startPage);
        DrawCrossCell(footer, x);
        footer->InitValues();
    }
    // The next horizontal band goes on on the page where this one started.
    pageNo = startPage;
    g.frCurrentBand = this;
}

} // namespace report
