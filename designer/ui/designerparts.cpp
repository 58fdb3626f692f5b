#include "designer/ui/designerparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/filepageparts.h"
#include "designer/ui/attributetoolbars.h"
#include "designer/ui/dictparts.h"
#include "designer/ui/inspform.h"
#include "designer/ui/settingsparts.h"
#include "designer/ui/dialogparts.h"
#include "designer/ui/editorform.h"
#include "designer/ui/attrforms.h"

namespace designer
{

void installDesignerParts(DesignerCore &core, QObject *window)
{
    // One line per part, in the order their slots depend on each other.
    installFilePageParts(core, window);
    installAttributeCommands(core, window);
    installDictionaryParts(core, window);
    installInspector(core, window);
    installSettingsParts(core, window);
    installSmallDialogs(core, window);
    installEditorForm(core, window);
    installExpressionDialogs(core, window);
}

} // namespace designer
