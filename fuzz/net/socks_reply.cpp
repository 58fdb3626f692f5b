// A SOCKS server's answers, through the socket's own code over a scripted
// socket binding. Input: a byte choosing the level and the authentication, a
// byte seeding the split schedule, then the server's bytes. As a server
// would, each answer goes out only once the socket sent its request: the
// method reply and the authentication reply take 2 bytes each, the connect
// reply the rest, every answer cut in pieces by the schedule.
// Checked: exactly one outcome, never none (connected, then at most the close
// of the connection; or the SOCKS error, the failed connection and one close
// with that number, in that order, none of them finding the socket connected
// or letting the owner send); once connected, the owner reads exactly the
// bytes after the reply; the notifications stay bounded.
#include "net/loop/eventloop.h"
#include "net/socket/wsocket.h"
#include "tests/net/scripted_socket.h"

#include <cstdint>
#include <cstdlib>
#include <random>

namespace
{

net::EventLoop &fuzzLoop()
{
    static net::LoopScope scope(net::EventLoop::Backend::Poll);
    return scope.loop();
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    net::EventLoop &loop = fuzzLoop();
    const int mode = data[0] % 4; // 4, 4A, 5, 5 with user name and password
    std::mt19937 schedule(data[1]);
    const QByteArray server(reinterpret_cast<const char *>(data + 2),
                            static_cast<qsizetype>(size - 2));

    nettest::ScriptedApi api;
    QStringList events;
    QByteArray received;
    int dispatches = 0;
    {
        nettest::ScriptedSocket socket;
        // Once failed, the socket is not connected and sends nothing.
        auto failed = [&](net::TCustomWSocket *s) {
            check(s->State() != net::wsConnected);
            const qsizetype sent = api.sent.size();
            try {
                s->SendStr("owner");
            } catch (const net::ESocketException &) {
            }
            check(api.sent.size() == sent);
        };
        socket.OnSocksError = [&](net::TCustomWSocket *s, int error, const QString &) {
            events << QStringLiteral("error %1").arg(error);
            failed(s);
        };
        socket.OnSessionConnected = [&](net::TCustomWSocket *s, std::uint16_t error) {
            events << QStringLiteral("connected %1").arg(error);
            if (error != 0)
                failed(s);
        };
        socket.OnSessionClosed = [&](net::TCustomWSocket *s, std::uint16_t error) {
            events << QStringLiteral("closed %1").arg(error);
            if (error != 0)
                failed(s);
        };
        socket.OnDataAvailable = [&](net::TCustomWSocket *s, std::uint16_t) {
            ++dispatches;
            char buffer[7];
            int n = s->Receive(buffer, sizeof buffer);
            if (n > 0)
                received.append(buffer, n);
        };
        socket.SetSocksServer(QStringLiteral("127.0.0.1"));
        socket.SetSocksPort(QStringLiteral("1080"));
        socket.SetSocksLevel(mode == 0   ? QStringLiteral("4")
                             : mode == 1 ? QStringLiteral("4A")
                                         : QStringLiteral("5"));
        socket.SetSocksUsercode(QStringLiteral("user"));
        socket.SetSocksPassword(QStringLiteral("secret"));
        if (mode == 3)
            socket.SetSocksAuthentication(net::socksAuthenticateUsercode);
        socket.connectScripted();

        qsizetype at = 0;
        qsizetype replyStart = -1;
        auto feedPieces = [&](qsizetype length) {
            qsizetype end = std::min(server.size(), at + length);
            while (at < end && socket.State() == net::wsConnected) {
                qsizetype piece = std::uniform_int_distribution<qsizetype>(1, 12)(schedule);
                piece = std::min(piece, end - at);
                api.feed(server.mid(at, piece));
                at += piece;
                socket.inject(net::FD_READ);
                loop.processPending();
            }
        };
        // Answers while the socket keeps asking: each request it sends is a
        // new stage.
        for (int stage = 0; stage < 3 && socket.State() == net::wsConnected; ++stage) {
            const qsizetype sentBefore = api.sent.size();
            if (!events.isEmpty())
                break;
            const bool connectStage = mode < 2 || api.sent.endsWith(QByteArray("\x1f\x90", 2));
            if (connectStage) {
                replyStart = at;
                feedPieces(server.size() - at);
                break;
            }
            feedPieces(2);
            if (api.sent.size() == sentBefore)
                break;
        }
        api.endOfStream();
        if (socket.State() == net::wsConnected)
            socket.inject(net::FD_CLOSE);
        loop.processPending();

        check(dispatches <= 2 * server.size() + 8);
        // The stream has ended: whatever the server sent, the owner has been
        // told how the connection went.
        check(!events.isEmpty());
        const bool connected = events.first() == QStringLiteral("connected 0");
        if (connected) {
            check(events.size() == 1 ||
                  (events.size() == 2 && events[1] == QStringLiteral("closed 0")));
            check(replyStart >= 0);
            qsizetype length;
            if (mode < 2) {
                length = 8;
            } else {
                const uchar type = static_cast<uchar>(server.at(replyStart + 3));
                length = type == 1 ? 10 : 7 + static_cast<uchar>(server.at(replyStart + 4));
            }
            check(received == server.mid(replyStart + length));
        } else {
            // A refusal, or the server leaving: the error, the failed
            // connection, one close, all with the same number.
            check(events.size() == 3);
            const QString n = events[0].mid(6);
            check(events[0].startsWith(QStringLiteral("error ")));
            check(events[1] == QStringLiteral("connected ") + n);
            check(events[2] == QStringLiteral("closed ") + n);
            check(received.isEmpty());
        }
    }
    loop.processPending();
    return 0;
}
