#include "net/loop/qtloop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

namespace net
{

namespace
{

const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class Dispatcher : public QObject
{
public:
    explicit Dispatcher(QtEventLoop *loop) : m_loop(loop) {}
    bool event(QEvent *e) override
    {
        if (e->type() == kDrainEvent) {
            m_loop->onDrainEvent();
            return true;
        }
        return QObject::event(e);
    }

private:
    QtEventLoop *m_loop;
};

} // namespace

QtEventLoop::QtEventLoop()
{
    // A thread that Qt did not start has no event dispatcher until an event
    // loop object asks for one.
    if (QThread::currentThread()->eventDispatcher() == nullptr) {
        QEventLoop ensureDispatcher;
    }
    m_dispatcher = new Dispatcher(this);
    QObject *raw = m_dispatcher;
    // Runs under the inbox lock, which the destructor also takes before the
    // dispatcher goes: the pointer stays valid here.
    setWake([raw] { QCoreApplication::postEvent(raw, new QEvent(kDrainEvent)); });
    if (QCoreApplication::instance() != nullptr)
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_dispatcher,
                         [this] { m_quit = true; });
}

QtEventLoop::~QtEventLoop()
{
    setWake(nullptr);
    for (auto &entry : m_watches) {
        delete entry.second.readNotifier;
        delete entry.second.writeNotifier;
    }
    for (auto &entry : m_timers)
        delete entry.second.timer;
    m_watches.clear();
    m_timers.clear();
    for (QObject *object : m_graveyard)
        delete object;
    m_graveyard.clear();
    delete m_dispatcher;
}

void QtEventLoop::postedOne()
{
    if (m_drainPending)
        return;
    m_drainPending = true;
    QCoreApplication::postEvent(m_dispatcher, new QEvent(kDrainEvent));
}

void QtEventLoop::onDrainEvent()
{
    m_drainPending = false;
    // Only here, outside every notifier's and timer's signal, may they be freed.
    if (m_depth == 0)
        freeGraveyard();
    ++m_depth;
    deliverPosted();
    --m_depth;
    if (hasPosted() || (m_depth == 0 && !m_graveyard.empty()))
        postedOne();
}

WatchId QtEventLoop::watch(int fd, bool read, bool write, WatchCallback callback)
{
    WatchId id = m_nextWatch++;
    Watch w{fd,
            read,
            write,
            false,
            nullptr,
            nullptr,
            std::make_shared<WatchCallback>(std::move(callback))};
    w.readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, m_dispatcher);
    w.writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, m_dispatcher);
    QObject::connect(w.readNotifier, &QSocketNotifier::activated, m_dispatcher,
                     [this, id] { activated(id, true, false); });
    QObject::connect(w.writeNotifier, &QSocketNotifier::activated, m_dispatcher,
                     [this, id] { activated(id, false, true); });
    auto inserted = m_watches.emplace(id, std::move(w));
    applyInterest(inserted.first->second);
    return id;
}

void QtEventLoop::applyInterest(Watch &w)
{
    w.readNotifier->setEnabled(w.read && !w.busy);
    w.writeNotifier->setEnabled(w.write && !w.busy);
}

void QtEventLoop::setInterest(WatchId id, bool read, bool write)
{
    auto found = m_watches.find(id);
    if (found == m_watches.end())
        return;
    found->second.read = read;
    found->second.write = write;
    applyInterest(found->second);
}

void QtEventLoop::unwatch(WatchId id)
{
    auto found = m_watches.find(id);
    if (found == m_watches.end())
        return;
    bury(found->second.readNotifier);
    bury(found->second.writeNotifier);
    m_watches.erase(found);
}

void QtEventLoop::activated(WatchId id, bool readable, bool writable)
{
    auto found = m_watches.find(id);
    if (found == m_watches.end() || found->second.busy)
        return;
    if ((readable && !found->second.read) || (writable && !found->second.write))
        return;
    std::shared_ptr<WatchCallback> callback = found->second.callback;
    found->second.busy = true;
    applyInterest(found->second);
    ++m_depth;
    guarded([&] { (*callback)(readable, writable); });
    --m_depth;
    found = m_watches.find(id);
    if (found != m_watches.end()) {
        found->second.busy = false;
        applyInterest(found->second);
    }
    if (m_depth == 0 && !m_graveyard.empty())
        postedOne();
}

TimerId QtEventLoop::startTimer(int intervalMs, TimerCallback callback, bool singleShot)
{
    TimerId id = m_nextTimer++;
    auto *timer = new QTimer(m_dispatcher);
    timer->setSingleShot(singleShot);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, m_dispatcher, [this, id] { fireTimer(id); });
    m_timers.emplace(
        id, Timer{timer, singleShot, std::make_shared<TimerCallback>(std::move(callback))});
    timer->start(std::max(0, intervalMs));
    return id;
}

void QtEventLoop::stopTimer(TimerId id)
{
    auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    bury(found->second.timer);
    m_timers.erase(found);
    if (m_depth == 0)
        postedOne();
}

void QtEventLoop::fireTimer(TimerId id)
{
    auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    std::shared_ptr<TimerCallback> callback = found->second.callback;
    if (found->second.singleShot) {
        bury(found->second.timer);
        m_timers.erase(found);
    }
    ++m_depth;
    guarded([&] { (*callback)(); });
    --m_depth;
    if (m_depth == 0 && !m_graveyard.empty())
        postedOne();
}

void QtEventLoop::bury(QObject *object)
{
    if (auto *notifier = qobject_cast<QSocketNotifier *>(object))
        notifier->setEnabled(false);
    if (auto *timer = qobject_cast<QTimer *>(object))
        timer->stop();
    object->disconnect();
    m_graveyard.push_back(object);
    if (m_depth == 0)
        postedOne();
}

void QtEventLoop::freeGraveyard()
{
    if (m_depth > 0 || m_graveyard.empty())
        return;
    std::vector<QObject *> dead;
    dead.swap(m_graveyard);
    for (QObject *object : dead)
        delete object;
}

void QtEventLoop::processPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::waitAndProcess(int maxMs)
{
    takeInbox();
    if (hasPosted()) {
        processPending();
        return;
    }
    // processEvents(flags, maxtime) never waits; the one-argument form does,
    // and this timer bounds the wait. A stale wake-up of the dispatcher or
    // another object's event also ends one round: wait on until one of our
    // handlers ran or the time is up.
    bool expired = false;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, [&expired] { expired = true; });
    limit.start(std::max(0, maxMs));
    std::uint64_t before = activity();
    while (!expired && activity() == before && !m_quit)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace net
