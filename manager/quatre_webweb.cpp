#include "manager/quatre_webweb.h"

TVornF_Quatre_Webweb::TVornF_Quatre_Webweb(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Quatre_Webweb"), parent)
{
    setCaption(QStringLiteral("Editions des inscriptions par quatre"));
    resize(1000, 700);
}
