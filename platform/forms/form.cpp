#include "platform/forms/form.h"

#include "platform/forms/application.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>

namespace platform
{

namespace
{
QPointer<TForm> s_active;
// The window whose own dialog just closed: its next activation is a return.
QPointer<TForm> s_returning;
int s_busyDepth = 0;
int s_created = 0;
} // namespace

TForm::TForm(const QString &name, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    m_creationIndex = ++s_created;
    if (!MainForm())
        SetMainForm(this);
}

TForm::~TForm()
{
    if (s_active == this)
        s_active = nullptr;
}

void TForm::Show()
{
    if (!isVisible())
        show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

TForm *TForm::activeForm()
{
    return s_active;
}

void TForm::resetActivation()
{
    s_active = nullptr;
    s_returning = nullptr;
}

void TForm::activated()
{
    // While a dialog runs, the windows it raises belong to it.
    if (s_busyDepth > 0)
        return;
    const bool returning = s_returning == this;
    s_returning = nullptr;
    if (s_active == this || returning)
        return;
    QPointer<TForm> previous = s_active;
    s_active = this;
    if (previous)
        guard([&] { previous->FormDeactivate(); });
    guard([this] { FormActivate(); });
}

void TForm::deactivated()
{
    if (s_returning == this)
        s_returning = nullptr;
    if (s_active != this)
        return;
    s_active = nullptr;
    guard([this] { FormDeactivate(); });
}

bool TForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QWidget::event(event);
}

void TForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        if (m_position == Position::ScreenCenter) {
            if (QScreen *screen = QGuiApplication::primaryScreen()) {
                QRect r = frameGeometry();
                r.moveCenter(screen->availableGeometry().center());
                move(r.topLeft());
            }
        }
        guard([this] { FormShow(); });
    }
    QWidget::showEvent(event);
}

void TForm::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        deactivated();
    QWidget::hideEvent(event);
}

void TForm::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the run; any other window only hides.
    event->accept();
    if (MainForm() == this)
        Terminate();
}

ModalScope::ModalScope(QWidget *owner)
{
    if (!owner)
        owner = TForm::activeForm();
    m_parent = owner && owner->isVisible() ? owner->window() : nullptr;
    m_owner = qobject_cast<TForm *>(owner ? owner->window() : nullptr);
    if (m_owner)
        ++m_owner->m_busy;
    ++s_busyDepth;
}

ModalScope::~ModalScope()
{
    --s_busyDepth;
    if (m_owner) {
        --m_owner->m_busy;
        if (m_owner->isVisible())
            s_returning = m_owner.data();
    }
}

} // namespace platform
