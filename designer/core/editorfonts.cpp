#include "designer/core/editorfonts.h"

#include "platform/registry/registry.h"
#include "report/objects/frglobals.h"

namespace designer
{

namespace editorfonts_detail
{

int sizeOf(const QString &text, int fallback)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    return ok && size >= 1 && size <= 999 ? size : fallback;
}

QString nameOf(const QString &text, const QString &fallback)
{
    const QString name = text.trimmed();
    return name.isEmpty() ? fallback : name;
}

} // namespace editorfonts_detail

QString designerRegistryKey()
{
    return report::frObjects().frRegistryKey + QStringLiteral("\\Form\\TfrDesignerForm");
}

EditorFonts readEditorFonts()
{
    using namespace editorfonts_detail;
    EditorFonts fonts;
    const EditorFonts defaults;
    platform::TRegistry reg;
    if (!reg.OpenKey(QStringLiteral("\\") + designerRegistryKey(), false))
        return fonts;
    fonts.textName = nameOf(reg.ReadString(QStringLiteral("TextFontName")), defaults.textName);
    fonts.textSize = sizeOf(reg.ReadString(QStringLiteral("TextFontSize")), defaults.textSize);
    fonts.scriptName =
        nameOf(reg.ReadString(QStringLiteral("ScriptFontName")), defaults.scriptName);
    fonts.scriptSize =
        sizeOf(reg.ReadString(QStringLiteral("ScriptFontSize")), defaults.scriptSize);
    if (reg.ValueExists(QStringLiteral("UseDefaultFont"))) {
        try {
            fonts.useDefault = reg.ReadBool(QStringLiteral("UseDefaultFont"));
        } catch (...) {
            fonts.useDefault = defaults.useDefault;
        }
    }
    return fonts;
}

void writeEditorFonts(const EditorFonts &fonts)
{
    platform::TRegistry reg;
    if (!reg.OpenKey(QStringLiteral("\\") + designerRegistryKey(), true))
        return;
    reg.WriteString(QStringLiteral("TextFontName"), fonts.textName);
    reg.WriteString(QStringLiteral("TextFontSize"), QString::number(fonts.textSize));
    reg.WriteString(QStringLiteral("ScriptFontName"), fonts.scriptName);
    reg.WriteString(QStringLiteral("ScriptFontSize"), QString::number(fonts.scriptSize));
    reg.WriteBool(QStringLiteral("UseDefaultFont"), fonts.useDefault);
}

} // namespace designer
