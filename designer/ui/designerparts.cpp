#include "designer/ui/designerparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/editorform.h"

namespace designer
{

void installDesignerParts(DesignerCore &core, QObject *window)
{
    // One line per part, in the order their slots depend on each other.
    installEditorForm(core, window);
}

} // namespace designer
