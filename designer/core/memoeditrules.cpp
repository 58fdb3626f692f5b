#include "designer/core/memoeditrules.h"

#include "report/core/frlibrary.h"
#include "report/expr/frinterpreter.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"

#include "designer/core/designerstate.h"

namespace designer
{

namespace memoedit_detail
{

// A number read from the digits at the start of text; 1 when there is none
// or it is out of range.
int leadingNumber(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n).isDigit())
        ++n;
    bool ok = false;
    const int value = n <= 9 ? text.left(n).toInt(&ok) : 0;
    return ok && value >= 1 ? value : 1;
}

} // namespace memoedit_detail

QStringList memoScriptTemplate()
{
    return {QStringLiteral("begin"), QStringLiteral("  "), QStringLiteral("end")};
}

bool isEmptyScript(const QStringList &lines)
{
    return lines.size() == 3 && lines[0].trimmed() == QLatin1String("begin") &&
           lines[1].trimmed().isEmpty() && lines[2].trimmed() == QLatin1String("end");
}

QStringList paneLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

MemoEditorOpening memoEditorOpening(const report::TfrView &view, const EditorFonts &fonts)
{
    MemoEditorOpening o;
    o.scriptAllowed = !view.IsDialogControl() && !dynamic_cast<const report::TfrBandView *>(&view);
    o.textReadOnly = view.Restrictions & frrfDontEditMemo;
    o.scriptReadOnly = view.Restrictions & frrfDontEditScript;
    o.textFontName = fonts.textName;
    o.textFontSize = fonts.textSize;
    if (auto *memo = dynamic_cast<const report::TfrMemoView *>(&view); memo && fonts.useDefault) {
        o.textFontName = memo->Font.Name;
        o.textFontSize = 10;
    }
    o.scriptFontName = fonts.scriptName;
    o.scriptFontSize = fonts.scriptSize;
    o.text = view.Memo;
    o.script = view.Script.isEmpty() ? memoScriptTemplate() : view.Script;
    return o;
}

QStringList checkScript(const QStringList &lines)
{
    QStringList coded, errors;
    if (report::TfrInterpretator *interpreter = report::fr().frInterpreter.get())
        interpreter->PrepareScript(lines, coded, errors);
    return errors;
}

std::optional<ScriptErrorPlace> scriptErrorPlace(const QString &error)
{
    using memoedit_detail::leadingNumber;
    const qsizetype slash = error.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    ScriptErrorPlace place;
    place.line = leadingNumber(error.mid(5)) - 1;
    place.column = leadingNumber(error.mid(slash + 1)) - 1;
    return place;
}

void storeMemoEditorResult(report::TfrView &view, const QStringList &text,
                           const QStringList &script, bool scriptAllowed)
{
    if (report::TfrReportDesigner *designer = report::frObjects().frCurrentDesigner)
        designer->NotifyBeforeChange();
    view.Memo = text;
    if (!scriptAllowed)
        return;
    if (isEmptyScript(script)) {
        if (!view.Script.isEmpty())
            view.Script.clear();
    } else {
        view.Script = script;
    }
}

} // namespace designer
