#include "designer/ui/designerparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/inspform.h"

namespace designer
{

void installDesignerParts(DesignerCore &core, QObject *window)
{
    // One line per part, in the order their slots depend on each other.
    (void)core;
    (void)window;
    installInspector(core, window);
}

} // namespace designer
