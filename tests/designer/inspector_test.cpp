// The object inspector's rules without its window: the row conversions by
// kind, the rows listed for the selection or the page, and the edits applied
// back with the designer's and the objects' restrictions.
#include "tests/designer/designer_fixture.h"

#include "designer/core/inspectorlink.h"
#include "designer/core/inspectorprop.h"

#include "platform/text/exceptions.h"
#include "report/core/frstream.h"

#include <cmath>

namespace designer::test
{
namespace
{

using report::FrVariant;

TProp row(quint16 kind, const QStringList &names = {}, const QList<FrVariant> &values = {})
{
    TProp p;
    p.Kind = kind;
    p.ChoiceNames = names;
    p.ChoiceValues = values;
    return p;
}

class InspectorPropTest : public DesignerFixture
{
};

TEST_F(InspectorPropTest, ValuesAreWrittenByKind)
{
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    struct Case {
        TProp prop;
        FrVariant value;
        const char *text;
    } cases[] = {
        {row(propColor), FrVariant(0x00FF00), "clLime"},
        {row(propColor), FrVariant(0x123456), "$123456"},
        {row(propColor), FrVariant(0xFF), "clRed"},
        {row(propColor), FrVariant(int(0x80000018u)), "clInfoBk"},
        {row(propColor), FrVariant(int(0x80000030u)), "$80000030"},
        {row(propColor), FrVariant(0x1FFFFFFF), "clTransparent"},
        {row(propBoolean), FrVariant(true), "True"},
        {row(propBoolean), FrVariant(0), "False"},
        {row(propBoolean), FrVariant(7), "True"},
        {row(propFloat), FrVariant(10.0), "10,00"},
        {row(propFloat), FrVariant(3.14159), "3,14"},
        {row(propFloat), FrVariant(0.3937), "0,39"},
        {row(propFloat), FrVariant(QStringLiteral("2.5")), "2,50"},
        {row(propEnum, abc, {0, 1, 2}), FrVariant(1), "b"},
        // The last name of a repeated value wins; an unknown value stays.
        {row(propEnum, abc, {5, 5, 6}), FrVariant(5), "b"},
        {row(propEnum, abc, {0, 1, 2}), FrVariant(9), "9"},
        {row(propString), FrVariant(QStringLiteral("Bonjour")), "Bonjour"},
        {row(propInteger), FrVariant(), ""},
    };
    for (Case &c : cases) {
        c.prop.SetValue(c.value);
        EXPECT_EQ(c.prop.ValueText, QString::fromUtf8(c.text)) << c.text;
    }
    // More than four digits before the point: scientific notation.
    TProp big = row(propFloat);
    big.SetValue(FrVariant(123456.0));
    EXPECT_TRUE(big.ValueText.contains(QLatin1Char('E'))) << big.ValueText.toStdString();
}

TEST_F(InspectorPropTest, TextsAreReadByKind)
{
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    struct Case {
        TProp prop;
        const char *text;
        FrVariant value;
    } cases[] = {
        {row(propColor), "clred", FrVariant(0xFF)},
        {row(propColor), "$FF", FrVariant(255)},
        {row(propColor), "$80000018", FrVariant(int(0x80000018u))},
        {row(propColor), "CLINFOBK", FrVariant(int(0x80000018u))},
        {row(propBoolean), "yes", FrVariant(true)},
        {row(propBoolean), "TRUE", FrVariant(true)},
        {row(propBoolean), "0", FrVariant(false)},
        {row(propBoolean), "", FrVariant(false)},
        {row(propBoolean), "false", FrVariant(false)},
        {row(propFloat), "1,5", FrVariant(1.5)},
        {row(propFloat), "1.5", FrVariant(1.5)},
        {row(propInteger), "-42", FrVariant(-42)},
        {row(propEnum, abc, {10, 11, 12}), "b", FrVariant(11)},
        {row(propEnum, abc, {10, 11, 12}), "7", FrVariant(7)},
        // Without values an enumeration is its text.
        {row(propEnum, abc), "z", FrVariant(QStringLiteral("z"))},
        {row(propString | propInteger), "12a", FrVariant(QStringLiteral("12a"))},
    };
    for (Case &c : cases) {
        c.prop.ValueText = QString::fromUtf8(c.text);
        EXPECT_TRUE(c.prop.Value().identical(c.value)) << c.text;
    }
    EXPECT_TRUE(row(0).Value().isUnassigned());
}

TEST_F(InspectorPropTest, UnreadableTextsRaiseTheConversionError)
{
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b")};
    const struct {
        quint16 kind;
        const char *text;
    } cases[] = {
        {propInteger, "12a"},
        {propInteger, "99999999999"},
        {propInteger, "1e400"},
        {propInteger, ""},
        {propFloat, "12a"},
        {propFloat, "1e400"},
        {propFloat, ""},
        {propColor, "12a"},
        {propColor, "$FFFFFFFFFF"},
        {propColor, "clNothing"},
        {propColor, ""},
        {propEnum, "12a"},
        {propEnum, ""},
    };
    for (const auto &c : cases) {
        TProp p =
            row(c.kind, abc, c.kind == propEnum ? QList<FrVariant>{0, 1} : QList<FrVariant>{});
        p.ValueText = QString::fromUtf8(c.text);
        EXPECT_THROW(p.Value(), platform::EConvertError) << c.kind << " " << c.text;
    }
}

class InspectorLinkTest : public DesignerFixture
{
protected:
    InspectorLink link() { return InspectorLink(*core); }
    TPropList rows;

    QString valueOf(const QString &name)
    {
        const int i = rows.indexOf(name);
        return i < 0 ? QStringLiteral("<absent>") : rows.Prop(i).ValueText;
    }
    // Types text into a row and hands it to the designer, as a commit does.
    bool edit(const QString &name, const QString &text)
    {
        link().Fill(rows);
        const int i = rows.indexOf(name);
        EXPECT_GE(i, 0) << name.toStdString();
        if (i < 0)
            return false;
        rows.Prop(i).ValueText = text;
        return link().PropertyModified(rows, i);
    }
    vorn_test::ScriptedDialogs &dialogs() { return fakes->dialogs; }
};

TEST_F(InspectorLinkTest, SeveralObjectsListTheirCommonPropertiesWithSharedValues)
{
    auto *m = memo(QStringLiteral("Memo1"), 10, 20, 100, 18);
    auto pic = std::make_unique<report::TfrPictureView>();
    pic->ID = report::frObjects().frNextObjectID++;
    pic->Name = QStringLiteral("Picture1");
    pic->SetBounds(50, 20, 60, 40);
    report::TfrView *p = page->Add(std::move(pic));

    select({m});
    link().Fill(rows);
    EXPECT_EQ(std::tuple(rows.InspectedObject, rows.InspectedObjectName, rows.InspectedClassName),
              std::tuple(m, QStringLiteral("Memo1"), QStringLiteral("TfrMemoView")));
    EXPECT_EQ(valueOf(QStringLiteral("Memo")), QStringLiteral("(Memo)"));
    EXPECT_EQ(valueOf(QStringLiteral("Name")), QStringLiteral("Memo1"));
    EXPECT_NE(valueOf(QStringLiteral("Font")), QStringLiteral("<absent>"));
    EXPECT_EQ(valueOf(QStringLiteral("Flags")), QStringLiteral("<absent>")); // kind 0

    select({m, p});
    link().Fill(rows);
    EXPECT_EQ(rows.InspectedObject, nullptr);
    EXPECT_TRUE(rows.InspectedObjectName.isEmpty());
    // One-object rows and rows of only one of them are gone.
    for (const char *gone : {"Name", "Memo", "Tag", "Font", "Picture", "DataField"})
        EXPECT_EQ(valueOf(QString::fromLatin1(gone)), QStringLiteral("<absent>")) << gone;
    EXPECT_EQ(valueOf(QStringLiteral("Top")), QStringLiteral("20"));
    EXPECT_EQ(valueOf(QStringLiteral("Left")), QString());
    EXPECT_EQ(valueOf(QStringLiteral("Visible")), QStringLiteral("True"));
    EXPECT_EQ(rows.Prop(rows.indexOf(QStringLiteral("Left"))).Kind, propSize | propInteger);
}

TEST_F(InspectorLinkTest, SizesAreShownAndTypedInTheDesignersUnits)
{
    auto *m = memo(QStringLiteral("Memo1"), 36, 18, 72, 18);
    select({m});
    core->state.Settings.Units = 1;
    link().Fill(rows);
    EXPECT_EQ(valueOf(QStringLiteral("Left")), QStringLiteral("10,00"));
    EXPECT_EQ(rows.Prop(rows.indexOf(QStringLiteral("Left"))).Kind, propSize | propFloat);
    EXPECT_EQ(valueOf(QStringLiteral("Width")), QStringLiteral("20,00"));
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("20")));
    EXPECT_EQ(m->x, 72);
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("10")));
    EXPECT_EQ(m->x, 36);

    core->state.Settings.Units = 2;
    link().Fill(rows);
    EXPECT_EQ(valueOf(QStringLiteral("Left")), QStringLiteral("0,39"));
    EXPECT_TRUE(edit(QStringLiteral("Top"), QStringLiteral("0.5")));
    EXPECT_EQ(m->y, 46); // 12.7 mm at 3.6 pixels a millimetre: 45.72

    // Absurd values stay within the range kept for files, without overflow.
    core->state.Settings.Units = 1;
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("1e9")));
    EXPECT_EQ(m->x, report::kFrMaxGeometry);
    EXPECT_TRUE(edit(QStringLiteral("Width"), QStringLiteral("-1e300")));
    EXPECT_EQ(m->dx, -report::kFrMaxGeometry);
}

TEST_F(InspectorLinkTest, NewLeftMovesEverySelectedObjectButTheOneThatMayNotMove)
{
    auto *a = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    auto *b = memo(QStringLiteral("Memo2"), 20, 40, 50, 18);
    auto *c = memo(QStringLiteral("Memo3"), 30, 70, 50, 18);
    b->Restrictions = frrfDontMove;
    c->Restrictions = frrfDontSize;
    select({a, b, c});
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("100")));
    EXPECT_EQ(a->x, 100);
    EXPECT_EQ(b->x, 20);
    EXPECT_EQ(c->x, 100);
    EXPECT_EQ(undoCount(), 1);
    EXPECT_TRUE(edit(QStringLiteral("Width"), QStringLiteral("80")));
    EXPECT_EQ(a->dx, 80);
    EXPECT_EQ(b->dx, 80);
    EXPECT_EQ(c->dx, 50);
    // Undo brings the first edit's places back.
    core->Undo();
    core->Undo();
    EXPECT_EQ(page->Object(0)->x, 10);

    // The designer's own restrictions.
    select({page->Object(0)});
    report::frObjects().frDesignerRestrictions = 1 << drNoMove;
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("5")));
    EXPECT_EQ(page->Object(0)->x, 10);
    report::frObjects().frDesignerRestrictions = 1 << drNoAttributeChange;
    const QByteArray before = saved();
    const int entries = undoCount();
    EXPECT_FALSE(edit(QStringLiteral("Top"), QStringLiteral("5")));
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(undoCount(), entries);
}

TEST_F(InspectorLinkTest, NamesMustBeUniqueNotBlankAndChildBandsFollow)
{
    auto *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    memo(QStringLiteral("Memo2"), 10, 40, 50, 18);
    auto *other = rep->Pages().Add();
    other->Name = QStringLiteral("Page2");
    memo(QStringLiteral("Memo9"), 10, 40, 50, 18, other);
    select({m});
    const QByteArray before = saved();
    for (const char *refused : {"Memo2", "memo9", "", "   "}) {
        EXPECT_FALSE(edit(QStringLiteral("Name"), QString::fromUtf8(refused))) << refused;
        EXPECT_EQ(m->Name, QStringLiteral("Memo1"));
    }
    EXPECT_EQ(undoCount(), 0);
    EXPECT_EQ(saved(), before);
    // Its own name in another case is no collision.
    EXPECT_TRUE(edit(QStringLiteral("Name"), QStringLiteral("MEMO1")));
    EXPECT_EQ(m->Name, QStringLiteral("MEMO1"));
    m->Restrictions = frrfDontModify;
    EXPECT_FALSE(edit(QStringLiteral("Name"), QStringLiteral("Autre")));

    auto *master = band(report::btMasterData, 100, 20, QStringLiteral("MasterData1"));
    auto *child = band(report::btChild, 140, 20, QStringLiteral("Child1"));
    auto *header = band(report::btPageHeader, 0, 20, QStringLiteral("PageHeader1"));
    master->ChildBand = QStringLiteral("Child1");
    header->ChildBand = QStringLiteral("child1");
    // A band of another page names a child band of its own page.
    auto *elsewhere = band(report::btMasterData, 0, 20, QStringLiteral("MasterData9"), other);
    elsewhere->ChildBand = QStringLiteral("Child1");
    select({child});
    core->surface.Draw(10000, std::nullopt); // bands settle their frame when drawn
    const QByteArray beforeRename = saved();
    EXPECT_TRUE(edit(QStringLiteral("Name"), QStringLiteral("Suite")));
    EXPECT_EQ(master->ChildBand, QStringLiteral("Suite"));
    EXPECT_EQ(header->ChildBand, QStringLiteral("Suite"));
    EXPECT_EQ(elsewhere->ChildBand, QStringLiteral("Child1"));
    // One undo takes the rename back with the links that followed it.
    auto links = [&] { return QStringList{child->Name, master->ChildBand, header->ChildBand}; };
    core->Undo();
    EXPECT_EQ(links(), QStringList({"Child1", "Child1", "child1"}));
    EXPECT_EQ(saved(), beforeRename);
    core->Redo();
    EXPECT_EQ(links(), QStringList({"Suite", "Suite", "Suite"}));
    // The band's choice lists its child band by the new name.
    select({master});
    link().Fill(rows);
    EXPECT_EQ(valueOf(QStringLiteral("ChildBand")), QStringLiteral("Suite"));

    // A group names its data band: renaming the data band keeps the group on
    // it, and Undo gives back both names.
    auto *group = band(report::btGroupHeader, 60, 20, QStringLiteral("GroupHeader1"));
    group->Master = QStringLiteral("masterdata1");
    core->surface.Draw(10000, std::nullopt);
    const QByteArray beforeMasterRename = saved();
    select({master});
    EXPECT_TRUE(edit(QStringLiteral("Name"), QStringLiteral("Donnees")));
    EXPECT_EQ(group->Master, QStringLiteral("Donnees"));
    core->Undo();
    EXPECT_EQ(saved(), beforeMasterRename);
}

TEST_F(InspectorLinkTest, UnreadableValuesAreRefusedBeforeAnythingChanges)
{
    auto *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    select({m});
    const QByteArray before = saved();
    const struct {
        const char *row;
        const char *text;
    } cases[] = {
        {"Left", "12a"},
        {"Left", "99999999999"},
        {"Left", "1e400"},
        {"Left", ""},
        {"FrameWidth", "12a"},
        {"FrameWidth", "1e400"},
        {"FrameWidth", ""},
        {"FillColor", "12a"},
        {"FillColor", "$FFFFFFFFFF"},
        {"FillColor", "clNothing"},
        {"FillColor", ""},
        {"FrameStyle", "12a"},
        {"FrameStyle", ""},
        {"FrameTyp", "99999999999"},
    };
    for (const auto &c : cases) {
        const size_t shown = dialogs().messages.size();
        EXPECT_FALSE(edit(QString::fromLatin1(c.row), QString::fromUtf8(c.text)))
            << c.row << " " << c.text;
        ASSERT_EQ(dialogs().messages.size(), shown + 1) << c.row << " " << c.text;
        const platform::MessageRequest &msg = dialogs().messages.back();
        EXPECT_EQ(msg.type, platform::mtError);
        EXPECT_EQ(platform::messageCaption(msg.type), QStringLiteral("Erreur"));
        EXPECT_TRUE(msg.text.contains(QString::fromUtf8(c.text))) << msg.text.toStdString();
    }
    EXPECT_EQ(undoCount(), 0);
    EXPECT_EQ(saved(), before);
    // The row shows the object's value again once refilled.
    link().Fill(rows);
    EXPECT_EQ(valueOf(QStringLiteral("Left")), QStringLiteral("10"));
}

TEST_F(InspectorLinkTest, NothingSelectedShowsAndEditsThePage)
{
    memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    auto *second = rep->Pages().Add();
    second->Name = QStringLiteral("Page2");
    core->state.UnselectAll();
    link().Fill(rows);
    EXPECT_EQ(rows.InspectedObject, page);
    EXPECT_EQ(rows.InspectedObjectName, QStringLiteral("Page1"));
    EXPECT_EQ(valueOf(QStringLiteral("Orientation")), QStringLiteral("poPortrait"));
    EXPECT_EQ(valueOf(QStringLiteral("OnBeforePrint")), QStringLiteral("(OnBeforePrint)"));
    EXPECT_EQ(link().ObjectList().join(u','), QStringLiteral("Memo1,Page1,Page2"));
    link().ObjectSelected(QStringLiteral("Page2"));
    ASSERT_FALSE(view.shownPages.empty());
    EXPECT_EQ(view.shownPages.back(), 1);
    link().ObjectSelected(QStringLiteral("Memo1"));
    EXPECT_TRUE(page->Object(0)->Selected);

    // What no page can be is refused naming the field, in the units shown,
    // before anything is stored.
    core->state.UnselectAll();
    const struct {
        int units;
        const char *row, *text, *what;
    } refused[] = {
        {0, "Width", "2147483647", "la largeur du papier : de 1 à 10 000 mm"},
        {1, "Height", "0,5", "la hauteur du papier : de 1 à 10 000 mm"},
        {1, "Width", "1e300", "la largeur du papier : de 1 à 10 000 mm"},
        {2, "LeftMargin", "-1", "la marge gauche : de 0 à 10 000 mm"},
        {1, "ColumnGap", "10001", "l'écart entre colonnes : de 0 à 10 000 mm"},
        {0, "Columns", "2147483647", "le nombre de colonnes : de 0 à 999"},
        {0, "Columns", "-1", "le nombre de colonnes : de 0 à 999"},
    };
    const QByteArray before = saved();
    for (const auto &c : refused) {
        SCOPED_TRACE(c.text);
        core->state.Settings.Units = c.units;
        EXPECT_FALSE(edit(QString::fromLatin1(c.row), QString::fromLatin1(c.text)));
        ASSERT_FALSE(dialogs().messages.empty());
        EXPECT_EQ(dialogs().messages.back().text,
                  QStringLiteral("'%1' n'est pas une valeur correcte pour %2")
                      .arg(QString::fromLatin1(c.text), QString::fromUtf8(c.what)));
    }
    EXPECT_EQ(saved(), before);
    EXPECT_FALSE(designerWindow->modified);
    core->state.Settings.Units = 1;
    EXPECT_TRUE(edit(QStringLiteral("ColumnGap"), QStringLiteral("10000")));
    EXPECT_EQ(page->ColumnGap, 36000);
    core->state.Settings.Units = 0;
    EXPECT_TRUE(edit(QStringLiteral("Columns"), QStringLiteral("2")));
    EXPECT_EQ(page->Columns, 2);
    EXPECT_TRUE(designerWindow->modified);
    report::frObjects().frDesignerRestrictions = 1 << drNoPageOptions;
    EXPECT_FALSE(edit(QStringLiteral("Columns"), QStringLiteral("3")));
    EXPECT_EQ(page->Columns, 2);
}

TEST_F(InspectorLinkTest, ChangingThePageTypeAsksThenDeletesObjectsAndForgetsUndo)
{
    auto *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    select({m});
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("30")));
    EXPECT_TRUE(edit(QStringLiteral("Left"), QStringLiteral("40")));
    core->Undo();
    ASSERT_EQ(undoCount(), 1);
    ASSERT_EQ(core->undo.count(UndoManager::RedoBuffer), 1);
    core->state.UnselectAll();

    dialogs().answers.push_back(platform::mrNo);
    EXPECT_FALSE(edit(QStringLiteral("Type"), QStringLiteral("ptDialog")));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    const platform::MessageRequest &ask = dialogs().messages.back();
    EXPECT_EQ(std::tuple(ask.text, ask.caption, ask.type),
              std::tuple(QStringLiteral("Ceci supprimera tous les objets de cette page."),
                         QStringLiteral("Attention"), platform::mtWarning));
    EXPECT_EQ(ask.buttons, platform::mbYes | platform::mbNo);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(page->PageTypeValue, report::ptReport);
    EXPECT_EQ(undoCount(), 1);

    dialogs().answers.push_back(platform::mrYes);
    EXPECT_TRUE(edit(QStringLiteral("Type"), QStringLiteral("ptDialog")));
    EXPECT_EQ(page->ObjectCount(), 0);
    EXPECT_EQ(page->PageTypeValue, report::ptDialog);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
    EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 0);
    // An undo now has nothing to bring back.
    core->Undo();
    EXPECT_EQ(page->ObjectCount(), 0);
    // The dialog page lists its own properties, sizes in pixels.
    link().Fill(rows);
    EXPECT_EQ(valueOf(QStringLiteral("Caption")), QStringLiteral("Form"));
    EXPECT_EQ(valueOf(QStringLiteral("Size")), QStringLiteral("<absent>"));
}

} // namespace
} // namespace designer::test
