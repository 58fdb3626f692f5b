#pragma once
// The entries of a group or a competition, as the federation's licensee area
// lists them on a page saved from a web browser: recognition of the page,
// the entries block kept as an entries file, and the convocation data read
// from that file at fixed line offsets (entry names, clubs, players, value
// indexes, e-mail addresses of the players known in "Joueur.DBP").
// Pages and entries files are read with the lossless code page, so every
// comparison with the page's own lines is on its bytes; the texts that get
// printed are decoded (UTF-8, then character references) once read.
#include "platform/text/exceptions.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace manager::inscrits
{

// The two kinds of entries blocks, in the order a page is taken.
enum class Bloc { Groupe, Competition };

// The marker of a block kind, as the page's bytes hold it.
const QString &Marqueur(Bloc bloc);
// The line that opens a block of that kind (leading blanks count).
const QString &PremiereLigne(Bloc bloc);
// The line after the last kept one.
extern const QString LigneFin;

// True when one line of the page, cut before its first "(" and stripped of
// every blank, contains the marker (bytes compared, case counts).
bool PageContient(const QStringList &page, const QString &marqueur);
// The block kinds the page holds, group first.
QList<Bloc> BlocsDeLaPage(const QStringList &page);
// Line 0 of the page, then every line from a block's first line up to, not
// including, the end line; several blocks are all kept.
QStringList GarderBloc(const QStringList &page, Bloc bloc);

// What an entries file holds, by its extension (exact case).
enum class Fichier { Aucun, Groupe, Competition };
Fichier GenreFichier(const QString &nom, bool quatre);
// The extension of a kind in a mode, without the dot ("Qug", "Quc", "Pag",
// "Pac").
QString Extension(Bloc bloc, bool quatre);

// Line readings of a page line: 0 leading blanks dropped, then up to and
// including the first "." (the whole rest when there is none); 1 the text
// outside tags (after a ">" and before the next "<"); 2 the blanks before the
// first "." dropped; 3 what follows the first blank after the first "M"
// (empty without an "M" or without a blank after it).
QString TexteHtml(const QString &ligne, int mode);
// A page text as it prints: a valid UTF-8 line through the one UTF-8 to
// Windows-1252 conversion (any other kept as it is), then character
// references resolved.
QString TexteImprime(const QString &octets);

// The players of "Joueur.DBP" by name key (first name, blank, family name,
// a-z raised): a text names a player when it contains one of the keys; the
// answer is the first such player in file order.
class IndexJoueurs
{
public:
    explicit IndexJoueurs(const QStringList &joueurs);
    // The line number of the first player named in the text, or -1.
    int JoueurConnu(const QString &texte) const;
    // His e-mail address (empty when he has none or for -1).
    QString Courriel(int joueur) const;

private:
    QStringList lignes;
    QHash<QString, int> premiers; // key -> first line holding it
    qsizetype longueurMin = 0;
    qsizetype longueurMax = 0;
};

// The five lists of a convocation, one item per entry taken (the addresses:
// any number per entry).
struct ListesConvocation {
    QStringList classement;
    QStringList club; // teams only
    QStringList joueurs;
    QStringList indice;
    QStringList courriels;

    int nombre() const { return int(classement.size()); }
};

// An entries file (or the page it was kept from) that ends inside an entry:
// the page was saved before it was whole, or the file was cut. Its message
// names the file and the entry.
class EInscritsIncomplets : public platform::Exception
{
public:
    EInscritsIncomplets(const QString &fichier, int entree);
};

// Reads the entries of an entries file of the given kind. Fewer than 20
// lines give nothing. With `trie`, an entry is taken only when one of its
// candidate lines names a known player (its number is consumed all the
// same). Candidate lines past the end read as empty, but an entry whose
// players block or value index line lies past the end raises
// EInscritsIncomplets naming `fichier`, and nothing is taken. A players
// block never runs into the next entry.
ListesConvocation Extraire(const QStringList &inscrits, Fichier genre, bool quatre,
                           const IndexJoueurs &joueurs, bool trie,
                           const QString &fichier = QString());

// The players text of an entry cut in two halves for the two columns of the
// list: players 1 to h each followed by CR LF, then players h + 1 to k
// separated by CR LF (a player ends with digits).
QPair<QString, QString> DecouperLignes(const QString &texte);

// The text "pause" prints for the catering choice.
QString TextePause(const QString &divers);

} // namespace manager::inscrits
