#pragma once
// The profile file ("Vorn_Lud.ini"): sections and keys found case-
// insensitively, values trimmed (and matching quotes around them dropped),
// defaults for what is missing, Booleans written "1"/"0" and read as
// integer != 0, dates as short-date text (a bad one reads as the default).
// Windows-1252; every other line keeps its place and bytes. Each write goes
// to disk at once (atomically), as the platform's profile calls did; the file
// is created on the first write. Open, use and drop around each use.
#include "platform/text/convert.h"
#include <QString>
#include <QStringList>

namespace platform
{

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

private:
    // Every call reads the file afresh, as the platform's profile calls did,
    // so two objects on the same file never see stale lines.
    void load() const;
    void save();
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    int sectionEnd(int sectionLine) const;

    QString m_path;
    mutable QStringList m_lines;
};

} // namespace platform
