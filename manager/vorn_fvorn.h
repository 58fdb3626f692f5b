#pragma once
// The convocation calculators: timetable of a day of play, Patton suisse
// bonus, distribution of qualified places over centres. Nothing is stored:
// every change recomputes at once. The main menu presets RgType, Ce1, Ce2
// and Qa before showing it.
#include "platform/forms/form.h"
#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimeEdit;
namespace platform
{
class TRadioGroup;
}

class TVorn_FVorn : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FVorn(QWidget *parent = nullptr);

    // Timetable.
    QGroupBox *PanelHoraires;
    platform::TRadioGroup *RgType;
    QDateEdit *DateComp;
    QTimeEdit *Heure;
    platform::TRadioGroup *RG1;
    QSpinBox *NbSe;
    QSpinBox *NbDo;
    platform::TRadioGroup *Ecran;
    QComboBox *Cb_Nb_Part;
    QLabel *Lb_part;
    QLineEdit *Sc0;
    std::array<QLineEdit *, 7> Sc{}; // Sc[1]..Sc[6]; Sc[0] is Sc0
    std::array<QLineEdit *, 7> Sf{}; // Sf[1]..Sf[6]
    std::array<QCheckBox *, 6> Ps{}; // Ps[1]..Ps[5]
    std::array<QCheckBox *, 6> Pp{};
    std::array<QSpinBox *, 6> Rp{};
    std::array<QLabel *, 6> Rep{};
    std::array<QLabel *, 6> Pau{};
    QLineEdit *Phrase;
    QLineEdit *Horraire;
    QLineEdit *Modalite;
    QPushButton *BtQuitter;

    // Patton bonus.
    QGroupBox *PanelBonus;
    QSpinBox *NbTr;
    QSpinBox *NbEq;
    QLineEdit *Bonus;
    QLabel *Information;

    // Distribution over centres.
    QGroupBox *PanelRepartition;
    QSpinBox *Qa;
    QSpinBox *Qo;
    QSpinBox *Centres;
    std::array<QSpinBox *, 7> CeN{}; // CeN[1]..CeN[6]
    QSpinBox *Ce1;
    QSpinBox *Ce2;
    std::array<QLineEdit *, 7> E{};
    std::array<QLineEdit *, 7> Q{};
    std::array<QLabel *, 7> Etiq{};

    void FormCreate();
    void RgTypeClick();
    void RG1Click();
    void NbDoChange();
    void NbSeChange();
    void PsClick(int i);
    void PpClick(int i);
    void Cb_Nb_PartChange();
    void NbTrChange();
    void NbEqChange();
    void BtQuitterClick();
    void QaChange();
    void QoChange();
    void CeChange(int i);
    void Ce1Change() { CeChange(1); }
    void Ce2Change() { CeChange(2); }
    void CentresChange();

    void CalculHoraires();
    void CalculBonus();
    void RepartitionCentres();

private:
    int pauseLength() const;
    void buildTimetable();
    void buildBonus();
    void buildDistribution();
};
