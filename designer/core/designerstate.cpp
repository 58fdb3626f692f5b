#include "designer/core/designerstate.h"

#include "designer/core/designerglobals.h"

#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <algorithm>

namespace designer
{

using report::TfrBandView;
using report::TfrPage;
using report::TfrView;

DesignerState::DesignerState(report::TfrReportDesigner &designer, DesignerView &view)
    : Designer(designer), View(view), Report(report::fr().frCurrentReport)
{
}

int DesignerState::DesignMode() const
{
    return Designer.DesignMode;
}

TfrPage *DesignerState::page() const
{
    return dynamic_cast<TfrPage *>(Designer.Page);
}

bool DesignerState::isDialogPage() const
{
    const TfrPage *p = page();
    return p && p->PageType() == report::ptDialog;
}

bool DesignerState::restricted(int bit)
{
    return (report::frObjects().frDesignerRestrictions >> bit) & 1;
}

bool DesignerState::isModified() const
{
    if (DesignMode() == 0 || !Report)
        return OwnModified;
    return Report->Modified;
}

void DesignerState::storeModified(bool value)
{
    if (DesignMode() == 0 || !Report) {
        OwnModified = value;
        return;
    }
    Report->Modified = value;
    if (value)
        Report->ChangedInDesign = true;
}

void DesignerState::setModified(bool value)
{
    Designer.SetModified(value);
}

void DesignerState::markModified(bool value)
{
    // The report's flag (or the window's own in the prepared-page editor),
    // then the window's buttons.
    storeModified(value);
    setModified(value);
}

void DesignerState::turnToPage(int n)
{
    if (!Report || Report->Pages().Count() == 0)
        return;
    n = std::clamp(n, 0, Report->Pages().Count() - 1);
    CurPage = n;
    Designer.Page = Report->Pages()[n];
    View.pageTabsChanged();
    View.showPage(n);
}

TfrView *DesignerState::LastSelected() const
{
    const TfrPage *p = page();
    if (!p || !LastSelectedID)
        return nullptr;
    const int i = p->IndexOfObjectID(*LastSelectedID);
    return i < 0 ? nullptr : p->Object(i);
}

void DesignerState::setLastSelected(TfrView *view)
{
    if (view)
        LastSelectedID = view->ID;
    else
        LastSelectedID.reset();
}

void DesignerState::SelectAllObjects()
{
    SelectedCount = 0;
    if (TfrPage *p = page())
        for (const auto &v : p->Objects) {
            v->Selected = true;
            ++SelectedCount;
        }
}

void DesignerState::UnselectAll()
{
    SelectedCount = 0;
    if (TfrPage *p = page())
        for (const auto &v : p->Objects)
            v->Selected = false;
}

int DesignerState::TopSelectedIndex() const
{
    const TfrPage *p = page();
    if (!p)
        return -1;
    for (int i = p->ObjectCount() - 1; i >= 0; --i)
        if (p->Objects[size_t(i)]->Selected)
            return i;
    return p->ObjectCount() - 1;
}

TfrBandView *DesignerState::FirstSelectedBand() const
{
    if (const TfrPage *p = page())
        for (const auto &v : p->Objects)
            if (v->Selected && v->Typ == report::otBand)
                if (auto *band = dynamic_cast<TfrBandView *>(v.get()))
                    return band;
    return nullptr;
}

int DesignerState::countSelected() const
{
    int n = 0;
    if (const TfrPage *p = page())
        for (const auto &v : p->Objects)
            n += v->Selected ? 1 : 0;
    return n;
}

int DesignerState::selectionState() const
{
    int state = 0;
    const TfrPage *p = page();
    if (p && SelectedCount == 1) {
        for (const auto &v : p->Objects) {
            if (!v->Selected)
                continue;
            if (v->Typ == report::otBand)
                state |= ssOneBand;
            else if (dynamic_cast<report::TfrMemoView *>(v.get()))
                state |= ssOneMemo;
            else
                state |= ssOneOther;
            break;
        }
    } else if (p && SelectedCount > 1) {
        state |= ssSeveral;
    }
    if (!designerGlobals().clipboard.empty())
        state |= ssClipboard;
    return state;
}

QRect DesignerState::selectionBox() const
{
    QRect box;
    bool first = true;
    if (const TfrPage *p = page())
        for (const auto &v : p->Objects) {
            if (!v->Selected)
                continue;
            const int l = std::min(v->x, v->x + v->dx), t = std::min(v->y, v->y + v->dy);
            const int r = std::max(v->x, v->x + v->dx), b = std::max(v->y, v->y + v->dy);
            if (first) {
                box = edges(l, t, r, b);
                first = false;
            } else {
                box = edges(std::min(box.left(), l), std::min(box.top(), t),
                            std::max(box.right(), r), std::max(box.bottom(), b));
            }
        }
    return box;
}

QRegion DesignerState::selectionRegionOfKind(int kind) const
{
    QRegion region;
    if (const TfrPage *p = page())
        for (const auto &v : p->Objects)
            if (v->Selected)
                region += v->GetClipRegion(kind != 0);
    return region;
}

bool DesignerState::BandTypeUsed(int type) const
{
    if (const TfrPage *p = page())
        for (const auto &v : p->Objects)
            if (v->Typ == report::otBand)
                if (auto *band = dynamic_cast<TfrBandView *>(v.get());
                    band && band->GetBandType() == type)
                    return true;
    return false;
}

int DesignerState::FirstFreeBandType() const
{
    for (int t = report::btReportTitle; t <= report::btChild; ++t)
        if (!BandTypeUsed(t))
            return t;
    return report::btMasterData;
}

void DesignerState::SortObjects()
{
    TfrPage *p = page();
    if (!p)
        return;
    auto &list = p->Objects;
    auto isBand = [](const std::unique_ptr<TfrView> &v) { return v->Typ == report::otBand; };
    auto bandType = [](const std::unique_ptr<TfrView> &v) {
        auto *band = dynamic_cast<TfrBandView *>(v.get());
        return band ? band->GetBandType() : -1;
    };
    // Bands to the front, keeping their relative order.
    auto bandsEnd = std::stable_partition(list.begin(), list.end(), isBand);
    // The first overlay band first of all.
    auto overlay = std::find_if(list.begin(), bandsEnd,
                                [&](const auto &v) { return bandType(v) == report::btOverlay; });
    if (overlay != bandsEnd)
        std::rotate(list.begin(), overlay, overlay + 1);
    // Cross bands at the end of the band block.
    std::stable_partition(list.begin(), bandsEnd, [&](const auto &v) {
        const int t = bandType(v);
        return t < report::btCrossHeader || t > report::btCrossFooter;
    });
}

double DesignerState::PixelsToUnits(double x) const
{
    switch (Settings.Units) {
    case 1:
        return x / 18 * 5;
    case 2:
        return x / 18 * 5 / 25.4;
    default:
        return x;
    }
}

double DesignerState::UnitsToPixels(double x) const
{
    switch (Settings.Units) {
    case 1:
        return x / 5 * 18;
    case 2:
        return 25.4 * x / 5 * 18;
    default:
        return x;
    }
}

void DesignerState::computeGroupRect()
{
    const TfrPage *p = page();
    if (!p || SelectedCount < 2) {
        CornerIndex = -1;
        GroupLeft = GroupTop = 10000;
        GroupValid = false;
        return;
    }
    qint64 right = 0, bottom = 0;
    CornerIndex = -1;
    GroupLeft = GroupTop = 10000;
    for (int i = 0; i < p->ObjectCount(); ++i) {
        TfrView *v = p->Objects[size_t(i)].get();
        if (!v->Selected)
            continue;
        // Kept within the range files and edits hold, so the rectangle's own
        // arithmetic (x + width - 1) cannot overflow.
        v->SavedBounds = QRect(report::frClampGeometry(v->x), report::frClampGeometry(v->y),
                               report::frClampGeometry(v->dx), report::frClampGeometry(v->dy));
        const qint64 r = qint64(v->x) + v->dx, b = qint64(v->y) + v->dy;
        if (r > right || (r == right && b > bottom)) {
            right = r;
            bottom = b;
            CornerIndex = i;
        }
        GroupLeft = std::min(GroupLeft, v->x);
        GroupTop = std::min(GroupTop, v->y);
    }
    RubberRect = edges(GroupLeft, GroupTop, int(right), int(bottom));
    OldRubberRect = RubberRect;
    GroupValid = true;
}

void DesignerState::buildSelectionRegion()
{
    SelectionRegion = selectionRegionOfKind(1);
    UndoPending = false;
}

} // namespace designer
