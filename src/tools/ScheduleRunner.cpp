#include "ScheduleRunner.h"

#include "CtlScheduleActions.h"
#include "ScheduleCommand.h"
#include "StopSignals.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/LinkWatcher.h"
#include "core/schedule/DateTime.h"
#include "core/schedule/ScheduleExecutor.h"

#include <algorithm>
#include <iterator>

namespace korvane::ctl {

namespace {
std::size_t rowOf(const std::vector<ScheduleTask>& tasks, const ScheduleTask& task) {
    return static_cast<std::size_t>(std::distance(tasks.begin(), std::ranges::find(tasks, task)));
}

LinkWatcher::Timing watcherTiming(const ScheduleTiming& schedule) {
    LinkWatcher::Timing t = LinkWatcher::kDefaultTiming;
    t.keepAlive = schedule.keepAlive;
    return t;
}
} // namespace

int runSchedule(Session& s, const std::vector<ScheduleTask>& tasks) {
    StopSignals stop;
    // The line may go and come back while the schedule runs: the watcher notices and reconnects.
    LinkWatcher watcher(s.link, watcherTiming(s.schedule));
    // The desktop program has synchronised before its runner starts: the input-window limits
    // that template loads need come from there. Best effort; a failure has been reported.
    SynchroniseAll(s.context(), false).run();

    CtlScheduleActions actions(s);
    // One reading of the clock per tick, so that the line printed names the moment decided on.
    korvane::LocalTime tickTime;
    ScheduleExecutor executor(actions, [&tickTime] { return tickTime; });
    executor.start(tasks);
    bool lost = false;
    while (!stop.waitFor(s.schedule.tickPeriod)) {
        tickTime = s.schedule.clock();
        const std::string now = formatDateTime(dateTimeOf(tickTime));
        const LinkStatus link = s.link.linkStatus();
        if (link.state != LinkState::Connected) {
            // Nothing is due while nothing can be sent: what falls due now runs on return.
            if (!lost) {
                s.out << now << "\tlink lost\t" << link.where << '\t' << lossReasonName(link.reason)
                      << std::endl;
                lost = true;
            }
            continue;
        }
        if (lost) {
            s.out << now << "\tlink back\t" << link.where << std::endl;
            lost = false;
            // The processor may have been switched off and on: start from what it holds.
            SynchroniseAll(s.context(), false).run();
        }
        const TickResult r = executor.tick();
        if (r.outcome == TickOutcome::Ran) {
            s.out << now << '\t' << scheduleRowLine(r.task, rowOf(executor.list().tasks(), r.task))
                  << std::endl;
        } else if (r.outcome == TickOutcome::MissingTemplate) {
            s.err << "korvanectl: schedule run: " << now << " skipped task "
                  << rowOf(executor.list().tasks(), r.task) << ": " << taskProblemText(r.problem)
                  << ": " << r.task.path << std::endl;
        } else if (r.outcome == TickOutcome::LinkClosed) {
            s.err << "korvanectl: schedule run: " << now << " task "
                  << rowOf(executor.list().tasks(), r.task) << " not run: the link is closed"
                  << std::endl;
        }
    }
    executor.stop();
    return kExitOk;
}

} // namespace korvane::ctl
