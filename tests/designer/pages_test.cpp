// The designer's page, order and report commands: order of objects, fit to
// the grid, pages added, removed and moved, page and report options, the
// variables, and the object items of the surface's popup.
#include "tests/designer/designer_fixture.h"

#include "designer/core/pagecommands.h"
#include "platform/dialogs/dialogs.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frpopupmenu.h"
#include "report/objects/frprinterinfo.h"

namespace designer::test
{

using namespace report;

class PagesTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        pages = installPageCommands(*core);
    }
    void TearDown() override
    {
        pages.reset();
        DesignerFixture::TearDown();
    }
    void run(const char *handler)
    {
        core->state.Requests.commands.at(QString::fromLatin1(handler))();
    }
    QStringList names() const
    {
        QStringList out;
        for (const auto &v : core->state.page()->Objects)
            out << v->Name;
        return out;
    }
    TfrPage *addPage(const QString &name)
    {
        TfrPage *p = rep->Pages().Add();
        p->Name = name;
        return p;
    }
    TfrSubReportView *subreport(TfrPage *on, int target)
    {
        auto v = std::make_unique<TfrSubReportView>();
        v->ID = frObjects().frNextObjectID++;
        v->Name = QStringLiteral("SousEtat%1").arg(on->ObjectCount() + 1);
        v->SubPage = target;
        return static_cast<TfrSubReportView *>(on->Add(std::move(v)));
    }
    vorn_test::ScriptedDialogs &dialogs() { return fakes->dialogs; }

    std::shared_ptr<PageCommands> pages;
};

TEST_F(PagesTest, BringToFrontAndSendToBackKeepTheSelectedOrder)
{
    TfrMemoView *m1 = memo(QStringLiteral("M1"), 0, 0, 10, 10);
    memo(QStringLiteral("M2"), 0, 0, 10, 10);
    TfrMemoView *m3 = memo(QStringLiteral("M3"), 0, 0, 10, 10);
    TfrMemoView *m4 = memo(QStringLiteral("M4"), 0, 0, 10, 10);
    TfrBandView *b = band(btMasterData, 100, 40, QStringLiteral("Donnees"));
    core->state.SortObjects();

    select({m1, m3});
    run("ZB1Click");
    EXPECT_EQ(names().join(u','), QStringLiteral("Donnees,M2,M4,M1,M3"));
    select({m1, m4});
    run("ZB2Click");
    EXPECT_EQ(names().join(u','), QStringLiteral("Donnees,M4,M1,M2,M3"));
    // A band selected with them stays before every other object.
    select({m3, b});
    run("ZB2Click");
    EXPECT_EQ(names().front(), QStringLiteral("Donnees"));
    EXPECT_EQ(names()[1], QStringLiteral("M3"));

    // "Don't move" stays where it is; the others go.
    m4->Restrictions = frrfDontMove;
    select({m4, m3});
    run("ZB1Click");
    EXPECT_EQ(names().join(u','), QStringLiteral("Donnees,M4,M1,M2,M3"));

    // Each change is one step back.
    for (int i = 0; i < 4; ++i)
        core->Undo();
    EXPECT_EQ(names(),
              QStringList({QStringLiteral("Donnees"), QStringLiteral("M1"), QStringLiteral("M2"),
                           QStringLiteral("M3"), QStringLiteral("M4")}));
}

TEST_F(PagesTest, FitToGridRoundsHalfToEvenAndNeverLeavesASizeOfZero)
{
    struct Case {
        int grid;
        QRect before; // x, y, width, height
        QRect after;
    };
    const Case cases[] = {
        {8, {13, 5, 3, 20}, {16, 8, 8, 16}},
        {4, {6, 2, 1, 10}, {8, 0, 4, 8}},
        {8, {-13, 4, 12, 4}, {-16, 0, 16, 8}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.grid);
        page->Clear();
        core->undo.ClearUndoBuffer();
        core->state.Settings.GridSize = c.grid;
        TfrMemoView *m = memo(QStringLiteral("Memo1"), c.before.x(), c.before.y(), c.before.width(),
                              c.before.height());
        TfrMemoView *other = memo(QStringLiteral("Memo2"), 13, 13, 13, 13);
        select({m});
        run("GB3Click");
        EXPECT_EQ(QRect(m->x, m->y, m->dx, m->dy), c.after);
        EXPECT_EQ(QRect(other->x, other->y, other->dx, other->dy), QRect(13, 13, 13, 13));
        core->Undo();
        m = static_cast<TfrMemoView *>(page->FindObject(QStringLiteral("Memo1")));
        ASSERT_TRUE(m);
        EXPECT_EQ(QRect(m->x, m->y, m->dx, m->dy), c.before);
    }
}

TEST_F(PagesTest, AnAddedPageStaysOnlyWhenItsOptionsAreConfirmed)
{
    int asked = 0;
    bool confirm = false;
    core->state.Requests.pageOptions = [&] {
        ++asked;
        // The dialog works on the new page.
        EXPECT_NE(core->state.page(), page);
        EXPECT_EQ(core->state.page(), rep->Pages()[1]);
        return confirm;
    };
    run("PgB1Click");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rep->Pages().Count(), 1);
    EXPECT_EQ(core->state.page(), page);
    EXPECT_FALSE(rep->Modified);

    confirm = true;
    run("PgB1Click");
    ASSERT_EQ(rep->Pages().Count(), 2);
    EXPECT_EQ(rep->Pages()[1]->Name, QStringLiteral("Page2"));
    EXPECT_EQ(core->state.CurPage, 1);
    EXPECT_EQ(view.shownPages.back(), 1);
    EXPECT_TRUE(rep->Modified);

    // A dialog page needs no options.
    run("PgB4Click");
    ASSERT_EQ(rep->Pages().Count(), 3);
    EXPECT_EQ(rep->Pages()[2]->PageType(), int(ptDialog));
    EXPECT_EQ(core->state.CurPage, 2);
    EXPECT_EQ(asked, 2);
}

TEST_F(PagesTest, DeletingAPageAsksAndTheLastPageStays)
{
    memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    run("PgB2Click");
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(rep->Pages().Count(), 1);
    EXPECT_EQ(page->ObjectCount(), 1);

    TfrPage *second = addPage(QStringLiteral("Page2"));
    designerWindow->Page = second;
    core->state.CurPage = 1;
    dialogs().answers = {platform::mrNo, platform::mrYes};
    run("PgB2Click");
    EXPECT_EQ(rep->Pages().Count(), 2);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, QStringLiteral("Supprimer cette page ?"));
    EXPECT_EQ(dialogs().messages[0].caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(dialogs().messages[0].buttons, platform::mbYes | platform::mbNo);
    run("PgB2Click");
    ASSERT_EQ(rep->Pages().Count(), 1);
    EXPECT_EQ(rep->Pages()[0], page);
    EXPECT_TRUE(rep->Modified);
}

TEST_F(PagesTest, AMovedPageTakesItsSubreportsAlongAndStaysShown)
{
    struct Case {
        int from, to;
        std::array<int, 3> targets; // where targets 0, 1, 2 end
        std::array<const char *, 3> order;
    };
    const Case cases[] = {
        {0, 2, {2, 0, 1}, {"Page2", "Page3", "Page1"}},
        {2, 0, {1, 2, 0}, {"Page3", "Page1", "Page2"}},
        {1, 2, {0, 2, 1}, {"Page1", "Page3", "Page2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from * 10 + c.to);
        while (rep->Pages().Count() > 1)
            rep->Pages().Delete(1);
        page->Clear();
        page->Name = QStringLiteral("Page1");
        addPage(QStringLiteral("Page2"));
        addPage(QStringLiteral("Page3"));
        std::array<TfrSubReportView *, 3> subs{};
        for (int i = 0; i < 3; ++i)
            subs[size_t(i)] = subreport(rep->Pages()[(i + 1) % 3], i);
        memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
        core->undo.RecordUndo(ukInserted);
        core->state.CurPage = c.from;
        designerWindow->Page = rep->Pages()[c.from];
        core->state.storeModified(false);

        pages->MovePage(c.from, c.to);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(subs[size_t(i)]->SubPage, c.targets[size_t(i)]) << i;
            EXPECT_EQ(rep->Pages()[i]->Name, QString::fromLatin1(c.order[size_t(i)]));
        }
        EXPECT_EQ(core->state.CurPage, c.to);
        EXPECT_EQ(core->state.page(), rep->Pages()[c.to]);
        EXPECT_EQ(view.shownPages.back(), c.to);
        EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
        EXPECT_EQ(core->undo.count(UndoManager::RedoBuffer), 0);
        EXPECT_TRUE(rep->Modified);
        page = rep->Pages()[0];
    }
}

TEST(PageOptionsValues, MillimetresAndPixels)
{
    for (const auto &[pixels, text] :
         {std::pair{36, "10"}, std::pair{0, "0"}, std::pair{4, "1,111"}, std::pair{-18, "-5"}})
        EXPECT_EQ(frPixelsToMillimetreText(pixels), QString::fromLatin1(text));
    // 1.25 mm is 4.5 pixels, 1.75 mm 6.3: half to even.
    for (const auto &[mm, pixels] : {std::pair{10.0, 36}, std::pair{1.25, 4}, std::pair{1.75, 6}})
        EXPECT_EQ(frMillimetresToPixels(mm), pixels);
}

TEST_F(PagesTest, PageOptionsFillFromThePageAndApplyBack)
{
    page->ChangePaper(kFrCustomPaper, 2100, 1485, kFrDefaultBin, 1);
    page->LeftMargin = 36;
    page->ColumnGap = 72;
    page->Columns = 2;
    page->PrintToPrevPage = 0xFFFF;
    page->UseMargins = 0;
    PageOptionsChoice c = pages->currentPageOptions();
    EXPECT_TRUE(c.customSize() && c.landscape && c.printToPrevious && c.stretch);
    EXPECT_EQ(QStringList({c.paperWidth, c.paperHeight, c.margins[0], c.margins[1], c.columnGap}),
              QStringList({QStringLiteral("210"), QStringLiteral("148,5"), QStringLiteral("10"),
                           QStringLiteral("0"), QStringLiteral("20")}));
    EXPECT_EQ(c.columns, 2);

    c.margins = {QStringLiteral("1,25"), QStringLiteral("10"), QStringLiteral("0"),
                 QStringLiteral("2,5")};
    c.paperWidth = QStringLiteral("100,04");
    c.columns = 0; // kept: the page forms one column then
    c.stretch = c.printToPrevious = false;
    c.unlimitedHeight = true;
    ASSERT_TRUE(pages->applyPageOptions(c));
    EXPECT_EQ(QList<int>({page->LeftMargin, page->TopMargin, page->BottomMargin, page->PaperWidth,
                          page->Columns, page->UseMargins, page->PrintToPrevPage}),
              QList<int>({4, 36, 9, 1000, 0, 0xFFFF, 0}));
    EXPECT_TRUE(core->state.Settings.UnlimitedHeight);
    EXPECT_TRUE(rep->Modified);

    // A standard paper takes no size from the fields; a printer without bins
    // leaves the page's bin.
    page->Bin = 7;
    c = pages->currentPageOptions();
    c.paperIndex =
        int(std::find(c.paperCodes.begin(), c.paperCodes.end(), 9) - c.paperCodes.begin());
    c.paperWidth = QStringLiteral("abc");
    c.landscape = false;
    c.binNames.clear();
    c.binCodes.clear();
    c.binIndex = -1;
    ASSERT_TRUE(pages->applyPageOptions(c));
    EXPECT_EQ(QList<int>({page->Size, page->PaperWidth, page->Orientation, page->Bin}),
              QList<int>({9, 2100, 0, 7}));
}

// Whatever is typed, a value no page can have is refused naming its field,
// before anything is stored (a width of 214748365 mm once wrapped to a
// negative one, 9.2e18 raised a generic error).
TEST_F(PagesTest, PageOptionsRefuseWhatNoPageCanBeNamingTheField)
{
    page->ChangePaper(kFrCustomPaper, 2100, 2970, kFrDefaultBin, 0);
    page->LeftMargin = 36;
    struct Case {
        PageOptionsField field;
        const char *typed;
        const char *what; // nullptr: accepted
    };
    const Case cases[] = {
        {PageOptionsField::Left, "abc", "la marge gauche : de 0 à 10 000 mm"},
        {PageOptionsField::Bottom, "1e999", "la marge du bas : de 0 à 10 000 mm"},
        {PageOptionsField::Top, "-0,2", "la marge du haut : de 0 à 10 000 mm"},
        {PageOptionsField::Right, "10000,2", "la marge droite : de 0 à 10 000 mm"},
        {PageOptionsField::Gap, "", "l'écart entre colonnes : de 0 à 10 000 mm"},
        {PageOptionsField::Gap, "9.2e18", "l'écart entre colonnes : de 0 à 10 000 mm"},
        {PageOptionsField::Width, "0", "la largeur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Height, "-5", "la hauteur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Width, "nan", "la largeur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Height, "inf", "la hauteur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Width, "214748365", "la largeur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Width, "9.2e18", "la largeur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Height, "1e300", "la hauteur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Height, "10000,1", "la hauteur du papier : de 1 à 10 000 mm"},
        {PageOptionsField::Width, "1", nullptr},
        {PageOptionsField::Height, "10000", nullptr},
        {PageOptionsField::Gap, "10000", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        PageOptionsChoice choice = pages->currentPageOptions();
        const QString typed = QString::fromLatin1(c.typed);
        QString *fields[] = {&choice.paperWidth, &choice.paperHeight, &choice.margins[0],
                             &choice.margins[1], &choice.margins[2],  &choice.margins[3],
                             &choice.columnGap};
        *fields[int(c.field)] = typed;
        if (c.field != PageOptionsField::Top)
            choice.margins[1] = QStringLiteral("20"); // would change the page if applied
        const QByteArray before = saved();
        const std::optional<PageOptionsProblem> problem = frCheckPageOptions(choice);
        if (!c.what) {
            EXPECT_FALSE(problem);
            continue;
        }
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->field, c.field);
        EXPECT_EQ(problem->message,
                  QStringLiteral("'%1' n'est pas une valeur correcte pour ").arg(typed) +
                      QString::fromUtf8(c.what));
        EXPECT_FALSE(pages->applyPageOptions(choice));
        EXPECT_EQ(saved(), before);
        EXPECT_FALSE(rep->Modified);
    }
}

TEST_F(PagesTest, ReportOptionsStoreTheOptionWords)
{
    std::optional<ReportOptionsChoice> answer;
    ReportOptionsChoice shown;
    core->state.Requests.reportOptions = [&](const ReportOptionsChoice &initial) {
        shown = initial;
        return answer;
    };
    rep->KeepPrinter = 0xFFFF;
    rep->TwoPass = 0;
    run("N8Click");
    EXPECT_FALSE(shown.selectAtLoad);
    EXPECT_FALSE(shown.twoPass);
    EXPECT_EQ(shown.printers, frObjects().frGlobalPrinter().Printers());
    EXPECT_FALSE(rep->Modified);

    struct Case {
        bool selectAtLoad, twoPass;
        quint16 keep, passes;
    };
    for (const Case &c : {Case{false, true, 0xFFFF, 0xFFFF}, Case{true, false, 0, 0}}) {
        answer = shown;
        answer->selectAtLoad = c.selectAtLoad;
        answer->twoPass = c.twoPass;
        run("N8Click");
        EXPECT_EQ(std::tuple(rep->KeepPrinter, rep->TwoPass), std::tuple(c.keep, c.passes));
        EXPECT_TRUE(rep->Modified);
    }
}

TEST_F(PagesTest, VariablesMarkTheReportOnlyWhenTheDictionaryChanged)
{
    int refreshed = 0;
    bool change = false;
    core->state.Requests.dbFieldsRefresh = [&] { ++refreshed; };
    core->state.Requests.dictionary = [&] {
        if (change)
            rep->Dictionary().Variables.SetVariable(QStringLiteral("Total"), FrVariant("1"));
    };
    run("N42Click");
    EXPECT_FALSE(rep->Modified);
    EXPECT_EQ(refreshed, 0);
    change = true;
    run("N42Click");
    EXPECT_TRUE(rep->Modified);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(PagesTest, ThePopupOffersTheItemsOfTheSelectedObjects)
{
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 0, 20, 10, 10);
    auto pic = std::make_unique<TfrPictureView>();
    pic->Name = QStringLiteral("Picture1");
    TfrView *picture = page->Add(std::move(pic));
    TfrBandView *b = band(btMasterData, 100, 40, QStringLiteral("Donnees"));
    TfrBandView *b2 = band(btMasterFooter, 160, 20, QStringLiteral("Pied"));
    auto itemsOf = [this](std::initializer_list<TfrView *> selection) {
        select(selection);
        FrRecordingPopup popup;
        pages->fillObjectPopup(popup);
        return popup.texts();
    };
    const QStringList one = itemsOf({m1});
    EXPECT_FALSE(one.isEmpty());
    EXPECT_EQ(itemsOf({m1, m2}), one);
    EXPECT_TRUE(itemsOf({m1, picture}).isEmpty());
    EXPECT_TRUE(itemsOf({b}).contains(frLoadString(55194)));
    EXPECT_TRUE(itemsOf({b, b2}).isEmpty());
    EXPECT_FALSE(itemsOf({picture}).isEmpty());
    EXPECT_TRUE(itemsOf({}).isEmpty());
}

} // namespace designer::test
