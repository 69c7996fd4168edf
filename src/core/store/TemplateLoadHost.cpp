#include "store/TemplateLoadHost.h"

#include "commands/DeviceOperation.h"
#include "link/DeviceLink.h"

namespace korvane {

bool TemplateLoadHost::runBusy(TemplateText, DeviceOperation& operation, DeviceLink& link) {
    if (link.isOpen() == 0) {
        return true;
    }
    try {
        return operation.run() != 0;
    } catch (...) {
        return false;
    }
}

} // namespace korvane
