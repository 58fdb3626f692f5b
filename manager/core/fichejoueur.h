#pragma once
// One player of the season's players file "Joueur.DBP": 19 fields, each
// followed by ";" on its line.
#include <QList>
#include <QString>
#include <QStringList>

namespace manager
{

struct FicheJoueur {
    static constexpr int NbChamps = 19;

    QString Licence;       // 0 the federation's membership number
    QString Titre;         // 1 civility
    QString Nom;           // 2 family name, upper case
    QString Prenom;        // 3 first name
    QString Indice;        // 4 value index, decimal text (20 to 100)
    QString Club;          // 5 club, upper case
    QString Adresse1;      // 6
    QString Adresse2;      // 7
    QString Adresse3;      // 8
    QString CodePostal;    // 9
    QString Ville;         // 10
    QString TelDomicile;   // 11 pairs of digits separated by blanks
    QString TelBureau;     // 12
    QString TelPortable;   // 13
    QString Courriel;      // 14
    QString DateNaissance; // 15 day/month/year
    QString TypeLicence;   // 16
    QString Classement;    // 17 ranking code, three characters or empty
    QString Annee;         // 18 season year, four digits

    // Field n (0 to 18).
    QString &champ(int n);
    const QString &champ(int n) const;

    // The record of a line; missing fields are empty, extra fields ignored.
    static FicheJoueur depuisLigne(const QString &ligne);
    // The line: every field followed by ";". A ";" or a line break inside a
    // field would split the record, so it is written as a blank.
    QString ligne() const;

    bool operator==(const FicheJoueur &) const = default;
};

// The lines of a players file, read whole (manager/core/lecturesaison.h):
// the licence a whole number. Every window that reads "Joueur.DBP" reads it through here. A
// missing file raises EFileError, unless existe is given (no line then).
QStringList LireLignesJoueurs(const QString &fichier, bool *existe = nullptr);
// The players of a file, in file order (an empty list when it is missing).
QList<FicheJoueur> lireFichierJoueurs(const QString &fichier);
// Rewrites the file whole, atomically.
void ecrireFichierJoueurs(const QString &fichier, const QList<FicheJoueur> &joueurs);

} // namespace manager
