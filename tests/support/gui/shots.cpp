#include "tests/support/gui/shots.h"

#include <QDir>
#include <QPixmap>
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

} // namespace vorn_test
