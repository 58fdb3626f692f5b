#include "platform/forms/application.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/text/exceptions.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <clocale>
#include <iterator>
#include <optional>

namespace platform
{

namespace
{
QString s_title;
QString s_helpFile;
bool s_terminated = false;
QPointer<TForm> s_mainForm;

// The variables from which Qt reads the system's locale, in their order of
// precedence, and their values before the application object set them.
const char *const kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LC_TIME", "LC_NUMERIC", "LANG"};
std::optional<QByteArray> s_savedLocaleVariables[std::size(kLocaleVariables)];

// Runs before QApplication's constructor. The standard dialogs show file
// sizes and dates in Qt's system locale, which Qt reads from these variables
// when it starts: they say French while it does.
int &frenchSystemLocale(int &argc)
{
    for (size_t i = 0; i < std::size(kLocaleVariables); ++i) {
        const char *name = kLocaleVariables[i];
        s_savedLocaleVariables[i] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        qputenv(name, "fr_FR.UTF-8");
    }
    return argc;
}

// Once Qt has read them, the user's own values come back, for the C library
// (which the program's formatting never relies on) and for the programs it
// starts.
void restoreLocaleVariables()
{
    for (size_t i = 0; i < std::size(kLocaleVariables); ++i) {
        if (s_savedLocaleVariables[i])
            qputenv(kLocaleVariables[i], *s_savedLocaleVariables[i]);
        else
            qunsetenv(kLocaleVariables[i]);
    }
    std::setlocale(LC_ALL, "");
}

// Texts of Qt's file dialogs that its French translation lacks (the file
// type column).
class FileTypeTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 || !sourceText)
            return QString();
        static const struct {
            const char *english;
            const char16_t *french;
        } texts[] = {{"Folder", u"Dossier"}, {"File Folder", u"Dossier de fichiers"},
                     {"Drive", u"Lecteur"},  {"Shortcut", u"Raccourci"},
                     {"Alias", u"Alias"},    {"Unknown", u"Inconnu"}};
        for (const auto &t : texts)
            if (qstrcmp(sourceText, t.english) == 0)
                return QString::fromUtf16(t.french);
        return QString();
    }
};

} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(frenchSystemLocale(argc), argv)
{
    // The program speaks French whatever the system's settings: Qt's system
    // locale is read now, while the variables say French; the default locale
    // (calendars, date fields, spin boxes) is French too.
    (void)QLocale::system().name();
    restoreLocaleVariables();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Only closing the main window ends the run.
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

QString ApplicationTitle()
{
    return s_title;
}

void SetApplicationTitle(const QString &title)
{
    s_title = title;
    QGuiApplication::setApplicationDisplayName(title);
}

QString ApplicationHelpFile()
{
    return s_helpFile;
}

void SetApplicationHelpFile(const QString &fileName)
{
    s_helpFile = fileName;
}

bool InstallFrenchTranslations()
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return false;
    auto translator = std::make_unique<QTranslator>(app);
    if (!translator->load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.release());
    QCoreApplication::installTranslator(new FileTypeTranslator(app));
    return true;
}

QString ExceptionText(std::exception_ptr error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const Exception &e) {
        text = e.Message();
    } catch (const std::exception &e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Erreur inconnue");
    }
    // The platform's default message ends its text with a period unless it
    // already ends with a character sorting at or below '.' (".", "!", " ").
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    return text;
}

void ShowException(std::exception_ptr error)
{
    const QString text = ExceptionText(error);
    try {
        MessageDlgWithCaption(ApplicationTitle(), text, mtError, mbOK);
    } catch (...) {
        // The error box itself failed: nothing more can be shown.
    }
}

bool guard(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

void ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Terminate()
{
    s_terminated = true;
    QCoreApplication::quit();
}

bool Terminated()
{
    return s_terminated;
}

void ResetTerminated()
{
    s_terminated = false;
}

TForm *MainForm()
{
    return s_mainForm;
}

void SetMainForm(TForm *form)
{
    s_mainForm = form;
}

} // namespace platform
