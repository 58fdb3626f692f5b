#include "report/expr/frvariables.h"

#include "report/core/frutils.h"

#include <QHash>

#include <algorithm>

namespace report
{

namespace
{

// The characters an entry holds: itself, its name and, for a text, its value.
qint64 heldBy(const QString &name, const FrVariant &value)
{
    return TfrVariables::kEntryChars + name.size() +
           (value.isString() ? value.stringValue().size() : 0);
}

} // namespace

int TfrVariables::lowerBound(const QString &name) const
{
    int lo = 0, hi = int(m_items.size());
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (frCompareText(m_items[size_t(mid)].name, name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void TfrVariables::dropIndex()
{
    m_index.clear();
    m_indexed = false;
}

void TfrVariables::indexAppended(const QString &name)
{
    // The first entry of a name is the one found.
    if (!m_indexed)
        return;
    const QString key = frUpperCase(name);
    if (!m_index.contains(key))
        m_index.insert(key, int(m_items.size()) - 1);
}

void TfrVariables::sortItems()
{
    dropIndex();
    m_unordered = false;
    std::stable_sort(m_items.begin(), m_items.end(), [](const Item &a, const Item &b) {
        return frCompareText(a.name, b.name) < 0;
    });
}

int TfrVariables::physicalIndex(const QString &name) const
{
    if (m_sorted && !m_unordered) {
        int i = lowerBound(name);
        if (i < Count() && frCompareText(m_items[size_t(i)].name, name) == 0)
            return i;
        return -1;
    }
    if (m_items.size() >= size_t(kIndexFrom)) {
        if (!m_indexed) {
            m_index.reserve(qsizetype(m_items.size()));
            // Backwards, so that the first entry of a name is the one kept.
            for (size_t i = m_items.size(); i-- > 0;)
                m_index.insert(frUpperCase(m_items[i].name), int(i));
            m_indexed = true;
        }
        return m_index.value(frUpperCase(name), -1);
    }
    for (size_t i = 0; i < m_items.size(); ++i)
        if (frSameText(m_items[i].name, name))
            return int(i);
    return -1;
}

void TfrVariables::order() const
{
    if (m_unordered)
        const_cast<TfrVariables *>(this)->sortItems();
}

int TfrVariables::IndexOf(const QString &name) const
{
    order();
    return physicalIndex(name);
}

const FrVariant *TfrVariables::find(const QString &name) const
{
    const int i = physicalIndex(name);
    return i < 0 ? nullptr : &m_items[size_t(i)].value;
}

qint64 TfrVariables::HeldTextIfSet(int index, const QString &name, const FrVariant &value) const
{
    order();
    if (index < 0 || index >= Count())
        return m_held + heldBy(name, value);
    const Item &item = m_items[size_t(index)];
    return m_held + heldBy(item.name, value) - heldBy(item.name, item.value);
}

qint64 TfrVariables::HeldTextIfSet(const QString &name, const FrVariant &value) const
{
    const int i = physicalIndex(name);
    if (i < 0)
        return m_held + heldBy(name, value);
    const Item &item = m_items[size_t(i)];
    return m_held + heldBy(item.name, value) - heldBy(item.name, item.value);
}

void TfrVariables::SetVariable(const QString &name, const FrVariant &value)
{
    if (const int i = physicalIndex(name); i >= 0) {
        Item &item = m_items[size_t(i)];
        m_held += heldBy(item.name, value) - heldBy(item.name, item.value);
        item.value = value;
        return;
    }
    m_held += heldBy(name, value);
    if (m_sorted && !m_unordered && m_items.size() < size_t(kIndexFrom)) {
        m_items.insert(m_items.begin() + lowerBound(name), Item{name, value});
        dropIndex();
        return;
    }
    // A long list takes a new name at its end (an insertion in order would
    // move the whole list each time); a sorted one is put in order again
    // when an index is asked.
    if (m_sorted && !m_items.empty() && frCompareText(m_items.back().name, name) > 0)
        m_unordered = true;
    m_items.push_back(Item{name, value});
    indexAppended(name);
}

FrVariant TfrVariables::GetVariable(const QString &name) const
{
    const FrVariant *v = find(name);
    return v ? *v : FrVariant::null();
}

FrVariant TfrVariables::GetValue(int index) const
{
    order();
    if (index < 0 || index >= Count())
        return FrVariant(0);
    return m_items[size_t(index)].value;
}

void TfrVariables::SetValue(int index, const FrVariant &value)
{
    order();
    if (index < 0 || index >= Count())
        return;
    Item &item = m_items[size_t(index)];
    m_held += heldBy(item.name, value) - heldBy(item.name, item.value);
    item.value = value;
}

QString TfrVariables::GetName(int index) const
{
    order();
    if (index < 0 || index >= Count())
        return QString();
    return m_items[size_t(index)].name;
}

void TfrVariables::SetName(int index, const QString &name)
{
    order();
    if (index < 0 || index >= Count())
        return;
    Item &item = m_items[size_t(index)];
    m_held += name.size() - item.name.size();
    item.name = name;
    dropIndex();
    if (m_sorted)
        sortItems();
}

void TfrVariables::Insert(int position, const QString &name)
{
    SetVariable(name, FrVariant(0));
    if (m_sorted)
        return;
    int from = IndexOf(name);
    int to = std::clamp(position, 0, Count() - 1);
    if (from == to)
        return;
    dropIndex();
    Item item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
}

void TfrVariables::Delete(int index)
{
    order();
    if (index < 0 || index >= Count())
        return;
    m_held -= heldBy(m_items[size_t(index)].name, m_items[size_t(index)].value);
    m_items.erase(m_items.begin() + index);
    dropIndex();
}

void TfrVariables::Clear()
{
    // The room too: a cleared list of a script's array gives its memory back.
    std::vector<Item>().swap(m_items);
    m_held = 0;
    dropIndex();
    m_unordered = false;
}

void TfrVariables::Assign(const TfrVariables &source)
{
    if (&source == this)
        return;
    source.order();
    Clear();
    // A list holds each name once, so the copy needs no look-up per entry
    // (a look-up each made copying a long list quadratic); a name met twice
    // still keeps its first place and its last value.
    QHash<QString, size_t> seen;
    seen.reserve(qsizetype(source.m_items.size()));
    m_items.reserve(source.m_items.size());
    for (const Item &item : source.m_items) {
        const auto found = seen.constFind(frUpperCase(item.name));
        if (found != seen.constEnd()) {
            SetValue(int(*found), item.value);
            continue;
        }
        seen.insert(frUpperCase(item.name), m_items.size());
        m_items.push_back(item);
        m_held += heldBy(item.name, item.value);
    }
    if (m_sorted)
        sortItems();
}

void TfrVariables::Append(const QString &name, const FrVariant &value)
{
    m_items.push_back(Item{name, value});
    m_held += heldBy(name, value);
    if (m_sorted)
        sortItems();
    else
        indexAppended(name);
}

void TfrVariables::SetSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted)
        sortItems();
    else
        m_unordered = false;
}

} // namespace report
