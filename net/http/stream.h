#pragma once
// The streams the HTTP client reads a body to send from and writes a received
// body into. The client only refers to them: their owner keeps them alive
// while a request runs.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <memory>

namespace net
{

class TStream
{
public:
    virtual ~TStream() = default;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    // Clamped to [0, Size()].
    virtual void Seek(std::int64_t position) = 0;
    // Cuts or extends; the position stays within the new size.
    virtual void SetSize(std::int64_t size) = 0;
    // Bytes read or written; fewer (0 at the end) when no more can be moved.
    virtual int Read(void *buffer, int count) = 0;
    virtual int Write(const void *buffer, int count) = 0;
};

class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray data) : m_data(std::move(data)) {}
    std::int64_t Size() const override { return m_data.size(); }
    std::int64_t Position() const override { return m_position; }
    void Seek(std::int64_t position) override;
    void SetSize(std::int64_t size) override;
    int Read(void *buffer, int count) override;
    int Write(const void *buffer, int count) override;
    const QByteArray &Data() const { return m_data; }
    void Clear();

private:
    QByteArray m_data;
    std::int64_t m_position = 0;
};

// A file opened for reading, or created (emptied) for writing and reading.
class TFileStream : public TStream
{
public:
    enum Mode { OpenRead, Create };
    // Raises platform::EFileError when the file cannot be opened.
    TFileStream(const QString &fileName, Mode mode);
    std::int64_t Size() const override { return m_file.size(); }
    std::int64_t Position() const override { return m_file.pos(); }
    void Seek(std::int64_t position) override;
    void SetSize(std::int64_t size) override;
    int Read(void *buffer, int count) override;
    int Write(const void *buffer, int count) override;
    // Pushes what Qt holds back to the file.
    void Flush() { m_file.flush(); }

private:
    QFile m_file;
};

// Takes everything, keeps nothing but the count (benchmarks, size checks).
class TNullStream : public TStream
{
public:
    std::int64_t Size() const override { return m_size; }
    std::int64_t Position() const override { return m_position; }
    void Seek(std::int64_t position) override;
    void SetSize(std::int64_t size) override;
    int Read(void *, int) override { return 0; }
    int Write(const void *buffer, int count) override;

private:
    std::int64_t m_size = 0;
    std::int64_t m_position = 0;
};

} // namespace net
