#include "manager/core/entete_convocation.h"

#include "manager/core/genrefichier.h"

namespace manager
{

std::optional<EnteteConvocation> EnteteConvocation::depuisLignes(const QStringList &lignes)
{
    if (lignes.size() < LignesRequises)
        return std::nullopt;
    EnteteConvocation entete;
    for (int i = 0; i < NbLignes; ++i)
        entete.textes[std::size_t(i)] = lignes.value(i);
    return entete;
}

std::optional<EnteteConvocation> lireEnteteConvocation(const QString &fichier)
{
    return EnteteConvocation::depuisLignes(
        LireFichierDuGenre(fichier, QStringLiteral("un fichier d'en-tête de convocation")));
}

} // namespace manager
