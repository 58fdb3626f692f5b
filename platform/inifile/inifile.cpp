#include "platform/inifile/inifile.h"

#include "platform/format/format.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <mutex>
#include <sys/stat.h>
#include <vector>

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

// The form under which names compare equal ignoring case: each character
// folded as QString::compare folds it, so that a look-up finds what a
// case-insensitive comparison would.
QString folded(const QString &name)
{
    const QString t = name.trimmed();
    QString out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        char32_t c = t[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < t.size() && t[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(t[i].unicode(), t[i + 1].unicode());
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        } else {
            out.append(QChar(char16_t(c)));
        }
    }
    return out;
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

// One file's lines and where its sections and keys lie. Shared by every
// TIniFile of the same path (see registry()).
struct IniContent {
    // What tells that a file changed on disk: a same-size rewrite within
    // the same second still changes the nanoseconds or the status-change
    // time, and a file replaced through a rename is another inode.
    struct Stamp {
        bool exists = false;
        bool regular = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};

        bool operator==(const Stamp &o) const
        {
            return exists == o.exists && regular == o.regular && device == o.device &&
                   inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
                   modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
                   changed.tv_nsec == o.changed.tv_nsec;
        }
    };

    static Stamp stampOf(const QString &path)
    {
        Stamp s;
        struct stat st = {};
        if (path.contains(QChar(u'\0')) || ::stat(QFile::encodeName(path).constData(), &st) != 0)
            return s;
        s.exists = true;
        s.regular = S_ISREG(st.st_mode);
        s.device = st.st_dev;
        s.inode = st.st_ino;
        s.size = st.st_size;
        s.modified = st.st_mtim;
        s.changed = st.st_ctim;
        return s;
    }

    QString key; // the absolute path of the file read
    bool read = false;
    bool refused = false; // could not be read: see refusedFiles()
    bool told = false;    // its refusal was told to the user
    Stamp stamp;
    QStringList lines;

    // A section's keys are looked at only once one of them is asked for: a
    // large file costs its reading and no more before then.
    struct Section {
        int end = 0;              // the line after the section
        bool indexed = false;     // keys filled
        QHash<QString, int> keys; // folded key -> its first line
    };
    QHash<QString, int> firstSection;     // folded name -> line of its first header
    mutable QHash<int, Section> sections; // header line -> section

    void setLines(QStringList l)
    {
        lines = std::move(l);
        firstSection.clear();
        sections.clear();
        QString name;
        int current = -1;
        for (int i = 0; i < int(lines.size()); ++i) {
            // Most lines are keys: a look at their first character is enough.
            const QString &line = lines[i];
            qsizetype c = 0;
            while (c < line.size() && line[c].isSpace())
                ++c;
            if (c == line.size() || line[c] != QLatin1Char('[') || !sectionName(line, name))
                continue;
            if (current >= 0)
                sections[current].end = i;
            current = i;
            sections[current].end = int(lines.size());
            const QString f = folded(name);
            if (!firstSection.contains(f))
                firstSection.insert(f, i);
        }
    }

    int findSection(const QString &section) const
    {
        return firstSection.value(folded(section), -1);
    }
    int sectionEnd(int sectionLine) const
    {
        const auto s = sections.constFind(sectionLine);
        return s == sections.cend() ? sectionLine + 1 : s->end;
    }
    int findKey(int sectionLine, const QString &key) const
    {
        if (sectionLine < 0)
            return -1;
        const auto s = sections.find(sectionLine);
        if (s == sections.end())
            return -1;
        if (!s->indexed) {
            QString k, v;
            for (int i = sectionLine + 1; i < s->end; ++i)
                if (keyValue(lines[i], k, v)) {
                    const QString f = folded(k);
                    if (!s->keys.contains(f))
                        s->keys.insert(f, i);
                }
            s->indexed = true;
        }
        return s->keys.value(folded(key), -1);
    }
};

namespace
{

// The files read, by absolute path, while some TIniFile holds them: objects
// created one after another on the same file share one content, and a file
// no object holds any more costs no memory.
std::mutex &registryMutex()
{
    static std::mutex m;
    return m;
}

QHash<QString, std::weak_ptr<IniContent>> &registry()
{
    static QHash<QString, std::weak_ptr<IniContent>> r;
    return r;
}

// The files found unreadable during the run, by absolute path, with what
// the program set in them since: a file refused once is neither read again
// nor written until the program starts again, so that settings the program
// never saw are not replaced by its defaults, while the run itself keeps
// what it changed (a season opened stays open).
QHash<QString, std::shared_ptr<IniContent>> &refusedFiles()
{
    static QHash<QString, std::shared_ptr<IniContent>> r;
    return r;
}

} // namespace

TIniFile::TIniFile(QString path) : m_path(std::move(path)) {}

const IniContent &TIniFile::current() const
{
    const QString real = LineFile::resolve(m_path);
    const QString key = QFileInfo(real).absoluteFilePath();
    if (!m_content || m_content->key != key) {
        auto &r = registry();
        m_content = r.value(key).lock();
        if (!m_content) {
            // Forget the files nobody holds before the list grows.
            for (auto it = r.begin(); it != r.end();)
                it = it->expired() ? r.erase(it) : std::next(it);
            m_content = std::make_shared<IniContent>();
            m_content->key = key;
            r.insert(key, m_content);
        }
    }
    if (const auto kept = refusedFiles().value(key)) {
        m_content = kept;
        return *m_content;
    }
    // The stamp is taken before the lines: a change in between is seen at
    // the next call.
    const IniContent::Stamp stamp = IniContent::stampOf(real);
    if (!m_content->read || !(m_content->stamp == stamp)) {
        QStringList lines;
        // Something other than a regular file is not opened at all (a FIFO
        // would wait for a writer).
        bool readable = !stamp.exists || stamp.regular;
        if (readable) {
            try {
                LineFile::readIfExists(real, lines);
            } catch (const EFileError &) {
                readable = false;
            }
        }
        if (!readable) {
            refusedFiles().insert(key, m_content);
            m_content->refused = true;
            lines.clear();
        }
        m_content->setLines(std::move(lines));
        m_content->stamp = stamp;
        m_content->read = true;
    }
    return *m_content;
}

template <typename Edit> void TIniFile::update(Edit edit)
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    current();
    QStringList lines = m_content->lines;
    if (!edit(*m_content, lines))
        return;
    if (m_content->refused) {
        m_content->setLines(std::move(lines));
        return;
    }
    LineFile::write(m_path, lines);
    m_content->setLines(std::move(lines));
    m_content->stamp = IniContent::stampOf(LineFile::resolve(m_path));
}

bool TIniFile::Refused() const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    return current().refused;
}

bool TIniFile::RefusalToTell()
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    current();
    if (!m_content->refused || m_content->told)
        return false;
    m_content->told = true;
    return true;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    const IniContent &c = current();
    const int line = c.findKey(c.findSection(section), key);
    QString k, v;
    if (line < 0 || !keyValue(c.lines[line], k, v))
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
    const QString v = oneLine(value);
    update([&](const IniContent &c, QStringList &lines) {
        const int s = c.findSection(section);
        if (s < 0) {
            lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
            lines.append(key.trimmed() + QLatin1Char('=') + v);
            return true;
        }
        const int line = c.findKey(s, key);
        if (line >= 0) {
            // The key keeps its spelling and spacing in the file.
            const QString &old = lines[line];
            const QString updated = old.left(old.indexOf(QLatin1Char('=')) + 1) + v;
            if (updated == old)
                return false;
            lines[line] = updated;
        } else {
            // After the section's last non-blank line, so blank lines before
            // the next section stay where they are.
            int at = c.sectionEnd(s);
            while (at - 1 > s && lines[at - 1].trimmed().isEmpty())
                --at;
            lines.insert(at, key.trimmed() + QLatin1Char('=') + v);
        }
        return true;
    });
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
    const std::lock_guard<std::mutex> lock(registryMutex());
    return current().findSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    const IniContent &c = current();
    return c.findKey(c.findSection(section), key) >= 0;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    const IniContent &c = current();
    QStringList keys;
    const int s = c.findSection(section);
    if (s < 0)
        return keys;
    const int end = c.sectionEnd(s);
    QString k, v;
    for (int i = s + 1; i < end; ++i)
        if (keyValue(c.lines[i], k, v))
            keys.append(k);
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString &section) const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    const IniContent &c = current();
    QStringList out;
    const int s = c.findSection(section);
    if (s < 0)
        return out;
    const int end = c.sectionEnd(s);
    QString k, v;
    for (int i = s + 1; i < end; ++i)
        if (keyValue(c.lines[i], k, v))
            out.append(k + QLatin1Char('=') + v);
    return out;
}

QStringList TIniFile::ReadSections() const
{
    const std::lock_guard<std::mutex> lock(registryMutex());
    const IniContent &c = current();
    QStringList out;
    QString name;
    for (const QString &l : c.lines)
        if (sectionName(l, name))
            out.append(name);
    return out;
}

void TIniFile::EraseSection(const QString &section)
{
    update([&](const IniContent &c, QStringList &lines) {
        const int s = c.findSection(section);
        if (s < 0)
            return false;
        lines.remove(s, c.sectionEnd(s) - s);
        return true;
    });
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    update([&](const IniContent &c, QStringList &lines) {
        const int line = c.findKey(c.findSection(section), key);
        if (line < 0)
            return false;
        lines.removeAt(line);
        return true;
    });
}

} // namespace platform
