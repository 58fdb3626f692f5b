#include "manager/mcf_poule.h"

TVorn_Fmcf_Poule::TVorn_Fmcf_Poule(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_Fmcf_Poule"), parent)
{
    setCaption(QStringLiteral("Poules"));
    resize(1000, 700);
}
