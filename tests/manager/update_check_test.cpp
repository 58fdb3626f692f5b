// The update check of the main window at start-up, against a stand-in for the
// update site on loopback: the message when a newer version is published,
// silence in every other case, the 10-second limit without spinning, and no
// connection at all when the user chose not to check.
#include "manager/core/site.h"
#include "manager/core/vorn_dec.h"
#include "manager/vorn_pr.h"
#include "net/loop/eventloop.h"
#include "platform/clock/clock.h"
#include "platform/format/format.h"
#include "platform/inifile/inifile.h"
#include "tests/manager/update_guard.h"
#include "tests/manager/update_site.h"
#include "tests/support/gui/program_folder.h"

#include <chrono>
#include <ctime>
#include <thread>

using namespace platform;

namespace
{

// The fixture's fixed date, with a tick count that moves with real time: the
// check's deadline is measured on it.
class RealTicks : public Clock
{
public:
    explicit RealTicks(TDateTime now) : m_now(now) {}
    TDateTime now() const override { return m_now; }
    std::uint32_t tickCount() const override
    {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
    void sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    TDateTime m_now;
};

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

const QString kIndex = QStringLiteral("/arbitrage/index.html");

QString versionPage()
{
    return QStringLiteral("/arbitrage/Vorn_Lud_") + NumVersion + QStringLiteral(".html");
}

class UpdateCheck : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_fake = setClock(std::make_unique<RealTicks>(clock().current));
        site::imposerHoteMiseAJour(m_site.host());
    }
    void TearDown() override
    {
        m_window.reset();
        site::imposerHoteMiseAJour(vorn_test::siteRefuse());
        setClock(std::move(m_fake));
        ProgramFolderTest::TearDown();
    }
    // Creating the main window runs the check.
    void demarrer() { m_window = std::make_unique<TVorn_FPr>(); }
    QString message() const
    {
        return QStringLiteral("Il éxiste une nouvelle version d'Vorn_Lud\n\n    qui peut être "
                              "téléchargée sur :\n\nhttp://") +
               m_site.host() +
               QStringLiteral("/arbitrage/index.html\n\n  n'oubliez pas d'arrêter Vorn_Lud "
                              "\n\n            avant installation.");
    }
    QStringList heads(std::initializer_list<QString> paths) const
    {
        QStringList lines;
        for (const QString &p : paths)
            lines << QStringLiteral("HEAD ") + p + QStringLiteral(" HTTP/1.0");
        return lines;
    }
    // Lets the requests' last notifications arrive.
    void pump(int ms)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end)
            net::EventLoop::current()->waitAndProcess(20);
    }

    vorn_test::UpdateSite m_site;
    std::unique_ptr<Clock> m_fake;
    std::unique_ptr<TVorn_FPr> m_window;
};

TEST_F(UpdateCheck, MissingVersionPageShowsTheMessageOnce)
{
    m_site.reply(kIndex, vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
    demarrer();
    pump(100);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, message());
    EXPECT_EQ(dialogs().messages[0].type, mtInformation);
    EXPECT_EQ(dialogs().messages[0].buttons, mbOK);
    EXPECT_EQ(m_site.requests(), heads({kIndex, versionPage()}));
    // The window's own client puts exactly these lines on the wire.
    const QList<QByteArray> raw = m_site.rawRequests();
    ASSERT_EQ(raw.size(), 2);
    EXPECT_EQ(raw[0], QByteArray("HEAD /arbitrage/index.html HTTP/1.0\r\n"
                                 "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                                 "*/*\r\n"
                                 "User-Agent: Mozilla/3.0 (compatible)\r\n"
                                 "Host: ") +
                          m_site.host().toLatin1() + "\r\n\r\n");
}

TEST_F(UpdateCheck, ClientKeepsTheWindowsDesignSettings)
{
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[MiseAjour]"), QStringLiteral("NoValide=1"),
                QStringLiteral("Date=") +
                    FormatDateTime(QStringLiteral("dd/mm/yyyy"), clock().current - 1)});
    demarrer();
    const net::THttpCli &c = *m_window->HttpCli1;
    EXPECT_EQ(c.Name(), QStringLiteral("HttpCli1"));
    EXPECT_EQ(c.Agent(), QStringLiteral("Mozilla/3.0 (compatible)"));
    EXPECT_EQ(c.Accept(),
              QStringLiteral("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*"));
    EXPECT_EQ(c.RequestVer(), QStringLiteral("1.0"));
    EXPECT_TRUE(c.FollowRelocation());
    EXPECT_EQ(c.LocationChangeMaxCount(), 5);
    EXPECT_FALSE(c.NoCache());
    EXPECT_EQ(c.ProxyPort(), QStringLiteral("80"));
    EXPECT_TRUE(c.Proxy().isEmpty());
    EXPECT_EQ(c.LocalAddr(), QStringLiteral("0.0.0.0"));
    EXPECT_FALSE(c.MultiThreaded());
    EXPECT_EQ(c.BandwidthLimit(), 10000);
    EXPECT_EQ(c.BandwidthSampling(), 1000);
    EXPECT_TRUE(m_window->HttpCli1->Options() == net::THttpCliOptions{});
    EXPECT_EQ(c.SocksAuthentication(), net::socksNoAuthentication);
    EXPECT_EQ(c.ContentTypePost(), QStringLiteral("application/x-www-form-urlencoded"));
    EXPECT_TRUE(static_cast<bool>(c.OnRequestDone));
    EXPECT_EQ(m_site.connections(), 0);
}

TEST_F(UpdateCheck, CurrentVersionPublishedShowsNothing)
{
    m_site.reply(kIndex, vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
    m_site.reply(versionPage(), vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
    demarrer();
    pump(100);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(m_site.requests(), heads({kIndex, versionPage()}));
}

TEST_F(UpdateCheck, IndexMissingShowsNothingAndAsksNoMore)
{
    demarrer();
    pump(100);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(m_site.requests(), heads({kIndex}));
}

TEST_F(UpdateCheck, SilentIndexIsAbandonedAfterTenSecondsWithoutSpinning)
{
    m_site.silent(kIndex);
    const double cpuBefore = threadCpuMs();
    const std::uint32_t debut = GetTickCount();
    demarrer();
    const std::uint32_t ecoule = GetTickCount() - debut;
    const double cpu = threadCpuMs() - cpuBefore;
    EXPECT_GE(ecoule, 10000u);
    // Generous upper bound: the machine running the tests may be busy.
    EXPECT_LE(ecoule, 16000u);
    EXPECT_LT(cpu, 1000.0);
    // The aborted request still reports its end, once, as aborted.
    std::vector<std::uint16_t> codes;
    m_window->HttpCli1->OnRequestDone = [&](net::THttpCli *, net::THttpRequest,
                                            std::uint16_t code) { codes.push_back(code); };
    pump(200);
    EXPECT_EQ(codes, std::vector<std::uint16_t>{net::httperrAborted});
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(m_site.requests(), heads({kIndex}));
}

TEST_F(UpdateCheck, VersionPageThatFailsProvesNothing)
{
    struct Case {
        const char *what;
        QByteArray reply; // empty: never answers
    };
    const QByteArray refused = vorn_test::UpdateSite::status(
        302, QStringLiteral("Found"), "Location: http://127.0.0.1:1/ailleurs.html\r\n");
    const Case cases[] = {
        {"server error", vorn_test::UpdateSite::status(500, QStringLiteral("Erreur"))},
        {"relocation to a closed port", refused},
        {"no answer", QByteArray()},
        // Missing, but with a header the client cannot read: nothing proven.
        {"missing page with a broken length",
         "HTTP/1.0 404 Not Found\r\nContent-Length: 99999999999999999999\r\n\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vorn_test::UpdateSite site;
        site::imposerHoteMiseAJour(site.host());
        site.reply(kIndex, vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
        if (c.reply.isEmpty())
            site.silent(versionPage());
        else
            site.reply(versionPage(), c.reply);
        dialogs().messages.clear();
        m_window = std::make_unique<TVorn_FPr>();
        pump(100);
        EXPECT_TRUE(dialogs().messages.empty());
        EXPECT_EQ(site.requests(), heads({kIndex, versionPage()}));
        m_window.reset();
    }
}

TEST_F(UpdateCheck, ChoiceNotToCheckMakesNoConnection)
{
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[MiseAjour]"), QStringLiteral("NoValide=1"),
                QStringLiteral("Date=") +
                    FormatDateTime(QStringLiteral("dd/mm/yyyy"), clock().current - 10)});
    m_site.reply(kIndex, vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
    demarrer();
    pump(100);
    EXPECT_EQ(m_site.connections(), 0);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_TRUE(m_window->Nepasvrifierlamisejour1->isChecked());
}

TEST_F(UpdateCheck, LapsedChoiceChecksAgain)
{
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[MiseAjour]"), QStringLiteral("NoValide=1"),
                QStringLiteral("Date=") +
                    FormatDateTime(QStringLiteral("dd/mm/yyyy"), clock().current - 31)});
    m_site.reply(kIndex, vorn_test::UpdateSite::status(200, QStringLiteral("OK")));
    demarrer();
    pump(100);
    EXPECT_EQ(m_site.requests(), heads({kIndex, versionPage()}));
    EXPECT_EQ(dialogs().messages.size(), 1u);
}

} // namespace
