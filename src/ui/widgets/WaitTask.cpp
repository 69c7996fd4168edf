#include "widgets/WaitTask.h"

#include "link/DeviceLink.h"

namespace korvane::ui {

bool WaitTask::run() {
    link_.pause(wait_);
    return true;
}

} // namespace korvane::ui
