#include "designer/core/dictionarymodel.h"

#include "platform/text/exceptions.h"
#include "report/core/frcomponents.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace designer
{

namespace dictmodel_detail
{

using report::FrVariant;
using report::TfrVariables;

constexpr int kMaxVariableName = 255;

bool isCategoryKey(const QString &key)
{
    return !key.isEmpty() && key.at(0) == QLatin1Char(' ');
}

QString keyOf(const QString &name, bool category)
{
    return category ? QLatin1Char(' ') + name : name;
}

void sortNames(QStringList &list)
{
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return report::frCompareText(a, b) < 0; });
}

// The smallest free "base" + n from 1: past 1000 the search goes on, so a
// new entry never takes the name (and the value) of an existing one.
QString nextFreeName(const TfrVariables &vars, const QString &base, bool category)
{
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (vars.IndexOf(keyOf(name, category)) < 0)
            return name;
    }
}

QString aliasValue(const TfrVariables &list, const QString &key, bool *found = nullptr)
{
    const int index = list.IndexOf(key);
    if (found)
        *found = index >= 0;
    return index < 0 ? QString() : list.GetValue(index).toString();
}

QStringList fieldNamesOf(const QString &dataSetName)
{
    QStringList fields;
    report::FrDataSet *dataSet = nullptr;
    try {
        dataSet = qobject_cast<report::FrDataSet *>(report::frFindReportComponent(dataSetName));
    } catch (const platform::Exception &) {
        dataSet = nullptr;
    }
    if (dataSet)
        report::frGetFieldNames(dataSet, fields);
    return fields;
}

} // namespace dictmodel_detail

const QStringList &dictSystemNames()
{
    static const QStringList names{QStringLiteral("PAGE#"),        QStringLiteral("DATE"),
                                   QStringLiteral("TIME"),         QStringLiteral("LINE#"),
                                   QStringLiteral("LINETHROUGH#"), QStringLiteral("COLUMN#"),
                                   QStringLiteral("CURRENT#"),     QStringLiteral("TOTALPAGES")};
    return names;
}

QStringList dictSystemTexts()
{
    QStringList texts{report::frLoadString(55110)};
    for (int id = 55112; id <= 55118; ++id)
        texts.append(report::frLoadString(id));
    return texts;
}

std::vector<DictCategory> dictTree(const report::TfrVariables &vars)
{
    std::vector<DictCategory> tree;
    for (int i = 0; i < vars.Count(); ++i) {
        const QString key = vars.GetName(i);
        if (dictmodel_detail::isCategoryKey(key))
            tree.push_back(DictCategory{key.mid(1), {}});
        else if (!tree.empty())
            tree.back().variables.append(key);
    }
    return tree;
}

QStringList dictListToLines(const report::TfrVariables &vars)
{
    QStringList lines;
    lines.reserve(vars.Count());
    for (int i = 0; i < vars.Count(); ++i) {
        const QString key = vars.GetName(i);
        lines.append(dictmodel_detail::isCategoryKey(key) ? key.mid(1) : QLatin1Char(' ') + key);
    }
    return lines;
}

void dictLinesToList(const QStringList &lines, report::TfrVariables &vars)
{
    QHash<QString, report::FrVariant> old;
    old.reserve(vars.Count());
    for (int i = 0; i < vars.Count(); ++i)
        old.insert(report::frUpperCase(vars.GetName(i)), vars.GetValue(i));

    report::TfrVariables result;
    QSet<QString> taken;
    for (const QString &line : lines) {
        const QString name = line.trimmed();
        if (name.isEmpty())
            continue;
        // The blank that marks a variable is not part of its name, nor are
        // further blanks: a key starting with one would read as a category.
        const bool variable = line.at(0).isSpace();
        const QString key =
            variable ? name.left(dictmodel_detail::kMaxVariableName) : QLatin1Char(' ') + name;
        const QString upper = report::frUpperCase(key);
        if (taken.contains(upper))
            continue;
        taken.insert(upper);
        const auto found = old.constFind(upper);
        result.Append(key, found != old.constEnd() ? *found : report::FrVariant(QString()));
    }
    vars.Assign(result);
}

QString DictAliasNode::text() const
{
    return alias.isEmpty() ? name : name + QStringLiteral(" {") + alias + QLatin1Char('}');
}

QString dictAliasOfText(const QString &text)
{
    const qsizetype open = text.indexOf(QLatin1Char('{'));
    const qsizetype close = text.lastIndexOf(QLatin1Char('}'));
    if (open < 0 || close < open)
        return text;
    return text.mid(open + 1, close - open - 1);
}

QString dictNameOfText(const QString &text)
{
    const qsizetype open = text.indexOf(QStringLiteral(" {"));
    return open < 0 ? text : text.left(open);
}

DictionaryEditModel::DictionaryEditModel(report::TfrDataDictionary &dictionary)
    : Dictionary(dictionary)
{
}

void DictionaryEditModel::load()
{
    VarsCopy.Assign(Dictionary.Variables);
    AliasesCopy.Assign(Dictionary.FieldAliases);
    SourcesCopy.Assign(Dictionary.BandDataSources);
}

void DictionaryEditModel::apply()
{
    Dictionary.Variables.Assign(VarsCopy);
    Dictionary.FieldAliases.Assign(AliasesCopy);
    Dictionary.BandDataSources.Assign(SourcesCopy);
}

QString DictionaryEditModel::nextCategoryName() const
{
    return dictmodel_detail::nextFreeName(VarsCopy, QStringLiteral("Category"), true);
}

QString DictionaryEditModel::nextVariableName() const
{
    return dictmodel_detail::nextFreeName(VarsCopy, QStringLiteral("Variable"), false);
}

QString DictionaryEditModel::addCategory()
{
    const QString name = nextCategoryName();
    VarsCopy.Append(dictmodel_detail::keyOf(name, true), report::FrVariant(QString()));
    return name;
}

std::optional<QString> DictionaryEditModel::addVariable(const QString &category)
{
    const int at = VarsCopy.IndexOf(dictmodel_detail::keyOf(category, true));
    if (at < 0)
        return std::nullopt;
    const QString name = nextVariableName();
    int next = at + 1;
    while (next < VarsCopy.Count() && !dictmodel_detail::isCategoryKey(VarsCopy.GetName(next)))
        ++next;
    if (next < VarsCopy.Count())
        VarsCopy.Insert(next, name);
    else
        VarsCopy.Append(name, report::FrVariant(QString()));
    return name;
}

std::optional<QString> DictionaryEditModel::rename(const QString &oldName, bool category,
                                                   const QString &newName)
{
    const int index = VarsCopy.IndexOf(dictmodel_detail::keyOf(oldName, category));
    const QString name = newName.trimmed();
    if (index < 0 || name.isEmpty())
        return std::nullopt;
    if (category == false && name.size() > dictmodel_detail::kMaxVariableName)
        return std::nullopt;
    const QString key = dictmodel_detail::keyOf(name, category);
    if (!report::frSameText(name, oldName) && VarsCopy.IndexOf(key) >= 0)
        return std::nullopt;
    VarsCopy.SetName(index, key);
    return name;
}

void DictionaryEditModel::remove(const QString &name, bool category)
{
    const int index = VarsCopy.IndexOf(dictmodel_detail::keyOf(name, category));
    if (index < 0)
        return;
    VarsCopy.Delete(index);
    if (!category)
        return;
    while (index < VarsCopy.Count() && !dictmodel_detail::isCategoryKey(VarsCopy.GetName(index)))
        VarsCopy.Delete(index);
}

QString DictionaryEditModel::value(const QString &variable) const
{
    const report::FrVariant *v = VarsCopy.find(variable);
    return v ? v->toString() : QString();
}

void DictionaryEditModel::setValue(const QString &variable, const QString &value)
{
    const int index = VarsCopy.IndexOf(variable);
    if (index >= 0 && !dictmodel_detail::isCategoryKey(variable))
        VarsCopy.SetValue(index, report::FrVariant(value));
}

QStringList DictionaryEditModel::valueSources() const
{
    QStringList items;
    Dictionary.GetDataSetList(items);
    items.append(report::frLoadString(55075));
    return items;
}

QStringList DictionaryEditModel::valueRows(int sourceItem) const
{
    QStringList rows{report::frLoadString(55076)};
    const QStringList sources = valueSources();
    if (sourceItem < 0 || sourceItem >= sources.size())
        return rows;
    if (sourceItem == sources.size() - 1) {
        rows.append(dictSystemTexts());
        return rows;
    }
    QStringList fields;
    Dictionary.GetFieldList(sources.at(sourceItem), fields);
    rows.append(fields);
    return rows;
}

QString DictionaryEditModel::realFieldName(const QString &realDataSet, const QString &listed) const
{
    const QString prefix = realDataSet + QLatin1Char('.');
    const report::TfrVariables &aliases = Dictionary.FieldAliases;
    for (int i = 0; i < aliases.Count(); ++i) {
        const QString key = aliases.GetName(i);
        if (key.size() > prefix.size() && key.startsWith(prefix, Qt::CaseInsensitive) &&
            report::frSameText(aliases.GetValue(i).toString(), listed))
            return key.mid(prefix.size());
    }
    return listed;
}

DictValueView DictionaryEditModel::classify(const QString &value) const
{
    DictValueView view;
    const QStringList sources = valueSources();
    QString dataSet, field;
    if (report::TfrDataDictionary::splitReference(value, dataSet, field)) {
        for (int i = 0; i + 1 < sources.size(); ++i) {
            const QString real = Dictionary.GetRealName(sources.at(i));
            if (!report::frSameText(real, dataSet))
                continue;
            const QStringList rows = valueRows(i);
            for (int r = 1; r < rows.size(); ++r) {
                if (report::frSameText(realFieldName(real, rows.at(r)), field)) {
                    view.kind = DictValueView::Field;
                    view.dataSetItem = i;
                    view.fieldRow = r;
                    return view;
                }
            }
        }
    }
    if (value.trimmed().isEmpty())
        return view;
    const QStringList &system = dictSystemNames();
    for (int k = 0; k < system.size(); ++k) {
        if (report::frSameText(value, system.at(k))) {
            view.kind = DictValueView::System;
            view.dataSetItem = int(sources.size()) - 1;
            view.fieldRow = k + 1;
            return view;
        }
    }
    // A reference to no listed field stays readable as the text it is.
    view.kind = DictValueView::Expression;
    view.expression = value;
    return view;
}

QString DictionaryEditModel::rowValue(int sourceItem, int row) const
{
    const QStringList sources = valueSources();
    if (row <= 0 || sourceItem < 0 || sourceItem >= sources.size())
        return QString();
    if (sourceItem == sources.size() - 1)
        return row <= dictSystemNames().size() ? dictSystemNames().at(row - 1) : QString();
    const QStringList rows = valueRows(sourceItem);
    if (row >= rows.size())
        return QString();
    const QString real = Dictionary.GetRealName(sources.at(sourceItem));
    return real + QStringLiteral(".\"") + realFieldName(real, rows.at(row)) + QLatin1Char('"');
}

QStringList DictionaryEditModel::enabledDataSets() const
{
    QStringList all, names;
    report::frGetComponents(report::fr().frCurrentReportOwner(),
                            report::FrDataSet::staticMetaObject, all);
    for (const QString &name : std::as_const(all))
        if (Dictionary.IsDataSetEnabled(name))
            names.append(name);
    dictmodel_detail::sortNames(names);
    return names;
}

QStringList DictionaryEditModel::recordSources() const
{
    QStringList names;
    report::frGetComponents(report::fr().frCurrentReportOwner(),
                            report::TfrDataset::staticMetaObject, names);
    dictmodel_detail::sortNames(names);
    return names;
}

QStringList DictionaryEditModel::aliasListNames() const
{
    QStringList list;
    for (const QString &name : enabledDataSets())
        if (AliasesCopy.Count() == 0 || AliasesCopy.IndexOf(name) < 0)
            list.append(name);
    return list;
}

std::vector<DictAliasNode> DictionaryEditModel::aliasTreeNodes() const
{
    std::vector<DictAliasNode> nodes;
    for (const QString &name : enabledDataSets()) {
        bool found = false;
        const QString alias = dictmodel_detail::aliasValue(AliasesCopy, name, &found);
        if (found)
            nodes.push_back(DictAliasNode{name, alias, false});
    }
    return nodes;
}

std::vector<DictAliasNode> DictionaryEditModel::aliasFieldNodes(const QString &dataSet) const
{
    QStringList fields = dictmodel_detail::fieldNamesOf(dataSet);
    dictmodel_detail::sortNames(fields);
    std::vector<DictAliasNode> nodes;
    for (const QString &field : std::as_const(fields)) {
        bool found = false;
        const QString alias =
            dictmodel_detail::aliasValue(AliasesCopy, dataSet + QLatin1Char('.') + field, &found);
        nodes.push_back(DictAliasNode{field, alias, found && alias.isEmpty()});
    }
    return nodes;
}

void DictionaryEditModel::aliasToTree(const QString &dataSet)
{
    if (AliasesCopy.IndexOf(dataSet) < 0)
        AliasesCopy.Append(dataSet, report::FrVariant(QString()));
}

void DictionaryEditModel::aliasToList(const QString &dataSet)
{
    const QString prefix = dataSet + QLatin1Char('.');
    for (int i = AliasesCopy.Count() - 1; i >= 0; --i) {
        const QString key = AliasesCopy.GetName(i);
        if (report::frSameText(key, dataSet) || key.startsWith(prefix, Qt::CaseInsensitive))
            AliasesCopy.Delete(i);
    }
}

QStringList DictionaryEditModel::aliasAllToList()
{
    // Only the data sets' own entries return to the list: a field's key
    // holds no double quote either, but it names no data set.
    QStringList back;
    for (const DictAliasNode &node : aliasTreeNodes())
        if (!node.name.contains(QLatin1Char('"')))
            back.append(node.name);
    AliasesCopy.Clear();
    return back;
}

void DictionaryEditModel::setAlias(const QString &key, const QString &alias)
{
    const int index = AliasesCopy.IndexOf(key);
    if (index >= 0)
        AliasesCopy.SetValue(index, report::FrVariant(alias));
    else
        AliasesCopy.Append(key, report::FrVariant(alias));
}

void DictionaryEditModel::setFieldExcluded(const QString &dataSet, const QString &field,
                                           bool excluded)
{
    const QString key = dataSet + QLatin1Char('.') + field;
    const int index = AliasesCopy.IndexOf(key);
    if (excluded)
        setAlias(key, QString());
    else if (index >= 0)
        AliasesCopy.Delete(index);
}

QStringList DictionaryEditModel::sourceListNames() const
{
    QStringList list;
    for (const QString &name : recordSources())
        if (SourcesCopy.IndexOf(name) < 0)
            list.append(name);
    return list;
}

std::vector<DictAliasNode> DictionaryEditModel::sourceTreeNodes() const
{
    std::vector<DictAliasNode> nodes;
    for (const QString &name : recordSources()) {
        bool found = false;
        const QString alias = dictmodel_detail::aliasValue(SourcesCopy, name, &found);
        if (found)
            nodes.push_back(DictAliasNode{name, alias, false});
    }
    return nodes;
}

void DictionaryEditModel::sourceToTree(const QString &name)
{
    if (SourcesCopy.IndexOf(name) < 0)
        SourcesCopy.Append(name, report::FrVariant(QString()));
}

void DictionaryEditModel::sourceToList(const QString &name)
{
    const int index = SourcesCopy.IndexOf(name);
    if (index >= 0)
        SourcesCopy.Delete(index);
}

QStringList DictionaryEditModel::sourceAllToList()
{
    QStringList back;
    for (const DictAliasNode &node : sourceTreeNodes())
        back.append(node.name);
    SourcesCopy.Clear();
    return back;
}

void DictionaryEditModel::setSourceAlias(const QString &name, const QString &alias)
{
    const int index = SourcesCopy.IndexOf(name);
    if (index >= 0)
        SourcesCopy.SetValue(index, report::FrVariant(alias));
    else
        SourcesCopy.Append(name, report::FrVariant(alias));
}

} // namespace designer
