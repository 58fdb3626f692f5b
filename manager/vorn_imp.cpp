#include "manager/vorn_imp.h"

TVorn_Fimp::TVorn_Fimp(QWidget *parent) : platform::TForm(QStringLiteral("Vorn_Fimp"), parent)
{
    setCaption(QStringLiteral("Importation des données de la base FFB"));
    resize(520, 200);
}
