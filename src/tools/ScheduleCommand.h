#pragma once

#include "SubCommand.h"
#include "core/schedule/ScheduleTask.h"

#include <cstddef>
#include <string>

namespace korvane::ctl {

// `schedule show FILE.kss`, `schedule due FILE.kss --at DATETIME [--last N]` (neither needs the
// processor) and `schedule run FILE.kss`, the headless schedule runner.
Prepared prepareSchedule(std::span<const std::string> operands, LocalTime now);

// A task as the runner's list shows it, the columns separated by tabs.
std::string scheduleRowLine(const ScheduleTask& task, std::size_t row);

} // namespace korvane::ctl
