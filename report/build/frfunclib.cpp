#include "report/build/frfunclib.h"

#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/objects/frglobals.h"

#include <algorithm>

namespace report
{

namespace
{

// Sorted as the expression builder lists them: ignoring case.
void sortNames(QStringList &names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return frCompareText(a, b) < 0; });
}

} // namespace

bool TfrFunctionLibrary::OnFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                                    const FrVariant &p3, FrVariant &val)
{
    // The names are kept in ascending order: bisection, ignoring case.
    int lo = 0, hi = int(List.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = frCompareText(List.at(mid), name);
        if (c == 0) {
            DoFunction(mid, p1, p2, p3, val);
            return true;
        }
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return false;
}

void TfrFunctionLibrary::AddFunctionDesc(const QString &funName, const QString &category,
                                         const QString &description)
{
    frAddFunctionDescription(this, funName, category, description);
}

void TfrInstalledFunctions::Add(TfrFunctionLibrary *funLib, const QString &funName,
                                const QString &funDescription, const QString &funGroup)
{
    if (funGroup.isEmpty())
        return;
    for (const TfrFunctionDescription &d : m_items)
        if (d.funName == funName)
            return;
    m_items.push_back({funLib, funName, funGroup, funDescription});
}

QString TfrInstalledFunctions::GetFunctionDescription(const QString &funName) const
{
    for (const TfrFunctionDescription &d : m_items)
        if (frSameText(d.funName, funName))
            return d.funDescription;
    return QString();
}

void TfrInstalledFunctions::GetCategories(QStringList &categories) const
{
    QStringList result;
    for (const TfrFunctionDescription &d : m_items) {
        const bool known = std::any_of(result.cbegin(), result.cend(), [&d](const QString &c) {
            return frSameText(c, d.funGroup);
        });
        if (!known)
            result.append(d.funGroup);
    }
    sortNames(result);
    categories = result;
}

void TfrInstalledFunctions::GetFunctionsOfCategory(const QString &category,
                                                   QStringList &names) const
{
    QString wanted = category;
    if (wanted == frLoadString(55348))
        wanted.clear();
    QStringList result;
    for (const TfrFunctionDescription &d : m_items)
        if (wanted.isEmpty() || frSameText(d.funGroup, wanted))
            result.append(d.funName);
    sortNames(result);
    names = result;
}

void TfrInstalledFunctions::RemoveLibrary(const QString &className)
{
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [&className](const TfrFunctionDescription &d) {
                                     return d.funLib && d.funLib->ClassName() == className;
                                 }),
                  m_items.end());
}

void frRegisterFunctionLibrary(const QString &className,
                               std::function<std::unique_ptr<TfrFunctionLibrary>()> create)
{
    FrObjectGlobals &g = frObjects();
    for (const auto &lib : g.frFunctionLibraryList)
        if (lib->ClassName() == className)
            return;
    if (!create)
        return;
    std::unique_ptr<TfrFunctionLibrary> lib = create();
    if (!lib)
        return;
    lib->m_className = className;
    g.frFunctionLibraryList.push_back(std::move(lib));
}

void frUnRegisterFunctionLibrary(const QString &className)
{
    FrObjectGlobals &g = frObjects();
    auto &list = g.frFunctionLibraryList;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if ((*it)->ClassName() != className)
            continue;
        if (g.frInstalledFunctions)
            g.frInstalledFunctions->RemoveLibrary(className);
        list.erase(it);
        return;
    }
}

void frAddFunctionDescription(TfrFunctionLibrary *funLib, const QString &funName,
                              const QString &category, const QString &description)
{
    FrObjectGlobals &g = frObjects();
    if (g.frInstalledFunctions)
        g.frInstalledFunctions->Add(funLib, funName, description, category);
}

} // namespace report
