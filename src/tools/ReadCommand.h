#pragma once

#include "SubCommand.h"

namespace korvane::ctl {

// `read TYPE [FIRST LAST]`: one read request; prints the reply, or for type 15 the plan
// entries FIRST..LAST as stored after the read.
Prepared prepareRead(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
