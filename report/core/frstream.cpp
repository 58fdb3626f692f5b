#include "report/core/frstream.h"

#include "platform/text/codec.h"
#include "platform/text/linefile.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"

#include <QVarLengthArray>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace report
{

namespace
{

// The packed form of a memory stream, which only lives in memory: tokens of
// a literal count (7 bits a byte, high bit: more follows), the literal
// bytes, then, unless the bytes are complete, a match length less 4 and the
// distance back to the earlier bytes it repeats (both counted the same way).
constexpr int kPackHashBits = 12;
constexpr qint64 kPackMinMatch = 4;
constexpr qint64 kPackMinSize = 256;

quint32 load32(const unsigned char *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return v;
}

quint64 load64(const unsigned char *p)
{
    quint64 v;
    std::memcpy(&v, p, 8);
    return v;
}

bool putCount(unsigned char *&out, const unsigned char *end, quint64 value)
{
    // Nearly every count of a page fits in one byte.
    if (value < 0x80 && out != end) {
        *out++ = static_cast<unsigned char>(value);
        return true;
    }
    do {
        if (out == end)
            return false;
        const auto low = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        *out++ = value ? (low | 0x80) : low;
    } while (value);
    return true;
}

bool getCount(const unsigned char *&in, const unsigned char *end, quint64 &value)
{
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (in == end)
            return false;
        const unsigned char b = *in++;
        value |= quint64(b & 0x7F) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// Packs size bytes into out, which has room for cap bytes; -1 when the
// packed form would not fit (then packing saves nothing worth having).
qint64 packBytes(const unsigned char *src, qint64 size, unsigned char *out, qint64 cap)
{
    std::array<qint32, 1 << kPackHashBits> last;
    last.fill(-1);
    unsigned char *o = out;
    const unsigned char *const end = out + cap;
    qint64 anchor = 0;
    qint64 i = 0;
    const auto literals = [&](qint64 upTo) {
        const qint64 n = upTo - anchor;
        if (!putCount(o, end, quint64(n)) || end - o < n)
            return false;
        // The few bytes between two matches, most often: copied sixteen at
        // a time where both sides have that room, without a call.
        if (n <= 16 && end - o >= 16 && size - anchor >= 16) {
            std::memcpy(o, src + anchor, 16);
        } else {
            std::memcpy(o, src + anchor, size_t(n));
        }
        o += n;
        return true;
    };
    while (i + kPackMinMatch <= size) {
        const quint32 v = load32(src + i);
        const quint32 h = (v * 2654435761u) >> (32 - kPackHashBits);
        const qint64 from = last[h];
        last[h] = qint32(i);
        if (from < 0 || load32(src + from) != v) {
            ++i;
            continue;
        }
        qint64 len = kPackMinMatch;
        while (i + len + 8 <= size) {
            const quint64 diff = load64(src + from + len) ^ load64(src + i + len);
            if (diff) {
                len += qCountTrailingZeroBits(diff) / 8;
                break;
            }
            len += 8;
        }
        if (i + len + 8 > size)
            while (i + len < size && src[from + len] == src[i + len])
                ++len;
        if (!literals(i) || !putCount(o, end, quint64(len - kPackMinMatch)) ||
            !putCount(o, end, quint64(i - from)))
            return -1;
        i += len;
        anchor = i;
    }
    return literals(size) ? o - out : -1;
}

// Unpacks what packBytes made into exactly size bytes; false if it does not.
bool unpackBytes(const unsigned char *in, qint64 inSize, unsigned char *dst, qint64 size)
{
    const unsigned char *const end = in + inSize;
    qint64 d = 0;
    for (;;) {
        quint64 n;
        if (!getCount(in, end, n) || n > quint64(size - d) || n > quint64(end - in))
            return false;
        std::memcpy(dst + d, in, size_t(n));
        in += n;
        d += qint64(n);
        if (d == size)
            return in == end;
        quint64 len;
        quint64 back;
        if (!getCount(in, end, len) || !getCount(in, end, back) || back == 0 || back > quint64(d) ||
            len > quint64(size - d) || qint64(len) + kPackMinMatch > size - d)
            return false;
        const unsigned char *from = dst + d - qint64(back);
        unsigned char *to = dst + d;
        const qint64 count = qint64(len) + kPackMinMatch;
        if (qint64(back) >= count)
            std::memcpy(to, from, size_t(count));
        else
            for (qint64 k = 0; k < count; ++k) // overlapping: a run repeating itself
                to[k] = from[k];
        d += count;
    }
}

} // namespace

void FrStream::readExact(char *data, qint64 count)
{
    if (count < 0 || remaining() < count)
        throw EFrStreamError();
    if (count == 0)
        return;
    if (read(data, count) != count)
        throw EFrStreamError();
}

QByteArray FrStream::readBytes(qint64 count)
{
    if (count < 0 || remaining() < count)
        throw EFrStreamError();
    QByteArray bytes(count, Qt::Uninitialized);
    readExact(bytes.data(), count);
    return bytes;
}

void FrMemoryStream::seek(qint64 position)
{
    m_pos = qBound<qint64>(0, position, m_size);
}

qint64 FrMemoryStream::read(char *data, qint64 count)
{
    if (m_packed)
        unpack();
    qint64 n = qMin(count, m_size - m_pos);
    if (n <= 0)
        return 0;
    std::memcpy(data, m_data.constData() + m_pos, size_t(n));
    m_pos += n;
    return n;
}

void FrMemoryStream::write(const char *data, qint64 count)
{
    if (count <= 0)
        return;
    if (m_packed)
        unpack();
    const qint64 end = m_pos + count;
    if (end > m_data.size())
        m_data.resize(std::max<qint64>({end, 2 * qint64(m_data.size()), 256}));
    m_window.bytes = m_data.data(); // detached: nobody else sees these bytes
    m_window.room = m_data.size();
    std::memcpy(m_window.bytes + m_pos, data, size_t(count));
    m_pos = end;
    m_size = std::max(m_size, end);
}

const QByteArray &FrMemoryStream::data() const
{
    if (m_packed)
        unpack();
    if (m_data.size() != m_size)
        m_data.resize(m_size); // the allocation stays for further writes
    m_window.clear();          // the caller may keep a shared copy
    return m_data;
}

QByteArray FrMemoryStream::bytes() const
{
    if (!m_packed)
        return data();
    QByteArray out(m_size, Qt::Uninitialized);
    if (!unpackBytes(reinterpret_cast<const unsigned char *>(m_data.constData()), m_data.size(),
                     reinterpret_cast<unsigned char *>(out.data()), m_size))
        throw EFrStreamError(QStringLiteral("Page en mémoire endommagée"));
    return out;
}

void FrMemoryStream::clear()
{
    m_data.clear();
    m_size = 0;
    m_pos = 0;
    m_packed = false;
    m_window.clear();
}

void FrMemoryStream::pack()
{
    if (m_packed)
        return;
    m_window.clear();
    m_data.resize(m_size);
    // Positions are kept in 32 bits while packing.
    if (m_size >= kPackMinSize && m_size <= std::numeric_limits<qint32>::max()) {
        // Worth keeping only when it saves at least an eighth.
        static thread_local std::vector<unsigned char> scratch;
        const qint64 cap = m_size - m_size / 8;
        scratch.resize(size_t(cap));
        const qint64 packed = packBytes(reinterpret_cast<const unsigned char *>(m_data.constData()),
                                        m_size, scratch.data(), cap);
        if (packed > 0) {
            m_data = QByteArray(reinterpret_cast<const char *>(scratch.data()), packed);
            m_packed = true;
            return;
        }
    }
    m_data.squeeze();
}

void FrMemoryStream::unpack() const
{
    m_data = bytes();
    m_packed = false;
    m_window.clear();
}

FrFileStream::FrFileStream(const QString &path, Mode mode) : m_file(path)
{
    QIODevice::OpenMode flags =
        mode == Read ? QIODevice::ReadOnly : (QIODevice::ReadWrite | QIODevice::Truncate);
    if (!m_file.open(flags))
        throw EFrStreamError(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path));
}

qint64 FrFileStream::position() const
{
    return m_file.pos();
}

qint64 FrFileStream::size() const
{
    return m_file.size();
}

void FrFileStream::seek(qint64 position)
{
    m_file.seek(qBound<qint64>(0, position, m_file.size()));
}

qint64 FrFileStream::read(char *data, qint64 count)
{
    qint64 n = m_file.read(data, count);
    return n < 0 ? 0 : n;
}

void FrFileStream::write(const char *data, qint64 count)
{
    if (count > 0 && m_file.write(data, count) != count)
        throw EFrStreamError(QStringLiteral("Erreur d'écriture du flux"));
}

quint8 frReadByte(FrStream &stream)
{
    char c;
    stream.readExact(&c, 1);
    return quint8(c);
}

quint16 frReadWord(FrStream &stream)
{
    unsigned char b[2];
    stream.readExact(reinterpret_cast<char *>(b), 2);
    return quint16(b[0] | (b[1] << 8));
}

qint32 frReadInteger(FrStream &stream)
{
    unsigned char b[4];
    stream.readExact(reinterpret_cast<char *>(b), 4);
    return qint32(quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) |
                  (quint32(b[3]) << 24));
}

namespace
{

// A counted text: its 16-bit byte length, its bytes cut to what that length
// can hold (so that the rest of the stream stays readable), then the byte
// `after` unless it is negative; `before`, a 16-bit word, comes first unless
// it is negative. One write; short texts, nearly all of them, are encoded on
// the stack.
qsizetype encodeCounted(char *buffer, QStringView text, int after, int before)
{
    const qsizetype lead = before >= 0 ? 2 : 0;
    if (lead) {
        buffer[0] = char(before & 0xFF);
        buffer[1] = char((before >> 8) & 0xFF);
    }
    qsizetype n = platform::encodeAnsi(text, buffer + lead + 2);
    if (n > kFrMaxCountedLength) {
        qWarning("report stream: text of %lld bytes truncated to %d", qint64(n),
                 kFrMaxCountedLength);
        n = kFrMaxCountedLength;
    }
    buffer[lead] = char(n & 0xFF);
    buffer[lead + 1] = char((n >> 8) & 0xFF);
    qsizetype total = lead + n + 2;
    if (after >= 0)
        buffer[total++] = char(after);
    return total;
}

// Through a buffer: kept apart so that the common case below needs no room
// for it on the stack.
Q_NEVER_INLINE void writeCountedBuffered(FrStream &stream, QStringView text, int after, int before)
{
    QVarLengthArray<char, 512> buffer(text.size() + 5);
    frPut(stream, buffer.data(), encodeCounted(buffer.data(), text, after, before));
}

void writeCounted(FrStream &stream, QStringView text, int after, int before = -1)
{
    // Encoded one byte a character at most, with two counts and a byte. A
    // text to be cut short goes through the buffer: its bytes past the cut
    // must not land on bytes of the stream that follow.
    const qsizetype most = text.size() + 5;
    FrMemoryStream *memory = most <= kFrMaxCountedLength ? stream.memoryStream() : nullptr;
    if (memory)
        if (char *room = memory->room(most)) {
            memory->advance(encodeCounted(room, text, after, before));
            return;
        }
    writeCountedBuffered(stream, text, after, before);
}

} // namespace

QString frReadString(FrStream &stream)
{
    quint16 n = frReadWord(stream);
    if (stream.remaining() < qint64(n) + 1)
        throw EFrStreamError();
    QByteArray bytes = stream.readBytes(n);
    frReadByte(stream); // the trailing 0, as written
    return platform::fromAnsi(bytes);
}

void frWriteString(FrStream &stream, const QString &text)
{
    writeCounted(stream, text, 0);
}

void frReadMemo(FrStream &stream, QStringList &lines)
{
    lines.clear();
    quint16 count = frReadWord(stream);
    if (count == 0) {
        frReadByte(stream);
        return;
    }
    // The separator, not the count, ends the list.
    quint8 separator = 0;
    do {
        quint16 n = frReadWord(stream);
        if (stream.remaining() < qint64(n) + 1)
            throw EFrStreamError();
        lines.append(platform::fromAnsi(stream.readBytes(n)));
        separator = frReadByte(stream);
    } while (separator != 0);
}

void frWriteMemo(FrStream &stream, const QStringList &lines)
{
    qsizetype count = lines.size();
    if (count > kFrMaxCountedLength)
        qWarning("report stream: memo of %lld lines written with the count %d", qint64(count),
                 kFrMaxCountedLength);
    if (count == 1) {
        // Nearly every memo: its count, its line and the closing 0 in one write.
        writeCounted(stream, lines.at(0), 0, 1);
        return;
    }
    frWriteWord(stream, quint16(qMin<qsizetype>(count, kFrMaxCountedLength)));
    for (qsizetype i = 0; i < count; ++i)
        writeCounted(stream, lines.at(i), i != count - 1 ? 13 : -1);
    frWriteByte(stream, 0);
}

namespace
{

// Bytes up to the next 0, which is consumed; throws when the stream ends first.
QByteArray readTerminated(FrStream &stream)
{
    qint64 start = stream.position();
    qint64 left = stream.remaining();
    QByteArray chunk;
    QByteArray result;
    while (left > 0) {
        qint64 n = qMin<qint64>(left, 4096);
        chunk = stream.readBytes(n);
        left -= n;
        int zero = chunk.indexOf('\0');
        if (zero >= 0) {
            result.append(chunk.constData(), zero);
            stream.seek(start + result.size() + 1);
            return result;
        }
        result.append(chunk);
    }
    stream.seek(start);
    throw EFrStreamError();
}

} // namespace

QString frReadStringZ(FrStream &stream)
{
    return platform::fromAnsi(readTerminated(stream));
}

void frReadMemoZ(FrStream &stream, QStringList &lines)
{
    lines.clear();
    QByteArray bytes = readTerminated(stream);
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\r') {
            lines.append(platform::fromAnsi(QByteArrayView(bytes).sliced(start, i - start)));
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.append(platform::fromAnsi(QByteArrayView(bytes).sliced(start)));
}

QString frReadTemplateString(FrStream &stream)
{
    return fr().frTemplateVersion < 23 ? frReadStringZ(stream) : frReadString(stream);
}

void frReadTemplateMemo(FrStream &stream, QStringList &lines)
{
    if (fr().frTemplateVersion < 23)
        frReadMemoZ(stream, lines);
    else
        frReadMemo(stream, lines);
}

QByteArray frReadFile(const QString &fileName,
                      const std::function<void(QByteArrayView head)> &checkHead)
{
    platform::LineFile::Watch watch;
    bool first = true;
    if (checkHead)
        watch.piece = [&](QByteArrayView piece) {
            if (first)
                checkHead(piece);
            first = false;
        };
    return platform::LineFile::readBytes(fileName, watch);
}

} // namespace report
