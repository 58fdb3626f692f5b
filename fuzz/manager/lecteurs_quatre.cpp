// The readers of the teams-of-four group files from any bytes: the names
// files, the cross table and the match file. Each refuses the bytes naming
// the file and a line of it, or takes lines that hold what the bytes say
// (written back as the program writes them, they read back the same) and
// that every later use takes without a conversion error: a table loads,
// and a match's homologation list builds.
#include "fuzz/manager/fuzz_lignes.h"
#include "manager/core/feuillematch.h"
#include "manager/core/homologation.h"
#include "manager/core/poulequatre.h"
#include "manager/core/tableaugroupe.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace
{

const QString kFichier = QStringLiteral("/saison/PouleM000001.cpo");

// What the program writes for the lines: CR LF after each.
QByteArray ecrites(const QStringList &lignes)
{
    QByteArray octets;
    for (const QString &l : lignes)
        octets += platform::toAnsi(l) + "\r\n";
    return octets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray octets(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const GenreCpo genre : {GenreCpo::Noms, GenreCpo::Tableau, GenreCpo::Match}) {
        QStringList lignes;
        try {
            lignes = lignesCpo(genre, octets, kFichier);
        } catch (const EFichierGroupeAbime &e) {
            // The box names the file and a line of it.
            if (!e.Message().contains(QStringLiteral("PouleM000001.cpo, ligne ")))
                std::abort();
            continue;
        }
        // Taken: the lines are the file's, and read back the same once
        // written; nothing was cut or dropped.
        if (lignes != fuzz::lignesDe(platform::fromAnsi(octets)) ||
            lignesCpo(genre, ecrites(lignes), kFichier) != lignes)
            std::abort();
        if (genre == GenreCpo::Tableau && !lignes.isEmpty()) {
            TableauGroupe t;
            try {
                t.charger(lignes, kFichier);
            } catch (const EGroupeTropGrand &) {
                continue;
            }
            if (t.versLignes() != lignes)
                std::abort();
        } else if (genre == GenreCpo::Match) {
            const int feuilles = int(lignes.size() / FeuilleMatch::Lignes);
            // Each sheet as the window shows and records it: the same lines.
            QStringList enregistrees = lignes;
            for (int s = 0; s < feuilles; ++s)
                FeuilleMatch::depuisLignes(lignes, FeuilleMatch::Lignes * s)
                    .enregistrer(enregistrees, FeuilleMatch::Lignes * s);
            if (defautCpo(GenreCpo::Match, enregistrees).ligne >= 0)
                std::abort();
            ListeHomologation liste;
            TableauGroupe t;
            try {
                enregistrerHomologation(liste, t, lignes, feuilles, [](const TableauGroupe &) {});
            } catch (const platform::EConvertError &) {
                // Only PV, PE and PC of a sheet never calculated are empty.
                bool vide = false;
                for (int s = 0; s < feuilles; ++s)
                    for (const auto &[l, c] : {std::pair{6, 2},
                                               {6, 3},
                                               {11, 2},
                                               {11, 3},
                                               {12, 3},
                                               {18, 2},
                                               {18, 3},
                                               {23, 2},
                                               {23, 3},
                                               {24, 3}})
                        vide = vide ||
                               platform::Champ(lignes[FeuilleMatch::Lignes * s + l], c).isEmpty();
                if (!vide)
                    std::abort();
            }
        }
    }
    return 0;
}
