#pragma once
// The web engine's side of the embedded browser. The engine (and the
// libraries it draws in) is a module of its own, "vorn_web.so", that the
// browser loads when it is first shown: the program starts without it.
#include <QString>
#include <QVariant>

#include <functional>

class QWidget;

namespace platform
{

class WebEngineView
{
public:
    virtual ~WebEngineView() = default;
    // The view, a child of the parent it was made in.
    virtual QWidget *widget() = 0;
    // Shows the file as an HTML page; an empty name shows an empty page.
    virtual void showFile(const QString &path) = 0;
    // True once the file is shown, fully loaded.
    virtual bool shows(const QString &path) const = 0;
    // Runs a script in the page; done gets its value.
    virtual void runScript(const QString &script,
                           const std::function<void(const QVariant &)> &done) = 0;
};

// The module's one entry point: a view in parent; loaded is called at the
// end of every load (false when the page could not be shown).
using CreateWebEngineView = WebEngineView *(*)(QWidget *parent,
                                               const std::function<void(bool)> &loaded);
inline constexpr char CreateWebEngineViewName[] = "vornCreateWebEngineView";
inline constexpr char WebEngineModuleName[] = "vorn_web.so";

} // namespace platform
