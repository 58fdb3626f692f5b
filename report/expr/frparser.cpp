#include "report/expr/frparser.h"

#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frvariables.h"

#include <QVarLengthArray>
#include <cmath>
#include <vector>

namespace report
{

namespace
{

bool isIdentDelimiter(QChar c)
{
    switch (c.unicode()) {
    case 13:
    case ' ':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
    case '[':
        return true;
    default:
        return false;
    }
}

bool isPrefixOperator(char16_t c)
{
    return c == frop::Negate || c == frop::Plus || c == frop::Not || c == frop::Int ||
           c == frop::Frac || c == frop::Str || c == frop::Round;
}

bool startsNumber(const QString &token)
{
    if (token.isEmpty())
        return false;
    QChar c = token.at(0);
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
           c == QLatin1Char(',');
}

// The operator word a token stands for, or 0.
char16_t operatorWord(const QString &token)
{
    if (token.size() < 2 || token.size() > 5)
        return 0;
    QString up = frUpperCase(token);
    if (up == QLatin1String("INT"))
        return frop::Int;
    if (up == QLatin1String("FRAC"))
        return frop::Frac;
    if (up == QLatin1String("ROUND"))
        return frop::Round;
    if (up == QLatin1String("OR"))
        return frop::Or;
    if (up == QLatin1String("AND"))
        return frop::And;
    if (up == QLatin1String("NOT"))
        return frop::Not;
    if (up == QLatin1String("STR"))
        return frop::Str;
    if (up == QLatin1String("MOD"))
        return frop::Mod;
    return 0;
}

// A number of the expression: "," and "." are both the decimal separator.
double numberValue(const QString &token)
{
    // Most numbers are short: digits with at most one separator. Up to 15
    // digits the value divided by an exact power of ten is correctly rounded.
    static const double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qint64 mantissa = 0;
    int count = 0, decimals = -1;
    bool simple = true;
    for (QChar c : token) {
        char16_t u = c.unicode();
        if (u >= '0' && u <= '9') {
            mantissa = mantissa * 10 + (u - '0');
            if (++count > 15) {
                simple = false;
                break;
            }
            if (decimals >= 0)
                ++decimals;
        } else if ((u == ',' || u == '.') && decimals < 0) {
            decimals = 0;
        } else {
            simple = false;
            break;
        }
    }
    if (simple && count > 0)
        return double(mantissa) / powers[qMax(decimals, 0)];

    QString t = token;
    int separators = 0, digits = 0;
    for (QChar &c : t) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            c = QLatin1Char('.');
            ++separators;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else {
            separators = 2; // let the strict conversion judge (and word its error)
        }
    }
    if (separators <= 1 && digits > 0) {
        bool ok = false;
        double d = t.toDouble(&ok);
        if (ok)
            return d;
    }
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return platform::StrToFloat(t);
}

// INT and FRAC snap values within 1e-10 of a whole number onto it.
double snapped(double x, bool &snappedToWhole)
{
    double r = std::nearbyint(x);
    snappedToWhole = std::fabs(r - x) < 1e-10;
    return snappedToWhole ? r : x;
}

FrVariant comparison(char16_t op, const FrVariant &a, const FrVariant &b)
{
    bool result = false;
    switch (op) {
    case '=':
        result = frEquals(a, b);
        break;
    case frop::NotEqual:
        result = !frEquals(a, b);
        break;
    case '<':
        result = frCompare(a, b) < 0;
        break;
    case '>':
        result = frCompare(a, b) > 0;
        break;
    case frop::LessEqual:
        result = frCompare(a, b) <= 0;
        break;
    case frop::GreaterEqual:
        result = frCompare(a, b) >= 0;
        break;
    }
    return FrVariant(result ? 1 : 0);
}

} // namespace

void frYieldWithinReading()
{
    if (fr().pace.due() && fr().frInterpreter)
        fr().frInterpreter->YieldWithin();
}

int frOperatorPriority(QChar c)
{
    switch (c.unicode()) {
    case '(':
        return 5;
    case ')':
        return 4;
    case frop::GreaterEqual:
    case frop::LessEqual:
    case frop::NotEqual:
    case '<':
    case '=':
    case '>':
        return 3;
    case '+':
    case '-':
    case frop::Negate:
    case frop::Plus:
        return 2;
    case frop::Or:
    case frop::And:
    case frop::Mod:
    case '*':
    case '/':
    case frop::Not:
        return 1;
    default:
        return 0;
    }
}

QString frGetBracketedName(const QString &text, int &openPos, int &closePos)
{
    const int n = int(text.size());
    closePos = openPos;
    bool met = false, single = false, dbl = false;
    int depth = 0;
    while (closePos >= 1 && closePos <= n) {
        QChar c = text.at(closePos - 1);
        if (c == QLatin1Char('"') && !single) {
            dbl = !dbl;
        } else if (c == QLatin1Char('\'') && !dbl) {
            single = !single;
        } else if (!single && !dbl) {
            if (c == QLatin1Char('[')) {
                if (!met) {
                    met = true;
                    openPos = closePos;
                }
                ++depth;
            } else if (c == QLatin1Char(']') && met) {
                --depth;
            }
        }
        if (!met || depth == 0)
            break;
        ++closePos;
    }
    frCountRead(closePos - openPos + 1);
    if (!met)
        return QString();
    return text.mid(openPos, closePos - openPos - 1);
}

QString TfrParser::GetIdentify(const QString &text, int &pos)
{
    const int n = int(text.size());
    if (pos < 1)
        pos = 1;
    while (pos <= n && text.at(pos - 1).unicode() <= 32)
        ++pos;
    int start = pos, quotes = 0;
    while (pos <= n) {
        QChar c = text.at(pos - 1);
        if (c == QLatin1Char('"'))
            ++quotes;
        if (isIdentDelimiter(c)) {
            // A double-quoted part (a field name with blanks) stays one token.
            if (quotes % 2 == 1 && pos < n) {
                ++pos;
                continue;
            }
            break;
        }
        ++pos;
    }
    frCountRead(pos - start + 1);
    return text.mid(start - 1, pos - start);
}

QString TfrParser::GetString(const QString &text, int &pos)
{
    bool closed = false;
    return readLiteral(text, pos, closed);
}

QString TfrParser::readLiteral(const QString &text, int &pos, bool &closed)
{
    const int n = int(text.size());
    int start = pos;
    closed = false;
    ++pos;
    while (pos <= n) {
        if (text.at(pos - 1) == QLatin1Char('\'')) {
            if (pos < n && text.at(pos) == QLatin1Char('\'')) {
                pos += 2;
                continue;
            }
            ++pos;
            closed = true;
            frCountRead(pos - start);
            return text.mid(start - 1, pos - start);
        }
        ++pos;
    }
    frCountRead(pos - start);
    return text.mid(start - 1);
}

void TfrParser::GetThreeParameters(const QString &text, int &pos, QString &p1, QString &p2,
                                   QString &p3)
{
    p1.clear();
    p2.clear();
    p3.clear();
    const int n = int(text.size());
    int depth = 1, separators = 0;
    bool inString = false;
    int argStart = pos + 1;
    int i = pos + 1;
    auto store = [&](int end) {
        QString arg = text.mid(argStart - 1, end - argStart);
        if (separators == 0)
            p1 = arg;
        else if (separators == 1)
            p2 = arg;
        else
            p3 = arg;
    };
    for (; i <= n; ++i) {
        QChar c = text.at(i - 1);
        if (c == QLatin1Char('\'')) {
            inString = !inString;
        } else if (!inString) {
            if (c == QLatin1Char('(')) {
                ++depth;
            } else if (c == QLatin1Char(')')) {
                if (--depth == 0)
                    break;
            } else if (c == QLatin1Char(',') && depth == 1) {
                if (separators == 2)
                    throw EParserError(QStringLiteral("Trop de paramètres"));
                store(i);
                ++separators;
                argStart = i + 1;
            }
        }
    }
    frCountRead(i - pos + 1);
    if (depth != 0)
        throw EParserError(QString());
    store(i);
    pos = i + 1;
}

QString TfrParser::ConvertToPostfix(const QString &text) const
{
    QString s = text;
    int n = int(s.size());
    QString result;
    result.reserve(n + 8);
    QString stack;
    bool valueRead = false;
    platform::detail::countTextSteps(n);

    // A prefix operator stands in the right operand of the binary operator
    // below it, so it cannot bind more loosely than that operator: in
    // 7 / -1 * 5 the "*" must close "-1" and the "/" (left association).
    // Each entry's priority so bound is kept beside the stack as it is
    // pushed: a run of prefix operators is then not walked again for each
    // one it pops.
    // The places of the open brackets are kept too, for the same reason.
    QVarLengthArray<int, 32> bound;
    QVarLengthArray<qsizetype, 8> opens;
    auto push = [&stack, &bound, &opens](QChar c) {
        int p = frOperatorPriority(c);
        if (isPrefixOperator(c.unicode()) && !stack.isEmpty() && stack.back() != QLatin1Char('('))
            p = qMin(p, bound.back());
        if (c == QLatin1Char('('))
            opens.append(stack.size());
        stack.append(c);
        bound.append(p);
    };
    auto truncateStack = [&stack, &bound, &opens](qsizetype size) {
        stack.truncate(size);
        bound.resize(size);
        while (!opens.isEmpty() && opens.back() >= size)
            opens.removeLast();
    };
    auto pushOperator = [&](char16_t op) {
        // A prefix operator has no operand yet: it pops nothing.
        if (!isPrefixOperator(op)) {
            const int p = frOperatorPriority(op);
            while (!stack.isEmpty() && p >= bound.back()) {
                result.append(stack.back());
                truncateStack(stack.size() - 1);
            }
        }
        push(QChar(op));
    };
    // The operator at i (from 1), combining two-character comparisons.
    auto operatorAt = [&](int &i) {
        char16_t c = s.at(i - 1).unicode();
        char16_t next = i < n ? s.at(i).unicode() : 0;
        if (c == '<' && next == '>') {
            ++i;
            c = frop::NotEqual;
        } else if (c == '>' && next == '=') {
            ++i;
            c = frop::GreaterEqual;
        } else if (c == '<' && next == '=') {
            ++i;
            c = frop::LessEqual;
        }
        if (!valueRead) {
            if (c == '-')
                c = frop::Negate;
            else if (c == '+')
                c = frop::Plus;
        }
        valueRead = false;
        pushOperator(c);
    };

    int i = 1;
    while (i <= n) {
        frYieldWithinReading();
        QChar ch = s.at(i - 1);
        char16_t c = ch.unicode();
        if (c <= 32) {
            ++i;
            continue;
        }
        if (c == ';')
            break;
        if (c == '(') {
            push(ch);
            valueRead = false;
            ++i;
            continue;
        }
        if (c == ')') {
            const qsizetype open = opens.isEmpty() ? -1 : opens.back();
            if (open >= 0) {
                for (qsizetype k = stack.size() - 1; k > open; --k)
                    result.append(stack.at(k));
                truncateStack(open);
            }
            ++i;
            continue;
        }
        if (c == '+' || c == '-' || c == '*' || c == '/' || c == '<' || c == '=' || c == '>') {
            operatorAt(i);
            ++i;
            continue;
        }

        // An operand.
        valueRead = true;
        const int i1 = i;
        QString token;
        if (c == '%') {
            token = s.mid(i - 1, 2);
            i += 2;
        }
        bool identified = false;
        if (i <= n && s.at(i - 1) == QLatin1Char('\'')) {
            // A literal left open runs to the end of the text; it is closed
            // here so that the blank after it stays out of its value.
            bool closed = false;
            token += readLiteral(s, i, closed);
            if (!closed)
                token += QLatin1Char('\'');
        } else if (i <= n && s.at(i - 1) == QLatin1Char('[')) {
            int open = i, close = i;
            token += QLatin1Char('[') + frGetBracketedName(s, open, close) + QLatin1Char(']');
            i = close + 1;
        } else if (i <= n) {
            int tokenStart = i;
            QString word = GetIdentify(s, i);
            // ";" ends the expression even when it touches the operand ("1+1;").
            qsizetype semi = word.indexOf(QLatin1Char(';'));
            if (semi >= 0 && !word.left(semi).contains(QLatin1Char('"'))) {
                word.truncate(semi);
                while (tokenStart <= n && s.at(tokenStart - 1).unicode() <= 32)
                    ++tokenStart;
                i = tokenStart + int(semi);
                n = i - 1;
            }
            token += word;
            identified = true;
            if (i <= n && s.at(i - 1) == QLatin1Char('[')) {
                int open = i, close = i;
                token += QLatin1Char('[') + frGetBracketedName(s, open, close) + QLatin1Char(']');
                i = close + 1;
                identified = false;
            }
        }
        QChar after = i <= n ? s.at(i - 1) : QChar();
        if (startsNumber(token)) {
            result += token + QLatin1Char(' ');
        } else if (char16_t word = identified ? operatorWord(token) : 0) {
            // The word becomes its one-character operator, read in place.
            i -= 1;
            s[i - 1] = QChar(word);
            operatorAt(i);
            ++i;
        } else if (after == QLatin1Char('(')) {
            QString p1, p2, p3;
            GetThreeParameters(s, i, p1, p2, p3);
            result += s.mid(i1 - 1, i - i1);
        } else {
            result += token + QLatin1Char(' ');
        }
    }
    // What is left on the stack; an unclosed "(" adds nothing.
    for (qsizetype k = stack.size() - 1; k >= 0; --k)
        if (stack.at(k) != QLatin1Char('('))
            result.append(stack.at(k));
    return result;
}

FrVariant TfrParser::EvaluatePostfix(const QString &postfix)
{
    auto it = m_names.constFind(postfix);
    if (it == m_names.constEnd()) {
        if (m_names.size() >= kCacheLimit)
            m_names.clear();
        it = m_names.insert(postfix, std::make_shared<std::vector<BracketedName>>());
    }
    const BracketedNames names = *it; // kept should a nested evaluation clear the cache
    return evaluate(postfix, names);
}

FrVariant TfrParser::evaluate(const QString &postfix, const BracketedNames &names)
{
    // On the stack: most expressions hold a value or two, and the group
    // conditions and aggregates are evaluated again for every record.
    QVarLengthArray<FrVariant, 8> st;
    const int n = int(postfix.size());

    auto need = [&st](qsizetype count) {
        if (st.size() < count)
            throw EVariantError::invalidOp();
        // An operator reads its texts whole (a comparison, a conversion):
        // counted with the build's work like a function's.
        for (qsizetype k = st.size() - count; k < st.size(); ++k)
            if (st[k].isString())
                fr().pace.addText(st[k].stringValue().size());
    };
    auto binary = [&](auto op) {
        need(2);
        FrVariant b = std::move(st.back());
        st.pop_back();
        st.back() = op(st.back(), b);
    };

    int i = 0;          // index from 0 of the character being read
    size_t bracket = 0; // the next bracketed name, in the order they are read
    while (i < n) {
        frYieldWithinReading();
        const char16_t c = postfix.at(i).unicode();
        switch (c) {
        case ' ':
        case frop::Plus:
            if (c == frop::Plus)
                need(1);
            ++i;
            continue;
        case '+': {
            // The left text grows in place: only the right one is read.
            if (st.size() < 2)
                throw EVariantError::invalidOp();
            FrVariant b = std::move(st.back());
            st.pop_back();
            if (b.isString())
                fr().pace.addText(b.stringValue().size());
            frAddTo(st.back(), b);
            ++i;
            continue;
        }
        case frop::Or:
            binary(frAdd);
            ++i;
            continue;
        case '-':
            binary(frSubtract);
            ++i;
            continue;
        case '*':
        case frop::And:
            binary(frMultiply);
            ++i;
            continue;
        case frop::Mod:
            binary(frModulo);
            ++i;
            continue;
        case '/':
            binary([](const FrVariant &a, const FrVariant &b) {
                return frIsZero(b) ? FrVariant(0) : frDivide(a, b);
            });
            ++i;
            continue;
        case '>':
        case '<':
        case '=':
        case frop::NotEqual:
        case frop::GreaterEqual:
        case frop::LessEqual:
            binary([c](const FrVariant &a, const FrVariant &b) { return comparison(c, a, b); });
            ++i;
            continue;
        case frop::Int:
        case frop::Frac: {
            need(1);
            bool whole = false;
            double x = snapped(st.back().toDouble(), whole);
            double t = whole ? x : std::trunc(x);
            st.back() = FrVariant(c == frop::Int ? t : x - std::trunc(x));
            ++i;
            continue;
        }
        case frop::Round: {
            need(1);
            double r = std::nearbyint(st.back().toDouble());
            // Every whole value of the 32-bit range is an integer, its lowest
            // one included; anything else (beyond, NaN) stays a real.
            const bool fits = r >= -2147483648.0 && r <= 2147483647.0;
            st.back() = fits ? FrVariant(int(r)) : FrVariant(r);
            ++i;
            continue;
        }
        case frop::Negate:
            need(1);
            st.back() = frNegate(st.back());
            ++i;
            continue;
        case frop::Str:
            need(1);
            st.back() = FrVariant(st.back().isNull() ? QString() : st.back().toString());
            ++i;
            continue;
        case frop::Not:
            need(1);
            st.back() = FrVariant(frIsZero(st.back()) ? 1 : 0);
            ++i;
            continue;
        case '[': {
            // The same text is read the same way each time; a name cut at
            // another place (none should be) is read again.
            int close;
            QString name;
            if (bracket < names->size() && (*names)[bracket].open == i) {
                close = (*names)[bracket].close;
                name = (*names)[bracket].name;
            } else {
                int open = i + 1;
                close = i + 1;
                name = frGetBracketedName(postfix, open, close);
                if (bracket == names->size())
                    names->push_back({i, close, name});
            }
            ++bracket;
            FrVariant value;
            if (OnGetValue)
                OnGetValue(name, value);
            st.push_back(std::move(value));
            i = close; // just after the "]"
            continue;
        }
        case '\'': {
            int pos = i + 1;
            bool closed = false;
            QString literal = readLiteral(postfix, pos, closed);
            literal = literal.mid(1, literal.size() - (closed ? 2 : 1));
            literal.replace(QLatin1String("''"), QLatin1String("'"));
            st.emplace_back(std::move(literal));
            i = pos - 1;
            continue;
        }
        default:
            break;
        }

        // A name, a number, a call or an array element.
        int pos = i + 1;
        QString name = GetIdentify(postfix, pos);
        QChar after = pos <= n ? postfix.at(pos - 1) : QChar();
        if (startsNumber(name)) {
            st.emplace_back(numberValue(name));
            i = pos;
        } else if (name.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 &&
                   after != QLatin1Char('(') && after != QLatin1Char('[')) {
            st.emplace_back(true);
            i = pos;
        } else if (name.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0 &&
                   after != QLatin1Char('(') && after != QLatin1Char('[')) {
            st.emplace_back(false);
            i = pos;
        } else if (after == QLatin1Char('[')) {
            int open = pos, close = pos;
            QString index = frGetBracketedName(postfix, open, close);
            st.push_back(Calc(QStringLiteral("GETARRAY(") + name + QStringLiteral(", ") + index +
                              QLatin1Char(')')));
            i = close + 1;
        } else if (after == QLatin1Char('(')) {
            QString p1, p2, p3;
            GetThreeParameters(postfix, pos, p1, p2, p3);
            st.push_back(callFunction(frUpperCase(name), p1, p2, p3));
            i = pos - 1;
        } else if (name.isEmpty()) {
            i = qMax(pos, i + 1);
        } else {
            st.push_back(valueOfName(frUpperCase(name)));
            i = pos;
        }
    }
    return st.empty() ? FrVariant(0) : st.front();
}

FrVariant TfrParser::valueOfName(const QString &name)
{
    FrVariant value;
    if (OnGetValue)
        OnGetValue(name, value);
    return value;
}

FrVariant TfrParser::callFunction(const QString &name, const QString &p1, const QString &p2,
                                  const QString &p3)
{
    FrVariant value = callKnown(name, p1, p2, p3);
    // Every function's result is a value like any other: bounded, and its
    // characters counted with the build's work. A line of many calls on long
    // texts lets the build yield between two of them.
    if (value.isString()) {
        frCheckTextLength(value.stringValue().size());
        fr().pace.addText(value.stringValue().size());
    }
    if (fr().pace.due() && fr().frInterpreter)
        fr().frInterpreter->YieldWithin();
    return value;
}

FrVariant TfrParser::callKnown(const QString &name, const QString &p1, const QString &p2,
                               const QString &p3)
{
    if (name == QLatin1String("COPY")) {
        QString text = Calc(p1).toString();
        int start = platform::StrToInt(Calc(p2).toString());
        int count = platform::StrToInt(Calc(p3).toString());
        if (count < 0)
            return FrVariant(QString());
        if (start < 1)
            start = 1;
        return FrVariant(text.mid(start - 1, count));
    }
    if (name == QLatin1String("IF")) {
        FrVariant cond = Calc(p1);
        double x = 0;
        if (cond.isString())
            x = frStrToFloat(cond.stringValue());
        else if (!cond.isNull() && !cond.isUnassigned())
            x = cond.toDouble();
        return std::trunc(x) > 0 ? Calc(p2) : Calc(p3);
    }
    if (name == QLatin1String("STRTODATE"))
        return FrVariant::fromDate(platform::StrToDate(Calc(p1).toString()));
    if (name == QLatin1String("STRTOTIME"))
        return FrVariant::fromDate(platform::StrToTime(Calc(p1).toString()));
    FrVariant value;
    if (OnFunction)
        OnFunction(name, FrVariant(p1), FrVariant(p2), FrVariant(p3), value);
    return value;
}

FrVariant TfrParser::Calc(const QString &text)
{
    FrEvalGuard guard(text, false);
    auto it = m_cache.constFind(text);
    if (it == m_cache.constEnd()) {
        Compiled compiled{ConvertToPostfix(text), std::make_shared<std::vector<BracketedName>>()};
        if (m_cache.size() >= kCacheLimit)
            m_cache.clear();
        it = m_cache.insert(text, std::move(compiled));
    }
    // Copies: a nested evaluation may clear the cache.
    const QString postfix = it->postfix;
    const BracketedNames names = it->names;
    FrVariant value = evaluate(postfix, names);
    // The functions' arguments are evaluated here: what they read counts.
    if (value.isString())
        fr().pace.addText(value.stringValue().size());
    return value;
}

TfrFunctionSplitter::TfrFunctionSplitter(const QStringList &matchFunctions, QStringList &splitTo,
                                         const TfrVariables *variables)
    : m_matchFunctions(matchFunctions), m_splitTo(splitTo), m_variables(variables)
{
}

bool TfrFunctionSplitter::matches(const QString &name) const
{
    for (const QString &f : m_matchFunctions)
        if (frSameText(f, name))
            return true;
    return false;
}

void TfrFunctionSplitter::Split(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return;
    FrEvalGuard guard(s, false);
    const int n = int(s.size());
    frCountRead(text.size());
    auto expand = [this](const QString &name) -> bool {
        const FrVariant *value = m_variables ? m_variables->find(name) : nullptr;
        if (!value)
            return false;
        FrEvalGuard named(name, true);
        Split(value->toString());
        return true;
    };
    // A bracket left open runs to the end of the text: what follows it is read
    // where it stands, not copied and read again at every "[" it holds.
    bool open = false;
    int i = 1;
    while (i <= n) {
        frYieldWithinReading();
        QChar c = s.at(i - 1);
        if (c.unicode() <= 32) {
            ++i;
        } else if (c == QLatin1Char('[') && !open) {
            int from = i, close = i;
            QString name = frGetBracketedName(s, from, close);
            if (expand(name))
                i = close + 1;
            else if (close > n)
                open = true, ++i;
            else
                Split(name), i = close + 1;
        } else if (c == QLatin1Char('\'')) {
            TfrParser::GetString(s, i);
        } else {
            int start = i;
            QString name = TfrParser::GetIdentify(s, i);
            if (name.isEmpty()) {
                ++i; // an operator or another delimiter
                continue;
            }
            if (i <= n && s.at(i - 1) == QLatin1Char('(')) {
                QString p1, p2, p3;
                TfrParser::GetThreeParameters(s, i, p1, p2, p3);
                Split(p1);
                Split(p2);
                Split(p3);
                if (matches(name))
                    m_splitTo.append(s.mid(start - 1, i - start));
            } else {
                expand(name);
            }
        }
    }
}

} // namespace report
