#pragma once
// Report streams (templates, prepared reports, dictionaries) and the byte
// encodings of strings, memos and integers inside them. Integers are
// little-endian; text crosses the boundary through the Windows-1252 codec, so
// lengths are byte lengths. Every reader checks what remains and throws
// EFrStreamError instead of reading past the end.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

namespace report
{

class FrStream
{
public:
    virtual ~FrStream() = default;
    virtual qint64 position() const = 0;
    virtual qint64 size() const = 0;
    virtual void seek(qint64 position) = 0;
    // Reads up to count bytes; returns how many were read.
    virtual qint64 read(char *data, qint64 count) = 0;
    virtual void write(const char *data, qint64 count) = 0;

    qint64 remaining() const { return size() - position(); }
    // The stream itself when it is a memory stream, whose small writes can
    // then be taken in without a call.
    virtual class FrMemoryStream *memoryStream() { return nullptr; }
    // Reads exactly count bytes or throws EFrStreamError (nothing is consumed then).
    void readExact(char *data, qint64 count);
    QByteArray readBytes(qint64 count);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
};

// A stream over bytes in memory. Its room grows by doubling, so that records
// written a few bytes at a time cost one copy per doubling, not per write.
class FrMemoryStream : public FrStream
{
public:
    FrMemoryStream() = default;
    explicit FrMemoryStream(QByteArray data) : m_data(std::move(data)), m_size(m_data.size()) {}
    qint64 position() const override { return m_pos; }
    qint64 size() const override { return m_size; }
    void seek(qint64 position) override;
    qint64 read(char *data, qint64 count) override;
    void write(const char *data, qint64 count) override;
    using FrStream::write;
    FrMemoryStream *memoryStream() final { return this; }
    // write() for the few bytes of a field: straight into the room there is.
    void put(const char *data, qint64 count)
    {
        if (count > 0 && count <= m_window.room - m_pos) {
            std::memcpy(m_window.bytes + m_pos, data, size_t(count));
            m_pos += count;
            m_size = std::max(m_size, m_pos);
        } else {
            write(data, count);
        }
    }

    // Where count bytes may be written at the position, straight into the
    // room there is, or null; advance() then moves on over those written.
    char *room(qint64 count)
    {
        return count <= m_window.room - m_pos ? m_window.bytes + m_pos : nullptr;
    }
    void advance(qint64 count)
    {
        m_pos += count;
        m_size = std::max(m_size, m_pos);
    }

    // The bytes written, without the spare room.
    const QByteArray &data() const;
    // The same bytes as a copy (shared, not copied, unless packed), leaving
    // a packed stream packed: for reading a complete stream through another.
    QByteArray bytes() const;
    void clear();
    // Gives back the spare room of a stream that is complete (a prepared
    // page once the next one begins) and keeps its bytes packed when that
    // saves room: object records repeat, field for field, down a page.
    // Reading or writing it again unpacks it; its bytes never change.
    void pack();
    bool isPacked() const { return m_packed; }

private:
    void unpack() const;

    // Its size runs ahead of the stream's: the room for the next writes.
    // Packed: the packed form, which unpacks to m_size bytes.
    mutable QByteArray m_data;
    qint64 m_size = 0;
    qint64 m_pos = 0;
    mutable bool m_packed = false;
    // The bytes put() may write to: m_data's own, unshared bytes, none
    // (room 0) whenever m_data may be shared or packed. A copied or moved
    // stream starts without it.
    struct Window {
        char *bytes = nullptr;
        qint64 room = 0;
        Window() = default;
        Window(const Window &) {}
        Window(Window &&other) noexcept { other.clear(); }
        Window &operator=(const Window &) { return clear(); }
        Window &operator=(Window &&other) noexcept
        {
            other.clear();
            return clear();
        }
        Window &clear()
        {
            bytes = nullptr;
            room = 0;
            return *this;
        }
    };
    mutable Window m_window;
};

// A stream over a file; opening failures and write failures throw EFrStreamError.
class FrFileStream : public FrStream
{
public:
    enum Mode { Read, Create };
    FrFileStream(const QString &path, Mode mode);
    qint64 position() const override;
    qint64 size() const override;
    void seek(qint64 position) override;
    qint64 read(char *data, qint64 count) override;
    void write(const char *data, qint64 count) override;
    using FrStream::write;

private:
    QFile m_file;
};

// The longest string or line a 16-bit length can describe.
constexpr int kFrMaxCountedLength = 65535;

quint8 frReadByte(FrStream &stream);
quint16 frReadWord(FrStream &stream);
qint32 frReadInteger(FrStream &stream);
// Inline: a prepared page is written a few bytes at a time, some thirty
// fields for every object.
inline void frPut(FrStream &stream, const char *data, qint64 count)
{
    if (FrMemoryStream *memory = stream.memoryStream())
        memory->put(data, count);
    else
        stream.write(data, count);
}
inline void frWriteByte(FrStream &stream, quint8 value)
{
    const char c = char(value);
    frPut(stream, &c, 1);
}
inline void frWriteWord(FrStream &stream, quint16 value)
{
    const char b[2] = {char(value & 0xFF), char(value >> 8)};
    frPut(stream, b, 2);
}
inline void frWriteInteger(FrStream &stream, qint32 value)
{
    const quint32 v = quint32(value);
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char((v >> 24) & 0xFF)};
    frPut(stream, b, 4);
}

// A run of fixed-size fields gathered on the stack and written in one go,
// in the byte order of frWriteByte, frWriteWord and frWriteInteger.
class FrFieldBytes
{
public:
    FrFieldBytes &byte(quint8 value)
    {
        m_bytes[m_size++] = char(value);
        return *this;
    }
    FrFieldBytes &word(quint16 value)
    {
        qToLittleEndian(value, m_bytes + m_size);
        m_size += 2;
        return *this;
    }
    FrFieldBytes &integer(qint32 value)
    {
        qToLittleEndian(value, m_bytes + m_size);
        m_size += 4;
        return *this;
    }
    // Writes the fields gathered and starts again.
    void writeTo(FrStream &stream)
    {
        frPut(stream, m_bytes, m_size);
        m_size = 0;
    }

private:
    static constexpr int kRoom = 64; // more than any record's run of fields
    char m_bytes[kRoom];
    int m_size = 0;
};

// Counted string: uint16 length, the bytes, one byte 0 (skipped unchecked).
QString frReadString(FrStream &stream);
void frWriteString(FrStream &stream, const QString &text);
// Counted memo: uint16 count, then per line a uint16 length and the bytes,
// 13 between lines and 0 after the last (a lone 0 for no line).
void frReadMemo(FrStream &stream, QStringList &lines);
void frWriteMemo(FrStream &stream, const QStringList &lines);
// Terminated forms of versions 21 and 22 (read only).
QString frReadStringZ(FrStream &stream);
void frReadMemoZ(FrStream &stream, QStringList &lines);

// The bytes of a file the library reads whole, through the platform's checked
// read (EFileError with its reason). checkHead is handed the file's first
// piece (up to 1 MB, the whole of a smaller file) before the rest is read, and
// throws to refuse a file whose first bytes already show it is not of its
// kind; an empty file gives no piece.
QByteArray frReadFile(const QString &fileName,
                      const std::function<void(QByteArrayView head)> &checkHead = {});
// In the encoding of the stream being read (fr().frTemplateVersion).
QString frReadTemplateString(FrStream &stream);
void frReadTemplateMemo(FrStream &stream, QStringList &lines);

} // namespace report
