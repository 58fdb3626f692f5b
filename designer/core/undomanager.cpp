#include "designer/core/undomanager.h"

#include "designer/core/designerstate.h"

namespace designer
{

struct UndoManager::Record {
};
struct UndoManager::Entry {
};

UndoManager::UndoManager(DesignerState &state) : m_state(state) {}
UndoManager::~UndoManager() = default;
void UndoManager::RecordUndo(TfrUndoKind) {}
void UndoManager::RecordObjects(TfrUndoKind, const std::vector<report::TfrView *> &) {}
void UndoManager::ApplyUndoEntry(Buffer) {}
void UndoManager::ClearUndoBuffer() {}
void UndoManager::ClearRedoBuffer() {}
int UndoManager::count(Buffer) const { return 0; }
void UndoManager::remapAfterRebuild() {}

} // namespace designer
