#pragma once
// TNetLogger: the trace sink that sockets and the HTTP client may share. It
// filters by option and writes to an event, the debugger output (the
// "vorn.net.debugoutput" logging category, off by default) and a log file.
// Everything runs under one recursive lock: the event handler runs with the
// lock held, may log again, and must not wait on other threads.
#include "net/sys/enumset.h"
#include "platform/text/exceptions.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

class QFile;

namespace net
{

enum TLogOption {
    loDestEvent,
    loDestFile,
    loDestOutDebug,
    loAddStamp,
    loWsockErr,
    loWsockInfo,
    loWsockDump,
    loSslErr,
    loSslInfo,
    loSslDump,
    loProtSpecErr,
    loProtSpecInfo,
    loProtSpecDump
};
using TLogOptions = EnumSet<TLogOption>;

enum TLogFileOption { lfoAppend, lfoOverwrite };

class ELoggerException : public platform::Exception
{
public:
    using Exception::Exception;
};

using TNetLogEvent = std::function<void(void *Sender, TLogOption LogOption, const QString &Msg)>;

class TNetLogger
{
public:
    TNetLogger();
    ~TNetLogger();
    TNetLogger(const TNetLogger &) = delete;
    TNetLogger &operator=(const TNetLogger &) = delete;

    TLogFileOption LogFileOption() const;
    void SetLogFileOption(TLogFileOption value);
    QString LogFileName() const;
    // Closes the open file; the next message opens the new one.
    void SetLogFileName(const QString &value);
    TLogOptions LogOptions() const;
    void SetLogOptions(TLogOptions value);
    TNetLogEvent OnNetLogEvent() const;
    void SetOnNetLogEvent(TNetLogEvent handler);

    // True when the option is in LogOptions (senders ask before composing).
    bool CheckLogOptions(TLogOption option) const;
    // Raises ELoggerException for file failures, after releasing the lock.
    void LogMessage(void *Sender, TLogOption LogOption, const QString &Msg);

    // Free notification: the callback runs when the logger is destroyed.
    void addFreeNotification(const void *key, std::function<void()> callback);
    void removeFreeNotification(const void *key);

private:
    void openLogFile();
    void closeLogFile();
    void writeLogFile(const QString &text);

    mutable std::recursive_mutex m_lock;
    TLogFileOption m_fileOption = lfoAppend;
    QString m_fileName;
    TLogOptions m_options;
    TNetLogEvent m_onEvent;
    std::unique_ptr<QFile> m_file;
    bool m_destroying = false;
    std::map<const void *, std::function<void()>> m_freeNotify;
};

} // namespace net
