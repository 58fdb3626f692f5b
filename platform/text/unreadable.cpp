#include "platform/text/unreadable.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

QString unreadableReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    errno = ENOENT;
    if (path.isEmpty() || path.contains(QChar(u'\0')) || ::stat(name.constData(), &st) != 0) {
        if (errno == EACCES)
            return QStringLiteral("Vous n'avez pas le droit d'ouvrir son dossier.");
        if (!path.isEmpty() && errno != ENOENT && errno != ENOTDIR)
            return QString();
        return QStringLiteral("Ce fichier n'existe pas.");
    }
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("C'est un dossier, pas un fichier.");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("C'est un tube nommé, pas un fichier.");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("C'est un périphérique, pas un fichier.");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("Ce n'est pas un fichier ordinaire.");
    if (::access(name.constData(), R_OK) != 0)
        return QStringLiteral("Vous n'avez pas le droit de le lire.");
    return QString();
}

} // namespace platform
