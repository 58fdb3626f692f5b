#pragma once
// Helpers of the network tests: loopback peers run on their own threads with
// blocking POSIX calls, so that the socket under test is the only
// asynchronous party. Nothing here talks outside 127.0.0.0/8.
#include "net/loop/eventloop.h"
#include "net/socket/resolver.h"
#include "net/socket/wsocket.h"
#include "net/sys/socketapi.h"
#include "tests/support/core/thrown.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace nettest
{

const char *backendName(net::EventLoop::Backend backend);

// Pumps the loop until the condition holds or the safety limit passes.
bool pumpUntil(net::EventLoop &loop, const std::function<bool()> &done, int limitMs = 10000);
// Pumps for the given time.
void pumpFor(net::EventLoop &loop, int ms);

// CPU time of the calling thread, in milliseconds.
double threadCpuMs();

// Deterministic bytes of a given size.
QByteArray pattern(int size, unsigned seed = 1);

// A listening TCP socket on 127.0.0.1 whose first connection is handed to a
// script running on a thread of its own.
class LoopbackServer
{
public:
    using Script = std::function<void(int fd)>;
    explicit LoopbackServer(Script script);
    ~LoopbackServer();
    int port() const { return m_port; }
    QString portText() const { return QString::number(m_port); }
    // Waits for the script to finish.
    void join();
    bool finished() const { return m_finished; }

private:
    int m_listenFd = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
};

// Blocking helpers for peers.
bool sendAll(int fd, const char *data, size_t len);
// Reads until the end of the stream; false on an error (errno kept).
bool readAll(int fd, QByteArray &out);
// A 127.0.0.1 port nothing listens on.
int closedPort();

using vorn_test::thrownMessage;

// Fixture parameterised by backend: the loop is the thread's current one.
class BackendTest : public ::testing::TestWithParam<net::EventLoop::Backend>
{
protected:
    BackendTest() : m_scope(GetParam()) {}
    net::EventLoop &loop() { return m_scope.loop(); }

private:
    net::LoopScope m_scope;
};

// A backend test with the helpers every socket test uses.
class SocketTest : public BackendTest
{
protected:
    // Connects to 127.0.0.1:port and pumps until connected.
    void connectTo(net::TCustomWSocket &socket, int port);
    // Appends what arrives to the buffer.
    static void collectInto(net::TCustomWSocket &socket, QByteArray &into);
};

// A loopback server body that echoes everything back until the client ends
// its side.
void echo(int fd);

// Installs resolvers for one test and puts the guard back after.
class ResolverOverride
{
public:
    // A null resolver keeps the one in place (the guard), never the system's.
    ResolverOverride(net::ForwardResolver forward, net::ReverseResolver reverse = nullptr)
        : m_forward(forward ? net::setForwardResolver(std::move(forward)) : net::forwardResolver()),
          m_reverse(reverse ? net::setReverseResolver(std::move(reverse)) : net::reverseResolver())
    {
    }
    ~ResolverOverride()
    {
        net::setForwardResolver(m_forward);
        net::setReverseResolver(m_reverse);
    }

private:
    net::ForwardResolver m_forward;
    net::ReverseResolver m_reverse;
};

// Swaps the socket binding for one test and restores the previous one (the
// traffic guard) after. guarded() gives the binding the test started with.
class ApiOverride
{
public:
    ApiOverride() : m_previous(net::socketApi()) {}
    ~ApiOverride() { net::setSocketApi(m_previous); }
    net::SocketApi &api() { return net::socketApi(); }
    const net::SocketApi &guarded() const { return m_previous; }

private:
    net::SocketApi m_previous;
};

// Counts, for one test, the descriptors the socket layer makes and has not
// closed since (the peers' own descriptors are not counted).
class OpenDescriptors
{
public:
    OpenDescriptors();
    int count() const { return *m_count; }

private:
    ApiOverride m_api;
    std::shared_ptr<std::atomic<int>> m_count = std::make_shared<std::atomic<int>>(0);
};

// A poll loop for tests that need one but no backend parameter.
class LoopScopeHolder
{
public:
    LoopScopeHolder() : m_scope(net::EventLoop::Backend::Poll) {}
    net::EventLoop &loop() { return m_scope.loop(); }

private:
    net::LoopScope m_scope;
};

std::string backendParamName(const ::testing::TestParamInfo<net::EventLoop::Backend> &info);

} // namespace nettest

#define NET_INSTANTIATE_BACKENDS(Suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Backends, Suite,                                                                           \
        ::testing::Values(net::EventLoop::Backend::Qt, net::EventLoop::Backend::Poll),             \
        nettest::backendParamName)
