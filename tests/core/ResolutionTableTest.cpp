#include "core/link/ResolutionTable.h"

#include <gtest/gtest.h>

using namespace korvane;

TEST(ResolutionTable, CodesAndCustomEntry) {
    const auto table = resolutionTable();
    ASSERT_EQ(table.size(), 20u);
    EXPECT_EQ(table.front().code, 1);
    EXPECT_EQ(table.back().code, kCustomResolution);
    const auto r9 = findResolution(9);
    ASSERT_TRUE(r9);
    EXPECT_EQ(r9->name, "1600×1200 60Hz Reduced");
    EXPECT_FALSE(findResolution(20));
    EXPECT_FALSE(findResolution(kResolutionEndOfTable));
}
