#pragma once
// Import of the federation's extract of licensed players into the season's
// players file: reading and checking the extract, building one players-file
// record per extract line, merging by licence number and sorting by name.
// No widget here: the import window drives these steps and shows the result.
#include "manager/core/fichierlu.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace manager
{

// The extract holds at most this many lines, header included.
constexpr int MaxLignesExtraction = 65536;
// No line of a real extract comes near this many bytes: of its 34 fields the
// longest (names, addresses, town, e-mail, club) hold a few tens of
// characters, an accented letter taking two bytes; the fixture's longest line
// takes 270. A file larger than the limit's lines at this length is no
// extract and is refused before it is read.
constexpr qint64 OctetsParLigneExtraction = 1024;
// Columns 0 to 33 of an extract line carry data; text beyond is refused.
constexpr int MaxColonnesExtraction = 34;

// An extract that cannot be imported as it stands (too long, truncated, a
// line with too many columns). Message() is the French text for the user.
class EImportError : public platform::Exception
{
public:
    using Exception::Exception;
};

// Decodes the bytes of an extract: a UTF-8 byte-order mark is skipped; valid
// UTF-8 goes through the one UTF-8 to Windows-1252 conversion; anything else
// is taken as Windows-1252 bytes. Valid UTF-8 cut inside its last character
// means the file was truncated: EImportError "incomplet".
QString decoderExtraction(QByteArrayView bytes);

// The extract after its header line, one entry per player line.
struct Extraction {
    QStringList lignes;  // decoded lines, in file order
    QList<int> numeros;  // their line numbers in the file, from 1
    int separateurs = 0; // separators between the header's fields

    void clear()
    {
        lignes.clear();
        numeros.clear();
        separateurs = 0;
    }
};

// Reads an extract held in memory. Result: the number of player lines after
// the header (empty lines and lines of empty fields left out), or -1 when
// no header line is found. Throws EImportError for a file longer than
// maxLignes lines, a player line with text beyond the 34th column, or a
// truncated file; EConvertError for a licence or value index that is not a
// whole number. The extract is left empty on every failure.
int lireExtractionTexte(QByteArrayView bytes, Extraction &extraction,
                        int maxLignes = MaxLignesExtraction);
// Same from a file; EFileError when it cannot be read. One larger than
// maxLignes lines of OctetsParLigneExtraction bytes is refused before it is
// read, and one past maxLignes lines as soon as that line is read.
int LireExtraction(const QString &fichier, Extraction &extraction,
                   int maxLignes = MaxLignesExtraction);

// Value index text to ranking code ("3 C" for 36); empty for a value outside
// the table. An empty text counts as 0; another non-number throws
// EConvertError.
QString CodeClassement(const QString &indice);
// The season year: the current year until July, the next one from August.
QString AnneeSaison(platform::TDateTime maintenant);
// A blank after every second character, never after the last one.
QString FormatTelephone(const QString &texte);
// "yyyy-mm-dd" to "dd/mm/yyyy"; an empty text gives "//".
QString DateFrancaise(const QString &texte);

// The players-file record of one extract line (19 fields, each followed by
// ";"). An e-mail address at the federation's own domain (the whole part
// after "@", letter case ignored) is left out; an empty domain keeps every
// address.
QString ficheDepuisExtraction(const QString &ligne, const QString &domaineFederation,
                              const QString &anneeSaison);

// Licence number of a players-file or extract line as an integer; throws
// EConvertError when it is not a whole number.
int licenceDe(const QString &ligne);

// Sorts players-file lines by family name, then first name, comparing
// Windows-1252 codes; lines with equal names keep their order.
void TrierJoueurs(QStringList &joueurs);

// The players list being merged: lines of "Joueur.DBP" and an index from the
// licence's integer value to the last line holding it.
class ListeJoueurs
{
public:
    QStringList lignes;
    // The file the lines were read from, named with a damaged line.
    QString fichier;

    // Builds the index; throws EConvertError for a line whose licence is not
    // a whole number (blank lines are skipped), naming the file and line.
    void indexer();
    // Index of the last line holding this licence, or -1.
    int ChercherLicence(int licence) const;
    // Appends or replaces the line of this record's licence (after
    // indexer(); reordering the lines calls for a new indexer()).
    void integrer(const QString &fiche);
    void oublierIndex();
    void clear();

private:
    QHash<int, int> m_index;
};

// Called with the number of extract lines done, every 10 lines, then with
// the total at the end.
using ProgressionImport = std::function<void(int)>;

struct ParametresImport {
    QString domaineFederation;
    QString anneeSaison;
    ProgressionImport progression;
};

// Converts every extract line and merges it into the players list (a known
// licence has its whole line replaced, a new one is appended), then sorts.
// On a conversion error the players list is left as it was.
void IntegrerJoueurs(const Extraction &extraction, ListeJoueurs &joueurs,
                     const ParametresImport &parametres);

// One import attempt, step by step, as the import window runs it: load the
// players file, read the extract, merge (rebuilding the file from the
// extract alone when asked), write back to the path it was loaded from.
class ImportJoueurs
{
public:
    ListeJoueurs joueurs;
    Extraction extraction;

    // Throws EFileError when the file is missing or unreadable. A file that
    // does not read whole is refused by a merge, not by a rebuild from the
    // extract alone, which takes none of its lines.
    void chargerJoueurs(const QString &chemin);
    int lire(const QString &fichier, int maxLignes = MaxLignesExtraction);
    // On any error the players list is left as loaded.
    void integrer(bool remiseAZero, const ParametresImport &parametres);
    // Writes atomically to the path given at load; refused (EFichierChange)
    // when the file changed on disk since it was loaded.
    void enregistrer() const;
    void clear();

    const QString &chemin() const { return m_chemin; }

private:
    QString m_chemin;
    FichierLu m_lu;
    QString m_abime; // why the file loaded does not read whole
};

} // namespace manager
