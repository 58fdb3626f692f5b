#pragma once
// The players list: filters, statistics, export and e-mail. The main menu
// chooses its mode through the caption of Bt_Action ("Editer" or "Courriel")
// and the visibility of the mail controls.
#include "platform/forms/form.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TVorn_FEdition_Joueurs : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FEdition_Joueurs(QWidget *parent = nullptr);

    QPushButton *Bt_Action;
    QSpinBox *Nbr_Courriel;
    QCheckBox *CB_BCC;
    QLabel *L_courriel;
};
