// Save offered on an unchanged report only while the file it is named after
// does not exist yet, so that a template designed before it exists can be
// created as it is.
#include "tests/designer/window_fixture.h"
#include "tests/report/gui/io_support.h"

#include "report/ui/frctrls.h"

#include <QAction>
#include <QFile>

namespace designer::unsaved_file_test
{

using UnsavedFileTest = test::DesignerWindowFixture;

TEST_F(UnsavedFileTest, SaveIsOfferedUnchangedOnlyForAFileNotYetOnDisk)
{
    const QString existing = dir.filePath(QStringLiteral("present.frf"));
    report::test::writeFileBytes(existing, "x");
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
        const int result = design([&](TfrDesignerForm &f) {
            EXPECT_FALSE(f.IsModified()) << c.what;
            EXPECT_EQ(f.button(QStringLiteral("FileBtn3"))->isEnabled(), c.offered) << c.what;
            EXPECT_EQ(f.action(QStringLiteral("N20"))->isEnabled(), c.offered) << c.what;
            if (c.offered) {
                // Saved, the file exists: an unchanged report no longer offers it.
                f.button(QStringLiteral("FileBtn3"))->click();
                EXPECT_TRUE(QFile::exists(c.fileName));
                EXPECT_FALSE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
            }
        });
        EXPECT_EQ(result, 1) << c.what;
    }
    EXPECT_TRUE(fakes->dialogs.messages.empty()) << "nothing was changed, nothing is asked";
}

} // namespace designer::unsaved_file_test
