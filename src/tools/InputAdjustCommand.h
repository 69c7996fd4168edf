#pragma once

#include "SubCommand.h"

namespace korvane::ctl {

// `input-adjust PICTURE auto` / `input-adjust PICTURE X Y W H`: reads the picture's input
// window first (its size for the automatic adjustment, the input's limits otherwise), then runs
// the input adjust operation and prints the frame it sent.
Prepared prepareInputAdjust(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
