#pragma once
// The designer's own clipboard (never the system one): one record per copied
// object, its type byte, class name and view record, so any object kind can
// be pasted onto any page of any report of the same run.
#include <QByteArray>
#include <vector>

namespace designer
{

class DesignerState;
class SurfaceRenderer;
class UndoManager;

class DesignerClipboard
{
public:
    // Empties the clipboard, then writes each selected object in list order.
    static void CopySelection(DesignerState &state);
    // Pastes every record onto the current page (one ukInserted entry).
    static void Paste(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo);
    static bool isEmpty();
};

} // namespace designer
