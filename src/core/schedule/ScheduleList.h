#pragma once

#include "core/schedule/DueTask.h"
#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleTask.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The tasks of one schedule script in file order (the order decides ties), plus the task that ran
// last, which keeps a task from running twice while it stays the latest one.
class ScheduleList {
public:
    // Replaces the tasks with the file's and forgets the last-run task. Gives false and changes
    // nothing when the file does not exist or cannot be read.
    bool load(const std::string& path);
    // The same from a file's bytes.
    void loadBytes(std::string_view bytes);
    void assign(std::vector<ScheduleTask> tasks);
    void clear();

    const std::vector<ScheduleTask>& tasks() const { return tasks_; }
    const LastRun& lastRun() const { return lastRun_; }

    // Applies the due-task rule at `now`.
    DueDecision findDue(const LocalTime& now) const;
    // Records `task` as run at `at`.
    void markRun(const ScheduleTask& task, const LocalTime& at);

private:
    std::vector<ScheduleTask> tasks_;
    LastRun lastRun_;
};

} // namespace korvane
