#include "manager/core/genrefichier.h"

#include "platform/text/linefile.h"

#include <QDir>

namespace manager
{

bool FichierBinaire(const QStringList &lignes)
{
    for (const QString &l : lignes)
        for (const QChar c : l) {
            const char16_t u = c.unicode();
            // Tab, vertical tab, form feed, and the end mark (0x1A) some old
            // editors put at the end of a text file.
            if (u < 0x20 && u != 0x09 && u != 0x0B && u != 0x0C && u != 0x1A)
                return true;
        }
    return false;
}

QString TexteAutreGenre(const QString &genre, const QString &fichier)
{
    return QStringLiteral("Ce fichier n'est pas ") + genre + QStringLiteral(" : ") + fichier;
}

QString TexteLigneFichier(const QString &message, const QString &fichier, qsizetype ligne)
{
    // One substitution: the message may hold a "%" of the file.
    if (fichier.isEmpty())
        return QStringLiteral("%1 (ligne %2)").arg(message, QString::number(ligne + 1));
    return QStringLiteral("%1 (fichier %2, ligne %3)")
        .arg(message, QDir::toNativeSeparators(fichier), QString::number(ligne + 1));
}

EAutreGenre::EAutreGenre(const QString &genre, const QString &fichier)
    : platform::EFileError(TexteAutreGenre(genre, fichier))
{
}

EAutreGenre::EAutreGenre(const QString &genre, const QString &fichier, qsizetype ligne)
    : platform::EFileError(TexteAutreGenre(genre, fichier) +
                           QStringLiteral(" (ligne %1)").arg(ligne + 1))
{
}

QStringList LireFichierDuGenre(const QString &fichier, const QString &genre)
{
    QStringList lignes = platform::LineFile::read(fichier);
    if (FichierBinaire(lignes))
        throw EAutreGenre(genre, fichier);
    return lignes;
}

} // namespace manager
