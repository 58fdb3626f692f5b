#include "designer/ui/dictparts.h"

#include "designer/core/designercore.h"
#include "designer/ui/bandforms.h"
#include "designer/ui/dictforms.h"

#include <QPointer>
#include <QWidget>

namespace designer
{

void installDictionaryParts(DesignerCore &core, QObject *window)
{
    // The window may be gone while the slots still exist (they live in the
    // core it owns): the dialogs then open without a parent.
    QPointer<QWidget> parent = qobject_cast<QWidget *>(window);
    RequestSlots &req = core.state.Requests;
    req.dictionary = [&core, parent] {
        if (!core.state.Report)
            return;
        TfrDictForm form(*core.state.Report, parent.data());
        // The builder opens on the expression already typed.
        form.BuildExpression = [&core](const QString &current) -> std::optional<QString> {
            const auto &build = core.state.Requests.expressionEditor;
            return build ? build(current) : std::nullopt;
        };
        form.Execute();
    };
    req.bandType = [&core, parent](bool subreportTarget) {
        TfrBandTypesForm form(parent.data());
        return form.Choose(subreportTarget,
                           [&core](int type) { return core.state.BandTypeUsed(type); });
    };
    req.bandEditor = [parent](report::TfrView *band) { return frEditBand(band, parent.data()); };
}

} // namespace designer
