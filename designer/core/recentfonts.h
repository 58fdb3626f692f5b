#pragma once
// The font list of the font name box: every family once, sorted, with the
// fonts chosen last kept at the top and remembered in the registry (five at
// most, the most recent first).
#include <QString>
#include <functional>
#include <vector>

namespace designer
{

// A smoothly scalable face (the mark drawn before its name).
constexpr int kFontTypeScalable = 4;
// A bitmap face.
constexpr int kFontTypeRaster = 1;

struct FontEntry {
    QString name;
    int type = 0;
    bool operator==(const FontEntry &) const = default;
};

// The families sorted (letter case ignored), each once. The three families
// that report layouts name most ("Arial", "Times New Roman", "Courier New")
// are added when the font matching maps them onto a face with the same
// metrics (resolve: the family a name is drawn with).
std::vector<FontEntry> frSortedFontList(std::vector<FontEntry> families,
                                        const std::function<QString(const QString &)> &resolve);

class RecentFonts
{
public:
    static constexpr int kMaxRecent = 5;
    static QString defaultKey() { return QStringLiteral("\\Software\\VornReport\\MRUFont"); }

    // The registry key; an empty one restores the default.
    void setKey(const QString &key) { m_key = key.isEmpty() ? defaultKey() : key; }
    const QString &key() const { return m_key; }
    bool ShowMRU = true;

    // Takes the sorted list; with ShowMRU, the recent fonts still installed
    // go on top (most recent first) and those no longer there, or empty,
    // are cleared in the registry.
    void fill(const std::vector<FontEntry> &sorted);

    // A choice of the entry at index: with ShowMRU and an index other than
    // 0, it becomes the first recent entry (moved when it is one already,
    // inserted otherwise, the oldest of six dropped) and the five registry
    // pairs are written again. True when the list changed.
    bool choose(int index);

    const std::vector<FontEntry> &items() const { return m_items; }
    // Index of the last recent entry; -1 when there is none.
    int recentCount() const { return m_recentCount; }
    // The first index of a name, or -1.
    int indexOf(const QString &name) const;

private:
    void writeAll();

    QString m_key = defaultKey();
    std::vector<FontEntry> m_items;
    int m_recentCount = -1;
};

} // namespace designer
