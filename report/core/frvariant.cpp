#include "report/core/frvariant.h"

#include "platform/format/format.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"

#include <QDate>
#include <cmath>
#include <cstdio>
#include <limits>

namespace report
{

namespace
{

constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

// The numeric view of an operand: whole numbers stay exact, dates keep their kind.
struct Num {
    enum Kind { Int, Real, DateTime } kind = Int;
    qint64 i = 0;
    double d = 0;
    double real() const { return kind == Int ? double(i) : d; }
};

Num numberOf(const FrVariant &v)
{
    Num n;
    switch (v.type()) {
    case FrVariant::Unassigned:
        return n;
    case FrVariant::Null:
        throw EVariantError::typeCast();
    case FrVariant::Boolean:
        n.i = v.boolValue() ? 1 : 0;
        return n;
    case FrVariant::Integer:
        n.i = v.intValue();
        return n;
    case FrVariant::Double:
        n.kind = Num::Real;
        n.d = v.doubleValue();
        return n;
    case FrVariant::Date:
        n.kind = Num::DateTime;
        n.d = v.doubleValue();
        return n;
    case FrVariant::String: {
        FrVariant converted;
        if (!frTextToNumber(v.stringValue(), converted))
            throw EVariantError::typeCast();
        return numberOf(converted);
    }
    }
    return n;
}

FrVariant realResult(double value, bool isDate)
{
    return isDate ? FrVariant::fromDate(value) : FrVariant(value);
}

bool isTextLike(const FrVariant &v)
{
    return v.type() == FrVariant::String || v.type() == FrVariant::Unassigned;
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

FrVariant FrVariant::null()
{
    FrVariant v;
    v.m_type = Null;
    return v;
}

FrVariant FrVariant::fromDate(double dateTime)
{
    FrVariant v(dateTime);
    v.m_type = Date;
    return v;
}

FrVariant FrVariant::fromInt64(qint64 value)
{
    if (value >= kIntMin && value <= kIntMax)
        return FrVariant(int(value));
    return FrVariant(double(value));
}

QString FrVariant::toString() const
{
    switch (m_type) {
    case Unassigned:
    case Null:
        return QString();
    case Boolean:
        return m_b ? QStringLiteral("True") : QStringLiteral("False");
    case Integer:
        return QString::number(m_i);
    case Double:
        return frFloatToStr(m_d);
    case Date:
        return frDateTimeToStr(m_d);
    case String:
        return m_s;
    }
    return QString();
}

double FrVariant::toDouble() const
{
    return numberOf(*this).real();
}

qint32 FrVariant::toInt() const
{
    Num n = numberOf(*this);
    qint64 value = n.i;
    if (n.kind != Num::Int) {
        if (!std::isfinite(n.d) || std::fabs(n.d) > 2147483647.5)
            throw EVariantError::invalidOp();
        value = platform::roundHalfEven(n.d);
    }
    if (value < kIntMin || value > kIntMax)
        throw EVariantError::invalidOp();
    return qint32(value);
}

bool FrVariant::toBool() const
{
    if (m_type == String) {
        if (m_s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (m_s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (m_type == Null)
        return false;
    return numberOf(*this).real() != 0;
}

bool FrVariant::identical(const FrVariant &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Unassigned:
    case Null:
        return true;
    case Boolean:
        return m_b == other.m_b;
    case Integer:
        return m_i == other.m_i;
    case Double:
    case Date:
        return m_d == other.m_d || (std::isnan(m_d) && std::isnan(other.m_d));
    case String:
        return m_s == other.m_s;
    }
    return false;
}

FrVariant frAdd(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return FrVariant::null();
    if (isTextLike(a) && isTextLike(b) && (a.isString() || b.isString())) {
        const QString x = a.toString(), y = b.toString();
        const qint64 length = qint64(x.size()) + y.size();
        // Checked before it is built: a text doubled in a loop stops here.
        frCheckTextLength(length);
        platform::detail::countTextSteps(length);
        // A long copy is work the build's pace must see (16 K characters a unit).
        if (length >= 1 << 14)
            fr().pace.add(int(length >> 14));
        return FrVariant(x + y);
    }
    Num x = numberOf(a), y = numberOf(b);
    if (x.kind == Num::Int && y.kind == Num::Int)
        return FrVariant::fromInt64(x.i + y.i);
    bool date = (x.kind == Num::DateTime) != (y.kind == Num::DateTime);
    return realResult(x.real() + y.real(), date);
}

void frAddTo(FrVariant &a, const FrVariant &b)
{
    if (!a.isString() || !isTextLike(b)) {
        a = frAdd(a, b);
        return;
    }
    const QString y = b.toString();
    const qint64 length = qint64(a.m_s.size()) + y.size();
    frCheckTextLength(length);
    platform::detail::countTextSteps(y.size());
    if (y.size() >= 1 << 14)
        fr().pace.add(int(y.size() >> 14));
    a.m_s += y;
}

FrVariant frSubtract(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return FrVariant::null();
    Num x = numberOf(a), y = numberOf(b);
    if (x.kind == Num::Int && y.kind == Num::Int)
        return FrVariant::fromInt64(x.i - y.i);
    bool date = x.kind == Num::DateTime && y.kind != Num::DateTime;
    return realResult(x.real() - y.real(), date);
}

FrVariant frMultiply(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return FrVariant::null();
    Num x = numberOf(a), y = numberOf(b);
    if (x.kind == Num::Int && y.kind == Num::Int)
        return FrVariant::fromInt64(x.i * y.i);
    return FrVariant(x.real() * y.real());
}

FrVariant frDivide(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return FrVariant::null();
    Num x = numberOf(a), y = numberOf(b);
    if (y.real() == 0)
        throw EDivByZero();
    return FrVariant(x.real() / y.real());
}

FrVariant frModulo(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return FrVariant::null();
    auto whole = [](const Num &n) -> qint64 {
        if (n.kind == Num::Int)
            return n.i;
        if (!std::isfinite(n.d) || std::fabs(n.d) >= 9.2e18)
            throw EVariantError::invalidOp();
        return platform::roundHalfEven(n.d);
    };
    qint64 x = whole(numberOf(a)), y = whole(numberOf(b));
    if (y == 0)
        throw EDivByZero();
    if (y == -1)
        return FrVariant(0);
    return FrVariant::fromInt64(x % y);
}

FrVariant frNegate(const FrVariant &a)
{
    if (a.isNull())
        return a;
    Num x = numberOf(a);
    if (x.kind == Num::Int)
        return FrVariant::fromInt64(-x.i);
    return realResult(-x.d, x.kind == Num::DateTime);
}

int frCompare(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() ? (b.isNull() ? 0 : -1) : 1;
    if (isTextLike(a) && isTextLike(b))
        return platform::ansiCompare(a.toString(), b.toString());
    auto side = [](const FrVariant &v, const FrVariant &other) -> double {
        if (v.type() == FrVariant::String && other.type() == FrVariant::Date) {
            FrVariant n;
            if (frTextToNumber(v.stringValue(), n))
                return n.toDouble();
            return platform::StrToDateTime(v.stringValue().trimmed());
        }
        return numberOf(v).real();
    };
    double x = side(a, b), y = side(b, a);
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool frEquals(const FrVariant &a, const FrVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return frCompare(a, b) == 0;
}

bool frIsZero(const FrVariant &a)
{
    return frEquals(a, FrVariant(0));
}

QString frFloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    QString text = QString::fromLatin1(buf);
    bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    int ePos = text.indexOf(QLatin1Char('e'));
    int exponent = text.mid(ePos + 1).toInt();
    QString digits = text.left(1) + text.mid(2, ePos - 2);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString out;
    if (exponent >= 15 || std::fabs(value) < 1e-5) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += QLatin1Char(',') + digits.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent >= 0) {
        QString whole = digits.left(exponent + 1);
        while (whole.size() < exponent + 1)
            whole += QLatin1Char('0');
        out = whole;
        if (digits.size() > exponent + 1)
            out += QLatin1Char(',') + digits.mid(exponent + 1);
    } else {
        out = QStringLiteral("0,") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    return negative ? QLatin1Char('-') + out : out;
}

QString frDateTimeToStr(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return frFloatToStr(value);
    double whole = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - whole) * 86400.0);
    qint64 days = qint64(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += value < 0 ? -1 : 1;
    }
    QDate date = QDate(1899, 12, 30).addDays(days);
    QString text = twoDigits(date.day()) + QLatin1Char('/') + twoDigits(date.month()) +
                   QLatin1Char('/') +
                   QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
    if (seconds != 0) {
        text += QLatin1Char(' ') + twoDigits(int(seconds / 3600)) + QLatin1Char(':') +
                twoDigits(int(seconds / 60 % 60)) + QLatin1Char(':') + twoDigits(int(seconds % 60));
    }
    return text;
}

bool frTextToNumber(const QString &text, FrVariant &result)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    int asInt = t.toInt(&ok, 10);
    if (ok) {
        result = FrVariant(asInt);
        return true;
    }
    // Only digits, one sign, one "," and an exponent: no "inf", "nan" or hex.
    for (QChar c : t) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char(',') && c != QLatin1Char('+') &&
            c != QLatin1Char('-') && c != QLatin1Char('e') && c != QLatin1Char('E'))
            return false;
    }
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    double d = t.toDouble(&ok);
    if (!ok)
        return false;
    qint64 whole = 0;
    if (std::fabs(d) < 9e15 && d == std::trunc(d) && !t.contains(QLatin1Char('.')) &&
        !t.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
        whole = qint64(d);
        result = FrVariant::fromInt64(whole);
        return true;
    }
    result = FrVariant(d);
    return true;
}

} // namespace report
