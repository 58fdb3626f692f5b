// The convocations window: entries pages taken, saved and reopened; the
// header file; the values the templates ask for; the e-mail batches; the
// three templates the builder made, prepared through the window's commands
// (golden dumps) and opened in the designer.
#include "manager/core/vorn_dec.h"
#include "manager/quatre_webweb.h"
#include "platform/browser/browser.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/textmeasurer.h"
#include "platform/printer/printers.h"
#include "platform/shell/shell.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"
#include "report/objects/frview.h"
#include "report/print/frprinter.h"
#include "tests/manager/template_names.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/browser_page.h"
#include "tests/support/gui/fake_desktop.h"
#include "tests/support/gui/shots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>

using vorn_test::dansLOrdre;
using vorn_test::nomsDuModele;

namespace
{

QByteArray donnee(const QString &nom)
{
    return vorn_test::donneeDeTest("convocations/" + nom);
}

QString joueur(const char *nom, const char *prenom, const QString &courriel)
{
    QStringList champs(16);
    champs[0] = QStringLiteral("0100001");
    champs[2] = QString::fromUtf8(nom);
    champs[3] = QString::fromUtf8(prenom);
    champs[14] = courriel;
    return champs.join(QLatin1Char(';'));
}

class Convocations : public vorn_test::ReportWindowTest<>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        clock().current = platform::EncodeDate(2024, 3, 16) + 10.0 / 24;
        SaisonEnCours = QStringLiteral("2023-2024");
        QDir().mkpath(path("2023-2024"));
        QDir().mkpath(path("docs"));
        platform::setDocumentsFolder(path("docs"));
        writeLines("2023-2024/Joueur.DBP",
                   {joueur("MARTIN", "Jérôme", "jerome@exemple.fr"),
                    joueur("DURAND", "Loïc", "loic@exemple.fr"), joueur("SEUL", "Pierre", ""),
                    joueur("BLANC", "Élodie", "elodie@exemple.fr"),
                    joueur("O'NEIL", "Anne", "anne@exemple.fr")});
        copierModeles({"convocation.frf", "quatre.frf", "paires.frf"});
        w = std::make_unique<TVornF_Quatre_Webweb>();
    }
    void TearDown() override
    {
        w.reset();
        platform::setDocumentsFolder(QString());
        ReportWindowTest::TearDown();
    }
    // Shown from the main menu in a mode.
    void active(bool quatre)
    {
        w->setCaption(quatre ? QStringLiteral("Editions des inscriptions par quatre")
                             : QStringLiteral("Editions des inscriptions par paires"));
        w->show();
        // Coming from another window of the program.
        platform::TForm::resetActivation();
        w->activated();
    }
    // Opens an entries file copied from the test data into the season.
    void ouvre(const QString &nom)
    {
        writeBytes("2023-2024/" + nom, donnee(nom));
        dialogs().files.push_back(path("2023-2024/" + nom));
        w->Bt_Ouvrir_Groupe->click();
    }
    void entete()
    {
        w->Saison1->setText("2023-2024");
        w->Cb_Responsable->setCurrentText("Paul MARTIN");
        w->Publication1->setText("Fait le 16/03/2024");
        w->Epreuve1->setText("Coupe de France");
        w->Prix1->setText("");
        w->Phase1->setText("Demi-finale");
        w->Date1->setText("Samedi 23 mars 2024");
        w->CB_Lieu->setCurrentText("Bridge Club de Lyon");
        w->Modalites1->setText("Patton suisse en 6 tours");
        w->Horaires1->setText("14h00 - 18h00");
        w->Horaires2->setText("20h30 - 23h00");
        w->Cb_Arbitre->setCurrentText("Jean ARBITRE");
        w->Cb_Divers->setCurrentIndex(1);
        w->Pied1->setText("Comité de Lyon");
    }
    QString valeur(const QString &nom)
    {
        report::FrVariant v = QStringLiteral("inchangé");
        w->frReport1GetValue(nom, v);
        return v.toString();
    }
    QStringList boutonsActifs()
    {
        QStringList l;
        for (QPushButton *b : {w->Bt_Load_Inscrits, w->Impression, w->BtCourriel})
            if (b->isEnabled())
                l << b->objectName();
        return l;
    }

    std::unique_ptr<TVornF_Quatre_Webweb> w;
};

const QStringList TroisBoutons{"Bt_Load_Inscrits", "Impression", "BtCourriel"};

} // namespace

TEST_F(Convocations, TakingAPageWritesTheEntriesFileAndShowsIt)
{
    active(true);
    EXPECT_EQ(w->PageControl1->tabText(1), "Page Internet de la liste des inscrits");
    EXPECT_TRUE(boutonsActifs().isEmpty());
    writeBytes("docs/FFB.htm", donnee("page_groupe.htm"));
    dialogs().files.push_back(path("docs/FFB.htm"));
    dialogs().files.push_back(path("2023-2024/poule.Qug"));
    w->Bt_Internet->click();

    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    const platform::FileRequest &o = dialogs().openRequests[0];
    EXPECT_EQ(o.title, "Récupération page Internet ");
    EXPECT_EQ(o.initialDir, path("docs"));
    EXPECT_EQ(o.fileName, path("docs/*.ht*"));
    EXPECT_EQ(o.defaultExt, "htm");
    EXPECT_EQ(o.filter, "Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html");
    ASSERT_EQ(dialogs().saveRequests.size(), 1u);
    const platform::FileRequest &s = dialogs().saveRequests[0];
    EXPECT_EQ(s.title, "Sauvegarde des équipes du groupe ");
    EXPECT_EQ(s.fileName, path("2023-2024/*.Qug"));
    EXPECT_EQ(s.defaultExt, "Qug");
    EXPECT_EQ(s.filter, "au groupe (*.Qug)|*.Qug");

    EXPECT_EQ(readBytes("2023-2024/poule.Qug"), donnee("page_groupe.groupe"));
    EXPECT_EQ(w->PageControl1->currentIndex(), 1);
    EXPECT_EQ(boutonsActifs(), TroisBoutons);
    EXPECT_EQ(w->GroupBox1->title(), "Liste des équipes du groupe");
    EXPECT_EQ(w->WebBrowser1->LocationName(), path("2023-2024/poule.Qug"));
    // The saved extract shows as the page it was cut from.
    ASSERT_TRUE(vorn_test::waitForPage(*w->WebBrowser1));
    EXPECT_TRUE(vorn_test::evaluate(*w->WebBrowser1, "document.body.innerText")
                    .toString()
                    .contains("Saint-Étienne & Co"));
    if (vorn_test::shotsRequested()) {
        // The window as the user sees it, caption included when a window
        // manager draws one.
        ASSERT_TRUE(vorn_test::waitForPaint(*w->WebBrowser1));
        const QRect cadre = w->frameGeometry();
        const QPixmap ecran =
            w->screen()->grabWindow(0, cadre.x(), cadre.y(), cadre.width(), cadre.height());
        EXPECT_FALSE(vorn_test::saveShot(ecran.toImage(), QStringLiteral("convocations_page.png"))
                         .isEmpty());
    }

    // Saved again under the group title.
    dialogs().files.push_back(path("2023-2024/copie.Qug"));
    w->Bt_Load_Inscrits->click();
    ASSERT_EQ(dialogs().saveRequests.size(), 2u);
    EXPECT_EQ(dialogs().saveRequests[1].title, "Sauvegarde des inscrits du groupe");
    EXPECT_EQ(dialogs().saveRequests[1].fileName, path("2023-2024/poule.Qug"));
    EXPECT_EQ(readBytes("2023-2024/copie.Qug"), donnee("page_groupe.groupe"));
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/copie.Qug"));

    // Shown again from the menu: the file stays, unless for the other kind.
    active(true);
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/copie.Qug"));
    active(false);
    EXPECT_TRUE(w->FichierInscrits.isEmpty());
    EXPECT_TRUE(boutonsActifs().isEmpty());
    EXPECT_EQ(w->PageControl1->currentIndex(), 0);
}

TEST_F(Convocations, PageWithBothBlocksIsTakenTwiceAndOthersAreIgnored)
{
    active(false);
    writeBytes("docs/deux.htm", donnee("page_les_deux.htm"));
    dialogs().files = {path("docs/deux.htm"), path("2023-2024/g.Pag"), path("2023-2024/c.Pac")};
    w->Bt_Internet->click();
    ASSERT_EQ(dialogs().saveRequests.size(), 2u);
    EXPECT_EQ(dialogs().saveRequests[0].title, "Sauvegarde des paires du groupe ");
    EXPECT_EQ(dialogs().saveRequests[1].title, "Sauvegarde des paires de la compétition ");
    EXPECT_EQ(dialogs().saveRequests[1].filter, "au groupe (*.Pac)|*.Pac");
    EXPECT_EQ(readBytes("2023-2024/g.Pag"), donnee("page_les_deux.groupe"));
    EXPECT_EQ(readBytes("2023-2024/c.Pac"), donnee("page_les_deux.competition"));
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/c.Pac"));
    EXPECT_EQ(w->GroupBox1->title(), "Liste des équipes de la compétition");

    // Neither marker, or random bytes: nothing saved, and the user told why
    // the tab stays empty.
    active(true);
    active(false);
    QByteArray bruit;
    for (int i = 0; i < 5000; ++i)
        bruit += char((i * 7919) >> 3);
    writeBytes("docs/bruit.htm", bruit);
    writeBytes("docs/aucune.htm", donnee("page_aucune.htm"));
    for (const char *f : {"docs/aucune.htm", "docs/bruit.htm"}) {
        dialogs().files.push_back(path(f));
        w->Bt_Internet->click();
        ASSERT_FALSE(dialogs().messages.empty()) << f;
        EXPECT_EQ(dialogs().messages.back().text,
                  "Aucune liste d'inscrits dans cette page : " + path(f));
        EXPECT_EQ(dialogs().messages.back().type, platform::mtWarning);
    }
    EXPECT_EQ(dialogs().messages.size(), 2u);
    EXPECT_EQ(dialogs().saveRequests.size(), 2u);
    EXPECT_TRUE(boutonsActifs().isEmpty());
}

TEST_F(Convocations, OpeningTakesOnlyTheFilesOfTheMode)
{
    active(false);
    ouvre("equipes.Qug");
    EXPECT_TRUE(w->FichierInscrits.isEmpty());
    EXPECT_TRUE(w->ListeInscrits.isEmpty());
    EXPECT_TRUE(boutonsActifs().isEmpty());
    EXPECT_EQ(dialogs().openRequests.back().filter,
              "inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac");
    ouvre("paires.Pag");
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/paires.Pag"));
    EXPECT_EQ(w->ListeInscrits.size(), 68);
    EXPECT_EQ(boutonsActifs(), TroisBoutons);
    EXPECT_EQ(w->PageControl1->currentIndex(), 1);
}

TEST_F(Convocations, ListPrintKeepsTheFileAndItsButtons)
{
    const vorn_test::ModalPreview *modal = vorn_test::installModalPreview(w.get());
    preview = nullptr;
    active(true);
    ouvre("equipes.Quc");
    w->Impression->click();
    ASSERT_EQ(modal->shown, 1);
    w->activated(); // the focus comes back from the preview
    EXPECT_EQ(w->frUserDataset1->RangeEndCount, 3);
    EXPECT_EQ(boutonsActifs(), TroisBoutons);
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/equipes.Quc"));
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
}

TEST_F(Convocations, MissingPlayersFileStopsPrintAndMail)
{
    active(true);
    ouvre("equipes.Quc");
    QFile::remove(path("2023-2024/Joueur.DBP"));
    w->Impression->click();
    w->BtCourriel->click();
    EXPECT_TRUE(preview->calls.empty());
    EXPECT_TRUE(shell().calls.empty());
    ASSERT_EQ(dialogs().messages.size(), 2u);
    EXPECT_TRUE(dialogs().messages[0].text.contains("Joueur.DBP"))
        << dialogs().messages[0].text.toStdString();
    EXPECT_EQ(w->Listes.nombre(), 0);
}

TEST_F(Convocations, CutEntriesFileIsRefusedWithItsName)
{
    // The group file ends two lines into its third team.
    active(true);
    ouvre("equipes_coupe.Qug");
    w->Impression->click();
    w->BtCourriel->click();
    EXPECT_TRUE(preview->calls.empty());
    EXPECT_TRUE(shell().calls.empty());
    ASSERT_EQ(dialogs().messages.size(), 2u);
    for (const auto &m : dialogs().messages) {
        EXPECT_TRUE(m.text.contains(path("2023-2024/equipes_coupe.Qug"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains("L'inscription 3 ")) << m.text.toStdString();
    }
    EXPECT_EQ(w->Listes.nombre(), 0);
}

// A picture picked in place of an entries or header file is refused with
// its name; the window keeps what it had.
TEST_F(Convocations, FileOfAnotherKindIsRefusedNamingIt)
{
    active(true);
    ouvre("equipes.Qug");
    w->Saison1->setText("autre");
    const QByteArray image("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10;1;", 23);
    const struct {
        const char *fichier, *genre;
        QPushButton *bouton;
    } cas[] = {{"image.Qug", "une liste d'inscrits", w->Bt_Ouvrir_Groupe},
               {"image.qud", "un fichier d'en-tête de convocation", w->Bt_Ouvrie_Donnes}};
    for (const auto &c : cas) {
        writeBytes(QStringLiteral("2023-2024/") + c.fichier, image);
        dialogs().messages.clear();
        dialogs().files.push_back(path(QStringLiteral("2023-2024/") + c.fichier));
        // The header typed is given up first.
        dialogs().answers = {platform::mrYes};
        c.bouton->click();
        EXPECT_EQ(dialogs().texts().last(),
                  QStringLiteral("Ce fichier n'est pas ") + QString::fromUtf8(c.genre) + " : " +
                      path(QStringLiteral("2023-2024/") + c.fichier) + " (ligne 3)");
    }
    EXPECT_EQ(w->FichierInscrits, path("2023-2024/equipes.Qug"));
    EXPECT_EQ(w->ListeInscrits, platform::LineFile::read(w->FichierInscrits));
    EXPECT_EQ(w->Saison1->text(), "autre");
}

TEST_F(Convocations, DateDuJour)
{
    active(true);
    w->DateDuJour->click();
    EXPECT_EQ(w->Publication1->text(), "Fait le 16/03/2024");
}

TEST_F(Convocations, HeaderFileRoundTripAndShortFiles)
{
    active(true);
    const QByteArray golden = donnee("entete.qud");
    writeBytes("2023-2024/lu.qud", golden);
    dialogs().files.push_back(path("2023-2024/lu.qud"));
    w->Bt_Ouvrie_Donnes->click();
    EXPECT_EQ(w->CB_Lieu->currentText(), "Salle Émile Zola");
    EXPECT_EQ(w->Cb_Divers->currentText(), "Pas de pause");
    EXPECT_EQ(dialogs().openRequests.back().filter, "à la compétition (*.qud)|*.qud");
    dialogs().files.push_back(path("2023-2024/ecrit.qud"));
    w->Bt_load_donnes->click();
    EXPECT_EQ(dialogs().saveRequests.back().title, "Sauvegarde des données ");
    EXPECT_EQ(readBytes("2023-2024/ecrit.qud"), golden);

    // 13 lines: told, nothing changed. 14: the venue is emptied.
    QList<QByteArray> lignes = golden.split('\n');
    lignes.removeLast();
    writeBytes("2023-2024/court.qud", lignes.mid(0, 13).join('\n') + '\n');
    writeBytes("2023-2024/quatorze.qud", lignes.mid(0, 14).join('\n') + '\n');
    w->Saison1->setText("autre");
    dialogs().files.push_back(path("2023-2024/court.qud"));
    dialogs().answers = {platform::mrYes, platform::mrOk, platform::mrYes};
    w->Bt_Ouvrie_Donnes->click();
    ASSERT_EQ(dialogs().messages.size(), 2u);
    EXPECT_EQ(dialogs().messages[1].text,
              "Fichier d'en-tête incomplet : " + path("2023-2024/court.qud"));
    EXPECT_EQ(w->Saison1->text(), "autre");
    EXPECT_EQ(w->CB_Lieu->currentText(), "Salle Émile Zola");
    dialogs().files.push_back(path("2023-2024/quatorze.qud"));
    w->Bt_Ouvrie_Donnes->click();
    EXPECT_EQ(w->Saison1->text(), "2023-2024");
    EXPECT_EQ(w->CB_Lieu->currentText(), "");
}

TEST_F(Convocations, ValuesOfTheTemplates)
{
    active(true);
    entete();
    writeLines("Lieu.DBP", {"Bridge Club de Lyon 2;autre;", "Bridge Club de Lyon;12 rue A;"});
    writeLines("Arbitre.DBP", {"Jean ARBITRE;06 01;"});
    writeLines("Responsable.DBP", {"Paul MARTIN;06 02;"});
    w.reset();
    w = std::make_unique<TVornF_Quatre_Webweb>();
    active(true);
    entete();
    const struct {
        const char *nom;
        const char *valeur;
    } cas[] = {
        {"saison", "2023-2024"},
        {"responsable", "Paul MARTIN"},
        {"publication", "Fait le 16/03/2024"},
        {"prix", ""},
        {"epreuve", "Coupe de France"},
        {"phase", "Demi-finale"},
        {"date", "Samedi 23 mars 2024"},
        {"lieu", "Bridge Club de Lyon"},
        {"modalites", "Patton suisse en 6 tours"},
        {"horaires1", "14h00 - 18h00"},
        {"horaires2", "20h30 - 23h00"},
        {"avertissement", "Vous trouverez, dans  votre espace licencié, la liste et composition "
                          "des équipes à jour."},
        {"arbitre", "Jean ARBITRE"},
        {"divers", "Sandwitchs fournis pendant la pause"},
        {"pied2", "Comité de Lyon"},
        {"Informations_Lieu", "12 rue A"},
        {"info_arbitre", "06 01"},
        {"info_responsable", "06 02"},
        {"pause", "Le Club fournira les sandwichs (qui auront été préalablement commandés) "
                  "pendant la pause."},
        {"caution", "80"},
        {"Saison", "inchangé"},
    };
    for (const auto &c : cas)
        EXPECT_EQ(valeur(QString::fromUtf8(c.nom)), QString::fromUtf8(c.valeur)) << c.nom;
    w->Cb_Divers->setCurrentText("Repas tiré du sac");
    EXPECT_EQ(valeur("pause"), "");

    ouvre("equipes.Qug");
    w->Impression->click();
    w->frUserDataset1->RecNo = 0;
    EXPECT_EQ(valeur("classement2"), "1. EQUIPE JÉRÔME");
    EXPECT_EQ(valeur("club2"), "Saint-Étienne & Co");
    EXPECT_EQ(valeur("nom2"), "Jérôme MARTIN 45\r\nLoïc DURAND 32\r\n");
    EXPECT_EQ(valeur("joueur2"), "ÉLODIE BLANC 28\r\nAnne O'NEIL 12");
    EXPECT_EQ(valeur("indice2"), "117");
    w->frUserDataset1->RecNo = 3;
    EXPECT_EQ(valeur("classement2"), "");

    active(false);
    EXPECT_EQ(valeur("caution"), "40");
    ouvre("paires.Pag");
    w->Impression->click();
    w->frUserDataset1->RecNo = 0;
    EXPECT_EQ(valeur("club2"), "");
    EXPECT_EQ(valeur("classement2"), "1. - Jérôme MARTIN 45");
}

TEST_F(Convocations, MailBatches)
{
    active(true);
    ouvre("equipes.Quc");
    w->Nbr_Courriel->setValue(3);
    w->BtCourriel->click();
    ASSERT_EQ(shell().calls.size(), 2u);
    EXPECT_EQ(shell().calls[0].file, "mailto:jerome@exemple.fr;loic@exemple.fr;anne@exemple.fr; ?");
    EXPECT_EQ(shell().calls[1].file, "mailto:elodie@exemple.fr; ?");
    EXPECT_EQ(dialogs().texts(), QStringList{"Choisir son compte Courriel"});

    // The first batch refused: warned once, the next one is not tried.
    shell().calls.clear();
    dialogs().messages.clear();
    shell().results = {platform::SE_ERR_NOASSOC};
    w->BtCourriel->click();
    ASSERT_EQ(shell().calls.size(), 1u);
    const QStringList textes = dialogs().texts();
    ASSERT_EQ(textes.size(), 2);
    EXPECT_EQ(textes[0], "Choisir son compte Courriel");
    EXPECT_EQ(textes[1], platform::kMailMissing);

    shell().calls.clear();
    w->Cb_BCC->setChecked(true);
    w->Nbr_Courriel->setValue(50);
    w->BtCourriel->click();
    ASSERT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(shell().calls[0].file, "mailto: ? &bcc=jerome@exemple.fr;loic@exemple.fr;"
                                     "anne@exemple.fr;elodie@exemple.fr;");

    // Nobody known: no message, no shell call.
    shell().calls.clear();
    dialogs().messages.clear();
    writeLines("2023-2024/Joueur.DBP", {joueur("PERSONNE", "Nul", "x@y")});
    w->BtCourriel->click();
    EXPECT_TRUE(shell().calls.empty());
    EXPECT_TRUE(dialogs().messages.empty());
}

// Through the real shell: a batch that no program takes is told once, and
// the batches after it are not tried.
TEST_F(Convocations, MailWithoutAMailProgramIsTold)
{
    active(true);
    ouvre("equipes.Quc");
    w->Nbr_Courriel->setValue(3);
    const QString choix = QStringLiteral("Choisir son compte Courriel");
    const QString lot1 = "mailto:jerome@exemple.fr;loic@exemple.fr;anne@exemple.fr;%20?";
    const QString lot2 = "mailto:elodie@exemple.fr;%20?";
    courriels(
        w->BtCourriel,
        {
            {"no mail program", "", 0, {choix, platform::kMailMissing}, {}},
            {"the opener fails", "courrier.desktop", 3, {choix, platform::kMailMissing}, {lot1}},
            {"a program takes them", "courrier.desktop", 0, {choix}, {lot1, lot2}},
        });
}

TEST_F(Convocations, TemplatesBindWhatTheWindowAnswers)
{
    active(true);
    entete();
    const QStringList champs =
        QStringLiteral("saison responsable publication prix epreuve phase date lieu modalites "
                       "horaires1 horaires2 avertissement arbitre pied2 pause caution "
                       "Informations_Lieu info_arbitre info_responsable")
            .split(u' ');
    const QSet<QString> entete(champs.begin(), champs.end());
    const QSet<QString> liste{"classement2", "nom2", "joueur2", "indice2"};
    const struct {
        const char *modele;
        QSet<QString> noms;
    } cas[] = {{"convocation.frf", entete},
               {"quatre.frf", entete + liste + QSet<QString>{"club2"}},
               {"paires.frf", entete + liste}};
    for (const auto &c : cas) {
        const QString fichier = vorn_test::modeleLivre(QString::fromLatin1(c.modele));
        EXPECT_EQ(nomsDuModele(fichier), c.noms) << c.modele;
        for (const QString &n : c.noms)
            EXPECT_NE(valeur(n), "inchangé") << c.modele << " " << n.toStdString();
        ASSERT_NO_FATAL_FAILURE(gardeSesOctets(fichier, c.modele));
    }
}

TEST_F(Convocations, PreparedPagesOfTheThreeTemplates)
{
    const struct {
        bool quatre;
        const char *fichier; // entries file opened, or none
        const char *golden;
        int pages;
    } cas[] = {{true, nullptr, "convocation.txt", 1},
               {true, "equipes.Quc", "quatre.txt", 1},
               {false, "paires.Pag", "paires.txt", 1}};
    for (const auto &c : cas) {
        SCOPED_TRACE(c.golden);
        preview->calls.clear();
        active(c.quatre);
        entete();
        if (c.fichier) {
            ouvre(QString::fromLatin1(c.fichier));
            w->Impression->click();
        } else {
            w->Convocation->click();
        }
        ASSERT_EQ(preview->calls.size(), 1u);
        EXPECT_EQ(preview->calls[0].pages, c.pages);
        const QString dump = w->frReport1->EMFPages().Dump();
        EXPECT_EQ(dump.toUtf8(),
                  vorn_test::golden(QStringLiteral("convocations/") + c.golden, dump.toUtf8()));
        EXPECT_FALSE(dump.contains("Symbole non défini"));
        if (vorn_test::shotsRequested()) {
            // Measured as they will print, with the metric-compatible fonts.
            report::frObjects().setMeasurer(nullptr);
            ASSERT_TRUE(w->frReport1->PrepareReport());
            vorn_test::dessinerPage1(*w->frReport1,
                                     QString::fromLatin1(c.golden).chopped(4) + "_page1.png");
            report::frObjects().setMeasurer(&measurer);
        }
    }
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
}

TEST_F(Convocations, WindowShots)
{
    if (!vorn_test::shotsRequested())
        GTEST_SKIP() << "VORN_SHOTS_DIR not set";
    active(true);
    entete();
    w->resize(1040, 560);
    EXPECT_FALSE(vorn_test::saveShot(w.get(), "convocations_presentation.png").isEmpty());
    writeBytes("docs/FFB.htm", donnee("page_groupe.htm"));
    dialogs().files = {path("docs/FFB.htm"), path("2023-2024/poule.Qug")};
    w->Bt_Internet->click();
    EXPECT_FALSE(vorn_test::saveShot(w.get(), "convocations_page_internet.png").isEmpty());
}

TEST_F(Convocations, ModificationAndMissingTemplates)
{
    active(true);
    int ouvertures = 0;
    QStringList noms;
    report::frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<report::FrCountingDesigner>(mode);
        d->edit = [&](report::FrCountingDesigner &) {
            ++ouvertures;
            noms << QFileInfo(w->frReport1->FileName).fileName();
            w->frReport1->SaveToFile(w->frReport1->FileName);
        };
        return d;
    };
    w->Bt_Convoc->click();
    w->Bt_Impress->click();
    active(false);
    w->Bt_Impress->click();
    EXPECT_EQ(noms, (QStringList{"convocation.frf", "quatre.frf", "paires.frf"}));

    // Gone: printing says so and shows nothing; the designer gets an empty
    // report named after it, and its save creates that file only.
    QFile::remove(path("convocation.frf"));
    const QByteArray quatre = readBytes("quatre.frf");
    w->Convocation->click();
    EXPECT_TRUE(preview->calls.empty());
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text,
              "Modèle d'impression absent ou illisible : convocation.frf");
    w->Bt_Convoc->click();
    EXPECT_EQ(ouvertures, 4);
    EXPECT_EQ(noms.back(), "convocation.frf");
    ASSERT_EQ(w->frReport1->Pages().Count(), 1);
    EXPECT_TRUE(w->frReport1->Pages().GetPage(0)->Objects.empty());
    EXPECT_TRUE(exists("convocation.frf"));
    EXPECT_EQ(readBytes("quatre.frf"), quatre);

    // Emptied: the same, never the layout the report held last.
    writeBytes("convocation.frf", QByteArray());
    dialogs().messages.clear();
    w->Convocation->click();
    EXPECT_TRUE(preview->calls.empty());
    EXPECT_EQ(dialogs().texts(),
              QStringList{"Modèle d'impression absent ou illisible : convocation.frf"});
    w->Bt_Impress->click(); // the report now holds "paires.frf"
    w->Bt_Convoc->click();
    EXPECT_EQ(noms.back(), "convocation.frf");
    ASSERT_EQ(w->frReport1->Pages().Count(), 1);
    EXPECT_TRUE(w->frReport1->Pages().GetPage(0)->Objects.empty());
    EXPECT_EQ(readBytes("quatre.frf"), quatre);
}

TEST_F(Convocations, PrintedOnTheVirtualPdfPrinter)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils missing (scripts/install-deps installs it)";
    imprimantePdf();
    const auto texte = [&](const QString &nom) { return textePdf(*w->frReport1, nom); };
    active(true);
    entete();
    w->Convocation->click();
    dansLOrdre(texte("convocation"),
               {"Saison 2023-2024", "Convocation", "Coupe de France", "Demi-finale",
                "Samedi 23 mars 2024", "Bridge Club de Lyon", "14h00 - 18h00", "Caution : 80",
                "préalablement commandés", "Jean ARBITRE", "Paul MARTIN", "espace licencié",
                "Fait le 16/03/2024", "Comité de Lyon"});
    ouvre("equipes.Quc");
    w->Impression->click();
    dansLOrdre(texte("quatre"),
               {"Coupe de France", "1. EQUIPE NORD", "Lille Bridge", "Jérôme MARTIN 45",
                "Loïc DURAND 32", "2. EQUIPE SUD", "Anne O'NEIL 12", "ÉLODIE BLANC 28",
                "3. EQUIPE EST", "Paul INCONNU 20", "Page 1"});
    active(false);
    ouvre("paires.Pag");
    w->Impression->click();
    dansLOrdre(texte("paires"), {"Caution : 40", "1. - Jérôme MARTIN 45", "Loïc DURAND 32",
                                 "2. - Paul INCONNU 20", "Marc ABSENT 30"});
}

// The entries and the header data are saved over another existing file only
// when the user says so; the file the window has open is saved again
// without a question.
TEST_F(Convocations, SavingAsksExceptForTheOpenFile)
{
    const auto question = [](const char *nom) {
        return QStringLiteral("Le fichier ") + QString::fromUtf8(nom) +
               QStringLiteral(" existe déjà\nVoulez-vous l'écraser ?");
    };
    active(true);
    writeBytes("docs/FFB.htm", donnee("page_groupe.htm"));
    writeBytes("2023-2024/ancien.Qug", "ancien\r\n");
    dialogs().files = {path("docs/FFB.htm"), path("2023-2024/ancien.Qug")};
    dialogs().answers = {platform::mrNo};
    w->Bt_Internet->click();
    EXPECT_EQ(dialogs().texts(), QStringList{question("ancien.Qug")});
    EXPECT_EQ(readBytes("2023-2024/ancien.Qug"), "ancien\r\n");

    dialogs().messages.clear();
    dialogs().files = {path("docs/FFB.htm"), path("2023-2024/poule.Qug")};
    w->Bt_Internet->click();
    ASSERT_EQ(w->FichierInscrits, path("2023-2024/poule.Qug"));
    dialogs().files = {path("2023-2024/poule.Qug")};
    w->Bt_Load_Inscrits->click();
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    dialogs().files = {path("2023-2024/ancien.Qug")};
    dialogs().answers = {platform::mrYes};
    w->Bt_Load_Inscrits->click();
    EXPECT_EQ(dialogs().texts(), QStringList{question("ancien.Qug")});
    EXPECT_EQ(readBytes("2023-2024/ancien.Qug"), donnee("page_groupe.groupe"));

    dialogs().messages.clear();
    writeBytes("2023-2024/lu.qud", donnee("entete.qud"));
    writeBytes("2023-2024/autre.qud", "autre\r\n");
    dialogs().files = {path("2023-2024/lu.qud")};
    w->Bt_Ouvrie_Donnes->click();
    dialogs().files = {path("2023-2024/lu.qud")};
    w->Bt_load_donnes->click();
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    dialogs().files = {path("2023-2024/autre.qud")};
    dialogs().answers = {platform::mrNo};
    w->Bt_load_donnes->click();
    EXPECT_EQ(dialogs().texts(), QStringList{question("autre.qud")});
    EXPECT_EQ(readBytes("2023-2024/autre.qud"), "autre\r\n");
    EXPECT_EQ(readBytes("2023-2024/lu.qud"), donnee("entete.qud"));
}
