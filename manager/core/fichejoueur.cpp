#include "manager/core/fichejoueur.h"

#include "manager/core/lecturesaison.h"
#include "platform/text/linefile.h"

namespace manager
{

namespace
{
using Champ = QString FicheJoueur::*;
constexpr Champ kChamps[FicheJoueur::NbChamps] = {
    &FicheJoueur::Licence,       &FicheJoueur::Titre,       &FicheJoueur::Nom,
    &FicheJoueur::Prenom,        &FicheJoueur::Indice,      &FicheJoueur::Club,
    &FicheJoueur::Adresse1,      &FicheJoueur::Adresse2,    &FicheJoueur::Adresse3,
    &FicheJoueur::CodePostal,    &FicheJoueur::Ville,       &FicheJoueur::TelDomicile,
    &FicheJoueur::TelBureau,     &FicheJoueur::TelPortable, &FicheJoueur::Courriel,
    &FicheJoueur::DateNaissance, &FicheJoueur::TypeLicence, &FicheJoueur::Classement,
    &FicheJoueur::Annee,
};
} // namespace

QString &FicheJoueur::champ(int n)
{
    Q_ASSERT(n >= 0 && n < NbChamps);
    return this->*kChamps[n];
}

const QString &FicheJoueur::champ(int n) const
{
    Q_ASSERT(n >= 0 && n < NbChamps);
    return this->*kChamps[n];
}

FicheJoueur FicheJoueur::depuisLigne(const QString &ligne)
{
    FicheJoueur fiche;
    for (int n = 0; n < NbChamps; ++n)
        fiche.champ(n) = platform::Champ(ligne, n);
    return fiche;
}

QString FicheJoueur::ligne() const
{
    QString result;
    for (int n = 0; n < NbChamps; ++n) {
        QString valeur = champ(n);
        for (QChar &c : valeur)
            if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                c = QLatin1Char(' ');
        result += valeur;
        result += QLatin1Char(';');
    }
    return result;
}

QStringList LireLignesJoueurs(const QString &fichier, bool *existe)
{
    // The licence is every window's key to the player. A record short of its
    // last fields reads them empty (files kept from older versions), and a
    // value index is converted, with its line, where it is counted; a line
    // cut short is the file's last, without its end.
    return LireFichierSaison(
        fichier, QStringLiteral("un fichier de licenciés"),
        [](qsizetype, const QString &l) { VerifierEntier(platform::Champ(l, 0)); }, existe);
}

QList<FicheJoueur> lireFichierJoueurs(const QString &fichier)
{
    bool existe = false;
    const QStringList lignes = LireLignesJoueurs(fichier, &existe);
    QList<FicheJoueur> joueurs;
    joueurs.reserve(lignes.size());
    for (const QString &l : lignes)
        joueurs.append(FicheJoueur::depuisLigne(l));
    return joueurs;
}

void ecrireFichierJoueurs(const QString &fichier, const QList<FicheJoueur> &joueurs)
{
    QStringList lignes;
    lignes.reserve(joueurs.size());
    for (const FicheJoueur &j : joueurs)
        lignes.append(j.ligne());
    platform::LineFile::write(fichier, lignes);
}

} // namespace manager
