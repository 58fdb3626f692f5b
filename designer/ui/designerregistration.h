#pragma once
// Makes the report designer known to the report engine: called once at
// program start, after the report library started and the application title
// was set (the designer's registry key carries the title).

#include "designer/core/designerglobals.h"

namespace designer
{

// Registers the designer window class (frDesignerClass), creates the
// designer clipboard and the last-used attributes, and sets the library's
// registry key to "Software\VornReport\" + the application title. After a
// reset of the library it is called again.
void frRegisterDesigner();

// Adds a step that every designer window made afterwards runs once its own
// parts exist (see DesignerExtension): how the commands, editors and dialogs
// built beside the window reach it.
void frAddDesignerExtension(DesignerExtension extension);

} // namespace designer
