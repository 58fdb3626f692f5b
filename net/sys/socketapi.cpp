#include "net/sys/socketapi.h"

#include "net/sys/wsockerr.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace net
{

namespace
{

std::mutex g_loadLock;
int g_socketCount = 0;
bool g_loaded = false;
std::uint8_t g_reqVerLow = 1;
std::uint8_t g_reqVerHigh = 1;

SocketApi &table()
{
    static SocketApi api = defaultSocketApi();
    return api;
}

int posixServByName(const char *name, const char *proto)
{
    servent entry{};
    servent *result = nullptr;
    std::vector<char> buffer(4096);
    if (::getservbyname_r(name, proto, &entry, buffer.data(), buffer.size(), &result) != 0 ||
        result == nullptr)
        return -1;
    return ntohs(static_cast<std::uint16_t>(result->s_port));
}

int posixProtoByName(const char *name)
{
    protoent entry{};
    protoent *result = nullptr;
    std::vector<char> buffer(4096);
    if (::getprotobyname_r(name, &entry, buffer.data(), buffer.size(), &result) != 0 ||
        result == nullptr)
        return -1;
    return result->p_proto;
}

// Runs a call, retrying EINTR, and records the error number of a failure.
template <typename Call> auto retried(Call call, ErrnoContext context = ErrnoContext::General)
{
    markSocketLibraryUsed();
    for (;;) {
        errno = 0;
        auto result = call();
        if (result >= 0)
            return result;
        int err = errno;
        if (err == EINTR)
            continue;
        setLastErrorFromErrno(err, context);
        return result;
    }
}

} // namespace

SocketApi defaultSocketApi()
{
    SocketApi api;
    api.socket = [](int domain, int type, int protocol) {
        return ::socket(domain, type | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    };
    api.connect = [](int fd, const sockaddr *addr, socklen_t len) {
        return ::connect(fd, addr, len);
    };
    api.bind = [](int fd, const sockaddr *addr, socklen_t len) { return ::bind(fd, addr, len); };
    api.listen = [](int fd, int backlog) { return ::listen(fd, backlog); };
    api.accept = [](int fd, sockaddr *addr, socklen_t *len) {
        return ::accept4(fd, addr, len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    };
    api.send = [](int fd, const void *buf, size_t len, int flags) {
        return ::send(fd, buf, len, flags | MSG_NOSIGNAL);
    };
    api.sendto = [](int fd, const void *buf, size_t len, int flags, const sockaddr *to,
                    socklen_t tolen) {
        return ::sendto(fd, buf, len, flags | MSG_NOSIGNAL, to, tolen);
    };
    api.recv = [](int fd, void *buf, size_t len, int flags) { return ::recv(fd, buf, len, flags); };
    api.recvfrom = [](int fd, void *buf, size_t len, int flags, sockaddr *from,
                      socklen_t *fromlen) {
        return ::recvfrom(fd, buf, len, flags, from, fromlen);
    };
    api.shutdown = [](int fd, int how) { return ::shutdown(fd, how); };
    api.close = [](int fd) { return ::close(fd); };
    api.setsockopt = [](int fd, int level, int name, const void *value, socklen_t len) {
        return ::setsockopt(fd, level, name, value, len);
    };
    api.getsockopt = [](int fd, int level, int name, void *value, socklen_t *len) {
        return ::getsockopt(fd, level, name, value, len);
    };
    api.getsockname = [](int fd, sockaddr *addr, socklen_t *len) {
        return ::getsockname(fd, addr, len);
    };
    api.getpeername = [](int fd, sockaddr *addr, socklen_t *len) {
        return ::getpeername(fd, addr, len);
    };
    api.ioctlFionread = [](int fd, int *count) { return ::ioctl(fd, FIONREAD, count); };
    api.getaddrinfo = [](const char *node, const char *service, const addrinfo *hints,
                         addrinfo **res) { return ::getaddrinfo(node, service, hints, res); };
    api.freeaddrinfo = [](addrinfo *res) { ::freeaddrinfo(res); };
    api.getnameinfo = [](const sockaddr *addr, socklen_t len, char *host, socklen_t hostlen,
                         char *serv, socklen_t servlen, int flags) {
        return ::getnameinfo(addr, len, host, hostlen, serv, servlen, flags);
    };
    api.getservbyname = posixServByName;
    api.getprotobyname = posixProtoByName;
    api.gethostname = [](char *name, size_t len) { return ::gethostname(name, len); };
    api.inet_aton = [](const char *text, in_addr *addr) { return ::inet_aton(text, addr); };
    api.inet_ntop = [](int af, const void *src, char *dst, socklen_t size) {
        return ::inet_ntop(af, src, dst, size);
    };
    return api;
}

SocketApi &socketApi()
{
    return table();
}

SocketApi setSocketApi(SocketApi api)
{
    SocketApi previous = std::move(table());
    table() = std::move(api);
    return previous;
}

std::uint8_t reqVerLow()
{
    std::lock_guard lock(g_loadLock);
    return g_reqVerLow;
}

std::uint8_t reqVerHigh()
{
    std::lock_guard lock(g_loadLock);
    return g_reqVerHigh;
}

bool setReqVerLow(std::uint8_t value)
{
    std::lock_guard lock(g_loadLock);
    if (value == g_reqVerLow)
        return true;
    if (g_loaded)
        return false;
    g_reqVerLow = value;
    return true;
}

bool setReqVerHigh(std::uint8_t value)
{
    std::lock_guard lock(g_loadLock);
    if (value == g_reqVerHigh)
        return true;
    if (g_loaded)
        return false;
    g_reqVerHigh = value;
    return true;
}

int WSocketGCount()
{
    std::lock_guard lock(g_loadLock);
    return g_socketCount;
}

void incrementSocketCount()
{
    std::lock_guard lock(g_loadLock);
    ++g_socketCount;
}

int decrementSocketCount()
{
    std::lock_guard lock(g_loadLock);
    --g_socketCount;
    if (g_socketCount < 1)
        g_loaded = false;
    return g_socketCount;
}

bool socketLibraryLoaded()
{
    std::lock_guard lock(g_loadLock);
    return g_loaded;
}

void markSocketLibraryUsed()
{
    std::lock_guard lock(g_loadLock);
    g_loaded = true;
}

void ignoreSigpipe()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

int wsSocket(int domain, int type, int protocol)
{
    ignoreSigpipe();
    return retried([&] { return table().socket(domain, type, protocol); });
}

int wsConnect(int fd, const sockaddr *addr, socklen_t len)
{
    markSocketLibraryUsed();
    // An interrupted connect goes on in the background: report it as started.
    errno = 0;
    int result = table().connect(fd, addr, len);
    if (result >= 0)
        return result;
    int err = errno == EINTR ? EINPROGRESS : errno;
    setLastErrorFromErrno(err, ErrnoContext::Connect);
    return result;
}

int wsBind(int fd, const sockaddr *addr, socklen_t len)
{
    return retried([&] { return table().bind(fd, addr, len); });
}

int wsListen(int fd, int backlog)
{
    return retried([&] { return table().listen(fd, backlog); });
}

int wsAccept(int fd, sockaddr *addr, socklen_t *len)
{
    return retried([&] { return table().accept(fd, addr, len); });
}

int wsSend(int fd, const void *buf, int len, int flags)
{
    return static_cast<int>(
        retried([&] { return table().send(fd, buf, static_cast<size_t>(len), flags); }));
}

int wsSendTo(int fd, const void *buf, int len, int flags, const sockaddr *to, socklen_t tolen)
{
    return static_cast<int>(retried(
        [&] { return table().sendto(fd, buf, static_cast<size_t>(len), flags, to, tolen); }));
}

int wsRecv(int fd, void *buf, int len, int flags)
{
    return static_cast<int>(
        retried([&] { return table().recv(fd, buf, static_cast<size_t>(len), flags); }));
}

int wsRecvFrom(int fd, void *buf, int len, int flags, sockaddr *from, socklen_t *fromlen)
{
    return static_cast<int>(retried(
        [&] { return table().recvfrom(fd, buf, static_cast<size_t>(len), flags, from, fromlen); }));
}

int wsShutdown(int fd, int how)
{
    return retried([&] { return table().shutdown(fd, how); });
}

int wsCloseSocket(int fd)
{
    markSocketLibraryUsed();
    errno = 0;
    int result = table().close(fd);
    // EINTR after close still means the descriptor is gone; a retry could
    // close a descriptor another thread just opened.
    if (result < 0 && errno != EINTR) {
        setLastErrorFromErrno(errno);
        return result;
    }
    return 0;
}

int wsSetSockOpt(int fd, int level, int name, const void *value, socklen_t len)
{
    return retried([&] { return table().setsockopt(fd, level, name, value, len); });
}

int wsGetSockOpt(int fd, int level, int name, void *value, socklen_t *len)
{
    return retried([&] { return table().getsockopt(fd, level, name, value, len); });
}

int wsGetSockName(int fd, sockaddr *addr, socklen_t *len)
{
    return retried([&] { return table().getsockname(fd, addr, len); });
}

int wsGetPeerName(int fd, sockaddr *addr, socklen_t *len)
{
    return retried([&] { return table().getpeername(fd, addr, len); });
}

int wsIoctlFionread(int fd, int *count)
{
    return retried([&] { return table().ioctlFionread(fd, count); });
}

int wsGetServByName(const char *name, const char *proto)
{
    markSocketLibraryUsed();
    int port = table().getservbyname(name, proto);
    if (port < 0)
        WSASetLastError(11004);
    return port;
}

int wsGetProtoByName(const char *name)
{
    markSocketLibraryUsed();
    int proto = table().getprotobyname(name);
    if (proto < 0)
        WSASetLastError(11004);
    return proto;
}

int wsGetHostName(char *name, size_t len)
{
    return retried([&] { return table().gethostname(name, len); });
}

bool wsInetAton(const QString &text, in_addr *addr)
{
    QByteArray bytes = text.toLatin1();
    return table().inet_aton(bytes.constData(), addr) != 0;
}

QString wsInetNtoa(in_addr addr)
{
    char buffer[INET_ADDRSTRLEN] = {};
    if (table().inet_ntop(AF_INET, &addr, buffer, sizeof buffer) == nullptr)
        return QString();
    return QString::fromLatin1(buffer);
}

} // namespace net
