#include "report/expr/frinterpreter.h"

#include "platform/format/format.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"
#include "report/expr/frvariables.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace report
{

namespace
{

constexpr QChar kCondJump(char16_t(1));
constexpr QChar kJump(char16_t(2));
constexpr QChar kCall(char16_t(3));

bool isLetter(QChar c)
{
    char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isNameChar(QChar c)
{
    return isLetter(c) || isDigit(c) || c == QLatin1Char('.') || c == QLatin1Char('_');
}

QString targetBytes(int line)
{
    QString t(2, QChar());
    t[0] = QChar(char16_t(line & 0xFF));
    t[1] = QChar(char16_t((line >> 8) & 0xFF));
    return t;
}

int targetOf(const QString &line)
{
    return int(line.at(1).unicode() & 0xFF) + 256 * int(line.at(2).unicode() & 0xFF);
}

// One translation: the working text, the removed comments, the label table.
class Translator
{
public:
    Translator(const QStringList &source, QStringList &coded, QStringList &errors,
               const TfrParser &parser)
        : m_source(source), m_coded(coded), m_errors(errors), m_parser(parser)
    {
    }

    void run();

private:
    QChar at(int i) const { return i >= 0 && i < m_buf.size() ? m_buf.at(i) : QChar(); }
    void buildWorkingText();
    void skipBlanks();
    QString readWord();
    bool isKeyword(const QString &word, const char *keyword) const;
    bool takeKeyword(const char *keyword);
    int addLine(const QString &line, int exprPos);
    void patch(int line, int target);
    void addError(const QString &message);

    void statement();
    bool statementsUntil(const char *keyword, const QString &error);
    void doBegin();
    void doIf();
    void doWhile();
    void doRepeat();
    void doFor();
    void doGoto();
    void doPlain();
    void doCall();
    QString assignment(bool &isAssignment);

    QString expressionText(int &start);
    void expression();
    void simple();
    void term();
    void factor();
    bool atWord(const char *word) const;

    void secondPass();

    const QStringList &m_source;
    QStringList &m_coded;
    QStringList &m_errors;
    const TfrParser &m_parser;

    QString m_buf;
    std::vector<std::pair<int, int>> m_cuts; // (start in the working text, length)
    int m_cur = 0;
    int m_depth = 0;
    int m_lastPos = 0;
    int m_paced = 0; // how far the build's pace has seen the text
    int m_wordStart = 0;
    bool m_error = false;
    QHash<QString, int> m_labels; // label text -> the coded line it stands before
    QSet<int> m_gotoLines;
    std::vector<int> m_exprPos;
};

void Translator::buildWorkingText()
{
    QString raw;
    for (const QString &line : m_source) {
        raw += line;
        raw += QLatin1Char('\r');
    }
    raw.replace(QLatin1Char('\t'), QLatin1Char(' '));
    platform::detail::countTextSteps(raw.size());
    // Comments go, except inside quoted literals; their places (in the text
    // without the comments before them) are kept so that error columns point
    // into the source lines. The text is copied once, not cut in place.
    m_buf.reserve(raw.size());
    const int n = int(raw.size());
    bool inQuote = false;
    int i = 0;
    while (i < n) {
        QChar c = raw.at(i);
        if (c == QLatin1Char('\r')) {
            inQuote = false;
        } else if (inQuote) {
            if (c == QLatin1Char('\''))
                inQuote = false;
        } else if (c == QLatin1Char('\'')) {
            inQuote = true;
        } else if (c == QLatin1Char('{') ||
                   (c == QLatin1Char('/') && i + 1 < n && raw.at(i + 1) == QLatin1Char('/'))) {
            int end;
            if (c == QLatin1Char('{')) {
                end = int(raw.indexOf(QLatin1Char('}'), i));
                end = end < 0 ? n : end + 1;
            } else {
                end = int(raw.indexOf(QLatin1Char('\r'), i));
                if (end < 0)
                    end = n;
            }
            m_cuts.emplace_back(int(m_buf.size()), end - i);
            i = end;
            continue;
        }
        m_buf += c;
        ++i;
    }
}

void Translator::skipBlanks()
{
    while (m_cur < m_buf.size() && m_buf.at(m_cur).unicode() <= 32)
        ++m_cur;
}

// Only the start of a word counts: every caller compares it with a keyword
// or an operator ("REPEAT" and the character after it at most) and then
// places the cursor from the word's start. Statements written without blanks
// ("x:=1;x:=2;...") form one long word; reading it whole for every statement
// would make the check quadratic in the length of the line.
QString Translator::readWord()
{
    constexpr int kWordPrefix = 8;
    skipBlanks();
    m_lastPos = m_wordStart = m_cur;
    const int limit = int(qMin<qsizetype>(m_buf.size(), m_cur + kWordPrefix));
    while (m_cur < limit && m_buf.at(m_cur).unicode() > 32)
        ++m_cur;
    QString word = m_buf.mid(m_wordStart, m_cur - m_wordStart);
    return word.isEmpty() ? QStringLiteral(" ") : frUpperCase(word);
}

// The word is the keyword, or begins with it followed by a character that
// cannot continue a name ("END;", "THEN;").
bool Translator::isKeyword(const QString &word, const char *keyword) const
{
    QLatin1String kw(keyword);
    if (!word.startsWith(kw))
        return false;
    return word.size() == kw.size() || !isNameChar(word.at(kw.size()));
}

bool Translator::takeKeyword(const char *keyword)
{
    QString word = readWord();
    if (!isKeyword(word, keyword))
        return false;
    m_cur = m_wordStart + int(qstrlen(keyword));
    return true;
}

int Translator::addLine(const QString &line, int exprPos)
{
    if (m_error)
        return -1;
    if (m_coded.size() >= TfrInterpretator::kMaxCodedLines) {
        addError(QStringLiteral("Script too long"));
        return -1;
    }
    m_coded.append(line);
    m_exprPos.push_back(exprPos);
    return int(m_coded.size()) - 1;
}

void Translator::patch(int line, int target)
{
    if (line < 0 || line >= m_coded.size() || m_coded[line].size() < 3)
        return;
    QString &l = m_coded[line];
    QString t = targetBytes(target);
    l[1] = t[0];
    l[2] = t[1];
}

void Translator::addError(const QString &message)
{
    if (m_error)
        return;
    m_error = true;
    int pos = m_lastPos;
    int source = pos;
    for (const auto &cut : m_cuts)
        if (cut.first <= pos)
            source += cut.second;
    int p = source + 1; // from 1
    int line = 1;
    for (qsizetype k = 0; k < m_source.size(); ++k) {
        int length = int(m_source.at(k).size()) + 1;
        if (k == m_source.size() - 1) {
            // At the very end of the script: just after its last character.
            p = qMin(p, length);
            break;
        }
        if (p <= length)
            break;
        p -= length;
        ++line;
    }
    m_errors.append(QStringLiteral("Line %1/%2: %3").arg(line).arg(p).arg(message));
}

void Translator::run()
{
    buildWorkingText();
    bool blank = true;
    for (QChar c : std::as_const(m_buf))
        if (c.unicode() > 32)
            blank = false;
    if (!blank)
        statement();
    secondPass();
}

// Statements and expressions nest through recursion: a bound keeps a
// hostile template from exhausting the stack.
class NestingGuard
{
public:
    explicit NestingGuard(int &depth) : m_depth(depth) { ++m_depth; }
    ~NestingGuard() { --m_depth; }
    bool tooDeep() const { return m_depth > kMaxNesting; }
    static constexpr int kMaxNesting = 200;

private:
    int &m_depth;
};

void Translator::statement()
{
    if (m_error)
        return;
    NestingGuard nesting(m_depth);
    if (nesting.tooDeep()) {
        addError(QStringLiteral("Nesting too deep"));
        return;
    }
    QString word = readWord();
    int start = m_wordStart;
    auto keyword = [&](const char *kw) {
        if (!isKeyword(word, kw))
            return false;
        m_cur = start + int(qstrlen(kw));
        return true;
    };
    if (keyword("BEGIN"))
        doBegin();
    else if (keyword("IF"))
        doIf();
    else if (keyword("WHILE"))
        doWhile();
    else if (keyword("REPEAT"))
        doRepeat();
    else if (keyword("FOR"))
        doFor();
    else if (keyword("GOTO"))
        doGoto();
    else if (isKeyword(word, "END") || isKeyword(word, "UNTIL"))
        m_cur = start; // no statement here
    else {
        m_cur = start;
        doPlain();
    }
}

// Statements separated by ";" up to the closing keyword, which is consumed.
// False after an error.
bool Translator::statementsUntil(const char *keyword, const QString &error)
{
    const int length = int(qstrlen(keyword));
    for (;;) {
        statement();
        if (m_error)
            return false;
        QString word = readWord();
        if (isKeyword(word, keyword)) {
            m_cur = m_wordStart + length;
            return true;
        }
        if (word.startsWith(QLatin1Char(';'))) {
            m_cur = m_wordStart + 1;
            continue;
        }
        addError(error);
        return false;
    }
}

void Translator::doBegin()
{
    statementsUntil("END", QStringLiteral("Need \";\" or \"end\" here"));
}

void Translator::doIf()
{
    int exprPos = 0;
    QString condition = expressionText(exprPos);
    if (m_error)
        return;
    int jump = addLine(kCondJump + QStringLiteral("  ") + condition, exprPos);
    if (!takeKeyword("THEN")) {
        addError(QStringLiteral("Need \"then\" here"));
        return;
    }
    statement();
    if (m_error)
        return;
    QString word = readWord();
    if (isKeyword(word, "ELSE")) {
        m_cur = m_wordStart + 4;
        int skip = addLine(kJump + QStringLiteral("  "), m_wordStart);
        patch(jump, int(m_coded.size()));
        statement();
        if (m_error)
            return;
        patch(skip, int(m_coded.size()));
    } else {
        patch(jump, int(m_coded.size()));
        m_cur = m_wordStart;
    }
}

void Translator::doWhile()
{
    int loop = int(m_coded.size());
    int exprPos = 0;
    QString condition = expressionText(exprPos);
    if (m_error)
        return;
    int jump = addLine(kCondJump + QStringLiteral("  ") + condition, exprPos);
    if (!takeKeyword("DO")) {
        addError(QStringLiteral("Need \"do\" here"));
        return;
    }
    statement();
    if (m_error)
        return;
    addLine(kJump + targetBytes(loop), m_cur);
    patch(jump, int(m_coded.size()));
}

void Translator::doRepeat()
{
    int loop = int(m_coded.size());
    if (!statementsUntil("UNTIL", QStringLiteral("Need \";\" or \"until\" here")))
        return;
    int exprPos = 0;
    QString condition = expressionText(exprPos);
    if (m_error)
        return;
    addLine(kCondJump + targetBytes(loop) + condition, exprPos);
}

void Translator::doFor()
{
    bool isAssignment = false;
    QString variable = assignment(isAssignment);
    if (m_error)
        return;
    if (!takeKeyword("TO")) {
        addError(QStringLiteral("Need \"to\" here"));
        return;
    }
    int exprPos = 0;
    QString last = expressionText(exprPos);
    if (m_error)
        return;
    int loop = int(m_coded.size());
    int jump =
        addLine(kCondJump + QStringLiteral("  ") + variable + QStringLiteral("<=") + last, exprPos);
    if (!takeKeyword("DO")) {
        addError(QStringLiteral("Need \"do\" here"));
        return;
    }
    statement();
    if (m_error)
        return;
    addLine(variable + QLatin1Char(' ') + variable + QStringLiteral("+1"), m_cur);
    addLine(kJump + targetBytes(loop), m_cur);
    patch(jump, int(m_coded.size()));
}

void Translator::doGoto()
{
    readWord();
    int k = m_wordStart;
    while (k < m_buf.size() && isDigit(m_buf.at(k)))
        ++k;
    if (k == m_wordStart) {
        addError(QStringLiteral("\"goto\" label must be a number"));
        return;
    }
    int line = addLine(kJump + m_buf.mid(m_wordStart, k - m_wordStart), m_wordStart);
    if (line >= 0)
        m_gotoLines.insert(line);
    m_cur = k;
}

// The statement from the cursor: a label, an assignment, a bare procedure or a call.
void Translator::doPlain()
{
    skipBlanks();
    int start = m_cur;
    m_lastPos = start;
    int k = start;
    while (isDigit(at(k)))
        ++k;
    if (k > start && at(k) == QLatin1Char(':') && at(k + 1) != QLatin1Char('=')) {
        QString label = m_buf.mid(start, k - start + 1);
        // A label met again keeps its first line.
        if (!m_labels.contains(label))
            m_labels.insert(label, int(m_coded.size()));
        m_cur = k + 1;
        statement();
        return;
    }
    if (isLetter(at(start))) {
        int e = start;
        while (isNameChar(at(e)))
            ++e;
        if (at(e) != QLatin1Char('(')) {
            bool isAssignment = false;
            assignment(isAssignment);
            return;
        }
    }
    doCall();
}

void Translator::doCall()
{
    int exprPos = 0;
    QString text = expressionText(exprPos);
    if (m_error)
        return;
    addLine(kCall + text, exprPos);
}

// A variable, then ":=" and an expression, or alone as a procedure without
// arguments. Returns the variable's text.
QString Translator::assignment(bool &isAssignment)
{
    isAssignment = false;
    skipBlanks();
    int start = m_cur;
    m_lastPos = start;
    if (!isLetter(at(start))) {
        addError(QStringLiteral("Need \":=\" here"));
        return QString();
    }
    while (isNameChar(at(m_cur)))
        ++m_cur;
    QString name = m_buf.mid(start, m_cur - start);
    QString index;
    bool indexed = false;
    if (at(m_cur) == QLatin1Char('[')) {
        ++m_cur;
        int indexStart = m_cur;
        expression();
        if (m_error)
            return QString();
        skipBlanks();
        if (at(m_cur) != QLatin1Char(']')) {
            m_lastPos = m_cur;
            addError(QStringLiteral("Need \"]\" here"));
            return QString();
        }
        index = m_buf.mid(indexStart, m_cur - indexStart).trimmed();
        ++m_cur;
        indexed = true;
    }
    QString variable = m_buf.mid(start, m_cur - start);
    QString word = readWord();
    if (word == QLatin1String(" ") || word.startsWith(QLatin1Char(';')) || isKeyword(word, "END") ||
        isKeyword(word, "ELSE") || isKeyword(word, "UNTIL")) {
        addLine(kCall + variable + QStringLiteral("(0)"), start);
        m_cur = m_wordStart;
        return variable;
    }
    if (!word.startsWith(QLatin1String(":="))) {
        addError(QStringLiteral("Need \":=\" here"));
        return QString();
    }
    m_cur = m_wordStart + 2;
    int exprPos = 0;
    QString value = expressionText(exprPos);
    if (m_error)
        return QString();
    if (indexed)
        addLine(kCall + QStringLiteral("SETARRAY(") + name + QStringLiteral(", ") + index +
                    QStringLiteral(", ") + value + QLatin1Char(')'),
                exprPos);
    else
        addLine(variable + QLatin1Char(' ') + value, exprPos);
    isAssignment = true;
    return variable;
}

QString Translator::expressionText(int &start)
{
    skipBlanks();
    start = m_cur;
    expression();
    if (m_error)
        return QString();
    // The cursor stops right after the expression, except for a literal left
    // open, which keeps the rest of its line as it is, blanks included.
    return m_buf.mid(start, m_cur - start);
}

bool Translator::atWord(const char *word) const
{
    int n = int(qstrlen(word));
    for (int k = 0; k < n; ++k)
        if (frUpperChar(at(m_cur + k)) != QLatin1Char(word[k]))
            return false;
    return !isNameChar(at(m_cur + n));
}

void Translator::expression()
{
    NestingGuard nesting(m_depth);
    if (nesting.tooDeep()) {
        m_lastPos = m_cur;
        addError(QStringLiteral("Nesting too deep"));
        return;
    }
    simple();
    if (m_error)
        return;
    int save = m_cur;
    skipBlanks();
    QChar c = at(m_cur), d = at(m_cur + 1);
    if ((c == QLatin1Char('>') && d == QLatin1Char('=')) ||
        (c == QLatin1Char('<') && (d == QLatin1Char('=') || d == QLatin1Char('>')))) {
        m_cur += 2;
        simple();
    } else if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('=')) {
        m_cur += 1;
        simple();
    } else {
        m_cur = save;
    }
}

void Translator::simple()
{
    for (;;) {
        // A long expression (a text joined over many lines) is read with the
        // build's work: its pace counts what the terms stepped over.
        if (m_cur > m_paced) {
            fr().pace.addRead(m_cur - m_paced);
            m_paced = m_cur;
        }
        frYieldWithinReading();
        term();
        if (m_error)
            return;
        int save = m_cur;
        skipBlanks();
        QChar c = at(m_cur);
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            m_cur += 1;
        } else if (atWord("OR")) {
            m_cur += 2;
        } else {
            m_cur = save;
            return;
        }
    }
}

void Translator::term()
{
    for (;;) {
        factor();
        if (m_error)
            return;
        int save = m_cur;
        skipBlanks();
        QChar c = at(m_cur);
        if (c == QLatin1Char('*') || c == QLatin1Char('/')) {
            m_cur += 1;
        } else if (atWord("AND") || atWord("MOD")) {
            m_cur += 3;
        } else {
            m_cur = save;
            return;
        }
    }
}

void Translator::factor()
{
    skipBlanks();
    m_lastPos = m_cur;
    QChar c = at(m_cur);
    if (c == QLatin1Char('(')) {
        ++m_cur;
        expression();
        if (m_error)
            return;
        skipBlanks();
        if (at(m_cur) != QLatin1Char(')')) {
            m_lastPos = m_cur;
            addError(QStringLiteral("Need \")\" here"));
            return;
        }
        ++m_cur;
    } else if (c == QLatin1Char('[')) {
        int open = m_cur + 1, close = m_cur + 1;
        frGetBracketedName(m_buf, open, close);
        if (close > m_buf.size() || at(close - 1) != QLatin1Char(']')) {
            m_lastPos = int(m_buf.size());
            addError(QStringLiteral("Need \"]\" here"));
            return;
        }
        m_cur = close;
    } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        ++m_cur;
        expression();
    } else if (atWord("NOT")) {
        m_cur += 3;
        expression();
    } else if (isLetter(c)) {
        while (isNameChar(at(m_cur)))
            ++m_cur;
        if (at(m_cur) == QLatin1Char('[')) {
            ++m_cur;
            expression();
            if (m_error)
                return;
            skipBlanks();
            if (at(m_cur) != QLatin1Char(']')) {
                m_lastPos = m_cur;
                addError(QStringLiteral("Need \"]\" here"));
                return;
            }
            ++m_cur;
        } else if (at(m_cur) == QLatin1Char('(')) {
            ++m_cur;
            skipBlanks();
            if (at(m_cur) == QLatin1Char(')')) {
                ++m_cur;
                return;
            }
            for (;;) {
                expression();
                if (m_error)
                    return;
                skipBlanks();
                if (at(m_cur) == QLatin1Char(',')) {
                    ++m_cur;
                    continue;
                }
                if (at(m_cur) == QLatin1Char(')')) {
                    ++m_cur;
                    return;
                }
                m_lastPos = m_cur;
                addError(QStringLiteral("Need \",\" or \")\" here"));
                return;
            }
        }
    } else if (c == QLatin1Char('\'')) {
        ++m_cur;
        while (m_cur < m_buf.size() && m_buf.at(m_cur) != QLatin1Char('\r')) {
            if (m_buf.at(m_cur) == QLatin1Char('\'')) {
                if (at(m_cur + 1) == QLatin1Char('\'')) {
                    m_cur += 2;
                    continue;
                }
                ++m_cur;
                return;
            }
            ++m_cur;
        }
    } else if (isDigit(c)) {
        while (isDigit(at(m_cur)))
            ++m_cur;
        if (at(m_cur) == QLatin1Char('.') && isDigit(at(m_cur + 1))) {
            ++m_cur;
            while (isDigit(at(m_cur)))
                ++m_cur;
        }
    } else {
        addError(QStringLiteral("Need expression here"));
    }
}

void Translator::secondPass()
{
    for (int i = 0; i < m_coded.size(); ++i) {
        QString &line = m_coded[i];
        if (line.isEmpty())
            continue;
        try {
            QChar lead = line.at(0);
            if (lead == kCondJump) {
                if (line.size() >= 3)
                    line = line.left(3) + m_parser.ConvertToPostfix(line.mid(3));
            } else if (lead == kJump) {
                if (m_gotoLines.contains(i)) {
                    const int target = m_labels.value(line.mid(1) + QLatin1Char(':'),
                                                      TfrInterpretator::kMaxCodedLines);
                    line = kJump + targetBytes(target);
                }
            } else if (lead == kCall) {
                line = kCall + m_parser.ConvertToPostfix(line.mid(1));
            } else {
                qsizetype blank = line.indexOf(QLatin1Char(' '));
                if (blank >= 0)
                    line = line.left(blank + 1) + m_parser.ConvertToPostfix(line.mid(blank + 1));
            }
        } catch (const platform::Exception &e) {
            if (!m_error) {
                m_lastPos = i < int(m_exprPos.size()) ? m_exprPos[size_t(i)] : 0;
                addError(e.Message().isEmpty() ? QStringLiteral("Need \",\" or \")\" here")
                                               : e.Message());
            }
        }
    }
}

} // namespace

TfrInterpretator::TfrInterpretator()
{
    m_parser.OnGetValue = [this](const QString &name, FrVariant &value) { GetValue(name, value); };
    m_parser.OnFunction = [this](const QString &name, const FrVariant &p1, const FrVariant &p2,
                                 const FrVariant &p3,
                                 FrVariant &value) { DoFunction(name, p1, p2, p3, value); };
}

void TfrInterpretator::GetValue(const QString &, FrVariant &) {}

void TfrInterpretator::BeforeLine(int) {}

bool TfrInterpretator::YieldToEvents()
{
    return true;
}

void TfrInterpretator::SetValue(const QString &, const FrVariant &) {}

void TfrInterpretator::DoFunction(const QString &, const FrVariant &, const FrVariant &,
                                  const FrVariant &, FrVariant &)
{
}

void TfrInterpretator::PrepareScript(const QStringList &source, QStringList &coded,
                                     QStringList &errors)
{
    coded.clear();
    errors.clear();
    Translator(source, coded, errors, m_parser).run();
}

void TfrInterpretator::DoScript(const QStringList &coded)
{
    const int n = int(coded.size());
    int i = 0;
    // Lines are counted with the rest of the build's work, not per run: a
    // thousand short runs yield as one long run does.
    FrPace &pace = fr().pace;
    while (i >= 0 && i < n) {
        BeforeLine(i);
        if (pace.step() && !YieldToEvents())
            return;
        const QString &line = coded.at(i);
        if (line.isEmpty()) {
            ++i;
            continue;
        }
        QChar lead = line.at(0);
        if (lead == kCondJump) {
            if (line.size() < 3)
                return;
            FrVariant value = m_parser.EvaluatePostfix(line.mid(3));
            i = (value.isNull() || frIsZero(value)) ? targetOf(line) : i + 1;
        } else if (lead == kJump) {
            if (line.size() < 3)
                return;
            i = targetOf(line);
        } else if (lead == kCall) {
            QString call = line.mid(1);
            if (call.size() == 7 && frUpperCase(call) == QLatin1String("EXIT(0)"))
                return;
            m_parser.EvaluatePostfix(call);
            ++i;
        } else {
            qsizetype blank = line.indexOf(QLatin1Char(' '));
            QString name = blank < 0 ? line : line.left(blank);
            FrVariant value = m_parser.EvaluatePostfix(blank < 0 ? QString() : line.mid(blank + 1));
            SetValue(name, value);
            ++i;
        }
    }
}

void TfrInterpretator::SplitExpressions(const QStringList &coded, const QStringList &matchFunctions,
                                        QStringList &splitTo, const TfrVariables *variables)
{
    TfrFunctionSplitter splitter(matchFunctions, splitTo, variables);
    for (const QString &line : coded) {
        if (line.isEmpty())
            continue;
        QChar lead = line.at(0);
        if (lead == kCondJump)
            splitter.Split(line.mid(3));
        else if (lead == kCall)
            splitter.Split(line.mid(1));
        else if (lead != kJump) {
            qsizetype blank = line.indexOf(QLatin1Char(' '));
            if (blank >= 0)
                splitter.Split(line.mid(blank + 1));
        }
    }
}

} // namespace report
