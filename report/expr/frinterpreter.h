#pragma once
// Scripts of report objects, bands and pages: checked and translated once
// into coded lines whose expressions are postfix strings, then run for every
// printed instance. Names, assignments and calls go through three virtual
// operations that the engine's descendant fills.
//
// Coded line, by its first character:
//   1  conditional jump: characters 2-3 the target line (low byte, high byte),
//      then the condition; jumps when the condition is 0 (or Null)
//   2  jump: characters 2-3 the target line
//   3  call: the call's postfix text; "EXIT(0)" in any case ends the run
//   else assignment: the target name, a blank, the value's postfix text
#include "report/expr/frparser.h"

#include <QStringList>

namespace report
{

class TfrVariables;

class TfrInterpretator
{
public:
    TfrInterpretator();
    virtual ~TfrInterpretator() = default;
    TfrInterpretator(const TfrInterpretator &) = delete;
    TfrInterpretator &operator=(const TfrInterpretator &) = delete;

    virtual void GetValue(const QString &name, FrVariant &value);
    virtual void SetValue(const QString &name, const FrVariant &value);
    virtual void DoFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                            const FrVariant &p3, FrVariant &value);
    // Checks and translates; each error is "Line l/c: message". Never raises.
    virtual void PrepareScript(const QStringList &source, QStringList &coded, QStringList &errors);
    // Runs coded lines; evaluation errors reach the caller.
    virtual void DoScript(const QStringList &coded);

    // Collects the calls of matchFunctions in the expressions of coded lines.
    void SplitExpressions(const QStringList &coded, const QStringList &matchFunctions,
                          QStringList &splitTo, const TfrVariables *variables);

    TfrParser &parser() { return m_parser; }
    // Inside an expression whose calls are long work, once a yield is due:
    // the descendant lets a running build's event loop run (a stopped build's
    // scripts end at their next line). The base has no loop to yield to.
    virtual void YieldWithin() {}

    // The highest line number a two-byte jump target can hold; also the
    // target of a goto whose label no statement carries (it ends the run).
    static constexpr int kMaxCodedLines = 65535;

protected:
    // Called before each coded line runs; a harness that must bound a run
    // (a script may legitimately loop for ever) raises from here.
    virtual void BeforeLine(int index);
    // When the library's pace says a yield is due (a script may loop for
    // ever, and only the event loop can tell it to stop): the descendant lets
    // the event loop run and returns false when the run must stop there (its
    // build was cancelled meanwhile). The base has no loop to yield to.
    virtual bool YieldToEvents();

    TfrParser m_parser;
};

} // namespace report
