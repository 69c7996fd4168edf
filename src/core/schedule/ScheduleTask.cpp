#include "core/schedule/ScheduleTask.h"

namespace korvane {

namespace {
constexpr std::array<std::string_view, 3> kPeriodKindTexts{"每天", "周期", "执行一次"};
constexpr std::array<std::string_view, 2> kActionTexts{"脚本", "通道切换"};

// File order: date, time, period kind, seven weekday flags, action, channel.
constexpr std::size_t kFirstWeekdayField = 7;
constexpr std::size_t kActionField = 14;
constexpr std::size_t kChannelField = 15;

template <typename Task> auto& numericField(Task& t, std::size_t i) {
    switch (i) {
    case 0:
        return t.year;
    case 1:
        return t.month;
    case 2:
        return t.day;
    case 3:
        return t.hour;
    case 4:
        return t.minute;
    case 5:
        return t.second;
    case 6:
        return t.periodKind;
    case kActionField:
        return t.action;
    case kChannelField:
        return t.channel;
    default:
        return t.weekdays.at(i - kFirstWeekdayField);
    }
}

template <std::size_t N>
std::string_view textAt(const std::array<std::string_view, N>& table, std::int32_t value) {
    if (value < 0 || static_cast<std::size_t>(value) >= N) {
        return {};
    }
    return table[static_cast<std::size_t>(value)];
}
} // namespace

std::int32_t scheduleNumericField(const ScheduleTask& t, std::size_t i) {
    return numericField(t, i);
}

std::int32_t& scheduleNumericField(ScheduleTask& t, std::size_t i) {
    return numericField(t, i);
}

std::int64_t timeOfDay(const ScheduleTask& t) {
    return std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second;
}

bool sameTask(const ScheduleTask& a, const ScheduleTask& b) {
    for (std::size_t i = 0; i < kSameTaskFieldCount; ++i) {
        if (scheduleNumericField(a, i) != scheduleNumericField(b, i)) {
            return false;
        }
    }
    return true;
}

std::string_view periodKindText(std::int32_t kind) {
    return textAt(kPeriodKindTexts, kind);
}

std::string_view scheduleActionText(std::int32_t action) {
    return textAt(kActionTexts, action);
}

} // namespace korvane
