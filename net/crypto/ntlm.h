#pragma once
// The client's side of the NTLM (version 1) handshake: message 1, the reading
// of the server's message 2, message 3 with its LM and NT responses. The
// messages travel as Base64 text in the authentication headers.
#include "net/crypto/des.h"
#include "net/crypto/md4.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace net
{

using TNTLMChallenge = std::array<std::uint8_t, 8>;
using TNTLMResponse = std::array<std::uint8_t, 24>;

// What the client keeps of the server's message 2.
struct TNTLM_Msg2_Info {
    bool Valid = false;
    QString TargetName;
    QString Domain; // NetBIOS domain name
    QString Server; // NetBIOS computer name
    TNTLMChallenge Challenge{};
};

// Message 1 as Base64: fixed flags, no domain, no workstation.
QString NtlmGetMessage1();

// Message 2 from its Base64 text (blanks around it are ignored). Only the
// decoded bytes are ever read: a message too short for its fixed part is not
// Valid, a string outside the message stays empty, the target information
// ends at the first pair that does not fit.
TNTLM_Msg2_Info NtlmGetMessage2(const QString &base64);
// The same on the decoded bytes.
TNTLM_Msg2_Info NtlmReadMessage2(QByteArrayView message);

// Message 3 as Base64, or nothing when a name is too long for the message's
// 16-bit lengths (the scheme is then given up).
std::optional<QString> NtlmGetMessage3(const QString &domain, const QString &workstation,
                                       const QString &user, const QString &password,
                                       const TNTLMChallenge &challenge);

// NTLMv1 responses.
TNTLMResponse NtlmLMResponse(const QString &password, const TNTLMChallenge &challenge);
TNTLMResponse NtlmNTResponse(const QString &password, const TNTLMChallenge &challenge);

// The building blocks, also used by the tests.
// The password hashes: LM from the Windows-1252 bytes with a-z raised,
// NT from MD4 of the UTF-16LE form.
std::array<std::uint8_t, 16> NtlmLMHash(const QString &password);
std::array<std::uint8_t, 16> NtlmNTHash(const QString &password);
// 56 key bits spread over 8 bytes, 7 in the high bits of each.
TDesBlock NtlmDesKey(const std::uint8_t *sevenBytes);
// The 16-byte hash, padded with 5 zero bytes, as three DES keys over the
// challenge.
TNTLMResponse NtlmDesl(const std::array<std::uint8_t, 16> &hash, const TNTLMChallenge &challenge);
// The two-byte form of the messages' names: UTF-16LE.
QByteArray NtlmUnicode(const QString &text);

} // namespace net
