// The window base class: activation model, closing, and the application's
// exception barrier.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "tests/support/gui/controls.h"
#include "tests/support/gui/fakes.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;
using vorn_test::settle;

namespace
{

class CountingForm : public TForm
{
public:
    explicit CountingForm(const QString &name) : TForm(name) { resize(200, 100); }
    int activations = 0;
    int deactivations = 0;
    QStringList *journal = nullptr;

protected:
    void FormActivate() override
    {
        ++activations;
        if (journal)
            journal->append(objectName() + QLatin1String(" on"));
    }
    void FormDeactivate() override
    {
        ++deactivations;
        if (journal)
            journal->append(objectName() + QLatin1String(" off"));
    }
};

// Closes the next modal message box by clicking the button with this text
// (Qt's own, possibly translated), or rejects it when text is empty.
void answerNextBox(const QString &buttonText, QString *seenText = nullptr,
                   QStringList *seenButtons = nullptr)
{
    QTimer::singleShot(30, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (seenText)
            *seenText = box->text();
        QAbstractButton *target = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            if (seenButtons)
                seenButtons->append(b->text());
            if (b->text() == buttonText)
                target = b;
        }
        if (target)
            target->click();
        else
            box->reject();
    });
}

class FormsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TForm::resetActivation();
        ResetTerminated();
        SetMainForm(nullptr);
    }
    void TearDown() override
    {
        settle();
        TForm::resetActivation();
        SetMainForm(nullptr);
        ResetTerminated();
    }
};

TEST_F(FormsTest, SwitchingBetweenOwnWindowsActivatesAndDeactivatesInOrder)
{
    QStringList journal;
    CountingForm a(QStringLiteral("A")), b(QStringLiteral("B"));
    a.journal = b.journal = &journal;

    a.Show();
    settle();
    ASSERT_EQ(TForm::activeForm(), &a) << "the offscreen platform did not activate the window";
    b.Show();
    settle();
    a.Show();
    settle();

    EXPECT_EQ(journal, (QStringList{"A on", "A off", "B on", "B off", "A on"}));
    EXPECT_EQ(TForm::activeForm(), &a);
    // Showing the active window again is not a new activation.
    a.Show();
    settle();
    EXPECT_EQ(a.activations, 2);
}

TEST_F(FormsTest, HidingDeactivatesAndTheNextWindowIsActivated)
{
    CountingForm a(QStringLiteral("A")), b(QStringLiteral("B"));
    a.Show();
    settle();
    b.Show();
    settle();
    ASSERT_EQ(TForm::activeForm(), &b);

    b.Hide();
    settle();
    EXPECT_EQ(b.deactivations, 1);
    EXPECT_NE(TForm::activeForm(), &b);
    // Whichever window the platform activates next gets its activation.
    a.activated();
    EXPECT_EQ(a.activations, 2);
    EXPECT_EQ(TForm::activeForm(), &a);
}

TEST_F(FormsTest, ReturningFromItsOwnMessageBoxIsNotAnActivation)
{
    auto previous = setDialogs(nullptr); // the real message boxes
    CountingForm a(QStringLiteral("A")), b(QStringLiteral("B"));
    a.Show();
    settle();
    b.Show();
    settle();
    ASSERT_EQ(b.activations, 1);

    answerNextBox(QString());
    MessageDlg(QStringLiteral("Une question ?"), mtConfirmation, mbYes | mbNo);
    settle(10);
    QTest::qWait(50);
    settle(5);

    EXPECT_EQ(std::tuple(b.activations, b.deactivations), std::tuple(1, 0));
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(TForm::activeForm(), &b);
    EXPECT_FALSE(b.isBusy());

    // A real switch still counts afterwards.
    a.Show();
    settle();
    EXPECT_EQ(a.activations, 2);
    EXPECT_EQ(b.deactivations, 1);
    setDialogs(std::move(previous));
}

TEST_F(FormsTest, OwnerIsBusyOnlyWhileItsDialogRuns)
{
    vorn_test::SeamFakes fakes;
    CountingForm a(QStringLiteral("A"));
    a.Show();
    settle();
    bool busyDuring = false;
    fakes.dialogs.onMessage = [&](const MessageRequest &) { busyDuring = a.isBusy(); };
    MessageDlg(QStringLiteral("x"), mtInformation, mbOK);
    EXPECT_TRUE(busyDuring);
    EXPECT_FALSE(a.isBusy());
}

// A message goes above the window it belongs to; while a modal window that
// window opened runs (a designer), above that one, so that the window it
// covers does not come up with the message.
TEST_F(FormsTest, AMessageGoesAboveTheModalWindowThatRuns)
{
    struct ParentSeen : vorn_test::ScriptedDialogs {
        QWidget *parent = nullptr;
        int message(const MessageRequest &request, QWidget *p) override
        {
            parent = p;
            return ScriptedDialogs::message(request, p);
        }
    };
    auto *seen = new ParentSeen;
    auto previous = setDialogs(std::unique_ptr<Dialogs>(seen));
    CountingForm a(QStringLiteral("A"));
    a.Show();
    settle();
    MessageDlg(QStringLiteral("x"), mtError, mbOK);
    EXPECT_EQ(seen->parent, &a);
    QDialog modal(&a);
    modal.setModal(true);
    modal.show();
    settle();
    bool busyDuring = false;
    seen->onMessage = [&](const MessageRequest &) { busyDuring = a.isBusy(); };
    MessageDlg(QStringLiteral("x"), mtError, mbOK);
    EXPECT_EQ(seen->parent, &modal);
    EXPECT_TRUE(busyDuring);
    modal.hide();
    setDialogs(std::move(previous));
}

TEST_F(FormsTest, ClosingAWindowHidesItAndClosingTheMainWindowEndsTheRun)
{
    CountingForm main(QStringLiteral("Main")), other(QStringLiteral("Other"));
    SetMainForm(&main);
    main.Show();
    other.Show();
    settle();

    other.close();
    settle();
    EXPECT_FALSE(other.isVisible());
    EXPECT_FALSE(Terminated());

    main.close();
    settle();
    EXPECT_TRUE(Terminated());
}

TEST_F(FormsTest, FirstWindowCreatedBecomesTheMainWindowAndCreationIsNumbered)
{
    CountingForm first(QStringLiteral("First")), second(QStringLiteral("Second"));
    EXPECT_EQ(MainForm(), &first);
    EXPECT_EQ(second.creationIndex(), first.creationIndex() + 1);
    EXPECT_EQ(first.objectName(), QStringLiteral("First"));
}

TEST_F(FormsTest, ExceptionInAHandlerShowsTheDefaultMessageAndTheProgramGoesOn)
{
    vorn_test::SeamFakes fakes;
    SetApplicationTitle(QStringLiteral("VORNisation en LUDmarre"));
    CountingForm form(QStringLiteral("F"));
    auto *button = new QPushButton(QStringLiteral("Go"), &form);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &form, handler([&] {
                         ++clicks;
                         StrToInt(QStringLiteral("abc"));
                         ++clicks; // never reached
                     }));
    form.Show();
    settle();

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    const MessageRequest &shown = fakes.dialogs.messages.front();
    EXPECT_EQ(shown.text, QStringLiteral("'abc' n'est pas une valeur entière correcte."));
    EXPECT_EQ(shown.type, mtError);
    EXPECT_EQ(shown.buttons, MsgDlgButtons(mbOK));
    EXPECT_EQ(shown.caption, QStringLiteral("VORNisation en LUDmarre"));

    // The loop goes on: timers fire and the button works again.
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    QTest::qWait(20);
    EXPECT_TRUE(timerRan);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(fakes.dialogs.messages.size(), 2u);
}

class ThrowingWidget : public QWidget
{
protected:
    void keyPressEvent(QKeyEvent *) override { throw EFileError(QStringLiteral("Disque plein")); }
};

TEST_F(FormsTest, ExceptionEscapingAnEventHandlerIsStoppedByTheApplication)
{
    vorn_test::SeamFakes fakes;
    ThrowingWidget widget;
    widget.show();
    QTest::keyClick(&widget, Qt::Key_A);
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages.front().text, QStringLiteral("Disque plein."));
    QTest::keyClick(&widget, Qt::Key_B);
    EXPECT_EQ(fakes.dialogs.messages.size(), 2u);
}

TEST_F(FormsTest, ExceptionInActivationIsShownAndTheWindowStillActivates)
{
    vorn_test::SeamFakes fakes;
    class Failing : public TForm
    {
    public:
        Failing() : TForm(QStringLiteral("Failing")) {}

    protected:
        void FormActivate() override { throw std::runtime_error("boom"); }
    } form;
    form.activated();
    EXPECT_EQ(TForm::activeForm(), &form);
    EXPECT_EQ(fakes.dialogs.texts(), QStringList{QStringLiteral("boom.")});
}

// An error stops at the program's own entry point from the event loop (a
// window's event handler, a queued call) and is shown as a command's is.
TEST_F(FormsTest, ErrorsStopWhereTheEventLoopEntersTheProgram)
{
    vorn_test::SeamFakes fakes;
    class Failing : public TForm
    {
    public:
        Failing() : TForm(QStringLiteral("Failing")) {}

    protected:
        void resizeEvent(QResizeEvent *) override
        {
            throw EFileError(QStringLiteral("Disque plein"));
        }
    } form;
    QObject context;
    const struct {
        const char *kind;
        QObject *target;
        std::function<void()> trigger;
    } cases[] = {
        {"event handler", &form,
         [&] {
             QResizeEvent resize(QSize(300, 200), QSize(200, 100));
             QCoreApplication::sendEvent(&form, &resize);
         }},
        {"queued call", &context,
         [&] { later(&context, [] { throw EFileError(QStringLiteral("Disque plein")); }); }},
    };
    for (const auto &c : cases) {
        fakes.dialogs.messages.clear();
        EXPECT_EQ(vorn_test::escapedFrom(c.target, c.trigger), 0) << c.kind;
        EXPECT_EQ(fakes.dialogs.texts(), QStringList{QStringLiteral("Disque plein.")}) << c.kind;
    }
}

TEST(ExceptionText, PeriodIsAddedUnlessTheTextEndsWithPunctuationAtOrBelowAPeriod)
{
    auto text = [](const QString &message) {
        return ExceptionText(std::make_exception_ptr(Exception(message)));
    };
    EXPECT_EQ(text(QStringLiteral("Fichier introuvable")), QStringLiteral("Fichier introuvable."));
    EXPECT_EQ(text(QStringLiteral("Déjà fini.")), QStringLiteral("Déjà fini."));
    EXPECT_EQ(text(QStringLiteral("Attention !")), QStringLiteral("Attention !"));
    EXPECT_EQ(text(QStringLiteral("Vraiment ?")), QStringLiteral("Vraiment ?."));
    EXPECT_EQ(text(QString()), QString());
    EXPECT_EQ(ExceptionText(std::make_exception_ptr(42)), QStringLiteral("Erreur inconnue."));
}

TEST(Guard, ReportsWhetherTheCallableThrew)
{
    vorn_test::SeamFakes fakes;
    EXPECT_TRUE(guard([] {}));
    EXPECT_FALSE(guard([] { throw EConvertError(QStringLiteral("x")); }));
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
}

} // namespace

// The test program runs with LC_ALL=C, as the machines do: the application
// object still speaks French to the user, and leaves the environment and the
// C library as they were.
TEST(FrenchLocale, WhateverTheSystemSays)
{
    EXPECT_EQ(qgetenv("LC_ALL"), QByteArray("C"));
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(QLocale().language(), QLocale::French);
    EXPECT_EQ(QLocale().territory(), QLocale::France);
    EXPECT_EQ(QLocale::system().language(), QLocale::French);

    // A date field's calendar: French month and day names.
    QDateEdit champ(QDate(2026, 12, 7));
    champ.setCalendarPopup(true);
    QCalendarWidget *calendrier = champ.calendarWidget();
    ASSERT_NE(calendrier, nullptr);
    calendrier->setSelectedDate(QDate(2026, 12, 7));
    auto *mois = calendrier->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(mois, nullptr);
    EXPECT_EQ(mois->text(), QStringLiteral("décembre"));
    auto *vue = calendrier->findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(vue, nullptr);
    QStringList jours;
    for (int c = 0; c < vue->model()->columnCount(); ++c)
        jours << vue->model()->data(vue->model()->index(0, c)).toString();
    EXPECT_TRUE(jours.contains(QStringLiteral("lun."))) << jours.join(u' ').toStdString();
    EXPECT_EQ(champ.text(), QStringLiteral("07/12/2026"));
    if (vorn_test::shotsRequested()) {
        calendrier->resize(calendrier->sizeHint());
        vorn_test::saveShot(calendrier, QStringLiteral("calendar.png"));
    }
}

// The file dialog's columns: sizes, dates and types in French.
TEST(FrenchLocale, FileDialogColumns)
{
    ASSERT_TRUE(InstallFrenchTranslations());
    QTemporaryDir dossier;
    ASSERT_TRUE(QDir(dossier.path()).mkdir(QStringLiteral("sous")));
    QFile fichier(dossier.filePath(QStringLiteral("a.txt")));
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(QByteArray(5000, 'x'));
    fichier.close();
    const QDateTime date(QDate(2026, 12, 7), QTime(9, 10));
    ASSERT_TRUE(fichier.open(QIODevice::ReadWrite));
    ASSERT_TRUE(fichier.setFileTime(date, QFileDevice::FileModificationTime));
    fichier.close();

    QFileDialog dialogue(nullptr, QStringLiteral("Ouvrir"), dossier.path());
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    auto *modele = dialogue.findChild<QFileSystemModel *>();
    ASSERT_NE(modele, nullptr);
    const QModelIndex racine = modele->index(dossier.path());
    QStringList lignes;
    for (int essai = 0; essai < 200 && lignes.size() < 2; ++essai) {
        QTest::qWait(10);
        lignes.clear();
        for (int r = 0; r < modele->rowCount(racine); ++r) {
            QStringList colonnes;
            for (int c = 0; c < 4; ++c)
                colonnes << modele->data(modele->index(r, c, racine)).toString();
            lignes << colonnes.join(u'|');
        }
    }
    lignes.sort();
    ASSERT_EQ(lignes.size(), 2);
    EXPECT_TRUE(lignes[0].startsWith(QStringLiteral("a.txt|4,88 Kio|"))) << lignes[0].toStdString();
    EXPECT_TRUE(lignes[0].endsWith(QStringLiteral("|07/12/2026 09:10"))) << lignes[0].toStdString();
    EXPECT_TRUE(lignes[1].startsWith(QStringLiteral("sous||Dossier|"))) << lignes[1].toStdString();
    if (vorn_test::shotsRequested()) {
        dialogue.setViewMode(QFileDialog::Detail);
        dialogue.resize(760, 420);
        dialogue.show();
        QTest::qWait(100);
        vorn_test::saveShot(&dialogue, QStringLiteral("file_dialog.png"));
    }
}

namespace
{

// A designed window: controls placed by hand, or laid out, as the
// program's windows are.
struct FenetreDessinee {
    std::unique_ptr<TForm> fenetre;
    QPushButton *premier = nullptr;
    QPushButton *dernier = nullptr; // at the designed window's far corner
    QLineEdit *cache = nullptr;     // explicitly hidden
};

FenetreDessinee fenetreDessinee(bool disposition, QSize taille, int largeurMinimale = 0)
{
    FenetreDessinee f;
    f.fenetre = std::make_unique<TForm>(QStringLiteral("Dessinee"));
    f.fenetre->resize(taille);
    f.premier = new QPushButton(QStringLiteral("Premier"), f.fenetre.get());
    f.premier->setObjectName(QStringLiteral("Premier"));
    f.dernier = new QPushButton(QStringLiteral("Quitter"), f.fenetre.get());
    f.dernier->setObjectName(QStringLiteral("Quitter"));
    f.cache = new QLineEdit(f.fenetre.get());
    f.cache->setObjectName(QStringLiteral("Cache"));
    f.cache->hide();
    if (largeurMinimale > 0)
        f.premier->setMinimumWidth(largeurMinimale);
    if (disposition) {
        auto *grille = new QGridLayout(f.fenetre.get());
        grille->addWidget(f.premier, 0, 0, Qt::AlignLeft | Qt::AlignTop);
        grille->addWidget(f.cache, 1, 1);
        grille->addWidget(f.dernier, 2, 2, Qt::AlignRight | Qt::AlignBottom);
    } else {
        f.premier->setGeometry(10, 10, 100, 26);
        f.cache->setGeometry(300, 300, 100, 24);
        f.dernier->setGeometry(taille.width() - 110, taille.height() - 36, 100, 26);
    }
    return f;
}

class ScreenArea
{
public:
    explicit ScreenArea(QRect area) { setAvailableScreenArea(area); }
    ~ScreenArea() { setAvailableScreenArea(QRect(0, 0, 4096, 4096)); }
};

} // namespace

// On a screen smaller than the designed window, every control stays
// reachable through a scroll area; on one large enough nothing changes.
TEST_F(FormsTest, WindowLargerThanTheScreenScrolls)
{
    const struct {
        bool disposition;
        QSize taille;
        QRect ecran;
        bool defile;
        int largeurMinimale = 0; // of a control: laid out, the window's own
    } cas[] = {
        {false, QSize(1280, 800), QRect(0, 0, 1024, 700), true},
        {true, QSize(1280, 800), QRect(0, 0, 1024, 700), true},
        {true, QSize(1280, 800), QRect(0, 0, 1024, 700), true, 1100}, // wider than the screen
        {false, QSize(900, 800), QRect(100, 50, 1024, 700), true},    // too high only
        {false, QSize(1280, 600), QRect(0, 0, 1024, 700), true},      // too wide only
        {false, QSize(1000, 660), QRect(0, 0, 1024, 700), false},     // fits, frame included
        {true, QSize(800, 500), QRect(0, 0, 1024, 700), false},
    };
    for (const auto &c : cas) {
        const ScreenArea zone(c.ecran);
        FenetreDessinee f = fenetreDessinee(c.disposition, c.taille, c.largeurMinimale);
        TForm *w = f.fenetre.get();
        w->Show();
        settle();
        const std::string nom =
            std::to_string(c.taille.width()) + "x" + std::to_string(c.taille.height()) +
            (c.disposition ? " laid out" : " placed") + " min " + std::to_string(c.largeurMinimale);
        ASSERT_EQ(w->scrollArea() != nullptr, c.defile) << nom;
        EXPECT_EQ(f.premier->window(), w);
        EXPECT_FALSE(f.cache->isVisible()) << nom;
        EXPECT_TRUE(f.premier->isVisible()) << nom;
        if (!c.defile) {
            EXPECT_EQ(w->size(), c.taille) << nom;
            EXPECT_EQ(f.dernier->parentWidget(), w) << nom;
            continue;
        }
        // Fitted to the area; the controls at their designed places.
        EXPECT_LE(w->frameGeometry().width(), c.ecran.width()) << nom;
        EXPECT_LE(w->frameGeometry().height(), c.ecran.height()) << nom;
        EXPECT_TRUE(c.ecran.contains(w->frameGeometry())) << nom;
        QWidget *page = w->scrollArea()->widget();
        EXPECT_EQ(page->size(), c.taille) << nom;
        if (!c.disposition) {
            EXPECT_EQ(f.dernier->geometry(),
                      QRect(c.taille.width() - 110, c.taille.height() - 36, 100, 26));
        }
        // The far button is reached by scrolling, and answers a click.
        w->scrollArea()->ensureWidgetVisible(f.dernier);
        settle();
        const QRect visible(f.dernier->mapTo(w, QPoint(0, 0)), f.dernier->size());
        EXPECT_TRUE(w->rect().contains(visible)) << nom;
        int clics = 0;
        QObject::connect(f.dernier, &QPushButton::clicked, [&] { ++clics; });
        QTest::mouseClick(f.dernier, Qt::LeftButton);
        EXPECT_EQ(clics, 1) << nom;
    }
}
