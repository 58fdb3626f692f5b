// Main of the widget test binaries: the offscreen platform unless a display is
// asked for (VORN_TEST_DISPLAY=1), one application object for the whole run,
// with the program's exception barrier.
#include "platform/forms/application.h"
#include "platform/forms/form.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("VORN_TEST_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C");
    platform::TApplication app(argc, argv);
    // The file dialogs keep their history in the user's settings: the run's
    // own folder, never the user's.
    QTemporaryDir settings;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    // Every window fits, as on the developers' screens: the offscreen
    // screen is only 800 x 600. Tests of smaller screens set their own.
    platform::setAvailableScreenArea(QRect(0, 0, 4096, 4096));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
