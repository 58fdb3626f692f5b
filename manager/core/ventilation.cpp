#include "manager/core/ventilation.h"

#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace manager
{

namespace
{

// K during the search: a whole number of 2^-40, exact through every halving
// the search makes (it stops at a bracket of 1e-10).
constexpr int Bits = 40;
constexpr __int128 Unite = __int128(1) << Bits;

constexpr qint64 MaxPlaces = MaxPlacesRepartition;

// What a typed K may hold: |K| below MaxK, at most MaxChiffres significant
// digits and MaxDecimales decimals, so that K's numerator stays below 2^80
// and its denominator below 2^67 (a K of the search: 2^74 and 2^40).
constexpr double MaxK = 1e12;
constexpr int MaxChiffres = 24;
constexpr int MaxDecimales = 20;

// The search of K stops at K = 10 * PasMax (about 1e10): a total the table
// does not reach by then is far beyond any season's (type 0 reaches every
// 32-bit total long before), and every product of the formulas stays
// within 128 bits.
constexpr qint64 PasMax = qint64(1) << 30;

qint64 arrondi(__int128 num, __int128 den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const bool negatif = num < 0;
    if (negatif)
        num = -num;
    __int128 q = num / den;
    const __int128 r = num % den;
    if (2 * r > den || (2 * r == den && (q & 1)))
        ++q;
    return qint64(negatif ? -q : q);
}

qint64 somme(const ParametresRepartition &p, const ConstanteK &k, qint64 plafond)
{
    qint64 s = 0;
    for (qint64 c = 1; c <= MaxPlaces; ++c) {
        const qint64 pts = PointsPlace(p, k, c);
        if (pts < 1)
            break;
        s += pts;
        // Past the ceiling, only "more than the total" matters.
        if (s > plafond)
            break;
    }
    return s;
}

ConstanteK enUnites(__int128 n)
{
    return ConstanteK{n, Unite};
}

} // namespace

bool ParametresRepartition::valides() const
{
    if (total < 1)
        return false;
    if (type == 1)
        return m >= 1;
    return formule == 0 ? x >= 2 : x >= 1;
}

qint64 PointsPlace(const ParametresRepartition &p, const ConstanteK &k, qint64 c)
{
    const __int128 a = k.num, q = k.den;
    if (p.type == 1) {
        if (a == 0)
            return 0;
        return arrondi(__int128(p.m) * (a - __int128(c - 1) * q), a);
    }
    if (p.formule == 0) {
        const __int128 d = p.x - 1;
        if (d == 0)
            return 0;
        return arrondi(100 * a * d + 51 * q * d - 100 * a * (c - 1), 100 * q * d);
    }
    const __int128 d = p.x + 1;
    if (d == 0)
        return 0;
    return arrondi(a * (d - c), q * d);
}

qint64 SommePoints(const ParametresRepartition &p, const ConstanteK &k)
{
    return somme(p, k, std::numeric_limits<qint64>::max() / 2);
}

std::optional<ConstanteK> ChercherK(const ParametresRepartition &p)
{
    const qint64 t = p.total;
    const auto sommeK = [&p, t](__int128 k) { return somme(p, enUnites(k), t); };
    // The first K of the steps 10, 20, 30 ... whose sum reaches the total.
    // The sum never decreases as K grows, so doubling then halving finds the
    // same step as walking them, in a number of sums that does not grow
    // with the total.
    const auto pas = [&sommeK](qint64 n) { return sommeK(__int128(n) * 10 * Unite); };
    qint64 sous = 0, atteint = 1;
    while (pas(atteint) < t) {
        // No table of at most MaxPlaces places reaches the total.
        if (atteint == PasMax)
            return std::nullopt;
        sous = atteint;
        atteint = std::min(2 * atteint, PasMax);
    }
    while (atteint - sous > 1) {
        const qint64 milieu = sous + (atteint - sous) / 2;
        if (pas(milieu) < t)
            sous = milieu;
        else
            atteint = milieu;
    }
    const __int128 haut0 = __int128(atteint) * 10 * Unite, bas0 = haut0 - 10 * Unite;
    if (sommeK(haut0) == t)
        return enUnites(haut0);

    // Bisection of that step towards the total. When the bracket closes
    // without reaching it, the search starts again on the whole step with a
    // target one lower, and follows the same halvings until a sum met on the
    // way equals the new target: so the next target that can succeed is the
    // largest sum below the target met on the way, reached at the first K
    // that gave it, unless it lies below what the step's low end gives,
    // which is then the answer.
    const qint64 sBas = sommeK(bas0);
    // 1e-10 in units of 2^-40.
    const __int128 ecartMin = 110;
    __int128 haut = haut0, bas = bas0, k = bas0 + 5 * Unite;
    qint64 meilleure = -1;
    __int128 kMeilleure = 0;
    for (;;) {
        const qint64 s = sommeK(k);
        if (s == t)
            return enUnites(k);
        if (s < t && s > meilleure) {
            meilleure = s;
            kMeilleure = k;
        }
        if (haut - bas < ecartMin)
            break;
        if (s < t)
            bas = k;
        else
            haut = k;
        k = bas + (haut - bas) / 2;
    }
    if (meilleure < sBas)
        return enUnites(bas0);
    return enUnites(kMeilleure);
}

QString TexteK(const ConstanteK &k)
{
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "%.15Lg", k.valeur());
    QString t = QString::fromLatin1(tampon);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    t.replace(QStringLiteral("e+"), QStringLiteral("E"));
    t.replace(QStringLiteral("e-"), QStringLiteral("E-"));
    return t;
}

ConstanteK LireK(const QString &texte)
{
    QString t = texte.trimmed();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    const double v = platform::StrToFloat(t);
    // Points of more than a thousand billion have no table; the limits keep
    // every product of the formulas within 128 bits, whatever X and M.
    if (!(std::fabs(v) < MaxK))
        throw platform::EConvertError(QStringLiteral("Valeur de K trop grande : ") +
                                      platform::excerpt(texte));
    // A plain decimal is kept exactly, up to MaxChiffres significant digits
    // and MaxDecimales decimals (those beyond change no point count);
    // anything else (an exponent) through its binary value.
    bool negatif = false;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negatif = t[i] == QLatin1Char('-');
        ++i;
    }
    __int128 num = 0, den = 1;
    int chiffres = 0, decimales = 0;
    bool apres = false, simple = i < t.size();
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char(',') && !apres) {
            apres = true;
            continue;
        }
        if (!c.isDigit()) {
            simple = false;
            break;
        }
        if (num == 0 && c == QLatin1Char('0') && !apres) {
            continue;
        }
        // Below MaxK the whole part always fits: only decimals are dropped.
        if (apres && (chiffres >= MaxChiffres || decimales >= MaxDecimales))
            continue;
        num = num * 10 + c.digitValue();
        if (num != 0)
            ++chiffres;
        if (apres) {
            den *= 10;
            ++decimales;
        }
    }
    if (simple)
        return ConstanteK{negatif ? -num : num, den};
    return ConstanteK{__int128((long double)v * (long double)Unite), Unite};
}

QStringList TableRepartition(const ParametresRepartition &p, const ConstanteK &k)
{
    QStringList lignes;
    qint64 reste = p.total;
    qint64 c = 1;
    for (; c <= MaxPlaces; ++c) {
        const qint64 pts = PointsPlace(p, k, c);
        if (pts < 1)
            break;
        lignes.append(QString::number(c) + QLatin1Char(';') + QString::number(pts) +
                      QLatin1Char(';'));
        reste -= pts;
    }
    for (; reste > 0 && c <= MaxPlaces; ++c, --reste)
        lignes.append(QString::number(c) + QStringLiteral(";1;"));
    return lignes;
}

QString FormuleAffichee(int type, int formule, qint64 x, const QString &mTexte)
{
    if (type == 1)
        return mTexte + QStringLiteral(" - [ (C-1) * (") + mTexte + QStringLiteral(" / K) ]");
    if (formule == 0)
        return QStringLiteral("(K + 0,51) - [ (C-1) * (K / ") + QString::number(x - 1) +
               QStringLiteral(") ]");
    return QStringLiteral("K - [ C * (K / ") + QString::number(x + 1) + QStringLiteral(") ]");
}

void ImpressionRepartition::charger(const QStringList &fichier)
{
    QList<qint64> c;
    qint64 s = 0;
    for (const QString &l : fichier) {
        s = AjouteEntier(s, platform::Champ(l, 1));
        c.append(s);
    }
    lignes = fichier;
    cumuls = c;
}

bool ImpressionRepartition::valeur(const QString &nom, int recNo, QString &texte, qint64 &entier,
                                   bool &estEntier) const
{
    estEntier = false;
    if (nom == u"Titre" || nom == u"SousTitre" || nom == u"date") {
        texte = nom == u"Titre" ? titre : nom == u"SousTitre" ? sousTitre : date;
        return true;
    }
    if (nom == u"Nbre_PP") {
        // What a single pass hands out up to this record: the lines before it
        // and its own.
        estEntier = true;
        const qsizetype dernier = std::min<qsizetype>(qsizetype(recNo) * 5 + 4, lignes.size() - 1);
        entier = dernier >= 0 ? cumuls[dernier] : 0;
        return true;
    }
    for (int n = 1; n <= 5; ++n) {
        const bool place = nom == QStringLiteral("Class%1").arg(n);
        if (place || nom == QStringLiteral("aff_PP%1").arg(n)) {
            const qsizetype i = qsizetype(recNo) * 5 + n - 1;
            texte = recNo >= 0 && i < lignes.size() ? platform::Champ(lignes[i], place ? 0 : 1)
                                                    : QString();
            return true;
        }
    }
    return false;
}

QStringList ImpressionRepartition::noms()
{
    QStringList n = {QStringLiteral("Titre"), QStringLiteral("SousTitre"), QStringLiteral("date"),
                     QStringLiteral("Nbre_PP")};
    for (int k = 1; k <= 5; ++k) {
        n.append(QStringLiteral("Class%1").arg(k));
        n.append(QStringLiteral("aff_PP%1").arg(k));
    }
    return n;
}

} // namespace manager
