#include <gtest/gtest.h>
#include <QString>
TEST(Smoke, Builds) { EXPECT_EQ(QString("a").size(), 1); }
