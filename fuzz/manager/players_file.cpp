// The season's players file "Joueur.DBP" with any bytes, as the players list
// reads it: its records, their lines written back, the filters (each alone
// and together), the check lists' values, the statistics of the charts, the
// export and the e-mail batches; then the index the convocations use to
// recognise players. Whatever the bytes, a record written back reads as the
// same record (";" and line breaks inside a field become blanks), the
// filters together keep exactly the players every one of them keeps, and
// the counts of the charts stay within the players listed.
#include "manager/core/fichejoueur.h"
#include "manager/core/inscrits.h"
#include "manager/core/liste_joueurs.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>

using namespace manager;

namespace
{

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

QString sansSeparateur(QString valeur)
{
    for (QChar &c : valeur)
        if (c == u';' || c == u'\r' || c == u'\n')
            c = u' ';
    return valeur;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Joueur.DBP"));
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // A file that does not read whole (lecteurs_saison checks when) is
    // refused; the rest works on one that does.
    QStringList lignes;
    try {
        lignes = LireLignesJoueurs(chemin);
    } catch (const platform::Exception &) {
        return 0;
    }
    const QList<FicheJoueur> fiches = lireFichierJoueurs(chemin);
    verifie(fiches.size() == lignes.size());
    QStringList reecrites;
    for (qsizetype i = 0; i < fiches.size(); ++i) {
        const FicheJoueur &f = fiches[i];
        verifie(f == FicheJoueur::depuisLigne(lignes[i]));
        const QString ligne = f.ligne();
        verifie(ligne.count(u';') == FicheJoueur::NbChamps && ligne.endsWith(u';'));
        const FicheJoueur relue = FicheJoueur::depuisLigne(ligne);
        for (int n = 0; n < FicheJoueur::NbChamps; ++n)
            verifie(relue.champ(n) == sansSeparateur(f.champ(n)));
        reecrites.append(ligne);
    }
    ecrireFichierJoueurs(chemin, fiches);
    verifie(platform::LineFile::read(chemin) == reecrites);

    // Filter bounds and choices taken from the first bytes.
    auto octet = [&](size_t i) { return i < size ? data[i] : uint8_t(0); };
    FiltresJoueurs seuls[4];
    seuls[0].nom = true;
    seuls[0].nomMin = QChar(u'A' + octet(0) % 26);
    seuls[0].nomMax = QChar(u'A' + octet(1) % 26);
    seuls[1].indice = true;
    seuls[1].indiceMin = octet(2) % 110;
    seuls[1].indiceMax = octet(3) % 110;
    const QStringList clubs = valeursDistinctes(lignes, 5);
    const QStringList cotisations = valeursDistinctes(lignes, 16);
    for (const QStringList &valeurs : {clubs, cotisations}) {
        verifie(QSet<QString>(valeurs.begin(), valeurs.end()).size() == valeurs.size());
        verifie(!valeurs.contains(QString()));
    }
    seuls[2].clubs = true;
    for (qsizetype i = 0; i < clubs.size(); i += 2)
        seuls[2].clubsCoches.insert(clubs[i]);
    seuls[3].cotisation = true;
    for (qsizetype i = 1; i < cotisations.size(); i += 2)
        seuls[3].cotisationsCochees.insert(cotisations[i]);
    FiltresJoueurs tous = seuls[0];
    tous.indice = true;
    tous.indiceMin = seuls[1].indiceMin;
    tous.indiceMax = seuls[1].indiceMax;
    tous.clubs = true;
    tous.clubsCoches = seuls[2].clubsCoches;
    tous.cotisation = true;
    tous.cotisationsCochees = seuls[3].cotisationsCochees;

    QList<int> aucun(lignes.size());
    std::iota(aucun.begin(), aucun.end(), 0);
    verifie(joueursFiltres(lignes, FiltresJoueurs()) == aucun);
    std::vector<bool> gardes(std::size_t(lignes.size()), true);
    for (const FiltresJoueurs &filtre : seuls) {
        const QList<int> l = joueursFiltres(lignes, filtre);
        verifie(std::is_sorted(l.begin(), l.end()) &&
                std::adjacent_find(l.begin(), l.end()) == l.end());
        std::vector<bool> dans(std::size_t(lignes.size()), false);
        for (int i : l) {
            verifie(i >= 0 && i < lignes.size());
            dans[std::size_t(i)] = true;
        }
        for (std::size_t i = 0; i < gardes.size(); ++i)
            gardes[i] = gardes[i] && dans[i];
    }
    const QList<int> listes = joueursFiltres(lignes, tous);
    QList<int> attendus;
    for (std::size_t i = 0; i < gardes.size(); ++i)
        if (gardes[i])
            attendus.append(int(i));
    verifie(listes == attendus);

    const StatistiquesJoueurs stats = statistiques(lignes, aucun, platform::EncodeDate(2024, 9, 1));
    verifie(stats.trouves == lignes.size() && stats.nombreAges <= stats.trouves);
    verifie(std::accumulate(stats.bandes.begin(), stats.bandes.end(), 0) <= stats.trouves);
    verifie(std::accumulate(stats.tranches.begin(), stats.tranches.end(), 0) <= stats.nombreAges);
    verifie(stats.titreAge().isEmpty() == (stats.nombreAges == 0));
    verifie(!stats.barres().isEmpty());

    QStringList listees, adresses;
    for (int i : listes) {
        listees.append(lignes[i]);
        if (!fiches[i].Courriel.isEmpty())
            adresses.append(fiches[i].Courriel);
    }
    const QStringList export_ = lignesExportation(listees);
    verifie(export_.size() == listees.size() + 1 && export_.first() == EnteteExportation);
    for (qsizetype i = 1; i < export_.size(); ++i)
        verifie(export_[i].count(u';') == 14);
    const int parGroupe = 1 + octet(4) % 50;
    const QList<QStringList> lots = lotsCourriel(adresses, parGroupe);
    QStringList ensemble;
    for (const QStringList &lot : lots) {
        verifie(!lot.isEmpty() && lot.size() <= parGroupe);
        ensemble += lot;
    }
    verifie(ensemble == adresses);
    verifie(liensCourriel(adresses, parGroupe, octet(5) & 1).size() == lots.size());

    // A text holding a player's names names him or a player listed before.
    const inscrits::IndexJoueurs index(lignes);
    int essais = 0;
    for (qsizetype i = 0; i < lignes.size() && essais < 32; ++i) {
        const QString cle = platform::upperAZ(fiches[i].Prenom + u' ' + fiches[i].Nom);
        if (cle.trimmed().isEmpty() || cle.size() > 64)
            continue;
        ++essais;
        const QString texte = QStringLiteral("12. M. ") + fiches[i].Prenom + u' ' + fiches[i].Nom +
                              QStringLiteral(" (45)");
        const int j = index.JoueurConnu(texte);
        verifie(j >= 0 && j <= i);
        verifie(platform::upperAZ(texte).contains(
            platform::upperAZ(fiches[j].Prenom + u' ' + fiches[j].Nom)));
        verifie(index.Courriel(j) == fiches[j].Courriel);
    }
    verifie(index.Courriel(-1).isEmpty());
    return 0;
}
