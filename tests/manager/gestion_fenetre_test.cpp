// The tournaments window as the user drives it: grid, edits, navigation,
// the writing commands and the link to a result file.
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/gestion.h"
#include "manager/vorn_pr.h"
#include "platform/text/linefile.h"
#include "tests/manager/window_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest/QTest>
#include <cerrno>

using namespace platform;

namespace
{

const QString kSaison = QStringLiteral("2026-2027");

class GestionFenetre : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=") + kSaison});
        writeLines(kSaison + QStringLiteral("/Joueur.DBP"), {});
        demarrer(true);
        w = Vorn_FGestion;
    }
    void ouvrir()
    {
        if (TForm::activeForm() == w)
            Vorn_FPr->activated();
        w->Show();
        vorn_test::settle();
        if (TForm::activeForm() != w)
            w->activated();
    }
    static void cliquer(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    QString cellule(int r, int c) const
    {
        const QTableWidgetItem *i = w->StrGrd->item(r, c);
        return i ? i->text() : QString();
    }
    QByteArray fichier() const { return readBytes(kSaison + QStringLiteral("/Challenge.DBP")); }
    TVorn_FGestion *w = nullptr;
};

TEST_F(GestionFenetre, AddDeleteAddInExactBytes)
{
    writeBytes(kSaison + QStringLiteral("/Challenge.DBP"), QByteArray());
    ouvrir();
    EXPECT_EQ(w->StrGrd->rowCount(), 1);
    EXPECT_EQ(w->StrGrd->columnCount(), 8);
    EXPECT_EQ(cellule(0, 7), QStringLiteral("Fichier résultat du challenge"));
    EXPECT_EQ(cellule(0, 6), QStringLiteral("Coéf."));
    EXPECT_FALSE(w->Bt_Supprimer->isEnabled());
    EXPECT_FALSE(w->Bt_Modifier->isEnabled());
    EXPECT_EQ(w->EdType->text(), QStringLiteral("P"));
    EXPECT_EQ(w->SpinEdit1->value(), 1);
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("100"));

    QTest::keyClicks(w->MaskEdit1, QStringLiteral("05102026"));
    w->Edit1->setText(QStringLiteral("Open de Sète"));
    cliquer(w->Bt_Ajouter);
    w->Edit1->setText(QStringLiteral("Deuxième"));
    cliquer(w->Button1);
    EXPECT_EQ(w->EdType->text(), QStringLiteral("Q"));
    w->SpinEdit1->setValue(16);
    cliquer(w->Bt_Ajouter);
    w->Edit1->setText(QStringLiteral("Troisième"));
    cliquer(w->Button1);
    EXPECT_EQ(w->EdType->text(), QStringLiteral("P"));
    cliquer(w->Bt_Ajouter);
    EXPECT_EQ(cellule(3, 0), QStringLiteral(">"));
    cliquer(w->Bt_Precedant);
    EXPECT_EQ(cellule(2, 0), QStringLiteral(">"));
    EXPECT_EQ(cellule(3, 0), QString());
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("Deuxième"));
    cliquer(w->Bt_Supprimer);
    EXPECT_EQ(w->Edit3->text(), QStringLiteral("3"));
    cliquer(w->Bt_Ajouter);
    EXPECT_EQ(fichier(), QByteArray("1;05/10/2026;Open de S\xe8te;P;1;100;;\r\n"
                                    "3;05/10/2026;Troisi\xe8me;P;16;100;;\r\n"
                                    "3;05/10/2026;Troisi\xe8me;P;16;100;;\r\n"));
    EXPECT_EQ(w->StrGrd->rowCount(), 4);
    EXPECT_EQ(cellule(2, 1), QStringLiteral("3"));
    EXPECT_EQ(cellule(2, 5), QStringLiteral("16"));
}

TEST_F(GestionFenetre, NavigationEnablesTheButtons)
{
    writeLines(kSaison + QStringLiteral("/Challenge.DBP"),
               {"1;01/10/2026;Un;P;1;100;;", "2;02/10/2026;Deux;Q;2;50;Q.chr;",
                "3;03/10/2026;Trois;P;3;100;;"});
    ouvrir();
    EXPECT_EQ(cellule(1, 0), QStringLiteral(">"));
    EXPECT_FALSE(w->Bt_Debut->isEnabled());
    EXPECT_FALSE(w->Bt_Precedant->isEnabled());
    EXPECT_TRUE(w->Bt_Suivant->isEnabled());
    cliquer(w->Bt_Fin);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("Trois"));
    EXPECT_FALSE(w->Bt_Suivant->isEnabled());
    EXPECT_FALSE(w->Bt_Fin->isEnabled());
    EXPECT_TRUE(w->Bt_Debut->isEnabled());
    cliquer(w->Bt_Precedant);
    EXPECT_EQ(w->Edit3->text(), QStringLiteral("2"));
    EXPECT_EQ(w->MaskEdit1->text(), QStringLiteral("02/10/2026"));
    EXPECT_EQ(w->EdType->text(), QStringLiteral("Q"));
    EXPECT_EQ(w->SpinEdit1->value(), 2);
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("50"));
    cliquer(w->Bt_Debut);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("Un"));
}

TEST_F(GestionFenetre, ModifyAndLinkRewriteTheLine)
{
    writeLines(kSaison + QStringLiteral("/Challenge.DBP"),
               {"1;01/10/2026;Un;P;1;100;Un.chr;", "2;02/10/2026;Deux;Q;2;50;Q.chr;"});
    ouvrir();
    cliquer(w->Bt_Suivant);
    w->Edit1->setText(QStringLiteral("Deux; bis"));
    cliquer(w->Bt_Modifier);
    EXPECT_EQ(fichier(), QByteArray("1;01/10/2026;Un;P;1;100;Un.chr;\r\n"
                                    "2;02/10/2026;Deux, bis;Q;2;50;;\r\n"));
    dialogs().files = {path(kSaison + QStringLiteral("/Quatre1.chr"))};
    cliquer(w->BtResultat);
    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    const FileRequest &r = dialogs().openRequests[0];
    EXPECT_EQ(std::tuple(r.title, r.filter, r.defaultExt),
              std::tuple(QStringLiteral("Lier un résultat d'un tournoi"),
                         QStringLiteral("au groupe (*.chr)|*.chr"), QStringLiteral("chr")));
    EXPECT_EQ(r.initialDir, path(kSaison));
    EXPECT_TRUE(r.fileName.isEmpty());
    EXPECT_EQ(cellule(2, 7), QStringLiteral("Quatre1.chr"));
    cliquer(w->Bt_Debut);
    cliquer(w->BtResultat); // cancelled
    EXPECT_EQ(fichier(), QByteArray("1;01/10/2026;Un;P;1;100;;\r\n"
                                    "2;02/10/2026;Deux, bis;Q;2;50;Quatre1.chr;\r\n"));
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(GestionFenetre, DatesAndCoefficientsAreCheckedAtEntry)
{
    // Lines already in the file are shown as they are.
    const QByteArray depart("1;  /10/2026;Un;P;1;1O0;;\r\n");
    writeBytes(kSaison + QStringLiteral("/Challenge.DBP"), depart);
    ouvrir();
    EXPECT_EQ(w->MaskEdit1->displayText(), QStringLiteral("__/10/2026"));
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("1O0"));
    EXPECT_EQ(cellule(1, 2), QStringLiteral("  /10/2026"));

    const QString date = QStringLiteral("Date : '%1' n'est pas une date correcte (jj/mm/aaaa)");
    const QString coef = QStringLiteral("Coéf. : '%1' n'est pas une valeur entière correcte.");
    const struct {
        const char *date; // typed into the cleared mask
        const char *coefficient;
        QPushButton *TVorn_FGestion::*bouton;
        QString message;
    } cas[] = {
        {"", "100", &TVorn_FGestion::Bt_Modifier, date.arg("  /10/2026")},
        {"1203", "100", &TVorn_FGestion::Bt_Ajouter, date.arg("12/03/    ")},
        {"31022026", "100", &TVorn_FGestion::Bt_Ajouter, date.arg("31/02/2026")},
        {"28022026", "1O0", &TVorn_FGestion::Bt_Modifier, coef.arg("1O0")},
        {"28022026", "", &TVorn_FGestion::Bt_Ajouter, coef.arg("")},
        {"28022026", "12.5", &TVorn_FGestion::BtResultat, coef.arg("12.5")},
        {"00102026", "100", &TVorn_FGestion::BtResultat, date.arg("00/10/2026")},
    };
    for (const auto &c : cas) {
        if (*c.date) {
            w->MaskEdit1->clear();
            QTest::keyClicks(w->MaskEdit1, QString::fromLatin1(c.date));
        }
        w->Edit2->setText(QString::fromLatin1(c.coefficient));
        dialogs().messages.clear();
        dialogs().files = {path(kSaison + QStringLiteral("/Un.chr"))};
        cliquer(w->*c.bouton);
        ASSERT_EQ(dialogs().messages.size(), 1u) << c.date << c.coefficient;
        EXPECT_EQ(dialogs().messages[0].type, mtError);
        EXPECT_EQ(dialogs().messages[0].text, c.message);
        // Nothing stored, and no file asked for.
        EXPECT_TRUE(dialogs().openRequests.empty());
        EXPECT_EQ(fichier(), depart);
        EXPECT_EQ(w->StrGrd->rowCount(), 2);
    }

    // Once both are right, the line is written.
    w->MaskEdit1->clear();
    QTest::keyClicks(w->MaskEdit1, QStringLiteral("28022026"));
    w->Edit2->setText(QStringLiteral("100"));
    dialogs().messages.clear();
    cliquer(w->Bt_Modifier);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(fichier(), QByteArray("1;28/02/2026;Un;P;1;100;;\r\n"));
}

TEST_F(GestionFenetre, LinkOnAnEmptyListWritesNothing)
{
    writeBytes(kSaison + QStringLiteral("/challenge.dbp"), QByteArray());
    ouvrir();
    dialogs().files = {path(kSaison + QStringLiteral("/X.chr"))};
    cliquer(w->BtResultat);
    EXPECT_TRUE(dialogs().openRequests.empty());
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(readBytes(kSaison + QStringLiteral("/challenge.dbp")), QByteArray());
    QTest::keyClicks(w->MaskEdit1, QStringLiteral("05102026"));
    cliquer(w->Bt_Ajouter);
    EXPECT_FALSE(exists(kSaison + QStringLiteral("/Challenge.DBP")));
    EXPECT_EQ(readBytes(kSaison + QStringLiteral("/challenge.dbp")).count('\n'), 1);
}

TEST_F(GestionFenetre, UnreadableListIsNeverOverwritten)
{
    QDir().mkpath(path(kSaison + QStringLiteral("/Challenge.DBP")));
    ouvrir();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, mtError);
    EXPECT_FALSE(w->Bt_Ajouter->isEnabled());
    EXPECT_FALSE(w->BtResultat->isEnabled());
    w->Bt_Ajouter->click();
    w->BtResultat->click();
    EXPECT_TRUE(QFileInfo(path(kSaison + QStringLiteral("/Challenge.DBP"))).isDir());

    // Once readable again, the next activation allows writing.
    QDir().rmdir(path(kSaison + QStringLiteral("/Challenge.DBP")));
    ouvrir();
    EXPECT_EQ(dialogs().messages.size(), 2u); // missing: the error, then an empty list
    EXPECT_TRUE(w->Bt_Ajouter->isEnabled());
    QTest::keyClicks(w->MaskEdit1, QStringLiteral("05102026"));
    cliquer(w->Bt_Ajouter);
    EXPECT_TRUE(fichier().startsWith("1;05/10/2026;"));
}

// A disk that fills up: the box says so, the file and the grid keep the
// tournaments recorded, and the edits what was typed, to be recorded again.
TEST_F(GestionFenetre, AWriteThatFailsKeepsTheListAndWhatWasTyped)
{
    const QByteArray depart("1;01/10/2026;Un;P;1;100;;\r\n2;02/10/2026;Deux;P;1;100;;\r\n");
    writeBytes(kSaison + QStringLiteral("/Challenge.DBP"), depart);
    ouvrir();
    const QString plein = QStringLiteral("Erreur d'écriture dans le fichier %1 : disque plein.")
                              .arg(path(kSaison + QStringLiteral("/Challenge.DBP")));
    const auto remettre = qScopeGuard([] { LineFile::setWriteHook({}); });
    LineFile::setWriteHook([](const QString &) { return ENOSPC; });
    for (QPushButton *bouton : {w->Bt_Ajouter, w->Bt_Modifier, w->Bt_Supprimer}) {
        SCOPED_TRACE(bouton->objectName().toStdString());
        cliquer(w->Bt_Fin);
        w->Edit1->setText(QStringLiteral("Trois"));
        dialogs().messages.clear();
        // "Supprimer" asks first about the name typed.
        dialogs().answers = {mrYes};
        cliquer(bouton);
        EXPECT_EQ(dialogs().texts().last(), plein);
        EXPECT_EQ(fichier(), depart);
        EXPECT_EQ(w->Edit1->text(), QStringLiteral("Trois"));
        w->AfficherTournois();
        EXPECT_EQ(w->StrGrd->rowCount(), 3);
        EXPECT_EQ(cellule(2, 3), QStringLiteral("Deux"));
    }
    LineFile::setWriteHook({});
    w->Edit1->setText(QStringLiteral("Trois"));
    cliquer(w->Bt_Ajouter);
    EXPECT_EQ(fichier(), depart + "3;02/10/2026;Trois;P;1;100;;\r\n");
}

TEST_F(GestionFenetre, Screenshot)
{
    writeLines(kSaison + QStringLiteral("/Challenge.DBP"),
               {"1;01/10/2026;Open de Sète;P;1;100;Open1.chr;", "2;02/10/2026;Quatre;Q;2;50;;"});
    ouvrir();
    vorn_test::settle();
    const QPixmap image = w->grab();
    EXPECT_FALSE(vorn_test::saveShot(image.toImage(), QStringLiteral("gestion.png"),
                                     path(QStringLiteral("shots")))
                     .isEmpty());
    for (QPushButton *b : w->findChildren<QPushButton *>())
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 8)
            << b->objectName().toStdString();
}

} // namespace
