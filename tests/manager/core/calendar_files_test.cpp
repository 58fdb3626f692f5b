// iCalendar files as calendar programs write them: durations instead of ends,
// times in UTC or in a named zone, events ending at midnight, names in any
// letter case, blank lines, folds anywhere. Every case is read in six forms:
// LF and CR LF, each as written, folded every few bytes, and folded with a
// blank line after every line.
#include "manager/core/calendrier.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace manager;
using platform::EncodeDate;

namespace
{

struct Variante {
    const char *nom;
    bool crlf;
    int pli;     // bytes per folded line, 0 for none
    bool blancs; // a blank line after every line
};

const Variante variantes[] = {
    {"LF", false, 0, false},
    {"CR LF", true, 0, false},
    {"LF plié", false, 5, false},
    {"CR LF plié", true, 7, false},
    {"LF plié blancs", false, 6, true},
    {"CR LF plié blancs", true, 4, true},
};

// The case's text (LF, one line a property) in a variant's form; numeros
// receives the physical line number (from 1) at which each line starts.
// Folds alternate blank and tab and may cut a name or a UTF-8 letter.
QByteArray decliner(const QByteArray &lf, const Variante &v, QList<int> *numeros = nullptr)
{
    const QByteArray fin = v.crlf ? "\r\n" : "\n";
    QByteArray out;
    int physique = 0;
    const QList<QByteArray> lignes = lf.split('\n');
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const QByteArray &l = lignes[i];
        if (i + 1 == lignes.size() && l.isEmpty())
            break; // after the last line end
        if (numeros)
            numeros->append(physique + 1);
        QList<QByteArray> morceaux;
        if (v.pli > 0 && l.size() > v.pli) {
            for (qsizetype p = 0; p < l.size(); p += v.pli)
                morceaux.append((p == 0 ? QByteArray() : QByteArray(p / v.pli % 2 ? " " : "\t")) +
                                l.mid(p, v.pli));
        } else {
            morceaux.append(l);
        }
        for (const QByteArray &m : morceaux) {
            out += m + fin;
            ++physique;
            if (v.blancs) {
                out += (physique % 3 ? QByteArray() : QByteArray(" \t")) + fin;
                ++physique;
            }
        }
    }
    return out;
}

// One event in a calendar, its summary last but for the given lines.
QByteArray evenement(std::initializer_list<const char *> proprietes)
{
    QByteArray ics = "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\n";
    for (const char *p : proprietes)
        ics += QByteArray(p) + '\n';
    return ics + "SUMMARY:Df Coupe Senior ClubA\nEND:VEVENT\nEND:VCALENDAR\n";
}

QString lignesDe(std::initializer_list<const char *> jours)
{
    QStringList l;
    for (const char *j : jours)
        l << QString::fromLatin1(j) + QStringLiteral(";Df;Coupe;Senior;ClubA;;");
    return l.join(QLatin1Char('\n'));
}

// March to July 2024: both sides of the change to summer time.
QString lire(const QByteArray &bytes)
{
    LectureCalendrier l;
    lireCalendrierTexte(bytes, EncodeDate(2024, 3, 1), EncodeDate(2024, 7, 31), l);
    return l.lignes.join(QLatin1Char('\n'));
}

struct Cas {
    const char *nom;
    QByteArray ics;
    QString lignes;
};

void verifier(std::initializer_list<Cas> cas)
{
    for (const Cas &c : cas)
        for (const Variante &v : variantes) {
            const QByteArray bytes = decliner(c.ics, v);
            try {
                EXPECT_EQ(lire(bytes).toStdString(), c.lignes.toStdString())
                    << c.nom << " / " << v.nom;
            } catch (const platform::EConvertError &e) {
                ADD_FAILURE() << c.nom << " / " << v.nom << ": " << e.Message().toStdString();
            }
        }
}

struct Refus {
    const char *nom;
    QByteArray ics;
    const char *message; // without the place
    int ligne;           // of the refused property in the LF text, from 0
};

void verifierRefus(std::initializer_list<Refus> cas)
{
    for (const Refus &c : cas)
        for (const Variante &v : variantes) {
            QList<int> numeros;
            const QByteArray bytes = decliner(c.ics, v, &numeros);
            const QString attendu = QString::fromUtf8(c.message) +
                                    QStringLiteral(" (ligne %1)").arg(numeros.value(c.ligne));
            try {
                lire(bytes);
                ADD_FAILURE() << c.nom << " / " << v.nom << ": read";
            } catch (const platform::EConvertError &e) {
                EXPECT_EQ(e.Message().toStdString(), attendu.toStdString())
                    << c.nom << " / " << v.nom;
            }
        }
}

} // namespace

TEST(CalendarFiles, DurationWithoutEndCoversItsLength)
{
    verifier({
        {"jours", evenement({"DTSTART;VALUE=DATE:20240309", "DURATION:P2D"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"une semaine", evenement({"DURATION:P1W", "DTSTART;VALUE=DATE:20240305"}),
         lignesDe({"05/03/2024", "06/03/2024", "07/03/2024", "08/03/2024", "09/03/2024",
                   "10/03/2024", "11/03/2024"})},
        {"trois heures passant minuit", evenement({"DTSTART:20240309T220000", "DURATION:PT3H"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"trois heures dans la journée", evenement({"DTSTART:20240309T100000", "DURATION:PT3H"}),
         lignesDe({"09/03/2024"})},
        {"jour et heures", evenement({"DTSTART:20240309T230000", "DURATION:+P1DT1H0M1S"}),
         lignesDe({"09/03/2024", "10/03/2024", "11/03/2024"})},
        {"minutes et secondes", evenement({"DTSTART:20240309T235900", "DURATION:PT0M61S"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"secondes seules", evenement({"DTSTART:20240309T235959", "DURATION:PT1S"}),
         lignesDe({"09/03/2024"})},
        // A duration that ends at midnight does not reach the next day.
        {"jusqu'à minuit", evenement({"DTSTART:20240309T200000", "DURATION:PT4H"}),
         lignesDe({"09/03/2024"})},
        {"négative", evenement({"DTSTART;VALUE=DATE:20240309", "DURATION:-P3D"}),
         lignesDe({"09/03/2024"})},
        // From a time in UTC, the end is converted like the start.
        {"en UTC", evenement({"DTSTART:20240309T213000Z", "DURATION:PT2H30M"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        // Whole days are calendar days in the start's zone: over the change
        // to summer time the event keeps its clock time.
        {"jours sur le changement d'heure",
         evenement({"DTSTART;TZID=Europe/Paris:20240330T233000", "DURATION:P1D"}),
         lignesDe({"30/03/2024", "31/03/2024"})},
        {"heures sur le changement d'heure",
         evenement({"DTSTART;TZID=Europe/Paris:20240330T233000", "DURATION:PT24H"}),
         lignesDe({"30/03/2024", "31/03/2024", "01/04/2024"})},
        // An end given as well wins over the duration.
        {"fin donnée",
         evenement({"DTSTART;VALUE=DATE:20240309", "DURATION:P5D", "DTEND;VALUE=DATE:20240310"}),
         lignesDe({"09/03/2024"})},
        // The event must lie in the window with its whole duration.
        {"hors fenêtre", evenement({"DTSTART;VALUE=DATE:20240730", "DURATION:P3D"}), QString()},
        {"sans fin", evenement({"DTSTART;VALUE=DATE:20240309", "DURATION:P99999999999999999999D"}),
         QString()},
        {"sans début", evenement({"DTSTART;VALUE=DATE:20240309", "DURATION:-P99999999999999W"}),
         lignesDe({"09/03/2024"})},
    });
}

TEST(CalendarFiles, BadDurationIsRefusedWithItsLine)
{
    const char *mauvaises[] = {"",     "P",      "PT",    "P2",   "2D",      "P1H",
                               "PT1D", "P1W2D",  "P1Y",   "P1M",  "PT1H10S", "p2d",
                               " P2D", "P-1D",   "+-P1D", "P1DT", "P1.5D",   "PT1H1H",
                               "P2DD", "PT3M1H", "P2W2",  "--P1D"};
    for (const char *m : mauvaises) {
        const QByteArray propriete = QByteArray("DURATION:") + m;
        const QByteArray message = "'" + QByteArray(m) + "' n'est pas une durée correcte";
        verifierRefus({{m, evenement({"DTSTART;VALUE=DATE:20240309", propriete.constData()}),
                        message.constData(), 4}});
    }
}

TEST(CalendarFiles, UtcAndKnownZonesGiveTheDayInParis)
{
    verifier({
        {"UTC en hiver", evenement({"DTSTART:20240309T233000Z"}), lignesDe({"10/03/2024"})},
        {"UTC avant minuit", evenement({"DTSTART:20240309T225959Z"}), lignesDe({"09/03/2024"})},
        {"UTC en été", evenement({"DTSTART:20240709T223000Z"}), lignesDe({"10/07/2024"})},
        {"UTC en été avant minuit", evenement({"DTSTART:20240709T213000Z"}),
         lignesDe({"09/07/2024"})},
        // Converted before the window is applied.
        {"UTC la veille de la fenêtre", evenement({"DTSTART:20240229T233000Z"}),
         lignesDe({"01/03/2024"})},
        {"UTC après la fenêtre", evenement({"DTSTART:20240731T223000Z"}), QString()},
        {"début et fin en UTC", evenement({"DTSTART:20240309T200000Z", "DTEND:20240310T020000Z"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"zone nommée", evenement({"DTSTART;TZID=America/New_York:20240309T200000"}),
         lignesDe({"10/03/2024"})},
        {"zone entre guillemets", evenement({"DTSTART;TZID=\"America/New_York\":20240309T200000"}),
         lignesDe({"10/03/2024"})},
        {"zone à l'est", evenement({"DTSTART;TZID=Asia/Tokyo:20240310T070000"}),
         lignesDe({"09/03/2024"})},
        {"fin dans une zone",
         evenement({"DTSTART;VALUE=DATE:20240309", "DTEND;TZID=America/New_York:20240309T190000"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        // Names of the zones as other programs write them.
        {"nom de zone Windows", evenement({"DTSTART;TZID=Eastern Standard Time:20240309T200000"}),
         lignesDe({"10/03/2024"})},
        {"nom de zone Windows entre guillemets",
         evenement({"DTSTART;TZID=\"Tokyo Standard Time\":20240310T070000"}),
         lignesDe({"09/03/2024"})},
        {"zone préfixée",
         evenement({"DTSTART;TZID=/mozilla.org/20070129_1/America/New_York:20240309T200000"}),
         lignesDe({"10/03/2024"})},
        {"Paris", evenement({"DTSTART;TZID=Europe/Paris:20240309T233000"}),
         lignesDe({"09/03/2024"})},
        // Z wins over a zone parameter.
        {"UTC et zone", evenement({"DTSTART;TZID=Asia/Tokyo:20240309T233000Z"}),
         lignesDe({"10/03/2024"})},
        // No zone, or one this machine does not know: as written.
        {"heure locale", evenement({"DTSTART:20240309T233000"}), lignesDe({"09/03/2024"})},
        {"zone inconnue", evenement({"DTSTART;TZID=Heure de Mars:20240309T233000"}),
         lignesDe({"09/03/2024"})},
        {"zone Outlook",
         evenement({"DTSTART;TZID=\"(UTC+01:00) Bruxelles, Copenhague, Madrid, "
                    "Paris\":20240309T233000"}),
         lignesDe({"09/03/2024"})},
        {"zone hors du dossier des zones",
         evenement({"DTSTART;TZID=../../../../etc/passwd:20240309T233000"}),
         lignesDe({"09/03/2024"})},
        // All-day values have no zone.
        {"jour entier avec zone", evenement({"DTSTART;VALUE=DATE;TZID=America/New_York:20240309"}),
         lignesDe({"09/03/2024"})},
    });
}

TEST(CalendarFiles, UnreadableTimeIsRefusedWithItsLine)
{
    // The value as the file holds it, as for a date.
    verifierRefus({
        {"heure 25", evenement({"DTSTART:20240309T253000"}),
         "'20240309T253000' n'est pas une heure correcte", 3},
        {"heure courte", evenement({"DTSTART:20240309T2330"}),
         "'20240309T2330' n'est pas une heure correcte", 3},
        {"heure vide", evenement({"DTEND:20240309T", "DTSTART:20240309T100000"}),
         "'20240309T' n'est pas une heure correcte", 3},
        {"lettres", evenement({"DTSTART:20240309T1O0000"}),
         "'20240309T1O0000' n'est pas une heure correcte", 3},
        {"fin", evenement({"DTSTART:20240309T100000", "DTEND:20240309T106000Z"}),
         "'20240309T106000Z' n'est pas une heure correcte", 4},
        {"secondes courtes en UTC", evenement({"DTSTART:20240309T100000", "DTEND:20240309T10300Z"}),
         "'20240309T10300Z' n'est pas une heure correcte", 4},
    });
}

TEST(CalendarFiles, HugeRefusedValueIsQuotedShort)
{
    // The place of the value must show after it.
    const QByteArray x(100000, 'x');
    const QByteArray y(60, 'y');
    const QByteArray cite = "'" + y + "\xE2\x80\xA6'";
    const QByteArray date = cite + " n'est pas une date correcte";
    const QByteArray duree = cite + " n'est pas une durée correcte";
    verifierRefus({
        {"date", evenement({("DTSTART:" + y + x).constData()}), date.constData(), 3},
        {"heure", evenement({("DTSTART:20240309T" + y.mid(9) + x).constData()}),
         ("'20240309T" + y.mid(9) + "\xE2\x80\xA6' n'est pas une heure correcte").constData(), 3},
        {"durée", evenement({"DTSTART;VALUE=DATE:20240309", ("DURATION:" + y + x).constData()}),
         duree.constData(), 4},
        // Sixty characters are quoted whole.
        {"soixante", evenement({("DTSTART:" + y).constData()}),
         ("'" + y + "' n'est pas une date correcte").constData(), 3},
    });
}

TEST(CalendarFiles, TimedEndAtMidnightDoesNotCountTheNextDay)
{
    verifier({
        {"20 h à minuit", evenement({"DTSTART:20240309T200000", "DTEND:20240310T000000"}),
         lignesDe({"09/03/2024"})},
        {"20 h à minuit et une seconde",
         evenement({"DTSTART:20240309T200000", "DTEND:20240310T000001"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        // Midnight in Paris, whatever zone the end was written in.
        {"minuit à Paris en UTC", evenement({"DTSTART:20240309T190000Z", "DTEND:20240309T230000Z"}),
         lignesDe({"09/03/2024"})},
        {"minuit UTC", evenement({"DTSTART:20240309T190000Z", "DTEND:20240310T000000Z"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"sur deux jours jusqu'à minuit",
         evenement({"DTSTART;TZID=Europe/Paris:20240309T200000",
                    "DTEND;TZID=Europe/Paris:20240311T000000"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"de minuit à minuit", evenement({"DTSTART:20240309T000000", "DTEND:20240309T000000"}),
         lignesDe({"09/03/2024"})},
        // A whole day's end stays exclusive.
        {"jour entier", evenement({"DTSTART;VALUE=DATE:20240309", "DTEND;VALUE=DATE:20240310"}),
         lignesDe({"09/03/2024"})},
    });
}

TEST(CalendarFiles, NamesMatchWhateverTheirCase)
{
    verifier({
        {"propriétés",
         "begin:vcalendar\nBegin:VEvent\nDTStart;Value=Date:20240309\ndtend;value=date:20240311\n"
         "Summary:Df Coupe Senior ClubA\ndescription:AR 1\nEnd:VEvent\nend:vcalendar\n",
         "09/03/2024;Df;Coupe;Senior;ClubA;AR1;\n10/03/2024;Df;Coupe;Senior;ClubA;AR1;"},
        {"durée", evenement({"dtstart;value=date:20240309", "Duration:P2D"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"paramètre de zone", evenement({"DtStart;tzid=America/New_York:20240309T200000"}),
         lignesDe({"10/03/2024"})},
        {"fin sans paramètre", evenement({"DTSTART:20240309T200000", "DtEnd:20240310T010000"}),
         lignesDe({"09/03/2024", "10/03/2024"})},
        // Another property that begins like a known one is not it.
        {"propriété voisine",
         evenement({"DTSTART;VALUE=DATE:20240309", "DURATIONS:P2D", "X-DURATION:P3D"}),
         lignesDe({"09/03/2024"})},
    });
}

TEST(CalendarFiles, BlankLinesAreSkipped)
{
    verifier({
        {"entre les lignes d'une propriété",
         "BEGIN:VEVENT\nDTSTART;VALUE=DATE:202403\n\n 09\nDTEND;VALUE=\r\n\r\n DATE:20240311\n"
         "SUMMARY:Df Coupe\n\n  Senior ClubA\nEND:VEVENT\n",
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"entre les lignes d'un événement",
         "BEGIN:VEVENT\n\nDTSTART;VALUE=DATE:20240309\n\n\nSUMMARY:Df Coupe Senior ClubA\n \t \n"
         "DURATION:P2D\n\nEND:VEVENT\n",
         lignesDe({"09/03/2024", "10/03/2024"})},
        {"CR CR LF",
         "BEGIN:VEVENT\r\r\nDTSTART;VALUE=DATE:20240309\r\r\nSUMMARY:Df Coupe\r\r\n  Senior "
         "ClubA\r\r\nEND:VEVENT\r\r\n",
         lignesDe({"09/03/2024"})},
        {"avant un événement",
         "\n\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20240309\nSUMMARY:Df Coupe Senior ClubA\n"
         "END:VEVENT\n",
         lignesDe({"09/03/2024"})},
    });
}

TEST(CalendarFiles, FoldsMayCutAnAccentedLetter)
{
    // Programs fold at a number of bytes, inside a letter's UTF-8 sequence.
    const QByteArray ics = "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20240309\nSUMMARY:Df Coupe S\xc3\n"
                           " \xa9nior Cl\xc3\xa9\nDESCRIPTION:B\xc3\xa9\n\t\xc3\xa9\nEND:VEVENT\n";
    for (const Variante &v : variantes) {
        LectureCalendrier l;
        lireCalendrierTexte(decliner(ics, v), EncodeDate(2024, 3, 1), EncodeDate(2024, 7, 31), l);
        EXPECT_EQ(l.lignes.join('\n'), QStringLiteral("09/03/2024;Df;Coupe;Sénior;Clé;Béé;"))
            << v.nom;
    }
    // A logical line far longer than the pieces it is read in, its letters
    // accented whole, by a combining accent or by a run of them: no cut may
    // split a letter, and the text is what decoding it whole gives.
    QByteArray arbitre;
    for (int i = 0; i < 16000; ++i)
        arbitre += "Cl\xc3\xa9 Cle\xcc\x81 B" + QByteArray("\xcc\x81").repeated(i % 7) + "e";
    const QByteArray longue = "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20240309\nSUMMARY:Df Coupe "
                              "Senior Cle\nDESCRIPTION:" +
                              arbitre + "\nEND:VEVENT\n";
    for (const Variante &v : {variantes[0], variantes[3]}) {
        LectureCalendrier l;
        lireCalendrierTexte(decliner(longue, v), EncodeDate(2024, 3, 1), EncodeDate(2024, 7, 31),
                            l);
        // The referee's field keeps no blank.
        EXPECT_TRUE(l.lignes.join('\n') ==
                    QStringLiteral("09/03/2024;Df;Coupe;Senior;Cle;") +
                        platform::utf8ToAnsiText(arbitre).remove(QLatin1Char(' ')) +
                        QLatin1Char(';'))
            << v.nom;
    }
}

TEST(CalendarFiles, UnreadableDateNamesTheFileAndTheLine)
{
    // In memory: the line only.
    verifierRefus({
        {"début", evenement({"DTSTART:2024XX09T100000"}),
         "'2024XX09T100000' n'est pas une date correcte", 3},
        {"fin", evenement({"DTSTART;VALUE=DATE:20240309", "DTEND;VALUE=DATE:20240230"}),
         "'20240230' n'est pas une date correcte", 4},
        {"courte", evenement({"DESCRIPTION:x", "DTSTART:2024031"}),
         "'2024031' n'est pas une date correcte", 4},
        // A "T" inside the value is no time part to cut at.
        {"texte", evenement({"DTSTART:INVALID-DATE"}), "'INVALID-DATE' n'est pas une date correcte",
         3},
    });

    // From a file: its name too, the line counted as the file has it.
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString chemin = dossier.filePath(QStringLiteral("Saison été.ics"));
    for (const Variante &v : variantes) {
        QList<int> numeros;
        const QByteArray ics = decliner(
            "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20240309\nSUMMARY:Df Coupe Senior "
            "ClubA\nEND:VEVENT\nBEGIN:VEVENT\nDESCRIPTION:Dauphiné\nDTEND;VALUE=DATE:20241332\n"
            "DTSTART;VALUE=DATE:20240309\nSUMMARY:Df Coupe Senior ClubA\nEND:VEVENT\n",
            v, &numeros);
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ics);
        f.close();
        LectureCalendrier l;
        try {
            LireCalendrier(chemin, EncodeDate(2024, 3, 1), EncodeDate(2024, 7, 31), l);
            ADD_FAILURE() << v.nom;
        } catch (const platform::EConvertError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'20241332' n'est pas une date correcte "
                                                  "(calendrier Saison été.ics, ligne %1)")
                                       .arg(numeros.value(7)))
                << v.nom;
        }
    }
}

// A repeated event is read as its first occurrence; an event of the same UID
// whose RECURRENCE-ID is that occurrence's start moves or changes it.
TEST(CalendarFiles, MovedFirstOccurrenceReplacesIt)
{
    auto ics = [](std::initializer_list<QByteArray> evenements) {
        QByteArray out = "BEGIN:VCALENDAR\n";
        for (const QByteArray &e : evenements)
            out += "BEGIN:VEVENT\n" + e + "END:VEVENT\n";
        return out + "END:VCALENDAR\n";
    };
    const QByteArray serie = "UID:serie@club\nDTSTART;TZID=Europe/Paris:20240309T140000\n"
                             "RRULE:FREQ=WEEKLY;COUNT=4\nSUMMARY:Df Coupe Senior ClubA\n";
    auto deplace = [](const char *uid, const char *occurrence, const char *jour,
                      const char *lieu = "ClubA", const char *sequence = "") {
        return "UID:" + QByteArray(uid) + "\nRECURRENCE-ID;" + occurrence + "\nDTSTART:" + jour +
               "T130000Z\nSUMMARY:Df Coupe Senior " + lieu + "\n" + sequence;
    };
    const QString b = QStringLiteral("12/03/2024;Df;Coupe;Senior;ClubB;;");
    verifier({
        {"déplacée",
         ics({serie, deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240311")}),
         lignesDe({"11/03/2024"})},
        // Same instant written in UTC; placed before the series in the file.
        {"avant, en UTC",
         ics({deplace("serie@club", "VALUE=DATE-TIME:20240309T130000Z", "20240312", "ClubB"),
              serie}),
         b},
        {"deux versions",
         ics({serie,
              deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240312", "ClubB",
                      "SEQUENCE:2\n"),
              deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240311", "ClubA",
                      "SEQUENCE:1\n")}),
         b},
        // Another occurrence, another event or an unreadable id: both kept.
        {"autre occurrence",
         ics({serie, deplace("serie@club", "TZID=Europe/Paris:20240316T140000", "20240311")}),
         lignesDe({"09/03/2024", "11/03/2024"})},
        {"autre UID",
         ics({serie, deplace("autre@club", "TZID=Europe/Paris:20240309T140000", "20240311")}),
         lignesDe({"09/03/2024", "11/03/2024"})},
        {"id illisible", ics({serie, deplace("serie@club", "VALUE=DATE:2024XX09", "20240311")}),
         lignesDe({"09/03/2024", "11/03/2024"})},
        // What is set aside is not read: an end or a duration that cannot be,
        // of the replaced event or of an older version, refuses nothing.
        {"remplacée, fin illisible",
         ics({serie + "DTEND;TZID=Europe/Paris:2024X309T160000\n",
              deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240311")}),
         lignesDe({"11/03/2024"})},
        {"remplacée, durée illisible",
         ics({deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240311"),
              serie + "DURATION:P1X\n"}),
         lignesDe({"11/03/2024"})},
        {"version écartée, fin illisible",
         ics({serie,
              deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240312", "ClubB",
                      "SEQUENCE:2\n"),
              deplace("serie@club", "TZID=Europe/Paris:20240309T140000", "20240311", "ClubA",
                      "SEQUENCE:1\nDTEND:2024XX11T150000Z\n")}),
         b},
    });
}

// A calendar that cannot be read says why; one far larger than a season's is
// refused before it is read (the pipe is never waited on).
TEST(CalendarFiles, UnreadableOrHugeCalendarsSayWhy)
{
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString tube = dossier.filePath(QStringLiteral("tube.ics"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
    const QString trop = QStringLiteral("Le fichier %1 est trop volumineux pour un calendrier "
                                        "(plus de 64 Mo)");
    ASSERT_TRUE(QDir(dossier.path()).mkdir(QStringLiteral("dossier.ics")));
    const QString ouvrir = QStringLiteral("Impossible de lire le calendrier %1.\n\nImpossible "
                                          "d'ouvrir le fichier %1 : ");
    const struct {
        const char *nom;
        qint64 taille; // of zeros; -1: there as it is
        QString message;
    } cas[] = {
        {"tube.ics", -1, ouvrir + "c'est un tube, pas un fichier"},
        {"dossier.ics", -1, ouvrir + "c'est un dossier"},
        {"absent.ics", -1, ouvrir + "fichier ou dossier introuvable"},
        {"/dev/zero", -1, ouvrir + "c'est un périphérique, pas un fichier"},
        {"grand.ics", MaxOctetsCalendrier + 1, trop},
        {"enorme.ics", qint64(300) << 20, trop},
    };
    for (const auto &c : cas) {
        const QString chemin = QDir(dossier.path()).filePath(QString::fromLatin1(c.nom));
        if (c.taille >= 0) {
            QFile f(chemin);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(c.taille));
        }
        LectureCalendrier l;
        try {
            LireCalendrier(chemin, EncodeDate(2020, 1, 1), EncodeDate(2020, 12, 31), l);
            ADD_FAILURE() << c.nom;
        } catch (const platform::Exception &e) {
            EXPECT_EQ(e.Message().toStdString(), c.message.arg(chemin).toStdString()) << c.nom;
        }
    }
}
