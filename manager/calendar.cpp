#include "manager/calendar.h"

TVorn_FCalendar::TVorn_FCalendar(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FCalendar"), parent)
{
    setCaption(QStringLiteral("Editions des calendriers Clubs"));
    resize(900, 650);
}
