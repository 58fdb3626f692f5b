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
//   bench_calendar_read shapes                the same for each hostile shape
//                                             below, a 64 MiB file each, each
//                                             read by a process of its own
//   bench_calendar_read shape NAME            one of them
#include "manager/core/calendrier.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
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

// One file read once, all its days: its lines or why it is refused, the
// time and the peak memory of the process.
int lireUn(const QString &chemin, const QString &nom)
{
    QElapsedTimer t;
    t.start();
    LectureCalendrier l;
    QString refus;
    try {
        LireCalendrier(chemin, platform::EncodeDate(1900, 1, 1), platform::EncodeDate(9999, 12, 31),
                       l);
    } catch (const platform::Exception &e) {
        refus = e.Message();
    }
    const double duree = t.nsecsElapsed() / 1e9;
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    std::printf(
        "%s (%.1f MB): %lld day lines%s%s in %.3f s, peak memory %.1f MB\n", qPrintable(nom),
        double(QFileInfo(chemin).size()) / 1e6, static_cast<long long>(l.lignes.size()),
        refus.isEmpty() ? "" : ", refused: ", qPrintable(refus), duree, double(u.ru_maxrss) / 1024);
    std::fflush(stdout);
    return 0;
}

// A file as large as a calendar may be, of one shape: a head, then units
// (unite(i) the i-th) as long as they fit, then a tail. Written a little at a
// time, so that the process holds nothing of it before reading it.
struct Forme {
    const char *nom;
    QByteArray tete;
    std::function<QByteArray(qint64)> unite;
    QByteArray queue;
    QString fichier = QStringLiteral("calendrier.ics");
};

// A line that goes on with the one before, as calendar programs fold.
QByteArray plie(const QByteArray &texte)
{
    return "\r\n " + texte;
}

std::vector<Forme> formes()
{
    const QByteArray evenement = "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20200110\r\n";
    const QByteArray resume = "SUMMARY:Df Coupe Senior Club\r\n";
    const QByteArray fin = "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    auto finIllisible = [](qint64 i) {
        return "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) +
               "@club.example\r\nDTSTART;VALUE=DATE:20200110\r\nDTEND;VALUE=DATE:2020XX12\r\n"
               "SUMMARY:Df Coupe Senior Club\r\nEND:VEVENT\r\n";
    };
    const QByteArray texte = "Arbitre Dupont salle des fetes de la ville, entree rue du Port,";
    return {
        // Events that a later occurrence might set aside, none readable.
        {"fin illisible, UID", "BEGIN:VCALENDAR\r\n", finIllisible, "END:VCALENDAR\r\n"},
        {"fin illisible, UID, nom de 240 caracteres", "BEGIN:VCALENDAR\r\n", finIllisible,
         "END:VCALENDAR\r\n", QString(236, QLatin1Char('n')) + QStringLiteral(".ics")},
        // Events of a UID and a start each: what a moved occurrence may set aside.
        {"UID et debut", "BEGIN:VCALENDAR\r\n",
         [](qint64 i) {
             return "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) +
                    "\r\nDTSTART:20200110\r\nSUMMARY:a b c " + QByteArray::number(i) + "\r\n";
         },
         "END:VCALENDAR\r\n"},
        // Occurrences, each of its own UID.
        {"occurrences", "BEGIN:VCALENDAR\r\n",
         [](qint64 i) {
             return "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) +
                    "\r\nRECURRENCE-ID:20200110\r\nDTSTART:20200111\r\nSUMMARY:a b c d\r\n";
         },
         "END:VCALENDAR\r\n"},
        // Short events that give nothing: the file read through.
        {"evenements sans titre lisible", "BEGIN:VCALENDAR\r\n",
         [](qint64) {
             return QByteArray(
                 "BEGIN:VEVENT\r\nDTSTART:20200110\r\nSUMMARY:a b c\r\nEND:VEVENT\r\n");
         },
         "END:VCALENDAR\r\n"},
        // One line folded over the whole file.
        {"description pliee", "BEGIN:VCALENDAR\r\n" + evenement + resume + "DESCRIPTION:x",
         [=](qint64) { return plie(texte); }, fin},
        {"resume plie", "BEGIN:VCALENDAR\r\n" + evenement + "SUMMARY:Df Coupe Senior Club",
         [=](qint64) { return plie(texte.left(60).replace(' ', '_')); }, fin},
        {"UID plie", "BEGIN:VCALENDAR\r\n" + evenement + resume + "UID:u",
         [=](qint64) { return plie(texte); }, fin},
        {"TZID plie", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n" + resume + "DTSTART;TZID=/Europe/Paris",
         [=](qint64) { return plie("/Europe/Paris/Europe/Paris/Europe/Paris/Europe/Paris"); },
         ":20200110T100000" + fin},
        // One line, not folded.
        {"description d'une ligne", "BEGIN:VCALENDAR\r\n" + evenement + resume + "DESCRIPTION:x",
         [=](qint64) { return texte; }, fin},
        // Accents that compose with nothing before them, then accents alone:
        // the second cannot be cut.
        {"description pliee, accents", "BEGIN:VCALENDAR\r\n" + evenement + resume + "DESCRIPTION:x",
         [=](qint64) { return plie(QString(24, QChar(0xE9)).toUtf8()); }, fin},
        {"description, accents combinants",
         "BEGIN:VCALENDAR\r\n" + evenement + resume + "DESCRIPTION:e",
         [=](qint64) { return QString(32, QChar(0x301)).toUtf8(); }, fin},
    };
}

// Writes the file of a shape, reads it and says what it took.
int lireForme(const Forme &f)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(f.fichier);
    {
        QFile out(chemin);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        const qint64 place = MaxOctetsCalendrier - f.queue.size();
        QByteArray tampon = f.tete;
        qint64 ecrits = 0;
        for (qint64 i = 0;; ++i) {
            const QByteArray u = f.unite(i);
            if (ecrits + tampon.size() + u.size() > place)
                break;
            tampon += u;
            if (tampon.size() > (1 << 20)) {
                ecrits += out.write(tampon);
                tampon.clear();
            }
        }
        out.write(tampon + f.queue);
    }
    return lireUn(chemin, QString::fromLatin1(f.nom));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "shapes") == 0) {
        for (const Forme &f : formes()) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedChannels);
            p.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("shape"), QString::fromLatin1(f.nom)});
            p.waitForFinished(-1);
        }
        return 0;
    }
    if (argc == 3 && qstrcmp(argv[1], "shape") == 0) {
        for (const Forme &f : formes())
            if (qstrcmp(f.nom, argv[2]) == 0)
                return lireForme(f);
        return 2;
    }
    if (argc == 2 && !std::isdigit(static_cast<unsigned char>(argv[1][0])))
        return lireUn(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[1]));
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
