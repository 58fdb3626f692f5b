#include "net/crypto/ntlm.h"

#include "net/crypto/base64.h"
#include "platform/text/codec.h"

#include <cstring>
#include <limits>

namespace net
{

namespace
{

const char kSignature[8] = {'N', 'T', 'L', 'M', 'S', 'S', 'P', '\0'};
const std::uint32_t kMessage1Flags = 0x8207; // Unicode, OEM, request target, NTLM, always sign
const std::uint32_t kMessage3Flags = 0x8205; // Unicode, request target, NTLM, always sign
const int kMessage3HeaderSize = 64;

void put16(QByteArray &b, int at, std::uint32_t v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

void put32(QByteArray &b, int at, std::uint32_t v)
{
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

// A security buffer: length, the same as maximum length, offset.
void putBuffer(QByteArray &b, int at, std::uint32_t length, std::uint32_t offset)
{
    put16(b, at, length);
    put16(b, at + 2, length);
    put32(b, at + 4, offset);
}

QByteArray header(std::uint32_t type, int size)
{
    QByteArray b(size, '\0');
    std::memcpy(b.data(), kSignature, sizeof kSignature);
    put32(b, 8, type);
    return b;
}

std::uint32_t get16(QByteArrayView b, qsizetype at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}

std::uint32_t get32(QByteArrayView b, qsizetype at)
{
    return get16(b, at) | get16(b, at + 2) << 16;
}

// UTF-16LE bytes to text; an odd last byte is dropped.
QString fromUnicode(QByteArrayView b, qsizetype at, qsizetype len)
{
    QString text;
    text.reserve(len / 2);
    for (qsizetype i = 0; i + 1 < len; i += 2)
        text += QChar(char16_t(get16(b, at + i)));
    return text;
}

// The bytes a message 2 security buffer designates, when they lie wholly
// inside the message; 64-bit sums, so that no offset wraps around.
QString bufferText(QByteArrayView msg, qsizetype at)
{
    std::uint64_t length = get16(msg, at);
    std::uint64_t offset = get32(msg, at + 4);
    if (offset + length > std::uint64_t(msg.size()))
        return QString();
    return fromUnicode(msg, qsizetype(offset), qsizetype(length));
}

} // namespace

QByteArray NtlmUnicode(const QString &text)
{
    QByteArray b(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t u = text.at(i).unicode();
        b[2 * i] = char(u & 0xff);
        b[2 * i + 1] = char(u >> 8);
    }
    return b;
}

TDesBlock NtlmDesKey(const std::uint8_t *sevenBytes)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 7; ++i)
        bits = bits << 8 | sevenBytes[i];
    TDesBlock key;
    for (int i = 0; i < 8; ++i)
        key[std::size_t(i)] = std::uint8_t(((bits >> (49 - 7 * i)) & 0x7f) << 1);
    return key;
}

TNTLMResponse NtlmDesl(const std::array<std::uint8_t, 16> &hash, const TNTLMChallenge &challenge)
{
    std::uint8_t k[21] = {};
    std::memcpy(k, hash.data(), hash.size());
    TNTLMResponse response;
    for (int part = 0; part < 3; ++part) {
        TDesBlock cipher = DesEncrypt(NtlmDesKey(k + 7 * part), challenge);
        std::memcpy(response.data() + 8 * part, cipher.data(), cipher.size());
    }
    return response;
}

std::array<std::uint8_t, 16> NtlmLMHash(const QString &password)
{
    static const TDesBlock kLMConstant = {'K', 'G', 'S', '!', '@', '#', '$', '%'};
    std::uint8_t key[14] = {};
    QByteArray bytes = platform::toAnsi(password);
    for (qsizetype i = 0; i < bytes.size() && i < 14; ++i) {
        char c = bytes[i];
        key[i] = std::uint8_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    std::array<std::uint8_t, 16> hash;
    for (int half = 0; half < 2; ++half) {
        TDesBlock cipher = DesEncrypt(NtlmDesKey(key + 7 * half), kLMConstant);
        std::memcpy(hash.data() + 8 * half, cipher.data(), cipher.size());
    }
    return hash;
}

std::array<std::uint8_t, 16> NtlmNTHash(const QString &password)
{
    return MD4Digest(QByteArrayView(NtlmUnicode(password)));
}

TNTLMResponse NtlmLMResponse(const QString &password, const TNTLMChallenge &challenge)
{
    return NtlmDesl(NtlmLMHash(password), challenge);
}

TNTLMResponse NtlmNTResponse(const QString &password, const TNTLMChallenge &challenge)
{
    return NtlmDesl(NtlmNTHash(password), challenge);
}

QString NtlmGetMessage1()
{
    QByteArray msg = header(1, 32);
    put32(msg, 12, kMessage1Flags);
    return QString::fromLatin1(Base64Encode(msg));
}

TNTLM_Msg2_Info NtlmGetMessage2(const QString &base64)
{
    return NtlmReadMessage2(Base64Decode(platform::toAnsi(base64.trimmed())));
}

TNTLM_Msg2_Info NtlmReadMessage2(QByteArrayView msg)
{
    TNTLM_Msg2_Info info;
    // The fixed part up to the challenge and context must be there.
    if (msg.size() < 32)
        return info;
    info.Valid = true;
    info.TargetName = bufferText(msg, 12);
    std::memcpy(info.Challenge.data(), msg.constData() + 24, info.Challenge.size());
    if (msg.size() < 48)
        return info;
    // Pairs of id, length and value; a pair that does not fit ends the list.
    std::uint64_t pos = get32(msg, 44);
    const std::uint64_t size = std::uint64_t(msg.size());
    while (pos + 4 <= size) {
        std::uint32_t id = get16(msg, qsizetype(pos));
        std::uint32_t length = get16(msg, qsizetype(pos + 2));
        if (id == 0 && length == 0)
            break;
        pos += 4;
        if (pos + length > size)
            break;
        if (id == 1)
            info.Server = fromUnicode(msg, qsizetype(pos), length);
        else if (id == 2)
            info.Domain = fromUnicode(msg, qsizetype(pos), length);
        pos += length;
    }
    return info;
}

std::optional<QString> NtlmGetMessage3(const QString &domain, const QString &workstation,
                                       const QString &user, const QString &password,
                                       const TNTLMChallenge &challenge)
{
    const QByteArray dom = NtlmUnicode(domain);
    const QByteArray usr = NtlmUnicode(user);
    const QByteArray ws = NtlmUnicode(workstation);
    const qsizetype limit = std::numeric_limits<std::uint16_t>::max();
    if (dom.size() > limit || usr.size() > limit || ws.size() > limit)
        return std::nullopt;
    const TNTLMResponse lm = NtlmLMResponse(password, challenge);
    const TNTLMResponse nt = NtlmNTResponse(password, challenge);

    const auto domOffset = std::uint32_t(kMessage3HeaderSize);
    const auto userOffset = domOffset + std::uint32_t(dom.size());
    const auto wsOffset = userOffset + std::uint32_t(usr.size());
    const auto lmOffset = wsOffset + std::uint32_t(ws.size());
    const auto ntOffset = lmOffset + std::uint32_t(lm.size());

    QByteArray msg = header(3, kMessage3HeaderSize);
    putBuffer(msg, 12, std::uint32_t(lm.size()), lmOffset);
    putBuffer(msg, 20, std::uint32_t(nt.size()), ntOffset);
    putBuffer(msg, 28, std::uint32_t(dom.size()), domOffset);
    putBuffer(msg, 36, std::uint32_t(usr.size()), userOffset);
    putBuffer(msg, 44, std::uint32_t(ws.size()), wsOffset);
    putBuffer(msg, 52, 0, 0); // no session key
    put32(msg, 60, kMessage3Flags);
    msg += dom;
    msg += usr;
    msg += ws;
    msg.append(reinterpret_cast<const char *>(lm.data()), qsizetype(lm.size()));
    msg.append(reinterpret_cast<const char *>(nt.data()), qsizetype(nt.size()));
    return QString::fromLatin1(Base64Encode(msg));
}

} // namespace net
