#pragma once
// Data files: Windows-1252 text read whole into a list of lines and written
// whole, CR LF after every line (the last one too).
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

namespace platform
{

class LineFile
{
public:
    // Reads CR LF, LF or CR line ends. A missing file under its exact name is
    // looked up case-insensitively in its folder (folders copied from the
    // original platform). Throws EFileError when the file cannot be read; a
    // folder, pipe or device of that name cannot (a pipe is never waited on).
    static QStringList read(const QString &path);
    // Same, but a name that nothing bears gives false and leaves lines
    // untouched; one borne by anything but a regular file cannot be read.
    static bool readIfExists(const QString &path, QStringList &lines);
    // The lines of bytes read by readBytes(), as read() splits them.
    static QStringList lines(const QByteArray &bytes);
    // The bytes of a regular file, as read() reads it.
    static QByteArray readBytes(const QString &path);
    // The same for a reader that refuses a file as soon as it can tell:
    // sized is told the file's size once it is open, before a byte is read;
    // piece is then handed each piece as it is read. Either may throw to
    // stop the read there.
    struct Watch {
        std::function<void(qint64 size)> sized;
        std::function<void(QByteArrayView piece)> piece;
    };
    static QByteArray readBytes(const QString &path, const Watch &watch);
    // Every read refuses a file larger than this (EFileError), before it is
    // read or once it has grown past it.
    static constexpr qint64 MaxReadBytes = qint64(256) << 20;
    // Writes to a temporary file in the same folder, flushes it to the disk,
    // then renames it over the old one: a failure (a full disk) removes the
    // temporary file and leaves the old file intact. An empty list gives a
    // 0-byte file. Throws EFileError with a French message, which names the
    // system's reason when a write fails ("Erreur d'écriture dans le fichier
    // X : disque plein").
    static void write(const QString &path, const QStringList &lines);
    // Raw bytes, atomically, for files that are not line records. A folder,
    // pipe or device of that name is never replaced.
    static void writeBytes(const QString &path, const QByteArray &bytes);
    // Before a command that writes several files: throws the EFileError
    // that write() would give when it cannot write path as far as can be
    // told beforehand (a name borne by anything but a regular file, a file or
    // folder without write permission). A folder still to be made counts as
    // the nearest one above it that exists.
    static void checkWritable(const QString &path);
    // The same before a file is deleted or renamed away; a missing one passes.
    static void checkRemovable(const QString &path);

    // The path under which the file exists: itself, or a case-insensitive
    // match in its folder; the path itself when there is none.
    static QString resolve(const QString &path);
    // A regular file bears the name.
    static bool exists(const QString &path);
    // Anything bears the name: a file, folder, pipe or device.
    static bool present(const QString &path);

    // Test seam: called once every byte of a write has gone to the temporary
    // file, in place of its flush to the disk; a system error code (ENOSPC,
    // EIO...) makes that flush fail with it, 0 lets it run. Returns the
    // previous hook; an empty one removes it.
    using WriteHook = std::function<int(const QString &path)>;
    static WriteHook setWriteHook(WriteHook hook);
    // Test seam: called with the path each time a file is opened to be read.
    using ReadHook = std::function<void(const QString &path)>;
    static ReadHook setReadHook(ReadHook hook);
};

// The system's reason (an errno value) for a file that cannot be opened,
// created or written, in the program's words ("disque plein", "accès
// refusé"...): every message about a file says it after the file's name.
QString systemErrorReason(int error);

// Field n (from 0) of a ";" record: the text between the n-th ";" and the
// next one; empty for a missing field; text after the last ";" of an
// unterminated line is a field.
QString Champ(const QString &line, int n);
// The field reader over a list of lines: empty for a missing line.
QString Champ(const QStringList &lines, int i, int n);

} // namespace platform
