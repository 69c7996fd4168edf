#include "link/Frame.h"

#include <gtest/gtest.h>

TEST(Frame, Placeholder) { EXPECT_EQ(korvane::frame::resetFrame()[0], 0xED); }
