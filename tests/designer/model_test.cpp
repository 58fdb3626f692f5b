// Page and model commands of the designer core: removing pages, selecting by
// name, the pickers' results, the page tabs' texts and which commands a
// window offers.
#include "tests/designer/designer_fixture.h"

#include <array>

namespace designer::test
{

using namespace report;

class ModelTest : public DesignerFixture
{
protected:
    // Objects carry IDs as the object factory gives them.
    TfrMemoView *memo(const QString &name, int x, int y, int dx, int dy, TfrPage *on = nullptr)
    {
        TfrMemoView *v = DesignerFixture::memo(name, x, y, dx, dy, on);
        v->ID = frObjects().frNextObjectID++;
        return v;
    }
    // Three pages in all; the designer stays on the first.
    void threePages()
    {
        rep->Pages().Add()->Name = QStringLiteral("Page2");
        rep->Pages().Add()->Name = QStringLiteral("Page3");
    }
    TfrSubReportView *subreport(TfrPage *on, const QString &name, int target)
    {
        auto v = std::make_unique<TfrSubReportView>();
        v->Name = name;
        v->SubPage = target;
        v->SetBounds(10, 10, 50, 50);
        v->ID = frObjects().frNextObjectID++;
        return static_cast<TfrSubReportView *>(on->Add(std::move(v)));
    }
    QStringList subreportsOf(TfrPage *p)
    {
        QStringList out;
        for (const auto &v : p->Objects)
            if (auto *s = dynamic_cast<TfrSubReportView *>(v.get()))
                out << QStringLiteral("%1>%2").arg(s->Name).arg(s->SubPage);
        return out;
    }
    // One undo and one redo entry, so that clearing them shows.
    void fillBothBuffers(TfrView *v)
    {
        core->undo.ClearUndoBuffer();
        core->undo.ClearRedoBuffer();
        select({v});
        core->undo.RecordUndo(ukEdited);
        core->undo.RecordUndo(ukEdited);
        core->undo.ApplyUndoEntry(UndoManager::UndoBuffer);
        ASSERT_EQ(core->undo.count(UndoManager::UndoBuffer), 1);
        ASSERT_EQ(core->undo.count(UndoManager::RedoBuffer), 1);
    }
};

TEST_F(ModelTest, RemovingAMiddlePageRenumbersTheSubreportsThatShowLaterPages)
{
    threePages();
    TfrPage *third = rep->Pages()[2];
    subreport(page, QStringLiteral("ShowsSecond"), 1);
    subreport(page, QStringLiteral("ShowsThird"), 2);
    subreport(third, QStringLiteral("ShowsFirst"), 0);
    memo(QStringLiteral("Memo1"), 0, 0, 10, 10, rep->Pages()[1]);
    fillBothBuffers(memo(QStringLiteral("Memo2"), 0, 0, 10, 10));
    designerWindow->modified = false;

    core->RemovePage(1);

    ASSERT_EQ(rep->Pages().Count(), 2);
    EXPECT_EQ(rep->Pages()[0], page);
    EXPECT_EQ(rep->Pages()[1], third);
    EXPECT_EQ(subreportsOf(page), QStringList{QStringLiteral("ShowsThird>1")});
    EXPECT_EQ(subreportsOf(third), QStringList{QStringLiteral("ShowsFirst>0")});
    EXPECT_EQ(core->pageTabTexts(),
              (QStringList{QStringLiteral("ShowsFirst"), QStringLiteral("ShowsThird")}));
    EXPECT_EQ(view.shownPages, std::vector<int>{0});
    EXPECT_GE(view.tabChanges, 1);
    EXPECT_TRUE(designerWindow->modified);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
    EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 0);
}

TEST_F(ModelTest, RemovingTheShownPageLeavesNoPointerToIt)
{
    threePages();
    designerWindow->Page = rep->Pages()[2];
    core->RemovePage(2);
    EXPECT_EQ(rep->Pages().Count(), 2);
    EXPECT_EQ(designerWindow->Page, nullptr);
    EXPECT_EQ(view.shownPages, std::vector<int>{0});
}

TEST_F(ModelTest, TheOnlyPageIsClearedInsteadOfRemoved)
{
    memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    TfrView *m2 = memo(QStringLiteral("Memo2"), 20, 0, 10, 10);
    fillBothBuffers(m2);
    designerWindow->modified = false;

    core->RemovePage(0);

    ASSERT_EQ(rep->Pages().Count(), 1);
    EXPECT_EQ(rep->Pages()[0], page);
    EXPECT_EQ(page->ObjectCount(), 0);
    EXPECT_EQ(core->state.SelectedCount, 0);
    EXPECT_EQ(core->state.LastSelected(), nullptr);
    EXPECT_TRUE(designerWindow->modified);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
    EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 0);
}

TEST_F(ModelTest, RemovePageRefusedByTheRestrictionOrOutOfRange)
{
    threePages();
    subreport(page, QStringLiteral("ShowsSecond"), 1);
    TfrView *m = memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    fillBothBuffers(m);
    designerWindow->modified = false;

    // Deleting pages forbidden: nothing at all, not even the buffers.
    frObjects().frDesignerRestrictions = 1 << drNoDeletePage;
    core->RemovePage(1);
    EXPECT_EQ(rep->Pages().Count(), 3);
    EXPECT_EQ(subreportsOf(page), QStringList{QStringLiteral("ShowsSecond>1")});
    EXPECT_TRUE(view.shownPages.empty());
    EXPECT_FALSE(designerWindow->modified);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 1);
    EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 1);

    // Out of range: only the buffers go.
    frObjects().frDesignerRestrictions = 0;
    for (int n : {-1, 3, 99}) {
        fillBothBuffers(m);
        designerWindow->modified = false;
        core->RemovePage(n);
        EXPECT_FALSE(designerWindow->modified) << n;
        EXPECT_EQ(rep->Pages().Count(), 3) << n;
        EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0) << n;
        EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 0) << n;
    }
    EXPECT_TRUE(view.shownPages.empty());
}

TEST_F(ModelTest, APreparedPageDesignerRemovesNoPage)
{
    FrCountingDesigner prepared(0);
    prepared.Page = page;
    FakeView otherView;
    DesignerCore other(prepared, otherView);
    memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    other.RemovePage(0);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_FALSE(prepared.modified);
}

TEST_F(ModelTest, SelectByNameSelectsAnObjectOrShowsAPageInRange)
{
    threePages();
    TfrView *m1 = memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    TfrView *m2 = memo(QStringLiteral("Memo2"), 20, 0, 10, 10);
    select({m1});

    core->SelectByName(QStringLiteral("memo2"));
    EXPECT_FALSE(m1->Selected);
    EXPECT_TRUE(m2->Selected);
    EXPECT_EQ(core->state.SelectedCount, 1);
    EXPECT_EQ(core->state.LastSelected(), m2);

    for (const char *name : {"PageX", "Page0", "Page9", "Page", "Page-1", "Nothing"})
        EXPECT_NO_THROW(core->SelectByName(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(view.shownPages.empty());
    EXPECT_TRUE(m2->Selected);

    core->SelectByName(QStringLiteral("Page2"));
    core->SelectByName(QStringLiteral("Page3"));
    EXPECT_EQ(view.shownPages, (std::vector<int>{1, 2}));
}

TEST_F(ModelTest, AnObjectNamedLikeAPageIsSelectedRatherThanThePageShown)
{
    threePages();
    TfrView *m = memo(QStringLiteral("Page2"), 0, 0, 10, 10);
    core->SelectByName(QStringLiteral("Page2"));
    EXPECT_TRUE(m->Selected);
    EXPECT_TRUE(view.shownPages.empty());
}

TEST_F(ModelTest, PickedExpressionsAndFieldsBecomeOneReference)
{
    EXPECT_EQ(DesignerCore::PickExpressionResult(QStringLiteral("[a]")), QStringLiteral("[a]"));
    EXPECT_EQ(DesignerCore::PickExpressionResult(QStringLiteral("[a]+[b]")),
              QStringLiteral("[[a]+[b]]"));
    EXPECT_EQ(DesignerCore::PickExpressionResult(QStringLiteral("x")), QStringLiteral("[x]"));
    EXPECT_EQ(DesignerCore::PickExpressionResult(QStringLiteral("[a] + 1")),
              QStringLiteral("[[a] + 1]"));
    EXPECT_EQ(DesignerCore::PickExpressionResult(QString()), QString());

    EXPECT_EQ(DesignerCore::PickDataFieldResult(QStringLiteral("Clients.\"Nom\"")),
              QStringLiteral("[Clients.\"Nom\"]"));
    EXPECT_EQ(DesignerCore::PickDataFieldResult(QString()), QString());
    EXPECT_EQ(DesignerCore::PickDataFieldResult(std::nullopt), QString());

    // Over the slots: unset or cancelled gives nothing.
    EXPECT_EQ(core->PickExpression(), QString());
    EXPECT_EQ(core->PickDataField(), QString());
    core->state.Requests.expressionBuilder = [] { return std::optional<QString>(); };
    core->state.Requests.fieldPicker = [] { return std::optional<QString>(); };
    EXPECT_EQ(core->PickExpression(), QString());
    EXPECT_EQ(core->PickDataField(), QString());
    core->state.Requests.expressionBuilder = [] { return std::optional(QStringLiteral("Total")); };
    core->state.Requests.fieldPicker = [] { return std::optional(QStringLiteral("Nom")); };
    EXPECT_EQ(core->PickExpression(), QStringLiteral("[Total]"));
    EXPECT_EQ(core->PickDataField(), QStringLiteral("[Nom]"));
}

TEST_F(ModelTest, PageTabsTakeSubreportNamesAndIgnoreTargetsOutsideThePages)
{
    threePages();
    subreport(page, QStringLiteral("Below"), -1);
    subreport(page, QStringLiteral("Beyond"), 99);
    subreport(page, QStringLiteral("Details"), 1);
    subreport(rep->Pages()[2], QStringLiteral("SecondName"), 1);
    EXPECT_EQ(core->pageTabTexts(), (QStringList{QStringLiteral("Page1"), QStringLiteral("Details"),
                                                 QStringLiteral("Page3")}));
}

TEST_F(ModelTest, TheFieldsWindowOpensOnReportPagesOfADesignedReportOnly)
{
    int shown = 0;
    core->state.Requests.dbFieldsShow = [&] { ++shown; };
    core->ShowDBFieldsWindow();
    EXPECT_EQ(shown, 1);
    page->PageTypeValue = ptDialog;
    core->ShowDBFieldsWindow();
    EXPECT_EQ(shown, 1);
    page->PageTypeValue = ptReport;

    FrCountingDesigner prepared(0);
    prepared.Page = page;
    FakeView otherView;
    DesignerCore other(prepared, otherView);
    other.state.Requests.dbFieldsShow = [&] { ++shown; };
    other.ShowDBFieldsWindow();
    EXPECT_EQ(shown, 1);
}

// Which restriction bit takes each command away, and whether the command
// exists at all when one prepared page is edited.
struct CommandRule {
    const char *name;
    bool Availability::*field;
    int bit; // -1: no bit
    bool designOnly;
};

const std::array<CommandRule, 12> kCommandRules{{
    {"new", &Availability::newReport, drNoNewReport, true},
    {"preview", &Availability::preview, drNoPreview, true},
    {"band tool", &Availability::bandTool, -1, true},
    {"subreport tool", &Availability::subreportTool, -1, true},
    {"open", &Availability::open, drNoOpenReport, true},
    {"save", &Availability::save, drNoSaveReport, false},
    {"add page", &Availability::addPage, drNoAddPage, true},
    {"delete page", &Availability::deletePage, drNoDeletePage, true},
    {"page options", &Availability::pageOptions, drNoPageOptions, false},
    {"add dialog page", &Availability::addDialogPage, drNoAddPage, true},
    {"dictionary", &Availability::dictionary, drNoDictionary, false},
    {"report options", &Availability::reportOptions, drNoReportOptions, false},
}};

TEST(DesignerAvailability, EachRestrictionBitInEachModeTakesAwayOnlyItsCommands)
{
    for (int mode : {0, 1})
        for (int bit = -1; bit <= 14; ++bit) {
            const quint16 restrictions = bit < 0 ? 0 : quint16(1u << bit);
            const Availability a = computeAvailability(mode, restrictions, false);
            for (const CommandRule &rule : kCommandRules) {
                const bool expected =
                    (mode == 1 || !rule.designOnly) && (rule.bit < 0 || rule.bit != bit);
                EXPECT_EQ(a.*rule.field, expected)
                    << rule.name << " in mode " << mode << " with bit " << bit;
            }
        }
}

TEST(DesignerAvailability, ACompositeReportHasNoPreviewAndEveryBitTogetherLeavesOnlyTheTools)
{
    const Availability composite = computeAvailability(1, 0, true);
    EXPECT_FALSE(composite.preview);
    EXPECT_TRUE(composite.newReport);
    EXPECT_TRUE(composite.open);

    const Availability none = computeAvailability(1, 0x7FFF, false);
    for (const CommandRule &rule : kCommandRules)
        EXPECT_EQ(none.*rule.field, rule.bit < 0) << rule.name;
}

} // namespace designer::test
