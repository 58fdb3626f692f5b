#pragma once
// The designer's own clipboard (never the system one): one record per copied
// object, its type byte, class name and view record, so any object kind can
// be pasted onto any page of any report of the same run.
#include <QByteArray>
#include <memory>
#include <vector>

namespace report
{
class TfrView;
}

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
    // Pastes every record onto the current page (one ukInserted entry), the
    // group's top-left corner at the top-left of the visible part of the
    // page, on the grid, or at the top of the band that was selected.
    static void Paste(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo);
    static bool isEmpty();

    // One object as the clipboard holds it: type byte, class name, record.
    static QByteArray recordOf(report::TfrView &view);
    // The object of one record; nullptr when the record is damaged or names
    // a class this program does not have.
    static std::unique_ptr<report::TfrView> readRecord(const QByteArray &record);
};

} // namespace designer
