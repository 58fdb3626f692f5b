#pragma once
// The header file of the convocations (".qud" for teams of four, ".pad" for
// pairs): one line per text of the "Présentation" tab, in the order of
// `Ligne`. The venue, last, came later: a file without it still opens.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace manager
{

struct EnteteConvocation {
    enum Ligne {
        Saison,
        Responsable,
        Publication,
        Epreuve,
        Prix,
        Phase,
        Date,
        Modalites,
        Horaires1,
        Horaires2,
        Avertissement,
        Arbitre,
        Divers,
        Pied,
        Lieu,
        NbLignes
    };
    // Lines a file must hold to be taken (the venue may be missing).
    static constexpr int LignesRequises = Lieu;

    std::array<QString, NbLignes> textes;

    const QString &texte(Ligne l) const { return textes[std::size_t(l)]; }

    // The header held by the lines of a file; nothing when the file is too
    // short to hold one (the window then leaves its texts as they are).
    static std::optional<EnteteConvocation> depuisLignes(const QStringList &lignes);
};

// The header of a file, read whole (manager/core/lecturesaison.h: EFileError
// when it cannot be read or is damaged, EAutreGenre when it is no text); a
// line past the venue is refused; nothing for a file too short.
std::optional<EnteteConvocation> lireEnteteConvocation(const QString &fichier);

} // namespace manager
