#include "manager/core/calculquatre.h"

#include "platform/text/convert.h"

#include <QStringList>
#include <cmath>

namespace
{

// Round to nearest, ties to even (the current rounding mode is never changed).
long double auPlusPres(long double x)
{
    return std::nearbyint(x);
}

} // namespace

int EchellePV(qint64 n, qint64 m)
{
    if (n < 0 || n > 255)
        throw ECalculPV(QStringLiteral("Nombre de donnes incorrect : calcul des PV impossible"));
    if (m < 0 || m > 255)
        throw ECalculPV(QStringLiteral("Ecart d'IMP supérieur à 255 : calcul des PV impossible"));
    if (m == 0)
        return 0;
    if (n == 0)
        throw ECalculPV(QStringLiteral("Nombre de donnes nul : calcul des PV impossible"));
    const long double t = (std::sqrt(5.0L) - 1.0L) / 2.0L;
    const long double b = 15.0L * std::sqrt(static_cast<long double>(n));
    const long double x =
        10.0L * (1.0L - std::pow(t, 3.0L * static_cast<long double>(m) / b)) / (1.0L - t * t * t);
    long double v = auPlusPres(x * 100.0L) / 100.0L * 100.0L;
    if (v > 1000.0L)
        v = 1000.0L;
    return static_cast<int>(auPlusPres(v));
}

int CalculPV(qint64 n, qint64 a, qint64 b)
{
    if (n < 0 || n > 255)
        throw ECalculPV(QStringLiteral("Nombre de donnes incorrect : calcul des PV impossible"));
    if (a == b)
        return 1000;
    if (a > b)
        return 1000 + EchellePV(n, a - b);
    return 1000 - EchellePV(n, b - a);
}

qint64 CalculPE(qint64 n, qint64 pv)
{
    return platform::roundHalfEven(static_cast<double>(static_cast<__int128>(n) * pv * 3) / 8.0);
}

qint64 CalculPC(qint64 pv, qint64 ivmA, qint64 ivmB)
{
    const __int128 produit = static_cast<__int128>(ivmA) * ivmB;
    const long double c =
        produit == 0 ? 0.0L : std::cbrt(static_cast<long double>(produit) / 10000.0L);
    const long double x = c * 1.7L * static_cast<long double>(pv + 200);
    return platform::roundHalfEven(static_cast<double>(x));
}

qint64 BonusIV(qint64 propre, qint64 adverse, qint64 n)
{
    if (adverse <= propre)
        return 0;
    return platform::roundHalfEven(
        static_cast<double>(static_cast<__int128>(adverse - propre) * n) / 160.0);
}

qint64 PenaliteIV(qint64 plafond, qint64 s1, qint64 s2)
{
    const qint64 e1 = s1 > plafond ? s1 - plafond : 0;
    const qint64 e2 = s2 > plafond ? s2 - plafond : 0;
    return 4 * e1 + 4 * e2;
}

QString messageCalculQuatre()
{
    const QString b = QStringLiteral(" ");
    const QStringList lignes = {
        b.repeated(11) + QStringLiteral("Penalité = (IVMax-IV) * 4") + b.repeated(11),
        b.repeated(6) + QStringLiteral("Bonus = (IVmA-IVmB) * Nb Donne /20") + b.repeated(7),
        QStringLiteral("PC =  1.7* (PV+2) * Power(((IvA*IvB)/1000),1/3)"),
        b.repeated(4) + QStringLiteral("PE = (PV * 18 ) * (Nb Donne /24)") + b.repeated(11),
        b.repeated(8) + QStringLiteral("N'oubliez pas d'enregistrer") + b.repeated(10)};
    return lignes.join(QStringLiteral("\n\n"));
}
