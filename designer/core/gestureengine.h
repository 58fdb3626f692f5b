#pragma once
// The mouse engine of the page surface: selection, moving, resizing,
// insertion of new objects, line drawing, shared-border moves, field drops
// and the object popup. Feedback is drawn in XOR; real changes repaint only
// the damaged region.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

namespace report
{
class TfrView;
}

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
    void doubleClick();
    void mouseLeave();
    // A field dragged from the DB fields window's list; true when accepted.
    bool dragOver(bool fromFieldList, int x, int y);
    // Inserts a memo holding "[" + field + "]" where the rectangle was shown.
    void dragDrop(const QString &field);
    // Clears Down, IgnoreNextDown, RubberBand, ResizeEdge; default cursor.
    void resetMouseState();

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
    DesignerState &m_state;
    SurfaceRenderer &m_surface;
    UndoManager &m_undo;
};

} // namespace designer
