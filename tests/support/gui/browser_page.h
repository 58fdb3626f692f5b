#pragma once
// Waiting for the embedded browser's page and reading the document the web
// engine built from it.
#include "platform/browser/browser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QVariant>

#include <functional>
#include <memory>

namespace vorn_test
{

// Runs the event loop until cond holds; false when it still does not after a
// minute (the engine starts slowly under the sanitizers).
inline bool waitUntil(const std::function<bool()> &cond)
{
    const QDeadlineTimer deadline(60000);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Until the browser shows the file it was last told to, fully loaded.
inline bool waitForPage(const platform::TWebBrowser &b)
{
    return waitUntil([&] { return b.pageShown(); });
}

// The value of a script run in the page; invalid when it gave none.
inline QVariant evaluate(platform::TWebBrowser &b, const QString &script)
{
    struct Result {
        bool done = false;
        QVariant value;
    };
    auto r = std::make_shared<Result>();
    b.runScript(script, [r](const QVariant &v) {
        r->value = v;
        r->done = true;
    });
    waitUntil([&] { return r->done; });
    return r->value;
}

// Until the page has drawn two frames at the browser's present size and
// the view has had them: for pictures of the page.
inline bool waitForPaint(platform::TWebBrowser &b)
{
    if (!waitUntil([&] { return evaluate(b, "window.innerHeight").toInt() == b.height(); }))
        return false;
    evaluate(b, "window.dessine = 0; requestAnimationFrame(() => requestAnimationFrame(() => "
                "window.dessine = 1))");
    if (!waitUntil([&] { return evaluate(b, "window.dessine").toInt() == 1; }))
        return false;
    QDeadlineTimer encore(200);
    while (!encore.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return true;
}

} // namespace vorn_test
