#pragma once
// Sums of numbers read from result files. A hostile or damaged file can hold
// values whose sum leaves the 64-bit range; such a sum is refused with the
// conversion message naming the value that pushed it out, as a value that is
// not a whole number would be, instead of wrapping around.
#include "platform/text/exceptions.h"
#include <QString>
#include <QtGlobal>

inline qint64 ajouterEntier(qint64 somme, qint64 valeur, const QString &texte)
{
    qint64 resultat;
    if (__builtin_add_overflow(somme, valeur, &resultat))
        throw platform::EConvertError(
            QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(texte));
    return resultat;
}

inline qint64 multiplierEntier(qint64 valeur, qint64 facteur, const QString &texte)
{
    qint64 resultat;
    if (__builtin_mul_overflow(valeur, facteur, &resultat))
        throw platform::EConvertError(
            QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(texte));
    return resultat;
}
