// The pools window: loading and keeping "Poule.txt", composing and ranking
// teams, the header, the entries file and the mail to the players.
#include "manager/core/poule.h"
#include "manager/mcf_poule.h"
#include "platform/forms/controls.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"
#include "tests/support/gui/program_folder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using platform::Champ;

namespace
{

QString joueur(const QString &licence, const QString &nom, const QString &prenom, const QString &iv,
               const QString &courriel = QString())
{
    QStringList f(19);
    f[0] = licence;
    f[1] = "M.";
    f[2] = nom;
    f[3] = prenom;
    f[4] = iv;
    f[14] = courriel;
    return f.join(';') + ';';
}

QString equipe(const QString &nom, int valeur)
{
    return nom + ";M.;" + nom + ";P;" + QString::number(valeur) + ";" + QString(35, ';') +
           QString::number(valeur) + ";";
}

class PoolsWindow : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SaisonEnCours = "2015";
        writeLines("2015/Joueur.DBP",
                   {joueur("1001", "ARNAUD", "Anne", "60", "anne@x.fr"),
                    joueur("1002", "BRUN", "Bob", "45"),
                    joueur("999", "CARON", "Cyril", "80", "cyril@x.fr"),
                    joueur("12000", QString::fromUtf8("ÉMERY"), "Eve", "30", "eve@x.fr")});
        w = std::make_unique<TVorn_Fmcf_Poule>();
    }
    void TearDown() override
    {
        w.reset();
        ProgramFolderTest::TearDown();
    }

    void active()
    {
        w->show();
        w->activated();
    }
    // Hiding deactivates the window.
    void desactive() { w->hide(); }
    void choisit(int slot) { w->RB[slot]->click(); }
    void ajoute(const QString &licence, const QString &iv)
    {
        w->EdLicence->setText(licence);
        w->EdTitre->setText("M.");
        w->EdNom->setText("N" + licence);
        w->EdPrenom->setText("P");
        w->EdIv->setText(iv);
        w->Button4->click();
    }

    std::unique_ptr<TVorn_Fmcf_Poule> w;
};

} // namespace

TEST_F(PoolsWindow, MissingPoolStartsWithTheDefaultHeader)
{
    writeLines("Vorn_Lud.ini",
               {"[Param]", "Saison=2015", "ClubNumero=4700123",
                QString::fromUtf8("ClubNom=Bridge Club Ludmarré"), "Epreuve=Ludmarre"});
    active();
    ASSERT_EQ(w->poule().size(), 1);
    const QString entete =
        QString::fromUtf8("20140901;Ludmarre;Quadrette;4700123 Bridge Club Ludmarré;01;"
                          "septenbre;2014;1;12;2;01/09/2014;");
    EXPECT_EQ(w->poule()[0], entete);
    EXPECT_EQ(w->EdNumero->text(), "20140901");
    EXPECT_EQ(w->EdEntite->text(), QString::fromUtf8("4700123 Bridge Club Ludmarré"));
    EXPECT_EQ(w->EdNbMiTemps->text(), "2");
    EXPECT_EQ(w->DTP->date(), QDate(2014, 9, 1));
    EXPECT_EQ(w->Spin_Equipe->value(), 0);
    EXPECT_TRUE(w->RB[1]->isHidden());
    // The players file is in family-name order: the first player shows.
    EXPECT_EQ(w->EdLicence->text(), "1001");
    EXPECT_EQ(w->EdNom->text(), "ARNAUD");
    desactive();
    EXPECT_EQ(readBytes("2015/Poule.txt"), platform::toAnsi(entete) + "\r\n");
    EXPECT_EQ(w->poule(), QStringList{entete});
}

TEST_F(PoolsWindow, TeamsFollowTheCountStepByStepOrTyped)
{
    active();
    for (int n = 1; n <= 5; ++n)
        w->Spin_Equipe->setValue(n);
    ASSERT_EQ(w->poule().size(), 6);
    EXPECT_EQ(w->poule()[5], LigneEquipeVide());
    EXPECT_FALSE(w->RB[5]->isHidden());
    w->Spin_Equipe->setValue(4);
    w->Spin_Equipe->setValue(3);
    EXPECT_EQ(w->poule().size(), 4);
    EXPECT_TRUE(w->CB[4]->isHidden());

    // A count typed far away: the list still holds exactly that many teams.
    w->Spin_Equipe->setValue(5);
    w->Spin_Equipe->setValue(1);
    EXPECT_EQ(w->poule().size(), 2);
    w->Spin_Equipe->setValue(4);
    EXPECT_EQ(w->poule().size(), 5);
    choisit(4);
    ajoute("7", "50");
    EXPECT_EQ(Champ(w->poule()[4], 0), "7");
    EXPECT_EQ(w->E[4]->text(), "1");
    // A hidden slot loses its choice, its players once the user agrees.
    dialogs().answers = {platform::mrYes};
    w->Spin_Equipe->setValue(3);
    EXPECT_FALSE(w->RB[4]->isChecked());
    EXPECT_FALSE(w->Button4->isEnabled());
}

TEST_F(PoolsWindow, ComposingATeam)
{
    active();
    w->Spin_Equipe->setValue(1);
    EXPECT_FALSE(w->Button4->isEnabled());
    choisit(1);
    EXPECT_TRUE(w->Button4->isEnabled());
    EXPECT_TRUE(w->Suppression->isEnabled());
    const char *ivs[] = {"80", "60", "60", "40", "40", "20"};
    for (int i = 0; i < 6; ++i)
        ajoute(QString::number(i + 1), ivs[i]);
    EXPECT_EQ(Champ(w->poule()[1], 40), "240");
    EXPECT_EQ(w->E[1]->text(), "6");
    EXPECT_EQ(w->CB[1]->count(), 6);
    EXPECT_EQ(w->CB[1]->currentText(), "M. N1 P");
    ajoute("7", "");
    ajoute("8", "10");
    const QString plein = w->poule()[1];
    ajoute("9", "99");
    EXPECT_EQ(w->poule()[1], plein);
    EXPECT_EQ(w->E[1]->text(), "8");

    // A value index that is not a number changes nothing.
    w->SuppressionClick();
    EXPECT_EQ(w->poule()[1], LigneEquipeVide());
    EXPECT_EQ(w->E[1]->text(), "0");
    w->EdIv->setText("abc");
    EXPECT_THROW(w->Button4Click(), platform::EConvertError);
    EXPECT_EQ(w->poule()[1], LigneEquipeVide());
    // Through the button the default error message reports it.
    w->Button4->click();
    ASSERT_FALSE(dialogs().messages.empty());
    EXPECT_TRUE(dialogs().messages.back().text.contains(
        QString::fromUtf8("n'est pas une valeur entière correcte")));

    // ";" typed into a player's name keeps the line's fields in place.
    w->EdIv->setText("50");
    w->EdNom->setText("DU;PONT");
    w->Button4->click();
    EXPECT_EQ(Champ(w->poule()[1], 2), "DU,PONT");
    EXPECT_EQ(Champ(w->poule()[1], 40), "50");
}

TEST_F(PoolsWindow, RankingByValue)
{
    writeLines("2015/Poule.txt", {"r;e;c;en;d;p;g;1;12;2;01/02/2020;", equipe("A", 100),
                                  equipe("B", 200), equipe("C", 100), equipe("D", 200)});
    active();
    EXPECT_EQ(w->Spin_Equipe->value(), 4);
    w->Ranger->click();
    QStringList ordre;
    for (int t = 1; t <= 4; ++t)
        ordre << Champ(w->poule()[t], 0);
    EXPECT_EQ(ordre, QStringList({"B", "D", "A", "C"}));
    EXPECT_EQ(w->CB[1]->currentText(), "M. B P");
}

TEST_F(PoolsWindow, CountsBeyondTheSlotsAndEmptyPools)
{
    QStringList lignes = {"r;e;c;en;d;p;g;1;12;2;01/02/2020;"};
    for (int t = 1; t <= 30; ++t)
        lignes << equipe(QString("T%1").arg(t), t);
    writeLines("2015/Poule.txt", lignes);
    active();
    EXPECT_EQ(w->Spin_Equipe->value(), 28);
    EXPECT_EQ(w->poule().size(), 31);
    desactive();
    EXPECT_EQ(platform::LineFile::read(path("2015/Poule.txt")).size(), 31);

    // A pool without teams brings the count down to 0.
    writeLines("2015/Poule.txt", {"r;e;c;en;d;p;g;1;12;2;01/02/2020;"});
    active();
    EXPECT_EQ(w->Spin_Equipe->value(), 0);
    EXPECT_TRUE(w->RB[1]->isHidden());
    EXPECT_EQ(w->poule().size(), 1);
}

TEST_F(PoolsWindow, DateFillsTheHeader)
{
    active();
    w->DTP->setDate(QDate(2015, 3, 5));
    EXPECT_EQ(w->EdNumero->text(), "20150305");
    EXPECT_EQ(w->EdDistrict->text(), "05");
    EXPECT_EQ(w->EdPhase->text(), "mars");
    EXPECT_EQ(w->EdGroupe->text(), "2015");
    EXPECT_EQ(w->poule()[0], "20150305;;Quadrette; ;05;mars;2015;1;12;2;05/03/2015;");
    w->EdLieu->setText("Salle;A\nB");
    EXPECT_EQ(Champ(w->poule()[0], 1), "Salle,A B");
    EXPECT_EQ(Champ(w->poule()[0], 10), "05/03/2015");
}

TEST_F(PoolsWindow, EntriesFileMatchesTheGoldenFile)
{
    writeLines("Vorn_Lud.ini", {"[Param]", "ClubNumero=4700123",
                                QString::fromUtf8("ClubNom=Bridge Club Ludmarré")});
    QString t1 = LigneEquipeVide();
    AjouteJoueur(t1, {"1001", "M.", "MARTIN", "Paul", "62"});
    AjouteJoueur(t1, {"1002", "Mme", "DURAND", QString::fromUtf8("Hélène"), "55"});
    writeLines("2015/Poule.txt",
               {"20150305;Ludmarre;Quadrette;4700123 Bridge;05;mars;2015;1;12;2;05/03/2015;", t1,
                LigneEquipeVide()});
    active();
    dialogs().files.push_back(path("sortie.txt"));
    w->Button1->click();
    ASSERT_EQ(dialogs().saveRequests.size(), 1u);
    EXPECT_EQ(dialogs().saveRequests[0].fileName, "20150305.txt");
    QFile golden(QStringLiteral(VORN_TEST_DATA) + "/calc/inscrits_2_equipes.txt");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(readBytes("sortie.txt"), golden.readAll());

    // Cancelled: nothing written.
    w->Button1->click();
    EXPECT_EQ(dialogs().saveRequests.size(), 2u);
    EXPECT_FALSE(exists("20150305.txt"));

    // Over an existing file: asked first; "Non" goes back to the dialog and
    // keeps the file.
    writeBytes("sortie.txt", "ancien\r\n");
    dialogs().files.push_back(path("sortie.txt"));
    dialogs().answers.push_back(platform::mrNo);
    w->Button1->click();
    EXPECT_EQ(dialogs().texts(),
              QStringList{
                  QString::fromUtf8("Le fichier sortie.txt existe déjà\nVoulez-vous l'écraser ?")});
    EXPECT_EQ(dialogs().saveRequests.size(), 4u);
    EXPECT_EQ(readBytes("sortie.txt"), "ancien\r\n");

    // A hundred rounds are refused before the dialog.
    w->EdNbTour->setText("100");
    w->Button1->click();
    EXPECT_EQ(dialogs().saveRequests.size(), 4u);
    EXPECT_EQ(dialogs().messages.back().text, "Nombre de tours invalide");
    EXPECT_EQ(dialogs().messages.back().type, platform::mtError);
}

// With no pool file, the entries file carries the header the window shows
// (the stored default, spelling included), under the name typed with the
// ".txt" the dialog offers; the question before replacing is about that file.
TEST_F(PoolsWindow, EntriesFileOfTheDefaultHeaderUnderTheTypedName)
{
    active();
    QStringList montre;
    for (QLineEdit *e :
         {w->EdNumero, w->EdLieu, w->EdType, w->EdEntite, w->EdDistrict, w->EdPhase, w->EdGroupe})
        montre << e->text();
    EXPECT_EQ(w->EdPhase->text(), "septenbre");
    const struct {
        const char *tape;
        const char *ecrit;
        int questions;
    } cas[] = {{"inscrits", "inscrits.txt", 0},
               {"inscrits", "inscrits.txt", 1},
               {"autre.txt", "autre.txt", 0}};
    for (const auto &c : cas) {
        dialogs().messages.clear();
        dialogs().files.push_back(path(c.tape));
        dialogs().answers.push_back(platform::mrYes);
        w->Button1->click();
        dialogs().answers.clear();
        EXPECT_EQ(int(dialogs().messages.size()), c.questions) << c.tape;
        EXPECT_FALSE(exists(c.tape) && QString(c.tape) != c.ecrit) << c.tape;
        const QStringList lignes = platform::LineFile::read(path(c.ecrit));
        ASSERT_GE(lignes.size(), 2) << c.ecrit;
        EXPECT_EQ(lignes[1],
                  "PAS;" + montre[0] + ";" + montre[0] + ";;" + montre.mid(1).join(';') + ";O101;8")
            << c.ecrit;
    }
    ASSERT_EQ(dialogs().saveRequests.size(), 3u);
    EXPECT_EQ(dialogs().saveRequests[0].defaultExt, "txt");
    EXPECT_EQ(dialogs().saveRequests[0].filter, "Fichier texte (*.txt)|*.txt");
}

TEST_F(PoolsWindow, MailToThePlayersOfTheTeams)
{
    active();
    w->Spin_Equipe->setValue(2);
    choisit(1);
    w->Button4->click(); // ARNAUD, the current player
    w->BtCourriel->click();
    ASSERT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(shell().calls[0].verb, "Open");
    EXPECT_EQ(shell().calls[0].file, "mailto:anne@x.fr");
    EXPECT_EQ(shell().calls[0].showCommand, 5);
    EXPECT_EQ(dialogs().texts(), QStringList({"Choisir son compte Courriel"}));

    choisit(2);
    w->DernierClick(); // ÉMERY
    w->Button4->click();
    w->PrecedentClick(); // CARON
    w->Button4->click();
    w->PrecedentClick(); // BRUN, no address
    w->Button4->click();
    shell().results.push_back(2);
    w->BtCourriel->click();
    ASSERT_EQ(shell().calls.size(), 2u);
    EXPECT_EQ(shell().calls[1].file, "mailto:anne@x.fr;eve@x.fr;cyril@x.fr");
    EXPECT_EQ(dialogs().messages.back().text, platform::kMailMissing);
    EXPECT_EQ(dialogs().messages.back().buttons, platform::mbYes);
}

TEST_F(PoolsWindow, NoAddressNoMail)
{
    active();
    w->Spin_Equipe->setValue(1);
    choisit(1);
    w->SuivantClick(); // BRUN
    w->Button4->click();
    w->BtCourriel->click();
    EXPECT_TRUE(shell().calls.empty());
    EXPECT_EQ(dialogs().texts(), QStringList({"Pas d'adresse de courriel valide"}));
}

TEST_F(PoolsWindow, PlayersSearch)
{
    active();
    w->ENom->setText("ca");
    EXPECT_EQ(w->EdNom->text(), "CARON");
    w->ENom->setText(QString::fromUtf8("ém"));
    EXPECT_EQ(w->EdNom->text(), QString::fromUtf8("ÉMERY"));
    w->PremierClick();
    EXPECT_EQ(w->EdNom->text(), "ARNAUD");
    w->PrecedentClick();
    EXPECT_EQ(w->EdNom->text(), "ARNAUD");

    w->RadioGroup1->setItemIndex(0);
    EXPECT_FALSE(w->ELicence->isHidden());
    EXPECT_TRUE(w->ENom->isHidden());
    EXPECT_EQ(w->EdNom->text(), "ARNAUD"); // the current player kept
    w->ELicence->setText("1001");
    EXPECT_EQ(w->EdLicence->text(), "1001");
    w->ELicence->setText("1000");
    EXPECT_EQ(w->EdLicence->text(), "999");
    w->ELicence->setText("99999");
    EXPECT_EQ(w->EdLicence->text(), "12000");
    // A licence that is not a number: the conversion error, the player stays.
    w->ELicence->setText("12a");
    ASSERT_FALSE(dialogs().messages.empty());
    EXPECT_TRUE(dialogs().messages.back().text.startsWith("'12a' n'est pas une valeur"));
    EXPECT_EQ(w->EdLicence->text(), "12000");
    EXPECT_THROW(w->ELicenceChange(), platform::EConvertError);
}

TEST_F(PoolsWindow, FailedActivationLeavesThePoolAlone)
{
    const QByteArray pool =
        "r;e;c;en;d;p;g;1;12;2;01/02/2020;\r\n" + platform::toAnsi(equipe("A", 100)) + "\r\n";
    writeBytes("2016/Poule.txt", pool);
    SaisonEnCours = "2016"; // a season without its players file
    active();
    EXPECT_FALSE(dialogs().messages.empty());
    desactive();
    EXPECT_EQ(readBytes("2016/Poule.txt"), pool);
}

TEST_F(PoolsWindow, PoolGoesBackWhereItWasLoaded)
{
    writeLines("2015/Poule.txt", {"r;e;c;en;d;p;g;1;12;2;01/02/2020;"});
    active();
    w->Spin_Equipe->setValue(1);
    SaisonEnCours.clear(); // the season was closed meanwhile
    desactive();
    EXPECT_EQ(platform::LineFile::read(path("2015/Poule.txt")).size(), 2);
    EXPECT_FALSE(exists("Poule.txt"));
    EXPECT_FALSE(exists("/Poule.txt"));
}
