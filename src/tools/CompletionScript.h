#pragma once

#include <string>

namespace korvane::ctl {

// The bash completion script for korvanectl, built from the option, sub-command and command
// tables and the value lists (inputs, picture-quality items, resolutions), so that it follows
// them when they change.
std::string bashCompletion();

} // namespace korvane::ctl
