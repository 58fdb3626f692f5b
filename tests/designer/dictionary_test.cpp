// The data dictionary editor: the rules over the working copies (variable
// tree, names, values, alias and source moves, the text form of the list)
// and the dialog itself, whose OK alone writes the dictionary back.
#include "tests/designer/designer_fixture.h"

#include "designer/core/dictionarymodel.h"
#include "designer/ui/dictforms.h"

#include "report/core/frstream.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace designer::test
{
namespace
{

using report::FrVariant;
using report::TfrVariables;

QStringList keys(const TfrVariables &list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out.append(list.GetName(i));
    return out;
}

QStringList values(const TfrVariables &list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out.append(list.GetValue(i).toString());
    return out;
}

void setList(TfrVariables &list, std::initializer_list<std::pair<const char *, const char *>> items)
{
    list.Clear();
    for (const auto &[name, value] : items)
        list.SetVariable(QString::fromUtf8(name), FrVariant(QString::fromUtf8(value)));
}

QByteArray streamOf(const report::TfrDataDictionary &d)
{
    report::FrMemoryStream s;
    d.SaveToStream(s);
    return s.data();
}

// The report's owner is the form "Form1" holding the data sets Clients (Nom,
// Ville) and Commandes (Numero), and the record sources Source1, Source2.
class DictionaryTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        owner.setObjectName(QStringLiteral("Form1"));
        clients = new report::FrMemoryDataSet(&owner);
        clients->setObjectName(QStringLiteral("Clients"));
        clients->addField(QStringLiteral("Nom"), report::ftString);
        clients->addField(QStringLiteral("Ville"), report::ftString);
        auto *orders = new report::FrMemoryDataSet(&owner);
        orders->setObjectName(QStringLiteral("Commandes"));
        orders->addField(QStringLiteral("Numero"), report::ftInteger);
        for (const char *name : {"Source2", "Source1"})
            (new report::TfrUserDataset(&owner))->setObjectName(QString::fromLatin1(name));
        report::fr().registerForm(&owner);
    }
    void TearDown() override
    {
        report::fr().unregisterComponent(&owner);
        DesignerFixture::TearDown();
    }
    report::TfrDataDictionary &dict() { return rep->Dictionary(); }

    report::FrMemoryDataSet *clients = nullptr;
};

// --- variables over the working copy

TEST_F(DictionaryTest, NewNamesAndTheirPlaces)
{
    DictionaryEditModel m(dict());
    m.load();
    EXPECT_TRUE(dictTree(m.VarsCopy).empty());
    EXPECT_EQ(m.addCategory(), QStringLiteral("Category1"));
    EXPECT_EQ(m.addCategory(), QStringLiteral("Category2"));
    // Before the next category with 0; at the end with "".
    EXPECT_EQ(m.addVariable(QStringLiteral("Category1")), QStringLiteral("Variable1"));
    EXPECT_EQ(m.addVariable(QStringLiteral("category2")), QStringLiteral("Variable2"));
    EXPECT_EQ(keys(m.VarsCopy),
              (QStringList{QStringLiteral(" Category1"), QStringLiteral("Variable1"),
                           QStringLiteral(" Category2"), QStringLiteral("Variable2")}));
    EXPECT_EQ(values(m.VarsCopy),
              (QStringList{QString(), QStringLiteral("0"), QString(), QString()}));
    EXPECT_FALSE(m.addVariable(QStringLiteral("Nowhere")));
    // A taken name in another case is skipped; a free one below is reused.
    m.VarsCopy.SetVariable(QStringLiteral("VARIABLE3"), FrVariant(QString()));
    m.remove(QStringLiteral("Variable1"), false);
    EXPECT_EQ(m.nextVariableName(), QStringLiteral("Variable1"));
    m.VarsCopy.SetVariable(QStringLiteral("Variable1"), FrVariant(QString()));
    EXPECT_EQ(m.nextVariableName(), QStringLiteral("Variable4"));
    // Nothing changed in the dictionary itself.
    EXPECT_EQ(dict().Variables.Count(), 0);
}

TEST_F(DictionaryTest, NamesPastAThousandNeverReuseAnEntry)
{
    DictionaryEditModel m(dict());
    for (int n = 1; n <= 1000; ++n)
        m.VarsCopy.Append(QStringLiteral("Variable%1").arg(n), FrVariant(QStringLiteral("v")));
    EXPECT_EQ(m.nextVariableName(), QStringLiteral("Variable1001"));
    EXPECT_EQ(m.VarsCopy.GetVariable(QStringLiteral("Variable1000")).toString(),
              QStringLiteral("v"));
}

TEST_F(DictionaryTest, RenamesFollowTheCollisionAndBlankRules)
{
    DictionaryEditModel m(dict());
    setList(m.VarsCopy, {{" Cat", ""}, {"Total", "1+1"}, {"Autre", ""}, {" Divers", ""}});
    struct Case {
        const char *old;
        bool category;
        const char *typed;
        std::optional<QString> result;
    } cases[] = {
        {"Total", false, "AUTRE", std::nullopt},            // another entry, other case
        {"Total", false, "TOTAL", QStringLiteral("TOTAL")}, // its own name, other case
        {"TOTAL", false, "", std::nullopt},
        {"TOTAL", false, "   ", std::nullopt},
        {"TOTAL", false, " Amount", QStringLiteral("Amount")}, // typed with a blank
        {"Cat", true, "divers", std::nullopt},
        {"Cat", true, "Ventes ", QStringLiteral("Ventes")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m.rename(QString::fromUtf8(c.old), c.category, QString::fromUtf8(c.typed)),
                  c.result)
            << c.old << " -> '" << c.typed << "'";
    EXPECT_EQ(keys(m.VarsCopy), (QStringList{QStringLiteral(" Ventes"), QStringLiteral("Amount"),
                                             QStringLiteral("Autre"), QStringLiteral(" Divers")}));
    // The value stays with the entry; no key starts with a blank but a category's.
    EXPECT_EQ(m.value(QStringLiteral("Amount")), QStringLiteral("1+1"));
    EXPECT_EQ(dictTree(m.VarsCopy).size(), 2u);
}

TEST_F(DictionaryTest, ACategoryIsDeletedWithItsVariables)
{
    DictionaryEditModel m(dict());
    setList(m.VarsCopy, {{" A", ""}, {"x", "1"}, {"y", "2"}, {" B", ""}, {"z", "3"}});
    m.remove(QStringLiteral("A"), true);
    EXPECT_EQ(keys(m.VarsCopy), (QStringList{QStringLiteral(" B"), QStringLiteral("z")}));
    m.remove(QStringLiteral("z"), false);
    EXPECT_EQ(keys(m.VarsCopy), QStringList{QStringLiteral(" B")});
}

// --- values

TEST_F(DictionaryTest, ValuesShowAsFieldSystemRowExpressionOrNone)
{
    DictionaryEditModel m(dict());
    const QStringList sources = m.valueSources();
    ASSERT_EQ(sources, (QStringList{QStringLiteral("Clients"), QStringLiteral("Commandes"),
                                    QStringLiteral("Variables système")}));
    struct Case {
        const char *value;
        DictValueView::Kind kind;
        int item;
        int row;
    } cases[] = {
        {"Clients.\"Nom\"", DictValueView::Field, 0, 1},
        {"clients.\"VILLE\"", DictValueView::Field, 0, 2},
        {"Commandes.Numero", DictValueView::Field, 1, 1},
        {"date", DictValueView::System, 2, 2},
        {"PAGE#", DictValueView::System, 2, 1},
        {"TotalPages", DictValueView::System, 2, 8},
        {"1+2", DictValueView::Expression, -1, 0},
        {"Clients.\"Absent\"", DictValueView::Expression, -1, 0}, // no such field: kept as text
        {"1.5", DictValueView::Expression, -1, 0},
        {"", DictValueView::None, -1, 0},
        {"   ", DictValueView::None, -1, 0},
    };
    for (const Case &c : cases) {
        const DictValueView v = m.classify(QString::fromUtf8(c.value));
        EXPECT_EQ(v.kind, c.kind) << c.value;
        EXPECT_EQ(v.dataSetItem, c.item) << c.value;
        EXPECT_EQ(v.fieldRow, c.row) << c.value;
        if (c.kind == DictValueView::Expression) {
            EXPECT_EQ(v.expression, QString::fromUtf8(c.value));
        }
    }
    EXPECT_EQ(m.valueRows(2).size(), 9);
    EXPECT_EQ(m.valueRows(2).at(1), QStringLiteral("Page#"));
    EXPECT_EQ(m.rowValue(2, 1), QStringLiteral("PAGE#"));
    EXPECT_EQ(m.rowValue(2, 8), QStringLiteral("TOTALPAGES"));
    EXPECT_EQ(m.rowValue(0, 0), QString());
    EXPECT_EQ(m.rowValue(0, 2), QStringLiteral("Clients.\"Ville\""));
}

// Through aliases the lists show the alias and the stored value keeps the
// real names, and reads back to the same rows.
TEST_F(DictionaryTest, AliasedDataSetsAndFieldsStoreTheirRealNames)
{
    dict().FieldAliases.SetVariable(QStringLiteral("Clients"),
                                    FrVariant(QStringLiteral("Membres")));
    dict().FieldAliases.SetVariable(QStringLiteral("Clients.Ville"),
                                    FrVariant(QStringLiteral("Commune")));
    DictionaryEditModel m(dict());
    const QStringList sources = m.valueSources();
    ASSERT_EQ(sources.first(), QStringLiteral("Membres"));
    EXPECT_EQ(m.valueRows(0), (QStringList{QStringLiteral("[Aucun]"), QStringLiteral("Commune"),
                                           QStringLiteral("Nom")}));
    const QString stored = m.rowValue(0, 1);
    EXPECT_EQ(stored, QStringLiteral("Clients.\"Ville\""));
    const DictValueView v = m.classify(stored);
    EXPECT_EQ(std::tuple(v.kind, v.fieldRow), std::tuple(DictValueView::Field, 1));
}

// --- the list as text

TEST_F(DictionaryTest, TextLinesBecomeCategoriesAndVariables)
{
    TfrVariables vars;
    setList(vars, {{" Cat", ""}, {"Amount", "10"}, {"Rate", "0.2"}, {" Other", ""}});
    EXPECT_EQ(dictListToLines(vars),
              (QStringList{QStringLiteral("Cat"), QStringLiteral(" Amount"),
                           QStringLiteral(" Rate"), QStringLiteral("Other")}));
    struct Case {
        QStringList lines;
        QStringList keys;
        QStringList values;
    } cases[] = {
        // Lines moved: the entries follow with their values.
        {{"Other", " Rate", "Cat", " Amount"},
         {" Other", "Rate", " Cat", "Amount"},
         {"", "0.2", "", "10"}},
        // A new name gets an empty value; blank lines and extra blanks go.
        {{"Cat", "", "   ", "   Amount  ", " New", "\tTabbed"},
         {" Cat", "Amount", "New", "Tabbed"},
         {"", "10", "", ""}},
        // The same entry twice: its first place, its existing value.
        {{"Cat", " New", " AMOUNT", " amount", "cat"}, {" Cat", "New", "AMOUNT"}, {"", "", "10"}},
        // A category and a variable of one name are two entries.
        {{"Amount", " Amount"}, {" Amount", "Amount"}, {"", "10"}},
    };
    for (const Case &c : cases) {
        TfrVariables edited;
        edited.Assign(vars);
        dictLinesToList(c.lines, edited);
        EXPECT_EQ(keys(edited), c.keys) << c.lines.join(u'|').toStdString();
        EXPECT_EQ(values(edited), c.values) << c.lines.join(u'|').toStdString();
    }
    // A variable's name is at most 255 characters.
    TfrVariables edited;
    dictLinesToList({QStringLiteral("C"), QLatin1Char(' ') + QString(300, QLatin1Char('v'))},
                    edited);
    EXPECT_EQ(edited.GetName(1).size(), 255);
}

TEST_F(DictionaryTest, TwentyThousandLinesMakeTwentyThousandEntries)
{
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines.append(i % 100 == 0 ? QStringLiteral("Cat%1").arg(i)
                                  : QStringLiteral(" Var%1").arg(i));
    lines.append(QStringLiteral(" var1")); // a repeat
    TfrVariables vars;
    vars.SetVariable(QStringLiteral("Var1"), FrVariant(QStringLiteral("kept")));
    dictLinesToList(lines, vars);
    EXPECT_EQ(vars.Count(), 20000);
    EXPECT_EQ(vars.GetName(0), QStringLiteral(" Cat0"));
    EXPECT_EQ(vars.GetVariable(QStringLiteral("Var1")).toString(), QStringLiteral("kept"));
    // Copies are as long and keep the order.
    TfrVariables copy;
    copy.Assign(vars);
    EXPECT_EQ(keys(copy), keys(vars));
}

// --- aliases and record sources

TEST_F(DictionaryTest, DataSetsMoveBetweenListAndTree)
{
    DictionaryEditModel m(dict());
    m.load();
    EXPECT_EQ(m.aliasListNames(),
              (QStringList{QStringLiteral("Clients"), QStringLiteral("Commandes")}));
    EXPECT_TRUE(m.aliasTreeNodes().empty());
    m.aliasToTree(QStringLiteral("Clients"));
    EXPECT_EQ(values(m.AliasesCopy), QStringList{QString()});
    EXPECT_EQ(m.aliasListNames(), QStringList{QStringLiteral("Commandes")});
    ASSERT_EQ(m.aliasTreeNodes().size(), 1u);

    m.setAlias(QStringLiteral("Clients"), QStringLiteral("Membres"));
    EXPECT_EQ(m.aliasTreeNodes()[0].text(), QStringLiteral("Clients {Membres}"));
    m.setFieldExcluded(QStringLiteral("Clients"), QStringLiteral("Nom"), true);
    EXPECT_EQ(m.AliasesCopy.GetVariable(QStringLiteral("Clients.Nom")).toString(), QString());
    EXPECT_GE(m.AliasesCopy.IndexOf(QStringLiteral("Clients.Nom")), 0);
    std::vector<DictAliasNode> fields = m.aliasFieldNodes(QStringLiteral("Clients"));
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_TRUE(fields[0].excluded);
    EXPECT_FALSE(fields[1].excluded);
    m.setFieldExcluded(QStringLiteral("Clients"), QStringLiteral("Nom"), false);
    EXPECT_LT(m.AliasesCopy.IndexOf(QStringLiteral("Clients.Nom")), 0);

    // "<" takes the data set's field entries with it.
    m.setAlias(QStringLiteral("Clients.Ville"), QStringLiteral("Commune"));
    m.aliasToList(QStringLiteral("Clients"));
    EXPECT_EQ(m.AliasesCopy.Count(), 0);

    // "<<" returns the data sets, never a field's key.
    m.aliasToTree(QStringLiteral("Clients"));
    m.aliasToTree(QStringLiteral("Commandes"));
    m.setAlias(QStringLiteral("Clients.Ville"), QStringLiteral("Commune"));
    EXPECT_EQ(m.aliasAllToList(),
              (QStringList{QStringLiteral("Clients"), QStringLiteral("Commandes")}));
    EXPECT_EQ(m.AliasesCopy.Count(), 0);
}

TEST_F(DictionaryTest, RecordSourcesMoveTheSameWay)
{
    dict().BandDataSources.SetVariable(QStringLiteral("Source2"),
                                       FrVariant(QStringLiteral("Lignes")));
    DictionaryEditModel m(dict());
    m.load();
    EXPECT_EQ(m.sourceListNames(), QStringList{QStringLiteral("Source1")});
    ASSERT_EQ(m.sourceTreeNodes().size(), 1u);
    EXPECT_EQ(m.sourceTreeNodes()[0].text(), QStringLiteral("Source2 {Lignes}"));
    m.sourceToTree(QStringLiteral("Source1"));
    m.setSourceAlias(QStringLiteral("Source1"), QStringLiteral("Principale"));
    EXPECT_EQ(m.sourceAllToList(),
              (QStringList{QStringLiteral("Source1"), QStringLiteral("Source2")}));
    EXPECT_EQ(m.SourcesCopy.Count(), 0);
    m.sourceToTree(QStringLiteral("Source2"));
    m.sourceToList(QStringLiteral("Source2"));
    EXPECT_EQ(m.SourcesCopy.Count(), 0);
}

// --- the dialog

class DictFormTest : public DictionaryTest
{
protected:
    void fillDictionary()
    {
        setList(dict().Variables, {{" Joueurs", ""},
                                   {"NomJoueur", "Clients.\"Nom\""},
                                   {"Jour", "DATE"},
                                   {" Calculs", ""},
                                   {"Somme", "1+2"},
                                   {"Vide", ""}});
        dict().FieldAliases.SetVariable(QStringLiteral("Clients"), FrVariant(QString()));
        dict().BandDataSources.SetVariable(QStringLiteral("Source1"),
                                           FrVariant(QStringLiteral("Lignes")));
    }
    static QTreeWidgetItem *node(TfrDictForm &f, const QString &text)
    {
        const QList<QTreeWidgetItem *> found =
            f.VarTree->findItems(text, Qt::MatchFixedString | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    static void choose(TfrDictForm &f, QTreeWidgetItem *item) { f.VarTree->setCurrentItem(item); }
};

TEST_F(DictFormTest, AnEmptyDictionaryShowsAucunUntilACategoryIsAdded)
{
    TfrDictForm f(*rep);
    f.Prepare();
    ASSERT_EQ(f.VarTree->topLevelItemCount(), 1);
    EXPECT_EQ(f.VarTree->topLevelItem(0)->text(0), QStringLiteral("[Aucun]"));
    EXPECT_TRUE(f.aucunState());
    EXPECT_FALSE(f.ExprCB->isEnabled());
    EXPECT_FALSE(f.VarTree->rootIsDecorated());
    // No variable without a category; Ins adds a category there.
    f.newVariable();
    EXPECT_TRUE(f.aucunState());
    QTest::keyClick(f.VarTree, Qt::Key_Insert);
    EXPECT_FALSE(f.aucunState());
    ASSERT_EQ(f.VarTree->topLevelItemCount(), 1);
    EXPECT_EQ(f.VarTree->topLevelItem(0)->text(0), QStringLiteral("Category1"));
    EXPECT_TRUE(f.VarTree->rootIsDecorated());
    f.newVariable();
    QTreeWidgetItem *v = node(f, QStringLiteral("Variable1"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->parent(), f.VarTree->topLevelItem(0));
    EXPECT_TRUE(f.ExprCB->isEnabled());
    // Deleting the last category returns to "[Aucun]".
    choose(f, f.VarTree->topLevelItem(0));
    f.VarTree->setFocus();
    f.deleteNode();
    EXPECT_TRUE(f.aucunState());
    EXPECT_EQ(f.Model.VarsCopy.Count(), 0);
}

// A name typed in place goes through the same rules: trimmed, an empty or
// colliding one refused and the old text shown again.
TEST_F(DictFormTest, NamesTypedInPlace)
{
    fillDictionary();
    const QByteArray before = streamOf(dict());
    TfrDictForm f(*rep);
    f.Prepare();
    QTreeWidgetItem *somme = node(f, QStringLiteral("Somme"));
    ASSERT_NE(somme, nullptr);
    somme->setText(0, QStringLiteral(" Amount"));
    EXPECT_EQ(somme->text(0), QStringLiteral("Amount"));
    EXPECT_GE(f.Model.VarsCopy.IndexOf(QStringLiteral("Amount")), 0);
    somme->setText(0, QStringLiteral("vide"));
    EXPECT_EQ(somme->text(0), QStringLiteral("Amount"));
    somme->setText(0, QStringLiteral("  "));
    EXPECT_EQ(somme->text(0), QStringLiteral("Amount"));
    for (int i = 0; i < f.Model.VarsCopy.Count(); ++i)
        EXPECT_FALSE(f.Model.VarsCopy.GetName(i).startsWith(QStringLiteral("  ")));
    // Nothing reaches the dictionary before OK.
    EXPECT_EQ(streamOf(dict()), before);
    EXPECT_EQ(designerWindow->beforeChanges, 0);
}

TEST_F(DictFormTest, SelectingAVariableShowsAndStoresItsValue)
{
    fillDictionary();
    TfrDictForm f(*rep);
    f.Prepare();
    choose(f, node(f, QStringLiteral("NomJoueur")));
    EXPECT_EQ(f.ValCombo->currentText(), QStringLiteral("Clients"));
    EXPECT_EQ(f.ValList->currentItem()->text(), QStringLiteral("Nom"));
    EXPECT_FALSE(f.ExprCB->isChecked());

    choose(f, node(f, QStringLiteral("Jour")));
    EXPECT_EQ(f.ValCombo->currentText(), QStringLiteral("Variables système"));
    EXPECT_EQ(f.ValList->currentItem()->text(), QStringLiteral("Date"));

    choose(f, node(f, QStringLiteral("Somme")));
    EXPECT_TRUE(f.ExprCB->isChecked());
    EXPECT_TRUE(f.ExprEdit->isEnabled());
    EXPECT_EQ(f.ExprEdit->currentText(), QStringLiteral("1+2"));

    choose(f, node(f, QStringLiteral("Vide")));
    EXPECT_FALSE(f.ExprCB->isChecked());
    EXPECT_EQ(f.ValList->currentRow(), 0);
    EXPECT_EQ(f.ValList->currentItem()->text(), QStringLiteral("[Aucun]"));

    // A click on a row stores it; ticking the box and typing stores the text
    // when another node is chosen.
    f.ValCombo->setCurrentIndex(f.ValCombo->count() - 1);
    f.valueRowClicked(3);
    EXPECT_EQ(f.Model.value(QStringLiteral("Vide")), QStringLiteral("TIME"));
    f.ExprCB->click();
    EXPECT_TRUE(f.ExprEdit->isEnabled());
    f.ExprEdit->setEditText(QStringLiteral("Somme * 2"));
    choose(f, node(f, QStringLiteral("Calculs")));
    EXPECT_EQ(f.Model.value(QStringLiteral("Vide")), QStringLiteral("Somme * 2"));
    // A category has no value: the box is off and disabled.
    EXPECT_FALSE(f.ExprCB->isEnabled());
    EXPECT_FALSE(f.ExprCB->isChecked());
    // The expression button puts the builder's text in the box and the
    // value; without a builder it changes nothing.
    choose(f, node(f, QStringLiteral("Vide")));
    f.ExprEdit->OnButtonClick();
    EXPECT_EQ(f.ExprEdit->currentText(), QStringLiteral("Somme * 2"));
    f.BuildExpression = [](const QString &) {
        return std::optional<QString>(QStringLiteral("[Jour] + 1"));
    };
    f.ExprEdit->OnButtonClick();
    EXPECT_EQ(f.Model.value(QStringLiteral("Vide")), QStringLiteral("[Jour] + 1"));
    // Unticking empties the value.
    choose(f, node(f, QStringLiteral("Vide")));
    f.ExprCB->click();
    EXPECT_EQ(f.Model.value(QStringLiteral("Vide")), QString());

    if (vorn_test::shotsRequested()) {
        // One category, two variables, the second on a system variable.
        setList(dict().Variables,
                {{" Joueurs", ""}, {"NomJoueur", "Clients.\"Nom\""}, {"Jour", "DATE"}});
        TfrDictForm shot(*rep);
        shot.Prepare();
        choose(shot, node(shot, QStringLiteral("Jour")));
        shot.show();
        QApplication::processEvents();
        vorn_test::saveShot(&shot, QStringLiteral("dict_vars.png"));
        shot.hide();
    }
}

TEST_F(DictFormTest, KeysOfTheTree)
{
    fillDictionary();
    TfrDictForm f(*rep);
    f.Prepare();
    f.show();
    choose(f, node(f, QStringLiteral("Somme")));
    QTest::keyClick(f.VarTree, Qt::Key_Insert);
    ASSERT_NE(node(f, QStringLiteral("Variable1")), nullptr);
    EXPECT_EQ(node(f, QStringLiteral("Variable1"))->parent(), node(f, QStringLiteral("Calculs")));
    EXPECT_TRUE(f.editingName());
    // Ctrl+Ins adds a category even with a variable selected.
    choose(f, node(f, QStringLiteral("Somme")));
    QTest::keyClick(f.VarTree, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_NE(node(f, QStringLiteral("Category1")), nullptr);
    // Del while a name is edited deletes nothing.
    QTest::keyClick(f.VarTree, Qt::Key_Delete);
    EXPECT_NE(node(f, QStringLiteral("Category1")), nullptr);
    choose(f, node(f, QStringLiteral("Somme")));
    QTest::keyClick(f.VarTree, Qt::Key_Delete);
    EXPECT_EQ(node(f, QStringLiteral("Somme")), nullptr);
    EXPECT_LT(f.Model.VarsCopy.IndexOf(QStringLiteral("Somme")), 0);
    // Esc outside editing cancels the dialog.
    QTest::keyClick(f.VarTree, Qt::Key_Escape);
    EXPECT_EQ(f.result(), platform::mrCancel);
    EXPECT_GE(dict().Variables.IndexOf(QStringLiteral("Somme")), 0);
}

// Cancel leaves the dictionary as it was, byte for byte; OK assigns all
// three lists.
TEST_F(DictFormTest, OnlyOkWritesTheCopiesBack)
{
    fillDictionary();
    const QByteArray before = streamOf(dict());
    for (const char *button : {"Button2", "Button1"}) {
        TfrDictForm f(*rep);
        QTimer::singleShot(0, [&] {
            f.newCategory();
            f.AliasesTab->addAll();
            f.SourcesTab->removeAll();
            QTest::mouseClick(f.findChild<QPushButton *>(QString::fromLatin1(button)),
                              Qt::LeftButton);
        });
        const int result = f.Execute();
        if (QByteArray(button) == "Button2") {
            EXPECT_EQ(result, platform::mrCancel);
            EXPECT_EQ(streamOf(dict()), before);
        } else {
            EXPECT_EQ(result, platform::mrOk);
            EXPECT_GE(dict().Variables.IndexOf(QStringLiteral(" Category1")), 0);
            EXPECT_EQ(keys(dict().FieldAliases),
                      (QStringList{QStringLiteral("Clients"), QStringLiteral("Commandes")}));
            EXPECT_EQ(dict().BandDataSources.Count(), 0);
        }
    }
    EXPECT_EQ(designerWindow->beforeChanges, 0);
}

TEST_F(DictFormTest, TheListDialogRebuildsTheTree)
{
    fillDictionary();
    TfrDictForm f(*rep);
    f.Prepare();
    QTimer::singleShot(0, [&] {
        auto *vared = qobject_cast<TfrVaredForm *>(QApplication::activeModalWidget());
        ASSERT_NE(vared, nullptr);
        EXPECT_EQ(vared->M1->toPlainText().split(u'\n').first(), QStringLiteral("Joueurs"));
        QStringList lines;
        for (int i = 0; i < 20000; ++i)
            lines.append(i % 1000 == 0 ? QStringLiteral("C%1").arg(i)
                                       : QStringLiteral(" V%1").arg(i));
        lines.append(QStringLiteral(" Somme"));
        lines.append(QStringLiteral("  somme"));
        vared->M1->setPlainText(lines.join(u'\n'));
        vared->Button1->click();
    });
    f.editList();
    EXPECT_EQ(f.Model.VarsCopy.Count(), 20001);
    EXPECT_EQ(f.VarTree->topLevelItemCount(), 20);
    EXPECT_EQ(f.Model.value(QStringLiteral("Somme")), QStringLiteral("1+2"));
    // Cancel there changes nothing.
    QTimer::singleShot(0, [&] {
        auto *vared = qobject_cast<TfrVaredForm *>(QApplication::activeModalWidget());
        ASSERT_NE(vared, nullptr);
        vared->M1->setPlainText(QStringLiteral("Seule"));
        vared->Button2->click();
    });
    f.editList();
    EXPECT_EQ(f.Model.VarsCopy.Count(), 20001);
}

TEST_F(DictFormTest, AliasTabMovesExpandsAndExcludes)
{
    fillDictionary();
    TfrDictForm f(*rep);
    f.Prepare();
    TfrDictAliasTab &t = *f.AliasesTab;
    ASSERT_NE(t.findNode(QStringLiteral("Clients")), nullptr);
    EXPECT_EQ(t.List->count(), 1);
    EXPECT_EQ(t.List->item(0)->text(), QStringLiteral("Commandes"));
    // The fields come with the first expansion.
    QTreeWidgetItem *clientsNode = t.findNode(QStringLiteral("Clients"));
    EXPECT_EQ(clientsNode->childCount(), 1);
    clientsNode->setExpanded(true);
    ASSERT_EQ(clientsNode->childCount(), 2);
    QTreeWidgetItem *nom = clientsNode->child(0);
    EXPECT_EQ(nom->text(0), QStringLiteral("Nom"));
    // An alias typed for a field.
    t.Tree->setCurrentItem(nom);
    EXPECT_TRUE(t.ExcludeCB->isEnabled());
    t.AliasEdit->setText(QStringLiteral("Nom complet"));
    emit t.AliasEdit->textEdited(t.AliasEdit->text());
    t.Tree->setCurrentItem(clientsNode);
    EXPECT_EQ(nom->text(0), QStringLiteral("Nom {Nom complet}"));
    EXPECT_EQ(f.Model.AliasesCopy.GetVariable(QStringLiteral("Clients.Nom")).toString(),
              QStringLiteral("Nom complet"));
    EXPECT_FALSE(t.ExcludeCB->isEnabled());
    // Space toggles the exclusion of the selected field.
    t.Tree->setCurrentItem(nom);
    QTest::keyClick(t.Tree, Qt::Key_Space);
    EXPECT_TRUE(t.ExcludeCB->isChecked());
    EXPECT_EQ(nom->text(0), QStringLiteral("Nom"));
    EXPECT_EQ(f.Model.AliasesCopy.GetVariable(QStringLiteral("Clients.Nom")).toString(), QString());
    // Drags are taken only from the other control.
    EXPECT_TRUE(t.acceptsDrag(t.Tree, t.List));
    EXPECT_TRUE(t.acceptsDrag(t.List, t.Tree));
    EXPECT_FALSE(t.acceptsDrag(t.Tree, t.Tree));
    EXPECT_FALSE(t.acceptsDrag(t.List, f.VarTree));
    // ">" and "<".
    t.List->item(0)->setSelected(true);
    t.addSelected();
    EXPECT_EQ(t.List->count(), 0);
    EXPECT_NE(t.findNode(QStringLiteral("Commandes")), nullptr);
    t.Tree->setCurrentItem(nom);
    t.removeSelected();
    EXPECT_EQ(t.findNode(QStringLiteral("Clients")), nullptr);
    EXPECT_LT(f.Model.AliasesCopy.IndexOf(QStringLiteral("Clients.Nom")), 0);
    EXPECT_EQ(t.List->item(0)->text(), QStringLiteral("Clients"));
    // The band-source tab: the alias of the record source.
    TfrDictAliasTab &s = *f.SourcesTab;
    QTreeWidgetItem *source = s.findNode(QStringLiteral("Source1"));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->text(0), QStringLiteral("Source1 {Lignes}"));
    EXPECT_EQ(source->childCount(), 0);
    EXPECT_EQ(s.ExcludeCB, nullptr);
    s.Tree->setCurrentItem(source);
    EXPECT_EQ(s.AliasEdit->text(), QStringLiteral("Lignes"));
}

} // namespace
} // namespace designer::test
