#pragma once
// The designer's two bounded histories of changes to the objects of a page:
// each entry holds copies of the objects (made through the objects' own
// stream copy), so Undo restores every stored property, not only geometry.
#include <QtGlobal>
#include <memory>
#include <optional>
#include <vector>

namespace report
{
class TfrView;
class TfrPage;
} // namespace report

namespace designer
{

class DesignerState;

// ukDictionary: the report's dictionary as it was, whatever page is shown.
enum TfrUndoKind : quint8 {
    ukInserted = 0,
    ukDeleted = 1,
    ukEdited = 2,
    ukOrderChanged = 3,
    ukDictionary = 4
};

class UndoManager
{
public:
    static constexpr int kCapacity = 100;
    enum Buffer { UndoBuffer = 0, RedoBuffer = 1 };

    explicit UndoManager(DesignerState &state);
    ~UndoManager();
    UndoManager(const UndoManager &) = delete;
    UndoManager &operator=(const UndoManager &) = delete;

    // Records the current page's selection (every object for an order change).
    void RecordUndo(TfrUndoKind kind);
    // Records only these objects of the current page (Delete: only what it
    // will remove), in the page's order; an order change still records every
    // object. Like RecordUndo, an empty list sets Modified and forgets the
    // redo buffer: call it only when something will change.
    // `linked` are other objects of the page that the same action edits
    // (bands whose link to a deleted child band is cleared): the entry keeps
    // their state too, so that one Undo gives them back and Redo edits them
    // again.
    void RecordObjects(TfrUndoKind kind, const std::vector<report::TfrView *> &objects,
                       const std::vector<report::TfrView *> &linked = {});
    // Records the report's dictionary as it is, before it is replaced whole
    // (a dictionary file read in its place): Undo gives it back, Redo the
    // one read, on any page.
    void RecordDictionary();
    // Undo (UndoBuffer) or redo (RedoBuffer) the newest entry; false when
    // nothing was applied (empty buffer, or the entry belongs to another page).
    bool ApplyUndoEntry(Buffer buffer);
    void ClearUndoBuffer();
    void ClearRedoBuffer();
    int count(Buffer buffer) const;
    // The page index of the newest entry of a buffer, if any.
    std::optional<int> newestPage(Buffer buffer) const;

    // The template is about to be rebuilt (a preview, a prepared page
    // edited): the IDs of every page's objects are noted in order, so that
    // remapAfterRebuild can find the new objects by (page, index).
    void rememberObjects();
    // The page's objects were rebuilt with new IDs (the template reloaded):
    // IDs are mapped again by (page, index). Both buffers are emptied when
    // nothing was noted before, when an entry was made or applied since, or
    // when a page's object count (or the page count) changed.
    void remapAfterRebuild();

private:
    struct Record;
    struct Entry;
    using Pairs = std::vector<std::pair<report::TfrView *, int>>;

    // The current page and its index in the report's page list (-1: none).
    report::TfrPage *currentPage(int *index) const;
    void PushUndoEntry(Buffer buffer, TfrUndoKind kind, const Pairs &pairs, int pageIndex,
                       const Pairs &linked = {});
    void pushEntry(Buffer buffer, std::unique_ptr<Entry> entry);
    void pushDictionary(Buffer buffer);
    // Puts the dictionary entry's copy back, its present state going to the
    // other buffer.
    void applyDictionary(Buffer buffer, Entry &entry);
    void clearBuffer(Buffer buffer);
    // Every object of the page with its index (order entries).
    static Pairs allObjects(const report::TfrPage &page);
    // A selected data component: the DB fields window refreshes its list.
    void refreshFieldsFor(const std::vector<report::TfrView *> &objects) const;

    DesignerState &m_state;
    std::vector<std::unique_ptr<Entry>> m_buffers[2];
    // The object IDs of every page, in order, as rememberObjects() saw them;
    // dropped by every change to the buffers, as they may no longer match.
    std::optional<std::vector<std::vector<qint32>>> m_rememberedIDs;
};

} // namespace designer
