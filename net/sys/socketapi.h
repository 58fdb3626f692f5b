#pragma once
// The binding to the system's socket calls. Every call of the socket layer
// goes through one table of functions, so that tests can swap an entry to
// inject a failure (EMFILE, ENETUNREACH, EPIPE, short writes ...). The
// wrappers below call the table, retry EINTR (except close) and record the
// platform error number of a failure as the thread's last error.
#include <QString>
#include <cstdint>
#include <functional>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/types.h>

namespace net
{

struct SocketApi {
    std::function<int(int domain, int type, int protocol)> socket;
    std::function<int(int fd, const sockaddr *addr, socklen_t len)> connect;
    std::function<int(int fd, const sockaddr *addr, socklen_t len)> bind;
    std::function<int(int fd, int backlog)> listen;
    std::function<int(int fd, sockaddr *addr, socklen_t *len)> accept;
    std::function<ssize_t(int fd, const void *buf, size_t len, int flags)> send;
    std::function<ssize_t(int fd, const void *buf, size_t len, int flags, const sockaddr *to,
                          socklen_t tolen)>
        sendto;
    std::function<ssize_t(int fd, void *buf, size_t len, int flags)> recv;
    std::function<ssize_t(int fd, void *buf, size_t len, int flags, sockaddr *from,
                          socklen_t *fromlen)>
        recvfrom;
    std::function<int(int fd, int how)> shutdown;
    std::function<int(int fd)> close;
    std::function<int(int fd, int level, int name, const void *value, socklen_t len)> setsockopt;
    std::function<int(int fd, int level, int name, void *value, socklen_t *len)> getsockopt;
    std::function<int(int fd, sockaddr *addr, socklen_t *len)> getsockname;
    std::function<int(int fd, sockaddr *addr, socklen_t *len)> getpeername;
    // ioctl(FIONREAD): bytes waiting.
    std::function<int(int fd, int *count)> ioctlFionread;
    std::function<int(const char *node, const char *service, const addrinfo *hints, addrinfo **res)>
        getaddrinfo;
    std::function<void(addrinfo *res)> freeaddrinfo;
    std::function<int(const sockaddr *addr, socklen_t len, char *host, socklen_t hostlen,
                      char *serv, socklen_t servlen, int flags)>
        getnameinfo;
    // Port of a service (host order), or -1 when unknown.
    std::function<int(const char *name, const char *proto)> getservbyname;
    // Number of a protocol, or -1 when unknown.
    std::function<int(const char *name)> getprotobyname;
    std::function<int(char *name, size_t len)> gethostname;
    std::function<int(const char *text, in_addr *addr)> inet_aton;
    std::function<const char *(int af, const void *src, char *dst, socklen_t size)> inet_ntop;
};

// The table in use. Swap entries only while no socket is working.
SocketApi &socketApi();
// The POSIX table.
SocketApi defaultSocketApi();
// Installs a table; returns the previous one.
SocketApi setSocketApi(SocketApi api);

// Version of the socket library asked for (stored, 1.1 by default).
std::uint8_t reqVerLow();
std::uint8_t reqVerHigh();
// False when the binding is in use and the value differs (the caller reports
// the refusal).
bool setReqVerLow(std::uint8_t value);
bool setReqVerHigh(std::uint8_t value);

// Live socket objects.
int WSocketGCount();
void incrementSocketCount();
// Returns the new count; at 0 the binding counts as unloaded.
int decrementSocketCount();
// The binding counts as loaded from the first socket call until the last
// socket object dies.
bool socketLibraryLoaded();
void markSocketLibraryUsed();

// Broken connections must come back as errors, never as a signal.
void ignoreSigpipe();

// Wrappers: -1 (or nullptr) on failure with WSAGetLastError() set.
int wsSocket(int domain, int type, int protocol);
int wsConnect(int fd, const sockaddr *addr, socklen_t len);
int wsBind(int fd, const sockaddr *addr, socklen_t len);
int wsListen(int fd, int backlog);
int wsAccept(int fd, sockaddr *addr, socklen_t *len);
int wsSend(int fd, const void *buf, int len, int flags);
int wsSendTo(int fd, const void *buf, int len, int flags, const sockaddr *to, socklen_t tolen);
int wsRecv(int fd, void *buf, int len, int flags);
int wsRecvFrom(int fd, void *buf, int len, int flags, sockaddr *from, socklen_t *fromlen);
int wsShutdown(int fd, int how);
// One close(), never retried: Linux has already freed the descriptor.
int wsCloseSocket(int fd);
int wsSetSockOpt(int fd, int level, int name, const void *value, socklen_t len);
int wsGetSockOpt(int fd, int level, int name, void *value, socklen_t *len);
int wsGetSockName(int fd, sockaddr *addr, socklen_t *len);
int wsGetPeerName(int fd, sockaddr *addr, socklen_t *len);
int wsIoctlFionread(int fd, int *count);
// Port (host order) or -1.
int wsGetServByName(const char *name, const char *proto);
int wsGetProtoByName(const char *name);
int wsGetHostName(char *name, size_t len);
// True when text is an address in the dotted forms inet_aton knows.
bool wsInetAton(const QString &text, in_addr *addr);
// Dotted text of an address in network order.
QString wsInetNtoa(in_addr addr);

} // namespace net
