// Waits that run the loop until a flag is set, on both loop backends.
#include "net/socket/wsocket.h"
#include "tests/net/net_support.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace net;
using namespace nettest;

namespace
{

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class SyncWait : public BackendTest
{
};

TEST_P(SyncWait, DoneTimeOutAndQuit)
{
    TWSocket socket;
    bool done = false;
    loop().startTimer(
        300, [&] { done = true; }, true);
    double cpu = threadCpuMs();
    Clock::time_point start = Clock::now();
    EXPECT_EQ(socket.WaitUntilReady(done), 0);
    long long elapsed = msSince(start);
    cpu = threadCpuMs() - cpu;
    // The loop's timers may round a millisecond down.
    EXPECT_GE(elapsed, 295);
    EXPECT_LT(elapsed, 400);
    EXPECT_LT(cpu, 30.0) << "the wait sleeps in the loop";

    done = false;
    socket.SetWaitTimeout(200);
    start = Clock::now();
    EXPECT_EQ(socket.WaitUntilReady(done), 12001);
    elapsed = msSince(start);
    EXPECT_GE(elapsed, 200);
    EXPECT_LT(elapsed, 300);

    socket.SetWaitTimeout(0);
    loop().startTimer(
        50, [&] { loop().requestQuit(); }, true);
    EXPECT_EQ(socket.WaitUntilReady(done), 12001);
    EXPECT_TRUE(socket.Terminated());
    loop().clearQuit();
}

TEST_P(SyncWait, SynchronizeConnects)
{
    LoopbackServer server([](int fd) {
        char c;
        while (::recv(fd, &c, 1, 0) > 0) {
        }
    });
    TWSocket socket;
    bool connected = true;
    socket.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t error) {
        EXPECT_EQ(error, 0);
        connected = true;
    };
    socket.SetWaitTimeout(10000);
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(server.portText());
    EXPECT_EQ(socket.Synchronize([&] { socket.Connect(); }, connected), 0);
    EXPECT_EQ(socket.State(), wsConnected);
    socket.Close();
}

NET_INSTANTIATE_BACKENDS(SyncWait);

} // namespace
