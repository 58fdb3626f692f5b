#include "manager/resultat_paires.h"

TVornF_Resultat_Paires::TVornF_Resultat_Paires(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Resultat_Paires"), parent)
{
    setCaption(QStringLiteral("Gestion des résultats d'une épreuve par paires du Challenge :"));
    resize(1000, 700);
}
