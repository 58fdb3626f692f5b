// Showing, designing, editing and exporting prepared pages through the
// window seams.
#include "build_fixture.h"

#include "platform/forms/application.h"

namespace report::test
{
namespace
{

class SeamsTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        auto fake = std::make_unique<FrRecordingPreview>();
        preview = fake.get();
        frObjects().setPreview(std::move(fake));
        report->Title = QStringLiteral("Classement");
    }
    // 120 records of 20 px: three pages.
    void threePages()
    {
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                     QStringLiteral("120"));
    }
    FrRecordingPreview *preview = nullptr;
};

TEST_F(SeamsTest, ShowReportOpensOnePreview)
{
    threePages();
    report->ModalPreview = false;
    report->ShowReport();
    ASSERT_EQ(preview->calls.size(), 1u);
    EXPECT_EQ(preview->calls[0].kind.toStdString(), "form");
    EXPECT_EQ(preview->calls[0].caption.toStdString(), "Prévisualiser - Classement");
    EXPECT_FALSE(preview->calls[0].modal);
    EXPECT_EQ(preview->calls[0].pages, 3);

    // Nothing prepared: nothing shown.
    report->Pages().Clear();
    report->Pages().Add();
    report->EMFPages().Clear();
    report->ShowPreparedReport();
    EXPECT_EQ(preview->calls.size(), 1u);
}

TEST_F(SeamsTest, EmbeddedPreviewIsConnected)
{
    threePages();
    QObject panel;
    report->setPreview(&panel);
    report->ShowReport();
    ASSERT_EQ(preview->calls.size(), 1u);
    EXPECT_EQ(preview->calls[0].kind.toStdString(), "connect");
    EXPECT_EQ(preview->calls[0].preview, &panel);
}

TEST_F(SeamsTest, DesignWithoutDesignerOnlyAddsAMissingPage)
{
    report->Pages().Clear();
    EXPECT_EQ(report->DesignReport(), platform::mrCancel);
    EXPECT_EQ(report->Pages().Count(), 1);
    const QByteArray before = templateBytes();
    EXPECT_EQ(report->DesignReport(), platform::mrCancel);
    EXPECT_EQ(templateBytes(), before);

    int shows = 0;
    QString help;
    frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<FrCountingDesigner>(mode);
        d->modalResult = platform::mrOk;
        d->edit = [&](FrCountingDesigner &self) {
            ++shows;
            help = platform::ApplicationHelpFile();
            EXPECT_EQ(self.DesignMode, 1);
            EXPECT_EQ(frObjects().frCurrentDesigner, &self);
        };
        return d;
    };
    platform::SetApplicationHelpFile(QStringLiteral("Vorn_Lud.hlp"));
    EXPECT_EQ(report->DesignReport(), platform::mrOk);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(help.toStdString(), "VRuser.hlp");
    EXPECT_EQ(platform::ApplicationHelpFile().toStdString(), "Vorn_Lud.hlp");
    EXPECT_EQ(frObjects().frCurrentDesigner, nullptr);
    platform::SetApplicationHelpFile(QString());
}

TEST_F(SeamsTest, EditPreparedPageStoresOnYesOnly)
{
    threePages();
    ASSERT_TRUE(report->PrepareReport());
    const QByteArray templateBefore = templateBytes();
    frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<FrCountingDesigner>(mode);
        d->edit = [](FrCountingDesigner &self) {
            EXPECT_EQ(self.DesignMode, 0);
            auto *p = dynamic_cast<TfrPage *>(self.Page);
            ASSERT_NE(p, nullptr);
            p->Objects.front()->Memo = QStringList{QStringLiteral("modifié")};
            self.modified = true;
        };
        return d;
    };
    for (int answer : {platform::mrNo, platform::mrYes}) {
        fakes->dialogs.answers.push_back(answer);
        report->EditPreparedPage(1);
        EXPECT_EQ(templateBytes(), templateBefore);
        const QStringList objects = placed();
        EXPECT_EQ(objects.contains(QStringLiteral("2:DonneesMemo@20,18 modifié")),
                  answer == platform::mrYes)
            << answer << objects.mid(0, 3).join(QLatin1Char(';')).toStdString()
            << objects.filter(QStringLiteral("2:")).mid(0, 2).join(QLatin1Char(';')).toStdString();
    }
    ASSERT_EQ(fakes->dialogs.messages.size(), 2u);
    EXPECT_EQ(fakes->dialogs.messages[0].text.toStdString(), "Enregistrer les changements?");
    EXPECT_EQ(fakes->dialogs.messages[0].caption.toStdString(), "Confirmation");
}

// A prepared page edited from a designer's preview: the template is made
// anew under the open designer, which gets the page of the same index back
// and is told that every object changed identity; its unsaved state stays.
TEST_F(SeamsTest, EditPreparedPageGivesAnOuterDesignerItsPageBack)
{
    threePages();
    report->Pages().Add()->Name = QStringLiteral("Page2");
    ASSERT_TRUE(report->PrepareReport());
    report->Modified = true;
    FrCountingDesigner outer(1);
    outer.Page = report->Pages()[1];
    frObjects().frCurrentDesigner = &outer;
    frObjects().frDesignerClass = [](int mode) {
        return std::make_unique<FrCountingDesigner>(mode);
    };
    report->EditPreparedPage(0);
    EXPECT_EQ(frObjects().frCurrentDesigner, &outer);
    ASSERT_EQ(report->Pages().Count(), 2);
    EXPECT_EQ(outer.Page, report->Pages()[1]);
    EXPECT_EQ(std::tuple(outer.rebuildNotes, outer.rebuilds), std::tuple(1, 1));
    EXPECT_TRUE(report->Modified);
    frObjects().frCurrentDesigner = nullptr;
}

TEST_F(SeamsTest, ExportHandsEveryPageToTheFilter)
{
    bandWithMemo(btMasterData, 40, 520, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("2"));
    prepareFixture(QStringLiteral("build_export"));
    ASSERT_EQ(report->EMFPages().Count(), 2);
    FrRecordingExportFilter filter;
    EXPECT_TRUE(report->ExportTo(filter));
    expectGolden(QStringLiteral("build_export.txt"), filter.events.join(QLatin1Char('\n')) + '\n');
    EXPECT_EQ(filter.events.count(QStringLiteral("begin page")), 2);
    EXPECT_EQ(filter.events.last().toStdString(), "end document");
}

} // namespace
} // namespace report::test
