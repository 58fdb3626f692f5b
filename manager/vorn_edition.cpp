#include "manager/vorn_edition.h"

TVorn_FEdition::TVorn_FEdition(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FEdition"), parent)
{
    setCaption(QStringLiteral("Consultattion des Joueurs du Comité"));
    resize(760, 520);
}
