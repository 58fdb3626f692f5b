#include "designer/core/aligncommands.h"

#include "designer/core/designercore.h"
#include "report/objects/frbandview.h"
#include "report/objects/frpage.h"

#include <algorithm>
#include <vector>

namespace designer
{

using report::TfrPage;
using report::TfrView;

namespace align_detail
{

bool isBand(const TfrView *v)
{
    return dynamic_cast<const report::TfrBandView *>(v) != nullptr;
}

bool movable(const TfrView *v)
{
    return !(v->Restrictions & frrfDontMove);
}

// Positions compared as numbers; among equal ones an object later in the
// page's list comes first.
void sortBy(std::vector<std::pair<TfrView *, int>> &list, bool vertical)
{
    std::stable_sort(list.begin(), list.end(), [vertical](const auto &a, const auto &b) {
        const int pa = vertical ? a.first->y : a.first->x;
        const int pb = vertical ? b.first->y : b.first->x;
        if (pa != pb)
            return pa < pb;
        return a.second > b.second;
    });
}

} // namespace align_detail

bool AlignCommands::run(int n)
{
    using namespace align_detail;
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (!page || n < 1 || n > 10 || DesignerState::restricted(drNoMove))
        return false;
    std::vector<std::pair<TfrView *, int>> selected; // object, index in the page
    bool bandSelected = false;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TfrView *v = page->Object(i);
        if (!v->Selected)
            continue;
        selected.emplace_back(v, i);
        bandSelected = bandSelected || isBand(v);
    }
    if ((n == 1 || n == 5) && bandSelected)
        return rowAlongBand(n == 5);
    static constexpr int least[11] = {0, 2, 2, 1, 3, 2, 2, 2, 1, 3, 2};
    if (int(selected.size()) < least[n])
        return false;

    TfrView *top = selected.back().first;
    TfrView *ref = st.LastSelected();
    if (!ref || !ref->Selected)
        ref = top;
    // Each extreme starts from the top-most selected object and gives way
    // only to a strictly more extreme one.
    TfrView *leftmost = top, *rightmost = top, *topmost = top, *bottommost = top;
    for (const auto &[v, i] : selected) {
        if (v->x < leftmost->x)
            leftmost = v;
        if (qint64(v->x) + v->dx > qint64(rightmost->x) + rightmost->dx)
            rightmost = v;
        if (v->y < topmost->y)
            topmost = v;
        if (qint64(v->y) + v->dy > qint64(bottommost->y) + bottommost->dy)
            bottommost = v;
    }

    m_core.undo.RecordUndo(ukEdited);
    st.View.undoStateChanged();
    const QSize surface = m_core.surface.surfaceSize();
    const int surfaceWidth = surface.width() > 0 ? surface.width() : page->PageWidth();
    const int surfaceHeight = surface.height() > 0 ? surface.height() : page->PageHeight();
    const auto clamp = [](qint64 v) { return report::frClampGeometry(v); };

    if (n == 4 || n == 9) {
        const bool vertical = n == 9;
        auto sorted = selected;
        sortBy(sorted, vertical);
        auto pos = [vertical](TfrView *v) -> qint32 & { return vertical ? v->y : v->x; };
        const qint64 step = (qint64(pos(sorted.back().first)) - pos(sorted.front().first)) /
                            qint64(sorted.size() - 1);
        for (size_t i = 1; i + 1 < sorted.size(); ++i)
            if (movable(sorted[i].first))
                pos(sorted[i].first) = clamp(pos(sorted[i - 1].first) + step);
    } else {
        qint64 shift = 0;
        if (n == 3)
            shift = leftmost->x +
                    (qint64(rightmost->x) + rightmost->dx - leftmost->x - surfaceWidth) / 2;
        if (n == 8)
            shift = topmost->y +
                    (qint64(bottommost->y) + bottommost->dy - topmost->y - surfaceHeight) / 2;
        for (const auto &[v, i] : selected) {
            if (!movable(v))
                continue;
            switch (n) {
            case 1:
                v->x = ref->x;
                break;
            case 2:
                v->x = clamp(qint64(ref->x) + ref->dx / 2 - v->dx / 2);
                break;
            case 3:
                v->x = clamp(v->x - shift);
                break;
            case 5:
                v->x = clamp(qint64(ref->x) + ref->dx - v->dx);
                break;
            case 6:
                v->y = ref->y;
                break;
            case 7:
                v->y = clamp(qint64(ref->y) + ref->dy / 2 - v->dy / 2);
                break;
            case 8:
                v->y = clamp(v->y - shift);
                break;
            case 10:
                v->y = clamp(qint64(ref->y) + ref->dy - v->dy);
                break;
            default:
                break;
            }
        }
    }
    st.computeGroupRect();
    st.View.selectionChanged();
    st.View.positionChanged();
    m_core.surface.Draw(10000, std::nullopt);
    return true;
}

bool AlignCommands::rowAlongBand(bool fromRight)
{
    using namespace align_detail;
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    TfrView *band = nullptr;
    TfrView *top = nullptr;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TfrView *v = page->Object(i);
        if (!v->Selected)
            continue;
        if (!band && isBand(v))
            band = v;
        top = v;
    }
    // The leftmost (rightmost) selected object gives the row's top.
    TfrView *extreme = top;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TfrView *v = page->Object(i);
        if (!v->Selected)
            continue;
        if (fromRight ? qint64(v->x) + v->dx > qint64(extreme->x) + extreme->dx : v->x < extreme->x)
            extreme = v;
    }
    std::vector<std::pair<TfrView *, int>> row;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TfrView *v = page->Object(i);
        if (!isBand(v) && band->y <= v->y && qint64(v->y) + v->dy <= qint64(band->y) + band->dy)
            row.emplace_back(v, i);
    }
    sortBy(row, false);
    if (row.empty())
        return false;
    // The row's objects need not be selected: all of them are recorded, so
    // that one undo puts every moved object back.
    std::vector<TfrView *> recorded;
    for (const auto &[v, i] : row)
        recorded.push_back(v);
    m_core.undo.RecordObjects(ukEdited, recorded);
    st.View.undoStateChanged();
    const int y = extreme->y;
    if (!fromRight) {
        qint64 x = page->LeftMarginPos();
        for (const auto &[v, i] : row) {
            if (movable(v)) {
                v->x = report::frClampGeometry(x);
                v->y = y;
            }
            x += v->dx;
        }
    } else {
        qint64 x = page->RightMarginPos();
        for (auto it = row.rbegin(); it != row.rend(); ++it) {
            TfrView *v = it->first;
            if (movable(v)) {
                v->x = report::frClampGeometry(x - v->dx);
                v->y = y;
            }
            x -= v->dx;
        }
    }
    st.computeGroupRect();
    m_core.surface.Draw(10000, std::nullopt);
    return true;
}

} // namespace designer
