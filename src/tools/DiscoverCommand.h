#pragma once

#include "SubCommand.h"

#include <chrono>

namespace korvane::ctl {

// `discover --port P`: broadcasts the identity request to --broadcast ADDR (or the settings
// file's broadcast address) and prints each processor that answered once, as ADDRESS:PORT.
Prepared prepareDiscover(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
