#pragma once
// Pools of teams and the pool entries file.
#include "platform/forms/form.h"

class TVorn_Fmcf_Poule : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_Fmcf_Poule(QWidget *parent = nullptr);
};
