#pragma once
// A socket binding with no network behind it, for tests and fuzz targets that
// play the peer byte by byte: socket() hands out the read end of a pipe (never
// ready, so the loop reports nothing by itself), a connect stays under way,
// what the socket sends is recorded, and what it receives comes from feed().
// The notifications the platform would give are injected with
// ScriptedSocket::inject. Header only: the fuzz targets use it without gtest.
#include "net/socket/wsocket.h"
#include "net/sys/socketapi.h"

#include <QByteArray>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/ioctl.h>
#include <unistd.h>

namespace nettest
{

class ScriptedApi
{
public:
    ScriptedApi() : m_previous(net::socketApi())
    {
        net::SocketApi api = m_previous;
        api.socket = [this](int, int, int) {
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
                return -1;
            m_writeEnds[fds[0]] = fds[1];
            return fds[0];
        };
        api.close = [this](int fd) {
            auto it = m_writeEnds.find(fd);
            if (it != m_writeEnds.end()) {
                ::close(it->second);
                m_writeEnds.erase(it);
            }
            return ::close(fd);
        };
        api.connect = [](int, const sockaddr *, socklen_t) {
            errno = EINPROGRESS;
            return -1;
        };
        api.bind = [](int, const sockaddr *, socklen_t) { return 0; };
        api.shutdown = [](int, int) { return 0; };
        api.setsockopt = [](int, int, int, const void *, socklen_t) { return 0; };
        api.getsockopt = [](int, int, int name, void *value, socklen_t *len) {
            if (value != nullptr && len != nullptr && *len >= sizeof(int)) {
                int v = name == SO_ERROR ? 0 : 65536;
                std::memcpy(value, &v, sizeof v);
                *len = sizeof v;
            }
            return 0;
        };
        auto loopbackName = [](int, sockaddr *addr, socklen_t *len) {
            sockaddr_in in{};
            in.sin_family = AF_INET;
            in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            in.sin_port = htons(40000);
            if (addr != nullptr && len != nullptr) {
                std::memcpy(addr, &in, std::min<size_t>(*len, sizeof in));
                *len = sizeof in;
            }
            return 0;
        };
        api.getsockname = loopbackName;
        api.getpeername = loopbackName;
        api.send = [this](int, const void *buf, size_t len, int) {
            if (m_sendFails) {
                errno = EPIPE;
                return ssize_t(-1);
            }
            sent.append(static_cast<const char *>(buf), static_cast<qsizetype>(len));
            return static_cast<ssize_t>(len);
        };
        api.recv = [this](int, void *buf, size_t len, int flags) {
            ++recvCalls;
            if (m_pending.isEmpty()) {
                if (m_ended)
                    return ssize_t(0);
                errno = EAGAIN;
                return ssize_t(-1);
            }
            size_t n = std::min<size_t>(len, static_cast<size_t>(m_pending.size()));
            std::memcpy(buf, m_pending.constData(), n);
            if (!(flags & MSG_PEEK))
                m_pending.remove(0, static_cast<qsizetype>(n));
            return static_cast<ssize_t>(n);
        };
        api.ioctlFionread = [this](int, int *count) {
            *count = static_cast<int>(m_pending.size());
            return 0;
        };
        net::setSocketApi(api);
    }
    ~ScriptedApi()
    {
        net::setSocketApi(m_previous);
        for (auto &[readEnd, writeEnd] : m_writeEnds) {
            ::close(readEnd);
            ::close(writeEnd);
        }
    }
    ScriptedApi(const ScriptedApi &) = delete;
    ScriptedApi &operator=(const ScriptedApi &) = delete;

    // Bytes the next receives return, after those still waiting.
    void feed(const QByteArray &bytes) { m_pending.append(bytes); }
    // The peer closed: once the waiting bytes are read, receives return 0.
    void endOfStream() { m_ended = true; }
    int waiting() const { return static_cast<int>(m_pending.size()); }
    void failSends(bool fail) { m_sendFails = fail; }

    QByteArray sent;
    long long recvCalls = 0;

private:
    net::SocketApi m_previous;
    std::map<int, int> m_writeEnds;
    QByteArray m_pending;
    bool m_ended = false;
    bool m_sendFails = false;
};

// The socket with a hand on its notifications.
class ScriptedSocket : public net::TWSocket
{
public:
    void inject(unsigned events, int error = 0)
    {
        WndProc(net::WM_ASYNCSELECT,
                (static_cast<std::uintptr_t>(Generation()) << 32) |
                    static_cast<std::uint32_t>(HSocket()),
                static_cast<std::intptr_t>(events | (static_cast<unsigned>(error) << 16)));
    }
    // Connects to 127.0.0.1:port (through the SOCKS server set, if any) and
    // reports the connection as made.
    void connectScripted(const QString &port = QStringLiteral("8080"))
    {
        SetAddr(QStringLiteral("127.0.0.1"));
        SetPort(port);
        Connect();
        inject(net::FD_CONNECT | net::FD_WRITE);
    }
};

} // namespace nettest
