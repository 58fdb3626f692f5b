#pragma once
// Every test binary that creates the main window runs its update check: this
// guard keeps it off the network. The update site is pointed at a name that
// the guard resolver refuses at once, and any other name query but
// "localhost" fails the test instead of leaving the machine. Tests that
// exercise the check point the site at their own loopback server and put
// this name back afterwards.
#include "manager/core/site.h"
#include "net/socket/resolver.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace vorn_test
{

inline QString siteRefuse()
{
    return QStringLiteral("mise-a-jour.invalid");
}

class UpdateSiteGuard : public ::testing::Environment
{
public:
    void SetUp() override
    {
        site::imposerHoteMiseAJour(siteRefuse());
        net::setForwardResolver([](const QString &host, QStringList &addresses) {
            if (host.endsWith(QLatin1String(".invalid")))
                return 11001;
            if (host != QLatin1String("localhost")) {
                ADD_FAILURE() << "a test asked the real resolver for " << host.toStdString();
                return 11001;
            }
            return net::systemForwardResolve(host, addresses);
        });
        net::setReverseResolver([](const QString &address, QString &, QStringList &) {
            ADD_FAILURE() << "a test asked the real resolver for " << address.toStdString();
            return 11001;
        });
    }
};

} // namespace vorn_test
