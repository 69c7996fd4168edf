#pragma once

#include "ui/device/BackgroundTask.h"

namespace korvane {
class DeviceOperation;
}

namespace korvane::ui {

// A device operation of the core as a busy-dialog task.
class OperationTask : public BackgroundTask {
public:
    explicit OperationTask(DeviceOperation& operation) : operation_(operation) {}
    bool run() override;

private:
    DeviceOperation& operation_;
};

} // namespace korvane::ui
