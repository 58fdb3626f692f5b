// The event loop contract, run on both backends, and the translation of
// socket readiness into the platform's notifications.
#include "net/loop/eventloop.h"
#include "net/loop/pollloop.h"
#include "net/socket/wsocket.h"
#include "tests/net/net_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace net;
using namespace nettest;

namespace
{

class NetLoop : public BackendTest
{
};

TEST_P(NetLoop, PostsArriveInOrderAndOnlyForRegisteredTargets)
{
    std::vector<int> seen;
    TargetId target =
        loop().registerTarget([&](unsigned msg, std::uintptr_t wParam, std::intptr_t) {
            EXPECT_EQ(msg, WM_USER + 7);
            seen.push_back(static_cast<int>(wParam));
        });
    TargetId gone = loop().registerTarget([&](unsigned, std::uintptr_t, std::intptr_t) {
        ADD_FAILURE() << "a message reached an unregistered target";
    });
    for (int i = 0; i < 200; ++i) {
        loop().post(target, WM_USER + 7, static_cast<std::uintptr_t>(i));
        loop().post(gone, WM_USER + 7, 0);
    }
    loop().post(987654, WM_USER, 0);
    loop().unregister(gone);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return seen.size() == 200; }));
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(seen[i], i);
    EXPECT_FALSE(loop().isRegistered(gone));
    // Ids are never reused: a late message for the old target stays lost.
    TargetId next = loop().registerTarget([](unsigned, std::uintptr_t, std::intptr_t) {});
    EXPECT_NE(next, gone);
}

TEST_P(NetLoop, PostsFromOtherThreadsArriveInTheirOrder)
{
    constexpr int threads = 4;
    constexpr int perThread = 1000;
    std::vector<std::vector<int>> seen(threads);
    TargetId target =
        loop().registerTarget([&](unsigned, std::uintptr_t wParam, std::intptr_t lParam) {
            seen[static_cast<size_t>(lParam)].push_back(static_cast<int>(wParam));
        });
    std::vector<std::thread> workers;
    EventLoop *l = &loop();
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([l, target, t] {
            for (int i = 0; i < perThread; ++i)
                l->postFromAnyThread(target, WM_USER, static_cast<std::uintptr_t>(i), t);
        });
    for (auto &w : workers)
        w.join();
    ASSERT_TRUE(pumpUntil(loop(), [&] {
        size_t total = 0;
        for (auto &s : seen)
            total += s.size();
        return total == threads * perThread;
    }));
    for (auto &s : seen)
        for (int i = 0; i < perThread; ++i)
            ASSERT_EQ(s[static_cast<size_t>(i)], i);
}

TEST_P(NetLoop, WorkerPostAfterTheLoopIsGoneIsDropped)
{
    std::weak_ptr<LoopInbox> inbox;
    {
        LoopScope inner(GetParam());
        inbox = inner.loop().inbox();
        EXPECT_FALSE(inbox.expired());
    }
    EXPECT_TRUE(inbox.expired());
}

TEST_P(NetLoop, TimersFireRepeatOrOnceAndStop)
{
    int repeated = 0;
    int once = 0;
    TimerId every = loop().startTimer(5, [&] { ++repeated; });
    loop().startTimer(
        5, [&] { ++once; }, true);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return repeated >= 3; }));
    loop().stopTimer(every);
    int stoppedAt = repeated;
    pumpFor(loop(), 60);
    EXPECT_EQ(repeated, stoppedAt);
    EXPECT_EQ(once, 1);
}

TEST_P(NetLoop, HandlerExceptionStopsAtTheBarrier)
{
    std::vector<std::string> stopped;
    loop().setExceptionHook([&](const char *what) { stopped.push_back(what); });
    int after = 0;
    TargetId thrower = loop().registerTarget([](unsigned, std::uintptr_t, std::intptr_t) {
        throw std::runtime_error("boom in handler");
    });
    TargetId next =
        loop().registerTarget([&](unsigned, std::uintptr_t, std::intptr_t) { ++after; });
    loop().post(thrower, WM_USER);
    loop().post(next, WM_USER);
    loop().startTimer(
        1, [] { throw 42; }, true);
    EXPECT_NO_THROW(pumpUntil(loop(), [&] { return after == 1 && stopped.size() == 2; }));
    EXPECT_EQ(after, 1);
    std::sort(stopped.begin(), stopped.end());
    ASSERT_EQ(stopped.size(), 2u);
    EXPECT_EQ(stopped[0], "boom in handler");
    EXPECT_EQ(stopped[1], "unknown exception");
}

TEST_P(NetLoop, IdleWaitSleepsInsteadOfSpinning)
{
    double cpuBefore = threadCpuMs();
    auto start = std::chrono::steady_clock::now();
    loop().waitAndProcess(200);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start)
                       .count();
    double cpu = threadCpuMs() - cpuBefore;
    EXPECT_GE(elapsed, 150);
    EXPECT_LT(elapsed, 3000);
    EXPECT_LT(cpu, 20.0);
}

TEST_P(NetLoop, WaitEndsEarlyWhenAnotherThreadPosts)
{
    bool arrived = false;
    TargetId target =
        loop().registerTarget([&](unsigned, std::uintptr_t, std::intptr_t) { arrived = true; });
    EventLoop *l = &loop();
    std::thread poster([l, target] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        l->postFromAnyThread(target, WM_USER);
    });
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5 && !arrived; ++i)
        loop().waitAndProcess(5000);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start)
                       .count();
    poster.join();
    EXPECT_TRUE(arrived);
    EXPECT_LT(elapsed, 4000);
}

TEST_P(NetLoop, WatchIsLevelTriggeredAndSuspendedWhileItsCallbackRuns)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair), 0);
    int calls = 0;
    int depth = 0;
    int maxDepth = 0;
    WatchId id = loop().watch(pair[0], true, false, [&](bool readable, bool writable) {
        EXPECT_TRUE(readable);
        EXPECT_FALSE(writable);
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        // Nested pumping must not re-enter this watch.
        loop().processPending();
        --depth;
    });
    ASSERT_EQ(::write(pair[1], "x", 1), 1);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return calls >= 1; }));
    // Nothing read: readiness stays and fires again.
    ASSERT_TRUE(pumpUntil(loop(), [&] { return calls >= 3; }));
    EXPECT_EQ(maxDepth, 1);
    loop().setInterest(id, false, false);
    int frozen = calls;
    pumpFor(loop(), 50);
    EXPECT_EQ(calls, frozen);
    loop().setInterest(id, true, false);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return calls > frozen; }));
    loop().unwatch(id);
    frozen = calls;
    pumpFor(loop(), 50);
    EXPECT_EQ(calls, frozen);
    ::close(pair[0]);
    ::close(pair[1]);
}

TEST_P(NetLoop, MessagesPostedInACallbackReachALoopNestedInItAndStarveNothing)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair), 0);
    std::vector<int> seen;
    TargetId target = loop().registerTarget(
        [&](unsigned, std::uintptr_t wParam, std::intptr_t) { seen.push_back(int(wParam)); });
    bool nestedSaw = false;
    WatchId id = loop().watch(pair[0], true, false, [&](bool, bool) {
        char c;
        EXPECT_EQ(::read(pair[0], &c, 1), 1);
        loop().post(target, WM_USER, 1);
        // A loop inside the callback, as a dialog or a synchronous request
        // makes one, hears of what the callback posted before it.
        nestedSaw = pumpUntil(
            loop(), [&] { return !seen.empty(); }, 5000);
        loop().post(target, WM_USER, 2);
        loop().post(target, WM_USER, 3);
    });
    ASSERT_EQ(::write(pair[1], "x", 1), 1);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return seen.size() == 3; }));
    EXPECT_TRUE(nestedSaw);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    loop().unwatch(id);

    // A handler that posts itself without end lets the other events in.
    int rounds = 0;
    bool stop = false;
    TargetId echo = 0;
    echo = loop().registerTarget([&](unsigned, std::uintptr_t, std::intptr_t) {
        ++rounds;
        if (!stop)
            loop().post(echo, WM_USER, 0);
    });
    int watched = 0;
    id = loop().watch(pair[0], true, false, [&](bool, bool) {
        char c;
        EXPECT_EQ(::read(pair[0], &c, 1), 1);
        ++watched;
        stop = true;
    });
    loop().post(echo, WM_USER, 0);
    ASSERT_EQ(::write(pair[1], "y", 1), 1);
    EXPECT_TRUE(pumpUntil(loop(), [&] { return watched == 1; }));
    stop = true;
    pumpFor(loop(), 20);
    EXPECT_GT(rounds, 0);
    loop().unwatch(id);
    ::close(pair[0]);
    ::close(pair[1]);
}

TEST_P(NetLoop, UnwatchInsideItsOwnCallbackIsSafe)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair), 0);
    int calls = 0;
    WatchId id = 0;
    id = loop().watch(pair[0], false, true, [&](bool, bool writable) {
        EXPECT_TRUE(writable);
        ++calls;
        loop().unwatch(id);
    });
    pumpFor(loop(), 60);
    EXPECT_EQ(calls, 1);
    ::close(pair[0]);
    ::close(pair[1]);
}

// Records the order of the notifications a socket receives.
class RecordingSocket : public TWSocket
{
public:
    std::vector<std::string> events;

protected:
    void Do_FD_CONNECT(int error) override
    {
        events.push_back("connect:" + std::to_string(error));
        TWSocket::Do_FD_CONNECT(error);
    }
    void Do_FD_WRITE(int error) override
    {
        events.push_back("write:" + std::to_string(error));
        TWSocket::Do_FD_WRITE(error);
    }
    void Do_FD_READ(int error) override
    {
        events.push_back("read:" + std::to_string(error));
        TWSocket::Do_FD_READ(error);
    }
    void Do_FD_CLOSE(int error) override
    {
        events.push_back("close:" + std::to_string(error));
        TWSocket::Do_FD_CLOSE(error);
    }
};

TEST_P(NetLoop, ConnectGivesConnectThenWrite)
{
    LoopbackServer server([](int fd) {
        char c;
        ::recv(fd, &c, 1, 0);
    });
    RecordingSocket socket;
    int connected = -1;
    socket.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t error) { connected = error; };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(server.portText());
    socket.Connect();
    EXPECT_EQ(socket.State(), wsConnecting);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return socket.events.size() >= 2; }));
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(socket.State(), wsConnected);
    ASSERT_GE(socket.events.size(), 2u);
    EXPECT_EQ(socket.events[0], "connect:0");
    EXPECT_EQ(socket.events[1], "write:0");
    socket.Close();
}

TEST_P(NetLoop, RefusedConnectReportsOnceThenClosesOnce)
{
    RecordingSocket socket;
    std::vector<int> connected;
    std::vector<int> closed;
    socket.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t e) { connected.push_back(e); };
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t e) { closed.push_back(e); };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QString::number(closedPort()));
    socket.Connect();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !closed.empty(); }));
    pumpFor(loop(), 50);
    ASSERT_EQ(connected.size(), 1u);
    EXPECT_EQ(connected[0], 10061);
    EXPECT_EQ(closed.size(), 1u);
    EXPECT_EQ(socket.State(), wsClosed);
    // A refused connect also looks readable: connect must win.
    ASSERT_FALSE(socket.events.empty());
    EXPECT_EQ(socket.events[0], "connect:10061");
}

TEST_P(NetLoop, WaitingBytesAreOfferedBeforeTheCloseNotification)
{
    LoopbackServer server([](int fd) { sendAll(fd, "0123456789", 10); });
    TWSocket socket;
    QByteArray received;
    std::vector<int> closed;
    std::vector<TSocketState> stateAtClose;
    socket.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        char buffer[4];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, n);
    };
    socket.OnSessionClosed = [&](TCustomWSocket *s, std::uint16_t e) {
        closed.push_back(e);
        stateAtClose.push_back(s->State());
    };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(server.portText());
    socket.Connect();
    // Let the peer's bytes and its end arrive together.
    server.join();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !closed.empty(); }));
    pumpFor(loop(), 50);
    EXPECT_EQ(received, QByteArray("0123456789"));
    ASSERT_EQ(closed, std::vector<int>{0});
    EXPECT_EQ(socket.State(), wsClosed);
}

TEST_P(NetLoop, PeerResetReportsConnectionReset)
{
    std::atomic<bool> reset{false};
    LoopbackServer server([&](int fd) {
        // Wait until the client has connected, then reset.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        linger hard{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        reset = true;
    });
    TWSocket socket;
    std::vector<int> closed;
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t e) { closed.push_back(e); };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(server.portText());
    socket.Connect();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !closed.empty(); }));
    pumpFor(loop(), 30);
    ASSERT_EQ(closed, std::vector<int>{10054});
    EXPECT_EQ(socket.State(), wsClosed);
}

NET_INSTANTIATE_BACKENDS(NetLoop);

} // namespace

namespace
{

TEST(NetLoopPoll, TimersFollowTheInjectedClock)
{
    std::int64_t now = 1000;
    LoopScope scope(std::make_unique<PollEventLoop>([&now] { return now; }));
    int fired = 0;
    scope.loop().startTimer(500, [&] { ++fired; });
    scope.loop().processPending();
    EXPECT_EQ(fired, 0);
    now += 499;
    scope.loop().processPending();
    EXPECT_EQ(fired, 0);
    now += 1;
    scope.loop().processPending();
    EXPECT_EQ(fired, 1);
    // Next due 500 ms after it fired, not after it was due.
    now += 499;
    scope.loop().processPending();
    EXPECT_EQ(fired, 1);
    now += 1;
    scope.loop().processPending();
    EXPECT_EQ(fired, 2);
}

TEST(NetLoopPoll, ComponentWindowsAreTargetsOfTheThreadLoop)
{
    LoopScope scope(EventLoop::Backend::Poll);
    int got = 0;
    TargetId window = AllocateHWnd([&](unsigned msg, std::uintptr_t, std::intptr_t) {
        EXPECT_EQ(msg, WM_USER + 1);
        ++got;
    });
    ASSERT_NE(window, 0u);
    scope.loop().post(window, WM_USER + 1);
    scope.loop().processPending();
    EXPECT_EQ(got, 1);
    DeallocateHWnd(window);
    scope.loop().post(window, WM_USER + 1);
    scope.loop().processPending();
    EXPECT_EQ(got, 1);
    std::thread bare(
        [] { EXPECT_EQ(AllocateHWnd([](unsigned, std::uintptr_t, std::intptr_t) {}), 0u); });
    bare.join();
}

} // namespace
