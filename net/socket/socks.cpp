// The SOCKS layer of the socket chain: SOCKS 4, 4A and 5 (RFC 1928) with
// user name and password (RFC 1929).
#include "net/socket/selectwatch.h"
#include "net/socket/wsocket.h"
#include "net/sys/socketapi.h"
#include "net/sys/wsockerr.h"
#include "platform/text/codec.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>

namespace net
{

namespace
{

// Texts of the level-5 reply codes 1 to 8 (errors 20004 to 20011).
const char *const kReplyTexts[] = {
    "general SOCKS server failure", "connection not allowed by ruleset",
    "network unreachable",          "host unreachable",
    "connection refused",           "time to live expired",
    "command not supported",        "address type not supported"};

// A field of a request: at most 255 bytes and no zero byte, since the
// requests carry counted or zero-terminated fields.
bool fieldFits(const QByteArray &field)
{
    return field.size() <= 255 && !field.contains('\0');
}

QString unassigned(int code)
{
    return QStringLiteral("unassigned error #") + QString::number(code);
}

} // namespace

// ---------------------------------------------------------------------------
// Properties

void TCustomSocksWSocket::SetSocksServer(const QString &value)
{
    if (m_state != wsClosed) {
        RaiseException(QStringLiteral("Can't change socks server if not closed"));
        return;
    }
    m_socksServer = value.trimmed();
    m_socksServerAssigned = !m_socksServer.isEmpty();
    if (m_resolvedForSocks)
        m_addrResolved = false;
}

void TCustomSocksWSocket::SetSocksPort(const QString &value)
{
    if (m_state != wsClosed) {
        RaiseException(QStringLiteral("Can't change socks port if not closed"));
        return;
    }
    m_socksPortStr = value.trimmed();
    m_socksPortAssigned = !m_socksPortStr.isEmpty();
    if (m_resolvedForSocks)
        m_portResolved = false;
}

void TCustomSocksWSocket::SetSocksLevel(const QString &value)
{
    if (m_state != wsClosed) {
        RaiseException(QStringLiteral("Can't change socks level if not closed"));
        return;
    }
    if (value != QLatin1String("4") && value != QLatin1String("5") &&
        value != QLatin1String("4A") && value != QLatin1String("4a")) {
        RaiseException(QStringLiteral("Invalid socks level. Must be 4, 4A or 5."));
        return;
    }
    m_socksLevel = value.toUpper();
}

void TCustomSocksWSocket::AssignDefaultValue()
{
    TCustomWSocket::AssignDefaultValue();
    m_socksState = socksData;
    m_socksServer.clear();
    m_socksPortStr.clear();
    m_socksServerAssigned = false;
    m_socksPortAssigned = false;
    m_resolvedForSocks = false;
    m_socksLevel = QStringLiteral("5");
    m_socksRcvdCnt = 0;
    m_socksCarryCnt = 0;
    m_socksCarryPos = 0;
}

// ---------------------------------------------------------------------------
// Connecting

void TCustomSocksWSocket::resolveFor(bool throughSocks)
{
    // A connection opened from the close handler of the last one finds what
    // was resolved for that one (the close resets it only after the
    // handler), with Addr and Port possibly set again to the same text.
    if (m_resolvedForSocks != throughSocks) {
        m_addrResolved = false;
        m_portResolved = false;
    }
    m_resolvedForSocks = throughSocks;
}

void TCustomSocksWSocket::Connect()
{
    // The owner opens the next connection from a handler of a failed one:
    // that one's close comes first. A close handler that opened one itself
    // has had its way.
    if (m_socksFailure != 0) {
        deliverOwedClose(true);
        if (m_hSocket != INVALID_SOCKET)
            return;
    }
    // A socket in use is refused by the base without disturbing its exchange.
    if (m_hSocket != INVALID_SOCKET && m_state != wsClosed) {
        TCustomWSocket::Connect();
        return;
    }
    resolveFor(m_socksServerAssigned);
    // Nothing of the last connection's exchange belongs to this one.
    m_socksState = socksData;
    m_socksRcvdCnt = 0;
    m_socksCarryCnt = 0;
    m_socksCarryPos = 0;
    if (!m_socksServerAssigned) {
        TCustomWSocket::Connect();
        return;
    }
    const QString proto = m_protoStr.trimmed();
    if (proto.compare(QLatin1String("tcp"), Qt::CaseInsensitive) != 0 &&
        proto != QLatin1String("6")) {
        RaiseException(QStringLiteral("TCP is the only protocol supported thru socks server"));
        return;
    }
    try {
        // The socket address is the SOCKS server's; the destination travels
        // in the requests.
        if (!m_portResolved) {
            m_sin.sin_port =
                htons(static_cast<std::uint16_t>(WSocketResolvePort(m_socksPortStr, m_protoStr)));
            m_portResolved = true;
        }
        if (!m_addrResolved) {
            m_sin.sin_addr.s_addr = WSocketResolveHost(m_socksServer);
            m_addrResolved = true;
        }
        m_socksDestPort = static_cast<std::uint16_t>(WSocketResolvePort(m_portStr, m_protoStr));
    } catch (const ESocketException &e) {
        RaiseException(QStringLiteral("Connect: ") + e.Message());
        return;
    }
    m_socksState = socksNegociateMethods;
    m_socksRcvdCnt = 0;
    m_socksCarryCnt = 0;
    TCustomWSocket::Connect();
}

void TCustomSocksWSocket::Listen()
{
    if (m_socksFailure != 0) {
        deliverOwedClose(true);
        if (m_hSocket != INVALID_SOCKET)
            return;
    }
    if (m_socksServerAssigned) {
        RaiseException(QStringLiteral("Listening is not supported thru socks server"));
        return;
    }
    resolveFor(false);
    TCustomWSocket::Listen();
}

bool TCustomSocksWSocket::alive() const
{
    return m_hSocket != INVALID_SOCKET && m_state == wsConnected;
}

bool TCustomSocksWSocket::stillOpen(std::uint32_t generation) const
{
    return m_generation == generation && m_hSocket != INVALID_SOCKET;
}

void TCustomSocksWSocket::TriggerSessionConnectedSpecial(int error)
{
    if (m_socksState != socksNegociateMethods) {
        TCustomWSocket::TriggerSessionConnectedSpecial(error);
        return;
    }
    const std::uint32_t generation = m_generation;
    TriggerSocksConnected(error);
    // Closed, or replaced by the next connection, from that event.
    if (!stillOpen(generation))
        return;
    if (error != 0) {
        // The server could not be reached: a plain failed connection.
        m_socksState = socksData;
        TCustomWSocket::TriggerSessionConnectedSpecial(error);
        return;
    }
    if (!alive())
        return;
    if (levelFour()) {
        SocksDoConnect();
        return;
    }
    m_socksAuthNumber = m_socksAuthentication == socksAuthenticateUsercode ? 2 : 0;
    const char offer[3] = {5, 1, static_cast<char>(m_socksAuthNumber)};
    sendRequest(QByteArray(offer, 3));
}

bool TCustomSocksWSocket::sendRequest(const QByteArray &request)
{
    return Send(request.constData(), static_cast<int>(request.size())) >= 0;
}

void TCustomSocksWSocket::SocksDoConnect()
{
    QByteArray request;
    const QByteArray dest = platform::toAnsi(m_addrStr);
    if (levelFour()) {
        const QByteArray user = platform::toAnsi(m_socksUsercode);
        const bool fourA = m_socksLevel == QLatin1String("4A");
        if (!fieldFits(user) || (fourA && !fieldFits(dest))) {
            SocksError(20013, QStringLiteral("socks request too long"));
            return;
        }
        std::uint32_t address = htonl(1); // 0.0.0.1: the server resolves the name
        if (!fourA) {
            try {
                address = WSocketResolveHost(m_addrStr);
            } catch (const ESocketException &e) {
                SocksError(11001, e.Message());
                return;
            }
        }
        m_socksState = socksConnect;
        request.append(char(4)).append(char(1));
        request.append(char(m_socksDestPort >> 8)).append(char(m_socksDestPort & 0xFF));
        request.append(reinterpret_cast<const char *>(&address), 4);
        request.append(user).append('\0');
        if (fourA)
            request.append(dest).append('\0');
    } else {
        if (!fieldFits(dest)) {
            SocksError(20013, QStringLiteral("socks request too long"));
            return;
        }
        m_socksState = socksConnect;
        // The destination always goes as a name, a dotted address included.
        request.append(char(5)).append(char(1)).append(char(0)).append(char(3));
        request.append(char(dest.size())).append(dest);
        request.append(char(m_socksDestPort >> 8)).append(char(m_socksDestPort & 0xFF));
    }
    sendRequest(request);
}

void TCustomSocksWSocket::SocksDoAuthenticate()
{
    const QByteArray user = platform::toAnsi(m_socksUsercode);
    const QByteArray pass = platform::toAnsi(m_socksPassword);
    if (!fieldFits(user) || !fieldFits(pass)) {
        SocksError(20013, QStringLiteral("socks request too long"));
        return;
    }
    m_socksState = socksAuthenticate;
    const std::uint32_t generation = m_generation;
    TriggerSocksAuthState(socksAuthStart);
    if (!stillOpen(generation) || !alive())
        return;
    QByteArray request;
    request.append(char(1)).append(char(user.size())).append(user);
    request.append(char(pass.size())).append(pass);
    sendRequest(request);
}

void TCustomSocksWSocket::SocksError(int error, const QString &msg)
{
    endExchange(error);
    reportFailure(error, msg);
}

void TCustomSocksWSocket::endExchange(int error)
{
    m_socksState = socksData;
    m_socksRcvdCnt = 0;
    m_socksCarryCnt = 0;
    closeDescriptorQuietly();
    m_socksFailure = error;
    ChangeState(wsClosed);
}

void TCustomSocksWSocket::reportFailure(int error, const QString &msg)
{
    // An owner that closed the socket, or opened the next connection, from
    // one of these events has had this one's close there.
    const std::uint32_t generation = m_generation;
    if (!closeOwed(generation))
        return;
    TriggerSocksError(error, msg);
    if (!closeOwed(generation))
        return;
    TriggerSessionConnectedSpecial(error);
    if (!closeOwed(generation))
        return;
    deliverOwedClose(false);
}

void TCustomSocksWSocket::deliverOwedClose(bool keepSettings)
{
    const int error = m_socksFailure;
    m_socksFailure = 0;
    if (componentDestroying())
        return;
    const std::uint32_t generation = m_generation;
    m_closeInvoked = true;
    TriggerSessionClosed(error);
    // A connection opened from the close handler keeps what it was given.
    if (!keepSettings && m_generation == generation && m_hSocket == INVALID_SOCKET)
        AssignDefaultValue();
}

void TCustomSocksWSocket::InternalClose(bool shut, int error)
{
    // The descriptor of a failed connection is closed already: what is left
    // of it is its close.
    if (m_socksFailure != 0) {
        deliverOwedClose(false);
        return;
    }
    TCustomWSocket::InternalClose(shut, error);
}

// ---------------------------------------------------------------------------
// The server's replies

void TCustomSocksWSocket::readReply(int limit)
{
    int room = std::min<int>(limit, sizeof m_socksRcvdBuf) - m_socksRcvdCnt;
    if (room <= 0)
        return;
    int got = kernelRecv(m_socksRcvdBuf + m_socksRcvdCnt, room, 0);
    if (got > 0)
        m_socksRcvdCnt += got;
}

bool TCustomSocksWSocket::TriggerDataAvailable(int error)
{
    if (m_socksState == socksData)
        return TCustomWSocket::TriggerDataAvailable(error);
    // After a failure the socket is closed or is the owner's next
    // connection: nothing is left to drain (true), least of all that one's
    // bytes.
    if (error != 0) {
        SocksError(error, QStringLiteral("data receive error"));
        return true;
    }
    const int whole = static_cast<int>(sizeof m_socksRcvdBuf) - 1;
    switch (m_socksState) {
    case socksNegociateMethods:
        readReply(whole);
        if (levelFour()) {
            SocksError(20001, QStringLiteral("TWSocket logic error"));
            return true;
        }
        if (m_socksRcvdCnt < 2)
            return true;
        m_socksRcvdCnt = 0;
        if (m_socksRcvdBuf[0] != 5) {
            SocksError(20002, QStringLiteral("socks version error"));
        } else if (m_socksRcvdBuf[1] == 0) {
            const std::uint32_t generation = m_generation;
            if (m_socksAuthNumber != 0)
                TriggerSocksAuthState(socksAuthNotRequired);
            if (stillOpen(generation) && alive())
                SocksDoConnect();
        } else if (m_socksRcvdBuf[1] == 2 && m_socksAuthNumber == 2) {
            SocksDoAuthenticate();
        } else {
            // A method the offer did not name: in particular no user name or
            // password goes to a server the user never meant them for.
            SocksError(20003, QStringLiteral("authentification method not acceptable"));
        }
        return true;
    case socksAuthenticate: {
        readReply(whole);
        if (m_socksRcvdCnt >= 1 && m_socksRcvdBuf[0] != 1) {
            SocksError(20002, QStringLiteral("socks version error"));
            return true;
        }
        if (m_socksRcvdCnt < 2)
            return true;
        if (m_socksRcvdBuf[1] != 0) {
            SocksError(20015, QStringLiteral("socks authentication failed"));
            return true;
        }
        if (m_socksRcvdCnt > 2) {
            SocksError(20001, QStringLiteral("too much data availaible"));
            return true;
        }
        m_socksRcvdCnt = 0;
        const std::uint32_t generation = m_generation;
        TriggerSocksAuthState(socksAuthSuccess);
        if (stillOpen(generation) && alive())
            SocksDoConnect();
        return true;
    }
    case socksConnect:
        if (levelFour())
            return replyLevelFour();
        return replyLevelFive();
    default:
        SocksError(20013, QStringLiteral("internal error"));
        return true;
    }
}

bool TCustomSocksWSocket::connectedThrough()
{
    m_socksState = socksData;
    const std::uint32_t generation = m_generation;
    TriggerSessionConnectedSpecial(0);
    if (!stillOpen(generation) || !alive())
        return true;
    // The owner hears of the data that came with the reply, or is already
    // waiting behind it, at once.
    int waiting = 0;
    if (m_socksCarryCnt > 0 || (wsIoctlFionread(m_hSocket, &waiting) == 0 && waiting > 0))
        return TriggerDataAvailable(0);
    return true;
}

bool TCustomSocksWSocket::replyLevelFour()
{
    // The reply has 8 bytes; what follows stays in the socket for the owner.
    readReply(8);
    if (m_socksRcvdCnt < 8)
        return true;
    m_socksRcvdCnt = 0;
    if (m_socksRcvdBuf[0] != 0) {
        SocksError(20002, QStringLiteral("socks version error"));
        return true;
    }
    switch (m_socksRcvdBuf[1]) {
    case 90:
        return connectedThrough();
    case 91:
        SocksError(20016, QStringLiteral("request rejected or failed"));
        break;
    case 92:
        SocksError(20008, QStringLiteral("connection refused"));
        break;
    case 93:
        SocksError(20015, QStringLiteral("authentification failed"));
        break;
    default:
        SocksError(20012, unassigned(m_socksRcvdBuf[1]));
        break;
    }
    return true;
}

bool TCustomSocksWSocket::replyLevelFive()
{
    readReply(static_cast<int>(sizeof m_socksRcvdBuf) - 1);
    const unsigned char *reply = m_socksRcvdBuf;
    if (m_socksRcvdCnt >= 1 && reply[0] != 5) {
        SocksError(20002, QStringLiteral("socks version error"));
        return true;
    }
    if (m_socksRcvdCnt >= 2 && reply[1] != 0) {
        int code = reply[1];
        if (code >= 1 && code <= 8)
            SocksError(20003 + code, QLatin1String(kReplyTexts[code - 1]));
        else
            SocksError(20012, unassigned(code));
        return true;
    }
    if (m_socksRcvdCnt < 5)
        return true;
    int length;
    if (reply[3] == 1) {
        length = 10;
    } else if (reply[3] == 3) {
        length = 7 + reply[4];
    } else {
        SocksError(20011, QLatin1String(kReplyTexts[7]));
        return true;
    }
    if (m_socksRcvdCnt < length)
        return true;
    if (reply[3] == 1) {
        in_addr bound{};
        std::memcpy(&bound.s_addr, reply + 4, 4);
        m_boundAddr = wsInetNtoa(bound);
    } else {
        m_boundAddr =
            platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(reply + 5), reply[4]));
    }
    m_boundPort = QString::number((reply[length - 2] << 8) | reply[length - 1]);
    m_socksCarryPos = length;
    m_socksCarryCnt = m_socksRcvdCnt - length;
    m_socksRcvdCnt = 0;
    return connectedThrough();
}

void TCustomSocksWSocket::TriggerSessionClosed(int error)
{
    if (m_socksState == socksData) {
        TCustomWSocket::TriggerSessionClosed(error);
        return;
    }
    const SocksState was = m_socksState;
    m_socksState = socksData;
    const std::uint32_t generation = m_generation;
    if (m_hSocket == INVALID_SOCKET) {
        // The owner closed the socket itself during the exchange.
        if (was == socksAuthenticate) {
            TriggerSocksAuthState(socksAuthFailure);
            // Closed, and the next connection opened, from that event.
            if (m_generation != generation)
                return;
        }
        TCustomWSocket::TriggerSessionClosed(error);
        return;
    }
    // The server left before the destination answered: a failure, never a
    // connection that opened and closed.
    const int code = error != 0 ? error : 20014;
    endExchange(code);
    if (was == socksAuthenticate) {
        TriggerSocksAuthState(socksAuthFailure);
        if (!closeOwed(generation))
            return;
    }
    reportFailure(code, error != 0 ? QStringLiteral("data receive error")
                                   : QStringLiteral("socks server closed the connection"));
}

// ---------------------------------------------------------------------------
// Carried-over bytes come before the socket's

int TCustomSocksWSocket::GetRcvdCount()
{
    if (m_socksCarryCnt > 0)
        return m_socksCarryCnt;
    return TCustomWSocket::GetRcvdCount();
}

int TCustomSocksWSocket::DoRecv(void *buffer, int size, int flags)
{
    if (m_socksCarryCnt <= 0 || size <= 0)
        return TCustomWSocket::DoRecv(buffer, size, flags);
    int count = std::min(size, m_socksCarryCnt);
    std::memcpy(buffer, m_socksRcvdBuf + m_socksCarryPos, static_cast<size_t>(count));
    if (!(flags & MSG_PEEK)) {
        m_socksCarryPos += count;
        m_socksCarryCnt -= count;
    }
    servedFromBuffer();
    return count;
}

// ---------------------------------------------------------------------------
// Events

void TCustomSocksWSocket::TriggerSocksConnected(int error)
{
    if (OnSocksConnected)
        OnSocksConnected(this, static_cast<std::uint16_t>(error));
}

void TCustomSocksWSocket::TriggerSocksError(int error, const QString &msg)
{
    if (OnSocksError)
        OnSocksError(this, error, msg);
}

void TCustomSocksWSocket::TriggerSocksAuthState(TSocksAuthState state)
{
    if (OnSocksAuthState)
        OnSocksAuthState(this, state);
}

} // namespace net
