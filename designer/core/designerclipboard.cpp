#include "designer/core/designerclipboard.h"

#include "designer/core/designerglobals.h"
#include "designer/core/designerstate.h"
#include "designer/core/surfacerenderer.h"
#include "designer/core/undomanager.h"

#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"
#include "report/objects/frview.h"

#include <QSet>
#include <algorithm>
#include <limits>

namespace designer
{

using report::TfrPage;
using report::TfrView;

namespace
{

// Bands of these types may stand several times on a page; any other type
// only once.
bool repeatableBand(int type)
{
    return (type >= report::btMasterHeader && type <= report::btSubDetailFooter) ||
           type == report::btGroupHeader || type == report::btGroupFooter;
}

// A subreport builds its target page inside this one: the target must be a
// report page of this report other than the page it stands on, or formation
// would overrun the page list or recurse into itself.
bool validSubreportTarget(const DesignerState &state, const report::TfrSubReportView &sub,
                          const TfrPage *onPage)
{
    if (!state.Report)
        return false;
    const TfrPage *target = state.Report->Pages().GetPage(sub.SubPage);
    return target && target != onPage && target->PageType() == report::ptReport;
}

// The group's corner on one axis: on the grid at the scroll position when
// the page is scrolled, else at the page's edge.
qint64 cornerFor(int scrolled, int grid)
{
    if (scrolled <= 0)
        return 0;
    return qint64(scrolled / grid) * grid;
}

} // namespace

QByteArray DesignerClipboard::recordOf(TfrView &view)
{
    report::FrRestore<quint8> version(report::fr().frTemplateVersion, quint8(24));
    report::FrRestore<bool> prepared(view.Prepared, false);
    report::FrMemoryStream stream;
    report::frWriteByte(stream, view.Typ);
    report::frWriteString(stream, view.ClassName());
    view.SaveToStream(stream);
    return stream.data();
}

std::unique_ptr<TfrView> DesignerClipboard::readRecord(const QByteArray &record)
{
    report::FrObjectGlobals &g = report::frObjects();
    // A record that does not read is dropped; it must not leave an error
    // behind that the next template load would report as its own.
    report::FrRestore<bool> errorOccurred(g.frErrorOccurred);
    report::FrRestore<QString> errorText(g.frErrorText);
    report::FrRestore<quint8> version(report::fr().frTemplateVersion, quint8(24));
    try {
        report::FrMemoryStream stream(record);
        const quint8 typ = report::frReadByte(stream);
        const QString className = report::frReadString(stream);
        std::unique_ptr<TfrView> view = report::frCreateObject(typ, className);
        if (!view)
            return nullptr;
        view->Prepared = false;
        view->LoadFromStream(stream);
        return view;
    } catch (const std::exception &) {
        return nullptr;
    }
}

void DesignerClipboard::CopySelection(DesignerState &state)
{
    std::vector<QByteArray> &clipboard = designerGlobals().clipboard;
    clipboard.clear();
    if (TfrPage *page = state.page())
        for (const auto &v : page->Objects)
            if (v->Selected)
                clipboard.push_back(recordOf(*v));
}

void DesignerClipboard::Paste(DesignerState &state, SurfaceRenderer &surface, UndoManager &undo)
{
    if (DesignerState::restricted(drNoInsertObject))
        return;
    TfrPage *page = state.page();
    if (!page)
        return;

    // The band selected first gives the top; nothing stays selected, so that
    // the undo entry holds the pasted objects alone.
    const report::TfrBandView *firstBand = state.FirstSelectedBand();
    const std::optional<int> bandTop = firstBand ? std::optional<int>(firstBand->y) : std::nullopt;
    state.UnselectAll();

    std::vector<std::unique_ptr<TfrView>> objects;
    const std::vector<QByteArray> &clipboard = designerGlobals().clipboard;
    objects.reserve(clipboard.size());
    qint64 minLeft = std::numeric_limits<qint64>::max();
    qint64 minTop = std::numeric_limits<qint64>::max();
    for (const QByteArray &record : clipboard)
        if (auto view = readRecord(record)) {
            minLeft = std::min<qint64>(minLeft, view->x);
            minTop = std::min<qint64>(minTop, view->y);
            objects.push_back(std::move(view));
        }

    const QRect visible = state.View.visibleRect();
    const int grid = std::max(1, state.Settings.GridSize);
    const qint64 left0 = cornerFor(visible.left(), grid);
    const qint64 top0 = cornerFor(visible.top(), grid);

    report::FrObjectGlobals &g = report::frObjects();
    // Names are found through the report's names noted once, so that a paste
    // of thousands of objects does not search the whole report for each.
    report::FrRestore<report::FrReportLink *> current(
        g.frCurrentReport, state.Report ? state.Report : g.frCurrentReport);
    report::FrLoadNames names(g.frCurrentReport);
    report::FrRestore<report::FrLoadNames *> loadNames(g.frLoadNames, &names);
    QSet<QString> used;
    if (g.frCurrentReport)
        for (int p = 0; p < g.frCurrentReport->PageCount(); ++p)
            if (report::FrPageLink *link = g.frCurrentReport->Page(p))
                for (int i = 0; i < link->ObjectCount(); ++i)
                    if (const TfrView *v = link->Object(i))
                        used.insert(report::frUpperCase(v->Name));

    for (auto &view : objects) {
        if (auto *band = dynamic_cast<report::TfrBandView *>(view.get())) {
            const int type = band->GetBandType();
            if (!repeatableBand(type) && state.BandTypeUsed(type))
                continue;
        }
        if (auto *sub = dynamic_cast<report::TfrSubReportView *>(view.get()))
            if (!validSubreportTarget(state, *sub, page))
                continue;

        if (view->Name.isEmpty() || used.contains(report::frUpperCase(view->Name)))
            view->CreateUniqueName();
        // Through the property, which also renames a dialog control's widget.
        view->SetPropertyValue(QStringLiteral("Name"), view->Name);
        view->x = report::frClampGeometry(left0 + (view->x - minLeft));
        view->y = report::frClampGeometry(top0 + (view->y - minTop));
        if (bandTop)
            view->y = *bandTop;
        view->Selected = true;
        ++state.SelectedCount;
        used.insert(report::frUpperCase(view->Name));
        names.objectAdded(view->Name);
        page->Add(std::move(view));
    }

    state.View.selectionChanged();
    state.SortObjects();
    state.computeGroupRect();
    surface.Draw(10000, std::nullopt);
    undo.RecordUndo(ukInserted);
}

bool DesignerClipboard::isEmpty()
{
    return designerGlobals().clipboard.empty();
}

} // namespace designer
