#include "net/http/stream.h"

#include "platform/text/exceptions.h"

#include <algorithm>
#include <cstring>

namespace net
{

void TMemoryStream::Seek(std::int64_t position)
{
    m_position = std::clamp<std::int64_t>(position, 0, m_data.size());
}

void TMemoryStream::SetSize(std::int64_t size)
{
    m_data.resize(std::max<std::int64_t>(0, size));
    m_position = std::min<std::int64_t>(m_position, m_data.size());
}

int TMemoryStream::Read(void *buffer, int count)
{
    if (count <= 0)
        return 0;
    int n = static_cast<int>(std::clamp<std::int64_t>(m_data.size() - m_position, 0, count));
    if (n > 0)
        std::memcpy(buffer, m_data.constData() + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

int TMemoryStream::Write(const void *buffer, int count)
{
    if (count <= 0)
        return 0;
    std::int64_t end = m_position + count;
    if (end > m_data.size())
        m_data.resize(end);
    std::memcpy(m_data.data() + m_position, buffer, static_cast<size_t>(count));
    m_position = end;
    return count;
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

TFileStream::TFileStream(const QString &fileName, Mode mode) : m_file(fileName)
{
    QIODevice::OpenMode flags =
        mode == OpenRead ? QIODevice::ReadOnly : (QIODevice::ReadWrite | QIODevice::Truncate);
    if (!m_file.open(flags))
        throw platform::EFileError(QStringLiteral("Impossible d'ouvrir le fichier ") + fileName);
}

void TFileStream::Seek(std::int64_t position)
{
    m_file.seek(std::clamp<std::int64_t>(position, 0, m_file.size()));
}

void TFileStream::SetSize(std::int64_t size)
{
    std::int64_t position = m_file.pos();
    m_file.resize(std::max<std::int64_t>(0, size));
    m_file.seek(std::min<std::int64_t>(position, m_file.size()));
}

int TFileStream::Read(void *buffer, int count)
{
    if (count <= 0)
        return 0;
    qint64 n = m_file.read(static_cast<char *>(buffer), count);
    return n < 0 ? 0 : static_cast<int>(n);
}

int TFileStream::Write(const void *buffer, int count)
{
    if (count <= 0)
        return 0;
    qint64 n = m_file.write(static_cast<const char *>(buffer), count);
    return n < 0 ? 0 : static_cast<int>(n);
}

void TNullStream::Seek(std::int64_t position)
{
    m_position = std::clamp<std::int64_t>(position, 0, m_size);
}

void TNullStream::SetSize(std::int64_t size)
{
    m_size = std::max<std::int64_t>(0, size);
    m_position = std::min(m_position, m_size);
}

int TNullStream::Write(const void *, int count)
{
    if (count <= 0)
        return 0;
    m_position += count;
    m_size = std::max(m_size, m_position);
    return count;
}

} // namespace net
