#pragma once

#include <string>

namespace korvane::ctl {

// The whole --help text, built from the option, sub-command and command tables.
std::string helpText();
// The few lines shown after a usage error.
std::string shortUsage();

} // namespace korvane::ctl
