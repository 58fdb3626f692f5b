#pragma once
// The data dictionary of a report: variables grouped in categories, aliases
// of data sets, fields and record sources, and data sets kept out of the
// report. It travels inside templates and alone in ".frd" files.
#include "report/core/frvariant.h"
#include "report/expr/frvariables.h"

#include <QMap>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

namespace report
{

class FrStream;
class FrDataSet;

class TfrDataDictionary
{
public:
    TfrDataDictionary() = default;
    ~TfrDataDictionary() = default;
    TfrDataDictionary(const TfrDataDictionary &) = delete;
    TfrDataDictionary &operator=(const TfrDataDictionary &) = delete;

    // Markers of the dictionary record; 0xFFFF also prunes empty aliases on reading.
    static constexpr quint16 kMarker = 0xFFFE;
    static constexpr quint16 kPruningMarker = 0xFFFF;

    // Empties the three value lists; the excluded list and the cache stay.
    void Clear();
    void LoadFromStream(FrStream &stream);
    void SaveToStream(FrStream &stream) const;
    // A version byte (not checked), then the record.
    void LoadFromFile(const QString &fileName);
    // The byte 24, then the record; written whole or not at all.
    void SaveToFile(const QString &fileName) const;

    bool IsVariable(const QString &name);
    void GetValue(const QString &name, FrVariant &value);
    // A script's assignment to a variable: the entry holds the value itself
    // (read as it is, not as an expression) until the dictionary is cleared
    // or read again, as the template is restored after each build.
    void AssignValue(const QString &name, const FrVariant &value);
    bool IsDataSetEnabled(const QString &name) const;
    QString GetRealName(const QString &name) const;
    QString GetRealDataSourceName(const QString &name) const;
    QString GetRealShortName(const QString &name) const;
    QString GetAliasName(const QString &name) const;
    void GetDataSetList(QStringList &list) const;
    void GetFieldList(const QString &dataSetName, QStringList &list) const;
    void GetBandDataSourceList(QStringList &list) const;
    void GetCategoryList(QStringList &list) const;
    void GetVariableList(const QString &category, QStringList &list) const;

    // Forgets every resolved name (each build resolves its fields afresh).
    void ClearCache() { m_cache.clear(); }
    int cacheCount() const { return int(m_cache.size()); }

    TfrVariables Variables;
    TfrVariables FieldAliases;
    TfrVariables BandDataSources;
    QStringList DisabledDataSets;

    // A data-set-dot-field reference split at its last dot outside double
    // quotes, the field without its quotes; false when there is no such dot.
    static bool splitReference(const QString &reference, QString &dataSet, QString &field);

private:
    struct Resolved {
        QPointer<FrDataSet> dataSet;
        QString field;
    };
    // The existing field a reference names, through the field aliases.
    bool resolveField(const QString &reference, Resolved &resolved) const;
    // The existing field a reference names literally.
    static bool findField(const QString &reference, Resolved &resolved);
    void readOlderLayout(FrStream &stream);

    QMap<QString, Resolved> m_cache; // by upper-case name, kept sorted
    QSet<QString> m_assigned;        // upper-case names a script assigned
};

} // namespace report
