// The import window: file choice, wrong files, success, failures, the
// 3-second hide, and an import that keeps going when the window loses its
// activation while it processes window messages.
#include "manager/vorn_imp.h"

#include "platform/forms/controls.h"
#include "tests/support/gui/program_folder.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

using namespace platform;

namespace
{

const QString Saison = QStringLiteral("2026-2027");
const QString ErreurCaption = QStringLiteral("UNE ERREUR DANS L'EXPORTATION !");

QByteArray donnee(const char *nom)
{
    QFile f(QStringLiteral(VORN_TEST_DATA "/players/") + QString::fromLatin1(nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class PlayersImportWindow : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SaisonEnCours = Saison;
        clock().current = EncodeDate(2026, 12, 7) + 0.4;
        writeBytes(Saison + QStringLiteral("/Joueur.DBP"), donnee("joueur_existing.dbp"));
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + Saison,
                    QStringLiteral("DomaineFederation=ffbridge.fr")});
        fenetre = std::make_unique<TVorn_Fimp>();
    }
    void TearDown() override
    {
        fenetre.reset();
        ProgramFolderTest::TearDown();
    }

    // Shows the window as the main menu does; the import runs on activation.
    void lancer(const QByteArray &extrait, std::optional<int> reponse = mrNo)
    {
        writeBytes(QStringLiteral("extrait.csv"), extrait);
        dialogs().files.push_back(path(QStringLiteral("extrait.csv")));
        if (reponse)
            dialogs().answers.push_back(*reponse);
        fenetre->Show();
        fenetre->activated();
        vorn_test::settle();
    }

    QByteArray joueurs() const { return readBytes(Saison + QStringLiteral("/Joueur.DBP")); }
    QString etiquette() const { return fenetre->LabelErreur->text(); }
    bool panneauVisible() const { return fenetre->Panel1->isVisibleTo(fenetre.get()); }

    std::unique_ptr<TVorn_Fimp> fenetre;
};

} // namespace

TEST_F(PlayersImportWindow, CancelledChoice)
{
    dialogs().files.push_back(std::nullopt);
    fenetre->Show();
    fenetre->activated();
    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    EXPECT_EQ(dialogs().openRequests[0].filter,
              QStringLiteral("Fichiers Extraction de la base FFB (*.csv)|*.csv"));
    EXPECT_EQ(dialogs().openRequests[0].initialDir, repAppli());
    EXPECT_EQ(etiquette(), QStringLiteral(" Vous n'avez pas choisi de fichier "));
    EXPECT_TRUE(panneauVisible());
    EXPECT_EQ(fenetre->Panel1->Caption(), ErreurCaption);
    EXPECT_EQ(joueurs(), donnee("joueur_existing.dbp"));
    // Three seconds later the window hides itself.
    EXPECT_TRUE(fenetre->Timer1->isActive());
    EXPECT_EQ(fenetre->Timer1->interval(), 3000);
    fenetre->Timer1Timer();
    EXPECT_FALSE(fenetre->isVisible());
    EXPECT_FALSE(fenetre->Timer1->isActive());
}

TEST_F(PlayersImportWindow, WrongFileAndEmptyExtract)
{
    lancer("Nom;Prenom\r\nDupont;Jean\r\n", std::nullopt);
    EXPECT_EQ(etiquette(), QStringLiteral("Vous avez importé le mauvais type de fichier"));
    EXPECT_EQ(fenetre->Panel1->Caption(), ErreurCaption);
    EXPECT_TRUE(panneauVisible());
    EXPECT_TRUE(dialogs().messages.empty());
    fenetre->Timer1Timer();

    // Shown again from the menu: another attempt, the header alone.
    const QByteArray extrait = donnee("extraction.csv");
    lancer(extrait.left(extrait.indexOf("\r\n") + 2), std::nullopt);
    EXPECT_EQ(dialogs().openRequests.size(), 2u);
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("Vous n'avez aucun enregistrement: Afficher les données "
                                         "avant de les rapatrier dans un fichier")});
    EXPECT_EQ(etiquette(), QString());
    EXPECT_EQ(fenetre->Panel1->Caption(), ErreurCaption);
    EXPECT_TRUE(panneauVisible());
    EXPECT_EQ(joueurs(), donnee("joueur_existing.dbp"));
}

TEST_F(PlayersImportWindow, SuccessfulMerge)
{
    const QString captionAvant = fenetre->Caption();
    EXPECT_EQ(captionAvant, QStringLiteral("Importation des données de la base FFB"));
    lancer(donnee("extraction.csv"), mrNo);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text,
              QStringLiteral("Remettre à zéro le fichier des membres \ravant de le compléter"));
    EXPECT_EQ(dialogs().messages[0].type, mtWarning);
    EXPECT_EQ(dialogs().messages[0].buttons, MsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(joueurs(), donnee("joueur_merged.golden"));
    EXPECT_EQ(fenetre->Panel1->Caption(), QStringLiteral("IMPORTATION FAITE AVEC SUCCEE !"));
    EXPECT_TRUE(panneauVisible());
    EXPECT_EQ(etiquette(), QString());
    EXPECT_EQ(fenetre->Caption(), QStringLiteral("Intégration des données"));
    EXPECT_EQ(fenetre->ProgressBar1->maximum(), 8);
    EXPECT_EQ(fenetre->ProgressBar1->value(), 8);
    EXPECT_TRUE(fenetre->Timer1->isActive());
    // Re-activated while still shown: no second attempt.
    fenetre->activated();
    TForm autre(QStringLiteral("Autre"));
    autre.activated();
    fenetre->activated();
    EXPECT_EQ(dialogs().openRequests.size(), 1u);
}

TEST_F(PlayersImportWindow, RebuiltFromTheExtractAlone)
{
    lancer(donnee("extraction.csv"), mrYes);
    EXPECT_EQ(joueurs(), donnee("joueur_rebuilt.golden"));
}

TEST_F(PlayersImportWindow, FailuresShowTheirMessageAndWriteNothing)
{
    QByteArray extrait = donnee("extraction.csv");
    extrait.replace("\r\n456;", "\r\n12a45;");
    lancer(extrait, std::nullopt);
    const QString texte =
        QStringLiteral("'12a45' n'est pas une valeur entière correcte (fichier %1, ligne 3)")
            .arg(path(QStringLiteral("extrait.csv")));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text.toStdString(), texte.toStdString());
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_EQ(etiquette(), texte);
    EXPECT_EQ(fenetre->Panel1->Caption(), ErreurCaption);
    EXPECT_TRUE(panneauVisible());
    EXPECT_TRUE(fenetre->Timer1->isActive());
    EXPECT_EQ(joueurs(), donnee("joueur_existing.dbp"));
    EXPECT_EQ(QDir(path(Saison)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Joueur.DBP")});
}

TEST_F(PlayersImportWindow, MissingPlayersFileStopsBeforeTheDialog)
{
    QFile::remove(path(Saison + QStringLiteral("/Joueur.DBP")));
    fenetre->Show();
    fenetre->activated();
    EXPECT_TRUE(dialogs().openRequests.empty());
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_FALSE(dialogs().messages[0].text.isEmpty());
    EXPECT_EQ(etiquette(), dialogs().messages[0].text);
    EXPECT_TRUE(panneauVisible());
    EXPECT_FALSE(exists(Saison + QStringLiteral("/Joueur.DBP")));
}

TEST_F(PlayersImportWindow, DeactivationDuringTheImport)
{
    // Another window takes the activation while the import processes window
    // messages: the import goes on and writes its result.
    TForm autre(QStringLiteral("Autre"));
    bool avant = false, apres = false, autreActive = false;
    QTimer::singleShot(0, &autre, [&] {
        avant = fenetre->importEnCours();
        autre.activated();
        autreActive = TForm::activeForm() == &autre;
        apres = fenetre->importEnCours();
    });
    lancer(donnee("extraction.csv"), mrNo);
    EXPECT_TRUE(avant);
    EXPECT_TRUE(autreActive);
    EXPECT_TRUE(apres);
    EXPECT_EQ(joueurs(), donnee("joueur_merged.golden"));
    EXPECT_EQ(fenetre->Panel1->Caption(), QStringLiteral("IMPORTATION FAITE AVEC SUCCEE !"));
    EXPECT_FALSE(fenetre->importEnCours());
}
