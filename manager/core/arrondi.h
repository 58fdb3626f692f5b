#pragma once
// Exact rounding of fractions: halves go to the even number without passing
// through binary floating point (280.5 stays a half).
#include <QtGlobal>

// num / den to the nearest whole number, halves to even (num >= 0, den > 0).
inline qint64 DivisionArrondiePaire(qint64 num, qint64 den)
{
    qint64 q = num / den;
    const qint64 r = num % den;
    if (2 * r > den || (2 * r == den && (q & 1)))
        ++q;
    return q;
}
