#pragma once
// The designer's two bounded histories of changes to the objects of a page:
// each entry holds copies of the objects (made through the objects' own
// stream copy), so Undo restores every stored property, not only geometry.
#include <QtGlobal>
#include <memory>
#include <vector>

namespace report
{
class TfrView;
}

namespace designer
{

class DesignerState;

enum TfrUndoKind : quint8 { ukInserted = 0, ukDeleted = 1, ukEdited = 2, ukOrderChanged = 3 };

class UndoManager
{
public:
    static constexpr int kCapacity = 100;
    enum Buffer { UndoBuffer = 0, RedoBuffer = 1 };

    explicit UndoManager(DesignerState &state);
    ~UndoManager();

    // Records the current page's selection (every object for an order change).
    void RecordUndo(TfrUndoKind kind);
    // Records only these objects (Delete: only what it will remove).
    void RecordObjects(TfrUndoKind kind, const std::vector<report::TfrView *> &objects);
    // Undo (UndoBuffer) or redo (RedoBuffer) the newest entry.
    void ApplyUndoEntry(Buffer buffer);
    void ClearUndoBuffer();
    void ClearRedoBuffer();
    int count(Buffer buffer) const;
    // The page's objects were rebuilt with new IDs (the template reloaded):
    // IDs are mapped again by (page, index); a page whose object count
    // changed empties both buffers.
    void remapAfterRebuild();

private:
    struct Record;
    struct Entry;
    DesignerState &m_state;
    std::vector<std::unique_ptr<Entry>> m_buffers[2];
    // Object count of each page when an entry was last made (for the remap).
    std::vector<int> m_pageCounts;
    std::vector<std::vector<qint32>> m_pageIDs;
};

} // namespace designer
