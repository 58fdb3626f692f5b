#include "manager/core/saisie.h"

#include "platform/text/convert.h"
#include "platform/text/exceptions.h"

#include <limits>

QString champSaisi(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == QLatin1Char(';'))
            c = QLatin1Char(',');
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) ||
                 c == QChar(0x2029))
            c = QLatin1Char(' ');
    }
    return out;
}

int EntierOuZero(const QString &text)
{
    if (text.isEmpty())
        return 0;
    return platform::StrToInt(text);
}

int ChiffresSeuls(const QString &text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            value = value * 10 + (c.unicode() - '0');
            // Too many digits saturate instead of overflowing.
            if (value > std::numeric_limits<int>::max())
                value = std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(value);
}

qint64 AjouteEntier(qint64 total, const QString &texte)
{
    return AjouteValeur(total, platform::StrToInt64(texte), texte);
}

namespace
{
[[noreturn]] void horsLimites(const QString &texte)
{
    throw platform::EConvertError(
        QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(platform::excerpt(texte)));
}
} // namespace

qint64 AjouteValeur(qint64 total, qint64 valeur, const QString &texte)
{
    qint64 somme = 0;
    if (__builtin_add_overflow(total, valeur, &somme))
        horsLimites(texte);
    return somme;
}

qint64 MultiplieValeur(qint64 a, qint64 b, const QString &texte)
{
    qint64 produit = 0;
    if (__builtin_mul_overflow(a, b, &produit))
        horsLimites(texte);
    return produit;
}
