// The aggregate calls that a band and its objects hold, for their registration.
#include "report/build/frbuild.h"
#include "report/core/frlibrary.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"

namespace report
{

void frCollectAggregateCalls(const QStringList &memo, const QStringList &script, QStringList &calls)
{
    static const QStringList kNames = {QStringLiteral("SUM"), QStringLiteral("MIN"),
                                       QStringLiteral("MAX"), QStringLiteral("AVG"),
                                       QStringLiteral("COUNT")};
    TfrFunctionSplitter splitter(kNames, calls, nullptr);
    for (const QString &line : memo) {
        int pos = 1;
        while (pos <= line.size()) {
            const int open = int(line.indexOf(QLatin1Char('['), pos - 1)) + 1;
            if (open <= 0)
                break;
            int openPos = open, closePos = open;
            const QString expr = frGetBracketedName(line, openPos, closePos);
            if (closePos > line.size())
                break;
            splitter.Split(expr);
            pos = closePos + 1;
        }
    }
    if (!script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->SplitExpressions(script, kNames, calls, nullptr);
}

} // namespace report
