#include "designer/core/designercore.h"

#include "designer/core/designerglobals.h"

#include "report/core/frlocale.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <QStringList>
#include <vector>

namespace designer
{

using report::TfrPage;
using report::TfrView;

Availability computeAvailability(int designMode, quint16 restrictions, bool compositeReport)
{
    const auto allowed = [restrictions](int bit) { return !((restrictions >> bit) & 1); };
    // Editing one prepared page: the page stands alone, so nothing that
    // replaces the report, builds it, or adds or removes pages.
    const bool design = designMode == 1;
    Availability a;
    a.newReport = design && allowed(drNoNewReport);
    a.preview = design && !compositeReport && allowed(drNoPreview);
    a.bandTool = design;
    a.subreportTool = design;
    // Open would free the page that the prepared report takes back.
    a.open = design && allowed(drNoOpenReport);
    a.save = allowed(drNoSaveReport);
    a.addPage = design && allowed(drNoAddPage);
    a.deletePage = design && allowed(drNoDeletePage);
    a.pageOptions = allowed(drNoPageOptions);
    // A dialog page added to a prepared page would be dropped unseen on return.
    a.addDialogPage = design && allowed(drNoAddPage);
    a.dictionary = allowed(drNoDictionary);
    a.reportOptions = allowed(drNoReportOptions);
    return a;
}

DesignerCore::DesignerCore(report::TfrReportDesigner &designer, DesignerView &view)
    : state(designer, view), surface(state), undo(state), gestures(state, surface, undo),
      keys(state, surface, undo, gestures, *this)
{
    designerGlobals().openCores.emplace_back(&designer, this);
}

DesignerCore::~DesignerCore()
{
    auto &open = designerGlobals().openCores;
    std::erase_if(open, [this](const auto &entry) { return entry.second == this; });
}

void DesignerCore::RemovePage(int n)
{
    if (DesignerState::restricted(drNoDeletePage) || state.DesignMode() != 1 || !state.Report)
        return;
    report::TfrPages &pages = state.Report->Pages();
    const int count = pages.Count();
    if (n >= 0 && n < count) {
        if (count > 1) {
            if (state.Designer.Page == pages[n])
                state.Designer.Page = nullptr;
            pages.Delete(n);
            // Subreports showing the removed page go with it; the pages after
            // it moved down by one.
            for (int i = 0; i < pages.Count(); ++i) {
                TfrPage *p = pages[i];
                for (int j = p->ObjectCount() - 1; j >= 0; --j) {
                    auto *sub = dynamic_cast<report::TfrSubReportView *>(p->Object(j));
                    if (!sub)
                        continue;
                    if (sub->SubPage == n)
                        p->Delete(j);
                    else if (sub->SubPage > n)
                        --sub->SubPage;
                }
            }
        } else {
            pages[0]->Clear();
        }
        state.UnselectAll();
        state.setLastSelected(nullptr);
        state.View.pageTabsChanged();
        state.View.showPage(0);
        state.setModified(true);
    }
    // Entries name pages by index: after a removal they would hit the wrong page.
    undo.ClearUndoBuffer();
    undo.ClearRedoBuffer();
}

void DesignerCore::SelectByName(const QString &name)
{
    if (TfrPage *p = state.page())
        if (TfrView *v = p->FindObject(name)) {
            state.UnselectAll();
            v->Selected = true;
            state.SelectedCount = 1;
            state.setLastSelected(v);
            state.View.selectionChanged();
            surface.Draw(10000, std::nullopt);
            return;
        }
    if (!name.startsWith(QLatin1String("Page")) || !state.Report)
        return;
    bool ok = false;
    const int number = name.mid(4).toInt(&ok);
    if (ok && number >= 1 && number <= state.Report->Pages().Count())
        state.View.showPage(number - 1);
}

QString DesignerCore::PickExpressionResult(const QString &text)
{
    // One bracketed reference stays as it is; anything else becomes one.
    if (text.isEmpty())
        return text;
    if (text.startsWith(u'[') && text.endsWith(u']') && text.indexOf(u'[', 1) < 0)
        return text;
    return u'[' + text + u']';
}

QString DesignerCore::PickDataFieldResult(const std::optional<QString> &field)
{
    if (!field || field->isEmpty())
        return QString();
    return u'[' + *field + u']';
}

QString DesignerCore::PickExpression()
{
    if (!state.Requests.expressionBuilder)
        return QString();
    const std::optional<QString> text = state.Requests.expressionBuilder();
    return text ? PickExpressionResult(*text) : QString();
}

QString DesignerCore::PickDataField()
{
    return PickDataFieldResult(state.Requests.fieldPicker ? state.Requests.fieldPicker()
                                                          : std::nullopt);
}

void DesignerCore::ShowDBFieldsWindow()
{
    // Fields belong in templates: a prepared page holds values only.
    if (state.DesignMode() == 1 && state.page() && !state.isDialogPage() &&
        state.Requests.dbFieldsShow)
        state.Requests.dbFieldsShow();
}

QStringList DesignerCore::pageTabTexts() const
{
    QStringList texts;
    if (!state.Report)
        return texts;
    const report::TfrPages &pages = state.Report->Pages();
    const int count = pages.Count();
    // The first subreport showing a page names its tab; a target outside the
    // page list names none.
    std::vector<std::optional<QString>> names(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        for (const auto &v : pages[i]->Objects)
            if (auto *sub = dynamic_cast<const report::TfrSubReportView *>(v.get()))
                if (sub->SubPage >= 0 && sub->SubPage < count && !names[size_t(sub->SubPage)])
                    names[size_t(sub->SubPage)] = sub->Name;
    const QString pageText = report::frLoadString(55004);
    for (int i = 0; i < count; ++i)
        texts << names[size_t(i)].value_or(pageText + QString::number(i + 1));
    return texts;
}

} // namespace designer
