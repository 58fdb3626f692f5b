#pragma once
// The embedded browser of a window: shows a local page or extract as a web
// browser shows it (style sheets, scripts), and never reaches the network.
// The web engine is loaded when a browser is first shown, so that the
// program starts without it.
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace platform
{

class WebEngineView;

class TWebBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit TWebBrowser(const QString &name, QWidget *parent = nullptr);
    ~TWebBrowser() override;

    // Shows the file as an HTML page whatever its extension; its text is
    // UTF-8 when its bytes decode as such, else Windows-1252. A file that
    // cannot be read shows an empty page. Before the browser is first shown
    // the name is only kept, and shown then.
    void Navigate(const QString &path);
    QString LocationName() const { return m_location; }

    // Whether the engine runs (it starts once the event that first showed
    // the browser is over).
    bool engineStarted() const { return m_view != nullptr; }
    // True once the file last navigated to is shown, fully loaded.
    bool pageShown() const;
    // Runs a script in the page shown; done gets its value (never called
    // when the engine has not started).
    void runScript(const QString &script, const std::function<void(const QVariant &)> &done);

signals:
    // A load finished in the view (ok false when the page could not be
    // shown).
    void pageLoaded(bool ok);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void startEngine();
    void startSoon();

    QString m_location;
    // Owned through its widget, a child of this browser.
    WebEngineView *m_view = nullptr;
    // Shown instead when the engine's module cannot be loaded.
    QLabel *m_missing = nullptr;
    bool m_startPending = false;
};

} // namespace platform
