#pragma once
// Import of the federation's players extract into the season's players file.
// The whole import runs when the window is activated; the window hides
// itself 3 seconds after showing the result.
#include "manager/core/import_joueurs.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"

#include <QElapsedTimer>
#include <memory>

class QLabel;
class QProgressBar;
class QTimer;

namespace platform
{
class TPanel;
}

class TVorn_Fimp : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_Fimp(QWidget *parent = nullptr);
    ~TVorn_Fimp() override;

    QProgressBar *ProgressBar1;
    platform::TPanel *Panel1;
    QLabel *LabelErreur;
    QTimer *Timer1;
    std::unique_ptr<platform::TOpenDialog> OpenDialog1;

    void Timer1Timer();
    // An import is running (it processes window messages meanwhile).
    bool importEnCours() const { return m_enCours; }

protected:
    void FormActivate() override;
    void FormDeactivate() override;
    void hideEvent(QHideEvent *event) override;

private:
    void importer();
    void afficherErreur(const QString &texte);
    void terminer();
    void progression(int ligne, int total);

    manager::ImportJoueurs m_import;
    bool m_enCours = false;
    // One attempt per showing: re-activating the visible window does not
    // start another.
    bool m_tentative = false;
    bool m_sablier = false;
    QElapsedTimer m_pompe;
};
