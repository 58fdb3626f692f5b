#pragma once
// A file picked in place of one of the kind a command asks for: a picture, a
// program, a compressed document. It is refused naming the file rather than
// read as lines that would give nothing, or a conversion error about no text
// the user can see.
#include "platform/text/exceptions.h"

#include <QString>
#include <QStringList>

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
};

// The file's lines, as LineFile::read gives them; EAutreGenre when they are
// not text. genre names the kind asked for ("un fichier de résultats").
QStringList LireFichierDuGenre(const QString &fichier, const QString &genre);

} // namespace manager
