// NTLM messages and responses, against the worked example of the protocol's
// documentation, and message 2 readings of hostile servers.
#include "net/crypto/base64.h"
#include "net/crypto/ntlm.h"

#include <gtest/gtest.h>

using namespace net;

namespace
{

template <std::size_t N> QByteArray hexOf(const std::array<std::uint8_t, N> &a)
{
    return QByteArray(reinterpret_cast<const char *>(a.data()), qsizetype(N)).toHex();
}

const TNTLMChallenge kChallenge = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};

// Message 2 of the example: target "DOMAIN", pairs 2 "DOMAIN", 1 "SERVER",
// then the (0, 0) end.
const char kMessage2[] = "TlRMTVNTUAACAAAADAAMADAAAAAFggIAASNFZ4mrze8AAAAAAAAAACQAJAA8AAAARABPAE0"
                         "AQQBJAE4AAgAMAEQATwBNAEEASQBOAAEADABTAEUAUgBWAEUAUgAAAAAA";

QByteArray message2Bytes()
{
    return Base64Decode(QByteArrayView(kMessage2));
}

TNTLM_Msg2_Info readBytes(const QByteArray &msg)
{
    return NtlmGetMessage2(QString::fromLatin1(Base64Encode(msg)));
}

void put16(QByteArray &b, int at, unsigned v)
{
    b[at] = char(v);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, int at, unsigned v)
{
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

TEST(Ntlm, Message1)
{
    EXPECT_EQ(NtlmGetMessage1(), QStringLiteral("TlRMTVNTUAABAAAAB4IAAAAAAAAAAAAAAAAAAAAAAAA="));
}

TEST(Ntlm, HashesAndResponses)
{
    const QString password = QStringLiteral("Password");
    EXPECT_EQ(hexOf(NtlmNTHash(password)), "a4f49c406510bdcab6824ee7c30fd852");
    EXPECT_EQ(hexOf(NtlmLMHash(password)), "e52cac67419a9a224a3b108f3fa6cb6d");
    EXPECT_EQ(hexOf(NtlmNTResponse(password, kChallenge)),
              "67c43011f30298a2ad35ece64f16331c44bdbed927841f94");
    EXPECT_EQ(hexOf(NtlmLMResponse(password, kChallenge)),
              "98def7b87f88aa5dafe2df779688a172def11c7d5ccdef13");
    // The two-byte form is UTF-16LE, the euro sign included.
    EXPECT_EQ(hexOf(NtlmNTHash(QStringLiteral("€uro"))), "65a07986d69e1cb33d52eacab1a9322a");
}

TEST(Ntlm, LMStopsAtFourteenBytes)
{
    const QString a = QStringLiteral("Password1234567"), b = QStringLiteral("Password12345678");
    EXPECT_EQ(hexOf(NtlmLMResponse(a, kChallenge)),
              "98def7b87f88aa5db4a073d5f017284098234c29c4d70344");
    EXPECT_EQ(NtlmLMResponse(a, kChallenge), NtlmLMResponse(b, kChallenge));
    EXPECT_NE(NtlmNTResponse(a, kChallenge), NtlmNTResponse(b, kChallenge));
    // Only a-z are raised; accented letters keep their case.
    EXPECT_EQ(NtlmLMHash(QStringLiteral("password")), NtlmLMHash(QStringLiteral("PASSWORD")));
    EXPECT_NE(NtlmLMHash(QStringLiteral("é")), NtlmLMHash(QStringLiteral("É")));
}

TEST(Ntlm, Message3)
{
    auto msg = NtlmGetMessage3(QString(), QStringLiteral("COMPUTER"), QStringLiteral("User"),
                               QStringLiteral("Password"), kChallenge);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(*msg, QStringLiteral(
                        "TlRMTVNTUAADAAAAGAAYAFgAAAAYABgAcAAAAAAAAABAAAAACAAIAEAAAAAQABAASAAAAA"
                        "AAAAAAAAAABYIAAFUAcwBlAHIAQwBPAE0AUABVAFQARQBSAJje97h/iKpdr+Lfd5aIoXLe"
                        "8Rx9XM3vE2fEMBHzApiirTXs5k8WMxxEvb7ZJ4QflA=="));
    EXPECT_EQ(Base64Decode(msg->toLatin1()).size(), 136);
}

TEST(Ntlm, Message3LengthsFitSixteenBits)
{
    const QString longest(32767, QLatin1Char('u')); // 65,534 bytes
    const QString tooLong(32768, QLatin1Char('u'));
    auto fits = [&](const QString &domain, const QString &ws, const QString &user) {
        return NtlmGetMessage3(domain, ws, user, QStringLiteral("p"), kChallenge).has_value();
    };
    EXPECT_TRUE(fits(longest, longest, longest));
    EXPECT_FALSE(fits(tooLong, QString(), QString()));
    EXPECT_FALSE(fits(QString(), tooLong, QString()));
    EXPECT_FALSE(fits(QString(), QString(), tooLong));
    // The offsets of the largest message still point at its fields.
    QByteArray big = Base64Decode(
        NtlmGetMessage3(longest, longest, longest, QStringLiteral("p"), kChallenge)->toLatin1());
    EXPECT_EQ(big.size(), 64 + 3 * 65534 + 48);
    const auto *u = reinterpret_cast<const std::uint8_t *>(big.constData());
    const unsigned ntOffset = u[24] | u[25] << 8 | u[26] << 16 | unsigned(u[27]) << 24;
    EXPECT_EQ(ntOffset, 64u + 3 * 65534 + 24);
    EXPECT_EQ(big.mid(ntOffset),
              QByteArray(reinterpret_cast<const char *>(
                             NtlmNTResponse(QStringLiteral("p"), kChallenge).data()),
                         24));
}

TEST(Ntlm, Message2)
{
    QByteArray full = message2Bytes();
    QByteArray unterminated = full.left(full.size() - 4);
    for (const QByteArray &msg : {full, unterminated}) {
        TNTLM_Msg2_Info info = readBytes(msg);
        EXPECT_TRUE(info.Valid);
        EXPECT_EQ(std::tuple(info.TargetName, info.Domain, info.Server, info.Challenge),
                  std::tuple(QStringLiteral("DOMAIN"), QStringLiteral("DOMAIN"),
                             QStringLiteral("SERVER"), kChallenge));
    }
    // The header's token arrives with blanks around it.
    TNTLM_Msg2_Info spaced =
        NtlmGetMessage2(QStringLiteral(" ") + QLatin1String(kMessage2) + QStringLiteral("  "));
    EXPECT_EQ(spaced.Server, QStringLiteral("SERVER"));
}

TEST(Ntlm, HostileMessage2)
{
    const QByteArray full = message2Bytes();
    const TNTLMChallenge zero{};
    struct Case {
        const char *what;
        QByteArray msg;
        bool valid;
        QString target, domain, server;
    };
    auto changed = [&](const std::function<void(QByteArray &)> &edit) {
        QByteArray b = full;
        edit(b);
        return b;
    };
    const QString D = QStringLiteral("DOMAIN"), S = QStringLiteral("SERVER");
    const Case cases[] = {
        {"empty", QByteArray(), false, {}, {}, {}},
        {"1 byte", full.left(1), false, {}, {}, {}},
        {"31 bytes", full.left(31), false, {}, {}, {}},
        {"32 bytes", full.left(32), true, {}, {}, {}},
        {"47 bytes", full.left(47), true, {}, {}, {}},
        {"target offset wraps",
         changed([](QByteArray &b) { put32(b, 16, 0xFFFFFFF0u); }),
         true,
         {},
         D,
         S},
        {"target too long", changed([](QByteArray &b) { put16(b, 12, 0xFFFF); }), true, {}, D, S},
        {"target odd length", changed([](QByteArray &b) { put16(b, 12, 13); }), true, D, D, S},
        {"information at 0", changed([](QByteArray &b) { put32(b, 44, 0); }), true, D, {}, {}},
        {"information past the end",
         changed([](QByteArray &b) { put32(b, 44, 0xFFFFFFFEu); }),
         true,
         D,
         {},
         {}},
        {"second value crosses the end", full.left(60 + 16 + 10), true, D, D, {}},
        {"pair header crosses the end", full.left(60 + 2), true, D, {}, {}},
        {"second header crosses the end", full.left(60 + 16 + 3), true, D, D, {}},
        {"first value too long",
         changed([](QByteArray &b) { put16(b, 62, 0x7FFF); }),
         true,
         D,
         {},
         {}},
    };
    for (const Case &c : cases) {
        TNTLM_Msg2_Info info = readBytes(c.msg);
        EXPECT_EQ(info.Valid, c.valid) << c.what;
        EXPECT_EQ(info.TargetName, c.target) << c.what;
        EXPECT_EQ(info.Domain, c.domain) << c.what;
        EXPECT_EQ(info.Server, c.server) << c.what;
        EXPECT_EQ(info.Challenge, c.valid ? kChallenge : zero) << c.what;
    }
    // A 13-byte target gives 6 characters, its last byte dropped.
    EXPECT_EQ(readBytes(changed([](QByteArray &b) { put16(b, 12, 13); })).TargetName.size(), 6);
    // Text that is not Base64 at all reads as bytes of zeros, never beyond.
    TNTLM_Msg2_Info junk = NtlmGetMessage2(QString(60, QLatin1Char('!')));
    EXPECT_TRUE(junk.Valid);
    EXPECT_EQ(junk.Challenge, zero);
}

} // namespace
