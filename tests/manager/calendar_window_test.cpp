// The calendars window: listing and selecting ".ics" files, the two text
// files, the code lines and their labels in "Vorn_Lud.ini", and the values
// the calendar template asks for.
#include "manager/calendar.h"
#include "platform/inifile/inifile.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/shots.h"

#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <sys/stat.h>

namespace
{

QByteArray fixture(const QString &name)
{
    return vorn_test::donneeDeTest("calendars/" + name);
}

using vorn_test::textes;

class CalendarWindow : public vorn_test::ReportWindowTest<>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        SaisonEnCours = "2019-2020";
        // Files as calendar programs leave them: LF and CR LF, any case of
        // the extension, and a file that is no calendar.
        writeBytes("cal/journees.ics", fixture("journees.ics"));
        writeBytes("cal/Bureau.ICS", fixture("bureau.ics").replace("\n", "\r\n"));
        writeBytes("cal/libre.ics", fixture("libre.ics"));
        writeBytes("cal/accents.ics", fixture("accents.ics").replace("\n", "\r\n"));
        writeBytes("cal/ecartes.ics", fixture("ecartes.ics"));
        writeBytes("cal/notes.txt", "BEGIN:VEVENT");
        writeLines("Vorn_Lud.ini",
                   {"[Param]", "ClubNom=Ludmarre", "[Calendart]", "Date Depart=01/01/2020",
                    "Date Fin=31/01/2020", "Repertoire=" + path("cal/*.ics"), "[Lieu]",
                    "ClubA=Club des As"});
        w = std::make_unique<TVorn_FCalendar>();
        w->setCaption("Editions des calendriers Clubs");
    }
    void TearDown() override
    {
        w.reset();
        ReportWindowTest::TearDown();
    }
    void active()
    {
        w->show();
        w->activated();
    }
    void tout() { w->BSelectionner->click(); }
    void clique(QListWidget *l, const QString &code)
    {
        const auto items = l->findItems(code, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << code.toStdString();
        l->setCurrentItem(items[0]);
        w->LBPhaseClick(l);
    }

    std::unique_ptr<TVorn_FCalendar> w;
};

TEST_F(CalendarWindow, SelectionBuildsBothTextFiles)
{
    active();
    EXPECT_EQ(w->LRepertoire->text(), path("cal/*.ics"));
    EXPECT_EQ(w->DateDebut->date(), QDate(2020, 1, 1));
    EXPECT_EQ(textes(w->LBFichiers), QStringList({"accents.ics", "Bureau.ICS", "ecartes.ics",
                                                  "journees.ics", "libre.ics"}));
    EXPECT_TRUE(textes(w->LBTravail).isEmpty());
    EXPECT_FALSE(w->BtEdition->isEnabled());

    tout();
    EXPECT_EQ(textes(w->LBTravail), textes(w->LBFichiers));
    EXPECT_EQ(readBytes("cal/resultat.text"), fixture("resultat.text"));
    EXPECT_EQ(readBytes("cal/imprime.text"), fixture("imprime_fenetre_C.text"));
    EXPECT_TRUE(w->BtEdition->isEnabled());
    EXPECT_EQ(textes(w->LbLieu), QStringList({"ClubA", "ClubB", "ClubC", "Salle"}));
    EXPECT_EQ(textes(w->LbArbitre), QStringList({"ARB1", "ARB2", "ARB3", "Bénédicte"}));

    // One file: only its lines; none: empty files, no "Edition".
    w->LBFichiers->clearSelection();
    w->LBFichiers->item(4)->setSelected(true);
    EXPECT_EQ(textes(w->LBTravail), QStringList({"libre.ics"}));
    EXPECT_EQ(platform::LineFile::read(path("cal/resultat.text")).size(), 3);
    w->BDeselectionner->click();
    EXPECT_TRUE(textes(w->LBTravail).isEmpty());
    EXPECT_EQ(readBytes("cal/resultat.text"), "");
    EXPECT_EQ(readBytes("cal/imprime.text"), "");
    EXPECT_FALSE(w->BtEdition->isEnabled());
}

TEST_F(CalendarWindow, KindComesFromTheCaption)
{
    w->setCaption("Editions des calendriers Totalitée");
    active();
    tout();
    const QStringList imprime = platform::LineFile::read(path("cal/imprime.text"));
    ASSERT_FALSE(imprime.isEmpty());
    EXPECT_EQ(imprime[0], "   ;9;");
    EXPECT_EQ(w->impression().groupes(), 1);
}

TEST_F(CalendarWindow, RefusedCalendarStopsAndKeepsTheFiles)
{
    // A date that cannot be read, a calendar of too many lines (3,300
    // events over the 31 days of the window), and a pipe of that name.
    const struct {
        QByteArray ics; // null: the pipe
        const char *message;
    } cas[] = {
        {"BEGIN:VEVENT\r\nDTSTART:2020XX04\r\nSUMMARY:Df Coupe Senior ClubA\r\nEND:VEVENT\r\n",
         "'2020XX04' n'est pas une date correcte (calendrier zz.ics, ligne 2)"},
        {QByteArray("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20200101\r\nDTEND;VALUE=DATE:20200201\r\n"
                    "SUMMARY:Df Coupe Senior ClubA\r\nEND:VEVENT\r\n")
             .repeated(3300),
         "Le calendrier zz.ics donnerait plus que les 100000 lignes qu'un calendrier peut "
         "donner."},
        {QByteArray(),
         "Impossible de lire le calendrier %1.\n\nImpossible d'ouvrir le fichier %1 : c'est un "
         "tube, pas un fichier."},
    };
    for (const auto &c : cas) {
        QFile::remove(path("cal/zz.ics"));
        if (c.ics.isNull())
            ASSERT_EQ(::mkfifo(QFile::encodeName(path("cal/zz.ics")).constData(), 0600), 0);
        else
            writeBytes("cal/zz.ics", c.ics);
        active();
        w->BDeselectionner->click();
        w->LBFichiers->item(3)->setSelected(true);
        ASSERT_EQ(textes(w->LBTravail), QStringList({"journees.ics"}));
        const QByteArray resultat = readBytes("cal/resultat.text");
        const QByteArray imprime = readBytes("cal/imprime.text");
        ASSERT_FALSE(resultat.isEmpty());
        dialogs().messages.clear();
        w->LBFichiers->item(5)->setSelected(true);
        // The message names the file, and the line of the date or the count.
        EXPECT_EQ(dialogs().texts(),
                  QStringList({QString::fromUtf8(c.message).replace("%1", path("cal/zz.ics"))}))
            << dialogs().texts().join('|').toStdString();
        EXPECT_EQ(readBytes("cal/resultat.text"), resultat);
        EXPECT_EQ(readBytes("cal/imprime.text"), imprime);
        EXPECT_FALSE(w->BtEdition->isEnabled());
        EXPECT_EQ(w->LBPhase->count(), 0);
        EXPECT_TRUE(w->lecture().lignes.isEmpty());
        EXPECT_EQ(w->impression().groupes(), 0);
        // Nothing was read: nothing stays selected.
        EXPECT_TRUE(textes(w->LBTravail).isEmpty());
        EXPECT_TRUE(w->LBFichiers->selectedItems().isEmpty());
    }
}

TEST_F(CalendarWindow, CodeLinesStoreLabels)
{
    active();
    tout();
    const QByteArray ini = readBytes("Vorn_Lud.ini");
    clique(w->LBPhase, "Df");
    EXPECT_EQ(w->EPhase->text(), "Df=");
    EXPECT_TRUE(w->BtPhase->isEnabled());
    w->EPhase->setText("Df=Demi-Finale");
    w->BtPhase->click();
    EXPECT_EQ(readBytes("Vorn_Lud.ini"), ini + "[Phase]\r\nDf=Demi-Finale\r\n");
    clique(w->LBPhase, "Df");
    EXPECT_EQ(w->EPhase->text(), "Df=Demi-Finale");

    // A label already there shows; a ";" typed becomes ",".
    clique(w->LbLieu, "ClubA");
    EXPECT_EQ(w->ELieu->text(), "ClubA=Club des As");
    w->ELieu->setText("ClubA=a;b=ignoré");
    w->BtLieu->click();
    EXPECT_EQ(platform::TIniFile(path("Vorn_Lud.ini")).ReadString("Lieu", "ClubA", ""), "a,b");

    // Accents from a UTF-8 calendar go to the ini in Windows-1252.
    clique(w->LBPhase, "Éq");
    w->EPhase->setText("Éq=Équipes");
    w->BtPhase->click();
    EXPECT_TRUE(readBytes("Vorn_Lud.ini").contains("\xC9q=\xC9quipes\r\n"));

    // An empty label writes nothing.
    const QByteArray avant = readBytes("Vorn_Lud.ini");
    clique(w->LbCategorie, "Dames");
    w->ECategorie->setText("Dames=");
    w->BtCategorie->click();
    EXPECT_EQ(readBytes("Vorn_Lud.ini"), avant);

    // The next processing prints the labels.
    w->BSelectionner->click();
    EXPECT_TRUE(platform::LineFile::read(path("cal/imprime.text"))
                    .contains("11/01/2020;Demi-Finale;Coupe;Dames;ClubB;ARB2;"));
}

TEST_F(CalendarWindow, StarCodeEmptiesTheEdit)
{
    writeBytes("cal/etoile.ics", "BEGIN:VEVENT\nDTSTART:20200110\nSUMMARY:* Coupe * ClubA\n"
                                 "END:VEVENT\n");
    active();
    tout();
    clique(w->LBPhase, "Df");
    EXPECT_TRUE(w->BtPhase->isEnabled());
    clique(w->LBPhase, "*");
    EXPECT_TRUE(w->EPhase->text().isEmpty());
    EXPECT_FALSE(w->BtPhase->isEnabled());
}

TEST_F(CalendarWindow, NoFolderWritesNothing)
{
    writeLines("Vorn_Lud.ini", {"[Calendart]", "Date Depart=01/01/2020"});
    const QStringList avant = QDir(repAppli()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList ici = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    active();
    EXPECT_EQ(w->LBFichiers->count(), 0);
    w->BSelectionner->click();
    w->BDeselectionner->click();
    EXPECT_FALSE(w->BtEdition->isEnabled());
    EXPECT_EQ(QDir(repAppli()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), avant);
    EXPECT_EQ(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), ici);
}

TEST_F(CalendarWindow, FolderAndDatesAreKept)
{
    active();
    w->LBFichiers->item(3)->setSelected(true);
    // Cancelled: nothing changes, the selection stays.
    dialogs().folders.push_back(std::nullopt);
    w->BtRecherche->click();
    w->activated();
    ASSERT_EQ(dialogs().folderRequests.size(), 1u);
    EXPECT_EQ(dialogs().folderRequests[0].caption, "Chercher les fichiers Calendriers");
    EXPECT_EQ(dialogs().folderRequests[0].root, RepAppli);
    EXPECT_EQ(textes(w->LBTravail), QStringList({"journees.ics"}));

    QDir().mkpath(path("autres"));
    writeBytes("autres/b.ics", fixture("libre.ics"));
    dialogs().folders.push_back(path("autres"));
    w->BtRecherche->click();
    EXPECT_EQ(w->LRepertoire->text(), path("autres/*.ics"));
    EXPECT_EQ(platform::TIniFile(path("Vorn_Lud.ini")).ReadString("Calendart", "Repertoire", ""),
              path("autres/*.ics"));
    EXPECT_EQ(textes(w->LBFichiers), QStringList({"b.ics"}));

    w->DateFin->setDate(QDate(2020, 2, 29));
    EXPECT_EQ(platform::TIniFile(path("Vorn_Lud.ini")).ReadString("Calendart", "Date Fin", ""),
              "29/02/2020");
    w->DateDebut->setDate(QDate(2019, 12, 1));
    EXPECT_EQ(platform::TIniFile(path("Vorn_Lud.ini")).ReadString("Calendart", "Date Depart", ""),
              "01/12/2019");
}

TEST_F(CalendarWindow, ValuesFollowTheRecordNumbers)
{
    clock().current = platform::EncodeDate(2024, 3, 16) + 10.0 / 24;
    active();
    tout();
    const manager::Impression &imp = w->impression();
    ASSERT_EQ(imp.groupes(), 4);
    auto valeur = [&](const char *nom) {
        report::FrVariant v(-1);
        w->frReport1GetValue(QString::fromLatin1(nom), v);
        return v.toString();
    };
    EXPECT_EQ(valeur("Date"), "16/03/2024");
    EXPECT_EQ(valeur("SAISON"), "2019-2020");
    EXPECT_EQ(valeur("Inconnu"), "-1");
    // Twice over, in any order: the same values.
    for (int passe = 0; passe < 2; ++passe) {
        for (int g = 0; g < imp.groupes(); ++g) {
            w->frUserDataset1->RecNo = g;
            const QString titre = imp.lignes[imp.titres[g]];
            EXPECT_EQ(valeur("Titre"), platform::Champ(titre, 0));
            EXPECT_EQ(w->frUserDataset2->RangeEndCount, platform::Champ(titre, 1).toInt());
            for (int n = w->frUserDataset2->RangeEndCount - 1; n >= 0; --n) {
                w->frUserDataset2->RecNo = n;
                const QString ligne = imp.lignes[imp.titres[g] + 1 + n];
                EXPECT_EQ(valeur("Jour"), manager::jourDeLaSemaine(platform::Champ(ligne, 0)));
                EXPECT_EQ(valeur("Jour"), manager::jourDeLaSemaine(platform::Champ(ligne, 0)));
                EXPECT_EQ(valeur("Dates") + ";" + valeur("Phases") + ";" + valeur("Epreuves") +
                              ";" + valeur("Categories") + ";" + valeur("Lieux") + ";" +
                              valeur("Arbitres") + ";",
                          ligne);
            }
        }
    }
    w->frUserDataset1->RecNo = 0;
    valeur("Titre");
    EXPECT_EQ(w->frUserDataset2->RangeEndCount, 4);
    EXPECT_EQ(valeur("Titre"), "Club des As");

    // "Edition" without the template: told, nothing shown.
    w->BtEdition->click();
    EXPECT_EQ(dialogs().texts(),
              QStringList({"Modèle d'impression absent ou illisible : calendrier.frf"}));
    EXPECT_TRUE(preview->calls.empty());
    EXPECT_EQ(w->frUserDataset1->RangeEndCount, 4);
}

TEST_F(CalendarWindow, FilledWindowHasNoOverlapAndIsCaptured)
{
    active();
    w->LBFichiers->item(0)->setSelected(true);
    w->LBFichiers->item(1)->setSelected(true);
    w->LBFichiers->item(3)->setSelected(true);
    clique(w->LbLieu, "ClubA");
    EXPECT_EQ(textes(w->LBTravail), QStringList({"accents.ics", "Bureau.ICS", "journees.ics"}));
    EXPECT_EQ(vorn_test::chevauchements(w.get()), QStringList());
    vorn_test::saveShot(w.get(), "calendar_window.png");
}
} // namespace
