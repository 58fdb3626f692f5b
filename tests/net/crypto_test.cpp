// MD4, DES and Base64, checked against published vectors and against the
// system's openssl and coreutils on random inputs.
#include "net/crypto/base64.h"
#include "net/crypto/des.h"
#include "net/crypto/md4.h"
#include "tests/net/net_support.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <optional>
#include <random>

using namespace net;

namespace
{

QByteArray hexOf(const TMD4Digest &d)
{
    return QByteArray(reinterpret_cast<const char *>(d.data()), qsizetype(d.size())).toHex();
}

TDesBlock blockFromHex(const char *hex)
{
    QByteArray b = QByteArray::fromHex(hex);
    TDesBlock block{};
    std::copy(b.begin(), b.end(), block.begin());
    return block;
}

QByteArray randomBytes(std::mt19937 &rng, qsizetype size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (char &c : b)
        c = char(rng() & 0xff);
    return b;
}

// Runs a tool with the given input; nothing when the tool is missing or fails.
std::optional<QByteArray> runTool(const QString &program, const QStringList &args,
                                  const QByteArray &input)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(path, args);
    if (!process.waitForStarted())
        return std::nullopt;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// MD4 and single DES live in openssl's legacy provider.
const QStringList kLegacy = {QStringLiteral("-provider"), QStringLiteral("legacy"),
                             QStringLiteral("-provider"), QStringLiteral("default")};

std::optional<QByteArray> opensslMd4(const QByteArray &input)
{
    auto out = runTool(
        QStringLiteral("openssl"),
        QStringList{QStringLiteral("dgst"), QStringLiteral("-md4"), QStringLiteral("-r")} + kLegacy,
        input);
    if (!out)
        return std::nullopt;
    return out->left(32);
}

TEST(Crypto, Md4Rfc1320Suite)
{
    const struct {
        const char *text;
        const char *digest;
    } cases[] = {
        {"", "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {"a", "bde52cb31de33e46245e05fbdbd6fb24"},
        {"abc", "a448017aaf21d8525fc10ae87aa6729d"},
        {"message digest", "d9130a8164549fe818874806e1c7014b"},
        {"abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "043f8582f241db351ce627e153e7f0e4"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "e33b4ddc9c38f2199c3e7b164fcc0536"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(hexOf(MD4Digest(QByteArrayView(c.text))), c.digest) << c.text;
        // The text form goes in as the same bytes.
        EXPECT_EQ(hexOf(MD4DigestText(QString::fromLatin1(c.text))), c.digest) << c.text;
    }
    // Text is taken as Windows-1252 bytes.
    EXPECT_EQ(MD4DigestText(QStringLiteral("é€")), MD4Digest(QByteArrayView("\xe9\x80")));
}

TEST(Crypto, Md4MillionAInRandomPieces)
{
    std::mt19937 rng(1320);
    const QByteArray a(1000000, 'a');
    TMD4Context context;
    context.Init();
    qsizetype done = 0;
    while (done < a.size()) {
        qsizetype piece = std::min<qsizetype>(a.size() - done, rng() % 200);
        context.Update(a.constData() + done, std::size_t(piece));
        done += piece;
    }
    EXPECT_EQ(hexOf(context.Final()), "bbce80cc6bb65e5c6745e30d4eeca9a4");
}

TEST(Crypto, Md4MatchesOpenssl)
{
    if (!opensslMd4(QByteArray()))
        GTEST_SKIP() << "openssl with its legacy provider is not available";
    std::mt19937 rng(4);
    // Lengths around the padding boundaries, then random ones.
    std::vector<qsizetype> sizes = {1, 55, 56, 57, 63, 64, 65, 119, 120, 128};
    for (int i = 0; i < 20; ++i)
        sizes.push_back(qsizetype(rng() % 5000));
    for (qsizetype size : sizes) {
        QByteArray input = randomBytes(rng, size);
        TMD4Context context;
        context.Init();
        // In two pieces, so that the buffered path is part of every run.
        qsizetype cut = size ? qsizetype(rng() % size) : 0;
        context.Update(input.left(cut));
        context.Update(input.mid(cut));
        EXPECT_EQ(hexOf(context.Final()), opensslMd4(input).value_or("failed")) << size;
    }
}

TEST(Crypto, Md4OutsideADigestRaises)
{
    auto expectRaise = [](const std::function<void()> &call) {
        EXPECT_EQ(nettest::thrownMessage<MD4Exception>(call),
                  QStringLiteral("MD4 not initialized"));
    };
    TMD4Context fresh;
    expectRaise([&] { fresh.Update(QByteArrayView("x")); });
    expectRaise([&] { fresh.Final(); });
    TMD4Context done;
    done.Init();
    done.Update(QByteArrayView("abc"));
    done.Final();
    EXPECT_FALSE(done.Initialized());
    expectRaise([&] { done.Update(QByteArrayView("x")); });
    expectRaise([&] { done.UpdateText(QStringLiteral("x")); });
    expectRaise([&] { done.Final(); });
    // A new Init starts afresh.
    done.Init();
    EXPECT_EQ(hexOf(done.Final()), "31d6cfe0d16ae931b73c59d7e0c089c0");
}

TEST(Crypto, DesVectors)
{
    const struct {
        const char *key, *plain, *cipher;
    } cases[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
        // The parity bits take no part.
        {"123557789ABCDEF0", "0123456789ABCDEF", "85E813540F0AB405"},
    };
    for (const auto &c : cases) {
        const TDesBlock key = blockFromHex(c.key), plain = blockFromHex(c.plain),
                        cipher = blockFromHex(c.cipher);
        EXPECT_EQ(DesEncrypt(key, plain), cipher) << c.key << " " << c.plain;
        EXPECT_EQ(DesDecrypt(key, cipher), plain) << c.key << " " << c.cipher;
    }
}

TEST(Crypto, DesMatchesOpenssl)
{
    const QStringList base = {QStringLiteral("enc"), QStringLiteral("-des-ecb"),
                              QStringLiteral("-nopad"), QStringLiteral("-K")};
    if (!runTool(QStringLiteral("openssl"), base + QStringList{"0101010101010101"} + kLegacy,
                 QByteArray(8, '\0')))
        GTEST_SKIP() << "openssl with its legacy provider is not available";
    std::mt19937 rng(463);
    for (int k = 0; k < 100; ++k) {
        TDesBlock key;
        for (auto &b : key)
            b = std::uint8_t(rng());
        const QByteArray plain = randomBytes(rng, 100 * 8);
        const QByteArray keyHex = QByteArray(reinterpret_cast<const char *>(key.data()), 8).toHex();
        auto expected = runTool(QStringLiteral("openssl"),
                                base + QStringList{QString::fromLatin1(keyHex)} + kLegacy, plain);
        ASSERT_TRUE(expected && expected->size() == plain.size()) << keyHex.constData();
        QByteArray got;
        for (int i = 0; i < 100; ++i) {
            TDesBlock in;
            std::copy_n(plain.constData() + 8 * i, 8, in.begin());
            TDesBlock out = DesEncrypt(key, in);
            got.append(reinterpret_cast<const char *>(out.data()), 8);
            EXPECT_EQ(DesDecrypt(key, out), in);
        }
        ASSERT_EQ(got.toHex(), expected->toHex()) << "key " << keyHex.constData();
    }
}

TEST(Base64, Rfc4648Pairs)
{
    const std::pair<const char *, const char *> pairs[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto &[plain, coded] : pairs) {
        EXPECT_EQ(Base64Encode(QByteArrayView(plain)), QByteArray(coded));
        EXPECT_EQ(Base64Decode(QByteArrayView(coded)), QByteArray(plain));
    }
}

TEST(Base64, MatchesCoreutils)
{
    if (!runTool(QStringLiteral("base64"), {QStringLiteral("-w0")}, QByteArray("x")))
        GTEST_SKIP() << "base64 is not available";
    std::mt19937 rng(2045);
    for (int i = 0; i < 30; ++i) {
        QByteArray input = randomBytes(rng, qsizetype(i < 6 ? i : rng() % 3000));
        auto expected = runTool(QStringLiteral("base64"), {QStringLiteral("-w0")}, input);
        ASSERT_TRUE(expected);
        EXPECT_EQ(Base64Encode(input), *expected) << input.size();
        EXPECT_EQ(Base64Decode(*expected), input) << input.size();
    }
}

TEST(Base64, TolerantDecoding)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"Zm9v\r\nYmFy", "foobar"},
        {"Zm\r9\nv", "foo"},
        {"\r\n", ""},
        // A short last group gives what it holds.
        {"Zm9vYg", "foob"},
        {"Zm9vYmE", "fooba"},
        {"Z", ""},
        {"Zm9vY", "foo"},
        {"Zg=", "f"},
        // "=" stops the bytes of its group only.
        {"Zg==Zg==", "ff"},
        {"Zm9=", "fo"},
        // Characters outside the alphabet count as "A".
        {"Zm!v", QByteArray::fromBase64("ZmAv")},
        {"Z m9", QByteArray::fromBase64("ZAm9")},
    };
    for (const auto &[coded, plain] : cases)
        EXPECT_EQ(Base64Decode(coded), plain) << coded.toStdString();
}

} // namespace
