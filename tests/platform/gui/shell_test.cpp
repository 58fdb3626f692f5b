// The shell seam and the hand-off convention for mail links and web pages.
#include "platform/shell/shell.h"
#include "tests/support/gui/fakes.h"

#include <QTemporaryDir>
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
    EXPECT_EQ(fakes.shell.calls[0].verb, QStringLiteral("Open"));
    EXPECT_EQ(fakes.shell.calls[0].file, QStringLiteral("mailto:a@b.fr?subject=x"));
    EXPECT_EQ(fakes.shell.calls[0].showCommand, 5);
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

TEST(Shell, DocumentsAreOpenedWithoutLookingAtTheResult)
{
    vorn_test::SeamFakes fakes;
    fakes.shell.defaultResult = SE_ERR_FNF;
    OpenDocument(QStringLiteral("/p/Saison.pdf"));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].verb, QStringLiteral("open"));
    EXPECT_EQ(fakes.shell.calls[0].file, QStringLiteral("/p/Saison.pdf"));
}

TEST(Shell, DesktopShellReportsAMissingDocumentAsFileNotFound)
{
    // The real shell: nothing is launched for a file that does not exist.
    QTemporaryDir dir;
    EXPECT_EQ(ShellExecute(QStringLiteral("open"), dir.path() + QStringLiteral("/absent.pdf")),
              SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(QStringLiteral("open"), QString()), SE_ERR_FNF);
}

} // namespace
