#include "net/crypto/des.h"

#include <cstddef>

namespace net
{

namespace
{

// The standard's tables; bits are numbered from 1 at the most significant
// end, as there.
const std::uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                              62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                              57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                              61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

const std::uint8_t kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                             12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                             22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

const std::uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                             2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

const std::uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                               10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                               63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                               14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

const std::uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                               26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                               51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

const std::uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

const std::uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// A bit permutation turned into one lookup per input byte: the bits of an
// out-bit value chosen from an in-bit value, both right-aligned.
template <int InBits, int OutBits> struct ByteLookup {
    std::uint64_t table[InBits / 8][256] = {};

    explicit ByteLookup(const std::uint8_t *select)
    {
        for (int j = 0; j < OutBits; ++j) {
            int in = select[j] - 1; // from the most significant end
            int byteIndex = in / 8;
            int bitInByte = 7 - in % 8;
            std::uint64_t outBit = std::uint64_t(1) << (OutBits - 1 - j);
            for (int v = 0; v < 256; ++v)
                if (v & (1 << bitInByte))
                    table[byteIndex][v] |= outBit;
        }
    }
    std::uint64_t apply(std::uint64_t value) const
    {
        std::uint64_t out = 0;
        for (int i = 0; i < InBits / 8; ++i)
            out |= table[i][(value >> (InBits - 8 - 8 * i)) & 0xff];
        return out;
    }
};

struct Tables {
    ByteLookup<64, 64> ip{kIP};
    ByteLookup<64, 64> fp{inverse(kIP).data()};
    ByteLookup<64, 56> pc1{kPC1};
    ByteLookup<56, 48> pc2{kPC2};
    ByteLookup<32, 48> e{kE};
    // S-box i followed by P, indexed by its 6 input bits.
    std::uint32_t sp[8][64];

    Tables()
    {
        for (int box = 0; box < 8; ++box)
            for (int v = 0; v < 64; ++v) {
                // Outer bits choose the row, inner four the column.
                int row = ((v >> 4) & 2) | (v & 1);
                int col = (v >> 1) & 15;
                std::uint32_t s = std::uint32_t(kS[box][16 * row + col]) << (28 - 4 * box);
                std::uint32_t p = 0;
                for (int j = 0; j < 32; ++j)
                    if (s & (1u << (32 - kP[j])))
                        p |= 1u << (31 - j);
                sp[box][v] = p;
            }
    }

    // The final permutation undoes the initial one.
    static std::array<std::uint8_t, 64> inverse(const std::uint8_t (&perm)[64])
    {
        std::array<std::uint8_t, 64> inv{};
        for (int i = 0; i < 64; ++i)
            inv[std::size_t(perm[i] - 1)] = std::uint8_t(i + 1);
        return inv;
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

std::uint64_t load(const TDesBlock &b)
{
    std::uint64_t v = 0;
    for (std::uint8_t byte : b)
        v = v << 8 | byte;
    return v;
}

TDesBlock store(std::uint64_t v)
{
    TDesBlock b;
    for (int i = 7; i >= 0; --i, v >>= 8)
        b[std::size_t(i)] = std::uint8_t(v);
    return b;
}

void keySchedule(const Tables &t, const TDesBlock &key, std::uint64_t subkeys[16])
{
    std::uint64_t cd = t.pc1.apply(load(key));
    std::uint32_t c = std::uint32_t(cd >> 28) & 0x0fffffff;
    std::uint32_t d = std::uint32_t(cd) & 0x0fffffff;
    for (int round = 0; round < 16; ++round) {
        int s = kShifts[round];
        c = ((c << s) | (c >> (28 - s))) & 0x0fffffff;
        d = ((d << s) | (d >> (28 - s))) & 0x0fffffff;
        subkeys[round] = t.pc2.apply(std::uint64_t(c) << 28 | d);
    }
}

TDesBlock crypt(const TDesBlock &key, const TDesBlock &block, bool decrypt)
{
    const Tables &t = tables();
    std::uint64_t subkeys[16];
    keySchedule(t, key, subkeys);
    std::uint64_t v = t.ip.apply(load(block));
    std::uint32_t l = std::uint32_t(v >> 32), r = std::uint32_t(v);
    for (int round = 0; round < 16; ++round) {
        std::uint64_t x = t.e.apply(r) ^ subkeys[decrypt ? 15 - round : round];
        std::uint32_t f = 0;
        for (int box = 0; box < 8; ++box)
            f |= t.sp[box][(x >> (42 - 6 * box)) & 63];
        std::uint32_t next = l ^ f;
        l = r;
        r = next;
    }
    // The halves are swapped once more before the final permutation.
    return store(t.fp.apply(std::uint64_t(r) << 32 | l));
}

} // namespace

TDesBlock DesEncrypt(const TDesBlock &key, const TDesBlock &block)
{
    return crypt(key, block, false);
}

TDesBlock DesDecrypt(const TDesBlock &key, const TDesBlock &block)
{
    return crypt(key, block, true);
}

} // namespace net
