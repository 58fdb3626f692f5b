#pragma once
// The designer's commands, editors and dialogs built beside its window fill
// the window's request slots here, once its own parts exist.
class QObject;

namespace designer
{

class DesignerCore;

// Runs every part's install step on a new designer window (window: the
// designer window, a parent for the parts' own windows).
void installDesignerParts(DesignerCore &core, QObject *window);

} // namespace designer
