#pragma once
// Entries lists, convocations and their e-mails; its mode is in its caption.
#include "platform/forms/form.h"

class TVornF_Quatre_Webweb : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Quatre_Webweb(QWidget *parent = nullptr);
};
