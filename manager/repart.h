#pragma once
// The PP/PE distribution table.
#include "platform/forms/form.h"

class TVornF_repart : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_repart(QWidget *parent = nullptr);
};
