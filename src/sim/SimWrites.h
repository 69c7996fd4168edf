#pragma once

#include "SimState.h"
#include "core/link/Frame.h"

#include <cstdint>

namespace korvane::sim {

// Applies one write command to the settings, field by field as the program's own record is
// updated when it sends the command. Commands that act on something other than settings
// (template slots, factory reset, the clock, read requests) and those with nothing to keep
// leave the state unchanged; the model handles the former itself.
void applyWrite(SimState& s, std::uint8_t code, const frame::DataBytes& d);

} // namespace korvane::sim
