#pragma once
// One player of the season at a time, and envelopes.
#include "platform/forms/form.h"

class TVorn_FEdition : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FEdition(QWidget *parent = nullptr);
};
