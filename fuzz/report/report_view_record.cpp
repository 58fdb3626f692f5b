// One view record over arbitrary bytes. The first byte picks the class (memo,
// picture, band, subreport, line), the second the format version (21 to 24),
// the third whether the record is a prepared one and whether it is drawn
// printing or designing. A record that reads is written again and drawn on a
// recording canvas, as prepared pages and the designer would.
#include "platform/canvas/recordingcanvas.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frglobals.h"
#include "report/objects/frview.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace report;
    if (size < 3)
        return 0;
    static platform::FixedAdvanceMeasurer measurer(7, 4);
    fr().resetForTests();
    FrObjectGlobals &g = frObjects();
    g.setMeasurer(&measurer);
    auto view = frCreateObject(data[0] % 5, QString());
    fr().frTemplateVersion = quint8(21 + data[1] % 4);
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
    FrMemoryStream out;
    view->SaveToStream(out);
    platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
    view->Draw(canvas);
    (void)view->GetClipRegion(true);
    view.reset();
    fr().resetForTests();
    return 0;
}
