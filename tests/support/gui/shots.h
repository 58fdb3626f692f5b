#pragma once
// Pictures taken by the tests: a window as drawn, a page as printed, saved
// as PNG for a person to look at or for a guide. One rule decides where they
// go: the folder named by VORN_SHOTS_DIR when it is set (created if need
// be), else the folder the test passes, usually its temporary folder. A test
// that passes none takes pictures only when VORN_SHOTS_DIR is set.
#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace vorn_test
{

// True when VORN_SHOTS_DIR names a folder.
bool shotsRequested();

// Where a picture called name goes: in VORN_SHOTS_DIR when set, else in
// fallback; empty when neither is given. The folder is created.
QString shotPath(const QString &name, const QString &fallback = QString());

// The widget as it draws itself (QWidget::grab), or an image already drawn,
// saved as PNG, compressed as much as it can be, under shotPath(name,
// fallback). Returns the path written; empty when there is no folder or the
// file could not be written.
QString saveShot(QWidget *widget, const QString &name, const QString &fallback = QString());
QString saveShot(const QImage &image, const QString &name, const QString &fallback = QString());

// What a user sees of the screen's area, window frames and what lies beyond
// the window included, in a real display (VORN_TEST_DISPLAY); offscreen,
// where there is no screen to look at, the window as it draws itself.
QImage screenPicture(QWidget *window, const QRect &area);

// In a real display, waits until the window manager has framed and placed
// the window just shown (a second at most); offscreen, nothing to wait for.
void waitUntilPlaced(QWidget *window);

} // namespace vorn_test
