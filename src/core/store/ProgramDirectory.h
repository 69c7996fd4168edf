#pragma once

#include <filesystem>

namespace korvane {

// Where the programs keep their settings, log, templates and images: $KORVANE_HOME when set;
// else the executable's folder when it already holds the settings file (a portable copy); else
// the per-user folder $XDG_CONFIG_HOME/korvane (~/.config/korvane), created on first use.
std::filesystem::path programDirectory();

} // namespace korvane
