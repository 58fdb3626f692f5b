#include "manager/core/ventilation.h"

#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <cstdio>

namespace manager
{

namespace
{

// K during the search: a whole number of 2^-40, exact through every halving
// the search makes (it stops at a bracket of 1e-10).
constexpr int Bits = 40;
constexpr __int128 Unite = __int128(1) << Bits;

// The table never holds more places than this: a K typed by hand could
// otherwise endow millions of places.
constexpr qint64 MaxPlaces = 100000;

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

ConstanteK ChercherK(const ParametresRepartition &p)
{
    const qint64 t = p.total;
    __int128 k = 10 * Unite;
    for (;;) {
        const qint64 s = somme(p, enUnites(k), t);
        if (s == t)
            return enUnites(k);
        if (s > t)
            break;
        k += 10 * Unite;
    }
    const __int128 haut0 = k, bas0 = k - 10 * Unite;
    __int128 haut = haut0, bas = bas0;
    qint64 cible = t;
    const qint64 sBas = somme(p, enUnites(bas0), t);
    k -= 5 * Unite;
    // 1e-10 in units of 2^-40.
    const __int128 ecartMin = 110;
    while (somme(p, enUnites(k), t) != cible) {
        if (haut - bas < ecartMin) {
            haut = haut0;
            bas = bas0;
            --cible;
            // Below what the bracket's low end gives, no K of the bracket
            // can be found: that end is the answer.
            if (cible < sBas)
                return enUnites(bas0);
        } else if (somme(p, enUnites(k), t) < cible) {
            bas = k;
        } else {
            haut = k;
        }
        k = bas + (haut - bas) / 2;
    }
    return enUnites(k);
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
    // A plain decimal is kept exactly; anything else (an exponent) through
    // its binary value.
    bool negatif = false;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negatif = t[i] == QLatin1Char('-');
        ++i;
    }
    __int128 num = 0, den = 1;
    int chiffres = 0;
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
        // Digits beyond 30 add nothing a point count could show.
        if (chiffres >= 30) {
            if (!apres)
                simple = false;
            continue;
        }
        num = num * 10 + c.digitValue();
        if (num != 0)
            ++chiffres;
        if (apres)
            den *= 10;
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
