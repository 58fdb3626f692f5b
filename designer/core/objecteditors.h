#pragma once
// The editors of report objects as the designer opens them: the gate that
// may forbid them, the dispatch by kind of object (Edit..., Enter, double
// click), the nine property editors that the objects' property lists and
// popup commands call through the engine's registry, and the font rule.
#include "platform/dialogs/dialogs.h"
#include "report/objects/frdesigner.h"

#include <QByteArray>

namespace report
{
class TfrView;
struct FrFontProps;
} // namespace report

namespace designer
{

class DesignerCore;
class DesignerState;

// The top-most selected object of the current page (the last selected one
// in page order), or nullptr when nothing is selected.
report::TfrView *topSelectedObject(const DesignerState &state);

// Editors may open on view: the designer restriction on object editors is
// clear and, unless restrictionsEditor, the view is not marked "Don't edit
// contents" (that flag must stay removable in the restrictions editor).
bool editorGateOpen(const report::TfrView *view, bool restrictionsEditor = false);

// Band types whose editor the dispatch opens through the band editor slot.
bool bandHasEditor(int bandType);

// Opens the editor of view (one selected object): with ctrlText the memo
// text editor, else by kind: a subreport shows its page, a data, cross or
// group band its band editor, other bands nothing, other objects their own
// editor. Redraws and refreshes afterwards. False when nothing was accepted.
bool dispatchObjectEditor(DesignerCore &core, report::TfrView *view, bool ctrlText);

// The property editors, each over the open designer's selection. Each
// answers false (and tells the registry so) when it was cancelled, gated or
// could not open.
bool memoPropertyEditor(DesignerCore &core);
bool fontPropertyEditor(DesignerCore &core);
bool dataFieldPropertyEditor(DesignerCore &core);
bool bandSourcePropertyEditor(DesignerCore &core);
bool tagPropertyEditor(DesignerCore &core);
bool restrictionsPropertyEditor(DesignerCore &core);
bool picturePropertyEditor(DesignerCore &core);
bool highlightPropertyEditor(DesignerCore &core);

// Registers the nine property editors in the engine's registry once, at
// start-up. Property lists copy them when they are built, whenever that is:
// each finds the open designer when called and does nothing when none is.
void registerPropertyEditors();

// Fills the window's objectEditor and pageScript slots.
void installObjectEditors(DesignerCore &core);

// --- font rule
platform::FontChoice fontChoiceOf(const report::FrFontProps &font);
// Takes over into target only what chosen changed against start: the name,
// the size and each style bit (italic, bold, underline, strike-out). The
// colour and character set stay.
void applyFontChange(report::FrFontProps &target, const platform::FontChoice &start,
                     const platform::FontChoice &chosen);

// Every object of the current page as saved, to tell whether a dialog that
// reports no answer changed anything.
QByteArray pageSnapshot(const DesignerState &state);

} // namespace designer
