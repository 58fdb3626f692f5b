// Loopback throughput of TWSocket on both event-loop backends: one Send of a
// large block to an echo peer, timed until every byte came back. Prints
// megabytes per second and the CPU time of the socket's thread.
#include "net/loop/eventloop.h"
#include "net/socket/wsocket.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace
{

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void run(net::EventLoop::Backend backend, int megabytes)
{
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    ::listen(listener, 1);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&addr), &len);
    std::thread peer([listener] {
        int fd = ::accept(listener, nullptr, nullptr);
        char buffer[65536];
        for (;;) {
            ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            for (ssize_t off = 0; off < n;) {
                ssize_t w = ::send(fd, buffer + off, static_cast<size_t>(n - off), MSG_NOSIGNAL);
                if (w <= 0)
                    break;
                off += w;
            }
        }
        ::close(fd);
    });

    net::LoopScope scope(backend);
    net::TWSocket socket;
    std::int64_t received = 0;
    socket.OnDataAvailable = [&](net::TCustomWSocket *s, std::uint16_t) {
        char buffer[65536];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            received += n;
    };
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QString::number(ntohs(addr.sin_port)));
    socket.Connect();
    while (socket.State() != net::wsConnected)
        scope.loop().waitAndProcess(50);
    QByteArray payload(megabytes * 1024 * 1024, 'x');
    double cpu0 = cpuMs();
    auto t0 = std::chrono::steady_clock::now();
    socket.Send(payload);
    while (received < payload.size())
        scope.loop().waitAndProcess(50);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpu = cpuMs() - cpu0;
    socket.Close();
    peer.join();
    ::close(listener);
    std::printf("%-5s backend: %d MiB echoed in %.3f s = %.1f MiB/s, socket thread CPU %.0f ms\n",
                backend == net::EventLoop::Backend::Qt ? "Qt" : "poll", megabytes, seconds,
                megabytes / seconds, cpu);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int megabytes = argc > 1 ? std::atoi(argv[1]) : 64;
    run(net::EventLoop::Backend::Qt, megabytes);
    run(net::EventLoop::Backend::Poll, megabytes);
    return 0;
}
