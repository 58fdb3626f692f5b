#pragma once
// What the players list computes from the lines of "Joueur.DBP": the
// filters, the value-index bands and age buckets of its charts, the average
// age, the e-mail batches and the export lines. No widget here.
#include "platform/text/convert.h"
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace manager
{

// The four filters of the list; a filter that is off lets everyone through.
struct FiltresJoueurs {
    bool nom = false;
    QChar nomMin = u'A';
    QChar nomMax = u'Z';
    bool indice = false;
    int indiceMin = 20;
    int indiceMax = 100;
    bool clubs = false;
    QSet<QString> clubsCoches;
    bool cotisation = false;
    QSet<QString> cotisationsCochees;
};

// The initial a name filter compares: an accented letter counts as its base
// capital (É and é as E, ç as C); the null character for an empty name.
QChar initialeNom(const QString &nom);

// True unless one of the active filters rejects the player of this line. A
// value index that is not a whole number fails an active index filter.
bool FiltreJoueur(const QString &ligne, const FiltresJoueurs &filtres);
// Indexes of the lines that pass, in file order.
QList<int> joueursFiltres(const QStringList &joueurs, const FiltresJoueurs &filtres);

// The distinct non-empty values of a field, sorted as the check lists show
// them (French order, letter case ignored).
QStringList valeursDistinctes(const QStringList &joueurs, int champ);
void trierListeFrancaise(QStringList &valeurs);

// Value-index bands of the pie, in this order.
constexpr int NombreBandes = 5;
extern const std::array<QString, NombreBandes> NomsBandes;
// Band of a value-index text: 0 below 21, 1 for 21-30, 2 for 31-40, 3 for
// 41-60, 4 for 61-100; -1 above 100 or for a text that is not a number.
int bandeIndice(const QString &indice);

// Age in whole years on the given day (half to even), or nothing when the
// birth date cannot be read.
std::optional<int> ageJoueur(platform::TDateTime maintenant, const QString &naissance);
// Five-year bucket of an age: 5-10 is 0, 11-15 is 1, ... 96-100 is 18; -1
// outside.
constexpr int NombreTranches = 19;
int trancheAge(int age);

struct StatistiquesJoueurs {
    int trouves = 0;
    std::array<int, NombreBandes> bandes{};
    std::array<int, NombreTranches> tranches{};
    qint64 sommeAges = 0;
    int nombreAges = 0; // players whose birth date could be read

    void ajouter(const QString &ligne, platform::TDateTime maintenant);
    // "L'age moyen est de 42,50 Ans", or empty when no age is known.
    QString titreAge() const;
    // Bars from the first to the last non-empty bucket, labelled with the
    // middle of their band ("8", "13", ...); one bar "8" at 0 when none.
    QList<QPair<QString, int>> barres() const;
};

StatistiquesJoueurs statistiques(const QStringList &joueurs, const QList<int> &listes,
                                 platform::TDateTime maintenant);

// The batches of a mailing: at most parGroupe addresses each, in order.
QList<QStringList> lotsCourriel(const QStringList &adresses, int parGroupe);
// The "mailto:" links of a mailing: one per batch, each address followed by
// ";"; all as blind copies when asked.
QStringList liensCourriel(const QStringList &adresses, int parGroupe, bool copieCachee);
// One link for one batch (empty text for an empty batch).
QString lienCourriel(const QStringList &adresses, bool copieCachee);

// The export file: its header line, then one line per listed player (their
// players-file lines, in list order), fields 0-4 and 6-14.
extern const QString EnteteExportation;
QStringList lignesExportation(const QStringList &joueursListes);

// What a letter edit keeps when left: its first letter, raised, when it lies
// between bas and haut; else the previous letter.
QChar lettreAcceptee(const QString &texte, QChar bas, QChar haut, QChar precedente);
// What a value-index edit keeps when left: its whole number when it lies
// between bas and haut; else the previous value.
int indiceAccepte(const QString &texte, int bas, int haut, int precedent);

} // namespace manager
