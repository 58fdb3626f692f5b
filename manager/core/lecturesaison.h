#pragma once
// A season file read whole before anything of it is taken: every line ends
// with its line end (a file cut mid-line has a last line without one), holds
// no control character, and has the shape of its kind. A file that does not
// read whole is refused with one message naming the file, the line and what
// is wrong; the window that asked keeps what it showed, and nothing is
// computed or written from it.
#include "platform/text/exceptions.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace manager
{

// The refusal of a damaged season file: "reason (fichier X, ligne N)".
class EFichierAbime : public platform::EFileError
{
public:
    EFichierAbime(const QString &raison, const QString &fichier, qsizetype ligne);
};

// Checks line i (from 0) of the file; throws platform::EConvertError (or
// EFichierAbime) with the reason, which is then said with the file and line.
using VerifLigne = std::function<void(qsizetype i, const QString &ligne)>;

// The lines of fichier, each checked by verifier. EFileError when it cannot
// be read, or is missing unless existe is given (it is then set, and a name
// nothing bears gives no line); EAutreGenre (genre: "un fichier de
// résultats") when no line is text.
QStringList LireFichierSaison(const QString &fichier, const QString &genre,
                              const VerifLigne &verifier = {}, bool *existe = nullptr);

// Shape checks a verifier uses: the line holds exactly n fields, each
// followed by ";" (at least n when auMoins); the text is a whole number
// (empty too when videPermis).
void VerifierChamps(const QString &ligne, int n, bool auMoins = false);
void VerifierEntier(const QString &texte, bool videPermis = false);

// The line already met: "Ligne répétée : elle reprend la ligne N".
[[noreturn]] void LigneRepetee(qsizetype premiere);

} // namespace manager
