#include "designer/core/exprhelpers.h"

#include "designer/core/designerglobals.h"
#include "report/core/frlocale.h"

#include <algorithm>

namespace designer
{

QString wrapExpressionName(const QString &name)
{
    for (const QChar c : name) {
        const char16_t u = c.toUpper().unicode();
        const bool plain =
            (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'.' || u == u'_';
        if (!plain)
            return u'[' + name + u']';
    }
    return name;
}

int argumentBoxCount(const QString &syntaxLine)
{
    return 1 + int(std::min<qsizetype>(syntaxLine.count(u','), 2));
}

QString assembleFunctionCall(const QString &name, const QString &box1, const QString &box2,
                             const QString &box3)
{
    QString call = name + u'(' + box1;
    if (!box2.isEmpty())
        call += QLatin1String(", ") + box2;
    if (!box3.isEmpty())
        call += QLatin1String(", ") + box3;
    return call + u')';
}

QStringList systemVariableTexts()
{
    // 55111 is the expression entry of other lists, not a variable.
    QStringList texts{report::frLoadString(55110)};
    for (int id = 55112; id <= 55118; ++id)
        texts << report::frLoadString(id);
    return texts;
}

QString systemVariableName(int row)
{
    static const char *const kNames[kSystemVariableCount] = {
        "PAGE#", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES"};
    if (row < 0 || row >= kSystemVariableCount)
        row = 0;
    return QString::fromLatin1(kNames[row]);
}

FunctionDescriptionParts splitFunctionDescription(const QString &description)
{
    const qsizetype slash = description.indexOf(u'/');
    if (slash < 0)
        return {description, QString()};
    return {description.left(slash), description.mid(slash + 1, 1000)};
}

QString dataFieldReference(const QString &dataSet, const QString &field)
{
    return dataSet + QLatin1String(".\"") + field + u'"';
}

PickerMemory &pickerMemory()
{
    return designerGlobals().pickers;
}

} // namespace designer
