#include "designer/core/recentfonts.h"

#include "platform/registry/registry.h"

#include <algorithm>

namespace designer
{

namespace recentfonts_detail
{

struct MetricAlias {
    const char *family;
    const char *faces[2];
};

// Faces drawn with the same advances as the family they stand for.
constexpr MetricAlias kAliases[] = {
    {"Arial", {"Liberation Sans", "Arimo"}},
    {"Times New Roman", {"Liberation Serif", "Tinos"}},
    {"Courier New", {"Liberation Mono", "Cousine"}},
};

QString valueName(const char *stem, int i)
{
    return QString::fromLatin1(stem) + QString::number(i);
}

} // namespace recentfonts_detail

std::vector<FontEntry> frSortedFontList(std::vector<FontEntry> families,
                                        const std::function<QString(const QString &)> &resolve)
{
    auto has = [&](const QString &name) {
        return std::any_of(families.begin(), families.end(), [&](const FontEntry &e) {
            return e.name.compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    for (const recentfonts_detail::MetricAlias &alias : recentfonts_detail::kAliases) {
        const QString family = QString::fromLatin1(alias.family);
        if (has(family) || !resolve)
            continue;
        const QString face = resolve(family);
        for (const char *f : alias.faces)
            if (face.compare(QString::fromLatin1(f), Qt::CaseInsensitive) == 0) {
                families.push_back({family, kFontTypeScalable});
                break;
            }
    }
    std::stable_sort(families.begin(), families.end(), [](const FontEntry &a, const FontEntry &b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    families.erase(
        std::unique(families.begin(), families.end(),
                    [](const FontEntry &a, const FontEntry &b) { return a.name == b.name; }),
        families.end());
    return families;
}

int RecentFonts::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].name == name)
            return int(i);
    return -1;
}

void RecentFonts::fill(const std::vector<FontEntry> &sorted)
{
    m_items = sorted;
    m_recentCount = -1;
    if (!ShowMRU)
        return;
    platform::TRegistry reg;
    if (!reg.OpenKey(m_key, false))
        return;
    const std::vector<FontEntry> full = sorted;
    for (int i = kMaxRecent - 1; i >= 0; --i) {
        const QString name = reg.ReadString(recentfonts_detail::valueName("Font", i));
        const auto found = std::find_if(full.begin(), full.end(),
                                        [&](const FontEntry &e) { return e.name == name; });
        if (!name.isEmpty() && found != full.end()) {
            int type = found->type;
            try {
                type = reg.ReadInteger(recentfonts_detail::valueName("FontType", i));
            } catch (const platform::ERegistryException &) {
                // A damaged type keeps the one the font list reports.
            }
            m_items.insert(m_items.begin(), FontEntry{name, type});
            ++m_recentCount;
            continue;
        }
        // Cleared only when something is stored, so that reading a clean
        // store leaves it as it was.
        bool typeStored = false;
        try {
            typeStored = reg.ValueExists(recentfonts_detail::valueName("FontType", i)) &&
                         reg.ReadInteger(recentfonts_detail::valueName("FontType", i)) != 0;
        } catch (const platform::ERegistryException &) {
            typeStored = true;
        }
        if (!name.isEmpty() || typeStored) {
            reg.WriteString(recentfonts_detail::valueName("Font", i), QString());
            reg.WriteInteger(recentfonts_detail::valueName("FontType", i), 0);
        }
    }
}

bool RecentFonts::choose(int index)
{
    if (!ShowMRU || index <= 0 || index >= int(m_items.size()))
        return false;
    const FontEntry chosen = m_items[size_t(index)];
    const int first = indexOf(chosen.name);
    if (first >= 0 && first <= m_recentCount) {
        m_items.erase(m_items.begin() + first);
        m_items.insert(m_items.begin(), chosen);
    } else {
        m_items.insert(m_items.begin(), chosen);
        ++m_recentCount;
        if (m_recentCount >= kMaxRecent) {
            m_items.erase(m_items.begin() + kMaxRecent);
            m_recentCount = kMaxRecent - 1;
        }
    }
    writeAll();
    return true;
}

void RecentFonts::writeAll()
{
    platform::TRegistry reg;
    if (!reg.OpenKey(m_key, true))
        return;
    for (int i = 0; i < kMaxRecent; ++i) {
        const bool used = i <= m_recentCount;
        reg.WriteString(recentfonts_detail::valueName("Font", i),
                        used ? m_items[size_t(i)].name : QString());
        reg.WriteInteger(recentfonts_detail::valueName("FontType", i),
                         used ? m_items[size_t(i)].type : 0);
    }
}

} // namespace designer
