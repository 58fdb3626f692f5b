#include "manager/edition_joueurs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

TVorn_FEdition_Joueurs::TVorn_FEdition_Joueurs(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FEdition_Joueurs"), parent)
{
    setCaption(QStringLiteral("Edition des joueurs licenciés"));
    resize(1000, 700);

    Bt_Action = new QPushButton(QStringLiteral("Editer"), this);
    Bt_Action->setObjectName(QStringLiteral("Bt_Action"));
    Bt_Action->setGeometry(16, 16, 97, 25);

    L_courriel = new QLabel(QStringLiteral("Par groupe de : "), this);
    L_courriel->setObjectName(QStringLiteral("L_courriel"));
    L_courriel->setGeometry(128, 20, 96, 17);

    Nbr_Courriel = new QSpinBox(this);
    Nbr_Courriel->setObjectName(QStringLiteral("Nbr_Courriel"));
    Nbr_Courriel->setRange(1, 50);
    Nbr_Courriel->setSingleStep(5);
    Nbr_Courriel->setValue(50);
    Nbr_Courriel->setGeometry(228, 16, 57, 25);

    CB_BCC = new QCheckBox(QStringLiteral("CopieCaché"), this);
    CB_BCC->setObjectName(QStringLiteral("CB_BCC"));
    CB_BCC->setGeometry(296, 18, 97, 21);
}
