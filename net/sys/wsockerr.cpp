#include "net/sys/wsockerr.h"

#include <cerrno>
#include <netdb.h>

namespace net
{

namespace
{
thread_local int t_lastError = 0;
thread_local int t_lastRawErrno = 0;
} // namespace

QString WSocketErrorDesc(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("No Error");
    case 10004:
        return QStringLiteral("Interrupted system call");
    case 10009:
        return QStringLiteral("Bad file number");
    case 10013:
        return QStringLiteral("Permission denied");
    case 10014:
        return QStringLiteral("Bad address");
    case 10022:
        return QStringLiteral("Invalid argument");
    case 10024:
        return QStringLiteral("Too many open files");
    case 10035:
        return QStringLiteral("Operation would block");
    case 10036:
        return QStringLiteral("Operation now in progress");
    case 10037:
        return QStringLiteral("Operation already in progress");
    case 10038:
        return QStringLiteral("Socket operation on non-socket");
    case 10039:
        return QStringLiteral("Destination address required");
    case 10040:
        return QStringLiteral("Message too long");
    case 10041:
        return QStringLiteral("Protocol wrong type for socket");
    case 10042:
        return QStringLiteral("Protocol not available");
    case 10043:
        return QStringLiteral("Protocol not supported");
    case 10044:
        return QStringLiteral("Socket type not supported");
    case 10045:
        return QStringLiteral("Operation not supported on socket");
    case 10046:
        return QStringLiteral("Protocol family not supported");
    case 10047:
        return QStringLiteral("Address family not supported by protocol family");
    case 10048:
        return QStringLiteral("Address already in use");
    case 10049:
        return QStringLiteral("Address not available");
    case 10050:
        return QStringLiteral("Network is down");
    case 10051:
        return QStringLiteral("Network is unreachable");
    case 10052:
        return QStringLiteral("Network dropped connection on reset");
    case 10053:
        return QStringLiteral("Connection aborted");
    case 10054:
        return QStringLiteral("Connection reset by peer");
    case 10055:
        return QStringLiteral("No buffer space available");
    case 10056:
        return QStringLiteral("Socket is already connected");
    case 10057:
        return QStringLiteral("Socket is not connected");
    case 10058:
        return QStringLiteral("Can't send after socket shutdown");
    case 10059:
        return QStringLiteral("Too many references: can't splice");
    case 10060:
        return QStringLiteral("Connection timed out");
    case 10061:
        return QStringLiteral("Connection refused");
    case 10062:
        return QStringLiteral("Too many levels of symbolic links");
    case 10063:
        return QStringLiteral("File name too long");
    case 10064:
        return QStringLiteral("Host is down");
    case 10065:
        return QStringLiteral("No route to host");
    case 10066:
        return QStringLiteral("Directory not empty");
    case 10067:
        return QStringLiteral("Too many processes");
    case 10068:
        return QStringLiteral("Too many users");
    case 10069:
        return QStringLiteral("Disc quota exceeded");
    case 10070:
        return QStringLiteral("Stale NFS file handle");
    case 10071:
        return QStringLiteral("Too many levels of remote in path");
    case 10091:
        return QStringLiteral("Network sub-system is unusable");
    case 10092:
        return QStringLiteral("WinSock DLL cannot support this application");
    case 10093:
        return QStringLiteral("WinSock not initialized");
    case 11001:
        return QStringLiteral("Host not found");
    case 11002:
        return QStringLiteral("Non-authoritative host not found");
    case 11003:
        return QStringLiteral("Non-recoverable error");
    case 11004:
        return QStringLiteral("No Data");
    default:
        return QStringLiteral("Not a WinSock error");
    }
}

QString GetWinsockErr(int code)
{
    return WSocketErrorDesc(code) + QStringLiteral(" (#") + QString::number(code) +
           QStringLiteral(")");
}

int errnoToWsa(int err, ErrnoContext context)
{
    switch (err) {
    case 0:
        return 0;
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EINPROGRESS:
        return context == ErrnoContext::Connect ? 10035 : 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
    case EPIPE:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    case EUSERS:
        return 10068;
    case EDQUOT:
        return 10069;
    case ESTALE:
        return 10070;
    case EREMOTE:
        return 10071;
    default:
        // EAGAIN equals EWOULDBLOCK on Linux; it cannot be a case label beside it.
        if (err == EAGAIN)
            return 10035;
        return 10022;
    }
}

int eaiToWsa(int eai, int sysErrno)
{
    switch (eai) {
    case 0:
        return 0;
    case EAI_NONAME:
        return 11001;
    case EAI_AGAIN:
        return 11002;
    case EAI_FAIL:
        return 11003;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return 11004;
    case EAI_MEMORY:
        return 10055;
    case EAI_SYSTEM:
        return errnoToWsa(sysErrno);
    default:
        return 11003;
    }
}

int WSAGetLastError()
{
    return t_lastError;
}

void WSASetLastError(int code)
{
    t_lastError = code;
    t_lastRawErrno = 0;
}

int lastRawErrno()
{
    return t_lastRawErrno;
}

int setLastErrorFromErrno(int err, ErrnoContext context)
{
    t_lastError = errnoToWsa(err, context);
    t_lastRawErrno = err;
    return t_lastError;
}

} // namespace net
