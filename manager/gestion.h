#pragma once
// The challenge's tournaments list.
#include "platform/forms/form.h"

class TVorn_FGestion : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FGestion(QWidget *parent = nullptr);
};
