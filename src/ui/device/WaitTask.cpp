#include "ui/device/WaitTask.h"

#include "core/link/DeviceLink.h"

namespace korvane::ui {

bool WaitTask::run() {
    link_.pause(wait_);
    return true;
}

} // namespace korvane::ui
