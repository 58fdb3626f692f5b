#pragma once
// The value type of report expressions, variables and scripts: a small variant
// of our own with the rules the report language relies on (text meets numbers
// by conversion, Null propagates, integers widen to doubles on overflow).
#include <QString>
#include <cstdint>

namespace report
{

class FrVariant
{
public:
    enum Type : std::uint8_t { Unassigned, Null, Boolean, Integer, Double, String, Date };

    FrVariant() = default;
    FrVariant(bool value) : m_type(Boolean) { m_b = value; }
    FrVariant(int value) : m_type(Integer) { m_i = value; }
    FrVariant(double value) : m_type(Double) { m_d = value; }
    FrVariant(const QString &value) : m_type(String), m_s(value) {}
    FrVariant(QString &&value) : m_type(String), m_s(std::move(value)) {}
    FrVariant(const char *utf8) : m_type(String), m_s(QString::fromUtf8(utf8)) {}

    static FrVariant null();
    // A date-time as days since 30 December 1899, time as the fraction.
    static FrVariant fromDate(double dateTime);
    // A whole number: an Integer when it fits 32 bits, a Double otherwise.
    static FrVariant fromInt64(qint64 value);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Null; }
    bool isUnassigned() const { return m_type == Unassigned; }
    bool isString() const { return m_type == String; }
    bool isNumeric() const { return m_type == Boolean || m_type == Integer || m_type == Double; }

    // Conversions; a text that is no number raises the variant cast error,
    // so does Null where a number is required.
    QString toString() const;
    double toDouble() const;
    qint32 toInt() const;
    bool toBool() const;

    // Raw access for callers that already know the type.
    bool boolValue() const { return m_b; }
    qint32 intValue() const { return m_i; }
    double doubleValue() const { return m_d; }
    const QString &stringValue() const { return m_s; }

    // Same type and same value (for tests and caches, not the language's '=').
    bool identical(const FrVariant &other) const;

    friend void frAddTo(FrVariant &a, const FrVariant &b);

private:
    Type m_type = Unassigned;
    union {
        bool m_b;
        qint32 m_i;
        double m_d = 0;
    };
    QString m_s;
};

// The language's operators.
FrVariant frAdd(const FrVariant &a, const FrVariant &b);
// a := a + b. A text joined with a text grows in place, so that a long
// chain of "+" (a script building a text over many lines) copies each piece
// once instead of the whole left side at every "+".
void frAddTo(FrVariant &a, const FrVariant &b);
FrVariant frSubtract(const FrVariant &a, const FrVariant &b);
FrVariant frMultiply(const FrVariant &a, const FrVariant &b);
FrVariant frDivide(const FrVariant &a, const FrVariant &b);
// Both operands rounded half to even to integers; the sign follows the dividend.
FrVariant frModulo(const FrVariant &a, const FrVariant &b);
FrVariant frNegate(const FrVariant &a);
// <0, 0 or >0. Null orders first and equals only Null; texts compare by their
// Windows-1252 codes; a text meeting a number is converted.
int frCompare(const FrVariant &a, const FrVariant &b);
// The comparison a = b of the language (false when exactly one is Null).
bool frEquals(const FrVariant &a, const FrVariant &b);
// True when the value compares equal to the integer 0 (Null is not zero).
bool frIsZero(const FrVariant &a);

// A double as text with 15 significant digits and "," as decimal separator.
QString frFloatToStr(double value);
// A date-time as "dd/mm/yyyy", followed by " hh:nn:ss" when it has a time.
QString frDateTimeToStr(double value);
// Text to number as the variant rules read it: an integer, or a decimal with
// ","; blanks around are ignored. False when the text is no number.
bool frTextToNumber(const QString &text, FrVariant &result);

} // namespace report
