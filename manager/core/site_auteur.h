#pragma once
// Our own settings for the about box, beside the contact address of
// site.h: the names shown as the author's and the logo.
#include <QString>

namespace site
{

inline QString nomAuteur()
{
    return QStringLiteral("VORN");
}

inline QString prenomAuteur()
{
    return QStringLiteral("Lud");
}

// A picture beside the program; a drawn logo stands in when it is missing.
inline QString fichierLogo()
{
    return QStringLiteral("Logo.png");
}

} // namespace site
