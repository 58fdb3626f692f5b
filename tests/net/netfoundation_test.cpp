// Send blocks, error numbers and texts, the binding's version rule, and the
// logger.
#include "net/log/netlogger.h"
#include "net/socket/wsocket.h"
#include "net/sys/socketapi.h"
#include "net/sys/wsockbuf.h"
#include "net/sys/wsockerr.h"
#include "tests/net/net_support.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <random>
#include <thread>
#include <sys/resource.h>
#include <unistd.h>

using namespace net;

namespace
{

TEST(NetFoundation, BufferBlockSizesAndCounts)
{
    TBuffer block(0);
    EXPECT_EQ(block.BufSize, 1514);
    QByteArray data = nettest::pattern(2000);
    EXPECT_EQ(block.Write(data.constData(), 2000), 1514);
    EXPECT_EQ(block.WrCount, 1514);
    EXPECT_EQ(block.Write(data.constData(), 10), 0) << "a full block takes nothing";
    int len = 0;
    const char *p = block.Peek(len);
    ASSERT_EQ(len, 1514);
    EXPECT_EQ(QByteArray(p, len), data.left(1514));
    EXPECT_EQ(block.Remove(14), 14);
    p = block.Peek(len);
    EXPECT_EQ(len, 1500);
    EXPECT_EQ(QByteArray(p, 4), data.mid(14, 4));
    EXPECT_EQ(block.Remove(5000), 1500);
    EXPECT_EQ(std::tuple(block.RdCount, block.WrCount), std::tuple(0, 0));
    EXPECT_EQ(block.Peek(len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(block.Remove(1), 0);
}

TEST(NetFoundation, BufferResizeKeepsQueuedBytesAndRefusesToDropThem)
{
    TBuffer block(10);
    block.Write("abcdefgh", 8);
    block.Remove(2);
    EXPECT_FALSE(block.SetBufSize(5)) << "would drop written bytes";
    EXPECT_EQ(block.BufSize, 10);
    EXPECT_TRUE(block.SetBufSize(20));
    EXPECT_EQ(block.BufSize, 20);
    int len = 0;
    const char *p = block.Peek(len);
    EXPECT_EQ(QByteArray(p, len), QByteArray("cdefgh"));
    EXPECT_EQ(block.Write("ijklmnopqrstuvwxyz", 18), 12);
}

TEST(NetFoundation, BufferRandomOperationsKeepTheInvariantAndTheBytes)
{
    std::mt19937 rng(7);
    TBuffer block(97);
    QByteArray model;
    QByteArray source = nettest::pattern(100000);
    int offset = 0;
    for (int step = 0; step < 20000; ++step) {
        if (rng() % 2 == 0) {
            int want = static_cast<int>(rng() % 60);
            int took = block.Write(source.constData() + offset, want);
            EXPECT_EQ(took, std::min(want, 97 - (block.WrCount - took)));
            model.append(source.constData() + offset, took);
            offset = (offset + took) % 50000;
        } else {
            int want = static_cast<int>(rng() % 60);
            int removed = block.Remove(want);
            model.remove(0, removed);
        }
        ASSERT_LE(0, block.RdCount);
        ASSERT_LE(block.RdCount, block.WrCount);
        ASSERT_LE(block.WrCount, block.BufSize);
        int len = 0;
        const char *p = block.Peek(len);
        ASSERT_EQ(QByteArray(p, len), model);
        if (model.isEmpty()) {
            ASSERT_EQ(block.WrCount, 0);
        }
    }
}

TEST(NetFoundation, EveryErrorNumberHasItsText)
{
    const std::pair<int, const char *> table[] = {
        {0, "No Error"},
        {10004, "Interrupted system call"},
        {10009, "Bad file number"},
        {10013, "Permission denied"},
        {10014, "Bad address"},
        {10022, "Invalid argument"},
        {10024, "Too many open files"},
        {10035, "Operation would block"},
        {10036, "Operation now in progress"},
        {10037, "Operation already in progress"},
        {10038, "Socket operation on non-socket"},
        {10039, "Destination address required"},
        {10040, "Message too long"},
        {10041, "Protocol wrong type for socket"},
        {10042, "Protocol not available"},
        {10043, "Protocol not supported"},
        {10044, "Socket type not supported"},
        {10045, "Operation not supported on socket"},
        {10046, "Protocol family not supported"},
        {10047, "Address family not supported by protocol family"},
        {10048, "Address already in use"},
        {10049, "Address not available"},
        {10050, "Network is down"},
        {10051, "Network is unreachable"},
        {10052, "Network dropped connection on reset"},
        {10053, "Connection aborted"},
        {10054, "Connection reset by peer"},
        {10055, "No buffer space available"},
        {10056, "Socket is already connected"},
        {10057, "Socket is not connected"},
        {10058, "Can't send after socket shutdown"},
        {10059, "Too many references: can't splice"},
        {10060, "Connection timed out"},
        {10061, "Connection refused"},
        {10062, "Too many levels of symbolic links"},
        {10063, "File name too long"},
        {10064, "Host is down"},
        {10065, "No route to host"},
        {10066, "Directory not empty"},
        {10067, "Too many processes"},
        {10068, "Too many users"},
        {10069, "Disc quota exceeded"},
        {10070, "Stale NFS file handle"},
        {10071, "Too many levels of remote in path"},
        {10091, "Network sub-system is unusable"},
        {10092, "WinSock DLL cannot support this application"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11002, "Non-authoritative host not found"},
        {11003, "Non-recoverable error"},
        {11004, "No Data"},
    };
    for (const auto &[code, text] : table)
        EXPECT_EQ(WSocketErrorDesc(code), QString::fromLatin1(text)) << code;
    for (int other : {-1, 1, 10000, 10001, 10010, 10072, 10090, 10094, 11000, 11005, 65535})
        EXPECT_EQ(WSocketErrorDesc(other), QStringLiteral("Not a WinSock error")) << other;
    EXPECT_EQ(GetWinsockErr(10061), QStringLiteral("Connection refused (#10061)"));
}

TEST(NetFoundation, ErrnoValuesMapToPlatformNumbers)
{
    const std::pair<int, int> table[] = {
        {EINTR, 10004},           {EBADF, 10009},        {EACCES, 10013},
        {EPERM, 10013},           {EFAULT, 10014},       {EINVAL, 10022},
        {EMFILE, 10024},          {ENFILE, 10024},       {EALREADY, 10037},
        {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},
        {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
        {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},
        {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},        {ENETUNREACH, 10051},  {ENETRESET, 10052},
        {ECONNABORTED, 10053},    {EPIPE, 10053},        {ECONNRESET, 10054},
        {ENOBUFS, 10055},         {ENOMEM, 10055},       {EISCONN, 10056},
        {ENOTCONN, 10057},        {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},
        {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061}, {ELOOP, 10062},
        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},
        {ENOTEMPTY, 10066},       {EUSERS, 10068},       {EDQUOT, 10069},
        {ESTALE, 10070},          {EREMOTE, 10071},      {EAGAIN, 10035},
    };
    for (const auto &[err, code] : table)
        EXPECT_EQ(errnoToWsa(err), code) << "errno " << err;
    // Linux numbers above 34 are not the BSD ones: 10000 + errno is wrong.
    EXPECT_NE(errnoToWsa(ECONNREFUSED), 10000 + ECONNREFUSED);
    EXPECT_EQ(errnoToWsa(EINPROGRESS, ErrnoContext::Connect), 10035);
    EXPECT_EQ(errnoToWsa(EINPROGRESS), 10036);
    EXPECT_EQ(errnoToWsa(EXDEV), 10022) << "anything unknown is an invalid argument";
    EXPECT_EQ(errnoToWsa(ENOSPC), 10022);

    EXPECT_EQ(eaiToWsa(EAI_NONAME), 11001);
    EXPECT_EQ(eaiToWsa(EAI_AGAIN), 11002);
    EXPECT_EQ(eaiToWsa(EAI_FAIL), 11003);
    EXPECT_EQ(eaiToWsa(EAI_NODATA), 11004);
    EXPECT_EQ(eaiToWsa(EAI_ADDRFAMILY), 11004);
    EXPECT_EQ(eaiToWsa(EAI_MEMORY), 10055);
    EXPECT_EQ(eaiToWsa(EAI_SYSTEM, ECONNREFUSED), 10061);
    EXPECT_EQ(eaiToWsa(EAI_SERVICE), 11003);

    setLastErrorFromErrno(EXDEV);
    EXPECT_EQ(WSAGetLastError(), 10022);
    EXPECT_EQ(lastRawErrno(), EXDEV) << "the raw value stays for traces";
}

TEST(NetFoundation, VersionCannotChangeWhileTheBindingIsInUse)
{
    nettest::LoopScopeHolder holder;
    int before = WSocketGCount();
    {
        TWSocket socket;
        EXPECT_EQ(WSocketGCount(), before + 1);
        EXPECT_EQ(socket.ReqVerLow(), 1);
        EXPECT_EQ(socket.ReqVerHigh(), 1);
        socket.SetAddr(QStringLiteral("127.0.0.1"));
        socket.SetPort(QString::number(nettest::closedPort()));
        socket.Connect();
        EXPECT_TRUE(socketLibraryLoaded());
        EXPECT_NO_THROW(socket.SetReqVerLow(1)) << "the same value changes nothing";
        EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { socket.SetReqVerLow(2); }),
                  QStringLiteral("Invalid argument (#10022 in SetReqVerLow: WinSock version "
                                 "can't be changed now)"));
        EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { socket.SetReqVerHigh(2); }),
                  QStringLiteral("Invalid argument (#10022 in SetReqVerHigh: WinSock version "
                                 "can't be changed now)"));
        EXPECT_EQ(socket.ReqVerLow(), 1);
        socket.Close();
    }
    EXPECT_EQ(WSocketGCount(), before);
    if (before == 0) {
        // The last socket gone, the binding counts as unloaded again.
        EXPECT_FALSE(socketLibraryLoaded());
        EXPECT_TRUE(setReqVerLow(2));
        EXPECT_EQ(reqVerLow(), 2);
        EXPECT_TRUE(setReqVerLow(1));
    }
}

TEST(NetFoundation, SendFlagsAndDefaults)
{
    nettest::LoopScopeHolder holder;
    TWSocket socket;
    EXPECT_EQ(std::tuple(socket.Proto(), socket.LocalAddr(), socket.LocalPort(),
                         socket.LingerOnOff(), socket.LingerTimeout(), socket.ListenBacklog(),
                         socket.FlushTimeout(), socket.MultiCastIpTTL()),
              std::tuple(QStringLiteral("tcp"), QStringLiteral("0.0.0.0"), QStringLiteral("0"),
                         wsLingerOn, 0, 5, 60, 1));
    EXPECT_TRUE(socket.ComponentOptions().empty());
    EXPECT_EQ(
        std::tuple(socket.KeepAliveOnOff(), socket.KeepAliveTime(), socket.KeepAliveInterval()),
        std::tuple(wsKeepAliveOnSystem, 30000, 1000));
    EXPECT_FALSE(socket.MultiCast());
    EXPECT_FALSE(socket.ReuseAddr());
    EXPECT_FALSE(socket.MultiThreaded());
    EXPECT_EQ(socket.LastError(), 0);
    EXPECT_TRUE(socket.DnsResult().isEmpty());
    static_assert(std::is_same_v<decltype(socket.ReadCount()), std::int64_t>);
    EXPECT_EQ(std::tuple(socket.ReadCount(), socket.State(), socket.SendFlags()),
              std::tuple(0, wsClosed, wsSendNormal));
    socket.SetSendFlags(wsSendUrgent);
    EXPECT_EQ(socket.SendFlags(), wsSendUrgent);
    EXPECT_EQ(nettest::thrownMessage<ESocketException>(
                  [&] { socket.SetSendFlags(static_cast<TSocketSendFlags>(7)); }),
              QStringLiteral("Invalid SendFlags"));
    socket.SetLocalAddr(QString());
    EXPECT_EQ(socket.LocalAddr(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { socket.Connect(); }),
              QStringLiteral("Connect: No Port Specified"));
    socket.SetPort(QStringLiteral("80"));
    EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { socket.Connect(); }),
              QStringLiteral("Connect: No IP Address Specified"));
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("70000"));
    EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { socket.Connect(); }),
              QStringLiteral("connect: Winsock Resolve Port: Invalid Port."));
}

TEST(NetFoundation, NoLoopOnTheThreadMeansNoSocket)
{
    std::thread bare([] {
        EXPECT_EQ(nettest::thrownMessage<ESocketException>([&] { TWSocket socket; }),
                  QStringLiteral("Cannot create a hidden window for TWSocket"));
    });
    bare.join();
}

// --- logger

QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLatin1(file.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The guard every network test runs behind: a name other than "localhost"
// never reaches the system's resolver, and nothing connects or sends outside
// the loopback network. A test that tries fails.
int guardedLookup(const char *host)
{
    QStringList addresses;
    return forwardResolver()(QLatin1String(host), addresses);
}

int guardedConnect(const char *address)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    ::inet_pton(AF_INET, address, &to.sin_addr);
    errno = 0;
    int rc = socketApi().connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to);
    int err = errno;
    ::close(fd);
    return rc == 0 ? 0 : err;
}

int guardedSend(const char *address)
{
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    ::inet_pton(AF_INET, address, &to.sin_addr);
    ssize_t rc = socketApi().sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
    ::close(fd);
    return rc < 0 ? -1 : 0;
}

TEST(NetFoundation, TrafficGuardStopsOutsideNamesAndAddresses)
{
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(guardedLookup("outside.example"), 11001),
                            "real resolver for outside.example");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(guardedConnect("192.0.2.1"), ENETUNREACH),
                            "outside the loopback network");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(guardedSend("198.51.100.7"), -1),
                            "outside the loopback network");

    QStringList addresses;
    EXPECT_EQ(forwardResolver()(QStringLiteral("localhost"), addresses), 0);
    EXPECT_TRUE(addresses.contains(QStringLiteral("127.0.0.1")))
        << addresses.join(' ').toStdString();
    // Loopback stays open: a refused connect is the port's answer, not the guard's.
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(nettest::closedPort()));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(socketApi().connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to), -1);
    EXPECT_EQ(errno, ECONNREFUSED);
    ::close(fd);
}

TEST(NetLogger, FileNeedsANameThenWritesLines)
{
    QTemporaryDir dir;
    TNetLogger logger;
    logger.SetLogOptions({loDestFile});
    EXPECT_EQ(nettest::thrownMessage<ELoggerException>(
                  [&] { logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("lost")); }),
              QStringLiteral("File name empty"));
    // The lock was released: the next call goes through.
    QString path = dir.filePath(QStringLiteral("net.log"));
    logger.SetLogFileName(path);
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("first"));
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("second"));
    EXPECT_EQ(fileLines(path), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    // A disk that takes no more (a file-size limit at the log's size): the
    // failure is said, and the log keeps its lines, with no piece of the new one.
    {
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit full = old;
        full.rlim_cur = rlim_t(QFileInfo(path).size() + 3);
        ::setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_THROW(logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("third")),
                     ELoggerException);
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);
    }
    EXPECT_EQ(fileLines(path), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

TEST(NetLogger, NameChangeClosesAndOverwriteEmptiesOnlyAtOpen)
{
    QTemporaryDir dir;
    QString first = dir.filePath(QStringLiteral("a.log"));
    QString second = dir.filePath(QStringLiteral("b.log"));
    {
        QFile old(second);
        old.open(QIODevice::WriteOnly);
        old.write("old line\r\n");
    }
    TNetLogger logger;
    logger.SetLogOptions({loDestFile});
    logger.SetLogFileName(first);
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("to a"));
    logger.SetLogFileOption(lfoOverwrite);
    logger.SetLogFileName(second);
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("to b 1"));
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("to b 2"));
    EXPECT_EQ(fileLines(first), QStringList{QStringLiteral("to a")});
    EXPECT_EQ(fileLines(second), (QStringList{QStringLiteral("to b 1"), QStringLiteral("to b 2")}));
    // Back to the first file in append mode: its line stays.
    logger.SetLogFileOption(lfoAppend);
    logger.SetLogFileName(first);
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("again"));
    EXPECT_EQ(fileLines(first), (QStringList{QStringLiteral("to a"), QStringLiteral("again")}));
}

TEST(NetLogger, DefaultsAndTheEventBeforeTheFile)
{
    TNetLogger logger;
    EXPECT_EQ(logger.LogFileOption(), lfoAppend);
    EXPECT_TRUE(logger.LogFileName().isEmpty());
    EXPECT_TRUE(logger.LogOptions().empty());
    EXPECT_FALSE(logger.OnNetLogEvent());

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("ordre.log"));
    logger.SetLogFileName(name);
    logger.SetLogOptions({loDestEvent, loDestFile, loDestOutDebug});
    std::vector<qint64> sizeSeenByEvent;
    logger.SetOnNetLogEvent([&](void *, TLogOption, const QString &) {
        sizeSeenByEvent.push_back(QFileInfo(name).size());
    });
    EXPECT_TRUE(logger.OnNetLogEvent());
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("un"));
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("deux"));
    // Each message reaches the event before the file gets its line.
    EXPECT_EQ(sizeSeenByEvent, (std::vector<qint64>{0, 4}));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("un\r\ndeux\r\n"));
}

TEST(NetLogger, DestinationsStampAndFailedOpen)
{
    QTemporaryDir dir;
    TNetLogger logger;
    QStringList events;
    std::vector<TLogOption> options;
    logger.SetOnNetLogEvent([&](void *, TLogOption option, const QString &msg) {
        events << msg;
        options.push_back(option);
    });
    logger.SetLogOptions({loDestEvent, loAddStamp});
    logger.LogMessage(nullptr, loProtSpecInfo, QStringLiteral("stamped"));
    ASSERT_EQ(events.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d stamped$"))
                    .match(events[0])
                    .hasMatch())
        << events[0].toStdString();
    EXPECT_EQ(options[0], loProtSpecInfo);
    EXPECT_TRUE(logger.CheckLogOptions(loAddStamp));
    EXPECT_FALSE(logger.CheckLogOptions(loWsockErr));

    // A folder cannot be opened as a file: the failure's own text, and the
    // next message tries again.
    logger.SetLogOptions({loDestFile});
    logger.SetLogFileName(dir.path());
    EXPECT_THROW(logger.LogMessage(nullptr, loWsockErr, QStringLiteral("x")), ELoggerException);
    EXPECT_THROW(logger.LogMessage(nullptr, loWsockErr, QStringLiteral("x")), ELoggerException);
}

TEST(NetLogger, ThreadsWriteWholeLines)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("threads.log"));
    TNetLogger logger;
    logger.SetLogOptions({loDestFile, loAddStamp});
    logger.SetLogFileName(path);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < 10000; ++i)
                logger.LogMessage(nullptr, loWsockDump,
                                  QStringLiteral("thread %1 message %2 end").arg(t).arg(i));
        });
    for (auto &thread : threads)
        thread.join();
    QStringList lines = fileLines(path);
    ASSERT_EQ(lines.size(), 80000);
    QRegularExpression shape(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d thread (\\d) message (\\d+) end$"));
    std::vector<int> next(8, 0);
    for (const QString &line : lines) {
        auto match = shape.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        int t = match.captured(1).toInt();
        ASSERT_EQ(match.captured(2).toInt(), next[static_cast<size_t>(t)]++);
    }
}

TEST(NetLogger, HandlerThatLogsAgainDoesNotDeadlock)
{
    TNetLogger logger;
    QStringList seen;
    logger.SetOnNetLogEvent([&](void *, TLogOption, const QString &msg) {
        seen << msg;
        if (msg == QLatin1String("outer"))
            logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("inner"));
    });
    logger.SetLogOptions({loDestEvent});
    logger.LogMessage(nullptr, loWsockInfo, QStringLiteral("outer"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("outer"), QStringLiteral("inner")}));
}

TEST(NetLogger, SocketTracesSurviveAFailingLoggerAndForgetAFreedOne)
{
    nettest::LoopScopeHolder holder;
    TWSocket socket;
    {
        TNetLogger logger;
        logger.SetLogOptions({loDestFile, loWsockInfo, loWsockDump, loWsockErr});
        socket.SetNetLogger(&logger);
        // No file name: every trace fails inside the logger.
        socket.SetAddr(QStringLiteral("127.0.0.1"));
        socket.SetPort(QString::number(nettest::closedPort()));
        EXPECT_NO_THROW(socket.Connect());
        EXPECT_NO_THROW(socket.Shutdown(1));
        EXPECT_EQ(socket.NetLogger(), &logger);
    }
    EXPECT_EQ(socket.NetLogger(), nullptr);
    EXPECT_NO_THROW(socket.Close());
}

} // namespace
