// Subreports: another page of the template printed inside a band, beside
// the band's other subreports. The target page is formed once in record
// mode (its data loops note which band prints at which record), then the
// notes are played onto the prepared pages, several pages side by side,
// continuing on new pages when they run past the bottom.
#include "report/build/frbuild.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <algorithm>

namespace report
{

namespace
{

// Pages being played right now, outermost first. A template whose
// subreports lead back to one of them would form that page again while its
// notes are being played: such a subreport is left out.
std::vector<TfrPage *> s_playing;

class FrPlaying
{
public:
    explicit FrPlaying(TfrPage *page) { s_playing.push_back(page); }
    ~FrPlaying() { s_playing.pop_back(); }
    FrPlaying(const FrPlaying &) = delete;
    FrPlaying &operator=(const FrPlaying &) = delete;
};

bool isPlaying(const TfrPage *page)
{
    return std::find(s_playing.begin(), s_playing.end(), page) != s_playing.end();
}

// The page a subreport object prints, or nullptr when it has none to print.
TfrPage *targetOf(const TfrView *view, const TfrPage *outer)
{
    if (view->Typ != otSubReport || !view->Visible)
        return nullptr;
    TfrReport *report = fr().frCurrentReport;
    if (!report)
        return nullptr;
    TfrPage *page = report->Pages().GetPage(static_cast<const TfrSubReportView *>(view)->SubPage);
    if (!page || page == outer || page->PageTypeValue != ptReport || !page->Initialized ||
        !page->Bands[btNone])
        return nullptr;
    return page;
}

} // namespace

void TfrBand::PrepareSubReports()
{
    if (!Parent)
        return;
    TfrPage &outer = *Parent;
    const int count = std::max(0, int(Objects.size()) - SubIndex);
    // Every subreport object of the band has its flag, however many there are.
    SubReportEOF.assign(size_t(count), true);
    m_subPages.assign(size_t(count), nullptr);
    SubReportsDone = true;
    for (int i = 0; i < count; ++i) {
        TfrView *v = Objects[size_t(SubIndex + i)];
        TfrPage *sub = targetOf(v, &outer);
        if (!sub || isPlaying(sub))
            continue;
        sub->ClearRecList();
        sub->InterruptedBand = nullptr;
        sub->RecordMode = true;
        sub->FormPage();
        sub->CurY = frClampGeometry(qint64(v->y) + y);
        sub->CurBottomY = outer.CurBottomY;
        sub->XAdjust = frClampGeometry(qint64(outer.XAdjust) + v->x);
        sub->LeftMargin = 0;
        sub->Columns = 1;
        sub->PlayPosition = 0;
        sub->FreshY = -1;
        SubReportEOF[size_t(i)] = false;
        m_subPages[size_t(i)] = sub;
    }
    outer.InterruptedBand = nullptr;
}

void TfrBand::DoSubReports()
{
    if (!Parent)
        return;
    TfrPage &outer = *Parent;
    const int count = int(std::min(SubReportEOF.size(), m_subPages.size()));
    // Only the pages this band formed: a left-out one may be playing above.
    auto pageAt = [&](int i) { return m_subPages[size_t(i)]; };
    FrPlaying playing(&outer);
    do {
        if (!SubReportsDone) {
            // The previous pass stopped at the bottom: every page goes on at
            // the top of the new one. Nothing is printed there yet, so a band
            // taller than the page prints clipped rather than asking for a
            // new page without end.
            for (int i = 0; i < count; ++i)
                if (TfrPage *sub = pageAt(i); sub && !SubReportEOF[size_t(i)]) {
                    sub->CurY = outer.CurY;
                    sub->CurBottomY = outer.CurBottomY;
                    sub->FreshY = sub->CurY;
                }
        }
        SubReportsDone = true;
        MaxY = outer.CurY;
        for (int i = 0; i < count; ++i) {
            if (SubReportEOF[size_t(i)])
                continue;
            TfrPage *sub = pageAt(i);
            if (!sub) {
                SubReportEOF[size_t(i)] = true;
                continue;
            }
            if (!sub->PlayRecList()) {
                SubReportEOF[size_t(i)] = true;
                MaxY = std::max(MaxY, sub->CurY);
            } else {
                SubReportsDone = false;
            }
        }
        if (!SubReportsDone) {
            if (outer.IsSubReportPage && outer.RecordMode) {
                // The page playing this band goes on with it on the next page.
                outer.InterruptedBand = this;
                return;
            }
            outer.NewPage();
        }
    } while (!SubReportsDone && !frBuildTerminated());
    for (int i = 0; i < count; ++i)
        if (TfrPage *sub = pageAt(i))
            sub->ClearRecList();
    outer.CurY = MaxY;
    outer.InterruptedBand = nullptr;
}

bool TfrPage::PlayRecList()
{
    FrPlaying playing(this);
    // Indexes, not iterators: a band's script may add notes while it plays.
    while (PlayPosition < int(RecordList.size())) {
        if (frBuildTerminated())
            return false;
        const FrBandRecord record = RecordList[size_t(PlayPosition)];
        TfrBand *band = record.band;
        switch (record.kind) {
        case 0:
            if (!InterruptedBand) {
                if (band->Draw())
                    return true;
            } else {
                InterruptedBand->DoSubReports();
                if (InterruptedBand)
                    return true;
            }
            break;
        case 1:
            if (TfrDataset *ds = band->DataSet())
                ds->First();
            band->ResetBand(1);
            break;
        case 2:
            if (TfrDataset *ds = band->DataSet())
                ds->Next();
            ++RecordCount;
            ++band->LineThroughNo;
            ++band->LineNo;
            break;
        default:
            break;
        }
        ++PlayPosition;
    }
    return false;
}

} // namespace report
