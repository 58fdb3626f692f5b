#include "designer/core/gestureengine.h"

#include "designer/core/designerglobals.h"
#include "designer/core/designerstate.h"
#include "designer/core/surfacerenderer.h"
#include "designer/core/undomanager.h"

#include "report/core/frlibrary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"
#include "report/objects/frview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace designer
{

using report::frClampGeometry;
using report::TfrBandView;
using report::TfrPage;
using report::TfrView;

namespace
{

// Rounding to the nearest integer, halves to the even one.
qint64 rnd(double v)
{
    return qint64(std::nearbyint(v));
}

QRect normalized(const QRect &r)
{
    return edges(std::min(r.left(), r.right()), std::min(r.top(), r.bottom()),
                 std::max(r.left(), r.right()), std::max(r.top(), r.bottom()));
}

bool isEmptyRect(const QRect &r)
{
    return r.left() == r.right() && r.top() == r.bottom();
}

// A negative width or height becomes positive, the origin moving by it;
// true when the object was turned over on either axis.
bool normalizeObject(TfrView *v)
{
    bool turned = false;
    if (v->dx < 0) {
        v->x = frClampGeometry(qint64(v->x) + v->dx);
        v->dx = frClampGeometry(-qint64(v->dx));
        turned = true;
    }
    if (v->dy < 0) {
        v->y = frClampGeometry(qint64(v->y) + v->dy);
        v->dy = frClampGeometry(-qint64(v->dy));
        turned = true;
    }
    return turned;
}

bool isBand(const TfrView *v)
{
    return v->Typ == report::otBand;
}

// A handle at (px, py) takes the pointer from 2 pixels before it to 3 after.
bool onHandle(int px, int py, int x, int y)
{
    return px - 2 <= x && x <= px + 3 && py - 2 <= y && y <= py + 3;
}

bool near3(qint64 px, qint64 py, int x, int y)
{
    return std::llabs(px - x) <= 3 && std::llabs(py - y) <= 3;
}

} // namespace

GestureEngine::GestureEngine(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo)
    : m_state(state), m_surface(surface), m_undo(undo)
{
}

bool GestureEngine::down() const
{
    return m_surface.Down;
}

TfrPage *GestureEngine::page() const
{
    return m_state.page();
}

bool GestureEngine::reportPage() const
{
    return page() && !m_state.isDialogPage();
}

int GestureEngine::gridSize() const
{
    return std::max(1, m_state.Settings.GridSize);
}

bool GestureEngine::snapping(Qt::KeyboardModifiers modifiers) const
{
    const bool align = m_state.Settings.GridAlign;
    return modifiers.testFlag(Qt::AltModifier) ? !align : align;
}

int GestureEngine::truncate(int v) const
{
    return v / gridSize() * gridSize();
}

bool GestureEngine::gridStep(bool snap, int &sx, int &sy) const
{
    // A pointer that did not move is no step (and records nothing).
    if (sx == 0 && sy == 0)
        return false;
    if (!snap)
        return true;
    const int g = gridSize();
    if (std::abs(sx) < g && std::abs(sy) < g)
        return false;
    sx = sx / g * g;
    sy = sy / g * g;
    return true;
}

void GestureEngine::setCursor(SurfaceCursor c)
{
    m_state.View.setSurfaceCursor(c);
}

SurfaceCursor GestureEngine::cursor() const
{
    return m_state.View.surfaceCursor();
}

void GestureEngine::xorRubberRect(const QRect &r)
{
    if (!isEmptyRect(r))
        m_surface.xorRect(r);
}

void GestureEngine::xorRubberLine(const QRect &r)
{
    if (!isEmptyRect(r))
        m_surface.rubberLine(r);
}

void GestureEngine::moveRubberTo(int x, int y)
{
    const QRect r = m_state.RubberRect;
    m_state.RubberRect = edges(x, y, x + (r.right() - r.left()), y + (r.bottom() - r.top()));
}

void GestureEngine::clearSelection()
{
    m_state.UnselectAll();
    m_state.SelectedCount = 0;
    m_state.CornerIndex = -1;
    m_state.GroupValid = false;
    m_state.setLastSelected(nullptr);
}

TfrView *GestureEngine::singleSelected() const
{
    if (m_state.SelectedCount != 1)
        return nullptr;
    if (TfrPage *p = page())
        for (const auto &v : p->Objects)
            if (v->Selected)
                return v.get();
    return nullptr;
}

void GestureEngine::updateLastSelected()
{
    if (m_state.SelectedCount == 0) {
        m_state.setLastSelected(nullptr);
    } else if (m_state.SelectedCount == 1) {
        m_state.setLastSelected(singleSelected());
    } else if (TfrView *last = m_state.LastSelected(); last && !last->Selected) {
        m_state.setLastSelected(nullptr);
    }
}

bool GestureEngine::sizeRestricted(const TfrView *v) const
{
    return DesignerState::restricted(drNoResize) || (v->Restrictions & frrfDontSize);
}

bool GestureEngine::moveRestricted(const TfrView *v) const
{
    return DesignerState::restricted(drNoMove) || (v->Restrictions & frrfDontMove);
}

int GestureEngine::surfaceWidth() const
{
    const int w = m_surface.surfaceSize().width();
    if (w > 0)
        return w;
    const TfrPage *p = page();
    return p ? std::max(0, p->PageWidth()) : 0;
}

QSize GestureEngine::DefaultObjectSize() const
{
    const int w = m_state.Settings.GridSize == 18 ? 108 : 96;
    const int size = designerGlobals().lastUsed.FontSize;
    int h = 18;
    if (size == 12 || size == 13)
        h = 20;
    else if (size >= 14 && size <= 16)
        h = 24;
    return {w, h};
}

QString GestureEngine::bandNameBase(const QString &displayText)
{
    // Names are used in scripts and in child-band references: no blank and
    // no apostrophe may stay.
    QString name;
    bool afterBlank = false;
    for (const QChar c : displayText) {
        if (c == u' ') {
            afterBlank = true;
            continue;
        }
        if (c == u'\'' || c == QChar(0x2019))
            continue;
        if (afterBlank && c >= u'a' && c <= u'z')
            name += c.toUpper();
        else
            name += c;
        afterBlank = false;
    }
    return name;
}

void GestureEngine::resetMouseState()
{
    m_surface.Down = false;
    IgnoreNextDown = false;
    RubberBand = false;
    ResizeEdge = 0;
    setCursor(SurfaceCursor::Default);
}

void GestureEngine::selectToolPressed()
{
    m_state.KeepTool = false;
}

void GestureEngine::toolPressed(int, bool shift)
{
    m_state.KeepTool = shift;
    setCursor(SurfaceCursor::Default);
}

// ---------------------------------------------------------------- mouse down

void GestureEngine::mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    CtrlDown = modifiers.testFlag(Qt::ControlModifier);
    if (IgnoreNextDown) {
        IgnoreNextDown = false;
        return;
    }
    TfrPage *p = page();
    if (!p)
        return;
    if (button == Qt::RightButton && down() && RubberBand)
        xorRubberRect(m_state.RubberRect);
    RubberBand = false;
    m_surface.drawSelection(1);
    m_surface.Down = true;

    const SurfaceCursor c = cursor();
    if (button == Qt::LeftButton && (CtrlDown || c == SurfaceCursor::Cross)) {
        RubberBand = true;
        if (c == SurfaceCursor::Cross) {
            if (reportPage())
                xorRubberRect(m_state.RubberRect);
            if (m_state.Settings.GridAlign) {
                x = truncate(x);
                y = truncate(y);
            }
            m_state.OldRubberRect = m_state.RubberRect;
        }
        m_state.RubberRect = edges(x, y, x, y);
        clearSelection();
        return;
    }
    if (button == Qt::LeftButton && c == SurfaceCursor::Pencil) {
        if (m_state.Settings.GridAlign) {
            const int g = gridSize();
            double best = g;
            bool found = false;
            QPoint corner;
            for (const auto &v : p->Objects) {
                const qint64 cx[4] = {v->x, qint64(v->x) + v->dx, qint64(v->x) + v->dx, v->x};
                const qint64 cy[4] = {v->y, v->y, qint64(v->y) + v->dy, qint64(v->y) + v->dy};
                for (int i = 0; i < 4; ++i) {
                    const double d = std::hypot(double(cx[i] - x), double(cy[i] - y));
                    if (d < best) {
                        best = d;
                        corner = QPoint(int(cx[i]), int(cy[i]));
                        found = true;
                    }
                }
            }
            if (found) {
                x = corner.x();
                y = corner.y();
            } else {
                x = int(rnd(double(x) / g) * g);
                y = int(rnd(double(y) / g) * g);
            }
        }
        m_state.RubberRect = edges(x, y, x, y);
        clearSelection();
        LastX = x;
        LastY = y;
        return;
    }
    if (c == SurfaceCursor::Default) {
        TfrView *hit = nullptr;
        for (int i = p->ObjectCount() - 1; i >= 0; --i) {
            TfrView *v = p->Objects[size_t(i)].get();
            if (v->GetClipRegion(false).contains(QPoint(x, y))) {
                hit = v;
                break;
            }
        }
        if (hit) {
            if (modifiers.testFlag(Qt::ShiftModifier)) {
                hit->Selected = !hit->Selected;
                m_state.SelectedCount += hit->Selected ? 1 : -1;
            } else if (!hit->Selected) {
                m_state.UnselectAll();
                hit->Selected = true;
                m_state.SelectedCount = 1;
            }
            updateLastSelected();
        } else {
            clearSelection();
            if (button == Qt::LeftButton) {
                RubberBand = true;
                m_state.RubberRect = edges(x, y, x, y);
                return;
            }
        }
        m_state.computeGroupRect();
    } else if (m_state.SelectedCount >= 2) {
        // A corner or border drag of a group scales from the objects' present
        // bounds, whatever changed them since the group was last measured.
        m_state.computeGroupRect();
    }
    if (m_state.SelectedCount == 0) {
        m_state.CornerIndex = -1;
        m_state.GroupValid = false;
    }
    LastX = x;
    LastY = y;
    Moved = false;
    m_state.UndoPending = true;
    FirstMove = true;
    if (button == Qt::LeftButton) {
        if (m_state.Settings.Selection == 0)
            m_surface.drawSelection(2);
        return;
    }
    if (button == Qt::RightButton) {
        m_surface.drawSelection(1);
        m_surface.Down = false;
        m_state.View.selectionChanged();
        m_state.View.openObjectPopup(QPoint(x, y));
    }
}

// ---------------------------------------------------------------- mouse move

void GestureEngine::hoverCursor(int x, int y)
{
    TfrPage *p = page();
    const int tool = m_state.View.activeTool();
    if (m_state.SelectedCount == 1 && SelectMode && tool != kToolLine) {
        if (TfrView *v = singleSelected()) {
            const int l = v->x, t = v->y;
            const int r = int(qint64(v->x) + v->dx), b = int(qint64(v->y) + v->dy);
            const int mx = int(v->x + qint64(v->dx) / 2), my = int(v->y + qint64(v->dy) / 2);
            SurfaceCursor c = SurfaceCursor::Default;
            if (onHandle(l, t, x, y) || onHandle(r, b, x, y))
                c = SurfaceCursor::SizeNWSE;
            else if (onHandle(r, t, x, y) || onHandle(l, b, x, y))
                c = SurfaceCursor::SizeNESW;
            else if (onHandle(mx, t, x, y) || onHandle(mx, b, x, y))
                c = SurfaceCursor::SizeNS;
            else if (onHandle(l, my, x, y) || onHandle(r, my, x, y))
                c = SurfaceCursor::SizeWE;
            setCursor(c);
        }
    }
    if (m_state.SelectedCount < 2 || !SelectMode || tool == kToolLine || !p)
        return;
    if (m_state.CornerIndex >= 0 && m_state.CornerIndex < p->ObjectCount()) {
        const TfrView *corner = p->Object(m_state.CornerIndex);
        if (onHandle(int(qint64(corner->x) + corner->dx), int(qint64(corner->y) + corner->dy), x,
                     y))
            setCursor(SurfaceCursor::SizeNWSE);
    }
    // A border shared by two selected objects side by side.
    for (const auto &a : p->Objects) {
        if (!a->Selected || isBand(a.get()) || a->Typ == report::otLine)
            continue;
        const qint64 ar = qint64(a->x) + a->dx, ab = qint64(a->y) + a->dy;
        if (!(a->x <= x && x <= ar && a->y <= y && y <= ab))
            continue;
        for (const auto &b : p->Objects) {
            if (b == a || !b->Selected || isBand(b.get()))
                continue;
            const qint64 br = qint64(b->x) + b->dx;
            int border = 0;
            bool match = false;
            if (br == a->x && a->x <= x && x <= qint64(a->x) + 2) {
                border = a->x;
                SplitLeft = b.get();
                SplitRight = a.get();
                match = true;
            } else if (b->x == ar && ar - 2 <= x && x <= ar) {
                border = b->x;
                SplitLeft = a.get();
                SplitRight = b.get();
                match = true;
            }
            if (match) {
                setCursor(SurfaceCursor::HorizontalSplit);
                SplitBorderX = border;
                SplitLine = edges(border, a->y, border, int(ab));
            }
        }
    }
}

void GestureEngine::carryBandObjects(int sx, int sy, Qt::KeyboardModifiers modifiers)
{
    TfrPage *p = page();
    if (!p || !FirstMove || m_state.SelectedCount != 1 || (sx == 0 && sy == 0) ||
        modifiers.testFlag(Qt::AltModifier))
        return;
    TfrView *band = singleSelected();
    if (!band || !isBand(band) || (band->Restrictions & frrfDontMove))
        return;
    const qint64 right = qint64(band->x) + band->dx, bottom = qint64(band->y) + band->dy;
    for (const auto &v : p->Objects) {
        if (isBand(v.get()) || v->Selected)
            continue;
        if (v->x >= band->x && qint64(v->x) + v->dx <= right && v->y >= band->y &&
            qint64(v->y) + v->dy <= bottom) {
            v->Selected = true;
            ++m_state.SelectedCount;
        }
    }
    m_state.View.selectionChanged();
    m_state.computeGroupRect();
}

void GestureEngine::scaleGroup(int sx, int sy)
{
    TfrPage *p = page();
    const int option = m_state.Settings.Selection;
    QRegion before, after;
    if (option == 0)
        m_surface.drawSelection(2);
    QRect &rr = m_state.RubberRect;
    if (qint64(rr.right()) + sx >= rr.left() && qint64(rr.bottom()) + sy >= rr.top())
        rr = edges(rr.left(), rr.top(), frClampGeometry(qint64(rr.right()) + sx),
                   frClampGeometry(qint64(rr.bottom()) + sy));
    const QRect &old = m_state.OldRubberRect;
    const qint64 oldW = qint64(old.right()) - old.left(), oldH = qint64(old.bottom()) - old.top();
    // A group standing on one vertical (horizontal) line has no width
    // (height) to scale by: that axis stays.
    const bool scaleX = oldW != 0, scaleY = oldH != 0;
    const double kx = scaleX ? double(qint64(rr.right()) - rr.left()) / double(oldW) : 1.0;
    const double ky = scaleY ? double(qint64(rr.bottom()) - rr.top()) / double(oldH) : 1.0;
    for (const auto &v : p->Objects) {
        if (!v->Selected)
            continue;
        if (option == 1)
            before += v->GetClipRegion(true);
        if (!sizeRestricted(v.get())) {
            // Both edges come from one product each, so objects that shared
            // an edge before share it after the rounding.
            const QRect &s = v->SavedBounds;
            if (scaleX) {
                const qint64 l = rnd(double(qint64(s.x()) - m_state.GroupLeft) * kx);
                const qint64 r = rnd(double(qint64(s.x()) + s.width() - m_state.GroupLeft) * kx);
                v->x = frClampGeometry(m_state.GroupLeft + l);
                v->dx = frClampGeometry(r - l);
            }
            if (scaleY) {
                const qint64 t = rnd(double(qint64(s.y()) - m_state.GroupTop) * ky);
                const qint64 b = rnd(double(qint64(s.y()) + s.height() - m_state.GroupTop) * ky);
                v->y = frClampGeometry(m_state.GroupTop + t);
                v->dy = frClampGeometry(b - t);
            }
        }
        if (option == 1)
            after += v->GetClipRegion(true);
    }
    if (option == 0) {
        m_surface.drawSelection(2);
    } else {
        m_surface.Draw(10000, before);
        m_surface.Draw(10000, after);
    }
}

void GestureEngine::moveSelection(int sx, int sy)
{
    TfrPage *p = page();
    const int option = m_state.Settings.Selection;
    QRegion before, after;
    if (option == 0)
        m_surface.drawSelection(2);
    for (const auto &v : p->Objects) {
        if (!v->Selected)
            continue;
        if (option == 1)
            before += v->GetClipRegion(true);
        if (!moveRestricted(v.get())) {
            v->x = frClampGeometry(qint64(v->x) + sx);
            v->y = frClampGeometry(qint64(v->y) + sy);
        }
        if (option == 1)
            after += v->GetClipRegion(true);
    }
    if (option == 0)
        m_surface.drawSelection(2);
    else
        m_surface.Draw(10000, before + after);
}

void GestureEngine::resizeOne(int sx, int sy)
{
    TfrView *o = singleSelected();
    if (!o)
        return;
    const int option = m_state.Settings.Selection;
    QRegion damage;
    if (option == 0)
        m_surface.drawSelection(2);
    else
        damage = o->GetClipRegion(true);
    if (!sizeRestricted(o)) {
        const SurfaceCursor c = cursor();
        const qint64 r = qint64(o->x) + o->dx;
        // The edge held is chosen where the drag started and then kept.
        switch (c) {
        case SurfaceCursor::SizeNWSE:
            ResizeEdge =
                (ResizeEdge == 1 || (ResizeEdge != 2 && near3(o->x, o->y, LastX, LastY))) ? 1 : 2;
            break;
        case SurfaceCursor::SizeNESW:
            ResizeEdge =
                (ResizeEdge == 3 || (ResizeEdge != 4 && near3(r, o->y, LastX, LastY))) ? 3 : 4;
            break;
        case SurfaceCursor::SizeWE:
            ResizeEdge = (ResizeEdge == 5 ||
                          (ResizeEdge != 6 && near3(o->x, o->y + qint64(o->dy) / 2, LastX, LastY)))
                             ? 5
                             : 6;
            break;
        case SurfaceCursor::SizeNS:
            ResizeEdge = (ResizeEdge == 7 ||
                          (ResizeEdge != 8 && near3(o->x + qint64(o->dx) / 2, o->y, LastX, LastY)))
                             ? 7
                             : 8;
            break;
        default:
            break;
        }
        qint64 x = o->x, y = o->y, dx = o->dx, dy = o->dy;
        switch (ResizeEdge) {
        case 1:
            x += sx, dx -= sx, y += sy, dy -= sy;
            break;
        case 2:
            dx += sx, dy += sy;
            break;
        case 3:
            y += sy, dx += sx, dy -= sy;
            break;
        case 4:
            x += sx, dx -= sx, dy += sy;
            break;
        case 5:
            x += sx, dx -= sx;
            break;
        case 6:
            dx += sx;
            break;
        case 7:
            y += sy, dy -= sy;
            break;
        case 8:
            dy += sy;
            break;
        default:
            break;
        }
        o->x = frClampGeometry(x);
        o->y = frClampGeometry(y);
        o->dx = frClampGeometry(dx);
        o->dy = frClampGeometry(dy);
        if (normalizeObject(o)) {
            // Turned over: the drag goes on from the opposite edge.
            static constexpr int opposite[9] = {0, 2, 1, 4, 3, 6, 5, 8, 7};
            ResizeEdge = opposite[ResizeEdge];
        }
    }
    if (option == 0) {
        m_surface.drawSelection(2);
    } else {
        damage += o->GetClipRegion(true);
        m_surface.Draw(10000, damage);
    }
}

void GestureEngine::autoScroll(int x, int y)
{
    const QRect visible = m_state.View.visibleRect();
    int left = visible.left(), top = visible.top();
    const int right = visible.left() + visible.width(), bottom = visible.top() + visible.height();
    if (x > right)
        left += x - right;
    if (left > x)
        left = x;
    if (y > bottom)
        top += y - bottom;
    if (top > y)
        top = y;
    if (left == visible.left() && top == visible.top())
        return;
    m_state.View.scrollTo(left, top);
    // A full repaint forgets the marks: the ones of this drag come back.
    m_surface.invalidate();
    m_surface.Draw(10000, std::nullopt);
    if (m_state.Settings.Selection == 0)
        m_surface.drawSelection(2);
}

void GestureEngine::mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                              int y)
{
    TfrPage *p = page();
    if (!p)
        return;
    Moved = true;
    DragActive = false;
    const bool snap = snapping(modifiers);
    const bool isDown = down();
    const SurfaceCursor c0 = cursor();

    // 2. The first real step of a gesture records the selection once.
    if (m_state.UndoPending && isDown && !RubberBand && m_state.SelectedCount > 0) {
        int sx = x - LastX, sy = c0 == SurfaceCursor::HorizontalSplit ? 0 : y - LastY;
        if (gridStep(snap, sx, sy)) {
            if (c0 == SurfaceCursor::Default && SelectMode)
                carryBandObjects(sx, sy, modifiers);
            m_state.buildSelectionRegion();
            m_undo.RecordUndo(ukEdited);
        }
    }

    // 3. Hover: the active tool decides the cursor.
    const int tool = m_state.View.activeTool();
    if (!isDown) {
        if (tool == kToolLine) {
            SelectMode = true;
            setCursor(SurfaceCursor::Pencil);
        } else if (tool == kToolSelect) {
            SelectMode = true;
            setCursor(SurfaceCursor::Default);
            if (m_state.SelectedCount == 0) {
                m_state.ShowRubberSize = false;
                m_state.RubberRect = edges(x, y, x, y);
                m_state.View.positionChanged();
            }
        } else {
            SelectMode = false;
            if (cursor() != SurfaceCursor::Cross) {
                const int tx = snap ? truncate(x) : x, ty = snap ? truncate(y) : y;
                QSize size = DefaultObjectSize();
                if (tool == kToolBand)
                    size.setWidth(surfaceWidth());
                m_state.RubberRect = edges(tx, ty, tx + size.width(), ty + size.height());
                if (reportPage())
                    xorRubberRect(m_state.RubberRect);
                setCursor(SurfaceCursor::Cross);
            }
        }
    }

    // 4. The new object's rectangle follows the pointer.
    if (!SelectMode && !isDown) {
        if (reportPage())
            xorRubberRect(m_state.RubberRect);
        moveRubberTo(snap ? truncate(x) : x, snap ? truncate(y) : y);
        if (reportPage())
            xorRubberRect(m_state.RubberRect);
        m_state.ShowRubberSize = true;
        m_state.View.positionChanged();
        return;
    }

    // 5, 8, 9. Handles and shared borders under the pointer.
    if (!isDown)
        hoverCursor(x, y);

    // 6. Selection frame or new-object area.
    if (isDown && RubberBand) {
        xorRubberRect(m_state.RubberRect);
        const bool cross = cursor() == SurfaceCursor::Cross;
        if (cross && snap) {
            x = truncate(x);
            y = truncate(y);
        }
        m_state.RubberRect = edges(m_state.RubberRect.left(), m_state.RubberRect.top(), x, y);
        xorRubberRect(m_state.RubberRect);
        if (cross) {
            m_state.ShowRubberSize = true;
            m_state.View.positionChanged();
        }
        return;
    }

    const SurfaceCursor c = cursor();
    // 7. The line being drawn.
    if (isDown && c == SurfaceCursor::Pencil) {
        int sx = x - LastX, sy = y - LastY;
        if (!gridStep(snap, sx, sy))
            return;
        xorRubberLine(m_state.RubberRect);
        const QRect &r = m_state.RubberRect;
        m_state.RubberRect = edges(r.left(), r.top(), frClampGeometry(qint64(r.right()) + sx),
                                   frClampGeometry(qint64(r.bottom()) + sy));
        xorRubberLine(m_state.RubberRect);
        LastX += sx;
        LastY += sy;
        return;
    }

    if (isDown && SelectMode) {
        // 10. A shared border follows the pointer horizontally.
        if (m_state.GroupValid && c == SurfaceCursor::HorizontalSplit) {
            int sx = x - LastX, sy = 0;
            if (!gridStep(snap, sx, sy))
                return;
            m_surface.xorLine(SplitLine);
            SplitLine.translate(sx, 0);
            m_surface.xorLine(SplitLine);
            LastX += sx;
            return;
        }
        // 11. A multiple selection scaled by its corner.
        if (m_state.GroupValid && c != SurfaceCursor::Default) {
            int sx = x - LastX, sy = y - LastY;
            if (!gridStep(snap, sx, sy))
                return;
            scaleGroup(sx, sy);
            LastX += sx;
            LastY += sy;
            m_state.ShowRubberSize = false;
            m_state.View.positionChanged();
            return;
        }
        // 12. Moving the selection.
        if (m_state.SelectedCount >= 1 && c == SurfaceCursor::Default) {
            int sx = x - LastX, sy = y - LastY;
            if (gridStep(snap, sx, sy)) {
                carryBandObjects(sx, sy, modifiers);
                FirstMove = false;
                moveSelection(sx, sy);
                LastX += sx;
                LastY += sy;
                m_state.ShowRubberSize = false;
                m_state.View.positionChanged();
            }
        } else if (m_state.SelectedCount == 1 && c != SurfaceCursor::Default) {
            // 13. Resizing one object.
            int sx = x - LastX, sy = y - LastY;
            if (gridStep(snap, sx, sy)) {
                resizeOne(sx, sy);
                LastX += sx;
                LastY += sy;
                m_state.ShowRubberSize = false;
                m_state.View.positionChanged();
            }
        }
    }

    // 14. Dragging past the visible part scrolls it.
    if (buttons == Qt::LeftButton && modifiers == Qt::NoModifier)
        autoScroll(x, y);
}

// ---------------------------------------------------------------- mouse up

bool GestureEngine::currentPageIsSubreportTarget() const
{
    const TfrPage *p = page();
    if (!p || !m_state.Report)
        return false;
    report::TfrPages &pages = m_state.Report->Pages();
    int index = -1;
    for (int i = 0; i < pages.Count(); ++i)
        if (pages[i] == p)
            index = i;
    if (index < 0)
        return false;
    for (int i = 0; i < pages.Count(); ++i)
        for (const auto &v : pages[i]->Objects)
            if (auto *sub = dynamic_cast<const report::TfrSubReportView *>(v.get());
                sub && sub->SubPage == index)
                return true;
    return false;
}

void GestureEngine::insertObject()
{
    TfrPage *p = page();
    SelectMode = true;
    if (reportPage())
        xorRubberRect(m_state.RubberRect);
    if (isEmptyRect(m_state.RubberRect))
        m_state.RubberRect = m_state.OldRubberRect;
    m_state.RubberRect = normalized(m_state.RubberRect);
    RubberBand = false;
    m_inserted = nullptr;

    std::unique_ptr<TfrView> created;
    const int tool = m_state.View.activeTool();
    bool newPage = false;
    if (!DesignerState::restricted(drNoInsertObject)) {
        report::FrObjectGlobals &g = report::frObjects();
        if (tool == kToolBand) {
            std::optional<int> type;
            if (m_state.Requests.bandType)
                type = m_state.Requests.bandType(currentPageIsSubreportTarget());
            if (type) {
                auto band = std::make_unique<TfrBandView>();
                band->SetBandType(*type);
                const QStringList &names = report::fr().frBandNames;
                const int t = band->GetBandType();
                if (t >= 0 && t < names.size())
                    band->BaseName = bandNameBase(names[t]);
                created = std::move(band);
            }
        } else if (tool == kToolSubReport) {
            if (m_state.Report && m_state.DesignMode() == 1) {
                auto sub = report::frCreateObject(report::otSubReport, QString());
                static_cast<report::TfrSubReportView *>(sub.get())->SubPage =
                    m_state.Report->Pages().Count();
                created = std::move(sub);
                newPage = true;
            }
        } else if (tool >= kToolAddInBase) {
            const size_t index = size_t(tool - kToolAddInBase);
            if (index < g.frAddInList.size())
                created = report::frCreateObject(report::otAddIn, g.frAddInList[index].ClassName);
        } else if (tool == kToolMemo || tool == kToolPicture) {
            created = report::frCreateObject(tool, QString());
        }
    }

    if (created) {
        TfrView *o = created.get();
        if (newPage)
            m_state.Report->Pages().Add();
        QRect &rr = m_state.RubberRect;
        QSize size(rr.right() - rr.left(), rr.bottom() - rr.top());
        const bool memo = dynamic_cast<report::TfrMemoView *>(o) != nullptr;
        if (size.width() == 0 || size.height() == 0)
            size = memo ? DefaultObjectSize() : QSize(36, 36);
        if (m_state.isDialogPage())
            size = QSize(o->dx, o->dy);
        rr = edges(rr.left(), rr.top(), frClampGeometry(qint64(rr.left()) + size.width()),
                   frClampGeometry(qint64(rr.top()) + size.height()));
        clearSelection();
        o->SetBounds(rr.left(), rr.top(), rr.right() - rr.left(), rr.bottom() - rr.top());
        if (auto *band = dynamic_cast<TfrBandView *>(o);
            band && band->IsCrossBand() && o->dx > surfaceWidth() - 10)
            o->dx = 40;
        const LastUsedAttributes &last = designerGlobals().lastUsed;
        if (o->Typ != report::otAddIn)
            o->FrameWidth = last.FrameWidth;
        o->FrameColor = last.FrameColor;
        o->FillColor = last.FillColor;
        if (auto *m = dynamic_cast<report::TfrMemoView *>(o)) {
            m->FrameTyp = last.FrameTyp;
            m->Font.Name = last.FontName;
            m->Font.Size = last.FontSize;
            m->Font.Color = last.FontColor;
            m->Font.Style = last.FontStyle;
            m->Font.Charset = last.Charset;
            m->Alignment = last.Alignment;
        }
        o->Selected = true;
        p->Add(std::move(created));
        o->CreateUniqueName();
        if (newPage)
            m_state.View.pageTabsChanged();
        if (isBand(o))
            m_state.SortObjects();
        m_state.SelectedCount = 1;
        m_state.setLastSelected(o);
        m_state.computeGroupRect();
        m_surface.Draw(10000, o->GetClipRegion(true));
        m_state.View.selectionChanged();
        m_undo.RecordUndo(ukInserted);
        m_inserted = o;
        if (m_state.Settings.EditAfterInsert && !m_dropping && !o->IsDialogControl() &&
            m_state.Requests.objectEditor)
            m_state.Requests.objectEditor(o, false);
    }

    if (!m_state.KeepTool) {
        m_state.View.pressTool(kToolSelect);
        setCursor(SurfaceCursor::Default);
    } else if (reportPage()) {
        xorRubberRect(m_state.RubberRect);
    }
}

void GestureEngine::insertLine()
{
    TfrPage *p = page();
    const QRect r = m_state.RubberRect;
    xorRubberLine(r);
    if (isEmptyRect(r) || DesignerState::restricted(drNoInsertObject))
        return;
    std::unique_ptr<TfrView> line = report::frCreateObject(report::otLine, QString());
    TfrView *o = line.get();
    qint64 x = r.left(), y = r.top();
    qint64 dx = qint64(r.right()) - r.left(), dy = qint64(r.bottom()) - r.top();
    if (dx < 0) {
        dx = -dx;
        if (std::llabs(dx) > std::llabs(dy))
            x = r.right();
    }
    if (dy < 0) {
        dy = -dy;
        if (std::llabs(dy) > std::llabs(dx))
            y = r.bottom();
    }
    o->x = frClampGeometry(x);
    o->y = frClampGeometry(y);
    o->dx = frClampGeometry(dx);
    o->dy = frClampGeometry(dy);
    clearSelection();
    const LastUsedAttributes &last = designerGlobals().lastUsed;
    o->FrameWidth = last.LineWidth;
    o->FrameColor = last.FrameColor;
    o->Selected = true;
    p->Add(std::move(line));
    o->CreateUniqueName();
    m_state.SelectedCount = 1;
    m_state.setLastSelected(o);
    m_state.computeGroupRect();
    m_surface.Draw(10000, o->GetClipRegion(true));
    m_state.View.selectionChanged();
    m_undo.RecordUndo(ukInserted);
    m_inserted = o;
}

void GestureEngine::finishRubberBand()
{
    TfrPage *p = page();
    xorRubberRect(m_state.RubberRect);
    RubberBand = false;
    const QRect r = normalized(m_state.RubberRect);
    m_state.RubberRect = r;
    auto touches = [&](const TfrView *v) {
        return v->x <= r.right() && qint64(v->x) + v->dx >= r.left() && v->y <= r.bottom() &&
               qint64(v->y) + v->dy >= r.top();
    };
    m_state.UnselectAll();
    int count = 0;
    for (const auto &v : p->Objects)
        if (!isBand(v.get()) && touches(v.get())) {
            v->Selected = true;
            ++count;
        }
    if (count == 0)
        for (const auto &v : p->Objects)
            if (touches(v.get())) {
                v->Selected = true;
                ++count;
            }
    m_state.SelectedCount = count;
    updateLastSelected();
    m_state.computeGroupRect();
    m_state.View.selectionChanged();
    m_surface.drawSelection(1);
}

void GestureEngine::mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (button != Qt::LeftButton)
        return;
    TfrPage *p = page();
    m_surface.Down = false;
    if (!p) {
        RubberBand = false;
        Moved = false;
        ResizeEdge = 0;
        return;
    }
    if (m_state.Settings.Selection == 0)
        m_surface.drawSelection(2);
    const SurfaceCursor c = cursor();
    if (c == SurfaceCursor::Cross) {
        insertObject();
    } else if (c == SurfaceCursor::Pencil) {
        insertLine();
    } else if (RubberBand) {
        finishRubberBand();
    } else if (Moved && m_state.GroupValid && c == SurfaceCursor::HorizontalSplit) {
        m_surface.xorLine(SplitLine);
        const int shift = SplitLine.left() - SplitBorderX;
        TfrView *l = SplitLeft, *r = SplitRight;
        // The two objects must still be on the page (an undo may have gone
        // between hover and release).
        auto onPage = [&](TfrView *v) {
            for (const auto &o : p->Objects)
                if (o.get() == v)
                    return true;
            return false;
        };
        if (l && r && onPage(l) && onPage(r) && !DesignerState::restricted(drNoResize) &&
            !DesignerState::restricted(drNoMove) && !(l->Restrictions & frrfDontSize) &&
            !(r->Restrictions & (frrfDontSize | frrfDontMove)) && qint64(l->dx) + shift > 0 &&
            qint64(r->dx) - shift > 0) {
            l->dx = frClampGeometry(qint64(l->dx) + shift);
            r->x = frClampGeometry(qint64(r->x) + shift);
            r->dx = frClampGeometry(qint64(r->dx) - shift);
        }
        m_state.computeGroupRect();
        m_surface.Draw(m_state.TopSelectedIndex(), m_state.SelectionRegion);
    } else if (Moved && m_state.GroupValid && c != SurfaceCursor::Default) {
        m_surface.Draw(m_state.TopSelectedIndex(), m_state.SelectionRegion);
        m_state.computeGroupRect();
    } else if (!Moved) {
        m_state.View.selectionChanged();
        m_surface.drawSelection(1);
    } else if (m_state.SelectedCount >= 2) {
        m_surface.Draw(m_state.TopSelectedIndex(), m_state.SelectionRegion);
        m_state.computeGroupRect();
        m_state.View.selectionChanged();
    } else if (m_state.SelectedCount == 1) {
        if (TfrView *o = singleSelected()) {
            normalizeObject(o);
            if (c != SurfaceCursor::Default)
                o->SpareHook();
        }
        m_surface.Draw(m_state.TopSelectedIndex(), m_state.SelectionRegion);
        m_state.View.selectionChanged();
    }
    Moved = false;
    ResizeEdge = 0;
}

// ---------------------------------------------------------------- others

void GestureEngine::doubleClick()
{
    m_surface.Down = false;
    TfrPage *p = page();
    if (!p)
        return;
    if (m_state.SelectedCount == 0) {
        IgnoreNextDown = true;
        if (m_state.isDialogPage()) {
            if (m_state.Requests.pageScript)
                m_state.Requests.pageScript();
        } else if (m_state.Requests.pageOptions && !DesignerState::restricted(drNoPageOptions)) {
            m_state.Requests.pageOptions();
        }
    } else if (m_state.SelectedCount == 1) {
        IgnoreNextDown = true;
        if (TfrView *o = singleSelected(); o && m_state.Requests.objectEditor)
            m_state.Requests.objectEditor(o, CtrlDown);
    }
}

void GestureEngine::mouseLeave()
{
    if ((!SelectMode && !down()) || DragActive) {
        if (reportPage())
            xorRubberRect(m_state.RubberRect);
        m_state.RubberRect.translate(-10000, -10000);
        // The next drag over the surface starts a fresh rectangle.
        DragActive = false;
    }
}

bool GestureEngine::dragOver(bool fromFieldList, int x, int y)
{
    if (!fromFieldList || DesignerState::restricted(drNoInsertObject) || !reportPage())
        return false;
    if (!DragActive) {
        DragActive = true;
        const QSize size = DefaultObjectSize();
        m_state.RubberRect = edges(x - 4, y - 4, x - 4 + size.width(), y - 4 + size.height());
    } else {
        xorRubberRect(m_state.RubberRect);
    }
    if (m_state.Settings.GridAlign) {
        x = truncate(x);
        y = truncate(y);
    }
    moveRubberTo(x - 4, y - 4);
    xorRubberRect(m_state.RubberRect);
    return true;
}

void GestureEngine::dragDrop(const QString &field)
{
    if (!DragActive || !reportPage())
        return;
    m_surface.drawSelection(1);
    m_state.View.pressTool(kToolMemo);
    setCursor(SurfaceCursor::Cross);
    m_dropping = true;
    m_inserted = nullptr;
    mouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
    m_dropping = false;
    DragActive = false;
    if (TfrView *o = m_inserted) {
        o->Memo = QStringList{QLatin1Char('[') + field + QLatin1Char(']')};
        m_surface.Draw(10000, o->GetClipRegion(true));
    }
    m_inserted = nullptr;
}

} // namespace designer
