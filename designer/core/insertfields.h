#pragma once
// Lays out, on the current report page, one memo per chosen field of a data
// set (with a bold header memo each, and the bands around them when asked),
// as one insertion that a single undo removes.
#include "designer/core/requestslots.h"

#include <QString>

namespace report
{
class FrDataSet;
class TfrPage;
} // namespace report

namespace designer
{

class DesignerCore;

class InsertFieldsLayout
{
public:
    explicit InsertFieldsLayout(DesignerCore &core) : m_core(core) {}

    // False when nothing was inserted (not a report page, no data set, no
    // field, inserting forbidden). A record source whose data set cannot be
    // opened raises its error before anything is made.
    bool insert(const InsertFieldsChoice &choice);

    // The name of the record source component that walks dataSet, searched
    // over the application's forms then data modules: plain on the form
    // that owns the report, else "Form.Name"; "" when there is none.
    static QString dataSourceName(const report::FrDataSet *dataSet);
    // Display width of a field in characters: 0 or above 255 count as 6.
    static int displayWidth(int width);

private:
    DesignerCore &m_core;
};

} // namespace designer
