// The calculators window as the user drives it: type presets, pause and meal
// boxes, the bonus and the distribution over centres.
#include "manager/vorn_fvorn.h"
#include "platform/forms/controls.h"
#include "tests/support/gui/program_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace
{

class CalcWindow : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        clock().current = platform::EncodeDate(2024, 3, 16) + 0.5; // a Saturday
        w = std::make_unique<TVorn_FVorn>();
    }
    void TearDown() override
    {
        w.reset();
        ProgramFolderTest::TearDown();
    }

    // Empties a spin edit as the user would with the keyboard.
    static void vide(QSpinBox *spin) { spin->findChild<QLineEdit *>()->clear(); }
    static QColor texte(QWidget *e) { return e->palette().color(QPalette::Text); }

    std::unique_ptr<TVorn_FVorn> w;
};

const QString kSamedi = QStringLiteral("Samedi 16/03/2024 ");

} // namespace

TEST_F(CalcWindow, DefaultsBeforeAnyType)
{
    EXPECT_EQ(w->Phrase->text(),
              kSamedi + QString::fromUtf8("(2 Indéfinis de 27 donnes sans écran) : "
                                          "14h00(17h22) - 17h35(20h57) - Fin vers 21h10"));
    EXPECT_EQ(w->Horraire->text(), "Samedi :14h00 - 17h35 - Fin vers 21h10");
    EXPECT_EQ(w->Modalite->text(), QString::fromUtf8("2 Indéfinis de 27 donnes sans écran"));
    EXPECT_EQ(w->Sc0->text(), "3h22");
    EXPECT_EQ(w->Sc[2]->text(), "17h35");
    EXPECT_EQ(w->Sf[2]->text(), "20h57");
    for (QWidget *c : std::initializer_list<QWidget *>{w->Ecran, w->DateComp, w->Heure, w->NbSe,
                                                       w->NbDo, w->Ps[1], w->Pp[1], w->Rp[1]})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->Sc0->isEnabled());
    EXPECT_FALSE(w->Sf[1]->isEnabled());
    EXPECT_EQ(vorn_test::control<QLabel>(w.get(), "Information")->text(), "Recommandé");
    EXPECT_EQ(w->Bonus->text(), "0,18");
}

TEST_F(CalcWindow, SwissPresetThenMealAndPause)
{
    w->RgType->setItemIndex(1);
    EXPECT_EQ(w->Lb_part->text(), QString::fromUtf8("d'équipes"));
    EXPECT_EQ(w->Cb_Nb_Part->currentText(), "18");
    EXPECT_EQ(w->NbSe->value(), 3);
    EXPECT_EQ(w->NbDo->value(), 16);
    EXPECT_EQ(w->Rp[1]->value(), 10);
    EXPECT_EQ(w->Rp[2]->value(), 15);
    EXPECT_TRUE(w->NbDo->isEnabled());
    EXPECT_EQ(w->Phrase->text(),
              kSamedi + QString::fromUtf8("(3 Matchs de 16 donnes sans écran) : 14h00(16h00) - "
                                          "16h10(18h10) - 18h25(20h25) - Fin vers 20h35"));

    w->Pp[2]->click();
    EXPECT_EQ(w->Rp[2]->value(), 90);
    EXPECT_FALSE(w->Ps[2]->isEnabled());
    EXPECT_EQ(w->Phrase->text(),
              kSamedi + QString::fromUtf8("(3 Matchs de 16 donnes sans écran) : 14h00(16h00) - "
                                          "16h10(18h10) +Repas+ 19h40(21h40) - Fin vers 21h50"));
    EXPECT_EQ(w->Horraire->text(), "Samedi :14h00 - 16h10 +Repas+ 19h40 - Fin vers 21h50");
    w->Pp[2]->click();
    EXPECT_EQ(w->Rp[2]->value(), 15);
    EXPECT_TRUE(w->Ps[2]->isEnabled());

    // A pause after séance 1: 18 teams make 36 tables, 38 minutes.
    w->Ps[1]->click();
    EXPECT_EQ(w->Rp[1]->value(), 38);
    EXPECT_FALSE(w->Pp[1]->isEnabled());
    EXPECT_EQ(w->Horraire->text(), "Samedi :14h00 +Pause+ 16h40 - 18h55 - Fin vers 21h05");
    // The number of teams follows into every ticked pause; 60 teams clamp.
    w->Cb_Nb_Part->setCurrentText("12");
    EXPECT_EQ(w->Rp[1]->value(), 30);
    w->Cb_Nb_Part->setCurrentText("60");
    EXPECT_EQ(w->Rp[1]->value(), 109);
    w->Ps[1]->click();
    EXPECT_EQ(w->Rp[1]->value(), 10);

    // Choosing the same type again keeps what the user set.
    w->NbDo->setValue(20);
    w->RgType->setItemIndex(1);
    EXPECT_EQ(w->NbDo->value(), 20);
    // The pool preset.
    w->RgType->setItemIndex(2);
    EXPECT_EQ(w->NbSe->value(), 4);
    EXPECT_EQ(w->NbDo->value(), 12);
    EXPECT_EQ(w->Cb_Nb_Part->currentText(), "12");
    EXPECT_EQ(w->Rp[5]->value(), 10);
    w->Ps[3]->click();
    EXPECT_EQ(w->Rp[3]->value(), 30);
}

TEST_F(CalcWindow, PairsWithScreensAndASingleSeance)
{
    w->RgType->setItemIndex(0);
    EXPECT_EQ(w->Lb_part->text(), "de paires");
    EXPECT_EQ(w->Cb_Nb_Part->currentText(), "36");
    w->Ps[1]->click();
    EXPECT_EQ(w->Rp[1]->value(), 53);
    w->Ps[1]->click();
    EXPECT_EQ(w->Rp[1]->value(), 20);

    w->NbDo->setValue(34);
    w->Ecran->setItemIndex(0);
    w->RG1->setItemIndex(1);
    EXPECT_EQ(w->Heure->time(), QTime(13, 30));
    EXPECT_EQ(w->Sc0->text(), "4h40");
    EXPECT_EQ(w->Phrase->text(),
              kSamedi + QString::fromUtf8("(2 Séances de 34 donnes avec écrans) : "
                                          "13h30(18h10) - 18h30(23h10) - Fin vers 23h20"));

    w->NbSe->setValue(1);
    w->NbDo->setValue(26);
    w->Ecran->setItemIndex(1);
    w->RG1->setItemIndex(0);
    EXPECT_EQ(w->Phrase->text(), kSamedi + QString::fromUtf8("(1 Séance de 26 donnes sans écran) : "
                                                             "9h30(12h45) - Fin vers 12h55"));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(w->Ps[i]->isHidden());
        EXPECT_TRUE(w->Pp[i]->isHidden());
        EXPECT_TRUE(w->Rp[i]->isHidden());
        EXPECT_TRUE(w->Pau[i]->isHidden());
        EXPECT_TRUE(w->Rep[i]->isHidden());
    }
    EXPECT_FALSE(w->Sc[1]->isHidden());
    EXPECT_TRUE(w->Sc[2]->isHidden());
    w->NbSe->setValue(6);
    EXPECT_FALSE(w->Sf[6]->isHidden());
    EXPECT_FALSE(w->Rp[5]->isHidden());
}

TEST_F(CalcWindow, EmptiedControlsStopTheRecomputation)
{
    w->RgType->setItemIndex(1);
    const QString avant = w->Phrase->text();
    vide(w->NbDo);
    EXPECT_EQ(w->Phrase->text(), avant);
    vide(w->NbSe);
    EXPECT_EQ(w->Phrase->text(), avant);
    const QString bonus = w->Bonus->text();
    vide(w->NbTr);
    EXPECT_EQ(w->Bonus->text(), bonus);
    w->Ps[1]->click();
    w->Cb_Nb_Part->setCurrentText("");
    EXPECT_EQ(w->Rp[1]->value(), 38);
}

TEST_F(CalcWindow, PattonBonusFollowsRoundsAndTeams)
{
    struct Cas {
        int tours, equipes;
        const char *texte, *info;
        QColor fond;
    } cas[] = {{5, 12, "0,23", "Recommandé", QColor(0, 255, 0)},
               {5, 11, "0,25", " Jouable  ", QColor(255, 128, 0)},
               {8, 11, "0,24", " Interdit ", QColor(255, 0, 0)},
               {6, 19, "0,17", "Recommandé", QColor(255, 255, 0)},
               {7, 26, "0,10", " Jouable  ", QColor(255, 128, 0)}};
    for (const Cas &c : cas) {
        w->NbTr->setValue(c.tours);
        w->NbEq->setValue(c.equipes);
        EXPECT_EQ(w->Bonus->text(), c.texte);
        EXPECT_EQ(w->Information->text(), QString::fromUtf8(c.info));
        EXPECT_EQ(w->Bonus->palette().color(QPalette::Base), c.fond);
    }
}

TEST_F(CalcWindow, DistributionOverCentres)
{
    // The main menu's first preset.
    w->Ce1->setValue(20);
    w->Ce2->setValue(20);
    w->Qa->setValue(18);
    EXPECT_EQ(w->E[1]->text(), "9,000000");
    EXPECT_EQ(w->E[2]->text(), "9,000000");
    EXPECT_EQ(w->Q[1]->text(), "9");
    EXPECT_EQ(w->Q[2]->text(), "9");
    EXPECT_EQ(texte(w->E[1]), QColor(0, 128, 0));

    // The second preset.
    w->Ce1->setValue(50);
    w->Qa->setValue(36);
    EXPECT_EQ(w->E[1]->text(), "25,714300");
    EXPECT_EQ(w->E[2]->text(), "10,285700");
    EXPECT_EQ(w->Q[1]->text(), "26");
    EXPECT_EQ(w->Q[2]->text(), "10");

    w->Ce1->setValue(1);
    w->Ce2->setValue(1);
    w->Qa->setValue(3);
    EXPECT_EQ(w->E[1]->text(), "1,500000");
    EXPECT_EQ(texte(w->E[1]), QColor(255, 0, 0));
    EXPECT_EQ(w->Q[1]->text(), "1");
    EXPECT_EQ(w->Q[2]->text(), "2");

    w->Qa->setValue(1);
    w->Ce2->setValue(31);
    EXPECT_EQ(w->E[1]->text(), "0,031200");
    EXPECT_EQ(w->E[2]->text(), "0,968800");
    EXPECT_EQ(w->Q[1]->text(), "0");
    EXPECT_EQ(w->Q[2]->text(), "1");

    // A third centre: shown, counted once a quantity changes.
    EXPECT_TRUE(w->CeN[3]->isHidden());
    w->Centres->setValue(3);
    EXPECT_FALSE(w->CeN[3]->isHidden());
    EXPECT_FALSE(w->Etiq[3]->isHidden());
    w->Ce2->setValue(1);
    w->CeN[3]->setValue(1);
    EXPECT_EQ(w->Q[1]->text(), "0");
    EXPECT_EQ(w->Q[2]->text(), "0");
    EXPECT_EQ(w->Q[3]->text(), "1");
    w->Centres->setValue(2);
    EXPECT_TRUE(w->Q[3]->isHidden());
    EXPECT_EQ(w->Q[2]->text(), "0"); // kept until the next change
    w->Qa->setValue(2);
    EXPECT_EQ(w->Q[1]->text(), "1");
    EXPECT_EQ(w->Q[2]->text(), "1");

    // Places given by right as many as or more than the places: nothing left.
    w->Qo->setValue(2);
    EXPECT_EQ(w->E[1]->text(), "0,000000");
    EXPECT_EQ(w->Q[1]->text(), "0");
    EXPECT_EQ(w->Q[2]->text(), "0");
    w->Qo->setValue(5);
    EXPECT_EQ(w->Q[1]->text(), "0");
    EXPECT_EQ(w->Q[2]->text(), "0");
    EXPECT_EQ(w->E[2]->text(), "0,000000");
}

TEST_F(CalcWindow, QuitHides)
{
    w->show();
    w->BtQuitter->click();
    EXPECT_TRUE(w->isHidden());
}
