// Expression evaluation speed: a typical memo expression with its postfix
// cached, and a heavier one with and without the cache. Prints nanoseconds
// per call.
#include "report/core/frlibrary.h"
#include "report/expr/frparser.h"

#include <QHash>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

template <typename F> double nanosPerCall(int calls, F f)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / calls;
}

} // namespace

int main()
{
    QHash<QString, FrVariant> values{{QStringLiteral("PC"), FrVariant(1234)},
                                     {QStringLiteral("Bonus"), FrVariant(3)},
                                     {QStringLiteral("A"), FrVariant(1)},
                                     {QStringLiteral("B"), FrVariant(QStringLiteral("Dupont"))},
                                     {QStringLiteral("C"), FrVariant(7.25)}};
    TfrParser parser;
    parser.OnGetValue = [&values](const QString &name, FrVariant &value) {
        auto it = values.constFind(name);
        if (it != values.constEnd())
            value = it.value();
    };
    const QString typical = QStringLiteral("[PC] / 100 + [Bonus] * 2");
    const QString heavy =
        QStringLiteral("IF([A] > 0, COPY([B], 1, 3) + 'x', STR(ROUND([C] * 1.5)))");

    const int calls = 1000000;
    volatile double sink = 0;
    double typicalCached =
        nanosPerCall(calls, [&] { sink = sink + parser.Calc(typical).toDouble(); });
    double heavyCached =
        nanosPerCall(calls / 4, [&] { sink = sink + parser.Calc(heavy).toString().size(); });
    double heavyUncached = nanosPerCall(calls / 4, [&] {
        parser.clearCache();
        sink = sink + parser.Calc(heavy).toString().size();
    });
    std::printf("Calc(\"%s\"), postfix cached: %.0f ns per call (goal: under 2000)\n",
                qPrintable(typical), typicalCached);
    std::printf("Calc(\"%s\"), postfix cached: %.0f ns per call\n", qPrintable(heavy), heavyCached);
    std::printf("Calc(\"%s\"), uncached: %.0f ns per call\n", qPrintable(heavy), heavyUncached);
    return 0;
}
