#pragma once
// One line of a ".chr" result file. Pairs kind: place; name 1; name 2;
// licence 1; IV 1; licence 2; IV 2; points; [mentions]. Teams kind: PE; name;
// ; licence; IV; ; ; PC. Every reader goes through lireLigneResultat, which
// stops at the eighth ";" so the category mentions never disturb it.
#include <QList>
#include <QString>
#include <QStringList>

struct JoueurResultat {
    QString nom;
    QString licence;
    QString iv;
    QString points; // field 7, shared by both players of a line
};

struct LigneResultat {
    // False when the line has fewer than eight ";": it gives no player.
    bool complete = false;
    QString champs[8];
    // Players whose name and licence are both non-empty: player 1 from
    // fields 1, 3, 4, player 2 from fields 2, 5, 6.
    QList<JoueurResultat> joueurs;
};

LigneResultat lireLigneResultat(const QString &line);
// True when the lines are those of a result file: one at least has a result
// line's eight fields, and every line but blank ones has them. A text of
// another kind (a web page whose style lines hold eight ";") has lines that
// do not.
bool contientLigneResultat(const QStringList &lignes);

// The lines of a result file, read whole (manager/core/lecturesaison.h):
// every line but blank ones has a result line's eight fields with its points
// a whole number, and no line giving players is there twice (it would count
// them twice). A text whose first line is no result line is of another kind
// (EAutreGenre); an empty file gives no line. The pairs
// window, the ranking and the pages all read result files through here.
QStringList LireResultats(const QString &fichier);

// A teams-kind line: PE ";" name ";;" licence ";" IV ";;;" PC ";".
QString ligneResultatEquipe(const QString &pe, const QString &nom, const QString &licence,
                            const QString &iv, const QString &pc);
