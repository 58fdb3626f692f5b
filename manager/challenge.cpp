#include "manager/challenge.h"

TVorn_FChallenge::TVorn_FChallenge(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FChallenge"), parent)
{
    setCaption(QStringLiteral("Edition du classement du Challenge"));
    resize(1000, 700);
}
