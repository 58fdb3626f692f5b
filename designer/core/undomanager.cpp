#include "designer/core/undomanager.h"

#include "designer/core/designerstate.h"

#include "report/data/frdictionary.h"
#include "report/objects/frdialogcontrols.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QHash>
#include <algorithm>
#include <unordered_set>

namespace designer
{

using report::TfrPage;
using report::TfrView;

struct UndoManager::Record {
    qint32 id = 0;
    // Deleted and edited objects: a private copy carrying the object's ID.
    std::unique_ptr<TfrView> copy;
    // The object's place in the page's list when the entry was made.
    int index = 0;
};

struct UndoManager::Entry {
    TfrUndoKind kind = ukInserted;
    int pageIndex = 0;
    std::vector<Record> records;
    // Other objects of the page the action edited along the way, as they
    // were: applied like an edit whatever the entry's kind.
    std::vector<Record> linked;
    // ukDictionary: the dictionary's lists as they were.
    std::unique_ptr<report::TfrDataDictionary> dictionary;
};

namespace
{

// A copy of the object through its class and its own stream copy, with the
// object's ID, so that a re-inserted copy is the same object to later entries.
std::unique_ptr<TfrView> copyOf(TfrView &view)
{
    report::FrObjectGlobals &g = report::frObjects();
    std::unique_ptr<TfrView> copy;
    {
        // The class is the object's own: a lookup that fails must not leave
        // an error behind for the next template load.
        report::FrRestore<bool> errorOccurred(g.frErrorOccurred);
        report::FrRestore<QString> errorText(g.frErrorText);
        try {
            copy = report::frCreateObject(view.Typ, view.ClassName());
        } catch (const std::exception &) {
            copy.reset();
        }
    }
    if (!copy)
        copy = view.Create();
    copy->Assign(view);
    copy->ID = view.ID;
    return copy;
}

// Where the record's object is now: at its recorded place when the ID is
// still there, else wherever its ID is; -1 when it is gone.
int locate(const TfrPage &page, qint32 id, int index)
{
    if (index >= 0 && index < page.ObjectCount() && page.Objects[size_t(index)]->ID == id)
        return index;
    return page.IndexOfObjectID(id);
}

} // namespace

UndoManager::UndoManager(DesignerState &state) : m_state(state) {}

UndoManager::~UndoManager() = default;

TfrPage *UndoManager::currentPage(int *index) const
{
    TfrPage *page = m_state.page();
    *index = -1;
    if (!page)
        return nullptr;
    if (m_state.Report) {
        report::TfrPages &pages = m_state.Report->Pages();
        for (int i = 0; i < pages.Count(); ++i)
            if (pages.GetPage(i) == page) {
                *index = i;
                break;
            }
    } else {
        *index = m_state.CurPage;
    }
    return page;
}

UndoManager::Pairs UndoManager::allObjects(const TfrPage &page)
{
    Pairs pairs;
    pairs.reserve(page.Objects.size());
    for (int i = 0; i < page.ObjectCount(); ++i)
        pairs.emplace_back(page.Objects[size_t(i)].get(), i);
    return pairs;
}

void UndoManager::refreshFieldsFor(const std::vector<TfrView *> &objects) const
{
    if (!m_state.Requests.dbFieldsRefresh)
        return;
    for (TfrView *v : objects)
        if (dynamic_cast<report::TfrNonVisualControl *>(v)) {
            m_state.Requests.dbFieldsRefresh();
            return;
        }
}

void UndoManager::RecordUndo(TfrUndoKind kind)
{
    ClearRedoBuffer();
    m_rememberedIDs.reset();
    int pageIndex = -1;
    const TfrPage *page = currentPage(&pageIndex);
    Pairs pairs;
    std::vector<TfrView *> selected;
    if (page) {
        for (int i = 0; i < page->ObjectCount(); ++i) {
            TfrView *v = page->Objects[size_t(i)].get();
            if (v->Selected)
                selected.push_back(v);
            // An order entry holds every object: restoring slots from a
            // partial one could lose one object and double another.
            if (kind == ukOrderChanged || (v->Selected && !(v->Flags & kFlagNoUndo)))
                pairs.emplace_back(v, i);
        }
    }
    if (pairs.empty())
        m_state.setModified(true);
    else
        PushUndoEntry(UndoBuffer, kind, pairs, pageIndex);
    refreshFieldsFor(selected);
}

void UndoManager::RecordObjects(TfrUndoKind kind, const std::vector<TfrView *> &objects,
                                const std::vector<TfrView *> &linked)
{
    if (kind == ukOrderChanged) {
        RecordUndo(kind);
        return;
    }
    ClearRedoBuffer();
    m_rememberedIDs.reset();
    int pageIndex = -1;
    const TfrPage *page = currentPage(&pageIndex);
    const std::unordered_set<TfrView *> wanted(objects.begin(), objects.end());
    const std::unordered_set<TfrView *> alsoEdited(linked.begin(), linked.end());
    Pairs pairs;
    Pairs edited;
    if (page)
        for (int i = 0; i < page->ObjectCount(); ++i) {
            TfrView *v = page->Objects[size_t(i)].get();
            if (v->Flags & kFlagNoUndo)
                continue;
            if (wanted.count(v))
                pairs.emplace_back(v, i);
            else if (alsoEdited.count(v))
                edited.emplace_back(v, i);
        }
    if (pairs.empty())
        m_state.setModified(true);
    else
        PushUndoEntry(UndoBuffer, kind, pairs, pageIndex, edited);
    refreshFieldsFor(objects);
}

void UndoManager::PushUndoEntry(Buffer buffer, TfrUndoKind kind, const Pairs &pairs, int pageIndex,
                                const Pairs &linked)
{
    if (pairs.empty() && linked.empty()) {
        // Nothing left to record (every object of an entry gone).
        m_state.setModified(true);
        return;
    }
    // The entry is made whole before the buffer changes.
    auto entry = std::make_unique<Entry>();
    entry->kind = kind;
    entry->pageIndex = pageIndex;
    entry->records.reserve(pairs.size());
    for (const auto &[view, index] : pairs) {
        Record r;
        r.id = view->ID;
        r.index = index;
        if (kind == ukDeleted || kind == ukEdited)
            r.copy = copyOf(*view);
        entry->records.push_back(std::move(r));
    }
    entry->linked.reserve(linked.size());
    for (const auto &[view, index] : linked)
        entry->linked.push_back(Record{view->ID, copyOf(*view), index});
    pushEntry(buffer, std::move(entry));
}

void UndoManager::pushEntry(Buffer buffer, std::unique_ptr<Entry> entry)
{
    // The oldest entry makes room once the buffer is full.
    auto &entries = m_buffers[buffer];
    if (int(entries.size()) >= kCapacity)
        entries.erase(entries.begin());
    entries.push_back(std::move(entry));
    m_state.View.undoStateChanged();
    m_state.setModified(true);
}

void UndoManager::RecordDictionary()
{
    if (!m_state.Report)
        return;
    ClearRedoBuffer();
    pushDictionary(UndoBuffer);
}

namespace
{

// The three lists a dictionary file holds, copied as they are.
void assignLists(report::TfrDataDictionary &to, const report::TfrDataDictionary &from)
{
    to.Variables.Assign(from.Variables);
    to.FieldAliases.Assign(from.FieldAliases);
    to.BandDataSources.Assign(from.BandDataSources);
}

} // namespace

void UndoManager::pushDictionary(Buffer buffer)
{
    auto entry = std::make_unique<Entry>();
    entry->kind = ukDictionary;
    entry->pageIndex = -1;
    entry->dictionary = std::make_unique<report::TfrDataDictionary>();
    assignLists(*entry->dictionary, m_state.Report->Dictionary());
    pushEntry(buffer, std::move(entry));
}

void UndoManager::applyDictionary(Buffer buffer, Entry &entry)
{
    pushDictionary(buffer == UndoBuffer ? RedoBuffer : UndoBuffer);
    assignLists(m_state.Report->Dictionary(), *entry.dictionary);
    if (m_state.Requests.dbFieldsRefresh)
        m_state.Requests.dbFieldsRefresh();
    m_state.View.undoStateChanged();
}

bool UndoManager::ApplyUndoEntry(Buffer buffer)
{
    auto &entries = m_buffers[buffer];
    if (entries.empty())
        return false;
    if (entries.back()->kind == ukDictionary) {
        if (!m_state.Report)
            return false;
        std::unique_ptr<Entry> entry = std::move(entries.back());
        entries.pop_back();
        applyDictionary(buffer, *entry);
        return true;
    }
    int pageIndex = -1;
    TfrPage *page = currentPage(&pageIndex);
    // An entry waits until its page is the current one again.
    if (!page || entries.back()->pageIndex != pageIndex)
        return false;
    m_rememberedIDs.reset();
    std::unique_ptr<Entry> entry = std::move(entries.back());
    entries.pop_back();
    const Buffer other = buffer == UndoBuffer ? RedoBuffer : UndoBuffer;
    std::vector<Record> &records = entry->records;
    Pairs inverse;
    // The linked objects' present state goes into the inverse entry with
    // the main records, before anything on the page changes.
    Pairs linkedInverse;
    std::vector<const Record *> linkedToApply;
    for (const Record &r : entry->linked) {
        const int i = locate(*page, r.id, r.index);
        if (i >= 0 && r.copy) {
            linkedInverse.emplace_back(page->Objects[size_t(i)].get(), i);
            linkedToApply.push_back(&r);
        }
    }

    switch (entry->kind) {
    case ukInserted: {
        std::vector<int> places;
        for (const Record &r : records) {
            const int i = locate(*page, r.id, r.index);
            if (i >= 0 && std::find(places.begin(), places.end(), i) == places.end()) {
                inverse.emplace_back(page->Objects[size_t(i)].get(), i);
                places.push_back(i);
            }
        }
        PushUndoEntry(other, ukDeleted, inverse, pageIndex, linkedInverse);
        // From the last place down, so that the places found stay valid.
        std::sort(places.begin(), places.end());
        for (auto it = places.rbegin(); it != places.rend(); ++it)
            page->Delete(*it);
        break;
    }
    case ukDeleted: {
        // A copy whose object is still on the page is not inserted twice.
        std::vector<Record *> inserted;
        std::unordered_set<qint32> ids;
        for (const auto &v : page->Objects)
            ids.insert(v->ID);
        for (Record &r : records)
            if (r.copy && ids.insert(r.id).second) {
                inverse.emplace_back(r.copy.get(), r.index);
                inserted.push_back(&r);
            }
        PushUndoEntry(other, ukInserted, inverse, pageIndex, linkedInverse);
        for (Record *r : inserted)
            page->Insert(r->index, std::move(r->copy));
        break;
    }
    case ukEdited: {
        std::vector<std::pair<int, Record *>> targets;
        for (Record &r : records) {
            const int i = locate(*page, r.id, r.index);
            if (i >= 0 && r.copy) {
                inverse.emplace_back(page->Objects[size_t(i)].get(), i);
                targets.emplace_back(i, &r);
            }
        }
        // The inverse copies hold the state before this undo.
        PushUndoEntry(other, ukEdited, inverse, pageIndex, linkedInverse);
        for (const auto &[i, r] : targets)
            page->Objects[size_t(i)]->Assign(*r->copy);
        break;
    }
    case ukOrderChanged: {
        // The present order, every object, is what the inverse restores.
        PushUndoEntry(other, ukOrderChanged, allObjects(*page), pageIndex, linkedInverse);
        const int n = page->ObjectCount();
        std::vector<bool> claimed(size_t(n), false);
        std::vector<std::unique_ptr<TfrView>> placed;
        placed.resize(size_t(n));
        std::vector<std::unique_ptr<TfrView>> pastEnd;
        std::vector<std::pair<int, int>> moves; // (from, to)
        for (const Record &r : records) {
            const int from = locate(*page, r.id, r.index);
            if (from < 0 || claimed[size_t(from)])
                continue; // gone, or already placed
            claimed[size_t(from)] = true;
            moves.emplace_back(from, r.index);
        }
        for (const auto &[from, to] : moves) {
            std::unique_ptr<TfrView> &object = page->Objects[size_t(from)];
            if (to >= 0 && to < n && !placed[size_t(to)])
                placed[size_t(to)] = std::move(object);
            else
                pastEnd.push_back(std::move(object));
        }
        // Objects no record names keep their order in the free places.
        std::vector<std::unique_ptr<TfrView>> order;
        order.reserve(size_t(n));
        size_t next = 0;
        auto nextUnclaimed = [&]() -> std::unique_ptr<TfrView> {
            while (next < size_t(n) && claimed[next])
                ++next;
            return next < size_t(n) ? std::move(page->Objects[next++]) : nullptr;
        };
        for (int i = 0; i < n; ++i) {
            if (placed[size_t(i)])
                order.push_back(std::move(placed[size_t(i)]));
            else if (auto object = nextUnclaimed())
                order.push_back(std::move(object));
        }
        while (auto object = nextUnclaimed())
            order.push_back(std::move(object));
        for (auto &object : pastEnd)
            order.push_back(std::move(object));
        page->Objects = std::move(order);
        break;
    }
    case ukDictionary:
        break; // applied above
    }
    // Found again by ID: the main records may have moved them.
    for (const Record *r : linkedToApply)
        if (const int i = locate(*page, r->id, r->index); i >= 0)
            page->Objects[size_t(i)]->Assign(*r->copy);

    m_state.UnselectAll();
    m_state.setLastSelected(nullptr);
    m_state.View.selectionChanged();
    m_state.View.undoStateChanged();
    return true;
}

void UndoManager::clearBuffer(Buffer buffer)
{
    m_buffers[buffer].clear();
    m_state.View.undoStateChanged();
}

void UndoManager::ClearUndoBuffer()
{
    clearBuffer(UndoBuffer);
}

void UndoManager::ClearRedoBuffer()
{
    clearBuffer(RedoBuffer);
}

int UndoManager::count(Buffer buffer) const
{
    return int(m_buffers[buffer].size());
}

std::optional<int> UndoManager::newestPage(Buffer buffer) const
{
    if (m_buffers[buffer].empty())
        return std::nullopt;
    return m_buffers[buffer].back()->pageIndex;
}

void UndoManager::rememberObjects()
{
    std::vector<std::vector<qint32>> ids;
    if (m_state.Report) {
        report::TfrPages &pages = m_state.Report->Pages();
        for (int p = 0; p < pages.Count(); ++p) {
            std::vector<qint32> &list = ids.emplace_back();
            if (const TfrPage *page = pages.GetPage(p))
                for (const auto &v : page->Objects)
                    list.push_back(v->ID);
        }
    }
    m_rememberedIDs = std::move(ids);
}

void UndoManager::remapAfterRebuild()
{
    std::optional<std::vector<std::vector<qint32>>> before;
    before.swap(m_rememberedIDs);
    auto forgetAll = [this] {
        ClearUndoBuffer();
        ClearRedoBuffer();
    };
    if (!before || !m_state.Report || m_state.Report->Pages().Count() != int(before->size())) {
        forgetAll();
        return;
    }
    report::TfrPages &pages = m_state.Report->Pages();
    std::vector<QHash<qint32, qint32>> maps(before->size());
    for (int p = 0; p < pages.Count(); ++p) {
        const TfrPage *page = pages.GetPage(p);
        const std::vector<qint32> &old = (*before)[size_t(p)];
        if (!page || page->ObjectCount() != int(old.size())) {
            forgetAll();
            return;
        }
        for (size_t i = 0; i < old.size(); ++i)
            maps[size_t(p)].insert(old[i], page->Objects[i]->ID);
    }
    for (auto &entries : m_buffers)
        for (auto &entry : entries) {
            if (entry->pageIndex < 0 || entry->pageIndex >= int(maps.size()))
                continue;
            const QHash<qint32, qint32> &map = maps[size_t(entry->pageIndex)];
            for (auto *records : {&entry->records, &entry->linked})
                for (Record &r : *records) {
                    const auto it = map.constFind(r.id);
                    if (it == map.constEnd())
                        continue; // not on the page: a deleted object's copy
                    r.id = it.value();
                    if (r.copy)
                        r.copy->ID = r.id;
                }
        }
}

} // namespace designer
