#pragma once

#include <string>

namespace korvane::ui {

// The frame's callback to the schedule runner: the 2000 ms schedule tick.
class IScheduleTimerCallback {
public:
    virtual ~IScheduleTimerCallback() = default;
    // Loads the schedule file and starts the tick; false when the file cannot be loaded.
    virtual bool start(const std::string& path) = 0;
    virtual void stop() = 0;
};

} // namespace korvane::ui
