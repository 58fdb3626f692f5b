#include "designer/core/designerclipboard.h"

#include "designer/core/designerglobals.h"

namespace designer
{

void DesignerClipboard::CopySelection(DesignerState &) {}
void DesignerClipboard::Paste(DesignerState &, SurfaceRenderer &, UndoManager &) {}
bool DesignerClipboard::isEmpty() { return designerGlobals().clipboard.empty(); }

} // namespace designer
