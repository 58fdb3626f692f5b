// Scripts that set objects' properties while a report is prepared: a data
// band of 20 memos over N records whose script gives every memo a text, or a
// colour (fill and font), at every record; and a script loop of 6,000,000
// lines on one record. Checks what the last record printed, then prints the
// seconds of one preparation. One preparation a run, so that an instruction
// count of the whole run (callgrind) compares builds side by side.
// Usage: bench_script_properties textes|couleurs [records]   (default 1,000)
//        bench_script_properties boucle
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace report;

namespace
{

constexpr int kMemos = 20;
// The loop runs 2,000,000 rounds of three coded lines (test, body, jump back).
constexpr int kRounds = 2000000;

QString nameOf(int i)
{
    return QStringLiteral("Joueur ") + QString::number(i);
}

int colourOf(int i)
{
    return (i * 0x10203) & 0xFFFFFF;
}

// The text the script gives memo m, or the colour, as the script reads it.
QString scriptOf(const char *kind)
{
    QString s = QStringLiteral("begin ");
    if (!std::strcmp(kind, "boucle"))
        return s + QStringLiteral("i := 0; while i < %1 do i := i + 1 end").arg(kRounds);
    for (int m = 1; m <= kMemos; ++m) {
        if (m > 1)
            s += QStringLiteral("; ");
        if (!std::strcmp(kind, "textes"))
            s += QStringLiteral("Texte%1.Memo := [Nom] + ' %1'").arg(m);
        else if (m % 2)
            s += QStringLiteral("Texte%1.FillColor := [Couleur]").arg(m);
        else
            s += QStringLiteral("Texte%1.Font.Color := [Couleur]").arg(m);
    }
    return s + QStringLiteral(" end");
}

// The last prepared memo of that name.
TfrMemoView *lastMemo(TfrReport &r, const QString &name)
{
    TfrEMFPages &pages = r.EMFPages();
    const int last = pages.Count() - 1;
    if (last < 0)
        return nullptr;
    pages.BuildPageObjects(last);
    TfrMemoView *found = nullptr;
    for (const auto &v : pages.Entry(last)->Page->Objects)
        if (auto *memo = dynamic_cast<TfrMemoView *>(v.get()); memo && memo->Name == name)
            found = memo;
    return found;
}

int run(const char *kind, int records)
{
    const bool loop = !std::strcmp(kind, "boucle");
    if (loop)
        records = 1;
    TfrReport r;
    TfrUserDataset source;
    source.RangeEnd = reCount;
    source.RangeEndCount = records;
    r.ShowProgress = false;
    r.setDataset(&source);
    TfrPage &p = *r.Pages().Add();
    auto band = std::make_unique<TfrBandView>();
    band->Name = QStringLiteral("MasterData1");
    band->SetBandType(btMasterData);
    band->SetBounds(0, 40, 700, 18);
    band->Script = QStringList{scriptOf(kind)};
    p.Add(std::move(band));
    for (int m = 1; m <= kMemos; ++m) {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = QStringLiteral("Texte%1").arg(m);
        memo->SetBounds(5 + (m - 1) * 34, 40, 34, 18);
        memo->Memo = QStringList{loop ? QStringLiteral("[i]") : QStringLiteral("x")};
        memo->Flags = 0;
        p.Add(std::move(memo));
    }
    r.OnGetValue = [&source](const QString &name, FrVariant &value) {
        if (name == QLatin1String("Nom"))
            value = nameOf(source.RecNo);
        else if (name == QLatin1String("Couleur"))
            value = colourOf(source.RecNo);
    };

    const auto start = std::chrono::steady_clock::now();
    const bool prepared = r.PrepareReport();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!prepared) {
        std::printf("  FAILED: the preparation did not complete\n");
        return 1;
    }
    // The last record's values, read back from its last printed memo.
    const int lastRecord = records - 1;
    TfrMemoView *last = lastMemo(r, QStringLiteral("Texte20"));
    const QString text = last ? last->Memo.join(QString()).remove(QChar(1)) : QString();
    bool ok = last != nullptr;
    if (ok && loop)
        ok = text == QString::number(kRounds);
    else if (ok && !std::strcmp(kind, "textes"))
        ok = text == nameOf(lastRecord) + QStringLiteral(" 20");
    else if (ok)
        ok = last->Font.Color == colourOf(lastRecord);
    if (!ok) {
        std::printf("  FAILED: %s: the last record printed \"%s\"\n", kind, qPrintable(text));
        return 1;
    }
    std::printf("%s, %d records, %d pages: %.3f s (checked: \"%s\")\n", kind, records,
                r.EMFPages().Count(), seconds, qPrintable(text));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const char *kind = argc > 1 ? argv[1] : "";
    if (std::strcmp(kind, "textes") && std::strcmp(kind, "couleurs") &&
        std::strcmp(kind, "boucle")) {
        std::printf("usage: bench_script_properties textes|couleurs [records] | boucle\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fr().start();
    const int status = run(kind, argc > 2 ? std::max(1, atoi(argv[2])) : 1000);
    fr().end();
    return status;
}
