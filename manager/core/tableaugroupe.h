#pragma once
// The cross table of a teams-of-four group: n + 1 rows and n + 2 columns;
// row 0 and column 0 hold the team names, cell (r, c) the PV in hundredths
// that team r - 1 scored against team c - 1, the last column the row total.
#include "platform/text/exceptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// A group of more teams than a group holds: a cross table file that
// announces them (by its rows or its columns), or a team added to a full
// group.
class EGroupeTropGrand : public platform::EFileError
{
public:
    EGroupeTropGrand(const QString &fichier, qsizetype equipes);
    EGroupeTropGrand();
};

class TableauGroupe
{
public:
    // The teams a group holds: the table's rows and columns 0 to 18.
    static constexpr int EquipesMax = 17;

    int lignes() const { return m_cases.size(); }
    int colonnes() const { return m_colonnes; }
    bool estVide() const { return m_cases.isEmpty(); }

    QString cellule(int ligne, int colonne) const;
    void setCellule(int ligne, int colonne, const QString &texte);
    void vider();
    void redimensionner(int lignes, int colonnes);

    // The file's lines, read character by character: ";" closes a cell.
    // The column count is the number of ";" of the last line (at least 1).
    // A file of more rows than EquipesMax + 1, or of more columns than
    // EquipesMax + 2, raises EGroupeTropGrand naming `fichier` and leaves
    // the table empty.
    void charger(const QStringList &lignesFichier, const QString &fichier = QString());
    // Every cell of every row followed by ";".
    QStringList versLignes() const;

    // Names of the teams in row 0 and column 0.
    void ecrireNoms(const QStringList &equipes);
    void viderDerniereColonne();
    // True when a data cell (columns 1 .. n) of the row is not empty.
    bool ligneAResultat(int ligne) const;
    bool colonneAResultat(int colonne) const;
    // Last cell := sum of the data cells, an empty cell counting 0; a cell
    // that is not a whole number raises EConvertError.
    void recalculerTotal(int ligne);
    // Totals of every row that holds a result; the others stay empty.
    void recalculerTotaux();

    // A team added to the n - 1 listed: the old totals column becomes the
    // new team's column, left empty, and the totals are worked out again.
    // More than EquipesMax teams raise EGroupeTropGrand, the table unchanged.
    void ajouterEquipe(const QStringList &equipes);
    // A team removed when no later team has a result: the grid shrinks,
    // names are rewritten and totals worked out again.
    void retirerEquipe(const QStringList &equipesRestantes);

private:
    QList<QStringList> m_cases;
    int m_colonnes = 1;
};
