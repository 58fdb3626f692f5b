// Connections through SOCKS servers: a scripted server checks the exact bytes
// of each request and plays every reply, whole and byte by byte; real
// servers (microsocks, dante) are the second check, through the HTTP client.
#include "net/http/httpprot.h"
#include "net/socket/wsocket.h"
#include "tests/net/http_support.h"

#include <gtest/gtest.h>

using namespace net;
using namespace nettest;

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// The level-5 connect request for 127.0.0.1:8080.
const QByteArray kRequest5 = bytes({5, 1, 0, 3, 9}) + "127.0.0.1" + bytes({0x1F, 0x90});
const QByteArray kReply5 = bytes({5, 0, 0, 1, 127, 0, 0, 1, 0x1F, 0x90});

template <typename... Steps> std::vector<ServerStep> script(Steps... steps)
{
    return {steps...};
}

// What the owner hears of a refusal: once, in this order.
QStringList failureEvents(int error, const QString &text)
{
    const QString n = QString::number(error);
    return {QStringLiteral("socks connected 0"), QStringLiteral("socks error %1 %2").arg(n, text),
            QStringLiteral("connected ") + n, QStringLiteral("closed ") + n};
}

// What a socket told its owner, in order.
struct SocksRecorder {
    explicit SocksRecorder(TCustomSocksWSocket &socket)
    {
        socket.OnSocksConnected = [this](TCustomWSocket *, std::uint16_t error) {
            events << QStringLiteral("socks connected %1").arg(error);
        };
        socket.OnSocksError = [this](TCustomWSocket *s, int error, const QString &msg) {
            events << QStringLiteral("socks error %1 %2").arg(error).arg(msg);
            failed(s, error);
        };
        socket.OnSocksAuthState = [this](TCustomWSocket *, TSocksAuthState state) {
            authStates.push_back(state);
        };
        socket.OnSessionConnected = [this](TCustomWSocket *s, std::uint16_t error) {
            events << QStringLiteral("connected %1").arg(error);
            failed(s, error);
        };
        socket.OnSessionClosed = [this](TCustomWSocket *s, std::uint16_t error) {
            events << QStringLiteral("closed %1").arg(error);
            failed(s, error);
            closed = true;
        };
        socket.OnDataAvailable = [this](TCustomWSocket *s, std::uint16_t) {
            char buffer[3];
            int n = s->Receive(buffer, sizeof buffer);
            if (n > 0) {
                if (data.isEmpty())
                    firstRead = QByteArray(buffer, n);
                data.append(buffer, n);
            }
        };
    }
    // A handler told of a failure finds the socket connected.
    void failed(TCustomWSocket *socket, int error)
    {
        if (error != 0 && socket->State() == wsConnected)
            ++connectedAfterFailure;
    }
    QStringList events;
    int connectedAfterFailure = 0;
    std::vector<TSocksAuthState> authStates;
    QByteArray data;
    QByteArray firstRead;
    bool closed = false;
};

class Socks : public BackendTest
{
protected:
    // Connects to 127.0.0.1:8080 through the scripted server.
    void start(TWSocket &socket, ScriptedServer &server, const QString &level,
               const QString &addr = QStringLiteral("127.0.0.1"))
    {
        socket.SetAddr(addr);
        socket.SetPort(QStringLiteral("8080"));
        socket.SetSocksServer(QStringLiteral(" 127.0.0.1 "));
        socket.SetSocksPort(QString::number(server.port()));
        socket.SetSocksLevel(level);
        socket.Connect();
    }
    bool waitEvent(const SocksRecorder &recorder, const QString &event)
    {
        return pumpUntil(loop(), [&] { return recorder.events.contains(event); });
    }
};

TEST_P(Socks, LevelFourAndFourARequestsAreExact)
{
    int lookups = 0;
    ResolverOverride resolver([&](const QString &, QStringList &) {
        ++lookups;
        return 11001;
    });
    struct Case {
        QString level, addr;
        QByteArray request;
    } cases[] = {
        {QStringLiteral("4"), QStringLiteral("127.0.0.1"),
         bytes({4, 1, 0x1F, 0x90, 127, 0, 0, 1}) + "abc" + bytes({0})},
        {QStringLiteral("4a"), QStringLiteral("localhost"),
         bytes({4, 1, 0x1F, 0x90, 0, 0, 0, 1}) + "abc" + bytes({0}) + "localhost" + bytes({0})},
    };
    for (const Case &c : cases) {
        ScriptedServer server{{readBytes(static_cast<int>(c.request.size())),
                               sendBytes(bytes({0, 90, 0x1F, 0x90, 127, 0, 0, 1})), sendBytes("hi"),
                               hold()}};
        TWSocket socket;
        SocksRecorder recorder(socket);
        socket.SetSocksUsercode(QStringLiteral("abc"));
        start(socket, server, c.level, c.addr);
        EXPECT_EQ(socket.SocksLevel(), c.level.toUpper());
        ASSERT_TRUE(pumpUntil(loop(), [&] { return recorder.data == "hi"; }))
            << c.level.toStdString();
        ASSERT_EQ(server.requests().size(), 1);
        EXPECT_EQ(server.requests()[0].toHex(), c.request.toHex()) << c.level.toStdString();
        EXPECT_EQ(recorder.events, QStringList({QStringLiteral("socks connected 0"),
                                                QStringLiteral("connected 0")}));
        socket.Close();
        // Every close puts the server, its port and the level back.
        EXPECT_EQ(socket.SocksServer(), QString());
        EXPECT_EQ(socket.SocksPort(), QString());
        EXPECT_EQ(socket.SocksLevel(), QStringLiteral("5"));
        EXPECT_EQ(socket.SocksUsercode(), QStringLiteral("abc"));
    }
    EXPECT_EQ(lookups, 0) << "4A leaves the name to the server";
}

TEST_P(Socks, LevelFiveConnectsOnlyOnceTheDestinationAnswered)
{
    ScriptedServer server{{readBytes(3), sendBytes(bytes({5, 0})), readBytes(16), pause(300),
                           sendBytes(kReply5), hold()}};
    TWSocket socket;
    SocksRecorder recorder(socket);
    start(socket, server, QStringLiteral("5"));
    ASSERT_TRUE(pumpUntil(loop(), [&] { return server.requests().size() == 2; }));
    EXPECT_EQ(recorder.events, QStringList({QStringLiteral("socks connected 0")}));
    EXPECT_EQ(socket.State(), wsConnected) << "the socket is up, its owner does not know yet";
    ASSERT_TRUE(waitEvent(recorder, QStringLiteral("connected 0")));
    EXPECT_EQ(server.requests()[0].toHex(), bytes({5, 1, 0}).toHex());
    EXPECT_EQ(server.requests()[1].toHex(), kRequest5.toHex());
    EXPECT_EQ(socket.SocksBoundAddr(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(socket.SocksBoundPort(), QStringLiteral("8080"));
    EXPECT_TRUE(recorder.authStates.empty());
}

TEST_P(Socks, UserAndPasswordOrNoAuthenticationAfterAll)
{
    struct Case {
        int method;
        std::vector<TSocksAuthState> states;
    } cases[] = {{2, {socksAuthStart, socksAuthSuccess}}, {0, {socksAuthNotRequired}}};
    for (const Case &c : cases) {
        ScriptedServer server;
        const QByteArray auth = bytes({1, 5}) + "alice" + bytes({6}) + "s3cret";
        if (c.method == 2) {
            server.addConnection({readBytes(3), sendBytes(bytes({5, 2})), readBytes(14),
                                  sendBytes(bytes({1, 0})), readBytes(16), sendBytes(kReply5),
                                  hold()});
        } else {
            server.addConnection({readBytes(3), sendBytes(bytes({5, 0})), readBytes(16),
                                  sendBytes(kReply5), hold()});
        }
        TWSocket socket;
        SocksRecorder recorder(socket);
        socket.SetSocksUsercode(QStringLiteral("alice"));
        socket.SetSocksPassword(QStringLiteral("s3cret"));
        socket.SetSocksAuthentication(socksAuthenticateUsercode);
        start(socket, server, QStringLiteral("5"));
        ASSERT_TRUE(waitEvent(recorder, QStringLiteral("connected 0"))) << c.method;
        QList<QByteArray> requests = server.requests();
        ASSERT_EQ(requests.size(), c.method == 2 ? 3 : 2);
        EXPECT_EQ(requests[0].toHex(), bytes({5, 1, 2}).toHex());
        if (c.method == 2) {
            EXPECT_EQ(requests[1].toHex(), auth.toHex());
        }
        EXPECT_EQ(requests.last().toHex(), kRequest5.toHex());
        EXPECT_EQ(recorder.authStates, c.states) << c.method;
    }
}

// A refusal reported once, in this order, whatever pieces the reply came in.
TEST_P(Socks, EveryFailureIsErrorThenConnectedThenOneClose)
{
    const char *const replyTexts[] = {
        "general SOCKS server failure", "connection not allowed by ruleset",
        "network unreachable",          "host unreachable",
        "connection refused",           "time to live expired",
        "command not supported",        "address type not supported"};
    struct Case {
        QString level;
        bool auth;
        QByteArray methodReply; // level 5
        QByteArray authReply;
        QByteArray reply;
        int error;
        QString text;
        bool wholeOnly = false;
    };
    std::vector<Case> cases;
    auto add = [&](const char *level, bool auth, const QByteArray &methodReply,
                   const QByteArray &authReply, const QByteArray &reply, int error,
                   const QString &text, bool wholeOnly = false) {
        cases.push_back(
            {QLatin1String(level), auth, methodReply, authReply, reply, error, text, wholeOnly});
    };
    for (int rep = 1; rep <= 9; ++rep)
        add("5", false, bytes({5, 0}), {}, bytes({5, rep, 0, 1, 127, 0, 0, 1, 0x1F, 0x90}),
            20003 + rep,
            rep <= 8 ? QString::fromLatin1(replyTexts[rep - 1])
                     : QStringLiteral("unassigned error #9"));
    cases.back().error = 20012;
    add("5", false, bytes({5, 255}), {}, {}, 20003,
        QStringLiteral("authentification method not acceptable"));
    add("5", true, bytes({5, 2}), bytes({1, 1}), {}, 20015,
        QStringLiteral("socks authentication failed"));
    add("5", true, bytes({5, 2}), bytes({1, 0, 0}), {}, 20001,
        QStringLiteral("too much data availaible"), true);
    add("5", false, bytes({5, 0}), {}, bytes({4, 0, 0, 1, 127, 0, 0, 1, 0x1F, 0x90}), 20002,
        QStringLiteral("socks version error"));
    add("5", false, bytes({5, 0}), {}, bytes({5, 0, 0, 4}) + QByteArray(18, '\0'), 20011,
        QStringLiteral("address type not supported"));
    const std::pair<int, const char *> fours[] = {{91, "request rejected or failed"},
                                                  {92, "connection refused"},
                                                  {93, "authentification failed"},
                                                  {94, "unassigned error #94"}};
    for (const auto &[code, text] : fours)
        add("4", false, {}, {}, bytes({0, code, 0x1F, 0x90, 127, 0, 0, 1}),
            code == 91   ? 20016
            : code == 92 ? 20008
            : code == 93 ? 20015
                         : 20012,
            QString::fromLatin1(text));
    for (const Case &c : cases) {
        for (bool piecewise : {false, true}) {
            if (piecewise && c.wholeOnly)
                continue;
            auto send = [&](const QByteArray &reply) {
                return piecewise ? sendPieces(reply, 1, 15)
                                 : std::vector<ServerStep>{sendBytes(reply)};
            };
            std::vector<ServerStep> steps;
            if (c.level == QLatin1String("4")) {
                steps.push_back(readBytes(10));
            } else {
                steps.push_back(readBytes(3));
                for (const ServerStep &s : send(c.methodReply))
                    steps.push_back(s);
                if (c.auth) {
                    steps.push_back(readBytes(5));
                    for (const ServerStep &s : send(c.authReply))
                        steps.push_back(s);
                } else if (!c.reply.isEmpty()) {
                    steps.push_back(readBytes(16));
                }
            }
            for (const ServerStep &s : send(c.reply))
                steps.push_back(s);
            steps.push_back(hold());
            ScriptedServer server{steps};
            TWSocket socket;
            SocksRecorder recorder(socket);
            socket.SetSocksUsercode(QStringLiteral("u"));
            socket.SetSocksPassword(QStringLiteral("p"));
            if (c.auth)
                socket.SetSocksAuthentication(socksAuthenticateUsercode);
            start(socket, server, c.level);
            const QString where = c.text + (piecewise ? QStringLiteral(" (piecewise)") : QString());
            ASSERT_TRUE(pumpUntil(loop(), [&] { return recorder.closed; })) << where.toStdString();
            pumpFor(loop(), 30);
            EXPECT_EQ(recorder.events, failureEvents(c.error, c.text)) << where.toStdString();
            EXPECT_EQ(recorder.connectedAfterFailure, 0) << where.toStdString();
            EXPECT_EQ(socket.State(), wsClosed);
        }
    }
}

TEST_P(Socks, TheServerClosingOrAnOverlongFieldFails)
{
    struct Case {
        std::vector<ServerStep> steps;
        QString password;
        int error;
        QString text;
        int requests;
    } cases[] = {
        {script(readBytes(3), closeConnection()), QStringLiteral("p"), 20014,
         QStringLiteral("socks server closed the connection"), 1},
        {script(readBytes(3), sendBytes(bytes({5, 2})), hold()), QString(256, QLatin1Char('x')),
         20013, QStringLiteral("socks request too long"), 1},
    };
    for (const Case &c : cases) {
        ScriptedServer server{c.steps};
        TWSocket socket;
        SocksRecorder recorder(socket);
        socket.SetSocksUsercode(QStringLiteral("u"));
        socket.SetSocksPassword(c.password);
        socket.SetSocksAuthentication(socksAuthenticateUsercode);
        start(socket, server, QStringLiteral("5"));
        ASSERT_TRUE(pumpUntil(loop(), [&] { return recorder.closed; })) << c.error;
        pumpFor(loop(), 100);
        EXPECT_EQ(recorder.events, failureEvents(c.error, c.text));
        server.stop();
        EXPECT_EQ(server.requests().size(), c.requests) << "nothing sent after the offer";
    }
}

// A server may only choose a method it was offered: one that asks for
// credentials the client did not offer gets none of them, only a close.
TEST_P(Socks, AMethodNotOfferedGetsNoCredentials)
{
    struct Case {
        const char *name;
        QString user, password;
        TSocksAuthentication authentication;
        int method;
        int offered;
    } cases[] = {
        {"no user name, user/password chosen", {}, {}, socksNoAuthentication, 2, 0},
        {"credentials set but not offered", QStringLiteral("alice"), QStringLiteral("s3cret"),
         socksNoAuthentication, 2, 0},
        {"user/password offered, another chosen", QStringLiteral("alice"), QStringLiteral("s3cret"),
         socksAuthenticateUsercode, 1, 2},
    };
    for (const Case &c : cases) {
        ScriptedServer server;
        // Anything the client sends after the method reply is recorded.
        server.addConnection({readBytes(3), sendBytes(bytes({5, c.method})), readBytes(1), hold()});
        TWSocket socket;
        SocksRecorder recorder(socket);
        socket.SetSocksUsercode(c.user);
        socket.SetSocksPassword(c.password);
        socket.SetSocksAuthentication(c.authentication);
        start(socket, server, QStringLiteral("5"));
        EXPECT_TRUE(pumpUntil(
            loop(), [&] { return recorder.closed; }, 3000))
            << c.name;
        pumpFor(loop(), 50);
        server.stop();
        const QList<QByteArray> received = server.requests();
        ASSERT_FALSE(received.isEmpty()) << c.name;
        EXPECT_EQ(received[0].toHex(), bytes({5, 1, c.offered}).toHex()) << c.name;
        EXPECT_EQ(received.size(), 1) << c.name << ": nothing after the offer, got "
                                      << received.value(1).toHex().toStdString();
        EXPECT_EQ(recorder.events,
                  failureEvents(20003, QStringLiteral("authentification method not acceptable")))
            << c.name;
        EXPECT_TRUE(recorder.authStates.empty()) << c.name;
        EXPECT_EQ(socket.State(), wsClosed) << c.name;
    }
}

TEST_P(Socks, DataAfterTheReplyComesFirstAndLongNamesFit)
{
    const QByteArray name(255, 'n');
    const QByteArray longReply = bytes({5, 0, 0, 3, 255}) + name + bytes({0x1F, 0x91});
    struct Case {
        QByteArray reply;
        bool piecewise;
        QString bound, port;
    } cases[] = {{kReply5 + "hello", false, QStringLiteral("127.0.0.1"), QStringLiteral("8080")},
                 {longReply + "hello", false, QString::fromLatin1(name), QStringLiteral("8081")},
                 {longReply + "hello", true, QString::fromLatin1(name), QStringLiteral("8081")}};
    for (const Case &c : cases) {
        ScriptedServer server;
        std::vector<ServerStep> steps{readBytes(3), sendBytes(bytes({5, 0})), readBytes(16)};
        for (const ServerStep &s :
             c.piecewise ? sendPieces(c.reply, 1, 5) : std::vector<ServerStep>{sendBytes(c.reply)})
            steps.push_back(s);
        steps.push_back(sendBytes("world"));
        steps.push_back(hold());
        server.addConnection(steps);
        TWSocket socket;
        SocksRecorder recorder(socket);
        start(socket, server, QStringLiteral("5"));
        ASSERT_TRUE(pumpUntil(loop(), [&] { return recorder.data.size() >= 10; }));
        EXPECT_EQ(recorder.data, "helloworld");
        if (!c.piecewise) {
            EXPECT_EQ(recorder.firstRead, "hel") << "the bytes of the reply's read come first";
        }
        EXPECT_EQ(socket.SocksBoundAddr(), c.bound);
        EXPECT_EQ(socket.SocksBoundPort(), c.port);
        EXPECT_EQ(socket.ReadCount(), 10) << "each byte counted once";
    }
}

TEST_P(Socks, RefusalsOfUse)
{
    TWSocket socket;
    auto refusal = [](const std::function<void()> &call) {
        return thrownMessage<ESocketException>(call);
    };
    EXPECT_EQ(refusal([&] { socket.SetSocksLevel(QStringLiteral("6")); }),
              QStringLiteral("Invalid socks level. Must be 4, 4A or 5."));
    EXPECT_EQ(refusal([&] { socket.SetSocksLevel(QString()); }),
              QStringLiteral("Invalid socks level. Must be 4, 4A or 5."));
    EXPECT_EQ(socket.SocksLevel(), QStringLiteral("5"));
    socket.SetSocksServer(QStringLiteral("127.0.0.1"));
    socket.SetSocksPort(QStringLiteral("1080"));
    EXPECT_EQ(refusal([&] { socket.Listen(); }),
              QStringLiteral("Listening is not supported thru socks server"));
    socket.SetAddr(QStringLiteral("127.0.0.1"));
    socket.SetPort(QStringLiteral("80"));
    socket.SetProto(QStringLiteral("udp"));
    EXPECT_EQ(refusal([&] { socket.Connect(); }),
              QStringLiteral("TCP is the only protocol supported thru socks server"));
    socket.SetProto(QStringLiteral("tcp"));
    socket.SetSocksPort(QStringLiteral("nosuchservice"));
    EXPECT_TRUE(refusal([&] {
                    socket.Connect();
                }).startsWith(QStringLiteral("Connect: Winsock Resolve Port: Cannot convert")));

    // While connected (to a SOCKS server that never answers) nothing moves.
    ScriptedServer server{{hold()}};
    socket.SetSocksPort(QString::number(server.port()));
    socket.Connect();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return socket.State() == wsConnected; }));
    EXPECT_EQ(refusal([&] { socket.SetSocksServer(QStringLiteral("x")); }),
              QStringLiteral("Can't change socks server if not closed"));
    EXPECT_EQ(refusal([&] { socket.SetSocksPort(QStringLiteral("1")); }),
              QStringLiteral("Can't change socks port if not closed"));
    EXPECT_EQ(refusal([&] { socket.SetSocksLevel(QStringLiteral("4")); }),
              QStringLiteral("Can't change socks level if not closed"));
    EXPECT_EQ(refusal([&] { socket.Connect(); }), QStringLiteral("Connect: Socket already in use"));
    EXPECT_EQ(socket.SocksServer(), QStringLiteral("127.0.0.1"));
    // Closed by its owner during the exchange: a plain close, no SOCKS error.
    QStringList events;
    socket.OnSocksError = [&](TCustomWSocket *, int e, const QString &) {
        events << QString::number(e);
    };
    socket.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t e) {
        events << QStringLiteral("closed %1").arg(e);
    };
    socket.Close();
    EXPECT_EQ(events, QStringList({QStringLiteral("closed 0")}));
}

// Every way SOCKS fails, whatever its owner does from the handlers: no
// handler finds the failed connection connected, a send fails and reaches
// nobody, and the connection ends with one close, heard before anything of
// the connection the owner opens next (through SOCKS again, or directly).
TEST_P(Socks, AFailedConnectionEndsOnceWhateverItsOwnerDoes)
{
    const QByteArray junk = "junk";
    const char *const left = "socks server closed the connection";
    struct Path {
        const char *name; // its level first
        bool auth;
        int error;
        int requests; // what the server reads of the exchange
        const char *text;
        std::vector<ServerStep> steps;
    } paths[] = {
        {"5, leaves after the offer", false, 20014, 1, left,
         script(readBytes(3), closeConnection())},
        {"5, leaves after the request", false, 20014, 2, left,
         script(readBytes(3), sendBytes(bytes({5, 0})), readBytes(16), closeConnection())},
        {"5, leaves after the credentials", true, 20014, 2, left,
         script(readBytes(3), sendBytes(bytes({5, 2})), readBytes(5), closeConnection())},
        // After a refusal the server reads on: a byte of the owner's would
        // be one more request.
        {"5, credentials refused", true, 20015, 2, "socks authentication failed",
         script(readBytes(3), sendBytes(bytes({5, 2})), readBytes(5),
                sendBytes(bytes({1, 1}) + junk), readBytes(1), hold())},
        {"5, no method", false, 20003, 1, "authentification method not acceptable",
         script(readBytes(3), sendBytes(bytes({5, 255}) + junk), readBytes(1), hold())},
        {"5, refused", false, 20008, 2, "connection refused",
         script(readBytes(3), sendBytes(bytes({5, 0})), readBytes(16),
                sendBytes(bytes({5, 5, 0, 1, 127, 0, 0, 1, 0x1F, 0x90}) + junk), readBytes(1),
                hold())},
        {"4, refused", false, 20016, 1, "request rejected or failed",
         script(readBytes(10), sendBytes(bytes({0, 91, 0x1F, 0x90, 127, 0, 0, 1}) + junk),
                readBytes(1), hold())},
        {"4A, refused", false, 20015, 1, "authentification failed",
         script(readBytes(20), sendBytes(bytes({0, 93, 0x1F, 0x90, 0, 0, 0, 1})), readBytes(1),
                hold())},
        {"4, leaves after the request", false, 20014, 1, left,
         script(readBytes(10), closeConnection())},
    };
    enum Action {
        Nothing,
        Send, // from every handler of the failure
        CloseOnly,
        ThroughSocksFromError,
        DirectFromError,
        ThroughSocksFromConnected,
        ConnectWithoutClose, // from OnSocksError, to another SOCKS server
    };
    for (const Path &path : paths) {
        for (Action action : {Nothing, Send, CloseOnly, ThroughSocksFromError, DirectFromError,
                              ThroughSocksFromConnected, ConnectWithoutClose}) {
            SCOPED_TRACE(testing::Message() << path.name << ", action " << action);
            ScriptedServer failing{path.steps};
            ScriptedServer relay{{readBytes(3), sendBytes(bytes({5, 0})), readBytes(16),
                                  sendBytes(kReply5 + "after"), hold()}};
            ScriptedServer direct{{sendBytes("after"), hold()}};
            TWSocket socket;
            SocksRecorder recorder(socket);
            bool given = false;
            auto send = [&] {
                int sent;
                try {
                    sent = socket.SendStr("OWNER");
                } catch (const ESocketException &) {
                    sent = -1;
                }
                recorder.events << QStringLiteral("send %1").arg(sent);
            };
            auto giveUp = [&] {
                if (given)
                    return;
                given = true;
                if (action != ConnectWithoutClose)
                    socket.Close();
                if (action == CloseOnly)
                    return;
                const bool socks = action != DirectFromError;
                socket.SetSocksServer(socks ? QStringLiteral("127.0.0.1") : QString());
                socket.SetSocksPort(socks ? QString::number(relay.port()) : QString());
                socket.SetSocksLevel(QStringLiteral("5"));
                socket.SetSocksAuthentication(socksNoAuthentication);
                socket.SetAddr(QStringLiteral("127.0.0.1"));
                socket.SetPort(socks ? QStringLiteral("8080") : QString::number(direct.port()));
                socket.Connect();
            };
            auto onError = socket.OnSocksError;
            socket.OnSocksError = [&, onError](TCustomWSocket *s, int e, const QString &m) {
                onError(s, e, m);
                if (action == Send)
                    send();
                else if (action != Nothing && action != ThroughSocksFromConnected)
                    giveUp();
            };
            auto onConnected = socket.OnSessionConnected;
            socket.OnSessionConnected = [&, onConnected](TCustomWSocket *s, std::uint16_t e) {
                onConnected(s, e);
                if (e != 0 && action == Send)
                    send();
                if (e != 0 && action == ThroughSocksFromConnected)
                    giveUp();
            };
            auto onClosed = socket.OnSessionClosed;
            socket.OnSessionClosed = [&, onClosed](TCustomWSocket *s, std::uint16_t e) {
                onClosed(s, e);
                if (action == Send)
                    send();
            };
            socket.SetSocksUsercode(QStringLiteral("u"));
            socket.SetSocksPassword(QStringLiteral("p"));
            if (path.auth)
                socket.SetSocksAuthentication(socksAuthenticateUsercode);
            start(socket, failing, QString::fromLatin1(path.name).section(u',', 0, 0));
            const bool reconnects = action >= ThroughSocksFromError;
            ASSERT_TRUE(pumpUntil(
                loop(), [&] { return reconnects ? recorder.data.size() >= 5 : recorder.closed; }));
            pumpFor(loop(), 50);
            // What follows the error, by action (N: the failure's number).
            const char *const heardAfter[] = {
                "connected N | closed N",
                "send -1 | connected N | send -1 | closed N | send -1",
                "closed N",
                "closed N | socks connected 0 | connected 0",
                "closed N | connected 0",
                "connected N | closed N | socks connected 0 | connected 0",
                "closed N | socks connected 0 | connected 0"};
            const QString n = QString::number(path.error);
            const QString expected =
                QStringLiteral("socks connected 0 | socks error %1 %2 | ")
                    .arg(n, QString::fromLatin1(path.text)) +
                QString::fromLatin1(heardAfter[action]).replace(QLatin1Char('N'), n);
            EXPECT_EQ(recorder.events.join(QStringLiteral(" | ")).toStdString(),
                      expected.toStdString());
            EXPECT_EQ(recorder.connectedAfterFailure, 0);
            EXPECT_EQ(recorder.data, reconnects ? QByteArray("after") : QByteArray());
            if (reconnects && action != DirectFromError) {
                EXPECT_EQ(relay.requests().value(0).toHex(), bytes({5, 1, 0}).toHex());
            }
            failing.stop();
            EXPECT_EQ(failing.requests().size(), path.requests) << "no byte of the owner's";
        }
    }
}

NET_INSTANTIATE_BACKENDS(Socks);

// ---------------------------------------------------------------------------
// The HTTP client through real SOCKS servers.

class SocksInterop : public BackendTest
{
protected:
    struct Outcome {
        std::vector<HttpRecorder::Done> done;
        QString reason;
        QList<int> socksErrors;
    };
    Outcome head(const QString &url, const QString &level, int socksPort,
                 const QString &user = QString(), const QString &password = QString())
    {
        THttpCli client;
        HttpRecorder recorder(client);
        Outcome outcome;
        client.OnSocksError = [&](TCustomWSocket *sender, int error, const QString &) {
            EXPECT_EQ(sender, &client.CtrlSocket());
            outcome.socksErrors << error;
        };
        client.SetURL(url);
        client.SetSocksServer(QStringLiteral("127.0.0.1"));
        client.SetSocksPort(QString::number(socksPort));
        client.SetSocksLevel(level);
        if (!user.isEmpty()) {
            client.SetSocksUsercode(user);
            client.SetSocksPassword(password);
            client.SetSocksAuthentication(socksAuthenticateUsercode);
        }
        client.HeadAsync();
        EXPECT_TRUE(waitDone(loop(), recorder));
        pumpFor(loop(), 50);
        outcome.done = recorder.done;
        outcome.reason = client.ReasonPhrase();
        return outcome;
    }
    static std::vector<ServerStep> okReply() { return answerOnce(okWith(""), true); }
};

TEST_P(SocksInterop, HeadThroughMicrosocksAndDante)
{
    ProcessPeer microsocks, dante;
    const bool haveMicrosocks =
        microsocks.startMicrosocks(QStringLiteral("user"), QStringLiteral("secret"));
    const bool haveDante = dante.startDante();
    if (!haveMicrosocks && !haveDante)
        GTEST_SKIP() << "microsocks and dante are not installed";
    struct Case {
        ProcessPeer *peer;
        QString level, user;
    };
    std::vector<Case> cases;
    if (haveMicrosocks)
        cases.push_back({&microsocks, QStringLiteral("5"), QStringLiteral("user")});
    if (haveDante) {
        cases.push_back({&dante, QStringLiteral("4"), QString()});
        cases.push_back({&dante, QStringLiteral("5"), QString()});
    }
    for (const Case &c : cases) {
        ScriptedServer origin{okReply(), okReply()};
        Outcome direct;
        {
            THttpCli client;
            HttpRecorder recorder(client);
            client.SetURL(origin.url(QStringLiteral("/page")));
            client.HeadAsync();
            ASSERT_TRUE(waitDone(loop(), recorder));
            direct.done = recorder.done;
        }
        Outcome relayed = head(origin.url(QStringLiteral("/page")), c.level, c.peer->port(), c.user,
                               QStringLiteral("secret"));
        ASSERT_EQ(relayed.done.size(), 1u) << c.level.toStdString();
        EXPECT_EQ(std::tuple(relayed.done[0].error, relayed.done[0].status), std::tuple(0, 200));
        ASSERT_EQ(origin.requests().size(), 2);
        EXPECT_EQ(origin.requests()[1], origin.requests()[0]) << "request bytes as direct";
    }
}

TEST_P(SocksInterop, RefusalsReachTheRequest)
{
    ProcessPeer microsocks, dante;
    const bool haveMicrosocks =
        microsocks.startMicrosocks(QStringLiteral("user"), QStringLiteral("secret"));
    const bool haveDante = dante.startDante();
    if (!haveMicrosocks && !haveDante)
        GTEST_SKIP() << "microsocks and dante are not installed";
    ScriptedServer origin;
    struct Case {
        ProcessPeer *peer;
        QString level, user, password;
        QString url;
        int error;
    };
    std::vector<Case> cases;
    if (haveMicrosocks)
        cases.push_back({&microsocks, QStringLiteral("5"), QStringLiteral("user"),
                         QStringLiteral("wrong"), origin.url(QStringLiteral("/")), 20015});
    if (haveDante) {
        cases.push_back({&dante, QStringLiteral("4A"), QString(), QString(),
                         origin.url(QStringLiteral("/")), 20016});
        cases.push_back({&dante, QStringLiteral("5"), QString(), QString(),
                         QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()), 20008});
    }
    for (const Case &c : cases) {
        Outcome outcome = head(c.url, c.level, c.peer->port(), c.user, c.password);
        ASSERT_EQ(outcome.done.size(), 1u) << c.error;
        EXPECT_EQ(outcome.done[0].error, c.error);
        EXPECT_EQ(outcome.done[0].status, 404);
        EXPECT_EQ(outcome.reason, QStringLiteral("Not a WinSock error (Error #%1)").arg(c.error));
        EXPECT_EQ(outcome.socksErrors, QList<int>({c.error}));
    }
    EXPECT_EQ(origin.connections(), 0);
}

TEST_P(SocksInterop, ClosedServerPortLeavingServerAndAbortDuringTheExchange)
{
    Outcome refused =
        head(QStringLiteral("http://127.0.0.1:8080/"), QStringLiteral("5"), closedPort());
    ASSERT_EQ(refused.done.size(), 1u);
    EXPECT_EQ(std::tuple(refused.done[0].error, refused.done[0].status), std::tuple(10061, 404));
    EXPECT_EQ(refused.reason, QStringLiteral("Connection refused (Error #10061)"));

    // A server that leaves during the exchange fails the request.
    ScriptedServer leaving{{readBytes(3), closeConnection()}};
    Outcome left =
        head(QStringLiteral("http://127.0.0.1:8080/"), QStringLiteral("5"), leaving.port());
    ASSERT_EQ(left.done.size(), 1u);
    EXPECT_EQ(std::tuple(left.done[0].error, left.done[0].status), std::tuple(20014, 404));
    EXPECT_EQ(left.socksErrors, QList<int>({20014}));

    ScriptedServer stalling{{readBytes(3), hold()}};
    THttpCli client;
    HttpRecorder recorder(client);
    int socksConnected = 0;
    client.OnSocksConnected = [&](TCustomWSocket *, std::uint16_t) { ++socksConnected; };
    client.SetURL(QStringLiteral("http://127.0.0.1:8080/"));
    client.SetSocksServer(QStringLiteral("127.0.0.1"));
    client.SetSocksPort(QString::number(stalling.port()));
    client.HeadAsync();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return stalling.requests().size() == 1; }));
    client.Abort();
    pumpFor(loop(), 300);
    ASSERT_EQ(recorder.done.size(), 1u);
    EXPECT_EQ(recorder.done[0].error, httperrAborted);
    EXPECT_EQ(socksConnected, 1);
}

TEST_P(SocksInterop, TheClientsLevelSetter)
{
    THttpCli client;
    for (const char *level : {"", "4", "4a", "4A", "5"}) {
        client.SetSocksLevel(QLatin1String(level));
        EXPECT_EQ(client.SocksLevel(), QString::fromLatin1(level).toUpper());
    }
    for (const char *level : {"6", "4b", " 5"})
        EXPECT_EQ(
            thrownMessage<ESocketException>([&] { client.SetSocksLevel(QLatin1String(level)); }),
            QStringLiteral("Invalid socks level. Must be 4, 4A or 5."))
            << level;
    EXPECT_EQ(client.SocksLevel(), QStringLiteral("5"));
}

// A request given up from OnSocksError (or the failed connect that follows)
// for one through another SOCKS server, or direct: one completion each, and
// the next one goes its own way.
TEST_P(SocksInterop, ARequestStartedFromASocksErrorGoesItsOwnWay)
{
    const std::vector<ServerStep> leaves{readBytes(3), closeConnection()};
    const std::vector<ServerStep> refuses{
        readBytes(3), sendBytes(bytes({5, 0})), readBytes(16),
        sendBytes(bytes({5, 5, 0, 1, 127, 0, 0, 1, 0x1F, 0x90}) + "junk"), hold()};
    for (const auto &[left, socks, fromConnected] :
         {std::tuple{leaves, true, false}, std::tuple{leaves, false, false},
          std::tuple{refuses, true, false}, std::tuple{refuses, false, false},
          std::tuple{leaves, true, true}, std::tuple{refuses, false, true}}) {
        SCOPED_TRACE(testing::Message() << (left.size() == 2 ? "leaves" : "refuses")
                                        << (socks ? ", then through SOCKS" : ", then direct")
                                        << (fromConnected ? ", from the connect" : ""));
        ScriptedServer first{left};
        ScriptedServer origin{answerOnce(okWith("second", "1.0"))};
        std::vector<ServerStep> relayed{readBytes(3), sendBytes(bytes({5, 0})), readBytes(16),
                                        sendBytes(kReply5)};
        for (const ServerStep &step : answerOnce(okWith("second", "1.0")))
            relayed.push_back(step);
        ScriptedServer relay{relayed};
        THttpCli client;
        HttpRecorder recorder(client);
        int socksErrors = 0;
        bool given = false;
        auto giveUp = [&] {
            if (given)
                return;
            given = true;
            client.Abort();
            client.SetSocksServer(socks ? QStringLiteral("127.0.0.1") : QString());
            client.SetSocksPort(socks ? QString::number(relay.port()) : QString());
            client.SetURL(origin.url(QStringLiteral("/second")));
            client.GetASync();
        };
        client.OnSocksError = [&](TCustomWSocket *, int, const QString &) {
            if (++socksErrors == 1 && !fromConnected)
                giveUp();
        };
        client.OnSessionConnected = [&](THttpCli *) {
            if (socksErrors == 1 && fromConnected)
                giveUp();
        };
        client.SetURL(QStringLiteral("http://127.0.0.1:8080/first"));
        client.SetSocksServer(QStringLiteral("127.0.0.1"));
        client.SetSocksPort(QString::number(first.port()));
        client.GetASync();
        EXPECT_TRUE(waitDone(loop(), recorder, 2, 5000));
        pumpFor(loop(), 100);
        EXPECT_EQ(recorder.errors(), (Errors{httperrAborted, 0}));
        EXPECT_EQ(recorder.body, "second");
        EXPECT_EQ(socksErrors, 1);
        EXPECT_EQ(client.State(), httpReady);
        const QList<QByteArray> got = (socks ? relay : origin).requests();
        EXPECT_EQ(got.value(0).left(socks ? 3 : 12),
                  socks ? bytes({5, 1, 0}) : QByteArray("GET /second "));
        EXPECT_EQ(relay.connections() + origin.connections(), 1);
    }
}

// A kept connection serves the next request only on the route it was
// opened for: another local address, proxy or SOCKS setting opens a new one.
TEST_P(SocksInterop, AKeptConnectionServesOnlyTheRouteItWasOpenedFor)
{
    struct Route {
        int server;    // the origin, or one of two other loopback servers
        QString level; // SOCKS level; none: direct (or to the proxy)
        QString password;
        bool proxy;
        QString local;
        bool refuses;
    };
    auto route = [](int server, const char *level = "", const char *password = "",
                    bool proxy = false, const char *local = "", bool refuses = false) {
        return Route{server, QLatin1String(level), QLatin1String(password),
                     proxy,  QLatin1String(local), refuses};
    };
    const Route direct = route(0);
    const Route socks5 = route(1, "5");
    struct Case {
        const char *name;
        Route first, next;
        std::uint16_t error;
    } cases[] = {
        {"SOCKS, then direct", socks5, direct, 0},
        {"direct, then SOCKS", direct, socks5, 0},
        {"SOCKS 5, then 4 on the same server", socks5, route(1, "4"), 0},
        {"another SOCKS port", socks5, route(2, "5"), 0},
        {"with credentials", socks5, route(1, "5", "p"), 0},
        {"another password", route(1, "5", "p"), route(1, "5", "q"), 0},
        {"another local address", direct, route(0, "", "", false, "127.0.0.2"), 0},
        {"the proxy that was the origin, then direct", route(0, "", "", true), direct, 0},
        {"direct, then a refusing SOCKS server", direct, route(1, "5", "", false, "", true), 20003},
    };
    auto script = [](const Route &r) {
        std::vector<ServerStep> steps;
        if (r.refuses)
            return std::vector<ServerStep>{readBytes(3), sendBytes(bytes({5, 255})), hold()};
        if (r.level == QLatin1String("4")) {
            steps = {readBytes(10), sendBytes(bytes({0, 90, 0, 0, 0, 0, 0, 0}))};
        } else if (!r.level.isEmpty()) {
            steps.push_back(readBytes(3));
            if (!r.password.isEmpty())
                steps.insert(steps.end(), {sendBytes(bytes({5, 2})),
                                           readBytes(4 + static_cast<int>(r.password.size())),
                                           sendBytes(bytes({1, 0}))});
            else
                steps.push_back(sendBytes(bytes({5, 0})));
            steps.insert(steps.end(), {readBytes(16), sendBytes(kReply5)});
        }
        // Answers and keeps the connection for one more request.
        steps.insert(steps.end(), {readRequest(), sendBytes(okWith("a")), readRequest(),
                                   sendBytes(okWith("b")), hold()});
        return steps;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer servers[3];
        servers[c.first.server].addConnection(script(c.first));
        servers[c.next.server].addConnection(script(c.next));
        THttpCli client;
        HttpRecorder recorder(client);
        auto take = [&](const Route &r) {
            client.SetSocksServer(r.level.isEmpty() ? QString() : QStringLiteral("127.0.0.1"));
            client.SetSocksPort(r.level.isEmpty() ? QString()
                                                  : QString::number(servers[r.server].port()));
            client.SetSocksLevel(r.level);
            client.SetSocksUsercode(QStringLiteral("u"));
            client.SetSocksPassword(r.password);
            client.SetSocksAuthentication(r.password.isEmpty() ? socksNoAuthentication
                                                               : socksAuthenticateUsercode);
            client.SetProxy(r.proxy ? QStringLiteral("127.0.0.1") : QString());
            client.SetProxyPort(QString::number(servers[r.server].port()));
            client.SetLocalAddr(r.local.isEmpty() ? QStringLiteral("0.0.0.0") : r.local);
        };
        client.OnRequestDone = [&](THttpCli *sender, THttpRequest rq, std::uint16_t error) {
            recorder.done.push_back({rq, error, sender->StatusCode()});
            if (recorder.done.size() == 1) {
                take(c.next);
                sender->GetASync();
            }
        };
        client.SetRequestVer(QStringLiteral("1.1"));
        client.SetURL(servers[0].url(QStringLiteral("/")));
        take(c.first);
        client.GetASync();
        EXPECT_TRUE(waitDone(loop(), recorder, 2, 5000));
        pumpFor(loop(), 50);
        EXPECT_EQ(recorder.errors(), (Errors{0, c.error}));
        EXPECT_EQ(servers[0].connections() + servers[1].connections() + servers[2].connections(),
                  2);
    }
}

NET_INSTANTIATE_BACKENDS(SocksInterop);

} // namespace
