#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleActions.h"
#include "core/schedule/ScheduleList.h"
#include "core/schedule/TaskCheck.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace korvane {

// The executor ticks this often while a schedule runs.
inline constexpr std::chrono::milliseconds kScheduleTickPeriod{2000};

enum class TickOutcome {
    NotRunning,      // no schedule started
    DeviceBusy,      // skipped: a device operation is still running; nothing was looked at
    NothingDue,      // no task to run at this moment
    MissingTemplate, // the due task's template file is missing or not a template: counted as
                     // run, so that it is not tried at every tick; `problem` says which
    LinkClosed,      // the due task needs the processor and the link is closed: not counted as
                     // run, so it runs once the link is back (while it stays the latest task)
    Ran,             // the due task was carried out (or has an action that does nothing)
};

struct TickResult {
    TickOutcome outcome = TickOutcome::NotRunning;
    // The task of MissingTemplate, LinkClosed and Ran. Only Ran is shown to the runner dialog as
    // the current task.
    ScheduleTask task;
    TaskProblem problem = TaskProblem::None;
};

// Runs a schedule script on the PC: on every tick the due task, if any, loads its template file
// or switches picture 1's input. The caller's timer calls tick() every kScheduleTickPeriod.
//
// A tick that comes while the device is busy skips entirely, before the due-task rule is
// applied: the last-run task stays as it was, so the task still due is found again on the next
// tick instead of a second device operation starting over the first.
class ScheduleExecutor {
public:
    explicit ScheduleExecutor(ScheduleActions& actions, LocalClock clock = systemLocalTime);

    // Loads the file (emptying the list and forgetting the last-run task) and starts running. Gives
    // false, and leaves the executor stopped, when the file cannot be loaded.
    bool start(const std::string& path);
    // Starts running the given tasks.
    void start(std::vector<ScheduleTask> tasks);
    void stop();
    bool running() const { return running_; }
    // The clock the following ticks read (tests put a fixed time behind it).
    void setClock(LocalClock clock) { clock_ = std::move(clock); }

    TickResult tick();

    const ScheduleList& list() const { return list_; }

private:
    TickResult run(const ScheduleTask& task, const LocalTime& now);

    ScheduleActions& actions_;
    LocalClock clock_;
    ScheduleList list_;
    bool running_ = false;
};

} // namespace korvane
