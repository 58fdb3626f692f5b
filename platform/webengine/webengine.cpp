// The embedded browser's web engine, loaded by platform::TWebBrowser when a
// browser is first shown. Pages are read from local files only: every other
// request is refused before anything leaves the machine.
#include "platform/browser/webengine.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <unistd.h>

// Made by the engine's library for the start-ups that prepare it before the
// application object: creates the drawing context the engine shares with the
// application's windows, when none exists yet.
namespace QtWebEngineCore
{
void initialize();
}

namespace
{

const QByteArray LocalScheme = QByteArrayLiteral("vorn-fichier");

// Before the engine's first profile exists. The drawing context it shares
// with the windows is made now rather than at the program's start, where it
// would make every start-up load the graphics drivers. The scheme must be
// known to it. As root, its renderer refuses to start inside its sandbox and
// ends the whole program at the first page shown: it goes without the sandbox
// then (the engine only ever sees the user's own files and never reaches the
// network).
void prepareEngine()
{
    static const bool done = [] {
        if (::geteuid() == 0) {
            const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
            if (!flags.contains("--no-sandbox"))
                qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --no-sandbox").trimmed());
        }
        QtWebEngineCore::initialize();
        QWebEngineUrlScheme scheme(LocalScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // A local page: it may read local files (its pictures and style
        // sheets saved beside it), as a page opened from disk does.
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)done;
}

QUrl localPageUrl(const QString &path)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setScheme(QString::fromLatin1(LocalScheme));
    return url;
}

// The page's text in UTF-8 behind a byte order mark, which the engine obeys
// before anything else. The text is UTF-8 when its bytes decode as such,
// else Windows-1252: saved pages and extracts often lose the charset
// declaration of their head, and the engine's own guess misreads short
// Windows-1252 texts.
QByteArray asUtf8WithMark(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = platform::fromAnsi(bytes);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

// The largest file served to a page: far above the pictures, style sheets
// and scripts a saved page keeps (a ranking page's logos weigh kilobytes, a
// photograph a few megabytes), and small enough that reading it whole on the
// UI thread, then handing it to the engine, stays a moment.
constexpr qint64 MaxServedBytes = 64 * 1024 * 1024;

// Serves local files. The page itself is HTML whatever its extension (the
// entries and ranking extracts are pages kept under names of their own, which
// a file: URL would show as plain text); the other files (pictures, style
// sheets, scripts saved beside it) are typed by their extension. Only what a
// saved page keeps beside it is read: regular files in the page's folder and
// below, of a sane size. A device would never end, a pipe would wait for a
// writer on the UI thread, and a file elsewhere is none of the page's: all
// fail as not found.
class LocalFiles : public QWebEngineUrlSchemeHandler
{
public:
    // page: the file the view shows.
    LocalFiles(const QString &page, QObject *parent)
        : QWebEngineUrlSchemeHandler(parent), m_page(page)
    {
    }

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const QString path = besidePage(job->requestUrl().path(QUrl::FullyDecoded));
        QByteArray bytes;
        if (job->requestMethod() != "GET" || !readServed(path, bytes)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        QByteArray type;
        if (QFileInfo(path) == QFileInfo(m_page)) {
            type = "text/html";
            bytes = asUtf8WithMark(bytes);
        } else {
            type = QMimeDatabase()
                       .mimeTypeForFile(path, QMimeDatabase::MatchExtension)
                       .name()
                       .toLatin1();
        }
        auto *data = new QBuffer(job);
        data->setData(bytes);
        data->open(QIODevice::ReadOnly);
        job->reply(type, data);
    }

private:
    // The file path names, links followed, when it lies in the page's folder
    // or below; empty otherwise. Names differing only in case are found as
    // the line files find them (pages saved on another system).
    QString besidePage(const QString &path) const
    {
        if (m_page.isEmpty())
            return {};
        QString folder = QFileInfo(QFileInfo(m_page).absolutePath()).canonicalFilePath();
        const QString real = QFileInfo(platform::LineFile::resolve(path)).canonicalFilePath();
        if (folder.isEmpty() || real.isEmpty())
            return {};
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return real.startsWith(folder) ? real : QString();
    }

    // Through the line files' checked read: a regular file only, opened
    // without waiting.
    static bool readServed(const QString &path, QByteArray &bytes)
    {
        if (path.isEmpty() || QFileInfo(path).size() > MaxServedBytes)
            return false;
        try {
            bytes = platform::LineFile::readBytes(path);
        } catch (const platform::EFileError &) {
            return false;
        }
        return bytes.size() <= MaxServedBytes;
    }

    const QString &m_page;
};

// Keeps the engine off the network: only local files are loaded (file: URLs
// under the same rule as the page's own files), and the data: URLs a page
// carries inside itself (no request is made for those); every other request
// is refused before anything is sent.
class OfflineOnly : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        QUrl url = info.requestUrl();
        const QString scheme = url.scheme();
        if (scheme == QLatin1String("file")) {
            // Read as the page's own files are, under the same rule.
            url.setScheme(QString::fromLatin1(LocalScheme));
            info.redirect(url);
        } else if (scheme != QLatin1String(LocalScheme) && scheme != QLatin1String("data")) {
            info.block(true);
        }
    }
};

class View : public QWebEngineView, public platform::WebEngineView
{
public:
    View(QWidget *parent, const std::function<void(bool)> &loaded) : QWebEngineView(parent)
    {
        prepareEngine();
        // A profile of its own that keeps nothing on disk (no cache, no
        // cookies), with the interceptor that keeps it offline.
        m_profile = new QWebEngineProfile;
        m_profile->setUrlRequestInterceptor(new OfflineOnly(m_profile));
        m_profile->installUrlSchemeHandler(LocalScheme, new LocalFiles(m_page, m_profile));
        QWebEngineSettings *settings = m_profile->settings();
        settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        setPage(new QWebEnginePage(m_profile, this));
        connect(this, &QWebEngineView::loadFinished, this, [loaded](bool ok) { loaded(ok); });
    }
    ~View() override
    {
        // The page goes before its profile, which the engine requires.
        delete page();
        delete m_profile;
    }

    QWidget *widget() override { return this; }

    void showFile(const QString &path) override
    {
        m_page = path;
        if (path.isEmpty() || !QFileInfo(path).isReadable())
            setHtml(QString());
        else
            load(localPageUrl(path));
    }

    bool shows(const QString &path) const override
    {
        return url() == localPageUrl(path) && !page()->isLoading();
    }

    void runScript(const QString &script,
                   const std::function<void(const QVariant &)> &done) override
    {
        page()->runJavaScript(script, [done](const QVariant &v) { done(v); });
    }

private:
    QString m_page;
    QWebEngineProfile *m_profile = nullptr;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::WebEngineView *
vornCreateWebEngineView(QWidget *parent, const std::function<void(bool)> &loaded)
{
    return new View(parent, loaded);
}
