#include "designer/core/keycommands.h"

#include "designer/core/designercore.h"

namespace designer
{

KeyCommands::KeyCommands(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo,
                         GestureEngine &gestures, DesignerCore &core)
    : m_state(state), m_surface(surface), m_undo(undo), m_gestures(gestures), m_core(core)
{
}
void KeyCommands::FormKeyDown(int &, Qt::KeyboardModifiers) {}
void KeyCommands::DeleteSelectedObjects() {}
int KeyCommands::NearestObject(int, int) const { return -1; }
void KeyCommands::moveOrResize(int, int, bool) {}

} // namespace designer
