// Any bytes as a Content-Encoding value, then as a body: setting up the
// decoder chain must never crash, known codings pass the body unchanged, and
// a list too long for any server (past 16 codings) is refused before a
// decoder is made. Beside the raw value, the header bytes also spell a list
// whose length the harness knows: one known coding per byte, written bare,
// in capitals or quoted, behind separators the byte chooses; that list is
// refused exactly when it holds more than 16 codings, and accepted whole
// otherwise.
#include "net/http/httpcontcod.h"

#include <cstdint>
#include <cstdlib>

namespace
{

constexpr int kMaxCodings = 16;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QString spelledList(const QByteArray &bytes)
{
    static const char *const names[] = {"identity", "*", "IDENTITY", "\"identity\"", "\"*\""};
    static const char *const separators[] = {",", " ", "\t", " , ", ",,\t"};
    QString list;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        list += QLatin1String(separators[(b / 5) % 5]);
        list += QLatin1String(names[b % 5]);
    }
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    qsizetype newline = bytes.indexOf('\n');
    const QByteArray headerBytes = newline >= 0 ? bytes.left(newline) : bytes;
    QByteArray body = newline >= 0 ? bytes.mid(newline + 1) : QByteArray();
    QByteArray out;
    net::THttpContCodHandler handler(net::TWriteBufferProcedure(),
                                     [&out](const char *b, int n) { out.append(b, n); });
    handler.SetEnabled(true);
    handler.SetUseQuality(size % 2 == 0);
    handler.HeaderText();
    try {
        if (handler.Prepare(QString::fromLatin1(headerBytes)))
            check(handler.DecoderCount() <= kMaxCodings);
    } catch (const net::EHttpContentCodingException &) {
        check(handler.DecoderCount() == 0);
    }
    handler.WriteBuffer(body.constData(), static_cast<int>(body.size()));
    handler.Complete();
    // Identity and "*" are the only codings: whatever was accepted passes
    // unchanged.
    check(out == body);

    const qsizetype count = headerBytes.size();
    bool refused = false;
    try {
        check(handler.Prepare(spelledList(headerBytes)));
    } catch (const net::EHttpContentCodingException &) {
        refused = true;
    }
    check(refused == (count > kMaxCodings));
    check(handler.DecoderCount() == (refused ? 0 : count));
    out.clear();
    handler.WriteBuffer(body.constData(), static_cast<int>(body.size()));
    handler.Complete();
    check(out == body);
    return 0;
}
