#include "net/http/httpprot.h"

#include "net/http/urlsplit.h"
#include "net/sys/socketapi.h"
#include "net/sys/wsockerr.h"
#include "platform/text/codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace net
{

namespace
{

// A message of our own for the simulated peer's close.
constexpr unsigned WM_HTTP_SIM_CLOSE = WM_USER + 10;

constexpr int kBufferSize = 8193;
// A body's bytes go from the socket to their owner in blocks of this size:
// fewer, larger reads cost less than many of the line buffer's size.
constexpr int kBodyBlockSize = 256 * 1024;
// Beyond these a header is hostile, not large.
constexpr std::int64_t kMaxHeaderBytes = 256 * 1024;
constexpr int kMaxHeaderLines = 1000;

void writeAll(TStream &stream, const char *data, int len)
{
    while (len > 0) {
        int n = stream.Write(data, len);
        if (n <= 0)
            throw platform::EFileError(QStringLiteral("Stream write error"));
        data += n;
        len -= n;
    }
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

} // namespace

#define HTTP_TRACE(option, text)                                                                   \
    do {                                                                                           \
        if (CheckLogOptions(option))                                                               \
            DebugLog(option, text);                                                                \
    } while (0)

QString HttpStateName(int state)
{
    static const char *const names[] = {
        "httpReady",       "httpNotConnected",  "httpConnected",
        "httpDnsLookup",   "httpDnsLookupDone", "httpWaitingHeader",
        "httpWaitingBody", "httpBodyReceived",  "httpWaitingProxyConnect",
        "httpClosing",     "httpAborting"};
    if (state < 0 || state > httpAborting)
        return QStringLiteral("INVALID STATE");
    return QLatin1String(names[state]);
}

// ---------------------------------------------------------------------------
// Life

THttpCli::THttpCli()
{
    m_loop = EventLoop::current();
    if (m_loop == nullptr)
        throw EHttpException(QStringLiteral("HTTP component needs an event loop"), 0);
    m_window =
        m_loop->registerTarget([this](unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
            guarded([&] { WndProc(msg, wParam, lParam); });
        });
    CreateSocket();
    m_contentCodingHnd = std::make_unique<THttpContCodHandler>(
        [this](const char *buffer, int len) {
            if (m_receiveStream != nullptr)
                writeAll(*m_receiveStream, buffer, len);
        },
        [this](const char *buffer, int len) { TriggerDocData(buffer, len); });
    std::memset(m_rcvdBuffer, 0, sizeof m_rcvdBuffer);
}

THttpCli::~THttpCli()
{
    stopBandwidthTimer();
    if (m_loop != nullptr && m_window != 0)
        m_loop->unregister(m_window);
    m_window = 0;
    // The socket's last notifications must not reach a half-destroyed owner.
    m_socket->OnSessionConnected = nullptr;
    m_socket->OnSessionClosed = nullptr;
    m_socket->OnDataAvailable = nullptr;
    m_socket->SetNextReceive(nullptr);
    m_socket->OnDataSent = nullptr;
    m_socket->OnDnsLookupDone = nullptr;
    m_socket->OnSendData = nullptr;
    m_socket->OnError = nullptr;
    m_socket->OnSocksConnected = nullptr;
    m_socket->OnSocksError = nullptr;
    m_socket.reset();
}

void THttpCli::CreateSocket()
{
    m_socket = std::make_unique<TWSocket>();
    bindSocket();
}

void THttpCli::bindSocket()
{
    m_socket->OnSessionConnected = [this](TCustomWSocket *, std::uint16_t error) {
        guarded([&] { SocketSessionConnected(error); });
    };
    m_socket->OnSessionClosed = [this](TCustomWSocket *, std::uint16_t error) {
        guarded([&] { closeHandlerDispatch(error); });
    };
    m_socket->OnDataAvailable = [this](TCustomWSocket *, std::uint16_t error) {
        guarded([&] { SocketDataAvailable(error); });
    };
    // The body's next block is where the socket may read as it wakes up,
    // unless bytes the socket holds itself would come first.
    m_socket->SetNextReceive([this](char *&buffer, int &size) {
        if (m_simulating || !bodyStraightFromSocket() || m_socket->LineMode() ||
            m_socket->LineBufferedCount() > 0)
            return false;
        if (!m_bodyBlock)
            m_bodyBlock = std::make_unique<char[]>(kBodyBlockSize);
        buffer = m_bodyBlock.get();
        size = kBodyBlockSize;
        return true;
    });
    m_socket->OnDataSent = [this](TCustomWSocket *, std::uint16_t error) {
        guarded([&] { SocketDataSent(error); });
    };
    m_socket->OnDnsLookupDone = [this](TCustomWSocket *, std::uint16_t error) {
        guarded([&] { SocketDNSLookupDone(error); });
    };
    m_socket->OnSendData = [this](TCustomWSocket *, int bytes) { m_requestBytesWritten += bytes; };
    // Relayed with the socket as the sender.
    m_socket->OnSocksConnected = [this](TCustomWSocket *sender, std::uint16_t error) {
        if (OnSocksConnected)
            OnSocksConnected(sender, error);
    };
    m_socket->OnSocksError = [this](TCustomWSocket *sender, int error, const QString &msg) {
        if (OnSocksError)
            OnSocksError(sender, error, msg);
    };
    // Bound on purpose: the socket then reports instead of raising, and the
    // client reads its state after each call.
    m_socket->OnError = [this](TCustomWSocket *) {
        if (OnSocketError)
            OnSocketError(this);
    };
}

template <typename F> void THttpCli::guarded(F &&work)
{
    QString reason;
    {
        WorkScope scope(*this);
        try {
            work();
            return;
        } catch (const platform::Exception &e) {
            reason = e.Message();
        } catch (const std::exception &e) {
            reason = QString::fromUtf8(e.what());
        } catch (...) {
            reason = QStringLiteral("Unknown exception");
        }
    }
    try {
        failRequest(httperrProtocol, reason);
    } catch (...) {
    }
}

void THttpCli::failRequest(std::uint16_t code, const QString &reason)
{
    if (!requestRunning())
        return;
    m_repeatPending = false;
    m_completing = false;
    HTTP_TRACE(loProtSpecErr, QStringLiteral("Request failed: ") + reason);
    // Whatever the request had posted to itself is void now.
    const std::uint32_t generation = ++m_generation;
    m_requestDoneError = code;
    m_reasonPhrase = reason;
    m_lineHandler = LineHandler::None;
    m_relocationPending = false;
    m_allowSendData = false;
    m_receivingHeader = false;
    emptyBuffer();
    stopBandwidthTimer();
    SetState(httpAborting);
    // Aborted from that state change: ended there.
    if (m_generation != generation)
        return;
    m_closeHandler = CloseHandler::Ignore;
    try {
        socketAbort();
    } catch (...) {
    }
    m_closeHandler = CloseHandler::Normal;
    m_connected = false;
    SetState(httpReady);
}

// ---------------------------------------------------------------------------
// Tracing

bool THttpCli::CheckLogOptions(TLogOption option)
{
    TNetLogger *logger = m_socket ? m_socket->NetLogger() : nullptr;
    return logger != nullptr && logger->CheckLogOptions(option);
}

void THttpCli::DebugLog(TLogOption option, const QString &msg)
{
    TNetLogger *logger = m_socket ? m_socket->NetLogger() : nullptr;
    if (logger != nullptr && logger->CheckLogOptions(option))
        logger->LogMessage(this, option, msg);
}

// ---------------------------------------------------------------------------
// Properties

void THttpCli::SetContentRangeBegin(const QString &value)
{
    m_contentRangeBegin = value;
    m_rangeSetByOwner = true;
}

void THttpCli::SetContentRangeEnd(const QString &value)
{
    m_contentRangeEnd = value;
    m_rangeSetByOwner = true;
}

void THttpCli::SetMultiThreaded(bool value)
{
    m_multiThreaded = value;
    m_socket->SetMultiThreaded(value);
}

void THttpCli::SetRequestVer(const QString &value)
{
    if (value == m_requestVer)
        return;
    if (value != QLatin1String("1.0") && value != QLatin1String("1.1"))
        throw EHttpException(QStringLiteral("Insupported HTTP version"), 5);
    m_requestVer = value;
}

THttpCliOptions THttpCli::Options()
{
    THttpCliOptions value = m_options.without(httpoEnableContentCoding).without(httpoUseQuality);
    if (m_contentCodingHnd->Enabled())
        value << httpoEnableContentCoding;
    if (m_contentCodingHnd->UseQuality())
        value << httpoUseQuality;
    m_options = value;
    return value;
}

void THttpCli::SetOptions(THttpCliOptions value)
{
    m_options = value;
    m_contentCodingHnd->SetEnabled(value.has(httpoEnableContentCoding));
    m_contentCodingHnd->SetUseQuality(value.has(httpoUseQuality));
}

// ---------------------------------------------------------------------------
// Posted messages

void THttpCli::postMessage(unsigned msg, std::intptr_t lParam)
{
    m_loop->post(m_window, msg, m_generation, lParam);
}

void THttpCli::postRequestDone()
{
    // The outcome travels with the message: a request started before it is
    // delivered must not change what the owner is told about this one.
    std::intptr_t packed =
        (static_cast<std::intptr_t>(m_requestType) << 16) | std::intptr_t(m_requestDoneError);
    postMessage(WM_HTTP_REQUEST_DONE, packed);
}

void THttpCli::WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    // Set-ready, login and close messages of an older request are stale: the
    // request they belonged to has already been completed or aborted.
    bool current = static_cast<std::uint32_t>(wParam) == m_generation;
    switch (msg) {
    case WM_HTTP_REQUEST_DONE:
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("RequestDone"));
        TriggerRequestDone(static_cast<THttpRequest>((lParam >> 16) & 0xFF),
                           static_cast<std::uint16_t>(lParam & 0xFFFF));
        break;
    case WM_HTTP_SET_READY:
        if (current)
            SetState(httpReady);
        break;
    case WM_HTTP_LOGIN:
        if (current) {
            m_repeatPending = false;
            Login();
        }
        break;
    case WM_HTTP_SIM_CLOSE:
        if (current && m_simConnected) {
            m_simConnected = false;
            closeHandlerDispatch(0);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// State

void THttpCli::SetState(THttpState newState)
{
    if (m_state == newState)
        return;
    m_state = newState;
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("State = ") + HttpStateName(newState));
    // Decided before the owner hears of the state: a handler that starts the
    // next request must find a repeat under way busy.
    if (newState == httpReady)
        SetReady();
    TriggerStateChange();
}

void THttpCli::SetReady()
{
    if (m_requestType == httpCLOSE) {
        // The connection is closed: the close is done, and the request it
        // ended has been told of its own end already. An Abort or a fault
        // of the close keeps its own outcome.
        if (m_requestDoneError == httperrClosed) {
            m_statusCode = 200;
            m_reasonPhrase = QStringLiteral("OK");
            m_requestDoneError = 0;
        }
        postRequestDone();
        return;
    }
    // Left set when a step raises, so that the barrier still finds a request
    // to end.
    m_completing = true;
    authBookkeeping();
    m_completing = false;
}

// ---------------------------------------------------------------------------
// Starting a request

void THttpCli::Get()
{
    m_locationChangeCurCount = 0;
    DoRequestSync(httpGET);
}

void THttpCli::Post()
{
    m_locationChangeCurCount = 0;
    DoRequestSync(httpPOST);
}

void THttpCli::Put()
{
    m_locationChangeCurCount = 0;
    DoRequestSync(httpPUT);
}

void THttpCli::Head()
{
    m_locationChangeCurCount = 0;
    DoRequestSync(httpHEAD);
}

void THttpCli::GetASync()
{
    m_locationChangeCurCount = 0;
    DoRequestAsync(httpGET);
}

void THttpCli::PostASync()
{
    m_locationChangeCurCount = 0;
    DoRequestAsync(httpPOST);
}

void THttpCli::PutASync()
{
    m_locationChangeCurCount = 0;
    DoRequestAsync(httpPUT);
}

void THttpCli::HeadAsync()
{
    m_locationChangeCurCount = 0;
    DoRequestAsync(httpHEAD);
}

void THttpCli::CloseAsync()
{
    DoRequestAsync(httpCLOSE);
}

bool THttpCli::socketConnected() const
{
    if (m_simulating)
        return m_simConnected;
    return m_socket->State() == wsConnected;
}

THttpCli::Route THttpCli::route() const
{
    Route r;
    r.host = m_hostName;
    r.port = m_port;
    r.protocol = m_protocol;
    r.localAddr = m_localAddr;
    r.proxy = m_proxy;
    // SOCKS settings count only when a SOCKS server is set.
    if (!m_socksServer.trimmed().isEmpty()) {
        r.socksServer = m_socksServer;
        r.socksPort = m_socksPort;
        r.socksLevel = m_socksLevel.isEmpty() ? QStringLiteral("5") : m_socksLevel;
        r.socksUsercode = m_socksUsercode;
        r.socksPassword = m_socksPassword;
        r.socksAuthentication = m_socksAuthentication;
    }
    return r;
}

bool THttpCli::connectionReusable()
{
    // A connection opened for another address, proxy or SOCKS server (or
    // other SOCKS settings) would carry the request where the owner no
    // longer sends it.
    if (!socketConnected() || m_connectionSpoiled || m_connectedRoute != route())
        return false;
    if (m_simulating)
        return m_simulated.isEmpty();
    // Bytes that came after the last answer and wait unread would be taken
    // for the next one.
    return m_socket->RcvdCount() == 0 && !peerGone();
}

bool THttpCli::peerGone()
{
    // A server closes a kept-alive connection once it has been idle a while;
    // when its close came before the notification of it, a request written
    // there would meet the close instead of an answer.
    char byte;
    const int got = wsRecv(m_socket->HSocket(), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return got == 0 || (got < 0 && WSAGetLastError() != 10035);
}

void THttpCli::DoRequestAsync(THttpRequest Rq)
{
    if (Rq != httpCLOSE && requestRunning())
        throw EHttpException(
            QStringLiteral("HTTP component ") + m_name + QStringLiteral(" is busy"), 1);
    if ((Rq == httpPOST || Rq == httpPUT) && m_sendStream == nullptr)
        throw EHttpException(QStringLiteral("HTTP component has nothing to post or put"), 2);
    const std::uint32_t generation = ++m_generation;
    m_requestStarted = true;
    // A close asked for during a repeat drops the repeat: its login is void.
    m_repeatPending = false;
    if (Rq == httpCLOSE) {
        if (requestRunning()) {
            closeRunningRequest(generation);
            return;
        }
        m_requestType = httpCLOSE;
        m_statusCode = 200;
        m_reasonPhrase = QStringLiteral("OK");
        m_requestDoneError = 0;
        SetState(httpClosing);
        if (m_generation != generation)
            return;
        if (socketClosed())
            postSetReady();
        else
            socketCloseDelayed();
        return;
    }

    m_requestType = Rq;
    InternalClear();
    m_currUsername = m_username;
    m_currPassword = m_password;
    m_currConnection = m_connection;
    m_currProxyConnection = m_proxyConnection;
    setTargets();
    m_authNTLMState = 0;
    m_proxyAuthNTLMState = 0;
    m_authBasicState = 0;
    m_proxyAuthBasicState = 0;

    guarded([&] {
        if (connectionReusable()) {
            SocketSessionConnected(0);
            return;
        }
        if (socketConnected() || (!m_simulating && m_socket->State() != wsClosed)) {
            // Under way before the owner hears of the close: an Abort from
            // there ends this request, with its completion, and another one
            // is started only once this one has ended.
            SetState(httpNotConnected);
            if (stopped())
                return;
            m_closeHandler = CloseHandler::Left;
            socketAbort();
            if (stopped())
                return;
            m_closeHandler = CloseHandler::Normal;
        }
        SetState(httpNotConnected);
        if (stopped())
            return;
        Login();
    });
}

bool THttpCli::socketClosed() const
{
    return m_simulating ? !m_simConnected : m_socket->State() == wsClosed;
}

void THttpCli::closeRunningRequest(std::uint32_t generation)
{
    // The request under way has not had its whole answer: it ends here as
    // an Abort would end it, and its completion is queued before anything
    // of the close, so that its owner reads its own status and reason. The
    // close then runs as it does between requests, on a connection already
    // closed: its completion follows, with status 200 once it is done.
    const bool lookup = m_state == httpDnsLookup;
    m_statusCode = 404;
    m_reasonPhrase = QStringLiteral("Connection closed on request");
    m_requestDoneError = httperrClosed;
    m_lineHandler = LineHandler::None;
    m_relocationPending = false;
    m_allowSendData = false;
    m_closeHandler = CloseHandler::Normal;
    stopBandwidthTimer();
    postRequestDone();
    m_requestType = httpCLOSE;
    SetState(httpClosing);
    if (m_generation != generation)
        return;
    WorkScope scope(*this);
    if (lookup) {
        if (!m_simulating)
            m_socket->CancelDnsLookup();
        SocketSessionClosed(0);
    } else if (!socketClosed()) {
        socketClose();
    }
    // The close notification has posted set ready already, unless the
    // socket gave none; a second one finds the close done and does nothing.
    if (m_generation == generation && m_state == httpClosing)
        postSetReady();
}

void THttpCli::InternalClear()
{
    m_receivedHeader.clear();
    m_receivedHeaderBytes = 0;
    m_requestDoneError = 0;
    m_docName.clear();
    m_statusCode = 0;
    // An answer without a status line has no reason either: the last
    // request's must not show through.
    m_reasonPhrase.clear();
    m_receivedCount = 0;
    m_sentCount = 0;
    m_headerLineCount = 0;
    m_bodyLineCount = 0;
    m_contentLength = -1;
    m_contentType.clear();
    m_transferEncoding.clear();
    m_contentEncoding.clear();
    m_allowSendData = false;
    m_location = m_url;
    m_authenticateValues.clear();
    m_closeReq = m_requestVer == QLatin1String("1.0");
    m_receivingHeader = false;
    m_lineHandler = LineHandler::None;
    emptyBuffer();
    // What the owner put in the stream before this request is never cut by
    // a rewind, even when no body of this request has begun.
    m_receiveStreamStartSize = m_receiveStream != nullptr ? m_receiveStream->Size() : 0;
}

void THttpCli::setPath(const QString &path)
{
    // Blanks and control bytes never reach the request line as they are,
    // whether the owner or a server's relocation gave them.
    QString safe;
    safe.reserve(path.size());
    for (QChar c : path) {
        ushort u = c.unicode();
        if (u < 0x21 || u == 0x7F)
            safe += QLatin1Char('%') + QString::number(u, 16).toUpper().rightJustified(2, '0');
        else
            safe += c;
    }
    m_path = safe;
}

void THttpCli::setTargets()
{
    // The same URL again (the usual case of a client asking one page over
    // and over) splits as before.
    if (m_urlSplit.url != m_url || m_urlSplit.url.isNull()) {
        m_urlSplit.url = m_url;
        m_urlSplit.path.clear();
        SplitUrl(m_url, m_urlSplit.proto, m_urlSplit.user, m_urlSplit.pass, m_urlSplit.host,
                 m_urlSplit.port, m_urlSplit.path);
    }
    const QString &proto = m_urlSplit.proto;
    const QString &user = m_urlSplit.user;
    const QString &pass = m_urlSplit.pass;
    const QString &host = m_urlSplit.host;
    QString port = m_urlSplit.port;
    const QString &path = m_urlSplit.path;
    QString docSource;
    QString connHost, connPort;
    if (!m_proxy.isEmpty()) {
        m_targetHost = host;
        m_targetPort = port.isEmpty() ? QStringLiteral("80") : port;
        docSource = path;
        if (!user.isEmpty())
            m_currUsername = user;
        if (!pass.isEmpty())
            m_currPassword = pass;
        setPath((proto.isEmpty() ? QStringLiteral("http") : proto) + QStringLiteral("://") + host +
                (port.isEmpty() ? QString() : QLatin1Char(':') + port) + path);
        m_protocol = proto;
        QString pProto, pUser, pPass, pHost, pPort, pPath;
        SplitUrl(m_proxy, pProto, pUser, pPass, pHost, pPort, pPath);
        connHost = pHost;
        connPort = proxyConnectPort();
    } else {
        m_targetHost = host;
        setPath(path);
        docSource = m_path;
        m_protocol = proto;
        if (!user.isEmpty())
            m_currUsername = user;
        if (!pass.isEmpty())
            m_currPassword = pass;
        if (port.isEmpty())
            port = QStringLiteral("80");
        m_targetPort = port;
        connHost = host;
        connPort = port;
    }
    if (m_protocol.isEmpty())
        m_protocol = QStringLiteral("http");
    if (m_path.isEmpty())
        m_path = QStringLiteral("/");
    deriveDocName(docSource);
    m_hostName = connHost;
    m_port = connPort;
}

void THttpCli::deriveDocName(const QString &source)
{
    QString name = source;
    int query = name.indexOf(QLatin1Char('?'));
    if (query >= 0)
        name = name.left(query);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/'))) {
        m_docName = QStringLiteral("document.htm");
        return;
    }
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).left(255);
    query = name.indexOf(QLatin1Char('?'));
    if (query >= 0)
        name = name.left(query);
    m_docName = name;
}

void THttpCli::AdjustDocName()
{
    if (m_contentType != QLatin1String("text/html"))
        return;
    int dot = m_docName.lastIndexOf(QLatin1Char('.'));
    QString ext = dot >= 0 ? m_docName.mid(dot + 1).toLower() : QString();
    if (dot >= 0 && ext != QLatin1String("exe"))
        return;
    if (dot >= 0)
        m_docName = m_docName.left(dot + 1) + QStringLiteral("htm");
    else
        m_docName += QStringLiteral(".htm");
}

// ---------------------------------------------------------------------------
// Connecting

void THttpCli::Login()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("Login ") + m_hostName);
    if (socketConnected() && !connectionReusable()) {
        // A next hop meant for the open connection: it was spoiled since.
        m_closeHandler = CloseHandler::Ignore;
        socketAbort();
        m_connected = false;
    }
    m_closeHandler = CloseHandler::Normal;
    if (refuseScheme())
        return;
    if (m_simulating) {
        // The simulated connection opens at once, to whatever host.
        if (!m_simConnected) {
            m_requestsOnConnection = 0;
            m_connectionSpoiled = false;
            m_simConnected = true;
            m_connectedRoute = route();
        }
        SocketSessionConnected(0);
        return;
    }
    if (m_socket->State() != wsConnected) {
        m_requestsOnConnection = 0;
        m_connectionSpoiled = false;
        m_dnsResult.clear();
        SetState(httpDnsLookup);
        if (stopped())
            return;
        m_socket->SetLocalAddr(m_localAddr);
        m_socket->DnsLookup(m_hostName);
    } else {
        SocketSessionConnected(0);
    }
}

bool THttpCli::refuseScheme()
{
    // There is no secure layer, nor any other protocol: such a request ends
    // before its host's name (or the proxy's) leaves the machine in a
    // look-up, and before any connection; nothing is sent (a tunnel would
    // carry the request's cookie in clear to the proxy, and lead nowhere).
    if (m_protocol == QLatin1String("http"))
        return false;
    m_requestDoneError = 0;
    m_statusCode = 501;
    m_reasonPhrase =
        QStringLiteral("Protocol \"") + m_protocol + QStringLiteral("\" not implemented");
    SocketSessionClosed(0);
    return true;
}

void THttpCli::SocketConfigure()
{
    m_socket->SetAddr(m_dnsResult);
    m_socket->SetLocalAddr(m_localAddr);
    m_socket->SetPort(m_port);
    m_socket->SetProto(QStringLiteral("tcp"));
    m_socket->SetMultiThreaded(m_multiThreaded);
    m_socket->SetSocksServer(m_socksServer);
    m_socket->SetSocksLevel(m_socksLevel.isEmpty() ? QStringLiteral("5") : m_socksLevel);
    m_socket->SetSocksPort(m_socksPort);
    m_socket->SetSocksUsercode(m_socksUsercode);
    m_socket->SetSocksPassword(m_socksPassword);
    m_socket->SetSocksAuthentication(m_socksAuthentication);
}

void THttpCli::SetSocksLevel(const QString &value)
{
    const QString level = value.toUpper();
    if (!level.isEmpty() && level != QLatin1String("4") && level != QLatin1String("4A") &&
        level != QLatin1String("5"))
        throw ESocketException(QStringLiteral("Invalid socks level. Must be 4, 4A or 5."));
    m_socksLevel = level;
}

void THttpCli::SocketDNSLookupDone(std::uint16_t error)
{
    if (error != 0) {
        // A look-up cancelled by an Abort or a close: the request has ended.
        if (m_state == httpAborting || m_state == httpClosing)
            return;
        m_requestDoneError = error;
        m_statusCode = 404;
        m_reasonPhrase = QStringLiteral("can't resolve hostname to IP address");
        SocketSessionClosed(error);
        return;
    }
    if (m_state != httpDnsLookup)
        return;
    m_dnsResult = m_socket->DnsResult();
    SetState(httpDnsLookupDone);
    if (stopped())
        return;
    SocketConfigure();
    m_connectedRoute = route();

    HTTP_TRACE(loProtSpecInfo,
               QStringLiteral("connect to ") + m_dnsResult + QLatin1Char('/') + m_port);
    m_socket->SetLastError(0);
    m_socket->Connect();
    // The owner aborted from an event the connect fired.
    if (stopped())
        return;
    TSocketState state = m_socket->State();
    if (state != wsConnecting && state != wsConnected) {
        // The socket reported the failure through OnError and returned.
        int code = m_socket->LastError();
        if (code == 0)
            code = 10022;
        m_requestDoneError = static_cast<std::uint16_t>(code);
        m_statusCode = 404;
        m_reasonPhrase = QStringLiteral("can't connect: ") + WSocketErrorDesc(code) +
                         QStringLiteral(" (Error #") + QString::number(code) + QLatin1Char(')');
        socketCloseQuietly();
        SocketSessionClosed(m_requestDoneError);
    }
}

void THttpCli::SocketSessionConnected(std::uint16_t error)
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("SessionConnected"));
    if (error != 0) {
        // A connection that fails after its request was aborted (from a
        // SOCKS event, say) concerns nobody.
        if (m_state == httpReady || m_state == httpAborting)
            return;
        m_requestDoneError = error;
        m_statusCode = 404;
        m_reasonPhrase = WSocketErrorDesc(error) + QStringLiteral(" (Error #") +
                         QString::number(error) + QLatin1Char(')');
        TriggerSessionConnected();
        return;
    }
    m_relocationPending = false;
    m_connected = true;
    SetState(httpConnected);
    if (stopped())
        return;
    TriggerSessionConnected();
    if (stopped())
        return;
    m_lineHandler = LineHandler::Header;
    try {
        SetState(httpWaitingHeader);
        if (stopped())
            return;
        static const char *const methods[] = {"GET", "GET", "POST", "PUT", "HEAD", "GET"};
        SendRequest(QLatin1String(methods[m_requestType]), m_requestVer);
        // Aborted from an event of the header, or its connection failed.
        if (stopped() || !m_connected)
            return;
        if ((m_requestType == httpPOST || m_requestType == httpPUT) && m_authNTLMState != 1 &&
            m_proxyAuthNTLMState != 1) {
            TriggerSendBegin();
            if (stopped())
                return;
            m_allowSendData = true;
            SocketDataSent(0);
            while (m_simulating && m_allowSendData && !stopped())
                SocketDataSent(0);
        }
    } catch (...) {
        socketCloseQuietly();
        m_connected = false;
        throw;
    }
}

// ---------------------------------------------------------------------------
// Socket operations (or their simulation)

void THttpCli::socketClose()
{
    if (m_simulating) {
        if (m_simConnected) {
            m_simConnected = false;
            closeHandlerDispatch(0);
        }
        return;
    }
    m_socket->Close();
}

void THttpCli::socketCloseQuietly()
{
    CloseHandler saved = m_closeHandler;
    m_closeHandler = CloseHandler::Ignore;
    try {
        socketClose();
    } catch (...) {
    }
    m_closeHandler = saved;
}

void THttpCli::socketCloseDelayed()
{
    if (m_simulating) {
        postMessage(WM_HTTP_SIM_CLOSE);
        return;
    }
    m_socket->CloseDelayed();
}

void THttpCli::socketAbort()
{
    if (m_simulating) {
        socketClose();
        return;
    }
    m_socket->Abort();
}

void THttpCli::socketSend(const char *data, int len)
{
    if (m_simulating) {
        m_simulatedSent.append(data, len);
        m_requestBytesWritten += len;
        return;
    }
    if (len > 0)
        m_socket->PutDataInSendBuffer(data, len);
    m_socket->Send(nullptr, 0);
}

int THttpCli::receive(char *buffer, int size)
{
    if (m_simulating) {
        int n = static_cast<int>(std::min<qsizetype>(size, m_simulated.size()));
        std::memcpy(buffer, m_simulated.constData(), static_cast<size_t>(n));
        m_simulated.remove(0, n);
        return n;
    }
    return m_socket->Receive(buffer, size);
}

// ---------------------------------------------------------------------------
// Sending the request

QString THttpCli::formatModifiedSince() const
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0, msec = 0;
    platform::DecodeDate(m_modifiedSince, year, month, day);
    platform::DecodeTime(m_modifiedSince, hour, minute, second, msec);
    // Day 0 of the date value is a Saturday; dates before it count back.
    long long whole = static_cast<long long>(std::trunc(m_modifiedSince));
    int weekday = static_cast<int>(((whole - 2) % 7 + 7) % 7);
    return QLatin1String(days[weekday]) + QStringLiteral(", ") + twoDigits(day) + QLatin1Char(' ') +
           QLatin1String(months[std::clamp(month, 1, 12) - 1]) + QLatin1Char(' ') +
           QString::number(year).rightJustified(4, QLatin1Char('0')) + QLatin1Char(' ') +
           twoDigits(hour) + QLatin1Char(':') + twoDigits(minute) + QLatin1Char(':') +
           twoDigits(second);
}

void THttpCli::SendRequest(const QString &method, const QString &version)
{
    // What came before the request cannot be part of its answer.
    m_answerComplete = false;
    emptyBuffer();
    m_bandwidthCount = 0;
    if (m_options.has(httpoBandwidthControl))
        bandwidthSetup();
    QStringList headers;
    headers.reserve(20);
    m_requestHeader.clear();
    m_requestHeader.reserve(512);
    TriggerRequestHeaderBegin();
    if (stopped())
        return;

    const bool post = m_requestType == httpPOST || m_requestType == httpPUT;
    if (method == QLatin1String("CONNECT")) {
        headers << QStringLiteral("CONNECT ") + m_targetHost + QLatin1Char(':') + m_targetPort +
                       QStringLiteral(" HTTP/") + version;
    } else {
        headers << method + QLatin1Char(' ') + m_path + QStringLiteral(" HTTP/") + version;
        if (!m_sender.isEmpty())
            headers << QStringLiteral("From: ") + m_sender;
        if (!m_accept.isEmpty())
            headers << QStringLiteral("Accept: ") + m_accept;
        if (!m_reference.isEmpty())
            headers << QStringLiteral("Referer: ") + m_reference;
        if (!m_currConnection.isEmpty())
            headers << QStringLiteral("Connection: ") + m_currConnection;
        if (!m_acceptLanguage.isEmpty())
            headers << QStringLiteral("Accept-Language: ") + m_acceptLanguage;
        QString codings = m_contentCodingHnd->HeaderText();
        if (!codings.isEmpty() && m_requestType != httpHEAD)
            headers << QStringLiteral("Accept-Encoding: ") + codings;
        if (post && !m_contentTypePost.isEmpty())
            headers << QStringLiteral("Content-Type: ") + m_contentTypePost;
    }
    if (!m_agent.isEmpty())
        headers << QStringLiteral("User-Agent: ") + m_agent;
    QString host = QStringLiteral("Host: ") + m_targetHost;
    if (!m_targetPort.isEmpty() && m_targetPort != QLatin1String("80"))
        host += QLatin1Char(':') + m_targetPort;
    headers << host;
    if (m_noCache)
        headers << QStringLiteral("Pragma: no-cache");
    if (!m_currProxyConnection.isEmpty())
        headers << QStringLiteral("Proxy-Connection: ") + m_currProxyConnection;
    // NTLM's first message goes without the body, which waits for message 3.
    if (method == QLatin1String("CONNECT") ||
        (post && (m_authNTLMState == 1 || m_proxyAuthNTLMState == 1)))
        headers << QStringLiteral("Content-Length: 0");
    else if (post)
        headers << QStringLiteral("Content-Length: ") +
                       QString::number(std::max<std::int64_t>(0, m_sendStream->Size() -
                                                                     m_sendStream->Position()));
    if (m_modifiedSince != 0)
        headers << QStringLiteral("If-Modified-Since: ") + formatModifiedSince() +
                       QStringLiteral(" GMT");
    authorizationLines(headers);
    if (!m_cookie.isEmpty())
        headers << QStringLiteral("Cookie: ") + m_cookie;
    // Only a range the owner asked for goes out, and only once; the values a
    // response gave stay readable but are never sent back.
    if (m_rangeSetByOwner && (!m_contentRangeBegin.isEmpty() || !m_contentRangeEnd.isEmpty())) {
        headers << QStringLiteral("Range: bytes=") + m_contentRangeBegin + QLatin1Char('-') +
                       m_contentRangeEnd;
        m_contentRangeBegin.clear();
        m_contentRangeEnd.clear();
    }
    m_rangeSetByOwner = false;
    m_acceptRanges.clear();

    if (CheckLogOptions(loProtSpecInfo)) {
        QString text =
            QString::number(headers.size()) + QStringLiteral(" header lines to send\r\n");
        for (const QString &line : headers)
            text += line + QStringLiteral("\r\n");
        DebugLog(loProtSpecInfo, text);
    }
    TriggerBeforeHeaderSend(method, headers);
    if (stopped())
        return;
    for (const QString &line : headers) {
        SendCommand(line);
        if (stopped())
            return;
    }
    TriggerRequestHeaderEnd();
    if (stopped())
        return;
    SendCommand(QString());
    if (stopped())
        return;
    QByteArray whole = m_requestHeader;
    m_requestHeader.clear();
    ++m_requestsOnConnection;
    m_requestBytesWritten = 0;
    socketSend(whole.constData(), static_cast<int>(whole.size()));
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("SendRequest Done"));
}

void THttpCli::SendCommand(const QString &cmd)
{
    QString line = cmd;
    if (OnCommand)
        OnCommand(this, line);
    // A line break inside a line would start a header line of its own: the
    // request is refused before anything is sent. ASCII, the usual case, is
    // written as it is checked; any other text through the code page.
    const qsizetype at = m_requestHeader.size();
    m_requestHeader.resize(at + line.size());
    char *out = m_requestHeader.data() + at;
    bool ascii = true;
    for (QChar c : std::as_const(line)) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == 0) {
            m_requestHeader.truncate(at);
            throw EHttpException(QStringLiteral("Invalid header line"), httperrProtocol);
        }
        if (u >= 0x80)
            ascii = false;
        *out++ = static_cast<char>(u);
    }
    if (!ascii) {
        m_requestHeader.truncate(at);
        platform::appendAnsi(m_requestHeader, line);
    }
    m_requestHeader.append("\r\n", 2);
}

void THttpCli::SocketDataSent(std::uint16_t)
{
    if (!m_allowSendData || m_sendStream == nullptr)
        return;
    int n = m_sendStream->Read(m_sndBuf, kBufferSize);
    if (n <= 0) {
        m_allowSendData = false;
        TriggerSendEnd();
        return;
    }
    m_sentCount += n;
    TriggerSendData(m_sndBuf, n);
    if (stopped())
        return;
    socketSend(m_sndBuf, n);
}

void THttpCli::rewindStreams()
{
    if (m_receiveStream != nullptr && m_receiveStream->Size() != m_receiveStreamStartSize)
        m_receiveStream->SetSize(m_receiveStreamStartSize);
    if (m_sendStream != nullptr && m_sentCount > 0)
        m_sendStream->Seek(m_sendStream->Position() - m_sentCount);
}

// ---------------------------------------------------------------------------
// Receiving

void THttpCli::consumeFront(int count)
{
    count = std::clamp(count, 0, m_rcvdCount);
    if (count == 0)
        return;
    m_frontLineCut = false;
    std::memmove(m_rcvdBuffer, m_rcvdBuffer + count, static_cast<size_t>(m_rcvdCount - count));
    m_rcvdCount -= count;
    m_rcvdBuffer[m_rcvdCount] = 0;
}

void THttpCli::emptyBuffer()
{
    m_frontLineCut = false;
    m_rcvdCount = 0;
    m_rcvdBuffer[0] = 0;
}

bool THttpCli::interrupted() const
{
    // The owner aborted, or started another request, from an event.
    return m_state == httpReady || stopped();
}

std::int64_t THttpCli::bodyLength() const
{
    // A length beside chunks counts encoded bytes: chunks alone decide.
    if (m_transferEncoding == QLatin1String("chunked"))
        return -1;
    return m_contentLength;
}

void THttpCli::SocketDataAvailable(std::uint16_t error)
{
    if (bodyStraightFromSocket()) {
        bodyFromSocket();
        return;
    }
    int len;
    int room = kBufferSize - m_rcvdCount - 3;
    if (room <= 0) {
        // A line longer than the buffer: keep only its end of line and
        // what follows it.
        char scratch[25];
        int n = receive(scratch, sizeof scratch);
        if (n <= 0) {
            HTTP_TRACE(loProtSpecInfo,
                       QStringLiteral("**data available. Len=") + QString::number(n));
            return;
        }
        // The line loses bytes: said when one of its values would be read.
        m_frontLineCut = true;
        const char *lf = static_cast<const char *>(std::memchr(scratch, '\n', size_t(n)));
        if (lf == nullptr)
            return;
        int tail = n - static_cast<int>(lf - scratch);
        std::memcpy(m_rcvdBuffer + m_rcvdCount + 1 - tail, lf, static_cast<size_t>(tail));
        len = 1;
    } else {
        len = receive(m_rcvdBuffer + m_rcvdCount, room);
    }
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("Data available. Len=") + QString::number(len));
    if (m_requestType == httpABORT)
        return;
    if (len <= 0) {
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("**data available. Len=") + QString::number(len));
        return;
    }
    bandwidthCount(len);
    m_rcvdCount += len;
    m_rcvdBuffer[m_rcvdCount] = 0;

    if (m_state == httpWaitingBody) {
        bodyFromBuffer();
        return;
    }
    if (m_answerComplete) {
        m_connectionSpoiled = true;
        pushIdleLines(error);
        return;
    }

    while (takeLine()) {
        if (m_state == httpWaitingHeader || m_state == httpWaitingBody) {
            if (m_lineHandler == LineHandler::None)
                postSetReady();
            else if (m_lineHandler == LineHandler::Header)
                GetHeaderLineNext();
            else {
                QByteArray bytes = platform::toAnsi(m_lastLine);
                m_bodyData = bytes.constData();
                m_bodyDataLen = static_cast<int>(bytes.size());
                GetBodyLineNext();
                m_bodyDataLen = 0;
            }
        } else if (OnDataPush) {
            OnDataPush(this, error);
        }
        if (interrupted()) {
            // The owner aborted from an event: nothing more is read.
            emptyBuffer();
            return;
        }
        // A response without a header: what follows its first line is body.
        if (m_state == httpWaitingBody && m_lineHandler == LineHandler::Body && m_rcvdCount > 0) {
            bodyFromBuffer();
            return;
        }
    }
}

bool THttpCli::takeLine()
{
    if (m_rcvdCount <= 0)
        return false;
    const char *lf =
        static_cast<const char *>(std::memchr(m_rcvdBuffer, '\n', size_t(m_rcvdCount)));
    if (lf == nullptr)
        return false;
    int lineLen = static_cast<int>(lf - m_rcvdBuffer);
    int textLen = lineLen;
    if (textLen > 0 && m_rcvdBuffer[textLen - 1] == '\r')
        --textLen;
    // ASCII, the usual case, reads the same in Windows-1252 and in Latin-1,
    // whose conversion is the fast one.
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_rcvdBuffer);
    if (std::all_of(bytes, bytes + textLen, [](unsigned char b) { return b < 0x80; }))
        m_lastLine = QString::fromLatin1(m_rcvdBuffer, textLen);
    else
        m_lastLine = platform::fromAnsi(QByteArrayView(m_rcvdBuffer, textLen));
    HTTP_TRACE(loProtSpecDump, QStringLiteral(">|") + m_lastLine + QStringLiteral("|"));
    m_lastLineCut = m_frontLineCut;
    consumeFront(lineLen + 1);
    return true;
}

void THttpCli::pushIdleLines(std::uint16_t error)
{
    // No answer is under way: each whole line goes to the owner, who may
    // start the next request from the event (the buffer is then its own).
    while (takeLine()) {
        if (OnDataPush)
            OnDataPush(this, error);
        if (stopped() || !m_answerComplete)
            return;
    }
}

void THttpCli::bodyFromBuffer()
{
    if (isHead()) {
        // A HEAD response has no body: bytes past its header end the
        // connection.
        emptyBuffer();
        socketAbort();
        return;
    }
    if (m_lineHandler != LineHandler::Body) {
        // Bytes past the end of a response on a connection being closed.
        emptyBuffer();
        return;
    }
    int blockLen = m_rcvdCount;
    std::int64_t length = bodyLength();
    if (length >= 0 && length < m_receivedCount + m_rcvdCount)
        blockLen = static_cast<int>(std::max<std::int64_t>(0, length - m_receivedCount));
    m_bodyData = m_rcvdBuffer;
    m_bodyDataLen = blockLen;
    m_bodyLeftover = 0;
    GetBodyLineNext();
    consumeFront(blockLen);
    m_bodyDataLen = 0;
    if (interrupted())
        return;
    if (m_lineHandler == LineHandler::Body) {
        GetBodyLineNext();
        return;
    }
    responseEnded();
}

bool THttpCli::bodyStraightFromSocket() const
{
    // A body with nothing left in the line buffer needs no line search: it
    // is read in large blocks straight where it is handed on. A throttled
    // transfer keeps the small reads its budget is counted in.
    return m_state == httpWaitingBody && m_rcvdCount == 0 && m_lineHandler == LineHandler::Body &&
           !isHead() && m_bandwidthTimer == 0 && !m_bodyBlockInUse;
}

void THttpCli::bodyFromSocket()
{
    if (!m_bodyBlock)
        m_bodyBlock = std::make_unique<char[]>(kBodyBlockSize);
    const int len = receive(m_bodyBlock.get(), kBodyBlockSize);
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("Data available. Len=") + QString::number(len));
    if (m_requestType == httpABORT)
        return;
    if (len <= 0) {
        // Nothing waiting (would block) is no fault; the close is reported
        // by the socket on its own.
        HTTP_TRACE(loProtSpecInfo, QStringLiteral("**data available. Len=") + QString::number(len));
        return;
    }
    int blockLen = len;
    const std::int64_t length = bodyLength();
    if (length >= 0 && length < m_receivedCount + len)
        blockLen = static_cast<int>(std::max<std::int64_t>(0, length - m_receivedCount));
    // An owner's handler that pumps the loop must not read over the block
    // being handed on.
    m_bodyBlockInUse = true;
    m_bodyData = m_bodyBlock.get();
    m_bodyDataLen = blockLen;
    m_bodyLeftover = 0;
    try {
        GetBodyLineNext();
    } catch (...) {
        m_bodyBlockInUse = false;
        m_bodyDataLen = 0;
        throw;
    }
    m_bodyBlockInUse = false;
    m_bodyDataLen = 0;
    if (interrupted())
        return;
    if (m_lineHandler == LineHandler::Body) {
        GetBodyLineNext();
        return;
    }
    // Bytes behind the body's length end the connection as those left in
    // the line buffer do.
    m_bodyLeftover += len - blockLen;
    responseEnded();
}

void THttpCli::responseEnded()
{
    // Bytes left behind the response belong to nothing we asked for: the
    // connection is not used again.
    if (m_rcvdCount > 0 || m_bodyLeftover > 0) {
        emptyBuffer();
        m_bodyLeftover = 0;
        if (!m_closeReq) {
            m_closeReq = true;
            socketCloseDelayed();
        }
    }
    if (m_relocationPending)
        StartRelocation();
    else
        postSetReady();
}

void THttpCli::GetHeaderLineNext()
{
    if (m_headerLineCount == 0) {
        TriggerHeaderBegin();
        if (stopped())
            return;
    } else if (m_headerLineCount == -1)
        m_headerLineCount = 0;
    ++m_headerLineCount;
    const QString line = m_lastLine;

    if (m_headerLineCount == 1 && line.startsWith(QLatin1Char('<'))) {
        QString upper = line.toUpper();
        if (upper.startsWith(QLatin1String("<HTML>")) ||
            upper.startsWith(QLatin1String("<!DOCTYPE"))) {
            if (m_contentType.isEmpty())
                m_contentType = QStringLiteral("text/html");
            SetState(httpWaitingBody);
            if (stopped())
                return;
            m_lineHandler = LineHandler::Body;
            TriggerHeaderEnd();
            if (stopped())
                return;
            QByteArray bytes = platform::toAnsi(line);
            m_bodyData = bytes.constData();
            m_bodyDataLen = static_cast<int>(bytes.size());
            GetBodyLineNext();
            m_bodyDataLen = 0;
            return;
        }
    }
    if (line.isEmpty()) {
        // An answer begins with its status line: an empty line first is no
        // answer (and would complete with status 0 as if all went well).
        if (m_headerLineCount == 1)
            throw EHttpException(QStringLiteral("Invalid status line"), httperrProtocol);
        headerEnded();
        return;
    }
    m_receivedHeaderBytes += line.size() + 2;
    if (m_receivedHeaderBytes > kMaxHeaderBytes || m_receivedHeader.size() >= kMaxHeaderLines)
        throw EHttpException(QStringLiteral("Response header too large"), httperrProtocol);
    m_receivedHeader << line;
    if (m_headerLineCount == 1)
        statusLine(line);
    else
        headerField(line);
    if (stopped())
        return;
    TriggerHeaderData();
}

void THttpCli::statusLine(const QString &line)
{
    QString head = line.left(8);
    if (head != QLatin1String("HTTP/1.0") && head != QLatin1String("HTTP/1.1")) {
        if (OnDataPush2)
            OnDataPush2(this);
        if (stopped())
            return;
        // Whatever the peer speaks, it is no answer of ours: what follows
        // cannot be trusted either, so the connection goes with it.
        throw EHttpException(QStringLiteral("Invalid status line"), httperrProtocol);
    }
    m_responseVersion = line.mid(5, 3);
    if (m_requestVer == QLatin1String("1.1") && m_responseVersion == QLatin1String("1.0"))
        m_closeReq = true;
    else
        m_closeReq = m_requestVer == QLatin1String("1.0");
    HTTP_TRACE(loProtSpecDump, QStringLiteral("FCloseReq=") +
                                   (m_closeReq ? QStringLiteral("1") : QStringLiteral("0")));
    // The version, blanks, exactly three digits, then the end of the line or
    // a blank and the reason. Anything else in between (stray bytes such as
    // an encoded "%20" before a real answer) makes no status: the code is
    // never looked for further along the line.
    qsizetype start = 8;
    while (start < line.size() && line.at(start) == QLatin1Char(' '))
        ++start;
    const qsizetype end = start + 3;
    bool ok =
        start > 8 && end <= line.size() && (end == line.size() || line.at(end) == QLatin1Char(' '));
    for (qsizetype i = start; ok && i < end; ++i)
        ok = isDigit(line.at(i));
    // Codes begin at 100: "000" would complete as status 0, a failure
    // taken for success.
    const int code = ok ? QStringView(line).mid(start, 3).toInt() : 0;
    if (code < 100)
        throw EHttpException(QStringLiteral("Invalid status line"), httperrProtocol);
    m_statusCode = code;
    m_reasonPhrase = line.mid(end + 1);
}

void THttpCli::headerField(const QString &line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return;
    // Most lines of an answer are of no interest here: they are told apart
    // without a lower-cased copy of their name (the bytes come decoded from
    // Windows-1252, where only ASCII letters lower-case to ASCII letters).
    const QStringView name = QStringView(line).left(colon);
    auto is = [&name](QLatin1String known) {
        if (name.size() != known.size())
            return false;
        for (qsizetype i = 0; i < known.size(); ++i) {
            char16_t c = name[i].unicode();
            if (c >= u'A' && c <= u'Z')
                c = char16_t(c + 32);
            if (c != char16_t(static_cast<unsigned char>(known.data()[i])))
                return false;
        }
        return true;
    };
    qsizetype v = colon + 1;
    while (v < line.size() && (line.at(v) == QLatin1Char(' ') || line.at(v) == QLatin1Char('\t')))
        ++v;
    // A value the client acts on is never taken cut: what it would act on
    // (a list of codings counted short, a location, a framing) is not what
    // the server sent. Lines it only keeps stay cut.
    auto refuseCut = [this, &name] {
        if (m_lastLineCut)
            throw EHttpException(QStringLiteral("Response header line too long (") +
                                     name.toString() + QLatin1Char(')'),
                                 httperrProtocol);
    };
    auto value = [&line, v, &refuseCut] {
        refuseCut();
        return line.mid(v);
    };

    if (is(QLatin1String("location"))) {
        if (m_requestType == httpPUT) {
            m_location = value();
        } else if (m_followRelocation) {
            m_relocationPending = true;
            relocationTarget(value());
        }
    } else if (is(QLatin1String("content-length"))) {
        // Digits only: a sign, a fraction or a value past 64 bits is no
        // length, and guessing one could take the next answer for this body.
        refuseCut();
        const QStringView digits = QStringView(line).mid(v).trimmed();
        bool ok = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), isDigit);
        qlonglong n = ok ? digits.toLongLong(&ok) : -1;
        if (!ok)
            throw EHttpException(QStringLiteral("Invalid content length"), httperrProtocol);
        m_contentLength = n;
    } else if (is(QLatin1String("transfer-encoding"))) {
        m_transferEncoding = value().toLower();
    } else if (is(QLatin1String("content-range"))) {
        // "bytes 100-199/1000"; a form without a dash gives no values.
        const QString range = value();
        int dash = range.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            m_contentRangeBegin.clear();
            m_contentRangeEnd.clear();
        } else {
            m_contentRangeBegin = dash > 6 ? range.mid(6, dash - 6) : QString();
            int slash = range.indexOf(QLatin1Char('/'), dash + 1);
            m_contentRangeEnd =
                slash >= 0 ? range.mid(dash + 1, slash - dash - 1) : range.mid(dash + 1);
        }
        m_rangeSetByOwner = false;
    } else if (is(QLatin1String("accept-ranges"))) {
        m_acceptRanges = value();
    } else if (is(QLatin1String("content-type"))) {
        m_contentType = value().toLower();
    } else if (is(QLatin1String("www-authenticate")) || is(QLatin1String("proxy-authenticate"))) {
        m_authenticateValues << value();
    } else if (is(QLatin1String("set-cookie"))) {
        bool accept = true;
        TriggerCookie(value(), accept);
    } else if (is(QLatin1String("connection")) || is(QLatin1String("proxy-connection"))) {
        QString v2 = value().trimmed().toLower();
        if (v2 == QLatin1String("close"))
            m_closeReq = true;
        else if (v2 == QLatin1String("keep-alive"))
            m_closeReq = false;
    } else if (is(QLatin1String("content-encoding"))) {
        m_contentEncoding = value();
    }
}

void THttpCli::headerEnded()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("End of header"));
    if (m_responseVersion == QLatin1String("1.1") &&
        (m_statusCode == 100 || (m_statusCode >= 102 && m_statusCode <= 199))) {
        // An interim answer: the real one follows.
        m_receivedHeader.clear();
        m_receivedHeaderBytes = 0;
        m_headerLineCount = -1;
        return;
    }
    TriggerHeaderEnd();
    if (interrupted()) {
        emptyBuffer();
        return;
    }
    const bool chunked = m_transferEncoding == QLatin1String("chunked");
    const std::int64_t length = bodyLength();
    const int s = m_statusCode;
    const bool noBody =
        length == 0 || isHead() ||
        (length == -1 && !chunked &&
         (s < 200 || s == 204 || s == 301 || s == 302 || s == 304 || s == 401 || s == 407));
    if (noBody) {
        m_answerComplete = true;
        if (m_rcvdCount > 0) {
            emptyBuffer();
            m_closeReq = true;
        }
        if (m_relocationPending) {
            StartRelocation();
        } else if (m_closeReq) {
            // Nothing more belongs to this response: later bytes are dropped
            // and the close completes it.
            emptyBuffer();
            SetState(httpWaitingBody);
            if (stopped())
                return;
            m_lineHandler = LineHandler::None;
            socketCloseDelayed();
        } else {
            m_lineHandler = LineHandler::None;
            postSetReady();
        }
        return;
    }
    AdjustDocName();
    SetState(httpWaitingBody);
    if (stopped())
        return;
    m_lineHandler = LineHandler::Body;
    m_bodyLeftover = 0;
    if (m_rcvdCount > 0) {
        int blockLen = m_rcvdCount;
        if (length >= 0 && length < m_receivedCount + m_rcvdCount)
            blockLen = static_cast<int>(std::max<std::int64_t>(0, length - m_receivedCount));
        m_bodyData = m_rcvdBuffer;
        m_bodyDataLen = blockLen;
        GetBodyLineNext();
        consumeFront(blockLen);
        m_bodyDataLen = 0;
        if (interrupted())
            return;
    }
    if (m_lineHandler == LineHandler::Body)
        return;
    responseEnded();
}

void THttpCli::GetBodyLineNext()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("GetBodyLineNext begin"));
    if (m_bodyLineCount == 0) {
        m_chunkLength = 0;
        m_chunkRcvd = 0;
        m_chunkState = 0;
        m_chunkDigits = 0;
        m_chunkSawDigit = false;
        TriggerDocBegin();
        if (stopped())
            return;
        m_contentCodingHnd->Prepare(m_contentEncoding);
        m_receiveStreamStartSize = m_receiveStream != nullptr ? m_receiveStream->Size() : 0;
    }
    ++m_bodyLineCount;
    HTTP_TRACE(loProtSpecInfo,
               QStringLiteral("GetBodyLineNext FBodyDataLen=") + QString::number(m_bodyDataLen));

    if (m_transferEncoding == QLatin1String("chunked")) {
        const char *p = m_bodyData;
        int left = m_bodyDataLen;
        while (left > 0 && m_chunkState != 4) {
            switch (m_chunkState) {
            case 0: {
                int d = hexValue(*p);
                if (d >= 0) {
                    if (m_chunkLength != 0 || d != 0) {
                        // More than 15 significant digits cannot be a size.
                        if (++m_chunkDigits > 15)
                            throw EHttpException(QStringLiteral("Invalid chunk size"),
                                                 httperrProtocol);
                    }
                    m_chunkLength = m_chunkLength * 16 + d;
                    m_chunkSawDigit = true;
                    ++p;
                    --left;
                } else {
                    if (!m_chunkSawDigit)
                        throw EHttpException(QStringLiteral("Invalid chunk size"), httperrProtocol);
                    HTTP_TRACE(loProtSpecInfo,
                               QStringLiteral("ChunkLength = ") + QString::number(m_chunkLength));
                    m_chunkState = 1;
                }
                break;
            }
            case 1:
                if (*p == '\n')
                    m_chunkState = 2;
                ++p;
                --left;
                break;
            case 2: {
                int n = static_cast<int>(std::min<std::int64_t>(m_chunkLength - m_chunkRcvd, left));
                if (n > 0) {
                    m_receivedCount += n;
                    m_chunkRcvd += n;
                    m_contentCodingHnd->WriteBuffer(p, n);
                    if (interrupted())
                        return;
                    p += n;
                    left -= n;
                }
                if (m_chunkRcvd >= m_chunkLength) {
                    m_chunkState = 3;
                    m_trailerLineEmpty = true;
                }
                break;
            }
            case 3:
                if (*p == '\n') {
                    if (m_chunkLength == 0 && !m_trailerLineEmpty) {
                        // A trailer line: skip up to the empty line.
                        m_trailerLineEmpty = true;
                    } else {
                        m_chunkState = m_chunkLength == 0 ? 4 : 0;
                        m_chunkLength = 0;
                        m_chunkRcvd = 0;
                        m_chunkDigits = 0;
                        m_chunkSawDigit = false;
                    }
                } else if (*p != '\r') {
                    m_trailerLineEmpty = false;
                }
                ++p;
                --left;
                break;
            default:
                break;
            }
        }
        if (m_chunkState == 4) {
            m_bodyLeftover = left;
            HTTP_TRACE(loProtSpecInfo, QStringLiteral("httpChunkDone, end of document"));
            endOfBody();
        }
    } else {
        if (m_bodyDataLen > 0) {
            m_receivedCount += m_bodyDataLen;
            m_contentCodingHnd->WriteBuffer(m_bodyData, m_bodyDataLen);
            if (interrupted())
                return;
        }
        if (m_receivedCount == m_contentLength) {
            HTTP_TRACE(loProtSpecInfo, QStringLiteral("End of document"));
            endOfBody();
            if (CheckLogOptions(loProtSpecInfo) && m_receiveStream != nullptr &&
                !m_contentEncoding.isEmpty())
                DebugLog(loProtSpecInfo,
                         m_contentEncoding + QStringLiteral(" content uncompressed from ") +
                             QString::number(m_contentLength) + QStringLiteral(" bytes to ") +
                             QString::number(m_receiveStream->Size()) + QStringLiteral(" bytes"));
        }
    }
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("GetBodyLineNext end"));
}

void THttpCli::endOfBody()
{
    m_answerComplete = true;
    m_bodyLineCount = 0;
    m_lineHandler = LineHandler::None;
    SetState(httpBodyReceived);
    if (stopped())
        return;
    stopBandwidthTimer();
    m_contentCodingHnd->Complete();
    if (stopped())
        return;
    TriggerDocEnd();
    if (stopped())
        return;
    if (m_closeReq)
        socketCloseDelayed();
}

// ---------------------------------------------------------------------------
// Closing and completion

void THttpCli::closeHandlerDispatch(std::uint16_t error)
{
    switch (m_closeHandler) {
    case CloseHandler::Normal:
        SocketSessionClosed(error);
        break;
    case CloseHandler::Relocation:
        LocationSessionClosed(error);
        break;
    case CloseHandler::Ignore:
        break;
    case CloseHandler::Left:
        m_connected = false;
        TriggerSessionClosed();
        break;
    }
}

void THttpCli::SocketSessionClosed(std::uint16_t error)
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("SessionClosed Error: ") + QString::number(error));
    if (retryOnFreshConnection())
        return;
    if (error != 0)
        m_requestDoneError = error;
    m_connected = false;
    const bool running = m_state != httpReady && m_state != httpAborting;
    if (m_receivingHeader) {
        TriggerHeaderEnd();
        if (stopped())
            return;
        // A status line without the rest of its header, or an interim
        // answer without the final one.
        if (running && m_requestDoneError == 0 && m_headerLineCount != 0 &&
            m_lineHandler == LineHandler::Header)
            incomplete();
    } else if (running && m_requestDoneError == 0 && m_state == httpWaitingHeader &&
               !m_answerComplete && m_lineHandler == LineHandler::Header &&
               m_headerLineCount == 0) {
        // The request went out and no whole line came back.
        if (m_rcvdCount == 0) {
            m_requestDoneError = httperrIncomplete;
            m_reasonPhrase = QStringLiteral("Empty reply");
            m_relocationPending = false;
        } else {
            incomplete();
        }
    } else {
        if (m_bodyLineCount > 0) {
            stopBandwidthTimer();
            m_bodyLineCount = 0;
            TriggerDocEnd();
            if (stopped())
                return;
        }
        // A body announced by length or chunks that stopped short.
        if (running && m_requestDoneError == 0 && m_lineHandler == LineHandler::Body && !isHead() &&
            (bodyLength() >= 0 || m_transferEncoding == QLatin1String("chunked")))
            incomplete();
    }
    m_lineHandler = LineHandler::None;
    if (m_relocationPending && running) {
        LocationSessionClosed(error);
        return;
    }
    TriggerSessionClosed();
    if (stopped())
        return;
    if (m_state != httpReady)
        postSetReady();
}

bool THttpCli::retryOnFreshConnection()
{
    // Not a byte of answer, on a connection an earlier answer had used: the
    // server ended it while it was idle, as servers do after a while.
    if (m_state != httpWaitingHeader || m_receivingHeader || m_answerComplete ||
        m_lineHandler != LineHandler::Header || m_headerLineCount != 0 || m_rcvdCount != 0 ||
        m_requestsOnConnection < 2)
        return false;
    // GET and HEAD change nothing and may always go again. Any other request
    // only when the server cannot have had it: not a byte of it left us (a
    // byte the system took may have reached the server, which may have acted
    // on it before closing).
    if (m_requestType != httpGET && m_requestType != httpHEAD && m_requestBytesWritten != 0)
        return false;
    // The last NTLM step belongs to the connection that carried the others.
    if (m_authNTLMState == 3 || m_proxyAuthNTLMState == 3)
        return false;
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("Connection closed before any answer: "
                                              "request sent again on a new connection"));
    // What the dead connection had posted is void.
    ++m_generation;
    m_connected = false;
    m_closeHandler = CloseHandler::Normal;
    stopBandwidthTimer();
    rewindStreams();
    const QString docName = m_docName;
    const QString location = m_location;
    InternalClear();
    m_docName = docName;
    m_location = location;
    postMessage(WM_HTTP_LOGIN);
    return true;
}

void THttpCli::incomplete()
{
    m_requestDoneError = httperrIncomplete;
    m_reasonPhrase = QStringLiteral("Response incomplete");
    m_relocationPending = false;
}

void THttpCli::StartRelocation()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("Starting relocation process"));
    m_receivedCount = 0;
    emptyBuffer();
    m_headerLineCount = 0;
    m_bodyLineCount = 0;
    // Counted here only, whether the next hop reuses the connection or not.
    ++m_locationChangeCurCount;
    if (m_locationChangeCurCount > m_locationChangeMaxCount) {
        bool allow = false;
        if (OnLocationChangeExceeded)
            OnLocationChangeExceeded(this, m_locationChangeCurCount, allow);
        if (stopped())
            return;
        if (!allow) {
            m_relocationPending = false;
            if (m_closeReq)
                socketCloseDelayed();
            postSetReady();
            return;
        }
    }
    if (!m_closeReq && connectionReusable()) {
        TriggerLocationChange();
        if (stopped())
            return;
        // Rewound before the reset clears the count of bytes sent.
        rewindStreams();
        QString location = m_location;
        InternalClear();
        m_location = location;
        stripFragment();
        deriveDocName(m_proxy.isEmpty() ? m_path : pathOf(m_path));
        if (m_requestType == httpPOST)
            m_requestType = httpGET;
        postMessage(WM_HTTP_LOGIN);
    } else {
        m_closeHandler = CloseHandler::Relocation;
        socketCloseDelayed();
    }
}

QString THttpCli::schemeOf(const QString &url)
{
    QString proto, user, pass, host, port, path;
    SplitUrl(url, proto, user, pass, host, port, path);
    return proto.isEmpty() ? QStringLiteral("http") : proto;
}

QString THttpCli::pathOf(const QString &url)
{
    QString proto, user, pass, host, port, path;
    SplitUrl(url, proto, user, pass, host, port, path);
    return path;
}

void THttpCli::stripFragment()
{
    int hash = m_path.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        m_path = m_path.left(hash);
    if (m_path.isEmpty())
        m_path = QStringLiteral("/");
    hash = m_location.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        m_location = m_location.left(hash);
}

void THttpCli::LocationSessionClosed(std::uint16_t)
{
    // The relocation answer was whole: how its connection ended does not
    // concern the next hop.
    m_requestDoneError = 0;
    stripFragment();
    deriveDocName(pathOf(m_location));
    m_connected = false;
    m_relocationPending = false;
    if (m_requestType == httpPOST)
        m_requestType = httpGET;
    m_closeHandler = CloseHandler::Normal;
    TriggerLocationChange();
    if (stopped())
        return;
    m_receivedHeader.clear();
    m_receivedHeaderBytes = 0;
    m_headerLineCount = 0;
    m_bodyLineCount = 0;
    m_contentLength = -1;
    m_contentType.clear();
    m_statusCode = 0;
    m_reasonPhrase.clear();
    m_transferEncoding.clear();
    m_contentEncoding.clear();
    m_lineHandler = LineHandler::None;
    m_receivingHeader = false;
    if (!m_proxy.isEmpty())
        m_port = proxyConnectPort();
    rewindStreams();
    postMessage(WM_HTTP_LOGIN);
}

void THttpCli::relocationTarget(const QString &location)
{
    // A reference to another host of the same scheme ("//host/x") names
    // that host, as any other URL with a scheme does; everything else
    // without a scheme is resolved against the URL of this request.
    QString value = location;
    if (value.startsWith(QLatin1String("//"))) {
        QString scheme = m_protocol.isEmpty() ? QStringLiteral("http") : m_protocol;
        if (!m_proxy.isEmpty())
            scheme = schemeOf(m_path);
        value = scheme + QLatin1Char(':') + value;
    }
    const bool absolute = HasSchemeAndAuthority(value);
    QString proto, user, pass, host, port, path;
    if (!m_proxy.isEmpty()) {
        if (!absolute) {
            SplitUrl(m_path, proto, user, pass, host, port, path);
            m_location = (proto.isEmpty() ? QStringLiteral("http") : proto) +
                         QStringLiteral("://") + host +
                         (port.isEmpty() ? QString() : QLatin1Char(':') + port) +
                         ResolvePath(path.isEmpty() ? QStringLiteral("/") : path, value);
            setPath(m_location);
            if (!user.isEmpty() && !pass.isEmpty()) {
                m_currUsername = user;
                m_currPassword = pass;
            }
        } else {
            SplitUrl(value, proto, user, pass, host, port, path);
            const QString newPort = port.isEmpty() ? QStringLiteral("80") : port;
            bool sameOrigin =
                host == m_targetHost && newPort == m_targetPort && proto == m_protocol;
            takeRelocationCredentials(sameOrigin, user, pass);
            // The connection stays with the proxy: only the origin moves.
            if (!proto.isEmpty() && !host.isEmpty()) {
                m_targetHost = host;
                m_targetPort = newPort;
                m_protocol = proto;
                m_location = proto + QStringLiteral("://") + host +
                             (port.isEmpty() ? QString() : QLatin1Char(':') + port) + path;
                setPath(m_location);
            }
        }
        return;
    }
    if (!absolute) {
        setPath(ResolvePath(m_path, value));
        m_location = QStringLiteral("http://") + m_hostName + hostPortSuffix() + m_path;
    } else {
        SplitUrl(value, proto, user, pass, host, port, path);
        const QString newPort = port.isEmpty() ? QStringLiteral("80") : port;
        bool sameOrigin = host == m_hostName && newPort == m_port && proto == m_protocol;
        takeRelocationCredentials(sameOrigin, user, pass);
        m_protocol = proto;
        m_hostName = host;
        m_port = newPort;
        setPath(path);
        if (!proto.isEmpty() && !host.isEmpty()) {
            m_targetHost = m_hostName;
            m_targetPort = m_port;
            QString origin = proto + QStringLiteral("://") + m_hostName +
                             (port.isEmpty() ? QString() : QLatin1Char(':') + port);
            if (m_path.isEmpty()) {
                m_path = QStringLiteral("/");
                m_location = origin;
            } else {
                m_location = origin + m_path;
            }
        } else if (m_path.isEmpty()) {
            m_path = QStringLiteral("/");
        }
    }
}

QString THttpCli::proxyConnectPort() const
{
    // A port written in Proxy wins over ProxyPort.
    QString proto, user, pass, host, port, path;
    SplitUrl(m_proxy, proto, user, pass, host, port, path);
    return port.isEmpty() ? m_proxyPort : port;
}

QString THttpCli::hostPortSuffix() const
{
    return m_port.isEmpty() || m_port == QLatin1String("80") ? QString()
                                                             : QLatin1Char(':') + m_port;
}

void THttpCli::takeRelocationCredentials(bool sameOrigin, const QString &user, const QString &pass)
{
    // Credentials never follow a relocation to another origin: only those
    // the new URL carries are used there.
    if (!sameOrigin) {
        m_currUsername = user;
        m_currPassword = pass;
        // Nor do the server's authentication steps: the new origin asks
        // for its own.
        m_authNTLMState = 0;
        m_authBasicState = 0;
        m_authenticateValues.clear();
    } else if (!user.isEmpty() && !pass.isEmpty()) {
        m_currUsername = user;
        m_currPassword = pass;
    }
}

// ---------------------------------------------------------------------------
// Abort and the synchronous request

void THttpCli::Abort()
{
    // Between requests there is nothing to end: the last request has had,
    // or will have, its one completion.
    if (!requestRunning() && m_requestStarted)
        return;
    m_closeHandler = CloseHandler::Normal;
    m_relocationPending = false;
    if (requestRunning()) {
        m_repeatPending = false;
        const bool lookup = m_state == httpDnsLookup;
        // A next hop or a set-ready already posted belongs to the request
        // ended here: they must find it gone.
        const std::uint32_t generation = ++m_generation;
        SetState(httpAborting);
        // Aborted again, or replaced, from that state change: ended there.
        if (m_generation != generation)
            return;
        if (lookup && !m_simulating)
            m_socket->CancelDnsLookup();
        m_statusCode = 404;
        m_reasonPhrase = QStringLiteral("Connection aborted on request");
        m_requestDoneError = httperrAborted;
        m_lineHandler = LineHandler::None;
        stopBandwidthTimer();
        if (lookup) {
            WorkScope scope(*this);
            SocketSessionClosed(0);
        } else {
            socketClose();
        }
        if (m_generation != generation)
            return;
        m_requestDoneError = httperrAborted;
        SetState(httpReady);
        return;
    }
    m_state = httpAborting;
    if (socketConnected() || (!m_simulating && m_socket->State() != wsClosed))
        socketAbort();
    m_statusCode = 200;
    m_reasonPhrase = QStringLiteral("OK");
    m_requestDoneError = 0;
    m_state = httpReady;
    TriggerStateChange();
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("RequestDone"));
    TriggerRequestDone(m_requestType, 0);
}

void THttpCli::DoRequestSync(THttpRequest Rq)
{
    DoRequestAsync(Rq);
    while (requestRunning()) {
        if (m_multiThreaded) {
            m_socket->ProcessMessages();
            std::this_thread::yield();
        } else {
            m_loop->waitAndProcess(1000);
            if (m_loop->quitRequested()) {
                Abort();
                break;
            }
        }
    }
    if (m_statusCode >= 400 && m_statusCode != 401 && m_statusCode != 407)
        throw EHttpException(m_reasonPhrase, static_cast<std::uint16_t>(m_statusCode));
}

// ---------------------------------------------------------------------------
// Bandwidth

void THttpCli::bandwidthSetup()
{
    stopBandwidthTimer();
    int sampling = std::max(1, m_bandwidthSampling);
    m_bandwidthTimer = m_loop->startTimer(sampling, [this] { guarded([&] { bandwidthTick(); }); });
    m_bandwidthMaxCount =
        std::max<std::int64_t>(1, std::int64_t(m_bandwidthLimit) * sampling / 1000);
    m_bandwidthPaused = false;
    m_bandwidthCount = 0;
    TWSocketOptions options = m_socket->ComponentOptions();
    options << wsoNoReceiveLoop;
    m_socket->SetComponentOptions(options);
}

void THttpCli::bandwidthCount(int count)
{
    if (m_bandwidthTimer == 0)
        return;
    m_bandwidthCount += count;
    if (m_bandwidthCount > m_bandwidthMaxCount && !m_bandwidthPaused) {
        m_bandwidthPaused = true;
        if (!m_simulating)
            m_socket->Pause();
    }
}

void THttpCli::bandwidthTick()
{
    if (m_bandwidthPaused) {
        m_bandwidthPaused = false;
        m_bandwidthCount -= m_bandwidthMaxCount;
        if (!m_simulating)
            m_socket->Resume();
    } else {
        m_bandwidthCount = 0;
    }
}

void THttpCli::stopBandwidthTimer()
{
    if (m_bandwidthTimer != 0) {
        m_loop->stopTimer(m_bandwidthTimer);
        m_bandwidthTimer = 0;
    }
    if (m_bandwidthPaused) {
        m_bandwidthPaused = false;
        if (!m_simulating)
            m_socket->Resume();
    }
}

// ---------------------------------------------------------------------------
// Simulated reception

void THttpCli::simulateResponse(THttpRequest rq)
{
    m_simulating = true;
    m_simConnected = false;
    m_simulatedSent.clear();
    if (m_url.isEmpty())
        m_url = QStringLiteral("http://127.0.0.1/");
    DoRequestAsync(rq);
}

void THttpCli::simulateData(const char *data, int len)
{
    if (!m_simulating || len <= 0)
        return;
    m_simulated.append(data, len);
    // As the socket's receive loop: until the bytes are gone or a pass reads
    // nothing.
    while (!m_simulated.isEmpty() && m_simConnected) {
        qsizetype before = m_simulated.size();
        guarded([&] { SocketDataAvailable(0); });
        if (m_simulated.size() == before)
            break;
    }
}

void THttpCli::simulateClose(int error)
{
    if (!m_simulating || !m_simConnected)
        return;
    m_simulated.clear();
    m_simConnected = false;
    guarded([&] { closeHandlerDispatch(static_cast<std::uint16_t>(error)); });
}

// ---------------------------------------------------------------------------
// Events

void THttpCli::TriggerStateChange()
{
    if (OnStateChange)
        OnStateChange(this);
}

void THttpCli::TriggerCookie(const QString &data, bool &accept)
{
    if (OnCookie)
        OnCookie(this, data, accept);
}

void THttpCli::TriggerSessionConnected()
{
    if (OnSessionConnected)
        OnSessionConnected(this);
}

void THttpCli::TriggerSessionClosed()
{
    if (OnSessionClosed)
        OnSessionClosed(this);
}

void THttpCli::TriggerBeforeHeaderSend(const QString &method, QStringList &headers)
{
    if (OnBeforeHeaderSend)
        OnBeforeHeaderSend(this, method, headers);
}

void THttpCli::TriggerRequestHeaderBegin()
{
    if (OnRequestHeaderBegin)
        OnRequestHeaderBegin(this);
}

void THttpCli::TriggerRequestHeaderEnd()
{
    if (OnRequestHeaderEnd)
        OnRequestHeaderEnd(this);
}

void THttpCli::TriggerHeaderBegin()
{
    m_receivingHeader = true;
    if (OnHeaderBegin)
        OnHeaderBegin(this);
}

void THttpCli::TriggerHeaderEnd()
{
    m_receivingHeader = false;
    if (OnHeaderEnd)
        OnHeaderEnd(this);
}

void THttpCli::TriggerHeaderData()
{
    if (OnHeaderData)
        OnHeaderData(this);
}

void THttpCli::TriggerDocBegin()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("DocBegin"));
    if (OnDocBegin)
        OnDocBegin(this);
}

void THttpCli::TriggerDocData(const char *data, int len)
{
    if (OnDocData)
        OnDocData(this, data, len);
}

void THttpCli::TriggerDocEnd()
{
    HTTP_TRACE(loProtSpecInfo, QStringLiteral("DocEnd"));
    if (OnDocEnd)
        OnDocEnd(this);
}

void THttpCli::TriggerSendBegin()
{
    if (OnSendBegin)
        OnSendBegin(this);
}

void THttpCli::TriggerSendData(const char *data, int len)
{
    if (OnSendData)
        OnSendData(this, data, len);
}

void THttpCli::TriggerSendEnd()
{
    if (OnSendEnd)
        OnSendEnd(this);
}

void THttpCli::TriggerLocationChange()
{
    if (OnLocationChange)
        OnLocationChange(this);
}

void THttpCli::TriggerRequestDone(THttpRequest rq, std::uint16_t error)
{
    if (OnRequestDone)
        OnRequestDone(this, rq, error);
}

} // namespace net
