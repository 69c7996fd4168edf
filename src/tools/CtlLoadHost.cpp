#include "CtlLoadHost.h"

namespace korvane::ctl {

void CtlLoadHost::report(TemplateText text) {
    err_ << "korvanectl: " << templateText(text) << '\n';
    reported_ = true;
}

bool CtlLoadHost::runBusy(TemplateText caption, DeviceOperation& operation, DeviceLink& link) {
    const bool done = TemplateLoadHost::runBusy(caption, operation, link);
    if (!done && caption == TemplateText::SynchroniseCaption) {
        readBackFailed_ = true;
    }
    return done;
}

} // namespace korvane::ctl
