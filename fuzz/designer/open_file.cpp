// The designer's "Ouvrir" over a file of arbitrary bytes, chosen in the open
// dialog as a report (or, for an input whose length leaves 3 divided by 4, as
// a dictionary), while the report shown has unsaved changes the user gives
// up. Whatever the file holds, the designer ends on a page of its report:
//   - an empty file or a newer version changes nothing (name, pages, bytes)
//     and says why;
//   - a damaged file leaves an untitled report, never saved over that file;
//   - a report that reads is shown under the file's name, unmodified, with
//     no undo history;
//   - a dictionary is taken whole, Undo giving the one it replaced back, or
//     refused with a message and nothing changed.
// What is shown is then drawn, listed by the inspector object by object and
// saved: the saved template reads back to the same bytes.
#include "fuzz/report/report_files_support.h"

#include "designer/core/designercore.h"
#include "designer/core/filecommands.h"
#include "designer/core/inspectorlink.h"
#include "designer/core/inspectorprop.h"
#include "fuzz/designer/designer_fuzz.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{

using namespace report;

[[noreturn]] void failed(int line)
{
    fuzz::ruleBroken("open_file.cpp", line);
}

// The open dialog picks the fuzzed file; questions are answered No (the
// changes are given up), other boxes OK, each box counted.
class OpeningDialogs : public fuzz::SilentDialogs
{
public:
    int message(const platform::MessageRequest &request, QWidget *) override
    {
        if (request.buttons & platform::mbNo)
            return platform::mrNo;
        ++errors;
        return platform::mrOk;
    }
    std::optional<platform::FileAnswer> openFile(const platform::FileRequest &, QWidget *) override
    {
        return platform::FileAnswer{{file}, filterIndex};
    }
    QString file;
    int filterIndex = 1;
    int errors = 0;
};

OpeningDialogs &dialogs()
{
    static OpeningDialogs *installed = [] {
        auto d = std::make_unique<OpeningDialogs>();
        OpeningDialogs *raw = d.get();
        platform::setDialogs(std::move(d));
        return raw;
    }();
    return *installed;
}

QString scratchFile(const char *name)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        failed(__LINE__);
    return dir.filePath(QString::fromLatin1(name));
}

QByteArray saved(TfrReport &report)
{
    FrMemoryStream out;
    report.SaveToStream(out);
    return out.data();
}

QByteArray savedDictionary(TfrReport &report)
{
    FrMemoryStream out;
    report.Dictionary().SaveToStream(out);
    return out.data();
}

// The designer shows a page of its report, and everything on it can be
// drawn, listed by the inspector and saved to a template that reads back.
void checkShown(designer::DesignerCore &core, TfrReport &report)
{
    TfrPage *shown = core.state.page();
    bool found = false;
    for (int p = 0; p < report.Pages().Count(); ++p)
        found = found || report.Pages()[p] == shown;
    if (!shown || !found || core.state.countSelected() != 0)
        failed(__LINE__);
    for (int p = 0; p < report.Pages().Count() && p < 3; ++p) {
        core.state.turnToPage(p);
        core.surface.Draw(10000, std::nullopt);
        designer::InspectorLink link(core);
        designer::TPropList rows;
        link.Fill(rows);
        TfrPage *page = core.state.page();
        for (int i = 0; i < page->ObjectCount() && i < 8; ++i) {
            page->Objects[size_t(i)]->Selected = true;
            core.state.SelectedCount = 1;
            link.Fill(rows);
            page->Objects[size_t(i)]->Selected = false;
            core.state.SelectedCount = 0;
        }
    }
    core.state.turnToPage(0);
    const QByteArray bytes = saved(report);
    {
        TfrReport again;
        FrMemoryStream in(bytes);
        again.LoadFromStream(in);
        if (again.lastLoad() != TfrReport::LoadOutcome::Loaded || saved(again) != bytes)
            failed(__LINE__);
    }
    frSetCurrentReport(&report, &report, report.parent());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    OpeningDialogs &d = dialogs();
    const bool dictionary = size % 4 == 3;
    d.file = scratchFile(dictionary ? "Choisi.frd" : "Choisi.frf");
    d.filterIndex = dictionary ? 2 : 1;
    d.errors = 0;
    {
        QFile file(d.file);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            failed(__LINE__);
    }
    {
        QObject owner;
        TfrReport report(&owner);
        TfrPage *page = report.Pages().Add();
        page->Name = QStringLiteral("Page1");
        std::unique_ptr<TfrView> band = frCreateObject(otBand, QString());
        band->ID = frObjects().frNextObjectID++;
        band->Name = QStringLiteral("MasterData1");
        static_cast<TfrBandView *>(band.get())->SetBandType(btMasterData);
        band->SetBounds(0, 40, 700, 40);
        page->Add(std::move(band));
        std::unique_ptr<TfrView> memo = frCreateObject(otMemo, QString());
        memo->ID = frObjects().frNextObjectID++;
        memo->Name = QStringLiteral("Memo1");
        memo->Memo = QStringList{QStringLiteral("[Clients.\"Nom\"]")};
        memo->SetBounds(8, 44, 96, 18);
        page->Add(std::move(memo));
        frSetCurrentReport(&report, &report, &owner);
        FrCountingDesigner window(1);
        window.Page = page;
        frObjects().frCurrentDesigner = &window;
        report::fuzz::QuietView view;
        {
            designer::DesignerCore core(window, view);
            core.state.Report = &report;
            const QString earlierName = scratchFile("Ancien.frf");
            report.FileName = earlierName;
            std::shared_ptr<designer::FileCommands> files = designer::installFileCommands(core);
            // The user's unsaved change: a memo moved, recorded for undo.
            page->Objects.back()->Selected = true;
            core.state.SelectedCount = 1;
            core.undo.RecordUndo(designer::ukEdited);
            page->Objects.back()->SetBounds(16, 44, 96, 18);
            page->Objects.back()->Selected = false;
            core.state.SelectedCount = 0;
            core.state.markModified(true);
            const QByteArray before = saved(report);
            const QByteArray dictionaryBefore = savedDictionary(report);

            files->Open();

            if (dictionary) {
                // Taken whole (modified) or refused (said, nothing changed).
                if (d.errors > 0 &&
                    (savedDictionary(report) != dictionaryBefore || saved(report) != before))
                    failed(__LINE__);
                if (files->fileName() != earlierName || !core.state.isModified())
                    failed(__LINE__);
                // A dictionary taken is given back by Undo, and taken again
                // by Redo.
                if (d.errors == 0) {
                    const QByteArray taken = savedDictionary(report);
                    core.Undo();
                    if (savedDictionary(report) != dictionaryBefore)
                        failed(__LINE__);
                    core.Redo();
                    if (savedDictionary(report) != taken)
                        failed(__LINE__);
                }
            } else {
                using Outcome = TfrReport::LoadOutcome;
                switch (report.lastLoad()) {
                case Outcome::Empty:
                case Outcome::Unsupported:
                case Outcome::Unreadable:
                // A damaged file is refused whole: the open template stays.
                case Outcome::FormatError:
                    if (d.errors != 1 || saved(report) != before ||
                        files->fileName() != earlierName || report.FileName != earlierName ||
                        core.state.page() != page || !core.state.isModified())
                        failed(__LINE__);
                    break;
                case Outcome::Loaded:
                case Outcome::MissingClasses:
                    if (files->fileName() != d.file || core.state.isModified() ||
                        core.undo.count(designer::UndoManager::UndoBuffer) != 0)
                        failed(__LINE__);
                    break;
                }
            }
            checkShown(core, report);
        }
        frObjects().frCurrentDesigner = nullptr;
        frSetCurrentReport(nullptr, nullptr, nullptr);
    }
    fr().resetForTests();
    return 0;
}
