#pragma once
// A pairs tournament's ranking page, saved from the federation's licensee
// area, turned into challenge points: acceptance of the page, its ranking
// extract (".chi"), the pairs read from the extract (two page layouts), the
// players found by name, each pair's points and the category mentions.
// Pages are kept as the lossless code page reads them: every comparison with
// the page's own lines is on its bytes; names are decoded only once read.
#include "manager/core/fichejoueur.h"
#include "platform/text/exceptions.h"

#include <QString>
#include <QStringList>

namespace manager
{

// True when one line is a known line of a pairs ranking page (ASCII letter
// case ignored).
bool PagePaires(const QStringList &page);
// True when the file is a web page at all: a line opens its document
// ("<html" or "<!DOCTYPE", letter case ignored).
bool PageHtml(const QStringList &page);
// Line 0 of the page, then every line of its ranking blocks; origines, when
// given, receives the page line (from 0) of each extract line.
QStringList ExtrairePaires(const QStringList &page, QList<qsizetype> *origines = nullptr);
// True when the lines are such an extract, holding a ranking block: what
// ExtrairePaires gives, which it gives back unchanged (a whole page saved
// under the extract's name is not one).
bool ExtraitPaires(const QStringList &lines);
// -1 for such an extract; otherwise the line (from 0) where the lines stop
// being one.
qsizetype LigneHorsExtrait(const QStringList &lines);

// Text of an extract line: 0 the line without leading blanks; 1 and 4 what
// follows the mode-th ">" up to the next "<" (excluded) or ">" (included);
// 3 the line after its first word and the blank that follows it.
QString TexteHtml(const QString &line, int mode);
// A page text as the code page holds it: valid UTF-8 bytes decoded, anything
// else kept, then character references ("&amp;", "&#39;") resolved.
QString TexteDePage(const QString &bytes);
// The name key: blanks removed, a-z raised (accented letters stay).
QString NomCompact(const QString &name);

// A ranking page, or its extract, that ends inside a pair's row: the page
// was saved before it was whole, or the extract was cut. The message names
// the file, the pair and the line it starts on.
class EPageIncomplete : public platform::Exception
{
public:
    EPageIncomplete(const QString &fichier, int paire, qsizetype ligne);
};

// A pair read off the lines it stands on (a line of the extract doubled or
// removed): a place that is no place or does not follow the one before, a
// name missing. The message names the file, the line and what is wrong.
class EClassementAbime : public platform::Exception
{
public:
    EClassementAbime(const QString &fichier, qsizetype ligne, const QString &raison);
};

// "place;name 1;name 2;" for every pair of the extract, in ranking order.
// A pair whose lines lie past the extract's end, or (current layout) a
// pair's opening cell too near the end to hold its row, raises
// EPageIncomplete naming `fichier`: no pair is read from a cut page. A pair
// without its place or a name raises EClassementAbime, naming the line of
// the file (origines maps extract lines to the page's, as ExtrairePaires
// gives them).
QStringList LirePaires(const QStringList &extract, const QString &fichier = QString(),
                       const QList<qsizetype> *origines = nullptr);

// Points of the pair at position r (1..n) of n, in hundredths, rounded half
// to even on the exact fraction. A single pair gets first-place points.
qint64 PointsPaire(int n, int r, qint64 k);

// The result lines of the pairs (LigneResultat, pairs kind): licences and
// value indexes of the players found, points, category mentions. K is the
// text of the constant; a K or a value index that is not a whole number
// raises EConvertError and nothing is returned (a value index naming
// fichierJoueurs, the file joueurs were read from, and the player's line).
QStringList CalculPointsPaires(const QStringList &paires, const QList<FicheJoueur> &joueurs,
                               const QString &coefK, const QString &fichierJoueurs = QString());

// The points of every line counted once per licence found on it. Points
// that are not a whole number raise EConvertError naming fichier, the file
// the lines were read from, and the line.
qint64 TotalPoints(const QStringList &lignes, const QString &fichier = QString());

} // namespace manager
