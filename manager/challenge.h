#pragma once
// The season ranking of the challenge.
#include "platform/forms/form.h"

class TVorn_FChallenge : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FChallenge(QWidget *parent = nullptr);
};
