#pragma once

#include "ArgRule.h"
#include "LinkOpener.h"
#include "SubCommand.h"

#include <ostream>
#include <span>
#include <string>

namespace korvane::ctl {

// What korvanectl takes from its surroundings; tests replace the link and the clocks.
struct CtlEnvironment {
    LinkFactory openLink = openDeviceLink;
    LocalTime now = currentLocalTime;
    ScheduleTiming schedule;
};

// The whole program: `args` without the program name; returns the exit status.
int runCtl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const CtlEnvironment& env = {});

} // namespace korvane::ctl
