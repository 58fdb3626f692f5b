// Loading an old template whose objects carry no names: every object gets a
// generated one ("Memo12") while it loads. Prints the milliseconds of loading
// a version 22 stream of unnamed memos, and of the same memos stored with
// their names (version 24), best of five runs (goal: 4,000 unnamed memos
// under 50 ms in a Release build).
// Usage: bench_template_load [memos]
#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

struct Bytes {
    QByteArray data;
    Bytes &byte(int v)
    {
        data.append(char(quint8(v)));
        return *this;
    }
    Bytes &word(int v) { return byte(v & 0xFF).byte((v >> 8) & 0xFF); }
    Bytes &int32(qint32 v) { return word(v & 0xFFFF).word((quint32(v) >> 16) & 0xFFFF); }
    // Versions 21 and 22 end their texts with a 0.
    Bytes &strz(const QByteArray &s)
    {
        data.append(s);
        return byte(0);
    }
};

// A version 22 template: one page, then the memos (no names in this version).
QByteArray unnamedMemos(int count)
{
    Bytes b;
    b.byte(22).word(0).word(0).strz("");
    b.byte(255).int32(9).int32(2100).int32(2970).int32(10).int32(20).int32(30).int32(40).byte(0);
    b.data.append(QByteArray(6, 'z'));
    b.word(0).word(0xFFFF).int32(1).int32(0);
    for (int i = 0; i < count; ++i) {
        b.byte(0).byte(0); // a memo on the first page
        b.int32(20 + i % 500).int32(20 + (i / 500) * 20).int32(100).int32(18);
        b.word(0).word(0).int32(1000).int32(0).word(0).int32(0x1FFFFFFF).int32(0);
        b.strz("").strz("Texte").strz("Arial").int32(10).word(0).int32(0).int32(0);
        b.word(0).word(2).int32(0).int32(0xFFFFFF).strz("");
    }
    return b.data;
}

template <typename F> double bestMillis(F f)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        auto start = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 4000;
    fr().start();
    platform::FixedAdvanceMeasurer measurer(7, 4);
    frObjects().setMeasurer(&measurer);

    const QByteArray old = unnamedMemos(count);
    TfrReport report;
    auto load = [&report](const QByteArray &bytes) {
        FrMemoryStream stream(bytes);
        report.LoadFromStream(stream);
    };
    const double unnamed = bestMillis([&] { load(old); });
    const TfrPage *page = report.Pages().GetPage(0);
    if (report.lastLoad() != TfrReport::LoadOutcome::Loaded || !page ||
        page->ObjectCount() != count) {
        std::fprintf(stderr, "the version 22 stream did not load whole\n");
        return 1;
    }
    const QString last = page->Object(count - 1)->Name;

    FrMemoryStream saved;
    report.SaveToStream(saved);
    const double named = bestMillis([&] { load(saved.data()); });

    std::printf("load %d unnamed memos (version 22): %.2f ms (goal: under 50 for 4000); last "
                "name %s\n",
                count, unnamed, qPrintable(last));
    std::printf("load %d named memos (version 24): %.2f ms\n", count, named);
    return 0;
}
