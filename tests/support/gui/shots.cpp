#include "tests/support/gui/shots.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace vorn_test
{

bool shotsRequested()
{
    return !qEnvironmentVariable("VORN_SHOTS_DIR").isEmpty();
}

QString shotPath(const QString &name, const QString &fallback)
{
    QString folder = qEnvironmentVariable("VORN_SHOTS_DIR");
    if (folder.isEmpty())
        folder = fallback;
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return QDir(folder).filePath(name);
}

QString saveShot(const QImage &image, const QString &name, const QString &fallback)
{
    const QString file = shotPath(name, fallback);
    // The strongest compression: the pictures go into the repository.
    if (file.isEmpty() || image.isNull() || !image.save(file, "PNG", 0))
        return QString();
    return file;
}

QString saveShot(QWidget *widget, const QString &name, const QString &fallback)
{
    if (!widget)
        return QString();
    // Nothing drawn when no picture is wanted.
    if (shotPath(name, fallback).isEmpty())
        return QString();
    return saveShot(widget->grab().toImage(), name, fallback);
}

QImage screenPicture(QWidget *window, const QRect &area)
{
    QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && screen)
        return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    return window ? window->grab().toImage() : QImage();
}

void waitUntilPlaced(QWidget *window)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !window)
        return;
    (void)QTest::qWaitForWindowExposed(window, 1000);
    (void)QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }, 1000);
    // The window may still be moved into the screen once framed.
    QTest::qWait(200);
}

} // namespace vorn_test
