#pragma once
// The report expression language: infix text is converted into a postfix
// string (one character per operator, operands followed by a blank, calls
// copied verbatim) and the postfix string is evaluated. Names and functions
// the parser does not know go to two callbacks.
#include "report/core/frvariant.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace report
{

class TfrVariables;

// Inside a long reading or evaluation (a script of many lines is one
// expression): once the build's pace, fed by what the readers stepped over,
// says a yield is due, the interpreter lets the build's event loop run; an
// interpreter outside a build does nothing.
void frYieldWithinReading();

// Operator codes of the postfix string.
namespace frop
{
constexpr char16_t GreaterEqual = 1, LessEqual = 2, NotEqual = 3, Or = 4, And = 5, Int = 6,
                   Frac = 7, Negate = 9, Plus = 10, Str = 11, Not = 12, Mod = 13, Round = 14;
}

// The priority of an operator character; a smaller number binds tighter.
int frOperatorPriority(QChar c);
// The text strictly between the "[" at openPos (counted from 1) and its
// matching "]"; brackets inside quotes do not count. closePos ends on the "]"
// (after the end when there is none). "" when openPos is not on a "[".
QString frGetBracketedName(const QString &text, int &openPos, int &closePos);

class TfrParser
{
public:
    // Name in upper case for plain names, as written for bracketed ones. The
    // value comes in Unassigned; left so, it is pushed Unassigned.
    using TParserValueEvent = std::function<void(const QString &name, FrVariant &value)>;
    // Upper-case function name and its three argument texts, unevaluated.
    using TFunctionEvent =
        std::function<void(const QString &name, const FrVariant &p1, const FrVariant &p2,
                           const FrVariant &p3, FrVariant &value)>;

    TParserValueEvent OnGetValue;
    TFunctionEvent OnFunction;

    QString ConvertToPostfix(const QString &text) const;
    FrVariant EvaluatePostfix(const QString &postfix);
    // ConvertToPostfix (cached) then EvaluatePostfix.
    FrVariant Calc(const QString &text);

    // Tokenisers shared with the script translator; positions count from 1.
    static QString GetIdentify(const QString &text, int &pos);
    static QString GetString(const QString &text, int &pos);
    // pos on "("; ends just after the matching ")". Raises EParserError with an
    // empty message when the list is not closed, "Trop de paramètres" for a
    // fourth argument.
    static void GetThreeParameters(const QString &text, int &pos, QString &p1, QString &p2,
                                   QString &p3);

    static constexpr int kCacheLimit = 2048;
    int cachedCount() const { return int(m_cache.size()); }
    void clearCache()
    {
        m_cache.clear();
        m_names.clear();
    }

private:
    // The bracketed names of a postfix string, cut the first time it is
    // evaluated: group conditions and aggregates are evaluated again for
    // every record, and their names would otherwise be read and allocated
    // each time. Each holds where its "[" and its "]" stand. Shared, so that
    // an evaluation keeps them while a nested one clears the caches.
    struct BracketedName {
        int open;
        int close;
        QString name;
    };
    using BracketedNames = std::shared_ptr<std::vector<BracketedName>>;
    struct Compiled {
        QString postfix;
        BracketedNames names;
    };
    FrVariant evaluate(const QString &postfix, const BracketedNames &names);

    static QString readLiteral(const QString &text, int &pos, bool &closed);
    FrVariant callFunction(const QString &name, const QString &p1, const QString &p2,
                           const QString &p3);
    FrVariant callKnown(const QString &name, const QString &p1, const QString &p2,
                        const QString &p3);
    FrVariant valueOfName(const QString &name);

    // Both keyed by text, so that a changed expression is a new entry.
    QHash<QString, Compiled> m_cache;       // infix text
    QHash<QString, BracketedNames> m_names; // postfix text given to EvaluatePostfix
};

// Finds every call of the functions listed in matchFunctions inside an
// expression, also inside arguments and behind variables, and appends the
// calls' texts to splitTo.
class TfrFunctionSplitter
{
public:
    TfrFunctionSplitter(const QStringList &matchFunctions, QStringList &splitTo,
                        const TfrVariables *variables);
    void Split(const QString &text);

private:
    bool matches(const QString &name) const;

    const QStringList &m_matchFunctions;
    QStringList &m_splitTo;
    const TfrVariables *m_variables;
};

} // namespace report
