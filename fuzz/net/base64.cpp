// Any bytes as Base64 text to decode, read straight from the fuzzer's buffer
// so that the sanitizer sees any read past its end; then as bytes to encode,
// which must decode back to themselves.
#include "net/crypto/base64.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QByteArray decoded = net::Base64Decode(bytes);
    // At most 3 bytes for every 4 characters, and for a short last group.
    if (decoded.size() > (bytes.size() + 3) / 4 * 3)
        std::abort();
    QByteArray encoded = net::Base64Encode(bytes);
    if (encoded.size() != (bytes.size() + 2) / 3 * 4)
        std::abort();
    for (char c : encoded)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '+' || c == '/' || c == '='))
            std::abort();
    if (net::Base64Decode(encoded) != bytes)
        std::abort();
    // Line breaks anywhere change nothing.
    QByteArray broken;
    const qsizetype step = 1 + qsizetype(size % 7);
    for (qsizetype at = 0; at < encoded.size(); at += step)
        broken.append(encoded.mid(at, step)).append(size % 2 ? "\r\n" : "\n");
    if (net::Base64Decode(broken) != bytes)
        std::abort();
    return 0;
}
