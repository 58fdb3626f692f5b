#pragma once
// Files of a teams-of-four event in the season folder: "Poule.cpo" (group
// names), "Poule" + (g + 1) + ".cpo" (teams of group g), "PouleR" + g +
// ".cpo" (cross table) and "PouleM" + gg + tt + oo + ".cpo" (match sheets,
// 50 lines each). The plain-line files hold no ";".
#include <QString>
#include <QStringList>

// At least two digits: 0 -> "00", 7 -> "07", 12 -> "12". No selection (-1)
// is written "99" by the callers.
QString DeuxChiffres(int n);
// "99" for no selection, else DeuxChiffres.
QString DeuxChiffresSelection(int index);

QString fichierPoules();
QString fichierEquipes(int groupe);
QString fichierTableau(int groupe);
// "PouleM" + three two-digit numbers; an index of -1 gives "99".
QString fichierMatch(int groupe, int equipeA, int equipeB);

// Reads a ".cpo" under its exact name or a case-insensitive match; the
// file-open error when there is none.
QStringList lireCpo(const QString &path);
// Writes under the name the file already has on disk, so that a folder
// copied with other letter cases never gets a second file.
void ecrireCpo(const QString &path, const QStringList &lines);

// Match files of a group found in the season folder (any letter case),
// with the two team indexes their names carry.
struct FichierMatchTrouve {
    QString chemin;
    int equipeA;
    int equipeB;
};
QList<FichierMatchTrouve> fichiersMatchDuGroupe(int groupe);

// Removes group g of the groups noms: writes the remaining names to
// "Poule.cpo", then deletes its team file, cross table and match files and
// moves every later group's files one number down (in increasing order).
// Nothing is changed when one of those files could not be written, deleted
// or moved (EFileError naming it).
void supprimerGroupe(int groupe, QStringList noms);
