// Word-wrapped memos at volume: N records (10,000 by default), one data band
// holding one stretched, word-wrapped memo 700 pixels wide (Arial 10) whose
// text is a field of 2,000 characters, in three shapes:
//   plain      French text, broken at blanks;
//   wordbreak  the same text with words broken at syllables too;
//   longword   one word of 2,000 letters, words broken at syllables.
// Each shape runs in its own process; it prints the median seconds of three
// preparations, the pages and the output lines of the first record (which
// must be the same at every run and in every version measured).
// Usage: bench_memo_wrap [N]                  the three shapes
//        bench_memo_wrap --once SHAPE [N]     one preparation, nothing else
//                                             (for an instruction counter)
#include "bench/report/counted_report.h"
#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QApplication>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

constexpr int kLength = 2000;
const char *const kShapes[3] = {"plain", "wordbreak", "longword"};

// The field of record i: 2,000 characters starting at a place that moves
// with i, so that no two neighbouring records wrap alike.
QString textOf(int shape, int i)
{
    static const QString words = QStringLiteral(
        "Le comité régional organise les épreuves de la saison : les équipes qualifiées "
        "se retrouvent au centre désigné, où l'arbitre vérifie les licences avant la "
        "première séance. Les résultats sont publiés après homologation, avec les points "
        "d'expert et de performance attribués à chaque joueur classé. ");
    static const QString letters = QStringLiteral("anticonstitutionnellementqualifiées");
    const QString &unit = shape == 2 ? letters : words;
    QString text;
    text.reserve(kLength + unit.size());
    text += QStringView(unit).mid(qsizetype(i) % unit.size());
    while (text.size() < kLength)
        text += unit;
    text.truncate(kLength);
    return text;
}

using Built = CountedReport;

Built build(int shape, int records)
{
    Built b(records);
    TfrReport &r = *b.report;
    TfrPage &p = b.page();
    p.LeftMargin = p.TopMargin = p.RightMargin = p.BottomMargin = 36;

    auto band = std::make_unique<TfrBandView>();
    band->Name = QStringLiteral("MasterData1");
    band->SetBandType(btMasterData);
    band->SetBounds(0, 0, 720, 20);
    band->Flags = flStretched;
    p.Add(std::move(band));

    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = QStringLiteral("Texte");
    memo->SetBounds(10, 0, 700, 18);
    memo->Memo = QStringList{QStringLiteral("[Texte]")};
    memo->Font.Name = QStringLiteral("Arial");
    memo->Font.Size = 10;
    memo->Flags = flStretched | flWordWrap | (shape == 0 ? 0 : flWordBreak);
    p.Add(std::move(memo));

    TfrUserDataset *src = b.source.get();
    r.OnGetValue = [src, shape](const QString &name, FrVariant &value) {
        if (name == QLatin1String("Texte"))
            value = textOf(shape, src->RecNo);
    };
    return b;
}

// The output lines of the first prepared memo.
int firstMemoLines(TfrReport &r)
{
    TfrEMFPages &pages = r.EMFPages();
    if (pages.Count() == 0)
        return -1;
    pages.BuildPageObjects(0);
    int lines = -1;
    for (const auto &v : pages.Entry(0)->Page->Objects)
        if (v->Name == QLatin1String("Texte")) {
            lines = int(v->Memo.size());
            break;
        }
    pages.Entry(0)->Page.reset();
    return lines;
}

int runShape(int shape, int records, bool once)
{
    fr().start();
    frObjects().setMeasurer(nullptr);
    std::vector<double> seconds;
    int pages = 0, lines = 0;
    for (int run = 0; run < (once ? 1 : 3); ++run) {
        Built b = build(shape, records);
        const auto start = std::chrono::steady_clock::now();
        const bool prepared = b.report->PrepareReport();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!prepared) {
            std::printf("  FAILED: the preparation did not complete\n");
            return 1;
        }
        pages = b.report->EMFPages().Count();
        if (!once)
            lines = firstMemoLines(*b.report);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%-9s N = %d: %.3f s (median of %zu), %d pages, %d lines in the first memo\n",
                kShapes[shape], records, seconds[seconds.size() / 2], seconds.size(), pages, lines);
    fr().end();
    return 0;
}

int shapeNamed(const QByteArray &name)
{
    for (int s = 0; s < 3; ++s)
        if (name == kShapes[s])
            return s;
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && (QByteArray(argv[1]) == "--once" || QByteArray(argv[1]) == "--run")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const int shape = shapeNamed(argv[2]);
        if (shape < 0) {
            std::printf("unknown shape %s (plain, wordbreak, longword)\n", argv[2]);
            return 2;
        }
        const int records = argc > 3 ? std::max(1, atoi(argv[3])) : 10000;
        return runShape(shape, records, QByteArray(argv[1]) == "--once");
    }
    QCoreApplication app(argc, argv);
    const QString records = argc > 1 ? QString::number(std::max(1, atoi(argv[1]))) : "10000";
    int status = 0;
    for (const char *shape : kShapes) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--run"), QString::fromLatin1(shape), records});
        child.waitForFinished(-1);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
