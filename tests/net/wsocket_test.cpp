// The asynchronous socket against loopback peers, on both loop backends.
#include "net/socket/wsocket.h"
#include "net/sys/wsockerr.h"
#include "tests/net/http_support.h"
#include "tests/net/net_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>
#include <utility>

using namespace net;
using namespace nettest;

namespace
{

class WSocket : public SocketTest
{
};

TEST_P(WSocket, SixteenMegabytesComeBackExactWithOneDataSent)
{
    LoopbackServer server(echo);
    TWSocket socket;
    QByteArray received;
    int dataSent = 0;
    collectInto(socket, received);
    socket.OnDataSent = [&](TCustomWSocket *, std::uint16_t error) {
        EXPECT_EQ(error, 0);
        ++dataSent;
    };
    connectTo(socket, server.port());
    // The connection itself reports "ready to send" once.
    EXPECT_EQ(dataSent, 1);
    dataSent = 0;
    const QByteArray payload = pattern(16 * 1024 * 1024);
    EXPECT_EQ(socket.Send(payload), payload.size());
    ASSERT_TRUE(pumpUntil(
        loop(), [&] { return received.size() >= payload.size(); }, 60000));
    pumpFor(loop(), 30);
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);
    EXPECT_EQ(dataSent, 1);
    EXPECT_EQ(socket.ReadCount(), payload.size());
    socket.Close();
}

TEST_P(WSocket, EmptySendGivesOneDataSent)
{
    LoopbackServer server(echo);
    TWSocket socket;
    int dataSent = 0;
    socket.OnDataSent = [&](TCustomWSocket *, std::uint16_t) { ++dataSent; };
    connectTo(socket, server.port());
    pumpFor(loop(), 20);
    dataSent = 0;
    EXPECT_EQ(socket.Send(nullptr, 0), 0);
    EXPECT_EQ(dataSent, 0) << "the notification must come from the loop";
    pumpFor(loop(), 50);
    EXPECT_EQ(dataSent, 1);
    socket.Close();
}

TEST_P(WSocket, SendWhileConnectingIsRefusedAndClosesTheSocket)
{
    LoopbackServer server(echo);
    {
        TWSocket socket;
        socket.SetAddr(QStringLiteral("127.0.0.1"));
        socket.SetPort(server.portText());
        socket.Connect();
        ASSERT_EQ(socket.State(), wsConnecting);
        EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.Send("abc", 3); }),
                  QStringLiteral("Socket is not connected (#10057 in Send)"));
        EXPECT_EQ(socket.State(), wsClosed);
    }
    TWSocket socket;
    int errors = 0;
    std::vector<int> closed;
    socket.OnError = [&](TCustomWSocket *) { ++errors; };
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t e) { closed.push_back(e); };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(server.portText());
    socket.Connect();
    EXPECT_EQ(socket.Send("abc", 3), -1);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(socket.LastError(), 10057);
    ASSERT_EQ(closed, std::vector<int>{10057});
    EXPECT_EQ(socket.State(), wsClosed);
}

TEST_P(WSocket, CloseAfterDataSentLetsThePeerReadEverything)
{
    QByteArray got;
    bool cleanEnd = false;
    LoopbackServer server([&](int fd) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        cleanEnd = readAll(fd, got);
    });
    TWSocket socket;
    connectTo(socket, server.port());
    socket.OnDataSent = [](TCustomWSocket *s, std::uint16_t) { s->Close(); };
    const QByteArray payload = pattern(16 * 1024 * 1024, 7);
    socket.Send(payload);
    ASSERT_TRUE(pumpUntil(
        loop(), [&] { return server.finished(); }, 60000));
    server.join();
    EXPECT_TRUE(cleanEnd) << "the peer saw a reset";
    EXPECT_EQ(got.size(), payload.size());
    EXPECT_TRUE(got == payload);
    EXPECT_EQ(socket.State(), wsClosed);
}

TEST_P(WSocket, AbortResetsTheConnection)
{
    int readError = 0;
    ssize_t readResult = 1;
    LoopbackServer server([&](int fd) {
        char buffer[16];
        readResult = ::recv(fd, buffer, sizeof buffer, 0);
        readError = errno;
    });
    TWSocket socket;
    connectTo(socket, server.port());
    socket.Abort();
    EXPECT_EQ(socket.State(), wsClosed);
    server.join();
    EXPECT_EQ(readResult, -1);
    EXPECT_EQ(readError, ECONNRESET);
}

// nginx on a free loopback port, configured and run in a temporary folder.
class NginxPeer
{
public:
    explicit NginxPeer(const QByteArray &file)
    {
        QString nginx = QStandardPaths::findExecutable(
            QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
        if (nginx.isEmpty()) {
            m_skip = "nginx is not installed (scripts/install-deps adds nginx-light)";
            return;
        }
        QDir dir(m_dir.path());
        dir.mkpath(QStringLiteral("www"));
        dir.mkpath(QStringLiteral("tmp"));
        auto write = [&dir](const char *name, const QByteArray &bytes) {
            QFile f(dir.filePath(QLatin1String(name)));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        };
        write("www/big.bin", file);
        m_port = closedPort();
        QString d = m_dir.path();
        QString conf = QStringLiteral("daemon off;\nmaster_process off;\nworker_processes 1;\n"
                                      "error_log %1/error.log;\npid %1/nginx.pid;\n"
                                      "events { worker_connections 32; }\n"
                                      "http {\n access_log off;\n client_body_temp_path %1/tmp;\n"
                                      " proxy_temp_path %1/tmp;\n fastcgi_temp_path %1/tmp;\n"
                                      " uwsgi_temp_path %1/tmp;\n scgi_temp_path %1/tmp;\n"
                                      " server { listen 127.0.0.1:%2; root %1/www; }\n}\n")
                           .arg(d)
                           .arg(m_port);
        write("nginx.conf", conf.toUtf8());
        m_process.setProgram(nginx);
        m_process.setArguments({QStringLiteral("-p"), d, QStringLiteral("-c"),
                                dir.filePath(QStringLiteral("nginx.conf")), QStringLiteral("-e"),
                                dir.filePath(QStringLiteral("error.log"))});
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            m_skip = "nginx did not start";
            return;
        }
        for (int i = 0; i < 250; ++i) {
            int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_port = htons(static_cast<std::uint16_t>(m_port));
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            bool up = ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
            ::close(fd);
            if (up) {
                m_ready = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        m_skip = "nginx did not listen";
    }
    ~NginxPeer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    bool ready() const { return m_ready; }
    const char *skipReason() const { return m_skip; }
    int port() const { return m_port; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    bool m_ready = false;
    const char *m_skip = "";
};

TEST_P(WSocket, RawGetFromNginxReturnsTheFileExactly)
{
    const QByteArray file = pattern(16 * 1024 * 1024, 3);
    NginxPeer nginx(file);
    if (!nginx.ready())
        GTEST_SKIP() << nginx.skipReason();
    TWSocket socket;
    QByteArray response;
    bool closed = false;
    collectInto(socket, response);
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t) { closed = true; };
    connectTo(socket, nginx.port());
    socket.SendStr("GET /big.bin HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    ASSERT_TRUE(pumpUntil(
        loop(), [&] { return closed; }, 60000));
    int headerEnd = response.indexOf("\r\n\r\n");
    ASSERT_GT(headerEnd, 0);
    EXPECT_TRUE(response.startsWith("HTTP/1.1 200"));
    QByteArray body = response.mid(headerEnd + 4);
    EXPECT_EQ(body.size(), file.size());
    EXPECT_TRUE(body == file);
}

TEST_P(WSocket, ChangingThePortWhileConnectedIsRefused)
{
    LoopbackServer server(echo);
    TWSocket socket;
    connectTo(socket, server.port());
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.SetPort(QStringLiteral("81")); }),
              QStringLiteral("Cannot change Port if not closed"));
    int errors = 0;
    socket.OnError = [&](TCustomWSocket *) { ++errors; };
    EXPECT_NO_THROW(socket.SetPort(QStringLiteral("82")));
    EXPECT_NO_THROW(socket.SetAddr(QStringLiteral("127.0.0.2")));
    EXPECT_EQ(errors, 2);
    EXPECT_EQ(socket.Port(), server.portText());
    EXPECT_EQ(socket.Addr(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(socket.State(), wsConnected);
    socket.Close();
    // Closed: the defaults are back and the values can be set again.
    EXPECT_EQ(socket.Proto(), QStringLiteral("tcp"));
    EXPECT_EQ(socket.LocalAddr(), QStringLiteral("0.0.0.0"));
    socket.SetPort(QStringLiteral(" 82 "));
    EXPECT_EQ(socket.Port(), QStringLiteral("82"));
}

TEST_P(WSocket, LookupOfLocalhostAndOfADottedAddress)
{
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t e) { done.push_back(e); };
    socket.DnsLookup(QStringLiteral("localhost"));
    EXPECT_TRUE(done.empty()) << "a name look-up must answer through the loop";
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !done.empty(); }));
    EXPECT_EQ(done[0], 0);
    EXPECT_EQ(socket.DnsResult(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(socket.DnsResultList().contains(QStringLiteral("127.0.0.1")));

    int asked = 0;
    ResolverOverride fake([&](const QString &, QStringList &) {
        ++asked;
        return 11001;
    });
    // An address, in the short forms of the conversion too, is answered at once.
    for (const auto &[name, address] :
         {std::pair{"127.0.0.5", "127.0.0.5"}, std::pair{"127.1", "127.0.0.1"}}) {
        done.clear();
        socket.DnsLookup(QLatin1String(name));
        ASSERT_EQ(done, std::vector<int>{0}) << name;
        EXPECT_EQ(socket.DnsResult(), QLatin1String(address));
        EXPECT_EQ(socket.DnsResultList(), QStringList{QLatin1String(address)});
    }
    EXPECT_EQ(asked, 0);

    // An empty name is refused at once.
    done.clear();
    int errors = 0;
    socket.OnError = [&](TCustomWSocket *) { ++errors; };
    socket.DnsLookup(QString());
    EXPECT_EQ(errors, 1);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 10022);
}

// A resolver that blocks until released.
struct BlockingResolver {
    std::mutex mutex;
    std::condition_variable cv;
    bool released = false;
    std::atomic<int> calls{0};
    void release()
    {
        std::lock_guard lock(mutex);
        released = true;
        cv.notify_all();
    }
    int resolve(QStringList &out)
    {
        ++calls;
        std::unique_lock lock(mutex);
        cv.wait(lock, [this] { return released; });
        out << QStringLiteral("10.9.8.7");
        return 0;
    }
};

TEST_P(WSocket, CancelledLookupReportsOnceAndDropsTheLateAnswer)
{
    auto blocker = std::make_shared<BlockingResolver>();
    ResolverOverride fake(
        [blocker](const QString &, QStringList &out) { return blocker->resolve(out); });
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t e) { done.push_back(e); };
    socket.DnsLookup(QStringLiteral("slow.example"));
    ASSERT_TRUE(pumpUntil(loop(), [&] { return blocker->calls == 1; }));
    socket.CancelDnsLookup();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 10004);
    blocker->release();
    pumpFor(loop(), 100);
    EXPECT_EQ(done.size(), 1u);
    EXPECT_TRUE(socket.DnsResult().isEmpty());
}

// No thread can be made for a look-up: the request is refused at once with
// its own text, nothing stays pending and a later look-up works.
TEST_P(WSocket, LookupThatCannotStartSaysSo)
{
    int asked = 0;
    ResolverOverride fake(
        [&](const QString &, QStringList &out) {
            ++asked;
            out << QStringLiteral("127.0.0.9");
            return 0;
        },
        [&](const QString &, QString &name, QStringList &) {
            ++asked;
            name = QStringLiteral("loopback.test");
            return 0;
        });
    LookupWorkerStarter previous = setLookupWorkerStarter([](std::function<void()>) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t e) { done.push_back(e); };
    EXPECT_EQ(
        thrownMessage<ESocketException>([&] { socket.DnsLookup(QStringLiteral("host.test")); }),
        QStringLiteral("host.test: can't start DNS lookup - No buffer "
                       "space available (#10055)"));
    EXPECT_EQ(thrownMessage<ESocketException>(
                  [&] { socket.ReverseDnsLookup(QStringLiteral("127.0.0.1")); }),
              QStringLiteral("127.0.0.1: can't start reverse DNS lookup - No "
                             "buffer space available (#10055)"));
    // Nothing was left pending: cancelling reports nothing.
    socket.CancelDnsLookup();
    pumpFor(loop(), 50);
    EXPECT_TRUE(done.empty());
    EXPECT_EQ(asked, 0);

    setLookupWorkerStarter(previous);
    socket.DnsLookup(QStringLiteral("host.test"));
    ASSERT_TRUE(pumpUntil(loop(), [&] { return done.size() == 1; }));
    EXPECT_EQ(done[0], 0);
    EXPECT_EQ(socket.DnsResult(), QStringLiteral("127.0.0.9"));
}

TEST_P(WSocket, LookupAnswerAfterTheSocketDiedIsHarmless)
{
    auto blocker = std::make_shared<BlockingResolver>();
    ResolverOverride fake(
        [blocker](const QString &, QStringList &out) { return blocker->resolve(out); });
    {
        auto socket = std::make_unique<TWSocket>();
        int done = 0;
        socket->OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t) { ++done; };
        socket->DnsLookup(QStringLiteral("slow.example"));
        ASSERT_TRUE(pumpUntil(loop(), [&] { return blocker->calls == 1; }));
        socket.reset();
        EXPECT_EQ(done, 0) << "a dying socket reports nothing";
    }
    blocker->release();
    pumpFor(loop(), 100);
}

TEST_P(WSocket, InjectedSocketAndConnectFailures)
{
    ApiOverride api;
    api.api().socket = [](int, int, int) {
        errno = EMFILE;
        return -1;
    };
    TWSocket socket;
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("80"));
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.Connect(); }),
              QStringLiteral("Too many open files (#10024 in Connect (socket))"));

    api.api() = api.guarded();
    api.api().connect = [](int, const sockaddr *, socklen_t) {
        errno = ENETUNREACH;
        return -1;
    };
    int errors = 0;
    socket.OnError = [&](TCustomWSocket *) { ++errors; };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("80"));
    socket.Connect();
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(socket.LastError(), 10051);
    EXPECT_EQ(GetWinsockErr(socket.LastError()), QStringLiteral("Network is unreachable (#10051)"));
    socket.OnError = nullptr;
    socket.Close();
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("80"));
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.Connect(); }),
              QStringLiteral("Network is unreachable (#10051 in Connect)"));
    socket.Close();
}

TEST_P(WSocket, BrokenPipeInTheMiddleOfTheQueueClosesOnce)
{
    LoopbackServer server([](int fd) {
        char buffer[4096];
        while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    });
    ApiOverride api;
    auto sent = std::make_shared<int>(0);
    api.api().send = [sent](int fd, const void *buf, size_t len, int flags) -> ssize_t {
        if (*sent >= 5000) {
            errno = EPIPE;
            return -1;
        }
        ssize_t n = ::send(fd, buf, len, flags | MSG_NOSIGNAL);
        if (n > 0)
            *sent += static_cast<int>(n);
        return n;
    };
    TWSocket socket;
    std::vector<int> closed;
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t e) { closed.push_back(e); };
    connectTo(socket, server.port());
    socket.Send(pattern(20000));
    pumpFor(loop(), 100);
    ASSERT_EQ(closed, std::vector<int>{10053});
    EXPECT_EQ(socket.State(), wsClosed);
}

TEST_P(WSocket, ShortWritesAndWouldBlockKeepTheStreamIntact)
{
    LoopbackServer server(echo);
    ApiOverride api;
    auto rng = std::make_shared<std::mt19937>(42);
    api.api().send = [rng](int fd, const void *buf, size_t len, int flags) -> ssize_t {
        unsigned pick = (*rng)() % 4;
        if (pick == 0) {
            errno = EAGAIN;
            return -1;
        }
        size_t part = std::min<size_t>(len, 1 + (*rng)() % 700);
        return ::send(fd, buf, part, flags | MSG_NOSIGNAL);
    };
    TWSocket socket;
    QByteArray received;
    int dataSent = 0;
    collectInto(socket, received);
    socket.OnDataSent = [&](TCustomWSocket *, std::uint16_t) { ++dataSent; };
    connectTo(socket, server.port());
    const QByteArray first = pattern(300000, 5);
    const QByteArray second = pattern(123457, 6);
    socket.Send(first);
    socket.Send(second);
    ASSERT_TRUE(pumpUntil(
        loop(), [&] { return received.size() >= first.size() + second.size(); }, 60000));
    EXPECT_TRUE(received == first + second);
    EXPECT_GE(dataSent, 1);
    socket.Close();
}

TEST_P(WSocket, HandlerThatReadsNothingDoesNotSpin)
{
    LoopbackServer server([](int fd) {
        sendAll(fd, pattern(100).constData(), 100);
        char c;
        ::recv(fd, &c, 1, 0);
    });
    TWSocket socket;
    int offered = 0;
    socket.OnDataAvailable = [&](TCustomWSocket *, std::uint16_t) { ++offered; };
    connectTo(socket, server.port());
    int ticks = 0;
    TimerId timer = loop().startTimer(10, [&] { ++ticks; });
    double cpuBefore = threadCpuMs();
    pumpFor(loop(), 2000);
    double cpu = threadCpuMs() - cpuBefore;
    loop().stopTimer(timer);
    EXPECT_GE(offered, 1);
    EXPECT_LE(offered, 2);
    EXPECT_GT(ticks, 50) << "timers must keep firing";
    EXPECT_LT(cpu, 100.0);
    char buffer[200];
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 100);
    EXPECT_EQ(QByteArray(buffer, 100), pattern(100));
    socket.Close();
}

TEST_P(WSocket, PauseHoldsNotificationsAndResumeDeliversWhatWaits)
{
    std::atomic<bool> go{false};
    LoopbackServer server([&](int fd) {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sendAll(fd, "waiting", 7);
        char c;
        ::recv(fd, &c, 1, 0);
    });
    TWSocket socket;
    QByteArray received;
    collectInto(socket, received);
    connectTo(socket, server.port());
    socket.Pause();
    go = true;
    pumpFor(loop(), 150);
    EXPECT_TRUE(received.isEmpty()) << "paused sockets report nothing";
    socket.Resume();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return received == "waiting"; }));
    socket.Close();
}

TEST_P(WSocket, StaleEventsAfterDescriptorReuseAreDropped)
{
    LoopbackServer first(echo);
    LoopbackServer second(echo);
    TWSocket socket;
    connectTo(socket, first.port());
    const int oldFd = socket.HSocket();
    std::uint32_t oldGeneration = socket.Generation();
    // A close asked for the first connection, still queued when it ends.
    socket.CloseDelayed();
    socket.Close();
    connectTo(socket, second.port());
    EXPECT_NE(socket.Generation(), oldGeneration);
    // A close notification of the old connection carrying the descriptor
    // number the socket holds now: the number is usually reused, but another
    // thread may have taken it, so the current one is what must be tested.
    EXPECT_GE(oldFd, 0);
    loop().post(socket.Handle(), WM_ASYNCSELECT,
                (static_cast<std::uintptr_t>(oldGeneration) << 32) |
                    static_cast<unsigned>(socket.HSocket()),
                FD_CLOSE);
    pumpFor(loop(), 50);
    EXPECT_EQ(socket.State(), wsConnected);
    QByteArray received;
    collectInto(socket, received);
    socket.SendStr("still here");
    ASSERT_TRUE(pumpUntil(loop(), [&] { return received == "still here"; }));
    // A delayed close of the current connection does close it.
    socket.CloseDelayed();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return socket.State() == wsClosed; }));
}

TEST_P(WSocket, BackgroundExceptionReachesTheHandlerAndAborts)
{
    LoopbackServer server(echo);
    TWSocket socket;
    QString seen;
    bool keep = true;
    socket.OnBgException = [&](TCustomWSocket *, const std::exception &e, bool &canClose) {
        seen = QString::fromUtf8(e.what());
        canClose = !keep;
    };
    connectTo(socket, server.port());
    loop().post(socket.Handle(), WM_TRIGGER_EXCEPTION);
    pumpFor(loop(), 30);
    EXPECT_EQ(seen, QStringLiteral("Test exception in WSocket"));
    EXPECT_EQ(socket.State(), wsConnected);
    keep = false;
    seen.clear();
    loop().post(socket.Handle(), WM_TRIGGER_EXCEPTION);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return socket.State() == wsClosed; }));
    EXPECT_EQ(seen, QStringLiteral("Test exception in WSocket"));
}

TEST_P(WSocket, ReleaseFreesTheSocketFromTheLoop)
{
    LoopbackServer server(echo);
    auto socket = std::make_unique<TWSocket>();
    connectTo(*socket, server.port());
    int countBefore = WSocketGCount();
    bool closedInHandler = false;
    socket->OnSessionClosed = [&](TCustomWSocket *s, std::uint16_t) {
        closedInHandler = true;
        s->Release();
    };
    TWSocket *raw = socket.release();
    raw->Close();
    EXPECT_TRUE(closedInHandler);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return WSocketGCount() == countBefore - 1; }));
}

TEST_P(WSocket, AConnectionOpenedFromTheCloseHandlerRunsAsAnyOther)
{
    // Reconnecting code opens the next connection from OnSessionClosed,
    // however the last one ended: the new one is reported, stays open, is
    // closed in its turn, and no descriptor is left behind. It goes where its
    // owner set it, directly or through a SOCKS server, whichever way the
    // last one went, though Addr and Port keep their text.
    enum End {
        Here,
        Aborted,
        ByThePeer,
        Refused,
        SendRefused,
        SendFailed,
        SocksRefused,
        SocksLeft,
        InConnected
    };
    // A SOCKS server that connects, then sends data behind its reply.
    auto socksOk = [](const QByteArray &data) {
        const QByteArray reply("\x05\x00\x00\x01\x7F\x00\x00\x01\x1F\x90", 10);
        return std::vector<ServerStep>{nettest::readBytes(3), sendBytes(QByteArray("\x05\x00", 2)),
                                       nettest::readBytes(16), sendBytes(reply + data), hold()};
    };
    const std::vector<ServerStep> socksRefused{nettest::readBytes(3),
                                               sendBytes(QByteArray("\x05\xFF", 2)), hold()};
    const std::vector<ServerStep> socksLeft{nettest::readBytes(3), closeConnection()};
    struct Case {
        const char *what;
        End end;
        bool socksFirst, socksNext;
        std::vector<ServerStep> first;
        std::vector<int> firstConnected;
    } cases[] = {
        {"closed here", Here, false, false, {hold()}, {0}},
        {"aborted", Aborted, false, false, {hold()}, {0}},
        {"closed by the peer", ByThePeer, false, false, {closeConnection()}, {0}},
        {"refused", Refused, false, false, {}, {10061}},
        {"send refused while connecting", SendRefused, false, false, {hold()}, {}},
        {"send failed", SendFailed, false, false, {hold()}, {0}},
        {"refused by the SOCKS server", SocksRefused, true, false, socksRefused, {20003}},
        {"the SOCKS server left", SocksLeft, true, false, socksLeft, {20014}},
        {"closed here through SOCKS", Here, true, false, socksOk({}), {0}},
        {"aborted through SOCKS", Aborted, true, false, socksOk({}), {0}},
        {"closed on SOCKS success, data behind", InConnected, true, false, socksOk("x"), {0}},
        {"closed here, then through SOCKS", Here, false, true, {hold()}, {0}},
        {"SOCKS refusal, then another server", SocksRefused, true, true, socksRefused, {20003}},
    };
    auto attempt = [&](const Case &c) {
        OpenDescriptors descriptors;
        ApiOverride api;
        auto failSend = std::make_shared<bool>(false);
        api.api().send = [failSend, send = api.api().send](int fd, const void *buf, size_t len,
                                                           int flags) -> ssize_t {
            if (std::exchange(*failSend, false)) {
                errno = EPIPE;
                return -1;
            }
            return send(fd, buf, len, flags);
        };
        ScriptedServer first;
        ScriptedServer next;
        first.addConnection(c.first);
        next.addConnection(c.socksNext ? socksOk("next")
                                       : std::vector<ServerStep>{sendBytes("next"), hold()});
        // The same destination text both times: directly, the server that
        // must get the next connection; through SOCKS, only bytes of a request.
        const QString port = QString::number(c.socksFirst       ? next.port()
                                             : c.end == Refused ? closedPort()
                                                                : first.port());
        TWSocket socket;
        std::vector<int> connected;
        int closed = 0;
        int sentBeforeConnected = 0;
        QByteArray received;
        socket.OnError = [](TCustomWSocket *) {};
        socket.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t e) {
            connected.push_back(e);
            if (c.end == InConnected && connected.size() == 1)
                socket.Close();
        };
        collectInto(socket, received);
        socket.OnDataSent = [&](TCustomWSocket *, std::uint16_t) {
            if (socket.State() != wsConnected)
                ++sentBeforeConnected;
        };
        socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t) {
            if (++closed > 1)
                return;
            if (socket.State() != wsClosed)
                socket.Close();
            socket.SetSocksServer(c.socksNext ? QStringLiteral("127.0.0.1") : QString());
            socket.SetSocksPort(c.socksNext ? QString::number(next.port()) : QString());
            socket.SetAddr(QStringLiteral("127.0.0.1"));
            socket.SetPort(c.socksNext ? port : QString::number(next.port()));
            socket.Connect();
        };
        socket.SetAddr(QStringLiteral("127.0.0.1"));
        socket.SetPort(port);
        if (c.socksFirst) {
            socket.SetSocksServer(QStringLiteral("127.0.0.1"));
            socket.SetSocksPort(QString::number(first.port()));
        }
        socket.Connect();
        if (c.end == SendRefused) {
            EXPECT_EQ(socket.Send("x", 1), -1);
            EXPECT_EQ(socket.State(), wsConnecting);
        } else if (c.end == Here || c.end == Aborted || c.end == SendFailed) {
            ASSERT_TRUE(pumpUntil(loop(), [&] { return connected.size() == 1; }));
            if (c.end == Here) {
                socket.Close();
            } else if (c.end == Aborted) {
                socket.Abort();
            } else {
                *failSend = true;
                socket.Send("x", 1);
            }
            EXPECT_EQ(socket.State(), wsConnecting);
        }
        ASSERT_TRUE(pumpUntil(
            loop(),
            [&] {
                return next.connections() == 1 && connected.size() > c.firstConnected.size() &&
                       received.size() >= 4;
            },
            3000));
        pumpFor(loop(), 50);
        std::vector<int> expected = c.firstConnected;
        expected.push_back(0);
        EXPECT_EQ(connected, expected);
        EXPECT_EQ(closed, 1);
        EXPECT_EQ(sentBeforeConnected, 0);
        EXPECT_EQ(socket.State(), wsConnected);
        EXPECT_EQ(first.connections(), c.end == Refused ? 0 : 1);
        EXPECT_EQ(next.requests().size(), c.socksNext ? 2 : 0);
        EXPECT_EQ(received.toStdString(), "next") << "only the next connection's data";
        EXPECT_EQ(descriptors.count(), 1);
        socket.Close();
        EXPECT_EQ(closed, 2);
        EXPECT_EQ(descriptors.count(), 0);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        attempt(c);
    }
}

NET_INSTANTIATE_BACKENDS(WSocket);

// Name and number conversions of the unit: no loop needed.
TEST(WSocketNames, PortsAndProtocols)
{
    EXPECT_EQ(WSocketResolvePort(QStringLiteral("80"), QStringLiteral("tcp")), 80);
    EXPECT_EQ(WSocketResolvePort(QStringLiteral(" 8080"), QStringLiteral("tcp")), 8080);
    EXPECT_EQ(WSocketResolvePort(QStringLiteral("65535"), QStringLiteral("tcp")), 65535);
    EXPECT_EQ(WSocketResolvePort(QStringLiteral("21abc"), QStringLiteral("tcp")), 21);
    EXPECT_EQ(WSocketResolvePort(QStringLiteral("http"), QStringLiteral("tcp")), 80);
    auto portError = [](const QString &port, const QString &proto) {
        return thrownMessage<ESocketException>([&] { WSocketResolvePort(port, proto); });
    };
    const QString invalid = QStringLiteral("Winsock Resolve Port: Invalid Port.");
    EXPECT_EQ(portError(QStringLiteral("99999"), QStringLiteral("tcp")), invalid);
    EXPECT_EQ(portError(QStringLiteral("70000"), QStringLiteral("tcp")), invalid);
    EXPECT_EQ(portError(QStringLiteral("99999999999999999999"), QStringLiteral("tcp")), invalid);
    EXPECT_EQ(portError(QString(), QStringLiteral("tcp")), invalid);
    EXPECT_EQ(portError(QString(40, QLatin1Char('1')), QStringLiteral("tcp")), invalid);
    EXPECT_EQ(portError(QStringLiteral("80"), QString()),
              QStringLiteral("Winsock Resolve Port: Invalid Proto."));
    EXPECT_EQ(portError(QStringLiteral("nosuchservice"), QStringLiteral("tcp")),
              QStringLiteral("Winsock Resolve Port: Cannot convert port 'nosuchservice' - No Data "
                             "(#11004)"));

    EXPECT_EQ(WSocketResolveProto(QStringLiteral("tcp")), 6);
    EXPECT_EQ(WSocketResolveProto(QStringLiteral(" UDP ")), 17);
    EXPECT_EQ(WSocketResolveProto(QStringLiteral("raw")), 255);
    EXPECT_EQ(WSocketResolveProto(QStringLiteral("17")), 17);
    EXPECT_EQ(WSocketResolveProto(QStringLiteral("icmp")), 1);
    EXPECT_THROW(WSocketResolveProto(QString()), ESocketException);
    EXPECT_THROW(WSocketResolveProto(QStringLiteral("nosuchproto")), ESocketException);
}

TEST(WSocketNames, DottedAddresses)
{
    struct Case {
        const char *text;
        bool dotted;
    } cases[] = {
        {"127.0.0.1", true},
        {" 127.0.0.1 ", true},
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"1.2.3.99999999999", false},
        {"1.2.3.256", false},
        {"256.1.1.1", false},
        {"1.2.3", false},
        {"1.2.3.4.5", false},
        {".1.2.3", false},
        {"1.2.3.", false},
        {"1..2.3", false},
        {"1.2.3.4x", false},
        {"1.2.3.4 x", false},
        {"host.example", false},
        {"", false},
        {"   ", false},
        {"4294967296.1.1.1", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WSocketIsDottedIP(QString::fromLatin1(c.text)), c.dotted) << c.text;

    EXPECT_EQ(WSocketResolveHost(QStringLiteral("127.0.0.1")), htonl(0x7F000001));
    EXPECT_EQ(WSocketResolveHost(QStringLiteral(" 10.1.2.3 ")), htonl(0x0A010203));
    EXPECT_EQ(WSocketResolveHost(QStringLiteral("255.255.255.255")), 0xFFFFFFFFu);
    EXPECT_EQ(thrownMessage<ESocketException>([&] { WSocketResolveHost(QString()); }),
              QStringLiteral("Winsock Resolve Host: '' Invalid Hostname."));
    ResolverOverride fake([](const QString &, QStringList &) { return 11001; });
    EXPECT_EQ(thrownMessage<ESocketException>(
                  [&] { WSocketResolveHost(QStringLiteral("nowhere.example")); }),
              QStringLiteral("Winsock Resolve Host: Cannot convert host address "
                             "'nowhere.example' - Host not found (#11001)"));
}

TEST(WSocketNames, LocalHostNameIsTerminated)
{
    ApiOverride api;
    api.api().gethostname = [](char *name, size_t len) {
        std::memset(name, 'h', len);
        return 0;
    };
    QString name = LocalHostName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_LE(name.size(), 64);
    api.api().gethostname = [](char *, size_t) {
        errno = EFAULT;
        return -1;
    };
    EXPECT_THROW(LocalHostName(), ESocketException);
}

} // namespace
