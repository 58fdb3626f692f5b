#pragma once
// One row of the object inspector and the list of rows: a property's value
// as text, its kind bits, its choices and its editor. Reading and writing the
// row's value converts between that text and a report value by kind.
#include "report/core/frvariant.h"
#include "report/objects/frobject.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace designer
{

// Kind bits of a row; the same bits as the objects' property types.
enum TfrPropKind : quint16 {
    propString = 1,
    propInteger = 2,
    propFloat = 4,
    propBoolean = 8,
    propColor = 16,
    propEnum = 32,
    propEditor = 64,
    propSize = 128,
    propOneObject = 256,
};

class TProp
{
public:
    QString ValueText;
    quint16 Kind = 0;
    report::FrPropEditor EditorProc;
    QStringList ChoiceNames;
    // Parallel to ChoiceNames, or empty.
    QList<report::FrVariant> ChoiceValues;

    // The text read by kind; raises platform::EConvertError on a text that
    // is no number where one is needed (a float must also be finite).
    report::FrVariant Value() const;
    // The text of a value by kind; never raises (a value it cannot read as
    // a number is kept as its plain text).
    void SetValue(const report::FrVariant &value);
};

// A colour as the inspector writes it: its name in the colour table, else
// "$" and at least six upper-case hexadecimal digits of the unsigned value.
QString frColorToText(qint32 color);
// A colour name (any case), or a whole number ("$" hexadecimal up to
// 32 bits); raises platform::EConvertError otherwise.
qint32 frTextToColor(const QString &text);
// Two decimals within four significant digits; scientific notation above
// four digits before the point.
QString frInspectorFloatText(double value);

// The rows of the inspector, in the order they were added.
class TPropList
{
public:
    void ClearProperties();
    void AddProperty(const QString &name, const report::FrVariant &value, quint16 kind,
                     const QStringList &choiceNames, const QList<report::FrVariant> &choiceValues,
                     const report::FrPropEditor &editorProc);
    int count() const { return int(m_rows.size()); }
    const QString &Items(int index) const { return m_rows[size_t(index)].name; }
    TProp &Prop(int index) { return *m_rows[size_t(index)].prop; }
    const TProp &Prop(int index) const { return *m_rows[size_t(index)].prop; }
    report::FrVariant RowValue(int index) const { return Prop(index).Value(); }
    int indexOf(const QString &name) const;

    // The object whose editors the rows call (one object or the page; none
    // for several) and its name ("Page" + number for a page).
    report::TfrObject *InspectedObject = nullptr;
    QString InspectedObjectName;
    // Shown after the name in the closed object list.
    QString InspectedClassName;

private:
    struct Row {
        QString name;
        std::unique_ptr<TProp> prop;
    };
    std::vector<Row> m_rows;
};

} // namespace designer
