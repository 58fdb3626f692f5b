#include "platform/inifile/inifile.h"

#include "platform/format/format.h"
#include "platform/text/linefile.h"

namespace platform
{

namespace
{

// "[name]" (blanks allowed around and inside the brackets) gives name.
bool sectionName(const QString &line, QString &name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isComment(const QString &line)
{
    const QString t = line.trimmed();
    return t.isEmpty() || t.startsWith(QLatin1Char(';'));
}

// "key = value": false for a line that holds no key.
bool keyValue(const QString &line, QString &key, QString &value)
{
    if (isComment(line))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    key = line.left(eq).trimmed();
    if (key.isEmpty())
        return false;
    value = line.mid(eq + 1).trimmed();
    // Matching quotes around a value are not part of it.
    if (value.size() >= 2 &&
        ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
         (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
        value = value.mid(1, value.size() - 2);
    return true;
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A line break inside a value would cut the file's structure in two.
QString oneLine(const QString &value)
{
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

} // namespace

TIniFile::TIniFile(QString path) : m_path(std::move(path)) {}

void TIniFile::load() const
{
    m_lines.clear();
    LineFile::readIfExists(m_path, m_lines);
}

void TIniFile::save()
{
    LineFile::write(m_path, m_lines);
}

int TIniFile::findSection(const QString &section) const
{
    const QString wanted = section.trimmed();
    QString name;
    for (int i = 0; i < m_lines.size(); ++i)
        if (sectionName(m_lines[i], name) && same(name, wanted))
            return i;
    return -1;
}

int TIniFile::sectionEnd(int sectionLine) const
{
    QString name;
    int i = sectionLine + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i], name))
        ++i;
    return i;
}

int TIniFile::findKey(int sectionLine, const QString &key) const
{
    if (sectionLine < 0)
        return -1;
    const QString wanted = key.trimmed();
    const int end = sectionEnd(sectionLine);
    QString k, v;
    for (int i = sectionLine + 1; i < end; ++i)
        if (keyValue(m_lines[i], k, v) && same(k, wanted))
            return i;
    return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    load();
    const int line = findKey(findSection(section), key);
    QString k, v;
    if (line < 0 || !keyValue(m_lines[line], k, v))
        return def;
    return v;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    QString text = ReadString(section, key, QString());
    if (text.size() > 2 && text[0] == QLatin1Char('0') &&
        (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X')))
        text = QLatin1Char('$') + text.mid(2);
    return StrToIntDef(text, def);
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

TDateTime TIniFile::ReadDate(const QString &section, const QString &key, TDateTime def) const
{
    TDateTime v = def;
    TryStrToDate(ReadString(section, key, QString()), v);
    return v;
}

TDateTime TIniFile::ReadDateTime(const QString &section, const QString &key, TDateTime def) const
{
    TDateTime v = def;
    TryStrToDateTime(ReadString(section, key, QString()), v);
    return v;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    load();
    const QString v = oneLine(value);
    int s = findSection(section);
    if (s < 0) {
        m_lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        m_lines.append(key.trimmed() + QLatin1Char('=') + v);
        save();
        return;
    }
    const int line = findKey(s, key);
    if (line >= 0) {
        // The key keeps its spelling and spacing in the file.
        const QString &old = m_lines[line];
        const QString updated = old.left(old.indexOf(QLatin1Char('=')) + 1) + v;
        if (updated == old)
            return;
        m_lines[line] = updated;
    } else {
        // After the section's last non-blank line, so blank lines before the
        // next section stay where they are.
        int at = sectionEnd(s);
        while (at - 1 > s && m_lines[at - 1].trimmed().isEmpty())
            --at;
        m_lines.insert(at, key.trimmed() + QLatin1Char('=') + v);
    }
    save();
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteDate(const QString &section, const QString &key, TDateTime value)
{
    WriteString(section, key, DateToStr(value));
}

void TIniFile::WriteDateTime(const QString &section, const QString &key, TDateTime value)
{
    // The time is left out at midnight, as the platform's date-time text did.
    WriteString(section, key, DateTimeToStr(value));
}

bool TIniFile::SectionExists(const QString &section) const
{
    load();
    return findSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    load();
    return findKey(findSection(section), key) >= 0;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    load();
    QStringList keys;
    const int s = findSection(section);
    if (s < 0)
        return keys;
    const int end = sectionEnd(s);
    QString k, v;
    for (int i = s + 1; i < end; ++i)
        if (keyValue(m_lines[i], k, v))
            keys.append(k);
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString &section) const
{
    load();
    QStringList out;
    const int s = findSection(section);
    if (s < 0)
        return out;
    const int end = sectionEnd(s);
    QString k, v;
    for (int i = s + 1; i < end; ++i)
        if (keyValue(m_lines[i], k, v))
            out.append(k + QLatin1Char('=') + v);
    return out;
}

QStringList TIniFile::ReadSections() const
{
    load();
    QStringList out;
    QString name;
    for (const QString &l : std::as_const(m_lines))
        if (sectionName(l, name))
            out.append(name);
    return out;
}

void TIniFile::EraseSection(const QString &section)
{
    load();
    const int s = findSection(section);
    if (s < 0)
        return;
    m_lines.remove(s, sectionEnd(s) - s);
    save();
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    load();
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return;
    m_lines.removeAt(line);
    save();
}

} // namespace platform
