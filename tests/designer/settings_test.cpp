// The designer's kept settings (a registry file of the test's own), the
// options dialog's values, help topics, the stacking of its tool windows,
// the alignment palette and the insertion of data fields, headless.
#include "tests/designer/designer_fixture.h"

#include "designer/core/aligncommands.h"
#include "designer/core/designersettings.h"
#include "designer/core/insertfields.h"

#include "platform/registry/registry.h"
#include "report/core/frexceptions.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <tuple>

namespace designer::test
{
namespace
{

using namespace report;

// --- settings kept in the registry

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
    }
    void TearDown() override
    {
        platform::TRegistry::setFileName(QString());
        fr().resetForTests();
    }
    // Writes one value: a number as a number, anything else as text.
    void store(const QString &key, const QString &name, const QString &value)
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        bool number = false;
        const int n = value.toInt(&number);
        if (number)
            reg.WriteInteger(name, n);
        else
            reg.WriteString(name, value);
    }
    QTemporaryDir dir;
};

// Every value kept, in one comparable row.
auto keptValues(const StoredDesignerSettings &s)
{
    const DesignerSettings &o = s.options;
    return std::make_tuple(o.GridSize, o.GridAlign, o.GridShow, o.Units, o.GrayButtons,
                           o.EditAfterInsert, o.Selection, o.PagePosition, o.UnlimitedHeight,
                           s.BandTitles, s.LocalizedPropNames, s.SplitPos, s.InspectorVisible,
                           s.DBFieldsVisible);
}

TEST_F(SettingsStoreTest, AnEmptyStoreGivesTheDefaultsAndSavedValuesComeBack)
{
    EXPECT_EQ(
        keptValues(frReadDesignerSettings()),
        std::make_tuple(4, true, true, 0, false, true, 1, 5, false, true, false, 75, true, true));
    StoredDesignerSettings s;
    s.options = {18, false, false, 2, true, false, 0, 3, true};
    s.BandTitles = false;
    s.LocalizedPropNames = true;
    s.SplitPos = 140;
    s.InspectorVisible = false;
    s.DBFieldsVisible = false;
    frWriteDesignerSettings(s, true, true);
    EXPECT_EQ(keptValues(frReadDesignerSettings()), keptValues(s));
    // Under the library's key, in the designer's own section.
    EXPECT_EQ(designerSettingsKey(),
              QStringLiteral("\\Software\\VornReport\\Form\\TfrDesignerForm"));
}

TEST_F(SettingsStoreTest, InspectorAndFieldWindowValuesAreWrittenOnlyWhenKnown)
{
    StoredDesignerSettings s;
    s.SplitPos = 140;
    s.DBFieldsVisible = false;
    frWriteDesignerSettings(s, false, false);
    platform::TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(inspectorSettingsKey()));
    EXPECT_FALSE(reg.KeyExists(dbFieldsSettingsKey()));
    EXPECT_EQ(frReadDesignerSettings().SplitPos, 75);
    EXPECT_TRUE(frReadDesignerSettings().DBFieldsVisible);
}

TEST_F(SettingsStoreTest, UnreadableOrOutOfRangeValuesReadTheirDefaults)
{
    struct Case {
        const char *name;
        const char *value;
        bool inspector;
        int StoredDesignerSettings::*field; // or nullptr: an option
        int DesignerSettings::*option;
        int expected;
    };
    const Case cases[] = {
        {"GridSize", "0", false, nullptr, &DesignerSettings::GridSize, 4},
        {"GridSize", "-5", false, nullptr, &DesignerSettings::GridSize, 4},
        {"GridSize", "abc", false, nullptr, &DesignerSettings::GridSize, 4},
        {"GridSize", "8", false, nullptr, &DesignerSettings::GridSize, 8},
        {"Units", "7", false, nullptr, &DesignerSettings::Units, 0},
        {"Units", "-1", false, nullptr, &DesignerSettings::Units, 0},
        {"Units", "1", false, nullptr, &DesignerSettings::Units, 1},
        {"PagePosition", "9", false, nullptr, &DesignerSettings::PagePosition, 5},
        {"PagePosition", "4", false, nullptr, &DesignerSettings::PagePosition, 4},
        {"Selection", "x", false, nullptr, &DesignerSettings::Selection, 1},
        {"SplitPos", "5", true, &StoredDesignerSettings::SplitPos, nullptr, 20},
        {"SplitPos", "", true, &StoredDesignerSettings::SplitPos, nullptr, 75},
        {"SplitPos", "300", true, &StoredDesignerSettings::SplitPos, nullptr, 300},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.value);
        platform::TRegistry().DeleteKey(QStringLiteral("\\Software"));
        store(c.inspector ? inspectorSettingsKey() : designerSettingsKey(),
              QString::fromLatin1(c.name), QString::fromLatin1(c.value));
        const StoredDesignerSettings s = frReadDesignerSettings();
        EXPECT_EQ(c.field ? s.*c.field : s.options.*c.option, c.expected);
    }
}

TEST_F(SettingsStoreTest, TheOptionsDialogsAnswerMapsOntoTheThreeChoicesOfEachGroup)
{
    // What the dialog answers, mapped onto the three choices of each group.
    struct Case {
        int grid, units, position;
        bool contents;
        int expectedGrid, expectedUnits, expectedPosition, expectedSelection;
    };
    const Case cases[] = {
        {4, 0, 5, true, 4, 0, 5, 1},   {8, 1, 3, false, 8, 1, 3, 0},  {18, 2, 4, true, 18, 2, 4, 1},
        {5, 9, 0, false, 18, 0, 5, 0}, {0, -1, 7, true, 18, 0, 5, 1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.grid);
        DesignerOptionsChoice answer;
        answer.gridSize = k.grid;
        answer.units = k.units;
        answer.pagePosition = k.position;
        answer.showContents = k.contents;
        answer.coloredButtons = false;
        answer.bandTitles = false;
        const StoredDesignerSettings r = frApplyDesignerOptions(StoredDesignerSettings(), answer);
        EXPECT_EQ(
            std::tuple(r.options.GridSize, r.options.Units, r.options.PagePosition,
                       r.options.Selection),
            std::tuple(k.expectedGrid, k.expectedUnits, k.expectedPosition, k.expectedSelection));
        EXPECT_TRUE(r.options.GrayButtons);
        EXPECT_FALSE(r.BandTitles);
    }
}

TEST(DesignerHelpTest, TopicsByTagAndToolBar)
{
    struct Case {
        const char *control;
        int tag;
        bool objects;
        int topic;
    };
    const Case cases[] = {
        {"FrB1", 1, false, 401},      {"Align1", 60, false, 460}, {"OB3", 2, true, 432},
        {"OB1", -1, true, 429},       {"OB6", 4, true, 434},      {"add-in 10", 10, true, 435},
        {"add-in 12", 12, true, 435},
    };
    for (const Case &c : cases)
        EXPECT_EQ(frHelpTopic(c.tag, c.objects), c.topic) << c.control;
    const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/VRuser.pdf");
    EXPECT_EQ(frHelpDocument(QStringLiteral("VRuser.hlp")), guide);
    EXPECT_EQ(frHelpDocument(QString()), guide);
}

TEST(ToolWindowStackingTest, StacksBothWindowsInTheColumnBesideThePage)
{
    const int top = 80, height = 600;
    struct Case {
        const char *layout;
        QRect inspector;
        int clientHeight;
        QRect dbFields;
        bool stacked;
        QRect inspectorAfter, dbFieldsAfter;
    };
    const Case cases[] = {
        // The field list lies below: it goes to the bottom, the inspector
        // fills what remains above it.
        {"fields below", QRect(1000, 100, 200, 300), 280, QRect(1050, 500, 220, 150), true,
         QRect(1000, 80, 200, 450), QRect(1050, 530, 220, 150)},
        // Above (its top over the inspector's bottom): to the top.
        {"fields above", QRect(1100, 200, 250, 300), 280, QRect(1000, 50, 200, 100), true,
         QRect(1100, 180, 250, 500), QRect(1000, 80, 200, 100)},
        // A rolled-up inspector keeps its height.
        {"rolled up", QRect(1000, 100, 200, 18), 0, QRect(1000, 500, 200, 150), true,
         QRect(1000, 80, 200, 18), QRect(1000, 530, 200, 150)},
        {"side by side", QRect(700, 100, 200, 300), 280, QRect(1000, 500, 200, 150), false, {}, {}},
        // A column too short for both: stacked, one would lie over the other.
        {"short column",
         QRect(1000, 100, 200, 300),
         280,
         QRect(1000, 200, 200, 560),
         false,
         {},
         {}},
        {"fields closed", QRect(1000, 100, 200, 300), 280, QRect(), false, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.layout);
        const auto frames =
            frStackToolWindows(c.inspector, c.clientHeight, c.dbFields, top, height);
        ASSERT_EQ(frames.has_value(), c.stacked);
        if (!frames)
            continue;
        EXPECT_EQ(frames->inspector, c.inspectorAfter);
        EXPECT_EQ(frames->dbFields, c.dbFieldsAfter);
    }
}

// --- alignment palette

// An A4 sheet at 96 dpi with margins on three sides: where the palette and
// the field insertion place things.
void a4WithMargins(TfrPage &sheet)
{
    sheet.PrnInfo.Pgw = 794;
    sheet.PrnInfo.Pgh = 1123;
    sheet.LeftMargin = 36;
    sheet.TopMargin = 40;
    sheet.RightMargin = 36;
}

class AlignTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        a4WithMargins(*page);
    }
    bool run(int n) { return AlignCommands(*core).run(n); }
};

TEST_F(AlignTest, EachButtonMovesTheOthersOnTheReference)
{
    struct Case {
        int button;
        QPoint expected; // of the second object
    };
    // Reference at (100, 50) 61 x 21; the other 31 x 11: halves truncate.
    const Case cases[] = {
        {1, {100, 300}}, {2, {115, 300}}, {5, {130, 300}},
        {6, {10, 50}},   {7, {10, 55}},   {10, {10, 60}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        page->Clear();
        TfrMemoView *ref = memo(QStringLiteral("Ref"), 100, 50, 61, 21);
        TfrMemoView *other = memo(QStringLiteral("Other"), 10, 300, 31, 11);
        select({other});
        ref->Selected = true; // added with Shift: the first stays the reference
        core->state.setLastSelected(ref);
        const int before = undoCount();
        ASSERT_TRUE(run(c.button));
        EXPECT_EQ(QPoint(other->x, other->y), c.expected);
        EXPECT_EQ(QPoint(ref->x, ref->y), QPoint(100, 50));
        EXPECT_EQ(undoCount(), before + 1);
    }
}

TEST_F(AlignTest, AnUnmovableReferenceStillAlignsTheOthers)
{
    TfrMemoView *ref = memo(QStringLiteral("Ref"), 120, 50, 60, 20);
    TfrMemoView *a = memo(QStringLiteral("A"), 10, 100, 30, 20);
    TfrMemoView *b = memo(QStringLiteral("B"), 300, 150, 30, 20);
    ref->Restrictions = frrfDontMove;
    b->Restrictions = frrfDontMove;
    select({ref});
    a->Selected = b->Selected = true;
    ASSERT_TRUE(run(1));
    EXPECT_EQ(a->x, 120);
    EXPECT_EQ(ref->x, 120);
    EXPECT_EQ(b->x, 300) << "\"Don't move\" stays";
}

TEST_F(AlignTest, SpacingComparesPositionsAsNumbers)
{
    struct Case {
        int button;
        std::vector<int> positions;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {4, {10, 50, 200}, {10, 105, 200}},        {4, {200, 10, 50}, {200, 10, 105}},
        {4, {10000, 9999, 50}, {10000, 5025, 50}}, {4, {-5, -30, 50}, {10, -30, 50}},
        {4, {0, 10, 20, 90}, {0, 30, 60, 90}},     {9, {10, 50, 200}, {10, 105, 200}},
        {9, {10000, 9999, 50}, {10000, 5025, 50}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.positions));
        page->Clear();
        std::vector<TfrMemoView *> memos;
        for (int p : c.positions) {
            const bool vertical = c.button == 9;
            memos.push_back(memo(QStringLiteral("M%1").arg(memos.size()), vertical ? 5 : p,
                                 vertical ? p : 5, 20, 10));
            memos.back()->Selected = true;
        }
        ASSERT_TRUE(run(c.button));
        for (size_t i = 0; i < memos.size(); ++i)
            EXPECT_EQ(c.button == 9 ? memos[i]->y : memos[i]->x, c.expected[i]) << i;
    }
}

TEST_F(AlignTest, CentringPutsTheGroupInTheMiddleOfTheSurface)
{
    TfrMemoView *a = memo(QStringLiteral("A"), 10, 20, 50, 20);
    TfrMemoView *b = memo(QStringLiteral("B"), 90, 300, 41, 31);
    a->Selected = b->Selected = true;
    const QSize surface = core->surface.surfaceSize();
    const int w = surface.width() > 0 ? surface.width() : page->PageWidth();
    const int h = surface.height() > 0 ? surface.height() : page->PageHeight();
    ASSERT_TRUE(run(3));
    EXPECT_LE(std::abs(2 * a->x + 121 - w), 1);
    EXPECT_EQ(b->x - a->x, 80) << "the group keeps its shape";
    ASSERT_TRUE(run(8));
    EXPECT_LE(std::abs(2 * a->y + 311 - h), 1);
    EXPECT_EQ(b->y - a->y, 280);
}

TEST_F(AlignTest, TooFewObjectsOrForbiddenMovesChangeNothing)
{
    TfrMemoView *a = memo(QStringLiteral("A"), 10, 20, 50, 20);
    TfrMemoView *b = memo(QStringLiteral("B"), 90, 30, 50, 20);
    select({a});
    for (int n : {1, 2, 4, 5, 6, 7, 9, 10})
        EXPECT_FALSE(run(n)) << n;
    b->Selected = true;
    EXPECT_FALSE(run(4)) << "spacing needs three";
    frObjects().frDesignerRestrictions = 1 << drNoMove;
    for (int n = 1; n <= 10; ++n)
        EXPECT_FALSE(run(n)) << n;
    frObjects().frDesignerRestrictions = 0;
    EXPECT_EQ(QPoint(a->x, a->y), QPoint(10, 20));
    EXPECT_EQ(QPoint(b->x, b->y), QPoint(90, 30));
    EXPECT_EQ(undoCount(), 0);
}

TEST_F(AlignTest, WithABandSelectedTheBandsObjectsArePackedInARow)
{
    TfrBandView *data = band(btMasterData, 100, 40, QStringLiteral("MasterData1"));
    data->x = 0;
    TfrMemoView *m1 = memo(QStringLiteral("M1"), 300, 110, 50, 20);
    TfrMemoView *m2 = memo(QStringLiteral("M2"), 100, 105, 30, 20);
    TfrMemoView *m3 = memo(QStringLiteral("M3"), 200, 112, 40, 20); // not selected
    TfrMemoView *outside = memo(QStringLiteral("Out"), 150, 200, 40, 20);
    m3->Restrictions = 0;
    select({data});
    m1->Selected = m2->Selected = true;
    ASSERT_TRUE(run(1));
    const int left = page->LeftMarginPos();
    EXPECT_EQ(m2->x, left);
    EXPECT_EQ(m3->x, left + 30);
    EXPECT_EQ(m1->x, left + 70);
    EXPECT_EQ(m1->y, m2->y);
    EXPECT_EQ(m3->y, m2->y);
    EXPECT_EQ(QPoint(outside->x, outside->y), QPoint(150, 200));

    // One undo puts back every object moved, the unselected one too.
    core->Undo();
    TfrView *n1 = page->FindObject(QStringLiteral("M1"));
    TfrView *n2 = page->FindObject(QStringLiteral("M2"));
    TfrView *n3 = page->FindObject(QStringLiteral("M3"));
    ASSERT_TRUE(n1 && n2 && n3);
    EXPECT_EQ(QPoint(n3->x, n3->y), QPoint(200, 112));
    EXPECT_EQ(QPoint(n1->x, n1->y), QPoint(300, 110));
    for (const auto &v : page->Objects)
        v->Selected = false;
    page->FindObject(QStringLiteral("MasterData1"))->Selected = true;
    n1->Selected = true;
    ASSERT_TRUE(run(5));
    const int right = page->RightMarginPos();
    EXPECT_EQ(n1->x, right - 50);
    EXPECT_EQ(n3->x, right - 90);
    EXPECT_EQ(n2->x, right - 120);
}

// --- insert fields

class InsertFieldsTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        a4WithMargins(*page);
        clients.setObjectName(QStringLiteral("Clients"));
        clients.addField(QStringLiteral("Nom"), ftString);
        clients.addField(QStringLiteral("Prenom"), ftString);
        clients.addField(QStringLiteral("Ville"), ftString);
        clients.setDisplayWidth(QStringLiteral("Nom"), 10);
        clients.setDisplayWidth(QStringLiteral("Ville"), 300);
        clients.setDisplayLabel(QStringLiteral("Prenom"), QStringLiteral("Prénom"));
        designerGlobals().lastUsed = LastUsedAttributes();
    }
    InsertFieldsChoice choice(bool horizontal, bool headers, bool bands)
    {
        InsertFieldsChoice c;
        c.dataSet = &clients;
        c.dataSetName = QStringLiteral("Clients");
        c.fields = {QStringLiteral("Nom"), QStringLiteral("Prenom"), QStringLiteral("Ville")};
        c.horizontal = horizontal;
        c.headers = headers;
        c.bands = bands;
        return c;
    }
    bool insert(const InsertFieldsChoice &c) { return InsertFieldsLayout(*core).insert(c); }
    TfrView *find(const QString &name) { return page->FindObject(name); }

    FrMemoryDataSet clients;
};

TEST_F(InsertFieldsTest, FieldsInARowWithoutHeadersOneGridStepApart)
{
    ASSERT_TRUE(insert(choice(true, false, false)));
    ASSERT_EQ(page->ObjectCount(), 3);
    const int left = page->LeftMarginPos(), top = page->TopMarginPos();
    // "=" x 10 is 70 pixels, 68 on the grid; 0 and 300 count 6: 42, 40.
    struct Expected {
        const char *text;
        int x, dx;
    };
    const Expected expected[] = {{"[Clients.\"Nom\"]", left, 68},
                                 {"[Clients.\"Prenom\"]", left + 72, 40},
                                 {"[Clients.\"Ville\"]", left + 116, 40}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TfrView *v = page->Object(i);
        EXPECT_EQ(v->Memo, QStringList{QString::fromUtf8(expected[i].text)});
        EXPECT_EQ(QRect(v->x, v->y, v->dx, v->dy), QRect(expected[i].x, top, expected[i].dx, 18));
        EXPECT_TRUE(v->Selected);
        EXPECT_EQ(static_cast<const TfrMemoView *>(v)->Font.Style, 0);
    }
    EXPECT_EQ(InsertFieldsLayout::displayWidth(300), 6);
    EXPECT_EQ(InsertFieldsLayout::displayWidth(255), 255);
    EXPECT_EQ(InsertFieldsLayout::displayWidth(0), 6);
}

TEST_F(InsertFieldsTest, HeadersAndDataPlacedDownTheColumn)
{
    ASSERT_TRUE(insert(choice(false, true, false)));
    ASSERT_EQ(page->ObjectCount(), 6);
    const int left = page->LeftMarginPos(), top = page->TopMarginPos();
    // "Prénom   " is 6 x 7 + 3 x 4 = 54 pixels, 52 on the grid.
    const TfrMemoView *header = static_cast<TfrMemoView *>(page->Object(2));
    const TfrMemoView *data = static_cast<TfrMemoView *>(page->Object(3));
    EXPECT_EQ(header->Memo, QStringList{QStringLiteral("Prénom")});
    EXPECT_EQ(header->Font.Style & 2, 2) << "headers are bold";
    EXPECT_EQ(QRect(header->x, header->y, header->dx, header->dy), QRect(left, top + 22, 52, 18));
    EXPECT_EQ(data->Memo, QStringList{QStringLiteral("[Clients.\"Prenom\"]")});
    EXPECT_EQ(QPoint(data->x, data->y), QPoint(left + 8 + 52, top + 22));
}

TEST_F(InsertFieldsTest, HeadersAndBandsOnAPageWithAPageHeaderAddOnlyTheDataBand)
{
    band(btPageHeader, 40, 30, QStringLiteral("PageHeader1"));
    QObject form;
    form.setObjectName(QStringLiteral("Fiche"));
    auto *source = new TfrDBDataSet(&form);
    source->setObjectName(QStringLiteral("ClientsDS"));
    source->setDataSet(&clients);
    fr().registerForm(&form);
    ASSERT_TRUE(insert(choice(true, true, true)));
    fr().unregisterComponent(&form);

    int pageHeaders = 0;
    const TfrBandView *data = nullptr;
    for (const auto &v : page->Objects)
        if (auto *b = dynamic_cast<TfrBandView *>(v.get())) {
            pageHeaders += b->GetBandType() == btPageHeader;
            if (b->GetBandType() == btMasterData)
                data = b;
        }
    EXPECT_EQ(pageHeaders, 1);
    ASSERT_NE(data, nullptr);
    const int top = page->TopMarginPos();
    EXPECT_EQ(data->y, top + 72);
    EXPECT_EQ(data->dy, 18) << "the headers' bottom less the top margin";
    EXPECT_EQ(data->FormatStr, QStringLiteral("Fiche.ClientsDS"));
    // Bands first in the list, then the memos.
    EXPECT_TRUE(dynamic_cast<TfrBandView *>(page->Object(0)));
    EXPECT_TRUE(dynamic_cast<TfrBandView *>(page->Object(1)));
    EXPECT_EQ(page->ObjectCount(), 2 + 6);
}

TEST_F(InsertFieldsTest, TheRecordSourceOfTheReportsOwnFormIsNamedPlain)
{
    auto *source = new TfrDBDataSet(&owner);
    source->setObjectName(QStringLiteral("ClientsDS"));
    source->setDataSet(&clients);
    fr().registerForm(&owner);
    ASSERT_TRUE(insert(choice(false, false, true)));
    fr().unregisterComponent(&owner);
    const TfrBandView *data = nullptr;
    for (const auto &v : page->Objects)
        if (auto *b = dynamic_cast<TfrBandView *>(v.get()))
            data = b;
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetBandType(), btMasterData);
    EXPECT_EQ(data->FormatStr, QStringLiteral("ClientsDS"));
    EXPECT_EQ(data->y, page->TopMarginPos());
    // Three data memos 18 high, one grid step apart.
    EXPECT_EQ(data->dy, 3 * 18 + 2 * 4);
}

TEST_F(InsertFieldsTest, OneUndoRemovesEverythingInserted)
{
    memo(QStringLiteral("Titre"), 300, 400, 100, 20);
    ASSERT_TRUE(insert(choice(true, true, true)));
    EXPECT_EQ(page->ObjectCount(), 1 + 2 + 6);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 1);
    core->Undo();
    ASSERT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(page->Object(0)->Name, QStringLiteral("Titre"));
}

TEST_F(InsertFieldsTest, AWideRowIsSqueezedWithinTheMargins)
{
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("Champ%1").arg(i);
        clients.addField(name, ftString);
        clients.setDisplayWidth(name, 40);
    }
    InsertFieldsChoice c = choice(true, true, false);
    c.fields.clear();
    for (int i = 0; i < 8; ++i)
        c.fields << QStringLiteral("Champ%1").arg(i);
    ASSERT_TRUE(insert(c));
    const int left = page->LeftMarginPos(), right = page->RightMarginPos();
    int previousRight = left;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const TfrView *header = page->Object(2 * i);
        const TfrView *data = page->Object(2 * i + 1);
        EXPECT_GE(data->x, previousRight);
        EXPECT_LE(data->x + data->dx, right);
        EXPECT_EQ(header->x, data->x);
        EXPECT_LE(header->dx, data->dx);
        previousRight = data->x + data->dx;
    }
}

TEST_F(InsertFieldsTest, ARecordSourceWithoutADataSetFailsBeforeAnythingIsMade)
{
    QObject form;
    form.setObjectName(QStringLiteral("Fiche"));
    auto *broken = new TfrDBDataSet(&form);
    broken->setObjectName(QStringLiteral("Vide"));
    fr().registerForm(&form);
    memo(QStringLiteral("Titre"), 300, 400, 100, 20);
    try {
        insert(choice(true, false, true));
        ADD_FAILURE() << "no error";
    } catch (const EDSError &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to open dataset Vide"));
    }
    fr().unregisterComponent(&form);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
    // Without bands no record source is looked for.
    fr().registerForm(&form);
    EXPECT_TRUE(insert(choice(true, false, false)));
    fr().unregisterComponent(&form);
}

TEST_F(InsertFieldsTest, NothingIsInsertedWithoutDataSetFieldsOrRight)
{
    InsertFieldsChoice none = choice(true, false, false);
    none.dataSet = nullptr;
    EXPECT_FALSE(insert(none));
    InsertFieldsChoice empty = choice(true, false, false);
    empty.fields.clear();
    EXPECT_FALSE(insert(empty));
    frObjects().frDesignerRestrictions = 1 << drNoInsertObject;
    EXPECT_FALSE(insert(choice(true, false, false)));
    frObjects().frDesignerRestrictions = 0;
    EXPECT_EQ(page->ObjectCount(), 0);
}

} // namespace
} // namespace designer::test
