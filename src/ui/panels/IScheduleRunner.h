#pragma once

namespace korvane {
struct ScheduleTask;
}

namespace korvane::ui {

// The open schedule runner dialog, told what the schedule tick carried out.
class IScheduleRunner {
public:
    virtual ~IScheduleRunner() = default;
    virtual void taskExecuted(const ScheduleTask& task) = 0;
};

} // namespace korvane::ui
