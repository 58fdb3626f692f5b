#pragma once
// The script interpreter of a running report and the collector of the
// aggregate calls a band's objects and scripts hold.
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"

#include <QStringList>

namespace report
{

class TfrObject;
struct TfrPropRec;

// The interpreter of report scripts: names are read and functions called
// through the report's callbacks of frGlobalParser, so scripts see what
// expressions see; assignments go to variables, the dictionary, the
// special names (MODALRESULT, CURY, PROGRESS), object properties, or a new
// variable.
class TInterpretator : public TfrInterpretator
{
public:
    void GetValue(const QString &name, FrVariant &value) override;
    void SetValue(const QString &name, const FrVariant &value) override;
    void DoFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                    const FrVariant &p3, FrVariant &value) override;
    void YieldWithin() override;

protected:
    // A long script lets the progress window's cancel act, and stops on it.
    bool YieldToEvents() override;
};

// Sets a variable of the scripts in fr().frVariables; raises EFrLimitError
// when the variables would hold more than kFrMaxHeldText characters together.
void frSetScriptVariable(const QString &name, const FrVariant &value);
// Checks a text a script gives an object's property against the bounds of
// one text and of all the values scripts keep, then counts it in place of the
// property's previous one; raises EFrLimitError past them.
void frNoteScriptObjectValue(TfrPropRec &property, const FrVariant &value);
// The same for an element of an object's list property (Texte.Memo[2]).
void frNoteScriptObjectElement(const TfrObject *object, const QString &property,
                               const FrVariant &index, const FrVariant &value);

// Collects the calls of AVG, COUNT, MAX, MIN and SUM in the bracketed
// expressions of memo lines and in coded script lines, with the current
// report's dictionary variables expanded.
class TAggregateFunctionsSplitter : public TfrFunctionSplitter
{
public:
    explicit TAggregateFunctionsSplitter(QStringList &splitTo);

    // Every bracketed expression of every line; text outside brackets is not read.
    void SplitMemo(const QStringList &memo);
    // The expressions of prepared (coded) script lines.
    void SplitScript(const QStringList &script);

    // "AVG", "COUNT", "MAX", "MIN", "SUM".
    static const QStringList &AggregateNames();

private:
    QStringList &m_splitTo;
};

} // namespace report
