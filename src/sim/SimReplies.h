#pragma once

#include "SimClock.h"
#include "SimState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvane::sim {

// The signal the simulated processor sees on each input: VGA 1024x768, HDMI, DP and DVI
// 1920x1080, AV 720x576; an unknown input code has no signal (0x0).
InputWindowLimits inputResolution(std::uint8_t inputCode);

// The payload answering a read request of `type`, laid out as the program unpacks it, or
// nothing for the types without a reply. Type 15 is answered per entry (planPayload).
std::optional<std::vector<std::uint8_t>>
readPayload(const SimState& s, const SimClock::Bytes& clock, std::uint8_t type);

} // namespace korvane::sim
