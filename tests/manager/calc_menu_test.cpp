// The main menu's presets reach the calculators window and its results.
#include "manager/fenetres.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_pr.h"
#include "platform/forms/controls.h"
#include "tests/manager/window_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace
{

class CalcMenu : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        clock().current = platform::EncodeDate(2024, 3, 16) + 0.5;
        // No update check at this start.
        writeLines("Vorn_Lud.ini", {"[MiseAjour]", "NoValide=1", "Date=10/03/2024"});
        m_fenetres = creerFenetres();
    }
};

} // namespace

TEST_F(CalcMenu, DistributionPresets)
{
    Vorn_FPr->N7Click();
    EXPECT_EQ(Vorn_FVorn->Q[1]->text(), "26");
    EXPECT_EQ(Vorn_FVorn->Q[2]->text(), "10");
    EXPECT_EQ(Vorn_FVorn->E[1]->text(), "25,714300");
    Vorn_FPr->Rpartition1Click();
    EXPECT_EQ(Vorn_FVorn->Q[1]->text(), "9");
    EXPECT_EQ(Vorn_FVorn->Q[2]->text(), "9");
    EXPECT_EQ(Vorn_FVorn->E[2]->text(), "9,000000");
}

TEST_F(CalcMenu, TimetablePresets)
{
    Vorn_FPr->HorairesBonus1Click();
    EXPECT_EQ(Vorn_FVorn->Lb_part->text(), QString::fromUtf8("d'équipes"));
    EXPECT_EQ(
        Vorn_FVorn->Phrase->text(),
        QString::fromUtf8("Samedi 16/03/2024 (3 Matchs de 16 donnes sans écran) : 14h00(16h00) - "
                          "16h10(18h10) - 18h25(20h25) - Fin vers 20h35"));
    // "Bonus" shows the window as it is.
    Vorn_FVorn->NbDo->setValue(18);
    Vorn_FPr->Bonus1Click();
    EXPECT_EQ(Vorn_FVorn->NbDo->value(), 18);
    Vorn_FPr->Horaires1Click();
    EXPECT_EQ(Vorn_FVorn->Lb_part->text(), "de paires");
    EXPECT_EQ(Vorn_FVorn->Modalite->text(), QString::fromUtf8("2 Séances de 26 donnes sans écran"));
}
