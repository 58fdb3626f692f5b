#include "tests/net/http_support.h"
#include "tests/support/core/loopback.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nettest
{

ServerStep readRequest()
{
    return {ServerStep::ReadRequest, {}, 0};
}

ServerStep sendBytes(const QByteArray &data)
{
    return {ServerStep::Send, data, 0};
}

ServerStep pause(int ms)
{
    return {ServerStep::Delay, {}, ms};
}

ServerStep closeConnection()
{
    return {ServerStep::Close, {}, 0};
}

ServerStep resetConnection()
{
    return {ServerStep::Reset, {}, 0};
}

ServerStep hold()
{
    return {ServerStep::Hold, {}, 0};
}

ServerStep waitRead(int ms)
{
    return {ServerStep::WaitRead, {}, ms};
}

ServerStep confirmDelivery()
{
    return {ServerStep::Delivered, {}, 0};
}

ServerStep awaitRelease()
{
    return {ServerStep::AwaitRelease, {}, 0};
}

ServerStep readBytes(int count)
{
    ServerStep step{ServerStep::ReadBytes, {}, 0};
    step.count = count;
    return step;
}

std::vector<ServerStep> sendPieces(const QByteArray &data, int pieceSize, int pauseMs)
{
    std::vector<ServerStep> steps;
    for (qsizetype i = 0; i < data.size(); i += pieceSize) {
        if (i > 0 && pauseMs > 0)
            steps.push_back(pause(pauseMs));
        steps.push_back(sendBytes(data.mid(i, pieceSize)));
    }
    return steps;
}

std::vector<ServerStep> answerOnce(const QByteArray &reply, bool keepOpen)
{
    return {readRequest(), sendBytes(reply), keepOpen ? hold() : closeConnection()};
}

QByteArray okWith(const QByteArray &body, const QByteArray &version)
{
    return "HTTP/" + version + " 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

ScriptedServer::ScriptedServer(const QString &address) : m_address(address)
{
    m_listenFd = vorn_test::listenOnLoopback(16, m_port, address);
    if (::pipe2(m_wakePipe, O_CLOEXEC) != 0)
        m_wakePipe[0] = m_wakePipe[1] = -1;
    m_thread = std::thread([this] { run(); });
}

ScriptedServer::ScriptedServer(std::initializer_list<std::vector<ServerStep>> scripts)
    : ScriptedServer()
{
    for (const std::vector<ServerStep> &steps : scripts)
        addConnection(steps);
}

ScriptedServer::~ScriptedServer()
{
    stop();
    ::close(m_listenFd);
    ::close(m_wakePipe[0]);
    ::close(m_wakePipe[1]);
}

void ScriptedServer::stop()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    char c = 0;
    [[maybe_unused]] ssize_t n = ::write(m_wakePipe[1], &c, 1);
    m_thread.join();
}

void ScriptedServer::addConnection(std::vector<ServerStep> steps)
{
    std::lock_guard lock(m_mutex);
    m_scripts.push_back(std::move(steps));
}

QList<QByteArray> ScriptedServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void ScriptedServer::run()
{
    while (!m_stop) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(fds, 2, 200) <= 0 || m_stop)
            continue;
        if (!(fds[0].revents & POLLIN))
            continue;
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++m_accepted;
        std::vector<ServerStep> steps;
        {
            std::lock_guard lock(m_mutex);
            if (m_nextScript < m_scripts.size())
                steps = m_scripts[m_nextScript++];
        }
        play(fd, steps);
    }
}

namespace
{

// Waits for the fd or the wake pipe; false when stopping.
bool waitReadable(int fd, int wakeFd, int ms, const std::atomic<bool> &stop)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stop) {
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        end - std::chrono::steady_clock::now())
                                        .count());
        if (ms >= 0 && left <= 0)
            return false;
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        int r = ::poll(fds, 2, ms < 0 ? 200 : std::min(left, 200));
        if (r > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)))
            return true;
        if (r > 0 && (fds[1].revents & POLLIN))
            return false;
    }
    return false;
}

} // namespace

bool ScriptedServer::readMore(int fd, QByteArray &pending)
{
    char buffer[65536];
    if (!waitReadable(fd, m_wakePipe[0], 20000, m_stop))
        return false;
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    pending.append(buffer, static_cast<int>(n));
    return true;
}

bool ScriptedServer::readExactly(int fd, QByteArray &pending, int count)
{
    while (pending.size() < count)
        if (!readMore(fd, pending))
            return false;
    {
        std::lock_guard lock(m_mutex);
        m_requests << pending.left(count);
    }
    pending.remove(0, count);
    return true;
}

bool ScriptedServer::readOneRequest(int fd, QByteArray &pending)
{
    auto readMore = [&]() { return this->readMore(fd, pending); };
    qsizetype end;
    while ((end = pending.indexOf("\r\n\r\n")) < 0)
        if (!readMore())
            return false;
    qsizetype headerLen = end + 4;
    qint64 bodyLen = 0;
    const QList<QByteArray> lines = pending.left(headerLen).split('\n');
    for (const QByteArray &line : lines)
        if (line.toLower().startsWith("content-length:"))
            bodyLen = line.mid(15).trimmed().toLongLong();
    while (pending.size() < headerLen + bodyLen)
        if (!readMore())
            break;
    qsizetype take = std::min<qsizetype>(pending.size(), headerLen + bodyLen);
    {
        std::lock_guard lock(m_mutex);
        m_requests << pending.left(take);
    }
    pending.remove(0, take);
    return true;
}

void ScriptedServer::play(int fd, const std::vector<ServerStep> &steps)
{
    QByteArray pending;
    bool open = true;
    for (const ServerStep &step : steps) {
        if (m_stop || !open)
            break;
        switch (step.kind) {
        case ServerStep::ReadRequest:
            if (!readOneRequest(fd, pending))
                open = false;
            break;
        case ServerStep::Send:
            if (!sendAll(fd, step.data.constData(), static_cast<size_t>(step.data.size())))
                open = false;
            break;
        case ServerStep::Delay:
            waitReadable(m_wakePipe[0], m_wakePipe[0], step.ms, m_stop);
            break;
        case ServerStep::Close:
            open = false;
            break;
        case ServerStep::Reset: {
            linger value{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &value, sizeof value);
            open = false;
            break;
        }
        case ServerStep::Hold: {
            char c;
            while (waitReadable(fd, m_wakePipe[0], -1, m_stop))
                if (::recv(fd, &c, 1, 0) <= 0)
                    break;
            open = false;
            break;
        }
        case ServerStep::WaitRead:
            waitReadable(fd, m_wakePipe[0], step.ms, m_stop);
            break;
        case ServerStep::Delivered:
            // Nothing left unacknowledged: the bytes are in the client's
            // receive queue. Counted even when the limit passes, so that a
            // waiting test goes on and fails on what it checks.
            for (int i = 0; i < 20000 && !m_stop; ++i) {
                int unacknowledged = 0;
                if (::ioctl(fd, SIOCOUTQ, &unacknowledged) != 0 || unacknowledged == 0)
                    break;
                waitReadable(m_wakePipe[0], m_wakePipe[0], 1, m_stop);
            }
            ++m_delivered;
            break;
        case ServerStep::ReadBytes:
            if (!readExactly(fd, pending, step.count))
                open = false;
            break;
        case ServerStep::AwaitRelease:
            while (!m_stop && m_released.load() == 0)
                waitReadable(m_wakePipe[0], m_wakePipe[0], 1, m_stop);
            --m_released;
            break;
        }
    }
    ::close(fd);
}

// ---------------------------------------------------------------------------

int freePort()
{
    return closedPort();
}

bool ProcessPeer::waitListening()
{
    // Up to 30 s: a loaded machine may be slow to start an interpreter.
    for (int i = 0; i < 600; ++i) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<uint16_t>(m_port));
        bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
        ::close(fd);
        if (ok)
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool ProcessPeer::startPython(const QString &folder)
{
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return false;
    return retry([&] {
        m_port = freePort();
        return launch(python, {QStringLiteral("-m"), QStringLiteral("http.server"),
                               QString::number(m_port), QStringLiteral("--bind"),
                               QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), folder});
    });
}

bool ProcessPeer::launch(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start();
    return m_process.waitForStarted(5000) && waitListening();
}

bool ProcessPeer::retry(const std::function<bool()> &start)
{
    // The free port may be taken by someone else before the server binds
    // it: then another one is tried.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (start())
            return true;
        stopProcess();
    }
    return false;
}

void ProcessPeer::stopProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

bool ProcessPeer::startNginx(const QString &folder)
{
    QString nginx = QStandardPaths::findExecutable(
        QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (nginx.isEmpty() || !m_work.isValid())
        return false;
    return retry([&] { return startNginxOnce(nginx, folder); });
}

bool ProcessPeer::startNginxOnce(const QString &nginx, const QString &folder)
{
    m_port = freePort();
    const QString dir = m_work.path();
    QFile conf(dir + QStringLiteral("/nginx.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    conf.write(QStringLiteral("daemon off;\n"
                              "master_process off;\n"
                              "worker_processes 1;\n"
                              "pid %1/nginx.pid;\n"
                              "error_log %1/error.log;\n"
                              "events { worker_connections 256; }\n"
                              "http {\n"
                              "  access_log off;\n"
                              "  client_body_temp_path %1/body;\n"
                              "  proxy_temp_path %1/proxy;\n"
                              "  fastcgi_temp_path %1/fastcgi;\n"
                              "  uwsgi_temp_path %1/uwsgi;\n"
                              "  scgi_temp_path %1/scgi;\n"
                              "  keepalive_requests 100000;\n"
                              "  server {\n"
                              "    listen 127.0.0.1:%2;\n"
                              "    root %3;\n"
                              "  }\n"
                              "}\n")
                   .arg(dir)
                   .arg(m_port)
                   .arg(folder)
                   .toUtf8());
    conf.close();
    return launch(nginx, {QStringLiteral("-p"), dir, QStringLiteral("-c"),
                          dir + QStringLiteral("/nginx.conf")});
}

bool ProcessPeer::startTinyproxy(const QString &user, const QString &password)
{
    QString tinyproxy = QStandardPaths::findExecutable(
        QStringLiteral("tinyproxy"), {QStringLiteral("/usr/bin"), QStringLiteral("/usr/sbin")});
    if (tinyproxy.isEmpty() || !m_work.isValid())
        return false;
    return retry([&] { return startTinyproxyOnce(tinyproxy, user, password); });
}

bool ProcessPeer::startTinyproxyOnce(const QString &tinyproxy, const QString &user,
                                     const QString &password)
{
    m_port = freePort();
    const QString dir = m_work.path();
    QFile filter(dir + QStringLiteral("/filter"));
    QFile conf(dir + QStringLiteral("/tinyproxy.conf"));
    if (!filter.open(QIODevice::WriteOnly) || !conf.open(QIODevice::WriteOnly))
        return false;
    // Only loopback destinations: the proxy never reaches outside.
    filter.write("^127\\.0\\.0\\.1$\n");
    filter.close();
    conf.write(QStringLiteral("Port %1\n"
                              "Listen 127.0.0.1\n"
                              "Allow 127.0.0.1\n"
                              "Timeout 30\n"
                              "MaxClients 20\n"
                              "LogFile \"%2/tinyproxy.log\"\n"
                              "LogLevel Info\n"
                              "PidFile \"%2/tinyproxy.pid\"\n"
                              "BasicAuth %3 %4\n"
                              "Filter \"%2/filter\"\n"
                              "FilterType ere\n"
                              "FilterDefaultDeny Yes\n"
                              "DisableViaHeader Yes\n")
                   .arg(m_port)
                   .arg(dir, user, password)
                   .toUtf8());
    conf.close();
    return launch(tinyproxy, {QStringLiteral("-d"), QStringLiteral("-c"),
                              dir + QStringLiteral("/tinyproxy.conf")});
}

ProcessPeer::~ProcessPeer()
{
    stopProcess();
}

bool ProcessPeer::startMicrosocks(const QString &user, const QString &password)
{
    QString microsocks = QStandardPaths::findExecutable(
        QStringLiteral("microsocks"), {QStringLiteral("/usr/bin"), QStringLiteral("/usr/sbin")});
    if (microsocks.isEmpty())
        return false;
    return retry([&] {
        m_port = freePort();
        return launch(microsocks, {QStringLiteral("-i"), QStringLiteral("127.0.0.1"),
                                   QStringLiteral("-p"), QString::number(m_port),
                                   QStringLiteral("-u"), user, QStringLiteral("-P"), password});
    });
}

bool ProcessPeer::startDante()
{
    QString danted = QStandardPaths::findExecutable(
        QStringLiteral("danted"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (danted.isEmpty() || !m_work.isValid())
        return false;
    return retry([&] { return startDanteOnce(danted); });
}

bool ProcessPeer::startDanteOnce(const QString &danted)
{
    m_port = freePort();
    const QString dir = m_work.path();
    QFile conf(dir + QStringLiteral("/danted.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    // Clients and destinations on loopback only: nothing can be relayed
    // outside the machine.
    conf.write(QStringLiteral("logoutput: %1/danted.log\n"
                              "internal: 127.0.0.1 port = %2\n"
                              "external: 127.0.0.1\n"
                              "clientmethod: none\n"
                              "socksmethod: none\n"
                              "%3"
                              "client pass {\n"
                              "  from: 127.0.0.0/8 to: 0.0.0.0/0\n"
                              "}\n"
                              "socks pass {\n"
                              "  from: 127.0.0.0/8 to: 127.0.0.0/8\n"
                              "  protocol: tcp\n"
                              "}\n")
                   .arg(dir)
                   .arg(m_port)
                   // Started by root, it must be told whom to run as.
                   .arg(::geteuid() == 0 ? QStringLiteral("user.privileged: root\n"
                                                          "user.unprivileged: nobody\n")
                                         : QString())
                   .toUtf8());
    conf.close();
    return launch(danted,
                  {QStringLiteral("-f"), dir + QStringLiteral("/danted.conf"), QStringLiteral("-N"),
                   QStringLiteral("1"), QStringLiteral("-p"), dir + QStringLiteral("/danted.pid")});
}

bool curlBody(const QString &url, QByteArray &body)
{
    QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty())
        return false;
    QProcess process;
    // --noproxy: the oracle talks to loopback only, whatever the environment.
    process.start(curl, {QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"),
                         QStringLiteral("--max-time"), QStringLiteral("20"), url});
    if (!process.waitForFinished(30000))
        return false;
    body = process.readAllStandardOutput();
    return true;
}

// ---------------------------------------------------------------------------

HttpRecorder::HttpRecorder(net::THttpCli &client)
{
    client.OnRequestDone = [this](net::THttpCli *sender, net::THttpRequest rq,
                                  std::uint16_t error) {
        done.push_back({rq, error, sender->StatusCode()});
    };
    client.OnDocData = [this](net::THttpCli *, const char *data, int len) {
        body.append(data, len);
    };
    client.OnDocBegin = [this](net::THttpCli *) { ++docBegin; };
    client.OnDocEnd = [this](net::THttpCli *) { ++docEnd; };
    client.OnSendEnd = [this](net::THttpCli *) { ++sendEnd; };
    client.OnHeaderBegin = [this](net::THttpCli *) { ++headerBegin; };
    client.OnHeaderEnd = [this](net::THttpCli *) { ++headerEnd; };
    client.OnLocationChange = [this](net::THttpCli *) { ++locationChanges; };
    client.OnCookie = [this](net::THttpCli *, const QString &data, bool &) { cookies << data; };
    client.OnStateChange = [this](net::THttpCli *sender) {
        states << net::HttpStateName(sender->State());
        if (sender->State() == net::httpDnsLookup)
            ++lookups;
    };
}

Errors HttpRecorder::errors() const
{
    Errors all;
    for (const Done &d : done)
        all.push_back(d.error);
    return all;
}

bool waitDone(net::EventLoop &loop, const HttpRecorder &recorder, size_t count, int limitMs)
{
    return pumpUntil(
        loop, [&] { return recorder.done.size() >= count; }, limitMs);
}

bool getDone(net::EventLoop &loop, net::THttpCli &client, const HttpRecorder &recorder,
             const QString &url, size_t count)
{
    client.SetURL(url);
    client.GetASync();
    return waitDone(loop, recorder, count);
}

void feed(net::THttpCli &client, const QByteArray &bytes)
{
    client.simulateData(bytes.constData(), static_cast<int>(bytes.size()));
}

SimulatedRun simulate(net::EventLoop &loop, net::THttpRequest rq, const QString &url,
                      const QList<QByteArray> &pieces, bool closeAtEnd, const QString &version)
{
    SimulatedRun run;
    net::THttpCli client;
    HttpRecorder recorder(client);
    client.SetURL(url);
    client.SetRequestVer(version);
    client.simulateResponse(rq);
    for (const QByteArray &piece : pieces) {
        for (int i = 0; i < 4; ++i)
            loop.processPending();
        feed(client, piece);
    }
    for (int i = 0; i < 4; ++i)
        loop.processPending();
    if (closeAtEnd)
        client.simulateClose();
    for (int i = 0; i < 8; ++i)
        loop.processPending();
    run.body = recorder.body;
    run.status = client.StatusCode();
    run.header = client.ReceivedHeader();
    run.done = recorder.done;
    run.docEnd = recorder.docEnd;
    run.sent = client.simulatedRequest();
    return run;
}

} // namespace nettest
