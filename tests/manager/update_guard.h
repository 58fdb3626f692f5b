#pragma once
// Every test binary that creates the main window runs its update check: this
// guard keeps it off the network. The update site is pointed at a name that
// the guard resolver refuses at once, and any other name query but
// "localhost" fails the test instead of leaving the machine. Tests that
// exercise the check point the site at their own loopback server and put
// this name back afterwards. Connections and datagrams may only go to
// 127.0.0.0/8.
#include "manager/core/site.h"
#include "net/socket/resolver.h"
#include "net/sys/socketapi.h"

#include <QString>
#include <QStringList>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <netinet/in.h>

namespace vorn_test
{

inline QString siteRefuse()
{
    return QStringLiteral("mise-a-jour.invalid");
}

// Loopback only: 127.0.0.0/8.
inline bool destinationLocale(const sockaddr *addr)
{
    if (addr == nullptr || addr->sa_family != AF_INET)
        return addr == nullptr || addr->sa_family == AF_UNIX;
    const std::uint32_t a = ntohl(reinterpret_cast<const sockaddr_in *>(addr)->sin_addr.s_addr);
    return (a >> 24) == 127;
}

class UpdateSiteGuard : public ::testing::Environment
{
public:
    void SetUp() override
    {
        site::imposerHoteMiseAJour(siteRefuse());
        net::SocketApi api = net::defaultSocketApi();
        api.connect = [connect = api.connect](int fd, const sockaddr *addr, socklen_t len) {
            if (!destinationLocale(addr)) {
                ADD_FAILURE() << "a test connected outside the loopback network";
                errno = ENETUNREACH;
                return -1;
            }
            return connect(fd, addr, len);
        };
        api.sendto = [sendto = api.sendto](int fd, const void *buf, size_t len, int flags,
                                           const sockaddr *to, socklen_t tolen) -> ssize_t {
            if (to != nullptr && !destinationLocale(to)) {
                ADD_FAILURE() << "a test sent a datagram outside the loopback network";
                errno = ENETUNREACH;
                return -1;
            }
            return sendto(fd, buf, len, flags, to, tolen);
        };
        net::setSocketApi(api);
        net::setForwardResolver([](const QString &host, QStringList &addresses) {
            if (host.endsWith(QLatin1String(".invalid")))
                return 11001;
            if (host != QLatin1String("localhost")) {
                ADD_FAILURE() << "a test asked the real resolver for " << host.toStdString();
                return 11001;
            }
            // Answered here: the system might ask a name server.
            addresses << QStringLiteral("127.0.0.1");
            return 0;
        });
        net::setReverseResolver([](const QString &address, QString &, QStringList &) {
            ADD_FAILURE() << "a test asked the real resolver for " << address.toStdString();
            return 11001;
        });
    }
};

} // namespace vorn_test
