#pragma once

#include "core/schedule/ScheduleTask.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

// The texts the runner shows for one task, in its list's column order (UTF-8; the path is shown
// as its bytes).
struct ScheduleRowTexts {
    std::string number;       // the row number, from 0
    std::string periodKind;   // "每天", "周期", "执行一次" or empty
    std::string periodDetail; // "天"; the flagged weekdays "周一,周三"; the date; or empty
    std::string time;         // "%02d:%02d:%02d"
    std::string action;       // "脚本", "通道切换" or empty
    std::string target;       // the path for action 0, else the channel's name (empty if unknown)

    bool operator==(const ScheduleRowTexts&) const = default;
};

// The text shown for one fixed word ("每天", "周一", "天", "脚本", ...): the desktop program shows
// them in its language. Without it the Chinese words stand.
using ScheduleWord = std::function<std::string(std::string_view)>;

ScheduleRowTexts scheduleRowTexts(const ScheduleTask& task, std::size_t row,
                                  const ScheduleWord& word = {});

} // namespace korvane
