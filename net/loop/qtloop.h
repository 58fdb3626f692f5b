#pragma once
// The Qt backend of the event loop (production). Posts are one custom event to
// a dispatcher object of the thread; descriptors are QSocketNotifiers; timers
// are QTimers. It works before exec(): the application's ProcessMessages, or
// processPending(), delivers everything.
#include "net/loop/eventloop.h"

#include <map>
#include <memory>
#include <vector>

class QObject;
class QSocketNotifier;
class QTimer;

namespace net
{

class QtEventLoop : public EventLoop
{
public:
    QtEventLoop();
    ~QtEventLoop() override;

    Backend backend() const override { return Backend::Qt; }
    WatchId watch(int fd, bool read, bool write, WatchCallback callback) override;
    void setInterest(WatchId id, bool read, bool write) override;
    void unwatch(WatchId id) override;
    TimerId startTimer(int intervalMs, TimerCallback callback, bool singleShot) override;
    void stopTimer(TimerId id) override;
    void processPending() override;
    void waitAndProcess(int maxMs) override;

    // Called by the dispatcher object.
    void onDrainEvent();

protected:
    void postedOne() override;

private:
    // A pair of notifiers with their connections, kept for the next watch
    // when its watch ends: making and freeing QObjects for every connection
    // costs more than the connection's own work on loopback.
    struct Notifiers {
        QSocketNotifier *read;
        QSocketNotifier *write;
        WatchId id;
    };
    struct Watch {
        int fd;
        bool read;
        bool write;
        bool busy;
        // A nested loop met the watch busy: its notifiers stay off until
        // the callback returns, so that a readable descriptor cannot spin.
        bool suppressed;
        QSocketNotifier *readNotifier;
        QSocketNotifier *writeNotifier;
        Notifiers *notifiers;
        std::shared_ptr<WatchCallback> callback;
    };
    struct Timer {
        QTimer *timer;
        bool singleShot;
        std::shared_ptr<TimerCallback> callback;
    };
    void applyInterest(Watch &watch);
    void activated(WatchId id, bool readable, bool writable);
    void fireTimer(TimerId id);
    void bury(QObject *object);
    void freeGraveyard();
    void postDrain();
    void drain(bool fromEvent);
    void settle();

    Notifiers *takeNotifiers(int fd, WatchId id);

    QObject *m_dispatcher = nullptr;
    // Bounds the wait of waitAndProcess; made once.
    QTimer *m_limit = nullptr;
    bool m_limitExpired = false;
    std::vector<std::unique_ptr<Notifiers>> m_notifiers;
    std::vector<Notifiers *> m_freeNotifiers;
    bool m_drainPending = false;
    bool m_drainOwed = false;
    int m_depth = 0;
    std::map<WatchId, Watch> m_watches;
    std::map<TimerId, Timer> m_timers;
    // Notifiers and timers dropped while a callback of theirs may be on the
    // stack; freed when no callback of this loop runs.
    std::vector<QObject *> m_graveyard;
    WatchId m_nextWatch = 1;
    TimerId m_nextTimer = 1;
};

} // namespace net
