#pragma once
// The standard function library: string, date, number, dialog and
// aggregate functions, and the descriptions of every built-in name.
#include "report/build/frfunclib.h"

namespace report
{

class FrLibrary;

class TfrStdFunctionLibrary : public TfrFunctionLibrary
{
public:
    // Aggregate kind codes of aggregate keys; 10 marks no aggregate.
    enum : int { kNoAggregate = 10, kSum = 11, kMin = 12, kMax = 13, kAvg = 14, kCount = 15 };

    static constexpr const char *kClassName = "TfrStdFunctionLibrary";

    TfrStdFunctionLibrary();
    void DoFunction(int fno, const FrVariant &p1, const FrVariant &p2, const FrVariant &p3,
                    FrVariant &val) override;

    // The key under which a band keeps an aggregate: head, #1, the kind's
    // character, #1, expression, #1, flag, #1.
    static QString AggregateKey(const QString &head, int kind, const QString &expression,
                                const QString &flag);
};

// The object layer's part of the library's start and end: the report's
// interpreter, the standard library registered, the display formats
// answering memo fields; and their release.
void frStartObjectLayer(FrLibrary &library);
void frEndObjectLayer(FrLibrary &library);

} // namespace report
