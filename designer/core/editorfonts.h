#pragma once
// The fonts of the memo text and script editors, as the designer options
// keep them under the designer's registry key. Every reader goes through
// readEditorFonts, so a damaged value reads as its default everywhere.
#include <QString>

namespace designer
{

struct EditorFonts {
    QString textName = QStringLiteral("Arial");
    int textSize = 10;
    QString scriptName = QStringLiteral("Courier New");
    int scriptSize = 10;
    // The editors show each memo's own font instead.
    bool useDefault = true;
};

// The designer's registry key: frRegistryKey + "\Form\TfrDesignerForm".
QString designerRegistryKey();

// "TextFontName", "TextFontSize", "ScriptFontName", "ScriptFontSize" (text
// values) and "UseDefaultFont": a size that is not a whole number from 1 to
// 999, or an empty name, reads as its default.
EditorFonts readEditorFonts();
void writeEditorFonts(const EditorFonts &fonts);

} // namespace designer
