// iCalendar files read into calendar lines and codes, hostile files, and the
// print lists of the four kinds.
#include "manager/core/calendrier.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/support/core/thrown.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace manager;
using platform::EncodeDate;

namespace
{

QByteArray fixture(const QString &name)
{
    QFile f(QStringLiteral(VORN_TEST_DATA "/calendars/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

QByteArray crlf(QByteArray lf)
{
    return lf.replace("\n", "\r\n");
}

// January 2020, the window of most cases.
LectureCalendrier lire(const QByteArray &bytes, platform::TDateTime debut = EncodeDate(2020, 1, 1),
                       platform::TDateTime fin = EncodeDate(2020, 1, 31))
{
    LectureCalendrier l;
    lireCalendrierTexte(bytes, debut, fin, l);
    l.finir();
    return l;
}

QString joindre(const QStringList &l)
{
    return l.join(QLatin1Char('\n'));
}

} // namespace

TEST(CalendarReader, FixturesInBothLineEndsGiveTheirLines)
{
    const struct {
        const char *fichier;
        QStringList lignes;
    } cas[] = {
        // All-day events: the end date is exclusive.
        {"journees.ics",
         {"04/01/2020;Fi;Coupe;Senior;ClubA;ARB1;", "05/01/2020;Fi;Coupe;Senior;ClubA;ARB1;",
          "18/01/2020;Qf;Trophee;Mixte;ClubB;;"}},
        // Quoted time zone holding ":", a reminder's summary and
        // description, a time zone's DTSTART outside any event.
        {"bureau.ics",
         {"11/01/2020;Df;Coupe;Dames;ClubB;ARB2;", "04/01/2020;Qf;Trophee;Dames;ClubA;ARB1;"}},
        // UTC ends without parameters, a folded summary, an event without
        // end that leaves the next one alone.
        {"libre.ics",
         {"25/01/2020;Df;Coupe;Senior;ClubA;;", "26/01/2020;Fi;Coupe;Senior;ClubC;ARB3;",
          "27/01/2020;Fi;Trophee;Senior;ClubC;;"}},
        // UTF-8 with a byte-order mark.
        {"accents.ics", {"12/01/2020;Éq;Coupe;Sénior;Salle;Bénédicte;"}},
        // Three codes, five codes, a doubled blank, a trailing blank, an end
        // past the window, no start: nothing.
        {"ecartes.ics", {}},
    };
    for (const auto &c : cas) {
        const QByteArray lf = fixture(QString::fromLatin1(c.fichier));
        ASSERT_FALSE(lf.contains('\r'));
        EXPECT_EQ(joindre(lire(lf).lignes), joindre(c.lignes)) << c.fichier;
        EXPECT_EQ(joindre(lire(crlf(lf)).lignes), joindre(c.lignes)) << c.fichier << " CR LF";
    }
}

TEST(CalendarReader, WindowKeepsOnlyEventsWhollyInside)
{
    const QByteArray ics = fixture(QStringLiteral("ecartes.ics"));
    EXPECT_TRUE(lire(ics).lignes.isEmpty());
    // The same event within a longer window: one line a day, 30/01 to 02/02.
    const LectureCalendrier l = lire(ics, EncodeDate(2020, 1, 30), EncodeDate(2020, 2, 2));
    EXPECT_EQ(
        joindre(l.lignes),
        joindre({"30/01/2020;Fi;Coupe;Senior;ClubD;;", "31/01/2020;Fi;Coupe;Senior;ClubD;;",
                 "01/02/2020;Fi;Coupe;Senior;ClubD;;", "02/02/2020;Fi;Coupe;Senior;ClubD;;"}));
    // Starting a day before the window is out too.
    EXPECT_TRUE(lire(ics, EncodeDate(2020, 1, 31), EncodeDate(2020, 2, 29)).lignes.isEmpty());
}

TEST(CalendarReader, TwoFilesDuplicateLinesButNotCodes)
{
    LectureCalendrier l;
    const QByteArray ics = fixture(QStringLiteral("journees.ics"));
    lireCalendrierTexte(ics, EncodeDate(2020, 1, 1), EncodeDate(2020, 1, 31), l);
    lireCalendrierTexte(crlf(ics), EncodeDate(2020, 1, 1), EncodeDate(2020, 1, 31), l);
    lireCalendrierTexte(fixture(QStringLiteral("bureau.ics")), EncodeDate(2020, 1, 1),
                        EncodeDate(2020, 1, 31), l);
    l.finir();
    EXPECT_EQ(l.lignes.size(), 8);
    EXPECT_EQ(l.lignes.count("04/01/2020;Fi;Coupe;Senior;ClubA;ARB1;"), 2);
    EXPECT_EQ(l.codes[CodePhase], QStringList({"Df", "Fi", "Qf"}));
    EXPECT_EQ(l.codes[CodeEpreuve], QStringList({"Coupe", "Trophee"}));
    EXPECT_EQ(l.codes[CodeCategorie], QStringList({"Dames", "Mixte", "Senior"}));
    EXPECT_EQ(l.codes[CodeLieu], QStringList({"ClubA", "ClubB"}));
    EXPECT_EQ(l.codes[CodeArbitre], QStringList({"ARB1", "ARB2"}));
}

TEST(CalendarReader, CodeListsSortInFrenchOrderIgnoringCase)
{
    const QByteArray ics =
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:b Coupe Senior zeta\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:B Coupe Senior \xc3\x89lan\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:a;x Coupe Senior Elan\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:b Coupe Senior alpha\nEND:VEVENT\n";
    const LectureCalendrier l = lire(ics);
    // Exact duplicates only go; "b" and "B" both stay, in file order.
    EXPECT_EQ(l.codes[CodePhase], QStringList({"a,x", "b", "B"}));
    EXPECT_EQ(l.codes[CodeLieu], QStringList({"alpha", "Elan", "Élan", "zeta"}));
    EXPECT_EQ(l.lignes.at(2), "02/01/2020;a,x;Coupe;Senior;Elan;;");
}

TEST(CalendarReader, HostileFilesAreSkippedOrRefusedClearly)
{
    QByteArray hasard(4096, '\0');
    quint32 x = 12345;
    for (char &c : hasard) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    const QByteArray longue =
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:" + QByteArray(1 << 20, 'x') + "\nEND:VEVENT\n";
    const QByteArray coupe =
        "BEGIN:VEVENT\nDTSTART:20200102\nSUMMARY:Df Coupe S\xc3\xa9nior Cl\xc3";
    for (const QByteArray &bytes : {QByteArray(), hasard, longue, QByteArray("BEGIN:VEVENT")}) {
        EXPECT_NO_THROW(EXPECT_TRUE(lire(bytes).lignes.isEmpty()));
    }
    // A file cut inside its last character: that character only is lost.
    EXPECT_EQ(joindre(lire(coupe).lignes), "02/01/2020;Df;Coupe;Sénior;Cl?;;");

    const struct {
        QByteArray valeur;
        const char *message;
    } dates[] = {
        {"DTSTART:2020XX04", "'2020XX04' n'est pas une date correcte (ligne 2)"},
        {"DTSTART;VALUE=DATE:2020010", "'2020010' n'est pas une date correcte (ligne 2)"},
        {"DTSTART:20200231T100000Z", "'20200231T100000Z' n'est pas une date correcte (ligne 2)"},
        {"DTSTART:20200102\nDTEND:2020", "'2020' n'est pas une date correcte (ligne 3)"},
        // A "%" of the file stays as written.
        {"DTSTART:%1%2%3", "'%1%2%3' n'est pas une date correcte (ligne 2)"},
        // Eight digits exactly, neither fewer read leniently nor more cut.
        {"DTSTART;VALUE=DATE:201 1105", "'201 1105' n'est pas une date correcte (ligne 2)"},
        {"DTSTART:20200102\nDTEND;VALUE=DATE:202001055",
         "'202001055' n'est pas une date correcte (ligne 3)"},
    };
    for (const auto &d : dates)
        EXPECT_EQ(vorn_test::thrownMessage<platform::EConvertError>([&] {
                      lire("BEGIN:VEVENT\n" + d.valeur + "\nSUMMARY:Df Coupe Senior ClubA\n");
                  }),
                  QString::fromUtf8(d.message))
            << d.valeur.constData();
}

TEST(CalendarReader, EndBeforeStartGivesTheStartDayOnly)
{
    const QByteArray ics = "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20200110\nDTEND;VALUE=DATE:20200105\n"
                           "SUMMARY:Df Coupe Senior ClubA\nEND:VEVENT\n"
                           "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20200210\nDTEND;VALUE=DATE:02220101\n"
                           "SUMMARY:Fi Coupe Senior ClubA\nEND:VEVENT\n";
    // The second starts after the window: out, whatever its end says.
    EXPECT_EQ(joindre(lire(ics).lignes), "10/01/2020;Df;Coupe;Senior;ClubA;;");
}

TEST(CalendarReader, TenYearEventGivesOneLineADay)
{
    const QByteArray ics = "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20200101\nDTEND;VALUE=DATE:20300101\n"
                           "SUMMARY:Sa Saison Toutes Comite\nEND:VEVENT\n";
    const LectureCalendrier l = lire(ics, EncodeDate(2020, 1, 1), EncodeDate(2029, 12, 31));
    ASSERT_EQ(l.lignes.size(), 3653);
    EXPECT_TRUE(l.lignes.first().startsWith("01/01/2020;"));
    EXPECT_TRUE(l.lignes.last().startsWith("31/12/2029;"));
}

// A calendar yields a bounded number of lines and characters: beyond, it is
// refused as soon as the events read pass the bound (nothing after them is
// read, not even a date that cannot be), and what was read before it stays
// as it was.
TEST(CalendarReader, TooManyLinesAreRefusedWithTheBound)
{
    auto evenements = [](int n, const QByteArray &fin, const QByteArray &resume) {
        return ("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20200101\nDTEND;VALUE=DATE:" + fin +
                "\nSUMMARY:" + resume + "\nEND:VEVENT\n")
            .repeated(n);
    };
    const QByteArray mille = evenements(100, "20220927", "Fi Coupe Senior Club"); // 1,000 days
    const QString lignes =
        QStringLiteral("Le calendrier donnerait plus que les 100000 lignes qu'un calendrier "
                       "peut donner");
    const struct {
        QByteArray ics;
        QString message; // empty: read
    } cas[] = {
        {mille, QString()},
        {mille + evenements(1, "20200102", "Df Coupe Senior Club"), lignes},
        // What the bound counts is what is kept: a first occurrence moved out
        // of the days gives nothing.
        {mille + "BEGIN:VEVENT\nUID:u\nDTSTART;VALUE=DATE:20200102\nSUMMARY:Df Coupe Senior "
                 "Club\nEND:VEVENT\nBEGIN:VEVENT\nUID:u\nRECURRENCE-ID;VALUE=DATE:20200102\n"
                 "DTSTART;VALUE=DATE:20230102\nSUMMARY:Df Coupe Senior Club\nEND:VEVENT\n",
         QString()},
        {mille + evenements(1, "20200102", "Df Coupe Senior Club") +
             evenements(1, "2020XX02", "Df Coupe Senior Club"),
         lignes},
        {evenements(1200, "20220101", "Fi Coupe Senior Club"), lignes},
        {evenements(1, "20200410", "Fi Coupe Senior " + QByteArray(200000, 'c')),
         QStringLiteral("Le calendrier donnerait plus que les 16000000 caractères qu'un "
                        "calendrier peut donner")},
    };
    for (const auto &c : cas) {
        LectureCalendrier l;
        l.lignes = QStringList{"avant"};
        l.codes[CodeLieu] = QStringList{"avant"};
        try {
            lireCalendrierTexte(c.ics, EncodeDate(2020, 1, 1), EncodeDate(2022, 12, 31), l);
            EXPECT_TRUE(c.message.isEmpty());
            EXPECT_EQ(l.lignes.size(), 100001);
        } catch (const platform::Exception &e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_EQ(l.lignes, QStringList{"avant"});
            EXPECT_EQ(l.codes[CodeLieu], QStringList{"avant"});
            EXPECT_TRUE(l.codes[CodePhase].isEmpty());
        }
    }
}

TEST(CalendarPrint, KindsGiveTheirGoldenLists)
{
    LectureCalendrier l;
    for (const char *f : {"libre.ics", "journees.ics", "bureau.ics", "accents.ics"})
        lireCalendrierTexte(fixture(QString::fromLatin1(f)), EncodeDate(2020, 1, 1),
                            EncodeDate(2020, 1, 31), l);
    l.finir();
    LibellesCalendrier libelles;
    libelles.definir(CodePhase, "df", "Demi-Finale");
    libelles.definir(CodeLieu, "ClubA", "Club des As");
    libelles.definir(CodeLieu, "ClubB", " ");
    libelles.definir(CodeArbitre, "ARB1", "Jean Arbitre");
    for (const char genre : {'C', 'E', 'A', 'T'}) {
        const Impression imp = ConstruireImpression(l, QLatin1Char(genre), libelles);
        const QString golden = QStringLiteral("imprime_%1.text").arg(QLatin1Char(genre));
        EXPECT_EQ(platform::fromAnsi(fixture(golden)), imp.lignes.join("\r\n") + "\r\n")
            << golden.toStdString();
        // Every group's count is the number of detail lines before the next title.
        for (int g = 0; g < imp.groupes(); ++g) {
            const int fin = g + 1 < imp.groupes() ? imp.titres[g + 1] : int(imp.lignes.size());
            EXPECT_EQ(platform::Champ(imp.lignes[imp.titres[g]], 1).toInt(),
                      fin - imp.titres[g] - 1);
            EXPECT_FALSE(imp.detail(g, 0).isEmpty());
            EXPECT_TRUE(imp.detail(g, fin - imp.titres[g] - 1).isEmpty());
        }
    }
    EXPECT_EQ(ConstruireImpression(l, QLatin1Char('X'), libelles).groupes(), 0);
}

TEST(CalendarPrint, SameDayLinesKeepFileOrder)
{
    LectureCalendrier l;
    l.lignes = QStringList{"05/01/2020;b;E;C;L;;", "04/01/2020;z;E;C;L;;", "05/01/2020;a;E;C;L;;",
                           "04/01/2020;y;E;C;L;;", "05/01/2020;c;E;C;L;;"};
    const Impression imp = ConstruireImpression(l, QLatin1Char('T'), {});
    EXPECT_EQ(imp.lignes, QStringList({"   ;5;", "04/01/2020;z;E;C;L;;", "04/01/2020;y;E;C;L;;",
                                       "05/01/2020;b;E;C;L;;", "05/01/2020;a;E;C;L;;",
                                       "05/01/2020;c;E;C;L;;"}));
}

TEST(CalendarPrint, WeekDayNames)
{
    const char *jours[][2] = {
        {"05/01/2020", "Dimanche"}, {"06/01/2020", "Lundi"}, {"07/01/2020", "Mardi"},
        {"08/01/2020", "Mercredi"}, {"09/01/2020", "Jeudi"}, {"10/01/2020", "Vendredi"},
        {"11/01/2020", "Samedi"},   {"29/02/2024", "Jeudi"}, {"", ""},
        {"31/02/2020", ""}};
    for (const auto &j : jours)
        EXPECT_EQ(jourDeLaSemaine(QString::fromLatin1(j[0])), QString::fromLatin1(j[1])) << j[0];
}

TEST(OutsideText, DecodingRuleIsShared)
{
    bool coupe = true;
    EXPECT_EQ(platform::decodeOutsideText("\xef\xbb\xbf\xc3\x89t\xc3\xa9", &coupe), "Été");
    EXPECT_FALSE(coupe);
    EXPECT_EQ(platform::decodeOutsideText("\xc9t\xe9", &coupe), "Été");
    EXPECT_FALSE(coupe);
    EXPECT_EQ(platform::decodeOutsideText("\xc3\x89t\xc3", &coupe), "Ét?");
    EXPECT_TRUE(coupe);
}
