#pragma once
// The season ranking of the challenge: the tournaments list and every linked
// result file give one row per player (total and points per journée, in
// hundredths), in decreasing order of totals; the rows as the user arranged
// them give the ranked entries with shared places, open or limited by value
// index. The grid, the printout, the ".PPE" export and the web pages all read
// these entries: no other code computes a place.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace manager
{

constexpr int MaxJournees = 16;

// One player row of the ranking grid; cells are whole hundredths as text,
// empty when the player has nothing in that journée.
struct LigneJoueurClassement {
    QString total;
    QString nom;
    QString licence;
    QString iv;
    std::array<QString, MaxJournees> journees;
    bool operator==(const LigneJoueurClassement &) const = default;
};

struct ClassementSaison {
    int nombreJournees = 0;
    // Name and date of the first tournament of each journée (grid rows 0 and 1).
    std::array<QString, MaxJournees> titres;
    std::array<QString, MaxJournees> dates;
    // Type, name and date per journée, " " when no tournament named it.
    QStringList typesJournee, nomsJournee, datesJournee;
    // Players with points, in decreasing order of totals; equal totals keep
    // the order in which the players first appeared.
    std::vector<LigneJoueurClassement> joueurs;
    // The progress lines, as the window logs them.
    QStringList journal;
    bool operator==(const ClassementSaison &) const = default;
};

// The tournaments list's lines and the season folder (with its trailing
// separator). A missing result file raises EFileError (EAutreGenre for one
// that is no text), a column, coefficient or points field that is not a
// whole number, or a player's total beyond 64 bits, EConvertError.
ClassementSaison CalculerClassement(const QStringList &tournois, const QString &dossierSaison);
// The journées of the list: its largest column within 1 to 16, else 0.
int NombreJournees(const QStringList &tournois);

struct EntreeClassement {
    QString place;
    QString nom;
    QString licence;
    QString iv;
    QString total;                           // formatted
    std::array<QString, MaxJournees> points; // formatted
};

// Rows as shown, in their shown order: equal total texts share a place and
// the next total takes its row position (1, 2, 2, 4).
QList<EntreeClassement> ListeClassementGeneral(const std::vector<LigneJoueurClassement> &lignes);
// Keeps the entries with a value index not above limite and places them
// again on their formatted totals. A value index that is not a whole number
// raises EConvertError and leaves the entries as they were.
void FiltrerIV(QList<EntreeClassement> &entrees, int limite);
// The ".PPE" lines: place; name; licence; value index;
QStringList LignesClassement(const QList<EntreeClassement> &entrees);
// Hundredths as text to points with two decimals and ","; empty stays empty.
QString FormatPoints(const QString &centiemes);
QString FormatPoints(qint64 centiemes);

// What the ranking printout is given.
struct ImpressionClassement {
    QString titre;
    QString saison;
    std::array<QString, MaxJournees> titres;
    std::array<QString, MaxJournees> dates;
    QList<EntreeClassement> entrees;

    // The value of a report variable for record recNo; false for a name the
    // printout does not know.
    bool valeur(const QString &nom, int recNo, QString &texte) const;
    // Every name valeur() answers.
    static QStringList noms();
};

} // namespace manager
