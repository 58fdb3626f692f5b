// The pictures of the user guides: each pictured window opened from the main
// menu on one season, in the state its guide describes, drawn and compared
// with the picture committed beside the guides. A window whose look changed
// fails here until its picture is taken again (the message says how).
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "manager/core/import_joueurs.h"
#include "manager/calendar.h"
#include "manager/challenge.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/fenetres.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/quatre_webweb.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_edition.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_imp.h"
#include "manager/vorn_pr.h"
#include "platform/forms/controls.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/ui/frpreview.h"
#include "tests/support/gui/program_folder.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

namespace help_pictures
{

const QString kSaison = QStringLiteral("2026-2027");

// The season's players: licence, title, name, first name, value index, club,
// address, postcode, town, e-mail, birth date.
struct Joueur {
    const char *licence, *titre, *nom, *prenom, *iv, *club, *adresse, *code, *ville, *courriel,
        *naissance;
};
const Joueur kJoueurs[] = {
    {"01000158", "M.", "ARNAUD-DESCHAMPS", "Jean-Christophe", "52", "BRIDGE CLUB DE LUDMARRE",
     "14 avenue du Maréchal de Lattre de Tassigny", "36000", "CHÂTEAUROUX",
     "jc.arnaud-deschamps@exemple.fr", "12/03/1958"},
    {"01000306", "Mme", "BERTHIER-LAMBERT", "Anne-Sophie", "48", "BRIDGE CLUB DE LUDMARRE",
     "3 rue des Tilleuls", "36000", "CHÂTEAUROUX", "anne-sophie.berthier@exemple.fr",
     "05/07/1962"},
    {"01000380", "M.", "CARON", "Éric", "45", "BRIDGE CLUB DE LUDMARRE", "27 boulevard de la Gare",
     "36100", "ISSOUDUN", "eric.caron@exemple.fr", "21/11/1949"},
    {"01001453", "Mme", "DELMAS", "Marie-Hélène", "40", "BRIDGE CLUB DE LUDMARRE",
     "8 place Saint-Cyr", "36100", "ISSOUDUN", "", "02/02/1971"},
    {"01001601", "M.", "ESTÈVE", "Marc-Antoine", "60", "CERCLE DE BRIDGE DU BERRY",
     "1 impasse des Vignes", "18000", "BOURGES", "marc-antoine.esteve@exemple.fr", "30/09/1955"},
    {"01002378", "Mme", "FABRE-MONTAGNAC", "Élisabeth", "58", "CERCLE DE BRIDGE DU BERRY",
     "45 rue Moyenne", "18000", "BOURGES", "e.fabre-montagnac@exemple.fr", "14/04/1960"},
    {"01002526", "M.", "GARCIA", "Paul", "55", "CERCLE DE BRIDGE DU BERRY", "9 rue Jean Jaurès",
     "18100", "VIERZON", "paul.garcia@exemple.fr", "08/08/1966"},
    {"01003673", "Mme", "HUGON", "Rose-Marie", "50", "CERCLE DE BRIDGE DU BERRY",
     "16 chemin des Prés", "18100", "VIERZON", "", "19/12/1952"},
    {"01004120", "M.", "LEFÈVRE", "François", "35", "BRIDGE CLUB DU BLANC",
     "2 quai Saint-Nicolas", "36300", "LE BLANC", "francois.lefevre@exemple.fr", "11/01/1980"},
    {"01004255", "Mme", "MARCHAND", "Geneviève", "33", "BRIDGE CLUB DU BLANC",
     "6 rue de la République", "36300", "LE BLANC", "genevieve.marchand@exemple.fr",
     "23/06/1947"},
    {"01005011", "M.", "PÉRIGNON", "Jacques", "30", "BRIDGE CLUB DE LA CHÂTRE",
     "11 rue Nationale", "36400", "LA CHÂTRE", "jacques.perignon@exemple.fr", "03/03/1975"},
    {"01005123", "Mme", "VAN DEN BERGHE", "Marie-Claude", "28", "BRIDGE CLUB DE LA CHÂTRE",
     "4 allée des Marronniers", "36400", "LA CHÂTRE", "mc.vandenberghe@exemple.fr",
     "17/10/1983"},
};

QString ligneJoueur(const Joueur &j)
{
    QStringList f(19);
    f[0] = QString::fromUtf8(j.licence);
    f[1] = QString::fromUtf8(j.titre);
    f[2] = QString::fromUtf8(j.nom);
    f[3] = QString::fromUtf8(j.prenom);
    f[4] = QString::fromUtf8(j.iv);
    f[5] = QString::fromUtf8(j.club);
    f[6] = QString::fromUtf8(j.adresse);
    f[9] = QString::fromUtf8(j.code);
    f[10] = QString::fromUtf8(j.ville);
    f[14] = QString::fromUtf8(j.courriel);
    f[15] = QString::fromUtf8(j.naissance);
    f[16] = QStringLiteral("Senior Licence");
    // The ranking code an import gives that value index.
    f[17] = manager::CodeClassement(f[4]);
    f[18] = QStringLiteral("2027");
    return f.join(QLatin1Char(';')) + QLatin1Char(';');
}

// "Prénom NOM", as the result files name a player.
QString nomResultat(int i)
{
    return QString::fromUtf8(kJoueurs[i].prenom) + QLatin1Char(' ') +
           QString::fromUtf8(kJoueurs[i].nom);
}

// A line of a pairs result file: rank, both players, points.
QString paire(int rang, int a, int b, int points)
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;")
        .arg(rang)
        .arg(nomResultat(a), nomResultat(b), QString::fromUtf8(kJoueurs[a].licence),
             QString::fromUtf8(kJoueurs[a].iv), QString::fromUtf8(kJoueurs[b].licence),
             QString::fromUtf8(kJoueurs[b].iv))
        .arg(points);
}

// A line of a teams-of-four result file: team, player, points.
QString quatre(int equipe, int j, int points)
{
    return QStringLiteral("%1;%2;;%3;%4;;;%5;")
        .arg(equipe)
        .arg(nomResultat(j), QString::fromUtf8(kJoueurs[j].licence),
             QString::fromUtf8(kJoueurs[j].iv))
        .arg(points);
}

// Events of the season's calendar: a day, "phase event category venue", the
// referee.
const char *const kCalendrier =
    "BEGIN:VCALENDAR\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261121\r\nSUMMARY:Qf Coupe Senior Ludmarre\r\n"
    "DESCRIPTION:Dumont\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261205\r\nSUMMARY:Df Trophee Dames Berry\r\n"
    "DESCRIPTION:Leclerc\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261212\r\nSUMMARY:Df Coupe Senior Ludmarre\r\n"
    "DESCRIPTION:Dumont\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270116\r\nSUMMARY:Fi Trophee Mixte Berry\r\n"
    "DESCRIPTION:Leclerc\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270123\r\nSUMMARY:Fi Coupe Senior Ludmarre\r\n"
    "DESCRIPTION:Dumont\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

// The committed picture of that name.
QString reference(const QString &nom)
{
    return QStringLiteral(VORN_SOURCE_DIR "/resources/help/images/") + nom;
}

// Pixels of a and b (same size) that differ.
qint64 pixelsDifferents(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 n = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(r));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            n += (p[c] & 0xffffff) != (q[c] & 0xffffff);
    }
    return n;
}

// The command that takes the guides' pictures again.
const char *const kRafraichir =
    "VORN_SHOTS_DIR=$PWD/resources/help/images QT_QPA_PLATFORM=offscreen "
    "build/test/tests/test_manager --gtest_filter='HelpPictures.*'";

class HelpPictures : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        // Saturday 21 November 2026, 10:00.
        clock().current = platform::EncodeDate(2026, 11, 21) + 10.0 / 24;
        report::fr().resetForTests();
        report::fr().start();
        report::frObjects().setMeasurer(nullptr);
        report::frInstallPreview();
        designer::frRegisterDesigner();

        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + kSaison,
                    QStringLiteral("ClubNumero=4700123"),
                    QStringLiteral("ClubNom=Bridge Club de Ludmarre"),
                    QStringLiteral("Epreuve=Coupe du Berry"),
                    QStringLiteral("DomaineFederation=ffbridge.fr"),
                    QStringLiteral("[Calendart]"), QStringLiteral("Date Depart=01/09/2026"),
                    QStringLiteral("Date Fin=30/06/2027"),
                    QStringLiteral("Repertoire=") + path(QStringLiteral("calendriers/*.ics")),
                    QStringLiteral("[Phase]"), QStringLiteral("Qf=Quart de finale"),
                    QStringLiteral("Df=Demi-finale"), QStringLiteral("Fi=Finale"),
                    QStringLiteral("[Epreuve]"), QStringLiteral("Coupe=Coupe du Berry"),
                    QStringLiteral("Trophee=Trophée du Comité"), QStringLiteral("[Categorie]"),
                    QStringLiteral("Senior=Seniors"), QStringLiteral("Dames=Dames"),
                    QStringLiteral("Mixte=Mixte"), QStringLiteral("[Lieu]"),
                    QStringLiteral("Ludmarre=Bridge Club de Ludmarre"),
                    QStringLiteral("Berry=Cercle de Bridge du Berry"), QStringLiteral("[Arbitre]"),
                    QStringLiteral("Dumont=Bernard DUMONT"),
                    QStringLiteral("Leclerc=Sylvie LECLERC")});
        QStringList joueurs;
        for (const Joueur &j : kJoueurs)
            joueurs << ligneJoueur(j);
        writeLines(kSaison + QStringLiteral("/Joueur.DBP"), joueurs);
        writeLines(kSaison + QStringLiteral("/Challenge.DBP"),
                   {QStringLiteral("1;04/10/2026;Open de rentrée de Ludmarre;P;1;100;Rentree.chr;"),
                    QStringLiteral("2;08/11/2026;Tournoi de la Saint-Martin;P;2;100;Martin.chr;"),
                    QStringLiteral("3;15/11/2026;Coupe des clubs par quatre;Q;3;100;Clubs.chr;"),
                    QStringLiteral("4;13/12/2026;Open de Noël du Berry;P;1;100;;")});
        writeLines(kSaison + QStringLiteral("/Rentree.chr"),
                   {paire(1, 0, 1, 1200), paire(2, 4, 5, 900), paire(3, 8, 9, 700),
                    paire(4, 2, 3, 500), paire(5, 6, 7, 300), paire(6, 10, 11, 100)});
        writeLines(kSaison + QStringLiteral("/Martin.chr"),
                   {paire(1, 4, 5, 1000), paire(2, 2, 3, 800), paire(3, 0, 1, 600),
                    paire(4, 10, 11, 400), paire(5, 8, 9, 200)});
        writeLines(kSaison + QStringLiteral("/Clubs.chr"),
                   {quatre(1, 0, 900), quatre(1, 1, 900), quatre(1, 2, 900), quatre(1, 3, 900),
                    quatre(2, 4, 500), quatre(2, 5, 500), quatre(2, 6, 500), quatre(2, 7, 500)});
        writeLines(QStringLiteral("Lieu.DBP"),
                   {QStringLiteral("Bridge Club de Ludmarre;14 avenue de la Gare 36000 Ludmarre;"),
                    QStringLiteral("Cercle de Bridge du Berry;45 rue Moyenne 18000 Bourges;")});
        writeLines(QStringLiteral("Arbitre.DBP"), {QStringLiteral("Bernard DUMONT;06 12 34 56 78;")});
        writeLines(QStringLiteral("Responsable.DBP"),
                   {QStringLiteral("Sylvie LECLERC;06 98 76 54 32;")});
        writeBytes(QStringLiteral("calendriers/saison.ics"), kCalendrier);
        // The templates the program ships, beside it.
        const QDir modeles(QStringLiteral(VORN_TEMPLATES_DIR));
        for (const QString &m : modeles.entryList({QStringLiteral("*.frf")}, QDir::Files))
            QFile::copy(modeles.filePath(m), path(m));

        m_fenetres = creerFenetres();
        Vorn_FPr->Show();
        vorn_test::settle();
        if (platform::TForm::activeForm() != Vorn_FPr)
            Vorn_FPr->activated();
        ASSERT_EQ(SaisonEnCours, kSaison);
    }
    void TearDown() override
    {
        m_fenetres.reset();
        report::fr().resetForTests();
        ProgramFolderTest::TearDown();
    }

    // The window shown by a command of the main menu, active as the user
    // leaves it.
    void ouvrir(QAction *commande, platform::TForm *fenetre)
    {
        commande->trigger();
        vorn_test::settle();
        if (platform::TForm::activeForm() != fenetre)
            fenetre->activated();
        vorn_test::settle();
    }

    // The widget drawn (no focus, so no caret) and saved under nom: in
    // VORN_SHOTS_DIR, else in the test's folder; then compared with the
    // committed picture.
    void photographier(QWidget *w, const QString &nom)
    {
        ASSERT_NE(w, nullptr) << nom.toStdString();
        if (QWidget *f = QApplication::focusWidget())
            f->clearFocus();
        vorn_test::settle();
        // In 256 colours: as sharp to the eye, a third of the weight in the
        // repository and in the guides.
        comparer(w->grab().toImage().convertToFormat(QImage::Format_Indexed8,
                                                     Qt::ThresholdDither | Qt::AvoidDither),
                 nom);
    }
    void comparer(const QImage &image, const QString &nom)
    {
        const QString ecrit = vorn_test::saveShot(image, nom, path(QStringLiteral("images")));
        ASSERT_FALSE(ecrit.isEmpty()) << "not written: " << nom.toStdString();
        EXPECT_LT(QFileInfo(ecrit).size(), 150 * 1000) << nom.toStdString() << " is too heavy";
        const QImage attendu(reference(nom));
        if (attendu.isNull()) {
            ADD_FAILURE() << "no committed picture " << reference(nom).toStdString()
                          << "; take it with: " << kRafraichir;
            return;
        }
        if (attendu.size() != image.size()) {
            ADD_FAILURE() << nom.toStdString() << " is " << image.width() << "x"
                          << image.height() << ", the committed one " << attendu.width() << "x"
                          << attendu.height() << "; take it again with: " << kRafraichir;
            return;
        }
        const qint64 differents = pixelsDifferents(image, attendu);
        const qint64 total = qint64(image.width()) * image.height();
        EXPECT_LT(differents * 50, total)
            << nom.toStdString() << ": " << differents << " of " << total
            << " pixels differ from the committed picture; if the window changed on purpose, "
               "take it again with: "
            << kRafraichir;
    }

    // Runs body on the first visible top-level window of type W once a
    // command has shown it (modal or not), then closes it. False when none
    // showed.
    template <class W> bool pendant(const std::function<void()> &commande,
                                    const std::function<void(W &)> &body)
    {
        bool fait = false;
        // The timers go with it: none fires once this returns.
        QObject contexte;
        std::function<void(int)> chercher = [&](int essais) {
            for (QWidget *t : QApplication::topLevelWidgets())
                if (auto *w = qobject_cast<W *>(t); w && w->isVisible() && !fait) {
                    fait = true;
                    body(*w);
                    w->close();
                    return;
                }
            if (essais > 0)
                QTimer::singleShot(20, &contexte, [&, essais] { chercher(essais - 1); });
        };
        QTimer::singleShot(0, &contexte, [&] { chercher(500); });
        commande();
        // A modeless window: already shown when the command returns.
        if (!fait)
            chercher(0);
        return fait;
    }

    std::unique_ptr<Fenetres> m_fenetres;
};

TEST_F(HelpPictures, MainWindowWithASeason)
{
    EXPECT_EQ(Vorn_FPr->P_Saison2->Caption(), kSaison);
    photographier(Vorn_FPr, QStringLiteral("saison_fenetre_principale.png"));
}

TEST_F(HelpPictures, PreviewOfTheCalendar)
{
    Vorn_FPr->Total1->trigger();
    vorn_test::settle();
    Vorn_FCalendar->BSelectionner->click();
    ASSERT_TRUE(Vorn_FCalendar->BtEdition->isEnabled());
    const bool montre = pendant<report::TfrPreviewForm>(
        [&] { Vorn_FCalendar->BtEdition->click(); },
        [&](report::TfrPreviewForm &p) {
            EXPECT_GE(p.PageCount(), 1);
            // The page's whole width, as the zoom menu's "Largeur de page" shows it.
            p.ZoomItemClick(1);
            photographier(&p, QStringLiteral("saison_apercu.png"));
        });
    EXPECT_TRUE(montre) << dialogs().texts().join(u'|').toStdString();
}

TEST_F(HelpPictures, PlayersImport)
{
    // The federation's extract of the same players, read in UTF-8.
    QFile modele(QStringLiteral(VORN_TEST_DATA "/players/extraction.csv"));
    ASSERT_TRUE(modele.open(QIODevice::ReadOnly));
    QByteArray extrait = modele.readLine();
    for (const Joueur &j : kJoueurs) {
        QStringList naissance = QString::fromUtf8(j.naissance).split(u'/');
        const QStringList champs = {
            QString::fromUtf8(j.licence), QString::fromUtf8(j.titre), QString::fromUtf8(j.nom),
            QString::fromUtf8(j.prenom),
            naissance.value(2) + u'-' + naissance.value(1) + u'-' + naissance.value(0),
            QString::fromUtf8(j.adresse), QString(), QString::fromUtf8(j.code),
            QString::fromUtf8(j.ville), QStringLiteral("FRANCE"), QString(), QString(),
            QString::fromUtf8(j.courriel), QStringLiteral("Licence"), QStringLiteral("Senior"),
            QStringLiteral("S"), QString::fromUtf8(j.club), QString::fromUtf8(j.iv)};
        extrait += (champs.join(u';') + QString(16, u';')).toUtf8() + "\r\n";
    }
    writeBytes(QStringLiteral("extraction.csv"), extrait);
    dialogs().files.push_back(path(QStringLiteral("extraction.csv")));
    dialogs().answers.push_back(platform::mrNo);
    ouvrir(Vorn_FPr->ExtractiondelabaseFFB1, Vorn_Fimp);
    EXPECT_EQ(Vorn_Fimp->Panel1->Caption(), QStringLiteral("IMPORTATION FAITE AVEC SUCCEE !"));
    photographier(Vorn_Fimp, QStringLiteral("joueurs_extraction.png"));
}

TEST_F(HelpPictures, PlayerRecordAndPlayersList)
{
    ouvrir(Vorn_FPr->Edition1, Vorn_FEdition);
    EXPECT_EQ(Vorn_FEdition->EdLicence->text(), QStringLiteral("01000158"));
    photographier(Vorn_FEdition, QStringLiteral("joueurs_consultation.png"));
    Vorn_FEdition->hide();

    ouvrir(Vorn_FPr->Edition2, Vorn_FEdition_Joueurs);
    EXPECT_EQ(Vorn_FEdition_Joueurs->Bt_Action->text(), QStringLiteral("Editer"));
    photographier(Vorn_FEdition_Joueurs, QStringLiteral("joueurs_edition.png"));
}

TEST_F(HelpPictures, DesignerOnTheEnvelope)
{
    ouvrir(Vorn_FPr->Edition1, Vorn_FEdition);
    const bool montre = pendant<designer::TfrDesignerForm>(
        [&] { Vorn_FEdition->Button2->click(); },
        [&](designer::TfrDesignerForm &f) {
            EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Enveloppes.frf"));
            photographier(&f, QStringLiteral("vruser_concepteur.png"));
        });
    EXPECT_TRUE(montre);
}

TEST_F(HelpPictures, PoolWithFourTeams)
{
    ouvrir(Vorn_FPr->Poule1, Vorn_Fmcf_Poule);
    TVorn_Fmcf_Poule *w = Vorn_Fmcf_Poule;
    // The day of the competition fills the header.
    w->DTP->setDate(QDate(2026, 12, 12));
    w->Spin_Equipe->setValue(4);
    // Four teams of three players; the first one named gives the team's name.
    const int equipes[4][3] = {{2, 0, 1}, {3, 4, 5}, {6, 7, 8}, {10, 9, 11}};
    for (int equipe = 0; equipe < 4; ++equipe) {
        w->RB[equipe + 1]->click();
        for (const int joueur : equipes[equipe]) {
            w->ENom->setText(QString::fromUtf8(kJoueurs[joueur].nom));
            ASSERT_EQ(w->EdLicence->text(), QString::fromUtf8(kJoueurs[joueur].licence));
            w->Button4->click();
        }
    }
    w->Ranger->click();
    EXPECT_EQ(w->poule().size(), 5);
    photographier(w, QStringLiteral("mcf_poules.png"));
}

TEST_F(HelpPictures, TournamentsList)
{
    ouvrir(Vorn_FPr->Gestion1, Vorn_FGestion);
    EXPECT_EQ(Vorn_FGestion->StrGrd->rowCount(), 5);
    photographier(Vorn_FGestion, QStringLiteral("challenge_gestion.png"));
}

TEST_F(HelpPictures, TeamsOfFourResults)
{
    TVorn_FResultat_Quatre *w = Vorn_FResultat_Quatre;
    ouvrir(Vorn_FPr->RsultatsQuatre1, w);
    auto cliquer = [](QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); };
    auto saisir = [&](QPushButton *b, QLineEdit *e, const QString &texte) {
        cliquer(b);
        e->setText(texte);
        cliquer(b);
    };
    saisir(w->BtAjouGroupe, w->EdAjoutGroupe, QStringLiteral("Poule A"));
    for (const char *equipe : {"Ludmarre", "Berry", "Le Blanc", "La Châtre"})
        saisir(w->BtAjoutCompos, w->Ed_Compo, QString::fromUtf8(equipe));
    w->CB_Adversaire->setCurrentIndex(1);
    saisir(w->BtCrerFMAtch, w->Ed_FMatch, QStringLiteral("Ludmarre - Berry"));
    const std::pair<QPushButton *, const char *> compositions[] = {
        {w->BtA1, "1000158+1000306+1000380+1001453"},
        {w->BtA2, "1000158+1000306+1000380+1001453"},
        {w->BtB1, "1001601+1002378+1002526+1003673"},
        {w->BtB2, "1001601+1002378+1002526+1003673"}};
    for (const auto &[bouton, licences] : compositions) {
        w->Donnee->setText(QString::fromLatin1(licences));
        cliquer(bouton);
    }
    w->Donnee->setText(QStringLiteral("40+24+30"));
    cliquer(w->BtAi);
    cliquer(w->BtCalculMacth);
    cliquer(w->BtEnregistreMatch);
    EXPECT_EQ(w->CB_Compos->count(), 4);
    photographier(w, QStringLiteral("challenge_resultats_quatre.png"));
}

TEST_F(HelpPictures, ChallengeRanking)
{
    ouvrir(Vorn_FPr->Classement1, Vorn_FChallenge);
    EXPECT_GT(Vorn_FChallenge->StringGrid1->rowCount(), 10);
    photographier(Vorn_FChallenge, QStringLiteral("challenge_classement.png"));
}

TEST_F(HelpPictures, EntriesPresentation)
{
    TVornF_Quatre_Webweb *w = VornF_Quatre_Webweb;
    ouvrir(Vorn_FPr->ParEquipes1, w);
    w->Saison1->setText(kSaison);
    w->Cb_Responsable->setCurrentText(QStringLiteral("Sylvie LECLERC"));
    w->Publication1->setText(QStringLiteral("Fait le 21/11/2026"));
    w->Epreuve1->setText(QStringLiteral("Coupe du Berry par quatre"));
    w->Prix1->setText(QStringLiteral("40 € par équipe"));
    w->Phase1->setText(QStringLiteral("Demi-finale"));
    w->Date1->setText(QStringLiteral("Samedi 12 décembre 2026"));
    w->CB_Lieu->setCurrentText(QStringLiteral("Bridge Club de Ludmarre"));
    w->Modalites1->setText(QStringLiteral("Patton suisse en 6 tours"));
    w->Horaires1->setText(QStringLiteral("14h00 - 18h00"));
    w->Horaires2->setText(QStringLiteral("20h30 - 23h00"));
    w->Cb_Arbitre->setCurrentText(QStringLiteral("Bernard DUMONT"));
    w->Pied1->setText(QStringLiteral("Comité du Berry"));
    w->PageControl1->setCurrentIndex(0);
    EXPECT_EQ(w->PageControl1->tabText(0), QStringLiteral("Présentation"));
    photographier(w, QStringLiteral("convocations_equipes.png"));
}

TEST_F(HelpPictures, Timetable)
{
    ouvrir(Vorn_FPr->Horaires1, Vorn_FVorn);
    EXPECT_EQ(Vorn_FVorn->RgType->ItemIndex(), 0);
    photographier(Vorn_FVorn, QStringLiteral("convocations_horaires.png"));
}

} // namespace help_pictures
