// The print dialog, the progress window and the display-format dialog as a
// user drives them: controls and texts, the printer put back on cancel, the
// work running inside the progress window's loop, cancel and errors, and
// the format code the dialog packs.
#include "print_fixture.h"

#include "platform/forms/application.h"
#include "platform/text/exceptions.h"
#include "report/ui/frfmtform.h"
#include "report/ui/frprintform.h"
#include "report/ui/frprogressform.h"
#include "report/ui/frwindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace report::test
{

namespace
{

// Saves a picture of a window where VORN_SHOT_DIR names a folder.
void shot(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("VORN_SHOT_DIR");
    if (folder.isEmpty())
        return;
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (qEnvironmentVariableIsEmpty("VORN_TEST_DISPLAY")) {
        window.grab().save(file);
        return;
    }
    // On a display, the window as the user sees it, caption included.
    (void)QTest::qWaitForWindowExposed(&window);
    QTest::qWait(400);
    const QRect frame = window.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(file);
}

// Runs action once the next modal dialog is up.
void whenUp(std::function<void(QWidget &)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible() && qobject_cast<QDialog *>(w))
                    modal = w;
        ASSERT_NE(modal, nullptr);
        action(*modal);
    });
}

} // namespace

TEST_F(PrintTest, PrintDialogTextsAndAnswer)
{
    add600();
    TfrPrintForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Imprimer"));
    EXPECT_EQ(form.CB1->count(), 2);
    EXPECT_EQ(form.CB1->itemText(1), QStringLiteral("Imprimante virtuelle"));
    EXPECT_EQ(form.CB1->currentIndex(), 0);
    EXPECT_EQ(form.RB2->text(), QStringLiteral("Pa&ge en cours"));
    EXPECT_EQ(form.CB2->itemText(2), QStringLiteral("Pages paires"));
    EXPECT_EQ(form.PropButton->text(), QStringLiteral("Propriétés"));
    EXPECT_EQ(form.CancelButton->text(), QStringLiteral("Annuler"));
    EXPECT_TRUE(form.RB1->isChecked());
    // Copies never go below 1.
    form.E1->setValue(1);
    form.E1->stepDown();
    EXPECT_EQ(form.E1->value(), 1);

    FrPrintChoice choice;
    choice.copies = 2;
    choice.collate = false;
    whenUp([&](QWidget &) {
        EXPECT_EQ(form.E1->value(), 2);
        EXPECT_FALSE(form.CollateCB->isChecked());
        shot(form, QStringLiteral("print_dialog"));
        QTest::mouseClick(form.CollateLabel, Qt::LeftButton);
        EXPECT_TRUE(form.CollateCB->isChecked());
        form.E2->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(form.RB3->isChecked());
        QTest::keyClicks(form.E2, QStringLiteral("1,3"));
        form.CB2->setCurrentIndex(1);
        form.E1->setValue(4);
        form.OkButton->click();
    });
    ASSERT_TRUE(form.Execute(choice));
    EXPECT_EQ(choice.copies, 4);
    EXPECT_TRUE(choice.collate);
    EXPECT_EQ(std::tuple(choice.range, choice.pages, choice.kind),
              std::tuple(2, QStringLiteral("1,3"), 1));
    EXPECT_EQ(choice.pageList(7), QStringLiteral("1,3"));
    choice.range = 1;
    EXPECT_EQ(choice.pageList(7), QStringLiteral("7"));
    choice.range = 0;
    EXPECT_EQ(choice.pageList(7), QString());
}

TEST_F(PrintTest, CancellingThePrintDialogPutsThePrinterBack)
{
    add600();
    ASSERT_EQ(platform::currentPrinterName(), QStringLiteral("Imprimante 600"));
    for (bool viaEscape : {false, true}) {
        TfrPrintForm form;
        whenUp([&](QWidget &) {
            form.CB1->setCurrentIndex(1);
            form.CB1Click();
            EXPECT_EQ(printer->PrinterIndex(), 1);
            EXPECT_EQ(printer->PaperNames().size(), 67); // the virtual printer's papers at once
            EXPECT_EQ(platform::currentPrinterName(), platform::kVirtualPrinterName);
            if (viaEscape)
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                form.CancelButton->click();
        });
        FrPrintChoice choice;
        EXPECT_FALSE(form.Execute(choice));
        EXPECT_EQ(printer->PrinterIndex(), 0) << viaEscape;
        EXPECT_EQ(platform::currentPrinterName(), QStringLiteral("Imprimante 600")) << viaEscape;
        EXPECT_EQ(printer->PaperNames().size(), 4);
    }
    // The scripted dialog of the preview's tests does the same.
    FrScriptedPrintDialog scripted;
    scripted.printer = 1;
    scripted.ok = false;
    FrPrintChoice choice;
    EXPECT_FALSE(scripted.Execute(choice, nullptr));
    EXPECT_EQ(printer->PrinterIndex(), 0);
}

TEST_F(PrintTest, ProgressWorkRunsInsideTheWindowsLoop)
{
    TfrProgressForm form;
    form.SetCaption(QStringLiteral("Préparation de l'état"));
    form.SetLine(QStringLiteral("Impression de la page :  1"));
    bool ran = false;
    const int result = form.ShowModal(*report, [&] {
        ran = true;
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.IsShown());
        EXPECT_EQ(QApplication::activeModalWidget(), &form);
        shot(form, QStringLiteral("progress_window"));
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Annuler"));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(PrintTest, ProgressCancelEscapeAndCloseRequests)
{
    TfrProgressForm form;
    struct Case {
        const char *what;
        std::function<void()> act;
        bool cancels;
    } cases[] = {
        {"cancel", [&] { form.Button1->click(); }, true},
        {"escape", [&] { QTest::keyClick(&form, Qt::Key_Escape); }, true},
        {"close", [&] { form.close(); }, false},
    };
    for (const Case &c : cases) {
        report->Cancelled = false;
        bool stillShown = false;
        const int result = form.ShowModal(*report, [&] {
            QTimer::singleShot(10, c.act);
            // A loop that processes events until it is told to stop.
            QElapsedTimer clock;
            clock.start();
            while (!report->Cancelled && clock.elapsed() < 300)
                platform::ProcessMessages();
            stillShown = form.isVisible();
        });
        EXPECT_EQ(report->Cancelled, c.cancels) << c.what;
        EXPECT_EQ(result, c.cancels ? platform::mrCancel : platform::mrOk) << c.what;
        if (!c.cancels) {
            EXPECT_TRUE(stillShown) << c.what;
        }
    }
}

TEST_F(PrintTest, ProgressHiddenForADialogPageAndShownAgain)
{
    TfrProgressForm form;
    bool shownAgain = false;
    const int result = form.ShowModal(*report, [&] {
        form.SetShown(false); // a dialog page shows meanwhile
        platform::ProcessMessages();
        EXPECT_FALSE(form.IsShown());
        form.SetShown(true);
        platform::ProcessMessages();
        shownAgain = form.IsShown();
        form.SetModalResult(platform::mrOk);
    });
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PrintTest, AnErrorOfTheWorkIsRaisedAfterTheLoop)
{
    TfrProgressForm form;
    EXPECT_THROW(form.ShowModal(*report, [] { throw platform::Exception(QStringLiteral("boum")); }),
                 platform::Exception);
    EXPECT_FALSE(form.isVisible());
    // The window serves again afterwards.
    bool ran = false;
    EXPECT_EQ(form.ShowModal(*report, [&] { ran = true; }), platform::mrOk);
    EXPECT_TRUE(ran);
}

TEST_F(PrintTest, PrintingUnderTheProgressWindow)
{
    add600();
    preparePages(3);
    report->ShowProgress = true;
    frObjects().setProgressWindow(std::make_unique<TfrProgressForm>());
    auto *form = static_cast<TfrProgressForm *>(frObjects().frProgressWindow());
    report->Title = QStringLiteral("Essai");
    QStringList lines;
    report->OnBeginPage = nullptr;
    QObject::connect(form, &QDialog::finished, [&] { lines << form->Label1->text(); });
    report->PrintWithProgress(QStringLiteral("2-3"), 1, true, 0);
    EXPECT_TRUE(report->LastPrintDone());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Préparation de l'état - Essai"));
    EXPECT_EQ(lines, QStringList{QStringLiteral("Impression de la page :  3")});
    EXPECT_EQ(printedNumbers(), (QStringList{"2", "3"}));
    // A malformed list: the platform's message once the window is gone, no job.
    printers->jobs.clear();
    try {
        report->PrintWithProgress(QStringLiteral("a"), 1, true, 0);
        ADD_FAILURE() << "no error";
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'a' n'est pas une valeur entière correcte"));
    }
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(printers->jobs.empty());
}

TEST(DisplayFormat, CodesAndFields)
{
    EXPECT_EQ(frPackFormat({1, 3, 2, ','}), qint32(0x0103022C));
    EXPECT_EQ(frUnpackFormat(0x0103022C), (FrFormatParts{1, 3, 2, ','}));
    EXPECT_EQ(frUnpackFormat(qint32(0x84FF0080)), (FrFormatParts{4, 255, 0, 0x80}));
    struct Decimals {
        const char *text;
        int value;
    } decimals[] = {{"2", 2}, {"300", 255}, {"-1", 0}, {"abc", 0}, {"", 0}, {"99999999999", 255}};
    for (const Decimals &d : decimals)
        EXPECT_EQ(frDecimalsOfText(QString::fromUtf8(d.text)), d.value) << d.text;
    struct Separator {
        const char *text;
        int code;
    } separators[] = {{",", ','},  {".", '.'},  {"", ','},  {"€", 0x80},
                      {"é", 0xE9}, {"中", ','}, {";x", ';'}};
    for (const Separator &s : separators)
        EXPECT_EQ(frSeparatorOfText(QString::fromUtf8(s.text)), s.code) << s.text;
    EXPECT_EQ(frSeparatorText(0x80), QStringLiteral("€"));
}

TEST_F(PrintTest, FormatDialogPacksWhatTheUserChose)
{
    frInstallWindows();
    ASSERT_TRUE(frObjects().displayFormatDialog);
    qint32 format = frPackFormat({0, 0, 2, ','});
    QString formatStr = QStringLiteral("#,##0.00");
    whenUp([](QWidget &w) {
        auto &form = static_cast<TfrFmtForm &>(w);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Formatage de variable"));
        EXPECT_EQ(form.CatLB->count(), 5);
        EXPECT_EQ(form.TypeLB->count(), 1); // text: "[Aucun]" only
        EXPECT_FALSE(form.DecEdit->isEnabled());
        EXPECT_FALSE(form.Label1->isEnabled());
        EXPECT_TRUE(form.DecEdit->text().isEmpty());
        form.CatLB->setCurrentRow(1);
        form.CatLBClick();
        EXPECT_EQ(form.TypeLB->count(), 5);
        EXPECT_EQ(form.TypeLB->currentRow(), 0);
        EXPECT_TRUE(form.DecEdit->isEnabled());
        EXPECT_EQ(form.DecEdit->text(), QStringLiteral("2"));
        EXPECT_EQ(form.SplEdit->text(), QStringLiteral(","));
        EXPECT_FALSE(form.FormatEdit->isEnabled());
        form.TypeLB->setCurrentRow(3);
        form.TypeLBClick();
        EXPECT_EQ(form.TypeLB->currentItem()->text(), QStringLiteral("1 234,50"));
        shot(form, QStringLiteral("format_dialog"));
        form.OkButton->click();
    });
    ASSERT_TRUE(frObjects().displayFormatDialog(format, formatStr));
    EXPECT_EQ(format, qint32(0x0103022C));
    EXPECT_EQ(formatStr, QStringLiteral("#,##0.00")); // no custom type: the text stays

    // Custom type: the text typed; an emptied separator stores ','; a
    // category chosen again starts at its first type.
    whenUp([](QWidget &w) {
        auto &form = static_cast<TfrFmtForm &>(w);
        EXPECT_EQ(form.CatLB->currentRow(), 1);
        EXPECT_EQ(form.TypeLB->currentRow(), 3);
        form.TypeLB->setCurrentRow(4);
        form.TypeLBClick();
        EXPECT_TRUE(form.FormatEdit->isEnabled());
        EXPECT_EQ(form.FormatEdit->text(), QStringLiteral("#,##0.00"));
        form.FormatEdit->setText(QStringLiteral("0.000"));
        form.SplEdit->clear();
        form.DecEdit->setText(QStringLiteral("300"));
        form.OkButton->click();
    });
    ASSERT_TRUE(frObjects().displayFormatDialog(format, formatStr));
    EXPECT_EQ(format, frPackFormat({1, 4, 255, ','}));
    EXPECT_EQ(formatStr, QStringLiteral("0.000"));

    whenUp([](QWidget &w) {
        auto &form = static_cast<TfrFmtForm &>(w);
        form.CatLB->setCurrentRow(2);
        form.CatLBClick();
        EXPECT_EQ(form.TypeLB->currentRow(), 0);
        EXPECT_EQ(form.TypeLB->currentItem()->text(), QStringLiteral("11/15/98"));
        form.CancelButton->click();
    });
    const qint32 kept = format;
    EXPECT_FALSE(frObjects().displayFormatDialog(format, formatStr));
    EXPECT_EQ(format, kept);
}

} // namespace report::test
