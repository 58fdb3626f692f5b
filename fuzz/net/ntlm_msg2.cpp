// Any bytes as a server's NTLM message 2, once as the decoded message and
// once as the Base64 text of the header: the reader must stay inside the
// bytes (the decoded form is read straight from the fuzzer's buffer, so that
// the sanitizer sees a single byte too far), and what it returns must fit the
// message. Message 3 is then built from what was read.
#include "net/crypto/base64.h"
#include "net/crypto/ntlm.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

void check(const net::TNTLM_Msg2_Info &info, QByteArrayView msg)
{
    if (info.Valid != (msg.size() >= 32))
        std::abort();
    const net::TNTLMChallenge zero{};
    if (!info.Valid) {
        if (!info.TargetName.isEmpty() || !info.Domain.isEmpty() || !info.Server.isEmpty() ||
            info.Challenge != zero)
            std::abort();
        return;
    }
    if (std::memcmp(info.Challenge.data(), msg.data() + 24, 8) != 0)
        std::abort();
    // Every string is a piece of the message, two bytes a character.
    for (const QString *s : {&info.TargetName, &info.Domain, &info.Server})
        if (s->size() * 2 > msg.size())
            std::abort();
    auto msg3 =
        net::NtlmGetMessage3(QString(), info.Server, info.TargetName, info.Domain, info.Challenge);
    if (!msg3 || net::Base64Decode(msg3->toLatin1()).size() !=
                     64 + 2 * (info.Server.size() + info.TargetName.size()) + 48)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check(net::NtlmReadMessage2(bytes), bytes);
    // The same bytes as header text.
    QString text = QString::fromLatin1(bytes);
    check(net::NtlmGetMessage2(text), net::Base64Decode(text.trimmed().toLatin1()));
    return 0;
}
