#include "net/log/netlogger.h"

#include "platform/text/codec.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTime>
#include <sys/file.h>

Q_LOGGING_CATEGORY(lcNetDebugOutput, "vorn.net.debugoutput", QtWarningMsg)

namespace net
{

namespace
{
QString stamped(bool stamp, const QString &msg)
{
    if (!stamp)
        return msg;
    return QTime::currentTime().toString(QStringLiteral("hh:mm:ss:zzz")) + QLatin1Char(' ') + msg;
}
} // namespace

TNetLogger::TNetLogger() = default;

TNetLogger::~TNetLogger()
{
    std::map<const void *, std::function<void()>> notify;
    {
        std::lock_guard lock(m_lock);
        m_destroying = true;
        closeLogFile();
        notify.swap(m_freeNotify);
    }
    for (auto &entry : notify)
        entry.second();
}

TLogFileOption TNetLogger::LogFileOption() const
{
    std::lock_guard lock(m_lock);
    return m_fileOption;
}

void TNetLogger::SetLogFileOption(TLogFileOption value)
{
    std::lock_guard lock(m_lock);
    m_fileOption = value;
}

QString TNetLogger::LogFileName() const
{
    std::lock_guard lock(m_lock);
    return m_fileName;
}

void TNetLogger::SetLogFileName(const QString &value)
{
    std::lock_guard lock(m_lock);
    if (value == m_fileName)
        return;
    closeLogFile();
    m_fileName = value;
}

TLogOptions TNetLogger::LogOptions() const
{
    std::lock_guard lock(m_lock);
    return m_options;
}

void TNetLogger::SetLogOptions(TLogOptions value)
{
    std::lock_guard lock(m_lock);
    m_options = value;
}

TNetLogEvent TNetLogger::OnNetLogEvent() const
{
    std::lock_guard lock(m_lock);
    return m_onEvent;
}

void TNetLogger::SetOnNetLogEvent(TNetLogEvent handler)
{
    std::lock_guard lock(m_lock);
    m_onEvent = std::move(handler);
}

bool TNetLogger::CheckLogOptions(TLogOption option) const
{
    std::lock_guard lock(m_lock);
    return m_options.has(option);
}

void TNetLogger::LogMessage(void *Sender, TLogOption LogOption, const QString &Msg)
{
    std::lock_guard lock(m_lock);
    if (m_destroying)
        return;
    bool stamp = m_options.has(loAddStamp);
    if (m_options.has(loDestEvent) && m_onEvent)
        m_onEvent(Sender, LogOption, stamped(stamp, Msg));
    if (m_options.has(loDestOutDebug))
        qCDebug(lcNetDebugOutput).noquote() << stamped(stamp, Msg);
    if (m_options.has(loDestFile))
        writeLogFile(stamped(stamp, Msg) + QStringLiteral("\r\n"));
}

void TNetLogger::addFreeNotification(const void *key, std::function<void()> callback)
{
    std::lock_guard lock(m_lock);
    m_freeNotify[key] = std::move(callback);
}

void TNetLogger::removeFreeNotification(const void *key)
{
    std::lock_guard lock(m_lock);
    m_freeNotify.erase(key);
}

void TNetLogger::openLogFile()
{
    closeLogFile();
    if (m_fileName.isEmpty())
        throw ELoggerException(QStringLiteral("File name empty"));
    auto file = std::make_unique<QFile>(m_fileName);
    if (!file->exists()) {
        if (!file->open(QIODevice::WriteOnly))
            throw ELoggerException(file->errorString());
        file->close();
    }
    // Unbuffered: each line goes to the disk as it is written, and a line
    // the disk did not take shows at once.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw ELoggerException(file->errorString());
    // Others are kept from writing while the log is open, where the file
    // system allows it.
    ::flock(file->handle(), LOCK_EX | LOCK_NB);
    if (m_fileOption == lfoAppend)
        file->seek(file->size());
    else
        file->resize(0);
    m_file = std::move(file);
}

void TNetLogger::closeLogFile()
{
    m_file.reset();
}

void TNetLogger::writeLogFile(const QString &text)
{
    if (!m_file)
        openLogFile();
    QByteArray bytes = platform::toAnsi(text);
    // A line that did not fit (a full disk) is taken back whole, so the log
    // keeps what it held.
    const qint64 before = m_file->pos();
    if (m_file->write(bytes) != bytes.size()) {
        QString error = m_file->errorString();
        m_file->resize(before);
        closeLogFile();
        throw ELoggerException(error);
    }
}

} // namespace net
