#pragma once

#include <chrono>
#include <functional>

namespace korvane {
class DeviceLink;
class DeviceOperation;
} // namespace korvane

namespace korvane::ui {

// One long operation the busy dialog runs on its worker thread; true for success.
using BackgroundTask = std::function<bool()>;

// How long the processor needs to carry out a command sent just before.
inline constexpr std::chrono::milliseconds kFactoryResetWait{6000};
inline constexpr std::chrono::milliseconds kChannelSwitchWait{2000};

// A device operation of the core; it succeeds when the operation does.
BackgroundTask operationTask(DeviceOperation& operation);
// Waits through the link's pacing sleep, so that the processor can carry out what it was sent;
// it always succeeds.
BackgroundTask waitTask(const DeviceLink& link, std::chrono::milliseconds wait);

} // namespace korvane::ui
