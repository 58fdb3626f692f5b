// The settings file read key by key, as the calendars window reads its code
// labels: every key of a section listed, then each label read on its own,
// through one settings-file object. Then a single key of a large file, read
// by a fresh object (the parse) and by the same object again. Prints medians
// of five runs.
//
//   bench_ini_read [labels...] [megabytes]      (default 4000 8000, 20 MB)
#include "platform/inifile/inifile.h"
#include "platform/text/linefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using platform::TIniFile;

namespace
{

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The program's own sections, then the labels of the venues.
QStringList profil(int labels)
{
    QStringList l = {"[Param]", "Saison=2023-2024", "[Calendart]", "Date Depart=01/09/2023",
                     "[Lieu]"};
    for (int i = 0; i < labels; ++i)
        l << QStringLiteral("CLUB%1=Club de bridge numéro %1, salle des fêtes").arg(i);
    l << "[Arbitre]"
      << "AR1=M. Dupont";
    return l;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> tailles;
    double megaoctets = 20;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a.endsWith(QLatin1String("MB")))
            megaoctets = a.chopped(2).toDouble();
        else
            tailles.push_back(std::atoi(argv[i]));
    }
    if (tailles.empty())
        tailles = {4000, 8000};
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Vorn_Lud.ini"));

    for (const int n : tailles) {
        platform::LineFile::write(chemin, profil(n));
        std::vector<double> temps;
        int lus = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer t;
            t.start();
            const TIniFile ini(chemin);
            lus = 0;
            for (const QString &cle : ini.ReadSection(QStringLiteral("Lieu")))
                lus += !ini.ReadString(QStringLiteral("Lieu"), cle, QString()).isEmpty();
            temps.push_back(t.nsecsElapsed() / 1e9);
        }
        std::printf("%d labels read one at a time: %.4f s (median of 5, %d read)\n", n,
                    median(temps), lus);
    }

    // A large file: its labels section padded with other sections.
    QStringList grand = profil(100);
    qint64 octets = 0;
    for (const QString &l : grand)
        octets += l.size() + 2;
    for (int s = 0; octets < qint64(megaoctets * 1e6); ++s) {
        grand << QStringLiteral("[Section%1]").arg(s);
        for (int k = 0; k < 100; ++k) {
            grand << QStringLiteral("Cle%1=valeur %1 de la section %2").arg(k).arg(s);
            octets += grand.last().size() + 2;
        }
    }
    platform::LineFile::write(chemin, grand);
    std::vector<double> premier, suivants;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const TIniFile ini(chemin);
        ini.ReadString(QStringLiteral("Arbitre"), QStringLiteral("AR1"), QString());
        premier.push_back(t.nsecsElapsed() / 1e9);
        t.restart();
        for (int k = 0; k < 100; ++k)
            ini.ReadString(QStringLiteral("Lieu"), QStringLiteral("CLUB%1").arg(k), QString());
        suivants.push_back(t.nsecsElapsed() / 1e9 / 100);
    }
    std::printf("%.1f MB file: first key %.4f s, each next key %.6f s (medians of 5)\n",
                double(octets) / 1e6, median(premier), median(suivants));
    return 0;
}
