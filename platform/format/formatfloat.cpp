#include "platform/format/format.h"

#include "platform/text/decimal.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform
{

namespace
{

// One element of a number pattern section.
struct Token {
    enum Kind { Literal, IntDigit, FracDigit, Point, Exponent } kind;
    QString text;      // Literal
    bool zero = false; // "0" rather than "#"
    int index = 0;     // placeholder number, left to right, within its part
};

struct Section {
    std::vector<Token> tokens;
    int intCount = 0;
    int fracCount = 0;
    int lastFracZero = 0; // fraction digits "0" forces (up to the last "0")
    int firstIntZero = -1;
    bool thousands = false;
    bool scientific = false;
    bool expPlus = false;
    int expDigits = 0;
    bool anyDigit() const { return intCount + fracCount > 0; }
};

// Splits on ";" outside quoted text.
QStringList splitSections(const QString &format)
{
    QStringList out;
    QString cur;
    QChar quote;
    detail::countTextSteps(format.size());
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            out.append(cur);
            cur.clear();
            continue;
        }
        cur.append(c);
    }
    out.append(cur);
    return out;
}

void addLiteral(Section &s, const QString &text)
{
    if (!s.tokens.empty() && s.tokens.back().kind == Token::Literal)
        s.tokens.back().text += text;
    else
        s.tokens.push_back({Token::Literal, text});
}

// One character of literal text, added in place (a long pattern of literal
// text would otherwise make a string for each of its characters).
void addLiteral(Section &s, QChar c)
{
    if (!s.tokens.empty() && s.tokens.back().kind == Token::Literal)
        s.tokens.back().text += c;
    else
        s.tokens.push_back({Token::Literal, QString(c)});
}

Section parseSection(const QString &f)
{
    Section s;
    bool afterPoint = false;
    detail::countTextSteps(f.size());
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = f.indexOf(c, i + 1);
            addLiteral(s, f.mid(i + 1, end < 0 ? -1 : end - i - 1));
            i = end < 0 ? f.size() : end;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            Token t{afterPoint ? Token::FracDigit : Token::IntDigit, {}};
            t.zero = c == QLatin1Char('0');
            if (afterPoint) {
                t.index = s.fracCount++;
                if (t.zero)
                    s.lastFracZero = s.fracCount;
            } else {
                t.index = s.intCount++;
                if (t.zero && s.firstIntZero < 0)
                    s.firstIntZero = t.index;
            }
            s.tokens.push_back(t);
        } else if (c == QLatin1Char('.')) {
            if (!afterPoint) {
                afterPoint = true;
                s.tokens.push_back({Token::Point, {}});
            }
        } else if (c == QLatin1Char(',')) {
            s.thousands = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !s.scientific &&
                   i + 1 < f.size() &&
                   (f[i + 1] == QLatin1Char('+') || f[i + 1] == QLatin1Char('-'))) {
            s.scientific = true;
            s.expPlus = f[i + 1] == QLatin1Char('+');
            Token t{Token::Exponent, QString(c)};
            i += 2;
            while (i < f.size() && f[i] == QLatin1Char('0') && s.expDigits < 4) {
                ++s.expDigits;
                ++i;
            }
            --i;
            s.tokens.push_back(t);
            // Digit placeholders after the exponent are its own, not the number's.
            afterPoint = true;
            while (i + 1 < f.size() && f[i + 1] == QLatin1Char('0'))
                ++i;
        } else {
            addLiteral(s, c);
        }
    }
    return s;
}

QString digitsText(const DecimalDigits &d, int from, int count)
{
    // Digits of 0.d1d2d3... counted from the first significant digit; positions
    // outside give zeros.
    QString out;
    out.reserve(count);
    detail::countTextSteps(count);
    for (int i = from; i < from + count; ++i)
        out.append(i >= 0 && i < static_cast<int>(d.digits.size()) ? QLatin1Char(d.digits[i])
                                                                   : QLatin1Char('0'));
    return out;
}

QString render(const Section &s, DecimalDigits d, QChar decimalSeparator)
{
    const TFormatSettings &fs = FormatSettings();
    QString intPart;  // all integer digits to show
    QString fracPart; // fracCount digits
    int exp10 = 0;
    if (s.scientific) {
        roundSignificant(d, std::max(1, s.intCount + s.fracCount), HalfRounding::AwayFromZero);
        if (!d.isZero())
            exp10 = d.exponent - s.intCount;
        intPart = digitsText(d, 0, s.intCount);
        fracPart = digitsText(d, s.intCount, s.fracCount);
    } else {
        roundDecimalDigits(d, s.fracCount, HalfRounding::AwayFromZero);
        if (d.exponent > 0)
            intPart = digitsText(d, 0, d.exponent);
        fracPart = digitsText(d, d.exponent, s.fracCount);
        const int forced = s.firstIntZero < 0 ? 0 : s.intCount - s.firstIntZero;
        if (intPart.size() < forced)
            intPart = QString(forced - intPart.size(), QLatin1Char('0')) + intPart;
    }
    int shown = s.lastFracZero;
    for (int i = s.fracCount; i > shown; --i)
        if (fracPart[i - 1] != QLatin1Char('0')) {
            shown = i;
            break;
        }

    const int total = static_cast<int>(intPart.size());
    QString out;
    auto emitInt = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            out.append(intPart[i]);
            const int right = total - 1 - i;
            if (s.thousands && right > 0 && right % 3 == 0)
                out.append(fs.ThousandSeparator);
        }
    };
    bool intDone = false;
    for (const Token &t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::IntDigit: {
            // The first placeholder takes every digit the pattern has no
            // room for; the others take one digit each, counted from the right.
            const int right = s.intCount - 1 - t.index;
            const int pos = total - 1 - right;
            if (t.index == 0)
                emitInt(0, std::max(0, pos + 1));
            else if (pos >= 0)
                emitInt(pos, pos + 1);
            intDone = true;
            break;
        }
        case Token::Point:
            if (!intDone) {
                emitInt(0, total);
                intDone = true;
            }
            if (shown > 0)
                out.append(decimalSeparator);
            break;
        case Token::FracDigit:
            if (t.index < shown)
                out.append(fracPart[t.index]);
            break;
        case Token::Exponent: {
            out += t.text;
            if (exp10 < 0)
                out.append(QLatin1Char('-'));
            else if (s.expPlus)
                out.append(QLatin1Char('+'));
            const QString e = QString::number(std::abs(exp10));
            out += QString(std::max<qsizetype>(0, s.expDigits - e.size()), QLatin1Char('0')) + e;
            break;
        }
        }
    }
    detail::countTextSteps(qsizetype(s.tokens.size()) + out.size());
    return out;
}

bool roundsToZero(const Section &s, DecimalDigits d)
{
    if (s.scientific)
        return d.isZero();
    roundDecimalDigits(d, s.fracCount, HalfRounding::AwayFromZero);
    return d.isZero();
}

QString exponentText(int exp, bool plus, int minDigits)
{
    QString e = QString::number(std::abs(exp));
    if (e.size() < minDigits)
        e = QString(minDigits - e.size(), QLatin1Char('0')) + e;
    return (exp < 0 ? QStringLiteral("-") : (plus ? QStringLiteral("+") : QString())) + e;
}

QString specialText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// "d,dddE-5": the general format's scientific form.
QString generalScientific(const DecimalDigits &d, int expDigits, QChar decimalSeparator)
{
    QString out = QString(QLatin1Char(d.digits[0]));
    if (d.digits.size() > 1)
        out += decimalSeparator + QString::fromLatin1(d.digits.data() + 1,
                                                      static_cast<qsizetype>(d.digits.size() - 1));
    return out + QLatin1Char('E') + exponentText(d.exponent - 1, false, expDigits);
}

} // namespace

QString FormatFloat(const QString &format, double value)
{
    return FormatFloat(format, value, FormatSettings().DecimalSeparator);
}

QString FormatFloat(const QString &format, double value, QChar decimalSeparator)
{
    if (!std::isfinite(value))
        return specialText(value);
    if (format.isEmpty())
        return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0, decimalSeparator);
    const QStringList sections = splitSections(format);
    auto sectionText = [&](int i) {
        return i < sections.size() && !sections[i].isEmpty() ? sections[i] : sections[0];
    };
    const DecimalDigits d = toDecimalDigits(value);
    int pick = d.isZero() ? 2 : (d.negative ? 1 : 0);
    Section s = parseSection(sectionText(pick));
    if (pick != 2 && roundsToZero(s, d)) {
        // Shown as zero: the zero section, and no minus sign.
        pick = 2;
        s = parseSection(sectionText(2));
    }
    if (!s.anyDigit() && s.tokens.empty())
        return QString();
    DecimalDigits magnitude = d;
    magnitude.negative = false;
    if (pick == 2)
        magnitude = DecimalDigits();
    // Fixed notation of a number beyond any pattern's reach: the general text.
    if (!s.scientific && magnitude.exponent > 18)
        return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0, decimalSeparator);
    QString out = render(s, magnitude, decimalSeparator);
    const bool ownNegativeSection = sections.size() > 1 && !sections[1].isEmpty();
    if (pick == 1 && !ownNegativeSection)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString FloatToStr(double value)
{
    return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0);
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings().DecimalSeparator);
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    QChar decimalSeparator)
{
    if (!std::isfinite(value))
        return specialText(value);
    const TFormatSettings &fs = FormatSettings();
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, format == TFloatFormat::ffExponent ? 4 : 18);
    DecimalDigits d = toDecimalDigits(value);
    roundSignificant(d, precision, HalfRounding::AwayFromZero);
    const QString minus = d.negative ? QStringLiteral("-") : QString();
    d.negative = false;

    switch (format) {
    case TFloatFormat::ffExponent: {
        const QString mant = digitsText(d, 0, precision);
        QString out = minus + mant[0];
        if (precision > 1)
            out += decimalSeparator + mant.mid(1);
        return out + QLatin1Char('E') + exponentText(d.isZero() ? 0 : d.exponent - 1, true, digits);
    }
    case TFloatFormat::ffGeneral: {
        if (d.isZero())
            return QStringLiteral("0");
        if (d.exponent > precision || d.exponent < -3)
            return minus + generalScientific(d, digits, decimalSeparator);
        const int n = static_cast<int>(d.digits.size());
        QString intPart = d.exponent > 0 ? digitsText(d, 0, d.exponent) : QStringLiteral("0");
        QString frac = n > d.exponent ? digitsText(d, d.exponent, n - d.exponent) : QString();
        return minus + intPart + (frac.isEmpty() ? QString() : decimalSeparator + frac);
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        if (d.exponent > precision)
            return minus + generalScientific(d, 0, decimalSeparator);
        roundDecimalDigits(d, digits, HalfRounding::AwayFromZero);
        // Gathered on the stack, then one text: reports print every amount
        // through here.
        const auto digit = [&d](int i) {
            return QChar(
                QLatin1Char(i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0'));
        };
        const int intDigits = std::max(d.exponent, 0);
        QVarLengthArray<QChar, 64> chars;
        if (!d.isZero() && !minus.isEmpty())
            chars.append(QLatin1Char('-'));
        if (intDigits == 0)
            chars.append(QLatin1Char('0'));
        for (int i = 0; i < intDigits; ++i) {
            chars.append(digit(i));
            const int right = intDigits - 1 - i;
            if (format != TFloatFormat::ffFixed && right > 0 && right % 3 == 0)
                chars.append(fs.ThousandSeparator);
        }
        if (digits > 0) {
            chars.append(decimalSeparator);
            for (int i = d.exponent; i < d.exponent + digits; ++i)
                chars.append(digit(i));
        }
        QString out(chars.constData(), chars.size());
        if (format == TFloatFormat::ffCurrency)
            out += QLatin1Char(' ') + fs.CurrencyString;
        return out;
    }
    }
    return QString();
}

} // namespace platform
