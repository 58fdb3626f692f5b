#pragma once
// Function libraries: objects that evaluate the functions of report
// expressions by name, registered once for the whole program, and the
// descriptions they publish for the expression builder.
#include "report/core/frvariant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace report
{

class TfrFunctionLibrary
{
public:
    TfrFunctionLibrary() = default;
    virtual ~TfrFunctionLibrary() = default;
    TfrFunctionLibrary(const TfrFunctionLibrary &) = delete;
    TfrFunctionLibrary &operator=(const TfrFunctionLibrary &) = delete;

    // Looks name up (ignoring case) among the functions of the library; when
    // found, evaluates it into val and returns true; otherwise leaves val alone.
    virtual bool OnFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                            const FrVariant &p3, FrVariant &val);
    // Evaluates function number fno of List; p1..p3 hold the argument texts
    // as written (missing ones empty).
    virtual void DoFunction(int fno, const FrVariant &p1, const FrVariant &p2, const FrVariant &p3,
                            FrVariant &val) = 0;

    // Publishes a description for the expression builder, owned by this library.
    void AddFunctionDesc(const QString &funName, const QString &category,
                         const QString &description);

    // The class name under which the library was registered.
    const QString &ClassName() const { return m_className; }

    // Function names in upper case, in ascending order: the position of a
    // name is its function number.
    QStringList List;

private:
    friend void frRegisterFunctionLibrary(const QString &,
                                          std::function<std::unique_ptr<TfrFunctionLibrary>()>);
    QString m_className;
};

// One description of the expression builder.
struct TfrFunctionDescription {
    TfrFunctionLibrary *funLib = nullptr;
    QString funName;
    QString funGroup;       // category
    QString funDescription; // syntax line, "/", explanation
};

class TfrInstalledFunctions
{
public:
    // Nothing when category is empty or a description of exactly that name
    // exists already.
    void Add(TfrFunctionLibrary *funLib, const QString &funName, const QString &funDescription,
             const QString &funGroup);
    // The first description whose name equals name ignoring case; "" when none.
    QString GetFunctionDescription(const QString &funName) const;
    // The distinct categories (case folded), sorted.
    void GetCategories(QStringList &categories) const;
    // The names of a category, sorted; every name for "" or "Toutes les fonctions".
    void GetFunctionsOfCategory(const QString &category, QStringList &names) const;
    // Removes every description of the library registered under className.
    void RemoveLibrary(const QString &className);

    int Count() const { return int(m_items.size()); }
    const TfrFunctionDescription &Item(int index) const { return m_items[size_t(index)]; }
    void Clear() { m_items.clear(); }

private:
    std::vector<TfrFunctionDescription> m_items;
};

// Creates one library of the class and appends it to frFunctionLibraryList,
// unless a library of that class name is registered already.
void frRegisterFunctionLibrary(const QString &className,
                               std::function<std::unique_ptr<TfrFunctionLibrary>()> create);
template <class T> void frRegisterFunctionLibrary(const QString &className)
{
    frRegisterFunctionLibrary(className, [] { return std::make_unique<T>(); });
}
// Removes the library of that class name and its descriptions, and frees it.
void frUnRegisterFunctionLibrary(const QString &className);
// Hands a description to frInstalledFunctions.
void frAddFunctionDescription(TfrFunctionLibrary *funLib, const QString &funName,
                              const QString &category, const QString &description);

} // namespace report
