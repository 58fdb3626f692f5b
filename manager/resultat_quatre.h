#pragma once
// Teams-of-four groups, match sheets and results.
#include "platform/forms/form.h"

class TVorn_FResultat_Quatre : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FResultat_Quatre(QWidget *parent = nullptr);
};
