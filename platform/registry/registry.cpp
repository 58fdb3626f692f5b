#include "platform/registry/registry.h"

#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>

namespace platform
{

namespace
{

QString &overriddenFile()
{
    static QString path;
    return path;
}

// Names are stored escaped so that "/" and "\" inside a value name never
// split it into groups, and names starting with "@" stay ours.
const QString kKeyMarker = QStringLiteral("@key");
const QString kDefaultValue = QStringLiteral("@default");

QString encodeName(const QString &name)
{
    if (name.isEmpty())
        return kDefaultValue;
    QString out = name;
    out.replace(QLatin1Char('%'), QLatin1String("%25"));
    out.replace(QLatin1Char('/'), QLatin1String("%2F"));
    out.replace(QLatin1Char('\\'), QLatin1String("%5C"));
    out.replace(QLatin1Char('@'), QLatin1String("%40"));
    return out;
}

QString decodeName(const QString &stored)
{
    if (stored == kDefaultValue)
        return QString();
    QString out = stored;
    out.replace(QLatin1String("%40"), QLatin1String("@"));
    out.replace(QLatin1String("%5C"), QLatin1String("\\"));
    out.replace(QLatin1String("%2F"), QLatin1String("/"));
    out.replace(QLatin1String("%25"), QLatin1String("%"));
    return out;
}

// Values carry their type in the file: the INI format would give every
// number back as text.
QString typed(const QString &s)
{
    return QStringLiteral("s:") + s;
}
QString typed(int i)
{
    return QStringLiteral("i:") + QString::number(i);
}

QString groupPath(const QStringList &groups)
{
    return groups.join(QLatin1Char('/'));
}

QString childMatching(QSettings &s, const QStringList &at, const QString &name)
{
    s.beginGroup(groupPath(at));
    const QStringList children = s.childGroups();
    s.endGroup();
    const QString wanted = encodeName(name);
    for (const QString &c : children)
        if (c == wanted)
            return c;
    for (const QString &c : children)
        if (c.compare(wanted, Qt::CaseInsensitive) == 0)
            return c;
    return QString();
}

// Whether a failed write of the file has been told and not followed by a
// write that went through: a full disk is said once, not once per value
// (the values stay in memory and go with the next write that succeeds).
bool &failureTold()
{
    static bool told = false;
    return told;
}

// The bytes the settings would hold: the same settings written by Qt into a
// scratch file of the temporary folder. When even that fails (the limit is
// the process's own), a page of comment lines, which the settings read as
// no value at all, stands in for them.
QByteArray settingsBytes(const QSettings &settings)
{
    QByteArray comments;
    for (int i = 0; i < 64; ++i)
        comments += QByteArray(";") + QByteArray(62, ' ') + '\n';
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return comments;
    const QString path = scratch.filePath(QStringLiteral("registre.ini"));
    QSettings copy(path, QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        copy.setValue(key, settings.value(key));
    copy.sync();
    QFile file(path);
    if (copy.status() != QSettings::NoError || !file.open(QIODevice::ReadOnly))
        return comments;
    const QByteArray bytes = file.readAll();
    return bytes.isEmpty() ? comments : bytes;
}

// Why the file cannot be written: the settings object tells only that its
// write failed, so the common writer is given the file's own bytes, which
// leaves the file as it is and finds the system's reason (a full disk, a
// file or folder that may not be written). A file not yet made is written
// as the settings would write it, its folder made first, so that a first
// use on a full disk says so too.
QString writeFailure(const QSettings &settings)
{
    const QString file = settings.fileName();
    try {
        if (LineFile::exists(file)) {
            LineFile::writeBytes(file, LineFile::readBytes(file));
        } else {
            const QString folder = QFileInfo(file).absolutePath();
            QStringList missing;
            for (QString f = folder; !QFileInfo::exists(f);) {
                missing.prepend(f);
                const QString parent = QFileInfo(f).absolutePath();
                if (parent == f)
                    break;
                f = parent;
            }
            for (const QString &f : missing)
                if (::mkdir(QFile::encodeName(f).constData(), 0777) != 0 && errno != EEXIST)
                    return QStringLiteral("Impossible de créer le dossier %1 : %2")
                        .arg(QDir::toNativeSeparators(f), systemErrorReason(errno));
            LineFile::checkWritable(file);
            LineFile::writeBytes(file, settingsBytes(settings));
        }
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("Erreur d'écriture dans le fichier %1")
        .arg(QDir::toNativeSeparators(file));
}

} // namespace

void TRegistry::setFileName(const QString &path)
{
    overriddenFile() = path;
}

QString TRegistry::fileName()
{
    if (!overriddenFile().isEmpty())
        return overriddenFile();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vorn_Lud/registre.ini");
}

TRegistry::TRegistry() : m_settings(std::make_unique<QSettings>(fileName(), QSettings::IniFormat))
{
}

TRegistry::~TRegistry()
{
    m_settings->sync();
}

bool TRegistry::resolve(const QString &key, QStringList &groups, bool create) const
{
    groups = key.startsWith(QLatin1Char('\\')) ? QStringList() : m_current;
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString found = childMatching(*m_settings, groups, part);
        if (found.isEmpty() && !create)
            return false;
        groups.append(found.isEmpty() ? encodeName(part) : found);
    }
    return true;
}

bool TRegistry::OpenKey(const QString &key, bool canCreate)
{
    QStringList groups;
    if (!resolve(key, groups, canCreate))
        return false;
    if (canCreate) {
        // Every part gets its marker so that an empty key exists.
        QStringList path;
        for (const QString &g : groups) {
            path.append(g);
            const QString marker = groupPath(path) + QLatin1Char('/') + kKeyMarker;
            if (!m_settings->contains(marker))
                m_settings->setValue(marker, 1);
        }
        m_settings->sync();
    }
    m_current = groups;
    return true;
}

void TRegistry::CloseKey()
{
    m_settings->sync();
    m_current.clear();
}

QString TRegistry::CurrentPath() const
{
    QStringList names;
    for (const QString &g : m_current)
        names.append(decodeName(g));
    return names.join(QLatin1Char('\\'));
}

bool TRegistry::KeyExists(const QString &key) const
{
    QStringList groups;
    return resolve(key, groups, false);
}

bool TRegistry::HasSubKeys() const
{
    QStringList names;
    GetKeyNames(names);
    return !names.isEmpty();
}

bool TRegistry::DeleteKey(const QString &key)
{
    QStringList groups;
    if (!resolve(key, groups, false) || groups.isEmpty())
        return false;
    m_settings->remove(groupPath(groups));
    m_settings->sync();
    return true;
}

QString TRegistry::findValue(const QString &name) const
{
    m_settings->beginGroup(groupPath(m_current));
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    const QString wanted = encodeName(name);
    for (const QString &k : keys)
        if (k == wanted)
            return k;
    for (const QString &k : keys)
        if (k.compare(wanted, Qt::CaseInsensitive) == 0 && k != kKeyMarker)
            return k;
    return QString();
}

QString TRegistry::valueKey(const QString &stored) const
{
    return m_current.isEmpty() ? stored : groupPath(m_current) + QLatin1Char('/') + stored;
}

bool TRegistry::ValueExists(const QString &name) const
{
    return !findValue(name).isEmpty();
}

bool TRegistry::DeleteValue(const QString &name)
{
    const QString stored = findValue(name);
    if (stored.isEmpty())
        return false;
    m_settings->remove(valueKey(stored));
    m_settings->sync();
    return true;
}

void TRegistry::GetKeyNames(QStringList &names) const
{
    names.clear();
    m_settings->beginGroup(groupPath(m_current));
    const QStringList groups = m_settings->childGroups();
    m_settings->endGroup();
    for (const QString &g : groups)
        names.append(decodeName(g));
}

void TRegistry::GetValueNames(QStringList &names) const
{
    names.clear();
    m_settings->beginGroup(groupPath(m_current));
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    for (const QString &k : keys)
        if (k != kKeyMarker)
            names.append(decodeName(k));
}

void TRegistry::write(const QString &name, const QVariant &value)
{
    if (!m_current.isEmpty()) {
        // Writing into a key makes it exist, as creating it would.
        const QString marker = groupPath(m_current) + QLatin1Char('/') + kKeyMarker;
        if (!m_settings->contains(marker))
            m_settings->setValue(marker, 1);
    }
    const QString stored = findValue(name);
    m_settings->setValue(valueKey(stored.isEmpty() ? encodeName(name) : stored), value);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError) {
        failureTold() = false;
        return;
    }
    if (failureTold())
        return;
    failureTold() = true;
    throw ERegistryException(
        QStringLiteral("Impossible d'écrire la valeur '%1' dans le registre").arg(name) +
        QStringLiteral("\n\n") + writeFailure(*m_settings));
}

QString TRegistry::ReadString(const QString &name) const
{
    const QString stored = findValue(name);
    if (stored.isEmpty())
        return QString();
    const QString v = m_settings->value(valueKey(stored)).toString();
    if (v.startsWith(QLatin1String("s:")))
        return v.mid(2);
    throw ERegistryException(QStringLiteral("Type de données incorrect pour '%1'").arg(name));
}

void TRegistry::WriteString(const QString &name, const QString &value)
{
    write(name, typed(value));
}

int TRegistry::ReadInteger(const QString &name) const
{
    const QString stored = findValue(name);
    if (stored.isEmpty())
        throw ERegistryException(
            QStringLiteral("Impossible de lire la valeur '%1' du registre").arg(name));
    const QString v = m_settings->value(valueKey(stored)).toString();
    int result = 0;
    if (!v.startsWith(QLatin1String("i:")) || !TryStrToInt(v.mid(2), result))
        throw ERegistryException(QStringLiteral("Type de données incorrect pour '%1'").arg(name));
    return result;
}

void TRegistry::WriteInteger(const QString &name, int value)
{
    write(name, typed(value));
}

bool TRegistry::ReadBool(const QString &name) const
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const QString &name, bool value)
{
    write(name, typed(value ? 1 : 0));
}

} // namespace platform
