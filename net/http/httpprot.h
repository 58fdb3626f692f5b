#pragma once
// THttpCli: the HTTP/1.0 and 1.1 client component. One request at a time over
// one TWSocket it owns; it never blocks: every step is driven by a
// notification of its socket or by a message it posts to its own target on
// the thread's event loop. Results come back through events; errors of use
// are EHttpException, network failures are codes and texts in StatusCode,
// ReasonPhrase and RequestDoneError.
#include "net/crypto/ntlm.h"
#include "net/http/httpcontcod.h"
#include "net/http/stream.h"
#include "net/log/netlogger.h"
#include "net/loop/eventloop.h"
#include "net/socket/wsocket.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace net
{

class EHttpException : public platform::Exception
{
public:
    EHttpException(const QString &message, std::uint16_t errorCode)
        : Exception(message), m_errorCode(errorCode)
    {
    }
    std::uint16_t ErrorCode() const { return m_errorCode; }

private:
    std::uint16_t m_errorCode;
};

enum THttpRequest {
    httpABORT, // no request
    httpGET,
    httpPOST,
    httpPUT,
    httpHEAD,
    httpCLOSE
};

enum THttpState {
    httpReady,
    httpNotConnected,
    httpConnected,
    httpDnsLookup,
    httpDnsLookupDone,
    httpWaitingHeader,
    httpWaitingBody,
    httpBodyReceived,
    httpWaitingProxyConnect,
    httpClosing,
    httpAborting
};

enum THttpCliOption {
    httpoNoBasicAuth,
    httpoNoNTLMAuth,
    httpoBandwidthControl,
    httpoEnableContentCoding,
    httpoUseQuality
};
using THttpCliOptions = EnumSet<THttpCliOption>;

// Messages of the client's own target.
constexpr unsigned WM_HTTP_REQUEST_DONE = WM_USER + 1;
constexpr unsigned WM_HTTP_SET_READY = WM_USER + 2;
constexpr unsigned WM_HTTP_LOGIN = WM_USER + 3;

// Completion codes the client sets itself, beside the socket errors.
constexpr std::uint16_t httperrAborted = 3;
constexpr std::uint16_t httperrProtocol = 7;
// A reply cut short, or none at all ("Empty reply").
constexpr std::uint16_t httperrIncomplete = 8;
// A request CloseAsync ended while it ran.
constexpr std::uint16_t httperrClosed = 9;

// Texts of the state trace ("State = " + name).
QString HttpStateName(int state);

class THttpCli;
using THttpNotifyEvent = std::function<void(THttpCli *Sender)>;
using THttpRequestDone =
    std::function<void(THttpCli *Sender, THttpRequest RqType, std::uint16_t ErrCode)>;
using TBeforeHeaderSendEvent =
    std::function<void(THttpCli *Sender, const QString &Method, QStringList &Headers)>;
using TOnCommand = std::function<void(THttpCli *Sender, QString &S)>;
using TDocDataEvent = std::function<void(THttpCli *Sender, const char *Buffer, int Len)>;
using TCookieRcvdEvent = std::function<void(THttpCli *Sender, const QString &Data, bool &Accept)>;
using TLocationChangeExceeded =
    std::function<void(THttpCli *Sender, int RelocationCount, bool &AllowMoreRelocations)>;
using THttpDataAvailable = std::function<void(THttpCli *Sender, std::uint16_t ErrCode)>;

class THttpCli
{
public:
    THttpCli();
    virtual ~THttpCli();
    THttpCli(const THttpCli &) = delete;
    THttpCli &operator=(const THttpCli &) = delete;

    // --- starters
    void Get();
    void Post();
    void Put();
    void Head();
    void GetASync();
    void PostASync();
    void PutASync();
    void HeadAsync();
    // Closes the connection; completes as request httpCLOSE, status 200
    // "OK", error 0. A request still running is ended first, with its own
    // completion (error 9) before the close's.
    void CloseAsync();
    virtual void DoRequestAsync(THttpRequest Rq);
    virtual void DoRequestSync(THttpRequest Rq);
    // Ends the request under way (error 3). Between requests it does
    // nothing: each request has exactly one OnRequestDone. Only a client
    // that never started a request reports an Abort (error 0) at once.
    void Abort();

    // --- published properties
    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }
    QString URL() const { return m_url; }
    void SetURL(const QString &value) { m_url = value; }
    QString LocalAddr() const { return m_localAddr; }
    void SetLocalAddr(const QString &value) { m_localAddr = value; }
    QString Proxy() const { return m_proxy; }
    void SetProxy(const QString &value) { m_proxy = value; }
    QString ProxyPort() const { return m_proxyPort; }
    void SetProxyPort(const QString &value) { m_proxyPort = value; }
    QString Sender() const { return m_sender; }
    void SetSender(const QString &value) { m_sender = value; }
    QString Agent() const { return m_agent; }
    void SetAgent(const QString &value) { m_agent = value; }
    QString Accept() const { return m_accept; }
    void SetAccept(const QString &value) { m_accept = value; }
    QString AcceptLanguage() const { return m_acceptLanguage; }
    void SetAcceptLanguage(const QString &value) { m_acceptLanguage = value; }
    QString Reference() const { return m_reference; }
    void SetReference(const QString &value) { m_reference = value; }
    QString Connection() const { return m_connection; }
    void SetConnection(const QString &value) { m_connection = value; }
    QString ProxyConnection() const { return m_proxyConnection; }
    void SetProxyConnection(const QString &value) { m_proxyConnection = value; }
    QString Username() const { return m_username; }
    void SetUsername(const QString &value) { m_username = value; }
    QString Password() const { return m_password; }
    void SetPassword(const QString &value) { m_password = value; }
    QString ProxyUsername() const { return m_proxyUsername; }
    void SetProxyUsername(const QString &value) { m_proxyUsername = value; }
    QString ProxyPassword() const { return m_proxyPassword; }
    void SetProxyPassword(const QString &value) { m_proxyPassword = value; }
    bool NoCache() const { return m_noCache; }
    void SetNoCache(bool value) { m_noCache = value; }
    platform::TDateTime ModifiedSince() const { return m_modifiedSince; }
    void SetModifiedSince(platform::TDateTime value) { m_modifiedSince = value; }
    QString Cookie() const { return m_cookie; }
    void SetCookie(const QString &value) { m_cookie = value; }
    QString ContentTypePost() const { return m_contentTypePost; }
    void SetContentTypePost(const QString &value) { m_contentTypePost = value; }
    QString ContentRangeBegin() const { return m_contentRangeBegin; }
    void SetContentRangeBegin(const QString &value);
    QString ContentRangeEnd() const { return m_contentRangeEnd; }
    void SetContentRangeEnd(const QString &value);
    QString AcceptRanges() const { return m_acceptRanges; }
    bool MultiThreaded() const { return m_multiThreaded; }
    virtual void SetMultiThreaded(bool value);
    QString RequestVer() const { return m_requestVer; }
    // Only "1.0" and "1.1"; raises EHttpException (5) and keeps the old value.
    void SetRequestVer(const QString &value);
    bool FollowRelocation() const { return m_followRelocation; }
    void SetFollowRelocation(bool value) { m_followRelocation = value; }
    int LocationChangeMaxCount() const { return m_locationChangeMaxCount; }
    void SetLocationChangeMaxCount(int value) { m_locationChangeMaxCount = value; }
    int LocationChangeCurCount() const { return m_locationChangeCurCount; }
    int BandwidthLimit() const { return m_bandwidthLimit; }
    void SetBandwidthLimit(int value) { m_bandwidthLimit = value; }
    int BandwidthSampling() const { return m_bandwidthSampling; }
    void SetBandwidthSampling(int value) { m_bandwidthSampling = value; }
    THttpCliOptions Options();
    void SetOptions(THttpCliOptions value);
    TNetLogger *NetLogger() const { return m_socket->NetLogger(); }
    void SetNetLogger(TNetLogger *logger) { m_socket->SetNetLogger(logger); }
    QString SocksServer() const { return m_socksServer; }
    void SetSocksServer(const QString &value) { m_socksServer = value; }
    QString SocksLevel() const { return m_socksLevel; }
    // "", "4", "4A" (any case) or "5"; raises ESocketException otherwise. ""
    // reaches the socket as "5".
    void SetSocksLevel(const QString &value);
    QString SocksPort() const { return m_socksPort; }
    void SetSocksPort(const QString &value) { m_socksPort = value; }
    QString SocksUsercode() const { return m_socksUsercode; }
    void SetSocksUsercode(const QString &value) { m_socksUsercode = value; }
    QString SocksPassword() const { return m_socksPassword; }
    void SetSocksPassword(const QString &value) { m_socksPassword = value; }
    TSocksAuthentication SocksAuthentication() const { return m_socksAuthentication; }
    void SetSocksAuthentication(TSocksAuthentication value) { m_socksAuthentication = value; }

    // --- run-time state
    THttpState State() const { return m_state; }
    THttpRequest RequestType() const { return m_requestType; }
    int StatusCode() const { return m_statusCode; }
    QString ReasonPhrase() const { return m_reasonPhrase; }
    std::uint16_t RequestDoneError() const { return m_requestDoneError; }
    const QStringList &ReceivedHeader() const { return m_receivedHeader; }
    std::int64_t ContentLength() const { return m_contentLength; }
    QString ContentType() const { return m_contentType; }
    QString TransferEncoding() const { return m_transferEncoding; }
    QString ContentEncoding() const { return m_contentEncoding; }
    QString ResponseVersion() const { return m_responseVersion; }
    QString Location() const { return m_location; }
    QString Path() const { return m_path; }
    QString DocumentName() const { return m_docName; }
    QString HostName() const { return m_hostName; }
    QString Port() const { return m_port; }
    QString TargetHost() const { return m_targetHost; }
    QString TargetPort() const { return m_targetPort; }
    QString DnsResult() const { return m_dnsResult; }
    TStream *ReceiveStream() const { return m_receiveStream; }
    void SetReceiveStream(TStream *stream) { m_receiveStream = stream; }
    TStream *SendStream() const { return m_sendStream; }
    void SetSendStream(TStream *stream) { m_sendStream = stream; }
    std::int64_t ReceivedCount() const { return m_receivedCount; }
    std::int64_t SentCount() const { return m_sentCount; }
    TWSocket &CtrlSocket() { return *m_socket; }
    THttpContCodHandler &ContentCodingHnd() { return *m_contentCodingHnd; }
    bool Connected() const { return m_connected; }
    // Authentication of this request: NTLM 0 none, 1 message 1 to send,
    // 3 message 3 to send, 4 done; Basic 0 none, 1 credentials to send, 2 done.
    int AuthNTLMState() const { return m_authNTLMState; }
    int ProxyAuthNTLMState() const { return m_proxyAuthNTLMState; }
    int AuthBasicState() const { return m_authBasicState; }
    int ProxyAuthBasicState() const { return m_proxyAuthBasicState; }

    // --- events
    THttpNotifyEvent OnStateChange;
    THttpNotifyEvent OnSessionConnected;
    THttpNotifyEvent OnSessionClosed;
    THttpNotifyEvent OnRequestHeaderBegin;
    THttpNotifyEvent OnRequestHeaderEnd;
    TBeforeHeaderSendEvent OnBeforeHeaderSend;
    TOnCommand OnCommand;
    THttpNotifyEvent OnSendBegin;
    THttpNotifyEvent OnSendEnd;
    TDocDataEvent OnSendData;
    THttpNotifyEvent OnHeaderBegin;
    THttpNotifyEvent OnHeaderEnd;
    THttpNotifyEvent OnHeaderData;
    TCookieRcvdEvent OnCookie;
    THttpNotifyEvent OnDocBegin;
    THttpNotifyEvent OnDocEnd;
    TDocDataEvent OnDocData;
    THttpNotifyEvent OnLocationChange;
    TLocationChangeExceeded OnLocationChangeExceeded;
    THttpRequestDone OnRequestDone;
    THttpDataAvailable OnDataPush;
    THttpNotifyEvent OnDataPush2;
    TSessionConnected OnSocksConnected;
    TSocksErrorEvent OnSocksError;
    THttpNotifyEvent OnSocketError;
    // Stored for the owner; nothing fires them.
    TSocksAuthStateEvent OnSocksAuthState;
    THttpNotifyEvent OnTrace;

    // --- reception without a connection (split tests, fuzzing): the client
    // acts as if its connection were open and the request rq sent; bytes
    // given to simulateData arrive as one data-available notification, as
    // many receives as they need; simulateClose is the peer's close.
    void simulateResponse(THttpRequest rq);
    void simulateData(const char *data, int len);
    void simulateClose(int error = 0);
    // The bytes the client sent in simulation.
    const QByteArray &simulatedRequest() const { return m_simulatedSent; }

protected:
    enum class LineHandler { None, Header, Body };
    // Left: a connection given up for the request just started, whose close
    // only the owner hears of.
    enum class CloseHandler { Normal, Relocation, Ignore, Left };

    virtual void DebugLog(TLogOption option, const QString &msg);
    virtual bool CheckLogOptions(TLogOption option);
    virtual void CreateSocket();
    virtual void SocketConfigure();
    virtual void SendRequest(const QString &method, const QString &version);
    virtual void GetHeaderLineNext();
    virtual void GetBodyLineNext();
    virtual void SendCommand(const QString &cmd);
    virtual void Login();
    virtual void InternalClear();
    virtual void StartRelocation();
    virtual void StartAuthNTLM();
    virtual void StartProxyAuthNTLM();
    virtual void StartAuthBasic();
    virtual void StartProxyAuthBasic();
    virtual void SocketDNSLookupDone(std::uint16_t error);
    virtual void SocketSessionClosed(std::uint16_t error);
    virtual void SocketSessionConnected(std::uint16_t error);
    virtual void SocketDataSent(std::uint16_t error);
    virtual void SocketDataAvailable(std::uint16_t error);
    virtual void LocationSessionClosed(std::uint16_t error);
    virtual void SetState(THttpState newState);
    virtual void TriggerStateChange();
    virtual void TriggerCookie(const QString &data, bool &accept);
    virtual void TriggerSessionConnected();
    virtual void TriggerSessionClosed();
    virtual void TriggerBeforeHeaderSend(const QString &method, QStringList &headers);
    virtual void TriggerRequestHeaderBegin();
    virtual void TriggerRequestHeaderEnd();
    virtual void TriggerHeaderBegin();
    virtual void TriggerHeaderEnd();
    virtual void TriggerHeaderData();
    virtual void TriggerLocationChange();
    virtual void TriggerDocBegin();
    virtual void TriggerDocData(const char *data, int len);
    virtual void TriggerDocEnd();
    virtual void TriggerSendBegin();
    virtual void TriggerSendData(const char *data, int len);
    virtual void TriggerSendEnd();
    virtual void TriggerRequestDone(THttpRequest rq, std::uint16_t error);
    virtual void WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    virtual void SetReady();
    virtual void AdjustDocName();

private:
    void postMessage(unsigned msg, std::intptr_t lParam = 0);
    void postRequestDone();
    void postSetReady() { postMessage(WM_HTTP_SET_READY); }
    void setTargets();
    void deriveDocName(const QString &source);
    void setPath(const QString &path);
    void bindSocket();
    void closeHandlerDispatch(std::uint16_t error);
    void runLineHandler();
    void headerEnded();
    void statusLine(const QString &line);
    void headerField(const QString &line);
    void relocationTarget(const QString &location);
    void rewindStreams();
    void endOfBody();
    void bodyFromBuffer();
    bool bodyStraightFromSocket() const;
    void bodyFromSocket();
    void responseEnded();
    void incomplete();
    void stripFragment();
    // A scheme other than http ends the request before any look-up or
    // connection; true when it did.
    bool refuseScheme();
    void closeRunningRequest(std::uint32_t generation);
    bool socketClosed() const;
    static QString pathOf(const QString &url);
    static QString schemeOf(const QString &url);
    QString hostPortSuffix() const;
    QString proxyConnectPort() const;
    void takeRelocationCredentials(bool sameOrigin, const QString &user, const QString &pass);
    // Turns a 401 or 407 into another attempt when a scheme applies; else
    // posts request done.
    void authBookkeeping();
    // A 407 is answered only when it can come from a proxy of ours: an
    // origin asking for proxy credentials is given none.
    bool proxyInUse() const { return !m_proxy.isEmpty(); }
    bool prepareNTLMAuth(bool &repeat);
    bool prepareBasicAuth(bool &repeat);
    void authorizationLines(QStringList &headers) const;
    // Message 3 for the challenge just read, or nothing when it cannot be
    // made (the step is then given up).
    std::optional<QString> ntlmMessage3(const QString &user, const QString &password,
                                        const TNTLM_Msg2_Info &info) const;
    bool requestRunning() const { return m_state != httpReady || m_repeatPending || m_completing; }
    bool socketConnected() const;
    void socketCloseQuietly();
    void socketSend(const char *data, int len);
    // Everything that decides where a connection goes and how it gets there.
    struct Route {
        QString host, port, protocol, localAddr, proxy;
        QString socksServer, socksPort, socksLevel, socksUsercode, socksPassword;
        TSocksAuthentication socksAuthentication = socksNoAuthentication;
        bool operator==(const Route &) const = default;
    };
    Route route() const;
    // The open connection is free and goes where the request is to go.
    bool connectionReusable();
    // The peer's close (or reset) already waits in the socket.
    bool peerGone();
    // A request that went out on a connection an earlier answer had used,
    // and heard nothing back before the close, goes once more on a new
    // connection when that is safe; true when it does.
    bool retryOnFreshConnection();
    // Moves the first whole line of the buffer to m_lastLine.
    bool takeLine();
    void pushIdleLines(std::uint16_t error);
    void consumeFront(int count);
    void emptyBuffer();
    void bandwidthCount(int count);
    void bandwidthSetup();
    void bandwidthTick();
    void stopBandwidthTimer();
    // An entry point's barrier: a fault anywhere in the work it started
    // ends the request once, with error 7 and the fault's text.
    template <typename F> void guarded(F &&work);
    // Ties the work of an entry point to the request under way. An Abort or
    // a new request from one of the owner's handlers leaves it stale: the
    // work then stops where the handler returns, and nothing more is done
    // for the request that is gone.
    class WorkScope
    {
    public:
        explicit WorkScope(THttpCli &client) : m_client(client), m_outer(client.m_workGeneration)
        {
            client.m_workGeneration = client.m_generation;
        }
        ~WorkScope() { m_client.m_workGeneration = m_outer; }
        WorkScope(const WorkScope &) = delete;
        WorkScope &operator=(const WorkScope &) = delete;

    private:
        THttpCli &m_client;
        std::uint32_t m_outer;
    };
    bool stopped() const { return m_generation != m_workGeneration; }
    void failRequest(std::uint16_t code, const QString &reason);
    void socketClose();
    void socketCloseDelayed();
    void socketAbort();
    int receive(char *buffer, int size);
    bool isHead() const { return m_requestType == httpHEAD; }
    std::int64_t bodyLength() const;
    bool interrupted() const;
    QString formatModifiedSince() const;

    std::unique_ptr<TWSocket> m_socket;
    std::unique_ptr<THttpContCodHandler> m_contentCodingHnd;
    EventLoop *m_loop = nullptr;
    TargetId m_window = 0;

    QString m_name;
    QString m_url;
    QString m_localAddr = QStringLiteral("0.0.0.0");
    QString m_proxy;
    QString m_proxyPort = QStringLiteral("80");
    QString m_sender;
    QString m_agent = QStringLiteral("Mozilla/4.0 (compatible; VornHttp)");
    QString m_accept = QStringLiteral("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    QString m_acceptLanguage;
    QString m_reference;
    QString m_connection;
    QString m_proxyConnection;
    QString m_username, m_password, m_proxyUsername, m_proxyPassword;
    bool m_noCache = false;
    platform::TDateTime m_modifiedSince = 0;
    QString m_cookie;
    QString m_contentTypePost = QStringLiteral("application/x-www-form-urlencoded");
    QString m_contentRangeBegin, m_contentRangeEnd;
    bool m_rangeSetByOwner = false;
    QString m_acceptRanges;
    bool m_multiThreaded = false;
    QString m_requestVer = QStringLiteral("1.0");
    bool m_followRelocation = true;
    int m_locationChangeMaxCount = 5;
    int m_locationChangeCurCount = 0;
    int m_bandwidthLimit = 10000;
    int m_bandwidthSampling = 1000;
    THttpCliOptions m_options;
    QString m_socksServer, m_socksLevel, m_socksPort, m_socksUsercode, m_socksPassword;
    TSocksAuthentication m_socksAuthentication = socksNoAuthentication;

    THttpState m_state = httpReady;
    THttpRequest m_requestType = httpABORT;
    int m_statusCode = 0;
    QString m_reasonPhrase;
    std::uint16_t m_requestDoneError = 0;
    QStringList m_receivedHeader;
    QStringList m_authenticateValues;
    int m_authNTLMState = 0;
    int m_proxyAuthNTLMState = 0;
    int m_authBasicState = 0;
    int m_proxyAuthBasicState = 0;
    TNTLM_Msg2_Info m_ntlmMsg2Info;
    TNTLM_Msg2_Info m_proxyNtlmMsg2Info;
    QString m_ntlmMessage3;
    QString m_proxyNtlmMessage3;
    // From the bookkeeping that decided another attempt until its login
    // message runs: the state reads httpReady, yet the request goes on.
    bool m_repeatPending = false;
    // While the bookkeeping decides.
    bool m_completing = false;
    QByteArray m_requestHeader;
    QString m_lastLine;
    // The line at the front of the buffer lost bytes it had no room for;
    // then the one just taken did.
    bool m_frontLineCut = false;
    bool m_lastLineCut = false;
    std::int64_t m_receivedHeaderBytes = 0;
    std::int64_t m_contentLength = -1;
    QString m_contentType, m_transferEncoding, m_contentEncoding;
    QString m_responseVersion;
    QString m_location;
    QString m_path;
    QString m_docName;
    TStream *m_receiveStream = nullptr;
    TStream *m_sendStream = nullptr;
    std::int64_t m_receivedCount = 0;
    std::int64_t m_sentCount = 0;

    QString m_hostName, m_port, m_targetHost, m_targetPort, m_protocol;
    // The parts of URL as last split.
    struct {
        QString url, proto, user, pass, host, port, path;
    } m_urlSplit;
    Route m_connectedRoute;
    QString m_dnsResult;
    QString m_currUsername, m_currPassword;
    QString m_currConnection, m_currProxyConnection;
    bool m_connected = false;
    bool m_closeReq = false;
    bool m_relocationPending = false;
    bool m_receivingHeader = false;
    LineHandler m_lineHandler = LineHandler::None;
    CloseHandler m_closeHandler = CloseHandler::Normal;
    int m_headerLineCount = 0;
    int m_bodyLineCount = 0;
    bool m_allowSendData = false;
    // From the end of an answer until the next request is written, nothing
    // is expected on the connection; a byte that comes all the same spoils
    // it for the next answer, which could not be told from such bytes.
    bool m_answerComplete = false;
    bool m_connectionSpoiled = false;
    // Requests written on the connection now open, this one included.
    int m_requestsOnConnection = 0;
    // Bytes of this request the system took (the header and the body).
    std::int64_t m_requestBytesWritten = 0;
    // Set by the first request: from then on an Abort between requests has
    // no request to end.
    bool m_requestStarted = false;
    std::uint32_t m_generation = 0;
    // The request the work under way belongs to (see WorkScope).
    std::uint32_t m_workGeneration = 0;

    char m_sndBuf[8193];
    char m_rcvdBuffer[8193 + 1];
    int m_rcvdCount = 0;
    // The body block handed to GetBodyLineNext.
    const char *m_bodyData = nullptr;
    int m_bodyDataLen = 0;
    // Bytes of the last block behind the end of the body.
    int m_bodyLeftover = 0;
    // A body is read in blocks larger than the line buffer, taken once the
    // first body arrives.
    std::unique_ptr<char[]> m_bodyBlock;
    bool m_bodyBlockInUse = false;

    std::int64_t m_chunkLength = 0;
    std::int64_t m_chunkRcvd = 0;
    int m_chunkState = 0;
    int m_chunkDigits = 0;
    bool m_chunkSawDigit = false;
    bool m_trailerLineEmpty = true;
    std::int64_t m_receiveStreamStartSize = 0;

    TimerId m_bandwidthTimer = 0;
    std::int64_t m_bandwidthMaxCount = 0;
    std::int64_t m_bandwidthCount = 0;
    bool m_bandwidthPaused = false;

    bool m_simulating = false;
    bool m_simConnected = false;
    QByteArray m_simulated;
    QByteArray m_simulatedSent;
};

} // namespace net
