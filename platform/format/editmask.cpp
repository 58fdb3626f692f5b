#include "platform/format/editmask.h"

#include "platform/format/format.h"

#include <QStringList>
#include <array>

namespace platform
{

namespace
{

struct InputRule {
    char letter;
    EditMask::Kind kind;
    bool required;
};

// The input characters of the notation; new ones are new rows.
constexpr std::array<InputRule, 9> kInputs = {{
    {'0', EditMask::Kind::Digit, true},
    {'9', EditMask::Kind::Digit, false},
    {'#', EditMask::Kind::DigitOrSign, false},
    {'L', EditMask::Kind::Letter, true},
    {'l', EditMask::Kind::Letter, false},
    {'A', EditMask::Kind::LetterOrDigit, true},
    {'a', EditMask::Kind::LetterOrDigit, false},
    {'C', EditMask::Kind::Any, true},
    {'c', EditMask::Kind::Any, false},
}};

// Fields split on ";" not preceded by "\".
QStringList fields(const QString &mask)
{
    QStringList out;
    QString cur;
    detail::countTextSteps(mask.size());
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == QLatin1Char('\\') && i + 1 < mask.size()) {
            cur += mask[i];
            cur += mask[++i];
        } else if (mask[i] == QLatin1Char(';')) {
            out.append(cur);
            cur.clear();
        } else {
            cur += mask[i];
        }
    }
    out.append(cur);
    return out;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

EditMask::EditMask(const QString &mask)
{
    const QStringList f = fields(mask);
    // The last two fields are the flag and the blank, so that a mask with
    // ";0; " appended overrides its own.
    if (f.size() >= 3) {
        m_saveLiterals = f[f.size() - 2] != QLatin1String("0");
        if (!f.last().isEmpty())
            m_blank = f.last()[0];
    } else if (f.size() == 2) {
        m_saveLiterals = f[1] != QLatin1String("0");
    }
    const QString &m = f[0];
    Case current = Case::Keep;
    detail::countTextSteps(m.size());
    for (qsizetype i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        Position p;
        if (c == QLatin1Char('\\') && i + 1 < m.size()) {
            p.literal = m[++i];
        } else if (c == QLatin1Char('<') && i + 1 < m.size() && m[i + 1] == QLatin1Char('>')) {
            current = Case::Keep;
            ++i;
            continue;
        } else if (c == QLatin1Char('<')) {
            current = Case::Lower;
            continue;
        } else if (c == QLatin1Char('>')) {
            current = Case::Upper;
            continue;
        } else if (c == QLatin1Char('!')) {
            m_fromRight = true;
            continue;
        } else if (c == QLatin1Char(':')) {
            p.literal = FormatSettings().TimeSeparator;
        } else if (c == QLatin1Char('/')) {
            p.literal = FormatSettings().DateSeparator;
        } else if (c == QLatin1Char('_')) {
            p.literal = QLatin1Char(' ');
        } else {
            p.literal = c;
            for (const InputRule &r : kInputs)
                if (c == QLatin1Char(r.letter)) {
                    p.kind = r.kind;
                    p.required = r.required;
                    p.literal = QChar();
                    p.letterCase = current;
                    break;
                }
        }
        m_positions.push_back(p);
    }
}

bool EditMask::accepts(int i, QChar c) const
{
    if (i < 0 || i >= size())
        return false;
    switch (at(i).kind) {
    case Kind::Literal:
        return c == at(i).literal;
    case Kind::Digit:
        return isAsciiDigit(c);
    case Kind::DigitOrSign:
        return isAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-');
    case Kind::Letter:
        return c.isLetter();
    case Kind::LetterOrDigit:
        return c.isLetterOrNumber();
    case Kind::Any:
        return !c.isNull();
    }
    return false;
}

QChar EditMask::shown(int i, QChar c) const
{
    if (i < 0 || i >= size())
        return c;
    switch (at(i).letterCase) {
    case Case::Upper:
        return c.toUpper();
    case Case::Lower:
        return c.toLower();
    case Case::Keep:
        break;
    }
    return c;
}

QString EditMask::editTextFor(const QString &text) const
{
    QString out;
    out.reserve(size());
    if (m_saveLiterals) {
        for (int i = 0; i < size(); ++i) {
            if (at(i).kind == Kind::Literal) {
                out += at(i).literal;
                continue;
            }
            const QChar c = i < text.size() ? text[i] : QChar();
            out += !c.isNull() && accepts(i, c) ? shown(i, c) : m_blank;
        }
        return out;
    }
    qsizetype k = 0;
    for (int i = 0; i < size(); ++i) {
        if (at(i).kind == Kind::Literal) {
            out += at(i).literal;
            continue;
        }
        const QChar c = k < text.size() ? text[k++] : QChar();
        out += !c.isNull() && accepts(i, c) ? shown(i, c) : m_blank;
    }
    return out;
}

QString EditMask::textOf(const QString &editText) const
{
    QString out;
    for (int i = 0; i < size(); ++i) {
        if (at(i).kind == Kind::Literal) {
            if (m_saveLiterals)
                out += at(i).literal;
            continue;
        }
        const QChar c = i < editText.size() ? editText[i] : m_blank;
        out += c == m_blank ? QLatin1Char(' ') : c;
    }
    return out;
}

bool EditMask::isComplete(const QString &editText, int *firstBad) const
{
    for (int i = 0; i < size(); ++i) {
        if (at(i).kind == Kind::Literal)
            continue;
        const QChar c = i < editText.size() ? editText[i] : m_blank;
        const bool empty = c == m_blank || c == QLatin1Char(' ');
        if ((empty && at(i).required) || (!empty && !accepts(i, c))) {
            if (firstBad)
                *firstBad = i;
            return false;
        }
    }
    if (firstBad)
        *firstBad = -1;
    return true;
}

QString EditMask::toQtInputMask() const
{
    static const QString meta = QStringLiteral("AaNnXx90Dd#HhBb><!\\;[]{}");
    QString out;
    Case current = Case::Keep;
    for (const Position &p : m_positions) {
        if (p.kind != Kind::Literal && p.letterCase != current) {
            current = p.letterCase;
            out += current == Case::Upper
                       ? QLatin1Char('>')
                       : (current == Case::Lower ? QLatin1Char('<') : QLatin1Char('!'));
        }
        switch (p.kind) {
        case Kind::Literal:
            if (meta.contains(p.literal))
                out += QLatin1Char('\\');
            out += p.literal;
            break;
        case Kind::Digit:
            out += p.required ? QLatin1Char('9') : QLatin1Char('0');
            break;
        case Kind::DigitOrSign:
            out += QLatin1Char('#');
            break;
        case Kind::Letter:
            out += p.required ? QLatin1Char('A') : QLatin1Char('a');
            break;
        case Kind::LetterOrDigit:
            out += p.required ? QLatin1Char('N') : QLatin1Char('n');
            break;
        case Kind::Any:
            out += p.required ? QLatin1Char('X') : QLatin1Char('x');
            break;
        }
    }
    if (out.isEmpty())
        return out;
    return out + QLatin1Char(';') + m_blank;
}

QString FormatMaskText(const QString &editMask, const QString &value)
{
    const EditMask mask(editMask);
    if (mask.isEmpty())
        return value;
    if (mask.saveLiterals()) {
        // The value already holds the literals: keep it, pad what is missing.
        QString out = value;
        for (int i = static_cast<int>(out.size()); i < mask.size(); ++i)
            out +=
                mask.at(i).kind == EditMask::Kind::Literal ? mask.at(i).literal : QLatin1Char(' ');
        return out;
    }
    const qsizetype n = value.size();
    detail::countTextSteps(n + mask.size());
    QString out;
    if (!mask.fromRight()) {
        qsizetype k = 0;
        for (int i = 0; i < mask.size(); ++i) {
            if (mask.at(i).kind == EditMask::Kind::Literal)
                out += mask.at(i).literal;
            else
                out += k < n ? value[k++] : QLatin1Char(' ');
        }
        // Characters beyond the mask are kept after it.
        out += value.mid(k);
    } else {
        // Filled from its end: one character put before the others at each
        // place would move all of them every time.
        qsizetype k = n;
        for (int i = 0; i < mask.size(); ++i)
            if (mask.at(i).kind != EditMask::Kind::Literal && k > 0)
                --k;
        out = value.left(k);
        out.resize(k + mask.size());
        QChar *end = out.data() + out.size();
        qsizetype j = n - 1;
        for (int i = mask.size() - 1; i >= 0; --i) {
            if (mask.at(i).kind == EditMask::Kind::Literal)
                *--end = mask.at(i).literal;
            else
                *--end = j >= 0 ? value[j--] : QLatin1Char(' ');
        }
    }
    return out;
}

QString maskEditErrorText()
{
    return QStringLiteral(
        "Valeur saisie incorrecte. Utilisez la touche Echap pour abandonner les modifications");
}

} // namespace platform
