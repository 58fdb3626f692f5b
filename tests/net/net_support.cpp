#include "tests/net/net_support.h"
#include "tests/support/core/loopback.h"

#include "net/socket/resolver.h"

#include <QFile>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nettest
{

const char *backendName(net::EventLoop::Backend backend)
{
    return backend == net::EventLoop::Backend::Qt ? "Qt" : "Poll";
}

std::string backendParamName(const ::testing::TestParamInfo<net::EventLoop::Backend> &info)
{
    return backendName(info.param);
}

bool pumpUntil(net::EventLoop &loop, const std::function<bool()> &done, int limitMs)
{
    auto start = std::chrono::steady_clock::now();
    while (!done()) {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        if (elapsed > limitMs)
            return false;
        loop.waitAndProcess(20);
    }
    return true;
}

void pumpFor(net::EventLoop &loop, int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end)
        loop.waitAndProcess(static_cast<int>(
            std::max<long long>(1, std::chrono::duration_cast<std::chrono::milliseconds>(
                                       end - std::chrono::steady_clock::now())
                                       .count())));
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

QByteArray pattern(int size, unsigned seed)
{
    QByteArray data(size, '\0');
    unsigned x = seed * 2654435761u + 12345u;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        data[i] = static_cast<char>(x >> 16);
    }
    return data;
}

LoopbackServer::LoopbackServer(Script script)
{
    m_listenFd = vorn_test::listenOnLoopback(5, m_port);
    int listenFd = m_listenFd;
    m_thread = std::thread([this, listenFd, script] {
        int fd = ::accept(listenFd, nullptr, nullptr);
        if (fd >= 0) {
            script(fd);
            ::close(fd);
        }
        m_finished = true;
    });
}

LoopbackServer::~LoopbackServer()
{
    if (m_thread.joinable()) {
        // Unblocks an accept that never got its connection.
        ::shutdown(m_listenFd, SHUT_RDWR);
        m_thread.join();
    }
    ::close(m_listenFd);
}

void LoopbackServer::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool sendAll(int fd, const char *data, size_t len)
{
    while (len > 0) {
        ssize_t n = ::send(fd, data, len, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, QByteArray &out)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out.append(buffer, static_cast<int>(n));
    }
}

int closedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

namespace
{

// Whether a line of the hosts file (its fields) matches: the only look-ups
// the real resolver may answer without asking a name server.
bool hostsFileHas(const std::function<bool(const QStringList &)> &match)
{
    QFile hosts(QStringLiteral("/etc/hosts"));
    if (!hosts.open(QIODevice::ReadOnly))
        return false;
    while (!hosts.atEnd()) {
        QString line = QString::fromLatin1(hosts.readLine()).section(QLatin1Char('#'), 0, 0);
        QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 2 && match(fields))
            return true;
    }
    return false;
}

// An address the hosts file maps.
bool hostsFileMaps(const QString &address)
{
    return hostsFileHas([&](const QStringList &fields) { return fields.first() == address; });
}

// A name the hosts file gives an address to.
bool hostsFileNames(const QString &host)
{
    return hostsFileHas([&](const QStringList &fields) {
        return fields.mid(1).contains(host, Qt::CaseInsensitive);
    });
}

// Loopback only; multicast groups only inside the test's private network.
bool allowedDestination(const sockaddr *addr)
{
    if (addr == nullptr || addr->sa_family != AF_INET)
        return true;
    std::uint32_t a = ntohl(reinterpret_cast<const sockaddr_in *>(addr)->sin_addr.s_addr);
    if ((a >> 24) == 127)
        return true;
    return (a >> 28) == 0xE && !qEnvironmentVariableIsEmpty("VORN_NET_IN_NETNS");
}

// No test may send a real name query or reach outside the machine: every
// binary of the network tests runs behind this guard.
class GuardResolverEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        net::SocketApi api = net::defaultSocketApi();
        api.connect = [connect = api.connect](int fd, const sockaddr *addr, socklen_t len) {
            if (!allowedDestination(addr)) {
                ADD_FAILURE() << "a test connected outside the loopback network";
                errno = ENETUNREACH;
                return -1;
            }
            return connect(fd, addr, len);
        };
        api.sendto = [sendto = api.sendto](int fd, const void *buf, size_t len, int flags,
                                           const sockaddr *to, socklen_t tolen) -> ssize_t {
            if (!allowedDestination(to)) {
                ADD_FAILURE() << "a test sent a datagram outside the loopback network";
                errno = ENETUNREACH;
                return -1;
            }
            return sendto(fd, buf, len, flags, to, tolen);
        };
        net::setSocketApi(api);
        net::setForwardResolver([](const QString &host, QStringList &addresses) {
            if (host != QLatin1String("localhost")) {
                ADD_FAILURE() << "a test asked the real resolver for " << host.toStdString();
                return 11001;
            }
            // Without a hosts entry the system would ask a name server.
            if (!hostsFileNames(host)) {
                addresses << QStringLiteral("127.0.0.1");
                return 0;
            }
            return net::systemForwardResolve(host, addresses);
        });
        net::setReverseResolver([](const QString &address, QString &name, QStringList &aliases) {
            if (!hostsFileMaps(address)) {
                ADD_FAILURE() << "a test asked the real resolver for " << address.toStdString();
                return 11001;
            }
            return net::systemReverseResolve(address, name, aliases);
        });
    }
};

[[maybe_unused]] ::testing::Environment *const g_guard =
    ::testing::AddGlobalTestEnvironment(new GuardResolverEnvironment);

} // namespace

void SocketTest::connectTo(net::TCustomWSocket &socket, int port)
{
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QString::number(port));
    socket.Connect();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return socket.State() == net::wsConnected; }));
}

void SocketTest::collectInto(net::TCustomWSocket &socket, QByteArray &into)
{
    socket.OnDataAvailable = [&into](net::TCustomWSocket *s, std::uint16_t) {
        char buffer[16384];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            into.append(buffer, n);
    };
}

OpenDescriptors::OpenDescriptors()
{
    net::SocketApi &api = m_api.api();
    api.socket = [make = api.socket, count = m_count](int domain, int type, int protocol) {
        int fd = make(domain, type, protocol);
        if (fd >= 0)
            ++*count;
        return fd;
    };
    api.close = [close = api.close, count = m_count](int fd) {
        int result = close(fd);
        if (result == 0)
            --*count;
        return result;
    };
}

void echo(int fd)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        if (!sendAll(fd, buffer, static_cast<size_t>(n)))
            return;
    }
}

} // namespace nettest
