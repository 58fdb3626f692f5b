// Save offered on an unchanged report only while the file it is named after
// does not exist yet, so that a template designed before it exists can be
// created as it is.
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/fakes.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace designer::unsaved_file_test
{

using namespace report;

class UnsavedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fr().resetForTests();
        fr().start();
        fakes.emplace();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
        frRegisterDesigner();
        rep = std::make_unique<TfrReport>(&owner);
        rep->ShowProgress = false;
        rep->Pages().Add()->Name = QStringLiteral("Page1");
    }
    void TearDown() override
    {
        rep.reset();
        fr().resetForTests();
        platform::TRegistry::setFileName(QString());
        fakes.reset();
    }

    QTemporaryDir dir;
    std::optional<vorn_test::SeamFakes> fakes;
    QObject owner;
    std::unique_ptr<TfrReport> rep;
};

TEST_F(UnsavedFileTest, SaveIsOfferedUnchangedOnlyForAFileNotYetOnDisk)
{
    const QString existing = dir.filePath(QStringLiteral("present.frf"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    const struct {
        const char *what;
        QString fileName;
        bool offered;
    } cases[] = {
        {"untitled", QString(), false},
        {"on disk", existing, false},
        {"not on disk", dir.filePath(QStringLiteral("absent.frf")), true},
    };
    for (const auto &c : cases) {
        rep->FileName = c.fileName;
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *f = dynamic_cast<TfrDesignerForm *>(frObjects().frCurrentDesigner);
            if (!f)
                return;
            ran = true;
            EXPECT_FALSE(f->IsModified()) << c.what;
            EXPECT_EQ(f->button(QStringLiteral("FileBtn3"))->isEnabled(), c.offered) << c.what;
            EXPECT_EQ(f->action(QStringLiteral("N20"))->isEnabled(), c.offered) << c.what;
            if (c.offered) {
                // Saved, the file exists: an unchanged report no longer offers it.
                f->button(QStringLiteral("FileBtn3"))->click();
                EXPECT_TRUE(QFile::exists(c.fileName));
                EXPECT_FALSE(f->button(QStringLiteral("FileBtn3"))->isEnabled());
            }
            f->ExitBClick();
        });
        EXPECT_EQ(rep->DesignReport(), 1) << c.what;
        EXPECT_TRUE(ran) << c.what;
    }
    EXPECT_TRUE(fakes->dialogs.messages.empty()) << "nothing was changed, nothing is asked";
}

} // namespace designer::unsaved_file_test
