#include "ui/device/BackgroundTask.h"

#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"

namespace korvane::ui {

BackgroundTask operationTask(DeviceOperation& operation) {
    return [&operation] { return operation.run() != 0; };
}

BackgroundTask waitTask(const DeviceLink& link, std::chrono::milliseconds wait) {
    return [&link, wait] {
        link.pause(wait);
        return true;
    };
}

} // namespace korvane::ui
