#pragma once
// The rules of the data dictionary editor, without widgets: working copies
// of the dictionary's three lists that only apply() writes back, the
// category and variable tree over the copy of the variables, how a
// variable's value is shown (a data field, a system variable, an
// expression), the moves of data sets and record sources between the lists
// of the alias tabs, and the text form of the variable list.
#include "report/expr/frvariables.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace report
{
class TfrDataDictionary;
}

namespace designer
{

// The names a variable stores for the system variables, in list order:
// row k of the system list (from 1) stands for name k - 1 here.
const QStringList &dictSystemNames();
// The texts of the system list's rows 1..8.
QStringList dictSystemTexts();

// One category of the variable tree and its variables, in list order.
struct DictCategory {
    QString name;
    QStringList variables;
};
// The categories of a list (entries before the first category are left out).
std::vector<DictCategory> dictTree(const report::TfrVariables &vars);

// The variable list as lines (a category plain, a variable after one
// blank) and back: blank lines are skipped, names trimmed, a line naming an
// entry already read (ignoring case) adds nothing, an entry that existed
// keeps its value and a new one gets an empty value.
QStringList dictListToLines(const report::TfrVariables &vars);
void dictLinesToList(const QStringList &lines, report::TfrVariables &vars);

// How a variable's value shows in the value controls.
struct DictValueView {
    enum Kind { None, Field, System, Expression };
    Kind kind = None;
    int dataSetItem = -1; // index in the value combo (Field, System)
    int fieldRow = 0;     // row of the value list (Field, System; 0 "[Aucun]")
    QString expression;   // Expression
};

// A tree node of the alias tabs: a data set, a field or a record source.
struct DictAliasNode {
    QString name;  // component or field name
    QString alias; // empty: none
    bool excluded = false;
    QString text() const;
};

class DictionaryEditModel
{
public:
    explicit DictionaryEditModel(report::TfrDataDictionary &dictionary);

    report::TfrDataDictionary &Dictionary;
    report::TfrVariables VarsCopy;
    report::TfrVariables AliasesCopy;
    report::TfrVariables SourcesCopy;

    // Copies the dictionary's lists; apply() writes the copies back.
    void load();
    void apply();

    // --- variables (names as the tree shows them: categories without
    // their blank)
    QString nextCategoryName() const;
    QString nextVariableName() const;
    // Appends a new category with an empty value; its name.
    QString addCategory();
    // Adds a variable at the end of a category: before the next category
    // (value 0) or at the end of the list (empty value). Its name, or
    // nothing when the category does not exist.
    std::optional<QString> addVariable(const QString &category);
    // The trimmed new name, or nothing when refused (empty, or another
    // entry of that name exists).
    std::optional<QString> rename(const QString &oldName, bool category, const QString &newName);
    // A category goes with its variables.
    void remove(const QString &name, bool category);
    QString value(const QString &variable) const;
    void setValue(const QString &variable, const QString &value);

    // --- value controls
    // The data sets as listed (sorted), then "Variables système".
    QStringList valueSources() const;
    // The value list of a combo item: "[Aucun]", then the fields of the
    // data set (or the system texts for the last item).
    QStringList valueRows(int sourceItem) const;
    DictValueView classify(const QString &value) const;
    // What a click on a value-list row stores.
    QString rowValue(int sourceItem, int row) const;
    // The field name behind a listed field of a data set.
    QString realFieldName(const QString &realDataSet, const QString &listed) const;

    // --- field aliases
    // Data sets the dictionary accepts, sorted, split between the list and
    // the tree (those with an entry in the alias copy).
    QStringList aliasListNames() const;
    std::vector<DictAliasNode> aliasTreeNodes() const;
    // The fields of a data set, sorted, with their alias or exclusion.
    std::vector<DictAliasNode> aliasFieldNodes(const QString &dataSet) const;
    // ">": the data set joins the tree with an empty alias.
    void aliasToTree(const QString &dataSet);
    // "<": the data set leaves the tree with its fields' entries.
    void aliasToList(const QString &dataSet);
    // "<<": every data set leaves the tree; their names.
    QStringList aliasAllToList();
    // The alias of a data set (key: its name) or a field (data set + "."
    // + field).
    void setAlias(const QString &key, const QString &alias);
    void setFieldExcluded(const QString &dataSet, const QString &field, bool excluded);

    // --- record sources (the same moves, no fields)
    QStringList sourceListNames() const;
    std::vector<DictAliasNode> sourceTreeNodes() const;
    void sourceToTree(const QString &name);
    void sourceToList(const QString &name);
    QStringList sourceAllToList();
    void setSourceAlias(const QString &name, const QString &alias);

private:
    QStringList enabledDataSets() const;
    QStringList recordSources() const;
};

// The alias part of a node text (between "{" and "}"), else the text.
QString dictAliasOfText(const QString &text);
// The name part of a node text (before " {"), else the text.
QString dictNameOfText(const QString &text);

} // namespace designer
