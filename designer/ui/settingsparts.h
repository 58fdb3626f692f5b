#pragma once
// The designer window's settings kept between runs, the restriction word
// over its commands, the alignment palette, the insert-fields tool, the
// designer options, help and the stacking of its tool windows.
class QObject;

namespace designer
{

class DesignerCore;
class TfrDesignerForm;

// Fills the commands and slots of these parts on a new designer window.
void installSettingsParts(DesignerCore &core, QObject *window);

// Loaded when the window is shown, saved when it goes.
void frLoadDesignerWindowSettings(TfrDesignerForm &form);
void frSaveDesignerWindowSettings(TfrDesignerForm &form);

// Disables every control whose command the restriction word forbids.
void frDisableRestrictedCommands(TfrDesignerForm &form);

} // namespace designer
