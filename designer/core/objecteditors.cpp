#include "designer/core/objecteditors.h"

#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"

#include "report/core/frstream.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <functional>

namespace designer
{

using report::FrEditorKind;
using report::frObjects;
using report::TfrPage;
using report::TfrView;

namespace objeditors_detail
{

// Tells the registry that the editor opened nothing or was cancelled.
bool refuse()
{
    frObjects().frPropEditors.Answer(false);
    return false;
}

// The object was changed by an editor: its place is drawn again and the
// tool bars, inspector and status bar follow.
void afterEditor(DesignerCore &core)
{
    if (!core.state.page())
        return;
    core.surface.Draw(10000, std::nullopt);
    core.state.View.selectionChanged();
}

// True when view belongs to a page the designer shows or to the report.
bool isPageObject(const DesignerState &state, const TfrView *view)
{
    const auto holds = [view](const TfrPage *page) {
        if (!page)
            return false;
        for (const auto &v : page->Objects)
            if (v.get() == view)
                return true;
        return false;
    };
    if (holds(state.page()))
        return true;
    if (!state.Report)
        return false;
    const report::TfrPages &pages = state.Report->Pages();
    for (int i = 0; i < pages.Count(); ++i)
        if (holds(pages[i]))
            return true;
    return false;
}

bool editMemo(DesignerCore &core, TfrView &view)
{
    const auto &editor = core.state.Requests.memoEditor;
    if (!editor || !editor(&view))
        return refuse();
    afterEditor(core);
    return true;
}

// The tag, restrictions, picture and highlight dialogs answer nothing: the
// page as saved before and after tells whether their OK changed anything.
bool changedBy(DesignerCore &core, const std::function<void()> &open)
{
    const QByteArray before = pageSnapshot(core.state);
    open();
    if (pageSnapshot(core.state) == before)
        return refuse();
    afterEditor(core);
    return true;
}

bool slotEditor(DesignerCore &core, const std::function<void(TfrView *)> &slot,
                bool restrictionsEditor)
{
    TfrView *top = topSelectedObject(core.state);
    if (!slot || !editorGateOpen(top, restrictionsEditor))
        return refuse();
    return changedBy(core, [&] { slot(top); });
}

// The registered form of an editor: the open designer's rules, or nothing.
report::FrPropEditor registered(bool (*editor)(DesignerCore &))
{
    return [editor] {
        DesignerCore *core = designerCoreOf(frObjects().frCurrentDesigner);
        const bool accepted = core && editor(*core);
        frObjects().frPropEditors.Answer(accepted);
    };
}

} // namespace objeditors_detail

using namespace objeditors_detail;

TfrView *topSelectedObject(const DesignerState &state)
{
    const TfrPage *page = state.page();
    if (!page)
        return nullptr;
    for (int i = page->ObjectCount() - 1; i >= 0; --i)
        if (page->Objects[size_t(i)]->Selected)
            return page->Objects[size_t(i)].get();
    return nullptr;
}

bool editorGateOpen(const TfrView *view, bool restrictionsEditor)
{
    if (!view || DesignerState::restricted(drNoObjectEditors))
        return false;
    return restrictionsEditor || !(view->Restrictions & frrfDontEditContents);
}

bool bandHasEditor(int bandType)
{
    using namespace report;
    return bandType == btMasterData || bandType == btDetailData || bandType == btSubDetailData ||
           bandType == btGroupHeader || bandType == btCrossData;
}

bool dispatchObjectEditor(DesignerCore &core, TfrView *view, bool ctrlText)
{
    DesignerState &state = core.state;
    if (!state.page() || !editorGateOpen(view))
        return false;
    if (ctrlText)
        return editMemo(core, *view);
    if (auto *sub = dynamic_cast<report::TfrSubReportView *>(view)) {
        // The page it shows becomes the current one; a target outside the
        // page list (a damaged file) shows nothing.
        if (!state.Report || sub->SubPage < 0 || sub->SubPage >= state.Report->Pages().Count())
            return false;
        state.View.showPage(sub->SubPage);
        return true;
    }
    bool accepted = false;
    if (auto *band = dynamic_cast<report::TfrBandView *>(view)) {
        if (bandHasEditor(band->GetBandType()) && state.Requests.bandEditor)
            accepted = state.Requests.bandEditor(band);
    } else {
        // Some objects' own editors (the chart's) record nothing: a change
        // they made must still be saved.
        const QByteArray before = pageSnapshot(state);
        accepted = frObjects().frPropEditors.Run([view] { view->ShowObjectEditor(); });
        if (pageSnapshot(state) != before) {
            accepted = true;
            if (!state.isModified())
                state.setModified(true);
        }
    }
    afterEditor(core);
    return accepted;
}

bool memoPropertyEditor(DesignerCore &core)
{
    // A view that no page holds is the temporary memo through which a page
    // script is edited; otherwise the selection's top object.
    TfrView *current = frObjects().frCurrentView;
    if (current && !isPageObject(core.state, current))
        return editMemo(core, *current);
    TfrView *top = topSelectedObject(core.state);
    if (!editorGateOpen(top))
        return refuse();
    return editMemo(core, *top);
}

platform::FontChoice fontChoiceOf(const report::FrFontProps &font)
{
    platform::FontChoice c;
    c.name = font.Name;
    c.size = font.Size;
    c.italic = font.Style & 1;
    c.bold = font.Style & 2;
    c.underline = font.Style & 4;
    c.strikeOut = font.Style & 8;
    return c;
}

void applyFontChange(report::FrFontProps &target, const platform::FontChoice &start,
                     const platform::FontChoice &chosen)
{
    if (chosen.name != start.name)
        target.Name = chosen.name;
    if (chosen.size != start.size)
        target.Size = chosen.size;
    const auto styleBit = [&target](bool before, bool after, quint16 bit) {
        if (before == after)
            return;
        target.Style = after ? quint16(target.Style | bit) : quint16(target.Style & ~bit);
    };
    styleBit(start.italic, chosen.italic, 1);
    styleBit(start.bold, chosen.bold, 2);
    styleBit(start.underline, chosen.underline, 4);
    styleBit(start.strikeOut, chosen.strikeOut, 8);
}

bool fontPropertyEditor(DesignerCore &core)
{
    TfrView *top = topSelectedObject(core.state);
    if (!editorGateOpen(top))
        return refuse();
    // Another object than a memo starts from the default font.
    report::FrFontProps startFont;
    if (auto *memo = dynamic_cast<report::TfrMemoView *>(top))
        startFont = memo->Font;
    const platform::FontChoice start = fontChoiceOf(startFont);
    const std::optional<platform::FontChoice> chosen =
        platform::dialogs().chooseFont(start, nullptr);
    if (!chosen)
        return refuse();
    core.state.Designer.NotifyBeforeChange();
    if (TfrPage *page = core.state.page())
        for (const auto &v : page->Objects) {
            auto *memo = dynamic_cast<report::TfrMemoView *>(v.get());
            if (memo && memo->Selected && !(memo->Restrictions & frrfDontModify))
                applyFontChange(memo->Font, start, *chosen);
        }
    afterEditor(core);
    return true;
}

bool dataFieldPropertyEditor(DesignerCore &core)
{
    TfrView *top = topSelectedObject(core.state);
    if (!editorGateOpen(top))
        return refuse();
    const QString field = core.PickDataField();
    if (field.isEmpty())
        return refuse();
    core.state.Designer.NotifyBeforeChange();
    top->SetPropertyValue(QStringLiteral("DataField"), report::FrVariant(field));
    afterEditor(core);
    return true;
}

bool bandSourcePropertyEditor(DesignerCore &core)
{
    TfrView *top = topSelectedObject(core.state);
    auto *band = dynamic_cast<report::TfrBandView *>(top);
    if (!band || !editorGateOpen(band) || !core.state.Requests.bandEditor)
        return refuse();
    if (!core.state.Requests.bandEditor(band))
        return refuse();
    afterEditor(core);
    return true;
}

bool tagPropertyEditor(DesignerCore &core)
{
    return slotEditor(core, core.state.Requests.tagEditor, false);
}

bool restrictionsPropertyEditor(DesignerCore &core)
{
    return slotEditor(core, core.state.Requests.restrictionsEditor, true);
}

bool picturePropertyEditor(DesignerCore &core)
{
    return slotEditor(core, core.state.Requests.pictureEditor, false);
}

bool highlightPropertyEditor(DesignerCore &core)
{
    const auto &commands = core.state.Requests.commands;
    const auto it = commands.find(QStringLiteral("HlB1Click"));
    if (it == commands.end() || !it->second || !editorGateOpen(topSelectedObject(core.state)))
        return refuse();
    return changedBy(core, it->second);
}

void registerPropertyEditors()
{
    report::FrPropEditors &editors = frObjects().frPropEditors;
    editors.Register(FrEditorKind::Memo, registered(memoPropertyEditor));
    editors.Register(FrEditorKind::Tag, registered(tagPropertyEditor));
    editors.Register(FrEditorKind::Restrictions, registered(restrictionsPropertyEditor));
    editors.Register(FrEditorKind::Picture, registered(picturePropertyEditor));
    editors.Register(FrEditorKind::Highlight, registered(highlightPropertyEditor));
    editors.Register(FrEditorKind::Font, registered(fontPropertyEditor));
    editors.Register(FrEditorKind::DataField, registered(dataFieldPropertyEditor));
    editors.Register(FrEditorKind::BandDataSource, registered(bandSourcePropertyEditor));
    editors.Register(FrEditorKind::VBandDataSource, registered(bandSourcePropertyEditor));
}

void installObjectEditors(DesignerCore &core)
{
    RequestSlots &req = core.state.Requests;
    req.objectEditor = [&core](TfrView *view, bool ctrlText) {
        dispatchObjectEditor(core, view, ctrlText);
    };
    req.pageScript = [&core] {
        if (TfrPage *page = core.state.page())
            page->EditScript();
    };
}

QByteArray pageSnapshot(const DesignerState &state)
{
    const TfrPage *page = state.page();
    if (!page)
        return {};
    report::FrMemoryStream stream;
    for (const auto &v : page->Objects)
        v->SaveToStream(stream);
    return stream.data();
}

} // namespace designer
