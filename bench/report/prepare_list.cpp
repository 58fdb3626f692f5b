// Preparing a list report at volume: a page header, a group header and
// footer every 50 records, one data band of six fields, a summary, two
// passes. Checks the group sums, the total and the count, then prints the
// median seconds of three preparations, the pages, records a second and the
// peak resident memory, with the program's text measuring and with a fixed
// one. Each size runs in its own process so that its peak memory is its own.
// Usage: bench_prepare_list                 1,000, 10,000 and 100,000 records
//        bench_prepare_list N [N ...]       those sizes
//        bench_prepare_list --run N         one size, in this process
//        bench_prepare_list --describe      the layout and the data rules
#include "bench/report/counted_report.h"
#include "platform/canvas/textmeasurer.h"
#include "report/build/frformat.h"
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
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

using namespace report;

namespace
{

const char *const kTowns[8] = {"Paris",    "Lyon",  "Marseille", "Toulouse",
                               "Bordeaux", "Lille", "Nantes",    "Strasbourg"};

// 10 mm at 18 pixels for 5 mm.
int mm(double millimetres)
{
    return int(std::nearbyint(millimetres * 18.0 / 5.0));
}

QString nameOf(int i)
{
    // Twenty characters, different for every record.
    QString s = QStringLiteral("Joueur ") + QString::number(i);
    while (s.size() < 20)
        s += QLatin1Char(char('a' + (i + s.size()) % 26));
    return s;
}

double montantOf(int i)
{
    return double((qint64(i) * 37) % 10000) / 100.0;
}

QString money(double v)
{
    return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

void describe()
{
    std::printf(
        "Layout: A4 portrait, margins 10 mm; Arial 8 to 12 pt.\n"
        "  page header 13 mm: title (12 pt bold), \"Page [PAGE#] sur [TOTALPAGES]\",\n"
        "                     six captions (Id, Groupe, Nom, Ville, Code, Montant);\n"
        "  group header 6 mm on [Grp]: \"Groupe [Grp]\";\n"
        "  master data 5 mm over a record source of N records: [Id], [Grp], [Nom],\n"
        "                     [Ville], [Code], [Montant #N2] (8 pt);\n"
        "  group footer 6 mm: \"Somme : [SUM([Montant]) #N2]\";\n"
        "  summary 13 mm: \"Total : [SUM([Montant]) #N2]\", \"Nombre : [COUNT(MasterData1)]\";\n"
        "  two passes (TOTALPAGES).\n"
        "Data of record i (from 0): Id i; Grp i div 50; Nom: \"Joueur \" + i padded to 20\n"
        "  characters; Ville: one of 8 towns (i mod 8); Code: \"C-\" + 5 digits (i mod 100000);\n"
        "  Montant ((i x 37) mod 10000) / 100.\n"
        "Checks: every group sum, the total (499950,00 at N = 10,000) and the count.\n");
}

using Built = CountedReport;

// Font style bits: 1 italic, 2 bold.
constexpr quint16 kBold = platform::fsBold;

TfrMemoView *addMemo(TfrPage &page, const QString &name, int x, int y, int dx, int dy,
                     const QString &text, int size = 8, quint16 style = 0)
{
    auto m = std::make_unique<TfrMemoView>();
    m->Name = name;
    m->SetBounds(x, y, dx, dy);
    m->Memo = QStringList{text};
    m->Font.Size = size;
    m->Font.Style = style;
    m->Flags = flWordWrap;
    return static_cast<TfrMemoView *>(page.Add(std::move(m)));
}

TfrBandView *addBand(TfrPage &page, const QString &name, int type, int y, int dy,
                     const QString &source = QString())
{
    auto b = std::make_unique<TfrBandView>();
    b->Name = name;
    b->SetBandType(type);
    b->SetBounds(0, y, 700, dy);
    b->Flags = type == btPageHeader ? flBandOnFirstPage : 0;
    b->FormatStr = source;
    return static_cast<TfrBandView *>(page.Add(std::move(b)));
}

Built build(int records)
{
    Built b(records);
    TfrReport &r = *b.report;
    r.TwoPass = 0xFFFF;
    TfrPage &p = b.page();
    p.LeftMargin = p.TopMargin = p.RightMargin = p.BottomMargin = mm(10);

    int y = 0;
    addBand(p, QStringLiteral("PageHeader1"), btPageHeader, y, mm(13));
    addMemo(p, QStringLiteral("Titre"), 40, y, 400, 20, QStringLiteral("Liste des joueurs"), 12,
            kBold);
    addMemo(p, QStringLiteral("NumPage"), 500, y, 200, 16,
            QStringLiteral("Page [PAGE#] sur [TOTALPAGES]"), 9);
    const char *captions[6] = {"Id", "Groupe", "Nom", "Ville", "Code", "Montant"};
    const int xs[6] = {40, 100, 160, 340, 460, 560};
    const int ws[6] = {56, 56, 176, 116, 96, 100};
    for (int i = 0; i < 6; ++i)
        addMemo(p, QStringLiteral("Legende%1").arg(i + 1), xs[i], y + 28, ws[i], 16,
                QString::fromLatin1(captions[i]), 9, kBold);
    y += 80;
    addBand(p, QStringLiteral("GroupHeader1"), btGroupHeader, y, mm(6), QStringLiteral("[Grp]"));
    addMemo(p, QStringLiteral("Groupe"), 40, y, 300, 18, QStringLiteral("Groupe [Grp]"), 10, kBold);
    y += 40;
    addBand(p, QStringLiteral("MasterData1"), btMasterData, y, mm(5));
    const char *fields[6] = {"[Id]", "[Grp]", "[Nom]", "[Ville]", "[Code]", "[Montant #N2]"};
    for (int i = 0; i < 6; ++i) {
        TfrMemoView *m = addMemo(p, QStringLiteral("Champ%1").arg(i + 1), xs[i], y, ws[i], 16,
                                 QString::fromLatin1(fields[i]));
        if (i == 5)
            m->Alignment = frtaRight;
    }
    y += 40;
    addBand(p, QStringLiteral("GroupFooter1"), btGroupFooter, y, mm(6));
    addMemo(p, QStringLiteral("SommeGroupe"), 360, y, 300, 18,
            QStringLiteral("Somme : [SUM([Montant]) #N2]"), 10);
    y += 40;
    addBand(p, QStringLiteral("ReportSummary1"), btReportSummary, y, mm(13));
    addMemo(p, QStringLiteral("Total"), 360, y, 300, 18,
            QStringLiteral("Total : [SUM([Montant]) #N2]"), 11, kBold);
    addMemo(p, QStringLiteral("Nombre"), 360, y + 22, 300, 18,
            QStringLiteral("Nombre : [COUNT(MasterData1)]"), 11);

    TfrUserDataset *src = b.source.get();
    // Names are matched as the template writes them, as the program's
    // windows do: the engine hands them over unchanged.
    r.OnGetValue = [src](const QString &name, FrVariant &value) {
        const int i = src->RecNo;
        if (name == QLatin1String("Id"))
            value = i;
        else if (name == QLatin1String("Grp"))
            value = i / 50;
        else if (name == QLatin1String("Nom"))
            value = nameOf(i);
        else if (name == QLatin1String("Ville"))
            value = QString::fromLatin1(kTowns[i % 8]);
        else if (name == QLatin1String("Code"))
            value = QStringLiteral("C-%1").arg(i % 100000, 5, 10, QLatin1Char('0'));
        else if (name == QLatin1String("Montant"))
            value = montantOf(i);
    };
    return b;
}

// Calls visit with the text of each object of that name over every prepared
// page, in order, without keeping them: the peak memory is the report's.
template <typename Visit> void visitTexts(TfrReport &r, const QString &name, Visit visit)
{
    TfrEMFPages &pages = r.EMFPages();
    for (int i = 0; i < pages.Count(); ++i) {
        pages.BuildPageObjects(i);
        for (const auto &v : pages.Entry(i)->Page->Objects)
            if (v->Name == name)
                visit(v->Memo.join(QString()).remove(QChar(1)));
        pages.Entry(i)->Page.reset();
    }
}

// The texts of the named objects over every prepared page.
QStringList textsOf(TfrReport &r, const QString &name)
{
    QStringList out;
    visitTexts(r, name, [&out](const QString &text) { out.append(text); });
    return out;
}

// The font style of the first prepared object of that name (-1: none).
int styleOf(TfrReport &r, const QString &name)
{
    TfrEMFPages &pages = r.EMFPages();
    int style = -1;
    for (int i = 0; i < pages.Count() && style < 0; ++i) {
        pages.BuildPageObjects(i);
        for (const auto &v : pages.Entry(i)->Page->Objects)
            if (auto *memo = dynamic_cast<TfrMemoView *>(v.get()); memo && memo->Name == name) {
                style = memo->Font.Style;
                break;
            }
        pages.Entry(i)->Page.reset();
    }
    return style;
}

bool check(TfrReport &r, int records)
{
    bool ok = true;
    // Titles, captions, group headings and the total print bold, as described;
    // the rows plain.
    const auto expectStyle = [&](const char *name, int expected) {
        const int style = styleOf(r, QString::fromLatin1(name));
        if (style != expected) {
            std::printf("  FAILED: %s prints with style %d, expected %d\n", name, style, expected);
            ok = false;
        }
    };
    for (const char *name : {"Titre", "Legende1", "Legende6", "Groupe", "Total"})
        expectStyle(name, kBold);
    for (const char *name : {"Champ1", "SommeGroupe"})
        expectStyle(name, 0);
    std::map<int, double> sums;
    double total = 0;
    for (int i = 0; i < records; ++i) {
        sums[i / 50] += montantOf(i);
        total += montantOf(i);
    }
    const QStringList groupSums = textsOf(r, QStringLiteral("SommeGroupe"));
    if (groupSums.size() != int(sums.size())) {
        std::printf("  FAILED: %lld group footers, %zu groups\n", qint64(groupSums.size()),
                    sums.size());
        ok = false;
    } else {
        int g = 0;
        for (const auto &[group, sum] : sums) {
            const QString expected = QStringLiteral("Somme : ") + money(sum);
            if (groupSums[g] != expected && ok) {
                std::printf("  FAILED: group %d shows \"%s\", expected \"%s\"\n", group,
                            qPrintable(groupSums[g]), qPrintable(expected));
                ok = false;
            }
            ++g;
        }
    }
    // Every record's name, in order, compared as it is read rather than kept:
    // a list of 100,000 names would count in the peak memory printed.
    int names = 0;
    int wrongName = -1;
    visitTexts(r, QStringLiteral("Champ3"), [&](const QString &text) {
        if (wrongName < 0 && text != nameOf(names))
            wrongName = names;
        ++names;
    });
    if (names != records || wrongName >= 0) {
        std::printf("  FAILED: %d names printed for %d records, first wrong at %d\n", names,
                    records, wrongName);
        ok = false;
    }
    const QString totalText = textsOf(r, QStringLiteral("Total")).value(0);
    const QString countText = textsOf(r, QStringLiteral("Nombre")).value(0);
    if (totalText != QStringLiteral("Total : ") + money(total) ||
        countText != QStringLiteral("Nombre : ") + QString::number(records)) {
        std::printf("  FAILED: \"%s\", \"%s\"\n", qPrintable(totalText), qPrintable(countText));
        ok = false;
    }
    if (ok)
        std::printf("  checked: %d records, %lld group sums, %s, %s\n", names,
                    qint64(groupSums.size()), qPrintable(totalText), qPrintable(countText));
    return ok;
}

long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int runOne(int records)
{
    fr().start();
    platform::FixedAdvanceMeasurer fixed(7, 4);
    bool ok = true;
    for (int m = 0; m < 2; ++m) {
        frObjects().setMeasurer(m == 0 ? nullptr : &fixed);
        std::vector<double> seconds;
        int pages = 0;
        for (int run = 0; run < 3; ++run) {
            Built b = build(records);
            const auto start = std::chrono::steady_clock::now();
            const bool prepared = b.report->PrepareReport();
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            pages = b.report->EMFPages().Count();
            if (!prepared) {
                std::printf("  FAILED: the preparation did not complete\n");
                return 1;
            }
            if (run == 0 && m == 0)
                ok = check(*b.report, records) && ok;
        }
        std::sort(seconds.begin(), seconds.end());
        const double median = seconds[1];
        std::printf("N = %d, %s measurer: %.3f s, %d pages, %.0f records/s\n", records,
                    m == 0 ? "program's" : "fixed", median, pages,
                    median > 0 ? records / median : 0.0);
    }
    std::printf("N = %d: peak resident memory %.1f MiB\n", records, peakKb() / 1024.0);
    fr().end();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--describe") {
        describe();
        return 0;
    }
    if (argc > 2 && QByteArray(argv[1]) == "--run") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runOne(std::max(1, atoi(argv[2])));
    }
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(std::max(1, atoi(argv[i])));
    if (sizes.isEmpty())
        sizes = {1000, 10000, 100000};
    int status = 0;
    for (int n : sizes) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--run"), QString::number(n)});
        child.waitForFinished(-1);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
