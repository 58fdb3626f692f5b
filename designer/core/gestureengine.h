#pragma once
// The mouse engine of the page surface: selection, moving, resizing,
// insertion of new objects, line drawing, shared-border moves, field drops
// and the object popup. Feedback is drawn in XOR; real changes repaint only
// the damaged region.
#include "designer/core/designerview.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <Qt>

namespace report
{
class TfrView;
class TfrPage;
} // namespace report

namespace designer
{

class DesignerState;
class SurfaceRenderer;
class UndoManager;

class GestureEngine
{
public:
    GestureEngine(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo);

    // Handlers (surface coordinates). modifiers: Shift, Ctrl, Alt; buttons:
    // the buttons held during a move.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // A double click arms IgnoreNextDown: the window passes the double
    // click's second press on to mouseDown afterwards (as QWidget's own
    // double-click handler does), and that press is swallowed.
    void doubleClick();
    void mouseLeave();
    // A field dragged from the DB fields window's list; true when accepted.
    bool dragOver(bool fromFieldList, int x, int y);
    // Inserts a memo holding "[" + field + "]" where the rectangle was shown.
    void dragDrop(const QString &field);
    // Clears Down, IgnoreNextDown, RubberBand, ResizeEdge; default cursor.
    void resetMouseState();

    // The select tool was pressed (OB1): an insert tool no longer stays.
    void selectToolPressed();
    // An object tool was pressed (OB2..OB6, add-ins); with Shift it stays
    // armed after each insertion.
    void toolPressed(int tag, bool shift);

    // Size of an object placed by a click.
    QSize DefaultObjectSize() const;
    // A new band's name base from its type's display text: blanks and
    // apostrophes go, the a-z letter after a removed blank is upper-cased.
    static QString bandNameBase(const QString &displayText);

    // --- state of the gesture
    bool Moved = false;
    bool IgnoreNextDown = false;
    bool RubberBand = false;
    bool SelectMode = true;
    int ResizeEdge = 0;
    int LastX = 0, LastY = 0;
    QRect SplitLine;
    int SplitBorderX = 0;
    report::TfrView *SplitLeft = nullptr;
    report::TfrView *SplitRight = nullptr;
    bool FirstMove = false;
    bool CtrlDown = false;
    bool DragActive = false;
    // Down lives in the renderer (Draw leaves out the handles while it is set).
    bool down() const;

private:
    report::TfrPage *page() const;
    bool reportPage() const;
    int gridSize() const;
    bool snapping(Qt::KeyboardModifiers modifiers) const;
    int truncate(int v) const;
    // Cuts a pointer step to whole grid steps under snapping; false while
    // neither component has reached one step yet.
    bool gridStep(bool snap, int &sx, int &sy) const;
    void setCursor(SurfaceCursor cursor);
    SurfaceCursor cursor() const;
    // Rectangles and lines of no extent show nothing, so they are never
    // put into the overlay (a later erase of them stays a no-op as well).
    void xorRubberRect(const QRect &r);
    void xorRubberLine(const QRect &r);
    void moveRubberTo(int x, int y);
    void clearSelection();
    report::TfrView *singleSelected() const;
    void updateLastSelected();
    bool sizeRestricted(const report::TfrView *v) const;
    bool moveRestricted(const report::TfrView *v) const;
    // Dragging a lone band also takes the objects lying wholly inside it.
    void carryBandObjects(int sx, int sy, Qt::KeyboardModifiers modifiers);
    void hoverCursor(int x, int y);
    void scaleGroup(int sx, int sy);
    void moveSelection(int sx, int sy);
    void resizeOne(int sx, int sy);
    void autoScroll(int x, int y);
    void insertObject();
    void insertLine();
    void finishRubberBand();
    bool currentPageIsSubreportTarget() const;
    int surfaceWidth() const;

    DesignerState &m_state;
    SurfaceRenderer &m_surface;
    UndoManager &m_undo;
    // The object placed by the last insertion (a drop fills its text).
    report::TfrView *m_inserted = nullptr;
    // The insertion comes from a field drop (no editor opens).
    bool m_dropping = false;
};

} // namespace designer
