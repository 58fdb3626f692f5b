// One designer clipboard record over arbitrary bytes, pasted onto the first
// page of a small template (bands, memos, a subreport target page) as the
// designer pastes it: nothing selected, a band selected, or the page
// scrolled, by the input's length. A record that does not read pastes
// nothing; one that does is renamed apart from every other object, reads
// back from what the clipboard would write of it, and Undo and Redo take it
// away and bring it back.
#include "fuzz/report/report_files_support.h"

#include "designer/core/designerclipboard.h"
#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"
#include "fuzz/designer/designer_fuzz.h"
#include "report/core/frutils.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QSet>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

using namespace report;

void addObject(TfrPage &page, int typ, const QString &name, int x, int y, int dx, int dy)
{
    std::unique_ptr<TfrView> view = frCreateObject(typ, QString());
    view->Name = name;
    view->SetBounds(x, y, dx, dy);
    page.Add(std::move(view));
}

TfrBandView *addBand(TfrPage &page, int type, const QString &name, int y)
{
    std::unique_ptr<TfrView> view = frCreateObject(otBand, QString());
    auto *band = static_cast<TfrBandView *>(view.get());
    band->Name = name;
    band->SetBandType(type);
    band->SetBounds(0, y, 700, 40);
    page.Add(std::move(view));
    return band;
}

int objectCount(const TfrReport &report)
{
    int n = 0;
    for (int p = 0; p < report.PageCount(); ++p)
        n += report.Page(p)->ObjectCount();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    {
        QObject owner;
        TfrReport report(&owner);
        TfrPage *page = report.Pages().Add();
        page->Name = QStringLiteral("Page1");
        TfrPage *target = report.Pages().Add();
        target->Name = QStringLiteral("Page2");
        addBand(*page, btPageHeader, QStringLiteral("PageHeader1"), 0);
        TfrBandView *masterData = addBand(*page, btMasterData, QStringLiteral("MasterData1"), 80);
        addObject(*page, otMemo, QStringLiteral("Memo1"), 8, 84, 96, 18);
        addObject(*page, otMemo, QStringLiteral("Memo2"), 120, 84, 96, 18);
        addObject(*page, otLine, QStringLiteral("Line1"), 0, 110, 700, 0);
        addObject(*target, otMemo, QStringLiteral("Memo3"), 8, 8, 96, 18);
        frSetCurrentReport(&report, &report, &owner);
        FrCountingDesigner window(1);
        window.Page = page;
        frObjects().frCurrentDesigner = &window;
        report::fuzz::QuietView view;
        {
            designer::DesignerCore core(window, view);
            core.state.Report = &report;
            core.state.Settings.GridSize = 8;
            if (size % 3 == 1) {
                masterData->Selected = true;
                core.state.SelectedCount = 1;
            } else if (size % 3 == 2) {
                view.visible.moveTopLeft(QPoint(53, 2000));
            }
            designer::designerGlobals().clipboard = {
                QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))};

            const int before = objectCount(report);
            core.Paste();
            const int after = objectCount(report);
            if (after < before || after > before + 1)
                std::abort();
            if (after == before + 1) {
                // Names stay apart, so scripts and child bands find theirs.
                QSet<QString> names;
                for (const auto &v : page->Objects) {
                    const QString name = frUpperCase(v->Name);
                    if (!name.isEmpty() && names.contains(name))
                        std::abort();
                    names.insert(name);
                }
                bool undoable = false;
                for (const auto &v : page->Objects)
                    if (v->Selected) {
                        if (!designer::DesignerClipboard::readRecord(
                                designer::DesignerClipboard::recordOf(*v)))
                            std::abort(); // what the clipboard writes it must read
                        undoable = !(v->Flags & designer::kFlagNoUndo);
                    }
                // An object flagged out of undo records stays where it is.
                if (undoable) {
                    core.Undo();
                    if (objectCount(report) != before)
                        std::abort();
                    core.Redo();
                    if (objectCount(report) != after)
                        std::abort();
                }
            }
        }
        frObjects().frCurrentDesigner = nullptr;
        frSetCurrentReport(nullptr, nullptr, nullptr);
    }
    fr().resetForTests();
    return 0;
}
