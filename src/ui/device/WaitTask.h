#pragma once

#include "ui/device/BackgroundTask.h"

#include <chrono>

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

// Waits while the processor carries out a command sent just before (factory reset, channel
// switch). The wait goes through the link's pacing sleep; it always succeeds.
class WaitTask : public BackgroundTask {
public:
    static constexpr std::chrono::milliseconds kFactoryReset{6000};
    static constexpr std::chrono::milliseconds kChannelSwitch{2000};

    WaitTask(const DeviceLink& link, std::chrono::milliseconds wait) : link_(link), wait_(wait) {}
    bool run() override;

private:
    const DeviceLink& link_;
    std::chrono::milliseconds wait_;
};

} // namespace korvane::ui
