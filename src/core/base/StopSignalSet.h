#pragma once

#include <array>
#include <csignal>

namespace korvane {

// The signals that ask a long-running program to finish and stop cleanly. The programs catch
// them on the thread that waits for them; threads of the core's own (the link watcher) block
// them, so they never land there.
inline constexpr std::array<int, 3> kStopSignals{SIGINT, SIGTERM, SIGHUP};

} // namespace korvane
