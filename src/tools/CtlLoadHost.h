#pragma once

#include "core/store/TemplateLoadHost.h"

#include <ostream>

namespace korvane::ctl {

// The template loader's surroundings on the command line: no panels or title, its texts
// printed where the desktop program would show a message box.
class CtlLoadHost : public TemplateLoadHost {
public:
    explicit CtlLoadHost(std::ostream& err) : err_(err) {}
    void report(TemplateText text) override;
    bool runBusy(TemplateText caption, DeviceOperation& operation, DeviceLink& link) override;
    bool reported() const { return reported_; }
    // Whether the read-back after sending the file failed (its message is already printed).
    bool readBackFailed() const { return readBackFailed_; }

private:
    std::ostream& err_;
    bool reported_ = false;
    bool readBackFailed_ = false;
};

} // namespace korvane::ctl
