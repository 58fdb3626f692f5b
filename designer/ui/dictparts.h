#pragma once
// The dictionary editor, the band type dialog and the band editors join a
// designer window through its request slots.
class QObject;

namespace designer
{

class DesignerCore;

// Fills the dictionary, band type and band editor slots of a window.
void installDictionaryParts(DesignerCore &core, QObject *window);

} // namespace designer
