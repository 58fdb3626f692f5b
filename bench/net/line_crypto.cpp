// Throughput of the line mode and of the NTLM primitives, in a Release build:
//   bench_line_crypto            full counts
//   bench_line_crypto --small    small counts, so that CI keeps it working
// Each section prints its own figures.
#include "net/crypto/des.h"
#include "net/crypto/md4.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

// ---------------------------------------------------------------------------
// Line mode (socket chain): added with the line-mode layer.

} // namespace

int main(int argc, char **argv)
{
    const bool small = argc > 1 && std::strcmp(argv[1], "--small") == 0;
    runCrypto(small);
    return 0;
}
