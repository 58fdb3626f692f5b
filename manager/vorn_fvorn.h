#pragma once
// The convocation calculators: timetable of a day of play, Patton suisse
// bonus, distribution of qualified places over centres. The main menu
// presets RgType, Ce1, Ce2 and Qa before showing it.
#include "platform/forms/form.h"

class QSpinBox;
namespace platform
{
class TRadioGroup;
}

class TVorn_FVorn : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FVorn(QWidget *parent = nullptr);

    platform::TRadioGroup *RgType;
    QSpinBox *Qa;
    QSpinBox *Ce1;
    QSpinBox *Ce2;

    void RgTypeClick();
    void QaChange();
    void Ce1Change();
    void Ce2Change();
};
