// Main of the headless test binaries: a core application object only, so that
// these binaries prove their module needs no display.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("LC_ALL", "C");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
