#pragma once
// The rules of the memo text editor that hold without its window: what it
// opens with for a view, when its script counts as empty, how a script is
// checked and where the caret goes for the first error, and what OK stores.
#include "designer/core/editorfonts.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace report
{
class TfrView;
}

namespace designer
{

// The script a view without one opens with.
QStringList memoScriptTemplate();
// Three lines reading, trimmed, "begin", "" and "end": no script.
bool isEmptyScript(const QStringList &lines);

// The lines of an editing pane's text (line feeds between lines; an empty
// text has no line, a final line feed starts none).
QStringList paneLines(const QString &text);

struct MemoEditorOpening {
    // Dialog controls and bands carry no script.
    bool scriptAllowed = true;
    bool textReadOnly = false;   // "Don't edit memo"
    bool scriptReadOnly = false; // "Don't edit script"
    QString textFontName;
    int textFontSize = 10;
    QString scriptFontName;
    int scriptFontSize = 10;
    QStringList text;
    QStringList script; // the template when the view has none
};
MemoEditorOpening memoEditorOpening(const report::TfrView &view, const EditorFonts &fonts);

// The script checked by the library's interpreter: its errors, each "Line
// l/c: message"; none when there is no interpreter.
QStringList checkScript(const QStringList &lines);

// Where the caret goes for an error text: line and column from 0, or
// nothing when the text holds no "/" (the caret then goes to the start).
// The line number starts at the sixth character; unreadable numbers count
// as 1.
struct ScriptErrorPlace {
    int line = 0;
    int column = 0;
};
std::optional<ScriptErrorPlace> scriptErrorPlace(const QString &error);

// OK of the editor: the open designer records the change first, then the
// text becomes the view's memo and, where scripts are allowed, the script
// pane its script (an empty script clears one that is there).
void storeMemoEditorResult(report::TfrView &view, const QStringList &text,
                           const QStringList &script, bool scriptAllowed);

} // namespace designer
