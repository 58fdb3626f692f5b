#pragma once
// The profile file ("Vorn_Lud.ini"): sections and keys found case-
// insensitively, values trimmed (and matching quotes around them dropped),
// defaults for what is missing, Booleans written "1"/"0" and read as
// integer != 0, dates as short-date text (a bad one reads as the default).
// Windows-1252; every other line keeps its place and bytes. Each write goes
// to disk at once (atomically), as the platform's profile calls did; the file
// is created on the first write. Open, use and drop around each use.
//
// The file is read and parsed once, then read again only when it changed on
// disk (another size, time, inode or status change); every object on the
// same file, while one lives, shares what was read, so a write through one
// is seen by the others at once. A look-up costs the same whatever the
// file's size: reading N keys is proportional to N and the file.
//
// A file that exists but cannot be read (no permission, a folder or another
// thing that is not a regular file in its place) is refused for the rest of
// the run: it reads as empty, so every value is its default, and nothing is
// ever written to it, since a write would replace settings never seen.
#include "platform/text/convert.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace platform
{

struct IniContent;

class TIniFile
{
public:
    explicit TIniFile(QString path);

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    TDateTime ReadDate(const QString &section, const QString &key, TDateTime def) const;
    TDateTime ReadDateTime(const QString &section, const QString &key, TDateTime def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void WriteDate(const QString &section, const QString &key, TDateTime value);
    void WriteDateTime(const QString &section, const QString &key, TDateTime value);

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // Keys of a section, in file order; "key=value" lines of a section.
    QStringList ReadSection(const QString &section) const;
    QStringList ReadSectionValues(const QString &section) const;
    QStringList ReadSections() const;
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

    const QString &FileName() const { return m_path; }
    // The file could not be read (see above): values are the defaults and
    // writes are dropped.
    bool Refused() const;
    // True the first time it is asked about a file refused for the run,
    // whether found so at start-up or later: the caller tells the user once.
    bool RefusalToTell();

private:
    // The file's content, brought up to date with the disk.
    const IniContent &current() const;
    // The lines changed by `edit`, written, then shared; nothing is written
    // when `edit` returns false. A failed write leaves the shared content as
    // the file still is.
    template <typename Edit> void update(Edit edit);

    QString m_path;
    mutable std::shared_ptr<IniContent> m_content;
};

} // namespace platform
