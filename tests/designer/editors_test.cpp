// The object editors as the designer's rules open them, with stand-ins for
// every dialog: the gate, the dispatch by kind of object, the property
// editors reached through the engine's registry (cancelled ones record
// nothing), the font rule, and the memo editor's rules.
#include "tests/designer/designer_fixture.h"

#include "designer/core/memoeditrules.h"
#include "designer/core/objecteditors.h"

#include "report/core/frvariant.h"

namespace designer::test
{
namespace
{

using namespace report;

class EditorsTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        registerPropertyEditors();
        installObjectEditors(*core);
        RequestSlots &req = core->state.Requests;
        req.memoEditor = [this](TfrView *v) {
            memoEdited.push_back(v);
            if (!memoAccepts)
                return false;
            storeMemoEditorResult(*v, QStringList{QStringLiteral("édité")}, memoScriptTemplate(),
                                  true);
            return true;
        };
        req.bandEditor = [this](TfrView *v) {
            bandEdited.push_back(v);
            if (bandAccepts)
                designerWindow->NotifyBeforeChange();
            return bandAccepts;
        };
    }
    void TearDown() override
    {
        frObjects().frDesignerRestrictions = 0;
        DesignerFixture::TearDown();
    }
    TfrSubReportView *subreport(const QString &name, int target)
    {
        auto v = std::make_unique<TfrSubReportView>();
        v->ID = frObjects().frNextObjectID++;
        v->Name = name;
        v->SetBounds(10, 10, 100, 40);
        v->SubPage = target;
        return static_cast<TfrSubReportView *>(page->Add(std::move(v)));
    }

    std::vector<TfrView *> memoEdited, bandEdited;
    bool memoAccepts = true;
    bool bandAccepts = true;
};

TEST_F(EditorsTest, DispatchOpensTheEditorOfEachKindOfObject)
{
    struct Case {
        int bandType; // -1: not a band
        bool bandEditor;
    };
    const Case cases[] = {
        {btMasterData, true},    {btDetailData, true},   {btSubDetailData, true},
        {btGroupHeader, true},   {btCrossData, true},    {btPageHeader, false},
        {btMasterHeader, false}, {btGroupFooter, false},
    };
    for (const Case &c : cases) {
        bandEdited.clear();
        TfrBandView *b = band(c.bandType, 100, 30, QStringLiteral("Bande%1").arg(c.bandType));
        select({b});
        core->state.Requests.objectEditor(b, false);
        if (c.bandEditor) {
            ASSERT_EQ(bandEdited.size(), 1u) << c.bandType;
            EXPECT_EQ(bandEdited[0], b);
        } else {
            EXPECT_TRUE(bandEdited.empty()) << c.bandType;
        }
        EXPECT_TRUE(memoEdited.empty());
    }

    // A memo opens its own editor, the text editor, through the registry.
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 80, 20);
    select({m});
    const int redraws = view.surfaceChanges;
    const int recorded = designerWindow->beforeChanges;
    core->state.Requests.objectEditor(m, false);
    ASSERT_EQ(memoEdited.size(), 1u);
    EXPECT_EQ(memoEdited[0], m);
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("édité")});
    EXPECT_GT(view.surfaceChanges, redraws);
    EXPECT_EQ(designerWindow->beforeChanges, recorded + 1);

    // With Ctrl, a band opens the text editor instead of its band editor.
    TfrBandView *data = band(btMasterData, 300, 30, QStringLiteral("Donnees"));
    select({data});
    bandEdited.clear();
    core->state.Requests.objectEditor(data, true);
    EXPECT_TRUE(bandEdited.empty());
    EXPECT_EQ(memoEdited.back(), data);

    // A subreport makes its page the current one; a damaged target shows nothing.
    rep->Pages().Add();
    TfrSubReportView *sub = subreport(QStringLiteral("SubReport1"), 1);
    select({sub});
    core->state.Requests.objectEditor(sub, false);
    EXPECT_EQ(view.shownPages, std::vector<int>{1});
    sub->SubPage = 7;
    core->state.Requests.objectEditor(sub, false);
    EXPECT_EQ(view.shownPages, std::vector<int>{1});
}

// An object whose own editor changes it without telling the designer.
class SilentEditorView : public TfrMemoView
{
public:
    void ShowObjectEditor() override { Memo = QStringList{QStringLiteral("changé")}; }
};

TEST_F(EditorsTest, ChangeBySilentEditorStillMarksTheReportModified)
{
    auto owned = std::make_unique<SilentEditorView>();
    owned->ID = frObjects().frNextObjectID++;
    TfrView *v = page->Add(std::move(owned));
    select({v});
    EXPECT_TRUE(dispatchObjectEditor(*core, v, false));
    EXPECT_TRUE(designerWindow->modified);
}

TEST_F(EditorsTest, GateKeepsEditorsClosedButNotTheRestrictionsEditor)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 80, 20);
    TfrBandView *b = band(btMasterData, 100, 30, QStringLiteral("Donnees"));
    int restrictionEdits = 0;
    core->state.Requests.restrictionsEditor = [&](TfrView *v) {
        ++restrictionEdits;
        v->Restrictions = 0;
    };
    const auto tryAll = [&] {
        select({m});
        core->state.Requests.objectEditor(m, false);
        core->state.Requests.objectEditor(m, true);
        select({b});
        core->state.Requests.objectEditor(b, false);
        frObjects().frPropEditors.Call(FrEditorKind::BandDataSource);
    };

    frObjects().frDesignerRestrictions = 1 << drNoObjectEditors;
    tryAll();
    select({m});
    EXPECT_FALSE(frObjects().frPropEditors.Call(FrEditorKind::Restrictions));
    EXPECT_TRUE(memoEdited.empty());
    EXPECT_TRUE(bandEdited.empty());
    EXPECT_EQ(restrictionEdits, 0);

    frObjects().frDesignerRestrictions = 0;
    m->Restrictions = b->Restrictions = frrfDontEditContents;
    tryAll();
    EXPECT_TRUE(memoEdited.empty());
    EXPECT_TRUE(bandEdited.empty());
    // The flag can still be taken away.
    select({m});
    EXPECT_TRUE(frObjects().frPropEditors.Call(FrEditorKind::Restrictions));
    EXPECT_EQ(restrictionEdits, 1);
    EXPECT_EQ(m->Restrictions, 0);
    core->state.Requests.objectEditor(m, false);
    EXPECT_EQ(memoEdited.size(), 1u);
}

TEST_F(EditorsTest, FontEditorTakesOverOnlyWhatWasChanged)
{
    TfrMemoView *other = memo(QStringLiteral("Autre"), 10, 40, 80, 20);
    other->Font.Name = QStringLiteral("Times New Roman");
    other->Font.Size = 8;
    other->Font.Style = 1; // italic
    other->Font.Color = 0x0000FF;
    other->Font.Charset = 238;
    TfrMemoView *locked = memo(QStringLiteral("Fige"), 10, 70, 80, 20);
    locked->Restrictions = frrfDontModify;
    TfrMemoView *top = memo(QStringLiteral("Haut"), 10, 10, 80, 20);
    top->Font.Style = 2; // Arial 10 bold
    TfrMemoView *unselected = memo(QStringLiteral("Seul"), 10, 100, 80, 20);
    select({other, locked, top});

    platform::FontChoice chosen;
    chosen.name = QStringLiteral("Arial");
    chosen.size = 12;
    chosen.bold = true;
    fakes->dialogs.fonts.push_back(chosen);
    EXPECT_TRUE(frObjects().frPropEditors.Call(FrEditorKind::Font));

    ASSERT_EQ(fakes->dialogs.fontRequests.size(), 1u);
    EXPECT_EQ(fakes->dialogs.fontRequests[0].name, QStringLiteral("Arial"));
    EXPECT_EQ(fakes->dialogs.fontRequests[0].size, 10);
    EXPECT_TRUE(fakes->dialogs.fontRequests[0].bold);
    EXPECT_EQ(std::tuple(top->Font.Size, top->Font.Style), std::tuple(12, 2));
    EXPECT_EQ(std::tuple(other->Font.Size, other->Font.Name, other->Font.Style, other->Font.Color,
                         other->Font.Charset),
              std::tuple(12, QStringLiteral("Times New Roman"), 1, 0x0000FF, 238));
    EXPECT_EQ(locked->Font.Size, 10);
    EXPECT_EQ(unselected->Font.Size, 10);
    EXPECT_EQ(designerWindow->beforeChanges, 1);

    // Style bits are taken one by one: dropping bold keeps the italic.
    other->Font.Style = 3;
    chosen.bold = false;
    fakes->dialogs.fonts.push_back(chosen);
    frObjects().frPropEditors.Call(FrEditorKind::Font);
    EXPECT_EQ(other->Font.Style, 1);
    EXPECT_EQ(top->Font.Style, 0);

    // Another object on top starts from the default font.
    TfrBandView *b = band(btMasterData, 200, 30, QStringLiteral("Donnees"));
    select({other, b});
    frObjects().frPropEditors.Call(FrEditorKind::Font);
    EXPECT_EQ(fakes->dialogs.fontRequests.back(), platform::FontChoice{QStringLiteral("Arial")});
}

TEST_F(EditorsTest, CancelledEditorsRecordNothing)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 80, 20);
    m->Memo = QStringList{QStringLiteral("texte")};
    TfrBandView *b = band(btMasterData, 100, 30, QStringLiteral("Donnees"));
    memoAccepts = false;
    bandAccepts = false;
    RequestSlots &req = core->state.Requests;
    int opened = 0;
    req.tagEditor = req.restrictionsEditor = req.pictureEditor = [&](TfrView *) { ++opened; };
    req.commands[QStringLiteral("HlB1Click")] = [&] { ++opened; };
    req.fieldPicker = [&] {
        ++opened;
        return std::optional<QString>();
    };
    struct Case {
        FrEditorKind kind;
        TfrView *on;
    };
    const Case cases[] = {
        {FrEditorKind::Memo, m},
        {FrEditorKind::Tag, m},
        {FrEditorKind::Restrictions, m},
        {FrEditorKind::Picture, m},
        {FrEditorKind::Highlight, m},
        {FrEditorKind::Font, m},
        {FrEditorKind::DataField, m},
        {FrEditorKind::BandDataSource, b},
        {FrEditorKind::VBandDataSource, b},
    };
    for (const Case &c : cases) {
        select({c.on});
        EXPECT_FALSE(frObjects().frPropEditors.Call(c.kind)) << int(c.kind);
    }
    EXPECT_EQ(opened, 5);
    EXPECT_EQ(memoEdited.size(), 1u);
    EXPECT_EQ(bandEdited.size(), 2u);
    EXPECT_EQ(fakes->dialogs.fontRequests.size(), 1u);
    EXPECT_EQ(designerWindow->beforeChanges, 0);
    EXPECT_FALSE(designerWindow->modified);
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("texte")});

    // The dispatch and the page script answer the same way.
    select({m});
    EXPECT_FALSE(dispatchObjectEditor(*core, m, false));
    page->Script = QStringList{QStringLiteral("a := 1;")};
    req.pageScript();
    EXPECT_EQ(page->Script, QStringList{QStringLiteral("a := 1;")});
    EXPECT_EQ(designerWindow->beforeChanges, 0);

    // A dialog that changed the object reports it.
    req.tagEditor = [](TfrView *v) { v->Tag = QStringLiteral("[Total]"); };
    EXPECT_TRUE(frObjects().frPropEditors.Call(FrEditorKind::Tag));
}

TEST_F(EditorsTest, DataFieldEditorStoresThePickedField)
{
    TfrPictureView *pic = nullptr;
    {
        auto v = std::make_unique<TfrPictureView>();
        v->ID = frObjects().frNextObjectID++;
        v->Name = QStringLiteral("Picture1");
        pic = static_cast<TfrPictureView *>(page->Add(std::move(v)));
    }
    select({pic});
    core->state.Requests.fieldPicker = [] {
        return std::optional<QString>(QStringLiteral("Clients.\"Photo\""));
    };
    const TfrPropRec *rec = pic->FindProperty(QStringLiteral("DataField"));
    ASSERT_TRUE(rec && rec->PropEditor);
    EXPECT_TRUE(frObjects().frPropEditors.Run(rec->PropEditor));
    EXPECT_EQ(pic->Memo, QStringList{QStringLiteral("[Clients.\"Photo\"]")});
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

TEST_F(EditorsTest, OldPropertyListsDoNothingOnceTheDesignerIsClosed)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 10, 10, 80, 20);
    select({m});
    const TfrPropRec *rec = m->FindProperty(QStringLiteral("Memo"));
    ASSERT_TRUE(rec && rec->PropEditor);
    const FrPropEditor kept = rec->PropEditor;
    EXPECT_TRUE(frObjects().frPropEditors.Run(kept));
    ASSERT_EQ(memoEdited.size(), 1u);

    // The window goes; the list built while it was open still holds the editor.
    core.reset();
    EXPECT_FALSE(frObjects().frPropEditors.Run(kept));
    frObjects().frCurrentDesigner = nullptr;
    EXPECT_FALSE(frObjects().frPropEditors.Run(kept));
    m->ShowObjectEditor();
    EXPECT_EQ(memoEdited.size(), 1u);
    EXPECT_EQ(m->Memo, QStringList{QStringLiteral("édité")});
}

// --- the memo editor's rules

TEST(MemoEditRules, EmptyScriptAndPaneLines)
{
    const std::pair<QStringList, bool> scripts[] = {
        {memoScriptTemplate(), true},
        {{QStringLiteral(" BEGIN"), QString(), QStringLiteral("end ")}, false},
        {{QStringLiteral(" begin "), QStringLiteral("\t"), QStringLiteral("end")}, true},
        {{QStringLiteral("begin"), QStringLiteral("end")}, false},
        {{QStringLiteral("begin"), QStringLiteral("x := 1;"), QStringLiteral("end")}, false},
        {{QStringLiteral("begin"), QString(), QStringLiteral("end"), QString()}, false},
    };
    for (const auto &[lines, empty] : scripts)
        EXPECT_EQ(isEmptyScript(lines), empty) << lines.join(u'|').toStdString();

    EXPECT_EQ(paneLines(QString()), QStringList());
    EXPECT_EQ(paneLines(QStringLiteral("a\nb\n")), (QStringList{"a", "b"}));
    EXPECT_EQ(paneLines(QStringLiteral("a\r\n\nb")), (QStringList{"a", "", "b"}));
}

TEST(MemoEditRules, ErrorPlaceIsReadFromTheErrorText)
{
    struct Case {
        const char *error;
        std::optional<std::pair<int, int>> place;
    };
    const Case cases[] = {
        {"Line 1/14: Expected ';'", std::pair{0, 13}},
        {"Line 12/3: Unknown", std::pair{11, 2}},
        {"Line x/y: damaged", std::pair{0, 0}},
        {"Line 99999999999/1: huge", std::pair{0, 0}},
        {"Script too long", std::nullopt},
    };
    for (const Case &c : cases) {
        const auto place = scriptErrorPlace(QString::fromLatin1(c.error));
        ASSERT_EQ(place.has_value(), c.place.has_value()) << c.error;
        if (place) {
            EXPECT_EQ(std::pair(place->line, place->column), *c.place) << c.error;
        }
    }
}

class MemoEditRulesTest : public DesignerFixture
{
};

TEST_F(MemoEditRulesTest, TextPaneFontFollowsTheMemoUnlessToldOtherwise)
{
    EditorFonts fonts;
    fonts.textName = QStringLiteral("Courier New");
    fonts.textSize = 14;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    m->Font.Name = QStringLiteral("Times New Roman");
    m->Font.Size = 20;
    MemoEditorOpening o = memoEditorOpening(*m, fonts);
    EXPECT_EQ(std::pair(o.textFontName, o.textFontSize),
              std::pair(QStringLiteral("Times New Roman"), 10));
    fonts.useDefault = false;
    o = memoEditorOpening(*m, fonts);
    EXPECT_EQ(std::pair(o.textFontName, o.textFontSize), std::pair(fonts.textName, 14));
    // Other views always take the editor's font.
    fonts.useDefault = true;
    o = memoEditorOpening(*band(btMasterData, 0, 20, QStringLiteral("Donnees")), fonts);
    EXPECT_EQ(o.textFontName, fonts.textName);
}

TEST_F(MemoEditRulesTest, ScriptCheckPointsAtTheFirstError)
{
    EXPECT_TRUE(checkScript(memoScriptTemplate()).isEmpty());
    const QStringList second =
        checkScript({QStringLiteral("begin"), QStringLiteral("  x := (1;"), QStringLiteral("end")});
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(scriptErrorPlace(second.first())->line, 1);
}

TEST_F(MemoEditRulesTest, TemplateLeftAsItIsClearsAnExistingScript)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0, 10, 10);
    m->Script = QStringList{QStringLiteral("x := 1;")};
    storeMemoEditorResult(*m, {}, memoScriptTemplate(), true);
    EXPECT_TRUE(m->Script.isEmpty());
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

} // namespace
} // namespace designer::test
