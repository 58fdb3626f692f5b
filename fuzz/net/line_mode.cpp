// A received stream through the line mode, over a scripted socket binding.
// Input: a byte of options (editing, echo, which line end, a small limit), a
// byte seeding the split schedule, then the stream. The stream is received
// once in one read and once cut by the schedule, then the peer closes.
// Checked: without editing or limit, the lines are those of a plain split of
// the stream (its unfinished end last, at the close); with editing, both
// runs agree; with a limit, the lines are whole lines of the stream, in
// order; always, every line but the last ends with the line end, and the
// notifications stay bounded.
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

struct Options {
    bool edit, echo;
    QByteArray end;
    int limit;
};

QList<QByteArray> receive(const Options &options, const QByteArray &stream, int seed, bool cut)
{
    net::EventLoop &loop = fuzzLoop();
    nettest::ScriptedApi api;
    QList<QByteArray> lines;
    int dispatches = 0;
    {
        nettest::ScriptedSocket socket;
        socket.SetLineMode(true);
        socket.SetLineEdit(options.edit);
        socket.SetLineEcho(options.echo);
        socket.SetLineEnd(options.end);
        socket.SetLineLimit(options.limit);
        socket.OnDataAvailable = [&](net::TCustomWSocket *s, std::uint16_t) {
            ++dispatches;
            lines << s->ReceiveStr();
        };
        socket.connectScripted();
        std::mt19937 schedule(static_cast<unsigned>(seed));
        for (qsizetype at = 0; at < stream.size();) {
            qsizetype piece =
                cut ? std::uniform_int_distribution<qsizetype>(1, 16)(schedule) : stream.size();
            piece = std::min(piece, stream.size() - at);
            api.feed(stream.mid(at, piece));
            at += piece;
            socket.inject(net::FD_READ);
            loop.processPending();
        }
        api.endOfStream();
        socket.inject(net::FD_CLOSE);
        loop.processPending();
    }
    // Tabs widen the text at most eightfold; a line costs one dispatch.
    check(dispatches <= 8 * stream.size() + 2);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const QByteArray ends[] = {QByteArrayLiteral("\r\n"), QByteArrayLiteral("\n"),
                                      QByteArrayLiteral("\r\n\r\n"), QByteArrayLiteral("aa")};
    Options options{(data[0] & 1) != 0, (data[0] & 2) != 0, ends[(data[0] >> 2) & 3],
                    (data[0] & 16) ? 1 + (data[0] >> 5) * 3 : 0};
    const QByteArray stream(reinterpret_cast<const char *>(data + 2),
                            static_cast<qsizetype>(size - 2));
    const QList<QByteArray> whole = receive(options, stream, data[1], false);
    const QList<QByteArray> cut = receive(options, stream, data[1], true);
    for (const QList<QByteArray> *lines : {&whole, &cut})
        for (qsizetype i = 0; i + 1 < lines->size(); ++i)
            check(lines->at(i).endsWith(options.end));
    if (options.limit == 0)
        check(whole == cut);
    if (options.edit)
        return 0;
    QList<QByteArray> reference;
    qsizetype from = 0;
    for (qsizetype at; (at = stream.indexOf(options.end, from)) >= 0;
         from = at + options.end.size())
        reference << stream.mid(from, at + options.end.size() - from);
    if (from < stream.size())
        reference << stream.mid(from);
    if (options.limit == 0) {
        check(whole == reference);
        return 0;
    }
    // The limit only drops lines: every line delivered is a whole line of
    // the stream, in order, never the rest of a cleared one.
    for (const QList<QByteArray> *lines : {&whole, &cut}) {
        qsizetype next = 0;
        for (const QByteArray &line : *lines) {
            while (next < reference.size() && reference.at(next) != line)
                ++next;
            check(next < reference.size());
            ++next;
        }
    }
    return 0;
}
