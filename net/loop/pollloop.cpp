#include "net/loop/pollloop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace net
{

PollEventLoop::PollEventLoop(ClockFn clock) : m_clock(std::move(clock))
{
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    int fd = m_wakeFd;
    setWake([fd] {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(fd, &one, sizeof one);
    });
}

PollEventLoop::~PollEventLoop()
{
    setWake(nullptr);
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

std::int64_t PollEventLoop::now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

WatchId PollEventLoop::watch(int fd, bool read, bool write, WatchCallback callback)
{
    WatchId id = m_nextWatch++;
    m_watches.emplace(
        id, Watch{fd, read, write, false, std::make_shared<WatchCallback>(std::move(callback))});
    return id;
}

void PollEventLoop::setInterest(WatchId id, bool read, bool write)
{
    auto found = m_watches.find(id);
    if (found == m_watches.end())
        return;
    found->second.read = read;
    found->second.write = write;
}

void PollEventLoop::unwatch(WatchId id)
{
    m_watches.erase(id);
}

TimerId PollEventLoop::startTimer(int intervalMs, TimerCallback callback, bool singleShot)
{
    TimerId id = m_nextTimer++;
    intervalMs = std::max(0, intervalMs);
    m_timers.emplace(id, Timer{intervalMs, now() + intervalMs, singleShot,
                               std::make_shared<TimerCallback>(std::move(callback))});
    return id;
}

void PollEventLoop::stopTimer(TimerId id)
{
    m_timers.erase(id);
}

void PollEventLoop::processPending()
{
    runOnce(0);
}

void PollEventLoop::waitAndProcess(int maxMs)
{
    takeInbox();
    if (hasPosted()) {
        runOnce(0);
        return;
    }
    int timeout = std::max(0, maxMs);
    std::int64_t t = now();
    for (const auto &entry : m_timers)
        timeout = static_cast<int>(
            std::min<std::int64_t>(timeout, std::max<std::int64_t>(0, entry.second.due - t)));
    runOnce(timeout);
}

void PollEventLoop::runOnce(int timeoutMs)
{
    std::vector<pollfd> fds;
    std::vector<WatchId> ids;
    fds.push_back(pollfd{m_wakeFd, POLLIN, 0});
    for (const auto &[id, w] : m_watches) {
        if (w.busy || (!w.read && !w.write))
            continue;
        short events = 0;
        if (w.read)
            events |= POLLIN;
        if (w.write)
            events |= POLLOUT;
        fds.push_back(pollfd{w.fd, events, 0});
        ids.push_back(id);
    }
    int ready;
    do {
        ready = ::poll(fds.data(), fds.size(), timeoutMs);
    } while (ready < 0 && errno == EINTR && timeoutMs == 0);
    if (ready > 0) {
        if (fds[0].revents != 0) {
            std::uint64_t count;
            while (::read(m_wakeFd, &count, sizeof count) > 0) {
            }
        }
        for (size_t i = 1; i < fds.size(); ++i) {
            short revents = fds[i].revents;
            if (revents == 0 || (revents & POLLNVAL))
                continue;
            WatchId id = ids[i - 1];
            auto found = m_watches.find(id);
            // A callback that ran before may have dropped or replaced this watch.
            if (found == m_watches.end() || found->second.fd != fds[i].fd || found->second.busy)
                continue;
            bool problem = (revents & (POLLERR | POLLHUP)) != 0;
            bool readable = found->second.read && ((revents & POLLIN) || problem);
            bool writable = found->second.write && ((revents & POLLOUT) || problem);
            if (!readable && !writable)
                continue;
            std::shared_ptr<WatchCallback> callback = found->second.callback;
            found->second.busy = true;
            guarded([&] { (*callback)(readable, writable); });
            found = m_watches.find(id);
            if (found != m_watches.end())
                found->second.busy = false;
        }
    }
    fireTimers();
    deliverPosted();
}

void PollEventLoop::fireTimers()
{
    std::int64_t t = now();
    std::vector<TimerId> due;
    for (const auto &[id, timer] : m_timers)
        if (timer.due <= t)
            due.push_back(id);
    for (TimerId id : due) {
        auto found = m_timers.find(id);
        if (found == m_timers.end())
            continue;
        std::shared_ptr<TimerCallback> callback = found->second.callback;
        if (found->second.singleShot)
            m_timers.erase(found);
        else
            found->second.due = t + std::max(1, found->second.interval);
        guarded([&] { (*callback)(); });
    }
}

} // namespace net
