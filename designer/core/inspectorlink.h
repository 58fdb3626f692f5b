#pragma once
// The designer's side of the object inspector: which rows it lists for the
// selection (or the current page), and how an edited row is applied to the
// selected objects or the page, with the designer's and the objects'
// restrictions and an undo entry.
#include "designer/core/inspectorprop.h"

#include <QString>
#include <QStringList>

namespace designer
{

class DesignerCore;

class InspectorLink
{
public:
    explicit InspectorLink(DesignerCore &core) : m_core(core) {}

    // Nothing selected: the current page's rows under "Page" + its number;
    // one object: its rows; several: the rows they all have, without the
    // one-object ones, each with the common value or empty.
    void Fill(TPropList &rows);
    // Applies the row's value. False when nothing changed (unreadable value,
    // restriction, refused name, question answered No): the caller shows the
    // current values again. True: the designer has redrawn and refreshed.
    bool PropertyModified(const TPropList &rows, int index);
    // The page's object names, then "Page1" .. "PageN".
    QStringList ObjectList() const;
    void ObjectSelected(const QString &name);

    // A value typed in the designer's units as pixels, within the range kept
    // for positions and sizes (whole pixels unless the property is a float).
    report::FrVariant sizeToPixels(const report::FrVariant &value, bool wholePixels) const;

private:
    bool modifyPage(const QString &name, const report::FrVariant &value);
    bool renameObject(const QString &newName);

    DesignerCore &m_core;
};

} // namespace designer
