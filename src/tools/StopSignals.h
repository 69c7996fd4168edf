#pragma once

#include "core/base/StopSignalSet.h"

#include <array>
#include <chrono>
#include <csignal>

namespace korvane::ctl {

// Catches the stop signals (SIGINT, SIGTERM, SIGHUP) for as long as it lives, so that a
// long-running sub-command can finish its current step and stop cleanly. One instance at a time;
// the previous handlers come back when it is destroyed.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Waits up to `period`; true as soon as a stop signal has come (also one that came before).
    bool waitFor(std::chrono::milliseconds period);

private:
    int readFd_ = -1;
    std::array<struct sigaction, kStopSignals.size()> old_{};
};

} // namespace korvane::ctl
