#pragma once
// The pictures of the designer's own tool-bar buttons, drawn in code on the
// olive background that buttons show as transparent.
#include <QImage>
#include <QString>

namespace designer
{

// The 16 x 16 glyph of a designer button by its name ("CutB", "OB2", ...);
// a null image for a name that has none.
QImage frDesignerGlyph(const QString &buttonName);

// The colour button strip: three 32 x 16 cells (font colour, fill colour,
// line colour), each an up and a disabled glyph side by side; the pure red
// pixels are the ones that take the chosen colour.
QImage frColorStrip();

// The glyph of the tool that inserts data fields.
QImage frInsertFieldGlyph();

} // namespace designer
