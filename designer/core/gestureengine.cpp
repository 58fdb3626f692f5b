#include "designer/core/gestureengine.h"

#include "designer/core/designerstate.h"
#include "designer/core/surfacerenderer.h"
#include "designer/core/undomanager.h"

namespace designer
{

GestureEngine::GestureEngine(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo)
    : m_state(state), m_surface(surface), m_undo(undo)
{
}
void GestureEngine::mouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void GestureEngine::mouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {}
void GestureEngine::mouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void GestureEngine::doubleClick() {}
void GestureEngine::mouseLeave() {}
bool GestureEngine::dragOver(bool, int, int) { return false; }
void GestureEngine::dragDrop(const QString &) {}
void GestureEngine::resetMouseState() {}
QSize GestureEngine::DefaultObjectSize() const { return {96, 18}; }
QString GestureEngine::bandNameBase(const QString &displayText) { return displayText; }
bool GestureEngine::down() const { return m_surface.Down; }

} // namespace designer
