#include "core/commands/DeviceOperation.h"

#include "core/link/DeviceLink.h"

namespace korvane {

void DeviceOperation::report(MessageId id) const {
    if (ctx_.messages != nullptr) {
        ctx_.messages->report(id);
    }
}

bool DeviceOperation::linkOpen() const {
    if (ctx_.link.isOpen() != 0) {
        return true;
    }
    report(MessageId::OpenPortFailed);
    return false;
}

} // namespace korvane
