#pragma once

#include "core/link/CommandCodes.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The plan editor's unpacked form of one offline plan entry.
struct PlanItem {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int mode = 0;
    int interval = 0; // minutes
    int channel = 0;  // input code
    int action = 0;   // 1 = recall a device template, 0 = switch the input
    int templateNumber = 0;

    bool operator==(const PlanItem&) const = default;
};

using PlanItems = std::array<PlanItem, kPlanEntryCount>;
using PlanTable = std::array<PlanEntry, kPlanEntryCount>;

namespace planmode {
inline constexpr int kSkip = 0;
inline constexpr int kDaily = 1;
inline constexpr int kOnce = 2;
inline constexpr int kIntervalFor24Hours = 3;
inline constexpr int kIntervalDaily = 4;
inline constexpr int kIntervalContinuous = 5;
} // namespace planmode

namespace planaction {
inline constexpr int kSwitchInput = 0;
inline constexpr int kRecallTemplate = 1;
} // namespace planaction

// Entries count their year from the same base as the device clock, modulo 16.
inline constexpr int kPlanYearBase = kClockYearBase;

// Bit widths of the packed fields; packing keeps only these low bits of each value.
namespace planbits {
inline constexpr int kYear = 4;
inline constexpr int kMonth = 4;
inline constexpr int kMode = 4;
inline constexpr int kDay = 5;
inline constexpr int kHour = 5;
inline constexpr int kMinute = 6;
inline constexpr int kSecond = 6;
inline constexpr int kChannel = 5;
inline constexpr int kAction = 4;
inline constexpr int kTemplate = 4;
// The interval's low bits travel in word C, the rest in word A.
inline constexpr int kInterval = 9;
inline constexpr int kIntervalLow = 5;
} // namespace planbits

constexpr int planFieldMax(int bits) {
    return (1 << bits) - 1;
}

// The editor accepts intervals in this range.
inline constexpr int kMinPlanInterval = 1;
inline constexpr int kMaxPlanInterval = 480;

// A slot of the plan table with index byte `index`.
PlanEntry packPlanItem(const PlanItem& item, std::uint8_t index);
// The year comes back as the packed value + 2013.
PlanItem unpackPlanItem(const PlanEntry& entry);

// Send: item k into slot k with index byte k, all 64 slots.
void packPlanItems(const PlanItems& items, PlanTable& table);
// Read: every slot whose index byte i is below 64 into item i; the other items stay as they are.
void decodePlanTable(const PlanTable& table, PlanItems& items);

// "跳过", "每天", "执行一次", "24后失效", "每天重复", "持续不断" (also for any mode above 5);
// empty for a negative mode.
std::string_view planModeText(int mode);
// "执行模板" for a non-zero action, "切换通道" for 0.
std::string_view planActionText(int action);

// The editor list's texts for one item.
struct PlanRowTexts {
    std::string number;   // the row (slot) number, from 0
    std::string mode;     // the mode text
    std::string interval; // "%d"
    std::string dateTime; // "%04d-%02d-%02d %02d:%02d:%02d"
    std::string action;   // the action text

    bool operator==(const PlanRowTexts&) const = default;
};
PlanRowTexts planRowTexts(const PlanItem& item, std::size_t row);

enum class PlanMove { Up, Down };
// Swaps the item at `row` with its neighbour and gives the row it moved to; nothing happens (and
// nothing is given) for the first row moving up, the last moving down or a row out of range.
std::optional<std::size_t> movePlanItem(PlanItems& items, std::size_t row, PlanMove direction);

} // namespace korvane
