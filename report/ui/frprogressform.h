#pragma once
// The progress window of preparation and printing: the work runs inside its
// own modal loop, started by an event the window posts itself once it is
// up; Cancel sets the report's stop flag. Nothing crosses its event loop: an
// exception of the work closes the window and is raised again by
// ShowModal after the loop has ended.
#include "report/objects/frseams.h"

#include <QDialog>
#include <exception>
#include <functional>

class QLabel;
class QPushButton;

namespace report
{

class TfrProgressForm : public QDialog, public FrProgressWindow
{
    Q_OBJECT
public:
    explicit TfrProgressForm(QWidget *parent = nullptr);
    ~TfrProgressForm() override;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    // Run once the window is up (the work).
    std::function<void()> OnInit;

    // Shows the window modally for report and returns its modal result.
    int Show(TfrReport &report);

    // --- FrProgressWindow
    void SetCaption(const QString &caption) override;
    void SetLine(const QString &line) override;
    int ShowModal(TfrReport &report, const std::function<void()> &step) override;
    void SetModalResult(int result) override;
    bool IsShown() const override;
    void SetShown(bool shown) override;

    void Button1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void runInit();
    // The window it is shown above (null: none).
    void belongTo(QWidget *owner);

    TfrReport *m_report = nullptr;
    std::exception_ptr m_error;
    int m_result = 0;
    bool m_running = false;
};

} // namespace report
