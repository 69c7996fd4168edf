#pragma once

#include "core/link/Frame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvane::test {

// A command code the processor does not know. Sent after an action, it marks the end of what
// the action sent: the line keeps the order, so once it has arrived everything before it has.
inline constexpr std::uint8_t kFenceCode = 0x7E;

inline bool isFence(const frame::CommandFrame& f) {
    return f[frame::kCodeOffset] == kFenceCode;
}

// `frames` without the fences.
inline std::vector<frame::CommandFrame> withoutFences(std::vector<frame::CommandFrame> frames) {
    frames.erase(std::remove_if(frames.begin(), frames.end(), isFence), frames.end());
    return frames;
}

} // namespace korvane::test
