#pragma once
// The application object: its title, the exception barrier with the default
// error message, the message pump and the end of the run.
#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace platform
{

class TForm;

// A QApplication that speaks French whatever the system's settings (Qt's
// default and system locales are French; the environment and the C library
// keep the user's settings), and whose event delivery is an exception
// barrier: an exception
// escaping an event handler shows the default error message and the event
// loop goes on. Slots connected to signals should still run under guard()
// (see handler()), so that nothing unwinds through Qt's own frames.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The application's title ("Application.Title"): caption of the default error
// message and of plain messages.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);
// The application's help file ("Application.HelpFile").
QString ApplicationHelpFile();
void SetApplicationHelpFile(const QString &fileName);

// Loads the French translation of Qt's own texts (standard buttons of the
// message and file dialogs), with the few file dialog texts it lacks.
// Returns false when it is not installed.
bool InstallFrenchTranslations();

// The default error message for an exception: its text (a platform::Exception
// shows its French Message()), a period added when the text does not end with
// one, in an error box with the one button OK.
void ShowException(std::exception_ptr error);
QString ExceptionText(std::exception_ptr error);

// Runs f; an exception escaping it is shown by the default error message and
// goes no further. Returns false when f threw.
bool guard(const std::function<void()> &f);

namespace detail
{
// Calls f with the signal's arguments when it takes them, without otherwise.
// The choice lives in a template of its own: inside handler()'s lambda the
// call f() does not depend on the arguments, so clang would check it even in
// the branch that is never taken.
template <class F, class... A> void invokeHandler(const F &f, A &&...args)
{
    if constexpr (std::is_invocable_v<const F &, A...>)
        f(std::forward<A>(args)...);
    else
        f();
}
} // namespace detail

// Wraps a callable so that it runs under guard(); the result can be connected
// to any signal (its arguments are passed on when the callable takes them).
template <class F> auto handler(F f)
{
    return [f = std::move(f)](auto &&...args) {
        guard([&] { detail::invokeHandler(f, std::forward<decltype(args)>(args)...); });
    };
}

// A member handler without arguments, under guard(): connect(button,
// &QPushButton::clicked, this, platform::handler(this, &TWin::OkClick)).
template <class T, class R> auto handler(T *object, R (T::*method)())
{
    return [object, method](auto &&...) { guard([&] { (object->*method)(); }); };
}

// Runs f once the event being delivered is over (a queued call on context,
// dropped when context is gone by then), under guard(): the program's timers
// and queued calls go through here or through handler().
template <class F> void later(QObject *context, F f)
{
    QMetaObject::invokeMethod(context, handler(std::move(f)), Qt::QueuedConnection);
}

// Processes every pending event (the platform's ProcessMessages).
void ProcessMessages();

// Ends the message loop (the platform's Terminate); the main block returns.
void Terminate();
// True once Terminate() was called (reset by ResetTerminated, for tests).
bool Terminated();
void ResetTerminated();

// The main window: closing it ends the application. The first window created
// becomes the main window unless one was set.
TForm *MainForm();
void SetMainForm(TForm *form);

} // namespace platform
