#include "manager/core/entete_convocation.h"

#include "platform/text/linefile.h"

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
    return EnteteConvocation::depuisLignes(platform::LineFile::read(fichier));
}

} // namespace manager
