#include "core/schedule/ScheduleRowTexts.h"

#include "core/link/InputCodes.h"
#include "core/schedule/DateTime.h"

#include <array>
#include <string_view>

namespace korvane {

namespace {
constexpr std::string_view kEveryDayDetail = "天";
// Monday first, as the task keeps its flags.
constexpr std::array<std::string_view, 7> kWeekdayShortNames{"周一", "周二", "周三", "周四",
                                                             "周五", "周六", "周日"};
constexpr std::string_view kWeekdaySeparator = ",";

std::string shown(std::string_view text, const ScheduleWord& word) {
    return word && !text.empty() ? word(text) : std::string(text);
}

std::string periodDetail(const ScheduleTask& t, const ScheduleWord& word) {
    switch (t.periodKind) {
    case period::kEveryDay:
        return shown(kEveryDayDetail, word);
    case period::kWeekdays: {
        std::string text;
        for (std::size_t i = 0; i < kWeekdayShortNames.size(); ++i) {
            if (t.weekdays[i] != 0) {
                if (!text.empty()) {
                    text += kWeekdaySeparator;
                }
                text += shown(kWeekdayShortNames[i], word);
            }
        }
        return text;
    }
    case period::kOnce:
        return formatDate(t.year, t.month, t.day);
    default:
        return {};
    }
}

std::string target(const ScheduleTask& t) {
    if (t.action == scheduleaction::kLoadTemplate) {
        return t.path;
    }
    if (t.channel < 0 || t.channel > 0xFF) {
        return {};
    }
    return std::string(inputName(static_cast<std::uint8_t>(t.channel)).value_or(""));
}
} // namespace

ScheduleRowTexts scheduleRowTexts(const ScheduleTask& task, std::size_t row,
                                  const ScheduleWord& word) {
    ScheduleRowTexts r;
    r.number = std::to_string(row);
    r.periodKind = shown(periodKindText(task.periodKind), word);
    r.periodDetail = periodDetail(task, word);
    r.time = formatTime(task.hour, task.minute, task.second);
    r.action = shown(scheduleActionText(task.action), word);
    r.target = target(task);
    return r;
}

} // namespace korvane
