#include "core/store/TemplateLoadHost.h"

#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"

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
