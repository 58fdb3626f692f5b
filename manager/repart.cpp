#include "manager/repart.h"

TVornF_repart::TVornF_repart(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_repart"), parent)
{
    setCaption(QStringLiteral("Edition des répartitions de PP et PE de challenge"));
    resize(800, 600);
}
