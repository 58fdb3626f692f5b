#include "designer/ui/designerparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/attrforms.h"

namespace designer
{

void installDesignerParts(DesignerCore &core, QObject *window)
{
    // One line per part, in the order their slots depend on each other.
    installExpressionDialogs(core, window);
}

} // namespace designer
