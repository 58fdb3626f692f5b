#pragma once
// PP/PE attribution and the EASI export.
#include "platform/forms/form.h"

class TVornF_Attrib : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Attrib(QWidget *parent = nullptr);
};
