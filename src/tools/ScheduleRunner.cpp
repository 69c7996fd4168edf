#include "ScheduleRunner.h"

#include "CtlScheduleActions.h"
#include "ScheduleCommand.h"
#include "StopSignals.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/SynchroniseAll.h"
#include "core/schedule/DateTime.h"
#include "core/schedule/ScheduleExecutor.h"

#include <algorithm>
#include <iterator>

namespace korvane::ctl {

namespace {
std::size_t rowOf(const std::vector<ScheduleTask>& tasks, const ScheduleTask& task) {
    return static_cast<std::size_t>(std::distance(tasks.begin(), std::ranges::find(tasks, task)));
}
} // namespace

int runSchedule(Session& s, const std::vector<ScheduleTask>& tasks) {
    StopSignals stop;
    // The desktop program has synchronised before its runner starts: the input-window limits
    // that template loads need come from there. Best effort; a failure has been reported.
    SynchroniseAll(s.context(), false).run();

    CtlScheduleActions actions(s);
    // One reading of the clock per tick, so that the line printed names the moment decided on.
    korvane::LocalTime tickTime;
    ScheduleExecutor executor(actions, [&tickTime] { return tickTime; });
    executor.start(tasks);
    while (!stop.waitFor(s.schedule.tickPeriod)) {
        tickTime = s.schedule.clock();
        const TickResult r = executor.tick();
        const std::string when = formatDateTime(dateTimeOf(tickTime));
        if (r.outcome == TickOutcome::Ran) {
            s.out << when << '\t' << scheduleRowLine(r.task, rowOf(executor.list().tasks(), r.task))
                  << std::endl;
        } else if (r.outcome == TickOutcome::MissingTemplate) {
            s.err << "korvanectl: schedule run: " << when << " skipped task "
                  << rowOf(executor.list().tasks(), r.task) << ": " << taskProblemText(r.problem)
                  << ": " << r.task.path << std::endl;
        } else if (r.outcome == TickOutcome::LinkClosed) {
            s.err << "korvanectl: schedule run: " << when << " task "
                  << rowOf(executor.list().tasks(), r.task) << " not run: the link is closed"
                  << std::endl;
        }
    }
    executor.stop();
    return kExitOk;
}

} // namespace korvane::ctl
