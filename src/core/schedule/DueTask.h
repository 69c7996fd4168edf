#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleTask.h"

#include <cstddef>
#include <optional>
#include <span>

namespace korvane {

// Why a look for the due task came out as it did.
enum class DueVerdict {
    BeforeFirstTask, // no task's time of day has been reached today: the last-run task is cleared
    AlreadyRun,      // the latest task so far is the last-run task
    NotToday,        // the latest task so far is not for today (weekday, date or unknown kind)
    Due,             // the latest task so far runs now and becomes the last-run task
};

struct DueDecision {
    DueVerdict verdict = DueVerdict::BeforeFirstTask;
    // The latest task of the day so far (index in file order); none before the first task.
    std::optional<std::size_t> candidate;
    // The last-run task to keep after this look.
    ScheduleTask lastRun;
};

// The schedule's rule for which task runs at `now`: the latest task whose time of day is not
// later than now (the first in file order among equal times, whatever its period kind), unless it
// is the same task as `lastRun` or not meant for today. Earlier tasks never stand in for it.
DueDecision dueTask(std::span<const ScheduleTask> tasks, const LocalTime& now,
                    const ScheduleTask& lastRun);

} // namespace korvane
