#include "core/schedule/LegacyPlan.h"

#include <gtest/gtest.h>

using namespace korvane;

TEST(LegacyPlan, SendRightAfterOpeningSendsNothing) {
    const LegacyPlanItems items = openLegacyPlanItems(makeLocalTime(2024, 5, 6, 14, 3, 2));
    for (const auto& item : items) {
        EXPECT_EQ(item, (LegacyPlanItem{2024, 5, 6, 0, 0, 0, legacymode::kDaily, 0, false}));
    }
    PlanTable table{};
    packLegacyPlanItems(items, table);
    for (const auto& e : table) {
        EXPECT_EQ(e.index, kUnusedPlanEntry);
    }
}

TEST(LegacyPlan, PacksOnlyItsOwnBitsOfModifiedEntries) {
    const PlanItem before{2020, 1, 2, 3, 4, 5, planmode::kIntervalDaily, 300, 14, 1, 3};
    PlanTable table{};
    table[7] = packPlanItem(before, 7);
    table[7].unused1 = 0xAA;
    table[7].unused9 = 0xBB;
    table[8] = table[7];

    LegacyPlanItems items = openLegacyPlanItems(makeLocalTime(2024, 5, 6, 0, 0, 0));
    items[7] = {2024, 12, 31, 23, 59, 58, legacymode::kOnce, 9, true};
    items[8].modified = false;
    packLegacyPlanItems(items, table);

    EXPECT_EQ(table[7].index, 7);
    EXPECT_EQ(table[7].unused1, 0xAA);
    EXPECT_EQ(table[7].unused9, 0xBB);
    EXPECT_EQ(unpackPlanItem(table[7]),
              (PlanItem{2024, 12, 31, 23, 59, 58, legacymode::kOnce, before.interval,
                        before.channel, before.action, 10}));
    EXPECT_EQ(table[8].index, kUnusedPlanEntry);
    EXPECT_EQ(table[0].index, kUnusedPlanEntry);
}

TEST(LegacyPlan, DecodesBySlotPosition) {
    PlanTable table{};
    table[3] = packPlanItem({2021, 6, 7, 8, 9, 10, legacymode::kInterval, 1, 0, 1, 4}, 0xFF);
    table[5] = packPlanItem({2021, 6, 7, 8, 9, 10, legacymode::kWeekly, 1, 0, 1, 0}, 40);
    LegacyPlanItems items{};
    items[3].modified = true;

    decodeLegacyPlanTable(table, items);
    EXPECT_EQ(items[3], (LegacyPlanItem{2021, 6, 7, 8, 9, 10, legacymode::kInterval, 3, true}));
    EXPECT_EQ(items[5].templateIndex, -1);
    EXPECT_EQ(items[40], (LegacyPlanItem{2013, 0, 0, 0, 0, 0, 0, -1, false}));

    // An entry read with template number 0 goes back with 0.
    items[5].modified = true;
    packLegacyPlanItems(items, table);
    EXPECT_EQ(unpackPlanItem(table[5]).templateNumber, 0);
}

TEST(LegacyPlan, RowTexts) {
    const struct {
        LegacyPlanItem item;
        LegacyPlanRowTexts expected;
    } cases[] = {
        {{2024, 5, 6, 8, 0, 0, legacymode::kDaily, 0, false},
         {"10", "每天", "天", "08:00:00", "1"}},
        {{2024, 5, 6, 8, 0, 0, legacymode::kOnce, 9, false},
         {"10", "执行一次", "2024-05-06", "08:00:00", "10"}},
        {{2024, 5, 6, 8, 0, 0, legacymode::kWeekly, 2, false}, {"10", "周期", "", "08:00:00", "3"}},
        {{2024, 5, 6, 1, 30, 0, legacymode::kInterval, 2, false},
         {"10", "间隔", "01:30:00", "01:30:00", "3"}},
        {{2024, 5, 6, 8, 0, 0, legacymode::kInvalid, 2, false},
         {"10", "无效", "无效", "08:00:00", "3"}},
        {{2024, 5, 6, 8, 0, 0, 9, 2, false}, {"10", "", "无效", "08:00:00", "3"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(legacyPlanRowTexts(c.item, 9), c.expected) << c.item.mode;
    }
}
