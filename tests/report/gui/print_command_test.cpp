// The preview's print command: the dialog's defaults, a printer chosen in
// the dialog re-preparing built pages (not loaded ones), a re-preparation
// without pages stopping the print, and the preview getting its pages back.
#include "print_fixture.h"

#include "platform/text/exceptions.h"

namespace report::test
{

namespace
{

class RecordingHolder : public FrPagesHolder
{
public:
    void Connect(TfrReport &) override
    {
        if (!connected) {
            connected = true;
            calls << QStringLiteral("connect");
        }
    }
    void Disconnect() override
    {
        if (connected) {
            connected = false;
            calls << QStringLiteral("disconnect");
        }
    }
    bool Connected() const override { return connected; }

    bool connected = true;
    QStringList calls;
};

} // namespace

class PrintCommandTest : public PrintTest
{
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        add600();
        auto scripted = std::make_unique<FrScriptedPrintDialog>();
        dialog = scripted.get();
        frObjects().setPrintDialog(std::move(scripted));
        report->OnBeginDoc = [this] {
            ++preparations;
            if (failNextPreparation)
                throw platform::Exception(QStringLiteral("plus de données"));
        };
        preparePages(3);
        preparations = 0;
    }

    FrScriptedPrintDialog *dialog = nullptr;
    RecordingHolder holder;
    int preparations = 0;
    bool failNextPreparation = false;
};

TEST_F(PrintCommandTest, DefaultsGoToTheDialogAndTheAnswerPrints)
{
    report->DefaultCopies = 2;
    report->DefaultCollate = false;
    dialog->range = 1;
    dialog->copies = 2;
    dialog->collate = false;
    EXPECT_TRUE(frPrintFromPreview(*report, &holder, 3));
    EXPECT_EQ(dialog->received.copies, 2);
    EXPECT_FALSE(dialog->received.collate);
    EXPECT_EQ(printedNumbers(), QStringList{"3"});
    EXPECT_EQ(printers->jobs[0].copies, 2);
    EXPECT_EQ(preparations, 0);
    EXPECT_EQ(holder.calls, (QStringList{"disconnect", "connect"}));

    // Cancelled: nothing printed, the pages never left the preview.
    holder.calls.clear();
    dialog->ok = false;
    EXPECT_FALSE(frPrintFromPreview(*report, &holder, 1));
    EXPECT_TRUE(holder.calls.isEmpty());
    EXPECT_EQ(printers->jobs.size(), 1u);
}

TEST_F(PrintCommandTest, AnotherPrinterRepreparesBuiltPagesOnly)
{
    dialog->printer = 1; // the virtual printer
    fakes->dialogs.files.push_back(dir.filePath(QStringLiteral("tout.pdf")));
    EXPECT_TRUE(frPrintFromPreview(*report, &holder, 1));
    EXPECT_EQ(preparations, 1);
    EXPECT_EQ(report->PrinterName, QStringLiteral("Imprimante virtuelle"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("tout.pdf"))));
    EXPECT_EQ(holder.calls, (QStringList{"disconnect", "connect"}));

    // Pages read from a file are never rebuilt from the template.
    const QString frp = dir.filePath(QStringLiteral("etat.frp"));
    ASSERT_TRUE(report->SavePreparedFile(frp));
    report->LoadPreparedFile(frp);
    ASSERT_FALSE(report->CanRebuild);
    preparations = 0;
    dialog->printer = 0;
    EXPECT_TRUE(frPrintFromPreview(*report, &holder, 1));
    EXPECT_EQ(preparations, 0);
    EXPECT_EQ(printedNumbers(), (QStringList{"1", "2", "3"}));
}

TEST_F(PrintCommandTest, ARepreparationWithoutPagesStopsThePrint)
{
    dialog->printer = 1;
    failNextPreparation = true;
    EXPECT_FALSE(frPrintFromPreview(*report, &holder, 1));
    EXPECT_EQ(preparations, 1);
    EXPECT_TRUE(printers->jobs.empty());
    EXPECT_TRUE(fakes->dialogs.saveRequests.empty()); // no job begun on the virtual printer
    EXPECT_EQ(report->EMFPages().Count(), 0);
    EXPECT_TRUE(holder.connected);
}

TEST_F(PrintCommandTest, AnErrorWhilePrintingGivesThePagesBack)
{
    dialog->range = 2;
    dialog->pages = QStringLiteral("1,,2");
    EXPECT_THROW(frPrintFromPreview(*report, &holder, 1), platform::EConvertError);
    EXPECT_EQ(holder.calls, (QStringList{"disconnect", "connect"}));
    EXPECT_TRUE(printers->jobs.empty());
}

} // namespace report::test
