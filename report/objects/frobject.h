#pragma once
// Base of report pages and objects: a list of named, typed properties through
// which the designer's inspector, scripts and expressions read, set and call
// an object's members by name. The list is built on first need.
#include "report/core/frvariant.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace report
{

// Bits of TfrPropRec::PropType.
enum FrPropTypeBit : quint16 {
    frptText = 1,
    frptInteger = 2,
    frptFloat = 4,
    frptBoolean = 8,
    frptColor = 16,
    frptEnum = 32,
    frptEditor = 64,
    frptSize = 128,
    frptSingle = 256,
};

using FrPropEditor = std::function<void()>;

struct TfrPropRec {
    QString Name; // at most 32 characters
    quint16 PropType = 0;
    QStringList Enum;
    QList<FrVariant> EnumValues;
    FrPropEditor PropEditor;
    // The characters of the text a build's scripts gave the property, and
    // which build (FrObjectGlobals::frScriptTextsBuild): the variables bound
    // counts it without a look-up per assignment.
    qint64 ScriptText = 0;
    quint64 ScriptTextBuild = 0;
};

class TfrObject
{
public:
    TfrObject() = default;
    virtual ~TfrObject();
    TfrObject(const TfrObject &) = delete;
    TfrObject &operator=(const TfrObject &) = delete;

    virtual void SetPropertyValue(const QString &name, const FrVariant &value);
    virtual FrVariant GetPropertyValue(const QString &name);
    virtual FrVariant CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                                 const FrVariant &par3);
    virtual void DefinePropertyList();

    void AddProperty(const QString &name, quint16 propType, FrPropEditor editor = {});
    // names: value names separated by ";"; values: their values in order.
    void AddEnumProperty(const QString &name, const QString &names, const QList<FrVariant> &values);
    // Case-insensitive; builds the list first when it is empty.
    TfrPropRec *FindProperty(const QString &name);
    void ClearPropertyList() { m_props.clear(); }
    // The list, built first when empty.
    const std::vector<TfrPropRec> &PropertyList();

private:
    std::vector<TfrPropRec> m_props;
};

// An empty value of a property get: Null or Unassigned.
inline bool frNoValue(const FrVariant &v)
{
    return v.isNull() || v.isUnassigned();
}

} // namespace report
