#include "designer/ui/designerregistration.h"

#include "designer/core/designerglobals.h"
#include "designer/core/objecteditors.h"
#include "designer/ui/designerform.h"

#include "platform/forms/application.h"
#include "report/objects/frglobals.h"
#include "report/ui/frdock.h"

namespace designer
{

void frRegisterDesigner()
{
    report::frObjects().frDesignerClass =
        [](int designMode) -> std::unique_ptr<report::TfrReportDesigner> {
        return std::make_unique<TfrDesignerForm>(designMode);
    };
    DesignerGlobals &globals = designerGlobals();
    globals.clipboard.clear();
    globals.lastUsed = LastUsedAttributes();
    report::frRegistryKey() =
        QStringLiteral("Software\\VornReport\\") + platform::ApplicationTitle();
    // Once for the whole run: property lists keep copies of these.
    registerPropertyEditors();
}

void frAddDesignerExtension(DesignerExtension extension)
{
    if (extension)
        designerGlobals().extensions.push_back(std::move(extension));
}

} // namespace designer
