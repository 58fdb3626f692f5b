#include "report/ui/frprogressform.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/objects/frreport.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace report
{

TfrProgressForm::TfrProgressForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frProgressForm"));
    // No close box: the work ends the window, or Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton(frLoadString(55001), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    layout->addLayout(buttons);
    setFixedSize(300, 110);
    connect(Button1, &QPushButton::clicked, this,
            platform::handler(this, &TfrProgressForm::Button1Click));
}

TfrProgressForm::~TfrProgressForm() = default;

void TfrProgressForm::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TfrProgressForm::SetLine(const QString &line)
{
    Label1->setText(line);
}

void TfrProgressForm::runInit()
{
    // Runs inside exec(): an exception is kept for Show, never thrown
    // through the event loop.
    try {
        if (OnInit)
            OnInit();
    } catch (...) {
        m_error = std::current_exception();
        if (m_report)
            m_report->Cancelled = true;
        m_result = platform::mrCancel;
    }
    // The work is over: the window goes, with the result the work gave it.
    if (m_result == platform::mrNone)
        m_result = platform::mrOk;
    if (isVisible())
        QDialog::done(m_result);
}

int TfrProgressForm::Show(TfrReport &report)
{
    Button1->setText(frLoadString(55001));
    m_report = &report;
    m_error = nullptr;
    m_result = platform::mrNone;
    Label2->clear();
    m_running = true;
    QMetaObject::invokeMethod(
        this, [this] { runInit(); }, Qt::QueuedConnection);
    {
        platform::ModalScope scope;
        // The window belongs to the one whose command runs the work (the
        // preview that prints, the panel showing the report), else to the
        // window on top: the window manager keeps it, and the dialogs the
        // work opens above it, with that window.
        QWidget *owner = report.CommandWindow();
        if (!owner || !owner->isVisible())
            owner = qobject_cast<QWidget *>(report.Preview());
        owner = owner && owner->isVisible() ? owner->window() : scope.parentWidget();
        belongTo(owner);
        exec();
        belongTo(nullptr);
    }
    m_running = false;
    m_report = nullptr;
    hide();
    if (std::exception_ptr error = std::exchange(m_error, nullptr))
        std::rethrow_exception(error);
    return m_result;
}

void TfrProgressForm::belongTo(QWidget *owner)
{
    // One window serves every report, owned by the library: the owner is
    // told to the window system only, never made its parent.
    if (owner == this)
        owner = nullptr;
    if (!windowHandle())
        create();
    if (QWindow *window = windowHandle())
        window->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

int TfrProgressForm::ShowModal(TfrReport &report, const std::function<void()> &step)
{
    if (m_running) {
        // A second pass inside the work of the first: the window is up.
        step();
        return m_result;
    }
    OnInit = step;
    struct Forget {
        std::function<void()> &init;
        ~Forget() { init = nullptr; }
    } forget{OnInit};
    return Show(report);
}

void TfrProgressForm::SetModalResult(int result)
{
    m_result = result;
    // The window closes when the step returns to the loop; a step still
    // running (the work inside the init event) finishes first.
    if (m_running && isVisible())
        QDialog::done(result);
}

bool TfrProgressForm::IsShown() const
{
    return isVisible();
}

void TfrProgressForm::SetShown(bool shown)
{
    setVisible(shown);
}

void TfrProgressForm::Button1Click()
{
    if (m_report)
        m_report->Cancelled = true;
    m_result = platform::mrCancel;
    QDialog::done(platform::mrCancel);
}

void TfrProgressForm::closeEvent(QCloseEvent *event)
{
    // Only the work or Cancel end the window.
    event->ignore();
}

void TfrProgressForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrProgressForm::reject()
{
    Button1Click();
}

} // namespace report
