#include "CtlLoadHost.h"

namespace korvane::ctl {

void CtlLoadHost::report(TemplateText text) {
    err_ << "korvanectl: " << templateText(text) << '\n';
    reported_ = true;
}

} // namespace korvane::ctl
