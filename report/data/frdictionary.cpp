#include "report/data/frdictionary.h"

#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frcomponents.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/expr/frparser.h"

namespace report
{

namespace
{

bool startsWithBlank(const QString &name)
{
    return !name.isEmpty() && name.at(0) == QLatin1Char(' ');
}

// Smallest size of a list entry (two empty strings) and of an older-layout
// entry (kind, index, three empty short strings): counts are checked
// against what remains before anything is allocated.
constexpr qint64 kMinEntrySize = 6;
constexpr qint64 kMinOldEntrySize = 8;
// The version byte a dictionary file is written with.
constexpr quint8 kCurrentFileVersion = 24;

qint32 readCount(FrStream &stream, qint64 minEntry)
{
    const qint32 count = frReadInteger(stream);
    if (count < 0 || count > stream.remaining() / minEntry)
        throw EFrStreamError();
    return count;
}

void readList(FrStream &stream, TfrVariables &list)
{
    const qint32 count = readCount(stream, kMinEntrySize);
    for (qint32 i = 0; i < count; ++i) {
        const QString name = frReadString(stream);
        const QString value = frReadString(stream);
        list.SetVariable(name, FrVariant(value));
    }
}

void writeList(FrStream &stream, const TfrVariables &list)
{
    frWriteInteger(stream, list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        frWriteString(stream, list.GetName(i));
        frWriteString(stream, list.GetValue(i).toString());
    }
}

// One length byte, then the bytes.
QString readShortString(FrStream &stream)
{
    const quint8 length = frReadByte(stream);
    return platform::fromAnsi(stream.readBytes(length));
}

// The entry whose value equals text ignoring case; text when none does.
QString realNameIn(const TfrVariables &list, const QString &text)
{
    for (int i = 0; i < list.Count(); ++i)
        if (frSameText(list.GetValue(i).toString(), text))
            return list.GetName(i);
    return text;
}

void sortList(QStringList &list)
{
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return frCompareText(a, b) < 0; });
}

} // namespace

void TfrDataDictionary::Clear()
{
    m_assigned.clear();
    Variables.Clear();
    FieldAliases.Clear();
    BandDataSources.Clear();
}

void TfrDataDictionary::SaveToStream(FrStream &stream) const
{
    frWriteWord(stream, kMarker);
    writeList(stream, Variables);
    writeList(stream, FieldAliases);
    writeList(stream, BandDataSources);
}

void TfrDataDictionary::LoadFromStream(FrStream &stream)
{
    Clear();
    const qint64 start = stream.position();
    const quint16 marker = frReadWord(stream);
    if (marker == kMarker || marker == kPruningMarker) {
        readList(stream, Variables);
        readList(stream, FieldAliases);
        readList(stream, BandDataSources);
    } else {
        stream.seek(start);
        readOlderLayout(stream);
    }

    // Older layouts marked the variables with the blank, not the categories.
    if (Variables.Count() > 0 && !Variables.GetName(0).isEmpty() &&
        !startsWithBlank(Variables.GetName(0))) {
        for (int i = 0; i < Variables.Count(); ++i) {
            const QString name = Variables.GetName(i);
            Variables.SetName(i, startsWithBlank(name) ? name.mid(1) : QLatin1Char(' ') + name);
        }
    }

    if (marker == kPruningMarker) {
        for (int i = FieldAliases.Count() - 1; i >= 0; --i) {
            if (!FieldAliases.GetValue(i).toString().isEmpty())
                continue;
            const QString name = FieldAliases.GetName(i);
            Resolved resolved;
            if (!name.contains(QLatin1Char('.')) || !findField(name, resolved))
                FieldAliases.Delete(i);
        }
        for (int i = BandDataSources.Count() - 1; i >= 0; --i)
            if (BandDataSources.GetValue(i).toString().isEmpty())
                BandDataSources.Delete(i);
    }
}

void TfrDataDictionary::readOlderLayout(FrStream &stream)
{
    static const char *const systemNames[] = {
        "PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES"};
    constexpr int systemCount = int(sizeof(systemNames) / sizeof(systemNames[0]));

    QMap<QString, QString> values; // by " " + variable name
    const qint32 count = readCount(stream, kMinOldEntrySize);
    for (qint32 i = 0; i < count; ++i) {
        const quint8 kind = frReadByte(stream);
        const qint32 index = frReadInteger(stream);
        const QString first = readShortString(stream);
        const QString second = readShortString(stream);
        const QString variable = readShortString(stream);
        QString value;
        if (kind == 2 && index == 1)
            value = second;
        else if (kind == 2)
            value = (index >= 0 && index < systemCount) ? QString::fromLatin1(systemNames[index])
                                                        : QString();
        else if (kind == 1)
            value = first + QStringLiteral(".\"") + second + QLatin1Char('"');
        values.insert(QLatin1Char(' ') + variable, value);
    }
    QStringList order;
    frReadMemo(stream, order);
    for (const QString &line : std::as_const(order)) {
        if (!line.isEmpty() && !startsWithBlank(line))
            Variables.SetVariable(line, FrVariant(QString()));
        else
            Variables.SetVariable(line, FrVariant(values.value(line)));
    }
}

void TfrDataDictionary::LoadFromFile(const QString &fileName)
{
    const auto notADictionary = [&fileName] {
        return EFrStreamError(
            QStringLiteral("Le fichier %1 n'est pas un dictionnaire de données.").arg(fileName));
    };
    // Neither a folder nor a pipe (never waited on) is read, and the reason
    // a file cannot be read is kept. The version byte comes first: no
    // library wrote 0 or one above its own, so a file that starts otherwise
    // (zeros, text, another kind of file) is refused before the rest is read.
    QByteArray bytes;
    try {
        bytes = frReadFile(fileName, [&](QByteArrayView head) {
            const quint8 version = quint8(head.front());
            if (version == 0 || version > kCurrentFileVersion)
                throw notADictionary();
        });
    } catch (const platform::EFileError &e) {
        throw EFrStreamError(e.Message());
    }
    if (bytes.isEmpty())
        throw notADictionary();
    FrMemoryStream stream(bytes);
    frReadByte(stream);
    try {
        LoadFromStream(stream);
    } catch (const EFrStreamError &) {
        throw notADictionary();
    }
    // A dictionary ends the file: bytes left over belong to something else.
    if (stream.position() != stream.size())
        throw notADictionary();
}

void TfrDataDictionary::SaveToFile(const QString &fileName) const
{
    FrMemoryStream stream;
    frWriteByte(stream, kCurrentFileVersion);
    SaveToStream(stream);
    platform::LineFile::writeBytes(fileName, stream.data());
}

bool TfrDataDictionary::splitReference(const QString &reference, QString &dataSet, QString &field)
{
    bool quoted = false;
    qsizetype dot = -1;
    frCountRead(reference.size());
    for (qsizetype i = 0; i < reference.size(); ++i) {
        const QChar c = reference.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char('.') && !quoted)
            dot = i;
    }
    if (dot < 0)
        return false;
    dataSet = reference.left(dot);
    field = frRemoveQuotes(reference.mid(dot + 1));
    return true;
}

bool TfrDataDictionary::findField(const QString &reference, Resolved &resolved)
{
    FrDataSet *dataSet = nullptr;
    QString field;
    try {
        frGetDataSetAndField(reference, dataSet, field);
    } catch (const platform::Exception &) {
        return false;
    }
    if (!dataSet || field.isEmpty())
        return false;
    resolved.dataSet = dataSet;
    resolved.field = field;
    return true;
}

bool TfrDataDictionary::resolveField(const QString &reference, Resolved &resolved) const
{
    QString dataSet, field;
    if (!splitReference(reference, dataSet, field))
        return false;
    const QString realDataSet = GetRealName(dataSet);
    const QString prefix = realDataSet + QLatin1Char('.');
    for (int i = 0; i < FieldAliases.Count(); ++i) {
        const QString name = FieldAliases.GetName(i);
        if (name.startsWith(prefix, Qt::CaseInsensitive) &&
            frSameText(FieldAliases.GetValue(i).toString(), field)) {
            field = name.mid(prefix.size());
            break;
        }
    }
    return findField(realDataSet + QStringLiteral(".\"") + field + QLatin1Char('"'), resolved);
}

bool TfrDataDictionary::IsVariable(const QString &name)
{
    frCountRead(name.size());
    const QString key = frUpperCase(name);
    if (m_cache.contains(key))
        return true;
    Resolved resolved;
    const int index = Variables.IndexOf(name);
    if (index >= 0) {
        const FrVariant value = Variables.GetValue(index);
        if (value.isString() && value.stringValue().contains(QLatin1Char('.')) &&
            resolveField(value.stringValue(), resolved))
            m_cache.insert(key, resolved);
        return true;
    }
    if (resolveField(name, resolved)) {
        m_cache.insert(key, resolved);
        return true;
    }
    return false;
}

void TfrDataDictionary::AssignValue(const QString &name, const FrVariant &value)
{
    Variables.SetVariable(name, value);
    m_assigned.insert(frUpperCase(name));
}

void TfrDataDictionary::GetValue(const QString &name, FrVariant &value)
{
    value = FrVariant::null();
    if (!m_assigned.isEmpty() && m_assigned.contains(frUpperCase(name))) {
        const int index = Variables.IndexOf(name);
        if (index >= 0) {
            value = Variables.GetValue(index);
            return;
        }
    }
    const auto cached = m_cache.constFind(frUpperCase(name));
    if (cached != m_cache.constEnd()) {
        FrDataSet *dataSet = cached->dataSet;
        if (!dataSet)
            return; // the data set went away since it was resolved
        if (!dataSet->active())
            dataSet->open();
        value = frGetFieldValue(dataSet->findField(cached->field));
        return;
    }
    const int index = Variables.IndexOf(name);
    if (index < 0)
        return;
    if (const FrVariant *v = fr().frVariables ? fr().frVariables->find(name) : nullptr) {
        value = *v;
        return;
    }
    value = Variables.GetValue(index);
    if (value.isString() && !value.stringValue().isEmpty() && fr().frGlobalParser) {
        // A variable whose expression names itself ends in an error.
        FrEvalGuard guard(name, true);
        value = fr().frGlobalParser->Calc(value.stringValue());
    }
}

bool TfrDataDictionary::IsDataSetEnabled(const QString &name) const
{
    for (const QString &entry : DisabledDataSets) {
        if (entry.endsWith(QLatin1Char('*'))) {
            if (name.startsWith(entry.left(entry.size() - 1), Qt::CaseSensitive))
                return false;
        } else if (frSameText(entry, name)) {
            return false;
        }
    }
    return true;
}

QString TfrDataDictionary::GetRealName(const QString &name) const
{
    return realNameIn(FieldAliases, name);
}

QString TfrDataDictionary::GetRealDataSourceName(const QString &name) const
{
    return realNameIn(BandDataSources, name);
}

QString TfrDataDictionary::GetRealShortName(const QString &name) const
{
    const QString real = GetRealName(name);
    const qsizetype dot = real.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? real : real.mid(dot + 1);
}

QString TfrDataDictionary::GetAliasName(const QString &name) const
{
    int index = FieldAliases.IndexOf(name);
    if (index >= 0)
        return FieldAliases.GetValue(index).toString();
    index = BandDataSources.IndexOf(name);
    if (index >= 0)
        return BandDataSources.GetValue(index).toString();
    return name;
}

void TfrDataDictionary::GetDataSetList(QStringList &list) const
{
    list.clear();
    QStringList all;
    frGetComponents(fr().frCurrentReportOwner(), FrDataSet::staticMetaObject, all);
    for (const QString &name : std::as_const(all)) {
        if (!IsDataSetEnabled(name))
            continue;
        if (FieldAliases.Count() == 0) {
            list.append(name);
            continue;
        }
        const int index = FieldAliases.IndexOf(name);
        if (index < 0)
            continue;
        const QString alias = FieldAliases.GetValue(index).toString();
        list.append(alias.isEmpty() ? name : alias);
    }
    sortList(list);
}

void TfrDataDictionary::GetFieldList(const QString &dataSetName, QStringList &list) const
{
    list.clear();
    const QString realName = GetRealName(dataSetName);
    FrDataSet *dataSet = nullptr;
    try {
        dataSet = qobject_cast<FrDataSet *>(frFindReportComponent(realName));
    } catch (const platform::Exception &) {
        dataSet = nullptr;
    }
    if (!dataSet)
        return;
    QStringList fields;
    frGetFieldNames(dataSet, fields);
    for (const QString &field : std::as_const(fields)) {
        const int index = FieldAliases.IndexOf(realName + QLatin1Char('.') + field);
        if (index < 0) {
            list.append(field);
            continue;
        }
        const QString alias = FieldAliases.GetValue(index).toString();
        if (!alias.isEmpty())
            list.append(alias);
    }
    sortList(list);
}

void TfrDataDictionary::GetBandDataSourceList(QStringList &list) const
{
    list.clear();
    QStringList all;
    frGetComponents(fr().frCurrentReportOwner(), TfrDataset::staticMetaObject, all);
    for (const QString &name : std::as_const(all)) {
        if (BandDataSources.Count() == 0) {
            list.append(name);
            continue;
        }
        const int index = BandDataSources.IndexOf(name);
        if (index < 0)
            continue;
        const QString alias = BandDataSources.GetValue(index).toString();
        list.append(alias.isEmpty() ? name : alias);
    }
    sortList(list);
}

void TfrDataDictionary::GetCategoryList(QStringList &list) const
{
    list.clear();
    for (int i = 0; i < Variables.Count(); ++i) {
        const QString name = Variables.GetName(i);
        if (startsWithBlank(name))
            list.append(name.mid(1));
    }
}

void TfrDataDictionary::GetVariableList(const QString &category, QStringList &list) const
{
    list.clear();
    const QString key = QLatin1Char(' ') + category;
    int i = 0;
    while (i < Variables.Count() && !frSameText(Variables.GetName(i), key))
        ++i;
    for (++i; i < Variables.Count(); ++i) {
        const QString name = Variables.GetName(i);
        if (startsWithBlank(name))
            break;
        list.append(name);
    }
}

} // namespace report
