// The attribute commands over a page without a window: every tag against the
// field it changes, the objects it skips, the values it remembers for new
// objects, unreadable numbers; the tool bar state of each kind of
// selection; the highlight command; the recent fonts kept in the registry.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_support.h"

#include "designer/core/attributecommands.h"
#include "designer/core/designerclipboard.h"
#include "designer/core/recentfonts.h"
#include "platform/registry/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace designer::test
{
namespace attrs_test
{

using report::TfrMemoView;
using report::TfrView;

class AttributeTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        attrs.emplace(*core);
    }
    void TearDown() override
    {
        attrs.reset();
        DesignerFixture::TearDown();
    }
    report::TfrPictureView *picture(const QString &name, int x, int y)
    {
        auto v = std::make_unique<report::TfrPictureView>();
        v->ID = report::frObjects().frNextObjectID++;
        v->Name = name;
        v->SetBounds(x, y, 40, 40);
        return static_cast<report::TfrPictureView *>(page->Add(std::move(v)));
    }
    report::TfrLineView *line(const QString &name)
    {
        auto v = std::make_unique<report::TfrLineView>();
        v->ID = report::frObjects().frNextObjectID++;
        v->Name = name;
        v->SetBounds(10, 200, 100, 0);
        return static_cast<report::TfrLineView *>(page->Add(std::move(v)));
    }

    std::optional<AttributeCommands> attrs;
};

// One tag, the value its control holds, and the memo field it changes.
struct TagCase {
    const char *what;
    int tag;
    AttributeValue value;
    std::function<void(TfrMemoView &)> before;
    std::function<double(const TfrMemoView &)> field;
    double expected;
};

TEST_F(AttributeTest, EveryTagChangesItsFieldOfASelectedMemo)
{
    const auto none = [](TfrMemoView &) {};
    const auto edges = [](const TfrMemoView &m) { return double(m.FrameTyp); };
    const auto style = [](const TfrMemoView &m) { return double(m.Font.Style); };
    const auto align = [](const TfrMemoView &m) { return double(m.Alignment); };
    const auto width = [](const TfrMemoView &m) { return double(m.FrameWidth); };
    const auto lines = [](const TfrMemoView &m) { return double(m.FrameStyle); };
    const TagCase cases[] = {
        {"top edge", 1, AttributeValue::toggle(true), none, edges, 8},
        {"left edge", 2, AttributeValue::toggle(true), none, edges, 4},
        {"bottom edge", 3, AttributeValue::toggle(true), none, edges, 2},
        {"right edge", 4, AttributeValue::toggle(true), none, edges, 1},
        {"top edge off", 1, AttributeValue::toggle(false), [](TfrMemoView &m) { m.FrameTyp = 15; },
         edges, 7},
        {"all edges", 20, {}, none, edges, 15},
        {"no edge", 21, {}, [](TfrMemoView &m) { m.FrameTyp = 9; }, edges, 0},
        {"fill", 5, AttributeValue::ofColor(0x123456), none,
         [](const TfrMemoView &m) { return double(m.FillColor); }, 0x123456},
        {"frame colour", 19, AttributeValue::ofColor(0x00FF00), none,
         [](const TfrMemoView &m) { return double(m.FrameColor); }, 0x00FF00},
        {"width with a comma", 6, AttributeValue::ofText(QStringLiteral("0,5")), none, width, 0.5},
        {"width with a point", 6, AttributeValue::ofText(QStringLiteral("0.5")), none, width, 0.5},
        {"dash style", 26, {}, none, lines, 1},
        {"double style", 30, {}, none, lines, 5},
        {"font size", 8, AttributeValue::ofText(QStringLiteral("14")), none,
         [](const TfrMemoView &m) { return double(m.Font.Size); }, 14},
        {"bold", 9, AttributeValue::toggle(true), none, style, 2},
        {"italic", 10, AttributeValue::toggle(true), none, style, 1},
        {"underline", 18, AttributeValue::toggle(true), none, style, 4},
        {"bold off keeps italic", 9, AttributeValue::toggle(false),
         [](TfrMemoView &m) { m.Font.Style = 3; }, style, 1},
        {"font colour", 17, AttributeValue::ofColor(0x0000FF), none,
         [](const TfrMemoView &m) { return double(m.Font.Color); }, 0x0000FF},
        {"left", 11, {}, [](TfrMemoView &m) { m.Alignment = 2 | 8; }, align, 8},
        {"right", 12, {}, [](TfrMemoView &m) { m.Alignment = 16; }, align, 17},
        {"centre", 13, {}, [](TfrMemoView &m) { m.Alignment = 3 | 4; }, align, 6},
        {"justify", 22, {}, none, align, 3},
        {"vertical text", 14, AttributeValue::toggle(true), [](TfrMemoView &m) { m.Alignment = 2; },
         align, 6},
        {"vertical text off", 14, AttributeValue::toggle(false),
         [](TfrMemoView &m) { m.Alignment = 4 | 8; }, align, 8},
        {"middle", 15, AttributeValue::ofVerticalAlign(8), [](TfrMemoView &m) { m.Alignment = 1; },
         align, 9},
        {"bottom", 15, AttributeValue::ofVerticalAlign(16),
         [](TfrMemoView &m) { m.Alignment = 8 | 2; }, align, 18},
        {"top", 15, AttributeValue::ofVerticalAlign(0), [](TfrMemoView &m) { m.Alignment = 16; },
         align, 0},
    };
    int n = 0;
    for (const TagCase &c : cases) {
        ++n;
        TfrMemoView *m = memo(QStringLiteral("Memo%1").arg(n), 10, 10 + n * 20, 50, 18);
        c.before(*m);
        select({m});
        const AttributeOutcome out = attrs->applyAttribute(c.tag, c.value);
        EXPECT_TRUE(out.applied) << c.what;
        EXPECT_DOUBLE_EQ(c.field(*m), c.expected) << c.what;
        EXPECT_EQ(out.refill, c.tag == 20 || c.tag == 21) << c.what;
    }
    TfrMemoView *m = memo(QStringLiteral("Nom"), 300, 10, 50, 18);
    select({m});
    attrs->applyAttribute(7, AttributeValue::ofText(QStringLiteral("Courier New")));
    EXPECT_EQ(m->Font.Name, QStringLiteral("Courier New"));
    // Every command is one step of the history.
    EXPECT_EQ(undoCount(), int(std::size(cases)) + 1);
}

TEST_F(AttributeTest, MemoOnlyTagsSkipOtherObjectsAndBandsAreNeverChanged)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    auto *pic = picture(QStringLiteral("Picture1"), 100, 10);
    select({m, pic});
    attrs->applyAttribute(atBold, AttributeValue::toggle(true));
    EXPECT_EQ(m->Font.Style, 2);
    attrs->applyAttribute(atTopEdge, AttributeValue::toggle(true));
    EXPECT_EQ(m->FrameTyp, 8);
    EXPECT_EQ(pic->FrameTyp, 8);
    EXPECT_EQ(undoCount(), 2);

    // A band alone: no group is offered and nothing changes, not even the
    // history.
    auto *b = band(5, 300, 40, QStringLiteral("MasterData1"));
    const quint16 bandEdges = b->FrameTyp;
    const platform::TColor bandFill = b->FillColor;
    select({b});
    const ToolbarState ui = attrs->computeUiState();
    EXPECT_FALSE(ui.frame);
    EXPECT_FALSE(ui.text);
    for (int tag : {1, 5, 6, 20, 26}) {
        const AttributeOutcome out =
            attrs->applyAttribute(tag, tag == 6 ? AttributeValue::ofText(QStringLiteral("3"))
                                                : AttributeValue::toggle(true));
        EXPECT_FALSE(out.applied) << tag;
    }
    EXPECT_EQ(std::tuple(b->FrameTyp, b->FillColor), std::tuple(bandEdges, bandFill));
    EXPECT_FLOAT_EQ(b->FrameWidth, 1.0f);
    EXPECT_EQ(undoCount(), 2);
}

TEST_F(AttributeTest, ProtectedObjectsAndTheRestrictionChangeNothing)
{
    TfrMemoView *locked = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    locked->Restrictions = frrfDontModify;
    TfrMemoView *free = memo(QStringLiteral("Memo2"), 10, 40, 50, 18);
    select({locked, free});
    attrs->applyAttribute(atAllEdges, {});
    EXPECT_EQ(locked->FrameTyp, 0);
    EXPECT_EQ(free->FrameTyp, 15);

    report::frObjects().frDesignerRestrictions = 1 << drNoAttributeChange;
    const AttributeOutcome out = attrs->applyAttribute(atNoEdges, {});
    EXPECT_FALSE(out.applied);
    EXPECT_EQ(free->FrameTyp, 15);
    report::frObjects().frDesignerRestrictions = 0;

    // While the program fills the controls, commands do nothing.
    attrs->Synchronizing = true;
    EXPECT_FALSE(attrs->applyAttribute(atNoEdges, {}).applied);
    EXPECT_EQ(free->FrameTyp, 15);
}

TEST_F(AttributeTest, AppliedValuesAreRememberedForNewObjects)
{
    LastUsedAttributes &last = designerGlobals().lastUsed;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    auto *l = line(QStringLiteral("Line1"));
    select({m});
    attrs->applyAttribute(atAllEdges, {});
    EXPECT_EQ(last.FrameTyp, 15);
    attrs->applyAttribute(atNoEdges, {});
    EXPECT_EQ(last.FrameTyp, 0);
    attrs->applyAttribute(atFrameWidth, AttributeValue::ofText(QStringLiteral("2,5")));
    EXPECT_FLOAT_EQ(last.FrameWidth, 2.5f);
    EXPECT_FLOAT_EQ(last.LineWidth, 2.0f);
    select({l});
    attrs->applyAttribute(atFrameWidth, AttributeValue::ofText(QStringLiteral("4")));
    EXPECT_FLOAT_EQ(last.LineWidth, 4.0f);
    EXPECT_FLOAT_EQ(last.FrameWidth, 2.5f);
    select({m});
    attrs->applyAttribute(atFontSize, AttributeValue::ofText(QStringLiteral("16")));
    attrs->applyAttribute(atFontName, AttributeValue::ofText(QStringLiteral("Times New Roman")));
    attrs->applyAttribute(atItalic, AttributeValue::toggle(true));
    attrs->applyAttribute(atAlignCenter, {});
    attrs->applyAttribute(atFillColor, AttributeValue::ofColor(0x00FFFF));
    attrs->applyAttribute(atFrameColor, AttributeValue::ofColor(0x808080));
    attrs->applyAttribute(atFontColor, AttributeValue::ofColor(0x800000));
    EXPECT_EQ(last.FontSize, 16);
    EXPECT_EQ(last.FontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(
        std::tuple(last.FontStyle, last.Alignment, last.FillColor, last.FrameColor, last.FontColor),
        std::tuple(1, 2, 0x00FFFF, 0x808080, 0x800000));
}

TEST_F(AttributeTest, UnreadableNumbersAreRefusedAndNumbersOutOfRangeTakeTheirLimit)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    m->FrameWidth = 2;
    select({m});
    attrs->computeUiState(); // the boxes show "10" and "2"
    struct Case {
        int tag;
        const char *text;
        const char *message; // empty: accepted
        const char *shown;   // what the box shows afterwards
        double value;        // size or width of the memo afterwards
    };
    const Case cases[] = {
        {8, "abc", "'abc' n'est pas une valeur entière correcte", "10", 10},
        {6, "abc", "'abc' n'est pas une valeur en virgule flottante correcte", "2", 2},
        {8, "0", "", "1", 1},
        {8, "99999", "", "999", 999},
        {6, "-1", "", "0", 0},
        {6, "5000", "", "1000", 1000},
        {8, "12", "", "", 12},
    };
    for (const Case &c : cases) {
        const int before = undoCount();
        fakes->dialogs.messages.clear();
        const AttributeOutcome out =
            attrs->applyAttribute(c.tag, AttributeValue::ofText(QString::fromUtf8(c.text)));
        const double value = c.tag == 8 ? double(m->Font.Size) : double(m->FrameWidth);
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        if (*c.message) {
            ASSERT_EQ(fakes->dialogs.messages.size(), 1u) << c.text;
            EXPECT_EQ(fakes->dialogs.messages[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(fakes->dialogs.messages[0].caption, QStringLiteral("Erreur"));
            EXPECT_EQ(undoCount(), before) << "nothing is recorded for " << c.text;
            EXPECT_FALSE(out.applied);
        } else {
            EXPECT_TRUE(fakes->dialogs.messages.empty()) << c.text;
            EXPECT_EQ(undoCount(), before + 1);
        }
        EXPECT_EQ(out.boxText.value_or(QString()), QString::fromUtf8(c.shown)) << c.text;
    }
    // After the error the previous text is the last one accepted.
    const AttributeOutcome again =
        attrs->applyAttribute(8, AttributeValue::ofText(QStringLiteral("x")));
    EXPECT_EQ(again.boxText.value_or(QString()), QStringLiteral("12"));
}

TEST_F(AttributeTest, FrameWidthTextsReadAndShowWithACommaAndTwoDigits)
{
    const std::pair<double, const char *> shown[] = {{1.5, "1,5"},   {0.1, "0,1"}, {10, "10"},
                                                     {0.25, "0,25"}, {1, "1"},     {2.345, "2,3"},
                                                     {1000, "1000"}, {150, "150"}};
    for (const auto &[w, text] : shown)
        EXPECT_EQ(AttributeCommands::frameWidthText(w), QString::fromLatin1(text)) << w;
    EXPECT_EQ(AttributeCommands::readFrameWidth(QStringLiteral("0,5")), 0.5);
    EXPECT_EQ(AttributeCommands::readFrameWidth(QStringLiteral(" 0.5 ")), 0.5);
    EXPECT_EQ(AttributeCommands::readFrameWidth(QStringLiteral("1,5,")), std::nullopt);
    EXPECT_EQ(AttributeCommands::readFrameWidth(QString()), std::nullopt);
}

// Enabled groups for each kind of selection.
TEST_F(AttributeTest, EnabledGroupsFollowTheSelection)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    auto *pic = picture(QStringLiteral("Picture1"), 100, 10);
    auto *b = band(5, 300, 40, QStringLiteral("MasterData1"));
    struct Row {
        const char *what;
        std::function<void()> setup;
        int bits;
        bool frame, text, anyGroups, paste, edit;
    };
    const Row rows[] = {
        {"nothing", [&] { select({}); }, 0, false, false, false, false, false},
        {"a band", [&] { select({b}); }, ssOneBand, false, false, true, false, true},
        {"a memo", [&] { select({m}); }, ssOneMemo, true, true, true, false, true},
        {"a picture", [&] { select({pic}); }, ssOneOther, true, false, true, false, true},
        {"memo and picture",
         [&] {
             select({m, pic});
         },
         ssSeveral, true, true, true, false, false},
        {"clipboard filled",
         [&] {
             select({m});
             core->CopySelection();
             select({});
         },
         ssClipboard, false, false, false, true, false},
    };
    for (const Row &r : rows) {
        r.setup();
        const ToolbarState ui = attrs->computeUiState();
        EXPECT_EQ(std::tuple(ui.selection, ui.frame, ui.text, ui.paste, ui.edit),
                  std::tuple(r.bits, r.frame, r.text, r.paste, r.edit))
            << r.what;
        // Order, cut, copy and remove go together.
        EXPECT_EQ(std::tuple(ui.order, ui.cut, ui.copy, ui.remove),
                  std::tuple(r.anyGroups, r.anyGroups, r.anyGroups, r.anyGroups))
            << r.what;
    }
    // On a dialog page the frame group stays off.
    report::TfrPage *dialog = rep->Pages().Add();
    dialog->PageTypeValue = report::ptDialog;
    core->state.CurPage = 1;
    designerWindow->Page = dialog;
    TfrMemoView *label = memo(QStringLiteral("Memo9"), 10, 10, 50, 18, dialog);
    select({label});
    const ToolbarState ui = attrs->computeUiState();
    EXPECT_FALSE(ui.frame);
    EXPECT_TRUE(ui.text);
}

TEST_F(AttributeTest, ControlsAndStatusShowTheSelection)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    m->Memo = QStringList{QStringLiteral("Total des points"), QStringLiteral("suite")};
    m->FrameWidth = 1.5f;
    m->FrameTyp = 8 | 1;
    m->Font.Name = QStringLiteral("Courier New");
    m->Font.Size = 12;
    m->Font.Style = 2 | 4;
    m->Alignment = 3 | 16;
    m->FillColor = 0x00FFFF;
    auto *pic = picture(QStringLiteral("Picture1"), 100, 10);
    auto *b = band(5, 300, 40, QStringLiteral("MasterData1"));

    select({m});
    ToolbarState ui = attrs->computeUiState();
    EXPECT_EQ(ui.texts[QStringLiteral("C4")], QStringLiteral("1,5"));
    EXPECT_EQ(ui.texts[QStringLiteral("C2")], QStringLiteral("Courier New"));
    EXPECT_EQ(ui.texts[QStringLiteral("C3")], QStringLiteral("12"));
    const std::pair<const char *, bool> down[] = {
        {"FrB1", true},  {"FrB2", false}, {"FrB3", false}, {"FrB4", true}, {"FnB1", true},
        {"FnB2", false}, {"FnB3", true},  {"AlB1", false}, {"AlB8", true}, {"AlB4", false},
        {"AlB5", false}, {"AlB6", false}, {"AlB7", true}};
    for (const auto &[name, isDown] : down)
        EXPECT_EQ(ui.down[QString::fromLatin1(name)], isDown) << name;
    EXPECT_EQ(ui.glyphs[QStringLiteral("ClB1")], 0x00FFFF);
    EXPECT_EQ(ui.status, QStringLiteral("Memo1: Total des points"));

    select({m, pic});
    ui = attrs->computeUiState();
    EXPECT_EQ(ui.texts[QStringLiteral("C4")], QStringLiteral("1"));
    EXPECT_EQ(ui.texts[QStringLiteral("C2")], QString());
    EXPECT_EQ(ui.texts[QStringLiteral("C3")], QString());
    EXPECT_TRUE(ui.down[QStringLiteral("AlB1")]);
    EXPECT_FALSE(ui.down[QStringLiteral("FnB1")]);
    EXPECT_FALSE(ui.down[QStringLiteral("FrB1")]);
    EXPECT_EQ(ui.glyphs[QStringLiteral("ClB1")], 0);
    EXPECT_EQ(ui.glyphs.count(QStringLiteral("ClB3")), 0u);
    EXPECT_EQ(ui.status, QString());

    select({b});
    ui = attrs->computeUiState();
    EXPECT_EQ(ui.status, QStringLiteral("MasterData1: Données maitre"));
    EXPECT_TRUE(ui.texts.empty());
    select({pic});
    EXPECT_EQ(attrs->computeUiState().status, QStringLiteral("Picture1"));
}

TEST_F(AttributeTest, HighlightIsWrittenIntoEverySelectedMemoOnly)
{
    TfrMemoView *first = memo(QStringLiteral("Memo1"), 10, 10, 50, 18);
    first->HighlightCondition = QStringLiteral("Value > 0");
    first->Highlight.FontColor = 0x0000FF;
    auto *pic = picture(QStringLiteral("Picture1"), 100, 10);
    TfrMemoView *second = memo(QStringLiteral("Memo2"), 10, 40, 50, 18);
    std::vector<HighlightChoice> starts;
    std::optional<HighlightChoice> answer;
    core->state.Requests.highlight = [&](const HighlightChoice &start) {
        starts.push_back(start);
        return answer;
    };

    // The top-most selected object is the second memo.
    select({first, second});
    EXPECT_FALSE(attrs->applyHighlight());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].condition, QString());
    EXPECT_EQ(starts[0].fontStyle, 2);
    EXPECT_EQ(undoCount(), 0);

    answer = HighlightChoice{QStringLiteral("[Total] < 0"), 0x0000FF, 0x00FFFF, 2 | 1 | 4 | 8};
    select({first, pic});
    EXPECT_TRUE(attrs->applyHighlight());
    // A picture on top: the dialog starts empty, black on transparent.
    EXPECT_EQ(starts[1].condition, QString());
    EXPECT_EQ(starts[1].fontColor, 0);
    EXPECT_EQ(starts[1].fillColor, platform::clNone);
    EXPECT_EQ(first->HighlightCondition, QStringLiteral("[Total] < 0"));
    EXPECT_EQ(std::tuple(first->Highlight.FontColor, first->Highlight.FillColor,
                         first->Highlight.FontStyle),
              std::tuple(0x0000FF, 0x00FFFF, 7));
    EXPECT_EQ(second->HighlightCondition, QString());
    EXPECT_EQ(undoCount(), 1);
    core->Undo();
    TfrMemoView *restored = static_cast<TfrMemoView *>(page->FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->HighlightCondition, QStringLiteral("Value > 0"));

    select({});
    EXPECT_FALSE(attrs->applyHighlight());
    EXPECT_EQ(starts.size(), 2u);
}

// --- recent fonts

class RecentFontsTest : public ::testing::Test
{
protected:
    void SetUp() override { platform::TRegistry::setFileName(file()); }
    void TearDown() override { platform::TRegistry::setFileName(QString()); }
    QString file() const { return dir.filePath(QStringLiteral("registry.ini")); }
    static std::vector<FontEntry> fonts(std::initializer_list<const char *> names)
    {
        std::vector<FontEntry> list;
        for (const char *n : names)
            list.push_back({QString::fromLatin1(n), kFontTypeScalable});
        return list;
    }
    static QStringList names(const RecentFonts &r)
    {
        QStringList list;
        for (const FontEntry &e : r.items())
            list << e.name;
        return list;
    }
    QStringList stored() const
    {
        platform::TRegistry reg;
        reg.OpenKey(RecentFonts::defaultKey(), true);
        QStringList list;
        for (int i = 0; i < 5; ++i)
            list << reg.ReadString(QStringLiteral("Font%1").arg(i));
        return list;
    }
    QByteArray bytes() const { return report::test::readFileBytes(file()); }

    QTemporaryDir dir;
    const std::vector<FontEntry> installed =
        fonts({"Arial", "Courier New", "DejaVu Sans", "Georgia", "Times New Roman", "Verdana",
               "Wingdings"});
};

TEST_F(RecentFontsTest, RecentFontsNoLongerInstalledLeaveTheRegistry)
{
    {
        platform::TRegistry reg;
        reg.OpenKey(RecentFonts::defaultKey(), true);
        reg.WriteString(QStringLiteral("Font0"), QStringLiteral("Georgia"));
        reg.WriteInteger(QStringLiteral("FontType0"), 4);
        reg.WriteString(QStringLiteral("Font1"), QStringLiteral("Disparue"));
        reg.WriteInteger(QStringLiteral("FontType1"), 4);
        reg.WriteString(QStringLiteral("Font2"), QStringLiteral("Verdana"));
        reg.WriteInteger(QStringLiteral("FontType2"), 1);
    }
    RecentFonts r;
    r.fill(installed);
    EXPECT_EQ(r.recentCount(), 1);
    EXPECT_EQ(names(r).mid(0, 3).join(u','), QStringLiteral("Georgia,Verdana,Arial"));
    EXPECT_EQ(r.items()[1].type, 1);
    EXPECT_EQ(stored().join(u','), QStringLiteral("Georgia,,Verdana,,"));
    platform::TRegistry reg;
    reg.OpenKey(RecentFonts::defaultKey(), false);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("FontType1")), 0);
}

TEST_F(RecentFontsTest, ChoicesMoveToTheTopAndFiveAreKept)
{
    RecentFonts r;
    r.fill(installed);
    EXPECT_EQ(r.recentCount(), -1);
    // Six distinct choices, each picked from the full list.
    for (const char *name :
         {"Georgia", "Verdana", "Wingdings", "Arial", "Courier New", "Times New Roman"}) {
        const int full = int(r.items().size()) - int(installed.size());
        int at = -1;
        for (int i = full; i < int(r.items().size()); ++i)
            if (r.items()[size_t(i)].name == QLatin1String(name))
                at = i;
        ASSERT_GT(at, 0) << name;
        EXPECT_TRUE(r.choose(at));
    }
    EXPECT_EQ(r.recentCount(), 4);
    EXPECT_EQ(names(r).mid(0, 5).join(u','),
              QStringLiteral("Times New Roman,Courier New,Arial,Wingdings,Verdana"));
    EXPECT_EQ(int(r.items().size()), 5 + int(installed.size()));
    EXPECT_EQ(stored().join(u','),
              QStringLiteral("Times New Roman,Courier New,Arial,Wingdings,Verdana"));

    // A recent one chosen again moves up without a second copy.
    EXPECT_TRUE(r.choose(3));
    EXPECT_EQ(names(r).mid(0, 5).join(u','),
              QStringLiteral("Wingdings,Times New Roman,Courier New,Arial,Verdana"));
    // The same font chosen in the full list moves its recent entry too.
    EXPECT_TRUE(r.choose(r.indexOf(QStringLiteral("Verdana")) + 5 + 1));
    EXPECT_EQ(stored().join(u','),
              QStringLiteral("Verdana,Wingdings,Times New Roman,Courier New,Arial"));

    // The entry already first changes nothing, the file included.
    const QByteArray before = bytes();
    EXPECT_FALSE(r.choose(0));
    EXPECT_EQ(bytes(), before);

    // A new list reads them back in the same order.
    RecentFonts again;
    again.fill(installed);
    EXPECT_EQ(names(again).mid(0, 5), names(r).mid(0, 5));
    EXPECT_EQ(bytes(), before);
}

TEST_F(RecentFontsTest, WithoutRecentFontsTheRegistryIsNeverTouched)
{
    RecentFonts r;
    r.ShowMRU = false;
    r.fill(installed);
    EXPECT_EQ(names(r).size(), int(installed.size()));
    EXPECT_FALSE(r.choose(3));
    EXPECT_FALSE(QFile::exists(file()));
    // Filling a clean store with the list on writes nothing either.
    RecentFonts on;
    on.fill(installed);
    EXPECT_FALSE(QFile::exists(file()));
    on.setKey(QString());
    EXPECT_EQ(on.key(), QStringLiteral("\\Software\\VornReport\\MRUFont"));
}

TEST_F(RecentFontsTest, FontListIsSortedOnceWithTheMetricCompatibleFamilies)
{
    const auto liberation = [](const QString &f) {
        return f == QLatin1String("Arial")             ? QStringLiteral("Liberation Sans")
               : f == QLatin1String("Times New Roman") ? QStringLiteral("Liberation Serif")
                                                       : QStringLiteral("DejaVu Sans");
    };
    std::vector<FontEntry> families = {{QStringLiteral("liberation Sans"), 4},
                                       {QStringLiteral("DejaVu Sans"), 4},
                                       {QStringLiteral("Fixed"), 1},
                                       {QStringLiteral("DejaVu Sans"), 4}};
    std::vector<FontEntry> sorted = frSortedFontList(families, liberation);
    QStringList list;
    for (const FontEntry &e : sorted)
        list << e.name;
    EXPECT_EQ(list.join(u','),
              QStringLiteral("Arial,DejaVu Sans,Fixed,liberation Sans,Times New Roman"));
    // Courier New falls back on a face of other metrics: not listed.
    EXPECT_EQ(sorted[2].type, kFontTypeRaster);
    EXPECT_EQ(sorted[0].type, kFontTypeScalable);
    // An installed Arial is not listed twice.
    families.push_back({QStringLiteral("Arial"), 4});
    EXPECT_EQ(frSortedFontList(families, liberation).size(), 5u);
}

} // namespace attrs_test
} // namespace designer::test
