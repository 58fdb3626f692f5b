#include "platform/forms/application.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/text/exceptions.h"

#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace platform
{

namespace
{
QString s_title;
QString s_helpFile;
bool s_terminated = false;
QPointer<TForm> s_mainForm;
} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
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
