#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// Period kinds of a schedule task.
namespace period {
inline constexpr std::int32_t kEveryDay = 0;
inline constexpr std::int32_t kWeekdays = 1;
inline constexpr std::int32_t kOnce = 2;
} // namespace period

// Actions of a schedule task.
namespace scheduleaction {
inline constexpr std::int32_t kLoadTemplate = 0;
inline constexpr std::int32_t kSwitchInput = 1;
} // namespace scheduleaction

// One line of a schedule script: sixteen numbers and a template path, in file order.
struct ScheduleTask {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t periodKind = 0;
    // Monday first, Sunday last; non-zero = runs on that weekday (period kind 1 only).
    std::array<std::int32_t, 7> weekdays{};
    std::int32_t action = 0;
    std::int32_t channel = 0;
    // At most kMaxSchedulePathBytes bytes, never containing a comma, apostrophe or NUL.
    std::string path;
    // The line held a number longer than kMaxScheduleNumberChars characters: cutting it could
    // give another valid value, so the task is shown marked and never runs.
    bool invalid = false;

    bool operator==(const ScheduleTask&) const = default;
};

// Fields of a line: sixteen numbers, then the path.
inline constexpr std::size_t kScheduleFieldCount = 17;
inline constexpr std::size_t kScheduleNumericFieldCount = 16;
// Same-task compares the fields up to and including the action.
inline constexpr std::size_t kSameTaskFieldCount = 15;
// The file format's path buffer holds 264 bytes including the terminating zero.
inline constexpr std::size_t kMaxSchedulePathBytes = 263;
inline constexpr std::size_t kMaxScheduleNumberChars = 9;

// Numeric field i (0-based, file order) of a task; i must be below kScheduleNumericFieldCount.
std::int32_t scheduleNumericField(const ScheduleTask& t, std::size_t i);
std::int32_t& scheduleNumericField(ScheduleTask& t, std::size_t i);

// Seconds since midnight. 64 bits wide: the fields may hold up to nine digits each.
std::int64_t timeOfDay(const ScheduleTask& t);

// Equal in every field from the year up to the action; channel and path are not compared.
bool sameTask(const ScheduleTask& a, const ScheduleTask& b);

// "每天", "周期", "执行一次"; empty for any other kind.
std::string_view periodKindText(std::int32_t kind);
// "脚本", "通道切换"; empty for any other action.
std::string_view scheduleActionText(std::int32_t action);

} // namespace korvane
