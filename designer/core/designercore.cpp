#include "designer/core/designercore.h"

#include <QStringList>

namespace designer
{

Availability computeAvailability(int, quint16, bool) { return {}; }

DesignerCore::DesignerCore(report::TfrReportDesigner &designer, DesignerView &view)
    : state(designer, view), surface(state), undo(state), gestures(state, surface, undo),
      keys(state, surface, undo, gestures, *this)
{
}
DesignerCore::~DesignerCore() = default;
void DesignerCore::RemovePage(int) {}
void DesignerCore::SelectByName(const QString &) {}
QString DesignerCore::PickExpressionResult(const QString &text) { return text; }
QStringList DesignerCore::pageTabTexts() const { return {}; }

} // namespace designer
