#pragma once
// MD4 message digest (RFC 1320). NTLM hashes passwords with it; nothing else
// in the program does, so it lives beside the NTLM code.
#include "platform/text/exceptions.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace net
{

class MD4Exception : public platform::Exception
{
public:
    using Exception::Exception;
};

using TMD4Digest = std::array<std::uint8_t, 16>;

// A digest under way. A new context is not initialised: Init() starts a
// digest and Final() ends it, after which Update and Final raise until the
// next Init().
class TMD4Context
{
public:
    void Init();
    void Update(const void *data, std::size_t len);
    void Update(QByteArrayView bytes) { Update(bytes.data(), std::size_t(bytes.size())); }
    // Text goes in as its Windows-1252 bytes.
    void UpdateText(const QString &text);
    TMD4Digest Final();
    bool Initialized() const { return m_initialized; }

private:
    void transform(const std::uint8_t *block);

    std::uint32_t m_state[4] = {};
    std::uint64_t m_bitCount = 0;
    std::uint8_t m_buffer[64] = {};
    std::size_t m_fill = 0;
    bool m_initialized = false;
};

// One-call digests.
TMD4Digest MD4Digest(QByteArrayView bytes);
TMD4Digest MD4DigestText(const QString &text);

} // namespace net
