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

namespace detail
{
inline QString &hoteMiseAJourImpose()
{
    static QString hote;
    return hote;
}
} // namespace detail

// Host of the update site; its pages live in "/arbitrage/". It must answer on
// plain http: the update check does not follow a relocation to https.
inline QString hoteMiseAJour()
{
    const QString &impose = detail::hoteMiseAJourImpose();
    return impose.isEmpty() ? QStringLiteral("www.ludmarre.org") : impose;
}

// Tests only: points the update site at a server of theirs ("127.0.0.1:port");
// an empty text puts the real site back.
inline void imposerHoteMiseAJour(const QString &hote)
{
    detail::hoteMiseAJourImpose() = hote;
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
