#include "report/core/frstream.h"

#include "platform/text/codec.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"

#include <QVarLengthArray>
#include <QtGlobal>
#include <algorithm>
#include <cstring>

namespace report
{

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
    const qint64 end = m_pos + count;
    if (end > m_data.size())
        m_data.resize(std::max<qint64>({end, 2 * qint64(m_data.size()), 256}));
    std::memcpy(m_data.data() + m_pos, data, size_t(count));
    m_pos = end;
    m_size = std::max(m_size, end);
}

const QByteArray &FrMemoryStream::data() const
{
    if (m_data.size() != m_size)
        m_data.resize(m_size); // the allocation stays for further writes
    return m_data;
}

void FrMemoryStream::clear()
{
    m_data.clear();
    m_size = 0;
    m_pos = 0;
}

void FrMemoryStream::squeeze()
{
    m_data.resize(m_size);
    m_data.squeeze();
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

void frWriteByte(FrStream &stream, quint8 value)
{
    char c = char(value);
    stream.write(&c, 1);
}

void frWriteWord(FrStream &stream, quint16 value)
{
    char b[2] = {char(value & 0xFF), char(value >> 8)};
    stream.write(b, 2);
}

void frWriteInteger(FrStream &stream, qint32 value)
{
    quint32 v = quint32(value);
    char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                 char((v >> 24) & 0xFF)};
    stream.write(b, 4);
}

namespace
{

// A counted text: its 16-bit byte length, its bytes cut to what that length
// can hold (so that the rest of the stream stays readable), then the byte
// `after` unless it is negative. One write; short texts, nearly all of them,
// are encoded on the stack.
void writeCounted(FrStream &stream, QStringView text, int after)
{
    QVarLengthArray<char, 512> buffer(text.size() + 3);
    qsizetype n = platform::encodeAnsi(text, buffer.data() + 2);
    if (n > kFrMaxCountedLength) {
        qWarning("report stream: text of %lld bytes truncated to %d", qint64(n),
                 kFrMaxCountedLength);
        n = kFrMaxCountedLength;
    }
    buffer[0] = char(n & 0xFF);
    buffer[1] = char((n >> 8) & 0xFF);
    qsizetype total = n + 2;
    if (after >= 0)
        buffer[total++] = char(after);
    stream.write(buffer.data(), total);
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

} // namespace report
