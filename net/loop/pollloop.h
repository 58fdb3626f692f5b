#pragma once
// The poll() backend of the event loop: headless tools and tests. Cross-thread
// posts wake it through an eventfd; its timers read an injectable clock.
#include "net/loop/eventloop.h"

#include <map>

namespace net
{

class PollEventLoop : public EventLoop
{
public:
    // Milliseconds from some start; the default is the steady clock.
    using ClockFn = std::function<std::int64_t()>;
    explicit PollEventLoop(ClockFn clock = nullptr);
    ~PollEventLoop() override;

    Backend backend() const override { return Backend::Poll; }
    WatchId watch(int fd, bool read, bool write, WatchCallback callback) override;
    void setInterest(WatchId id, bool read, bool write) override;
    void unwatch(WatchId id) override;
    TimerId startTimer(int intervalMs, TimerCallback callback, bool singleShot) override;
    void stopTimer(TimerId id) override;
    void processPending() override;
    void waitAndProcess(int maxMs) override;

private:
    struct Watch {
        int fd;
        bool read;
        bool write;
        bool busy;
        std::shared_ptr<WatchCallback> callback;
    };
    struct Timer {
        int interval;
        std::int64_t due;
        bool singleShot;
        std::shared_ptr<TimerCallback> callback;
    };
    void runOnce(int timeoutMs);
    void fireTimers();
    std::int64_t now() const;

    ClockFn m_clock;
    int m_wakeFd = -1;
    std::map<WatchId, Watch> m_watches;
    std::map<TimerId, Timer> m_timers;
    WatchId m_nextWatch = 1;
    TimerId m_nextTimer = 1;
};

} // namespace net
