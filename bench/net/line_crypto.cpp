// Throughput of the line mode and of the NTLM primitives, in a Release build:
//   bench_line_crypto            full counts
//   bench_line_crypto --small    small counts, so that CI keeps it working
// Each section prints its own figures.
#include "net/crypto/des.h"
#include "net/crypto/md4.h"
#include "net/loop/eventloop.h"
#include "net/socket/wsocket.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---------------------------------------------------------------------------
// Line mode (socket chain): 100-byte lines (98 characters and CR LF) from a
// loopback peer, delivered one per OnDataAvailable and taken with
// ReceiveStr; then lines held while the handler takes nothing, delivered at
// once when line mode is switched.

// A loopback peer that sends the given bytes in 64 KiB writes, then keeps
// the connection until the client closes it.
class LinePeer
{
public:
    explicit LinePeer(std::vector<char> data) : m_data(std::move(data))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
        ::listen(m_listener, 1);
        socklen_t len = sizeof addr;
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] {
            int fd = ::accept(m_listener, nullptr, nullptr);
            if (fd < 0)
                return;
            for (std::size_t off = 0; off < m_data.size();) {
                std::size_t piece = std::min<std::size_t>(65536, m_data.size() - off);
                ssize_t n = ::send(fd, m_data.data() + off, piece, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                off += static_cast<std::size_t>(n);
            }
            char c;
            while (::recv(fd, &c, 1, 0) > 0) {
            }
            ::close(fd);
        });
    }
    ~LinePeer()
    {
        m_thread.join();
        ::close(m_listener);
    }
    int port() const { return m_port; }

private:
    std::vector<char> m_data;
    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
};

std::vector<char> hundredByteLines(int count)
{
    std::vector<char> data(static_cast<std::size_t>(count) * 100);
    for (int i = 0; i < count; ++i) {
        char *line = data.data() + static_cast<std::size_t>(i) * 100;
        std::memset(line, 'a' + i % 26, 98);
        line[98] = '\r';
        line[99] = '\n';
    }
    return data;
}

void connectLines(net::EventLoop &loop, net::TWSocket &socket, int port)
{
    socket.SetLineMode(true);
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QString::number(port));
    socket.Connect();
    while (socket.State() != net::wsConnected)
        loop.waitAndProcess(50);
}

void benchLines(net::EventLoop::Backend backend, int count)
{
    net::LoopScope scope(backend);
    LinePeer peer(hundredByteLines(count));
    net::TWSocket socket;
    int lines = 0;
    socket.OnDataAvailable = [&](net::TCustomWSocket *s, std::uint16_t) {
        if (s->ReceiveStr().size() == 100)
            ++lines;
    };
    auto start = std::chrono::steady_clock::now();
    connectLines(scope.loop(), socket, peer.port());
    while (lines < count)
        scope.loop().waitAndProcess(50);
    double seconds = secondsSince(start);
    socket.Close();
    std::printf("line mode, %-4s loop: %d lines of 100 bytes in %.3f s = %.0f lines/s\n",
                backend == net::EventLoop::Backend::Qt ? "Qt" : "poll", count, seconds,
                count / seconds);
}

void benchHeldLines(net::EventLoop::Backend backend, int megabytes)
{
    net::LoopScope scope(backend);
    const int count = megabytes * 1024 * 1024 / 100;
    LinePeer peer(hundredByteLines(count));
    net::TWSocket socket;
    int offered = 0;
    // First a handler that takes nothing: everything stays in the line
    // buffer.
    socket.OnDataAvailable = [&](net::TCustomWSocket *, std::uint16_t) { ++offered; };
    connectLines(scope.loop(), socket, peer.port());
    while (socket.LineBufferedCount() < count * 100)
        scope.loop().waitAndProcess(50);
    int lines = 0;
    socket.OnDataAvailable = [&](net::TCustomWSocket *s, std::uint16_t) {
        if (s->ReceiveStr().size() == 100)
            ++lines;
    };
    auto start = std::chrono::steady_clock::now();
    socket.SetLineMode(false);
    socket.SetLineMode(true);
    while (lines < count)
        scope.loop().waitAndProcess(50);
    double seconds = secondsSince(start);
    socket.Close();
    std::printf("line mode, %-4s loop: %d MiB of held lines (%d) delivered in %.3f s "
                "(%d offers while held)\n",
                backend == net::EventLoop::Backend::Qt ? "Qt" : "poll", megabytes, count, seconds,
                offered);
}

void runLineMode(bool small)
{
    int argc = 1;
    char name[] = "bench_line_crypto";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    for (auto backend : {net::EventLoop::Backend::Qt, net::EventLoop::Backend::Poll}) {
        benchLines(backend, small ? 20000 : 2000000);
        benchHeldLines(backend, small ? 1 : 16);
    }
}

// ---------------------------------------------------------------------------
// Crypto: MD4 over one large buffer fed in 64 KiB pieces, and DES on single
// blocks each with its own key, as the NTLM responses use it (the key
// schedule is part of every block).

void benchMd4(int megabytes)
{
    std::vector<std::uint8_t> piece(64 * 1024);
    for (std::size_t i = 0; i < piece.size(); ++i)
        piece[i] = std::uint8_t(i * 131 + 7);
    const int pieces = megabytes * 16;
    net::TMD4Context context;
    auto start = std::chrono::steady_clock::now();
    context.Init();
    for (int i = 0; i < pieces; ++i)
        context.Update(piece.data(), piece.size());
    net::TMD4Digest digest = context.Final();
    double seconds = secondsSince(start);
    std::printf("md4: %d MiB in %.3f s = %.1f MB/s (digest byte %02x)\n", megabytes, seconds,
                megabytes * 1.048576 / seconds, digest[0]);
}

void benchDes(int blocks)
{
    net::TDesBlock key{}, block{};
    std::uint8_t fold = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < blocks; ++i) {
        // A new key and block each time, from the previous output.
        key[std::size_t(i & 7)] ^= std::uint8_t(i);
        block = net::DesEncrypt(key, block);
        fold ^= block[0];
    }
    double encSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < blocks; ++i) {
        key[std::size_t(i & 7)] ^= std::uint8_t(i);
        block = net::DesDecrypt(key, block);
        fold ^= block[0];
    }
    double decSeconds = secondsSince(start);
    std::printf("des: %d blocks, encryption %.0f blocks/s, decryption %.0f blocks/s (fold %02x)\n",
                blocks, blocks / encSeconds, blocks / decSeconds, fold);
}

void runCrypto(bool small)
{
    benchMd4(small ? 4 : 512);
    benchDes(small ? 10000 : 2000000);
}

} // namespace

int main(int argc, char **argv)
{
    const bool small = argc > 1 && std::strcmp(argv[1], "--small") == 0;
    runCrypto(small);
    runLineMode(small);
    return 0;
}
