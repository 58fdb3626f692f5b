#include "manager/attrib.h"

TVornF_Attrib::TVornF_Attrib(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Attrib"), parent)
{
    setCaption(QStringLiteral("Attribution des PP et PE fonction du classement"));
    resize(800, 600);
}
