#pragma once

#include <filesystem>

namespace korvane {

// Where the program keeps its settings, log, templates and images: $KORVANE_HOME when set;
// else the executable's folder when it is writable (a portable install); else the per-user
// folder $XDG_CONFIG_HOME/korvane (~/.config/korvane). The folder is created when missing.
std::filesystem::path programDirectory();

} // namespace korvane
