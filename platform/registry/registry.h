#pragma once
// The current user's registry of the report library and designer: keys with
// their "\" structure and typed values, kept in an INI file in the user's
// configuration folder. Keys and value names are found ignoring case, as
// the platform's registry did.
#include "platform/text/exceptions.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace platform
{

// A value of the wrong type, or missing where a number is expected.
class ERegistryException : public Exception
{
public:
    using Exception::Exception;
};

class TRegistry
{
public:
    enum RootKeys { HKEY_CURRENT_USER };

    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    RootKeys RootKey = HKEY_CURRENT_USER;

    // A key starting with "\" is taken from the root, any other from the
    // current key. False when it does not exist and may not be created.
    bool OpenKey(const QString &key, bool canCreate);
    void CloseKey();
    // "\"-separated path of the open key, without a leading "\".
    QString CurrentPath() const;

    bool KeyExists(const QString &key) const;
    bool ValueExists(const QString &name) const;
    bool HasSubKeys() const;
    // Deletes the key with everything under it.
    bool DeleteKey(const QString &key);
    bool DeleteValue(const QString &name);
    void GetKeyNames(QStringList &names) const;
    void GetValueNames(QStringList &names) const;

    // A missing value reads as the empty text.
    QString ReadString(const QString &name) const;
    void WriteString(const QString &name, const QString &value);
    // A missing or non-numeric value raises ERegistryException.
    int ReadInteger(const QString &name) const;
    void WriteInteger(const QString &name, int value);
    bool ReadBool(const QString &name) const;
    void WriteBool(const QString &name, bool value);
    // A write the file does not take raises ERegistryException naming the
    // file and the system's reason, once: until a write goes through again,
    // later ones keep their values in memory and say nothing.

    // Where every registry object keeps its keys; tests point it at a file
    // of their own. An empty name restores the user's file.
    static void setFileName(const QString &path);
    static QString fileName();

private:
    // Group path of a "\"-separated key, from the current key or the root;
    // existing parts keep their stored spelling. Empty optional when a part
    // is missing (and not to be created).
    bool resolve(const QString &key, QStringList &groups, bool create) const;
    QString valueKey(const QString &name) const;
    QString findValue(const QString &name) const;
    void write(const QString &name, const QVariant &value);

    std::unique_ptr<QSettings> m_settings;
    QStringList m_current; // stored group names of the open key
};

} // namespace platform
