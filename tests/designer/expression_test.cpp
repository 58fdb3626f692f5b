// The expression builder and its pickers, and the highlight, tag and report
// option dialogs: the rules on their own, then the windows driven as a user
// would, through the designer's slots.
#include "tests/designer/designer_fixture.h"

#include "designer/core/attributecommands.h"
#include "designer/core/exprhelpers.h"
#include "designer/core/pagecommands.h"
#include "designer/ui/attrforms.h"
#include "designer/ui/exprforms.h"
#include "report/build/frfunclib.h"
#include "report/core/frstream.h"
#include "report/core/frlocale.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace designer::test
{
namespace
{

using namespace report;

// --- rules without windows

class ExpressionRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
    }
    void TearDown() override { fr().resetForTests(); }

    static QString syntaxOf(const char *function)
    {
        return splitFunctionDescription(frObjects().frInstalledFunctions->GetFunctionDescription(
                                            QString::fromLatin1(function)))
            .syntax;
    }
};

TEST_F(ExpressionRules, NamesOfPlainCharactersGoInBareOthersInBrackets)
{
    const struct {
        QString name;
        QString inserted;
    } cases[] = {
        {QStringLiteral("TRUE"), QStringLiteral("TRUE")},
        {QStringLiteral("Montant_2"), QStringLiteral("Montant_2")},
        {QStringLiteral("Total.HT"), QStringLiteral("Total.HT")},
        {QStringLiteral("total.ht"), QStringLiteral("total.ht")},
        {QString(), QString()},
        {QStringLiteral("PAGE#"), QStringLiteral("[PAGE#]")},
        {QStringLiteral("Clients.\"Nom\""), QStringLiteral("[Clients.\"Nom\"]")},
        {QStringLiteral("Année"), QStringLiteral("[Année]")},
        {QStringLiteral("Prix HT"), QStringLiteral("[Prix HT]")},
        {QStringLiteral("a-b"), QStringLiteral("[a-b]")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrapExpressionName(c.name), c.inserted) << c.name.toStdString();
}

TEST_F(ExpressionRules, SyntaxLinesGiveOneBoxPerCommaUpToThree)
{
    EXPECT_EQ(syntaxOf("COPY"), QStringLiteral("COPY(<String>, <From>, <Count>)"));
    EXPECT_EQ(argumentBoxCount(syntaxOf("COPY")), 3);
    EXPECT_EQ(argumentBoxCount(syntaxOf("MAXNUM")), 2);
    EXPECT_EQ(argumentBoxCount(syntaxOf("DAYOF")), 1);
    EXPECT_EQ(argumentBoxCount(QStringLiteral("F(a, b, c, d, e, f)")), 3);
}

TEST_F(ExpressionRules, CallsLeaveOutEmptyLaterBoxes)
{
    const struct {
        QString b1, b2, b3, call;
    } cases[] = {
        {QStringLiteral("[Nom]"), QString(), QStringLiteral("3"), QStringLiteral("COPY([Nom], 3)")},
        {QStringLiteral("[Nom]"), QStringLiteral("2"), QStringLiteral("3"),
         QStringLiteral("COPY([Nom], 2, 3)")},
        {QStringLiteral("[Nom]"), QStringLiteral("2"), QString(), QStringLiteral("COPY([Nom], 2)")},
        {QString(), QString(), QString(), QStringLiteral("COPY()")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(assembleFunctionCall(QStringLiteral("COPY"), c.b1, c.b2, c.b3), c.call);
}

TEST_F(ExpressionRules, SystemRowsNameTheirVariables)
{
    const QStringList names{"PAGE#",        "DATE",    "TIME",     "LINE#",
                            "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES"};
    for (int row = 0; row < kSystemVariableCount; ++row)
        EXPECT_EQ(systemVariableName(row), names[row]) << row;
    EXPECT_EQ(systemVariableName(-1), QStringLiteral("PAGE#"));
    EXPECT_EQ(systemVariableName(8), QStringLiteral("PAGE#"));
    const QStringList texts = systemVariableTexts();
    ASSERT_EQ(texts.size(), kSystemVariableCount);
    EXPECT_EQ(texts.first(), QStringLiteral("Page#"));
    EXPECT_EQ(texts[1], QStringLiteral("Date"));
    EXPECT_FALSE(texts.contains(QStringLiteral("Expression")));
}

TEST_F(ExpressionRules, DescriptionsSplitAtTheFirstSlash)
{
    const QString copy = frLoadString(55379);
    const FunctionDescriptionParts parts = splitFunctionDescription(copy);
    EXPECT_EQ(parts.syntax, QStringLiteral("COPY(<String>, <From>, <Count>)"));
    EXPECT_EQ(parts.explanation, QStringLiteral("Retourne une portion de <String> de <Count> "
                                                "caratère depuis le caractère <From>."));
    // A later slash belongs to the explanation; no slash: all syntax.
    EXPECT_EQ(splitFunctionDescription(QStringLiteral("A(x)/y/z")).explanation,
              QStringLiteral("y/z"));
    EXPECT_EQ(splitFunctionDescription(QStringLiteral("NOSLASH")).syntax,
              QStringLiteral("NOSLASH"));
    // The explanation label takes 1000 characters at most.
    const QString longText = QStringLiteral("F/") + QString(1500, u'x');
    EXPECT_EQ(splitFunctionDescription(longText).explanation.size(), 1000);
}

TEST_F(ExpressionRules, PickerMemoryIsForgottenWithTheLibrary)
{
    pickerMemory().fieldsEntry = QStringLiteral("Clients");
    pickerMemory().variableCategory = QStringLiteral("Joueurs");
    fr().resetForTests();
    fr().start();
    EXPECT_TRUE(pickerMemory().fieldsEntry.isEmpty());
    EXPECT_TRUE(pickerMemory().variableCategory.isEmpty());
}

// --- windows

// Runs action on the modal dialog of type T once it is up (polling the
// event loop, as nested dialogs open one after the other); a dialog of
// another type is closed and the test fails.
template <class T> void whenShown(std::function<void(T &)> action, int attempts = 400)
{
    QTimer::singleShot(5, [action, attempts] {
        QWidget *w = QApplication::activeModalWidget();
        if (auto *d = qobject_cast<T *>(w); d && d->isVisible()) {
            action(*d);
            // A failed assertion left the script half done: close the window.
            if (::testing::Test::HasFatalFailure() && d->isVisible())
                d->reject();
            return;
        }
        if (attempts > 0) {
            whenShown<T>(action, attempts - 1);
            return;
        }
        ADD_FAILURE() << "the expected dialog did not open";
        if (w)
            w->close();
    });
}

void clickRow(QListWidget *list, int row)
{
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
}

// A double click on a row; a dialog that did not close on it fails and is
// closed, so the test goes on.
void doubleClickRow(QListWidget *list, int row)
{
    ASSERT_GE(row, 0);
    clickRow(list, row);
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    if (QWidget *w = list->window(); w->isVisible()) {
        ADD_FAILURE() << "a double click on a row did not close the window";
        w->close();
    }
}

int rowOf(const QListWidget *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return i;
    return -1;
}

void shoot(QWidget &w, const char *name)
{
    vorn_test::saveShot(&w, QString::fromLatin1(name));
}

class ExprBuilder : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        clients = new FrMemoryDataSet(&owner);
        clients->setObjectName(QStringLiteral("Clients"));
        clients->addField(QStringLiteral("Nom"), ftString);
        clients->addField(QStringLiteral("Ville"), ftString);
        articles = new FrMemoryDataSet(&owner);
        articles->setObjectName(QStringLiteral("Articles"));
        articles->addField(QStringLiteral("Prix"), ftString);
        // Data sets are offered from the program's forms.
        owner.setObjectName(QStringLiteral("Form1"));
        fr().registerForm(&owner);
        installExpressionDialogs(*core, nullptr);
    }
    void TearDown() override
    {
        fr().unregisterComponent(&owner);
        delete clients;
        delete articles;
        DesignerFixture::TearDown();
    }
    TfrDataDictionary &dict() { return rep->Dictionary(); }
    void addCategory(const QString &category, const QStringList &variables)
    {
        TfrVariables &v = dict().Variables;
        v.Insert(v.Count(), u' ' + category);
        for (const QString &name : variables)
            v.Insert(v.Count(), name);
    }
    // The builder opened on text; script acts inside it, then OK unless it
    // closed the window itself.
    std::optional<QString> build(const QString &text, std::function<void(TfrExprForm &)> script)
    {
        whenShown<TfrExprForm>([script](TfrExprForm &f) {
            script(f);
            if (f.isVisible())
                f.OkB->click();
        });
        return core->state.Requests.expressionEditor(text);
    }

    FrMemoryDataSet *clients = nullptr;
    FrMemoryDataSet *articles = nullptr;
};

TEST_F(ExprBuilder, OperatorButtonsInsertTheirCaptionAndABlankAtTheCursor)
{
    const QStringList captions{"+", "-",  "*",  "/",   "=",  "<>", ">",
                               "<", ">=", "<=", "And", "Or", "Not"};
    const std::optional<QString> result = build(QStringLiteral("[a][b]"), [&](TfrExprForm &f) {
        for (int i = 0; i < captions.size(); ++i) {
            auto *b = f.findChild<QPushButton *>(QStringLiteral("OpB%1").arg(i + 1));
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), captions[i]);
            f.SetExpression(QStringLiteral("[a][b]"));
            QTextCursor c = f.ExprMemo->textCursor();
            c.setPosition(3);
            f.ExprMemo->setTextCursor(c);
            QTest::mouseClick(b, Qt::LeftButton);
            EXPECT_EQ(f.Expression(), QStringLiteral("[a]") + captions[i] + QStringLiteral(" [b]"));
        }
        // A selection is replaced.
        QTextCursor c = f.ExprMemo->textCursor();
        c.setPosition(0);
        c.setPosition(3, QTextCursor::KeepAnchor);
        f.ExprMemo->setTextCursor(c);
        f.findChild<QPushButton *>(QStringLiteral("OpB11"))->click();
        EXPECT_TRUE(f.Expression().startsWith(QStringLiteral("And Not ")));
    });
    ASSERT_TRUE(result);
}

TEST_F(ExprBuilder, AFieldOfADataSetGoesInBracketed)
{
    const std::optional<QString> result = build(QString(), [](TfrExprForm &f) {
        whenShown<TfrFieldsForm>([](TfrFieldsForm &p) {
            EXPECT_EQ(p.windowTitle(), QStringLiteral("Insérer un champ de données"));
            clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Clients")));
            ASSERT_EQ(p.FieldsLB->count(), 2);
            doubleClickRow(p.FieldsLB, rowOf(p.FieldsLB, QStringLiteral("Nom")));
        });
        f.DBFieldB->click();
        EXPECT_EQ(f.Expression(), QStringLiteral("[Clients.\"Nom\"]"));
        f.findChild<QPushButton *>(QStringLiteral("OpB1"))->click();
        f.InsertText(QStringLiteral("COPY([Ville], 1, 3)"));
        shoot(f, "expr.png");
    });
    EXPECT_EQ(result, QStringLiteral("[Clients.\"Nom\"]+ COPY([Ville], 1, 3)"));
}

TEST_F(ExprBuilder, FieldsPickerOffersCategoriesAndAliasesAsShown)
{
    dict().FieldAliases.SetVariable(QStringLiteral("Clients"), FrVariant("Membres"));
    dict().FieldAliases.SetVariable(QStringLiteral("Articles"), FrVariant("Articles"));
    addCategory(QStringLiteral("Joueurs"), {QStringLiteral("NomJoueur")});
    QStringList listed;
    const std::optional<QString> result = build(QString(), [&](TfrExprForm &f) {
        whenShown<TfrFieldsForm>([&](TfrFieldsForm &p) {
            for (int i = 0; i < p.DatasetsLB->count(); ++i)
                listed << p.DatasetsLB->item(i)->text();
            clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Joueurs")));
            doubleClickRow(p.FieldsLB, 0);
        });
        f.DBFieldB->click();
        whenShown<TfrFieldsForm>([&](TfrFieldsForm &p) {
            clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Membres")));
            doubleClickRow(p.FieldsLB, rowOf(p.FieldsLB, QStringLiteral("Ville")));
        });
        f.DBFieldB->click();
    });
    // Data sets first, then the categories.
    EXPECT_EQ(listed, QStringList({"Articles", "Membres", "Joueurs"}));
    EXPECT_EQ(result, QStringLiteral("NomJoueur[Membres.\"Ville\"]"));
}

TEST_F(ExprBuilder, PickersReopenOnTheEntryChosenLastEvenForAnotherReport)
{
    addCategory(QStringLiteral("Joueurs"), {QStringLiteral("NomJoueur")});
    addCategory(QStringLiteral("Totaux"), {QStringLiteral("Somme")});
    // Chosen, then cancelled: still remembered.
    whenShown<TfrFieldsForm>([](TfrFieldsForm &p) {
        EXPECT_EQ(p.DatasetsLB->currentRow(), 0);
        clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Clients")));
        p.CancelB->click();
    });
    EXPECT_EQ(frPickField(), std::nullopt);
    build(QString(), [](TfrExprForm &f) {
        whenShown<TfrVarForm>([](TfrVarForm &p) {
            clickRow(p.CategoryLB, rowOf(p.CategoryLB, QStringLiteral("Totaux")));
            p.CancelB->click();
        });
        f.VarB->click();
    });

    // Another report over the same data sets, with other categories.
    TfrReport other(&owner);
    other.Dictionary().Variables.Insert(0, QStringLiteral(" Totaux"));
    other.Dictionary().Variables.Insert(1, QStringLiteral("Moyenne"));
    frSetCurrentReport(&other, &other, &owner);
    QString entry, category;
    whenShown<TfrFieldsForm>([&](TfrFieldsForm &p) {
        entry = p.DatasetsLB->currentItem()->text();
        EXPECT_EQ(p.FieldsLB->count(), 2);
        p.CancelB->click();
    });
    frPickField();
    const std::optional<QString> var = build(QString(), [&](TfrExprForm &f) {
        whenShown<TfrVarForm>([&](TfrVarForm &p) {
            category = p.CategoryLB->currentItem()->text();
            doubleClickRow(p.VarLB, 0);
        });
        f.VarB->click();
    });
    frSetCurrentReport(rep.get(), rep.get(), &owner);
    EXPECT_EQ(entry, QStringLiteral("Clients"));
    EXPECT_EQ(category, QStringLiteral("Totaux"));
    EXPECT_EQ(var, QStringLiteral("Moyenne"));
}

TEST_F(ExprBuilder, SystemVariablesAreOfferedWithoutCategories)
{
    QStringList categories, rows;
    const std::optional<QString> result = build(QString(), [&](TfrExprForm &f) {
        whenShown<TfrVarForm>([&](TfrVarForm &p) {
            for (int i = 0; i < p.CategoryLB->count(); ++i)
                categories << p.CategoryLB->item(i)->text();
            for (int i = 0; i < p.VarLB->count(); ++i)
                rows << p.VarLB->item(i)->text();
            doubleClickRow(p.VarLB, 1); // Date
        });
        f.VarB->click();
        // Nothing selected: the page number.
        whenShown<TfrVarForm>([](TfrVarForm &p) {
            p.VarLB->clearSelection();
            p.OkB->click();
        });
        f.VarB->click();
        // Line through# goes in by its name, in brackets for its "#".
        whenShown<TfrVarForm>([](TfrVarForm &p) { doubleClickRow(p.VarLB, 4); });
        f.VarB->click();
    });
    EXPECT_EQ(categories, QStringList{QStringLiteral("Variables système")});
    EXPECT_EQ(rows, systemVariableTexts());
    EXPECT_EQ(result, QStringLiteral("DATE[PAGE#][LINETHROUGH#]"));
}

TEST_F(ExprBuilder, TenThousandVariablesFillThePicker)
{
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QStringLiteral("V%1").arg(i, 5, 10, QLatin1Char('0'));
    // Built sorted (the blank puts the category first): a plain list would
    // look every name up one by one.
    TfrVariables &v = dict().Variables;
    v.SetSorted(true);
    addCategory(QStringLiteral("Masse"), many);
    v.SetSorted(false);
    ASSERT_EQ(v.GetName(0), QStringLiteral(" Masse"));
    int count = 0;
    const std::optional<QString> result = build(QString(), [&](TfrExprForm &f) {
        whenShown<TfrVarForm>([&](TfrVarForm &p) {
            count = p.VarLB->count();
            doubleClickRow(p.VarLB, 9999);
        });
        f.VarB->click();
    });
    EXPECT_EQ(count, 10000);
    EXPECT_EQ(result, QStringLiteral("V09999"));
}

TEST_F(ExprBuilder, FunctionsWithArgumentsGoInAsAssembledCalls)
{
    QStringList roots;
    bool box2 = false, box3 = false;
    const std::optional<QString> result = build(QString(), [&](TfrExprForm &f) {
        whenShown<TfrFuncForm>([&](TfrFuncForm &p) {
            EXPECT_EQ(p.CategoryTV->topLevelItemCount(), 1);
            roots << p.CategoryTV->topLevelItem(0)->text(0);
            EXPECT_GT(p.CategoryTV->topLevelItem(0)->childCount(), 3);
            clickRow(p.FuncLB, rowOf(p.FuncLB, QStringLiteral("COPY")));
            EXPECT_EQ(p.FuncLabel->text(), QStringLiteral("COPY(<String>, <From>, <Count>)"));
            EXPECT_TRUE(p.DescrLabel->text().startsWith(QStringLiteral("Retourne une portion")));
            whenShown<TfrFuncArgForm>([&](TfrFuncArgForm &a) {
                box2 = a.Edit2->isVisible();
                box3 = a.Edit3->isVisible();
                EXPECT_EQ(a.Label3->text(), QStringLiteral("Argument &3"));
                a.Edit1->setEditText(QStringLiteral("[Nom]"));
                a.Edit3->setEditText(QStringLiteral("3"));
                shoot(a, "funcargs.png");
                a.OkB->click();
            });
            p.OkB->click();
        });
        f.FuncB->click();
    });
    EXPECT_EQ(roots, QStringList{QStringLiteral("Toutes les fonctions")});
    EXPECT_TRUE(box2);
    EXPECT_TRUE(box3);
    EXPECT_EQ(result, QStringLiteral("COPY([Nom], 3)"));
}

TEST_F(ExprBuilder, FunctionsWithoutArgumentsGoInAsNames)
{
    const std::optional<QString> result = build(QString(), [](TfrExprForm &f) {
        for (const char *name : {"TRUE", "PAGE#"}) {
            whenShown<TfrFuncForm>([name](TfrFuncForm &p) {
                doubleClickRow(p.FuncLB, rowOf(p.FuncLB, QString::fromLatin1(name)));
            });
            f.FuncB->click();
        }
    });
    EXPECT_EQ(result, QStringLiteral("TRUE[PAGE#]"));
}

TEST_F(ExprBuilder, ArgumentBoxesFollowTheCommasAndOpenNestedBuilders)
{
    const struct {
        QString syntax;
        int boxes;
    } cases[] = {{QStringLiteral("DAYOF(<Date>)"), 1},
                 {QStringLiteral("MAXNUM(<Value1>, <Value2>)"), 2},
                 {QStringLiteral("F(a, b, c, d, e, f)"), 3}};
    for (const auto &c : cases) {
        TfrFuncArgForm form;
        form.FuncName = QStringLiteral("F");
        form.Syntax = c.syntax;
        form.show();
        EXPECT_EQ(int(form.Edit2->isVisible()) + int(form.Edit3->isVisible()) + 1, c.boxes);
        EXPECT_EQ(form.Label2->isVisible(), form.Edit2->isVisible());
        EXPECT_EQ(form.Edit1->ButtonHint(), QStringLiteral("Insérer une expression"));
        // The box's button: a nested builder whose text becomes the box's.
        whenShown<TfrExprForm>([](TfrExprForm &b) {
            EXPECT_EQ(b.Expression(), QStringLiteral("1"));
            b.InsertText(QStringLiteral("+ 2"));
            b.OkB->click();
        });
        form.Edit1->setEditText(QStringLiteral("1"));
        form.Edit1->Button()->OnClick();
        EXPECT_EQ(form.Edit1->currentText(), QStringLiteral("1+ 2"));
        form.reject();
        EXPECT_EQ(form.Result, QStringLiteral("F(1+ 2)"));
    }
}

TEST_F(ExprBuilder, EscapeInTheTextBoxCancels)
{
    bool typed = false;
    whenShown<TfrExprForm>([&](TfrExprForm &f) {
        QTest::keyClicks(f.ExprMemo, QStringLiteral("[a]"));
        typed = f.Expression() == QStringLiteral("[a]");
        QTest::keyClick(f.ExprMemo, Qt::Key_Escape);
    });
    EXPECT_EQ(core->PickExpression(), QString());
    EXPECT_TRUE(typed);
}

TEST_F(ExprBuilder, PickExpressionWrapsTheBuiltTextOnce)
{
    whenShown<TfrExprForm>([](TfrExprForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Générateur d'expression"));
        QTest::keyClicks(f.ExprMemo, QStringLiteral("[a]+[b]"));
        f.OkB->click();
    });
    EXPECT_EQ(core->PickExpression(), QStringLiteral("[[a]+[b]]"));
    whenShown<TfrFieldsForm>([](TfrFieldsForm &p) {
        clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Articles")));
        doubleClickRow(p.FieldsLB, 0);
    });
    EXPECT_EQ(core->PickDataField(), QStringLiteral("[Articles.\"Prix\"]"));
}

TEST_F(ExprBuilder, RowsAreSixteenPixelsWithKeyedGlyphs)
{
    TfrFieldsForm p;
    p.show();
    clickRow(p.DatasetsLB, rowOf(p.DatasetsLB, QStringLiteral("Clients")));
    p.DatasetsLB->clearSelection();
    const QRect r = p.DatasetsLB->visualItemRect(p.DatasetsLB->item(0));
    EXPECT_EQ(r.height(), 16);
    const QImage shot = p.DatasetsLB->viewport()->grab().toImage();
    const QImage &glyph = exprGlyphImage(ExprGlyph::DataSet);
    // The glyph sits two pixels in; its olive ground shows the list's base.
    const QRgb base = p.DatasetsLB->palette().base().color().rgb();
    EXPECT_EQ(shot.pixel(r.left() + 2 + 0, r.top() + 0), base);
    EXPECT_EQ(shot.pixel(r.left() + 2 + 4, r.top() + 5), glyph.pixel(4, 5));
    EXPECT_NE(glyph.pixel(4, 5), base);
}

// --- highlight, tag and report options

class ExprDialogs : public ExprBuilder
{
};

TEST_F(ExprDialogs, HighlightOpensFromItsValues)
{
    const struct {
        int style;
        bool bold, italic, underline;
    } styles[] = {{0, false, false, false},
                  {2, true, false, false},
                  {1, false, true, false},
                  {4, false, false, true},
                  {7, true, true, true}};
    for (const auto &s : styles) {
        TfrHilightForm f;
        HighlightChoice in;
        in.fontStyle = s.style | 8;
        f.SetChoice(in);
        f.show();
        EXPECT_EQ(f.CB1->isChecked(), s.bold) << s.style;
        EXPECT_EQ(f.CB2->isChecked(), s.italic) << s.style;
        EXPECT_EQ(f.CB3->isChecked(), s.underline) << s.style;
        // Bits the dialog does not show come back as they were.
        EXPECT_EQ(f.Choice().fontStyle, s.style | 8);
        EXPECT_TRUE(f.RB1->isChecked());
        EXPECT_FALSE(f.SpeedButton2->isEnabled());
    }
}

TEST_F(ExprDialogs, HighlightBackgroundChoices)
{
    TfrHilightForm f;
    HighlightChoice in;
    in.fontColor = 0x0000FF;
    f.SetChoice(in);
    f.show();
    // "Autre" without a pick keeps the transparent value.
    f.RB2->click();
    EXPECT_TRUE(f.SpeedButton2->isEnabled());
    EXPECT_EQ(f.Choice().fillColor, platform::TColor(0x1FFFFFFF));
    // A cancelled colour dialog changes nothing; a picked colour is kept.
    f.SpeedButton2->click();
    EXPECT_EQ(f.Choice().fillColor, platform::TColor(0x1FFFFFFF));
    fakes->dialogs.colors.push_back(0x00FF00);
    f.SpeedButton2->click();
    EXPECT_EQ(f.Choice().fillColor, platform::TColor(0x00FF00));
    ASSERT_EQ(fakes->dialogs.colorRequests.size(), 2u);
    EXPECT_EQ(fakes->dialogs.colorRequests.back(), 0xFFFFFF);
    fakes->dialogs.colors.push_back(0x123456);
    f.SpeedButton1->click();
    ASSERT_EQ(fakes->dialogs.colorRequests.size(), 3u);
    EXPECT_EQ(fakes->dialogs.colorRequests.back(), 0x0000FF);
    EXPECT_EQ(f.Choice().fontColor, platform::TColor(0x123456));
    // "Transparent" goes back to no fill and greys the button.
    f.RB1->click();
    EXPECT_EQ(f.Choice().fillColor, platform::TColor(0x1FFFFFFF));
    EXPECT_FALSE(f.SpeedButton2->isEnabled());
    // An opaque background opens with "Autre".
    in.fillColor = 0x00FFFF;
    f.SetChoice(in);
    EXPECT_TRUE(f.RB2->isChecked());
    EXPECT_TRUE(f.SpeedButton2->isEnabled());
}

// The highlight of the selection through the designer: the dialog's values,
// and, once the command that applies them is there, the memos they reach.
QByteArray viewRecord(TfrView &view)
{
    report::FrMemoryStream s;
    view.SaveToStream(s);
    return s.data();
}

TEST_F(ExprDialogs, HighlightThroughTheDesigner)
{
    // The dialog opens on the top-most selected memo: Memo1, made last.
    auto pic = std::make_unique<TfrPictureView>();
    pic->ID = frObjects().frNextObjectID++;
    pic->Name = QStringLiteral("Picture1");
    pic->SetBounds(100, 10, 40, 40);
    TfrView *picture = page->Add(std::move(pic));
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 10, 40, 50, 20);
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 10, 10, 50, 20);
    m1->HighlightCondition = QStringLiteral("[Old]");
    m1->Highlight.FillColor = 0x1FFFFFFF;
    select({m1, m2, picture});

    const auto script = [](TfrHilightForm &f) {
        EXPECT_EQ(f.Edit1->currentText(), QStringLiteral("[Old]"));
        EXPECT_TRUE(f.RB1->isChecked());
        whenShown<TfrExprForm>([](TfrExprForm &b) {
            b.SetExpression(QStringLiteral("[Total] > 100"));
            b.OkB->click();
        });
        f.Edit1->Button()->OnClick();
        f.CB1->setChecked(false);
        f.CB2->setChecked(true);
        f.CB3->setChecked(true);
        shoot(f, "highlight.png");
        f.OkB->click();
    };
    HighlightChoice initial;
    initial.condition = m1->HighlightCondition;
    initial.fontColor = m1->Highlight.FontColor;
    initial.fillColor = m1->Highlight.FillColor;
    initial.fontStyle = m1->Highlight.FontStyle;
    fakes->dialogs.colors.push_back(0x0000FF);
    whenShown<TfrHilightForm>([&](TfrHilightForm &f) {
        f.SpeedButton1->click();
        script(f);
    });
    // The command writes what the dialog handed back into the memos only,
    // as one undo entry.
    const QByteArray pictureBefore = viewRecord(*picture);
    const int undoBefore = core->undo.count(UndoManager::UndoBuffer);
    AttributeCommands attributes(*core);
    EXPECT_EQ(attributes.highlightStart().condition, QStringLiteral("[Old]"));
    EXPECT_TRUE(attributes.applyHighlight());
    for (TfrMemoView *m : {m1, m2}) {
        EXPECT_EQ(m->HighlightCondition, QStringLiteral("[Total] > 100"));
        EXPECT_EQ(m->Highlight.FontColor, platform::TColor(0x0000FF));
        EXPECT_EQ(m->Highlight.FillColor, platform::TColor(0x1FFFFFFF));
        EXPECT_EQ(m->Highlight.FontStyle & 7, 5);
    }
    EXPECT_EQ(viewRecord(*picture), pictureBefore);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), undoBefore + 1);
    // Cancel hands nothing back.
    whenShown<TfrHilightForm>([](TfrHilightForm &f) {
        f.CB1->setChecked(true);
        f.CancelB->click();
    });
    EXPECT_EQ(core->state.Requests.highlight(initial), std::nullopt);
}

TEST_F(ExprDialogs, TagEditorNotifiesOnceThenSetsTheTag)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 20);
    m->Tag = QStringLiteral("ancien");
    whenShown<TfrAttrEditorForm>([](TfrAttrEditorForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Object tag"));
        EXPECT_EQ(f.Text(), QStringLiteral("ancien"));
        whenShown<TfrExprForm>([](TfrExprForm &b) {
            EXPECT_EQ(b.Expression(), QStringLiteral("ancien"));
            b.SetExpression(QStringLiteral("[Nom]"));
            b.OkB->click();
        });
        f.Edit1->Button()->OnClick();
        EXPECT_EQ(f.Text(), QStringLiteral("[Nom]"));
        f.OkB->click();
    });
    core->state.Requests.tagEditor(m);
    EXPECT_EQ(m->Tag, QStringLiteral("[Nom]"));
    EXPECT_EQ(designerWindow->beforeChanges, 1);

    whenShown<TfrAttrEditorForm>([](TfrAttrEditorForm &f) {
        f.SetText(QStringLiteral("autre"));
        f.CancelB->click();
    });
    core->state.Requests.tagEditor(m);
    EXPECT_EQ(m->Tag, QStringLiteral("[Nom]"));
    EXPECT_EQ(designerWindow->beforeChanges, 1);

    // An object that may not be modified opens no editor.
    m->Restrictions = 8;
    core->state.Requests.tagEditor(m);
    EXPECT_EQ(m->Tag, QStringLiteral("[Nom]"));
}

// The report options through the designer: the dialog's values, and, once
// the command that applies them is there, the report's option words.
TEST_F(ExprDialogs, ReportOptionsRoundTrip)
{
    ReportOptionsChoice initial;
    initial.printers = QStringList{QStringLiteral("Laser"), QStringLiteral("Imprimante virtuelle")};
    initial.printerIndex = 1;
    initial.selectAtLoad = true;
    initial.twoPass = false;
    int openedOn = -1;
    const auto script = [&openedOn](TfrDocOptForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Option de l'état"));
        EXPECT_EQ(f.CB1->text(), QStringLiteral("&Sélectionner au chargement"));
        ASSERT_GT(f.LB1->count(), 0);
        EXPECT_EQ(f.LB1->item(f.LB1->count() - 1)->text(), QStringLiteral("Imprimante virtuelle"));
        openedOn = f.LB1->currentRow();
        EXPECT_EQ(f.LB1->visualItemRect(f.LB1->item(0)).height(), 16);
        EXPECT_TRUE(f.CB1->isChecked());
        EXPECT_FALSE(f.CB2->isChecked());
        f.CB1->setChecked(false);
        f.CB2->setChecked(true);
        f.LB1->setCurrentRow(0);
        f.OkB->click();
    };
    // The dialog hands back what was ticked and chosen.
    whenShown<TfrDocOptForm>(script);
    const std::optional<ReportOptionsChoice> out = core->state.Requests.reportOptions(initial);
    ASSERT_TRUE(out);
    EXPECT_FALSE(out->selectAtLoad);
    EXPECT_TRUE(out->twoPass);
    EXPECT_EQ(std::tuple(out->printerIndex, out->printers), std::tuple(0, initial.printers));
    EXPECT_EQ(openedOn, 1);

    // The command stores it in the report and shows the page anew, after
    // Cancel too, which changes nothing.
    PageCommands pages(*core);
    const int printers = int(frObjects().frGlobalPrinter().Printers().size());
    whenShown<TfrDocOptForm>(script);
    size_t shown = view.shownPages.size();
    pages.ReportOptions();
    EXPECT_EQ(std::tuple(rep->KeepPrinter, rep->TwoPass), std::tuple(0xFFFF, 0xFFFF));
    if (printers > 1) {
        EXPECT_EQ(frObjects().frGlobalPrinter().PrinterIndex(), 0);
    }
    EXPECT_TRUE(designerWindow->IsModified());
    EXPECT_GT(view.shownPages.size(), shown);
    designerWindow->SetModified(false);
    whenShown<TfrDocOptForm>([](TfrDocOptForm &f) {
        f.CB1->setChecked(true);
        f.CB2->setChecked(false);
        f.CancelB->click();
    });
    shown = view.shownPages.size();
    pages.ReportOptions();
    EXPECT_EQ(std::tuple(rep->KeepPrinter, rep->TwoPass), std::tuple(0xFFFF, 0xFFFF));
    EXPECT_FALSE(designerWindow->IsModified());
    EXPECT_GT(view.shownPages.size(), shown);
    whenShown<TfrDocOptForm>([](TfrDocOptForm &f) {
        f.CB2->setChecked(true);
        f.CancelB->click();
    });
    EXPECT_EQ(core->state.Requests.reportOptions(initial), std::nullopt);
}

} // namespace
} // namespace designer::test
