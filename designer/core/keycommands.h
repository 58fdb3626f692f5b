#pragma once
// The designer's keyboard commands (the window previews every key): tool
// reset, deletion, frame and font shortcuts, clipboard keys, scrolling, and
// the arrow keys that move, resize or jump between objects.
#include <QRegion>
#include <QString>
#include <Qt>
#include <vector>

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
class GestureEngine;
class DesignerCore;

class KeyCommands
{
public:
    KeyCommands(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo,
                GestureEngine &gestures, DesignerCore &core);

    // Runs the key tests in order; a test that handles the key sets it to 0
    // where the key must not reach the focused control. key is a Qt::Key.
    void FormKeyDown(int &key, Qt::KeyboardModifiers modifiers);
    // Removes the selected objects that may be deleted (one undo entry for
    // exactly those), clearing child-band references to removed child bands.
    void DeleteSelectedObjects();
    // Empties the child-band name of every band of the page that names
    // childName (the child band is about to go).
    static void RenameChildBandReferences(report::TfrPage &page, const QString &childName);
    // Index of the nearest object from the single selection in a direction
    // (dx, dy one of the four unit steps), or -1.
    int NearestObject(int dx, int dy) const;

private:
    void escape();
    void arrow(int dx, int dy, Qt::KeyboardModifiers modifiers);
    void moveOrResize(int ddx, int ddy, bool resize);
    void jumpOrSnap(int dx, int dy, bool snap);
    // The single selected object (nullptr unless exactly one is selected).
    report::TfrView *singleSelected() const;
    // Whether a tool-bar box (font name, font size, line width) is being typed in.
    bool textBoxHasFocus() const;
    void runAttributeCommand(int tag);
    // Redraws the selection after an edit, the region before it included.
    void redrawSelection(const QRegion &before);

    DesignerState &m_state;
    SurfaceRenderer &m_surface;
    UndoManager &m_undo;
    GestureEngine &m_gestures;
    DesignerCore &m_core;
};

} // namespace designer
