#pragma once
// TCustomWSocket / TWSocket: the non-blocking TCP/UDP socket driven by the
// thread's event loop. Every socket registers a target (its hidden window) on
// the loop of the thread that created it; readiness of its descriptor becomes
// the connect, read, write, accept and close notifications of the original
// platform, each turned into a virtual operation and an event. Data to send
// goes into a queue of TBuffer blocks drained as the kernel takes it; lookups
// run on worker threads and post their answer back.
#include "net/log/netlogger.h"
#include "net/loop/eventloop.h"
#include "net/sys/enumset.h"
#include "net/sys/wsockbuf.h"
#include "platform/text/exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <vector>

namespace net
{

class SelectWatch;
struct LookupRequest;

class ESocketException : public platform::Exception
{
public:
    using Exception::Exception;
};

enum TSocketState {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsSocksConnected,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed
};
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TSocketKeepAliveOnOff { wsKeepAliveOff, wsKeepAliveOnCustom, wsKeepAliveOnSystem };
enum TWSocketOption { wsoNoReceiveLoop, wsoTcpNoDelay, wsoSIO_RCVALL };
using TWSocketOptions = EnumSet<TWSocketOption>;

// Notification bits, as the platform numbers them.
constexpr unsigned FD_READ = 1;
constexpr unsigned FD_WRITE = 2;
constexpr unsigned FD_OOB = 4;
constexpr unsigned FD_ACCEPT = 8;
constexpr unsigned FD_CONNECT = 16;
constexpr unsigned FD_CLOSE = 32;

// Messages of the socket's target.
constexpr unsigned WM_ASYNCSELECT = WM_USER + 1;
constexpr unsigned WM_ASYNCGETHOSTBYNAME = WM_USER + 2;
constexpr unsigned WM_ASYNCGETHOSTBYADDR = WM_USER + 3;
constexpr unsigned WM_CLOSE_DELAYED = WM_USER + 4;
constexpr unsigned WM_WSOCKET_RELEASE = WM_USER + 5;
constexpr unsigned WM_TRIGGER_EXCEPTION = WM_USER + 6;
constexpr unsigned WM_TRIGGER_DATA_AVAILABLE = WM_USER + 20;

constexpr int INVALID_SOCKET = -1;

class TCustomWSocket;
using TDataAvailable = std::function<void(TCustomWSocket *Sender, std::uint16_t ErrCode)>;
using TDataSent = TDataAvailable;
using TSessionClosed = TDataAvailable;
using TSessionAvailable = TDataAvailable;
using TSessionConnected = TDataAvailable;
using TDnsLookupDone = TDataAvailable;
using TSendData = std::function<void(TCustomWSocket *Sender, int BytesSent)>;
using TChangeState =
    std::function<void(TCustomWSocket *Sender, TSocketState OldState, TSocketState NewState)>;
using TNotifyEvent = std::function<void(TCustomWSocket *Sender)>;
using TBgExceptionEvent =
    std::function<void(TCustomWSocket *Sender, const std::exception &E, bool &CanClose)>;

enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };
enum TSocksAuthState { socksAuthStart, socksAuthSuccess, socksAuthFailure, socksAuthNotRequired };
using TSocksErrorEvent = std::function<void(TCustomWSocket *Sender, int Error, const QString &Msg)>;
using TSocksAuthStateEvent = std::function<void(TCustomWSocket *Sender, TSocksAuthState AuthState)>;
using TLineLimitEvent =
    std::function<void(TCustomWSocket *Sender, int RcvdLength, bool &ClearData)>;

// Unit-level routines.
QString WSocketErrorDesc(int code);
QString GetWinsockErr(int code);
// Network order; raises ESocketException.
std::uint32_t WSocketResolveHost(const QString &text);
// Host order; raises ESocketException.
int WSocketResolvePort(const QString &port, const QString &proto);
int WSocketResolveProto(const QString &proto);
bool WSocketIsDottedIP(const QString &text);
QString LocalHostName();

// The hidden window of a component that is not a socket (the HTTP client):
// a target on the calling thread's loop; 0 when the thread has no loop.
TargetId AllocateHWnd(MessageHandler handler);
void DeallocateHWnd(TargetId window);

class TCustomWSocket
{
public:
    TCustomWSocket();
    virtual ~TCustomWSocket();
    TCustomWSocket(const TCustomWSocket &) = delete;
    TCustomWSocket &operator=(const TCustomWSocket &) = delete;

    // --- operations
    virtual void Connect();
    virtual void Listen();
    virtual int Accept();
    virtual int Send(const void *data, int len);
    int Send(const QByteArray &data) { return Send(data.constData(), int(data.size())); }
    virtual int SendStr(const QByteArray &str);
    virtual int SendTo(const sockaddr_in &dest, int destLen, const void *data, int len);
    virtual void PutDataInSendBuffer(const void *data, int len);
    virtual int Receive(void *buffer, int size);
    virtual QByteArray ReceiveStr();
    virtual int ReceiveFrom(void *buffer, int size, sockaddr_in &from, int &fromLen);
    virtual void Close();
    virtual void CloseDelayed();
    // Frees the object from the loop once the current handler returned; the
    // caller gives up its ownership (the object must come from new).
    virtual void Release();
    virtual void Abort();
    virtual void Shutdown(int how);
    virtual void Flush();
    virtual void WaitForClose();
    virtual void Pause();
    virtual void Resume();
    virtual void DnsLookup(const QString &hostName);
    virtual void ReverseDnsLookup(const QString &hostAddr);
    virtual void ReverseDnsLookupSync(const QString &hostAddr);
    virtual void CancelDnsLookup();
    virtual QString GetPeerAddr();
    virtual QString GetPeerPort();
    virtual int GetPeerName(sockaddr_in &name, int &nameLen);
    virtual int GetSockName(sockaddr_in &name, int &nameLen);
    virtual QString GetXPort();
    virtual QString GetXAddr();
    virtual void Dup(int newHSocket);
    virtual void ProcessMessages();
    virtual void ThreadAttach();
    virtual void ThreadDetach();

    // Where the owner's data-available handler will read next, asked each
    // time the socket turns readable: false when it will not read straight
    // into one buffer. Otherwise the socket reads there at once, which tells
    // data from a close without asking the system how many bytes wait, and
    // the handler's Receive of that buffer hands the bytes over. The buffer
    // stays the owner's and is left alone until that Receive.
    using TNextReceive = std::function<bool(char *&buffer, int &size)>;
    void SetNextReceive(TNextReceive next) { m_nextReceive = std::move(next); }

    // --- properties
    QString Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    QString Addr() const { return m_addrStr; }
    void SetAddr(const QString &value);
    QString Port() const { return m_portStr; }
    void SetPort(const QString &value);
    QString Proto() const { return m_protoStr; }
    void SetProto(const QString &value);
    QString LocalAddr() const { return m_localAddr; }
    void SetLocalAddr(const QString &value);
    QString LocalPort() const { return m_localPortStr; }
    void SetLocalPort(const QString &value);
    QString PeerAddr() { return GetPeerAddr(); }
    QString PeerPort() { return GetPeerPort(); }
    QString DnsResult() const { return m_dnsResult; }
    const QStringList &DnsResultList() const { return m_dnsResultList; }
    TSocketState State() const { return m_state; }
    std::int64_t ReadCount() const { return m_readCount; }
    int RcvdCount() { return GetRcvdCount(); }
    int LastError() const { return m_lastError; }
    void SetLastError(int value) { m_lastError = value; }
    bool MultiThreaded() const { return m_multiThreaded; }
    void SetMultiThreaded(bool value) { m_multiThreaded = value; }
    bool MultiCast() const { return m_multiCast; }
    void SetMultiCast(bool value) { m_multiCast = value; }
    QString MultiCastAddrStr() const { return m_multiCastAddrStr; }
    void SetMultiCastAddrStr(const QString &value) { m_multiCastAddrStr = value; }
    int MultiCastIpTTL() const { return m_multiCastIpTTL; }
    void SetMultiCastIpTTL(int value) { m_multiCastIpTTL = value; }
    bool ReuseAddr() const { return m_reuseAddr; }
    void SetReuseAddr(bool value) { m_reuseAddr = value; }
    TWSocketOptions ComponentOptions() const { return m_options; }
    void SetComponentOptions(TWSocketOptions value) { m_options = value; }
    int ListenBacklog() const { return m_listenBacklog; }
    void SetListenBacklog(int value) { m_listenBacklog = value; }
    std::uint8_t ReqVerLow() const;
    void SetReqVerLow(std::uint8_t value);
    std::uint8_t ReqVerHigh() const;
    void SetReqVerHigh(std::uint8_t value);
    int FlushTimeout() const { return m_flushTimeout; }
    void SetFlushTimeout(int value) { m_flushTimeout = value; }
    TSocketSendFlags SendFlags();
    void SetSendFlags(TSocketSendFlags value);
    TSocketLingerOnOff LingerOnOff() const { return m_lingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff value) { m_lingerOnOff = value; }
    int LingerTimeout() const { return m_lingerTimeout; }
    void SetLingerTimeout(int value) { m_lingerTimeout = value; }
    TSocketKeepAliveOnOff KeepAliveOnOff() const { return m_keepAliveOnOff; }
    void SetKeepAliveOnOff(TSocketKeepAliveOnOff value) { m_keepAliveOnOff = value; }
    int KeepAliveTime() const { return m_keepAliveTime; }
    void SetKeepAliveTime(int value) { m_keepAliveTime = value; }
    int KeepAliveInterval() const { return m_keepAliveInterval; }
    void SetKeepAliveInterval(int value) { m_keepAliveInterval = value; }
    TNetLogger *NetLogger() const { return m_netLogger; }
    virtual void SetNetLogger(TNetLogger *logger);
    bool Terminated() const { return m_terminated; }
    int HSocket() const { return m_hSocket; }
    // The hidden window: the socket's target on its loop (0 when detached).
    TargetId Handle() const { return m_window; }
    EventLoop *Loop() const { return m_loop; }
    // Raised for every new descriptor; stale notifications carry an older one.
    std::uint32_t Generation() const { return m_generation; }
    bool AllSent() const { return m_allSent; }
    int BufferedByteCount() const { return m_bufferedByteCount; }
    int SendBufferSize() const { return m_sndBufSize; }
    int ReceiveBufferSize() const { return m_rcvBufSize; }

    // --- events
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TChangeState OnChangeState;
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSendData OnSendData;
    TDnsLookupDone OnDnsLookupDone;
    TNotifyEvent OnError;
    TBgExceptionEvent OnBgException;

protected:
    virtual void DebugLog(TLogOption option, const QString &msg);
    virtual bool CheckLogOptions(TLogOption option);
    virtual void WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    virtual void AllocateSocketHWnd();
    virtual void DeallocateSocketHWnd();
    virtual void TryToSend();
    virtual void AssignDefaultValue();
    virtual void InternalClose(bool shut, int error);
    virtual void InternalAbort(int error);
    virtual void SetRemotePort(const QString &value);
    virtual int GetRcvdCount();
    // Received bytes a layer holds for the owner beside those of the socket
    // (they keep the receive loop going).
    virtual int LayerPendingCount() { return 0; }
    virtual void BindSocket();
    virtual int RealSend(const void *data, int len);
    virtual void RaiseExceptionFmt(const QString &format, const QStringList &args);
    virtual void RaiseException(const QString &msg);
    bool mayChange(const char *property);
    virtual void HandleBackGroundException(const std::exception &e);
    virtual bool TriggerDataAvailable(int error);
    virtual void TriggerSessionAvailable(int error);
    virtual void TriggerSessionConnectedSpecial(int error);
    virtual void TriggerSessionConnected(int error);
    virtual void TriggerSessionClosed(int error);
    virtual void TriggerDataSent(int error);
    virtual void TriggerChangeState(TSocketState oldState, TSocketState newState);
    virtual void TriggerDnsLookupDone(int error);
    virtual void TriggerError();
    virtual void TriggerSendData(int bytesSent);
    virtual int DoRecv(void *buffer, int size, int flags);
    virtual int DoRecvFrom(void *buffer, int size, int flags, sockaddr_in &from, int &fromLen);
    virtual void Do_FD_CONNECT(int error);
    virtual void Do_FD_READ(int error);
    virtual void Do_FD_WRITE(int error);
    virtual void Do_FD_ACCEPT(int error);
    virtual void Do_FD_CLOSE(int error);
    virtual void DupConnected();

    void SocketError(const QString &function);
    void socketErrorThenClose(const QString &function);
    void ChangeState(TSocketState newState);
    void ASyncReceive(int error, TWSocketOptions options);
    void DeleteBufferedData();
    void SetLingerOption();
    void SetKeepAliveOption();
    void WMASyncSelect(std::uintptr_t wParam, std::intptr_t lParam);
    void WMAsyncGetHostByName(std::uintptr_t wParam);
    void WMAsyncGetHostByAddr(std::uintptr_t wParam);
    // Starts notifications for the current descriptor (WSAAsyncSelect).
    bool selectEvents(unsigned mask);
    // A layer served a receive from bytes of its own: it counts as progress
    // of the receive loop and lets read notifications come again.
    void servedFromBuffer();
    // Shuts and closes the descriptor at once, dropping what waits to be
    // sent, and tells the owner nothing: for a layer that reports the end
    // of the connection itself.
    void closeDescriptorQuietly();
    QString identity() const;
    bool componentDestroying() const { return m_destroying; }

    // Fields the derived layers read.
    QString m_name;
    QString m_dnsResult;
    QStringList m_dnsResultList;
    int m_sendFlags = 0;
    int m_lastError = 0;
    EventLoop *m_loop = nullptr;
    TargetId m_window = 0;
    std::thread::id m_threadId;
    int m_hSocket = INVALID_SOCKET;
    int m_aSocket = INVALID_SOCKET;
    QString m_addrStr;
    bool m_addrResolved = false;
    int m_addrFormat = AF_INET;
    bool m_addrAssigned = false;
    int m_proto = IPPROTO_TCP;
    bool m_protoAssigned = true;
    bool m_protoResolved = false;
    bool m_localPortResolved = false;
    QString m_protoStr = QStringLiteral("tcp");
    QString m_portStr;
    bool m_portAssigned = false;
    bool m_portResolved = false;
    int m_portNum = 0;
    QString m_localPortStr = QStringLiteral("0");
    int m_localPortNum = 0;
    QString m_localAddr = QStringLiteral("0.0.0.0");
    int m_type = SOCK_STREAM;
    std::deque<std::unique_ptr<TBuffer>> m_bufList;
    int m_bufSize = 1460;
    TSocketLingerOnOff m_lingerOnOff = wsLingerOn;
    int m_lingerTimeout = 0;
    TSocketKeepAliveOnOff m_keepAliveOnOff = wsKeepAliveOnSystem;
    int m_keepAliveTime = 30000;
    int m_keepAliveInterval = 1000;
    int m_listenBacklog = 5;
    bool m_allSent = true;
    std::int64_t m_readCount = 0;
    bool m_paused = false;
    bool m_closeInvoked = false;
    int m_bufferedByteCount = 0;
    int m_flushTimeout = 60;
    bool m_multiThreaded = false;
    std::uint64_t m_dnsLookupHandle = 0;
    std::shared_ptr<LookupRequest> m_lookup;
    bool m_multiCast = false;
    QString m_multiCastAddrStr;
    int m_multiCastIpTTL = 1;
    bool m_reuseAddr = false;
    TWSocketOptions m_options;
    TSocketState m_state = wsClosed;
    bool m_rcvdFlag = false;
    bool m_terminated = false;
    unsigned m_selectEvent = 0;
    int m_sndBufSize = 0;
    int m_rcvBufSize = 0;
    TNetLogger *m_netLogger = nullptr;
    sockaddr_in m_sin{};
    std::uint32_t m_generation = 0;
    // Receives that reached the kernel: a receive pass that made none ends.
    std::uint64_t m_recvCalls = 0;
    // The last receive of a stream came back short of what it asked for:
    // nothing was left waiting then, and the readiness watch reports what
    // arrives later.
    bool m_recvDrained = false;
    // Bytes read ahead into the owner's next receive buffer and not yet
    // handed over, with the buffer and the size that read asked for.
    TNextReceive m_nextReceive;
    char *m_aheadBuffer = nullptr;
    int m_aheadSize = 0;
    int m_aheadCount = 0;
    // A failure met by a read ahead of the receive loop, for the readiness
    // watch to report.
    int m_aheadError = 0;
    bool m_destroying = false;
    std::unique_ptr<SelectWatch> m_select;

private:
    void newDescriptor(int fd);
    void dropDescriptor();
    int readAhead();
    int takeAhead(void *buffer, int size, int flags);
    void postWriteEvent();
    void startLookup(const QString &host, bool reverse, unsigned msg);
    void applyLookupReverse(const QString &name, const QStringList &aliases);
};

// Connections through a SOCKS 4, 4A or 5 server (5 with user name and
// password). With a server set, Connect reaches the server, the exchange runs
// inside the socket's own read notifications, and the owner hears
// OnSessionConnected only once the destination answered (or was refused).
class TCustomSocksWSocket : public TCustomWSocket
{
public:
    TCustomSocksWSocket() = default;

    void Connect() override;
    void Listen() override;

    QString SocksServer() const { return m_socksServer; }
    void SetSocksServer(const QString &value);
    QString SocksPort() const { return m_socksPortStr; }
    void SetSocksPort(const QString &value);
    QString SocksLevel() const { return m_socksLevel; }
    void SetSocksLevel(const QString &value);
    QString SocksUsercode() const { return m_socksUsercode; }
    void SetSocksUsercode(const QString &value) { m_socksUsercode = value; }
    QString SocksPassword() const { return m_socksPassword; }
    void SetSocksPassword(const QString &value) { m_socksPassword = value; }
    TSocksAuthentication SocksAuthentication() const { return m_socksAuthentication; }
    void SetSocksAuthentication(TSocksAuthentication value) { m_socksAuthentication = value; }
    // What a level-5 server bound for the connection: the dotted address (or
    // the name it gave) and the port in decimal.
    QString SocksBoundAddr() const { return m_boundAddr; }
    QString SocksBoundPort() const { return m_boundPort; }

    TSocksErrorEvent OnSocksError;
    TSessionConnected OnSocksConnected;
    TSocksAuthStateEvent OnSocksAuthState;

protected:
    enum SocksState : std::uint8_t {
        socksData,
        socksNegociateMethods,
        socksAuthenticate,
        socksConnect
    };

    void AssignDefaultValue() override;
    void InternalClose(bool shut, int error) override;
    void TriggerSessionConnectedSpecial(int error) override;
    void TriggerSessionClosed(int error) override;
    bool TriggerDataAvailable(int error) override;
    int GetRcvdCount() override;
    int DoRecv(void *buffer, int size, int flags) override;
    int LayerPendingCount() override { return m_socksCarryCnt; }
    virtual void TriggerSocksConnected(int error);
    virtual void TriggerSocksError(int error, const QString &msg);
    virtual void TriggerSocksAuthState(TSocksAuthState state);
    virtual void SocksDoConnect();
    virtual void SocksDoAuthenticate();
    virtual void SocksError(int error, const QString &msg);
    // Receives of the socket itself, under the SOCKS layer's own bytes.
    int kernelRecv(void *buffer, int size, int flags)
    {
        return TCustomWSocket::DoRecv(buffer, size, flags);
    }
    SocksState socksState() const { return m_socksState; }

    SocksState m_socksState = socksData;

private:
    // Reads what the server sent into the reply buffer, up to limit bytes in
    // all.
    void readReply(int limit);
    bool levelFour() const { return m_socksLevel.startsWith(QLatin1Char('4')); }
    bool alive() const;
    // The connection of that generation is still open: an owner may close it,
    // or open the next one, from any of its handlers.
    bool stillOpen(std::uint32_t generation) const;
    // The exchange failed with error: the descriptor is closed at once, so
    // that no handler finds the socket connected and nothing the owner
    // sends reaches the server; the owner's close is then owed.
    void endExchange(int error);
    // The owner hears of the failure (OnSocksError, OnSessionConnected),
    // then of the close, unless a handler closed the socket or opened the
    // next connection, which delivers the close first.
    void reportFailure(int error, const QString &msg);
    // The failed connection of that generation still owes its close.
    bool closeOwed(std::uint32_t generation) const
    {
        return m_socksFailure != 0 && m_generation == generation;
    }
    // Delivers the close a failed connection owes (OnSessionClosed with the
    // failure's number); the defaults come back unless the owner is opening
    // the next connection with what it set.
    void deliverOwedClose(bool keepSettings);
    bool sendRequest(const QByteArray &request);
    bool replyLevelFour();
    bool replyLevelFive();
    // The destination answered: the owner is told, then offered what came
    // with the reply.
    bool connectedThrough();
    // The next connection goes to the SOCKS server or not: an address and
    // port resolved for the other way are resolved again.
    void resolveFor(bool throughSocks);

    QString m_socksServer;
    QString m_socksLevel = QStringLiteral("5");
    QString m_socksPortStr;
    bool m_socksPortAssigned = false;
    bool m_socksServerAssigned = false;
    // The resolved address and port are the SOCKS server's, not Addr's and
    // Port's.
    bool m_resolvedForSocks = false;
    QString m_socksUsercode;
    QString m_socksPassword;
    TSocksAuthentication m_socksAuthentication = socksNoAuthentication;
    std::uint8_t m_socksAuthNumber = 0;
    std::uint16_t m_socksDestPort = 0;
    QString m_boundAddr;
    QString m_boundPort;
    // The longest reply is 262 bytes; what follows a level-5 reply in the
    // same read belongs to the owner (carried over).
    unsigned char m_socksRcvdBuf[512] = {};
    int m_socksRcvdCnt = 0;
    int m_socksCarryCnt = 0;
    int m_socksCarryPos = 0;
    // The number of a failure whose close the owner has not heard yet.
    int m_socksFailure = 0;
};

// Line mode: received bytes are kept in a buffer of the socket's own and
// offered to OnDataAvailable one line (ended by LineEnd) at a time, so that a
// handler's Receive returns exactly that line. Optional echo and editing
// (backspace, tab stops) for terminal-like peers, and a length limit for an
// unfinished line.
class TCustomLineWSocket : public TCustomSocksWSocket
{
public:
    TCustomLineWSocket() = default;

    // Queues text + LineEnd; returns their length (0 for empty text).
    int SendLine(const QByteArray &text);

    bool LineMode() const { return m_lineMode; }
    void SetLineMode(bool value);
    QByteArray LineEnd() const { return m_lineEnd; }
    void SetLineEnd(const QByteArray &value);
    int LineLimit() const { return m_lineLimit; }
    void SetLineLimit(int value) { m_lineLimit = value; }
    bool LineEcho() const { return m_lineEcho; }
    void SetLineEcho(bool value) { m_lineEcho = value; }
    bool LineEdit() const { return m_lineEdit; }
    void SetLineEdit(bool value) { m_lineEdit = value; }
    // Set when a line was found and at every close.
    bool LineReceived() const { return m_lineReceivedFlag; }
    // Bytes received and not yet taken by the owner.
    int LineBufferedCount() const { return m_rcvdCnt; }

    TLineLimitEvent OnLineLimitExceeded;

protected:
    void WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    int GetRcvdCount() override;
    int DoRecv(void *buffer, int size, int flags) override;
    bool TriggerDataAvailable(int error) override;
    void TriggerSessionClosed(int error) override;
    virtual void TriggerLineLimitExceeded(int count, bool &clearData);
    // Applies backspace and tab editing to the len new bytes at the end of
    // the buffer; len becomes their edited length.
    virtual void EditLine(int &len);

private:
    char *bufferStart() { return m_rcvdBuf.data() + m_rcvdStart; }
    void reserveTail(int bytes);
    void takeFront(int count);
    void freeBuffer();
    // First LineEnd from m_scanFrom on, relative to the buffered bytes; -1
    // when none.
    int findLineEnd();
    // Drops the rest of a cleared line up to and including its end; true
    // once that end has been found.
    bool skipCutLine();
    // Length of the longest start of LineEnd that ends the buffered bytes
    // (shorter than LineEnd).
    int endStartAtTail();
    // Offers the complete lines (and, once line mode is off, the raw rest);
    // false when a pass left everything untaken.
    bool deliver();
    // Fires the layer below once; -1 without a handler, else the bytes the
    // owner took from the line buffer.
    long long offerOnce();
    void triggerHeldData();

    std::vector<char> m_rcvdBuf;
    // The buffered bytes start here: taking a line only moves it.
    int m_rcvdStart = 0;
    int m_rcvdCnt = 0;
    QByteArray m_lineEnd = QByteArrayLiteral("\r\n");
    bool m_lineMode = false;
    int m_lineLength = 0;
    int m_lineLimit = 65536;
    bool m_lineReceivedFlag = false;
    bool m_lineFound = false;
    // A line was cleared at the limit: its rest, up to and including its
    // end, is dropped as it arrives.
    bool m_skipCutLine = false;
    bool m_lineEcho = false;
    bool m_lineEdit = false;
    // No LineEnd starts before this offset of the buffered bytes.
    int m_scanFrom = 0;
    bool m_closingLines = false;
    // Bytes taken from the line buffer so far: a pass that does not move it
    // made no progress.
    long long m_lineTaken = 0;
};

// Waits that run the socket's loop until a flag is set.
class TCustomSyncWSocket : public TCustomLineWSocket
{
public:
    TCustomSyncWSocket() = default;

    // 0 once done is true; 12001 after the wait time-out or when the loop
    // was asked to quit.
    int WaitUntilReady(bool &done);
    // Clears done, runs proc (when given), then waits for done.
    int Synchronize(const std::function<void()> &proc, bool &done);
    // Milliseconds; 0 waits without limit.
    int WaitTimeout() const { return m_waitTimeout; }
    void SetWaitTimeout(int ms) { m_waitTimeout = ms; }

private:
    int m_waitTimeout = 0;
};

// The component the HTTP client owns as its connection.
class TWSocket : public TCustomSyncWSocket
{
public:
    TWSocket();
    ~TWSocket() override;
};

} // namespace net
