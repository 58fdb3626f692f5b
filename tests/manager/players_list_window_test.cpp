// The players list window in its two modes: columns, filters and their
// edits, selection for mailing, the mail batches, the export and the chart
// print, and pictures of both chart tabs.
#include "manager/edition_joueurs.h"

#include "platform/charts/chart.h"
#include "platform/printer/printers.h"
#include "platform/shell/shell.h"
#include "tests/support/gui/drawn_texts.h"
#include "tests/support/gui/program_folder.h"
#include "tests/support/gui/shots.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest/QTest>

using namespace platform;

namespace
{

const QString Saison = QStringLiteral("2026-2027");

QByteArray donnee(const char *nom)
{
    QFile f(QStringLiteral(VORN_TEST_DATA "/players/") + QString::fromLatin1(nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// n players of the same shape, each with an e-mail address.
QStringList joueursAvecCourriel(int n)
{
    QStringList r;
    for (int i = 1; i <= n; ++i)
        r << QStringLiteral("%1;M.;NOM%2;Prenom;40;CLUB;;;;;;;;;j%1@x.fr;01/01/1970;Senior Licence;"
                            ";2027;")
                 .arg(i)
                 .arg(i, 3, 10, QChar(u'0'));
    return r;
}

class PlayersListWindow : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SaisonEnCours = Saison;
        writeBytes(Saison + QStringLiteral("/Joueur.DBP"), donnee("liste.dbp"));
        fenetre = std::make_unique<TVorn_FEdition_Joueurs>();
    }
    void TearDown() override
    {
        fenetre.reset();
        ProgramFolderTest::TearDown();
    }

    // As the main menu shows it in one mode or the other.
    void ouvrir(bool courriel)
    {
        fenetre->Bt_Action->setText(courriel ? QStringLiteral("Courriel")
                                             : QStringLiteral("Editer"));
        fenetre->Nbr_Courriel->setVisible(courriel);
        fenetre->CB_BCC->setVisible(courriel);
        fenetre->L_courriel->setVisible(courriel);
        fenetre->Show();
        fenetre->activated();
    }

    QStringList entetes() const
    {
        QStringList r;
        for (int c = 0; c < fenetre->StrGrd->columnCount(); ++c)
            r << (fenetre->StrGrd->horizontalHeaderItem(c)
                      ? fenetre->StrGrd->horizontalHeaderItem(c)->text()
                      : QStringLiteral("<aucun>"));
        return r;
    }
    QList<int> largeurs() const
    {
        QList<int> r;
        for (int c = 0; c < fenetre->StrGrd->columnCount(); ++c)
            r << fenetre->StrGrd->columnWidth(c);
        return r;
    }
    QString cellule(int ligne, int colonne) const
    {
        const QTableWidgetItem *i = fenetre->StrGrd->item(ligne, colonne);
        return i ? i->text() : QStringLiteral("<aucune>");
    }
    QStringList colonne(int c) const
    {
        QStringList r;
        for (int l = 0; l < fenetre->StrGrd->rowCount(); ++l)
            r << cellule(l, c);
        return r;
    }
    bool visible(QWidget *w) const { return w->isVisibleTo(fenetre.get()); }
    static QStringList elements(const QListWidget *l)
    {
        QStringList r;
        for (int i = 0; i < l->count(); ++i)
            r << l->item(i)->text();
        return r;
    }

    std::unique_ptr<TVorn_FEdition_Joueurs> fenetre;
};

} // namespace

TEST_F(PlayersListWindow, EditerMode)
{
    ouvrir(false);
    EXPECT_EQ(entetes(), (QStringList{QStringLiteral("Licence"), QStringLiteral("Titre"),
                                      QStringLiteral("Nom"), QStringLiteral("Prénom"),
                                      QStringLiteral("I.V."), QStringLiteral("Naissance"),
                                      QStringLiteral("Club"), QStringLiteral("Type de Licence")}));
    EXPECT_EQ(largeurs(), (QList<int>{80, 45, 180, 180, 35, 95, 300, 175}));
    EXPECT_TRUE(visible(fenetre->PageControl1));
    EXPECT_TRUE(visible(fenetre->Bt_Impression));
    EXPECT_FALSE(visible(fenetre->Bt_Courriel));
    EXPECT_EQ(fenetre->GroupeClubs->width(), 529);
    EXPECT_EQ(fenetre->Label1->text(), QStringLiteral("Critères de tri des 8 enregistrements"));
    EXPECT_EQ(fenetre->Label2->text(), QStringLiteral("Trouvé = 8"));
    EXPECT_EQ(fenetre->StrGrd->rowCount(), 8);
    // File order; the club column; an empty value index and a "//" date are
    // listed like any other.
    EXPECT_EQ(cellule(2, 2), QStringLiteral("BLANC"));
    EXPECT_EQ(cellule(2, 4), QString());
    EXPECT_EQ(cellule(2, 5), QStringLiteral("//"));
    EXPECT_EQ(cellule(3, 6), QStringLiteral("club a"));
    EXPECT_EQ(elements(fenetre->GroupCotis),
              (QStringList{QStringLiteral("Cadet Découverte"), QStringLiteral("Junior Licence"),
                           QStringLiteral("Senior Licence")}));
    EXPECT_EQ(elements(fenetre->GroupeClubs).size(), 4);
    EXPECT_TRUE(fenetre->Bt_Action->isEnabled());

    EXPECT_EQ(fenetre->Chart1->title(), QStringLiteral("la répartition des Indices"));
    EXPECT_EQ(fenetre->Chart1->seriesName(), QStringLiteral("Series1"));
    QStringList parts;
    for (const auto &p : fenetre->Chart1->points())
        parts << QStringLiteral("%1=%2").arg(p.label).arg(p.value);
    // IV 20; 30; 36; 44; 61 (101, empty and "x" in no band).
    EXPECT_EQ(parts,
              (QStringList{QStringLiteral("Nons classés=1"), QStringLiteral("Quatrième série=1"),
                           QStringLiteral("Troisième série=1"), QStringLiteral("Deuxième série=1"),
                           QStringLiteral("Première série=1")}));
    EXPECT_EQ(fenetre->Chart1->markTexts().value(0), QStringLiteral("20 %"));
    EXPECT_EQ(fenetre->Chart2->seriesName(), QStringLiteral("Series2"));
    EXPECT_FALSE(fenetre->Chart2->legendVisible());
    // Seven readable dates on 15 March 2021: 56, 31, 41, 66, 49, 60, 50.
    EXPECT_EQ(fenetre->Chart2->title(), QStringLiteral("L'age moyen est de 50,43 Ans"));
}

TEST_F(PlayersListWindow, CourrielModeAndSelection)
{
    ouvrir(true);
    EXPECT_EQ(fenetre->StrGrd->columnCount(), 9);
    EXPECT_EQ(entetes().value(6), QStringLiteral("Adresse courriel"));
    EXPECT_EQ(entetes().value(8), QStringLiteral("X"));
    EXPECT_EQ(largeurs(), (QList<int>{75, 40, 175, 175, 30, 95, 310, 175, 13}));
    EXPECT_FALSE(visible(fenetre->PageControl1));
    EXPECT_FALSE(visible(fenetre->Bt_Impression));
    EXPECT_TRUE(visible(fenetre->Bt_Courriel));
    EXPECT_EQ(fenetre->GroupeClubs->width(), 873);
    // Every row with an address is selected; ALLARD and CARON have none.
    EXPECT_EQ(colonne(8), (QStringList{QStringLiteral("X"), QString(), QStringLiteral("X"),
                                       QString(), QStringLiteral("X"), QStringLiteral("X"),
                                       QStringLiteral("X"), QStringLiteral("X")}));
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 6"));

    fenetre->Bt_Courriel->click();
    EXPECT_EQ(entetes().value(8), QString());
    EXPECT_EQ(colonne(8).join(QString()), QString());
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 0"));
    fenetre->Bt_Courriel->click();
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 6"));

    fenetre->StrGrdSelectCell(0, 8);
    EXPECT_EQ(cellule(0, 8), QString());
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 5"));
    fenetre->StrGrdSelectCell(1, 8); // no address: stays empty
    EXPECT_EQ(cellule(1, 8), QString());
    fenetre->StrGrdSelectCell(0, 7); // another column: nothing
    EXPECT_EQ(cellule(0, 8), QString());
    fenetre->StrGrdSelectCell(0, 8);
    EXPECT_EQ(cellule(0, 8), QStringLiteral("X"));
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 6"));

    // Selections stay when the window comes back.
    fenetre->StrGrdSelectCell(0, 8);
    TForm autre(QStringLiteral("Autre"));
    autre.activated();
    fenetre->activated();
    EXPECT_EQ(cellule(0, 8), QString());
}

// Marks set by hand stay with their players (by licence) when the players
// file is read again or the list was shown in the other mode meanwhile; a
// player gone from the file takes his mark with him.
TEST_F(PlayersListWindow, HandSetMarksSurviveARead)
{
    const QString fichier = Saison + QStringLiteral("/Joueur.DBP");
    const QStringList tous = joueursAvecCourriel(6);
    QStringList sansLe3 = tous;
    sansLe3.removeAt(2);
    const auto revenir = [&] {
        TForm autre(QStringLiteral("Autre"));
        autre.activated();
        ouvrir(true);
    };
    const struct {
        const char *cas;
        std::function<void()> entreDeux;
        const char *marques; // licence and mark of each row
        const char *compte;
    } cas[] = {
        {"same bytes, touched",
         [&] {
             QFile f(path(fichier));
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.setFileTime(QFileInfo(f).lastModified().addSecs(60),
                                       QFileDevice::FileModificationTime));
         },
         "1X 2- 3X 4- 5X 6-", "Courriel = 3"},
        {"rewritten without player 3", [&] { writeLines(fichier, sansLe3); }, "1X 2- 4- 5X 6-",
         "Courriel = 2"},
        {"player 3 back after a read without him",
         [&] {
             writeLines(fichier, sansLe3);
             revenir();
             writeLines(fichier, tous);
         },
         "1X 2- 3- 4- 5X 6-", "Courriel = 2"},
        {"Editer then Courriel", [&] { ouvrir(false); }, "1X 2- 3X 4- 5X 6-", "Courriel = 3"},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.cas);
        writeLines(fichier, tous);
        fenetre = std::make_unique<TVorn_FEdition_Joueurs>();
        ouvrir(true);
        fenetre->Bt_Courriel->click(); // none, then three by hand
        for (int ligne : {0, 2, 4})
            fenetre->StrGrdSelectCell(ligne, 8);
        c.entreDeux();
        revenir();
        QStringList lignes;
        for (int l = 0; l < fenetre->StrGrd->rowCount(); ++l)
            lignes << cellule(l, 0) + (cellule(l, 8) == QStringLiteral("X") ? u'X' : u'-');
        EXPECT_EQ(lignes.join(u' ').toStdString(), c.marques);
        EXPECT_EQ(fenetre->Label3->text().toStdString(), c.compte);
    }
}

TEST_F(PlayersListWindow, FiltersAndTheirEdits)
{
    ouvrir(false);
    fenetre->EditMinIndice->setText(QStringLiteral("150"));
    fenetre->EditMinIndiceExit();
    EXPECT_EQ(fenetre->EditMinIndice->text(), QStringLiteral("20"));
    fenetre->EditMinIndice->setText(QStringLiteral("35"));
    fenetre->EditMinIndiceExit();
    EXPECT_EQ(fenetre->EditMinIndice->text(), QStringLiteral("35"));
    EXPECT_EQ(fenetre->UpMaxIndice->Min(), 35);
    fenetre->EditMinIndice->setText(QStringLiteral("abc"));
    fenetre->EditMinIndiceExit();
    EXPECT_EQ(fenetre->EditMinIndice->text(), QStringLiteral("35"));
    fenetre->EditMaxIndice->setText(QStringLiteral("30")); // below the lower bound
    fenetre->EditMaxIndiceExit();
    EXPECT_EQ(fenetre->EditMaxIndice->text(), QStringLiteral("100"));
    fenetre->EditMaxIndice->setText(QString());
    fenetre->EditMaxIndiceExit();
    EXPECT_EQ(fenetre->EditMaxIndice->text(), QStringLiteral("100"));
    fenetre->EditMaxIndice->setText(QStringLiteral("61"));
    fenetre->EditMaxIndiceExit();
    EXPECT_EQ(fenetre->UpMinIndice->Max(), 61);

    fenetre->CheckBoxIndice->click();
    EXPECT_EQ(colonne(2), (QStringList{QStringLiteral("BARON"), QStringLiteral("CARON"),
                                       QStringLiteral("DUVAL")}));
    EXPECT_EQ(fenetre->Label2->text(), QStringLiteral("Trouvé = 3"));
    fenetre->CheckBoxIndice->click();

    // Name letters: the up-downs keep min <= max.
    fenetre->UpMinNom->step(true);
    EXPECT_EQ(fenetre->EditminNom->text(), QStringLiteral("B"));
    EXPECT_EQ(fenetre->UpMaxNom->Min(), int('B'));
    fenetre->EditMaxNom->setText(QStringLiteral("a")); // below B: refused
    fenetre->EditMaxNomExit();
    EXPECT_EQ(fenetre->EditMaxNom->text(), QStringLiteral("Z"));
    fenetre->EditMaxNom->setText(QStringLiteral("b"));
    fenetre->EditMaxNomExit();
    EXPECT_EQ(fenetre->EditMaxNom->text(), QStringLiteral("B"));
    fenetre->CheckBoxNom->click();
    EXPECT_EQ(colonne(2), (QStringList{QStringLiteral("BARON"), QStringLiteral("BLANC")}));

    // Club and licence-type lists.
    fenetre->CheckBoxNom->click();
    fenetre->CheckClubs->click();
    EXPECT_EQ(fenetre->StrGrd->rowCount(), 0);
    EXPECT_FALSE(fenetre->Bt_Action->isEnabled());
    EXPECT_EQ(fenetre->Chart2->title(), QString());
    fenetre->GroupeClubs->findItems(QStringLiteral("CLUB B"), Qt::MatchExactly)
        .value(0)
        ->setCheckState(Qt::Checked);
    EXPECT_EQ(colonne(2), (QStringList{QStringLiteral("ALLARD"), QStringLiteral("ÉBERT")}));
}

TEST_F(PlayersListWindow, MailBatches)
{
    writeLines(Saison + QStringLiteral("/Joueur.DBP"), joueursAvecCourriel(120));
    ouvrir(true);
    EXPECT_EQ(fenetre->Label3->text(), QStringLiteral("Courriel = 120"));
    fenetre->Bt_Action->click();
    EXPECT_EQ(dialogs().texts().value(0), QStringLiteral("Choisir son compte Courriel"));
    ASSERT_EQ(shell().calls.size(), 3u);
    EXPECT_EQ(shell().calls[0].verb, QStringLiteral("Open"));
    EXPECT_EQ(shell().calls[0].showCommand, SW_SHOW);
    EXPECT_EQ(shell().calls[0].file.count(u'@'), 50);
    EXPECT_EQ(shell().calls[1].file.count(u'@'), 50);
    QString dernier = QStringLiteral("mailto:");
    for (int i = 101; i <= 120; ++i)
        dernier += QStringLiteral("j%1@x.fr;").arg(i);
    EXPECT_EQ(shell().calls[2].file, dernier + QStringLiteral(" ?"));
    EXPECT_FALSE(fenetre->isVisible());
}

TEST_F(PlayersListWindow, MailBatchesBlindCopiesAndFailures)
{
    writeLines(Saison + QStringLiteral("/Joueur.DBP"), joueursAvecCourriel(7));
    ouvrir(true);
    fenetre->Nbr_Courriel->setValue(3);
    fenetre->CB_BCC->setChecked(true);
    fenetre->Bt_Action->click();
    ASSERT_EQ(shell().calls.size(), 3u);
    EXPECT_EQ(shell().calls[0].file, QStringLiteral("mailto: ? &bcc=j1@x.fr;j2@x.fr;j3@x.fr;"));
    EXPECT_EQ(shell().calls[2].file, QStringLiteral("mailto: ? &bcc=j7@x.fr;"));
    // Without a mail program: warned once, the other batches are not tried.
    shell().calls.clear();
    shell().defaultResult = SE_ERR_NOASSOC;
    ouvrir(true);
    fenetre->Bt_Action->click();
    EXPECT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(dialogs().count(kMailMissing), 1);
}

TEST_F(PlayersListWindow, ExportOfTheListedPlayers)
{
    ouvrir(false);
    fenetre->EditminNom->setText(QStringLiteral("B"));
    fenetre->EditminNomExit();
    fenetre->EditMaxNom->setText(QStringLiteral("B"));
    fenetre->EditMaxNomExit();
    fenetre->CheckBoxNom->click();
    ASSERT_EQ(fenetre->StrGrd->rowCount(), 2);

    const QPoint bouton = fenetre->frameGeometry().topLeft() + fenetre->Bt_Action->pos();
    fenetre->Bt_Action->click();
    EXPECT_FALSE(fenetre->isVisible());
    EXPECT_EQ(fenetre->positionMenu(), bouton + QPoint(4, 60));
    fenetre->PopupMenu1->hide();

    // Cancelled: nothing written.
    dialogs().files.push_back(std::nullopt);
    fenetre->Exportation1->trigger();
    ASSERT_EQ(dialogs().saveRequests.size(), 1u);
    EXPECT_EQ(dialogs().saveRequests[0].fileName,
              path(Saison + QStringLiteral("/Exportation.txt")));
    EXPECT_FALSE(exists(Saison + QStringLiteral("/Exportation.txt")));

    // The window let go of the players file when it hid; the listed players
    // are still exported.
    dialogs().files.push_back(path(Saison + QStringLiteral("/Publipostage.txt")));
    fenetre->Publipostage1->trigger();
    EXPECT_EQ(dialogs().saveRequests[1].fileName,
              path(Saison + QStringLiteral("/Publipostage.txt")));
    EXPECT_EQ(readBytes(Saison + QStringLiteral("/Publipostage.txt")), donnee("export_b.golden"));

    // The export of the last time is replaced only when the user says so.
    dialogs().messages.clear();
    writeBytes(Saison + QStringLiteral("/Publipostage.txt"), "ancien\r\n");
    dialogs().files.push_back(path(Saison + QStringLiteral("/Publipostage.txt")));
    dialogs().answers.push_back(platform::mrNo);
    fenetre->Publipostage1->trigger();
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral(
                  "Le fichier Publipostage.txt existe déjà\nVoulez-vous l'écraser ?")});
    EXPECT_EQ(readBytes(Saison + QStringLiteral("/Publipostage.txt")), "ancien\r\n");
    dialogs().files.push_back(path(Saison + QStringLiteral("/Publipostage.txt")));
    dialogs().answers.push_back(platform::mrYes);
    fenetre->Publipostage1->trigger();
    EXPECT_EQ(readBytes(Saison + QStringLiteral("/Publipostage.txt")), donnee("export_b.golden"));
}

TEST_F(PlayersListWindow, ChartPrintGoesToTheVirtualPrinter)
{
    const QString pdf = path(QStringLiteral("graphique.pdf"));
    setVirtualPrinterOutput(pdf);
    setCurrentPrinterName(kVirtualPrinterName);
    ouvrir(false);
    for (int onglet : {0, 1}) {
        QFile::remove(pdf);
        fenetre->PageControl1->setCurrentIndex(onglet);
        fenetre->Bt_Impression->click();
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << onglet;
        const QByteArray octets = f.readAll();
        EXPECT_TRUE(octets.startsWith("%PDF")) << onglet;
        // One page object ("/Pages" is the page tree).
        const QString texte = QString::fromLatin1(octets);
        EXPECT_EQ(texte.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1)
            << onglet;
    }
    setVirtualPrinterOutput(QString());
    setCurrentPrinterName(QString());
    EXPECT_TRUE(dialogs().messages.empty());
}

namespace
{

// The environment variables a test changes, put back as they were.
class Environnement
{
public:
    ~Environnement()
    {
        for (auto it = m_avant.cbegin(); it != m_avant.cend(); ++it) {
            if (it.value().isNull())
                qunsetenv(it.key().constData());
            else
                qputenv(it.key().constData(), it.value());
        }
    }
    void poser(const char *nom, const QByteArray &valeur)
    {
        garder(nom);
        qputenv(nom, valeur);
    }
    void retirer(const char *nom)
    {
        garder(nom);
        qunsetenv(nom);
    }

private:
    void garder(const char *nom)
    {
        if (!m_avant.contains(nom))
            m_avant.insert(nom, qEnvironmentVariableIsSet(nom) ? qgetenv(nom) : QByteArray());
    }
    QMap<QByteArray, QByteArray> m_avant;
};

// The first page of a PDF as pdftoppm draws it (poppler-utils).
QImage premierePage(const QString &pdf, const QString &prefixe)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
             QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
             QStringLiteral("-singlefile"), pdf, prefixe});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(prefixe + QStringLiteral(".png"));
}

// The text of a PDF as pdftotext reads it (poppler-utils).
QString texteDuPdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// At the window's designed size, with a season of 200 players: every axis
// label, mark and legend entry of both charts is drawn whole.
TEST_F(PlayersListWindow, ChartLabelsAreWholeAtTheDesignedSize)
{
    writeBytes(Saison + QStringLiteral("/Joueur.DBP"), donnee("joueurs_200.dbp"));
    ouvrir(false);
    ASSERT_EQ(fenetre->size(), QSize(1280, 800));
    const char *noms[] = {"players_indices_200.png", "players_age_200.png"};
    for (int onglet : {0, 1}) {
        fenetre->PageControl1->setCurrentIndex(onglet);
        vorn_test::settle();
        TChart *graphique = onglet == 0 ? fenetre->Chart1 : fenetre->Chart2;
        vorn_test::saveShot(fenetre.get(), QString::fromLatin1(noms[onglet]));
        const QStringList textes = vorn_test::drawnTexts(graphique->view());
        for (const QString &t : textes) {
            EXPECT_FALSE(vorn_test::isElided(t)) << onglet << " " << t.toStdString();
        }
        // What must be there: the title, every mark, and the bar labels or
        // the legend's band names.
        QStringList attendus = graphique->markTexts();
        attendus << graphique->title();
        for (const TChart::Point &p : graphique->points())
            attendus << p.label;
        for (const QString &a : attendus) {
            if (onglet == 0 && a.startsWith(u'0'))
                continue; // an empty slice shows no mark
            EXPECT_TRUE(textes.contains(a))
                << onglet << " " << a.toStdString() << " among " << textes.join(u'|').toStdString();
        }
    }
    // The season of the fixture has marks with decimals and bars for
    // every age band.
    EXPECT_TRUE(fenetre->Chart1->markTexts().join(u' ').contains(u','));
    EXPECT_EQ(fenetre->Chart2->points().size(), 19);
}

// A user whose home has no documents folder: the virtual printer makes it;
// when it cannot be made, the file goes to the home folder. Either way the
// page holds the chart.
TEST_F(PlayersListWindow, ChartPrintWithoutDocumentsFolder)
{
    QTemporaryDir maison;
    ASSERT_TRUE(maison.isValid());
    Environnement env;
    env.poser("HOME", QFile::encodeName(maison.path()));
    for (const char *nom : {"XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"})
        env.retirer(nom);
    setVirtualPrinterOutput(QString());
    setCurrentPrinterName(kVirtualPrinterName);
    writeBytes(Saison + QStringLiteral("/Joueur.DBP"), donnee("joueurs_200.dbp"));
    ouvrir(false);
    const QString documents = QDir(maison.path()).filePath(QStringLiteral("Documents"));
    ASSERT_EQ(virtualPrinterOutput(), documents + QStringLiteral("/Vorn_Lud.pdf"));
    ASSERT_FALSE(QFileInfo::exists(documents));

    const struct {
        int onglet;
        bool dossierImpossible; // "Documents" is a file: no folder can be made
        QString pdf;
    } cas[] = {
        {0, false, documents + QStringLiteral("/Vorn_Lud.pdf")},
        {1, false, documents + QStringLiteral("/Vorn_Lud.pdf")},
        {0, true, maison.filePath(QStringLiteral("Vorn_Lud.pdf"))},
    };
    for (const auto &c : cas) {
        if (c.dossierImpossible) {
            QDir(documents).removeRecursively();
            QFile bloque(documents);
            ASSERT_TRUE(bloque.open(QIODevice::WriteOnly));
        }
        dialogs().messages.clear();
        fenetre->PageControl1->setCurrentIndex(c.onglet);
        fenetre->Bt_Impression->click();
        EXPECT_TRUE(dialogs().messages.empty())
            << c.onglet << " " << dialogs().texts().join(u'|').toStdString();
        ASSERT_TRUE(QFileInfo::exists(c.pdf)) << c.pdf.toStdString();

        const QString prefixe =
            maison.filePath(QStringLiteral("page%1%2").arg(c.onglet).arg(c.dossierImpossible));
        const QImage page = premierePage(c.pdf, prefixe);
        ASSERT_FALSE(page.isNull())
            << "pdftoppm (poppler-utils) could not draw " << c.pdf.toStdString();
        vorn_test::saveShot(page, QStringLiteral("printed_chart_%1%2.png")
                                      .arg(c.onglet)
                                      .arg(c.dossierImpossible ? "_home" : ""));
        // Not a blank page: the chart's ink, and on the pie's page the pure
        // red of the "Deuxième série" slice.
        qint64 encre = 0;
        bool rouge = false;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor p = page.pixelColor(x, y);
                if (p.lightness() < 200)
                    ++encre;
                if (p.red() > 230 && p.green() < 30 && p.blue() < 30)
                    rouge = true;
            }
        }
        EXPECT_GT(encre, qint64(page.width()) * page.height() / 100) << c.onglet;
        if (c.onglet == 0) {
            EXPECT_TRUE(rouge);
        }
        // The whole chart: its title, and the pie's legend.
        const QString texte = texteDuPdf(c.pdf);
        TChart *graphique = c.onglet == 0 ? fenetre->Chart1 : fenetre->Chart2;
        EXPECT_TRUE(texte.contains(graphique->title())) << texte.toStdString();
        if (c.onglet == 0) {
            EXPECT_TRUE(texte.contains(QStringLiteral("Deuxième série"))) << texte.toStdString();
        }
        QFile::remove(c.pdf);
    }
    setCurrentPrinterName(QString());
}

TEST_F(PlayersListWindow, PicturesOfBothTabs)
{
    // 50 players spread over the bands and the ages.
    QStringList j;
    const int indices[] = {20, 24, 28, 32, 36, 40, 44, 52, 60, 68, 76, 84, 96, 100, 30};
    for (int i = 0; i < 50; ++i)
        j << QStringLiteral("%1;M.;NOM%1;P;%2;CLUB %3;;;;;;;;;;15/%4/%5;Senior Licence;;2027;")
                 .arg(1000 + i)
                 .arg(indices[(i * 7) % 15])
                 .arg(i % 4)
                 .arg(1 + i % 12, 2, 10, QChar(u'0'))
                 .arg(1935 + (i * 37) % 75);
    writeLines(Saison + QStringLiteral("/Joueur.DBP"), j);
    ouvrir(false);
    vorn_test::settle();
    const char *noms[] = {"players_indices.png", "players_age.png"};
    for (int onglet : {0, 1}) {
        fenetre->PageControl1->setCurrentIndex(onglet);
        vorn_test::settle();
        const QImage image = fenetre->grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_FALSE(vorn_test::saveShot(image, QString::fromLatin1(noms[onglet]),
                                         path(QStringLiteral("images")))
                         .isEmpty());
        // The chart draws something: pure red (the "Deuxième série" slice) on
        // the pie's page, several colours on the histogram's.
        const QImage page = fenetre->PageControl1->grab().toImage();
        QSet<QRgb> couleurs;
        for (int y = 0; y < page.height(); y += 2)
            for (int x = 0; x < page.width(); x += 2)
                couleurs.insert(page.pixel(x, y));
        EXPECT_GT(couleurs.size(), 8) << onglet;
        if (onglet == 0) {
            EXPECT_TRUE(couleurs.contains(qRgb(255, 0, 0)));
        }
    }
    EXPECT_TRUE(fenetre->Chart2->title().startsWith(QStringLiteral("L'age moyen est de ")));
    EXPECT_GT(fenetre->Chart2->points().size(), 5);
}

// On a 1024 x 700 screen the list opens fitted to it, and every control,
// the charts and both buttons of the top row included, is reached by
// scrolling and answers.
TEST_F(PlayersListWindow, SmallScreenKeepsEveryControlReachable)
{
    setAvailableScreenArea(QRect(0, 0, 1024, 700));
    fenetre = std::make_unique<TVorn_FEdition_Joueurs>(); // first shown on that screen
    writeBytes(Saison + QStringLiteral("/Joueur.DBP"), donnee("joueurs_200.dbp"));
    ouvrir(false);
    vorn_test::settle();
    setAvailableScreenArea(QRect(0, 0, 4096, 4096));
    ASSERT_NE(fenetre->scrollArea(), nullptr);
    EXPECT_LE(fenetre->frameGeometry().width(), 1024);
    EXPECT_LE(fenetre->frameGeometry().height(), 700);
    EXPECT_EQ(fenetre->scrollArea()->widget()->size(), QSize(1280, 800));
    vorn_test::saveShot(fenetre.get(), QStringLiteral("players_1024x700.png"));

    const QList<QWidget *> controles = {
        fenetre->Bt_Action, fenetre->Bt_Impression, fenetre->Bt_Quitter, fenetre->PageControl1,
        fenetre->StrGrd,    fenetre->GroupeClubs,   fenetre->CheckClubs, fenetre->Label2};
    // Each corner of each control can be brought into the window.
    QWidget *page = fenetre->scrollArea()->widget();
    for (QWidget *c : controles) {
        for (const QPoint coin : {QPoint(0, 0), QPoint(c->width() - 1, c->height() - 1)}) {
            const QPoint surLaPage = c->mapTo(page, coin);
            fenetre->scrollArea()->ensureVisible(surLaPage.x(), surLaPage.y(), 2, 2);
            vorn_test::settle();
            EXPECT_TRUE(fenetre->scrollArea()->viewport()->rect().contains(
                c->mapTo(fenetre->scrollArea()->viewport(), coin)))
                << c->objectName().toStdString();
        }
    }
    // "Quitter", at the far right, still does its work once scrolled to.
    fenetre->scrollArea()->ensureWidgetVisible(fenetre->Bt_Quitter);
    vorn_test::settle();
    vorn_test::saveShot(fenetre.get(), QStringLiteral("players_1024x700_scrolled.png"));
    QTest::mouseClick(fenetre->Bt_Quitter, Qt::LeftButton);
    EXPECT_FALSE(fenetre->isVisible());
}
