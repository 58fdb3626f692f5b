#pragma once
// Name look-ups of the socket layer. The resolver functions are replaceable
// (tests install fakes and a guard, so that no test sends a real query); the
// defaults ask getaddrinfo (IPv4 stream addresses) and getnameinfo.
#include <QString>
#include <QStringList>
#include <functional>

namespace net
{

// Fills addresses (dotted text, each once, in the resolver's order); returns
// 0 or a platform error number (11001 ...).
using ForwardResolver = std::function<int(const QString &host, QStringList &addresses)>;
// Fills the host name and its aliases of a dotted address; 0 or an error number.
using ReverseResolver =
    std::function<int(const QString &address, QString &name, QStringList &aliases)>;

// Installs a resolver (nullptr: the system's); returns the previous one.
ForwardResolver setForwardResolver(ForwardResolver resolver);
ReverseResolver setReverseResolver(ReverseResolver resolver);
ForwardResolver forwardResolver();
ReverseResolver reverseResolver();
// Starts the worker of an asynchronous look-up; throws std::system_error
// when no thread can be made. The default runs it on a detached thread;
// tests replace it to make the start fail. Returns the previous starter.
using LookupWorkerStarter = std::function<void(std::function<void()> work)>;
LookupWorkerStarter setLookupWorkerStarter(LookupWorkerStarter starter);
void startLookupWorker(std::function<void()> work);

int systemForwardResolve(const QString &host, QStringList &addresses);
int systemReverseResolve(const QString &address, QString &name, QStringList &aliases);

} // namespace net
