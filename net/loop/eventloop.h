#pragma once
// The event loop of the network classes: it stands in for the hidden windows,
// the posted messages and the socket notifications of the original platform.
// One loop per thread, reached with EventLoop::current(). Two backends keep
// the same contract: Qt's event loop (production; works before exec() and is
// pumped by the application's ProcessMessages) and poll() (headless tools and
// tests). Every handler runs behind an exception barrier: nothing a handler
// throws reaches Qt or the caller of processPending().
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace net
{

using TargetId = std::uint64_t;
using WatchId = std::uint64_t;
using TimerId = std::uint64_t;

// First message number of a target's own messages, as on the platform.
constexpr unsigned WM_USER = 1024;

using MessageHandler =
    std::function<void(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)>;
// Called with the kinds of readiness (among those asked for) seen at once.
using WatchCallback = std::function<void(bool readable, bool writable)>;
using TimerCallback = std::function<void()>;

struct PostedMessage {
    TargetId target = 0;
    unsigned msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Messages posted from other threads. Workers hold it through a weak
// reference, so a worker that outlives its loop posts into nothing.
class LoopInbox
{
public:
    // Thread-safe; wakes the loop. Dropped once the loop is gone.
    void post(const PostedMessage &message);

private:
    friend class EventLoop;
    std::mutex m_mutex;
    std::deque<PostedMessage> m_queue;
    std::function<void()> m_wake;
    bool m_closed = false;
};

class EventLoop
{
public:
    enum class Backend { Qt, Poll };

    virtual ~EventLoop();
    EventLoop(const EventLoop &) = delete;
    EventLoop &operator=(const EventLoop &) = delete;

    // The calling thread's loop. On the application's main thread a Qt loop
    // is made on first use; elsewhere nullptr until a LoopScope installs one.
    static EventLoop *current();
    static std::unique_ptr<EventLoop> create(Backend backend);
    virtual Backend backend() const = 0;

    // A target stands in for a hidden window: messages posted to it reach
    // its handler; a message for an unregistered id is dropped. Ids are
    // never reused.
    TargetId registerTarget(MessageHandler handler);
    void unregister(TargetId id);
    bool isRegistered(TargetId id) const;

    // FIFO on the loop's thread.
    void post(TargetId target, unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // From any thread while the loop lives.
    void postFromAnyThread(TargetId target, unsigned msg, std::uintptr_t wParam = 0,
                           std::intptr_t lParam = 0);
    std::weak_ptr<LoopInbox> inbox() const { return m_inbox; }

    // Level-triggered readiness of a descriptor. While a watch's callback
    // runs, the watch is suspended, so nested pumping cannot re-enter it.
    virtual WatchId watch(int fd, bool read, bool write, WatchCallback callback) = 0;
    virtual void setInterest(WatchId id, bool read, bool write) = 0;
    virtual void unwatch(WatchId id) = 0;

    virtual TimerId startTimer(int intervalMs, TimerCallback callback, bool singleShot = false) = 0;
    virtual void stopTimer(TimerId id) = 0;

    // Runs what is ready now, once (the message pump's ProcessMessages).
    virtual void processPending() = 0;
    // Blocks until something happens or maxMs pass, then runs what is ready.
    virtual void waitAndProcess(int maxMs) = 0;

    // A quit request seen by the loop (the platform's quit message).
    bool quitRequested() const { return m_quit; }
    void requestQuit() { m_quit = true; }
    void clearQuit() { m_quit = false; }

    // Observes what the barrier stopped (tests); the default only traces.
    using ExceptionHook = std::function<void(const char *what)>;
    void setExceptionHook(ExceptionHook hook) { m_exceptionHook = std::move(hook); }

    std::thread::id ownerThread() const { return m_owner; }

protected:
    EventLoop();
    // Installs the backend's wake-up for cross-thread posts.
    void setWake(std::function<void()> wake);
    // Moves cross-thread posts into the queue.
    void takeInbox();
    bool hasPosted() const { return !m_posted.empty(); }
    // Delivers the messages queued now (not those their handlers post).
    void deliverPosted();
    // Runs a handler behind the barrier.
    void guarded(const std::function<void()> &call);
    // Called when a post must wake the backend (Qt posts a drain event).
    virtual void postedOne() {}
    // Handlers run so far: a wait ends once this moves.
    std::uint64_t activity() const { return m_activity; }
    bool m_quit = false;

private:
    std::unordered_map<TargetId, std::shared_ptr<MessageHandler>> m_targets;
    std::deque<PostedMessage> m_posted;
    std::shared_ptr<LoopInbox> m_inbox;
    TargetId m_nextTarget = 1;
    ExceptionHook m_exceptionHook;
    std::thread::id m_owner;
    std::uint64_t m_activity = 0;
};

// Installs a loop as the calling thread's current one for its lifetime and
// restores the previous one after.
class LoopScope
{
public:
    explicit LoopScope(EventLoop::Backend backend);
    explicit LoopScope(std::unique_ptr<EventLoop> loop);
    ~LoopScope();
    LoopScope(const LoopScope &) = delete;
    LoopScope &operator=(const LoopScope &) = delete;
    EventLoop &loop() { return *m_loop; }

private:
    std::unique_ptr<EventLoop> m_loop;
    EventLoop *m_previous;
};

} // namespace net
