// Template streams (".frf") of any version over arbitrary bytes: the loader
// never lets an error out; a template that loads is written again and read
// back to the same bytes, and its pages' objects are drawn as the designer
// and the printer would, whatever geometry the file holds. Read from a file
// into a report that holds a template, it takes the place of that template
// as the stream read it, or leaves it as it was. Check boxes,
// charts and a dialog control are registered, as in the program.
#include "report_files_support.h"

#include "platform/canvas/recordingcanvas.h"
#include "report/core/frstream.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    {
        TfrReport report;
        FrMemoryStream stream(fuzz::bytesOf(data, size));
        report.LoadFromStream(stream);
        // What the file's first bytes refuse (all of them, or the first
        // half as a longer file's first piece), the reader refuses too.
        const QByteArray bytes = fuzz::bytesOf(data, size);
        if ((!frTemplateMayLoad(bytes) || !frTemplateMayLoad(bytes.first(bytes.size() / 2))) &&
            report.lastLoad() != TfrReport::LoadOutcome::FormatError &&
            report.lastLoad() != TfrReport::LoadOutcome::Unsupported)
            __builtin_trap();
        if (report.lastLoad() == TfrReport::LoadOutcome::Loaded) {
            FrMemoryStream out;
            report.SaveToStream(out);
            out.seek(0);
            TfrReport again;
            again.LoadFromStream(out);
            if (again.lastLoad() != TfrReport::LoadOutcome::Loaded)
                __builtin_trap(); // what we write we must read
            FrMemoryStream out2;
            again.SaveToStream(out2);
            if (out2.data() != out.data())
                __builtin_trap(); // and read it as it was
        }
        {
            static QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("etat.frf"));
            QFile file(path);
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(bytes);
            file.close();
            const auto saved = [](TfrReport &r) {
                FrMemoryStream out;
                r.SaveToStream(out);
                return out.data();
            };
            TfrReport held;
            held.Pages().Add()->CreateUniqueName();
            const QByteArray before = saved(held);
            const bool taken =
                held.LoadFromFile(path) && held.lastLoad() != TfrReport::LoadOutcome::Empty;
            if (taken != (report.lastLoad() == TfrReport::LoadOutcome::Loaded ||
                          report.lastLoad() == TfrReport::LoadOutcome::MissingClasses))
                __builtin_trap(); // the file reads as the stream does
            if (!taken && saved(held) != before)
                __builtin_trap(); // what is refused changes nothing
            if (taken && report.lastLoad() == TfrReport::LoadOutcome::Loaded &&
                saved(held) != saved(report))
                __builtin_trap(); // what is taken is what was read
            report.makeCurrent();
        }
        FrObjectGlobals &g = frObjects();
        platform::RecordingCanvas canvas(g.measurer(), QRect(0, 0, 800, 1100));
        for (int mode = 0; mode < 2; ++mode) {
            g.frDocMode = mode;
            for (int p = 0; p < report.Pages().Count() && p < 4; ++p) {
                TfrPage *page = report.Pages().GetPage(p);
                g.frCurrentPage = page;
                for (const auto &view : page->Objects)
                    view->Draw(canvas);
            }
        }
        g.frCurrentPage = nullptr;
        g.frDocMode = 0;
    }
    fr().resetForTests();
    return 0;
}
