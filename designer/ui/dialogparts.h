#pragma once
// Connects the small dialogs and the DB fields window to a designer window.
class QObject;

namespace designer
{

class DesignerCore;

// Fills the request slots of the picture editor, the template dialogs,
// designer options, insert fields, restrictions, the about box and the DB
// fields window.
void installSmallDialogs(DesignerCore &core, QObject *window);

} // namespace designer
