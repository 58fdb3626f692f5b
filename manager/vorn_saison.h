#pragma once
// Creation of a season: a sub-folder of the program folder with an empty (or
// copied) players file and an empty tournaments list.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"

#include <memory>

class QLineEdit;
class QPushButton;

class TVorn_FSaison : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FSaison(QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QPushButton *ButCreer;
    QPushButton *ButQuiter;
    std::unique_ptr<platform::TOpenDialog> OpenDialog1;

    void ButCreerClick();
    void ButQuiterClick();

    // A name that can be a folder of the program folder: not empty, no
    // separator, no "..", no control character, none of <>:"|?*, no blank
    // at either end, only characters the data files can hold.
    static bool nomSaisonValide(const QString &nom);

protected:
    // Opened from the menu, the window starts from an empty name; coming
    // back to it from another window keeps what was typed.
    void showEvent(QShowEvent *event) override;
};
