// The preview: page layout, painting, search, the wheel, object clicks,
// ownership of the pages through every command, printing and page setup
// from the preview, ".frp" files, the embedded panel and the modal window
// opened by ShowReport.
#include "build_fixture.h"
#include "io_support.h"

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/printer/fakeprinters.h"
#include "platform/printer/printers.h"
#include "platform/registry/registry.h"
#include "report/print/frprinter.h"
#include "report/ui/frctrls.h"
#include "report/ui/frdock.h"
#include "report/ui/frpreview.h"
#include "report/ui/frprintform.h"
#include "report/ui/frprogressform.h"
#include "tests/support/gui/shots.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace report::test
{
namespace
{

TEST(PreviewLayout, ZoomModesAndColumns)
{
    const QSize a4(758, 1071);
    struct Case {
        const char *what;
        std::vector<QSize> pages;
        QSize surface;
        TfrPreviewZoom mode;
        double per;
        QString caption;
        std::vector<QPoint> corners;
    } cases[] = {
        {"page width", {a4}, {1000, 700}, pzPageWidth, 1, "129%", {{10, 10}}},
        {"100% centred", {a4}, {1000, 700}, pzDefault, 1, "100%", {{121, 10}}},
        {"two pages", {a4, a4}, {1000, 700}, pzTwoPages, 1, "64%", {{10, 10}, {505, 10}}},
        {"one page", {a4, a4}, {1000, 700}, pzOnePage, 1, "63%", {{259, 10}, {259, 700}}},
        {"stacked at 100%",
         {a4, a4, a4, a4},
         {800, 3000},
         pzDefault,
         1,
         "100%",
         {{21, 10}, {21, 1091}, {21, 2172}, {21, 3253}}},
        {"two columns fit",
         {a4, a4, a4},
         {1600, 700},
         pzDefault,
         1,
         "100%",
         {{10, 10}, {778, 10}, {10, 1091}}},
        {"narrow page at 50%", {{200, 300}}, {1000, 700}, pzDefault, 0.5, "50%", {{450, 10}}},
        // Without pages the zoom stays.
        {"no pages", {}, {1000, 700}, pzPageWidth, 0.75, "75%", {}},
    };
    for (const Case &c : cases) {
        const FrPageLayout l = frLayoutPages(c.pages, c.surface, c.mode, c.per);
        EXPECT_EQ(frZoomCaption(l.per), c.caption) << c.what;
        ASSERT_EQ(l.rects.size(), c.corners.size()) << c.what;
        for (size_t i = 0; i < c.corners.size(); ++i)
            EXPECT_EQ(l.rects[i].topLeft(), c.corners[i]) << c.what << " page " << i;
    }
    const FrPageLayout width = frLayoutPages({a4}, {1000, 700}, pzPageWidth, 1);
    EXPECT_DOUBLE_EQ(width.per, 980.0 / 758);
    EXPECT_EQ(width.rects[0].width(), 980);
    // Scroll ranges: the far page edges less the surface, plus 10.
    EXPECT_EQ(width.vMax, width.rects[0].bottom() + 1 - 700 + 10);
    EXPECT_EQ(width.hMax, 0);
}

// A report built from a title and 120 data lines (three A4 pages), or a
// hand-filled set of pages for the drawing tests.
class PreviewTest : public BuildTest
{
protected:
    class RecordingReport : public TfrReport
    {
    public:
        using TfrReport::TfrReport;
        bool PrintPreparedPages(const QString &pageNumbers, int copies, bool collate,
                                int printPages) override
        {
            calls.append(QStringLiteral("%1|%2|%3|%4|%5")
                             .arg(pageNumbers)
                             .arg(copies)
                             .arg(collate)
                             .arg(printPages)
                             .arg(EMFPages().Count()));
            if (throwOnPrint)
                throw platform::Exception(QStringLiteral("imprimante en panne"));
            if (printForReal)
                return TfrReport::PrintPreparedPages(pageNumbers, copies, collate, printPages);
            return true;
        }
        QStringList calls;
        bool throwOnPrint = false;
        bool printForReal = false;
    };

    void SetUp() override
    {
        BuildTest::SetUp();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
        // A print for real makes its documents folder: the test's, not the user's.
        platform::setVirtualPrinterOutput(dir.filePath(QStringLiteral("docs/Vorn_Lud.pdf")));
        report = std::make_unique<RecordingReport>(&owner);
        report->ShowProgress = false;
        page = report->Pages().Add();
        page->Name = QStringLiteral("Page1");
        source.RangeEnd = reCount;
        source.RangeEndCount = 120;
        report->setDataset(&source);
        report->OnGetValue = [this](const QString &name, FrVariant &value) {
            if (name.compare(QLatin1String("Nom"), Qt::CaseInsensitive) == 0)
                value = name77(source.RecNo);
        };
        band(btReportTitle, 20, 40, QStringLiteral("Titre"));
        auto *title =
            memo(QStringLiteral("TitreMemo"), 20, 20, 400, 40, QStringLiteral("Liste des joueurs"));
        title->FrameTyp = 15;
        bandWithMemo(btMasterData, 80, 20, QStringLiteral("Ligne"),
                     QStringLiteral("[LINE#] [Nom]"));
    }
    void TearDown() override
    {
        form.reset();
        BuildTest::TearDown();
        platform::TRegistry::setFileName(QString());
        platform::setVirtualPrinterOutput(QString());
    }
    static QString name77(int recNo)
    {
        return recNo == 76 ? QStringLiteral("Éléonore Zébulon") : QStringLiteral("Joueur");
    }
    RecordingReport &doc() { return static_cast<RecordingReport &>(*report); }

    // Prepares (unless told not to) and opens the preview, not shown, on a
    // 1000 x 700 surface.
    TfrPreviewForm &open(QSize surface = {1000, 700}, bool prepare = true)
    {
        if (prepare && report->EMFPages().Count() == 0) {
            EXPECT_TRUE(report->PrepareReport());
        }
        form = std::make_unique<TfrPreviewForm>();
        form->Connect(*report);
        form->SetButtonsUp();
        form->RedrawAll(true);
        form->setSurfaceSize(surface);
        return *form;
    }
    void expectOwned(int pages, const char *after)
    {
        ASSERT_NE(form->EMFPages(), nullptr) << after;
        EXPECT_TRUE(form->Connected()) << after;
        EXPECT_EQ(form->EMFPages()->Count(), pages) << after;
        EXPECT_EQ(report->EMFPages().Count(), 0) << after;
    }
    void key(int k, Qt::KeyboardModifiers m = {})
    {
        QKeyEvent e(QEvent::KeyPress, k, m);
        QApplication::sendEvent(form.get(), &e);
    }

    TfrUserDataset source;
    QTemporaryDir dir;
    std::unique_ptr<TfrPreviewForm> form;
};

TEST_F(PreviewTest, OpensOnThreePagesAtTheRememberedZoom)
{
    frObjects().frLastZoomMode = pzPageWidth;
    TfrPreviewForm &f = open();
    expectOwned(3, "open");
    EXPECT_EQ(f.PageLabel()->text(), QStringLiteral("Page 1/3"));
    EXPECT_EQ(f.Button(QStringLiteral("ZoomBtn"))->Caption(), QStringLiteral("129%"));
    EXPECT_EQ(f.EMFPages()->Entry(0)->ScreenRect,
              QRect(10, 10, 980, int(std::nearbyint(1071 * 980.0 / 758))));
    EXPECT_TRUE(f.MenuItem(1)->isChecked());
    // The zoom chosen is the next preview's.
    f.ZoomItemClick(100);
    EXPECT_EQ(frObjects().frLastZoomMode, pzDefault);
    EXPECT_EQ(f.EMFPages()->Entry(0)->ScreenRect.left(), 121);
    f.ZoomItemClick(3);
    EXPECT_EQ(f.Button(QStringLiteral("ZoomBtn"))->Caption(), QStringLiteral("64%"));
    EXPECT_EQ(f.EMFPages()->Entry(1)->ScreenRect.left(), 505);
}

TEST_F(PreviewTest, PaintsOnlyThePagesOnTheSurface)
{
    // Four hand-filled pages at 100% on a surface 3000 high: the fourth
    // page starts below it.
    for (int i = 0; i < 4; ++i)
        report->EMFPages().AddPage(*page);
    TfrPreviewForm &f = open({800, 3000});
    f.ZoomItemClick(100);
    EXPECT_EQ(f.EMFPages()->Entry(2)->ScreenRect.top(), 2172);
    QImage img(800, 3000, QImage::Format_RGB32);
    {
        QPainter p(&img);
        f.paintSurface(p, QRect(0, 0, 800, 3000));
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(f.EMFPages()->Entry(i)->Shown) << i;
    EXPECT_FALSE(f.EMFPages()->Entry(3)->Shown);
    EXPECT_EQ(img.pixel(5, 5), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixel(21, 10), qRgb(0, 0, 0));         // border
    EXPECT_EQ(img.pixel(100, 100), qRgb(255, 255, 255)); // paper
    EXPECT_EQ(img.pixel(21 + 758, 500), qRgb(0, 0, 0));  // shadow at the right
    EXPECT_EQ(img.pixel(21 + 759, 500), qRgb(0x80, 0x80, 0x80));
}

TEST_F(PreviewTest, ZeroPagesMakeEveryCommandAndKeySafe)
{
    TfrPreviewForm &f = open({1000, 700}, false); // nothing prepared
    frObjects().setPrintDialog(std::make_unique<FrScriptedPrintDialog>());
    f.ZoomItemClick(1);
    EXPECT_DOUBLE_EQ(f.per, 1.0);
    for (const auto &command : {&TfrPreviewForm::PgUpClick, &TfrPreviewForm::PgDownClick,
                                &TfrPreviewForm::LastPage, &TfrPreviewForm::PrintBtnClick,
                                &TfrPreviewForm::PageSetupBtnClick, &TfrPreviewForm::EditPageClick,
                                &TfrPreviewForm::AddPageClick, &TfrPreviewForm::DelPageClick})
        (f.*command)();
    EXPECT_FALSE(f.FindText(QStringLiteral("x"), false, true));
    for (int k : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_F3, Qt::Key_P,
                  Qt::Key_E, Qt::Key_Home})
        key(k, Qt::ControlModifier);
    f.wheel(-1);
    QImage img(1000, 700, QImage::Format_RGB32);
    QPainter p(&img);
    f.paintSurface(p, img.rect());
    EXPECT_EQ(f.PageCount(), 0);
    EXPECT_EQ(f.CurPage, 1);
    EXPECT_EQ(doc().calls.size(), 0);
}

TEST_F(PreviewTest, FindGoesToTheHitAndF3ToTheNextOne)
{
    TfrPreviewForm &f = open();
    f.ZoomItemClick(100);
    struct Case {
        const char *text;
        bool caseSensitive;
        bool fromFirst;
        int page; // 0: a miss
    } cases[] = {
        {"éléonore", false, true, 2}, // accents upper-cased with the rest
        {"éléonore", true, true, 0},   {"Éléonore", true, true, 2},
        {"liste des", false, true, 1}, {"introuvable", false, true, 0},
    };
    for (const Case &c : cases) {
        f.CurPage = 1;
        f.VScrollBar()->setValue(0);
        const int before = f.VScrollBar()->value();
        const bool hit = f.FindText(QString::fromUtf8(c.text), c.caseSensitive, c.fromFirst);
        EXPECT_EQ(hit, c.page != 0) << c.text;
        if (!hit) {
            EXPECT_EQ(f.VScrollBar()->value(), before) << c.text;
            continue;
        }
        EXPECT_EQ(f.CurPage, c.page) << c.text;
        const QRect &page = f.EMFPages()->Entry(c.page - 1)->ScreenRect;
        const int expected = page.top() + int(std::nearbyint(f.LastFound().top() * f.per)) - 10;
        EXPECT_EQ(f.VScrollBar()->value(), std::min(expected, f.VScrollBar()->maximum())) << c.text;
    }
    // F3: the next line of the same page; from the current page only.
    ASSERT_TRUE(f.FindText(QStringLiteral("joueur"), false, true));
    const QRect first = f.LastFound();
    key(Qt::Key_F3);
    EXPECT_EQ(f.CurPage, 1);
    EXPECT_GT(f.LastFound().top(), first.top());
    f.LastPage();
    ASSERT_TRUE(f.FindText(QStringLiteral("joueur"), false, false));
    EXPECT_EQ(f.CurPage, 3);
    expectOwned(3, "find");
}

TEST_F(PreviewTest, WheelScrollsBySmallSteps)
{
    TfrPreviewForm &f = open();
    f.ZoomItemClick(100);
    f.wheel(-1);
    EXPECT_EQ(f.VScrollBar()->value(), 10);
    f.wheel(1);
    EXPECT_EQ(f.VScrollBar()->value(), 0);

    QWidget host;
    host.resize(800, 600);
    auto *panel = new TfrPreview(&host);
    panel->setGeometry(0, 0, 800, 600);
    report->PrepareReport();
    panel->Connect(*report);
    panel->Window()->ZoomItemClick(100);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&host, &wheel);
    EXPECT_EQ(panel->Window()->VScrollBar()->value(), 30);
    panel->Disconnect();
    EXPECT_EQ(report->EMFPages().Count(), 3);
}

TEST_F(PreviewTest, ClickOnAnObjectCallsTheReportAtEveryZoom)
{
    QStringList clicked;
    report->OnObjectClick = [&](TfrView *v) { clicked.append(v->Name); };
    TfrPreviewForm &f = open();
    for (bool full : {false, true}) {
        for (int zoom : {100, 50}) {
            f.EMFPages()->Entry(0)->BoundByMargins = full;
            f.ZoomItemClick(zoom);
            f.VScrollBar()->setValue(0);
            clicked.clear();
            // Where the title memo is drawn: its centre in the picture's scale.
            TfrEMFPage &e = *f.EMFPages()->Entry(0);
            f.EMFPages()->BuildPageObjects(0);
            TfrView *title = nullptr;
            for (const auto &v : e.Page->Objects)
                if (v->Name.startsWith(QLatin1String("TitreMemo")))
                    title = v.get();
            ASSERT_NE(title, nullptr);
            const TfrPrnInfo &g = e.PrinterGeometry;
            double kx = 1, ky = 1, ox = 0, oy = 0;
            if (!full) {
                kx = double(g.Pw - e.Margins[0] - e.Margins[2]) / g.Pgw;
                ky = double(g.Ph - e.Margins[1] - e.Margins[3]) / g.Pgh;
                ox = g.Ofx + e.Margins[0];
                oy = g.Ofy + e.Margins[1];
            }
            const QRect r = e.ScreenRect.translated(f.ofx, f.ofy);
            const QPoint centre(
                r.left() + int(std::nearbyint((ox + (title->x + title->dx / 2.0) * kx) * f.per)),
                r.top() + int(std::nearbyint((oy + (title->y + title->dy / 2.0) * ky) * f.per)));
            bool drag = true;
            f.surfaceMouseDown(centre, Qt::LeftButton, centre, drag);
            EXPECT_EQ(clicked, QStringList{title->Name}) << full << " " << zoom;
            EXPECT_FALSE(drag);
            // Beside the objects the page is dragged.
            f.surfaceMouseDown(r.topLeft() + QPoint(2, 2), Qt::LeftButton, {}, drag);
            EXPECT_TRUE(drag);
        }
    }
    // Without printable room nothing is hit.
    TfrEMFPage &e = *f.EMFPages()->Entry(0);
    e.BoundByMargins = false;
    e.Margins = {400, 0, 400, 0};
    Qt::CursorShape cursor = Qt::ArrowCursor;
    EXPECT_FALSE(f.EMFPages()->HitTest(0, QPoint(100, 100), true, cursor));
    // Nor with margins no page can have; none overflows.
    e.Margins = {2000000000, 0, 2000000000, 0};
    EXPECT_FALSE(f.EMFPages()->HitTest(0, QPoint(100, 100), true, cursor));
    e.Margins = {-2000000000, -2000000000, -2000000000, -2000000000};
    EXPECT_FALSE(f.EMFPages()->HitTest(0, QPoint(100, 100), true, cursor));
}

TEST_F(PreviewTest, PagesStayWithThePreviewThroughEveryCommand)
{
    auto dialog = std::make_unique<FrScriptedPrintDialog>();
    FrScriptedPrintDialog &printDialog = *dialog;
    frObjects().setPrintDialog(std::move(dialog));
    TfrPreviewForm &f = open();
    printDialog.copies = 2;
    printDialog.range = 2;
    printDialog.pages = QStringLiteral("1,3");
    f.PrintBtnClick();
    EXPECT_EQ(doc().calls, QStringList{QStringLiteral("1,3|2|1|0|3")});
    expectOwned(3, "print");
    printDialog.range = 1;
    f.CurPage = 2;
    f.PrintBtnClick();
    EXPECT_EQ(doc().calls.last(), QStringLiteral("2|2|1|0|3"));
    doc().throwOnPrint = true;
    EXPECT_FALSE(platform::guard([&] { f.PrintBtnClick(); }));
    expectOwned(3, "a print that threw");
    printDialog.ok = false;
    f.PrintBtnClick();
    EXPECT_EQ(doc().calls.size(), 3);

    f.AddPageClick();
    expectOwned(4, "add page");
    fakes->dialogs.answers = {platform::mrNo, platform::mrYes};
    f.DelPageClick();
    expectOwned(4, "delete refused");
    f.DelPageClick();
    expectOwned(3, "delete");
    f.SaveToFile(dir.filePath(QStringLiteral("x")));
    expectOwned(3, "save");
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("x.frp"))));

    // A second Connect or Disconnect does nothing.
    f.Connect(*report);
    expectOwned(3, "connect twice");
    f.Disconnect();
    f.Disconnect();
    EXPECT_EQ(report->EMFPages().Count(), 3);
    EXPECT_FALSE(f.Connected());
}

// The print dialog is the preview's own: the window manager keeps it above
// the preview, never raising the window that opened the preview or designer.
TEST_F(PreviewTest, PrintDialogBelongsToThePreview)
{
    frObjects().setPrintDialog(std::make_unique<FrPrintFormDialog>());
    platform::TForm opener(QStringLiteral("Ouvrante"));
    opener.Show();
    opener.activated();
    TfrPreviewForm &f = open();
    f.show();
    QWidget *parent = nullptr;
    QWindow *transient = nullptr;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        parent = dialog->parentWidget();
        transient = dialog->windowHandle()->transientParent();
        dialog->reject();
    });
    f.PrintBtnClick();
    EXPECT_EQ(parent, &f) << (parent ? parent->objectName().toStdString() : "no parent");
    EXPECT_EQ(transient, f.windowHandle());
}

// The window a window belongs to: its parent's, else the one the window
// system keeps it above.
QWidget *ownerOf(QWidget *w)
{
    if (QWidget *parent = w->parentWidget())
        return parent->window();
    const QWindow *above = w->windowHandle() ? w->windowHandle()->transientParent() : nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (above && top->windowHandle() == above)
            return top;
    return nullptr;
}

// A print from the preview, shown modelessly or modally, with the real
// progress window: the PDF file dialog belongs to the progress window, which
// belongs to the preview that prints, not to the window that opened it.
TEST_F(PreviewTest, PdfDialogAndProgressWindowBelongToThePrintingPreview)
{
    auto previous = platform::setPrinterSystem(std::make_unique<platform::FakePrinterSystem>());
    auto printer = std::make_unique<TfrPrinter>();
    printer->SetPrinter();
    frObjects().setPrinter(std::move(printer));
    frObjects().setPrintDialog(std::make_unique<FrScriptedPrintDialog>());
    frObjects().setProgressWindow(std::make_unique<TfrProgressForm>());
    report->ShowProgress = true;
    doc().printForReal = true;
    platform::TForm opener(QStringLiteral("Ouvrante"));
    opener.Show();
    opener.activated();
    TfrPreviewForm &f = open();
    QStringList chain;
    fakes->dialogs.onFile = [&](QWidget *parent) {
        for (QWidget *w = parent; w; w = ownerOf(w))
            chain << w->objectName();
    };
    for (const bool modal : {false, true}) {
        SCOPED_TRACE(modal ? "modal" : "modeless");
        chain.clear();
        fakes->dialogs.files = {std::nullopt}; // the dialog cancelled: nothing printed
        if (modal) {
            QTimer::singleShot(0, [&] {
                f.PrintBtnClick();
                f.done(QDialog::Rejected);
            });
            f.setModal(true);
            f.exec();
        } else {
            f.show();
            f.PrintBtnClick();
            f.hide();
        }
        EXPECT_EQ(chain.join(QLatin1String(" > ")).toStdString(), "frProgressForm > frPreviewForm");
    }
    form.reset();
    frObjects().setPrinter(nullptr);
    platform::setPrinterSystem(std::move(previous));
}

TEST_F(PreviewTest, SavedFilesLoadBackAndAFailedLoadKeepsThePages)
{
    TfrPreviewForm &f = open();
    const QString dump = f.EMFPages()->Dump();
    f.SaveToFile(dir.filePath(QStringLiteral("liste.txt")));
    const QString saved = dir.filePath(QStringLiteral("liste.frp"));
    ASSERT_TRUE(QFile::exists(saved));

    const QString bad = dir.filePath(QStringLiteral("abime.frp"));
    writeFileBytes(bad, QByteArray("\x18\x00\x05Vorn\xff\xff\xff\x7f", 11));
    f.LoadFromFile(bad);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes->dialogs.messages[0].caption, QStringLiteral("Erreur"));
    expectOwned(3, "failed load");
    EXPECT_TRUE(f.Button(QStringLiteral("PageSetupBtn"))->isEnabled());
    // A file too large to be read says so, and the pages stay.
    const QString huge = dir.filePath(QStringLiteral("enorme.frp"));
    writeFileBytes(huge, {}, qint64(300) << 20);
    f.LoadFromFile(huge);
    ASSERT_EQ(fakes->dialogs.messages.size(), 2u);
    EXPECT_EQ(fakes->dialogs.messages[1].text,
              QStringLiteral("Le fichier %1 est trop volumineux pour être lu.").arg(huge));
    expectOwned(3, "too large");

    // A file of zeros reads as no page at all: refused, naming the file.
    const QString zeros = dir.filePath(QStringLiteral("zeros.frp"));
    writeFileBytes(zeros, QByteArray(1024, '\0'));
    f.LoadFromFile(zeros);
    ASSERT_EQ(fakes->dialogs.messages.size(), 3u);
    EXPECT_TRUE(fakes->dialogs.messages[2].text.startsWith(
        QStringLiteral("Le fichier %1 n'a pas pu être lu.").arg(zeros)));
    EXPECT_EQ(f.EMFPages()->Dump(), dump);

    f.AddPageClick();
    f.LoadFromFile(saved);
    expectOwned(3, "load");
    EXPECT_EQ(f.EMFPages()->Dump(), dump);
    EXPECT_EQ(f.CurPage, 1);
    // Loaded pages cannot be prepared again on other paper.
    EXPECT_FALSE(f.Button(QStringLiteral("PageSetupBtn"))->isEnabled());
}

// A one-memo report saved from its preview, cut at every length and with
// every byte flipped, opened over the pages shown, whose surface is then
// painted twice: each file is taken and drawn without a box, or refused with
// one box naming it while the pages shown stay as they were.
TEST_F(PreviewTest, DamagedPreparedReportIsRefusedOnceOrDrawnWithoutABox)
{
    TfrReport small(&owner);
    small.ShowProgress = false;
    TfrPage *smallPage = small.Pages().Add();
    band(btReportTitle, 20, 40, QStringLiteral("Titre"), 0, QString(), smallPage);
    memo(QStringLiteral("Memo1"), 20, 20, 300, 40, QStringLiteral("SECONDE BBBB"), smallPage);
    ASSERT_TRUE(small.PrepareReport());
    const QString saved = dir.filePath(QStringLiteral("seconde.frp"));
    ASSERT_TRUE(small.SavePreparedFile(saved));
    const QByteArray good = readFileBytes(saved);
    ASSERT_GT(good.size(), 100);

    struct Case {
        QString what;
        QByteArray bytes;
    };
    std::vector<Case> cases;
    for (int length = 0; length < good.size(); ++length)
        cases.push_back({QStringLiteral("cut at %1").arg(length), good.left(length)});
    for (int at = 0; at < good.size(); ++at)
        for (const char mask : {'\xff', '\x01', '\x80'}) {
            QByteArray bytes = good;
            bytes[at] = char(bytes[at] ^ mask);
            cases.push_back(
                {QStringLiteral("byte %1 xor %2").arg(at).arg(quint8(mask), 2, 16), bytes});
        }

    TfrPreviewForm &f = open();
    QWidget *surface = f.findChild<QWidget *>(QStringLiteral("PBox"));
    ASSERT_NE(surface, nullptr);
    const QString path = dir.filePath(QStringLiteral("abime.frp"));
    int refused = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what.toStdString());
        f.ZoomItemClick(10); // every page on the surface
        const QString before = f.EMFPages()->Dump();
        const QString printer = report->PrinterName;
        writeFileBytes(path, c.bytes);
        fakes->dialogs.messages.clear();
        f.LoadFromFile(path);
        const bool taken = fakes->dialogs.messages.empty();
        f.ZoomItemClick(10);
        for (int paint = 0; paint < 2; ++paint)
            surface->grab();
        QCoreApplication::processEvents();
        if (taken) {
            EXPECT_TRUE(fakes->dialogs.messages.empty())
                << fakes->dialogs.messages.size()
                << " box(es), the first: " << fakes->dialogs.messages[0].text.toStdString();
        } else {
            ++refused;
            ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
            EXPECT_TRUE(fakes->dialogs.messages[0].text.contains(path))
                << fakes->dialogs.messages[0].text.toStdString();
            EXPECT_EQ(f.EMFPages()->Dump(), before);
            EXPECT_EQ(report->PrinterName.toStdString(), printer.toStdString()); // not taken
        }
        expectOwned(f.EMFPages()->Count(), "load");
        ASSERT_GT(f.EMFPages()->Count(), 0);
    }
    EXPECT_GT(refused, good.size()); // every cut, and more
}

TEST_F(PreviewTest, AnotherPrinterRebuildsBuiltPagesNotLoadedOnes)
{
    auto printer = std::make_unique<FrVirtualPrinterInfo>();
    printer->addRealPrinter(); // "Imprimante 600" current, the virtual one second
    frObjects().setPrinter(std::move(printer));
    auto dialog = std::make_unique<FrScriptedPrintDialog>();
    dialog->printer = 1;
    frObjects().setPrintDialog(std::move(dialog));
    TfrPreviewForm &f = open();
    // A mark on the pages shown: pages prepared again do not carry it (the
    // new list may well take the freed one's address).
    constexpr qint32 kMark = -12345;
    f.EMFPages()->Entry(0)->Bin = kMark;
    f.PrintBtnClick();
    ASSERT_NE(f.EMFPages()->Entry(0), nullptr);
    EXPECT_NE(f.EMFPages()->Entry(0)->Bin, kMark); // prepared again
    expectOwned(3, "print after a printer change");
    EXPECT_EQ(report->PrinterName, QStringLiteral("Imprimante virtuelle"));

    f.SaveToFile(dir.filePath(QStringLiteral("l.frp")));
    f.LoadFromFile(dir.filePath(QStringLiteral("l.frp")));
    frObjects().frGlobalPrinter().SetPrinterIndex(0);
    f.EMFPages()->Entry(0)->Bin = kMark;
    f.PrintBtnClick();
    ASSERT_NE(f.EMFPages()->Entry(0), nullptr);
    EXPECT_EQ(f.EMFPages()->Entry(0)->Bin, kMark); // the loaded pages, not rebuilt
    EXPECT_EQ(doc().calls.size(), 2);
}

TEST_F(PreviewTest, PageSetupKeepsMarginsOnAnUnchangedOk)
{
    auto system = std::make_unique<platform::FakePrinterSystem>();
    platform::FakePrinterSystem &fake = *system;
    fake.printers.push_back(platform::FakePrinterSystem::printer600());
    fake.defaultName = fake.printers[0].name;
    auto previous = platform::setPrinterSystem(std::move(system));
    auto printer = std::make_unique<TfrPrinter>();
    printer->SetPrinter();
    frObjects().setPrinter(std::move(printer));
    fake.setupAnswer = true;
    for (int margin : {18, 10}) {
        TfrPage *tpl = report->Pages().GetPage(0); // a preparation reloads the template
        tpl->LeftMargin = tpl->TopMargin = tpl->RightMargin = tpl->BottomMargin = margin;
        report->SetEMFPages(nullptr);
        form.reset();
        TfrPreviewForm &f = open();
        ASSERT_EQ(f.EMFPages()->Entry(0)->Margins[0], margin);
        f.PageSetupBtnClick();
        EXPECT_EQ(report->Pages().GetPage(0)->LeftMargin, margin);
        EXPECT_EQ(report->Pages().GetPage(0)->BottomMargin, margin);
        expectOwned(3, "page setup");
    }
    fake.setupAnswer = false;
    const TfrEMFPages *kept = form->EMFPages();
    form->PageSetupBtnClick();
    EXPECT_EQ(form->EMFPages(), kept);
    form.reset();
    frObjects().setPrinter(nullptr);
    platform::setPrinterSystem(std::move(previous));
}

TEST_F(PreviewTest, PanelShowsTheReportInsideAnApplicationWindow)
{
    QWidget host;
    host.resize(700, 500);
    auto *panel = new TfrPreview(&host);
    panel->setGeometry(0, 0, 700, 500);
    QList<int> changes;
    panel->OnPageChanged = [&](TfrPreview *sender, int pageNo) {
        EXPECT_EQ(sender, panel);
        changes.append(pageNo);
    };
    report->setPreview(panel);
    report->PrepareReport();
    panel->Connect(*report);
    EXPECT_EQ(report->EMFPages().Count(), 0);
    EXPECT_EQ(panel->Window()->PageCount(), 3);
    EXPECT_EQ(panel->Window()->PageArea()->parentWidget(), panel);
    EXPECT_FALSE(panel->Window()
                     ->Button(QStringLiteral("ExitBtn"))
                     ->isVisibleTo(panel->Window()->Toolbar()));
    panel->Window()->PgDownClick();
    EXPECT_EQ(panel->Page(), 2);
    EXPECT_EQ(changes.last(), 2);
    panel->SetScrollBars(TfrPreview::ssNone);
    EXPECT_FALSE(panel->Window()->VScrollBar()->isVisibleTo(panel));
    EXPECT_EQ(panel->Window()->PBox()->width(), 700 - 2);
    panel->SetShowToolbar(true);
    EXPECT_EQ(panel->Window()->Toolbar()->parentWidget(), panel);
    // Printing from the report gives the pages back for the time of the print.
    doc().PrintWithProgress(QString(), 1, true, 0);
    ASSERT_EQ(doc().calls.size(), 1);
    EXPECT_TRUE(doc().calls[0].endsWith(QLatin1String("|3")));
    EXPECT_TRUE(panel->Connected());
    EXPECT_EQ(report->EMFPages().Count(), 0);
    report->setPreview(nullptr);
}

TEST_F(PreviewTest, FormPlacementComesBackOnScreen)
{
    struct Case {
        QRect stored;
        QRect expected;
    } cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},
        {{5000, 100, 400, 300}, {2400 - 400, 100, 400, 300}}, // the nearer second screen
        {{-900, -900, 400, 300}, {0, 0, 400, 300}},
        {{1500, 50, 400, 300}, {1600, 50, 400, 300}},       // partly on the second screen
        {{1100, 50, 400, 300}, {1024 - 400, 50, 400, 300}}, // between the screens
        {{300, 500, 400, 300}, {300, 768 - 300, 400, 300}}, // its bottom below the first
        {{-50, 300, 1700, 1000}, {0, 0, 1024, 768}},        // saved on a larger screen
    };
    const QList<QRect> screens{QRect(0, 0, 1024, 768), QRect(1600, 0, 800, 600)};
    for (const Case &c : cases)
        EXPECT_EQ(frOnScreen(c.stored, screens), c.expected) << c.stored.x();

    {
        TfrPreviewForm f;
        f.setGeometry(60, 70, 500, 400);
        frSaveFormPosition(&f);
    }
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\VornReport\\Form\\TfrPreviewForm"), false));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Width")), 500);
    EXPECT_FALSE(reg.ReadBool(QStringLiteral("Maximized")));
    TfrPreviewForm again;
    frRestoreFormPosition(&again);
    EXPECT_EQ(again.geometry().size(), QSize(500, 400));
}

TEST_F(PreviewTest, ShowReportOpensTheModalPreviewOverItsOwner)
{
    class Owner : public platform::TForm
    {
    public:
        Owner() : TForm(QStringLiteral("Proprio")) {}
        int activations = 0;

    protected:
        void FormActivate() override { ++activations; }
    };
    Owner owner;
    owner.show();
    owner.activated();
    const int activations = owner.activations;
    frInstallPreview();
    auto dialog = std::make_unique<FrScriptedPrintDialog>();
    FrScriptedPrintDialog &printDialog = *dialog;
    frObjects().setPrintDialog(std::move(dialog));
    QString seen;
    QTimer poll;
    int polls = 0;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *f = qobject_cast<TfrPreviewForm *>(QApplication::activeModalWidget());
        if (!f) {
            if (++polls > 500) // the preview never came: end the test's wait
                if (QWidget *w = QApplication::activeModalWidget())
                    w->close();
            return;
        }
        poll.stop();
        seen = f->PageLabel()->text();
        f->setSurfaceSize({1000, 700});
        f->ZoomItemClick(1);
        f->FindText(QString::fromUtf8("Zébulon"), false, true);
        seen += QLatin1Char(' ') + QString::number(f->CurPage);
        f->SaveToFile(dir.filePath(QStringLiteral("vu")));
        QKeyEvent ctrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier);
        QApplication::sendEvent(f, &ctrlP);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(f, &esc);
    });
    poll.start();
    report->ShowReport();
    EXPECT_EQ(seen, QStringLiteral("Page 1/3 2"));
    EXPECT_EQ(printDialog.shows, 1);
    EXPECT_EQ(doc().calls.size(), 1);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("vu.frp"))));
    EXPECT_EQ(owner.activations, activations);
    // The modal preview freed its pages with it.
    EXPECT_EQ(report->EMFPages().Count(), 0);
}

// Pixels of two pictures of one size that differ by more than tolerance in
// a channel, as a share of all pixels.
double differingShare(const QImage &a, const QImage &b, int tolerance)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull())
        return 1.0;
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (std::abs(qRed(p) - qRed(q)) > tolerance ||
                std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++differing;
        }
    return double(differing) / (double(x.width()) * x.height());
}

// The window as a user sees it: grey around the pages, white paper with a
// black border and a shadow, the zoom caption, ink in the title's box, and
// the surface as the reference pictures show it (text may be rendered a
// little differently from one machine to the next, hence the tolerance).
// Run offscreen with the other tests, and shown in a real display under a
// window manager by the test_report_screens entry. VORN_SHOTS_DIR set: the
// pictures are also written there; VORN_UPDATE_REFERENCES=1: the reference
// pictures are written anew.
TEST_F(PreviewTest, LooksAsLaidOut)
{
    // Text measured and drawn with the real fonts, as a user sees it.
    frObjects().setMeasurer(nullptr);
    TfrPreviewForm &f = open();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        // The shown window lays itself out: the surface set again.
        f.setSurfaceSize({1000, 700});
    }
    f.setWindowTitle(QStringLiteral("Prévisualiser"));
    {
        TfrPreviewSearchForm search(&f);
        EXPECT_EQ(search.windowTitle(), QStringLiteral("Rechercher"));
        EXPECT_TRUE(search.FromFirst());
        EXPECT_FALSE(search.CaseSensitive());
        vorn_test::saveShot(&search, QStringLiteral("preview_recherche.png"));
    }
    for (int tag : {100, 1}) {
        f.ZoomItemClick(tag);
        f.VScrollBar()->setValue(0);
        const QImage window = f.grab().toImage();
        const QImage surface = f.PBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(surface.size(), QSize(1000, 700));
        if (const QString file = vorn_test::shotPath(
                QStringLiteral("preview_%1.png").arg(tag == 1 ? "largeur" : "100"));
            !file.isEmpty()) {
            if (f.isVisible()) {
                // On a display: the window as the user sees it, caption included.
                QTest::qWait(400);
                const QRect frame = f.frameGeometry();
                QGuiApplication::primaryScreen()
                    ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                    .save(file);
            } else {
                window.save(file);
            }
        }
        const QRect page = f.EMFPages()->Entry(0)->ScreenRect;
        EXPECT_EQ(f.Button(QStringLiteral("ZoomBtn"))->Caption(),
                  tag == 1 ? QStringLiteral("129%") : QStringLiteral("100%"));
        EXPECT_EQ(surface.pixel(page.left() - 3, 50), qRgb(0x80, 0x80, 0x80));
        EXPECT_EQ(surface.pixel(page.left(), 50), qRgb(0, 0, 0));
        EXPECT_EQ(surface.pixel(page.left() + 5, 12), qRgb(255, 255, 255));
        if (page.right() + 1 < surface.width()) {
            EXPECT_EQ(surface.pixel(page.right() + 1, 50), qRgb(0, 0, 0)); // shadow
        }
        // The framed title: its box at (20, 20, 400, 40) in the printable
        // area less the margins, drawn at the zoom.
        const TfrEMFPage &e = *f.EMFPages()->Entry(0);
        const TfrPrnInfo &g = e.PrinterGeometry;
        const double kx = double(g.Pw - e.Margins[0] - e.Margins[2]) / g.Pgw * f.per;
        const double ky = double(g.Ph - e.Margins[1] - e.Margins[3]) / g.Pgh * f.per;
        const int left = page.left() + int(std::nearbyint((g.Ofx + e.Margins[0]) * f.per));
        const int top = page.top() + int(std::nearbyint((g.Ofy + e.Margins[1]) * f.per));
        const QRect box(left + int(20 * kx), top + int(20 * ky), int(400 * kx), int(40 * ky));
        int ink = 0;
        for (int y = box.top() + 3; y < box.bottom() - 2; ++y)
            for (int x = box.left() + 3; x < box.right() - 2; ++x)
                ink += qGray(surface.pixel(x, y)) < 128 ? 1 : 0;
        EXPECT_GT(ink, 20) << tag;
        const QString reference = QStringLiteral(VORN_TEST_DATA "/report/preview_%1.png")
                                      .arg(tag == 1 ? "largeur" : "100");
        if (qEnvironmentVariable("VORN_UPDATE_REFERENCES") == QLatin1String("1"))
            surface.save(reference);
        const QImage expected(reference);
        ASSERT_FALSE(expected.isNull()) << reference.toStdString();
        EXPECT_LT(differingShare(surface, expected, 40), 0.02) << reference.toStdString();
    }
}

// Dark pixels in a row from x on, after any light ones before the first dark.
int darkRun(const QImage &image, int x, int y, int dx, int dy)
{
    while (x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           qGray(image.pixel(x, y)) >= 128) {
        x += dx;
        y += dy;
    }
    int run = 0;
    while (x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           qGray(image.pixel(x, y)) < 128) {
        ++run;
        x += dx;
        y += dy;
    }
    return run;
}

TEST_F(PreviewTest, AFrameOfOnePixelGrowsWithTheZoom)
{
    TfrPreviewForm &f = open();
    for (int zoom : {100, 200, 400}) {
        f.ZoomItemClick(zoom);
        f.VScrollBar()->setValue(0);
        QImage surface(1000, 700, QImage::Format_RGB32);
        {
            QPainter painter(&surface);
            f.paintSurface(painter, surface.rect());
        }
        // The title's frame (20, 20, 400, 40) on the page's picture: its left
        // edge crossed at mid-height, its bottom edge (from below, clear of
        // the title's text) at a quarter of its width.
        const TfrEMFPage &e = *f.EMFPages()->Entry(0);
        const TfrPrnInfo &g = e.PrinterGeometry;
        QRect target = e.ScreenRect;
        if (!e.BoundByMargins)
            target = QRect(target.left() + int(std::nearbyint((g.Ofx + e.Margins[0]) * f.per)),
                           target.top() + int(std::nearbyint((g.Ofy + e.Margins[1]) * f.per)),
                           int(std::nearbyint((g.Pw - e.Margins[0] - e.Margins[2]) * f.per)),
                           int(std::nearbyint((g.Ph - e.Margins[1] - e.Margins[3]) * f.per)));
        const double kx = double(target.width()) / g.Pgw;
        const double ky = double(target.height()) / g.Pgh;
        const int frameLeft = target.left() + int(std::nearbyint(20 * kx));
        const int frameTop = target.top() + int(std::nearbyint(20 * ky));
        const int across = darkRun(surface, frameLeft - 4, frameTop + int(20 * ky), 1, 0);
        const int down =
            darkRun(surface, frameLeft + int(100 * kx), frameTop + int(40 * ky) + 4, 0, -1);
        // As wide as one report pixel at this zoom, and never under one pixel.
        EXPECT_GE(across, std::max(1, int(std::floor(kx)))) << zoom;
        EXPECT_LE(across, std::max(1, int(std::ceil(kx)))) << zoom;
        EXPECT_GE(down, std::max(1, int(std::floor(ky)))) << zoom;
        EXPECT_LE(down, std::max(1, int(std::ceil(ky)))) << zoom;
        if (zoom == 200) {
            EXPECT_EQ(across, 2);
            EXPECT_EQ(down, 2);
        }
    }
}

TEST_F(PreviewTest, HelpFileWhileActiveAndHelpModeShowsAHint)
{
    platform::SetApplicationHelpFile(QStringLiteral("Vorn_Lud.hlp"));
    TfrPreviewForm &f = open();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &activate);
    EXPECT_EQ(platform::ApplicationHelpFile(), QStringLiteral("VRuser.hlp"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&f, &deactivate);
    EXPECT_EQ(platform::ApplicationHelpFile(), QStringLiteral("Vorn_Lud.hlp"));

    f.show();
    f.HelpBtnClick();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
    TfrSpeedButton *find = f.Button(QStringLiteral("FindBtn"));
    QMouseEvent press(QEvent::MouseButtonPress, find->mapTo(&f, QPointF(5, 5)),
                      find->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&f, &press);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QWidget *hit = frControlAtPos(&f, find->mapTo(&f, QPoint(5, 5)));
    // The hint shown under the mouse stays out of the way of the next lookup.
    EXPECT_EQ(hit, find);
}

TEST_F(PreviewTest, ModelessPreviewGoesWithItsReport)
{
    frInstallPreview();
    report->ModalPreview = false;
    report->ShowReport();
    TfrPreviewForm *shown = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TfrPreviewForm *>(w); f && f->isVisible())
            shown = f;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->PageCount(), 3);
    EXPECT_EQ(report->EMFPages().Count(), 0);
    QPointer<TfrPreviewForm> watch(shown);
    report.reset();
    EXPECT_TRUE(watch.isNull());
}

TEST_F(PreviewTest, CtrlPPrintsOnTheVirtualPrinterIntoAPdf)
{
    auto system = std::make_unique<platform::FakePrinterSystem>(); // no printer at all
    auto previous = platform::setPrinterSystem(std::move(system));
    auto printer = std::make_unique<TfrPrinter>();
    printer->SetPrinter();
    frObjects().setPrinter(std::move(printer));
    auto dialog = std::make_unique<FrScriptedPrintDialog>();
    dialog->range = 2;
    dialog->pages = QStringLiteral("2-3");
    frObjects().setPrintDialog(std::move(dialog));
    doc().printForReal = true;
    const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
    fakes->dialogs.files = {pdf};
    TfrPreviewForm &f = open();
    EXPECT_TRUE(f.Button(QStringLiteral("PrintBtn"))->isEnabled());
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(doc().LastPrintDone());
    ASSERT_TRUE(QFile::exists(pdf));
    const QByteArray bytes = readFileBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              2)
        << "two pages printed";
    expectOwned(3, "print into a PDF");
    form.reset();
    frObjects().setPrinter(nullptr);
    platform::setPrinterSystem(std::move(previous));
}

TEST_F(PreviewTest, KeysScrollAndTurnPages)
{
    TfrPreviewForm &f = open({1000, 300});
    f.ZoomItemClick(100);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int v; // vertical position after the key
        int page;
    } cases[] = {
        {Qt::Key_Down, {}, 10, 1},
        {Qt::Key_PageDown, {}, 210, 1},
        {Qt::Key_Up, {}, 200, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 1081, 2},
        {Qt::Key_End, Qt::ControlModifier, 2162, 3},
        {Qt::Key_PageUp, Qt::ControlModifier, 1081, 2},
        {Qt::Key_Home, Qt::ControlModifier, 0, 1},
    };
    for (const Case &c : cases) {
        key(c.key, c.mods);
        EXPECT_EQ(f.VScrollBar()->value(), c.v) << c.key;
        EXPECT_EQ(f.CurPage, c.page) << c.key;
    }
    key(Qt::Key_Right);
    EXPECT_EQ(f.HScrollBar()->value(), 0); // nothing to scroll across at 100% in 1000
}

TEST_F(PreviewTest, GreyButtonsFromTheDesignerSettingOrTheReport)
{
    platform::SetApplicationTitle(QStringLiteral("Vorn_Lud"));
    TfrPreviewForm &f = open();
    EXPECT_FALSE(f.Button(QStringLiteral("LoadBtn"))->GrayedInactive());
    report->GrayedButtons = true;
    f.SetButtonsUp();
    EXPECT_TRUE(f.Button(QStringLiteral("LoadBtn"))->GrayedInactive());
    report->GrayedButtons = false;
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(
            QStringLiteral("\\Software\\VornReport\\Vorn_Lud\\Form\\TfrDesignerForm"), true));
        reg.WriteBool(QStringLiteral("GrayButtons"), true);
    }
    f.SetButtonsUp();
    EXPECT_TRUE(f.Button(QStringLiteral("SaveBtn"))->GrayedInactive());
    // Buttons the report leaves out are hidden, their separators with them.
    report->PreviewButtons = pbPrint | pbPageSetup;
    f.SetButtonsUp();
    EXPECT_FALSE(f.Button(QStringLiteral("ZoomBtn"))->isVisibleTo(f.Toolbar()));
    EXPECT_FALSE(
        f.Toolbar()->findChild<QWidget *>(QStringLiteral("sep1"))->isVisibleTo(f.Toolbar()));
    EXPECT_FALSE(
        f.Toolbar()->findChild<QWidget *>(QStringLiteral("sep3"))->isVisibleTo(f.Toolbar()));
    EXPECT_TRUE(f.Button(QStringLiteral("PageSetupBtn"))->isVisibleTo(f.Toolbar()));
}

// The save dialog offers the report file, then the registered export
// filters: the name gets the filter's extension and every page goes through
// it, while the preview keeps its pages. The load dialog offers the report file.
TEST_F(PreviewTest, SaveDialogOffersTheReportFileAndExportsThroughTheChosenFilter)
{
    auto owned = std::make_unique<FrRecordingExportFilter>();
    FrRecordingExportFilter &filter = *owned;
    frObjects().frFilters.push_back(std::move(owned));
    TfrPreviewForm &f = open();
    fakes->dialogs.files = {dir.filePath(QStringLiteral("liste.frp"))};
    fakes->dialogs.filterIndexes = {2};
    f.SaveBtnClick();
    EXPECT_EQ(report->FileName, dir.filePath(QStringLiteral("liste.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("liste.frp"))));
    EXPECT_EQ(filter.events.count(QStringLiteral("begin page")), 3);
    EXPECT_EQ(filter.events.count(QStringLiteral("end page")), 3);
    EXPECT_EQ(filter.events.last(), QStringLiteral("end document"));
    EXPECT_FALSE(filter.events.filter(QStringLiteral("\"Liste des joueurs\"")).isEmpty())
        << filter.events.join(QLatin1Char('\n')).toStdString();
    expectOwned(3, "export");

    // A file type past the last filter exports nothing.
    filter.events.clear();
    fakes->dialogs.files = {dir.filePath(QStringLiteral("autre"))};
    fakes->dialogs.filterIndexes = {3};
    f.SaveBtnClick();
    EXPECT_TRUE(filter.events.isEmpty());
    expectOwned(3, "unknown file type");

    fakes->dialogs.files = {dir.filePath(QStringLiteral("depuis_dialogue"))};
    f.SaveBtnClick();
    ASSERT_EQ(fakes->dialogs.saveRequests.size(), 3u);
    for (const auto &request : fakes->dialogs.saveRequests)
        EXPECT_EQ(request.filter,
                  QStringLiteral("Fichier d'état (*.frp)|*.frp|Enregistrement|*.txt"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("depuis_dialogue.frp"))));
    fakes->dialogs.files = {dir.filePath(QStringLiteral("depuis_dialogue.frp"))};
    f.LoadBtnClick();
    ASSERT_EQ(fakes->dialogs.openRequests.size(), 1u);
    EXPECT_EQ(fakes->dialogs.openRequests[0].filter,
              QStringLiteral("Fichier d'état (*.frp)|*.frp"));
    expectOwned(3, "load from the dialog");
}

// The report file and an export get their extension after the dialog: a
// name typed without it still asks before replacing the file it lands on.
TEST_F(PreviewTest, SavingOverAnExistingFileAsksFirst)
{
    frObjects().frFilters.push_back(std::make_unique<FrRecordingExportFilter>());
    TfrPreviewForm &f = open();
    for (const char *name : {"Rapport.frp", "Rapport.txt"})
        writeFileBytes(dir.filePath(QLatin1String(name)), "à garder");
    const struct {
        const char *typed;
        int type; // 0: the one the dialog opened on
        int answer;
        const char *asked; // the file asked about
    } rows[] = {
        {"Rapport", 0, platform::mrNo, "Rapport.frp"},     // "Non", then the dialog cancelled
        {"Rapport.frp", 2, platform::mrNo, "Rapport.txt"}, // an export, asked the same way
        {"Rapport", 1, platform::mrYes, "Rapport.frp"},    // "Oui" replaces it with the pages
    };
    for (const auto &row : rows) {
        fakes->dialogs.messages.clear();
        fakes->dialogs.files = {dir.filePath(QLatin1String(row.typed))};
        if (row.type)
            fakes->dialogs.filterIndexes = {row.type};
        fakes->dialogs.answers = {row.answer};
        f.SaveBtnClick();
        EXPECT_EQ(fakes->dialogs.texts(),
                  QStringList{QStringLiteral("Le fichier %1 existe déjà\nVoulez-vous l'écraser ?")
                                  .arg(QLatin1String(row.asked))});
        const QByteArray now = readFileBytes(dir.filePath(QLatin1String(row.asked)));
        EXPECT_EQ(now == "à garder", row.answer == platform::mrNo) << row.asked;
        if (row.answer == platform::mrYes) {
            EXPECT_GT(now.size(), 100);
        }
    }
}

// "Modifier la page" with a designer registered: the designer gets the
// current prepared page; the change stays on that page when the user says
// yes, the template is untouched and the preview keeps every page.
TEST_F(PreviewTest, EditPageGoesThroughTheRegisteredDesigner)
{
    int shows = 0;
    frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<FrCountingDesigner>(mode);
        d->edit = [&](FrCountingDesigner &self) {
            ++shows;
            auto *p = dynamic_cast<TfrPage *>(self.Page);
            ASSERT_NE(p, nullptr);
            ASSERT_FALSE(p->Objects.empty());
            p->Objects.front()->Memo = QStringList{QStringLiteral("modifié")};
            self.modified = true;
        };
        return d;
    };
    TfrPreviewForm &f = open();
    const QString templateMemo =
        report->Pages().GetPage(0)->Objects.front()->Memo.join(QLatin1Char('|'));
    key(Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(f.CurPage, 2);
    const QString before = f.EMFPages()->Dump();
    for (int answer : {platform::mrNo, platform::mrYes}) {
        fakes->dialogs.answers.push_back(answer);
        f.EditPageClick();
        expectOwned(3, "edit");
        const QString dump = f.EMFPages()->Dump();
        const QStringList pages = dump.split(QStringLiteral("page "), Qt::SkipEmptyParts);
        ASSERT_EQ(pages.size(), 3);
        EXPECT_FALSE(pages[0].contains(QStringLiteral("modifié"))) << answer;
        EXPECT_EQ(pages[1].contains(QStringLiteral("modifié")), answer == platform::mrYes)
            << answer << pages[1].toStdString();
        if (answer == platform::mrNo) {
            EXPECT_EQ(dump, before);
        }
        ASSERT_EQ(report->Pages().Count(), 1);
        EXPECT_EQ(report->Pages().GetPage(0)->Objects.front()->Memo.join(QLatin1Char('|')),
                  templateMemo);
    }
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(frObjects().frCurrentDesigner, nullptr);

    // Without prepared pages that may change, the command does nothing.
    report->ModifyPrepared = false;
    f.EditPageClick();
    EXPECT_EQ(shows, 2);
}

} // namespace
} // namespace report::test
