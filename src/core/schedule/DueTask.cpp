#include "core/schedule/DueTask.h"

namespace korvane {

namespace {
constexpr std::size_t kDaysPerWeek = 7;

std::int64_t secondsOfDay(const LocalTime& t) {
    return std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second;
}

bool sameDay(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
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
} // namespace

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

DueDecision dueTask(std::span<const ScheduleTask> tasks, const LocalTime& now,
                    const LastRun& lastRun) {
    const std::int64_t nowSeconds = secondsOfDay(now);
    std::optional<std::size_t> best;
    std::int64_t bestGap = 0;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const ScheduleTask& t = tasks[i];
        if (t.invalid || !meantForToday(t, now)) {
            continue;
        }
        const std::int64_t gap = nowSeconds - timeOfDay(t);
        // Strictly smaller, so the first of equal times in file order wins.
        if (gap >= 0 && (!best || gap < bestGap)) {
            best = i;
            bestGap = gap;
        }
    }

    DueDecision d;
    d.candidate = best;
    if (!best) {
        d.verdict = DueVerdict::BeforeFirstTask;
        return d;
    }
    const ScheduleTask& candidate = tasks[*best];
    const bool ranToday = lastRun.at && sameTask(candidate, lastRun.task) &&
                          sameDay(*lastRun.at, now) &&
                          secondsOfDay(*lastRun.at) >= timeOfDay(candidate);
    d.verdict = ranToday ? DueVerdict::AlreadyRun : DueVerdict::Due;
    return d;
}

} // namespace korvane
