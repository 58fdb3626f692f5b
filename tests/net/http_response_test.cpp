// How the HTTP client reads a response: status lines, headers, bodies by
// length, by chunks and until the close, interim answers, relocations and
// hostile replies. Most cases run the client's own reception in simulation
// (bytes in, effects out); the rest go through loopback servers.
#include "net/http/httpprot.h"
#include "platform/text/exceptions.h"
#include "tests/net/http_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

using namespace net;
using namespace nettest;

namespace
{

const QString kUrl = QStringLiteral("http://127.0.0.1/a/b");

class HttpResponse : public ::testing::Test
{
protected:
    HttpResponse() : m_scope(EventLoop::Backend::Poll) {}
    EventLoop &loop() { return m_scope.loop(); }
    // Runs what the client posted to itself, and what that posted.
    void settle()
    {
        for (int i = 0; i < 6; ++i)
            loop().processPending();
    }
    // The client in simulation, waiting for the answer to its request.
    static void respond(THttpCli &client, THttpRequest rq = httpGET, const QString &url = kUrl)
    {
        client.SetURL(url);
        client.simulateResponse(rq);
    }
    SimulatedRun run(const QByteArray &reply, bool close = true, THttpRequest rq = httpGET,
                     const QString &url = kUrl)
    {
        return simulate(loop(), rq, url, {reply}, close);
    }

private:
    LoopScope m_scope;
};

TEST_F(HttpResponse, StatusLinesAndInterimAnswers)
{
    SimulatedRun r = run("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\n"
                         "\r\ndone");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.header, (QStringList{"HTTP/1.1 200 OK", "Content-Length: 4"}));
    EXPECT_EQ(r.body, QByteArray("done"));

    THttpCli client;
    HttpRecorder rec(client);
    respond(client);
    feed(client, "HTTP/1.0  404 Not Found\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(std::tuple(client.StatusCode(), client.ReasonPhrase(), client.ResponseVersion()),
              std::tuple(404, QStringLiteral("Not Found"), QStringLiteral("1.0")));
}

TEST_F(HttpResponse, StatusLineIsReadStrictly)
{
    // One client answers every line in turn, so that each row also shows
    // what the request before it leaves behind: an answer without a status
    // line has neither a status nor a reason of its own.
    struct Case {
        const char *line;
        std::uint16_t error;
        int status;
        const char *reason;
    } cases[] = {
        {"HTTP/1.1 200 OK", 0, 200, "OK"},
        {"<HTML><BODY>", 0, 0, ""},
        {"HTTP/1.0 200 OK", 0, 200, "OK"},
        {"<!DOCTYPE html>", 0, 0, ""},
        {"HTTP/1.1 204", 0, 204, ""},
        {"HTTP/1.1 503 Service Unavailable", 0, 503, "Service Unavailable"},
        // Stray bytes before, inside or after the code make no status.
        {"HTTP/1.1%20200%20OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 HTTP/1.1 200 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 x200 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1\t200 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 -200 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 20 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 2000 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 200OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 200\tOK", 7, 0, "Invalid status line"},
        {"HTTP/1.10 200 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.1 ", 7, 0, "Invalid status line"},
        // No code below 100 exists.
        {"HTTP/1.1 000 OK", 7, 0, "Invalid status line"},
        {"HTTP/1.0 099", 7, 0, "Invalid status line"},
    };
    THttpCli client;
    HttpRecorder rec(client);
    client.SetURL(kUrl);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const size_t before = rec.done.size();
        client.simulateResponse(httpGET);
        feed(client, QByteArray(c.line) + "\r\nContent-Length: 0\r\n\r\n");
        client.simulateClose();
        settle();
        ASSERT_EQ(rec.done.size(), before + 1);
        EXPECT_EQ(rec.done.back().error, c.error);
        EXPECT_EQ(client.ReasonPhrase(), QLatin1String(c.reason));
        if (c.error == 0) {
            EXPECT_EQ(client.StatusCode(), c.status);
        }
        EXPECT_EQ(client.State(), httpReady);
    }
}

TEST_F(HttpResponse, ChunkedBodies)
{
    SimulatedRun one = run("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n"
                           "0\r\n\r\n",
                           false);
    EXPECT_EQ(one.body, QByteArray("hello"));
    EXPECT_EQ(one.docEnd, 1);
    ASSERT_EQ(one.done.size(), 1u);
    EXPECT_EQ(one.done[0].error, 0);

    SimulatedRun ext = run("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n1A;ext=1\r\n"
                           "abcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n",
                           false);
    EXPECT_EQ(ext.body, QByteArray("abcdefghijklmnopqrstuvwxyz"));
    ASSERT_EQ(ext.done.size(), 1u);

    // A length beside chunks counts encoded bytes and is not used.
    SimulatedRun both = run("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 3"
                            "\r\n\r\n4\r\nabcd\r\n0\r\n\r\n",
                            false);
    EXPECT_EQ(both.body, QByteArray("abcd"));
    ASSERT_EQ(both.done.size(), 1u);
    EXPECT_EQ(both.done[0].error, 0);
}

TEST_F(HttpResponse, HeadEndsWithTheCloseWithoutABody)
{
    THttpCli client;
    HttpRecorder rec(client);
    respond(client, httpHEAD);
    feed(client, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n");
    EXPECT_TRUE(rec.done.empty());
    settle();
    EXPECT_EQ(client.ContentLength(), 1000);
    EXPECT_EQ(client.State(), httpReady);
    ASSERT_EQ(rec.errors(), Errors{0});
    EXPECT_EQ(rec.docBegin, 0);
    EXPECT_TRUE(rec.body.isEmpty());
}

TEST_F(HttpResponse, HeaderValuesTheClientInterprets)
{
    THttpCli client;
    HttpRecorder rec(client);
    respond(client, httpGET, QStringLiteral("http://127.0.0.1/prog.EXE"));
    QByteArray reply = "HTTP/1.1 206 Partial\r\nContent-Range: bytes 100-199/1000\r\n"
                       "Content-Type: Text/HTML\r\nSet-Cookie: a=1; path=/\r\n"
                       "Content-Encoding: identity\r\nAccept-Ranges: bytes\r\n"
                       "Connection: close\r\nContent-Length: 2\r\n\r\nok";
    feed(client, reply);
    EXPECT_EQ(std::tuple(client.ContentRangeBegin(), client.ContentRangeEnd(), client.ContentType(),
                         client.ContentEncoding(), client.AcceptRanges(), client.DocumentName()),
              std::tuple(QStringLiteral("100"), QStringLiteral("199"), QStringLiteral("text/html"),
                         QStringLiteral("identity"), QStringLiteral("bytes"),
                         QStringLiteral("prog.htm")));
    EXPECT_EQ(rec.cookies, QStringList{"a=1; path=/"});

    // The owner is asked with Accept preset to true.
    THttpCli cookies;
    std::vector<bool> presets;
    cookies.OnCookie = [&](THttpCli *, const QString &, bool &accept) {
        presets.push_back(accept);
        accept = false;
    };
    respond(cookies);
    feed(cookies, "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\n"
                  "Content-Length: 0\r\n\r\n");
    EXPECT_EQ(presets, (std::vector<bool>{true, true}));

    THttpCli star;
    respond(star);
    feed(star, "HTTP/1.1 416 Range\r\nContent-Range: bytes */1000\r\n"
               "Content-Length: 0\r\n\r\n");
    EXPECT_TRUE(star.ContentRangeBegin().isEmpty());
    EXPECT_TRUE(star.ContentRangeEnd().isEmpty());
}

TEST_F(HttpResponse, AnswerWithoutHeaderIsAllBody)
{
    SimulatedRun r = run("<HTML><BODY>\r\nPage\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(r.body, QByteArray("<HTML><BODY>Page\r\n</BODY></HTML>\r\n"));
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.done.size(), 1u);
    EXPECT_EQ(r.done[0].error, 0);
}

TEST_F(HttpResponse, RelativeRelocationsResolveAgainstTheRequestsUrl)
{
    // Targets as a browser would take them from the same page.
    struct Case {
        const char *url;
        const char *location;
        const char *request;
        const char *host;
        const char *resolved;
    } cases[] = {
        {"http://127.0.0.1/a/b", "/new", "GET /new", "127.0.0.1", "http://127.0.0.1/new"},
        {"http://127.0.0.1/a/b", "c", "GET /a/c", "127.0.0.1", "http://127.0.0.1/a/c"},
        {"http://127.0.0.1/a/b", "c#part", "GET /a/c", "127.0.0.1", "http://127.0.0.1/a/c"},
        {"http://127.0.0.1/a/b", "/a\rb", "GET /a%0Db", "127.0.0.1", "http://127.0.0.1/a%0Db"},
        {"http://127.0.0.1/a/b/c", "../ok2", "GET /a/ok2", "127.0.0.1", "http://127.0.0.1/a/ok2"},
        {"http://127.0.0.1/a/b?x=1", "?y=1", "GET /a/b?y=1", "127.0.0.1",
         "http://127.0.0.1/a/b?y=1"},
        {"http://127.0.0.1/a/b?x=1", "c", "GET /a/c", "127.0.0.1", "http://127.0.0.1/a/c"},
        {"http://127.0.0.1/a/b?x=1", "#haut", "GET /a/b?x=1", "127.0.0.1",
         "http://127.0.0.1/a/b?x=1"},
        {"http://127.0.0.1/a/b", "./c/../d", "GET /a/d", "127.0.0.1", "http://127.0.0.1/a/d"},
        {"http://127.0.0.1/a/b", "/x/./y/../z", "GET /x/z", "127.0.0.1", "http://127.0.0.1/x/z"},
        {"http://127.0.0.1/a/b", "../../../haut", "GET /haut", "127.0.0.1",
         "http://127.0.0.1/haut"},
        {"http://127.0.0.1:8080/a/b", "c?q=1", "GET /a/c?q=1", "127.0.0.1:8080",
         "http://127.0.0.1:8080/a/c?q=1"},
        // Another host of the same scheme.
        {"http://127.0.0.1/a/b", "//autre/x", "GET /x", "autre", "http://autre/x"},
        {"http://127.0.0.1:8080/a/b", "//autre:81/x?q", "GET /x?q", "autre:81",
         "http://autre:81/x?q"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.url << " + " << c.location);
        QByteArray first = QByteArray("HTTP/1.0 302 Found\r\nLocation: ") + c.location +
                           "\r\nContent-Length: 0\r\n\r\n";
        THttpCli client;
        HttpRecorder rec(client);
        respond(client, httpGET, QLatin1String(c.url));
        feed(client, first);
        settle();
        feed(client, okWith("ok", "1.0"));
        client.simulateClose();
        settle();
        const QByteArray sent = client.simulatedRequest();
        const qsizetype hop = sent.indexOf("\r\n\r\n") + 4;
        ASSERT_GT(hop, 4);
        EXPECT_TRUE(sent.mid(hop).startsWith(QByteArray(c.request) + " HTTP/1.0\r\n"))
            << sent.data();
        EXPECT_TRUE(sent.mid(hop).contains(QByteArray("\r\nHost: ") + c.host + "\r\n"))
            << sent.data();
        EXPECT_EQ(client.Location(), QLatin1String(c.resolved));
        // No carriage return reaches the wire but those ending lines.
        EXPECT_EQ(sent.count('\r'), sent.count("\r\n"));
        EXPECT_EQ(rec.body, QByteArray("ok"));
        ASSERT_EQ(rec.errors(), Errors{0});
        EXPECT_EQ(client.StatusCode(), 200);
        EXPECT_EQ(client.LocationChangeCurCount(), 1);
    }
}

TEST_F(HttpResponse, OddStatusesAndLengthsReadConservatively)
{
    // Any 1.1 status from 102 to 199 is interim, like 100.
    SimulatedRun interim = run("HTTP/1.1 102 Processing\r\nX: 1\r\n\r\nHTTP/1.1 200 OK\r\n"
                               "Content-Length: 2\r\n\r\nok");
    EXPECT_EQ(interim.status, 200);
    EXPECT_EQ(interim.header, (QStringList{"HTTP/1.1 200 OK", "Content-Length: 2"}));
    EXPECT_EQ(interim.body, QByteArray("ok"));

    // From a 1.0 server a 100 is a final answer without a body.
    SimulatedRun old = run("HTTP/1.0 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\n\r\nrest");
    EXPECT_EQ(old.status, 100);
    EXPECT_TRUE(old.body.isEmpty());
    ASSERT_EQ(old.done.size(), 1u);
    EXPECT_EQ(old.done[0].error, 0);

    // The largest length there is, with blanks and leading zeros, is a length.
    THttpCli largest;
    respond(largest);
    feed(largest, "HTTP/1.0 200 OK\r\nContent-Length:  009223372036854775807 \r\n\r\nab");
    EXPECT_EQ(largest.ContentLength(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(largest.ReceivedCount(), 2);
    EXPECT_EQ(largest.State(), httpWaitingBody);
}

TEST_F(HttpResponse, DocumentNamesFromTheUrlAndTheContentType)
{
    const QString longName = QString(300, QLatin1Char('n'));
    struct Case {
        QString url;
        QString contentType;
        QString name;
    } cases[] = {
        {"http://127.0.0.1/a/b.html?x=1", "text/html", "b.html"},
        {"http://127.0.0.1/dossier/", "text/html", "document.htm"},
        {"http://127.0.0.1", "text/plain", "document.htm"},
        {"http://127.0.0.1/?q=/x.txt", "text/plain", "document.htm"},
        {"http://127.0.0.1/page", "text/html", "page.htm"},
        {"http://127.0.0.1/page", "text/plain", "page"},
        {"http://127.0.0.1/setup.Exe", "text/html", "setup.htm"},
        {"http://127.0.0.1/script.php", "text/html", "script.php"},
        {QStringLiteral("http://127.0.0.1/d/") + longName + ".txt", "text/plain",
         QString(255, QLatin1Char('n'))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        THttpCli client;
        HttpRecorder rec(client);
        respond(client, httpGET, c.url);
        feed(client, "HTTP/1.0 200 OK\r\nContent-Type: " + c.contentType.toLatin1() +
                         "\r\nContent-Length: 1\r\n\r\nx");
        settle();
        EXPECT_EQ(client.DocumentName(), c.name);
        ASSERT_EQ(rec.done.size(), 1u);
    }
}

TEST_F(HttpResponse, AbortWhileARelocationWaitsToStartEndsTheRequest)
{
    // Same connection: the next hop is a message the client posted itself.
    THttpCli client;
    HttpRecorder rec(client);
    client.SetRequestVer(QStringLiteral("1.1"));
    respond(client);
    feed(client, "HTTP/1.1 302 Found\r\nLocation: /ailleurs\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(rec.locationChanges, 1);
    client.Abort();
    settle();
    settle();
    EXPECT_EQ(client.State(), httpReady);
    ASSERT_EQ(rec.errors(), Errors{httperrAborted});
    EXPECT_EQ(client.simulatedRequest().count("GET "), 1);
}

TEST_F(HttpResponse, BytesBeforeANextHopOnTheSameConnectionAreNotItsAnswer)
{
    THttpCli client;
    HttpRecorder rec(client);
    int pushed = 0;
    client.OnDataPush = [&](THttpCli *, std::uint16_t) { ++pushed; };
    client.SetRequestVer(QStringLiteral("1.1"));
    respond(client);
    feed(client, "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 0\r\n\r\n");
    // Before the next hop is sent: a whole line, then the start of another.
    feed(client, "HTTP/1.1 200 OK\r\nHTTP/1.1 500 Ra");
    EXPECT_EQ(pushed, 1);
    settle();
    EXPECT_TRUE(client.simulatedRequest().contains("\r\n\r\nGET /b HTTP/1.1\r\n"));
    feed(client, okWith("ok"));
    settle();
    ASSERT_EQ(rec.errors(), Errors{0});
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(client.ReceivedHeader(), (QStringList{"HTTP/1.1 200 OK", "Content-Length: 2"}));
    EXPECT_EQ(rec.body, QByteArray("ok"));
}

TEST_F(HttpResponse, ReceiveStreamKeepsOnlyTheFinalBodyAfterTheOwnersBytes)
{
    struct Case {
        const char *what;
        QByteArray relocation;
    } cases[] = {
        {"relocation with a body",
         "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 5\r\n\r\nmoved"},
        {"relocation without a body", "HTTP/1.1 302 Found\r\nLocation: /b\r\n"
                                      "Content-Length: 0\r\n\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryStream stream(QByteArray("avant:"));
        stream.Seek(stream.Size());
        THttpCli client;
        HttpRecorder rec(client);
        client.SetReceiveStream(&stream);
        client.SetRequestVer(QStringLiteral("1.1"));
        respond(client);
        feed(client, c.relocation);
        settle();
        feed(client, okWith("ok"));
        settle();
        ASSERT_EQ(rec.done.size(), 1u);
        EXPECT_EQ(stream.Data(), QByteArray("avant:ok"));
    }
}

TEST_F(HttpResponse, StreamsMoveWhatTheyAreAskedTo)
{
    TMemoryStream memory;
    EXPECT_EQ(memory.Write("abcdef", 6), 6);
    EXPECT_EQ(memory.Position(), 6);
    memory.Seek(2);
    char buffer[8] = {};
    EXPECT_EQ(memory.Read(buffer, 3), 3);
    EXPECT_EQ(QByteArray(buffer, 3), QByteArray("cde"));
    EXPECT_EQ(memory.Read(buffer, -1), 0);
    EXPECT_EQ(memory.Position(), 5);
    memory.Seek(100);
    EXPECT_EQ(memory.Position(), 6);
    memory.SetSize(3);
    EXPECT_EQ(memory.Position(), 3);
    EXPECT_EQ(memory.Data(), QByteArray("abc"));
    memory.Seek(1);
    EXPECT_EQ(memory.Write("XYZ", 3), 3);
    EXPECT_EQ(memory.Data(), QByteArray("aXYZ"));

    QTemporaryDir dir;
    const QString name = dir.path() + QStringLiteral("/f.bin");
    {
        TFileStream file(name, TFileStream::Create);
        EXPECT_EQ(file.Write("0123456789", 10), 10);
        file.SetSize(4);
        EXPECT_EQ(file.Size(), 4);
        EXPECT_EQ(file.Position(), 4);
        file.Seek(-3);
        EXPECT_EQ(file.Position(), 0);
        EXPECT_EQ(file.Read(buffer, 8), 4);
        EXPECT_EQ(QByteArray(buffer, 4), QByteArray("0123"));
    }
    {
        TFileStream file(name, TFileStream::OpenRead);
        EXPECT_EQ(file.Size(), 4);
        EXPECT_EQ(file.Write("x", 1), 0);
    }
    EXPECT_THROW(TFileStream(dir.path() + QStringLiteral("/absent/f"), TFileStream::OpenRead),
                 platform::EFileError);

    TNullStream null;
    EXPECT_EQ(null.Write("abc", 3), 3);
    EXPECT_EQ(null.Size(), 3);
    EXPECT_EQ(null.Read(buffer, 3), 0);
}

// --- hostile and broken replies

TEST_F(HttpResponse, BrokenRepliesEndWithAnErrorNeverWithSuccess)
{
    struct Case {
        const char *what;
        QByteArray reply;
        std::uint16_t error;
        const char *reason;
    };
    QByteArray hugeHeader = "HTTP/1.1 200 OK\r\n";
    while (hugeHeader.size() < 2 * 1024 * 1024)
        hugeHeader += "X-Remplissage: " + QByteArray(100, 'x') + "\r\n";
    QByteArray manyLines = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 1500; ++i)
        manyLines += "X: 1\r\n";
    const Case cases[] = {
        {"chunk size overflow",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFF\r\nabc", 7,
         "Invalid chunk size"},
        {"chunk size without digits",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nxyz\r\nabc\r\n0\r\n\r\n", 7,
         "Invalid chunk size"},
        {"non-numeric status", "HTTP/1.1 2x0 OK\r\nContent-Length: 0\r\n\r\n", 7,
         "Invalid status line"},
        {"status line without a status", "HTTP/1.1\r\n\r\n", 7, "Invalid status line"},
        {"header of 2 MiB", hugeHeader, 7, "Response header too large"},
        {"header of 1500 lines", manyLines, 7, "Response header too large"},
        {"body cut at 500 of 1000",
         "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(500, 'a'), 8,
         "Response incomplete"},
        {"chunks cut before the last",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", 8,
         "Response incomplete"},
        {"header cut after the status line", "HTTP/1.1 200 OK\r\nContent-Len", 8,
         "Response incomplete"},
        {"status line cut", "HTTP/1.", 8, "Response incomplete"},
        {"empty reply", "", 8, "Empty reply"},
        {"length of 20 digits", "HTTP/1.1 200 OK\r\nContent-Length: 18446744073709551616\r\n\r\nab",
         7, "Invalid content length"},
        {"length one past the largest",
         "HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775808\r\n\r\nab", 7,
         "Invalid content length"},
        {"negative length", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabcdef", 7,
         "Invalid content length"},
        {"signed length", "HTTP/1.0 200 OK\r\nContent-Length: +5\r\n\r\nabcdef", 7,
         "Invalid content length"},
        {"length with letters", "HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n\r\nabcdef", 7,
         "Invalid content length"},
        {"empty length", "HTTP/1.0 200 OK\r\nContent-Length:\r\n\r\nabcdef", 7,
         "Invalid content length"},
        // Bytes that are no status line are no answer, whatever follows.
        {"no status line", "SSH-2.0-OpenSSH_9.2\r\n", 7, "Invalid status line"},
        {"lines without a status line", "Bonjour\r\nContent-Length: 0\r\n\r\n", 7,
         "Invalid status line"},
        {"an empty line for a status line", "\r\n\r\n", 7, "Invalid status line"},
        {"another protocol's status line", "HTTP/2 200\r\nContent-Length: 0\r\n\r\n", 7,
         "Invalid status line"},
        {"a markup line that is no page", "<?xml version=\"1.0\"?>\r\n<a/>\r\n", 7,
         "Invalid status line"},
        {"bad length beside chunks",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: -1\r\n\r\n0\r\n\r\n", 7,
         "Invalid content length"},
        {"1,000 content codings",
         "HTTP/1.1 200 OK\r\nContent-Encoding: *" + QByteArray(1000 - 1, ',').replace(",", ",*") +
             "\r\nContent-Length: 3\r\n\r\nabc",
         7, "Too many content codings (1000, at most 16)"},
        // Past the line buffer a value would be read cut: 906 codings of
        // 1,000, a framing lost among blanks.
        {"1,000 content codings in 10 KB",
         "HTTP/1.1 200 OK\r\nContent-Encoding: identity" +
             QByteArray(999, ',').replace(",", ", identity") + "\r\nContent-Length: 3\r\n\r\nabc",
         7, "Response header line too long (Content-Encoding)"},
        {"chunks announced after 9,000 blanks",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: " + QByteArray(9000, ' ') +
             "chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
         7, "Response header line too long (Transfer-Encoding)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        THttpCli client;
        HttpRecorder rec(client);
        client.SetOptions(client.Options() << httpoEnableContentCoding);
        respond(client);
        feed(client, c.reply);
        client.simulateClose();
        for (int i = 0; i < 4; ++i)
            loop().processPending();
        ASSERT_EQ(rec.errors(), Errors{c.error});
        EXPECT_EQ(client.ReasonPhrase(), QLatin1String(c.reason));
        EXPECT_EQ(client.State(), httpReady);
    }
}

TEST_F(HttpResponse, TruncatedBodyKeepsItsStatusAndEndsTheDocumentOnce)
{
    THttpCli client;
    HttpRecorder rec(client);
    respond(client);
    feed(client, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(500, 'a'));
    client.simulateClose();
    settle();
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(client.ReceivedCount(), 500);
    EXPECT_EQ(rec.docEnd, 1);
    ASSERT_EQ(rec.errors(), Errors{httperrIncomplete});
}

TEST_F(HttpResponse, OverlongLineKeepsOnlyItsEnd)
{
    QByteArray reply =
        "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(20000, 'y') + "\r\nContent-Length: 3\r\n\r\nabc";
    SimulatedRun r = run(reply, false);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, QByteArray("abc"));
    ASSERT_EQ(r.header.size(), 3);
    EXPECT_TRUE(r.header[1].startsWith(QLatin1String("X-Long: yyy")));
    EXPECT_LT(r.header[1].size(), 8193);
}

TEST_F(HttpResponse, AFaultInAnOwnersHandlerEndsTheRequestOnce)
{
    THttpCli client;
    HttpRecorder rec(client);
    client.OnHeaderData = [](THttpCli *) { throw std::runtime_error("panne du gestionnaire"); };
    respond(client);
    feed(client, okWith("abcd"));
    settle();
    client.simulateClose();
    settle();
    ASSERT_EQ(rec.errors(), Errors{httperrProtocol});
    EXPECT_EQ(client.ReasonPhrase(), QStringLiteral("panne du gestionnaire"));
    EXPECT_EQ(client.State(), httpReady);
    EXPECT_TRUE(rec.body.isEmpty());
}

TEST_F(HttpResponse, PostRelocatedBecomesGetWithTheStreamRewound)
{
    TMemoryStream body(QByteArray("champ=valeur"));
    THttpCli client;
    HttpRecorder rec(client);
    client.SetSendStream(&body);
    client.SetRequestVer(QStringLiteral("1.1"));
    respond(client, httpPOST);
    feed(client, "HTTP/1.1 303 See Other\r\nLocation: /merci\r\nContent-Length: 0\r\n\r\n");
    settle();
    feed(client, okWith("ok"));
    settle();
    const QByteArray sent = client.simulatedRequest();
    EXPECT_TRUE(sent.startsWith("POST /a/b HTTP/1.1\r\n"));
    EXPECT_TRUE(sent.contains("\r\n\r\nchamp=valeurGET /merci HTTP/1.1\r\n")) << sent.data();
    EXPECT_EQ(body.Position(), 0);
    ASSERT_EQ(rec.done.size(), 1u);
    EXPECT_EQ(rec.done[0].rq, httpGET);
    EXPECT_EQ(rec.body, QByteArray("ok"));
}

TEST_F(HttpResponse, ANewRequestFromInsideAnEventLeavesTheOldBodyBehind)
{
    THttpCli client;
    HttpRecorder rec(client);
    bool restarted = false;
    client.OnDocData = [&](THttpCli *c, const char *data, int len) {
        rec.body.append(data, len);
        if (!restarted) {
            restarted = true;
            c->Abort();
            c->GetASync();
        }
    };
    client.SetRequestVer(QStringLiteral("1.1"));
    respond(client);
    feed(client, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n0123456789");
    settle();
    EXPECT_EQ(client.State(), httpWaitingHeader);
    feed(client, okWith("ok"));
    settle();
    EXPECT_EQ(rec.body, QByteArray("0123456789ok"));
    ASSERT_EQ(rec.errors(), (Errors{httperrAborted, 0}));
    EXPECT_EQ(client.StatusCode(), 200);
}

// --- split invariance: a reply gives the same result however it arrives

struct Canned {
    const char *name;
    QList<QByteArray> replies; // one per request (relocations)
    bool close;
};

QList<Canned> cannedReplies()
{
    return {
        {"length",
         {"HTTP/1.1 200 OK\r\nContent-Length: 11\r\nContent-Type: text/plain\r\n\r\nhello world"},
         false},
        {"chunked",
         {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;ext=1\r\nhello\r\n1A\r\n"
          "abcdefghijklmnopqrstuvwxyz\r\n0\r\nX-Trailer: 1\r\nY: 2\r\n\r\n"},
         false},
        {"close",
         {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nbody until the close\r\nline 2"},
         true},
        {"continue",
         {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\ndone"},
         false},
        {"relocation",
         {"HTTP/1.1 302 Found\r\nLocation: /new\r\nContent-Length: 3\r\n\r\nabc", okWith("ok")},
         false},
    };
}

SimulatedRun runSplit(EventLoop &loop, const Canned &c, int which, int cut, bool bytewise)
{
    QList<QByteArray> pieces;
    for (int i = 0; i < c.replies.size(); ++i) {
        const QByteArray &reply = c.replies[i];
        if (bytewise) {
            for (char ch : reply)
                pieces << QByteArray(1, ch);
        } else if (i == which && cut > 0) {
            pieces << reply.left(cut) << reply.mid(cut);
        } else {
            pieces << reply;
        }
    }
    return simulate(loop, httpGET, kUrl, pieces, c.close, QStringLiteral("1.1"));
}

void expectSame(const SimulatedRun &a, const SimulatedRun &b)
{
    EXPECT_EQ(std::tuple(a.body, a.status, a.header, a.docEnd),
              std::tuple(b.body, b.status, b.header, b.docEnd));
    ASSERT_EQ(a.done.size(), b.done.size());
    for (size_t i = 0; i < a.done.size(); ++i) {
        EXPECT_EQ(a.done[i].rq, b.done[i].rq);
        EXPECT_EQ(a.done[i].error, b.done[i].error);
    }
}

TEST_F(HttpResponse, SplitAnywhereGivesTheSameResult)
{
    const QByteArray expected[] = {"hello world", "helloabcdefghijklmnopqrstuvwxyz",
                                   "body until the close\r\nline 2", "done", "abcok"};
    int index = 0;
    for (const Canned &c : cannedReplies()) {
        SCOPED_TRACE(c.name);
        SimulatedRun whole = runSplit(loop(), c, -1, 0, false);
        EXPECT_EQ(whole.body, expected[index++]);
        ASSERT_EQ(whole.done.size(), 1u);
        EXPECT_EQ(whole.done[0].error, 0);
        EXPECT_EQ(whole.status, 200);
        for (int which = 0; which < c.replies.size(); ++which)
            for (int cut = 1; cut < c.replies[which].size(); ++cut) {
                SCOPED_TRACE(cut);
                expectSame(runSplit(loop(), c, which, cut, false), whole);
            }
        SCOPED_TRACE("byte by byte");
        expectSame(runSplit(loop(), c, -1, 0, true), whole);
    }
}

// --- over real connections

TEST_F(HttpResponse, BodiesEqualCurlsForTheSameReplies)
{
    LoopScope qt(EventLoop::Backend::Qt);
    for (const Canned &c : cannedReplies()) {
        if (c.replies.size() != 1)
            continue;
        SCOPED_TRACE(c.name);
        ScriptedServer server;
        for (int i = 0; i < 2; ++i)
            server.addConnection(answerOnce(c.replies[0]));
        QByteArray reference;
        if (!curlBody(server.url(QStringLiteral("/x")), reference))
            GTEST_SKIP() << "curl is not installed";
        THttpCli client;
        HttpRecorder rec(client);
        client.SetRequestVer(QStringLiteral("1.1"));
        ASSERT_TRUE(getDone(qt.loop(), client, rec, server.url(QStringLiteral("/x"))));
        EXPECT_FALSE(reference.isEmpty());
        EXPECT_EQ(rec.body, reference);
        EXPECT_EQ(rec.done[0].error, 0);
    }
}

TEST_F(HttpResponse, TrailersDoNotSpillIntoTheNextKeptAliveResponse)
{
    LoopScope qt(EventLoop::Backend::Qt);
    ScriptedServer server{
        {readRequest(),
         sendBytes("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc"
                   "\r\n0\r\nX-Un: 1\r\nX-Deux: 2\r\n\r\n"),
         readRequest(), sendBytes("HTTP/1.1 201 Created\r\nContent-Length: 3\r\n\r\ndef"), hold()}};
    THttpCli client;
    HttpRecorder rec(client);
    client.SetRequestVer(QStringLiteral("1.1"));
    ASSERT_TRUE(getDone(qt.loop(), client, rec, server.url(QStringLiteral("/1"))));
    client.GetASync();
    ASSERT_TRUE(waitDone(qt.loop(), rec, 2));
    EXPECT_EQ(rec.body, QByteArray("abcdef"));
    EXPECT_EQ(client.StatusCode(), 201);
    EXPECT_EQ(client.ReceivedHeader(), (QStringList{"HTTP/1.1 201 Created", "Content-Length: 3"}));
    EXPECT_EQ(server.connections(), 1);
}

TEST_F(HttpResponse, BytesAfterAHeadAnswerCloseTheConnection)
{
    LoopScope qt(EventLoop::Backend::Qt);
    ScriptedServer server{answerOnce(okWith("hello"), true), answerOnce(okWith("ok"), true)};
    THttpCli client;
    HttpRecorder rec(client);
    client.SetRequestVer(QStringLiteral("1.1"));
    client.SetURL(server.url(QStringLiteral("/h")));
    client.HeadAsync();
    ASSERT_TRUE(waitDone(qt.loop(), rec));
    EXPECT_EQ(rec.done[0].error, 0);
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_TRUE(rec.body.isEmpty());
    client.GetASync();
    ASSERT_TRUE(waitDone(qt.loop(), rec, 2));
    // The stray "hello" was never read as the second answer.
    EXPECT_EQ(rec.body, QByteArray("ok"));
    EXPECT_EQ(rec.done[1].error, 0);
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(HttpResponse, RelocationsAcrossHostsStopAfterFive)
{
    LoopScope qt(EventLoop::Backend::Qt);
    // Servers on 127.0.0.1 to 127.0.0.7, each sending on to the next.
    auto chain = [&](int hops, bool allowMore) {
        std::vector<std::unique_ptr<ScriptedServer>> servers;
        for (int i = 0; i <= hops; ++i)
            servers.push_back(
                std::make_unique<ScriptedServer>(QStringLiteral("127.0.0.%1").arg(i + 1)));
        for (int i = 0; i <= hops; ++i) {
            QByteArray reply = i < hops ? "HTTP/1.0 302 Found\r\nLocation: " +
                                              servers[i + 1]->url(QStringLiteral("/p")).toLatin1() +
                                              "\r\n\r\n"
                                        : QByteArray("HTTP/1.0 200 OK\r\n\r\nfin");
            servers[i]->addConnection(answerOnce(reply));
        }
        THttpCli client;
        HttpRecorder rec(client);
        int asked = 0;
        if (allowMore)
            client.OnLocationChangeExceeded = [&](THttpCli *, int count, bool &allow) {
                ++asked;
                EXPECT_EQ(count, 6);
                EXPECT_FALSE(allow);
                allow = true;
            };
        EXPECT_TRUE(getDone(qt.loop(), client, rec, servers[0]->url(QStringLiteral("/p"))));
        pumpFor(qt.loop(), 50);
        EXPECT_EQ(rec.done.size(), 1u);
        struct Outcome {
            int status, count, requests, asked;
            QByteArray body;
            std::uint16_t error;
        } out{client.StatusCode(),
              client.LocationChangeCurCount(),
              0,
              asked,
              rec.body,
              rec.done.empty() ? std::uint16_t(999) : rec.done[0].error};
        for (auto &s : servers)
            out.requests += int(s->requests().size());
        return out;
    };
    auto five = chain(5, false);
    EXPECT_EQ(five.status, 200);
    EXPECT_EQ(five.body, QByteArray("fin"));
    EXPECT_EQ(std::tuple(five.count, five.requests, five.error), std::tuple(5, 6, 0));

    auto six = chain(6, false);
    EXPECT_EQ(std::tuple(six.status, six.requests, six.error), std::tuple(302, 6, 0));

    auto allowed = chain(6, true);
    EXPECT_EQ(std::tuple(allowed.status, allowed.requests, allowed.asked), std::tuple(200, 7, 1));
}

TEST_F(HttpResponse, RelocationToAnImpossiblePortIsRefusedWithAnError)
{
    LoopScope qt(EventLoop::Backend::Qt);
    ScriptedServer server{answerOnce("HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:70000/x\r\n"
                                     "\r\n")};
    THttpCli client;
    HttpRecorder rec(client);
    ASSERT_TRUE(getDone(qt.loop(), client, rec, server.url(QStringLiteral("/"))));
    pumpFor(qt.loop(), 50);
    ASSERT_EQ(rec.done.size(), 1u);
    EXPECT_NE(rec.done[0].error, 0);
    EXPECT_EQ(client.StatusCode(), 404);
}

TEST_F(HttpResponse, BandwidthLimitKeepsEachSampleWithinItsBudget)
{
    LoopScope qt(EventLoop::Backend::Qt);
    const QByteArray data = pattern(300000, 5);
    ScriptedServer server{answerOnce("HTTP/1.0 200 OK\r\nContent-Length: 300000\r\n\r\n" + data)};
    THttpCli client;
    HttpRecorder rec(client);
    client.SetOptions({httpoBandwidthControl});
    client.SetBandwidthLimit(100000);
    client.SetBandwidthSampling(1000);
    using Clock = std::chrono::steady_clock;
    // Taken before the client's sampling timer starts, so that the samples
    // begun by any instant never outnumber the whole seconds counted here.
    const Clock::time_point start = Clock::now();
    struct Point {
        std::int64_t ms;
        std::int64_t bytes;
    };
    std::vector<Point> points;
    client.OnDocData = [&](THttpCli *, const char *buffer, int len) {
        rec.body.append(buffer, len);
        points.push_back(
            {std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(),
             rec.body.size()});
    };
    client.SetURL(server.url(QStringLiteral("/lent")));
    client.GetASync();
    ASSERT_TRUE(waitDone(qt.loop(), rec, 1, 30000));
    EXPECT_TRUE(rec.body == data);
    EXPECT_EQ(rec.done[0].error, 0);
    // Each sample lets through its budget and at most the one receive block
    // that crossed it; what a sample took beyond its budget is charged to
    // the next. So by any instant inside the n-th sample (n whole seconds
    // after the start at most), no more than n + 1 budgets and one block
    // have arrived, however late a busy machine runs the timer.
    const std::int64_t budget = 100000;
    const std::int64_t block = 8193 - 3;
    for (const Point &p : points) {
        SCOPED_TRACE(p.ms);
        // A few milliseconds for timers that count in whole milliseconds.
        EXPECT_LE(p.bytes, ((p.ms + 5) / 1000 + 1) * budget + block);
    }
    // 300,000 bytes need at least three samples.
    ASSERT_FALSE(points.empty());
    EXPECT_GE(points.back().ms, 2000);
}

TEST_F(HttpResponse, ALargeBodyIsReadInLargeBlocks)
{
    // What the client's socket reads: the size it asked for and what came.
    struct Read {
        size_t asked;
        ssize_t got;
    };
    const QByteArray data = pattern(4 * 1024 * 1024, 9);
    QByteArray chunked;
    for (qsizetype at = 0; at < data.size(); at += 1024 * 1024)
        chunked += "100000\r\n" + data.mid(at, 1024 * 1024) + "\r\n";
    chunked += "0\r\n\r\n";
    const struct Case {
        const char *what;
        QByteArray reply;
    } cases[] = {
        {"by length", "HTTP/1.0 200 OK\r\nContent-Length: 4194304\r\n\r\n" + data},
        {"by chunks", "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server;
        // The second half comes after the client has waited for more.
        const qsizetype half = c.reply.size() / 2;
        server.addConnection({readRequest(), sendBytes(c.reply.left(half)), pause(50),
                              sendBytes(c.reply.mid(half)), closeConnection()});
        THttpCli client;
        HttpRecorder rec(client);
        std::vector<Read> reads;
        // Questions asked of the socket while the body comes: how many bytes
        // wait, or a peek at one.
        int probes = 0;
        ApiOverride api;
        api.api().recv = [recv = api.guarded().recv, &reads, &probes, &rec,
                          &data](int fd, void *buf, size_t len, int flags) {
            const ssize_t got = recv(fd, buf, len, flags);
            if (rec.body.size() < data.size()) {
                if (flags & MSG_PEEK)
                    ++probes;
                else
                    reads.push_back({len, got});
            }
            return got;
        };
        api.api().ioctlFionread = [ioctl = api.guarded().ioctlFionread, &probes, &rec,
                                   &data](int fd, int *count) {
            if (rec.body.size() < data.size())
                ++probes;
            return ioctl(fd, count);
        };
        ASSERT_TRUE(getDone(loop(), client, rec, server.url(QStringLiteral("/gros")), 1));
        EXPECT_TRUE(rec.body == data);
        EXPECT_EQ(rec.done[0].error, 0);
        // The first read brings the header. Every read of the body after it
        // asks for a block far larger than a line, and on average they bring
        // at least what a reader of 16 KiB blocks takes each time (256 such
        // reads for the body, where 8 KiB blocks need more than 500).
        const size_t first = 1;
        ASSERT_GT(reads.size(), first);
        std::int64_t bytes = 0;
        int small = 0;
        for (size_t i = first; i < reads.size(); ++i) {
            if (reads[i].asked < size_t(64 * 1024))
                ++small;
            bytes += std::max<ssize_t>(0, reads[i].got);
        }
        EXPECT_EQ(small, 0);
        // Whether more waits, or the end, is told by the body's reads
        // themselves; only the header's may ask (before and after it).
        EXPECT_LE(probes, 2);
        EXPECT_LE(std::int64_t(reads.size() - first) * 16 * 1024, bytes);
    }
}

TEST_F(HttpResponse, BandwidthSettingsOfNothingStillLetTheBodyThrough)
{
    // No sampling length and no budget: 1 ms samples of 1 byte, never a
    // division by zero nor a stall.
    LoopScope qt(EventLoop::Backend::Qt);
    const QByteArray data = pattern(20000, 7);
    ScriptedServer server{answerOnce("HTTP/1.0 200 OK\r\nContent-Length: 20000\r\n\r\n" + data)};
    THttpCli client;
    HttpRecorder rec(client);
    client.SetOptions({httpoBandwidthControl});
    client.SetBandwidthLimit(0);
    client.SetBandwidthSampling(0);
    client.SetURL(server.url(QStringLiteral("/rien")));
    client.GetASync();
    ASSERT_TRUE(waitDone(qt.loop(), rec, 1, 60000));
    EXPECT_TRUE(rec.body == data);
    EXPECT_EQ(rec.done[0].error, 0);
    // Throttling reads one block per notification.
    EXPECT_TRUE(client.CtrlSocket().ComponentOptions().has(wsoNoReceiveLoop));
}

TEST_F(HttpResponse, LargeFileFromNginxArrivesByteExact)
{
    LoopScope qt(EventLoop::Backend::Qt);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QByteArray block = pattern(1024 * 1024, 11);
    QCryptographicHash sent(QCryptographicHash::Sha256);
    {
        QFile file(root.path() + QStringLiteral("/gros.bin"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 50; ++i) {
            QByteArray b = block;
            b[0] = char(i);
            file.write(b);
            sent.addData(b);
        }
    }
    ProcessPeer nginx;
    if (!nginx.startNginx(root.path()))
        GTEST_SKIP() << "nginx is not available";
    QTemporaryDir out;
    const QString target = out.path() + QStringLiteral("/recu.bin");
    {
        TFileStream stream(target, TFileStream::Create);
        THttpCli client;
        HttpRecorder rec(client);
        client.OnDocData = nullptr;
        client.SetReceiveStream(&stream);
        client.SetURL(nginx.url(QStringLiteral("/gros.bin")));
        client.GetASync();
        ASSERT_TRUE(waitDone(qt.loop(), rec, 1, 120000));
        EXPECT_EQ(rec.done[0].error, 0);
        EXPECT_EQ(client.StatusCode(), 200);
        EXPECT_EQ(client.ReceivedCount(), 50 * 1024 * 1024);
        stream.Flush();
    }
    QFile received(target);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    QCryptographicHash got(QCryptographicHash::Sha256);
    got.addData(&received);
    EXPECT_EQ(got.result(), sent.result());
}

TEST_F(HttpResponse, PythonServerAnswersHeadForPresentAndMissingPages)
{
    LoopScope qt(EventLoop::Backend::Qt);
    QTemporaryDir root;
    QDir().mkpath(root.path() + QStringLiteral("/arbitrage"));
    QFile page(root.path() + QStringLiteral("/arbitrage/index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html>site</html>");
    page.close();
    ProcessPeer python;
    if (!python.startPython(root.path()))
        GTEST_SKIP() << "python3 is not available";
    THttpCli client;
    HttpRecorder rec(client);
    client.SetAgent(QStringLiteral("Mozilla/3.0 (compatible)"));
    client.SetURL(python.url(QStringLiteral("/arbitrage/index.html")));
    client.HeadAsync();
    ASSERT_TRUE(waitDone(qt.loop(), rec));
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(rec.done[0].error, 0);
    client.SetURL(python.url(QStringLiteral("/arbitrage/Vorn_Lud_0.0.0.html")));
    client.HeadAsync();
    ASSERT_TRUE(waitDone(qt.loop(), rec, 2));
    EXPECT_EQ(client.StatusCode(), 404);
    EXPECT_EQ(rec.done[1].error, 0);
    pumpFor(qt.loop(), 100);
    EXPECT_EQ(rec.done.size(), 2u);
    EXPECT_TRUE(rec.body.isEmpty());
}

} // namespace
