#pragma once

#include "SubCommand.h"
#include "core/commands/ReadBack.h"

namespace korvane::ctl {

// The single-read operations (picture-quality read, gains read, ...): runs the core's read-back
// and prints what it put into the mirror. `switch-query` alone takes an operand, --long-wait.
// Runs one read-back and prints its part of the mirror; also behind `plan header` and
// `clock read`.
Prepared deviceReadAction(ReadBackKind kind);

template <ReadBackKind Kind>
Prepared prepareDeviceRead(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
