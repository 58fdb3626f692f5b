// Any bytes as a Content-Encoding value, then as a body: setting up the
// decoder chain must never crash, known codings pass the body unchanged, and
// a list too long for any server is refused before a decoder is made.
#include "net/http/httpcontcod.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    qsizetype newline = bytes.indexOf('\n');
    QString header = QString::fromLatin1(newline >= 0 ? bytes.left(newline) : bytes);
    QByteArray body = newline >= 0 ? bytes.mid(newline + 1) : QByteArray();
    QByteArray out;
    net::THttpContCodHandler handler(net::TWriteBufferProcedure(),
                                     [&out](const char *b, int n) { out.append(b, n); });
    handler.SetEnabled(true);
    handler.SetUseQuality(size % 2 == 0);
    handler.HeaderText();
    try {
        handler.Prepare(header);
    } catch (const net::EHttpContentCodingException &) {
        if (handler.DecoderCount() != 0)
            std::abort();
    }
    handler.WriteBuffer(body.constData(), static_cast<int>(body.size()));
    handler.Complete();
    // Identity and "*" are the only codings: whatever was accepted passes
    // unchanged.
    if (out != body)
        std::abort();
    return 0;
}
