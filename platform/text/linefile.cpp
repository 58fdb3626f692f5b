#include "platform/text/linefile.h"

#include "platform/text/codec.h"
#include "platform/text/exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

QString systemErrorReason(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("disque plein");
    case EDQUOT:
        return QStringLiteral("quota du disque dépassé");
    case EFBIG:
        return QStringLiteral("taille de fichier maximale dépassée");
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie");
    case EROFS:
        return QStringLiteral("disque en lecture seule");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case ENOENT:
        return QStringLiteral("fichier ou dossier introuvable");
    case ENOTDIR:
        return QStringLiteral("un élément du chemin n'est pas un dossier");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    case ENAMETOOLONG:
        return QStringLiteral("nom trop long");
    case ELOOP:
        return QStringLiteral("trop de liens symboliques");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("trop de fichiers ouverts");
    default:
        return QStringLiteral("erreur système %1").arg(error);
    }
}

namespace
{

LineFile::WriteHook &writeHook()
{
    static LineFile::WriteHook hook;
    return hook;
}

LineFile::ReadHook &readHook()
{
    static LineFile::ReadHook hook;
    return hook;
}

QString nativeName(const QString &path)
{
    QString name = QDir::toNativeSeparators(path);
    return name.replace(QChar(u'\0'), QLatin1Char('?'));
}

// The system cuts a name at its first NUL: "Quatre1.htm\0.chr" would read
// or replace "Quatre1.htm". Such a name names no file here.
bool cutShort(const QString &path)
{
    return path.contains(QChar(u'\0'));
}

// The entry of folder whose name matches name ignoring case; the exact name
// wins, then the first match in name order so the choice is stable.
QString matchInFolder(const QString &folder, const QString &name)
{
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists())
        return {};
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &e : entries)
        if (e == name)
            return e;
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

QStringList splitLines(const QByteArray &bytes)
{
    QStringList lines;
    const char *d = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (d[i] == '\r' || d[i] == '\n') {
            lines.append(fromAnsi(QByteArrayView(d + start, i - start)));
            if (d[i] == '\r' && i + 1 < n && d[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(fromAnsi(QByteArrayView(d + start, n - start)));
    return lines;
}

enum class Kind { Absent, Regular, Other };

// What bears the name, links followed. A name that cannot be looked at (a
// folder on the way that may not be searched) may hide a file: not absent.
Kind kindOf(const QString &path)
{
    if (path.isEmpty() || cutShort(path))
        return Kind::Absent;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Kind::Absent : Kind::Other;
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

// Why a name borne by something else than a regular file (or by nothing)
// cannot be read or replaced as one.
QString notAFileReason(const QString &path)
{
    if (cutShort(path))
        return QStringLiteral("nom de fichier invalide");
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return systemErrorReason(errno);
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("c'est un dossier");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("c'est un tube, pas un fichier");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("c'est un périphérique, pas un fichier");
    return QStringLiteral("ce n'est pas un fichier");
}

// Why files cannot be made in folder; empty when they can.
QString folderReason(const QString &folder)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(folder);
    if (::stat(name.constData(), &st) != 0)
        return systemErrorReason(errno);
    if (!S_ISDIR(st.st_mode))
        return systemErrorReason(ENOTDIR);
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return systemErrorReason(errno);
    return {};
}

QString withReason(const QString &message, const QString &reason)
{
    return reason.isEmpty() ? message : message + QStringLiteral(" : ") + reason;
}

EFileError cannotCreate(const QString &path, const QString &reason)
{
    return EFileError(withReason(
        QStringLiteral("Impossible de créer le fichier %1").arg(nativeName(path)), reason));
}

// The folder of path, or the nearest one above it that exists.
QString existingFolder(const QString &path)
{
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

QByteArray readAll(const QString &path, const LineFile::Watch *watch = nullptr)
{
    if (readHook())
        readHook()(path);
    const auto cannotOpen = [&path](const QString &reason) {
        return EFileError(withReason(
            QStringLiteral("Impossible d'ouvrir le fichier %1").arg(nativeName(path)), reason));
    };
    // A folder, pipe or device holds no data file, and opening a pipe would
    // wait for a writer: looked at before it is opened, and once opened
    // (without waiting) in case it changed in between.
    if (kindOf(path) != Kind::Regular)
        throw cannotOpen(notAFileReason(path));
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen(systemErrorReason(errno));
    struct stat st;
    QFile f;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw cannotOpen(notAFileReason(path));
    }
    const auto readError = [&path] {
        return EFileError(QStringLiteral("Erreur de lecture du fichier %1").arg(nativeName(path)));
    };
    // No data file, template or page comes near this: a larger file (or a
    // special file that never ends) would only fill memory.
    const auto tooLarge = [&path] {
        return EFileError(QStringLiteral("Le fichier %1 est trop volumineux pour être lu.")
                              .arg(nativeName(path)));
    };
    if (watch && watch->sized)
        watch->sized(qint64(st.st_size));
    if (qint64(st.st_size) > LineFile::MaxReadBytes)
        throw tooLarge();
    // In pieces, so that a watcher may stop a file long before its end, and
    // a file that grows while it is read stops at the bound.
    constexpr qint64 Piece = 1 << 20;
    QByteArray bytes;
    // A watcher may refuse the file at its first piece: room for the rest
    // is made once it has taken that piece.
    const bool watched = watch && watch->piece;
    bytes.reserve(qsizetype(watched ? std::min<qint64>(st.st_size, Piece) : st.st_size) + 1);
    for (;;) {
        const qsizetype start = bytes.size();
        const qint64 room = bytes.capacity() - start;
        const qint64 want = room > 0 ? std::min(room, Piece) : Piece;
        bytes.resize(start + qsizetype(want));
        const qint64 n = f.read(bytes.data() + start, want);
        if (n < 0)
            throw readError();
        bytes.resize(start + qsizetype(n));
        if (n == 0)
            return bytes;
        if (bytes.size() > LineFile::MaxReadBytes)
            throw tooLarge();
        if (watched) {
            watch->piece(QByteArrayView(bytes).sliced(start));
            if (start == 0)
                bytes.reserve(qsizetype(st.st_size) + 1);
        }
    }
}

} // namespace

QString LineFile::resolve(const QString &path)
{
    if (path.isEmpty() || cutShort(path) || QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    QString folder = info.path();
    const QString name = info.fileName();
    if (name.isEmpty())
        return path;
    // The folders themselves may differ in case too (a season copied over).
    if (!QFileInfo::exists(folder)) {
        const QString resolvedFolder = resolve(folder);
        if (resolvedFolder == folder)
            return path;
        folder = resolvedFolder;
    }
    const QString match = matchInFolder(folder, name);
    if (match.isEmpty() && folder == info.path())
        return path;
    // A new file goes into the folder as it exists.
    const QString file = match.isEmpty() ? name : match;
    if (!path.contains(QLatin1Char('/')))
        return file;
    return folder.endsWith(QLatin1Char('/')) ? folder + file : folder + QLatin1Char('/') + file;
}

bool LineFile::exists(const QString &path)
{
    return !cutShort(path) && QFileInfo(resolve(path)).isFile();
}

bool LineFile::present(const QString &path)
{
    return kindOf(resolve(path)) != Kind::Absent;
}

QStringList LineFile::read(const QString &path)
{
    return splitLines(readAll(resolve(path)));
}

bool LineFile::readIfExists(const QString &path, QStringList &lines)
{
    const QString real = resolve(path);
    if (kindOf(real) == Kind::Absent)
        return false;
    lines = splitLines(readAll(real));
    return true;
}

QStringList LineFile::lines(const QByteArray &bytes)
{
    return splitLines(bytes);
}

QByteArray LineFile::readBytes(const QString &path)
{
    return readAll(resolve(path));
}

QByteArray LineFile::readBytes(const QString &path, const Watch &watch)
{
    return readAll(resolve(path), &watch);
}

void LineFile::checkWritable(const QString &path)
{
    const QString real = resolve(path);
    const Kind kind = kindOf(real);
    const QByteArray name = QFile::encodeName(real);
    if (cutShort(real) || kind == Kind::Other)
        throw cannotCreate(real, notAFileReason(real));
    if (kind == Kind::Regular && ::access(name.constData(), W_OK) != 0)
        throw cannotCreate(real, systemErrorReason(errno));
    const QString reason = folderReason(existingFolder(real));
    if (!reason.isEmpty())
        throw cannotCreate(real, reason);
}

void LineFile::checkRemovable(const QString &path)
{
    const QString real = resolve(path);
    const Kind kind = kindOf(real);
    if (kind == Kind::Absent)
        return;
    const QString reason =
        kind == Kind::Other ? notAFileReason(real) : folderReason(QFileInfo(real).absolutePath());
    if (!reason.isEmpty())
        throw EFileError(withReason(
            QStringLiteral("Impossible de supprimer le fichier %1").arg(nativeName(real)), reason));
}

void LineFile::write(const QString &path, const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &l : lines)
        size += l.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QString &l : lines) {
        appendAnsi(bytes, l);
        bytes.append("\r\n", 2);
    }
    writeBytes(path, bytes);
}

void LineFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    // A file that exists under another case keeps its name, as it would have
    // on the original file system; otherwise two files would differ by case.
    const QString real = resolve(path);
    QSaveFile f(real);
    // The temporary file renamed over a pipe or device would replace it.
    if (cutShort(real) || kindOf(real) == Kind::Other)
        throw cannotCreate(real, notAFileReason(real));
    // The file replaced keeps its permission bits (one kept read-only stays
    // so); a new one gets the user's default.
    struct stat replaced;
    const bool replacing =
        ::stat(QFile::encodeName(real).constData(), &replaced) == 0 && S_ISREG(replaced.st_mode);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly)) {
        const int error = errno;
        QString reason = folderReason(QFileInfo(real).absolutePath());
        if (reason.isEmpty() && error != 0)
            reason = systemErrorReason(error);
        throw cannotCreate(real, reason);
    }
    const auto failed = [&](int error) {
        // The temporary file goes; the old file has not been touched.
        f.cancelWriting();
        QString message =
            QStringLiteral("Erreur d'écriture dans le fichier %1").arg(nativeName(real));
        if (error != 0)
            message += QStringLiteral(" : ") + systemErrorReason(error);
        return EFileError(message);
    };
    // Straight to the file, not through Qt's buffer: a buffer flushed inside
    // commit() can fail (a full disk) while the temporary file is still
    // renamed over the old one. Each write and the sync are checked, and the
    // rename comes only once every byte is known to be on the disk.
    const int fd = f.handle();
    if (replacing && ::fchmod(fd, replaced.st_mode & 07777) != 0)
        throw failed(errno);
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw failed(n < 0 ? errno : ENOSPC);
        data += n;
        left -= n;
    }
    int error = writeHook() ? writeHook()(real) : 0;
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    if (error != 0)
        throw failed(error);
    errno = 0;
    if (!f.commit())
        throw failed(errno);
}

LineFile::WriteHook LineFile::setWriteHook(WriteHook hook)
{
    WriteHook previous = std::move(writeHook());
    writeHook() = std::move(hook);
    return previous;
}

LineFile::ReadHook LineFile::setReadHook(ReadHook hook)
{
    ReadHook previous = std::move(readHook());
    readHook() = std::move(hook);
    return previous;
}

QString Champ(const QString &line, int n)
{
    if (n < 0)
        return {};
    qsizetype start = 0;
    for (int field = 0; field < n; ++field) {
        const qsizetype sep = line.indexOf(QLatin1Char(';'), start);
        if (sep < 0)
            return {};
        start = sep + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char(';'), start);
    return line.mid(start, end < 0 ? -1 : end - start);
}

QString Champ(const QStringList &lines, int i, int n)
{
    if (i < 0 || i >= lines.size())
        return {};
    return Champ(lines[i], n);
}

} // namespace platform
