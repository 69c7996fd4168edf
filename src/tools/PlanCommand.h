#pragma once

#include "SubCommand.h"

namespace korvane::ctl {

// `plan read | send FILE | header | enable | disable`: the processor's 64 offline plan entries in
// the plan editor's text form, and the plan header that switches them on and off.
Prepared preparePlan(std::span<const std::string> operands, LocalTime now);

// `clock read | set [now|DATETIME]`: the processor's real-time clock.
Prepared prepareClock(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
