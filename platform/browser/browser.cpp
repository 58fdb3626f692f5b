#include "platform/browser/browser.h"

#include "platform/browser/webengine.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLibrary>
#include <QShowEvent>
#include <QVBoxLayout>

namespace platform
{

namespace
{

// The engine's entry point, or null when its module cannot be loaded: beside
// the program (where scripts/run installs it), else where the build made it.
CreateWebEngineView engineEntry()
{
    static const CreateWebEngineView entry = [] {
        QStringList places{QDir(QCoreApplication::applicationDirPath())
                               .filePath(QLatin1String(WebEngineModuleName))};
#ifdef VORN_WEB_MODULE
        places << QStringLiteral(VORN_WEB_MODULE);
#endif
        for (const QString &place : places) {
            if (!QFile::exists(place))
                continue;
            // Never unloaded: the engine lives as long as the program.
            QLibrary module(place);
            if (auto f =
                    reinterpret_cast<CreateWebEngineView>(module.resolve(CreateWebEngineViewName)))
                return f;
            qWarning("%s", qPrintable(module.errorString()));
        }
        return CreateWebEngineView(nullptr);
    }();
    return entry;
}

} // namespace

TWebBrowser::TWebBrowser(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

TWebBrowser::~TWebBrowser() = default;

void TWebBrowser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    startSoon();
}

void TWebBrowser::startSoon()
{
    // Where the engine's view draws through the graphics card, the toolkit
    // makes the browser's window again when the view joins it. Done while an
    // event is being delivered to that window (its activation shows the
    // browser's tab), the toolkit then goes on with the window it has just
    // deleted and crashes: the engine starts once that event is over.
    if (m_view || m_missing || m_startPending)
        return;
    m_startPending = true;
    later(this, [this] {
        m_startPending = false;
        if (!m_view && !m_missing && isVisible())
            startEngine();
    });
}

void TWebBrowser::startEngine()
{
    const CreateWebEngineView create = engineEntry();
    if (!create) {
        m_missing = new QLabel(QStringLiteral("Le navigateur intégré est absent : le fichier %1 "
                                              "doit se trouver à côté du programme.")
                                   .arg(QLatin1String(WebEngineModuleName)),
                               this);
        m_missing->setAlignment(Qt::AlignCenter);
        m_missing->setWordWrap(true);
        layout()->addWidget(m_missing);
        return;
    }
    // The view makes the toolkit make its window again: the focus leaving
    // and coming back meanwhile is no switch between windows (the window's
    // activation handler would otherwise run again and undo what showed the
    // browser, such as a file just opened).
    if (auto *form = qobject_cast<TForm *>(window()))
        form->aboutToBeRemade();
    m_view = create(this, [this](bool ok) { emit pageLoaded(ok); });
    layout()->addWidget(m_view->widget());
    m_view->showFile(m_location);
}

void TWebBrowser::Navigate(const QString &path)
{
    m_location = path;
    if (m_view)
        m_view->showFile(path);
    else if (isVisible())
        startSoon();
}

bool TWebBrowser::pageShown() const
{
    return m_view && m_view->shows(m_location);
}

void TWebBrowser::runScript(const QString &script,
                            const std::function<void(const QVariant &)> &done)
{
    if (m_view)
        m_view->runScript(script, done);
}

} // namespace platform

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORN_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(VORN_ADDRESS_SANITIZER)
#define VORN_ADDRESS_SANITIZER 1
#endif
#ifdef VORN_ADDRESS_SANITIZER
// The web engine's own code, which the sanitizer does not instrument, frees
// some of its objects through a base of another size: a sanitized build that
// shows a page would stop there on a fault that is not the program's. The
// environment's ASAN_OPTIONS still comes on top of this.
extern "C" const char *__asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif
