// The calendar core over a season of files: 20 iCalendar files of 2,500
// events each (folded summaries, reminders, UTF-8 accents, timed and all-day
// events, half the files with CR LF line ends, half with LF) read from disk
// into day lines, code lists sorted, then the print list by venue: what one
// processing of the calendars window does (the text files aside). The other
// kinds' print lists are timed apart. Prints medians of five runs.
//
//   bench_calendar_read [files [events]]      (default 20 2500)
//   bench_calendar_read FILE.ics              one file read once, all its
//                                             days: its lines, the time and
//                                             the peak memory of the process
#include "manager/core/calendrier.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace manager;

namespace
{

QByteArray fichier(int numero, int evenements)
{
    const char *fin = numero % 2 ? "\r\n" : "\n";
    QByteArray out = "BEGIN:VCALENDAR";
    out += fin;
    out += "VERSION:2.0";
    out += fin;
    for (int e = 0; e < evenements; ++e) {
        const int jour = (e * 7 + numero) % 365;
        const QDate d = QDate(2020, 1, 1).addDays(jour);
        const QByteArray date = d.toString("yyyyMMdd").toLatin1();
        const QByteArray lendemain = d.addDays(1 + e % 3).toString("yyyyMMdd").toLatin1();
        const QByteArray lignes[] = {
            "BEGIN:VEVENT",
            "UID:" + QByteArray::number(numero) + "-" + QByteArray::number(e) + "@bench",
            e % 2 ? "DTSTART;VALUE=DATE:" + date : "DTSTART;TZID=Europe/Paris:" + date + "T140000",
            e % 2 ? "DTEND;VALUE=DATE:" + lendemain : "DTEND:" + date + "T190000Z",
            // Folded inside the category.
            "SUMMARY:P" + QByteArray::number(e % 6) + " \xc3\x89preuve" +
                QByteArray::number(e % 9) + " S\xc3\xa9n",
            " ior Club" + QByteArray::number(e % 40),
            "DESCRIPTION:ARB " + QByteArray::number(e % 25) + "\\nT\xc3\xa9l 06 00 00 00 00",
            "BEGIN:VALARM", "ACTION:DISPLAY", "SUMMARY:Alarme", "DESCRIPTION:Rappel",
            "TRIGGER:-PT15M", "END:VALARM", "END:VEVENT"};
        for (const QByteArray &l : lignes) {
            out += l;
            out += fin;
        }
    }
    out += "END:VCALENDAR";
    out += fin;
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && !std::isdigit(static_cast<unsigned char>(argv[1][0]))) {
        QElapsedTimer t;
        t.start();
        LectureCalendrier l;
        QString refus;
        try {
            LireCalendrier(QString::fromLocal8Bit(argv[1]), platform::EncodeDate(1900, 1, 1),
                           platform::EncodeDate(9999, 12, 31), l);
        } catch (const platform::Exception &e) {
            refus = e.Message();
        }
        const double duree = t.nsecsElapsed() / 1e9;
        struct rusage u;
        getrusage(RUSAGE_SELF, &u);
        std::printf("%s (%.1f MB): %lld day lines%s%s in %.3f s, peak memory %.1f MB\n", argv[1],
                    double(QFileInfo(QString::fromLocal8Bit(argv[1])).size()) / 1e6,
                    static_cast<long long>(l.lignes.size()),
                    refus.isEmpty() ? "" : ", refused: ", qPrintable(refus), duree,
                    double(u.ru_maxrss) / 1024);
        return 0;
    }
    const int fichiers = argc > 1 ? std::atoi(argv[1]) : 20;
    const int evenements = argc > 2 ? std::atoi(argv[2]) : 2500;
    QTemporaryDir dossier;
    qint64 octets = 0;
    QStringList chemins;
    for (int f = 0; f < fichiers; ++f) {
        const QString chemin = dossier.filePath(QStringLiteral("cal%1.ics").arg(f));
        QFile out(chemin);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray bytes = fichier(f, evenements);
        octets += bytes.size();
        out.write(bytes);
        chemins << chemin;
    }

    std::vector<double> total, lecture, impression, autres;
    qsizetype lignes = 0, imprimees = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        LectureCalendrier l;
        for (const QString &c : chemins)
            LireCalendrier(c, platform::EncodeDate(2020, 1, 1), platform::EncodeDate(2020, 12, 31),
                           l);
        l.finir();
        const double lu = t.nsecsElapsed() / 1e9;
        const LibellesCalendrier libelles;
        imprimees = ConstruireImpression(l, QLatin1Char('C'), libelles).lignes.size();
        const double tout = t.nsecsElapsed() / 1e9;
        for (const char genre : {'E', 'A', 'T'})
            ConstruireImpression(l, QLatin1Char(genre), libelles);
        autres.push_back(t.nsecsElapsed() / 1e9 - tout);
        lignes = l.lignes.size();
        total.push_back(tout);
        lecture.push_back(lu);
        impression.push_back(tout - lu);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%d files x %d events (%.1f MB): %lld day lines, %lld print lines by venue\n",
                fichiers, evenements, double(octets) / 1e6, static_cast<long long>(lignes),
                static_cast<long long>(imprimees));
    std::printf("median of 5: %.3f s (reading %.3f s, print list %.3f s); goal < 0.5 s\n",
                median(total), median(lecture), median(impression));
    std::printf("the three other kinds' print lists: %.3f s\n", median(autres));
    return 0;
}
