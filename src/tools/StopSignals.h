#pragma once

#include <chrono>
#include <csignal>

namespace korvane::ctl {

// Catches SIGINT and SIGTERM for as long as it lives, so that a long-running sub-command can
// finish its current step and stop cleanly. One instance at a time; the previous handlers come
// back when it is destroyed.
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
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

} // namespace korvane::ctl
