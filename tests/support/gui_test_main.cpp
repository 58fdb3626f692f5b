// Main of the widget test binaries: the offscreen platform unless a display is
// asked for (VORN_TEST_DISPLAY=1), one application object for the whole run,
// with the program's exception barrier.
#include "platform/forms/application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("VORN_TEST_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C");
    platform::TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
