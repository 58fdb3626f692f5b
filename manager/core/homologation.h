#pragma once
// The homologation list of the match last recorded: one teams-kind result
// line per player (PE;name;;licence;IV;;;PC;), merged per player, with the
// totals printed under it.
#include <QString>
#include <QStringList>

#include <functional>

class TableauGroupe;

class ListeHomologation
{
public:
    const QStringList &lignes() const { return m_lignes; }
    QStringList &lignes() { return m_lignes; }
    qint64 TotalPE = 0;
    qint64 TotalPC = 0;

    void vider();

    // 16 lines per sheet (A half 1, A half 2, B half 1, B half 2), PE and
    // PC taken from the half's summary line; pvA/pvB get the sums of the
    // teams' PV over the sheets. EConvertError for a PV that is not a
    // whole number.
    void construire(const QStringList &lignesMatch, int feuilles, qint64 &pvA, qint64 &pvB);
    // Lines of the same name and licence become one, PE and PC summed, in
    // order of first appearance; then the totals (PE rounded to whole
    // points; PC of licensed players only).
    void fusionner();

private:
    QStringList m_lignes;
};

// What recording a match did to the cross table.
enum class ReportTableau { Reporte, HorsTableau };

// Builds and merges the list, then posts the PV sums at (iA + 1, iB + 1)
// and (iB + 1, iA + 1) with those two rows' totals and saves the table
// through `sauver`. The team indexes come from the first sheet; indexes that are
// not whole numbers or fall outside the table leave it untouched and unsaved
// (HorsTableau) while the list is still built. Any error leaves the table as
// it was and the list empty, never a partial list that could be saved as a
// result.
ReportTableau enregistrerHomologation(ListeHomologation &liste, TableauGroupe &tableau,
                                      const QStringList &lignesMatch, int feuilles,
                                      const std::function<void(const TableauGroupe &)> &sauver);
