#include "core/schedule/DueTask.h"

namespace korvane {

namespace {
constexpr std::size_t kDaysPerWeek = 7;

std::int64_t secondsOfDay(const LocalTime& t) {
    return std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second;
}

// The task's flag for a C weekday (0 = Sunday); the task keeps Monday first.
bool flaggedFor(const ScheduleTask& task, int weekday) {
    if (weekday < 0 || static_cast<std::size_t>(weekday) >= kDaysPerWeek) {
        return false;
    }
    const std::size_t mondayFirst =
        (static_cast<std::size_t>(weekday) + kDaysPerWeek - 1) % kDaysPerWeek;
    return task.weekdays[mondayFirst] != 0;
}

bool meantForToday(const ScheduleTask& task, const LocalTime& now) {
    switch (task.periodKind) {
    case period::kEveryDay:
        return true;
    case period::kWeekdays:
        return flaggedFor(task, now.weekday);
    case period::kOnce:
        return task.year == now.year && task.month == now.month && task.day == now.day;
    default:
        return false;
    }
}
} // namespace

DueDecision dueTask(std::span<const ScheduleTask> tasks, const LocalTime& now,
                    const ScheduleTask& lastRun) {
    const std::int64_t nowSeconds = secondsOfDay(now);
    std::optional<std::size_t> best;
    std::int64_t bestGap = 0;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const std::int64_t gap = nowSeconds - timeOfDay(tasks[i]);
        // Strictly smaller, so the first of equal times in file order wins.
        if (gap >= 0 && (!best || gap < bestGap)) {
            best = i;
            bestGap = gap;
        }
    }

    DueDecision d;
    d.candidate = best;
    if (!best) {
        // Between midnight and the first task: tomorrow's runs start afresh.
        d.verdict = DueVerdict::BeforeFirstTask;
        return d;
    }
    const ScheduleTask& candidate = tasks[*best];
    d.lastRun = lastRun;
    if (sameTask(candidate, lastRun)) {
        d.verdict = DueVerdict::AlreadyRun;
    } else if (!meantForToday(candidate, now)) {
        d.verdict = DueVerdict::NotToday;
    } else {
        d.verdict = DueVerdict::Due;
        d.lastRun = candidate;
    }
    return d;
}

} // namespace korvane
