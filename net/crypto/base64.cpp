#include "net/crypto/base64.h"

#include <array>
#include <cstdint>

namespace net
{

namespace
{

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::array<std::uint8_t, 256> makeDecodeTable()
{
    std::array<std::uint8_t, 256> table{}; // outside the alphabet: 0
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = std::uint8_t(i);
    return table;
}

} // namespace

QByteArray Base64Encode(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype len = bytes.size();
    QByteArray out((len + 2) / 3 * 4, Qt::Uninitialized);
    char *o = out.data();
    qsizetype i = 0;
    for (; i + 3 <= len; i += 3) {
        std::uint32_t v = std::uint32_t(in[i]) << 16 | std::uint32_t(in[i + 1]) << 8 | in[i + 2];
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = kAlphabet[v & 63];
    }
    if (i < len) {
        std::uint32_t v = std::uint32_t(in[i]) << 16;
        if (i + 1 < len)
            v |= std::uint32_t(in[i + 1]) << 8;
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = i + 1 < len ? kAlphabet[(v >> 6) & 63] : '=';
        *o++ = '=';
    }
    return out;
}

QByteArray Base64Decode(QByteArrayView text)
{
    static const std::array<std::uint8_t, 256> table = makeDecodeTable();
    QByteArray out;
    out.reserve(text.size() / 4 * 3 + 2);
    char group[4];
    int fill = 0;
    // Bytes a group of n characters yields, "=" aside.
    auto flush = [&out](const char *g, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
            v = v << 6 | (k < n ? table[static_cast<unsigned char>(g[k])] : 0);
        out.append(char(v >> 16));
        if (n > 2 && g[2] != '=')
            out.append(char(v >> 8));
        if (n > 3 && g[3] != '=')
            out.append(char(v));
    };
    for (char c : text) {
        if (c == '\r' || c == '\n')
            continue;
        group[fill++] = c;
        if (fill == 4) {
            flush(group, 4);
            fill = 0;
        }
    }
    if (fill >= 2)
        flush(group, fill);
    return out;
}

} // namespace net
