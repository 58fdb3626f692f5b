#include "manager/resultat_quatre.h"

TVorn_FResultat_Quatre::TVorn_FResultat_Quatre(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FResultat_Quatre"), parent)
{
    setCaption(QStringLiteral("Gestion des résultats d'une épreuve par quatre du Challenge :"));
    resize(1000, 700);
}
