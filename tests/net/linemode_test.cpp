// Line mode, on both loop backends: reads scripted byte
// for byte through a fake socket binding, and loopback peers.
#include "net/socket/wsocket.h"
#include "tests/net/net_support.h"
#include "tests/net/scripted_socket.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>

using namespace net;
using namespace nettest;

namespace
{

// Line mode over a scripted connection (script()), whose handler takes one
// line per call, or over loopback.
class LineMode : public BackendTest
{
protected:
    void script()
    {
        api = std::make_unique<ScriptedApi>();
        socketPtr = std::make_unique<ScriptedSocket>();
        ScriptedSocket &socket = *socketPtr;
        socket.SetLineMode(true);
        socket.OnDataAvailable = [this](TCustomWSocket *s, std::uint16_t) {
            lines << s->ReceiveStr();
        };
        socket.OnSessionClosed = [this](TCustomWSocket *, std::uint16_t) {
            lines << QByteArray("<closed>");
        };
        socket.connectScripted();
    }
    void TearDown() override
    {
        socketPtr.reset();
        api.reset();
    }
    // One read of the peer's bytes.
    void read(const QByteArray &bytes)
    {
        api->feed(bytes);
        socketPtr->inject(FD_READ);
    }
    // The lines a plain split of the stream gives.
    static QList<QByteArray> referenceLines(const QByteArray &stream, const QByteArray &end)
    {
        QList<QByteArray> out;
        qsizetype from = 0;
        for (qsizetype at; (at = stream.indexOf(end, from)) >= 0; from = at + end.size())
            out << stream.mid(from, at + end.size() - from);
        return out;
    }

    std::unique_ptr<ScriptedApi> api;
    std::unique_ptr<ScriptedSocket> socketPtr;
    QList<QByteArray> lines;
};

TEST_P(LineMode, LinesAsTheyEndWithEditingAndEcho)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    struct Case {
        const char *name;
        QList<QByteArray> reads;
        QList<QByteArray> expected;
        bool edit = false, echo = false;
        QByteArray echoed = {};
        QByteArray end = QByteArrayLiteral("\r\n");
    } cases[] = {
        {"end split across reads", {"ab\r", "\n"}, {"ab\r\n"}},
        {"two lines in one read", {"l1\r\nl2\r\n"}, {"l1\r\n", "l2\r\n"}},
        {"lone CR inside", {"a\rb\r", "\r\nc"}, {"a\rb\r\r\n"}},
        {"other end", {"x\ny", "\n"}, {"x\n", "y\n"}, false, false, {}, "\n"},
        {"backspace", {"ab\bc\r\n"}, {"ac\r\n"}, true, true, "ab\b \bc\r\n"},
        {"backspace reaches back",
         {"ab", "\b\b\bx\r\n"},
         {"x\r\n"},
         true,
         true,
         "ab\b \b\b \bx\r\n"},
        {"backspace stops at the line", {"k\r\nab", "\b\b\b\bx\r\n"}, {"k\r\n", "x\r\n"}, true},
        {"tab", {"a\tb\r\n"}, {"a       b\r\n"}, true, true, "a       b\r\n"},
        {"tab counts from the line's start",
         {"z\r\nabc", "\td\r\n"},
         {"z\r\n", "abc     d\r\n"},
         true},
        {"tab at a stop", {"abcdefgh\tx\r\n"}, {"abcdefgh        x\r\n"}, true},
        {"echo without editing", {"ab\bc\r\n"}, {"ab\bc\r\n"}, false, true, "ab\bc\r\n"},
    };
    for (const Case &c : cases) {
        lines.clear();
        api->sent.clear();
        socket.SetLineEdit(c.edit);
        socket.SetLineEcho(c.echo);
        socket.SetLineEnd(c.end);
        for (qsizetype i = 0; i < c.reads.size(); ++i) {
            read(c.reads[i]);
            if (i + 1 < c.reads.size() && c.expected.size() == 1) {
                EXPECT_TRUE(lines.isEmpty()) << c.name << ": nothing before the end";
            }
        }
        EXPECT_EQ(lines, c.expected) << c.name;
        EXPECT_EQ(api->sent, c.echoed) << c.name;
        // Whatever is left belongs to the next case: drop it.
        socket.SetLineEdit(false);
        socket.SetLineEnd("\r\n");
        if (socket.LineBufferedCount() > 0) {
            read("\r\n");
            lines.clear();
        }
    }
}

TEST_P(LineMode, AnUntakenLineIsOfferedAgainAtEachArrival)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    int offered = 0;
    socket.OnDataAvailable = [&](TCustomWSocket *, std::uint16_t) { ++offered; };
    read("l1\r\n");
    EXPECT_EQ(offered, 1);
    read("l2\r\n");
    EXPECT_EQ(offered, 2);
    EXPECT_EQ(socket.ReceiveStr(), "l1\r\n");
    EXPECT_EQ(socket.LineBufferedCount(), 4);
    read("l3");
    EXPECT_EQ(offered, 3) << "the held line first";
    EXPECT_EQ(socket.ReceiveStr(), "l2\r\n");
}

TEST_P(LineMode, SendLineAddsTheLineEnd)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    EXPECT_EQ(socket.SendLine(QByteArray()), 0);
    EXPECT_EQ(api->sent, QByteArray());
    EXPECT_EQ(socket.SendLine("abc"), 5);
    socket.SetLineEnd("\n");
    EXPECT_EQ(socket.SendLine("de"), 3);
    EXPECT_EQ(api->sent, "abc\r\nde\n");
}

TEST_P(LineMode, SwitchedOffAfterAHeaderLineTheRestComesRawAtOnce)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    QByteArray raw;
    socket.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        if (socket.LineMode()) {
            lines << s->ReceiveStr();
            socket.SetLineMode(false);
            return;
        }
        char buffer[4];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            raw.append(buffer, n);
    };
    read("HEAD\r\nbody1\r\nbody2");
    EXPECT_EQ(lines, QList<QByteArray>({"HEAD\r\n"}));
    EXPECT_EQ(raw, "body1\r\nbody2") << "in the same dispatch";
    read("more");
    EXPECT_EQ(raw, "body1\r\nbody2more");
    EXPECT_EQ(socket.ReadCount(), 22) << "each byte counted once";
}

TEST_P(LineMode, TheLimitClearsOrKeepsAnUnfinishedLine)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    std::vector<int> exceeded;
    bool clear = true;
    socket.OnLineLimitExceeded = [&](TCustomWSocket *, int length, bool &clearData) {
        exceeded.push_back(length);
        clearData = clear;
    };
    read(QByteArray(70000, 'a'));
    EXPECT_EQ(exceeded, std::vector<int>({70000}));
    EXPECT_EQ(socket.LineBufferedCount(), 0);
    read("x\r\n");
    EXPECT_TRUE(lines.isEmpty()) << "the end of the cleared line";
    read("y\r\n");
    EXPECT_EQ(lines, QList<QByteArray>({"y\r\n"}));

    lines.clear();
    exceeded.clear();
    clear = false;
    read(QByteArray(70000, 'b'));
    EXPECT_EQ(exceeded, std::vector<int>({70000}));
    read("\r\n");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].size(), 70002);
}

TEST_P(LineMode, TheLastBytesComeAsALineBeforeTheClose)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    read("l1\r\nabc");
    api->endOfStream();
    socket.inject(FD_CLOSE);
    EXPECT_EQ(lines, QList<QByteArray>({"l1\r\n", "abc", "<closed>"}));
    EXPECT_TRUE(socket.LineReceived());
}

TEST_P(LineMode, AClearedOverlongLineStaysDroppedAtTheCloseUntilALineEnds)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    socket.OnLineLimitExceeded = [](TCustomWSocket *, int, bool &) {};
    socket.SetLineLimit(10);
    read(QByteArray(20, 'a'));
    read("tail");
    api->endOfStream();
    socket.inject(FD_CLOSE);
    EXPECT_EQ(lines, QList<QByteArray>({"<closed>"})) << "the rest of an overlong line";
}

// A line cut by the limit is skipped up to and including its end, however
// its rest arrives: the next line offered is the first whole one.
TEST_P(LineMode, TheRestOfAClearedLineIsSkippedUpToItsEnd)
{
    const QByteArray overlong(20, 'a');
    struct Case {
        const char *name;
        QList<QByteArray> reads;
        QList<QByteArray> expected;
        std::vector<int> exceeded;
        QByteArray end = QByteArrayLiteral("\r\n");
    } cases[] = {
        {"rest and a line in one read", {overlong, "tail\r\nnext\r\n"}, {"next\r\n"}, {20}},
        {"end split across reads", {overlong + "\r", "\nnext\r\n"}, {"next\r\n"}, {21}},
        {"rest over several reads, end split",
         {overlong, "bbb", "cc\r", "\nnext\r\n"},
         {"next\r\n"},
         {20}},
        {"a CR alone is no end", {overlong, "b\rc\r", "\nnext\r\n"}, {"next\r\n"}, {20}},
        {"only the end is left",
         {"ok\r\n" + overlong, "\r\nnext\r\n"},
         {"ok\r\n", "next\r\n"},
         {20}},
        {"overlong lines in a row",
         {overlong, "x\r\n" + QByteArray(15, 'b'), "y\r\nz\r\n"},
         {"z\r\n"},
         {20, 15}},
        {"a three-byte end split over three reads",
         {overlong + "-", "-", "\nok--\n"},
         {"ok--\n"},
         {21},
         "--\n"},
        {"one-byte end", {overlong, "tail\nnext\n"}, {"next\n"}, {20}, "\n"},
    };
    for (const Case &c : cases) {
        script();
        ScriptedSocket &socket = *socketPtr;
        std::vector<int> exceeded;
        socket.OnLineLimitExceeded = [&](TCustomWSocket *, int length, bool &) {
            exceeded.push_back(length);
        };
        socket.SetLineLimit(10);
        socket.SetLineEnd(c.end);
        for (const QByteArray &bytes : c.reads)
            read(bytes);
        EXPECT_EQ(lines, c.expected) << c.name;
        EXPECT_EQ(exceeded, c.exceeded) << c.name;
        EXPECT_EQ(socket.LineBufferedCount(), 0) << c.name;
        TearDown();
        lines.clear();
    }
}

TEST_P(LineMode, TheCloseDropsTheRestOfAClearedLineOnly)
{
    const QByteArray overlong(20, 'a');
    struct Case {
        const char *name;
        QList<QByteArray> reads;
        QList<QByteArray> expected;
    } cases[] = {
        {"rest without its end", {overlong, "tail"}, {"<closed>"}},
        {"half an end", {overlong, "tail\r"}, {"<closed>"}},
        {"a new line begun after the end", {overlong, "tail\r\nabc"}, {"abc", "<closed>"}},
        {"a new line begun, end split", {overlong + "\r", "\nabc"}, {"abc", "<closed>"}},
    };
    for (const Case &c : cases) {
        script();
        ScriptedSocket &socket = *socketPtr;
        socket.OnLineLimitExceeded = [](TCustomWSocket *, int, bool &) {};
        socket.SetLineLimit(10);
        for (const QByteArray &bytes : c.reads)
            read(bytes);
        api->endOfStream();
        socket.inject(FD_CLOSE);
        EXPECT_EQ(lines, c.expected) << c.name;
        TearDown();
        lines.clear();
    }
}

// Line mode switched off when the limit is met: what comes next is raw data,
// the cleared bytes stay gone.
TEST_P(LineMode, LineModeOffAtTheLimitReadsTheRestRaw)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    QByteArray raw;
    socket.SetLineLimit(10);
    socket.OnLineLimitExceeded = [&](TCustomWSocket *, int, bool &) { socket.SetLineMode(false); };
    socket.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        char buffer[64];
        int n = s->Receive(buffer, sizeof buffer);
        if (n > 0)
            raw.append(buffer, n);
    };
    read(QByteArray(20, 'a') + "\r");
    read("\nrest");
    EXPECT_EQ(raw, "\nrest");
}

TEST_P(LineMode, RandomCutsGiveTheLinesOfOneRead)
{
    script();
    ScriptedSocket &socket = *socketPtr;
    std::mt19937 random(7);
    QByteArray stream;
    for (int i = 0; i < 1000; ++i) {
        int length = std::uniform_int_distribution<int>(0, 80)(random);
        for (int j = 0; j < length; ++j) {
            // Any byte but LF: a lone CR stays inside its line.
            char c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
            stream.append(c == '\n' ? '\r' : c);
        }
        stream.append("\r\n");
    }
    const QList<QByteArray> reference = referenceLines(stream, "\r\n");
    ASSERT_EQ(reference.size(), 1000);
    for (int mode = 0; mode < 3; ++mode) {
        lines.clear();
        if (mode == 0) {
            read(stream);
        } else {
            for (qsizetype at = 0; at < stream.size();) {
                qsizetype piece =
                    mode == 1 ? 1 : std::uniform_int_distribution<qsizetype>(1, 300)(random);
                read(stream.mid(at, piece));
                at += piece;
            }
        }
        EXPECT_TRUE(lines == reference) << "mode " << mode;
        EXPECT_EQ(socket.LineBufferedCount(), 0);
    }
}

TEST_P(LineMode, OverSocksTheLinesStartAfterTheConnection)
{
    ScriptedApi scripted;
    ScriptedSocket through;
    QStringList events;
    through.SetLineMode(true);
    through.OnSessionConnected = [&](TCustomWSocket *, std::uint16_t error) {
        events << QStringLiteral("connected %1").arg(error);
    };
    through.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        events << QString::fromLatin1(s->ReceiveStr());
    };
    through.SetSocksServer(QStringLiteral("127.0.0.1"));
    through.SetSocksPort(QStringLiteral("1080"));
    through.connectScripted();
    EXPECT_EQ(scripted.sent, QByteArray("\x05\x01\x00", 3));
    scripted.feed(QByteArray("\x05\x00", 2));
    through.inject(FD_READ);
    scripted.feed(QByteArray("\x05\x00\x00\x01\x7f\x00\x00\x01\x1f\x90", 10) + "l1\r\nl2");
    through.inject(FD_READ);
    EXPECT_EQ(events, QStringList({QStringLiteral("connected 0"), QStringLiteral("l1\r\n")}));
    EXPECT_EQ(through.LineBufferedCount(), 2);
}

// A handler that takes nothing neither spins nor loses its line.
TEST_P(LineMode, AHandlerThatTakesNothingKeepsItsLineFirst)
{
    std::atomic<bool> clientDone{false};
    LoopbackServer server([&](int fd) {
        sendAll(fd, "line1\r\n", 7);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sendAll(fd, "line2\r\n", 7);
        char c;
        while (!clientDone && ::recv(fd, &c, 1, 0) > 0) {
        }
    });
    TWSocket peer;
    int offered = 0;
    peer.SetLineMode(true);
    peer.OnDataAvailable = [&](TCustomWSocket *, std::uint16_t) { ++offered; };
    peer.SetAddr(QStringLiteral("127.0.0.1"));
    peer.SetPort(server.portText());
    peer.Connect();
    int ticks = 0;
    TimerId timer = loop().startTimer(10, [&] { ++ticks; });
    double cpu = threadCpuMs();
    pumpFor(loop(), 2000);
    cpu = threadCpuMs() - cpu;
    loop().stopTimer(timer);
    EXPECT_LT(cpu, 100.0);
    EXPECT_GT(ticks, 20) << "the loop kept running";
    // Once per arrival (both lines may come in one read on a slow machine).
    EXPECT_GE(offered, 1);
    EXPECT_LE(offered, 2);
    EXPECT_EQ(peer.ReceiveStr(), "line1\r\n");

    // Switching line mode offers what is held again; a handler that takes
    // nothing ends the offers, one that reads gets every line.
    int before = offered;
    peer.SetLineMode(false);
    peer.SetLineMode(true);
    pumpFor(loop(), 100);
    EXPECT_LE(offered - before, 2);
    QList<QByteArray> got;
    peer.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) { got << s->ReceiveStr(); };
    peer.SetLineMode(false);
    peer.SetLineMode(true);
    ASSERT_TRUE(pumpUntil(
        loop(), [&] { return !got.isEmpty(); }, 5000));
    EXPECT_EQ(got, QList<QByteArray>({"line2\r\n"}));
    clientDone = true;
    peer.Close();
}

TEST_P(LineMode, LoopbackLinesEqualThePlainSplit)
{
    QByteArray stream;
    for (int i = 0; i < 2000; ++i)
        stream += QByteArray::number(i) + QByteArray(i % 97, 'x') + "\r\n";
    LoopbackServer server([&](int fd) {
        std::mt19937 random(3);
        for (qsizetype at = 0; at < stream.size();) {
            qsizetype piece = std::uniform_int_distribution<qsizetype>(1, 5000)(random);
            piece = std::min(piece, stream.size() - at);
            sendAll(fd, stream.constData() + at, static_cast<size_t>(piece));
            at += piece;
        }
    });
    TWSocket peer;
    QList<QByteArray> got;
    bool closed = false;
    peer.SetLineMode(true);
    std::int64_t readCount = 0;
    peer.OnDataAvailable = [&](TCustomWSocket *s, std::uint16_t) {
        got << s->ReceiveStr();
        readCount = s->ReadCount();
    };
    peer.OnSessionClosed = [&](TCustomWSocket *, std::uint16_t) { closed = true; };
    peer.SetAddr(QStringLiteral("127.0.0.1"));
    peer.SetPort(server.portText());
    peer.Connect();
    ASSERT_TRUE(pumpUntil(loop(), [&] { return closed; }));
    EXPECT_TRUE(got == referenceLines(stream, "\r\n"));
    EXPECT_EQ(readCount, stream.size()) << "each byte counted once";
}

NET_INSTANTIATE_BACKENDS(LineMode);

} // namespace
