#pragma once
// Exceptions of the class library that the program's windows and the
// application's error barrier rely on. Message() is the French text shown by
// the default error message.
#include <QString>
#include <exception>

namespace platform
{

class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {
    }
    const QString &Message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that is not a number or a date where one is expected.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be created, written, renamed or read.
class EFileError : public Exception
{
public:
    using Exception::Exception;
};

// A floating-point value that cannot be turned into a whole number (NaN, an
// infinity, or out of range), as the platform's Round raised.
class EInvalidOp : public Exception
{
public:
    using Exception::Exception;
};

} // namespace platform
