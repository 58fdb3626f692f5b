#pragma once
// Error numbers of the socket layer. The owner of a socket only ever sees the
// platform numbers (10061 for a refused connection ...), never Linux errno
// values, which differ from the BSD ones above 34.
#include <QString>

namespace net
{

// Text of a socket error number; "Not a WinSock error" for an unknown one.
QString WSocketErrorDesc(int code);
// WSocketErrorDesc + " (#" + code + ")".
QString GetWinsockErr(int code);

// Where an errno came from: connect reports EAGAIN and EINPROGRESS as "would
// block", every other call reports EINPROGRESS as "in progress".
enum class ErrnoContext { General, Connect };

// The platform number for an errno; anything unknown gives 10022.
int errnoToWsa(int err, ErrnoContext context = ErrnoContext::General);
// The platform number for a getaddrinfo/getnameinfo result (sysErrno is the
// errno to map when the result is EAI_SYSTEM).
int eaiToWsa(int eai, int sysErrno = 0);

// The calling thread's last socket error, as the platform keeps it.
int WSAGetLastError();
void WSASetLastError(int code);
// The raw errno behind the last error, for traces.
int lastRawErrno();
// Records errno as the thread's last error (mapped) and returns the number.
int setLastErrorFromErrno(int err, ErrnoContext context = ErrnoContext::General);

} // namespace net
