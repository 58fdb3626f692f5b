// The envelope template edited from the player record window through the
// real designer: opened by "Modification", a memo inserted, typed, moved,
// resized, previewed, undone, redone and saved; the saved template prepared
// as edited; closing unchanged and designing a missing template; then one
// prepared page of the envelope edited from its preview.
#include "designer/core/bandsources.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/editorform.h"
#include "manager/calendar.h"
#include "manager/fenetres.h"
#include "manager/vorn_edition.h"
#include "platform/canvas/textmeasurer.h"
#include "platform/dialogs/dialogs.h"
#include "report/core/frlibrary.h"
#include "report/data/frdictionary.h"
#include "report/io/fremfpages.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"
#include "report/ui/frpreview.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QDirIterator>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>

namespace designer_road
{

using designer::TfrDesignerForm;
using designer::TfrEditorForm;
using report::TfrMemoView;
using report::TfrPage;
using report::TfrView;

// The registered designer, seen from outside: the window's own modal result
// is kept, as the manager's command drops it. The window is the open
// designer while it runs, so that its parts find themselves.
class ResultKeepingDesigner : public report::TfrReportDesigner
{
public:
    ResultKeepingDesigner(std::unique_ptr<report::TfrReportDesigner> inner,
                          std::vector<int> &results)
        : TfrReportDesigner(inner->DesignMode), m_inner(std::move(inner)), m_results(results)
    {
    }
    bool IsModified() const override { return m_inner->IsModified(); }
    void SetModified(bool value) override { m_inner->SetModified(value); }
    void NotifyBeforeChange() override { m_inner->NotifyBeforeChange(); }
    void NotifyAfterChange() override { m_inner->NotifyAfterChange(); }
    void RepaintPage() override { m_inner->RepaintPage(); }
    void SelectByName(const QString &name) override { m_inner->SelectByName(name); }
    QString PickDataField() override { return m_inner->PickDataField(); }
    QString PickExpression() override { return m_inner->PickExpression(); }
    void TemplateAboutToRebuild() override { m_inner->TemplateAboutToRebuild(); }
    void TemplateRebuilt() override { m_inner->TemplateRebuilt(); }
    int ShowModal() override
    {
        report::FrObjectGlobals &g = report::frObjects();
        m_inner->Page = Page;
        g.frCurrentDesigner = m_inner.get();
        const int result = m_inner->ShowModal();
        g.frCurrentDesigner = this;
        m_results.push_back(result);
        return result;
    }

private:
    std::unique_ptr<report::TfrReportDesigner> m_inner;
    std::vector<int> &m_results;
};

// The player window, counting its activations.
class CountedWindow : public TVorn_FEdition
{
public:
    int activations = 0;

protected:
    void FormActivate() override
    {
        ++activations;
        TVorn_FEdition::FormActivate();
    }
};

// Closes whatever modal window a step left open and fails the test, so that
// a broken step ends the run instead of hanging it.
class Watchdog
{
public:
    Watchdog()
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(120000);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            fired = true;
            ADD_FAILURE() << "a modal window was left open";
            for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i)
                QApplication::activeModalWidget()->close();
            m_timer.start(1000);
        });
        m_timer.start();
    }
    bool fired = false;

private:
    QTimer m_timer;
};

void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button,
           Qt::MouseButtons buttons)
{
    QMouseEvent e(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void drag(QWidget *w, QPoint from, QPoint to)
{
    mouse(w, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}
void click(QWidget *w, QPoint p)
{
    mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
void doubleClick(QWidget *w, QPoint p)
{
    click(w, p);
    mouse(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
QRect geometry(const TfrView *v)
{
    return QRect(v->x, v->y, v->dx, v->dy);
}
void key(TfrDesignerForm &f, Qt::Key k)
{
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    QTest::keyClick(&f, k, Qt::ControlModifier);
}

// Runs body in the modal window of type W shown next (the call that shows
// it blocks until it closes; some work may come first, so the window is
// waited for); the window is closed after body if still open.
template <class W> void whenShown(bool &ran, std::function<void(W &)> body, int tries = 3000)
{
    QTimer::singleShot(10, [&ran, body, tries] {
        auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
        if (!w) {
            if (tries > 0)
                whenShown<W>(ran, body, tries - 1);
            else
                ADD_FAILURE() << "the expected window was not shown";
            return;
        }
        ran = true;
        body(*w);
        if (w->isVisible())
            w->close();
    });
}

class DesignerRoad : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        report::fr().resetForTests();
        report::fr().start();
        report::frInstallPreview();
        // The designer as the program registers it, its result kept.
        designer::frRegisterDesigner();
        report::TfrDesignerClass real = report::frObjects().frDesignerClass;
        report::frObjects().frDesignerClass = [this, real](int mode) {
            return std::make_unique<ResultKeepingDesigner>(real(mode), results);
        };
        SaisonEnCours = "2024";
        writeLines("2024/Joueur.DBP", {vorn_test::ligneJoueur({{0, "0123456"},
                                                               {1, "M."},
                                                               {2, "DUPONT"},
                                                               {3, "Jean"},
                                                               {6, "12 rue de l'Église"},
                                                               {9, "69001"},
                                                               {10, "LYON"}})});
        ASSERT_TRUE(QFile::copy(vorn_test::modeleLivre("Enveloppes.frf"), path("Enveloppes.frf")));
        shipped = readBytes("Enveloppes.frf");
        w = std::make_unique<CountedWindow>();
        w->show();
        w->activated();
    }
    void TearDown() override
    {
        w.reset();
        report::fr().resetForTests();
        ProgramFolderTest::TearDown();
    }
    static TfrDesignerForm *current()
    {
        return dynamic_cast<TfrDesignerForm *>(report::frObjects().frCurrentDesigner);
    }
    // Clicks "Modification" and runs body in the designer it opens; the
    // designer's modal result.
    int modification(const std::function<void(TfrDesignerForm &)> &body)
    {
        const size_t before = results.size();
        bool ran = false;
        QTimer::singleShot(0, [&] {
            TfrDesignerForm *f = current();
            if (!f) {
                ADD_FAILURE() << "the designer was not shown";
                return;
            }
            ran = true;
            body(*f);
            if (f->isVisible())
                f->ExitBClick();
        });
        w->Button2->click();
        EXPECT_TRUE(ran);
        if (results.size() != before + 1)
            return -1;
        return results.back();
    }
    // Every file of the program folder with its bytes.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> out;
        QDirIterator it(repAppli(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString p = it.next();
            QFile f(p);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p.toStdString();
            out[p] = f.readAll();
        }
        return out;
    }
    // The template at that path prepared headless, the name alone answered.
    static QString prepared(const QString &file)
    {
        platform::FixedAdvanceMeasurer measurer{7, 4};
        report::frObjects().setMeasurer(&measurer);
        report::TfrReport r;
        r.ShowProgress = false;
        EXPECT_TRUE(r.LoadFromFile(file));
        r.OnGetValue = [](const QString &name, report::FrVariant &value) {
            value = name == QLatin1String("Nom") ? QStringLiteral("M. DUPONT Jean") : QString();
        };
        EXPECT_TRUE(r.PrepareReport());
        const QString dump = r.EMFPages().Dump();
        report::frObjects().setMeasurer(nullptr);
        return dump;
    }

    Watchdog watchdog;
    std::vector<int> results;
    QByteArray shipped;
    std::unique_ptr<CountedWindow> w;
};

TEST_F(DesignerRoad, ModificationEditsSavesAndThePreparedReportFollows)
{
    ASSERT_EQ(w->activations, 1);
    QRect inserted, final;
    QString memoName;
    int previews = 0, editors = 0;
    const int result = modification([&](TfrDesignerForm &f) {
        EXPECT_EQ(f.DesignMode, 1);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Enveloppes.frf"));
        EXPECT_EQ(f.Tab1->currentIndex(), 0);
        TfrPage *page = w->frReport1->Pages().GetPage(0);
        ASSERT_NE(page, nullptr);
        const int objects = page->ObjectCount();
        int bottom = 0;
        for (const auto &v : page->Objects) {
            EXPECT_FALSE(v->Selected) << v->Name.toStdString();
            bottom = std::max(bottom, v->y + v->dy);
        }
        EXPECT_EQ(f.state().SelectedCount, 0);
        EXPECT_TRUE(f.button(QStringLiteral("OB1"))->Down());

        // The memo tool, then a click under the band, where nothing lies.
        QTest::mouseClick(f.button(QStringLiteral("OB2")), Qt::LeftButton);
        bool typed = false;
        whenShown<TfrEditorForm>(typed, [&](TfrEditorForm &e) {
            ++editors;
            e.M1->setFocus();
            QTest::keyClicks(e.M1, QStringLiteral("[Nom]"));
            QTest::keyClick(e.M1, Qt::Key_Return, Qt::ControlModifier);
        });
        const QPoint at(page->LeftMarginPos() + 41, bottom + 21);
        click(f.PageView, at);
        EXPECT_TRUE(typed) << "the memo editor did not open after the insertion";
        ASSERT_EQ(page->ObjectCount(), objects + 1);
        auto *m = dynamic_cast<TfrMemoView *>(page->Objects.back().get());
        ASSERT_NE(m, nullptr);
        memoName = m->Name;
        EXPECT_TRUE(m->Selected);
        EXPECT_EQ(m->Memo, QStringList{QStringLiteral("[Nom]")});
        EXPECT_EQ(std::tuple(m->Font.Name, m->Font.Size), std::tuple(QStringLiteral("Arial"), 10));
        inserted = geometry(m);
        EXPECT_EQ(inserted.size(), QSize(96, 18));
        EXPECT_LE(std::abs(inserted.x() - at.x()), 4);
        EXPECT_LE(std::abs(inserted.y() - at.y()), 4);
        // The preview makes the template's objects anew: found by name.
        auto memoNow = [&] {
            TfrPage *p = w->frReport1->Pages().GetPage(0);
            const TfrView *v = p ? p->FindObject(memoName) : nullptr;
            return v ? geometry(v) : QRect();
        };

        // Moved by (16, 8), then its bottom right handle by (24, 4).
        drag(f.PageView, inserted.center(), inserted.center() + QPoint(16, 8));
        EXPECT_EQ(memoNow(), inserted.translated(16, 8));
        const QPoint corner = inserted.translated(16, 8).bottomRight() + QPoint(1, 1);
        drag(f.PageView, corner, corner + QPoint(24, 4));
        final = inserted.translated(16, 8).adjusted(0, 0, 24, 4);
        EXPECT_EQ(memoNow(), final);

        // A preview of the edited report, closed by a timer.
        bool previewed = false;
        whenShown<report::TfrPreviewForm>(previewed, [&](report::TfrPreviewForm &p) {
            ++previews;
            EXPECT_GE(p.PageCount(), 1);
        });
        QTest::mouseClick(f.button(QStringLiteral("FileBtn4")), Qt::LeftButton);
        EXPECT_TRUE(previewed);

        key(f, Qt::Key_Z);
        key(f, Qt::Key_Z);
        EXPECT_EQ(memoNow(), inserted);
        key(f, Qt::Key_Y);
        key(f, Qt::Key_Y);
        EXPECT_EQ(memoNow(), final);
        page = w->frReport1->Pages().GetPage(0);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->ObjectCount(), objects + 1);

        if (vorn_test::shotsRequested()) {
            // Selected as a user would by the inspector's list: handles drawn.
            f.SelectByName(memoName);
            if (f.state().Requests.inspectorShow)
                f.state().Requests.inspectorShow();
            QApplication::processEvents();
            // The inspector floats in a window of its own: drawn beside the
            // designer, as it stands on a desktop.
            QWidget *inspector = nullptr;
            for (QWidget *t : QApplication::topLevelWidgets())
                if (t != &f && t->isVisible() &&
                    (t->objectName() == QLatin1String("frInspForm") ||
                     t->findChild<QWidget *>(QStringLiteral("frInspForm"))))
                    inspector = t;
            ASSERT_NE(inspector, nullptr) << "the inspector is not shown";
            const QPixmap designer = f.grab(), panel = inspector->grab();
            QImage shot(designer.width() + panel.width() + 8,
                        std::max(designer.height(), panel.height()), QImage::Format_RGB32);
            shot.fill(Qt::darkGray);
            {
                QPainter painter(&shot);
                painter.drawPixmap(0, 0, designer);
                painter.drawPixmap(designer.width() + 8, 0, panel);
            }
            EXPECT_FALSE(vorn_test::saveShot(shot, "e2e_designer.png").isEmpty());
        }

        EXPECT_TRUE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        key(f, Qt::Key_S);
        EXPECT_FALSE(f.button(QStringLiteral("FileBtn3"))->isEnabled());
        EXPECT_NE(readBytes("Enveloppes.frf"), shipped);
        QTest::mouseClick(f.button(QStringLiteral("ExitB")), Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(editors, 1);
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    QApplication::processEvents();
    w->activated(); // the focus comes back from the designer
    EXPECT_EQ(w->activations, 1) << "coming back from the designer is no activation";

    // The saved file holds the memo as it was left.
    report::TfrReport saved;
    ASSERT_TRUE(saved.LoadFromFile(path("Enveloppes.frf")));
    TfrPage *page = saved.Pages().GetPage(0);
    ASSERT_NE(page, nullptr);
    const TfrView *v = page->FindObject(memoName);
    ASSERT_NE(v, nullptr) << memoName.toStdString();
    EXPECT_EQ(geometry(v), final);
    ASSERT_NE(dynamic_cast<const TfrMemoView *>(v), nullptr);
    EXPECT_EQ(static_cast<const TfrMemoView *>(v)->Memo, QStringList{QStringLiteral("[Nom]")});

    // Prepared as edited: the shipped envelope plus exactly that memo.
    const QString dump = prepared(path("Enveloppes.frf"));
    EXPECT_EQ(dump.toUtf8(), vorn_test::golden("calendars/enveloppe_modifiee.txt", dump.toUtf8()));
    writeBytes("livre.frf", shipped);
    const QString before = prepared(path("livre.frf"));
    QStringList added = dump.split('\n'), removed = before.split('\n');
    for (const QString &line : before.split('\n'))
        if (added.removeOne(line))
            removed.removeOne(line);
    EXPECT_TRUE(removed.isEmpty()) << removed.join('\n').toStdString();
    ASSERT_FALSE(added.isEmpty());
    for (const QString &line : added)
        EXPECT_TRUE(line.contains(memoName) || line.contains(QStringLiteral("M. DUPONT Jean")))
            << line.toStdString();
    EXPECT_TRUE(added.join('\n').contains(memoName));
    QFile::remove(path("livre.frf"));

    // Opened again and closed by its close box unchanged: cancelled, nothing asked.
    const QByteArray edited = readBytes("Enveloppes.frf");
    EXPECT_EQ(modification([&](TfrDesignerForm &f) { f.close(); }), 2);
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    EXPECT_EQ(readBytes("Enveloppes.frf"), edited);

    // A missing template is designed on an empty page and saved under its name.
    ASSERT_TRUE(QFile::remove(path("Enveloppes.frf")));
    const QMap<QString, QByteArray> others = files();
    modification([&](TfrDesignerForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Editeur - Enveloppes.frf"));
        ASSERT_EQ(w->frReport1->Pages().Count(), 1);
        EXPECT_EQ(w->frReport1->Pages().GetPage(0)->ObjectCount(), 0);
        key(f, Qt::Key_S);
    });
    QMap<QString, QByteArray> now = files();
    ASSERT_TRUE(now.contains(path("Enveloppes.frf")));
    now.remove(path("Enveloppes.frf"));
    EXPECT_EQ(now, others);
    report::TfrReport vide;
    ASSERT_TRUE(vide.LoadFromFile(path("Enveloppes.frf")));
    EXPECT_EQ(vide.Pages().Count(), 1);
    EXPECT_FALSE(watchdog.fired);
}

TEST_F(DesignerRoad, PreparedPageEditedFromThePreviewKeepsTheTemplate)
{
    bool previewed = false, designed = false, typed = false;
    QString dumpBefore, dumpAfter, nameDuringEdit;
    dialogs().answers.push_back(platform::mrYes);
    whenShown<report::TfrPreviewForm>(previewed, [&](report::TfrPreviewForm &p) {
        ASSERT_NE(p.EMFPages(), nullptr);
        dumpBefore = p.EMFPages()->Dump();
        nameDuringEdit = w->frReport1->FileName;
        QTimer::singleShot(0, [&] {
            TfrDesignerForm *f = current();
            if (!f) {
                ADD_FAILURE() << "the prepared page editor was not shown";
                return;
            }
            designed = true;
            EXPECT_EQ(f->DesignMode, 0);
            EXPECT_EQ(f->windowTitle(), QStringLiteral("Editeur - Sans_nom"));
            for (const char *name :
                 {"FileBtn1", "FileBtn2", "FileBtn4", "OB3", "OB5", "PgB1", "PgB2"})
                EXPECT_FALSE(f->button(QString::fromLatin1(name))->isEnabled()) << name;
            TfrPage *page = w->frReport1->Pages().GetPage(0);
            ASSERT_NE(page, nullptr);
            TfrMemoView *memo = nullptr;
            for (const auto &v : page->Objects)
                if (auto *m = dynamic_cast<TfrMemoView *>(v.get());
                    m && m->Memo.join('\n').contains(QStringLiteral("DUPONT")))
                    memo = m;
            ASSERT_NE(memo, nullptr);
            whenShown<TfrEditorForm>(typed, [&](TfrEditorForm &e) {
                e.M1->setPlainText(QStringLiteral("Mme DURAND Anne"));
                QTest::keyClick(e.M1, Qt::Key_Return, Qt::ControlModifier);
            });
            doubleClick(f->PageView, geometry(memo).center());
            EXPECT_TRUE(typed) << "the memo editor did not open";
            EXPECT_EQ(memo->Memo, QStringList{QStringLiteral("Mme DURAND Anne")});
            EXPECT_TRUE(f->IsModified());
            f->ExitBClick();
        });
        p.EditPageClick();
        dumpAfter = p.EMFPages()->Dump();
    });
    w->Button1->click();
    EXPECT_TRUE(previewed);
    EXPECT_TRUE(designed);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, QStringLiteral("Enregistrer les changements?"));
    EXPECT_NE(dumpAfter, dumpBefore);
    EXPECT_TRUE(dumpAfter.contains(QStringLiteral("Mme DURAND Anne")));
    EXPECT_FALSE(dumpAfter.contains(QStringLiteral("DUPONT")));
    EXPECT_EQ(readBytes("Enveloppes.frf"), shipped);
    EXPECT_EQ(w->frReport1->FileName, nameDuringEdit);
    EXPECT_FALSE(nameDuringEdit.isEmpty());
    EXPECT_FALSE(watchdog.fired);
}

// The band dialog of the designer offers the record sources of the program's
// windows: a band of the calendar template keeps its window's source through
// the dialog's OK, instead of losing it to "[Aucun]", and the sources of the
// other windows are offered under their window's name.
TEST_F(DesignerRoad, BandDialogOffersTheRecordSourcesOfTheProgramsWindows)
{
    writeLines("Vorn_Lud.ini", {"[MiseAjour]", "NoValide=1", "Date=10/03/2024"});
    clock().current = platform::EncodeDate(2024, 3, 16) + 0.5;
    const std::unique_ptr<Fenetres> fenetres = creerFenetres();
    Vorn_FCalendar->frReport1->makeCurrent();
    report::TfrDataDictionary &dictionary = Vorn_FCalendar->frReport1->Dictionary();
    const QStringList items = designer::bandSourceItems(dictionary);
    for (const char *source : {"frUserDataset1", "frUserDataset2"}) {
        const QString name = QString::fromLatin1(source);
        const designer::BandSourceChoice choice =
            designer::classifyBandSource(name, items, dictionary);
        EXPECT_GE(choice.item, 2) << source << " not offered among "
                                  << items.join('|').toStdString();
        EXPECT_EQ(designer::bandSourceText(choice, items, dictionary), name);
    }
    EXPECT_TRUE(items.contains(QStringLiteral("Vorn_FChallenge.frUserDataset1")))
        << items.join('|').toStdString();
}

} // namespace designer_road
