#include "manager/apropos.h"

TApropos::TApropos(QWidget *parent) : platform::TForm(QStringLiteral("Apropos"), parent)
{
    setCaption(QStringLiteral("A propos du logiciel Vorn Lud "));
    resize(480, 360);
}
