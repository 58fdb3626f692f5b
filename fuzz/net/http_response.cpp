// Any bytes as the reply to a request, arriving in any pieces: the client's
// own reception runs in simulation (no socket). It must never crash, and
// every request must end with exactly one completion.
//
// Input: byte 0 picks the request (GET 1.0, HEAD 1.0, GET 1.1 keeping the
// connection), byte 1 seeds the piece sizes (0: the whole reply at once),
// the rest is the reply.
#include "net/http/httpprot.h"
#include "net/loop/eventloop.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    net::LoopScope scope(net::EventLoop::Backend::Poll);
    net::EventLoop &loop = scope.loop();
    const int kind = data[0] % 3;
    unsigned seed = data[1];
    const char *reply = reinterpret_cast<const char *>(data + 2);
    const int length = static_cast<int>(size - 2);

    int completions = 0;
    {
        net::THttpCli client;
        client.OnRequestDone = [&](net::THttpCli *, net::THttpRequest, std::uint16_t) {
            ++completions;
        };
        net::TMemoryStream received;
        client.SetReceiveStream(&received);
        client.SetURL(QStringLiteral("http://127.0.0.1/a/b.html"));
        if (kind == 2)
            client.SetRequestVer(QStringLiteral("1.1"));
        client.simulateResponse(kind == 1 ? net::httpHEAD : net::httpGET);

        int offset = 0;
        while (offset < length) {
            int piece = length - offset;
            if (seed != 0) {
                seed = seed * 1103515245u + 12345u;
                piece = std::min(piece, 1 + static_cast<int>((seed >> 16) % 97));
            }
            client.simulateData(reply + offset, piece);
            offset += piece;
            for (int i = 0; i < 3; ++i)
                loop.processPending();
        }
        // The peer closes; relocations open new (simulated) connections,
        // which close in turn.
        for (int round = 0; round < 10 && client.State() != net::httpReady; ++round) {
            client.simulateClose();
            for (int i = 0; i < 4; ++i)
                loop.processPending();
        }
        if (client.State() != net::httpReady)
            client.Abort();
        for (int i = 0; i < 4; ++i)
            loop.processPending();
        if (client.State() != net::httpReady)
            std::abort();
        if (client.ReceivedCount() < 0)
            std::abort();
    }
    if (completions != 1)
        std::abort();
    return 0;
}
