// The aggregate calls that a band and its objects hold, for their registration.
#include "report/build/frbuild.h"
#include "report/build/frinterpretator.h"

namespace report
{

void frCollectAggregateCalls(const QStringList &memo, const QStringList &script, QStringList &calls)
{
    TAggregateFunctionsSplitter splitter(calls);
    splitter.SplitMemo(memo);
    if (!script.isEmpty())
        splitter.SplitScript(script);
}

} // namespace report
