#pragma once

namespace korvane {
struct ScheduleTask;
enum class TaskProblem;
} // namespace korvane

namespace korvane::ui {

// The open schedule runner dialog, told what the schedule tick carried out.
class IScheduleRunner {
public:
    virtual ~IScheduleRunner() = default;
    virtual void taskExecuted(const ScheduleTask& task) = 0;
    // The due task was skipped: its template file is missing or not a template.
    virtual void taskSkipped(const ScheduleTask& task, TaskProblem problem) = 0;
};

} // namespace korvane::ui
