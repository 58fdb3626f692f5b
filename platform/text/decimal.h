#pragma once
// A double as the decimal digits it reads as: the shortest text that reads
// back as the same double. Rounding and formatting work on these digits, so
// that a value rounds the way it is shown, not the way its binary fraction
// happens to fall.
#include <string>

namespace platform
{

struct DecimalDigits {
    bool negative = false;
    // Significant digits without leading or trailing zeros; empty for zero.
    std::string digits;
    // value = 0.digits x 10^exponent: the integer part has `exponent` digits.
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
};

enum class HalfRounding { ToEven, AwayFromZero };

// Finite values only; NaN and infinities are the caller's business.
DecimalDigits toDecimalDigits(double value);
// Also from a given number of significant digits (1..17), half to even as
// the shortest text already is.
DecimalDigits toDecimalDigits(double value, int significant);
// Keeps `fractionDigits` digits after the point (may be negative: tens...).
void roundDecimalDigits(DecimalDigits &d, int fractionDigits, HalfRounding mode);
// Keeps `significant` digits in all.
void roundSignificant(DecimalDigits &d, int significant, HalfRounding mode);
double toDouble(const DecimalDigits &d);

} // namespace platform
