#pragma once
// The library's texts: every caption, hint and message is fetched by number.
#include <QHash>
#include <QString>
#include <functional>

namespace report
{

// Texts by number, read from "id=text" lines.
class FrStringTable
{
public:
    // Lines "id=text"; "#" lines and blank lines are skipped; in a text \r, \n,
    // \t and \\ are unescaped. Malformed lines are counted in errors().
    static FrStringTable parse(const QByteArray &utf8);
    // The table compiled into the program.
    static const FrStringTable &program();

    QString text(int id) const { return m_texts.value(id); }
    bool contains(int id) const { return m_texts.contains(id); }
    int count() const { return int(m_texts.size()); }
    const QStringList &errors() const { return m_errors; }
    void insert(int id, const QString &text) { m_texts.insert(id, text); }

private:
    QHash<int, QString> m_texts;
    QStringList m_errors;
};

class TfrLocale
{
public:
    // The application may answer a text itself; a non-empty answer wins.
    using TfrLocalizeEvent = std::function<void(int id, QString &text)>;

    // The longest text the string loader returns (its buffer holds 1024 characters).
    static constexpr int kMaxTextLength = 1023;

    QString LoadString(int id) const;

    TfrLocalizeEvent OnLocalize;
    // Kept in the designer settings; the inspector shows display names when set.
    bool LocalizedPropNames = false;
    // This program never runs inside the design environment nor loads a
    // resource library of translated texts.
    bool DesignEnvironment = false;

    // Replaces the program's table (tests); nullptr restores it.
    void setStringTable(const FrStringTable *table) { m_table = table; }

private:
    const FrStringTable *m_table = nullptr;
};

// The single locale object, created on first use.
TfrLocale &frLocale();
// The library text with that number; "" for a number the table lacks.
QString frLoadString(int id);

} // namespace report
