#include "manager/gestion.h"

TVorn_FGestion::TVorn_FGestion(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FGestion"), parent)
{
    setCaption(QStringLiteral("Gestion des Tournois du Challenge"));
    resize(900, 600);
}
