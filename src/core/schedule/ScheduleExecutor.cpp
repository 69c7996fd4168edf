#include "core/schedule/ScheduleExecutor.h"

#include <filesystem>
#include <utility>

namespace korvane {

namespace {
bool templateFileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}
} // namespace

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
    const DueDecision d = list_.findDue(clock_());
    if (d.verdict != DueVerdict::Due) {
        return {TickOutcome::NothingDue, {}};
    }
    // The list already holds the task as the last-run one, so a tick that comes during the
    // action (from a nested event loop) finds nothing new to do.
    return run(d.lastRun);
}

TickResult ScheduleExecutor::run(const ScheduleTask& task) {
    switch (task.action) {
    case scheduleaction::kLoadTemplate:
        if (!templateFileExists(task.path)) {
            return {TickOutcome::MissingTemplate, task};
        }
        actions_.loadTemplate(task.path);
        break;
    case scheduleaction::kSwitchInput:
        // The command carries the code in one byte.
        actions_.selectPicture1Input(static_cast<std::uint8_t>(task.channel & 0xFF));
        break;
    default:
        break;
    }
    return {TickOutcome::Ran, task};
}

} // namespace korvane
