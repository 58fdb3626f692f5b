// The clipboard and undo commands of the designer core.
#include "designer/core/designerclipboard.h"
#include "designer/core/designercore.h"

namespace designer
{

void DesignerCore::CopySelection() {}
void DesignerCore::CutSelection() {}
void DesignerCore::Paste() {}
void DesignerCore::Undo() {}
void DesignerCore::Redo() {}
void DesignerCore::templateRebuilt() {}

} // namespace designer
