// Listening, duplicated handles, datagrams, multicast, raw sockets, reverse
// look-ups, moving a socket between threads, and the waits that pump.
#include "net/socket/wsocket.h"
#include "tests/net/net_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace net;
using namespace nettest;

namespace
{

class WSocketExtra : public SocketTest
{
};

TEST_P(WSocketExtra, ListenerDupsAcceptedHandleAndServesCurl)
{
    if (std::system("command -v curl >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "curl is not installed (scripts/install-deps adds it)";
    TWSocket listener;
    listener.SetAddr(QStringLiteral("127.0.0.1"));
    listener.SetPort(QStringLiteral("0"));
    listener.Listen();
    ASSERT_EQ(listener.State(), wsListening);
    QString port = listener.GetXPort();
    ASSERT_NE(port, QStringLiteral("error"));
    ASSERT_NE(port, QStringLiteral("0"));
    EXPECT_EQ(listener.GetXAddr(), QStringLiteral("127.0.0.1"));

    const QByteArray body = pattern(200000, 9);
    const QByteArray response = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
                                "Content-Length: " +
                                QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                                body;
    TWSocket served;
    QByteArray request;
    bool answered = false;
    std::vector<TSocketState> servedStates;
    served.OnChangeState = [&](TCustomWSocket *, TSocketState, TSocketState to) {
        servedStates.push_back(to);
    };
    served.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        char buffer[4096];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            request.append(buffer, n);
        if (!answered && request.contains("\r\n\r\n")) {
            answered = true;
            s->Send(response);
        }
    };
    served.OnDataSent = [&](TCustomWSocket *s, std::uint16_t) {
        if (answered)
            s->CloseDelayed();
    };
    listener.OnSessionAvailable = [&](TCustomWSocket *s, std::uint16_t error) {
        EXPECT_EQ(error, 0);
        int fd = s->Accept();
        ASSERT_GE(fd, 0);
        served.Dup(fd);
    };

    QTemporaryDir dir;
    QString out = dir.filePath(QStringLiteral("body.bin"));
    std::atomic<bool> curlDone{false};
    int curlStatus = -1;
    std::thread curl([&] {
        QByteArray command = "curl -s --noproxy '*' --max-time 20 -o '" + out.toUtf8() +
                             "' http://127.0.0.1:" + port.toUtf8() + "/page";
        curlStatus = std::system(command.constData());
        curlDone = true;
    });
    bool finished = pumpUntil(
        loop(), [&] { return curlDone.load(); }, 30000);
    curl.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(curlStatus, 0);
    ASSERT_FALSE(servedStates.empty());
    EXPECT_EQ(servedStates.front(), wsConnected);
    EXPECT_TRUE(request.startsWith("GET /page HTTP/1.1\r\n"));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray got = file.readAll();
    EXPECT_EQ(got.size(), body.size());
    EXPECT_TRUE(got == body);
    listener.Close();
}

TEST_P(WSocketExtra, AcceptOnASocketThatDoesNotListenIsRefused)
{
    TWSocket socket;
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.Accept(); }),
              QStringLiteral("Invalid argument (#10022 in not a listening socket)"));
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.Dup(-1); }),
              QStringLiteral("Invalid argument (#10022 in Dup)"));
}

TEST_P(WSocketExtra, DatagramsBothWays)
{
    TWSocket server;
    server.SetProto(QStringLiteral("udp"));
    server.SetAddr(QStringLiteral("127.0.0.1"));
    server.SetPort(QStringLiteral("0"));
    int connected = -1;
    server.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t e) { connected = e; };
    server.Listen();
    EXPECT_EQ(server.State(), wsConnected);
    EXPECT_EQ(connected, 0);
    QString port = server.GetXPort();

    QByteArray atServer;
    sockaddr_in from{};
    server.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        char buffer[2048];
        int fromLen = sizeof from;
        int n = s->ReceiveFrom(buffer, sizeof buffer, from, fromLen);
        if (n <= 0)
            return;
        atServer = QByteArray(buffer, n);
        QByteArray reply = "re:" + atServer;
        EXPECT_EQ(s->SendTo(from, fromLen, reply.constData(), int(reply.size())), reply.size());
    };

    TWSocket client;
    client.SetProto(QStringLiteral("udp"));
    client.SetAddr(QStringLiteral("127.0.0.1"));
    client.SetPort(port);
    int clientConnected = -1;
    client.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t e) { clientConnected = e; };
    client.Connect();
    EXPECT_EQ(client.State(), wsConnected) << "a datagram socket is ready at once";
    EXPECT_EQ(clientConnected, 0);
    QByteArray atClient;
    collectInto(client, atClient);
    EXPECT_EQ(client.SendStr("hello"), 5);
    ASSERT_TRUE(pumpUntil(loop(), [&] { return atClient == "re:hello"; }));
    EXPECT_EQ(atServer, QByteArray("hello"));
    EXPECT_EQ(QString::number(ntohs(from.sin_port)), client.GetXPort());
    EXPECT_EQ(server.ReadCount(), 5);
    client.Close();
    server.Close();
}

TEST_P(WSocketExtra, RawListenReportsTheMissingOptionOrTheMissingRight)
{
    TWSocket socket;
    socket.SetProto(QStringLiteral("raw_icmp"));
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("0"));
    socket.SetComponentOptions({wsoSIO_RCVALL});
    const QString text = thrownMessage<ESocketException>([&] { socket.Listen(); });
    EXPECT_TRUE(text == QStringLiteral(
                            "Operation not supported on socket (#10045 in WSAIoctl(SIO_RCVALL))") ||
                text == QStringLiteral("Permission denied (#10013 in socket)") ||
                text == QStringLiteral("Operation not supported on socket (#10045 in socket)"))
        << text.toStdString();
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
}

TEST_P(WSocketExtra, ReverseLookupsThroughAFakeResolver)
{
    std::atomic<int> asked{0};
    ResolverOverride fake(
        nullptr, [&](const QString &address, QString &name, QStringList &aliases) {
            ++asked;
            EXPECT_EQ(address, QStringLiteral("127.0.0.1"));
            name = QStringLiteral("loopback.test");
            aliases << QStringLiteral("lo1") << QString() << QStringLiteral("lo2");
            return 0;
        });
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t e) { done.push_back(e); };
    socket.ReverseDnsLookup(QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !done.empty(); }));
    EXPECT_EQ(done[0], 0);
    EXPECT_EQ(socket.DnsResult(), QStringLiteral("loopback.test"));
    EXPECT_EQ(socket.DnsResultList(), (QStringList{QStringLiteral("loopback.test"),
                                                   QStringLiteral("lo1"), QStringLiteral("lo2")}));
    done.clear();
    socket.ReverseDnsLookupSync(QStringLiteral(" 127.0.0.1"));
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 0);
    EXPECT_EQ(asked, 2);

    int errors = 0;
    socket.OnError = [&](TCustomWSocket *) { ++errors; };
    done.clear();
    socket.ReverseDnsLookup(QString(300, QLatin1Char('1')));
    EXPECT_EQ(errors, 1);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 10022);
}

TEST_P(WSocketExtra, ReverseLookupOfLoopbackByTheSystemWhenTheHostsFileNamesIt)
{
    QFile hosts(QStringLiteral("/etc/hosts"));
    if (!hosts.open(QIODevice::ReadOnly) ||
        !QString::fromLatin1(hosts.readAll())
             .contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*127\\.0\\.0\\.1\\s"))))
        GTEST_SKIP()
            << "the hosts file does not name 127.0.0.1: a real query would leave the machine";
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket *, std::uint16_t e) { done.push_back(e); };
    socket.ReverseDnsLookup(QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(pumpUntil(loop(), [&] { return !done.empty(); }));
    EXPECT_EQ(done[0], 0);
    EXPECT_FALSE(socket.DnsResult().isEmpty());
    EXPECT_EQ(socket.DnsResultList().value(0), socket.DnsResult());
}

TEST_P(WSocketExtra, SocketMovesToAnotherThreadAndBack)
{
    LoopbackServer server(echo);
    TWSocket socket;
    connectTo(socket, server.port());

    QString refused;
    std::thread intruder([&] {
        try {
            socket.ThreadDetach();
        } catch (const ESocketException &e) {
            refused = e.Message();
        }
    });
    intruder.join();
    EXPECT_EQ(refused, QStringLiteral("Cannot detach from other thread"));
    EXPECT_EQ(thrownMessage<ESocketException>([&] { socket.ThreadAttach(); }),
              QStringLiteral("Cannot attach when not detached"));

    socket.ThreadDetach();
    EXPECT_EQ(socket.Handle(), 0u);
    EXPECT_EQ(
        thrownMessage<ESocketException>([&] { socket.DnsLookup(QStringLiteral("localhost")); }),
        QStringLiteral("DNS Lookup: Window not assigned"));

    QByteArray atWorker;
    bool workerOk = false;
    auto backend = GetParam();
    std::thread worker([&] {
        LoopScope scope(backend);
        socket.ThreadAttach();
        collectInto(socket, atWorker);
        socket.SendStr("from the worker");
        workerOk = pumpUntil(scope.loop(), [&] { return atWorker == "from the worker"; });
        socket.ThreadDetach();
    });
    worker.join();
    EXPECT_TRUE(workerOk);

    socket.ThreadAttach();
    QByteArray atMain;
    collectInto(socket, atMain);
    socket.SendStr("home again");
    ASSERT_TRUE(pumpUntil(loop(), [&] { return atMain == "home again"; }));
    socket.Close();
}

// The most a TCP buffer of this machine may grow to (third field of
// /proc/sys/net/ipv4/tcp_wmem or tcp_rmem), 4 MiB when it cannot be read.
int tcpBufferMax(const char *file)
{
    QFile f(QString::fromLatin1(file));
    if (!f.open(QIODevice::ReadOnly))
        return 4 * 1024 * 1024;
    const QList<QByteArray> fields = f.readAll().simplified().split(' ');
    bool ok = false;
    const int max = fields.size() == 3 ? fields[2].toInt(&ok) : 0;
    return ok && max > 0 ? max : 4 * 1024 * 1024;
}

TEST_P(WSocketExtra, FlushWaitsWithoutSpinning)
{
    QByteArray got;
    LoopbackServer server([&](int fd) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        readAll(fd, got);
    });
    TWSocket socket;
    connectTo(socket, server.port());
    // More than the sender's and the receiver's buffers can hold together,
    // however far loopback lets them grow while the server sleeps.
    const int size = tcpBufferMax("/proc/sys/net/ipv4/tcp_wmem") +
                     tcpBufferMax("/proc/sys/net/ipv4/tcp_rmem") + 8 * 1024 * 1024;
    const QByteArray payload = pattern(size, 11);
    socket.Send(payload);
    EXPECT_FALSE(socket.AllSent()) << size << " bytes cannot all fit in the kernel at once";
    double cpuBefore = threadCpuMs();
    socket.Flush();
    double cpu = threadCpuMs() - cpuBefore;
    EXPECT_TRUE(socket.AllSent());
    EXPECT_EQ(socket.BufferedByteCount(), 0);
    EXPECT_LT(cpu, 250.0);
    socket.Close();
    server.join();
    EXPECT_TRUE(got == payload);
}

TEST_P(WSocketExtra, WaitForCloseReadsTheRestWithoutSpinning)
{
    LoopbackServer server([](int fd) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sendAll(fd, "fifty bytes of farewell, then the connection ends.", 50);
    });
    TWSocket socket;
    QByteArray got;
    collectInto(socket, got);
    connectTo(socket, server.port());
    double cpuBefore = threadCpuMs();
    socket.WaitForClose();
    double cpu = threadCpuMs() - cpuBefore;
    EXPECT_EQ(got, QByteArray("fifty bytes of farewell, then the connection ends."));
    EXPECT_LT(cpu, 100.0);
    socket.Close();
}

TEST_P(WSocketExtra, CustomKeepAliveValuesReachTheKernel)
{
    LoopbackServer server(echo);
    TWSocket socket;
    EXPECT_EQ(
        std::tuple(socket.KeepAliveOnOff(), socket.KeepAliveTime(), socket.KeepAliveInterval()),
        std::tuple(wsKeepAliveOnSystem, 30000, 1000));
    socket.SetKeepAliveOnOff(wsKeepAliveOnCustom);
    socket.SetKeepAliveTime(5500);
    socket.SetKeepAliveInterval(200);
    connectTo(socket, server.port());
    int value = 0;
    socklen_t len = sizeof value;
    ASSERT_EQ(::getsockopt(socket.HSocket(), SOL_SOCKET, SO_KEEPALIVE, &value, &len), 0);
    EXPECT_EQ(value, 1);
    ASSERT_EQ(::getsockopt(socket.HSocket(), IPPROTO_TCP, TCP_KEEPIDLE, &value, &len), 0);
    EXPECT_EQ(value, 6) << "milliseconds round up to whole seconds";
    ASSERT_EQ(::getsockopt(socket.HSocket(), IPPROTO_TCP, TCP_KEEPINTVL, &value, &len), 0);
    EXPECT_EQ(value, 1) << "never below one second";
    socket.Close();
}

NET_INSTANTIATE_BACKENDS(WSocketExtra);

// Multicast needs a network of its own: the test runs itself again inside a
// private network namespace (loopback up, multicast on, a route for
// 224.0.0.0/4), so that no datagram leaves the machine.
TEST(WSocketExtraMulticast, GroupMembersReceiveWhatIsSentToTheGroup)
{
    if (qEnvironmentVariableIsEmpty("VORN_NET_IN_NETNS")) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VORN_NET_IN_NETNS"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        QString self = QCoreApplication::applicationFilePath();
        QString script = QStringLiteral("ip link set lo up && ip link set lo multicast on && "
                                        "ip route add 224.0.0.0/4 dev lo || exit 77; "
                                        "exec \"$0\" --gtest_filter=WSocketExtraMulticast.*");
        child.start(QStringLiteral("unshare"), {QStringLiteral("-n"), QStringLiteral("sh"),
                                                QStringLiteral("-c"), script, self});
        if (!child.waitForStarted(5000))
            GTEST_SKIP() << "unshare is not available";
        child.waitForFinished(120000);
        QByteArray output = child.readAll();
        if (child.exitStatus() == QProcess::NormalExit &&
            (child.exitCode() == 77 || output.contains("unshare failed") ||
             output.contains("unshare:")))
            GTEST_SKIP() << "no private network namespace can be made here: "
                         << output.trimmed().toStdString();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    for (auto backend : {EventLoop::Backend::Qt, EventLoop::Backend::Poll}) {
        LoopScope scope(backend);
        TWSocket member;
        member.SetProto(QStringLiteral("udp"));
        member.SetAddr(QStringLiteral("0.0.0.0"));
        member.SetPort(QStringLiteral("0"));
        member.SetMultiCast(true);
        member.SetMultiCastAddrStr(QStringLiteral("239.7.7.7"));
        member.SetReuseAddr(true);
        member.Listen();
        ASSERT_EQ(member.State(), wsConnected);
        QByteArray got;
        member.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
            char buffer[2048];
            sockaddr_in from{};
            int fromLen = sizeof from;
            int n = s->ReceiveFrom(buffer, sizeof buffer, from, fromLen);
            if (n > 0)
                got = QByteArray(buffer, n);
        };
        TWSocket sender;
        sender.SetProto(QStringLiteral("udp"));
        sender.SetAddr(QStringLiteral("239.7.7.7"));
        sender.SetPort(member.GetXPort());
        sender.SetLocalAddr(QStringLiteral("127.0.0.1"));
        sender.SetMultiCast(true);
        sender.SetMultiCastIpTTL(3);
        sender.Connect();
        ASSERT_EQ(sender.State(), wsConnected);
        unsigned char ttl = 0;
        socklen_t len = sizeof ttl;
        ASSERT_EQ(::getsockopt(sender.HSocket(), IPPROTO_IP, IP_MULTICAST_TTL, &ttl, &len), 0);
        EXPECT_EQ(ttl, 3);
        in_addr iface{};
        len = sizeof iface;
        ASSERT_EQ(::getsockopt(sender.HSocket(), IPPROTO_IP, IP_MULTICAST_IF, &iface, &len), 0);
        EXPECT_EQ(iface.s_addr, htonl(INADDR_LOOPBACK));
        sender.SendStr("to the group");
        EXPECT_TRUE(pumpUntil(
            scope.loop(), [&] { return got == "to the group"; }, 5000))
            << backendName(backend);
    }
}

} // namespace
