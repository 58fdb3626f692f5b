#pragma once
// The about box.
#include "platform/forms/form.h"

class TApropos : public platform::TForm
{
    Q_OBJECT

public:
    explicit TApropos(QWidget *parent = nullptr);
};
