#pragma once
// Files of a teams-of-four event in the season folder: "Poule.cpo" (group
// names), "Poule" + (g + 1) + ".cpo" (teams of group g), "PouleR" + g +
// ".cpo" (cross table) and "PouleM" + gg + tt + oo + ".cpo" (match sheets,
// 50 lines each). The plain-line files hold no ";".
#include "platform/text/exceptions.h"

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

// The kinds of ".cpo" file, each read by one reader that checks the whole
// file's shape before anything is taken from it.
enum class GenreCpo {
    Noms,    // "Poule.cpo", "Poule" + n + ".cpo": one name a line, no ";"
    Tableau, // "PouleR" + g + ".cpo": n + 1 rows of n + 2 cells
    Match    // "PouleM...": sheets of 50 lines of four fields
};

// A group file that does not read whole: named with the line and what is
// wrong there. Nothing of it is shown, computed or written back.
class EFichierGroupeAbime : public platform::EFileError
{
public:
    EFichierGroupeAbime(const QString &fichier, qsizetype ligne, const QString &raison);
};

// What keeps lines from being a file of the kind: the line (from 0) and
// why; ligne < 0 when they are one. For a match file, the lines of an
// incomplete last sheet must fit the lines of a sheet they stand for;
// every field read as a number is empty or a whole number.
struct DefautCpo {
    qsizetype ligne = -1;
    QString raison;
};
DefautCpo defautCpo(GenreCpo genre, const QStringList &lignes);
// The lines of a file of the kind from its bytes; EFichierGroupeAbime
// naming fichier when they are not text, when the last line was cut short
// (a names file without its final line end) or when defautCpo finds one.
QStringList lignesCpo(GenreCpo genre, const QByteArray &octets, const QString &fichier);
// Reads a ".cpo" under its exact name or a case-insensitive match: false
// when nothing bears the name; EFileError when it cannot be read;
// EFichierGroupeAbime when it does not read whole. An empty file is one
// without lines (no group, no team, no table, no sheet).
bool lireCpo(const QString &path, GenreCpo genre, QStringList &lignes);
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
