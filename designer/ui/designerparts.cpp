#include "designer/ui/designerparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/settingsparts.h"

namespace designer
{

void installDesignerParts(DesignerCore &core, QObject *window)
{
    // One line per part, in the order their slots depend on each other.
    installSettingsParts(core, window);
}

} // namespace designer
