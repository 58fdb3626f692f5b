#pragma once
// Calendars from iCalendar files; its kind is in its caption.
#include "platform/forms/form.h"

class TVorn_FCalendar : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FCalendar(QWidget *parent = nullptr);
};
