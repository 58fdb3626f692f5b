// HTTP client throughput against a local nginx, beside libcurl doing the same
// work: (a) sequential HEAD requests of a 1 KiB file, HTTP/1.0, a new
// connection each; (b) sequential GETs of that file the same way; (c) one GET
// of a large file into a sink that keeps nothing. Prints requests per second,
// the CPU time this process spent per request (user + system, microseconds;
// nginx runs apart and is not counted), MiB per second and CPU per MiB of the
// large GET, and the ratios (client / libcurl).
//
// Usage: bench_http_bench [HEAD_COUNT=10000] [MEGABYTES=256]
#include "net/http/httpprot.h"
#include "net/loop/eventloop.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#ifdef VORN_HAVE_CURL
#include <curl/curl.h>
#endif

namespace
{

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of the whole process so far (every thread), in microseconds.
double cpuMicroseconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto us = [](const timeval &t) { return t.tv_sec * 1e6 + t.tv_usec; };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

struct Rate {
    double perSecond = 0;
    double cpuPerRequest = 0; // microseconds
};

// A large transfer: MiB per second and CPU microseconds per MiB.
struct Transfer {
    double mibPerSecond = 0;
    double cpuPerMib = 0;
};

Transfer transfer(std::int64_t bytes, double s, double cpu)
{
    const double mib = bytes / 1048576.0;
    return {mib / s, mib > 0 ? cpu / mib : 0};
}

int freePort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

bool listening(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

bool startNginx(QProcess &process, const QString &work, const QString &root, int port)
{
    QString nginx = QStandardPaths::findExecutable(
        QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (nginx.isEmpty())
        return false;
    QFile conf(work + QStringLiteral("/nginx.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    conf.write(QStringLiteral("daemon off; master_process off; worker_processes 1;\n"
                              "pid %1/nginx.pid; error_log %1/error.log;\n"
                              "events { worker_connections 1024; }\n"
                              "http { access_log off; client_body_temp_path %1/body;\n"
                              "  proxy_temp_path %1/proxy; fastcgi_temp_path %1/fastcgi;\n"
                              "  uwsgi_temp_path %1/uwsgi; scgi_temp_path %1/scgi;\n"
                              "  server { listen 127.0.0.1:%2; root %3; } }\n")
                   .arg(work)
                   .arg(port)
                   .arg(root)
                   .toUtf8());
    conf.close();
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(nginx, {QStringLiteral("-p"), work, QStringLiteral("-c"),
                          work + QStringLiteral("/nginx.conf")});
    if (!process.waitForStarted(5000))
        return false;
    for (int i = 0; i < 200; ++i) {
        if (listening(port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

// Sequential HEADs or GETs by the client, HTTP/1.0: the server closes each
// connection after its answer.
Rate clientRequests(const QString &url, int count, net::THttpRequest rq, std::int64_t bodySize)
{
    net::EventLoop *loop = net::EventLoop::current();
    net::THttpCli client;
    bool done = false;
    int failures = 0;
    std::int64_t bytes = 0;
    client.OnRequestDone = [&](net::THttpCli *c, net::THttpRequest, std::uint16_t error) {
        done = true;
        if (error != 0 || c->StatusCode() != 200)
            ++failures;
    };
    client.OnDocData = [&](net::THttpCli *, const char *, int len) { bytes += len; };
    client.SetURL(url);
    auto start = Clock::now();
    double cpuStart = cpuMicroseconds();
    for (int i = 0; i < count; ++i) {
        done = false;
        client.DoRequestAsync(rq);
        while (!done)
            loop->waitAndProcess(100);
    }
    double cpu = cpuMicroseconds() - cpuStart;
    double s = seconds(start);
    if (failures > 0)
        std::printf("  client: %d failed requests\n", failures);
    if (bytes != bodySize * count)
        std::printf("  client: %lld body bytes of %lld\n", static_cast<long long>(bytes),
                    static_cast<long long>(bodySize * count));
    return {count / s, cpu / count};
}

// One GET into a sink.
Transfer clientGet(const QString &url, std::int64_t expected)
{
    net::EventLoop *loop = net::EventLoop::current();
    net::THttpCli client;
    bool done = false;
    std::int64_t bytes = 0;
    client.OnRequestDone = [&](net::THttpCli *, net::THttpRequest, std::uint16_t) { done = true; };
    client.OnDocData = [&](net::THttpCli *, const char *, int len) { bytes += len; };
    // Header and body as they came from the connection, before it closes.
    std::int64_t wire = 0;
    client.OnDocEnd = [&](net::THttpCli *c) { wire = c->CtrlSocket().ReadCount(); };
    client.SetURL(url);
    auto start = Clock::now();
    double cpuStart = cpuMicroseconds();
    client.GetASync();
    while (!done)
        loop->waitAndProcess(100);
    double cpu = cpuMicroseconds() - cpuStart;
    double s = seconds(start);
    if (bytes != expected)
        std::printf("  client: %lld bytes of %lld\n", static_cast<long long>(bytes),
                    static_cast<long long>(expected));
    std::printf("  THttpCli: %lld bytes read from the connection\n", static_cast<long long>(wire));
    return transfer(bytes, s, cpu);
}

#ifdef VORN_HAVE_CURL
size_t discard(char *, size_t size, size_t count, void *user)
{
    *static_cast<std::int64_t *>(user) += static_cast<std::int64_t>(size * count);
    return size * count;
}

Rate curlRequests(const QString &url, int count, bool head)
{
    CURL *curl = curl_easy_init();
    QByteArray u = url.toLatin1();
    std::int64_t bytes = 0;
    curl_easy_setopt(curl, CURLOPT_URL, u.constData());
    if (head)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &bytes);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    int failures = 0;
    auto start = Clock::now();
    double cpuStart = cpuMicroseconds();
    for (int i = 0; i < count; ++i)
        if (curl_easy_perform(curl) != CURLE_OK)
            ++failures;
    double cpu = cpuMicroseconds() - cpuStart;
    double s = seconds(start);
    curl_easy_cleanup(curl);
    if (failures > 0)
        std::printf("  curl: %d failed requests\n", failures);
    return {count / s, cpu / count};
}

Transfer curlGet(const QString &url)
{
    CURL *curl = curl_easy_init();
    QByteArray u = url.toLatin1();
    std::int64_t bytes = 0;
    curl_easy_setopt(curl, CURLOPT_URL, u.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &bytes);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    auto start = Clock::now();
    double cpuStart = cpuMicroseconds();
    curl_easy_perform(curl);
    double cpu = cpuMicroseconds() - cpuStart;
    double s = seconds(start);
    curl_easy_cleanup(curl);
    return transfer(bytes, s, cpu);
}
#endif

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int heads = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int megabytes = argc > 2 ? std::atoi(argv[2]) : 256;
    QTemporaryDir work;
    QTemporaryDir root;
    if (!work.isValid() || !root.isValid())
        return 1;
    {
        QFile small(root.path() + QStringLiteral("/petit.html"));
        small.open(QIODevice::WriteOnly);
        small.write(QByteArray(1024, 'x'));
        QFile big(root.path() + QStringLiteral("/gros.bin"));
        big.open(QIODevice::WriteOnly);
        QByteArray block(1024 * 1024, 'y');
        for (int i = 0; i < megabytes; ++i)
            big.write(block);
    }
    const int port = freePort();
    QProcess nginx;
    if (!startNginx(nginx, work.path(), root.path(), port)) {
        std::printf("nginx could not be started\n");
        return 1;
    }
    const QString base = QStringLiteral("http://127.0.0.1:") + QString::number(port);
    net::LoopScope scope(net::EventLoop::Backend::Qt);

    const QString small = base + QStringLiteral("/petit.html");
    std::printf("HEAD x %d (1 KiB file, HTTP/1.0, new connection each)\n", heads);
    Rate clientHead = clientRequests(small, heads, net::httpHEAD, 0);
    std::printf("  THttpCli: %10.0f req/s %8.1f us CPU/req\n", clientHead.perSecond,
                clientHead.cpuPerRequest);
    std::printf("GET x %d (1 KiB file, HTTP/1.0, new connection each)\n", heads);
    Rate clientSmallGet = clientRequests(small, heads, net::httpGET, 1024);
    std::printf("  THttpCli: %10.0f req/s %8.1f us CPU/req\n", clientSmallGet.perSecond,
                clientSmallGet.cpuPerRequest);
    std::printf("GET of %d MiB into a null sink\n", megabytes);
    Transfer clientLarge =
        clientGet(base + QStringLiteral("/gros.bin"), std::int64_t(megabytes) * 1024 * 1024);
    std::printf("  THttpCli: %10.1f MiB/s %8.1f us CPU/MiB\n", clientLarge.mibPerSecond,
                clientLarge.cpuPerMib);
#ifdef VORN_HAVE_CURL
    curl_global_init(CURL_GLOBAL_DEFAULT);
    Rate curlHead = curlRequests(small, heads, true);
    Rate curlSmallGet = curlRequests(small, heads, false);
    Transfer curlLarge = curlGet(base + QStringLiteral("/gros.bin"));
    curl_global_cleanup();
    std::printf("  libcurl:  HEAD %10.0f req/s %8.1f us CPU/req\n", curlHead.perSecond,
                curlHead.cpuPerRequest);
    std::printf("  libcurl:  GET  %10.0f req/s %8.1f us CPU/req\n", curlSmallGet.perSecond,
                curlSmallGet.cpuPerRequest);
    std::printf("  libcurl:  %10.1f MiB/s %8.1f us CPU/MiB\n", curlLarge.mibPerSecond,
                curlLarge.cpuPerMib);
    std::printf("ratios (THttpCli / libcurl): HEAD %.2f (CPU %.2f), small GET %.2f (CPU %.2f), "
                "large GET %.2f (CPU %.2f)\n",
                clientHead.perSecond / curlHead.perSecond,
                clientHead.cpuPerRequest / curlHead.cpuPerRequest,
                clientSmallGet.perSecond / curlSmallGet.perSecond,
                clientSmallGet.cpuPerRequest / curlSmallGet.cpuPerRequest,
                clientLarge.mibPerSecond / curlLarge.mibPerSecond,
                clientLarge.cpuPerMib / curlLarge.cpuPerMib);
#else
    std::printf("libcurl was not found at build time: no reference figures\n");
#endif
    nginx.terminate();
    nginx.waitForFinished(3000);
    return 0;
}
