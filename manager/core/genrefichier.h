#pragma once
// A file picked in place of one of the kind a command asks for: a picture, a
// program, a compressed document. It is refused naming the file rather than
// read as lines that would give nothing, or a conversion error about no text
// the user can see.
#include "platform/text/exceptions.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace manager
{

// True when the lines hold a control character that no text file of ours
// holds (tabulations, page ends and a final end mark excepted).
bool FichierBinaire(const QStringList &lignes);

// "Ce fichier n'est pas " + genre + " : " + fichier.
QString TexteAutreGenre(const QString &genre, const QString &fichier);

class EAutreGenre : public platform::EFileError
{
public:
    EAutreGenre(const QString &genre, const QString &fichier);
    // The same where a file of text lines gives way to other bytes, at line
    // ligne (from 0).
    EAutreGenre(const QString &genre, const QString &fichier, qsizetype ligne);
};

// A conversion error about a value of line ligne (from 0) of fichier: the
// message, then where the value is ("(fichier X, ligne 3)"), so that the
// user can find it.
QString TexteLigneFichier(const QString &message, const QString &fichier, qsizetype ligne);

// Runs lire, a reading of line ligne of fichier: an EConvertError it raises
// is raised again naming the file and the line. Every reader of a data
// file's fields goes through here.
template <class F> decltype(auto) LireLigne(const QString &fichier, qsizetype ligne, F &&lire)
{
    try {
        return std::forward<F>(lire)();
    } catch (const platform::EConvertError &e) {
        throw platform::EConvertError(TexteLigneFichier(e.Message(), fichier, ligne));
    }
}

// The file's lines, as LineFile::read gives them; EAutreGenre when they are
// not text. genre names the kind asked for ("un fichier de résultats").
QStringList LireFichierDuGenre(const QString &fichier, const QString &genre);

} // namespace manager
