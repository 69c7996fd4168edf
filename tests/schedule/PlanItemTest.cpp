#include "core/schedule/PlanItem.h"

#include "core/schedule/DeviceClock.h"

#include <gtest/gtest.h>
#include <vector>

using namespace korvane;

namespace {

PlanItem itemOf(int year, int month, int day, int hour, int minute, int second, int mode,
                int interval, int channel, int action, int templateNumber) {
    return PlanItem{year, month,    day,     hour,   minute,        second,
                    mode, interval, channel, action, templateNumber};
}

} // namespace

TEST(PlanItem, PacksIntoSlotWords) {
    const struct {
        const char* what;
        PlanItem item;
        std::uint16_t a, b, c;
        std::uint8_t d;
    } cases[] = {
        {"never read: year 0 packs as 3", PlanItem{}, 0x0003, 0, 0, 0},
        {"every field", itemOf(2024, 5, 6, 8, 30, 45, 4, 90, 11, 1, 10), 0x245B, 0x7906, 0x5DBA,
         0xA1},
        {"interval 480", itemOf(2013, 0, 0, 0, 0, 0, 0, 480, 0, 0, 0), 0xF000, 0, 0, 0},
        {"interval 511 fills both parts", itemOf(2013, 0, 0, 0, 0, 0, 0, 511, 0, 0, 0), 0xF000, 0,
         0x001F, 0},
        {"year 2029 as 2013", itemOf(2029, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0, 0, 0, 0},
        {"year 2012 wraps to 15", itemOf(2012, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0x000F, 0, 0, 0},
        {"month masked", itemOf(2013, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0x00F0, 0, 0, 0},
        {"mode masked", itemOf(2013, 0, 0, 0, 0, 0, 0x13, 0, 0, 0, 0), 0x0300, 0, 0, 0},
        {"day -1 stays in its five bits", itemOf(2013, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0), 0, 0x001F, 0,
         0},
        {"hour masked", itemOf(2013, 0, 0, 33, 0, 0, 0, 0, 0, 0, 0), 0, 0x0020, 0, 0},
        {"minute masked", itemOf(2013, 0, 0, 0, 65, 0, 0, 0, 0, 0, 0), 0, 0x0400, 0, 0},
        {"second masked", itemOf(2013, 0, 0, 0, 0, 69, 0, 0, 0, 0, 0), 0, 0, 0x00A0, 0},
        {"interval 512 masked", itemOf(2013, 0, 0, 0, 0, 0, 0, 512, 0, 0, 0), 0, 0, 0, 0},
        {"channel masked", itemOf(2013, 0, 0, 0, 0, 0, 0, 0, 35, 0, 0), 0, 0, 0x1800, 0},
        {"action and template masked", itemOf(2013, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x13), 0, 0, 0,
         0x32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlanEntry e = packPlanItem(c.item, 9);
        EXPECT_EQ(e.index, 9);
        EXPECT_EQ(planWordA(e), c.a);
        EXPECT_EQ(planWordB(e), c.b);
        EXPECT_EQ(planWordC(e), c.c);
        EXPECT_EQ(e.byteD, c.d);
    }
    // Words travel low byte first.
    const PlanEntry e = packPlanItem(itemOf(2024, 5, 6, 8, 30, 45, 4, 90, 11, 1, 10), 0);
    EXPECT_EQ(e.wordA[0], 0x5B);
    EXPECT_EQ(e.wordA[1], 0x24);
}

TEST(PlanItem, UnpacksWhatItPacks) {
    const PlanItem items[] = {
        itemOf(2024, 5, 6, 8, 30, 45, 4, 90, 11, 1, 10),
        itemOf(2028, 15, 31, 31, 63, 63, 15, 511, 31, 15, 15),
        itemOf(2013, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    };
    for (const auto& item : items) {
        EXPECT_EQ(unpackPlanItem(packPlanItem(item, 0)), item);
    }
    EXPECT_EQ(unpackPlanItem(packPlanItem(itemOf(2029, 1, 1, 0, 0, 0, 1, 1, 0, 0, 1), 0)).year,
              2013);
}

TEST(PlanItem, UnreadTableSendsSkipEntriesWithYearField3) {
    PlanTable table;
    for (auto& e : table) {
        e.index = kUnusedPlanEntry;
        e.wordB[0] = 0x55;
    }
    packPlanItems(PlanItems{}, table);
    for (std::size_t k = 0; k < table.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(table[k].index, k);
        EXPECT_EQ(planWordA(table[k]), 0x0003);
        EXPECT_EQ(unpackPlanItem(table[k]).mode, planmode::kSkip);
        EXPECT_EQ(planWordB(table[k]), 0);
    }
}

TEST(PlanItem, DecodingFollowsTheIndexByte) {
    const PlanItem sentinel = itemOf(1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    PlanItems items;
    items.fill(sentinel);
    const PlanItem read = itemOf(2024, 5, 6, 8, 30, 0, 1, 1, 12, 0, 2);

    PlanTable table{};
    for (auto& e : table) {
        e.index = kUnusedPlanEntry;
    }
    table[0] = packPlanItem(read, 5); // slot 0 holds entry 5
    table[1] = packPlanItem(read, 64);
    table[1].index = 64;
    table[63] = packPlanItem(read, 63);
    table[63].index = 200;

    decodePlanTable(table, items);
    for (std::size_t k = 0; k < items.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(items[k], k == 5 ? read : sentinel);
    }
}

TEST(PlanItem, Texts) {
    const std::vector<std::pair<int, std::string_view>> modes = {
        {0, "跳过"},     {1, "每天"},     {2, "执行一次"},  {3, "24后失效"}, {4, "每天重复"},
        {5, "持续不断"}, {6, "持续不断"}, {15, "持续不断"}, {-1, ""},
    };
    for (const auto& [mode, text] : modes) {
        EXPECT_EQ(planModeText(mode), text) << mode;
    }
    EXPECT_EQ(planActionText(0), "切换通道");
    EXPECT_EQ(planActionText(1), "执行模板");
    EXPECT_EQ(planActionText(7), "执行模板");

    const PlanRowTexts expected{"63", "每天重复", "480", "2024-05-06 08:03:09", "切换通道"};
    EXPECT_EQ(planRowTexts(itemOf(2024, 5, 6, 8, 3, 9, 4, 480, 11, 0, 3), 63), expected);
}

TEST(PlanItem, MoveSwapsNeighboursWithinTheTable) {
    PlanItems items{};
    for (std::size_t k = 0; k < items.size(); ++k) {
        items[k].interval = static_cast<int>(k);
    }
    const PlanItems before = items;

    EXPECT_EQ(movePlanItem(items, 0, PlanMove::Up), std::nullopt);
    EXPECT_EQ(movePlanItem(items, 63, PlanMove::Down), std::nullopt);
    EXPECT_EQ(movePlanItem(items, 64, PlanMove::Up), std::nullopt);
    EXPECT_EQ(items, before);

    EXPECT_EQ(movePlanItem(items, 5, PlanMove::Up), 4u);
    EXPECT_EQ(items[4].interval, 5);
    EXPECT_EQ(items[5].interval, 4);
    EXPECT_EQ(movePlanItem(items, 62, PlanMove::Down), 63u);
    EXPECT_EQ(items[63].interval, 62);
    EXPECT_EQ(items[62].interval, 63);
}

TEST(DeviceClock, SixBytes) {
    const DateTime t{2014, 3, 5, 6, 7, 8};
    EXPECT_EQ(packClock(t), (ClockBytes{0x01, 0x03, 0x05, 0x06, 0x07, 0x08}));
    EXPECT_EQ(packClock(t, kLegacyClockYearBase), (ClockBytes{14, 3, 5, 6, 7, 8}));
    EXPECT_EQ(unpackClock(packClock(t)), t);
    EXPECT_EQ(unpackClock(ClockBytes{14, 3, 5, 6, 7, 8}, kLegacyClockYearBase), t);
    // A year before the base wraps within the byte.
    EXPECT_EQ(packClock({2012, 1, 1, 0, 0, 0})[0], 0xFF);

    EXPECT_EQ(formatClock(ClockBytes{11, 5, 6, 8, 30, 0}), "2024-05-06 08:30:00");
    EXPECT_EQ(formatClock(ClockBytes{255, 12, 31, 23, 59, 59}), "2268-12-31 23:59:59");
}
