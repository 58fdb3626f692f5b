#pragma once
// Our own settings for the links to the outside: the author's contact address
// ("M'écrire", the about box) and the update site.
#include <QString>

namespace site
{

inline QString adresseContact()
{
    return QStringLiteral("vorn.lud@ludmarre.org");
}

// Host of the update site; its pages live in "/arbitrage/".
inline QString hoteMiseAJour()
{
    return QStringLiteral("www.ludmarre.org");
}

// "http://" + host + "/arbitrage/index.html".
inline QString pageIndexMiseAJour()
{
    return QStringLiteral("http://") + hoteMiseAJour() + QStringLiteral("/arbitrage/index.html");
}

// The page published for one version: "/arbitrage/Vorn_Lud_" + version + ".html".
inline QString pageVersion(const QString &version)
{
    return QStringLiteral("http://") + hoteMiseAJour() + QStringLiteral("/arbitrage/Vorn_Lud_") +
           version + QStringLiteral(".html");
}

} // namespace site
