#pragma once
// Finding a window's controls by their control names.
#include <QAction>
#include <QMenu>
#include <QString>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace vorn_test
{

// The child of window named name, of type T; fails the test when missing.
template <class T> T *control(const QObject *window, const QString &name)
{
    T *found = window ? window->findChild<T *>(name) : nullptr;
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString() << " in "
                              << (window ? window->objectName().toStdString() : "null");
    return found;
}

inline QAction *menuItem(const QObject *window, const QString &name)
{
    return control<QAction>(window, name);
}

// The top-level window with this objectName, or null.
QWidget *topLevel(const QString &name);

// Lets pending events (activation, posted calls) be delivered.
void settle(int rounds = 3);

// Runs trigger, then lets pending events be delivered, handing target its own
// events outside the application's barrier: returns how many exceptions left
// target's event handling (and would have unwound through the toolkit).
int escapedFrom(QObject *target, const std::function<void()> &trigger);

} // namespace vorn_test
