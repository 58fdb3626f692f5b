#pragma once
// An ordered list of named values (report variables, script arrays,
// dictionary entries, constants). Names compare without regard to case; a
// sorted list keeps name order and looks names up by bisection.
#include "report/core/frvariant.h"

#include <QHash>
#include <QString>
#include <vector>

namespace report
{

class TfrVariables
{
public:
    TfrVariables() = default;
    TfrVariables(const TfrVariables &) = delete;
    TfrVariables &operator=(const TfrVariables &) = delete;

    // The entry gets a copy of value; a missing name is added (in order when sorted).
    void SetVariable(const QString &name, const FrVariant &value);
    // Null when there is no such name.
    FrVariant GetVariable(const QString &name) const;
    // The integer 0 outside 0..Count-1.
    FrVariant GetValue(int index) const;
    void SetValue(int index, const FrVariant &value);
    QString GetName(int index) const;
    // Renames; a sorted list moves the entry to its new place.
    void SetName(int index, const QString &name);
    int IndexOf(const QString &name) const;
    int Count() const { return int(m_items.size()); }
    // Characters the entries would hold together once entry index (a new
    // entry name, when index < 0) held value: each entry counts its name, its
    // text and kEntryChars for the entry itself, so that a million small
    // entries weigh what they take.
    qint64 HeldTextIfSet(int index, const QString &name, const FrVariant &value) const;
    // The same for the entry of a name (a new one when there is none).
    qint64 HeldTextIfSet(const QString &name, const FrVariant &value) const;
    qint64 HeldText() const { return m_held; }
    static constexpr qint64 kEntryChars = 64;
    // Sets name to the integer 0, then moves it to position (a sorted list
    // keeps its order and ignores position).
    void Insert(int position, const QString &name);
    void Delete(int index);
    void Clear();
    void Assign(const TfrVariables &source);
    // Adds at the end without looking the name up, for callers that know the
    // name is new (a sorted list puts it in its place).
    void Append(const QString &name, const FrVariant &value);
    void SetSorted(bool sorted);
    bool Sorted() const { return m_sorted; }

    // The value of a name, or nullptr; valid until the list changes. Unlike
    // IndexOf, never puts a long sorted list in order.
    const FrVariant *find(const QString &name) const;

private:
    struct Item {
        QString name;
        FrVariant value;
    };
    // Bisection in a sorted list: the index of name, or where it belongs.
    int lowerBound(const QString &name) const;
    void sortItems();
    // The index of name where the entries stand now, in order or not.
    int physicalIndex(const QString &name) const;
    // A sorted list whose new names were put at its end sorts them in.
    void order() const;

    // A list of many entries (a script's array) is looked up by a hash of
    // the upper-case names, built on first need; any change of order drops
    // it. Such a sorted list takes new names at its end, unordered until an
    // index is asked.
    static constexpr int kIndexFrom = 32;
    void dropIndex();
    void indexAppended(const QString &name);

    std::vector<Item> m_items;
    bool m_sorted = false;
    bool m_unordered = false;
    qint64 m_held = 0;
    mutable QHash<QString, int> m_index;
    mutable bool m_indexed = false;
};

} // namespace report
