// Checking and translating a script of many short statements, written on one
// line and on separate lines: the check reads each statement once, so both
// take about the same time. Prints milliseconds, best of five runs.
// Usage: bench_script_check [statements]
#include "report/core/frlibrary.h"
#include "report/expr/frinterpreter.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

double bestMillis(TfrInterpretator &interpreter, const QStringList &source, qsizetype &lines)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QStringList coded, errors;
        auto start = std::chrono::steady_clock::now();
        interpreter.PrepareScript(source, coded, errors);
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
        lines = errors.isEmpty() ? coded.size() : -1;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 16000;
    fr().start();
    QString oneLine = QStringLiteral("begin a:=0");
    QStringList separate{QStringLiteral("begin"), QStringLiteral("a:=0")};
    for (int i = 0; i < count; ++i) {
        oneLine += QStringLiteral(";a:=a+1");
        separate << QStringLiteral(";a:=a+1");
    }
    oneLine += QStringLiteral(";end");
    separate << QStringLiteral("end");

    TfrInterpretator interpreter;
    qsizetype oneLineCoded = 0, separateCoded = 0;
    const double one = bestMillis(interpreter, {oneLine}, oneLineCoded);
    const double many = bestMillis(interpreter, separate, separateCoded);
    std::printf("check %d statements on one line (%lld characters): %.2f ms, %lld coded lines\n",
                count, qint64(oneLine.size()), one, qint64(oneLineCoded));
    std::printf("check %d statements on separate lines: %.2f ms, %lld coded lines\n", count, many,
                qint64(separateCoded));
    return 0;
}
