#pragma once
// Import of the federation's players extract.
#include "platform/forms/form.h"

class TVorn_Fimp : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_Fimp(QWidget *parent = nullptr);
};
