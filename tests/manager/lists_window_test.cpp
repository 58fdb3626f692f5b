// The reference lists' tabs of the convocations window: files created at
// start, grid and arrow, the seven buttons and the look-up of the choice.
#include "manager/panneau_liste.h"
#include "manager/quatre_webweb.h"
#include "tests/support/gui/program_folder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace
{

class ListsWindow : public vorn_test::ProgramFolderTest
{
protected:
    void TearDown() override
    {
        w.reset();
        ProgramFolderTest::TearDown();
    }
    void cree() { w = std::make_unique<TVornF_Quatre_Webweb>(); }
    QPushButton *bouton(const char *nom) { return vorn_test::control<QPushButton>(w.get(), nom); }
    QString cellule(QTableWidget *g, int r, int c)
    {
        QTableWidgetItem *it = g->item(r, c);
        return it ? it->text() : QString();
    }
    void ajouteLieu(const QString &nom, const QString &info)
    {
        w->EdL_Lieu->setText(nom);
        w->EdL_Informations->setText(info);
        bouton("BtL_Ajouter")->click();
    }

    std::unique_ptr<TVornF_Quatre_Webweb> w;
};

} // namespace

TEST_F(ListsWindow, MissingFilesAreCreatedAndShowOnlyTheHeader)
{
    cree();
    for (const char *f : {"Lieu.DBP", "Arbitre.DBP", "Responsable.DBP"}) {
        EXPECT_TRUE(exists(f)) << f;
        EXPECT_TRUE(readBytes(f).isEmpty()) << f;
    }
    EXPECT_EQ(w->StringGrid_L->rowCount(), 1);
    EXPECT_EQ(w->StringGrid_L->columnCount(), 3);
    EXPECT_EQ(w->StringGrid_L->columnWidth(0), 32);
    EXPECT_EQ(w->StringGrid_L->columnWidth(1), 267);
    EXPECT_EQ(w->StringGrid_L->columnWidth(2), 625);
    EXPECT_EQ(cellule(w->StringGrid_L, 0, 1), "Nom du Club");
    EXPECT_EQ(cellule(w->StringGrid_L, 0, 2), "Informations");
    EXPECT_EQ(cellule(w->StringGrid_A, 0, 1), QString::fromUtf8("Prénon NOM de l'arbitre"));
    EXPECT_EQ(cellule(w->StringGrid_R, 0, 1), QString::fromUtf8("Prénon NOM du responsable"));
    EXPECT_EQ(w->ListeLieux->liste().courant(), 0);
    for (const char *b :
         {"BtL_Debut", "BtL_Precedant", "BtL_Suivant", "BtL_Fin", "BtL_Supprimer", "BtL_Modifier"})
        EXPECT_FALSE(bouton(b)->isEnabled()) << b;
    EXPECT_TRUE(bouton("BtL_Ajouter")->isEnabled());
    EXPECT_EQ(bouton("BtA_Precedant")->text(), QString::fromUtf8("Précédant"));
    EXPECT_EQ(bouton("BtR_Fin")->text(), "Dernier");
}

TEST_F(ListsWindow, AddSortsKeepsTheArrowOnRowOne)
{
    cree();
    ajouteLieu("Beta", "2 rue B");
    ajouteLieu("Alpha", "1 rue A;tel");
    EXPECT_EQ(readBytes("Lieu.DBP"), QByteArray("Alpha;1 rue A,tel;\r\nBeta;2 rue B;\r\n"));
    EXPECT_EQ(w->StringGrid_L->rowCount(), 3);
    EXPECT_EQ(cellule(w->StringGrid_L, 1, 0), "->");
    EXPECT_EQ(cellule(w->StringGrid_L, 2, 0), "");
    EXPECT_EQ(cellule(w->StringGrid_L, 1, 1), "Alpha");
    EXPECT_EQ(cellule(w->StringGrid_L, 2, 2), "2 rue B");
    EXPECT_EQ(w->EdL_Lieu->text(), "Alpha");
    EXPECT_EQ(w->CB_Lieu->count(), 2);
    EXPECT_EQ(w->CB_Lieu->itemText(0), "Alpha");
    EXPECT_FALSE(bouton("BtL_Debut")->isEnabled());
    EXPECT_TRUE(bouton("BtL_Suivant")->isEnabled());

    bouton("BtL_Suivant")->click();
    EXPECT_EQ(cellule(w->StringGrid_L, 2, 0), "->");
    EXPECT_EQ(w->EdL_Informations->text(), "2 rue B");
    EXPECT_FALSE(bouton("BtL_Fin")->isEnabled());
    EXPECT_TRUE(bouton("BtL_Precedant")->isEnabled());
    bouton("BtL_Debut")->click();
    EXPECT_EQ(w->ListeLieux->liste().courant(), 1);
    bouton("BtL_Fin")->click();
    EXPECT_EQ(w->ListeLieux->liste().courant(), 2);
    bouton("BtL_Precedant")->click();
    EXPECT_EQ(w->ListeLieux->liste().courant(), 1);
}

TEST_F(ListsWindow, ModifyKeepsTheOrderDeleteGoesToTheLastRow)
{
    writeLines("Arbitre.DBP", {"Jean DUPONT;06 01;", "Marie MARTIN;06 02;", "Paul PETIT;06 03;"});
    cree();
    EXPECT_EQ(w->ListeArbitres->liste().courant(), 1);
    EXPECT_EQ(w->EdA_Arbitre->text(), "Jean DUPONT");
    w->EdA_Arbitre->setText("Zoe ZOLA");
    bouton("BtA_Modifier")->click();
    EXPECT_EQ(readBytes("Arbitre.DBP"),
              QByteArray("Zoe ZOLA;06 01;\r\nMarie MARTIN;06 02;\r\nPaul PETIT;06 03;\r\n"));
    EXPECT_EQ(w->Cb_Arbitre->itemText(0), "Zoe ZOLA");

    bouton("BtA_Suivant")->click();
    bouton("BtA_Supprimer")->click();
    EXPECT_EQ(readBytes("Arbitre.DBP"), QByteArray("Zoe ZOLA;06 01;\r\nPaul PETIT;06 03;\r\n"));
    EXPECT_EQ(cellule(w->StringGrid_A, 2, 0), "->");
    EXPECT_EQ(w->EdA_Arbitre->text(), "Paul PETIT");

    // The next addition sorts the whole list.
    w->EdA_Arbitre->setText("Anne ALBERT");
    bouton("BtA_Ajouter")->click();
    EXPECT_EQ(readBytes("Arbitre.DBP"),
              QByteArray("Anne ALBERT;06 03;\r\nPaul PETIT;06 03;\r\nZoe ZOLA;06 01;\r\n"));

    bouton("BtA_Supprimer")->click();
    bouton("BtA_Supprimer")->click();
    bouton("BtA_Supprimer")->click();
    EXPECT_EQ(w->StringGrid_A->rowCount(), 1);
    EXPECT_FALSE(bouton("BtA_Supprimer")->isEnabled());
    EXPECT_TRUE(readBytes("Arbitre.DBP").isEmpty());
}

TEST_F(ListsWindow, LookUpOfTheChosenEntries)
{
    writeLines("Lieu.DBP", {"Club A;x;", "Club AB;y;"});
    writeLines("Responsable.DBP", {"Seul"});
    cree();
    w->CB_Lieu->setCurrentText("Club A");
    EXPECT_EQ(w->InformationLieu(), "x");
    w->CB_Lieu->setCurrentText("Club");
    EXPECT_EQ(w->InformationLieu(), "y");
    w->CB_Lieu->setCurrentText("");
    EXPECT_EQ(w->InformationLieu(), "");
    w->Cb_Responsable->setCurrentText("Seul");
    EXPECT_EQ(w->InformationResponsable(), "");
    EXPECT_EQ(cellule(w->StringGrid_R, 1, 1), "Seul");
    EXPECT_EQ(cellule(w->StringGrid_R, 1, 2), "");
    EXPECT_EQ(w->InformationArbitre(), "");
}

TEST_F(ListsWindow, ListsAreReadAgainAtActivationOnlyWhenTheirFileChanged)
{
    writeLines("Lieu.DBP", {"Alpha;1;"});
    cree();
    w->show();
    w->activated();
    // Coming back from another window of the program.
    const auto revenir = [this] {
        platform::TForm::resetActivation();
        w->activated();
    };
    // The same file: what was typed stays.
    w->EdL_Lieu->setText("Tapé");
    revenir();
    EXPECT_EQ(w->EdL_Lieu->text(), "Tapé");
    w->EdL_Lieu->setText("Alpha");
    QFile::remove(path("Lieu.DBP"));
    writeLines("Lieu.DBP", {"Alpha;1;", "Beta;2;"});
    revenir();
    EXPECT_EQ(w->StringGrid_L->rowCount(), 3);
    EXPECT_EQ(w->CB_Lieu->count(), 2);
}
