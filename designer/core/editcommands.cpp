// The clipboard and undo commands of the designer core.
#include "designer/core/designerclipboard.h"
#include "designer/core/designercore.h"

namespace designer
{

void DesignerCore::CopySelection()
{
    DesignerClipboard::CopySelection(state);
    // Paste becomes available.
    state.View.selectionChanged();
}

void DesignerCore::CutSelection()
{
    DesignerClipboard::CopySelection(state);
    keys.DeleteSelectedObjects();
    state.View.selectionChanged();
    surface.Draw(10000, std::nullopt);
}

void DesignerCore::Paste()
{
    // The paste refreshes the tool bars and the page itself.
    DesignerClipboard::Paste(state, surface, undo);
}

void DesignerCore::Undo()
{
    if (!undo.ApplyUndoEntry(UndoManager::UndoBuffer))
        return;
    // A subreport may have come or gone with its tab.
    state.View.pageTabsChanged();
    surface.Draw(10000, std::nullopt);
}

void DesignerCore::Redo()
{
    if (!undo.ApplyUndoEntry(UndoManager::RedoBuffer))
        return;
    state.View.pageTabsChanged();
    surface.Draw(10000, std::nullopt);
}

void DesignerCore::templateAboutToRebuild()
{
    undo.rememberObjects();
}

void DesignerCore::templateRebuilt()
{
    undo.remapAfterRebuild();
    state.UnselectAll();
    state.setLastSelected(nullptr);
    state.View.selectionChanged();
}

} // namespace designer
