// The shell seam and the hand-off convention for mail links and web pages.
#include "platform/shell/shell.h"
#include "tests/support/gui/fake_desktop.h"
#include "tests/support/gui/fakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

TEST(Shell, MailLinkFailureWarnsWithTheOneButtonYes)
{
    vorn_test::SeamFakes fakes;
    fakes.shell.results = {32, 33};

    EXPECT_FALSE(OpenMailLink(QStringLiteral("mailto:a@b.fr?subject=x")));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    const MessageRequest &warning = fakes.dialogs.messages[0];
    EXPECT_EQ(warning.text, QStringLiteral("Le courier électronique par défaut\r\rn'est pas "
                                           "installé correctement"));
    EXPECT_EQ(warning.type, mtWarning);
    EXPECT_EQ(warning.buttons, MsgDlgButtons(mbYes));

    // 33 is the first success.
    EXPECT_TRUE(OpenMailLink(QStringLiteral("mailto:a@b.fr")));
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
    ASSERT_EQ(fakes.shell.calls.size(), 2u);
    EXPECT_EQ(std::tuple(fakes.shell.calls[0].verb, fakes.shell.calls[0].file,
                         fakes.shell.calls[0].showCommand),
              std::tuple(QStringLiteral("Open"), QStringLiteral("mailto:a@b.fr?subject=x"), 5));
    EXPECT_TRUE(fakes.shell.calls[0].parameters.isEmpty());
}

TEST(Shell, WebPageFailureHasItsOwnWarning)
{
    vorn_test::SeamFakes fakes;
    fakes.shell.results = {SE_ERR_NOASSOC};
    EXPECT_FALSE(OpenWebPage(QStringLiteral("http://example.org/")));
    EXPECT_EQ(fakes.dialogs.texts(),
              QStringList{QStringLiteral(
                  "Le logiciel de surff par défaut\r\rn'est pas installé correctement")});
}

// A document goes to the shell with the verb "open"; its result comes back
// to the caller, who tells the user. The real shell counts a document as
// opened only when a program took it.
TEST(Shell, DocumentsTellWhetherAProgramTookThem)
{
    {
        vorn_test::SeamFakes fakes;
        fakes.shell.defaultResult = SE_ERR_FNF;
        EXPECT_EQ(OpenDocument(QStringLiteral("/p/Saison.pdf")), SE_ERR_FNF);
        EXPECT_TRUE(fakes.dialogs.messages.empty());
        ASSERT_EQ(fakes.shell.calls.size(), 1u);
        EXPECT_EQ(fakes.shell.calls[0].verb, QStringLiteral("open"));
        EXPECT_EQ(fakes.shell.calls[0].file, QStringLiteral("/p/Saison.pdf"));
    }
    QTemporaryDir dir;
    const QString guide = dir.filePath(QStringLiteral("Guide d'aide.pdf"));
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString url = QUrl::fromLocalFile(guide).toEncoded();
    struct Case {
        const char *name;
        QString document;
        int openerStatus;
        bool opened;
        QStringList openerRuns;
    } cases[] = {
        {"a program opens it", guide, 0, true, {url}},
        {"no program for it", guide, 3, false, {url}},
        {"missing", dir.filePath(QStringLiteral("absent.pdf")), 0, false, {}},
    };
    for (const Case &c : cases) {
        vorn_test::SeamFakes fakes;
        std::unique_ptr<Shell> recording = setShell(nullptr);
        int result = 0;
        QStringList openerRuns;
        {
            vorn_test::FakeDesktop desktop;
            desktop.setOpenerStatus(c.openerStatus);
            result = OpenDocument(c.document);
            openerRuns = desktop.openerRuns();
        }
        setShell(std::move(recording));
        EXPECT_EQ(result > 32, c.opened) << c.name;
        EXPECT_EQ(openerRuns, c.openerRuns) << c.name;
        EXPECT_TRUE(fakes.dialogs.messages.empty()) << c.name;
    }
}

TEST(Shell, DesktopShellReportsAMissingDocumentAsFileNotFound)
{
    // The real shell: nothing is launched for a file that does not exist.
    QTemporaryDir dir;
    EXPECT_EQ(ShellExecute(QStringLiteral("open"), dir.path() + QStringLiteral("/absent.pdf")),
              SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(QStringLiteral("open"), QString()), SE_ERR_FNF);
}

// The real shell over a desktop of the test's own: a link counts as opened
// only when a program took it, so that the user is warned otherwise.
TEST(Shell, DesktopShellTellsWhetherAProgramTookTheLink)
{
    struct Case {
        const char *name;
        QString link;
        bool mail;
        QString mailProgram;
        int openerStatus;
        bool opener;
        bool opened;
        const char *openerRun; // what the opener was given, if run
    } cases[] = {
        {"mail program named, opener opens", "mailto:a@b.fr?subject=Vorn_Lud 2", true,
         "courrier.desktop", 0, true, true, "mailto:a@b.fr?subject=Vorn_Lud%202"},
        {"no mail program: nothing is run", "mailto:a@b.fr", true, "", 0, true, false, nullptr},
        {"mail program named, opener fails", "mailto:a@b.fr;c@d.fr; ?", true, "courrier.desktop", 3,
         true, false, "mailto:a@b.fr;c@d.fr;%20?"},
        {"no opener at all", "mailto:a@b.fr", true, "courrier.desktop", 0, false, false, nullptr},
        {"web page opened", "http://127.0.0.1/page?a=1&b=2", false, "", 0, true, true,
         "http://127.0.0.1/page?a=1&b=2"},
        {"no web browser", "https://127.0.0.1/", false, "", 3, true, false, "https://127.0.0.1/"},
        {"opener's action failed", "http://127.0.0.1/", false, "", 4, true, false,
         "http://127.0.0.1/"},
    };
    for (const Case &c : cases) {
        vorn_test::SeamFakes fakes;
        std::unique_ptr<Shell> recording = setShell(nullptr);
        bool opened = false;
        QStringList openerRuns, queryRuns;
        {
            vorn_test::FakeDesktop desktop;
            desktop.setHandler(QStringLiteral("mailto"), c.mailProgram);
            desktop.setOpenerStatus(c.openerStatus);
            if (!c.opener)
                desktop.removeOpener();
            opened = c.mail ? OpenMailLink(c.link) : OpenWebPage(c.link);
            openerRuns = desktop.openerRuns();
            queryRuns = desktop.queryRuns();
        }
        setShell(std::move(recording));
        EXPECT_EQ(opened, c.opened) << c.name;
        EXPECT_EQ(openerRuns, c.openerRun ? QStringList{c.openerRun} : QStringList()) << c.name;
        // Only a mail link asks which program takes it.
        EXPECT_EQ(queryRuns,
                  c.mail ? QStringList{"query default x-scheme-handler/mailto"} : QStringList())
            << c.name;
        const QString warning = c.mail ? kMailMissing : kBrowserMissing;
        EXPECT_EQ(fakes.dialogs.texts(), c.opened ? QStringList() : QStringList{warning}) << c.name;
    }
}

// An opener still running after a while runs the program it started (an
// opener that waits for its program): the link was taken, and the opener is
// left to end by itself.
TEST(Shell, AnOpenerStillRunningHasTakenTheLink)
{
    vorn_test::SeamFakes fakes;
    std::unique_ptr<Shell> recording = setShell(nullptr);
    {
        vorn_test::FakeDesktop desktop;
        desktop.setHandler(QStringLiteral("mailto"), QStringLiteral("courrier.desktop"));
        desktop.holdOpener();
        EXPECT_TRUE(OpenMailLink(QStringLiteral("mailto:a@b.fr")));
        EXPECT_TRUE(fakes.dialogs.messages.empty());
        EXPECT_EQ(desktop.openerRuns(), QStringList{"mailto:a@b.fr"});
        EXPECT_TRUE(desktop.release()) << "the opener was still there";
        QDeadlineTimer limit(10000);
        while (!qApp->findChildren<QProcess *>().isEmpty() && !limit.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_TRUE(qApp->findChildren<QProcess *>().isEmpty()) << "freed once ended";
    }
    setShell(std::move(recording));
}

} // namespace
