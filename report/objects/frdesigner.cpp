#include "report/objects/frdesigner.h"

namespace report
{

bool FrPropEditors::Call(FrEditorKind kind) const
{
    return Run(Get(kind));
}

bool FrPropEditors::Run(const FrPropEditor &editor) const
{
    if (!editor)
        return false;
    m_accepted = true;
    editor();
    return m_accepted;
}

} // namespace report
