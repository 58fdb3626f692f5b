#include "manager/core/fichierlu.h"

#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace
{

QString cle(const QString &chemin)
{
    return QFileInfo(platform::LineFile::resolve(chemin)).absoluteFilePath();
}

} // namespace

QString empreinteFichier(const QString &chemin)
{
    // Every save replaces the file by a new one (a new inode), so a file
    // written twice within the clock's resolution still shows.
    struct stat s = {};
    if (::stat(QFile::encodeName(platform::LineFile::resolve(chemin)).constData(), &s) != 0)
        return QString();
    return QStringLiteral("%1:%2:%3.%4")
        .arg(quint64(s.st_ino))
        .arg(qint64(s.st_size))
        .arg(qint64(s.st_mtim.tv_sec))
        .arg(qint64(s.st_mtim.tv_nsec));
}

EFichierChange::EFichierChange(const QString &chemin)
    : platform::EFileError(
          QStringLiteral("Le fichier %1 a été modifié sur le disque depuis que cette fenêtre "
                         "l'a lu : rien n'y est enregistré, pour ne pas effacer ce changement.")
              .arg(QDir::toNativeSeparators(platform::LineFile::resolve(chemin)))),
      m_chemin(chemin)
{
}

void FichierLu::noter(const QString &chemin)
{
    m_chemin = chemin;
    m_empreinte = empreinteFichier(chemin);
}

bool FichierLu::change() const
{
    return note() && empreinteFichier(m_chemin) != m_empreinte;
}

void FichierLu::verifier(const QString &chemin) const
{
    // Another file chosen (saved under another name) has nothing to lose here.
    if (!note() || cle(chemin) != cle(m_chemin))
        return;
    if (change())
        throw EFichierChange(chemin);
}

void FichiersLus::noter(const QString &chemin)
{
    noter(chemin, empreinteFichier(chemin));
}

void FichiersLus::noter(const QString &chemin, const QString &empreinte)
{
    m_empreintes.insert(cle(chemin), empreinte);
}

void FichiersLus::verifier(const QString &chemin) const
{
    const auto it = m_empreintes.constFind(cle(chemin));
    if (it != m_empreintes.constEnd() && *it != empreinteFichier(chemin))
        throw EFichierChange(chemin);
}
