#include "designer/core/keycommands.h"

#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"

#include "report/core/frutils.h"
#include "report/objects/frbandview.h"
#include "report/objects/frpage.h"

#include <optional>

namespace designer
{

using report::TfrPage;
using report::TfrView;

// Named, not anonymous: the module builds as one unity source.
namespace keyrules
{

// Attribute commands of the tool bars (their tags).
constexpr int kTagLineWidth = 6;  // C4
constexpr int kTagFontSize = 8;   // C3
constexpr int kTagBold = 9;       // FnB1
constexpr int kTagItalic = 10;    // FnB2
constexpr int kTagUnderline = 18; // FnB3
constexpr int kTagAllFrames = 20; // FrB5
constexpr int kTagNoFrame = 21;   // FrB6

// Vertical scroll step of PgUp and PgDn.
constexpr int kPageScroll = 200;

// Objects further than this (score) are not reached by the arrow keys.
constexpr qint64 kOutOfReach = 10000;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

struct Edges {
    qint64 left, top, right, bottom;
};

Edges edgesOf(const TfrView &v)
{
    return {v.x, v.y, qint64(v.x) + v.dx, qint64(v.y) + v.dy};
}

// How far o lies across the direction of travel from t (along the other
// axis): 0 when o spans t, the gap when o lies wholly before or after it.
qint64 crossTerm(qint64 tLow, qint64 tHigh, qint64 oLow, qint64 oHigh)
{
    if (oHigh <= tLow)
        return tLow - oHigh;
    if (oLow >= tHigh)
        return oLow - tHigh;
    if (oLow <= tLow && oHigh >= tHigh)
        return 0;
    return oLow - tLow;
}

// Score of o seen from t moving by (dx, dy); kOutOfReach when o is not in
// that direction.
qint64 directionScore(const Edges &t, const Edges &o, int dx, int dy)
{
    if (dx > 0) {
        if (o.left <= t.left)
            return kOutOfReach;
        const qint64 c = crossTerm(t.top, t.bottom, o.top, o.bottom);
        return o.left >= t.right ? c + o.left - t.right : c + o.left - t.left;
    }
    if (dx < 0) {
        if (o.right >= t.right)
            return kOutOfReach;
        const qint64 c = crossTerm(t.top, t.bottom, o.top, o.bottom);
        return o.right <= t.left ? c + t.left - o.right : c + t.right - o.right;
    }
    if (dy > 0) {
        if (o.top <= t.top)
            return kOutOfReach;
        const qint64 c = crossTerm(t.left, t.right, o.left, o.right);
        return o.top >= t.bottom ? c + o.top - t.bottom : c + o.top - t.top;
    }
    if (o.bottom >= t.bottom)
        return kOutOfReach;
    const qint64 c = crossTerm(t.left, t.right, o.left, o.right);
    return o.bottom <= t.top ? c + t.top - o.bottom : c + t.bottom - o.bottom;
}

bool mayDelete(const TfrView &v)
{
    return v.Selected && !(v.Restrictions & frrfDontDelete);
}

} // namespace keyrules

using namespace keyrules;

KeyCommands::KeyCommands(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo,
                         GestureEngine &gestures, DesignerCore &core)
    : m_state(state), m_surface(surface), m_undo(undo), m_gestures(gestures), m_core(core)
{
}

void KeyCommands::FormKeyDown(int &key, Qt::KeyboardModifiers modifiers)
{
    // The keypad flag says where a key is, not how it is modified.
    const Qt::KeyboardModifiers mods =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    DesignerView &view = m_state.View;
    // Asked again at each test: an earlier one may have changed the selection.
    const auto anySelected = [this] { return m_state.SelectedCount > 0; };
    const auto oneSelected = [this] { return m_state.SelectedCount == 1; };

    if (key == Qt::Key_Escape && !m_surface.Down)
        escape();
    if (key == Qt::Key_F11 && m_state.Requests.inspectorShow)
        m_state.Requests.inspectorShow();
    if (isEnter(key) && view.fontSizeBoxHasFocus()) {
        runAttributeCommand(kTagFontSize);
        key = 0;
    }
    if (isEnter(key) && view.lineWidthBoxHasFocus()) {
        runAttributeCommand(kTagLineWidth);
        key = 0;
    }
    if (key == Qt::Key_Insert && mods == Qt::NoModifier && m_state.page() &&
        !m_state.isDialogPage()) {
        m_core.ShowDBFieldsWindow();
        key = 0;
    }
    // Delete typed in a tool-bar box edits the box, never the page.
    if (key == Qt::Key_Delete && !shift && anySelected() && !textBoxHasFocus()) {
        DeleteSelectedObjects();
        key = 0;
    }
    if (isEnter(key) && oneSelected() && m_state.Requests.objectEditor) {
        if (TfrView *v = singleSelected())
            m_state.Requests.objectEditor(v, ctrl);
    }
    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9 && anySelected()) {
        view.setLineWidthText(QString::number(key - Qt::Key_0));
        runAttributeCommand(kTagLineWidth);
        key = 0;
    }
    if (ctrl && key == Qt::Key_F && anySelected()) {
        runAttributeCommand(kTagAllFrames);
        key = 0;
    }
    if (ctrl && key == Qt::Key_D && anySelected()) {
        runAttributeCommand(kTagNoFrame);
        key = 0;
    }
    if (ctrl && key == Qt::Key_G) {
        m_state.Settings.GridShow = !m_state.Settings.GridShow;
        view.gridOptionsChanged();
        m_surface.Draw(10000, std::nullopt);
        key = 0;
    }
    if (ctrl && oneSelected() && (key == Qt::Key_B || key == Qt::Key_I || key == Qt::Key_U)) {
        const int which = key == Qt::Key_B ? 0 : key == Qt::Key_I ? 1 : 2;
        view.toggleStyleButton(which);
        runAttributeCommand(which == 0 ? kTagBold : which == 1 ? kTagItalic : kTagUnderline);
    }
    // In a tool-bar box the clipboard keys cut, copy and paste its text.
    const bool boxTyping = textBoxHasFocus();
    if (shift && key == Qt::Key_Delete && anySelected() && !boxTyping)
        m_core.CutSelection();
    if (ctrl && key == Qt::Key_Insert && anySelected() && !boxTyping)
        m_core.CopySelection();
    if (shift && key == Qt::Key_Insert && !designerGlobals().clipboard.empty() && !boxTyping)
        m_core.Paste();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        const QRect visible = view.visibleRect();
        view.scrollTo(visible.left(),
                      visible.top() + (key == Qt::Key_PageUp ? -kPageScroll : kPageScroll));
        key = 0;
    }
    // Arrow keys typed in a tool-bar box move its caret, never the objects;
    // with a selection they belong to it (the scroll box must not scroll too).
    if (anySelected() && !textBoxHasFocus()) {
        const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
        const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
        if (dx != 0 || dy != 0) {
            arrow(dx, dy, mods);
            key = 0;
        }
    }
}

void KeyCommands::escape()
{
    DesignerView &view = m_state.View;
    view.pressTool(kToolSelect);
    // Takes away a new object's rectangle and the hover state of the tool.
    m_gestures.mouseLeave();
    m_gestures.mouseMove(Qt::NoButton, Qt::NoModifier, 0, 0);
    m_state.UnselectAll();
    m_state.setLastSelected(nullptr);
    m_surface.Draw(10000, std::nullopt);
    view.selectionChanged();
}

bool KeyCommands::textBoxHasFocus() const
{
    const DesignerView &view = m_state.View;
    return view.fontNameBoxHasFocus() || view.fontSizeBoxHasFocus() || view.lineWidthBoxHasFocus();
}

void KeyCommands::runAttributeCommand(int tag)
{
    if (m_state.Requests.attributeCommand)
        m_state.Requests.attributeCommand(tag);
}

TfrView *KeyCommands::singleSelected() const
{
    const TfrPage *p = m_state.page();
    if (!p || m_state.SelectedCount != 1)
        return nullptr;
    for (const auto &v : p->Objects)
        if (v->Selected)
            return v.get();
    return nullptr;
}

void KeyCommands::RenameChildBandReferences(TfrPage &page, const QString &childName)
{
    for (const auto &v : page.Objects)
        if (auto *band = dynamic_cast<report::TfrBandView *>(v.get()))
            if (!band->ChildBand.isEmpty() && report::frSameText(band->ChildBand, childName))
                band->ChildBand.clear();
}

void KeyCommands::DeleteSelectedObjects()
{
    TfrPage *p = m_state.page();
    if (!p)
        return;
    // Only what really goes is recorded: undoing must never bring back a
    // second copy of an object that stayed on the page.
    std::vector<TfrView *> doomed;
    if (!DesignerState::restricted(drNoDeleteObject))
        for (const auto &v : p->Objects)
            if (mayDelete(*v))
                doomed.push_back(v.get());
    // The bands that stay and lose their link to a child band going now: the
    // same entry keeps them, so that Undo gives back the link with the band.
    // A child band kept out of undo never comes back, nor does its link.
    std::vector<TfrView *> unlinked;
    for (const TfrView *gone : doomed) {
        if (gone->Typ != report::otBand || report::frBandTypeOf(gone) != report::btChild ||
            (gone->Flags & kFlagNoUndo))
            continue;
        for (const auto &v : p->Objects)
            if (auto *band = dynamic_cast<report::TfrBandView *>(v.get()))
                if (!mayDelete(*band) && !band->ChildBand.isEmpty() &&
                    report::frSameText(band->ChildBand, gone->Name))
                    unlinked.push_back(band);
    }
    if (!doomed.empty())
        m_undo.RecordObjects(ukDeleted, doomed, unlinked);
    m_state.SelectionRegion = m_state.selectionRegionOfKind(1);
    m_surface.drawSelection(1);
    if (!doomed.empty())
        for (int i = p->ObjectCount() - 1; i >= 0; --i) {
            TfrView *v = p->Object(i);
            if (!mayDelete(*v))
                continue;
            if (v->Typ == report::otBand && report::frBandTypeOf(v) == report::btChild)
                RenameChildBandReferences(*p, v->Name);
            p->Delete(i);
        }
    m_state.View.pageTabsChanged();
    m_state.UnselectAll();
    m_state.View.selectionChanged();
    m_state.setLastSelected(nullptr);
    m_surface.Draw(10000, std::nullopt);
}

int KeyCommands::NearestObject(int dx, int dy) const
{
    const TfrView *t = singleSelected();
    if (!t)
        return -1;
    const TfrPage *p = m_state.page();
    const Edges te = edgesOf(*t);
    qint64 best = kOutOfReach;
    int found = -1;
    for (int i = 0; i < p->ObjectCount(); ++i) {
        const TfrView *o = p->Object(i);
        if (o->Selected || o->Typ == report::otBand)
            continue;
        const qint64 score = directionScore(te, edgesOf(*o), dx, dy);
        if (score < best) {
            best = score;
            found = i;
        }
    }
    return found;
}

void KeyCommands::arrow(int dx, int dy, Qt::KeyboardModifiers mods)
{
    if (mods & Qt::ControlModifier)
        moveOrResize(dx, dy, false);
    else if (mods & Qt::ShiftModifier)
        moveOrResize(dx, dy, true);
    else if (m_state.SelectedCount == 1)
        jumpOrSnap(dx, dy, mods & Qt::AltModifier);
}

void KeyCommands::moveOrResize(int ddx, int ddy, bool resize)
{
    TfrPage *p = m_state.page();
    if (!p)
        return;
    m_undo.RecordUndo(ukEdited);
    const QRegion before = m_state.selectionRegionOfKind(1);
    m_surface.drawSelection(1);
    const bool canResize = !DesignerState::restricted(drNoResize);
    const bool canMove = !DesignerState::restricted(drNoMove);
    for (const auto &v : p->Objects) {
        if (!v->Selected)
            continue;
        // An object that may not change size moves instead, when it may move.
        if (resize && canResize && !(v->Restrictions & frrfDontSize)) {
            v->dx = report::frClampGeometry(qint64(v->dx) + ddx);
            v->dy = report::frClampGeometry(qint64(v->dy) + ddy);
        } else if (canMove && !(v->Restrictions & frrfDontMove)) {
            v->x = report::frClampGeometry(qint64(v->x) + ddx);
            v->y = report::frClampGeometry(qint64(v->y) + ddy);
        }
    }
    m_state.View.positionChanged();
    m_state.View.selectionChanged();
    m_state.computeGroupRect();
    redrawSelection(before);
}

void KeyCommands::redrawSelection(const QRegion &before)
{
    // Draw puts the handles back at the new place.
    m_surface.Draw(m_state.TopSelectedIndex(), before + m_state.selectionRegionOfKind(1));
}

void KeyCommands::jumpOrSnap(int dx, int dy, bool snap)
{
    TfrView *t = singleSelected();
    if (!t)
        return;
    const int w = NearestObject(dx, dy);
    if (w >= 0) {
        TfrView *winner = m_state.page()->Object(w);
        if (!snap) {
            m_surface.drawSelection(1);
            m_state.UnselectAll();
            winner->Selected = true;
            m_state.SelectedCount = 1;
            m_state.setLastSelected(winner);
            m_surface.drawSelection(1);
        } else if (!DesignerState::restricted(drNoMove) && !(t->Restrictions & frrfDontMove)) {
            const Edges te = edgesOf(*t), we = edgesOf(*winner);
            std::optional<qint64> newX, newY;
            if (dx > 0 && te.right <= we.left)
                newX = we.left - t->dx;
            else if (dy > 0 && te.bottom <= we.top)
                newY = we.top - t->dy;
            else if (dx < 0 && we.right <= te.left)
                newX = we.right;
            else if (dy < 0 && we.bottom <= te.top)
                newY = we.bottom;
            const qint32 x = newX ? report::frClampGeometry(*newX) : t->x;
            const qint32 y = newY ? report::frClampGeometry(*newY) : t->y;
            // Like every other move, one that changes something can be undone.
            if (x != t->x || y != t->y) {
                m_undo.RecordUndo(ukEdited);
                t->x = x;
                t->y = y;
                m_state.computeGroupRect();
                m_surface.Draw(10000, std::nullopt);
                m_state.View.positionChanged();
            }
        }
    }
    m_state.View.selectionChanged();
}

} // namespace designer
