#include "net/loop/eventloop.h"

#include "net/loop/pollloop.h"
#include "net/loop/qtloop.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>
#include <exception>

Q_LOGGING_CATEGORY(lcNetLoop, "vorn.net.loop")

namespace net
{

namespace
{
thread_local EventLoop *t_current = nullptr;
// The loop made on first use on the application's thread; freed with the
// application object, before Qt's own objects go.
std::unique_ptr<EventLoop> g_mainLoop;

void freeMainLoop()
{
    if (t_current == g_mainLoop.get())
        t_current = nullptr;
    g_mainLoop.reset();
}
} // namespace

void LoopInbox::post(const PostedMessage &message)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return;
    m_queue.push_back(message);
    if (m_wake)
        m_wake();
}

EventLoop::EventLoop() : m_inbox(std::make_shared<LoopInbox>()), m_owner(std::this_thread::get_id())
{
}

EventLoop::~EventLoop()
{
    std::lock_guard lock(m_inbox->m_mutex);
    m_inbox->m_closed = true;
    m_inbox->m_wake = nullptr;
    m_inbox->m_queue.clear();
}

EventLoop *EventLoop::current()
{
    if (t_current != nullptr)
        return t_current;
    QCoreApplication *app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() == app->thread() && !g_mainLoop &&
        !QCoreApplication::closingDown()) {
        g_mainLoop = create(Backend::Qt);
        t_current = g_mainLoop.get();
        qAddPostRoutine(freeMainLoop);
    }
    return t_current;
}

std::unique_ptr<EventLoop> EventLoop::create(Backend backend)
{
    if (backend == Backend::Qt)
        return std::make_unique<QtEventLoop>();
    return std::make_unique<PollEventLoop>();
}

TargetId EventLoop::registerTarget(MessageHandler handler)
{
    TargetId id = m_nextTarget++;
    m_targets.emplace(id, std::make_shared<MessageHandler>(std::move(handler)));
    return id;
}

void EventLoop::unregister(TargetId id)
{
    m_targets.erase(id);
}

bool EventLoop::isRegistered(TargetId id) const
{
    return m_targets.count(id) != 0;
}

void EventLoop::post(TargetId target, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    m_posted.push_back(PostedMessage{target, msg, wParam, lParam});
    postedOne();
}

void EventLoop::postFromAnyThread(TargetId target, unsigned msg, std::uintptr_t wParam,
                                  std::intptr_t lParam)
{
    m_inbox->post(PostedMessage{target, msg, wParam, lParam});
}

void EventLoop::setWake(std::function<void()> wake)
{
    std::lock_guard lock(m_inbox->m_mutex);
    m_inbox->m_wake = std::move(wake);
}

void EventLoop::takeInbox()
{
    // Taken under the lock, without a queue of its own: a deque allocates as
    // soon as it exists, and most rounds find the inbox empty.
    std::lock_guard lock(m_inbox->m_mutex);
    if (m_inbox->m_queue.empty())
        return;
    for (const PostedMessage &message : m_inbox->m_queue)
        m_posted.push_back(message);
    m_inbox->m_queue.clear();
}

void EventLoop::deliverPosted()
{
    takeInbox();
    size_t count = m_posted.size();
    while (count-- > 0 && !m_posted.empty()) {
        PostedMessage message = m_posted.front();
        m_posted.pop_front();
        auto found = m_targets.find(message.target);
        if (found == m_targets.end())
            continue;
        std::shared_ptr<MessageHandler> handler = found->second;
        guarded([&] { (*handler)(message.msg, message.wParam, message.lParam); });
    }
}

void EventLoop::guarded(const std::function<void()> &call)
{
    ++m_activity;
    try {
        call();
    } catch (const std::exception &e) {
        qCWarning(lcNetLoop, "exception stopped at the event loop: %s", e.what());
        if (m_exceptionHook)
            m_exceptionHook(e.what());
    } catch (...) {
        qCWarning(lcNetLoop, "unknown exception stopped at the event loop");
        if (m_exceptionHook)
            m_exceptionHook("unknown exception");
    }
}

LoopScope::LoopScope(EventLoop::Backend backend) : LoopScope(EventLoop::create(backend)) {}

LoopScope::LoopScope(std::unique_ptr<EventLoop> loop)
    : m_loop(std::move(loop)), m_previous(t_current)
{
    t_current = m_loop.get();
}

LoopScope::~LoopScope()
{
    t_current = m_previous;
    m_loop.reset();
}

} // namespace net
