// The envelope and calendar templates the builder made: the names they bind
// to their windows, their pages prepared through each window's own command
// (golden dumps), printed on the virtual PDF printer, and page 1 of each
// drawn for the screenshots (VORN_SHOTS_DIR).
#include "manager/calendar.h"
#include "manager/vorn_edition.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/textmeasurer.h"
#include "platform/printer/printers.h"
#include "platform/text/linefile.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"
#include "report/objects/frview.h"
#include "report/print/frprinter.h"
#include "tests/manager/template_names.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/shots.h"

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

using vorn_test::dansLOrdre;
using vorn_test::nomsDuModele;

namespace
{

using Getter = std::function<void(const QString &, report::FrVariant &)>;

// The golden dump of that name.
QByteArray golden(const char *nom, const QString &dump)
{
    return vorn_test::golden(QStringLiteral("calendars/") + nom, dump.toUtf8());
}

QString run(const QString &programme, const QStringList &arguments)
{
    QProcess p;
    p.start(programme, arguments);
    EXPECT_TRUE(p.waitForFinished(30000)) << programme.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Five events in two venues, over four days.
const char *const Saison =
    "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20240309\r\n"
    "DTEND;VALUE=DATE:20240311\r\nSUMMARY:Df Coupe Senior ClubA\r\nDESCRIPTION:ARB 1\r\n"
    "END:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20240309T140000Z\r\nDTEND:20240309T180000Z\r\n"
    "SUMMARY:Qf Trophee Dames ClubB\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n"
    "DTSTART;TZID=Europe/Paris:20240316T090000\r\nSUMMARY:Fi Coupe Senior ClubB\r\n"
    "DESCRIPTION:ARB2\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20240312\r\n"
    "SUMMARY:Df Trophee Mixte ClubA\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20240316\r\n"
    "SUMMARY:Fi Trophee Mixte ClubA\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

class Impressions : public vorn_test::ReportWindowTest<>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        clock().current = platform::EncodeDate(2024, 3, 16) + 10.0 / 24;
        SaisonEnCours = "2023-2024";
        copierModeles({"Enveloppes.frf", "calendrier.frf"});
        writeLines("2023-2024/Joueur.DBP", {vorn_test::ligneJoueur({{0, "0123456"},
                                                                    {1, "M."},
                                                                    {2, "DUPONT"},
                                                                    {3, "Jean"},
                                                                    {6, "12 rue de l'Église"},
                                                                    {8, "Bât. B & C"},
                                                                    {9, "69001"},
                                                                    {10, "LYON"}})});
        writeBytes("cal/saison.ics", Saison);
        writeLines("Vorn_Lud.ini", {"[Calendart]", "Date Depart=01/03/2024", "Date Fin=31/03/2024",
                                    "Repertoire=" + path("cal/*.ics"), "[Lieu]",
                                    "ClubA=Club des As", "[Phase]", "Df=Demi-Finale"});
        enveloppe = std::make_unique<TVorn_FEdition>();
        calendrier = std::make_unique<TVorn_FCalendar>();
    }
    void TearDown() override
    {
        enveloppe.reset();
        calendrier.reset();
        ReportWindowTest::TearDown();
    }
    void imprimerEnveloppe()
    {
        enveloppe->show();
        enveloppe->activated();
        enveloppe->Button1->click();
    }
    void imprimerCalendrier(const char *genre)
    {
        calendrier->setCaption(QStringLiteral("Editions des calendriers ") + genre);
        calendrier->show();
        calendrier->activated();
        calendrier->BSelectionner->click();
        calendrier->BtEdition->click();
    }

    std::unique_ptr<TVorn_FEdition> enveloppe;
    std::unique_ptr<TVorn_FCalendar> calendrier;
};

TEST_F(Impressions, TemplatesBindExactlyWhatTheirWindowsAnswer)
{
    const struct {
        const char *modele;
        Getter get;
        QStringList noms;
    } cas[] = {
        {"Enveloppes.frf",
         [&](const QString &n, report::FrVariant &v) { enveloppe->frReport1GetValue(n, v); },
         {"Nom", "Adresse1", "Adresse2", "Adresse3", "Code", "Ville"}},
        {"calendrier.frf",
         [&](const QString &n, report::FrVariant &v) { calendrier->frReport1GetValue(n, v); },
         {"Date", "SAISON", "Titre", "Dates", "Phases", "Epreuves", "Categories", "Lieux",
          "Arbitres", "Jour"}},
    };
    for (const auto &c : cas) {
        const QString fichier = vorn_test::modeleLivre(QString::fromLatin1(c.modele));
        const QSet<QString> utilises = nomsDuModele(fichier);
        EXPECT_EQ(utilises, QSet<QString>(c.noms.begin(), c.noms.end())) << c.modele;
        for (const QString &n : c.noms) {
            report::FrVariant v;
            c.get(n, v);
            EXPECT_FALSE(v.isUnassigned()) << c.modele << " " << n.toStdString();
        }
        ASSERT_NO_FATAL_FAILURE(gardeSesOctets(fichier, c.modele));
    }
}

TEST_F(Impressions, EnvelopePrintsTheFiveLinesInOrder)
{
    imprimerEnveloppe();
    ASSERT_EQ(preview->calls.size(), 1u);
    EXPECT_EQ(preview->calls[0].pages, 1);
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    const QString dump = enveloppe->frReport1->EMFPages().Dump();
    EXPECT_EQ(dump.toUtf8(), golden("enveloppe.txt", dump));
    EXPECT_FALSE(dump.contains("Symbole non défini"));
}

TEST_F(Impressions, CalendarGroupsByVenueOrInOneList)
{
    const struct {
        const char *genre;
        const char *golden;
        int groupes;
    } cas[] = {{"Clubs", "calendrier_C.txt", 2}, {"Totalitée", "calendrier_T.txt", 1}};
    for (const auto &c : cas) {
        preview->calls.clear();
        imprimerCalendrier(c.genre);
        ASSERT_EQ(preview->calls.size(), 1u) << c.genre;
        EXPECT_EQ(calendrier->frUserDataset1->RangeEndCount, c.groupes);
        const QString dump = calendrier->frReport1->EMFPages().Dump();
        EXPECT_EQ(dump.toUtf8(), golden(c.golden, dump)) << c.genre;
        // Preparing again (as the preview does after a page setup) gives
        // the same pages.
        ASSERT_TRUE(calendrier->frReport1->PrepareReport());
        EXPECT_EQ(calendrier->frReport1->EMFPages().Dump(), dump) << c.genre;
        calendrier->hide();
    }
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
}

TEST_F(Impressions, PrintedOnTheVirtualPdfPrinter)
{
    for (const char *outil : {"pdftotext", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty())
            GTEST_SKIP() << "poppler-utils missing (scripts/install-deps installs it)";
    imprimantePdf();
    auto imprimer = [&](report::TfrReport &r, const QString &nom) {
        const QString texte = textePdf(r, nom);
        return std::make_pair(texte, run("pdfinfo", {path(nom + ".pdf")}));
    };

    imprimerEnveloppe();
    const auto [texteEnveloppe, infoEnveloppe] = imprimer(*enveloppe->frReport1, "enveloppe");
    dansLOrdre(texteEnveloppe,
               {"M. DUPONT Jean", "12 rue de l'Église", "Bât. B & C", "69001 LYON"});
    EXPECT_TRUE(infoEnveloppe.contains(QRegularExpression("Pages: +1\\n")))
        << infoEnveloppe.toStdString();
    // DL in landscape: 220 x 110 mm.
    EXPECT_TRUE(infoEnveloppe.contains(QRegularExpression("Page size: +62[34](\\.\\d+)? x 31[12]")))
        << infoEnveloppe.toStdString();

    imprimerCalendrier("Clubs");
    const auto [texteCalendrier, infoCalendrier] = imprimer(*calendrier->frReport1, "calendrier");
    dansLOrdre(texteCalendrier, {"Calendrier de la saison 2023-2024",
                                 "Edité le 16/03/2024",
                                 "Club des As",
                                 "Date",
                                 "Jour",
                                 "09/03/2024",
                                 "Demi-Finale",
                                 "Samedi",
                                 "10/03/2024",
                                 "Dimanche",
                                 "12/03/2024",
                                 "Mardi",
                                 "16/03/2024",
                                 "Samedi",
                                 "ClubB",
                                 "09/03/2024",
                                 "Qf",
                                 "16/03/2024",
                                 "Fi",
                                 "Page 1"});
}

TEST_F(Impressions, FirstPagesAsDrawn)
{
    if (!vorn_test::shotsRequested())
        GTEST_SKIP() << "VORN_SHOTS_DIR not set";
    // Measured as they will print, with the metric-compatible fonts.
    report::frObjects().setMeasurer(nullptr);
    imprimerEnveloppe();
    vorn_test::dessinerPage1(*enveloppe->frReport1, "enveloppe_page1.png");
    imprimerCalendrier("Clubs");
    vorn_test::dessinerPage1(*calendrier->frReport1, "calendrier_page1.png");
}

} // namespace
