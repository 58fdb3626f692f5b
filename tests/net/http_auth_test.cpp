// Answers to 401 and 407: Basic and NTLM against scripted servers (the exact
// credential lines on the wire), tinyproxy as a real proxy, relocations,
// aborts and busy calls during a repeat, and the bookkeeping walked over
// every answer a server may give.
#include "net/crypto/base64.h"
#include "net/crypto/ntlm.h"
#include "net/http/httpprot.h"
#include "tests/net/http_support.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace net;
using namespace nettest;

namespace
{

const QByteArray kOk = okWith("");
// Message 2 of the protocol's worked example (challenge 0123456789abcdef).
const QByteArray kMessage2 =
    "TlRMTVNTUAACAAAADAAMADAAAAAFggIAASNFZ4mrze8AAAAAAAAAACQAJAA8AAAARABPAE0AQQBJAE4AAgAMAEQATw"
    "BNAEEASQBOAAEADABTAEUAUgBWAEUAUgAAAAAA";

// A refusal offering the given authenticate values, kept alive unless told.
QByteArray refusal(int status, const QList<QByteArray> &offers, bool close = false,
                   const QByteArray &version = "1.1")
{
    QByteArray r = "HTTP/" + version + " " + QByteArray::number(status) + " Refused\r\n";
    for (const QByteArray &offer : offers)
        r += (status == 407 ? "Proxy-Authenticate: " : "WWW-Authenticate: ") + offer + "\r\n";
    if (close)
        r += "Connection: close\r\n";
    else if (version == "1.0")
        r += "Connection: keep-alive\r\n";
    return r + "Content-Length: 0\r\n\r\n";
}

// The value of a header line of a request, or a null array.
QByteArray headerValue(const QByteArray &request, const QByteArray &name)
{
    for (const QByteArray &line : request.split('\n'))
        if (line.startsWith(name + ": "))
            return line.mid(name.size() + 2).trimmed();
    return QByteArray();
}

class HttpAuth : public ::testing::Test
{
protected:
    HttpAuth() : m_scope(EventLoop::Backend::Poll) {}
    EventLoop &loop() { return m_scope.loop(); }
    // A 1.1 client with the server's user name and password.
    static void signIn(THttpCli &client, const char *user, const char *password)
    {
        client.SetRequestVer(QStringLiteral("1.1"));
        client.SetUsername(QString::fromUtf8(user));
        client.SetPassword(QString::fromUtf8(password));
    }

private:
    LoopScope m_scope;
};

TEST_F(HttpAuth, BasicCredentials)
{
    const struct {
        const char *user, *password;
        bool accepted;
        int requests;
        QByteArray sent;
    } cases[] = {
        {"Aladdin", "open sesame", true, 2, "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
        {"Aladdin", "wrong", false, 2, "Basic QWxhZGRpbjp3cm9uZw=="},
        {"Aladdin", "", false, 1, {}},
        {"", "open sesame", false, 1, {}},
        // Windows-1252 bytes, not UTF-8.
        {"José", "naïve", true, 2, "Basic Sm9z6TpuYe92ZQ=="},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.user + std::string("/") + c.password);
        ScriptedServer server;
        const QByteArray basic = refusal(401, {"Basic realm=\"x\""});
        server.addConnection({readRequest(), sendBytes(basic), readRequest(),
                              sendBytes(c.accepted ? kOk : basic), hold()});
        THttpCli client;
        HttpRecorder rec(client);
        signIn(client, c.user, c.password);
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/secret"))));
        pumpFor(loop(), 30);
        const QList<QByteArray> requests = server.requests();
        ASSERT_EQ(requests.size(), c.requests);
        EXPECT_TRUE(headerValue(requests[0], "Authorization").isNull());
        if (c.requests > 1) {
            EXPECT_EQ(headerValue(requests[1], "Authorization"), c.sent);
        }
        EXPECT_EQ(rec.done.size(), 1u);
        EXPECT_EQ(client.StatusCode(), c.accepted ? 200 : 401);
        EXPECT_EQ(server.connections(), 1);
    }
}

// Message 3 as a server reads it.
struct Message3 {
    QByteArray lm, nt, domain, user, workstation;
    quint32 flags = 0;
};

Message3 parseMessage3(const QByteArray &base64)
{
    const QByteArray m = Base64Decode(base64);
    auto u16 = [&](int at) { return quint32(quint8(m[at])) | quint32(quint8(m[at + 1])) << 8; };
    auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
    auto field = [&](int at) { return m.mid(u32(at + 4), u16(at)); };
    Message3 r;
    if (m.size() < 64 || !m.startsWith(QByteArray("NTLMSSP\0\3\0\0\0", 12)))
        return r;
    r.lm = field(12).toHex();
    r.nt = field(20).toHex();
    r.domain = field(28);
    r.user = field(36);
    r.workstation = field(44);
    r.flags = u32(60);
    return r;
}

TEST_F(HttpAuth, NtlmHandshake)
{
    for (const char *version : {"1.1", "1.0"}) {
        SCOPED_TRACE(version);
        ScriptedServer server{{readRequest(), sendBytes(refusal(401, {"NTLM"}, false, version)),
                               readRequest(),
                               sendBytes(refusal(401, {"NTLM " + kMessage2}, false, version)),
                               readRequest(), sendBytes(kOk), hold()}};
        THttpCli client;
        HttpRecorder rec(client);
        client.SetRequestVer(QLatin1String(version));
        client.SetUsername(QStringLiteral("User"));
        client.SetPassword(QStringLiteral("Password"));
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/intranet"))));
        const QList<QByteArray> requests = server.requests();
        ASSERT_EQ(requests.size(), 3);
        EXPECT_EQ(server.connections(), 1);
        EXPECT_EQ(client.StatusCode(), 200);
        EXPECT_EQ(client.AuthNTLMState(), 4);
        EXPECT_EQ(headerValue(requests[1], "Authorization"),
                  "NTLM TlRMTVNTUAABAAAAB4IAAAAAAAAAAAAAAAAAAAAAAAA=");
        const QByteArray auth3 = headerValue(requests[2], "Authorization");
        ASSERT_TRUE(auth3.startsWith("NTLM "));
        Message3 m3 = parseMessage3(auth3.mid(5));
        EXPECT_EQ(m3.lm, "98def7b87f88aa5dafe2df779688a172def11c7d5ccdef13");
        EXPECT_EQ(m3.nt, "67c43011f30298a2ad35ece64f16331c44bdbed927841f94");
        EXPECT_EQ(m3.user, NtlmUnicode(QStringLiteral("User")));
        EXPECT_TRUE(m3.domain.isEmpty());
        EXPECT_EQ(m3.workstation, NtlmUnicode(LocalHostName()));
        EXPECT_EQ(m3.flags, 0x8205u);
        // On 1.0 the handshake asks to keep its connection.
        const bool old = QByteArray(version) == "1.0";
        EXPECT_TRUE(headerValue(requests[0], "Connection").isNull());
        for (int i : {1, 2})
            EXPECT_EQ(headerValue(requests[i], "Connection"),
                      old ? QByteArray("Keep-alive") : QByteArray());
    }
}

TEST_F(HttpAuth, NtlmEndsWithTheRefusal)
{
    const struct {
        const char *what;
        QByteArray challenge;
        bool closeEach;
        int requests;
    } cases[] = {
        // Message 3 reaches a new connection, which knows no handshake.
        {"closed after each answer", "NTLM " + kMessage2, true, 3},
        {"message 2 of 20 bytes", "NTLM " + Base64Encode(QByteArray(20, 'N')), false, 2},
        {"no message 2", "NTLM", false, 2},
        {"message 3 refused", "NTLM " + kMessage2, false, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server;
        const QByteArray offer = refusal(401, {"NTLM"}, c.closeEach);
        const QByteArray challenge = refusal(401, {c.challenge}, c.closeEach);
        if (c.closeEach) {
            server.addConnection(answerOnce(offer));
            server.addConnection(answerOnce(challenge));
            server.addConnection(answerOnce(offer));
        } else {
            server.addConnection({readRequest(), sendBytes(offer), readRequest(),
                                  sendBytes(challenge), readRequest(), sendBytes(offer), hold()});
        }
        THttpCli client;
        HttpRecorder rec(client);
        signIn(client, "User", "Password");
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/"))));
        pumpFor(loop(), 30);
        EXPECT_EQ(server.requests().size(), c.requests);
        ASSERT_EQ(rec.errors(), Errors{0});
        EXPECT_EQ(client.StatusCode(), 401);
        EXPECT_EQ(client.AuthNTLMState(), 0);
    }
}

TEST_F(HttpAuth, StrayBytesSendMessage3ToANewConnection)
{
    ScriptedServer server{{readRequest(), sendBytes(refusal(401, {"NTLM"})), readRequest(),
                           sendBytes(refusal(401, {"NTLM " + kMessage2}) + "X"), hold()},
                          answerOnce(refusal(401, {"NTLM"}), true)};
    THttpCli client;
    HttpRecorder rec(client);
    signIn(client, "User", "Password");
    ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/"))));
    pumpFor(loop(), 30);
    ASSERT_EQ(server.requests().size(), 3);
    EXPECT_TRUE(headerValue(server.requests()[2], "Authorization").startsWith("NTLM TlRMTVNTUAAD"));
    EXPECT_EQ(server.connections(), 2);
    ASSERT_EQ(rec.done.size(), 1u);
    EXPECT_EQ(client.StatusCode(), 401);
}

TEST_F(HttpAuth, SchemeChoice)
{
    const struct {
        QList<QByteArray> offers;
        THttpCliOptions options;
        QByteArray scheme;
    } cases[] = {
        {{"Basic realm=\"x\"", "NTLM"}, {}, "NTLM"},
        {{"NTLM", "Basic realm=\"x\""}, {}, "NTLM"},
        {{"Basic realm=\"x\"", "NTLM"}, {httpoNoNTLMAuth}, "Basic"},
        {{"basic realm=\"x\""}, {}, "Basic"},
        {{"Basic realm=\"x\"", "NTLM"}, {httpoNoNTLMAuth, httpoNoBasicAuth}, {}},
        {{"Digest realm=\"x\""}, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.offers.join(", ").toStdString());
        ScriptedServer server{
            {readRequest(), sendBytes(refusal(401, c.offers)), readRequest(), sendBytes(kOk)}};
        THttpCli client;
        HttpRecorder rec(client);
        client.SetRequestVer(QStringLiteral("1.1"));
        client.SetOptions(c.options);
        client.SetUsername(QStringLiteral("u"));
        client.SetPassword(QStringLiteral("p"));
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/"))));
        const QList<QByteArray> requests = server.requests();
        if (c.scheme.isEmpty()) {
            EXPECT_EQ(requests.size(), 1);
            EXPECT_EQ(client.StatusCode(), 401);
        } else {
            ASSERT_EQ(requests.size(), 2);
            EXPECT_TRUE(headerValue(requests[1], "Authorization").startsWith(c.scheme + " "));
        }
    }
}

TEST_F(HttpAuth, PostSendsItsBodyWithMessage3Only)
{
    ScriptedServer server{{readRequest(), sendBytes(refusal(401, {"NTLM"})), readRequest(),
                           sendBytes(refusal(401, {"NTLM " + kMessage2})), readRequest(),
                           sendBytes(kOk), hold()}};
    const QByteArray body = pattern(1000);
    TMemoryStream stream(body);
    THttpCli client;
    HttpRecorder rec(client);
    int sendBegin = 0;
    client.OnSendBegin = [&](THttpCli *) { ++sendBegin; };
    signIn(client, "User", "Password");
    client.SetSendStream(&stream);
    client.SetURL(server.url(QStringLiteral("/form")));
    client.PostASync();
    ASSERT_TRUE(waitDone(loop(), rec));
    const QList<QByteArray> requests = server.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_TRUE(requests[0].endsWith("\r\n\r\n" + body));
    EXPECT_EQ(headerValue(requests[1], "Content-Length"), "0");
    EXPECT_TRUE(requests[1].endsWith("\r\n\r\n"));
    EXPECT_EQ(headerValue(requests[2], "Content-Length"), "1000");
    EXPECT_TRUE(requests[2].endsWith("\r\n\r\n" + body));
    EXPECT_EQ(sendBegin, 2);
    EXPECT_EQ(client.StatusCode(), 200);
}

TEST_F(HttpAuth, ThroughTinyproxyToAnOriginAskingBasic)
{
    ProcessPeer proxy;
    if (!proxy.startTinyproxy(QStringLiteral("pu"), QStringLiteral("pw")))
        GTEST_SKIP() << "tinyproxy is not available";
    ScriptedServer origin{answerOnce("HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic "
                                     "realm=\"o\"\r\nContent-Length: 0\r\n\r\n"),
                          answerOnce(okWith("ok", "1.0"))};
    THttpCli client;
    HttpRecorder rec(client);
    QList<QStringList> sent;
    client.OnBeforeHeaderSend = [&](THttpCli *, const QString &, QStringList &headers) {
        sent << headers;
    };
    client.SetProxy(QStringLiteral("127.0.0.1"));
    client.SetProxyPort(QString::number(proxy.port()));
    client.SetProxyUsername(QStringLiteral("pu"));
    client.SetProxyPassword(QStringLiteral("pw"));
    client.SetUsername(QStringLiteral("ou"));
    client.SetPassword(QStringLiteral("ow"));
    ASSERT_TRUE(getDone(loop(), client, rec, origin.url(QStringLiteral("/doc"))));
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(rec.body, "ok");
    ASSERT_EQ(sent.size(), 3);
    const QString proxyLine = QStringLiteral("Proxy-Authorization: Basic cHU6cHc=");
    const QString serverLine = QStringLiteral("Authorization: Basic b3U6b3c=");
    EXPECT_FALSE(sent[0].contains(proxyLine));
    EXPECT_TRUE(sent[1].contains(proxyLine));
    EXPECT_FALSE(sent[1].contains(serverLine));
    EXPECT_TRUE(sent[2].contains(proxyLine));
    EXPECT_TRUE(sent[2].contains(serverLine));
    ASSERT_EQ(origin.requests().size(), 2);
    EXPECT_EQ(headerValue(origin.requests()[1], "Authorization"), "Basic b3U6b3c=");
}

TEST_F(HttpAuth, CredentialsStayWithTheirOrigin)
{
    ScriptedServer other(QStringLiteral("127.0.0.2"));
    other.addConnection(answerOnce(kOk, true));
    const struct {
        QByteArray location;
        bool sameOrigin;
    } cases[] = {{"/y", true}, {other.url(QStringLiteral("/z")).toLatin1(), false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.location.toStdString());
        ScriptedServer server;
        const QByteArray moved =
            "HTTP/1.1 302 Moved\r\nLocation: " + c.location + "\r\nContent-Length: 0\r\n\r\n";
        server.addConnection({readRequest(), sendBytes(refusal(401, {"Basic realm=\"x\""})),
                              readRequest(), sendBytes(moved), readRequest(), sendBytes(kOk),
                              hold()});
        THttpCli client;
        HttpRecorder rec(client);
        signIn(client, "u", "p");
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/x"))));
        EXPECT_EQ(client.StatusCode(), 200);
        const QList<QByteArray> requests = c.sameOrigin ? server.requests() : other.requests();
        ASSERT_EQ(requests.size(), c.sameOrigin ? 3 : 1);
        const QByteArray last = requests.last();
        EXPECT_EQ(headerValue(last, "Authorization"),
                  c.sameOrigin ? QByteArray("Basic dTpw") : QByteArray());
    }
}

TEST_F(HttpAuth, ProxyCredentialsGoOnlyToTheProxy)
{
    // The same 407 from the one server the client talks to: an origin
    // (direct, or behind SOCKS, which is no HTTP proxy) must not be given
    // the proxy's user name and password; a proxy is.
    enum Route { Direct, Socks, Proxy };
    const QList<QByteArray> offers[] = {
        {"Basic realm=\"p\""}, {"NTLM"}, {"NTLM", "Basic realm=\"p\""}};
    const QByteArray socksReply("\x05\x00\x00\x01\x7f\x00\x00\x01\x00\x00", 10);
    for (const Route route : {Direct, Socks, Proxy})
        for (const QList<QByteArray> &offer : offers) {
            SCOPED_TRACE(testing::Message() << route << " " << offer.join(", ").data());
            ScriptedServer server;
            std::vector<ServerStep> steps;
            if (route == Socks)
                steps = {readBytes(3), sendBytes(QByteArray("\x05\x00", 2)), readBytes(16),
                         sendBytes(socksReply)};
            steps.push_back(readRequest());
            steps.push_back(sendBytes(refusal(407, offer)));
            if (offer.first() == "NTLM") {
                steps.push_back(readRequest());
                steps.push_back(sendBytes(refusal(407, {"NTLM " + kMessage2})));
            }
            steps.push_back(readRequest());
            steps.push_back(sendBytes(kOk));
            steps.push_back(hold());
            server.addConnection(steps);
            THttpCli client;
            HttpRecorder rec(client);
            client.SetRequestVer(QStringLiteral("1.1"));
            client.SetProxyUsername(QStringLiteral("pu"));
            client.SetProxyPassword(QStringLiteral("pw"));
            client.SetURL(server.url(QStringLiteral("/doc")));
            if (route == Proxy)
                client.SetProxy(server.hostPort());
            if (route == Socks) {
                client.SetSocksServer(QStringLiteral("127.0.0.1"));
                client.SetSocksPort(QString::number(server.port()));
            }
            client.GetASync();
            ASSERT_TRUE(waitDone(loop(), rec));
            for (int i = 0; i < 10; ++i)
                loop().processPending();
            ASSERT_EQ(rec.errors(), Errors{0});
            QList<QByteArray> requests = server.requests();
            if (route == Socks)
                requests = requests.mid(2);
            if (route != Proxy) {
                EXPECT_EQ(client.StatusCode(), 407);
                ASSERT_EQ(requests.size(), 1);
                EXPECT_TRUE(headerValue(requests[0], "Proxy-Authorization").isNull());
                continue;
            }
            EXPECT_EQ(client.StatusCode(), 200);
            ASSERT_GE(requests.size(), 2);
            EXPECT_FALSE(headerValue(requests[1], "Proxy-Authorization").isNull());
        }
    // A synchronous request takes the 407 as an answer, not as an error.
    ScriptedServer server{answerOnce(refusal(407, {"Basic realm=\"p\""}), true)};
    THttpCli client;
    client.SetProxyUsername(QStringLiteral("pu"));
    client.SetProxyPassword(QStringLiteral("pw"));
    client.SetURL(server.url(QStringLiteral("/")));
    EXPECT_NO_THROW(client.Get());
    EXPECT_EQ(client.StatusCode(), 407);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(HttpAuth, ARepeatUnderWayIsBusyAndAbortable)
{
    for (bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "abort" : "busy");
        ScriptedServer server{{readRequest(), sendBytes(refusal(401, {"Basic realm=\"x\""})),
                               readRequest(), sendBytes(kOk), hold()}};
        THttpCli client;
        HttpRecorder rec(client);
        int busyCode = -1;
        bool acted = false;
        client.OnStateChange = [&](THttpCli *sender) {
            if (sender->State() != httpReady || acted)
                return;
            acted = true;
            if (abort) {
                sender->Abort();
                return;
            }
            try {
                sender->HeadAsync();
            } catch (const EHttpException &e) {
                busyCode = e.ErrorCode();
            }
        };
        signIn(client, "u", "p");
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/"))));
        pumpFor(loop(), 100);
        ASSERT_EQ(rec.done.size(), 1u);
        if (abort) {
            EXPECT_EQ(rec.done[0].error, httperrAborted);
            EXPECT_EQ(server.requests().size(), 1);
        } else {
            EXPECT_EQ(busyCode, 1);
            EXPECT_EQ(rec.done[0].rq, httpGET);
            EXPECT_EQ(client.StatusCode(), 200);
            EXPECT_EQ(server.requests().size(), 2);
        }
    }
}

// A step that fails ends its request once, with the client's own error.
class FailingBasicClient : public THttpCli
{
protected:
    void StartAuthBasic() override
    {
        throw EHttpException(QStringLiteral("Unexpected AuthBasicState"), 6);
    }
};

TEST_F(HttpAuth, AFailingStepEndsTheRequestWithSeven)
{
    ScriptedServer server{answerOnce(refusal(401, {"Basic realm=\"x\""}), true)};
    FailingBasicClient client;
    HttpRecorder rec(client);
    signIn(client, "u", "p");
    ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/"))));
    pumpFor(loop(), 50);
    ASSERT_EQ(rec.errors(), Errors{httperrProtocol});
    EXPECT_EQ(client.ReasonPhrase(), QStringLiteral("Unexpected AuthBasicState"));
    EXPECT_EQ(client.State(), httpReady);
    EXPECT_NO_THROW(client.GetASync());
}

TEST_F(HttpAuth, SynchronousRequestWaitsForTheRepeat)
{
    for (bool accepted : {true, false}) {
        ScriptedServer server;
        const QByteArray basic = refusal(401, {"Basic realm=\"x\""});
        server.addConnection(
            {readRequest(), sendBytes(basic), readRequest(), sendBytes(accepted ? kOk : basic)});
        THttpCli client;
        signIn(client, "u", "p");
        client.SetURL(server.url(QStringLiteral("/")));
        EXPECT_NO_THROW(client.Get());
        EXPECT_EQ(client.StatusCode(), accepted ? 200 : 401);
        EXPECT_EQ(server.requests().size(), 2);
    }
}

// The bookkeeping over every answer: each node is the four states after a
// repeat, each edge an answer; the client in simulation, replaying the path
// to a node before each answer.
class AuthWalk
{
public:
    using States = std::array<int, 4>;
    struct Answer {
        int status;
        int offer;
        bool close;
    };
    struct Outcome {
        bool done = false;
        bool failed = false;
        States states{};
        int requests = 0;
    };

    AuthWalk(EventLoop &loop, THttpCliOptions options) : m_loop(loop), m_options(options) {}

    static std::vector<Answer> answers()
    {
        std::vector<Answer> all;
        for (int status : {401, 407, 200})
            for (int offer = 0; offer < 6; ++offer)
                for (bool close : {false, true})
                    all.push_back({status, offer, close});
        return all;
    }

    Outcome run(const std::vector<Answer> &path)
    {
        THttpCli client;
        Outcome outcome;
        client.OnRequestDone = [&](THttpCli *, THttpRequest, std::uint16_t error) {
            outcome.done = true;
            outcome.failed = outcome.failed || error != 0;
        };
        client.SetRequestVer(QStringLiteral("1.1"));
        client.SetOptions(m_options);
        client.SetUsername(QStringLiteral("User"));
        client.SetPassword(QStringLiteral("Password"));
        client.SetProxyUsername(QStringLiteral("ProxyUser"));
        client.SetProxyPassword(QStringLiteral("ProxyPassword"));
        // Through a proxy: both sides' states can move.
        client.SetProxy(QStringLiteral("127.0.0.1:3128"));
        client.SetURL(QStringLiteral("http://127.0.0.1/w"));
        client.simulateResponse(httpGET);
        for (const Answer &a : path) {
            if (outcome.done)
                break;
            const int before = requestCount(client);
            const QByteArray bytes = text(a);
            client.simulateData(bytes.constData(), int(bytes.size()));
            for (int i = 0; i < 10; ++i)
                m_loop.processPending();
            // Not done: exactly one more request went out.
            if (!outcome.done && requestCount(client) != before + 1)
                outcome.failed = true;
        }
        outcome.states = {client.AuthNTLMState(), client.ProxyAuthNTLMState(),
                          client.AuthBasicState(), client.ProxyAuthBasicState()};
        outcome.requests = requestCount(client);
        return outcome;
    }

    // Explores every node; returns the longest chain of requests, or -1
    // after a cycle or a failure.
    int longestChain()
    {
        m_paths.clear();
        m_longest.clear();
        const States start{0, 0, 0, 0};
        m_paths[start] = {};
        std::set<States> onPath;
        return longestFrom(start, onPath);
    }

private:
    int longestFrom(const States &node, std::set<States> &onPath)
    {
        if (auto it = m_longest.find(node); it != m_longest.end())
            return it->second;
        onPath.insert(node);
        int best = 1;
        for (const Answer &a : answers()) {
            std::vector<Answer> path = m_paths[node];
            path.push_back(a);
            Outcome o = run(path);
            if (o.failed || (o.done ? false : onPath.count(o.states) > 0)) {
                ADD_FAILURE() << (o.failed ? "failed" : "cycle") << " after " << describe(path);
                return -1;
            }
            if (o.done)
                continue;
            if (!m_paths.count(o.states))
                m_paths[o.states] = path;
            int sub = longestFrom(o.states, onPath);
            if (sub < 0)
                return -1;
            best = std::max(best, 1 + sub);
        }
        onPath.erase(node);
        m_longest[node] = best;
        return best;
    }

    static std::string describe(const std::vector<Answer> &path)
    {
        std::string text;
        for (const Answer &a : path)
            text += std::to_string(a.status) + "/" + std::to_string(a.offer) +
                    (a.close ? "/close " : " ");
        return text;
    }

    static int requestCount(THttpCli &client)
    {
        return int(client.simulatedRequest().count("GET http://127.0.0.1/w HTTP/1.1\r\n"));
    }

    static QByteArray text(const Answer &a)
    {
        static const QList<QByteArray> offers[] = {
            {},       {"NTLM " + kMessage2}, {"NTLM " + Base64Encode(QByteArray(20, 'N'))},
            {"NTLM"}, {"Basic realm=\"w\""}, {"Basic realm=\"w\"", "NTLM " + kMessage2},
        };
        if (a.status == 200)
            return a.close ? "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 0\r\n\r\n"
                           : kOk;
        return refusal(a.status, offers[a.offer], a.close);
    }

    EventLoop &m_loop;
    THttpCliOptions m_options;
    std::map<States, std::vector<Answer>> m_paths;
    std::map<States, int> m_longest;
};

TEST_F(HttpAuth, BookkeepingOverEveryAnswer)
{
    const struct {
        THttpCliOptions options;
        int longest;
    } cases[] = {
        {{}, 9},
        {{httpoNoNTLMAuth}, 4},
        {{httpoNoNTLMAuth, httpoNoBasicAuth}, 1},
    };
    for (const auto &c : cases) {
        AuthWalk walk(loop(), c.options);
        EXPECT_EQ(walk.longestChain(), c.longest);
    }
}

} // namespace
