#pragma once
// Pairs tournament results.
#include "platform/forms/form.h"

class TVornF_Resultat_Paires : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Resultat_Paires(QWidget *parent = nullptr);
};
