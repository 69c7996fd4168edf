#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleTask.h"

#include <cstddef>
#include <optional>
#include <span>

namespace korvane {

// The task that ran last and when it ran; no time before anything ran.
struct LastRun {
    ScheduleTask task;
    std::optional<LocalTime> at;

    bool operator==(const LastRun&) const = default;
};

// Why a look for the due task came out as it did.
enum class DueVerdict {
    BeforeFirstTask, // no task meant for today has reached its time yet
    AlreadyRun,      // the latest task for today so far ran today at or after its time
    Due,             // the latest task for today so far runs now
};

struct DueDecision {
    DueVerdict verdict = DueVerdict::BeforeFirstTask;
    // The latest task for today so far (index in file order); none before the first one.
    std::optional<std::size_t> candidate;
};

// The schedule's rule for which task runs at `now`: among the valid tasks meant for today
// (every day; today's weekday flag; today's date), the latest whose time of day is not later
// than now, the first in file order among equal times. It is due unless `lastRun` records that
// very task (Same-task) as run today at or after its time of day. Tasks of other days never
// hide today's, and a daily task runs again the next day.
DueDecision dueTask(std::span<const ScheduleTask> tasks, const LocalTime& now,
                    const LastRun& lastRun);

// True when the task is one of today's (its period kind and weekday flags or date).
bool meantForToday(const ScheduleTask& task, const LocalTime& now);

} // namespace korvane
