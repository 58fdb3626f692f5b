#include "net/socket/resolver.h"

#include "net/sys/socketapi.h"
#include "net/sys/wsockerr.h"

#include <arpa/inet.h>
#include <cerrno>
#include <mutex>
#include <thread>

namespace net
{

namespace
{
std::mutex g_resolverLock;
ForwardResolver g_forward;
ReverseResolver g_reverse;
LookupWorkerStarter g_starter;
} // namespace

LookupWorkerStarter setLookupWorkerStarter(LookupWorkerStarter starter)
{
    std::lock_guard lock(g_resolverLock);
    LookupWorkerStarter previous = std::move(g_starter);
    g_starter = std::move(starter);
    return previous;
}

void startLookupWorker(std::function<void()> work)
{
    LookupWorkerStarter starter;
    {
        std::lock_guard lock(g_resolverLock);
        starter = g_starter;
    }
    if (starter) {
        starter(std::move(work));
        return;
    }
    // Detached: nothing ever waits for a resolver that hangs.
    std::thread(std::move(work)).detach();
}

int systemForwardResolve(const QString &host, QStringList &addresses)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *result = nullptr;
    QByteArray name = host.toLatin1();
    errno = 0;
    int rc = socketApi().getaddrinfo(name.constData(), nullptr, &hints, &result);
    if (rc != 0)
        return eaiToWsa(rc, errno);
    for (addrinfo *ai = result; ai != nullptr; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET || ai->ai_addr == nullptr)
            continue;
        QString text = wsInetNtoa(reinterpret_cast<sockaddr_in *>(ai->ai_addr)->sin_addr);
        if (!text.isEmpty() && !addresses.contains(text))
            addresses << text;
    }
    socketApi().freeaddrinfo(result);
    return addresses.isEmpty() ? 11004 : 0;
}

int systemReverseResolve(const QString &address, QString &name, QStringList &aliases)
{
    Q_UNUSED(aliases);
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    if (!wsInetAton(address, &sin.sin_addr))
        return 10022;
    char host[1025] = {};
    errno = 0;
    int rc = socketApi().getnameinfo(reinterpret_cast<sockaddr *>(&sin), sizeof sin, host,
                                     sizeof host, nullptr, 0, NI_NAMEREQD);
    if (rc != 0)
        return eaiToWsa(rc, errno);
    name = QString::fromLatin1(host);
    return 0;
}

ForwardResolver setForwardResolver(ForwardResolver resolver)
{
    std::lock_guard lock(g_resolverLock);
    ForwardResolver previous = std::move(g_forward);
    g_forward = std::move(resolver);
    return previous;
}

ReverseResolver setReverseResolver(ReverseResolver resolver)
{
    std::lock_guard lock(g_resolverLock);
    ReverseResolver previous = std::move(g_reverse);
    g_reverse = std::move(resolver);
    return previous;
}

ForwardResolver forwardResolver()
{
    std::lock_guard lock(g_resolverLock);
    if (g_forward)
        return g_forward;
    return systemForwardResolve;
}

ReverseResolver reverseResolver()
{
    std::lock_guard lock(g_resolverLock);
    if (g_reverse)
        return g_reverse;
    return systemReverseResolve;
}

} // namespace net
