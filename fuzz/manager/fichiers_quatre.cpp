// Teams-of-four group files from any bytes: a cross table and a match file
// are read, scored and recorded. Only the program's own errors may stop
// them; what is written back keeps every record's shape.
#include "manager/core/commandesfeuille.h"
#include "manager/core/feuillematch.h"
#include "manager/core/homologation.h"
#include "manager/core/tableaugroupe.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

namespace
{

QStringList lignesDe(const uint8_t *data, size_t size)
{
    QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList lignes = texte.split(fin);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    return lignes;
}

void tableau(const QStringList &lignes, TableauGroupe &t)
{
    t.charger(lignes);
    if (t.lignes() != lignes.size() || t.colonnes() < 1)
        std::abort();
    const QStringList ecrit = t.versLignes();
    for (const QString &l : ecrit)
        if (l.count(QLatin1Char(';')) != t.colonnes())
            std::abort();
    TableauGroupe relu;
    relu.charger(ecrit);
    if (relu.versLignes() != ecrit)
        std::abort();
    try {
        TableauGroupe copie = t;
        copie.recalculerTotaux();
        QStringList equipes;
        for (int r = 1; r < copie.lignes(); ++r)
            equipes << copie.cellule(r, 0);
        equipes << QStringLiteral("Nouvelle");
        copie.ajouterEquipe(equipes);
        if (copie.lignes() != equipes.size() + 1 || copie.colonnes() != equipes.size() + 2)
            std::abort();
    } catch (const platform::EConvertError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lignes = lignesDe(data, size);
    TableauGroupe t;
    tableau(lignes, t);

    // The same lines as a match file.
    QStringList match = lignes;
    const int feuilles = int(match.size()) / FeuilleMatch::Lignes;
    for (int s = 0; s < feuilles; ++s) {
        FeuilleMatch f = FeuilleMatch::depuisLignes(match, 50 * s);
        try {
            handicapFeuille(f);
            calculerFeuille(f);
        } catch (const platform::Exception &) {
        }
        const QStringList avant = match;
        f.enregistrer(match, 50 * s);
        if (match.size() != avant.size())
            std::abort();
        for (int i = 0; i < match.size(); ++i) {
            const bool ecrite = i > 50 * s && i <= 50 * s + 25;
            if (ecrite ? match[i].count(QLatin1Char(';')) != 4 : match[i] != avant[i])
                std::abort();
        }
    }
    ListeHomologation liste;
    try {
        enregistrerHomologation(liste, t, match, feuilles, [](const TableauGroupe &) {});
        for (const QString &l : liste.lignes())
            if (l.count(QLatin1Char(';')) < 8)
                std::abort();
    } catch (const platform::Exception &) {
        if (!liste.lignes().isEmpty() || liste.TotalPE != 0 || liste.TotalPC != 0)
            std::abort();
    }
    return 0;
}
