#include "net/socket/wsocket.h"

#include "net/log/netlogger.h"
#include "net/socket/resolver.h"
#include "net/socket/selectwatch.h"
#include "net/sys/socketapi.h"
#include "net/sys/wsockerr.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>
#include <netinet/tcp.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace net
{

// A look-up under way: the worker only ever touches this record, and posts
// (target, look-up handle) to the loop's inbox through a weak reference.
struct LookupRequest {
    std::mutex lock;
    QString host;
    int error = 0;
    QString name;
    QStringList list;
};

namespace
{

// One lock for every socket's send queue: a thread may queue data for a
// socket whose events run elsewhere. Nothing is fired while it is held.
std::mutex g_sendLock;
std::atomic<std::uint64_t> g_lookupHandle{0};
std::atomic<std::uint32_t> g_generation{0};

constexpr std::uintptr_t packSelect(std::uint32_t generation, int fd)
{
    return (static_cast<std::uintptr_t>(generation) << 32) | static_cast<std::uint32_t>(fd);
}

QString trimmed(const QString &text)
{
    return text.trimmed();
}

bool startsWithDigit(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128;
}

// Decimal value of the leading digits (blanks skipped); saturates at INT_MAX.
long long leadingNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    long long value = 0;
    for (; i < text.size(); ++i) {
        ushort c = text.at(i).unicode();
        if (c < '0' || c > '9')
            break;
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return value;
}

} // namespace

// ---------------------------------------------------------------------------
// Unit-level routines

bool WSocketIsDottedIP(const QString &text)
{
    int i = 0;
    int n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    if (i < n && text.at(i) == QLatin1Char('.'))
        return false;
    int dots = 0;
    long long part = 0;
    bool digits = false;
    for (; i < n; ++i) {
        ushort c = text.at(i).unicode();
        if (c >= '0' && c <= '9') {
            // Parts saturate: a long run of digits never wraps into range.
            part = std::min<long long>(part * 10 + (c - '0'), 1000);
            digits = true;
        } else if (c == '.') {
            ++dots;
            if (dots > 3 || part > 255 || i == n - 1)
                return false;
            ushort next = text.at(i + 1).unicode();
            if (next < '0' || next > '9')
                return false;
            part = 0;
        } else {
            for (; i < n; ++i)
                if (text.at(i) != QLatin1Char(' '))
                    return false;
            break;
        }
    }
    return digits && dots == 3 && part <= 255;
}

std::uint32_t WSocketResolveHost(const QString &text)
{
    if (text.isEmpty() || text.size() >= 256)
        throw ESocketException(QStringLiteral("Winsock Resolve Host: '") + text +
                               QStringLiteral("' Invalid Hostname."));
    if (WSocketIsDottedIP(text)) {
        in_addr addr{};
        if (wsInetAton(trimmed(text), &addr))
            return addr.s_addr;
        if (text == QLatin1String("255.255.255.255"))
            return 0xFFFFFFFFu;
        throw ESocketException(QStringLiteral("Winsock Resolve Host: '") + text +
                               QStringLiteral("' Invalid IP address."));
    }
    QStringList addresses;
    int code = forwardResolver()(text, addresses);
    in_addr addr{};
    if (code != 0 || addresses.isEmpty() || !wsInetAton(addresses.first(), &addr)) {
        if (code == 0)
            code = 11004;
        throw ESocketException(
            QStringLiteral("Winsock Resolve Host: Cannot convert host address '") + text +
            QStringLiteral("' - ") + GetWinsockErr(code));
    }
    return addr.s_addr;
}

int WSocketResolvePort(const QString &port, const QString &proto)
{
    if (port.isEmpty() || port.size() >= 32)
        throw ESocketException(QStringLiteral("Winsock Resolve Port: Invalid Port."));
    if (proto.isEmpty() || proto.size() >= 32)
        throw ESocketException(QStringLiteral("Winsock Resolve Port: Invalid Proto."));
    if (startsWithDigit(port)) {
        long long value = leadingNumber(port);
        // The platform kept the low 16 bits: "70000" became 4464.
        if (value > 65535)
            throw ESocketException(QStringLiteral("Winsock Resolve Port: Invalid Port."));
        return static_cast<int>(value);
    }
    QByteArray name = trimmed(port).toLatin1();
    QByteArray protocol = trimmed(proto).toLatin1();
    int result = wsGetServByName(name.constData(), protocol.constData());
    if (result < 0)
        throw ESocketException(QStringLiteral("Winsock Resolve Port: Cannot convert port '") +
                               port + QStringLiteral("' - ") + GetWinsockErr(WSAGetLastError()));
    return result;
}

int WSocketResolveProto(const QString &proto)
{
    if (proto.isEmpty() || proto.size() >= 32)
        throw ESocketException(QStringLiteral("Winsock Resolve Proto: Invalid Protocol."));
    if (startsWithDigit(proto))
        return static_cast<int>(leadingNumber(proto));
    QString name = trimmed(proto).toLower();
    if (name == QLatin1String("tcp"))
        return IPPROTO_TCP;
    if (name == QLatin1String("udp"))
        return IPPROTO_UDP;
    if (name == QLatin1String("raw"))
        return IPPROTO_RAW;
    QByteArray bytes = name.toLatin1();
    int result = wsGetProtoByName(bytes.constData());
    if (result < 0)
        throw ESocketException(QStringLiteral("Winsock Resolve Proto: Cannot convert protocol '") +
                               proto + QStringLiteral("' - ") + GetWinsockErr(WSAGetLastError()));
    return result;
}

QString LocalHostName()
{
    // The name may fill the buffer without its terminator: force one.
    char buffer[HOST_NAME_MAX + 1] = {};
    if (wsGetHostName(buffer, sizeof buffer - 1) != 0)
        throw ESocketException(QStringLiteral("Winsock Get Host Name failed"));
    buffer[HOST_NAME_MAX] = '\0';
    return QString::fromLatin1(buffer);
}

TargetId AllocateHWnd(MessageHandler handler)
{
    EventLoop *loop = EventLoop::current();
    if (loop == nullptr)
        return 0;
    return loop->registerTarget(std::move(handler));
}

void DeallocateHWnd(TargetId window)
{
    if (EventLoop *loop = EventLoop::current())
        loop->unregister(window);
}

// ---------------------------------------------------------------------------
// Creation and destruction

TCustomWSocket::TCustomWSocket()
{
    ignoreSigpipe();
    m_hSocket = INVALID_SOCKET;
    AllocateSocketHWnd();
    m_bufSize = 1460;
    m_multiCastIpTTL = 1;
    m_listenBacklog = 5;
    m_bufferedByteCount = 0;
    AssignDefaultValue();
    m_keepAliveOnOff = wsKeepAliveOnSystem;
    m_keepAliveTime = 30000;
    m_keepAliveInterval = 1000;
    incrementSocketCount();
}

TCustomWSocket::~TCustomWSocket()
{
    m_destroying = true;
    try {
        CancelDnsLookup();
    } catch (...) {
    }
    if (m_state != wsClosed) {
        try {
            Close();
        } catch (...) {
        }
    }
    if (m_hSocket != INVALID_SOCKET) {
        int fd = m_hSocket;
        dropDescriptor();
        wsCloseSocket(fd);
    }
    decrementSocketCount();
    DeleteBufferedData();
    if (m_netLogger != nullptr)
        m_netLogger->removeFreeNotification(this);
    DeallocateSocketHWnd();
}

void TCustomWSocket::AllocateSocketHWnd()
{
    m_loop = EventLoop::current();
    m_threadId = std::this_thread::get_id();
    if (m_loop == nullptr) {
        m_window = 0;
        RaiseException(QStringLiteral("Cannot create a hidden window for TWSocket"));
        return;
    }
    m_window =
        m_loop->registerTarget([this](unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
            WndProc(msg, wParam, lParam);
        });
}

void TCustomWSocket::DeallocateSocketHWnd()
{
    if (m_loop != nullptr && m_window != 0)
        m_loop->unregister(m_window);
    m_window = 0;
    m_loop = nullptr;
}

void TCustomWSocket::AssignDefaultValue()
{
    m_sin = sockaddr_in{};
    m_sin.sin_family = AF_INET;
    m_addrFormat = AF_INET;
    m_portAssigned = false;
    m_addrAssigned = false;
    m_addrResolved = false;
    m_portResolved = false;
    m_localPortResolved = false;
    m_protoAssigned = true;
    m_protoResolved = false;
    m_proto = IPPROTO_TCP;
    m_protoStr = QStringLiteral("tcp");
    m_type = SOCK_STREAM;
    m_localPortStr = QStringLiteral("0");
    m_localAddr = QStringLiteral("0.0.0.0");
    m_lingerOnOff = wsLingerOn;
    m_lingerTimeout = 0;
    m_hSocket = INVALID_SOCKET;
    m_aheadCount = 0;
    m_aheadError = 0;
    m_selectEvent = 0;
    m_state = wsClosed;
    m_allSent = true;
    m_readCount = 0;
    m_paused = false;
    m_closeInvoked = false;
    m_flushTimeout = 60;
}

void TCustomWSocket::newDescriptor(int fd)
{
    m_hSocket = fd;
    m_generation = ++g_generation;
    m_aheadCount = 0;
    m_aheadError = 0;
    // A connection opened from the close handler of the last one starts
    // afresh: that close has not reset these yet, and never will.
    m_closeInvoked = false;
    m_paused = false;
    m_readCount = 0;
    std::uint32_t generation = m_generation;
    m_select =
        std::make_unique<SelectWatch>(fd, [this, fd, generation](unsigned events, int error) {
            WndProc(WM_ASYNCSELECT, packSelect(generation, fd),
                    static_cast<std::intptr_t>(events | (static_cast<unsigned>(error) << 16)));
        });
    m_select->setReadAhead([this] { return readAhead(); });
    m_select->attach(m_loop);
}

void TCustomWSocket::dropDescriptor()
{
    m_select.reset();
    m_hSocket = INVALID_SOCKET;
    m_aheadCount = 0;
    m_aheadError = 0;
}

int TCustomWSocket::readAhead()
{
    // Only a plain connected stream whose bytes reach the owner as they come
    // is read ahead; a layer holding bytes of its own serves them first.
    // A failure a read of the receive loop met is reported as if met now.
    if (m_aheadError != 0) {
        WSASetLastError(m_aheadError);
        m_aheadError = 0;
        return -1;
    }
    char *buffer = nullptr;
    int size = 0;
    if (!m_nextReceive || m_aheadCount > 0 || m_paused || m_state != wsConnected ||
        m_type != SOCK_STREAM || !(m_selectEvent & FD_READ) || LayerPendingCount() != 0 ||
        !m_nextReceive(buffer, size) || buffer == nullptr || size <= 0)
        return SelectWatch::NotRead;
    int got = wsRecv(m_hSocket, buffer, size, 0);
    if (got > 0) {
        m_aheadBuffer = buffer;
        m_aheadSize = size;
        m_aheadCount = got;
    }
    return got;
}

int TCustomWSocket::takeAhead(void *buffer, int size, int flags)
{
    const int held = m_aheadCount;
    // The receive the bytes were read for takes them where they already are.
    const bool same = buffer == m_aheadBuffer && size == m_aheadSize;
    const int count = same ? held : std::min(std::max(size, 0), held);
    if (!same && count > 0)
        std::memmove(buffer, m_aheadBuffer, static_cast<size_t>(count));
    if (!(flags & MSG_PEEK)) {
        if (count < held)
            std::memmove(m_aheadBuffer, m_aheadBuffer + count, static_cast<size_t>(held - count));
        m_aheadCount -= count;
    }
    m_rcvdFlag = count >= size;
    // A read ahead that came back short emptied the socket then.
    m_recvDrained = m_aheadCount == 0 && held < m_aheadSize && !(flags & MSG_PEEK);
    return count;
}

bool TCustomWSocket::selectEvents(unsigned mask)
{
    m_selectEvent = mask;
    if (!m_select)
        return false;
    m_select->setMask(mask);
    return true;
}

void TCustomWSocket::servedFromBuffer()
{
    ++m_recvCalls;
    if (m_select)
        m_select->rearmRead();
}

QString TCustomWSocket::identity() const
{
    return QStringLiteral("%1")
        .arg(static_cast<quint32>(reinterpret_cast<std::uintptr_t>(this) & 0xFFFFFFFFu), 8, 16,
             QLatin1Char('0'))
        .toUpper();
}

// ---------------------------------------------------------------------------
// Logging and errors

bool TCustomWSocket::CheckLogOptions(TLogOption option)
{
    return m_netLogger != nullptr && m_netLogger->CheckLogOptions(option);
}

void TCustomWSocket::DebugLog(TLogOption option, const QString &msg)
{
    if (m_netLogger == nullptr)
        return;
    // A failing log file must not abort a connection from inside a
    // notification.
    try {
        m_netLogger->LogMessage(this, option, msg);
    } catch (...) {
    }
}

void TCustomWSocket::SetNetLogger(TNetLogger *logger)
{
    if (m_netLogger == logger)
        return;
    if (m_netLogger != nullptr)
        m_netLogger->removeFreeNotification(this);
    m_netLogger = logger;
    if (m_netLogger != nullptr)
        m_netLogger->addFreeNotification(this, [this] { m_netLogger = nullptr; });
}

void TCustomWSocket::RaiseException(const QString &msg)
{
    if (OnError)
        TriggerError();
    else
        throw ESocketException(msg);
}

void TCustomWSocket::RaiseExceptionFmt(const QString &format, const QStringList &args)
{
    QString text = format;
    for (const QString &arg : args)
        text = text.arg(arg);
    RaiseException(text);
}

void TCustomWSocket::SocketError(const QString &function)
{
    int code = WSAGetLastError();
    QString text = WSocketErrorDesc(code) + QStringLiteral(" (#") + QString::number(code) +
                   QStringLiteral(" in ") + function + QStringLiteral(")");
    if (lastRawErrno() != 0 && CheckLogOptions(loWsockErr))
        DebugLog(loWsockErr, text + QStringLiteral(" errno ") + QString::number(lastRawErrno()));
    if (code == 10054 || code == 10057) {
        const std::uint32_t generation = m_generation;
        if (m_hSocket != INVALID_SOCKET) {
            int fd = m_hSocket;
            dropDescriptor();
            wsCloseSocket(fd);
        }
        if (m_state != wsClosed)
            TriggerSessionClosed(code);
        // A connection the handler opened is not the one that failed.
        if (m_generation == generation)
            ChangeState(wsClosed);
    }
    m_lastError = code;
    RaiseException(text);
}

void TCustomWSocket::socketErrorThenClose(const QString &function)
{
    // The socket is closed even when the error leaves as an exception: it
    // would otherwise stay bound, holding its descriptor.
    const std::uint32_t generation = m_generation;
    try {
        SocketError(function);
    } catch (...) {
        if (m_generation == generation)
            Close();
        throw;
    }
    if (m_generation == generation)
        Close();
}

void TCustomWSocket::HandleBackGroundException(const std::exception &e)
{
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, e, canClose);
        } catch (...) {
        }
    }
    if (canClose) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

// ---------------------------------------------------------------------------
// Properties

// The address, port and protocol are fixed while a socket is open.
bool TCustomWSocket::mayChange(const char *property)
{
    if (m_state == wsClosed)
        return true;
    RaiseException(QStringLiteral("Cannot change ") + QLatin1String(property) +
                   QStringLiteral(" if not closed"));
    return false;
}

// A new remote address, port or protocol text; the same text keeps what was
// already resolved from it.
static void assignRemote(QString &text, bool &assigned, bool &resolved, const QString &value)
{
    QString trimmedValue = trimmed(value);
    if (assigned && trimmedValue == text)
        return;
    text = trimmedValue;
    assigned = !trimmedValue.isEmpty();
    resolved = false;
}

void TCustomWSocket::SetAddr(const QString &value)
{
    if (mayChange("Addr"))
        assignRemote(m_addrStr, m_addrAssigned, m_addrResolved, value);
}

void TCustomWSocket::SetPort(const QString &value)
{
    SetRemotePort(value);
}

void TCustomWSocket::SetRemotePort(const QString &value)
{
    if (mayChange("Port"))
        assignRemote(m_portStr, m_portAssigned, m_portResolved, value);
}

void TCustomWSocket::SetProto(const QString &value)
{
    if (mayChange("Proto"))
        assignRemote(m_protoStr, m_protoAssigned, m_protoResolved, value);
}

void TCustomWSocket::SetLocalAddr(const QString &value)
{
    if (!mayChange("LocalAddr"))
        return;
    QString text = trimmed(value);
    m_localAddr = text.isEmpty() ? QStringLiteral("0.0.0.0") : text;
}

void TCustomWSocket::SetLocalPort(const QString &value)
{
    if (!mayChange("LocalPort"))
        return;
    m_localPortStr = trimmed(value);
    m_localPortResolved = false;
}

std::uint8_t TCustomWSocket::ReqVerLow() const
{
    return reqVerLow();
}

void TCustomWSocket::SetReqVerLow(std::uint8_t value)
{
    if (!setReqVerLow(value)) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("SetReqVerLow: WinSock version can't be changed now"));
    }
}

std::uint8_t TCustomWSocket::ReqVerHigh() const
{
    return reqVerHigh();
}

void TCustomWSocket::SetReqVerHigh(std::uint8_t value)
{
    if (!setReqVerHigh(value)) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("SetReqVerHigh: WinSock version can't be changed now"));
    }
}

TSocketSendFlags TCustomWSocket::SendFlags()
{
    if (m_sendFlags == 0)
        return wsSendNormal;
    if (m_sendFlags == MSG_OOB)
        return wsSendUrgent;
    RaiseException(QStringLiteral("Invalid internal SendFlags"));
    return wsSendNormal;
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags value)
{
    switch (value) {
    case wsSendNormal:
        m_sendFlags = 0;
        break;
    case wsSendUrgent:
        m_sendFlags = MSG_OOB;
        break;
    default:
        RaiseException(QStringLiteral("Invalid SendFlags"));
    }
}

// ---------------------------------------------------------------------------
// Triggers

void TCustomWSocket::ChangeState(TSocketState newState)
{
    TSocketState oldState = m_state;
    m_state = newState;
    if (oldState != newState)
        TriggerChangeState(oldState, newState);
}

bool TCustomWSocket::TriggerDataAvailable(int error)
{
    if (!OnDataAvailable)
        return false;
    OnDataAvailable(this, static_cast<std::uint16_t>(error));
    return true;
}

void TCustomWSocket::TriggerSessionAvailable(int error)
{
    if (OnSessionAvailable)
        OnSessionAvailable(this, static_cast<std::uint16_t>(error));
}

void TCustomWSocket::TriggerSessionConnectedSpecial(int error)
{
    TriggerSessionConnected(error);
}

void TCustomWSocket::TriggerSessionConnected(int error)
{
    if (OnSessionConnected)
        OnSessionConnected(this, static_cast<std::uint16_t>(error));
}

void TCustomWSocket::TriggerSessionClosed(int error)
{
    if (OnSessionClosed)
        OnSessionClosed(this, static_cast<std::uint16_t>(error));
}

void TCustomWSocket::TriggerDataSent(int error)
{
    if (CheckLogOptions(loWsockDump))
        DebugLog(loWsockDump,
                 identity() + QStringLiteral(" TriggerDataSent ") + QString::number(m_hSocket));
    if (OnDataSent)
        OnDataSent(this, static_cast<std::uint16_t>(error));
}

void TCustomWSocket::TriggerChangeState(TSocketState oldState, TSocketState newState)
{
    if (OnChangeState)
        OnChangeState(this, oldState, newState);
}

void TCustomWSocket::TriggerDnsLookupDone(int error)
{
    if (OnDnsLookupDone)
        OnDnsLookupDone(this, static_cast<std::uint16_t>(error));
}

void TCustomWSocket::TriggerError()
{
    if (OnError)
        OnError(this);
}

void TCustomWSocket::TriggerSendData(int bytesSent)
{
    if (OnSendData)
        OnSendData(this, bytesSent);
}

// ---------------------------------------------------------------------------
// Messages

void TCustomWSocket::WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    try {
        switch (msg) {
        case WM_ASYNCSELECT:
            WMASyncSelect(wParam, lParam);
            break;
        case WM_ASYNCGETHOSTBYNAME:
            WMAsyncGetHostByName(wParam);
            break;
        case WM_ASYNCGETHOSTBYADDR:
            WMAsyncGetHostByAddr(wParam);
            break;
        case WM_CLOSE_DELAYED:
            // A close asked for an older connection never closes a new one.
            if (static_cast<std::uint32_t>(wParam) == m_generation)
                Close();
            break;
        case WM_WSOCKET_RELEASE:
            delete this;
            return;
        case WM_TRIGGER_EXCEPTION:
            throw ESocketException(QStringLiteral("Test exception in WSocket"));
        default:
            break;
        }
    } catch (const std::exception &e) {
        HandleBackGroundException(e);
    }
}

void TCustomWSocket::WMASyncSelect(std::uintptr_t wParam, std::intptr_t lParam)
{
    int fd = static_cast<int>(static_cast<std::uint32_t>(wParam & 0xFFFFFFFFu));
    std::uint32_t generation = static_cast<std::uint32_t>(wParam >> 32);
    unsigned events = static_cast<unsigned>(lParam) & 0xFFFFu;
    int error = static_cast<int>((static_cast<unsigned>(lParam) >> 16) & 0xFFFFu);
    if (CheckLogOptions(loWsockDump)) {
        QString text = QStringLiteral("AsyncSelect CtrlSocket") + QString::number(fd) +
                       QStringLiteral(", ") + QString::number(events);
        if (events & FD_CONNECT)
            text += QStringLiteral(" FD_CONNECT");
        if (events & FD_READ)
            text += QStringLiteral(" FD_READ");
        if (events & FD_WRITE)
            text += QStringLiteral(" FD_WRITE");
        if (events & FD_CLOSE)
            text += QStringLiteral(" FD_CLOSE");
        if (events & FD_ACCEPT)
            text += QStringLiteral(" FD_ACCEPT");
        DebugLog(loProtSpecDump, text);
    }
    if (fd != m_hSocket || generation != m_generation || m_paused)
        return;
    // Each step checks again: a handler may close or reuse the socket.
    if ((events & FD_CONNECT) && fd == m_hSocket && generation == m_generation)
        Do_FD_CONNECT(error);
    if ((events & FD_READ) && fd == m_hSocket && generation == m_generation)
        Do_FD_READ(error);
    if ((events & FD_WRITE) && fd == m_hSocket && generation == m_generation)
        Do_FD_WRITE(error);
    if ((events & FD_ACCEPT) && fd == m_hSocket && generation == m_generation)
        Do_FD_ACCEPT(error);
    if ((events & FD_CLOSE) && fd == m_hSocket && generation == m_generation)
        Do_FD_CLOSE(error);
}

void TCustomWSocket::Do_FD_CONNECT(int error)
{
    if (m_state != wsConnected) {
        const std::uint32_t generation = m_generation;
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(error);
        // A handler that tried again at once keeps its new attempt.
        if (error != 0 && m_state != wsClosed && m_generation == generation)
            Close();
    }
}

void TCustomWSocket::Do_FD_READ(int error)
{
    if (m_state != wsConnected) {
        const std::uint32_t generation = m_generation;
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(error);
        // Closed, or given up for the next connection, from that event.
        if (m_generation != generation || m_hSocket == INVALID_SOCKET)
            return;
    }
    ASyncReceive(error, m_options);
}

void TCustomWSocket::Do_FD_WRITE(int error)
{
    const std::uint32_t generation = m_generation;
    TryToSend();
    // A send that failed closed the connection; one opened since from its
    // close handler has sent nothing yet.
    if (m_generation != generation)
        return;
    if (m_bufList.empty() || m_allSent)
        TriggerDataSent(error);
}

void TCustomWSocket::Do_FD_ACCEPT(int error)
{
    TriggerSessionAvailable(error);
}

void TCustomWSocket::Do_FD_CLOSE(int error)
{
    if (m_state == wsConnecting || m_hSocket == INVALID_SOCKET)
        return;
    int fd = m_hSocket;
    std::uint32_t generation = m_generation;
    ASyncReceive(0, m_options.without(wsoNoReceiveLoop));
    // A handler that closed the socket during the drain has had its close.
    if (m_hSocket != fd || m_generation != generation)
        return;
    if (!m_closeInvoked) {
        m_closeInvoked = true;
        TriggerSessionClosed(error);
    }
    // The handler may have closed this connection and opened the next one:
    // that one is not closed here.
    if (m_generation == generation && m_state != wsClosed)
        Close();
}

void TCustomWSocket::ASyncReceive(int error, TWSocketOptions options)
{
    int fd = m_hSocket;
    std::uint32_t generation = m_generation;
    for (;;) {
        try {
            m_lastError = 0;
            std::uint64_t before = m_recvCalls;
            m_recvDrained = false;
            if (!TriggerDataAvailable(error)) {
                char discard[1024];
                int got = DoRecv(discard, sizeof discard, 0);
                if (got < 0) {
                    int code = WSAGetLastError();
                    if (code == 10035) {
                        m_lastError = 0;
                        break;
                    }
                    m_lastError = code;
                }
            }
            if (options.has(wsoNoReceiveLoop))
                break;
            if (m_lastError != 0) {
                if (m_lastError == -1)
                    m_lastError = 0;
                break;
            }
            // A closed or replaced descriptor, or a pass whose handler read
            // nothing: spinning would starve the loop.
            if (m_hSocket == INVALID_SOCKET || fd != m_hSocket || generation != m_generation ||
                m_recvCalls == before)
                break;
            // A stream read that came back short emptied the socket: asking
            // how many bytes wait would only cost a call per read.
            if (m_recvDrained && LayerPendingCount() == 0 && m_aheadCount == 0)
                break;
            // A read that filled its block may have left more behind: the
            // owner's next receive, made now, tells without asking how many
            // bytes wait. The end, or a failure (kept for the readiness
            // watch, which reports it with the close), waits for the watch.
            if (LayerPendingCount() == 0 && m_aheadCount == 0) {
                int got = readAhead();
                if (got > 0)
                    continue;
                if (got < 0 && got != SelectWatch::NotRead) {
                    int code = WSAGetLastError();
                    if (code != 10035 && code != 10004)
                        m_aheadError = code;
                }
                if (got != SelectWatch::NotRead)
                    break;
            }
            int waiting = 0;
            if (wsIoctlFionread(m_hSocket, &waiting) != 0) {
                m_lastError = WSAGetLastError();
                break;
            }
            if (waiting == 0 && LayerPendingCount() == 0 && m_aheadCount == 0)
                break;
        } catch (...) {
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Receiving

int TCustomWSocket::GetRcvdCount()
{
    int waiting = 0;
    if (m_hSocket == INVALID_SOCKET || wsIoctlFionread(m_hSocket, &waiting) != 0) {
        if (m_hSocket == INVALID_SOCKET)
            WSASetLastError(10038);
        SocketError(QStringLiteral("ioctlSocket"));
        return -1;
    }
    return waiting + m_aheadCount;
}

int TCustomWSocket::DoRecv(void *buffer, int size, int flags)
{
    if (m_hSocket == INVALID_SOCKET) {
        WSASetLastError(10038);
        return -1;
    }
    ++m_recvCalls;
    if (m_aheadCount > 0) {
        int count = takeAhead(buffer, size, flags);
        if (m_select)
            m_select->rearmRead();
        return count;
    }
    int got = wsRecv(m_hSocket, buffer, size, flags);
    m_rcvdFlag = got >= size;
    // A datagram socket returns one datagram a read, whatever else waits.
    m_recvDrained = !m_rcvdFlag && !(flags & MSG_PEEK) && m_type == SOCK_STREAM;
    if (m_select)
        m_select->rearmRead();
    return got;
}

int TCustomWSocket::DoRecvFrom(void *buffer, int size, int flags, sockaddr_in &from, int &fromLen)
{
    if (m_hSocket == INVALID_SOCKET) {
        WSASetLastError(10038);
        return -1;
    }
    ++m_recvCalls;
    socklen_t len = static_cast<socklen_t>(std::max(0, fromLen));
    int got = wsRecvFrom(m_hSocket, buffer, size, flags, reinterpret_cast<sockaddr *>(&from), &len);
    fromLen = static_cast<int>(len);
    m_rcvdFlag = got >= size;
    if (m_select)
        m_select->rearmRead();
    return got;
}

int TCustomWSocket::Receive(void *buffer, int size)
{
    int got = DoRecv(buffer, size, 0);
    if (got < 0)
        m_lastError = WSAGetLastError();
    else
        m_readCount += got;
    return got;
}

QByteArray TCustomWSocket::ReceiveStr()
{
    int count = GetRcvdCount();
    if (count < 0)
        return QByteArray();
    if (count == 0)
        count = 255;
    QByteArray data(count, '\0');
    int got = Receive(data.data(), count);
    if (got <= 0)
        return QByteArray();
    data.truncate(got);
    return data;
}

int TCustomWSocket::ReceiveFrom(void *buffer, int size, sockaddr_in &from, int &fromLen)
{
    int got = DoRecvFrom(buffer, size, 0, from, fromLen);
    if (got < 0)
        m_lastError = WSAGetLastError();
    else
        m_readCount += got;
    return got;
}

// ---------------------------------------------------------------------------
// Sending

void TCustomWSocket::PutDataInSendBuffer(const void *data, int len)
{
    if (len < 1 || data == nullptr)
        return;
    std::lock_guard lock(g_sendLock);
    if (m_bufList.empty())
        m_bufList.push_back(std::make_unique<TBuffer>(m_bufSize));
    m_bufferedByteCount += len;
    const char *p = static_cast<const char *>(data);
    int written = m_bufList.back()->Write(p, len);
    while (written < len) {
        m_bufList.push_back(std::make_unique<TBuffer>(m_bufSize));
        written += m_bufList.back()->Write(p + written, len - written);
    }
    m_allSent = false;
}

void TCustomWSocket::DeleteBufferedData()
{
    std::lock_guard lock(g_sendLock);
    m_bufList.clear();
    m_bufferedByteCount = 0;
}

void TCustomWSocket::postWriteEvent()
{
    if (m_loop != nullptr && m_window != 0)
        m_loop->post(m_window, WM_ASYNCSELECT, packSelect(m_generation, m_hSocket), FD_WRITE);
}

int TCustomWSocket::Send(const void *data, int len)
{
    if (m_state != wsConnected && m_state != wsSocksConnected) {
        WSASetLastError(10057);
        SocketError(QStringLiteral("Send"));
        return -1;
    }
    m_allSent = false;
    int result = 0;
    if (len > 0) {
        PutDataInSendBuffer(data, len);
        result = len;
    }
    const std::uint32_t generation = m_generation;
    TryToSend();
    if (m_allSent && m_generation == generation)
        postWriteEvent();
    return result;
}

int TCustomWSocket::SendStr(const QByteArray &str)
{
    if (str.isEmpty())
        return 0;
    return Send(str.constData(), static_cast<int>(str.size()));
}

int TCustomWSocket::RealSend(const void *data, int len)
{
    if (m_type == SOCK_DGRAM)
        return wsSendTo(m_hSocket, data, len, m_sendFlags,
                        reinterpret_cast<const sockaddr *>(&m_sin), sizeof m_sin);
    return wsSend(m_hSocket, data, len, m_sendFlags);
}

void TCustomWSocket::TryToSend()
{
    // Collected under the lock, fired after it: a handler may queue more.
    std::vector<int> sentCounts;
    int failure = 0;
    bool fatal = false;
    {
        std::lock_guard lock(g_sendLock);
        if (m_hSocket == INVALID_SOCKET || m_bufList.empty()) {
            m_allSent = true;
        } else {
            for (;;) {
                TBuffer &block = *m_bufList.front();
                int len = 0;
                const char *data = block.Peek(len);
                if (len <= 0) {
                    if (m_bufList.size() == 1) {
                        m_allSent = true;
                        break;
                    }
                    m_bufList.pop_front();
                    continue;
                }
                int count = RealSend(data, len);
                if (count > 0) {
                    sentCounts.push_back(count);
                    m_bufferedByteCount = std::max(0, m_bufferedByteCount - count);
                    block.Remove(count);
                    if (count < len)
                        break;
                    continue;
                }
                if (count == 0)
                    break;
                int code = WSAGetLastError();
                if (code == 10035)
                    break;
                failure = code;
                fatal = code == 10054 || code == 10038 || code == 10057 || code == 10022 ||
                        code == 10053;
                break;
            }
        }
        if (m_allSent && !m_bufList.empty()) {
            m_bufList.clear();
            m_bufferedByteCount = 0;
        }
    }
    if (m_select)
        m_select->setWriteWanted(!m_allSent);
    for (int count : sentCounts)
        TriggerSendData(count);
    if (failure == 0)
        return;
    if (fatal) {
        if (CheckLogOptions(loWsockErr))
            DebugLog(loWsockErr,
                     m_name + QStringLiteral(" Winsock Send failed - ") + GetWinsockErr(failure));
        m_closeInvoked = true;
        Close();
        TriggerSessionClosed(failure);
        return;
    }
    WSASetLastError(failure);
    SocketError(QStringLiteral("TryToSend failed"));
}

int TCustomWSocket::SendTo(const sockaddr_in &dest, int destLen, const void *data, int len)
{
    int result =
        wsSendTo(m_hSocket, data, len, m_sendFlags, reinterpret_cast<const sockaddr *>(&dest),
                 static_cast<socklen_t>(destLen));
    if (result > 0) {
        TriggerSendData(result);
        bool empty;
        {
            std::lock_guard lock(g_sendLock);
            empty = m_bufList.empty();
        }
        if (empty && m_type == SOCK_DGRAM)
            postWriteEvent();
    }
    return result;
}

// ---------------------------------------------------------------------------
// Socket options

void TCustomWSocket::SetLingerOption()
{
    if (m_lingerOnOff == wsLingerNoSet)
        return;
    if (m_hSocket == INVALID_SOCKET) {
        RaiseException(QStringLiteral("Cannot set linger option at this time"));
        return;
    }
    // The stored linger values never reach the kernel: "on, 0 s" would turn
    // every Close into a reset that drops unsent data, and a positive time
    // would block the thread in close(). Close is always graceful; Abort
    // resets on purpose.
    linger value{0, 0};
    if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0)
        SocketError(QStringLiteral("setsockopt(SO_LINGER)"));
}

void TCustomWSocket::SetKeepAliveOption()
{
    if (m_keepAliveOnOff == wsKeepAliveOff)
        return;
    int on = 1;
    if (m_keepAliveOnOff == wsKeepAliveOnSystem) {
        if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0)
            SocketError(QStringLiteral("setsockopt(SO_KEEPALIVE)"));
        return;
    }
    // Milliseconds of the original become whole seconds, rounded up.
    int idle = std::max(1, (m_keepAliveTime + 999) / 1000);
    int interval = std::max(1, (m_keepAliveInterval + 999) / 1000);
    if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0 ||
        wsSetSockOpt(m_hSocket, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) != 0 ||
        wsSetSockOpt(m_hSocket, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) != 0)
        SocketError(QStringLiteral("WSocket_WSAIoctl(SIO_KEEPALIVE_VALS)"));
}

void TCustomWSocket::BindSocket()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(m_localPortNum));
    local.sin_addr.s_addr = WSocketResolveHost(m_localAddr);
    if (wsBind(m_hSocket, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        RaiseException(QStringLiteral("Bind socket failed - ") + GetWinsockErr(WSAGetLastError()));
        return;
    }
    socklen_t len = sizeof local;
    if (wsGetSockName(m_hSocket, reinterpret_cast<sockaddr *>(&local), &len) != 0) {
        RaiseException(QStringLiteral("Winsock get socket name failed - ") +
                       GetWinsockErr(WSAGetLastError()));
        return;
    }
    m_localPortNum = ntohs(local.sin_port);
    m_localPortStr = QString::number(m_localPortNum);
}

// ---------------------------------------------------------------------------
// Connecting and listening

void TCustomWSocket::Connect()
{
    if (m_hSocket != INVALID_SOCKET && m_state != wsClosed) {
        RaiseException(QStringLiteral("Connect: Socket already in use"));
        return;
    }
    if (!m_portAssigned) {
        RaiseException(QStringLiteral("Connect: No Port Specified"));
        return;
    }
    if (!m_addrAssigned) {
        RaiseException(QStringLiteral("Connect: No IP Address Specified"));
        return;
    }
    if (!m_protoAssigned) {
        RaiseException(QStringLiteral("Connect: No Protocol Specified"));
        return;
    }
    try {
        if (!m_protoResolved) {
            m_proto = WSocketResolveProto(m_protoStr);
            m_type = m_proto == IPPROTO_TCP   ? SOCK_STREAM
                     : m_proto == IPPROTO_UDP ? SOCK_DGRAM
                                              : SOCK_RAW;
            m_protoResolved = true;
        }
        if (!m_portResolved) {
            m_sin.sin_port =
                htons(static_cast<std::uint16_t>(WSocketResolvePort(m_portStr, m_protoStr)));
            m_portResolved = true;
        }
        if (!m_localPortResolved) {
            m_localPortNum = WSocketResolvePort(m_localPortStr, m_protoStr);
            m_localPortResolved = true;
        }
        if (!m_addrResolved) {
            m_sin.sin_addr.s_addr = WSocketResolveHost(m_addrStr);
            m_addrResolved = true;
        }
    } catch (const ESocketException &e) {
        RaiseException(QStringLiteral("connect: ") + e.Message());
        return;
    }

    DeleteBufferedData();
    int fd = wsSocket(m_addrFormat, m_type, m_proto);
    if (fd < 0) {
        SocketError(QStringLiteral("Connect (socket)"));
        return;
    }
    newDescriptor(fd);
    socklen_t len = sizeof m_sndBufSize;
    if (wsGetSockOpt(m_hSocket, SOL_SOCKET, SO_SNDBUF, &m_sndBufSize, &len) != 0) {
        SocketError(QStringLiteral("getsockopt(SO_SNDBUF)"));
        return;
    }
    len = sizeof m_rcvBufSize;
    if (wsGetSockOpt(m_hSocket, SOL_SOCKET, SO_RCVBUF, &m_rcvBufSize, &len) != 0) {
        SocketError(QStringLiteral("getsockopt(SO_RCVBUF)"));
        return;
    }
    ChangeState(wsOpened);
    if (m_state != wsOpened) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("Connect (Invalid operation in OnChangeState)"));
        return;
    }
    if (m_type == SOCK_DGRAM) {
        BindSocket();
        if (m_multiCast) {
            if (m_multiCastIpTTL != 1) {
                unsigned char ttl = static_cast<unsigned char>(m_multiCastIpTTL);
                if (wsSetSockOpt(m_hSocket, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0) {
                    SocketError(QStringLiteral("setsockopt(IP_MULTICAST_TTL)"));
                    return;
                }
            }
            if (m_localAddr != QLatin1String("0.0.0.0")) {
                in_addr iface{};
                iface.s_addr = WSocketResolveHost(m_localAddr);
                if (wsSetSockOpt(m_hSocket, IPPROTO_IP, IP_MULTICAST_IF, &iface, sizeof iface) !=
                    0) {
                    SocketError(QStringLiteral("setsockopt(IP_MULTICAST_IF)"));
                    return;
                }
            }
        }
        if (m_sin.sin_addr.s_addr == 0xFFFFFFFFu) {
            int on = 1;
            if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
                SocketError(QStringLiteral("setsockopt(SO_BROADCAST)"));
                return;
            }
        }
    } else {
        int on = -1;
        if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
            SocketError(QStringLiteral("setsockopt(SO_REUSEADDR)"));
            return;
        }
        if (m_options.has(wsoTcpNoDelay) &&
            wsSetSockOpt(m_hSocket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
            SocketError(QStringLiteral("setsockopt(IPPROTO_TCP, TCP_NODELAY)"));
            return;
        }
        SetLingerOption();
        SetKeepAliveOption();
        if (m_localPortNum != 0 || m_localAddr != QLatin1String("0.0.0.0"))
            BindSocket();
    }
    if (m_hSocket == INVALID_SOCKET)
        return;
    if (!selectEvents(FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE)) {
        SocketError(QStringLiteral("WSAAsyncSelect"));
        return;
    }
    if (m_type == SOCK_DGRAM) {
        m_select->setMode(SelectWatch::Mode::Datagram);
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(0);
        return;
    }
    if (CheckLogOptions(loWsockInfo))
        DebugLog(loWsockInfo, QStringLiteral("TWSocket will connect to ") +
                                  wsInetNtoa(m_sin.sin_addr) + QStringLiteral(":") +
                                  QString::number(ntohs(m_sin.sin_port)));
    if (wsConnect(m_hSocket, reinterpret_cast<sockaddr *>(&m_sin), sizeof m_sin) == 0 ||
        WSAGetLastError() == 10035) {
        m_select->setMode(SelectWatch::Mode::Connecting);
        ChangeState(wsConnecting);
    } else {
        m_lastError = WSAGetLastError();
        SocketError(QStringLiteral("Connect"));
    }
}

void TCustomWSocket::Listen()
{
    if (!m_portAssigned) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("listen: port not assigned"));
        return;
    }
    if (!m_protoAssigned) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("listen: protocol not assigned"));
        return;
    }
    if (!m_addrAssigned) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("listen: address not assigned"));
        return;
    }
    try {
        if (!m_protoResolved) {
            if (m_protoStr.left(4).compare(QLatin1String("raw_"), Qt::CaseInsensitive) == 0) {
                m_type = SOCK_RAW;
                m_proto = WSocketResolveProto(m_protoStr.mid(4, 10));
            } else {
                m_proto = WSocketResolveProto(m_protoStr);
                m_type = m_proto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
            }
            m_protoResolved = true;
        }
        if (!m_portResolved) {
            m_sin.sin_port =
                htons(static_cast<std::uint16_t>(WSocketResolvePort(m_portStr, m_protoStr)));
            m_portResolved = true;
        }
        if (!m_addrResolved) {
            m_sin.sin_addr.s_addr = WSocketResolveHost(m_addrStr);
            m_addrResolved = true;
        }
    } catch (const ESocketException &e) {
        RaiseException(QStringLiteral("Listen: ") + e.Message());
        return;
    }

    DeleteBufferedData();
    int fd = wsSocket(m_addrFormat, m_type, m_proto);
    if (fd < 0) {
        SocketError(QStringLiteral("socket"));
        return;
    }
    newDescriptor(fd);
    if (m_type == SOCK_DGRAM && m_reuseAddr) {
        int on = 1;
        if (wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
            socketErrorThenClose(QStringLiteral("setsockopt(SO_REUSEADDR)"));
            return;
        }
    }
    if (m_type == SOCK_STREAM) {
        // A listener restarted at once must not wait for old connections.
        int on = 1;
        wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (wsBind(m_hSocket, reinterpret_cast<sockaddr *>(&m_sin), sizeof m_sin) != 0) {
        socketErrorThenClose(QStringLiteral("Bind"));
        return;
    }
    ChangeState(wsBound);
    if (m_type == SOCK_STREAM) {
        if (wsListen(m_hSocket, m_listenBacklog) != 0) {
            SocketError(QStringLiteral("Listen"));
            return;
        }
        ChangeState(wsListening);
    } else if (m_type == SOCK_DGRAM || m_type == SOCK_RAW) {
        if (m_type == SOCK_RAW && m_options.has(wsoSIO_RCVALL)) {
            // Receiving every packet of an interface has no equivalent here.
            WSASetLastError(10045);
            socketErrorThenClose(QStringLiteral("WSAIoctl(SIO_RCVALL)"));
            return;
        }
        if (m_type == SOCK_DGRAM && m_multiCast) {
            ip_mreq membership{};
            try {
                membership.imr_multiaddr.s_addr = WSocketResolveHost(m_multiCastAddrStr);
                membership.imr_interface.s_addr = WSocketResolveHost(m_addrStr);
            } catch (const ESocketException &e) {
                RaiseException(QStringLiteral("Listen: ") + e.Message());
                return;
            }
            if (wsSetSockOpt(m_hSocket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership,
                             sizeof membership) != 0) {
                SocketError(QStringLiteral("setsockopt(IP_ADD_MEMBERSHIP)"));
                return;
            }
        }
        ChangeState(wsListening);
        ChangeState(wsConnected);
        TriggerSessionConnected(0);
    } else {
        SocketError(QStringLiteral("Listen: unexpected protocol."));
        return;
    }
    if (m_hSocket == INVALID_SOCKET)
        return;
    unsigned mask = m_type == SOCK_STREAM ? (FD_ACCEPT | FD_CLOSE)
                                          : (FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE);
    if (!selectEvents(mask)) {
        SocketError(QStringLiteral("WSAASyncSelect"));
        return;
    }
    m_select->setMode(m_type == SOCK_STREAM ? SelectWatch::Mode::Listening
                                            : SelectWatch::Mode::Datagram);
}

int TCustomWSocket::Accept()
{
    if (m_state != wsListening) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("not a listening socket"));
        return -1;
    }
    socklen_t len = sizeof m_sin;
    int fd = wsAccept(m_hSocket, reinterpret_cast<sockaddr *>(&m_sin), &len);
    if (m_select)
        m_select->rearmRead();
    if (fd < 0) {
        SocketError(QStringLiteral("Accept"));
        return -1;
    }
    m_aSocket = fd;
    return fd;
}

void TCustomWSocket::Dup(int newHSocket)
{
    if (newHSocket == 0 || newHSocket == INVALID_SOCKET) {
        WSASetLastError(10022);
        SocketError(QStringLiteral("Dup"));
        return;
    }
    if (m_state != wsClosed) {
        int fd = m_hSocket;
        dropDescriptor();
        if (fd != INVALID_SOCKET && wsCloseSocket(fd) != 0) {
            SocketError(QStringLiteral("Dup (closesocket)"));
            return;
        }
        ChangeState(wsClosed);
    }
    newDescriptor(newHSocket);
    socklen_t len = sizeof m_sndBufSize;
    if (wsGetSockOpt(m_hSocket, SOL_SOCKET, SO_SNDBUF, &m_sndBufSize, &len) != 0) {
        SocketError(QStringLiteral("getsockopt(SO_SNDBUF)"));
        return;
    }
    len = sizeof m_rcvBufSize;
    if (wsGetSockOpt(m_hSocket, SOL_SOCKET, SO_RCVBUF, &m_rcvBufSize, &len) != 0) {
        SocketError(QStringLiteral("getsockopt(SO_RCVBUF)"));
        return;
    }
    SetLingerOption();
    if (!selectEvents(FD_READ | FD_WRITE | FD_CLOSE)) {
        SocketError(QStringLiteral("WSAAsyncSelect"));
        return;
    }
    m_select->setMode(SelectWatch::Mode::Stream);
    DupConnected();
}

void TCustomWSocket::DupConnected()
{
    ChangeState(wsConnected);
}

// ---------------------------------------------------------------------------
// Closing

void TCustomWSocket::Close()
{
    InternalClose(true, 0);
}

void TCustomWSocket::CloseDelayed()
{
    if (m_loop != nullptr && m_window != 0)
        m_loop->post(m_window, WM_CLOSE_DELAYED, m_generation, 0);
}

void TCustomWSocket::closeDescriptorQuietly()
{
    if (m_hSocket != INVALID_SOCKET) {
        Shutdown(SHUT_WR);
        int fd = m_hSocket;
        dropDescriptor();
        wsCloseSocket(fd);
    }
    DeleteBufferedData();
    m_allSent = true;
}

void TCustomWSocket::Release()
{
    if (m_loop != nullptr && m_window != 0)
        m_loop->post(m_window, WM_WSOCKET_RELEASE, 0, 0);
}

void TCustomWSocket::Abort()
{
    InternalAbort(0);
}

void TCustomWSocket::Shutdown(int how)
{
    if (CheckLogOptions(loWsockInfo))
        DebugLog(loWsockInfo, identity() + QStringLiteral(" TCustomWSocket.Shutdown ") +
                                  QString::number(how) + QLatin1Char(' ') +
                                  QString::number(m_hSocket));
    if (m_hSocket != INVALID_SOCKET)
        wsShutdown(m_hSocket, how);
}

void TCustomWSocket::InternalClose(bool shut, int error)
{
    // A handler fired here may open the next connection (reconnecting code
    // does it from OnSessionClosed): resetting the socket after it would
    // drop that connection's descriptor unclosed.
    const std::uint32_t generation = m_generation;
    if (m_hSocket == INVALID_SOCKET) {
        if (m_state != wsClosed) {
            ChangeState(wsClosed);
            if (m_generation == generation)
                AssignDefaultValue();
        }
        return;
    }
    if (m_state == wsClosed) {
        // A socket made but never opened still owns its descriptor.
        int fd = m_hSocket;
        dropDescriptor();
        wsCloseSocket(fd);
        return;
    }
    if (shut)
        Shutdown(SHUT_WR);
    int fd = m_hSocket;
    dropDescriptor();
    if (wsCloseSocket(fd) != 0) {
        int code = WSAGetLastError();
        m_lastError = code;
        if (code != 10093) {
            SocketError(QStringLiteral("Disconnect (closesocket)"));
            return;
        }
    }
    ChangeState(wsClosed);
    if (!m_destroying && !m_closeInvoked) {
        // The mark belongs to a connection opened meanwhile, if any.
        if (m_generation == generation)
            m_closeInvoked = true;
        TriggerSessionClosed(error);
    }
    if (m_generation != generation)
        return;
    try {
        AssignDefaultValue();
    } catch (...) {
    }
}

void TCustomWSocket::InternalAbort(int error)
{
    CancelDnsLookup();
    DeleteBufferedData();
    if (m_hSocket != INVALID_SOCKET && m_state == wsConnected && m_proto == IPPROTO_TCP) {
        // Linger on with no time: the close resets the connection.
        linger value{1, 0};
        wsSetSockOpt(m_hSocket, SOL_SOCKET, SO_LINGER, &value, sizeof value);
    }
    InternalClose(false, error);
}

void TCustomWSocket::Flush()
{
    while (m_hSocket != INVALID_SOCKET) {
        {
            std::lock_guard lock(g_sendLock);
            if (m_bufList.empty())
                break;
        }
        TryToSend();
        if (m_allSent || m_hSocket == INVALID_SOCKET)
            break;
        if (m_loop != nullptr)
            m_loop->waitAndProcess(50);
    }
}

void TCustomWSocket::WaitForClose()
{
    // Waits for this connection's end, not for that of one its close
    // handler opened.
    const std::uint32_t generation = m_generation;
    while (m_hSocket != INVALID_SOCKET && m_state != wsClosed && m_generation == generation) {
        ProcessMessages();
        if (m_hSocket == INVALID_SOCKET || m_generation != generation)
            break;
        int waiting = 0;
        if (wsIoctlFionread(m_hSocket, &waiting) != 0)
            break;
        if (waiting > 0 || m_aheadCount > 0) {
            TriggerDataAvailable(0);
        } else {
            char probe;
            int got = DoRecv(&probe, 1, MSG_PEEK);
            if (got < 1) {
                int code = got == 0 ? 0 : WSAGetLastError();
                if (code != 10035) {
                    m_lastError = code;
                    break;
                }
            }
        }
        if (m_loop != nullptr)
            m_loop->waitAndProcess(50);
    }
}

void TCustomWSocket::Pause()
{
    m_paused = true;
    if (m_select)
        m_select->setPaused(true);
}

void TCustomWSocket::Resume()
{
    m_paused = false;
    if (m_select)
        m_select->setPaused(false);
}

// ---------------------------------------------------------------------------
// Addresses

QString TCustomWSocket::GetPeerAddr()
{
    if (m_state != wsConnected || m_hSocket == INVALID_SOCKET)
        return QStringLiteral("error");
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    if (wsGetPeerName(m_hSocket, reinterpret_cast<sockaddr *>(&peer), &len) != 0)
        return QStringLiteral("error");
    return wsInetNtoa(peer.sin_addr);
}

QString TCustomWSocket::GetPeerPort()
{
    if (m_state != wsConnected || m_hSocket == INVALID_SOCKET)
        return QStringLiteral("error");
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    if (wsGetPeerName(m_hSocket, reinterpret_cast<sockaddr *>(&peer), &len) != 0)
        return QStringLiteral("error");
    return QString::number(ntohs(peer.sin_port));
}

int TCustomWSocket::GetPeerName(sockaddr_in &name, int &nameLen)
{
    if (m_state != wsConnected)
        return -1;
    socklen_t len = static_cast<socklen_t>(std::max(0, nameLen));
    int result = wsGetPeerName(m_hSocket, reinterpret_cast<sockaddr *>(&name), &len);
    nameLen = static_cast<int>(len);
    return result;
}

int TCustomWSocket::GetSockName(sockaddr_in &name, int &nameLen)
{
    socklen_t len = static_cast<socklen_t>(std::max(0, nameLen));
    int result = wsGetSockName(m_hSocket, reinterpret_cast<sockaddr *>(&name), &len);
    nameLen = static_cast<int>(len);
    return result;
}

QString TCustomWSocket::GetXPort()
{
    if (m_hSocket == INVALID_SOCKET ||
        (m_state != wsBound && m_state != wsConnected && m_state != wsListening))
        return QStringLiteral("error");
    sockaddr_in local{};
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return QStringLiteral("error");
    return QString::number(ntohs(local.sin_port));
}

QString TCustomWSocket::GetXAddr()
{
    if (m_hSocket == INVALID_SOCKET ||
        (m_state != wsBound && m_state != wsConnected && m_state != wsListening))
        return QStringLiteral("error");
    sockaddr_in local{};
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return QStringLiteral("error");
    return wsInetNtoa(local.sin_addr);
}

// ---------------------------------------------------------------------------
// Look-ups

void TCustomWSocket::startLookup(const QString &host, bool reverse, unsigned msg)
{
    auto request = std::make_shared<LookupRequest>();
    request->host = host;
    std::uint64_t handle = ++g_lookupHandle;
    m_lookup = request;
    m_dnsLookupHandle = handle;
    std::weak_ptr<LoopInbox> inbox = m_loop->inbox();
    TargetId target = m_window;
    ForwardResolver forward = reverse ? ForwardResolver() : forwardResolver();
    ReverseResolver backward = reverse ? reverseResolver() : ReverseResolver();
    // Nothing ever waits for a resolver that hangs, and the worker holds
    // only the request record and a weak reference to the inbox.
    auto work = [request, inbox, target, msg, handle, forward, backward] {
        QString hostText;
        {
            std::lock_guard lock(request->lock);
            hostText = request->host;
        }
        int error;
        QString name;
        QStringList list;
        if (backward)
            error = backward(hostText, name, list);
        else
            error = forward(hostText, list);
        {
            std::lock_guard lock(request->lock);
            request->error = error;
            request->name = name;
            request->list = list;
        }
        if (auto box = inbox.lock())
            box->post(PostedMessage{target, msg, static_cast<std::uintptr_t>(handle), 0});
    };
    try {
        startLookupWorker(std::move(work));
    } catch (const std::system_error &) {
        // No thread to run it: the look-up never started.
        m_lookup.reset();
        m_dnsLookupHandle = 0;
        m_lastError = 10055;
        RaiseException(host +
                       (reverse ? QStringLiteral(": can't start reverse DNS lookup - ")
                                : QStringLiteral(": can't start DNS lookup - ")) +
                       GetWinsockErr(10055));
    }
}

void TCustomWSocket::DnsLookup(const QString &hostName)
{
    if (hostName.isEmpty()) {
        RaiseException(QStringLiteral("DNS lookup: invalid host name."));
        TriggerDnsLookupDone(10022);
        return;
    }
    CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    // Every form the address conversion knows ("127.1" included) is
    // answered at once, without a look-up.
    in_addr dotted{};
    if (wsInetAton(hostName.trimmed(), &dotted)) {
        m_dnsResult = wsInetNtoa(dotted);
        m_dnsResultList << m_dnsResult;
        TriggerDnsLookupDone(0);
        return;
    }
    if (m_loop == nullptr || m_window == 0) {
        RaiseException(QStringLiteral("DNS Lookup: Window not assigned"));
        return;
    }
    startLookup(hostName, false, WM_ASYNCGETHOSTBYNAME);
}

void TCustomWSocket::WMAsyncGetHostByName(std::uintptr_t wParam)
{
    if (m_dnsLookupHandle == 0 || wParam != m_dnsLookupHandle || !m_lookup)
        return;
    std::shared_ptr<LookupRequest> request = std::move(m_lookup);
    m_dnsLookupHandle = 0;
    int error;
    QStringList list;
    {
        std::lock_guard lock(request->lock);
        error = request->error;
        list = request->list;
    }
    if (error == 0) {
        m_dnsResultList = list;
        if (!list.isEmpty())
            m_dnsResult = list.first();
    }
    TriggerDnsLookupDone(error);
}

void TCustomWSocket::applyLookupReverse(const QString &name, const QStringList &aliases)
{
    m_dnsResult = name;
    m_dnsResultList.clear();
    m_dnsResultList << name;
    for (const QString &alias : aliases)
        if (!alias.isEmpty())
            m_dnsResultList << alias;
}

void TCustomWSocket::WMAsyncGetHostByAddr(std::uintptr_t wParam)
{
    if (m_dnsLookupHandle == 0 || wParam != m_dnsLookupHandle || !m_lookup)
        return;
    std::shared_ptr<LookupRequest> request = std::move(m_lookup);
    m_dnsLookupHandle = 0;
    int error;
    QString name;
    QStringList aliases;
    {
        std::lock_guard lock(request->lock);
        error = request->error;
        name = request->name;
        aliases = request->list;
    }
    if (error == 0)
        applyLookupReverse(name, aliases);
    TriggerDnsLookupDone(error);
}

void TCustomWSocket::ReverseDnsLookup(const QString &hostAddr)
{
    if (hostAddr.isEmpty() || hostAddr.size() >= 257) {
        RaiseException(QStringLiteral("Reverse DNS Lookup: Invalid host name."));
        TriggerDnsLookupDone(10022);
        return;
    }
    CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    in_addr addr{};
    // Text that is no address asks for the broadcast address, which no
    // resolver names.
    if (!wsInetAton(hostAddr.trimmed(), &addr))
        addr.s_addr = 0xFFFFFFFFu;
    if (m_loop == nullptr || m_window == 0) {
        RaiseException(QStringLiteral("Reverse DNS Lookup: Window not assigned"));
        return;
    }
    startLookup(wsInetNtoa(addr), true, WM_ASYNCGETHOSTBYADDR);
}

void TCustomWSocket::ReverseDnsLookupSync(const QString &hostAddr)
{
    if (hostAddr.isEmpty() || hostAddr.size() >= 257) {
        RaiseException(QStringLiteral("Reverse DNS Lookup: Invalid host name."));
        TriggerDnsLookupDone(10022);
        return;
    }
    CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    in_addr addr{};
    if (!wsInetAton(hostAddr.trimmed(), &addr))
        addr.s_addr = 0xFFFFFFFFu;
    QString name;
    QStringList aliases;
    int error = reverseResolver()(wsInetNtoa(addr), name, aliases);
    if (error == 0)
        applyLookupReverse(name, aliases);
    TriggerDnsLookupDone(error);
}

void TCustomWSocket::CancelDnsLookup()
{
    if (m_dnsLookupHandle == 0)
        return;
    // The worker cannot be stopped; its answer will find no matching handle.
    m_dnsLookupHandle = 0;
    m_lookup.reset();
    if (!m_destroying)
        TriggerDnsLookupDone(10004);
}

// ---------------------------------------------------------------------------
// Message pumping and threads

void TCustomWSocket::ProcessMessages()
{
    EventLoop *loop = m_loop != nullptr ? m_loop : EventLoop::current();
    if (loop == nullptr)
        return;
    loop->processPending();
    if (loop->quitRequested())
        m_terminated = true;
}

void TCustomWSocket::ThreadDetach()
{
    if (std::this_thread::get_id() != m_threadId || m_window == 0) {
        RaiseException(QStringLiteral("Cannot detach from other thread"));
        return;
    }
    if (m_select)
        m_select->detach();
    DeallocateSocketHWnd();
}

void TCustomWSocket::ThreadAttach()
{
    if (m_window != 0) {
        RaiseException(QStringLiteral("Cannot attach when not detached"));
        return;
    }
    AllocateSocketHWnd();
    if (m_window == 0)
        return;
    if (m_hSocket != INVALID_SOCKET && m_select)
        m_select->attach(m_loop);
}

} // namespace net
