#pragma once
// The drag format of a data field dragged from the DB fields window onto the
// page surface: the payload is the field text (e.g. Clients."Nom") in UTF-8.
#include <QString>

namespace designer
{

inline QString frFieldMimeType()
{
    return QStringLiteral("application/x-vorn-report-field");
}

} // namespace designer
