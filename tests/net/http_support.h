#pragma once
// Peers and recorders of the HTTP client tests. ScriptedServer is a loopback
// listener on a thread of its own that plays one script per accepted
// connection (read a request, send pieces with pauses, close, reset) and
// keeps the exact bytes of every request. ProcessPeer starts a real server
// (python's http.server, nginx, SOCKS servers) on a free loopback port. Nothing here talks
// outside 127.0.0.0/8.
#include "net/http/httpprot.h"
#include "tests/net/net_support.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace nettest
{

struct ServerStep {
    enum Kind {
        ReadRequest,
        Send,
        Delay,
        Close,
        Reset,
        Hold,
        WaitRead,
        Delivered,
        ReadBytes,
        AwaitRelease
    };
    Kind kind;
    QByteArray data;
    int ms = 0;
    int count = 0;
};

// Step builders.
ServerStep readRequest();
ServerStep sendBytes(const QByteArray &data);
ServerStep pause(int ms);
ServerStep closeConnection();
ServerStep resetConnection();
// Keeps the connection open, silent, until the client closes it or the
// server stops.
ServerStep hold();
// Waits until the client's next byte has arrived (or it closed), without
// reading it: the pacing of piece-by-piece replies.
ServerStep waitRead(int ms);
// Waits until the client's side has taken every byte sent so far (they wait
// in its socket, read or not), then counts one delivery.
ServerStep confirmDelivery();
// Reads exactly count bytes, recorded as one request (binary exchanges such
// as a SOCKS negotiation).
ServerStep readBytes(int count);
// Waits until the test calls release() (the steps that follow happen at a
// moment the test chooses, not after a pause).
ServerStep awaitRelease();
// A reply cut into pieces of the given size, each after a pause.
std::vector<ServerStep> sendPieces(const QByteArray &data, int pieceSize, int pauseMs);
// Reads one request and sends the reply, then closes (or holds) the connection.
std::vector<ServerStep> answerOnce(const QByteArray &reply, bool keepOpen = false);
// A 200 answer of the given version carrying the body with its length.
QByteArray okWith(const QByteArray &body, const QByteArray &version = "1.1");

class ScriptedServer
{
public:
    // Binds a loopback address (127.0.0.1, 127.0.0.2 ... are distinct hosts).
    explicit ScriptedServer(const QString &address = QStringLiteral("127.0.0.1"));
    // On 127.0.0.1, with the scripts of its first connections, in order.
    ScriptedServer(std::initializer_list<std::vector<ServerStep>> scripts);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    // The script of the next connection; connections beyond the scripts are
    // closed at once.
    void addConnection(std::vector<ServerStep> steps);
    int port() const { return m_port; }
    QString address() const { return m_address; }
    QString hostPort() const { return m_address + QLatin1Char(':') + QString::number(m_port); }
    QString url(const QString &path) const { return QStringLiteral("http://") + hostPort() + path; }
    // Every request read so far, in order, header and body as received.
    QList<QByteArray> requests() const;
    int connections() const { return m_accepted; }
    // Delivery confirmations reached by the scripts.
    int deliveries() const { return m_delivered; }
    // Stops accepting and ends the scripts (holding ones end at once).
    void stop();
    // Lets one script waiting at awaitRelease() go on.
    void release() { ++m_released; }

private:
    void run();
    void play(int fd, const std::vector<ServerStep> &steps);
    bool readOneRequest(int fd, QByteArray &pending);
    bool readExactly(int fd, QByteArray &pending, int count);
    bool readMore(int fd, QByteArray &pending);

    QString m_address;
    int m_listenFd = -1;
    int m_port = 0;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
    std::atomic<int> m_delivered{0};
    std::atomic<int> m_released{0};
    mutable std::mutex m_mutex;
    std::vector<std::vector<ServerStep>> m_scripts;
    size_t m_nextScript = 0;
    QList<QByteArray> m_requests;
};

// A real server started as a process on a free loopback port; stopped by its
// pid when destroyed.
class ProcessPeer
{
public:
    // microsocks (SOCKS 5 with user name and password); false when missing.
    bool startMicrosocks(const QString &user, const QString &password);
    // dante (SOCKS 4 and 5, no authentication, loopback destinations only);
    // false when missing.
    bool startDante();
    // python3 -m http.server serving the folder; false when python is missing.
    bool startPython(const QString &folder);
    // nginx serving the folder; false when nginx is missing.
    bool startNginx(const QString &folder);
    // tinyproxy on 127.0.0.1 requiring Basic credentials from its clients
    // and forwarding to 127.0.0.1 only; false when tinyproxy is missing.
    bool startTinyproxy(const QString &user, const QString &password);
    ~ProcessPeer();
    int port() const { return m_port; }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:") + QString::number(m_port) + path;
    }

private:
    bool waitListening();
    // Starts the program, its output thrown away; true once it listens.
    bool launch(const QString &program, const QStringList &arguments);
    // Up to three starts, each on a new free port.
    bool retry(const std::function<bool()> &start);
    bool startNginxOnce(const QString &nginx, const QString &folder);
    bool startTinyproxyOnce(const QString &tinyproxy, const QString &user, const QString &password);
    void stopProcess();
    bool startDanteOnce(const QString &danted);
    QProcess m_process;
    QTemporaryDir m_work;
    int m_port = 0;
};

using Errors = std::vector<std::uint16_t>;

// What a client told its owner.
struct HttpRecorder {
    explicit HttpRecorder(net::THttpCli &client);
    struct Done {
        net::THttpRequest rq;
        std::uint16_t error;
        int status;
    };
    std::vector<Done> done;
    QByteArray body;
    int docBegin = 0;
    int docEnd = 0;
    int sendEnd = 0;
    int headerBegin = 0;
    int headerEnd = 0;
    int lookups = 0;
    int locationChanges = 0;
    QStringList cookies;
    QStringList states;
    // The error of each completion so far.
    Errors errors() const;
};

// Pumps until the client reported count completions (false after 20 s).
bool waitDone(net::EventLoop &loop, const HttpRecorder &recorder, size_t count = 1,
              int limitMs = 20000);
// Points the client at the URL, starts a GET and waits for the count-th completion.
bool getDone(net::EventLoop &loop, net::THttpCli &client, const HttpRecorder &recorder,
             const QString &url, size_t count = 1);
// Hands the bytes to a client in simulation.
void feed(net::THttpCli &client, const QByteArray &bytes);

// Free loopback port of a fresh listener, closed again.
int freePort();
// The body curl makes of a reply (the reference decoder), or an empty
// optional when curl is missing.
bool curlBody(const QString &url, QByteArray &body);

// The response split invariance harness: the client in simulation, fed the
// reply in the given pieces, each once the client read the one before.
struct SimulatedRun {
    QByteArray body;
    int status = 0;
    QStringList header;
    std::vector<HttpRecorder::Done> done;
    int docEnd = 0;
    QByteArray sent;
};
SimulatedRun simulate(net::EventLoop &loop, net::THttpRequest rq, const QString &url,
                      const QList<QByteArray> &pieces, bool closeAtEnd,
                      const QString &version = QStringLiteral("1.0"));

} // namespace nettest
