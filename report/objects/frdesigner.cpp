#include "report/objects/frdesigner.h"

namespace report
{

bool FrPropEditors::Call(FrEditorKind kind) const
{
    const FrPropEditor &editor = Get(kind);
    if (!editor)
        return false;
    editor();
    return true;
}

} // namespace report
