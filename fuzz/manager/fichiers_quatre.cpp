// Teams-of-four group files from any bytes: a cross table and a match file
// (the input's first two parts cut at form feeds, or the same lines for
// both) are read, typed into, scored and recorded; a third part gives the
// typed texts (lines 0-3 the players of the four halves, 4 the result, 5
// the penalty button's caption, 6 two IV sums and a cap) and the players
// file (the lines after). Only the program's own errors may stop them; what
// is written back keeps every record's shape, and the work stays in
// proportion to the input (a table of more teams than a group holds is
// refused, never built).
#include "fuzz/manager/fuzz_lignes.h"
#include "manager/core/calculquatre.h"
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

void tableau(const QStringList &lignes, TableauGroupe &t)
{
    try {
        t.charger(lignes, QStringLiteral("PouleR0.cpo"));
    } catch (const EGroupeTropGrand &) {
        const bool annonce = lignes.size() > TableauGroupe::EquipesMax + 1 ||
                             lignes.last().count(u';') > TableauGroupe::EquipesMax + 2;
        if (!t.estVide() || !annonce)
            std::abort();
        return;
    }
    if (t.lignes() != lignes.size() || t.colonnes() < 1 ||
        t.lignes() > TableauGroupe::EquipesMax + 1 || t.colonnes() > TableauGroupe::EquipesMax + 2)
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
        try {
            copie.ajouterEquipe(equipes);
        } catch (const EGroupeTropGrand &) {
            if (equipes.size() <= TableauGroupe::EquipesMax)
                std::abort();
            return;
        }
        if (copie.lignes() != equipes.size() + 1 || copie.colonnes() != equipes.size() + 2)
            std::abort();
    } catch (const platform::EConvertError &) {
    }
}

// A whole number of the range the sheet's fields are read into.
qint64 nombre(const QString &texte)
{
    return texte.toInt();
}

// The sheet-entry commands on a sheet, from the typed texts.
void saisir(FeuilleMatch &f, const QStringList &saisies, const QStringList &joueurs)
{
    int avertissements = 0;
    const auto avertir = [&avertissements](const QString &) { ++avertissements; };
    const Equipe equipes[2] = {Equipe::A, Equipe::B};
    for (int k = 0; k < 4; ++k) {
        QString donnee = saisies.value(k);
        const QString tapee = donnee;
        saisirJoueurs(f, equipes[k / 2], k % 2 + 1, donnee, joueurs, avertir);
        if (!tapee.isEmpty() && donnee != tapee + QLatin1Char('+'))
            std::abort();
    }
    if (avertissements > 16)
        std::abort();
    QString resultat = saisies.value(4);
    saisirResultat(f, resultat);
    penaliteFeuille(f, saisies.value(5));
    const QStringList limites = saisies.value(6).split(u';');
    // A cap as typed and the sums of four value indexes.
    if (PenaliteIV(nombre(limites.value(0)), 4 * nombre(limites.value(1)),
                   4 * nombre(limites.value(2))) < 0)
        std::abort();
    for (const QString &mot : saisies.value(0).split(u'+')) {
        QString numero = mot;
        bool bon = false;
        const bool pris = ControleNumero(numero, &bon);
        if (pris != !mot.isEmpty() || (pris && mot.size() > 1 && numero.size() < 8) ||
            !numero.endsWith(mot))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList parties = texte.split(u'\f');
    const QStringList lignes = fuzz::lignesDe(parties[0]);
    TableauGroupe t;
    tableau(lignes, t);

    // The second part as a match file, or the same lines.
    QStringList match = parties.size() > 1 ? fuzz::lignesDe(parties[1]) : lignes;
    const QStringList saisies = parties.size() > 2 ? fuzz::lignesDe(parties[2]) : QStringList();
    const QStringList joueurs = saisies.mid(7);
    const int feuilles = int(match.size()) / FeuilleMatch::Lignes;
    for (int s = 0; s < feuilles; ++s) {
        FeuilleMatch f = FeuilleMatch::depuisLignes(match, 50 * s);
        // Typing into the first sheets only: each costs the same.
        if (s < 4 && !saisies.isEmpty())
            saisir(f, saisies, joueurs);
        try {
            handicapFeuille(f);
            calculerFeuille(f);
        } catch (const platform::Exception &) {
        }
        // The sheet's own 50 lines: 1 to 25 rewritten with four fields, the
        // others as they were, and the file as long as before.
        const qsizetype taille = match.size();
        const QStringList avant = match.mid(50 * s, 50);
        f.enregistrer(match, 50 * s);
        if (match.size() != taille)
            std::abort();
        for (int i = 0; i < avant.size(); ++i) {
            const QString &l = match[50 * s + i];
            const bool ecrite = i > 0 && i <= 25;
            if (ecrite ? l.count(QLatin1Char(';')) != 4 : l != avant[i])
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
