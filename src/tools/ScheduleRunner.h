#pragma once

#include "SubCommand.h"
#include "core/schedule/ScheduleTask.h"

#include <vector>

namespace korvane::ctl {

// The headless schedule runner: ticks every period with the core's executor until a stop
// signal (SIGINT, SIGTERM or SIGHUP), printing a line (tick time, then the task's row) for each
// task it ran. A task whose template file is missing counts as run without a line, as in the
// desktop runner.
int runSchedule(Session& s, const std::vector<ScheduleTask>& tasks);

} // namespace korvane::ctl
