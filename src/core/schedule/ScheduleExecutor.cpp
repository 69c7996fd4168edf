#include "core/schedule/ScheduleExecutor.h"

#include <utility>

namespace korvane {

ScheduleExecutor::ScheduleExecutor(ScheduleActions& actions, LocalClock clock)
    : actions_(actions), clock_(std::move(clock)) {}

bool ScheduleExecutor::start(const std::string& path) {
    running_ = list_.load(path);
    return running_;
}

void ScheduleExecutor::start(std::vector<ScheduleTask> tasks) {
    list_.assign(std::move(tasks));
    running_ = true;
}

void ScheduleExecutor::stop() {
    running_ = false;
}

TickResult ScheduleExecutor::tick() {
    if (!running_) {
        return {};
    }
    if (actions_.deviceBusy()) {
        return {TickOutcome::DeviceBusy, {}};
    }
    const LocalTime now = clock_();
    const DueDecision d = list_.findDue(now);
    if (d.verdict != DueVerdict::Due) {
        return {TickOutcome::NothingDue, {}};
    }
    return run(list_.tasks()[*d.candidate], now);
}

TickResult ScheduleExecutor::run(const ScheduleTask& task, const LocalTime& now) {
    const TaskProblem problem = taskProblem(task);
    if (problem != TaskProblem::None) {
        list_.markRun(task, now);
        return {TickOutcome::MissingTemplate, task, problem};
    }
    const bool needsDevice =
        task.action == scheduleaction::kLoadTemplate || task.action == scheduleaction::kSwitchInput;
    if (needsDevice && !actions_.linkOpen()) {
        return {TickOutcome::LinkClosed, task, problem};
    }
    // Marked before the action: a tick that comes during it (from a nested event loop) finds
    // nothing new to do.
    list_.markRun(task, now);
    switch (task.action) {
    case scheduleaction::kLoadTemplate:
        actions_.loadTemplate(task.path);
        break;
    case scheduleaction::kSwitchInput:
        // The command carries the code in one byte.
        actions_.selectPicture1Input(static_cast<std::uint8_t>(task.channel & 0xFF));
        break;
    default:
        break;
    }
    return {TickOutcome::Ran, task, problem};
}

} // namespace korvane
