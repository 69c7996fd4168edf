#include "ui/device/OperationTask.h"

#include "core/commands/DeviceOperation.h"

namespace korvane::ui {

bool OperationTask::run() {
    return operation_.run() != 0;
}

} // namespace korvane::ui
