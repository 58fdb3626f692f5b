#include "manager/core/entete_convocation.h"

#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"

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
    const QStringList lignes =
        LireFichierSaison(fichier, QStringLiteral("un fichier d'en-tête de convocation"));
    // One line more than a header holds: a line doubled would put every
    // text after it one field further.
    if (lignes.size() > EnteteConvocation::NbLignes)
        throw EFichierAbime(QStringLiteral("Ligne de trop : un en-tête a %1 lignes au plus")
                                .arg(int(EnteteConvocation::NbLignes)),
                            fichier, EnteteConvocation::NbLignes);
    return EnteteConvocation::depuisLignes(lignes);
}

} // namespace manager
