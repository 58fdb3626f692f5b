#include "platform/text/decimal.h"

#include <charconv>
#include <cstdlib>

namespace platform
{

namespace
{

void trim(DecimalDigits &d)
{
    const auto last = d.digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.digits.clear();
    } else {
        d.digits.erase(last + 1);
        const auto first = d.digits.find_first_not_of('0');
        d.digits.erase(0, first);
        d.exponent -= static_cast<int>(first);
    }
    if (d.digits.empty()) {
        d.exponent = 0;
        d.negative = false;
    }
}

DecimalDigits parseScientific(const char *begin, const char *end)
{
    // "-d.dddde+XX" as to_chars writes it.
    DecimalDigits d;
    const char *p = begin;
    if (p < end && *p == '-') {
        d.negative = true;
        ++p;
    }
    int intDigits = 0;
    bool afterPoint = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            afterPoint = true;
            continue;
        }
        d.digits.push_back(*p);
        if (!afterPoint)
            ++intDigits;
    }
    int exp10 = 0;
    if (p < end && *p == 'e')
        exp10 = std::atoi(std::string(p + 1, end).c_str());
    d.exponent = intDigits + exp10;
    const bool neg = d.negative;
    trim(d);
    if (!d.digits.empty())
        d.negative = neg;
    return d;
}

} // namespace

DecimalDigits toDecimalDigits(double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    return parseScientific(buf, r.ptr);
}

DecimalDigits toDecimalDigits(double value, int significant)
{
    if (significant < 1)
        significant = 1;
    if (significant > 17)
        significant = 17;
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    return parseScientific(buf, r.ptr);
}

static void roundAt(DecimalDigits &d, long keep, HalfRounding mode)
{
    if (d.isZero() || keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        trim(d);
        return;
    }
    const char next = d.digits[keep];
    const bool restNonZero = d.digits.find_first_not_of('0', keep + 1) != std::string::npos;
    const char lastKept = keep > 0 ? d.digits[keep - 1] : '0';
    bool up = next > '5';
    if (next == '5')
        up = restNonZero || mode == HalfRounding::AwayFromZero || ((lastKept - '0') % 2 == 1);
    d.digits.erase(keep);
    if (up) {
        long i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    const bool neg = d.negative;
    trim(d);
    if (!d.digits.empty())
        d.negative = neg;
}

void roundDecimalDigits(DecimalDigits &d, int fractionDigits, HalfRounding mode)
{
    roundAt(d, static_cast<long>(d.exponent) + fractionDigits, mode);
}

void roundSignificant(DecimalDigits &d, int significant, HalfRounding mode)
{
    roundAt(d, significant, mode);
}

double toDouble(const DecimalDigits &d)
{
    if (d.isZero())
        return 0.0;
    std::string text = d.negative ? "-0." : "0.";
    text += d.digits;
    text += 'e';
    text += std::to_string(d.exponent);
    double v = 0.0;
    std::from_chars(text.data() + (d.negative ? 1 : 0), text.data() + text.size(), v);
    return d.negative ? -v : v;
}

} // namespace platform
