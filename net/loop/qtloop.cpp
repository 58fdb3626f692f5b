#include "net/loop/qtloop.h"

#include <QAbstractEventDispatcher>
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
    // A loop that starts inside one of our callbacks (a dialog, a
    // synchronous request) must see what the callback posted.
    if (QAbstractEventDispatcher *events = QThread::currentThread()->eventDispatcher()) {
        auto settle = [this] {
            if (m_drainOwed) {
                m_drainOwed = false;
                postDrain();
            }
        };
        QObject::connect(events, &QAbstractEventDispatcher::awake, m_dispatcher, settle);
        QObject::connect(events, &QAbstractEventDispatcher::aboutToBlock, m_dispatcher, settle);
    }
    m_limit = new QTimer(m_dispatcher);
    m_limit->setSingleShot(true);
    m_limit->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_limit, &QTimer::timeout, m_dispatcher, [this] { m_limitExpired = true; });
}

QtEventLoop::~QtEventLoop()
{
    setWake(nullptr);
    m_watches.clear();
    for (auto &pair : m_notifiers) {
        delete pair->read;
        delete pair->write;
    }
    m_notifiers.clear();
    m_freeNotifiers.clear();
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
    // Posted from inside one of our callbacks: delivered when the outermost
    // one returns (settle()), without a Qt event, whose wake-up of the
    // dispatcher costs three system calls; a loop that starts meanwhile
    // gets the event after all.
    if (m_depth > 0) {
        m_drainOwed = true;
        return;
    }
    postDrain();
}

void QtEventLoop::postDrain()
{
    if (m_drainPending)
        return;
    m_drainPending = true;
    QCoreApplication::postEvent(m_dispatcher, new QEvent(kDrainEvent));
}

void QtEventLoop::settle()
{
    // A few rounds at most, so that a handler posting without end still
    // lets the other events in.
    for (int round = 0; round < 4 && m_depth == 0 && m_drainOwed; ++round) {
        m_drainOwed = false;
        drain(false);
    }
    if (m_depth == 0 && (m_drainOwed || hasPosted() || !m_graveyard.empty())) {
        m_drainOwed = false;
        postDrain();
    }
}

void QtEventLoop::drain(bool fromEvent)
{
    // Only from our own event, outside every notifier's and timer's signal,
    // may they be freed.
    if (fromEvent && m_depth == 0)
        freeGraveyard();
    ++m_depth;
    deliverPosted();
    --m_depth;
}

void QtEventLoop::onDrainEvent()
{
    m_drainPending = false;
    drain(true);
    if (m_depth == 0) {
        m_drainOwed = m_drainOwed || hasPosted();
        settle();
    } else if (hasPosted()) {
        postedOne();
    }
}

WatchId QtEventLoop::watch(int fd, bool read, bool write, WatchCallback callback)
{
    WatchId id = m_nextWatch++;
    Notifiers *pair = takeNotifiers(fd, id);
    Watch w{fd,          read,  write,
            false,       false, pair->read,
            pair->write, pair,  std::make_shared<WatchCallback>(std::move(callback))};
    auto inserted = m_watches.emplace(id, std::move(w));
    applyInterest(inserted.first->second);
    return id;
}

QtEventLoop::Notifiers *QtEventLoop::takeNotifiers(int fd, WatchId id)
{
    Notifiers *pair = nullptr;
    if (!m_freeNotifiers.empty()) {
        pair = m_freeNotifiers.back();
        m_freeNotifiers.pop_back();
    } else {
        auto made = std::make_unique<Notifiers>();
        pair = made.get();
        // Made without a descriptor, hence disabled: only the kinds asked
        // for are registered with the dispatcher, each a wake-up of it.
        pair->read = new QSocketNotifier(QSocketNotifier::Read, m_dispatcher);
        pair->write = new QSocketNotifier(QSocketNotifier::Write, m_dispatcher);
        QObject::connect(pair->read, &QSocketNotifier::activated, m_dispatcher,
                         [this, pair] { activated(pair->id, true, false); });
        QObject::connect(pair->write, &QSocketNotifier::activated, m_dispatcher,
                         [this, pair] { activated(pair->id, false, true); });
        m_notifiers.push_back(std::move(made));
    }
    pair->id = id;
    pair->read->setSocket(fd);
    pair->write->setSocket(fd);
    return pair;
}

void QtEventLoop::applyInterest(Watch &w)
{
    // Each change of a notifier wakes the dispatcher up. Read interest comes
    // and goes with every block received (the socket turns it off until the
    // owner reads): it is turned off for real only if the descriptor turns
    // out ready while nobody wants it (activated() then does it).
    if (w.suppressed)
        w.readNotifier->setEnabled(false);
    else if (w.read)
        w.readNotifier->setEnabled(true);
    w.writeNotifier->setEnabled(w.write && !w.suppressed);
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
    // Kept for the next watch; an activation already under way for them
    // finds no watch of this id and does nothing.
    Notifiers *pair = found->second.notifiers;
    pair->read->setEnabled(false);
    pair->write->setEnabled(false);
    pair->id = 0;
    m_freeNotifiers.push_back(pair);
    m_watches.erase(found);
}

void QtEventLoop::activated(WatchId id, bool readable, bool writable)
{
    auto found = m_watches.find(id);
    if (found == m_watches.end())
        return;
    if (found->second.busy) {
        // A loop nested in the callback: turning the notifiers off for every
        // callback would cost the dispatcher two wake-ups each time, so it
        // is done only now that it is needed.
        found->second.suppressed = true;
        applyInterest(found->second);
        return;
    }
    if (readable && !found->second.read) {
        found->second.readNotifier->setEnabled(false);
        return;
    }
    if (writable && !found->second.write)
        return;
    std::shared_ptr<WatchCallback> callback = found->second.callback;
    found->second.busy = true;
    ++m_depth;
    guarded([&] { (*callback)(readable, writable); });
    --m_depth;
    found = m_watches.find(id);
    if (found != m_watches.end()) {
        found->second.busy = false;
        if (found->second.suppressed) {
            found->second.suppressed = false;
            applyInterest(found->second);
        }
    }
    if (m_depth == 0)
        settle();
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
    if (m_depth == 0)
        settle();
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
    // A nested wait (from a handler) restarts the one timer: the outer wait
    // then ends with the inner one at the latest, as it would on any event.
    const bool outerExpired = m_limitExpired;
    m_limitExpired = false;
    m_limit->start(std::max(0, maxMs));
    std::uint64_t before = activity();
    while (!m_limitExpired && activity() == before && !m_quit)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_limit->stop();
    m_limitExpired = outerExpired;
}

} // namespace net
