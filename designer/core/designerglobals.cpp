#include "designer/core/designerglobals.h"

#include "report/core/frlibrary.h"

namespace designer
{

namespace
{
class DesignerLayer : public report::FrLibraryExtension
{
public:
    DesignerGlobals globals;
};
} // namespace

DesignerGlobals &designerGlobals()
{
    report::FrLibrary &lib = report::fr();
    if (!lib.designerLayer)
        lib.designerLayer = std::make_unique<DesignerLayer>();
    return static_cast<DesignerLayer &>(*lib.designerLayer).globals;
}

DesignerCore *designerCoreOf(const report::TfrReportDesigner *designer)
{
    if (!designer)
        return nullptr;
    for (const auto &[open, core] : designerGlobals().openCores)
        if (open == designer)
            return core;
    return nullptr;
}

} // namespace designer
