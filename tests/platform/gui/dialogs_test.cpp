// The dialog seam: message boxes with French buttons and answers, file and
// folder dialogs, filters in the "Description|pattern" form.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "tests/support/gui/controls.h"
#include "tests/support/gui/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

// Runs with the real Qt dialogs; restores the previous ones afterwards.
class QtDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static const bool french = InstallFrenchTranslations();
        m_french = french;
        m_previous = setDialogs(nullptr);
    }
    void TearDown() override { setDialogs(std::move(m_previous)); }

    // On the next modal box: record its texts, then click the button whose
    // text is clickText (reject when none matches).
    void onNextBox(const QString &clickText)
    {
        QTimer::singleShot(20, [this, clickText] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_text = box->text();
            m_caption = box->windowTitle();
            m_icon = box->icon();
            QAbstractButton *target = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                m_buttons.append(b->text());
                if (b->text() == clickText)
                    target = b;
            }
            if (target)
                target->click();
            else
                box->reject();
        });
    }

    bool m_french = false;
    QString m_text, m_caption;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QStringList m_buttons;

private:
    std::unique_ptr<Dialogs> m_previous;
};

TEST_F(QtDialogsTest, ConfirmationHasFrenchYesNoAndReturnsTheAnswer)
{
    ASSERT_TRUE(m_french) << "qtbase_fr translation missing (qt6-translations-l10n)";
    onNextBox(QStringLiteral("&Non"));
    const int answer = MessageDlg(QStringLiteral("Importer ?"), mtConfirmation, mbYes | mbNo);
    EXPECT_EQ(answer, mrNo);
    EXPECT_EQ(m_caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(m_icon, QMessageBox::Question);
    EXPECT_TRUE(m_buttons.contains(QStringLiteral("&Oui"))) << m_buttons.join(',').toStdString();
    EXPECT_TRUE(m_buttons.contains(QStringLiteral("&Non")));

    onNextBox(QStringLiteral("&Oui"));
    EXPECT_EQ(MessageDlg(QStringLiteral("Importer ?"), mtConfirmation, mbYes | mbNo), mrYes);
}

TEST_F(QtDialogsTest, CarriageReturnsBecomeLineBreaksAndClosingGivesTheCancelAnswer)
{
    onNextBox(QString());
    const int answer = MessageDlg(QStringLiteral("Ligne 1\r\rLigne 3"), mtWarning, mbYes);
    EXPECT_EQ(m_text, QStringLiteral("Ligne 1\n\nLigne 3"));
    EXPECT_EQ(m_caption, QStringLiteral("Avertissement"));
    EXPECT_EQ(m_icon, QMessageBox::Warning);
    // A box without Cancel, No or OK closed by Escape answers Cancel.
    EXPECT_EQ(answer, mrCancel);

    onNextBox(QString());
    EXPECT_EQ(MessageDlg(QStringLiteral("?"), mtConfirmation, mbYes | mbNo | mbCancel), mrCancel);
    onNextBox(QString());
    EXPECT_EQ(MessageDlg(QStringLiteral("?"), mtConfirmation, mbYes | mbNo), mrNo);
}

QAbstractButton *buttonNamed(QWidget *box, const QString &text)
{
    for (QAbstractButton *b : box->findChildren<QAbstractButton *>())
        if (b->text().remove(QLatin1Char('&')) == text)
            return b;
    return nullptr;
}

// A box with a button of the caller's own: that button, Escape and the close
// button answer it; the box's own "Annuler" stays an answer of its own.
TEST_F(QtDialogsTest, CallersOwnButtonIsPressedByEscapeAndTheCloseButton)
{
    const QString stop = QStringLiteral("Arrêter");
    const struct {
        bool input;
        const char *press; // a button's text without "&", or a key or the close button
        int answer;        // input: 1 text, 2 cancelled
    } rows[] = {
        {false, "Arrêter", mrExtra},  {false, "Escape", mrExtra}, {false, "close", mrExtra},
        {false, "Annuler", mrCancel}, {true, "Arrêter", mrExtra}, {true, "Escape", mrExtra},
        {true, "close", mrExtra},     {true, "Annuler", 2},       {true, "OK", 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.input << ' ' << row.press);
        const QString press = QString::fromUtf8(row.press);
        QTimer::singleShot(20, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box)
                return;
            if (press == QLatin1String("Escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (press == QLatin1String("close"))
                box->close();
            else if (QAbstractButton *b = buttonNamed(box, press))
                b->click();
            else
                box->close(); // no such button: the box goes all the same
        });
        int answer = 0;
        if (row.input) {
            const InputBoxAnswer typed = InputBoxWithExtra(
                {QString(), QStringLiteral("Nom ?"), QStringLiteral("Dupont"), stop});
            answer = typed.extra ? int(mrExtra) : typed.text ? 1 : 2;
            EXPECT_EQ(typed.text.value_or(QStringLiteral("Dupont")), QStringLiteral("Dupont"));
        } else {
            MessageRequest request{QStringLiteral("Encore ?"), mtCustom, mbOKCancel, QString()};
            request.extraButton = stop;
            answer = MessageDlgWithExtra(request);
        }
        EXPECT_EQ(answer, row.answer);
    }
}

TEST_F(QtDialogsTest, PlainMessageAndErrorCarryTheirCaptions)
{
    SetApplicationTitle(QStringLiteral("VORNisation en LUDmarre"));
    onNextBox(QStringLiteral("OK"));
    ShowMessage(QStringLiteral("Bonjour"));
    EXPECT_EQ(m_caption, QStringLiteral("VORNisation en LUDmarre"));
    EXPECT_EQ(m_icon, QMessageBox::NoIcon);
    m_buttons.clear();
    onNextBox(QStringLiteral("OK"));
    EXPECT_EQ(MessageDlg(QStringLiteral("x"), mtError, mbOK), mrOk);
    EXPECT_EQ(m_caption, QStringLiteral("Erreur"));
    EXPECT_EQ(m_buttons.size(), 1);
}

// The open dialog shows its title and starting folder, and each file type
// its description and its patterns once; it filters with the patterns of the
// type chosen, which comes back. A cancelled dialog keeps the name.
TEST_F(QtDialogsTest, OpenDialogShowsTitleFolderAndEachFileTypeOnce)
{
    QTemporaryDir dir;
    const struct {
        const char *filter;
        QStringList shown, patterns; // patterns: those of the type chosen
        int index = 1;
        bool cancel = false;
    } rows[] = {
        {"Fichier Licencieés (Joueur.DBP)|Joueur.DBP",
         {"Fichier Licencieés (Joueur.DBP)"},
         {"Joueur.DBP"},
         1,
         true},
        {"inscrit du groupe(*.Qug) ou de la compétition (*.Quc)|*.Qug;*.Quc",
         {"inscrit du groupe(*.Qug) ou de la compétition (*.Quc)"},
         {"*.Qug", "*.Quc"}},
        {"inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac",
         {"inscrit du groupe(*.Pag) ou de la compétition (*.Pac)"},
         {"*.Pag", "*.Pac"}},
        {"Ventilation PP et PE (*.)|*.PPE*", {"Ventilation PP et PE (*.)"}, {"*.PPE*"}},
        {"Fichier EASI PP et PE (*.)|*.csv*", {"Fichier EASI PP et PE (*.)"}, {"*.csv*"}},
        {"Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html",
         {"Enregister sous (FFB - Espace Licencié.htm)"},
         {"*.htm", "*.html"}},
        {"Texte (*.txt)|*.txt|Tous|*.*|A et B (*.a *.b)| *.a ; *.b|Etat|*.frf",
         {"Texte (*.txt)", "Tous (*.*)", "A et B (*.a *.b)", "Etat (*.frf)"},
         {"*.a", "*.b"},
         3},
    };
    for (const auto &row : rows) {
        QString title, folder;
        QStringList shown, patterns;
        QTimer::singleShot(50, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            folder = dialog->directory().absolutePath();
            if (const auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < types->count(); ++i)
                    shown.append(types->itemText(i));
            if (const auto *model = dialog->findChild<QFileSystemModel *>())
                patterns = model->nameFilters();
            static_cast<QDialog *>(dialog)->done(row.cancel ? QDialog::Rejected
                                                            : QDialog::Accepted);
        });
        TOpenDialog open;
        open.Title = QStringLiteral("Recherche fichier licenciés");
        open.Filter = QString::fromUtf8(row.filter);
        open.FilterIndex = row.index;
        open.InitialDir = dir.path();
        open.FileName = QString::fromLatin1(row.cancel ? "Joueur.DBP" : "x.txt");
        EXPECT_EQ(open.Execute(), !row.cancel) << row.filter;
        EXPECT_EQ(title, QStringLiteral("Recherche fichier licenciés"));
        EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
        EXPECT_EQ(shown.join(u'\n').toStdString(), row.shown.join(u'\n').toStdString());
        EXPECT_EQ(patterns.join(u' ').toStdString(), row.patterns.join(u' ').toStdString());
        EXPECT_EQ(open.FilterIndex, row.index) << row.filter;
        if (row.cancel) {
            EXPECT_EQ(open.FileName, QStringLiteral("Joueur.DBP")) << "a cancelled dialog keeps it";
        }
    }
}

TEST(Filters, DescriptionPatternPairsBecomeQtFilters)
{
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
    // A description without its pattern is dropped rather than invented.
    EXPECT_EQ(qtNameFilters(QStringLiteral("A|*.a|B")).size(), 1);

    EXPECT_EQ(filterPatterns(QStringLiteral("X|*.Qug;*.Quc|Y|*.y"), 1),
              (QStringList{QStringLiteral("*.Qug"), QStringLiteral("*.Quc")}));
    EXPECT_EQ(filterPatterns(QStringLiteral("X|*.x|Y|*.y"), 2), QStringList{QStringLiteral("*.y")});
    EXPECT_TRUE(filterPatterns(QStringLiteral("X|*.x"), 2).isEmpty());
    EXPECT_TRUE(filterPatterns(QStringLiteral("X|*.x"), 0).isEmpty());
}

TEST(ScriptedDialogs, FileComponentsPassTheirFieldsAndTakeTheAnswer)
{
    vorn_test::SeamFakes fakes;
    fakes.dialogs.files.push_back(QStringLiteral("/tmp/a/Joueur.DBP"));
    fakes.dialogs.files.push_back(std::nullopt);

    TOpenDialog open;
    open.Title = QStringLiteral("T");
    open.Filter = QStringLiteral("F|*.f");
    open.InitialDir = QStringLiteral("/tmp/a");
    open.FileName = QStringLiteral("x.f");
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, QStringLiteral("/tmp/a/Joueur.DBP"));
    ASSERT_EQ(fakes.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(fakes.dialogs.openRequests[0].title, QStringLiteral("T"));
    EXPECT_EQ(fakes.dialogs.openRequests[0].filter, QStringLiteral("F|*.f"));
    EXPECT_EQ(fakes.dialogs.openRequests[0].initialDir, QStringLiteral("/tmp/a"));
    EXPECT_EQ(fakes.dialogs.openRequests[0].fileName, QStringLiteral("x.f"));

    TSaveDialog save;
    save.OverwritePrompt = true;
    save.FileName = QStringLiteral("keep");
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName, QStringLiteral("keep"));
    EXPECT_EQ(fakes.dialogs.saveRequests.at(0).fileName, QStringLiteral("keep"));

    QString folder = QStringLiteral("unchanged");
    EXPECT_FALSE(SelectDirectory(QStringLiteral("Ouvrir un projet"), QStringLiteral("/r"), folder));
    EXPECT_EQ(folder, QStringLiteral("unchanged"));
    fakes.dialogs.folders.push_back(QStringLiteral("/r/2020"));
    EXPECT_TRUE(SelectDirectory(QStringLiteral("Ouvrir un projet"), QStringLiteral("/r"), folder));
    EXPECT_EQ(folder, QStringLiteral("/r/2020"));
    EXPECT_EQ(fakes.dialogs.folderRequests.at(1).caption, QStringLiteral("Ouvrir un projet"));
}

// Replacing a file is asked first, with the platform's French question;
// "Non" goes back to the dialog on the chosen name; the file the window has
// open, or a save without the option, asks nothing.
TEST(ScriptedDialogs, SaveAsksBeforeReplacingAFileOtherThanTheOpenOne)
{
    QTemporaryDir dir;
    const auto chemin = [&dir](const char *nom) { return dir.filePath(QString::fromLatin1(nom)); };
    for (const char *nom : {"Open1.Chr", "Inscrits.Qug"}) {
        QFile f(chemin(nom));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    vorn_test::SeamFakes fakes;

    TSaveDialog save;
    save.Title = QStringLiteral("Sauvegarde résultat d'une épreuve ");
    save.OverwritePrompt = true;
    fakes.dialogs.files = {chemin("Open1.Chr"), chemin("Open2.Chr")};
    fakes.dialogs.answers = {mrNo};
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, chemin("Open2.Chr"));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].text,
              QStringLiteral("Le fichier Open1.Chr existe déjà\nVoulez-vous l'écraser ?"));
    EXPECT_EQ(fakes.dialogs.messages[0].type, mtWarning);
    EXPECT_EQ(fakes.dialogs.messages[0].buttons, MsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(fakes.dialogs.messages[0].caption, save.Title);
    EXPECT_EQ(fakes.dialogs.messages[0].defaultButton, MsgDlgButtons(mbNo));
    ASSERT_EQ(fakes.dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(fakes.dialogs.saveRequests[1].fileName, chemin("Open1.Chr"));

    // The name typed in another letter case is the same file once written.
    fakes.dialogs.messages.clear();
    fakes.dialogs.files = {chemin("open1.chr")};
    fakes.dialogs.answers = {mrYes};
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(
        fakes.dialogs.texts(),
        QStringList{QStringLiteral("Le fichier Open1.Chr existe déjà\nVoulez-vous l'écraser ?")});

    // "Non" then cancel: nothing chosen.
    fakes.dialogs.messages.clear();
    save.FileName = QStringLiteral("avant");
    fakes.dialogs.files = {chemin("Open1.Chr")};
    fakes.dialogs.answers = {mrNo};
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName, QStringLiteral("avant"));

    // The window's own file: no question; another existing one: asked.
    TSaveDialog inscrits;
    inscrits.OverwritePrompt = true;
    inscrits.CurrentFile = chemin("Inscrits.Qug");
    fakes.dialogs.messages.clear();
    fakes.dialogs.files = {chemin("Inscrits.Qug")};
    ASSERT_TRUE(inscrits.Execute());
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    fakes.dialogs.files = {chemin("Open1.Chr")};
    fakes.dialogs.answers = {mrYes};
    ASSERT_TRUE(inscrits.Execute());
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);

    // Without the option, as before.
    TSaveDialog libre;
    fakes.dialogs.messages.clear();
    fakes.dialogs.files = {chemin("Open1.Chr")};
    ASSERT_TRUE(libre.Execute());
    EXPECT_TRUE(fakes.dialogs.messages.empty());
}

TEST_F(QtDialogsTest, EnterPressesTheDefaultButtonAskedFor)
{
    ASSERT_TRUE(m_french) << "qtbase_fr translation missing (qt6-translations-l10n)";
    QString pressed;
    const auto pressEnter = [&pressed] {
        QTimer::singleShot(20, [&pressed] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            pressed = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
    };
    pressEnter();
    EXPECT_EQ(
        dialogs().message({QStringLiteral("Remplacer ?"), mtWarning, mbYes | mbNo, QString(), mbNo},
                          nullptr),
        mrNo);
    EXPECT_EQ(pressed, QStringLiteral("&Non"));
    // Unset: Yes, as before.
    pressEnter();
    EXPECT_EQ(dialogs().message(
                  {QStringLiteral("Remplacer ?"), mtWarning, mbYes | mbNo, QString(), 0}, nullptr),
              mrYes);
    EXPECT_EQ(pressed, QStringLiteral("&Oui"));
}

TEST_F(QtDialogsTest, OverwriteQuestionIsTheFileDialogsOwn)
{
    ASSERT_TRUE(m_french) << "qtbase_fr translation missing (qt6-translations-l10n)";
    EXPECT_EQ(
        overwriteQuestion(QStringLiteral("Open1.Chr")),
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QStringLiteral("Open1.Chr")));
}

} // namespace

// A stand-in written before the colour and font dialogs existed overrides
// neither: both must then answer "cancelled", never a made-up choice.
TEST(ScriptedDialogs, ColourAndFontDialogsAnswerCancelledUnlessScripted)
{
    class OldFake : public platform::Dialogs
    {
    public:
        int message(const platform::MessageRequest &, QWidget *) override { return 0; }
        std::optional<platform::FileAnswer> openFile(const platform::FileRequest &,
                                                     QWidget *) override
        {
            return std::nullopt;
        }
        std::optional<platform::FileAnswer> saveFile(const platform::FileRequest &,
                                                     QWidget *) override
        {
            return std::nullopt;
        }
        std::optional<QString> selectDirectory(const QString &, const QString &, QWidget *) override
        {
            return std::nullopt;
        }
        std::optional<QString> inputText(const QString &, const QString &, const QString &,
                                         QWidget *) override
        {
            return std::nullopt;
        }
    } old;
    EXPECT_FALSE(old.chooseColor(0x0000FF, nullptr).has_value());
    EXPECT_FALSE(old.chooseFont({QStringLiteral("Arial"), 10}, nullptr).has_value());

    vorn_test::ScriptedDialogs scripted;
    platform::FontChoice bold{QStringLiteral("Arial"), 12, true};
    scripted.colors = {0x00FF00, std::nullopt};
    scripted.fonts = {bold};
    EXPECT_EQ(scripted.chooseColor(0x0000FF, nullptr), std::optional<std::int32_t>(0x00FF00));
    EXPECT_FALSE(scripted.chooseColor(0x00FF00, nullptr).has_value());
    EXPECT_FALSE(scripted.chooseColor(0, nullptr).has_value());
    EXPECT_EQ(scripted.chooseFont({QStringLiteral("Courier New"), 9}, nullptr), bold);
    EXPECT_FALSE(scripted.chooseFont(bold, nullptr).has_value());
    // What each dialog started from is kept, for the tests to check.
    EXPECT_EQ(scripted.colorRequests, (std::vector<std::int32_t>{0x0000FF, 0x00FF00, 0}));
    ASSERT_EQ(scripted.fontRequests.size(), 2u);
    EXPECT_EQ(scripted.fontRequests[0].name, QStringLiteral("Courier New"));
}
