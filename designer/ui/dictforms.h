#pragma once
// The data dictionary editor: variables in categories with their values,
// aliases of data sets and fields (hiding fields too) and aliases of the
// record sources, edited on working copies that only OK writes back; and
// the small dialog that edits the category and variable list as text.
#include "designer/core/dictionarymodel.h"

#include "platform/dialogs/dialogs.h"
#include <QDialog>

#include <QIcon>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace report
{
class TfrComboEdit;
class TfrSpeedButton;
class TfrReport;
} // namespace report

namespace designer
{

// The trees' images: 1 data set, 2 field, 3 excluded data set, 4 excluded
// field, 5 category, 6 variable, 7 record source (0: none).
QIcon dictTreeImage(int index);
// The value combo's icons (18 x 16): a data set's, or the system
// variables'.
QIcon dictValueIcon(bool system);

// One tab of aliases: a tree of the entries, the list of the components
// without one, the alias box and the four move buttons. The field tab also
// has the field level and the exclusion box.
class TfrDictAliasTab : public QWidget
{
    Q_OBJECT
public:
    TfrDictAliasTab(DictionaryEditModel &model, bool fields, QWidget *parent = nullptr);

    void fill();
    // The buttons' actions.
    void addSelected();
    void addAll();
    void removeSelected();
    void removeAll();
    // The alias box's text goes into the current node when it changed.
    void storeAlias();
    void showNode(QTreeWidgetItem *node);
    void setExcluded(bool excluded);
    // A drag is taken only from the other control of the tab.
    bool acceptsDrag(const QObject *target, const QObject *source) const;
    // Fields of a data-set node, on its first expansion.
    void expandNode(QTreeWidgetItem *node);
    QTreeWidgetItem *findNode(const QString &name) const;

    QTreeWidget *Tree = nullptr;
    QTreeWidgetItem *Root = nullptr;
    QLabel *ListLabel = nullptr;
    QListWidget *List = nullptr;
    QGroupBox *AliasGroup = nullptr;
    QLabel *AliasLabel = nullptr;
    QLineEdit *AliasEdit = nullptr;
    QCheckBox *ExcludeCB = nullptr; // field tab only
    QPushButton *AddBtn = nullptr, *RemoveBtn = nullptr, *AddAllBtn = nullptr,
                *RemoveAllBtn = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidgetItem *addDataSetNode(const DictAliasNode &node);
    QString dataSetOf(QTreeWidgetItem *node) const;

    DictionaryEditModel &m_model;
    bool m_fields;
    bool m_updating = false;
    bool m_aliasModified = false;
    QTreeWidgetItem *m_current = nullptr;
};

class TfrDictForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrDictForm(report::TfrReport &report, QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }

    // Fills every tab from the dictionary (the dialog being shown).
    void Prepare();
    // Shows the dialog; OK writes the copies into the dictionary.
    int Execute();
    // OK's work: the pending expression is stored, the copies assigned.
    void ApplyChanges();

    // --- variables tab
    void fillVarTree();
    void newCategory();
    void newVariable();
    void editNode();
    void deleteNode();
    void editList();
    void selectNode(QTreeWidgetItem *node);
    void valueSourceChosen(int item);
    void valueRowClicked(int row);
    void expressionChecked(bool checked);
    void storeExpression();
    bool aucunState() const;
    // A node's name is being typed in place.
    bool editingName() const;
    // The selected node's name and kind (5 category, 6 variable).
    QTreeWidgetItem *currentNode() const;

    report::TfrReport &Report;
    DictionaryEditModel Model;
    bool Updating = false;
    QTreeWidgetItem *CurrentNode = nullptr;
    // The expression builder (its text on OK); empty: the button does nothing.
    std::function<std::optional<QString>(const QString &current)> BuildExpression;

    QTabWidget *PageControl1 = nullptr;
    QLabel *VarLabel = nullptr, *ValLabel = nullptr;
    QTreeWidget *VarTree = nullptr;
    QComboBox *ValCombo = nullptr;
    QListWidget *ValList = nullptr;
    report::TfrComboEdit *ExprEdit = nullptr;
    QCheckBox *ExprCB = nullptr;
    report::TfrSpeedButton *NewCategoryBtn = nullptr, *NewVarBtn = nullptr, *EditBtn = nullptr,
                           *DelBtn = nullptr, *EditListBtn = nullptr;
    TfrDictAliasTab *AliasesTab = nullptr;
    TfrDictAliasTab *SourcesTab = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setAucunState();
    void leaveAucunState();
    void renamed(QTreeWidgetItem *node);
    QTreeWidgetItem *addCategoryNode(const QString &name);
    QTreeWidgetItem *addVariableNode(QTreeWidgetItem *category, const QString &name);
    void showValue(const QString &value);
};

// The category and variable list as text lines.
class TfrVaredForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrVaredForm(QWidget *parent = nullptr);
    // Escape and the close box answer Cancel, as the buttons do.
    void reject() override { done(platform::mrCancel); }

    void Load(const report::TfrVariables &vars);
    void Apply(report::TfrVariables &vars);
    // Load, show, Apply on OK; true on OK.
    bool Edit(report::TfrVariables &vars);

    QLabel *Label1 = nullptr;
    QPlainTextEdit *M1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
};

} // namespace designer
