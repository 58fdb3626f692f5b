#include "net/crypto/md4.h"

#include "platform/text/codec.h"

#include <algorithm>
#include <cstring>

namespace net
{

namespace
{

inline std::uint32_t rotl(std::uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}
inline std::uint32_t fF(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (~x & z);
}
inline std::uint32_t fG(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (x & z) | (y & z);
}
inline std::uint32_t fH(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}

void notInitialized()
{
    throw MD4Exception(QStringLiteral("MD4 not initialized"));
}

} // namespace

void TMD4Context::Init()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_bitCount = 0;
    m_fill = 0;
    std::memset(m_buffer, 0, sizeof m_buffer);
    m_initialized = true;
}

void TMD4Context::transform(const std::uint8_t *block)
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = std::uint32_t(block[4 * i]) | std::uint32_t(block[4 * i + 1]) << 8 |
               std::uint32_t(block[4 * i + 2]) << 16 | std::uint32_t(block[4 * i + 3]) << 24;
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];

    // Round 1: words in order, shifts 3 7 11 19.
    static const int s1[4] = {3, 7, 11, 19};
    for (int i = 0; i < 16; ++i) {
        std::uint32_t t = rotl(a + fF(b, c, d) + x[i], s1[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    // Round 2: words by columns, shifts 3 5 9 13.
    static const int k2[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
    static const int s2[4] = {3, 5, 9, 13};
    for (int i = 0; i < 16; ++i) {
        std::uint32_t t = rotl(a + fG(b, c, d) + x[k2[i]] + 0x5a827999u, s2[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    // Round 3: words in bit-reversed order, shifts 3 9 11 15.
    static const int k3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    static const int s3[4] = {3, 9, 11, 15};
    for (int i = 0; i < 16; ++i) {
        std::uint32_t t = rotl(a + fH(b, c, d) + x[k3[i]] + 0x6ed9eba1u, s3[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void TMD4Context::Update(const void *data, std::size_t len)
{
    if (!m_initialized)
        notInitialized();
    const auto *in = static_cast<const std::uint8_t *>(data);
    m_bitCount += std::uint64_t(len) << 3;
    if (m_fill > 0) {
        std::size_t take = std::min(len, sizeof m_buffer - m_fill);
        std::memcpy(m_buffer + m_fill, in, take);
        m_fill += take;
        in += take;
        len -= take;
        if (m_fill < sizeof m_buffer)
            return;
        transform(m_buffer);
        m_fill = 0;
    }
    for (; len >= 64; in += 64, len -= 64)
        transform(in);
    if (len > 0) {
        std::memcpy(m_buffer, in, len);
        m_fill = len;
    }
}

void TMD4Context::UpdateText(const QString &text)
{
    Update(QByteArrayView(platform::toAnsi(text)));
}

TMD4Digest TMD4Context::Final()
{
    if (!m_initialized)
        notInitialized();
    std::uint8_t tail[8];
    for (int i = 0; i < 8; ++i)
        tail[i] = std::uint8_t(m_bitCount >> (8 * i));
    // 0x80, then zeros up to 56 bytes into a block, then the bit count.
    static const std::uint8_t padding[64] = {0x80};
    std::size_t padLen = m_fill < 56 ? 56 - m_fill : 120 - m_fill;
    Update(padding, padLen);
    Update(tail, sizeof tail);
    TMD4Digest digest;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            digest[std::size_t(4 * i + j)] = std::uint8_t(m_state[i] >> (8 * j));
    m_initialized = false;
    std::memset(m_state, 0, sizeof m_state);
    std::memset(m_buffer, 0, sizeof m_buffer);
    return digest;
}

TMD4Digest MD4Digest(QByteArrayView bytes)
{
    TMD4Context context;
    context.Init();
    context.Update(bytes);
    return context.Final();
}

TMD4Digest MD4DigestText(const QString &text)
{
    TMD4Context context;
    context.Init();
    context.UpdateText(text);
    return context.Final();
}

} // namespace net
