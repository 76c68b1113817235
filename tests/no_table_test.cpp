// A program without the style-name table resource: the start-up must
// report it, so that the program ends without a window.
#include <gtest/gtest.h>
#include "app/startup.h"

TEST(LoadStyleTable, FailsWithoutItsResource)
{
    EXPECT_FALSE(LoadStyleTable());
    EXPECT_EQ(g_pStyleTable, nullptr);
}
