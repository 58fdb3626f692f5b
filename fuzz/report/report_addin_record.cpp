// One add-in object record over arbitrary bytes. The first byte picks the
// class (check box, chart), the second the format version (21 to 24), the third
// whether the record is a prepared one and whether it is drawn printing or
// designing. A record that reads is written again, read back from what was
// written, drawn on a recording canvas and handed to the export hook, as
// templates, prepared pages and the designer would.
#include "platform/canvas/recordingcanvas.h"
#include "platform/charts/chartdescription.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frchartview.h"
#include "report/objects/frcheckboxview.h"
#include "report/objects/frglobals.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

const char *const kClasses[] = {"TfrCheckBoxView", "TfrChartView"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    if (size < 3)
        return 0;
    static platform::FixedAdvanceMeasurer measurer(7, 4);
    fr().resetForTests();
    fr().start();
    FrObjectGlobals &g = frObjects();
    g.setMeasurer(&measurer);
    frRegisterCheckBoxView();
    frRegisterChartView();
    // Charts are described, not rendered: the fuzzer looks at the records.
    static const bool quietCharts =
        (platform::setChartRenderer([](const auto &, const QSize &) { return QPicture(); }), true);
    (void)quietCharts;
    const QString cls = QString::fromLatin1(kClasses[data[0] % std::size(kClasses)]);
    auto view = frCreateObject(otAddIn, cls);
    const quint8 version = quint8(21 + data[1] % 4);
    fr().frTemplateVersion = version;
    view->Prepared = (data[2] & 1) != 0;
    g.frDocMode = (data[2] & 2) ? 1 : 0;
    FrMemoryStream stream(
        QByteArray(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3)));
    try {
        view->LoadFromStream(stream);
    } catch (const platform::Exception &) {
        fr().resetForTests();
        return 0;
    }
    // What is written reads back whole, and writes the same bytes again.
    fr().frTemplateVersion = 24;
    FrMemoryStream out;
    view->SaveToStream(out);
    auto again = frCreateObject(otAddIn, cls);
    again->Prepared = view->Prepared;
    FrMemoryStream in(out.data());
    again->LoadFromStream(in);
    FrMemoryStream out2;
    again->SaveToStream(out2);
    if (in.position() != out.data().size() || out2.data() != out.data())
        std::abort();
    platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
    view->Draw(canvas);
    g.exportText = [](const QRect &, int, TfrView *, quint16, const QString &, int) {};
    view->PassToExportFilter();
    view.reset();
    again.reset();
    fr().resetForTests();
    return 0;
}
