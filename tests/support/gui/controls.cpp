#include "tests/support/gui/controls.h"

#include <QApplication>
#include <QCoreApplication>

namespace vorn_test
{

QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

void settle(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

int escapedFrom(QObject *target, const std::function<void()> &trigger)
{
    class Catcher : public QObject
    {
    public:
        explicit Catcher(QObject *target) : m_target(target) { target->installEventFilter(this); }
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (watched != m_target || m_inside)
                return false;
            m_inside = true;
            try {
                m_target->event(event);
            } catch (...) {
                ++escaped;
            }
            m_inside = false;
            return true;
        }
        int escaped = 0;

    private:
        QObject *m_target;
        bool m_inside = false;
    } catcher(target);
    trigger();
    settle();
    target->removeEventFilter(&catcher);
    return catcher.escaped;
}

} // namespace vorn_test
